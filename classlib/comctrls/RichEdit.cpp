// TCustomRichEdit: a memo on RichEdit20W, and its lines.
#include "classlib/comctrls/RichEdit.h"

#include <algorithm>
#include <optional>
#include <vector>

#include <richedit.h>

#include "classlib/comctrls/ComCtrlsInternal.h"
#include "classlib/stdctrls/TextLines.h"

namespace vcl {

namespace {

// The rich edit classes come with their library, loaded once and kept: windows of its
// classes may live until the program ends.
void LoadRichEditClasses() {
  static const HMODULE library = LoadLibraryW(L"riched20.dll");
  if (!library) throw EOSError(L"The rich edit library could not be loaded");
}

// Undo records nothing while it lives: formatting the program applies (a skin's colours) is not
// the user's edit to take back, and each change would otherwise add to the history. Recording
// stops at a limit of none; the window's own limit comes back after.
class TUndoSuspended {
 public:
  explicit TUndoSuspended(HWND Wnd) : wnd_(Wnd) { SendMessageW(wnd_, EM_SETUNDOLIMIT, 0, 0); }
  ~TUndoSuspended() { SendMessageW(wnd_, EM_SETUNDOLIMIT, kWindowUndoLimit, 0); }
  TUndoSuspended(const TUndoSuspended&) = delete;
  TUndoSuspended& operator=(const TUndoSuspended&) = delete;

 private:
  static constexpr WPARAM kWindowUndoLimit = 100;  // a rich edit's own, never changed here
  HWND wnd_;
};

}  // namespace

// The lines of the text as the window holds it: positions count one character per line
// break, as the window's selection does.
class TCustomRichEdit::TRichEditStrings : public TTextLines {
 public:
  explicit TRichEditStrings(TCustomRichEdit* Edit) : edit_(Edit) {}

  void Clear() override { edit_->SetText(String()); }

 protected:
  void SetTextStr(const String& Value) override { edit_->SetText(Value); }

  void SetUpdateState(bool Updating) override {
    if (!edit_->HandleAllocated()) return;
    edit_->Send(WM_SETREDRAW, Updating ? FALSE : TRUE);
    if (!Updating) edit_->Invalidate();
  }

 private:
  // The window when the control can have one (as the system's own text lives there).
  bool UseWindow() const { return edit_->HandleAllocated() || edit_->Parent() || edit_->ParentWindow(); }

 protected:
  String InsertedBreak() const override { return UseWindow() ? L"\r" : L"\r\n"; }

  String LinesText() const override {
    if (!UseWindow()) return edit_->Text();
    GETTEXTLENGTHEX length{GTL_PRECISE | GTL_NUMCHARS, 1200};
    const auto count = static_cast<int>(edit_->Send(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)));
    if (count <= 0) return String();
    String text(static_cast<size_t>(count) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;  // UTF-16
    const auto got = static_cast<int>(
        edit_->Send(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::clamp(got, 0, count)));
    return text;
  }

  void Replace(size_t Start, size_t End, const String& With) override {
    if (UseWindow()) {
      CHARRANGE range{static_cast<LONG>(Start), static_cast<LONG>(End)};
      edit_->Send(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
      edit_->Send(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(With.c_str()));
      return;
    }
    String text = edit_->Text();
    text.replace(Start, End - Start, With);
    edit_->SetText(text);
  }

 private:
  TCustomRichEdit* edit_;
};

VCL_CLASS_INFO(TCustomRichEdit) {}

VCL_CLASS_INFO(TRichEdit) {
  publish::Align(p);
  p.Enum<&TCustomMemo::Alignment, &TCustomMemo::SetAlignment>(L"Alignment", static_cast<int64_t>(taLeftJustify));
  publish::Anchors(p);
  p.Enum<&TCustomEdit::BorderStyle, &TCustomEdit::SetBorderStyle>(L"BorderStyle",
                                                                  static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clWindow);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&TCustomEdit::HideSelection, &TCustomEdit::SetHideSelection>(L"HideSelection", true);
  publish::Hints(p);
  p.Object<&TCustomRichEdit::Lines, &TCustomRichEdit::SetLines>(L"Lines", TStrings::StaticClass());
  p.Integer<&TCustomRichEdit::MaxLength, &TCustomRichEdit::SetMaxLength>(L"MaxLength", 0);
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TCustomEdit::ReadOnly, &TCustomEdit::SetReadOnly>(L"ReadOnly", false);
  p.Enum<&TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars>(L"ScrollBars", static_cast<int64_t>(ssNone));
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Bool<&TCustomMemo::WantReturns, &TCustomMemo::SetWantReturns>(L"WantReturns", true);
  p.Bool<&TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs>(L"WantTabs", false);
  p.Bool<&TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap>(L"WordWrap", true);
  p.Event<&TCustomEdit::OnChange>(L"OnChange");
  p.Event<&TCustomRichEdit::OnSelectionChange>(L"OnSelectionChange");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
}

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner)
    : TCustomMemo(AOwner), lines_(std::make_unique<TRichEditStrings>(this)) {}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::CreateParams(TCreateParams& Params) {
  LoadRichEditClasses();
  TCustomMemo::CreateParams(Params);
  CreateSubClass(Params, RICHEDIT_CLASSW);
}

void TCustomRichEdit::CreateWnd() {
  TCustomMemo::CreateWnd();
  // A rich edit wraps at its target device's width: 0 is the window's, 1 none.
  Send(EM_SETTARGETDEVICE, 0, WordWrap() ? 0 : 1);
  Send(EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
  ApplyMaxLength();
  ApplyColor();
  ApplyFont();
  // Setting up the window's font and colours formatted the text; none of it is the user's to undo.
  Send(EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomRichEdit::ApplyMaxLength() {
  // Without a limit of its own the window's would be 32767 characters.
  if (HandleAllocated()) Send(EM_EXLIMITTEXT, 0, max_length_ > 0 ? max_length_ : 0x7FFFFFF0);
}

void TCustomRichEdit::SetMaxLength(int Value) {
  max_length_ = std::max(Value, 0);
  ApplyMaxLength();
}

void TCustomRichEdit::ApplyColor() {
  if (HandleAllocated()) Send(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

// The whole text takes the control's font colour: the control offers no formatting of parts.
void TCustomRichEdit::ApplyFont() {
  if (!HandleAllocated()) return;
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = static_cast<COLORREF>(ColorToRGB(Font()->Color()));
  Send(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  Send(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
}

void TCustomRichEdit::SelectionChange() {
  if (OnSelectionChange) OnSelectionChange(this);
}

void TCustomRichEdit::CNNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HandleAllocated() || header->hwndFrom != Handle() || header->code != EN_SELCHANGE)
    return TCustomMemo::Dispatch(Message);
  SelectionChange();
  Message.Result = 0;
}

void TCustomRichEdit::CMColorChanged(TMessage& Message) {
  TCustomMemo::Dispatch(Message);
  ApplyColor();
}

void TCustomRichEdit::CMFontChanged(TMessage& Message) {
  // The new font reaches the window as WM_SETFONT, which formats the text too.
  std::optional<TUndoSuspended> quiet;
  if (HandleAllocated()) quiet.emplace(Handle());
  TCustomMemo::Dispatch(Message);
  ApplyFont();
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: return CNNotify(Message);
    case CM_COLORCHANGED: return CMColorChanged(Message);
    case CM_FONTCHANGED: return CMFontChanged(Message);
    default: return TCustomMemo::Dispatch(Message);
  }
}

}  // namespace vcl
