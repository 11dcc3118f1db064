// Streams: seeking and its limits, short reads, copying, files, strings and resources.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "classlib/rtl/Streams.h"
#include "support/message_of.h"
#include "support/win_test_support.h"

namespace vcl {
namespace {

std::string ReadAll(TStream& s) {
  s.SetPosition(0);
  std::string out(static_cast<size_t>(s.Size()), '\0');
  s.ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
  return out;
}

void WriteText(TStream& s, std::string_view text) { s.WriteBuffer(text.data(), static_cast<int64_t>(text.size())); }

TEST(StreamSeek, PositionsStayWithinTheirLimits) {
  TMemoryStream s;
  WriteText(s, "hello");
  EXPECT_EQ(s.Position(), 5);
  EXPECT_EQ(s.Seek(-2, soCurrent), 3);
  EXPECT_EQ(s.Seek(-5, soEnd), 0);
  EXPECT_EQ(s.Seek(2, soEnd), 7);
  EXPECT_THROW(s.Seek(-1, soBeginning), EStreamError);
  EXPECT_THROW(s.Seek(-6, soEnd), EStreamError);
  EXPECT_EQ(s.Position(), 7);  // a refused seek leaves the position alone
  s.SetPosition(std::numeric_limits<int64_t>::max());
  EXPECT_THROW(s.Seek(1, soCurrent), EStreamError);
  // Positions are 64-bit and cost nothing until something is written there.
  EXPECT_EQ(s.Seek(int64_t{1} << 40, soBeginning), int64_t{1} << 40);
  EXPECT_EQ(s.Size(), 5);
  char c;
  EXPECT_EQ(s.Read(&c, 1), 0);
}

TEST(StreamSeek, WritingPastTheEndFillsTheGapWithZeros) {
  TMemoryStream s;
  WriteText(s, "ab");
  s.SetPosition(5);
  WriteText(s, "z");
  EXPECT_EQ(ReadAll(s), std::string("ab\0\0\0z", 6));
  s.SetSize(3);
  EXPECT_EQ(s.Position(), 3);  // shrinking pulls the position back
  s.SetSize(4);
  EXPECT_EQ(ReadAll(s), std::string("ab\0\0", 4));
  EXPECT_EQ(MessageOf<EStreamError>([&] { s.SetSize(int64_t{1} << 50); }), L"Out of memory while expanding memory stream");
  EXPECT_EQ(s.Size(), 4);
  s.Clear();
  EXPECT_EQ(s.Size(), 0);
  EXPECT_EQ(s.Position(), 0);
}

TEST(StreamReads, ShortReadsCountAndReadBufferRefuses) {
  TMemoryStream s;
  WriteText(s, "hello");
  s.SetPosition(3);
  char buf[16] = {};
  EXPECT_EQ(s.Read(buf, 10), 2);
  EXPECT_EQ(std::string(buf, 2), "lo");
  EXPECT_EQ(s.Read(buf, 10), 0);
  EXPECT_EQ(s.Read(buf, -1), 0);
  s.SetPosition(1);
  EXPECT_EQ(MessageOf<EReadError>([&] { s.ReadBuffer(buf, 5); }), L"Stream read error");
  s.SetPosition(0);
  s.ReadBuffer(buf, 5);
  s.ReadBuffer(buf, 0);  // nothing asked, nothing missing
  EXPECT_EQ(std::string(buf, 5), "hello");
}

TEST(StreamCopy, CopyFromTakesCountOrEverything) {
  TMemoryStream source;
  WriteText(source, "0123456789");
  source.SetPosition(7);
  TMemoryStream all;
  EXPECT_EQ(all.CopyFrom(&source, 0), 10);  // 0: all of it, from the start
  EXPECT_EQ(ReadAll(all), "0123456789");

  source.SetPosition(2);
  TMemoryStream part;
  EXPECT_EQ(part.CopyFrom(&source, 3), 3);
  EXPECT_EQ(ReadAll(part), "234");
  EXPECT_EQ(source.Position(), 5);
  EXPECT_THROW(part.CopyFrom(&source, 6), EReadError);

  // A copy longer than one block.
  TMemoryStream big, copy;
  std::string pattern(200000, '\0');
  for (size_t i = 0; i < pattern.size(); ++i) pattern[i] = static_cast<char>(i * 7);
  WriteText(big, pattern);
  copy.CopyFrom(&big, 0);
  EXPECT_EQ(ReadAll(copy), pattern);
}

TEST(StreamMemory, LoadsAndSavesStreamsAndFiles) {
  wintest::TempDir dir;
  TMemoryStream s;
  WriteText(s, "payload");
  s.SaveToFile(dir.File(L"a.bin"));
  TMemoryStream t;
  WriteText(t, "old content that is longer");
  t.LoadFromFile(dir.File(L"a.bin"));
  EXPECT_EQ(t.Position(), 0);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(t.Memory()), static_cast<size_t>(t.Size())), "payload");
  TMemoryStream u;
  t.SetPosition(3);
  u.LoadFromStream(&t);
  EXPECT_EQ(ReadAll(u), "payload");
  EXPECT_THROW(u.LoadFromFile(dir.File(L"none.bin")), EFOpenError);
}

TEST(StreamFile, ModesSharingAndErrors) {
  wintest::TempDir dir;
  const String name = dir.File(L"data.bin");
  {
    TFileStream f(name, fmCreate);
    WriteText(f, "abcdef");
    EXPECT_EQ(f.Size(), 6);
    EXPECT_EQ(f.Seek(-2, soEnd), 4);
    char c[2];
    EXPECT_EQ(f.Read(c, 2), 2);
    EXPECT_EQ(f.Read(c, 2), 0);
    EXPECT_THROW(f.Seek(-1, soBeginning), EStreamError);
    EXPECT_EQ(f.Position(), 6);
    EXPECT_EQ(f.FileName(), name);
  }
  {
    TFileStream f(name, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(ReadAll(f), "abcdef");
    EXPECT_THROW(WriteText(f, "x"), EWriteError);
    // A second reader is welcome, a writer is not.
    TFileStream reader(name, fmOpenRead | fmShareDenyNone);
    EXPECT_THROW(TFileStream(name, fmOpenReadWrite | fmShareDenyNone), EFOpenError);
    // 64-bit positions.
    EXPECT_EQ(f.Seek(int64_t{5} << 30, soBeginning), int64_t{5} << 30);
    EXPECT_EQ(f.Size(), 6);
  }
  {
    TFileStream f(name, fmOpenReadWrite | fmShareExclusive);
    EXPECT_THROW(TFileStream(name, fmOpenRead | fmShareDenyNone), EFOpenError);
    f.SetPosition(5);
    f.SetSize(3);
    EXPECT_EQ(f.Position(), 3);
    f.SetSize(5);
    EXPECT_EQ(ReadAll(f), std::string("abc\0\0", 5));
  }
  {
    TFileStream f(name, fmOpenWrite);
    f.Seek(0, soEnd);
    WriteText(f, "!");
  }
  TFileStream f(name, fmOpenRead);
  EXPECT_EQ(ReadAll(f), std::string("abc\0\0!", 6));

  const String missing = dir.File(L"missing.bin");
  try {
    TFileStream m(missing, fmOpenRead);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    const String start = L"Cannot open file \"" + missing + L"\". ";
    EXPECT_EQ(e.Message().substr(0, start.size()), start);
    EXPECT_GT(e.Message().size(), start.size());  // the system's reason follows
  }
  try {
    TFileStream m(dir.File(L"no\\folder.bin"), fmCreate);
    FAIL() << "no exception";
  } catch (const EFCreateError& e) {
    EXPECT_EQ(e.Message().rfind(L"Cannot create file \"" + dir.File(L"no\\folder.bin") + L"\". ", 0), 0u);
  }
}

TEST(StreamString, BytesInAnEncoding) {
  TStringStream utf8(L"\x4E2D\x6587" L"abc", TEncoding::UTF8);
  EXPECT_EQ(utf8.Size(), 9);
  EXPECT_EQ(utf8.Position(), 0);
  EXPECT_EQ(utf8.DataString(), L"\x4E2D\x6587" L"abc");
  utf8.SetPosition(6);
  EXPECT_EQ(utf8.ReadString(100), L"abc");
  EXPECT_EQ(utf8.ReadString(100), L"");
  utf8.WriteString(L"!");
  EXPECT_EQ(utf8.DataString(), L"\x4E2D\x6587" L"abc!");

  TStringStream bytes(std::string_view("form text"));
  EXPECT_EQ(bytes.Encoding(), TEncoding::Default);
  EXPECT_EQ(bytes.DataString(), L"form text");
  EXPECT_EQ(ReadAll(bytes), "form text");

  TStringStream empty;
  EXPECT_EQ(empty.Size(), 0);
  WriteText(empty, "xy");
  EXPECT_EQ(empty.DataString(), L"xy");
  EXPECT_EQ(empty.ClassName(), L"TStringStream");
  EXPECT_TRUE(empty.InheritsFrom<TMemoryStream>());
}

TEST(StreamResource, ReadsRcdataByNameAndNumber) {
  HINSTANCE module = GetModuleHandleW(nullptr);
  const std::string expected = "resource bytes 0123456789";
  TResourceStream byName(module, L"TEXTDATA", RT_RCDATA);
  EXPECT_EQ(ReadAll(byName), expected);
  TResourceStream anyCase(module, L"textdata", RT_RCDATA);
  EXPECT_EQ(anyCase.Size(), static_cast<int64_t>(expected.size()));
  EXPECT_EQ(std::memcmp(anyCase.Memory(), expected.data(), expected.size()), 0);
  TResourceStream byNumber(module, 101, RT_RCDATA);
  EXPECT_EQ(ReadAll(byNumber), expected);

  byName.SetPosition(9);
  char buf[64];
  EXPECT_EQ(byName.Read(buf, 64), 16);
  EXPECT_THROW(byName.Seek(-1, soBeginning), EStreamError);
  EXPECT_EQ(MessageOf<EStreamError>([&] { WriteText(byName, "x"); }), L"Can't write to a read-only resource stream");
  EXPECT_EQ(MessageOf<EResNotFound>([&] { TResourceStream missing(module, L"NOPE", RT_RCDATA); }), L"Resource NOPE not found");
  EXPECT_THROW(TResourceStream(module, L"TEXTDATA", RT_BITMAP), EResNotFound);
}

}  // namespace
}  // namespace vcl
