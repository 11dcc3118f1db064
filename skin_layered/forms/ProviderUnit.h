// The process-wide state of the skin providers, kept in one object (the provider files read
// and write it; other units go through the functions SkinProvider.h publishes): the skin
// editor's link, the MDI frame's provider, the pressed title button, the announced shutdown and
// the guards against a handler running again inside itself.
#pragma once

#include <windows.h>

#include "skin_layered/forms/SkinEditorLink.h"

namespace skin_layered {

class TsSkinProvider;

struct TProviderUnit {
  TqvSkinEditorLink EditorLink;
  bool CaptionGlowNewSkinsOnly = false;
  TsSkinProvider* MDIProvider = nullptr;
  // A title element was pressed and the button is not released yet.
  bool ButtonPressed = false;
  // A shutdown was announced (WM_QUERYENDSESSION).
  bool ShuttingDown = false;
  // A main menu bar is being rebuilt, the wheel forwarded to a control.
  bool RebuildingMenu = false;
  bool ForwardingWheel = false;
};

TProviderUnit& ProviderUnit();

}  // namespace skin_layered
