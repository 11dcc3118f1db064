// The painting layer's units: registration of the PNG picture format, the layered-window
// bindings and the GradientFill binding; after them the lists the window adapters read (the
// popup classes of other libraries, the start-up glyph list) and the default hint template.
// They start after the class library's units (the picture registry must exist) and stop in
// reverse order.
#include "skin_layered/paint/PaintStartup.h"

#include <utility>

#include "classlib/graphics/Graphics.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/paint/HintTemplates.h"
#include "skin_layered/paint/PngGraphic.h"
#include "skin_layered/paint/StartupLists.h"

namespace skin_layered {
namespace {

constexpr int kCheckBoxesBitmap = 32759;  // OBM_CHECKBOXES: 4 glyphs across, 3 down

struct TLayeredApi {
  HMODULE User32 = nullptr;
  TUpdateLayeredWindowProc UpdateLayeredWindow = nullptr;
  TSetLayeredWindowAttributesProc SetLayeredWindowAttributes = nullptr;
  vcl::TSize CheckBoxGlyph;
};

TLayeredApi& Api() {
  static TLayeredApi api;
  return api;
}

struct TGradientApi {
  bool Started = false;  // between the unit's start-up and shutdown
  bool Bound = false;    // msimg32 was looked for
  HMODULE Msimg32 = nullptr;
  TGradientFillProc GradientFill = nullptr;
};

TGradientApi& GradientApi() {
  static TGradientApi api;
  return api;
}

template <class F>
F ProcAddress(HMODULE module, const char* name) {
  // Through the generic function type, the one cast to any other that GCC accepts quietly.
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

vcl::TSize MeasureCheckBoxGlyph() {
  const vcl::UniqueBitmap boxes(LoadBitmapW(nullptr, MAKEINTRESOURCEW(kCheckBoxesBitmap)));
  BITMAP info{};
  if (!boxes || GetObjectW(boxes.get(), sizeof info, &info) == 0) return {};
  return {info.bmWidth / 4, info.bmHeight / 3};
}

void RegisterPngFormat() {
  vcl::TPicture::RegisterFileFormat(L"png", L"Portable network graphics (Quorvan)",
                                    vcl::TGraphicClass::Of<TPNGGraphic>());
}

void UnregisterPngFormat() { vcl::TPicture::UnregisterGraphicClass(vcl::TGraphicClass::Of<TPNGGraphic>()); }

void BindLayeredApi() {
  TLayeredApi& api = Api();
  if (!api.UpdateLayeredWindow) {
    api.User32 = LoadLibraryW(L"user32.dll");
    if (api.User32) {
      api.UpdateLayeredWindow = ProcAddress<TUpdateLayeredWindowProc>(api.User32, "UpdateLayeredWindow");
      api.SetLayeredWindowAttributes =
          ProcAddress<TSetLayeredWindowAttributesProc>(api.User32, "SetLayeredWindowAttributes");
    }
  }
  api.CheckBoxGlyph = MeasureCheckBoxGlyph();
}

// The addresses go with the library reference they came from.
void ReleaseLayeredApi() {
  TLayeredApi& api = Api();
  if (api.User32) FreeLibrary(api.User32);
  api = {};
}

// The library is loaded when a gradient is first painted, not while the program starts.
void BindGradientFill() { GradientApi().Started = true; }

void LoadGradientFill(TGradientApi& api) {
  api.Bound = true;
  api.Msimg32 = LoadLibraryW(L"msimg32.dll");
  if (api.Msimg32) api.GradientFill = ProcAddress<TGradientFillProc>(api.Msimg32, "GradientFill");
}

void ReleaseGradientFill() {
  TGradientApi& api = GradientApi();
  if (api.Msimg32) FreeLibrary(api.Msimg32);
  api = {};
}

const vcl::TUnitRegistration kPngFormatUnit{vcl::TUnitGroup::LayeredPaint, 30, L"PngPictureFormat",
                                            &RegisterPngFormat, &UnregisterPngFormat};
const vcl::TUnitRegistration kLayeredApiUnit{vcl::TUnitGroup::LayeredPaint, 60, L"LayeredWindowBindings",
                                             &BindLayeredApi, &ReleaseLayeredApi};
const vcl::TUnitRegistration kGradientFillUnit{vcl::TUnitGroup::LayeredPaint, 40, L"GradientFillBinding",
                                               &BindGradientFill, &ReleaseGradientFill};
// After the PNG format and the layered bindings: the lists and the template are PNG pictures.
const vcl::TUnitRegistration kThirdPartyUnit{vcl::TUnitGroup::LayeredPaint, 70, L"ThirdPartyPopups",
                                             &MakeThirdPartyPopupClasses, &FreeThirdPartyPopupClasses};
const vcl::TUnitRegistration kGlyphUtilsUnit{vcl::TUnitGroup::LayeredPaint, 80, L"StartupGlyphList",
                                             &MakeStartupGlyphList, &FreeStartupGlyphList};
const vcl::TUnitRegistration kAlphaHintsUnit{vcl::TUnitGroup::LayeredPaint, 90, L"AlphaHints",
                                             &LoadDefaultHintTemplate, &FreeDefaultHintTemplate};

}  // namespace

TUpdateLayeredWindowProc UpdateLayeredWindowProc() { return Api().UpdateLayeredWindow; }
TSetLayeredWindowAttributesProc SetLayeredWindowAttributesProc() { return Api().SetLayeredWindowAttributes; }
TGradientFillProc GradientFillProc() {
  TGradientApi& api = GradientApi();
  if (api.Started && !api.Bound) LoadGradientFill(api);
  return api.GradientFill;
}
bool LayeredApiAvailable() { return Api().UpdateLayeredWindow != nullptr; }

namespace {

std::optional<bool>& PerPixelAlphaOverride() {
  static std::optional<bool> value;
  return value;
}

// Wine's own library exports its version.
bool UnderWine() {
  static const bool wine = [] {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
  }();
  return wine;
}

}  // namespace

bool PerPixelAlphaShown() {
  if (const std::optional<bool>& value = PerPixelAlphaOverride()) return *value;
  return LayeredApiAvailable() && !UnderWine();
}

bool DisplayStacksByRaising() { return UnderWine(); }

std::optional<bool> SetPerPixelAlphaShown(std::optional<bool> Value) {
  return std::exchange(PerPixelAlphaOverride(), Value);
}
vcl::TSize CheckBoxGlyphSize() { return Api().CheckBoxGlyph; }

}  // namespace skin_layered

// Named by the link options of the layered_paint library, so that every program linking it
// keeps this object, and with it the unit registrations above, which nothing else refers to.
extern "C" void scrivane_layered_paint_units() {}
