// What the core asks of the layered window adapters and dialogs: the thread's dialog hook
// that the default skin manager installs, the adapter of a skinned system dialog, printing
// child windows, the list of skinned top-level windows, and the adapters the form skinning
// gives a form's controls (one factory per adapter kind, the speed buttons' handler, the MDI
// client's adapter). The window adapters derive from these classes and install their
// services with SetAdapterServices and their factories with RegisterControlAdapter; until
// then the hook only passes every event on and the rest does nothing (no adapter is made).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/rtl/Method.h"
#include "classlib/rtl/Object.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/ThirdPartyList.h"

namespace vcl {
class TControl;
class TCustomForm;
}

namespace skin_layered {

class TsCommonData;
class TqvBorderFormBase;
class TsSkinManager;
class TsSkinProviderBase;

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

// The scroll bars a scroll adapter shows, with their screen rectangles (empty when hidden).
struct TqvShownScrollBars {
  bool Horz = false;
  bool Vert = false;
  vcl::TRect HorzRect;
  vcl::TRect VertRect;
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
  // The hook has just been installed: the thread's windows already open are looked at as the
  // hook looks at a window made or activated, so that they take the skin at once.
  virtual void SkinOpenWindows() {}
  // Looks at a window as the hook looks at one made: a window the skinning rules take gets its
  // provider or adapter.
  virtual void SkinWindow(HWND Wnd) { (void)Wnd; }
  // Paints every visible child window of Wnd into DC (recursively).
  virtual void PrintChildWindows(HWND Wnd, HDC DC) { (void)Wnd, (void)DC; }
  // The adapters' skinned top-level windows.
  virtual std::vector<TqvSkinnedWindow> SkinnedWindowList() { return {}; }

  // Whether a window adapter made by a control-adapter factory (below) has let its window
  // go: detached, or its window destroyed. Nil counts as gone.
  virtual bool AdapterDestroyed(vcl::TObject* Adapter) { return Adapter == nullptr; }
  // The handler that skins a speed button (a graphic control) from Section with SkinData (the
  // caller's); nil when there is none. Freed through the library's Free.
  virtual vcl::TObject* CreateSpeedButtonHandler(vcl::TControl* Control, const vcl::String& Section,
                                                 TsSkinManager* Manager, TsCommonData* SkinData) {
    (void)Control, (void)Section, (void)Manager, (void)SkinData;
    return nullptr;
  }
  // Whether such a handler has let its control go.
  virtual bool HandlerDetached(vcl::TObject* Handler) { return Handler == nullptr; }
  // The adapter of an MDI frame form's client window, painted from the frame's window image
  // (Provider's skin data); nil when there is none. Freed through the library's Free.
  virtual vcl::TObject* CreateMDIClientAdapter(HWND ClientWnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                               vcl::TCustomForm* Form, TsSkinProviderBase* Provider) {
    (void)ClientWnd, (void)Manager, (void)Params, (void)Form, (void)Provider;
    return nullptr;
  }
  // A form's own scroll adapter: the form's scroll bars skinned and painted with the
  // provider's skin data (SkinData, whose owner is the provider); nil when there is none.
  // Freed through the library's Free.
  virtual vcl::TObject* CreateFormScrollAdapter(HWND FormWnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                                TsCommonData* SkinData) {
    (void)FormWnd, (void)Manager, (void)Params, (void)SkinData;
    return nullptr;
  }
  // The bars such an adapter shows (none for nil or an adapter that let its window go).
  virtual TqvShownScrollBars ShownScrollBars(vcl::TObject* Adapter) {
    (void)Adapter;
    return {};
  }
  // A frame's scroll adapter: the frame's scroll bars skinned and painted with the frame
  // adapter's skin data (SkinData, with scroll data, the frame its owner control), while the
  // frame adapter keeps answering the skin command for the frame; nil when there is none.
  // Freed through the library's Free.
  virtual vcl::TObject* CreateFrameScrollAdapter(HWND FrameWnd, TsSkinManager* Manager, TsCommonData* SkinData) {
    (void)FrameWnd, (void)Manager, (void)SkinData;
    return nullptr;
  }
  // A scroll adapter's bars painted into DC (window coordinates; nil: the window's own DC).
  virtual void PaintScrollBars(vcl::TObject* Adapter, HDC DC) { (void)Adapter, (void)DC; }
  // A scroll adapter's bars read again from the window, and with Repaint painted.
  virtual void UpdateScrolls(vcl::TObject* Adapter, bool Repaint) { (void)Adapter, (void)Repaint; }
};

// The window adapter of one adapter kind on a control's window (Params.Control the control),
// attached and repainting at once; the caller frees it through the library's Free. Each
// adapter kind's unit registers its factory once at start-up; a kind without one (not built,
// or the speed buttons', which are graphic controls) gets no adapter.
using TqvControlAdapterFactory = vcl::TObject* (*)(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params);
// Registers the factory of a kind (nil takes it away); answers the one before.
TqvControlAdapterFactory RegisterControlAdapter(TqvAdapterKind Kind, TqvControlAdapterFactory Factory);
// The factory of a kind; nil when none is registered.
TqvControlAdapterFactory ControlAdapterFactory(TqvAdapterKind Kind);

// Installs the adapters' services (not owned; nil restores the defaults) and answers the
// ones installed before.
TLayeredAdapterServices* SetAdapterServices(TLayeredAdapterServices* Services);
TLayeredAdapterServices& AdapterServices();

// The adapters the dialog hook made, process-wide; the default manager frees them when it
// removes its hooks.
std::vector<std::unique_ptr<vcl::TObject, void (*)(vcl::TObject*)>>& HookedAdapters();
void FreeHookedAdapters();

}  // namespace skin_layered
