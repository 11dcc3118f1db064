// The process-wide state of the skin providers, kept in one object (the provider files read
// and write it; other units go through the functions SkinProvider.h publishes): the editor
// link, the MDI frame's provider, the pressed title button, the announced shutdown and the
// guards against a handler running again inside itself.
#pragma once

#include <windows.h>

namespace skin_layered {

class TsSkinProvider;

struct TProviderUnit {
  bool CaptionGlowNewSkinsOnly = false;
  bool PreviewMode = false;
  bool PreviewRead = false;  // the switch was read in this run
  HWND PreviewForm = nullptr;
  TsSkinProvider* MDIProvider = nullptr;
  // A title element was pressed and the button is not released yet.
  bool ButtonPressed = false;
  // A shutdown was announced (WM_QUERYENDSESSION).
  bool ShuttingDown = false;
  // A main menu bar is being rebuilt, the editor's preview block taken, the wheel forwarded to
  // a control.
  bool RebuildingMenu = false;
  bool TakingPreview = false;
  bool ForwardingWheel = false;
};

TProviderUnit& ProviderUnit();

}  // namespace skin_layered
