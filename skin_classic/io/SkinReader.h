// The classic skin package: a 32-bit unpacked size, then an LZHUF stream that unpacks to
// a header, the entry names, their sizes and the entries' bytes back to back.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skin_classic {

enum class SkinLoadResult {
  Loaded,
  OlderSkinFile,  // a well-formed package with a tag this reader does not know
  Malformed,      // sizes or counts that do not fit the bytes given
  Truncated,      // the compressed stream ends before its declared unpacked size
};

struct SkinPackageHeader {
  std::int32_t tag = 0;
  std::int32_t nameTextLength = 0;
  std::array<std::uint8_t, 8> reserved{};
};

struct SkinEntry {
  std::string_view name;               // as stored: lower case
  std::span<const std::uint8_t> bytes;  // valid until the next successful Load
};

class TSkinReader {
 public:
  static constexpr std::size_t kMaxEntries = 1001;
  static constexpr std::int64_t kMaxUnpackedSize = 64 * 1024 * 1024;

  // Reads a whole package (from its first byte). On any result but Loaded the reader
  // keeps what it held before and Fault() says what is wrong. Throws ElzhException when the
  // decoder cannot get its tables.
  SkinLoadResult Load(std::span<const std::uint8_t> package);
  // What the last Load found wrong, in words that end "the package is damaged: ..." (say
  // "its data ends before its declared size"); empty after a load that succeeded.
  const std::string& Fault() const { return fault_; }

  // The first entry whose name equals `name` lower-cased (ASCII).
  std::optional<SkinEntry> Extract(std::string_view name) const;
  // The first entry, in package order, whose name contains `fragment` (case-sensitive).
  std::optional<SkinEntry> ExtractByExt(std::string_view fragment) const;

  const std::vector<std::string>& Names() const { return names_; }
  std::size_t Count() const { return names_.size(); }
  std::span<const std::int32_t> Sizes() const { return sizes_; }
  const SkinPackageHeader& Header() const { return header_; }
  std::span<const std::uint8_t> Data() const {
    return std::span<const std::uint8_t>(unpacked_).subspan(data_offset_);
  }

  // The block after the header that a format skips, or nullopt for an unknown tag.
  static std::optional<std::size_t> SkippedBlockSize(std::int32_t tag);

 private:
  template <class Match>
  std::optional<SkinEntry> FindFirst(Match&& match) const;

  std::vector<std::string> names_;
  std::vector<std::int32_t> sizes_;
  std::vector<std::uint8_t> unpacked_;  // the whole unpacked package
  std::size_t data_offset_ = 0;          // where its data part starts
  SkinPackageHeader header_;
  std::string fault_;
};

}  // namespace skin_classic
