// The system's visual styles as the library sees them: whether the theme library is there and
// whether the program's windows are drawn themed. Engines ask before they switch a window's
// visual style off or draw in its place. The answer is read at start-up and again when the
// theme changes (the application passes WM_THEMECHANGED on to UpdateThemes).
#pragma once

#include <functional>

#include "classlib/rtl/Method.h"

#include "classlib/controls/Messages.h"
#include "classlib/rtl/Object.h"

namespace vcl {

class TThemeServices : public TObject {
  VCL_CLASS(TThemeServices, TObject)

 public:
  TThemeServices();

  // The theme library (uxtheme) is loaded.
  bool ThemesAvailable() const { return available_; }
  // Available and in use: a theme is active, the program is themed and its common controls
  // are version 6 or later.
  bool ThemesEnabled() const { return enabled_; }
  // Reads the state again; OnThemeChange fires when the answer changed.
  void UpdateThemes();

  TNotifyEvent OnThemeChange;

 private:
  bool available_ = false;
  bool enabled_ = false;
};

// The library's one theme-services object.
TThemeServices* ThemeServices();

// Whether themes are in use, as the system answers it. Tests put in their own answer; nullptr
// puts back the system's. Returns the previous query.
using TThemeStateQuery = std::function<bool()>;
TThemeStateQuery SetThemeStateQuery(TThemeStateQuery Query);

}  // namespace vcl
