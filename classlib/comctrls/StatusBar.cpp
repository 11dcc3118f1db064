// TStatusBar (a superclass of msctls_statusbar32) and its panels.
#include "classlib/comctrls/StatusBar.h"

#include <algorithm>
#include <vector>

#include <commctrl.h>

namespace vcl {

VCL_CLASS_INFO(TStatusPanel) {
  p.Enum<&TStatusPanel::Alignment, &TStatusPanel::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  p.Enum<&TStatusPanel::Bevel, &TStatusPanel::SetBevel>(L"Bevel", static_cast<int64_t>(pbLowered));
  p.Enum<&TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode>(L"BiDiMode", static_cast<int64_t>(bdLeftToRight));
  p.Enum<&TStatusPanel::Style, &TStatusPanel::SetStyle>(L"Style", static_cast<int64_t>(psText));
  p.String<&TStatusPanel::Text, &TStatusPanel::SetText>(L"Text");
  p.Integer<&TStatusPanel::Width, &TStatusPanel::SetWidth>(L"Width", 50);
}
VCL_CLASS_INFO(TStatusPanels) {}

VCL_CLASS_INFO(TStatusBar) {
  p.Enum<&TControl::Align, &TControl::SetAlign>(L"Align", static_cast<int64_t>(alBottom));
  publish::Anchors(p);
  p.Integer<&TStatusBar::BorderWidth, &TStatusBar::SetBorderWidth>(L"BorderWidth", 0);
  publish::Bounds(p);
  publish::Color(p, clBtnFace);
  publish::Enabled(p);
  publish::Font(p);
  publish::Hints(p);
  p.Object<&TStatusBar::Panels, &TStatusBar::SetPanels>(L"Panels", TStatusPanels::StaticClass());
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel>(L"SimplePanel", false);
  p.String<&TStatusBar::SimpleText, &TStatusBar::SetSimpleText>(L"SimpleText");
  p.Bool<&TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip>(L"SizeGrip", true);
  publish::Visible(p);
  p.Event<&TStatusBar::OnDrawPanel>(L"OnDrawPanel");
  publish::MouseEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
}

namespace {

// The system centres a part's text after one tab and right-aligns it after two.
String AlignedText(const String& Text, TAlignment Alignment) {
  switch (Alignment) {
    case taCenter: return L"\t" + Text;
    case taRightJustify: return L"\t\t" + Text;
    default: return Text;
  }
}

TAlignment Mirrored(TAlignment Alignment) {
  switch (Alignment) {
    case taLeftJustify: return taRightJustify;
    case taRightJustify: return taLeftJustify;
    default: return Alignment;
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TStatusPanel

TStatusPanel::TStatusPanel(TCollection* Collection) : TCollectionItem(Collection) {}

TStatusBar* TStatusPanel::StatusBar() const {
  auto* panels = dynamic_cast<TStatusPanels*>(Collection());
  return panels ? panels->Owner() : nullptr;
}

void TStatusPanel::SetText(const String& Value) {
  if (text_ == Value) return;
  text_ = Value;
  Changed(false);
}

void TStatusPanel::SetWidth(int Value) {
  Value = std::max(Value, 0);
  if (width_ == Value) return;
  width_ = Value;
  Changed(true);
}

void TStatusPanel::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel Value) {
  if (bevel_ == Value) return;
  bevel_ = Value;
  Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  Changed(false);
}

void TStatusPanel::SetBiDiMode(TBiDiMode Value) {
  if (bidi_mode_ == Value) return;
  bidi_mode_ = Value;
  Changed(false);
}

void TStatusPanel::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TStatusPanel*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  text_ = src->text_;
  width_ = src->width_;
  alignment_ = src->alignment_;
  bevel_ = src->bevel_;
  style_ = src->style_;
  bidi_mode_ = src->bidi_mode_;
  Changed(true);
}

String TStatusPanel::DisplayName() const { return text_.empty() ? ClassName() : text_; }

// ---------------------------------------------------------------------------------------
// TStatusPanels

TStatusPanels::TStatusPanels(TStatusBar* AOwner)
    : TCollection(TCollectionItemClass::Of<TStatusPanel>()), owner_(AOwner) {}

TPersistent* TStatusPanels::GetOwner() { return owner_; }

void TStatusPanels::Update(TCollectionItem*) {
  if (owner_) owner_->UpdatePanels();
}

// ---------------------------------------------------------------------------------------
// TStatusBar

TStatusBar::TStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), panels_(std::make_unique<TStatusPanels>(this)) {
  SetControlStyle(ControlStyle() - TControlStyle{csSetCaption});
  SetBounds(0, 0, 150, 19);
  SetAlign(alBottom);
  SetParentColor(false);
  SetColor(clBtnFace);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, STATUSCLASSNAMEW);
  // The library places and sizes the bar.
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
  if (size_grip_) Params.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::CreateWnd() {
  TWinControl::CreateWnd();
  ApplyColor();
  UpdatePanels();
  if (simple_panel_) Send(SB_SIMPLE, TRUE);
  if (border_width_ > 0)
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TStatusBar::ApplyColor() {
  if (!HasWindow()) return;
  Send(SB_SETBKCOLOR, 0, Color() == clBtnFace ? CLR_DEFAULT : static_cast<LPARAM>(ColorToRGB(Color())));
}

// The system takes at most 256 parts; every part but the last ends where its width says.
constexpr int kMaxParts = 256;

void TStatusBar::SetParts(int LastEdge) {
  if (!HasWindow()) return;
  const int parts = std::clamp(panels_->Count(), 1, kMaxParts);
  std::vector<int> edges(static_cast<size_t>(parts), LastEdge);
  int x = 0;
  for (int i = 0; i + 1 < parts; ++i) {
    x += panels_->Items(i)->Width();
    edges[static_cast<size_t>(i)] = x;
  }
  Send(SB_SETPARTS, static_cast<WPARAM>(parts), reinterpret_cast<LPARAM>(edges.data()));
}

void TStatusBar::UpdatePanels() {
  if (!HasWindow()) return;
  const int count = panels_->Count();
  const int parts = std::clamp(count, 1, kMaxParts);
  SetParts();
  if (count == 0) {
    Send(SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(simple_text_.c_str()));
  } else {
    for (int i = 0; i < parts; ++i) {
      TStatusPanel* panel = panels_->Items(i);
      WPARAM flags = static_cast<WPARAM>(i);
      if (panel->Bevel() == pbNone) flags |= SBT_NOBORDERS;
      if (panel->Bevel() == pbRaised) flags |= SBT_POPOUT;
      if (panel->UseRightToLeftReading()) flags |= SBT_RTLREADING;
      if (panel->Style() == psOwnerDraw) {
        // The part's data is the panel; the drawing asks the collection again by index.
        Send(SB_SETTEXTW, flags | SBT_OWNERDRAW, reinterpret_cast<LPARAM>(panel));
      } else {
        const TAlignment alignment =
            panel->UseRightToLeftAlignment() ? Mirrored(panel->Alignment()) : panel->Alignment();
        const String text = AlignedText(panel->Text(), alignment);
        Send(SB_SETTEXTW, flags, reinterpret_cast<LPARAM>(text.c_str()));
      }
    }
  }
  UpdateSimpleText();
}

void TStatusBar::UpdateSimpleText() {
  if (HasWindow()) Send(SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(simple_text_.c_str()));
}

void TStatusBar::SetSimplePanel(bool Value) {
  if (simple_panel_ == Value) return;
  simple_panel_ = Value;
  if (HasWindow()) Send(SB_SIMPLE, Value ? TRUE : FALSE);
}

void TStatusBar::SetSimpleText(const String& Value) {
  if (simple_text_ == Value) return;
  simple_text_ = Value;
  if (panels_->Count() == 0)
    UpdatePanels();
  else
    UpdateSimpleText();
}

void TStatusBar::SetSizeGrip(bool Value) {
  if (size_grip_ == Value) return;
  size_grip_ = Value;
  RecreateWnd();
}

void TStatusBar::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (border_width_ == Value) return;
  border_width_ = Value;
  if (HasWindow())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Realign();
}

void TStatusBar::DrawPanel(TStatusPanel* Panel, const TRect& Rect) {
  if (OnDrawPanel)
    OnDrawPanel(this, Panel, Rect);
  else
    canvas_->FillRect(Rect);
}

void TStatusBar::HandleDrawItem(TMessage& Message) {
  const auto* info = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
  const int index = info ? static_cast<int>(info->itemID) : -1;
  if (index < 0 || index >= panels_->Count()) {
    TWinControl::Dispatch(Message);
    return;
  }
  {
    const TCanvasDCLoan loan(*canvas_, info->hDC);
    canvas_->SetFont(Font());
    canvas_->SetBrush(Brush());
    DrawPanel(panels_->Items(index), info->rcItem);
  }
  Message.Result = TRUE;
}

// The border lies between the window's frame and its client area.
void TStatusBar::WMNcCalcSize(TMessage& Message) {
  TWinControl::Dispatch(Message);
  if (border_width_ <= 0 || !Message.LParam) return;
  auto* r = reinterpret_cast<RECT*>(Message.LParam);  // the first rectangle either way
  InflateRect(r, -border_width_, -border_width_);
  r->right = std::max(r->right, r->left);
  r->bottom = std::max(r->bottom, r->top);
}

// The library places the bar (it has CCS_NORESIZE): the system then keeps its parts where they
// were, so the last one would stop at the old width, and it ignores the same parts set again.
// They are set for the new width, then again to reach the right end whatever comes.
void TStatusBar::WMSize(TMessage& Message) {
  TWinControl::Dispatch(Message);
  RECT client{};
  GetClientRect(Handle(), &client);
  SetParts(client.right);
  SetParts();
}

void TStatusBar::CMColorChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  ApplyColor();
}

void TStatusBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_DRAWITEM: return HandleDrawItem(Message);
    case WM_NCCALCSIZE: return WMNcCalcSize(Message);
    case WM_SIZE: return WMSize(Message);
    // The window paints its own background.
    case WM_ERASEBKGND: return DefaultHandler(Message);
    case CM_COLORCHANGED: return CMColorChanged(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
