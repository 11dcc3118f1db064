// Buttons with glyphs. TSpeedButton: a button without a window, painted by its parent: a
// glyph (a bitmap of up to four frames: up, disabled, down, held down) and a caption, flat or
// raised, alone or as one of a group of which at most one stays down. TBitBtn: a push button
// (window class "TBitBtn", owner-drawn BUTTON) with a glyph beside its caption; its Kind gives
// it a standard glyph, caption and modal result.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl {

VCL_ENUM(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
using enum TButtonLayout;

// The look of a button: the frame of its glyph, in this order.
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
  VCL_CLASS(TSpeedButton, TGraphicControl)
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  // Frames side by side; a glyph as wide as a whole number of its heights sets NumGlyphs.
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int Value);
  // A button of a group (GroupIndex other than 0) stays down when clicked; pressing one
  // releases the others of its group (and parent). With AllowAllUp, clicking the one that is
  // down releases it.
  bool Down() const { return down_; }
  void SetDown(bool Value);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int Value);
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool Value);
  // A flat button shows a frame only while the mouse is over it or it is down.
  bool Flat() const { return flat_; }
  void SetFlat(bool Value);
  // A transparent button leaves its face to the parent's background.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  // Pixels between the edge and the glyph (-1: glyph and caption centred together) and
  // between the glyph and the caption (-1: spread evenly).
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);

  // The current look (up, disabled, down, held down).
  TButtonState State() const { return state_; }
  bool MouseInControl() const { return mouse_in_control_; }

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void GlyphChanged(TObject* Sender);
  void UpdateExclusive();
  void UpdateTracking();
  bool Inside(int X, int Y) const;

  std::unique_ptr<TBitmap> glyph_;
  int num_glyphs_ = 1;
  bool down_ = false;
  int group_index_ = 0;
  bool allow_all_up_ = false;
  bool flat_ = false;
  bool transparent_ = true;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  TButtonState state_ = TButtonState::bsUp;
  bool dragging_ = false;
  bool mouse_in_control_ = false;
};

// ---------------------------------------------------------------------------------------

VCL_ENUM(TBitBtnKind, bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll)
using enum TBitBtnKind;

class TBitBtn : public TButton {
  VCL_CLASS(TBitBtn, TButton)
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;

  // Setting a glyph makes the button a custom one; a kind brings its own (two frames: up and
  // disabled).
  TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(TBitmap* Value);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int Value);
  // A standard button: bkOK, bkYes are default buttons, bkCancel, bkNo cancel buttons; each
  // kind has its caption and modal result (bkClose closes the form). A button whose glyph,
  // Default, Cancel or ModalResult differ from its kind's is bkCustom.
  TBitBtnKind Kind() const;
  void SetKind(TBitBtnKind Value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return margin_; }
  void SetMargin(int Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);

  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void SetButtonStyle(bool ADefault) override;
  // Paints the button (frame, glyph and caption, focus) as WM_DRAWITEM asks.
  virtual void DrawItem(const DRAWITEMSTRUCT& Item);

 private:
  void GlyphChanged(TObject* Sender);
  void CNDrawItem(TMessage& Message);
  void WMLButtonDblClk(TMessage& Message);
  void CMFaceChanged(TMessage& Message);

  std::unique_ptr<TBitmap> glyph_;
  int num_glyphs_ = 1;
  TBitBtnKind kind_ = bkCustom;
  bool modified_glyph_ = false;
  bool setting_kind_ = false;
  bool is_focused_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  std::unique_ptr<TControlCanvas> canvas_;
};

// The unit's start-up makes its classes known to form descriptions (registered in its source
// file, which every program linking the library links).
namespace detail {
void InitButtonsUnit();
}  // namespace detail

}  // namespace vcl
