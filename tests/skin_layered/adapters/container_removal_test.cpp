// A container losing its own section loses its own skin only: a scroll box or a static text
// whose section is missing (from a new skin, or set by the program) goes back to its own look
// while the adapted window inside it keeps the skin of its own section; when the whole skin
// goes, both go.
#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/StaticText.h"
#include "hosts_support.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/StaticTextWnd.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr COLORREF kOwnColor = 0x123456;

class ContainerRemoval : public HostsTest {
 protected:
  void SetUp() override {
    HostsTest::SetUp();
    // The hosts' skin without the containers' sections; the child's section stays.
    skins.Write(L"Bare", L"Options.dat",
                BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("GROUPBOX", kGroupBox, kGroupBox) +
                        ScrollSections()));
  }
  void TearDown() override {
    child.reset();
    container.reset();
    HostsTest::TearDown();
  }

  vcl::TScrollBox* AdaptedBox() {
    auto* box = new vcl::TScrollBox(form.get());
    box->SetParent(form.get());
    box->SetBounds(10, 10, 200, 150);
    box->SetColor(static_cast<vcl::TColor>(kOwnColor));
    AdaptedChild(box);
    container = CreateAdapter<TqvScrollBoxWnd>(box->Handle(), nullptr, manager.get(), TqvSkinParams{box, L""}, true);
    return box;
  }
  vcl::TStaticText* AdaptedText() {
    auto* text = new vcl::TStaticText(form.get());
    text->SetParent(form.get());
    text->SetAutoSize(false);
    text->SetCaption(L"");
    text->SetBorderStyle(vcl::sbsNone);
    text->SetBevelKind(vcl::bkFlat);
    text->SetBevelOuter(vcl::bvLowered);
    text->SetBevelInner(vcl::bvNone);
    text->SetBounds(10, 10, 200, 150);
    text->SetColor(static_cast<vcl::TColor>(kOwnColor));
    AdaptedChild(text);
    container = CreateAdapter<TqvStaticTextWnd>(text->Handle(), nullptr, manager.get(), TqvSkinParams{text, L""});
    return text;
  }
  void AdaptedChild(vcl::TWinControl* Parent) {
    auto* inner = new vcl::TStaticText(form.get());
    inner->SetParent(Parent);
    inner->SetAutoSize(false);
    inner->SetCaption(L"");
    inner->SetBounds(40, 40, 60, 30);
    child = CreateAdapter<TqvStaticTextWnd>(inner->Handle(), nullptr, manager.get(), TqvSkinParams{inner, L"GROUPBOX"});
  }

  // Both skinned from the hosts' skin at first.
  void ExpectBothSkinned() {
    ASSERT_EQ(container->SkinData->SkinSection(), L"PANEL_LOW");
    ASSERT_GE(container->SkinData->SkinIndex, 0);
    ASSERT_GE(child->SkinData->SkinIndex, 0);
    ASSERT_EQ(Printed(child->CtrlHandle)->At(30, 15), kGroupBox);
  }
  // The container unskinned, the child still skinned from its own section.
  void ExpectOnlyTheContainerUnskinned() {
    EXPECT_EQ(container->SkinData->SkinIndex, kNoIndex);
    EXPECT_FALSE(container->SkinData->Skinned(false));
    ASSERT_GE(child->SkinData->SkinIndex, 0);
    EXPECT_EQ(manager->Skin().Sections[static_cast<std::size_t>(child->SkinData->SkinIndex)].ClassName, L"GROUPBOX");
    child->SkinData->BGChanged = true;
    EXPECT_EQ(Printed(child->CtrlHandle)->At(30, 15), kGroupBox);
  }

  TqvAdapterPtr<TqvMainWnd> container;
  TqvAdapterPtr<TqvStaticTextWnd> child;
};

TEST_F(ContainerRemoval, AContainerWhoseSectionIsSetMissingLeavesItsChildSkinned) {
  for (int kind = 0; kind < 2; ++kind) {
    SCOPED_TRACE(kind ? "static text" : "scroll box");
    vcl::TWinControl* control = kind ? static_cast<vcl::TWinControl*>(AdaptedText()) : AdaptedBox();
    ASSERT_NO_FATAL_FAILURE(ExpectBothSkinned());
    container->SkinData->SetSkinSection(L"NOSUCHSECTION");
    ExpectOnlyTheContainerUnskinned();
    EXPECT_FALSE(control->ControlStyle().Contains(vcl::csOpaque));
    child.reset();
    container.reset();
  }
}

TEST_F(ContainerRemoval, ASkinWithoutTheContainersSectionLeavesItsChildSkinned) {
  for (int kind = 0; kind < 2; ++kind) {
    SCOPED_TRACE(kind ? "static text" : "scroll box");
    manager->SetSkinName(L"Hosts");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    if (kind)
      AdaptedText();
    else
      AdaptedBox();
    ASSERT_NO_FATAL_FAILURE(ExpectBothSkinned());
    manager->SetSkinName(L"Bare");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    ExpectOnlyTheContainerUnskinned();
    child.reset();
    container.reset();
  }
}

TEST_F(ContainerRemoval, TheWholeSkinGoingReachesTheChildThroughTheContainer) {
  for (int kind = 0; kind < 2; ++kind) {
    SCOPED_TRACE(kind ? "static text" : "scroll box");
    manager->SetActive(true);
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    if (kind)
      AdaptedText();
    else
      AdaptedBox();
    ASSERT_NO_FATAL_FAILURE(ExpectBothSkinned());
    manager->SetActive(false);
    EXPECT_EQ(container->SkinData->SkinIndex, kNoIndex);
    EXPECT_EQ(child->SkinData->SkinIndex, kNoIndex);
    child.reset();
    container.reset();
  }
}

}  // namespace
}  // namespace skin_layered::test
