// Program entry point: the units start (class library, layered engine, classic engine, the
// program's own), the application object is initialised with the main form on the task bar,
// the main window is created from its form description and the message loop runs until it
// closes; the units shut down in reverse order on the way out.
#include <windows.h>

#include "app/MainForm.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  const vcl::TUnitsScope units;  // unit start-ups now (the "png" format among them), shutdowns at the end

  vcl::Application->Initialize();
  vcl::Application->SetMainFormOnTaskBar(true);
  try {
    vcl::Application->CreateForm<composer::Tfrmmain>();
  } catch (const vcl::Exception& e) {
    // A main window that cannot be built (a broken description) is reported, not run.
    vcl::Application->ShowException(e);
    return 1;
  }
  vcl::Application->Run();
  return 0;
}
