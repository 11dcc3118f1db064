// TBitBtn: an owner-drawn push button whose face, glyph and caption the library paints when
// the button's WM_DRAWITEM comes back as CN_DRAWITEM. The kinds' glyphs are drawn by the
// program on first use.
#include <algorithm>
#include <array>

#include "classlib/extctrls/ButtonFace.h"
#include "classlib/extctrls/Buttons.h"

namespace vcl {

namespace {

struct TKindInfo {
  const wchar_t* Caption;
  TModalResult Result;
};

// Indexed by TBitBtnKind.
constexpr TKindInfo kKinds[] = {
    {nullptr, mrNone},     {L"OK", mrOk},           {L"Cancel", mrCancel}, {L"&Help", mrNone},
    {L"&Yes", mrYes},      {L"&No", mrNo},          {L"&Close", mrNone},   {L"Abort", mrAbort},
    {L"&Retry", mrRetry},  {L"&Ignore", mrIgnore},  {L"&All", mrAll},
};

const TKindInfo& InfoOf(TBitBtnKind Kind) { return kKinds[static_cast<size_t>(Kind)]; }

constexpr int kGlyphSize = 18;
constexpr TColor kGlyphBackground = clOlive;  // the transparent colour (bottom-left pixel)

void Lines(TCanvas* Canvas, std::initializer_list<TPoint> Points) {
  Canvas->Polyline(std::span<const TPoint>(Points.begin(), Points.size()));
}

// One frame of a kind's glyph at X: a mark in Ink (the enabled frame in the kind's colour,
// the disabled one in the shadow colour).
void DrawKindMark(TCanvas* Canvas, TBitBtnKind Kind, int X, TColor Ink) {
  Canvas->Pen()->SetColor(Ink);
  Canvas->Pen()->SetWidth(2);
  Canvas->Brush()->SetColor(Ink);
  auto at = [X](int x, int y) { return TPoint{X + x, y}; };
  switch (Kind) {
    case bkOK:
    case bkYes:
      Lines(Canvas, {at(3, 9), at(7, 13), at(15, 4)});
      break;
    case bkAll:
      Lines(Canvas, {at(1, 8), at(4, 11), at(10, 4)});
      Lines(Canvas, {at(6, 11), at(9, 14), at(16, 6)});
      break;
    case bkCancel:
    case bkAbort:
      Lines(Canvas, {at(4, 4), at(14, 14)});
      Lines(Canvas, {at(14, 4), at(4, 14)});
      break;
    case bkNo:
      Canvas->Brush()->SetStyle(bsClear);
      Canvas->Ellipse(X + 3, 3, X + 15, 15);
      Lines(Canvas, {at(5, 13), at(13, 5)});
      break;
    case bkHelp:
      Lines(Canvas, {at(5, 6), at(7, 3), at(11, 3), at(13, 6), at(9, 10), at(9, 12)});
      Canvas->Rectangle(X + 8, 14, X + 11, 17);
      break;
    case bkClose:
      Canvas->Brush()->SetStyle(bsClear);
      Canvas->Rectangle(X + 4, 2, X + 14, 17);
      Canvas->Rectangle(X + 10, 9, X + 12, 11);
      break;
    case bkRetry:
      Lines(Canvas, {at(14, 9), at(13, 13), at(9, 15), at(5, 13), at(4, 9), at(5, 5), at(9, 3), at(13, 5)});
      Lines(Canvas, {at(13, 2), at(13, 6), at(9, 6)});
      break;
    case bkIgnore:
      Lines(Canvas, {at(9, 3), at(9, 11)});
      Canvas->Rectangle(X + 8, 14, X + 11, 17);
      break;
    case bkCustom:
      break;
  }
  Canvas->Brush()->SetStyle(bsSolid);
}

constexpr TColor KindColor(TBitBtnKind Kind) {
  switch (Kind) {
    case bkOK: case bkYes: case bkAll: case bkRetry: return clGreen;
    case bkCancel: case bkAbort: case bkNo: return clRed;
    case bkHelp: return clNavy;
    default: return clBlack;
  }
}

// The kind's glyph: the enabled frame and the disabled one side by side.
void MakeKindGlyph(TBitmap& Glyph, TBitBtnKind Kind) {
  Glyph.SetSize(2 * kGlyphSize, kGlyphSize);
  TCanvas* canvas = Glyph.Canvas();
  canvas->Brush()->SetColor(kGlyphBackground);
  canvas->FillRect(TRect(0, 0, 2 * kGlyphSize, kGlyphSize));
  DrawKindMark(canvas, Kind, 0, KindColor(Kind));
  DrawKindMark(canvas, Kind, kGlyphSize, clGray);
}

}  // namespace

VCL_CLASS_INFO(TBitBtn) {
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bounds(p);
  p.Bool<&TButton::Cancel, &TButton::SetCancel>(L"Cancel", false);
  // A kind's caption is its own and not stored.
  p.String<&TControl::Caption, &TControl::SetCaption>(L"Caption").Stored = [](const TObject* o) {
    return static_cast<const TBitBtn*>(o)->Kind() == bkCustom;
  };
  publish::Cursor(p);
  p.Bool<&TButton::Default, &TButton::SetDefault>(L"Default", false);
  publish::Enabled(p);
  publish::Font(p);
  p.Object<&TBitBtn::Glyph, &TBitBtn::SetGlyph>(L"Glyph", TBitmap::StaticClass()).Stored = [](const TObject* o) {
    const auto* b = static_cast<const TBitBtn*>(o);
    return b->Kind() == bkCustom && !b->Glyph()->Empty();
  };
  p.Enum<&TBitBtn::Kind, &TBitBtn::SetKind>(L"Kind", static_cast<int64_t>(bkCustom));
  p.Enum<&TBitBtn::Layout, &TBitBtn::SetLayout>(L"Layout", static_cast<int64_t>(blGlyphLeft));
  p.Integer<&TBitBtn::Margin, &TBitBtn::SetMargin>(L"Margin", -1);
  p.Integer<&TButton::ModalResult, &TButton::SetModalResult>(L"ModalResult", mrNone);
  p.Integer<&TBitBtn::NumGlyphs, &TBitBtn::SetNumGlyphs>(L"NumGlyphs", 1);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Integer<&TBitBtn::Spacing, &TBitBtn::SetSpacing>(L"Spacing", 4);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

TBitBtn::TBitBtn(TComponent* AOwner)
    : TButton(AOwner), glyph_(std::make_unique<TBitmap>()), canvas_(std::make_unique<TControlCanvas>()) {
  glyph_->OnChange = TNotifyEvent::Bind<&TBitBtn::GlyphChanged>(this);
  canvas_->SetControl(this);
}

TBitBtn::~TBitBtn() = default;

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  // The library paints the whole button.
  Params.Style = (Params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
}

void TBitBtn::SetButtonStyle(bool ADefault) {
  if (is_focused_ == ADefault) return;
  is_focused_ = ADefault;
  Invalidate();
}

void TBitBtn::GlyphChanged(TObject*) {
  if (!setting_kind_) modified_glyph_ = true;
  Invalidate();
}

void TBitBtn::SetGlyph(TBitmap* Value) {
  glyph_->Assign(Value);
  // A strip of square frames tells how many frames it holds.
  if (!glyph_->Empty() && glyph_->Height() > 0 && glyph_->Width() % glyph_->Height() == 0) {
    const int frames = glyph_->Width() / glyph_->Height();
    SetNumGlyphs(frames > 4 ? 1 : frames);
  }
  modified_glyph_ = true;
  Invalidate();
}

void TBitBtn::SetNumGlyphs(int Value) {
  Value = std::clamp(Value, 1, 4);
  if (num_glyphs_ == Value) return;
  num_glyphs_ = Value;
  Invalidate();
}

TBitBtnKind TBitBtn::Kind() const {
  if (kind_ == bkCustom) return bkCustom;
  const bool isDefault = kind_ == bkOK || kind_ == bkYes;
  const bool isCancel = kind_ == bkCancel || kind_ == bkNo;
  if (isDefault != Default() || isCancel != Cancel() || ModalResult() != InfoOf(kind_).Result || modified_glyph_)
    return bkCustom;
  return kind_;
}

void TBitBtn::SetKind(TBitBtnKind Value) {
  if (Value == kind_) return;
  if (Value != bkCustom) {
    SetDefault(Value == bkOK || Value == bkYes);
    SetCancel(Value == bkCancel || Value == bkNo);
    // A caption read before the kind is the description's own.
    if (!ComponentState().Contains(csLoading) || Caption().empty()) SetCaption(InfoOf(Value).Caption);
    SetModalResult(InfoOf(Value).Result);
    setting_kind_ = true;
    MakeKindGlyph(*glyph_, Value);
    setting_kind_ = false;
    num_glyphs_ = 2;
    modified_glyph_ = false;
  }
  kind_ = Value;
  Invalidate();
}

void TBitBtn::SetLayout(TButtonLayout Value) {
  if (layout_ == Value) return;
  layout_ = Value;
  Invalidate();
}

void TBitBtn::SetMargin(int Value) {
  if (margin_ == Value || Value < -1) return;
  margin_ = Value;
  Invalidate();
}

void TBitBtn::SetSpacing(int Value) {
  if (spacing_ == Value) return;
  spacing_ = Value;
  Invalidate();
}

void TBitBtn::Click() {
  // The close button closes its form.
  if (kind_ == bkClose) {
    if (TCustomForm* form = GetParentForm(this)) {
      form->Close();
      return;
    }
  }
  TButton::Click();
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item) {
  const TCanvasDCLoan loan(*canvas_, Item.hDC);
  TCanvas* canvas = canvas_.get();
  const bool down = (Item.itemState & ODS_SELECTED) != 0;
  const bool focused = (Item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (Item.itemState & ODS_DISABLED) != 0 || !Enabled();
  TRect r = ClientRect();
  // The button that answers Enter has a dark frame around it.
  if (is_focused_ || focused) {
    canvas->Pen()->SetColor(clWindowFrame);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Rectangle(r);
    r.Inflate(-1, -1);
  }
  if (down) {
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Pen()->SetWidth(1);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->Rectangle(r);
    r.Inflate(-1, -1);
  } else {
    DrawFrameControl(Item.hDC, r.AsRECT(), DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
  }
  canvas->SetFont(Font());
  TButtonFace face{glyph_.get(), num_glyphs_, Caption(), layout_, margin_, spacing_, TButtonState::bsUp};
  if (disabled) face.State = TButtonState::bsDisabled;
  if (down) face.State = TButtonState::bsDown;
  DrawButtonFace(canvas, face, r, down ? TPoint{1, 1} : TPoint{0, 0});
  if (focused) {
    TRect focus = ClientRect();
    focus.Inflate(-4, -4);
    DrawFocusRect(Item.hDC, focus.AsRECT());
  }
}

void TBitBtn::CNDrawItem(TMessage& Message) {
  if (const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam)) DrawItem(*item);
  Message.Result = TRUE;
}

// An owner-drawn button would take the second click as a double click, not a press.
void TBitBtn::WMLButtonDblClk(TMessage& Message) { Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam); }

// What the face shows changed.
void TBitBtn::CMFaceChanged(TMessage& Message) {
  TButton::Dispatch(Message);
  Invalidate();
}

void TBitBtn::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: return CNDrawItem(Message);
    case WM_LBUTTONDBLCLK: return WMLButtonDblClk(Message);
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED: return CMFaceChanged(Message);
    default: return TButton::Dispatch(Message);
  }
}

}  // namespace vcl
