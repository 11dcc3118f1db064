// Shared by the main-window tests: the program's units started once in a temporary current
// directory (the window writes "file.html" and "1.jpg" there), message boxes recorded and
// answered without a user, and a shown main window read from the program's own description.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <filesystem>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "classlib/rtl/UnitInit.h"
#include "support/win_test_support.h"

namespace composer::testing {

using vcl::String;
using wintest::Pump;
using wintest::PumpUntilIdle;
using wintest::ReadBytes;

struct ShownBox {
  String text;
  String caption;
  UINT flags = 0;
};
inline std::vector<ShownBox> g_boxes;
inline int g_boxAnswer = IDOK;  // what the next message boxes answer

class MainWindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = wintest::UniqueTempPath(L"composer_main");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    vcl::InitializeUnits();
    vcl::SetMessageBoxFunction([](HWND, const String& text, const String& caption, UINT flags) {
      g_boxes.push_back({text, caption, flags});
      return g_boxAnswer;
    });
  }
  void TearDown() override {
    vcl::SetMessageBoxFunction(nullptr);
    vcl::FinalizeUnits();
    std::error_code ec;
    std::filesystem::current_path(dir_.parent_path(), ec);
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  std::filesystem::path dir_;
};

inline std::string Utf8(const String& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

// A shown main window, closed (so its close handler runs) and freed after each test.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    g_boxAnswer = IDOK;
    std::error_code ec;
    std::filesystem::remove(L"file.html", ec);
    std::filesystem::remove(L"1.jpg", ec);
    form = vcl::Construct<Tfrmmain>(nullptr);
    form->Show();
    Pump();
  }
  void TearDown() override {
    if (!form) return;
    form->Close();
    vcl::TObject::Free(form);
  }

  // A push button pressed as the mouse would (through its window and the form's message path).
  static void Press(vcl::TButton* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

  Tfrmmain* form = nullptr;
};

}  // namespace composer::testing
