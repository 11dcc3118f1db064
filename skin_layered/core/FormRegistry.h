// The registry of skinned forms (every form that has a skin provider, from the provider's
// construction to its destruction) and the broadcasts that reach every form of the
// application: a skin manager announces a new skin, its removal and changed parameters
// through them.
#pragma once

#include <vector>

#include "classlib/controls/Messages.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

// Appends the form; answers the number of registered forms.
int RegisterForm(vcl::TCustomForm* Form);
// Takes the form out: its place gets the last entry. A form that is not registered changes
// nothing.
void UnregisterForm(vcl::TCustomForm* Form);
bool IsFormRegistered(const vcl::TCustomForm* Form);
// In registration order, except where a removal moved the last entry.
const std::vector<vcl::TCustomForm*>& RegisteredForms();

// The message to every form of the application that is not skinned itself (the skinned ones
// are registered), then to the registered forms: each form gets it sent, then its controls by
// BroadcastCommand, and an MDI frame's client window. Forms that are being destroyed or
// loading are skipped, and so is any form freed during the walk; each gets it once.
void BroadcastToAllForms(vcl::TMessage& Message);
// The message to every registered form as above, then to each of the adapters' skinned
// windows (a skinned system dialog), which passes it on to its border window and children.
void BroadcastToRegisteredForms(vcl::TMessage& Message);

}  // namespace skin_layered
