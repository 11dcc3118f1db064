// The rubber frame of a form whose provider sizes by outline (ResizeMode rmBorder): while the
// mouse drags a caption or an edge, only a reversible outline on the desktop follows it; the
// form takes the outline's bounds once, when the button is released. One frame runs at a time
// in the process (the mouse is captured meanwhile). Escape, or the capture taken by another
// window, cancels it: the outline goes and the form stays where it was.
#pragma once

#include <windows.h>

#include "classlib/controls/SystemHook.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

class TsRubberFrame {
 public:
  // Starts dragging Wnd's window rectangle: its edges for a sizing hit code (10 to 17), the
  // whole frame for any other; code 0 (keyboard sizing) waits for SetCode. The mouse is
  // captured; the first mouse move only records its point.
  void Start(HWND Wnd, int HitCode);
  bool Running() const { return wnd_ != nullptr; }
  HWND Window() const { return wnd_; }
  int Code() const { return code_; }
  bool Moving() const { return moving_; }
  // Records the edge being dragged while none is known.
  void SetCode(int HitCode);
  // The mouse at a screen point: the outline follows it (erased and drawn again), never
  // smaller than the window's smallest tracking size (the edge opposite the dragged one
  // stays).
  void MouseMove(vcl::TPoint Screen);
  // The outline's rectangle in screen coordinates.
  const vcl::TRect& Frame() const { return frame_; }
  // Erases the outline, releases the mouse and answers the outline's last rectangle.
  vcl::TRect Finish();
  // The same, for nothing: the window keeps its place.
  void Cancel() { Finish(); }

 private:
  void Draw();
  // Escape pressed while the frame runs cancels it (the key goes no further).
  static LRESULT CALLBACK EscapeHook(int Code, WPARAM Key, LPARAM Flags);

  HWND wnd_ = nullptr;
  int code_ = 0;
  bool moving_ = false;
  bool first_move_ = false;
  bool drawn_ = false;
  vcl::TPoint anchor_;  // the first mouse point
  vcl::TRect start_;    // the window rectangle when dragging began
  vcl::TRect frame_;    // the outline now
  vcl::TSize min_size_;
  vcl::TUniqueHook escape_hook_;  // the thread's keyboard, while the frame runs
};

// The process's rubber frame.
TsRubberFrame& RubberFrame();

}  // namespace skin_layered
