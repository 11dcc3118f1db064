#include "gallery/GalleryWindows.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unordered_map>

#include "classlib/controls/Controls.h"

namespace gallery {
namespace {

struct Asked {
  LONG_PTR style = 0, exStyle = 0;
};
std::unordered_map<HWND, Asked> g_asked;
HHOOK g_watch = nullptr;

LRESULT CALLBACK Watch(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_CREATEWND) {
    const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(LParam)->lpcs;
    g_asked[reinterpret_cast<HWND>(WParam)] = {static_cast<LONG_PTR>(cs->style), static_cast<LONG_PTR>(cs->dwExStyle)};
  } else if (Code == HCBT_DESTROYWND) {
    g_asked.erase(reinterpret_cast<HWND>(WParam));
  }
  return CallNextHookEx(g_watch, Code, WParam, LParam);
}

std::string Utf8(const std::wstring& Text) {
  std::wstring flat = Text;
  std::replace_if(flat.begin(), flat.end(), [](wchar_t c) { return c == L'\t' || c == L'\r' || c == L'\n'; }, L' ');
  const int size = WideCharToMultiByte(CP_UTF8, 0, flat.data(), static_cast<int>(flat.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, flat.data(), static_cast<int>(flat.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string RectText(const RECT& R) {
  return std::to_string(R.left) + " " + std::to_string(R.top) + " " + std::to_string(R.right) + " " +
         std::to_string(R.bottom);
}

std::string Hex(LONG_PTR Value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(Value) & 0xFFFFFFFFull);
  return text;
}

class ListWriter {
 public:
  explicit ListWriter(std::ofstream& Out) : out_(Out) {}

  void Window(HWND Wnd, int Parent) {
    const int id = ++last_;
    wchar_t cls[128] = {}, text[512] = {};
    GetClassNameW(Wnd, cls, 128);
    GetWindowTextW(Wnd, text, 512);
    vcl::TWinControl* control = vcl::FindControl(Wnd);
    RECT window{}, client{};
    GetWindowRect(Wnd, &window);
    GetClientRect(Wnd, &client);
    MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const auto asked = g_asked.find(Wnd);
    Line(id, Parent, Parent ? "child" : "top", Utf8(cls), control ? Utf8(control->ClassName()) : "", window, client,
         GetWindowLongPtrW(Wnd, GWL_STYLE), GetWindowLongPtrW(Wnd, GWL_EXSTYLE), Utf8(text),
         asked == g_asked.end() ? Asked{} : asked->second);
    if (control) Graphics(control, Wnd, id);
    // Child windows from the bottom of their Z order up: later lines lie over earlier ones.
    std::vector<HWND> children;
    for (HWND c = GetWindow(Wnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) children.push_back(c);
    for (auto it = children.rbegin(); it != children.rend(); ++it)
      if (IsWindowVisible(*it)) Window(*it, id);
  }

 private:
  void Graphics(vcl::TWinControl* Control, HWND Wnd, int Parent) {
    POINT origin{0, 0};
    ClientToScreen(Wnd, &origin);
    for (int i = 0; i < Control->ControlCount(); ++i) {
      vcl::TControl* c = Control->Controls(i);
      if (dynamic_cast<vcl::TWinControl*>(c) || !c->Visible()) continue;
      const vcl::TRect b = c->BoundsRect();
      const RECT r{origin.x + b.Left, origin.y + b.Top, origin.x + b.Right, origin.y + b.Bottom};
      Line(++last_, Parent, "graphic", "", Utf8(c->ClassName()), r, r, 0, 0, Utf8(c->Caption()), {});
    }
  }

  void Line(int Id, int Parent, const char* Kind, const std::string& Class, const std::string& Library, const RECT& Window,
            const RECT& Client, LONG_PTR Style, LONG_PTR ExStyle, const std::string& Text, const Asked& Made) {
    out_ << Id << '\t' << Parent << '\t' << Kind << '\t' << Class << '\t' << Library << '\t' << RectText(Window) << '\t'
         << RectText(Client) << '\t' << Hex(Style) << '\t' << Hex(ExStyle) << '\t' << Text << '\t' << Hex(Made.style)
         << '\t' << Hex(Made.exStyle) << '\n';
  }

  std::ofstream& out_;
  int last_ = 0;
};

}  // namespace

void WatchWindowCreation() {
  if (!g_watch) g_watch = SetWindowsHookExW(WH_CBT, &Watch, nullptr, GetCurrentThreadId());
}

bool WriteWindowList(const std::vector<HWND>& TopLevel, const std::wstring& File) {
  // From the bottom of the Z order up.
  std::vector<HWND> ordered;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
    if (std::find(TopLevel.begin(), TopLevel.end(), w) != TopLevel.end()) ordered.push_back(w);
  std::reverse(ordered.begin(), ordered.end());
  std::ofstream out(std::filesystem::path(File), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  ListWriter writer(out);
  for (HWND w : ordered) writer.Window(w, 0);
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace gallery
