// The lifetime of the windows of controls, announced to whoever subscribes (the skin
// engines): a control's window was created (its handle attached, the control's own set-up
// done, not yet shown) or is about to be destroyed (still whole). Both are announced for
// every window a control gets, also when it is re-created (RecreateWnd, a change of parent)
// and when the system destroys it with its parent window.
#pragma once

#include "classlib/controls/Messages.h"

namespace vcl {

class TWinControl;

enum class TWindowEvent { weCreated, weDestroying };
using enum TWindowEvent;

using TWindowEventHandler = Event<void(TWinControl* Control, TWindowEvent What)>;

namespace detail {
// Called by the control core.
void AnnounceWindowEvent(TWinControl* Control, TWindowEvent What);
}  // namespace detail

// A subscription, for as long as the object lives. Handlers run in subscription order; one
// that raises has its exception shown and the others still run.
class TWindowEventLink {
 public:
  explicit TWindowEventLink(TWindowEventHandler Handler);
  ~TWindowEventLink();
  TWindowEventLink(const TWindowEventLink&) = delete;
  TWindowEventLink& operator=(const TWindowEventLink&) = delete;

 private:
  friend void detail::AnnounceWindowEvent(TWinControl* Control, TWindowEvent What);
  TWindowEventHandler handler_;
};

}  // namespace vcl
