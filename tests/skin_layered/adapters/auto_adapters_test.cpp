// The automatic adapters of a skinned form's controls: exactly the adapter each class name's
// list gives (none for unlisted classes, Tag bit 0x100 or a veto), labels, speed buttons and
// frames; controls made later; nothing made twice; and every control's own look back unskinned.
#include "auto_support.h"

#include <set>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/LiveCounts.h"
#include "skin_layered/adapters/SpeedButtonHandler.h"
#include "skin_layered/forms/FrameAdapter.h"
#include "skin_layered/manager/SkinManager.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

// A button class of the tests' own: its own name stands on no list.
class TOwnButton : public vcl::TButton {
  VCL_CLASS(TOwnButton, vcl::TButton)
 public:
  using TButton::TButton;
};

}  // namespace

VCL_CLASS_INFO(TOwnButton) {}

namespace {

struct FormFree {
  void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
};

class AutoAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(skins, L"Flat", EveryKindSkinText(0));
    form.reset(new vcl::TForm(vcl::Application, 0));
    provider = vcl::Construct<TsSkinProvider>(form.get());
  }
  // The form's window made after the skin came: it takes the skin then.
  void Show() {
    form->SetBounds(-3000, -2000, form->Width(), form->Height());
    form->Show();
    wintest::PumpUntilIdle();
  }

  // The frame adapter a frame holds.
  static TsFrameAdapter* FrameAdapterOf(vcl::TFrame* Frame) {
    for (int i = 0; i < Frame->ComponentCount(); ++i)
      if (auto* a = dynamic_cast<TsFrameAdapter*>(Frame->Components(i))) return a;
    return nullptr;
  }
  TqvSpeedButtonHandler* HandlerOf(vcl::TSpeedButton* Button) const {
    return dynamic_cast<TqvSpeedButtonHandler*>(provider->Adapters().CtrlAdapter()->AdapterOf(Button));
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  TsSkinProvider* provider = nullptr;
};

TEST_F(AutoAdapters, EveryKindGetsTheAdapterItsListGives) {
  const EveryKind k = FillEveryKind(form.get());
  const vcl::TColor labelColor = k.label->Font()->Color();
  Show();
  ASSERT_TRUE(provider->Adapters().CtrlAdapter());

  size_t adapted = 0;
  for (const auto& [name, entry] : k.windowed) {
    // A page control's adapter gives its pages theirs.
    if (name == L"TabSheet") {
      EXPECT_EQ(AdapterClass(entry.first), ControlAdapterFactory(TqvAdapterKind::PageControl) ? L"TqvPageWnd" : L"");
      continue;
    }
    const std::wstring expected = ExpectedAdapter(entry.second);
    EXPECT_EQ(AdapterClass(entry.first), expected) << std::wstring(name);
    if (!expected.empty()) ++adapted;
  }
  // The radio group's buttons are check boxes by their own class name.
  auto* group = dynamic_cast<vcl::TRadioGroup*>(k.windowed.at(L"RadioGroup").first);
  ASSERT_EQ(group->ControlCount(), 2);
  for (int i = 0; i < group->ControlCount(); ++i) {
    EXPECT_EQ(AdapterClass(dynamic_cast<vcl::TWinControl*>(group->Controls(i))),
              ExpectedAdapter(TqvAdapterKind::CheckBox));
    ++adapted;
  }
  // The frame's own button too; each adapted control has exactly one item.
  EXPECT_EQ(AdapterClass(k.frameButton), ExpectedAdapter(TqvAdapterKind::Button));
  ++adapted;
  EXPECT_EQ(provider->Adapters().CtrlAdapter()->Items.size(), adapted);
  EXPECT_GT(adapted, 15u);  // some kinds are built: the walk made adapters
  ASSERT_TRUE(FrameAdapterOf(k.frame));
  EXPECT_EQ(SendCommandToWnd(k.frame->Handle(), scmIsSkinned, 0), 1);

  // Speed buttons: their handlers, the flat one in the small section.
  ASSERT_TRUE(HandlerOf(k.speed) && HandlerOf(k.flatSpeed));
  EXPECT_EQ(HandlerOf(k.speed)->SkinData->SkinSection(), L"SPEEDBUTTON");
  EXPECT_EQ(HandlerOf(k.flatSpeed)->SkinData->SkinSection(), L"SPEEDBUTTON_SMALL");
  EXPECT_EQ(provider->Adapters().CtrlAdapter()->GraphItems.size(), 2u);

  // The label in the skin's label colour.
  EXPECT_EQ(k.label->Font()->Color(), manager->GetGlobalFontColor());
  EXPECT_NE(k.label->Font()->Color(), labelColor);
}

TEST_F(AutoAdapters, AFormWhoseWindowCameAfterTheSkinTakesIt) {
  auto* button = Put<vcl::TButton>(form.get(), 8, 8, 80, 24);
  Show();
  // The skin arrived with the window: the system's caption buttons are off, the skinned
  // system menu and the controls' adapters are there.
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_TRUE(provider->CurrentSystemMenu());
  EXPECT_EQ(AdapterClass(button), L"TqvBtnWnd");

  // A provider made for a form that already has its window takes the skin at once too.
  std::unique_ptr<vcl::TForm, FormFree> other(new vcl::TForm(vcl::Application, 0));
  auto* edit = Put<vcl::TEdit>(other.get(), 8, 8, 80, 24);
  other->HandleNeeded();
  edit->HandleNeeded();
  auto* late = vcl::Construct<TsSkinProvider>(other.get());
  EXPECT_EQ(GetWindowLongPtrW(other->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
  ASSERT_TRUE(late->Adapters().CtrlAdapter());
  EXPECT_EQ(AdapterClass(edit), L"TqvEditWnd");
}

TEST_F(AutoAdapters, AProviderMadeBeforeTheSkinTakesItWithItsWindow) {
  std::unique_ptr<vcl::TForm, FormFree> early(new vcl::TForm(vcl::Application, 0));
  manager->SetActive(false);
  auto* first = vcl::Construct<TsSkinProvider>(early.get());
  auto* box = Put<vcl::TCheckBox>(early.get(), 8, 8, 120, 24);
  manager->SetActive(true);
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  early->SetBounds(-3000, -2000, 300, 200);
  early->Show();
  wintest::PumpUntilIdle();
  EXPECT_TRUE(first->SkinData->Skinned());
  EXPECT_EQ(GetWindowLongPtrW(early->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(AdapterClass(box), L"TqvCheckBoxWnd");
}

TEST_F(AutoAdapters, ASecondWalkAndARefreshMakeNoSecondAdapter) {
  const EveryKind k = FillEveryKind(form.get());
  Show();
  ASSERT_TRUE(provider->Adapters().CtrlAdapter());
  std::map<vcl::TWinControl*, TqvMainWnd*> before;
  for (const auto& [name, entry] : k.windowed) before[entry.first] = GetAdapter(entry.first->Handle());
  const size_t items = provider->Adapters().CtrlAdapter()->Items.size();

  provider->Adapters().CtrlAdapter()->AddAllItems();
  SendMessageW(form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager.get()));
  SendMessageW(form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmCtrlNotify), 0);
  wintest::PumpUntilIdle();

  EXPECT_EQ(provider->Adapters().CtrlAdapter()->Items.size(), items);
  for (const auto& [control, adapter] : before) EXPECT_EQ(GetAdapter(control->Handle()), adapter);
  int frameAdapters = 0;
  for (int i = 0; i < k.frame->ComponentCount(); ++i) frameAdapters += dynamic_cast<TsFrameAdapter*>(k.frame->Components(i)) != nullptr;
  EXPECT_EQ(frameAdapters, 1);
}

TEST_F(AutoAdapters, TagDescendantsVetoesAndTheListsDecide) {
  auto* tagged = Put<vcl::TButton>(form.get(), 8, 8, 80, 24);
  tagged->SetTag(0x100 | 7);
  auto* own = Put<TOwnButton>(form.get(), 8, 40, 80, 24);
  auto* vetoed = Put<vcl::TEdit>(form.get(), 8, 72, 80, 24);
  auto* sectioned = Put<vcl::TEdit>(form.get(), 8, 104, 80, 24);
  auto* panel = Put<vcl::TPanel>(form.get(), 100, 8, 80, 60);
  auto* label = Put<vcl::TLabel>(form.get(), 100, 80, 80, 16);
  auto* flat = Put<vcl::TSpeedButton>(form.get(), 100, 100, 80, 24);
  flat->SetFlat(true);
  auto* frame = Put<vcl::TFrame>(form.get(), 200, 8, 100, 60);
  const vcl::TColor labelColor = label->Font()->Color();
  // A class on two lists takes the lower kind.
  manager->ClassNameLists()->List(TqvAdapterKind::Edit)->Add(L"TPanel");

  struct Handlers {
    vcl::TControl* vetoed;
    vcl::TControl* sectioned;
    vcl::TControl* label;
    void Item(vcl::TComponent* Item, bool& CanBeAdded, vcl::String& Section) {
      if (Item == vetoed) CanBeAdded = false;
      if (Item == sectioned) Section = L"PANEL";
      if (dynamic_cast<vcl::TSpeedButton*>(Item) || dynamic_cast<vcl::TFrame*>(Item)) Section = L"BUTTON";
    }
    void ItemEx(vcl::TComponent* Item, bool&, TqvSkinParams* Params) {
      if (Item == label) Params->UseSkinFont = false;
    }
  } handlers{vetoed, sectioned, label};
  provider->OnSkinItem = TAddItemEvent::Bind<&Handlers::Item>(&handlers);
  provider->OnSkinItemEx = TAddItemExEvent::Bind<&Handlers::ItemEx>(&handlers);
  Show();

  EXPECT_EQ(AdapterClass(tagged), L"");
  EXPECT_EQ(AdapterClass(own), L"");
  EXPECT_EQ(AdapterClass(vetoed), L"");
  ASSERT_EQ(AdapterClass(sectioned), L"TqvEditWnd");
  EXPECT_EQ(GetAdapter(sectioned->Handle())->SkinData->SkinSection(), L"PANEL");
  EXPECT_EQ(AdapterClass(panel), L"TqvEditWnd");
  // The label kept its own font by the handler.
  EXPECT_EQ(label->Font()->Color(), labelColor);
  ASSERT_TRUE(HandlerOf(flat));
  EXPECT_EQ(HandlerOf(flat)->SkinData->SkinSection(), L"SPEEDBUTTON_SMALL");
  // A frame takes the group-box look whatever the events named, and paints it.
  TsFrameAdapter* frameAdapter = FrameAdapterOf(frame);
  ASSERT_TRUE(frameAdapter);
  EXPECT_EQ(frameAdapter->SkinData()->SkinSection(), L"GROUPBOX");
  MemoryPixels pixels(frame->Width(), frame->Height());
  SendMessageW(frame->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  const int groupBox = manager->GetSkinIndex(L"GROUPBOX");
  ASSERT_GE(groupBox, 0);
  EXPECT_EQ(pixels.At(50, 30),
            static_cast<COLORREF>(vcl::ColorToRGB(manager->Skin().Sections[static_cast<size_t>(groupBox)].Props[0].Color)));
  manager->ClassNameLists()->List(TqvAdapterKind::Edit)->Delete(manager->ClassNameLists()->List(TqvAdapterKind::Edit)->Count() - 1);
}

TEST_F(AutoAdapters, WithoutTheThirdPartyRuleNothingIsAdapted) {
  manager->SetSkinningRules({srStdForms, srStdDialogs});
  auto* button = Put<vcl::TButton>(form.get(), 8, 8, 80, 24);
  Show();
  EXPECT_EQ(AdapterClass(button), L"");
  ASSERT_TRUE(provider->Adapters().CtrlAdapter());
  EXPECT_TRUE(provider->Adapters().CtrlAdapter()->Items.empty());
  manager->SetSkinningRules({srStdForms, srStdDialogs, srThirdParty});
}

TEST_F(AutoAdapters, ControlsMadeAfterSkinningAreAdaptedAsTheirWindowsAppear) {
  Show();
  ASSERT_TRUE(provider->Adapters().CtrlAdapter());
  auto* panel = Put<vcl::TPanel>(form.get(), 8, 8, 200, 100);
  auto* edit = Put<vcl::TEdit>(panel, 8, 8, 120, 22);
  auto* button = Put<vcl::TButton>(panel, 8, 40, 120, 24);
  panel->HandleNeeded();
  edit->HandleNeeded();
  button->HandleNeeded();
  wintest::PumpUntilIdle();
  EXPECT_EQ(AdapterClass(panel), L"TqvPanelWnd");
  EXPECT_EQ(AdapterClass(edit), L"TqvEditWnd");
  EXPECT_EQ(AdapterClass(button), L"TqvBtnWnd");
  // A label put on the form takes the skin's label colour.
  auto* label = Put<vcl::TLabel>(form.get(), 8, 120, 80, 16);
  EXPECT_EQ(label->Font()->Color(), manager->GetGlobalFontColor());

  // A window made again gets an adapter again; the dead one's item goes.
  button->RecreateWnd();
  button->HandleNeeded();
  wintest::PumpUntilIdle();
  ASSERT_EQ(AdapterClass(button), L"TqvBtnWnd");
  provider->Adapters().CtrlAdapter()->DropDeadItems();
  int items = 0;
  for (TqvAdapterItem* item : provider->Adapters().CtrlAdapter()->Items)
    if (item->Control == button) ++items;
  EXPECT_EQ(items, 1);
}

TEST_F(AutoAdapters, UnskinningGivesEveryControlItsOwnLookBack) {
  const EveryKind k = FillEveryKind(form.get());
  auto* edit = dynamic_cast<vcl::TEdit*>(k.windowed.at(L"Edit").first);
  const vcl::TColor editColor = edit->Color();
  const vcl::TColor labelColor = k.label->Font()->Color();
  Show();
  ASSERT_EQ(AdapterClass(edit), L"TqvEditWnd");
  EXPECT_NE(edit->Color(), editColor);  // the section's colour while skinned

  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(provider->Adapters().CtrlAdapter());
  for (const auto& [name, entry] : k.windowed) {
    EXPECT_EQ(AdapterClass(entry.first), L"") << std::wstring(name);
    EXPECT_EQ(SendCommandToWnd(entry.first->Handle(), scmIsSkinned, 0), 0) << std::wstring(name);
  }
  EXPECT_EQ(AdapterClass(k.frameButton), L"");
  EXPECT_EQ(edit->Color(), editColor);
  EXPECT_EQ(k.label->Font()->Color(), labelColor);
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmGetSkinData, 0), 0);

  // The skin's return adapts them again.
  manager->SetActive(true);
  wintest::PumpUntilIdle();
  ASSERT_TRUE(provider->Adapters().CtrlAdapter());
  EXPECT_EQ(AdapterClass(edit), L"TqvEditWnd");
  EXPECT_EQ(k.label->Font()->Color(), manager->GetGlobalFontColor());
}

// Each adapter paints from a cache picture of its own; none keeps a DC for it. Once the
// program is idle the form holds no more DCs than before it was skinned, after painting and
// after a skin change alike (and while busy, only the few the library keeps for the next
// message).
TEST_F(AutoAdapters, AFormOfEveryKindHoldsNoDeviceContextOnceIdle) {
  const EveryKind k = FillEveryKind(form.get());
  vcl::FreeMemoryContexts();
  const int64_t before = vcl::LiveCount(vcl::TLiveKind::DeviceContexts);
  form->Show();
  ASSERT_TRUE(wintest::PumpUntilIdle());
  ASSERT_GT(provider->Adapters().CtrlAdapter()->Items.size(), 15u);
  auto held = [&] {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(wintest::PumpUntilIdle());
    EXPECT_LE(vcl::LiveCount(vcl::TLiveKind::DeviceContexts), before + 4);
    vcl::FreeMemoryContexts();  // done when the application is idle
    return vcl::LiveCount(vcl::TLiveKind::DeviceContexts) - before;
  };
  EXPECT_EQ(held(), 0);
  skins.Write(L"Other", L"Options.dat", BytesOf(EveryKindSkinText(1)));
  manager->SetSkinName(L"Other");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  EXPECT_EQ(held(), 0);
  // Larger, every cache made anew.
  form->SetBounds(20, 20, 1100, 800);
  EXPECT_EQ(held(), 0);
}

// The pixels of a window (its frame and client, copied from its own DC: what it shows) in a
// colour.
int ShownPixelsOf(HWND Wnd, COLORREF Color) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  const RECT box{0, 0, r.right - r.left, r.bottom - r.top};
  MemoryPixels shown(box.right, box.bottom);
  HDC dc = GetWindowDC(Wnd);
  BitBlt(shown.DC(), 0, 0, box.right, box.bottom, dc, 0, 0, SRCCOPY);
  ReleaseDC(Wnd, dc);
  return CountColor(shown, box, Color);
}

// Each control the keyboard's Tab reaches shows its section's hot colour while it has the focus
// (those that have a focus look) and none once Tab has taken the focus on, the pointer far
// away: a tree whose section's normal colour is its own window colour kept the hot background
// (its colour was set again only when it differed from the control's own), and an empty
// owner-drawn list kept the hot row its focus had painted (its rows alone are painted again).
// Under the every-kind skin, whose normal colours are none of the controls' own, under the
// sample skin, whose edits are white, and under the incomplete sample skin.
TEST_F(AutoAdapters, TabbingOnLeavesEveryControlWithoutItsFocusLook) {
  const EveryKind k = FillEveryKind(form.get());
  auto* tree = dynamic_cast<vcl::TTreeView*>(k.windowed.at(L"TreeView").first);
  ASSERT_TRUE(tree);
  for (const wchar_t* folder : {L"Pictures", L"Pages"}) {
    vcl::TTreeNode* node = tree->Items()->Add(nullptr, folder);
    for (int i = 1; i <= 4; ++i) tree->Items()->AddChild(node, vcl::String(folder) + L" " + std::to_wstring(i));
  }
  // On the screen, where the window has its pixels; the pointer held away from it. The form
  // takes the foreground, and takes it back whenever a program beside took it (the keys go to
  // the active window alone).
  const wintest::PointerLock pointer;
  form->SetBounds(30, 30, form->Width(), form->Height());
  form->Show();
  tree->FullExpand();
  wintest::PumpUntilIdle();
  ASSERT_TRUE(wintest::MovePointer(1900, 1060));
  auto nameOf = [&](HWND Wnd) {
    for (const auto& [name, entry] : k.windowed)
      if (entry.first->HandleAllocated() && entry.first->Handle() == Wnd) return std::wstring(name);
    return std::wstring(L"a control");
  };
  for (const wchar_t* skin : {L"", L"Lagoon", L"Sparse"}) {
    const bool sample = *skin != 0;
    if (sample) {
      manager->SetSkinDirectory(SampleSkins());
      manager->SetSkinName(skin);
      wintest::PumpUntilIdle();
    }
    const std::string within = sample ? vcl::WideToUtf8(skin) + ": " : "test skin: ";
    manager->SetHotWnd(nullptr);
    vcl::TWinControl* first = k.windowed.at(L"Button").first;
    first->SetFocus();
    HWND focus = first->Handle();
    std::set<std::wstring> judged;
    for (int step = 0; step < 40; ++step) {
      ASSERT_TRUE(wintest::ActiveWithFocusOn(form->Handle(), focus))
          << within << "the form did not become active with the focus on " << vcl::WideToUtf8(nameOf(focus));
      // A combo box's edit has the focus; the combo's adapter shows its look.
      HWND adapted = focus;
      if (!SendCommandToWnd(adapted, scmGetSkinData, 0)) adapted = GetParent(focus);
      auto* data = reinterpret_cast<TsCommonData*>(SendCommandToWnd(adapted, scmGetSkinData, 0));
      const TsGeneralData* section = data && data->Skinned() ? data->Section() : nullptr;
      const COLORREF hot = section && section->States > 1 ? vcl::ColorToRGB(section->Props[1].Color) : CLR_INVALID;
      const bool distinct = hot != CLR_INVALID && hot != static_cast<COLORREF>(vcl::ColorToRGB(section->Props[0].Color));
      const int focused = distinct ? ShownPixelsOf(adapted, hot) : 0;
      // A Tab the form got while a program beside had taken the foreground went nowhere: it is
      // given again once the form is active with the focus where it was.
      HWND reached = nullptr;
      bool moved = false;
      for (int attempt = 0; attempt < 3 && !moved; ++attempt) {
        ASSERT_TRUE(wintest::ActiveWithFocusOn(form->Handle(), focus)) << within << "step " << step;
        PostMessageW(focus, WM_KEYDOWN, VK_TAB, 0);
        vcl::Application->ProcessMessages();
        wintest::PumpUntil([&] { return GetFocus() != focus; });
        reached = GetFocus();
        moved = reached && reached != focus && GetActiveWindow() == form->Handle();
      }
      ASSERT_TRUE(moved) << within << "Tab left the focus on " << vcl::WideToUtf8(nameOf(focus)) << " (step " << step
                         << ", form active: " << (GetActiveWindow() == form->Handle()) << ")";
      wintest::PumpUntilIdle();
      if (focused > 0) {
        judged.insert(nameOf(adapted));
        EXPECT_EQ(ShownPixelsOf(adapted, hot), 0)
            << within << vcl::WideToUtf8(nameOf(adapted)) << " (" << focused << " hot pixels while focused)";
      }
      focus = reached;
      if (focus == first->Handle()) break;
    }
    // The controls of a focus look among them, every one of them judged (the incomplete skin's
    // edits have one).
    for (const wchar_t* name : {L"Edit", L"Memo", L"ListBox", L"CheckListBox", L"TreeView", L"ListView",
                                L"StringGrid", L"Button"})
      if (std::wstring(skin) != L"Sparse" || std::wstring(name) == L"Edit") {
        EXPECT_TRUE(judged.count(name)) << within << vcl::WideToUtf8(name);
      }
  }
}

// The skin's text without one of its sections.
std::string WithoutSection(std::string Text, const std::string& Name) {
  const size_t at = Text.find("[" + Name + "]\r\n");
  if (at == std::string::npos) return Text;
  const size_t next = Text.find("\r\n[", at);
  Text.erase(at, next == std::string::npos ? std::string::npos : next + 2 - at);
  return Text;
}

// Under a skin without the form's own section the form keeps the system's frame and face and
// its controls take their adapters, one look however it came about: the form's window made
// under that skin (its controls stayed the system's), the skin taken away and given back, a
// switch to it from a skin with the section; a control made later takes its adapter too. The
// skin with the section paints the form's frame and keeps the adapters.
TEST_F(AutoAdapters, AFormWhoseSectionTheSkinLacksHasItsControlsAdaptedAtStartAndAfterSwitches) {
  skins.Write(L"NoForm", L"Options.dat", BytesOf(WithoutSection(EveryKindSkinText(0), "FORM")));
  manager->SetSkinName(L"NoForm");
  ASSERT_TRUE(manager->Skin().SkinData.Active);
  ASSERT_LT(manager->GetSkinIndex(L"FORM"), 0);
  ASSERT_GE(manager->GetSkinIndex(L"BUTTON"), 0);
  // A section's face, normal or hot (the focused control's).
  const auto faceOf = [&](const wchar_t* Section, int State) {
    return static_cast<COLORREF>(vcl::ColorToRGB(
        manager->Skin().Sections[static_cast<size_t>(manager->GetSkinIndex(Section))].Props[State].Color));
  };
  const auto facePixels = [&](vcl::TWinControl* Control, const wchar_t* Section) {
    return ShownPixelsOf(Control->Handle(), faceOf(Section, 0)) + ShownPixelsOf(Control->Handle(), faceOf(Section, 1));
  };
  auto* edit = Put<vcl::TEdit>(form.get(), 8, 48, 120, 24);
  std::vector<vcl::TButton*> buttons{Put<vcl::TButton>(form.get(), 8, 8, 120, 30)};
  vcl::TButton* button = buttons.front();
  // On the screen, where the window has its pixels.
  form->SetBounds(30, 30, 400, 300);
  form->Show();
  wintest::PumpUntilIdle();
  auto expectOneLook = [&](const char* When) {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
    EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0) << When << ": the system's frame";
    EXPECT_FALSE(provider->FormSkinned()) << When;
    for (vcl::TButton* b : buttons) {
      EXPECT_EQ(AdapterClass(b), L"TqvBtnWnd") << When;
      EXPECT_GT(facePixels(b, L"BUTTON"), 0) << When << ": the button's face";
    }
    EXPECT_EQ(AdapterClass(edit), L"TqvEditWnd") << When;
    EXPECT_GT(facePixels(edit, L"EDIT"), 0) << When << ": the edit's face";
  };
  expectOneLook("opened under the skin");
  buttons.push_back(Put<vcl::TButton>(form.get(), 140, 8, 120, 30));
  wintest::PumpUntilIdle();
  expectOneLook("a button made later");

  manager->SetActive(false);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  wintest::PumpUntilIdle();
  EXPECT_EQ(AdapterClass(button), L"");
  EXPECT_EQ(facePixels(button, L"BUTTON"), 0);
  manager->SetActive(true);
  wintest::PumpUntilIdle();
  expectOneLook("the skin taken away and given back");

  // A skin with the section paints the frame; switched back, the system's frame again.
  manager->SetSkinName(L"Flat");
  wintest::PumpUntilIdle();
  EXPECT_TRUE(provider->FormSkinned());
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU, 0);
  EXPECT_EQ(AdapterClass(button), L"TqvBtnWnd");
  manager->SetSkinName(L"NoForm");
  wintest::PumpUntilIdle();
  expectOneLook("switched to from a skin with the section");
}

TEST_F(AutoAdapters, AFrameAdapterOnAnythingButAFrameIsRefused) {
  try {
    vcl::Construct<TsFrameAdapter>(form.get());
    FAIL() << "no exception";
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(e.Message(), L"TsFrameAdapter adapter must be placed on the handled frame");
  }
  EXPECT_EQ(form->ComponentCount(), 1);  // the provider alone
}

TEST_F(AutoAdapters, TheFrameAdapterLeavesALaterHookInPlace) {
  auto* frame = Put<vcl::TFrame>(form.get(), 8, 8, 200, 100);
  Show();
  TsFrameAdapter* adapter = FrameAdapterOf(frame);
  ASSERT_TRUE(adapter);
  EXPECT_EQ(SendCommandToWnd(frame->Handle(), scmIsSkinned, 0), 1);

  // A hook of another party above the adapter keeps working when the adapter goes.
  auto spy = std::make_unique<MessageCounter>(frame);
  vcl::TObject::Free(adapter);
  EXPECT_TRUE(spy->Hook().OnTop());
  const int seen = spy->Count();
  EXPECT_EQ(SendCommandToWnd(frame->Handle(), scmIsSkinned, 0), 0);
  EXPECT_GT(spy->Count(), seen);
  spy.reset();
  EXPECT_EQ(SendCommandToWnd(frame->Handle(), scmIsSkinned, 0), 0);
  frame->Invalidate();
  wintest::PumpUntilIdle();
}

}  // namespace
}  // namespace skin_layered::test
