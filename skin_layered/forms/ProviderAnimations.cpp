// A skinned form's own animations started and stopped by its provider: the minimise and
// restore animation toward the task bar and the blend while the form is dragged. The steps
// themselves are the timers' (FormAnimations.h).
#include <algorithm>
#include <vector>

#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

void SetLayeredStyle(HWND Wnd, bool Layered) {
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  const LONG_PTR wanted = Layered ? ex | WS_EX_LAYERED : ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED);
  if (wanted != ex) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, wanted);
}

void Transparent(HWND Wnd) {
  SetLayeredStyle(Wnd, true);
  SetLayeredWindowAttributes(Wnd, 0, 0, LWA_ALPHA);
}

void FreeForm(vcl::TForm* Form) {
  if (!Form) return;
  if (Form->HandleAllocated()) ShowWindow(Form->Handle(), SW_HIDE);
  vcl::TObject::Free(Form);
}

}  // namespace

vcl::TBitmap* TsSkinProvider::AnimationSnapshot() const {
  const auto* timer = dynamic_cast<const TqvMinTimer*>(AnimTimer);
  return timer && timer->Restoring && timer->Snapshot && timer->Snapshot->Width() > 0 ? timer->Snapshot.get() : nullptr;
}

void TsSkinProvider::FreeAnimTimer() {
  if (AnimTimer) vcl::TObject::Free(std::exchange(AnimTimer, nullptr));
}

bool TsSkinProvider::MinAnimAllowed() {
  return AllowAnimation() && DrawNonClientArea && Form && Form->HandleAllocated();
}

void TsSkinProvider::MinAnimTimer() {
  if (!Form->HandleAllocated()) return;
  if (IsIconic(Form->Handle()))
    StartRestoreAnimation();
  else
    StartMinimizeAnimation();
}

// ---------------------------------------------------------------------------------------
// Minimise and restore

void TsSkinProvider::StartMinimizeAnimation() {
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->AnimEffects()->Minimizing()->Active() || !Form->HandleAllocated()) return;
  KillAnimations();
  if (ExtFlags & kExtMinimizing) return;
  ExtFlags |= kExtMinimizing;
  AnimBusy = true;
  auto* timer = dynamic_cast<TqvMinTimer*>(AnimTimer);
  if (AnimTimer && !timer) FreeAnimTimer();
  if (!timer) {
    timer = new TqvMinTimer(this, this);
    AnimTimer = timer;
  } else if (!(ExtFlags & kExtRestoring)) {
    timer->PrepareImage();
  }
  ExtFlags &= ~kExtRestoring;
  const HWND wnd = Form->Handle();
  if (timer->Alpha == timer->MaxAlpha) {
    if (TqvBorderForm* border = ExtBorderForm()) {
      border->UpdateExBordersPos(true, 255);
      border->Busy = true;
      if (const HWND borderWnd = border->BorderWindow()) {
        SetWindowPos(borderWnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        SetWindowRgn(borderWnd, nullptr, FALSE);
      }
    } else if (auto snapshot = FormSnapshot(false)) {
      timer->Snapshot = std::move(snapshot);
    }
  }
  // Only the animation is seen.
  Transparent(wnd);
  timer->Step();
  timer->SetEnabled(true);
  // The task bar shows the form's picture while it is minimised.
  SetTaskbarPreview(TaskbarButtonWnd(), true);
}

HWND TsSkinProvider::TaskbarButtonWnd() const {
  if (!Form->HandleAllocated()) return nullptr;
  const HWND wnd = Form->Handle();
  const bool own = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) ||
                   (vcl::Application && vcl::Application->MainFormOnTaskBar() && vcl::Application->MainForm() == Form);
  return own || !vcl::Application ? wnd : vcl::Application->Handle();
}

bool TsSkinProvider::StartRestoreAnimation() {
  auto* timer = dynamic_cast<TqvMinTimer*>(AnimTimer);
  TsSkinManager* manager = SkinManager();
  if (!timer || !manager || !manager->AnimEffects()->Minimizing()->Active() || (ExtFlags & kExtRestoring) ||
      !Form->HandleAllocated())
    return true;
  ExtFlags = (ExtFlags & ~kExtMinimizing) | kExtRestoring;
  AnimBusy = true;
  const HWND wnd = Form->Handle();
  Transparent(wnd);
  if (TqvBorderForm* border = ExtBorderForm()) {
    border->Busy = true;
    border->CreateNewForm();
    if (const HWND borderWnd = border->BorderWindow())
      SetWindowPos(borderWnd, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    timer->SetEnabled(true);
    SkinData->BGChanged = true;
    PaintAll();
  } else {
    timer->SetEnabled(true);
  }
  SetTaskbarPreview(TaskbarButtonWnd(), false);
  return true;
}

// ---------------------------------------------------------------------------------------
// Blend on moving

void TsSkinProvider::StartBlendOnMoving(bool RunMoveLoop) {
  if ((ExtFlags & kExtBlendMoving) || !Form->HandleAllocated()) return;
  UpdateGluedForms();
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->AnimEffects()->BlendOnMoving()->Active()) return;
  ExtFlags |= kExtBlendMoving;
  FreeAnimTimer();
  auto* timer = new TqvMoveTimer(this, this);
  AnimTimer = timer;
  const HWND wnd = Form->Handle();
  if (TqvBorderForm* border = ExtBorderForm(); border && border->BorderHandleNeeded()) {
    // The border window shows the whole form and is the one dragged; the form follows at the
    // end.
    border->UpdateExBordersPos(true, 255);
    if (Form->AlphaBlend()) SetLayeredWindowAttributes(wnd, 0, 0, LWA_ALPHA);
    border->Busy = true;
    const HWND borderWnd = border->BorderWindow();
    UpdateLayeredWnd(borderWnd, SkinData->CacheBmp(), 255);
    SetWindowPos(borderWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOACTIVATE |
                     SWP_NOZORDER | SWP_SHOWWINDOW);
    timer->SetEnabled(true);
    if (!RunMoveLoop) return;
    const TWatch alive = Watch();
    SendMessageW(borderWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    if (!alive) return;
    if (TqvBorderForm* after = ExtBorderForm()) after->TopClipped = false;
    StopBlendOnMoving(nullptr);
    return;
  } else {
    if (!Form->AlphaBlend()) {
      // A snapshot covers the form while it becomes layered.
      vcl::TForm* cover = CreateSnapshotForm(wnd);
      if (!IsZoomed(wnd)) SetWindowRgn(wnd, MakeRgn(0, 0), FALSE);
      SetLayeredStyle(wnd, true);
      SetLayeredWindowAttributes(wnd, 0, 255, LWA_ALPHA);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      FreeForm(cover);
    }
    timer->SetEnabled(true);
  }
  if (!RunMoveLoop) return;
  const TWatch alive = Watch();
  Form->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  // The move loop may have closed the form.
  if (alive) StopBlendOnMoving(nullptr);
}

void TsSkinProvider::StopBlendOnMoving(vcl::TForm* SnapshotForm) {
  if (!Form->HandleAllocated()) {
    FreeForm(SnapshotForm);
    return;
  }
  const HWND wnd = Form->Handle();
  if (auto* timer = dynamic_cast<TqvMoveTimer*>(AnimTimer)) timer->SetEnabled(false);
  TqvBorderForm* border = ExtBorderForm();
  if (Form->AlphaBlend()) {
    SetLayeredWindowAttributes(wnd, 0, static_cast<BYTE>(std::clamp(Form->AlphaBlendValue(), 0, 255)), LWA_ALPHA);
    FreeForm(SnapshotForm);
  } else if (!border) {
    vcl::TForm* cover = SnapshotForm ? SnapshotForm : CreateSnapshotForm(wnd);
    SetLayeredStyle(wnd, false);
    if (!IsZoomed(wnd)) UpdateFormRgn(false);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    FreeForm(cover);
  } else {
    SetLayeredStyle(wnd, false);
    FreeForm(SnapshotForm);
  }
  if (border && border->BorderWindow()) {
    // The form goes where the border window was dragged.
    const HWND borderWnd = border->BorderWindow();
    UpdateLayeredWnd(borderWnd, SkinData->CacheBmp(), 255);
    RECT r{};
    GetWindowRect(borderWnd, &r);
    POINT at{r.left + border->ShadowOffsetX(), r.top + border->ShadowOffsetY()};
    if (HWND parent = GetParent(wnd); parent && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD))
      ScreenToClient(parent, &at);
    SetWindowPos(wnd, nullptr, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  }
  ExtFlags &= ~kExtBlendMoving;
  if (border) {
    border->Busy = false;
    SkinData->BGChanged = true;
    border->UpdateExBordersPos(true, 255);
  }
  for (const TqvGluedRecord glued : std::vector<TqvGluedRecord>(GluedList()))
    if (glued.Master == Form && glued.Glued && glued.Glued->HandleAllocated())
      SendMessageW(glued.Glued->Handle(), kSkinCmdMessage, SkinCommandWParam(scmSetBlend), 255);
  if (auto* timer = dynamic_cast<TqvMoveTimer*>(AnimTimer)) timer->Alpha = 255;
  FreeAnimTimer();
}

}  // namespace skin_layered
