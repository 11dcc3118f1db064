#include "classlib/graphics/GraphicsBitmap.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace vcl {

namespace {

const wchar_t kInvalidBitmap[] = L"Bitmap image is not valid";
const wchar_t kOutOfResources[] = L"Out of system resources";
// The most a bitmap file may take; larger than any picture within the reader's limits.
constexpr int64_t kMaxBmpBytes = int64_t{1} << 29;
// The most bytes of pixels one bitmap may hold.
constexpr uint64_t kMaxImageBytes = uint64_t{1} << 30;

bool Indexed(TPixelFormat f) { return f == pf1bit || f == pf4bit || f == pf8bit; }
bool StandardDib(TPixelFormat f) { return f != pfDevice && f != pfCustom; }

TPixelFormat FormatOf(dib::Layout layout) {
  switch (layout) {
    case dib::Layout::Mono1: return pf1bit;
    case dib::Layout::Indexed4: return pf4bit;
    case dib::Layout::Indexed8: return pf8bit;
    case dib::Layout::Rgb555: return pf15bit;
    case dib::Layout::Rgb565: return pf16bit;
    case dib::Layout::Bgr24: return pf24bit;
    case dib::Layout::Bgra32: return pf32bit;
  }
  return pf32bit;
}

int BitCountOf(TPixelFormat f) { return StandardDib(f) ? dib::BitsPerPixel(LayoutOf(f)) : 32; }

size_t StrideFor(int bitCount, int width) {
  return ((static_cast<size_t>(width) * static_cast<size_t>(bitCount) + 31) / 32) * 4;
}

// The colour table an indexed format needs: the given one padded or cut to size, or the
// default table when none is given.
std::vector<dib::Rgbq> TableFor(TPixelFormat f, std::vector<dib::Rgbq> colors) {
  if (!Indexed(f)) return {};
  const size_t n = static_cast<size_t>(dib::PaletteSize(LayoutOf(f)));
  if (colors.empty()) return dib::DefaultPalette(LayoutOf(f));
  colors.resize(n);
  return colors;
}

// Format of an adopted DIB section.
TPixelFormat FormatOfSection(const DIBSECTION& ds) {
  const DWORD* m = ds.dsBitfields;
  switch (ds.dsBmih.biBitCount) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16:
      if (ds.dsBmih.biCompression == BI_RGB || (m[0] == 0x7C00 && m[1] == 0x03E0 && m[2] == 0x001F)) return pf15bit;
      if (m[0] == 0xF800 && m[1] == 0x07E0 && m[2] == 0x001F) return pf16bit;
      return pfCustom;
    case 24: return pf24bit;
    case 32:
      if (ds.dsBmih.biCompression == BI_RGB || (m[0] == 0xFF0000 && m[1] == 0xFF00 && m[2] == 0xFF)) return pf32bit;
      return pfCustom;
    default: return pfCustom;
  }
}

// A 32-bit top-down DIB section used to move pixels through GDI.
struct Bgra32Section {
  UniqueBitmap handle;
  dib::Rgbq* bits = nullptr;

  Bgra32Section(int w, int h) {
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = w;
    bmi.bmiHeader.biHeight = -h;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    void* p = nullptr;
    handle.reset(CreateDIBSection(nullptr, &bmi, DIB_RGB_COLORS, &p, nullptr, 0));
    if (!handle) throw EOutOfResources(kOutOfResources);
    bits = static_cast<dib::Rgbq*>(p);
  }
};

}  // namespace

dib::Layout LayoutOf(TPixelFormat format) {
  switch (format) {
    case pf1bit: return dib::Layout::Mono1;
    case pf4bit: return dib::Layout::Indexed4;
    case pf8bit: return dib::Layout::Indexed8;
    case pf15bit: return dib::Layout::Rgb555;
    case pf16bit: return dib::Layout::Rgb565;
    case pf24bit: return dib::Layout::Bgr24;
    default: return dib::Layout::Bgra32;
  }
}

TPixelFormat DeviceFormat() {
  WindowDC screen;
  const int bpp = screen.get() ? GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES) : 24;
  switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 15: return pf15bit;
    case 16: return pf16bit;
    case 32: return pf32bit;
    default: return pf24bit;
  }
}

// ---------------------------------------------------------------------------------------
// The bitmap's canvas: a memory DC holding the bitmap for as long as the canvas needs it.

class TBitmapCanvas : public TCanvas {
  VCL_CLASS(TBitmapCanvas, TCanvas)

 public:
  explicit TBitmapCanvas(TBitmap* owner) : bitmap_(owner) {}
  ~TBitmapCanvas() override { FreeContext(); }

  HDC DC() const { return dc_.get(); }

  // Lets go of the DC: the canvas's tools and the bitmap are deselected, the DC deleted (or,
  // taken in a memory context scope, its state put back and kept for the next canvas).
  void FreeContext() {
    if (!dc_) return;
    Unnote();
    SetHandle(nullptr);
    if (old_bitmap_) SelectObject(dc_.get(), old_bitmap_);
    old_bitmap_ = nullptr;
    const int saved = std::exchange(saved_, 0);
    if (saved && !Scopes::gone && OpenScopes().kept.size() < kKeptContexts && RestoreDC(dc_.get(), saved)) {
      OpenScopes().kept.push_back(std::move(dc_));
      return;
    }
    dc_.reset();
  }

  // The bitmap's pixels were replaced: the DC holds the new ones (or none).
  void SelectImage(HBITMAP bmp) {
    if (!dc_) return;
    if (bmp) {
      HGDIOBJ previous = SelectObject(dc_.get(), bmp);
      if (!old_bitmap_ && previous && previous != HGDI_ERROR) old_bitmap_ = previous;
    } else if (old_bitmap_) {
      SelectObject(dc_.get(), old_bitmap_);
    }
  }

 protected:
  void CreateHandle() override {
    if (dc_) return;
    Scopes& scopes = OpenScopes();
    if (scopes.depth > 0 && !scopes.kept.empty()) {
      dc_ = std::move(scopes.kept.back());
      scopes.kept.pop_back();
    } else {
      dc_.reset(CreateCompatibleDC(nullptr));
    }
    if (!dc_) throw EOutOfResources(kOutOfResources);
    if (scopes.depth > 0) saved_ = SaveDC(dc_.get());
    SelectImage(bitmap_->image_.handle.get());
    SetHandle(dc_.get());
    Note();
  }

 private:
  friend class vcl::TMemoryContextScope;
  friend class vcl::TKeptMemoryDC;
  friend void vcl::FreeMemoryContexts();

  // The canvases that made a DC while a memory context scope was open, and a few DCs kept
  // from them for the next scope: a new DC costs about four times what selecting a bitmap
  // into a kept one and putting its state back does.
  static constexpr std::size_t kKeptContexts = 4;
  struct Scopes {
    int depth = 0;
    std::vector<TBitmapCanvas*> noted;
    std::vector<UniqueDC> kept;
    static inline bool gone = false;  // the thread's scopes are destroyed: nothing is kept
    ~Scopes() { gone = true; }
  };
  static Scopes& OpenScopes() {
    thread_local Scopes scopes;
    return scopes;
  }
  void Note() {
    Scopes& scopes = OpenScopes();
    if (scopes.depth == 0 || noted_) return;
    noted_ = true;
    scopes.noted.push_back(this);
  }
  void Unnote() {
    if (!noted_) return;
    noted_ = false;
    std::erase(OpenScopes().noted, this);
  }

  TBitmap* bitmap_;
  UniqueDC dc_;
  HGDIOBJ old_bitmap_ = nullptr;
  int saved_ = 0;  // the DC's state before the canvas took it from a scope, 0 for none
  bool noted_ = false;
};

VCL_CLASS_INFO(TBitmapCanvas) {}

TMemoryContextScope::TMemoryContextScope() { ++TBitmapCanvas::OpenScopes().depth; }

TMemoryContextScope::~TMemoryContextScope() {
  TBitmapCanvas::Scopes& scopes = TBitmapCanvas::OpenScopes();
  if (--scopes.depth > 0) return;
  const std::vector<TBitmapCanvas*> noted = std::exchange(scopes.noted, {});
  for (TBitmapCanvas* canvas : noted) {
    canvas->noted_ = false;
    if (canvas->LockCount() == 0) canvas->FreeContext();
  }
}

void FreeMemoryContexts() {
  if (!TBitmapCanvas::Scopes::gone) TBitmapCanvas::OpenScopes().kept.clear();
}

TKeptMemoryDC::TKeptMemoryDC(HBITMAP Bitmap) {
  if (!TBitmapCanvas::Scopes::gone && !TBitmapCanvas::OpenScopes().kept.empty()) {
    auto& kept = TBitmapCanvas::OpenScopes().kept;
    dc_ = std::move(kept.back());
    kept.pop_back();
  } else {
    dc_.reset(CreateCompatibleDC(nullptr));
  }
  if (!dc_) return;
  saved_ = SaveDC(dc_.get());
  const HGDIOBJ previous = Bitmap ? SelectObject(dc_.get(), Bitmap) : nullptr;
  selected_ = previous && previous != HGDI_ERROR;
}

TKeptMemoryDC::~TKeptMemoryDC() {
  if (!dc_ || !saved_ || TBitmapCanvas::Scopes::gone) return;
  auto& kept = TBitmapCanvas::OpenScopes().kept;
  if (kept.size() < TBitmapCanvas::kKeptContexts && RestoreDC(dc_.get(), saved_)) kept.push_back(std::move(dc_));
}

// A DC holding the bitmap's pixels for one operation: the canvas's when it has one, else a
// temporary memory DC.
class ImageDC {
 public:
  explicit ImageDC(const TBitmap& b) {
    if (b.canvas_ && b.canvas_->DC()) {
      dc_ = b.canvas_->DC();
    } else {
      temp_.emplace(b.image_.handle.get());
      dc_ = temp_->get();
    }
  }
  HDC get() const { return dc_; }

 private:
  std::optional<MemoryDC> temp_;
  HDC dc_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// TBitmap

VCL_CLASS_INFO(TBitmap) {}

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
  canvas_.reset();  // the DC lets go of the pixels before they are deleted
}

TBitmap::Image TBitmap::MakeImage(int w, int h, TPixelFormat format, bool mono, std::span<const dib::Rgbq> colors) const {
  Image img;
  img.width = w;
  img.height = h;
  if (format == pfDevice) {
    WindowDC screen;
    HBITMAP hb = mono ? CreateBitmap(w, h, 1, 1, nullptr) : CreateCompatibleBitmap(screen.get(), w, h);
    if (!hb) throw EOutOfResources(kOutOfResources);
    img.handle.reset(hb);
    img.ddb = true;
    img.mono = mono;
    img.format = pfDevice;
    img.bitCount = mono ? 1 : GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
    MemoryDC dc(hb);
    PatBlt(dc.get(), 0, 0, w, h, BLACKNESS);  // device bitmaps start undefined
    return img;
  }

  const int bitCount = BitCountOf(format);
  const size_t stride = StrideFor(bitCount, w);
  if (stride * static_cast<uint64_t>(h) > kMaxImageBytes) throw EOutOfResources(kOutOfResources);
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
  } bmi{};
  bmi.header.biSize = sizeof(BITMAPINFOHEADER);
  bmi.header.biWidth = w;
  bmi.header.biHeight = h;  // bottom-up, as the library makes them
  bmi.header.biPlanes = 1;
  bmi.header.biBitCount = static_cast<WORD>(bitCount);
  bmi.header.biCompression = BI_RGB;
  if (format == pf16bit) {
    bmi.header.biCompression = BI_BITFIELDS;
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(bmi.colors, masks, sizeof(masks));
  } else if (Indexed(format)) {
    const size_t n = std::min<size_t>(colors.size(), static_cast<size_t>(dib::PaletteSize(LayoutOf(format))));
    for (size_t i = 0; i < n; ++i) bmi.colors[i] = RGBQUAD{colors[i].b, colors[i].g, colors[i].r, 0};
    bmi.header.biClrUsed = static_cast<DWORD>(dib::PaletteSize(LayoutOf(format)));
  }
  void* bits = nullptr;
  img.handle.reset(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!img.handle || !bits) throw EOutOfResources(kOutOfResources);
  img.bits = static_cast<uint8_t*>(bits);
  img.stride = stride;
  img.format = format;
  img.bitCount = bitCount;
  return img;
}

void TBitmap::ReplaceImage(Image next) {
  if (canvas_) canvas_->SelectImage(next.handle.get());
  image_ = std::move(next);  // the old pixels are deleted once no DC holds them
  palette_.reset();
  if (image_.handle) {
    width_ = image_.width;
    height_ = image_.height;
  }
}

uint8_t* TBitmap::RowAddress(const Image& img, int row) const {
  const int stored = img.topDown ? row : img.height - 1 - row;
  return img.bits + img.stride * static_cast<size_t>(stored);
}

std::vector<dib::Rgbq> TBitmap::ReadPixels() const {
  const int w = width_, h = height_;
  std::vector<dib::Rgbq> px(static_cast<size_t>(w) * static_cast<size_t>(h));
  if (px.empty()) return px;
  if (!image_.ddb && StandardDib(image_.format)) {
    GdiFlush();
    for (int r = 0; r < h; ++r)
      dib::RowToBgra(LayoutOf(image_.format), RowAddress(image_, r), w, colors_, px.data() + static_cast<size_t>(r) * w);
    return px;
  }
  // Device bitmaps and unusual DIBs: through GDI into 32 bits.
  Bgra32Section tmp(w, h);
  {
    MemoryDC dst(tmp.handle.get());
    ImageDC src(*this);
    SetTextColor(dst.get(), RGB(0, 0, 0));
    SetBkColor(dst.get(), RGB(255, 255, 255));
    BitBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  std::memcpy(px.data(), tmp.bits, px.size() * sizeof(dib::Rgbq));
  return px;
}

void TBitmap::WritePixels(Image& img, const dib::Rgbq* px, int pxStride, int w, int h,
                          std::span<const dib::Rgbq> colors) const {
  if (w <= 0 || h <= 0) return;
  if (!img.ddb) {
    GdiFlush();
    for (int r = 0; r < h; ++r)
      dib::BgraToRow(LayoutOf(img.format), px + static_cast<size_t>(r) * pxStride, w, colors, RowAddress(img, r));
    return;
  }
  Bgra32Section tmp(w, h);
  for (int r = 0; r < h; ++r)
    std::memcpy(tmp.bits + static_cast<size_t>(r) * w, px + static_cast<size_t>(r) * pxStride,
                static_cast<size_t>(w) * sizeof(dib::Rgbq));
  MemoryDC src(tmp.handle.get());
  MemoryDC dst(img.handle.get());
  SetBkColor(src.get(), RGB(255, 255, 255));  // white becomes 1 in a monochrome bitmap
  BitBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
}

void TBitmap::CopyPixelsTo(Image& to, int w, int h, std::span<const dib::Rgbq> toColors) const {
  if (!image_.handle || w <= 0 || h <= 0) return;
  const bool sameDib = !image_.ddb && !to.ddb && StandardDib(image_.format) && image_.format == to.format &&
                       std::equal(colors_.begin(), colors_.end(), toColors.begin(), toColors.end());
  const size_t bytes = (static_cast<size_t>(w) * static_cast<size_t>(image_.bitCount)) / 8;
  if (sameDib && (image_.bitCount >= 8 || w == width_)) {
    GdiFlush();
    for (int r = 0; r < h; ++r) std::memcpy(RowAddress(to, r), RowAddress(image_, r), std::max<size_t>(bytes, 1));
    return;
  }
  if (to.ddb && image_.ddb && !to.mono && !image_.mono) {
    MemoryDC dst(to.handle.get());
    ImageDC src(*this);
    BitBlt(dst.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
    return;
  }
  const std::vector<dib::Rgbq> px = ReadPixels();
  WritePixels(to, px.data(), width_, w, h, toColors);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
  AWidth = std::max(AWidth, 0);
  AHeight = std::max(AHeight, 0);
  if (AWidth == width_ && AHeight == height_) return;
  if (AWidth == 0 || AHeight == 0) {
    ReplaceImage(Image{});
    width_ = AWidth;
    height_ = AHeight;
    Changed(this);
    return;
  }
  const TPixelFormat format = format_ == pfCustom ? pf32bit : format_;
  // Room to keep memory in: whole bytes a pixel, so a picture's rows start on bytes.
  const bool room = keeps_memory_ && StandardDib(format) && BitCountOf(format) >= 8;
  if (room && image_.handle && !image_.ddb && image_.format == format && AWidth <= image_.width &&
      AHeight <= image_.height &&
      uint64_t{4} * static_cast<uint64_t>(AWidth) * static_cast<uint64_t>(AHeight) >=
          static_cast<uint64_t>(image_.width) * static_cast<uint64_t>(image_.height)) {
    // The picture grows or shrinks in place: only what it gains is filled.
    const int keptWidth = std::min(width_, AWidth), keptHeight = std::min(height_, AHeight);
    width_ = AWidth;
    height_ = AHeight;
    FillOutside(keptWidth, keptHeight);
    Changed(this);
    return;
  }
  std::vector<dib::Rgbq> colors = TableFor(format, colors_);
  // Grown with a quarter to spare.
  const int allocWidth = room ? AWidth + AWidth / 4 : AWidth;
  const int allocHeight = room ? AHeight + AHeight / 4 : AHeight;
  Image next = MakeImage(allocWidth, allocHeight, format, format == pfDevice && mono_, colors);
  if (canvas_) {
    MemoryDC dc(next.handle.get());
    RECT all{0, 0, AWidth, AHeight};
    ::FillRect(dc.get(), &all, canvas_->Brush()->Handle());
  }
  CopyPixelsTo(next, std::min(AWidth, width_), std::min(AHeight, height_), colors);
  format_ = format;
  colors_ = std::move(colors);
  ReplaceImage(std::move(next));
  width_ = AWidth;
  height_ = AHeight;
  Changed(this);
}

void TBitmap::FillOutside(int KeptWidth, int KeptHeight) {
  const RECT right{KeptWidth, 0, width_, KeptHeight};
  const RECT below{0, KeptHeight, width_, height_};
  if (canvas_) {
    ImageDC image(*this);
    const HDC dc = image.get();
    const int saved = SaveDC(dc);
    SelectClipRgn(dc, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    HBRUSH brush = canvas_->Brush()->Handle();
    if (right.left < right.right && right.top < right.bottom) ::FillRect(dc, &right, brush);
    if (below.left < below.right && below.top < below.bottom) ::FillRect(dc, &below, brush);
    RestoreDC(dc, saved);
    return;
  }
  GdiFlush();
  const size_t pixel = static_cast<size_t>(image_.bitCount / 8);
  for (int r = 0; r < height_; ++r) {
    const int from = r < KeptHeight ? KeptWidth : 0;
    if (from < width_)
      std::memset(RowAddress(image_, r) + pixel * static_cast<size_t>(from), 0,
                  pixel * static_cast<size_t>(width_ - from));
  }
}

void TBitmap::ConvertTo(TPixelFormat format, bool mono) {
  if (!image_.handle) {
    format_ = format;
    mono_ = format == pfDevice && mono;
    colors_ = TableFor(format, Indexed(format_) ? colors_ : std::vector<dib::Rgbq>{});
    return;
  }
  // An indexed picture keeps its colours at the start of a larger table.
  std::vector<dib::Rgbq> colors = TableFor(format, {});
  if (Indexed(format) && Indexed(format_) && format != pf1bit)
    std::copy_n(colors_.begin(), std::min(colors_.size(), colors.size()), colors.begin());
  Image next = MakeImage(width_, height_, format, format == pfDevice && mono, colors);
  CopyPixelsTo(next, width_, height_, colors);
  format_ = format;
  mono_ = format == pfDevice && mono;
  colors_ = std::move(colors);
  ReplaceImage(std::move(next));
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
  if (Value == pfCustom) throw EInvalidGraphic(L"Invalid pixel format");
  if (Value == format_ && !(Value == pfDevice && Monochrome())) return;
  ConvertTo(Value, false);
  Changed(this);
}

void TBitmap::SetHandleType(TBitmapHandleType Value) {
  if (Value == HandleType()) return;
  if (Value == bmDDB)
    ConvertTo(pfDevice, false);
  else
    ConvertTo(Monochrome() ? pf1bit : DeviceFormat(), false);
  Changed(this);
}

bool TBitmap::Monochrome() const {
  if (format_ == pfDevice) return image_.handle ? image_.mono : mono_;
  return format_ == pf1bit;
}

void TBitmap::SetMonochrome(bool Value) {
  if (Value == Monochrome()) return;
  if (format_ == pfDevice)
    ConvertTo(pfDevice, Value);
  else
    ConvertTo(Value ? pf1bit : pf24bit, false);
  Changed(this);
}

void* TBitmap::ScanLine(int Row) {
  if (format_ == pfDevice && image_.handle) SetHandleType(bmDIB);
  if (!image_.handle || !image_.bits || Row < 0 || Row >= height_)
    throw EInvalidGraphic(L"Scan line index out of range");
  GdiFlush();
  return RowAddress(image_, Row);
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_ = std::make_unique<TBitmapCanvas>(this);
    canvas_->OnChange = TNotifyEvent::Bind<&TBitmap::CanvasChanged>(this);
  }
  return canvas_.get();
}

void TBitmap::CanvasChanged(TObject*) { Changed(this); }

void TBitmap::Changed(TObject* Sender) { TGraphic::Changed(Sender); }

HBITMAP TBitmap::Handle() {
  if (canvas_ && canvas_->LockCount() == 0) canvas_->FreeContext();
  return image_.handle.get();
}

void TBitmap::SetHandle(HBITMAP Value) {
  if (Value && Value == image_.handle.get()) return;
  Image next;
  std::vector<dib::Rgbq> colors;
  if (Value) {
    DIBSECTION ds{};
    const int got = GetObjectW(Value, sizeof(ds), &ds);
    if (got == 0 || ds.dsBm.bmWidth <= 0 || ds.dsBm.bmHeight == 0) throw EInvalidGraphic(kInvalidBitmap);
    next.handle.reset(Value);
    next.width = ds.dsBm.bmWidth;
    next.height = std::abs(ds.dsBm.bmHeight);
    if (got == sizeof(DIBSECTION) && ds.dsBm.bmBits) {
      next.bits = static_cast<uint8_t*>(ds.dsBm.bmBits);
      next.bitCount = ds.dsBmih.biBitCount;
      next.stride = StrideFor(next.bitCount, next.width);
      next.topDown = ds.dsBmih.biHeight < 0;
      next.format = FormatOfSection(ds);
      if (Indexed(next.format)) {
        RGBQUAD table[256] = {};
        UINT n = 0;
        {
          MemoryDC dc(Value);
          if (dc.ok()) n = GetDIBColorTable(dc.get(), 0, 256, table);
        }
        for (UINT i = 0; i < n; ++i) colors.push_back(dib::Rgbq{table[i].rgbBlue, table[i].rgbGreen, table[i].rgbRed, 0});
        colors = TableFor(next.format, std::move(colors));
      }
    } else {
      next.ddb = true;
      next.bitCount = ds.dsBm.bmBitsPixel * ds.dsBm.bmPlanes;
      next.mono = next.bitCount == 1;
      next.format = pfDevice;
    }
  }
  format_ = Value ? next.format : format_;
  mono_ = Value ? next.mono : mono_;
  colors_ = Value ? std::move(colors) : colors_;
  if (!Value) width_ = height_ = 0;
  ReplaceImage(std::move(next));
  Changed(this);
}

HBITMAP TBitmap::ReleaseHandle() {
  if (canvas_) canvas_->SelectImage(nullptr);
  HBITMAP h = image_.handle.release();
  image_ = Image{};
  palette_.reset();
  width_ = height_ = 0;
  return h;
}

HPALETTE TBitmap::Palette() const {
  if (!palette_ && Indexed(format_) && !colors_.empty()) {
    struct {
      WORD version;
      WORD count;
      PALETTEENTRY entries[256];
    } lp{};
    lp.version = 0x300;
    lp.count = static_cast<WORD>(std::min<size_t>(colors_.size(), 256));
    for (size_t i = 0; i < lp.count; ++i) lp.entries[i] = PALETTEENTRY{colors_[i].r, colors_[i].g, colors_[i].b, 0};
    palette_.reset(CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp)));
  }
  return palette_.get();
}

void TBitmap::SetPalette(HPALETTE Value) {
  if (Value && Value == palette_.get()) return;
  if (Value && Indexed(format_)) {
    PALETTEENTRY entries[256] = {};
    const UINT n = GetPaletteEntries(Value, 0, 256, entries);
    std::vector<dib::Rgbq> colors;
    for (UINT i = 0; i < n; ++i) colors.push_back(dib::Rgbq{entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0});
    colors_ = TableFor(format_, std::move(colors));
    if (image_.handle && !image_.ddb) {
      std::vector<RGBQUAD> table;
      for (const auto& c : colors_) table.push_back(RGBQUAD{c.b, c.g, c.r, 0});
      ImageDC dc(*this);
      SetDIBColorTable(dc.get(), 0, static_cast<UINT>(table.size()), table.data());
    }
  }
  palette_.reset(Value);
  Changed(this);
}

dib::Rgbq TBitmap::PixelAt(int x, int y) const {
  if (!image_.handle || x < 0 || y < 0 || x >= width_ || y >= height_) return {};
  if (!image_.ddb && StandardDib(image_.format)) {
    GdiFlush();
    std::vector<dib::Rgbq> row(static_cast<size_t>(width_));
    dib::RowToBgra(LayoutOf(image_.format), RowAddress(image_, y), width_, colors_, row.data());
    return row[static_cast<size_t>(x)];
  }
  ImageDC dc(*this);
  const COLORREF c = GetPixel(dc.get(), x, y);
  return dib::Rgbq{GetBValue(c), GetGValue(c), GetRValue(c), 0};
}

TColor TBitmap::TransparentColor() const {
  if (transparent_color_ != clDefault) return ColorToRGB(transparent_color_);
  if (!image_.handle) return clDefault;
  if (Monochrome()) return clWhite;
  const dib::Rgbq c = PixelAt(0, height_ - 1);
  return static_cast<TColor>(RGB(c.r, c.g, c.b));
}

void TBitmap::SetTransparentColor(TColor Value) {
  if (Value == transparent_color_) return;
  transparent_mode_ = Value == clDefault ? tmAuto : tmFixed;
  transparent_color_ = Value;
  if (Transparent()) Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
  if (Value == transparent_mode_) return;
  SetTransparentColor(Value == tmAuto ? clDefault : TransparentColor());
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  auto* b = dynamic_cast<TBitmap*>(Source);
  if (Source && !b) {
    inherited::Assign(Source);
    return;
  }
  Image next;
  std::vector<dib::Rgbq> colors;
  TPixelFormat format = pfDevice;
  bool mono = false;
  if (b) {
    format = b->format_ == pfCustom && b->image_.handle ? pf32bit : b->format_;
    mono = b->Monochrome() && format == pfDevice;
    colors = TableFor(format, b->colors_);
    if (b->image_.handle) {
      next = MakeImage(b->width_, b->height_, format, mono, colors);
      b->CopyPixelsTo(next, b->width_, b->height_, colors);
    }
    transparent_color_ = b->transparent_color_;
    transparent_mode_ = b->transparent_mode_;
  }
  format_ = format;
  mono_ = mono;
  colors_ = std::move(colors);
  width_ = b ? b->width_ : 0;
  height_ = b ? b->height_ : 0;
  ReplaceImage(std::move(next));
  if (b) SetTransparent(b->Transparent());
  Changed(this);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || Empty()) return;
  HDC dst = ACanvas->Handle();
  if (!Monochrome()) {
    const int deviceBits = GetDeviceCaps(dst, BITSPIXEL) * GetDeviceCaps(dst, PLANES);
    if (deviceBits <= 8 && deviceBits < image_.bitCount) {
      POINT org{};
      GetBrushOrgEx(dst, &org);
      SetStretchBltMode(dst, HALFTONE);
      SetBrushOrgEx(dst, org.x, org.y, nullptr);
    } else {
      SetStretchBltMode(dst, COLORONCOLOR);
    }
  }
  ImageDC src(*this);
  if (Transparent()) {
    const COLORREF key = static_cast<COLORREF>(ColorToRGB(TransparentColor())) & 0xFFFFFF;
    GdiTransparentBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src.get(), 0, 0, width_, height_, key);
  } else {
    StretchBlt(dst, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), src.get(), 0, 0, width_, height_,
               static_cast<DWORD>(ACanvas->CopyMode()));
  }
}

size_t TBitmap::LoadFromBytes(std::span<const uint8_t> data, bool withFileHeader) {
  const std::optional<dib::BmpHeader> header = dib::ReadBmpHeader(data, withFileHeader);
  if (!header) throw EInvalidGraphic(kInvalidBitmap);
  const TPixelFormat format = FormatOf(header->layout);
  Image next = MakeImage(header->width, header->height, format, false, header->palette);
  const auto end = dib::DecodeBmpPixels(data, *header, std::span<uint8_t>(next.bits, next.stride * next.height));
  if (!end) throw EInvalidGraphic(kInvalidBitmap);
  format_ = format;
  mono_ = false;
  colors_ = header->palette;
  ReplaceImage(std::move(next));
  Changed(this);
  return *end;
}

void TBitmap::LoadFromStream(TStream* Stream) {
  const int64_t start = Stream->Position();
  const int64_t available = std::min(Stream->Size() - start, kMaxBmpBytes);
  if (available <= 0) throw EInvalidGraphic(kInvalidBitmap);
  std::vector<uint8_t> buffer;
  std::span<const uint8_t> data;
  if (auto* memory = dynamic_cast<TMemoryStream*>(Stream)) {
    data = std::span<const uint8_t>(memory->Memory() + start, static_cast<size_t>(available));
  } else {
    buffer.resize(static_cast<size_t>(available));
    Stream->ReadBuffer(buffer.data(), available);
    data = buffer;
  }
  const size_t used = LoadFromBytes(data, true);
  Stream->SetPosition(start + static_cast<int64_t>(used));
}

void TBitmap::SaveToStream(TStream* Stream) {
  if (Empty()) return;
  TPixelFormat format = format_;
  if (format == pfDevice) format = image_.mono ? pf1bit : DeviceFormat();
  if (format == pfCustom) format = pf32bit;
  const dib::Layout layout = LayoutOf(format);
  const int w = width_, h = height_;
  const std::vector<dib::Rgbq> colors = format == format_ ? colors_ : TableFor(format, {});
  const std::vector<uint8_t> headers = dib::BmpFileHeaders(layout, w, h, colors);
  Stream->WriteBuffer(headers.data(), static_cast<int64_t>(headers.size()));
  const size_t stride = dib::RowStride(layout, w);
  if (format == format_ && !image_.ddb) {
    GdiFlush();
    for (int r = h - 1; r >= 0; --r) Stream->WriteBuffer(RowAddress(image_, r), static_cast<int64_t>(stride));
    return;
  }
  const std::vector<dib::Rgbq> px = ReadPixels();
  std::vector<uint8_t> row(stride);
  for (int r = h - 1; r >= 0; --r) {
    std::fill(row.begin(), row.end(), 0);
    dib::BgraToRow(layout, px.data() + static_cast<size_t>(r) * w, w, colors, row.data());
    Stream->WriteBuffer(row.data(), static_cast<int64_t>(stride));
  }
}

void TBitmap::ReadData(TStream* Stream) {
  int32_t size = 0;
  Stream->ReadBuffer(&size, sizeof(size));
  if (size <= 0) {
    Assign(nullptr);
    return;
  }
  if (size > Stream->Size() - Stream->Position()) throw EInvalidGraphic(kInvalidBitmap);
  std::vector<uint8_t> data(static_cast<size_t>(size));
  Stream->ReadBuffer(data.data(), size);
  LoadFromBytes(data, true);
}

void TBitmap::WriteData(TStream* Stream) {
  TMemoryStream file;
  SaveToStream(&file);
  const int32_t size = static_cast<int32_t>(file.Size());
  Stream->WriteBuffer(&size, sizeof(size));
  if (size > 0) Stream->WriteBuffer(file.Memory(), size);
}

void TBitmap::LoadFromResource(HINSTANCE Instance, const wchar_t* Name, const String& ShownName) {
  HRSRC res = FindResourceW(Instance, Name, MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  HGLOBAL loaded = res ? LoadResource(Instance, res) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) throw EResNotFound(L"Resource " + ShownName + L" not found");
  LoadFromBytes(std::span<const uint8_t>(static_cast<const uint8_t*>(bytes), SizeofResource(Instance, res)), false);
}

void TBitmap::LoadFromResourceName(HINSTANCE Instance, const String& ResName) {
  LoadFromResource(Instance, ResName.c_str(), ResName);
}

void TBitmap::LoadFromResourceID(HINSTANCE Instance, int ResID) {
  LoadFromResource(Instance, MAKEINTRESOURCEW(ResID), std::to_wstring(ResID));
}

}  // namespace vcl
