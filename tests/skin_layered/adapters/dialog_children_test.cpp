// The dialog hook's table of child adapters, row by row, through the hook itself: one system
// dialog made from a template holds a control of every row (and of the styles a row leaves
// out), the hook skins it, and each child has the adapter (and section) its row gives, or
// none. Then what the rows mean for the user: a simple label shows its text, an owner-drawn
// button its owner's picture, and the library's panels inside the dialog take the skin.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "dialogs_support.h"
#include "skin_layered/adapters/CheckBoxWnd.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/SpinWnd.h"
#include "skin_layered/adapters/StaticWnd.h"
#include "support/win_test_support.h"

namespace skin_layered::test {

// A panel that paints nothing of its own (the name is what the hook looks for).
class TSilentPaintPanel : public vcl::TCustomPanel {
  VCL_CLASS(TSilentPaintPanel, vcl::TCustomPanel)
 public:
  using TCustomPanel::TCustomPanel;
};
VCL_CLASS_INFO(TSilentPaintPanel) {}

namespace {

constexpr COLORREF kGlobalColor = 0xD8C8B8, kGlobalFont = 0x301060, kDialogColor = 0xC0C0C0;

std::string ChildrenSkinText() {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\nCOLOR=" + Hex(kGlobalColor) + "\r\nFONTCOLOR=" + Hex(kGlobalFont) +
                     "\r\n" + FlatSection("DIALOG", kDialogColor, kDialogColor) + "[FORMTITLE]\r\nCOLOR=$603020\r\n";
  COLORREF color = 0x102030;
  for (const char* section : {"EDIT", "BUTTON", "CHECKBOX", "GROUPBOX", "COMBOBOX", "PAGECONTROL", "TRACKBAR",
                              "SPEEDBUTTON_SMALL", "BAR", "TOOLBUTTON", "PANEL"}) {
    text += FlatSection(section, color, color + 0x080808);
    color += 0x101010;
  }
  return text;
}

// The window classes of other programs' dialogs that the table names.
void RegisterForeignClasses() {
  for (const wchar_t* name : {L"SHBrowseForFolder", L"CtrlNotifySink", L"DirectUIHWND", L"Link Window"})
    wintest::TestWindowClass(name, DefWindowProcW);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES | ICC_LINK_CLASS | ICC_COOL_CLASSES |
                                           ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&icc);
}

// One child of the dialog and what the hook must make of it: the adapter's class (empty: no
// adapter) and its section (empty: the adapter's own, not checked).
struct Child {
  const wchar_t* Class;  // nil: a predefined class by Atom
  WORD Atom;
  DWORD Style;
  DWORD ExStyle;
  const wchar_t* Text;
  const wchar_t* Adapter;
  const wchar_t* Section;
  const char* What;
};

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082, kListBox = 0x0083, kScrollBar = 0x0084,
               kComboBox = 0x0085;

const std::vector<Child>& TemplateChildren() {
  static const std::vector<Child> children{
      // Statics by their type field as a whole.
      {nullptr, kStatic, SS_ICON, WS_EX_STATICEDGE, L"", L"TqvEdgeWnd", L"EDIT", "icon with an edge"},
      {nullptr, kStatic, SS_BITMAP, WS_EX_STATICEDGE, L"", L"TqvEdgeWnd", L"EDIT", "bitmap with an edge"},
      {nullptr, kStatic, SS_ICON, 0, L"", L"TqvIconWnd", L"", "icon"},
      {nullptr, kStatic, SS_BITMAP, 0, L"", L"TqvIconWnd", L"", "bitmap"},
      {nullptr, kStatic, SS_LEFT, 0, L"A label", L"TqvStaticWnd", L"", "label"},
      {nullptr, kStatic, SS_GRAYFRAME, 0, L"", L"TqvStaticWnd", L"", "grey frame"},
      {nullptr, kStatic, SS_BLACKFRAME, 0, L"", L"TqvStaticWnd", L"", "black frame"},
      {nullptr, kStatic, SS_SIMPLE, 0, L"Simple text", L"", L"", "simple text"},
      {nullptr, kStatic, SS_GRAYRECT, 0, L"", L"", L"", "grey rectangle"},
      {nullptr, kStatic, SS_WHITERECT, 0, L"", L"", L"", "white rectangle"},
      {nullptr, kStatic, SS_OWNERDRAW, 0, L"", L"", L"", "owner-drawn static"},
      {nullptr, kStatic, SS_ENHMETAFILE, 0, L"", L"", L"", "metafile"},
      // Edits: only a visible one.
      {nullptr, kEdit, WS_VISIBLE | WS_BORDER, 0, L"Edit", L"TqvEditWnd", L"EDIT", "edit"},
      {nullptr, kEdit, WS_BORDER, 0, L"Hidden", L"", L"", "hidden edit"},
      // Buttons by their type field.
      {nullptr, kButton, BS_GROUPBOX, 0, L"Group", L"TqvGroupBoxWnd", L"GROUPBOX", "group box"},
      {nullptr, kButton, BS_AUTOCHECKBOX, 0, L"Check", L"TqvCheckBoxWnd", L"", "check box"},
      {nullptr, kButton, BS_3STATE, 0, L"Three", L"TqvCheckBoxWnd", L"", "three-state box"},
      {nullptr, kButton, BS_AUTORADIOBUTTON, 0, L"Radio", L"TqvCheckBoxWnd", L"", "radio button"},
      {nullptr, kButton, BS_OWNERDRAW, 0, L"Owner", L"TqvCheckBoxWnd", L"", "owner-drawn button"},
      {nullptr, kButton, BS_PUSHBUTTON, 0, L"Push", L"TqvBtnWnd", L"", "push button"},
      {nullptr, kButton, BS_DEFPUSHBUTTON, 0, L"Default", L"TqvBtnWnd", L"", "default button"},
      // Lists and combo boxes.
      {nullptr, kComboBox, CBS_DROPDOWNLIST | WS_VSCROLL, 0, L"", L"TqvComboBoxWnd", L"COMBOBOX", "combo box"},
      {nullptr, kListBox, WS_BORDER | WS_VSCROLL, 0, L"", L"TqvEditWnd", L"EDIT", "list box"},
      {WC_COMBOBOXEXW, 0, CBS_DROPDOWNLIST, 0, L"", L"TqvComboBoxWnd", L"COMBOBOX", "extended combo box"},
      // Scroll bars: a size grip only.
      {nullptr, kScrollBar, SBS_SIZEGRIP, 0, L"", L"TqvSizerWnd", L"", "size grip"},
      {nullptr, kScrollBar, SBS_HORZ, 0, L"", L"", L"", "scroll bar"},
      // Common controls.
      {WC_TABCONTROLW, 0, 0, 0, L"", L"TqvTabControlWnd", L"PAGECONTROL", "tab control"},
      {WC_TABCONTROLW, 0, TCS_OWNERDRAWFIXED, 0, L"", L"", L"", "owner-drawn tabs"},
      {WC_LISTVIEWW, 0, LVS_REPORT | WS_BORDER, 0, L"", L"TqvListViewWnd", L"EDIT", "list view"},
      {UPDOWN_CLASSW, 0, 0, 0, L"", L"TqvSpinWnd", L"SPEEDBUTTON_SMALL", "up-down"},
      {TRACKBAR_CLASSW, 0, TBS_AUTOTICKS, 0, L"", L"TqvTrackWnd", L"TRACKBAR", "track bar"},
      {WC_LINK, 0, 0, 0, L"A <a>link</a>", L"TqvLinkWnd", L"", "link"},
      {L"Link Window", 0, 0, 0, L"", L"TqvLinkWnd", L"", "old link"},
      {TOOLBARCLASSNAMEW, 0, TBSTYLE_WRAPABLE | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, L"", L"TqvToolBarWnd", L"BAR",
       "wrapping tool bar"},
      {TOOLBARCLASSNAMEW, 0, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, L"", L"TqvToolBarWnd", L"CHECKBOX", "tool bar"},
      {WC_TREEVIEWW, 0, WS_BORDER, 0, L"", L"TqvTreeViewWnd", L"EDIT", "tree view"},
      {PROGRESS_CLASSW, 0, 0, 0, L"", L"TqvProgressWnd", L"", "progress bar"},
      {PROGRESS_CLASSW, 0, 0, 0, L"", L"", L"", "hidden progress bar"},
      {REBARCLASSNAMEW, 0, CCS_NORESIZE | CCS_NOPARENTALIGN, 0, L"", L"TqvContainerWnd", L"", "rebar"},
      // Other programs' windows.
      {L"SHBrowseForFolder", 0, 0, 0, L"", L"TqvTransPanelWnd", L"", "folder browser"},
      {L"CtrlNotifySink", 0, 0, 0, L"", L"", L"", "notify sink"},
      {nullptr, kComboBox, CBS_SIMPLE, 0, L"", L"TqvComboBoxWnd", L"COMBOBOX", "simple combo box"},
  };
  return children;
}

constexpr WORD kFirstId = 1000;

// Every child visible unless the row says hidden.
bool Hidden(const Child& C) { return std::string(C.What).find("hidden") != std::string::npos; }

DialogTemplate ChildrenTemplate() {
  DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Every row", 420, 260);
  const auto& children = TemplateChildren();
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Child& c = children[i];
    const short x = static_cast<short>(4 + (i % 5) * 82), y = static_cast<short>(4 + (i / 5) * 26);
    const DWORD style = c.Style | (Hidden(c) ? 0 : WS_VISIBLE);
    const WORD id = static_cast<WORD>(kFirstId + i);
    if (c.Class)
      t.Item(c.Class, style, x, y, 78, 22, id, c.Text, c.ExStyle);
    else
      t.Item(c.Atom, style, x, y, 78, c.Atom == kComboBox ? 80 : 22, id, c.Text, c.ExStyle);
  }
  return t;
}

class DialogChildren : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterForeignClasses();
    manager = LoadedManager(skins, L"Rows", ChildrenSkinText());
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
    behaviour.OnInit = [this](HWND Dlg) { MakeLaterChildren(Dlg); };
    dlg = CreateTestDialog(ChildrenTemplate(), &behaviour);
    ASSERT_NE(dlg, nullptr);
    // The first frame painting walks the children made after the dialog.
    SendMessageW(dlg, WM_NCPAINT, 1, 0);
  }
  void TearDown() override {
    if (IsWindow(dlg)) DestroyWindow(dlg);
    PurgeProviders();
    for (vcl::TControl* control : library) vcl::TObject::Free(control);
    manager.reset();
  }

  // What the template cannot make: a nested dialog page, hosts of exact pixel heights and the
  // library's controls inside the dialog.
  void MakeLaterChildren(HWND Dlg) {
    DialogTemplate page(WS_CHILD | WS_VISIBLE | DS_CONTROL, L"", 60, 20);
    page.Item(kStatic, WS_VISIBLE, 2, 2, 50, 10, 1, L"On the page");
    nested = CreateTestDialog(page, nullptr, Dlg);
    SetWindowPos(nested, nullptr, 10, 400, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    searchHost = CreateWindowExW(0, L"DirectUIHWND", L"", WS_CHILD | WS_VISIBLE, 200, 400, 100, 24, Dlg, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    otherHost = CreateWindowExW(0, L"DirectUIHWND", L"", WS_CHILD | WS_VISIBLE, 320, 400, 100, 30, Dlg, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    panel = new vcl::TPanel(nullptr);
    panel->SetParentWindow(Dlg);
    panel->SetBounds(440, 400, 180, 60);
    label = new vcl::TLabel(panel);
    label->SetParent(panel);
    label->SetBounds(4, 4, 80, 16);
    label->SetCaption(L"On the panel");
    panelButton = new vcl::TButton(panel);
    panelButton->SetParent(panel);
    panelButton->SetBounds(90, 20, 80, 26);
    panelButton->SetCaption(L"In it");
    silent = new TSilentPaintPanel(nullptr);
    silent->SetParentWindow(Dlg);
    silent->SetBounds(630, 400, 100, 40);
    silent->SetCaption(L"Quiet");
    libraryButton = new vcl::TButton(nullptr);
    libraryButton->SetParentWindow(Dlg);
    libraryButton->SetBounds(740, 400, 80, 26);
    libraryButton->SetCaption(L"Library");
    for (vcl::TWinControl* control : {static_cast<vcl::TWinControl*>(panel), static_cast<vcl::TWinControl*>(silent),
                                      static_cast<vcl::TWinControl*>(libraryButton)}) {
      control->HandleNeeded();
      control->Show();
      library.push_back(control);
    }
  }

  HWND Item(std::size_t Row) const { return GetDlgItem(dlg, static_cast<int>(kFirstId + Row)); }

  TempSkins skins;
  ManagerPtr manager;
  DialogBehaviour behaviour;
  HWND dlg = nullptr, nested = nullptr, searchHost = nullptr, otherHost = nullptr;
  vcl::TPanel* panel = nullptr;
  vcl::TLabel* label = nullptr;
  vcl::TButton* panelButton = nullptr;
  TSilentPaintPanel* silent = nullptr;
  vcl::TButton* libraryButton = nullptr;
  std::vector<vcl::TControl*> library;
};

vcl::String ClassOf(HWND Wnd) {
  TqvMainWnd* adapter = GetAdapter(Wnd);
  return adapter ? vcl::String(adapter->ClassName()) : vcl::String();
}

TEST_F(DialogChildren, EveryRowGivesItsAdapterAndSection) {
  TqvDialogWnd* d = DialogAdapterOf(dlg);
  ASSERT_NE(d, nullptr);
  const auto& children = TemplateChildren();
  for (std::size_t i = 0; i < children.size(); ++i) {
    const Child& c = children[i];
    SCOPED_TRACE(c.What);
    const HWND wnd = Item(i);
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(ClassOf(wnd), vcl::String(c.Adapter));
    TqvMainWnd* adapter = GetAdapter(wnd);
    if (!adapter) continue;
    EXPECT_TRUE(adapter->DialogChild);
    if (*c.Section) {
      EXPECT_EQ(adapter->SkinData->SkinSection(), vcl::String(c.Section));
    }
  }
  // The rows' particulars: a bitmap static shows its bitmap, a dialog's up-down leaves two
  // pixels to its buddy, and a dialog holding an edit, list or combo box runs its own painting
  // of the client.
  auto* bitmap = dynamic_cast<TqvIconWnd*>(GetAdapter(Item(3)));
  auto* icon = dynamic_cast<TqvIconWnd*>(GetAdapter(Item(2)));
  auto* spin = dynamic_cast<TqvSpinWnd*>(GetAdapter(Item(29)));
  ASSERT_TRUE(bitmap && icon && spin);
  EXPECT_TRUE(bitmap->BitmapMode());
  EXPECT_FALSE(icon->BitmapMode());
  EXPECT_EQ(spin->LeftOffset, 2);
  EXPECT_FALSE(d->PlainClient);
  // A simple combo box's list is a child of its own: the combo list row.
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  ASSERT_TRUE(GetComboBoxInfo(Item(children.size() - 1), &combo));
  EXPECT_EQ(ClassOf(combo.hwndList), L"TqvEditWnd");
  if (TqvMainWnd* list = GetAdapter(combo.hwndList)) {
    EXPECT_EQ(list->SkinData->SkinSection(), L"COMBOBOX");
  }

  // The children made later: a nested dialog page is a transparent panel (not a dialog of its
  // own), a search host only at its height of 24, the library's panels and buttons.
  EXPECT_EQ(ClassOf(nested), L"TqvTransPanelWnd");
  EXPECT_EQ(FindProvider(nested), nullptr);
  EXPECT_EQ(ClassOf(searchHost), L"TqvSearchWnd");
  EXPECT_EQ(ClassOf(otherHost), L"");
  EXPECT_EQ(ClassOf(panel->Handle()), L"TqvPanelWnd");
  EXPECT_EQ(ClassOf(silent->Handle()), L"TqvPanelWnd");
  TqvMainWnd* plain = GetAdapter(panel->Handle());
  TqvMainWnd* quiet = GetAdapter(silent->Handle());
  ASSERT_TRUE(plain && quiet);
  EXPECT_EQ(plain->SkinData->SkinSection(), L"CHECKBOX");
  EXPECT_EQ(plain->OwnerControl(), panel);
  EXPECT_EQ(quiet->SkinData->SkinSection(), L"GROUPBOX");
  EXPECT_EQ(quiet->OwnerControl(), silent);
  EXPECT_EQ(ClassOf(libraryButton->Handle()), L"TqvBtnWnd");
  EXPECT_EQ(ClassOf(panelButton->Handle()), L"TqvBtnWnd");
}

// A simple label is drawn by the system, its text and all; so are grey and white rectangles.
TEST_F(DialogChildren, ASimpleLabelShowsItsText) {
  const HWND simple = Item(7);
  MemoryPixels pixels(WindowBox(simple).right, WindowBox(simple).bottom);
  PatBlt(pixels.DC(), 0, 0, WindowBox(simple).right, WindowBox(simple).bottom, WHITENESS);
  SendMessageW(simple, WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT | PRF_ERASEBKGND);
  const int dark = CountPixels(pixels, WindowBox(simple), [](COLORREF c) {
    return GetRValue(c) < 0x80 && GetGValue(c) < 0x80 && GetBValue(c) < 0x80;
  });
  EXPECT_GT(dark, 10);
  // Around its text it shows the dialog's background: the dialog paints under it.
  RECT client{}, label{};
  GetClientRect(dlg, &client);
  GetWindowRect(simple, &label);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&label), 2);
  MemoryPixels erased(client.right, client.bottom);
  SendMessageW(dlg, WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.DC()), 0);
  EXPECT_EQ(erased.At(label.right - 2, (label.top + label.bottom) / 2), kDialogColor);
  // An adapted static paints its whole rectangle itself: the dialog leaves it out.
  RECT adapted{};
  GetWindowRect(Item(4), &adapted);
  MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&adapted), 2);
  EXPECT_EQ(erased.At(adapted.right - 2, (adapted.top + adapted.bottom) / 2), 0u);
}

// An owner-drawn button shows what its owner draws, printed or painted, in every state.
TEST_F(DialogChildren, AnOwnerDrawnButtonShowsItsOwnersPicture) {
  const HWND owner = Item(18);
  const RECT box = WindowBox(owner);
  auto printed = Printed(owner, PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_EQ(printed->At(box.right / 2, box.bottom / 2), behaviour.OwnerColor);
  const int before = behaviour.OwnerDrawings;
  InvalidateRect(owner, nullptr, TRUE);
  UpdateWindow(owner);
  EXPECT_GT(behaviour.OwnerDrawings, before);
  // Pressed: the owner is asked again.
  const int pressed = behaviour.OwnerDrawings;
  SendMessageW(owner, BM_SETSTATE, TRUE, 0);
  UpdateWindow(owner);
  SendMessageW(owner, BM_SETSTATE, FALSE, 0);
  UpdateWindow(owner);
  EXPECT_GT(behaviour.OwnerDrawings, pressed);
}

// The library's panels in a dialog: the plain panel's labels take the skin's font colour over
// its face and its colour is the skin's; the silent one loses its text and keeps its caption
// to itself.
TEST_F(DialogChildren, TheLibrarysPanelsTakeTheSkin) {
  EXPECT_EQ(vcl::ColorToRGB(label->Font()->Color()), static_cast<vcl::TColor>(kGlobalFont));
  EXPECT_TRUE(label->Transparent());
  EXPECT_EQ(vcl::ColorToRGB(panel->Color()), static_cast<vcl::TColor>(kGlobalColor));
  EXPECT_EQ(silent->Caption(), L"");
  EXPECT_EQ(silent->Tag(), kPanelNoCaptionTag);
}

}  // namespace
}  // namespace skin_layered::test
