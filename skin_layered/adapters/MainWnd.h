// TqvMainWnd, the root of every window adapter: a plain object that attaches itself to one
// existing window (a control of the class library, another vendor's control, or a bare child
// window of a system dialog), links it with the control's skin data, switches its visual
// style off, answers the skin command message for it and passes everything else to what was
// there before. Descendants override the virtual operations and extend WndProc.
//
// Attaching: a class-library control (the skin data's owner control) gets the adapter in
// front of its WindowProc, a provider's form (the skin data's owner a skin provider) in front
// of the form's WindowProc, any other window through the library's window subclassing; in
// every case the adapter is stored on the window as the property "QVSBSC", and in the
// process's map (AdapterMap.h) GetAdapter reads.
// Detaching never breaks a hook or subclass installed after the adapter's.
//
// Making one: CreateAdapter<TqvSomeWnd>(Handle, SkinData, Manager, Params) constructs the
// adapter and attaches it (through AfterConstruction, where the overrides apply). Whoever
// makes an adapter frees it, through the library's Free (TqvAdapterPtr does): detaching runs
// in BeforeDestruction, where the overrides still apply.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/rtl/Lifetime.h"
#include "classlib/rtl/Object.h"
#include "skin_layered/core/AdapterServices.h"

namespace skin_layered {

struct TqvBGInfo;
class TsCommonData;
class TsSkinManager;
class TsSkinProviderBase;

// The window property holding a window's adapter.
inline constexpr wchar_t kAdapterProperty[] = L"QVSBSC";

class TqvMainWnd : public vcl::TObject {
  VCL_CLASS(TqvMainWnd, vcl::TObject)
 public:
  // Keeps the arguments; AfterConstruction attaches. ASkinData may be nil: the adapter then
  // makes (and owns) skin data for Params.Control. Repaint matters to scroll adapters only.
  TqvMainWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager, const TqvSkinParams& Params,
             bool Repaint = false);
  // Frees owned skin data (nothing of the adapter stays in the window's chain).
  ~TqvMainWnd() override;
  // Detaches when still attached: the control's style and own parameters back, the window's
  // visual style back.
  void BeforeDestruction() override;
  // The creation steps: visual style, skin data, standard parameters, caption, attaching,
  // the control's opaque style, SetSkinParams.
  void AfterConstruction() override;

  // ---- the virtual operations
  // Descendants set their default section and control code first.
  virtual void SetSkinParams();
  // Save and restore the control's own colours and fonts (nothing here).
  virtual void SaveStdParams() {}
  virtual void RestoreStdParams() {}
  virtual void ApplySkinParams() { SkinParamsApplied = true; }
  // Makes skin data for the owner control when none is held.
  virtual void CreateSkinData(vcl::TControl* Owner);
  // The common window procedure (below); descendants handle their messages and call it.
  virtual void WndProc(vcl::TMessage& Message);
  // Adapters that leave the window's visual style on (a popup menu's window).
  virtual bool KeepsVisualStyle() const { return false; }
  // Whether creation switches the window's visual style off; SkinData is set only when it was
  // given. By default: not for a kept style, a dialog's child, a provider's form that does not
  // draw its frame, or the "DIALOG" section.
  virtual bool WantsVisualStyleOff() const;
  // Whether the control's ControlStyle gets csOpaque while adapted.
  virtual bool AddsOpaqueStyle() const { return true; }

  // Passes a message to what lay below the adapter; the answer goes to Message.Result (0 when
  // that raises, or when nothing lies below). For a subclassed window it reaches the procedure
  // below only while the adapter handles a message of that window.
  void CallPrevWndProc(vcl::TMessage& Message);
  LRESULT CallPrevWndProc(UINT Msg, WPARAM WParam, LPARAM LParam);

  // The manager given at creation, else the skin data's; nil when neither.
  TsSkinManager* Manager() const;
  vcl::TControl* OwnerControl() const;
  // Attached through a hook or a subclass (nothing put back yet).
  bool Attached() const { return hook_.Installed() || subclass_.Attached(); }
  // Detached: the object may live on, but handles nothing more. A call that may detach or
  // free the adapter (its window's procedure, a sent message, a tracking loop, an animation)
  // takes a watch of its lifetime first and asks the watch afterwards.
  bool Destroyed() const { return lifetime_.Ended(); }
  const vcl::TLifetime& Lifetime() const { return lifetime_; }

  // ---- state (read and set by descendants and by the code that made the adapter)
  bool DialogChild = false;     // an adapter of a system dialog's child window
  vcl::String Caption;          // the window's text, read again after WM_SETTEXT
  vcl::TRect WndRect;           // screen rectangle (GetWndPos)
  vcl::TSize WndSize;
  vcl::TPoint WndPos;           // top-left in the parent's client coordinates
  vcl::TRect ParentRect;        // the parent's screen rectangle
  HWND ParentWnd = nullptr;
  HWND CtrlHandle = nullptr;    // the adapted window
  TsSkinManager* SkinManager = nullptr;
  bool ScrollingInProgress = false;  // the adapter itself scrolls or sets styles
  bool SkinParamsApplied = false;
  bool OwnsSkinData = false;
  TsCommonData* SkinData = nullptr;
  int ListState = 0;            // a drop-down list's state (-1: not dropped)

 protected:
  // The arguments of creation (the skin parameters are copied).
  const TqvSkinParams& Params() const { return params_; }
  bool RepaintOnInstall() const { return repaint_; }
  // After the skin data is set up at creation (Owned: the adapter made it), before the
  // control's own parameters are saved and the adapter attached.
  virtual void InitSkinData(bool Owned) { (void)Owned; }

  // Attaching (done once, by creation) and detaching; the scroll adapters do more around
  // them. Uninstall does nothing once detached.
  friend void InstallAdapter(TqvMainWnd* Adapter);
  friend void UninstallAdapter(TqvMainWnd* Adapter, bool UseSetWindowPos);
  virtual void Install();
  virtual void Uninstall(bool UseSetWindowPos);
  // Puts back what lay below the adapter and drops the property.
  void RestoreWindowProc();
  // The control's ControlStyle as it was before the adapter made it opaque.
  void RestoreControlStyle();

  // The adapter is detached: Destroyed from now on, and every watch taken answers false.
  void EndLifetime() { lifetime_.End(); }

  // The common part of WndProc: the skin command message, else the previous procedure.
  void CommonPart(vcl::TMessage& Message);
  // The skin command sent by the adapter's own manager (LParam).
  bool FromOwnManager(const vcl::TMessage& Message) const;
  // The skin went: the section's indexes are dropped until the next skin comes.
  void ForgetSkin();
  // The skin went from a container: the owner control is no longer opaque.
  void DropOpaqueStyle();
  // A container that stops the manager's broadcast (it answers as skinned) passes the skin's
  // removal on to its children only when the manager removes its whole skin: a container that
  // lost just its own section leaves its children the skin of theirs.
  void PassSkinRemoval(vcl::TMessage& Message);
  // WM_DESTROY / WM_NCDESTROY: the adapter detaches and the message goes on below (answered 1).
  void OnDestroyMessage(vcl::TMessage& Message);
  // WM_CONTEXTMENU: the control's popup menu is drawn skinned.
  void OnContextMenu();
  // Answers a child's background request (scmGetBgInfo) from the skin data. The cache holds
  // the whole window, frame included, while a child counts its place from the client area:
  // the answer is given for the client area's corner in the cache. Wnd goes to ProvideBgInfo.
  void ProvideClientBgInfo(TqvBGInfo& Info, HWND Wnd);
  // Caption := the window's text.
  void ReadCaption();
  // Selects the adapted control's font into the cache bitmap's canvas: the owner control's
  // Font, else the window's own (WM_GETFONT), else the message font.
  void SelectCacheFont();

 private:
  enum class TAttachMode { None, Control, Form, Window };

  void HandleMessage(vcl::TMessage& Message);
  void OnMouseMove();
  // True when the command was answered and goes no further.
  bool OnSkinCommand(vcl::TMessage& Message);
  void SwitchVisualStyleOff();
  void RestoreVisualStyle();

  TqvSkinParams params_;
  bool repaint_ = false;
  TAttachMode mode_ = TAttachMode::None;  // how the adapter was attached (kept after detaching)
  vcl::TWindowProcHook hook_;      // the control's or the provider form's WindowProc
  vcl::TWindowSubclass subclass_;  // a window without a control
  vcl::TControlStyle saved_style_;
  bool style_saved_ = false;       // saved_style_ holds the style before csOpaque
  bool control_gone_ = false;      // the hooked control went before the adapter let go
  vcl::TLifetime lifetime_;
};

// The adapter of a window, nil when none.
TqvMainWnd* GetAdapter(HWND Handle);

// An adapter owned: freed through the library's Free.
struct TqvFreeAdapter {
  void operator()(TqvMainWnd* Adapter) const { vcl::TObject::Free(Adapter); }
};
template <class T>
using TqvAdapterPtr = std::unique_ptr<T, TqvFreeAdapter>;

// Makes an adapter of class T and attaches it; the caller owns it.
template <class T>
TqvAdapterPtr<T> CreateAdapter(HWND Handle, TsCommonData* SkinData, TsSkinManager* Manager,
                               const TqvSkinParams& Params, bool Repaint = false) {
  return TqvAdapterPtr<T>(vcl::Construct<T>(Handle, SkinData, Manager, Params, Repaint));
}

// Attaches an adapter to its window (done by its creation).
void InstallAdapter(TqvMainWnd* Adapter);
// Detaches the adapter when it is attached (what lay below it put back, the property gone,
// the control's own colours and fonts back, the frame redrawn when the window is visible).
// Nothing for nil.
void UninstallAdapter(TqvMainWnd* Adapter, bool UseSetWindowPos);
// The same, then with FreeAdapter frees it.
template <class T>
void UninstallAdapter(TqvAdapterPtr<T>& Adapter, bool FreeAdapter, bool UseSetWindowPos) {
  UninstallAdapter(Adapter.get(), UseSetWindowPos);
  if (FreeAdapter) Adapter.reset();
}

// Recomputes the window's frame (UseSetWindowPos), or repaints it.
void RefreshFrame(HWND Handle, bool UseSetWindowPos);

}  // namespace skin_layered
