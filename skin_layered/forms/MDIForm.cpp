#include "skin_layered/forms/MDIForm.h"

#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {

VCL_CLASS_INFO(TsMDIForm) {}

TsMDIForm::TsMDIForm(TqvMdiFrameOwner* AProvider) : Provider(AProvider) {
  if (Provider && Provider->FrameProvider()->Form) {
    Form = Provider->FrameProvider()->Form;
    Form->HandleNeeded();
  }
}

TsMDIForm::~TsMDIForm() { Disconnect(); }

void TsMDIForm::ConnectIfNeeded() {
  if (!MDIWnd && Form && !Form->ComponentState().Contains(vcl::csDesigning)) Connect();
}

void TsMDIForm::Connect() {
  Disconnect();
  TsSkinProviderBase* provider = Provider ? Provider->FrameProvider() : nullptr;
  if (!provider || !provider->SkinData || !provider->SkinData->Skinned() || !Form || !Form->ClientHandle()) return;
  // The client's adapter takes the skin's font and colours like every control's.
  TqvSkinParams params;
  params.SkinSection = L"CHECKBOX";
  MDIWnd = AdapterServices().CreateMDIClientAdapter(Form->ClientHandle(), provider->SkinData->GetSkinManager(), params,
                                                    Form, provider);
}

void TsMDIForm::Disconnect() {
  if (MDIWnd) vcl::TObject::Free(std::exchange(MDIWnd, nullptr));
}

void TsMDIForm::UpdateClient() {
  if (Provider) Provider->FullRedraw();
}

}  // namespace skin_layered
