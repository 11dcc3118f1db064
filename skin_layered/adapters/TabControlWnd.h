// The tab adapters: TqvTabControlWnd paints a tab control (the library's TTabControl or a
// dialog's system tab control) from the skin: the strip behind the tabs, the page frame in
// the section of the tabs' side, the inactive tabs row by row into the cache and the current
// tab last, straight onto the window, with images and (on the sides) turned captions; the
// arrows a tab control shows when its tabs do not fit get an up-down adapter, and a page
// control's owner-drawn tabs are drawn by its OnDrawTab over the skinned tab.
// TqvPageControlWnd does the same for a page control and gives each page a TqvPageWnd, which
// paints the page from the page control's picture.
#pragma once

#include <vector>

#include "skin_layered/adapters/MainWnd.h"
#include "skin_layered/adapters/SpinWnd.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/paint/BackdropCopy.h"

namespace vcl {
class TTabSheet;
class TPageControl;
}

namespace skin_layered {

// Tab positions and styles as the window style gives them.
inline constexpr int kTabsTop = 0, kTabsBottom = 1, kTabsLeft = 2, kTabsRight = 3;
inline constexpr int kTabStyleTabs = 0, kTabStyleButtons = 1, kTabStyleFlat = 2;
int TabPositionOfStyle(LONG Style);
int TabStyleOfStyle(LONG Style);
// The row (1 first) of a tab whose item rectangle is Item, in a control of Rows rows whose tab
// strip is Tabs. An empty item rectangle counts as row 1.
int TabRowOf(int Position, int Rows, const vcl::TRect& Item, const vcl::TRect& Tabs);
// A tab's skinned rectangle from its item rectangle: larger for the current tab, reaching the
// frame, and widened by the skin's tab covering (tabs only; buttons keep their rectangles).
vcl::TRect SkinTabRectOf(int Position, int Style, vcl::TRect Item, bool Active, int Covering);

class TqvTabControlWnd : public TqvMainWnd {
  VCL_CLASS(TqvTabControlWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;
  ~TqvTabControlWnd() override;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  virtual vcl::TRect PageRect() const;
  virtual vcl::TRect PageFrameRect() const;
  vcl::TRect TabsRect() const;
  int TabRow(int Index) const;
  vcl::TRect SkinTabRect(int Index, bool Active) const;
  int Position() const { return TabPositionOfStyle(GetWindowLongW(CtrlHandle, GWL_STYLE)); }
  int TabStyle() const { return TabStyleOfStyle(GetWindowLongW(CtrlHandle, GWL_STYLE)); }
  // The frame's section name by the skin section and the tabs' side.
  vcl::String FrameSection() const;
  // The whole control onto DC (the window's own when nil).
  void PaintTabControl(HDC DC);
  // While skinned: the adapter of the control's arrows ("msctls_updown32") made or kept, or
  // dropped when the control shows none.
  void CheckUpDown();

  // The arrows' adapter; nil while the control shows no arrows.
  TqvAdapterPtr<TqvSpinWnd> UpDownAdapter;

 protected:
  bool HasTabs() const;
  int CurrentTab() const;
  void PaintTabsBg(const TqvCacheInfo& CacheInfo);
  void DrawSkinTab(int Index, int State, vcl::TPoint Offset, vcl::TBitmap* Target);
  void DrawActiveTab(int Index, HDC DC);
  bool OnTabSkinCommand(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnSetCurSel(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  void OnEraseBkgnd(vcl::TMessage& Message);
  void OnSize(vcl::TMessage& Message);
  void OnControlListChange(vcl::TMessage& Message);
  void PassOn(vcl::TMessage& Message);
  // The arrows painted again after the control (nothing while its background is changing).
  void RepaintArrows();
  // An owned image list's image, or the native list's, at (X, Y) of the target.
  void DrawTabImage(vcl::TBitmap* Target, int Index, int X, int Y, int State, int Section);
  // The page control's OnDrawTab for an owner-drawn tab at R; true when the handler changed
  // the font (the caption is then written plainly in it).
  bool OwnerDrawTab(vcl::TBitmap* Target, int Index, const vcl::TRect& R, int State, int Section);
  // The parent's picture under the control is no longer the one it was last painted over.
  bool BackdropChanged();

 private:
  // What the last painting took from the parent's picture.
  TBackdropCopy backdrop_;
};

class TqvPageWnd;

class TqvPageControlWnd : public TqvTabControlWnd {
  VCL_CLASS(TqvPageControlWnd, TqvTabControlWnd)
 public:
  using TqvTabControlWnd::TqvTabControlWnd;
  ~TqvPageControlWnd() override;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  // A page adapter for each page that has a window and none yet; those of pages that went
  // are dropped.
  void AddPageAdapters();
  int PageAdapterCount() const { return static_cast<int>(pages_.size()); }

 private:
  std::vector<TqvAdapterPtr<TqvPageWnd>> pages_;
};

class TqvPageWnd : public TqvMainWnd {
  VCL_CLASS(TqvPageWnd, TqvMainWnd)
 public:
  using TqvMainWnd::TqvMainWnd;

  void SetSkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
  void PaintPage(HDC DC);

  vcl::TTabSheet* TabSheet = nullptr;

 private:
  void AskParentBg(TqvBGInfo& Info);
  void PaintTabsStrip(HDC DC, const TqvBGInfo& Info, vcl::TPoint At);
  void OnPaint(vcl::TMessage& Message);

  bool erased_ = false;  // the erase step of the paint under way painted the page
};

}  // namespace skin_layered
