// The library started once for the common-controls test program.
#include "classlib/controls/controls_support.h"

namespace vcl::testing {
namespace {
::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);
}  // namespace
}  // namespace vcl::testing
