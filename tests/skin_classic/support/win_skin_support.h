// Helpers of the classic engine's Windows tests: synthetic packages loaded through streams,
// flat-coloured bitmaps and pixel reads.
#pragma once

#include <memory>
#include <vector>

#include "classlib/graphics/Graphics.h"
#include "skin_classic/io/WinSkinIni.h"
#include "skin_classic/io/WinSkinReader.h"
#include "skin_classic/support/SkinBitmapWriter.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace winskin::test {

using namespace skin_classic::test_support;

inline void Fill(vcl::TMemoryStream& s, const std::vector<uint8_t>& bytes) {
  s.Clear();
  if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  s.SetPosition(0);
}

inline std::vector<uint8_t> BytesOf(vcl::TMemoryStream& s) {
  return std::vector<uint8_t>(s.Memory(), s.Memory() + s.Size());
}

// A package loaded into a reader, and its description into an INI reader.
struct LoadedPackage {
  TSkinReader reader;
  TQuickIni ini;
};

inline std::unique_ptr<LoadedPackage> LoadPackage(const PackageSpec& spec) {
  auto p = std::make_unique<LoadedPackage>();
  vcl::TMemoryStream stream;
  Fill(stream, BuildPackage(spec));
  if (!p->reader.LoadFromStream(&stream)) return nullptr;
  vcl::TMemoryStream ini;
  AnsiString name;
  p->reader.ExtractByExt(".ini", &ini, name);
  p->ini.LoadFromStream(&ini);
  return p;
}

// A 24-bit bitmap of one colour.
inline std::unique_ptr<vcl::TBitmap> Surface(int w, int h, vcl::TColor fill) {
  auto b = std::make_unique<vcl::TBitmap>();
  b->SetPixelFormat(vcl::pf24bit);
  b->SetSize(w, h);
  b->Canvas()->Brush()->SetColor(fill);
  b->Canvas()->FillRect(vcl::Rect(0, 0, w, h));
  return b;
}

// A bitmap read from BMP bytes of the writer.
inline std::unique_ptr<vcl::TBitmap> FromBmp(const std::vector<uint8_t>& bmp) {
  vcl::TMemoryStream s;
  Fill(s, bmp);
  auto b = std::make_unique<vcl::TBitmap>();
  b->LoadFromStream(&s);
  return b;
}

inline std::unique_ptr<vcl::TBitmap> Frames(int frameWidth, int frameHeight, const std::vector<Rgb>& colours,
                                            bool stacked = false) {
  return FromBmp(FramesBmp(frameWidth, frameHeight, colours, stacked));
}

inline vcl::TColor At(vcl::TBitmap* b, int x, int y) { return b->Canvas()->Pixels(x, y); }
inline vcl::TColor C(Rgb rgb) { return static_cast<vcl::TColor>(rgb); }

}  // namespace winskin::test
