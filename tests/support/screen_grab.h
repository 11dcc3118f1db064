// What the X display shows of a screen rectangle, grabbed by a helper process
// (scripts/screen-grab.sh, named by SCRIVANE_SCREEN_GRAB), since what Wine draws in the
// process is not always what the display shows. For programs whose tests run alone (SERIAL):
// no other window may cover what they look at.
#pragma once

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "support/win_test_support.h"

namespace wintest {

struct Shot {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;

  COLORREF At(int x, int y) const {
    const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
    return RGB(p[0], p[1], p[2]);
  }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// A binary PPM as screen-grab.sh writes it.
inline std::optional<Shot> ReadPpm(const std::string& bytes) {
  Shot shot;
  int depth = 0, header = 0;
  if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &shot.width, &shot.height, &depth, &header) != 3 || depth != 255 ||
      shot.width <= 0 || shot.height <= 0)
    return std::nullopt;
  const size_t pos = static_cast<size_t>(header) + 1;  // the one white-space byte after the header
  const size_t size = static_cast<size_t>(shot.width) * shot.height * 3;
  if (bytes.size() < pos + size) return std::nullopt;
  shot.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.begin() + static_cast<std::ptrdiff_t>(pos + size));
  return shot;
}

// The Unix path of a Windows path (the helper is a Unix program).
inline std::string UnixPath(const std::filesystem::path& path) {
  using Convert = char*(CDECL*)(LPCWSTR);
  static const auto convert =
      reinterpret_cast<Convert>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(path.wstring().c_str());
  if (!unix) return {};
  std::string out(unix);
  HeapFree(GetProcessHeap(), 0, unix);
  return out;
}

// The screen rectangle R as the X display shows it, grabbed by the helper. Waits for the
// helper's file for a few seconds at most (the handle Wine gives for a Unix process cannot be
// waited on).
inline std::optional<Shot> Grab(const RECT& r, const std::string& name) {
  static int count = 0;
  const std::filesystem::path file = std::filesystem::current_path() / ("grab" + std::to_string(++count) + ".ppm");
  const std::string unixFile = UnixPath(file);
  if (unixFile.empty()) return std::nullopt;
  std::string command = std::string("/bin/bash \"") + SCRIVANE_SCREEN_GRAB + "\" \"" + unixFile + "\" " +
                        std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right - r.left) +
                        " " + std::to_string(r.bottom - r.top) + " " + name;
  std::wstring wide(command.begin(), command.end());
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return std::nullopt;
  if (pi.hThread) CloseHandle(pi.hThread);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  const ULONGLONG deadline = GetTickCount64() + 15000;
  std::error_code ec;
  while (!std::filesystem::exists(file, ec)) {
    if (GetTickCount64() > deadline) return std::nullopt;
    Sleep(20);
  }
  std::optional<Shot> shot = ReadPpm(ReadBytes(file));
  std::filesystem::remove(file, ec);
  return shot;
}

}  // namespace wintest
