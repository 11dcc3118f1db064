// What the gallery's test programs share: the class library's units started once for the
// whole program.
#pragma once

#include <gtest/gtest.h>

#include "classlib/rtl/UnitInit.h"

namespace gallery::test {

class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { vcl::InitializeUnits(); }
  void TearDown() override { vcl::FinalizeUnits(); }
};

}  // namespace gallery::test
