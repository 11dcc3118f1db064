// A skinned form's system commands and its other messages: minimise, maximise, restore, close,
// move, size and the keyboard menu carried out so that the skinned frame, the border form, the
// MDI frame and the animations stay in step (the system's own minimise animation is off while
// the provider's runs, and back as it was after), and the caption text, icon, style, settings,
// closing and shutdown.
#include <algorithm>

#include <windows.h>
#include <commctrl.h>

#include "classlib/extctrls/Buttons.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {
namespace {

constexpr WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;  // 0xF012
constexpr UINT kRedrawFrame = RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME;  // 0x481
// The longest a shutdown waits for the animations still running.
constexpr DWORD kShutdownWait = 2000;


bool BeingDestroyed(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }
bool Loading(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csLoading); }

// The system's own minimise animation off until the guard's scope ends, then back as it was.
auto SystemMinAnimationOff() {
  const bool was = GetSysMinAnimation();
  if (was) SetSysMinAnimation(false);
  return vcl::TScopeExit([was] {
    if (was) SetSysMinAnimation(true);
  });
}

bool MinimizingEffect(const TsSkinManager* Manager) {
  return Manager && Manager->AnimEffects()->Minimizing()->Active();
}

// Some form of the process runs an animation of its own.
bool AnyAnimationRunning() {
  if (AnimationActive() || HideAnimationForm()) return true;
  for (int i = 0; vcl::Screen && i < vcl::Screen->CustomFormCount(); ++i)
    if (TsSkinProvider* provider = GetSkinProvider(vcl::Screen->CustomForms(i)))
      if (provider->ExtFlags & (kExtAnimations | kExtBlendMoving)) return true;
  return false;
}

}  // namespace


// ---------------------------------------------------------------------------------------
// System commands

void TsSkinProvider::TMessages::WMSysCommand(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.Form->HandleAllocated()) return P.CallOldWndProc(Message);
  const HWND wnd = P.Form->Handle();
  // The commands below may close the form, or wait for animations.
  const TWatch alive = P.Watch();
  const WPARAM command = SysCommandOf(Message.WParam);
  const bool mdiChild = P.Form->FormStyle() == vcl::fsMDIChild;
  const bool mainForm = vcl::Application && P.Form == vcl::Application->MainForm();
  TsSkinManager* manager = P.SkinManager();

  if (!mdiChild) {
    if (command == SC_MINIMIZE && !mainForm && MinimizingEffect(manager) && P.AllowAnimation()) {
      const auto systemAnimation = SystemMinAnimationOff();
      P.Animator().StartMinimize();
      P.CallOldWndProc(Message);
      if (alive) AfterMinimize(P);
      return;
    }
    auto* minTimer = dynamic_cast<TqvMinTimer*>(P.animator_.Timer());
    if (command == SC_MAXIMIZE && !P.Form->Parent() && minTimer && IsIconic(wnd) && MinimizingEffect(manager)) {
      // Maximised from the task bar: the picture flies back first.
      const auto systemAnimation = SystemMinAnimationOff();
      P.ExtFlags |= kExtSysCommand;
      P.Animator().StartRestore();
      P.CallOldWndProc(Message);
      if (alive) P.ExtFlags &= ~kExtSysCommand;
      return;
    }
    if (command == SC_RESTORE) {
      if (P.ExtFlags & kExtHiding) {
        P.ExtFlags &= ~kExtHiding;
        const auto systemAnimation = SystemMinAnimationOff();
        return P.CallOldWndProc(Message);
      }
      if (IsIconic(wnd) && !mainForm && minTimer && MinimizingEffect(manager)) {
        const auto systemAnimation = SystemMinAnimationOff();
        P.Animator().StartRestore();
        P.CallOldWndProc(Message);
        return;
      }
      if ((P.ExtBorderForm() && !P.ExtBorderForm()->BorderWindow()) || (!P.ExtBorderForm() && ExtBordersWanted(P))) {
        if (manager) P.InitExBorders(manager->ExtendedBorders());
        P.Region().UpdateFormRgn(false);
      }
    }
    // The minimised main form's other commands: while its minimise animation holds the
    // picture, they are the application window's (it restores, closes, and runs the
    // animation back), when the application window's commands reach the form at all (the
    // form stands on the task bar itself, or the application window is the minimised one);
    // with composition and no border form the form takes them itself and shows the
    // system's frame again.
    if (mainForm && !P.Form->Parent() && IsIconic(wnd) && command != SC_MOVE && command != SC_MINIMIZE) {
      if (minTimer && vcl::Application &&
          (vcl::Application->MainFormOnTaskBar() || IsIconic(vcl::Application->Handle()))) {
        Message.Result = SendMessageW(vcl::Application->Handle(), WM_SYSCOMMAND, Message.WParam, Message.LParam);
        return;
      }
      if (!P.ExtBorderForm() && AeroIsEnabled()) {
        P.CallOldWndProc(Message);
        if (!alive) return;
        RedrawWindow(wnd, nullptr, nullptr, kRedrawFrame);
        SetWindowRgn(wnd, nullptr, TRUE);
        return;
      }
    }
  }

  // Moving and sizing by the keyboard with an outline.
  if (P.ResizeMode() == rmBorder && P.Form->Enabled() && !RubberFrame().Running() &&
      (Message.WParam == SC_MOVE || Message.WParam == SC_SIZE)) {
    P.frame_mouse_.StartRubberFrame(Message.WParam == SC_SIZE ? 0 : HTCAPTION);
    return;
  }

  if (P.Form->FormStyle() == vcl::fsMDIForm) {
    P.CallOldWndProc(Message);
    if (!alive) return;
    if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) {
      if (TsSkinProvider* frame = MDIProvider()) {
        frame->SkinData->BGChanged = true;
        frame->MenuLineCount = -1;
        frame->SendToProvider(WM_NCPAINT, 1, 0);
      }
      if (command == SC_MAXIMIZE)
        if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    }
    return;
  }

  if (mdiChild) return MDIChildCommand(P, Message);

  if (command == SC_MAXIMIZE) {
    if (manager && manager->Options()->NativeBordersMaximized()) P.InitExBorders(false);
    P.ExtFlags |= kExtSysCommand;
  }
  P.CallOldWndProc(Message);
  // The command may have closed the form.
  if (!alive || BeingDestroyed(P.Form)) return;
  switch (command) {
    case SC_KEYMENU:
      if (Message.LParam == VK_SPACE && P.Form->BorderIcons().Contains(vcl::biSystemMenu) &&
          P.Measures().HasBorder()) {
        RECT r{};
        GetWindowRect(wnd, &r);
        const int def = DefBorderWidth(wnd, nullptr, false);
        P.DropSysMenu(vcl::TPoint(r.left + SysBorderWidth(wnd, nullptr, false),
                                  r.top + def + P.Form->BorderWidth() + P.caption_buttons_->IconRect.Height() + def -
                                      (IsIconic(wnd) ? 16 : 0)));
      }
      return;
    case SC_MINIMIZE: return AfterMinimize(P);
    case SC_MAXIMIZE:
    case SC_RESTORE: break;
    default: return;
  }
  if (command == SC_MAXIMIZE) P.ExtFlags &= ~kExtSysCommand;
  if (command == SC_RESTORE)
    if (auto* timer = dynamic_cast<TqvMinTimer*>(P.animator_.Timer()); timer && !timer->Enabled())
      P.animator_.FreeTimer();
  if (P.menus_.SystemMenu() && P.menus_.SystemMenu()->MaximizeVisible()) {
    // The maximise button leaves its hot or pressed look behind.
    P.frame_mouse_.HotElement = kHitMax;
    P.frame_mouse_.SetHotElement(0, true);
  }
  if (command == SC_RESTORE) {
    P.SkinData->BGChanged = true;
    if (!P.Measures().HasBorder()) {
      SetWindowRgn(wnd, nullptr, TRUE);
    } else if (manager && manager->ExtendedBorders() && P.AllowExtBorders() && P.DrawNonClientArea &&
               !P.Form->Parent()) {
      P.InitExBorders(true);
      if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    }
  }
  if (command == SC_MAXIMIZE)
    if (TqvBorderForm* border = P.ExtBorderForm()) {
      // The system may maximise with a frame change, which leaves the border window alone
      // (WM_WINDOWPOSCHANGED): it takes the maximised picture and place here.
      P.SkinData->BGChanged = true;
      border->UpdateExBordersPos(true, 255);
    }
  RedrawWindow(wnd, nullptr, nullptr, kRedrawFrame);
}

// After a minimise: the border window goes while the form is minimised.
void TsSkinProvider::TMessages::AfterMinimize(TsSkinProvider& P) {
  TqvBorderForm* border = P.ExtBorderForm();
  if (!border || !border->BorderWindow() || (P.ExtFlags & kExtMinimizing)) return;
  P.InitExBorders(false);
  // Where the minimised window shows (a desktop without a task bar keeps it on screen), it
  // wears its own skinned caption instead of the client part the border window framed.
  if (P.Form->HandleAllocated() && IsIconic(P.Form->Handle())) {
    P.region_.RgnChanged = true;
    P.FullRedraw();
  }
}

void TsSkinProvider::TMessages::MDIChildCommand(TsSkinProvider& P, vcl::TMessage& Message) {
  const HWND wnd = P.Form->Handle();
  const TWatch alive = P.Watch();
  const WPARAM command = SysCommandOf(Message.WParam);
  const bool zoomed = IsZoomed(wnd) != FALSE;
  TsSkinProvider* frame = MDIProvider();
  if (frame == &P) frame = nullptr;
  // The frame's merged menu line and buttons change with the command: painted once after it.
  const bool update = frame && zoomed && command != SC_MAXIMIZE;
  if (update) frame->SkinData->BeginUpdate();
  // Only while the frame is still the MDI frame: it may have gone meanwhile.
  const vcl::TScopeExit painted([updated = update ? frame : nullptr] {
    if (updated && updated == MDIProvider()) updated->SkinData->EndUpdate(false);
  });

  switch (command) {
    case SC_CLOSE: {
      if (!frame) return P.CallOldWndProc(Message);
      const bool paintArea = frame->Adapters().MDIForm() && zoomed;
      if (paintArea) RepaintMdiArea(true);
      frame->Region().KeepRegion = true;
      P.CallOldWndProc(Message);
      if (MDIProvider() != frame) return;
      frame->Region().KeepRegion = false;
      if (alive && !BeingDestroyed(P.Form)) P.frame_mouse_.SetHotElement(0, true);
      if (paintArea) RepaintMdiArea(true);
      return;
    }
    case SC_MINIMIZE:
      P.CallOldWndProc(Message);
      if (!alive) return;
      if (zoomed) RepaintMdiArea(true);
      if (P.menus_.SystemMenu()) P.menus_.SystemMenu()->UpdateItems(false);
      P.SkinData->BGChanged = true;
      RepaintMdiArea(false);
      return;
    case SC_MAXIMIZE: {
      // Invisible to the system during the command: the child's restored frame never shows.
      const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
      SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
      P.CallOldWndProc(Message);
      if (!alive) return;
      SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      RepaintMdiArea(true);
      if (P.menus_.SystemMenu()) P.menus_.SystemMenu()->UpdateItems(false);
      return;
    }
    case SC_RESTORE: {
      P.CallOldWndProc(Message);
      if (!alive) return;
      P.SkinData->BGChanged = true;
      if (P.DrawNonClientArea) P.Menus().SystemMenuStyle(true);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      if (vcl::TCustomForm* parent = frame ? frame->Form : nullptr)
        for (int i = 0; i < parent->MDIChildCount(); ++i) {
          vcl::TCustomForm* child = parent->MDIChildren(i);
          if (child == P.Form || !child->HandleAllocated() || !IsZoomed(child->Handle())) continue;
          ShowWindow(child->Handle(), SW_SHOWNOACTIVATE);
          RedrawWindow(child->Handle(), nullptr, nullptr, RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        }
      if (zoomed) RepaintMdiArea(false);
      if (P.menus_.SystemMenu()) P.menus_.SystemMenu()->UpdateItems(false);
      return;
    }
    default: return P.CallOldWndProc(Message);
  }
}

// ---------------------------------------------------------------------------------------
// Closing and shutting down

void TsSkinProvider::TMessages::WMClose(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  const bool prepare = P.AllowAnimation() && manager && manager->AnimEffects()->FormHide()->Active() &&
                       P.DrawNonClientArea && !(P.ExtFlags & kExtHiding) && !P.Form->Parent();
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!prepare || !alive || BeingDestroyed(P.Form)) return;
  TqvBorderForm* border = P.ExtBorderForm();
  if (!border || !border->BorderWindow() || !IsWindowVisible(border->BorderWindow())) return;
  // The border window shows the closing picture while the form goes.
  P.ExtFlags |= kExtHiding;
  auto picture = P.FormSnapshot(true);
  P.SkinData->BGChanged = false;
  if (picture) {
    SetWindowRgn(border->BorderWindow(), P.MakeRgn(), FALSE);
    UpdateLayeredWnd(
        border->BorderWindow(), picture.get(),
        P.Form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(P.Form->AlphaBlendValue(), 0, 255)) : 255);
  }
  P.ExtFlags &= ~kExtHiding;
}

void TsSkinProvider::TMessages::WMQueryEndSession(TsSkinProvider& P, vcl::TMessage& Message) {
  ProviderUnit().ShuttingDown = true;
  // Animations still running end first, but the shutdown never waits longer than a moment.
  if (!vcl::Application || !vcl::Application->Terminated())
    ProcessMessagesUntil([] { return !AnyAnimationRunning(); }, kShutdownWait);
  P.CallOldWndProc(Message);
}

// ---------------------------------------------------------------------------------------
// Creation, caption, icon, style, settings

void TsSkinProvider::TMessages::WMCreate(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (P.Form->FormStyle() != vcl::fsMDIChild && P.Form->HandleAllocated()) P.InitMenuItems();
}

void TsSkinProvider::TMessages::WMNCCreate(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (P.Form->FormStyle() != vcl::fsMDIChild && P.Form->HandleAllocated()) P.InitMenuItems();
}

void TsSkinProvider::TMessages::WMSetText(TsSkinProvider& P, vcl::TMessage& Message) {
  if (!P.Form->HandleAllocated() || !IsWindowVisible(P.Form->Handle())) return P.CallOldWndProc(Message);
  const HWND wnd = P.Form->Handle();
  TsSkinProvider* frame = MDIProvider();
  if (P.Form->FormStyle() == vcl::fsMDIChild && IsZoomed(wnd) && frame && frame != &P) {
    // The title is the frame's.
    frame->SkinData->BGChanged = true;
    frame->ShowAnimForm();
    P.CallOldWndProc(Message);
    if (MDIProvider() != frame) return;
    frame->HideAnimForm();
    if (TqvBorderForm* border = frame->ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    return;
  }
  // The system paints its caption with the new text: covered until the skinned one is there.
  P.SkinData->BGChanged = true;
  P.ShowAnimForm();
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive) return;
  P.RefreshNonClient();
  P.HideAnimForm();
  if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::TMessages::WMSetIcon(TsSkinProvider& P, vcl::TMessage& Message) {
  if (Loading(&P) || !Message.LParam || (P.ExtFlags & kExtAnimations) || AnimationActive() || !P.Form->Showing() ||
      !P.Form->HandleAllocated())
    return P.CallOldWndProc(Message);
  const HWND wnd = P.Form->Handle();
  // Without composition the system would paint its caption with the new icon; with it, the
  // skinned caption still shows the icon from the image, painted again below either way.
  const bool holdRedraw = !AeroIsEnabled();
  if (holdRedraw) SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  const TWatch alive = P.Watch();
  P.CallOldWndProc(Message);
  if (!alive) return;
  if (holdRedraw) SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  P.SkinData->BGChanged = true;
  P.RefreshNonClient();
}

void TsSkinProvider::TMessages::WMSysColorChange(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  P.menus_.RebuildMainMenuBar();
}

void TsSkinProvider::TMessages::WMSettingChange(TsSkinProvider& P, vcl::TMessage& Message) {
  P.SkinData->BGChanged = true;
  if (Message.WParam == SPI_SETWORKAREA)
    if (auto* timer = dynamic_cast<TqvMinTimer*>(P.animator_.Timer()); timer && timer->Enabled()) timer->InitData();
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WMStyleChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (P.menus_.SysMenuIconChanged()) {
    P.RefreshNonClient();
    return;
  }
  const auto* styles = reinterpret_cast<const STYLESTRUCT*>(Message.LParam);
  if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE) && styles &&
      ((styles->styleOld ^ styles->styleNew) & WS_EX_LAYERED) &&
      !(P.ExtFlags & (kExtBlendMoving | kExtMinimizing | kExtRestoring)))
    if (TqvBorderForm* border = P.ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::TMessages::CMEnabledChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  if (!P.DrawNonClientArea || !P.Form->HandleAllocated()) return;
  if (TqvBorderForm* border = P.ExtBorderForm(); border && border->BorderWindow())
    EnableWindow(border->BorderWindow(), P.Form->Enabled());
  P.SkinData->BGChanged = true;
  SendMessageW(P.Form->Handle(), WM_NCPAINT, 1, 0);
}

void TsSkinProvider::TMessages::CMMenuChanged(TsSkinProvider& P, vcl::TMessage& Message) {
  const bool skip = !P.Form->Visible() || (P.SkinData->CtrlSkinState & kStateInUpdate);
  if (!skip) {
    P.MenuLineCount = -1;
    P.window_image_.FirstPaint = true;
    P.SkinData->BGChanged = true;
  }
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::CMRecreateWnd(TsSkinProvider& P, vcl::TMessage& Message) { P.CallOldWndProc(Message); }

void TsSkinProvider::TMessages::CMFloat(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  // Made again by the refresh, on the window the form floats in now.
  P.scroll_bars_.Free();
  if (TsSkinManager* manager = P.SkinManager(); manager && P.Form->HandleAllocated())
    SendMessageW(P.Form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager));
}

// ---------------------------------------------------------------------------------------
// Controls that come later: the control adapter gives them their adapters

void TsSkinProvider::TMessages::WMParentNotify(TsSkinProvider& P, vcl::TMessage& Message) {
  const WORD event = Message.WParamLo();
  if ((event != WM_CREATE && event != WM_DESTROY) || P.ComponentState().Contains(vcl::csLoading) ||
      P.Form->ComponentState().Contains(vcl::csLoading))
    return P.CallOldWndProc(Message);
  P.CallOldWndProc(Message);
  if (event == WM_CREATE) {
    if (TqvCtrlAdapter* adapter = P.adapters_.CtrlAdapter(); adapter && adapter->Adapting()) {
      auto* control = dynamic_cast<vcl::TWinControl*>(vcl::FindControl(reinterpret_cast<HWND>(Message.LParam)));
      if (control && adapter->Supports(control))
        adapter->AddControl(control, vcl::String());
      else if (!control)
        adapter->AddAllItems();
    }
  } else if (BeingDestroyed(P.Form) || P.Form->ControlState().Contains(vcl::csDestroyingHandle)) {
    return;  // the form's children all go with it
  }
  // A child made or gone: the controls take their state again, and the form's own bars follow
  // (with AutoScroll switched on meanwhile they are skinned ones from now on).
  vcl::TMessage state = SkinCommandMessage(scmGetState, 1);
  BroadcastCommand(P.Form, state);
  if (P.DrawNonClientArea) P.UpdateScrollAdapter();
}

void TsSkinProvider::TMessages::WMNotify(TsSkinProvider& P, vcl::TMessage& Message) {
  P.CallOldWndProc(Message);
  // A tab page changed: the controls of the page shown now are adapted.
  const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  TqvCtrlAdapter* adapter = P.adapters_.CtrlAdapter();
  if (header && header->code == TCN_SELCHANGE && adapter) adapter->AddAllItems();
}

void TsSkinProvider::TMessages::CMControlListChange(TsSkinProvider& P, vcl::TMessage& Message) {
  auto* control = reinterpret_cast<vcl::TControl*>(Message.WParam);
  P.CallOldWndProc(Message);
  TqvCtrlAdapter* adapter = P.adapters_.CtrlAdapter();
  if (!control || Message.LParam == 0 || !adapter || !adapter->Adapting() || !adapter->Supports(control)) return;
  if (auto* win = dynamic_cast<vcl::TWinControl*>(control)) {
    adapter->AddControl(win, vcl::String());
    vcl::TMessage state = SkinCommandMessage(scmGetState, 1);
    BroadcastCommand(win, state);
  } else if (auto* label = dynamic_cast<vcl::TLabel*>(control)) {
    P.LabelColors().SetLabelColor(label, true);
  } else if (auto* speed = dynamic_cast<vcl::TSpeedButton*>(control)) {
    adapter->AddGraphControl(speed);
  }
  control->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetState), 1);
}

}  // namespace skin_layered
