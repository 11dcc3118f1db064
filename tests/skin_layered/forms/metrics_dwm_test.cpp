// Frame metrics, and the desktop window manager through bindings of the test's own.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <utility>

#include "forms_support.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/forms/BorderOwner.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/FormsStartup.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

HWND PlainWindow(DWORD style) {
  return CreateWindowExW(0, L"STATIC", L"", style, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
}

TEST(FormMetrics, FrameWidthsCaptionsAndIconSizes) {
  HWND none = PlainWindow(WS_POPUP);
  HWND caption = PlainWindow(WS_POPUP | WS_CAPTION);
  HWND sizing = PlainWindow(WS_OVERLAPPEDWINDOW);
  EXPECT_EQ(SysBorderWidth(none, nullptr, true), 0);
  EXPECT_EQ(SysBorderWidth(caption, nullptr, false), GetSystemMetrics(SM_CXDLGFRAME));
  EXPECT_EQ(SysBorderWidth(sizing, nullptr, false), GetSystemMetrics(SM_CXSIZEFRAME));
  EXPECT_EQ(DefBorderWidth(sizing, nullptr, false), GetSystemMetrics(SM_CXSIZEFRAME));
  EXPECT_TRUE(HasThickFrame(sizing) && !HasThickFrame(caption));
  for (HWND w : {none, caption, sizing}) DestroyWindow(w);

  // Without a border form there is nothing of the skin's to add.
  EXPECT_EQ((std::array{BorderFormOffsetX(nullptr), BorderFormOffsetY(nullptr), SkinBorderWidth(nullptr),
                        SkinTitleHeight(nullptr)}),
            (std::array{0, 0, 0, 0}));
  EXPECT_TRUE(IsSingleImageMask(-1, nullptr));
  for (auto [height, size] : {std::pair{8, 1}, {-100, 1}, {9, 8}, {16, 8}, {17, 16}, {-101, 16}})
    EXPECT_EQ(DefTitleIconSize(height), size) << height;

  auto form = NewForm();
  EXPECT_EQ(SysCaptionHeight(nullptr), GetSystemMetrics(SM_CYCAPTION));
  EXPECT_EQ(SysCaptionHeight(form.get()), GetSystemMetrics(SM_CYCAPTION));
  form->SetBorderStyle(vcl::TFormBorderStyle::bsToolWindow);
  EXPECT_EQ(SysCaptionHeight(form.get()), GetSystemMetrics(SM_CYSMCAPTION));
}


TEST(FormMetrics, BorderFormsTakeTheSkinsFrameAndTitle) {
  TempSkins skins;
  skins.Write(L"Test", L"Options.dat",
              BytesOf(FormSkinText() + "[GLOBALINFO]\r\nBORDERWIDTH=7\r\nTITLEHEIGHT=33\r\nMAXHEIGHT=25\r\n"));
  auto manager = NewManager();
  manager->SetSkinDirectory(skins.Directory());
  manager->SetSkinName(L"Test");
  auto form = NewForm();
  form->HandleNeeded();
  auto provider = NewProvider(form.get());
  TFakeBorderForm border(form->Handle(), 40, 22);
  border.SkinData = provider->SkinData;
  border.SetOwner(MakeBorderOwner(*provider));
  const TsSkinData& data = manager->Skin().SkinData;
  EXPECT_EQ(SkinBorderWidth(&border), data.BorderWidth);
  EXPECT_EQ(SysBorderWidth(form->Handle(), &border, true), data.BorderWidth);
  EXPECT_EQ(DefBorderWidth(form->Handle(), &border, true), 0);
  EXPECT_EQ(SkinTitleHeight(&border), data.TitleHeight);
  const int frame = GetSystemMetrics(SM_CXSIZEFRAME);
  EXPECT_EQ(BorderFormOffsetX(&border), data.BorderWidth - frame);
  EXPECT_EQ(BorderFormOffsetY(&border), 40 - 22 - frame);
  // Maximised, without covering the desktop other test programs use meanwhile.
  SetWindowLongPtrW(form->Handle(), GWL_STYLE, GetWindowLongPtrW(form->Handle(), GWL_STYLE) | WS_MAXIMIZE);
  ASSERT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(SkinTitleHeight(&border), data.MaxHeight != 0 ? data.MaxHeight : data.TitleHeight);
}

// Bindings of the test: what was asked, what is answered.
struct FakeDwm {
  static inline bool composition = false;
  static inline HRESULT compositionAnswer = S_OK, answer = S_OK;
  static inline DWORD lastAttribute = 0, lastBlurFlags = 0;
  static inline BOOL lastValue = -1;
  static inline int attributes = 0, blurs = 0, thumbnails = 0, previews = 0;
  static inline SIZE thumbnail{};

  static HRESULT WINAPI IsCompositionEnabled(BOOL* on) { *on = composition; return compositionAnswer; }
  static HRESULT WINAPI SetWindowAttribute(HWND, DWORD a, LPCVOID v, DWORD) {
    ++attributes, lastAttribute = a, lastValue = *static_cast<const BOOL*>(v);
    return answer;
  }
  static HRESULT WINAPI EnableBlur(HWND, const TqvDwmBlurBehind* b) { ++blurs, lastBlurFlags = b->Flags; return answer; }
  static HRESULT WINAPI SetThumbnail(HWND, HBITMAP bmp, DWORD) {
    BITMAP info{};
    GetObjectW(bmp, sizeof info, &info);
    ++thumbnails, thumbnail = {info.bmWidth, info.bmHeight};
    return answer;
  }
  static HRESULT WINAPI SetLivePreview(HWND, HBITMAP, POINT*, DWORD) { ++previews; return answer; }
  static TqvDwmBindings All() {
    TqvDwmBindings b;
    b.IsCompositionEnabled = &IsCompositionEnabled;
    b.SetWindowAttribute = &SetWindowAttribute;
    b.EnableBlurBehindWindow = &EnableBlur;
    b.SetIconicThumbnail = &SetThumbnail;
    b.SetIconicLivePreviewBitmap = &SetLivePreview;
    return b;
  }
};

class Dwm : public ::testing::Test {
 protected:
  void SetUp() override {
    previousVersion = SetPlatformVersionQuery([] { return TPlatformVersion{10, 0, 2}; });
    RecordPlatformFacts();
    FakeDwm::composition = false;
    FakeDwm::compositionAnswer = FakeDwm::answer = S_OK;
    FakeDwm::attributes = FakeDwm::blurs = FakeDwm::thumbnails = FakeDwm::previews = 0;
  }
  void TearDown() override {
    SetDwmBindings(nullptr);
    SetPlatformVersionQuery(previousVersion);
    RecordPlatformFacts();
  }
  TPlatformVersionQuery previousVersion;
};

TEST_F(Dwm, CompositionTransitionsAndBlurThroughTheBindings) {
  const TqvDwmBindings all = FakeDwm::All();
  SetDwmBindings(&all);
  EXPECT_FALSE(AeroIsEnabled());
  FakeDwm::composition = true;
  EXPECT_TRUE(AeroIsEnabled());
  FakeDwm::compositionAnswer = E_FAIL;
  EXPECT_FALSE(AeroIsEnabled());
  FakeDwm::compositionAnswer = S_OK;
  // Transitions are switched off only while composition is on.
  DisableDwmTransitions(nullptr, true);
  EXPECT_EQ(std::pair(FakeDwm::lastAttribute, FakeDwm::lastValue), std::pair(DWORD{kDwmTransitionsForceDisabled}, BOOL{TRUE}));
  FakeDwm::composition = false;
  DisableDwmTransitions(nullptr, true);
  EXPECT_EQ(FakeDwm::lastValue, FALSE);
  // The blur region is the caller's no longer, whatever happens.
  HRGN rgn = CreateRectRgn(0, 0, 5, 5);
  EnableBlurBehind(nullptr, true, rgn);
  EXPECT_EQ(FakeDwm::lastBlurFlags, 3u);
  EXPECT_EQ(GetObjectType(rgn), 0u);
  EnableBlurBehind(nullptr, true, nullptr);
  EXPECT_EQ(FakeDwm::lastBlurFlags, 1u);
  EXPECT_EQ(FakeDwm::blurs, 2);

  // A system before version 6 has no composition, whatever the library says.
  FakeDwm::composition = true;
  SetPlatformVersionQuery([] { return TPlatformVersion{5, 1, 2}; });
  RecordPlatformFacts();
  EXPECT_FALSE(AeroIsEnabled());
}

TEST_F(Dwm, MissingEntryPointsAndRefusalsDoNoHarm) {
  const TqvDwmBindings none;
  SetDwmBindings(&none);
  EXPECT_FALSE(AeroIsEnabled());
  const BOOL value = TRUE;
  EXPECT_EQ(DwmSetWindowAttr(nullptr, 3, &value, sizeof value), E_NOTIMPL);
  HRGN rgn = CreateRectRgn(0, 0, 5, 5);
  EnableBlurBehind(nullptr, true, rgn);
  EXPECT_EQ(GetObjectType(rgn), 0u);
  InvalidateIconicBitmaps(nullptr);
  EXPECT_FALSE(HasIconicThumbnail());
  EXPECT_EQ(DwmSetIconicThumbnail(nullptr, nullptr, 0), E_NOTIMPL);

  // The form services answer through the same bindings.
  EXPECT_EQ(LayeredFormServices().DwmSetWindowAttr(nullptr, 3, &value, sizeof value), E_NOTIMPL);
  EXPECT_FALSE(LayeredFormServices().AeroIsEnabled());
  const TqvDwmBindings all = FakeDwm::All();
  SetDwmBindings(&all);
  FakeDwm::answer = E_ACCESSDENIED;
  EXPECT_EQ(LayeredFormServices().DwmSetWindowAttr(nullptr, 3, &value, sizeof value), E_ACCESSDENIED);
}

TEST_F(Dwm, TaskbarPicturesAreFittedIntoTheSizeAsked) {
  const TqvDwmBindings all = FakeDwm::All();
  SetDwmBindings(&all);
  auto form = NewForm();
  form->HandleNeeded();
  auto provider = NewProvider(form.get());
  // No window image yet: the system keeps its own pictures.
  EXPECT_FALSE(SetIconicThumbnail(form->Handle(), provider.get(), 200, 100));
  EXPECT_FALSE(SetIconicLivePreview(form->Handle(), provider.get()));
  EXPECT_EQ(FakeDwm::thumbnails, 0);

  provider->SkinData->InitCacheBmp();
  provider->SkinData->CacheBmp()->SetSize(400, 400);
  for (auto [w, h] : {std::pair{200, 100}, {100, 200}}) {
    EXPECT_TRUE(SetIconicThumbnail(form->Handle(), provider.get(), w, h));
    EXPECT_EQ(vcl::TPoint(FakeDwm::thumbnail.cx, FakeDwm::thumbnail.cy), vcl::TPoint(100, 100)) << w << "x" << h;
  }
  EXPECT_EQ(provider->ExtFlags & kExtTaskbarPicture, 0u);
  EXPECT_FALSE(SetIconicThumbnail(form->Handle(), provider.get(), 0, 100));
  EXPECT_TRUE(SetIconicLivePreview(form->Handle(), provider.get()));

  // Refused: false, and nothing tried again.
  FakeDwm::answer = E_FAIL;
  const int before = FakeDwm::thumbnails;
  EXPECT_FALSE(SetIconicThumbnail(form->Handle(), provider.get(), 200, 100));
  EXPECT_EQ(FakeDwm::thumbnails, before + 1);
  EXPECT_FALSE(SetIconicLivePreview(form->Handle(), provider.get()));
  EXPECT_EQ(provider->ExtFlags & kExtTaskbarPicture, 0u);
}

// An owner that answers what the test sets.
class TFakeBorderOwner : public TqvBorderOwner {
 public:
  explicit TFakeBorderOwner(vcl::TCustomForm* Form) : form_(Form) {}
  vcl::TCustomForm* Form() const override { return form_; }
  bool Destroying() const override { return false; }
  TsCommonData* SkinData() const override { return nullptr; }
  bool DrawsNonClientArea() const override { return true; }
  bool Frozen() const override { return false; }
  bool Animating() const override { return false; }
  bool MaxBorderLarge() const override { return false; }
  std::uint32_t Flags() const override { return flags; }
  void SetFlags(std::uint32_t Value) override { flags = Value; }
  vcl::TRect& StretchSaved() override { return stretch_saved_; }
  int CaptionHeight(bool CheckSkin) const override { return CheckSkin ? 30 : 20; }
  int MenuLinesHeight() const override { return menu; }
  vcl::TRect IconRect() const override { return icon; }
  vcl::TPoint ClientOffset() const override { return offset; }
  vcl::TRect ShadowSize() const override { return {}; }
  void PaintAll() override {}
  std::unique_ptr<vcl::TBitmap> FormSnapshot() const override { return nullptr; }
  void DropBorderForm() override {}
  int TitleElementAt(vcl::TPoint) const override { return 0; }
  void SetHotElement(int Code, bool) override { hot = Code; }
  void PressElement(int) override {}
  bool FadeOutBorderPicture() override { return false; }
  bool OutlineRunning() const override { return false; }
  void EndOutline(vcl::TPoint) override {}
  void CaptionDoubleClicked() override {}
  void TitleBarItemDoubleClicked(int) override {}
  void KillAnimations() override { ++*kills; }
  int ExtHitTest(vcl::TMessage&) override { return 0; }
  TsSystemMenu* SystemMenu() const override { return nullptr; }
  TqvShownScrollBars ShownScrollBars() const override { return {}; }
  vcl::TSize ScrollBarsExtent() const override { return bars; }
  bool GripVisible() const override { return false; }
  vcl::TPoint GripPos(int) const override { return {}; }
  bool ScreenSnap() const override { return false; }
  void SnapToForms(int&, int&) override {}
  void MoveGluedForms() override {}

  std::uint32_t flags = 0;
  int menu = 0, hot = -1;
  vcl::TRect icon;
  vcl::TPoint offset;
  vcl::TSize bars;
  int* kills = nullptr;

 private:
  vcl::TCustomForm* form_;
  vcl::TRect stretch_saved_;
};

TEST(BorderOwner, TheBorderFormAnswersFromItsOwner) {
  auto form = NewForm();
  form->SetBounds(0, 0, 300, 200);
  form->HandleNeeded();
  int kills = 0;
  {
    auto made = std::make_unique<TFakeBorderOwner>(form.get());
    TFakeBorderOwner& owner = *made;
    owner.kills = &kills;
    owner.menu = 19;
    owner.icon = vcl::Rect(4, 5, 20, 21);
    owner.offset = vcl::TPoint(8, 50);
    owner.bars = vcl::TSize(17, 13);
    TqvBorderForm border(std::move(made));
    EXPECT_EQ(border.ParentHandle(), form->Handle());
    EXPECT_EQ(border.CaptionHeight(true), 30);
    EXPECT_EQ(border.CaptionHeight(false), 20);
    EXPECT_EQ(border.MenuHeight(), 19);
    EXPECT_EQ(border.IconRect(), owner.icon);

    // The client part at the owner's offset, under the menu lines, beside its own scroll bars.
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ(border.ClientHole(0, 0), vcl::Rect(8, 50 - 19, 8 + client.right + 17, 50 + client.bottom + 13));
    owner.flags = kBorderMenuInClient;
    EXPECT_EQ(border.State(), kBorderMenuInClient);
    EXPECT_EQ(border.ClientHole(0, 0).Top, 50);

    // The hot title button goes to the owner; "none" is 0 there.
    border.SetHotButton(-1, false);
    EXPECT_EQ(owner.hot, 0);
    EXPECT_EQ(kills, 0);
  }
  // The border form stops its owner's glow fades when it goes.
  EXPECT_EQ(kills, 1);
}

}  // namespace
}  // namespace skin_layered::test
