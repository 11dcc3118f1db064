// Judges a screenshot of the gallery by the list of the windows it holds (GalleryWindows.h):
// what a user would call a hole in a skin.
//   - no solid-black block: a pixel inside a window whose 5x5 neighbourhood is pure black
//     (black text is thinner than that);
//   - every title bar shows its buttons (as many as the window's style asks for) and its
//     caption stands out of the bar;
//   - every control's caption is legible: its text stands out of the control's own colour;
//   - every scroll bar shows its arrows;
// and two pictures of the same windows: a check mark turned over shows it, and a window whose
// state is the same after the user's moves (the focus moved round and back, the skin taken away
// and given back) looks as it did.
//   - no control invisible: each kind that shows something (buttons, edits, lists, bars, tabs)
//     stands out of what surrounds it; a push button shows its edge, a track bar its channel
//     and thumb, a status bar with a grip its grip.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gallery::sweep {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
};

Box Intersect(const Box& A, const Box& B);

// One line of the list.
struct ListedWindow {
  int id = 0, parent = 0;
  std::string kind;       // "top", "child" or "graphic"
  std::string className;  // the window class
  std::string library;    // the library's class, if any
  Box rect, client;
  std::uint32_t style = 0, exStyle = 0;
  std::string text;
  std::uint32_t askedStyle = 0, askedExStyle = 0;  // made with; 0: not known
  // Words: "checked", "unchecked" or "grayed"; "focused"; "active"; "id=N"; and where a title's
  // buttons answer the pointer, "close=LEFT,TOP,RIGHT,BOTTOM" ("max", "min", "help").
  std::string state;

  bool Is(std::string_view Word) const;
  // The box a word "NAME=LEFT,TOP,RIGHT,BOTTOM" gives; an empty box without one.
  Box Place(std::string_view Name) const;
  // A check box's or radio button's "checked", "unchecked" or "grayed"; empty for others.
  std::string Mark() const;

  // A short name for reports: the library class or window class and the text.
  std::string Describe() const;
};

// The lines of a list; malformed lines are skipped.
std::vector<ListedWindow> ParseWindowList(std::string_view Text);

// A picture of the screen: 0xRRGGBB pixels, its top-left corner at Origin on the screen.
struct ScreenPicture {
  int left = 0, top = 0, width = 0, height = 0;
  std::vector<std::uint32_t> pixels;

  bool Contains(int x, int y) const { return x >= left && y >= top && x < left + width && y < top + height; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y - top) * width + (x - left)]; }
};

// Where the gallery's grab of these windows lies on a screen of that size (the union of the
// top-level windows, within the screen).
Box GrabArea(const std::vector<ListedWindow>& Windows, int ScreenWidth, int ScreenHeight);

struct Verdict {
  std::vector<std::string> faults;
  int blackPixels = 0;  // pixels in solid-black blocks
};

Verdict Judge(const ScreenPicture& Picture, const std::vector<ListedWindow>& Windows);

struct Shot {
  ScreenPicture picture;
  std::vector<ListedWindow> windows;
};

// Each check box and radio button whose mark was turned over between the pictures looks other
// than it did (a window is the same in both when its kind, class, rectangle and text are).
std::vector<std::string> JudgeTurnedMarks(const Shot& Before, const Shot& After);

// Each window of the same state in both pictures (the focused one apart, whose caret blinks;
// and a frame apart whose activation changed) looks as it did.
std::vector<std::string> JudgeSameLooks(const Shot& Before, const Shot& After);

}  // namespace gallery::sweep
