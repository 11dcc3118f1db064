#include "skin_classic/io/SkinLzh.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <new>

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
};

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
void TLZH::Update(int c) {
  auto& freq = tables_->freq;
  auto& prnt = tables_->prnt;
  auto& son = tables_->son;
  if (freq[R] == MAX_FREQ) Reconst();

  int node = prnt[c + T];
  do {
    const unsigned k = ++freq[node];
    if (k > freq[node + 1]) {
      int l = node + 1;
      while (k > freq[l + 1]) ++l;
      freq[node] = freq[l];
      freq[l] = static_cast<std::uint16_t>(k);

      const int i = son[node];
      prnt[i] = static_cast<std::uint16_t>(l);
      if (i < T) prnt[i + 1] = static_cast<std::uint16_t>(l);
      const int j = son[l];
      son[l] = static_cast<std::uint16_t>(i);
      prnt[j] = static_cast<std::uint16_t>(node);
      if (j < T) prnt[j + 1] = static_cast<std::uint16_t>(node);
      son[node] = static_cast<std::uint16_t>(j);
      node = l;
    }
    node = prnt[node];
  } while (node != 0);
}

void TLZH::Refill() {
  while (getlen_ <= 8) {
    std::uint8_t byte = 0;
    if ((*read_)(&byte, 1) != 1) byte = 0;
    getbuf_ = static_cast<std::uint16_t>(getbuf_ | (byte << (8 - getlen_)));
    getlen_ = static_cast<std::uint8_t>(getlen_ + 8);
  }
}

int TLZH::GetBit() {
  Refill();
  const int bit = getbuf_ >> 15;
  getbuf_ = static_cast<std::uint16_t>(getbuf_ << 1);
  --getlen_;
  return bit;
}

int TLZH::GetByte() {
  Refill();
  const int byte = getbuf_ >> 8;
  getbuf_ = static_cast<std::uint16_t>(getbuf_ << 8);
  getlen_ = static_cast<std::uint8_t>(getlen_ - 8);
  return byte;
}

int TLZH::DecodeChar() {
  const auto& son = tables_->son;
  unsigned c = son[R];
  while (c < static_cast<unsigned>(T)) c = son[c + GetBit()];
  c -= T;
  Update(static_cast<int>(c));
  return static_cast<int>(c);
}

int TLZH::DecodePosition() {
  unsigned i = static_cast<unsigned>(GetByte());
  const unsigned c = unsigned{kPosition.code[i]} << 6;
  for (int j = kPosition.len[i] - 2; j > 0; --j) i = (i << 1) + static_cast<unsigned>(GetBit());
  return static_cast<int>(c | (i & 63));
}

std::size_t TLZH::Decode(std::size_t size, LzhReadFn read, LzhWriteFn write) {
  try {
    tables_ = std::make_unique<Tables>();
  } catch (const std::bad_alloc&) {
    throw ElzhException("LZH : Cannot get memory for dictionary tables");
  }
  struct Release {
    TLZH& lzh;
    ~Release() {
      lzh.tables_.reset();
      lzh.read_ = nullptr;
    }
  } release{*this};

  read_ = &read;
  getbuf_ = 0;
  getlen_ = 0;
  StartHuff();

  std::uint8_t* ring = tables_->ring.data();
  std::fill_n(ring, kBlankFill, static_cast<std::uint8_t>(' '));
  unsigned r = kBlankFill;
  std::size_t count = 0;

  auto put = [&](std::uint8_t b) {
    if (write(&b, 1) != 1) return false;
    ring[r] = b;
    r = (r + 1) & (N - 1);
    ++count;
    return true;
  };

  while (count < size) {
    const int c = DecodeChar();
    if (c < 256) {
      if (!put(static_cast<std::uint8_t>(c))) break;
      continue;
    }
    const unsigned from = (r - static_cast<unsigned>(DecodePosition()) - 1) & (N - 1);
    const int length = c - 255 + THRESHOLD;
    // A match may run past the requested size; stop exactly there.
    for (int k = 0; k < length && count < size; ++k) {
      if (!put(ring[(from + static_cast<unsigned>(k)) & (N - 1)])) return count;
    }
  }
  return count;
}

std::vector<std::uint8_t> LzhDecodeBytes(std::span<const std::uint8_t> stream, std::size_t size) {
  std::vector<std::uint8_t> out;
  out.reserve(size);
  std::size_t pos = 0;
  TLZH lzh;
  lzh.Decode(
      size,
      [&](std::uint8_t* buffer, std::size_t count) {
        const std::size_t take = std::min(count, stream.size() - pos);
        if (take) std::memcpy(buffer, stream.data() + pos, take);
        pos += take;
        return take;
      },
      [&](const std::uint8_t* buffer, std::size_t count) {
        if (count == 1) {
          out.push_back(*buffer);  // the decoder's usual call
        } else {
          out.insert(out.end(), buffer, buffer + count);
        }
        return count;
      });
  return out;
}

}  // namespace skin_classic
