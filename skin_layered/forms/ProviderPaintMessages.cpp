// The painting messages of a skinned form, all served from its window image: the frame
// (WM_NCPAINT), the client background (WM_ERASEBKGND, WM_PAINT), printing (WM_PRINT gives the
// skinned frame and client) and the controls repainted after a client paint that asked for it.
#include <algorithm>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
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

// Set between a maximised MDI child's activation and the next client paint.

}  // namespace

// ---------------------------------------------------------------------------------------
// Messages

void TsSkinProvider::WMSetRedraw(vcl::TMessage& Message) {
  if (Message.WParam == 1)
    redraw_locks_ = std::max(0, redraw_locks_ - 1);
  else
    ++redraw_locks_;
  CallOldWndProc(Message);
}

void TsSkinProvider::WMNCPaint(vcl::TMessage& Message) {
  if (!SystemMenu) {
    MakeSystemMenu();
    caption_buttons_->InitSystemButtons();
  }
  const HWND wnd = Form->Handle();
  if (DrawNonClientArea) {
    if (SkinData->CtrlSkinState & (kStateInUpdate | kStateDeferred)) return;
    if (MenuVisible() && !GetMenu(wnd)) return;
    if (ExtFlags & kExtHiding) return;
  }
  if (AutoCreated) {
    AutoCreated = false;
    PrepareForm();
  }
  if (Form->Parent()) {
    SkinData->Updating = SkinData->BgIsChanged();
    if (SkinData->Updating) return;
  }
  if (!DrawNonClientArea) return CallOldWndProc(Message);
  if (AnimationActive() && Form->FormStyle() == vcl::fsMDIChild) return CallOldWndProc(Message);
  if (!Form->Showing() || Loading(this) || Form->ControlState().Contains(vcl::csDocking) || !SystemMenu) return;
  if (IsIconic(wnd)) {
    SkinData->BGChanged = true;
  } else {
    // The size being applied: the frame is painted once the window has it.
    RECT window{};
    GetWindowRect(wnd, &window);
    if (window.right - window.left != Form->Width() || window.bottom - window.top != Form->Height()) return;
  }
  if (!SkinData->CacheBmp())
    if (TsSkinManager* manager = SkinManager()) InitExBorders(manager->ExtendedBorders());
  PaintNonClient();
  Message.Result = 0;
}

void TsSkinProvider::WMEraseBkgnd(vcl::TMessage& Message) {
  if (!Form->Showing() || !DrawClientArea()) return CallOldWndProc(Message);
  if ((SkinData->CtrlSkinState & kStateInUpdate) || SkinData->Updating) return;
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  vcl::TBitmap* image = SkinData->CacheBmp();
  const bool fresh = image && image->Width() > 0 && !SkinData->BGChanged;
  const HWND wnd = Form->Handle();
  const vcl::TRect client = vcl::Rect(0, 0, ClientWidthOf(wnd), ClientHeightOf(wnd));
  if (!PaintCopy(Form) && Message.WParam != static_cast<WPARAM>(Message.LParam)) {
    if (SkinData->IsCached() && !MaximizedChildOf(Form)) {
      if (SkinData->Updating) {
        Message.Result = 1;
        return;
      }
      if (fresh) {
        PaintParentBg(Form, SkinData, vcl::TPoint(OffsetX(), OffsetY()), 0, 0, false, dc, client);
        window_image_.PaintUnderSeeThroughControls(dc);
        Form->PaintControls(dc, nullptr);
        Message.Result = 1;
        return;
      }
    }
    TsSkinProvider* frame = MDIProvider();
    if (Form->FormStyle() == vcl::fsMDIChild && image && frame && frame != this && frame->Form &&
        frame->Form->ClientHandle()) {
      // A child inside the frame's client area keeps only its caption part of the image.
      RECT bounds{}, area{};
      GetWindowRect(wnd, &bounds);
      GetWindowRect(frame->Form->ClientHandle(), &area);
      if (bounds.left >= area.left && bounds.top >= area.top && bounds.right <= area.right &&
          bounds.bottom <= area.bottom) {
        const int keep = BorderFormOffsetY(ExtBorderForm()) + CaptionHeight(true) + MenuLinesCount() * MenuHeight() + 1;
        if (image->Height() > keep) image->SetSize(image->Width(), keep);
        SkinData->BGChanged = true;
      }
    }
    window_image_.PaintFormBg(dc);
  } else if (dc && fresh) {
    if (SkinData->IsCached())
      BitBlt(dc, 0, 0, client.Width(), client.Height(), image->Canvas()->Handle(), OffsetX(), OffsetY(), SRCCOPY);
    else
      FillDC(dc, client, GetBgColor(SkinData, 0));
  }
  Message.Result = 1;
}

void TsSkinProvider::WMPaint(vcl::TMessage& Message) {
  if (!DrawClientArea() || PaintCopy(Form)) {
    CallOldWndProc(Message);
    if (!DrawNonClientArea && Form->Menu() && Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_NCPAINT, 1, 0);
    return;
  }
  const HWND wnd = Form->Handle();
  if (TqvBorderForm* border = ExtBorderForm(); border && !Frozen &&
                                                (!border->BorderWindow() || !IsWindowVisible(border->BorderWindow())))
    border->UpdateExBordersPos(true, 255);
  if (!Form->Showing()) return CallOldWndProc(Message);
  if (SkinData->IsCached()) {
    window_image_.PaintFormWM(reinterpret_cast<HDC>(Message.WParam));
    if (Form->FormStyle() == vcl::fsMDIForm) {
      HDC dc = Message.WParam ? reinterpret_cast<HDC>(Message.WParam) : GetDC(wnd);
      PaintControlsOnDC(dc, Form, vcl::TPoint(), true);
      if (!Message.WParam) ReleaseDC(wnd, dc);
    }
  } else {
    if (!BeingDestroyed(this)) InvalidateRect(wnd, nullptr, TRUE);
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
  }
  Message.Result = 0;
  if (!DrawNonClientArea && Form->Menu()) SendMessageW(wnd, WM_NCPAINT, 1, 0);
}

void TsSkinProvider::WMPrint(vcl::TMessage& Message) {
  if (Loading(this) || Form->ControlState().Contains(vcl::csDocking) || BeingDestroyed(this) || BeingDestroyed(Form))
    return CallOldWndProc(Message);
  const HWND wnd = Form->Handle();
  DisableDwmTransitions(wnd, true);
  if (Form->FormStyle() == vcl::fsMDIChild)
    if (TsSkinProvider* frame = MDIProvider(); frame && frame->Form)
      if (vcl::TCustomForm* child = MaximizedChildOf(frame->Form); child && child != Form) return;
  if (!menu_bar_rebuilt_) menu_bar_rebuilt_ = RebuildMainMenuBar();
  const auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (!dc) return;
  Printing = true;
  const vcl::TScopeExit printed([this] { Printing = false; });
  const int saved = SaveDC(dc);
  if (!(Message.LParam & PRF_ERASEBKGND)) {
    SkinData->Updating = false;
    if (ExtBorderForm()) {
      if (SkinData->BGChanged) window_image_.PaintAllImage();
      if (vcl::TBitmap* image = SkinData->CacheBmp())
        BitBlt(dc, 0, 0, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0, SRCCOPY);
      IntersectClipRect(dc, OffsetX(), OffsetY(), OffsetX() + ClientWidthOf(wnd), OffsetY() + ClientHeightOf(wnd));
    } else if (HasBorder() || (GetWindowLongPtrW(wnd, GWL_STYLE) & (WS_THICKFRAME | WS_DLGFRAME))) {
      window_image_.PaintBorders(dc);
    }
  }
  // The client part, moved to its place in the window.
  POINT origin{};
  OffsetViewportOrgEx(dc, OffsetX(), OffsetY(), &origin);
  if (!(Message.LParam & PRF_ERASEBKGND)) {
    if (Form->FormStyle() != vcl::fsMDIForm) PaintControlsOnDC(dc, Form, vcl::TPoint(), true);
    if (SkinData->CtrlSkinState & kStatePlainBg) window_image_.PaintClient(dc, false);
  }
  if (Form->FormStyle() == vcl::fsMDIForm && Form->ClientHandle())
    SendMessageW(Form->ClientHandle(), WM_PRINT, Message.WParam, Message.LParam);
  SendToProvider(WM_ERASEBKGND, Message.WParam, static_cast<LPARAM>(Message.WParam));
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
  SendToAdapter(repaint);
}

void TsSkinProvider::RepaintMdiArea(bool Maximized) {
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

bool TsSkinProvider::ExtBordersWanted() const {
  const TsSkinManager* manager = SkinManager();
  if (!manager || !manager->ExtendedBorders() || !AllowExtBorders()) return false;
  return !manager->Options()->NativeBordersMaximized() || !Form->HandleAllocated() || !IsZoomed(Form->Handle());
}

int TsSkinProvider::MaximizedCaptionExtra(bool Maximized) const {
  return std::max(0, TitleHeightByState(Maximized) - (SysCaptionHeightOfForm() + 4));
}

}  // namespace skin_layered
