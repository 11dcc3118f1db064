// The skin manager unit's process-wide state in one object: the default manager, the flags
// every manager and the layers above read (a new skin being announced, system dialogs left
// unskinned, the skin editor's preview, the task-bar preview switch), the application's
// callbacks, and what start-up finds (the platform family, the form shadows read on first
// use). The process has one (ManagerUnit); a test may make its own.
#pragma once

#include <functional>
#include <memory>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/StringList.h"

namespace skin_layered {

class TsSkinManager;

// The application-level callbacks other units may set: whether a skin is active (the
// default manager's), and that a skin changed.
using TqvSkinActiveProc = std::function<void(bool Active)>;
using TqvSkinChangedProc = std::function<void()>;

struct TqvManagerUnit {
  TsSkinManager* DefaultManager = nullptr;  // the first manager made, until it goes
  bool Updating = false;                    // scmNewSkin on its way
  bool DialogsNotSkinned = true;
  TqvSkinActiveProc SkinActive;
  TqvSkinChangedProc SkinChanged;
  bool PreviewMode = false;                       // the skin editor's preview is shown
  const vcl::TStringList* PreviewLines = nullptr;  // its option text while applied
  bool TaskbarPreview = false;

  bool NTPlatform = false;
  bool Started = false;        // between the unit's start-up and shutdown
  bool ShadowsLoaded = false;  // the resources were read (a missing one stays nil)
  std::unique_ptr<vcl::TBitmap> ActiveShadow;
  std::unique_ptr<vcl::TBitmap> InactiveShadow;

  // The form shadow of an active / inactive form, read from the program's resources on
  // first use after start-up; nil when the resource is missing or unreadable, and before
  // start-up and after shutdown.
  vcl::TBitmap* Shadow(bool Active);
  // Shutdown: the shadows go, and are read again after the next start-up.
  void Stop();
};

// The process's manager unit.
TqvManagerUnit& ManagerUnit();

// The program's RCDATA resources of the shadows (PNG images).
inline constexpr wchar_t kActiveShadowResource[] = L"qvSHDA";
inline constexpr wchar_t kInactiveShadowResource[] = L"qvSHDI";

bool IsNTPlatform();
// The process's shadows (TqvManagerUnit::Shadow).
vcl::TBitmap* StartupShadow(bool Active);

}  // namespace skin_layered
