// skin_load_probe.exe DIRECTORY NAME OUTPUT: loads the layered skin NAME (a folder or a pack)
// from DIRECTORY with a skin manager, as a program does, in a process of its own, and writes
// to OUTPUT what the load added to the process's resident memory at its peak (in bytes, on
// the first line) and each message it gave (its message boxes and the text of an exception
// that ended it, one a line). The memory test of broken packs runs it once a pack.
#include <windows.h>
#include <psapi.h>

#include <fstream>
#include <string>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/manager/SkinManager.h"

namespace {

PROCESS_MEMORY_COUNTERS Counters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters;
}

std::string Utf8(const std::wstring& Text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, Text.data(), static_cast<int>(Text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) return 2;
  const vcl::TUnitsScope units;
  std::vector<std::wstring> messages;
  vcl::SetMessageBoxFunction([&messages](HWND, const vcl::String& Text, const vcl::String&, UINT) {
    messages.push_back(Text);
    return IDOK;
  });
  // What the load adds: the peak after it less what the process held before. (A start-up
  // peak above that would only make the figure larger, never hide the load's.)
  const PROCESS_MEMORY_COUNTERS before = Counters();
  {
    auto* manager = vcl::Construct<skin_layered::TsSkinManager>(nullptr);
    try {
      manager->SetSkinDirectory(argv[1]);
      manager->SetSkinName(argv[2]);
    } catch (const vcl::Exception& e) {
      messages.push_back(e.Message());
    }
    vcl::TObject::Free(manager);
  }
  const PROCESS_MEMORY_COUNTERS after = Counters();
  const SIZE_T from = before.WorkingSetSize;
  std::ofstream out(argv[3], std::ios::binary);
  out << (after.PeakWorkingSetSize > from ? after.PeakWorkingSetSize - from : 0) << "\n";
  for (const std::wstring& m : messages) out << Utf8(m) << "\n";
  return 0;
}
