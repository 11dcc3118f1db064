// The painting messages of a skinned form, all served from its window image: the frame
// (WM_NCPAINT), the client background (WM_ERASEBKGND, WM_PAINT), printing (WM_PRINT gives the
// skinned frame and client) and the controls repainted after a client paint that asked for it.
#include <algorithm>
#include <vector>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {
namespace {

// An MDI client repainted whole with its frame, at once while a child is maximised.
constexpr UINT kRepaintClient = RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME;
constexpr UINT kRepaintClientNow = kRepaintClient | RDW_UPDATENOW;

bool Loading(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csLoading); }
bool BeingDestroyed(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }
bool PaintCopy(const vcl::TControl* C) { return C->ControlState().Contains(vcl::csPaintCopy); }

// An MDI frame whose active child is maximised.
vcl::TCustomForm* MaximizedChildOf(vcl::TCustomForm* Form) {
  if (Form->FormStyle() != vcl::fsMDIForm) return nullptr;
  vcl::TCustomForm* child = Form->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) ? child : nullptr;
}

// The visible child windows of Wnd printed into DC (whose origin is Wnd's client origin) at their
// places, the bottom one first, each with its frame and its own children.
void PrintChildWindows(HDC DC, HWND Wnd, UINT Flags) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) children.push_back(child);
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    RECT r{};
    GetWindowRect(*it, &r);
    MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
    const int saved = SaveDC(DC);
    OffsetViewportOrgEx(DC, r.left, r.top, nullptr);
    IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
    SendMessageW(*it, WM_PRINT, reinterpret_cast<WPARAM>(DC), Flags | PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    RestoreDC(DC, saved);
  }
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Messages

void TsSkinProvider::TMessages::WMSetRedraw(TsSkinProvider& P, vcl::TMessage& Message) {
  if (Message.WParam == 1)
    P.redraw_locks_ = std::max(0, P.redraw_locks_ - 1);
  else
    ++P.redraw_locks_;
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WMNCPaint(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.menus_.SystemMenu()) {
    P.Menus().MakeSystemMenu();
    P.caption_buttons_->InitSystemButtons();
  }
  const HWND wnd = P.Form->Handle();
  if (P.DrawNonClientArea) {
    if (P.SkinData->CtrlSkinState & (kStateInUpdate | kStateDeferred)) return;
    if (P.Measures().MenuVisible() && !GetMenu(wnd)) return;
    if (P.ExtFlags & kExtHiding) return;
  }
  if (P.AutoCreated) {
    P.AutoCreated = false;
    P.PrepareForm();
  }
  if (P.Form->Parent()) {
    P.SkinData->Updating = P.SkinData->BgIsChanged();
    if (P.SkinData->Updating) return;
  }
  if (!P.DrawNonClientArea) return P.CallOldWndProc(Message);
  if (AnimationActive() && P.Form->FormStyle() == vcl::fsMDIChild) return P.CallOldWndProc(Message);
  if (!P.Form->Showing() || Loading(&P) || P.Form->ControlState().Contains(vcl::csDocking) || !P.menus_.SystemMenu()) return;
  if (IsIconic(wnd)) {
    P.SkinData->BGChanged = true;
  } else {
    // The size being applied: the frame is painted once the window has it.
    RECT window{};
    GetWindowRect(wnd, &window);
    if (window.right - window.left != P.Form->Width() || window.bottom - window.top != P.Form->Height()) return;
  }
  if (!P.SkinData->CacheBmp())
    if (TsSkinManager* manager = P.SkinManager()) P.InitExBorders(manager->ExtendedBorders());
  P.PaintNonClient();
  Message.Result = 0;
}

void TsSkinProvider::TMessages::WMEraseBkgnd(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.Form->Showing() || !P.DrawClientArea()) return P.CallOldWndProc(Message);
  if ((P.SkinData->CtrlSkinState & kStateInUpdate) || P.SkinData->Updating) return;
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  vcl::TBitmap* image = P.SkinData->CacheBmp();
  const bool fresh = image && image->Width() > 0 && !P.SkinData->BGChanged;
  const HWND wnd = P.Form->Handle();
  const vcl::TRect client = vcl::Rect(0, 0, ClientWidthOf(wnd), ClientHeightOf(wnd));
  if (!PaintCopy(P.Form) && Message.WParam != static_cast<WPARAM>(Message.LParam)) {
    if (P.SkinData->IsCached() && !MaximizedChildOf(P.Form)) {
      if (P.SkinData->Updating) {
        Message.Result = 1;
        return;
      }
      if (fresh) {
        const vcl::TPoint offset(P.window_image_.OffsetX(), P.window_image_.OffsetY());
        PaintParentBg(P.Form, P.SkinData, offset, 0, 0, false, dc, client);
        P.window_image_.PaintUnderSeeThroughControls(dc);
        P.Form->PaintControls(dc, nullptr);
        Message.Result = 1;
        return;
      }
    }
    TsSkinProvider* frame = MDIProvider();
    if (P.Form->FormStyle() == vcl::fsMDIChild && image && frame && frame != &P && frame->Form &&
        frame->Form->ClientHandle()) {
      // A child inside the frame's client area keeps only its caption part of the image.
      RECT bounds{}, area{};
      GetWindowRect(wnd, &bounds);
      GetWindowRect(frame->Form->ClientHandle(), &area);
      if (bounds.left >= area.left && bounds.top >= area.top && bounds.right <= area.right &&
          bounds.bottom <= area.bottom) {
        const int keep = BorderFormOffsetY(P.ExtBorderForm()) + P.Measures().CaptionHeight(true) +
                         P.Measures().MenuLinesCount() * P.Measures().MenuHeight() + 1;
        if (image->Height() > keep) image->SetSize(image->Width(), keep);
        P.SkinData->BGChanged = true;
      }
    }
    P.window_image_.PaintFormBg(dc);
  } else if (dc && fresh) {
    if (P.SkinData->IsCached())
      BitBlt(dc, 0, 0, client.Width(), client.Height(), image->Canvas()->Handle(), P.window_image_.OffsetX(),
             P.window_image_.OffsetY(), SRCCOPY);
    else
      FillDC(dc, client, GetBgColor(P.SkinData, 0));
  }
  Message.Result = 1;
}

void TsSkinProvider::TMessages::WMPaint(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.DrawClientArea() || PaintCopy(P.Form)) {
    P.CallOldWndProc(Message);
    if (!P.DrawNonClientArea && P.Form->Menu() && P.Form->HandleAllocated())
      SendMessageW(P.Form->Handle(), WM_NCPAINT, 1, 0);
    return;
  }
  const HWND wnd = P.Form->Handle();
  if (TqvBorderForm* border = P.ExtBorderForm(); border && !P.Frozen &&
                                                (!border->BorderWindow() || !IsWindowVisible(border->BorderWindow())))
    border->UpdateExBordersPos(true, 255);
  if (!P.Form->Showing()) return P.CallOldWndProc(Message);
  if (P.SkinData->IsCached()) {
    P.window_image_.PaintFormWM(reinterpret_cast<HDC>(Message.WParam));
    if (P.Form->FormStyle() == vcl::fsMDIForm) {
      HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : GetDC(wnd);
      PaintControlsOnDC(dc, P.Form, vcl::TPoint(), true);
      if (!Message.WParam) ReleaseDC(wnd, dc);
    }
  } else {
    if (!BeingDestroyed(&P)) InvalidateRect(wnd, nullptr, TRUE);
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
  }
  Message.Result = 0;
  if (!P.DrawNonClientArea && P.Form->Menu()) SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

void TsSkinProvider::TMessages::WMPrint(TsSkinProvider& P, vcl::TMessage& Message) {
  if (Loading(&P) || P.Form->ControlState().Contains(vcl::csDocking) || BeingDestroyed(&P) || BeingDestroyed(P.Form))
    return P.CallOldWndProc(Message);
  const HWND wnd = P.Form->Handle();
  DisableDwmTransitions(wnd, true);
  if (P.Form->FormStyle() == vcl::fsMDIChild)
    if (TsSkinProvider* frame = MDIProvider(); frame && frame->Form)
      if (vcl::TCustomForm* child = MaximizedChildOf(frame->Form); child && child != P.Form) return;
  P.menus_.RebuildMainMenuBarOnce();
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  P.Printing = true;
  const vcl::TScopeExit printed([&P] { P.Printing = false; });
  const int saved = SaveDC(dc);
  if (!(Message.LParam & PRF_ERASEBKGND)) {
    P.SkinData->Updating = false;
    if (P.ExtBorderForm()) {
      if (P.SkinData->BGChanged) P.window_image_.PaintAllImage();
      if (vcl::TBitmap* image = P.SkinData->CacheBmp())
        BitBlt(dc, 0, 0, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0, SRCCOPY);
      const int x = P.window_image_.OffsetX(), y = P.window_image_.OffsetY();
      IntersectClipRect(dc, x, y, x + ClientWidthOf(wnd), y + ClientHeightOf(wnd));
    } else if (P.Measures().HasBorder() || (GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_THICKFRAME | WS_DLGFRAME))) {
      P.window_image_.PaintBorders(dc);
    }
  }
  // The client part, moved to its place in the window, as the screen shows it: the background
  // with the graphic controls (the erase, given the print flags: with the DC twice it would
  // answer the image's bare client part), then the child windows over it when asked for (an
  // MDI frame's client window with its documents among them).
  POINT origin{};
  OffsetViewportOrgEx(dc, P.window_image_.OffsetX(), P.window_image_.OffsetY(), &origin);
  P.SendToProvider(WM_ERASEBKGND, Message.WParam, Message.LParam);
  if (Message.LParam & PRF_CHILDREN)
    PrintChildWindows(dc, wnd, static_cast<UINT>(Message.LParam));
  else if (P.Form->FormStyle() == vcl::fsMDIForm && P.Form->ClientHandle())
    SendMessageW(P.Form->ClientHandle(), WM_PRINT, Message.WParam, Message.LParam);
  RestoreDC(dc, saved);
  Message.Result = 0;
}

// ---------------------------------------------------------------------------------------
// After a client paint

void TsSkinProvider::ClientPainted() {
  if (!repaint_children_) return;
  repaint_children_ = false;
  RepaintChildControls(Form);
  vcl::TMessage repaint = SkinCommandMessage(scmRepaint);
  adapters_.SendToAdapter(repaint);
}

void TsSkinProvider::TMessages::RepaintMdiArea(bool Maximized) {
  TsSkinProvider* frame = MDIProvider();
  if (!frame || !frame->Form || !frame->Form->HandleAllocated()) return;
  const HWND frameWnd = frame->Form->Handle();
  if (!frame->DrawNonClientArea) {
    RedrawWindow(frameWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    return;
  }
  frame->SkinData->BeginUpdate();
  frame->SkinData->BGChanged = true;
  frame->window_image_.FreeTitlePictures();
  frame->window_image_.FirstPaint = true;
  frame->MenuLineCount = -1;
  frame->SkinData->EndUpdate(false);
  if (frame->Form->ClientHandle())
    RedrawWindow(frame->Form->ClientHandle(), nullptr, nullptr, Maximized ? kRepaintClientNow : kRepaintClient);
  RedrawWindow(frameWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
  if (Maximized)
    if (TqvBorderForm* border = frame->ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

// ---------------------------------------------------------------------------------------
// Small measures

bool TsSkinProvider::TMessages::ExtBordersWanted(const TsSkinProvider& P) {
  const TsSkinManager* manager = P.SkinManager();
  if (!manager || !manager->ExtendedBorders() || !P.AllowExtBorders()) return false;
  return !manager->Options()->NativeBordersMaximized() || !P.Form->HandleAllocated() || !IsZoomed(P.Form->Handle());
}

int TsSkinProvider::TMessages::MaximizedCaptionExtra(const TsSkinProvider& P, bool Maximized) {
  return std::max(0, P.Measures().TitleHeightByState(Maximized) - (P.Measures().SysCaptionHeightOfForm() + 4));
}

}  // namespace skin_layered
