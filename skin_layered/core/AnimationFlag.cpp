#include "skin_layered/core/AnimationFlag.h"

#include <atomic>

namespace skin_layered {
namespace {
std::atomic<bool> animation_active{false};
}

bool AnimationActive() { return animation_active.load(std::memory_order_relaxed); }
void SetAnimationActive(bool Value) { animation_active.store(Value, std::memory_order_relaxed); }

}  // namespace skin_layered
