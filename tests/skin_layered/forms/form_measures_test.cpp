// The measures of a form read from the skin and its window, asked of a host of the test's own.
#include <gtest/gtest.h>

#include "classlib/forms/Menus.h"
#include "forms_support.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormsStartup.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// Options whose title section the test sets.
class TTitleOptions : public TqvProviderOptions {
 public:
  using TqvProviderOptions::TqvProviderOptions;
  using TqvProviderOptions::StoreTitleSkin;
};

// A window image without a shadow.
class TPlainImage : public TqvImageMeasures {
 public:
  vcl::TRect ShadowSize() const override { return {}; }
  int ImageWidth() const override { return 0; }
  int OffsetX() const override { return 0; }
  int OffsetY() const override { return 0; }
};

// A host with no manager, no system menu and no title icon.
class TFakeMeasuresHost : public TqvFormMeasuresHost {
 public:
  TsSkinManager* SkinManager() const override { return nullptr; }
  TqvBorderForm* ExtBorderForm() const override { return nullptr; }
  TsSystemMenu* CurrentSystemMenu() const override { return nullptr; }
  TsTitleIcon* TitleIcon() const override { return nullptr; }
  TqvFormScrollBars& ScrollBars() override { return *scroll_bars; }
  bool MaximizedBorderLarge() const override { return false; }
  const TqvImageMeasures& WindowImage() const override { return image; }

  TqvFormScrollBars* scroll_bars = nullptr;
  TPlainImage image;
};

TEST(FormMeasures, TheMenuLineAndTitleSectionFollowTheFormAndOptions) {
  auto form = NewForm();
  // The options are the test's, for the test's form.
  auto* options = new TTitleOptions(form.get());
  options->Form = form.get();
  TFakeMeasuresHost host;
  int titleIndex = -1;
  int menuLines = -1;
  TqvFormMeasures measures(host, *options, titleIndex, menuLines);

  // No main menu: no menu line.
  EXPECT_FALSE(measures.HasMenuLine());
  EXPECT_FALSE(measures.MenuVisible());
  EXPECT_EQ(measures.MenuHeight(), 0);

  auto* menu = new vcl::TMainMenu(form.get());
  auto* item = new vcl::TMenuItem(menu);
  item->SetCaption(L"File");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  EXPECT_TRUE(measures.HasMenuLine());
  EXPECT_TRUE(measures.MenuVisible());
  EXPECT_EQ(measures.MenuHeight(), GetSystemMetrics(SM_CYMENU) - 1);
  // A dialog never shows one.
  form->SetBorderStyle(vcl::TFormBorderStyle::bsDialog);
  EXPECT_FALSE(measures.HasMenuLine());
  EXPECT_FALSE(measures.MenuVisible());
  EXPECT_EQ(measures.MenuHeight(), 0);

  // The title's section is the options' own, else "FORMTITLE"; without a skin it has no index,
  // and the cache stays to be looked up again.
  EXPECT_EQ(measures.TitleSkinSection(), L"FORMTITLE");
  options->StoreTitleSkin(L"MYTITLE");
  EXPECT_EQ(measures.TitleSkinSection(), L"MYTITLE");
  EXPECT_EQ(measures.GetTitleSkinIndex(), -1);
  EXPECT_EQ(titleIndex, -1);

  // Without a skin, a system menu or a title icon: the fallbacks.
  EXPECT_EQ(measures.TitleHeightByState(true), 0);
  EXPECT_EQ(measures.TitleButtonGlyphWidth(3), 21);
  EXPECT_EQ(measures.CaptionGlyphHeight(3), 21);
  EXPECT_EQ(measures.VisibleSysButtons(), 0);
  EXPECT_FALSE(measures.IconVisible());
  EXPECT_EQ(measures.TitleIconWidth(), 0);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  EXPECT_FALSE(measures.HasBorder());
  form->SetBorderStyle(vcl::TFormBorderStyle::bsSizeable);
  EXPECT_TRUE(measures.HasBorder());
}

}  // namespace
}  // namespace skin_layered::test
