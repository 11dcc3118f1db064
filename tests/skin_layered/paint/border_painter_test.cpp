// The skinned border painter on a synthetic skin: the plain frame, the border image over
// strips of the background colour or of the parent's picture, the colour band up to the
// border width, and the client rectangles left inside.
#include <cstdlib>

#include "classlib/controls/Controls.h"
#include "paint_win_support.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/paint/BorderPainter.h"

namespace skin_layered::test {

// A parent whose background answer is its picture.
class TPictureParent : public vcl::TCustomControl {
  VCL_CLASS(TPictureParent, vcl::TCustomControl)
 public:
  explicit TPictureParent(vcl::TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 80, 80); }
  vcl::TBitmap* picture = nullptr;

  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage && SkinCommandOf(Message.WParam) == scmGetBgInfo) {
      auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
      info->Bmp = picture;
      info->BgType = btBitmap;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TPictureParent) {}

namespace {

using vcl::Rect;

constexpr vcl::TColor kBack = 0x00FF00;  // the control's background colour
constexpr TPixel32 kBlue = 0xFF0000FFu;
constexpr TPixel32 kYellow = 0xFFFFFF00u;

template <class T>
using Owned = std::unique_ptr<T, void (*)(vcl::TObject*)>;
template <class T>
Owned<T> Make() {
  return Owned<T>(new T(nullptr), [](vcl::TObject* o) { vcl::TObject::Free(o); });
}

// Equal within one step in every colour channel (a white mask keeps 255 / 256 of the target).
::testing::AssertionResult Near(TPixel32 a, TPixel32 b) {
  for (unsigned shift : {0u, 8u, 16u})
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 1)
      return ::testing::AssertionFailure() << std::hex << a << " is not " << b;
  return ::testing::AssertionSuccess();
}

// A section with a masked border image of two 6 x 6 states (blue, yellow), margins 2: its
// outer ring is masked out (shows what lies under it), the rest is the image.
struct BorderSkin {
  TsLoadedSkin skin;
  BorderSkin() {
    auto master = Filled32(12, 12, 0);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 12; ++x) {
        SetPixelOf(*master, x, y, x < 6 ? kBlue : kYellow);
        const int fx = x % 6;
        const bool ring = fx == 0 || y == 0 || fx == 5 || y == 5;
        SetPixelOf(*master, x, y + 6, ring ? 0xFFFFFFFFu : 0xFF000000u);
      }
    skin.MasterBitmap = std::shared_ptr<vcl::TBitmap>(master.release());
    skin.Images.push_back(SkinImage(skin, Rect(0, 0, 12, 12), 2, 2, 1));
    TsGeneralData section;
    section.ClassName = L"EDIT";
    section.States = 2;
    section.BorderIndex = 0;
    skin.Sections.push_back(section);
    skin.SkinData.Active = true;
  }
};

TEST(PaintSkinnedBackground, PlainFrameWithoutAnImage) {
  auto target = Canvas24(20, 20, RGB(0, 0, 0));
  HDC dc = target->Canvas()->Handle();
  TqvControlSkin data;  // no skin at all
  vcl::TRect client;
  PaintSkinnedBackground(dc, Rect(2, 2, 18, 18), 3, client, 0, data, kBack);
  EXPECT_EQ(client, Rect(5, 5, 15, 15));
  for (auto [x, y] : {std::pair{2, 2}, {4, 10}, {17, 17}, {10, 16}})
    EXPECT_EQ(ColorOf(*target, x, y), static_cast<COLORREF>(kBack)) << x << "," << y;
  EXPECT_TRUE(ColoursAre(*target, {{5, 5, 0u}, {18, 18, 0u}}));

  PaintSkinnedBackground(dc, Rect(0, 0, 4, 10), 3, client, 0, data, kBack);
  EXPECT_EQ(client, Rect(3, 3, 3, 7));  // narrower than the frame: Right stops at Left
}

TEST(PaintSkinnedBackground, ImageOverTheBackgroundColourWithoutParent) {
  BorderSkin s;
  auto owner = Make<vcl::TCustomControl>();
  owner->SetBounds(0, 0, 20, 16);
  vcl::TBitmap cache;
  const TqvControlSkin data{
      .Skin = &s.skin, .SkinIndex = 0, .BorderIndex = 0, .Owner = owner.get(), .Cache = &cache, .Changes = {}};
  vcl::TRect client;
  // Painted into the cache itself: the image only.
  PaintSkinnedBackground(cache.Canvas()->Handle(), Rect(0, 0, 20, 16), 0, client, 0, data, kBack);
  ASSERT_EQ(cache.Width(), 20);
  ASSERT_EQ(cache.Height(), 16);
  EXPECT_EQ(client, Rect(2, 2, 18, 14));
  EXPECT_TRUE(Near(PixelOf(cache, 0, 8), 0xFF00FF00u));  // nothing behind: the strips' colour
  EXPECT_TRUE(Near(PixelOf(cache, 1, 8), kBlue));
  EXPECT_TRUE(Near(PixelOf(cache, 10, 15), 0xFF00FF00u));
  // A state beyond the section's: its last.
  PaintSkinnedBackground(cache.Canvas()->Handle(), Rect(0, 0, 20, 16), 0, client, 5, data, kBack);
  EXPECT_TRUE(Near(PixelOf(cache, 1, 8), kYellow));
}

TEST(PaintSkinnedBackground, ImageOverTheParentsPictureAndTheBandToTheBorderWidth) {
  BorderSkin s;
  auto parent = Make<TPictureParent>();
  auto picture = Filled32(80, 80, 0);
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 80; ++x) SetPixelOf(*picture, x, y, Bgra(x, y, 7, 255));
  parent->picture = picture.get();
  auto* owner = new vcl::TCustomControl(parent.get());
  owner->SetParent(parent.get());
  owner->SetBounds(10, 20, 20, 16);

  vcl::TBitmap cache;
  const TqvControlSkin data{
      .Skin = &s.skin, .SkinIndex = 0, .BorderIndex = 0, .Owner = owner, .Cache = &cache, .Changes = {}};
  auto target = Canvas24(20, 16, RGB(0, 0, 0));
  vcl::TRect client;
  PaintSkinnedBackground(target->Canvas()->Handle(), Rect(0, 0, 20, 16), 4, client, 0, data, kBack);
  EXPECT_EQ(client, Rect(4, 4, 16, 12));
  EXPECT_TRUE(Near(PixelOf(cache, 0, 8), Bgra(10, 28, 7, 255)));  // the parent's picture under the control
  EXPECT_TRUE(Near(PixelOf(cache, 1, 8), kBlue));
  EXPECT_EQ(PixelOf(cache, 3, 8) & 0xFFFFFF, 0x00FF00u);  // the band from the margin to the border width
  EXPECT_EQ(PixelOf(cache, 10, 3) & 0xFFFFFF, 0x00FF00u);
  // The frame reaches the DC; the inside is left to the caller.
  EXPECT_TRUE(ColoursAre(*target, {{3, 8, static_cast<COLORREF>(kBack)}, {1, 8, RGB(0, 0, 255)}, {6, 8, 0u}}));

  // Margins wider than the border width: no band.
  PaintSkinnedBackground(cache.Canvas()->Handle(), Rect(0, 0, 20, 16), 1, client, 0, data, 0x0000FF);
  EXPECT_EQ(client, Rect(1, 1, 19, 15));
  EXPECT_EQ(PixelOf(cache, 3, 8) & 0xFFFFFF, 0x00FF00u);
}

}  // namespace
}  // namespace skin_layered::test
