// The windows a screenshot holds, written beside it for a program that judges the picture:
// every shown window of the gallery, top-level ones from the bottom of the Z order up, each
// followed by its shown child windows (also from the bottom up) and the library's windowless
// controls it paints (before its child windows, which lie over them). One line a window:
//
//   id <TAB> parent id <TAB> kind <TAB> window class <TAB> library class <TAB> screen rectangle
//   <TAB> client rectangle on the screen <TAB> style <TAB> extended style <TAB> text <TAB> style
//   asked for <TAB> extended style asked for <TAB> state
//
// The styles asked for are those the window was made with (0 when it was made before the
// watch began): the skin engines take the system menu and the boxes off a frame they paint,
// and a judge asks what the program wanted.
// The state is words between spaces: a check box's or radio button's "checked", "unchecked" or
// "grayed", "focused" for the window with the keyboard focus, "active" for the active
// window, a child window's "id=N" (its control id), and for a window with a title each of its
// title buttons where the window answers it to the pointer, "close=LEFT,TOP,RIGHT,BOTTOM" (and
// "max", "min", "help") on the screen.
// kind is "top", "child" or "graphic" (a windowless control of the library); rectangles are
// "left top right bottom"; styles are hexadecimal; the text is UTF-8, its tabs and line
// breaks written as spaces; the parent id of a top-level window is 0.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gallery {

// From now on the styles of the windows the thread makes are kept for the list.
void WatchWindowCreation();

// The lines for the top-level windows (in any order).
std::string WindowListText(const std::vector<HWND>& TopLevel);
// The lines written to the file; false when it cannot be written.
bool WriteWindowList(const std::string& Text, const std::wstring& File);

}  // namespace gallery
