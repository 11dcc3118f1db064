#include "skin_layered/adapters/MnuWnd.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/DialogHookRequests.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SectionPaint.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvMnuWnd) {}

namespace {

void SetAlpha(HWND Wnd, int Alpha) {
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if (Alpha >= 255) {
    if (ex & WS_EX_LAYERED) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    return;
  }
  if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
  SetLayeredWindowAttributes(Wnd, 0, static_cast<BYTE>(std::max(Alpha, 0)), LWA_ALPHA);
}

int PopupAlpha() {
  const TqvPopupMenuLinks& links = PopupMenuLinks();
  return links.PopupAlpha ? links.PopupAlpha() : 255;
}

}  // namespace

void TqvMnuWnd::SetSkinParams() {
  FramePainted = false;
  Showing = false;
  RegionDone = 0;
  TqvScrollWnd::SetSkinParams();
}

void TqvMnuWnd::WndProc(vcl::TMessage& Message) {
  ++running_;
  const vcl::TScopeExit done([this] { --running_; });
  Dispatch(Message);
}

void TqvMnuWnd::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY: return OnDestroy(Message);
    case kSkinCmdMessage: return OnSkinCommand(Message);
    default: break;
  }
  if (Destroyed() || !SkinnedPopupShown()) return UnskinnedMessage(Message);
  switch (Message.Msg) {
    case WM_ERASEBKGND: return OnEraseBkgnd(Message);
    case WM_WINDOWPOSCHANGING: return OnWindowPosChanging(Message);
    case WM_NCPAINT: return OnNcPaintMessage(Message);
    default: return TqvScrollWnd::WndProc(Message);
  }
}

// Only the skin commands the menus send are the window's business.
void TqvMnuWnd::OnSkinCommand(vcl::TMessage& Message) {
  switch (SkinCommandOf(Message.WParam)) {
    case scmIsSkinned: Message.Result = 1; return;
    case scmSetUpdating: return AnswerRegionDone(Message);
    case scmSetMenuRgnDone:
      if (IsWindowVisible(CtrlHandle)) RegionDone = 1;
      return;
    case scmGetApplication: Message.Result = reinterpret_cast<LRESULT>(vcl::Application); return;
    default: return;
  }
}

// The menus read the answer back from the message.
void TqvMnuWnd::AnswerRegionDone(vcl::TMessage& Message) {
  Message.LParam = RegionDone;
  Message.Result = RegionDone;
}

// Not drawn by the skinned menus: a plain scroll adapter, and never left invisible.
void TqvMnuWnd::UnskinnedMessage(vcl::TMessage& Message) {
  if (Message.Msg == WM_NCPAINT) Reveal();
  TqvScrollWnd::WndProc(Message);
}

void TqvMnuWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  PrepareMenuCache();
  const HDC given = reinterpret_cast<HDC>(Message.WParam);
  const HDC dc = given ? given : GetDC(CtrlHandle);
  if (vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr; dc && cache)
    BitBlt(dc, 0, 0, cache->Width() - 2 * kMenuFrame, cache->Height() - 2 * kMenuFrame, cache->Canvas()->Handle(),
           kMenuFrame, kMenuFrame, SRCCOPY);
  if (!given && dc) ReleaseDC(CtrlHandle, dc);
  RegionDone = 0;
  Message.Result = 1;
}

void TqvMnuWnd::OnNcPaintMessage(vcl::TMessage& Message) {
  OnNcPaint();
  Message.Result = 0;
}

void TqvMnuWnd::OnDestroy(vcl::TMessage& Message) {
  if (Destroyed()) {
    CallPrevWndProc(Message);
    return;
  }
  if (!Attached()) {
    Message.Result = DefWindowProcW(CtrlHandle, Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  CallPrevWndProc(Message);
  UninstallAdapter(this, false);
  EndLifetime();
  RegionDone = 0;
  if (PopupMenuLinks().ClearMenuCache) PopupMenuLinks().ClearMenuCache();
  bool left = false;
  for (const auto& menu : HookedMenuWnds())
    if (menu && !menu->Destroyed()) {
      RedrawWindow(menu->CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      left = true;
    }
  // The list is emptied when the last popup goes; this adapter, still running, is freed later.
  if (!left) ClearMenuWnds();
  SetSkinnedPopupShown(false);
}

void TqvMnuWnd::OnWindowPosChanging(vcl::TMessage& Message) {
  TqvScrollWnd::WndProc(Message);
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  if (Showing || !pos || (pos->flags & SWP_NOREDRAW) || !(pos->flags & SWP_SHOWWINDOW) || IsWindowVisible(CtrlHandle))
    return;
  Showing = true;
  // Shown fully transparent; the first skinned frame paint makes it visible.
  SetAlpha(CtrlHandle, 0);
  transparent_ = true;
  Showing = false;
}

void TqvMnuWnd::OnNcPaint() {
  RECT wr{};
  GetWindowRect(CtrlHandle, &wr);
  const int width = wr.right - wr.left, height = wr.bottom - wr.top;
  const HDC dc = GetWindowDC(CtrlHandle);
  if (dc) {
    vcl::TBitmap* ready = PopupMenuLinks().PopupImage ? PopupMenuLinks().PopupImage(CtrlHandle) : nullptr;
    vcl::TBitmap* source = nullptr;
    // The skinned menus' background covers the whole window: its frame is copied from it.
    if (ready && ready->Width() == width && ready->Height() == height) {
      source = ready;
    } else {
      PrepareMenuCache();
      source = SkinData ? SkinData->CacheBmp() : nullptr;
    }
    if (source && source->Width() > 0) {
      const HDC src = source->Canvas()->Handle();
      const int w = std::min(width, source->Width()), h = std::min(height, source->Height());
      BitBlt(dc, 0, 0, w, kMenuFrame, src, 0, 0, SRCCOPY);
      BitBlt(dc, 0, h - kMenuFrame, w, kMenuFrame, src, 0, h - kMenuFrame, SRCCOPY);
      BitBlt(dc, 0, 0, kMenuFrame, h, src, 0, 0, SRCCOPY);
      BitBlt(dc, w - kMenuFrame, 0, kMenuFrame, h, src, w - kMenuFrame, 0, SRCCOPY);
    }
    ReleaseDC(CtrlHandle, dc);
  }
  if (FormServices().AeroIsEnabled() && !FramePainted)
    RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  SetAlpha(CtrlHandle, PopupAlpha());
  transparent_ = false;
  FramePainted = true;
}

void TqvMnuWnd::Reveal() {
  if (!transparent_) return;
  SetAlpha(CtrlHandle, 255);
  transparent_ = false;
}

void TqvMnuWnd::PrepareMenuCache() {
  if (!SkinData) return;
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (!SkinData->BGChanged) return;
  SkinData->InitCacheBmp();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (cache->Width() != WndSize.cx || cache->Height() != WndSize.cy) cache->SetSize(std::max(0, static_cast<int>(WndSize.cx)), std::max(0, static_cast<int>(WndSize.cy)));
  if (TsSkinManager* manager = Manager(); manager && manager->IsValidSkinIndex(SkinData->SkinIndex)) {
    TqvCacheInfo ci;
    PaintItem(SkinData->ControlSkin(), ci, 0, vcl::TRect{0, 0, cache->Width(), cache->Height()},
              vcl::TPoint{WndPos.X, WndPos.Y}, cache, true);
  }
  PaintAdapterBorder(SkinData, this);
  SkinData->BGChanged = false;
}

}  // namespace skin_layered
