#include "skin_layered/paint/png/ColorManager.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "skin_layered/paint/png/PngError.h"
#include "skin_layered/paint/png/PngMath.h"
#include "skin_layered/paint/png/RedBlueSwap.h"

namespace skin_layered {

struct TColorManager::TRowView {
  const std::uint8_t* plane[4] = {};
  bool planar = false;
};

namespace {

// Calls op(source pixel, target pixel) for every target pixel of Count selected by Mask.
template <class Op>
inline void WalkPixels(std::size_t count, std::uint8_t mask, Op&& op) {
  if (mask == 0xFF) {
    for (std::size_t i = 0; i < count; ++i) op(i, i);
    return;
  }
  unsigned offsets[8];
  unsigned selected = 0;
  for (unsigned b = 0; b < 8; ++b)
    if (mask & (0x80u >> b)) offsets[selected++] = b;
  std::size_t source = 0;
  for (std::size_t group = 0; group < count; group += 8) {
    for (unsigned k = 0; k < selected; ++k) {
      const std::size_t x = group + offsets[k];
      if (x >= count) return;
      op(source++, x);
    }
  }
}

std::size_t SelectedCount(std::size_t count, std::uint8_t mask) {
  std::size_t n = count / 8 * static_cast<std::size_t>(std::popcount(mask));
  if (const std::size_t rest = count % 8; rest != 0)
    n += static_cast<std::size_t>(std::popcount(static_cast<std::uint8_t>(mask & (0xFF00u >> rest))));
  return n;
}

template <bool Swap>
inline std::uint16_t Read16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  if constexpr (Swap) v = static_cast<std::uint16_t>((v >> 8) | (v << 8));
  return v;
}

inline std::uint16_t Read16(const std::uint8_t* p, bool swap) {
  return swap ? Read16<true>(p) : Read16<false>(p);
}

inline void Write16(std::uint8_t* p, std::uint16_t v) { std::memcpy(p, &v, 2); }

// Packed pixels, most significant bits first; Bits is 1 to 16.
inline std::uint32_t ReadBits(const std::uint8_t* row, std::size_t index, unsigned bits) {
  const std::size_t bit = index * bits;
  const std::uint8_t* p = row + bit / 8;
  const unsigned need = static_cast<unsigned>(bit % 8) + bits;
  const unsigned bytes = (need + 7) / 8;
  std::uint32_t acc = 0;
  for (unsigned k = 0; k < bytes; ++k) acc = (acc << 8) | p[k];
  return (acc >> (bytes * 8 - need)) & ((1u << bits) - 1);
}

inline void WriteBits(std::uint8_t* row, std::size_t index, unsigned bits, std::uint32_t value) {
  const std::size_t bit = index * bits;
  std::uint8_t* p = row + bit / 8;
  const unsigned need = static_cast<unsigned>(bit % 8) + bits;
  const unsigned bytes = (need + 7) / 8;
  std::uint32_t acc = 0;
  for (unsigned k = 0; k < bytes; ++k) acc = (acc << 8) | p[k];
  const unsigned shift = bytes * 8 - need;
  const std::uint32_t fieldMask = ((1u << bits) - 1) << shift;
  acc = (acc & ~fieldMask) | ((value << shift) & fieldMask);
  for (unsigned k = bytes; k-- > 0;) {
    p[k] = static_cast<std::uint8_t>(acc);
    acc >>= 8;
  }
}

constexpr std::uint16_t MaxValue(unsigned bits) {
  return static_cast<std::uint16_t>((1u << bits) - 1);
}

// One sample from SB to DB bytes; the gamma table applies to 8-bit values only.
template <int SB, int DB, bool Gamma, bool Swap>
inline void ConvertSample(const std::uint8_t* s, std::uint8_t* d, const std::uint8_t* gamma) {
  if constexpr (SB == 1 && DB == 1) {
    *d = Gamma ? gamma[*s] : *s;
  } else if constexpr (SB == 2 && DB == 1) {
    const auto v = static_cast<std::uint8_t>(MulDiv16(Read16<Swap>(s), 255, 65535));
    *d = Gamma ? gamma[v] : v;
  } else if constexpr (SB == 1 && DB == 2) {
    Write16(d, MulDiv16(Gamma ? gamma[*s] : *s, 65535, 255));
  } else {
    Write16(d, Read16<Swap>(s));
  }
}

inline void WriteChannel(std::uint8_t* d, int bytes, std::uint8_t value) {
  if (bytes == 1) *d = value;
  else Write16(d, MulDiv16(value, 65535, 255));
}

inline void WriteOpaque(std::uint8_t* d, int bytes) {
  if (bytes == 1) *d = 0xFF;
  else Write16(d, 0xFFFF);
}

inline std::uint8_t ClampByte(double v) {
  return static_cast<std::uint8_t>(RoundHalfEven(std::clamp(v, 0.0, 255.0)));
}

inline std::uint8_t ClampByte(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); }

bool HasAlpha(TColorScheme s) {
  return s == TColorScheme::GrayAlpha || s == TColorScheme::RGBA || s == TColorScheme::BGRA;
}

std::size_t ColorSamples(TColorScheme s) {
  switch (s) {
    case TColorScheme::Indexed:
    case TColorScheme::Gray:
      return 1;
    case TColorScheme::GrayAlpha:
      return 2;
    case TColorScheme::RGBA:
    case TColorScheme::BGRA:
    case TColorScheme::CMYK:
      return 4;
    case TColorScheme::Unknown:
      return 1;
    default:
      return 3;
  }
}

bool IsByteDepth(std::uint8_t bits) { return bits == 8 || bits == 16; }

void SetChannels(std::uint8_t (&channels)[4], TColorScheme s) {
  const bool bgr = s == TColorScheme::BGR || s == TColorScheme::BGRA;
  channels[0] = bgr ? 2 : 0;
  channels[1] = 1;
  channels[2] = bgr ? 0 : 2;
  channels[3] = 3;
}

}  // namespace

TColorManager::TColorManager() = default;

void TColorManager::SetSourceBitsPerSample(std::uint8_t bits) {
  if (bits < 1 || bits > 16) ColorConversionError(png_text::BadBitsPerSample);
  if (bits != sourceBits_) {
    sourceBits_ = bits;
    MarkChanged();
  }
}

void TColorManager::SetTargetBitsPerSample(std::uint8_t bits) {
  if (bits < 1 || bits > 16) ColorConversionError(png_text::BadBitsPerSample);
  if (bits != targetBits_) {
    targetBits_ = bits;
    MarkChanged();
  }
}

void TColorManager::SetSourceSamplesPerPixel(std::uint8_t samples) {
  if (samples < 1 || samples > 4) ColorConversionError(png_text::BadSampleCount);
  if (samples != sourceSamples_) {
    sourceSamples_ = samples;
    MarkChanged();
  }
}

void TColorManager::SetTargetSamplesPerPixel(std::uint8_t samples) {
  if (samples < 1 || samples > 4) ColorConversionError(png_text::BadSampleCount);
  if (samples != targetSamples_) {
    targetSamples_ = samples;
    MarkChanged();
  }
}

void TColorManager::SetSourceColorScheme(TColorScheme scheme) {
  if (scheme != sourceScheme_) {
    sourceScheme_ = scheme;
    MarkChanged();
  }
}

void TColorManager::SetTargetColorScheme(TColorScheme scheme) {
  if (scheme != targetScheme_) {
    targetScheme_ = scheme;
    MarkChanged();
  }
}

// Options pick among converter variants (gamma, byte order), so they count as changes too.
void TColorManager::SetSourceOptions(TConvertOptions options) {
  if (options != sourceOptions_) {
    sourceOptions_ = options;
    MarkChanged();
  }
}

void TColorManager::SetTargetOptions(TConvertOptions options) {
  if (options != targetOptions_) {
    targetOptions_ = options;
    MarkChanged();
  }
}

std::uint8_t TColorManager::ApplyGammaIfSet(std::uint8_t value) const {
  return (targetOptions_ & coApplyGamma) ? GammaTable()[value] : value;
}

void TColorManager::SetGamma(float mainGamma, float displayGamma) {
  if (!(mainGamma > 0) || !std::isfinite(mainGamma)) mainGamma = 1.0f;
  if (!(displayGamma > 0) || !std::isfinite(displayGamma)) displayGamma = 2.2f;
  // Below 8 source bits only the first entries are filled: the others keep the defaults'.
  if (sourceBits_ < 8) GammaTable();
  mainGamma_ = mainGamma;
  displayGamma_ = displayGamma;
  FillGammaTable(sourceBits_, targetBits_);
}

const std::array<std::uint8_t, 256>& TColorManager::GammaTable() const {
  if (gammaPending_) FillGammaTable(8, 8);  // the depths a new manager has
  return gammaTable_;
}

void TColorManager::FillGammaTable(unsigned sourceBits, unsigned targetBits) const {
  const double g = 1.0 / (static_cast<double>(mainGamma_) * displayGamma_);
  const unsigned targetHigh = targetBits >= 8 ? 255u : MaxValue(targetBits);
  const unsigned sourceHigh = sourceBits >= 8 ? 255u : targetHigh;
  for (unsigned i = 0; i <= sourceHigh; ++i) {
    const double v = std::pow(static_cast<double>(i) / sourceHigh, g) * targetHigh;
    gammaTable_[i] = static_cast<std::uint8_t>(RoundHalfEven(std::clamp(v, 0.0, 255.0)));
  }
  gammaPending_ = false;
}

// ---- converter selection -------------------------------------------------------------

void TColorManager::SelectConverter() {
  converter_ = nullptr;
  const bool sourceIndexedLike = sourceScheme_ == TColorScheme::Indexed ||
                                 sourceScheme_ == TColorScheme::Gray ||
                                 sourceScheme_ == TColorScheme::GrayAlpha;
  const bool targetIndexedLike =
      targetScheme_ == TColorScheme::Indexed || targetScheme_ == TColorScheme::Gray;
  if (sourceIndexedLike != targetIndexedLike) ColorConversionError(png_text::IndexedMismatch);

  sourceOptions_ = HasAlpha(sourceScheme_) ? (sourceOptions_ | coAlpha) : (sourceOptions_ & ~coAlpha);
  targetOptions_ = HasAlpha(targetScheme_) ? (targetOptions_ | coAlpha) : (targetOptions_ & ~coAlpha);
  // A pixel spans its samples per pixel, and at least its colour samples plus alpha.
  sourceStep_ = std::max<std::size_t>(sourceSamples_, ColorSamples(sourceScheme_));
  targetStep_ = std::max<std::size_t>(targetSamples_, ColorSamples(targetScheme_));
  SetChannels(sourceChannel_, sourceScheme_);
  SetChannels(targetChannel_, targetScheme_);

  const bool source16 = sourceBits_ == 16;
  const bool target16 = targetBits_ == 16;
  switch (sourceScheme_) {
    case TColorScheme::Indexed:
      sourceStep_ = targetStep_ = 1;
      if (source16 && target16) converter_ = &TColorManager::Indexed16To16;
      else if (source16) converter_ = &TColorManager::Indexed16ToPacked;
      else if (target16) converter_ = &TColorManager::IndexedPackedTo16;
      else converter_ = &TColorManager::IndexedPackedToPacked;
      break;
    case TColorScheme::Gray:
      if (!source16 && !target16) {
        sourceStep_ = targetStep_ = 1;
        converter_ = &TColorManager::IndexedPackedToPacked;
      } else if (IsByteDepth(sourceBits_) && IsByteDepth(targetBits_)) {
        SelectGray();
      }
      break;
    case TColorScheme::GrayAlpha:
      if (IsByteDepth(sourceBits_) && IsByteDepth(targetBits_)) SelectGray();
      break;
    case TColorScheme::RGB:
    case TColorScheme::RGBA:
    case TColorScheme::BGR:
    case TColorScheme::BGRA:
      SelectRgbFamily();
      break;
    case TColorScheme::CMYK:
      SelectCmyk();
      break;
    case TColorScheme::CIELab:
    case TColorScheme::YCbCr:
    case TColorScheme::PhotoYCC: {
      const bool colourTarget = targetScheme_ == TColorScheme::RGB || targetScheme_ == TColorScheme::RGBA ||
                                targetScheme_ == TColorScheme::BGR || targetScheme_ == TColorScheme::BGRA;
      if (!colourTarget || sourceBits_ != 8 || !IsByteDepth(targetBits_)) break;
      if (sourceScheme_ == TColorScheme::CIELab) {
        converter_ = &TColorManager::CIELabRow;
      } else {
        BuildYCbCrTables(sourceScheme_ == TColorScheme::PhotoYCC);
        converter_ = &TColorManager::YCbCrRow;
      }
      break;
    }
    default:
      break;
  }
}

void TColorManager::SelectGray() {
  const bool swap = sourceOptions_ & coNeedByteSwap;
  const int sb = sourceBits_ / 8;
  const int db = targetBits_ / 8;
  if (sb == 1 && db == 1) converter_ = &TColorManager::GrayRow<1, 1, false>;
  else if (sb == 1) converter_ = &TColorManager::GrayRow<1, 2, false>;
  else if (db == 1) converter_ = swap ? &TColorManager::GrayRow<2, 1, true> : &TColorManager::GrayRow<2, 1, false>;
  else converter_ = swap ? &TColorManager::GrayRow<2, 2, true> : &TColorManager::GrayRow<2, 2, false>;
}

void TColorManager::SelectRgbFamily() {
  const bool colourTarget = targetScheme_ == TColorScheme::RGB || targetScheme_ == TColorScheme::RGBA ||
                            targetScheme_ == TColorScheme::BGR || targetScheme_ == TColorScheme::BGRA;
  if (!colourTarget || !IsByteDepth(sourceBits_) || !IsByteDepth(targetBits_)) return;
  const bool gamma = targetOptions_ & coApplyGamma;
  const bool swap = sourceOptions_ & coNeedByteSwap;
  const bool s16 = sourceBits_ == 16;
  const bool t16 = targetBits_ == 16;
  if (!s16 && !t16) {
    converter_ = gamma ? &TColorManager::RgbFamilyRow<1, 1, true, false> : &TColorManager::RgbFamilyRow<1, 1, false, false>;
  } else if (!s16) {
    converter_ = gamma ? &TColorManager::RgbFamilyRow<1, 2, true, false> : &TColorManager::RgbFamilyRow<1, 2, false, false>;
  } else if (!t16) {
    if (gamma) converter_ = swap ? &TColorManager::RgbFamilyRow<2, 1, true, true> : &TColorManager::RgbFamilyRow<2, 1, true, false>;
    else converter_ = swap ? &TColorManager::RgbFamilyRow<2, 1, false, true> : &TColorManager::RgbFamilyRow<2, 1, false, false>;
  } else {
    converter_ = swap ? &TColorManager::RgbFamilyRow<2, 2, false, true> : &TColorManager::RgbFamilyRow<2, 2, false, false>;
  }
}

void TColorManager::SelectCmyk() {
  const bool colourTarget = targetScheme_ == TColorScheme::RGB || targetScheme_ == TColorScheme::RGBA ||
                            targetScheme_ == TColorScheme::BGR || targetScheme_ == TColorScheme::BGRA;
  if (!colourTarget || !IsByteDepth(sourceBits_) || !IsByteDepth(targetBits_)) return;
  const bool swap = sourceOptions_ & coNeedByteSwap;
  if (sourceBits_ == 8) converter_ = &TColorManager::CmykRow<1, false>;
  else converter_ = swap ? &TColorManager::CmykRow<2, true> : &TColorManager::CmykRow<2, false>;
}

void TColorManager::BuildYCbCrTables(bool photo) {
  const double lr = redWeight_, lg = greenWeight_, lb = blueWeight_;
  const double f1 = 2 - 2 * lr;
  const double f3 = 2 - 2 * lb;
  const double f2 = lr * f1 / lg;
  const double f4 = lb * f3 / lg;
  const int crOffset = photo ? 137 : 128;
  const int cbOffset = photo ? 156 : 128;
  for (int i = 0; i < 256; ++i) {
    const double cr = i - crOffset;
    const double cb = i - cbOffset;
    crToRed_[i] = static_cast<int>(RoundHalfEven(cr * f1));
    cbToBlue_[i] = static_cast<int>(RoundHalfEven(cb * f3));
    crToGreen_[i] = -static_cast<int>(RoundHalfEven(cr * f2));
    cbToGreen_[i] = -static_cast<int>(RoundHalfEven(cb * f4));
  }
}

// ---- conversion ----------------------------------------------------------------------

void TColorManager::CheckRowSizes(TRowSources source, std::span<std::uint8_t> target,
                                  std::size_t count, std::uint8_t mask) const {
  // Sizes below are products of the count with at most 4 samples of 16 bits.
  if (count > std::numeric_limits<std::size_t>::max() / 64) throw std::length_error("colour manager: row too long");
  const std::size_t n = SelectedCount(count, mask);
  if (source.empty() || source.size() > 4) throw std::length_error("colour manager: 1 to 4 source planes");
  if (source.size() > 1) {
    if (source.size() < sourceStep_) throw std::length_error("colour manager: too few source planes");
    const std::size_t planeBytes = (n * sourceBits_ + 7) / 8;
    for (std::size_t p = 0; p < sourceStep_; ++p)
      if (source[p].size() < planeBytes) throw std::length_error("colour manager: source plane too short");
  } else if (source[0].size() < (n * sourceStep_ * sourceBits_ + 7) / 8) {
    throw std::length_error("colour manager: source row too short");
  }
  if (target.size() < (count * targetStep_ * targetBits_ + 7) / 8)
    throw std::length_error("colour manager: target row too short");
}

void TColorManager::ConvertRow(TRowSources source, std::span<std::uint8_t> target,
                               std::size_t count, std::uint8_t mask) {
  if (changed_) {
    SelectConverter();
    changed_ = false;
  }
  if (converter_ == nullptr) ColorConversionError(png_text::NoConverter);
  CheckRowSizes(source, target, count, mask);
  TRowView view;
  view.planar = source.size() > 1;
  for (std::size_t p = 0; p < source.size(); ++p) view.plane[p] = source[p].data();
  (this->*converter_)(view, target.data(), count, mask);
}

void TColorManager::ConvertRow(std::span<const std::uint8_t> source, std::span<std::uint8_t> target,
                               std::size_t count, std::uint8_t mask) {
  const std::span<const std::uint8_t> planes[1] = {source};
  ConvertRow(TRowSources(planes), target, count, mask);
}

void TColorManager::IndexedPackedToPacked(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                          std::uint8_t mask) const {
  const std::uint8_t* src = v.plane[0];
  const unsigned sb = sourceBits_;
  const unsigned tb = targetBits_;
  if (sb == tb && mask == 0xFF) {
    std::memcpy(dst, src, (count * sb + 7) / 8);
    return;
  }
  if (sb == 8 && tb == 8) {
    WalkPixels(count, mask, [&](std::size_t s, std::size_t d) { dst[d] = src[s]; });
    return;
  }
  const std::uint16_t sMax = MaxValue(sb);
  const std::uint16_t tMax = MaxValue(tb);
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    std::uint32_t value = ReadBits(src, s, sb);
    if (sb != tb) value = MulDiv16(static_cast<std::uint16_t>(value), tMax, sMax);
    WriteBits(dst, d, tb, value);
  });
}

void TColorManager::Indexed16To16(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                  std::uint8_t mask) const {
  const std::uint8_t* src = v.plane[0];
  const bool swap = sourceOptions_ & coNeedByteSwap;
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) { Write16(dst + 2 * d, Read16(src + 2 * s, swap)); });
}

void TColorManager::Indexed16ToPacked(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                      std::uint8_t mask) const {
  const std::uint8_t* src = v.plane[0];
  const bool swap = sourceOptions_ & coNeedByteSwap;
  const unsigned tb = targetBits_;
  const std::uint16_t tMax = MaxValue(tb);
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    WriteBits(dst, d, tb, MulDiv16(Read16(src + 2 * s, swap), tMax, 65535));
  });
}

void TColorManager::IndexedPackedTo16(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                      std::uint8_t mask) const {
  const std::uint8_t* src = v.plane[0];
  const unsigned sb = sourceBits_;
  const std::uint16_t sMax = MaxValue(sb);
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    Write16(dst + 2 * d, MulDiv16(static_cast<std::uint16_t>(ReadBits(src, s, sb)), 65535, sMax));
  });
}

template <int SB, int DB, bool Swap>
void TColorManager::GrayRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                            std::uint8_t mask) const {
  const std::uint8_t* src = v.plane[0];
  const std::size_t sStep = v.planar ? SB : sourceStep_ * SB;
  const std::size_t dStep = targetStep_ * DB;
  if (SB == 1 && DB == 1 && sStep == 1 && dStep == 1 && mask == 0xFF) {
    std::memcpy(dst, src, count);  // 8-bit grey to 8-bit indices: the row as it is
    return;
  }
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    ConvertSample<SB, DB, false, Swap>(src + s * sStep, dst + d * dStep, nullptr);
  });
}

// 8-bit interleaved rows with every pixel selected, the layouts of every PNG colour image:
// straight loops without per-sample decisions.
bool TColorManager::RgbFastRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                               std::uint8_t mask) const {
  if (mask != 0xFF || v.planar || sourceBits_ != 8 || targetBits_ != 8) return false;
  const bool sourceAlpha = sourceOptions_ & coAlpha;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const bool rgb3 = sourceStep_ == 3 && targetStep_ == 3 && !sourceAlpha && !targetAlpha;
  const bool rgba4 = sourceStep_ == 4 && targetStep_ == 4 && sourceAlpha && targetAlpha;
  const bool opaque4 = sourceStep_ == 3 && targetStep_ == 4 && !sourceAlpha && targetAlpha;
  if (!rgb3 && !rgba4 && !opaque4) return false;
  const std::uint8_t* src = v.plane[0];
  const bool swapped = sourceChannel_[0] != targetChannel_[0];
  const bool gamma = targetOptions_ & coApplyGamma;
  const std::uint8_t* g = gamma ? GammaTable().data() : nullptr;
  if (opaque4) {
    const unsigned a = swapped ? 2 : 0;
    const unsigned c = swapped ? 0 : 2;
    for (std::size_t i = 0; i < count; ++i, src += 3, dst += 4) {
      dst[0] = g ? g[src[a]] : src[a];
      dst[1] = g ? g[src[1]] : src[1];
      dst[2] = g ? g[src[c]] : src[c];
      dst[3] = 0xFF;
    }
    return true;
  }
  if (rgb3) {
    if (!gamma && !swapped) {
      std::memcpy(dst, src, count * 3);
    } else if (!gamma) {
      SwapRedBlue3(src, dst, count);
    } else {
      const unsigned a = swapped ? 2 : 0;
      const unsigned c = swapped ? 0 : 2;
      for (std::size_t i = 0; i < count; ++i, src += 3, dst += 3) {
        dst[0] = g[src[a]];
        dst[1] = g[src[1]];
        dst[2] = g[src[c]];
      }
    }
    return true;
  }
  if (!gamma && !swapped) {
    std::memcpy(dst, src, count * 4);
  } else if (!gamma) {
    SwapRedBlue4(src, dst, count);
  } else {
    const unsigned a = swapped ? 2 : 0;
    const unsigned c = swapped ? 0 : 2;
    for (std::size_t i = 0; i < count; ++i, src += 4, dst += 4) {
      dst[0] = g[src[a]];
      dst[1] = g[src[1]];
      dst[2] = g[src[c]];
      dst[3] = src[3];
    }
  }
  return true;
}

// A 16-bit sample scaled to 8 bits, v × 255 / 65535 truncated: as 65535 = 255 × 257 that is
// v / 257, which is the high byte, less one when the low byte is below it.
constexpr std::uint8_t NarrowSample(std::uint16_t v) {
  const unsigned high = v >> 8, low = v & 0xFFu;
  return static_cast<std::uint8_t>(high - (low < high ? 1u : 0u));
}

constexpr bool NarrowSampleIsTheScaling() {
  for (unsigned v = 0; v <= 0xFFFF; ++v)
    if (NarrowSample(static_cast<std::uint16_t>(v)) != MulDiv16(static_cast<std::uint16_t>(v), 255, 65535)) return false;
  return true;
}
static_assert(NarrowSampleIsTheScaling());

// 16-bit interleaved rows to 8 bits with every pixel selected and no gamma: the other PNG
// colour images.
template <bool Swap>
bool TColorManager::WideRgbFastRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                   std::uint8_t mask) const {
  if (mask != 0xFF || v.planar || sourceBits_ != 16 || targetBits_ != 8) return false;
  const bool sourceAlpha = sourceOptions_ & coAlpha;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const bool rgb3 = sourceStep_ == 3 && targetStep_ == 3 && !sourceAlpha && !targetAlpha;
  const bool rgba4 = sourceStep_ == 4 && targetStep_ == 4 && sourceAlpha && targetAlpha;
  if (!rgb3 && !rgba4) return false;
  const std::size_t step = sourceStep_;
  const std::uint8_t* src = v.plane[0];
  const unsigned from[3] = {2u * sourceChannel_[0], 2u * sourceChannel_[1], 2u * sourceChannel_[2]};
  const unsigned to[3] = {targetChannel_[0], targetChannel_[1], targetChannel_[2]};
  for (std::size_t i = 0; i < count; ++i, src += 2 * step, dst += step) {
    for (unsigned c = 0; c < 3; ++c) dst[to[c]] = NarrowSample(Read16<Swap>(src + from[c]));
    if (rgba4) dst[3] = NarrowSample(Read16<Swap>(src + 6));
  }
  return true;
}

template <int SB, int DB, bool Gamma, bool Swap>
void TColorManager::RgbFamilyRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                                 std::uint8_t mask) const {
  if constexpr (SB == 1 && DB == 1) {
    if (RgbFastRow(v, dst, count, mask)) return;
  }
  if constexpr (SB == 2 && DB == 1 && !Gamma) {
    if (WideRgbFastRow<Swap>(v, dst, count, mask)) return;
  }
  const bool sourceAlpha = sourceOptions_ & coAlpha;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const std::uint8_t* g = Gamma ? GammaTable().data() : nullptr;
  const std::size_t dStep = targetStep_ * DB;
  auto at = [&](std::size_t s, unsigned channel) {
    return v.planar ? v.plane[channel] + s * SB : v.plane[0] + (s * sourceStep_ + channel) * SB;
  };
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    std::uint8_t* out = dst + d * dStep;
    for (unsigned c = 0; c < 3; ++c)
      ConvertSample<SB, DB, Gamma, Swap>(at(s, sourceChannel_[c]), out + targetChannel_[c] * DB, g);
    if (targetAlpha) {
      if (sourceAlpha) ConvertSample<SB, DB, false, Swap>(at(s, 3), out + 3 * DB, nullptr);
      else WriteOpaque(out + 3 * DB, DB);
    }
  });
}

template <int SB, bool Swap>
void TColorManager::CmykRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                            std::uint8_t mask) const {
  const int db = targetBits_ / 8;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const std::size_t dStep = targetStep_ * db;
  auto sample = [&](std::size_t s, unsigned channel) -> std::int64_t {
    const std::uint8_t* p = v.planar ? v.plane[channel] + s * SB : v.plane[0] + (s * sourceStep_ + channel) * SB;
    if constexpr (SB == 1) return *p;
    else return Read16<Swap>(p);
  };
  constexpr std::int64_t high = SB == 1 ? 255 : 65535;
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    const std::int64_t k = sample(s, 3);
    std::uint8_t* out = dst + d * dStep;
    for (unsigned c = 0; c < 3; ++c) {  // cyan gives red, magenta green, yellow blue
      const std::int64_t x = sample(s, c);
      std::int64_t value = std::clamp<std::int64_t>(high - (x - x * k / high + k), 0, high);
      if constexpr (SB == 2) value = MulDiv16(static_cast<std::uint16_t>(value), 255, 65535);
      WriteChannel(out + targetChannel_[c] * db, db, static_cast<std::uint8_t>(value));
    }
    if (targetAlpha) WriteOpaque(out + 3 * db, db);
  });
}

void TColorManager::CIELabRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                              std::uint8_t mask) const {
  const int db = targetBits_ / 8;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const std::size_t dStep = targetStep_ * db;
  const bool byteRange = sourceOptions_ & coLabByteRange;
  const bool offsetChroma = sourceOptions_ & coLabChromaOffset;
  auto sample = [&](std::size_t s, unsigned channel) {
    return v.planar ? v.plane[channel][s] : v.plane[0][s * sourceStep_ + channel];
  };
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    const double l = byteRange ? sample(s, 0) / 2.55 : sample(s, 0);
    const double a = offsetChroma ? sample(s, 1) - 128.0 : static_cast<std::int8_t>(sample(s, 1));
    const double b = offsetChroma ? sample(s, 2) - 128.0 : static_cast<std::int8_t>(sample(s, 2));
    const double fy = (l + 16) / 116;
    double x, y, z;
    if (l >= 7.9996) {
      x = std::pow(a / 500 + fy, 3);
      y = fy * fy * fy;
      z = std::pow(fy - b / 200, 3);
    } else {
      y = l / 903.3;
      x = a / 3893.5 + y;
      z = y - b / 1557.4;
    }
    std::uint8_t* out = dst + d * dStep;
    WriteChannel(out + targetChannel_[2] * db, db, ClampByte((0.099 * x - 0.198 * y + 1.099 * z) * 255));
    WriteChannel(out + targetChannel_[1] * db, db, ClampByte((-0.952 * x + 1.893 * y + 0.059 * z) * 255));
    WriteChannel(out + targetChannel_[0] * db, db, ClampByte((2.998 * x - 1.458 * y - 0.541 * z) * 255));
    if (targetAlpha) WriteOpaque(out + 3 * db, db);
  });
}

void TColorManager::YCbCrRow(const TRowView& v, std::uint8_t* dst, std::size_t count,
                             std::uint8_t mask) const {
  const int db = targetBits_ / 8;
  const bool targetAlpha = targetOptions_ & coAlpha;
  const std::size_t dStep = targetStep_ * db;
  auto sample = [&](std::size_t s, unsigned channel) {
    return v.planar ? v.plane[channel][s] : v.plane[0][s * sourceStep_ + channel];
  };
  WalkPixels(count, mask, [&](std::size_t s, std::size_t d) {
    const int y = sample(s, 0);
    const int cb = sample(s, 1);
    const int cr = sample(s, 2);
    std::uint8_t* out = dst + d * dStep;
    WriteChannel(out + targetChannel_[0] * db, db, ClampByte(y + crToRed_[cr]));
    WriteChannel(out + targetChannel_[1] * db, db, ClampByte(y + cbToGreen_[cb] + crToGreen_[cr]));
    WriteChannel(out + targetChannel_[2] * db, db, ClampByte(y + cbToBlue_[cb]));
    if (targetAlpha) WriteOpaque(out + 3 * db, db);
  });
}

// ---- formats and palettes ------------------------------------------------------------

TPixelLayout TColorManager::TargetPixelFormat() const {
  const unsigned bits = targetBits_;
  switch (targetSamples_) {
    case 1:
      if (bits == 1) return TPixelLayout::Bits1;
      if (bits >= 2 && bits <= 4) return TPixelLayout::Bits4;
      if (bits >= 8 && bits <= 16) return TPixelLayout::Bits8;
      return TPixelLayout::Custom;
    case 3:
      return bits <= 5 ? TPixelLayout::Bits15 : TPixelLayout::Bits24;
    case 4:
      return bits < 8 ? TPixelLayout::Custom : TPixelLayout::Bits32;
    default:
      return TPixelLayout::Custom;
  }
}

std::vector<TPaletteEntry> TColorManager::CreateGrayscalePalette(bool minimumIsWhite) const {
  const unsigned exponent = static_cast<unsigned>(targetBits_) * targetSamples_;
  const unsigned entries = exponent >= 8 ? 256u : 1u << exponent;
  const unsigned step = 255 / (entries - 1);
  std::vector<TPaletteEntry> palette(entries);
  for (unsigned i = 0; i < entries; ++i) {
    const std::uint8_t grey = ApplyGammaIfSet(static_cast<std::uint8_t>(i * step));
    palette[minimumIsWhite ? entries - 1 - i : i] = {grey, grey, grey};
  }
  return palette;
}

std::vector<TPaletteEntry> TColorManager::CreateColorPalette(std::span<const std::uint8_t> data,
                                                             TPaletteData format,
                                                             std::size_t colorCount,
                                                             bool bgr) const {
  const std::size_t stride = format == TPaletteData::Bytes4 ? 4 : 3;
  const std::size_t count = std::min({colorCount, std::size_t{256}, data.size() / stride});
  std::vector<TPaletteEntry> entries(256);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = data.data() + i * stride;
    const std::uint8_t first = ApplyGammaIfSet(p[0]);
    const std::uint8_t green = ApplyGammaIfSet(p[1]);
    const std::uint8_t third = ApplyGammaIfSet(p[2]);
    entries[i] = bgr ? TPaletteEntry{third, green, first} : TPaletteEntry{first, green, third};
  }
  if (targetBits_ <= 8 && sourceBits_ != targetBits_) {
    // Respread so that a pixel scaled from the source depth shows its own colour.
    const std::uint16_t sMax = MaxValue(sourceBits_);
    const std::uint16_t tMax = MaxValue(targetBits_);
    auto sourceEntry = [&](unsigned i) {
      const unsigned from = MulDiv16(static_cast<std::uint16_t>(i), sMax, tMax);
      return from < entries.size() ? entries[from] : TPaletteEntry{};
    };
    if (targetBits_ > sourceBits_) {
      for (unsigned i = tMax + 1u; i-- > 0;) entries[i] = sourceEntry(i);
    } else {
      for (unsigned i = 0; i <= tMax; ++i) entries[i] = sourceEntry(i);
    }
    entries.resize(tMax + 1u);
  } else {
    entries.resize(count);
  }
  return entries;
}

}  // namespace skin_layered
