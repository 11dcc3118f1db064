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

void TsSkinProvider::WMSysCommand(vcl::TMessage& Message) {
  if (!Form->HandleAllocated()) return CallOldWndProc(Message);
  const HWND wnd = Form->Handle();
  // The commands below may close the form, or wait for animations.
  const TWatch alive = Watch();
  const WPARAM command = SysCommandOf(Message.WParam);
  const bool mdiChild = Form->FormStyle() == vcl::fsMDIChild;
  const bool mainForm = vcl::Application && Form == vcl::Application->MainForm();
  TsSkinManager* manager = SkinManager();

  if (!mdiChild) {
    if (command == SC_MINIMIZE && !mainForm && MinimizingEffect(manager) && AllowAnimation()) {
      const auto systemAnimation = SystemMinAnimationOff();
      StartMinimizeAnimation();
      CallOldWndProc(Message);
      if (alive) AfterMinimize();
      return;
    }
    auto* minTimer = dynamic_cast<TqvMinTimer*>(animator_.Timer());
    if (command == SC_MAXIMIZE && !Form->Parent() && minTimer && IsIconic(wnd) && MinimizingEffect(manager)) {
      // Maximised from the task bar: the picture flies back first.
      const auto systemAnimation = SystemMinAnimationOff();
      ExtFlags |= kExtSysCommand;
      StartRestoreAnimation();
      CallOldWndProc(Message);
      if (alive) ExtFlags &= ~kExtSysCommand;
      return;
    }
    if (command == SC_RESTORE) {
      if (ExtFlags & kExtHiding) {
        ExtFlags &= ~kExtHiding;
        const auto systemAnimation = SystemMinAnimationOff();
        return CallOldWndProc(Message);
      }
      if (IsIconic(wnd) && !mainForm && minTimer && MinimizingEffect(manager)) {
        const auto systemAnimation = SystemMinAnimationOff();
        StartRestoreAnimation();
        CallOldWndProc(Message);
        return;
      }
      if ((ExtBorderForm() && !ExtBorderForm()->BorderWindow()) || (!ExtBorderForm() && ExtBordersWanted())) {
        if (manager) InitExBorders(manager->ExtendedBorders());
        UpdateFormRgn(false);
      }
    }
    // The minimised main form's other commands: while its minimise animation holds the
    // picture, they are the application window's (it restores, closes, and runs the
    // animation back), when the application window's commands reach the form at all (the
    // form stands on the task bar itself, or the application window is the minimised one);
    // with composition and no border form the form takes them itself and shows the
    // system's frame again.
    if (mainForm && !Form->Parent() && IsIconic(wnd) && command != SC_MOVE && command != SC_MINIMIZE) {
      if (minTimer && vcl::Application &&
          (vcl::Application->MainFormOnTaskBar() || IsIconic(vcl::Application->Handle()))) {
        Message.Result = SendMessageW(vcl::Application->Handle(), WM_SYSCOMMAND, Message.WParam, Message.LParam);
        return;
      }
      if (!ExtBorderForm() && AeroIsEnabled()) {
        CallOldWndProc(Message);
        if (!alive) return;
        RedrawWindow(wnd, nullptr, nullptr, kRedrawFrame);
        SetWindowRgn(wnd, nullptr, TRUE);
        return;
      }
    }
  }

  // Moving and sizing by the keyboard with an outline.
  if (ResizeMode() == rmBorder && Form->Enabled() && !RubberFrame().Running() &&
      (Message.WParam == SC_MOVE || Message.WParam == SC_SIZE)) {
    frame_mouse_.StartRubberFrame(Message.WParam == SC_SIZE ? 0 : HTCAPTION);
    return;
  }

  if (Form->FormStyle() == vcl::fsMDIForm) {
    CallOldWndProc(Message);
    if (!alive) return;
    if (command == SC_MINIMIZE || command == SC_MAXIMIZE || command == SC_RESTORE) {
      if (TsSkinProvider* frame = MDIProvider()) {
        frame->SkinData->BGChanged = true;
        frame->MenuLineCount = -1;
        frame->SendToProvider(WM_NCPAINT, 1, 0);
      }
      if (command == SC_MAXIMIZE)
        if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    }
    return;
  }

  if (mdiChild) return MDIChildCommand(Message);

  if (command == SC_MAXIMIZE) {
    if (manager && manager->Options()->NativeBordersMaximized()) InitExBorders(false);
    ExtFlags |= kExtSysCommand;
  }
  CallOldWndProc(Message);
  // The command may have closed the form.
  if (!alive || BeingDestroyed(Form)) return;
  switch (command) {
    case SC_KEYMENU:
      if (Message.LParam == VK_SPACE && Form->BorderIcons().Contains(vcl::biSystemMenu) && HasBorder()) {
        RECT r{};
        GetWindowRect(wnd, &r);
        const int def = DefBorderWidth(wnd, nullptr, false);
        DropSysMenu(vcl::TPoint(
            r.left + SysBorderWidth(wnd, nullptr, false),
            r.top + def + Form->BorderWidth() + caption_buttons_->IconRect.Height() + def - (IsIconic(wnd) ? 16 : 0)));
      }
      return;
    case SC_MINIMIZE: return AfterMinimize();
    case SC_MAXIMIZE:
    case SC_RESTORE: break;
    default: return;
  }
  if (command == SC_MAXIMIZE) ExtFlags &= ~kExtSysCommand;
  if (command == SC_RESTORE)
    if (auto* timer = dynamic_cast<TqvMinTimer*>(animator_.Timer()); timer && !timer->Enabled()) animator_.FreeTimer();
  if (SystemMenu && SystemMenu->MaximizeVisible()) {
    // The maximise button leaves its hot or pressed look behind.
    frame_mouse_.HotElement = kHitMax;
    frame_mouse_.SetHotElement(0, true);
  }
  if (command == SC_RESTORE) {
    SkinData->BGChanged = true;
    if (!HasBorder()) {
      SetWindowRgn(wnd, nullptr, TRUE);
    } else if (manager && manager->ExtendedBorders() && AllowExtBorders() && DrawNonClientArea && !Form->Parent()) {
      InitExBorders(true);
      if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    }
  }
  if (command == SC_MAXIMIZE)
    if (TqvBorderForm* border = ExtBorderForm()) {
      // The system may maximise with a frame change, which leaves the border window alone
      // (WM_WINDOWPOSCHANGED): it takes the maximised picture and place here.
      SkinData->BGChanged = true;
      border->UpdateExBordersPos(true, 255);
    }
  RedrawWindow(wnd, nullptr, nullptr, kRedrawFrame);
}

// After a minimise: the border window goes while the form is minimised.
void TsSkinProvider::AfterMinimize() {
  TqvBorderForm* border = ExtBorderForm();
  if (!border || !border->BorderWindow() || (ExtFlags & kExtMinimizing)) return;
  InitExBorders(false);
  // Where the minimised window shows (a desktop without a task bar keeps it on screen), it
  // wears its own skinned caption instead of the client part the border window framed.
  if (Form->HandleAllocated() && IsIconic(Form->Handle())) {
    region_.RgnChanged = true;
    FullRedraw();
  }
}

void TsSkinProvider::MDIChildCommand(vcl::TMessage& Message) {
  const HWND wnd = Form->Handle();
  const TWatch alive = Watch();
  const WPARAM command = SysCommandOf(Message.WParam);
  const bool zoomed = IsZoomed(wnd) != FALSE;
  TsSkinProvider* frame = MDIProvider();
  if (frame == this) frame = nullptr;
  // The frame's merged menu line and buttons change with the command: painted once after it.
  const bool update = frame && zoomed && command != SC_MAXIMIZE;
  if (update) frame->SkinData->BeginUpdate();
  // Only while the frame is still the MDI frame: it may have gone meanwhile.
  const vcl::TScopeExit painted([updated = update ? frame : nullptr] {
    if (updated && updated == MDIProvider()) updated->SkinData->EndUpdate(false);
  });

  switch (command) {
    case SC_CLOSE: {
      if (!frame) return CallOldWndProc(Message);
      const bool paintArea = frame->MDIForm && zoomed;
      if (paintArea) RepaintMdiArea(true);
      frame->Region().KeepRegion = true;
      CallOldWndProc(Message);
      if (MDIProvider() != frame) return;
      frame->Region().KeepRegion = false;
      if (alive && !BeingDestroyed(Form)) frame_mouse_.SetHotElement(0, true);
      if (paintArea) frame->RepaintMdiArea(true);
      return;
    }
    case SC_MINIMIZE:
      CallOldWndProc(Message);
      if (!alive) return;
      if (zoomed) RepaintMdiArea(true);
      if (SystemMenu) SystemMenu->UpdateItems(false);
      SkinData->BGChanged = true;
      RepaintMdiArea(false);
      return;
    case SC_MAXIMIZE: {
      // Invisible to the system during the command: the child's restored frame never shows.
      const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
      SetWindowLongPtrW(wnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
      CallOldWndProc(Message);
      if (!alive) return;
      SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      RepaintMdiArea(true);
      if (SystemMenu) SystemMenu->UpdateItems(false);
      return;
    }
    case SC_RESTORE: {
      CallOldWndProc(Message);
      if (!alive) return;
      SkinData->BGChanged = true;
      if (DrawNonClientArea) UpdateSysMenuStyle(true);
      RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      if (vcl::TCustomForm* parent = frame ? frame->Form : nullptr)
        for (int i = 0; i < parent->MDIChildCount(); ++i) {
          vcl::TCustomForm* child = parent->MDIChildren(i);
          if (child == Form || !child->HandleAllocated() || !IsZoomed(child->Handle())) continue;
          ShowWindow(child->Handle(), SW_SHOWNOACTIVATE);
          RedrawWindow(child->Handle(), nullptr, nullptr, RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
        }
      if (zoomed) RepaintMdiArea(false);
      if (SystemMenu) SystemMenu->UpdateItems(false);
      return;
    }
    default: return CallOldWndProc(Message);
  }
}

// ---------------------------------------------------------------------------------------
// Closing and shutting down

void TsSkinProvider::WMClose(vcl::TMessage& Message) {
  TsSkinManager* manager = SkinManager();
  const bool prepare = AllowAnimation() && manager && manager->AnimEffects()->FormHide()->Active() &&
                       DrawNonClientArea && !(ExtFlags & kExtHiding) && !Form->Parent();
  const TWatch alive = Watch();
  CallOldWndProc(Message);
  if (!prepare || !alive || BeingDestroyed(Form)) return;
  TqvBorderForm* border = ExtBorderForm();
  if (!border || !border->BorderWindow() || !IsWindowVisible(border->BorderWindow())) return;
  // The border window shows the closing picture while the form goes.
  ExtFlags |= kExtHiding;
  auto picture = FormSnapshot(true);
  SkinData->BGChanged = false;
  if (picture) {
    SetWindowRgn(border->BorderWindow(), MakeRgn(), FALSE);
    UpdateLayeredWnd(border->BorderWindow(), picture.get(),
                     Form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(Form->AlphaBlendValue(), 0, 255)) : 255);
  }
  ExtFlags &= ~kExtHiding;
}

void TsSkinProvider::WMQueryEndSession(vcl::TMessage& Message) {
  ProviderUnit().ShuttingDown = true;
  // Animations still running end first, but the shutdown never waits longer than a moment.
  if (!vcl::Application || !vcl::Application->Terminated())
    ProcessMessagesUntil([] { return !AnyAnimationRunning(); }, kShutdownWait);
  CallOldWndProc(Message);
}

// ---------------------------------------------------------------------------------------
// Creation, caption, icon, style, settings

void TsSkinProvider::WMCreate(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (Form->FormStyle() != vcl::fsMDIChild && Form->HandleAllocated()) InitMenuItems();
}

void TsSkinProvider::WMNCCreate(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (Form->FormStyle() != vcl::fsMDIChild && Form->HandleAllocated()) InitMenuItems();
}

void TsSkinProvider::WMSetText(vcl::TMessage& Message) {
  if (!Form->HandleAllocated() || !IsWindowVisible(Form->Handle())) return CallOldWndProc(Message);
  const HWND wnd = Form->Handle();
  TsSkinProvider* frame = MDIProvider();
  if (Form->FormStyle() == vcl::fsMDIChild && IsZoomed(wnd) && frame && frame != this) {
    // The title is the frame's.
    frame->SkinData->BGChanged = true;
    frame->ShowAnimForm();
    CallOldWndProc(Message);
    if (MDIProvider() != frame) return;
    frame->HideAnimForm();
    if (TqvBorderForm* border = frame->ExtBorderForm()) border->UpdateExBordersPos(true, 255);
    return;
  }
  // The system paints its caption with the new text: covered until the skinned one is there.
  SkinData->BGChanged = true;
  ShowAnimForm();
  const TWatch alive = Watch();
  CallOldWndProc(Message);
  if (!alive) return;
  RefreshNonClient();
  HideAnimForm();
  if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::WMSetIcon(vcl::TMessage& Message) {
  if (Loading(this) || !Message.LParam || (ExtFlags & kExtAnimations) || AnimationActive() || !Form->Showing() ||
      !Form->HandleAllocated() || AeroIsEnabled())
    return CallOldWndProc(Message);
  const HWND wnd = Form->Handle();
  // The system would paint its caption with the new icon.
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  const TWatch alive = Watch();
  CallOldWndProc(Message);
  if (!alive) return;
  SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  SkinData->BGChanged = true;
  RefreshNonClient();
}

void TsSkinProvider::WMSysColorChange(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  RebuildMainMenuBar();
}

void TsSkinProvider::WMSettingChange(vcl::TMessage& Message) {
  SkinData->BGChanged = true;
  if (Message.WParam == SPI_SETWORKAREA)
    if (auto* timer = dynamic_cast<TqvMinTimer*>(animator_.Timer()); timer && timer->Enabled()) timer->InitData();
  CallOldWndProc(Message);
}

void TsSkinProvider::WMStyleChanged(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (SystemMenu) {
    const bool icon = Form->BorderIcons().Contains(vcl::biSystemMenu);
    if (icon != SysMenuIconShown) {
      SysMenuIconShown = icon;
      SystemMenu->UpdateItems(false);
      RefreshNonClient();
      return;
    }
  }
  const auto* styles = reinterpret_cast<const STYLESTRUCT*>(Message.LParam);
  if (Message.WParam == static_cast<WPARAM>(GWL_EXSTYLE) && styles &&
      ((styles->styleOld ^ styles->styleNew) & WS_EX_LAYERED) &&
      !(ExtFlags & (kExtBlendMoving | kExtMinimizing | kExtRestoring)))
    if (TqvBorderForm* border = ExtBorderForm()) border->UpdateExBordersPos(true, 255);
}

void TsSkinProvider::CMEnabledChanged(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  if (!DrawNonClientArea || !Form->HandleAllocated()) return;
  if (TqvBorderForm* border = ExtBorderForm(); border && border->BorderWindow())
    EnableWindow(border->BorderWindow(), Form->Enabled());
  SkinData->BGChanged = true;
  SendMessageW(Form->Handle(), WM_NCPAINT, 1, 0);
}

void TsSkinProvider::CMMenuChanged(vcl::TMessage& Message) {
  const bool skip = !Form->Visible() || (SkinData->CtrlSkinState & kStateInUpdate);
  if (!skip) {
    MenuLineCount = -1;
    window_image_.FirstPaint = true;
    SkinData->BGChanged = true;
  }
  CallOldWndProc(Message);
}

void TsSkinProvider::CMRecreateWnd(vcl::TMessage& Message) { CallOldWndProc(Message); }

void TsSkinProvider::CMFloat(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  // Made again by the refresh, on the window the form floats in now.
  scroll_bars_.Free();
  if (TsSkinManager* manager = SkinManager(); manager && Form->HandleAllocated())
    SendMessageW(Form->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRefresh), reinterpret_cast<LPARAM>(manager));
}

// ---------------------------------------------------------------------------------------
// Controls that come later: the control adapter gives them their adapters

void TsSkinProvider::WMParentNotify(vcl::TMessage& Message) {
  const WORD event = Message.WParamLo();
  if ((event != WM_CREATE && event != WM_DESTROY) || ComponentState().Contains(vcl::csLoading) ||
      Form->ComponentState().Contains(vcl::csLoading))
    return CallOldWndProc(Message);
  CallOldWndProc(Message);
  if (event != WM_CREATE) return;
  if (CtrlAdapter && CtrlAdapter->Adapting()) {
    auto* control = dynamic_cast<vcl::TWinControl*>(vcl::FindControl(reinterpret_cast<HWND>(Message.LParam)));
    if (control && CtrlAdapter->Supports(control))
      CtrlAdapter->AddControl(control, vcl::String());
    else if (!control)
      CtrlAdapter->AddAllItems();
  }
  vcl::TMessage state = SkinCommandMessage(scmGetState, 1);
  BroadcastCommand(Form, state);
}

void TsSkinProvider::WMNotify(vcl::TMessage& Message) {
  CallOldWndProc(Message);
  // A tab page changed: the controls of the page shown now are adapted.
  const auto* header = reinterpret_cast<const NMHDR*>(Message.LParam);
  if (header && header->code == TCN_SELCHANGE && CtrlAdapter) CtrlAdapter->AddAllItems();
}

void TsSkinProvider::CMControlListChange(vcl::TMessage& Message) {
  auto* control = reinterpret_cast<vcl::TControl*>(Message.WParam);
  CallOldWndProc(Message);
  if (!control || Message.LParam == 0 || !CtrlAdapter || !CtrlAdapter->Adapting() || !CtrlAdapter->Supports(control))
    return;
  if (auto* win = dynamic_cast<vcl::TWinControl*>(control)) {
    CtrlAdapter->AddControl(win, vcl::String());
    vcl::TMessage state = SkinCommandMessage(scmGetState, 1);
    BroadcastCommand(win, state);
  } else if (auto* label = dynamic_cast<vcl::TLabel*>(control)) {
    SetLabelColor(label, true);
  } else if (auto* speed = dynamic_cast<vcl::TSpeedButton*>(control)) {
    CtrlAdapter->AddGraphControl(speed);
  }
  control->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetState), 1);
}

}  // namespace skin_layered
