#include "skin_classic/paint/SkinBitmaps.h"

#include <algorithm>

#include "classlib/graphics/GraphicsDibFormat.h"
#include "skin_classic/io/AsciiText.h"

namespace winskin {
namespace {

using vcl::TColor;

// A sunken channel: dark above and left, light below and right, two pixels deep.
void DrawChannel(TBitmap* Bitmap, int w, int h) {
  Bitmap->Assign(nullptr);
  Bitmap->SetPixelFormat(vcl::pf24bit);
  Bitmap->SetSize(w, h);
  vcl::TCanvas* c = Bitmap->Canvas();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      TColor colour = 0xE8E8E8;  // the groove
      if (x == 0 || y == 0) {
        colour = vcl::clGray;
      } else if (x == w - 1 || y == h - 1) {
        colour = vcl::clWhite;
      } else if (x == 1 || y == 1) {
        colour = 0x404040;
      } else if (x == w - 2 || y == h - 2) {
        colour = vcl::clSilver;
      }
      c->SetPixels(x, y, colour);
    }
  }
}

}  // namespace

std::unique_ptr<TBitmap> NewSkinBitmap(int Width, int Height) {
  if (Width <= 0 || Height <= 0 || Width > vcl::dib::kMaxSide || Height > vcl::dib::kMaxSide ||
      int64_t{Width} * Height > vcl::dib::kMaxPixels)
    return nullptr;
  try {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(vcl::pf24bit);
    b->SetSize(Width, Height);
    return b->Empty() ? nullptr : std::move(b);
  } catch (const vcl::Exception&) {
    return nullptr;
  }
}

void CopyBitmapRect(TBitmap* Dest, int X, int Y, TBitmap* Source, const TRect& From) {
  if (!Dest || !Source || Dest->Empty() || Source->Empty()) return;
  // Clip the source rectangle to the source, moving the destination point along.
  TRect src = From;
  int dx = X, dy = Y;
  if (src.Left < 0) { dx -= src.Left; src.Left = 0; }
  if (src.Top < 0) { dy -= src.Top; src.Top = 0; }
  src.Right = std::min(src.Right, Source->Width());
  src.Bottom = std::min(src.Bottom, Source->Height());
  if (dx < 0) { src.Left -= dx; dx = 0; }
  if (dy < 0) { src.Top -= dy; dy = 0; }
  const int w = std::min(src.Width(), Dest->Width() - dx), h = std::min(src.Height(), Dest->Height() - dy);
  if (w <= 0 || h <= 0) return;
  BitBlt(Dest->Canvas()->Handle(), dx, dy, w, h, Source->Canvas()->Handle(), src.Left, src.Top, SRCCOPY);
}

bool LoadSkinBitmap(TBitmap* Bitmap, const TSkinReader& Reader, const skin_classic::PictureRef& Picture) {
  if (!Bitmap) return false;
  Bitmap->Assign(nullptr);
  if (!Picture.Present()) return false;
  vcl::TMemoryStream stream;
  Reader.Extract(Picture.entry, &stream);
  try {
    Bitmap->LoadFromStream(&stream);
  } catch (const vcl::Exception&) {
    Bitmap->Assign(nullptr);
    return false;
  }
  if (Picture.crop) {
    const skin_classic::PictureCrop& c = *Picture.crop;
    std::unique_ptr<TBitmap> part = NewSkinBitmap(c.width, c.height);
    if (part) CopyBitmapRect(part.get(), 0, 0, Bitmap, vcl::Bounds(c.left, c.top, c.width, c.height));
    Bitmap->Assign(part.get());
  }
  return !Bitmap->Empty();
}

bool LoadSkinBitmap(TBitmap* Bitmap, const TSkinReader& Reader, std::string_view FileName) {
  return LoadSkinBitmap(Bitmap, Reader, skin_classic::FindSkinPicture(Reader.Package(), FileName));
}

void LoadEngineBitmap(TBitmap* Bitmap, std::string_view Name) {
  if (skin_classic::EqualsIgnoringAsciiCase(Name, "TRACK")) {
    DrawChannel(Bitmap, 24, 8);
  } else if (skin_classic::EqualsIgnoringAsciiCase(Name, "TRACKVERT")) {
    DrawChannel(Bitmap, 8, 24);
  } else {
    throw vcl::EResNotFound(L"Resource " + vcl::Utf8ToWide(Name) + L" not found");
  }
}

}  // namespace winskin
