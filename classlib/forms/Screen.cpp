// TScreen: the forms of the application, the active form and control, monitors, the screen
// cursor and the system fonts; TMonitor; and THintWindow.
#include <algorithm>

#include "classlib/forms/Forms.h"

namespace vcl {

VCL_CLASS_INFO(TScreen) {}
VCL_CLASS_INFO(TMonitor) {}

// ---------------------------------------------------------------------------------------
// TMonitor

namespace {
MONITORINFO InfoOf(HMONITOR m) {
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (!GetMonitorInfoW(m, &mi)) {
    mi.rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &mi.rcWork, 0);
  }
  return mi;
}
}  // namespace

TRect TMonitor::BoundsRect() const { return InfoOf(handle_).rcMonitor; }
TRect TMonitor::WorkareaRect() const { return InfoOf(handle_).rcWork; }
bool TMonitor::Primary() const { return (InfoOf(handle_).dwFlags & MONITORINFOF_PRIMARY) != 0; }

// ---------------------------------------------------------------------------------------
// TScreen

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {
  hint_font_ = std::make_unique<TFont>();
  menu_font_ = std::make_unique<TFont>();
  icon_font_ = std::make_unique<TFont>();
  ReadSystemFonts();
}

TScreen::~TScreen() { ReleaseRegisteredCursors(); }

void TScreen::ReadSystemFonts() {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
    if (HFONT f = CreateFontIndirectW(&ncm.lfStatusFont)) hint_font_->SetHandle(f);
    if (HFONT f = CreateFontIndirectW(&ncm.lfMenuFont)) menu_font_->SetHandle(f);
  }
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0))
    if (HFONT f = CreateFontIndirectW(&lf)) icon_font_->SetHandle(f);
  hint_font_->SetColor(clInfoText);
  menu_font_->SetColor(clMenuText);
}

int TScreen::FormCount() const {
  return static_cast<int>(std::count_if(custom_forms_.begin(), custom_forms_.end(),
                                        [](TCustomForm* f) { return dynamic_cast<TForm*>(f) != nullptr; }));
}

TForm* TScreen::Forms(int Index) const {
  int i = Index;
  for (TCustomForm* f : custom_forms_)
    if (auto* form = dynamic_cast<TForm*>(f); form && i-- == 0) return form;
  throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

TCustomForm* TScreen::CustomForms(int Index) const {
  if (Index < 0 || Index >= CustomFormCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return custom_forms_[static_cast<size_t>(Index)];
}

void TScreen::AddForm(TCustomForm* Form) {
  custom_forms_.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  std::erase(custom_forms_, Form);
  if (active_custom_form_ == Form) active_custom_form_ = nullptr;
  if (focused_form_ == Form) focused_form_ = nullptr;
  if (active_control_ && Form->ContainsControl(active_control_)) active_control_ = nullptr;
}

void TScreen::ControlDestroyed(TControl* Control) {
  if (active_control_ == Control) active_control_ = nullptr;
}

// The active form goes to the front of the lists, as the most recently used.
void TScreen::SetActive(TCustomForm* Form, TWinControl* Control) {
  const bool formChanged = active_custom_form_ != Form;
  const bool controlChanged = active_control_ != Control;
  active_control_ = Control;
  active_custom_form_ = Form;
  if (Form) {
    auto it = std::find(custom_forms_.begin(), custom_forms_.end(), Form);
    if (it != custom_forms_.end() && it != custom_forms_.begin()) std::rotate(custom_forms_.begin(), it, it + 1);
  }
  if (controlChanged && OnActiveControlChange) OnActiveControlChange(this);
  if (formChanged && OnActiveFormChange) OnActiveFormChange(this);
}

TRect TScreen::WorkAreaRect() const {
  RECT r{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

namespace {
BOOL CALLBACK UniteMonitor(HMONITOR, HDC, LPRECT Bounds, LPARAM data) {
  auto* all = reinterpret_cast<RECT*>(data);
  UnionRect(all, all, Bounds);
  return TRUE;
}
}  // namespace

// The bounds of all monitors, from one enumeration.
TRect TScreen::DesktopRect() const {
  RECT all{0, 0, 0, 0};
  if (EnumDisplayMonitors(nullptr, nullptr, UniteMonitor, reinterpret_cast<LPARAM>(&all)) && !IsRectEmpty(&all))
    return all;
  return Bounds(DesktopLeft(), DesktopTop(), DesktopWidth(), DesktopHeight());
}

namespace {
BOOL CALLBACK CollectMonitor(HMONITOR m, HDC, LPRECT, LPARAM data) {
  reinterpret_cast<std::vector<HMONITOR>*>(data)->push_back(m);
  return TRUE;
}
}  // namespace

void TScreen::ReadMonitors() const {
  std::vector<HMONITOR> handles;
  EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&handles));
  bool same = handles.size() == monitors_.size();
  for (size_t i = 0; same && i < handles.size(); ++i) same = monitors_[i]->Handle() == handles[i];
  if (same) return;
  monitors_.clear();
  for (size_t i = 0; i < handles.size(); ++i) monitors_.push_back(std::make_unique<TMonitor>(handles[i], static_cast<int>(i)));
}

int TScreen::MonitorCount() const {
  ReadMonitors();
  return static_cast<int>(monitors_.size());
}

TMonitor* TScreen::Monitors(int Index) const {
  ReadMonitors();
  if (Index < 0 || static_cast<size_t>(Index) >= monitors_.size())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return monitors_[static_cast<size_t>(Index)].get();
}

namespace {
TMonitor* FindMonitor(const std::vector<std::unique_ptr<TMonitor>>& monitors, HMONITOR h) {
  for (const auto& m : monitors)
    if (m->Handle() == h) return m.get();
  return monitors.empty() ? nullptr : monitors.front().get();
}
}  // namespace

TMonitor* TScreen::MonitorFromWindow(HWND Handle) const {
  ReadMonitors();
  return FindMonitor(monitors_, ::MonitorFromWindow(Handle, MONITOR_DEFAULTTOPRIMARY));
}

TMonitor* TScreen::MonitorFromPoint(TPoint P) const {
  ReadMonitors();
  return FindMonitor(monitors_, ::MonitorFromPoint(P, MONITOR_DEFAULTTOPRIMARY));
}

TMonitor* TScreen::MonitorFromRect(TRect R) const {
  ReadMonitors();
  const RECT r = R;
  return FindMonitor(monitors_, ::MonitorFromRect(&r, MONITOR_DEFAULTTOPRIMARY));
}

void TScreen::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  POINT pt{};
  GetCursorPos(&pt);
  if (Value != crDefault) {
    ::SetCursor(CursorHandle(Value));
  } else if (HWND wnd = WindowFromPoint(pt)) {
    // The window under the mouse sets its own cursor again.
    SendMessageW(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

void TScreen::SetCursors(TCursor Index, HCURSOR Handle) { RegisterCursor(Index, Handle); }

// ---------------------------------------------------------------------------------------
// THintWindow

const TClassInfo* HintWindowClass = nullptr;

VCL_CLASS_INFO(THintWindow) {}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetColor(clInfoBk);
  if (Screen) SetFont(Screen->HintFont());
  Canvas()->SetFont(Font());
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  Params.WindowClass.style |= CS_SAVEBITS | CS_DROPSHADOW;
  Params.WndParent = Application ? Application->Handle() : nullptr;
}

void THintWindow::Paint() {
  TRect r = ClientRect();
  r.Inflate(-2, -2);
  Canvas()->SetFont(Font());
  Canvas()->Font()->SetColor(clInfoText);
  Canvas()->Brush()->SetColor(Color());
  const TRect all = ClientRect();
  Canvas()->FillRect(all);
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  const String text = Caption();
  RECT rr = r;
  DrawTextW(Canvas()->Handle(), text.c_str(), static_cast<int>(text.size()), &rr, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

TRect THintWindow::CalcHintRect(int MaxWidth, const String& AHint, void*) {
  RECT r{0, 0, MaxWidth, 0};
  WindowDC dc(nullptr);
  SelectGuard font(dc.get(), Font()->Handle());
  DrawTextW(dc.get(), AHint.c_str(), static_cast<int>(AHint.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(TRect Rect, const String& AHint) {
  SetCaption(AHint);
  Rect.Bottom += 4;
  // Kept on the monitor the hint starts on.
  const TRect area = Screen ? Screen->MonitorFromPoint(Rect.TopLeft())->BoundsRect()
                            : TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (Rect.Right > area.Right) Rect.Offset(area.Right - Rect.Right, 0);
  if (Rect.Left < area.Left) Rect.Offset(area.Left - Rect.Left, 0);
  if (Rect.Bottom > area.Bottom) Rect.Offset(0, area.Bottom - Rect.Bottom);
  if (Rect.Top < area.Top) Rect.Offset(0, area.Top - Rect.Top);
  SetBoundsRect(Rect);
  SetWindowPos(Handle(), HWND_TOPMOST, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

void THintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(Message);
}

}  // namespace vcl
