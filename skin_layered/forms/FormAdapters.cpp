#include "skin_layered/forms/FormAdapters.h"

#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinCommand.h"

namespace skin_layered {

namespace {

bool Designing(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDesigning); }
bool BeingDestroyed(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDestroying); }

}  // namespace

void TqvFormAdapters::AddAllAdapters() {
  TsSkinProviderBase* provider = host_.FrameProvider();
  if (Designing(provider) || BeingDestroyed(provider->Form)) return;
  if (!ctrl_adapter_) ctrl_adapter_ = new TqvCtrlAdapter(&host_);
  ctrl_adapter_->AddAllItems();
}

void TqvFormAdapters::SendToAdapter(vcl::TMessage& Message) {
  if (ctrl_adapter_ && !Designing(host_.FrameProvider()))
    ctrl_adapter_->SendToAll(Message.Msg, Message.WParam, Message.LParam);
}

void TqvFormAdapters::RemoveCtrlAdapter() {
  if (!ctrl_adapter_) return;
  vcl::TMessage m = SkinCommandMessage(scmRemoveSkin, reinterpret_cast<LPARAM>(host_.SkinManager()));
  SendToAdapter(m);
  vcl::TObject::Free(std::exchange(ctrl_adapter_, nullptr));
}

void TqvFormAdapters::MDIClientObject(bool Value) {
  vcl::TCustomForm* form = host_.FrameProvider()->Form;
  if (!Value || form->FormStyle() != vcl::fsMDIForm) {
    if (mdi_form_) vcl::TObject::Free(std::exchange(mdi_form_, nullptr));
    return;
  }
  if (mdi_form_ && !(form->ClientHandle() && SendCommandToWnd(form->ClientHandle(), scmIsSkinned, 0) == 1))
    vcl::TObject::Free(std::exchange(mdi_form_, nullptr));
  if (!mdi_form_) {
    host_.BecomeMDIProvider();
    mdi_form_ = new TsMDIForm(&host_);
    mdi_form_->Connect();
  }
}

void TqvFormAdapters::Free() {
  if (ctrl_adapter_) vcl::TObject::Free(std::exchange(ctrl_adapter_, nullptr));
  if (mdi_form_) vcl::TObject::Free(std::exchange(mdi_form_, nullptr));
}

}  // namespace skin_layered
