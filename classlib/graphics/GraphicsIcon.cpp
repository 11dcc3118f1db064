#include "classlib/graphics/GraphicsIcon.h"

#include <algorithm>
#include <cstring>

#include "classlib/graphics/GraphicsDibFormat.h"

namespace vcl {

namespace {

const wchar_t kInvalidIcon[] = L"Icon image is not valid";
constexpr int64_t kMaxIconFile = int64_t{64} << 20;

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// The rows of a bitmap as a bottom-up DIB of the given depth (1 or 32 bits).
std::vector<uint8_t> BitmapRows(HBITMAP bmp, int width, int rows, int bitCount) {
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } bmi{};
  bmi.header.biSize = sizeof(BITMAPINFOHEADER);
  bmi.header.biWidth = width;
  bmi.header.biHeight = rows;
  bmi.header.biPlanes = 1;
  bmi.header.biBitCount = static_cast<WORD>(bitCount);
  bmi.header.biCompression = BI_RGB;
  const size_t stride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
  std::vector<uint8_t> bits(stride * static_cast<size_t>(rows));
  WindowDC screen;
  if (!GetDIBits(screen.get(), bmp, 0, static_cast<UINT>(rows), bits.data(), reinterpret_cast<BITMAPINFO*>(&bmi),
                 DIB_RGB_COLORS))
    throw EInvalidGraphic(kInvalidIcon);
  return bits;
}

}  // namespace

VCL_CLASS_INFO(TIcon) {}

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

void TIcon::Assign(TPersistent* Source) {
  if (Source == this) return;
  auto* icon = dynamic_cast<TIcon*>(Source);
  if (Source && !icon) {
    inherited::Assign(Source);
    return;
  }
  UniqueIcon copy;
  if (icon && icon->handle_) {
    copy.reset(CopyIcon(icon->handle_.get()));
    if (!copy) throw EOutOfResources(L"Out of system resources");
  }
  handle_ = std::move(copy);
  data_ = icon ? icon->data_ : std::vector<uint8_t>{};
  width_ = icon ? icon->width_ : 0;
  height_ = icon ? icon->height_ : 0;
  Changed(this);
}

void TIcon::Draw(TCanvas* ACanvas, const TRect& Rect) {
  if (!ACanvas || !handle_) return;
  DrawIconEx(ACanvas->Handle(), Rect.Left, Rect.Top, handle_.get(), Rect.Width(), Rect.Height(), 0, nullptr,
             DI_NORMAL);
}

void TIcon::SetWidth(int) { throw EInvalidGraphicOperation(L"Cannot change the size of an icon"); }
void TIcon::SetHeight(int) { throw EInvalidGraphicOperation(L"Cannot change the size of an icon"); }

void TIcon::LoadFromStream(TStream* Stream) {
  const int64_t start = Stream->Position();
  const int64_t available = std::min(Stream->Size() - start, kMaxIconFile);
  if (available <= 0) throw EInvalidGraphic(kInvalidIcon);
  std::vector<uint8_t> file(static_cast<size_t>(available));
  Stream->ReadBuffer(file.data(), available);

  const auto entries = dib::ReadIconDirectory(file);
  if (!entries) throw EInvalidGraphic(kInvalidIcon);
  const dib::IconEntry& e =
      (*entries)[dib::BestIconEntry(*entries, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))];
  std::vector<uint8_t> image(file.begin() + static_cast<ptrdiff_t>(e.offset),
                             file.begin() + static_cast<ptrdiff_t>(e.offset + e.size));
  UniqueIcon icon(CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x00030000, e.width,
                                           e.height, LR_DEFAULTCOLOR));
  if (!icon) throw EInvalidGraphic(kInvalidIcon);

  size_t end = 6 + 16 * entries->size();
  for (const auto& x : *entries) end = std::max(end, x.offset + x.size);
  file.resize(end);
  handle_ = std::move(icon);
  data_ = std::move(file);
  width_ = e.width;
  height_ = e.height;
  Stream->SetPosition(start + static_cast<int64_t>(end));
  Changed(this);
}

void TIcon::SaveToStream(TStream* Stream) {
  if (!data_.empty()) {
    Stream->WriteBuffer(data_.data(), static_cast<int64_t>(data_.size()));
    return;
  }
  if (!handle_) return;
  std::vector<uint8_t> file;
  FileFromHandle(file);
  Stream->WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
}

// One image: 32-bit colour with its 1-bit mask, or a 1-bit icon (mask and picture).
void TIcon::FileFromHandle(std::vector<uint8_t>& out) const {
  ICONINFO info{};
  if (!GetIconInfo(handle_.get(), &info)) throw EInvalidGraphic(kInvalidIcon);
  UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (!GetObjectW(color ? color.get() : mask.get(), sizeof(bm), &bm)) throw EInvalidGraphic(kInvalidIcon);
  const int w = bm.bmWidth;
  const int h = color ? bm.bmHeight : bm.bmHeight / 2;
  const int bitCount = color ? 32 : 1;
  std::vector<uint8_t> pixels;
  if (color) {
    pixels = BitmapRows(color.get(), w, h, 32);
    const std::vector<uint8_t> andRows = BitmapRows(mask.get(), w, h, 1);
    pixels.insert(pixels.end(), andRows.begin(), andRows.end());
  } else {
    pixels = BitmapRows(mask.get(), w, 2 * h, 1);  // bottom-up: the picture's rows, then the mask's
  }
  const uint32_t paletteBytes = color ? 0 : 8;
  const uint32_t imageBytes = 40 + paletteBytes + static_cast<uint32_t>(pixels.size());
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, 1);
  out.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
  out.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
  out.push_back(0);
  out.push_back(0);
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitCount));
  Put32(out, imageBytes);
  Put32(out, 22);
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(w));
  Put32(out, static_cast<uint32_t>(2 * h));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bitCount));
  Put32(out, BI_RGB);
  Put32(out, static_cast<uint32_t>(pixels.size()));
  for (int i = 0; i < 4; ++i) Put32(out, 0);
  if (!color) {
    Put32(out, 0x000000);
    Put32(out, 0xFFFFFF);
  }
  out.insert(out.end(), pixels.begin(), pixels.end());
}

void TIcon::SetHandle(HICON Value) {
  if (Value && Value == handle_.get()) return;
  int w = 0, h = 0;
  ICONINFO info{};
  if (Value && GetIconInfo(Value, &info)) {
    UniqueBitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm{};
    if (GetObjectW(color ? color.get() : mask.get(), sizeof(bm), &bm)) {
      w = bm.bmWidth;
      h = color ? bm.bmHeight : bm.bmHeight / 2;
    }
  }
  handle_.reset(Value);
  data_.clear();
  width_ = w;
  height_ = h;
  Changed(this);
}

HICON TIcon::ReleaseHandle() {
  data_.clear();
  width_ = height_ = 0;
  return handle_.release();
}

}  // namespace vcl
