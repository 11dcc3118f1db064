#include "tools/layeredpack/LayeredPackWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace layeredpack {

namespace {

void Put32(Bytes& out, std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

}  // namespace

Bytes BytesOf(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes ZlibCompress(std::span<const std::uint8_t> data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  Bytes out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

Bytes WritePack(const std::vector<PackEntrySpec>& entries, bool extended, std::optional<std::int32_t> declaredCount) {
  Bytes out = BytesOf(extended ? "PMzg" : "PMzf");
  Put32(out, declaredCount.value_or(static_cast<std::int32_t>(entries.size())));
  if (extended) out.insert(out.end(), {0x12, 0x34});
  for (const PackEntrySpec& e : entries) {
    Put32(out, static_cast<std::int32_t>(e.name.size()));
    out.insert(out.end(), e.name.begin(), e.name.end());
    Put32(out, e.declaredSize.value_or(static_cast<std::int32_t>(e.data.size())));
    const Bytes stream = e.stream ? *e.stream : ZlibCompress(e.data);
    out.insert(out.end(), stream.begin(), stream.end());
  }
  return out;
}

}  // namespace layeredpack
