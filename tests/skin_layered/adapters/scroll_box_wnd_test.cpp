// The scroll box adapter on library scroll boxes: the section behind the children and in the
// frame, see-through children, the background asked before the first paint, the skinned bar,
// the window DC given back on every path, and the box's own look after unskinning.
#include "classlib/forms/ScrollBox.h"
#include "support/gdi_counts.h"
#include "classlib/stdctrls/StaticText.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "hosts_support.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/StaticTextWnd.h"
#include "skin_layered/core/BackgroundInfo.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kLabelColor = 0x2080E0, kOwnColor = 0x123456;

class ScrollBoxWnd : public HostsTest {
 protected:
  vcl::TScrollBox* NewBox(int Left = 10, int Top = 10, int Width = 200, int Height = 150) {
    auto* box = Put<vcl::TScrollBox>(form.get(), Left, Top, Width, Height);
    box->SetColor(static_cast<vcl::TColor>(kOwnColor));
    return box;
  }
  void Adapt(vcl::TScrollBox* Box, const wchar_t* Section = L"") {
    adapter = CreateAdapter<TqvScrollBoxWnd>(Box->Handle(), nullptr, manager.get(), TqvSkinParams{Box, Section}, true);
  }

  // The client area erased into memory.
  static std::unique_ptr<MemoryPixels> Erased(vcl::TScrollBox* Box) {
    auto pixels = std::make_unique<MemoryPixels>(Box->ClientWidth(), Box->ClientHeight());
    SendMessageW(Box->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels->DC()), 0);
    return pixels;
  }

  TqvAdapterPtr<TqvScrollBoxWnd> adapter;
  TqvAdapterPtr<TqvStaticTextWnd> child_adapter;
};

TEST_F(ScrollBoxWnd, ChildrenSitOnTheSectionThatAlsoFillsTheFrame) {
  vcl::TScrollBox* box = NewBox();
  auto* label = Put<vcl::TLabel>(box, 20, 30, 40, 20, form.get());
  label->SetAutoSize(false);
  label->SetTransparent(false);
  label->SetColor(static_cast<vcl::TColor>(kLabelColor));
  label->SetCaption(L"");
  label->SetBounds(20, 30, 40, 20);
  Adapt(box);
  ASSERT_EQ(adapter->BorderLeft, 2);  // the client edge

  auto pixels = Printed(box->Handle());
  EXPECT_EQ(pixels->At(0, 0), kPanelLow);    // the frame strips
  EXPECT_EQ(pixels->At(199, 149), kPanelLow);
  EXPECT_EQ(pixels->At(150, 100), kPanelLow);  // the client area
  // The label, painted into the same picture at its place in the client area.
  EXPECT_EQ(pixels->At(2 + 20 + 5, 2 + 30 + 5), kLabelColor);
  EXPECT_EQ(pixels->At(2 + 20 + 45, 2 + 30 + 5), kPanelLow);

  // The picture comes with erasing; WM_PAINT itself paints nothing into a given DC.
  MemoryPixels erased(196, 146);
  EXPECT_EQ(SendMessageW(box->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.DC()), 0), 1);
  EXPECT_EQ(erased.At(100, 100), kPanelLow);
  EXPECT_EQ(erased.At(25, 35), kLabelColor);
}

TEST_F(ScrollBoxWnd, ASeeThroughChildShowsTheBoxsSkin) {
  vcl::TScrollBox* box = NewBox();
  auto* text = Put<vcl::TStaticText>(box, 40, 40, 60, 30, form.get());
  text->SetAutoSize(false);
  text->SetCaption(L"");
  text->SetBounds(40, 40, 60, 30);
  Adapt(box);
  child_adapter = CreateAdapter<TqvStaticTextWnd>(text->Handle(), nullptr, manager.get(), TqvSkinParams{text, L"CLEAR"});
  auto pixels = Printed(text->Handle());
  EXPECT_EQ(CountColor(*pixels, RECT{0, 0, 60, 30}, kPanelLow), 60 * 30);
}

TEST_F(ScrollBoxWnd, AChildAskingBeforeTheBoxPaintedGetsTheBoxsPicture) {
  vcl::TScrollBox* box = NewBox();
  Adapt(box, L"SHADED");
  adapter->SkinData->DropCache();
  adapter->SkinData->BGChanged = true;
  TqvBGInfo info;
  GetBgInfoWnd(info, box->Handle(), false);
  ASSERT_EQ(info.BgType, btBitmap);
  ASSERT_NE(info.Bmp, nullptr);
  EXPECT_EQ(info.Bmp->Width(), 200);
  EXPECT_EQ(info.Bmp->Height(), 150);
}

TEST_F(ScrollBoxWnd, ContentsBeyondTheBoxGetTheSkinnedBar) {
  vcl::TScrollBox* box = NewBox();
  Put<vcl::TLabel>(box, 10, 400, 30, 20, form.get());
  Adapt(box);
  ASSERT_TRUE(adapter->VertBar->Visible);
  ASSERT_FALSE(adapter->HorzBar->Visible);
  auto pixels = Printed(box->Handle());
  vcl::TRect bar;
  GetVScrollRect(adapter.get(), box->Handle(), bar);
  RECT wr{};
  GetWindowRect(box->Handle(), &wr);
  const int x = (bar.Left + bar.Right) / 2 - wr.left;
  // The up arrow at the bar's top, the frame strip above it from the section.
  EXPECT_EQ(pixels->At(x, 2 + 3), kTopColor);
  EXPECT_EQ(pixels->At(x, 0), kPanelLow);
  EXPECT_EQ(pixels->At(20, 20), kPanelLow);
}

TEST_F(ScrollBoxWnd, ABoxThatTakesNoChildrenIsLeftToTheScrollAdapter) {
  vcl::TScrollBox* box = NewBox();
  box->SetControlStyle(box->ControlStyle() - vcl::TControlStyle{vcl::csAcceptsControls});
  Adapt(box);
  MemoryPixels erased(196, 146);
  SendMessageW(box->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(erased.DC()), 0);
  EXPECT_EQ(erased.At(100, 100), kOwnColor);
}

TEST_F(ScrollBoxWnd, MovingASeeThroughBoxMarksItsBackground) {
  vcl::TScrollBox* box = NewBox();
  Adapt(box, L"CLEAR");
  Printed(box->Handle());
  ASSERT_FALSE(adapter->SkinData->BGChanged);
  box->SetBounds(30, 20, 200, 150);
  EXPECT_TRUE(adapter->SkinData->BGChanged);

  vcl::TScrollBox* plain = NewBox(220, 10, 150, 100);
  auto opaque = CreateAdapter<TqvScrollBoxWnd>(plain->Handle(), nullptr, manager.get(), TqvSkinParams{plain, L""});
  Printed(plain->Handle());
  ASSERT_FALSE(opaque->SkinData->BGChanged);
  plain->SetBounds(230, 20, 150, 100);
  EXPECT_FALSE(opaque->SkinData->BGChanged);
}

TEST_F(ScrollBoxWnd, TheNonClientPaintGivesItsWindowDcBackOnEveryPath) {
  vcl::TScrollBox* box = NewBox();
  Adapt(box);
  // The first paint makes the cache, whose canvas keeps its memory DC.
  SendMessageW(box->Handle(), WM_NCPAINT, 1, 0);
  const wintest::GdiCounts before = wintest::CountGdi();
  SendMessageW(box->Handle(), WM_NCPAINT, 1, 0);
  const wintest::GdiCounts painted = wintest::CountGdi();
  EXPECT_TRUE(wintest::NoGdiGrowth(before, painted));
  EXPECT_GT(painted.Made(wintest::GdiKind::WindowDC), before.Made(wintest::GdiKind::WindowDC));  // one was taken
  // Wholly outside its parent's client area: the window DC's clip box is empty.
  box->SetBounds(-1000, -1000, 200, 150);
  ASSERT_TRUE(IsWindowVisible(box->Handle()));
  for (int i = 0; i < 3; ++i) SendMessageW(box->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_TRUE(wintest::NoGdiGrowth(before, wintest::CountGdi()));
}

TEST_F(ScrollBoxWnd, UnskinnedTheBoxAndItsChildrenGetTheirOwnLookBack) {
  vcl::TScrollBox* box = NewBox();
  const vcl::TControlStyle own = box->ControlStyle();
  auto* text = Put<vcl::TStaticText>(box, 40, 40, 60, 30, form.get());
  Adapt(box);
  child_adapter = CreateAdapter<TqvStaticTextWnd>(text->Handle(), nullptr, manager.get(), TqvSkinParams{text, L""});
  EXPECT_TRUE(box->ControlStyle().Contains(vcl::csOpaque));
  ASSERT_EQ(Printed(box->Handle())->At(150, 100), kPanelLow);

  SendMessageW(box->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRemoveSkin), reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(adapter->SkinData->SkinIndex, kNoIndex);
  EXPECT_GE(child_adapter->SkinData->SkinIndex, 0);  // the child keeps the skin of its own section
  EXPECT_FALSE(box->ControlStyle().Contains(vcl::csOpaque));
  EXPECT_EQ(Erased(box)->At(150, 100), kOwnColor);

  UninstallAdapter(adapter, true, false);
  EXPECT_EQ(box->ControlStyle(), own);
  EXPECT_EQ(GetAdapter(box->Handle()), nullptr);
  EXPECT_EQ(Erased(box)->At(150, 100), kOwnColor);
}

}  // namespace
}  // namespace skin_layered::test
