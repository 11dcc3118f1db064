// Shared by the Windows tests of the layered core: the units started for the whole test
// program, message boxes recorded instead of shown, memory streams over test bytes, and
// temporary files.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/Streams.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/support/PackWriter.h"
#include "support/win_test_support.h"

namespace skin_layered::test {

// The class library's and the engine's units run for the whole program, as in the program.
class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { vcl::InitializeUnits(); }
  void TearDown() override { vcl::FinalizeUnits(); }
};

struct ShownBox {
  HWND Owner;
  vcl::String Text;
  vcl::String Caption;
  UINT Flags;
};

// Every message box of the scope is recorded and answered with Answer.
class RecordedBoxes {
 public:
  explicit RecordedBoxes(int Answer = IDOK) {
    previous_ = vcl::SetMessageBoxFunction([this, Answer](HWND owner, const vcl::String& text,
                                                          const vcl::String& caption, UINT flags) {
      boxes.push_back({owner, text, caption, flags});
      return Answer;
    });
  }
  ~RecordedBoxes() { vcl::SetMessageBoxFunction(std::move(previous_)); }
  RecordedBoxes(const RecordedBoxes&) = delete;
  RecordedBoxes& operator=(const RecordedBoxes&) = delete;

  std::vector<ShownBox> boxes;

 private:
  vcl::TMessageBoxFunction previous_;
};

inline std::unique_ptr<vcl::TMemoryStream> StreamOf(const Bytes& bytes) {
  auto stream = std::make_unique<vcl::TMemoryStream>();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  stream->SetPosition(0);
  return stream;
}

inline Bytes BytesOfStream(vcl::TMemoryStream& stream) {
  return Bytes(stream.Memory(), stream.Memory() + stream.Size());
}

using wintest::TempFile;

}  // namespace skin_layered::test
