// Types of the skin tables that the byte-level painting code shares (no windows.h).
#pragma once

#include <cstdint>
#include <vector>

namespace skin_layered {

// One stop of a multi-stop gradient (parsed from a state's gradient text by the painting
// layer): its share of the painted extent (0..100), running from Color1 to Color2 (colour
// values, red in the low byte, system colours resolved), and the painting mode, of which
// only the first stop's counts (0 vertical, 1 horizontal, 2 the five-point mesh).
struct TsGradStop {
  std::uint32_t Color1 = 0;
  std::uint32_t Color2 = 0;
  std::uint8_t Percent = 0;
  std::int32_t Mode = 0;
};
using TsGradArray = std::vector<TsGradStop>;

}  // namespace skin_layered
