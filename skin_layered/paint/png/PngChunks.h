// Walks the chunks of a PNG held in memory: headers, data with their CRC, skipping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace skin_layered {

// A chunk type: its four name bytes read big-endian.
using TChunkType = std::uint32_t;

constexpr TChunkType MakeChunkType(const char (&name)[5]) {
  return static_cast<TChunkType>(static_cast<std::uint8_t>(name[0])) << 24 |
         static_cast<TChunkType>(static_cast<std::uint8_t>(name[1])) << 16 |
         static_cast<TChunkType>(static_cast<std::uint8_t>(name[2])) << 8 |
         static_cast<TChunkType>(static_cast<std::uint8_t>(name[3]));
}

inline constexpr TChunkType ctIHDR = MakeChunkType("IHDR");
inline constexpr TChunkType ctIDAT = MakeChunkType("IDAT");
inline constexpr TChunkType ctIEND = MakeChunkType("IEND");
inline constexpr TChunkType ctPLTE = MakeChunkType("PLTE");
inline constexpr TChunkType ctgAMA = MakeChunkType("gAMA");
inline constexpr TChunkType ctbKGD = MakeChunkType("bKGD");
inline constexpr TChunkType cttRNS = MakeChunkType("tRNS");

inline constexpr std::uint8_t kPngSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// Chunk names compare without regard to letter case.
constexpr bool IsChunk(TChunkType a, TChunkType b) { return ((a ^ b) & 0xDFDFDFDFu) == 0; }

constexpr std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
         static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

constexpr std::uint16_t ReadBigEndian16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

class TPngChunkReader {
 public:
  explicit TPngChunkReader(std::span<const std::uint8_t> data, std::size_t position = 0)
      : data_(data), position_(position <= data.size() ? position : data.size()) {}

  // True when the next 8 bytes are the PNG signature; moves past them.
  bool ReadSignature();
  // Reads the next chunk header. False, without moving, when the header is cut off or its
  // length is above 2^31-1 or beyond the bytes left for the data and its CRC.
  bool ReadChunkHeader();
  // The data of the current chunk; moves past it and its CRC. Raises the CRC error.
  // Both this and SkipChunk are for a header just read (std::logic_error otherwise).
  std::span<const std::uint8_t> ReadChunkData();
  // The same without raising: false (having moved past the chunk) when the CRC is wrong.
  bool TryReadChunkData(std::span<const std::uint8_t>& data);
  // Moves past the current chunk's data and CRC without checking them.
  void SkipChunk();

  TChunkType Type() const { return type_; }
  std::uint32_t Length() const { return length_; }
  bool Is(TChunkType type) const { return IsChunk(type_, type); }
  // Critical when bit 5 of the first name byte is clear.
  bool IsCritical() const { return (type_ & 0x20000000u) == 0; }
  std::size_t Position() const { return position_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t position_;
  TChunkType type_ = 0;
  std::uint32_t length_ = 0;
  std::uint32_t currentCrc_ = 0;
  bool dataPending_ = false;  // a header was read and its data not yet passed
};

}  // namespace skin_layered
