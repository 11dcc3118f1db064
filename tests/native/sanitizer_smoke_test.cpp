// The native build really runs under the sanitizers: an overrun is caught, not silently
// read.
#include <gtest/gtest.h>
#include <sanitizer/asan_interface.h>

#include <climits>
#include <memory>

namespace {

TEST(NativeSanitizers, HeapRedzoneIsPoisoned) {
  auto block = std::make_unique<char[]>(16);
  EXPECT_FALSE(__asan_address_is_poisoned(block.get() + 15));
  EXPECT_TRUE(__asan_address_is_poisoned(block.get() + 16));
}

int AddOne(int v) {
  volatile int copy = v;  // keeps the overflow from being folded away
  return copy + 1;
}

TEST(NativeSanitizersDeathTest, SignedOverflowStops) {
  EXPECT_DEATH(AddOne(INT_MAX), "signed integer overflow");
}

}  // namespace
