// The gallery's screenshot: once the program is idle (its windows shown, skinned and
// painted, also inside a modal dialog, message box or menu), the part of the X display that
// holds its windows, frames included, is written as a PNG, and the program ends. The grab is
// made by ImageMagick's `import` from the display as the X server holds it: what Wine draws in
// the process is not always what reaches the display.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/forms/Forms.h"

namespace gallery {

// Starts watching for the idle moment; File is a Windows path of the PNG to write (any
// characters). Reports "written" or the failure on the standard error stream and ends the
// program either way. The waits for the program to fall idle and for its windows to be
// skinned are bounded: past a bound the picture is taken as things are, and the standard
// error stream says which wait gave up (the windows still unskinned named). A WindowList path, when not empty, also gets the list of the windows
// the picture holds (GalleryWindows.h), written as the grab starts.
void StartScreenshot(const std::wstring& File, const std::wstring& WindowList = {});

// A step of a page that shows more than one picture: after each picture the next step runs
// (it may open a modal dialog, whose loop takes the next picture), and the program ends after
// the picture that follows the last step. Picture N (from 2 on) and its list of windows are
// written beside the first ones, their names "-N" before the extension (ShotPath).
void AddShotStep(std::function<void()> Step);
// Whether pictures are being taken (--shot), until the program ends after the last.
bool TakingShots();
std::wstring ShotPath(const std::wstring& First, int N);

// Something the user was told about went wrong (a skin not loaded, a window missing): a
// screenshot run ends with a failure then, whatever the grab did.
void NoteFailure();

// The program's exit code: 0 unless a screenshot run failed or a failure was noted.
int ExitCode();

// A line on the standard error stream ("skingallery: " first), in UTF-8 whatever it holds.
void Say(std::wstring_view Line);

// Keeps the text of every message box shown while it lives (each still shown as before): an
// engine reports some faults of a skin itself, and a load that failed prints what the user
// was told.
class ShownMessages {
 public:
  ShownMessages();
  ~ShownMessages();
  ShownMessages(const ShownMessages&) = delete;
  ShownMessages& operator=(const ShownMessages&) = delete;

  const std::vector<std::wstring>& Texts() const { return texts_; }
  // The load failed: noted, and every text shown so far printed.
  void Failed() const;

 private:
  vcl::TMessageBoxFunction previous_;
  std::vector<std::wstring> texts_;
};

}  // namespace gallery
