// TqvSpeedButtonHandler skins one graphic control (a speed button, or another vendor's
// windowless button): it puts its own method in front of the control's WindowProc, paints the
// control from its section into the skin data's cache with the glyph and caption over it, and
// gives the control its own painting back when the skin goes. It hears of the control's end
// through the control's free notification, whatever kind of control it is.
#pragma once

#include "classlib/controls/Controls.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/rtl/Component.h"

namespace skin_layered {

class TsCommonData;
class TsSkinManager;

class TqvSpeedButtonHandler : public vcl::TComponent {
  VCL_CLASS(TqvSpeedButtonHandler, vcl::TComponent)
 public:
  // Takes the control's WindowProc; the section is set when the skin data has none. The skin
  // data stays the caller's.
  TqvSpeedButtonHandler(vcl::TControl* AControl, const vcl::String& Section, TsSkinManager* ASkinManager,
                        TsCommonData* ASkinData);
  ~TqvSpeedButtonHandler() override;

  // 2 down, 1 active (focused or under the mouse), else 0.
  int ButtonState() const;
  // The section, glyph and caption into the skin data's cache.
  void PrepareCache();
  // The message to the control's WindowProc below the handler; answers its result.
  LRESULT CallOldProc(UINT Msg, WPARAM WParam, LPARAM LParam);

  vcl::TControl* Control = nullptr;  // nil once the control went
  TsSkinManager* SkinManager = nullptr;
  TsCommonData* SkinData = nullptr;
  bool Detached = false;  // the control has its own WindowProc back

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  void WndProc(vcl::TMessage& Message);
  bool OnSkinCommand(vcl::TMessage& Message);
  void Detach();
  void Paint(HDC DC);
  void InvalidateControl();
  bool ShiftsContent() const;
  void DrawCaptionAndGlyph(vcl::TBitmap* Cache, int State);

  vcl::TWindowProcHook hook_;
};

// Where a button's glyph and caption go (the caption's rectangle sized to its text).
struct TqvButtonLayout {
  vcl::TRect Glyph;
  vcl::TRect Caption;
};
// Width x Height button; Margin -1 centres; Shift moves both by (1, 1).
TqvButtonLayout LayoutButtonContent(int Width, int Height, vcl::TSize GlyphSize, vcl::TSize CaptionSize,
                                    vcl::TButtonLayout Layout, int Margin, int Spacing, bool Shift);

}  // namespace skin_layered
