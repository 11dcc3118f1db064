// TJPEGImage: JPEG pictures on libjpeg. The compressed bytes are kept as read; the picture is
// decoded into a bitmap when first drawn and compressed again only from a bitmap.
#pragma once

#include <memory>

#include "classlib/graphics/GraphicsBitmap.h"

namespace vcl {

// Every libjpeg failure: "JPEG error #%d" with libjpeg's message code.
VCL_EXCEPTION(EJPEG, EInvalidGraphic);

enum class TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
using enum TJPEGScale;
enum class TJPEGPerformance { jpBestQuality, jpBestSpeed };
using enum TJPEGPerformance;

class TJPEGImage : public TGraphic {
  VCL_CLASS(TJPEGImage, TGraphic)

 public:
  TJPEGImage();
  ~TJPEGImage() override;

  // From another JPEG image (its bytes and settings), a bitmap (compressed when saved) or nil.
  void Assign(TPersistent* Source) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

  bool GetEmpty() const override { return data_.Bytes().empty() && !bitmap_; }
  // The size of the decoded picture at the current Scale.
  int GetWidth() const override;
  int GetHeight() const override;
  // EInvalidGraphicOperation "Cannot change the size of a JPEG image".
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;

  // Reads the rest of the stream as JPEG bytes and their header; a broken header raises EJPEG.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;
  // Form data: a 32-bit byte count, then the JPEG bytes.
  void ReadData(TStream* Stream) override;
  void WriteData(TStream* Stream) override;

  // The decoded picture (24 bits, or 8-bit grey); EJPEG when the data is broken.
  TBitmap* Bitmap();
  void DIBNeeded();
  // Makes the JPEG bytes from the bitmap when there are none.
  void JPEGNeeded();
  // Makes the JPEG bytes again from the bitmap with the current settings.
  void Compress();

  int CompressionQuality() const { return quality_; }
  void SetCompressionQuality(int Value);
  bool Grayscale() const { return grayscale_; }
  void SetGrayscale(bool Value);
  TJPEGScale Scale() const { return scale_; }
  void SetScale(TJPEGScale Value);
  TJPEGPerformance Performance() const { return performance_; }
  void SetPerformance(TJPEGPerformance Value);
  bool ProgressiveEncoding() const { return progressive_; }
  void SetProgressiveEncoding(bool Value) { progressive_ = Value; }

 protected:
  // A bitmap receives the decoded picture.
  void AssignTo(TPersistent* Dest) override;

 private:
  void ReadHeader();
  void FreeBitmap();

  TMemoryStream data_;
  std::unique_ptr<TBitmap> bitmap_;
  int width_ = 0;   // full size, from the header
  int height_ = 0;
  int quality_ = 75;
  bool grayscale_ = false;
  bool progressive_ = false;
  TJPEGScale scale_ = jsFullSize;
  TJPEGPerformance performance_ = jpBestQuality;
};

}  // namespace vcl
