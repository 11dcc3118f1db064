// BMP files, icon directories and pixel rows at the byte level (runs natively under the
// sanitizers).
#include <gtest/gtest.h>

#include <cstring>

#include "classlib/graphics/GraphicsDibFormat.h"

namespace vcl::dib {
namespace {

void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Builds BMP files of any header kind for the tests.
struct Bmp {
  int width = 2;
  int height = 2;
  int bits = 24;
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  std::vector<Rgbq> palette;
  uint32_t masks[4] = {0, 0, 0, 0};
  bool masksAfterHeader = false;  // 40-byte header with bit fields
  std::vector<uint8_t> pixels;
  bool fileHeader = true;
  int64_t offBits = -1;           // computed when negative

  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> info;
    Put32(info, headerSize);
    if (headerSize == 12) {
      Put16(info, static_cast<uint32_t>(width));
      Put16(info, static_cast<uint32_t>(height));
      Put16(info, 1);
      Put16(info, static_cast<uint32_t>(bits));
    } else {
      Put32(info, static_cast<uint32_t>(width));
      Put32(info, static_cast<uint32_t>(height));
      Put16(info, 1);
      Put16(info, static_cast<uint32_t>(bits));
      Put32(info, compression);
      Put32(info, static_cast<uint32_t>(pixels.size()));
      Put32(info, 0);
      Put32(info, 0);
      Put32(info, static_cast<uint32_t>(palette.size()));
      Put32(info, 0);
      for (uint32_t i = 0; info.size() < headerSize; ++i) Put32(info, i < 4 ? masks[i] : 0);
      if (masksAfterHeader)
        for (int i = 0; i < 3; ++i) Put32(info, masks[i]);
    }
    for (const Rgbq& c : palette) {
      info.push_back(c.b);
      info.push_back(c.g);
      info.push_back(c.r);
      if (headerSize != 12) info.push_back(0);
    }
    std::vector<uint8_t> out;
    if (fileHeader) {
      const uint32_t off = offBits >= 0 ? static_cast<uint32_t>(offBits) : static_cast<uint32_t>(14 + info.size());
      out.push_back('B');
      out.push_back('M');
      Put32(out, static_cast<uint32_t>(14 + info.size() + pixels.size()));
      Put32(out, 0);
      Put32(out, off);
    }
    out.insert(out.end(), info.begin(), info.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
  }
};

std::vector<uint8_t> Decode(const std::vector<uint8_t>& file, BmpHeader& h, bool fileHeader = true) {
  auto header = ReadBmpHeader(file, fileHeader);
  EXPECT_TRUE(header.has_value());
  if (!header) return {};
  h = *header;
  std::vector<uint8_t> dest(RowStride(h.layout, h.width) * static_cast<size_t>(h.height));
  EXPECT_TRUE(DecodeBmpPixels(file, h, dest).has_value());
  return dest;
}

TEST(BmpReader, IndexedPicturesKeepTheirIndexesAndAFullColourTable) {
  Bmp b;
  b.width = 3;
  b.height = 2;
  b.bits = 1;
  b.palette = {{0, 0, 255, 0}, {255, 0, 0, 0}};
  b.pixels = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // bottom row 101, top row 010
  BmpHeader h;
  auto rows = Decode(b.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Mono1);
  ASSERT_EQ(h.palette.size(), 2u);
  EXPECT_EQ(h.palette[0].r, 255);
  EXPECT_EQ(rows[0], 0xA0);
  EXPECT_EQ(rows[4], 0x40);

  b.bits = 8;
  b.palette = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}};
  b.pixels = {2, 1, 0, 0, 0, 1, 2, 0};
  rows = Decode(b.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Indexed8);
  EXPECT_EQ(h.palette.size(), 256u);  // padded with black
  EXPECT_EQ(h.palette[2], (Rgbq{7, 8, 9, 0}));
  EXPECT_EQ(h.palette[3], Rgbq{});
  EXPECT_EQ(rows, b.pixels);
}

TEST(BmpReader, CoreHeadersTopDownRowsAndPackedDibs) {
  Bmp core;
  core.headerSize = 12;
  core.bits = 4;
  core.width = 2;
  core.height = 1;
  core.palette.assign(16, Rgbq{});
  core.palette[5] = {10, 20, 30, 0};
  core.pixels = {0x50, 0, 0, 0};
  BmpHeader h;
  auto rows = Decode(core.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Indexed4);
  EXPECT_EQ(h.palette[5], (Rgbq{10, 20, 30, 0}));
  EXPECT_EQ(rows[0], 0x50);

  Bmp top;
  top.height = -2;
  top.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};  // top row first in the file
  rows = Decode(top.Bytes(), h);
  EXPECT_TRUE(h.topDown);
  EXPECT_EQ(h.height, 2);
  EXPECT_EQ(rows[0], 7);  // decoded rows are bottom-up
  EXPECT_EQ(rows[8], 1);

  Bmp packed = top;
  packed.fileHeader = false;
  rows = Decode(packed.Bytes(), h, false);
  EXPECT_EQ(rows[0], 7);
}

TEST(BmpReader, BitFieldsBecomeStandardLayoutsOrAreConverted) {
  Bmp b;
  b.width = 1;
  b.height = 1;
  b.bits = 16;
  b.compression = 3;
  b.masksAfterHeader = true;
  b.masks[0] = 0xF800;
  b.masks[1] = 0x07E0;
  b.masks[2] = 0x001F;
  b.pixels = {0x1F, 0xF8, 0, 0};  // red and blue full
  BmpHeader h;
  auto rows = Decode(b.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Rgb565);
  EXPECT_EQ(rows[0], 0x1F);
  EXPECT_EQ(rows[1], 0xF8);

  // 4 bits a channel: converted to 24 bits, each channel scaled to 0..255.
  b.masks[0] = 0x0F00;
  b.masks[1] = 0x00F0;
  b.masks[2] = 0x000F;
  b.pixels = {0x8F, 0x0F, 0, 0};  // red 15, green 8, blue 15
  rows = Decode(b.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Bgr24);
  EXPECT_EQ(rows[0], 255);
  EXPECT_EQ(rows[1], 136);
  EXPECT_EQ(rows[2], 255);

  // A version 4 header with alpha in the top bits and the colours in an unusual order.
  Bmp v4;
  v4.width = 1;
  v4.height = 1;
  v4.bits = 32;
  v4.compression = 3;
  v4.headerSize = 108;
  v4.masks[0] = 0x000000FF;
  v4.masks[1] = 0x0000FF00;
  v4.masks[2] = 0x00FF0000;
  v4.masks[3] = 0xFF000000;
  v4.pixels = {0x11, 0x22, 0x33, 0x44};
  rows = Decode(v4.Bytes(), h);
  EXPECT_EQ(h.layout, Layout::Bgra32);
  EXPECT_EQ(rows, (std::vector<uint8_t>{0x33, 0x22, 0x11, 0x44}));

  // Plain 32-bit rows keep their fourth byte.
  Bmp plain;
  plain.width = 1;
  plain.height = 1;
  plain.bits = 32;
  plain.pixels = {1, 2, 3, 200};
  rows = Decode(plain.Bytes(), h);
  EXPECT_EQ(rows, plain.pixels);
}

TEST(BmpReader, RunLengthPicturesStayInsideThePicture) {
  Bmp b;
  b.width = 4;
  b.height = 3;
  b.bits = 8;
  b.compression = 1;
  b.palette.assign(4, Rgbq{});
  b.pixels = {
      3,    1,                 // three of index 1
      0,    0,                 // end of line
      0,    3,    2, 3, 1, 0,  // literal 2 3 1, padded
      0,    0,                 //
      9,    2,                 // a run past the width is cut
      0,    1,                 // end of picture
  };
  BmpHeader h;
  auto rows = Decode(b.Bytes(), h);
  const size_t s = RowStride(Layout::Indexed8, 4);
  EXPECT_EQ((std::vector<uint8_t>(rows.begin(), rows.begin() + 4)), (std::vector<uint8_t>{1, 1, 1, 0}));
  EXPECT_EQ((std::vector<uint8_t>(rows.begin() + s, rows.begin() + s + 4)), (std::vector<uint8_t>{2, 3, 1, 0}));
  EXPECT_EQ((std::vector<uint8_t>(rows.begin() + 2 * s, rows.begin() + 2 * s + 4)), (std::vector<uint8_t>{2, 2, 2, 2}));

  // A move right and up, and RLE4 nibbles.
  b.pixels = {0, 2, 2, 1, 1, 3, 0, 1};
  rows = Decode(b.Bytes(), h);
  EXPECT_EQ(rows[s + 2], 3);
  EXPECT_EQ(rows[0], 0);

  Bmp r4 = b;
  r4.bits = 4;
  r4.compression = 2;
  r4.palette.assign(16, Rgbq{});
  r4.pixels = {5, 0x12, 0, 1};
  rows = Decode(r4.Bytes(), h);
  EXPECT_EQ(rows[0], 0x12);
  EXPECT_EQ(rows[1], 0x12);  // a run of five alternating nibbles, cut at the width of four
  EXPECT_EQ(h.layout, Layout::Indexed4);

  // A literal run longer than the data is broken.
  b.pixels = {0, 9, 1, 2};
  auto header = ReadBmpHeader(b.Bytes(), true);
  ASSERT_TRUE(header);
  std::vector<uint8_t> dest(RowStride(header->layout, 4) * 3);
  EXPECT_FALSE(DecodeBmpPixels(b.Bytes(), *header, dest));
}

TEST(BmpReader, BrokenFilesAreRefused) {
  Bmp good;
  good.pixels.assign(16, 0);
  ASSERT_TRUE(ReadBmpHeader(good.Bytes(), true));

  auto refused = [](Bmp b) { return !ReadBmpHeader(b.Bytes(), b.fileHeader).has_value(); };
  auto mutate = [&](auto change) {
    Bmp b = good;
    change(b);
    return b;
  };
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.headerSize = 64; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.width = 0; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.height = 0; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.width = 40000; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.width = 30000, b.height = 30000; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.bits = 3; })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.compression = 4; })));             // JPEG inside
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.compression = 1; })));             // RLE8 needs 8 bits
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.pixels.resize(13); })));          // into the last row
  EXPECT_FALSE(refused(mutate([](Bmp& b) { b.pixels.resize(14); })));         // only its padding missing
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.bits = 16, b.compression = 3, b.masksAfterHeader = true,
                                            b.masks[0] = 0x0F0F; })));         // not contiguous
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.bits = 8, b.palette.assign(300, Rgbq{}), b.pixels.clear(); })));
  EXPECT_TRUE(refused(mutate([](Bmp& b) { b.bits = 8, b.compression = 1, b.width = 8000, b.height = 8000,
                                            b.pixels = {0, 1}; })));           // tiny data, huge picture

  std::vector<uint8_t> bytes = good.Bytes();
  bytes[0] = 'X';
  EXPECT_FALSE(ReadBmpHeader(bytes, true));

  // Run-length pictures are stored bottom-up only: a valid one turned top-down is refused.
  Bmp rle;
  rle.width = 4;
  rle.height = 3;
  rle.bits = 8;
  rle.compression = 1;
  rle.palette.assign(4, Rgbq{});
  rle.pixels = {3, 1, 0, 0, 0, 3, 2, 3, 1, 0, 0, 2, 5, 5, 0, 1};
  ASSERT_FALSE(refused(rle));
  Bmp topDown = rle;
  topDown.height = -3;
  EXPECT_TRUE(refused(topDown));

  // Every prefix of valid files is either refused or decoded within its bounds.
  for (const auto& file : {good.Bytes(), rle.Bytes()}) {
    for (size_t n = 0; n <= file.size(); ++n) {
      std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<ptrdiff_t>(n));
      if (auto h = ReadBmpHeader(prefix, true)) {
        std::vector<uint8_t> dest(RowStride(h->layout, h->width) * static_cast<size_t>(h->height));
        (void)DecodeBmpPixels(prefix, *h, dest);
      }
    }
  }
}

TEST(BmpWriter, HeadersReadBackAsTheSameLayoutAndColours) {
  for (Layout layout : {Layout::Mono1, Layout::Indexed4, Layout::Indexed8, Layout::Rgb555, Layout::Rgb565,
                        Layout::Bgr24, Layout::Bgra32}) {
    const auto palette = DefaultPalette(layout);
    std::vector<uint8_t> file = BmpFileHeaders(layout, 5, 3, palette);
    const size_t stride = RowStride(layout, 5), used = (5 * static_cast<size_t>(BitsPerPixel(layout)) + 7) / 8;
    std::vector<uint8_t> rows(stride * 3);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = i % stride < used ? static_cast<uint8_t>(i * 7 + 1) : 0;
    file.insert(file.end(), rows.begin(), rows.end());
    BmpHeader h;
    auto back = Decode(file, h);
    EXPECT_EQ(h.layout, layout);
    EXPECT_EQ(h.palette, palette);
    EXPECT_EQ(back, rows) << static_cast<int>(layout);
  }
}

TEST(PixelRows, LayoutsRoundTripThroughThirtyTwoBits) {
  const std::vector<Rgbq> colours = {{0, 0, 0, 0}, {255, 255, 255, 0}, {0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}};
  for (Layout layout : {Layout::Mono1, Layout::Indexed4, Layout::Indexed8, Layout::Rgb555, Layout::Rgb565,
                        Layout::Bgr24, Layout::Bgra32}) {
    const auto palette = DefaultPalette(layout);
    const std::vector<Rgbq> in = layout == Layout::Mono1 ? std::vector<Rgbq>{colours[0], colours[1], colours[1]} : colours;
    std::vector<uint8_t> row(RowStride(layout, static_cast<int>(in.size())));
    BgraToRow(layout, in.data(), static_cast<int>(in.size()), palette, row.data());
    std::vector<Rgbq> out(in.size());
    RowToBgra(layout, row.data(), static_cast<int>(in.size()), palette, out.data());
    EXPECT_EQ(out, in) << static_cast<int>(layout);
  }
  // Only 32-bit rows carry alpha; 5-bit channels expand by repeating their top bits.
  Rgbq c{0x10, 0x20, 0x30, 0x99};
  uint8_t row[4] = {};
  BgraToRow(Layout::Bgra32, &c, 1, {}, row);
  Rgbq back;
  RowToBgra(Layout::Bgra32, row, 1, {}, &back);
  EXPECT_EQ(back.a, 0x99);
  BgraToRow(Layout::Bgr24, &c, 1, {}, row);
  RowToBgra(Layout::Bgr24, row, 1, {}, &back);
  EXPECT_EQ(back, (Rgbq{0x10, 0x20, 0x30, 0}));
  row[0] = 0x1F;  // blue 31 in 5-5-5
  row[1] = 0;
  RowToBgra(Layout::Rgb555, row, 1, {}, &back);
  EXPECT_EQ(back.b, 255);
  // Indexed layouts take the nearest colour.
  Rgbq nearlyRed{3, 2, 250, 0};
  BgraToRow(Layout::Indexed4, &nearlyRed, 1, DefaultPalette(Layout::Indexed4), row);
  EXPECT_EQ(row[0] >> 4, 9);  // the VGA table's red
}

std::vector<uint8_t> IconFile(int w, int h, bool withMask, uint32_t sizeDelta = 0) {
  std::vector<uint8_t> image;
  Put32(image, 40);
  Put32(image, static_cast<uint32_t>(w));
  Put32(image, static_cast<uint32_t>(2 * h));
  Put16(image, 1);
  Put16(image, 32);
  for (int i = 0; i < 6; ++i) Put32(image, 0);
  image.resize(image.size() + static_cast<size_t>(4 * w * h), 0x80);
  if (withMask) image.resize(image.size() + ((static_cast<size_t>(w) + 31) / 32) * 4 * static_cast<size_t>(h), 0);
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.push_back(static_cast<uint8_t>(w));
  file.push_back(static_cast<uint8_t>(h));
  file.push_back(0);
  file.push_back(0);
  Put16(file, 1);
  Put16(file, 32);
  Put32(file, static_cast<uint32_t>(image.size()) + sizeDelta);
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

TEST(IconDirectory, EntriesMustHoldWholeImages) {
  auto entries = ReadIconDirectory(IconFile(16, 16, true));
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 1u);
  EXPECT_EQ((*entries)[0].width, 16);
  EXPECT_EQ((*entries)[0].bitCount, 32);
  EXPECT_FALSE(ReadIconDirectory(IconFile(16, 16, false)));     // no mask rows
  EXPECT_FALSE(ReadIconDirectory(IconFile(16, 16, true, 1)));   // entry runs past the file
  std::vector<uint8_t> cursor = IconFile(16, 16, true);
  cursor[2] = 2;
  EXPECT_FALSE(ReadIconDirectory(cursor));
  EXPECT_FALSE(ReadIconDirectory(std::vector<uint8_t>{0, 0, 1, 0}));

  // A PNG image tells its size in its header.
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R',
                              0,    0,   0,   48,  0,    0,    0,    40};
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  for (int i = 0; i < 4; ++i) file.push_back(0);
  Put16(file, 1);
  Put16(file, 32);
  Put32(file, static_cast<uint32_t>(png.size()));
  Put32(file, 22);
  file.insert(file.end(), png.begin(), png.end());
  entries = ReadIconDirectory(file);
  ASSERT_TRUE(entries);
  EXPECT_TRUE((*entries)[0].png);
  EXPECT_EQ((*entries)[0].width, 48);
  EXPECT_EQ((*entries)[0].height, 40);

  const std::vector<IconEntry> choice = {{16, 16, 32}, {32, 32, 8}, {32, 32, 32}, {48, 48, 32}};
  EXPECT_EQ(BestIconEntry(choice, 32, 32), 2u);
  EXPECT_EQ(BestIconEntry(choice, 20, 20), 0u);
}

}  // namespace
}  // namespace vcl::dib
