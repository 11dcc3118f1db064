#include "skin_layered/core/SkinLoading.h"

namespace skin_layered {

namespace {
// Everything runs on the GUI thread.
bool loading = false;
}  // namespace

bool SkinIsLoading() { return loading; }

TSkinLoadingScope::TSkinLoadingScope() : previous_(loading) { loading = true; }

TSkinLoadingScope::~TSkinLoadingScope() { loading = previous_; }

}  // namespace skin_layered
