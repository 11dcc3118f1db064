// TPNGGraphic: the picture class through which the program reads PNG images. A bitmap whose
// pixels come from the PNG reader: grey and palette images become indexed bitmaps, colour
// images 24-bit ones and images with alpha 32-bit ones drawn by their alpha (or, asked for,
// colour and palette images opaque 32-bit ones). There is no writer; saving gives the
// inherited bitmap format.
#pragma once

#include "classlib/graphics/Graphics.h"
#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngReader.h"

namespace skin_layered {

// The colour manager was asked for a conversion it cannot do. (Written out: the library's
// declaring macro takes an unqualified base.)
class EColorConversionError : public vcl::Exception {
 public:
  using vcl::Exception::Exception;
  const wchar_t* ClassName() const noexcept override { return L"EColorConversionError"; }
};

class TPNGGraphic : public vcl::TBitmap {
  VCL_CLASS(TPNGGraphic, vcl::TBitmap)

 public:
  TPNGGraphic();
  ~TPNGGraphic() override;

  // From another PNG picture its image properties come along; then the bitmap is copied.
  void Assign(vcl::TPersistent* Source) override;
  // Images without alpha draw as bitmaps (a tRNS colour drawn transparent), read in 32 bits
  // too; images with alpha are blended by it over what the canvas shows, scaled without
  // smoothing.
  void Draw(vcl::TCanvas* ACanvas, const vcl::TRect& Rect) override;

  // Reads one PNG from the stream's position and leaves the stream just behind its IEND, so
  // images stored one after another read in turn. Errors raise EInvalidGraphic,
  // EGraphicCompression or EColorConversionError with the reader's text; the bitmap keeps
  // what was decoded and the stream goes back to where the image began.
  void LoadFromStream(vcl::TStream* Stream) override;
  // Checks the signature and header of the PNG at the stream's position and fills the image
  // properties; the stream position is kept.
  bool IsValid(vcl::TStream* Stream);

  const TPngImageProperties& ImageProperties() const { return reader_.Properties(); }

  // Colour and palette images are read as 32-bit bitmaps, every pixel opaque (alpha 255), in
  // place of 24-bit and indexed ones: for a reader that holds every picture in 32 bits, with
  // no copy after. Grey images stay indexed. Off unless set; taken by the next load.
  bool OpaqueAs32Bits() const { return reader_.RgbAs32Bits; }
  void SetOpaqueAs32Bits(bool Value) { reader_.RgbAs32Bits = reader_.PaletteAs32Bits = Value; }

 private:
  class TBitmapTarget;

  // Makes the bitmap for the image the reader is about to decode and gives it its rows.
  TScanLines PrepareImage(const TPngImageLayout& Layout);
  void ReaderProgress(const TPngProgress& Notice);

  TPNGReader reader_;  // its colour manager and the image properties live with the picture
  bool opaque32_ = false;  // the bitmap holds an image without alpha in 32 bits
};

// Raises the class library's exception for a reader error: EInvalidGraphic,
// EGraphicCompression or EColorConversionError by its kind, with its message.
[[noreturn]] void RaiseGraphicError(const EPngError& Error);

}  // namespace skin_layered
