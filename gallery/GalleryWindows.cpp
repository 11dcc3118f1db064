#include "gallery/GalleryWindows.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unordered_map>

#include "classlib/controls/Controls.h"
#include "classlib/stdctrls/StdCtrls.h"

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
  explicit ListWriter(std::ostream& Out) : out_(Out) {}

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
         asked == g_asked.end() ? Asked{} : asked->second, State(Wnd));
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
      Line(++last_, Parent, "graphic", "", Utf8(c->ClassName()), r, r, 0, 0, Utf8(c->Caption()), {}, "");
    }
  }

  void Line(int Id, int Parent, const char* Kind, const std::string& Class, const std::string& Library, const RECT& Window,
            const RECT& Client, LONG_PTR Style, LONG_PTR ExStyle, const std::string& Text, const Asked& Made,
            const std::string& Words) {
    out_ << Id << '\t' << Parent << '\t' << Kind << '\t' << Class << '\t' << Library << '\t' << RectText(Window) << '\t'
         << RectText(Client) << '\t' << Hex(Style) << '\t' << Hex(ExStyle) << '\t' << Text << '\t' << Hex(Made.style)
         << '\t' << Hex(Made.exStyle) << '\t' << Words << '\n';
  }

  static std::string State(HWND Wnd) {
    std::string state = Checked(Wnd);
    for (const auto& [word, is] : {std::pair{"focused", GetFocus() == Wnd}, std::pair{"active", GetActiveWindow() == Wnd}})
      if (is) state += (state.empty() ? "" : " ") + std::string(word);
    if (GetWindowLongPtrW(Wnd, GWL_STYLE) & WS_CHILD)
      if (const int id = GetDlgCtrlID(Wnd); id > 0) state += (state.empty() ? "id=" : " id=") + std::to_string(id);
    for (const std::string& button : TitleButtons(Wnd)) state += (state.empty() ? "" : " ") + button;
    return state;
  }

  // Where the window says its title buttons are: the boxes over which it answers a button to
  // the pointer (the rows of its title, every other column), "close=LEFT,TOP,RIGHT,BOTTOM".
  static std::vector<std::string> TitleButtons(HWND Wnd) {
    const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
    if ((style & WS_CHILD) || (style & WS_CAPTION) != WS_CAPTION || IsIconic(Wnd)) return {};
    RECT window{}, client{};
    GetWindowRect(Wnd, &window);
    GetClientRect(Wnd, &client);
    MapWindowPoints(Wnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const std::pair<LRESULT, const char*> kinds[] = {{HTCLOSE, "close"}, {HTMAXBUTTON, "max"}, {HTMINBUTTON, "min"}, {HTHELP, "help"}};
    std::vector<RECT> found(std::size(kinds), RECT{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN});
    for (LONG y = window.top + 1; y < std::min(client.top, window.top + 48); y += 2)
      for (LONG x = window.left + 1; x < window.right - 1; x += 2) {
        const LRESULT hit = SendMessageW(Wnd, WM_NCHITTEST, 0, MAKELPARAM(static_cast<short>(x), static_cast<short>(y)));
        for (std::size_t k = 0; k < std::size(kinds); ++k)
          if (hit == kinds[k].first) {
            RECT& r = found[k];
            r = {std::min(r.left, x), std::min(r.top, y), std::max(r.right, x + 2), std::max(r.bottom, y + 2)};
          }
      }
    std::vector<std::string> words;
    for (std::size_t k = 0; k < std::size(kinds); ++k)
      if (found[k].left < found[k].right)
        words.push_back(std::string(kinds[k].second) + "=" + std::to_string(found[k].left) + "," + std::to_string(found[k].top) +
                        "," + std::to_string(found[k].right) + "," + std::to_string(found[k].bottom));
    return words;
  }

  // A check box's or radio button's state: the system's button, or the library's made of it.
  static std::string Checked(HWND Wnd) {
    wchar_t cls[32] = {};
    GetClassNameW(Wnd, cls, 32);
    if (lstrcmpiW(cls, L"Button") != 0 && !dynamic_cast<vcl::TButtonControl*>(vcl::FindControl(Wnd))) return {};
    switch (GetWindowLongPtrW(Wnd, GWL_STYLE) & BS_TYPEMASK) {
      case BS_CHECKBOX: case BS_AUTOCHECKBOX: case BS_3STATE: case BS_AUTO3STATE: case BS_RADIOBUTTON: case BS_AUTORADIOBUTTON:
        switch (SendMessageW(Wnd, BM_GETCHECK, 0, 0)) {
          case BST_CHECKED: return "checked";
          case BST_INDETERMINATE: return "grayed";
          default: return "unchecked";
        }
      default:
        return {};
    }
  }

  std::ostream& out_;
  int last_ = 0;
};

}  // namespace

void WatchWindowCreation() {
  if (!g_watch) g_watch = SetWindowsHookExW(WH_CBT, &Watch, nullptr, GetCurrentThreadId());
}

std::string WindowListText(const std::vector<HWND>& TopLevel) {
  // From the bottom of the Z order up; an owned window above its owner, as the display shows it
  // (the system's order sometimes keeps a form over a dialog it owns that opened later).
  std::vector<HWND> ordered;
  for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
    if (std::find(TopLevel.begin(), TopLevel.end(), w) != TopLevel.end()) ordered.push_back(w);
  std::reverse(ordered.begin(), ordered.end());
  for (std::size_t round = 0, moved = 1; moved && round < ordered.size() * ordered.size(); ++round) {
    moved = 0;
    for (std::size_t i = 0; i < ordered.size() && !moved; ++i) {
      const HWND owner = GetWindow(ordered[i], GW_OWNER);
      const auto at = std::find(ordered.begin() + static_cast<std::ptrdiff_t>(i) + 1, ordered.end(), owner);
      if (!owner || at == ordered.end()) continue;
      const std::ptrdiff_t j = at - ordered.begin();
      const HWND owned = ordered[i];
      ordered.erase(ordered.begin() + static_cast<std::ptrdiff_t>(i));
      ordered.insert(ordered.begin() + j, owned);  // right above its owner
      moved = 1;
    }
  }
  std::ostringstream text;
  ListWriter writer(text);
  for (HWND w : ordered) writer.Window(w, 0);
  return text.str();
}

bool WriteWindowList(const std::string& Text, const std::wstring& File) {
  std::ofstream out(std::filesystem::path(File), std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << Text;
  out.flush();
  return static_cast<bool>(out);
}

}  // namespace gallery
