// Shared by the main-window tests: the program's units started once, a temporary current
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

inline std::vector<ShownBox>& ShownBoxes() {
  static std::vector<ShownBox> boxes;
  return boxes;
}

// What the next message boxes answer (IDOK unless a test says otherwise).
inline int& BoxAnswer() {
  static int answer = IDOK;
  return answer;
}

// The units, the message boxes and a fresh temporary folder as the current directory.
class MainWindowEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    dir_ = wintest::UniqueTempPath(L"composer_main");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    std::filesystem::current_path(dir_);
    vcl::InitializeUnits();
    vcl::SetMessageBoxFunction([](HWND, const String& text, const String& caption, UINT flags) {
      ShownBoxes().push_back({text, caption, flags});
      return BoxAnswer();
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

// The bytes of a text in UTF-8.
inline std::string Utf8(const String& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

inline constexpr std::string_view kBom = "\xEF\xBB\xBF";

// A shown main window, closed (so its close handler runs) and freed after each test.
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ShownBoxes().clear();
    BoxAnswer() = IDOK;
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
    form = nullptr;
  }

  // A push button pressed as the mouse would (through its window and the form's message path).
  static void Press(vcl::TButton* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

  String Memo() const { return form->WorkMemo()->Text(); }

  // Each row: number, name, HTML.
  std::vector<std::vector<String>> Rows() const {
    std::vector<std::vector<String>> rows;
    for (int i = 0; i < form->lv1->Items()->Count(); ++i) {
      vcl::TListItem* item = form->lv1->Items()->Item(i);
      std::vector<String> row{item->Caption()};
      for (int k = 0; k < item->SubItems()->Count(); ++k) row.push_back(item->SubItems()->Strings(k));
      rows.push_back(row);
    }
    return rows;
  }
  std::vector<String> Numbers() const {
    std::vector<String> numbers;
    for (const auto& row : Rows()) numbers.push_back(row[0]);
    return numbers;
  }

  // Puts a text in the work memo as a generator would, then adds it as a row of the current
  // section.
  void AddRow(const String& html) {
    form->WorkMemo()->SetText(html);
    Press(form->btntianjia);
  }

  Tfrmmain* form = nullptr;
};

}  // namespace composer::testing
