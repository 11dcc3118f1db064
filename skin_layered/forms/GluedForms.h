// The process-wide list of glued forms: which form drags which along while it moves, and at
// what offset. Providers refresh and walk it as their forms move; a form leaves it when its
// provider goes.
#pragma once

#include <vector>

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

struct TqvGluedRecord {
  vcl::TCustomForm* Master = nullptr;  // the form that drags
  vcl::TCustomForm* Glued = nullptr;   // the form dragged along
  int OffsetX = 0;                     // Glued.Left - Master.Left when made or refreshed
  int OffsetY = 0;                     // Glued.Top - Master.Top
};

std::vector<TqvGluedRecord>& GluedList();

// Every record whose dragged form is Form goes; the list's last record takes its place (the
// order is not kept).
void RemoveFromGluedList(const vcl::TCustomForm* Form);
// Every record Form takes part in, dragging or dragged, goes (the form is being destroyed).
void RemoveFormFromGluedList(const vcl::TCustomForm* Form);

}  // namespace skin_layered
