// An MDI frame form's provider keeps its client window adapted while the form is skinned (the
// adapter taking the skin's font and colours), gives that up when the skin goes and takes it
// again when the skin comes back; the MDI children are skinned with providers of their own
// and their controls get their adapters.
#include "auto_support.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/adapters/MdiWnd.h"
#include "skin_layered/forms/MDIForm.h"
#include "skin_layered/forms/menu_loop.h"
#include "skin_layered/manager/SkinManager.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

class TAutoMdiFrame : public vcl::TForm {
  VCL_CLASS(TAutoMdiFrame, vcl::TForm)
 public:
  explicit TAutoMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};

class TAutoMdiChild : public vcl::TForm {
  VCL_CLASS(TAutoMdiChild, vcl::TForm)
 public:
  explicit TAutoMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
    SetBounds(0, 0, 240, 160);
    button = new vcl::TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 8, 100, 24);
    SetFormStyle(vcl::fsMDIChild);
  }
  vcl::TButton* button = nullptr;
};

// A frame with a menu bar of two menus: the skins (a sub-menu of one item) and the window menu,
// which lists the documents.
class TMenuMdiFrame : public vcl::TForm {
  VCL_CLASS(TMenuMdiFrame, vcl::TForm)
 public:
  explicit TMenuMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
    SetFormStyle(vcl::fsMDIForm);
    SetCaption(L"Frame");
    auto* menu = new vcl::TMainMenu(this);
    auto* skins = new vcl::TMenuItem(menu);
    skins->SetCaption(L"&Skin");
    menu->Items()->Add(skins);
    auto* some = new vcl::TMenuItem(skins);
    some->SetCaption(L"&Some skin");
    skins->Add(some);
    auto* window = new vcl::TMenuItem(menu);
    window->SetCaption(L"&Window");
    menu->Items()->Add(window);
    auto* tile = new vcl::TMenuItem(window);
    tile->SetCaption(L"&Tile");
    window->Add(tile);
    SetMenu(menu);
    SetWindowMenu(window);
  }
};

}  // namespace

VCL_CLASS_INFO(TAutoMdiFrame) {}
VCL_CLASS_INFO(TMenuMdiFrame) {}
VCL_CLASS_INFO(TAutoMdiChild) {}

namespace {

class MdiForms : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(skins, L"Flat", EveryKindSkinText(0));
    frame = vcl::Application->CreateForm<TAutoMdiFrame>();
    frame->SetBounds(-3000, -2000, 600, 450);
    provider = vcl::Construct<TsSkinProvider>(frame);
    frame->Show();
    wintest::PumpUntilIdle();
    ASSERT_TRUE(frame->ClientHandle());
  }
  void TearDown() override {
    vcl::TObject::Free(frame);
    manager.reset();
  }

  TqvMDIWnd* ClientAdapter() const { return dynamic_cast<TqvMDIWnd*>(GetAdapter(frame->ClientHandle())); }

  TempSkins skins;
  ManagerPtr manager;
  TAutoMdiFrame* frame = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(MdiForms, TheClientWindowIsAdaptedWhileTheFormIsSkinned) {
  ASSERT_TRUE(provider->Adapters().MDIForm());
  EXPECT_EQ(MDIProvider(), provider);
  TqvMDIWnd* client = ClientAdapter();
  ASSERT_TRUE(client);
  EXPECT_EQ(provider->Adapters().MDIForm()->MDIWnd, client);
  EXPECT_EQ(client->Form, frame);
  // The client takes the skin's font and colours like every adapted control.
  EXPECT_FALSE(client->SkinData->CustomFont());
  EXPECT_FALSE(client->SkinData->CustomColor());

  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(provider->Adapters().MDIForm());
  EXPECT_FALSE(GetAdapter(frame->ClientHandle()));
  EXPECT_EQ(SendCommandToWnd(frame->ClientHandle(), scmIsSkinned, 0), 0);

  manager->SetActive(true);
  wintest::PumpUntilIdle();
  ASSERT_TRUE(provider->Adapters().MDIForm());
  EXPECT_TRUE(ClientAdapter());
  EXPECT_EQ(provider->Adapters().MDIForm()->MDIWnd, ClientAdapter());
}

TEST_F(MdiForms, ChildrenAreSkinnedWithTheirControls) {
  auto* child = vcl::Application->CreateForm<TAutoMdiChild>();
  child->Show();
  wintest::PumpUntilIdle();
  ASSERT_TRUE(child->HandleAllocated());
  auto* childProvider = reinterpret_cast<TsSkinProvider*>(SendCommandToWnd(child->Handle(), scmGetProvider, 0));
  ASSERT_TRUE(childProvider);
  EXPECT_NE(childProvider, provider);
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetAdapter(child->button->Handle()) != nullptr; }));
  EXPECT_EQ(AdapterClass(child->button), L"TqvBtnWnd");

  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_EQ(AdapterClass(child->button), L"");
  vcl::TObject::Free(child);
  wintest::PumpUntilIdle();
  EXPECT_TRUE(IsWindow(frame->ClientHandle()));
}

TEST_F(MdiForms, ConnectingAnUnskinnedFormDropsTheAdapter) {
  ASSERT_TRUE(provider->Adapters().MDIForm());
  TsMDIForm* mdi = provider->Adapters().MDIForm();
  mdi->Disconnect();
  EXPECT_FALSE(ClientAdapter());
  mdi->ConnectIfNeeded();
  EXPECT_TRUE(ClientAdapter());
  // Without the skin a connection only lets the adapter go.
  provider->SkinData->SetSkinSection(L"NO SUCH SECTION");
  mdi->Connect();
  EXPECT_FALSE(mdi->MDIWnd);
  EXPECT_FALSE(ClientAdapter());
  provider->SkinData->SetSkinSection(L"FORM");
}

// Documents left unskinned (made while the rules skinned no forms) take the skin when their
// frame is shown again once the rules skin forms, each once: a document with a provider of its
// own keeps it. Under rules that still skin no forms they stay as they are.
TEST(MdiFrameShown, UnskinnedDocumentsTakeTheSkinWhenTheFrameIsShown) {
  TempSkins skins;
  for (const bool formsSkinned : {true, false}) {
    SCOPED_TRACE(formsSkinned ? "forms skinned now" : "still no forms skinned");
    ManagerPtr manager = LoadedManager(skins, L"Flat", EveryKindSkinText(0));
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    const TqvSkinningRules rules = manager->SkinningRules();
    ASSERT_TRUE(rules.Contains(srStdForms));
    manager->SetSkinningRules({srStdDialogs});
    auto* frame = vcl::Application->CreateForm<TAutoMdiFrame>();
    frame->SetBounds(-3000, -2000, 600, 450);
    vcl::Construct<TsSkinProvider>(frame);  // freed with the frame
    frame->Show();
    wintest::PumpUntilIdle();
    ASSERT_TRUE(frame->ClientHandle());
    std::vector<vcl::TForm*> documents;
    for (int i = 0; i < 2; ++i) {
      documents.push_back(vcl::Application->CreateForm<TAutoMdiChild>());
      documents.back()->Show();
      ASSERT_TRUE(documents.back()->HandleAllocated());
    }
    wintest::PumpUntilIdle();
    auto providerOf = [](vcl::TForm* Document) {
      return reinterpret_cast<TsSkinProvider*>(SendCommandToWnd(Document->Handle(), scmGetProvider, 0));
    };
    for (vcl::TForm* document : documents) ASSERT_EQ(providerOf(document), nullptr) << "skinned under the rules";
    // One document given its provider by the program.
    auto* own = vcl::Construct<TsSkinProvider>(documents.front());
    if (formsSkinned) manager->SetSkinningRules(rules);
    frame->Hide();
    wintest::PumpUntilIdle();
    EXPECT_EQ(providerOf(documents.back()), nullptr) << "skinned by the hide";
    frame->Show();
    wintest::PumpUntilIdle();
    EXPECT_EQ(providerOf(documents.front()), own);
    if (formsSkinned) {
      TsSkinProvider* given = providerOf(documents.back());
      ASSERT_NE(given, nullptr);
      EXPECT_NE(given, own);
      EXPECT_EQ(SendCommandToWnd(documents.back()->Handle(), scmIsSkinned, 0), 1);
      EXPECT_TRUE(given->FormSkinned());
      // Shown again, the document keeps the provider it was given.
      frame->Hide();
      frame->Show();
      wintest::PumpUntilIdle();
      EXPECT_EQ(providerOf(documents.back()), given);
    } else {
      EXPECT_EQ(providerOf(documents.back()), nullptr);
    }
    for (vcl::TForm* document : documents) vcl::TObject::Free(document);
    vcl::TObject::Free(frame);
    manager.reset();
  }
}

// A frame with a menu bar under the sample skins, its documents skinned by the dialog hook.
class MdiMenuLine : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = NewManager();
    manager->SetSkinDirectory(SampleSkins());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    manager->SetSkinName(L"Lagoon");
    frame = vcl::Application->CreateForm<TMenuMdiFrame>();
    frame->SetBounds(40, 40, 600, 450);
    provider = vcl::Construct<TsSkinProvider>(frame);
    frame->Show();
    for (const wchar_t* caption : {L"First", L"Second"}) {
      auto* child = vcl::Application->CreateForm<TAutoMdiChild>();
      child->SetCaption(caption);
      child->Show();
      children.push_back(child);
    }
    wintest::PumpUntilIdle();
    ASSERT_TRUE(frame->ClientHandle());
  }
  void TearDown() override {
    for (vcl::TForm* child : children) vcl::TObject::Free(child);
    vcl::TObject::Free(frame);
    manager.reset();
  }
  HWND Frame() const { return frame->Handle(); }

  ManagerPtr manager;
  TMenuMdiFrame* frame = nullptr;
  TsSkinProvider* provider = nullptr;
  std::vector<vcl::TForm*> children;
};

// The pixels of a rectangle of a window as it shows (copied from its own DC) that stand off the
// colour it shows most by a quarter of the grey scale: a written caption has a good many.
int ShownLetters(HWND Wnd, const vcl::TRect& R) {
  MemoryPixels shown(R.Width(), R.Height());
  HDC window = GetWindowDC(Wnd);
  BitBlt(shown.DC(), 0, 0, R.Width(), R.Height(), window, R.Left, R.Top, SRCCOPY);
  ReleaseDC(Wnd, window);
  std::map<COLORREF, int> counts;
  for (int y = 0; y < R.Height(); ++y)
    for (int x = 0; x < R.Width(); ++x) ++counts[shown.At(x, y)];
  if (counts.empty()) return 0;
  auto grey = [](COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; };
  const COLORREF face =
      std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) { return a.second < b.second; })->first;
  int off = 0;
  for (const auto& [colour, count] : counts) off += std::abs(grey(colour) - grey(face)) >= 64 ? count : 0;
  return off;
}

// Opening one menu of the frame's bar (by its key: a real menu loop) leaves every other item of
// the bar written: the Window menu's opening lists the documents, which builds the bar anew,
// and the client's refresh of the menu line came before the system had laid the new bar out.
// Both ways round, with the documents as they are and one maximised, under the sample skin and
// its variant with their extended borders (the menu band on the form's window, the caption on
// the border window) and without them, and under the incomplete sample skin.
TEST_F(MdiMenuLine, OpeningAMenuOfTheBarLeavesTheOtherItemsWritten) {
  const HMENU bar = GetMenu(Frame());
  auto openAndClose = [&](wchar_t key) {
    return RunMenuLoop([&] { SendMessageW(Frame(), WM_SYSCOMMAND, SC_KEYMENU, key); },
                       [&](int) { return VisiblePopupWindow() != nullptr; });
  };
  for (const auto& [skin, borders] : {std::pair{L"Lagoon", true}, std::pair{L"Ember", true},
                                      std::pair{L"Lagoon", false}, std::pair{L"Sparse", true}}) {
    manager->SetExtendedBorders(borders);
    manager->SetSkinName(skin);
    wintest::PumpUntilIdle();
    ASSERT_TRUE(provider->FormSkinned());
    const std::string name = vcl::WideToUtf8(skin) + (borders ? " with borders" : "");
    for (const bool maximised : {false, true}) {
      children.back()->SetWindowState(maximised ? vcl::wsMaximized : vcl::wsNormal);
      wintest::PumpUntilIdle();
      ASSERT_EQ(IsZoomed(children.back()->Handle()) != FALSE, maximised);
      for (const wchar_t key : {L'w', L's', L'w'}) {
        ASSERT_TRUE(openAndClose(key)) << name << " " << static_cast<char>(key);
        wintest::PumpUntilIdle();
        RECT window{};
        GetWindowRect(Frame(), &window);
        int items = 0;
        for (int position = 0; position < GetMenuItemCount(bar); ++position) {
          wchar_t text[32] = {};
          GetMenuStringW(bar, static_cast<UINT>(position), text, 32, MF_BYPOSITION);
          if (std::wstring(text) != L"&Skin" && std::wstring(text) != L"&Window") continue;
          ++items;
          RECT r{};
          ASSERT_TRUE(GetMenuItemRect(Frame(), bar, static_cast<UINT>(position), &r));
          const vcl::TRect place =
              vcl::Rect(r.left - window.left, r.top - window.top, r.right - window.left, r.bottom - window.top);
          ASSERT_FALSE(place.IsEmpty());
          EXPECT_GT(ShownLetters(Frame(), place), 10)
              << name << (maximised ? ", maximised" : "") << ", after '" << static_cast<char>(key)
              << "': " << vcl::WideToUtf8(text);
        }
        EXPECT_EQ(items, 2);
      }
    }
  }
  children.back()->SetWindowState(vcl::wsNormal);
}

}  // namespace
}  // namespace skin_layered::test
