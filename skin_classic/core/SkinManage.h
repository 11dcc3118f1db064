// TSkinManage: the one global object of the classic skin engine. It keeps the registered
// skin-data components, the objects that skin top-level windows and popup-menu windows, and
// the thread's window-creation hook that tells it when windows are created, activated and
// destroyed; a one-shot timer carries out requests to skin, unskin or refresh all windows
// outside the caller's call stack.
#pragma once

#include <memory>
#include <vector>

#include "classlib/controls/SystemHook.h"
#include "classlib/controls/Timer.h"
#include "skin_classic/core/FormSkinning.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/SkinRequests.h"

namespace winskin {

// Private window messages of the classic engine.
inline constexpr UINT SKM_REAPPLY = 13313;          // apply the skin to a form again
inline constexpr UINT SKM_PAINTFRAME = 13570;       // repaint the frame
inline constexpr UINT SKM_FORMSKINNED = 13571;      // posted after a window got its form object
inline constexpr LPARAM kFormSkinnedParam = 1000;
inline constexpr UINT SKM_SKINCONTROL = 13574;      // control skinning on (wParam > 0) or off
inline constexpr UINT SKM_TABCLOSE = 13575;
inline constexpr UINT SKM_CAPTIONACTION = 13588;
inline constexpr UINT SKM_CAPTIONVISIBLE = 13589;
inline constexpr UINT SKM_MDIREDRAW = 13590;
inline constexpr UINT SKM_CONTROLRECREATED = 13591;
inline constexpr UINT SKM_OPENMENUAT = 13592;
inline constexpr UINT SKM_QUERYNOSKIN = 13603;      // an answer of 1: leave this window alone

// The kind of the next popup-menu window.
enum class TPopupKind { Popup = 0, MenuBar = 1, SystemMenu = 2 };

// Started: 0 until a window is first activated (or a form attached, or a main-form skin
// made active); 4 while the manager is destroyed.
inline constexpr int kManagerDestroying = 4;

// The Tag of a form the manager never skins, whatever the skin data's DisableTag holds.
inline constexpr int kNeverSkinFormTag = 99;

class TSkinManage : public vcl::TObject, public TSkinRequests {
  VCL_CLASS(TSkinManage, TObject)

 public:
  TSkinManage();
  ~TSkinManage() override;

  void InstallHook() override;
  bool HookInstalled() const { return static_cast<bool>(hook_); }

  void RegisterSkinData(TSkinData* SkinData) override;
  void UnregisterSkinData(TSkinData* SkinData) override;
  const std::vector<TSkinData*>& SkinDatas() const { return skin_datas_; }
  // The first registered skin data of kind sfMainform.
  TSkinData* MainSkinData() const { return main_skin_data_; }
  // The skin data for a window: the sfOnlyThisForm one whose owner is the window, a
  // dialog's sfDialog one, the sfMainform one, the first registered one (last registered
  // first within each kind); nil when none is registered.
  TSkinData* SkinDataFor(HWND Window, const String& ClassName) const;

  bool SkinForm(HWND Window) override;
  // Gives a popup-menu window its object when the skin data allows that kind of menu.
  // Always false.
  bool SkinPopupMenu(HWND Window);
  bool UnskinPopupMenu(HWND Window);

  // The object skinning the window (one waiting for the purge does not count).
  TWinSkinFormBase* FindForm(HWND Window) const;
  // Leaves the list (the form object's destruction calls it).
  void RemoveForm(TWinSkinFormBase* Form);
  int FormCount() const override { return static_cast<int>(forms_.size()); }
  TWinSkinFormBase* Forms(int Index) const { return forms_.at(static_cast<size_t>(Index)); }
  int PopMenuCount() const { return static_cast<int>(pop_menus_.size()); }
  TWinSkinPopMenuBase* PopMenus(int Index) const { return pop_menus_.at(static_cast<size_t>(Index)).get(); }
  // The popup object of a window, or nil.
  TWinSkinPopMenuBase* FindPopMenu(HWND Window) const;

  void SetActiveMode(TSkinMode Mode, unsigned Interval) override;
  TSkinMode Mode() const { return mode_; }
  TSkinData* RequestSkinData() const override { return request_skin_data_; }
  void SetRequestSkinData(TSkinData* Value) override { request_skin_data_ = Value; }
  void RefreshSkinObjects(TSkinData* SkinData) override;
  // MDI children follow a maximised child (unless the main skin skins their borders).
  void SetMDIMaximized(bool Value);
  bool MDIMaximized() const { return mdi_maximized_; }

  // While a menu loop of a skinned window runs, its objects must stay: the purge of destroyed
  // windows' objects and the timer's requests wait until the loop is over.
  void EnterMenuLoop() { ++menu_loops_; }
  void LeaveMenuLoop() {
    if (menu_loops_ > 0) --menu_loops_;
  }
  bool InMenuLoop() const { return menu_loops_ > 0; }

  // The form among the screen's forms with this window, else the library control of it.
  static vcl::TWinControl* FindFormObject(HWND Window);

  bool Active() const { return active_; }
  bool SkinningAll() const { return skinning_all_; }
  int Started() const override { return started_; }
  void SetStarted(int Value) override { started_ = Value; }
  TPopupKind PopupKind() const { return popup_kind_; }
  void SetPopupKind(TPopupKind Value) { popup_kind_ = Value; }
  bool PopupFromBar() const { return popup_from_bar_; }
  void SetPopupFromBar(bool Value) { popup_from_bar_ = Value; }
  HWND MDIClient() const { return mdi_client_; }
  void SetMDIClient(HWND Value) { mdi_client_ = Value; }
  HWND PendingWindow() const { return pending_window_; }
  void SetPendingWindow(HWND Value) { pending_window_ = Value; }
  // GetVersion as read when the hook was installed; the top bit marks a non-NT system.
  DWORD WindowsVersion() const { return windows_version_; }
  vcl::TTimer* Timer() const { return timer_.get(); }

 private:
  struct ComponentFree {
    void operator()(vcl::TObject* Object) const { vcl::TObject::Free(Object); }
  };
  friend LRESULT CALLBACK SkinCBTHookProc(int Code, WPARAM WParam, LPARAM LParam);

  void TimerTick(vcl::TObject* Sender);
  void SkinAllForms(TSkinData* SkinData);
  void UnskinAllForms(TSkinData* SkinData);
  void RefreshForms(TSkinData* SkinData);
  bool ReskinPendingWindow();
  // The windows a skin data that went had skinned, offered to the skin data that remain.
  void OfferAgain();
  // Removes and frees the objects of destroyed windows.
  void PurgeForms();
  void FreeForm(TWinSkinFormBase* Form);
  bool PassesFilter(HWND Window, const String& ClassName);
  void WindowCreated(HWND Window, const CBT_CREATEWNDW& Create);

  std::unique_ptr<vcl::TTimer, ComponentFree> timer_;
  std::vector<TWinSkinFormBase*> forms_;
  std::vector<std::unique_ptr<TWinSkinPopMenuBase>> pop_menus_;
  std::vector<TSkinData*> skin_datas_;
  bool active_ = false;
  bool skinning_all_ = false;
  int started_ = 0;
  TPopupKind popup_kind_ = TPopupKind::Popup;
  bool popup_from_bar_ = false;
  bool mdi_maximized_ = false;
  HWND mdi_client_ = nullptr;
  TSkinMode mode_ = TSkinMode::None;
  TSkinData* request_skin_data_ = nullptr;
  TSkinData* main_skin_data_ = nullptr;
  HWND pending_window_ = nullptr;
  DWORD windows_version_ = 0;
  int menu_loops_ = 0;
  std::vector<HWND> reoffered_;
  vcl::TUniqueHook hook_;
};

// The manager, or nil before the first skin data is loaded and after shutdown.
TSkinManage* SkinManager();
TSkinManage* CreateSkinManager();
// Frees the manager (unhooking it); the engine's unit shutdown calls it.
void FreeSkinManager();
// True once a manager has been freed: the hook then only passes events on.
bool SkinManagerShuttingDown();

LRESULT CALLBACK SkinCBTHookProc(int Code, WPARAM WParam, LPARAM LParam);

// Marks a menu loop of a skinned window for its scope (see TSkinManage::EnterMenuLoop).
class TMenuLoopScope {
 public:
  TMenuLoopScope() : manager_(SkinManager()) {
    if (manager_) manager_->EnterMenuLoop();
  }
  ~TMenuLoopScope() {
    if (manager_ && manager_ == SkinManager()) manager_->LeaveMenuLoop();
  }
  TMenuLoopScope(const TMenuLoopScope&) = delete;
  TMenuLoopScope& operator=(const TMenuLoopScope&) = delete;

 private:
  TSkinManage* manager_;
};

}  // namespace winskin
