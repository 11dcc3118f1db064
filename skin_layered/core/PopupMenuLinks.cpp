#include "skin_layered/core/PopupMenuLinks.h"

namespace skin_layered {
namespace {
bool g_skinned_popup_shown = false;
}  // namespace

TqvPopupMenuLinks& PopupMenuLinks() {
  static TqvPopupMenuLinks links;
  return links;
}

bool SkinnedPopupShown() { return g_skinned_popup_shown; }
void SetSkinnedPopupShown(bool Value) { g_skinned_popup_shown = Value; }

}  // namespace skin_layered
