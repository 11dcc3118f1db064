// The do-nothing services of the form skinning and the window adapters, and where the real
// ones are installed.
#include <array>
#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

VCL_CLASS_INFO(TsSkinProviderBase) {}
VCL_CLASS_INFO(TqvMenuSupportBase) {}
VCL_CLASS_INFO(TqvDialogWndBase) {}

namespace {

// The measures of a provider that has none of its own.
class TNoMeasures final : public TqvProviderMeasures, public TqvImageMeasures {
 public:
  int CaptionHeight(bool) const override { return 0; }
  int TitleHeightByState(bool) const override { return 0; }
  vcl::TRect ShadowSize() const override { return {}; }
  int ImageWidth() const override { return 0; }
  int OffsetX() const override { return 0; }
  int OffsetY() const override { return 0; }
};

const TNoMeasures kNoMeasures;

// What is installed, with the do-nothing services answering while nothing is.
struct TNeighbours {
  TLayeredFormServices* FormServices = nullptr;
  TLayeredAdapterServices* AdapterServices = nullptr;
  TLayeredFormServices NoFormServices;
  TLayeredAdapterServices NoAdapterServices;
  std::array<TqvControlAdapterFactory, kAdapterKindCount> Factories{};
  std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>> HookedAdapters;
};

TNeighbours& Neighbours() {
  static TNeighbours neighbours;
  return neighbours;
}

LRESULT CALLBACK PassOnHook(int Code, WPARAM WParam, LPARAM LParam) {
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

}  // namespace

const TqvProviderMeasures& TsSkinProviderBase::Measures() const { return kNoMeasures; }
const TqvImageMeasures& TsSkinProviderBase::WindowImage() const { return kNoMeasures; }

TLayeredFormServices* SetFormServices(TLayeredFormServices* Services) {
  return std::exchange(Neighbours().FormServices, Services);
}

TLayeredFormServices& FormServices() {
  TNeighbours& n = Neighbours();
  return n.FormServices ? *n.FormServices : n.NoFormServices;
}

HOOKPROC TLayeredAdapterServices::DialogHookProc() { return &PassOnHook; }

TLayeredAdapterServices* SetAdapterServices(TLayeredAdapterServices* Services) {
  return std::exchange(Neighbours().AdapterServices, Services);
}

TLayeredAdapterServices& AdapterServices() {
  TNeighbours& n = Neighbours();
  return n.AdapterServices ? *n.AdapterServices : n.NoAdapterServices;
}

TqvControlAdapterFactory RegisterControlAdapter(TqvAdapterKind Kind, TqvControlAdapterFactory Factory) {
  const auto index = static_cast<std::size_t>(Kind);
  if (index >= kAdapterKindCount) return nullptr;
  return std::exchange(Neighbours().Factories[index], Factory);
}

TqvControlAdapterFactory ControlAdapterFactory(TqvAdapterKind Kind) {
  const auto index = static_cast<std::size_t>(Kind);
  return index < kAdapterKindCount ? Neighbours().Factories[index] : nullptr;
}

std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>>& HookedAdapters() {
  return Neighbours().HookedAdapters;
}

void FreeHookedAdapters() {
  // Freed newest first, each through the library's Free.
  auto& adapters = HookedAdapters();
  while (!adapters.empty()) adapters.pop_back();
}

}  // namespace skin_layered
