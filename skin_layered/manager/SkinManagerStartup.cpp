#include "skin_layered/manager/SkinManagerStartup.h"

#include <windows.h>

#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/Streams.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/PngGraphic.h"

namespace skin_layered {

namespace {

struct TManagerUnit {
  bool NTPlatform = false;
  bool Started = false;         // between the unit's start-up and shutdown
  bool ShadowsLoaded = false;   // the resources were read (a missing one stays nil)
  std::unique_ptr<vcl::TBitmap> ActiveShadow;
  std::unique_ptr<vcl::TBitmap> InactiveShadow;
};

TManagerUnit& Unit() {
  static TManagerUnit unit;
  return unit;
}

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

bool IsNTPlatform() { return Unit().NTPlatform; }

vcl::TBitmap* StartupShadow(bool Active) {
  TManagerUnit& unit = Unit();
  // Decoded when a form first needs a shadow, not while the program starts.
  if (unit.Started && !unit.ShadowsLoaded) {
    unit.ShadowsLoaded = true;
    unit.ActiveShadow = LoadShadow(kActiveShadowResource);
    unit.InactiveShadow = LoadShadow(kInactiveShadowResource);
  }
  return Active ? unit.ActiveShadow.get() : unit.InactiveShadow.get();
}

bool ShowVersionOnSwitch(const std::vector<vcl::String>& Params) {
  for (const vcl::String& param : Params) {
    if (vcl::LowerCase(param) != kVersionSwitch) continue;
    const vcl::String title = vcl::Application ? vcl::Application->Title() : vcl::String();
    vcl::ShowMessageBox(nullptr, kVersionMessage, title, MB_OK);
    return true;
  }
  return false;
}

void StartSkinManagerUnit() {
  // Classes form descriptions name.
  TsSkinManager::StaticClass();
  TsCommonData::StaticClass();
  TsScrollWndData::StaticClass();
  TOutputWindow::StaticClass();
  TManagerUnit& unit = Unit();
  unit.NTPlatform = QueryPlatformVersion().PlatformId == VER_PLATFORM_WIN32_NT;
  unit.Started = true;
  std::vector<vcl::String> params;
  for (int i = 1; i <= vcl::ParamCount(); ++i) params.push_back(vcl::ParamStr(i));
  ShowVersionOnSwitch(params);
}

void StopSkinManagerUnit() {
  TManagerUnit& unit = Unit();
  unit.Started = false;
  unit.ShadowsLoaded = false;
  unit.ActiveShadow.reset();
  unit.InactiveShadow.reset();
}

namespace {
// After the painting units: the shadows are PNG pictures prepared by the alpha routines.
const vcl::TUnitRegistration kSkinManagerUnit{vcl::TUnitGroup::LayeredManager, 10, L"LayeredSkinManager",
                                              &StartSkinManagerUnit, &StopSkinManagerUnit};
}  // namespace

}  // namespace skin_layered

// Named by the link options of the layered_manager library (see CoreStartup.cpp).
extern "C" void scrivane_layered_manager_units() {}
