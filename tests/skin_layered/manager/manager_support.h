// Shared by the skin manager's tests: units, managers, skins of the tests' own, message boxes.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <filesystem>
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

// The sample skin Name copied into Skins as Copy, less its section Section (the header and the
// lines up to the next section's; none when empty).
inline void CopySampleSkin(const TempSkins& Skins, const wchar_t* Name, const wchar_t* Copy,
                           const std::string& Section = {}) {
  namespace fs = std::filesystem;
  const fs::path sample = fs::path(SampleSkins()) / Name;
  fs::create_directories(Skins.SkinPath(Copy));
  for (const fs::directory_entry& file : fs::directory_iterator(sample))
    fs::copy_file(file.path(), fs::path(Skins.SkinPath(Copy)) / file.path().filename(),
                  fs::copy_options::overwrite_existing);
  if (Section.empty()) return;
  std::string text = wintest::ReadBytes(sample / L"Options.dat");
  const std::size_t at = text.find("[" + Section + "]");
  ASSERT_NE(at, std::string::npos) << Section;
  const std::size_t next = text.find("\n[", at);
  text.erase(at, next == std::string::npos ? std::string::npos : next + 1 - at);
  Skins.Write(Copy, L"Options.dat", BytesOf(text));
}

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
