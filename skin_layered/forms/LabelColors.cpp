#include "skin_layered/forms/LabelColors.h"

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

void TqvLabelColors::SetLabelColor(vcl::TCustomLabel* Label, bool Skinned) {
  if (!Label || (Label->Tag() & kNoAutoSkinTag)) return;
  auto saved = std::find_if(labels_.begin(), labels_.end(), [&](const TSavedLabel& s) { return s.Label == Label; });
  TsSkinManager* manager = host_.SkinManager();
  if (Skinned) {
    if (!manager) return;
    if (saved == labels_.end()) {
      labels_.push_back({Label, Label->Font()->Color(), Label->ParentFont(),
                         Label->ControlStyle().Contains(vcl::csOpaque)});
      Label->FreeNotification(host_.FrameProvider());
    }
    // A label painted over the skin lets the form's image show through.
    if (Label->Transparent() || manager->LabelsOptions()->TransparentAlways())
      Label->SetControlStyle(Label->ControlStyle() - vcl::TControlStyle{vcl::csOpaque});
    Label->Font()->SetColor(manager->GetGlobalFontColor());
    return;
  }
  if (saved == labels_.end()) return;
  const TSavedLabel label = *saved;
  *saved = labels_.back();
  labels_.pop_back();
  Label->RemoveFreeNotification(host_.FrameProvider());
  if (label.ParentFont) {
    Label->SetParentFont(true);
  } else {
    Label->Font()->SetColor(label.Color);
  }
  if (label.Opaque) Label->SetControlStyle(Label->ControlStyle() + vcl::TControlStyle{vcl::csOpaque});
  Label->Invalidate();
}

void TqvLabelColors::ApplyGlobalColor() {
  if (TsSkinManager* manager = host_.SkinManager()) host_.FrameProvider()->Form->SetColor(manager->GetGlobalColor());
}

void TqvLabelColors::RestoreLabelColors() {
  // Every label recoloured for the skin, wherever it lies on the form.
  while (!labels_.empty()) SetLabelColor(labels_.back().Label, false);
}

void TqvLabelColors::Forget(vcl::TComponent* AComponent) {
  std::erase_if(labels_, [&](const TSavedLabel& saved) { return saved.Label == AComponent; });
}

void TqvLabelColors::Release() {
  for (const TSavedLabel& saved : labels_) saved.Label->RemoveFreeNotification(host_.FrameProvider());
  labels_.clear();
}

}  // namespace skin_layered
