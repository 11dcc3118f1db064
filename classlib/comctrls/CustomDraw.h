// What the common controls' custom-draw events are told: the state of the item being drawn
// and the stage of the paint cycle.
#pragma once

// First: windows.h as the library includes it.
#include "classlib/controls/Messages.h"

#include <commctrl.h>

#include "classlib/rtl/Set.h"

namespace vcl {

// The state of a custom-drawn item: bit i is the system's CDIS_* flag 1 << i, so
// TCustomDrawState::FromInt(uItemState) converts.
enum class TCustomDrawStateItem {
  cdsSelected, cdsGrayed, cdsDisabled, cdsChecked, cdsFocused, cdsDefault, cdsHot, cdsMarked,
  cdsIndeterminate, cdsShowKeyboardCues, cdsNearHot, cdsOtherSideHot, cdsDropHilited
};
using enum TCustomDrawStateItem;
using TCustomDrawState = Set<TCustomDrawStateItem>;

// The stage of the paint cycle a custom-draw event is called for.
enum class TCustomDrawStage { cdPrePaint, cdPostPaint, cdPreErase, cdPostErase };
using enum TCustomDrawStage;

// The stage of a NM_CUSTOMDRAW draw stage (CDDS_*), item or not.
inline TCustomDrawStage CustomDrawStageOf(DWORD DrawStage) {
  switch (DrawStage & ~static_cast<DWORD>(CDDS_ITEM | CDDS_SUBITEM)) {
    case CDDS_POSTPAINT: return cdPostPaint;
    case CDDS_PREERASE: return cdPreErase;
    case CDDS_POSTERASE: return cdPostErase;
    default: return cdPrePaint;
  }
}

}  // namespace vcl
