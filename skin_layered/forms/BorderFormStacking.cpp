// The border window's place in z-order: right beside its owner's window, as the system stacks
// windows and as the display shows them. A display that stacks windows only by raising one
// over all of them (Wine's X display) never moves a window down, and makes a window it
// creates, or shows while no shown window lies above it in the system's order, the top one;
// the window the system moves to the top it raises too, but not the owner the system keeps
// under the windows it owns. Such a display also tells the system where a window it raised
// came to view, and the system then stacks that window over the windows it finds there: so
// only the windows that must rise are raised, each over windows that stay below it (a window
// raised and covered again would be stacked over those covering it once the display's word
// comes in).
#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {
namespace {

// Posted to the border window: its place is seen to once what asked for it is over.
constexpr UINT kStackingRequest = WM_APP + 0x5B0;
constexpr UINT kRaising = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// Windows are being raised in turn: the restacking that makes is no one else's doing.
int g_restacking = 0;

HWND NextShown(HWND Wnd, UINT Direction) {
  HWND w = GetWindow(Wnd, Direction);
  while (w && !IsWindowVisible(w)) w = GetWindow(w, Direction);
  return w;
}

// No shown window lies between the border window and its owner.
bool BesideOwner(HWND Border, HWND Owner) {
  return NextShown(Border, GW_HWNDNEXT) == Owner || NextShown(Border, GW_HWNDPREV) == Owner;
}

// The live border forms of the program (GUI thread only).
std::vector<TqvBorderForm*>& LiveBorderForms() {
  static std::vector<TqvBorderForm*> forms;
  return forms;
}

// Raises Wnd over every window on its own. The system keeps the windows Wnd owns above it:
// moved up, whatever the flags say, it goes right under the windows it owns, which are raised
// first, and a display that stacks only by raising then raises the first of them and not Wnd.
// They are let go of while it rises and given back their owner at once.
void RaiseAlone(HWND Wnd) {
  std::vector<HWND> owned;
  for (HWND w = GetWindow(Wnd, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
    if (GetWindow(w, GW_OWNER) == Wnd) owned.push_back(w);
  for (HWND w : owned) SetWindowLongPtrW(w, GWLP_HWNDPARENT, 0);
  SetWindowPos(Wnd, HWND_TOP, 0, 0, 0, 0, kRaising);
  for (HWND w : owned)
    if (IsWindow(w)) SetWindowLongPtrW(w, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Wnd));
}

// Raises the windows from the lowest up, each on its own: the system's order and the
// display's both end as given.
void RaiseInOrder(const std::vector<HWND>& BottomUp) {
  ++g_restacking;
  const vcl::TScopeExit done([] { --g_restacking; });
  for (HWND w : BottomUp) {
    if (!IsWindow(w)) continue;
    RaiseAlone(w);
  }
}

}  // namespace

bool TqvBorderForm::Restacking() { return g_restacking > 0; }

bool TqvBorderForm::StackingHeld() const {
  const HWND wnd = BorderWindow(), owner = ParentHandle();
  // A stay-on-top or topmost owner keeps its border window where its own rules put it, and an
  // animation owns the border window meanwhile.
  return !wnd || !owner || Busy || !IsWindowVisible(wnd) || !IsWindowVisible(owner) || IsIconic(owner) ||
         ZOrderAfter() != owner || (State() & kBorderAnimations) != 0 || !DisplayStacksByRaising();
}

void TqvBorderForm::Register(TqvBorderForm* Form, bool Live) {
  std::vector<TqvBorderForm*>& forms = LiveBorderForms();
  std::erase(forms, Form);
  if (Live) forms.push_back(Form);
}

std::optional<std::vector<HWND>> TqvBorderForm::WindowsAbove(HWND Owner) {
  auto borderOf = [](HWND Wnd) -> HWND {
    for (const TqvBorderForm* form : LiveBorderForms())
      if (form->ParentHandle() == Wnd) return form->BorderWindow();
    return nullptr;
  };
  auto isBorder = [](HWND Wnd) {
    return std::any_of(LiveBorderForms().begin(), LiveBorderForms().end(),
                       [Wnd](const TqvBorderForm* f) { return f->BorderWindow() == Wnd; });
  };
  std::vector<HWND> order;
  for (HWND w = GetTopWindow(nullptr); w && w != Owner; w = GetWindow(w, GW_HWNDNEXT)) {
    if (isBorder(w) || !IsWindowVisible(w)) continue;
    // A window of another thread cannot be placed without waiting on it.
    if (GetWindowThreadProcessId(w, nullptr) != GetCurrentThreadId()) return std::nullopt;
    // A border window right over its owner, as the system keeps a window it owns.
    if (const HWND border = borderOf(w); border && IsWindowVisible(border)) order.push_back(border);
    order.push_back(w);
  }
  std::reverse(order.begin(), order.end());
  return order;
}

void TqvBorderForm::Raise(const std::vector<HWND>& BottomUp) {
  if (BottomUp.empty() || Restacking()) return;
  // What the raising makes the windows do may take this border form away.
  const vcl::TLifetime::TWatch alive = lifetime_.Watch();
  const bool busy = std::exchange(Busy, true);
  RaiseInOrder(BottomUp);
  if (alive) Busy = busy;
}

void TqvBorderForm::StackBesideOwner(bool Shown) {
  if (StackingHeld()) return;
  const HWND wnd = BorderWindow(), owner = ParentHandle();
  if (!Shown && BesideOwner(wnd, owner)) return;
  const auto above = WindowsAbove(owner);
  if (!above) return;
  if (above->empty()) {
    // The owner is the top window: it rises (where the system moved it up under the windows it
    // owns, the display left it), then its border window over it.
    Raise({owner, wnd});
  } else if (Shown) {
    // Shown over every window on the display: the windows above its owner rise over it again,
    // the lowest first; the owner and those below stay.
    Raise(*above);
  } else {
    // Apart only in the system's order (the display had it restack a window that came to
    // view): put back there alone, which the display does not follow.
    Busy = true;
    const vcl::TScopeExit idle([this] { Busy = false; });
    SetWindowPos(wnd, owner, 0, 0, 0, 0, kRaising);
  }
}

void TqvBorderForm::StackShownBesideOwner() {
  stacking_shown_ = true;
  RequestStacking();
}

void TqvBorderForm::RequestStacking() {
  const HWND wnd = BorderWindow();
  if (!wnd || !DisplayStacksByRaising() || stacking_posted_) return;
  stacking_posted_ = PostMessageW(wnd, kStackingRequest, 0, 0) != FALSE;
}

bool TqvBorderForm::StackingMessage(vcl::TMessage& Message) {
  if (Message.Msg != kStackingRequest) return false;
  Message.Result = 0;
  stacking_posted_ = false;
  StackBesideOwner(std::exchange(stacking_shown_, false));
  WatchStacking();
  return true;
}

void TqvBorderForm::Restacked(const WINDOWPOS* Pos) {
  // Moved by another window's doing (the system moves the windows an owner owns when the owner
  // is moved): the display may show it apart from its owner.
  if (Pos && !(Pos->flags & SWP_NOZORDER) && !Busy && !Restacking()) RequestStacking();
}

void TqvBorderForm::WatchStacking() {
  if (!DisplayStacksByRaising()) return;
  if (!stacking_timer_) {
    stacking_timer_ = std::make_unique<vcl::TTimer>(nullptr);
    stacking_timer_->SetInterval(kStackingInterval);
    stacking_timer_->OnTimer = vcl::TNotifyEvent::Bind<&TqvBorderForm::StackingTick>(this);
  }
  stacking_ticks_ = 0;
  stacking_timer_->SetEnabled(true);
}

void TqvBorderForm::StackingTick(vcl::TObject*) {
  const HWND wnd = BorderWindow(), owner = ParentHandle();
  if (!wnd || !owner || !IsWindowVisible(wnd) || IsIconic(owner) || ++stacking_ticks_ > kStackingTicks) {
    stacking_timer_->SetEnabled(false);
    return;
  }
  if (!Restacking() && !stacking_posted_) StackBesideOwner(false);
}

}  // namespace skin_layered
