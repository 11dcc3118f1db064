#include "skin_layered/adapters/ScrollGeometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace skin_layered {

int MulDivSafe(int A, int B, int C) {
  if (C == 0) return 0;
  const std::int64_t product = static_cast<std::int64_t>(A) * B;
  const bool negative = (product < 0) != (C < 0);
  const std::uint64_t p = static_cast<std::uint64_t>(product < 0 ? -product : product);
  const std::uint64_t c = static_cast<std::uint64_t>(C < 0 ? -static_cast<std::int64_t>(C) : C);
  const std::int64_t q = static_cast<std::int64_t>((p + c / 2) / c);
  return static_cast<int>(
      std::clamp<std::int64_t>(negative ? -q : q, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

bool ScrollRangeActive(const SCROLLINFO& Info) {
  return Info.nMax >= static_cast<int>(Info.nPage) && Info.nMax > Info.nMin && Info.nMax != 0;
}

TqvThumb ThumbGeometry(int BarStart, int BarLength, int Button, int MinThumb, const SCROLLINFO& Info) {
  const std::int64_t range64 = static_cast<std::int64_t>(Info.nMax) - Info.nMin + 1;
  const int range = static_cast<int>(std::clamp<std::int64_t>(range64, 0, std::numeric_limits<int>::max()));
  const int page = static_cast<int>(std::min<UINT>(Info.nPage, std::numeric_limits<int>::max()));
  const int room = BarLength - 2 * Button;
  int length;
  if (page == 0)
    length = std::max(Button, MinThumb);
  else if (range > 0)
    length = MulDivSafe(page, room, range);
  else
    length = room;  // nothing to scroll: the thumb takes the room
  if (Button == 0 && length < 19)
    length = 19;
  else if (length < MinThumb)
    length = MinThumb;
  int position = 0;
  if (range > 0) {
    const int free = room - length;
    position = MulDivSafe(static_cast<int>(std::clamp<std::int64_t>(static_cast<std::int64_t>(Info.nPos) - Info.nMin,
                                                                    0, std::numeric_limits<int>::max())),
                          free, range - std::max(1, page));
    position = std::clamp(position, 0, std::max(0, free));
  }
  return {length, BarStart + Button + position};
}

int ScrollHitPart(int BarStart, int BarLength, int CrossStart, int CrossEnd, int Along, int Across, int Button,
                  int MinThumb, const SCROLLINFO& Info) {
  if (Across < CrossStart || Across >= CrossEnd) return kPartNone;
  const int end = BarStart + BarLength;
  const int arrow = BarLength <= 2 * Button ? BarLength / 2 : Button;
  if (Along >= BarStart && Along < BarStart + arrow) return kPartFirstArrow;
  if (Along >= end - arrow && Along < end) return kPartSecondArrow;
  const TqvThumb thumb = ThumbGeometry(BarStart, BarLength, Button, MinThumb, Info);
  if (thumb.Start >= end - Button) return kPartNone;
  if (Along >= thumb.Start && Along < thumb.Start + thumb.Length) return kPartThumb;
  if (Along >= BarStart + Button && Along < thumb.Start) return kPartPageBefore;
  if (Along >= thumb.Start + thumb.Length && Along < end - Button) return kPartPageAfter;
  return kPartNone;
}

int ThumbDragPosition(int Offset, int RoomLength, int ThumbLength, const SCROLLINFO& Info) {
  const int page = static_cast<int>(std::clamp<UINT>(Info.nPage, 1, std::numeric_limits<int>::max()));
  const std::int64_t span64 = static_cast<std::int64_t>(Info.nMax) - Info.nMin - page + 1;
  const int span = static_cast<int>(std::clamp<std::int64_t>(span64, 0, std::numeric_limits<int>::max()));
  const int track = RoomLength - ThumbLength;
  if (track <= 0 || span == 0) return Info.nMin;
  const int share = MulDivSafe(std::clamp(Offset, 0, track), span, track);
  return static_cast<int>(std::min<std::int64_t>(static_cast<std::int64_t>(Info.nMin) + share,
                                                 static_cast<std::int64_t>(Info.nMin) + span));
}

}  // namespace skin_layered
