#include "skin_layered/paint/TextExtent.h"

namespace skin_layered {

void GetTextExtentWithFont(HFONT Font, vcl::StringView Text, UINT Flags, vcl::TSize& Size, int Width, bool Wrap) {
  const vcl::WindowDC screen;
  const vcl::SelectGuard font(screen.get(), Font);
  const wchar_t* text = Text.empty() ? L"" : Text.data();
  const int length = static_cast<int>(Text.size());
  if (Wrap) {
    RECT r{0, 0, Width, 0};
    DrawTextW(screen.get(), text, length, &r, Flags | DT_CALCRECT);
    Size = {r.right - r.left, r.bottom - r.top};
    return;
  }
  SIZE extent{};
  Size = GetTextExtentPoint32W(screen.get(), text, length, &extent) ? vcl::TSize(extent) : vcl::TSize();
}

}  // namespace skin_layered
