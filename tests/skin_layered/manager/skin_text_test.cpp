// Skinned text through the manager, judged by the ink colours it leaves on a white page.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "classlib/extctrls/ExtCtrls.h"
#include "manager_support.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinText.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr UINT kOneLine = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
constexpr unsigned kWhite = 0xFFFFFF;

// A 32-bit bitmap made a white page with a crisp bold font, so one pixel tells the colour drawn.
void MakeWhitePage(vcl::TBitmap& bmp) {
  bmp.SetPixelFormat(vcl::pf32bit);
  bmp.SetSize(90, 40);
  bmp.Canvas()->Brush()->SetColor(vcl::clWhite);
  bmp.Canvas()->FillRect(vcl::Rect(0, 0, 90, 40));
  bmp.Canvas()->Font()->SetHandle(CreateFontW(-24, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                              CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma"));
  bmp.Canvas()->Font()->SetColor(vcl::clFuchsia);
}
std::unique_ptr<vcl::TBitmap> WhitePage() {
  auto bmp = std::make_unique<vcl::TBitmap>();
  MakeWhitePage(*bmp);
  return bmp;
}

unsigned RgbAt(vcl::TBitmap& bmp, int x, int y) {
  return static_cast<const unsigned*>(bmp.ScanLine(y))[x] & 0xFFFFFF;
}

// The colours a text left on the white page (as 0xRRGGBB), each once, sorted.
std::vector<unsigned> InkColours(vcl::TBitmap& bmp, vcl::TRect area = {}) {
  GdiFlush();
  if (area.IsEmpty()) area = vcl::Rect(0, 0, bmp.Width(), bmp.Height());
  std::vector<unsigned> colours;
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (const unsigned c = RgbAt(bmp, x, y); c != kWhite && std::find(colours.begin(), colours.end(), c) == colours.end())
        colours.push_back(c);
  std::sort(colours.begin(), colours.end());
  return colours;
}

class TPanelWithData : public vcl::TPanel {
 public:
  explicit TPanelWithData(vcl::TComponent* AOwner) : TPanel(AOwner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->COC = 51;
  }
  void WndProc(vcl::TMessage& Message) override {
    if (!CommonMessage(Message, SkinData.get())) TPanel::WndProc(Message);
  }
  std::unique_ptr<TsCommonData> SkinData;
};

class SkinnedText : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Test", L"Options.dat",
                BytesOf(test::SkinText("[LABEL]\r\nFONTCOLOR=$0000FF\r\nHOTFONTCOLOR=$00FF00\r\nHOTTCLEFT=$FF0000\r\n"
                                       "COLOR=$000000\r\nSTATES=2\r\n"
                                       "[CHECKBOX]\r\nFONTCOLOR=$FFFF00\r\nTRANSPARENCY=100\r\nSTATES=1\r\n"
                                       "[WEBBUTTON]\r\nFONTCOLOR=$FF00FF\r\nHOTFONTCOLOR=$800080\r\nSTATES=2\r\n"
                                       "[GLOWY]\r\nFONTCOLOR=$000000\r\nGSIZE=3\r\nGCOL=$FF0000\r\nSTATES=1\r\n")));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->SetSkinName(L"Test");
    ASSERT_TRUE(manager->Active());
    form->SetBounds(20, 20, 300, 200);
    panel = new TPanelWithData(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 120, 60);
    child = new TPanelWithData(panel);
    child->SetParent(panel);
    child->SetBounds(5, 5, 90, 40);
    form->Show();
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }
  // The child's skin data with the section.
  TsCommonData& Child(const wchar_t* section) {
    child->SkinData->SetSkinSection(section);
    return *child->SkinData;
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = NewForm();
  TPanelWithData* panel = nullptr;
  TPanelWithData* child = nullptr;
};

TEST_F(SkinnedText, SectionColoursThroughAManagerOrTheDefaultOne) {
  const int label = manager->GetSkinIndex(L"LABEL");
  ASSERT_GE(label, 0);
  auto draw = [&](bool enabled, int state, int index, TsSkinManager* from) {
    auto page = WhitePage();
    WriteSkinText(page->Canvas(), L"Hi", enabled, from, state, index, kOneLine, vcl::Rect(0, 0, 90, 40));
    return InkColours(*page);
  };
  EXPECT_EQ(draw(true, 0, label, manager.get()), std::vector<unsigned>{0xFF0000});
  // Nil: the default manager, which this one is.
  EXPECT_EQ(draw(true, 0, label, nullptr), std::vector<unsigned>{0xFF0000});
  EXPECT_EQ(draw(true, 1, label, nullptr), (std::vector<unsigned>{0x0000FF, 0x00FF00}));
  // Disabled: the normal font colour moved 60 % toward the section's colour (black).
  EXPECT_EQ(draw(false, 1, label, nullptr), std::vector<unsigned>{0x660000});
  // No such section: the canvas's own colour.
  EXPECT_EQ(draw(true, 0, 999, nullptr), std::vector<unsigned>{0xFF00FF});

  auto page = WhitePage();
  WriteSkinTextBuf(page->Canvas(), L"Hi", true, nullptr, 0, label, kOneLine, vcl::Rect(0, 0, 90, 40));
  WriteSkinTextBuf(page->Canvas(), nullptr, true, nullptr, 1, label, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*page), std::vector<unsigned>{0xFF0000});
}

TEST_F(SkinnedText, AControlsTextInItsStateWithContoursAndItsColourChanges) {
  TsCommonData& data = Child(L"LABEL");
  auto draw = [&](bool contours, bool hot) {
    auto page = WhitePage();
    WriteTextEx(page->Canvas(), L"Hi", contours, hot, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
    return InkColours(*page);
  };
  EXPECT_EQ(draw(true, false), std::vector<unsigned>{0xFF0000});
  EXPECT_EQ(draw(false, true), std::vector<unsigned>{0x00FF00});
  EXPECT_EQ(draw(true, true), (std::vector<unsigned>{0x0000FF, 0x00FF00}));

  // The hue turned by 120 degrees moves red to green, green to blue and blue to red, contours
  // too.
  data.HueOffset = 120;
  EXPECT_EQ(TextColorOfData(vcl::clRed, &data), vcl::clLime);
  EXPECT_EQ(draw(true, true), (std::vector<unsigned>{0x0000FF, 0xFF0000}));
  data.HueOffset = 0;
  data.Saturation = -100;
  const vcl::TColor grey = TextColorOfData(vcl::clRed, &data);
  EXPECT_EQ(GetGValue(grey), GetBValue(grey));
  data.Saturation = 0;
  EXPECT_EQ(TextColorOfData(vcl::clBtnFace, nullptr), vcl::ColorToRGB(vcl::clBtnFace));

  // Only inside R.
  auto page = WhitePage();
  WriteTextEx(page->Canvas(), L"WWWWWW", false, false, &data, DT_SINGLELINE | DT_LEFT | DT_VCENTER,
              vcl::Rect(0, 0, 30, 40));
  EXPECT_EQ(InkColours(*page, vcl::Rect(30, 0, 90, 40)), std::vector<unsigned>{});
  EXPECT_EQ(InkColours(*page), std::vector<unsigned>{0xFF0000});
}

TEST_F(SkinnedText, OwnFontsUnskinnedControlsAndEmptyTextsDrawPlainly) {
  TsCommonData& data = Child(L"LABEL");
  auto draw = [&](TsCommonData* d) {
    auto page = WhitePage();
    WriteTextEx(page->Canvas(), L"Hi", true, true, d, kOneLine, vcl::Rect(0, 0, 90, 40));
    return InkColours(*page);
  };
  data.SetCustomFont(true);
  EXPECT_EQ(draw(&data), std::vector<unsigned>{0xFF00FF});
  data.SetCustomFont(false);
  EXPECT_EQ(draw(nullptr), std::vector<unsigned>{0xFF00FF});
  manager->SetActive(false);
  EXPECT_EQ(draw(&data), std::vector<unsigned>{0xFF00FF});

  auto page = WhitePage();
  WriteTextEx(page->Canvas(), L"", true, true, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*page), std::vector<unsigned>{});
}

// A control whose section the skin lacks shows what lies behind it: its text takes the
// colours of the nearest control behind it that has a section, so it stays legible there.
TEST_F(SkinnedText, ASectionTheSkinLacksWritesInTheColoursBehind) {
  panel->SkinData->SetSkinSection(L"LABEL");
  TsCommonData& data = Child(L"NOSUCH");
  ASSERT_LT(data.SkinIndex, 0);
  auto page = WhitePage();
  WriteTextEx(page->Canvas(), L"Hi", false, false, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*page), std::vector<unsigned>{0xFF0000});  // the panel's LABEL colour
  // Nothing behind it has a section either: the canvas's font as it is.
  panel->SkinData->SetSkinSection(L"NOSUCH");
  auto plain = WhitePage();
  WriteTextEx(plain->Canvas(), L"Hi", false, false, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*plain), std::vector<unsigned>{0xFF00FF});
}

TEST_F(SkinnedText, SeeThroughCommonSectionsTakeTheColoursBehindThem) {
  panel->SkinData->SetSkinSection(L"LABEL");
  TsCommonData& data = Child(L"CHECKBOX");
  ASSERT_EQ(data.SkinIndex, manager->Skin().ConstData.CommonSection(TqvCommonSection::CheckBox));
  auto page = WhitePage();
  WriteTextEx(page->Canvas(), L"Hi", false, false, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*page), std::vector<unsigned>{0xFF0000});  // the panel's LABEL colour

  // A see-through section that is not one of the common ones keeps its own colours.
  skins.Write(L"Other", L"Options.dat",
              BytesOf(test::SkinText("[LABEL]\r\nFONTCOLOR=$0000FF\r\n[OTHER]\r\nFONTCOLOR=$FFFF00\r\nTRANSPARENCY=100\r\n")));
  manager->SetSkinName(L"Other");
  ASSERT_EQ(manager->SkinName(), L"Other");
  panel->SkinData->SetSkinSection(L"LABEL");
  Child(L"OTHER");
  auto other = WhitePage();
  WriteTextEx(other->Canvas(), L"Hi", false, false, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_EQ(InkColours(*other), std::vector<unsigned>{0x00FFFF});  // $FFFF00 as the page shows it
}

TEST_F(SkinnedText, HotWebButtonsAreUnderlinedAndGlowsGoIntoTheCache) {
  TsCommonData& data = Child(L"WEBBUTTON");
  ASSERT_EQ(data.SkinIndex, manager->Skin().ConstData.CommonSection(TqvCommonSection::WebButton));
  auto page = WhitePage();
  WriteTextEx(page->Canvas(), L"Hi", false, false, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_FALSE(page->Canvas()->Font()->Style().Contains(vcl::fsUnderline));
  WriteTextEx(page->Canvas(), L"Hi", false, true, &data, kOneLine, vcl::Rect(0, 0, 90, 40));
  EXPECT_TRUE(page->Canvas()->Font()->Style().Contains(vcl::fsUnderline));

  TsCommonData& glowing = Child(L"GLOWY");
  vcl::TBitmap* cache = glowing.CacheBmp();
  ASSERT_NE(cache, nullptr);
  MakeWhitePage(*cache);
  WriteTextEx(cache->Canvas(), L"Hi", false, false, &glowing, kOneLine, vcl::Rect(0, 0, 90, 40));
  // Black letters over a blue glow: the glow shows beside them, bluish.
  int blueish = 0;
  GdiFlush();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 90; ++x) {
      const unsigned c = RgbAt(*cache, x, y);
      if ((c & 0xFF) > ((c >> 16) & 0xFF) + 40) ++blueish;
    }
  EXPECT_GT(blueish, 10);
  EXPECT_FALSE(glowing.TextGlow.Empty());
}

}  // namespace
}  // namespace skin_layered::test
