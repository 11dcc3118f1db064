// The parts of a skinned form's frame that stand on their own, each driven through a host of
// the test's own over a real form window: the window region.
#include <gtest/gtest.h>

#include <memory>

#include "forms_support.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/FormRegion.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// The window region's box (empty without a region).
vcl::TRect RegionBox(HWND wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int kind = GetWindowRgn(wnd, rgn);
  RECT box{};
  if (kind != ERROR) GetRgnBox(rgn, &box);
  DeleteObject(rgn);
  return kind == ERROR ? vcl::TRect() : vcl::TRect(box);
}

vcl::TRect BoxOf(HRGN rgn) {
  RECT box{};
  GetRgnBox(rgn, &box);
  return vcl::TRect(box);
}

// Answers the region what the test sets; no skin, so the corner rectangles are the test's.
class TFakeRegionHost : public TqvFormRegionHost {
 public:
  explicit TFakeRegionHost(vcl::TCustomForm* form) : base(nullptr) { base.Form = form; }
  TsSkinManager* SkinManager() const override { return nullptr; }
  TsSkinProviderBase* FrameProvider() override { return &base; }
  TqvBorderForm* ExtBorderForm() const override { return border; }
  int ImageWidth() override { return width; }
  bool HasBorder() const override { return framed; }
  int GetTitleSkinIndex() override { return -1; }
  vcl::String TitleSkinSection() const override { return L"FORMTITLE"; }
  bool ShowsSnapshot() const override { return snapshot; }
  bool ImagePaintedWhole() const override { return painted; }

  TsSkinProviderBase base;
  TqvBorderForm* border = nullptr;
  int width = 0;
  bool framed = true, snapshot = false, painted = true;
};

TEST(FormRegion, TheRegionIsTheHostsImageLessItsCornersWhenTheHostAllowsIt) {
  auto form = NewForm();
  form->SetBounds(0, 0, 400, 300);
  form->HandleNeeded();
  const HWND wnd = form->Handle();
  TFakeRegionHost host(form.get());
  // The image is wider than the window (a shadow's share): the region takes the image's width.
  host.width = 420;
  TqvFormRegion region(host);
  region.RgnRects = {vcl::Rect(0, 0, 3, 1), vcl::Rect(417, 0, 420, 1)};

  // Moved by (DX, DY), holes and all.
  HRGN moved = region.MakeRgn(5, 7);
  EXPECT_EQ(BoxOf(moved), vcl::Rect(5, 7, 425, 307));
  EXPECT_FALSE(PtInRegion(moved, 6, 7) || PtInRegion(moved, 423, 7));
  EXPECT_TRUE(PtInRegion(moved, 8, 7) && PtInRegion(moved, 6, 8));
  DeleteObject(moved);

  // Nothing while an animation shows a snapshot, nor while the provider leaves the frame to the
  // system; the region stays marked as changed.
  host.snapshot = true;
  region.UpdateFormRgn(false);
  host.snapshot = false;
  host.base.DrawNonClientArea = false;
  region.UpdateFormRgn(false);
  host.base.DrawNonClientArea = true;
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());
  EXPECT_TRUE(region.RgnChanged);

  // A form that keeps its own region until the image was painted whole.
  MessageSpy above(form.get());
  above.answers[kRegionQueryMessage] = kRegionQueryValue;
  host.painted = false;
  region.UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());
  host.painted = true;
  host.width = 400;
  region.RgnRects = {vcl::Rect(0, 0, 3, 1), vcl::Rect(397, 0, 400, 1)};
  region.UpdateFormRgn(false);
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(0, 0, 400, 300));
  EXPECT_FALSE(InWindowRegion(wnd, 1, 0) || InWindowRegion(wnd, 398, 0));
  EXPECT_TRUE(InWindowRegion(wnd, 3, 0) && InWindowRegion(wnd, 200, 150));
  EXPECT_FALSE(region.RgnChanged);
  EXPECT_FALSE(region.SettingRgn);

  // With a border window only the client part of the window stays.
  TFakeBorderForm border(wnd, 30, GetSystemMetrics(SM_CYCAPTION));
  host.border = &border;
  region.UpdateFormRgn(true);
  const int frame = SysBorderWidth(wnd, nullptr, false);
  EXPECT_EQ(RegionBox(wnd), vcl::Rect(frame, frame + SysCaptionHeight(form.get()), 400 - frame, 300 - frame));
  host.border = nullptr;

  // A borderless form without a sizing frame keeps its own.
  SetWindowRgn(wnd, nullptr, FALSE);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  host.framed = false;
  region.UpdateFormRgn(true);
  EXPECT_EQ(RegionBox(wnd), vcl::TRect());

  // Without a skin the corners are none.
  region.UpdateRgnRects();
  EXPECT_TRUE(region.RgnRects.empty());
}

}  // namespace
}  // namespace skin_layered::test
