// The adapters of push buttons and bit buttons: TqvBtnWnd paints a button's whole window
// from its skin section ("BUTTON") into its skin data's cache (the section in the button's
// state, the caption, the focus rectangle, the glyph, the disabled look) and copies it to the
// window; it follows focus, hover, presses and text changes with a repaint, and shows the
// section's glow while the mouse is over the button. TqvBitBtnWnd places a bit button's glyph
// and caption by its Layout and Spacing and draws the glyph of its state.
//
// Both adapt class-library controls (TButton, TBitBtn) and bare "button" windows of system
// dialogs alike; states: 0 normal, 1 hot or focused, 2 pressed, 3 the default button (a skin
// section with fewer than four states shows it as hot).
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/core/CacheInfo.h"

namespace skin_layered {

inline constexpr int kButtonNormal = 0;
inline constexpr int kButtonHot = 1;
inline constexpr int kButtonPressed = 2;
inline constexpr int kButtonDefault = 3;

class TqvBtnWnd : public TqvMainWnd {
  VCL_CLASS(TqvBtnWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The button's state (above).
  virtual int CtlState();
  // Draws the glyph into the cache (none here).
  virtual void DrawGlyph() {}
  // One glyph image's size; (0, 0) without a glyph.
  virtual vcl::TSize GlyphSize() { return {}; }
  // Where the caption goes in the window.
  virtual vcl::TRect CaptionRect();
  // The width the caption may take.
  virtual int MaxCaptionWidth();

  // Composes the button in its cache: the section in the state, the caption and its focus
  // rectangle, the glyph, the disabled look.
  void PrepareButtonCache();

 protected:
  // BM_GETSTATE of the window.
  UINT ButtonState() const;
  bool Pushed() const { return (ButtonState() & BST_PUSHED) != 0; }
  LONG_PTR Style() const;
  // The content moves one pixel right and down while pressed.
  bool ShiftsContent() const;
  // The caption's size measured as CaptionRect draws it, within Width.
  vcl::TSize CaptionSize(int Width);
  // The state the section is painted in, limited to the section's states.
  int SectionState(int State) const;
  void RefreshGeometry();
  // The parent's background behind the button, as last asked by PrepareButtonCache.
  const TqvCacheInfo& Background() const { return bg_; }

 private:
  // The skinned button's messages; true when answered (they go no further).
  bool SkinnedMessage(vcl::TMessage& Message);
  bool OnMove();
  bool OnPaint(const vcl::TMessage& Message);
  bool OnPrint(const vcl::TMessage& Message);
  bool OnSetState(vcl::TMessage& Message);
  bool OnMouseHover();
  bool OnMouseLeaveMessage();
  bool OnSkinCommand(const vcl::TMessage& Message);
  bool WindowVisible() const;

  void PaintButton(const vcl::TMessage& Message);
  // The message's common handling with the window's redraw off, then a fresh look.
  bool QuietCommon(vcl::TMessage& Message, UINT RedrawFlags);
  void Repaint(UINT Flags);
  bool OnFocus(vcl::TMessage& Message, bool Focused);
  void OnMouseEnter();
  void OnMouseLeave();
  void TrackHotAfterMove();
  bool CursorInWindow() const;

  TqvCacheInfo bg_;
};

class TqvBitBtnWnd : public TqvBtnWnd {
  VCL_CLASS(TqvBitBtnWnd, TqvBtnWnd)
 public:
  using TqvBtnWnd::TqvBtnWnd;

  int CtlState() override;
  void DrawGlyph() override;
  vcl::TSize GlyphSize() override;
  vcl::TRect CaptionRect() override;
  int MaxCaptionWidth() override;

 private:
  // The glyph's top-left in the window.
  vcl::TPoint GlyphPos();
  // The glyph bitmap of a bare window (BM_GETIMAGE), copied; nil when it has none.
  std::unique_ptr<vcl::TBitmap> WindowGlyph() const;
};

}  // namespace skin_layered
