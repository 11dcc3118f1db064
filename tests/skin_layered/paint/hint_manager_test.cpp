// The hint manager: PNG templates and the default one loaded at start-up, placement and
// flipping at monitor edges, hints shown at a point on a layered form (what reaches the
// layered-window update, premultiplied), the fade-in and the slide to a new place ticked
// through the timers' windows, hiding and the keep-alive timer, the templates chosen and
// the wrap width, and the skin's look from a synthetic skin.
#include <windows.h>

#include <algorithm>
#include <cmath>

#include "classlib/forms/Forms.h"
#include "glyph_test_support.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintShowTimer.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/pixels/AlphaPixels.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// What reached the layered-window update.
struct Update {
  HWND wnd;
  std::uint8_t alpha;
  std::optional<vcl::TPoint> dest;
  std::unique_ptr<vcl::TBitmap> image;
};

// Catches every layered-window update for a scope, and gives the program's hint manager. The
// display shows per-pixel alpha unless a test says otherwise.
class HintScope {
 public:
  HintScope() {
    alpha_before_ = SetPerPixelAlphaShown(true);
    before_ = SetLayeredUpdateFunc([this](const TLayeredUpdate& u) {
      auto copy = std::make_unique<vcl::TBitmap>();
      CopyBmp(copy.get(), u.Bitmap);
      updates.push_back({u.Wnd, u.Alpha, u.Dest, std::move(copy)});
      return true;
    });
    manager = new TsHintManager(nullptr);
  }
  ~HintScope() {
    vcl::TObject::Free(manager);
    SetLayeredUpdateFunc(before_);
    SetPerPixelAlphaShown(alpha_before_);
  }
  HintScope(const HintScope&) = delete;
  HintScope& operator=(const HintScope&) = delete;

  TsHintManager* manager;
  std::vector<Update> updates;

 private:
  TLayeredUpdateFunc before_;
  std::optional<bool> alpha_before_;
};

void Tick(vcl::TTimer* timer) {
  ASSERT_NE(timer, nullptr);
  SendMessageW(timer->WindowHandle(), WM_TIMER, 1, 0);
}

// The fade's ticks come through its inner timer's window.
void Tick(TsShowTimer* timer) {
  ASSERT_NE(timer, nullptr);
  for (int i = 0; i < timer->ComponentCount(); ++i)
    if (auto* inner = dynamic_cast<vcl::TTimer*>(timer->Components(i))) return Tick(inner);
  FAIL() << "no inner timer";
}

bool Premultiplied(vcl::TBitmap& bmp) {
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x) {
      const TPixel32 p = PixelOf(bmp, x, y);
      const unsigned a = p >> 24;
      if ((p & 0xFF) > a || ((p >> 8) & 0xFF) > a || ((p >> 16) & 0xFF) > a) return false;
    }
  return true;
}

std::unique_ptr<TPNGGraphic> Png(int width, int height, std::uint32_t argb) {
  const Bytes bytes = PngFile(width, height, Solid(width, height, argb));
  vcl::TMemoryStream stream;
  SetBytes(&stream, bytes);
  auto png = std::make_unique<TPNGGraphic>();
  png->LoadFromStream(&stream);
  return png;
}

vcl::TRect Sizes(const TqvBordersSizes* s) { return {s->Left(), s->Top(), s->Right(), s->Bottom()}; }

TEST(HintTemplates, TheDefaultTemplateLoadsAtStartUp) {
  TqvHintTemplate* tmpl = DefaultHintTemplate();
  ASSERT_NE(tmpl, nullptr);
  EXPECT_EQ(Sizes(tmpl->ImageDefault()->ClientMargins()), vcl::TRect(11, 8, 16, 15));
  const auto names = vcl::InitializedUnitNames();
  const auto position = [&](const wchar_t* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  EXPECT_LT(position(L"PngPictureFormat"), position(L"AlphaHints"));
  EXPECT_LT(static_cast<std::size_t>(position(L"AlphaHints")), names.size());
}

TEST(HintTemplates, ImagesSizesAndChanges) {
  HintScope scope;
  int changes = 0;
  struct Counter {
    int* n;
    void Changed(vcl::TObject*) { ++*n; }
  } counter{&changes};
  scope.manager->OnChange = vcl::TNotifyEvent::Bind<&Counter::Changed>(&counter);
  TqvHintTemplate* tmpl = scope.manager->Templates()->Add();
  // A new picture cuts it and places the text at half its size less one.
  TqvHintImage* image = tmpl->ImgLeftBottom();
  const int afterAdd = changes;
  image->SetImage(Png(31, 21, 0xFF102030).get());
  EXPECT_EQ(Sizes(image->BordersWidths()), vcl::TRect(15, 10, 15, 10));
  EXPECT_EQ(Sizes(image->ClientMargins()), vcl::TRect(15, 10, 15, 10));
  EXPECT_GT(changes, afterAdd);

  TqvBordersSizes* shadow = image->ShadowSizes();
  shadow->SetLeft(-4);
  EXPECT_EQ(shadow->Left(), 0);
  shadow->SetClamp(true);
  shadow->SetTop(50);
  EXPECT_EQ(shadow->Top(), 20);
  shadow->SetBottom(50);
  EXPECT_EQ(shadow->Bottom(), 0);  // what is left below the top
  shadow->SetClamp(false);

  // Read from a description the bytes come first and the margins stay when they decode.
  const int before = changes;
  scope.manager->SetComponentState(vcl::csLoading, true);
  TqvHintImage* fromData = tmpl->ImgRightTop();
  SetBytes(fromData->ImageData(), PngFile(9, 7, Solid(9, 7, 0xFF00FF00)));
  fromData->ClientMargins()->SetAll(1, 2, 3, 4);
  scope.manager->SetComponentState(vcl::csLoading, false);
  EXPECT_EQ(changes, before);  // not while the manager is read
  EXPECT_EQ(fromData->ImageWidth(), 0);
  fromData->DecodeIfNeeded();
  EXPECT_EQ(fromData->ImageWidth(), 9);
  EXPECT_EQ(Sizes(fromData->ClientMargins()), vcl::TRect(1, 2, 3, 4));

  EXPECT_EQ(tmpl->PlacementImage(hpLeft), tmpl->ImgRightTop());
}

TEST(HintPlacement, FlipsAtTheMonitorsEdges) {
  const vcl::TRect monitor(0, 0, 1000, 800);
  const vcl::TRect shadow(2, 3, 4, 5);
  const struct {
    vcl::TPoint at;  // the corner of a 50 x 30 body
    TqvHintPlacement asked, placed;
    bool skinned, noImageAbove;
    vcl::TRect body;
  } cases[] = {
      {{100, 100}, hpBelowRight, hpBelowRight, false, false, {100, 100, 150, 130}},
      {{100, 790}, hpBelowRight, hpAbove, false, false, {100, 760, 150, 790}},   // past the bottom: above
      {{100, 790}, hpBelowRight, hpAbove, false, true, {100, 770, 150, 800}},    // only as far as it overflows
      {{100, 790}, hpBelowRight, hpAbove, true, false, {100, 770, 150, 800}},    // the skin's look: the same
      {{990, 100}, hpBelowRight, hpLeft, false, false, {940, 100, 990, 130}},    // past the right: to the left
      {{990, 790}, hpBelowRight, hpAboveLeft, false, false, {940, 760, 990, 790}},
      {{100, 10}, hpAbove, hpAbove, false, false, {100, 0, 150, 30}},            // no room above: kept at the top
      {{10, 100}, hpLeft, hpLeft, false, false, {0, 100, 50, 130}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.at.X << "," << c.at.Y << " asked " << c.asked);
    vcl::TRect r(c.at.X - 2, c.at.Y - 3, c.at.X + 50 + 4, c.at.Y + 30 + 5);
    const auto placed = PlaceHintRect(r, shadow, c.asked, monitor, c.skinned, c.noImageAbove, false);
    if (!c.skinned) {
      EXPECT_EQ(placed, c.placed);
    }
    EXPECT_EQ(vcl::TRect(r.Left + 2, r.Top + 3, r.Right - 4, r.Bottom - 5), c.body);
  }
}

TEST(HintManager, ShowsAHintAtAPointOnALayeredForm) {
  HintScope scope;
  scope.manager->SetAnimated(false);
  EXPECT_EQ(vcl::HintWindowClass, &TqvPngHintWindow::StaticClass());
  TqvPngHintWindow* window = scope.manager->ShowHintAt({300, 200}, L"Hint text", 0);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(scope.manager->HintVisible());
  EXPECT_EQ(window->Placement(), hpBelowRight);
  // The body's corner is at the point: the shadow bands lie before it.
  const vcl::TRect r = window->HintRect();
  EXPECT_EQ(r.TopLeft(), vcl::TPoint(300 - 6, 200 - 5));

  TqvHintForm* form = scope.manager->HintForm();
  ASSERT_NE(form, nullptr);
  EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);  // clicks fall through
  EXPECT_EQ(GetClassLongPtrW(form->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);

  ASSERT_EQ(scope.updates.size(), 1u);
  const Update& shown = scope.updates[0];
  EXPECT_EQ(shown.wnd, form->Handle());
  EXPECT_EQ(shown.alpha, 255);
  ASSERT_TRUE(shown.dest);
  EXPECT_EQ(*shown.dest, r.TopLeft());
  vcl::TBitmap& image = *shown.image;
  EXPECT_EQ(image.Width(), r.Width());
  EXPECT_TRUE(Premultiplied(image));
  EXPECT_EQ(PixelOf(image, 0, 0), 0u);                       // the shadow band's corner
  EXPECT_EQ(PixelOf(image, 8, image.Height() / 2) >> 24, 255u);  // inside the body
  EXPECT_GT(PixelOf(image, image.Width() / 2, image.Height() - 7) >> 24, 0u);  // the shadow below
  EXPECT_LT(PixelOf(image, image.Width() / 2, image.Height() - 7) >> 24, 255u);

  // The window answers the engine as a skinned one, with its image as background.
  EXPECT_EQ(SendCommandToWnd(window->Handle(), scmIsSkinned, 0), 1);
  TqvBGInfo info;
  SendCommandToWnd(window->Handle(), scmGetBgInfo, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.BgType, btBitmap);
  EXPECT_EQ(info.Bmp, window->Image());
}

bool PartlyTransparent(vcl::TBitmap& bmp) {
  TPixelView view;
  return InitPixelView(&bmp, view) && HasPartialAlpha(view);
}

// The region type of a window's shape: ERROR without one, NULLREGION for an empty one.
int WindowRgnType(HWND wnd) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  const int type = GetWindowRgn(wnd, rgn);
  DeleteObject(rgn);
  return type;
}

// A display without alpha (Wine without a compositing manager) shows a partly transparent
// pixel opaque in its darkened colour, and the hint window, meant to stand invisible under
// the hint's picture by a constant alpha of 0, opaque too: the default template's hint stood
// in a black box. There the hint's picture goes out all or nothing and the window takes no
// room.
TEST(HintManager, WithoutPerPixelAlphaTheShadowGoesOutAllOrNothing) {
  HintScope scope;
  scope.manager->SetAnimated(false);
  std::vector<std::unique_ptr<vcl::TBitmap>> shown;
  for (const bool perPixel : {true, false}) {
    SetPerPixelAlphaShown(perPixel);
    scope.updates.clear();
    TqvPngHintWindow* window = scope.manager->ShowHintAt({300, 200}, L"Hint text", 0);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(scope.updates.empty());
    shown.push_back(std::move(scope.updates.back().image));
    EXPECT_TRUE(IsWindowVisible(window->Handle()));
    EXPECT_EQ(WindowRgnType(window->Handle()), perPixel ? ERROR : NULLREGION) << perPixel;
    SendMessageW(window->Handle(), WM_NCPAINT, 1, 0);
    EXPECT_EQ(WindowRgnType(window->Handle()), perPixel ? ERROR : NULLREGION) << perPixel;
  }
  vcl::TBitmap& soft = *shown[0];
  vcl::TBitmap& hard = *shown[1];
  ASSERT_EQ(soft.Width(), hard.Width());
  ASSERT_EQ(soft.Height(), hard.Height());
  EXPECT_TRUE(PartlyTransparent(soft));   // as painted
  EXPECT_FALSE(PartlyTransparent(hard));
  for (int y = 0; y < soft.Height(); ++y)
    for (int x = 0; x < soft.Width(); ++x) {
      const TPixel32 s = PixelOf(soft, x, y), h = PixelOf(hard, x, y);
      const unsigned a = s >> 24;
      if (a == 255 || a == 0) ASSERT_EQ(h, s) << x << "," << y;  // whole pixels as they were
      else if (a < 128) ASSERT_EQ(h, 0u) << x << "," << y;
      else ASSERT_EQ(h >> 24, 255u) << x << "," << y;
    }
  EXPECT_EQ(PixelOf(hard, hard.Width() / 2, hard.Height() - 7), 0u);  // the shadow below: clear
}

TEST(HintManager, HintsAtTheScreensCornerStayOnTheMonitor) {
  HintScope scope;
  scope.manager->SetAnimated(false);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  TqvPngHintWindow* window = scope.manager->ShowHintAt({w - 4, h - 4}, L"At the corner", 0);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Placement(), hpAboveLeft);
  const vcl::TRect r = window->HintRect();  // the body (shadow bands aside) lies on the screen
  EXPECT_LE(r.Right - 7, w);
  EXPECT_LE(r.Bottom - 8, h);
}

TEST(HintManager, FadesInAndSlidesToTheNextPlace) {
  HintScope scope;
  ASSERT_TRUE(scope.manager->Animated());
  const int pause = vcl::Application->HintPause();
  scope.manager->ShowHintAt({300, 200}, L"First", 0);
  TsShowTimer* fade = scope.manager->ShowTimer();
  ASSERT_NE(fade, nullptr);
  EXPECT_EQ(fade->Interval(), 12u);
  EXPECT_EQ(vcl::Application->HintPause(), 100);  // while hints fade
  ASSERT_EQ(scope.updates.size(), 1u);
  EXPECT_EQ(scope.updates[0].alpha, 0);
  for (int i = 1; i <= 3; ++i) Tick(fade);
  ASSERT_EQ(scope.updates.size(), 4u);
  EXPECT_EQ(scope.updates[1].alpha, 21);  // 255 / 12 a tick
  EXPECT_EQ(scope.updates[3].alpha, 64);
  vcl::TBitmap* firstImage = fade->Image();
  const TPixel32 firstPixel = PixelOf(*firstImage, 8, firstImage->Height() / 2);
  const vcl::TRect firstRect = fade->Rect();

  // A second hint elsewhere stops the fade, keeps its image, and slides it over.
  scope.manager->ShowHintAt({500, 400}, L"Second hint", 0);
  ASSERT_NE(scope.manager->LastImage(), nullptr);
  EXPECT_EQ(PixelOf(*scope.manager->LastImage(), 8, firstImage->Height() / 2), firstPixel);
  EXPECT_EQ(scope.manager->LastHintRect(), firstRect);
  fade = scope.manager->ShowTimer();
  ASSERT_NE(fade, nullptr);
  EXPECT_TRUE(fade->Sliding());
  TqvHintForm* old = scope.manager->HintForm();
  TqvHintForm* fading = scope.manager->FadeForm();
  ASSERT_NE(fading, nullptr);
  const std::size_t before = scope.updates.size();
  Tick(fade);
  ASSERT_EQ(scope.updates.size(), before + 2);
  EXPECT_EQ(scope.updates[before].wnd, old->Handle());
  const vcl::TRect target = fade->Rect();
  ASSERT_TRUE(scope.updates[before].dest);
  EXPECT_EQ(scope.updates[before].dest->X, firstRect.Left + static_cast<int>(std::lround((target.Left - firstRect.Left) / 12.0)));
  EXPECT_EQ(scope.updates[before + 1].wnd, fading->Handle());
  EXPECT_EQ(scope.updates[before + 1].alpha, 21);
  for (int i = 2; i <= 12; ++i) Tick(fade);
  EXPECT_TRUE(fade->Finished());
  EXPECT_EQ(scope.updates.back().alpha, 255);
  EXPECT_EQ(scope.manager->HintForm(), fading);  // the fading form took over
  EXPECT_EQ(scope.manager->LastHintRect(), target);

  // Hidden: the forms stay for the keep-alive pause, then go and the pause comes back.
  vcl::TObject::Free(scope.manager->PngHintWindow());
  EXPECT_FALSE(scope.manager->HintVisible());
  vcl::TTimer* keep = scope.manager->KeepAliveTimer();
  ASSERT_NE(keep, nullptr);
  EXPECT_EQ(keep->Interval(), static_cast<unsigned>(vcl::Application->HintShortPause() + 300));
  EXPECT_NE(scope.manager->HintForm(), nullptr);
  Tick(keep);
  EXPECT_EQ(scope.manager->HintForm(), nullptr);
  EXPECT_EQ(scope.manager->LastImage(), nullptr);
  EXPECT_EQ(vcl::Application->HintPause(), pause);
}

TEST(HintManager, HideAfterAndTheKeepAliveTimer) {
  HintScope scope;
  scope.manager->SetAnimated(false);
  int hides = 0;
  struct Counter {
    int* n;
    void Hidden(vcl::TObject*) { ++*n; }
  } counter{&hides};
  scope.manager->OnHideHint = vcl::TNotifyEvent::Bind<&Counter::Hidden>(&counter);
  scope.manager->ShowHintAt({200, 200}, L"Goes soon", 500);
  vcl::TTimer* after = scope.manager->HideAfterTimer();
  ASSERT_NE(after, nullptr);
  EXPECT_EQ(after->Interval(), 500u);
  Tick(after);
  EXPECT_EQ(scope.manager->PngHintWindow(), nullptr);
  EXPECT_FALSE(after->Enabled());
  EXPECT_EQ(hides, 1);

  // A hint shown again before the keep-alive pause ends keeps the form.
  vcl::TTimer* keep = scope.manager->KeepAliveTimer();
  ASSERT_NE(keep, nullptr);
  TqvHintForm* form = scope.manager->HintForm();
  scope.manager->ShowHintAt({200, 200}, L"Back", 0);
  EXPECT_FALSE(keep->Enabled());
  EXPECT_EQ(scope.manager->HintForm(), form);
  Tick(keep);
  EXPECT_EQ(scope.manager->HintForm(), form);

  // The show event may change the text or cancel.
  struct Show {
    void OnShow(vcl::TObject*, vcl::String& text, bool& canShow, vcl::THintInfo&, vcl::TWinControl*&) {
      if (text == L"cancel") canShow = false;
      text = L"changed";
    }
  } show;
  scope.manager->OnShowHint = TqvShowHintEvent::Bind<&Show::OnShow>(&show);
  EXPECT_EQ(scope.manager->ShowHintAt({200, 200}, L"cancel", 0), nullptr);
  ASSERT_NE(scope.manager->ShowHintAt({200, 200}, L"other", 0), nullptr);
  EXPECT_EQ(scope.manager->PngHintWindow()->HintText(), L"changed");
}

TEST(HintManager, TheTemplateAndTheWrapWidth) {
  HintScope scope;
  TsHintManager& m = *scope.manager;
  auto window = std::unique_ptr<TqvPngHintWindow, void (*)(TqvPngHintWindow*)>(
      vcl::Construct<TqvPngHintWindow>(nullptr), [](TqvPngHintWindow* w) { vcl::TObject::Free(w); });
  window->ForcedPos = {200, 200};
  for (int i = 0; i < 3; ++i) m.Templates()->Add()->ImageDefault()->SetImage(Png(31 + 10 * i, 21, 0xFF808080).get());
  const vcl::TRect withDefault = window->CalcHintRect(0, L"Text", nullptr);
  m.SetTemplateIndex(2);
  const vcl::TRect withThird = window->CalcHintRect(0, L"Text", nullptr);
  // The default template's margins (11 + 16, 8 + 15) against the third's (25 + 25, 10 + 10).
  EXPECT_EQ(withThird.Width() - withDefault.Width(), 50 - 27);
  EXPECT_EQ(withThird.Height() - withDefault.Height(), 20 - 23);
  m.SetTemplateIndex(7);
  EXPECT_EQ(window->CalcHintRect(0, L"Text", nullptr), withDefault);

  // MaxWidth 0 wraps at the screen's width; a small one wraps the words.
  m.SetTemplateIndex(-1);
  vcl::String words;
  for (int i = 0; i < 30; ++i) words += L"word ";
  const vcl::TRect wide = window->CalcHintRect(0, words, nullptr);
  EXPECT_GT(wide.Width(), 200);
  EXPECT_LE(wide.Width() - 27, GetSystemMetrics(SM_CXSCREEN));
  m.SetMaxWidth(100);
  const vcl::TRect narrow = window->CalcHintRect(0, words, nullptr);
  EXPECT_LE(narrow.Width() - 27, 100);
  EXPECT_GT(narrow.Height(), 3 * (wide.Height() - 23));

  // In HTML mode the tags are not text.
  m.SetMaxWidth(0);
  const vcl::TRect tags = window->CalcHintRect(0, L"<b>Bold</b> and <i>more</i>", nullptr);
  m.SetHTMLMode(true);
  const vcl::TRect html = window->CalcHintRect(0, L"<b>Bold</b> and <i>more</i>", nullptr);
  EXPECT_LT(html.Width(), tags.Width());
  EXPECT_GT(html.Width(), 27);
}

// A synthetic skin with a HINT section: red background, a 9 x 9 border image with a white
// frame 3 wide, a blue centre (painted only with Centre) and key-coloured corner pixels.
class SkinManager : public TqvDefaultManager {
 public:
  explicit SkinManager(int transparency, bool masked, bool Centre = true, bool soft = false) {
    skin.Sections.resize(1);
    TsGeneralData& hint = skin.Sections[0];
    hint.ClassName = L"HINT";
    hint.States = 1;
    hint.Props[0].Color = 0x0000FF;
    hint.Props[0].FontColor = 0xFFFFFF;
    hint.Props[0].Transparency = transparency;
    auto picture = std::make_shared<vcl::TBitmap>();
    const int rows = masked ? 18 : 9;
    picture->SetPixelFormat(vcl::pf32bit);
    picture->SetSize(9, rows);
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < 9; ++x) {
        TPixel32 p = Bgra(255, 255, 255, 255);
        // The mask: its outer ring white (clear), black (opaque) inside it.
        if (y >= 9) {
          const bool outer = x == 0 || x == 8 || y == 9 || y == 17;
          const bool inner = x == 1 || x == 7 || y == 10 || y == 16;
          // A soft shadow: its outer ring mostly clear, the next one mostly opaque.
          p = outer ? (soft ? Bgra(192, 192, 192, 255) : Bgra(255, 255, 255, 255))
                    : inner && soft ? Bgra(64, 64, 64, 255) : Bgra(0, 0, 0, 255);
        }
        else if (x > 2 && x < 6 && y > 2 && y < 6) p = Bgra(0, 0, 255, 255);
        if (y == 0 && (x == 0 || x == 8)) p = 0x00FF00FF;
        SetPixelOf(*picture, x, y, p);
      }
    TsMaskData border = SkinImage(skin, vcl::TRect(0, 0, 9, rows), 1, 3, masked ? 1 : 0);
    border.Bmp = picture;
    border.ClassName = L"HINT";
    border.PropertyName = L"BORDERSMASK";
    border.DrawMode = Centre ? 4 : 0;
    skin.Images.push_back(border);
    hint.BorderIndex = 0;
  }
  const TsLoadedSkin& Skin() const override { return skin; }
  bool StdGlyphsOrder() const override { return false; }
  TsLoadedSkin skin;
};

TEST(HintManager, TheSkinsLook) {
  SkinManager skin(0, false);
  TqvDefaultManager* before = SetDefaultManager(&skin);
  {
    HintScope scope;
    scope.manager->SetAnimated(false);
    ASSERT_TRUE(scope.manager->SkinUsed());
    TqvPngHintWindow* window = scope.manager->ShowHintAt({300, 300}, L"Skinned", 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->HintRect().TopLeft(), vcl::TPoint(300, 300));  // no shadow bands
    // The system's drop shadow, since the skin draws none.
    EXPECT_NE(GetClassLongPtrW(scope.manager->HintForm()->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    // The window's shape leaves out the border image's key-coloured corners.
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window->Handle(), rgn), ERROR);
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    EXPECT_TRUE(PtInRegion(rgn, 1, 0));
    DeleteObject(rgn);
    ASSERT_FALSE(scope.updates.empty());
    EXPECT_TRUE(PixelsAre(*scope.updates.back().image, {{0, 0, 0}, {1, 1, Bgra(255, 255, 255, 255)}}));  // the frame

    // Measured in the screen's hint font, with the borders and room around the text.
    RECT text{0, 0, GetSystemMetrics(SM_CXSCREEN), 0};
    {
      vcl::WindowDC dc(nullptr);
      HGDIOBJ old = SelectObject(dc.get(), vcl::Screen->HintFont()->Handle());
      DrawTextW(dc.get(), L"Skinned", 7, &text, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      SelectObject(dc.get(), old);
    }
    EXPECT_EQ(window->CalcHintRect(0, L"Skinned", nullptr), vcl::TRect(0, 0, text.right + 14, text.bottom + 14));
    scope.manager->SetUseSkinData(false);
    EXPECT_FALSE(scope.manager->SkinUsed());
  }
  // A transparent section with a masked border image draws it as a soft layered shadow.
  SkinManager shadowed(100, true);
  SetDefaultManager(&shadowed);
  {
    HintScope scope;
    scope.manager->SetAnimated(false);
    TqvPngHintWindow* window = scope.manager->ShowHintAt({300, 300}, L"Shadow", 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetClassLongPtrW(scope.manager->HintForm()->Handle(), GCL_STYLE) & CS_DROPSHADOW, 0u);
    vcl::TBitmap& image = *scope.updates.back().image;
    EXPECT_EQ(PixelOf(image, 0, 0) >> 24, 0u);  // the mask's white: clear
    EXPECT_EQ(PixelOf(image, 1, 1) >> 24, 255u);
    EXPECT_TRUE(Premultiplied(image));
  }
  // A soft shadow in the border image's mask: partly transparent where the display shows it,
  // all or nothing where it would show it opaque and dark.
  SkinManager soft(100, true, true, true);
  SetDefaultManager(&soft);
  for (const bool perPixel : {true, false}) {
    HintScope scope;
    SetPerPixelAlphaShown(perPixel);
    scope.manager->SetAnimated(false);
    ASSERT_NE(scope.manager->ShowHintAt({300, 300}, L"Soft shadow", 0), nullptr);
    ASSERT_FALSE(scope.updates.empty());
    vcl::TBitmap& image = *scope.updates.back().image;
    const int y = image.Height() / 2;
    EXPECT_EQ(PartlyTransparent(image), perPixel);
    // The window's shape: the skin's where alpha shows, else none at all.
    const HWND wnd = scope.manager->PngHintWindow()->Handle();
    SendMessageW(wnd, WM_NCPAINT, 1, 0);
    EXPECT_EQ(WindowRgnType(wnd), perPixel ? COMPLEXREGION : NULLREGION);
    if (perPixel) {
      EXPECT_EQ(PixelOf(image, 0, y) >> 24, 255u - 192u);
      EXPECT_EQ(PixelOf(image, 1, y) >> 24, 255u - 64u);
    } else {
      EXPECT_EQ(PixelOf(image, 0, y), 0u);
      EXPECT_EQ(PixelOf(image, 1, y), Bgra(255, 255, 255, 255));  // the frame's white, opaque
    }
  }
  SetDefaultManager(before);
}

// A border image that leaves its centre to the section (as most skins' hint borders do): the
// hint's inside is the section's face with the text on it, opaque, and within the window's shape.
TEST(HintManager, ABorderWithoutACentreLeavesTheInsideToTheSectionAndItsText) {
  SkinManager skin(0, true, false);
  TqvDefaultManager* before = SetDefaultManager(&skin);
  {
    HintScope scope;
    scope.manager->SetAnimated(false);
    TqvPngHintWindow* window = scope.manager->ShowHintAt({300, 300}, L"Skinned text", 0);
    ASSERT_NE(window, nullptr);
    ASSERT_FALSE(scope.updates.empty());
    vcl::TBitmap& image = *scope.updates.back().image;
    const int w = image.Width(), h = image.Height();
    // Below the text, inside the frame: the section's red, opaque; the key-coloured corner clear.
    EXPECT_TRUE(PixelsAre(image, {{w / 2, h - 4, Bgra(0, 0, 255, 255)}, {0, 0, 0}}));
    // The text in the section's white font colour, opaque, on the red.
    int letters = 0;
    for (int y = 3; y < h - 3; ++y)
      for (int x = 3; x < w - 3; ++x) letters += (PixelOf(image, x, y) & 0xFFF0F0F0u) == 0xFFF0F0F0u ? 1 : 0;
    EXPECT_GT(letters, 10);
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(window->Handle(), rgn), ERROR);
    EXPECT_TRUE(PtInRegion(rgn, w / 2, h / 2));
    EXPECT_FALSE(PtInRegion(rgn, 0, 0));
    DeleteObject(rgn);
  }
  SetDefaultManager(before);
}

TEST(HintManager, WithoutAManagerTheWindowsAreTheLibrarysOwn) {
  EXPECT_EQ(HintManager(), nullptr);
  EXPECT_NE(vcl::HintWindowClass, &TqvPngHintWindow::StaticClass());
  auto* png = vcl::Construct<TqvPngHintWindow>(nullptr);
  auto* plain = vcl::Construct<vcl::THintWindow>(nullptr);
  EXPECT_EQ(png->CalcHintRect(300, L"Plain hint", nullptr), plain->CalcHintRect(300, L"Plain hint", nullptr));
  png->ActivateHint(vcl::TRect(50, 50, 150, 70), L"Plain hint");
  EXPECT_TRUE(IsWindowVisible(png->Handle()));
  EXPECT_EQ(GetWindowLongPtrW(png->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);
  EXPECT_EQ(GetWindowLongPtrW(png->Handle(), GWL_STYLE) & WS_BORDER, 0);
  vcl::TObject::Free(png);
  vcl::TObject::Free(plain);
}

}  // namespace
}  // namespace skin_layered::test
