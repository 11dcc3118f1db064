// CRC-32 of PNG chunks (reflected polynomial 0xEDB88320, start and final XOR 0xFFFFFFFF).
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace skin_layered {

using TCrcTable = std::array<std::uint32_t, 256>;

// The byte table, built once from the polynomial's exponent list on first use.
const TCrcTable& PngMakeCrcTable();

// Continues a running CRC (not yet XORed at the end) over the bytes.
std::uint32_t PngUpdateCrc(std::uint32_t crc, std::span<const std::uint8_t> bytes);

// The finished CRC-32 of the bytes.
inline std::uint32_t PngCrc(std::span<const std::uint8_t> bytes) {
  return PngUpdateCrc(0xFFFFFFFFu, bytes) ^ 0xFFFFFFFFu;
}

}  // namespace skin_layered
