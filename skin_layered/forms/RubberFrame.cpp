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

// The edges of R a point beyond it has crossed (a corner's code for two); 0 inside.
int CrossedEdges(const vcl::TRect& R, vcl::TPoint P) {
  const bool left = P.X < R.Left, right = P.X >= R.Right, top = P.Y < R.Top, bottom = P.Y >= R.Bottom;
  if (top) return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
  if (bottom) return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
  return left ? HTLEFT : right ? HTRIGHT : 0;
}

const wchar_t* SizingCursor(int Code) {
  switch (Code) {
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    default: return IDC_SIZENESW;
  }
}

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

void TsRubberFrame::Start(HWND Wnd, int HitCode, const void* Owner, TAccept Accept) {
  if (Running()) Finish();
  RECT r{};
  if (!Wnd || !GetWindowRect(Wnd, &r)) return;
  wnd_ = Wnd;
  start_ = frame_ = vcl::TRect(r);
  min_size_ = SmallestSize(Wnd);
  first_move_ = true;
  drawn_ = false;
  keyboard_side_ = false;
  code_ = HitCode;
  moving_ = HitCode != 0 && !IsSizingHitCode(HitCode);
  owner_ = Owner;
  accept_ = std::move(Accept);
  SetCapture(Wnd);
  keyboard_hook_.reset(SetWindowsHookExW(WH_KEYBOARD, &KeyboardHook, nullptr, GetCurrentThreadId()));
  if (HitCode == 0) {
    // As the system's sizing does, the pointer waits in the middle of the window for the edge
    // it goes to.
    PlacePointer(vcl::TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2));
    SetCursor(LoadCursorW(nullptr, IDC_SIZEALL));
  }
}

LRESULT CALLBACK TsRubberFrame::KeyboardHook(int Code, WPARAM Key, LPARAM Flags) {
  // Bit 31 of the flags: the key goes up.
  const bool down = (static_cast<DWORD>(Flags) & 0x80000000u) == 0;
  TsRubberFrame& frame = RubberFrame();
  if (Code == HC_ACTION && down && frame.Running()) {
    switch (Key) {
      case VK_ESCAPE: frame.Cancel(); return 1;
      case VK_RETURN: frame.Accept(); return 1;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN: frame.Arrow(Key); return 1;
      default: break;
    }
  }
  return CallNextHookEx(nullptr, Code, Key, Flags);
}

void TsRubberFrame::PickEdge(int HitCode, vcl::TPoint At) {
  if (!Running() || code_ != 0 || !IsSizingHitCode(HitCode)) return;
  code_ = HitCode;
  moving_ = false;
  start_ = frame_;
  // The dragged edges come under the point (the right and bottom ones by their last pixel).
  anchor_ = vcl::TPoint(DragsLeft(code_) ? start_.Left : DragsRight(code_) ? start_.Right - 1 : At.X,
                        DragsTop(code_) ? start_.Top : DragsBottom(code_) ? start_.Bottom - 1 : At.Y);
  first_move_ = false;
  SetCursor(LoadCursorW(nullptr, SizingCursor(code_)));
}

void TsRubberFrame::MouseMove(vcl::TPoint Screen) {
  if (!Running()) return;
  // Each placement of the pointer comes back as moves there, possibly after later ones (the
  // display answers late, and more than once): one a later placement superseded is no move.
  if (const auto echo = std::find(placed_.rbegin(), placed_.rend(), Screen);
      echo != placed_.rend() && echo != placed_.rbegin())
    return;
  last_ = Screen;
  // The size command's pointer leaving the outline picks the edges it crossed.
  if (code_ == 0) PickEdge(CrossedEdges(frame_, Screen), Screen);
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

void TsRubberFrame::PlacePointer(vcl::TPoint At) {
  last_ = At;
  if (placed_.size() >= kPlacedKept) placed_.erase(placed_.begin());
  placed_.push_back(At);
  SetCursorPos(At.X, At.Y);
}

void TsRubberFrame::Arrow(WPARAM Key) {
  const bool horizontal = Key == VK_LEFT || Key == VK_RIGHT;
  const int side = Key == VK_LEFT ? HTLEFT : Key == VK_RIGHT ? HTRIGHT : Key == VK_UP ? HTTOP : HTBOTTOM;
  const vcl::TRect& f = frame_;
  if (code_ == 0) {
    // The first arrow picks its side: the pointer goes onto its middle, the outline shows.
    const vcl::TPoint middle((f.Left + f.Right) / 2, (f.Top + f.Bottom) / 2);
    const vcl::TPoint at(side == HTLEFT ? f.Left : side == HTRIGHT ? f.Right - 1 : middle.X,
                         side == HTTOP ? f.Top : side == HTBOTTOM ? f.Bottom - 1 : middle.Y);
    PickEdge(side, at);
    keyboard_side_ = true;
    PlacePointer(at);
    if (!drawn_) Draw();
    return;
  }
  const bool acrossSide = keyboard_side_ && (horizontal ? code_ == HTTOP || code_ == HTBOTTOM
                                                        : code_ == HTLEFT || code_ == HTRIGHT);
  if (acrossSide) {
    // An arrow across the side picked takes its corner: the pointer goes onto it.
    const bool top = code_ == HTTOP || side == HTTOP;
    const bool left = code_ == HTLEFT || side == HTLEFT;
    const int corner = top ? (left ? HTTOPLEFT : HTTOPRIGHT) : (left ? HTBOTTOMLEFT : HTBOTTOMRIGHT);
    const vcl::TPoint at(left ? f.Left : f.Right - 1, top ? f.Top : f.Bottom - 1);
    code_ = 0;
    PickEdge(corner, at);
    keyboard_side_ = false;
    PlacePointer(at);
    return;
  }
  if (first_move_) {
    POINT cursor{};
    GetCursorPos(&cursor);
    first_move_ = false;
    anchor_ = last_ = vcl::TPoint(cursor);
  }
  const vcl::TPoint to(last_.X + (Key == VK_LEFT ? -kKeyStep : Key == VK_RIGHT ? kKeyStep : 0),
                       last_.Y + (Key == VK_UP ? -kKeyStep : Key == VK_DOWN ? kKeyStep : 0));
  PlacePointer(to);
  MouseMove(to);
}

void TsRubberFrame::Accept() {
  if (!accept_) return Cancel();
  // Finishing the frame lets the callback go.
  const TAccept accept = accept_;
  accept();
}

void TsRubberFrame::CancelFor(const void* Owner) {
  if (Running() && owner_ == Owner) Cancel();
}

vcl::TRect TsRubberFrame::Finish() {
  if (drawn_) Draw();
  keyboard_hook_.reset();
  const vcl::TRect result = frame_;
  // Not running any more before the capture goes: its loss would cancel the frame again.
  const HWND wnd = std::exchange(wnd_, nullptr);
  code_ = 0;
  moving_ = first_move_ = keyboard_side_ = false;
  owner_ = nullptr;
  accept_ = nullptr;
  placed_.clear();
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
