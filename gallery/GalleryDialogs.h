// The system's own dialogs beside the layered page, as the sweep needs them (each skinned by
// the manager's dialog hook): message boxes of every icon kind and none with each button set,
// and the common Open, Save, Font, Colour, Find and Replace dialogs; and what a user does with
// open dialogs: the focus moved round their controls by Tab and Shift+Tab, every check mark
// turned over, the pointer taken away.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace gallery {

// Message boxes of each button set (OK; OK and Cancel; Yes and No; Yes, No and Cancel; Abort,
// Retry and Ignore; Retry and Cancel; Cancel, Try Again and Continue), with each icon kind and
// none among them, two at a time, their top-right corners from At down (the dialog hook skins
// two dialogs shown at once): each pair waits until EndShownDialogs closes it, then the next
// comes. Returns when the last is closed.
void ShowMessageBoxes(HWND Owner, POINT At);

// The system's Find and Replace dialogs with its Open dialog, then, once EndShownDialogs has
// closed those, its Font, Colour and Save dialogs (modal all three, each over the page), their
// top-right corners from At. Returns when the last is closed.
void ShowCommonDialogs(HWND Owner, POINT At);

// Closes the message boxes and common dialogs shown (each by its default or Cancel button).
void EndShownDialogs();
// Closes the dialog by its Cancel button, or its default button when it has none.
void EndDialogByButton(HWND Dialog);

// The shown system dialog of that caption, nil for none.
HWND ShownDialog(const std::wstring& Caption);

// The shown system dialogs of the thread (top-level "#32770" windows), from the bottom of the Z
// order up.
std::vector<HWND> ShownDialogs();

// Activates the dialog and moves the focus round its controls as Tab does until it comes back
// where it was, then round again as Shift+Tab does; the screen is brought up to date after
// each move.
void MoveFocusRound(HWND Dialog);

// Every shown check box and radio button of the thread's windows turned over (grayed ones
// cleared); a radio button checked clears the others of its group as it does for a user.
void TurnCheckMarks();

// The pointer to the screen's bottom-right corner, away from every window.
void PointerAway();

// The thread's queue emptied (bounded): what a step changed is painted as a user would see it.
void Settle();

}  // namespace gallery
