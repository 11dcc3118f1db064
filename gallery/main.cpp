// skingallery.exe: every control kind, menus, a dialog, a message box and MDI windows under a
// classic skin (GalleryApp.h says how to run it).
#include <windows.h>

#include <shellapi.h>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "gallery/GalleryApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const vcl::TUnitsScope units;
  std::vector<std::wstring> arguments;
  int count = 0;
  if (LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count)) {
    arguments.assign(argv + 1, argv + count);
    LocalFree(argv);
  }
  std::wstring error;
  const std::optional<gallery::Options> options = gallery::ParseOptions(arguments, error);
  if (!options) {
    vcl::ShowMessageBox(nullptr, error + L"\n\n" + gallery::Usage(), L"Skin gallery", MB_OK | MB_ICONERROR);
    return 2;
  }
  try {
    return gallery::RunGallery(*options);
  } catch (const vcl::Exception& e) {
    vcl::Application->ShowException(e);
    return 1;
  }
}
