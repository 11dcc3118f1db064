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

TLayeredFormServices*& InstalledFormServices() {
  static TLayeredFormServices* services = nullptr;
  return services;
}

TLayeredAdapterServices*& InstalledAdapterServices() {
  static TLayeredAdapterServices* services = nullptr;
  return services;
}

std::array<TqvControlAdapterFactory, kAdapterKindCount>& ControlAdapterFactories() {
  static std::array<TqvControlAdapterFactory, kAdapterKindCount> factories{};
  return factories;
}

LRESULT CALLBACK PassOnHook(int Code, WPARAM WParam, LPARAM LParam) {
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

}  // namespace

TLayeredFormServices* SetFormServices(TLayeredFormServices* Services) {
  TLayeredFormServices* old = InstalledFormServices();
  InstalledFormServices() = Services;
  return old;
}

TLayeredFormServices& FormServices() {
  static TLayeredFormServices none;
  TLayeredFormServices* installed = InstalledFormServices();
  return installed ? *installed : none;
}

HOOKPROC TLayeredAdapterServices::DialogHookProc() { return &PassOnHook; }

TLayeredAdapterServices* SetAdapterServices(TLayeredAdapterServices* Services) {
  TLayeredAdapterServices* old = InstalledAdapterServices();
  InstalledAdapterServices() = Services;
  return old;
}

TLayeredAdapterServices& AdapterServices() {
  static TLayeredAdapterServices none;
  TLayeredAdapterServices* installed = InstalledAdapterServices();
  return installed ? *installed : none;
}

TqvControlAdapterFactory RegisterControlAdapter(TqvAdapterKind Kind, TqvControlAdapterFactory Factory) {
  const auto index = static_cast<std::size_t>(Kind);
  if (index >= kAdapterKindCount) return nullptr;
  return std::exchange(ControlAdapterFactories()[index], Factory);
}

TqvControlAdapterFactory ControlAdapterFactory(TqvAdapterKind Kind) {
  const auto index = static_cast<std::size_t>(Kind);
  return index < kAdapterKindCount ? ControlAdapterFactories()[index] : nullptr;
}

std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>>& HookedAdapters() {
  static std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>> adapters;
  return adapters;
}

void FreeHookedAdapters() {
  // Freed newest first, each through the library's Free.
  auto& adapters = HookedAdapters();
  while (!adapters.empty()) adapters.pop_back();
}

}  // namespace skin_layered
