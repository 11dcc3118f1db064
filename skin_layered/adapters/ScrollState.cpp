#include "skin_layered/adapters/ScrollState.h"

#include <utility>

namespace skin_layered {
namespace {

struct TQueries {
  TqvCursorQuery Cursor;
  TqvButtonQuery Button;
};

TQueries& Queries() {
  static TQueries queries;
  return queries;
}

}  // namespace

TqvScrollState& ScrollState() {
  static TqvScrollState state;
  return state;
}

TqvCursorQuery SetScrollCursorQuery(TqvCursorQuery Query) { return std::exchange(Queries().Cursor, std::move(Query)); }
TqvButtonQuery SetScrollButtonQuery(TqvButtonQuery Query) { return std::exchange(Queries().Button, std::move(Query)); }

POINT AdapterCursorPos() {
  if (Queries().Cursor) return Queries().Cursor();
  POINT p{};
  GetCursorPos(&p);
  return p;
}

bool AdapterLeftButtonDown() {
  if (Queries().Button) return Queries().Button();
  // The physical button that acts as the left one.
  return (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
}

}  // namespace skin_layered
