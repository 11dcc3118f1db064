// Text and window helpers of the classic skin engine: ANSI skin text widened, wide text
// cut and drawn, and the class-library control behind a window handle.
#pragma once

#include <string_view>

#include "classlib/controls/Controls.h"

namespace winskin {

using vcl::String;
using vcl::StringView;

// ANSI text (skin names, descriptions) in the engine's code page, widened.
String AnsiToWide(std::string_view Text);
// The first Count characters of Text; all of it when Count is -1 (or beyond its length).
String WideCopy(StringView Text, int Count);
// Draws wide text (DrawTextW); answers the text height as DrawText does. With DT_CALCRECT
// Rect receives the measured rectangle.
int DrawTextAW(HDC DC, StringView Text, vcl::TRect& Rect, UINT Format);
// The class-library control of a window (through the control-lookup property), or nullptr
// for none or no window.
vcl::TWinControl* FindControlObject(HWND Window);

}  // namespace winskin
