// The inflating reader and the pack reader on packs built here with zlib: entries back to
// back, the extended header, sources shared by several readers, the seek rules, broken packs
// failing cleanly with the fault and the entry, and the size no entry may pass.
#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <functional>
#include <string>
#include <limits>
#include <optional>
#include <string_view>

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

// An entry as found by the walk and unpacked from where it was found.
struct ReadEntry {
  std::string Name;
  Bytes Data;
};

ReadEntry ReadPackEntry(TInflateSource& Source, int Index, int Count) {
  std::int64_t unpacked = 0;
  const TPackEntryInfo info = SkipPackEntry(Source, Index, Count, unpacked);
  const std::int64_t after = Source.Position();
  ReadEntry entry{info.Name, UnpackPackEntry(Source, info)};
  Source.Seek(after, TSourceOrigin::Beginning);
  return entry;
}

struct ReadPack {
  std::optional<TPackHeader> header;
  std::vector<ReadEntry> entries;
};

ReadPack Read(const Bytes& pack) {
  TMemorySource source(pack);
  ReadPack result;
  result.header = ReadPackHeader(source);
  if (result.header)
    for (int i = 0; i < result.header->Count; ++i)
      result.entries.push_back(ReadPackEntry(source, i, result.header->Count));
  return result;
}

std::optional<EPackError> PackErrorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EPackError& e) {
    return e;
  }
  return std::nullopt;
}

TPackFault FaultOf(const std::function<void()>& f) {
  const std::optional<EPackError> error = PackErrorOf(f);
  if (!error) {
    ADD_FAILURE() << "no EPackError";
    return TPackFault::Damaged;
  }
  return error->Fault;
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

TEST(SkinPack, TheWalkFindsEachEntrysDataAndUnpacksNothingUntilAskedInAnyOrder) {
  const auto specs = SampleEntries();
  const Bytes bytes = WritePack(specs, true);
  TMemorySource source(bytes);
  const std::optional<TPackHeader> header = ReadPackHeader(source);
  ASSERT_TRUE(header);
  const std::vector<TPackEntryInfo> entries = IndexPack(source, *header);
  EXPECT_EQ(source.Position(), static_cast<std::int64_t>(bytes.size()));
  ASSERT_EQ(entries.size(), specs.size());
  // Backwards: each from where the walk found it.
  for (std::size_t i = entries.size(); i-- > 0;) {
    EXPECT_EQ(entries[i].Index, static_cast<int>(i));
    EXPECT_EQ(entries[i].Name, specs[i].name);
    EXPECT_EQ(entries[i].Size, static_cast<std::int32_t>(specs[i].data.size()));
    EXPECT_EQ(UnpackPackEntry(source, entries[i]), specs[i].data) << i;
  }
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
  EXPECT_EQ(FaultOf([&] { ReadPackHeader(source); }), TPackFault::CutShort);
}

TEST(SkinPack, CountsLengthsAndSizesBeyondTheDataFailBeforeAnythingIsSizedToThem) {
  const Bytes good = WritePack(SampleEntries());
  // Every cut of a good pack fails as cut short, or as a length beyond the bytes left when
  // the cut falls in a name, never anything worse.
  for (std::size_t cut = 4; cut < good.size(); cut += 97) {
    const Bytes part(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    const TPackFault fault = FaultOf([&] { Read(part); });
    EXPECT_TRUE(fault == TPackFault::CutShort || fault == TPackFault::CountBeyondData) << cut;
  }
  EXPECT_EQ(FaultOf([&] { Read(WritePack({}, false, 0x7FFFFFFF)); }), TPackFault::CountBeyondData);
  EXPECT_EQ(FaultOf([&] { Read(WritePack({}, false, -1)); }), TPackFault::CountBeyondData);
  PackEntrySpec hugeName{"x", BytesOf("data"), {}, {}};
  Bytes pack = WritePack({hugeName});
  pack[8] = 0xFF, pack[9] = 0xFF, pack[10] = 0xFF, pack[11] = 0x7F;  // the name length
  EXPECT_EQ(FaultOf([&] { Read(pack); }), TPackFault::CountBeyondData);
  EXPECT_EQ(FaultOf([&] { Read(WritePack({{"x", BytesOf("data"), 0x7FFFFFFF, {}}})); }), TPackFault::EntryTooLarge);
  EXPECT_EQ(FaultOf([&] { Read(WritePack({{"x", BytesOf("data"), -5, {}}})); }), TPackFault::CountBeyondData);
  EXPECT_EQ(FaultOf([&] { Read(WritePack({{"x", BytesOf("data"), 40, {}}})); }), TPackFault::CutShort);
}

// Every bound of the header and of an entry, pinned by hand-made packs one byte either side
// of it: within the bound the read goes on; past it, it fails before a byte of what the field
// claims is read (the source stays right after the field).
class PackBytes {
 public:
  PackBytes& Text(std::string_view T) {
    bytes.insert(bytes.end(), T.begin(), T.end());
    return *this;
  }
  PackBytes& Int(std::int32_t V) {
    const auto u = static_cast<std::uint32_t>(V);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(u >> shift));
    return *this;
  }
  PackBytes& Zeros(std::size_t N) {
    bytes.insert(bytes.end(), N, 0);
    return *this;
  }
  PackBytes& Data(const Bytes& B) {
    bytes.insert(bytes.end(), B.begin(), B.end());
    return *this;
  }
  Bytes bytes;
};

// What one read came to: its error (none when it went through) and where the source stood
// after it.
struct Attempt {
  std::optional<EPackError> error;
  std::int64_t position = 0;
  std::optional<TPackFault> failure() const { return error ? std::optional(error->Fault) : std::nullopt; }
};

template <class F>
Attempt Try(const Bytes& Pack, F&& Read) {
  TMemorySource source(Pack);
  Attempt attempt;
  try {
    Read(source);
  } catch (const EPackError& e) {
    attempt.error = e;
  }
  attempt.position = source.Position();
  return attempt;
}

Attempt TryHeader(const Bytes& Pack) {
  return Try(Pack, [](TMemorySource& S) { ASSERT_TRUE(ReadPackHeader(S)); });
}

TEST(SkinPackBounds, TheHeadersCountIsAtMostOneEntrysFixedBytesForEveryEightLeft) {
  // 16 bytes after a plain header hold at most two entries' fixed parts.
  EXPECT_FALSE(TryHeader(PackBytes().Text("PMzf").Int(2).Zeros(16).bytes).error);
  EXPECT_FALSE(TryHeader(PackBytes().Text("PMzf").Int(2).Zeros(23).bytes).error);
  for (const Bytes& over : {PackBytes().Text("PMzf").Int(3).Zeros(23).bytes, PackBytes().Text("PMzf").Int(-1).bytes,
                            PackBytes().Text("PMzf").Int(1).Zeros(7).bytes}) {
    const Attempt a = TryHeader(over);
    EXPECT_EQ(a.failure(), TPackFault::CountBeyondData);
    EXPECT_EQ(a.position, 8);  // nothing read past the count
    ASSERT_TRUE(a.error);
    EXPECT_EQ(a.error->Entry, -1);  // the header's fault
    EXPECT_EQ(a.error->Left, static_cast<std::int64_t>(over.size()) - 8);
  }
  EXPECT_EQ(TryHeader(PackBytes().Text("PMzf").Int(3).Zeros(23).bytes).error->Claimed, 3);
  EXPECT_FALSE(TryHeader(PackBytes().Text("PMzf").Int(0).bytes).error);
  // The extended header's two further bytes are not room for entries: 16 bytes after the
  // count are two entries' worth only once those two are taken off.
  EXPECT_FALSE(TryHeader(PackBytes().Text("PMzg").Int(2).Zeros(18).bytes).error);
  const Attempt extended = TryHeader(PackBytes().Text("PMzg").Int(2).Zeros(17).bytes);
  EXPECT_EQ(extended.failure(), TPackFault::CountBeyondData);
  EXPECT_EQ(extended.position, 10);
  // Cut inside the magic, the count or the extended header's bytes.
  for (const Bytes& cut : {PackBytes().Text("PMz").bytes, PackBytes().Text("PMzf").Zeros(3).bytes,
                           PackBytes().Text("PMzg").Int(0).Zeros(1).bytes}) {
    const Attempt a = TryHeader(cut);
    EXPECT_EQ(a.failure(), TPackFault::CutShort) << cut.size();
    if (a.error) EXPECT_EQ(a.error->Entry, -1);
  }
}

// One entry after a plain header of count 1.
Attempt TryEntry(const Bytes& Entry, ReadEntry* Read = nullptr) {
  const Bytes pack = PackBytes().Text("PMzf").Int(1).Data(Entry).bytes;
  return Try(pack, [Read](TMemorySource& S) {
    ASSERT_TRUE(ReadPackHeader(S));
    ReadEntry entry = ReadPackEntry(S, 0, 1);
    if (Read) *Read = std::move(entry);
  });
}

TEST(SkinPackBounds, ANamesLengthLeavesRoomForTheSizeAfterIt) {
  // The name takes every byte but the size's four; the size 0 asks for nothing more.
  ReadEntry entry;
  EXPECT_FALSE(TryEntry(PackBytes().Int(5).Text("a.bmp").Int(0).bytes, &entry).error);
  EXPECT_EQ(entry.Name, "a.bmp");
  EXPECT_TRUE(entry.Data.empty());
  // One byte longer than that, or negative: refused before the name is read.
  for (std::int32_t length : {6, -1, 0x7FFFFFFF, std::numeric_limits<std::int32_t>::min()}) {
    const Attempt a = TryEntry(PackBytes().Int(length).Text("a.bmp").Int(0).bytes);
    EXPECT_EQ(a.failure(), TPackFault::CountBeyondData) << length;
    EXPECT_EQ(a.position, 12) << length;  // header and length only
    ASSERT_TRUE(a.error);
    EXPECT_EQ(a.error->Entry, 0);
    EXPECT_EQ(a.error->Count, 1);
    EXPECT_FALSE(a.error->NameRead);
    EXPECT_EQ(a.error->Claimed, length);
    EXPECT_EQ(a.error->Left, 9);
  }
  // An empty name is a name.
  EXPECT_FALSE(TryEntry(PackBytes().Int(0).Int(0).bytes, &entry).error);
  EXPECT_EQ(entry.Name, "");
}

TEST(SkinPackBounds, ASizeIsAtMostWhatTheBytesLeftCouldInflateTo) {
  const Bytes stream = ZlibCompress(PatternBytes(40, 6));
  const auto left = static_cast<std::int64_t>(stream.size());
  const std::int32_t most = static_cast<std::int32_t>(left * kMaxInflateRatio);
  const std::int64_t afterSize = 8 + 4 + 1 + 4;
  // At the bound the stream is inflated (and found short of the claim); past it, or
  // negative, nothing of the stream is read.
  const Attempt at = TryEntry(PackBytes().Int(1).Text("x").Int(most).Data(stream).bytes);
  EXPECT_EQ(at.failure(), TPackFault::CutShort);
  EXPECT_GT(at.position, afterSize);
  ASSERT_TRUE(at.error);
  EXPECT_TRUE(at.error->NameRead);
  EXPECT_EQ(at.error->EntryName, "x");
  EXPECT_EQ(at.error->Claimed, most);
  for (std::int32_t size : {most + 1, -1, std::numeric_limits<std::int32_t>::min()}) {
    const Attempt a = TryEntry(PackBytes().Int(1).Text("x").Int(size).Data(stream).bytes);
    EXPECT_EQ(a.failure(), TPackFault::CountBeyondData) << size;
    EXPECT_EQ(a.position, afterSize) << size;
  }
  // A size the stream gives exactly is read whole.
  ReadEntry entry;
  EXPECT_FALSE(TryEntry(PackBytes().Int(1).Text("x").Int(40).Data(stream).bytes, &entry).error);
  EXPECT_EQ(entry.Data, PatternBytes(40, 6));
  // Cut inside the name length, the name or the size (the header's count of one already
  // asks for more bytes than are left).
  for (const Bytes& cut : {PackBytes().Zeros(3).bytes, PackBytes().Int(4).Text("ab").bytes,
                           PackBytes().Int(1).Text("x").Zeros(2).bytes}) {
    const Attempt a = TryEntry(cut);
    EXPECT_TRUE(a.failure() == TPackFault::CutShort || a.failure() == TPackFault::CountBeyondData) << cut.size();
  }
}

TEST(SkinPackLimits, AnEntryMayUnpackToTheSizeAllowedAndNotAByteMore) {
  const Bytes allowed = ZerosStream(kMaxPackEntrySize), over = ZerosStream(kMaxPackEntrySize + 1);
  // The size allowed, claimed and held: found and unpacked whole, the next entry in place.
  {
    const Bytes pack = WritePack({{"big.bmp", {}, static_cast<std::int32_t>(kMaxPackEntrySize), allowed},
                                  {"next.bmp", BytesOf("next"), {}, {}}});
    TMemorySource source(pack);
    const std::optional<TPackHeader> header = ReadPackHeader(source);
    ASSERT_TRUE(header);
    const std::vector<TPackEntryInfo> entries = IndexPack(source, *header);
    ASSERT_EQ(entries.size(), 2u);
    const Bytes big = UnpackPackEntry(source, entries[0]);
    EXPECT_EQ(static_cast<std::int64_t>(big.size()), kMaxPackEntrySize);
    EXPECT_EQ(std::count(big.begin(), big.end(), 0), kMaxPackEntrySize);
    EXPECT_EQ(UnpackPackEntry(source, entries[1]), BytesOf("next"));
  }
  // A byte more claimed: refused before its data is read.
  {
    const Bytes pack = WritePack({{"big.bmp", {}, static_cast<std::int32_t>(kMaxPackEntrySize + 1), over}});
    const Attempt a = Try(pack, [](TMemorySource& S) { IndexPack(S, *ReadPackHeader(S)); });
    EXPECT_EQ(a.failure(), TPackFault::EntryTooLarge);
    EXPECT_EQ(a.position, 8 + 4 + 7 + 4);
    ASSERT_TRUE(a.error);
    EXPECT_EQ(a.error->EntryName, "big.bmp");
    EXPECT_EQ(a.error->Claimed, kMaxPackEntrySize + 1);
  }
  // A small claim over a stream holding a byte more than allowed, named or not: refused once
  // the walk passes the size allowed, whatever follows.
  for (const char* name : {"unnamed.bin", "Options.dat"}) {
    const Bytes pack = WritePack({{name, {}, 10, over}, {"next.bmp", BytesOf("next"), {}, {}}});
    EXPECT_EQ(FaultOf([&] { Read(pack); }), TPackFault::EntryTooLarge) << name;
  }
  // Such a stream holding exactly the size allowed is passed over.
  const ReadPack pack = Read(WritePack({{"small.bmp", {}, 10, allowed}, {"next.bmp", BytesOf("next"), {}, {}}}));
  ASSERT_EQ(pack.entries.size(), 2u);
  EXPECT_EQ(pack.entries[0].Data, Bytes(10, 0));
  EXPECT_EQ(pack.entries[1].Data, BytesOf("next"));
}

TEST(SkinPackLimits, ThePacksEntriesMayUnpackToTheTotalAllowedAndNotAByteMore) {
  // Four entries of the size allowed make the total allowed; a byte more anywhere after is
  // refused at the entry that passes it.
  const Bytes full = ZerosStream(kMaxPackEntrySize);
  static_assert(4 * kMaxPackEntrySize == kMaxPackUnpackedSize);
  std::vector<PackEntrySpec> specs;
  for (int i = 0; i < 4; ++i) specs.push_back({"e" + std::to_string(i) + ".bin", {}, 10, full});
  specs.push_back({"empty.bin", {}, {}, {}});
  {
    const Bytes pack = WritePack(specs);
    TMemorySource source(pack);
    EXPECT_EQ(IndexPack(source, *ReadPackHeader(source)).size(), 5u);
  }
  specs.back() = {"last.bin", BytesOf("x"), {}, {}};
  const Bytes pack = WritePack(specs);
  const std::optional<EPackError> error = PackErrorOf([&] {
    TMemorySource source(pack);
    IndexPack(source, *ReadPackHeader(source));
  });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->Fault, TPackFault::PackTooLarge);
  EXPECT_EQ(error->Entry, 4);
  EXPECT_EQ(error->EntryName, "last.bin");
  EXPECT_EQ(error->Claimed, kMaxPackUnpackedSize + 1);
}

TEST(SkinPack, CorruptEntryDataIsDamagedAndNamesTheEntry) {
  Bytes stream = ZlibCompress(PatternBytes(500, 9));
  stream[stream.size() / 2] ^= 0xFF;
  stream[stream.size() / 2 + 1] ^= 0x5A;
  const Bytes pack = WritePack({{"a.bmp", BytesOf("first"), {}, {}}, {"x.bmp", PatternBytes(500, 9), {}, stream}});
  const std::optional<EPackError> error = PackErrorOf([&] { Read(pack); });
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->Fault == TPackFault::Damaged || error->Fault == TPackFault::CutShort);
  EXPECT_EQ(error->Entry, 1);
  EXPECT_EQ(error->Count, 2);
  EXPECT_EQ(error->EntryName, "x.bmp");
  // A wrong zlib header: damaged, with zlib's code.
  Bytes header = ZlibCompress(PatternBytes(500, 9));
  header[0] = 0x77;
  const std::optional<EPackError> bad = PackErrorOf([&] { Read(WritePack({{"y.png", {}, 500, header}})); });
  ASSERT_TRUE(bad);
  EXPECT_EQ(bad->Fault, TPackFault::Damaged);
  EXPECT_EQ(bad->ZLibCode, Z_DATA_ERROR);
  EXPECT_EQ(bad->EntryName, "y.png");
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
