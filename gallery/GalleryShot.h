// The gallery's screenshot: once the program is idle (its windows shown, skinned and
// painted, also inside a modal dialog, message box or menu), the part of the X display that
// holds its windows, frames included, is written as a PNG, and the program ends. The grab is
// made by ImageMagick's `import` from the display as the X server holds it: what Wine draws in
// the process is not always what reaches the display.
#pragma once

#include <string>

namespace gallery {

// Starts watching for the idle moment; File is a Windows path of the PNG to write. Reports
// "written" or the failure on the standard error stream and ends the program either way.
void StartScreenshot(const std::wstring& File);

}  // namespace gallery
