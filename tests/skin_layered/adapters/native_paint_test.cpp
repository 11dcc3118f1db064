// The adapter of controls that paint themselves: their own painting stays, while the skin's
// picture of the control is made when a child asks for it.
#include "hosts_support.h"
#include "skin_layered/adapters/NativePaintWnd.h"
#include "skin_layered/core/BackgroundInfo.h"

namespace skin_layered::test {

constexpr COLORREF kSelfPainted = 0x5A3C1E;

// A vendor's control that paints its client area itself.
class TSelfPainted : public vcl::TCustomControl {
  VCL_CLASS(TSelfPainted, vcl::TCustomControl)
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(static_cast<vcl::TColor>(kSelfPainted));
    Canvas()->FillRect(vcl::TRect{0, 0, Width(), Height()});
  }
};
VCL_CLASS_INFO(TSelfPainted) {}

namespace {

class NativePaint : public HostsTest {};

TEST_F(NativePaint, TheControlPaintsItselfWhileTheSkinsPictureServesItsChildren) {
  auto* control = Put<TSelfPainted>(form.get(), 10, 10, 120, 80);
  auto plain = CreateAdapter<TqvNativePaint>(control->Handle(), nullptr, manager.get(), TqvSkinParams{control, L""});
  EXPECT_EQ(plain->SkinData->SkinSection(), L"TRANSPARENT");
  plain.reset();
  auto adapter =
      CreateAdapter<TqvNativePaint>(control->Handle(), nullptr, manager.get(), TqvSkinParams{control, L"PANEL"}, true);
  // Painting stays the control's own.
  MemoryPixels pixels(120, 80);
  SendMessageW(control->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(pixels.DC()), 0);
  EXPECT_EQ(pixels.At(60, 40), kSelfPainted);
  // A child asking for the background makes the skin's picture of the control.
  adapter->SkinData->BGChanged = true;
  SendCommandToWnd(control->Handle(), scmPrepareCache, 0);
  EXPECT_FALSE(adapter->SkinData->BGChanged);
  vcl::TBitmap* cache = adapter->SkinData->CacheBmp();
  ASSERT_NE(cache, nullptr);
  EXPECT_EQ(cache->Width(), 120);
  EXPECT_EQ(GetPixel(cache->Canvas()->Handle(), 60, 40), kPanel);
  TqvBGInfo info;
  info.Offset = vcl::TPoint{5, 5};
  GetBgInfoWnd(info, control->Handle(), false);
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(static_cast<COLORREF>(vcl::ColorToRGB(info.Color)), kPanel);
}

}  // namespace
}  // namespace skin_layered::test
