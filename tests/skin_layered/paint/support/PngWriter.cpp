#include "skin_layered/paint/support/PngWriter.h"

#include <cstdlib>
#include <stdexcept>

#include <zlib.h>

namespace skin_layered::test {
namespace {

unsigned ChannelsOf(std::uint8_t colorType) {
  switch (colorType) {
    case 2: return 3;
    case 4: return 2;
    case 6: return 4;
    default: return 1;
  }
}

std::uint32_t Hash(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  if (pb <= pc) return static_cast<std::uint8_t>(b);
  return static_cast<std::uint8_t>(c);
}

// Encoder side of the filters: raw and prior are unfiltered rows.
std::vector<std::uint8_t> FilterRow(int type, const std::vector<std::uint8_t>& raw,
                                    const std::vector<std::uint8_t>& prior, std::size_t bpp) {
  std::vector<std::uint8_t> out(raw.size() + 1);
  out[0] = static_cast<std::uint8_t>(type);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const int a = i >= bpp ? raw[i - bpp] : 0;
    const int b = prior[i];
    const int c = i >= bpp ? prior[i - bpp] : 0;
    int predictor = 0;
    switch (type) {
      case 1: predictor = a; break;
      case 2: predictor = b; break;
      case 3: predictor = (a + b) / 2; break;
      case 4: predictor = Paeth(a, b, c); break;
      default: break;
    }
    out[i + 1] = static_cast<std::uint8_t>(raw[i] - predictor);
  }
  return out;
}

struct Pass {
  std::uint32_t rowStart, columnStart, rowStep, columnStep;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {0, 4, 8, 8}, {4, 0, 8, 4}, {0, 2, 4, 4},
                            {2, 0, 4, 2}, {0, 1, 2, 2}, {1, 0, 2, 1}};

}  // namespace

SampleImage::SampleImage(std::uint32_t width, std::uint32_t height, std::uint8_t colorType, std::uint8_t bitDepth)
    : width_(width), height_(height), colorType_(colorType), bitDepth_(bitDepth), channels_(ChannelsOf(colorType)),
      samples_(std::size_t{width} * height * ChannelsOf(colorType)) {}

SampleImage SampleImage::Pattern(std::uint32_t width, std::uint32_t height, std::uint8_t colorType,
                                 std::uint8_t bitDepth, std::uint32_t seed) {
  SampleImage image(width, height, colorType, bitDepth);
  const std::uint32_t max = (1u << bitDepth) - 1;
  for (std::uint32_t y = 0; y < height; ++y)
    for (std::uint32_t x = 0; x < width; ++x)
      for (unsigned c = 0; c < image.channels_; ++c)
        image.Set(x, y, c, static_cast<std::uint16_t>(Hash(seed * 0x9E3779B9u + (y * 65537u + x) * 4 + c) & max));
  return image;
}

std::uint16_t SampleImage::At(std::uint32_t x, std::uint32_t y, unsigned channel) const {
  return samples_.at((std::size_t{y} * width_ + x) * channels_ + channel);
}

void SampleImage::Set(std::uint32_t x, std::uint32_t y, unsigned channel, std::uint16_t value) {
  samples_.at((std::size_t{y} * width_ + x) * channels_ + channel) = value;
}

std::size_t SampleImage::FilterBpp() const {
  const std::size_t bits = std::size_t{channels_} * bitDepth_;
  return bits < 8 ? 1 : bits / 8;
}

std::vector<std::uint8_t> SampleImage::PackRow(std::uint32_t y, std::uint32_t first, std::uint32_t step) const {
  std::vector<std::uint8_t> row;
  std::uint32_t acc = 0;
  unsigned bits = 0;
  for (std::uint32_t x = first; x < width_; x += step) {
    for (unsigned c = 0; c < channels_; ++c) {
      const std::uint16_t v = At(x, y, c);
      if (bitDepth_ == 16) {
        row.push_back(static_cast<std::uint8_t>(v >> 8));
        row.push_back(static_cast<std::uint8_t>(v));
      } else if (bitDepth_ == 8) {
        row.push_back(static_cast<std::uint8_t>(v));
      } else {
        acc = (acc << bitDepth_) | v;
        bits += bitDepth_;
        if (bits == 8) {
          row.push_back(static_cast<std::uint8_t>(acc));
          acc = 0;
          bits = 0;
        }
      }
    }
  }
  if (bits != 0) row.push_back(static_cast<std::uint8_t>(acc << (8 - bits)));
  return row;
}

std::vector<std::uint8_t> FilteredImageData(const SampleImage& image, FilterChoice filter, bool interlaced) {
  std::vector<std::uint8_t> out;
  int rowNumber = 0;
  auto emitPass = [&](std::uint32_t rowStart, std::uint32_t columnStart, std::uint32_t rowStep,
                      std::uint32_t columnStep) {
    if (image.Width() <= columnStart) return;
    std::vector<std::uint8_t> prior;
    for (std::uint32_t y = rowStart; y < image.Height(); y += rowStep) {
      const auto raw = image.PackRow(y, columnStart, columnStep);
      if (prior.empty()) prior.assign(raw.size(), 0);
      std::vector<std::uint8_t> filtered;
      if (filter == FilterChoice::Adaptive) {
        long best = -1;
        for (int type = 0; type < 5; ++type) {
          auto candidate = FilterRow(type, raw, prior, image.FilterBpp());
          long cost = 0;
          for (std::size_t i = 1; i < candidate.size(); ++i) cost += std::abs(static_cast<std::int8_t>(candidate[i]));
          if (best < 0 || cost < best) {
            best = cost;
            filtered = std::move(candidate);
          }
        }
      } else {
        const int type = filter == FilterChoice::Cycle ? rowNumber % 5 : static_cast<int>(filter);
        filtered = FilterRow(type, raw, prior, image.FilterBpp());
      }
      ++rowNumber;
      out.insert(out.end(), filtered.begin(), filtered.end());
      prior = raw;
    }
  };
  if (interlaced) {
    for (const Pass& p : kAdam7) emitPass(p.rowStart, p.columnStart, p.rowStep, p.columnStep);
  } else {
    emitPass(0, 0, 1, 1);
  }
  return out;
}

std::vector<std::uint8_t> Deflate(std::span<const std::uint8_t> data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(size);
  if (compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level) != Z_OK)
    throw std::runtime_error("compress2 failed");
  out.resize(size);
  return out;
}

PngChunk Chunk(std::string_view type, std::vector<std::uint8_t> data) {
  return PngChunk{std::string(type), std::move(data), std::nullopt};
}

std::vector<std::uint8_t> Be16(std::initializer_list<std::uint16_t> values) {
  std::vector<std::uint8_t> out;
  for (std::uint16_t v : values) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
  }
  return out;
}

std::vector<std::uint8_t> Be32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
}

std::vector<std::uint8_t> IhdrData(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                                   std::uint8_t colorType, std::uint8_t interlace, std::uint8_t compression) {
  auto out = Be32(width);
  const auto h = Be32(height);
  out.insert(out.end(), h.begin(), h.end());
  out.insert(out.end(), {bitDepth, colorType, compression, 0, interlace});
  return out;
}

PngChunk PaletteChunk(std::span<const std::array<std::uint8_t, 3>> colors) {
  std::vector<std::uint8_t> data;
  for (const auto& c : colors) data.insert(data.end(), c.begin(), c.end());
  return Chunk("PLTE", std::move(data));
}

std::vector<PngChunk> SplitIdat(std::span<const std::uint8_t> compressed, std::span<const std::size_t> sizes) {
  std::vector<PngChunk> chunks;
  std::size_t at = 0;
  for (std::size_t size : sizes) {
    const std::size_t take = std::min(size, compressed.size() - at);
    chunks.push_back(Chunk("IDAT", {compressed.begin() + at, compressed.begin() + at + take}));
    at += take;
  }
  if (sizes.empty() || at < compressed.size())
    chunks.push_back(Chunk("IDAT", {compressed.begin() + at, compressed.end()}));
  return chunks;
}

std::vector<PngChunk> MakeChunks(const SampleImage& image, const PngOptions& options) {
  std::vector<PngChunk> chunks;
  chunks.push_back(Chunk("IHDR", IhdrData(image.Width(), image.Height(), image.BitDepth(), image.ColorType(),
                                          options.interlaced ? 1 : 0)));
  chunks.insert(chunks.end(), options.beforeImage.begin(), options.beforeImage.end());
  const auto compressed = Deflate(FilteredImageData(image, options.filter, options.interlaced), options.level);
  for (auto& c : SplitIdat(compressed, options.idatSizes)) chunks.push_back(std::move(c));
  chunks.insert(chunks.end(), options.afterImage.begin(), options.afterImage.end());
  chunks.push_back(Chunk("IEND"));
  return chunks;
}

std::vector<std::uint8_t> Serialize(std::span<const PngChunk> chunks) {
  std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  for (const PngChunk& c : chunks) {
    if (c.type.size() != 4) throw std::invalid_argument("chunk type must have four letters");
    const auto length = Be32(static_cast<std::uint32_t>(c.data.size()));
    out.insert(out.end(), length.begin(), length.end());
    const std::size_t typeAt = out.size();
    out.insert(out.end(), c.type.begin(), c.type.end());
    out.insert(out.end(), c.data.begin(), c.data.end());
    const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    const auto stored = Be32(c.crc.value_or(static_cast<std::uint32_t>(crc)));
    out.insert(out.end(), stored.begin(), stored.end());
  }
  return out;
}

std::vector<std::uint8_t> WritePng(const SampleImage& image, const PngOptions& options) {
  return Serialize(MakeChunks(image, options));
}

std::vector<NamedPng> SeedPngs() {
  std::vector<NamedPng> seeds;
  auto palette = [](unsigned count) {
    std::vector<std::array<std::uint8_t, 3>> colors;
    for (unsigned i = 0; i < count; ++i)
      colors.push_back({static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 11)});
    return colors;
  };
  const struct {
    std::uint8_t colorType;
    std::vector<std::uint8_t> depths;
  } kinds[] = {{0, {1, 2, 4, 8, 16}}, {2, {8, 16}}, {3, {1, 2, 4, 8}}, {4, {8, 16}}, {6, {8, 16}}};
  int n = 0;
  for (const auto& kind : kinds) {
    for (std::uint8_t depth : kind.depths) {
      for (bool interlaced : {false, true}) {
        const auto image = SampleImage::Pattern(interlaced ? 9 : 7, 5, kind.colorType, depth, ++n);
        PngOptions options;
        options.interlaced = interlaced;
        options.filter = FilterChoice::Cycle;
        if (kind.colorType == 3) {
          const auto colors = palette(1u << depth);
          options.beforeImage.push_back(PaletteChunk(colors));
          options.beforeImage.push_back(Chunk("tRNS", {0, 128, 255}));
          options.beforeImage.push_back(Chunk("bKGD", {1}));
        } else if (kind.colorType == 0) {
          options.beforeImage.push_back(Chunk("tRNS", Be16({1})));
          options.beforeImage.push_back(Chunk("bKGD", Be16({0})));
        } else if (kind.colorType == 2) {
          options.beforeImage.push_back(Chunk("gAMA", Be32(100000)));
          options.beforeImage.push_back(Chunk("tRNS", Be16({1, 2, 3})));
          options.beforeImage.push_back(Chunk("bKGD", Be16({10, 20, 30})));
        } else {
          options.beforeImage.push_back(Chunk("gAMA", Be32(45455)));
        }
        if (interlaced) options.idatSizes = {5, 0, 7};
        options.afterImage.push_back(Chunk("tEXt", {'k', 0, 'v'}));
        seeds.push_back({"ct" + std::to_string(kind.colorType) + "_d" + std::to_string(depth) +
                             (interlaced ? "_adam7" : "") + ".png",
                         WritePng(image, options)});
      }
    }
  }
  return seeds;
}

}  // namespace skin_layered::test
