// The layered engine's message box: the system box with one of four fixed captions, shown
// through the class library's message-box seam.
#pragma once

#include <windows.h>

#include "classlib/rtl/Set.h"
#include "classlib/rtl/SysUtils.h"

namespace skin_layered {

// Message types: the icon and the caption of the box.
inline constexpr int kMessageWarning = 0;
inline constexpr int kMessageError = 1;
inline constexpr int kMessageInformation = 2;
inline constexpr int kMessageConfirm = 3;

// The caption of a type; empty for any other value.
vcl::StringView MessageCaption(int Type);

enum class TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = vcl::Set<TMsgDlgBtn>;

// Where the next box is to appear (-1: the system's choice). Set for the duration of one
// MessageDlgEx; the dialog hook of the window adapters moves the box there.
inline int DialogPosX = -1;
inline int DialogPosY = -1;

// The style of the box: the icon of the type and the button set.
UINT MessageBoxStyle(int Type, TMsgDlgButtons Buttons);

// Shows the box owned by the active form, the other windows of the thread disabled
// meanwhile; answers the id of the button pressed. The caption is Title, or the type's when
// Title is empty. A non-zero HelpContext goes to the application's help when the user asks.
int MessageDlgEx(const vcl::String& Title, const vcl::String& Text, int Type, int X, int Y, int HelpContext,
                 TMsgDlgButtons Buttons);
int ShowMessageEx(const vcl::String& Text, int Type, TMsgDlgButtons Buttons, int HelpContext);
void ShowWarning(const vcl::String& Text);

}  // namespace skin_layered
