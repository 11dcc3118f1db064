// Child discovery on real forms skinned through the manager: the skinner of each control kind,
// the SkinControls and disable-tag rules, Skin3rd and OnSkinControl, bare windows of a foreign
// window, controls made later, menus and tool bars, and unskinning giving everything back.
#include "mapping_support.h"

#include <algorithm>
#include <cstdio>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Frame.h"
#include "support/gdi_counts.h"
#include "classlib/rtl/TypInfo.h"
#include "skin_classic/controls/SkinButton.h"
#include "skin_classic/forms/SkinMenuPaint.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin::test {

// Classes named as another library's: the mapping knows them by name only.
class TNilButton : public vcl::TButton {
  VCL_CLASS(TNilButton, TButton)
 public:
  using TButton::TButton;
};
// A check box of another library that publishes "Checked" but no "State".
class TPlainCheck : public vcl::TRadioButton {
  VCL_CLASS(TPlainCheck, TRadioButton)
 public:
  using TRadioButton::TRadioButton;
};
class TFancyPanel : public vcl::TCustomControl {
  VCL_CLASS(TFancyPanel, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool Value) { transparent_ = Value; }

 private:
  bool transparent_ = false;
};
class TFancyEdit : public vcl::TCustomControl {
  VCL_CLASS(TFancyEdit, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  void SetBorder(bool Value) { border_ = Value; }

 protected:
  void CreateParams(vcl::TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    if (border_) Params.ExStyle |= WS_EX_CLIENTEDGE;
  }

 private:
  bool border_ = false;
};
class TFancyRadioGroup : public vcl::TCustomControl {
  VCL_CLASS(TFancyRadioGroup, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
};

// Controls of another library that take custom glyphs, named as that library names them.
class TGlyphTaker : public vcl::TCustomControl {
  VCL_CLASS(TGlyphTaker, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  vcl::TBitmap* CustomGlyphs() const { return glyphs_.get(); }
  void SetCustomGlyphs(vcl::TBitmap* Value) { glyphs_->Assign(Value); }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool Value) { use_ = Value; }

 private:
  std::unique_ptr<vcl::TBitmap> glyphs_ = std::make_unique<vcl::TBitmap>();
  bool use_ = false;
};
class TRzCheckBox : public TGlyphTaker {
  VCL_CLASS(TRzCheckBox, TGlyphTaker)
 public:
  using TGlyphTaker::TGlyphTaker;
};
class TRzRadioButton : public TGlyphTaker {
  VCL_CLASS(TRzRadioButton, TGlyphTaker)
 public:
  using TGlyphTaker::TGlyphTaker;
};
class TRzRadioGroup : public vcl::TCustomControl {
  VCL_CLASS(TRzRadioGroup, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
};

VCL_CLASS_INFO(TGlyphTaker) {
  p.Object<&TGlyphTaker::CustomGlyphs, &TGlyphTaker::SetCustomGlyphs>(L"CustomGlyphs", vcl::TBitmap::StaticClass());
  p.Bool<&TGlyphTaker::UseCustomGlyphs, &TGlyphTaker::SetUseCustomGlyphs>(L"UseCustomGlyphs", false);
}
VCL_CLASS_INFO(TRzCheckBox) {}
VCL_CLASS_INFO(TRzRadioButton) {}
VCL_CLASS_INFO(TRzRadioGroup) {}
VCL_CLASS_INFO(TNilButton) {}
VCL_CLASS_INFO(TPlainCheck) {}
VCL_CLASS_INFO(TFancyPanel) { p.Bool<&TFancyPanel::Transparent, &TFancyPanel::SetTransparent>(L"Transparent", false); }
VCL_CLASS_INFO(TFancyEdit) {}
VCL_CLASS_INFO(TFancyRadioGroup) {}
VCL_CLASS_INFO(TSkinTestForm) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

TEST_F(MappedForms, EveryControlKindGetsItsOneSkinner) {
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  for (const auto& [name, expected] : ExpectedSkinners())
    EXPECT_EQ(SkinnerClass(skin, kinds[name]), expected) << "for " << std::string(name.begin(), name.end());
  // The radio group's buttons are radio buttons; the page control's tabs repaint no graphic
  // children, the tab control's do.
  auto* group = static_cast<vcl::TWinControl*>(kinds[L"RadioGroup"]);
  ASSERT_EQ(group->ControlCount(), 2);
  for (int i = 0; i < group->ControlCount(); ++i)
    EXPECT_EQ(SkinnerClass(skin, group->Controls(i)), L"TSkinRadioButton");
  EXPECT_EQ(SkinnersOf(skin, kinds[L"TabControl"])[0]->Style(), 2);
  EXPECT_EQ(SkinnersOf(skin, kinds[L"PageControl"])[0]->Style(), 0);
  // Containers take the skin's face colour; the group box of a plain group does not.
  EXPECT_TRUE(SkinnersOf(skin, kinds[L"Panel"])[0]->SetsColor());
  EXPECT_TRUE(SkinnersOf(skin, kinds[L"RadioGroup"])[0]->SetsColor());
  EXPECT_FALSE(SkinnersOf(skin, kinds[L"GroupBox"])[0]->SetsColor());
  // The engine's own covering windows are no controls to skin.
  for (TSkinControl* s : skin->Skinners()) {
    if (s->Control()) {
      EXPECT_NE(s->Control()->ClassName(), L"TWScrollbar");
    }
  }

  // Mapping again makes no second skinner; a control freed takes its skinner along.
  const size_t count = skin->Skinners().size();
  skin->Mapping()->MapFormControls(form.get());
  skin->Mapping()->MapControl(kinds[L"Button"], form.get());
  EXPECT_EQ(skin->Skinners().size(), count);
  vcl::TObject::Free(kinds[L"Edit"]);
  EXPECT_EQ(skin->Skinners().size(), count - 1);
}

// Painting reads dozens of the skin's pictures into work pictures and masks; between paints
// only the few DCs the library keeps for the next message stay, not one for every picture
// drawn, however often and however large it is painted, and none once the program is idle.
TEST_F(MappedForms, PaintingEveryControlKindHoldsNoDeviceContextOnceIdle) {
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  vcl::FreeMemoryContexts();
  const wintest::GdiCounts before = wintest::CountGdi();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_GT(skin->Skinners().size(), 20u);
  constexpr int64_t kKeptForTheNextMessage = 4;
  // The DCs the program holds, memory and window DCs alike (taken raw or by a wrapper).
  auto repaint = [&] {
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_TRUE(wintest::PumpUntilIdle());
    const wintest::GdiCounts busy = wintest::CountGdi();
    EXPECT_EQ(busy.Live(wintest::GdiKind::WindowDC), before.Live(wintest::GdiKind::WindowDC));
    EXPECT_LE(busy.Live(wintest::GdiKind::MemoryDC) - before.Live(wintest::GdiKind::MemoryDC), kKeptForTheNextMessage);
    vcl::FreeMemoryContexts();  // done when the application is idle
    return wintest::CountGdi().Live(wintest::GdiKind::MemoryDC) - before.Live(wintest::GdiKind::MemoryDC);
  };
  EXPECT_LE(repaint(), 0);
  // Larger, with the hot and pressed pictures of a button drawn too.
  form->SetBounds(20, 20, 980, 700);
  SendMessageW(static_cast<vcl::TWinControl*>(kinds[L"Button"])->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
  SendMessageW(static_cast<vcl::TWinControl*>(kinds[L"Button"])->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
  EXPECT_LE(repaint(), 0);
  SendMessageW(static_cast<vcl::TWinControl*>(kinds[L"Button"])->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
  EXPECT_LE(repaint(), 0);
  // A switch to the skin in other colours reads and applies every picture anew.
  ReadVariant();
  RefreshSkinned();
  EXPECT_LE(repaint(), 0);
  EXPECT_EQ(vcl::ColorToRGB(form->Color()), 0x96785A);  // the switch took place
}

TEST_F(MappedForms, ARowNeedsItsSetMemberAndABitButtonWithoutItsMemberGetsNothing) {
  UseSkin([](TSkinData* d) {
    TSkinControlTypes kinds = d->SkinControls();
    kinds.Exclude(xcBitBtn);
    kinds.Exclude(xcCheckBox);
    kinds.Exclude(xcTab);
    d->SetSkinControls(kinds);
  });
  Owned<vcl::TForm> form = NewForm();
  auto* bit = Put<vcl::TBitBtn>(form.get(), 10, 10, 80, 24);
  auto* button = Put<vcl::TButton>(form.get(), 10, 40, 80, 24);
  auto* check = Put<vcl::TCheckBox>(form.get(), 10, 70, 80, 20);
  auto* pages = Put<vcl::TPageControl>(form.get(), 120, 10, 200, 120);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  // A bit button is a button, but its row ends the mapping without xcBitBtn.
  EXPECT_EQ(SkinnerClass(skin, bit), L"");
  EXPECT_EQ(SkinnerClass(skin, button), L"TSkinButton");
  EXPECT_EQ(SkinnerClass(skin, check), L"");
  EXPECT_EQ(SkinnerClass(skin, pages), L"");

  // With xcBitBtn and without xcButton the bit button is skinned and the button is not.
  UnskinAll();
  TSkinControlTypes kinds = data_->SkinControls();
  kinds.Include(xcBitBtn);
  kinds.Exclude(xcButton);
  data_->SetSkinControls(kinds);
  SkinAll(form->Handle());
  skin = Find(form->Handle());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, bit), L"TSkinBitButton");
  EXPECT_EQ(SkinnerClass(skin, button), L"");
}

TEST_F(MappedForms, TheDisableTagKeepsAControlAndAGroupsButtonsUnskinned) {
  Owned<vcl::TForm> form = NewForm();
  auto* kept = Put<vcl::TButton>(form.get(), 10, 10, 80, 24);
  kept->SetTag(data_->DisableTag());
  auto* group = Put<vcl::TRadioGroup>(form.get(), 10, 40, 150, 100);
  group->Items()->Add(L"One");
  group->Items()->Add(L"Two");
  group->SetTag(data_->DisableTag());
  auto* other = Put<vcl::TRadioGroup>(form.get(), 170, 40, 150, 100);
  other->Items()->Add(L"Three");
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, kept), L"");
  EXPECT_EQ(SkinnerClass(skin, group), L"");
  ASSERT_EQ(group->ControlCount(), 2);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(SkinnerClass(skin, group->Controls(i)), L"");
    EXPECT_EQ(group->Controls(i)->Tag(), data_->DisableTag());
  }
  EXPECT_EQ(SkinnerClass(skin, other), L"TSkinGroupBox");
  EXPECT_EQ(SkinnerClass(skin, other->Controls(0)), L"TSkinRadioButton");
  // A button the protected group makes later stays unskinned too.
  group->Items()->Add(L"Late");
  ASSERT_EQ(group->ControlCount(), 3);
  static_cast<vcl::TWinControl*>(group->Controls(2))->HandleNeeded();
  EXPECT_EQ(SkinnerClass(skin, group->Controls(2)), L"");

  // Unskinned, the buttons have their own tags back.
  UnskinAll();
  for (int i = 0; i < 2; ++i) EXPECT_EQ(group->Controls(i)->Tag(), 0);
}

TEST_F(MappedForms, Skin3rdKindsDecideForeignClassesAndNilKeepsAClassUnskinned) {
  UseSkin([](TSkinData* d) {
    d->Skin3rd()->Add(L"TNilButton=nil");
    d->Skin3rd()->Add(L"tfancypanel=Panel");
    d->Skin3rd()->Add(L"TFancyEdit=edit");
    d->Skin3rd()->Add(L"TFancyRadioGroup=RadioGroup");
  });
  Owned<vcl::TForm> form = NewForm();
  auto* nil = Put<TNilButton>(form.get(), 10, 10, 80, 24);
  auto* panel = Put<TFancyPanel>(form.get(), 10, 40, 120, 60);
  auto* bare = Put<TFancyEdit>(form.get(), 150, 10, 100, 22);
  auto* bordered = Put<TFancyEdit>(form.get(), 150, 40, 100, 22);
  bordered->SetBorder(true);
  auto* group = Put<TFancyRadioGroup>(form.get(), 10, 110, 150, 80);
  auto* inGroup = Put<vcl::TRadioButton>(group, 10, 10, 100, 20);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, nil), L"");  // a TButton all the same
  EXPECT_EQ(SkinnerClass(skin, panel), L"TSkinBox");
  EXPECT_TRUE(panel->Transparent());
  EXPECT_EQ(SkinnerClass(skin, bare), L"");  // an edit without a border
  EXPECT_EQ(SkinnerClass(skin, bordered), L"TSkinEdit");
  EXPECT_EQ(SkinnerClass(skin, group), L"TSkinGroupBox");
  EXPECT_EQ(SkinnerClass(skin, inGroup), L"TSkinRadioButton");

  UnskinAll();
  EXPECT_FALSE(panel->Transparent());  // given back
}

// The colour in the middle of a check box's mark, as the skin paints it (the mark at the left).
vcl::TColor MarkOf(vcl::TWinControl* Box) {
  auto b = Surface(Box->Width(), Box->Height(), vcl::clBlack);
  SendMessageW(Box->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return Pixel(b.get(), 6, Box->Height() / 2);
}

// A check box of another library without "State" (its "Checked" alone tells how it stands) shows
// the skin's third frame when not checked and the second when checked; the library's own check box
// (with "State") shows the first when not checked.
TEST_F(MappedForms, ACheckBoxWithoutStateShowsTheThirdFrameWhenNotChecked) {
  UseSkin([](TSkinData* d) { d->Skin3rd()->Add(L"TPlainCheck=checkbox"); });
  Owned<vcl::TForm> form = NewForm();
  auto* plain = Put<TPlainCheck>(form.get(), 10, 10, 120, 20);
  auto* own = Put<vcl::TCheckBox>(form.get(), 10, 40, 120, 20);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_EQ(SkinnerClass(skin, plain), L"TSkinCheckBox");
  ASSERT_EQ(SkinnerClass(skin, own), L"TSkinCheckBox");
  EXPECT_EQ(MarkOf(plain), C(FrameColour(kCheckPicture, 3)));
  EXPECT_EQ(MarkOf(own), C(FrameColour(kCheckPicture, 1)));
  plain->SetChecked(true);
  own->SetChecked(true);
  EXPECT_EQ(MarkOf(plain), C(FrameColour(kCheckPicture, 2)));
  EXPECT_EQ(MarkOf(own), C(FrameColour(kCheckPicture, 2)));
}

// Check boxes and radio buttons that take custom glyphs get the skin's marks from the mapping:
// by their class name, and inside a radio group of their library through Skin3rd.
TEST_F(MappedForms, GlyphTakingControlsGetTheSkinsMarksThroughTheMapping) {
  Owned<vcl::TForm> form = NewForm();
  auto* check = Put<TRzCheckBox>(form.get(), 10, 10, 100, 20);
  auto* alone = Put<TRzRadioButton>(form.get(), 10, 40, 100, 20);
  auto* group = Put<TRzRadioGroup>(form.get(), 10, 70, 150, 80);
  auto* inGroup = Put<TRzRadioButton>(group, 10, 10, 100, 20);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, check), L"TSkinObjImage");
  EXPECT_EQ(SkinnerClass(skin, inGroup), L"TSkinObjImage");
  EXPECT_EQ(SkinnerClass(skin, group), L"TSkinGroupBox");
  const TDataSkinButton* b = data_->Skin()->Buttons();
  const int checkSide = b->CheckBitmap->Width() / b->CheckButtonFrame;
  const int radioSide = b->RadioBitmap->Width() / b->RadioButtonFrame;
  // Nine check cells (checked, unchecked and greyed, each normal, pressed and disabled), six radio ones.
  EXPECT_EQ(check->CustomGlyphs()->Width(), 9 * checkSide);
  EXPECT_TRUE(check->UseCustomGlyphs());
  for (TGlyphTaker* radio : {static_cast<TGlyphTaker*>(alone), static_cast<TGlyphTaker*>(inGroup)}) {
    EXPECT_EQ(radio->CustomGlyphs()->Width(), 6 * radioSide);
    EXPECT_EQ(Pixel(radio->CustomGlyphs(), 4 * radioSide + 2, 2), C(FrameColour(kRadioPicture, 3)));
    EXPECT_TRUE(radio->UseCustomGlyphs());
  }
  UnskinAll();
  EXPECT_FALSE(check->UseCustomGlyphs());
  EXPECT_FALSE(inGroup->UseCustomGlyphs());
}

// A radio picture a column short of, at, a column past or half the count past its six stated
// frames is cut into whole frames: the glyph strip a glyph-taking radio button gets holds cells a
// frame wide, each showing its frame from its first column to its last, nothing left over.
TEST_F(MappedForms, GlyphStripsOfAPictureAColumnOffAWholeCountHoldWholeFrames) {
  constexpr int kFrames = 6;
  constexpr int kCells[] = {1, 2, 1, 2, 3, 4};
  for (const int width : {6 * 16 - 1, 6 * 16, 6 * 16 + 1, 6 * 16 + 3}) {  // about the complete skin's marks
    SCOPED_TRACE(width);
    const int side = width / kFrames;
    PackageSpec spec = CompleteSkinSpec();
    for (auto& e : spec.entries) {
      if (e.name == "Radio.bmp") e.bytes = FrameStrip(kRadioPicture, kFrames, side, width, 16);
      if (e.name == "Skin.INI") {
        std::string text(e.bytes.begin(), e.bytes.end());
        const std::string radio = "RadioButton=Radio.bmp\r\n";
        ASSERT_NE(text.find(radio), std::string::npos);
        text.replace(text.find(radio), radio.size(), radio + "RadioButtonFrame=6\r\n");
        e.bytes.assign(text.begin(), text.end());
      }
    }
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(data_ && !data_->Empty());
    Owned<vcl::TForm> form = NewForm();
    auto* radio = Put<TRzRadioButton>(form.get(), 10, 40, 100, 20);
    ASSERT_TRUE(ShowSkinned(form.get()));
    ASSERT_TRUE(radio->UseCustomGlyphs());
    vcl::TBitmap* glyphs = radio->CustomGlyphs();
    EXPECT_EQ(glyphs->Width(), kFrames * side);
    for (int i = 0; i < kFrames; ++i)
      for (const int x : {i * side, i * side + side - 1})
        EXPECT_EQ(Pixel(glyphs, x, 2), C(FrameColour(kRadioPicture, kCells[i]))) << "cell " << i << " at " << x;
  }
}

// Switched live to a skin without the marks, a glyph-taking control shows its own again, not the
// former skin's; a skin with the check marks alone leaves the radio button its own.
TEST_F(MappedForms, ASwitchToASkinWithoutTheMarksGivesGlyphTakingControlsTheirOwnBack) {
  Owned<vcl::TForm> form = NewForm();
  auto* check = Put<TRzCheckBox>(form.get(), 10, 10, 100, 20);
  auto* radio = Put<TRzRadioButton>(form.get(), 10, 40, 100, 20);
  ASSERT_TRUE(ShowSkinned(form.get()));
  ASSERT_TRUE(check->UseCustomGlyphs() && radio->UseCustomGlyphs());
  auto switchTo = [&](std::initializer_list<const char*> without) {
    PackageSpec spec = CompleteSkinSpec();
    std::erase_if(spec.entries, [&](const auto& e) {
      return std::any_of(without.begin(), without.end(), [&](const char* name) { return e.name == name; });
    });
    const std::vector<uint8_t> package = BuildPackage(spec);
    data_->SkinStream()->Clear();
    data_->SkinStream()->WriteBuffer(package.data(), static_cast<int64_t>(package.size()));
    data_->SkinStream()->SetPosition(0);
    ASSERT_TRUE(data_->LoadSkin());
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->RefreshSkinObjects(data_);
    SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
    ASSERT_TRUE(PumpUntil([] { return !SkinManager()->RequestSkinData(); }));
  };
  switchTo({"Radio.bmp"});
  EXPECT_TRUE(check->UseCustomGlyphs());
  EXPECT_FALSE(radio->UseCustomGlyphs()) << "the radio button keeps the former skin's marks";
  switchTo({"Check.bmp", "Radio.bmp"});
  EXPECT_FALSE(check->UseCustomGlyphs()) << "the check box keeps the former skin's marks";
  EXPECT_FALSE(radio->UseCustomGlyphs());
  // And back to a skin with them.
  switchTo({});
  EXPECT_TRUE(check->UseCustomGlyphs());
  EXPECT_TRUE(radio->UseCustomGlyphs());
  EXPECT_EQ(radio->CustomGlyphs()->Width(), 6 * (data_->Skin()->Buttons()->RadioBitmap->Width() /
                                                  data_->Skin()->Buttons()->RadioButtonFrame));
}

TEST(Skin3rdLookup, TheFirstLineNamingTheClassGivesItsKindLowerCased) {
  vcl::TStringList lines;
  for (const wchar_t* line : {L"TButtonX=edit", L"tbutton=Panel", L"TBUTTON=edit", L"TLong=" , L"TNone"})
    lines.Add(line);
  lines.Add(L"TWide=" + std::wstring(80, L'K'));
  vcl::String kind;
  EXPECT_TRUE(ThirdPartyKind(&lines, L"TButton", kind));
  EXPECT_EQ(kind, L"panel");
  EXPECT_TRUE(ThirdPartyKind(&lines, L"TLong", kind));
  EXPECT_EQ(kind, L"");
  EXPECT_TRUE(ThirdPartyKind(&lines, L"TWide", kind));
  EXPECT_EQ(kind, std::wstring(50, L'k'));
  EXPECT_FALSE(ThirdPartyKind(&lines, L"TNone", kind));
  EXPECT_FALSE(ThirdPartyKind(&lines, L"TButt", kind));
  EXPECT_FALSE(ThirdPartyKind(nullptr, L"TButton", kind));
  // The default list: the library's own classes are not in it.
  TSkinData data(nullptr);
  EXPECT_TRUE(ThirdPartyKind(data.Skin3rd(), L"TComboboxEx", kind));
  EXPECT_EQ(kind, L"combobox");
  EXPECT_FALSE(ThirdPartyKind(data.Skin3rd(), L"TComboBox", kind));
}

// The program's choice of skinners.
struct SkinnerChooser {
  vcl::TControl* target = nullptr;
  std::vector<std::wstring> classes;
  vcl::TObject* sender = nullptr;
  void Choose(vcl::TObject* Sender, TSkinData*, vcl::TComponent*, vcl::TControl* Control, const vcl::String& Class,
              TSkinControl*& Skinner) {
    sender = Sender;
    classes.push_back(Class);
    if (Control == target) Skinner = new TSkinButton(Control);
  }
};

// A face colour of the description no colour can have (a part beyond a byte or below 0, in
// any of its three places) is the system's, as a colour not given is: a panel, which takes
// the skin's face, shows the system's; a face at the range's edges (0, 255) is the skin's.
TEST_F(MappedForms, AFaceColourNoColourCanHaveIsTheSystemsAndOneAtTheRangesEdgesTheSkins) {
  const COLORREF system = GetSysColor(COLOR_BTNFACE);
  struct Case {
    const char* face;
    COLORREF shown;
  };
  for (const Case& c : {Case{"255 0 0", RGB(255, 0, 0)}, Case{"0 255 0", RGB(0, 255, 0)}, Case{"0 0 255", RGB(0, 0, 255)},
                        Case{"256 0 0", system}, Case{"0 256 0", system}, Case{"0 0 256", system}, Case{"-1 0 0", system},
                        Case{"0 -1 0", system}, Case{"0 0 -1", system}, Case{"4294967295 4294967295 4294967295", system},
                        Case{"2147483647 0 0", system}}) {
    SCOPED_TRACE(c.face);
    UseSkinWithLine("ButtonFace=200 201 202", std::string("ButtonFace=") + c.face);
    Owned<vcl::TForm> form = NewForm();
    auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 150, 80);
    panel->SetCaption(L"");
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    EXPECT_EQ(static_cast<COLORREF>(vcl::ColorToRGB(panel->Color())), c.shown);
    RedrawWindow(panel->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const HDC dc = GetDC(panel->Handle());
    EXPECT_EQ(GetPixel(dc, 75, 40), c.shown);
    ReleaseDC(panel->Handle(), dc);
  }
}

TEST_F(MappedForms, OnSkinControlChoosesASkinnerOrLetsTheTableDecide) {
  SkinnerChooser chooser;
  data_->OnSkinControl = TOnSkinControl::Bind<&SkinnerChooser::Choose>(&chooser);
  Owned<vcl::TForm> form = NewForm();
  auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 150, 80);
  auto* inside = Put<vcl::TCheckBox>(panel, 10, 10, 100, 20);
  auto* edit = Put<vcl::TEdit>(form.get(), 170, 10, 100, 22);
  chooser.target = panel;
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, panel), L"TSkinButton");
  EXPECT_EQ(SkinnerClass(skin, inside), L"TSkinCheckBox");  // a panel's children are mapped
  EXPECT_EQ(SkinnerClass(skin, edit), L"TSkinEdit");
  EXPECT_EQ(chooser.sender, form.get());
  EXPECT_NE(std::find(chooser.classes.begin(), chooser.classes.end(), L"TEDIT"), chooser.classes.end());
}

// ---------------------------------------------------------------------------------------
// Bare windows of a foreign window

struct BareCase {
  DWORD style;
  const wchar_t* cls;
  const wchar_t* skinner;
};

// A window class made from the system's scroll bar under a name of its own.
constexpr wchar_t kGripBarClass[] = L"SkinMappingGripBar";
void RegisterGripBarClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kGripBarClass, &wc)) return;
  ASSERT_TRUE(GetClassInfoExW(nullptr, L"ScrollBar", &wc));
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kGripBarClass;
  wc.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
  ASSERT_TRUE(RegisterClassExW(&wc));
}

TEST_F(MappedForms, BareWindowsAreMappedByClassAndButtonType) {
  const BareCase cases[] = {
      {BS_PUSHBUTTON, L"Button", L"TSkinButton"},
      {BS_DEFPUSHBUTTON, L"Button", L"TSkinButton"},
      {BS_CHECKBOX, L"Button", L"TSkinCheckBox"},
      {BS_AUTOCHECKBOX, L"Button", L"TSkinCheckBox"},
      {BS_3STATE, L"Button", L"TSkinCheckBox"},
      {BS_AUTO3STATE, L"Button", L"TSkinCheckBox"},
      {BS_RADIOBUTTON, L"Button", L"TSkinRadioButton"},
      {BS_AUTORADIOBUTTON, L"Button", L"TSkinRadioButton"},
      {BS_GROUPBOX, L"Button", L""},
      {BS_OWNERDRAW, L"Button", L""},
      // The other types by the style's bits: a user button is pushed, a push box and the default
      // split button and command link are checked, a split button is a radio button.
      {BS_USERBUTTON, L"Button", L"TSkinButton"},
      {BS_PUSHBOX, L"Button", L"TSkinCheckBox"},
      {BS_SPLITBUTTON, L"Button", L"TSkinRadioButton"},
      {BS_DEFSPLITBUTTON, L"Button", L"TSkinCheckBox"},
      {BS_COMMANDLINK, L"Button", L"TSkinCheckBox"},
      {BS_DEFCOMMANDLINK, L"Button", L""},
      {BS_PUSHBUTTON | BS_BITMAP, L"Button", L""},
      {CBS_DROPDOWN, L"ComboBox", L"TSkinComBox"},
      {CBS_SIMPLE, L"ComboBox", L""},
      {ES_AUTOHSCROLL, L"Edit", L"TSkinEdit"},
      {ES_LOWERCASE, L"Edit", L"TSkinEdit"},  // the grip's style bit means something else here
      {SBS_VERT, L"ScrollBar", L""},
      {SBS_SIZEGRIP, L"ScrollBar", L"TSkinSizer"},
      {SBS_SIZEBOX, L"ScrollBar", L"TSkinSizer"},
      {SBS_SIZEGRIP | WS_TABSTOP, L"ScrollBar", L""},
      // A scroll bar of a class of its own made from the system's: a grip is a grip all the same.
      {SBS_SIZEGRIP, kGripBarClass, L"TSkinSizer"},
      {SBS_VERT, kGripBarClass, L""},
      {0, L"SysTreeView32", L""},
  };
  RegisterGripBarClass();
  UniqueWindow host(CreateWindowExW(0, L"#32770", L"Foreign dialog", WS_OVERLAPPEDWINDOW, 40, 40, 500, 400, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
  ASSERT_TRUE(host);
  std::vector<HWND> children;
  int y = 4;
  for (const BareCase& c : cases) {
    children.push_back(CreateWindowExW(0, c.cls, L"x", WS_CHILD | WS_VISIBLE | c.style, 4, y, 120, 18, host.get(),
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(children.back());
    y += 16;
  }
  ShowWindow(host.get(), SW_SHOW);
  if (!Find(host.get())) SkinManager()->SkinForm(host.get());
  ASSERT_TRUE(PumpUntil([&] { return Ready(host.get()); }));
  TWinSkinForm* skin = Find(host.get());
  for (size_t i = 0; i < children.size(); ++i) {
    TSkinControl* s = skin->FindSkinner(children[i]);
    EXPECT_EQ(s ? std::wstring(s->ClassName()) : std::wstring(), cases[i].skinner) << "case " << i;
  }
  // Mapping the children again makes no second skinner.
  const size_t count = skin->Skinners().size();
  skin->Mapping()->MapWindowChildren(host.get());
  EXPECT_EQ(skin->Skinners().size(), count);

  // Unskinned, no skinner answers for any child.
  UnskinAll();
  for (HWND child : children) EXPECT_EQ(SendMessageW(child, SKM_QUERYNOSKIN, 0, 0), 0);
}

TEST_F(MappedForms, ControlsMadeAfterSkinningAndRecreatedWindowsAreSkinned) {
  Owned<vcl::TForm> form = NewForm();
  auto* panel = Put<vcl::TPanel>(form.get(), 10, 10, 200, 120);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  auto* late = Put<vcl::TButton>(form.get(), 220, 10, 80, 24);
  late->HandleNeeded();
  EXPECT_EQ(SkinnerClass(skin, late), L"TSkinButton");
  auto* nested = Put<vcl::TCheckBox>(panel, 10, 10, 100, 20);
  nested->HandleNeeded();
  EXPECT_EQ(SkinnerClass(skin, nested), L"TSkinCheckBox");
  // A new group box brings its children.
  auto* box = new vcl::TGroupBox(form.get());
  box->SetBounds(220, 50, 150, 80);
  auto* inBox = Put<vcl::TRadioButton>(box, 10, 20, 100, 20);
  box->SetParent(form.get());
  box->HandleNeeded();
  EXPECT_EQ(SkinnerClass(skin, box), L"TSkinGroupBox");
  EXPECT_EQ(SkinnerClass(skin, inBox), L"TSkinRadioButton");

  // A page shown for the first time makes its windows then: they are skinned as they come.
  auto* pages = Put<vcl::TPageControl>(form.get(), 10, 210, 200, 120);
  auto* front = new vcl::TTabSheet(form.get());
  front->SetPageControl(pages);
  auto* back = new vcl::TTabSheet(form.get());
  back->SetPageControl(pages);
  auto* notes = Put<vcl::TMemo>(back, 4, 4, 150, 60);
  pages->SetActivePage(front);
  pages->HandleNeeded();
  EXPECT_FALSE(notes->HandleAllocated());
  EXPECT_EQ(SkinnerClass(skin, pages), L"TSkinTab");
  pages->SetActivePage(back);
  ASSERT_TRUE(notes->HandleAllocated());
  EXPECT_EQ(SkinnerClass(skin, back), L"TSkinTabSheet");
  EXPECT_EQ(SkinnerClass(skin, notes), L"TSkinScrollbar");

  // A re-created window gets a skinner again; the old one goes at the next pass.
  const HWND before = late->Handle();
  late->RecreateWnd();
  late->HandleNeeded();
  ASSERT_NE(late->Handle(), before);
  EXPECT_EQ(SkinnerClass(skin, late), L"TSkinButton");
  EXPECT_EQ(SkinnersOf(skin, late)[0]->Handle(), late->Handle());
  const size_t withDead = skin->Skinners().size();
  skin->Mapping()->MapFormControls(form.get());
  EXPECT_EQ(skin->Skinners().size(), withDead - 1);

  // A memo's scroll-bar skinner is replaced after its re-created window's notice.
  auto* memo = Put<vcl::TMemo>(form.get(), 10, 140, 150, 60);
  memo->HandleNeeded();
  ASSERT_EQ(SkinnerClass(skin, memo), L"TSkinScrollbar");
  memo->RecreateWnd();
  memo->HandleNeeded();
  wintest::PumpUntilIdle();  // the notice is posted to the form
  EXPECT_EQ(SkinnerClass(skin, memo), L"TSkinScrollbar");
  EXPECT_EQ(SkinnersOf(skin, memo)[0]->Handle(), memo->Handle());

  // Unskinned, nothing made later is skinned.
  UnskinAll();
  auto* after = Put<vcl::TButton>(form.get(), 220, 140, 80, 24);
  after->HandleNeeded();
  EXPECT_EQ(after->Perform(SKM_QUERYNOSKIN, 0, 0), 0);
}

// ---------------------------------------------------------------------------------------
// Menus and tool bars

struct OwnDrawing {
  int measured = 0;
  void Measure(vcl::TObject*, vcl::TCanvas*, int&, int&) { ++measured; }
};

TEST_F(MappedForms, PopupMenusTakeTheSkinnedPaintingAndGetTheirOwnSettingsBack) {
  Owned<vcl::TForm> form = NewForm();
  auto* popup = new vcl::TPopupMenu(form.get());
  auto* plain = new vcl::TMenuItem(form.get());
  plain->SetCaption(L"Plain");
  popup->Items()->Add(plain);
  auto* own = new vcl::TMenuItem(form.get());
  own->SetCaption(L"Own");
  OwnDrawing drawing;
  own->OnMeasureItem = vcl::TMenuMeasureItemEvent::Bind<&OwnDrawing::Measure>(&drawing);
  popup->Items()->Add(own);
  auto* sub = new vcl::TMenuItem(form.get());
  sub->SetCaption(L"Sub");
  own->Add(sub);
  auto* drawn = new vcl::TPopupMenu(form.get());
  drawn->SetOwnerDraw(true);  // the program's own owner drawing
  drawn->Items()->Add(new vcl::TMenuItem(form.get()));
  auto* kept = new vcl::TPopupMenu(form.get());
  kept->SetTag(data_->DisableTag());
  auto* keptItem = new vcl::TMenuItem(form.get());
  kept->Items()->Add(keptItem);

  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuPainter());
  EXPECT_TRUE(popup->OwnerDraw());
  for (vcl::TMenuItem* item : {plain, own, sub}) EXPECT_TRUE(skin->MenuPainter()->Paints(item));
  EXPECT_FALSE(kept->OwnerDraw());
  EXPECT_FALSE(skin->MenuPainter()->Paints(keptItem));

  UnskinAll();
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_TRUE(drawn->OwnerDraw());  // its own setting
  EXPECT_FALSE(plain->OnMeasureItem || plain->OnAdvancedDrawItem);
  EXPECT_TRUE(own->OnMeasureItem == vcl::TMenuMeasureItemEvent::Bind<&OwnDrawing::Measure>(&drawing));
  EXPECT_FALSE(own->OnAdvancedDrawItem);
  EXPECT_FALSE(sub->OnMeasureItem);

  // Items freed while skinned are simply forgotten.
  SkinAll(form->Handle());
  vcl::TObject::Free(sub);
  vcl::TObject::Free(drawn);
  UnskinAll();
  EXPECT_FALSE(popup->OwnerDraw());
}

TEST_F(MappedForms, MainMenusWithoutASkinnedBarTakeThePaintingBelowTheirTopItems) {
  UseSkin([](TSkinData* d) {
    TSkinControlTypes kinds = d->SkinControls();
    kinds.Exclude(xcMainMenu);
    kinds.Include(xcMenuItem);
    d->SetSkinControls(kinds);
  });
  Owned<vcl::TForm> form = NewForm();
  auto* menu = new vcl::TMainMenu(form.get());
  auto* top = new vcl::TMenuItem(form.get());
  top->SetCaption(L"&File");
  menu->Items()->Add(top);
  auto* item = new vcl::TMenuItem(form.get());
  item->SetCaption(L"&Open");
  top->Add(item);
  auto* own = new vcl::TMenuItem(form.get());
  OwnDrawing drawing;
  own->OnMeasureItem = vcl::TMenuMeasureItemEvent::Bind<&OwnDrawing::Measure>(&drawing);
  top->Add(own);
  form->SetMenu(menu);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_FALSE(skin->SkinFrame);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_FALSE(skin->MenuPainter()->Paints(top));
  EXPECT_TRUE(skin->MenuPainter()->Paints(item));
  EXPECT_FALSE(skin->MenuPainter()->Paints(own));
  UnskinAll();
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(item->OnAdvancedDrawItem);
  EXPECT_TRUE(own->OnMeasureItem == vcl::TMenuMeasureItemEvent::Bind<&OwnDrawing::Measure>(&drawing));
}

TEST_F(MappedForms, ToolBarsGetTheSkinsDrawingAndTheirOwnBack) {
  Owned<vcl::TForm> form = NewForm();
  auto* bar = new vcl::TToolBar(form.get());
  bar->SetParent(form.get());
  auto* button = new vcl::TToolButton(form.get());
  button->SetParent(bar);
  ASSERT_FALSE(bar->Flat());
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(SkinnerClass(skin, bar), L"TSkinBox");
  EXPECT_TRUE(bar->Flat());
  // The mapping sees the form as its frame.
  TFormFrame* frame = skin;
  EXPECT_TRUE(bar->OnCustomDraw == vcl::TTBCustomDrawEvent::Bind<&TFormFrame::DrawToolbarBackground>(frame));
  EXPECT_TRUE(bar->OnCustomDrawButton == vcl::TTBCustomDrawBtnEvent::Bind<&TFormFrame::DrawToolbarButton>(frame));
  UnskinAll();
  EXPECT_FALSE(bar->Flat());
  EXPECT_FALSE(bar->OnCustomDraw);
  EXPECT_FALSE(bar->OnCustomDrawButton);
}

// A tool bar printed into a memory bitmap, as it paints itself (with its drawing events).
std::unique_ptr<vcl::TBitmap> Printed(vcl::TWinControl* Control) {
  auto b = Surface(Control->Width(), Control->Height(), vcl::clBlack);
  SendMessageW(Control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
               PRF_CLIENT | PRF_ERASEBKGND | PRF_NONCLIENT);
  return b;
}

// What lies inside a button's corner once the bar's button drawing event has run: the tool bar
// still draws its own button over it, so the program's later drawing event looks first.
struct ButtonFaceProbe {
  vcl::TColor seen = vcl::clNone;
  void Draw(vcl::TToolBar* Sender, vcl::TToolButton* Button, vcl::TCustomDrawState, vcl::TCustomDrawStage Stage,
            vcl::TTBCustomDrawFlags&, bool&) {
    if (Stage == vcl::cdPrePaint)
      seen = Sender->Canvas()->Pixels(Button->BoundsRect().Left + 2, Button->BoundsRect().Top + 2);
  }
};

// The drawing events the mapping gives a tool bar follow the skin data's options: the skin's
// tool bar picture behind the bar only without xoToolbarBK (which the default options hold), the
// skin's face behind a pressed button only without xoToolbarButton.
TEST_F(MappedForms, ToolBarDrawingFollowsTheToolBarOptions) {
  struct Case {
    const char* name;
    TSkinOptions options;
    bool background, faces;
  };
  for (const Case& c : {Case{"default options", kDefaultSkinOptions, false, true},
                        Case{"no tool bar options", TSkinOptions{xoPreview}, true, true},
                        Case{"xoToolbarButton", TSkinOptions{xoPreview, xoToolbarButton}, true, false}}) {
    SCOPED_TRACE(c.name);
    UseSkin([&](TSkinData* d) { d->SetOptions(c.options); });
    Owned<vcl::TForm> form = NewForm();
    auto* bar = new vcl::TToolBar(form.get());
    bar->SetParent(form.get());
    bar->SetShowCaptions(true);
    auto* button = new vcl::TToolButton(form.get());
    button->SetCaption(L"Open");
    button->SetParent(bar);
    ButtonFaceProbe probe;
    bar->OnAdvancedCustomDrawButton = vcl::TTBAdvancedCustomDrawBtnEvent::Bind<&ButtonFaceProbe::Draw>(&probe);
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    ASSERT_TRUE(bar->OnCustomDraw && bar->OnCustomDrawButton);
    PumpUntilIdle();

    // The skin's picture as the background event stretches it over the bar.
    TDataSkinObject* picture = data_->Skin()->Element(SkinElement::Toolbar);
    ASSERT_TRUE(picture && picture->HasBitmap());
    auto expected = Surface(bar->Width(), bar->Height(), vcl::clBlack);
    DrawToolbarBackground(expected->Canvas(), vcl::Rect(0, 0, bar->Width(), bar->Height()), picture);
    auto printed = Printed(bar);
    const TPoint empty(bar->Width() - 4, bar->Height() / 2);
    EXPECT_EQ(Pixel(printed.get(), empty.X, empty.Y) == Pixel(expected.get(), empty.X, empty.Y), c.background);

    // A pressed button: frame 2 of the skin's button picture (a button in no state gets none).
    TBBUTTON tb{};
    SendMessageW(bar->Handle(), TB_GETBUTTON, 0, reinterpret_cast<LPARAM>(&tb));
    SendMessageW(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(tb.idCommand), TRUE);
    Printed(bar);
    EXPECT_EQ(probe.seen == C(FrameColour(kButtonsPicture, 2)), c.faces);
    // Nor while the form is not skinned and ready (its size being adjusted).
    skin->State = TSkinFormState::Sizing;
    Printed(bar);
    skin->State = TSkinFormState::Ready;
    EXPECT_NE(probe.seen, C(FrameColour(kButtonsPicture, 2)));
    SendMessageW(bar->Handle(), TB_PRESSBUTTON, static_cast<WPARAM>(tb.idCommand), FALSE);
    Printed(bar);
    EXPECT_NE(probe.seen, C(FrameColour(kButtonsPicture, 2)));
    EXPECT_NE(probe.seen, C(FrameColour(kButtonsPicture, 1)));
  }
}

// A skinned form's status bar shows the skin's size grip (frame 5 of its extra images) with its
// bottom-right corner one pixel in from the bar's: the bar's last row and column stay the bar's.
TEST_F(MappedForms, TheStatusBarsGripEndsOnePixelInFromTheBarsCorner) {
  Owned<vcl::TForm> form = NewForm();
  auto* bar = new vcl::TStatusBar(form.get());
  bar->SetParent(form.get());
  bar->SetSimplePanel(true);
  bar->SetSizeGrip(true);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_EQ(SkinnerClass(skin, bar), L"TSkinStatusBar");
  ASSERT_TRUE(GetWindowLongPtrW(bar->Handle(), GWL_STYLE) & SBARS_SIZEGRIP);
  TDataSkinObject* extra = data_->Skin()->Element(SkinElement::ExtraImages);
  ASSERT_TRUE(extra && extra->HasBitmap());
  const int fw = extra->Bitmap->Width() / extra->Frame, fh = extra->Bitmap->Height();
  auto picture = Surface(bar->Width(), bar->Height(), vcl::clBlack);
  SendMessageW(bar->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()), 0);
  const int w = bar->Width(), h = bar->Height();
  const vcl::TColor grip = C(FrameColour(kExtraPicture, 5));
  EXPECT_EQ(Pixel(picture.get(), w - 2, h - 2), grip);
  EXPECT_EQ(Pixel(picture.get(), w - 1 - fw, h - 1 - fh), grip);
  EXPECT_NE(Pixel(picture.get(), w - 1, h - 1), grip);
  EXPECT_NE(Pixel(picture.get(), w - 2, h - 1), grip);
  EXPECT_NE(Pixel(picture.get(), w - 1, h - 2), grip);
  EXPECT_NE(Pixel(picture.get(), w - 2 - fw, h - 2), grip);
  EXPECT_NE(Pixel(picture.get(), w - 2, h - 2 - fh), grip);
}

// A new skin in the skin data gives the form the new skin's colour, and the forms and frames
// embedded in it too, also those the mapping leaves alone (tagged with the disable tag).
TEST_F(MappedForms, ANewSkinRecoloursTheEmbeddedFramesAsTheEmbeddedForms) {
  Owned<vcl::TForm> form = NewForm();
  // Each with a colour of its own, not its parent's.
  auto* frame = Put<vcl::TFrame>(form.get(), 10, 10, 100, 80);
  frame->SetColor(vcl::clWhite);
  auto* leftAlone = Put<vcl::TFrame>(form.get(), 120, 10, 100, 80);
  leftAlone->SetTag(data_->DisableTag());
  leftAlone->SetColor(vcl::clWhite);
  auto* embedded = Put<vcl::TForm>(form.get(), 230, 10, 100, 80);
  embedded->SetTag(data_->DisableTag());
  embedded->SetColor(vcl::clWhite);
  embedded->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  embedded->Show();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  const vcl::TColor first = C(kSkinButtonFace);
  ASSERT_EQ(form->Color(), first);
  ASSERT_EQ(frame->Color(), first);
  ASSERT_EQ(leftAlone->Color(), vcl::clWhite);

  // The same skin with another face colour, applied as a new skin file is.
  PackageSpec spec = CompleteSkinSpec();
  for (auto& entry : spec.entries) {
    std::string text(entry.bytes.begin(), entry.bytes.end());
    const std::string face = "ButtonFace=200 201 202";
    if (const size_t at = text.find(face); at != std::string::npos) {
      text.replace(at, face.size(), "ButtonFace=90 91 92");
      entry.bytes = ToBytes(text);
    }
  }
  Fill(*data_->SkinStream(), BuildPackage(spec));
  ASSERT_TRUE(data_->LoadSkin());
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::Refresh, 1);
  const vcl::TColor second = C(MakeRgb(90, 91, 92));
  ASSERT_TRUE(PumpUntil([&] { return form->Color() == second && Ready(form->Handle()); }));
  EXPECT_EQ(frame->Color(), second);
  EXPECT_EQ(leftAlone->Color(), second);
  EXPECT_EQ(embedded->Color(), second);
}

// A skin read anew into the skin data frees the skin read before: the caption buttons made
// from it go from the forms skinned with it at once, so that the messages reaching a form
// before its refresh (a hit test, a frame paint) find none of them; the refresh makes them
// from the new skin.
TEST_F(MappedForms, ASkinReadAnewTakesTheOldSkinsCaptionButtonsFromTheFormsAtOnce) {
  Owned<vcl::TForm> form = NewForm();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  ASSERT_FALSE(skin->Buttons().empty());
  Fill(*data_->SkinStream(), BuildPackage(CompleteSkinSpec()));
  ASSERT_TRUE(data_->LoadSkin());
  EXPECT_TRUE(skin->Buttons().empty());
  RECT frame{};
  GetWindowRect(form->Handle(), &frame);
  SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(frame.right - 12, frame.top + 10));
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  RefreshSkinned();
  skin = Find(form->Handle());
  ASSERT_TRUE(skin);
  ASSERT_FALSE(skin->Buttons().empty());
  // A button for each of the new skin's (besides the form's own standard ones).
  const auto& made = data_->Skin()->SysButtons();
  ASSERT_FALSE(made.empty());
  const auto fromNewSkin = std::ranges::count_if(skin->Buttons(), [&](const auto& button) {
    return std::ranges::any_of(made, [&](const auto& d) { return d.get() == button->Data; });
  });
  EXPECT_EQ(static_cast<size_t>(fromNewSkin), made.size());
}

// A control painted into a memory bitmap by its own WM_PAINT (the DC in wParam).
std::unique_ptr<vcl::TBitmap> PaintedBy(vcl::TWinControl* Control) {
  auto b = Surface(Control->Width(), Control->Height(), vcl::clBlack);
  SendMessageW(Control->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return b;
}

// The pixels of a painted window that show a frame of a picture of the complete skin.
int PixelsOfPicture(vcl::TBitmap* b, int Id, int Frames) {
  int n = 0;
  for (int y = 0; y < b->Height(); ++y)
    for (int x = 0; x < b->Width(); ++x)
      for (int f = 1; f <= Frames; ++f) n += Pixel(b, x, y) == C(FrameColour(Id, f)) ? 1 : 0;
  return n;
}

// A skin file that does not exist, given to the skin data in use (by its name, and empty), is
// ignored: the skin stays whole, for the tabs of a form skinned with it, for its frame and for a
// form shown after; the name stays stored. A file that does exist is read as before.
TEST_F(MappedForms, ASkinFileThatDoesNotExistLeavesTheSkinInUseWhole) {
  Owned<vcl::TForm> form = NewForm();
  auto* tabs = Put<vcl::TTabControl>(form.get(), 10, 10, 200, 100, form.get());
  tabs->Tabs()->Add(L"One");
  tabs->Tabs()->Add(L"Two");
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  const auto before = PaintedBy(tabs);
  ASSERT_GT(PixelsOfPicture(before.get(), kTabsPicture, 5), 0) << "the tabs show the skin";
  const TDataSkinBorder* top = data_->Skin()->Border(SkinBorder::Top);
  const int topHeight = skin->TopHeight;
  ASSERT_GT(topHeight, 0);

  const std::wstring missing = wintest::UniqueTempPath(L"no_such_skin") + L".skn";
  for (const std::wstring& name : {missing, std::wstring()}) {
    SCOPED_TRACE(vcl::WideToUtf8(name));
    data_->SetSkinFile(name);
    EXPECT_EQ(data_->SkinFile(), name);
    EXPECT_FALSE(data_->Empty());
    EXPECT_EQ(data_->Skin()->Border(SkinBorder::Top), top);
    EXPECT_TRUE(top->HasBitmap());
    EXPECT_TRUE(wintest::PumpUntilIdle());
    const auto after = PaintedBy(tabs);
    EXPECT_EQ(PixelsOfPicture(after.get(), kTabsPicture, 5), PixelsOfPicture(before.get(), kTabsPicture, 5));
    EXPECT_EQ(Find(form->Handle()), skin);
    EXPECT_EQ(skin->TopHeight, topHeight);

    Owned<vcl::TForm> later = NewForm();
    TWinSkinForm* laterSkin = ShowSkinned(later.get());
    ASSERT_TRUE(laterSkin) << "a form shown after is skinned";
    EXPECT_EQ(laterSkin->TopHeight, topHeight);
  }

  // A file that exists is read: the skin in other colours.
  PackageSpec variant = CompleteSkinSpec();
  for (auto& entry : variant.entries) {
    std::string text(entry.bytes.begin(), entry.bytes.end());
    if (const size_t at = text.find("ButtonFace=200 201 202"); at != std::string::npos) {
      text.replace(at, 22, "ButtonFace=90 120 150");
      entry.bytes.assign(text.begin(), text.end());
    }
  }
  const wintest::TempFile file(L"variant.skn");
  file.Write(BuildPackage(variant));
  data_->SetSkinFile(file.Path());
  EXPECT_FALSE(data_->Empty());
  EXPECT_EQ(data_->Skin()->Color(3), vcl::TColor(90 | 120 << 8 | 150 << 16));
}

// ---------------------------------------------------------------------------------------
// Unskinning

// What a window and its control are, as far as the skin may change them.
struct WindowFacts {
  LONG_PTR procedure = 0, style = 0, exStyle = 0;
  int region = 0;
  vcl::TColor color = 0;
  bool parentColor = false;
  intptr_t tag = 0;
  bool hookedByOthers = false;
  bool operator==(const WindowFacts&) const = default;
};

WindowFacts FactsOf(vcl::TControl* c) {
  WindowFacts f;
  if (auto* w = dynamic_cast<vcl::TWinControl*>(c); w && w->HandleAllocated()) {
    f.procedure = GetWindowLongPtrW(w->Handle(), GWLP_WNDPROC);
    f.style = GetWindowLongPtrW(w->Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE);
    f.exStyle = GetWindowLongPtrW(w->Handle(), GWL_EXSTYLE);
    vcl::UniqueRegion rgn(CreateRectRgn(0, 0, 0, 0));
    f.region = GetWindowRgn(w->Handle(), rgn.get());
  }
  if (vcl::IsPublishedProp(c, L"Color")) f.color = static_cast<vcl::TColor>(vcl::GetOrdProp(c, L"Color"));
  f.parentColor = vcl::IsPublishedProp(c, L"ParentColor") && vcl::GetOrdProp(c, L"ParentColor") != 0;
  f.tag = c->Tag();
  // Nothing of the skin answers for it any more.
  f.hookedByOthers = c->Perform(SKM_QUERYNOSKIN, 0, 0) == 1;
  return f;
}

// The windows shown inside a form, as the system sees them.
std::vector<HWND> ShownWindows(HWND Form) {
  std::vector<HWND> shown;
  EnumChildWindows(
      Form,
      [](HWND w, LPARAM list) -> BOOL {
        if (IsWindowVisible(w)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&shown));
  return shown;
}

// Counts the erase and frame-paint messages each window of the thread is sent.
class PaintCounts {
 public:
  PaintCounts() {
    counts_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
  }
  ~PaintCounts() {
    UnhookWindowsHookEx(hook_);
    counts_ = nullptr;
  }
  std::map<HWND, int> erases, frames;

 private:
  static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(LParam);
    if (Code >= 0 && counts_ && sent->message == WM_ERASEBKGND) ++counts_->erases[sent->hwnd];
    if (Code >= 0 && counts_ && sent->message == WM_NCPAINT) ++counts_->frames[sent->hwnd];
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  static inline PaintCounts* counts_ = nullptr;
  HHOOK hook_;
};

// A skin switch on the live form re-applies the skin with every step it takes (the frame
// size, the one-pixel relayout, the region), yet holds the repaints to the end: each window is
// erased and has its frame painted about once, not once a step, and every window shown before
// is shown after, the panels laid over scroll bars and the media player's buttons among them.
TEST_F(MappedForms, ASwitchOnALiveFormPaintsEachWindowAboutOnce) {
  auto form = NewForm();
  FillAllKinds(form.get());
  // Kept at the bottom: the relayout moves them, and their panels follow while held.
  auto* player = Put<vcl::TMediaPlayer>(form.get(), 215, 440, 200, 20, form.get());
  player->SetAnchors({vcl::akLeft, vcl::akBottom});
  auto* memo = Put<vcl::TMemo>(form.get(), 8, 440, 200, 60, form.get());
  memo->SetScrollBars(vcl::ssBoth);
  memo->SetAnchors({vcl::akLeft, vcl::akBottom});
  ASSERT_TRUE(ShowSkinned(form.get()));
  EXPECT_TRUE(wintest::PumpUntilIdle());
  const std::vector<HWND> shown = ShownWindows(form->Handle());
  const int height = form->Height();
  size_t windows = shown.size() + 1;
  int erases = 0, frames = 0, mostErases = 0, mostFrames = 0;
  ReadVariant();
  {
    PaintCounts counts;
    RefreshSkinned();
    for (const auto& [window, n] : counts.erases) {
      erases += n;
      mostErases = std::max(mostErases, n);
    }
    for (const auto& [window, n] : counts.frames) {
      frames += n;
      mostFrames = std::max(mostFrames, n);
    }
  }
  std::printf("[ paints ] %zu windows: %d erases (at most %d a window), %d frame paints (at most %d)\n", windows,
              erases, mostErases, frames, mostFrames);
  EXPECT_LE(erases, static_cast<int>(2 * windows));
  EXPECT_LE(frames, static_cast<int>(2 * windows));
  EXPECT_EQ(ShownWindows(form->Handle()), shown);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_EQ(form->Height(), height);
  EXPECT_EQ(vcl::ColorToRGB(form->Color()), 0x96785A);  // the new face colour
}

TEST_F(MappedForms, UnskinningGivesEveryWindowItsProcedureStyleRegionColourAndMenuBack) {
  Owned<vcl::TForm> form = NewForm();
  const AllKinds kinds = FillAllKinds(form.get());
  // Shown unskinned first: what the form and its controls are without the skin.
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return !SkinManager()->Active(); }));
  form->Show();
  wintest::PumpUntilIdle();
  std::map<std::wstring, WindowFacts> before;
  for (const auto& [name, c] : kinds.controls) before[name] = FactsOf(c);
  const vcl::TWndMethod formProc = form->WindowProc;
  ASSERT_FALSE(Find(form->Handle()));
  const LONG_PTR formStyle = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  RECT formClient{};
  GetClientRect(form->Handle(), &formClient);

  SkinAll(form->Handle());
  TWinSkinForm* skin = Find(form->Handle());
  ASSERT_TRUE(skin);
  EXPECT_GT(skin->Skinners().size(), ExpectedSkinners().size());
  EXPECT_TRUE(kinds.popup->OwnerDraw());

  UnskinAll();
  for (const auto& [name, c] : kinds.controls)
    EXPECT_EQ(FactsOf(c), before[name]) << "for " << std::string(name.begin(), name.end());
  EXPECT_FALSE(kinds.popup->OwnerDraw());
  for (int i = 0; i < kinds.popup->Items()->Count(); ++i)
    EXPECT_FALSE(kinds.popup->Items()->Items(i)->OnAdvancedDrawItem);
  EXPECT_TRUE(form->WindowProc == formProc);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE), formStyle);
  vcl::UniqueRegion rgn(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form->Handle(), rgn.get()), ERROR);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, formClient.right);
  EXPECT_EQ(client.bottom, formClient.bottom);
}

}  // namespace
}  // namespace winskin::test
