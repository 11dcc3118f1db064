#include "skin_layered/core/FormRegistry.h"

#include <algorithm>
#include <functional>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/SkinCommand.h"

namespace skin_layered {
namespace {

std::vector<vcl::TCustomForm*>& Registry() {
  static std::vector<vcl::TCustomForm*> forms;
  return forms;
}

bool Destroying(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }

bool IsApplicationComponent(const vcl::TComponent* C) {
  if (!vcl::Application) return false;
  for (int i = 0; i < vcl::Application->ComponentCount(); ++i)
    if (vcl::Application->Components(i) == C) return true;
  return false;
}

// The form, its controls and an MDI frame's client window get the message. StillThere tells
// whether the form survived what its window did with the message.
void DeliverToForm(vcl::TCustomForm* Form, vcl::TMessage& Message, const std::function<bool()>& StillThere) {
  if (Form->HandleAllocated())
    Message.Result = SendMessageW(Form->Handle(), Message.Msg, Message.WParam, Message.LParam);
  if (!StillThere() || Destroying(Form)) return;
  BroadcastCommand(Form, Message);
  if (!StillThere()) return;
  if (Form->FormStyle() == vcl::fsMDIForm && Form->ClientHandle())
    Message.Result = SendMessageW(Form->ClientHandle(), Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace

int RegisterForm(vcl::TCustomForm* Form) {
  Registry().push_back(Form);
  return static_cast<int>(Registry().size());
}

void UnregisterForm(vcl::TCustomForm* Form) {
  auto& forms = Registry();
  for (auto it = std::find(forms.begin(), forms.end(), Form); it != forms.end();
       it = std::find(forms.begin(), forms.end(), Form)) {
    *it = forms.back();
    forms.pop_back();
  }
}

bool IsFormRegistered(const vcl::TCustomForm* Form) {
  const auto& forms = Registry();
  return std::find(forms.begin(), forms.end(), Form) != forms.end();
}

const std::vector<vcl::TCustomForm*>& RegisteredForms() { return Registry(); }

void BroadcastToAllForms(vcl::TMessage& Message) {
  if (vcl::Application) {
    std::vector<vcl::TComponent*> components;
    for (int i = vcl::Application->ComponentCount() - 1; i >= 0; --i)
      components.push_back(vcl::Application->Components(i));
    for (vcl::TComponent* component : components) {
      if (!IsApplicationComponent(component)) continue;  // freed meanwhile
      auto* form = dynamic_cast<vcl::TCustomForm*>(component);
      if (!form || form->FormStyle() == vcl::fsMDIChild || Destroying(form) ||
          form->ComponentState().Contains(vcl::csLoading))
        continue;
      if (form->HandleAllocated() && GetBoolCommand(form->Handle(), scmIsSkinned)) continue;
      DeliverToForm(form, Message, [form] { return IsApplicationComponent(form); });
    }
  }
  BroadcastToRegisteredForms(Message);
}

void BroadcastToRegisteredForms(vcl::TMessage& Message) {
  const std::vector<vcl::TCustomForm*> forms = Registry();
  for (vcl::TCustomForm* form : forms) {
    if (!IsFormRegistered(form) || Destroying(form)) continue;
    DeliverToForm(form, Message, [form] { return IsFormRegistered(form); });
  }
  // The adapters' skinned windows themselves: a dialog with or without a border window, shown
  // or not, hears of the skin's changes (its border window follows it).
  for (const TqvSkinnedWindow& window : AdapterServices().SkinnedWindowList())
    if (window.Window && IsWindow(window.Window))
      Message.Result = SendMessageW(window.Window, Message.Msg, Message.WParam, Message.LParam);
}

}  // namespace skin_layered
