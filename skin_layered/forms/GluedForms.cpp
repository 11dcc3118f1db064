#include "skin_layered/forms/GluedForms.h"

namespace skin_layered {

std::vector<TqvGluedRecord>& GluedList() {
  static std::vector<TqvGluedRecord> list;
  return list;
}

void RemoveFromGluedList(const vcl::TCustomForm* Form) {
  std::vector<TqvGluedRecord>& list = GluedList();
  for (std::size_t i = 0; i < list.size();) {
    if (list[i].Glued != Form) {
      ++i;
      continue;
    }
    list[i] = list.back();
    list.pop_back();
  }
}

}  // namespace skin_layered
