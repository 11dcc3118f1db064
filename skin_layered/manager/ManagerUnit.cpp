#include "skin_layered/manager/ManagerUnit.h"

#include <windows.h>

#include "classlib/rtl/Streams.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/PngGraphic.h"

namespace skin_layered {
namespace {

// A PNG resource of the program as a 32-bit bitmap; nil when it is missing or broken (the
// engine then goes without it).
std::unique_ptr<vcl::TBitmap> LoadShadow(const wchar_t* resource) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, resource, RT_RCDATA)) return nullptr;
  try {
    vcl::TResourceStream stream(module, resource, RT_RCDATA);
    TPNGGraphic png;
    png.LoadFromStream(&stream);
    auto bmp = std::make_unique<vcl::TBitmap>();
    CopyBmp(bmp.get(), &png);
    SetBmp32(bmp.get());
    ClearWhitePixels(bmp.get());
    return bmp;
  } catch (const vcl::Exception&) {
    return nullptr;
  }
}

}  // namespace

vcl::TBitmap* TqvManagerUnit::Shadow(bool Active) {
  // Decoded when a form first needs a shadow, not while the program starts.
  if (Started && !ShadowsLoaded) {
    ShadowsLoaded = true;
    ActiveShadow = LoadShadow(kActiveShadowResource);
    InactiveShadow = LoadShadow(kInactiveShadowResource);
  }
  return Active ? ActiveShadow.get() : InactiveShadow.get();
}

void TqvManagerUnit::Stop() {
  Started = false;
  ShadowsLoaded = false;
  ActiveShadow.reset();
  InactiveShadow.reset();
}

TqvManagerUnit& ManagerUnit() {
  static TqvManagerUnit unit;
  return unit;
}

bool IsNTPlatform() { return ManagerUnit().NTPlatform; }
vcl::TBitmap* StartupShadow(bool Active) { return ManagerUnit().Shadow(Active); }

}  // namespace skin_layered
