// Push buttons painted from the skin's button image: TSkinButton (push buttons of the class
// library and bare dialog buttons) and TSkinMenuButton (buttons with a drop-down arrow). The
// skinner takes over the button's mouse feedback (hot, pressed) and its clicks, paints the
// whole button into an off-screen bitmap and copies it in one blit, so the button's own
// painting never shows.
//
// Frames of the skin's button image (side by side): 1 normal, 2 pressed, 3 disabled, 4 hot,
// 5 focused or default.
#pragma once

#include <memory>

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

inline constexpr int kButtonNormal = 1;
inline constexpr int kButtonPressed = 2;
inline constexpr int kButtonDisabled = 3;
inline constexpr int kButtonHot = 4;
inline constexpr int kButtonFocused = 5;

// A control's Tag that draws the parent's background behind the button.
inline constexpr int kParentBackTag = 5555;

// A button caption's "||" as line breaks.
vcl::String CaptionLines(vcl::String Text);

class TSkinButton : public TSkinControl {
  VCL_CLASS(TSkinButton, TSkinControl)

 public:
  explicit TSkinButton(vcl::TComponent* AOwner);
  ~TSkinButton() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  // Attaches to the owner, a control without a window (a speed button), through its
  // WindowProc.
  void AttachGraphicControl(TSkinControlHost* Form, TSkinData* SkinData, vcl::TCanvas* Canvas);
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's button picture.
  bool HasPicture() const override { return ButtonsElement() != nullptr; }

  bool ParentBack() const { return FParentBack; }
  bool MultiLine() const { return FMultiLine; }
  // The frame the last paint chose.
  int LastState() const { return last_state_; }

 protected:
  // Focus, enabled state, caption and the frame (later rules win): normal; focused (or the
  // default button, with DefaultRule) FocusState; pressed, else hot; disabled.
  int ReadState(bool DefaultRule, int FocusState);
  // The buffer sized to Rect with its background and the face of State; its DC, or nil when
  // the skin has no button image.
  HDC PrepareFace(const TRect& Rect, int State, bool DrawFace = true);
  // The caption's font and colour for State (the skin's second colours where given; the
  // normal one only in state 1 when NormalOnlyInState1); selected into DC.
  void SelectCaptionFont(HDC DC, int State, bool NormalOnlyInState1 = false);
  // "||" as line breaks, kept in FCaption; drawn centred with a focus rectangle when focused.
  void DrawButtonCaption(HDC DC, const TRect& Rect);
  // Copies the buffer to DC at Rect.
  void PutBuffer(HDC DC, const TRect& Rect);
  // The button's BiDi reading flag.
  UINT ReadingFlags() const;
  bool FocusRectWanted() const;
  // The click: the control's Click, or WM_COMMAND to a bare button's parent.
  void ClickButton();
  TDataSkinButton* ButtonsElement() const;

  std::unique_ptr<vcl::TBitmap> FBuffer;
  bool FMultiLine = false;
  bool FParentBack = false;
  int last_state_ = 0;

 private:
  void ShowMouseBit(uint8_t Bit, bool On);
  void WMMouseMove();
  void WMLButtonUp(const vcl::TMessage& Message);
  void WMKey(const vcl::TMessage& Message);
};

class TSkinMenuButton : public TSkinButton {
  VCL_CLASS(TSkinMenuButton, TSkinButton)

 public:
  using TSkinButton::TSkinButton;

  void DrawControl(HDC DC, const TRect& Rect) override;
};

}  // namespace winskin
