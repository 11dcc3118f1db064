#include "skin_classic/io/SkinLzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

#include "classlib/rtl/ScopeExit.h"

namespace skin_classic {
namespace {

// The fixed code for the upper six bits of a match position, indexed by the first byte
// read: which upper value it is, and how many bits of that byte the code took.
struct PositionTables {
  std::array<std::uint8_t, 256> code{};
  std::array<std::uint8_t, 256> len{};
};

constexpr PositionTables MakePositionTables() {
  struct Run {
    int first, last, repeat;
  };
  constexpr Run codeRuns[] = {{0, 0, 32}, {1, 3, 16}, {4, 11, 8}, {12, 23, 4}, {24, 47, 2}, {48, 63, 1}};
  constexpr Run lenRuns[] = {{3, 3, 32}, {4, 4, 48}, {5, 5, 64}, {6, 6, 48}, {7, 7, 48}, {8, 8, 16}};
  PositionTables t;
  int at = 0;
  for (const Run& run : codeRuns)
    for (int v = run.first; v <= run.last; ++v)
      for (int k = 0; k < run.repeat; ++k) t.code[at++] = static_cast<std::uint8_t>(v);
  at = 0;
  for (const Run& run : lenRuns)
    for (int k = 0; k < run.repeat; ++k) t.len[at++] = static_cast<std::uint8_t>(run.first);
  return t;
}

constexpr PositionTables kPosition = MakePositionTables();
static_assert(kPosition.code[31] == 0 && kPosition.code[32] == 1 && kPosition.code[79] == 3 &&
              kPosition.code[80] == 4 && kPosition.code[255] == 63);
static_assert(kPosition.len[31] == 3 && kPosition.len[32] == 4 && kPosition.len[144] == 6 &&
              kPosition.len[239] == 7 && kPosition.len[240] == 8);

}  // namespace

struct TLZH::Tables {
  // The decoder only uses the first N bytes of the ring; the rest is the encoder's
  // look-ahead. Value-initialised, so no byte is ever read unset.
  std::array<std::uint8_t, N + F - 1> ring{};
  std::array<std::uint16_t, T + 1> freq{};       // freq[T] is a sentinel above every count
  std::array<std::uint16_t, T + N_CHAR> prnt{};  // from T up: the leaf position of each code
  std::array<std::uint16_t, T> son{};            // >= T: a leaf (code + T)
  std::array<std::uint8_t, kInputBlock> input{};
};

namespace {

// Where decoded bytes go. Both sinks take single bytes and runs; Put of a run returns the
// count taken, short when the receiver refuses.
class CallbackSink {
 public:
  explicit CallbackSink(LzhWriteFn write) : write_(write) {}
  bool Put(std::uint8_t b) { return write_(&b, 1) == 1; }
  // Still one call per byte, as the callback's users expect.
  std::size_t Put(const std::uint8_t* bytes, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
      if (write_(bytes + i, 1) != 1) return i;
    return n;
  }

 private:
  LzhWriteFn write_;
};

// Into memory of exactly the decoded size: never refuses.
class MemorySink {
 public:
  explicit MemorySink(std::uint8_t* out) : at_(out) {}
  bool Put(std::uint8_t b) {
    *at_++ = b;
    return true;
  }
  std::size_t Put(const std::uint8_t* bytes, std::size_t n) {
    std::memcpy(at_, bytes, n);
    at_ += n;
    return n;
  }

 private:
  std::uint8_t* at_;
};

}  // namespace

TLZH::TLZH() = default;
TLZH::~TLZH() = default;

std::uint64_t TLZH::MaxExpansion(std::size_t streamLength) {
  return std::uint64_t{streamLength} * 8 * F / 10 + F;
}

void TLZH::StartHuff() {
  auto& freq = tables_->freq;
  auto& prnt = tables_->prnt;
  auto& son = tables_->son;
  for (int i = 0; i < N_CHAR; ++i) {
    freq[i] = 1;
    son[i] = static_cast<std::uint16_t>(i + T);
    prnt[i + T] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0, j = N_CHAR; j <= R; i += 2, ++j) {
    freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<std::uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<std::uint16_t>(j);
  }
  freq[T] = 0xFFFF;
  prnt[R] = 0;
}

// Halves the counts and rebuilds the tree so that the root count stays below MAX_FREQ.
void TLZH::Reconst() {
  std::uint16_t* freq = tables_->freq.data();
  std::uint16_t* prnt = tables_->prnt.data();
  std::uint16_t* son = tables_->son.data();

  int j = 0;
  for (int i = 0; i < T; ++i) {
    if (son[i] >= T) {
      freq[j] = static_cast<std::uint16_t>((freq[i] + 1) / 2);
      son[j] = son[i];
      ++j;
    }
  }
  for (int i = 0, node = N_CHAR; node < T; i += 2, ++node) {
    const unsigned f = unsigned{freq[i]} + freq[i + 1];
    int k = node - 1;
    while (k >= 0 && f < freq[k]) --k;
    ++k;
    std::copy_backward(freq + k, freq + node, freq + node + 1);
    freq[k] = static_cast<std::uint16_t>(f);
    std::copy_backward(son + k, son + node, son + node + 1);
    son[k] = static_cast<std::uint16_t>(i);
  }
  for (int i = 0; i < T; ++i) {
    const int k = son[i];
    prnt[k] = static_cast<std::uint16_t>(i);
    if (k < T) prnt[k + 1] = static_cast<std::uint16_t>(i);
  }
}

// Counts one more use of code c and restores the ordering of the counts by moving the
// node past its equals, up to the root.
void TLZH::Update(unsigned c) {
  std::uint16_t* freq = tables_->freq.data();
  std::uint16_t* prnt = tables_->prnt.data();
  std::uint16_t* son = tables_->son.data();
  if (freq[R] == MAX_FREQ) Reconst();

  unsigned node = prnt[c + T];
  do {
    const unsigned k = ++freq[node];
    if (k > freq[node + 1]) {
      // The counts rise with the node number (freq[T] stops the walk): the node trades
      // places with the last one of those now below it.
      unsigned l = node + 1;
      while (k > freq[l + 1]) ++l;
      freq[node] = freq[l];
      freq[l] = static_cast<std::uint16_t>(k);

      const unsigned i = son[node];
      prnt[i] = static_cast<std::uint16_t>(l);
      if (i < static_cast<unsigned>(T)) prnt[i + 1] = static_cast<std::uint16_t>(l);
      const unsigned j = son[l];
      son[l] = static_cast<std::uint16_t>(i);
      prnt[j] = static_cast<std::uint16_t>(node);
      if (j < static_cast<unsigned>(T)) prnt[j + 1] = static_cast<std::uint16_t>(node);
      son[node] = static_cast<std::uint16_t>(j);
      node = l;
    }
    node = prnt[node];
  } while (node != 0);
}

// Tops the bit buffer up to at least 57 bits: eight input bytes at once while a block has
// them, else byte by byte, the bytes past the input's end being zeros.
void TLZH::Refill() {
  if (input_end_ - input_at_ >= 8) {
    std::uint64_t word = 0;
    for (int k = 0; k < 8; ++k) word = word << 8 | tables_->input[input_at_ + k];
    bits_ |= word >> bit_count_;
    input_at_ += (63 - bit_count_) >> 3;
    bit_count_ |= 56;
    return;
  }
  RefillSlowly();
}

void TLZH::RefillSlowly() {
  while (bit_count_ <= 56) {
    if (input_at_ == input_end_ && !input_ended_) {
      const std::size_t got = (*read_)(tables_->input.data(), kInputBlock);
      input_at_ = 0;
      input_end_ = std::min(got, kInputBlock);
      input_ended_ = input_end_ == 0;
    }
    std::uint8_t byte = 0;
    if (input_at_ < input_end_)
      byte = tables_->input[input_at_++];
    else
      ++pad_bytes_;
    bits_ |= std::uint64_t{byte} << (56 - bit_count_);
    bit_count_ += 8;
  }
}

unsigned TLZH::DecodeChar() {
  const std::uint16_t* son = tables_->son.data();
  unsigned c = son[R];
  while (c < static_cast<unsigned>(T)) {
    if (bit_count_ == 0) Refill();
    c = son[c + static_cast<unsigned>(bits_ >> 63)];
    bits_ <<= 1;
    --bit_count_;
  }
  c -= T;
  Update(c);
  return c;
}

// The first byte read picks the upper six bits and how many further bits (1 to 6) follow;
// the low six bits of the position are the last six of those read.
unsigned TLZH::DecodePosition() {
  if (bit_count_ < 14) Refill();
  const unsigned first = static_cast<unsigned>(bits_ >> 56);
  const unsigned read = kPosition.len[first] + 6u;  // 8 bits, then len - 2 more
  const unsigned value = static_cast<unsigned>(bits_ >> (64 - read));
  bits_ <<= read;
  bit_count_ -= read;
  return unsigned{kPosition.code[first]} << 6 | (value & 63u);
}

template <class Sink>
std::size_t TLZH::Run(std::size_t size, LzhReadFn read, Sink& sink) {
  try {
    tables_ = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  const vcl::TScopeExit release([this] {
    // Bits still buffered were not decoded; any pad bit beyond them was.
    input_exhausted_ = pad_bytes_ * 8 > bit_count_;
    tables_.reset();
    read_ = nullptr;
  });

  read_ = &read;
  bits_ = 0;
  bit_count_ = 0;
  input_at_ = input_end_ = 0;
  input_ended_ = false;
  pad_bytes_ = 0;
  input_exhausted_ = false;
  StartHuff();

  std::uint8_t* ring = tables_->ring.data();
  std::fill_n(ring, kBlankFill, static_cast<std::uint8_t>(' '));
  unsigned r = kBlankFill;
  std::size_t count = 0;
  constexpr unsigned kMask = N - 1;

  while (count < size) {
    const unsigned c = DecodeChar();
    if (c < 256) {
      const auto b = static_cast<std::uint8_t>(c);
      if (!sink.Put(b)) break;
      ring[r] = b;
      r = (r + 1) & kMask;
      ++count;
      continue;
    }
    const unsigned from = (r - DecodePosition() - 1) & kMask;
    // A match may run past the requested size; stop exactly there.
    const auto length = static_cast<unsigned>(std::min<std::size_t>(c - 255 + THRESHOLD, size - count));
    if (from + length <= N && r + length <= N && (from + length <= r || r + length <= from)) {
      // Apart and unbroken by the ring's end: one copy.
      std::memcpy(ring + r, ring + from, length);
      const std::size_t taken = sink.Put(ring + r, length);
      count += taken;
      if (taken != length) break;
      r = (r + length) & kMask;
      continue;
    }
    for (unsigned k = 0; k < length; ++k) {
      const std::uint8_t b = ring[(from + k) & kMask];
      if (!sink.Put(b)) return count;
      ring[r] = b;
      r = (r + 1) & kMask;
      ++count;
    }
  }
  return count;
}

std::size_t TLZH::Decode(std::size_t size, LzhReadFn read, LzhWriteFn write) {
  CallbackSink sink(write);
  return Run(size, read, sink);
}

void TLZH::DecodeInto(std::span<std::uint8_t> out, LzhReadFn read) {
  MemorySink sink(out.data());
  Run(out.size(), read, sink);
}

std::vector<std::uint8_t> LzhDecodeBytes(std::span<const std::uint8_t> stream, std::size_t size, bool* exhausted) {
  std::vector<std::uint8_t> out(size);
  std::size_t pos = 0;
  TLZH lzh;
  lzh.DecodeInto(out, [&](std::uint8_t* buffer, std::size_t count) {
    const std::size_t take = std::min(count, stream.size() - pos);
    if (take) std::memcpy(buffer, stream.data() + pos, take);
    pos += take;
    return take;
  });
  if (exhausted) *exhausted = lzh.InputExhausted();
  return out;
}

}  // namespace skin_classic
