// Spies on the skin command message: a hook in front of a control's WindowProc that answers
// scmIsSkinned (when the control plays a skinned one) and counts every other sub-command it
// receives, with an optional action run on receipt.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/SkinCommand.h"

namespace skin_layered::test {

class CommandSpy {
 public:
  CommandSpy(vcl::TControl* control, bool skinned) : skinned_(skinned) {
    hook_.Install(control, vcl::TWndMethod::Bind<&CommandSpy::WndProc>(this));
  }
  CommandSpy(const CommandSpy&) = delete;
  CommandSpy& operator=(const CommandSpy&) = delete;

  int Count(int command) const {
    const auto it = counts_.find(command);
    return it == counts_.end() ? 0 : it->second;
  }
  // Run when the command arrives (after counting).
  std::function<void()> onCommand;
  // Answers for commands other than scmIsSkinned.
  std::map<int, LRESULT> answers;
  LPARAM lastLParam = 0;
  UINT setRedraw = 0;  // WM_SETREDRAW messages seen
  std::vector<WPARAM> redrawValues;

 private:
  void WndProc(vcl::TMessage& message) {
    if (message.Msg == WM_SETREDRAW) {
      ++setRedraw;
      redrawValues.push_back(message.WParam);
    }
    if (message.Msg != kSkinCmdMessage) {
      hook_.CallPrevious(message);
      return;
    }
    const int command = SkinCommandOf(message.WParam);
    if (command == scmIsSkinned) {
      message.Result = skinned_ ? 1 : 0;
      return;
    }
    ++counts_[command];
    lastLParam = message.LParam;
    const auto it = answers.find(command);
    message.Result = it == answers.end() ? 0 : it->second;
    if (onCommand) onCommand();
  }

  bool skinned_;
  vcl::TWindowProcHook hook_;
  std::map<int, int> counts_;
};

// A form without description that is freed at the end of the scope (unless freed before).
inline std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> NewForm() {
  auto* form = new vcl::TForm(vcl::Application, 0);
  form->SetBounds(10, 10, 300, 200);
  return {form, [](vcl::TForm* f) { vcl::TObject::Free(f); }};
}

}  // namespace skin_layered::test
