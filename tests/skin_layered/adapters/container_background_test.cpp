// What a bordered container answers a child asking for its background: the container's cache
// holds the whole window, frame included, while the child counts its place from the client
// area, so a see-through child in the client area's corner shows the container's face, never
// its frame. The frame and the face differ in colour (a two-colour border image), with a flat
// section (a colour answer whose frame strips come from the cache) and a shaded one (a picture
// answer).
#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/StaticText.h"
#include "hosts_support.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/StaticTextWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/FrameAdapter.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr COLORREF kFrame = 0x2020D0, kFace = 0x40C0A0;
constexpr int kMargin = 2;  // the border image's margins, as wide as a client edge

// A border image of one frame: kMargin pixels of kFrame around a face of kFace.
void AddFramedImage(TsSkinManager& Manager, const wchar_t* Section, unsigned DrawMode = kDrawCentre | kDrawStretch) {
  constexpr int kSide = 8;
  auto bmp = std::make_shared<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf32bit);
  bmp->SetSize(kSide, kSide);
  const HDC dc = bmp->Canvas()->Handle();
  auto fill = [dc](RECT r, COLORREF c) {
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  };
  fill({0, 0, kSide, kSide}, kFrame);
  fill({kMargin, kMargin, kSide - kMargin, kSide - kMargin}, kFace);
  TsMaskData image;
  image.Bmp = bmp;
  image.ClassName = Section;
  image.PropertyName = L"BORDERSMASK";
  image.R = vcl::TRect{0, 0, kSide, kSide};
  image.ImageCount = 1;
  image.DrawMode = DrawMode;
  image.Manager = &Manager.Skin();
  image.WidthLeft = image.WidthTop = image.WidthRight = image.WidthBottom = kMargin;
  Manager.Skin().Images.push_back(image);
  const int section = Manager.GetSkinIndex(Section);
  ASSERT_GE(section, 0);
  Manager.Skin().Sections[static_cast<std::size_t>(section)].BorderIndex =
      static_cast<int>(Manager.Skin().Images.size()) - 1;
}

class ContainerBackground : public HostsTest {
 protected:
  void SetUp() override {
    const std::string extra = "[FRAMED]\r\nCOLOR=" + Hex(kFace) + "\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n" +
                              "[FRAMEDSHADED]\r\nCOLOR=" + Hex(kFace) + "\r\nGRADIENTPERCENT=50\r\nSTATES=1\r\n" +
                              "[FRAMEDGRADIENT]\r\nCOLOR=" + Hex(kFace) + "\r\nGRADIENTPERCENT=100\r\n" +
                              "GRADIENTDATA=0;16777215;100;0;0\r\nSTATES=1\r\n";
    skins.Write(L"Framed", L"Options.dat", BytesOf(HostSkinText() + extra));
    HostsTest::SetUp();
    manager->SetSkinName(L"Framed");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    ASSERT_NO_FATAL_FAILURE(AddFramedImage(*manager, L"FRAMED"));
    ASSERT_NO_FATAL_FAILURE(AddFramedImage(*manager, L"FRAMEDSHADED"));
    // A frame around a face shaded from top to bottom (the image leaves the centre alone).
    ASSERT_NO_FATAL_FAILURE(AddFramedImage(*manager, L"FRAMEDGRADIENT", kDrawStretch));
  }
  void TearDown() override {
    children.clear();
    container.reset();
    HostsTest::TearDown();
  }

  // A see-through child at (X, Y) of the container's client area.
  vcl::TStaticText* SeeThroughChild(vcl::TWinControl* Parent, int X, int Y) {
    auto* text = new vcl::TStaticText(form.get());
    text->SetParent(Parent);
    text->SetAutoSize(false);
    text->SetCaption(L"");
    text->SetBounds(X, Y, 30, 20);
    children.push_back(
        CreateAdapter<TqvStaticTextWnd>(text->Handle(), nullptr, manager.get(), TqvSkinParams{text, L"CLEAR"}));
    return text;
  }

  // The container's face shows at each child's corner, as the container's picture holds it
  // there (inside the frame).
  void ExpectChildrenOnTheFace(vcl::TWinControl* Container, const char* What) {
    for (int shaded = 0; shaded < 2; ++shaded) {
      SCOPED_TRACE(std::string(What) + (shaded ? " shaded" : " flat"));
      TqvSectionInfo section{};
      section.SectionName = shaded ? L"FRAMEDSHADED" : L"FRAMED";
      SendCommandToWnd(Container->Handle(), scmSetSection, reinterpret_cast<LPARAM>(&section));
      ASSERT_EQ(container->SkinData->SkinSection(), section.SectionName);
      ASSERT_GE(container->SkinData->BorderIndex, 0);
      container->SkinData->BGChanged = true;
      ASSERT_EQ(Printed(Container->Handle())->At(0, 0), kFrame);
      const HDC own = container->SkinData->CacheBmp()->Canvas()->Handle();
      for (auto& child : children) {
        child->SkinData->BGChanged = true;
        RECT r{};
        GetWindowRect(child->CtrlHandle, &r);
        MapWindowPoints(nullptr, Container->Handle(), reinterpret_cast<POINT*>(&r), 2);
        auto pixels = Printed(child->CtrlHandle);
        EXPECT_NE(pixels->At(0, 0), kFrame) << r.left << "," << r.top;
        EXPECT_EQ(pixels->At(0, 0), GetPixel(own, kMargin + r.left, kMargin + r.top)) << r.left << "," << r.top;
        if (!shaded) {
          EXPECT_EQ(pixels->At(0, 0), kFace);
        }
      }
    }
  }

  // A panel with a single border at (10, 10) on the form, adapted with Section: its picture
  // holds the frame at its corner.
  vcl::TPanel* BorderedPanel(const wchar_t* Section) {
    auto* panel = new vcl::TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 10, 200, 150);
    panel->SetBevelOuter(vcl::bvNone);
    panel->SetBorderStyle(vcl::TBorderStyle::bsSingle);
    panel->SetCaption(L"");
    container = CreateAdapter<TqvPanelWnd>(panel->Handle(), nullptr, manager.get(), TqvSkinParams{panel, Section});
    EXPECT_EQ(panel->Width() - panel->ClientWidth(), 2 * kMargin);
    EXPECT_EQ(Printed(panel->Handle())->At(0, 0), kFrame);
    return panel;
  }
  // The panel's picture.
  HDC Own() const { return container->SkinData->CacheBmp()->Canvas()->Handle(); }

  TqvAdapterPtr<TqvMainWnd> container;
  std::vector<TqvAdapterPtr<TqvStaticTextWnd>> children;
};

TEST_F(ContainerBackground, AChildOfAScrollBoxShowsTheFaceNotTheClientEdge) {
  auto* box = new vcl::TScrollBox(form.get());
  box->SetParent(form.get());
  box->SetBounds(10, 10, 200, 150);
  SeeThroughChild(box, 0, 0);
  SeeThroughChild(box, 1, 40);
  container = CreateAdapter<TqvScrollBoxWnd>(box->Handle(), nullptr, manager.get(), TqvSkinParams{box, L"FRAMED"}, true);
  ASSERT_EQ(box->Width() - box->ClientWidth(), 2 * kMargin);
  ExpectChildrenOnTheFace(box, "scroll box");
}

TEST_F(ContainerBackground, AChildOfABorderedPanelShowsTheFaceNotTheBorder) {
  auto* panel = BorderedPanel(L"FRAMED");
  SeeThroughChild(panel, 0, 0);
  ExpectChildrenOnTheFace(panel, "panel");
}

// A see-through control that keeps no picture of its own hands the request on to its parent and
// moves that answer by its own place: at the bordered panel's client corner it lies on the
// panel's shaded face inside the border, and further in on the matching part of the face.
TEST_F(ContainerBackground, ASeeThroughControlWithoutPictureAnswersWithItsPlaceInTheParents) {
  auto* outer = BorderedPanel(L"FRAMEDSHADED");
  ASSERT_FALSE(HasFailure());
  const HDC own = Own();
  auto* inner = new vcl::TPanel(form.get());
  inner->SetParent(outer);
  inner->SetBevelOuter(vcl::bvNone);
  inner->SetCaption(L"");
  TsCommonData see(inner, false);
  see.SetSkinManager(manager.get());
  see.SetSkinSection(L"CLEAR");
  ASSERT_FALSE(see.CacheBmp());
  for (const vcl::TPoint at : {vcl::TPoint{0, 0}, vcl::TPoint{3, 40}}) {
    SCOPED_TRACE(std::to_string(at.X) + "," + std::to_string(at.Y));
    inner->SetBounds(at.X, at.Y, 60, 40);
    TqvBGInfo info;
    ProvideBgInfo(&see, info, 0);
    ASSERT_EQ(info.Bmp, container->SkinData->CacheBmp());
    EXPECT_EQ(info.Offset, (vcl::TPoint{kMargin + at.X, kMargin + at.Y}));
    EXPECT_NE(GetPixel(own, info.Offset.X, info.Offset.Y), kFrame);
  }
  // The same for a bare window, placed by its window.
  const HWND bare = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 3, 40, 60, 40, outer->Handle(), nullptr,
                                    GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(bare);
  TsCommonData wndData(nullptr, false);
  wndData.SetSkinManager(manager.get());
  wndData.SetSkinSection(L"CLEAR");
  TqvBGInfo info;
  ProvideBgInfo(&wndData, info, 0, bare);
  DestroyWindow(bare);
  ASSERT_EQ(info.Bmp, container->SkinData->CacheBmp());
  EXPECT_EQ(info.Offset, (vcl::TPoint{kMargin + 3, kMargin + 40}));
}

// A window whose skin has no section, no library control and no form answers the colour of
// what lies behind it: its skinned parent's, else the system's face; never the colour the
// query came with (black reached the painters).
TEST_F(ContainerBackground, AWindowWithoutSectionAnswersTheColourBehindIt) {
  auto* outer = BorderedPanel(L"FRAMED");
  ASSERT_FALSE(HasFailure());
  TsCommonData wndData(nullptr, false);
  wndData.SetSkinManager(manager.get());
  wndData.SetSkinSection(L"NOSUCHSECTION");
  auto answer = [&](HWND Parent) {
    const HWND bare = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 3, 40, 60, 40, Parent, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
    TqvBGInfo info;
    info.Color = static_cast<vcl::TColor>(0x010203);
    info.BgType = btBitmap;
    ProvideBgInfo(&wndData, info, 0, bare);
    DestroyWindow(bare);
    EXPECT_EQ(info.BgType, btColor);
    return static_cast<COLORREF>(vcl::ColorToRGB(info.Color));
  };
  EXPECT_EQ(answer(outer->Handle()), static_cast<COLORREF>(GetWndColor(outer->Handle())));
  EXPECT_NE(answer(outer->Handle()), 0x010203u);
  // A parent of the system's: its face.
  const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, form->Handle(), nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
  EXPECT_EQ(answer(plain), GetSysColor(COLOR_BTNFACE));
  DestroyWindow(plain);
}

// A see-through frame in a bordered panel shows the part of the panel's shaded face that lies
// behind it: its own place in the panel counts, not only the panel's client corner.
TEST_F(ContainerBackground, ASeeThroughFrameShowsTheFaceBehindItsOwnPlace) {
  auto* outer = BorderedPanel(L"FRAMEDGRADIENT");
  ASSERT_FALSE(HasFailure());
  const HDC own = Own();
  auto* frame = new vcl::TFrame(form.get());
  frame->SetParent(outer);
  frame->SetBounds(3, 40, 60, 40);
  auto* adapter = vcl::Construct<TsFrameAdapter>(frame);
  adapter->SkinData()->SetSkinManager(manager.get());
  adapter->SkinData()->SetSkinSection(L"CLEAR");
  frame->HandleNeeded();
  const COLORREF behind = GetPixel(own, kMargin + 3, kMargin + 40);
  // The shaded face differs there from its corner, so a frame read at the corner shows.
  ASSERT_NE(behind, GetPixel(own, kMargin, kMargin));
  MemoryPixels pixels(frame->Width(), frame->Height());
  SendMessageW(frame->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(pixels.At(0, 0), behind);
  EXPECT_EQ(pixels.At(10, 20), GetPixel(own, kMargin + 13, kMargin + 60));
}

// A hidden control's picture for an animation starts with what lies behind its own place.
TEST_F(ContainerBackground, AHiddenControlsPictureTakesTheFaceBehindItsPlace) {
  auto* outer = BorderedPanel(L"FRAMEDGRADIENT");
  ASSERT_FALSE(HasFailure());
  const HDC own = Own();
  auto* hidden = new vcl::TPanel(form.get());
  hidden->SetVisible(false);
  hidden->SetParent(outer);
  hidden->SetBounds(3, 40, 60, 40);
  ASSERT_NE(GetPixel(own, kMargin + 3, kMargin + 40), GetPixel(own, kMargin, kMargin));
  vcl::TBitmap picture;
  picture.SetPixelFormat(vcl::pf32bit);
  picture.SetSize(60, 40);
  PaintParentBgToBmp(&picture, hidden, 0, nullptr, 0);
  EXPECT_EQ(GetPixel(picture.Canvas()->Handle(), 0, 0), GetPixel(own, kMargin + 3, kMargin + 40));
  EXPECT_EQ(GetPixel(picture.Canvas()->Handle(), 10, 20), GetPixel(own, kMargin + 13, kMargin + 60));
}

}  // namespace
}  // namespace skin_layered::test
