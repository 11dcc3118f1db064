#include "tools/skinpack/LzhufEncoder.h"

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace skinpack {
namespace {

constexpr int kRing = 4096;
constexpr int kLongest = 60;
constexpr int kShortest = 3;
constexpr int kBlanks = kRing - kLongest;
constexpr int kCodes = 256 - kShortest + 1 + kLongest;  // bytes, then lengths 3..60
constexpr int kNodes = 2 * kCodes - 1;
constexpr int kRoot = kNodes - 1;
constexpr std::uint32_t kRebuildAt = 0x8000;

class BitWriter {
 public:
  void Put(std::uint32_t bits, int count) {
    for (int i = count - 1; i >= 0; --i) {
      current_ = static_cast<std::uint8_t>(current_ << 1 | ((bits >> i) & 1u));
      if (++filled_ == 8) {
        out_.push_back(current_);
        current_ = 0;
        filled_ = 0;
      }
    }
  }
  std::vector<std::uint8_t> Finish() {
    if (filled_) out_.push_back(static_cast<std::uint8_t>(current_ << (8 - filled_)));
    filled_ = 0;
    current_ = 0;
    return std::move(out_);
  }

 private:
  std::vector<std::uint8_t> out_;
  std::uint8_t current_ = 0;
  int filled_ = 0;
};

// The adaptive code tree as a list of nodes ordered by weight (the sibling property):
// each inner node's two children sit side by side, left child first.
class AdaptiveTree {
 public:
  AdaptiveTree() {
    for (int p = 0; p < kCodes; ++p) MakeLeaf(p, p, 1);
    for (int p = kCodes, first = 0; p < kNodes; ++p, first += 2) MakeInner(p, first, weight_[first] + weight_[first + 1]);
    weight_[kNodes] = std::numeric_limits<std::uint32_t>::max();
    Relink();
  }

  void Emit(int code, BitWriter& out) {
    std::uint32_t bits = 0;
    int count = 0;
    for (int p = leafAt_[code]; p != kRoot; p = parent_[p]) {
      bits |= static_cast<std::uint32_t>(p - child_[parent_[p]]) << count;
      if (++count > 31) throw std::logic_error("code longer than 31 bits");
    }
    out.Put(bits, count);
  }

  void Count(int code) {
    if (weight_[kRoot] == kRebuildAt) {
      Rebuild();
      ++rebuilds;
    }
    for (int p = leafAt_[code]; p >= 0; p = parent_[p]) {
      int last = p;
      while (weight_[last + 1] == weight_[p]) ++last;
      if (last != p) {
        Exchange(p, last);
        p = last;
      }
      ++weight_[p];
    }
  }

  std::size_t rebuilds = 0;

 private:
  void MakeLeaf(int p, int code, std::uint32_t weight) {
    weight_[p] = weight;
    child_[p] = -1;
    code_[p] = code;
  }
  void MakeInner(int p, int firstChild, std::uint32_t weight) {
    weight_[p] = weight;
    child_[p] = firstChild;
    code_[p] = -1;
  }

  // Parent links and leaf positions from the child links.
  void Relink() {
    parent_[kRoot] = -1;
    for (int p = 0; p < kNodes; ++p) Adopt(p);
  }
  void Adopt(int p) {
    if (child_[p] < 0) {
      leafAt_[code_[p]] = p;
    } else {
      parent_[child_[p]] = p;
      parent_[child_[p] + 1] = p;
    }
  }

  // Swaps the subtrees at two places of equal weight; the places keep their parents.
  void Exchange(int a, int b) {
    std::swap(child_[a], child_[b]);
    std::swap(code_[a], code_[b]);
    Adopt(a);
    Adopt(b);
  }

  // Leaves keep their order with halved weights; inner nodes are rebuilt pairwise, each
  // placed after the last node not heavier than itself.
  void Rebuild() {
    struct Node {
      std::uint32_t weight;
      int child, code;
    };
    std::vector<Node> nodes;
    nodes.reserve(kNodes);
    for (int p = 0; p < kNodes; ++p)
      if (child_[p] < 0) nodes.push_back({(weight_[p] + 1) / 2, -1, code_[p]});
    for (int first = 0; static_cast<int>(nodes.size()) < kNodes; first += 2) {
      const std::uint32_t w = nodes[first].weight + nodes[first + 1].weight;
      auto at = nodes.end();
      while (at != nodes.begin() && std::prev(at)->weight > w) --at;
      nodes.insert(at, Node{w, first, -1});
    }
    for (int p = 0; p < kNodes; ++p) {
      weight_[p] = nodes[p].weight;
      child_[p] = nodes[p].child;
      code_[p] = nodes[p].code;
    }
    Relink();
  }

  std::array<std::uint32_t, kNodes + 1> weight_{};
  std::array<int, kNodes> child_{};
  std::array<int, kNodes> code_{};
  std::array<int, kNodes> parent_{};
  std::array<int, kCodes> leafAt_{};
};

// Upper six bits of a position: 1 value of 3 bits, 3 of 4, 8 of 5, 12 of 6, 24 of 7 and
// 16 of 8, each prefix the top bits of the first byte value its group reaches.
void EmitPosition(unsigned position, BitWriter& out) {
  struct Group {
    unsigned values;
    int bits;
  };
  constexpr Group groups[] = {{1, 3}, {3, 4}, {8, 5}, {12, 6}, {24, 7}, {16, 8}};
  unsigned upper = position >> 6, firstByte = 0;
  for (const Group& g : groups) {
    const unsigned span = 1u << (8 - g.bits);
    if (upper < g.values) {
      out.Put((firstByte + upper * span) >> (8 - g.bits), g.bits);
      break;
    }
    upper -= g.values;
    firstByte += g.values * span;
  }
  out.Put(position & 63, 6);
}

// Hash chains over the history (the leading blanks followed by the data).
class MatchFinder {
 public:
  explicit MatchFinder(const std::vector<std::uint8_t>& history)
      : history_(history), head_(1 << 16, -1), previous_(history.size(), -1) {}

  void Insert(std::size_t pos) {
    if (pos + kShortest > history_.size()) return;
    const std::size_t h = Hash(pos);
    previous_[pos] = head_[h];
    head_[h] = static_cast<std::int64_t>(pos);
  }

  // Longest match for `pos` within reach of the ring; length 0 when none.
  std::pair<int, std::size_t> Find(std::size_t pos, int maxLength) const {
    int bestLength = 0;
    std::size_t bestDistance = 0;
    if (maxLength < kShortest) return {0, 0};
    int budget = 256;
    for (std::int64_t q = head_[Hash(pos)]; q >= 0 && budget-- > 0; q = previous_[q]) {
      const std::size_t distance = pos - static_cast<std::size_t>(q);
      if (distance > static_cast<std::size_t>(kRing)) break;
      int length = 0;
      while (length < maxLength && history_[q + length] == history_[pos + length]) ++length;
      if (length > bestLength) {
        bestLength = length;
        bestDistance = distance;
        if (length == maxLength) break;
      }
    }
    return {bestLength >= kShortest ? bestLength : 0, bestDistance};
  }

 private:
  std::size_t Hash(std::size_t pos) const {
    return (history_[pos] * 0x9E37u ^ history_[pos + 1] * 0x85EBu ^ history_[pos + 2] * 0xC2B3u) & 0xFFFFu;
  }

  const std::vector<std::uint8_t>& history_;
  std::vector<std::int64_t> head_;
  std::vector<std::int64_t> previous_;
};

}  // namespace

std::vector<std::uint8_t> LzhufEncode(std::span<const std::uint8_t> data, LzhufStats* stats) {
  std::vector<std::uint8_t> history(kBlanks + data.size(), ' ');
  std::copy(data.begin(), data.end(), history.begin() + kBlanks);

  LzhufStats counts;
  AdaptiveTree tree;
  BitWriter out;
  MatchFinder finder(history);
  for (std::size_t pos = 0; pos < kBlanks; ++pos) finder.Insert(pos);

  std::size_t pos = kBlanks;
  while (pos < history.size()) {
    const int maxLength = static_cast<int>(std::min<std::size_t>(kLongest, history.size() - pos));
    const auto [length, distance] = finder.Find(pos, maxLength);
    if (length == 0) {
      const int code = history[pos];
      tree.Emit(code, out);
      tree.Count(code);
      finder.Insert(pos++);
      ++counts.literals;
      continue;
    }
    const int code = 256 - kShortest + length;
    tree.Emit(code, out);
    tree.Count(code);
    EmitPosition(static_cast<unsigned>(distance - 1), out);
    ++counts.matches;
    if (pos - distance < static_cast<std::size_t>(kBlanks)) ++counts.matchesIntoBlanks;
    counts.longestDistance = std::max(counts.longestDistance, distance);
    for (int k = 0; k < length; ++k) finder.Insert(pos++);
  }
  counts.rebuilds = tree.rebuilds;
  if (stats) *stats = counts;
  return out.Finish();
}

}  // namespace skinpack
