// TTabSet: tabs drawn by the library with slanted edges, hanging from the control's top edge;
// TScroller: the two arrows that scroll them.
#include "classlib/extctrls/TabSet.h"

#include <algorithm>

#include "classlib/rtl/UnitInit.h"

namespace vcl {

namespace {
// The slanted edges of a tab take this much width besides its text.
constexpr int kEdgeWidth = 9;
}  // namespace

namespace detail {
VCL_UNIT_LINKED(Tabs);
const TUnitRegistration kTabsUnit{TUnitGroup::ClassLibrary, 35, L"Tabs", &InitTabsUnit, nullptr};
}  // namespace detail

void detail::InitTabsUnit() { TTabSet::StaticClass(); }

VCL_CLASS_INFO(TScroller) {}

VCL_CLASS_INFO(TTabSet) {
  publish::Align(p);
  publish::Anchors(p);
  p.Bool<&TTabSet::AutoScroll, &TTabSet::SetAutoScroll>(L"AutoScroll", true);
  p.Integer<&TTabSet::BackgroundColor, &TTabSet::SetBackgroundColor>(L"BackgroundColor", clBtnFace, &ColorTypeInfo());
  publish::Bounds(p);
  publish::Enabled(p);
  p.Integer<&TTabSet::EndMargin, &TTabSet::SetEndMargin>(L"EndMargin", 5);
  publish::Font(p);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Integer<&TTabSet::SelectedColor, &TTabSet::SetSelectedColor>(L"SelectedColor", clBtnFace, &ColorTypeInfo());
  p.Integer<&TTabSet::StartMargin, &TTabSet::SetStartMargin>(L"StartMargin", 5);
  p.Enum<&TTabSet::Style, &TTabSet::SetStyle>(L"Style", static_cast<int64_t>(tsStandard));
  p.Integer<&TTabSet::TabHeight, &TTabSet::SetTabHeight>(L"TabHeight", 20);
  p.Object<&TTabSet::Tabs, &TTabSet::SetTabs>(L"Tabs", TStrings::StaticClass());
  p.Integer<&TTabSet::TabIndex, &TTabSet::SetTabIndex>(L"TabIndex", -1);
  p.Integer<&TTabSet::UnselectedColor, &TTabSet::SetUnselectedColor>(L"UnselectedColor", clWindow, &ColorTypeInfo());
  publish::Visible(p);
  p.Event<&TTabSet::OnChange>(L"OnChange");
  p.Event<&TTabSet::OnDrawTab>(L"OnDrawTab");
  p.Event<&TTabSet::OnMeasureTab>(L"OnMeasureTab");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
}

// ---------------------------------------------------------------------------------------
// TScroller

TScroller::TScroller(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle({csOpaque, csCaptureMouse});
  SetBounds(0, 0, 2 * GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL));
}

void TScroller::SetRange(int AMin, int AMax) {
  min_ = AMin;
  max_ = std::max(AMin, AMax);
  SetPosition(position_);
  Invalidate();
}

void TScroller::SetPosition(int Value) {
  Value = std::clamp(Value, min_, max_);
  if (position_ == Value) return;
  position_ = Value;
  Invalidate();
  if (OnChange) OnChange(this);
}

void TScroller::Paint() {
  const int half = Width() / 2;
  RECT left{0, 0, half, Height()};
  RECT right{half, 0, Width(), Height()};
  HDC dc = Canvas()->Handle();
  DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT | (position_ <= min_ ? DFCS_INACTIVE : 0));
  DrawFrameControl(dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (position_ >= max_ ? DFCS_INACTIVE : 0));
}

void TScroller::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  SetPosition(position_ + (X < Width() / 2 ? -1 : 1));
}

// ---------------------------------------------------------------------------------------
// TTabSet

TTabSet::TTabSet(TComponent* AOwner) : TCustomControl(AOwner), tabs_(std::make_unique<TStringList>()) {
  SetControlStyle({csCaptureMouse, csDoubleClicks, csOpaque});
  SetBounds(0, 0, 185, 21);
  tabs_->OnChange = TNotifyEvent::Bind<&TTabSet::TabsChanged>(this);
  scroller_ = Construct<TScroller>(this);
  scroller_->SetVisible(false);
  scroller_->SetParent(this);
  scroller_->OnChange = TNotifyEvent::Bind<&TTabSet::ScrollerChanged>(this);
}

TTabSet::~TTabSet() = default;

TStrings* TTabSet::Tabs() const { return tabs_.get(); }

void TTabSet::SetTabs(TStrings* Value) { tabs_->Assign(Value); }

void TTabSet::TabsChanged(TObject*) {
  if (tab_index_ >= tabs_->Count()) tab_index_ = tabs_->Count() - 1;
  if (first_index_ >= tabs_->Count()) first_index_ = std::max(0, tabs_->Count() - 1);
  UpdateScroller();
  Invalidate();
}

void TTabSet::Loaded() {
  TCustomControl::Loaded();
  // The description gives the index before the tabs.
  if (tab_index_ >= tabs_->Count()) tab_index_ = -1;
  UpdateScroller();
}

bool TTabSet::CanChange(int NewIndex) {
  bool allow = true;
  if (OnChange) OnChange(this, NewIndex, allow);
  return allow;
}

void TTabSet::SetTabIndex(int Value) {
  if (ComponentState().Contains(csLoading)) {
    tab_index_ = Value;
    return;
  }
  if (Value == tab_index_) return;
  if (Value < -1 || Value >= tabs_->Count()) throw EInvalidOperation(L"Invalid tab index");
  if (!CanChange(Value)) return;
  tab_index_ = Value;
  ShowTabIndex();
  Click();
  Invalidate();
}

void TTabSet::ShowTabIndex() {
  if (tab_index_ < 0) return;
  if (tab_index_ < first_index_) {
    SetFirstIndex(tab_index_);
    return;
  }
  // Later tabs come first until the chosen one fits.
  while (first_index_ < tab_index_ && first_index_ + VisibleTabs() <= tab_index_) SetFirstIndex(first_index_ + 1);
}

void TTabSet::SetFirstIndex(int Value) {
  Value = std::clamp(Value, 0, std::max(0, tabs_->Count() - 1));
  if (first_index_ == Value) return;
  first_index_ = Value;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetStartMargin(int Value) {
  if (start_margin_ == Value) return;
  start_margin_ = Value;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetEndMargin(int Value) {
  if (end_margin_ == Value) return;
  end_margin_ = Value;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetAutoScroll(bool Value) {
  if (auto_scroll_ == Value) return;
  auto_scroll_ = Value;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetTabHeight(int Value) {
  if (tab_height_ == Value) return;
  tab_height_ = Value;
  Invalidate();
}

void TTabSet::SetStyle(TTabSetTabStyle Value) {
  if (style_ == Value) return;
  style_ = Value;
  UpdateScroller();
  Invalidate();
}

void TTabSet::SetSelectedColor(TColor Value) {
  selected_color_ = Value;
  Invalidate();
}

void TTabSet::SetUnselectedColor(TColor Value) {
  unselected_color_ = Value;
  Invalidate();
}

void TTabSet::SetBackgroundColor(TColor Value) {
  background_color_ = Value;
  Invalidate();
}

int TTabSet::MeasureTab(int Index) {
  // Measured in the control's font, window or not.
  const String text = tabs_->Strings(Index);
  SIZE size{};
  {
    const SelectGuard font(MeasureDC(), Font()->Handle());
    GetTextExtentPoint32W(MeasureDC(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  int width = size.cx + kEdgeWidth;
  if (style_ == tsOwnerDraw && OnMeasureTab) OnMeasureTab(this, Index, width);
  return width;
}

std::vector<TTabSet::TTabPlace> TTabSet::Layout(bool& NeedScroller) const {
  auto place = [this](int Limit, bool& AllFit) {
    std::vector<TTabPlace> shown;
    AllFit = true;
    int x = start_margin_;
    for (int i = first_index_; i < tabs_->Count(); ++i) {
      const int w = const_cast<TTabSet*>(this)->MeasureTab(i);
      if (x + w > Limit) {
        AllFit = false;
        break;
      }
      shown.push_back({i, TRect(x, 0, x + w, std::min(tab_height_, Height()))});
      x += w;
    }
    return shown;
  };
  bool allFit = true;
  std::vector<TTabPlace> shown = place(Width() - end_margin_, allFit);
  NeedScroller = !allFit || first_index_ > 0;
  if (NeedScroller && auto_scroll_) shown = place(Width() - end_margin_ - scroller_->Width(), allFit);
  return shown;
}

int TTabSet::VisibleTabs() const {
  bool needScroller = false;
  return static_cast<int>(Layout(needScroller).size());
}

int TTabSet::ItemAtPos(TPoint Pos) const {
  bool needScroller = false;
  for (const TTabPlace& t : Layout(needScroller))
    if (t.Rect.Contains(Pos)) return t.Index;
  return -1;
}

TRect TTabSet::ItemRect(int Index) const {
  bool needScroller = false;
  for (const TTabPlace& t : Layout(needScroller))
    if (t.Index == Index) return t.Rect;
  return TRect();
}

void TTabSet::UpdateScroller() {
  if (!scroller_ || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  bool needScroller = false;
  Layout(needScroller);
  const bool show = auto_scroll_ && needScroller;
  scroller_->SetBounds(Width() - scroller_->Width() - 1, std::max(0, (std::min(tab_height_, Height()) - scroller_->Height()) / 2),
                       scroller_->Width(), scroller_->Height());
  scroller_->SetRange(0, std::max(0, tabs_->Count() - 1));
  scroller_->SetPosition(first_index_);
  scroller_->SetVisible(show);
}

void TTabSet::ScrollerChanged(TObject*) { SetFirstIndex(scroller_->Position()); }

void TTabSet::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScroller();
}

void TTabSet::DrawTab(TCanvas* TabCanvas, const TRect& R, int Index, bool Selected) {
  if (style_ == tsOwnerDraw && OnDrawTab) {
    OnDrawTab(this, TabCanvas, R, Index, Selected);
    return;
  }
  TabCanvas->Brush()->SetStyle(bsClear);
  const String text = tabs_->Strings(Index);
  RECT r = R;
  DrawTextW(TabCanvas->Handle(), text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void TTabSet::Paint() {
  TCanvas* canvas = Canvas();
  canvas->SetFont(Font());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(background_color_);
  canvas->FillRect(ClientRect());
  // The edge of the page the tabs hang from.
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(clWindowFrame);
  canvas->MoveTo(0, 0);
  canvas->LineTo(Width(), 0);
  bool needScroller = false;
  for (const TTabPlace& t : Layout(needScroller)) {
    const bool selected = t.Index == tab_index_;
    const TRect& r = t.Rect;
    const TPoint shape[] = {{r.Left, r.Top}, {r.Left + kEdgeWidth / 2, r.Bottom - 1},
                            {r.Right - kEdgeWidth / 2, r.Bottom - 1}, {r.Right, r.Top}};
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(selected ? selected_color_ : unselected_color_);
    canvas->Pen()->SetColor(clWindowFrame);
    canvas->Polygon(shape);
    // The chosen tab is part of the page above it.
    if (selected) {
      canvas->Pen()->SetColor(selected_color_);
      canvas->MoveTo(r.Left + 1, r.Top);
      canvas->LineTo(r.Right, r.Top);
    }
    DrawTab(canvas, TRect(r.Left + kEdgeWidth / 2, r.Top + 1, r.Right - kEdgeWidth / 2, r.Bottom - 1), t.Index, selected);
  }
}

void TTabSet::Resize() {
  TCustomControl::Resize();
  UpdateScroller();
  Invalidate();
}

void TTabSet::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const int index = ItemAtPos({X, Y});
  if (index >= 0) SetTabIndex(index);
}

// The tabs' widths follow the font.
void TTabSet::CMFontChanged(TMessage& Message) {
  TCustomControl::Dispatch(Message);
  UpdateScroller();
  Invalidate();
}

void TTabSet::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_FONTCHANGED: return CMFontChanged(Message);
    default: return TCustomControl::Dispatch(Message);
  }
}

}  // namespace vcl
