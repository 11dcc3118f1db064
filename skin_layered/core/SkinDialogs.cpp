#include "skin_layered/core/SkinDialogs.h"

#include <array>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"

namespace skin_layered {

namespace {

constexpr std::array<vcl::StringView, 4> kCaptions{L"Warning", L"Error", L"Information", L"Confirm"};
constexpr std::array<UINT, 4> kIcons{MB_ICONEXCLAMATION, MB_ICONHAND, MB_ICONASTERISK, MB_ICONQUESTION};

// The thread's enabled, visible top-level windows are disabled for the box's lifetime.
class TaskWindowsDisabled {
 public:
  TaskWindowsDisabled() { EnumThreadWindows(GetCurrentThreadId(), &Disable, reinterpret_cast<LPARAM>(&windows_)); }
  ~TaskWindowsDisabled() {
    for (HWND wnd : windows_)
      if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
  }
  TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
  TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK Disable(HWND wnd, LPARAM data) {
    if (IsWindowVisible(wnd) && IsWindowEnabled(wnd)) {
      reinterpret_cast<std::vector<HWND>*>(data)->push_back(wnd);
      EnableWindow(wnd, FALSE);
    }
    return TRUE;
  }
  std::vector<HWND> windows_;
};

void CALLBACK HelpCallback(LPHELPINFO Info) {
  if (Info && Info->dwContextId != 0 && vcl::Application)
    vcl::Application->HelpContext(static_cast<int>(Info->dwContextId));
}

}  // namespace

vcl::StringView MessageCaption(int Type) {
  return Type >= 0 && Type < static_cast<int>(kCaptions.size()) ? kCaptions[static_cast<std::size_t>(Type)]
                                                                : vcl::StringView();
}

UINT MessageBoxStyle(int Type, TMsgDlgButtons Buttons) {
  using enum TMsgDlgBtn;
  UINT style = Type >= 0 && Type < static_cast<int>(kIcons.size()) ? kIcons[static_cast<std::size_t>(Type)] : 0;
  if (Buttons.Contains(mbOK))
    style |= Buttons.Contains(mbCancel) ? MB_OKCANCEL : MB_OK;
  else if (Buttons.Contains(mbAbort) || Buttons.Contains(mbIgnore))
    style |= MB_ABORTRETRYIGNORE;
  else if (Buttons.Contains(mbYes) || Buttons.Contains(mbNo))
    style |= Buttons.Contains(mbCancel) ? MB_YESNOCANCEL : MB_YESNO;
  else if (Buttons.Contains(mbRetry))
    style |= MB_RETRYCANCEL;
  if (Buttons.Contains(mbHelp)) style |= MB_HELP;
  return style;
}

int MessageDlgEx(const vcl::String& Title, const vcl::String& Text, int Type, int X, int Y, int HelpContext,
                 TMsgDlgButtons Buttons) {
  const vcl::String caption = Title.empty() ? vcl::String(MessageCaption(Type)) : Title;
  DialogPosX = X;
  DialogPosY = Y;
  const vcl::TScopeExit position_reset([] {
    DialogPosX = -1;
    DialogPosY = -1;
  });

  if (vcl::Application) vcl::Application->ModalStarted();
  const vcl::TScopeExit modal_end([] {
    if (vcl::Application) vcl::Application->ModalFinished();
  });

  MSGBOXPARAMSW params{};
  params.cbSize = sizeof params;
  vcl::TCustomForm* active = vcl::Screen ? vcl::Screen->ActiveCustomForm() : nullptr;
  params.hwndOwner = active && active->HandleAllocated() ? active->Handle() : nullptr;
  params.hInstance = GetModuleHandleW(nullptr);
  params.lpszText = Text.c_str();
  params.lpszCaption = caption.c_str();
  params.dwStyle = MessageBoxStyle(Type, Buttons);
  params.dwContextHelpId = static_cast<DWORD_PTR>(static_cast<unsigned>(HelpContext));
  params.lpfnMsgBoxCallback = HelpContext != 0 ? &HelpCallback : nullptr;

  const HWND activeWindow = GetActiveWindow();
  int result = 0;
  {
    const TaskWindowsDisabled disabled;
    result = vcl::ShowMessageBoxIndirect(params);
  }
  // Focus goes back to the window that had it, announced afresh.
  SetFocus(nullptr);
  if (activeWindow && IsWindow(activeWindow)) SetFocus(activeWindow);
  return result;
}

int ShowMessageEx(const vcl::String& Text, int Type, TMsgDlgButtons Buttons, int HelpContext) {
  return MessageDlgEx(vcl::String(), Text, Type, -1, -1, HelpContext, Buttons);
}

void ShowWarning(const vcl::String& Text) { ShowMessageEx(Text, kMessageWarning, {TMsgDlgBtn::mbOK}, 0); }

}  // namespace skin_layered
