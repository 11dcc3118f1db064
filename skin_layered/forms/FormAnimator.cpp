// A skinned form's own animations started and stopped (see FormAnimator.h).
#include "skin_layered/forms/FormAnimator.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/LayeredWindows.h"

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

TqvBorderForm* BorderFormOf(TsSkinProviderBase& Provider) { return dynamic_cast<TqvBorderForm*>(Provider.BorderForm); }

}  // namespace

vcl::TBitmap* TqvFormAnimator::Snapshot() const {
  const auto* timer = dynamic_cast<const TqvMinTimer*>(timer_);
  return timer && timer->Restoring && timer->Snapshot && timer->Snapshot->Width() > 0 ? timer->Snapshot.get() : nullptr;
}

void TqvFormAnimator::FreeTimer() {
  if (timer_) vcl::TObject::Free(std::exchange(timer_, nullptr));
}

// ---------------------------------------------------------------------------------------
// Minimise and restore

void TqvFormAnimator::StartMinimize() {
  vcl::TCustomForm* form = provider_.Form;
  TsSkinManager* manager = provider_.SkinData ? provider_.SkinData->GetSkinManager() : nullptr;
  if (!manager || !manager->AnimEffects()->Minimizing()->Active() || !form->HandleAllocated()) return;
  host_.KillTitleAnimations();
  if (flags_ & kExtMinimizing) return;
  flags_ |= kExtMinimizing;
  Busy = true;
  auto* timer = dynamic_cast<TqvMinTimer*>(timer_);
  if (timer_ && !timer) FreeTimer();
  if (!timer) {
    timer = new TqvMinTimer(&provider_, timers_);
    timer_ = timer;
  } else if (!(flags_ & kExtRestoring)) {
    timer->PrepareImage();
  }
  flags_ &= ~kExtRestoring;
  const HWND wnd = form->Handle();
  if (timer->Alpha == timer->MaxAlpha) {
    if (TqvBorderForm* border = BorderFormOf(provider_)) {
      border->UpdateExBordersPos(true, 255);
      border->Busy = true;
      if (const HWND borderWnd = border->BorderWindow()) {
        EnableBlurBehind(borderWnd, false, nullptr);
        SetWindowPos(borderWnd, HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        SetWindowRgn(borderWnd, nullptr, FALSE);
      }
      // The picture that flies is the border window's own: the window image with its shadow
      // and the form's client part just taken from the screen.
      if (vcl::TBitmap* image = provider_.SkinData->CacheBmp(); image && image->Width() > 0) {
        auto snapshot = CreateBmp32(image->Width(), image->Height());
        BitBlt(snapshot->Canvas()->Handle(), 0, 0, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0,
               SRCCOPY);
        timer->Snapshot = std::move(snapshot);
      }
    } else if (auto snapshot = provider_.StartMinAnimation(false)) {
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

HWND TqvFormAnimator::TaskbarButtonWnd() const {
  vcl::TCustomForm* form = provider_.Form;
  if (!form->HandleAllocated()) return nullptr;
  const HWND wnd = form->Handle();
  const bool own = (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) ||
                   (vcl::Application && vcl::Application->MainFormOnTaskBar() && vcl::Application->MainForm() == form);
  return own || !vcl::Application ? wnd : vcl::Application->Handle();
}

bool TqvFormAnimator::StartRestore() {
  vcl::TCustomForm* form = provider_.Form;
  auto* timer = dynamic_cast<TqvMinTimer*>(timer_);
  TsSkinManager* manager = provider_.SkinData ? provider_.SkinData->GetSkinManager() : nullptr;
  if (!timer || !manager || !manager->AnimEffects()->Minimizing()->Active() || (flags_ & kExtRestoring) ||
      !form->HandleAllocated())
    return true;
  flags_ = (flags_ & ~kExtMinimizing) | kExtRestoring;
  Busy = true;
  const HWND wnd = form->Handle();
  Transparent(wnd);
  if (TqvBorderForm* border = BorderFormOf(provider_)) {
    border->Busy = true;
    border->CreateNewForm();
    if (const HWND borderWnd = border->BorderWindow())
      SetWindowPos(borderWnd, HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    timer->SetEnabled(true);
    provider_.SkinData->BGChanged = true;
    provider_.PaintAll();
  } else {
    timer->SetEnabled(true);
  }
  SetTaskbarPreview(TaskbarButtonWnd(), false);
  return true;
}

// ---------------------------------------------------------------------------------------
// Blend on moving

void TqvFormAnimator::StartBlendOnMoving(bool RunMoveLoop) {
  vcl::TCustomForm* form = provider_.Form;
  if ((flags_ & kExtBlendMoving) || !form->HandleAllocated()) return;
  host_.UpdateGluedForms();
  TsSkinManager* manager = provider_.SkinData ? provider_.SkinData->GetSkinManager() : nullptr;
  if (!manager || !manager->AnimEffects()->BlendOnMoving()->Active()) return;
  flags_ |= kExtBlendMoving;
  FreeTimer();
  auto* timer = new TqvMoveTimer(&provider_, timers_);
  timer_ = timer;
  const HWND wnd = form->Handle();
  if (TqvBorderForm* border = BorderFormOf(provider_); border && border->BorderHandleNeeded()) {
    // The border window shows the whole form and is the one dragged; the form follows at the
    // end.
    border->UpdateExBordersPos(true, 255);
    if (form->AlphaBlend()) SetLayeredWindowAttributes(wnd, 0, 0, LWA_ALPHA);
    border->Busy = true;
    const HWND borderWnd = border->BorderWindow();
    UpdateLayeredWnd(borderWnd, provider_.SkinData->CacheBmp(), 255);
    SetWindowPos(borderWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | SWP_NOACTIVATE |
                     SWP_NOZORDER | SWP_SHOWWINDOW);
    timer->SetEnabled(true);
    if (!RunMoveLoop) return;
    if (!host_.Watched([&] { SendMessageW(borderWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); })) return;
    if (TqvBorderForm* after = BorderFormOf(provider_)) after->TopClipped = false;
    StopBlendOnMoving(nullptr);
    return;
  } else {
    if (!form->AlphaBlend()) {
      // A snapshot covers the form while it becomes layered.
      vcl::TForm* cover = CreateSnapshotForm(wnd);
      if (!IsZoomed(wnd)) SetWindowRgn(wnd, provider_.MakeRgn(), FALSE);
      SetLayeredStyle(wnd, true);
      SetLayeredWindowAttributes(wnd, 0, 255, LWA_ALPHA);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      FreeForm(cover);
    }
    timer->SetEnabled(true);
  }
  if (!RunMoveLoop) return;
  // The move loop may have closed the form.
  if (host_.Watched([&] { form->Perform(WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0); })) StopBlendOnMoving(nullptr);
}

void TqvFormAnimator::StopBlendOnMoving(vcl::TForm* SnapshotForm) {
  vcl::TCustomForm* form = provider_.Form;
  if (!form->HandleAllocated()) {
    FreeForm(SnapshotForm);
    return;
  }
  const HWND wnd = form->Handle();
  if (auto* timer = dynamic_cast<TqvMoveTimer*>(timer_)) timer->SetEnabled(false);
  TqvBorderForm* border = BorderFormOf(provider_);
  if (form->AlphaBlend()) {
    SetLayeredWindowAttributes(wnd, 0, static_cast<BYTE>(std::clamp(form->AlphaBlendValue(), 0, 255)), LWA_ALPHA);
    FreeForm(SnapshotForm);
  } else if (!border) {
    vcl::TForm* cover = SnapshotForm ? SnapshotForm : CreateSnapshotForm(wnd);
    SetLayeredStyle(wnd, false);
    if (!IsZoomed(wnd)) host_.UpdateFormRgn(false);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    FreeForm(cover);
  } else {
    SetLayeredStyle(wnd, false);
    FreeForm(SnapshotForm);
  }
  if (border && border->BorderWindow()) {
    // The form goes where the border window was dragged.
    const HWND borderWnd = border->BorderWindow();
    UpdateLayeredWnd(borderWnd, provider_.SkinData->CacheBmp(), 255);
    RECT r{};
    GetWindowRect(borderWnd, &r);
    POINT at{r.left + border->ShadowOffsetX(), r.top + border->ShadowOffsetY()};
    if (HWND parent = GetParent(wnd); parent && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD))
      ScreenToClient(parent, &at);
    SetWindowPos(wnd, nullptr, at.x, at.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  }
  flags_ &= ~kExtBlendMoving;
  if (border) {
    border->Busy = false;
    provider_.SkinData->BGChanged = true;
    border->UpdateExBordersPos(true, 255);
  }
  for (const TqvGluedRecord glued : std::vector<TqvGluedRecord>(GluedList()))
    if (glued.Master == form && glued.Glued && glued.Glued->HandleAllocated())
      SendMessageW(glued.Glued->Handle(), kSkinCmdMessage, SkinCommandWParam(scmSetBlend), 255);
  if (auto* timer = dynamic_cast<TqvMoveTimer*>(timer_)) timer->Alpha = 255;
  FreeTimer();
}

}  // namespace skin_layered
