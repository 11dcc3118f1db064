// A skinned form's own scroll bars (its AutoScroll's), skinned by a scroll adapter on the
// form's window: made while the form is skinned, freed otherwise. Its provider owns it and
// frees the adapter when it goes; it sees the provider only through the provider's base (the
// form and its skin data) and the provider's flag word.
#pragma once

#include <cstdint>

#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

// The bit of the provider's flag word set while the adapter is being made or freed.
inline constexpr std::uint32_t kExtScrollAdapter = 0x20000;

class TqvFormScrollBars {
 public:
  TqvFormScrollBars(TsSkinProviderBase& Provider, std::uint32_t& Flags) : provider_(Provider), flags_(Flags) {}
  TqvFormScrollBars(const TqvFormScrollBars&) = delete;
  TqvFormScrollBars& operator=(const TqvFormScrollBars&) = delete;

  // Makes the adapter while the form is skinned, frees it otherwise (nothing for a form
  // without AutoScroll, nor while the provider goes or already updates it).
  void Update();
  void Free();
  // The adapter (owned); nil for none.
  vcl::TObject* Adapter() const { return adapter_; }
  // The bars it shows (none without it), with their screen rectangles.
  TqvShownScrollBars Shown() const;
  // The width of the skinned vertical bar and the height of the skinned horizontal one that
  // the form's non-client area holds (0 when not shown).
  int VertBarWidth() const;
  int HorzBarHeight() const;

 private:
  TsSkinProviderBase& provider_;
  std::uint32_t& flags_;
  vcl::TObject* adapter_ = nullptr;
};

}  // namespace skin_layered
