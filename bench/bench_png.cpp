// PNG decoding speed on real images: the layered engine's PNG reader beside Debian's libpng
// and libspng on the same files in the same run, all three producing the same 8-bit BGRA
// bitmap (16-bit samples scaled to 8 bits, palettes and grey expanded, interlaced images
// whole). Colour and palette images come from the reader in 32 bits (its RgbAs32Bits and
// PaletteAs32Bits); grey images, indexed, are widened to BGRA as part of its time, as the
// engine does when it draws them.
//
//   bench_png FOLDER [GROUP]   FOLDER holds the images (scripts/fetch-bench-images.sh);
//                              GROUP limits the run to groups whose name contains it.
//
// The files are grouped by kind; runs alternate the decoders per group and round, and each
// figure is the median of the rounds. Synthetic images follow as extra rows.
#include <png.h>
#include <spng.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin_layered/paint/png/PngReader.h"
#include "skin_layered/paint/support/PngWriter.h"

namespace {

using namespace skin_layered;
using Bytes = std::vector<std::uint8_t>;

constexpr int kRounds = 9;             // median of these
constexpr std::size_t kHandful = 10;   // groups of fewer files are shown but not held to the targets
constexpr double kTargetLibpng = 2.0;         // in every group
constexpr double kTargetLibpngOverall = 2.5;  // over all files
constexpr double kTargetLibspng = 1.1;

// One decoded picture: width x height pixels of blue, green, red, alpha.
struct Bgra {
  std::uint32_t width = 0, height = 0;
  std::unique_ptr<std::uint8_t[]> pixels;
  void Make(std::uint32_t w, std::uint32_t h) {
    width = w;
    height = h;
    pixels = std::make_unique_for_overwrite<std::uint8_t[]>(std::size_t{w} * h * 4);
  }
  std::uint8_t* Row(std::uint32_t y) const { return pixels.get() + std::size_t{y} * width * 4; }
};

// ---- the reader, widened to BGRA -------------------------------------------------------

// 32-bit images are decoded straight into the BGRA bitmap; the other layouts into a bitmap
// of their own that is widened afterwards.
class BgraTarget final : public IPngImageTarget {
 public:
  explicit BgraTarget(Bgra& out) : out_(out) {}

  TScanLines PrepareImage(const TPngImageLayout& layout) override {
    layout_ = layout;
    out_.Make(layout.Width, layout.Height);
    if (layout.Format == TPixelLayout::Bits32) return {out_.pixels.get(), static_cast<std::ptrdiff_t>(layout.Width) * 4};
    stride_ = static_cast<std::size_t>(PixelRowBytes(layout.Width, layout.Format));
    native_ = std::make_unique_for_overwrite<std::uint8_t[]>(stride_ * layout.Height);
    return {native_.get(), static_cast<std::ptrdiff_t>(stride_)};
  }

  void Widen() const {
    if (!native_) return;
    const std::uint32_t w = layout_.Width;
    if (layout_.Format == TPixelLayout::Bits24) {
      for (std::uint32_t y = 0; y < layout_.Height; ++y) {
        const std::uint8_t* s = native_.get() + y * stride_;
        std::uint8_t* d = out_.Row(y);
        for (std::uint32_t x = 0; x < w; ++x, s += 3, d += 4) {
          d[0] = s[0];
          d[1] = s[1];
          d[2] = s[2];
          d[3] = 0xFF;
        }
      }
      return;
    }
    std::uint32_t colors[256] = {};
    for (std::size_t i = 0; i < layout_.Palette.size() && i < 256; ++i) {
      const TPaletteEntry& e = layout_.Palette[i];
      colors[i] = e.Blue | e.Green << 8 | e.Red << 16 | 0xFF000000u;
    }
    const unsigned bits = BitsPerPixel(layout_.Format);
    for (std::uint32_t y = 0; y < layout_.Height; ++y) {
      const std::uint8_t* s = native_.get() + y * stride_;
      auto* d = reinterpret_cast<std::uint32_t*>(out_.Row(y));
      if (bits == 8) {
        for (std::uint32_t x = 0; x < w; ++x) d[x] = colors[s[x]];
      } else {
        const unsigned perByte = 8 / bits, mask = (1u << bits) - 1;
        for (std::uint32_t x = 0; x < w; ++x)
          d[x] = colors[(s[x / perByte] >> (8 - bits * (x % perByte + 1))) & mask];
      }
    }
  }

 private:
  Bgra& out_;
  TPngImageLayout layout_;
  std::size_t stride_ = 0;
  std::unique_ptr<std::uint8_t[]> native_;
};

bool DecodeOurs(const Bytes& file, Bgra& out) {
  TPNGReader reader;  // a new picture per image, as the engine makes them
  reader.RgbAs32Bits = true;
  reader.PaletteAs32Bits = true;
  BgraTarget target(out);
  try {
    reader.LoadFromBytes(file, target);
  } catch (const std::exception&) {
    return false;
  }
  target.Widen();
  return true;
}

// ---- libpng ----------------------------------------------------------------------------

struct MemoryReader {
  const Bytes* data;
  std::size_t at;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
  auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
  if (count > reader->data->size() - reader->at) png_error(png, "read past the end");
  std::memcpy(out, reader->data->data() + reader->at, count);
  reader->at += count;
}

void QuietWarning(png_structp, png_const_charp) {}

bool DecodeLibpng(const Bytes& file, Bgra& out) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, QuietWarning);
  png_infop info = png_create_info_struct(png);
  MemoryReader reader{&file, 0};
  std::vector<png_bytep> rows;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &reader, ReadFromMemory);
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  png_set_expand(png);
  if (!(colorType & PNG_COLOR_MASK_COLOR)) png_set_gray_to_rgb(png);
  if (png_get_bit_depth(png, info) == 16) png_set_scale_16(png);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  out.Make(png_get_image_width(png, info), png_get_image_height(png, info));
  rows.resize(out.height);
  for (std::uint32_t y = 0; y < out.height; ++y) rows[y] = out.Row(y);
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

// ---- libspng ---------------------------------------------------------------------------

void SwapRedBlue(std::uint8_t* p, std::size_t pixels) {
  for (std::size_t i = 0; i < pixels; ++i, p += 4) std::swap(p[0], p[2]);
}

// libspng has no BGRA output: rows come as RGBA and are swapped while they are in cache.
bool DecodeLibspng(const Bytes& file, Bgra& out) {
  spng_ctx* ctx = spng_ctx_new(0);
  struct Free {
    spng_ctx* c;
    ~Free() { spng_ctx_free(c); }
  } free{ctx};
  spng_ihdr ihdr;
  std::size_t size = 0;
  if (spng_set_png_buffer(ctx, file.data(), file.size()) || spng_get_ihdr(ctx, &ihdr) ||
      spng_decoded_image_size(ctx, SPNG_FMT_RGBA8, &size))
    return false;
  out.Make(ihdr.width, ihdr.height);
  const std::size_t rowBytes = std::size_t{ihdr.width} * 4;
  if (ihdr.interlace_method != 0) {
    if (spng_decode_image(ctx, out.pixels.get(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS)) return false;
    SwapRedBlue(out.pixels.get(), std::size_t{ihdr.width} * ihdr.height);
    return true;
  }
  if (spng_decode_image(ctx, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE)) return false;
  for (std::uint32_t y = 0; y < ihdr.height; ++y) {
    const int result = spng_decode_row(ctx, out.Row(y), rowBytes);
    if (result != 0 && result != SPNG_EOI) return false;
    SwapRedBlue(out.Row(y), ihdr.width);
  }
  return true;
}

// ---- files and groups ------------------------------------------------------------------

struct PngFile {
  std::string path;
  Bytes bytes;
  std::uint32_t width = 0, height = 0;
  std::uint8_t depth = 0, colorType = 0, interlace = 0;
  bool gamma = false;  // has a gAMA chunk that is not the identity the reader applies
};

bool ReadHeader(PngFile& f) {
  static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  const Bytes& b = f.bytes;
  if (b.size() < 33 || std::memcmp(b.data(), kSignature, 8) != 0 || std::memcmp(b.data() + 12, "IHDR", 4) != 0)
    return false;
  auto be32 = [&](std::size_t at) {
    return std::uint32_t{b[at]} << 24 | std::uint32_t{b[at + 1]} << 16 | std::uint32_t{b[at + 2]} << 8 | b[at + 3];
  };
  f.width = be32(16);
  f.height = be32(20);
  f.depth = b[24];
  f.colorType = b[25];
  f.interlace = b[28];
  for (std::size_t at = 8; at + 12 <= b.size();) {
    const std::uint32_t length = be32(at);
    if (std::memcmp(b.data() + at + 4, "IDAT", 4) == 0 || length > b.size() - at - 12) break;
    if (std::memcmp(b.data() + at + 4, "gAMA", 4) == 0 && length == 4) {
      const double gamma = be32(at + 8) / 100000.0;
      f.gamma = std::abs(gamma * 2.2 - 1.0) > 0.001;
    }
    at += 12 + length;
  }
  return true;
}

std::string GroupOf(const PngFile& f) {
  if (f.interlace != 0) return "interlaced";
  if (f.depth == 16) return "16-bit";
  switch (f.colorType) {
    case 3: return "palette";
    case 0: case 4: return "grey";
    case 2: return "RGB";
    default: return std::uint64_t{f.width} * f.height <= 128 * 128 ? "RGBA small" : "RGBA large";
  }
}

const char* const kGroupOrder[] = {"RGBA small", "RGBA large", "RGB", "palette", "grey", "16-bit", "interlaced"};

// The colour channels must agree (16-bit samples within one: libpng and libspng round where
// the reader truncates). Alpha is compared for RGBA only: the reader keeps a palette's or a
// colour key's transparency apart from the pixels and drops grey images' alpha.
bool SameImage(const PngFile& f, const Bgra& a, const Bgra& b) {
  if (a.width != b.width || a.height != b.height) return false;
  const int tolerance = f.depth == 16 ? 1 : 0;
  const bool alpha = f.colorType == 6;
  const std::size_t n = std::size_t{a.width} * a.height * 4;
  for (std::size_t i = 0; i < n; ++i) {
    if (i % 4 == 3 && !alpha) continue;
    if (std::abs(int(a.pixels[i]) - int(b.pixels[i])) > tolerance) return false;
  }
  return true;
}

using Decoder = bool (*)(const Bytes&, Bgra&);
constexpr Decoder kDecoders[3] = {DecodeOurs, DecodeLibpng, DecodeLibspng};

double SecondsFor(Decoder decode, const std::vector<const PngFile*>& files) {
  const auto start = std::chrono::steady_clock::now();
  for (const PngFile* f : files) {
    Bgra out;
    if (!decode(f->bytes, out)) std::abort();  // every file was checked before timing
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

struct Row {
  std::string name;
  std::size_t files = 0;
  double megapixels = 0, megabytes = 0;
  double seconds[3] = {};
};

void PrintHeader() {
  std::printf("%-22s %6s %8s %8s %10s %10s %10s %8s %8s\n", "group", "files", "MP", "file MB", "ours MP/s",
              "libpng", "libspng", "/libpng", "/libspng");
}

// Rows not held to the targets carry Note instead of a verdict.
bool PrintRow(const Row& r, bool heldToTarget, const char* note = "  (few files)", double targetLibpng = kTargetLibpng) {
  const double ours = r.megapixels / r.seconds[0], png = r.megapixels / r.seconds[1], spng = r.megapixels / r.seconds[2];
  const double vsPng = r.seconds[1] / r.seconds[0], vsSpng = r.seconds[2] / r.seconds[0];
  const bool met = vsPng >= targetLibpng && vsSpng >= kTargetLibspng;
  std::printf("%-22s %6zu %8.1f %8.1f %10.1f %10.1f %10.1f %8.2f %8.2f%s\n", r.name.c_str(), r.files, r.megapixels,
              r.megabytes, ours, png, spng, vsPng, vsSpng, !heldToTarget ? note : met ? "" : "  BELOW TARGET");
  return met || !heldToTarget;
}

std::vector<PngFile> LoadFolder(const std::filesystem::path& root, std::size_t& unreadable) {
  std::vector<PngFile> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file() || entry.is_symlink()) continue;
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext != ".png") continue;
    PngFile f;
    f.path = entry.path().string();
    std::ifstream in(entry.path(), std::ios::binary);
    f.bytes.assign(std::istreambuf_iterator<char>(in), {});
    if (ReadHeader(f)) files.push_back(std::move(f));
    else ++unreadable;
  }
  // A fixed order, whatever the file system's.
  std::sort(files.begin(), files.end(), [](const PngFile& a, const PngFile& b) { return a.path < b.path; });
  return files;
}

// ---- synthetic images ------------------------------------------------------------------

std::uint32_t Noise(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  return x ^ (x >> 16);
}

// Smooth shading per channel with a little noise, and a hard-edged disc: what skin images
// and photos mix.
test::SampleImage PhotoLike(std::uint32_t size, std::uint8_t colorType, std::uint8_t depth) {
  test::SampleImage image(size, size, colorType, depth);
  const std::uint32_t max = (1u << depth) - 1;
  const double scale = max / 255.0;
  const double c = size / 2.0, r2 = size * size / 9.0;
  for (std::uint32_t y = 0; y < size; ++y) {
    for (std::uint32_t x = 0; x < size; ++x) {
      const bool disc = (x - c) * (x - c) + (y - c) * (y - c) < r2;
      for (unsigned ch = 0; ch < image.Channels(); ++ch) {
        double v;
        if (colorType == 3) {
          v = ((x / 16 + y / 16) * 7 + (disc ? 100 : 0)) % 256;
        } else if ((colorType == 6 && ch == 3) || (colorType == 4 && ch == 1)) {
          v = disc ? 255 : 128 + 127 * std::sin(x / 200.0);
        } else {
          v = 128 + 100 * std::sin((x * (ch + 1)) / 300.0 + y / 500.0) + (Noise(y * size + x + ch * 7919) % 9) - 4;
          if (disc) v = 255 - v;
        }
        image.Set(x, y, ch, static_cast<std::uint16_t>(std::clamp(v * scale, 0.0, double(max))));
      }
    }
  }
  return image;
}

struct SyntheticCase {
  const char* name;
  std::uint8_t colorType, depth;
  bool interlaced;
};

PngFile SyntheticFile(const SyntheticCase& c, std::uint32_t size) {
  test::PngOptions options;
  options.filter = test::FilterChoice::Adaptive;
  options.interlaced = c.interlaced;
  if (c.colorType == 3) {
    std::vector<std::array<std::uint8_t, 3>> colors;
    for (unsigned i = 0; i < 256; ++i)
      colors.push_back({static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 3)});
    options.beforeImage.push_back(test::PaletteChunk(colors));
  }
  options.idatSizes.assign(256, 8192);  // as encoders write it: 8 KiB chunks
  PngFile f;
  f.path = c.name;
  f.bytes = test::WritePng(PhotoLike(size, c.colorType, c.depth), options);
  ReadHeader(f);
  return f;
}

// Times every row's files, the decoders alternating per row and round.
void TimeRows(std::vector<Row>& rows, const std::vector<std::vector<const PngFile*>>& files, std::vector<double>* totals) {
  std::vector<std::vector<double>> samples(rows.size() * 3);
  if (totals) totals->assign(3 * kRounds, 0.0);
  for (int round = 0; round < kRounds; ++round) {
    for (std::size_t g = 0; g < rows.size(); ++g) {
      for (int k = 0; k < 3; ++k) {
        const int d = (k + round + static_cast<int>(g)) % 3;
        const double s = SecondsFor(kDecoders[d], files[g]);
        samples[g * 3 + d].push_back(s);
        if (totals) (*totals)[round * 3 + d] += s;
      }
    }
  }
  for (std::size_t g = 0; g < rows.size(); ++g)
    for (int d = 0; d < 3; ++d) rows[g].seconds[d] = Median(samples[g * 3 + d]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s FOLDER [GROUP]\n", argv[0]);
    return 2;
  }
  const std::string only = argc > 2 ? argv[2] : "";
  std::size_t unreadable = 0;
  const std::vector<PngFile> all = LoadFolder(argv[1], unreadable);

  // Every file must decode with all three, to the same picture, before it is timed.
  std::map<std::string, std::vector<const PngFile*>> groups;
  std::size_t refused = 0, differing = 0, gammaOnly = 0;
  for (const PngFile& f : all) {
    const std::string group = GroupOf(f);
    if (!only.empty() && group.find(only) == std::string::npos) continue;
    Bgra ours, png, spng;
    if (!DecodeOurs(f.bytes, ours) || !DecodeLibpng(f.bytes, png) || !DecodeLibspng(f.bytes, spng)) {
      ++refused;
      continue;
    }
    if (!SameImage(f, png, spng)) {
      ++differing;  // the two libraries disagree: a file neither can vouch for
      continue;
    }
    if (!SameImage(f, ours, png)) {
      if (!f.gamma) {
        std::printf("%s: pixels differ from libpng's\n", f.path.c_str());
        return 1;
      }
      ++gammaOnly;  // the reader applies the file's gamma; the libraries as set up do not
    }
    groups[group].push_back(&f);
  }

  std::vector<Row> rows;
  std::vector<std::vector<const PngFile*>> rowFiles;
  for (const char* name : kGroupOrder) {
    const auto it = groups.find(name);
    if (it == groups.end()) continue;
    Row r;
    r.name = name;
    r.files = it->second.size();
    for (const PngFile* f : it->second) {
      r.megapixels += double(f->width) * f->height / 1e6;
      r.megabytes += f->bytes.size() / 1e6;
    }
    rows.push_back(r);
    rowFiles.push_back(it->second);
  }

  std::printf("Real images from %s: %zu PNG files", argv[1], all.size());
  std::printf(" (%zu refused by a decoder, %zu where libpng and libspng disagree, %zu with a gamma only the reader applies)\n",
              refused, differing, gammaOnly);
  std::printf("All three decode to 8-bit BGRA; median of %d interleaved rounds; MP/s = megapixels per second.\n\n",
              kRounds);
  std::vector<double> totals;
  TimeRows(rows, rowFiles, &totals);
  PrintHeader();
  bool met = true;
  Row overall;
  overall.name = "overall";
  for (const Row& r : rows) {
    met = PrintRow(r, r.files >= kHandful) && met;
    overall.files += r.files;
    overall.megapixels += r.megapixels;
    overall.megabytes += r.megabytes;
  }
  for (const char* name : kGroupOrder)
    if (!groups.count(name) && (only.empty() || std::string(name).find(only) != std::string::npos))
      std::printf("%-22s %6d  (no such files in the packages; see the synthetic rows)\n", name, 0);
  if (!rows.empty()) {
    for (int d = 0; d < 3; ++d) {
      std::vector<double> perRound;
      for (int round = 0; round < kRounds; ++round) perRound.push_back(totals[round * 3 + d]);
      overall.seconds[d] = Median(perRound);
    }
    met = PrintRow(overall, true, "", kTargetLibpngOverall) && met;
  }

  // The synthetic images of earlier measurements, large and smooth.
  const SyntheticCase cases[] = {
      {"synthetic RGBA", 6, 8, false},        {"synthetic RGB", 2, 8, false},
      {"synthetic palette", 3, 8, false},     {"synthetic grey 16-bit", 0, 16, false},
      {"synthetic RGBA Adam7", 6, 8, true},   {"synthetic RGB 16-bit", 2, 16, false},
  };
  constexpr std::uint32_t kSize = 1024;
  std::vector<PngFile> synthetic;
  for (const SyntheticCase& c : cases)
    if (only.empty() || std::string(c.name).find(only) != std::string::npos) synthetic.push_back(SyntheticFile(c, kSize));
  if (!synthetic.empty()) {
    std::vector<Row> extra;
    std::vector<std::vector<const PngFile*>> extraFiles;
    for (const PngFile& f : synthetic) {
      Bgra ours, png;
      if (!DecodeOurs(f.bytes, ours) || !DecodeLibpng(f.bytes, png) || !SameImage(f, ours, png)) {
        std::printf("%s: pixels differ from libpng's\n", f.path.c_str());
        return 1;
      }
      Row r;
      r.name = f.path;
      r.files = 1;
      r.megapixels = double(kSize) * kSize / 1e6;
      r.megabytes = f.bytes.size() / 1e6;
      extra.push_back(r);
      extraFiles.push_back({&f});
    }
    TimeRows(extra, extraFiles, nullptr);
    std::printf("\nSynthetic images, %ux%u, smooth shading with noise (not held to the targets):\n", kSize, kSize);
    for (const Row& r : extra) PrintRow(r, false, "");
  }
  std::printf("\n/libpng, /libspng: the reader's speed over theirs (targets: %.1fx and %.1fx in every group of %zu "
              "files or more, %.1fx and %.1fx overall)%s\n",
              kTargetLibpng, kTargetLibspng, kHandful, kTargetLibpngOverall, kTargetLibspng, met ? "; all met" : "; NOT MET");
  return 0;
}
