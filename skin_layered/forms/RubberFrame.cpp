#include "skin_layered/forms/RubberFrame.h"

#include <algorithm>
#include <utility>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_layered/core/CaptionHitCodes.h"

namespace skin_layered {
namespace {

constexpr int kOutlineWidth = 4;

bool DragsLeft(int Code) { return Code == HTLEFT || Code == HTTOPLEFT || Code == HTBOTTOMLEFT; }
bool DragsRight(int Code) { return Code == HTRIGHT || Code == HTTOPRIGHT || Code == HTBOTTOMRIGHT; }
bool DragsTop(int Code) { return Code == HTTOP || Code == HTTOPLEFT || Code == HTTOPRIGHT; }
bool DragsBottom(int Code) { return Code == HTBOTTOM || Code == HTBOTTOMLEFT || Code == HTBOTTOMRIGHT; }

vcl::TSize SmallestSize(HWND Wnd) {
  MINMAXINFO info{};
  info.ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
  info.ptMaxTrackSize = {GetSystemMetrics(SM_CXMAXTRACK), GetSystemMetrics(SM_CYMAXTRACK)};
  SendMessageW(Wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  return vcl::TSize{std::max<LONG>(1, info.ptMinTrackSize.x), std::max<LONG>(1, info.ptMinTrackSize.y)};
}

}  // namespace

TsRubberFrame& RubberFrame() {
  static TsRubberFrame frame;
  return frame;
}

void TsRubberFrame::Start(HWND Wnd, int HitCode) {
  if (Running()) Finish();
  RECT r{};
  if (!Wnd || !GetWindowRect(Wnd, &r)) return;
  wnd_ = Wnd;
  start_ = frame_ = vcl::TRect(r);
  min_size_ = SmallestSize(Wnd);
  first_move_ = true;
  drawn_ = false;
  code_ = 0;
  SetCode(HitCode);
  if (HitCode != 0 && !IsSizingHitCode(HitCode)) moving_ = true;
  SetCapture(Wnd);
  escape_hook_.reset(SetWindowsHookExW(WH_KEYBOARD, &EscapeHook, nullptr, GetCurrentThreadId()));
}

LRESULT CALLBACK TsRubberFrame::EscapeHook(int Code, WPARAM Key, LPARAM Flags) {
  // Bit 31 of the flags: the key goes up.
  const bool down = (static_cast<DWORD>(Flags) & 0x80000000u) == 0;
  if (Code == HC_ACTION && Key == VK_ESCAPE && down && RubberFrame().Running()) {
    RubberFrame().Cancel();
    return 1;
  }
  return CallNextHookEx(nullptr, Code, Key, Flags);
}

void TsRubberFrame::SetCode(int HitCode) {
  if (code_ != 0) return;
  code_ = HitCode;
  moving_ = HitCode != 0 && !IsSizingHitCode(HitCode);
}

void TsRubberFrame::MouseMove(vcl::TPoint Screen) {
  if (!Running()) return;
  if (first_move_) {
    first_move_ = false;
    anchor_ = Screen;
    return;
  }
  if (code_ == 0) return;
  const int dx = Screen.X - anchor_.X, dy = Screen.Y - anchor_.Y;
  vcl::TRect r = start_;
  if (moving_) {
    r = vcl::Rect(r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy);
  } else {
    if (DragsLeft(code_)) r.Left = std::min(r.Left + dx, r.Right - min_size_.cx);
    if (DragsRight(code_)) r.Right = std::max(r.Right + dx, r.Left + min_size_.cx);
    if (DragsTop(code_)) r.Top = std::min(r.Top + dy, r.Bottom - min_size_.cy);
    if (DragsBottom(code_)) r.Bottom = std::max(r.Bottom + dy, r.Top + min_size_.cy);
  }
  if (drawn_ && r == frame_) return;
  if (drawn_) Draw();  // erases the outline drawn last
  frame_ = r;
  Draw();
}

vcl::TRect TsRubberFrame::Finish() {
  if (drawn_) Draw();
  escape_hook_.reset();
  const vcl::TRect result = frame_;
  // Not running any more before the capture goes: its loss would cancel the frame again.
  const HWND wnd = std::exchange(wnd_, nullptr);
  code_ = 0;
  moving_ = first_move_ = false;
  if (wnd && GetCapture() == wnd) ReleaseCapture();
  return result;
}

// An inverted halftone outline: drawing it twice at one place leaves the desktop as it was.
void TsRubberFrame::Draw() {
  vcl::WindowDC screen(nullptr);
  if (!screen.get()) return;
  static const WORD kPattern[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  const vcl::UniqueBitmap pattern(CreateBitmap(8, 8, 1, 1, kPattern));
  const vcl::UniqueBrush brush(pattern ? CreatePatternBrush(pattern.get()) : nullptr);
  const vcl::SelectGuard select(screen.get(), brush.get());
  const vcl::TRect& r = frame_;
  const int w = r.Width(), h = r.Height(), t = kOutlineWidth;
  HDC dc = screen.get();
  PatBlt(dc, r.Left, r.Top, w, t, PATINVERT);
  PatBlt(dc, r.Left, r.Bottom - t, w, t, PATINVERT);
  PatBlt(dc, r.Left, r.Top + t, t, h - 2 * t, PATINVERT);
  PatBlt(dc, r.Right - t, r.Top + t, t, h - 2 * t, PATINVERT);
  drawn_ = !drawn_;
}

}  // namespace skin_layered
