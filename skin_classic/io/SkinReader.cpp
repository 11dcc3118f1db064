#include "skin_classic/io/SkinReader.h"

#include <algorithm>
#include <utility>

#include "skin_classic/io/AsciiText.h"
#include "skin_classic/io/SkinLzh.h"

namespace skin_classic {
namespace {

constexpr std::size_t kHeaderSize = 16;

std::int32_t ReadInt32(std::span<const std::uint8_t> bytes, std::size_t at) {
  const std::uint32_t v = std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 |
                          std::uint32_t{bytes[at + 2]} << 16 | std::uint32_t{bytes[at + 3]} << 24;
  return static_cast<std::int32_t>(v);
}

// Splits at CR LF, LF or CR; a final line break ends the last line rather than starting
// an empty one. Gives nullopt as soon as there are more than `maxLines` lines.
std::optional<std::vector<std::string>> SplitLines(std::string_view text, std::size_t maxLines) {
  std::vector<std::string> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    if (lines.size() == maxLines) return std::nullopt;
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    lines.emplace_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == '\r') ++pos;
    if (pos < text.size() && text[pos] == '\n') ++pos;
  }
  return lines;
}

// Room left in `bytes` after `pos` (none when `pos` lies past the end).
std::size_t Remaining(std::span<const std::uint8_t> bytes, std::size_t pos) {
  return pos <= bytes.size() ? bytes.size() - pos : 0;
}

}  // namespace

std::optional<std::size_t> TSkinReader::SkippedBlockSize(std::int32_t tag) {
  switch (tag) {
    case 20000: return 0;
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return std::nullopt;
  }
}

SkinLoadResult TSkinReader::Load(std::span<const std::uint8_t> package) {
  auto fail = [this](SkinLoadResult result, std::string fault) {
    fault_ = std::move(fault);
    return result;
  };
  auto malformed = [&](std::string fault) { return fail(SkinLoadResult::Malformed, std::move(fault)); };
  if (package.size() < 4)
    return malformed("its " + std::to_string(package.size()) + " bytes are too few to give its unpacked size");
  const std::int64_t unpackedSize = ReadInt32(package, 0);
  const auto stream = package.subspan(4);
  // The size comes from the file: never allocate for more than the stream can hold.
  if (unpackedSize < 0) return malformed("it gives an unpacked size of " + std::to_string(unpackedSize) + " bytes");
  if (unpackedSize > kMaxUnpackedSize)
    return malformed("it gives an unpacked size of " + std::to_string(unpackedSize) + " bytes, more than the " +
                     std::to_string(kMaxUnpackedSize >> 20) + " MB a skin package may hold");
  if (static_cast<std::uint64_t>(unpackedSize) > TLZH::MaxExpansion(stream.size()))
    return malformed("it gives an unpacked size of " + std::to_string(unpackedSize) + " bytes, more than its " +
                     std::to_string(stream.size()) + " packed bytes can hold");

  bool exhausted = false;
  std::vector<std::uint8_t> unpacked = LzhDecodeBytes(stream, static_cast<std::size_t>(unpackedSize), &exhausted);
  // What would be decoded past the end is made up: no part of it is trusted.
  if (exhausted) return fail(SkinLoadResult::Truncated, "its data ends before its declared size");
  const std::span<const std::uint8_t> bytes(unpacked);
  if (bytes.size() < kHeaderSize)
    return malformed("it unpacks to " + std::to_string(bytes.size()) + " bytes, too few for its " +
                     std::to_string(kHeaderSize) + "-byte header");

  SkinPackageHeader header;
  header.tag = ReadInt32(bytes, 0);
  header.nameTextLength = ReadInt32(bytes, 4);
  std::copy_n(bytes.begin() + 8, header.reserved.size(), header.reserved.begin());

  const auto skipped = SkippedBlockSize(header.tag);
  if (!skipped)
    return fail(SkinLoadResult::OlderSkinFile, "its format " + std::to_string(header.tag) + " is not one this engine reads");
  std::size_t pos = kHeaderSize + *skipped;
  if (pos > bytes.size())
    return malformed("its header of format " + std::to_string(header.tag) + " takes " + std::to_string(pos) +
                     " bytes, more than the " + std::to_string(bytes.size()) + " it unpacks to");

  if (header.nameTextLength < 0)
    return malformed("its list of names claims " + std::to_string(header.nameTextLength) + " bytes");
  if (static_cast<std::size_t>(header.nameTextLength) > Remaining(bytes, pos))
    return malformed("its list of names claims " + std::to_string(header.nameTextLength) + " bytes, more than the " +
                     std::to_string(Remaining(bytes, pos)) + " left");
  const std::string_view text(reinterpret_cast<const char*>(bytes.data() + pos),
                              static_cast<std::size_t>(header.nameTextLength));
  auto names = SplitLines(LowerAscii(text), kMaxEntries);
  if (!names) return malformed("it names more than " + std::to_string(kMaxEntries) + " entries");
  pos += text.size();

  const std::size_t count = names->size();
  if (count * 4 > Remaining(bytes, pos))
    return malformed("the sizes of its " + std::to_string(count) + " entries take more than the " +
                     std::to_string(Remaining(bytes, pos)) + " bytes left");
  std::vector<std::int32_t> sizes(count);
  for (std::size_t i = 0; i < count; ++i) sizes[i] = ReadInt32(bytes, pos + 4 * i);
  pos += count * 4;

  // Every entry must lie inside the data part, so extraction never has to check again.
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < count; ++i) {
    if (sizes[i] < 0)
      return malformed("entry " + std::to_string(i + 1) + " of " + std::to_string(count) + " (" +
                       QuotedName((*names)[i]) + ") claims " + std::to_string(sizes[i]) + " bytes");
    total += static_cast<std::uint64_t>(sizes[i]);
  }
  if (total > Remaining(bytes, pos))
    return malformed("its entries claim " + std::to_string(total) + " bytes, more than the " +
                     std::to_string(Remaining(bytes, pos)) + " bytes of its data");

  fault_.clear();
  names_ = std::move(*names);
  sizes_ = std::move(sizes);
  unpacked_ = std::move(unpacked);
  data_offset_ = pos;
  header_ = header;
  return SkinLoadResult::Loaded;
}

template <class Match>
std::optional<SkinEntry> TSkinReader::FindFirst(Match&& match) const {
  const auto data = Data();
  std::size_t offset = 0;
  for (std::size_t i = 0; i < names_.size(); ++i) {
    const auto size = static_cast<std::size_t>(sizes_[i]);
    if (size > Remaining(data, offset)) return std::nullopt;  // cannot happen after Load
    if (match(names_[i])) return SkinEntry{names_[i], data.subspan(offset, size)};
    offset += size;
  }
  return std::nullopt;
}

std::optional<SkinEntry> TSkinReader::Extract(std::string_view name) const {
  const std::string wanted = LowerAscii(name);
  return FindFirst([&](const std::string& entry) { return entry == wanted; });
}

std::optional<SkinEntry> TSkinReader::ExtractByExt(std::string_view fragment) const {
  return FindFirst([&](const std::string& entry) { return entry.find(fragment) != std::string::npos; });
}

}  // namespace skin_classic
