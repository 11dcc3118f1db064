#include "skin_layered/adapters/ScrollBoxWnd.h"

#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/AdapterPaint.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvScrollBoxWnd) {}

namespace {

// The frame is laid out again, nothing else moves.
constexpr UINT kFrameChanged = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;

}  // namespace

void TqvScrollBoxWnd::InitSkinData(bool Owned) {
  TqvScrollWnd::InitSkinData(Owned);
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"PANEL_LOW");
}

void TqvScrollBoxWnd::PrepareCache() {
  if (!SkinData) return;
  TqvCacheInfo ci;
  if (PaintAdapterSection(this, ci, 0)) {
    SkinData->BGChanged = false;
    GetClientRectInWindow(CtrlHandle, cached_client_);
    // Only a box its parent shows through asks later whether that changed under it: an
    // opaque one keeps no copy (a client-aligned box took the form's whole body each step).
    if (SkinData->BgDependsOnParent())
      backdrop_.Take(ci, WndPos, WndSize);
    else
      backdrop_.Clear();
  } else {
    backdrop_.Clear();
  }
}

void TqvScrollBoxWnd::OnParentPainted() {
  if (SkinData->Updating || !SkinData->BgDependsOnParent()) return;
  if (!SkinData->BGChanged) {
    TqvCacheInfo ci;
    // Where the box is now: one moved with its parent's size lies over other pixels.
    if (AdapterParentBg(this, ci) && backdrop_.Same(ci, WndPos, WndSize)) return;
    SkinData->BGChanged = true;
  }
  RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

bool TqvScrollBoxWnd::CacheFitsWindow() const {
  const vcl::TBitmap* cache = SkinData->CacheBmp();
  RECT window{};
  if (SkinData->BGChanged || !cache || !GetWindowRect(CtrlHandle, &window) ||
      cache->Width() != window.right - window.left || cache->Height() != window.bottom - window.top)
    return false;
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  return client == cached_client_;
}

bool TqvScrollBoxWnd::PictureFollowsSize() const {
  const TsGeneralData* section = SkinData->Section();
  return section && section->Props[0].Transparency < 100 && !(SkinData->CtrlSkinState & kStatePlainBg);
}

void TqvScrollBoxWnd::OnSize(vcl::TMessage& Message) {
  // A box painted at its new size before the message came keeps that picture.
  const bool fits = CacheFitsWindow();
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvScrollWnd::WndProc(Message);
  if (!alive || !SkinData) return;
  if (fits) {
    SkinData->BGChanged = false;
  } else if (PictureFollowsSize()) {
    // Nothing of a box that shrank is exposed, yet its picture was made for another size. A box
    // that grew is painted once: the part it gained is already waiting for its paint.
    RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
  }
}

void TqvScrollBoxWnd::PaintClient(HDC DC) {
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  bool remade = false;
  PaintHostClient(this, dynamic_cast<vcl::TWinControl*>(OwnerControl()), DC, client, [this, &remade] {
    PrepareCache();
    remade = !SkinData->BGChanged;
  });
  // The frame and bars on the screen were painted from the cache as it was (their own paint may
  // have come first, or been left while the parent was not ready): again from the new one.
  if (!remade || client == vcl::Rect(0, 0, WndSize.cx, WndSize.cy) || SkinData->PrintDC ||
      !IsWindowVisible(CtrlHandle))
    return;
  TqvPaintDC frame(CtrlHandle, vcl::TMessage{WM_NCPAINT, 1, 0, 0}, true);
  if (const HDC dc = frame.DC()) {
    const TSavedDC saved(dc);
    PaintNonClient(dc);
  }
}

void TqvScrollBoxWnd::PaintNonClient(HDC DC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  if (SkinData->BGChanged) PrepareCache();
  PaintScrollBars(this, CtrlHandle, kPartNone, DC);
  CopyFrameFromCache(DC);
}

// ---------------------------------------------------------------------------------------
// The window procedure

void TqvScrollBoxWnd::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == kSkinCmdMessage && !Destroyed() && SkinData && OnSkinCommand(Message)) return;
  auto* box = dynamic_cast<vcl::TWinControl*>(OwnerControl());
  if (Destroyed() || !box || !box->ControlStyle().Contains(vcl::csAcceptsControls) || !SkinData ||
      !SkinData->Skinned(false) || !HorzBar || !VertBar || !OnSkinnedMessage(Message))
    TqvScrollWnd::WndProc(Message);
}

bool TqvScrollBoxWnd::OnSkinCommand(vcl::TMessage& Message) {
  const int command = SkinCommandOf(Message.WParam);
  switch (command) {
    case scmIsSkinned:
      Message.Result = 1;
      return true;
    case scmGetApplication:
      Message.Result = reinterpret_cast<LRESULT>(vcl::Application);
      return true;
    case scmRepaint:
      // The scroll adapter then repaints a box left updating.
      if (SkinData->Skinned(false)) OnParentPainted();
      return false;
    case scmPrepareCache:
      // A child asking for its background before the box painted gets the box's picture.
      if (SkinData->Skinned(false) && SkinData->BGChanged && !SkinData->CheckBgChanged(false)) PrepareCache();
      Message.Result = 0;
      return true;
    case scmNewSkin:
    case scmRefresh: {
      // The scroll adapter passes a new skin on to the children itself.
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvScrollWnd::WndProc(Message);
      if (!alive) return true;
      vcl::TMessage common = Message;
      CommonWndProc(common, SkinData);
      if (command == scmRefresh) {
        vcl::TMessage copy = Message;
        if (auto* box = dynamic_cast<vcl::TWinControl*>(OwnerControl())) BroadcastCommand(box, copy);
        SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0, kFrameChanged);
      }
      return true;
    }
    case scmRemoveSkin: {
      if (!FromOwnManager(Message)) return false;
      ForgetSkin();
      DropOpaqueStyle();
      vcl::TMessage common = Message;
      CommonWndProc(common, SkinData);
      PassSkinRemoval(Message);
      // The window's own frame and bars come back.
      FrameCalculated = false;
      SetWindowPos(CtrlHandle, nullptr, 0, 0, 0, 0, kFrameChanged);
      return true;
    }
    default:
      return false;
  }
}

bool TqvScrollBoxWnd::OnSkinnedMessage(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCPAINT:
      if (!IsWindowVisible(CtrlHandle) || InNcCalculation) return false;
      OnNcPaint(Message);
      return true;
    case WM_PRINT:
      OnPrint(Message);
      return true;
    case WM_SIZE:
      OnSize(Message);
      return true;
    default:
      return HostMessage(
          this, Message, [this](vcl::TMessage& M) { TqvScrollWnd::WndProc(M); }, [this](HDC DC) { PaintClient(DC); });
  }
}

void TqvScrollBoxWnd::OnNcPaint(vcl::TMessage& Message) {
  Message.Result = 0;
  if (!FrameCalculated) RefreshFrame(CtrlHandle, true);
  if (Destroyed() || !HorzBar || !VertBar) return;
  UpdateScrolls(this, false);
  if (AnimationActive()) return;
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  // A box whose client area is its whole window has no frame and no bars to paint (its picture
  // is not made for nothing).
  vcl::TRect client;
  GetClientRectInWindow(CtrlHandle, client);
  if (client == vcl::Rect(0, 0, WndSize.cx, WndSize.cy)) return;
  if (SkinData->CheckBgChanged(false)) return;  // the parent is not ready: painted later
  // The window's DC goes back on every path, the empty clip box's included.
  TqvPaintDC paint(CtrlHandle, Message, true);
  const HDC dc = paint.DC();
  if (!dc) return;
  RECT clip{};
  if (dc != SkinData->PrintDC && GetClipBox(dc, &clip) == NULLREGION) return;
  if (SkinData->BGChanged) {
    if (!SkinParamsApplied) ApplySkinParams();
    PrepareCache();
  }
  const TSavedDC saved(dc);
  Message.Result = PaintScrollBars(this, CtrlHandle, kPartNone, dc);
  CopyFrameFromCache(dc);
}

void TqvScrollBoxWnd::OnPrint(vcl::TMessage& Message) {
  const HDC dc = reinterpret_cast<HDC>(Message.WParam);
  Message.Result = 0;
  if (!dc) return;
  {
    // The client area lies inside the frame of the printed window.
    const TSavedDC saved(dc);
    vcl::TRect client;
    GetClientRectInWindow(CtrlHandle, client);
    OffsetViewportOrgEx(dc, client.Left, client.Top, nullptr);
    IntersectClipRect(dc, 0, 0, client.Width(), client.Height());
    PaintClient(dc);
  }
  PaintNonClient(dc);
}

}  // namespace skin_layered
