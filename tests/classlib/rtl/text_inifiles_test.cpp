// INI files: the in-memory reader and writer and the system-backed one.
#include <gtest/gtest.h>


#include "classlib/rtl/IniFiles.h"
#include "support/win_test_support.h"

namespace vcl {
namespace {

std::vector<String> Items(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}
using V = std::vector<String>;

const wchar_t kSkinText[] =
    L"; a comment\r\n"
    L"orphan=1\r\n"
    L"  [ GLOBALINFO ]  \r\n"
    L"  Title Height  =  30 \r\n"
    L"Empty=\r\n"
    L"Hex=$1F\r\n"
    L"CHex=0x1F\r\n"
    L"Bad=12a\r\n"
    L"Dup=first\r\n"
    L"Dup=second\r\n"
    L"no equals sign\r\n"
    L"\r\n"
    L"[BUTTON]\r\n"
    L"COLOR=255\r\n"
    L"Flag=1\r\n"
    L"[globalinfo]\r\n"
    L"Late=x\r\n";

std::unique_ptr<TMemIniFile> SkinIni() {
  auto ini = std::make_unique<TMemIniFile>(L"");
  TStringList lines;
  lines.SetText(kSkinText);
  ini->SetStrings(&lines);
  return ini;
}

TEST(MemIniFile, SectionsKeysAndValuesFromText) {
  auto ini = SkinIni();
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"Title Height", L"?"), L"30");
  EXPECT_EQ(ini->ReadString(L"globalinfo", L"TITLE HEIGHT", L"?"), L"30");
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"Empty", L"?"), L"");  // present but empty
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"Missing", L"?"), L"?");
  EXPECT_EQ(ini->ReadString(L"NOSECTION", L"COLOR", L"?"), L"?");
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"Dup", L"?"), L"first");
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"orphan", L"?"), L"?");  // before any section
  EXPECT_EQ(ini->ReadString(L"GLOBALINFO", L"Late", L"?"), L"?");     // in a second, shadowed section

  TStringList list;
  ini->ReadSections(&list);
  EXPECT_EQ(Items(list), (V{L"GLOBALINFO", L"BUTTON", L"globalinfo"}));
  ini->ReadSection(L"GLOBALINFO", &list);
  EXPECT_EQ(Items(list), (V{L"Title Height", L"Empty", L"Hex", L"CHex", L"Bad", L"Dup", L"Dup"}));
  ini->ReadSectionValues(L"BUTTON", &list);
  EXPECT_EQ(Items(list), (V{L"COLOR=255", L"Flag=1"}));
  EXPECT_TRUE(ini->SectionExists(L"button"));
  EXPECT_FALSE(ini->SectionExists(L"NOSECTION"));
  EXPECT_TRUE(ini->ValueExists(L"BUTTON", L"flag"));
  EXPECT_FALSE(ini->ValueExists(L"BUTTON", L"Other"));
}

TEST(MemIniFile, IntegersAndBooleans) {
  auto ini = SkinIni();
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"Title Height", 0), 30);
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"Hex", 0), 31);
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"CHex", -1), -1);  // only "$" means hexadecimal
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"Bad", 5), 5);
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"Empty", 6), 6);
  EXPECT_EQ(ini->ReadInteger(L"GLOBALINFO", L"Missing", 7), 7);
  EXPECT_TRUE(ini->ReadBool(L"BUTTON", L"Flag", false));
  EXPECT_TRUE(ini->ReadBool(L"BUTTON", L"Missing", true));
  EXPECT_FALSE(ini->ReadBool(L"BUTTON", L"Missing", false));
  ini->WriteString(L"GLOBALINFO", L"VERSION", L"8.37");
  EXPECT_DOUBLE_EQ(ini->ReadFloat(L"GLOBALINFO", L"VERSION", 0, TFormatSettings::Invariant()), 8.37);
  EXPECT_DOUBLE_EQ(ini->ReadFloat(L"GLOBALINFO", L"Bad", 1.5, TFormatSettings::Invariant()), 1.5);
}

TEST(MemIniFile, CaseSensitiveMatchingWhenAsked) {
  auto ini = SkinIni();
  ini->SetCaseSensitive(true);
  EXPECT_TRUE(ini->CaseSensitive());
  EXPECT_EQ(ini->ReadString(L"BUTTON", L"COLOR", L"?"), L"255");
  EXPECT_EQ(ini->ReadString(L"BUTTON", L"Color", L"?"), L"?");
  EXPECT_EQ(ini->ReadString(L"button", L"COLOR", L"?"), L"?");
  EXPECT_EQ(ini->ReadString(L"globalinfo", L"Late", L"?"), L"x");  // now a section of its own
  ini->WriteString(L"BUTTON", L"Color", L"1");
  EXPECT_EQ(ini->ReadString(L"BUTTON", L"COLOR", L"?"), L"255");
  ini->SetCaseSensitive(false);
  EXPECT_EQ(ini->ReadString(L"button", L"color", L"?"), L"255");  // the first of the two
}

TEST(MemIniFile, WritesEditsAndTheTextItGives) {
  auto ini = std::make_unique<TMemIniFile>(L"");
  ini->WriteString(L"S", L"a", L"1");
  ini->WriteInteger(L"S", L"b", -2);
  ini->WriteBool(L"T", L"c", true);
  ini->WriteString(L"s", L"A", L"3");  // same section and key, other case
  TStringList text;
  text.Add(L"stale");
  ini->GetStrings(&text);
  EXPECT_EQ(Items(text), (V{L"[S]", L"A=3", L"b=-2", L"", L"[T]", L"c=1", L""}));
  ini->DeleteKey(L"S", L"B");
  ini->DeleteKey(L"S", L"none");
  ini->EraseSection(L"t");
  ini->GetStrings(&text);
  EXPECT_EQ(Items(text), (V{L"[S]", L"A=3", L""}));
  ini->Clear();
  ini->ReadSections(&text);
  EXPECT_EQ(text.Count(), 0);
}

TEST(MemIniFile, FilesMissingReadAndUpdated) {
  wintest::TempDir dir;
  TMemIniFile missing(dir.File(L"none.ini"));
  TStringList sections;
  missing.ReadSections(&sections);
  EXPECT_EQ(sections.Count(), 0);
  EXPECT_EQ(missing.ReadString(L"A", L"B", L"default"), L"default");
  EXPECT_FALSE(FileExists(dir.File(L"none.ini")));  // reading never creates it

  // A UTF-8 file with a byte-order mark.
  const String name = dir.File(L"Options.dat");
  wintest::WriteBytes(name, "\xEF\xBB\xBF[TITLE]\r\nText=\xE4\xB8\xAD\xE6\x96\x87\r\n");
  TMemIniFile ini(name);
  EXPECT_EQ(ini.ReadString(L"TITLE", L"Text", L""), L"\x4E2D\x6587");
  EXPECT_EQ(ini.Encoding(), TEncoding::UTF8);  // written back as it was read
  ini.WriteInteger(L"TITLE", L"Height", 30);
  ini.UpdateFile();
  TMemIniFile again(name, TEncoding::ANSI);
  EXPECT_EQ(again.ReadInteger(L"TITLE", L"Height", 0), 30);
  EXPECT_EQ(again.ReadString(L"TITLE", L"Text", L""), L"\x4E2D\x6587");

  // A name with "_" appended reads nothing; Rename with reload reads the real file.
  TMemIniFile preview(name + L"_");
  EXPECT_EQ(preview.ReadInteger(L"TITLE", L"Height", 0), 0);
  preview.Rename(name, true);
  EXPECT_EQ(preview.ReadInteger(L"TITLE", L"Height", 0), 30);
  EXPECT_EQ(preview.FileName(), name);
}

TEST(IniFile, ReadsAndWritesThroughTheSystem) {
  wintest::TempDir dir;
  const String name = dir.File(L"settings.ini");
  {
    TIniFile ini(name);
    ini.WriteString(L"Main", L"Caption", L"Hello");
    ini.WriteInteger(L"Main", L"Width", 640);
    ini.WriteString(L"Main", L"Mask", L"$FF");
    ini.WriteBool(L"Other", L"On", true);
    EXPECT_EQ(ini.ReadString(L"main", L"caption", L"?"), L"Hello");
    EXPECT_EQ(ini.ReadString(L"Main", L"None", L"?"), L"?");
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Width", 0), 640);
    EXPECT_EQ(ini.ReadInteger(L"Main", L"Mask", 0), 255);
    EXPECT_TRUE(ini.ReadBool(L"Other", L"On", false));
    TStringList list;
    ini.ReadSection(L"Main", &list);
    EXPECT_EQ(Items(list), (V{L"Caption", L"Width", L"Mask"}));
    ini.ReadSections(&list);
    EXPECT_EQ(Items(list), (V{L"Main", L"Other"}));
    ini.ReadSectionValues(L"Main", &list);
    EXPECT_EQ(Items(list), (V{L"Caption=Hello", L"Width=640", L"Mask=$FF"}));
    EXPECT_TRUE(ini.ValueExists(L"Main", L"Width"));
    ini.DeleteKey(L"Main", L"Width");
    EXPECT_FALSE(ini.ValueExists(L"Main", L"Width"));
    ini.EraseSection(L"Other");
    EXPECT_FALSE(ini.SectionExists(L"Other"));
    ini.UpdateFile();
  }
  TMemIniFile mem(name);
  EXPECT_EQ(mem.ReadString(L"Main", L"Caption", L"?"), L"Hello");
  TStringList sections;
  mem.ReadSections(&sections);
  EXPECT_EQ(Items(sections), (V{L"Main"}));
}

}  // namespace
}  // namespace vcl
