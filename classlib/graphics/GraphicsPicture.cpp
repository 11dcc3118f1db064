#include "classlib/graphics/GraphicsPicture.h"

#include <algorithm>

#include "classlib/streaming/Filer.h"
#include "classlib/graphics/Jpeg.h"

namespace vcl {

namespace {

struct FileFormat {
  String extension;
  String description;
  TGraphicClass graphicClass;
};

std::vector<FileFormat>& FileFormats() {
  static std::vector<FileFormat> formats = {
      {L"ico", L"Icons", TGraphicClass::Of<TIcon>()},
      {L"bmp", L"Bitmaps", TGraphicClass::Of<TBitmap>()},
      {L"jpeg", L"JPEG Image File", TGraphicClass::Of<TJPEGImage>()},
      {L"jpg", L"JPEG Image File", TGraphicClass::Of<TJPEGImage>()},
  };
  return formats;
}

// The registered class of a picture's class, or of its nearest registered ancestor.
TGraphicClass RegisteredClassOf(const TClassInfo& info) {
  const auto& formats = FileFormats();
  for (const TClassInfo* c = &info; c; c = c->Parent)
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
      if (it->graphicClass.Info == c) return it->graphicClass;
  return {};
}

String ExtensionOf(const String& fileName) {
  const size_t dot = fileName.find_last_of(L".\\/:");
  if (dot == String::npos || fileName[dot] != L'.') return {};
  return fileName.substr(dot + 1);
}

}  // namespace

VCL_CLASS_INFO(TPicture) {}

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::RegisterFileFormat(const String& Extension, const String& Description, TGraphicClass GraphicClass) {
  if (!GraphicClass || !GraphicClass.Create) throw EInvalidGraphic(L"Invalid graphic class");
  FileFormats().push_back({Extension, Description, GraphicClass});
}

void TPicture::UnregisterGraphicClass(TGraphicClass GraphicClass) {
  auto& formats = FileFormats();
  std::erase_if(formats, [&](const FileFormat& f) { return f.graphicClass == GraphicClass; });
}

TGraphicClass TPicture::FileFormatClass(StringView Extension) {
  if (!Extension.empty() && Extension.front() == L'.') Extension.remove_prefix(1);
  const auto& formats = FileFormats();
  for (auto it = formats.rbegin(); it != formats.rend(); ++it)
    if (SameText(it->extension, Extension)) return it->graphicClass;
  return {};
}

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
  if (graphic) {
    graphic->OnChange = TNotifyEvent::Bind<&TPicture::Changed>(this);
    graphic->OnProgress = TProgressEvent::Bind<&TPicture::Progress>(this);
  }
  graphic_ = std::move(graphic);
  Changed(this);
}

template <class T>
T* TPicture::ForceType() {
  if (auto* g = dynamic_cast<T*>(graphic_.get())) return g;
  Adopt(std::unique_ptr<TGraphic>(Construct<T>()));
  return static_cast<T*>(graphic_.get());
}

TBitmap* TPicture::Bitmap() { return ForceType<TBitmap>(); }
TIcon* TPicture::Icon() { return ForceType<TIcon>(); }

void TPicture::SetGraphic(TGraphic* Value) {
  if (Value == graphic_.get() && Value) return;
  std::unique_ptr<TGraphic> copy;
  if (Value) {
    const TGraphicClass cls = RegisteredClassOf(Value->ClassType());
    if (!cls) throw EInvalidGraphic(L"Invalid graphic class");
    copy.reset(cls.Create());
    copy->Assign(Value);
  }
  Adopt(std::move(copy));
}

void TPicture::Assign(TPersistent* Source) {
  if (!Source) {
    SetGraphic(nullptr);
  } else if (auto* p = dynamic_cast<TPicture*>(Source)) {
    if (p != this) SetGraphic(p->graphic_.get());
  } else if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    SetGraphic(g);
  } else {
    inherited::Assign(Source);
  }
}

void TPicture::AssignTo(TPersistent* Dest) {
  if (graphic_ && Dest && graphic_->InheritsFrom(Dest->ClassType())) {
    Dest->Assign(graphic_.get());
    return;
  }
  inherited::AssignTo(Dest);
}

void TPicture::LoadFromFile(const String& Filename) {
  const String ext = ExtensionOf(Filename);
  const TGraphicClass cls = FileFormatClass(ext);
  if (!cls) throw EInvalidGraphic(L"Unknown picture file extension (." + ext + L")");
  std::unique_ptr<TGraphic> graphic(cls.Create());
  graphic->OnProgress = TProgressEvent::Bind<&TPicture::Progress>(this);
  graphic->LoadFromFile(Filename);
  Adopt(std::move(graphic));
}

void TPicture::SaveToFile(const String& Filename) {
  if (graphic_) graphic_->SaveToFile(Filename);
}

void TPicture::ReadData(TStream* Stream) {
  uint8_t length = 0;
  Stream->ReadBuffer(&length, 1);
  std::string name(length, '\0');
  if (length) Stream->ReadBuffer(name.data(), length);
  if (name.empty()) {
    Adopt(nullptr);
    return;
  }
  const String className(name.begin(), name.end());
  TGraphicClass cls;
  for (const FileFormat& f : FileFormats())
    if (SameText(f.graphicClass.Info->Name, className)) cls = f.graphicClass;
  if (!cls) throw EInvalidGraphic(L"Unknown picture class " + className);
  std::unique_ptr<TGraphic> graphic(cls.Create());
  graphic->ReadData(Stream);
  Adopt(std::move(graphic));
}

void TPicture::WriteData(TStream* Stream) {
  std::string name;
  if (graphic_) {
    for (wchar_t c : graphic_->ClassName()) name.push_back(static_cast<char>(c));
  }
  const uint8_t length = static_cast<uint8_t>(std::min<size_t>(name.size(), 255));
  Stream->WriteBuffer(&length, 1);
  if (length) Stream->WriteBuffer(name.data(), length);
  if (graphic_) graphic_->WriteData(Stream);
}

void TPicture::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      L"Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, graphic_ != nullptr);
}

void TPicture::Changed(TObject*) {
  if (OnChange) OnChange(this);
}

void TPicture::Progress(TObject* Sender, TProgressStage Stage, uint8_t PercentDone, bool RedrawNow, const TRect& R,
                        const String& Msg) {
  if (OnProgress) OnProgress(Sender, Stage, PercentDone, RedrawNow, R, Msg);
}

}  // namespace vcl
