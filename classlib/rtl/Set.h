// Set<E>: a set of enumeration values, stored as a bit mask (bit i = element i), as the
// library's set types are.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace vcl {

template <class E>
class Set {
 public:
  using Element = E;

  constexpr Set() = default;
  constexpr Set(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }

  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr Set& Include(E e) { bits_ |= Bit(e); return *this; }
  constexpr Set& Exclude(E e) { bits_ &= ~Bit(e); return *this; }
  constexpr Set& operator<<(E e) { return Include(e); }
  constexpr Set& operator>>(E e) { return Exclude(e); }

  constexpr Set operator+(Set o) const { return FromBits(bits_ | o.bits_); }
  constexpr Set operator*(Set o) const { return FromBits(bits_ & o.bits_); }
  constexpr Set operator-(Set o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr bool operator==(const Set&) const = default;

  constexpr int64_t ToInt() const { return static_cast<int64_t>(bits_); }
  static constexpr Set FromInt(int64_t v) { return FromBits(static_cast<uint64_t>(v)); }

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
  static constexpr Set FromBits(uint64_t b) {
    Set s;
    s.bits_ = b;
    return s;
  }
  uint64_t bits_ = 0;
};

}  // namespace vcl
