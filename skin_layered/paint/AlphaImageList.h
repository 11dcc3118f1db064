// TsAlphaImageList: an image list that keeps each image as the bytes of its file (PNG, icon
// or 32-bit bitmap) and builds true 32-bit alpha images from them. It fills the system image
// list so that ordinary users of an image list keep working, and hands the skin painters
// 32-bit bitmaps with per-pixel alpha (DrawAlphaImgList, DrawAlphaImgListDC).
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Streams.h"
#include "skin_layered/core/CacheInfo.h"

namespace skin_layered {

VCL_ENUM(TsImageFormat, ifPNG, ifICO, ifBMP32)
using enum TsImageFormat;

class TsAlphaImageList;

// One image: its file's bytes ("ImgData" in form descriptions) and what was decoded of them.
class TsImgListItem : public vcl::TCollectionItem {
  VCL_CLASS(TsImgListItem, vcl::TCollectionItem)
 public:
  explicit TsImgListItem(vcl::TCollection* Collection);
  ~TsImgListItem() override;

  TsImageFormat ImageFormat() const { return image_format_; }
  void SetImageFormat(TsImageFormat Value) { image_format_ = Value; }
  vcl::TPixelFormat PixelFormat() const { return pixel_format_; }
  void SetPixelFormat(vcl::TPixelFormat Value) { pixel_format_ = Value; }
  const vcl::String& ImageName() const { return image_name_; }
  void SetImageName(const vcl::String& Value) { image_name_ = Value; }
  const vcl::String& Text() const { return text_; }
  void SetText(const vcl::String& Value) { text_ = Value; }
  // The size the data decoded to when the list was last built (0 before).
  int ImgWidth() const { return img_width_; }
  int ImgHeight() const { return img_height_; }

  // The image file's bytes, told by ImageFormat, never by their content.
  vcl::TMemoryStream* ImageData() const { return data_.get(); }

  // From another item: format, name, pixel format, decoded size, text and the bytes (not the
  // cached bitmap).
  void Assign(vcl::TPersistent* Source) override;
  void DefineProperties(vcl::TFiler* Filer) override;

 private:
  friend class TsAlphaImageList;

  TsImageFormat image_format_ = ifPNG;
  vcl::TPixelFormat pixel_format_ = vcl::pf32bit;
  vcl::String image_name_;
  vcl::String text_;
  int img_width_ = 0;
  int img_height_ = 0;
  std::unique_ptr<vcl::TMemoryStream> data_;
  std::unique_ptr<vcl::TBitmap> cache_;  // the last bitmap made of the item (UseCache)
};

class TsImgListItems : public vcl::TOwnedCollection {
  VCL_CLASS(TsImgListItems, vcl::TOwnedCollection)
 public:
  explicit TsImgListItems(TsAlphaImageList* AOwner);

  TsImgListItem* Add() { return static_cast<TsImgListItem*>(TCollection::Add()); }
  TsImgListItem* Items(int Index) const { return static_cast<TsImgListItem*>(TCollection::Items(Index)); }
  TsAlphaImageList* ImageList() const { return list_; }

 private:
  TsAlphaImageList* list_;
};

class TsAlphaImageList : public vcl::TImageList {
  VCL_CLASS(TsAlphaImageList, vcl::TImageList)
 public:
  explicit TsAlphaImageList(vcl::TComponent* AOwner);
  ~TsAlphaImageList() override;

  // Outside loading the system list is made (and built from the items) at once.
  void AfterConstruction() override;
  void Loaded() override;

  // From another alpha image list: its settings, size, colours and images (its items, or its
  // system images when it drops its items); nil empties the list.
  void Assign(vcl::TPersistent* Source) override;

  // A new size rebuilds the images from the items (outside loading).
  void SetWidth(int Value) override;
  void SetHeight(int Value) override;
  // The list's own background (clNone for none), also given to the system list.
  vcl::TColor BkColor() const { return bk_color_; }
  void SetBkColor(vcl::TColor Value) override;
  // Keep the last bitmap made of each item; switching it off frees them.
  bool UseCache() const { return use_cache_; }
  void SetUseCache(bool Value);
  // Drop the items once the system list is built (outside design time); on by default.
  bool KeepItems() const { return keep_items_; }
  void SetKeepItems(bool Value) { keep_items_ = Value; }

  TsImgListItems* Items() const { return items_.get(); }
  void SetItems(TsImgListItems* Value) { items_->Assign(Value); }

  // Rebuilds the system list from the items (when it has a handle).
  void GenerateStdList();
  // A new 32-bit bitmap of image Index at W x H with its alpha; nil for an index outside the
  // system list or an item without data.
  std::unique_ptr<vcl::TBitmap> CreateBitmap32(int Index, int W, int H);
  // The same into Bitmap, whose size gives W and H; false when nothing was made.
  bool CreateBitmap32Into(int Index, vcl::TBitmap* Bitmap);

  // While updating, changes tell nobody; EndUpdate(true) tells one change at the end.
  void BeginUpdate() { updating_ = true; }
  void EndUpdate(bool DoChange = true);
  bool Updating() const { return updating_; }
  bool Generated() const { return generated_; }

  // Drops the system list (kept when shared) and tells the change.
  void ClearList();

 protected:
  void AssignTo(vcl::TPersistent* Dest) override;
  void Change() override;
  void CreateImageList() override;
  // The images are drawn with their alpha over what the canvas shows.
  void DoDraw(int Index, vcl::TCanvas* Canvas, int X, int Y, UINT Style, bool Enabled) override;
  // The system list is never stored: the items hold the images.
  void DefineProperties(vcl::TFiler* Filer) override;
  void ReadData(vcl::TStream* Stream) override { (void)Stream; }
  void WriteData(vcl::TStream* Stream) override { (void)Stream; }

 private:
  class TUpdating;

  bool Loading() const;
  bool Designing() const;
  void AddItemImage(TsImgListItem* Item);
  std::unique_ptr<vcl::TBitmap> DecodeItem(TsImgListItem* Item, bool& HasAlpha);
  std::unique_ptr<vcl::TBitmap> BitmapFromSystemList(int Index);
  void GiveEmptyAlphaToSystemImages();
  void CopyImagesFrom(TsAlphaImageList* Source);
  void FreeCaches();

  std::unique_ptr<TsImgListItems> items_;
  bool generated_ = false;
  bool updating_ = false;
  vcl::TColor bk_color_ = vcl::clNone;
  bool use_cache_ = true;
  bool keep_items_ = true;
};

// A 32-bit bitmap without any alpha gets it from its colours: the pixel at its bottom-left
// corner is the key, every pixel of another value becomes opaque. A bitmap with some alpha is
// left as it is.
void FillAlphaFromKey(vcl::TBitmap* Bmp);

// The colour of a system image list as the library keeps it: CLR_NONE is clNone, CLR_DEFAULT
// clDefault, any other value is kept.
vcl::TColor ConvertBkColor(COLORREF Value);

// The screen's bits per pixel.
int ScreenBitsPerPixel();

// One glyph of an image drawn by its alpha into DestBmp at (X, Y): the image is GlyphCount
// glyphs side by side (a count below 1 counts as 1) and GlyphIndex (at most the last) picks
// one. Transparency (0..100), Tint (clNone for none) and Reflect as CopyTransBitmaps draws
// them. GlyphSize becomes the glyph's size. Nothing for an empty destination, a list without
// images or a negative index. An alpha image list gives its 32-bit image; any other list draws
// its image over the destination's pixels.
void DrawAlphaImgList(vcl::TCustomImageList* ImageList, vcl::TBitmap* DestBmp, int X, int Y, int ImageIndex,
                      int Transparency, vcl::TColor Tint, int GlyphIndex, int GlyphCount, bool Reflect,
                      vcl::TSize& GlyphSize);
// The same onto a device context at (X, Y), through a bitmap of the list's size (and half
// its height more for the reflection).
void DrawAlphaImgListDC(vcl::TCustomImageList* ImageList, HDC DC, int X, int Y, int ImageIndex, int Transparency,
                        vcl::TColor Tint, int GlyphIndex, int GlyphCount, bool Reflect);

}  // namespace skin_layered
