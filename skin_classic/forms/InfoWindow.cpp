#include "skin_classic/forms/InfoWindow.h"

#include <commctrl.h>

#include <algorithm>

namespace winskin {
namespace {

// The one tool of the tip, tracked where the form puts it.
TTTOOLINFOW Tool(HWND Owner, const vcl::String& Text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
  tool.hwnd = Owner;
  tool.uId = 1;
  tool.lpszText = const_cast<wchar_t*>(Text.c_str());
  return tool;
}

}  // namespace

vcl::String MenuItemName(vcl::StringView Text) {
  vcl::String name(Text.substr(0, std::min(Text.find(L'\t'), Text.size())));
  for (size_t at; (at = name.find(L"(&")) != vcl::String::npos && at + 3 < name.size() && name[at + 3] == L')';)
    name.erase(at, 4);
  // A lone "&" marks the accelerator; "&&" stands for "&".
  vcl::String plain;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] != L'&') {
      plain += name[i];
    } else if (i + 1 < name.size() && name[i + 1] == L'&') {
      plain += L'&';
      ++i;
    }
  }
  while (!plain.empty() && plain.back() == L' ') plain.pop_back();
  return plain;
}

TInfoWindow::~TInfoWindow() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
}

void TInfoWindow::Show(HWND Owner, const vcl::String& Text, POINT At) {
  if (Text.empty()) return Hide();
  if (window_ && (!IsWindow(window_) || owner_ != Owner)) {
    if (IsWindow(window_)) DestroyWindow(window_);
    window_ = nullptr;
  }
  if (!window_) {
    window_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, Owner, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (!window_) return;
    owner_ = Owner;
    TTTOOLINFOW tool = Tool(Owner, Text);
    SendMessageW(window_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  text_ = Text;
  TTTOOLINFOW tool = Tool(Owner, text_);
  SendMessageW(window_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(window_, TTM_TRACKPOSITION, 0, MAKELPARAM(At.x, At.y));
  SendMessageW(window_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  shown_ = true;
}

void TInfoWindow::Hide() {
  if (!shown_) return;
  shown_ = false;
  if (!window_ || !IsWindow(window_)) return;
  TTTOOLINFOW tool = Tool(owner_, text_);
  SendMessageW(window_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace winskin
