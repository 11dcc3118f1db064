#include "skin_layered/core/LibraryStrings.h"

#include <array>
#include <iterator>

#include "classlib/rtl/SysInfo.h"

namespace skin_layered {

namespace {

#define QV_STRING_ID_ENTRY(id, name, text) id,
constexpr int kIds[] = {QV_LIBRARY_STRINGS(QV_STRING_ID_ENTRY)};
#undef QV_STRING_ID_ENTRY
constexpr std::size_t kCount = std::size(kIds);
#define QV_STRING_TEXT_ENTRY(id, name, text) text,
constexpr const char* kEnglish[] = {QV_LIBRARY_STRINGS(QV_STRING_TEXT_ENTRY)};
#undef QV_STRING_TEXT_ENTRY

constexpr wchar_t kInvalidDateFallback[] = L"Invalid date";

std::array<vcl::String, kCount>& Texts() {
  static std::array<vcl::String, kCount> texts;
  return texts;
}

std::size_t SlotOf(TqvLibString id) {
  for (std::size_t i = 0; i < kCount; ++i)
    if (kIds[i] == static_cast<int>(id)) return i;
  return kCount;
}

}  // namespace

const vcl::String& LibString(TqvLibString Id) {
  static const vcl::String empty;
  const std::size_t slot = SlotOf(Id);
  return slot < kCount ? Texts()[slot] : empty;
}

vcl::String LibText(TqvLibString Id) {
  const std::size_t slot = SlotOf(Id);
  if (slot >= kCount) return {};
  return Texts()[slot].empty() ? vcl::Utf8ToWide(kEnglish[slot]) : Texts()[slot];
}

void LoadLibraryStrings(HINSTANCE Module) {
  if (!Module) Module = GetModuleHandleW(nullptr);
  for (std::size_t i = 0; i < kCount; ++i) Texts()[i] = vcl::LoadStr(kIds[i], Module);
  vcl::String& invalidDate = Texts()[SlotOf(TqvLibString::InvalidDate)];
  if (invalidDate.empty()) invalidDate = kInvalidDateFallback;
}

void FreeLibraryStrings() {
  for (vcl::String& text : Texts()) text.clear();
}

}  // namespace skin_layered
