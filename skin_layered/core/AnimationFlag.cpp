#include "skin_layered/core/AnimationFlag.h"

#include <atomic>

namespace skin_layered {
namespace {

// The unit's state.
struct TAnimationFlagUnit {
  std::atomic<bool> Active{false};
};

TAnimationFlagUnit& Unit() {
  static TAnimationFlagUnit unit;
  return unit;
}

}  // namespace

bool AnimationActive() { return Unit().Active.load(std::memory_order_relaxed); }
void SetAnimationActive(bool Value) { Unit().Active.store(Value, std::memory_order_relaxed); }

}  // namespace skin_layered
