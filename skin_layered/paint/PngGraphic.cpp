#include "skin_layered/paint/PngGraphic.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"

namespace skin_layered {
namespace {

// The most bytes one load reads from a stream; far beyond any image within the reader's limits.
constexpr std::int64_t kMaxPngBytes = std::int64_t{1} << 29;

// The bytes from a stream's position to its end: read in place from memory and resource
// streams, copied from others.
class TStreamBytes {
 public:
  explicit TStreamBytes(vcl::TStream* stream) {
    const std::int64_t start = stream->Position();
    const std::int64_t available = std::clamp<std::int64_t>(stream->Size() - start, 0, kMaxPngBytes);
    if (available == 0) return;
    const auto count = static_cast<std::size_t>(available);
    if (auto* memory = dynamic_cast<vcl::TMemoryStream*>(stream)) {
      bytes_ = {memory->Memory() + start, count};
    } else if (auto* resource = dynamic_cast<vcl::TResourceStream*>(stream)) {
      bytes_ = {resource->Memory() + start, count};
    } else {
      buffer_.resize(count);
      buffer_.resize(static_cast<std::size_t>(std::max<std::int64_t>(stream->Read(buffer_.data(), available), 0)));
      bytes_ = buffer_;
    }
  }
  std::span<const std::uint8_t> Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> buffer_;
  std::span<const std::uint8_t> bytes_;
};

std::optional<vcl::TPixelFormat> PixelFormatOf(TPixelLayout layout) {
  switch (layout) {
    case TPixelLayout::Bits1: return vcl::pf1bit;
    case TPixelLayout::Bits4: return vcl::pf4bit;
    case TPixelLayout::Bits8: return vcl::pf8bit;
    case TPixelLayout::Bits24: return vcl::pf24bit;
    case TPixelLayout::Bits32: return vcl::pf32bit;
    default: return std::nullopt;
  }
}

HPALETTE MakePalette(const std::vector<TPaletteEntry>& entries) {
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } palette{};
  palette.version = 0x300;
  palette.count = static_cast<WORD>(std::min<std::size_t>(entries.size(), 256));
  for (WORD i = 0; i < palette.count; ++i)
    palette.entries[i] = PALETTEENTRY{entries[i].Red, entries[i].Green, entries[i].Blue, 0};
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&palette));
}

vcl::TProgressStage StageOf(TProgressStage stage) {
  switch (stage) {
    case TProgressStage::Starting: return vcl::psStarting;
    case TProgressStage::Running: return vcl::psRunning;
    case TProgressStage::Ending: return vcl::psEnding;
  }
  return vcl::psRunning;
}

}  // namespace

void RaiseGraphicError(const EPngError& Error) {
  const vcl::String message = vcl::Utf8ToWide(Error.what());
  switch (Error.Kind()) {
    case TGraphicErrorKind::GraphicCompression: throw vcl::EGraphicCompression(message);
    case TGraphicErrorKind::ColorConversion: throw EColorConversionError(message);
    case TGraphicErrorKind::InvalidGraphic: break;
  }
  throw vcl::EInvalidGraphic(message);
}

// Hands the reader the picture's own bitmap to decode into.
class TPNGGraphic::TBitmapTarget final : public IPngImageTarget {
 public:
  explicit TBitmapTarget(TPNGGraphic& picture) : picture_(picture) {}
  TScanLines PrepareImage(const TPngImageLayout& layout) override { return picture_.PrepareImage(layout); }

 private:
  TPNGGraphic& picture_;
};

VCL_CLASS_INFO(TPNGGraphic) {}

TPNGGraphic::TPNGGraphic() {
  reader_.OnProgress = [this](const TPngProgress& notice) { ReaderProgress(notice); };
}

TPNGGraphic::~TPNGGraphic() = default;

void TPNGGraphic::Assign(vcl::TPersistent* Source) {
  auto* png = dynamic_cast<TPNGGraphic*>(Source);
  if (png == this) return inherited::Assign(Source);
  if (png) reader_.AssignProperties(png->reader_.Properties());
  opaque32_ = png && png->opaque32_;
  inherited::Assign(Source);
}

void TPNGGraphic::ReaderProgress(const TPngProgress& Notice) {
  const vcl::TRect rect{Notice.Rect.Left, Notice.Rect.Top, Notice.Rect.Right, Notice.Rect.Bottom};
  Progress(this, StageOf(Notice.Stage), Notice.PercentDone, Notice.RedrawNow, rect,
           vcl::Utf8ToWide(Notice.Message));
}

TScanLines TPNGGraphic::PrepareImage(const TPngImageLayout& Layout) {
  const std::optional<vcl::TPixelFormat> format = PixelFormatOf(Layout.Format);
  if (!format || Layout.Width == 0 || Layout.Height == 0) return {};
  SetSize(0, 0);
  SetPixelFormat(*format);
  // Only images with alpha come in 32 bits unless colour and palette images are asked so.
  opaque32_ = *format == vcl::pf32bit && ImageProperties().ColorScheme != TColorScheme::RGBA;
  if (*format == vcl::pf1bit || *format == vcl::pf4bit || *format == vcl::pf8bit) SetPalette(MakePalette(Layout.Palette));
  SetSize(static_cast<int>(Layout.Width), static_cast<int>(Layout.Height));
  if (Layout.TransparentColor != kNoColor) {
    SetTransparentColor(static_cast<vcl::TColor>(Layout.TransparentColor));
    SetTransparent(true);
  }
  TScanLines lines;
  InitScanLines(this, lines);
  return lines;
}

void TPNGGraphic::LoadFromStream(vcl::TStream* Stream) {
  // Nothing of an earlier image stays: neither its pixels nor its transparent colour.
  SetSize(0, 0);
  SetTransparent(false);
  SetTransparentColor(vcl::clDefault);
  opaque32_ = false;
  const std::int64_t base = Stream->Position();
  const TStreamBytes bytes(Stream);
  TBitmapTarget target(*this);
  std::size_t used = 0;
  // A picture that fails to load leaves the stream where it was.
  auto rewind = vcl::TScopeExit([Stream, base] { Stream->SetPosition(base); });
  try {
    used = reader_.LoadFromBytes(bytes.Bytes(), target);
  } catch (const EPngError& error) {
    RaiseGraphicError(error);
  }
  rewind.Dismiss();
  Stream->SetPosition(base + static_cast<std::int64_t>(used));
  Changed(this);
}

bool TPNGGraphic::IsValid(vcl::TStream* Stream) {
  const std::int64_t base = Stream->Position();
  const TStreamBytes bytes(Stream);
  Stream->SetPosition(base);
  try {
    return reader_.IsValid(bytes.Bytes());
  } catch (const EPngError& error) {
    RaiseGraphicError(error);
  }
}

void TPNGGraphic::Draw(vcl::TCanvas* ACanvas, const vcl::TRect& Rect) {
  if (PixelFormat() != vcl::pf32bit || opaque32_) {
    inherited::Draw(ACanvas, Rect);
    return;
  }
  if (!ACanvas || Empty() || Rect.IsEmpty()) return;
  const int width = Rect.Width(), height = Rect.Height();
  // What the canvas shows goes into a work bitmap, the picture is blended onto it, and the
  // result goes back.
  const auto work = CreateBmp32(width, height);
  HDC target = ACanvas->Handle();
  HDC workDC = work->Canvas()->Handle();
  BitBlt(workDC, 0, 0, width, height, target, Rect.Left, Rect.Top, SRCCOPY);
  const vcl::TRect all{0, 0, width, height};
  if (width == Width() && height == Height()) {
    CopyTransBitmaps(all, all, work.get(), false, 0, vcl::clNone, false, {}, this);
  } else if (const auto scaled = StretchBmp32(this, width, height, COLORONCOLOR)) {
    CopyTransBitmaps(all, all, work.get(), false, 0, vcl::clNone, false, {}, scaled.get());
  }
  BitBlt(target, Rect.Left, Rect.Top, width, height, workDC, 0, 0, SRCCOPY);
}

}  // namespace skin_layered
