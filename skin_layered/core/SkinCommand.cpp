#include "skin_layered/core/SkinCommand.h"

#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/AnimationFlag.h"

namespace skin_layered {
namespace {

bool Destroying(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }
bool Designing(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDesigning); }

// The control's children as they are now; a receiver may add or remove children meanwhile.
std::vector<vcl::TControl*> ChildrenOf(const vcl::TWinControl* Control) {
  std::vector<vcl::TControl*> children;
  children.reserve(static_cast<std::size_t>(Control->ControlCount()));
  for (int i = 0; i < Control->ControlCount(); ++i) children.push_back(Control->Controls(i));
  return children;
}

// Whether Child is still one of Control's children (compared by address only: a child that
// was freed is never touched).
bool StillChildOf(const vcl::TWinControl* Control, const vcl::TControl* Child) {
  for (int i = 0; i < Control->ControlCount(); ++i)
    if (Control->Controls(i) == Child) return true;
  return false;
}

}  // namespace

LRESULT SendCommandToWnd(HWND Wnd, int Command, LPARAM LParam) {
  if (!Wnd) return 0;
  return SendMessageW(Wnd, kSkinCmdMessage, SkinCommandWParam(Command), LParam);
}

LRESULT SendCommandToCtrl(vcl::TControl* Control, int Command, LPARAM LParam) {
  if (!Control) return 0;
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
  if (!windowed) return Control->Perform(kSkinCmdMessage, SkinCommandWParam(Command), LParam);
  if (windowed->ComponentState().Contains(vcl::csDestroying) || !windowed->HandleAllocated()) return 0;
  return SendMessageW(windowed->Handle(), kSkinCmdMessage, SkinCommandWParam(Command), LParam);
}

LRESULT SendCommandToCtrl0(vcl::TControl* Control, int Command) { return SendCommandToCtrl(Control, Command, 0); }

bool GetBoolCommand(HWND Wnd, int Command) { return Wnd && SendCommandToWnd(Wnd, Command, 0) == 1; }

vcl::TColor GetControlColor(vcl::TControl* Control) {
  if (!Control) return kNoColorAnswer;
  if (Control->Perform(kSkinCmdMessage, SkinCommandWParam(scmIsSkinned), 0) == 1)
    return vcl::ColorToRGB(
        static_cast<vcl::TColor>(Control->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetColor), kNoColorAnswer)));
  return vcl::ColorToRGB(Control->Color());
}

vcl::TColor GetWndColor(HWND Wnd) {
  if (!Wnd || !GetBoolCommand(Wnd, scmIsSkinned)) return kNoColorAnswer;
  return vcl::ColorToRGB(static_cast<vcl::TColor>(SendCommandToWnd(Wnd, scmGetColor, kNoColorAnswer)));
}

void RepaintChildControls(vcl::TWinControl* Control) {
  if (!Control || Designing(Control) || AnimationActive()) return;
  for (vcl::TControl* child : ChildrenOf(Control)) {
    if (!StillChildOf(Control, child) || Destroying(child)) continue;
    if (auto* windowed = dynamic_cast<vcl::TWinControl*>(child)) {
      if (windowed->HandleAllocated() && windowed->Showing())
        SendMessageW(windowed->Handle(), kSkinCmdMessage, SkinCommandWParam(scmRepaint), 0);
    } else {
      child->Perform(kSkinCmdMessage, SkinCommandWParam(scmRepaint), 0);
    }
  }
}

void RepaintChildWnds(HWND Wnd) {
  if (!Wnd) return;
  for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) SendCommandToWnd(child, scmRepaint, 0);
}

void NotifyFormOfControl(vcl::TControl* Control) {
  if (!Control || Designing(Control) || Control->ComponentState().Contains(vcl::csLoading)) return;
  vcl::TCustomForm* form = vcl::GetParentForm(Control);
  if (!form || !form->HandleAllocated()) return;
  SendCommandToWnd(form->Handle(), scmCtrlNotify, reinterpret_cast<LPARAM>(Control));
}

void BroadcastCommand(vcl::TWinControl* Control, vcl::TMessage& Message) {
  if (!Control) return;
  for (vcl::TControl* child : ChildrenOf(Control)) {
    if (!StillChildOf(Control, child) || Destroying(child)) continue;
    auto* windowed = dynamic_cast<vcl::TWinControl*>(child);
    if (!windowed || !windowed->HandleAllocated()) {
      Message.Result = child->Perform(Message.Msg, Message.WParam, Message.LParam);
    } else if (SendCommandToCtrl0(windowed, scmIsSkinned) & 0xFF) {
      Message.Result = SendMessageW(windowed->Handle(), Message.Msg, Message.WParam, Message.LParam);
    } else {
      BroadcastCommand(windowed, Message);
    }
  }
}

void BroadcastToChildWnds(HWND Wnd, vcl::TMessage& Message) {
  if (!Wnd) return;
  struct TWalk {
    HWND Parent;
    vcl::TMessage* Message;
  } walk{Wnd, &Message};
  EnumChildWindows(
      Wnd,
      [](HWND child, LPARAM data) -> BOOL {
        auto* w = reinterpret_cast<TWalk*>(data);
        if (GetParent(child) == w->Parent)
          w->Message->Result = SendMessageW(child, w->Message->Msg, w->Message->WParam, w->Message->LParam);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&walk));
}

bool SectionChangedNames(LPARAM LParam, vcl::StringView SkinSection) {
  if (!LParam) return false;
  return vcl::UpperCase(reinterpret_cast<const wchar_t*>(LParam)) == vcl::UpperCase(SkinSection);
}

}  // namespace skin_layered
