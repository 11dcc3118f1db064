// Up-down controls: a superclass of the system's msctls_updown32 whose window class is the
// library's class name ("TUpDown"). With an Associate the system places the arrows beside it
// and writes the position into its text.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_ENUM(TUDAlignButton, udLeft, udRight)
using enum TUDAlignButton;

VCL_ENUM(TUDOrientation, udHorizontal, udVertical)
using enum TUDOrientation;

// Which arrow was pressed: up or right is next, down or left is previous.
enum class TUDBtnType { btNext, btPrev };
using enum TUDBtnType;

using TUDClickEvent = Event<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;

class TUpDown : public TWinControl {
  VCL_CLASS(TUpDown, TWinControl)
 public:
  explicit TUpDown(TComponent* AOwner);

  // The control (usually an edit) the arrows belong to; nil for none.
  TWinControl* Associate() const { return associate_; }
  void SetAssociate(TWinControl* Value);
  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  int Position() const;
  void SetPosition(int Value);
  // How far one press moves.
  int Increment() const { return increment_; }
  void SetIncrement(int Value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation Value);
  // The side of the associate the arrows take.
  TUDAlignButton AlignButton() const { return align_button_; }
  void SetAlignButton(TUDAlignButton Value);
  // The arrow keys in the associate move the position.
  bool ArrowKeys() const { return arrow_keys_; }
  void SetArrowKeys(bool Value);
  // Thousands separators in the associate's text.
  bool Thousands() const { return thousands_; }
  void SetThousands(bool Value);
  // Past one end the position starts again at the other.
  bool Wrap() const { return wrap_; }
  void SetWrap(bool Value);

  void Dispatch(TMessage& Message) override;

  // After a press moved the position.
  TUDClickEvent OnClick;
  // Before a press moves it; AllowChange false keeps the old position.
  TUDChangingEvent OnChanging;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;
  virtual bool CanChange();
  virtual void Click(TUDBtnType Button);

 private:
  void ApplyRange();
  void ApplyIncrement();
  void AttachAssociate();
  void HandleNotify(TMessage& Message);
  void CNScroll(TMessage& Message);

  TWinControl* associate_ = nullptr;
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int increment_ = 1;
  TUDOrientation orientation_ = udVertical;
  TUDAlignButton align_button_ = udRight;
  bool arrow_keys_ = true;
  bool thousands_ = true;
  bool wrap_ = false;
  // The direction of the last press the control allowed, for the scroll report after it.
  TUDBtnType last_button_ = btNext;
  bool pending_click_ = false;
};

}  // namespace vcl
