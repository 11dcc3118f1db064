// The tests make their packages with the build's encoder.
#pragma once

#include "tools/skinpack/LzhufEncoder.h"

namespace skin_classic::test_support {
using skinpack::LzhufEncode;
using skinpack::LzhufStats;
}  // namespace skin_classic::test_support
