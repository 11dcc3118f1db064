// The skin manager: which windows it offers to the form skinning (the hook's refusals, the
// choice of skin data), the popup-menu rule, and the requests its timer carries out.
#include <gtest/gtest.h>

#include <algorithm>

#include "skin_data_support.h"
#include "support/other_thread_window.h"

namespace winskin::test {
namespace {

// Raw top-level windows; the class answers SKM_QUERYNOSKIN with the window's user data.
LRESULT CALLBACK RawProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == SKM_QUERYNOSKIN) return GetWindowLongPtrW(window, GWLP_USERDATA);
  return DefWindowProcW(window, msg, wp, lp);
}

const wchar_t* RawClass() {
  return wintest::TestWindowClass(L"SkinManageRawWindow", &RawProc, CS_GLOBALCLASS);
}

using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, decltype([](HWND w) { DestroyWindow(w); })>;

UniqueWindow RawWindow(LRESULT queryAnswer = 0, HINSTANCE instance = GetModuleHandleW(nullptr),
                       const wchar_t* className = RawClass()) {
  HWND w = CreateWindowExW(0, className, L"raw", WS_POPUP | WS_CAPTION, 10, 10, 200, 120, nullptr, nullptr, instance,
                           nullptr);
  EXPECT_NE(w, nullptr);
  if (w && className == RawClass()) SetWindowLongPtrW(w, GWLP_USERDATA, queryAnswer);
  return UniqueWindow(w);
}

// A main-window component holding the synthetic skin: the manager is active from loading.
class SkinnedManagerTest : public SkinManagerTest {
 protected:
  void SetUp() override {
    SkinManagerTest::SetUp();
    form_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(SyntheticPackage()))));
    data_ = form_->SkinData();
    ASSERT_TRUE(SkinManager() && SkinManager()->Active());
  }
  void TearDown() override {
    form_.reset();
    SkinManagerTest::TearDown();
  }
  static TSkinManage* Manager() { return SkinManager(); }

  Owned<TSkinTestForm> form_;
  TSkinData* data_ = nullptr;
};

// The tests a window must pass before it is offered to the form skinning.
TEST_F(SkinnedManagerTest, TheHooksRefusals) {
  UniqueWindow plain = RawWindow();
  EXPECT_TRUE(Manager()->SkinForm(plain.get()));
  EXPECT_FALSE(Manager()->SkinForm(plain.get()));  // never a second object for a window
  EXPECT_EQ(CountCalls("attach-window"), 1u);

  UniqueWindow refusing = RawWindow(1);
  EXPECT_FALSE(Manager()->SkinForm(refusing.get()));
  UniqueWindow answeringTwo = RawWindow(2);
  EXPECT_TRUE(Manager()->SkinForm(answeringTwo.get()));  // only an answer of exactly 1 refuses

  // A window of another module only as a dialog.
  const auto user32 = GetModuleHandleW(L"user32.dll");
  UniqueWindow foreign = RawWindow(0, user32);
  EXPECT_FALSE(Manager()->SkinForm(foreign.get()));
  UniqueWindow foreignDialog = RawWindow(0, user32, L"#32770");
  EXPECT_TRUE(Manager()->SkinForm(foreignDialog.get()));

  // No area; a child that is not an MDI child.
  UniqueWindow empty(CreateWindowExW(0, RawClass(), L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
  EXPECT_FALSE(Manager()->SkinForm(empty.get()));
  HWND child = CreateWindowExW(0, RawClass(), L"", WS_CHILD, 0, 0, 50, 50, plain.get(), nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  EXPECT_FALSE(Manager()->SkinForm(child));
  EXPECT_EQ(Manager()->FormCount(), 3);
}

// A window served by another thread (or program) is never taken, though the system may report
// its activation to this thread's hook: only its own thread could serve a skinned window.
TEST_F(SkinnedManagerTest, AWindowOfAnotherThreadIsLeftAlone) {
  for (const wchar_t* className : {RawClass(), L"#32770"}) {
    wintest::OtherThreadWindow other(className, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_NE(other.Get(), nullptr);
    const HMENU bar = GetMenu(other.Get());
    const LONG_PTR style = GetWindowLongPtrW(other.Get(), GWL_STYLE);
    EXPECT_FALSE(Manager()->SkinForm(other.Get()));
    // Through the hook: this thread asks for its activation.
    SetActiveWindow(other.Get());
    EXPECT_EQ(Manager()->FormCount(), 0);
    EXPECT_EQ(CountCalls("attach-window"), 0u);
    EXPECT_EQ(GetMenu(other.Get()), bar);
    EXPECT_EQ(GetWindowLongPtrW(other.Get(), GWL_STYLE), style);
  }
  // The same window served by this thread is taken.
  UniqueWindow own = RawWindow();
  EXPECT_TRUE(Manager()->SkinForm(own.get()));
}

// The never-skin tag of a form is 99, whatever the skin data's DisableTag (the controls') holds.
TEST_F(SkinnedManagerTest, Tag99LeavesAFormAlone) {
  Owned<vcl::TForm> other(new vcl::TForm(vcl::Application, 0));
  other->SetBounds(0, 0, 200, 150);
  data_->SetDisableTag(7);
  other->SetTag(99);
  EXPECT_FALSE(Manager()->SkinForm(other->Handle()));
  other->SetTag(7);
  EXPECT_TRUE(Manager()->SkinForm(other->Handle()));
  ASSERT_EQ(CountCalls("attach-form"), 1u);
  EXPECT_EQ(SkinCalls().back().object, other.get());  // attached with its form object
  EXPECT_EQ(Manager()->Forms(0)->Owner(), other.get());
}

TEST_F(SkinnedManagerTest, TheMainSkinDatasFilterAndFormQuery) {
  UniqueWindow window = RawWindow();
  data_->OnFormSkin = TOnFormSkin::FromFunction(
      [](void*, vcl::TObject*, const vcl::String& name, bool& doSkin) { doSkin = name != L"SkinManageRawWindow"; },
      nullptr);
  EXPECT_FALSE(Manager()->SkinForm(window.get()));
  data_->OnFormSkin = nullptr;
  EXPECT_TRUE(Manager()->SkinForm(window.get()));
}

TEST_F(SkinnedManagerTest, DialogsTakeTheDialogSkinDataAndFormsTheirOwn) {
  UniqueWindow dialog = RawWindow(0, GetModuleHandleW(nullptr), L"#32770");
  UniqueWindow plain = RawWindow();
  EXPECT_EQ(Manager()->SkinDataFor(dialog.get(), L"#32770"), data_);  // no dialog kind yet

  auto* dialogData = new TSkinData(form_.get());
  dialogData->SetSkinFormtype(sfDialog);
  Manager()->RegisterSkinData(dialogData);
  auto* ownData = new TSkinData(form_.get());
  ownData->SetSkinFormtype(sfOnlyThisForm);
  Manager()->RegisterSkinData(ownData);
  EXPECT_EQ(Manager()->SkinDataFor(dialog.get(), L"#32770"), dialogData);
  EXPECT_EQ(Manager()->SkinDataFor(dialog.get(), L"TMessageForm"), dialogData);
  EXPECT_EQ(Manager()->SkinDataFor(plain.get(), L"SkinManageRawWindow"), data_);
  EXPECT_EQ(Manager()->SkinDataFor(form_->Handle(), L"TSkinTestForm"), ownData);
  // An empty dialog skin data holds no skin: the dialog is left alone.
  EXPECT_FALSE(Manager()->SkinForm(dialog.get()));
  vcl::TObject::Free(dialogData);
  EXPECT_EQ(Manager()->SkinDataFor(dialog.get(), L"#32770"), data_);
}

// The kind of popup decides which member of SkinControls it needs.
TEST_F(SkinnedManagerTest, PopupMenusFollowTheirKind) {
  data_->SetSkinControls(kDefaultSkinControls - TSkinControlTypes{xcSystemMenu});
  Manager()->SetPopupKind(TPopupKind::SystemMenu);
  HWND menu = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Manager()->PopMenuCount(), 0);  // the hook offered it: refused
  DestroyWindow(menu);

  data_->SetSkinControls(kDefaultSkinControls);
  Manager()->SetPopupFromBar(true);
  menu = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(Manager()->PopMenuCount(), 1);
  EXPECT_EQ(SkinCalls().back().what, "popup-first");
  EXPECT_FALSE(Manager()->SkinPopupMenu(menu));  // already skinned (and always false)
  EXPECT_EQ(Manager()->PopMenuCount(), 1);
  DestroyWindow(menu);  // the hook unskins it; the last one resets the kind
  EXPECT_EQ(Manager()->PopMenuCount(), 0);
  EXPECT_EQ(CountCalls("popup-detach"), 1u);
  EXPECT_EQ(Manager()->PopupKind(), TPopupKind::Popup);
  EXPECT_FALSE(Manager()->PopupFromBar());
}

// A size grip created later on a skinned window is mapped; the hook asks the window for its
// class, as the create structure may name it by atom.
TEST_F(SkinnedManagerTest, ASizeGripOnASkinnedWindowIsMapped) {
  UniqueWindow window = RawWindow();
  ASSERT_TRUE(Manager()->SkinForm(window.get()));
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  const ATOM scrollBar = static_cast<ATOM>(GetClassInfoExW(nullptr, L"ScrollBar", &info));
  ASSERT_NE(scrollBar, 0);
  HWND grip = CreateWindowExW(0, MAKEINTATOM(scrollBar), L"", WS_CHILD | SBS_SIZEGRIP, 0, 0, 16, 16, window.get(),
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(grip, nullptr);
  ASSERT_EQ(CountCalls("size-grip"), 1u);
  EXPECT_EQ(SkinCalls().back().window, grip);
  // A plain scroll bar is not a grip.
  CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_VERT, 0, 0, 16, 60, window.get(), nullptr,
                  GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(CountCalls("size-grip"), 1u);
}

TEST_F(SkinnedManagerTest, ObjectsOfDestroyedWindowsArePurged) {
  UniqueWindow first = RawWindow();
  UniqueWindow second = RawWindow();
  ASSERT_TRUE(Manager()->SkinForm(first.get()));
  Manager()->Forms(0)->State = TSkinFormState::Destroyed;
  EXPECT_TRUE(Manager()->SkinForm(second.get()));
  EXPECT_EQ(Manager()->FormCount(), 1);
  EXPECT_EQ(CountCalls("free"), 1u);
  EXPECT_EQ(Manager()->Forms(0)->Window, second.get());
}

// A form whose stream holds the synthetic skin reaches the form skinning when it is first
// activated; the timer then unskins, skins and refreshes on request.
TEST_F(SkinManagerTest, ASkinnedFormReachesTheFormSkinningAndTheTimerRequests) {
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(SyntheticPackage()))));
  TSkinData* data = form->SkinData();
  TSkinManage* manager = SkinManager();
  ASSERT_EQ(manager->Started(), 0);
  EXPECT_EQ(manager->FormCount(), 0);  // nothing at once

  auto skinnedPosts = [&] {
    return std::count_if(form->engineMessages.begin(), form->engineMessages.end(), [](const vcl::TMessage& m) {
      return m.Msg == SKM_FORMSKINNED && m.LParam == kFormSkinnedParam;
    });
  };
  form->Show();
  SetActiveWindow(form->Handle());
  ASSERT_TRUE(PumpUntil([&] { return skinnedPosts() == 1; }));
  EXPECT_EQ(form->engineMessages[0].Msg, SKM_QUERYNOSKIN);  // asked first
  EXPECT_GE(manager->Started(), 1);
  ASSERT_EQ(manager->FormCount(), 1);
  EXPECT_EQ(manager->Forms(0)->SkinData, data);
  ASSERT_EQ(CountCalls("attach-form"), 1u);
  EXPECT_EQ(SkinCalls()[0].object, form.get());

  int changes = 0;
  data->OnSkinChanged = vcl::TNotifyEvent::FromFunction([](void* n, vcl::TObject*) { ++*static_cast<int*>(n); },
                                                        &changes);
  data->SetActive(false);  // mode 2 after 250 ms
  EXPECT_EQ(manager->FormCount(), 1);
  ASSERT_TRUE(PumpUntil([&] { return manager->FormCount() == 0; }));
  EXPECT_EQ(CountCalls("unskin"), 1u);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(manager->RequestSkinData(), nullptr);

  data->SetActive(true);  // mode 1: the visible forms
  ASSERT_TRUE(PumpUntil([&] { return manager->FormCount() == 1; }));
  EXPECT_EQ(CountCalls("attach-form"), 2u);

  // A skin file: the forms drop their skin objects at once, then refresh on the timer.
  const wintest::TempFile file(L"skindata_test.skn");
  file.Write(SyntheticPackage());
  SkinCalls().clear();
  data->SetSkinFile(file.Path());
  EXPECT_FALSE(data->Empty());
  ASSERT_EQ(SkinCalls().size(), 1u);
  EXPECT_EQ(SkinCalls()[0].what, "release");
  ASSERT_TRUE(PumpUntil([&] { return CountCalls("reapply") == 1; }));
  std::vector<std::string> order;
  for (const SkinCall& c : SkinCalls()) order.push_back(c.what);
  EXPECT_EQ(order, (std::vector<std::string>{"release", "release", "load", "reapply"}));

  // A missing file is ignored, its name kept.
  data->SetSkinFile(L"Z:\\no\\such\\skin.skn");
  EXPECT_EQ(data->SkinFile(), L"Z:\\no\\such\\skin.skn");
}

TEST_F(SkinManagerTest, MdiChildrenFollowAMaximisedChild) {
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(SyntheticPackage()))));
  TSkinManage* manager = SkinManager();
  UniqueWindow window = RawWindow();
  ASSERT_TRUE(manager->SkinForm(window.get()));
  static_cast<TRecordingSkinForm*>(manager->Forms(0))->mdiChild = true;
  manager->SetMDIMaximized(true);
  manager->SetMDIMaximized(true);
  EXPECT_EQ(CountCalls("mdi-maximized"), 1u);
  form->SkinData()->SetOptions(TSkinOptions{xoMDIChildBorder});
  manager->SetMDIMaximized(false);
  EXPECT_EQ(CountCalls("mdi-normal"), 0u);  // the skin draws the children's borders itself
}

}  // namespace
}  // namespace winskin::test
