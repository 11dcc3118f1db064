#include "classlib/controls/WindowSubclass.h"

#include <list>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <utility>

#include "classlib/controls/Controls.h"
#include "classlib/controls/ThreadWindow.h"

namespace vcl {

struct TWindowSubclass::TLink {
  TWindowSubclass* owner;  // null once detached; the link itself goes when no call runs the chain
};

struct TWindowSubclass::TChain {
  WNDPROC first = nullptr;  // the window's procedure before ours
  std::list<TLink> links;   // front: the last attached, called first; links never move
  int running = 0;          // calls of our procedure for this window in progress
  bool forgotten = false;   // out of the process's map (the window went, or ours came off)
};

struct TWindowSubclass::TFrame {
  TChain* chain;
  const TLink* link;
  HWND wnd;
  TFrame* outer;
  bool alive = true;       // false once the object was destroyed by the handler
  bool defaulted = false;  // the procedures below were called
};

// The chains of the process's subclassed windows by handle. Looked up on every message, so
// it is a plain map in memory; the lock covers threads attaching to their own windows.
class TSubclassChains {
 public:
  using TChain = TWindowSubclass::TChain;

  static std::shared_ptr<TChain> Find(HWND Wnd) {
    const std::lock_guard lock(Mutex());
    const auto it = Map().find(Wnd);
    return it == Map().end() ? nullptr : it->second;
  }
  static void Add(HWND Wnd, std::shared_ptr<TChain> Chain) {
    const std::lock_guard lock(Mutex());
    Map()[Wnd] = std::move(Chain);
  }
  // Calls still running keep the chain alive through their own reference.
  static void Forget(HWND Wnd, TChain& Chain) {
    Chain.forgotten = true;
    const std::lock_guard lock(Mutex());
    const auto it = Map().find(Wnd);
    if (it != Map().end() && it->second.get() == &Chain) Map().erase(it);
  }

 private:
  // Never freed: a window may still be destroyed while the process's statics are torn down
  // after main returns, and its last messages must find a live map.
  static std::mutex& Mutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
  }
  static std::unordered_map<HWND, std::shared_ptr<TChain>>& Map() {
    static auto* map = new std::unordered_map<HWND, std::shared_ptr<TChain>>;
    return *map;
  }
};

namespace {

// Counts one call of our procedure for the window, also when it leaves by an exception.
class TRunningCall {
 public:
  explicit TRunningCall(int& Running) : running_(Running) { ++running_; }
  ~TRunningCall() { --running_; }
  TRunningCall(const TRunningCall&) = delete;
  TRunningCall& operator=(const TRunningCall&) = delete;

 private:
  int& running_;
};

}  // namespace

TWindowSubclass::~TWindowSubclass() {
  // Running calls of the handler must not touch this object again.
  for (TFrame* f = frames_; f; f = f->outer) f->alive = false;
  Detach();
}

bool TWindowSubclass::Attach(HWND Wnd, TWndMethod Method) {
  Detach();
  if (!IsWindow(Wnd) || !IsThreadWindow(Wnd)) return false;
  std::shared_ptr<TChain> chain = TSubclassChains::Find(Wnd);
  if (!chain) {
    chain = std::make_shared<TChain>();
    SetLastError(0);
    const LONG_PTR before = SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    if (!before && GetLastError() != 0) return false;
    chain->first = reinterpret_cast<WNDPROC>(before);
    TSubclassChains::Add(Wnd, chain);
  }
  chain->links.push_front(TLink{this});
  method_ = Method;
  wnd_ = Wnd;
  link_ = &chain->links.front();
  detail::CountLive(TLiveKind::Subclasses, 1);
  return true;
}

void TWindowSubclass::Detach() {
  if (!wnd_) return;
  const HWND wnd = std::exchange(wnd_, nullptr);
  std::exchange(link_, nullptr)->owner = nullptr;
  detail::CountLive(TLiveKind::Subclasses, -1);
  const std::shared_ptr<TChain> chain = TSubclassChains::Find(wnd);
  if (chain && chain->running == 0) Settle(*chain, wnd);
}

void TWindowSubclass::Settle(TChain& Chain, HWND Wnd) {
  Chain.links.remove_if([](const TLink& l) { return l.owner == nullptr; });
  if (!Chain.links.empty() || Chain.forgotten) return;
  if (!IsWindow(Wnd)) {
    TSubclassChains::Forget(Wnd, Chain);
  } else if (GetWindowLongPtrW(Wnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&Proc)) {
    SetWindowLongPtrW(Wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Chain.first));
    TSubclassChains::Forget(Wnd, Chain);
  }
  // Otherwise a procedure set over ours still calls it: it stays, passing everything on.
}

LRESULT CALLBACK TWindowSubclass::Proc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  const std::shared_ptr<TChain> chain = TSubclassChains::Find(Wnd);
  if (!chain) return DefWindowProcW(Wnd, Msg, WParam, LParam);  // only a stale caller gets here
  LRESULT result;
  {
    const TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
    const TRunningCall call(chain->running);
    result = CallBelow(*chain, nullptr, Wnd, Msg, WParam, LParam);
  }
  if (Msg == WM_NCDESTROY && !chain->forgotten) {
    // The window is going: every subclass leaves with it, and the handle may come back.
    for (TLink& link : chain->links) {
      if (TWindowSubclass* owner = std::exchange(link.owner, nullptr)) {
        owner->wnd_ = nullptr;
        owner->link_ = nullptr;
        detail::CountLive(TLiveKind::Subclasses, -1);
      }
    }
    TSubclassChains::Forget(Wnd, *chain);
  }
  if (chain->running == 0) Settle(*chain, Wnd);
  return result;
}

LRESULT TWindowSubclass::CallBelow(TChain& Chain, const TLink* Above, HWND Wnd, UINT Msg, WPARAM WParam,
                                   LPARAM LParam) {
  auto it = Chain.links.begin();
  if (Above) {
    while (it != Chain.links.end() && &*it != Above) ++it;
    if (it != Chain.links.end()) ++it;
  }
  for (; it != Chain.links.end(); ++it)
    if (it->owner) return it->owner->Run(Chain, *it, Wnd, Msg, WParam, LParam);
  return CallWindowProcW(Chain.first, Wnd, Msg, WParam, LParam);
}

void TWindowSubclass::CallDefault(TMessage& Message) const {
  TFrame* frame = frames_;
  if (!frame) {
    Message.Result = 0;
    return;
  }
  frame->defaulted = true;
  Message.Result = CallBelow(*frame->chain, frame->link, frame->wnd, Message.Msg, Message.WParam, Message.LParam);
}

LRESULT TWindowSubclass::Run(TChain& Chain, TLink& Link, HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  TMessage m{Msg, WParam, LParam, 0};
  TFrame frame{&Chain, &Link, Wnd, frames_};
  // The frame is unlinked again below, before it goes out of scope.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdangling-pointer"
  frames_ = &frame;
#pragma GCC diagnostic pop
  bool failed = false;
  try {
    if (method_)
      method_(m);
    else
      CallDefault(m);
  } catch (...) {
    failed = true;
    HandleControlException(nullptr);
  }
  // From here on only the frame and the arguments are used unless the object still lives.
  if (frame.alive) frames_ = frame.outer;
  // A handler that failed before passing the message on: the window still gets its default.
  if (failed && !frame.defaulted) m.Result = CallBelow(Chain, &Link, Wnd, Msg, WParam, LParam);
  return m.Result;
}

}  // namespace vcl
