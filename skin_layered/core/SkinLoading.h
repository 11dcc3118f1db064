// The process-wide flag that a skin is loading: while it is set, painting keeps away from
// the skin tables being refilled.
#pragma once

namespace skin_layered {

bool SkinIsLoading();

// Sets the flag for its scope and, at its end (exceptions included), puts back what it found,
// so that a load inside another leaves the outer one's flag set.
class TSkinLoadingScope {
 public:
  TSkinLoadingScope();
  ~TSkinLoadingScope();
  TSkinLoadingScope(const TSkinLoadingScope&) = delete;
  TSkinLoadingScope& operator=(const TSkinLoadingScope&) = delete;

 private:
  bool previous_;
};

}  // namespace skin_layered
