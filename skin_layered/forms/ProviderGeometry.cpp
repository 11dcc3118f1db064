// The properties that change how the frame is drawn, the re-reading of the skin's indexes after
// a change, the border form decision, the menus' answers (FormMenus.h) and the geometry
// messages.
#include <algorithm>
#include <functional>
#include <utility>

#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

bool Zoomed(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsZoomed(Form->Handle()); }
bool Designing(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDesigning); }
bool Loading(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csLoading); }

// Set while the wheel is forwarded to the control under the cursor.

}  // namespace

// ---------------------------------------------------------------------------------------
// The skin's indexes and the border form

void TsSkinProvider::InitMenuItems() {
  TsSkinManager* manager = SkinManager();
  if ((AutoCreated && !Form->Showing()) || !Form || !Form->HandleAllocated() || !manager ||
      !manager->Skin().SkinData.Active || !SkinData)
    return;
  TitleSkinIndex = -1;
  SkinData->UpdateIndexes(true);
  menus_.MakeSystemMenu();
  menus_.SystemMenuStyle(true);
  SkinData->BGChanged = true;
  measures_.GetTitleSkinIndex();
  CaptionIndex = manager->GetSkinIndex(L"CAPTION");
  caption_items_->InitTitleBarItems();
  caption_buttons_->InitSystemButtons();
  if (Form->FormStyle() == vcl::fsMDIChild)
    if (TsSkinProvider* frame = MDIProvider(); frame && frame != this) {
      frame->SkinData->BGChanged = true;
      frame->MenuLineCount = -1;
    }
  const vcl::TComponentState state = Form->ComponentState();
  if (!state.Contains(vcl::csReading) && !state.Contains(vcl::csLoading) &&
      !Form->ControlState().Contains(vcl::csCreating) && UseGlobalColor() && !SkinData->CustomColor())
    label_colors_.ApplyGlobalColor();
  menus_.SystemMenu()->UpdateItems(false);
  if (!state.Contains(vcl::csLoading) && Form->Showing()) InitExBorders(manager->ExtendedBorders());
}

void TsSkinProvider::KillAnimations() {
  // A fade's destructor takes it out of its record.
  auto kill = [](TsCaptionButton& button) {
    if (vcl::TObject* fade = std::exchange(button.Timer, nullptr)) vcl::TObject::Free(fade);
  };
  for (TsCaptionButton* button : {&caption_buttons_->BtnMinimize, &caption_buttons_->BtnMaximize,
                                  &caption_buttons_->BtnClose, &caption_buttons_->BtnHelp})
    kill(*button);
  if (title_buttons_)
    for (int i = 0; i < title_buttons_->Count(); ++i) kill(title_buttons_->Items(i)->Data);
  if (title_bar_)
    for (int i = 0; i < title_bar_->Items()->Count(); ++i) title_bar_->Items()->Items(i)->FreeAnimation();
  caption_items_->HideTitleHints();
  frame_mouse_.StopButtonHint();
}

void TsSkinProvider::InitExBorders(bool AllowExtended) {
  const TsSkinManager* manager = SkinManager();
  // A form the skin has no section for keeps the system's frame: no border window either.
  const bool wanted = AllowExtended && FormSkinned() && measures_.HasBorder() && DrawNonClientArea &&
                      !Form->Parent() && Form->FormStyle() != vcl::fsMDIChild && AllowExtBorders() &&
                      !(Zoomed(Form) && manager && manager->Options()->NativeBordersMaximized());
  if (wanted) {
    if (!BorderForm) BorderForm = new TqvBorderForm(MakeBorderOwner(*this));
    SkinData->BGChanged = true;
    BorderForm->UpdateExBordersPos(true, 255);
    return;
  }
  if (BorderForm) {
    delete BorderForm;
    BorderForm = nullptr;
  }
}

void TsSkinProvider::FullRedraw() {
  if (SkinData) SkinData->BGChanged = true;
  window_image_.FirstPaint = true;
  MenuLineCount = -1;
  SendToProvider(WM_NCPAINT, 1, 0);
}

// ---------------------------------------------------------------------------------------
// Properties that change the frame

void TsSkinProvider::SetCaptionAlignment(vcl::TAlignment Value) {
  if (!StoreCaptionAlignment(Value)) return;
  if (SkinData) SkinData->BGChanged = true;
  if (!Designing(this)) RefreshNonClient();
}

void TsSkinProvider::SetShowAppIcon(bool Value) {
  if (!StoreShowAppIcon(Value)) return;
  if (SkinData) SkinData->BGChanged = true;
  if (Form->Visible() && Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_NCPAINT, 1, 0);
}

void TsSkinProvider::SetTitleSkin(const vcl::String& Value) {
  if (!StoreTitleSkin(Value)) return;
  TitleSkinIndex = -1;
  if (SkinData) SkinData->BGChanged = true;
  // The system buttons wear the skin's glyphs only on a title section the skin has.
  if (menus_.SystemMenu()) caption_buttons_->InitSystemButtons();
  if (Loading(this) || !Form->Visible() || !Form->HandleAllocated()) return;
  if (BorderForm)
    BorderForm->UpdateExBordersPos(true, 255);
  else
    SendMessageW(Form->Handle(), WM_NCPAINT, 1, 0);
}

void TsSkinProvider::SetMenuLineSkin(const vcl::String& Value) {
  if (!StoreMenuLineSkin(Value)) return;
  if (SkinData) {
    SkinData->BGChanged = true;
    if (Designing(this)) SkinData->UpdateIndexes(true);
  }
}

void TsSkinProvider::SetAllowExtBorders(bool Value) {
  if (!StoreAllowExtBorders(Value)) return;
  if (Loading(this) || Designing(this) || !SkinData) return;
  if (TsSkinManager* manager = SkinManager()) InitExBorders(manager->ExtendedBorders());
  SkinData->BGChanged = true;
  if (Form->HandleAllocated()) RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TsSkinProvider::SetTitleBar(TsTitleBar* Value) {
  if (title_bar_ == Value) return;
  title_bar_ = Value;
  if (SkinData) SkinData->BGChanged = true;
  if (!Loading(this) && !ComponentState().Contains(vcl::csDestroying) &&
      !Form->ComponentState().Contains(vcl::csDestroying))
    RefreshNonClient();
}

void TsSkinProvider::SetDrawNonClientArea(bool Value) {
  if (DrawNonClientArea == Value) return;
  DrawNonClientArea = Value;
  if (Designing(this) || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  TsSkinManager* manager = SkinManager();
  if (Value) {
    if (!FormSkinned()) return;
    menus_.SystemMenuStyle(true);
    if (!Form->Showing()) return;
    SkinData->BGChanged = true;
    menus_.ForgetPrepared();
    menus_.PrepareMenus();
    if (manager) InitExBorders(manager->ExtendedBorders());
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
    scroll_bars_.Free();
    UpdateScrollAdapter();
    return;
  }
  InitExBorders(false);
  scroll_bars_.Free();
  if (manager && manager->SkinableMenus())
    if (auto* main = dynamic_cast<vcl::TMainMenu*>(Form->Menu()))
      FormServices().HookMainMenu(manager->SkinableMenus(), main, false);
  menus_.ForgetPrepared();
  if (TSetWindowThemeProc setTheme = SetWindowThemeProc()) setTheme(wnd, nullptr, nullptr);
  // The system's caption buttons come back with WS_SYSMENU.
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (Form->BorderIcons().Contains(vcl::biSystemMenu) && !(style & WS_SYSMENU))
    SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
  if (Form->Showing()) SetWindowRgn(wnd, nullptr, TRUE);
  region_.RgnChanged = true;
  if (BorderForm) BorderForm->UpdateExBordersPos(true, 255);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

// A skin without the form's section leaves the form as no skin would: the system draws its
// whole frame (caption buttons, icon, menu line; no region, no border window). Its controls
// keep their adapters and follow the skin.
void TsSkinProvider::TMessages::SectionGone(TsSkinProvider& P) {
  P.KillAnimations();
  P.MenuLineCount = -1;
  P.InitExBorders(false);
  P.UpdateScrollAdapter();
  // The window image of the skin before is no picture of the form any more (the menu line's
  // items took their places from it).
  P.SkinData->FreeCacheBmp();
  P.menus_.ForgetPrepared();
  P.menus_.SystemMenuStyle(false);
  P.adapters_.MDIClientObject(false);
  P.region_.RgnChanged = true;
  if (!P.Form->HandleAllocated()) return;
  const HWND wnd = P.Form->Handle();
  DisableDwmTransitions(wnd, false);
  if (!P.region_.KeepRegion) SetWindowRgn(wnd, nullptr, P.Form->Showing());
  P.menus_.RebuildMainMenuBar();
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

// ---------------------------------------------------------------------------------------
// Messages

void TsSkinProvider::TMessages::WMGetMinMaxInfo(TsSkinProvider& P, vcl::TMessage& Message) {
  if (P.DrawNonClientArea && P.Measures().HasBorder() && P.Form->FormStyle() != vcl::fsMDIChild && !P.Form->Parent() &&
      P.Form->HandleAllocated()) {
    const HWND wnd = P.Form->Handle();
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(wnd, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    int shift = 0;
    if (P.ExtBorderForm() && (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
      const TqvFormMeasures& measures = P.Measures();
      P.MaxBorderLarge = (P.ExtFlags & kExtSysCommand) &&
                         measures.TitleHeightByState(true) > measures.SysCaptionHeightOfForm() + 4;
      shift = MaximizedCaptionExtra(P, true);
    }
    const int frame = SysBorderWidth(wnd, nullptr, false);
    auto* info = reinterpret_cast<MINMAXINFO*>(Message.LParam);
    if (info) {
      info->ptMaxPosition.x = -frame;
      info->ptMaxPosition.y = shift - frame;
      info->ptMaxSize.x = (work.right - work.left) + 2 * frame;
      info->ptMaxSize.y = (work.bottom - work.top) + 2 * frame - shift;
    }
    Message.Result = 0;
  }
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WMInitMenuPopup(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (!manager || !manager->SkinnedPopups()) return P.CallOldWndProc(Message);
  const auto popup = reinterpret_cast<HMENU>(Message.WParam);
  if (HIWORD(Message.LParam) != 0) {
    // The window's own system menu: sizing goes through the skinned frame.
    EnableMenuItem(popup, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
    return;
  }
  vcl::TMenuItem* windowMenu = P.Form->WindowMenu();
  if (windowMenu)
    for (int i = windowMenu->Count() - 1; i >= 0; --i)
      if (windowMenu->Items(i)->Tag() & kProviderMenuItemTag) vcl::TObject::Free(windowMenu->Items(i));
  if (P.Form->FormStyle() != vcl::fsMDIForm || P.Form->MDIChildCount() == 0 || !windowMenu ||
      !windowMenu->HandleAllocated() || windowMenu->Handle() != popup)
    return P.CallOldWndProc(Message);
  if (windowMenu->Count() > 0 && !windowMenu->Items(windowMenu->Count() - 1)->IsLine()) {
    auto* line = new vcl::TMenuItem(P.Form);
    line->SetCaption(L"-");
    line->SetTag(kProviderMenuItemTag);
    windowMenu->Add(line);
  }
  int index = 0;
  for (int c = 0; c < P.Form->MDIChildCount(); ++c) {
    vcl::TCustomForm* mdi = P.Form->MDIChildren(c);
    if (!mdi->Visible()) continue;
    auto* item = new vcl::TMenuItem(P.Form);
    item->SetCaption(mdi->Caption());
    item->SetChecked(mdi == P.Form->ActiveMDIChild());
    item->SetTag(kProviderMenuItemTag | c);
    item->OnClick = vcl::TNotifyEvent::Bind<&TsSkinProvider::MDIChildItemClick>(&P);
    windowMenu->Add(item);
    ++index;
  }
  // The children's items the system added are replaced by the provider's own. Last: the
  // menu changed by the provider is attached again, and the client lists its children anew.
  for (int i = GetMenuItemCount(popup) - 1; i >= 0; --i) {
    const UINT id = GetMenuItemID(popup, i);
    const bool separator = (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    bool child = false;
    for (int c = 0; c < P.Form->MDIChildCount() && !child; ++c) {
      vcl::TCustomForm* mdi = P.Form->MDIChildren(c);
      child = mdi->HandleAllocated() && GetDlgCtrlID(mdi->Handle()) == static_cast<int>(id);
    }
    if (child || (separator && i >= windowMenu->Count())) DeleteMenu(popup, static_cast<UINT>(i), MF_BYPOSITION);
  }
}

void TsSkinProvider::MDIChildItemClick(vcl::TObject* Sender) {
  auto* item = dynamic_cast<vcl::TMenuItem*>(Sender);
  if (!item) return;
  const int index = static_cast<int>(item->Tag() & ~kProviderMenuItemTag);
  if (index >= 0 && index < Form->MDIChildCount()) {
    vcl::TCustomForm* child = Form->MDIChildren(index);
    if (child->HandleAllocated() && Form->ClientHandle())
      SendMessageW(Form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
  }
}

void TsSkinProvider::TMessages::CMMouseWheel(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (ProviderUnit().ForwardingWheel || Message.Result != 0) return;
  POINT cursor{};
  GetCursorPos(&cursor);
  vcl::TWinControl* target = vcl::FindVCLWindow(vcl::TPoint(cursor));
  if (!target || target == P.Form) return;
  ProviderUnit().ForwardingWheel = true;
  const vcl::TScopeExit done([] { ProviderUnit().ForwardingWheel = false; });
  vcl::TMessage forwarded = Message;
  forwarded.Result = 0;
  target->Dispatch(forwarded);
  Message.Result = forwarded.Result & 0x7F;
}

}  // namespace skin_layered
