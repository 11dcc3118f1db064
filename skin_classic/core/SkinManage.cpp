#include "skin_classic/core/SkinManage.h"

#include <algorithm>
#include <utility>

#include "classlib/controls/ThreadWindow.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_classic/core/ForeignClasses.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinText.h"

namespace winskin {
namespace {

// What the manager unit keeps: the manager, whether one has been freed (the hook then only
// passes events on), and the form skinning the forms layer installs.
// The manager goes first should the unit itself be destroyed with it still there.
struct TManagerUnit {
  TFormSkinning Skinning;
  bool ShuttingDown = false;
  std::unique_ptr<TSkinManage> Manager;
};

TManagerUnit& Unit() {
  static TManagerUnit unit;
  return unit;
}

String WindowClassName(HWND Window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(Window, name, 256);
  return String(name, static_cast<size_t>(std::max(length, 0)));
}

bool Contains(const String& Text, vcl::StringView Part) { return Text.find(Part) != String::npos; }

LONG_PTR StyleOf(HWND Window) { return GetWindowLongPtrW(Window, GWL_STYLE); }
LONG_PTR ExStyleOf(HWND Window) { return GetWindowLongPtrW(Window, GWL_EXSTYLE); }

bool IsDialogClass(const String& LowerClass) {
  return std::ranges::find(foreign_classes::kDialogs, vcl::StringView(LowerClass)) != foreign_classes::kDialogs.end();
}

HWND OwnerWindow(const TSkinData* SkinData) {
  auto* owner = dynamic_cast<vcl::TWinControl*>(SkinData->Owner());
  return owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The form skinning the manager drives

VCL_CLASS_INFO(TWinSkinFormBase) {}
VCL_CLASS_INFO(TWinSkinPopMenuBase) {}

TWinSkinFormBase::~TWinSkinFormBase() {
  if (TSkinManage* manager = SkinManager()) manager->RemoveForm(this);
}

TFormSkinning SetFormSkinning(TFormSkinning Value) { return std::exchange(Unit().Skinning, std::move(Value)); }
const TFormSkinning& FormSkinning() { return Unit().Skinning; }

// ---------------------------------------------------------------------------------------
// The manager

VCL_CLASS_INFO(TSkinManage) {}

TSkinManage* SkinManager() { return Unit().Manager.get(); }

TSkinManage* CreateSkinManager() {
  if (!Unit().Manager) {
    Unit().ShuttingDown = false;
    Unit().Manager = std::make_unique<TSkinManage>();
  }
  return Unit().Manager.get();
}

void FreeSkinManager() {
  // Out of the slot first: objects that leave the manager's lists while it goes find none.
  std::unique_ptr<TSkinManage> manager = std::move(Unit().Manager);
  manager.reset();
}

bool SkinManagerShuttingDown() { return Unit().ShuttingDown; }

TSkinRequests* SkinRequests() { return SkinManager(); }
TSkinRequests& MakeSkinRequests() { return *CreateSkinManager(); }

TSkinManage::TSkinManage() : timer_(new vcl::TTimer(nullptr)) {
  timer_->SetEnabled(false);
  timer_->SetInterval(100);
  timer_->OnTimer = vcl::TNotifyEvent::Bind<&TSkinManage::TimerTick>(this);
}

TSkinManage::~TSkinManage() {
  started_ = kManagerDestroying;
  active_ = false;
  timer_.reset();
  // Every form gives its window back and goes (its destructor finds no manager any more).
  std::vector<TWinSkinFormBase*> forms = std::move(forms_);
  for (TWinSkinFormBase* form : forms) {
    if (form->State != TSkinFormState::Destroyed) form->Detach();
    vcl::TObject::Free(form);
  }
  for (auto& popup : pop_menus_) popup->Detach();
  pop_menus_.clear();
  skin_datas_.clear();
  hook_.reset();
  Unit().ShuttingDown = true;
}

void TSkinManage::InstallHook() {
  if (hook_) return;  // one hook per thread is enough
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  windows_version_ = GetVersion();
#pragma GCC diagnostic pop
  hook_.reset(SetWindowsHookExW(WH_CBT, &SkinCBTHookProc, nullptr, GetCurrentThreadId()));
}

void TSkinManage::RegisterSkinData(TSkinData* SkinData) {
  if (!SkinData || std::find(skin_datas_.begin(), skin_datas_.end(), SkinData) != skin_datas_.end()) return;
  skin_datas_.push_back(SkinData);
  if (!main_skin_data_ && SkinData->SkinFormtype() == sfMainform) main_skin_data_ = SkinData;
}

// No reference to a component that is gone is kept: the popup windows it frames and the windows
// it skins are given their own look back now. A window's object waits, detached, for the next
// purge (this may run inside one of the window's procedures); the window is offered again, from
// the timer, to the skin data that remain.
void TSkinManage::UnregisterSkinData(TSkinData* SkinData) {
  std::erase(skin_datas_, SkinData);
  if (main_skin_data_ == SkinData) {
    const auto main = std::ranges::find_if(skin_datas_, [](TSkinData* sd) { return sd->SkinFormtype() == sfMainform; });
    main_skin_data_ = main == skin_datas_.end() ? nullptr : *main;
  }
  if (request_skin_data_ == SkinData) request_skin_data_ = nullptr;
  if (!SkinData || started_ == kManagerDestroying) return;
  for (auto it = pop_menus_.begin(); it != pop_menus_.end();) {
    if ((*it)->SkinData != SkinData) {
      ++it;
      continue;
    }
    std::unique_ptr<TWinSkinPopMenuBase> popup = std::move(*it);
    it = pop_menus_.erase(it);
    popup->Detach();
    if (pop_menus_.empty()) {
      popup_kind_ = TPopupKind::Popup;
      popup_from_bar_ = false;
    }
  }
  for (TWinSkinFormBase* form : std::vector(forms_)) {
    if (form->SkinData != SkinData) continue;
    // A window being destroyed has let go of its skin already.
    if (form->State != TSkinFormState::Destroyed && form->State != TSkinFormState::Destroying) {
      form->Unskin();
      if (IsWindow(form->Window)) {
        RedrawWindow(form->Window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
        if (IsWindowVisible(form->Window)) reoffered_.push_back(form->Window);
      }
    }
    form->SkinData = nullptr;
    form->State = TSkinFormState::Destroyed;
  }
  if (!reoffered_.empty() && timer_) timer_->SetEnabled(true);
}

void TSkinManage::OfferAgain() {
  std::vector<HWND> windows = std::move(reoffered_);
  reoffered_.clear();
  for (HWND window : windows)
    if (IsWindow(window) && IsWindowVisible(window) && !FindForm(window)) SkinForm(window);
}

TSkinData* TSkinManage::SkinDataFor(HWND Window, const String& ClassName) const {
  auto lastOf = [this](auto&& matches) -> TSkinData* {
    for (auto it = skin_datas_.rbegin(); it != skin_datas_.rend(); ++it)
      if (matches(*it)) return *it;
    return nullptr;
  };
  if (TSkinData* own = lastOf([&](TSkinData* sd) {
        return sd->SkinFormtype() == sfOnlyThisForm && Window && OwnerWindow(sd) == Window;
      }))
    return own;
  if (IsDialogClass(vcl::LowerCase(ClassName)))
    if (TSkinData* dialog = lastOf([](TSkinData* sd) { return sd->SkinFormtype() == sfDialog; })) return dialog;
  if (TSkinData* main = lastOf([](TSkinData* sd) { return sd->SkinFormtype() == sfMainform; })) return main;
  return skin_datas_.empty() ? nullptr : skin_datas_.front();
}

vcl::TWinControl* TSkinManage::FindFormObject(HWND Window) {
  if (vcl::Screen)
    for (int i = 0; i < vcl::Screen->FormCount(); ++i) {
      vcl::TForm* form = vcl::Screen->Forms(i);
      if (form->HandleAllocated() && form->Handle() == Window) return form;
    }
  return FindControlObject(Window);
}

TWinSkinFormBase* TSkinManage::FindForm(HWND Window) const {
  // An object waiting for the purge no longer skins its window (whose handle may be another's).
  for (TWinSkinFormBase* form : forms_)
    if (form->Window == Window && form->State != TSkinFormState::Destroyed) return form;
  return nullptr;
}

void TSkinManage::RemoveForm(TWinSkinFormBase* Form) {
  if (started_ == kManagerDestroying) return;
  auto it = std::find(forms_.begin(), forms_.end(), Form);
  if (it != forms_.end()) forms_.erase(it);
}

void TSkinManage::FreeForm(TWinSkinFormBase* Form) {
  RemoveForm(Form);
  vcl::TObject::Free(Form);
}

void TSkinManage::PurgeForms() {
  if (InMenuLoop()) return;
  std::vector<TWinSkinFormBase*> dead;
  for (TWinSkinFormBase* form : forms_)
    if (form->State == TSkinFormState::Destroyed) dead.push_back(form);
  for (TWinSkinFormBase* form : dead) FreeForm(form);
}

// The tests a window must pass, in this order; the first that fails leaves it alone.
bool TSkinManage::SkinForm(HWND Window) {
  if (!active_) return false;
  PurgeForms();
  if (!IsWindow(Window)) return false;
  // Only this thread's windows: the hook may be told of another program's window being
  // activated (hiding our active window activates the next one, whoever owns it). Its
  // procedure cannot be replaced from here, but its menu and styles could be taken, and
  // programs of the same image base pass the module test below.
  if (!vcl::IsThreadWindow(Window)) return false;
  if (SendMessageW(Window, SKM_QUERYNOSKIN, 0, 0) == 1 || FindForm(Window)) return false;
  vcl::TWinControl* formObject = FindFormObject(Window);
  const LONG_PTR style = StyleOf(Window);
  const bool mdiChild = (ExStyleOf(Window) & WS_EX_MDICHILD) != 0;
  // A form docked or embedded in another window.
  if (!skinning_all_ && (style & WS_CHILD) && !mdiChild &&
      vcl::LowerCase(WindowClassName(GetParent(Window))) != foreign_classes::kMdiClient)
    return false;
  const String className = WindowClassName(Window);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(Window, GWLP_HINSTANCE));
  if (!formObject && instance != SkinModuleInstance() && className != foreign_classes::kSystemDialog) return false;
  RECT bounds{};
  GetWindowRect(Window, &bounds);
  if ((bounds.right <= bounds.left || bounds.bottom <= bounds.top) && !mdiChild) return false;
  // A form tagged 99 is never skinned: the skin data's DisableTag is for controls.
  if (formObject && formObject->Tag() == kNeverSkinFormTag) return false;
  if (std::ranges::any_of(foreign_classes::kNeverSkinnedParts, [&](auto part) { return Contains(className, part); }) ||
      className == foreign_classes::kApplicationWindow)
    return false;
  if (!PassesFilter(Window, className)) return false;
  TSkinData* skinData = SkinDataFor(Window, className);
  if (!skinData || skinData->Empty()) return false;
  const TFormSkinning& skinning = FormSkinning();
  if (!skinning.CreateForm) return false;

  TWinSkinFormBase* form = skinning.CreateForm(formObject);
  if (!form) return false;
  form->Window = Window;
  form->WindowClass = className;
  {
    auto undo = vcl::TScopeExit([form] { vcl::TObject::Free(form); });
    if (formObject)
      form->AttachForm(skinData, formObject);
    else
      form->AttachWindow(skinData);
    undo.Dismiss();
  }
  forms_.push_back(form);
  PostMessageW(Window, SKM_FORMSKINNED, 0, kFormSkinnedParam);
  return true;
}

// The main skin data's filter, starting from yes; its form query has the last word.
bool TSkinManage::PassesFilter(HWND Window, const String& ClassName) {
  if (!main_skin_data_) return true;
  const String lower = vcl::LowerCase(ClassName);
  bool doSkin = true;
  if (Contains(lower, foreign_classes::kPreviewPart) && !main_skin_data_->Options().Contains(xoPreview)) doSkin = false;
  if (ClassName == foreign_classes::kSystemDialog && (StyleOf(Window) & DS_SETFOREGROUND)) doSkin = false;
  if (lower == foreign_classes::kPopupDbTreeView) doSkin = false;
  main_skin_data_->QueryFormSkin(ClassName, doSkin);
  return doSkin;
}

bool TSkinManage::SkinPopupMenu(HWND Window) {
  if (!active_) return false;
  if (SendMessageW(Window, SKM_QUERYNOSKIN, 0, 0) == 1) return false;
  if (FindPopMenu(Window)) return false;
  TSkinData* skinData = SkinDataFor(Window, WindowClassName(Window));
  if (!skinData || skinData->Empty()) return false;
  const TSkinControlTypes kinds = skinData->SkinControls();
  bool allowed = false;
  switch (popup_kind_) {
    case TPopupKind::Popup: allowed = kinds.Contains(xcPopupMenu); break;
    case TPopupKind::MenuBar: allowed = kinds.Contains(xcMainMenu) || kinds.Contains(xcMenuItem); break;
    case TPopupKind::SystemMenu: allowed = kinds.Contains(xcSystemMenu); break;
  }
  const TFormSkinning& skinning = FormSkinning();
  if (!allowed || !skinning.CreatePopMenu) return false;
  std::unique_ptr<TWinSkinPopMenuBase> popup = skinning.CreatePopMenu();
  if (!popup) return false;
  popup->Window = Window;
  popup->Attach(Window, skinData, pop_menus_.empty());
  if (popup_from_bar_) popup->FromMenuBar = true;
  pop_menus_.push_back(std::move(popup));
  return false;
}

TWinSkinPopMenuBase* TSkinManage::FindPopMenu(HWND Window) const {
  for (const auto& popup : pop_menus_)
    if (popup->Window == Window) return popup.get();
  return nullptr;
}

bool TSkinManage::UnskinPopupMenu(HWND Window) {
  auto it = std::find_if(pop_menus_.begin(), pop_menus_.end(), [&](const auto& p) { return p->Window == Window; });
  if (it == pop_menus_.end()) return false;
  std::unique_ptr<TWinSkinPopMenuBase> popup = std::move(*it);
  pop_menus_.erase(it);
  popup->Detach();
  if (pop_menus_.empty()) {
    popup_kind_ = TPopupKind::Popup;
    popup_from_bar_ = false;
  }
  return true;
}

void TSkinManage::SetActiveMode(TSkinMode Mode, unsigned Interval) {
  mode_ = Mode;
  timer_->SetInterval(Interval);
  if (started_ == 0) {
    if (Mode == TSkinMode::SkinAll) active_ = true;
    if (Mode == TSkinMode::UnskinAll) active_ = false;
    return;
  }
  timer_->SetEnabled(true);
}

void TSkinManage::RefreshSkinObjects(TSkinData* SkinData) {
  for (TWinSkinFormBase* form : std::vector(forms_))
    if (form->SkinData == SkinData) form->ReleaseSkinObjects();
}

void TSkinManage::SetMDIMaximized(bool Value) {
  if (mdi_maximized_ == Value) return;
  mdi_maximized_ = Value;
  if (main_skin_data_ && main_skin_data_->Options().Contains(xoMDIChildBorder)) return;
  for (TWinSkinFormBase* form : std::vector(forms_))
    if (form->State != TSkinFormState::Destroyed && form->IsMDIChild()) form->MDIMaximizedChanged(Value);
}

// ---------------------------------------------------------------------------------------
// Requests carried out by the timer

void TSkinManage::TimerTick(vcl::TObject*) {
  if (InMenuLoop()) return;  // the timer asks again
  timer_->SetEnabled(false);
  OfferAgain();
  TSkinData* sd = request_skin_data_;
  if (!sd) return;
  switch (mode_) {
    case TSkinMode::SkinAll: SkinAllForms(sd); break;
    case TSkinMode::UnskinAll: UnskinAllForms(sd); break;
    case TSkinMode::Refresh: RefreshForms(sd); break;
    case TSkinMode::PurgeDestroyed: PurgeForms(); break;
    case TSkinMode::Reskin:
      if (sd->SkinFormtype() != sfOnlyThisForm) {
        ReskinPendingWindow();
        return;
      }
      break;
    default: break;
  }
  if (sd->OnSkinChanged) sd->OnSkinChanged(sd);
  request_skin_data_ = nullptr;
}

void TSkinManage::SkinAllForms(TSkinData* SkinData) {
  active_ = true;
  skinning_all_ = true;
  PurgeForms();
  // MDI children are offered after the frames that hold them: the hook skins them only as
  // they are made, so a skin coming back after none would leave them in the system's look.
  auto offer = [this](vcl::TForm* form, bool MDIChildren) {
    if (!form->Visible() || !form->HandleAllocated()) return;
    const HWND window = form->Handle();
    const bool child = (StyleOf(window) & WS_CHILD) != 0;
    if (MDIChildren ? child && (ExStyleOf(window) & WS_EX_MDICHILD) : !child) SkinForm(window);
  };
  for (const bool mdiChildren : {false, true}) {
    for (int i = vcl::Screen ? vcl::Screen->FormCount() - 1 : -1; i >= 0; --i) {
      if (i >= vcl::Screen->FormCount()) continue;  // skinning may have closed a form
      vcl::TForm* form = vcl::Screen->Forms(i);
      if (SkinData->SkinFormtype() != sfOnlyThisForm) {
        offer(form, mdiChildren);
      } else if (form == SkinData->Owner()) {
        offer(form, mdiChildren);
        break;
      }
    }
  }
  skinning_all_ = false;
}

void TSkinManage::UnskinAllForms(TSkinData* SkinData) {
  active_ = false;
  PurgeForms();
  // Each window gets back its procedure, styles, region and frame, and is repainted.
  auto unskin = [this](TWinSkinFormBase* form) {
    form->Unskin();
    if (IsWindow(form->Window)) {
      InvalidateRect(form->Window, nullptr, TRUE);
      UpdateWindow(form->Window);
    }
    FreeForm(form);
  };
  if (SkinData->SkinFormtype() == sfOnlyThisForm) {
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it)
      if ((*it)->SkinData == SkinData) {
        unskin(*it);
        break;
      }
    return;
  }
  while (!forms_.empty()) unskin(forms_.front());
}

void TSkinManage::RefreshForms(TSkinData* SkinData) {
  PurgeForms();
  std::vector<TWinSkinFormBase*> users;
  for (TWinSkinFormBase* form : forms_)
    if (form->SkinData == SkinData) users.push_back(form);
  if (SkinData->SkinFormtype() == sfOnlyThisForm && users.size() > 1) users.resize(1);
  // A window whose frame the new skin paints where the old did not (or the other way round)
  // is skinned anew: its styles, region and menu bar change with its frame.
  std::vector<HWND> anew;
  for (TWinSkinFormBase* form : std::vector(users)) {
    if (!form->FrameChangesWithSkin()) continue;
    anew.push_back(form->Window);
    std::erase(users, form);
    form->Unskin();
    FreeForm(form);
  }
  for (TWinSkinFormBase* form : users) {
    form->ReleaseSkinObjects();
    form->LoadSkinObjects();
  }
  for (TWinSkinFormBase* form : users) form->Reapply();
  for (HWND window : anew)
    if (IsWindow(window)) SkinForm(window);
}

bool TSkinManage::ReskinPendingWindow() {
  TWinSkinFormBase* form = FindForm(pending_window_);
  if (!form) return false;
  form->Detach();
  form->State = TSkinFormState::Destroyed;
  PurgeForms();
  return SkinForm(pending_window_);
}

// ---------------------------------------------------------------------------------------
// The thread's window-creation hook

void TSkinManage::WindowCreated(HWND Window, const CBT_CREATEWNDW& Create) {
  const CREATESTRUCTW* cs = Create.lpcs;
  if (!cs) return;
  // The create structure may name the class by atom: the window itself is asked.
  const String className = WindowClassName(Window);
  if (vcl::SameText(className, foreign_classes::kScrollBar) && (cs->style & SBS_SIZEGRIP)) {
    if (TWinSkinFormBase* form = FindForm(cs->hwndParent)) form->MapSizeGrip(Window);
  } else if (!(cs->style & WS_CHILD) && className == foreign_classes::kPopupMenu) {
    SkinPopupMenu(Window);
  } else if (cs->dwExStyle & WS_EX_MDICHILD) {
    SkinForm(Window);  // MDI children never get an activation of their own
  }
}

LRESULT CALLBACK SkinCBTHookProc(int Code, WPARAM WParam, LPARAM LParam) {
  TSkinManage* manager = SkinManager();
  if (!Unit().ShuttingDown && manager && Code >= 0) {
    const auto window = reinterpret_cast<HWND>(WParam);
    try {
      switch (Code) {
        case HCBT_CREATEWND: manager->WindowCreated(window, *reinterpret_cast<CBT_CREATEWNDW*>(LParam)); break;
        case HCBT_DESTROYWND: manager->UnskinPopupMenu(window); break;
        case HCBT_ACTIVATE:
          if (manager->started_ == 0) manager->started_ = 1;
          manager->SkinForm(window);
          break;
        default: break;
      }
    } catch (...) {
      // Never into the system's call: the application shows it.
      vcl::HandleControlException(manager);
    }
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

}  // namespace winskin
