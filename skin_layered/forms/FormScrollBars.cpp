// A skinned form's own scroll bars (see FormScrollBars.h).
#include "skin_layered/forms/FormScrollBars.h"

#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

void TqvFormScrollBars::Update() {
  vcl::TCustomForm* form = provider_.Form;
  if (provider_.ComponentState().Contains(vcl::csDestroying) || !form->HandleAllocated() || !form->AutoScroll() ||
      (flags_ & kExtScrollAdapter))
    return;
  flags_ |= kExtScrollAdapter;
  TsCommonData* data = provider_.SkinData;
  if (data->Skinned(false)) {
    // One that let its window go (the window made anew) is made again.
    if (adapter_ && AdapterServices().AdapterDestroyed(adapter_)) Free();
    if (!adapter_) {
      TqvSkinParams params;
      params.Control = form;
      adapter_ = AdapterServices().CreateFormScrollAdapter(form->Handle(), data->GetSkinManager(), params, data);
    }
  } else {
    Free();
  }
  flags_ &= ~kExtScrollAdapter;
}

void TqvFormScrollBars::Free() {
  if (vcl::TObject* adapter = std::exchange(adapter_, nullptr)) vcl::TObject::Free(adapter);
}

TqvShownScrollBars TqvFormScrollBars::Shown() const {
  return adapter_ ? AdapterServices().ShownScrollBars(adapter_) : TqvShownScrollBars{};
}

int TqvFormScrollBars::VertBarWidth() const {
  const TqvShownScrollBars bars = Shown();
  return bars.Vert ? bars.VertRect.Width() : 0;
}

int TqvFormScrollBars::HorzBarHeight() const {
  const TqvShownScrollBars bars = Shown();
  return bars.Horz ? bars.HorzRect.Height() : 0;
}

}  // namespace skin_layered
