// An MDI frame's menus on real windows: the client lists the children under the window menu,
// and the active child's menu is merged into the frame's bar by group.
#include <gtest/gtest.h>

#include "classlib/controls/controls_support.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/rtl/TypInfo.h"

namespace vcl::testing {

class TFrameForm : public TForm {
  VCL_CLASS(TFrameForm, TForm)
 public:
  explicit TFrameForm(TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(fsMDIForm); }
};

VCL_CLASS_INFO(TFrameForm) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

TMenuItem* AddItem(TComponent* Owner, TMenuItem* Parent, const wchar_t* Caption, uint8_t Group = 0) {
  auto* item = new TMenuItem(Owner);
  item->SetCaption(Caption);
  item->SetGroupIndex(Group);
  Parent->Add(item);
  return item;
}

std::vector<String> MenuTexts(HMENU Menu) {
  std::vector<String> texts;
  for (int i = 0; i < GetMenuItemCount(Menu); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(Menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    texts.emplace_back(text);
  }
  return texts;
}

bool Mentions(const std::vector<String>& Texts, const String& Part) {
  for (const String& t : Texts)
    if (t.find(Part) != String::npos) return true;
  return false;
}

TEST(MDIMenus, ChildrenAreListedInTheWindowMenuAndTheActiveChildsMenuIsMerged) {
  auto* frame = Application->CreateForm<TFrameForm>();
  const TScopeExit freeFrame([frame] { TObject::Free(frame); });  // the next test's form is the main form
  ASSERT_EQ(Application->MainForm(), frame);
  auto* menu = new TMainMenu(frame);
  AddItem(frame, menu->Items(), L"&File", 0);
  TMenuItem* window = AddItem(frame, menu->Items(), L"&Window", 5);
  AddItem(frame, window, L"&Cascade");
  AddItem(frame, menu->Items(), L"&Help", 9);
  frame->SetMenu(menu);
  frame->SetWindowMenu(window);
  frame->Show();
  EXPECT_EQ(GetMenu(frame->Handle()), menu->Handle());
  EXPECT_EQ(menu->WindowHandle(), frame->Handle());
  EXPECT_EQ(GetObjectProp(frame, L"WindowMenu"), window);

  auto makeChild = [](const wchar_t* Caption) {
    auto* child = new TForm(Application, 0);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(Caption);
    return child;
  };
  TForm* first = makeChild(L"报表一");
  first->Show();
  TForm* second = makeChild(L"报表二");
  auto* childMenu = new TMainMenu(second);
  TMenuItem* edit = AddItem(second, childMenu->Items(), L"&Edit", 1);
  TMenuItem* undo = AddItem(second, edit, L"&Undo");
  Notified undoClicks;
  undo->OnClick = undoClicks.Handler();
  AddItem(second, childMenu->Items(), L"&Child help", 9);
  second->SetMenu(childMenu);
  second->Show();
  ASSERT_EQ(frame->ActiveMDIChild(), second);

  // The client lists both children under the window menu, after the frame's own item.
  const std::vector<String> listed = MenuTexts(window->Handle());

  EXPECT_EQ(listed.front(), L"&Cascade");
  EXPECT_TRUE(Mentions(listed, L"报表一"));
  EXPECT_TRUE(Mentions(listed, L"报表二"));

  // The active child's groups: Edit (1) comes in, its help (9) replaces the frame's.
  HMENU bar = GetMenu(frame->Handle());
  EXPECT_EQ(MenuTexts(bar), (std::vector<String>{L"&File", L"&Edit", L"&Window", L"&Child help"}));
  // The merged item's command reaches it through the frame.
  SendMessageW(frame->Handle(), WM_COMMAND, MAKEWPARAM(undo->Command(), 0), 0);
  EXPECT_EQ(undoClicks.Count(), 1);

  // Another child active: the frame's own menu again; back: merged again.
  SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(first->Handle()), 0);
  ASSERT_EQ(frame->ActiveMDIChild(), first);
  EXPECT_EQ(MenuTexts(GetMenu(frame->Handle())), (std::vector<String>{L"&File", L"&Window", L"&Help"}));
  SendMessageW(frame->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(second->Handle()), 0);
  EXPECT_EQ(GetMenuItemCount(GetMenu(frame->Handle())), 4);

  // A changed item of the merged menu shows in the frame's bar.
  edit->SetCaption(L"&Edit2");
  EXPECT_TRUE(Mentions(MenuTexts(GetMenu(frame->Handle())), L"&Edit2"));
  EXPECT_TRUE(Mentions(MenuTexts(window->Handle()), L"报表二"));

  // The child goes: its items leave the frame's bar and the window menu.
  TObject::Free(second);
  EXPECT_EQ(MenuTexts(GetMenu(frame->Handle())), (std::vector<String>{L"&File", L"&Window", L"&Help"}));
  EXPECT_FALSE(Mentions(MenuTexts(window->Handle()), L"报表二"));
  EXPECT_EQ(menu->Items()->Merged(), nullptr);
  TObject::Free(first);
}

TEST(MDIMenus, MergingByGroupKeepsTheGroupsInOrder) {
  TMainMenu host(nullptr);
  TMainMenu guest(nullptr);
  AddItem(&host, host.Items(), L"a0", 0);
  AddItem(&host, host.Items(), L"b2", 2);
  AddItem(&host, host.Items(), L"c2", 2);
  AddItem(&host, host.Items(), L"d4", 4);
  AddItem(&guest, guest.Items(), L"x1", 1);
  AddItem(&guest, guest.Items(), L"y2", 2);
  AddItem(&guest, guest.Items(), L"z7", 7);
  HMENU bar = host.Handle();
  host.Merge(&guest);
  // Group 2 of the guest replaces both items of the host's group 2.
  EXPECT_EQ(MenuTexts(bar), (std::vector<String>{L"a0", L"x1", L"y2", L"d4", L"z7"}));
  // A merged item is found by the host (its commands and sub-menus).
  EXPECT_EQ(host.FindItem(guest.Items()->Items(2)->Command(), fkCommand), guest.Items()->Items(2));
  host.Unmerge(nullptr);
  EXPECT_EQ(GetMenuItemCount(bar), 5);
  host.Unmerge(&guest);
  EXPECT_EQ(MenuTexts(bar), (std::vector<String>{L"a0", L"b2", L"c2", L"d4"}));
  // A guest that goes while merged leaves the host whole.
  host.Merge(&guest);
  guest.Items()->Clear();
  EXPECT_EQ(MenuTexts(bar), (std::vector<String>{L"a0", L"b2", L"c2", L"d4"}));
}

// A document minimised and restored takes the keyboard back into the control that had it: the
// system gives the focus to the document's own window.
TEST(MDIMenus, ARestoredDocumentsControlHasTheFocusAgain) {
  auto* frame = Application->CreateForm<TFrameForm>();
  const TScopeExit freeFrame([frame] { TObject::Free(frame); });
  frame->Show();
  auto* child = new TForm(Application, 0);
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Document");
  auto* first = new TEdit(child);
  first->SetParent(child);
  auto* second = new TEdit(child);
  second->SetParent(child);
  second->SetTop(40);
  child->Show();
  child->SetActiveControl(second);
  ASSERT_EQ(GetFocus(), second->Handle());
  SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(IsIconic(child->Handle()));
  SendMessageW(child->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_FALSE(IsIconic(child->Handle()));
  EXPECT_EQ(GetFocus(), second->Handle());
  TObject::Free(child);
}

}  // namespace
}  // namespace vcl::testing
