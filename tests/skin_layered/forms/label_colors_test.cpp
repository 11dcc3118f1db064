// The colours a form's labels and client take from the skin, asked of a host of the test's own.
#include <gtest/gtest.h>

#include "classlib/stdctrls/StdCtrls.h"
#include "forms_support.h"
#include "skin_layered/forms/FormsStartup.h"
#include "skin_layered/forms/LabelColors.h"

namespace skin_layered::test {

// The component the recoloured labels tell when they are freed; it hands the notice on as a
// provider does.
class TLabelNoticeTaker : public TsSkinProviderBase {
  VCL_CLASS(TLabelNoticeTaker, TsSkinProviderBase)
 public:
  using TsSkinProviderBase::TsSkinProviderBase;
  TqvLabelColors* Colors = nullptr;

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override {
    TsSkinProviderBase::Notification(AComponent, Operation);
    if (Colors && AComponent && Operation == vcl::TOperation::opRemove) Colors->Forget(AComponent);
  }
};

VCL_CLASS_INFO(TLabelNoticeTaker) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// A host whose manager the test chooses.
class TFakeLabelColorsHost : public TqvLabelColorsHost {
 public:
  explicit TFakeLabelColorsHost(TsSkinProviderBase* Provider) : provider_(Provider) {}
  TsSkinManager* SkinManager() const override { return manager; }
  TsSkinProviderBase* FrameProvider() override { return provider_; }

  TsSkinManager* manager = nullptr;

 private:
  TsSkinProviderBase* provider_;
};

constexpr vcl::TColor kSkinFont = 0x1020F0;
constexpr vcl::TColor kSkinColor = 0x40A060;

vcl::TLabel* NewLabel(vcl::TForm* form, vcl::TColor color) {
  auto* label = new vcl::TLabel(form);
  label->SetParent(form);
  label->SetCaption(L"Label");
  label->Font()->SetColor(color);
  return label;
}

TEST(LabelColors, LabelsWearTheSkinsColourAndGetTheirOwnBack) {
  TempSkins skins;
  skins.Write(L"Labels", L"Options.dat",
              BytesOf("[GLOBALINFO]\r\nVERSION=7.5\r\nCOLOR=$40A060\r\nFONTCOLOR=$1020F0\r\n"
                      "[FORM]\r\nCOLOR=$A0B0C0\r\n"));
  auto manager = NewManager();
  manager->SetSkinDirectory(skins.Directory());
  manager->SetSkinName(L"Labels");
  ASSERT_EQ(manager->GetGlobalFontColor(), kSkinFont);
  auto form = NewForm();
  form->SetColor(vcl::clBtnFace);
  auto* provider = new TLabelNoticeTaker(form.get());
  provider->Form = form.get();
  TFakeLabelColorsHost host(provider);
  TqvLabelColors colors(host);
  provider->Colors = &colors;

  auto* own = NewLabel(form.get(), 0x0000FF);
  auto* opaque = NewLabel(form.get(), 0x00FF00);
  opaque->SetControlStyle(opaque->ControlStyle() + vcl::TControlStyle{vcl::csOpaque});
  auto* parented = NewLabel(form.get(), 0x00FF00);
  parented->SetParentFont(true);
  auto* keptOut = NewLabel(form.get(), 0xFF0000);
  keptOut->SetTag(kNoAutoSkinTag);

  // Without a manager nothing changes.
  colors.SetLabelColor(own, true);
  colors.ApplyGlobalColor();
  EXPECT_EQ(own->Font()->Color(), 0x0000FF);
  EXPECT_EQ(form->Color(), vcl::clBtnFace);

  host.manager = manager.get();
  for (vcl::TLabel* label : {own, opaque, parented, keptOut}) colors.SetLabelColor(label, true);
  colors.ApplyGlobalColor();
  EXPECT_EQ(form->Color(), kSkinColor);
  EXPECT_EQ(own->Font()->Color(), kSkinFont);
  EXPECT_EQ(opaque->Font()->Color(), kSkinFont);
  EXPECT_EQ(parented->Font()->Color(), kSkinFont);
  EXPECT_EQ(keptOut->Font()->Color(), 0xFF0000);
  // Asked again while recoloured: the colour remembered stays the label's own.
  colors.SetLabelColor(own, true);

  // A label freed meanwhile is forgotten; the others get back what they had.
  vcl::TObject::Free(parented);
  colors.RestoreLabelColors();
  EXPECT_EQ(own->Font()->Color(), 0x0000FF);
  EXPECT_EQ(opaque->Font()->Color(), 0x00FF00);
  EXPECT_TRUE(opaque->ControlStyle().Contains(vcl::csOpaque));
  EXPECT_EQ(keptOut->Font()->Color(), 0xFF0000);
  // Restored once: a later restore leaves a colour set since alone.
  own->Font()->SetColor(0x808080);
  colors.RestoreLabelColors();
  EXPECT_EQ(own->Font()->Color(), 0x808080);

  // A label put back to its parent's font follows the parent again.
  auto* follower = NewLabel(form.get(), 0x00FF00);
  follower->SetParentFont(true);
  form->Font()->SetColor(0x123456);
  EXPECT_EQ(follower->Font()->Color(), 0x123456);
  colors.SetLabelColor(follower, true);
  EXPECT_EQ(follower->Font()->Color(), kSkinFont);
  colors.SetLabelColor(follower, false);
  EXPECT_TRUE(follower->ParentFont());
  EXPECT_EQ(follower->Font()->Color(), 0x123456);
  colors.Release();
}

}  // namespace
}  // namespace skin_layered::test
