#include "classlib/controls/Mouse.h"

namespace vcl {

namespace {
TMouse g_mouse;
}  // namespace

TMouse* const Mouse = &g_mouse;

TPoint TMouse::CursorPos() const {
  POINT p{};
  GetCursorPos(&p);
  return p;
}

void TMouse::SetCursorPos(TPoint Value) { ::SetCursorPos(Value.X, Value.Y); }

bool TrackMouseLeave(HWND Wnd, bool NonClient) {
  const DWORD flags = TME_LEAVE | (NonClient ? TME_NONCLIENT : 0);
  TRACKMOUSEEVENT track{sizeof track, flags, Wnd, 0};
  TrackMouseEvent(&track);
  TRACKMOUSEEVENT now{sizeof now, TME_QUERY, nullptr, 0};
  const bool tracking = TrackMouseEvent(&now) && now.hwndTrack == Wnd && (now.dwFlags & flags) == flags;
  if (!tracking) PostMessageW(Wnd, NonClient ? WM_NCMOUSELEAVE : WM_MOUSELEAVE, 0, 0);
  return tracking;
}

HWND TMouse::Capture() const { return GetCapture(); }

void TMouse::SetCapture(HWND Value) {
  if (Value)
    ::SetCapture(Value);
  else
    ReleaseCapture();
}

bool TMouse::MousePresent() const { return GetSystemMetrics(SM_MOUSEPRESENT) != 0; }

bool TMouse::WheelPresent() const { return GetSystemMetrics(SM_MOUSEWHEELPRESENT) != 0; }

int TMouse::WheelScrollLines() const {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  return static_cast<int>(lines);
}

}  // namespace vcl
