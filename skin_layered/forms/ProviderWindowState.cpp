// A skinned form's activation, showing, moving and sizing: the caption's active state painted
// once without the system's frame showing through, the window image marked stale when the size
// or state it was painted for changed, the region and the border window following the form,
// the show and hide animations, and the minimise animation of a form sent to the minimised
// place.
#include <algorithm>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
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
  const int x = Provider.OffsetX(), y = Provider.OffsetY();
  auto add = [&](int Index, bool Bottom) {
    if (!skin.IsValidImgIndex(Index)) return;
    const TsMaskData& mask = skin.Images[static_cast<std::size_t>(Index)];
    const int w = MaskImageWidth(mask), h = MaskImageHeight(mask);
    const int top = Bottom ? image->Height() - h : 0;
    pieces.push_back(vcl::Rect(image->Width() - w - x, top - y, image->Width() - x, top + h - y));
  };
  if (Provider.GripVisible()) {
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

void TsSkinProvider::WMActivate(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  UpdateGluedForms();
  if (!Form->HandleAllocated()) return;
  if (!scroll_bars_.Adapter()) UpdateScrollAdapter();
  if (Form->ControlState().Contains(vcl::csCreating)) return;
  MenuLineCount = -1;
  if (LOWORD(Message.WParam) == WA_INACTIVE) return;
  TsSkinManager* manager = SkinManager();
  if (manager && !Designing(manager)) PrepareMenus();
  if (SystemMenu) SystemMenu->UpdateItems(false);
  if (!HasBorder()) RepaintChildControls(Form);
}

void TsSkinProvider::WMNCActivate(vcl::TMessage& Message) {
  // A restore animation shows the form's picture: the activation waits for its end.
  if (ExtFlags & kExtRestoring) {
    Message.Result = TRUE;
    return;
  }
  if (BeingDestroyed(Form) || !DrawNonClientArea || !Form->HandleAllocated()) return CallOldWndProc(Message);
  const HWND wnd = Form->Handle();
  MakeSystemMenu();
  ExtFlags |= kExtActivating;
  const bool wasActive = FormActive;
  if (!(ExtFlags & kExtBlendMoving)) FormActive = Message.WParam != 0;
  TsSkinManager* manager = SkinManager();
  SkinData->Updating = false;
  const bool shown = Form->Showing() && IsWindowVisible(wnd);
  if (shown && wasActive != FormActive && ActiveStateShows(SkinData, manager)) SkinData->BGChanged = true;

  // The system paints its own caption for the new state: the provider's picture covers it
  // meanwhile, and with composition the window does not redraw at all.
  const bool aero = AeroIsEnabled();
  bool redrawOff = false;
  if (shown) {
    if (aero && !ExtBorderForm() && !AeroAtStart) {
      SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
      redrawOff = true;
    }
    if (!ExtBorderForm() || HasMenuLine()) ShowAnimForm();
    if (ExtBorderForm() && !aero && !(ExtFlags & kExtBlendMoving)) UpdateFormRgn(false);
  }
  // The system would paint its own caption and menu bar straight onto the window for the new
  // state: those are the skin's, painted below, and a paint of ours that has to wait (an
  // update, a hidden menu window) must not leave the system's frame showing meanwhile.
  // LParam -1 keeps the default handling from repainting the frame.
  const LPARAM lparam = Message.LParam;
  Message.LParam = -1;
  const TWatch alive = Watch();
  CallOldWndProc(Message);
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
    HideAnimForm();
  }
  ExtFlags &= ~kExtActivating;
  if (!painted && WndWidth(wnd) == Form->Width() && WndHeight(wnd) == Form->Height()) SendToProvider(WM_NCPAINT, 1, 0);
  if (TqvBorderForm* border = ExtBorderForm())
    if (!IsZoomed(wnd) || !manager || !manager->Options()->NativeBordersMaximized())
      border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::WMActivateApp(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (vcl::Application) vcl::Application->CancelHint();
  TsSkinManager* manager = SkinManager();
  if (!Message.WParam || !manager || !manager->AnimEffects()->Minimizing()->Active() || (ExtFlags & kExtMinimizing) ||
      !Form->HandleAllocated())
    return;
  const HWND wnd = Form->Handle();
  if (TqvBorderForm* border = ExtBorderForm()) {
    border->UpdateExBordersPos(true, 255);
  } else if (vcl::Application && Form == vcl::Application->MainForm() && Form->WindowState() == vcl::wsMinimized &&
             !IsIconic(wnd)) {
    // The main form came back without its restore: its state and frame follow the window.
    Form->SetWindowState(vcl::wsMinimized);
    SetWindowRgn(wnd, nullptr, FALSE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
}

void TsSkinProvider::WMChildActivate(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  RebuildMainMenuBar();
}

void TsSkinProvider::WMMDIActivate(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  TsSkinProvider* frame = MDIProvider();
  if (Form->FormStyle() != vcl::fsMDIChild || !frame || frame == this || BeingDestroyed(frame) || !frame->Form ||
      BeingDestroyed(frame->Form))
    return;
  if (Form->HandleAllocated() && IsZoomed(Form->Handle())) {
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

void TsSkinProvider::CMShowingChanged(vcl::TMessage& Message) {
  const bool aero = AeroIsEnabled();
  if (!DrawNonClientArea || !DrawClientArea()) {
    CallOldWndProc(Message);
    if (!Form->HandleAllocated()) return;
    if (aero && Form->Showing()) SendMessageW(Form->Handle(), WM_SETREDRAW, TRUE, 0);
    SkinData->Updating = false;
    if (aero) RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    return;
  }
  TsSkinManager* manager = SkinManager();
  if (!Form->Showing()) {
    const TqvFormHide* hide = manager ? manager->AnimEffects()->FormHide() : nullptr;
    if (ExtBorderForm() && (!hide || !hide->Active() || hide->Time() < kAnimationFrameTime || !AllowAnimation()))
      InitExBorders(false);
    return CallOldWndProc(Message);
  }
  if (Form->FormStyle() == vcl::fsMDIChild) {
    AddAllAdapters();
    return CallOldWndProc(Message);
  }

  if (Form->HandleAllocated()) {
    DisableDwmTransitions(Form->Handle(), DrawNonClientArea);
    SkinEditorLink().Link(Form->Handle());
  }
  AddAllAdapters();
  ExtFlags &= ~kExtHiding;
  const TqvFormShow* show = manager ? manager->AnimEffects()->FormShow() : nullptr;
  const bool previewForm = Form->HandleAllocated() && Form->Handle() == SkinEditorLink().PreviewForm();
  const bool animate = AllowAnimation() && !Form->Parent() && show && show->Active() && !previewForm &&
                       Form->HandleAllocated() && SkinData->Skinned();
  std::vector<HWND> children;
  if (animate) {
    SkinData->Updating = true;
    SetLayeredAlpha(Form->Handle(), true, 0);
    children = HideChildWindows(Form->Handle());
  }
  if (manager) InitExBorders(manager->ExtendedBorders());
  const HWND wnd = Form->HandleAllocated() ? Form->Handle() : nullptr;
  const TWatch alive = Watch();
  CallOldWndProc(Message);
  if (!alive) return;
  UpdateScrollAdapter();
  if (!animate) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return;
  }
  ShowChildWindows(children);
  if (!SkinData->Skinned()) {
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    SkinData->Updating = false;
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return;
  }
  SkinData->Updating = false;
  SkinData->BGChanged = true;
  const std::uint8_t alpha =
      Form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(Form->AlphaBlendValue(), 0, 255)) : 255;
  AnimFormShow(this, show->Time(), alpha, show->Mode());
}

void TsSkinProvider::CMVisibleChanged(vcl::TMessage& Message) {
  if (AutoCreated && Message.WParam) {
    AutoCreated = false;
    PrepareForm();
    if (TsSkinManager* manager = SkinManager()) InitExBorders(manager->ExtendedBorders());
  }
  CallOldWndProc(Message);
  if (Message.WParam) {
    if (Form->Parent()) RepaintChildControls(Form);
    return;
  }
  if (!BeingDestroyed(Form) && SkinData->CacheBmp()) SkinData->CacheBmp()->SetSize(0, 0);
  KillAnimations();
}

void TsSkinProvider::WMShowWindow(vcl::TMessage& Message) {
  const bool mdiChild = Form->FormStyle() == vcl::fsMDIChild;
  if (!mdiChild && Message.WParam) {
    ExtFlags &= kExtRestoring;
    if (AeroIsEnabled() && !(ExtFlags & kExtAnimations) && !AnimationActive() && Form->HandleAllocated() &&
        !(GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED))
      RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
  }
  CallOldWndProc(Message);
  if (!Message.WParam) return;
  if (mdiChild && Form->HandleAllocated() && IsZoomed(Form->Handle())) {
    if (TsSkinProvider* frame = MDIProvider(); frame && frame != this) frame->FullRedraw();
  } else if (Form->Parent() && !mdiChild) {
    SkinData->CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
    SkinData->BGChanged = true;
  }
}

// Unskinned, before CM_VISIBLECHANGED reaches the form: a form hidden at the minimised place
// runs its minimise animation.
void TsSkinProvider::PrepareHideAnimation(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  if (!DrawNonClientArea || Terminating() || Message.WParam || !manager || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  if (IsIconic(wnd) && !IsZoomed(wnd) && r.left == kMinimizedPosition) StartMinimizeAnimation();
}

// Unskinned, after WM_WINDOWPOSCHANGED: a form hidden while it went (say, freed by its close)
// fades out, and the program waits for it a bounded time.
void TsSkinProvider::RunHideAnimation(vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = SkinManager();
  if (!pos || !(pos->flags & SWP_HIDEWINDOW) || !manager || !AllowAnimation() || animator_.Busy || !DrawNonClientArea ||
      !manager->Active() || !Form->HandleAllocated() || IsIconic(Form->Handle()) || !SkinData->CacheBmp())
    return;
  const TqvFormHide* hide = manager->AnimEffects()->FormHide();
  if (!hide->Active() || HideAnimationForm()) return;
  AnimFormHide(this);
  ProcessMessagesUntil([] { return HideAnimationForm() == nullptr; }, hide->Time() + kAnimationMargin);
  SetLayeredAlpha(Form->Handle(), true, 0);
}

// ---------------------------------------------------------------------------------------
// Moving and sizing

void TsSkinProvider::WMWindowPosChanging(vcl::TMessage& Message) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = SkinManager();
  if (pos && manager && DrawNonClientArea && Form->HandleAllocated() && SkinData->CacheBmp() &&
      !(pos->flags & SWP_NOMOVE) && pos->x == kMinimizedPosition && pos->y == kMinimizedPosition &&
      Form->FormStyle() != vcl::fsMDIChild && !(ExtFlags & kExtMinimizing)) {
    // Sent to the minimised place without the minimise command: the animation still runs.
    CallOldWndProc(Message);
    StartMinimizeAnimation();
    return;
  }
  // A showing form moved with ScreenSnap snaps to the edges near its new place.
  if (pos && glue_.ScreenSnap && Form->HandleAllocated() && !Loading(Form) && Form->Showing() && !(pos->flags & SWP_NOMOVE) &&
      !IsIconic(Form->Handle()) && !IsZoomed(Form->Handle()) && !(pos->x == 0 && pos->y == 0))
    SnapToForms(pos->x, pos->y);
  if (pos && Form->HandleAllocated() && !Loading(Form) && !IsIconic(Form->Handle()) && !(pos->flags & SWP_NOMOVE) &&
      manager && manager->Options()->NativeBordersMaximized() && !ExtBorderForm() && ExtBordersWanted() &&
      IsWindowVisible(Form->Handle()) && !IsZoomed(Form->Handle()))
    InitExBorders(true);
  CallOldWndProc(Message);
}

void TsSkinProvider::WMWindowPosChanged(vcl::TMessage& Message) {
  const auto* pos = reinterpret_cast<const WINDOWPOS*>(Message.LParam);
  TsSkinManager* manager = SkinManager();
  if (pos && manager && DrawNonClientArea && Form->HandleAllocated()) {
    const HWND wnd = Form->Handle();
    MaxBorderLarge = ExtBorderForm() && IsZoomed(wnd) && TitleHeightByState(true) > SysCaptionHeightOfForm() + 4;
    if ((pos->flags & SWP_HIDEWINDOW) && !animator_.Busy && SkinData->CacheBmp() && !IsIconic(wnd)) {
      const TqvFormHide* hide = manager->AnimEffects()->FormHide();
      if (AllowAnimation() && hide->Active() && !HideAnimationForm() && manager->Active())
        AnimFormHide(this);  // the picture covers the window while it goes
      else
        InitExBorders(false);
    }
  }
  CallOldWndProc(Message);
  TqvBorderForm* border = ExtBorderForm();
  if (!pos || !border || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  if (!IsWindowVisible(wnd) || IsIconic(wnd) || (pos->flags & (SWP_NOREDRAW | SWP_FRAMECHANGED)) ||
      (ExtFlags & kExtBlendMoving))
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

void TsSkinProvider::WMSize(vcl::TMessage& Message) {
  const HWND wnd = Form->HandleAllocated() ? Form->Handle() : nullptr;
  // The pieces at the right-hand edge where they were painted; they are invalidated there and
  // at their new places once the size is taken.
  const bool repaintPieces = wnd && !SkinData->Updating && IsWindowVisible(wnd) && Message.WParam != SIZE_MINIMIZED;
  const std::vector<vcl::TRect> before = repaintPieces ? RightHandPieces(*this) : std::vector<vcl::TRect>();
  const vcl::TSize client{vcl::LParamX(Message.LParam), vcl::LParamY(Message.LParam)};
  window_image_.FreeTitlePictures();
  MenuLineCount = -1;
  if (ExtFlags & kExtBlendMoving) StopBlendOnMoving(nullptr);
  TsSkinManager* manager = SkinManager();
  if (!(ExtFlags & kExtAnimations) && Form->HandleAllocated() && window_image_.ImageSizeChanged()) {
    SkinData->BGChanged = true;
    if (DrawNonClientArea && manager && manager->Options()->NativeBordersMaximized() && IsZoomed(Form->Handle()))
      InitExBorders(false);
    if (TqvBorderForm* border = ExtBorderForm()) {
      border->CreateNewForm();
      SkinData->Updating = true;
      border->UpdateExBordersPos(true, 255);
      SkinData->Updating = false;
    }
    if (DrawNonClientArea) {
      UpdateFormRgn(true);
      SendToProvider(WM_NCPAINT, 1, 0);
    }
  }
  const TWatch alive = Watch();
  CallOldWndProc(Message);
  if (!alive) return;
  if (repaintPieces) {
    const BOOL erase = SkinData->IsCached() ? FALSE : TRUE;
    for (const vcl::TRect& r : before) {
      const RECT native = r;
      InvalidateRect(wnd, &native, erase);
    }
    for (const vcl::TRect& r : RightHandPieces(*this)) {
      const RECT native = r;
      InvalidateRect(wnd, &native, erase);
    }
  }
  // Controls that show the form's background take it again where it depends on the size (a
  // body that is not one plain colour).
  if (Message.WParam != SIZE_MINIMIZED && client != last_client_size_) {
    const bool sizeShows = !(SkinData->CtrlSkinState & kStatePlainBg);
    last_client_size_ = client;
    if (sizeShows) {
      vcl::TMessage deep = SkinCommandMessage(scmBgChangedDeep, 0, 1);
      BroadcastCommand(Form, deep);
    }
  }
}

void TsSkinProvider::WMMove(vcl::TMessage& Message) {
  KillAnimations();
  ClearGlows(false);
  CallOldWndProc(Message);
  // The glued forms follow (while a blended move drags the border window, it moves them).
  if (!(ExtFlags & kExtBlendMoving) || !BorderForm) MoveGluedForms(false);
}

void TsSkinProvider::WMSizing(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::WMExitSizeMove(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  // The border window's windows reload after the move through the border form itself.
  if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

}  // namespace skin_layered
