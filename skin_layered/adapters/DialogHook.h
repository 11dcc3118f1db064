// The dialog and popup-menu hook: the thread's CBT hook, installed by the default skin manager
// while it applies a skin, that skins windows nobody put a skin provider on. Popup-menu
// windows ("#32768") get a TqvMnuWnd; forms of the library without a provider (the message
// form included) and their MDI children get a provider made for them; system dialogs
// ("#32770" without a parent) get a TqvDialogWnd and each of their child windows the adapter
// its lower-case class name chooses (AddChildAdapter), what was made being kept in a
// TqvProvider. CheckDialogWnd decides by class, style, the manager's skinning rules, the limit
// of skinned dialogs shown at once and the manager's OnSysDlgInit veto.
//
// The child adapters are chosen by a table; the adapter kinds are made through factories that
// the adapters' own units register (RegisterChildAdapter). A kind without a factory answers
// "no adapter" and the child stays as it is.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/rtl/Component.h"
#include "skin_layered/adapters/DialogHookRequests.h"
#include "skin_layered/adapters/MainWnd.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

class TqvDialogWnd;
class TqvMnuWnd;
class TsSkinProvider;

// What the hook made for one window.
class TqvProvider : public vcl::TComponent {
  VCL_CLASS(TqvProvider, vcl::TComponent)
 public:
  explicit TqvProvider(vcl::TComponent* AOwner);
  // Leaves the provider list; frees the child adapters and the dialog adapter.
  ~TqvProvider() override;

  // Attaches the dialog adapter and the child adapters of a system dialog; false when a child
  // could not be wrapped (the provider then leaves the list).
  bool InitDialog(HWND Wnd);

  HWND Handle = nullptr;                       // the system dialog (nil for forms)
  TsSkinProvider* SkinProvider = nullptr;      // made for a form, owned by the form
  TqvAdapterPtr<TqvDialogWnd> DialogWnd;       // a system dialog's adapter
  std::vector<TqvAdapterPtr<TqvMainWnd>> Adapters;  // its children's adapters
};

// The adapter kinds a system dialog's child can get.
enum class TqvChildKind {
  Edge, Icon, Static, TransPanel, Panel, Edit, GroupBox, CheckBox, Button, ComboBox, Sizer, TabControl,
  ListView, Spin, Track, Link, ToolBar, TreeView, Container, Progress, Search,
};

// Makes the adapter of one kind on a dialog's child window (Params: no control, the row's
// section); nil for none. Made while the dialog-child flag is set.
using TqvChildAdapterFactory = TqvAdapterPtr<TqvMainWnd> (*)(HWND Wnd, TsSkinManager* Manager,
                                                              const TqvSkinParams& Params, bool Repaint);
// Registers the factory of a kind (nil takes it away); answers the one before.
TqvChildAdapterFactory RegisterChildAdapter(TqvChildKind Kind, TqvChildAdapterFactory Factory);

// The hook procedure.
LRESULT CALLBACK DlgCBTHookProc(int Code, WPARAM WParam, LPARAM LParam);
// The adapter of one child window of a system dialog; false only for no window.
bool AddChildAdapter(TqvProvider* Provider, HWND Wnd);
// Makes or drops the dialog adapter of a window by whether the default manager is active.
void AttachDialogWnd(HWND Wnd, TqvAdapterPtr<TqvDialogWnd>& DialogWnd);
// The provider made for a window; nil when none (and while the application terminates).
TqvProvider* FindProvider(HWND Wnd);
// The library's form of a window (an MDI frame's child included); nil when none.
vcl::TCustomForm* FindForm(HWND Wnd);
// A provider of the library's own for a form that has none.
void MakeFormProvider(TqvProvider* Provider, vcl::TCustomForm* Form);
// Frees the providers whose dialog has gone.
void PurgeProviders();
// The providers whose dialog is shown.
int CountVisibleDialogs();
// A descendant of Wnd has the lower-case class name.
bool HasChildClass(HWND Wnd, const wchar_t* ClassName);
// The hook's providers, freed when the hook is removed.
std::vector<TqvProvider*>& ProviderList();
// The most skinned system dialogs shown at once (a third is skinned only with a tool bar).
inline constexpr int kMaxSkinnedDialogs = 2;

// The services the core asks of the adapters (the hook procedure, the menu adapters' and
// providers' release, printing child windows, the skinned dialogs), installed at start-up.
void InstallAdapterServices();
void RemoveAdapterServices();

}  // namespace skin_layered
