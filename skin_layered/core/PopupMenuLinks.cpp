#include "skin_layered/core/PopupMenuLinks.h"

namespace skin_layered {
namespace {

// The links, and the flag the skinned menus and the menu-window adapters share.
struct TPopupMenuState {
  TqvPopupMenuLinks Links;
  bool SkinnedPopupShown = false;
};

TPopupMenuState& State() {
  static TPopupMenuState state;
  return state;
}

}  // namespace

TqvPopupMenuLinks& PopupMenuLinks() { return State().Links; }

bool SkinnedPopupShown() { return State().SkinnedPopupShown; }
void SetSkinnedPopupShown(bool Value) { State().SkinnedPopupShown = Value; }

}  // namespace skin_layered
