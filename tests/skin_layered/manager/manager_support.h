// Shared by the skin manager's tests: units, managers, skins of the tests' own, message boxes.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <memory>
#include <string>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "reader_support.h"
#include "sample_skins.h"
#include "skin_layered/core/command_spies.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered::test {

class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { vcl::InitializeUnits(); }
  void TearDown() override { vcl::FinalizeUnits(); }
};

inline std::wstring SampleSkinFolder() { return SampleSkins(); }

struct ManagerDeleter {
  void operator()(TsSkinManager* m) const { vcl::TObject::Free(m); }
};
using ManagerPtr = std::unique_ptr<TsSkinManager, ManagerDeleter>;

inline ManagerPtr NewManager() { return ManagerPtr(vcl::Construct<TsSkinManager>(nullptr)); }

// Message boxes counted (and answered OK) while it lives.
class MessageBoxes {
 public:
  MessageBoxes() {
    previous_ = vcl::SetMessageBoxFunction([this](HWND, const vcl::String& text, const vcl::String&, UINT) {
      texts.push_back(text);
      return IDOK;
    });
  }
  ~MessageBoxes() { vcl::SetMessageBoxFunction(previous_); }
  std::vector<vcl::String> texts;

 private:
  vcl::TMessageBoxFunction previous_;
};

// A form that has its window (the broadcasts reach forms by their windows).
inline auto ShownForm() {
  auto form = NewForm();
  form->HandleNeeded();
  return form;
}

// A plain description: sections with a colour each (RRGGBB as the skin writes $BBGGRR).
inline std::string SkinText(const std::string& extra = {}) {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n"
         "[EDIT]\r\nCOLOR=$00C0FF\r\nFONTCOLOR=$000080\r\nHOTCOLOR=$C0FFC0\r\nHOTFONTCOLOR=$008000\r\nSTATES=2\r\n"
         "[PANEL]\r\nCOLOR=$C08080\r\nFONTCOLOR=$202020\r\n" +
         extra;
}

}  // namespace skin_layered::test
