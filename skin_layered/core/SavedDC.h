// A device context's state saved for a scope and restored at its end (clip region, origins,
// selected objects, modes), whatever path leaves the scope.
#pragma once

#include <windows.h>

namespace skin_layered {

class TSavedDC {
 public:
  explicit TSavedDC(HDC DC) : dc_(DC), saved_(DC ? SaveDC(DC) : 0) {}
  TSavedDC(const TSavedDC&) = delete;
  TSavedDC& operator=(const TSavedDC&) = delete;
  ~TSavedDC() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

}  // namespace skin_layered
