// The static-text adapter on library static texts: the section by bevels and border (a given
// one kept), the caption drawn and shown disabled, and the control's own painting back.
#include "classlib/stdctrls/StaticText.h"
#include "hosts_support.h"
#include "skin_layered/adapters/StaticTextWnd.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kOwnColor = 0x123456;

class StaticTextWnd : public HostsTest {
 protected:
  vcl::TStaticText* NewText(const wchar_t* Caption = L"") {
    auto* text = Put<vcl::TStaticText>(form.get(), 10, 10, 160, 40);
    text->SetAutoSize(false);
    text->SetCaption(Caption);
    text->SetBounds(10, 10, 160, 40);
    text->SetColor(static_cast<vcl::TColor>(kOwnColor));
    return text;
  }
  void Adapt(vcl::TStaticText* Text, const wchar_t* Section = L"") {
    adapter = CreateAdapter<TqvStaticTextWnd>(Text->Handle(), nullptr, manager.get(), TqvSkinParams{Text, Section});
  }
  static RECT Client(vcl::TStaticText* Text) { return RECT{0, 0, Text->Width(), Text->Height()}; }

  TqvAdapterPtr<TqvStaticTextWnd> adapter;
};

TEST_F(StaticTextWnd, TheSectionFollowsTheBevelsAndTheBorderUnlessOneWasGiven) {
  struct Case {
    vcl::TBevelKind kind;
    vcl::TBevelCut outer, inner;
    vcl::TStaticBorderStyle border;
    const wchar_t* section;
    COLORREF color;
  };
  const Case cases[] = {
      {vcl::bkNone, vcl::bvRaised, vcl::bvNone, vcl::sbsNone, L"CHECKBOX", kCheckBox},
      {vcl::bkNone, vcl::bvRaised, vcl::bvNone, vcl::sbsSingle, L"GROUPBOX", kGroupBox},
      {vcl::bkTile, vcl::bvLowered, vcl::bvNone, vcl::sbsNone, L"PANEL_LOW", kPanelLow},
      {vcl::bkTile, vcl::bvLowered, vcl::bvRaised, vcl::sbsNone, L"GROUPBOX", kGroupBox},
      {vcl::bkFlat, vcl::bvRaised, vcl::bvNone, vcl::sbsNone, L"PANEL", kPanel},
      {vcl::bkFlat, vcl::bvRaised, vcl::bvLowered, vcl::sbsNone, L"GROUPBOX", kGroupBox},
      {vcl::bkSoft, vcl::bvNone, vcl::bvNone, vcl::sbsSingle, L"CHECKBOX", kCheckBox},
  };
  for (const Case& c : cases) {
    vcl::TStaticText* text = NewText();
    text->SetBevelKind(c.kind);
    text->SetBevelOuter(c.outer);
    text->SetBevelInner(c.inner);
    text->SetBorderStyle(c.border);
    Adapt(text);
    EXPECT_EQ(adapter->SkinData->SkinSection(), c.section) << static_cast<int>(c.kind) << static_cast<int>(c.outer);
    // The client area and any frame both from the section.
    auto pixels = Printed(text->Handle());
    EXPECT_EQ(pixels->At(0, 0), c.color);
    EXPECT_EQ(pixels->At(80, 20), c.color);
    adapter.reset();
    vcl::TObject::Free(text);
  }
  vcl::TStaticText* given = NewText();
  given->SetBorderStyle(vcl::sbsSingle);
  Adapt(given, L"PANEL");
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"PANEL");
}

TEST_F(StaticTextWnd, TheCaptionIsDrawnAndShownDisabledWithTheControl) {
  vcl::TStaticText* text = NewText(L"MMMMMM");
  text->Font()->SetSize(16);
  Adapt(text);
  auto enabled = Printed(text->Handle());
  EXPECT_GT(CountColor(*enabled, Client(text), 0x000000), 0);
  EXPECT_GT(160 * 40 - CountColor(*enabled, Client(text), kCheckBox), 20);
  EXPECT_GT(CountColor(*enabled, Client(text), kCheckBox), 160 * 40 / 2);

  // Disabled text is drawn in a mix of the section's font colour and colour.
  text->SetEnabled(false);
  auto disabled = Printed(text->Handle());
  EXPECT_EQ(CountColor(*disabled, Client(text), 0x000000), 0);
  EXPECT_GT(160 * 40 - CountColor(*disabled, Client(text), kCheckBox), 20);

  // A new caption shows at once; none leaves the section alone.
  text->SetEnabled(true);
  text->SetCaption(L"");
  EXPECT_EQ(CountColor(*Printed(text->Handle()), Client(text), kCheckBox), 160 * 40);
}

TEST_F(StaticTextWnd, UnskinnedAndUnadaptedTheTextPaintsItself) {
  vcl::TStaticText* text = NewText();
  const vcl::TControlStyle own = text->ControlStyle();
  Adapt(text);
  ASSERT_EQ(Printed(text->Handle())->At(80, 20), kCheckBox);
  SendMessageW(text->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRemoveSkin), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(adapter->SkinData->SkinIndex, kNoIndex);
  EXPECT_FALSE(text->ControlStyle().Contains(vcl::csOpaque));
  EXPECT_NE(Printed(text->Handle())->At(80, 20), kCheckBox);

  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(text->ControlStyle(), own);
  EXPECT_EQ(SendCommandToWnd(text->Handle(), scmIsSkinned, 0), 0);
  EXPECT_NE(Printed(text->Handle())->At(80, 20), kCheckBox);
}

}  // namespace
}  // namespace skin_layered::test
