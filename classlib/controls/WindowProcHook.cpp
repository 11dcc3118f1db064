#include "classlib/controls/WindowProcHook.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "classlib/controls/Controls.h"

namespace vcl {

namespace detail {

// One place in a control's chain of WindowProc replacements. The control's WindowProc (or
// the link above) calls Call; the link calls its hook's method, which calls Previous. A link
// whose hook was removed while it could not be unlinked stays as a pass-through (no method,
// no hook) until the control goes.
struct THookLink {
  TControl* control = nullptr;
  TWndMethod method;
  TWndMethod previous;
  TWindowProcHook* hook = nullptr;

  THookLink() noexcept { CountLive(TLiveKind::WindowProcHooks, 1); }
  ~THookLink() { CountLive(TLiveKind::WindowProcHooks, -1); }
  THookLink(const THookLink&) = delete;
  THookLink& operator=(const THookLink&) = delete;

  TWndMethod Self() { return TWndMethod::Bind<&THookLink::Call>(this); }

  // Nothing of the link is read once the method runs: the method may remove its hook.
  void Call(TMessage& Message) {
    if (method)
      method(Message);
    else
      CallPrevious(Message);
  }

  void CallPrevious(TMessage& Message) const {
    if (previous)
      previous(Message);
    else if (control)
      control->WndProc(Message);
  }
};

namespace {

std::unordered_map<TControl*, std::vector<THookLink*>>& Chains() {
  static std::unordered_map<TControl*, std::vector<THookLink*>> chains;
  return chains;
}

void Forget(THookLink* link) {
  auto& chains = Chains();
  auto it = chains.find(link->control);
  if (it == chains.end()) return;
  std::erase(it->second, link);
  if (it->second.empty()) chains.erase(it);
}

// Takes a link out of its control's chain: answers false when something that is not a link
// sits above it holding it as its previous method.
bool Unlink(THookLink* link) {
  TControl* control = link->control;
  const TWndMethod self = link->Self();
  if (control->WindowProc == self) {
    control->WindowProc = link->previous;
    return true;
  }
  auto it = Chains().find(control);
  if (it == Chains().end()) return false;
  for (THookLink* above : it->second)
    if (above != link && above->previous == self) {
      above->previous = link->previous;
      return true;
    }
  return false;
}

// Pass-throughs left behind earlier leave the chain as soon as nothing foreign holds them.
void DropPassThroughs(TControl* control) {
  for (bool dropped = true; dropped;) {
    dropped = false;
    auto it = Chains().find(control);
    if (it == Chains().end()) return;
    for (THookLink* link : it->second) {
      if (link->hook || !Unlink(link)) continue;
      Forget(link);
      delete link;
      dropped = true;
      break;
    }
  }
}

}  // namespace

void ReleaseWindowProcHooks(TControl* Control) {
  auto& chains = Chains();
  auto it = chains.find(Control);
  if (it == chains.end()) return;
  const std::vector<THookLink*> links = std::move(it->second);
  chains.erase(it);
  for (THookLink* link : links) {
    if (link->hook) {
      link->control = nullptr;  // the hook frees its link when removed
      link->previous = nullptr;
    } else {
      delete link;
    }
  }
}

}  // namespace detail

void TWindowProcHook::Install(TControl* Control, TWndMethod Method) {
  Remove();
  removed_control_ = nullptr;
  removed_previous_ = nullptr;
  if (!Control) return;
  detail::DropPassThroughs(Control);
  auto* link = new detail::THookLink;
  link->control = Control;
  link->method = Method;
  link->previous = Control->WindowProc;
  link->hook = this;
  detail::Chains()[Control].push_back(link);
  Control->WindowProc = link->Self();
  link_ = link;
}

void TWindowProcHook::Remove() {
  detail::THookLink* link = link_;
  if (!link) return;
  link_ = nullptr;
  removed_control_ = link->control;
  removed_previous_ = link->previous;
  if (!link->control) {  // the control went first
    delete link;
    return;
  }
  if (detail::Unlink(link)) {
    detail::Forget(link);
    TControl* control = link->control;
    delete link;
    detail::DropPassThroughs(control);
  } else {
    link->hook = nullptr;
    link->method = nullptr;
  }
}

TControl* TWindowProcHook::Control() const { return link_ ? link_->control : nullptr; }

bool TWindowProcHook::OnTop() const {
  return link_ && link_->control && link_->control->WindowProc == link_->Self();
}

void TWindowProcHook::CallPrevious(TMessage& Message) const {
  if (link_) {
    link_->CallPrevious(Message);
  } else if (removed_previous_) {
    removed_previous_(Message);
  } else if (removed_control_) {
    removed_control_->WndProc(Message);
  }
}

}  // namespace vcl
