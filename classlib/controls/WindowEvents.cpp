#include "classlib/controls/WindowEvents.h"

#include <algorithm>
#include <vector>

#include "classlib/controls/Controls.h"

namespace vcl {

namespace {

std::vector<TWindowEventLink*>& Links() {
  static std::vector<TWindowEventLink*> links;
  return links;
}

}  // namespace

TWindowEventLink::TWindowEventLink(TWindowEventHandler Handler) : handler_(Handler) { Links().push_back(this); }

TWindowEventLink::~TWindowEventLink() { std::erase(Links(), this); }

namespace detail {

void AnnounceWindowEvent(TWinControl* Control, TWindowEvent What) {
  // A handler may subscribe or unsubscribe others: each link is looked for again before it
  // is called.
  const std::vector<TWindowEventLink*> snapshot = Links();
  for (TWindowEventLink* link : snapshot) {
    const auto& links = Links();
    if (std::find(links.begin(), links.end(), link) == links.end() || !link->handler_) continue;
    try {
      link->handler_(Control, What);
    } catch (...) {
      HandleControlException(Control);
    }
  }
}

}  // namespace detail

}  // namespace vcl
