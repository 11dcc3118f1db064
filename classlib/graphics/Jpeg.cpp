#include "classlib/graphics/Jpeg.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// libjpeg's own Boolean type is an int; keep it apart from the one of the RPC headers.
#define boolean jpeg_boolean
extern "C" {
#include <jerror.h>
#include <jpeglib.h>
}
#undef boolean

// libjpeg reports errors through a callback that throws here. The library is built with
// unwind tables (x86-64 SEH), so the exception passes through its frames; every
// decompression or compression object is destroyed by a guard on the way out.

namespace vcl {

namespace {

constexpr size_t kBufferSize = 4096;
// The most memory libjpeg may take for one picture, and the largest picture decoded.
constexpr long kMaxJpegMemory = 512L << 20;
constexpr int64_t kMaxJpegFile = int64_t{256} << 20;

[[noreturn]] void ThrowJpegError(int code) { throw EJPEG(L"JPEG error #" + std::to_wstring(code)); }

void InitErrors(jpeg_error_mgr& err) {
  jpeg_std_error(&err);
  err.error_exit = [](j_common_ptr cinfo) { ThrowJpegError(cinfo->err->msg_code); };
  err.output_message = [](j_common_ptr) {};
  err.emit_message = [](j_common_ptr cinfo, int level) {
    if (level < 0) ++cinfo->err->num_warnings;  // corrupt-data warnings: decoding goes on
  };
}

// Source manager reading a stream from its position.
struct StreamSource {
  jpeg_source_mgr pub{};
  TStream* stream = nullptr;
  bool started = false;
  JOCTET buffer[kBufferSize];

  static StreamSource* Of(j_decompress_ptr cinfo) { return reinterpret_cast<StreamSource*>(cinfo->src); }

  static void Init(j_decompress_ptr cinfo) { Of(cinfo)->started = false; }

  static jpeg_boolean Fill(j_decompress_ptr cinfo) {
    StreamSource* src = Of(cinfo);
    int64_t n = src->stream->Read(src->buffer, kBufferSize);
    if (n <= 0) {
      if (!src->started) ERREXIT(cinfo, JERR_INPUT_EMPTY);
      WARNMS(cinfo, JWRN_JPEG_EOF);
      src->buffer[0] = 0xFF;  // a fake end of image ends a truncated picture
      src->buffer[1] = JPEG_EOI;
      n = 2;
    }
    src->started = true;
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<size_t>(n);
    return TRUE;
  }

  static void Skip(j_decompress_ptr cinfo, long count) {
    if (count <= 0) return;
    StreamSource* src = Of(cinfo);
    const size_t skip = static_cast<size_t>(count);
    if (skip <= src->pub.bytes_in_buffer) {
      src->pub.next_input_byte += skip;
      src->pub.bytes_in_buffer -= skip;
      return;
    }
    src->stream->Seek(static_cast<int64_t>(skip - src->pub.bytes_in_buffer), soCurrent);
    src->pub.bytes_in_buffer = 0;
  }

  static void Term(j_decompress_ptr) {}

  StreamSource(j_decompress_ptr cinfo, TStream* s) : stream(s) {
    pub.init_source = Init;
    pub.fill_input_buffer = Fill;
    pub.skip_input_data = Skip;
    pub.resync_to_restart = jpeg_resync_to_restart;
    pub.term_source = Term;
    cinfo->src = &pub;
  }
};

// Destination manager writing to a stream.
struct StreamDestination {
  jpeg_destination_mgr pub{};
  TStream* stream = nullptr;
  JOCTET buffer[kBufferSize];

  static StreamDestination* Of(j_compress_ptr cinfo) { return reinterpret_cast<StreamDestination*>(cinfo->dest); }

  static void Init(j_compress_ptr cinfo) {
    StreamDestination* d = Of(cinfo);
    d->pub.next_output_byte = d->buffer;
    d->pub.free_in_buffer = kBufferSize;
  }

  static jpeg_boolean Empty(j_compress_ptr cinfo) {
    StreamDestination* d = Of(cinfo);
    d->stream->WriteBuffer(d->buffer, kBufferSize);
    Init(cinfo);
    return TRUE;
  }

  static void Term(j_compress_ptr cinfo) {
    StreamDestination* d = Of(cinfo);
    const size_t used = kBufferSize - d->pub.free_in_buffer;
    if (used) d->stream->WriteBuffer(d->buffer, static_cast<int64_t>(used));
  }

  StreamDestination(j_compress_ptr cinfo, TStream* s) : stream(s) {
    pub.init_destination = Init;
    pub.empty_output_buffer = Empty;
    pub.term_destination = Term;
    cinfo->dest = &pub;
  }
};

// A decompression object over a stream, destroyed with the scope.
struct Decompressor {
  jpeg_decompress_struct cinfo{};
  jpeg_error_mgr err{};
  std::unique_ptr<StreamSource> source;

  explicit Decompressor(TStream* stream) {
    InitErrors(err);
    cinfo.err = &err;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegMemory;
    source = std::make_unique<StreamSource>(&cinfo, stream);
  }
  ~Decompressor() { jpeg_destroy_decompress(&cinfo); }
  Decompressor(const Decompressor&) = delete;
  Decompressor& operator=(const Decompressor&) = delete;
};

struct Compressor {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr err{};
  std::unique_ptr<StreamDestination> destination;

  explicit Compressor(TStream* stream) {
    InitErrors(err);
    cinfo.err = &err;
    jpeg_create_compress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxJpegMemory;
    destination = std::make_unique<StreamDestination>(&cinfo, stream);
  }
  ~Compressor() { jpeg_destroy_compress(&cinfo); }
  Compressor(const Compressor&) = delete;
  Compressor& operator=(const Compressor&) = delete;
};

int ScaleDenominator(TJPEGScale s) { return 1 << static_cast<int>(s); }

// A 256-grey palette for 8-bit grey pictures.
HPALETTE GreyPalette() {
  struct {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
  } lp{};
  lp.version = 0x300;
  lp.count = 256;
  for (int i = 0; i < 256; ++i) {
    const BYTE v = static_cast<BYTE>(i);
    lp.entries[i] = PALETTEENTRY{v, v, v, 0};
  }
  return CreatePalette(reinterpret_cast<LOGPALETTE*>(&lp));
}

}  // namespace

VCL_CLASS_INFO(TJPEGImage) {}

TJPEGImage::TJPEGImage() = default;
TJPEGImage::~TJPEGImage() = default;

int TJPEGImage::GetWidth() const {
  if (bitmap_) return bitmap_->Width();
  const int d = ScaleDenominator(scale_);
  return (width_ + d - 1) / d;
}

int TJPEGImage::GetHeight() const {
  if (bitmap_) return bitmap_->Height();
  const int d = ScaleDenominator(scale_);
  return (height_ + d - 1) / d;
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of a JPEG image"); }

void TJPEGImage::FreeBitmap() {
  if (data_.Size() > 0) bitmap_.reset();
}

void TJPEGImage::SetCompressionQuality(int Value) { quality_ = std::clamp(Value, 1, 100); }

void TJPEGImage::SetGrayscale(bool Value) {
  if (Value == grayscale_) return;
  grayscale_ = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetScale(TJPEGScale Value) {
  if (Value == scale_) return;
  scale_ = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::SetPerformance(TJPEGPerformance Value) {
  if (Value == performance_) return;
  performance_ = Value;
  FreeBitmap();
  Changed(this);
}

void TJPEGImage::ReadHeader() {
  data_.SetPosition(0);
  Decompressor d(&data_);
  jpeg_read_header(&d.cinfo, TRUE);
  width_ = static_cast<int>(d.cinfo.image_width);
  height_ = static_cast<int>(d.cinfo.image_height);
}

void TJPEGImage::LoadFromStream(TStream* Stream) {
  const int64_t available = std::min(Stream->Size() - Stream->Position(), kMaxJpegFile);
  // The picture stays as it was until the new bytes prove to be a JPEG.
  TJPEGImage probe;
  if (available > 0) probe.data_.CopyFrom(Stream, available);
  probe.ReadHeader();
  data_.Clear();
  data_.WriteBuffer(probe.data_.Memory(), probe.data_.Size());
  width_ = probe.width_;
  height_ = probe.height_;
  bitmap_.reset();
  Changed(this);
}

void TJPEGImage::SaveToStream(TStream* Stream) {
  JPEGNeeded();
  if (data_.Size() > 0) Stream->WriteBuffer(data_.Memory(), data_.Size());
}

void TJPEGImage::ReadData(TStream* Stream) {
  int32_t size = 0;
  Stream->ReadBuffer(&size, sizeof(size));
  if (size < 0 || size > Stream->Size() - Stream->Position()) ThrowJpegError(JERR_INPUT_EOF);
  TMemoryStream bytes;
  if (size > 0) bytes.CopyFrom(Stream, size);
  bytes.SetPosition(0);
  LoadFromStream(&bytes);
}

void TJPEGImage::WriteData(TStream* Stream) {
  JPEGNeeded();
  const int32_t size = static_cast<int32_t>(data_.Size());
  Stream->WriteBuffer(&size, sizeof(size));
  if (size > 0) Stream->WriteBuffer(data_.Memory(), size);
}

TBitmap* TJPEGImage::Bitmap() {
  DIBNeeded();
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_ || data_.Size() == 0) return;
  data_.SetPosition(0);
  Decompressor d(&data_);
  jpeg_decompress_struct& c = d.cinfo;
  jpeg_read_header(&c, TRUE);
  c.scale_num = 1;
  c.scale_denom = static_cast<unsigned>(ScaleDenominator(scale_));
  if (performance_ == jpBestSpeed) {
    c.dct_method = JDCT_IFAST;
    c.do_fancy_upsampling = FALSE;
  } else {
    c.dct_method = JDCT_ISLOW;
  }
  const bool cmyk = c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK;
  const bool grey = !cmyk && (grayscale_ || c.jpeg_color_space == JCS_GRAYSCALE);
  c.out_color_space = cmyk ? JCS_CMYK : grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_calc_output_dimensions(&c);
  if (static_cast<int64_t>(c.output_width) * c.output_height > dib::kMaxPixels) ThrowJpegError(JERR_IMAGE_TOO_BIG);

  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(grey ? pf8bit : pf24bit);
  if (grey) bmp->SetPalette(GreyPalette());
  bmp->SetSize(static_cast<int>(c.output_width), static_cast<int>(c.output_height));

  jpeg_start_decompress(&c);
  std::vector<JSAMPLE> cmykRow(cmyk ? static_cast<size_t>(c.output_width) * 4 : 0);
  // Adobe's CMYK pictures store the inks inverted.
  const bool inverted = c.saw_Adobe_marker;
  while (c.output_scanline < c.output_height) {
    auto* row = static_cast<JSAMPLE*>(bmp->ScanLine(static_cast<int>(c.output_scanline)));
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    if (jpeg_read_scanlines(&c, &target, 1) != 1) break;
    if (cmyk) {
      for (size_t x = 0; x < c.output_width; ++x) {
        int ink[4];
        for (int k = 0; k < 4; ++k) ink[k] = inverted ? cmykRow[4 * x + k] : 255 - cmykRow[4 * x + k];
        row[3 * x] = static_cast<JSAMPLE>(ink[2] * ink[3] / 255);      // blue from yellow
        row[3 * x + 1] = static_cast<JSAMPLE>(ink[1] * ink[3] / 255);  // green from magenta
        row[3 * x + 2] = static_cast<JSAMPLE>(ink[0] * ink[3] / 255);  // red from cyan
      }
    }
  }
  jpeg_finish_decompress(&c);
  bitmap_ = std::move(bmp);
}

void TJPEGImage::JPEGNeeded() {
  if (data_.Size() == 0 && bitmap_ && !bitmap_->Empty()) Compress();
}

void TJPEGImage::Compress() {
  if (!bitmap_ || bitmap_->Empty()) return;
  TBitmap source;
  source.Assign(bitmap_.get());
  source.SetPixelFormat(pf24bit);

  TMemoryStream out;
  {
    Compressor cmp(&out);
    jpeg_compress_struct& c = cmp.cinfo;
    c.image_width = static_cast<JDIMENSION>(source.Width());
    c.image_height = static_cast<JDIMENSION>(source.Height());
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality_, TRUE);
    if (grayscale_) jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    if (progressive_) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
      JSAMPROW row = static_cast<JSAMPLE*>(source.ScanLine(static_cast<int>(c.next_scanline)));
      jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
  }
  data_.Clear();
  data_.LoadFromStream(&out);
  width_ = source.Width();
  height_ = source.Height();
}

void TJPEGImage::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    data_.Clear();
    bitmap_.reset();
    width_ = height_ = 0;
    Changed(this);
  } else if (auto* j = dynamic_cast<TJPEGImage*>(Source)) {
    data_.Clear();
    if (j->data_.Size() > 0) data_.WriteBuffer(j->data_.Memory(), j->data_.Size());
    bitmap_.reset();
    if (j->bitmap_) {
      bitmap_ = std::make_unique<TBitmap>();
      bitmap_->Assign(j->bitmap_.get());
    }
    width_ = j->width_;
    height_ = j->height_;
    quality_ = j->quality_;
    grayscale_ = j->grayscale_;
    progressive_ = j->progressive_;
    scale_ = j->scale_;
    performance_ = j->performance_;
    Changed(this);
  } else if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(b);
    data_.Clear();
    bitmap_ = std::move(copy);
    width_ = bitmap_->Width();
    height_ = bitmap_->Height();
    Changed(this);
  } else {
    inherited::Assign(Source);
  }
}

void TJPEGImage::AssignTo(TPersistent* Dest) {
  if (auto* b = dynamic_cast<TBitmap*>(Dest)) {
    DIBNeeded();
    b->Assign(bitmap_.get());
    return;
  }
  inherited::AssignTo(Dest);
}

void TJPEGImage::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || Empty()) return;
  DIBNeeded();
  if (bitmap_) ACanvas->StretchDraw(Rect, bitmap_.get());
}

}  // namespace vcl
