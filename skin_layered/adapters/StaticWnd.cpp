#include "skin_layered/adapters/StaticWnd.h"

#include <algorithm>
#include <cstdint>
#include <cwctype>
#include <memory>
#include <vector>

#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvStaticWnd) {}
VCL_CLASS_INFO(TqvIconWnd) {}
VCL_CLASS_INFO(TqvLinkWnd) {}
VCL_CLASS_INFO(TqvEdgeWnd) {}

namespace {

constexpr UINT kRedrawFlags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW;  // 0x105
// A static of this style bit keeps its own painting, as one with WS_EX_STATICEDGE.
constexpr LONG_PTR kOwnPaintingStyle = 0x10000;
constexpr UINT kTabSize = 10;

bool StartsWithNoCase(vcl::StringView Text, std::size_t At, vcl::StringView Word) {
  if (Text.size() - At < Word.size()) return false;
  for (std::size_t i = 0; i < Word.size(); ++i)
    if (std::towupper(Text[At + i]) != std::towupper(Word[i])) return false;
  return true;
}

// A 32-bit picture without any alpha (as screen-compatible bitmaps are) is opaque.
bool HasAlpha(HBITMAP Picture, const BITMAP& Info) {
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), Info.bmWidth, -Info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(Info.bmWidth) * static_cast<std::size_t>(Info.bmHeight));
  const HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, Picture, 0, static_cast<UINT>(Info.bmHeight), pixels.data(), &format,
                             DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return rows > 0 && std::any_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) != 0; });
}

// The rectangles, frames and etched lines a static draws instead of text.
bool DrawsShape(LONG_PTR Style) {
  switch (Style & SS_TYPEMASK) {
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_ETCHEDHORZ:
    case SS_ETCHEDVERT:
    case SS_ETCHEDFRAME:
      return true;
    default:
      return false;
  }
}

}  // namespace

vcl::String StripLinkTags(vcl::StringView Text) {
  vcl::String result;
  result.reserve(Text.size());
  std::size_t i = 0;
  while (i < Text.size()) {
    const bool closing = StartsWithNoCase(Text, i, L"</A>");
    const bool opening = StartsWithNoCase(Text, i, L"<A>") ||
                         (StartsWithNoCase(Text, i, L"<A") && i + 2 < Text.size() && std::iswspace(Text[i + 2]));
    if (closing || opening) {
      const std::size_t end = Text.find(L'>', i);
      if (end != vcl::StringView::npos) {
        i = end + 1;
        continue;
      }
    }
    result += Text[i++];
  }
  return result;
}

// ---------------------------------------------------------------------------------------
// Labels

void TqvStaticWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"CHECKBOX");
  TqvMainWnd::SetSkinParams();
}

bool TqvStaticWnd::PaintsItself() const {
  return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & kOwnPaintingStyle) ||
         (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_STATICEDGE);
}

void TqvStaticWnd::Redraw() { RedrawWindow(CtrlHandle, nullptr, nullptr, kRedrawFlags); }

void TqvStaticWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  if (PaintsItself()) {
    if (Message.Msg == WM_PRINT)
      PrintItself(Message);
    else
      TqvMainWnd::WndProc(Message);
    return;
  }
  const bool visible = IsWindowVisible(CtrlHandle) != FALSE;
  switch (Message.Msg) {
    case WM_MOVE:
    case WM_ENABLE:
      if (!visible) break;
      SkinData->BGChanged = true;
      CallPrevWndProc(Message);
      Redraw();
      return;
    case WM_SETTEXT:
      if (!visible) break;
      // The static's own painting of its new text happens with redraw off.
      SendMessageW(CtrlHandle, WM_SETREDRAW, FALSE, 0);
      TqvMainWnd::WndProc(Message);  // answered below, the caption read again
      SkinData->BGChanged = true;
      SendMessageW(CtrlHandle, WM_SETREDRAW, TRUE, 0);
      Redraw();
      return;
    case WM_PAINT: {
      TqvPaintDC paint(CtrlHandle, Message, true);
      if (visible) PaintWindow(vcl::TMessage{WM_PRINT, reinterpret_cast<WPARAM>(paint.DC()), 0, 0});
      return;
    }
    case WM_ERASEBKGND:
      if (!visible) break;
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      return;
    case WM_PRINT:
      PaintWindow(Message);
      return;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

void TqvStaticWnd::PrintItself(const vcl::TMessage& Message) {
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  // The edge lies in the frame, which the system paints on the screen only: an etched line
  // (the system gives it this edge) is edge and nothing else.
  if ((Message.LParam & PRF_NONCLIENT) && (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_STATICEDGE)) {
    RECT window{};
    GetWindowRect(CtrlHandle, &window);
    RECT frame{0, 0, window.right - window.left, window.bottom - window.top};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
  }
  if (Message.LParam & PRF_CLIENT) PrintOwnClient(dc);
}

void TqvStaticWnd::PrintOwnClient(HDC DC) {
  RECT window{}, client{};
  GetWindowRect(CtrlHandle, &window);
  GetClientRect(CtrlHandle, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  POINT origin{0, 0};
  ClientToScreen(CtrlHandle, &origin);
  const int x = origin.x - window.left, y = origin.y - window.top;
  // The static clips its painting to its client rectangle taken as device units: it paints into
  // a picture of its own, over what the DC shows there, which then takes its place.
  std::unique_ptr<vcl::TBitmap> own = CreateBmp32(client.right, client.bottom);
  const HDC ownDC = own->Canvas()->Handle();
  BitBlt(ownDC, 0, 0, client.right, client.bottom, DC, x, y, SRCCOPY);
  CallPrevWndProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(ownDC), PRF_CLIENT);
  BitBlt(DC, x, y, client.right, client.bottom, ownDC, 0, 0, SRCCOPY);
}

void TqvStaticWnd::PaintWindow(const vcl::TMessage& Message) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  TqvPaintDC paint(CtrlHandle, vcl::TMessage{WM_PRINT, Message.WParam, 0, 0}, true);
  const HDC dc = paint.DC();
  if (!dc) return;
  const TSavedDC saved(dc);
  SkinData->BGChanged = true;
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  PrepareAdapterCache(SkinData, CtrlHandle, false);
  if (cache->Empty() || SkinData->BGChanged) return;  // the parent was not ready
  if (PaintContent()) BitBlt(dc, 0, 0, width, height, cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

bool TqvStaticWnd::PaintContent() {
  if (DrawsShape(GetWindowLongPtrW(CtrlHandle, GWL_STYLE))) {
    // The shape is the static's whole content: the static draws it over the section, which
    // would otherwise show alone (a dialog's frame gone).
    CallPrevWndProc(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(SkinData->CacheBmp()->Canvas()->Handle()), PRF_CLIENT);
    return true;
  }
  return PaintCaption();
}

bool TqvStaticWnd::PaintCaption() {
  if (Caption.empty()) return true;
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  canvas->Brush()->SetStyle(vcl::bsClear);
  const vcl::TRect r{0, 0, WndSize.cx, WndSize.cy};
  SelectCacheFont();
  const LONG_PTR style = GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  // A tab stop's size takes the byte DT_NOPREFIX lies in: a label without prefixes keeps the
  // standard tabs.
  UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
  if (style & SS_NOPREFIX)
    flags |= DT_NOCLIP | DT_NOPREFIX;
  else
    flags |= DT_TABSTOP | (kTabSize << 8);
  switch (style & SS_TYPEMASK) {
    case SS_CENTER: flags |= DT_CENTER; break;
    case SS_RIGHT: flags |= DT_RIGHT; break;
    default: break;
  }
  if (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RIGHT) flags |= DT_RIGHT;
  if (vcl::Application && vcl::Application->UseRightToLeftReading()) flags |= DT_RTLREADING;
  WriteTextEx(canvas, Caption, true, false, SkinData, flags, r);
  return true;
}

// ---------------------------------------------------------------------------------------
// Icons and pictures

void TqvIconWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  const bool newImage = Message.Msg == STM_SETICON || Message.Msg == STM_SETIMAGE;
  if (!newImage || !SkinData || !manager || !manager->Active() || Destroyed() || PaintsItself() ||
      !IsWindowVisible(CtrlHandle)) {
    TqvStaticWnd::WndProc(Message);
    return;
  }
  // The static paints a new image at once by itself, over nothing of the skin's (and leaves
  // an old one in place when given none): it is composed again.
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  CallPrevWndProc(Message);
  if (!alive) return;
  SkinData->BGChanged = true;
  Redraw();
}

bool TqvIconWnd::BitmapMode() const { return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & 3) != SS_ICON; }

bool TqvIconWnd::PaintContent() {
  const HDC cache = SkinData->CacheBmp()->Canvas()->Handle();
  if (BitmapMode()) {
    auto image = reinterpret_cast<HBITMAP>(SendMessageW(CtrlHandle, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP info{};
    if (image && GetObjectW(image, sizeof info, &info) != 0 && info.bmWidth > 0 && info.bmHeight > 0) {
      const bool alpha = info.bmBitsPixel == 32 && HasAlpha(image, info);
      // The picture is the window's: only lent to a DC of ours for the copy.
      const HDC source = CreateCompatibleDC(cache);
      const HGDIOBJ old = SelectObject(source, image);
      const int w = std::min(static_cast<int>(info.bmWidth), static_cast<int>(WndSize.cx));
      const int h = std::min(static_cast<int>(info.bmHeight), static_cast<int>(WndSize.cy));
      if (alpha) {
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        GdiAlphaBlend(cache, 0, 0, w, h, source, 0, 0, w, h, blend);
      } else {
        BitBlt(cache, 0, 0, w, h, source, 0, 0, SRCCOPY);
      }
      SelectObject(source, old);
      DeleteDC(source);
    }
    return true;
  }
  auto icon = reinterpret_cast<HICON>(SendMessageW(CtrlHandle, STM_GETICON, 0, 0));
  if (icon) {
    DrawIconEx(cache, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return true;
  }
  // Without an icon the static has nothing of its own (a message box without one keeps it):
  // what lies behind it shows, as the dialog leaves the static's place to it.
  TqvCacheInfo behind;
  if (!AdapterParentBg(this, behind)) return false;
  vcl::TBitmap* bmp = SkinData->CacheBmp();
  PaintBehind(bmp, vcl::TRect{0, 0, bmp->Width(), bmp->Height()}, vcl::TPoint{WndPos.X, WndPos.Y}, behind);
  return true;
}

// ---------------------------------------------------------------------------------------
// Links

void TqvLinkWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed() ||
      (GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_STATICEDGE)) {
    TqvStaticWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      if (!IsWindowVisible(CtrlHandle)) break;
      PaintWindow(Message);
      Message.Result = 1;
      return;
    case WM_MOVE:
      SkinData->BGChanged = true;
      CallPrevWndProc(Message);
      Redraw();
      return;
    case WM_SETTEXT:
      TqvMainWnd::WndProc(Message);  // answered below, the caption read again
      SkinData->BGChanged = true;
      Redraw();
      return;
    case WM_PAINT: {
      // The content is painted as the window erases.
      TqvPaintDC paint(CtrlHandle, Message);
      return;
    }
    case WM_NCPAINT:
      return;
    default:
      break;
  }
  TqvStaticWnd::WndProc(Message);
}

bool TqvLinkWnd::PaintContent() {
  vcl::TCanvas* canvas = SkinData->CacheBmp()->Canvas();
  canvas->Brush()->SetStyle(vcl::bsClear);
  const vcl::TRect r{0, 0, WndSize.cx + 4, WndSize.cy};
  SelectCacheFont();
  vcl::TFontStyles style = canvas->Font()->Style();
  style.Include(vcl::fsUnderline);
  canvas->Font()->SetStyle(style);
  WriteTextEx(canvas, StripLinkTags(Caption), true, false, SkinData, DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP, r);
  return true;
}

// ---------------------------------------------------------------------------------------
// Edges

void TqvEdgeWnd::WndProc(vcl::TMessage& Message) {
  TsSkinManager* manager = Manager();
  if (!SkinData || !manager || !manager->Active() || Destroyed()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  // A skin without the edge's section leaves the static all its painting, edge included.
  if (!SkinData->Skinned()) {
    TqvStaticWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT: {
      // The static paints itself first; its edge is then replaced.
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      CallPrevWndProc(Message);
      const LRESULT result = Message.Result;
      if (alive) PaintWindow(Message);
      Message.Result = result;
      return;
    }
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      Message.Result = 1;
      return;
    case WM_PRINT:
      PrintEdged(Message);
      return;
    default:
      break;
  }
  TqvStaticWnd::WndProc(Message);
}

void TqvEdgeWnd::PrintEdged(const vcl::TMessage& Message) {
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  // The static's painting asks its parent for colours: the adapter may be gone after it.
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  if (Message.LParam & PRF_CLIENT) PrintOwnClient(dc);
  if (alive && (Message.LParam & PRF_NONCLIENT)) PaintWindow(vcl::TMessage{WM_PAINT, Message.WParam, 0, 0});
}

void TqvEdgeWnd::PaintWindow(const vcl::TMessage& Message) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  const int width = std::max(0, static_cast<int>(WndSize.cx)), height = std::max(0, static_cast<int>(WndSize.cy));
  if (width == 0 || height == 0) return;
  SkinData->BGChanged = true;
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (cache->Width() != width || cache->Height() != height) cache->SetSize(width, height);
  PrepareAdapterCache(SkinData, CtrlHandle, false);
  if (cache->Empty() || SkinData->BGChanged) return;  // the parent was not ready
  PaintCaption();
  // A WM_PAINT from the system brings no DC: the window's own, frame included.
  const WPARAM given = Message.Msg == WM_PAINT ? Message.WParam : 0;
  TqvPaintDC paint(CtrlHandle, vcl::TMessage{WM_PRINT, given, 0, 0}, true);
  if (const HDC dc = paint.DC())
    BitBltBorder(dc, 0, 0, kStaticEdgeWidth, 0, 0, cache->Canvas()->Handle(), height, width);
}

}  // namespace skin_layered
