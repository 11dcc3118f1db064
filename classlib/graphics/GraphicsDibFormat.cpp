#include "classlib/graphics/GraphicsDibFormat.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>

namespace vcl::dib {

namespace {

constexpr uint32_t kBiRgb = 0, kBiRle8 = 1, kBiRle4 = 2, kBiBitfields = 3, kBiAlphaBitfields = 6;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kBrokenData = SIZE_MAX;

// Little-endian reads from a span whose bounds the caller has checked.
uint16_t U16(std::span<const uint8_t> d, size_t at) { return static_cast<uint16_t>(d[at] | (d[at + 1] << 8)); }
uint32_t U32(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
int32_t I32(std::span<const uint8_t> d, size_t at) { return static_cast<int32_t>(U32(d, at)); }

void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Bytes of one source row of bitCount bits per pixel, padded to 4.
size_t SourceStride(int bitCount, int width) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
}

// One colour channel of a bit-field pixel, scaled to 0..255. A channel of contiguous bits
// only; the header check rejects others.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m) {
    if (m != 0) {
      shift = std::countr_zero(m);
      max = m >> shift;
    }
  }
  uint8_t Take(uint32_t pixel) const {
    if (max == 0) return 0;
    const uint64_t v = (pixel & mask) >> shift;
    return static_cast<uint8_t>((v * 255 + max / 2) / max);
  }
};

bool Contiguous(uint32_t mask) {
  if (mask == 0) return true;
  const uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

Layout LayoutForBitFields(int bitCount, const uint32_t (&m)[4]) {
  if (bitCount == 16 && m[3] == 0) {
    if (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F) return Layout::Rgb555;
    if (m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F) return Layout::Rgb565;
  }
  if (bitCount == 32 || m[3] != 0) return Layout::Bgra32;
  return Layout::Bgr24;
}

// 32-bit pictures whose bytes are already blue, green, red, alpha.
bool IsPlainBgra(const BmpHeader& h) {
  if (h.bitCount != 32) return false;
  if (h.compression == kBiRgb) return true;
  return h.masks[0] == 0xFF0000 && h.masks[1] == 0xFF00 && h.masks[2] == 0xFF &&
         (h.masks[3] == 0 || h.masks[3] == 0xFF000000u);
}

uint8_t Expand5(uint32_t v) { return static_cast<uint8_t>((v << 3) | (v >> 2)); }
uint8_t Expand6(uint32_t v) { return static_cast<uint8_t>((v << 2) | (v >> 4)); }

// Nearest colour of a palette, with a one-entry memory for runs of equal pixels.
class NearestColour {
 public:
  explicit NearestColour(std::span<const Rgbq> palette) : palette_(palette) {}
  uint8_t Find(Rgbq c) {
    if (has_last_ && c.r == last_.r && c.g == last_.g && c.b == last_.b) return last_index_;
    int best = 0;
    int best_d = 1 << 30;
    for (size_t i = 0; i < palette_.size() && i < 256; ++i) {
      const int dr = c.r - palette_[i].r, dg = c.g - palette_[i].g, db = c.b - palette_[i].b;
      const int d = dr * dr + dg * dg + db * db;
      if (d < best_d) {
        best_d = d;
        best = static_cast<int>(i);
        if (d == 0) break;
      }
    }
    last_ = c;
    last_index_ = static_cast<uint8_t>(best);
    has_last_ = true;
    return last_index_;
  }

 private:
  std::span<const Rgbq> palette_;
  Rgbq last_;
  uint8_t last_index_ = 0;
  bool has_last_ = false;
};

// Sets one pixel of an indexed bottom-up destination row.
void PutIndex(uint8_t* row, int bits, int x, uint8_t index) {
  if (bits == 8) {
    row[x] = index;
  } else {  // 4 bits
    uint8_t& b = row[x / 2];
    if (x % 2 == 0)
      b = static_cast<uint8_t>((b & 0x0F) | ((index & 0x0F) << 4));
    else
      b = static_cast<uint8_t>((b & 0xF0) | (index & 0x0F));
  }
}

// Run-length pixels (RLE8 with bits 8, RLE4 with bits 4). Writes stay inside the picture;
// the data may end early (the rest stays as it is).
size_t DecodeRunLength(std::span<const uint8_t> src, size_t start, size_t end, const BmpHeader& h,
                       std::span<uint8_t> dest, size_t stride, int bits) {
  size_t p = start;
  int x = 0, y = 0;
  auto put = [&](uint8_t index) {
    if (x < h.width && y < h.height) PutIndex(dest.data() + static_cast<size_t>(y) * stride, bits, x, index);
    ++x;
  };
  while (p + 2 <= end && y < h.height) {
    const uint8_t count = src[p], value = src[p + 1];
    p += 2;
    if (count > 0) {
      for (int i = 0; i < count && x < h.width; ++i)
        put(bits == 8 ? value : static_cast<uint8_t>(i % 2 == 0 ? value >> 4 : value & 0x0F));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of picture
      break;
    } else if (value == 2) {  // move
      if (p + 2 > end) break;
      x += src[p];
      y += src[p + 1];
      p += 2;
    } else {  // literal run of `value` pixels, padded to a 16-bit boundary
      const size_t bytes = bits == 8 ? value : (static_cast<size_t>(value) + 1) / 2;
      if (p + bytes > end) return kBrokenData;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = src[p + (bits == 8 ? i : i / 2)];
        put(bits == 8 ? b : static_cast<uint8_t>(i % 2 == 0 ? b >> 4 : b & 0x0F));
      }
      p += bytes + (bytes & 1);
    }
  }
  return std::min(p, end);
}

}  // namespace

int BitsPerPixel(Layout layout) {
  switch (layout) {
    case Layout::Mono1: return 1;
    case Layout::Indexed4: return 4;
    case Layout::Indexed8: return 8;
    case Layout::Rgb555:
    case Layout::Rgb565: return 16;
    case Layout::Bgr24: return 24;
    case Layout::Bgra32: return 32;
  }
  return 32;
}

int PaletteSize(Layout layout) {
  switch (layout) {
    case Layout::Mono1: return 2;
    case Layout::Indexed4: return 16;
    case Layout::Indexed8: return 256;
    default: return 0;
  }
}

size_t RowStride(Layout layout, int width) {
  if (width < 1 || width > kMaxSide) return 0;
  return SourceStride(BitsPerPixel(layout), width);
}

std::vector<Rgbq> DefaultPalette(Layout layout) {
  static constexpr uint8_t kVga[16][3] = {
      {0, 0, 0},       {0x80, 0, 0},    {0, 0x80, 0},    {0x80, 0x80, 0}, {0, 0, 0x80},    {0x80, 0, 0x80},
      {0, 0x80, 0x80}, {0xC0, 0xC0, 0xC0}, {0x80, 0x80, 0x80}, {0xFF, 0, 0}, {0, 0xFF, 0},    {0xFF, 0xFF, 0},
      {0, 0, 0xFF},    {0xFF, 0, 0xFF}, {0, 0xFF, 0xFF}, {0xFF, 0xFF, 0xFF}};
  std::vector<Rgbq> pal;
  auto rgb = [](int r, int g, int b) {
    return Rgbq{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
  };
  switch (layout) {
    case Layout::Mono1:
      pal = {rgb(0, 0, 0), rgb(255, 255, 255)};
      break;
    case Layout::Indexed4:
    case Layout::Indexed8:
      for (auto& c : kVga) pal.push_back(rgb(c[0], c[1], c[2]));
      if (layout == Layout::Indexed8) {
        for (int r = 0; r < 6; ++r)
          for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) pal.push_back(rgb(r * 51, g * 51, b * 51));
        for (int i = 0; i < 24; ++i) {
          const int v = 8 + i * 10;
          pal.push_back(rgb(v, v, v));
        }
      }
      break;
    default:
      break;
  }
  return pal;
}

std::optional<BmpHeader> ReadBmpHeader(std::span<const uint8_t> data, bool withFileHeader) {
  size_t info = 0;
  uint32_t offBits = 0;
  if (withFileHeader) {
    if (data.size() < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') return std::nullopt;
    offBits = U32(data, 10);
    info = kFileHeaderSize;
  }
  if (data.size() < info + 4) return std::nullopt;
  const uint32_t headerSize = U32(data, info);
  if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    return std::nullopt;
  if (data.size() - info < headerSize) return std::nullopt;

  BmpHeader h;
  int64_t width = 0, height = 0;
  unsigned planes = 0;
  uint32_t colorsUsed = 0;
  size_t entrySize = 4;
  if (headerSize == 12) {
    width = U16(data, info + 4);
    height = U16(data, info + 6);
    planes = U16(data, info + 8);
    h.bitCount = U16(data, info + 10);
    entrySize = 3;
  } else {
    width = I32(data, info + 4);
    height = I32(data, info + 8);
    planes = U16(data, info + 12);
    h.bitCount = U16(data, info + 14);
    h.compression = U32(data, info + 16);
    colorsUsed = U32(data, info + 32);
    if (headerSize >= 52) {
      h.masks[0] = U32(data, info + 40);
      h.masks[1] = U32(data, info + 44);
      h.masks[2] = U32(data, info + 48);
    }
    if (headerSize >= 56) h.masks[3] = U32(data, info + 52);
  }
  if (planes != 1) return std::nullopt;
  h.topDown = height < 0;
  if (height < 0) height = -height;
  if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    return std::nullopt;
  h.width = static_cast<int>(width);
  h.height = static_cast<int>(height);

  const int bits = h.bitCount;
  switch (h.compression) {
    case kBiRgb:
      if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
      break;
    case kBiRle8:
    case kBiRle4:
      if (bits != (h.compression == kBiRle8 ? 8 : 4) || h.topDown) return std::nullopt;
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (bits != 16 && bits != 32) return std::nullopt;
      break;
    default:
      return std::nullopt;  // JPEG, PNG and unknown compressions
  }

  // Bit fields of a 40-byte header follow it (three masks, four with alpha).
  size_t tableStart = info + headerSize;
  if (headerSize == 40 && (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields)) {
    const size_t count = h.compression == kBiAlphaBitfields ? 4 : 3;
    if (data.size() < tableStart + 4 * count) return std::nullopt;
    for (size_t i = 0; i < count; ++i) h.masks[i] = U32(data, tableStart + 4 * i);
    tableStart += 4 * count;
  }
  if (h.compression == kBiRgb) {
    // Masks of a longer header mean nothing without bit-field compression.
    for (auto& m : h.masks) m = 0;
  } else if (h.compression == kBiBitfields || h.compression == kBiAlphaBitfields) {
    for (int i = 0; i < 4; ++i) {
      if (!Contiguous(h.masks[i])) return std::nullopt;
      if (bits == 16 && h.masks[i] > 0xFFFF) return std::nullopt;
    }
    if (h.compression == kBiBitfields && headerSize < 56) h.masks[3] = 0;
  }

  // Colour table: indexed pictures use up to 2^bits entries; others may carry an unused one.
  size_t entries = 0;
  if (bits <= 8) {
    const size_t full = size_t{1} << bits;
    entries = colorsUsed == 0 ? full : std::min<size_t>(colorsUsed, full);
  } else {
    entries = colorsUsed;
  }
  if (entries > (data.size() - std::min(data.size(), tableStart)) / entrySize) {
    // A table running past the data is broken unless the file header's pixel offset
    // tells a shorter one.
    if (!withFileHeader || offBits <= tableStart || offBits > data.size()) return std::nullopt;
    entries = (offBits - tableStart) / entrySize;
  }
  if (withFileHeader && offBits >= tableStart && offBits < tableStart + entries * entrySize)
    entries = (offBits - tableStart) / entrySize;
  const size_t tableEnd = tableStart + entries * entrySize;

  if (bits <= 8) {
    h.layout = bits == 1 ? Layout::Mono1 : bits == 4 ? Layout::Indexed4 : Layout::Indexed8;
    h.palette.assign(static_cast<size_t>(PaletteSize(h.layout)), Rgbq{});
    for (size_t i = 0; i < entries && i < h.palette.size(); ++i) {
      const size_t at = tableStart + i * entrySize;
      h.palette[i] = Rgbq{data[at], data[at + 1], data[at + 2], 0};
    }
  } else if (bits == 16 && h.compression == kBiRgb) {
    h.layout = Layout::Rgb555;
  } else if (bits == 24) {
    h.layout = Layout::Bgr24;
  } else if (bits == 32 && h.compression == kBiRgb) {
    h.layout = Layout::Bgra32;
  } else {
    h.layout = LayoutForBitFields(bits, h.masks);
  }

  // The file header's pixel offset counts unless it points into the headers (some writers
  // leave it 0); pointing past the data is broken.
  h.pixelOffset = tableEnd;
  if (withFileHeader && offBits >= tableEnd) h.pixelOffset = offBits;
  if (h.pixelOffset > data.size()) return std::nullopt;
  h.pixelBytes = data.size() - h.pixelOffset;

  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    if (h.pixelBytes < 2) return std::nullopt;
    // A few bytes cannot describe an enormous picture in earnest.
    if (width * height > static_cast<int64_t>(h.pixelBytes) * 4096) return std::nullopt;
  } else {
    // Every row must be there; the last one may lack its padding.
    const size_t stride = SourceStride(bits, h.width);
    const size_t last = (static_cast<size_t>(h.width) * static_cast<size_t>(bits) + 7) / 8;
    const size_t need = stride * static_cast<size_t>(h.height - 1) + last;
    if (h.pixelBytes < need) return std::nullopt;
    h.pixelBytes = std::min(h.pixelBytes, stride * static_cast<size_t>(h.height));
  }
  return h;
}

std::optional<size_t> DecodeBmpPixels(std::span<const uint8_t> data, const BmpHeader& h,
                                      std::span<uint8_t> dest) {
  const size_t stride = RowStride(h.layout, h.width);
  if (stride == 0 || dest.size() < stride * static_cast<size_t>(h.height)) return std::nullopt;
  if (h.pixelOffset > data.size() || data.size() - h.pixelOffset < h.pixelBytes) return std::nullopt;
  const size_t end = h.pixelOffset + h.pixelBytes;

  if (h.compression == kBiRle8 || h.compression == kBiRle4) {
    const size_t stop = DecodeRunLength(data, h.pixelOffset, end, h, dest, stride, h.compression == kBiRle8 ? 8 : 4);
    if (stop == kBrokenData) return std::nullopt;
    return stop;
  }

  const size_t srcStride = SourceStride(h.bitCount, h.width);
  const size_t rowBytes = (static_cast<size_t>(h.width) * static_cast<size_t>(h.bitCount) + 7) / 8;
  const bool direct = (h.bitCount <= 8 || h.bitCount == 24 || IsPlainBgra(h) ||
                       (h.bitCount == 16 && (h.layout == Layout::Rgb555 || h.layout == Layout::Rgb565)));
  std::vector<Rgbq> pixels;
  const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]), alpha(h.masks[3]);
  if (!direct) pixels.resize(static_cast<size_t>(h.width));

  for (int y = 0; y < h.height; ++y) {
    const size_t srcAt = h.pixelOffset + srcStride * static_cast<size_t>(y);
    const size_t avail = std::min(rowBytes, end - std::min(end, srcAt));  // last row may lack padding only
    if (avail < rowBytes) return std::nullopt;
    const uint8_t* src = data.data() + srcAt;
    const int destRow = h.topDown ? h.height - 1 - y : y;
    uint8_t* out = dest.data() + stride * static_cast<size_t>(destRow);
    if (direct) {
      std::memcpy(out, src, rowBytes);
      continue;
    }
    for (int x = 0; x < h.width; ++x) {
      const uint32_t v = h.bitCount == 16 ? static_cast<uint32_t>(src[2 * x] | (src[2 * x + 1] << 8))
                                          : U32(std::span<const uint8_t>(src, rowBytes), 4 * static_cast<size_t>(x));
      pixels[static_cast<size_t>(x)] = Rgbq{blue.Take(v), green.Take(v), red.Take(v), alpha.Take(v)};
    }
    BgraToRow(h.layout, pixels.data(), h.width, {}, out);
  }
  return h.pixelOffset + std::min(h.pixelBytes, srcStride * static_cast<size_t>(h.height));
}

std::vector<uint8_t> BmpFileHeaders(Layout layout, int width, int height, std::span<const Rgbq> palette) {
  const size_t stride = RowStride(layout, width);
  const size_t imageSize = stride * static_cast<size_t>(std::max(height, 0));
  const bool fields = layout == Layout::Rgb565;
  const size_t colours = PaletteSize(layout) == 0 ? 0 : std::min<size_t>(palette.size(), PaletteSize(layout));
  const size_t offBits = kFileHeaderSize + kInfoHeaderSize + (fields ? 12 : 0) + 4 * colours;

  std::vector<uint8_t> out;
  out.reserve(offBits);
  out.push_back('B');
  out.push_back('M');
  Put32(out, static_cast<uint32_t>(offBits + imageSize));
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(offBits));
  Put32(out, kInfoHeaderSize);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint16_t>(BitsPerPixel(layout)));
  Put32(out, fields ? kBiBitfields : kBiRgb);
  Put32(out, static_cast<uint32_t>(imageSize));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, static_cast<uint32_t>(colours));
  Put32(out, 0);
  if (fields) {
    Put32(out, 0xF800);
    Put32(out, 0x07E0);
    Put32(out, 0x001F);
  }
  for (size_t i = 0; i < colours; ++i) {
    out.push_back(palette[i].b);
    out.push_back(palette[i].g);
    out.push_back(palette[i].r);
    out.push_back(0);
  }
  return out;
}

void RowToBgra(Layout layout, const uint8_t* row, int width, std::span<const Rgbq> palette, Rgbq* out) {
  auto entry = [&](unsigned i) {
    Rgbq c = i < palette.size() ? palette[i] : Rgbq{};
    c.a = 0;
    return c;
  };
  for (int x = 0; x < width; ++x) {
    switch (layout) {
      case Layout::Mono1:
        out[x] = entry((row[x / 8] >> (7 - x % 8)) & 1);
        break;
      case Layout::Indexed4:
        out[x] = entry(x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
        break;
      case Layout::Indexed8:
        out[x] = entry(row[x]);
        break;
      case Layout::Rgb555: {
        const uint32_t v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
        out[x] = Rgbq{Expand5(v & 0x1F), Expand5((v >> 5) & 0x1F), Expand5((v >> 10) & 0x1F), 0};
        break;
      }
      case Layout::Rgb565: {
        const uint32_t v = static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
        out[x] = Rgbq{Expand5(v & 0x1F), Expand6((v >> 5) & 0x3F), Expand5((v >> 11) & 0x1F), 0};
        break;
      }
      case Layout::Bgr24:
        out[x] = Rgbq{row[3 * x], row[3 * x + 1], row[3 * x + 2], 0};
        break;
      case Layout::Bgra32:
        out[x] = Rgbq{row[4 * x], row[4 * x + 1], row[4 * x + 2], row[4 * x + 3]};
        break;
    }
  }
}

void BgraToRow(Layout layout, const Rgbq* in, int width, std::span<const Rgbq> palette, uint8_t* row) {
  NearestColour nearest(palette);
  for (int x = 0; x < width; ++x) {
    const Rgbq c = in[x];
    switch (layout) {
      case Layout::Mono1: {
        const uint8_t bit = static_cast<uint8_t>(0x80 >> (x % 8));
        if (nearest.Find(c) & 1)
          row[x / 8] |= bit;
        else
          row[x / 8] &= static_cast<uint8_t>(~bit);
        break;
      }
      case Layout::Indexed4:
        PutIndex(row, 4, x, nearest.Find(c));
        break;
      case Layout::Indexed8:
        row[x] = nearest.Find(c);
        break;
      case Layout::Rgb555: {
        const uint32_t v = ((c.r >> 3) << 10) | ((c.g >> 3) << 5) | (c.b >> 3);
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
      }
      case Layout::Rgb565: {
        const uint32_t v = ((c.r >> 3) << 11) | ((c.g >> 2) << 5) | (c.b >> 3);
        row[2 * x] = static_cast<uint8_t>(v);
        row[2 * x + 1] = static_cast<uint8_t>(v >> 8);
        break;
      }
      case Layout::Bgr24:
        row[3 * x] = c.b;
        row[3 * x + 1] = c.g;
        row[3 * x + 2] = c.r;
        break;
      case Layout::Bgra32:
        row[4 * x] = c.b;
        row[4 * x + 1] = c.g;
        row[4 * x + 2] = c.r;
        row[4 * x + 3] = c.a;
        break;
    }
  }
}

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

// Checks one icon image: a PNG (read by the system) or a DIB with colour rows and a
// 1-bit mask of half its stated height. Fills the entry's real size and depth.
bool CheckIconImage(std::span<const uint8_t> image, IconEntry& e) {
  if (image.size() >= 8 && std::memcmp(image.data(), kPngSignature, 8) == 0) {
    if (image.size() < 24 || std::memcmp(image.data() + 12, "IHDR", 4) != 0) return false;
    auto be32 = [&](size_t at) {
      return (static_cast<uint32_t>(image[at]) << 24) | (static_cast<uint32_t>(image[at + 1]) << 16) |
             (static_cast<uint32_t>(image[at + 2]) << 8) | image[at + 3];
    };
    const uint32_t w = be32(16), h = be32(20);
    if (w < 1 || h < 1 || w > 1024 || h > 1024) return false;
    e.width = static_cast<int>(w);
    e.height = static_cast<int>(h);
    e.png = true;
    return true;
  }
  if (image.size() < kInfoHeaderSize || U32(image, 0) < kInfoHeaderSize || U32(image, 0) > image.size())
    return false;
  const int32_t width = I32(image, 4), height2 = I32(image, 8);
  const int bits = U16(image, 14);
  const uint32_t compression = U32(image, 16);
  if (U16(image, 12) != 1 || width < 1 || width > 1024 || height2 < 2 || height2 > 2048 || height2 % 2 != 0)
    return false;
  if ((bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) || compression != kBiRgb)
    return false;
  const int height = height2 / 2;
  size_t colours = 0;
  if (bits <= 8) {
    const uint32_t used = U32(image, 32);
    colours = used == 0 || used > (1u << bits) ? (size_t{1} << bits) : used;
  }
  const size_t need = U32(image, 0) + 4 * colours + SourceStride(bits, width) * static_cast<size_t>(height) +
                      SourceStride(1, width) * static_cast<size_t>(height);
  if (need > image.size()) return false;
  e.width = width;
  e.height = height;
  e.bitCount = bits;
  return true;
}

}  // namespace

std::optional<std::vector<IconEntry>> ReadIconDirectory(std::span<const uint8_t> data) {
  if (data.size() < 6 || U16(data, 0) != 0 || U16(data, 2) != 1) return std::nullopt;
  const size_t count = U16(data, 4);
  if (count == 0 || data.size() < 6 + 16 * count) return std::nullopt;
  std::vector<IconEntry> entries;
  entries.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const size_t at = 6 + 16 * i;
    IconEntry e;
    e.width = data[at] == 0 ? 256 : data[at];
    e.height = data[at + 1] == 0 ? 256 : data[at + 1];
    e.bitCount = U16(data, at + 6);
    e.size = U32(data, at + 8);
    e.offset = U32(data, at + 12);
    if (e.offset > data.size() || e.size > data.size() - e.offset) return std::nullopt;
    if (!CheckIconImage(data.subspan(e.offset, e.size), e)) return std::nullopt;
    entries.push_back(e);
  }
  return entries;
}

size_t BestIconEntry(std::span<const IconEntry> entries, int wantWidth, int wantHeight) {
  size_t best = 0;
  int64_t bestScore = INT64_MAX;
  for (size_t i = 0; i < entries.size(); ++i) {
    const IconEntry& e = entries[i];
    const int64_t distance = std::abs(e.width - wantWidth) + std::abs(e.height - wantHeight);
    const int64_t score = distance * 64 - (e.png ? 32 : e.bitCount);
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

}  // namespace vcl::dib
