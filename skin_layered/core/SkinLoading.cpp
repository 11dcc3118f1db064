#include "skin_layered/core/SkinLoading.h"

namespace skin_layered {

namespace {

// The unit's state; everything runs on the GUI thread.
struct TSkinLoadingUnit {
  bool Loading = false;
};

TSkinLoadingUnit& Unit() {
  static TSkinLoadingUnit unit;
  return unit;
}

}  // namespace

bool SkinIsLoading() { return Unit().Loading; }

TSkinLoadingScope::TSkinLoadingScope() : previous_(Unit().Loading) { Unit().Loading = true; }

TSkinLoadingScope::~TSkinLoadingScope() { Unit().Loading = previous_; }

}  // namespace skin_layered
