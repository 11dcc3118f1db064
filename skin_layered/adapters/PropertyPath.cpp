#include "skin_layered/adapters/PropertyPath.h"

#include <algorithm>

namespace skin_layered {

TqvPropertyRef FindPropertyPath(vcl::TObject* Root, std::wstring_view Path) {
  vcl::TObject* object = Root;
  while (object) {
    const std::size_t dot = Path.find(L'.');
    const std::wstring_view name = Path.substr(0, dot);
    const vcl::TPropInfo* info = vcl::GetPropInfo(object, name);
    if (!info) return {};
    if (dot == std::wstring_view::npos) {
      if (!info->IsOrdinal() || !info->GetOrd || !info->SetOrd) return {};
      return {object, info};
    }
    if (info->Kind != vcl::TTypeKind::tkClass || !info->GetObj) return {};
    object = vcl::GetObjectProp(object, *info);
    Path.remove_prefix(dot + 1);
  }
  return {};
}

std::optional<int64_t> ReadPropertyPath(vcl::TObject* Root, std::wstring_view Path) {
  const TqvPropertyRef ref = FindPropertyPath(Root, Path);
  if (!ref) return std::nullopt;
  return vcl::GetOrdProp(ref.Object, *ref.Info);
}

bool WritePropertyPath(vcl::TObject* Root, std::wstring_view Path, int64_t Value) {
  const TqvPropertyRef ref = FindPropertyPath(Root, Path);
  if (!ref) return false;
  if (vcl::GetOrdProp(ref.Object, *ref.Info) != Value) vcl::SetOrdProp(ref.Object, *ref.Info, Value);
  return true;
}

void TqvSavedProperties::Save(vcl::TObject* Root, std::wstring_view Path) {
  if (Saved(Path)) return;
  if (const std::optional<int64_t> value = ReadPropertyPath(Root, Path)) values_.emplace_back(Path, *value);
}

std::optional<int64_t> TqvSavedProperties::Saved(std::wstring_view Path) const {
  const auto it = std::find_if(values_.begin(), values_.end(), [Path](const auto& v) { return v.first == Path; });
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

void TqvSavedProperties::Restore(vcl::TObject* Root) const {
  for (const auto& [path, value] : values_) WritePropertyPath(Root, path, value);
}

}  // namespace skin_layered
