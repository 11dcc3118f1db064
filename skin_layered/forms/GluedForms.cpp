#include "skin_layered/forms/GluedForms.h"

namespace skin_layered {

std::vector<TqvGluedRecord>& GluedList() {
  static std::vector<TqvGluedRecord> list;
  return list;
}

namespace {

template <class Pred>
void RemoveWhere(Pred pred) {
  std::vector<TqvGluedRecord>& list = GluedList();
  for (std::size_t i = 0; i < list.size();) {
    if (!pred(list[i])) {
      ++i;
      continue;
    }
    list[i] = list.back();
    list.pop_back();
  }
}

}  // namespace

void RemoveFromGluedList(const vcl::TCustomForm* Form) {
  RemoveWhere([Form](const TqvGluedRecord& r) { return r.Glued == Form; });
}

void RemoveFormFromGluedList(const vcl::TCustomForm* Form) {
  if (!Form) return;
  RemoveWhere([Form](const TqvGluedRecord& r) { return r.Glued == Form || r.Master == Form; });
}

}  // namespace skin_layered
