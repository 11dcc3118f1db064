#include "skin_layered/adapters/StatusBarWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "classlib/comctrls/StatusBar.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"
#include "skin_layered/paint/TextOutput.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvStatusBarWnd) {}

void TqvStatusBarWnd::SetSkinParams() {
  if (SkinData && SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"STATUSBAR");
  StatusBar = dynamic_cast<vcl::TStatusBar*>(OwnerControl());
  TqvMainWnd::SetSkinParams();
}

int TqvStatusBarWnd::FrameWidth() const { return StatusBar ? StatusBar->BorderWidth() : 0; }

void TqvStatusBarWnd::PrepareCache() {
  TqvCacheInfo ci;
  vcl::TBitmap* cache = PaintAdapterSection(this, ci);
  if (!cache) return;
  SelectCacheFont();
  // Panels lie in client coordinates; the cache holds the whole window.
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  const int height = cache->Height();
  if (SendMessageW(CtrlHandle, SB_ISSIMPLE, 0, 0) != 0) {
    PaintPanel(-1, vcl::TRect{0, 1, cache->Width() - 1, height - 1}, true, true);
  } else {
    const int count = static_cast<int>(SendMessageW(CtrlHandle, SB_GETPARTS, 0, 0));
    for (int i = 0; i < count; ++i) {
      RECT r{};
      if (!SendMessageW(CtrlHandle, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r))) continue;
      vcl::TRect pr{r.left + client.Left + 1, r.top + client.Top + 1, r.right + client.Left - 1,
                    r.bottom + client.Top - 1};
      PaintPanel(i, pr, false, i == count - 1);
    }
  }
  PaintGrip();
  SkinData->BGChanged = false;
}

void TqvStatusBarWnd::PaintPanel(int Index, vcl::TRect R, bool Simple, bool Last) {
  TsSkinManager* manager = Manager();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!manager || !cache) return;
  const int skin_index = SkinData->SkinIndex;
  const int mask = manager->IsValidSkinIndex(skin_index)
                       ? manager->GetMaskIndex(skin_index, SkinData->SkinSection(), L"STATUSPANELMASK")
                       : kNoIndex;
  if (manager->IsValidImgIndex(mask)) {
    const vcl::TRect area = Simple ? vcl::TRect{0, 0, cache->Width(), cache->Height()} : R;
    TqvCacheInfo own;
    MakeCacheInfo(cache, 0, 0, own);
    DrawSkinRect(cache, area, own, manager->Skin().Images[static_cast<std::size_t>(mask)], 0, true);
  } else if (!Simple && !Last) {
    PaintDivider(R);
  }
  vcl::TStatusPanel* panel = nullptr;
  if (StatusBar && Index >= 0 && Index < StatusBar->Panels()->Count()) panel = StatusBar->Panels()->Items(Index);
  if (panel && panel->Style() == vcl::psOwnerDraw && StatusBar->OnDrawPanel) {
    const vcl::TCanvasDCLoan loan(*StatusBar->Canvas(), cache->Canvas()->Handle());
    StatusBar->Canvas()->SetFont(StatusBar->Font());
    StatusBar->OnDrawPanel(StatusBar, panel, R);
    return;
  }
  vcl::TRect tr{R.Left + 1 + 2, R.Top + 1, R.Right - 1 - 4, R.Bottom - 1 - 1};
  vcl::String text;
  vcl::TAlignment alignment = vcl::taLeftJustify;
  if (Simple) {
    const int length = static_cast<int>(SendMessageW(CtrlHandle, WM_GETTEXTLENGTH, 0, 0));
    text.assign(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        SendMessageW(CtrlHandle, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  } else if (panel) {
    text = panel->Text();
    if (!StatusBar->SimplePanel()) alignment = panel->Alignment();
  } else if (StatusBar) {
    text = StatusBar->SimpleText();
  }
  if (text.empty()) return;
  vcl::TCanvas* canvas = cache->Canvas();
  canvas->Brush()->SetStyle(vcl::bsClear);
  text = CutText(canvas, text, tr.Right - tr.Left);
  // A font whose line is taller than the inset text area (the bar sizes itself for its font)
  // keeps its descenders: the area grows about its middle, within the bar.
  if (const int line = canvas->TextHeight(text); line > tr.Bottom - tr.Top) {
    const int middle = (tr.Top + tr.Bottom) / 2;
    tr.Top = std::max(0, middle - line / 2);
    tr.Bottom = std::min(cache->Height(), tr.Top + line);
  }
  const UINT flags = GetDrawTextFlags(StatusBar, alignment) | DT_VCENTER | DT_SINGLELINE;
  WriteTextEx(canvas, text, true, false, SkinData, flags, tr);
}

void TqvStatusBarWnd::PaintDivider(const vcl::TRect& R) {
  TsSkinManager* manager = Manager();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const int section = manager->GetSkinIndex(L"DIVIDER");
  if (!manager->IsValidSkinIndex(section)) return;
  const int mask = manager->GetMaskIndex(section, L"DIVIDER", L"BORDERSMASK");
  if (!manager->IsValidImgIndex(mask)) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int width = std::max(2, skin.MaskWidthLeft(mask) + skin.MaskWidthRight(mask));
  const int height = cache->Height() - 2;
  if (height <= 0) return;
  const int x = R.Right - width;
  vcl::TBitmap divider;
  divider.SetPixelFormat(vcl::pf32bit);
  divider.SetSize(width, height);
  // What the divider lies over, so that its see-through pixels show the bar.
  BitBlt(divider.Canvas()->Handle(), 0, 0, width, height, cache->Canvas()->Handle(), x, 1, SRCCOPY);
  TqvCacheInfo over;
  MakeCacheInfo(&divider, 0, 0, over);
  DrawSkinRect(&divider, vcl::TRect{0, 0, width, height}, over, skin.Images[static_cast<std::size_t>(mask)], 0, true);
  BitBlt(cache->Canvas()->Handle(), x, 1, width, height, divider.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvStatusBarWnd::PaintGrip() {
  TsSkinManager* manager = Manager();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const bool grip = StatusBar ? StatusBar->SizeGrip() : (GetWindowLongW(CtrlHandle, GWL_STYLE) & SBARS_SIZEGRIP) != 0;
  const int image = manager->Skin().ConstData.GripImage;
  if (!grip) return;
  const int border = FrameWidth();
  if (!manager->IsValidImgIndex(image))
    return DrawSystemSizeGrip(cache, vcl::TRect{0, 0, cache->Width() - border, cache->Height() - border});
  const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(image)];
  TqvCacheInfo own;
  MakeCacheInfo(cache, 0, 0, own);
  DrawSkinGlyph(cache,
                vcl::TPoint{cache->Width() - MaskImageWidth(mask) - border, cache->Height() - MaskImageHeight(mask) - border},
                0, 1, mask, own);
}

void TqvStatusBarWnd::PaintBorder(HDC DC) {
  if (!SkinData) return;
  if (SkinData->BGChanged) PrepareCache();
  CopyBorderFromCache(this, DC);
}

void TqvStatusBarWnd::PaintTo(HDC DC) {
  if (SkinData->BGChanged || !SkinData->CacheBmp() || SkinData->CacheBmp()->Width() == 0) PrepareCache();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0) return;
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  const bool own = DC == nullptr;
  const HDC dc = own ? GetDC(CtrlHandle) : DC;
  if (!dc) return;
  BitBlt(dc, 0, 0, client.Right - client.Left, client.Bottom - client.Top, cache->Canvas()->Handle(), client.Left,
         client.Top, SRCCOPY);
  if (own) ReleaseDC(CtrlHandle, dc);
}

void TqvStatusBarWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || !SkinData->Skinned() || Destroyed()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_PAINT:
      PaintByErasing(CtrlHandle);
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      PaintTo(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 1;
      return;
    case WM_NCPAINT:
      if (TsSkinManager* manager = Manager(); !manager || !manager->HoldsBroadcast()) PaintBorder(nullptr);
      Message.Result = 0;
      return;
    case WM_PRINT:
      if (Message.LParam & PRF_NONCLIENT) PaintBorder(reinterpret_cast<HDC>(Message.WParam));
      {
        // The client area lies inside the frame's strips of the printed window.
        vcl::TRect client;
        GetClientRectInWindow(CtrlHandle, client);
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        POINT old{};
        OffsetViewportOrgEx(dc, (Message.LParam & PRF_NONCLIENT) ? client.Left : 0,
                            (Message.LParam & PRF_NONCLIENT) ? client.Top : 0, &old);
        PaintTo(dc);
        SetViewportOrgEx(dc, old.x, old.y, nullptr);
      }
      Message.Result = 0;
      return;
    case SB_SETTEXTW:
    case SB_SETTEXTA:
    case SB_SETPARTS:
    case SB_SIMPLE:
    case WM_SETTEXT:
      // The texts and parts live in the cache.
      SkinData->BGChanged = true;
      break;
    case WM_SIZE:
      TqvMainWnd::WndProc(Message);
      RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
      return;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
