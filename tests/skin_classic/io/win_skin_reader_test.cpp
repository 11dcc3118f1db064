// The stream-facing package and description readers: packages read from position 0,
// entries extracted into rewound streams, the older-package message, and the description
// reader's loading, sections and lookups.
#include <gtest/gtest.h>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/StringList.h"
#include "skin_classic/support/win_skin_support.h"

namespace winskin {
namespace {

using namespace test;

PackageSpec Sample(int32_t tag = 20000) {
  PackageSpec spec;
  spec.tag = tag;
  spec.entries = {{"Skin.ini", ToBytes("[Title]\r\nKey = value\r\nNumber=0x00FF00\r\n; note\r\n[Second]\r\n")},
                  {"left.bmp", std::vector<uint8_t>(300, 0x11)},
                  {"empty.bmp", {}},
                  {"top.bmp", std::vector<uint8_t>(70, 0x22)}};
  return spec;
}

// Records the message boxes shown while it lives.
struct MessageBoxes {
  std::vector<vcl::String> texts;
  vcl::TMessageBoxFunction previous;
  MessageBoxes() {
    previous = vcl::SetMessageBoxFunction([this](HWND, const vcl::String& text, const vcl::String&, UINT) {
      texts.push_back(text);
      return IDOK;
    });
  }
  ~MessageBoxes() { vcl::SetMessageBoxFunction(std::move(previous)); }
};

TEST(WinSkinReader, ReadsTheStreamFromItsFirstByteAndExtractsIntoRewoundStreams) {
  vcl::TMemoryStream stream;
  Fill(stream, BuildPackage(Sample(30000)));
  stream.SetPosition(stream.Size() / 2);  // wherever the stream stands
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(&stream));
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "left.bmp", "empty.bmp", "top.bmp"}));

  vcl::TMemoryStream out;
  Fill(out, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  out.SetPosition(5);
  reader.Extract("TOP.BMP", &out);
  EXPECT_EQ(BytesOf(out), std::vector<uint8_t>(70, 0x22));
  EXPECT_EQ(out.Position(), 0);
  reader.Extract("missing.bmp", &out);  // an unknown name leaves the stream empty
  EXPECT_EQ(out.Size(), 0);

  AnsiString name = "unchanged";
  reader.ExtractByExt(".bmp", &out, name);
  EXPECT_EQ(name, "left.bmp");  // the first in package order
  EXPECT_EQ(out.Size(), 300);
  EXPECT_EQ(out.Position(), 0);
  name = "unchanged";
  reader.ExtractByExt(".png", &out, name);
  EXPECT_EQ(name, "unchanged");
  EXPECT_EQ(out.Size(), 0);
}

TEST(WinSkinReader, OlderPackagesAreReportedAndCutOnesLeaveTheirFault) {
  vcl::TMemoryStream stream;
  Fill(stream, BuildPackage(Sample()));
  TSkinReader reader;
  ASSERT_TRUE(reader.LoadFromStream(&stream));

  MessageBoxes boxes;
  Fill(stream, BuildPackage(Sample(10000)));
  EXPECT_FALSE(reader.LoadFromStream(&stream));
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(boxes.texts[0], L"This is Older Skin File\rPlease update to new version !");
  EXPECT_EQ(reader.Count(), 4);  // what was loaded stays

  EXPECT_EQ(reader.Result(), skin_classic::SkinLoadResult::OlderSkinFile);

  // A package that does not hold together, or whose data ends before its declared size, fails
  // without a message of the reader's: its fault is left for the one who knows its name.
  Fill(stream, {1, 2, 3});
  EXPECT_FALSE(reader.LoadFromStream(&stream));
  EXPECT_EQ(reader.Fault(), "its 3 bytes are too few to give its unpacked size");
  Fill(stream, {});
  EXPECT_FALSE(reader.LoadFromStream(&stream));
  EXPECT_EQ(reader.Result(), skin_classic::SkinLoadResult::Malformed);
  EXPECT_FALSE(reader.LoadFromStream(nullptr));
  std::vector<uint8_t> packed = BuildPackage(Sample());
  packed.resize(packed.size() - 2);
  Fill(stream, packed);
  EXPECT_FALSE(reader.LoadFromStream(&stream));
  EXPECT_EQ(reader.Result(), skin_classic::SkinLoadResult::Truncated);
  EXPECT_EQ(reader.Fault(), "its data ends before its declared size");
  EXPECT_EQ(boxes.texts.size(), 1u);
  EXPECT_EQ(reader.Count(), 4);
  // A good one again: no fault.
  Fill(stream, BuildPackage(Sample()));
  EXPECT_TRUE(reader.LoadFromStream(&stream));
  EXPECT_EQ(reader.Fault(), "");
}

TEST(WinSkinIni, LoadsFromTheStreamPositionAndAnswersLookups) {
  vcl::TMemoryStream stream;
  Fill(stream, ToBytes("[Skipped]\r\n[Title]\r\nKey = value\r\nNumber=0x00FF00\r\n[Second]\r\n"));
  stream.SetPosition(11);  // past the first line
  TQuickIni ini;
  ini.LoadFromStream(&stream);
  EXPECT_EQ(ini.ReadString("title", "KEY", "d"), "value");
  EXPECT_EQ(ini.ReadInteger("Title", "Number", -1), 65280);
  EXPECT_EQ(ini.ReadInteger("Title", "Missing", -1), -1);

  vcl::TStringList sections;
  sections.Add(L"old");
  ini.ReadSections(&sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(sections[0], L"Title");
  EXPECT_EQ(sections[1], L"Second");

  ini.LoadFromStream(nullptr);  // nothing happens
  EXPECT_EQ(ini.ReadString("Title", "Key", "d"), "value");
  auto p = LoadPackage(Sample());  // the description of a package
  ASSERT_TRUE(p);
  EXPECT_EQ(p->ini.ReadString("Title", "key", ""), "value");
  EXPECT_THROW(ini.ReadSections(nullptr), vcl::EAssertionFailed);
}

}  // namespace
}  // namespace winskin
