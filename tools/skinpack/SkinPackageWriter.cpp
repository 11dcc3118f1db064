#include "tools/skinpack/SkinPackageWriter.h"

#include "tools/skinpack/LzhufEncoder.h"

namespace skinpack {

ByteWriter& ByteWriter::Int32(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<std::uint8_t>(u >> shift));
  return *this;
}

ByteWriter& ByteWriter::Bytes(std::span<const std::uint8_t> bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

ByteWriter& ByteWriter::Text(std::string_view text) {
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

ByteWriter& ByteWriter::Fill(std::size_t count, std::uint8_t value) {
  bytes_.insert(bytes_.end(), count, value);
  return *this;
}

std::size_t SkippedBlockBytes(std::int32_t tag) {
  switch (tag) {
    case 30000: return 256;
    case 40000: return 80;
    case 50000: return 48;
    case 60000: return 117;
    case 70000: return 69;
    default: return 0;
  }
}

std::string NameText(const PackageSpec& spec) {
  std::string text;
  for (std::size_t i = 0; i < spec.entries.size(); ++i) {
    if (i) text += spec.lineBreak;
    text += spec.entries[i].name;
  }
  if (spec.finalLineBreak) text += spec.lineBreak;
  return text;
}

std::vector<std::uint8_t> BuildUnpackedPackage(const PackageSpec& spec) {
  const std::string names = NameText(spec);
  ByteWriter w;
  w.Int32(spec.tag).Int32(static_cast<std::int32_t>(names.size())).Bytes(spec.reserved);
  w.Fill(SkippedBlockBytes(spec.tag), spec.skippedFill).Text(names);
  for (const PackageEntry& e : spec.entries) w.Int32(static_cast<std::int32_t>(e.bytes.size()));
  for (const PackageEntry& e : spec.entries) w.Bytes(e.bytes);
  return w.Take();
}

std::vector<std::uint8_t> PackPackage(std::span<const std::uint8_t> unpacked, std::int32_t declaredSize) {
  ByteWriter w;
  w.Int32(declaredSize).Bytes(LzhufEncode(unpacked));
  return w.Take();
}

std::vector<std::uint8_t> PackPackage(std::span<const std::uint8_t> unpacked) {
  return PackPackage(unpacked, static_cast<std::int32_t>(unpacked.size()));
}

std::vector<std::uint8_t> BuildPackage(const PackageSpec& spec) { return PackPackage(BuildUnpackedPackage(spec)); }

std::vector<std::uint8_t> ToBytes(std::string_view text) { return {text.begin(), text.end()}; }

}  // namespace skinpack
