// TGraphic: the abstract picture (bitmap, icon, JPEG, PNG) that a canvas draws and a
// picture holds, with change and progress notification.
#pragma once

#include "classlib/graphics/GraphicsCanvas.h"
#include "classlib/rtl/Streams.h"

namespace vcl {

enum class TProgressStage { psStarting, psRunning, psEnding };
using enum TProgressStage;

// Sender, stage, percent done (0..100), whether the picture should be redrawn now, the part
// of the picture that is ready, and a message.
using TProgressEvent = Event<void(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow,
                                  const TRect& R, const String& Msg)>;

class TGraphic : public TPersistent {
  VCL_CLASS(TGraphic, TPersistent)

 public:
  bool Empty() const { return GetEmpty(); }
  int Width() const { return GetWidth(); }
  int Height() const { return GetHeight(); }
  virtual bool GetEmpty() const = 0;
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual void SetWidth(int Value) = 0;
  virtual void SetHeight(int Value) = 0;
  bool Transparent() const { return GetTransparent(); }
  virtual bool GetTransparent() const { return transparent_; }
  virtual void SetTransparent(bool Value);
  virtual HPALETTE Palette() const { return nullptr; }
  virtual void SetPalette(HPALETTE Value) { (void)Value; }
  bool Modified() const { return modified_; }
  void SetModified(bool Value);

  virtual void LoadFromStream(TStream* Stream) = 0;
  virtual void SaveToStream(TStream* Stream) = 0;
  // Through a file stream; a missing file raises the stream's EFOpenError.
  virtual void LoadFromFile(const String& FileName);
  virtual void SaveToFile(const String& FileName);

  // Paints the picture into Rect of the canvas (stretched to it).
  virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;

  // The bytes of the stored "Data" property of a form description (the file format by
  // default; bitmaps and JPEG images write their size first).
  virtual void ReadData(TStream* Stream) { LoadFromStream(Stream); }
  virtual void WriteData(TStream* Stream) { SaveToStream(Stream); }
  // Declares "Data" (stored when the picture is not empty).
  void DefineProperties(TFiler* Filer) override;

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

  virtual void Changed(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                        const String& Msg);

 protected:
  TGraphic() = default;

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

// A class reference for pictures: its class information and a way to make an instance.
struct TGraphicClass {
  const TClassInfo* Info = nullptr;
  TGraphic* (*Create)() = nullptr;

  template <class T>
  static TGraphicClass Of() {
    return TGraphicClass{&T::StaticClass(), []() -> TGraphic* { return Construct<T>(); }};
  }
  explicit operator bool() const { return Info != nullptr; }
  bool operator==(const TGraphicClass& o) const { return Info == o.Info; }
};

}  // namespace vcl
