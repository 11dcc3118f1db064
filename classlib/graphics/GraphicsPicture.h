// TPicture: holds one picture of any registered kind, chosen by file extension when a file
// is loaded; the registry maps extensions to picture classes.
#pragma once

#include <memory>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsIcon.h"

namespace vcl {

class TPicture : public TPersistent {
  VCL_CLASS(TPicture, TPersistent)

 public:
  TPicture();
  ~TPicture() override;

  // From another picture or a graphic (a copy of it); nil empties.
  void Assign(TPersistent* Source) override;

  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of Value (of Value's class); nil empties.
  void SetGraphic(TGraphic* Value);
  // The picture as a bitmap, replacing a picture of another kind by an empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
  // The picture as an icon, likewise.
  TIcon* Icon();
  void SetIcon(TIcon* Value) { SetGraphic(Value); }
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }

  // Reads a file by the class registered for its extension; EInvalidGraphic "Unknown picture
  // file extension (.%s)" when there is none. A failed read leaves the picture as it was.
  void LoadFromFile(const String& Filename);
  void SaveToFile(const String& Filename);

  // Form data: the picture's class name (a byte count and the name) and its own data.
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);
  // Declares "Data" (stored when there is a graphic).
  void DefineProperties(TFiler* Filer) override;

  // The registry of picture files by extension (without the dot, any case); the latest
  // registration of an extension wins. "bmp", "ico", "jpg" and "jpeg" are known from start.
  static void RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass);
  static void UnregisterGraphicClass(TGraphicClass GraphicClass);
  static TGraphicClass FileFormatClass(StringView Extension);

  TNotifyEvent OnChange;
  TProgressEvent OnProgress;

 protected:
  void AssignTo(TPersistent* Dest) override;
  virtual void Changed(TObject* Sender);
  virtual void Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                        const String& Msg);

 private:
  template <class T>
  T* ForceType();
  void Adopt(std::unique_ptr<TGraphic> graphic);

  std::unique_ptr<TGraphic> graphic_;
};

}  // namespace vcl
