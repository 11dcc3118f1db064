// The rubber frame of a form whose provider sizes by outline (ResizeMode rmBorder): while the
// mouse drags a caption or an edge, only a reversible outline on the desktop follows it; the
// form takes the outline's bounds once, when the button is released. One frame runs at a time
// in the process (the mouse is captured meanwhile). Escape, or the capture taken by another
// window, cancels it: the outline goes and the form stays where it was.
//
// Started by the system menu's size command, the frame waits for an edge, as the system's own
// sizing does: the pointer, put in the middle of the window, picks the edge it comes onto or
// the edges of the outline it crosses; an arrow key picks its side (the pointer goes onto it).
// The keyboard drives any frame: an arrow across a single side picked by the keyboard takes
// the corner, the other arrows move what is dragged by kKeyStep pixels, Enter accepts.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "classlib/controls/SystemHook.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

class TsRubberFrame {
 public:
  // Runs when Enter accepts the outline; it ends the frame (Finish) and applies it.
  using TAccept = std::function<void()>;
  static constexpr int kKeyStep = 8;

  // Starts dragging Wnd's window rectangle: its edges for a sizing hit code (10 to 17), the
  // whole frame for any other; code 0 (the size command) waits for an edge. The mouse is
  // captured; the first mouse move only records its point. Owner is what Accept belongs to
  // (CancelFor).
  void Start(HWND Wnd, int HitCode, const void* Owner, TAccept Accept);
  bool Running() const { return wnd_ != nullptr; }
  HWND Window() const { return wnd_; }
  int Code() const { return code_; }
  bool Moving() const { return moving_; }
  // While no edge is known: a sizing hit code (10 to 17) found at the screen point At becomes
  // the dragged edge, which lies under the point from then on; other codes are no edge.
  void PickEdge(int HitCode, vcl::TPoint At);
  // The mouse at a screen point: the outline follows it (erased and drawn again), never
  // smaller than the window's smallest tracking size (the edge opposite the dragged one
  // stays). While no edge is known, a point beyond the outline picks the edges it crossed.
  void MouseMove(vcl::TPoint Screen);
  // The outline's rectangle in screen coordinates.
  const vcl::TRect& Frame() const { return frame_; }
  // Erases the outline, releases the mouse and answers the outline's last rectangle.
  vcl::TRect Finish();
  // The same, for nothing: the window keeps its place.
  void Cancel() { Finish(); }
  // Cancels the frame when Owner started it (its Accept may not outlive it).
  void CancelFor(const void* Owner);

 private:
  void Draw();
  // The pointer put at a screen point, and the frame told of it.
  void PlacePointer(vcl::TPoint At);
  // An arrow key (VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN).
  void Arrow(WPARAM Key);
  void Accept();
  // Arrows, Enter and Escape pressed while the frame runs drive it (the keys go no further).
  static LRESULT CALLBACK KeyboardHook(int Code, WPARAM Key, LPARAM Flags);

  HWND wnd_ = nullptr;
  int code_ = 0;
  bool moving_ = false;
  bool first_move_ = false;
  bool drawn_ = false;
  bool keyboard_side_ = false;  // the side dragged was picked by an arrow key
  vcl::TPoint anchor_;  // where the pointer was when dragging began
  vcl::TPoint last_;    // the pointer's last point
  vcl::TRect start_;    // the window rectangle when dragging began
  vcl::TRect frame_;    // the outline now
  vcl::TSize min_size_;
  const void* owner_ = nullptr;
  TAccept accept_;
  // The last places the frame put the pointer, oldest first.
  static constexpr std::size_t kPlacedKept = 32;
  std::vector<vcl::TPoint> placed_;
  vcl::TUniqueHook keyboard_hook_;  // the thread's keyboard, while the frame runs
};

// The process's rubber frame.
TsRubberFrame& RubberFrame();

}  // namespace skin_layered
