#include "skin_layered/core/DefaultManager.h"

namespace skin_layered {
namespace {

TqvDefaultManager*& Installed() {
  static TqvDefaultManager* manager = nullptr;
  return manager;
}

}  // namespace

TqvDefaultManager* DefaultManager() { return Installed(); }

const TsLoadedSkin* DefaultSkin() {
  const TqvDefaultManager* manager = Installed();
  return manager ? &manager->Skin() : nullptr;
}

TqvDefaultManager* SetDefaultManager(TqvDefaultManager* Manager) {
  TqvDefaultManager* old = Installed();
  Installed() = Manager;
  return old;
}

}  // namespace skin_layered
