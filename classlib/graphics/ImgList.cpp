// commctrl.h declares the image list stream calls only when IStream is known.
#include <windows.h>
#include <objidl.h>

#include "classlib/graphics/ImgList.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Streams.h"
#include "classlib/streaming/Filer.h"
#include "classlib/rtl/UnitInit.h"

namespace vcl {

namespace {

// A colour for the image list: none and default have values of their own.
COLORREF ListColor(TColor c) {
  if (c == clNone) return CLR_NONE;
  if (c == clDefault) return CLR_DEFAULT;
  return static_cast<COLORREF>(ColorToRGB(c)) & 0xFFFFFF;
}

TColor FromListColor(COLORREF c) {
  if (c == CLR_NONE) return clNone;
  if (c == CLR_DEFAULT) return clDefault;
  return static_cast<TColor>(c);
}

// A private copy of a bitmap's pixels: the list reads the handle through a DC of its own,
// and the caller's bitmap may be held by its canvas.
std::unique_ptr<TBitmap> PrivateCopy(TBitmap* b) {
  if (!b || b->Empty()) return nullptr;
  auto copy = std::make_unique<TBitmap>();
  copy->Assign(b);
  return copy;
}

}  // namespace

VCL_CLASS_INFO(TChangeLink) {}
VCL_CLASS_INFO(TCustomImageList) {}

VCL_CLASS_INFO(TImageList) {
  p.Integer<&TCustomImageList::AllocBy, &TCustomImageList::SetAllocBy>(L"AllocBy", 4);
  p.Integer<&TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor>(L"BlendColor", clNone, &ColorTypeInfo());
  p.Integer<&TCustomImageList::BkColor, &TCustomImageList::SetBkColor>(L"BkColor", clNone, &ColorTypeInfo());
  p.Enum<&TCustomImageList::DrawingStyle, &TCustomImageList::SetDrawingStyle>(
      L"DrawingStyle", static_cast<int64_t>(TDrawingStyle::dsNormal));
  p.Integer<&TCustomImageList::Height, &TCustomImageList::SetHeight>(L"Height", 16);
  p.Enum<&TCustomImageList::ImageType, &TCustomImageList::SetImageType>(L"ImageType", static_cast<int64_t>(TImageType::itImage));
  p.Bool<&TCustomImageList::Masked, &TCustomImageList::SetMasked>(L"Masked", true);
  p.Event<&TCustomImageList::OnChange>(L"OnChange");
  p.Bool<&TCustomImageList::ShareImages, &TCustomImageList::SetShareImages>(L"ShareImages", false);
  p.Integer<&TCustomImageList::Width, &TCustomImageList::SetWidth>(L"Width", 16);
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int AWidth, int AHeight) : TComponent(AOwner) {
  if (AWidth < 1 || AHeight < 1) throw EInvalidOperation(L"Invalid image size");
  width_ = AWidth;
  height_ = AHeight;
}

TCustomImageList::~TCustomImageList() {
  for (TChangeLink* link : links_) link->sender_ = nullptr;
  FreeHandle();
}

void TCustomImageList::FreeHandle() {
  if (handle_ && !share_images_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TCustomImageList::HandleNeeded() {
  if (!handle_) CreateImageList();
}

void TCustomImageList::CreateImageList() {
  const UINT flags = ILC_COLOR32 | (masked_ ? ILC_MASK : 0u);
  handle_ = ImageList_Create(width_, height_, flags, alloc_by_, alloc_by_);
  if (!handle_) throw EInvalidOperation(L"Failed to create image list");
  if (bk_color_ != clNone) ImageList_SetBkColor(handle_, ListColor(bk_color_));
}

HIMAGELIST TCustomImageList::Handle() {
  HandleNeeded();
  return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST Value) {
  if (Value == handle_) return;
  FreeHandle();
  handle_ = Value;
  if (handle_) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(handle_, &cx, &cy)) {
      width_ = cx;
      height_ = cy;
    }
    bk_color_ = FromListColor(ImageList_GetBkColor(handle_));
  }
  Change();
}

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

void TCustomImageList::SetWidth(int Value) {
  if (Value == width_ || Value < 1) return;
  width_ = Value;
  if (handle_) ImageList_SetIconSize(handle_, width_, height_);  // also removes every image
  Change();
}

void TCustomImageList::SetHeight(int Value) {
  if (Value == height_ || Value < 1) return;
  height_ = Value;
  if (handle_) ImageList_SetIconSize(handle_, width_, height_);
  Change();
}

TColor TCustomImageList::BkColor() const { return handle_ ? FromListColor(ImageList_GetBkColor(handle_)) : bk_color_; }

void TCustomImageList::SetBkColor(TColor Value) {
  bk_color_ = Value;
  if (handle_) ImageList_SetBkColor(handle_, ListColor(Value));
  Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle Value) {
  if (Value == drawing_style_) return;
  drawing_style_ = Value;
  Change();
}

void TCustomImageList::SetImageType(TImageType Value) {
  if (Value == image_type_) return;
  image_type_ = Value;
  Change();
}

void TCustomImageList::SetMasked(bool Value) {
  if (Value == masked_) return;
  masked_ = Value;
  if (handle_) {
    FreeHandle();
    CreateImageList();
  }
  Change();
}

int TCustomImageList::Add(TBitmap* Image, TBitmap* Mask) {
  auto image = PrivateCopy(Image);
  if (!image) return -1;
  auto mask = PrivateCopy(Mask);
  HandleNeeded();
  const int index = ImageList_Add(handle_, image->Handle(), mask ? mask->Handle() : nullptr);
  Change();
  return index;
}

int TCustomImageList::AddMasked(TBitmap* Image, TColor MaskColor) {
  auto image = PrivateCopy(Image);
  if (!image) return -1;
  HandleNeeded();
  const COLORREF key = MaskColor == clDefault ? static_cast<COLORREF>(ColorToRGB(image->TransparentColor()))
                                              : static_cast<COLORREF>(ColorToRGB(MaskColor));
  const int index = ImageList_AddMasked(handle_, image->Handle(), key & 0xFFFFFF);
  Change();
  return index;
}

int TCustomImageList::AddIcon(TIcon* Image) {
  if (!Image || Image->Empty()) return -1;
  HandleNeeded();
  const int index = ImageList_AddIcon(handle_, Image->Handle());
  Change();
  return index;
}

void TCustomImageList::Replace(int Index, TBitmap* Image, TBitmap* Mask) {
  if (!handle_) return;
  auto image = PrivateCopy(Image);
  auto mask = PrivateCopy(Mask);
  if (!image) return;
  ImageList_Replace(handle_, Index, image->Handle(), mask ? mask->Handle() : nullptr);
  Change();
}

void TCustomImageList::Delete(int Index) {
  if (!handle_) return;
  ImageList_Remove(handle_, Index);
  Change();
}

void TCustomImageList::Clear() { Delete(-1); }

void TCustomImageList::Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled) {
  if (!handle_ || !Canvas) return;
  static constexpr UINT kStyles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
  const UINT style = kStyles[static_cast<int>(drawing_style_)] | (image_type_ == TImageType::itMask ? ILD_MASK : 0u);
  DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  if (!handle_ || Index < 0 || Index >= Count()) return;
  if (!Enabled) {
    DrawDisabled(Index, Canvas, X, Y);
    return;
  }
  ImageList_DrawEx(handle_, Index, Canvas->Handle(), X, Y, 0, 0, ListColor(BkColor()), ListColor(blend_color_), Style);
}

// The image's shape (every pixel not left white when drawn over white) in the button
// highlight colour one pixel down and right, then in the shadow colour.
void TCustomImageList::DrawDisabled(int Index, TCanvas* Canvas, int X, int Y) {
  UniqueBitmap shape(CreateBitmap(width_, height_, 1, 1, nullptr));
  MemoryDC shapeDC(shape.get());
  if (!shapeDC.ok()) return;
  PatBlt(shapeDC.get(), 0, 0, width_, height_, WHITENESS);
  ImageList_DrawEx(handle_, Index, shapeDC.get(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);

  HDC dc = Canvas->Handle();
  const COLORREF oldText = SetTextColor(dc, RGB(255, 255, 255));
  const COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
  constexpr DWORD kBrushWhereSourceIsWhite = 0x00E20746;  // D xor (S and (P xor D))
  {
    SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
    BitBlt(dc, X + 1, Y + 1, width_, height_, shapeDC.get(), 0, 0, kBrushWhereSourceIsWhite);
  }
  {
    SelectGuard brush(dc, GetSysColorBrush(COLOR_BTNSHADOW));
    BitBlt(dc, X, Y, width_, height_, shapeDC.get(), 0, 0, kBrushWhereSourceIsWhite);
  }
  SetTextColor(dc, oldText);
  ::SetBkColor(dc, oldBk);
}

void TCustomImageList::GetBitmap(int Index, TBitmap* Image) {
  if (!Image || !handle_) return;
  Image->SetSize(width_, height_);
  ImageList_Draw(handle_, Index, Image->Canvas()->Handle(), 0, 0, ILD_NORMAL);
}

void TCustomImageList::GetIcon(int Index, TIcon* Image) {
  if (!Image || !handle_) return;
  Image->SetHandle(ImageList_GetIcon(handle_, Index, ILD_NORMAL));
}

void TCustomImageList::Assign(TPersistent* Source) {
  auto* list = dynamic_cast<TCustomImageList*>(Source);
  if (!list) {
    if (!Source) {
      Clear();
      return;
    }
    inherited::Assign(Source);
    return;
  }
  if (list == this) return;
  HIMAGELIST copy = list->handle_ ? ImageList_Duplicate(list->handle_) : nullptr;
  FreeHandle();
  masked_ = list->masked_;
  image_type_ = list->image_type_;
  drawing_style_ = list->drawing_style_;
  share_images_ = false;
  alloc_by_ = list->alloc_by_;
  width_ = list->width_;
  height_ = list->height_;
  bk_color_ = list->BkColor();
  blend_color_ = list->blend_color_;
  handle_ = copy;
  Change();
}

void TCustomImageList::Change() {
  if (update_count_ > 0) {
    changed_ = true;
    return;
  }
  changed_ = false;
  // A link may unregister itself or others while it is told.
  for (TChangeLink* link : std::vector<TChangeLink*>(links_))
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
  if (OnChange) OnChange(this);
}

void TCustomImageList::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0 && changed_) Change();
}

void TCustomImageList::RegisterChanges(TChangeLink* Value) {
  if (!Value || Value->sender_ == this) return;
  if (Value->sender_) Value->sender_->UnRegisterChanges(Value);
  Value->sender_ = this;
  links_.push_back(Value);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* Value) {
  if (!Value || Value->sender_ != this) return;
  std::erase(links_, Value);
  Value->sender_ = nullptr;
}

// ---------------------------------------------------------------------------------------
// Streamed images

namespace {

#pragma pack(push, 2)
// The head of the system's image list stream.
struct ImageListHead {
  uint16_t magic;  // "IL"
  uint16_t version;
  uint16_t count;
  uint16_t capacity;
  uint16_t grow;
  uint16_t cx;
  uint16_t cy;
  uint32_t bk_color;
  uint16_t flags;
  int16_t overlays[4];
};
#pragma pack(pop)
static_assert(sizeof(ImageListHead) == 28);

constexpr uint16_t kImageListMagic = 0x4C49;  // "IL"
constexpr int kMaxImageSide = 1024;
constexpr int kMaxImages = 16384;

template <class T>
bool ReadAt(std::span<const uint8_t> bytes, size_t offset, T& value) {
  if (offset > bytes.size() || bytes.size() - offset < sizeof(T)) return false;
  std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return true;
}

// One bitmap of the stream (a BMP file): its size when it is whole and plausible, else 0.
size_t BitmapSize(std::span<const uint8_t> bytes, size_t offset) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  if (!ReadAt(bytes, offset, file) || !ReadAt(bytes, offset + sizeof(file), info)) return 0;
  if (file.bfType != 0x4D42 || info.biSize < sizeof(info) || info.biWidth <= 0 || info.biHeight == 0) return 0;
  const int64_t width = info.biWidth;
  const int64_t height = info.biHeight < 0 ? -static_cast<int64_t>(info.biHeight) : info.biHeight;
  const int bits = info.biBitCount;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  if (width > 4 * kMaxImageSide || height > static_cast<int64_t>(kMaxImageSide) * (kMaxImages / 4 + 1)) return 0;
  const int64_t stride = ((width * bits + 31) / 32) * 4;
  const int64_t colors = bits <= 8 ? (info.biClrUsed ? info.biClrUsed : (int64_t{1} << bits)) : 0;
  if (colors > 256) return 0;
  const int64_t needed = static_cast<int64_t>(sizeof(file)) + info.biSize + colors * 4 + stride * height;
  if (needed > static_cast<int64_t>(bytes.size() - offset)) return 0;
  return static_cast<size_t>(needed);
}

// Whether the system can be given the bytes: a whole head and whole bitmaps of the sizes the
// head promises (the system trusts what it reads).
bool PlausibleImageListStream(std::span<const uint8_t> bytes) {
  ImageListHead head{};
  if (!ReadAt(bytes, 0, head)) return false;
  if (head.magic != kImageListMagic || head.cx == 0 || head.cy == 0 || head.cx > kMaxImageSide ||
      head.cy > kMaxImageSide || head.count > kMaxImages || head.capacity > kMaxImages)
    return false;
  size_t offset = sizeof(head);
  const int bitmaps = (head.flags & ILC_MASK) ? 2 : 1;
  for (int i = 0; i < bitmaps; ++i) {
    const size_t size = BitmapSize(bytes, offset);
    if (size == 0) return false;
    offset += size;
  }
  return true;
}

// A COM stream releases itself.
struct StreamRelease {
  void operator()(IStream* s) const {
    if (s) s->Release();
  }
};
using UniqueStream = std::unique_ptr<IStream, StreamRelease>;

}  // namespace

void TCustomImageList::DefineProperties(TFiler* Filer) {
  inherited::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"Bitmap", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, Count() > 0);
}

void TCustomImageList::ReadData(TStream* Stream) {
  const int64_t size = Stream->Size() - Stream->Position();
  if (size <= 0 || size > (int64_t{256} << 20)) throw EReadError(L"Failed to read ImageList data from stream");
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  Stream->ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  if (!PlausibleImageListStream(bytes)) throw EReadError(L"Failed to read ImageList data from stream");
  UniqueStream source(SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size())));
  HIMAGELIST list = source ? ImageList_Read(source.get()) : nullptr;
  if (!list) throw EReadError(L"Failed to read ImageList data from stream");
  ImageListHead head{};
  ReadAt(std::span<const uint8_t>(bytes), 0, head);
  masked_ = (head.flags & ILC_MASK) != 0;
  SetHandle(list);
}

void TCustomImageList::WriteData(TStream* Stream) {
  UniqueStream target;
  IStream* made = nullptr;
  if (SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, &made))) target.reset(made);
  if (!target || !ImageList_Write(Handle(), target.get())) throw EWriteError(L"Failed to write ImageList data to stream");
  STATSTG stat{};
  LARGE_INTEGER zero{};
  if (FAILED(target->Stat(&stat, STATFLAG_NONAME)) || FAILED(target->Seek(zero, STREAM_SEEK_SET, nullptr)))
    throw EWriteError(L"Failed to write ImageList data to stream");
  std::vector<uint8_t> bytes(static_cast<size_t>(stat.cbSize.QuadPart));
  ULONG got = 0;
  if (!bytes.empty() && (FAILED(target->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &got)) || got != bytes.size()))
    throw EWriteError(L"Failed to write ImageList data to stream");
  Stream->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange(sender_);
}

// The unit's start-up makes image lists known to form descriptions.
namespace {
void InitImgListUnit() { TImageList::StaticClass(); }
}  // namespace

VCL_UNIT_LINKED(ImgList);
const TUnitRegistration kImgListUnit{TUnitGroup::ClassLibrary, 5, L"ImgList", &InitImgListUnit, nullptr};

}  // namespace vcl
