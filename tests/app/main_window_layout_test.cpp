// The main window's layout as the user sees it: on every editor sheet and panel, each shown
// control lies inside its parent and no two shown controls overlap (labels measured with
// the window's own font). With SCRIVANE_SHOT_DIR set, the window's picture with each editor
// sheet is also saved there as a bitmap, for looking at.
#include "main_window_support.h"

#include <cstdlib>

namespace composer::testing {
namespace {

using vcl::TControl;
using vcl::TRect;
using vcl::TWinControl;

std::string Name(const TControl* c) {
  const String name = c->Name().empty() ? c->ClassName() : c->Name();
  return std::string(name.begin(), name.end());
}

bool Intersect(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// Every problem found under Parent, shown controls only.
void CheckLayout(TWinControl* parent, std::vector<std::string>& problems) {
  const TRect client = parent->ClientRect();
  std::vector<TControl*> shown;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    shown.push_back(c);
    const TRect r = c->BoundsRect();
    if (r.Left < 0 || r.Top < 0 || r.Right > client.Right || r.Bottom > client.Bottom)
      problems.push_back(Name(c) + " leaves " + Name(parent));
    if (auto* w = dynamic_cast<TWinControl*>(c)) CheckLayout(w, problems);
  }
  for (size_t i = 0; i < shown.size(); ++i)
    for (size_t k = i + 1; k < shown.size(); ++k) {
      // A client-aligned control takes what the others leave; what lies on it is meant to.
      if (shown[i]->Align() == vcl::alClient || shown[k]->Align() == vcl::alClient) continue;
      if (Intersect(shown[i]->BoundsRect(), shown[k]->BoundsRect()))
        problems.push_back(Name(shown[i]) + " overlaps " + Name(shown[k]));
    }
}

void SaveShot(HWND wnd, const std::wstring& name) {
  const char* dir = std::getenv("SCRIVANE_SHOT_DIR");
  if (!dir) return;
  RECT r{};
  GetWindowRect(wnd, &r);
  vcl::TBitmap shot;
  shot.SetPixelFormat(vcl::pf24bit);
  shot.SetSize(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  BitBlt(shot.Canvas()->Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
  shot.SaveToFile(std::filesystem::path(dir).wstring() + L"\\" + name + L".bmp");
}

TEST_F(MainWindowTest, EveryEditorSheetAndPanelIsLaidOutWithoutOverlaps) {
  form->rgleixing->SetItemIndex(0);
  vcl::TSpeedButton* const buttons[] = {
      form->btnguanlian, form->btnfengetiao, form->btnyouhuiquan, form->btndapei,
      form->btncanshu, form->btnchima, form->btnzhanshi, form->btnxijie,
      form->btnyangshi, form->btnjiaoliu, form->btnzidingyi,
  };
  SetForegroundWindow(form->Handle());
  for (vcl::TSpeedButton* button : buttons) {
    button->Click();
    Pump();
    UpdateWindow(form->Handle());
    RedrawWindow(form->Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<std::string> problems;
    CheckLayout(form, problems);
    EXPECT_TRUE(problems.empty()) << Name(button) << ": " << ::testing::PrintToString(problems);
    SaveShot(form->Handle(), String(L"mainwindow_") + button->Name());
  }
}

}  // namespace
}  // namespace composer::testing
