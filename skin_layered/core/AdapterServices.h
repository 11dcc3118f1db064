// What the core asks of the layered window adapters and dialogs: the thread's dialog hook
// that the default skin manager installs, the adapter of a skinned system dialog, printing
// child windows, and the list of skinned top-level windows. The window adapters derive from
// these classes and install their services with SetAdapterServices; until then the hook
// only passes every event on and the rest does nothing.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/rtl/Method.h"
#include "classlib/rtl/Object.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class TControl;
class TCustomForm;
}

namespace skin_layered {

class TsCommonData;
class TqvBorderFormBase;

// What every window adapter is made with: the control it skins (nil for a bare window), its
// section (empty: the adapter kind's own), and whether it takes the skin's font and colour
// (false keeps the control's own), and the sizes its scroll bars take (-1: the skin's).
struct TqvSkinParams {
  vcl::TControl* Control = nullptr;
  vcl::String SkinSection;
  bool UseSkinFont = true;
  bool UseSkinColor = true;
  int VertScrollWidth = -1;
  int VertButtonsSize = -1;
  int HorzScrollWidth = -1;
  int HorzButtonsSize = -1;
};

// What the manager's OnSysDlgInit handler is told of a system dialog about to be skinned; it
// clears AllowSkinning to leave the dialog as it is.
struct TqvSysDlgData {
  HWND DlgWnd = nullptr;
};
using TqvSysDlgInitEvent = vcl::Event<void(TqvSysDlgData DlgData, bool& AllowSkinning)>;

// The adapter of a skinned system dialog.
class TqvDialogWndBase : public vcl::TObject {
  VCL_CLASS(TqvDialogWndBase, vcl::TObject)
 public:
  TqvDialogWndBase() = default;

  HWND CtrlHandle = nullptr;                // the dialog's window
  TsCommonData* SkinData = nullptr;         // with the cache bitmap of the frame
  TqvBorderFormBase* BorderForm = nullptr;  // nil without extended borders
  vcl::TCustomForm* SnapshotForm = nullptr;  // nil when none
  LONG_PTR SavedOwner = 0;                  // the owner-window value restored before hiding

  // Paints the whole non-client frame into the skin data's cache bitmap.
  virtual void PaintAll() {}
  virtual void UpdateRgn() {}
  // The caption height; 0 without a caption.
  virtual int CaptionHeight() { return 0; }
  // The client area's offset inside the window image.
  virtual int OffsetX() { return 0; }
  virtual int OffsetY() { return 0; }
  // The shadow margins with a border form, else empty.
  virtual vcl::TRect ShadowSize() { return {}; }
};

// A skinned top-level window of the adapters and its border window (nil when none).
struct TqvSkinnedWindow {
  HWND Window = nullptr;
  HWND BorderWindow = nullptr;
};

class TLayeredAdapterServices {
 public:
  virtual ~TLayeredAdapterServices() = default;

  // The WH_CBT procedure for the GUI thread: it gives new popup menus and system dialogs
  // their adapters (kept in HookedAdapters), passing every event on first. By default it
  // only passes them on.
  virtual HOOKPROC DialogHookProc();
  // The hook is being removed: frees the adapters of hooked popup-menu windows and what the
  // hook made for system dialogs.
  virtual void ClearMenuWnds() {}
  // Paints every visible child window of Wnd into DC (recursively).
  virtual void PrintChildWindows(HWND Wnd, HDC DC) { (void)Wnd, (void)DC; }
  // The adapters' skinned top-level windows.
  virtual std::vector<TqvSkinnedWindow> SkinnedWindowList() { return {}; }
};

// Installs the adapters' services (not owned; nil restores the defaults) and answers the
// ones installed before.
TLayeredAdapterServices* SetAdapterServices(TLayeredAdapterServices* Services);
TLayeredAdapterServices& AdapterServices();

// The adapters the dialog hook made, process-wide; the default manager frees them when it
// removes its hooks.
std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>>& HookedAdapters();
void FreeHookedAdapters();

}  // namespace skin_layered
