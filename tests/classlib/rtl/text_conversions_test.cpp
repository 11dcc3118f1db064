// String conversions, formatting, rounding, text helpers, file and command-line routines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <set>

#include "classlib/rtl/SysUtils.h"
#include "support/message_of.h"
#include "support/win_test_support.h"

namespace vcl {
namespace {

TEST(Format, IntegersWidthPrecisionAndHex) {
  EXPECT_EQ(Format(L"%d|%5d|%-5d|%.3d|%.3d", {42, 42, 42, 7, -7}), L"42|   42|42   |007|-007");
  // The library writes upper-case hexadecimal digits whatever the letter's case.
  EXPECT_EQ(Format(L"#%.2x%.2x%.2x", {255, 0, 128}), L"#FF0080");
  EXPECT_EQ(Format(L"%x", {-1}), L"FFFFFFFF");  // a 32-bit argument keeps 32 bits
  EXPECT_EQ(Format(L"%x", {int64_t{-1}}), L"FFFFFFFFFFFFFFFF");
  EXPECT_EQ(Format(L"%u %u", {-1, 7u}), L"4294967295 7");
  EXPECT_EQ(Format(L"%*d|%-*d", {4, 1, 3, 2}), L"   1|2  ");
}

TEST(Format, StringsIndexesAndPercent) {
  const String name = L"btn1";
  EXPECT_EQ(Format(L"%s_%s", {L"EN", L"MPPLAY"}), L"EN_MPPLAY");
  EXPECT_EQ(Format(L"[%6s][%-6s][%.2s]", {name, name, name}), L"[  btn1][btn1  ][bt]");
  EXPECT_EQ(Format(L"%1:s %0:s %s", {L"a", L"b"}), L"b a b");
  EXPECT_EQ(Format(L"100%% of %d", {3}), L"100% of 3");
}

TEST(Format, FloatingPoint) {
  EXPECT_EQ(Format(L"%f", {3.14159}), L"3.14");
  EXPECT_EQ(Format(L"%.3f|%.0f|%.1f", {2.5, 2.5, 0.25}), L"2.500|3|0.3");  // halves away from zero
  EXPECT_EQ(Format(L"%e", {1.5}), L"1.50000000000000E+000");
  EXPECT_EQ(Format(L"%.3e", {-0.000123456}), L"-1.23E-004");
  EXPECT_EQ(Format(L"%n", {1234567.891}), L"1,234,567.89");
  TFormatSettings comma;
  comma.DecimalSeparator = L',';
  comma.ThousandSeparator = L'.';
  EXPECT_EQ(Format(L"%.1f %n", {1.25, 1234.5}, comma), L"1,3 1.234,50");
}

TEST(Format, MismatchesRaiseConvertErrors) {
  EXPECT_EQ(MessageOf<EConvertError>([] { Format(L"%d", {L"x"}); }),
            L"Format '%d' invalid or incompatible with argument");
  EXPECT_THROW(Format(L"%s", {1}), EConvertError);
  EXPECT_THROW(Format(L"%f", {1}), EConvertError);
  EXPECT_EQ(MessageOf<EConvertError>([] { Format(L"%d %d", {1}); }), L"No argument for format '%d %d'");
  EXPECT_THROW(Format(L"%q", {1}), EConvertError);
  EXPECT_THROW(Format(L"abc %", {1}), EConvertError);
  EXPECT_THROW(Format(L"%99999999d", {1}), EConvertError);
  EXPECT_THROW(Format(L"%.*d", {2000000, 1}), EConvertError);  // no padding to absurd sizes
}

TEST(IntegerText, DecimalHexSignsAndLimits) {
  EXPECT_EQ(IntToStr(-5), L"-5");
  EXPECT_EQ(IntToStr(std::numeric_limits<int64_t>::max()), L"9223372036854775807");
  EXPECT_EQ(StrToInt(L"  +12"), 12);
  EXPECT_EQ(StrToInt(L"-$10"), -16);
  EXPECT_EQ(StrToInt(L"$ff"), 255);
  EXPECT_EQ(StrToInt(L"$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt(L"-2147483648"), std::numeric_limits<int>::min());
  EXPECT_EQ(StrToInt64(L"9223372036854775807"), std::numeric_limits<int64_t>::max());
  EXPECT_EQ(StrToInt64(L"$FFFFFFFFFF"), 0xFFFFFFFFFFLL);
  for (const wchar_t* bad : {L"", L" ", L"2147483648", L"12 ", L"0x10", L"1e3", L"$", L"-", L"$100000000", L"1.0"})
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
  EXPECT_THROW(StrToInt64(L"9223372036854775808"), EConvertError);
  EXPECT_EQ(MessageOf<EConvertError>([] { StrToInt(L"abc"); }), L"'abc' is not a valid integer value");
  EXPECT_EQ(StrToIntDef(L"abc", 7), 7);
  EXPECT_EQ(StrToIntDef(L"$1F", 7), 31);
  int v = 3;
  EXPECT_FALSE(TryStrToInt(L"x", v));
  EXPECT_EQ(v, 3);
}

TEST(FloatText, SeparatorsExponentsAndErrors) {
  const TFormatSettings dot = TFormatSettings::Invariant();
  TFormatSettings comma;
  comma.DecimalSeparator = L',';
  EXPECT_DOUBLE_EQ(StrToFloat(L"1.5", dot), 1.5);
  EXPECT_DOUBLE_EQ(StrToFloat(L"1,5", comma), 1.5);
  EXPECT_THROW(StrToFloat(L"1.5", comma), EConvertError);
  EXPECT_DOUBLE_EQ(StrToFloat(L" -2.5e2 ", dot), -250.0);
  EXPECT_DOUBLE_EQ(StrToFloat(L".5", dot), 0.5);
  EXPECT_EQ(StrToFloat(L"1e-400", dot), 0.0);
  for (const wchar_t* bad : {L"", L".", L"1e", L"abc", L"1.2.3", L"1e400", L"--1", L"1 2"})
    EXPECT_THROW(StrToFloat(bad, dot), EConvertError) << bad;
  EXPECT_EQ(MessageOf<EConvertError>([&] { StrToFloat(L"x1", dot); }), L"'x1' is not a valid floating point value");

  EXPECT_EQ(FloatToStr(1.5, dot), L"1.5");
  EXPECT_EQ(FloatToStr(0.0, dot), L"0");
  EXPECT_EQ(FloatToStr(1.0 / 3, dot), L"0.333333333333333");
  EXPECT_EQ(FloatToStr(123456789012345.0, dot), L"123456789012345");
  EXPECT_EQ(FloatToStr(1e15, dot), L"1E15");
  EXPECT_EQ(FloatToStr(1.25e20, dot), L"1.25E20");
  EXPECT_EQ(FloatToStr(0.00001, dot), L"1E-5");
  EXPECT_EQ(FloatToStr(2.75, comma), L"2,75");
  // A version number survives the trip through text with the forced separator.
  EXPECT_DOUBLE_EQ(StrToFloat(FloatToStr(8.37, dot), dot), 8.37);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  for (const auto& [x, rounded] : {std::pair{0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2}})
    EXPECT_EQ(Round(x), rounded) << x;
  EXPECT_EQ(Round(2.4999999), 2);
  EXPECT_EQ(Round(2.5000001), 3);
  EXPECT_EQ(Round(-2.6), -3);
  EXPECT_EQ(Round(0.4 * 255), 102);  // the disabled-item blend byte
  EXPECT_EQ(Round(4503599627370497.0), 4503599627370497LL);
  EXPECT_THROW(Round(std::nan("")), EInvalidOp);
  EXPECT_THROW(Round(1e19), EInvalidOp);
  EXPECT_THROW(Round(-std::numeric_limits<double>::infinity()), EInvalidOp);
}

TEST(TextHelpers, TrimCaseSearchAndReplace) {
  EXPECT_EQ(Trim(L"\t a b \r\n"), L"a b");
  EXPECT_EQ(Trim(String(L"\x01x\x20", 3)), L"x");
  EXPECT_EQ(Trim(L"!x!"), L"!x!");  // code 33 stays
  EXPECT_EQ(TrimLeft(L"  x  "), L"x  ");
  EXPECT_EQ(TrimRight(L"  x  "), L"  x");
  EXPECT_EQ(UpperCase(L"abz\x00E4\x4E2D"), L"ABZ\x00E4\x4E2D");  // ASCII letters only
  EXPECT_EQ(LowerCase(L"ABZ\x00C4"), L"abz\x00C4");
  EXPECT_EQ(Pos(L"b", L"abc"), 2);
  EXPECT_EQ(Pos(L"", L"abc"), 0);
  EXPECT_EQ(StringReplace(L"a #666666 b #666666", L"#666666", L"#F30", {rfReplaceAll}),
            L"a #F30 b #F30");
  EXPECT_EQ(StringReplace(L"aXa xa", L"xa", L"y", {}), L"aXa y");
  EXPECT_EQ(StringReplace(L"aXa xa", L"xa", L"y", {rfReplaceAll, rfIgnoreCase}), L"ay y");
  EXPECT_EQ(StringReplace(L"aaa", L"a", L"aa", {rfReplaceAll}), L"aaaaaa");  // no rescanning
}

TEST(FileNames, PartsOfPaths) {
  EXPECT_EQ(ExtractFilePath(L"C:\\skins\\blue\\Options.dat"), L"C:\\skins\\blue\\");
  EXPECT_EQ(ExtractFileDir(L"C:\\skins\\blue\\Options.dat"), L"C:\\skins\\blue");
  EXPECT_EQ(ExtractFileDir(L"C:\\Options.dat"), L"C:\\");
  EXPECT_EQ(ExtractFileExt(L"C:\\skins\\blue\\Options.dat"), L".dat");
  EXPECT_EQ(ExtractFileExt(L"C:\\skins.old\\blue"), L"");
  EXPECT_EQ(ExtractFileExt(L"archive.tar.pmz"), L".pmz");
  EXPECT_EQ(ExtractFilePath(L"C:file.html"), L"C:");
  EXPECT_EQ(ExtractFilePath(L"file.html"), L"");
}

TEST(Files, ExistenceDeletionAndCurrentFolder) {
  wintest::TempDir dir;
  const String file = dir.File(L"file.html");
  wintest::WriteBytes(file, "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_TRUE(DeleteFile(file));
  EXPECT_FALSE(FileExists(file));
  EXPECT_FALSE(DeleteFile(file));

  const String before = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
  const String now = GetCurrentDir();
  SetCurrentDirectoryW(before.c_str());
  EXPECT_TRUE(SameText(now, dir.Path())) << WideToUtf8(now);
  EXPECT_NE(now.back(), L'\\');
}

TEST(Files, FindFirstSkipsUnwantedAttributes) {
  wintest::TempDir dir;
  wintest::WriteBytes(dir.File(L"a.txt"), "12345");
  wintest::WriteBytes(dir.File(L"b.txt"), "");
  wintest::WriteBytes(dir.File(L"c.dat"), "");
  wintest::WriteBytes(dir.File(L"h.txt"), "");
  SetFileAttributesW(dir.File(L"h.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryW(dir.File(L"sub.txt").c_str(), nullptr);

  auto names = [&](const String& pattern, int attr) {
    std::set<String> found;
    TSearchRec rec;
    for (int r = FindFirst(pattern, attr, rec); r == 0; r = FindNext(rec)) {
      found.insert(rec.Name);
      if (rec.Name == L"a.txt") {
        EXPECT_EQ(rec.Size, 5);
      }
    }
    FindClose(rec);
    return found;
  };
  EXPECT_EQ(names(dir.File(L"*.txt"), 0), (std::set<String>{L"a.txt", L"b.txt"}));
  EXPECT_EQ(names(dir.File(L"*.txt"), faHidden), (std::set<String>{L"a.txt", L"b.txt", L"h.txt"}));
  EXPECT_EQ(names(dir.File(L"*.txt"), faDirectory), (std::set<String>{L"a.txt", L"b.txt", L"sub.txt"}));
  EXPECT_EQ(names(dir.File(L"*"), faAnyFile).size(), 7u);  // with "." and ".."

  TSearchRec rec;
  EXPECT_NE(FindFirst(dir.File(L"*.none"), faAnyFile, rec), 0);
  EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
  ASSERT_EQ(FindFirst(dir.File(L"c.dat"), 0, rec), 0);
  EXPECT_EQ(rec.Name, L"c.dat");
  EXPECT_EQ(rec.Attr & faDirectory, 0);
  EXPECT_EQ(FindNext(rec), ERROR_NO_MORE_FILES);
  // The record closes its search when it goes; FindClose twice is harmless.
  FindClose(rec);
  FindClose(rec);
}

// The command line is read from a second run of this program with chosen arguments: that run
// writes what ParamCount and ParamStr report into a file and ends before the tests start.
constexpr wchar_t kParamsReportVariable[] = L"CLASSLIB_TEXT_PARAMS_REPORT";

const bool kParamsChild = [] {
  wchar_t path[MAX_PATH] = {};
  if (!GetEnvironmentVariableW(kParamsReportVariable, path, MAX_PATH)) return false;
  std::string text = std::to_string(ParamCount()) + "\n";
  for (int i = 0; i <= ParamCount() + 1; ++i) text += WideToUtf8(ParamStr(i)) + "\n";
  wintest::WriteBytes(path, text);
  ExitProcess(0);
}();

// Each well-formed sequence is its character, at both ends of each length's range; what is
// not a character (an overlong form, a surrogate, a value past U+10FFFF, a cut or broken
// sequence) gives one replacement character a byte, never a character of its own or a lone
// surrogate.
TEST(Utf8Text, WellFormedSequencesDecodeAndEveryOtherByteIsReplaced) {
  const std::wstring r(1, L'\xFFFD');
  const struct {
    const char* what;
    std::string bytes;
    std::wstring text;
  } cases[] = {
      {"ASCII", "a\x7F", L"a\x7F"},
      {"two bytes, least and most", "\xC2\x80\xDF\xBF", L"\x0080\x07FF"},
      {"three bytes, least and most", "\xE0\xA0\x80\xEF\xBF\xBF", L"\x0800\xFFFF"},
      {"around the surrogates", "\xED\x9F\xBF\xEE\x80\x80", L"\xD7FF\xE000"},
      {"four bytes, least and most", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\xD800\xDC00\xDBFF\xDFFF"},
      {"Chinese", "\xE5\xBA\x97", L"\x5E97"},
      {"overlong NUL", std::string("\xC0\x80", 2), r + r},
      {"overlong two bytes", "\xC1\xBF", r + r},
      {"overlong three bytes", "\xE0\x9F\xBF", r + r + r},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", r + r + r + r},
      {"a surrogate, least", "\xED\xA0\x80", r + r + r},
      {"a surrogate, most", "\xED\xBF\xBF", r + r + r},
      {"past U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r},
      {"a five-byte lead", "\xF8\x88\x80\x80\x80", r + r + r + r + r},
      {"cut at the end", "a\xE5\xBA", L"a" + r + r},
      {"a continuation byte alone", "\x80x", r + L"x"},
      {"broken by an ASCII byte", "\xE5x\x97", r + L"x" + r},
  };
  for (const auto& c : cases) EXPECT_EQ(Utf8ToWide(c.bytes), c.text) << c.what;
}

TEST(CommandLine, ParamsSplitAtBlanksAndDropQuotes) {
  (void)kParamsChild;
  wintest::TempDir dir;
  const String report = dir.File(L"params.txt");
  const String exe = ParamStr(0);
  ASSERT_TRUE(FileExists(exe));
  String cmd = L"\"" + exe + L"\" plain \"a b\" \"\" c\"d e\"f \"\"x";
  SetEnvironmentVariableW(kParamsReportVariable, report.c_str());
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
  SetEnvironmentVariableW(kParamsReportVariable, nullptr);
  ASSERT_TRUE(started);
  WaitForSingleObject(pi.hProcess, 60000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);

  std::vector<std::string> lines;
  const std::string text = wintest::ReadBytes(report);
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "4");
  EXPECT_TRUE(SameText(Utf8ToWide(lines[1]), exe));
  EXPECT_EQ(lines[2], "plain");
  EXPECT_EQ(lines[3], "a b");
  EXPECT_EQ(lines[4], "cd ef");
  EXPECT_EQ(lines[5], "x");
  EXPECT_EQ(lines[6], "");  // beyond the last parameter
}

}  // namespace
}  // namespace vcl
