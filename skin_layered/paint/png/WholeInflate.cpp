#include "skin_layered/paint/png/WholeInflate.h"

#include <memory>

#include <libdeflate.h>

namespace skin_layered {
namespace {

struct TFreeDecompressor {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

// One inflater per thread, made on first use: images are often small, and the engine loads
// many of them in a row.
libdeflate_decompressor* Decompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, TFreeDecompressor> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

}  // namespace

std::optional<std::size_t> InflateWhole(std::span<const std::uint8_t> in, std::span<std::uint8_t> out) {
  libdeflate_decompressor* d = Decompressor();
  if (d == nullptr) return std::nullopt;
  std::size_t used = 0, produced = 0;
  const libdeflate_result result =
      libdeflate_zlib_decompress_ex(d, in.data(), in.size(), out.data(), out.size(), &used, &produced);
  if (result != LIBDEFLATE_SUCCESS || produced != out.size()) return std::nullopt;
  return used;
}

}  // namespace skin_layered
