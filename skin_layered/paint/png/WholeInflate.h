// Inflates a whole zlib stream held in memory into a buffer of known size, in one call
// through libdeflate: the fast road for image data that is complete and sound. Anything
// else (a stream that is damaged, ends early or runs on) is left to the streaming inflater,
// which knows how to report it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace skin_layered {

// Fills Out exactly from the zlib stream at the start of In and returns how many bytes of
// In the stream took (its checksum included). Nullopt when the stream is damaged, ends
// before Out is full or holds more than Out, or when the inflater cannot be had; Out's
// content is then undefined.
std::optional<std::size_t> InflateWhole(std::span<const std::uint8_t> in, std::span<std::uint8_t> out);

}  // namespace skin_layered
