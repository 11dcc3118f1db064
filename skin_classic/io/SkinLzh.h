// The LZHUF decoder of classic skin packages: LZSS over a 4096-byte ring with adaptive
// Huffman coding of literals and match lengths and a fixed code for the upper bits of
// match positions.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <vector>

#include "skin_classic/io/CallbackRef.h"

namespace skin_classic {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads up to `count` bytes into `buffer`; returns the count read (0 at the end).
using LzhReadFn = CallbackRef<std::size_t(std::uint8_t* buffer, std::size_t count)>;
// Writes `count` bytes; returns the count taken.
using LzhWriteFn = CallbackRef<std::size_t(const std::uint8_t* buffer, std::size_t count)>;

class TLZH {
 public:
  static constexpr int N = 4096;          // ring size
  static constexpr int F = 60;            // longest match
  static constexpr int THRESHOLD = 2;     // matches are longer than this
  static constexpr int N_CHAR = 256 - THRESHOLD + F;  // leaf codes: bytes and match lengths
  static constexpr int T = 2 * N_CHAR - 1;            // tree size
  static constexpr int R = T - 1;                     // root
  static constexpr unsigned MAX_FREQ = 0x8000;        // root count that triggers a rebuild
  static constexpr int kBlankFill = N - F;            // leading blanks of the ring

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Decodes until exactly `size` bytes are written, each through `write` on its own.
  // Input is asked of `read` in blocks; input past its end counts as zero bits, and
  // InputExhausted() then tells that the stream ended before its declared size. Returns
  // the count written, which is short only when `write` refuses a byte. Throws
  // ElzhException when the tables cannot be allocated.
  std::size_t Decode(std::size_t size, LzhReadFn read, LzhWriteFn write);

  // The same into memory: `out` receives exactly `size` bytes (its length) and nothing is
  // called per byte.
  void DecodeInto(std::span<std::uint8_t> out, LzhReadFn read);

  // The most bytes `streamLength` bytes of LZHUF input can decode to before the decoder
  // runs on past the input's end: a match of F bytes costs at least 10 bits, a literal
  // at least 1, and the last code may finish in the missing bits.
  static std::uint64_t MaxExpansion(std::size_t streamLength);

  // The last decode took bits from past the end of its input: the stream was cut short,
  // and what it wrote from there on is not the data that was packed.
  bool InputExhausted() const { return input_exhausted_; }

 private:
  struct Tables;
  static constexpr std::size_t kInputBlock = 4096;
  // Nodes of a decode's way down kept for the count update: deeper than any tree whose
  // root count stays below MAX_FREQ can grow.
  static constexpr unsigned kPathLength = 48;

  void Begin(LzhReadFn& read);
  void End();
  void StartHuff();
  void Reconst();
  unsigned Increment(unsigned node);
  void Climb(unsigned node);
  void Update(unsigned c, std::span<const std::uint16_t> path);
  void Refill();
  void RefillSlowly();
  unsigned DecodeChar();
  unsigned DecodePosition();

  // Bits not yet decoded, most significant first, and how many of the 64 are valid.
  std::uint64_t bits_ = 0;
  unsigned bit_count_ = 0;
  // The current input block: bytes from `input_at_` to `input_end_` are not yet in bits_.
  std::size_t input_at_ = 0;
  std::size_t input_end_ = 0;
  bool input_ended_ = false;
  // Zero bytes put into bits_ for input that was not there.
  std::size_t pad_bytes_ = 0;
  bool input_exhausted_ = false;
  LzhReadFn* read_ = nullptr;
  std::unique_ptr<Tables> tables_;
};

// Decodes `size` bytes of the LZHUF stream held in `stream`. The caller bounds `size`.
// With `exhausted`, it is told whether the stream ended before `size` bytes were decoded.
std::vector<std::uint8_t> LzhDecodeBytes(std::span<const std::uint8_t> stream, std::size_t size,
                                         bool* exhausted = nullptr);

}  // namespace skin_classic
