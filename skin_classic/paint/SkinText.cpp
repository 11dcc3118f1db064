#include "skin_classic/paint/SkinText.h"

#include <algorithm>

namespace winskin {

String AnsiToWide(std::string_view Text) {
  const std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(Text.data()), Text.size());
  return vcl::TEncoding::ANSI->GetString(bytes);
}

String WideCopy(StringView Text, int Count) {
  if (Count < 0) return String(Text);
  return String(Text.substr(0, std::min(Text.size(), static_cast<size_t>(Count))));
}

int DrawTextAW(HDC DC, StringView Text, vcl::TRect& Rect, UINT Format) {
  if (!DC) return 0;
  const int length = static_cast<int>(std::min<size_t>(Text.size(), INT32_MAX));
  String copy(Text);  // DrawTextW may write into the text with DT_MODIFYSTRING
  copy.resize(copy.size() + 4);
  return DrawTextW(DC, copy.data(), length, Rect.AsRECT(), Format);
}

vcl::TWinControl* FindControlObject(HWND Window) { return Window ? vcl::FindControl(Window) : nullptr; }

}  // namespace winskin
