// TCustomEdit / TEdit and TCustomMemo / TMemo: superclasses of the system EDIT class. A memo's
// Lines are a string list over the control's text.
#include <algorithm>
#include <vector>

#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/stdctrls/TextLines.h"

namespace vcl {

namespace {

// The password character is published as text: one character, or empty for none.
TPropInfo PasswordCharProp() {
  TPropInfo info;
  info.Name = L"PasswordChar";
  info.Kind = TTypeKind::tkUString;
  info.GetStr = [](const TObject* o) -> String {
    const wchar_t c = static_cast<const TCustomEdit*>(o)->PasswordChar();
    return c ? String(1, c) : String();
  };
  info.SetStr = [](TObject* o, const String& v) {
    static_cast<TCustomEdit*>(o)->SetPasswordChar(v.empty() ? L'\0' : v[0]);
  };
  return info;
}

void PublishEditCommon(TPropertyList& p) {
  publish::Anchors(p);
  publish::BiDiMode(p);
  publish::Bevels(p);
  p.Enum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>(L"BorderStyle", static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clWindow);
  publish::Cursor(p);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>(L"HideSelection", true);
  p.Integer<&TCustomEdit::MaxLength, &TCustomEdit::SetMaxLength>(L"MaxLength", 0);
  publish::ParentColor(p, false);
  publish::Hints(p);
  publish::PopupMenu(p);
  p.Bool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>(L"ReadOnly", false);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TCustomEdit::OnChange>(L"OnChange");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

}  // namespace

VCL_CLASS_INFO(TCustomEdit) {}

VCL_CLASS_INFO(TEdit) {
  PublishEditCommon(p);
  p.Bool<&TCustomEdit::AutoSelect, &TCustomEdit::SetAutoSelect>(L"AutoSelect", true);
  p.Bool<&TCustomEdit::AutoSize, &TCustomEdit::SetAutoSize>(L"AutoSize", true);
  p.Enum<&TCustomEdit::CharCase, &TCustomEdit::SetCharCase>(L"CharCase", static_cast<int64_t>(ecNormal));
  p.Add(PasswordCharProp());
  publish::Text(p);
}

VCL_CLASS_INFO(TCustomMemo) {}

VCL_CLASS_INFO(TMemo) {
  PublishEditCommon(p);
  publish::Align(p);
  p.Enum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  p.Object<&TCustomMemo::Lines, &TCustomMemo::SetLines>(L"Lines", TStrings::StaticClass());
  p.Enum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>(L"ScrollBars", static_cast<int64_t>(ssNone));
  p.Bool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>(L"WantReturns", true);
  p.Bool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>(L"WantTabs", false);
  p.Bool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>(L"WordWrap", true);
}

// ---------------------------------------------------------------------------------------
// TCustomEdit

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
  // The edit control captures the mouse itself.
  SetControlStyle({csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
  SetBounds(0, 0, 121, 25);
  SetTabStop(true);
  SetParentColor(false);
  UpdateHeight();
}

void TCustomEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, L"EDIT");
  Params.WindowClass.style |= CS_DBLCLKS;
  Params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (char_case_ == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (char_case_ == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (!hide_selection_) Params.Style |= ES_NOHIDESEL;
  if (read_only_) Params.Style |= ES_READONLY;
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWnd() {
  // The text the window starts with is no change.
  creating_ = true;
  try {
    TWinControl::CreateWnd();
  } catch (...) {
    creating_ = false;
    throw;
  }
  creating_ = false;
  HWND wnd = Handle();
  SendMessageW(wnd, EM_LIMITTEXT, static_cast<WPARAM>(max_length_), 0);
  SendMessageW(wnd, EM_SETMODIFY, modified_ ? TRUE : FALSE, 0);
  if (password_char_) SendMessageW(wnd, EM_SETPASSWORDCHAR, password_char_, 0);
  UpdateHeight();
}

void TCustomEdit::DestroyWnd() {
  modified_ = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_COMMAND:
      if (HIWORD(Message.WParam) == EN_CHANGE && !creating_) Change();
      return;
    case CM_FONTCHANGED:
      TWinControl::Dispatch(Message);
      // A description sets the font one property at a time: the height follows the
      // finished font once, when loading ends.
      if (ControlStyle().Contains(csFixedHeight) && !ComponentState().Contains(csLoading)) AdjustHeight();
      return;
    default:
      TWinControl::Dispatch(Message);
  }
}

void TCustomEdit::Loaded() {
  TWinControl::Loaded();
  if (ControlStyle().Contains(csFixedHeight)) AdjustHeight();
}

void TCustomEdit::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::DoEnter() {
  // Tabbing into a single-line edit selects its text; a click places the caret instead.
  if (auto_select_ && !ControlState().Contains(csLButtonDown) && HandleAllocated() &&
      !(GetWindowLongPtrW(Handle(), GWL_STYLE) & ES_MULTILINE))
    SelectAll();
  TWinControl::DoEnter();
}

void TCustomEdit::SetAutoSize(bool Value) {
  if (auto_size_ == Value) return;
  auto_size_ = Value;
  UpdateHeight();
}

void TCustomEdit::UpdateHeight() {
  if (auto_size_ && border_style_ == TBorderStyle::bsSingle) {
    SetControlStyle(ControlStyle() + TControlStyle{csFixedHeight});
    AdjustHeight();
  } else {
    SetControlStyle(ControlStyle() - TControlStyle{csFixedHeight});
  }
}

// One text line of the font and the sunken border around it.
void TCustomEdit::AdjustHeight() {
  TEXTMETRICW metrics{};
  {
    SelectGuard font(MeasureDC(), Font()->Handle());
    GetTextMetricsW(MeasureDC(), &metrics);
  }
  SetHeight(metrics.tmHeight + GetSystemMetrics(SM_CYBORDER) * 8);
}

void TCustomEdit::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  UpdateHeight();
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase Value) {
  if (char_case_ == Value) return;
  char_case_ = Value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool Value) {
  if (hide_selection_ == Value) return;
  hide_selection_ = Value;
  RecreateWnd();
}

void TCustomEdit::SetMaxLength(int Value) {
  if (Value < 0) Value = 0;
  max_length_ = Value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(Value), 0);
}

void TCustomEdit::SetReadOnly(bool Value) {
  read_only_ = Value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, Value ? TRUE : FALSE, 0);
}

void TCustomEdit::SetPasswordChar(wchar_t Value) {
  if (password_char_ == Value) return;
  password_char_ = Value;
  if (HandleAllocated()) {
    SendMessageW(Handle(), EM_SETPASSWORDCHAR, Value, 0);
    Invalidate();
  }
}

bool TCustomEdit::Modified() const {
  auto* self = const_cast<TCustomEdit*>(this);
  return HandleAllocated() ? SendMessageW(self->Handle(), EM_GETMODIFY, 0, 0) != 0 : modified_;
}

void TCustomEdit::SetModified(bool Value) {
  modified_ = Value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETMODIFY, Value ? TRUE : FALSE, 0);
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int Value) { SendMessageW(Handle(), EM_SETSEL, Value, Value); }

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int Value) {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageW(Handle(), EM_SETSEL, start, static_cast<LPARAM>(start) + Value);
  SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

String TCustomEdit::SelText() {
  const int start = SelStart();
  const int length = SelLength();
  const String text = Text();
  if (start < 0 || static_cast<size_t>(start) > text.size()) return {};
  return text.substr(static_cast<size_t>(start), static_cast<size_t>(std::max(length, 0)));
}

void TCustomEdit::SetSelText(const String& Value) {
  SendMessageW(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

void TCustomEdit::Clear() { SetText(String()); }

void TCustomEdit::ClearSelection() { SendMessageW(Handle(), WM_CLEAR, 0, 0); }

namespace {

// Puts an empty text on the clipboard (what copying an empty selection means).
void PutEmptyText(HWND Owner) {
  if (!OpenClipboard(Owner)) return;
  EmptyClipboard();
  if (HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, sizeof(wchar_t))) {
    if (auto* text = static_cast<wchar_t*>(GlobalLock(data))) {
      text[0] = L'\0';
      GlobalUnlock(data);
    }
    if (!SetClipboardData(CF_UNICODETEXT, data)) GlobalFree(data);
  }
  CloseClipboard();
}

}  // namespace

// The edit control copies through its own command, but ignores an empty selection; the
// clipboard then still held an older text while the copy seemed done. An empty selection
// copies an empty text instead.
void TCustomEdit::CopyToClipboard() {
  HWND wnd = Handle();
  DWORD start = 0, end = 0;
  SendMessageW(wnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  if (start == end)
    PutEmptyText(wnd);
  else
    SendMessageW(wnd, WM_COPY, 0, 0);
}

void TCustomEdit::CutToClipboard() { SendMessageW(Handle(), WM_CUT, 0, 0); }

void TCustomEdit::PasteFromClipboard() { SendMessageW(Handle(), WM_PASTE, 0, 0); }

// The selection lives in the window: an edit that can have one gets it now, so that selecting
// before the first use of the window is not lost.
void TCustomEdit::SelectAll() {
  if (!HandleAllocated() && !Parent() && !ParentWindow()) return;
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::Undo() { SendMessageW(Handle(), WM_UNDO, 0, 0); }

// ---------------------------------------------------------------------------------------
// The memo's lines

namespace {

// Every line break as CR LF, the memo's own line break.
String WithCrLf(StringView text) {
  String out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\r' || text[i] == L'\n') {
      if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      out += L"\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace

class TMemoStrings : public TTextLines {
  VCL_CLASS(TMemoStrings, TTextLines)
 public:
  explicit TMemoStrings(TCustomMemo* Memo) : memo_(Memo) {}

  void Clear() override { memo_->SetText(String()); }

 protected:
  void SetTextStr(const String& Value) override { memo_->SetText(WithCrLf(Value)); }

  void SetUpdateState(bool Updating) override {
    if (!memo_->HandleAllocated()) return;
    SendMessageW(memo_->Handle(), WM_SETREDRAW, Updating ? FALSE : TRUE, 0);
    if (!Updating) memo_->Invalidate();
  }

  String LinesText() const override { return memo_->Text(); }
  String InsertedBreak() const override { return L"\r\n"; }

  // In a window through the edit control's own replacement, which keeps its scroll position
  // and reports the change.
  void Replace(size_t Start, size_t End, const String& With) override {
    if (memo_->HandleAllocated()) {
      HWND wnd = memo_->Handle();
      SendMessageW(wnd, EM_SETSEL, Start, static_cast<LPARAM>(End));
      SendMessageW(wnd, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(With.c_str()));
      return;
    }
    String text = memo_->Text();
    text.replace(Start, End - Start, With);
    memo_->SetText(text);
  }

 private:
  TCustomMemo* memo_;
};

VCL_CLASS_INFO(TMemoStrings) {}

// ---------------------------------------------------------------------------------------
// TCustomMemo

TCustomMemo::TCustomMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
  SetAutoSize(false);
  SetBounds(Left(), Top(), 185, 89);
}

TCustomMemo::~TCustomMemo() = default;

void TCustomMemo::CreateParams(TCreateParams& Params) {
  TCustomEdit::CreateParams(Params);
  if (word_wrap_) Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  Params.Style |= ES_MULTILINE;
  switch (alignment_) {
    case taRightJustify: Params.Style |= ES_RIGHT; break;
    case taCenter: Params.Style |= ES_CENTER; break;
    default: Params.Style |= ES_LEFT; break;
  }
  if (scroll_bars_ == ssHorizontal || scroll_bars_ == ssBoth) Params.Style |= WS_HSCROLL;
  if (scroll_bars_ == ssVertical || scroll_bars_ == ssBoth) Params.Style |= WS_VSCROLL;
}

void TCustomMemo::SetAlignment(TAlignment Value) {
  if (alignment_ == Value) return;
  alignment_ = Value;
  RecreateWnd();
}

void TCustomMemo::SetScrollBars(TScrollStyle Value) {
  if (scroll_bars_ == Value) return;
  scroll_bars_ = Value;
  RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool Value) {
  if (word_wrap_ == Value) return;
  word_wrap_ = Value;
  RecreateWnd();
}

void TCustomMemo::KeyPress(wchar_t& Key) {
  TCustomEdit::KeyPress(Key);
  if (Key == L'\r' && !want_returns_) Key = 0;
}

void TCustomMemo::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_GETDLGCODE) {
    TCustomEdit::Dispatch(Message);
    if (want_tabs_)
      Message.Result |= DLGC_WANTTAB;
    else
      Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
    if (!want_returns_) Message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS);
    return;
  }
  TCustomEdit::Dispatch(Message);
}

}  // namespace vcl
