// The inflating reader and the pack reader on packs built here with zlib: entries back to
// back, the extended header, sources shared by several readers, the seek rules, and broken
// packs failing cleanly.
#include <gtest/gtest.h>

#include <zlib.h>

#include "skin_layered/core/SkinPack.h"
#include "skin_layered/core/ZInflate.h"
#include "skin_layered/core/support/PackWriter.h"

namespace skin_layered::test {
namespace {

Bytes ReadAll(TZInflater& z, std::int64_t block = 1000) {
  Bytes out;
  Bytes buffer(static_cast<std::size_t>(block));
  for (std::int64_t n; (n = z.Read(buffer.data(), block)) > 0;) out.insert(out.end(), buffer.begin(), buffer.begin() + n);
  return out;
}

TInflateFailure FailureOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EInflateError& e) {
    return e.Failure();
  }
  ADD_FAILURE() << "no EInflateError";
  return TInflateFailure::InvalidOperation;
}

TEST(ZInflater, StreamsBackToBackEachLeaveTheSourceAfterTheirData) {
  const Bytes a = PatternBytes(5000, 7), b = PatternBytes(100, 8);
  Bytes joined = ZlibCompress(a);
  const std::size_t firstEnd = joined.size();
  const Bytes zb = ZlibCompress(b);
  joined.insert(joined.end(), zb.begin(), zb.end());
  TMemorySource source(joined);
  {
    TZInflater first(source);
    EXPECT_EQ(ReadAll(first), a);
    EXPECT_TRUE(first.StreamEnded());
  }
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(firstEnd));
  TZInflater second(source);
  EXPECT_EQ(ReadAll(second), b);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(joined.size()));
}

TEST(ZInflater, ReadersSharingASourcePutItBackWhereTheyLeftIt) {
  const Bytes a = PatternBytes(200000, 1), b = PatternBytes(200000, 2);
  Bytes za = ZlibCompress(a, 0), zb = ZlibCompress(b, 0);  // stored: several input blocks each
  Bytes joined = za;
  joined.insert(joined.end(), zb.begin(), zb.end());
  TMemorySource source(joined);
  TZInflater first(source);
  source.Seek(static_cast<std::int64_t>(za.size()), TSourceOrigin::Beginning);
  TZInflater second(source);
  Bytes outA, outB, buffer(30000);
  for (int i = 0; i < 7; ++i) {  // interleaved
    auto n = first.Read(buffer.data(), 30000);
    outA.insert(outA.end(), buffer.begin(), buffer.begin() + n);
    n = second.Read(buffer.data(), 30000);
    outB.insert(outB.end(), buffer.begin(), buffer.begin() + n);
  }
  EXPECT_EQ(outA, a);
  EXPECT_EQ(outB, b);
}

TEST(ZInflater, SeekRules) {
  const Bytes data = PatternBytes(20000, 3);
  Bytes source = BytesOf("prefix");  // the stream does not begin at the source's start
  const Bytes z = ZlibCompress(data);
  source.insert(source.end(), z.begin(), z.end());
  TMemorySource src(source);
  src.Seek(6, TSourceOrigin::Beginning);
  TZInflater inflater(src);

  EXPECT_EQ(inflater.Seek(0, TSourceOrigin::Current), 0);
  EXPECT_EQ(inflater.Seek(10000, TSourceOrigin::Current), 10000);  // forward by reading
  std::uint8_t byte = 0;
  ASSERT_EQ(inflater.Read(&byte, 1), 1);
  EXPECT_EQ(byte, data[10000]);
  EXPECT_EQ(inflater.Seek(15000, TSourceOrigin::Beginning), 15000);
  EXPECT_EQ(inflater.Seek(0, TSourceOrigin::End), 20000);  // the size
  // Back to the beginning: to where the zlib stream started, not to the source's start.
  EXPECT_EQ(inflater.Seek(0, TSourceOrigin::Beginning), 0);
  ASSERT_EQ(inflater.Read(&byte, 1), 1);
  EXPECT_EQ(byte, data[0]);

  // Backwards to anywhere but 0, and from the end with an offset, are refused.
  inflater.Seek(100, TSourceOrigin::Current);
  for (auto [offset, origin] : {std::pair{-1, TSourceOrigin::Current}, {50, TSourceOrigin::Beginning},
                                {100, TSourceOrigin::Beginning}, {5, TSourceOrigin::End}, {-3, TSourceOrigin::End}}) {
    try {
      inflater.Seek(offset, origin);
      ADD_FAILURE() << "seek " << offset << " accepted";
    } catch (const EInflateError& e) {
      EXPECT_EQ(e.Failure(), TInflateFailure::InvalidOperation);
      EXPECT_STREQ(e.what(), "Invalid ZStream operation!");
    }
  }
  EXPECT_EQ(FailureOf([&] { inflater.Seek(50000, TSourceOrigin::Beginning); }), TInflateFailure::ShortRead);
}

TEST(ZInflater, CorruptDataRaisesZlibsMessageAndTruncatedDataEndsShort) {
  const Bytes data = PatternBytes(4000, 4);
  Bytes z = ZlibCompress(data);
  Bytes corrupt = z;
  corrupt[0] = 0x77;  // a wrong header
  TMemorySource bad(corrupt);
  TZInflater broken(bad);
  try {
    ReadAll(broken);
    ADD_FAILURE() << "corrupt data accepted";
  } catch (const EInflateError& e) {
    EXPECT_EQ(e.Failure(), TInflateFailure::ZLib);
    EXPECT_EQ(e.Code(), Z_DATA_ERROR);
    EXPECT_EQ(std::string(e.what()), ZLibMessage(Z_DATA_ERROR));
  }

  const Bytes cut(z.begin(), z.begin() + static_cast<std::ptrdiff_t>(z.size() / 2));
  TMemorySource shortSource(cut);
  TZInflater truncated(shortSource);
  const Bytes got = ReadAll(truncated);
  EXPECT_LT(got.size(), data.size());
  EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
  EXPECT_FALSE(truncated.StreamEnded());
}

TEST(ZInflater, AStreamAskingForADictionaryFailsInsteadOfSpinning) {
  z_stream s{};
  ASSERT_EQ(deflateInit(&s, 6), Z_OK);
  const Bytes dict = BytesOf("dictionary"), data = BytesOf("dictionary dictionary");
  deflateSetDictionary(&s, dict.data(), static_cast<uInt>(dict.size()));
  Bytes out(200);
  s.next_in = const_cast<Bytef*>(data.data());
  s.avail_in = static_cast<uInt>(data.size());
  s.next_out = out.data();
  s.avail_out = static_cast<uInt>(out.size());
  ASSERT_EQ(deflate(&s, Z_FINISH), Z_STREAM_END);
  out.resize(s.total_out);
  deflateEnd(&s);
  TMemorySource source(out);
  TZInflater inflater(source);
  EXPECT_EQ(FailureOf([&] { ReadAll(inflater); }), TInflateFailure::ZLib);
}

// ---------------------------------------------------------------------------------------
// Packs

struct ReadPack {
  std::optional<TPackHeader> header;
  std::vector<TPackEntry> entries;
};

ReadPack Read(const Bytes& pack) {
  TMemorySource source(pack);
  ReadPack result;
  result.header = ReadPackHeader(source);
  if (result.header)
    for (int i = 0; i < result.header->Count; ++i) result.entries.push_back(ReadPackEntry(source));
  return result;
}

TEST(SkinPack, PlainAndExtendedPacksGiveTheirEntriesInOrder) {
  const auto specs = SampleEntries();
  for (bool extended : {false, true}) {
    const ReadPack pack = Read(WritePack(specs, extended));
    ASSERT_TRUE(pack.header);
    EXPECT_EQ(pack.header->Kind, extended ? TPackKind::Extended : TPackKind::Plain);
    ASSERT_EQ(pack.entries.size(), specs.size());
    for (std::size_t i = 0; i < specs.size(); ++i) {
      EXPECT_EQ(pack.entries[i].Name, specs[i].name);
      EXPECT_EQ(pack.entries[i].Data, specs[i].data);
    }
  }
  const ReadPack empty = Read(WritePack({}));
  ASSERT_TRUE(empty.header);
  EXPECT_EQ(empty.header->Count, 0);
}

TEST(SkinPack, StreamsHoldingMoreThanTheSizeAndEmptyEntriesKeepTheNextEntryInPlace) {
  const Bytes more = PatternBytes(900, 5);
  const ReadPack pack = Read(WritePack({
      {"a.bmp", more, 300, {}},     // the stream holds more than the size: the rest is passed over
      {"empty.jpg", {}, {}, {}},   // size 0: copies nothing
      {"b.bmp", BytesOf("last"), {}, {}},
  }));
  ASSERT_EQ(pack.entries.size(), 3u);
  EXPECT_EQ(pack.entries[0].Data, Bytes(more.begin(), more.begin() + 300));
  EXPECT_TRUE(pack.entries[1].Data.empty());
  EXPECT_EQ(pack.entries[2].Data, BytesOf("last"));
}

TEST(SkinPack, OtherMagicIsNotAPack) {
  for (const Bytes& bytes : {BytesOf("PMzF\x01\x00\x00\x00"), BytesOf("ZIP!xxxxxxxx")}) {
    TMemorySource source(bytes);
    EXPECT_FALSE(ReadPackHeader(source));
  }
  const Bytes tooShort = BytesOf("PMz");
  TMemorySource source(tooShort);
  EXPECT_EQ(FailureOf([&] { ReadPackHeader(source); }), TInflateFailure::ShortRead);
}

TEST(SkinPack, CountsLengthsAndSizesBeyondTheDataFailBeforeAnythingIsSizedToThem) {
  const Bytes good = WritePack(SampleEntries());
  // Every cut of a good pack fails as a short read, never anything worse.
  for (std::size_t cut = 4; cut < good.size(); cut += 97) {
    const Bytes part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_EQ(FailureOf([&] { Read(part); }), TInflateFailure::ShortRead) << cut;
  }
  EXPECT_EQ(FailureOf([&] { Read(WritePack({}, false, 0x7FFFFFFF)); }), TInflateFailure::ShortRead);
  EXPECT_EQ(FailureOf([&] { Read(WritePack({}, false, -1)); }), TInflateFailure::ShortRead);
  PackEntrySpec hugeName{"x", BytesOf("data"), {}, {}};
  Bytes pack = WritePack({hugeName});
  pack[8] = 0xFF, pack[9] = 0xFF, pack[10] = 0xFF, pack[11] = 0x7F;  // the name length
  EXPECT_EQ(FailureOf([&] { Read(pack); }), TInflateFailure::ShortRead);
  EXPECT_EQ(FailureOf([&] { Read(WritePack({{"x", BytesOf("data"), 0x7FFFFFFF, {}}})); }), TInflateFailure::ShortRead);
  EXPECT_EQ(FailureOf([&] { Read(WritePack({{"x", BytesOf("data"), -5, {}}})); }), TInflateFailure::ShortRead);
  EXPECT_EQ(FailureOf([&] { Read(WritePack({{"x", BytesOf("data"), 40, {}}})); }), TInflateFailure::ShortRead);
}

TEST(SkinPack, CorruptEntryDataRaisesTheZlibError) {
  Bytes stream = ZlibCompress(PatternBytes(500, 9));
  stream[stream.size() / 2] ^= 0xFF;
  stream[stream.size() / 2 + 1] ^= 0x5A;
  const Bytes pack = WritePack({{"x.bmp", PatternBytes(500, 9), {}, stream}});
  const TInflateFailure failure = FailureOf([&] { Read(pack); });
  EXPECT_TRUE(failure == TInflateFailure::ZLib || failure == TInflateFailure::ShortRead);
}

TEST(SkinPack, EntryNames) {
  EXPECT_TRUE(IsOptionsEntryName("options.DAT"));
  EXPECT_TRUE(IsOptionsEntryName("Options.dat"));
  EXPECT_FALSE(IsOptionsEntryName("Options.dat2"));
  EXPECT_TRUE(IsBitmapEntryName("frame.BmP"));
  EXPECT_FALSE(IsBitmapEntryName("bmp"));
  EXPECT_FALSE(IsBitmapEntryName("x.bmp\\y"));
  EXPECT_FALSE(IsBitmapEntryName("x.bmpx"));
}

}  // namespace
}  // namespace skin_layered::test
