// Bitmaps: pixel formats, scan lines, alpha, handles, transparent drawing, BMP files and
// resources, and icons.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics_test_support.h"

namespace vcl {
namespace {

using test::At;
using test::Rgb;
using test::Surface;

// Colours that every format from 4 bits up stores exactly (all channels 0 or 255).
const TColor kPure[] = {clBlack, clWhite, clRed, clLime, clBlue, clYellow, clFuchsia, clAqua};

std::unique_ptr<TBitmap> Pattern(TPixelFormat format = pf24bit) {
  auto b = Surface(8, 3, clWhite, format);
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 3; ++y) b->Canvas()->SetPixels(x, y, kPure[(x + y) % 8]);
  return b;
}

TEST(BitmapFormats, ConversionsKeepPixels) {
  for (TPixelFormat f : {pf4bit, pf8bit, pf15bit, pf16bit, pf32bit, pfDevice}) {
    auto b = Pattern();
    b->SetPixelFormat(f);
    EXPECT_EQ(b->PixelFormat(), f);
    b->SetPixelFormat(pf24bit);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 3; ++y) ASSERT_EQ(At(*b, x, y), kPure[(x + y) % 8]) << int(f) << " " << x << "," << y;
  }
  // One bit: black and white survive, colours go to the nearer of the two.
  auto b = Pattern();
  b->SetPixelFormat(pf1bit);
  EXPECT_TRUE(b->Monochrome());
  EXPECT_EQ(At(*b, 0, 0), clBlack);
  EXPECT_EQ(At(*b, 1, 0), clWhite);
  EXPECT_EQ(At(*b, 7, 0), clWhite);  // aqua is nearer white
  EXPECT_THROW(b->SetPixelFormat(pfCustom), EInvalidGraphic);
}

TEST(BitmapFormats, ScanLinesRunTopRowFirstOverBottomUpRows) {
  auto b = Surface(3, 3);
  const auto* r0 = static_cast<uint8_t*>(b->ScanLine(0));
  const auto* r1 = static_cast<uint8_t*>(b->ScanLine(1));
  EXPECT_EQ(r1 - r0, -12);  // 3 pixels of 3 bytes padded to 12, rows stored bottom-up
  auto* top = static_cast<uint8_t*>(b->ScanLine(0));
  top[0] = 0;
  top[1] = 0;
  top[2] = 255;  // blue, green, red
  EXPECT_EQ(At(*b, 0, 0), clRed);
  auto* last = static_cast<uint8_t*>(b->ScanLine(2));
  last[3] = 255;
  last[4] = 0;
  last[5] = 0;
  EXPECT_EQ(At(*b, 1, 2), clBlue);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { b->ScanLine(3); }), L"Scan line index out of range");
  EXPECT_THROW(b->ScanLine(-1), EInvalidGraphic);

  // A device bitmap becomes a DIB for scan-line access.
  TBitmap d;
  d.SetSize(2, 2);
  EXPECT_EQ(d.HandleType(), bmDDB);
  ASSERT_NE(d.ScanLine(0), nullptr);
  EXPECT_EQ(d.HandleType(), bmDIB);
}

TEST(BitmapFormats, ThirtyTwoBitPixelsKeepTheirAlpha) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(2, 2);
  for (int y = 0; y < 2; ++y) {
    auto* row = static_cast<uint8_t*>(b.ScanLine(y));
    for (int x = 0; x < 2; ++x) {
      row[4 * x] = 10;
      row[4 * x + 1] = 20;
      row[4 * x + 2] = 30;
      row[4 * x + 3] = static_cast<uint8_t>(100 + 10 * (2 * y + x));
    }
  }
  auto alphaAt = [](TBitmap& bmp, int x, int y) { return static_cast<uint8_t*>(bmp.ScanLine(y))[4 * x + 3]; };

  b.SetSize(3, 3);  // grows, keeping the old pixels
  EXPECT_EQ(alphaAt(b, 1, 1), 130);
  EXPECT_EQ(alphaAt(b, 2, 2), 0);
  TBitmap copy;
  copy.Assign(&b);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(alphaAt(copy, 1, 0), 110);

  TMemoryStream s;
  b.SaveToStream(&s);
  s.SetPosition(0);
  TBitmap loaded;
  loaded.LoadFromStream(&s);
  EXPECT_EQ(loaded.PixelFormat(), pf32bit);
  EXPECT_EQ(alphaAt(loaded, 0, 1), 120);

  // From another format the alpha bytes start at 0.
  auto opaque = Surface(2, 2, clRed);
  opaque->SetPixelFormat(pf32bit);
  EXPECT_EQ(alphaAt(*opaque, 0, 0), 0);
  EXPECT_EQ(static_cast<uint8_t*>(opaque->ScanLine(0))[2], 255);
}

TEST(BitmapFormats, DeviceBitmapsHandleTypesAndMonochrome) {
  TBitmap b;
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.PixelFormat(), pfDevice);
  EXPECT_EQ(b.HandleType(), bmDDB);
  b.SetWidth(4);
  EXPECT_TRUE(b.Empty());  // no pixels until both sides are set
  EXPECT_EQ(b.Width(), 4);
  b.SetHeight(4);
  ASSERT_FALSE(b.Empty());
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  b.SetHandleType(bmDIB);
  EXPECT_EQ(b.PixelFormat(), DeviceFormat());
  EXPECT_EQ(At(b, 3, 3), clRed);
  b.SetPixelFormat(pfDevice);
  EXPECT_EQ(b.HandleType(), bmDDB);
  EXPECT_EQ(At(b, 0, 0), clRed);

  auto m = Pattern();
  m->SetMonochrome(true);
  EXPECT_EQ(m->PixelFormat(), pf1bit);
  EXPECT_EQ(At(*m, 0, 0), clBlack);
  TBitmap dm;
  dm.SetSize(2, 2);
  dm.SetMonochrome(true);
  EXPECT_TRUE(dm.Monochrome());
  EXPECT_EQ(dm.PixelFormat(), pfDevice);
  BITMAP info{};
  ASSERT_TRUE(GetObjectW(dm.Handle(), sizeof(info), &info));
  EXPECT_EQ(info.bmBitsPixel, 1);
}

TEST(BitmapFormats, SetSizeKeepsThePictureAndFillsWithTheBrush) {
  auto b = Surface(2, 2, clRed);
  b->Canvas()->Brush()->SetColor(clBlue);
  b->SetSize(4, 3);
  EXPECT_EQ(At(*b, 1, 1), clRed);
  EXPECT_EQ(At(*b, 3, 2), clBlue);
  b->SetSize(1, 1);
  EXPECT_EQ(At(*b, 0, 0), clRed);

  TBitmap plain;  // no canvas: new pixels are zero
  plain.SetPixelFormat(pf24bit);
  plain.SetSize(2, 1);
  EXPECT_EQ(static_cast<uint8_t*>(plain.ScanLine(0))[3], 0);
  plain.SetSize(0, 5);
  EXPECT_TRUE(plain.Empty());
}

// A picture keeping its memory changes size in place as long as its room holds it: it keeps
// its pixels at the top left, fills what it gains with the brush (or zero), and everything
// that reads it (pixels, scan lines, copies, files, drawing) sees the picture's own size.
TEST(BitmapFormats, APictureKeepingItsMemoryResizesInPlaceAndShowsOnlyItsOwnSize) {
  auto b = Surface(40, 30, clRed, pf32bit);
  b->SetKeepsMemory(true);
  b->Canvas()->Brush()->SetColor(clBlue);
  b->SetSize(50, 40);  // grows with room to spare
  const void* row0 = b->ScanLine(0);
  EXPECT_EQ(At(*b, 39, 29), clRed);
  EXPECT_EQ(At(*b, 49, 39), clBlue);
  b->Canvas()->SetPixels(45, 35, clLime);
  b->SetSize(40, 30);  // shrinks in place
  EXPECT_EQ(b->ScanLine(0), row0);
  EXPECT_EQ(b->Width(), 40);
  EXPECT_EQ(b->Height(), 30);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { b->ScanLine(30); }), L"Scan line index out of range");
  BITMAP handle{};
  ASSERT_NE(GetObjectW(b->Handle(), sizeof handle, &handle), 0);
  EXPECT_GE(handle.bmWidth, 50);  // the room stays behind the picture
  b->Canvas()->Brush()->SetColor(clYellow);
  b->SetSize(50, 40);  // grows back in place: what it gains is filled anew
  EXPECT_EQ(b->ScanLine(0), row0);
  EXPECT_EQ(At(*b, 39, 29), clRed);
  EXPECT_EQ(At(*b, 45, 35), clYellow);
  EXPECT_EQ(At(*b, 45, 5), clYellow);
  EXPECT_EQ(At(*b, 5, 35), clYellow);

  // Copies, files and drawing take the picture alone.
  b->SetSize(40, 30);
  TBitmap copy;
  copy.Assign(b.get());
  EXPECT_EQ(copy.Width(), 40);
  EXPECT_EQ(copy.Height(), 30);
  EXPECT_EQ(At(copy, 39, 29), clRed);
  TMemoryStream file;
  b->SaveToStream(&file);
  file.SetPosition(0);
  TBitmap read;
  read.LoadFromStream(&file);
  EXPECT_EQ(read.Width(), 40);
  EXPECT_EQ(read.Height(), 30);
  EXPECT_EQ(At(read, 0, 29), clRed);
  auto target = Surface(60, 40, clWhite);
  target->Canvas()->StretchDraw(Rect(0, 0, 60, 40), b.get());
  EXPECT_EQ(At(*target, 59, 39), clRed);  // the picture stretched, not its room

  // Without a canvas the gained pixels are zero; a picture much smaller than its room moves
  // to memory of its own size; a conversion keeps the picture alone.
  TBitmap plain;
  plain.SetPixelFormat(pf32bit);
  plain.SetKeepsMemory(true);
  plain.SetSize(8, 8);
  std::memset(plain.ScanLine(0), 0xFF, 8 * 4);
  plain.SetSize(4, 4);
  plain.SetSize(8, 8);
  EXPECT_EQ(static_cast<uint32_t*>(plain.ScanLine(0))[7], 0u);
  EXPECT_EQ(static_cast<uint32_t*>(plain.ScanLine(0))[3], 0xFFFFFFFFu);
  plain.SetSize(2, 2);
  ASSERT_NE(GetObjectW(plain.Handle(), sizeof handle, &handle), 0);
  EXPECT_LT(handle.bmWidth, 8);
  plain.SetSize(8, 8);
  plain.SetSize(6, 6);
  plain.SetPixelFormat(pf24bit);
  ASSERT_NE(GetObjectW(plain.Handle(), sizeof handle, &handle), 0);
  EXPECT_EQ(handle.bmWidth, 6);
  EXPECT_EQ(plain.Width(), 6);
}

TEST(BitmapFormats, PalettesBecomeColourTables) {
  TBitmap b;
  b.SetPixelFormat(pf8bit);
  b.SetSize(2, 1);
  ASSERT_NE(b.Palette(), nullptr);
  struct {
    WORD version, count;
    PALETTEENTRY entries[2];
  } lp{0x300, 2, {{200, 10, 20, 0}, {1, 2, 3, 0}}};
  b.SetPalette(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  static_cast<uint8_t*>(b.ScanLine(0))[0] = 0;
  static_cast<uint8_t*>(b.ScanLine(0))[1] = 1;
  EXPECT_EQ(At(b, 0, 0), Rgb(200, 10, 20));
  EXPECT_EQ(At(b, 1, 0), Rgb(1, 2, 3));
  b.SetPixelFormat(pf24bit);  // the colours, not the indexes, survive
  EXPECT_EQ(At(b, 0, 0), Rgb(200, 10, 20));
}

TEST(BitmapDrawing, TransparentColourIsLeftOut) {
  auto sprite = Surface(4, 4, clFuchsia);
  sprite->Canvas()->Brush()->SetColor(clRed);
  sprite->Canvas()->FillRect(Rect(1, 1, 3, 3));
  EXPECT_EQ(sprite->TransparentMode(), tmAuto);
  EXPECT_EQ(sprite->TransparentColor(), clFuchsia);  // the bottom-left pixel
  sprite->SetTransparent(true);

  auto dst = Surface(6, 6);
  dst->Canvas()->Draw(1, 1, sprite.get());
  EXPECT_EQ(At(*dst, 1, 1), clWhite);
  EXPECT_EQ(At(*dst, 2, 2), clRed);
  EXPECT_EQ(At(*dst, 4, 4), clWhite);

  sprite->SetTransparentColor(clRed);
  EXPECT_EQ(sprite->TransparentMode(), tmFixed);
  auto dst2 = Surface(6, 6);
  dst2->Canvas()->Draw(0, 0, sprite.get());
  EXPECT_EQ(At(*dst2, 0, 0), clFuchsia);
  EXPECT_EQ(At(*dst2, 1, 1), clWhite);
  sprite->SetTransparentMode(tmAuto);
  EXPECT_EQ(sprite->TransparentColor(), clFuchsia);

  // Opaque drawing stretches without smoothing.
  auto two = Surface(2, 1);
  two->Canvas()->SetPixels(0, 0, clRed);
  two->Canvas()->SetPixels(1, 0, clBlue);
  auto big = Surface(4, 2);
  big->Canvas()->StretchDraw(Rect(0, 0, 4, 2), two.get());
  EXPECT_EQ(At(*big, 1, 1), clRed);
  EXPECT_EQ(At(*big, 2, 0), clBlue);
}

TEST(BitmapHandles, TakenAndReleasedHandles) {
  auto b = Pattern();
  HBITMAP h = b->ReleaseHandle();
  EXPECT_TRUE(b->Empty());
  ASSERT_NE(h, nullptr);
  TBitmap c;
  c.SetHandle(h);
  EXPECT_EQ(c.Width(), 8);
  EXPECT_EQ(c.Height(), 3);
  EXPECT_EQ(c.PixelFormat(), pf24bit);
  EXPECT_EQ(At(c, 2, 0), clRed);

  TBitmap d;
  d.SetHandle(CreateCompatibleBitmap(WindowDC().get(), 5, 6));
  EXPECT_EQ(d.PixelFormat(), pfDevice);
  EXPECT_EQ(d.Height(), 6);
  d.SetHandle(nullptr);
  EXPECT_TRUE(d.Empty());
}

// The memory DCs of bitmap canvases: held through a scope, a few kept for the next one, none
// once the program is idle.
int64_t LiveDCs() { return LiveCount(TLiveKind::DeviceContexts); }

// What the thread may keep between scopes, and a count of canvases that passes it.
constexpr int64_t kKeptBound = 4;
constexpr int kCanvases = 6;

// Pictures filled with their colours, their canvases holding no DC.
std::vector<std::unique_ptr<TBitmap>> Filled(int Count) {
  std::vector<std::unique_ptr<TBitmap>> pictures;
  const TMemoryContextScope filling;
  for (int i = 0; i < Count; ++i) pictures.push_back(Surface(4, 2, kPure[i % 8]));
  return pictures;
}

TEST(BitmapContexts, CanvasesLetGoOfTheirDCsAtTheOutermostScopesEndAndTheKeptOnesWhenIdle) {
  std::vector<std::unique_ptr<TBitmap>> pictures = Filled(kCanvases + 1);
  std::unique_ptr<TBitmap> locked = std::move(pictures.back());
  pictures.pop_back();
  FreeMemoryContexts();
  const int64_t before = LiveDCs();
  locked->Canvas()->Lock();
  {
    const TMemoryContextScope outer;
    {
      const TMemoryContextScope inner;
      pictures[0]->Canvas()->Handle();
    }
    // An inner scope's end lets nothing go.
    EXPECT_TRUE(pictures[0]->Canvas()->HandleAllocated());
    for (auto& p : pictures) p->Canvas()->SetPixels(1, 1, clBlack);
    locked->Canvas()->SetPixels(1, 1, clBlack);
    EXPECT_EQ(LiveDCs(), before + kCanvases + 1);
  }
  for (auto& p : pictures) EXPECT_FALSE(p->Canvas()->HandleAllocated());
  EXPECT_TRUE(locked->Canvas()->HandleAllocated());  // a locked canvas keeps its DC
  EXPECT_LE(LiveDCs(), before + 1 + kKeptBound);
  EXPECT_GT(LiveDCs(), before + 1);  // some are kept for the next scope

  // A kept DC serves the next canvas with its own picture: each draws into its own pixels.
  const int64_t kept = LiveDCs();
  {
    const TMemoryContextScope scope;
    pictures[1]->Canvas()->SetPixels(2, 0, clLime);
    EXPECT_EQ(LiveDCs(), kept);
    pictures[2]->Canvas()->SetPixels(3, 0, clBlue);
  }
  for (int i = 0; i < kCanvases; ++i) {
    EXPECT_EQ(At(*pictures[i], 0, 0), kPure[i]) << i;
    EXPECT_EQ(At(*pictures[i], 1, 1), clBlack) << i;
  }
  EXPECT_EQ(At(*pictures[1], 2, 0), clLime);
  EXPECT_EQ(At(*pictures[2], 2, 0), kPure[2]);
  EXPECT_EQ(At(*pictures[2], 3, 0), clBlue);
  EXPECT_EQ(At(*pictures[1], 3, 0), kPure[1]);

  for (auto& p : pictures) p.reset();  // their canvases took DCs of their own outside a scope
  FreeMemoryContexts();
  EXPECT_EQ(LiveDCs(), before + 1);
  locked->Canvas()->Unlock();
  locked.reset();  // its DC, taken in a scope, is kept for the next one
  FreeMemoryContexts();
  EXPECT_EQ(LiveDCs(), before);
}

TEST(BitmapContexts, AKeptMemoryDCHoldsItsBitmapForItsScopeAndGoesBackWithout) {
  std::vector<std::unique_ptr<TBitmap>> pictures = Filled(2);
  TBitmap* first = pictures[0].get();
  TBitmap* second = pictures[1].get();
  const HBITMAP firstBits = first->ReleaseHandle(), secondBits = second->ReleaseHandle();
  FreeMemoryContexts();
  const int64_t before = LiveDCs();
  {
    const TKeptMemoryDC dc(firstBits);
    ASSERT_TRUE(dc.ok());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), firstBits);
    PatBlt(dc.get(), 0, 0, 3, 3, WHITENESS);  // over black
  }
  EXPECT_EQ(LiveDCs(), before + 1);  // kept
  {
    const TKeptMemoryDC dc(secondBits);  // the kept one, holding only the second bitmap
    ASSERT_TRUE(dc.ok());
    EXPECT_EQ(LiveDCs(), before + 1);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), secondBits);
    SetPixel(dc.get(), 1, 1, RGB(255, 0, 0));
  }
  first->SetHandle(firstBits);
  second->SetHandle(secondBits);
  EXPECT_EQ(At(*first, 1, 1), clWhite);
  EXPECT_EQ(At(*second, 1, 1), clRed);
  EXPECT_EQ(At(*second, 0, 0), kPure[1]);

  // Nothing to select: no DC for the caller, and none more kept.
  {
    const TKeptMemoryDC none(nullptr);
    EXPECT_FALSE(none.ok());
  }
  EXPECT_LE(LiveDCs(), before + 1 + 2);  // the two canvases of At
  // However many are taken at once, no more than a few are kept.
  {
    std::vector<UniqueBitmap> bits;  // outlive the DCs they are selected into
    std::vector<std::unique_ptr<TKeptMemoryDC>> many;
    for (int i = 0; i < kCanvases; ++i) {
      bits.emplace_back(CreateBitmap(2, 2, 1, 1, nullptr));
      many.push_back(std::make_unique<TKeptMemoryDC>(bits.back().get()));
      ASSERT_TRUE(many.back()->ok());
    }
  }
  pictures.clear();
  EXPECT_LE(LiveDCs(), before + kKeptBound);
  FreeMemoryContexts();
  EXPECT_EQ(LiveDCs(), before);
}

std::vector<uint8_t> Rows24(const std::vector<std::vector<TColor>>& bottomUp) {
  std::vector<uint8_t> out;
  for (const auto& row : bottomUp) {
    for (TColor c : row) {
      out.push_back(static_cast<uint8_t>(c >> 16));
      out.push_back(static_cast<uint8_t>(c >> 8));
      out.push_back(static_cast<uint8_t>(c));
    }
    while (out.size() % 4) out.push_back(0);
  }
  return out;
}

TEST(BmpFiles, ReadEveryFormatAndWriteThemBack) {
  TMemoryStream s;
  TBitmap b;
  // 24 bits, followed by bytes that are not the picture's: the stream stops after it.
  auto file = test::BmpFile(2, 2, 24, 0, {}, Rows24({{clRed, clLime}, {clBlue, clWhite}}));
  const size_t fileSize = file.size();
  file.push_back(0xEE);
  test::LoadBytes(s, file);
  b.LoadFromStream(&s);
  EXPECT_EQ(s.Position(), static_cast<int64_t>(fileSize));
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(At(b, 0, 0), clBlue);  // rows are stored bottom-up
  EXPECT_EQ(At(b, 1, 1), clLime);

  // 4 bits with a colour table.
  test::LoadBytes(s, test::BmpFile(3, 1, 4, 0, {0x000000, 0x00FF00, 0x0000FF}, {0x12, 0x00, 0, 0}));
  b.LoadFromStream(&s);
  EXPECT_EQ(b.PixelFormat(), pf4bit);
  EXPECT_EQ(At(b, 0, 0), clLime);
  EXPECT_EQ(At(b, 1, 0), clBlue);
  EXPECT_EQ(At(b, 2, 0), clBlack);

  // Run-length 8 bits.
  test::LoadBytes(s, test::BmpFile(4, 1, 8, 1, {0xFFFFFF, 0xFF0000}, {2, 1, 2, 0, 0, 1}));
  b.LoadFromStream(&s);
  EXPECT_EQ(b.PixelFormat(), pf8bit);
  EXPECT_EQ(At(b, 1, 0), clRed);
  EXPECT_EQ(At(b, 3, 0), clWhite);

  // Every format written and read again gives the same pixels.
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
    auto p = Pattern(pf24bit);
    p->SetPixelFormat(f);
    TMemoryStream out;
    p->SaveToStream(&out);
    out.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&out);
    EXPECT_EQ(back.PixelFormat(), f == pfDevice ? DeviceFormat() : f);
    for (int x = 0; x < 8; ++x)
      for (int y = 0; y < 3; ++y) ASSERT_EQ(At(back, x, y), At(*p, x, y)) << int(f);
  }

  // Form data: a byte count, then the file.
  TMemoryStream data;
  auto p = Pattern();
  p->WriteData(&data);
  data.SetPosition(0);
  TBitmap fromData;
  fromData.ReadData(&data);
  EXPECT_EQ(At(fromData, 3, 1), At(*p, 3, 1));
  EXPECT_EQ(data.Position(), data.Size());
}

TEST(BmpFiles, BrokenFilesRaiseAndLeaveTheBitmapAlone) {
  auto b = Pattern();
  TMemoryStream s;
  auto expectRefused = [&](const std::vector<uint8_t>& bytes) {
    test::LoadBytes(s, bytes);
    EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { b->LoadFromStream(&s); }), L"Bitmap image is not valid");
    EXPECT_EQ(b->Width(), 8);
    EXPECT_EQ(At(*b, 2, 0), clRed);
  };
  expectRefused({});
  expectRefused({'B', 'M', 1, 2, 3});
  auto good = test::BmpFile(2, 2, 24, 0, {}, Rows24({{clRed, clLime}, {clBlue, clWhite}}));
  auto cut = good;
  cut.resize(good.size() - 6);
  expectRefused(cut);
  auto huge = good;
  huge[18] = 0xFF;  // width 0x...FF02: far beyond the limit
  huge[19] = 0xFF;
  expectRefused(huge);
  auto badBits = good;
  badBits[28] = 7;
  expectRefused(badBits);

  // Every prefix of a valid file loads or is refused; nothing else happens.
  for (size_t n = 0; n < good.size(); ++n) {
    test::LoadBytes(s, std::vector<uint8_t>(good.begin(), good.begin() + static_cast<ptrdiff_t>(n)));
    TBitmap t;
    try {
      t.LoadFromStream(&s);
    } catch (const EInvalidGraphic&) {
      EXPECT_TRUE(t.Empty());
    }
  }
}

TEST(BmpFiles, BitmapResourcesByName) {
  TBitmap b;
  b.LoadFromResourceName(GetModuleHandleW(nullptr), L"GRAPHICSBMP");
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(At(b, 0, 0), clRed);
  EXPECT_EQ(At(b, 3, 0), clWhite);
  EXPECT_EQ(At(b, 2, 1), clFuchsia);
  EXPECT_EQ(MessageOf<EResNotFound>([&] { b.LoadFromResourceName(GetModuleHandleW(nullptr), L"NOSUCHBMP"); }), L"Resource NOSUCHBMP not found");
}

TEST(Icons, IconFilesLoadDrawAndSave) {
  const auto file = test::IconFile(16, 255, 0, 0);
  TMemoryStream s;
  test::LoadBytes(s, file);
  TIcon icon;
  icon.LoadFromStream(&s);
  EXPECT_FALSE(icon.Empty());
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  EXPECT_TRUE(icon.Transparent());
  EXPECT_THROW(icon.SetWidth(32), EInvalidGraphicOperation);

  auto dst = Surface(20, 20);
  dst->Canvas()->Draw(2, 2, &icon);
  EXPECT_EQ(At(*dst, 5, 5), clRed);
  EXPECT_EQ(At(*dst, 1, 1), clWhite);

  TMemoryStream saved;
  icon.SaveToStream(&saved);
  EXPECT_EQ(test::BytesOf(saved), file);

  // An icon that only has a handle is written as an icon file of its own.
  TIcon fromHandle;
  fromHandle.SetHandle(CopyIcon(icon.Handle()));
  EXPECT_EQ(fromHandle.Width(), 16);
  TMemoryStream made;
  fromHandle.SaveToStream(&made);
  made.SetPosition(0);
  TIcon again;
  again.LoadFromStream(&made);
  auto dst2 = Surface(20, 20);
  dst2->Canvas()->Draw(0, 0, &again);
  EXPECT_EQ(At(*dst2, 8, 8), clRed);

  TIcon copy;
  copy.Assign(&icon);
  EXPECT_NE(copy.Handle(), icon.Handle());
  EXPECT_EQ(copy.Width(), 16);

  auto broken = file;
  broken.resize(broken.size() - 10);
  test::LoadBytes(s, broken);
  EXPECT_EQ(MessageOf<EInvalidGraphic>([&] { icon.LoadFromStream(&s); }), L"Icon image is not valid");
  EXPECT_EQ(icon.Width(), 16);  // unchanged
}

}  // namespace
}  // namespace vcl
