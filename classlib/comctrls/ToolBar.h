// Tool bars: a superclass of the system's ToolbarWindow32 whose window class is the library's
// class name ("TToolBar"). Its buttons are TToolButton children (controls without a window):
// the tool bar puts one system button per child into its window, in the children's order, and
// keeps each child's bounds on the button the system laid out. The system draws and tracks the
// buttons; clicks, drop-downs and custom drawing come back as reflected notifications.
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/forms/Menus.h"
#include "classlib/comctrls/CustomDraw.h"

namespace vcl {

class TToolBar;
class TToolButton;

VCL_ENUM(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
using enum TToolButtonStyle;

// What the system may leave out of a button it draws (TBCDRF_* from bit 16 on).
enum class TTBCustomDrawFlag { tbNoEdges, tbHiliteHotTrack, tbNoOffset, tbNoMark, tbNoEtchedEffect };
using enum TTBCustomDrawFlag;
using TTBCustomDrawFlags = Set<TTBCustomDrawFlag>;

using TTBCustomDrawEvent = Event<void(TToolBar* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTBCustomDrawBtnEvent =
    Event<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, bool& DefaultDraw)>;
using TTBAdvancedCustomDrawEvent =
    Event<void(TToolBar* Sender, const TRect& ARect, TCustomDrawStage Stage, bool& DefaultDraw)>;
using TTBAdvancedCustomDrawBtnEvent =
    Event<void(TToolBar* Sender, TToolButton* Button, TCustomDrawState State, TCustomDrawStage Stage,
               TTBCustomDrawFlags& Flags, bool& DefaultDraw)>;

// Posted by a tool bar to itself when the drop-down menu of one of its buttons has closed.
inline constexpr UINT CN_DROPDOWNCLOSED = WM_USER + 0x1000;

// ---------------------------------------------------------------------------------------

class TToolButton : public TGraphicControl {
  VCL_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* AOwner);
  ~TToolButton() override;
  void BeforeDestruction() override;

  // The tool bar is the button's parent.
  TToolBar* ToolBar() const;
  // The position among the tool bar's buttons, -1 without one.
  int Index() const;

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle Value);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int Value);
  // Pressed in: a check button's state, or any button held down by the program.
  bool Down() const;
  void SetDown(bool Value);
  bool Indeterminate() const { return indeterminate_; }
  void SetIndeterminate(bool Value);
  // Shown below a drop-down button when its arrow is pressed.
  TPopupMenu* DropdownMenu() const { return dropdown_menu_; }
  void SetDropdownMenu(TPopupMenu* Value);
  // Shows the drop-down menu below the button (its modal loop); false without one.
  bool CheckMenuDropdown();

  // A separator's width; other buttons take the size the tool bar gives them.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  // The system draws the button.
  void Paint() override {}
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolBar;
  // Moves the button to where the tool bar's window put it.
  void Place(const TRect& Rect);
  void Changed(TMessage& Message);
  void CMEnabledChanged(TMessage& Message);

  TToolButtonStyle style_ = tbsButton;
  int image_index_ = -1;
  bool down_ = false;
  bool indeterminate_ = false;
  TPopupMenu* dropdown_menu_ = nullptr;
  // The command the system button reports; 0 while the button is in no tool bar.
  int command_ = 0;
  bool placing_ = false;
};

// ---------------------------------------------------------------------------------------

class TToolBar : public TWinControl {
  VCL_CLASS(TToolBar, TWinControl)
 public:
  explicit TToolBar(TComponent* AOwner);
  ~TToolBar() override;
  void BeforeDestruction() override;

  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  // Raises EListError for an index out of range.
  TToolButton* Buttons(int Index) const;

  int ButtonWidth() const { return button_width_; }
  void SetButtonWidth(int Value);
  int ButtonHeight() const { return button_height_; }
  void SetButtonHeight(int Value);
  // Buttons show their edges only under the mouse.
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  // Captions at the right of the images instead of below them.
  bool List() const { return list_; }
  void SetList(bool Value);
  bool ShowCaptions() const { return show_captions_; }
  void SetShowCaptions(bool Value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* Value);
  // The images of the button under the mouse, and of disabled buttons.
  TCustomImageList* HotImages() const { return hot_images_; }
  void SetHotImages(TCustomImageList* Value);
  TCustomImageList* DisabledImages() const { return disabled_images_; }
  void SetDisabledImages(TCustomImageList* Value);

  // The canvas the custom-draw events paint on (the system's paint DC while they run).
  TCanvas* Canvas() const { return canvas_.get(); }

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;
  void Dispatch(TMessage& Message) override;

  // Before the system paints the bar (DefaultDraw false: it paints nothing).
  TTBCustomDrawEvent OnCustomDraw;
  // Before the system paints each button (DefaultDraw false: it leaves the button out).
  TTBCustomDrawBtnEvent OnCustomDrawButton;
  // Every stage the system reports, for the bar and for each button.
  TTBAdvancedCustomDrawEvent OnAdvancedCustomDraw;
  TTBAdvancedCustomDrawBtnEvent OnAdvancedCustomDrawButton;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TToolButton;

  static BYTE SystemState(const TToolButton* Button);
  void InsertButton(TToolButton* Button);
  void RemoveButton(TToolButton* Button);
  // The button's system button again (its style, image, text and state).
  void UpdateButton(TToolButton* Button);
  void UpdateButtonState(TToolButton* Button);
  void WindowInsertButton(int Index, const TToolButton* Button);
  void PutButtonsInWindow();
  void ApplyImageLists();
  void ApplySizes();
  // Every button's bounds from the window's layout (or laid out in a row without a window).
  void PlaceButtons();
  TToolButton* ButtonOfCommand(UINT_PTR Command) const;
  void SetImageList(TCustomImageList*& Field, TCustomImageList* Value);
  void HandleNotify(TMessage& Message);
  void HandleCustomDraw(TMessage& Message, NMTBCUSTOMDRAW& Draw);
  void CMControlChange(TMessage& Message);
  void Relaid(TMessage& Message);

  std::vector<TToolButton*> buttons_;
  int next_command_ = 1;
  int button_width_ = 23;
  int button_height_ = 22;
  bool flat_ = false;
  bool list_ = false;
  bool show_captions_ = false;
  TCustomImageList* images_ = nullptr;
  TCustomImageList* hot_images_ = nullptr;
  TCustomImageList* disabled_images_ = nullptr;
  std::unique_ptr<TControlCanvas> canvas_;
};

}  // namespace vcl
