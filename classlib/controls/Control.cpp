// TControl: bounds, visibility, colour and font inheritance, text, mouse handling and the
// message path shared by windowed and graphic controls.
#include <algorithm>
#include <map>

#include "classlib/controls/Controls.h"
#include "classlib/controls/ControlsInternal.h"
#include "classlib/controls/LayerHooks.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/rtl/SysInfo.h"

namespace vcl {

VCL_CLASS_INFO(TControl) {}

VCL_CLASS_INFO(TSizeConstraints) {
  p.Integer<&TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight>(L"MaxHeight", 0);
  p.Integer<&TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth>(L"MaxWidth", 0);
  p.Integer<&TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight>(L"MinHeight", 0);
  p.Integer<&TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth>(L"MinWidth", 0);
}

namespace detail {

TControl* g_capture_control = nullptr;

void RaiseParentRequired(const TControl* Control) {
  throw EInvalidOperation(L"Control '" + Control->Name() + L"' has no parent window");
}

void MoveWindowOrg(HDC DC, int DX, int DY) {
  POINT org{};
  GetWindowOrgEx(DC, &org);
  SetWindowOrgEx(DC, org.x - DX, org.y - DY, nullptr);
}

void ControlDestroyed(TControl* Control) {
  if (g_capture_control == Control) g_capture_control = nullptr;
  if (const auto destroyed = LayerHooks().Application.ControlDestroyed) destroyed(Control);
}

}  // namespace detail

// ---------------------------------------------------------------------------------------
// Cursors by name

namespace {

struct CursorEntry {
  TCursor Cursor;
  const wchar_t* Ident;
  const wchar_t* Resource;
};

const CursorEntry kCursors[] = {
    {crDefault, L"crDefault", IDC_ARROW},     {crNone, L"crNone", nullptr},
    {crArrow, L"crArrow", IDC_ARROW},         {crCross, L"crCross", IDC_CROSS},
    {crIBeam, L"crIBeam", IDC_IBEAM},         {crSizeNESW, L"crSizeNESW", IDC_SIZENESW},
    {crSizeNS, L"crSizeNS", IDC_SIZENS},      {crSizeNWSE, L"crSizeNWSE", IDC_SIZENWSE},
    {crSizeWE, L"crSizeWE", IDC_SIZEWE},      {crUpArrow, L"crUpArrow", IDC_UPARROW},
    {crHourGlass, L"crHourGlass", IDC_WAIT},  {crNo, L"crNo", IDC_NO},
    {crAppStart, L"crAppStart", IDC_APPSTARTING}, {crHelp, L"crHelp", IDC_HELP},
    {crHandPoint, L"crHandPoint", IDC_HAND},  {crSizeAll, L"crSizeAll", IDC_SIZEALL},
};

bool CursorToIdent(int64_t value, String& ident) {
  for (const auto& e : kCursors)
    if (e.Cursor == value) {
      ident = e.Ident;
      return true;
    }
  return false;
}

bool IdentToCursor(StringView ident, int64_t& value) {
  for (const auto& e : kCursors)
    if (SameText(e.Ident, ident)) {
      value = e.Cursor;
      return true;
    }
  return false;
}

}  // namespace

namespace {

std::map<TCursor, HCURSOR>& RegisteredCursors() {
  static std::map<TCursor, HCURSOR> cursors;
  return cursors;
}

}  // namespace

HCURSOR CursorHandle(TCursor Cursor) {
  const auto& registered = RegisteredCursors();
  if (auto it = registered.find(Cursor); it != registered.end()) return it->second;
  for (const auto& e : kCursors)
    if (e.Cursor == Cursor) return e.Resource ? LoadCursorW(nullptr, e.Resource) : nullptr;
  if (auto it = registered.find(crDefault); it != registered.end()) return it->second;
  return LoadCursorW(nullptr, IDC_ARROW);
}

void RegisterCursor(TCursor Cursor, HCURSOR Handle) {
  auto& registered = RegisteredCursors();
  auto it = registered.find(Cursor);
  if (it != registered.end()) {
    if (it->second == Handle) return;
    DestroyCursor(it->second);
    registered.erase(it);
  }
  if (Handle) registered.emplace(Cursor, Handle);
}

void ReleaseRegisteredCursors() {
  auto& registered = RegisteredCursors();
  for (const auto& [cursor, handle] : registered) DestroyCursor(handle);
  registered.clear();
}

const TIntegerTypeInfo& CursorTypeInfo() {
  static const TIntegerTypeInfo info{L"TCursor", &IdentToCursor, &CursorToIdent};
  return info;
}

TShiftState KeysToShiftState(WPARAM Keys) {
  TShiftState s;
  if (Keys & MK_SHIFT) s.Include(ssShift);
  if (Keys & MK_CONTROL) s.Include(ssCtrl);
  if (Keys & MK_LBUTTON) s.Include(ssLeft);
  if (Keys & MK_RBUTTON) s.Include(ssRight);
  if (Keys & MK_MBUTTON) s.Include(ssMiddle);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyDataToShiftState(LPARAM KeyData) {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (KeyData & 0x20000000) s.Include(ssAlt);  // context code: Alt held
  return s;
}

// ---------------------------------------------------------------------------------------
// Exceptions of message handlers

void HandleControlException(TObject* Sender) {
  // Without an application the exception ends here; and a display that fails itself must
  // not carry an exception into the system either.
  const auto handler = LayerHooks().Application.HandleException;
  if (!handler) return;
  try {
    handler(Sender);
  } catch (...) {
  }
}

TControl* GetCaptureControl() {
  TWinControl* captured = FindControl(GetCapture());
  TControl* c = detail::g_capture_control;
  if (captured && c && c->Parent() == captured) return c;
  return captured;
}

void SetCaptureControl(TControl* Control) {
  ReleaseCapture();
  detail::g_capture_control = nullptr;
  if (!Control) return;
  auto* win = dynamic_cast<TWinControl*>(Control);
  if (!win) {
    if (!Control->Parent()) return;
    detail::g_capture_control = Control;
    win = Control->Parent();
  }
  SetCapture(win->Handle());
}

// ---------------------------------------------------------------------------------------
// Size constraints

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TSizeConstraints*>(Source);
  if (!src) return TPersistent::Assign(Source);
  min_width_ = src->min_width_;
  min_height_ = src->min_height_;
  max_width_ = src->max_width_;
  max_height_ = src->max_height_;
  Changed();
}

// A new minimum above the maximum raises the maximum with it, and the other way round.
void TSizeConstraints::SetMaxHeight(int Value) {
  Value = std::max(Value, 0);
  if (Value == max_height_) return;
  max_height_ = Value;
  if (max_height_ > 0 && max_height_ < min_height_) min_height_ = max_height_;
  Changed();
}

void TSizeConstraints::SetMaxWidth(int Value) {
  Value = std::max(Value, 0);
  if (Value == max_width_) return;
  max_width_ = Value;
  if (max_width_ > 0 && max_width_ < min_width_) min_width_ = max_width_;
  Changed();
}

void TSizeConstraints::SetMinHeight(int Value) {
  Value = std::max(Value, 0);
  if (Value == min_height_) return;
  min_height_ = Value;
  if (max_height_ > 0 && min_height_ > max_height_) max_height_ = min_height_;
  Changed();
}

void TSizeConstraints::SetMinWidth(int Value) {
  Value = std::max(Value, 0);
  if (Value == min_width_) return;
  min_width_ = Value;
  if (max_width_ > 0 && min_width_ > max_width_) max_width_ = min_width_;
  Changed();
}

void TSizeConstraints::Apply(int& Width, int& Height) const {
  if (min_width_ > 0 && Width < min_width_) Width = min_width_;
  if (max_width_ > 0 && Width > max_width_) Width = max_width_;
  if (min_height_ > 0 && Height < min_height_) Height = min_height_;
  if (max_height_ > 0 && Height > max_height_) Height = max_height_;
}

TPersistent* TSizeConstraints::GetOwner() { return control_; }

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------------------
// Construction and destruction

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  WindowProc = TWndMethod::Bind<&TControl::WndProc>(this);
  font_ = std::make_unique<TFont>();
  font_->OnChange = TNotifyEvent::Bind<&TControl::FontChangedHandler>(this);
  constraints_ = std::make_unique<TSizeConstraints>(this);
  constraints_->OnChange = TNotifyEvent::Bind<&TControl::ConstraintsChanged>(this);
}

TControl::~TControl() {
  // Reached without BeforeDestruction only when deleted directly: leave the parent quietly.
  if (parent_) parent_->RemoveControl(this);
  detail::ControlDestroyed(this);
  detail::ReleaseWindowProcHooks(this);
}

// The size is limited again at once.
void TControl::ConstraintsChanged(TObject*) { SetBounds(left_, top_, width_, height_); }

void TControl::BeforeDestruction() {
  TComponent::BeforeDestruction();
  detail::ControlDestroyed(this);
  if (parent_) parent_->RemoveControl(this);
  // Owned components go while this object is still whole: their notifications reach it.
  DestroyComponents();
}

// ---------------------------------------------------------------------------------------
// Messages

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  // Called from outside any message too (a form shown at start-up): the pictures' DCs go when
  // the message is done.
  const TMemoryContextScope contexts;
  if (WindowProc)
    WindowProc(m);
  else
    WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& Message) {
  if (Message.Msg >= WM_KEYFIRST && Message.Msg <= WM_KEYLAST) {
    const TFormHooks& forms = LayerHooks().Forms;
    if (TWinControl* form = ParentFormOf(this); form && forms.WantChildKey(form, this, Message)) return;
  } else if (Message.Msg >= WM_MOUSEFIRST && Message.Msg <= WM_MOUSELAST) {
    if (!control_style_.Contains(csDoubleClicks)) {
      switch (Message.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          Message.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
        default:
          break;
      }
    }
    switch (Message.Msg) {
      case WM_MOUSEMOVE:
        if (const auto hint = LayerHooks().Application.HintMouse) hint(this, Message);
        break;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        control_state_.Include(csLButtonDown);
        break;
      case WM_LBUTTONUP:
        control_state_.Exclude(csLButtonDown);
        break;
      default:
        break;
    }
  }
  Dispatch(Message);
}

// Routes each message to its handler; the rest goes to DefaultHandler.
void TControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK: return HandleMouseMessage(Message);
    case WM_MOUSEWHEEL: return HandleMouseWheel(Message);
    case CM_MOUSEWHEEL: Message.Result = CMMouseWheel(Message.WParam, Message.LParam); return;
    case WM_CONTEXTMENU: return HandleContextMenu(Message);
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
    case CM_COLORCHANGED: return Invalidate();
    case CM_VISIBLECHANGED: return InvalidateControl(true, visible_ && control_style_.Contains(csOpaque));
    case CM_PARENTFONTCHANGED: return ParentFontChanged();
    case CM_PARENTCOLORCHANGED: return ParentColorChanged();
    case CM_PARENTBIDIMODECHANGED: return ParentBiDiModeChanged();
    case CM_BIDIMODECHANGED: return CMBiDiModeChanged(Message);
    case CM_PARENTSHOWHINTCHANGED: return CMParentShowHintChanged();
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      return;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      return;
    case CM_HITTEST: Message.Result = HTCLIENT; return;
    default: return DefaultHandler(Message);
  }
}

// A wheel turn the control did not use goes on to its parent; 1 when someone used it.
LRESULT TControl::CMMouseWheel(WPARAM WParam, LPARAM LParam) {
  const TPoint pos{LParamX(LParam), LParamY(LParam)};
  const int delta = GET_WHEEL_DELTA_WPARAM(WParam);
  if (DoMouseWheel(KeysToShiftState(GET_KEYSTATE_WPARAM(WParam)), delta, pos)) return 1;
  return parent_ ? parent_->Perform(CM_MOUSEWHEEL, WParam, LParam) : 0;
}

void TControl::CMParentShowHintChanged() {
  if (parent_show_hint_ && parent_) {
    SetShowHint(parent_->ShowHint());
    parent_show_hint_ = true;
  }
}

// What a window's default procedure does for a control without a window: keep the text.
void TControl::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETTEXT: {
      auto* buffer = reinterpret_cast<wchar_t*>(Message.LParam);
      const size_t capacity = Message.WParam;
      if (!buffer || capacity == 0) {
        Message.Result = 0;
        return;
      }
      const size_t n = std::min(text_.size(), capacity - 1);
      std::copy_n(text_.data(), n, buffer);
      buffer[n] = L'\0';
      Message.Result = static_cast<LRESULT>(n);
      return;
    }
    case WM_GETTEXTLENGTH:
      Message.Result = static_cast<LRESULT>(text_.size());
      return;
    case WM_SETTEXT: {
      const auto* text = reinterpret_cast<const wchar_t*>(Message.LParam);
      text_ = text ? String(text) : String();
      Message.Result = TRUE;
      return;
    }
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------
// Parent

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* Value) {
  // Called by the form reader: the control's state is being read until it is loaded.
  if (ComponentState().Contains(csReading)) control_state_.Include(csReadingState);
  if (auto* p = dynamic_cast<TWinControl*>(Value)) SetParent(p);
}

void TControl::SetParent(TWinControl* AParent) {
  if (parent_ == AParent) return;
  if (AParent == this) throw EInvalidOperation(L"A control cannot have itself as its parent");
  for (const TControl* p = AParent; p; p = p->parent_)
    if (p == this) throw EInvalidOperation(L"A control cannot have one of its children as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (AParent) {
    AParent->InsertControl(this);
    UpdateAnchorRules();
  }
}

// ---------------------------------------------------------------------------------------
// Bounds and alignment

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  constraints_->Apply(AWidth, AHeight);
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  InvalidateControl(visible_, false);
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  UpdateAnchorRules();
  Invalidate();
  Perform(WM_WINDOWPOSCHANGED, 0, 0);
  RequestAlign();
  if (!ComponentState().Contains(csLoading)) Resize();
}

TRect TControl::ClientRect() const { return Rect(0, 0, width_, height_); }

void TControl::SetClientSize(int AWidth, int AHeight) {
  const TRect client = ClientRect();
  SetBounds(left_, top_, width_ - client.Right + AWidth, height_ - client.Bottom + AHeight);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) detail::RaiseParentRequired(this);
  TPoint p = parent_->ClientOrigin();
  p.X += left_;
  p.Y += top_;
  return p;
}

TPoint TControl::ClientToScreen(TPoint P) const {
  const TPoint origin = ClientOrigin();
  return {P.X + origin.X, P.Y + origin.Y};
}

TPoint TControl::ScreenToClient(TPoint P) const {
  const TPoint origin = ClientOrigin();
  return {P.X - origin.X, P.Y - origin.Y};
}

namespace {

TAnchors AnchorAlign(TAlign a) {
  switch (a) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

}  // namespace

void TControl::SetAlign(TAlign Value) {
  if (align_ == Value) return;
  const TAlign old = align_;
  align_ = Value;
  anchors_ = AnchorAlign(Value);
  if (!ComponentState().Contains(csLoading)) {
    // Turning between a horizontal and a vertical edge keeps the control's thickness.
    const bool oldVertical = old == alTop || old == alBottom;
    const bool newHorizontal = Value == alLeft || Value == alRight;
    const bool bothEdges = old != alNone && old != alClient && old != alCustom && Value != alNone &&
                           Value != alClient && Value != alCustom;
    if (bothEdges && oldVertical == newHorizontal) SetBounds(left_, top_, height_, width_);
  }
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (anchors_ == Value) return;
  anchors_ = Value;
  if (!ComponentState().Contains(csLoading)) UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (anchor_move_ || ComponentState().Contains(csLoading)) return;
  if (anchors_ == TAnchors{akLeft, akTop}) {
    original_parent_size_ = TPoint{};
    return;
  }
  if (anchors_.Contains(akRight))
    anchor_rules_.X = anchors_.Contains(akLeft) ? width_ : left_;
  else
    anchor_rules_.X = left_ + width_ / 2;
  if (anchors_.Contains(akBottom))
    anchor_rules_.Y = anchors_.Contains(akTop) ? height_ : top_;
  else
    anchor_rules_.Y = top_ + height_ / 2;
  if (parent_) original_parent_size_ = parent_->ClientRect().BottomRight();
}

void TControl::RequestAlign() {
  if (parent_) parent_->AlignControl(this);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Loaded() {
  TComponent::Loaded();
  control_state_.Exclude(csReadingState);
  // Read with its parent: what it follows of the parent is taken now (parents load first).
  if (parent_) {
    Perform(CM_PARENTCOLORCHANGED, 0, 0);
    Perform(CM_PARENTFONTCHANGED, 0, 0);
    Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
    Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
  }
  UpdateAnchorRules();
}

// ---------------------------------------------------------------------------------------
// Visibility, enabled state, colour, font, hint

void TControl::SetVisible(bool Value) {
  if (visible_ == Value) return;
  VisibleChanging();
  visible_ = Value;
  Perform(CM_VISIBLECHANGED, Value ? 1 : 0, 0);
  RequestAlign();
}

void TControl::Show() {
  if (parent_) parent_->ShowControl(this);
  SetVisible(true);
}

void TControl::Hide() { SetVisible(false); }

bool TControl::IsVisible() const {
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TControl::SetEnabled(bool Value) {
  if (enabled_ == Value) return;
  enabled_ = Value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value) {
  if (color_ == Value) return;
  color_ = Value;
  parent_color_ = false;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool Value) {
  if (parent_color_ == Value) return;
  parent_color_ = Value;
  if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::ParentColorChanged() {
  if (!parent_color_ || !parent_) return;
  SetColor(parent_->Color());
  parent_color_ = true;
}

void TControl::SetFont(TFont* Value) {
  if (Value) font_->Assign(Value);
}

void TControl::SetParentFont(bool Value) {
  if (parent_font_ == Value) return;
  parent_font_ = Value;
  if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::ParentFontChanged() {
  if (!parent_font_ || !parent_) return;
  SetFont(parent_->Font());
  parent_font_ = true;
}

void TControl::FontChangedHandler(TObject*) { FontChanged(); }

void TControl::FontChanged() {
  parent_font_ = false;
  Perform(CM_FONTCHANGED, 0, 0);
}

void TControl::SetShowHint(bool Value) {
  if (show_hint_ == Value) return;
  show_hint_ = Value;
  parent_show_hint_ = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool Value) {
  if (parent_show_hint_ == Value) return;
  parent_show_hint_ = Value;
  if (parent_ && !ComponentState().Contains(csReading)) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

// ---------------------------------------------------------------------------------------
// Reading order

void TControl::SetBiDiMode(TBiDiMode Value) {
  if (bidi_mode_ == Value) return;
  bidi_mode_ = Value;
  parent_bidi_mode_ = false;
  Perform(CM_BIDIMODECHANGED, 0, 0);
}

void TControl::SetParentBiDiMode(bool Value) {
  if (parent_bidi_mode_ == Value) return;
  parent_bidi_mode_ = Value;
  if (!ComponentState().Contains(csReading)) Perform(CM_PARENTBIDIMODECHANGED, 0, 0);
}

// Follows the parent's mode; a control without a parent keeps its own (forms ask the
// application instead).
void TControl::ParentBiDiModeChanged() {
  if (!parent_bidi_mode_ || !parent_) return;
  SetBiDiMode(parent_->BiDiMode());
  parent_bidi_mode_ = true;
}

void TControl::CMBiDiModeChanged(const TMessage& Message) {
  if (SysLocale().MiddleEast && Message.WParam == 0) Invalidate();
}

bool TControl::IsRightToLeft() const {
  return UseRightToLeftReading() || UseRightToLeftAlignment() || UseRightToLeftScrollBar();
}

bool TControl::UseRightToLeftReading() const { return SysLocale().MiddleEast && bidi_mode_ != bdLeftToRight; }

bool TControl::UseRightToLeftAlignment() const { return SysLocale().MiddleEast && bidi_mode_ == bdRightToLeft; }

bool TControl::UseRightToLeftScrollBar() const {
  return SysLocale().MiddleEast && (bidi_mode_ == bdRightToLeft || bidi_mode_ == bdRightToLeftNoAlign);
}

UINT TControl::DrawTextBiDiModeFlags(UINT Flags) const {
  UINT result = Flags;
  if (UseRightToLeftAlignment()) {
    // DT_LEFT is 0: a text that is not centred or right-aligned is left-aligned.
    if ((Flags & DT_RIGHT) == DT_RIGHT)
      result &= ~static_cast<UINT>(DT_RIGHT);
    else if ((Flags & DT_CENTER) != DT_CENTER)
      result |= DT_RIGHT;
  }
  return result | DrawTextBiDiModeFlagsReadingOnly();
}

UINT TControl::DrawTextBiDiModeFlagsReadingOnly() const { return UseRightToLeftReading() ? DT_RTLREADING : 0; }

void TControl::SetPopupMenu(TComponent* Value) {
  if (popup_menu_ == Value) return;
  if (popup_menu_) popup_menu_->RemoveFreeNotification(this);
  popup_menu_ = Value;
  if (popup_menu_) popup_menu_->FreeNotification(this);
}

void TControl::SetCursor(TCursor Value) {
  if (cursor_ == Value) return;
  cursor_ = Value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

void TControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popup_menu_) popup_menu_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Text

String TControl::Text() const {
  auto* self = const_cast<TControl*>(this);
  const auto len = self->Perform(WM_GETTEXTLENGTH, 0, 0);
  if (len <= 0) return {};
  String s(static_cast<size_t>(len) + 1, L'\0');
  const auto got = self->Perform(WM_GETTEXT, s.size(), reinterpret_cast<LPARAM>(s.data()));
  s.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, len)));
  return s;
}

void TControl::SetText(const String& Value) {
  if (Text() == Value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

void TControl::Changed() { Perform(CM_CHANGED, 0, reinterpret_cast<LPARAM>(this)); }

// ---------------------------------------------------------------------------------------
// Mouse

bool TControl::MouseCapture() const { return GetCaptureControl() == this; }

void TControl::SetMouseCapture(bool Value) {
  if (MouseCapture() == Value) return;
  SetCaptureControl(Value ? this : nullptr);
}

void TControl::HandleMouseMessage(TMessage& Message) {
  auto sendCancelMode = [this] {
    if (TWinControl* form = ParentFormOf(this)) LayerHooks().Forms.SendCancelMode(form, this);
  };
  switch (Message.Msg) {
    case WM_MOUSEMOVE:
      DefaultHandler(Message);
      if (!control_style_.Contains(csNoStdEvents))
        MouseMove(KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
      return;
    case WM_LBUTTONDOWN:
      sendCancelMode();
      DefaultHandler(Message);
      if (control_style_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (control_style_.Contains(csClickEvents)) control_state_.Include(csClicked);
      DoMouseDown(Message, mbLeft, {});
      return;
    case WM_LBUTTONDBLCLK:
      sendCancelMode();
      DefaultHandler(Message);
      if (control_style_.Contains(csCaptureMouse)) SetMouseCapture(true);
      if (control_style_.Contains(csClickEvents)) DblClick();
      DoMouseDown(Message, mbLeft, {ssDouble});
      return;
    case WM_LBUTTONUP:
      DefaultHandler(Message);
      if (control_style_.Contains(csCaptureMouse)) SetMouseCapture(false);
      if (control_state_.Contains(csClicked)) {
        control_state_.Exclude(csClicked);
        if (ClientRect().Contains({Message.XPos(), Message.YPos()})) Click();
      }
      DoMouseUp(Message, mbLeft);
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbRight, Message.Msg == WM_RBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      return;
    case WM_RBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbRight);
      return;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      DefaultHandler(Message);
      DoMouseDown(Message, mbMiddle, Message.Msg == WM_MBUTTONDBLCLK ? TShiftState{ssDouble} : TShiftState{});
      return;
    case WM_MBUTTONUP:
      DefaultHandler(Message);
      DoMouseUp(Message, mbMiddle);
      return;
    default:
      DefaultHandler(Message);
  }
}

void TControl::DoMouseDown(const TMessage& Message, TMouseButton Button, TShiftState Shift) {
  if (control_style_.Contains(csNoStdEvents)) return;
  MouseDown(Button, KeysToShiftState(Message.WParam) + Shift, Message.XPos(), Message.YPos());
}

void TControl::DoMouseUp(const TMessage& Message, TMouseButton Button) {
  if (control_style_.Contains(csNoStdEvents)) return;
  MouseUp(Button, KeysToShiftState(Message.WParam), Message.XPos(), Message.YPos());
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

bool TControl::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  bool handled = false;
  if (OnMouseWheel) OnMouseWheel(this, Shift, WheelDelta, MousePos, handled);
  return handled;
}

void TControl::HandleMouseWheel(TMessage& Message) {
  Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam);
  if (Message.Result == 0) DefaultHandler(Message);
}

void TControl::DoContextPopup(TPoint MousePos, bool& Handled) {
  if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

// WM_CONTEXTMENU: the control's handler first, then its popup menu; unanswered, the message
// goes on (to the parent, through the window's default procedure).
void TControl::HandleContextMenu(TMessage& Message) {
  if (Message.Result != 0) return;
  TPoint pt{LParamX(Message.LParam), LParamY(Message.LParam)};
  const bool fromKeyboard = pt.X == -1 && pt.Y == -1;
  const TPoint local = fromKeyboard ? TPoint{-1, -1} : ScreenToClient(pt);
  bool handled = false;
  DoContextPopup(local, handled);
  Message.Result = handled ? 1 : 0;
  if (handled) return;
  const auto popup = LayerHooks().Menus.PopupControlMenu;
  if (TComponent* menu = GetPopupMenu(); menu && popup) {
    if (fromKeyboard) pt = ClientToScreen({0, 0});
    if (TWinControl* form = ParentFormOf(this)) LayerHooks().Forms.SendCancelMode(form, nullptr);
    if (popup(menu, this, pt)) Message.Result = 1;
  }
  if (Message.Result == 0) DefaultHandler(Message);
}

// ---------------------------------------------------------------------------------------
// Painting

void TControl::InvalidateControl(bool IsVisible, bool IsOpaque) {
  if ((IsVisible || ComponentState().Contains(csDesigning)) && parent_ && parent_->HandleAllocated()) {
    const RECT r = BoundsRect();
    InvalidateRect(parent_->handle_, &r, !(IsOpaque || parent_->control_style_.Contains(csOpaque)));
  }
}

void TControl::Invalidate() { InvalidateControl(visible_, control_style_.Contains(csOpaque)); }

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  if (!(visible_ || ComponentState().Contains(csDesigning)) || !parent_ || !parent_->HandleAllocated()) return;
  if (control_style_.Contains(csOpaque)) {
    WindowDC dc(parent_->handle_);
    IntersectClipRect(dc.get(), left_, top_, left_ + width_, top_ + height_);
    parent_->PaintControls(dc.get(), this);
  } else {
    Invalidate();
    Update();
  }
}

void TControl::PaintTo(HDC DC, int X, int Y) {
  const int saved = SaveDC(DC);
  detail::MoveWindowOrg(DC, X, Y);
  IntersectClipRect(DC, 0, 0, width_, height_);
  control_state_.Include(csPaintCopy);
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
  control_state_.Exclude(csPaintCopy);
  RestoreDC(DC, saved);
}

void TControl::BringToFront() { SetZOrder(true); }
void TControl::SendToBack() { SetZOrder(false); }

void TControl::SetZOrder(bool TopMost) {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  if (TopMost)
    list.push_back(this);
  else
    list.insert(list.begin(), this);
  Invalidate();
}

}  // namespace vcl
