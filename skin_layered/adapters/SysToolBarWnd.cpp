#include "skin_layered/adapters/SysToolBarWnd.h"

#include <algorithm>

#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinOptions.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvToolBarWnd) {}

namespace {

constexpr UINT kRepaintAll = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW;  // 0x181
constexpr UINT kOneLineText = DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS;  // 0x8015
constexpr UINT kTwoLineText = DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS;
constexpr int kDownArrow = 3;  // the "SCROLLBTNBOTTOM" entry of the scroll buttons

}  // namespace

bool TqvToolBarWnd::Painting() const {
  const TsSkinManager* manager = Manager();
  if (!SkinData || Destroyed() || !manager || !manager->Active()) return false;
  // A skin without the bar's section still paints it, as see-through: handed back, the system's
  // flat bar would ask the skinned dialog for a background it does not draw into the bar's DC.
  return SkinData->Skinned() || (SkinData->GetSkinManager() == manager && manager->Skin().SkinData.Active);
}

void TqvToolBarWnd::PrepareCache() {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (!SkinData->BGChanged) return;
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  ClientRect = vcl::TRect{client.left, client.top, client.right, client.bottom};
  PrepareAdapterCache(SkinData, CtrlHandle, false);
  if (SkinData->BGChanged) return;  // the parent was not ready
  PaintAdapterBorder(SkinData, this);
  FrameOffset = std::max(0, static_cast<int>(WndSize.cy - (client.bottom - client.top)) / 2);
  SkinData->BGChanged = false;
}

int TqvToolBarWnd::ButtonState(int Index, const TBBUTTON& Button) const {
  if (!(Button.fsState & TBSTATE_ENABLED)) return 0;
  // A checked button stays down: it shows the pressed state.
  if (Button.fsState & (TBSTATE_PRESSED | TBSTATE_CHECKED)) return 2;
  RECT item{};
  if (!SendMessageW(CtrlHandle, TB_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&item))) return 0;
  MapWindowPoints(CtrlHandle, nullptr, reinterpret_cast<POINT*>(&item), 2);
  return PtInRect(&item, AdapterCursorPos()) ? 1 : 0;
}

vcl::String TqvToolBarWnd::ButtonText(const TBBUTTON& Button) const {
  const auto id = static_cast<WPARAM>(Button.idCommand);
  // The length first: the text is read into a buffer of exactly its size.
  const LRESULT length = SendMessageW(CtrlHandle, TB_GETBUTTONTEXTW, id, 0);
  if (length <= 0) return {};
  vcl::String text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT read = SendMessageW(CtrlHandle, TB_GETBUTTONTEXTW, id, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(read, 0, length)));
  return text;
}

void TqvToolBarWnd::PaintSeparator(vcl::TBitmap* Bar, const vcl::TRect& R) {
  TsSkinManager* manager = Manager();
  const int section = manager->GetSkinIndex(L"DIVIDER");
  const int mask = manager->GetMaskIndex(section, L"DIVIDER", L"BORDERSMASK");
  if (!manager->IsValidImgIndex(mask)) return;
  const int x = R.Left + (R.Width() - 2) / 2;
  const vcl::TRect strip{x, R.Top + 2, x + 2, R.Bottom - 2};
  if (strip.IsEmpty()) return;
  TqvCacheInfo behind;
  MakeCacheInfo(Bar, 0, 0, behind);
  DrawSkinRect(Bar, strip, behind, manager->Skin().Images[static_cast<std::size_t>(mask)], 0, true);
}

void TqvToolBarWnd::PaintButton(vcl::TBitmap* Bar, int Index, const vcl::TRect& R) {
  TBBUTTON button{};
  if (!SendMessageW(CtrlHandle, TB_GETBUTTON, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&button))) return;
  if (button.fsState & TBSTATE_HIDDEN) return;
  if (button.fsStyle & BTNS_SEP) {
    PaintSeparator(Bar, R);
    return;
  }
  TsSkinManager* manager = Manager();
  const TsLoadedSkin& skin = manager->Skin();
  const int w = R.Width(), h = R.Height();
  const int state = ButtonState(Index, button);
  const bool enabled = (button.fsState & TBSTATE_ENABLED) != 0;
  auto bmp = CreateBmp32(w, h);
  BitBlt(bmp->Canvas()->Handle(), 0, 0, w, h, Bar->Canvas()->Handle(), R.Left, R.Top, SRCCOPY);
  const int section = manager->GetSkinIndex(L"TOOLBUTTON");
  TqvCacheInfo behind;
  MakeCacheInfo(Bar, R.Left, R.Top, behind);
  PaintItemBg(section, behind, state, vcl::TRect{0, 0, w, h}, vcl::TPoint{0, 0}, bmp.get(), &skin);
  // Without the button's section the system's edge shows its state (a checked one sunken).
  if (!skin.IsValidSkinIndex(section)) DrawSystemButtonEdge(bmp.get(), vcl::TRect{0, 0, w, h}, state, true);
  const int shift = state == 2 ? 1 : 0;

  // The image above the text, the whole-drop-down arrow at the right.
  const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(CtrlHandle, TB_GETIMAGELIST, 0, 0));
  int iw = 0, ih = 0;
  const bool image = button.iBitmap >= 0 && images && ImageList_GetIconSize(images, &iw, &ih);
  const vcl::String text = ButtonText(button);
  vcl::TCanvas* canvas = bmp->Canvas();
  if (auto font = reinterpret_cast<HFONT>(SendMessageW(CtrlHandle, WM_GETFONT, 0, 0))) {
    LOGFONTW lf{};
    if (GetObjectW(font, sizeof lf, &lf) != 0) canvas->Font()->SetHandle(CreateFontIndirectW(&lf));
  }
  SelectObject(canvas->Handle(), canvas->Font()->Handle());
  const int th = text.empty() ? 0 : canvas->TextHeight(L"A");
  const bool two_lines = !text.empty() && canvas->TextWidth(text) > w - 4;
  const int text_height = text.empty() ? 0 : th * (two_lines ? 2 : 1);
  int content_width = w;
  const TqvConstElementData& arrow = skin.ConstData.ScrollBtns[kDownArrow];
  const bool whole_drop_down = (button.fsStyle & BTNS_WHOLEDROPDOWN) != 0;
  int top = (h - (image ? ih : 0) - (image && !text.empty() ? 2 : 0) - text_height) / 2;
  if (whole_drop_down) {
    if (skin.IsValidImgIndex(arrow.GlyphIndex)) {
      const TsMaskData& glyph = skin.Images[static_cast<std::size_t>(arrow.GlyphIndex)];
      const int gw = MaskImageWidth(glyph), gh = MaskImageHeight(glyph);
      content_width = std::max(0, w - gw - 2);
      TqvCacheInfo self;
      MakeCacheInfo(bmp.get(), 0, 0, self);
      DrawSkinGlyph(bmp.get(), vcl::TPoint{content_width + shift, (h - gh) / 2 + shift}, std::min(state, 1), 1, glyph,
                    self);
    } else {
      top = 4;
    }
  }
  if (image) {
    ImageList_SetBkColor(images, CLR_NONE);
    ImageList_Draw(images, button.iBitmap, canvas->Handle(), (content_width - iw) / 2 + shift, top + shift,
                   ILD_NORMAL);
  }
  if (!text.empty()) {
    const int text_top = image ? top + ih + 2 : top;
    vcl::TRect r{2, text_top, content_width - 2, text_top + text_height};
    r.Offset(shift, shift);
    canvas->Brush()->SetStyle(vcl::bsClear);
    WriteSkinText(canvas, text, enabled, manager, state > 0 ? 1 : 0, section, two_lines ? kTwoLineText : kOneLineText,
                  r);
  }
  if (!enabled)
    // It moves the library's disabled blend factor toward the bar behind it.
    BlendRect(bmp.get(), 0, 0, kNoColor, 1.0 - DefDisabledBlend, vcl::TRect{R.Left, R.Top, R.Right, R.Bottom}, Bar);
  BitBlt(Bar->Canvas()->Handle(), R.Left, R.Top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvToolBarWnd::PaintToolBar(HDC DC, bool WholeWindow) {
  PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (SkinData->BGChanged || !cache || cache->Empty()) return;
  auto bar = CreateBmp32(cache->Width(), cache->Height());
  BitBlt(bar->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  const int count = static_cast<int>(SendMessageW(CtrlHandle, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    RECT item{};
    if (!SendMessageW(CtrlHandle, TB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) continue;
    vcl::TRect r{item.left, item.top, item.right, item.bottom};
    r.Offset(client.Left, client.Top);
    // Only buttons that lie wholly in the bitmap.
    if (r.IsEmpty() || r.Left < 0 || r.Top < 0 || r.Right > bar->Width() || r.Bottom > bar->Height()) continue;
    PaintButton(bar.get(), i, r);
  }
  FillAlphaRect(bar.get(), vcl::TRect{0, 0, bar->Width(), bar->Height()}, 255);
  const bool own = DC == nullptr;
  const HDC dc = own ? GetDC(CtrlHandle) : DC;
  if (!dc) return;
  if (WholeWindow)
    BitBlt(dc, 0, 0, bar->Width(), bar->Height(), bar->Canvas()->Handle(), 0, 0, SRCCOPY);
  else
    BitBlt(dc, 0, 0, client.Width(), client.Height(), bar->Canvas()->Handle(), client.Left, client.Top, SRCCOPY);
  if (own) ReleaseDC(CtrlHandle, dc);
}

void TqvToolBarWnd::PaintNcFrame() {
  PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (SkinData->BGChanged || !cache || cache->Empty() || FrameOffset <= 0) return;
  const HDC dc = GetWindowDC(CtrlHandle);
  if (!dc) return;
  BitBltBorder(dc, 0, 0, FrameOffset, 0, 0, cache->Canvas()->Handle(), WndSize.cy, WndSize.cx);
  ReleaseDC(CtrlHandle, dc);
}

void TqvToolBarWnd::WndProc(vcl::TMessage& Message) {
  if (!Painting()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
      if (!IsWindowVisible(CtrlHandle) && !Message.WParam) break;
      {
        TqvPaintDC paint(CtrlHandle, Message);
        if (!SkinData->CheckBgChanged(false)) PaintToolBar(paint.DC());
      }
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      // Only a bar with a client edge has a frame of the skin's; others keep their own.
      if (!(GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) break;
      if (!SkinData->CheckBgChanged(false)) PaintNcFrame();
      Message.Result = 0;
      return;
    case WM_PRINT:
      // A print takes the whole window, frame included.
      PaintToolBar(reinterpret_cast<HDC>(Message.WParam), true);
      Message.Result = 0;
      return;
    default:
      break;
  }
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvMainWnd::WndProc(Message);
  if (!alive) return;
  if (Message.Msg == WM_SIZE || Message.Msg == WM_WINDOWPOSCHANGED) {
    SkinData->BGChanged = true;
    RedrawWindow(CtrlHandle, nullptr, nullptr, kRepaintAll);
  }
}

}  // namespace skin_layered
