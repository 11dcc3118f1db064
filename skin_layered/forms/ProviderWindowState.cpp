// A skinned form's activation, showing, moving and sizing: the caption's active state painted
// once without the system's frame showing through, the window image marked stale when the size
// or state it was painted for changed, the region and the border window following the form,
// the show and hide animations, and the minimise animation of a form sent to the minimised
// place.
#include <algorithm>
#include <vector>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/MDIForm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {
namespace {

constexpr int kMinimizedPosition = -32000;
// A hide animation is waited for at most its time and this margin.
constexpr DWORD kAnimationMargin = 500;

bool BeingDestroyed(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }
bool Loading(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csLoading); }
bool Designing(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDesigning); }
bool Terminating() { return vcl::Application && vcl::Application->Terminated(); }

// The section (or its frame image) looks different when the form is active.
bool ActiveStateShows(TsScrollWndData* Data, const TsSkinManager* Manager) {
  const TsGeneralData* section = Data->Section();
  if (!section) return true;
  if (section->States > 1) return true;
  return Manager && Manager->IsValidImgIndex(Data->BorderIndex) &&
         Manager->Skin().Images[static_cast<std::size_t>(Data->BorderIndex)].ImageCount >= 2;
}

// The visible child windows of a form, hidden for a show animation and shown again after it.
std::vector<HWND> HideChildWindows(HWND Wnd) {
  std::vector<HWND> hidden;
  for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (IsWindowVisible(child)) hidden.push_back(child);
  for (HWND child : hidden) ShowWindow(child, SW_HIDE);
  return hidden;
}
void ShowChildWindows(const std::vector<HWND>& Children) {
  for (HWND child : Children)
    if (IsWindow(child)) ShowWindow(child, SW_SHOWNA);
}

// The client rectangles of the pictures at the image's right edge (the grip, the section's
// right-hand corner images): they move with the width and height.
std::vector<vcl::TRect> RightHandPieces(TsSkinProvider& Provider) {
  std::vector<vcl::TRect> pieces;
  TsSkinManager* manager = Provider.SkinManager();
  vcl::TBitmap* image = Provider.SkinData ? Provider.SkinData->CacheBmp() : nullptr;
  if (!manager || !image || image->Width() == 0) return pieces;
  const TsLoadedSkin& skin = manager->Skin();
  const int x = Provider.WindowImage().OffsetX(), y = Provider.WindowImage().OffsetY();
  auto add = [&](int Index, bool Bottom) {
    if (!skin.IsValidImgIndex(Index)) return;
    const TsMaskData& mask = skin.Images[static_cast<std::size_t>(Index)];
    const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
    const int top = Bottom ? image->Height() - h : 0;
    pieces.push_back(vcl::Rect(image->Width() - w - x, top - y, image->Width() - x, top + h - y));
  };
  if (Provider.Measures().GripVisible()) {
    const int grip = skin.ConstData.GripImage;
    if (skin.IsValidImgIndex(grip)) {
      const TsMaskData& mask = skin.Images[static_cast<std::size_t>(grip)];
      const vcl::TPoint at = Provider.WindowImage().GripPos(grip);
      pieces.push_back(vcl::Rect(at.X - x, at.Y - y, at.X - x + MaskImageWidth(mask), at.Y - y + MaskImageHeight(mask)));
    }
  }
  if (const TsGeneralData* section = Provider.SkinData->Section()) {
    add(section->ImgTR, false);
    add(section->ImgBR, true);
  }
  return pieces;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Activation

void TsSkinProvider::TMessages::WMActivate(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  P.UpdateGluedForms();
  if (!P.Form->HandleAllocated()) return;
  if (!P.scroll_bars_.Adapter()) P.UpdateScrollAdapter();
  if (P.Form->ControlState().Contains(vcl::csCreating)) return;
  P.MenuLineCount = -1;
  if (LOWORD(Message.WParam) == WA_INACTIVE) return;
  // The window taking the activation rises over the windows it owns, not its border window.
  if (TqvBorderForm* border = P.ExtBorderForm()) border->RequestStacking();
  TsSkinManager* manager = P.SkinManager();
  if (manager && !Designing(manager)) P.menus_.PrepareMenus();
  if (P.menus_.SystemMenu()) P.menus_.SystemMenu()->UpdateItems(false);
  if (!P.Measures().HasBorder()) RepaintChildControls(P.Form);
}

void TsSkinProvider::TMessages::WMNCActivate(TsSkinProvider& P, vcl::TMessage& Message) {
  // A restore animation shows the form's picture: the activation waits for its end.
  if (P.ExtFlags & kExtRestoring) {
    Message.Result = TRUE;
    return;
  }
  if (BeingDestroyed(P.Form) || !P.DrawNonClientArea || !P.Form->HandleAllocated()) return P.CallOldWndProc(Message);
  const HWND wnd = P.Form->Handle();
  P.Menus().MakeSystemMenu();
  P.ExtFlags |= kExtActivating;
  const bool wasActive = P.FormActive;
  if (!(P.ExtFlags & kExtBlendMoving)) P.FormActive = Message.WParam != 0;
  TsSkinManager* manager = P.SkinManager();
  P.SkinData->Updating = false;
  const bool shown = P.Form->Showing() && IsWindowVisible(wnd);
  if (shown && wasActive != P.FormActive && ActiveStateShows(P.SkinData, manager)) P.SkinData->BGChanged = true;

  // The system paints its own caption for the new state: the provider's picture covers it
  // meanwhile, and with composition the window does not redraw at all.
  const bool aero = AeroIsEnabled();
  bool redrawOff = false;
  if (shown) {
    if (aero && !P.ExtBorderForm() && !P.AeroAtStart) {
      SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
      redrawOff = true;
    }
    if (!P.ExtBorderForm() || P.Measures().HasMenuLine()) P.ShowAnimForm();
    if (P.ExtBorderForm() && !aero && !(P.ExtFlags & kExtBlendMoving)) P.Region().UpdateFormRgn(false);
  }
  // The system would paint its own caption and menu bar straight onto the window for the new
  // state: those are the skin's, painted below, and a paint of ours that has to wait (an
  // update, a hidden menu window) must not leave the system's frame showing meanwhile.
  // LParam -1 keeps the default handling from repainting the frame.
  const LPARAM lparam = Message.LParam;
  Message.LParam = -1;
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  Message.LParam = lparam;
  if (!alive) return;
  bool painted = false;
  if (shown) {
    if (redrawOff) {
      SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW);
    }
    // The frame once in the new state.
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE | RDW_UPDATENOW | RDW_FRAME);
    painted = true;
    P.HideAnimForm();
  }
  P.ExtFlags &= ~kExtActivating;
  if (!painted && WndWidth(wnd) == P.Form->Width() && WndHeight(wnd) == P.Form->Height())
    P.SendToProvider(WM_NCPAINT, 1, 0);
  if (TqvBorderForm* border = P.ExtBorderForm())
    if (!IsZoomed(wnd) || !manager || !manager->Options()->NativeBordersMaximized())
      border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::TMessages::WMActivateApp(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (vcl::Application) vcl::Application->CancelHint();
  TsSkinManager* manager = P.SkinManager();
  if (!Message.WParam || !manager || !manager->AnimEffects()->Minimizing()->Active() || (P.ExtFlags & kExtMinimizing) ||
      !P.Form->HandleAllocated())
    return;
  const HWND wnd = P.Form->Handle();
  if (TqvBorderForm* border = P.ExtBorderForm()) {
    border->UpdateExBordersPos(true, 255);
  } else if (vcl::Application && P.Form == vcl::Application->MainForm() && P.Form->WindowState() == vcl::wsMinimized &&
             !IsIconic(wnd)) {
    // The main form came back without its restore: its state and frame follow the window.
    P.Form->SetWindowState(vcl::wsMinimized);
    SetWindowRgn(wnd, nullptr, FALSE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
}

void TsSkinProvider::TMessages::WMChildActivate(TsSkinProvider& P, vcl::TMessage& Message) {
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive) return;
  P.menus_.RebuildMainMenuBar();
  // A maximised document activated, moved or sized: the frame's menu line, which shows its
  // icon and buttons, is painted again with the frame's client.
  TsSkinProvider* frame = MDIProvider();
  vcl::TCustomForm* child = frame && frame->Form && frame->Form->FormStyle() == vcl::fsMDIForm
                                ? frame->Form->ActiveMDIChild()
                                : nullptr;
  if (child && child->HandleAllocated() && IsZoomed(child->Handle()))
    if (TsMDIForm* mdi = frame->adapters_.MDIForm()) mdi->UpdateClient();
}

void TsSkinProvider::TMessages::WMMDIActivate(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  TsSkinProvider* frame = MDIProvider();
  if (P.Form->FormStyle() != vcl::fsMDIChild || !frame || frame == &P || BeingDestroyed(frame) || !frame->Form ||
      BeingDestroyed(frame->Form))
    return;
  if (P.Form->HandleAllocated() && IsZoomed(P.Form->Handle())) {
    frame->SkinData->BGChanged = true;
    frame->SendToProvider(WM_NCPAINT, 1, 0);
    RepaintMdiArea(true);
  } else {
    frame->window_image_.FirstPaint = true;
    frame->SkinData->BGChanged = true;
    frame->MenuLineCount = -1;
    frame->SendToProvider(WM_NCPAINT, 1, 0);
  }
}

// ---------------------------------------------------------------------------------------
// Showing and hiding

void TsSkinProvider::TMessages::CMShowingChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  const bool aero = AeroIsEnabled();
  if (!P.DrawNonClientArea || !P.DrawClientArea()) {
    P.CallOldWndProc(Message);
    if (!P.Form->HandleAllocated()) return;
    if (aero && P.Form->Showing()) SendMessageW(P.Form->Handle(), WM_SETREDRAW, TRUE, 0);
    P.SkinData->Updating = false;
    if (aero) RedrawWindow(P.Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return;
  }
  TsSkinManager* manager = P.SkinManager();
  if (!P.Form->Showing()) {
    const TqvFormHide* hide = manager ? manager->AnimEffects()->FormHide() : nullptr;
    if (P.ExtBorderForm() && (!hide || !hide->Active() || hide->Time() < kAnimationFrameTime || !P.AllowAnimation()))
      P.InitExBorders(false);
    return P.CallOldWndProc(Message);
  }
  if (P.Form->FormStyle() == vcl::fsMDIChild) {
    P.adapters_.AddAllAdapters();
    return P.CallOldWndProc(Message);
  }

  if (P.Form->HandleAllocated()) {
    DisableDwmTransitions(P.Form->Handle(), P.DrawNonClientArea);
    SkinEditorLink().Link(P.Form->Handle());
  }
  P.adapters_.AddAllAdapters();
  P.ExtFlags &= ~kExtHiding;
  const TqvFormShow* show = manager ? manager->AnimEffects()->FormShow() : nullptr;
  const bool previewForm = P.Form->HandleAllocated() && P.Form->Handle() == SkinEditorLink().PreviewForm();
  const bool animate = P.AllowAnimation() && !P.Form->Parent() && show && show->Active() && !previewForm &&
                       P.Form->HandleAllocated() && P.SkinData->Skinned();
  std::vector<HWND> children;
  if (animate) {
    P.SkinData->Updating = true;
    SetLayeredAlpha(P.Form->Handle(), true, 0);
    children = HideChildWindows(P.Form->Handle());
  }
  if (manager) P.InitExBorders(manager->ExtendedBorders());
  const HWND wnd = P.Form->HandleAllocated() ? P.Form->Handle() : nullptr;
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive) return;
  P.UpdateScrollAdapter();
  if (!animate) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return;
  }
  ShowChildWindows(children);
  if (!P.SkinData->Skinned()) {
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    P.SkinData->Updating = false;
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return;
  }
  P.SkinData->Updating = false;
  P.SkinData->BGChanged = true;
  const std::uint8_t alpha =
      P.Form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(P.Form->AlphaBlendValue(), 0, 255)) : 255;
  AnimFormShow(&P, show->Time(), alpha, show->Mode());
}

void TsSkinProvider::TMessages::CMVisibleChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  if (P.AutoCreated && Message.WParam) {
    P.AutoCreated = false;
    P.PrepareForm();
    if (TsSkinManager* manager = P.SkinManager()) P.InitExBorders(manager->ExtendedBorders());
  }
  P.CallOldWndProc(Message);
  if (Message.WParam) {
    if (P.Form->Parent()) RepaintChildControls(P.Form);
    return;
  }
  if (!BeingDestroyed(P.Form) && P.SkinData->CacheBmp()) P.SkinData->CacheBmp()->SetSize(0, 0);
  P.KillAnimations();
}

void TsSkinProvider::TMessages::WMShowWindow(TsSkinProvider& P, vcl::TMessage& Message) {
  const bool mdiChild = P.Form->FormStyle() == vcl::fsMDIChild;
  const HWND wnd = P.Form->HandleAllocated() ? P.Form->Handle() : nullptr;
  if (!mdiChild) {
    // The main form shown again with its owner while the minimise effect is on: the form's
    // animations hold their state, the system's show goes on alone.
    if (Message.LParam == SW_PARENTOPENING && vcl::Application && vcl::Application->MainForm() == P.Form)
      if (const TsSkinManager* manager = P.SkinManager(); manager && manager->AnimEffects()->Minimizing()->Active())
        return P.CallOldWndProc(Message);
    if (Message.WParam) {
      P.ExtFlags &= kExtRestoring;
      if (AeroIsEnabled() && !(P.ExtFlags & kExtAnimations) && !AnimationActive() && wnd &&
          !(GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LAYERED))
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    if (Message.LParam == SW_PARENTCLOSING && wnd)
      P.ShowState = IsIconic(wnd)   ? TqvShowState::Minimized
                    : IsZoomed(wnd) ? TqvShowState::Maximized
                                    : TqvShowState::Normal;
  }
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive || !Message.WParam) return;
  if (mdiChild && P.Form->HandleAllocated() && IsZoomed(P.Form->Handle())) {
    if (TsSkinProvider* frame = MDIProvider(); frame && frame != &P) frame->FullRedraw();
  } else if (P.Form->FormStyle() == vcl::fsMDIForm) {
    SkinMDIChildren(P);
  } else if (P.Form->Parent() && !mdiChild) {
    P.SkinData->CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
    P.SkinData->BGChanged = true;
  }
}

// The frame shown: its documents left unskinned (made while the rules skinned no forms) take
// the skin as a document made now would.
void TsSkinProvider::TMessages::SkinMDIChildren(TsSkinProvider& P) {
  const HWND client = P.Form->ClientHandle();
  if (!client) return;
  // Collected first: skinning one may make windows.
  std::vector<HWND> children;
  for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  for (HWND child : children)
    if (IsWindow(child) && SendCommandToWnd(child, scmIsSkinned, 0) != 1) AdapterServices().SkinWindow(child);
}

// Unskinned, before CM_VISIBLECHANGED reaches the form: a form hidden at the minimised place
// runs its minimise animation.
void TsSkinProvider::TMessages::PrepareHideAnimation(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (!P.DrawNonClientArea || Terminating() || Message.WParam || !manager || !P.Form->HandleAllocated()) return;
  const HWND wnd = P.Form->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  if (IsIconic(wnd) && !IsZoomed(wnd) && r.left == kMinimizedPosition) P.Animator().StartMinimize();
}

// Unskinned, after WM_WINDOWPOSCHANGED: a form hidden while it went (say, freed by its close)
// fades out, and the program waits for it a bounded time.
void TsSkinProvider::TMessages::RunHideAnimation(TsSkinProvider& P, vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = P.SkinManager();
  if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !manager || !P.AllowAnimation() || P.animator_.Busy ||
      !P.DrawNonClientArea || !manager->Active() || !P.Form->HandleAllocated() || IsIconic(P.Form->Handle()) ||
      !P.SkinData->CacheBmp())
    return;
  const TqvFormHide* hide = manager->AnimEffects()->FormHide();
  if (!hide->Active() || HideAnimationForm()) return;
  AnimFormHide(&P);
  ProcessMessagesUntil([] { return HideAnimationForm() == nullptr; }, hide->Time() + kAnimationMargin);
  SetLayeredAlpha(P.Form->Handle(), true, 0);
}

// ---------------------------------------------------------------------------------------
// Moving and sizing

void TsSkinProvider::TMessages::WMWindowPosChanging(TsSkinProvider& P, vcl::TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = P.SkinManager();
  if (pos && manager && P.DrawNonClientArea && P.Form->HandleAllocated() && P.SkinData->CacheBmp() &&
      !(pos->flags & SWP_NOMOVE) && pos->x == kMinimizedPosition && pos->y == kMinimizedPosition &&
      P.Form->FormStyle() != vcl::fsMDIChild && !(P.ExtFlags & kExtMinimizing)) {
    // Sent to the minimised place without the minimise command: the animation still runs.
    P.CallOldWndProc(Message);
    P.Animator().StartMinimize();
    return;
  }
  // A showing form moved with ScreenSnap snaps to the edges near its new place.
  if (pos && P.glue_.ScreenSnap && P.Form->HandleAllocated() && !Loading(P.Form) && P.Form->Showing() &&
      !(pos->flags & SWP_NOMOVE) && !IsIconic(P.Form->Handle()) && !IsZoomed(P.Form->Handle()) &&
      !(pos->x == 0 && pos->y == 0))
    P.SnapToForms(pos->x, pos->y);
  if (pos && P.Form->HandleAllocated() && !Loading(P.Form) && !IsIconic(P.Form->Handle()) &&
      !(pos->flags & SWP_NOMOVE) && manager && manager->Options()->NativeBordersMaximized() && !P.ExtBorderForm() &&
      ExtBordersWanted(P) && IsWindowVisible(P.Form->Handle()) && !IsZoomed(P.Form->Handle()))
    P.InitExBorders(true);
  // Made smaller by a change that moves and sizes it (the user's frame, the program): the border
  // window's client hole takes the new size before the form does, so the border window covers
  // at once what the form is about to give up.
  if (pos && P.Form->HandleAllocated() && !Loading(P.Form) && pos->cx > 0 && pos->cy > 0 &&
      (pos->flags & SWP_NOACTIVATE) && !(pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) && !(P.ExtFlags & kExtMinimizing))
    PresizeBorderWindow(P, *pos);
  // A form a double click on its frame stretched over the work area takes its height (or width)
  // from before back at its next move or size change, as a drag of its caption moves it.
  constexpr std::uint32_t kStretched = kBorderStretchedHeight | kBorderStretchedWidth;
  if (pos && (P.ExtFlags & kStretched) && P.Form->HandleAllocated() && !Loading(P.Form) &&
      !IsIconic(P.Form->Handle()) && !IsZoomed(P.Form->Handle()) &&
      (pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) {
    if (pos->flags & SWP_NOSIZE) {
      pos->cx = WndWidth(P.Form->Handle());
      pos->cy = WndHeight(P.Form->Handle());
      pos->flags &= ~static_cast<UINT>(SWP_NOSIZE);
    }
    if (P.ExtFlags & kBorderStretchedHeight) pos->cy = P.StretchSaved.Height();
    if (P.ExtFlags & kBorderStretchedWidth) pos->cx = P.StretchSaved.Width();
    P.ExtFlags &= ~kStretched;
    // The size the form had before: answered here, asked of nothing further.
    Message.Result = 0;
    return;
  }
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::PresizeBorderWindow(TsSkinProvider& P, const WINDOWPOS& Pos) {
  TqvBorderForm* border = P.ExtBorderForm();
  const HWND borderWnd = border ? border->BorderWindow() : nullptr;
  const HWND wnd = P.Form->Handle();
  if (!borderWnd || (Pos.cx >= WndWidth(wnd) && Pos.cy >= WndHeight(wnd))) return;
  // The form's own bars lie inside the hole and move with it on their own.
  const TqvShownScrollBars bars = P.scroll_bars_.Shown();
  if (bars.Horz || bars.Vert) return;
  if (IsIconic(wnd)) {
    P.SkinData->BGChanged = true;
    border->UpdateExBordersPos(false, 255);
    return;
  }
  P.ExtFlags |= kExtBorderSizing;
  SetWindowRgn(borderWnd, border->BorderRgn(Pos.cx, Pos.cy), FALSE);
  SetWindowPos(borderWnd, wnd, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  P.ExtFlags &= ~kExtBorderSizing;
}

void TsSkinProvider::TMessages::WMWindowPosChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = P.SkinManager();
  if (pos && manager && P.DrawNonClientArea && P.Form->HandleAllocated()) {
    const HWND wnd = P.Form->Handle();
    const TqvFormMeasures& measures = P.Measures();
    P.MaxBorderLarge = P.ExtBorderForm() && IsZoomed(wnd) &&
                       measures.TitleHeightByState(true) > measures.SysCaptionHeightOfForm() + 4;
    if ((pos->flags & SWP_HIDEWINDOW) && !P.animator_.Busy && P.SkinData->CacheBmp() && !IsIconic(wnd)) {
      const TqvFormHide* hide = manager->AnimEffects()->FormHide();
      if (P.AllowAnimation() && hide->Active() && !HideAnimationForm() && manager->Active())
        AnimFormHide(&P);  // the picture covers the window while it goes
      else
        P.InitExBorders(false);
    }
  }
  P.CallOldWndProc(Message);
  TqvBorderForm* border = P.ExtBorderForm();
  if (!pos || !border || !P.Form->HandleAllocated()) return;
  const HWND wnd = P.Form->Handle();
  if (!IsWindowVisible(wnd) || IsIconic(wnd) || (pos->flags & (SWP_NOREDRAW | SWP_FRAMECHANGED)) ||
      (P.ExtFlags & kExtBlendMoving))
    return;
  if ((pos->flags & SWP_NOMOVE) && (pos->flags & SWP_NOSIZE)) {
    if (const HWND borderWnd = border->BorderWindow())
      SetWindowPos(borderWnd, wnd, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER |
                       SWP_NOSENDCHANGING);
  } else {
    border->UpdateExBordersPos(true, 255);
  }
}

void TsSkinProvider::TMessages::WMSize(TsSkinProvider& P, vcl::TMessage& Message) {
  const HWND wnd = P.Form->HandleAllocated() ? P.Form->Handle() : nullptr;
  // The pieces at the right-hand edge where they were painted; they are invalidated there and
  // at their new places once the size is taken.
  const bool repaintPieces = wnd && !P.SkinData->Updating && IsWindowVisible(wnd) && Message.WParam != SIZE_MINIMIZED;
  const std::vector<vcl::TRect> before = repaintPieces ? RightHandPieces(*&P) : std::vector<vcl::TRect>();
  const vcl::TSize client{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  P.window_image_.FreeTitlePictures();
  P.MenuLineCount = -1;
  if (P.ExtFlags & kExtBlendMoving) P.Animator().StopBlendOnMoving(nullptr);
  TsSkinManager* manager = P.SkinManager();
  // The minimise took the border form away; back from the minimised state by other means than
  // the restore command (the program restores or maximises the form), it comes back here with
  // the form's region, as the restore command brings it.
  if (!(P.ExtFlags & kExtAnimations) && wnd && Message.WParam != SIZE_MINIMIZED && !P.ExtBorderForm() &&
      IsWindowVisible(wnd) && ExtBordersWanted(P)) {
    P.InitExBorders(true);
    P.Region().UpdateFormRgn(false);
  }
  if (!(P.ExtFlags & kExtAnimations) && P.Form->HandleAllocated() && P.window_image_.ImageSizeChanged()) {
    P.SkinData->BGChanged = true;
    if (P.DrawNonClientArea && manager && manager->Options()->NativeBordersMaximized() && IsZoomed(P.Form->Handle()))
      P.InitExBorders(false);
    if (TqvBorderForm* border = P.ExtBorderForm()) {
      border->CreateNewForm();
      P.SkinData->Updating = true;
      border->UpdateExBordersPos(true, 255);
      P.SkinData->Updating = false;
    }
    if (P.DrawNonClientArea) {
      // The region of the new size at once (its corners where the new size puts them), and
      // the frame painted once: by the region's repaint, else by the provider.
      const int painted = P.window_image_.FramePaints();
      if (!P.ExtBorderForm()) P.Region().UpdateRgnRects();
      P.Region().UpdateFormRgn(true, false);
      if (P.window_image_.FramePaints() == painted)
        P.SendToProvider(WM_NCPAINT, 1, 0);
      else
        P.Region().RgnChanged = false;  // the image the repaint made has this region
    }
  }
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive) return;
  if (repaintPieces) {
    const BOOL erase = P.SkinData->IsCached() ? FALSE : TRUE;
    for (const vcl::TRect& r : before) {
      const RECT native = r;
      InvalidateRect(wnd, &native, erase);
    }
    for (const vcl::TRect& r : RightHandPieces(*&P)) {
      const RECT native = r;
      InvalidateRect(wnd, &native, erase);
    }
  }
  // Controls that show the form's background take it again where it depends on the size (a
  // body that is not one plain colour).
  if (Message.WParam != SIZE_MINIMIZED && client != P.last_client_size_) {
    const bool sizeShows = !(P.SkinData->CtrlSkinState & kStatePlainBg);
    P.last_client_size_ = client;
    if (sizeShows) {
      vcl::TMessage deep = SkinCommandMessage(scmBgChangedDeep, 0, 1);
      BroadcastCommand(P.Form, deep);
      // The body of the new size shows whole, not only where the window grew; children (moved
      // with the size they kept the pixels of their old place) are asked once it is painted
      // whether it changed under them.
      if (wnd) InvalidateRect(wnd, nullptr, P.SkinData->IsCached() ? FALSE : TRUE);
      P.repaint_children_ = true;
    }
  }
}

void TsSkinProvider::TMessages::WMMove(TsSkinProvider& P, vcl::TMessage& Message) {
  P.KillAnimations();
  ClearGlows(false);
  P.CallOldWndProc(Message);
  // The glued forms follow (while a blended move drags the border window, it moves them).
  if (!(P.ExtFlags & kExtBlendMoving) || !P.BorderForm) P.MoveGluedForms(false);
}

void TsSkinProvider::TMessages::WMSizing(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::TMessages::WMExitSizeMove(TsSkinProvider& P, vcl::TMessage& Message) {
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive || !P.ExtBorderForm()) return;
  // After a move or size under extended borders every skinned window of the engine (the
  // registered forms with their controls, the skinned dialogs) finds its skin again, and the
  // border window its picture and place.
  vcl::TMessage reload = SkinCommandMessage(scmReload);
  BroadcastToRegisteredForms(reload);
  if (!alive) return;
  if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

}  // namespace skin_layered
