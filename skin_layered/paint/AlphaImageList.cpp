#include "skin_layered/paint/AlphaImageList.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/graphics/GraphicsIcon.h"
#include "classlib/streaming/Filer.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BitmapGlyphs.h"
#include "skin_layered/paint/ColorValue.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/PngLoading.h"
#include "skin_layered/paint/Resampling.h"

namespace skin_layered {

VCL_CLASS_INFO(TsImgListItem) {
  p.Enum<&TsImgListItem::ImageFormat, &TsImgListItem::SetImageFormat>(L"ImageFormat", static_cast<int64_t>(ifPNG));
  p.Enum<&TsImgListItem::PixelFormat, &TsImgListItem::SetPixelFormat>(L"PixelFormat",
                                                                      static_cast<int64_t>(vcl::pf32bit));
  p.String<&TsImgListItem::ImageName, &TsImgListItem::SetImageName>(L"ImageName");
  p.String<&TsImgListItem::Text, &TsImgListItem::SetText>(L"Text");
}

VCL_CLASS_INFO(TsImgListItems) {}

VCL_CLASS_INFO(TsAlphaImageList) {
  p.Integer<&TsAlphaImageList::Height, &TsAlphaImageList::SetHeight>(L"Height", 16);
  p.Integer<&TsAlphaImageList::Width, &TsAlphaImageList::SetWidth>(L"Width", 16);
  p.Integer<&TsAlphaImageList::BkColor, &TsAlphaImageList::SetBkColor>(L"BkColor", vcl::clNone,
                                                                       &vcl::ColorTypeInfo());
  p.Object<&TsAlphaImageList::Items, &TsAlphaImageList::SetItems>(L"Items", TsImgListItems::StaticClass());
  p.Bool<&TsAlphaImageList::UseCache, &TsAlphaImageList::SetUseCache>(L"UseCache", true);
}

namespace {

constexpr int kMitchellFilter = 6;

bool AnyAlpha(const TPixelView& view) {
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x)
      if ((view.Row(y)[x] >> 24) != 0) return true;
  return false;
}

// A bitmap of another format as a 32-bit one whose alpha bytes are all 0, so that its colours
// decide what shows (FillAlphaFromKey).
void To32WithoutAlpha(vcl::TBitmap* Bmp) {
  SetBmp32(Bmp);
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return;
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x) view.Row(y)[x] &= 0x00FFFFFFu;
}

// The pixels of a bitmap handle as a new 32-bit bitmap; nil when they cannot be read.
std::unique_ptr<vcl::TBitmap> Bitmap32FromHandle(HBITMAP Handle) {
  BITMAP info{};
  if (!Handle || GetObjectW(Handle, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight == 0) return nullptr;
  const int width = info.bmWidth, height = std::abs(info.bmHeight);
  auto bmp = CreateBmp32(width, height);
  TPixelView view;
  if (!InitPixelView(bmp.get(), view)) return nullptr;
  BITMAPINFO header{};
  header.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  header.bmiHeader.biWidth = width;
  header.bmiHeader.biHeight = -height;  // top-down rows
  header.bmiHeader.biPlanes = 1;
  header.bmiHeader.biBitCount = 32;
  header.bmiHeader.biCompression = BI_RGB;
  std::vector<TPixel32> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  vcl::WindowDC screen(nullptr);
  if (GetDIBits(screen.get(), Handle, 0, static_cast<UINT>(height), pixels.data(), &header, DIB_RGB_COLORS) == 0)
    return nullptr;
  for (int y = 0; y < height; ++y)
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width, view.Row(y));
  return bmp;
}

// The colour and mask bitmaps of an icon, deleted with it.
struct TIconBitmaps {
  ICONINFO Info{};
  explicit TIconBitmaps(HICON Icon) {
    if (!Icon || !GetIconInfo(Icon, &Info)) Info = {};
  }
  TIconBitmaps(const TIconBitmaps&) = delete;
  TIconBitmaps& operator=(const TIconBitmaps&) = delete;
  ~TIconBitmaps() {
    if (Info.hbmColor) DeleteObject(Info.hbmColor);
    if (Info.hbmMask) DeleteObject(Info.hbmMask);
  }
};

// An icon's colour bitmap with its alpha; an icon that has none takes it from its mask
// (black: opaque), as it would be drawn.
std::unique_ptr<vcl::TBitmap> IconBitmap32(HICON Icon) {
  const TIconBitmaps bitmaps(Icon);
  auto colors = Bitmap32FromHandle(bitmaps.Info.hbmColor);
  TPixelView view;
  if (!colors || !InitPixelView(colors.get(), view) || AnyAlpha(view)) return colors;
  auto mask = Bitmap32FromHandle(bitmaps.Info.hbmMask);
  TPixelView maskView;
  if (!mask || !InitPixelView(mask.get(), maskView)) return colors;
  for (int y = 0; y < view.Height && y < maskView.Height; ++y)
    for (int x = 0; x < view.Width && x < maskView.Width; ++x)
      if ((maskView.Row(y)[x] & 0x00FFFFFFu) == 0) view.Row(y)[x] |= 0xFF000000u;
  return colors;
}

// The bitmap at W x H: itself when it has that size, else resampled.
std::unique_ptr<vcl::TBitmap> AtSize(std::unique_ptr<vcl::TBitmap> Bmp, int W, int H) {
  if (!Bmp || (Bmp->Width() == W && Bmp->Height() == H)) return Bmp;
  auto scaled = std::make_unique<vcl::TBitmap>();
  StretchWithFilter(Bmp.get(), scaled.get(), W, H, kMitchellFilter);
  if (scaled->Width() != W || scaled->Height() != H) return nullptr;
  return scaled;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TsImgListItem

TsImgListItem::TsImgListItem(vcl::TCollection* Collection)
    : TCollectionItem(Collection), data_(std::make_unique<vcl::TMemoryStream>()) {}

TsImgListItem::~TsImgListItem() = default;

void TsImgListItem::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TsImgListItem*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  if (src == this) return;
  image_format_ = src->image_format_;
  image_name_ = src->image_name_;
  pixel_format_ = src->pixel_format_;
  img_width_ = src->img_width_;
  img_height_ = src->img_height_;
  text_ = src->text_;
  data_->Clear();
  src->data_->SetPosition(0);
  data_->LoadFromStream(src->data_.get());
  cache_.reset();
}

void TsImgListItem::DefineProperties(vcl::TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  // The file's bytes with no header of the list's own; always written.
  Filer->DefineBinaryProperty(
      L"ImgData",
      [this](vcl::TStream* s) {
        data_->Clear();
        data_->LoadFromStream(s);
        cache_.reset();
      },
      [this](vcl::TStream* s) { data_->SaveToStream(s); }, true);
}

// ---------------------------------------------------------------------------------------
// TsImgListItems

TsImgListItems::TsImgListItems(TsAlphaImageList* AOwner)
    : TOwnedCollection(AOwner, vcl::TCollectionItemClass::Of<TsImgListItem>()), list_(AOwner) {}

// ---------------------------------------------------------------------------------------
// TsAlphaImageList

// Raises the updating flag for a scope and puts back what it was, on every exit (a broken
// image in the data raises from the middle of a rebuild).
class TsAlphaImageList::TUpdating {
 public:
  explicit TUpdating(TsAlphaImageList& List) : list_(List), was_(List.updating_) { list_.updating_ = true; }
  TUpdating(const TUpdating&) = delete;
  TUpdating& operator=(const TUpdating&) = delete;
  ~TUpdating() { list_.updating_ = was_; }

 private:
  TsAlphaImageList& list_;
  bool was_;
};

TsAlphaImageList::TsAlphaImageList(vcl::TComponent* AOwner)
    : TImageList(AOwner), items_(std::make_unique<TsImgListItems>(this)) {}

TsAlphaImageList::~TsAlphaImageList() = default;

bool TsAlphaImageList::Loading() const { return ComponentState().Contains(vcl::csLoading); }
bool TsAlphaImageList::Designing() const { return ComponentState().Contains(vcl::csDesigning); }

void TsAlphaImageList::AfterConstruction() {
  TImageList::AfterConstruction();
  if (Loading()) return;
  if (!HandleAllocated()) CreateImageList();
  if (!generated_) GenerateStdList();
}

void TsAlphaImageList::Loaded() {
  TImageList::Loaded();
  if (!HandleAllocated()) CreateImageList();
  if (!generated_) {
    GenerateStdList();
    generated_ = true;
    Change();
  }
}

void TsAlphaImageList::CreateImageList() {
  const TUpdating updating(*this);  // a new empty list tells nobody
  const UINT flags = ILC_COLOR32 | (Masked() ? ILC_MASK : 0u);
  HIMAGELIST handle = ImageList_Create(Width(), Height(), flags, 0, AllocBy());
  if (!handle) throw vcl::EInvalidOperation(L"Failed to create image list");
  SetHandle(handle);
  TImageList::SetBkColor(bk_color_);
}

void TsAlphaImageList::ClearList() {
  SetHandle(nullptr);  // destroys the system list unless it is shared; tells the change
}

void TsAlphaImageList::SetWidth(int Value) {
  {
    const TUpdating updating(*this);
    TImageList::SetWidth(Value);
  }
  if (Loading()) return;
  GenerateStdList();
  Change();
}

void TsAlphaImageList::SetHeight(int Value) {
  {
    const TUpdating updating(*this);
    TImageList::SetHeight(Value);
  }
  if (Loading()) return;
  GenerateStdList();
  Change();
}

void TsAlphaImageList::SetBkColor(vcl::TColor Value) {
  bk_color_ = Value;
  TImageList::SetBkColor(Value);
}

void TsAlphaImageList::SetUseCache(bool Value) {
  use_cache_ = Value;
  FreeCaches();
}

void TsAlphaImageList::FreeCaches() {
  for (int i = 0; i < items_->Count(); ++i) items_->Items(i)->cache_.reset();
}

void TsAlphaImageList::EndUpdate(bool DoChange) {
  updating_ = false;
  if (DoChange) Change();
}

// ---------------------------------------------------------------------------------------
// Building the system list

std::unique_ptr<vcl::TBitmap> TsAlphaImageList::DecodeItem(TsImgListItem* Item, bool& HasAlpha) {
  HasAlpha = false;
  vcl::TMemoryStream* data = Item->data_.get();
  if (data->Size() == 0) return nullptr;
  data->SetPosition(0);
  auto bmp = std::make_unique<vcl::TBitmap>();
  switch (Item->image_format_) {
    case ifPNG:
      LoadPngFromStream(bmp.get(), data);
      HasAlpha = bmp->PixelFormat() == vcl::pf32bit;
      break;
    case ifBMP32:
      // Its alpha bytes count when any is set (FillAlphaFromKey looks).
      bmp->LoadFromStream(data);
      if (bmp->Empty()) return nullptr;
      SetBmp32(bmp.get());
      return bmp;
    default:
      return nullptr;
  }
  if (bmp->Empty()) return nullptr;
  if (!HasAlpha) To32WithoutAlpha(bmp.get());
  return bmp;
}

// One item's image appended to the system list.
void TsAlphaImageList::AddItemImage(TsImgListItem* Item) {
  HIMAGELIST handle = Handle();
  if (Item->image_format_ == ifICO) {
    vcl::TMemoryStream* data = Item->data_.get();
    if (data->Size() == 0) return;
    data->SetPosition(0);
    vcl::TIcon icon;
    icon.LoadFromStream(data);
    Item->img_width_ = icon.Width();
    Item->img_height_ = icon.Height();
    ImageList_ReplaceIcon(handle, -1, icon.Handle());
    return;
  }
  bool hasAlpha = false;
  auto bmp = DecodeItem(Item, hasAlpha);
  if (!bmp) return;
  Item->img_width_ = bmp->Width();
  Item->img_height_ = bmp->Height();
  if (!hasAlpha) FillAlphaFromKey(bmp.get());
  const vcl::UniqueIcon icon = IconFromBitmap(bmp.get(), vcl::ColorToRGB(bk_color_));
  if (icon) ImageList_ReplaceIcon(handle, -1, icon.get());
}

void TsAlphaImageList::GenerateStdList() {
  if (!HandleAllocated()) return;
  const TUpdating updating(*this);
  ImageList_Remove(Handle(), -1);
  for (int i = 0; i < items_->Count(); ++i) AddItemImage(items_->Items(i));
  if (items_->Count() > 0) {
    generated_ = true;
    if (!keep_items_ && !Designing()) items_->Clear();
  }
}

// ---------------------------------------------------------------------------------------
// Bitmaps of the images

std::unique_ptr<vcl::TBitmap> TsAlphaImageList::BitmapFromSystemList(int Index) {
  const vcl::UniqueIcon icon(ImageList_GetIcon(Handle(), Index, 0));
  return IconBitmap32(icon.get());
}

std::unique_ptr<vcl::TBitmap> TsAlphaImageList::CreateBitmap32(int Index, int W, int H) {
  if (!HandleAllocated() || Index < 0 || Index >= Count() || W <= 0 || H <= 0) return nullptr;
  if (keep_items_ && Index < items_->Count()) {
    TsImgListItem* item = items_->Items(Index);
    if (item->data_->Size() != 0 && item->image_format_ != ifICO) {
      if (use_cache_ && item->cache_ && item->cache_->Width() == W && item->cache_->Height() == H) {
        auto copy = CreateBmp32(W, H);
        CopyBmp(copy.get(), item->cache_.get());
        return copy;
      }
      item->cache_.reset();
      bool hasAlpha = false;
      auto decoded = DecodeItem(item, hasAlpha);
      // The key colour is found before scaling mixes it with its neighbours.
      if (decoded && !hasAlpha) FillAlphaFromKey(decoded.get());
      auto bmp = AtSize(std::move(decoded), W, H);
      if (!bmp) return nullptr;
      if (use_cache_) {
        item->cache_ = CreateBmp32(W, H);
        CopyBmp(item->cache_.get(), bmp.get());
      }
      return bmp;
    }
  }
  return AtSize(BitmapFromSystemList(Index), W, H);
}

bool TsAlphaImageList::CreateBitmap32Into(int Index, vcl::TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Empty()) return false;
  auto bmp = CreateBitmap32(Index, Bitmap->Width(), Bitmap->Height());
  if (!bmp) return false;
  CopyBmp(Bitmap, bmp.get());
  return true;
}

// ---------------------------------------------------------------------------------------
// Drawing

void TsAlphaImageList::DoDraw(int Index, vcl::TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) {
  (void)Style, (void)Enabled;
  if (!HandleAllocated() || Index < 0 || !Canvas) return;
  const bool fromItem = Index < items_->Count() && items_->Items(Index)->image_format_ != ifICO;
  if (!fromItem) {
    ImageList_SetBkColor(Handle(), CLR_NONE);
    const vcl::UniqueIcon icon(ImageList_GetIcon(Handle(), Index, ILD_TRANSPARENT));
    if (icon) DrawIconEx(Canvas->Handle(), X, Y, icon.get(), Width(), Height(), 0, nullptr, DI_NORMAL);
    return;
  }
  const auto image = CreateBitmap32(Index, Width(), Height());
  if (!image) return;
  const auto area = CreateBmp32(Width(), Height());
  Canvas->Lock();
  area->Canvas()->Lock();
  BitBlt(area->Canvas()->Handle(), 0, 0, Width(), Height(), Canvas->Handle(), X, Y, SRCCOPY);
  const vcl::TRect all(0, 0, Width(), Height());
  CopyTransBitmaps(all, all, area.get(), false, 0, vcl::clNone, false, kEmptyCacheInfo, image.get());
  BitBlt(Canvas->Handle(), X, Y, Width(), Height(), area->Canvas()->Handle(), 0, 0, SRCCOPY);
  area->Canvas()->Unlock();
  Canvas->Unlock();
}

// ---------------------------------------------------------------------------------------
// Change notification and assignment

// System images that came without alpha (added to the list by others) get it from their
// colours: every pixel but the key colour opaque.
void TsAlphaImageList::GiveEmptyAlphaToSystemImages() {
  const int count = Count();
  for (int i = 0; i < count; ++i) {
    const vcl::UniqueIcon icon(ImageList_GetIcon(Handle(), i, 0));
    const TIconBitmaps bitmaps(icon.get());
    auto colors = Bitmap32FromHandle(bitmaps.Info.hbmColor);
    TPixelView view;
    if (!colors || !InitPixelView(colors.get(), view) || AnyAlpha(view)) continue;
    for (int y = 0; y < view.Height; ++y)
      for (int x = 0; x < view.Width; ++x)
        if ((view.Row(y)[x] & 0x00FFFFFFu) != kKeyColor) view.Row(y)[x] |= 0xFF000000u;
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = bitmaps.Info.hbmMask;
    info.hbmColor = colors->Handle();
    const vcl::UniqueIcon replaced(CreateIconIndirect(&info));
    if (replaced) ImageList_ReplaceIcon(Handle(), i, replaced.get());
  }
}

void TsAlphaImageList::Change() {
  if (updating_ || !HandleAllocated() || Loading() || !generated_) return;
  const int count = Count();
  if (keep_items_ && count <= items_->Count()) {
    if (count < items_->Count()) GenerateStdList();
    TImageList::Change();
    return;
  }
  TImageList::Change();
  if (Designing()) return;
  const TUpdating updating(*this);
  GiveEmptyAlphaToSystemImages();
}

void TsAlphaImageList::CopyImagesFrom(TsAlphaImageList* Source) {
  if (!HandleAllocated()) return;
  if (Source->HandleAllocated()) ImageList_SetBkColor(Source->Handle(), CLR_NONE);
  if (keep_items_) {
    items_->Clear();
    for (int i = 0; i < Source->items_->Count(); ++i) items_->Add()->Assign(Source->items_->Items(i));
    GenerateStdList();
    return;
  }
  ImageList_Remove(Handle(), -1);
  if (!Source->HandleAllocated()) return;
  for (int i = 0; i < Source->Count(); ++i) {
    const vcl::UniqueIcon icon(ImageList_GetIcon(Source->Handle(), i, 0));
    if (icon) ImageList_ReplaceIcon(Handle(), -1, icon.get());
  }
}

void TsAlphaImageList::Assign(vcl::TPersistent* Source) {
  if (!Source) {
    ClearList();
    return;
  }
  auto* src = dynamic_cast<TsAlphaImageList*>(Source);
  if (!src) return TImageList::Assign(Source);
  if (src == this) return;
  {
    const TUpdating updating(*this);
    if (HandleAllocated()) ImageList_Remove(Handle(), -1);
    SetMasked(src->Masked());
    SetImageType(src->ImageType());
    SetDrawingStyle(src->DrawingStyle());
    SetShareImages(src->ShareImages());
    const int width = src->Width(), height = src->Height();
    ClearList();
    TImageList::SetWidth(width);
    TImageList::SetHeight(height);
    CreateImageList();
    // The source's system background: CLR_NONE becomes none, CLR_DEFAULT the default.
    SetBkColor(src->HandleAllocated() ? ConvertBkColor(ImageList_GetBkColor(src->Handle())) : src->bk_color_);
    SetBlendColor(src->BlendColor());
    CopyImagesFrom(src);
  }
  EndUpdate(false);
}

void TsAlphaImageList::AssignTo(vcl::TPersistent* Dest) {
  if (auto* dest = dynamic_cast<TsAlphaImageList*>(Dest)) return dest->Assign(this);
  TImageList::AssignTo(Dest);
}

void TsAlphaImageList::DefineProperties(vcl::TFiler* Filer) {
  // Not the system list's stream: the items carry the images. A description that has one is
  // still read (and its bytes ignored).
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"Bitmap", [this](vcl::TStream* s) { ReadData(s); }, [this](vcl::TStream* s) { WriteData(s); }, false);
}

// ---------------------------------------------------------------------------------------
// Free routines

void FillAlphaFromKey(vcl::TBitmap* Bmp) {
  TPixelView view;
  if (!InitPixelView(Bmp, view) || AnyAlpha(view)) return;
  const TPixel32 key = view.Row(view.Height - 1)[0];
  for (int y = 0; y < view.Height; ++y)
    for (int x = 0; x < view.Width; ++x)
      if (view.Row(y)[x] != key) view.Row(y)[x] |= 0xFF000000u;
}

vcl::TColor ConvertBkColor(COLORREF Value) {
  if (Value == CLR_NONE) return vcl::clNone;
  if (Value == CLR_DEFAULT) return vcl::clDefault;
  return static_cast<vcl::TColor>(Value);
}

int ScreenBitsPerPixel() {
  vcl::WindowDC screen(nullptr);
  return GetDeviceCaps(screen.get(), BITSPIXEL);
}

void DrawAlphaImgList(vcl::TCustomImageList* ImageList, vcl::TBitmap* DestBmp, int X, int Y, int ImageIndex,
                      int Transparency, vcl::TColor Tint, int GlyphIndex, int GlyphCount, bool Reflect,
                      vcl::TSize& GlyphSize) {
  if (!ImageList || !DestBmp || DestBmp->Width() == 0 || !ImageList->HandleAllocated() || ImageIndex < 0) return;
  const int count = std::max(GlyphCount, 1);  // a count of 0 would divide by zero
  const int glyphWidth = ImageList->Width() / count;
  const int height = ImageList->Height();
  GlyphIndex = std::clamp(GlyphIndex, 0, count - 1);
  GlyphSize = {glyphWidth, height};
  const vcl::TRect dst(X, Y, X + glyphWidth, Y + height);
  const vcl::TRect src(glyphWidth * GlyphIndex, 0, glyphWidth * (GlyphIndex + 1), height);
  if (auto* alpha = dynamic_cast<TsAlphaImageList*>(ImageList)) {
    const auto image = alpha->CreateBitmap32(ImageIndex, ImageList->Width(), height);
    if (image) CopyTransBitmaps(dst, src, DestBmp, Reflect, Transparency, Tint, false, kEmptyCacheInfo, image.get());
    return;
  }
  const auto area = CreateBmp32(ImageList->Width(), height);
  BitBlt(area->Canvas()->Handle(), 0, 0, ImageList->Width(), height, DestBmp->Canvas()->Handle(), X, Y, SRCCOPY);
  ImageList->Draw(area->Canvas(), 0, 0, ImageIndex, true);
  BitBlt(DestBmp->Canvas()->Handle(), X, Y, ImageList->Width(), height, area->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void DrawAlphaImgListDC(vcl::TCustomImageList* ImageList, HDC DC, int X, int Y, int ImageIndex, int Transparency,
                        vcl::TColor Tint, int GlyphIndex, int GlyphCount, bool Reflect) {
  if (!ImageList || !DC) return;
  const int width = ImageList->Width();
  const int height = ImageList->Height() + (Reflect ? ImageList->Height() / 2 : 0);
  const auto area = CreateBmp32(width, height);
  if (area->Empty()) return;
  BitBlt(area->Canvas()->Handle(), 0, 0, width, height, DC, X, Y, SRCCOPY);
  vcl::TSize glyph;
  DrawAlphaImgList(ImageList, area.get(), 0, 0, ImageIndex, Transparency, Tint, GlyphIndex, GlyphCount, Reflect,
                   glyph);
  BitBlt(DC, X, Y, width, height, area->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace skin_layered
