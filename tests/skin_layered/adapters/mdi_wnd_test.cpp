// The MDI client adapter on a skinned MDI frame: its background from the form's window image
// (or colour), nothing under a maximised child, thumb tracking held until the thumb is let go,
// and tiling taking the active child's system menu style.
#include "adapters_support.h"
#include "classlib/controls/WindowSubclass.h"
#include "skin_layered/adapters/MdiWnd.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kImageColor = 0x5090D0;  // the form's window image
constexpr COLORREF kFormColor = 0xA0B0C0;

class TMdiFrame : public vcl::TForm {
  VCL_CLASS(TMdiFrame, vcl::TForm)
 public:
  explicit TMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};
VCL_CLASS_INFO(TMdiFrame) {}

class TMdiChild : public vcl::TForm {
  VCL_CLASS(TMdiChild, vcl::TForm)
 public:
  explicit TMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIChild); }
};
VCL_CLASS_INFO(TMdiChild) {}

struct ProviderFree {
  void operator()(TsSkinProvider* p) const { vcl::TObject::Free(p); }
};

class MdiClient : public ::testing::Test {
 protected:
  void SetUp() override {
    // The form's section looks the same active and inactive.
    manager = LoadedManager(skins, L"Flat", ScrollSkinText() + "[FORM]\r\nCOLOR=" + Hex(kFormColor) + "\r\nHOTCOLOR=" +
                                                Hex(kFormColor) + "\r\n[MDIAREA]\r\nCOLOR=$808080\r\n");
    // The frame has its provider; its children stay the library's own (the dialog hook would
    // give them providers of their own).
    manager->SetSkinningRules({srStdDialogs});
    frame = vcl::Application->CreateForm<TMdiFrame>();
    frame->SetBounds(20, 20, 500, 400);
    provider.reset(vcl::Construct<TsSkinProvider>(frame));
    frame->Show();
    ASSERT_TRUE(frame->ClientHandle());
  }
  void TearDown() override {
    adapter.reset();
    provider.reset();
    vcl::TObject::Free(frame);
    manager.reset();
  }

  void Adapt() {
    adapter = CreateAdapter<TqvMDIWnd>(frame->ClientHandle(), nullptr, manager.get(), TqvSkinParams{nullptr, L"MDIAREA"},
                                       true);
    adapter->Form = frame;
    adapter->Provider = provider.get();
    adapter->FormSkinData = provider->SkinData;
  }
  // The form's image as a flat colour, current.
  void PaintImage() {
    RECT r{};
    GetWindowRect(frame->Handle(), &r);
    provider->SkinData->InitCacheBmp();
    vcl::TBitmap* cache = provider->SkinData->CacheBmp();
    cache->SetSize(r.right - r.left, r.bottom - r.top);
    HBRUSH brush = CreateSolidBrush(kImageColor);
    RECT all{0, 0, cache->Width(), cache->Height()};
    FillRect(cache->Canvas()->Handle(), &all, brush);
    DeleteObject(brush);
    provider->SkinData->BGChanged = false;
  }
  vcl::TForm* NewChild() {
    auto* child = new TMdiChild(frame);
    child->SetBounds(10, 10, 200, 150);
    child->Show();
    return child;
  }
  COLORREF Erased() {
    FramePixels pixels(frame->ClientHandle());
    EXPECT_EQ(SendMessageW(frame->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
    return pixels.At(20, 20);
  }

  TempSkins skins;
  ManagerPtr manager;
  vcl::TForm* frame = nullptr;
  std::unique_ptr<TsSkinProvider, ProviderFree> provider;
  TqvAdapterPtr<TqvMDIWnd> adapter;
};

TEST_F(MdiClient, TheClientContinuesTheFormsImageAndNothingUnderAMaximisedChild) {
  Adapt();
  ASSERT_TRUE(provider->SkinData->Skinned());
  provider->SkinData->FreeCacheBmp();  // no image of the form's yet: the form's colour
  provider->SkinData->BGChanged = false;
  EXPECT_EQ(Erased(), kFormColor);
  PaintImage();
  EXPECT_EQ(Erased(), kImageColor);
  FramePixels printed(frame->ClientHandle());
  EXPECT_EQ(SendMessageW(frame->ClientHandle(), WM_PRINT, reinterpret_cast<WPARAM>(printed.DC()), PRF_CLIENT), 0);
  EXPECT_EQ(printed.At(5, 5), kImageColor);

  auto* child = NewChild();
  child->SetWindowState(vcl::wsMaximized);
  EXPECT_EQ(Erased(), 0u);  // answered, nothing painted
  EXPECT_EQ(SendMessageW(frame->ClientHandle(), WM_NCPAINT, 1, 0), 1);
}

// A maximised child covers the client's area, not its edge: the edge beside it shows the form's
// image there, also where the client grew with a larger frame (it stayed unpainted, black). The
// screen is read back: the frame is raised again until nothing of another program lies over it.
TEST_F(MdiClient, TheEdgeBesideAMaximisedChildShowsTheImageWhereTheClientGrew) {
  Adapt();
  auto* child = NewChild();
  child->SetWindowState(vcl::wsMaximized);
  const HWND client = frame->ClientHandle();
  ASSERT_TRUE(GetWindowLongPtrW(client, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  frame->SetBounds(20, 20, 700, 550);
  auto edgeShowsImage = [&] {
    vcl::TBitmap* cache = provider->SkinData->CacheBmp();
    if (!cache || provider->SkinData->BGChanged) return false;
    RECT c{}, f{};
    GetWindowRect(client, &c);
    GetWindowRect(frame->Handle(), &f);
    // On the edge where the client grew: right, bottom, and the top's right end.
    const POINT points[] = {{c.right - 1, (c.top + c.bottom) / 2}, {(c.left + c.right) / 2, c.bottom - 1},
                            {c.right - 20, c.top}, {c.left, c.bottom - 20}};
    HDC screen = GetDC(nullptr);
    bool same = true;
    for (const POINT& p : points)
      same = same && GetPixel(screen, p.x, p.y) == GetPixel(cache->Canvas()->Handle(), p.x - f.left, p.y - f.top);
    ReleaseDC(nullptr, screen);
    return same;
  };
  bool shown = false;
  for (int attempt = 0; attempt < 3 && !shown; ++attempt) {
    SetWindowPos(frame->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    shown = wintest::PumpUntil(edgeShowsImage, wintest::Deadline{2000});
  }
  EXPECT_TRUE(shown);
}

// Under a border form the image holds the shadow and the skin's frame around the window: the
// client shows the image's part where the form's client area lies in it, found on a picture
// whose every row and column differ.
TEST_F(MdiClient, WithExtendedBordersTheClientShowsItsOwnPlaceOfTheImage) {
  manager->SetExtendedBorders(true);
  SendMessageW(frame->Handle(), WM_NCPAINT, 1, 0);
  TqvBorderForm* border = provider->ExtBorderForm();
  ASSERT_NE(border, nullptr);
  ASSERT_NE(BorderFormOffsetY(border), 0);  // the skin's title is not the system's caption
  Adapt();
  RECT wr{};
  GetWindowRect(frame->Handle(), &wr);
  provider->SkinData->InitCacheBmp();
  vcl::TBitmap* cache = provider->SkinData->CacheBmp();
  const vcl::TRect shadow = provider->WindowImage().ShadowSize();
  cache->SetSize(wr.right - wr.left + 2 * BorderFormOffsetX(border) + shadow.Left + shadow.Right,
                 wr.bottom - wr.top + BorderFormOffsetX(border) + BorderFormOffsetY(border) + shadow.Top + shadow.Bottom);
  auto at = [](int x, int y) { return RGB(x & 0xFF, y & 0xFF, (x >> 8) << 4 | (y >> 8)); };
  for (int y = 0; y < cache->Height(); ++y)
    for (int x = 0; x < cache->Width(); ++x) SetPixel(cache->Canvas()->Handle(), x, y, at(x, y));
  provider->SkinData->BGChanged = false;
  // Where the client window stands in the form's client area, and that in the image.
  RECT client{};
  GetWindowRect(frame->ClientHandle(), &client);
  POINT corner{client.left, client.top};
  ScreenToClient(frame->Handle(), &corner);
  const int edge = (GetWindowLongPtrW(frame->ClientHandle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) ? 2 : 0;
  const TqvWindowImage& image = provider->WindowImage();
  EXPECT_EQ(Erased(), at(image.OffsetX() + corner.x + edge + 20, image.OffsetY() + corner.y + edge + 20));
}

TEST_F(MdiClient, TheThumbScrollsOnlyWhenLetGo) {
  // Attached first, the spy lies below the adapter: it sees what reaches the client itself.
  struct TSpy {
    vcl::TWindowSubclass sub;
    int track = 0, position = 0;
    void Proc(vcl::TMessage& m) {
      if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBTRACK) ++track;
      if (m.Msg == WM_VSCROLL && LOWORD(m.WParam) == SB_THUMBPOSITION) ++position;
      sub.CallDefault(m);
    }
  } spy;
  ASSERT_TRUE(spy.sub.Attach(frame->ClientHandle(), vcl::TWndMethod::Bind<&TSpy::Proc>(&spy)));
  Adapt();
  const HWND client = frame->ClientHandle();
  EXPECT_EQ(SendCommandToWnd(client, scmBeforeScroll, MAKELPARAM(SB_THUMBTRACK, WM_VSCROLL)), 1);
  EXPECT_EQ(SendCommandToWnd(client, scmBeforeScroll, MAKELPARAM(SB_LINEDOWN, WM_VSCROLL)), 0);
  SendMessageW(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3), 3);
  EXPECT_EQ(spy.track, 0);
  SendMessageW(client, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 3), 3);
  EXPECT_EQ(spy.position, 1);
  adapter.reset();
  spy.sub.Detach();
}

TEST_F(MdiClient, TilingTakesTheActiveChildsSystemMenuStyle) {
  Adapt();
  auto* child = NewChild();
  ASSERT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_SYSMENU);
  provider->MenuLineCount = 3;
  SendMessageW(frame->ClientHandle(), WM_MDITILE, MDITILE_VERTICAL, 0);
  EXPECT_FALSE(GetWindowLongPtrW(child->Handle(), GWL_STYLE) & WS_SYSMENU);
  EXPECT_EQ(provider->MenuLineCount, -1);
  EXPECT_TRUE(provider->SkinData->BGChanged);
}

}  // namespace
}  // namespace skin_layered::test
