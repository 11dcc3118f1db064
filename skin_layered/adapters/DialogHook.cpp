#include "skin_layered/adapters/DialogHook.h"

#include <algorithm>
#include <array>
#include <cwctype>
#include <memory>
#include <vector>

#include "classlib/controls/ThreadWindow.h"
#include "classlib/forms/Forms.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/CheckBoxWnd.h"
#include "skin_layered/adapters/ComboBoxWnd.h"
#include "skin_layered/adapters/ContainerWnd.h"
#include "skin_layered/adapters/DialogSysMenu.h"
#include "skin_layered/adapters/DialogWnd.h"
#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/FormScrollWnd.h"
#include "skin_layered/adapters/FrameScrollWnd.h"
#include "skin_layered/adapters/GroupBoxWnd.h"
#include "skin_layered/adapters/ListViewWnd.h"
#include "skin_layered/adapters/MdiWnd.h"
#include "skin_layered/adapters/MnuWnd.h"
#include "skin_layered/adapters/PanelWnd.h"
#include "skin_layered/adapters/ProgressWnd.h"
#include "skin_layered/adapters/SizerWnd.h"
#include "skin_layered/adapters/SpeedButtonHandler.h"
#include "skin_layered/adapters/SpinWnd.h"
#include "skin_layered/adapters/StaticWnd.h"
#include "skin_layered/adapters/SysToolBarWnd.h"
#include "skin_layered/adapters/TabControlWnd.h"
#include "skin_layered/adapters/TrackWnd.h"
#include "skin_layered/adapters/TreeViewWnd.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinDialogs.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/GlowWindows.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvProvider) {}

namespace {

constexpr ATOM kMenuAtom = 0x8000;    // the class kPopupMenuClass
constexpr ATOM kDialogAtom = 0x8002;  // "#32770"
constexpr UINT kTagNoSkin = 0x100;

// The form classes the hook never skins: the application's window and other vendors' popups.
constexpr std::array<std::wstring_view, 7> kExcludedFormClasses{
    L"TApplication",           L"TfcPopup",        L"TcxComboBoxPopupWindow", L"TcxCustomPopupWindow",
    L"TdxPopupEditForm",       L"TcxDateEditPopupWindow", L"TcxGridFilterPopup"};

using TChildFactories = std::array<TqvChildAdapterFactory, static_cast<std::size_t>(TqvChildKind::Search) + 1>;
TChildFactories& Factories();
// Adapters freed once they no longer run a message of their own.
std::vector<TqvAdapterPtr<TqvMnuWnd>>& DeferredMenus();

std::wstring LowerClassName(HWND Wnd) {
  wchar_t name[256] = {};
  GetClassNameW(Wnd, name, 256);
  std::wstring s(name);
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

bool AnswersSkinned(HWND Wnd) { return SendCommandToWnd(Wnd, scmIsSkinned, 0) != 0; }

bool ApplicationGoing() {
  return !vcl::Application || vcl::Application->Terminated() ||
         vcl::Application->ComponentState().Contains(vcl::csDestroying);
}

// The class named in the creation record (an atom or a text).
bool IsAtom(LPCWSTR Name) { return (reinterpret_cast<ULONG_PTR>(Name) >> 16) == 0; }

// A dialog page (a property sheet's, made at a switch to its tab) is being made inside a
// window: its skinned dialog wraps it and its controls once it is made and has them, before it
// is first painted (a posted message comes before the painting).
void NoteDialogPage(HWND Parent) {
  const HWND root = Parent ? GetAncestor(Parent, GA_ROOT) : nullptr;
  TqvProvider* provider = root ? FindProvider(root) : nullptr;
  if (!provider || !provider->DialogWnd || provider->DialogWnd->Destroyed()) return;
  PostMessageW(root, kSkinCmdMessage, SkinCommandWParam(scmChildrenChanged), 0);
}

// ---- the table of child adapters

// What a row does to the adapter it made (nil: nothing).
using TChildFinish = void (*)(TqvProvider* Provider, TqvMainWnd& Adapter);

struct TChildRow {
  std::wstring_view ClassName;
  bool (*Condition)(LONG_PTR Style, LONG_PTR ExStyle, HWND Wnd);
  TqvChildKind Kind;
  std::wstring_view Section;
  bool RepaintWithCache;  // repaint only when the dialog's image exists
  bool ClearsPlainClient;
  bool OwnedByControl = false;  // the library's control of the window owns the adapter
  TChildFinish Finish = nullptr;
};

bool Always(LONG_PTR, LONG_PTR, HWND) { return true; }
// Shown by its own style: a dialog that shows with an animation wraps its children before it
// is on the screen itself.
bool Visible(LONG_PTR Style, LONG_PTR, HWND) { return (Style & WS_VISIBLE) != 0; }
// Statics by their type field as a whole. An icon or a bitmap gets the picture adapter (the
// edge one with a sunken edge).
bool PictureStatic(LONG_PTR S) {
  const LONG_PTR type = S & SS_TYPEMASK;
  return type == SS_ICON || type == SS_BITMAP;
}
bool EdgeStatic(LONG_PTR S, LONG_PTR X, HWND) { return PictureStatic(S) && (X & WS_EX_STATICEDGE); }
bool IconStatic(LONG_PTR S, LONG_PTR X, HWND) { return PictureStatic(S) && !(X & WS_EX_STATICEDGE); }
// Every other static but those the system must draw itself: owner-drawn ones, metafile
// pictures (the picture adapter shows icons and bitmaps only), grey and white rectangles
// and simple texts.
bool PlainStatic(LONG_PTR S, LONG_PTR, HWND) {
  switch (S & SS_TYPEMASK) {
    case SS_OWNERDRAW: case SS_ENHMETAFILE: case SS_GRAYRECT: case SS_WHITERECT: case SS_SIMPLE:
      return false;
    default:
      return true;
  }
}
// Buttons by their type field as a whole.
bool IsGroupBox(LONG_PTR S, LONG_PTR, HWND) { return (S & BS_TYPEMASK) == BS_GROUPBOX; }
// Check boxes and radio buttons; and owner-drawn buttons, whose drawing the check box
// adapter leaves to their owner (it only lays their background).
bool CheckLike(LONG_PTR S, LONG_PTR, HWND) {
  switch (S & BS_TYPEMASK) {
    case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_RADIOBUTTON: case BS_3STATE: case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON: case BS_OWNERDRAW:
      return true;
    default:
      return false;
  }
}
bool SizeGrip(LONG_PTR S, LONG_PTR, HWND) { return (S & SBS_SIZEGRIP) != 0; }
// TCS_OWNERDRAWFIXED is 0x2000.
bool NotOwnerDrawnTabs(LONG_PTR S, LONG_PTR, HWND) { return (S & 0x2000) == 0; }
// TBSTYLE_WRAPABLE is 0x200.
bool WrapableToolBar(LONG_PTR S, LONG_PTR, HWND) { return (S & 0x200) != 0; }
bool SearchHost(LONG_PTR, LONG_PTR, HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return r.bottom - r.top == 24;
}

// A library panel in a dialog: its labels take the skin's font colour over its face, its
// windowed children their adapters, and its colour the skin's.
void FinishPanel(TqvProvider* Provider, TqvMainWnd& Adapter) {
  auto* panel = dynamic_cast<vcl::TWinControl*>(Adapter.OwnerControl());
  TsSkinManager* manager = Adapter.Manager();
  if (!panel || !manager) return;
  const TsLoadedSkin& skin = manager->Skin();
  for (int i = 0; i < panel->ControlCount(); ++i) {
    vcl::TControl* child = panel->Controls(i);
    if (auto* label = dynamic_cast<vcl::TCustomLabel*>(child)) {
      label->Font()->SetColor(skin.GetGlobalFontColor());
      label->SetTransparent(true);
    } else if (auto* windowed = dynamic_cast<vcl::TWinControl*>(child); windowed && windowed->HandleAllocated()) {
      AddChildAdapter(Provider, windowed->Handle());
    }
  }
  panel->SetColor(skin.GetGlobalColor());
}

// A panel that paints nothing of its own: its text goes and it keeps its caption to itself.
void FinishSilentPanel(TqvProvider*, TqvMainWnd& Adapter) {
  if (vcl::TControl* control = Adapter.OwnerControl()) {
    control->SetCaption(vcl::String());
    control->SetTag(kPanelNoCaptionTag);
  }
  if (Adapter.SkinData) Adapter.SkinData->BGChanged = true;
}

using enum TqvChildKind;
constexpr TChildRow kChildRows[] = {
    {L"static", EdgeStatic, Edge, L"EDIT", false, false},
    {L"static", IconStatic, Icon, L"", false, false},
    {L"static", PlainStatic, Static, L"", false, false},
    {L"#32770", Always, TransPanel, L"", false, false},
    {L"tpanel", Always, Panel, L"CHECKBOX", false, false, true, FinishPanel},
    {L"tsilentpaintpanel", Always, Panel, L"GROUPBOX", false, false, true, FinishSilentPanel},
    {L"edit", Visible, Edit, L"EDIT", true, true},
    {L"button", IsGroupBox, TqvChildKind::GroupBox, L"GROUPBOX", false, false},
    {L"button", CheckLike, CheckBox, L"", false, false},
    {L"button", Always, Button, L"", false, false},
    {L"tbutton", IsGroupBox, TqvChildKind::GroupBox, L"GROUPBOX", false, false},
    {L"tbutton", CheckLike, CheckBox, L"", false, false},
    {L"tbutton", Always, Button, L"", false, false},
    {L"combobox", Always, ComboBox, L"COMBOBOX", true, true},
    {L"combolbox", Always, Edit, L"COMBOBOX", false, true},
    {L"comboboxex32", Always, ComboBox, L"COMBOBOX", false, true},
    {L"scrollbar", SizeGrip, Sizer, L"", false, false},
    {L"systabcontrol32", NotOwnerDrawnTabs, TabControl, L"PAGECONTROL", false, false},
    {L"syslistview32", Always, ListView, L"EDIT", false, false},
    {L"msctls_updown32", Always, Spin, L"SPEEDBUTTON_SMALL", false, false},
    {L"msctls_trackbar32", Always, Track, L"TRACKBAR", false, false},
    {L"listbox", Always, Edit, L"EDIT", false, true},
    {L"link window", Always, Link, L"", false, false},
    {L"syslink", Always, Link, L"", false, false},
    {L"toolbarwindow32", WrapableToolBar, ToolBar, L"BAR", false, false},
    {L"toolbarwindow32", Always, ToolBar, L"CHECKBOX", false, false},
    {L"systreeview32", Always, TreeView, L"EDIT", false, false},
    {L"shbrowseforfolder", Always, TransPanel, L"", false, false},
    {L"rebarwindow32", Visible, Container, L"", false, false},
    {L"msctls_progress32", Visible, Progress, L"", false, false},
    {L"universalsearchband", Visible, Container, L"", false, false},
    {L"address band root", Visible, Container, L"", false, false},
    {L"workerw", Visible, Container, L"", false, false},
    {L"search box", Visible, Container, L"", false, false},
    {L"travelband", Visible, Container, L"", false, false},
    {L"breadcrumb parent", Visible, Container, L"", false, false},
    {L"directuihwnd", SearchHost, Search, L"", false, false},
};

// A row for the class whose condition holds; "ctrlnotifysink" and every class not listed
// get nothing, as does a listed class whose conditions all fail.
const TChildRow* RowFor(const std::wstring& ClassName, LONG_PTR Style, LONG_PTR ExStyle, HWND Wnd) {
  for (const TChildRow& row : kChildRows)
    if (row.ClassName == ClassName) {
      if (row.Condition(Style, ExStyle, Wnd)) return &row;
      // The conditions of one class are tried in order; the scroll bar and tab rows stand alone.
    }
  return nullptr;
}

TqvAdapterPtr<TqvMainWnd> MakeEditAdapter(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                          bool Repaint) {
  TqvAdapterPtr<TqvEditWnd> edit = CreateAdapter<TqvEditWnd>(Wnd, nullptr, Manager, Params, Repaint);
  return TqvAdapterPtr<TqvMainWnd>(edit.release());
}

TqvAdapterPtr<TqvMainWnd> MakeTrackAdapter(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                           bool Repaint) {
  TqvAdapterPtr<TqvTrackWnd> track = CreateAdapter<TqvTrackWnd>(Wnd, nullptr, Manager, Params, Repaint);
  return TqvAdapterPtr<TqvMainWnd>(track.release());
}

// A dialog's up-down leaves the two pixels at its left to the control it sits beside.
TqvAdapterPtr<TqvMainWnd> MakeSpinAdapter(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                          bool Repaint) {
  TqvAdapterPtr<TqvSpinWnd> spin = CreateAdapter<TqvSpinWnd>(Wnd, nullptr, Manager, Params, Repaint);
  spin->LeftOffset = 2;
  return TqvAdapterPtr<TqvMainWnd>(spin.release());
}

template <class T>
TqvAdapterPtr<TqvMainWnd> MakeAdapter(HWND Wnd, TsSkinManager* Manager, const TqvSkinParams& Params, bool Repaint) {
  return TqvAdapterPtr<TqvMainWnd>(CreateAdapter<T>(Wnd, nullptr, Manager, Params, Repaint).release());
}

// The kinds built so far that need nothing but their window.
const bool kOwnFactories = [] {
  Factories()[static_cast<std::size_t>(TqvChildKind::Edit)] = &MakeEditAdapter;
  Factories()[static_cast<std::size_t>(TqvChildKind::Track)] = &MakeTrackAdapter;
  Factories()[static_cast<std::size_t>(TqvChildKind::Static)] = &MakeAdapter<TqvStaticWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Edge)] = &MakeAdapter<TqvEdgeWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Icon)] = &MakeAdapter<TqvIconWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Link)] = &MakeAdapter<TqvLinkWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Button)] = &MakeAdapter<TqvBtnWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::CheckBox)] = &MakeAdapter<TqvCheckBoxWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::GroupBox)] = &MakeAdapter<TqvGroupBoxWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::ComboBox)] = &MakeAdapter<TqvComboBoxWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Spin)] = &MakeSpinAdapter;
  Factories()[static_cast<std::size_t>(TqvChildKind::Sizer)] = &MakeAdapter<TqvSizerWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::ToolBar)] = &MakeAdapter<TqvToolBarWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::TransPanel)] = &MakeAdapter<TqvTransPanelWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::TabControl)] = &MakeAdapter<TqvTabControlWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::ListView)] = &MakeAdapter<TqvListViewWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::TreeView)] = &MakeAdapter<TqvTreeViewWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Container)] = &MakeAdapter<TqvContainerWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Progress)] = &MakeAdapter<TqvProgressWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Search)] = &MakeAdapter<TqvSearchWnd>;
  Factories()[static_cast<std::size_t>(TqvChildKind::Panel)] = &MakeAdapter<TqvPanelWnd>;
  return true;
}();

// ---- the services the core asks for

class TAdapterServices : public TLayeredAdapterServices {
 public:
  HOOKPROC DialogHookProc() override { return &DlgCBTHookProc; }
  void ClearMenuWnds() override {
    skin_layered::ClearMenuWnds();
    // The hook goes: the providers made for system dialogs go with it.
    std::vector<TqvProvider*> list = std::move(ProviderList());
    ProviderList().clear();
    for (TqvProvider* p : list)
      if (p && !p->Owner()) vcl::TObject::Free(p);
  }
  void SkinOpenWindows() override {
    // Collected first: skinning one may make or destroy windows.
    std::vector<HWND> open;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND Wnd, LPARAM List) {
          reinterpret_cast<std::vector<HWND>*>(List)->push_back(Wnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&open));
    // Oldest first, as they came (the bottom of the z-order first: a dialog lies above its
    // owner and above those open before it), and those with a tool bar, which are skinned
    // beyond the most shown at once, last: the dialogs skinned again are those the skin had
    // (a Font dialog under the Colour and Save dialogs it led to was left out, the newer two
    // having taken the places first).
    std::reverse(open.begin(), open.end());
    std::stable_partition(open.begin(), open.end(), [](HWND Wnd) { return !HasChildClass(Wnd, L"toolbarwindow32"); });
    // Library forms are left to their own providers and to activation: a form being built in
    // code may be about to get its provider, which an automatic one made here would shadow.
    for (HWND wnd : open)
      if (IsWindow(wnd) && !FindForm(wnd)) CheckDialogWnd(wnd, nullptr);
  }
  void SkinWindow(HWND Wnd) override {
    if (IsWindow(Wnd)) CheckDialogWnd(Wnd, nullptr);
  }
  void PrintChildWindows(HWND Wnd, HDC DC) override { PrintChildren(Wnd, DC); }
  std::vector<TqvSkinnedWindow> SkinnedWindowList() override {
    std::vector<TqvSkinnedWindow> list;
    for (TqvProvider* p : ProviderList())
      if (p && p->DialogWnd && !p->DialogWnd->Destroyed()) {
        const TqvBorderForm* border = p->DialogWnd->ExtBorderForm();
        list.push_back({p->Handle, border ? border->BorderWindow() : nullptr});
      }
    return list;
  }
  bool AdapterDestroyed(vcl::TObject* Adapter) override {
    auto* adapter = dynamic_cast<TqvMainWnd*>(Adapter);
    return !adapter || adapter->Destroyed();
  }
  vcl::TObject* CreateSpeedButtonHandler(vcl::TControl* Control, const vcl::String& Section, TsSkinManager* Manager,
                                         TsCommonData* SkinData) override {
    return vcl::Construct<TqvSpeedButtonHandler>(Control, Section, Manager, SkinData);
  }
  bool HandlerDetached(vcl::TObject* Handler) override {
    auto* handler = dynamic_cast<TqvSpeedButtonHandler*>(Handler);
    return !handler || handler->Detached || !handler->Control;
  }
  vcl::TObject* CreateMDIClientAdapter(HWND ClientWnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                       vcl::TCustomForm* Form, TsSkinProviderBase* Provider) override {
    auto* provider = dynamic_cast<TsSkinProvider*>(Provider);
    TqvAdapterPtr<TqvMDIWnd> adapter = CreateAdapter<TqvMDIWnd>(ClientWnd, nullptr, Manager, Params, true);
    adapter->Form = Form;
    adapter->Provider = provider;
    adapter->FormSkinData = provider ? provider->SkinData : nullptr;
    // Documents made while the frame was not skinned (a skin without its section) get their
    // provider now, as those made from here on do on their creation; one with a provider of
    // its own (skinned or not) follows the skin through it.
    std::vector<HWND> documents;
    for (HWND child = GetWindow(ClientWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      documents.push_back(child);
    for (HWND document : documents)
      if (IsWindow(document) && !SendCommandToWnd(document, scmGetProvider, 0)) CheckDialogWnd(document, nullptr);
    return adapter.release();
  }
  vcl::TObject* CreateFormScrollAdapter(HWND FormWnd, TsSkinManager* Manager, const TqvSkinParams& Params,
                                        TsCommonData* SkinData) override {
    return CreateAdapter<TqvFormScrollWnd>(FormWnd, SkinData, Manager, Params, false).release();
  }
  TqvShownScrollBars ShownScrollBars(vcl::TObject* Adapter) override {
    auto* adapter = dynamic_cast<TqvScrollWnd*>(Adapter);
    TqvShownScrollBars shown;
    if (!adapter || adapter->Destroyed() || !adapter->CtrlHandle) return shown;
    shown.Horz = adapter->HorzBar && adapter->HorzBar->Visible;
    shown.Vert = adapter->VertBar && adapter->VertBar->Visible;
    if (shown.Horz) GetHScrollRect(adapter, adapter->CtrlHandle, shown.HorzRect);
    if (shown.Vert) GetVScrollRect(adapter, adapter->CtrlHandle, shown.VertRect);
    return shown;
  }
  vcl::TObject* CreateFrameScrollAdapter(HWND FrameWnd, TsSkinManager* Manager, TsCommonData* SkinData) override {
    TqvSkinParams params;
    params.Control = SkinData ? SkinData->OwnerControl() : nullptr;
    return CreateAdapter<TqvFrameScrollWnd>(FrameWnd, SkinData, Manager, params, true).release();
  }
  void PaintScrollBars(vcl::TObject* Adapter, HDC DC) override {
    auto* adapter = dynamic_cast<TqvScrollWnd*>(Adapter);
    if (adapter && !adapter->Destroyed()) skin_layered::PaintScrollBars(adapter, adapter->CtrlHandle, kPartNone, DC);
  }
  void UpdateScrolls(vcl::TObject* Adapter, bool Repaint) override {
    skin_layered::UpdateScrolls(dynamic_cast<TqvScrollWnd*>(Adapter), Repaint);
  }

 private:
  static void PrintChildren(HWND Wnd, HDC DC) {
    for (HWND child = GetWindow(Wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
      if (!(style & WS_CHILD) || !(style & WS_VISIBLE)) continue;
      RECT r{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
      PrintChild(child, DC, r);
      const int saved = SaveDC(DC);
      POINT origin{};
      GetViewportOrgEx(DC, &origin);
      SetViewportOrgEx(DC, origin.x + r.left, origin.y + r.top, nullptr);
      PrintChildren(child, DC);
      RestoreDC(DC, saved);
    }
  }
  // The child prints into a picture of its own, over what the DC shows at its place, which then
  // takes that place: the system's controls clip their painting to their client rectangle
  // taken as device units, which the DC's moved origin would leave elsewhere.
  static void PrintChild(HWND Child, HDC DC, const RECT& Place) {
    const int width = Place.right - Place.left, height = Place.bottom - Place.top;
    if (width <= 0 || height <= 0) return;
    const std::unique_ptr<vcl::TBitmap> own = CreateBmp32(width, height);
    const HDC ownDC = own->Canvas()->Handle();
    BitBlt(ownDC, 0, 0, width, height, DC, Place.left, Place.top, SRCCOPY);
    SendCommandToWnd(Child, scmSetPrintTarget, reinterpret_cast<LPARAM>(ownDC));
    SendMessageW(Child, WM_PRINT, reinterpret_cast<WPARAM>(ownDC), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    SendCommandToWnd(Child, scmSetPrintTarget, 0);
    BitBlt(DC, Place.left, Place.top, width, height, ownDC, 0, 0, SRCCOPY);
  }
};

// The hook's state: the child adapter factories, the services it installs for the layers
// above, the providers it made and the popup-menu windows it wrapped (with those waiting to
// be freed).
struct THookUnit {
  TChildFactories Factories{};
  TAdapterServices Services;
  std::vector<TqvProvider*> Providers;
  std::vector<TqvAdapterPtr<TqvMnuWnd>> HookedMenus;
  std::vector<TqvAdapterPtr<TqvMnuWnd>> DeferredMenus;
};

THookUnit& Unit() {
  static THookUnit unit;
  return unit;
}

TChildFactories& Factories() { return Unit().Factories; }
std::vector<TqvAdapterPtr<TqvMnuWnd>>& DeferredMenus() { return Unit().DeferredMenus; }
TAdapterServices& Services() { return Unit().Services; }

}  // namespace

// ---------------------------------------------------------------------------------------
// Lists

std::vector<TqvProvider*>& ProviderList() { return Unit().Providers; }

std::vector<TqvAdapterPtr<TqvMnuWnd>>& HookedMenuWnds() { return Unit().HookedMenus; }

TqvChildAdapterFactory RegisterChildAdapter(TqvChildKind Kind, TqvChildAdapterFactory Factory) {
  return std::exchange(Factories()[static_cast<std::size_t>(Kind)], Factory);
}

void ClearMenuWnds() {
  auto& deferred = DeferredMenus();
  for (auto& menu : HookedMenuWnds())
    if (menu) deferred.push_back(std::move(menu));
  HookedMenuWnds().clear();
  // Freed now, except one still in its window procedure (the popup whose destruction empties
  // the list): that one goes next time.
  std::erase_if(deferred, [](const TqvAdapterPtr<TqvMnuWnd>& m) { return !m || !m->Running(); });
}

// ---------------------------------------------------------------------------------------
// TqvProvider

TqvProvider::TqvProvider(vcl::TComponent* AOwner) : TComponent(AOwner) {}

TqvProvider::~TqvProvider() {
  for (TqvProvider*& p : ProviderList())
    if (p == this) p = nullptr;
  // A dialog outliving its skinning (the skin taken away) is the system's again at once, frame
  // and region too, not only at its next activation.
  const bool givesBack = DialogWnd && !DialogWnd->Destroyed() && IsWindow(Handle);
  // Children first, the dialog's adapter after them.
  while (!Adapters.empty()) Adapters.pop_back();
  DialogWnd.reset();
  if (givesBack) {
    SetWindowRgn(Handle, nullptr, FALSE);
    RedrawWindow(Handle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

bool TqvProvider::InitDialog(HWND Wnd) {
  Handle = Wnd;
  Adapters.clear();
  TsSkinManager* manager = DefaultSkinManager();
  if (DialogWnd || !manager || !manager->Active()) return true;
  AttachDialogWnd(Wnd, DialogWnd);
  if (!DialogWnd) return true;
  DialogWnd->Provider = this;
  if (DialogPosX != -1 || DialogPosY != -1)
    SetWindowPos(Wnd, nullptr, DialogPosX, DialogPosY, 0, 0, SWP_NOSIZE | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOZORDER);
  const bool walked = WalkChildWindows(this, Wnd);
  if (walked) {
    DialogWnd->InitWindow();
    SendMessageW(Wnd, kSkinCmdMessage, SkinCommandWParam(scmNewSkin), reinterpret_cast<LPARAM>(manager));
  } else {
    for (TqvProvider*& p : ProviderList())
      if (p == this) p = nullptr;
  }
  return walked;
}

// ---------------------------------------------------------------------------------------
// The hook

LRESULT CALLBACK DlgCBTHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  const LRESULT result = CallNextHookEx(nullptr, Code, WParam, LParam);
  if (Code < 0 || ApplicationGoing()) return result;
  const HWND wnd = reinterpret_cast<HWND>(WParam);
  // Only this thread's windows: the hook is told of another program's window being activated
  // when hiding ours activates the next one, and a foreign dialog would lose its styles and
  // menu to a skin it cannot be served by.
  if ((Code == HCBT_CREATEWND || Code == HCBT_ACTIVATE) && !vcl::IsThreadWindow(wnd)) return result;
  switch (Code) {
    case HCBT_CREATEWND: {
      const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(LParam);
      if (!wnd || !create || !create->lpcs) break;
      const CREATESTRUCTW* cs = create->lpcs;
      const LPCWSTR cls = cs->lpszClass;
      // Classes are compared by their atom and by their name alike.
      const bool menu =
          IsAtom(cls) ? reinterpret_cast<ULONG_PTR>(cls) == kMenuAtom : lstrcmpW(cls, kPopupMenuClass) == 0;
      const bool dialog = IsAtom(cls) ? reinterpret_cast<ULONG_PTR>(cls) == kDialogAtom : lstrcmpW(cls, L"#32770") == 0;
      if (menu) {
        TsSkinManager* manager = DefaultSkinManager();
        if (manager && manager->SkinnedPopups() && !AnswersSkinned(wnd)) {
          TqvSkinParams params{nullptr, L"MAINMENU"};
          HookedMenuWnds().push_back(CreateAdapter<TqvMnuWnd>(wnd, nullptr, manager, params, false));
        }
      } else if (dialog) {
        if (cs->style & WS_CHILD)
          NoteDialogPage(cs->hwndParent);
        else
          CheckDialogWnd(wnd, nullptr);
      } else if (!IsAtom(cls) && lstrcmpW(cls, L"TPUtilWindow") != 0 && cs->dwExStyle != 0 && cs->style != 0 &&
                 !cs->hwndParent) {
        vcl::TCustomForm* main = vcl::Application ? vcl::Application->MainForm() : nullptr;
        if (main && !main->HandleAllocated()) break;
        if (main && main->Handle() == wnd) break;
        CheckDialogWnd(wnd, nullptr);
      }
      break;
    }
    case HCBT_DESTROYWND:
      if (!GlowDestroying()) PurgeProviders();
      break;
    case HCBT_ACTIVATE:
      CheckDialogWnd(wnd, nullptr);
      break;
    default:
      break;
  }
  return result;
}

bool CheckDialogWnd(HWND Wnd, const CREATESTRUCTW* Create) {
  TsSkinManager* manager = DefaultSkinManager();
  // Nothing is sent to another thread's window (it may be another program's).
  if (!vcl::IsThreadWindow(Wnd) || !manager || ApplicationGoing() || AnswersSkinned(Wnd)) return false;
  std::wstring cls;
  if (Create && Create->lpszClass && !IsAtom(Create->lpszClass) && *Create->lpszClass)
    cls = Create->lpszClass;
  else {
    wchar_t name[256] = {};
    GetClassNameW(Wnd, name, 256);
    cls = name;
  }
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  if ((style & WS_POPUP) && !(style & WS_BORDER)) return false;
  if (FindProvider(Wnd)) return false;
  if (vcl::TCustomForm* form = FindForm(Wnd)) {
    if (form->Tag() & kTagNoSkin) return false;
    const bool loading = form->ComponentState().Contains(vcl::csLoading);
    if (loading && form->FormStyle() != vcl::fsMDIChild) return true;
    const vcl::String formClass = form->ClassName();
    if (std::find(kExcludedFormClasses.begin(), kExcludedFormClasses.end(), formClass) != kExcludedFormClasses.end())
      return false;
    const TqvSkinningRule rule = formClass == L"TMessageForm" ? srStdDialogs : srStdForms;
    if (!manager->SkinningRules().Contains(rule)) return false;
    auto skinForm = [](vcl::TCustomForm* F) {
      auto* provider = new TqvProvider(F);
      ProviderList().push_back(provider);
      MakeFormProvider(provider, F);
    };
    skinForm(form);
    if (form->FormStyle() == vcl::fsMDIForm)
      for (int i = 0; i < form->MDIChildCount(); ++i)
        if (vcl::TCustomForm* child = form->MDIChildren(i); child && child->HandleAllocated() && !AnswersSkinned(child->Handle()))
          skinForm(child);
    return true;
  }
  // A dialog page inside another window is a child; an owned dialog (GetParent answers its
  // owner) is skinned like any other.
  if (cls != L"#32770" || (style & WS_CHILD) || !manager->SkinningRules().Contains(srStdDialogs)) return false;
  if (CountVisibleDialogs() >= kMaxSkinnedDialogs && !HasChildClass(Wnd, L"toolbarwindow32")) return false;
  bool allow = true;
  if (manager->OnSysDlgInit) manager->OnSysDlgInit(TqvSysDlgData{Wnd}, allow);
  if (!allow) return true;
  auto* provider = new TqvProvider(nullptr);
  ProviderList().push_back(provider);
  if (!provider->InitDialog(Wnd)) vcl::TObject::Free(provider);
  return true;
}

void MakeFormProvider(TqvProvider* Provider, vcl::TCustomForm* Form) {
  if (!Provider || !Form) return;
  TsSkinProvider* skin = TsSkinProvider::CreateEx(Form);
  Provider->SkinProvider = skin;
  if (!skin) return;
  skin->SetUseGlobalColor(false);
  skin->Form = Form;
  if (Form->HandleAllocated()) {
    const HWND wnd = Form->Handle();
    if (FormServices().AeroIsEnabled()) {
      if (!skin->Hooked()) skin->Loaded();
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      SendMessageW(wnd, WM_NCPAINT, 0, 0);
    } else if (!IsDebuggerPresent()) {
      UpdateWindow(wnd);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
  }
  skin->SetMakeSkinMenu(false);
}

void AttachDialogWnd(HWND Wnd, TqvAdapterPtr<TqvDialogWnd>& DialogWnd) {
  TsSkinManager* manager = DefaultSkinManager();
  if (!manager || !manager->Active()) {
    DialogWnd.reset();
    if (TInitializeFlatSBProc init = InitializeFlatSBProc()) init(Wnd);
    return;
  }
  if (TUninitializeFlatSBProc uninit = UninitializeFlatSBProc()) uninit(Wnd);
  if (DialogWnd && DialogWnd->Destroyed()) DialogWnd.reset();
  if (!DialogWnd) {
    TqvSkinParams params{nullptr, L"DIALOG"};
    DialogWnd = CreateAdapter<TqvDialogWnd>(Wnd, nullptr, manager, params, false);
  }
}

bool WalkChildWindows(TqvProvider* Provider, HWND Parent) {
  for (HWND child = GetTopWindow(Parent); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!WalkChildWindows(Provider, child)) return false;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !AddChildAdapter(Provider, child)) return false;
  }
  return true;
}

std::size_t WrappedChildCount(const TqvProvider* Provider) { return Provider ? Provider->Adapters.size() : 0; }

bool AddChildAdapter(TqvProvider* Provider, HWND Wnd) {
  if (!Wnd) return false;
  if (AnswersSkinned(Wnd) || !Provider) return true;
  const TqvDialogChildScope scope(true);
  const std::wstring cls = LowerClassName(Wnd);
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  const LONG_PTR exStyle = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  const TChildRow* row = RowFor(cls, style, exStyle, Wnd);
  // A hidden edit gets no adapter, but its dialog paints itself as one with a shown edit does:
  // what it draws on its own (the colour dialog's grids of colours beside its folded part)
  // shows.
  if (!row && cls == L"edit" && Provider->DialogWnd) Provider->DialogWnd->PlainClient = false;
  if (!row) return true;
  TqvChildAdapterFactory factory = Factories()[static_cast<std::size_t>(row->Kind)];
  if (!factory) return true;  // that kind is not skinned (yet)
  TqvDialogWnd* dialog = Provider->DialogWnd.get();
  TsSkinManager* manager = dialog && dialog->SkinData ? dialog->SkinData->GetSkinManager() : DefaultSkinManager();
  bool repaint = true;
  if (row->RepaintWithCache) {
    vcl::TBitmap* cache = dialog && dialog->SkinData ? dialog->SkinData->CacheBmp() : nullptr;
    repaint = cache && cache->Width() > 0 && cache->Height() > 0;
  }
  TqvSkinParams params{row->OwnedByControl ? vcl::FindControl(Wnd) : nullptr, vcl::String(row->Section)};
  TqvAdapterPtr<TqvMainWnd> adapter = factory(Wnd, manager, params, repaint);
  if (!adapter) return true;
  GetWndPos(Wnd, adapter->ParentWnd, adapter->WndRect, adapter->WndPos, adapter->WndSize, adapter->ParentRect);
  TqvMainWnd& made = *adapter;
  Provider->Adapters.push_back(std::move(adapter));
  if (row->ClearsPlainClient && dialog) dialog->PlainClient = false;
  if (row->Finish) row->Finish(Provider, made);
  return true;
}

TqvProvider* FindProvider(HWND Wnd) {
  if (ApplicationGoing()) return nullptr;
  for (TqvProvider* p : ProviderList())
    if (p && p->Handle == Wnd) return p;
  return nullptr;
}

vcl::TCustomForm* FindForm(HWND Wnd) {
  if (!vcl::Screen) return nullptr;
  for (int i = vcl::Screen->CustomFormCount() - 1; i >= 0; --i) {
    vcl::TCustomForm* form = vcl::Screen->CustomForms(i);
    if (!form || form->ComponentState().Contains(vcl::csDestroying) || !form->HandleAllocated()) continue;
    if (form->Handle() == Wnd) return form;
    if (form->FormStyle() == vcl::fsMDIForm)
      for (int c = 0; c < form->MDIChildCount(); ++c)
        if (vcl::TCustomForm* child = form->MDIChildren(c); child && child->HandleAllocated() && child->Handle() == Wnd)
          return child;
  }
  return nullptr;
}

void PurgeProviders() {
  for (TqvProvider*& p : ProviderList()) {
    if (!p || !p->DialogWnd || !p->DialogWnd->Destroyed() || p->Owner()) continue;
    // A dialog adapter still handling a message of its own is freed next time.
    if (p->DialogWnd->Running()) continue;
    TqvProvider* going = p;
    p = nullptr;
    vcl::TObject::Free(going);
  }
  std::erase(ProviderList(), nullptr);
}

int CountVisibleDialogs() {
  int count = 0;
  for (TqvProvider* p : ProviderList())
    if (p && p->DialogWnd && IsWindowVisible(p->DialogWnd->CtrlHandle)) ++count;
  return count;
}

bool HasChildClass(HWND Wnd, const wchar_t* ClassName) {
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (LowerClassName(child) == ClassName) return true;
    if (HasChildClass(child, ClassName)) return true;
  }
  return false;
}

void InstallAdapterServices() { SetAdapterServices(&Services()); }

void RemoveAdapterServices() {
  if (&AdapterServices() == &Services()) {
    Services().ClearMenuWnds();
    DeferredMenus().clear();
    SetAdapterServices(nullptr);
  }
  FreeDialogBrushes();
}

}  // namespace skin_layered
