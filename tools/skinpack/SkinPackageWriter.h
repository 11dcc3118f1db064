// Builds classic skin packages (the sample skin at build time, synthetic ones in tests): the
// unpacked layout (tag, name-text length, reserved bytes, the tag's skipped block, names,
// sizes, data) and the packed form (the unpacked size followed by its LZHUF stream).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skinpack {

// Little-endian field writer (tests also make malformed packages with it).
class ByteWriter {
 public:
  ByteWriter& Int32(std::int32_t v);
  ByteWriter& Bytes(std::span<const std::uint8_t> bytes);
  ByteWriter& Text(std::string_view text);
  ByteWriter& Fill(std::size_t count, std::uint8_t value);
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};

struct PackageEntry {
  std::string name;
  std::vector<std::uint8_t> bytes;
};

struct PackageSpec {
  std::int32_t tag = 20000;
  std::vector<PackageEntry> entries;
  std::string lineBreak = "\r\n";
  bool finalLineBreak = false;
  std::array<std::uint8_t, 8> reserved{};
  std::uint8_t skippedFill = 0xA5;
};

// Bytes of the block a format skips after the header (0 for tags it does not know).
std::size_t SkippedBlockBytes(std::int32_t tag);

std::string NameText(const PackageSpec& spec);
std::vector<std::uint8_t> BuildUnpackedPackage(const PackageSpec& spec);
// The packed form declaring the unpacked bytes' own size.
std::vector<std::uint8_t> PackPackage(std::span<const std::uint8_t> unpacked);
// The packed form declaring any size.
std::vector<std::uint8_t> PackPackage(std::span<const std::uint8_t> unpacked, std::int32_t declaredSize);
std::vector<std::uint8_t> BuildPackage(const PackageSpec& spec);

std::vector<std::uint8_t> ToBytes(std::string_view text);

}  // namespace skinpack
