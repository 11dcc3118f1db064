// Shared by the form skinning's tests: a spy in the form's window procedure below or above the
// provider, counting the messages that reach it, and a synthetic layered skin with the form's
// sections in flat colours.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "classlib/controls/WindowProcHook.h"
#include "skin_layered/forms/SkinProvider.h"
#include "manager_support.h"

namespace skin_layered::test {

// Counts what reaches its place in a control's WindowProc chain; answers what `answers` says
// instead of passing those messages on.
class MessageSpy {
 public:
  explicit MessageSpy(vcl::TControl* control) {
    hook_.Install(control, vcl::TWndMethod::Bind<&MessageSpy::WndProc>(this));
  }
  MessageSpy(const MessageSpy&) = delete;
  MessageSpy& operator=(const MessageSpy&) = delete;

  int Count(UINT msg) const {
    const auto it = counts_.find(msg);
    return it == counts_.end() ? 0 : it->second;
  }
  std::map<UINT, LRESULT> answers;
  vcl::TWindowProcHook& Hook() { return hook_; }

 private:
  void WndProc(vcl::TMessage& message) {
    ++counts_[message.Msg];
    if (const auto it = answers.find(message.Msg); it != answers.end()) {
      message.Result = it->second;
      return;
    }
    hook_.CallPrevious(message);
  }
  vcl::TWindowProcHook hook_;
  std::map<UINT, int> counts_;
};

// Catches the messages of a kind that reach the form (on top of its provider) with their
// WParam; they go no further.
class Catcher {
 public:
  Catcher(vcl::TControl* control, UINT msg) : msg_(msg) {
    hook_.Install(control, vcl::TWndMethod::Bind<&Catcher::WndProc>(this));
  }
  std::vector<WPARAM> caught;

 private:
  void WndProc(vcl::TMessage& m) {
    if (m.Msg == msg_) {
      caught.push_back(m.WParam);
      m.Result = 0;
      return;
    }
    hook_.CallPrevious(m);
  }
  UINT msg_;
  vcl::TWindowProcHook hook_;
};

// The form's sections: the form with a gradient share, its title and caption.
inline std::string FormSkinText(const std::string& extra = {}) {
  return SkinText("[FORM]\r\nCOLOR=$A0B0C0\r\nFONTCOLOR=$101010\r\nGRADIENTPERCENT=50\r\nSTATES=2\r\n"
                  "[FORMTITLE]\r\nCOLOR=$3060C0\r\n[CAPTION]\r\nCOLOR=$203040\r\n"
                  "[DIALOG]\r\nCOLOR=$C0C0C0\r\n" +
                  extra);
}

inline LRESULT Command(HWND wnd, int command, LPARAM lparam = 0, std::uint16_t low = 0) {
  return SendMessageW(wnd, kSkinCmdMessage, SkinCommandWParam(command, low), lparam);
}

struct ProviderDeleter {
  void operator()(TsSkinProvider* p) const { vcl::TObject::Free(p); }
};
using ProviderPtr = std::unique_ptr<TsSkinProvider, ProviderDeleter>;

inline ProviderPtr NewProvider(vcl::TComponent* owner) {
  return ProviderPtr(vcl::Construct<TsSkinProvider>(owner));
}

}  // namespace skin_layered::test
