// A skinned system dialog's extended borders: the border form around the dialog answers for
// it what it answers for a form's provider (the dialog's window, caption, icon, title buttons
// and client part), and the dialog's own measures make room for the shadow in its window
// image.
#include <algorithm>

#include "skin_layered/adapters/DialogWnd.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

class TqvDialogBorderForm : public TqvBorderForm {
 public:
  explicit TqvDialogBorderForm(TqvDialogWnd* Dialog) : dialog_(Dialog) { SkinData = Dialog->SkinData; }

  HWND ParentHandle() const override { return dialog_->CtrlHandle; }
  int CaptionHeight(bool CheckSkin) const override { return dialog_->CaptionHeight(CheckSkin); }
  int MenuHeight() const override { return 0; }
  vcl::TRect IconRect() const override { return dialog_->IconRect; }
  void PaintAll() override { dialog_->PaintAll(); }
  std::uint32_t State() const override { return dialog_->Flags; }
  void SetHotButton(int Code, bool Repaint) override {
    const bool button = Code == kHitMin || Code == kHitMax || Code == kHitClose || Code == kHitHelp;
    dialog_->SetHotButton(button ? Code : 0, Repaint);
  }
  void KillOwnerAnimations() override { dialog_->KillAnimations(); }
  int TitleElementCode(vcl::TPoint P) const override {
    const TqvDialogWnd& d = *dialog_;
    if (!d.HasSysMenu()) return 0;
    for (int code : {kHitClose, kHitMax, kHitMin, kHitHelp}) {
      const TqvDialogButton& b = d.Button(code);
      if (b.Rect.IsEmpty() || !b.Rect.Contains(P)) continue;
      switch (code) {
        case kHitClose: return d.CloseEnabled() ? kHitClose : 0;
        case kHitMax: return d.MaxEnabled() || d.RestoreEnabled() ? kHitMax : HTCAPTION;
        case kHitMin: return d.MinEnabled() || IsIconic(d.CtrlHandle) ? kHitMin : HTCAPTION;
        default: return kHitHelp;
      }
    }
    return 0;
  }
  vcl::TRect ClientHole(int, int) const override {
    RECT client{};
    GetClientRect(dialog_->CtrlHandle, &client);
    const int x = dialog_->OffsetX(), y = dialog_->OffsetY();
    return vcl::Rect(x, y, x + client.right, y + client.bottom);
  }

 private:
  TqvDialogWnd* dialog_;
};

}  // namespace

void TqvDialogWnd::UpdateBorderForm(bool Wanted) {
  TsSkinManager* manager = Manager();
  if (Wanted && manager && manager->ExtendedBorders() && !manager->Designing() && SkinData) {
    if (!border_form_) {
      border_form_ = std::make_unique<TqvDialogBorderForm>(this);
      SkinData->BGChanged = true;
      RgnChanged = true;
      if (face_) face_->BorderForm = border_form_.get();
    }
    if (IsWindowVisible(CtrlHandle)) UpdateBorderPos(true);
    return;
  }
  if (!border_form_) return;
  DropBorderForm();
  if (SkinData) SkinData->BGChanged = true;
  RgnChanged = true;
}

void TqvDialogWnd::DropBorderForm() {
  if (face_) face_->BorderForm = nullptr;
  border_form_.reset();
}

void TqvDialogWnd::UpdateBorderPos(bool Repaint) {
  // A blended move owns the border window meanwhile.
  if (border_form_ && SkinData && !SkinData->Updating && !(Flags & kBorderBlendMoving))
    border_form_->UpdateExBordersPos(Repaint, 255);
}

vcl::TRect TqvDialogWnd::ShadowSize() const {
  const TsSkinManager* manager = border_form_ ? Manager() : nullptr;
  return manager ? manager->ShadowMargins() : vcl::TRect();
}

int TqvDialogWnd::FrameLeft() const { return border_form_ ? ShadowSize().Left : 0; }
int TqvDialogWnd::FrameTop() const { return border_form_ ? ShadowSize().Top : 0; }
int TqvDialogWnd::FrameSide() const {
  return border_form_ ? SysBorderWidth(CtrlHandle, border_form_.get(), true) : BorderWidth();
}

bool TqvDialogWnd::BorderWindowShown() const {
  const HWND wnd = border_form_ ? border_form_->BorderWindow() : nullptr;
  return wnd && IsWindowVisible(wnd);
}

int TqvDialogWnd::BorderHitCode(const vcl::TMessage& Message) const {
  vcl::TMessage test{WM_NCHITTEST, 0, Message.LParam, 0};
  return border_form_ ? border_form_->HitTest(test) : -1;
}

}  // namespace skin_layered
