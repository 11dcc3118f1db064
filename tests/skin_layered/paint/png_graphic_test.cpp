// The PNG picture class: read through the picture container, pixel formats by colour type,
// drawing by alpha at its own size and scaled, transparent colours, the library exceptions of
// the reader's errors, images in turn from one stream, assignment, progress notices and the
// loaders into any graphic.
#include <array>
#include <utility>

#include "glyph_test_support.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/PngGraphic.h"
#include "skin_layered/paint/PngLoading.h"

namespace skin_layered::test {
namespace {

using vcl::TMemoryStream;

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

void LoadBytes(TPNGGraphic& png, const std::vector<std::uint8_t>& bytes) {
  TMemoryStream stream;
  SetBytes(&stream, bytes);
  png.LoadFromStream(&stream);
}

// A 2 x 2 RGBA picture: opaque red, clear green, half-covering dark grey, a quarter-covering
// light grey.
const std::vector<std::uint32_t> kQuad = {0xFFFF0000, 0x0000FF00, 0x80102030, 0x40C8C8C8};

std::vector<std::uint8_t> QuadPng() { return WritePng(RgbaImage(2, 2, kQuad)); }

// The colour a pixel of the quad gives over a canvas colour (both as 0x00RRGGBB).
std::uint32_t Over(std::uint32_t argb, std::uint32_t canvas) {
  const unsigned a = argb >> 24;
  std::uint32_t out = 0;
  for (unsigned shift : {0u, 8u, 16u})
    out |= Blend((argb >> shift) & 0xFF, (canvas >> shift) & 0xFF, a) << shift;
  return out;
}

// Blue, green and red of a canvas pixel as 0x00RRGGBB.
std::uint32_t RgbAt(vcl::TBitmap& bmp, int x, int y) {
  const COLORREF c = ColorOf(bmp, x, y);
  return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

TEST(PngPicture, PictureFilesNamedPngLoadAsPngGraphics) {
  TempFile file(L"x.png");
  file.Write(QuadPng());
  vcl::TPicture picture;
  picture.LoadFromFile(file.Path());
  auto* png = dynamic_cast<TPNGGraphic*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->PixelFormat(), vcl::pf32bit);
  EXPECT_FALSE(png->Transparent());
  // Alpha kept, not premultiplied.
  EXPECT_TRUE(PixelsAre(*png, {{0, 0, 0xFFFF0000u}, {1, 0, 0x0000FF00u}, {0, 1, 0x80102030u}, {1, 1, 0x40C8C8C8u}}));
}

TEST(PngPicture, PixelFormatsFollowTheColourType) {
  TPNGGraphic png;
  SampleImage grey(3, 1, 0, 8);
  for (std::uint16_t x = 0; x < 3; ++x) grey.Set(x, 0, 0, static_cast<std::uint16_t>(x * 100));
  LoadBytes(png, WritePng(grey));
  EXPECT_EQ(png.PixelFormat(), vcl::pf8bit);
  EXPECT_EQ(ColorOf(png, 2, 0), RGB(200, 200, 200));  // through the grey ramp
  EXPECT_EQ(png.ImageProperties().ColorScheme, TColorScheme::Gray);

  SampleImage rgb(2, 1, 2, 16);
  rgb.Set(0, 0, 0, 0xFFFF);
  rgb.Set(1, 0, 2, 0x8080);
  LoadBytes(png, WritePng(rgb));
  EXPECT_EQ(png.PixelFormat(), vcl::pf24bit);
  EXPECT_TRUE(ColoursAre(png, {{0, 0, RGB(255, 0, 0)}, {1, 0, RGB(0, 0, 128)}}));
  EXPECT_EQ(png.ImageProperties().BitsPerSample, 16);

  // A 2-bit palette image becomes a 16-colour bitmap in which index 5v shows colour v.
  SampleImage indexed(4, 1, 3, 2);
  for (std::uint16_t x = 0; x < 4; ++x) indexed.Set(x, 0, 0, x);
  const std::vector<std::array<std::uint8_t, 3>> colors = {{{10, 0, 0}}, {{0, 20, 0}}, {{0, 0, 30}}, {{40, 40, 40}}};
  PngOptions withPalette;
  withPalette.beforeImage = {PaletteChunk(colors)};
  LoadBytes(png, WritePng(indexed, withPalette));
  EXPECT_EQ(png.PixelFormat(), vcl::pf4bit);
  const auto* packed = static_cast<const std::uint8_t*>(png.ScanLine(0));
  EXPECT_EQ(packed[0], 0x05);  // indices 0 and 5
  EXPECT_EQ(packed[1], 0xAF);  // indices 10 and 15
  EXPECT_TRUE(ColoursAre(png, {{1, 0, RGB(0, 20, 0)}, {3, 0, RGB(40, 40, 40)}}));
}

TEST(PngPicture, ThirtyTwoBitImagesDrawByTheirAlphaOverTheCanvas) {
  TPNGGraphic png;
  LoadBytes(png, QuadPng());
  const std::uint32_t canvasColor = 0x2878C8;  // red 0x28, green 0x78, blue 0xC8
  auto canvas = Canvas24(4, 4, RGB(0x28, 0x78, 0xC8));
  canvas->Canvas()->Draw(1, 1, &png);
  EXPECT_EQ(RgbAt(*canvas, 1, 1), Over(kQuad[0], canvasColor));
  EXPECT_EQ(RgbAt(*canvas, 2, 1), canvasColor);  // alpha 0 shows the canvas
  EXPECT_EQ(RgbAt(*canvas, 1, 2), Over(kQuad[2], canvasColor));
  EXPECT_EQ(RgbAt(*canvas, 2, 2), Over(kQuad[3], canvasColor));
  for (int i = 0; i < 4; ++i)  // nothing outside the picture's rectangle
    for (auto [x, y] : {std::pair{0, i}, {3, i}, {i, 0}, {i, 3}}) EXPECT_EQ(RgbAt(*canvas, x, y), canvasColor);

  // Over a 32-bit canvas the picture's alpha is kept where it covers more.
  auto canvas32 = Filled32(2, 2, Bgra(0, 0, 0, 0x60));
  canvas32->Canvas()->Draw(0, 0, &png);
  EXPECT_EQ(PixelOf(*canvas32, 0, 0) >> 24, 0xFFu);
  EXPECT_EQ(PixelOf(*canvas32, 1, 1) >> 24, 0x60u);
}

TEST(PngPicture, ScaledDrawingTakesNearestPixelsForColourAndAlphaAlike) {
  TPNGGraphic png;
  LoadBytes(png, QuadPng());
  const std::uint32_t canvasColor = 0x000080;
  auto canvas = Canvas24(4, 4, RGB(0, 0, 0x80));
  canvas->Canvas()->StretchDraw(vcl::Rect(0, 0, 4, 4), &png);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_EQ(RgbAt(*canvas, x, y), Over(kQuad[(y / 2) * 2 + x / 2], canvasColor)) << x << "," << y;
}

TEST(PngPicture, ColourImagesWithATransparentColourDrawThroughIt) {
  SampleImage rgb(2, 1, 2, 8);
  rgb.Set(0, 0, 0, 0x11);
  rgb.Set(0, 0, 1, 0x22);
  rgb.Set(0, 0, 2, 0x33);
  rgb.Set(1, 0, 0, 0xF0);
  PngOptions options;
  options.beforeImage = {Chunk("tRNS", Be16({0x11, 0x22, 0x33}))};
  TPNGGraphic png;
  LoadBytes(png, WritePng(rgb, options));
  EXPECT_EQ(png.PixelFormat(), vcl::pf24bit);
  EXPECT_TRUE(png.Transparent());
  EXPECT_EQ(png.TransparentColor(), static_cast<vcl::TColor>(RGB(0x11, 0x22, 0x33)));
  auto canvas = Canvas24(2, 1, RGB(0, 0x99, 0));
  canvas->Canvas()->Draw(0, 0, &png);
  EXPECT_TRUE(ColoursAre(*canvas, {{0, 0, RGB(0, 0x99, 0)}, {1, 0, RGB(0xF0, 0, 0)}}));

  // The next image read into the same picture has no transparent colour of its own.
  LoadBytes(png, WritePng(rgb));
  EXPECT_FALSE(png.Transparent());
  auto again = Canvas24(2, 1, RGB(0, 0x99, 0));
  again->Canvas()->Draw(0, 0, &png);
  EXPECT_EQ(ColorOf(*again, 0, 0), RGB(0x11, 0x22, 0x33));
}

std::vector<std::uint8_t> Concatenated(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
  std::vector<std::uint8_t> out = a;
  out.insert(out.end(), b.begin(), b.end());
  return out;
}

// The class name and text of what loading Bytes raises; the stream goes back to where the
// image began.
std::pair<std::wstring, std::wstring> FailureOf(const std::vector<std::uint8_t>& bytes) {
  TPNGGraphic png;
  TMemoryStream stream;
  SetBytes(&stream, Concatenated({'a', 'b'}, bytes));
  stream.SetPosition(2);
  try {
    png.LoadFromStream(&stream);
  } catch (const vcl::Exception& e) {
    EXPECT_EQ(stream.Position(), 2);
    return {e.ClassName(), e.Message()};
  }
  return {L"none", L""};
}

TEST(PngPicture, ReaderErrorsRaiseTheLibraryExceptions) {
  const auto image = SampleImage::Pattern(4, 4, 2, 8);
  auto chunks = MakeChunks(image);
  chunks[1].crc = 1;
  EXPECT_EQ(FailureOf(Serialize(chunks)), std::pair(std::wstring(L"EInvalidGraphic"),
                                                     std::wstring(L"Cannot load image. CRC error found in PNG file.")));
  EXPECT_EQ(FailureOf({}).first, L"EInvalidGraphic");
  // Every kind of the reader's errors has its library exception.
  const std::pair<TGraphicErrorKind, const wchar_t*> kinds[] = {
      {TGraphicErrorKind::InvalidGraphic, L"EInvalidGraphic"},
      {TGraphicErrorKind::GraphicCompression, L"EGraphicCompression"},
      {TGraphicErrorKind::ColorConversion, L"EColorConversionError"},
  };
  for (const auto& [kind, name] : kinds) {
    try {
      RaiseGraphicError(EPngError(kind, "LZ77 decompression error."));
      ADD_FAILURE() << "nothing raised";
    } catch (const vcl::Exception& e) {
      EXPECT_STREQ(e.ClassName(), name);
      EXPECT_EQ(e.Message(), L"LZ77 decompression error.");
    }
  }
  EXPECT_THROW(RaiseGraphicError(EPngError(TGraphicErrorKind::ColorConversion, "x")), EColorConversionError);
  EXPECT_THROW(RaiseGraphicError(EPngError(TGraphicErrorKind::GraphicCompression, "x")), vcl::EGraphicCompression);
}

TEST(PngPicture, ABrokenFileLeavesThePictureAsItWas) {
  TempFile good(L"good.png");
  good.Write(QuadPng());
  TempFile bad(L"bad.png");
  auto broken = QuadPng();
  broken.resize(broken.size() / 2);
  bad.Write(broken);
  vcl::TPicture picture;
  picture.LoadFromFile(good.Path());
  EXPECT_THROW(picture.LoadFromFile(bad.Path()), vcl::EInvalidGraphic);
  EXPECT_EQ(picture.Width(), 2);
  EXPECT_EQ(picture.Graphic()->ClassName(), L"TPNGGraphic");
}

void ExpectImagesInTurn(vcl::TStream& stream, std::size_t firstSize, std::size_t totalSize) {
  TPNGGraphic png;
  png.LoadFromStream(&stream);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(firstSize));
  EXPECT_EQ(PixelOf(png, 1, 1), 0x40C8C8C8u);
  png.LoadFromStream(&stream);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(totalSize));
  EXPECT_EQ(png.Width(), 3);
  EXPECT_EQ(png.PixelFormat(), vcl::pf8bit);
  EXPECT_EQ(ColorOf(png, 2, 0), RGB(99, 99, 99));
  EXPECT_THROW(png.LoadFromStream(&stream), vcl::EInvalidGraphic);  // nothing left
}

TEST(PngPicture, ImagesStoredOneAfterAnotherReadInTurn) {
  SampleImage grey(3, 1, 0, 8);
  grey.Set(2, 0, 0, 99);
  const auto first = QuadPng();
  PngOptions paeth;
  paeth.filter = FilterChoice::Paeth;
  const auto both = Concatenated(first, WritePng(grey, paeth));

  TMemoryStream memory;
  SetBytes(&memory, both);
  ExpectImagesInTurn(memory, first.size(), both.size());

  TempFile file(L"two.bin");
  file.Write(both);
  vcl::TFileStream stream(file.Path(), vcl::fmOpenRead);
  ExpectImagesInTurn(stream, first.size(), both.size());
}

TEST(PngPicture, IsValidLooksWithoutMovingTheStream) {
  TPNGGraphic png;
  const auto bytes = Concatenated({7, 7, 7}, WritePng(SampleImage::Pattern(5, 3, 4, 16)));
  TMemoryStream stream;
  SetBytes(&stream, bytes);
  stream.SetPosition(3);
  EXPECT_TRUE(png.IsValid(&stream));
  EXPECT_EQ(stream.Position(), 3);
  EXPECT_EQ(png.ImageProperties().Width, 5u);
  EXPECT_EQ(png.ImageProperties().ColorScheme, TColorScheme::GrayAlpha);
  EXPECT_TRUE(png.Empty());  // looking does not load
  stream.SetPosition(0);
  EXPECT_FALSE(png.IsValid(&stream));
  EXPECT_EQ(stream.Position(), 0);
}

TEST(PngPicture, AssignmentCarriesImagePropertiesAndPixels) {
  TPNGGraphic source;
  LoadBytes(source, WritePng(SampleImage::Pattern(3, 2, 6, 16)));
  TPNGGraphic copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.ImageProperties(), source.ImageProperties());
  EXPECT_EQ(copy.PixelFormat(), vcl::pf32bit);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(copy, x, y), PixelOf(source, x, y));

  // A picture holding one keeps its class; a plain bitmap takes the pixels.
  vcl::TPicture picture;
  picture.SetGraphic(&source);
  EXPECT_EQ(picture.Graphic()->ClassName(), L"TPNGGraphic");
  vcl::TBitmap plain;
  plain.Assign(&source);
  EXPECT_EQ(plain.PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(PixelOf(plain, 2, 1), PixelOf(source, 2, 1));
}

// Colour and palette images read in 32 bits: every pixel the one the picture read as before
// shows, copied to 32 bits, opaque; grey and alpha images as before. Each draws as the picture
// read as before draws (through its transparent colour, scaled), also once assigned.
TEST(PngPicture, ColourAndPaletteImagesReadIn32BitsAreTheirPixelsMadeOpaque) {
  const std::vector<std::array<std::uint8_t, 3>> colors = {
      {{10, 0, 0}}, {{0, 20, 0}}, {{0, 0, 30}}, {{40, 40, 40}}, {{255, 0, 255}}, {{50, 60, 70}}};
  PngOptions withPalette;
  withPalette.beforeImage = {PaletteChunk(colors)};
  PngOptions key;
  key.beforeImage = {Chunk("tRNS", Be16({0x11, 0x22, 0x33}))};
  PngOptions interlaced;
  interlaced.interlaced = true;
  struct Case {
    const char* name;
    SampleImage image;
    PngOptions options;
    vcl::TPixelFormat before;
  };
  auto keyed = SampleImage::Pattern(7, 5, 2, 8, 3);
  for (unsigned c = 0; c < 3; ++c) keyed.Set(2, 1, c, static_cast<std::uint16_t>(0x11 * (c + 1)));
  const Case cases[] = {
      {"RGB", SampleImage::Pattern(13, 7, 2, 8, 1), {}, vcl::pf24bit},
      {"RGB 16-bit", SampleImage::Pattern(5, 3, 2, 16, 2), {}, vcl::pf24bit},
      {"RGB with a colour key", keyed, key, vcl::pf24bit},
      {"RGB interlaced", SampleImage::Pattern(9, 9, 2, 8, 4), interlaced, vcl::pf24bit},
      {"palette 1-bit", SampleImage::Pattern(11, 3, 3, 1, 5), withPalette, vcl::pf1bit},
      {"palette 2-bit", SampleImage::Pattern(11, 3, 3, 2, 6), withPalette, vcl::pf4bit},
      {"palette 4-bit", SampleImage::Pattern(11, 3, 3, 4, 7), withPalette, vcl::pf4bit},
      {"palette 8-bit, indices past the palette", SampleImage::Pattern(11, 3, 3, 8, 8), withPalette, vcl::pf8bit},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto bytes = WritePng(c.image, c.options);
    TPNGGraphic before, wide;
    LoadBytes(before, bytes);
    wide.SetOpaqueAs32Bits(true);
    EXPECT_TRUE(wide.OpaqueAs32Bits());
    LoadBytes(wide, bytes);
    ASSERT_EQ(before.PixelFormat(), c.before);
    ASSERT_EQ(wide.PixelFormat(), vcl::pf32bit);
    EXPECT_EQ(wide.Transparent(), before.Transparent());
    // A colour key's colour comes along; without one the automatic colour is the bitmap's own
    // (white for a one-bit one), not the file's.
    if (before.Transparent()) {
      EXPECT_EQ(wide.TransparentColor(), before.TransparentColor());
    }
    const auto copy = Bmp32Copy(&before, false);
    const int w = before.Width(), h = before.Height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) ASSERT_EQ(PixelOf(wide, x, y), PixelOf(*copy, x, y)) << x << "," << y;

    // Drawn at its size and scaled, itself and a copy assigned from it.
    TPNGGraphic assigned;
    assigned.Assign(&wide);
    for (const vcl::TRect r : {vcl::Rect(1, 1, 1 + w, 1 + h), vcl::Rect(0, 0, 2 * w + 1, 2 * h + 3)}) {
      const int cw = 2 * w + 2, ch = 2 * h + 4;
      auto expected = Canvas24(cw, ch, RGB(0, 0x99, 0));
      expected->Canvas()->StretchDraw(r, &before);
      for (TPNGGraphic* picture : {&wide, &assigned}) {
        auto canvas = Canvas24(cw, ch, RGB(0, 0x99, 0));
        canvas->Canvas()->StretchDraw(r, picture);
        for (int y = 0; y < ch; ++y)
          for (int x = 0; x < cw; ++x)
            ASSERT_EQ(ColorOf(*canvas, x, y), ColorOf(*expected, x, y)) << x << "," << y << (picture == &wide ? "" : " assigned");
      }
    }
  }
  // Grey images stay indexed; images with alpha are as they were, and blend by it.
  TPNGGraphic grey;
  grey.SetOpaqueAs32Bits(true);
  LoadBytes(grey, WritePng(SampleImage::Pattern(3, 2, 0, 8, 1)));
  EXPECT_EQ(grey.PixelFormat(), vcl::pf8bit);
  TPNGGraphic quad;
  quad.SetOpaqueAs32Bits(true);
  LoadBytes(quad, QuadPng());
  EXPECT_TRUE(PixelsAre(quad, {{0, 0, 0xFFFF0000u}, {1, 0, 0x0000FF00u}, {0, 1, 0x80102030u}, {1, 1, 0x40C8C8C8u}}));
  auto canvas = Canvas24(2, 2, RGB(0x28, 0x78, 0xC8));
  canvas->Canvas()->Draw(0, 0, &quad);
  EXPECT_EQ(RgbAt(*canvas, 0, 1), Over(kQuad[2], 0x2878C8));
}

struct ProgressLog {
  std::vector<std::pair<vcl::TProgressStage, std::wstring>> notices;
  void Record(vcl::TObject*, vcl::TProgressStage stage, std::uint8_t, bool, const vcl::TRect&, const vcl::String& msg) {
    notices.emplace_back(stage, msg);
  }
};

TEST(PngPicture, LoadingReportsItsStages) {
  TPNGGraphic png;
  ProgressLog log;
  png.OnProgress = vcl::TProgressEvent::Bind<&ProgressLog::Record>(&log);
  LoadBytes(png, QuadPng());
  const std::vector<std::pair<vcl::TProgressStage, std::wstring>> expected = {
      {vcl::psStarting, L"Preparing..."}, {vcl::psEnding, L""}, {vcl::psStarting, L"Transfering..."},
      {vcl::psEnding, L""}};
  EXPECT_EQ(log.notices, expected);
}

}  // namespace
}  // namespace skin_layered::test

namespace skin_layered::test {
namespace {

TEST(PngLoading, AnyGraphicTakesThePicture) {
  vcl::TBitmap fromStream;
  TMemoryStream stream;
  const auto bytes = QuadPng();
  SetBytes(&stream, bytes);
  LoadPngFromStream(&fromStream, &stream);
  ASSERT_EQ(fromStream.PixelFormat(), vcl::pf32bit);
  EXPECT_EQ(PixelOf(fromStream, 0, 0), Bgra(0, 0, 255, 255));

  TempFile file(L"loader.png");
  file.Write(bytes);
  vcl::TBitmap fromFile;
  LoadPngFromFile(&fromFile, file.Path());
  EXPECT_EQ(PixelOf(fromFile, 0, 0), Bgra(0, 0, 255, 255));

  // A broken picture raises as the picture class does and leaves the target as it was.
  TempFile broken(L"broken.png");
  broken.Write({0x89, 'P', 'N', 'G', 1, 2, 3});
  EXPECT_THROW(LoadPngFromFile(&fromFile, broken.Path()), vcl::EInvalidGraphic);
  EXPECT_EQ(PixelOf(fromFile, 0, 0), Bgra(0, 0, 255, 255));
}

}  // namespace
}  // namespace skin_layered::test
