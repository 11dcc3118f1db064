// The application's message loop and the keyboard of a modeless system dialog owned by a form:
// Tab, Shift+Tab, Enter and Escape act in the dialog (as the dialog manager does them), while
// the form's own keys stay the form's. Keys are posted to the focused window, as the system
// queues them, and the library's loop takes them from the queue.
#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <vector>

#include "classlib/controls/controls_support.h"
#include "classlib/stdctrls/StdCtrls.h"

namespace vcl::testing {
namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// A dialog template in memory: two edits, a default OK and a Cancel button.
class KeysTemplate {
 public:
  KeysTemplate() {
    DLGTEMPLATE t{};
    t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT;
    t.cx = 180;
    t.cy = 80;
    Put(&t, sizeof t);
    Word(0), Word(0), Text(L"Keys");
    Word(8), Text(L"MS Shell Dlg");
    Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 8, 100, 14, kFirst, 0x0081, L"One");
    Item(WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 8, 28, 100, 14, kSecond, 0x0081, L"Two");
    Item(WS_TABSTOP | BS_DEFPUSHBUTTON, 120, 8, 50, 14, IDOK, 0x0080, L"OK");
    Item(WS_TABSTOP | BS_PUSHBUTTON, 120, 28, 50, 14, IDCANCEL, 0x0080, L"Cancel");
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

  static constexpr WORD kFirst = 100, kSecond = 101;

 private:
  void Put(const void* P, std::size_t N) {
    const auto* b = static_cast<const std::uint8_t*>(P);
    bytes_.insert(bytes_.end(), b, b + N);
  }
  void Word(WORD W) { Put(&W, sizeof W); }
  void Text(const wchar_t* S) { Put(S, (std::wcslen(S) + 1) * sizeof(wchar_t)); }
  void Item(DWORD Style, short X, short Y, short W, short H, WORD Id, WORD Atom, const wchar_t* Caption) {
    while (bytes_.size() % 4) bytes_.push_back(0);
    DLGITEMTEMPLATE item{Style | WS_CHILD | WS_VISIBLE, 0, X, Y, W, H, Id};
    Put(&item, sizeof item);
    Word(0xFFFF), Word(Atom), Text(Caption), Word(0);
    ++reinterpret_cast<DLGTEMPLATE*>(bytes_.data())->cdit;
  }
  std::vector<std::uint8_t> bytes_;
};

std::vector<WORD>& Commands() {
  static std::vector<WORD> commands;
  return commands;
}

INT_PTR CALLBACK KeysProc(HWND, UINT Msg, WPARAM WParam, LPARAM) {
  if (Msg == WM_INITDIALOG) return TRUE;
  if (Msg == WM_COMMAND && (LOWORD(WParam) == IDOK || LOWORD(WParam) == IDCANCEL)) {
    Commands().push_back(LOWORD(WParam));
    return TRUE;
  }
  return FALSE;
}

class DialogKeys : public ::testing::Test {
 protected:
  void SetUp() override {
    Commands().clear();
    form = ShownForm();
    formFirst = Put<TEdit>(form.get(), 8, 8, 120, 24);
    formSecond = Put<TEdit>(form.get(), 8, 40, 120, 24);
    dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), keys.Get(), form->Handle(), KeysProc, 0);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(GetWindow(dialog, GW_OWNER), form->Handle());
    Loop();
  }
  void TearDown() override {
    SetShift(false);
    if (IsWindow(dialog)) DestroyWindow(dialog);
    form.reset();
  }

  // Everything waiting handled by the library's loop, what the handling posts included.
  static void Loop() {
    for (int round = 0; round < 100 && !wintest::QueueEmpty(); ++round) Application->ProcessMessages();
  }
  // A key pressed and released where the focus is, as the system queues it.
  static void Press(WPARAM Key) {
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    PostMessageW(focus, WM_KEYDOWN, Key, 1);
    PostMessageW(focus, WM_KEYUP, Key, 0xC0000001);
    Loop();
  }
  static void SetShift(bool Down) {
    BYTE state[256] = {};
    GetKeyboardState(state);
    state[VK_SHIFT] = Down ? 0x80 : 0;
    SetKeyboardState(state);
  }
  HWND Item(WORD Id) const { return GetDlgItem(dialog, Id); }
  // Test programs running beside take the foreground now and then: it is taken back until
  // the window is active with the focus on the control.
  static void FocusIn(HWND Window, HWND Control) {
    ASSERT_TRUE(wintest::PumpUntil([&] {
      if (GetActiveWindow() != Window || GetFocus() != Control) {
        SetForegroundWindow(Window);
        SetFocus(Control);
      }
      return GetActiveWindow() == Window && GetFocus() == Control;
    }));
  }

  KeysTemplate keys;
  FormPtr form;
  TEdit* formFirst = nullptr;
  TEdit* formSecond = nullptr;
  HWND dialog = nullptr;
};

TEST_F(DialogKeys, TabAndShiftTabMoveAmongTheDialogsControls) {
  FocusIn(dialog, Item(KeysTemplate::kFirst));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(KeysTemplate::kSecond));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(IDOK));
  SetShift(true);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(KeysTemplate::kSecond));
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), Item(KeysTemplate::kFirst));
  SetShift(false);
  // The owner form stays behind.
  EXPECT_EQ(GetActiveWindow(), dialog);
  EXPECT_TRUE(Commands().empty());
}

TEST_F(DialogKeys, EnterAndEscapeAreTheDialogsButtons) {
  FocusIn(dialog, Item(KeysTemplate::kSecond));
  Press(VK_RETURN);
  Press(VK_ESCAPE);
  EXPECT_EQ(Commands(), (std::vector<WORD>{IDOK, IDCANCEL}));
  EXPECT_EQ(GetFocus(), Item(KeysTemplate::kSecond));
}

// The form's own controls keep the library's keys beside the dialog.
TEST_F(DialogKeys, TabInTheFormMovesAmongTheFormsControls) {
  FocusIn(form->Handle(), formFirst->Handle());
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), formSecond->Handle());
  SetShift(true);
  Press(VK_TAB);
  EXPECT_EQ(GetFocus(), formFirst->Handle());
  SetShift(false);
  EXPECT_TRUE(Commands().empty());
}

}  // namespace
}  // namespace vcl::testing
