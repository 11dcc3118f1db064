// Points, sizes and rectangles with the library's field names, convertible to and from the
// Win32 POINT, SIZE and RECT (same layout: four 32-bit integers).
#pragma once

#include <algorithm>
#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vcl {

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;

  constexpr TPoint() = default;
  constexpr TPoint(int32_t x, int32_t y) : X(x), Y(y) {}
  constexpr bool operator==(const TPoint&) const = default;
#ifdef _WIN32
  constexpr TPoint(const POINT& p) : X(p.x), Y(p.y) {}
  constexpr operator POINT() const { return POINT{X, Y}; }
  POINT* AsPOINT() { return reinterpret_cast<POINT*>(this); }
  const POINT* AsPOINT() const { return reinterpret_cast<const POINT*>(this); }
#endif
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;

  constexpr TSize() = default;
  constexpr TSize(int32_t w, int32_t h) : cx(w), cy(h) {}
  constexpr bool operator==(const TSize&) const = default;
#ifdef _WIN32
  constexpr TSize(const SIZE& s) : cx(s.cx), cy(s.cy) {}
  constexpr operator SIZE() const { return SIZE{cx, cy}; }
#endif
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  constexpr TRect() = default;
  constexpr TRect(int32_t l, int32_t t, int32_t r, int32_t b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(TPoint topLeft, TPoint bottomRight)
      : Left(topLeft.X), Top(topLeft.Y), Right(bottomRight.X), Bottom(bottomRight.Y) {}
  constexpr bool operator==(const TRect&) const = default;

  constexpr int32_t Width() const { return Right - Left; }
  constexpr int32_t Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  // True when the rectangle has no area (also for inverted rectangles).
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Right and bottom edges are outside, as in Win32's PtInRect.
  constexpr bool Contains(TPoint p) const { return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom; }
  constexpr void Offset(int32_t dx, int32_t dy) { Left += dx; Right += dx; Top += dy; Bottom += dy; }
  constexpr void Inflate(int32_t dx, int32_t dy) { Left -= dx; Right += dx; Top -= dy; Bottom += dy; }

#ifdef _WIN32
  constexpr TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  constexpr operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
  RECT* AsRECT() { return reinterpret_cast<RECT*>(this); }
  const RECT* AsRECT() const { return reinterpret_cast<const RECT*>(this); }
#endif
};

#ifdef _WIN32
static_assert(sizeof(TRect) == sizeof(RECT) && sizeof(TPoint) == sizeof(POINT) && sizeof(TSize) == sizeof(SIZE));
#endif

constexpr TPoint Point(int32_t x, int32_t y) { return {x, y}; }
constexpr TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return {left, top, right, bottom}; }
constexpr TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

// The overlap of two rectangles; false (and an all-zero result) when they do not overlap.
constexpr bool IntersectRect(TRect& out, const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
  if (r.IsEmpty()) {
    out = TRect{};
    return false;
  }
  out = r;
  return true;
}

}  // namespace vcl
