// The skin package reader on packages made by the test writer: every format tag, name rules,
// extraction, and each way a package can lie about its sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin_classic/io/SkinLzh.h"
#include "skin_classic/io/SkinReader.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace skin_classic {
namespace {

using namespace test_support;
using Bytes = std::vector<std::uint8_t>;

Bytes Str(std::string_view s) { return ToBytes(s); }

Bytes EntryBytes(const std::optional<SkinEntry>& e) {
  return e ? Bytes(e->bytes.begin(), e->bytes.end()) : Bytes{};
}

PackageSpec SampleSpec(std::int32_t tag = 20000) {
  PackageSpec spec;
  spec.tag = tag;
  spec.entries = {{"Skin.ini", Str("[Personality]\r\nLeftFrame=1\r\n")},
                  {"left.bmp", Bytes(300, 0x11)},
                  {"empty.bmp", {}},
                  {"top.bmp", Bytes(70, 0x22)}};
  return spec;
}

// An unpacked package laid out by hand, for sizes the writer would never produce.
Bytes Unpacked(std::int32_t tag, std::int32_t nameLength, std::string_view names,
               const std::vector<std::int32_t>& sizes, std::size_t dataBytes) {
  ByteWriter w;
  w.Int32(tag).Int32(nameLength).Fill(8, 0).Fill(SkippedBlockBytes(tag), 0).Text(names);
  for (std::int32_t s : sizes) w.Int32(s);
  w.Fill(dataBytes, 0x5A);
  return w.Take();
}

TEST(SkinReader, ReadsEveryFormatTagAlike) {
  for (std::int32_t tag : {20000, 30000, 40000, 50000, 60000, 70000}) {
    SCOPED_TRACE(tag);
    PackageSpec spec = SampleSpec(tag);
    spec.reserved = {1, 2, 3, 4, 5, 6, 7, 8};
    TSkinReader reader;
    ASSERT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
    EXPECT_EQ(reader.Header().tag, tag);
    EXPECT_EQ(reader.Header().nameTextLength, static_cast<std::int32_t>(NameText(spec).size()));
    EXPECT_EQ(reader.Header().reserved, spec.reserved);
    EXPECT_EQ(reader.Names(), (std::vector<std::string>{"skin.ini", "left.bmp", "empty.bmp", "top.bmp"}));
    EXPECT_EQ(std::vector<std::int32_t>(reader.Sizes().begin(), reader.Sizes().end()),
              (std::vector<std::int32_t>{28, 300, 0, 70}));
    EXPECT_EQ(reader.Data().size(), 398u);
    EXPECT_EQ(EntryBytes(reader.Extract("left.bmp")), Bytes(300, 0x11));
    EXPECT_EQ(EntryBytes(reader.Extract("top.bmp")), Bytes(70, 0x22));
  }
}

TEST(SkinReader, ExtractLowerCasesAndTakesTheFirstOfEqualNamesOrExtensions) {
  PackageSpec spec;
  spec.entries = {{"skin.dat", Str("d")}, {"Title.BMP", Str("first")}, {"other", Str("x")},
                  {"title.bmp", Str("second")}, {"x.ini", Str("i")}};
  TSkinReader reader;
  ASSERT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
  EXPECT_EQ(EntryBytes(reader.Extract("TITLE.bmp")), Str("first"));
  EXPECT_EQ(reader.Extract("title.bmp")->name, "title.bmp");
  EXPECT_FALSE(reader.Extract("title"));
  EXPECT_FALSE(reader.Extract("missing.bmp"));
  const auto bmp = reader.ExtractByExt(".bmp");
  ASSERT_TRUE(bmp);
  EXPECT_EQ(EntryBytes(bmp), Str("first"));  // package order
  EXPECT_EQ(reader.ExtractByExt(".ini")->name, "x.ini");
  EXPECT_FALSE(reader.ExtractByExt(".BMP"));  // names are stored lower-cased
  EXPECT_FALSE(reader.ExtractByExt(".png"));
}

TEST(SkinReader, SplitsNamesAtEveryLineBreakKind) {
  for (const char* lineBreak : {"\r\n", "\n", "\r"}) {
    for (bool finalBreak : {false, true}) {
      PackageSpec spec = SampleSpec();
      spec.lineBreak = lineBreak;
      spec.finalLineBreak = finalBreak;
      TSkinReader reader;
      ASSERT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
      EXPECT_EQ(reader.Count(), 4u);  // a final break adds no empty name
      EXPECT_EQ(EntryBytes(reader.Extract("top.bmp")), Bytes(70, 0x22));
    }
  }
  // Mixed breaks; LF CR is two breaks around an empty name.
  TSkinReader reader;
  const std::string names = "a\r\nb\nc\rd\n\re";
  ASSERT_EQ(reader.Load(PackPackage(Unpacked(20000, static_cast<std::int32_t>(names.size()), names,
                                             {1, 1, 1, 1, 1, 1}, 6))),
            SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
}

TEST(SkinReader, AcceptsUpTo1001Entries) {
  PackageSpec spec;
  for (int i = 0; i < 1001; ++i) spec.entries.push_back({"n" + std::to_string(i), {static_cast<std::uint8_t>(i)}});
  TSkinReader reader;
  ASSERT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Count(), 1001u);
  EXPECT_EQ(EntryBytes(reader.Extract("n1000")), Bytes{static_cast<std::uint8_t>(1000)});

  spec.entries.push_back({"n1001", {}});
  EXPECT_EQ(reader.Load(BuildPackage(spec)), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Count(), 1001u);
}

TEST(SkinReader, UnknownTagIsAnOlderSkinFile) {
  for (std::int32_t tag : {10000, 0, 20001, -20000}) {
    TSkinReader reader;
    EXPECT_EQ(reader.Load(BuildPackage(SampleSpec(tag))), SkinLoadResult::OlderSkinFile) << tag;
    EXPECT_EQ(reader.Count(), 0u);
    EXPECT_EQ(reader.Fault(), "its format " + std::to_string(tag) + " is not one this engine reads");
  }
}

TEST(SkinReader, RejectsUnpackedSizeOutOfBounds) {
  const Bytes unpacked = BuildUnpackedPackage(SampleSpec());
  TSkinReader reader;
  EXPECT_EQ(reader.Load(PackPackage(unpacked, -1)), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Fault(), "it gives an unpacked size of -1 bytes");
  EXPECT_EQ(reader.Load(PackPackage(unpacked, INT32_MIN)), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Load(PackPackage(unpacked, INT32_MAX)), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Fault(), "it gives an unpacked size of 2147483647 bytes, more than the 64 MB a skin package may hold");
  // More than the stream could expand to; the most it can is read.
  const Bytes packed = PackPackage(unpacked);
  const auto limit = static_cast<std::int32_t>(TLZH::MaxExpansion(packed.size() - 4));
  EXPECT_EQ(reader.Load(PackPackage(unpacked, limit + 1)), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Fault(), "it gives an unpacked size of " + std::to_string(limit + 1) + " bytes, more than its " +
                                std::to_string(packed.size() - 4) + " packed bytes can hold");
  EXPECT_NE(reader.Load(PackPackage(unpacked, limit)), SkinLoadResult::Malformed);
  // Over 64 MiB, even when the stream would be long enough.
  ByteWriter big;
  big.Int32(static_cast<std::int32_t>(TSkinReader::kMaxUnpackedSize + 1)).Fill(1500 * 1024, 0);
  EXPECT_EQ(reader.Load(big.bytes()), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Fault(), "it gives an unpacked size of 67108865 bytes, more than the 64 MB a skin package may hold");
  for (std::size_t size : {0, 1, 3}) {
    EXPECT_EQ(reader.Load(Bytes(size, 1)), SkinLoadResult::Malformed);
    EXPECT_EQ(reader.Fault(), "its " + std::to_string(size) + " bytes are too few to give its unpacked size");
  }
  EXPECT_EQ(reader.Count(), 0u);
}

TEST(SkinReader, RejectsTablesRunningPastTheUnpackedBytes) {
  Bytes skippedBlockCut = Unpacked(30000, 0, "", {}, 0);
  skippedBlockCut.resize(200);
  const struct {
    const char* name;
    Bytes unpacked;
    std::string fault;
  } cases[] = {
      {"short header", Bytes{0x20, 0x4E, 0, 0, 0, 0, 0}, "it unpacks to 7 bytes, too few for its 16-byte header"},
      {"skipped block past the end", skippedBlockCut,
       "its header of format 30000 takes 272 bytes, more than the 200 it unpacks to"},
      {"negative name length", Unpacked(20000, -1, "a", {1}, 1), "its list of names claims -1 bytes"},
      {"name text past the end", Unpacked(20000, 100, "a\r\nb", {}, 0),
       "its list of names claims 100 bytes, more than the 4 left"},
      {"size table past the end", Unpacked(20000, 4, "a\r\nb", {1}, 0),
       "the sizes of its 2 entries take more than the 4 bytes left"},
      {"negative entry size", Unpacked(20000, 4, "a\r\nb", {-1, 2}, 1), "entry 1 of 2 (\"a\") claims -1 bytes"},
      {"sizes past the data", Unpacked(20000, 4, "a\r\nb", {3, 4}, 6),
       "its entries claim 7 bytes, more than the 6 bytes of its data"},
      {"sizes overflowing 32 bits", Unpacked(20000, 4, "a\r\nb", {INT32_MAX, INT32_MAX}, 6),
       "its entries claim 4294967294 bytes, more than the 6 bytes of its data"},
  };
  for (const auto& c : cases) {
    TSkinReader reader;
    EXPECT_EQ(reader.Load(PackPackage(c.unpacked)), SkinLoadResult::Malformed) << c.name;
    EXPECT_EQ(reader.Fault(), c.fault) << c.name;
  }
  // The same layout with sizes that fit is read, and a fault found before goes.
  TSkinReader reader;
  ASSERT_EQ(reader.Load(PackPackage(Unpacked(20000, 4, "a\r\nb", {3, 4}, 6))), SkinLoadResult::Malformed);
  ASSERT_EQ(reader.Load(PackPackage(Unpacked(20000, 4, "a\r\nb", {3, 3}, 6))), SkinLoadResult::Loaded);
  EXPECT_EQ(EntryBytes(reader.Extract("b")), Bytes(3, 0x5A));
  EXPECT_EQ(reader.Fault(), "");
  // A name too long for a message is cut in it.
  const std::string longName(200, 'n');
  ASSERT_EQ(reader.Load(PackPackage(Unpacked(20000, 200, longName, {-2}, 0))), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Fault(), "entry 1 of 1 (\"" + std::string(80, 'n') + "...\") claims -2 bytes");
}

TEST(SkinReader, RejectsAStreamCutShortOfItsDeclaredSize) {
  PackageSpec spec = SampleSpec();
  spec.entries.push_back({"run.bmp", Bytes(60000, 0x33)});
  const Bytes packed = BuildPackage(spec);
  TSkinReader reader;
  ASSERT_EQ(reader.Load(packed), SkinLoadResult::Loaded);
  // Far too short for the size it declares: refused before decoding.
  for (std::size_t keep : {std::size_t{4}, std::size_t{5}, std::size_t{20}}) {
    TSkinReader cut;
    EXPECT_EQ(cut.Load(std::span(packed).first(keep)), SkinLoadResult::Malformed) << keep;
  }
  // Cut anywhere, even by its last bytes, it is never read.
  for (std::size_t keep : {packed.size() / 4, packed.size() / 2}) {
    TSkinReader cut;
    EXPECT_NE(cut.Load(std::span(packed).first(keep)), SkinLoadResult::Loaded) << keep;
  }
  // Short by a little, the stream runs out while decoding.
  for (std::size_t keep : {packed.size() - 8, packed.size() - 1}) {
    TSkinReader cut;
    EXPECT_EQ(cut.Load(std::span(packed).first(keep)), SkinLoadResult::Truncated) << keep;
    EXPECT_EQ(cut.Fault(), "its data ends before its declared size");
  }
}

TEST(SkinReader, SlightlyTruncatedStreamIsNotReadAsZeros) {
  // The missing tail would decode from zero bits into bytes that were never packed.
  PackageSpec spec = SampleSpec();
  spec.entries.push_back({"noise.bin", Bytes(4000, 0x00)});
  for (std::size_t i = 0; i < 4000; ++i) spec.entries.back().bytes[i] = static_cast<std::uint8_t>(i * 7919 >> 3);
  Bytes packed = BuildPackage(spec);
  packed.resize(packed.size() - 50);
  TSkinReader reader;
  ASSERT_EQ(reader.Load(BuildPackage(SampleSpec())), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Load(packed), SkinLoadResult::Truncated);
  // The reader keeps the package it held.
  EXPECT_FALSE(reader.Extract("noise.bin"));
  EXPECT_EQ(EntryBytes(reader.Extract("left.bmp")), Bytes(300, 0x11));
}

TEST(SkinReader, FailedLoadKeepsWhatTheReaderHeld) {
  TSkinReader reader;
  ASSERT_EQ(reader.Load(BuildPackage(SampleSpec())), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Load(BuildPackage(SampleSpec(10000))), SkinLoadResult::OlderSkinFile);
  EXPECT_EQ(reader.Load(PackPackage(Unpacked(20000, 4, "a\r\nb", {3, 4}, 6))), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Load(Bytes{}), SkinLoadResult::Malformed);
  EXPECT_EQ(reader.Count(), 4u);
  EXPECT_EQ(reader.Header().tag, 20000);
  EXPECT_EQ(EntryBytes(reader.Extract("left.bmp")), Bytes(300, 0x11));
}

TEST(SkinReader, EmptyNameTextGivesNoEntries) {
  TSkinReader reader;
  ASSERT_EQ(reader.Load(PackPackage(Unpacked(20000, 0, "", {}, 5))), SkinLoadResult::Loaded);
  EXPECT_EQ(reader.Count(), 0u);
  EXPECT_EQ(reader.Data().size(), 5u);
  EXPECT_FALSE(reader.ExtractByExt(""));
}

}  // namespace
}  // namespace skin_classic
