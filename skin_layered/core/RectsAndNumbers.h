// Rectangles, sizes and integers as the layered engine's painting code uses them. Header
// only; no windows.h of its own (the rectangle types convert to Win32's where it is there).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>

#include "classlib/rtl/Types.h"

namespace skin_layered {

constexpr vcl::TRect MkRect(int Left, int Top, int Right, int Bottom) { return {Left, Top, Right, Bottom}; }
constexpr void MkRectLTRB(int Left, int Top, int Right, int Bottom, vcl::TRect& R) { R = {Left, Top, Right, Bottom}; }
constexpr vcl::TSize MkSize(int cx, int cy) { return {cx, cy}; }

// Right - Left / Bottom - Top; with CheckNegative a negative extent counts as 0.
constexpr int WidthOf(const vcl::TRect& R, bool CheckNegative = false) {
  const int w = R.Right - R.Left;
  return CheckNegative && w < 0 ? 0 : w;
}
constexpr int HeightOf(const vcl::TRect& R, bool CheckNegative = false) {
  const int h = R.Bottom - R.Top;
  return CheckNegative && h < 0 ? 0 : h;
}

// False when R2 is empty or lies wholly above, left of, right of or below R1 (rectangles
// that only touch are apart).
constexpr bool RectsOverlap(const vcl::TRect& R1, const vcl::TRect& R2) {
  if (R2.IsEmpty()) return false;
  return !(R2.Bottom <= R1.Top || R2.Right <= R1.Left || R2.Left >= R1.Right || R2.Top >= R1.Bottom);
}

// The overlap, not normalised: an inverted rectangle when they do not overlap.
constexpr void RectIntersection(const vcl::TRect& R1, const vcl::TRect& R2, vcl::TRect& R) {
  R = {R1.Left > R2.Left ? R1.Left : R2.Left, R1.Top > R2.Top ? R1.Top : R2.Top,
       R1.Right < R2.Right ? R1.Right : R2.Right, R1.Bottom < R2.Bottom ? R1.Bottom : R2.Bottom};
}

constexpr int IntMax(int A, int B) { return A > B ? A : B; }
constexpr int IntMin(int A, int B) { return A < B ? A : B; }
// The lower bound is tested first: LimitIt(5, 10, 0) is 10.
constexpr int LimitIt(int Value, int Min, int Max) { return Value < Min ? Min : IntMin(Value, Max); }
// Value between A and B inclusive, whichever is the larger.
constexpr bool Between(int Value, int A, int B) { return A <= B ? Value >= A && Value <= B : Value >= B && Value <= A; }
constexpr void SwapInt(int& A, int& B) { std::swap(A, B); }
constexpr int IffInt(bool Cond, int A, int B) { return Cond ? A : B; }
inline std::wstring IffStr(bool Cond, const std::wstring& A, const std::wstring& B) { return Cond ? A : B; }

// Value equals one of the entries First..Last (within the array); false when Last < First.
constexpr bool IntInArray(int Value, std::span<const std::int32_t> Array, std::uint8_t First, std::uint8_t Last) {
  for (std::size_t i = First; i <= Last && i < Array.size(); ++i)
    if (Array[i] == Value) return true;
  return false;
}

}  // namespace skin_layered
