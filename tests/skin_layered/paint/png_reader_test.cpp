// The PNG reader over PNGs made by the test writer: every colour type, depth, filter and
// interlace, the ancillary chunks, the error texts and the bounds on hostile input; the chunk
// CRC and the row filters on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include <zlib.h>

#include "skin_layered/paint/png/LZ77Decoder.h"
#include "skin_layered/paint/png/PngCrc.h"
#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngFilters.h"
#include "skin_layered/paint/png/PngReader.h"
#include "skin_layered/paint/support/PngWriter.h"

namespace skin_layered::test {
namespace {

TPngPixelBuffer Decode(const std::vector<std::uint8_t>& png,
                       TPngPixelBuffer::TRowOrder order = TPngPixelBuffer::TRowOrder::TopDown) {
  TPngPixelBuffer bitmap(order);
  TPNGReader reader;
  reader.LoadFromBytes(png, bitmap);
  return bitmap;
}

std::uint8_t To8(std::uint16_t v, std::uint8_t depth) {
  return depth == 16 ? static_cast<std::uint8_t>(v * 255u / 65535u) : static_cast<std::uint8_t>(v);
}

std::vector<std::uint8_t> PackBits(const std::vector<unsigned>& values, unsigned bits) {
  std::vector<std::uint8_t> out((values.size() * bits + 7) / 8);
  for (std::size_t i = 0; i < values.size(); ++i) {
    const std::size_t bit = i * bits;
    out[bit / 8] |= static_cast<std::uint8_t>(values[i] << (8 - bits - bit % 8));
  }
  return out;
}

// Row bytes with the unused low bits of a packed row's last byte cleared (they keep the
// background fill).
std::vector<std::uint8_t> PixelBits(std::span<const std::uint8_t> row, std::uint32_t width, TPixelLayout format) {
  std::vector<std::uint8_t> out(row.begin(), row.end());
  const unsigned used = static_cast<unsigned>(std::uint64_t{width} * BitsPerPixel(format) % 8);
  if (used != 0 && !out.empty()) out.back() &= static_cast<std::uint8_t>(0xFF00u >> used);
  return out;
}

// The bitmap row the reader should make of row Y: grey and palette pixels as indices (2-bit
// values spread to 4 bits as 5v), colours as blue, green, red (and alpha), 16-bit samples
// scaled to 8 bits, the alpha of grey-with-alpha dropped.
std::vector<std::uint8_t> ExpectedRow(const SampleImage& image, std::uint32_t y) {
  const std::uint8_t depth = image.BitDepth();
  std::vector<std::uint8_t> row;
  std::vector<unsigned> indices;
  for (std::uint32_t x = 0; x < image.Width(); ++x) {
    switch (image.ColorType()) {
      case 0:
      case 3:
        indices.push_back(depth == 2 ? image.At(x, y, 0) * 5u : depth == 16 ? To8(image.At(x, y, 0), 16) : image.At(x, y, 0));
        break;
      case 4:
        row.push_back(To8(image.At(x, y, 0), depth));
        break;
      default:
        for (unsigned c : {2u, 1u, 0u}) row.push_back(To8(image.At(x, y, c), depth));
        if (image.ColorType() == 6) row.push_back(To8(image.At(x, y, 3), depth));
        break;
    }
  }
  if (!indices.empty()) {
    const unsigned bits = depth == 1 ? 1 : depth <= 4 ? 4 : 8;
    return PackBits(indices, bits);
  }
  return row;
}

using Palette = std::vector<std::array<std::uint8_t, 3>>;

Palette MakePalette(unsigned count) {
  Palette colors;
  for (unsigned i = 0; i < count; ++i)
    colors.push_back({static_cast<std::uint8_t>(i * 7 + 1), static_cast<std::uint8_t>(200 - i / 2), static_cast<std::uint8_t>(i)});
  return colors;
}

struct Kind {
  std::uint8_t colorType;
  std::uint8_t depth;
  TPixelLayout format;
};

const Kind kKinds[] = {
    {0, 1, TPixelLayout::Bits1}, {0, 2, TPixelLayout::Bits4},  {0, 4, TPixelLayout::Bits4},
    {0, 8, TPixelLayout::Bits8}, {0, 16, TPixelLayout::Bits8}, {2, 8, TPixelLayout::Bits24},
    {2, 16, TPixelLayout::Bits24}, {3, 1, TPixelLayout::Bits1}, {3, 2, TPixelLayout::Bits4},
    {3, 4, TPixelLayout::Bits4}, {3, 8, TPixelLayout::Bits8},  {4, 8, TPixelLayout::Bits8},
    {4, 16, TPixelLayout::Bits8}, {6, 8, TPixelLayout::Bits32}, {6, 16, TPixelLayout::Bits32},
};

std::string Name(const Kind& k) {
  return "colour type " + std::to_string(k.colorType) + " depth " + std::to_string(k.depth);
}

PngOptions OptionsFor(const Kind& k, FilterChoice filter, bool interlaced = false) {
  PngOptions options;
  options.filter = filter;
  options.interlaced = interlaced;
  if (k.colorType == 3) options.beforeImage.push_back(PaletteChunk(MakePalette(1u << k.depth)));
  return options;
}

void ExpectRows(const TPngPixelBuffer& bitmap, const SampleImage& image, const std::string& what) {
  ASSERT_EQ(bitmap.Layout().Width, image.Width()) << what;
  ASSERT_EQ(bitmap.Layout().Height, image.Height()) << what;
  for (std::uint32_t y = 0; y < image.Height(); ++y) {
    ASSERT_EQ(PixelBits(bitmap.Row(y), image.Width(), bitmap.Layout().Format), ExpectedRow(image, y))
        << what << ", row " << y;
  }
}

std::string ErrorOf(const std::vector<std::uint8_t>& png, TGraphicErrorKind expectedKind = TGraphicErrorKind::InvalidGraphic) {
  try {
    Decode(png);
  } catch (const EPngError& e) {
    EXPECT_EQ(e.Kind(), expectedKind) << e.what();
    return e.what();
  }
  return "no error";
}

const char kInvalidImage[] = "Cannot load image. Invalid or unexpected PNG image format.";

TEST(PngReader, DecodesEveryColourTypeDepthAndFilter) {
  for (const Kind& k : kKinds) {
    const auto image = SampleImage::Pattern(13, 7, k.colorType, k.depth);
    for (auto filter : {FilterChoice::None, FilterChoice::Sub, FilterChoice::Up, FilterChoice::Average,
                        FilterChoice::Paeth, FilterChoice::Cycle, FilterChoice::Adaptive}) {
      const auto what = Name(k) + " filter " + std::to_string(static_cast<int>(filter));
      const auto bitmap = Decode(WritePng(image, OptionsFor(k, filter)));
      EXPECT_EQ(bitmap.Layout().Format, k.format) << what;
      ExpectRows(bitmap, image, what);
    }
  }
}

// Colour images asked for in 32 bits: the 24-bit rows with a fourth byte of 255 after each
// pixel, whatever the depth, filter (Paeth pairs too), interlacing, gamma or colour key; the
// other kinds keep their layouts.
TEST(PngReader, ColourImagesAskedForIn32BitsAreThe24BitPixelsMadeOpaque) {
  auto decode = [](const std::vector<std::uint8_t>& png, bool in32) {
    TPngPixelBuffer bitmap;
    TPNGReader reader;
    reader.RgbAs32Bits = in32;
    reader.LoadFromBytes(png, bitmap);
    return bitmap;
  };
  PngOptions gamma;
  gamma.beforeImage = {Chunk("gAMA", Be32(100000))};
  PngOptions key;
  key.beforeImage = {Chunk("tRNS", std::vector<std::uint8_t>{0, 1, 0, 2, 0, 3})};
  for (const Kind& k : kKinds) {
    // Widths of whole and odd numbers of four-pixel groups; a row alone and a pair of rows.
    for (auto [w, h] : {std::pair{13u, 7u}, std::pair{16u, 2u}, std::pair{1u, 1u}}) {
      const auto image = SampleImage::Pattern(w, h, k.colorType, k.depth, w + h);
      std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
      for (auto filter : {FilterChoice::None, FilterChoice::Sub, FilterChoice::Up, FilterChoice::Average,
                          FilterChoice::Paeth, FilterChoice::Cycle, FilterChoice::Adaptive})
        files.push_back({"filter " + std::to_string(static_cast<int>(filter)), WritePng(image, OptionsFor(k, filter))});
      files.push_back({"interlaced", WritePng(image, OptionsFor(k, FilterChoice::Paeth, true))});
      if (k.colorType == 2) {
        files.push_back({"gamma", WritePng(image, gamma)});
        files.push_back({"colour key", WritePng(image, key)});
      }
      for (const auto& [name, png] : files) {
        const auto what = Name(k) + " " + std::to_string(w) + "x" + std::to_string(h) + " " + name;
        const TPngPixelBuffer plain = decode(png, false), wide = decode(png, true);
        if (k.colorType != 2) {
          ASSERT_EQ(wide.Layout().Format, plain.Layout().Format) << what;
          for (std::uint32_t y = 0; y < h; ++y)
            ASSERT_TRUE(std::ranges::equal(wide.Row(y), plain.Row(y))) << what << ", row " << y;
          continue;
        }
        ASSERT_EQ(plain.Layout().Format, TPixelLayout::Bits24) << what;
        ASSERT_EQ(wide.Layout().Format, TPixelLayout::Bits32) << what;
        EXPECT_EQ(wide.Layout().TransparentColor, plain.Layout().TransparentColor) << what;
        for (std::uint32_t y = 0; y < h; ++y) {
          std::vector<std::uint8_t> expected;
          for (std::uint32_t x = 0; x < w; ++x) {
            expected.insert(expected.end(), plain.Row(y).begin() + 3 * x, plain.Row(y).begin() + 3 * x + 3);
            expected.push_back(255);
          }
          const auto row = wide.Row(y);
          ASSERT_EQ(std::vector<std::uint8_t>(row.begin(), row.end()), expected) << what << ", row " << y;
        }
      }
    }
  }
}

// Palette images asked for in 32 bits: each pixel the colour the indexed bitmap shows for its
// index (the palette spread to the bitmap's depth), opaque, at every depth, filter (Paeth
// pairs too) and interlacing, with palettes covering the depth's indices or not (gamma
// applied to the palette, indices past its end black); what is not decoded shows the
// background as in the indexed bitmap, with alpha 0. The other kinds keep their layouts.
TEST(PngReader, PaletteImagesAskedForIn32BitsAreTheirIndexedPixelsLookedUp) {
  auto decode = [](const std::vector<std::uint8_t>& png, bool in32, bool rgbIn32) {
    TPngPixelBuffer bitmap;
    TPNGReader reader;
    reader.PaletteAs32Bits = in32;
    reader.RgbAs32Bits = rgbIn32;
    try {
      reader.LoadFromBytes(png, bitmap);
    } catch (const EPngError&) {
      // a cut image keeps what was decoded
    }
    return std::pair{std::move(bitmap), reader.AlphaTable()};
  };
  auto index = [](std::span<const std::uint8_t> row, std::uint32_t x, unsigned bits) {
    const std::size_t bit = std::size_t{x} * bits;
    return (row[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
  };
  for (std::uint8_t depth : {1, 2, 4, 8}) {
    const unsigned indices = 1u << depth;
    for (auto [w, h] : {std::pair{13u, 7u}, std::pair{16u, 2u}, std::pair{1u, 1u}, std::pair{9u, 9u}}) {
      const auto image = SampleImage::Pattern(w, h, 3, depth, w * 3 + depth);
      std::vector<std::pair<std::string, std::vector<std::uint8_t>>> files;
      for (unsigned colors : {indices, std::max(1u, indices / 2 + 1)}) {
        PngOptions options;
        options.beforeImage = {PaletteChunk(MakePalette(colors)), Chunk("tRNS", {0, 64}), Chunk("bKGD", {0})};
        const std::string palette = " palette of " + std::to_string(colors);
        for (auto filter : {FilterChoice::None, FilterChoice::Sub, FilterChoice::Up, FilterChoice::Average,
                            FilterChoice::Paeth, FilterChoice::Cycle, FilterChoice::Adaptive}) {
          options.filter = filter;
          files.push_back({"filter " + std::to_string(static_cast<int>(filter)) + palette, WritePng(image, options)});
        }
        options.filter = FilterChoice::Paeth;
        options.interlaced = true;
        files.push_back({"interlaced" + palette, WritePng(image, options)});
        options.interlaced = false;
        options.beforeImage.insert(options.beforeImage.begin(), Chunk("gAMA", Be32(50000)));
        files.push_back({"gamma" + palette, WritePng(image, options)});
        // Image data that ends early: the rows not reached keep the background.
        auto compressed = Deflate(FilteredImageData(image, FilterChoice::Sub, false), 0);
        compressed.resize(compressed.size() / 2);
        std::vector<PngChunk> chunks = {Chunk("IHDR", IhdrData(w, h, depth, 3))};
        chunks.insert(chunks.end(), options.beforeImage.begin(), options.beforeImage.end());
        chunks.insert(chunks.end(), {Chunk("IDAT", compressed), Chunk("IEND")});
        files.push_back({"cut" + palette, Serialize(chunks)});
      }
      for (const auto& [name, png] : files) {
        const auto what = "depth " + std::to_string(depth) + " " + std::to_string(w) + "x" + std::to_string(h) + " " + name;
        const auto [plain, plainAlpha] = decode(png, false, true);
        const auto [wide, wideAlpha] = decode(png, true, false);
        ASSERT_NE(plain.Layout().Format, TPixelLayout::Bits32) << what;
        ASSERT_EQ(wide.Layout().Format, TPixelLayout::Bits32) << what;
        EXPECT_EQ(wideAlpha, plainAlpha) << what;
        EXPECT_EQ(wide.Layout().BackgroundColor, plain.Layout().BackgroundColor) << what;
        EXPECT_EQ(wide.Layout().TransparentColor, plain.Layout().TransparentColor) << what;
        const unsigned bits = BitsPerPixel(plain.Layout().Format);
        const auto& palette = plain.Layout().Palette;
        ASSERT_EQ(palette.size(), std::size_t{1} << bits) << what;
        const std::uint32_t bg = plain.Layout().BackgroundColor;
        for (std::uint32_t y = 0; y < h; ++y) {
          std::vector<std::uint8_t> expected;
          for (std::uint32_t x = 0; x < w; ++x) {
            const TPaletteEntry& e = palette[index(plain.Row(y), x, bits)];
            expected.insert(expected.end(), {e.Blue, e.Green, e.Red, 255});
          }
          const auto row = wide.Row(y);
          std::vector<std::uint8_t> got(row.begin(), row.end());
          if (name.starts_with("cut") && got != expected) {
            // A row the image data did not reach: the background itself, where the indexed
            // bitmap has its nearest entry.
            expected.clear();
            for (std::uint32_t x = 0; x < w; ++x)
              expected.insert(expected.end(), {static_cast<std::uint8_t>(bg >> 16), static_cast<std::uint8_t>(bg >> 8),
                                               static_cast<std::uint8_t>(bg), 0});
          }
          ASSERT_EQ(got, expected) << what << ", row " << y;
        }
      }
    }
  }
  // The other kinds are left as they were.
  for (const Kind& k : kKinds) {
    if (k.colorType == 3) continue;
    const auto image = SampleImage::Pattern(13, 7, k.colorType, k.depth, 5);
    const auto png = WritePng(image, OptionsFor(k, FilterChoice::Cycle));
    const auto [plain, plainAlpha] = decode(png, false, false);
    const auto [wide, wideAlpha] = decode(png, true, false);
    ASSERT_EQ(wide.Layout().Format, plain.Layout().Format) << Name(k);
    for (std::uint32_t y = 0; y < 7; ++y)
      ASSERT_TRUE(std::ranges::equal(wide.Row(y), plain.Row(y))) << Name(k) << ", row " << y;
  }
}

TEST(PngReader, BottomUpBitmapGetsTheSameRows) {
  const Kind k{6, 8, TPixelLayout::Bits32};
  const auto image = SampleImage::Pattern(9, 6, 6, 8);
  ExpectRows(Decode(WritePng(image, OptionsFor(k, FilterChoice::Cycle)), TPngPixelBuffer::TRowOrder::BottomUp),
             image, "bottom-up");
}

TEST(PngReader, Adam7MatchesTheSameImageNotInterlaced) {
  for (const Kind& k : kKinds) {
    for (auto [w, h] : {std::pair{1u, 9u}, std::pair{5u, 5u}, std::pair{13u, 11u}, std::pair{3u, 1u}}) {
      const auto image = SampleImage::Pattern(w, h, k.colorType, k.depth, w * 31 + h);
      const auto what = Name(k) + " " + std::to_string(w) + "x" + std::to_string(h);
      const auto plain = Decode(WritePng(image, OptionsFor(k, FilterChoice::Cycle)));
      const auto interlaced = Decode(WritePng(image, OptionsFor(k, FilterChoice::Cycle, true)));
      for (std::uint32_t y = 0; y < h; ++y) {
        ASSERT_EQ(PixelBits(plain.Row(y), w, k.format), PixelBits(interlaced.Row(y), w, k.format))
            << what << ", row " << y;
      }
    }
  }
}

TEST(PngReader, FirstRowOfEveryPassFiltersAgainstZeros) {
  const Kind k{2, 8, TPixelLayout::Bits24};
  const auto image = SampleImage::Pattern(11, 10, 2, 8, 5);
  for (auto filter : {FilterChoice::Up, FilterChoice::Average, FilterChoice::Paeth})
    ExpectRows(Decode(WritePng(image, OptionsFor(k, filter, true))), image, "interlaced");
}

// Decodes with images inflated at once (the usual road) or streamed row by row (the road of
// large images), and gives the error text, if any, with the bitmap.
struct Road {
  TPngPixelBuffer bitmap;
  std::string error;
};

Road DecodeBy(const std::vector<std::uint8_t>& png, bool streaming) {
  Road road;
  TPNGReader reader;
  if (streaming) reader.Limits.MaxWholeImageBytes = 0;
  try {
    reader.LoadFromBytes(png, road.bitmap);
  } catch (const EPngError& e) {
    road.error = e.what();
  }
  return road;
}

void ExpectSameRoads(const std::vector<std::uint8_t>& png, const std::string& what) {
  const Road whole = DecodeBy(png, false), streamed = DecodeBy(png, true);
  EXPECT_EQ(whole.error, streamed.error) << what;
  ASSERT_EQ(whole.bitmap.Empty(), streamed.bitmap.Empty()) << what;
  if (whole.bitmap.Empty()) return;
  const TPngImageLayout& layout = whole.bitmap.Layout();
  ASSERT_EQ(layout.Format, streamed.bitmap.Layout().Format) << what;
  for (std::uint32_t y = 0; y < layout.Height; ++y) {
    ASSERT_EQ(PixelBits(whole.bitmap.Row(y), layout.Width, layout.Format),
              PixelBits(streamed.bitmap.Row(y), layout.Width, layout.Format))
        << what << ", row " << y;
  }
}

TEST(PngReader, WholeImageAndStreamingRoadsAgree) {
  for (const Kind& k : kKinds) {
    for (bool interlaced : {false, true}) {
      const auto image = SampleImage::Pattern(11, 9, k.colorType, k.depth, 3);
      PngOptions options = OptionsFor(k, FilterChoice::Cycle, interlaced);
      const auto what = Name(k) + (interlaced ? " interlaced" : "");
      ExpectSameRoads(WritePng(image, options), what);
      options.idatSizes = {5, 0, 9};
      ExpectSameRoads(WritePng(image, options), what + " split");
      ExpectRows(DecodeBy(WritePng(image, options), false).bitmap, image, what);
    }
  }
}

TEST(PngReader, OddImageDataTakesTheSameRoadsResults) {
  const auto image = SampleImage::Pattern(6, 5, 6, 8);
  auto data = FilteredImageData(image, FilterChoice::Paeth, false);
  const auto header = Chunk("IHDR", IhdrData(6, 5, 8, 6));

  // A stream that holds a row more than the image: the rows are read, the rest ignored.
  auto longer = data;
  longer.insert(longer.end(), data.begin(), data.begin() + 25);
  const auto moreRows = Serialize(std::vector{header, Chunk("IDAT", Deflate(longer)), Chunk("IEND")});
  ExpectSameRoads(moreRows, "a row too many");
  ExpectRows(DecodeBy(moreRows, false).bitmap, image, "a row too many");

  // Bytes after the stream in an IDAT chunk of their own are ignored; in the stream's own
  // chunk they are an error.
  const auto stream = Deflate(data);
  const auto laterChunk = Serialize(std::vector{header, Chunk("IDAT", stream), Chunk("IDAT", {1, 2, 3}), Chunk("IEND")});
  ExpectSameRoads(laterChunk, "data in a later chunk");
  EXPECT_EQ(DecodeBy(laterChunk, false).error, "");
  auto withTail = stream;
  withTail.push_back(7);
  const auto sameChunk = Serialize(std::vector{header, Chunk("IDAT", withTail), Chunk("IEND")});
  ExpectSameRoads(sameChunk, "data after the stream in its chunk");
  EXPECT_EQ(DecodeBy(sameChunk, false).error, "Cannot load image. Extra compressed data found in PNG file.");

  // A damaged checksum of the second chunk: the rows of the first are kept, then the error.
  std::vector<PngChunk> split = {header, Chunk("IDAT", std::vector(stream.begin(), stream.end() - 20)),
                                 Chunk("IDAT", std::vector(stream.end() - 20, stream.end())), Chunk("IEND")};
  split[2].crc = 1;
  ExpectSameRoads(Serialize(split), "damaged second chunk");
  EXPECT_EQ(DecodeBy(Serialize(split), false).error, "Cannot load image. CRC error found in PNG file.");

  // A damaged Adler checksum is a compression error on both roads.
  auto badSum = stream;
  badSum.back() ^= 1;
  const auto badAdler = Serialize(std::vector{header, Chunk("IDAT", badSum), Chunk("IEND")});
  ExpectSameRoads(badAdler, "wrong Adler sum");
}

TEST(PngReader, ChunkNamesIgnoreCaseAndUnknownAncillaryChunksAreSkipped) {
  const auto image = SampleImage::Pattern(6, 4, 2, 8);
  PngOptions options;
  options.beforeImage.push_back(PngChunk{"prVt", {1, 2, 3}, 0xDEADBEEF});  // CRC not checked
  auto chunks = MakeChunks(image, options);
  for (auto& c : chunks)
    if (c.type == "IDAT" || c.type == "IEND") c.type = c.type == "IDAT" ? "idat" : "iend";
  ExpectRows(Decode(Serialize(chunks)), image, "lower case");
}

TEST(PngReader, PaletteWithTransparencyAndBackground) {
  const auto image = SampleImage::Pattern(8, 3, 3, 2);
  const auto colors = MakePalette(4);
  PngOptions options;
  options.beforeImage = {PaletteChunk(colors), Chunk("tRNS", {0, 64}), Chunk("bKGD", {2})};
  TPngPixelBuffer bitmap;
  TPNGReader reader;
  reader.LoadFromBytes(WritePng(image, options), bitmap);
  ExpectRows(bitmap, image, "palette");
  const auto& palette = bitmap.Layout().Palette;
  ASSERT_EQ(palette.size(), 16u);
  for (unsigned v = 0; v < 4; ++v)  // index 5v shows palette colour v
    EXPECT_EQ(palette[5 * v], (TPaletteEntry{colors[v][0], colors[v][1], colors[v][2]}));
  EXPECT_EQ(reader.AlphaTable()[0], 0);
  EXPECT_EQ(reader.AlphaTable()[1], 64);
  EXPECT_EQ(reader.AlphaTable()[2], 255);
  EXPECT_EQ(bitmap.Layout().BackgroundColor, colors[2][0] | colors[2][1] << 8 | colors[2][2] << 16);
}

TEST(PngReader, BackgroundIndexMustLieInsideThePalette) {
  // A 2-bit image with three colours: its bitmap palette has sixteen entries, so an index
  // one past the colours given would still find an entry there; it must not be used.
  const auto image = SampleImage::Pattern(5, 2, 3, 2);
  const auto colors = MakePalette(3);
  auto backgroundOf = [&](std::uint8_t index) {
    PngOptions options;
    options.beforeImage = {PaletteChunk(colors), Chunk("bKGD", {index})};
    return Decode(WritePng(image, options)).Layout().BackgroundColor;
  };
  EXPECT_EQ(backgroundOf(2), colors[2][0] | colors[2][1] << 8 | colors[2][2] << 16);
  EXPECT_EQ(backgroundOf(3), 0xFFFFFFu);  // the default white
  EXPECT_EQ(backgroundOf(200), 0xFFFFFFu);
}

TEST(PngReader, TransparencyLongerThanThePaletteIsCut) {
  const auto image = SampleImage::Pattern(4, 2, 3, 1);
  PngOptions options;
  options.beforeImage = {PaletteChunk(MakePalette(2)), Chunk("tRNS", std::vector<std::uint8_t>(300, 7))};
  TPngPixelBuffer bitmap;
  TPNGReader reader;
  reader.LoadFromBytes(WritePng(image, options), bitmap);
  EXPECT_EQ(reader.AlphaTable()[1], 7);
  EXPECT_EQ(reader.AlphaTable()[2], 255);
}

TEST(PngReader, GreyTransparencyIsTheColourOfItsGreyRampEntry) {
  // Depth 1: sample 1 is white; depth 2: sample 2 is index 10, grey 170; depth 4: 3 is 51.
  for (auto [depth, sample, grey] : {std::tuple{1, 1, 255}, std::tuple{2, 2, 170}, std::tuple{4, 3, 51}, std::tuple{16, 0x8000, 127}}) {
    PngOptions options;
    options.beforeImage = {Chunk("tRNS", Be16({static_cast<std::uint16_t>(sample)}))};
    const auto bitmap = Decode(WritePng(SampleImage::Pattern(4, 4, 0, static_cast<std::uint8_t>(depth)), options));
    EXPECT_EQ(bitmap.Layout().TransparentColor, static_cast<std::uint32_t>(grey * 0x010101)) << "depth " << depth;
  }
  PngOptions outOfRange;
  outOfRange.beforeImage = {Chunk("tRNS", Be16({4}))};
  EXPECT_EQ(Decode(WritePng(SampleImage::Pattern(4, 4, 0, 2), outOfRange)).Layout().TransparentColor, kNoColor);
}

TEST(PngReader, ColourTransparencyAndBackgroundScaleSixteenBitSamples) {
  PngOptions options;
  options.beforeImage = {Chunk("tRNS", Be16({0xFFFF, 0x8080, 0x0101})), Chunk("bKGD", Be16({0, 0xFFFF, 0}))};
  const auto bitmap = Decode(WritePng(SampleImage::Pattern(3, 3, 2, 16), options));
  EXPECT_EQ(bitmap.Layout().TransparentColor, 0x0180FFu);
  EXPECT_EQ(bitmap.Layout().BackgroundColor, 0x00FF00u);
}

TEST(PngReader, GammaGoesThroughTheTable) {
  SampleImage image(2, 1, 2, 8);
  for (unsigned c = 0; c < 3; ++c) {
    image.Set(0, 0, c, 128);
    image.Set(1, 0, c, 255);
  }
  auto decodeWithGamma = [&](std::uint32_t gamma) {
    PngOptions options;
    options.beforeImage = {Chunk("gAMA", Be32(gamma))};
    TPngPixelBuffer bitmap;
    TPNGReader reader;
    reader.LoadFromBytes(WritePng(image, options), bitmap);
    EXPECT_TRUE(reader.Properties().HasGamma);
    const auto row = bitmap.Row(0);
    return std::vector<std::uint8_t>(row.begin(), row.end());
  };
  EXPECT_EQ(decodeWithGamma(45455), (std::vector<std::uint8_t>{128, 128, 128, 255, 255, 255}));
  EXPECT_EQ(decodeWithGamma(100000), (std::vector<std::uint8_t>{186, 186, 186, 255, 255, 255}));
  // A grey image takes its gamma through the grey palette.
  PngOptions greyGamma;
  greyGamma.beforeImage = {Chunk("gAMA", Be32(100000))};
  EXPECT_EQ(Decode(WritePng(SampleImage::Pattern(2, 2, 0, 8), greyGamma)).Layout().Palette[128], (TPaletteEntry{186, 186, 186}));
}

TEST(PngReader, ImagesOneAfterAnotherAreReadInTurn) {
  const auto first = SampleImage::Pattern(5, 4, 6, 8, 1);
  const auto second = SampleImage::Pattern(7, 2, 0, 4, 2);
  auto bytes = WritePng(first);
  const std::size_t firstSize = bytes.size();
  const auto more = WritePng(second);
  bytes.insert(bytes.end(), more.begin(), more.end());
  TPNGReader reader;
  TPngPixelBuffer a, b;
  EXPECT_EQ(reader.LoadFromBytes(bytes, a), firstSize);
  EXPECT_EQ(reader.LoadFromBytes(std::span(bytes).subspan(firstSize), b), more.size());
  ExpectRows(a, first, "first");
  ExpectRows(b, second, "second");
}

TEST(PngReader, MissingImageDataLeavesTheBackground) {
  const auto image = SampleImage::Pattern(32, 16, 2, 8);
  auto compressed = Deflate(FilteredImageData(image, FilterChoice::None, false), 0);
  compressed.resize(compressed.size() / 2);
  const std::vector<PngChunk> chunks = {Chunk("IHDR", IhdrData(32, 16, 8, 2)), Chunk("bKGD", Be16({10, 20, 30})),
                                        Chunk("IDAT", compressed), Chunk("IEND")};
  const auto bitmap = Decode(Serialize(chunks));
  const std::vector<std::uint8_t> background = [] {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < 32; ++x) row.insert(row.end(), {30, 20, 10});
    return row;
  }();
  int decoded = 0;
  for (std::uint32_t y = 0; y < 16; ++y) {
    const auto row = bitmap.Row(y);
    const std::vector<std::uint8_t> got(row.begin(), row.end());
    if (got == ExpectedRow(image, y)) {
      EXPECT_EQ(decoded, static_cast<int>(y)) << "decoded rows come first";
      ++decoded;
    } else {
      EXPECT_EQ(got, background) << "row " << y;
    }
  }
  EXPECT_GT(decoded, 0);
  EXPECT_LT(decoded, 16);
}

// A bitmap whose bytes hold 0xA5 before the reader writes: a byte the reader neither decodes
// nor fills with the background shows.
class PrefilledBitmap final : public IPngImageTarget {
 public:
  TScanLines PrepareImage(const TPngImageLayout& layout) override {
    const TScanLines lines = bitmap.PrepareImage(layout);
    for (std::uint32_t y = 0; y < layout.Height; ++y)
      std::memset(lines.Row(y), 0xA5, static_cast<std::size_t>(PixelRowBytes(layout.Width, layout.Format)));
    return lines;
  }
  TPngPixelBuffer bitmap;
};

std::string DecodePrefilled(const std::vector<std::uint8_t>& png, bool streaming, PrefilledBitmap& target) {
  TPNGReader reader;
  if (streaming) reader.Limits.MaxWholeImageBytes = 0;
  try {
    reader.LoadFromBytes(png, target);
  } catch (const EPngError& e) {
    return e.what();
  }
  return "";
}

TEST(PngReader, EveryByteOfEveryRowIsWritten) {
  for (const Kind& k : kKinds) {
    for (bool interlaced : {false, true}) {
      for (bool streaming : {false, true}) {
        const auto image = SampleImage::Pattern(11, 6, k.colorType, k.depth, 5);
        PrefilledBitmap target;
        const auto what = Name(k) + (interlaced ? " interlaced" : "") + (streaming ? " streamed" : "");
        EXPECT_EQ(DecodePrefilled(WritePng(image, OptionsFor(k, FilterChoice::Cycle, interlaced)), streaming, target), "");
        ExpectRows(target.bitmap, image, what);
      }
    }
  }
}

TEST(PngReader, RowsTheImageDataDoesNotReachShowTheBackground) {
  const auto image = SampleImage::Pattern(32, 16, 2, 8);
  const std::vector<std::uint8_t> background = [] {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < 32; ++x) row.insert(row.end(), {30, 20, 10});
    return row;
  }();
  const auto stream = Deflate(FilteredImageData(image, FilterChoice::Sub, false), 0);
  const auto header = Chunk("IHDR", IhdrData(32, 16, 8, 2)), backgroundChunk = Chunk("bKGD", Be16({10, 20, 30}));
  // The stream cut in half; the stream whole, its second half in a chunk whose checksum is wrong.
  const std::vector<std::uint8_t> half(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
  std::vector<PngChunk> damaged = {header, backgroundChunk, Chunk("IDAT", half),
                                   Chunk("IDAT", std::vector(stream.begin() + static_cast<std::ptrdiff_t>(half.size()), stream.end())),
                                   Chunk("IEND")};
  damaged[3].crc = 1;
  const std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases = {
      {Serialize(std::vector{header, backgroundChunk, Chunk("IDAT", half), Chunk("IEND")}), ""},
      {Serialize(damaged), "Cannot load image. CRC error found in PNG file."}};
  for (const auto& [png, error] : cases) {
    for (bool streaming : {false, true}) {
      PrefilledBitmap target;
      EXPECT_EQ(DecodePrefilled(png, streaming, target), error);
      std::uint32_t decoded = 0;
      while (decoded < 16 && std::ranges::equal(target.bitmap.Row(decoded), ExpectedRow(image, decoded))) ++decoded;
      EXPECT_GT(decoded, 0u) << error;
      EXPECT_LT(decoded, 16u) << error;
      for (std::uint32_t y = decoded; y < 16; ++y)
        EXPECT_TRUE(std::ranges::equal(target.bitmap.Row(y), background)) << error << ", row " << y;
    }
  }
}

TEST(PngReader, ProgressNoticesFrameTheLoad) {
  std::vector<std::pair<TProgressStage, std::string>> notices;
  TPNGReader reader;
  reader.OnProgress = [&](const TPngProgress& p) {
    EXPECT_EQ(p.PercentDone, 0);
    notices.emplace_back(p.Stage, std::string(p.Message));
  };
  TPngPixelBuffer bitmap;
  reader.LoadFromBytes(WritePng(SampleImage::Pattern(3, 3, 6, 8)), bitmap);
  const std::vector<std::pair<TProgressStage, std::string>> expected = {
      {TProgressStage::Starting, "Preparing..."}, {TProgressStage::Ending, ""},
      {TProgressStage::Starting, "Transfering..."}, {TProgressStage::Ending, ""}};
  EXPECT_EQ(notices, expected);
  notices.clear();
  EXPECT_THROW(reader.LoadFromBytes(Serialize(std::vector{Chunk("IHDR", IhdrData(2, 2, 8, 2)), Chunk("ABCD"), Chunk("IEND")}), bitmap), EPngError);
  ASSERT_FALSE(notices.empty());
  EXPECT_EQ(notices.back().first, TProgressStage::Ending);
}

TEST(PngReader, IsValidReadsTheHeaderAndStopsAtGamma) {
  TPNGReader reader;
  PngOptions options;
  options.beforeImage = {Chunk("gAMA", Be32(45455))};
  auto png = WritePng(SampleImage::Pattern(300, 20, 6, 16), options);
  EXPECT_TRUE(reader.IsValid(png));
  const TPngImageProperties expected{true, true, 300, 20, TColorScheme::RGBA, 16, 4, TPngCompression::LZ77};
  EXPECT_EQ(reader.Properties(), expected);
  png.resize(png.size() - 20);  // cut after gAMA: the walk has stopped before
  EXPECT_TRUE(reader.IsValid(png));
  png[1] = 'Q';
  EXPECT_FALSE(reader.IsValid(png));
  EXPECT_FALSE(reader.IsValid(Serialize(std::vector{Chunk("IHDR", IhdrData(0, 5, 8, 2)), Chunk("IEND")})));
}

TEST(PngReader, EveryErrorText) {
  const auto image = SampleImage::Pattern(4, 4, 2, 8);
  auto bytes = WritePng(image);
  bytes[0] = 0;
  EXPECT_EQ(ErrorOf(bytes), kInvalidImage);

  auto chunks = MakeChunks(image);
  chunks[1].crc = 0x12345678;  // IDAT
  EXPECT_EQ(ErrorOf(Serialize(chunks)), "Cannot load image. CRC error found in PNG file.");

  chunks = MakeChunks(image);
  chunks[0].data = IhdrData(4, 4, 8, 2, 0, 1);
  EXPECT_EQ(ErrorOf(Serialize(chunks)), "Cannot load image. The compression scheme is not supported for PNG files.");

  PngOptions palette;
  palette.beforeImage = {Chunk("PLTE", {1, 2, 3, 4})};
  EXPECT_EQ(ErrorOf(WritePng(SampleImage::Pattern(4, 4, 3, 8), palette)), "Cannot load image. Palette in PNG file is invalid.");
  EXPECT_EQ(ErrorOf(WritePng(SampleImage::Pattern(4, 4, 3, 4))), "Cannot load image. Palette in PNG file is invalid.");

  chunks = MakeChunks(image);
  chunks[0].data = IhdrData(4, 4, 4, 2);
  EXPECT_EQ(ErrorOf(Serialize(chunks)), "Invalid color format in PNG file.");

  PngOptions critical;
  critical.beforeImage = {Chunk("ABCD", {1})};
  EXPECT_EQ(ErrorOf(WritePng(image, critical)), "Cannot load PNG image. Unexpected but critical chunk detected.");

  chunks = MakeChunks(image);
  chunks[1].data = {0x78, 0x9C, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(ErrorOf(Serialize(chunks)), "Cannot load image. Compression error found in PNG file.");

  auto shortData = FilteredImageData(image, FilterChoice::None, false);
  shortData.resize(shortData.size() - 5);
  chunks = MakeChunks(image);
  chunks[1].data = Deflate(shortData);
  EXPECT_EQ(ErrorOf(Serialize(chunks)), "Cannot load image. Extra compressed data found in PNG file.");

  TLZ77Decoder decoder(1, false);
  try {
    decoder.DecodeEnd();  // never initialised: zlib refuses
    ADD_FAILURE() << "no error";
  } catch (const EPngError& e) {
    EXPECT_EQ(e.Kind(), TGraphicErrorKind::GraphicCompression);
    EXPECT_STREQ(e.what(), "LZ77 decompression error.");
  }
}

TEST(PngReader, MalformedLayoutsAreInvalidImages) {
  const auto image = SampleImage::Pattern(4, 4, 2, 8);
  auto withChunk = [&](PngChunk chunk) {
    PngOptions options;
    options.beforeImage = {std::move(chunk)};
    return WritePng(image, options);
  };
  // A length above 2^31-1, and one beyond the bytes left.
  for (std::uint32_t length : {0x80000000u, 0x7FFFFFFFu, 1000u}) {
    auto bytes = withChunk(Chunk("tEXt", {1, 2, 3}));
    const auto be = Be32(length);
    std::copy(be.begin(), be.end(), bytes.begin() + 33);
    EXPECT_EQ(ErrorOf(bytes), kInvalidImage) << length;
  }
  auto chunks = MakeChunks(image);
  chunks[0].data.push_back(0);  // IHDR of 14 bytes
  EXPECT_EQ(ErrorOf(Serialize(chunks)), kInvalidImage);
  EXPECT_EQ(ErrorOf(withChunk(Chunk("gAMA", {0, 1, 0}))), kInvalidImage);
  EXPECT_EQ(ErrorOf(withChunk(Chunk("bKGD", {0, 1}))), kInvalidImage);
  EXPECT_EQ(ErrorOf(withChunk(Chunk("tRNS", {0, 1, 0, 2, 0}))), kInvalidImage);
  // Truncated anywhere: never a read past the end.
  const auto whole = WritePng(image);
  for (std::size_t size = 0; size < whole.size(); ++size) {
    const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + size);
    EXPECT_THROW(Decode(cut), EPngError) << size;
  }
  // No image data at all.
  EXPECT_EQ(ErrorOf(Serialize(std::vector{Chunk("IHDR", IhdrData(2, 2, 8, 2)), Chunk("IEND")})), kInvalidImage);
  // Image data again after other chunks.
  PngOptions twice;
  twice.afterImage = {Chunk("tEXt", {'a'}), MakeChunks(image)[1]};
  EXPECT_EQ(ErrorOf(WritePng(image, twice)), "Cannot load PNG image. Unexpected but critical chunk detected.");
}

TEST(PngReader, OversizedImagesAreRefusedBeforeAllocation) {
  for (auto [w, h] : {std::pair{32769u, 1u}, std::pair{1u, 40000u}, std::pair{16384u, 16384u}, std::pair{0xFFFFFFFFu, 0xFFFFFFFFu}}) {
    const auto png = Serialize(std::vector{Chunk("IHDR", IhdrData(w, h, 8, 6)), Chunk("IDAT", Deflate(std::vector<std::uint8_t>(10))), Chunk("IEND")});
    EXPECT_EQ(ErrorOf(png), kInvalidImage) << w << "x" << h;
  }
  TPNGReader reader;
  reader.Limits = {64, 4096};
  TPngPixelBuffer bitmap;
  const auto png = WritePng(SampleImage::Pattern(65, 2, 0, 8));
  EXPECT_THROW(reader.LoadFromBytes(png, bitmap), EPngError);
  EXPECT_TRUE(bitmap.Empty());
}

using Bytes = std::vector<std::uint8_t>;

// The checksum over pieces; a wrong checksum fails every image the reader tests decode.
TEST(PngCrc, ARunningChecksumOverPiecesEqualsOnePass) {
  Bytes data;
  for (unsigned n = 0; n < 300; ++n) data.push_back(static_cast<std::uint8_t>(n * 131 + 7));
  EXPECT_EQ(PngCrc(data), crc32(0, data.data(), static_cast<uInt>(data.size())));
  const auto part = PngUpdateCrc(0xFFFFFFFFu, std::span(data).first(17));
  EXPECT_EQ(PngUpdateCrc(part, std::span(data).subspan(17)) ^ 0xFFFFFFFFu, PngCrc(data));
  // The byte table's rule, one byte at a time, over pieces of every length.
  const TCrcTable& table = PngMakeCrcTable();
  std::uint32_t bytewise = 0xFFFFFFFFu, running = 0xFFFFFFFFu;
  for (std::size_t at = 0, piece = 0; at < data.size(); at += piece, ++piece) {
    const auto bytes = std::span(data).subspan(at, std::min(piece, data.size() - at));
    for (std::uint8_t b : bytes) bytewise = table[(bytewise ^ b) & 0xFF] ^ (bytewise >> 8);
    running = PngUpdateCrc(running, bytes);
    ASSERT_EQ(running, bytewise) << at;
  }
}

TEST(PngFilters, EachFilterWithItsFirstPixelRule) {
  const Bytes prior = {10, 20, 30, 40, 50, 60};
  auto apply = [&](std::uint8_t filter, Bytes row, std::size_t bpp) {
    ApplyFilter(filter, row, prior, bpp);
    return row;
  };
  const Bytes row = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(apply(pfNone, row, 2), row);
  EXPECT_EQ(apply(pfSub, row, 2), (Bytes{1, 2, 4, 6, 9, 12}));
  EXPECT_EQ(apply(pfUp, row, 2), (Bytes{11, 22, 33, 44, 55, 66}));
  // Average: the first pixel gains prior / 2, later bytes (left + prior) / 2.
  EXPECT_EQ(apply(pfAverage, row, 2), (Bytes{6, 12, 3 + (6 + 30) / 2, 4 + (12 + 40) / 2, 5 + (21 + 50) / 2, 6 + (30 + 60) / 2}));
  // Paeth: the first pixel gains prior; later ones the predictor of left, above, upper left.
  const Bytes paeth = apply(pfPaeth, row, 2);
  EXPECT_EQ(paeth[0], 11);
  EXPECT_EQ(paeth[1], 22);
  EXPECT_EQ(paeth[2], 3 + PaethPredictor(11, 30, 10));
  EXPECT_EQ(apply(7, row, 2), row);  // unknown filter: as read
  EXPECT_EQ(apply(pfSub, Bytes{250, 10}, 1), (Bytes{250, 4}));  // modulo 256
  EXPECT_THROW(apply(pfUp, Bytes(7), 1), std::length_error);
}

// The filters byte by byte as the format defines them, beside the pixel-wise decoders: rows
// of random bytes (every predictor choice and tie occurs), every pixel size, whole and
// partial last pixels.
Bytes ReferenceUnfilter(std::uint8_t filter, Bytes row, const Bytes& prior, std::size_t bpp) {
  for (std::size_t i = 0; i < row.size(); ++i) {
    const unsigned a = i >= bpp ? row[i - bpp] : 0, b = prior[i], c = i >= bpp ? prior[i - bpp] : 0;
    unsigned predicted = 0;
    switch (filter) {
      case pfSub: predicted = a; break;
      case pfUp: predicted = b; break;
      case pfAverage: predicted = (a + b) / 2; break;
      case pfPaeth: {
        const int p = int(a) + int(b) - int(c), pa = std::abs(p - int(a)), pb = std::abs(p - int(b)),
                  pc = std::abs(p - int(c));
        predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
        break;
      }
      default: break;
    }
    row[i] = static_cast<std::uint8_t>(row[i] + predicted);
  }
  return row;
}

TEST(PngFilters, EveryFilterMatchesTheByteRule) {
  std::mt19937 rng(52);
  for (int round = 0; round < 40; ++round) {
    for (std::size_t bpp : {1, 2, 3, 4, 6, 8}) {
      const std::size_t n = bpp * (1 + round % 13) + (round % 3 == 0 ? bpp - 1 : 0);
      Bytes prior(n), row(n);
      // Few distinct values half the time, so that equal distances (the ties) are common.
      for (auto* v : {&prior, &row})
        for (auto& x : *v) x = static_cast<std::uint8_t>(round % 2 ? rng() : rng() % 3 * 60);
      for (std::uint8_t filter = pfNone; filter <= pfPaeth; ++filter) {
        const Bytes expected = ReferenceUnfilter(filter, row, prior, bpp);
        Bytes plain = row;
        ApplyFilter(filter, plain, prior, bpp);
        ASSERT_EQ(plain, expected) << int(filter) << " " << bpp << " " << n;
        if (bpp != 3 && bpp != 4) continue;
        Bytes fused = row, out(n, 0xEE);
        ApplyFilterSwapped(filter, fused, prior, bpp, out);
        ASSERT_EQ(fused, expected) << int(filter) << " " << bpp << " " << n;
        Bytes swapped = expected;
        for (std::size_t i = 0; i + bpp <= n; i += bpp) std::swap(swapped[i], swapped[i + 2]);
        for (std::size_t i = n / bpp * bpp; i < n; ++i) swapped[i] = 0xEE;  // a partial pixel is not written
        ASSERT_EQ(out, swapped) << int(filter) << " " << bpp << " " << n;
      }
      // Two Paeth rows decoded at once: the second against the first as decoded.
      Bytes next(n);
      for (auto& x : next) x = static_cast<std::uint8_t>(rng());
      const Bytes first = ReferenceUnfilter(pfPaeth, row, prior, bpp), second = ReferenceUnfilter(pfPaeth, next, first, bpp);
      Bytes pairRow = row, pairNext = next;
      ApplyPaethPair(pairRow, pairNext, prior, bpp);
      ASSERT_EQ(pairRow, first) << bpp << " " << n;
      ASSERT_EQ(pairNext, second) << bpp << " " << n;
      if (bpp != 3 && bpp != 4) continue;
      pairRow = row;
      pairNext = next;
      Bytes out(n, 0xEE), nextOut(n, 0xEE);
      ApplyPaethPairSwapped(pairRow, pairNext, prior, bpp, out, nextOut);
      ASSERT_EQ(pairRow, first) << bpp << " " << n;
      ASSERT_EQ(pairNext, second) << bpp << " " << n;
      for (const auto& [decoded, written] : {std::pair{&first, &out}, std::pair{&second, &nextOut}}) {
        Bytes swapped = *decoded;
        for (std::size_t i = 0; i + bpp <= n; i += bpp) std::swap(swapped[i], swapped[i + 2]);
        for (std::size_t i = n / bpp * bpp; i < n; ++i) swapped[i] = 0xEE;
        ASSERT_EQ(*written, swapped) << bpp << " " << n;
      }
    }
  }
}

// Rows of 3-byte pixels written out in 4 bytes: the filtered row swapped with 255 after each
// pixel, alone and in Paeth pairs, whole rows and rows with a partial last pixel.
TEST(PngFilters, WidenedRowsAreTheSwappedRowWithAnOpaqueFourthByte) {
  std::mt19937 rng(68);
  auto widened = [](const Bytes& decoded) {
    Bytes out;
    for (std::size_t i = 0; i + 3 <= decoded.size(); i += 3) out.insert(out.end(), {decoded[i + 2], decoded[i + 1], decoded[i], 255});
    return out;
  };
  for (std::size_t n : {3u, 6u, 12u, 13u, 14u, 48u, 300u}) {
    Bytes prior(n), row(n), next(n);
    for (auto* v : {&prior, &row, &next})
      for (auto& x : *v) x = static_cast<std::uint8_t>(rng());
    const std::size_t room = n / 3 * 4;
    for (std::uint8_t filter = pfNone; filter <= pfPaeth + 1; ++filter) {
      const Bytes expected = ReferenceUnfilter(filter, row, prior, 3);
      Bytes fused = row, out(room + 1, 0xEE);
      ApplyFilterWidened(filter, fused, prior, out);
      ASSERT_EQ(fused, expected) << int(filter) << " " << n;  // the next row's prior
      Bytes want = widened(expected);
      want.push_back(0xEE);  // nothing beyond the whole pixels
      ASSERT_EQ(out, want) << int(filter) << " " << n;
    }
    const Bytes first = ReferenceUnfilter(pfPaeth, row, prior, 3), second = ReferenceUnfilter(pfPaeth, next, first, 3);
    Bytes pairRow = row, pairNext = next, out(room, 0xEE), nextOut(room, 0xEE);
    ApplyPaethPairWidened(pairRow, pairNext, prior, out, nextOut);
    ASSERT_EQ(pairRow, first) << n;
    ASSERT_EQ(pairNext, second) << n;
    ASSERT_EQ(out, widened(first)) << n;
    ASSERT_EQ(nextOut, widened(second)) << n;
  }
}

// Each row a filter step reads or writes is checked against its bound alone: one byte short
// (or a pair's second row of another length) is refused with every other row at its bound,
// and every row exactly at its bound is decoded.
TEST(PngFilters, EachRowOfAStepIsBoundedAlone) {
  constexpr std::size_t n = 12;  // four 3-byte or three 4-byte pixels
  struct Rows {
    std::size_t row = n, next = n, prior = n, out = n, nextOut = n;
  };
  // A call with rows of these sizes; each row's bytes differ, so a decode is a real one.
  auto call = [](const std::function<void(Bytes&, Bytes&, Bytes&, Bytes&, Bytes&)>& step, const Rows& r) {
    Bytes row(r.row, 0x11), next(r.next, 0x22), prior(r.prior, 0x33), out(r.out, 0xEE), nextOut(r.nextOut, 0xEE);
    step(row, next, prior, out, nextOut);
  };
  struct Step {
    const char* name;
    std::size_t outBound;  // the bytes the written rows need
    bool pair, writes;
    std::function<void(Bytes&, Bytes&, Bytes&, Bytes&, Bytes&)> step;
  };
  const Step steps[] = {
      {"filter", 0, false, false, [](Bytes& r, Bytes&, Bytes& p, Bytes&, Bytes&) { ApplyFilter(pfPaeth, r, p, 3); }},
      {"swapped", n, false, true,
       [](Bytes& r, Bytes&, Bytes& p, Bytes& o, Bytes&) { ApplyFilterSwapped(pfPaeth, r, p, 4, o); }},
      {"widened", n / 3 * 4, false, true,
       [](Bytes& r, Bytes&, Bytes& p, Bytes& o, Bytes&) { ApplyFilterWidened(pfPaeth, r, p, o); }},
      {"pair", 0, true, false, [](Bytes& r, Bytes& x, Bytes& p, Bytes&, Bytes&) { ApplyPaethPair(r, x, p, 3); }},
      {"swapped pair", n, true, true,
       [](Bytes& r, Bytes& x, Bytes& p, Bytes& o, Bytes& xo) { ApplyPaethPairSwapped(r, x, p, 4, o, xo); }},
      {"widened pair", n / 3 * 4, true, true,
       [](Bytes& r, Bytes& x, Bytes& p, Bytes& o, Bytes& xo) { ApplyPaethPairWidened(r, x, p, o, xo); }},
  };
  for (const Step& s : steps) {
    const Rows bound{n, n, n, s.outBound, s.outBound};
    EXPECT_NO_THROW(call(s.step, bound)) << s.name;
    Rows wider = bound;
    wider.prior = n + 1;
    wider.out = wider.nextOut = s.outBound + 1;
    EXPECT_NO_THROW(call(s.step, wider)) << s.name;
    Rows shortPrior = bound;
    shortPrior.prior = n - 1;
    EXPECT_THROW(call(s.step, shortPrior), std::length_error) << s.name << ": a short prior row";
    if (s.writes) {
      Rows shortOut = bound;
      shortOut.out = s.outBound - 1;
      EXPECT_THROW(call(s.step, shortOut), std::length_error) << s.name << ": a short output row";
    }
    if (!s.pair) continue;
    for (const std::size_t other : {n - 3, n + 3}) {
      Rows next = bound;
      next.next = other;
      EXPECT_THROW(call(s.step, next), std::length_error) << s.name << ": a second row of " << other << " bytes";
    }
    if (s.writes) {
      Rows shortNextOut = bound;
      shortNextOut.nextOut = s.outBound - 1;
      EXPECT_THROW(call(s.step, shortNextOut), std::length_error) << s.name << ": a short second output row";
    }
  }
}

TEST(PngFilters, PartialLastPixelFollowsTheSameRules) {
  // Whole-pixel rows and rows with a partial last pixel are decoded by different loops.
  Bytes prior(50), row(50);
  for (std::size_t i = 0; i < row.size(); ++i) {
    prior[i] = static_cast<std::uint8_t>(i * 97 + 5);
    row[i] = static_cast<std::uint8_t>(i * 31 + (i >> 2) * 77);
  }
  for (std::uint8_t filter = pfSub; filter <= pfPaeth; ++filter) {
    for (std::size_t bpp : {2, 3, 4, 6, 8}) {
      const std::size_t whole = row.size() / bpp * bpp;
      Bytes full(row.begin(), row.begin() + whole), partial(row.begin(), row.begin() + whole - 1);
      ApplyFilter(filter, full, prior, bpp);
      ApplyFilter(filter, partial, prior, bpp);
      EXPECT_TRUE(std::equal(partial.begin(), partial.end(), full.begin())) << int(filter) << " " << bpp;
    }
  }
}

TEST(PngFilters, SwappedRowsAreTheFilteredRowWithRedAndBlueExchanged) {
  Bytes prior(48), row(48);
  for (std::size_t i = 0; i < row.size(); ++i) {
    prior[i] = static_cast<std::uint8_t>(i * 59 + 3);
    row[i] = static_cast<std::uint8_t>(i * 23 + (i >> 3) * 101);
  }
  for (std::uint8_t filter = pfNone; filter <= pfPaeth + 1; ++filter) {
    for (std::size_t bpp : {3, 4}) {
      Bytes plain = row, fused = row, out(row.size() + 1, 0xEE);
      ApplyFilter(filter, plain, prior, bpp);
      ApplyFilterSwapped(filter, fused, prior, bpp, out);
      EXPECT_EQ(fused, plain) << int(filter) << " " << bpp;  // the next row's prior
      for (std::size_t i = 0; i < row.size(); i += bpp) std::swap(plain[i], plain[i + 2]);
      EXPECT_TRUE(std::equal(plain.begin(), plain.end(), out.begin())) << int(filter) << " " << bpp;
      EXPECT_EQ(out.back(), 0xEE) << "nothing beyond the row";
    }
  }
  Bytes small(6), out(5);
  EXPECT_THROW(ApplyFilterSwapped(pfNone, small, prior, 3, out), std::length_error);
  Bytes room(6);
  EXPECT_THROW(ApplyFilterSwapped(pfNone, small, prior, 2, room), std::invalid_argument);
}

}  // namespace
}  // namespace skin_layered::test
