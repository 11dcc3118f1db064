// TSkinComBox: combo boxes with their button and frame painted from the skin ("ComboButton"
// over "SunkEdge" with the "ExtraImages" arrow, the description's composite of them, or a
// flat button), the hot and pressed looks of the button, and a skinned scroll bar on the list:
// covering panels on a simple combo's list, the list-bar painter on a drop-down list.
#pragma once

#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/controls/SkinScrollbar.h"

namespace winskin {

class TSkinComBox : public TSkinControl {
  VCL_CLASS(TSkinComBox, TSkinControl)

 public:
  explicit TSkinComBox(vcl::TComponent* AOwner);
  ~TSkinComBox() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  void RestoreControl() override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's combo button picture. The list's skinners ask the skin for themselves.
  bool HasPicture() const override;

  // The button as last painted, in client coordinates.
  const TRect& ButtonRect() const { return FButtonRect; }
  bool DroppedDown() const { return FDroppedDown; }
  HWND List() const { return FList; }
  TSkinScrollbarH* ListSkinner() const { return FListSkinner.get(); }
  TComboxScrollBar* ListBar() const { return FListBar.get(); }
  // The state the button was last painted in (1 normal, 2 pressed, 3 disabled, 4 hot).
  int PaintedState() const { return painted_state_; }

 private:
  void ShowMouseBit(uint8_t Bit, bool On);
  void WMMouseMove(const vcl::TMessage& Message);
  void CNCommand(const vcl::TMessage& Message);
  // The list gets its skinned bar.
  void AttachList();
  void ReleaseList();
  int ButtonState();
  // Window coordinates to client coordinates.
  TRect WindowToClient(const TRect& R) const;

  LONG_PTR FStyle2 = 0;
  HWND FList = nullptr;
  HWND FEdit = nullptr;
  bool FDroppedDown = false;
  TOwnedObject<TSkinScrollbarH> FListSkinner;
  TOwnedObject<TComboxScrollBar> FListBar;
  COMBOBOXINFO FInfo{};
  TRect FButtonRect;
  int painted_state_ = 0;
};

}  // namespace winskin
