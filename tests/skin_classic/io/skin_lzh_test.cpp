// The LZHUF decoder against an independently worked vector, against the test encoder on
// varied data, and on truncated input and short output sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "skin_classic/io/SkinLzh.h"
#include "skin_classic/support/LzhufEncoder.h"
#include "skin_classic/support/SkinPackageWriter.h"

namespace skin_classic {
namespace {

using test_support::LzhufEncode;
using test_support::LzhufStats;
using test_support::ToBytes;
using Bytes = std::vector<std::uint8_t>;

// Decodes through the callbacks and counts the writer's calls, so per-byte writing shows. The
// reader hands out at most 1 + (call % chunk) bytes a call when chunk is given; the writer
// refuses once it holds limit bytes.
struct CallbackDecode {
  Bytes out;
  std::size_t writeCalls = 0;
  std::size_t written = 0;

  CallbackDecode(const Bytes& stream, std::size_t size, std::size_t chunk = 0, std::size_t limit = SIZE_MAX) {
    std::size_t pos = 0, readCalls = 0;
    TLZH lzh;
    written = lzh.Decode(
        size,
        [&](std::uint8_t* buffer, std::size_t count) {
          const std::size_t take = std::min({count, stream.size() - pos, chunk ? 1 + readCalls++ % chunk : count});
          if (take) std::memcpy(buffer, stream.data() + pos, take);
          pos += take;
          return take;
        },
        [&](const std::uint8_t* buffer, std::size_t count) -> std::size_t {
          ++writeCalls;
          if (out.size() >= limit) return 0;
          out.insert(out.end(), buffer, buffer + count);
          return count;
        });
  }
};

Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  Bytes b(n);
  for (auto& x : b) x = static_cast<std::uint8_t>(rng());
  return b;
}

Bytes SkinLikeText(std::size_t n) {
  std::string text;
  for (int i = 0; text.size() < n; ++i) {
    text += "[Button" + std::to_string(i % 37) + "]\r\nImage=skin\\button" + std::to_string(i) +
            ".bmp\r\nLeftWidth=" + std::to_string(i % 9) + "\r\nNormalColour=0x00" + std::to_string(100000 + i) +
            "\r\n  ; comment line with blanks      and tabs\t\t\r\n";
  }
  text.resize(n);
  return ToBytes(text);
}

Bytes RoundTrip(const Bytes& data, LzhufStats* stats = nullptr) {
  return LzhDecodeBytes(LzhufEncode(data, stats), data.size());
}

// The stream was worked out by hand, not with the test encoder:
//   Initially leaf code c sits at node c and node p >= 314 has children 2(p - 314) and
//   2(p - 314) + 1, so a code is read by walking from the root (626) to the leaf, one
//   bit choosing the second child.
//   Code 256 (match of 3): 626 -1-> 625 -0-> 622 -0-> 616 -0-> 604 -1-> 581 -1-> 535
//   -0-> 442 -0-> 256: 10001100. Position 0: upper bits 0 take the 3-bit prefix 000,
//   then 6 low bits 000000. Ring index (4036 - 0 - 1) = 4035 holds blanks: "   ".
//   Counting 256 swaps leaves 256 and 313 (all leaves weigh 1, node 314 weighs 2) and
//   raises 470, 549, 588, 608, 618, 623, 625 and the root without further swaps, so the
//   codes of 65 and 257 are unchanged.
//   Code 65 ('A'): 111001101. Counting 65 swaps leaves 65 and 312 (313 now weighs 2)
//   and again raises only the same inner nodes, leaving 257 where it was.
//   Code 257 (match of 4): 10001101, position 3: 000 000011,
//   source ring index 4040 - 3 - 1 = 4036, the first output byte: "   A".
//   Bits: 10001100 000000000 111001101 10001101 000000011, padded with zeros.
const Bytes kHandStream = {0x8C, 0x00, 0x73, 0x63, 0x40, 0x60};

TEST(SkinLzhDecoder, DecodesHandWorkedStream) {
  CallbackDecode d(kHandStream, 8);
  EXPECT_EQ(d.out, ToBytes("   A   A"));
  EXPECT_EQ(d.written, 8u);
  EXPECT_EQ(d.writeCalls, 8u);  // one call per byte
}

TEST(SkinLzhDecoder, FirstMatchesReachTheRingsInitialZeros) {
  // Code 256 (match of 3, 10001100) first, then position 4037 (upper bits 63: 11111111,
  // low bits 000101): from ring index 4036 - 4037 - 1 = 4094 on, the ring's last bytes,
  // zeros before anything is written there, and then index 0, a blank.
  const Bytes stream = {0x8C, 0xFF, 0x14};
  const Bytes expected = {0, 0, ' '};
  EXPECT_EQ(CallbackDecode(stream, 3).out, expected);
  EXPECT_EQ(LzhDecodeBytes(stream, 3), expected);
}

TEST(SkinLzhDecoder, MatchStopsAtRequestedSize) {
  // The second match would run to 8 bytes; output ends exactly at the size asked for.
  for (std::size_t size : {0u, 1u, 2u, 5u, 7u}) {
    CallbackDecode d(kHandStream, size);
    EXPECT_EQ(d.out, ToBytes(std::string("   A   A").substr(0, size))) << size;
    EXPECT_EQ(d.writeCalls, size);
    EXPECT_EQ(d.written, size);
  }
}

TEST(SkinLzhDecoder, MissingInputDecodesAsZeroBits) {
  // Past the hand stream's 43 bits the reader supplies zeros: decoding goes on to the
  // requested size, the known prefix intact.
  CallbackDecode d(kHandStream, 500);
  ASSERT_EQ(d.out.size(), 500u);
  EXPECT_EQ(Bytes(d.out.begin(), d.out.begin() + 8), ToBytes("   A   A"));
  // An empty stream still yields the requested count.
  EXPECT_EQ(LzhDecodeBytes({}, 100).size(), 100u);
}

TEST(SkinLzhDecoder, StopsWhenTheWriterRefuses) {
  CallbackDecode d({}, 8, 0, 3);
  EXPECT_EQ(d.written, 3u);
  EXPECT_EQ(d.writeCalls, 4u);
  // Inside a match too.
  Bytes data;
  for (int i = 0; i < 40; ++i) data.insert(data.end(), {'a', 'b', 'c', 'd', 'e'});
  const Bytes stream = LzhufEncode(data);
  for (std::size_t limit : {3u, 7u, 30u, 150u}) {
    CallbackDecode m(stream, data.size(), 0, limit);
    EXPECT_EQ(m.written, limit);
    EXPECT_EQ(m.out, Bytes(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(limit)));
  }
}

TEST(SkinLzhRoundTrip, VariedDataDecodesByteExactly) {
  std::vector<std::pair<const char*, Bytes>> cases;
  cases.emplace_back("empty", Bytes{});
  cases.emplace_back("one byte", Bytes{0x42});
  cases.emplace_back("run", Bytes(5000, 0x00));
  cases.emplace_back("run of 0xFF", Bytes(4099, 0xFF));
  cases.emplace_back("text", SkinLikeText(30000));
  cases.emplace_back("random", RandomBytes(20000, 7));
  Bytes mixed = SkinLikeText(5000);
  for (int i = 0; i < 20; ++i) {
    Bytes r = RandomBytes(300 + i * 50, i);
    mixed.insert(mixed.end(), r.begin(), r.end());
    mixed.insert(mixed.end(), 100 + i * 17, static_cast<std::uint8_t>(i));
  }
  cases.emplace_back("mixed", mixed);
  for (const auto& [name, data] : cases) EXPECT_EQ(RoundTrip(data), data) << name;
}

TEST(SkinLzhRoundTrip, MatchesReachIntoTheLeadingBlanks) {
  Bytes data(150, ' ');
  const Bytes text = ToBytes("title  text   with    blanks     between" + std::string(70, ' ') + "end");
  data.insert(data.end(), text.begin(), text.end());
  LzhufStats stats;
  EXPECT_EQ(RoundTrip(data, &stats), data);
  EXPECT_GT(stats.matchesIntoBlanks, 0u);
  // Sixty blanks are one match lying wholly in the ring's initial blanks.
  const Bytes blanks(60, ' ');
  EXPECT_EQ(RoundTrip(blanks, &stats), blanks);
  EXPECT_EQ(stats.matches, 1u);
  EXPECT_EQ(stats.literals, 0u);
  EXPECT_EQ(stats.matchesIntoBlanks, 1u);
}

TEST(SkinLzhRoundTrip, LongPayloadRebuildsTheTree) {
  Bytes data = RandomBytes(120 * 1024, 11);
  const Bytes text = SkinLikeText(100 * 1024);
  data.insert(data.end(), text.begin(), text.end());
  // A random block repeated right after itself: its matches lie exactly one ring back.
  const Bytes block = RandomBytes(4096, 12);
  data.insert(data.end(), block.begin(), block.end());
  data.insert(data.end(), block.begin(), block.end());
  LzhufStats stats;
  EXPECT_EQ(RoundTrip(data, &stats), data);
  EXPECT_GE(stats.rebuilds, 2u);
  EXPECT_EQ(stats.longestDistance, 4096u);
}

TEST(SkinLzhRoundTrip, LongMatchesRebuildASkewedTree) {
  // Nearly all codes are the longest match: the first rebuild meets one leaf holding almost
  // the whole count, where the mixed payload above meets many leaves of middling counts.
  Bytes data;
  for (int i = 0; data.size() < 2'200'000; ++i) {
    data.insert(data.end(), {'s', 'k', 'i', 'n', '-', 'x', 'y'});
    if (i % 4000 == 0) data.push_back(static_cast<std::uint8_t>(i / 4000));
  }
  LzhufStats stats;
  const Bytes stream = LzhufEncode(data, &stats);
  EXPECT_EQ(stats.rebuilds, 1u);
  EXPECT_LT(stats.literals, stats.matches / 50);
  EXPECT_EQ(LzhDecodeBytes(stream, data.size()), data);
}

TEST(SkinLzhDecoder, CallbacksGiveWhatTheMemoryDecodeGives) {
  Bytes data = SkinLikeText(60 * 1024);
  const Bytes random = RandomBytes(9000, 5);
  data.insert(data.end(), random.begin(), random.end());
  data.insert(data.end(), 5000, 'z');  // matches overlapping their source, across the ring's end
  const Bytes stream = LzhufEncode(data);
  // The reader hands out a few bytes at a time, less than asked for.
  CallbackDecode d(stream, data.size(), 13);
  EXPECT_EQ(d.written, data.size());
  EXPECT_EQ(d.writeCalls, data.size());
  EXPECT_EQ(d.out, data);
  EXPECT_EQ(LzhDecodeBytes(stream, data.size()), data);
}

TEST(SkinLzhDecoder, MemoryDecodeGivesWhatTheRingGivesOnAnyStream) {
  // Random streams decode to anything: matches from every distance, overlapping their own
  // bytes, reaching back into the ring's initial blanks and zeros, ending at the very end.
  // The memory decode reads its own output where the callback decode keeps the ring.
  for (unsigned seed = 0; seed < 24; ++seed) {
    const Bytes stream = RandomBytes(300 + seed * 700, 100 + seed);
    for (std::size_t size : {std::size_t{1}, std::size_t{9}, std::size_t{61}, std::size_t{4100}, std::size_t{30000}}) {
      const CallbackDecode ring(stream, size);
      ASSERT_EQ(ring.out.size(), size);
      EXPECT_EQ(LzhDecodeBytes(stream, size), ring.out) << seed << " " << size;
    }
  }
}

TEST(SkinLzhRoundTrip, DeclaredBoundCoversTheDensestStream) {
  // Long runs are the best case of the scheme: one-bit length codes and nine-bit
  // positions. The bound the package reader applies must still admit them.
  for (std::size_t n : {std::size_t{1}, std::size_t{61}, std::size_t{300000}}) {
    const Bytes data(n, ' ');
    const Bytes stream = LzhufEncode(data);
    EXPECT_LE(n, TLZH::MaxExpansion(stream.size())) << n;
    EXPECT_EQ(LzhDecodeBytes(stream, n), data);
  }
}

TEST(SkinLzhDecoder, TellsAStreamCutShortOfItsSize) {
  const Bytes data = RandomBytes(8000, 3);
  const Bytes stream = LzhufEncode(data);
  bool exhausted = true;
  EXPECT_EQ(LzhDecodeBytes(stream, data.size(), &exhausted), data);
  EXPECT_FALSE(exhausted);
  for (std::size_t keep : {stream.size() / 2, stream.size() - 1}) {
    const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(keep));
    const Bytes out = LzhDecodeBytes(cut, data.size(), &exhausted);
    ASSERT_EQ(out.size(), data.size());
    EXPECT_TRUE(exhausted) << keep;
    // What was read before the end is still right.
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 2000, out.begin()));
  }
  // Asking for less than the stream holds never runs past its end.
  EXPECT_EQ(LzhDecodeBytes(stream, 100, &exhausted), Bytes(data.begin(), data.begin() + 100));
  EXPECT_FALSE(exhausted);
}

}  // namespace
}  // namespace skin_classic
