#include "skin_layered/adapters/AdapterUnit.h"

#include <memory>
#include <vector>

#include "skin_layered/core/AdapterServices.h"

namespace skin_layered {
namespace {

struct TFreeObject {
  void operator()(vcl::TObject* Object) const { vcl::TObject::Free(Object); }
};

struct TAdapterUnit {
  bool DialogChild = false;
  bool StandardFont = false;
  HMODULE User32 = nullptr;
  HMODULE Comctl32 = nullptr;
  TGetScrollBarInfoProc GetScrollBarInfo = nullptr;
  TInitializeFlatSBProc InitializeFlatSB = nullptr;
  TUninitializeFlatSBProc UninitializeFlatSB = nullptr;
  std::vector<std::unique_ptr<vcl::TObject, TFreeObject>> Shared;
};

TAdapterUnit& Unit() {
  static TAdapterUnit unit;
  return unit;
}

template <class F>
F ProcAddress(HMODULE Module, const char* Name) {
  return Module ? reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Name))) : nullptr;
}

}  // namespace

bool DialogChildFlag() { return Unit().DialogChild; }
void SetDialogChildFlag(bool Value) { Unit().DialogChild = Value; }
bool StandardFontFlag() { return Unit().StandardFont; }
void SetStandardFontFlag(bool Value) { Unit().StandardFont = Value; }
TGetScrollBarInfoProc GetScrollBarInfoProc() { return Unit().GetScrollBarInfo; }
TInitializeFlatSBProc InitializeFlatSBProc() { return Unit().InitializeFlatSB; }
TUninitializeFlatSBProc UninitializeFlatSBProc() { return Unit().UninitializeFlatSB; }

void AddSharedObject(vcl::TObject* Object) {
  if (Object) Unit().Shared.emplace_back(Object);
}

void BindAdapterUnit() {
  TAdapterUnit& unit = Unit();
  if (unit.User32 || unit.Comctl32) return;
  unit.User32 = LoadLibraryW(L"user32.dll");
  unit.GetScrollBarInfo = ProcAddress<TGetScrollBarInfoProc>(unit.User32, "GetScrollBarInfo");
  unit.Comctl32 = LoadLibraryW(L"comctl32.dll");
  unit.UninitializeFlatSB = ProcAddress<TUninitializeFlatSBProc>(unit.Comctl32, "UninitializeFlatSB");
  unit.InitializeFlatSB = ProcAddress<TInitializeFlatSBProc>(unit.Comctl32, "InitializeFlatSB");
}

void ReleaseAdapterUnit() {
  TAdapterUnit& unit = Unit();
  AdapterServices().ClearMenuWnds();
  unit.GetScrollBarInfo = nullptr;
  unit.InitializeFlatSB = nullptr;
  unit.UninitializeFlatSB = nullptr;
  if (unit.User32) FreeLibrary(unit.User32);
  if (unit.Comctl32) FreeLibrary(unit.Comctl32);
  unit.User32 = unit.Comctl32 = nullptr;
  // Oldest first, as they were handed over.
  while (!unit.Shared.empty()) unit.Shared.erase(unit.Shared.begin());
  FreeHookedAdapters();
}

}  // namespace skin_layered
