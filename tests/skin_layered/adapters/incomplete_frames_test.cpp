// Skins without the forms' sections (the form's, the dialog's, both with their titles, or all
// but the skin-wide one): a form, an MDI frame and its documents keep the whole frame the
// system draws for them (caption buttons and icon, no window region, no border window), when
// the skin arrives and through live switches into such a skin and out of it; the menu line's
// items stand on the new skin's menu line, not on a picture of the skin before. A dialog
// without its section keeps the system's frame beside a skinned form, and a form without its
// section beside a skinned dialog.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "classlib/forms/Menus.h"
#include "dialogs_support.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kFormFace = 0xB0C0D0, kTitle = 0x804020, kTitleHot = 0xC06020, kDialogFace = 0xA0B8A0;

// Every skin has a menu line of its own colour, so that an item shows which skin it stands on.
struct SkinCase {
  const wchar_t* Name;
  std::set<std::string> Drop;
  COLORREF MenuLine;
};
const SkinCase kWhole{L"Whole", {}, 0x30A0A0};
const SkinCase kNoForm{L"NoForm", {"FORM"}, 0x40A040};
const SkinCase kNoDialog{L"NoDialog", {"DIALOG"}, 0xA04040};
const SkinCase kNoForms{L"NoForms", {"FORM", "FORMTITLE", "DIALOG", "DIALOGTITLE"}, 0xA040A0};
const SkinCase kGlobalOnly{L"GlobalOnly", {"FORM", "FORMTITLE", "DIALOG", "DIALOGTITLE", "MENULINE", "EDIT", "BUTTON"}, 0};

std::string SkinText(const SkinCase& Skin) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\nBORDERWIDTH=4\r\nTITLEHEIGHT=28\r\n";
  const struct {
    const char* Name;
    COLORREF Color, Hot;
  } sections[] = {{"FORM", kFormFace, kFormFace},   {"FORMTITLE", kTitle, kTitleHot},
                  {"DIALOG", kDialogFace, kDialogFace}, {"DIALOGTITLE", kTitle, kTitleHot},
                  {"MENULINE", Skin.MenuLine, Skin.MenuLine}, {"EDIT", 0xF0F0F0, 0xFFFFFF},
                  {"BUTTON", 0xD0D0D0, 0xE0E0E0}};
  for (const auto& s : sections)
    if (!Skin.Drop.contains(s.Name)) text += FlatSection(s.Name, s.Color, s.Hot);
  return text;
}

// A form with the system menu, minimise and maximise buttons and a menu line.
class TFramedForm : public vcl::TForm {
  VCL_CLASS(TFramedForm, vcl::TForm)
 public:
  explicit TFramedForm(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
    SetCaption(L"A framed form");
    SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize, vcl::biMaximize});
    auto* menu = new vcl::TMainMenu(this);
    for (const wchar_t* caption : {L"&File", L"&Window"}) {
      auto* item = new vcl::TMenuItem(menu);
      item->SetCaption(caption);
      auto* sub = new vcl::TMenuItem(item);
      sub->SetCaption(L"&Tile");
      item->Add(sub);
      menu->Items()->Add(item);
    }
    SetMenu(menu);
  }
};

class TFramedMdiFrame : public TFramedForm {
  VCL_CLASS(TFramedMdiFrame, TFramedForm)
 public:
  explicit TFramedMdiFrame(vcl::TComponent* AOwner) : TFramedForm(AOwner) {
    SetFormStyle(vcl::fsMDIForm);
    SetWindowMenu(dynamic_cast<vcl::TMainMenu*>(Menu())->Items()->Items(1));
  }
};

class TFramedDocument : public vcl::TForm {
  VCL_CLASS(TFramedDocument, vcl::TForm)
 public:
  explicit TFramedDocument(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIChild); }
};

}  // namespace

VCL_CLASS_INFO(TFramedForm) {}
VCL_CLASS_INFO(TFramedMdiFrame) {}
VCL_CLASS_INFO(TFramedDocument) {}

namespace {

struct FormFree {
  void operator()(vcl::TForm* F) const { vcl::TObject::Free(F); }
};
using OwnedForm = std::unique_ptr<vcl::TForm, FormFree>;

TsSkinProvider* ProviderOf(vcl::TCustomForm* Form) {
  return Form->HandleAllocated()
             ? reinterpret_cast<TsSkinProvider*>(SendMessageW(Form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmGetProvider), 0))
             : nullptr;
}

bool HasRegion(HWND Wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(Wnd, rgn) != ERROR;
  DeleteObject(rgn);
  return has;
}

bool HasSysMenu(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_SYSMENU) != 0; }

// The window's own pixels, frame included.
std::unique_ptr<FramePixels> Grab(HWND Wnd) {
  auto pixels = std::make_unique<FramePixels>(Wnd);
  const RECT box = WindowBox(Wnd);
  HDC dc = GetWindowDC(Wnd);
  BitBlt(pixels->DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, dc);
  return pixels;
}

// The band above the menu line (frame and caption) as the system draws it for an inactive
// window: told to draw itself inactive first, so that which window holds the focus meanwhile
// does not matter.
std::vector<COLORREF> CaptionBand(HWND Wnd) {
  SendMessageW(Wnd, WM_NCACTIVATE, FALSE, 0);
  MENUBARINFO bar{};
  bar.cbSize = sizeof bar;
  RECT window{};
  GetWindowRect(Wnd, &window);
  const int bottom = GetMenuBarInfo(Wnd, OBJID_MENU, 0, &bar) ? bar.rcBar.top - window.top : 0;
  const auto pixels = Grab(Wnd);
  std::vector<COLORREF> band;
  for (int y = 0; y < bottom; ++y)
    for (int x = 0; x < window.right - window.left; ++x) band.push_back(pixels->At(x, y));
  return band;
}

int Differing(const std::vector<COLORREF>& A, const std::vector<COLORREF>& B) {
  if (A.size() != B.size()) return static_cast<int>(std::max(A.size(), B.size()));
  int n = 0;
  for (std::size_t i = 0; i < A.size(); ++i) n += A[i] != B[i] ? 1 : 0;
  return n;
}

class FramesWithoutSection : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const SkinCase* skin : {&kWhole, &kNoForm, &kNoDialog, &kNoForms, &kGlobalOnly})
      skins.Write(skin->Name, L"Options.dat", BytesOf(SkinText(*skin)));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->AnimEffects()->FormShow()->SetActive(false);
    manager->AnimEffects()->FormHide()->SetActive(false);
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    manager->AnimEffects()->Buttons()->SetEvents({});
    manager->SetExtendedBorders(true);
    // The form as it stands without any skin: the system's frame to compare with.
    form.reset(NewFramedForm(60));
    provider = vcl::Construct<TsSkinProvider>(form.get());
    Settle(form.get());
    system = CaptionBand(form->Handle());
    ASSERT_FALSE(system.empty());
  }
  void TearDown() override {
    for (HWND d : dialogs)
      if (IsWindow(d)) DestroyWindow(d);
    later.clear();
    form.reset();
    PurgeProviders();
    manager.reset();
  }

  // A shown framed form at Left; twins of one size and caption, so that their system frames
  // are alike pixel for pixel.
  template <class F = TFramedForm>
  F* NewFramedForm(int Left) {
    auto* f = new F(vcl::Application);
    f->SetBounds(Left, 80, 420, 280);
    f->Show();
    return f;
  }
  static void Settle(vcl::TForm* F) {
    wintest::PumpUntilIdle();
    RedrawWindow(F->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
  }
  void Wear(const SkinCase& Skin) {
    manager->SetSkinName(Skin.Name);
    ASSERT_TRUE(manager->Skin().SkinData.Active) << "the test skin did not load";
    if (form) Settle(form.get());
    for (const OwnedForm& f : later) Settle(f.get());
  }

  // The system draws the whole frame: its caption buttons and icon (WS_SYSMENU), no region, no
  // border window, and (given the frame it draws without a skin) the very same caption.
  void ExpectSystemFrame(vcl::TForm* F, const std::vector<COLORREF>* Without = nullptr) {
    // A document made under such a skin has no provider at all: the system's frame as well.
    TsSkinProvider* p = ProviderOf(F);
    ASSERT_TRUE(p || F->FormStyle() == vcl::fsMDIChild);
    const HWND wnd = F->Handle();
    if (p) {
      EXPECT_FALSE(p->FormSkinned());
      EXPECT_EQ(p->ExtBorderForm(), nullptr);
    }
    EXPECT_TRUE(HasSysMenu(wnd)) << "the system draws no caption buttons and no icon";
    EXPECT_FALSE(HasRegion(wnd));
    if (Without) {
      EXPECT_EQ(Differing(CaptionBand(wnd), *Without), 0) << "the caption is not the system's";
    }
  }
  // The skin draws the frame: WS_SYSMENU away, a border window (extended borders are on) for a
  // form of its own.
  void ExpectSkinnedFrame(vcl::TForm* F) {
    TsSkinProvider* p = ProviderOf(F);
    ASSERT_TRUE(p);
    EXPECT_TRUE(p->FormSkinned());
    EXPECT_FALSE(HasSysMenu(F->Handle()));
    if (F->FormStyle() != vcl::fsMDIChild) {
      EXPECT_NE(p->ExtBorderForm(), nullptr);
    }
  }
  // The first item of the form's menu line stands on the menu line of Skin.
  void ExpectMenuLineOf(vcl::TForm* F, const SkinCase& Skin) {
    RECT item{}, window{};
    ASSERT_TRUE(GetMenuItemRect(F->Handle(), GetMenu(F->Handle()), 0, &item));
    GetWindowRect(F->Handle(), &window);
    OffsetRect(&item, -window.left, -window.top);
    const auto pixels = Grab(F->Handle());
    const int area = (item.right - item.left) * (item.bottom - item.top);
    EXPECT_GT(CountColor(*pixels, item, Skin.MenuLine), area / 2) << "the item stands on something else";
    EXPECT_LT(CountColor(*pixels, item, 0), 10) << "black under the item";
  }

  HWND NewDialog() {
    const HWND d = CreateTestDialog(TwoControls());
    dialogs.push_back(d);
    wintest::PumpUntilIdle();
    return d;
  }
  static DialogTemplate TwoControls() {
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_VISIBLE,
                     L"A dialog", 200, 100);
    t.Item(0x0081, WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 10, 10, 120, 14, 100);
    t.Item(0x0080, WS_VISIBLE | BS_PUSHBUTTON, 10, 40, 50, 14, IDCANCEL);
    return t;
  }

  TempSkins skins;
  ManagerPtr manager;
  OwnedForm form;
  TsSkinProvider* provider = nullptr;
  std::vector<COLORREF> system;
  std::vector<OwnedForm> later;
  std::vector<HWND> dialogs;
};

// The skin arrives at a form without a section for it: the form stays as it was. So does a
// form made while such a skin is worn (the library gives it its provider), and the forms stay
// so as one such skin follows another.
TEST_F(FramesWithoutSection, AFormTheSkinHasNoSectionForKeepsTheSystemsWholeFrame) {
  for (const SkinCase* skin : {&kNoForm, &kNoForms, &kGlobalOnly}) {
    SCOPED_TRACE(std::string(skin->Name, skin->Name + std::wcslen(skin->Name)));
    Wear(*skin);
    ExpectSystemFrame(form.get(), &system);
    later.emplace_back(NewFramedForm(520));
    Settle(later.back().get());
    ExpectSystemFrame(later.back().get(), &system);
    if (!skin->Drop.contains("MENULINE")) ExpectMenuLineOf(form.get(), *skin);
  }
}

// A live switch from a skin with the form's section into one without gives the whole frame
// back to the system (buttons, icon, no region, no border window), the menu line's items on
// the new skin's line; switching back skins the frame again.
TEST_F(FramesWithoutSection, ALiveSwitchIntoSuchASkinGivesTheFrameBackAndOutOfItTakesItAgain) {
  Wear(kWhole);
  ExpectSkinnedFrame(form.get());
  for (const SkinCase* skin : {&kNoForm, &kNoForms}) {
    SCOPED_TRACE(std::string(skin->Name, skin->Name + std::wcslen(skin->Name)));
    Wear(*skin);
    ExpectSystemFrame(form.get(), &system);
    ExpectMenuLineOf(form.get(), *skin);
    Wear(kWhole);
    ExpectSkinnedFrame(form.get());
  }
  // A skin lacking the dialog's section only keeps the form skinned.
  Wear(kNoDialog);
  ExpectSkinnedFrame(form.get());
}

// Each window by its own section: a skin without the dialog's skins the form and leaves the
// dialog the system's frame; one without the form's the other way round.
TEST_F(FramesWithoutSection, ADialogAndAFormEachKeepTheSystemsFrameWithoutTheirOwnSection) {
  Wear(kNoDialog);
  ExpectSkinnedFrame(form.get());
  const HWND plain = NewDialog();
  EXPECT_TRUE(HasSysMenu(plain));
  EXPECT_FALSE(HasRegion(plain));

  Wear(kNoForm);
  ExpectSystemFrame(form.get(), &system);
  const HWND skinned = NewDialog();
  EXPECT_NE(DialogAdapterOf(skinned), nullptr);
  EXPECT_FALSE(HasSysMenu(skinned));
}

// An MDI frame and its documents: the system's frames under a skin without the forms'
// sections, for a document skinned before and one made meanwhile (the system puts a maximised
// document's icon and buttons on the frame's menu line); a switch to a whole skin skins them
// all again, the document made meanwhile too, and a switch back gives them back.
TEST_F(FramesWithoutSection, AnMdiFrameAndItsDocumentsKeepTheSystemsFramesThroughSwitches) {
  form.reset();
  // The frame is the application's main form, as in a program, and has its provider before the
  // skin comes; the documents get theirs from the library.
  later.emplace_back(vcl::Application->CreateForm<TFramedMdiFrame>());
  vcl::TForm* frame = later.back().get();
  vcl::Construct<TsSkinProvider>(frame);
  frame->SetBounds(60, 80, 600, 420);
  frame->Show();
  ASSERT_TRUE(frame->ClientHandle());
  std::vector<TFramedDocument*> documents;
  auto newDocument = [&](const wchar_t* Caption) {
    auto* document = new TFramedDocument(frame);
    document->SetCaption(Caption);
    document->SetBounds(10 + 30 * static_cast<int>(documents.size()), 10, 200, 150);
    document->Show();
    documents.push_back(document);
    wintest::PumpUntilIdle();
  };
  Wear(kWhole);
  newDocument(L"First");
  ExpectSkinnedFrame(frame);
  ExpectSkinnedFrame(documents[0]);
  const int items = GetMenuItemCount(GetMenu(frame->Handle()));

  Wear(kNoForms);
  newDocument(L"Second");
  ExpectSystemFrame(frame);
  for (TFramedDocument* d : documents) ExpectSystemFrame(d);
  // Maximised: the system puts the document's icon and buttons on the frame's menu line.
  SendMessageW(frame->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(documents.back()->Handle()), 0);
  wintest::PumpUntilIdle();
  EXPECT_GT(GetMenuItemCount(GetMenu(frame->Handle())), items);
  SendMessageW(frame->ClientHandle(), WM_MDIRESTORE, reinterpret_cast<WPARAM>(documents.back()->Handle()), 0);
  wintest::PumpUntilIdle();

  Wear(kWhole);
  ExpectSkinnedFrame(frame);
  for (TFramedDocument* d : documents) ExpectSkinnedFrame(d);
  Wear(kNoForms);
  ExpectSystemFrame(frame);
  for (TFramedDocument* d : documents) ExpectSystemFrame(d);
}

}  // namespace
}  // namespace skin_layered::test
