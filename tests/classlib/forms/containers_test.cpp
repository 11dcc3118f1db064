// Scrolling containers, frames read from their own descriptions, and a form's menu that merges itself.
#include <gtest/gtest.h>

#include "classlib/controls/controls_support.h"
#include "classlib/forms/Frame.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "classlib/streaming/Filer.h"

namespace vcl::testing {

// The frame of the test descriptions.
class TAddressFrame : public TFrame {
  VCL_CLASS(TAddressFrame, TFrame)
 public:
  using TFrame::TFrame;
  int changes = 0;
  void edtCityChange(TObject*) { ++changes; }
};

VCL_CLASS_INFO(TAddressFrame) { VCL_METHOD(TAddressFrame, edtCityChange); }

class TFrameHostForm : public TForm {
  VCL_CLASS(TFrameHostForm, TForm)
 public:
  using TForm::TForm;
};

VCL_CLASS_INFO(TFrameHostForm) {}

// A frame class whose description the program lacks.
class TNoDescriptionFrame : public TFrame {
  VCL_CLASS(TNoDescriptionFrame, TFrame)
 public:
  using TFrame::TFrame;
};

VCL_CLASS_INFO(TNoDescriptionFrame) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

int ScrollPosOf(HWND Wnd, int Bar) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(Wnd, Bar, &info);
  return info.nPos;
}

bool HasStyle(HWND Wnd, LONG_PTR Style) { return (GetWindowLongPtrW(Wnd, GWL_STYLE) & Style) != 0; }

String WindowClassOf(HWND Wnd) {
  wchar_t name[64] = {};
  GetClassNameW(Wnd, name, 64);
  return name;
}

// Scroll boxes

TEST(ScrollBox, TheBarsFollowTheChildrenAndScrollingBringsOneIntoView) {
  auto form = ShownForm();
  auto* box = new TScrollBox(form.get());
  box->SetBounds(10, 10, 200, 150);
  box->SetParent(form.get());
  EXPECT_EQ(WindowClassOf(box->Handle()), L"TScrollBox");
  auto* upper = new TButton(form.get());
  upper->SetBounds(10, 10, 60, 25);
  upper->SetParent(box);
  auto* lower = new TButton(form.get());
  lower->SetBounds(20, 300, 60, 30);
  lower->SetParent(box);
  auto* label = new TLabel(form.get());
  label->SetLeft(5);
  label->SetTop(100);
  label->SetParent(box);

  // The contents reach down to the far button; across, they fit.
  EXPECT_EQ(box->VertScrollBar()->Range(), 330);
  EXPECT_EQ(box->HorzScrollBar()->Range(), 80);
  HWND wnd = box->Handle();
  EXPECT_TRUE(HasStyle(wnd, WS_VSCROLL));
  EXPECT_FALSE(HasStyle(wnd, WS_HSCROLL));
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(wnd, SB_VERT, &info);
  EXPECT_EQ(info.nMax, 329);
  EXPECT_EQ(static_cast<int>(info.nPage), box->ClientHeight());

  box->ScrollInView(lower);
  const int pos = box->VertScrollBar()->Position();
  EXPECT_EQ(pos, 330 - box->ClientHeight());
  EXPECT_EQ(ScrollPosOf(wnd, SB_VERT), pos);
  EXPECT_EQ(lower->Top() + lower->Height(), box->ClientHeight());
  EXPECT_EQ(label->Top(), 100 - pos);
  RECT r{};
  GetWindowRect(lower->Handle(), &r);
  EXPECT_EQ(box->ScreenToClient({r.left, r.top}).Y, lower->Top());
  // The range stays what it was: it counts from the unscrolled origin.
  EXPECT_EQ(box->VertScrollBar()->Range(), 330);

  // The window's own bar scrolls: to the top, then one line.
  SendMessageW(wnd, WM_VSCROLL, SB_TOP, 0);
  SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(box->VertScrollBar()->Position(), 8);
  EXPECT_EQ(lower->Top(), 292);
  EXPECT_EQ(label->Top(), 92);
  SendMessageW(wnd, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_EQ(box->VertScrollBar()->Position(), 8 + box->ClientHeight());
  SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(box->VertScrollBar()->Position(), pos);

  // Without the far button the contents fit again: the bar goes and the rest scrolls back.
  TObject::Free(lower);
  EXPECT_EQ(box->VertScrollBar()->Range(), 100 + label->Height());
  EXPECT_FALSE(HasStyle(wnd, WS_VSCROLL));
  EXPECT_EQ(upper->Top(), 10);
  EXPECT_EQ(label->Top(), 100);
}

TEST(ScrollBox, TheFocusedControlComesIntoView) {
  auto form = ShownForm();
  auto* box = new TScrollBox(form.get());
  box->SetBounds(0, 0, 200, 100);
  box->SetParent(form.get());
  auto* edit = new TEdit(form.get());
  edit->SetBounds(250, 240, 80, 21);
  edit->SetParent(box);
  // Both bars show: each takes its breadth from the other's page.
  EXPECT_TRUE(HasStyle(box->Handle(), WS_VSCROLL));
  EXPECT_TRUE(HasStyle(box->Handle(), WS_HSCROLL));
  edit->SetFocus();
  EXPECT_GE(edit->Left(), 0);
  EXPECT_LE(edit->Left() + edit->Width(), box->ClientWidth());
  EXPECT_LE(edit->Top() + edit->Height(), box->ClientHeight());
  EXPECT_GT(box->HorzScrollBar()->Position(), 0);
  EXPECT_GT(box->VertScrollBar()->Position(), 0);
}

TEST(ScrollBox, ARangeOfItsOwnTurnsAutoScrollOffAndMarginsWidenTheContents) {
  auto form = ShownForm();
  auto* box = new TScrollBox(form.get());
  box->SetBounds(0, 0, 200, 100);
  box->SetParent(form.get());
  auto* button = new TButton(form.get());
  button->SetBounds(0, 50, 60, 30);
  button->SetParent(box);
  EXPECT_FALSE(HasStyle(box->Handle(), WS_VSCROLL));
  box->VertScrollBar()->SetMargin(40);
  EXPECT_EQ(box->VertScrollBar()->Range(), 120);
  EXPECT_TRUE(HasStyle(box->Handle(), WS_VSCROLL));

  box->HorzScrollBar()->SetRange(1000);
  EXPECT_FALSE(box->AutoScroll());
  EXPECT_TRUE(HasStyle(box->Handle(), WS_HSCROLL));
  // Children no longer change the range.
  button->SetLeft(2000);
  EXPECT_EQ(box->HorzScrollBar()->Range(), 1000);
  box->HorzScrollBar()->SetPosition(5000);
  EXPECT_EQ(box->HorzScrollBar()->Position(), 1000 - box->ClientWidth());
  box->HorzScrollBar()->SetVisible(false);
  EXPECT_FALSE(HasStyle(box->Handle(), WS_HSCROLL));
  EXPECT_EQ(box->HorzScrollBar()->ScrollPos(), 0);
}

TEST(ScrollBox, AFormScrollsARangeOfItsOwnReadFromItsDescription) {
  EXPECT_FALSE(ShownForm()->AutoScroll());  // a form scrolls only when asked
  TForm reader(nullptr, 0);
  ReadComponentText(&reader,
                    "object f: TForm\n"
                    "  ClientWidth = 200\n  ClientHeight = 100\n"
                    "  VertScrollBar.Range = 800\n"
                    "  VertScrollBar.Increment = 20\n"
                    "end\n",
                    L"scrolling");
  reader.Show();
  EXPECT_TRUE(HasStyle(reader.Handle(), WS_VSCROLL));
  SendMessageW(reader.Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(reader.VertScrollBar()->Position(), 20);
  const std::string text = WriteComponentText(&reader);
  EXPECT_NE(text.find("VertScrollBar.Range = 800"), std::string::npos);
  EXPECT_EQ(text.find("HorzScrollBar.Range"), std::string::npos);
}

// Frames

TEST(Frame, AFrameReadsItsOwnDescriptionWhenMade) {
  auto form = ShownForm();
  auto* frame = Construct<TAddressFrame>(form.get());
  frame->SetParent(form.get());
  auto* edit = dynamic_cast<TEdit*>(frame->FindComponent(L"edtCity"));
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->Parent(), frame);
  EXPECT_EQ(edit->Text(), L"上海");
  EXPECT_EQ(WindowClassOf(frame->Handle()), L"TAddressFrame");
  // The frame's methods answer the events of its description.
  edit->SetText(L"杭州");
  EXPECT_EQ(frame->changes, 1);

  // A plain frame reads nothing; a frame class without a description is an error.
  auto* plain = Construct<TFrame>(form.get());
  EXPECT_EQ(plain->ComponentCount(), 0);
  EXPECT_THROW(Construct<TNoDescriptionFrame>(form.get()), EResNotFound);
}

TEST(Frame, FramesReadInsideAFormAndAContainerWithTheirChangedControls) {
  // The program makes its frame class known, as its start-up would.
  TAddressFrame::StaticClass();
  auto* host = Construct<TFrameHostForm>(nullptr);
  Owned<TFrameHostForm> owned(host);
  auto* home = dynamic_cast<TAddressFrame*>(host->FindComponent(L"Home"));
  auto* work = dynamic_cast<TAddressFrame*>(host->FindComponent(L"Work"));
  auto* box = dynamic_cast<TScrollBox*>(host->FindComponent(L"AddressFrame"));
  ASSERT_TRUE(home && work && box);
  auto* inner = dynamic_cast<TAddressFrame*>(host->FindComponent(L"Inner"));
  ASSERT_NE(inner, nullptr);
  EXPECT_EQ(inner->Parent(), box);
  EXPECT_EQ(work->Top(), 100);

  // Each frame has its own controls; the form changed one of them.
  auto cityOf = [](TAddressFrame* f) { return dynamic_cast<TEdit*>(f->FindComponent(L"edtCity"))->Text(); };
  EXPECT_EQ(cityOf(home), L"北京");
  EXPECT_EQ(cityOf(work), L"上海");
  EXPECT_EQ(cityOf(inner), L"上海");
  EXPECT_EQ(host->FindComponent(L"edtCity"), nullptr);
  EXPECT_EQ(home->FindComponent(L"edtCity")->Owner(), home);

  // The frame inside the box lies below its client area: the box scrolls to it.
  host->Show();
  EXPECT_EQ(box->VertScrollBar()->Range(), 210);
  box->ScrollInView(inner);
  EXPECT_LE(inner->Top() + inner->Height(), box->ClientHeight());
  EXPECT_EQ(GetParent(inner->Handle()), box->Handle());
}

TEST(Frame, AnInheritedControlTheFrameDoesNotHaveIsAnError) {
  TAddressFrame::StaticClass();
  TFrameHostForm reader(nullptr, 0);
  EXPECT_THROW(ReadComponentText(&reader,
                                 "object FrameHost: TFrameHostForm\n"
                                 "  inline Home: TAddressFrame\n"
                                 "    inherited edtStreet: TEdit\n"
                                 "    end\n"
                                 "  end\n"
                                 "end\n",
                                 L"missing"),
               EReadError);
  EXPECT_EQ(reader.ComponentCount(), 0);
}

// Menus merged into the main form's

TEST(MenuMerging, AnActiveFormsAutoMergeMenuJoinsTheMainFormsBar) {
  auto* main = Application->CreateForm<TForm>();
  const TScopeExit freeMain([main] { TObject::Free(main); });  // the next test's form is the main form
  ASSERT_EQ(Application->MainForm(), main);
  auto item = [](TComponent* Owner, TMenuItem* Parent, const wchar_t* Caption, uint8_t Group) {
    auto* i = new TMenuItem(Owner);
    i->SetCaption(Caption);
    i->SetGroupIndex(Group);
    Parent->Add(i);
    return i;
  };
  auto* mainMenu = new TMainMenu(main);
  item(main, mainMenu->Items(), L"&File", 0);
  item(main, mainMenu->Items(), L"&Help", 9);
  main->SetMenu(mainMenu);
  main->Show();
  EXPECT_EQ(mainMenu->WindowHandle(), main->Handle());

  auto other = ShownForm();
  auto* menu = new TMainMenu(other.get());
  menu->SetAutoMerge(true);
  item(other.get(), menu->Items(), L"&Tools", 5);
  other->SetMenu(menu);
  // A merging menu shows no bar of its own; while its form is active it is in the main bar.
  EXPECT_EQ(GetMenu(other->Handle()), nullptr);
  other->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  HMENU bar = GetMenu(main->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  wchar_t text[32] = {};
  GetMenuStringW(bar, 1, text, 32, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Tools");
  other->Perform(WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_EQ(GetMenuItemCount(GetMenu(main->Handle())), 2);
}

}  // namespace
}  // namespace vcl::testing
