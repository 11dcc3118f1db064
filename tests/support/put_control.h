// A library control put on a parent in one line.
#pragma once

#include "classlib/controls/Controls.h"

namespace wintest {

// T made (owned by Owner, else by the parent), put on Parent at (x, y) sized w x h.
template <class T>
T* Put(vcl::TWinControl* Parent, int x, int y, int w, int h, vcl::TComponent* Owner = nullptr) {
  auto* c = new T(Owner ? Owner : Parent);
  c->SetParent(Parent);
  c->SetBounds(x, y, w, h);
  return c;
}

}  // namespace wintest
