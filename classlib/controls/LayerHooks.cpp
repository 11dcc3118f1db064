#include "classlib/controls/LayerHooks.h"

namespace vcl {

TLayerHooks& LayerHooks() {
  static TLayerHooks hooks;
  return hooks;
}

TWinControl* ParentFormOf(const TControl* Control) {
  const auto parentForm = LayerHooks().Forms.ParentForm;
  return parentForm ? parentForm(Control) : nullptr;
}

}  // namespace vcl
