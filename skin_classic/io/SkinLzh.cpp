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

constexpr unsigned kRingMask = TLZH::N - 1;

// What the ring held before anything was decoded, Back bytes (1 to N) before the first
// byte decoded: blanks, but zeros in its last F bytes, where the first bytes go.
constexpr std::uint8_t InitialRingByte(std::size_t back) {
  return back <= static_cast<std::size_t>(TLZH::kBlankFill) ? ' ' : 0;
}

// Stores of a word that hold a pattern of 1 to 7 bytes repeated lie this far apart: the
// most whole patterns in eight bytes.
constexpr std::uint8_t kPatternStep[8] = {8, 8, 8, 6, 8, 5, 6, 7};

inline void CopyWord(std::uint8_t* to, const std::uint8_t* from) {
  std::uint64_t word;
  std::memcpy(&word, from, 8);
  std::memcpy(to, &word, 8);
}

// Copies a match of Length bytes from Distance (1 to N) bytes back, in Out at At, where
// everything before At is what was decoded. Source and target may overlap: each byte is
// the one Distance back at the time it is written, as in the ring.
inline void CopyMatch(std::uint8_t* out, std::size_t size, std::size_t at, std::size_t distance, std::size_t length) {
  std::uint8_t* to = out + at;
  if (distance > at) {
    // Reaches back past the first byte, into the ring's initial content.
    for (std::size_t k = 0; k < length; ++k)
      to[k] = at + k >= distance ? out[at + k - distance] : InitialRingByte(distance - at - k);
    return;
  }
  const std::uint8_t* from = to - distance;
  if (size - at - length < 8) {
    for (std::size_t k = 0; k < length; ++k) to[k] = from[k];
    return;
  }
  // Whole words from here on: the last may write up to seven bytes past the match, which
  // there is room for and which later bytes overwrite.
  const std::uint8_t* const end = to + length;
  if (distance >= 8) {
    for (; to < end; to += 8, from += 8) CopyWord(to, from);
    return;
  }
  // Closer: the bytes from the source to here, repeated, are the match.
  std::uint8_t pattern[8];
  for (std::size_t k = 0; k < 8; ++k) pattern[k] = k < distance ? from[k] : pattern[k - distance];
  const std::size_t step = kPatternStep[distance];
  for (; to < end; to += step) std::memcpy(to, pattern, 8);
}

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

// Counts one more use of node and of each node above it, and restores the ordering of the
// counts by moving a node past its equals. Returns where the node now stands.
inline unsigned TLZH::Increment(unsigned node) {
  std::uint16_t* freq = tables_->freq.data();
  std::uint16_t* prnt = tables_->prnt.data();
  std::uint16_t* son = tables_->son.data();
  const unsigned k = ++freq[node];
  if (k <= freq[node + 1]) return node;
  // The counts rise with the node number (freq[T] stops the walk): the node trades places
  // with the last one of those now below it.
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
  return l;
}

// Counts one more use of node and of each node above it, moving nodes as they pass their
// equals. Node 0 is a leaf's place like any other; the root's parent link is 0.
void TLZH::Climb(unsigned node) {
  const std::uint16_t* prnt = tables_->prnt.data();
  do node = prnt[Increment(node)];
  while (node != 0);
}

// Counts one more use of code c from its leaf up to the root. Path holds the nodes the
// decode passed, root first: while no node moves, the parents are those, known before the
// climb; from the first move on, the climb follows the parent links.
void TLZH::Update(unsigned c, std::span<const std::uint16_t> path) {
  if (tables_->freq[R] == MAX_FREQ) {
    Reconst();  // a new tree: the path is gone
    return Climb(tables_->prnt[c + T]);
  }
  if (path.size() >= kPathLength) return Climb(tables_->prnt[c + T]);
  for (std::size_t level = path.size() - 1;; --level) {
    const unsigned node = path[level];
    const unsigned at = Increment(node);
    if (at != node) return Climb(tables_->prnt[at]);
    if (level == 0) return;
  }
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

// Walks from the root to a leaf, one bit a level, with the bit buffer held in registers,
// and records the nodes passed so that the count update can climb the same way back.
unsigned TLZH::DecodeChar() {
  const std::uint16_t* son = tables_->son.data();
  std::uint16_t path[kPathLength];
  unsigned depth = 0;
  path[0] = R;
  std::uint64_t bits = bits_;
  unsigned count = bit_count_;
  unsigned c = son[R];
  while (c < static_cast<unsigned>(T)) {
    if (count == 0) {
      bits_ = bits;
      bit_count_ = 0;
      Refill();
      bits = bits_;
      count = bit_count_;
    }
    const unsigned node = c + static_cast<unsigned>(bits >> 63);
    c = son[node];
    bits <<= 1;
    --count;
    // A tree this deep cannot occur while counts stay below MAX_FREQ; past the record the
    // update climbs by the parent links alone.
    if (++depth < kPathLength) path[depth] = static_cast<std::uint16_t>(node);
  }
  bits_ = bits;
  bit_count_ = count;
  c -= T;
  Update(c, std::span(path, std::min<unsigned>(depth + 1, kPathLength)));
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

void TLZH::Begin(LzhReadFn& read) {
  try {
    tables_ = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  read_ = &read;
  bits_ = 0;
  bit_count_ = 0;
  input_at_ = input_end_ = 0;
  input_ended_ = false;
  pad_bytes_ = 0;
  input_exhausted_ = false;
  StartHuff();
}

void TLZH::End() {
  // Bits still buffered were not decoded; any pad bit beyond them was.
  input_exhausted_ = pad_bytes_ * 8 > bit_count_;
  tables_.reset();
  read_ = nullptr;
}

// Byte by byte through the ring, one call of Write each.
std::size_t TLZH::Decode(std::size_t size, LzhReadFn read, LzhWriteFn write) {
  Begin(read);
  const vcl::TScopeExit release([this] { End(); });
  std::uint8_t* ring = tables_->ring.data();
  std::fill_n(ring, kBlankFill, static_cast<std::uint8_t>(' '));
  unsigned r = kBlankFill;
  std::size_t count = 0;
  auto put = [&](std::uint8_t b) {
    if (write(&b, 1) != 1) return false;
    ring[r] = b;
    r = (r + 1) & kRingMask;
    ++count;
    return true;
  };
  while (count < size) {
    const unsigned c = DecodeChar();
    if (c < 256) {
      if (!put(static_cast<std::uint8_t>(c))) break;
      continue;
    }
    const unsigned from = (r - DecodePosition() - 1) & kRingMask;
    // A match may run past the requested size; stop exactly there.
    const auto length = static_cast<unsigned>(std::min<std::size_t>(c - 255 + THRESHOLD, size - count));
    for (unsigned k = 0; k < length; ++k)
      if (!put(ring[(from + k) & kRingMask])) return count;
  }
  return count;
}

// Straight into Out, which is its own history: a match's source is the output itself, the
// ring's initial content standing in before its first byte.
void TLZH::DecodeInto(std::span<std::uint8_t> out, LzhReadFn read) {
  Begin(read);
  const vcl::TScopeExit release([this] { End(); });
  std::uint8_t* const to = out.data();
  const std::size_t size = out.size();
  std::size_t count = 0;
  while (count < size) {
    const unsigned c = DecodeChar();
    if (c < 256) {
      to[count++] = static_cast<std::uint8_t>(c);
      continue;
    }
    const std::size_t distance = DecodePosition() + 1;
    const std::size_t length = std::min<std::size_t>(c - 255 + THRESHOLD, size - count);
    CopyMatch(to, size, count, distance, length);
    count += length;
  }
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
