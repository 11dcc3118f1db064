// Skins stored in a form: the skin manager's collection of packed skins with a few
// descriptive values each, so that a program needs no skin files. The skin bytes are stored
// in the form description as the binary property "Data".
#pragma once

#include <memory>

#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Component.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsColors.h"
#include "classlib/rtl/Streams.h"

namespace skin_layered {

class TqvSkinConvertor;
class TsStoredSkins;

class TsStoredSkin : public vcl::TCollectionItem {
  VCL_CLASS(TsStoredSkin, vcl::TCollectionItem)
 public:
  explicit TsStoredSkin(vcl::TCollection* Collection);
  ~TsStoredSkin() override;

  const vcl::String& Name() const { return name_; }
  void SetName(const vcl::String& Value);
  vcl::TBitmap* MasterBitmap() const { return master_bitmap_.get(); }
  void SetMasterBitmap(vcl::TBitmap* Value) { master_bitmap_->Assign(Value); }
  vcl::TColor Shadow1Color() const { return shadow1_color_; }
  void SetShadow1Color(vcl::TColor Value) { shadow1_color_ = Value; }
  int Shadow1Offset() const { return shadow1_offset_; }
  void SetShadow1Offset(int Value) { shadow1_offset_ = Value; }
  int Shadow1Blur() const { return shadow1_blur_; }
  void SetShadow1Blur(int Value) { shadow1_blur_ = Value; }
  int Shadow1Transparency() const { return shadow1_transparency_; }
  void SetShadow1Transparency(int Value) { shadow1_transparency_ = Value; }
  vcl::TColor BorderColor() const { return border_color_; }
  void SetBorderColor(vcl::TColor Value) { border_color_ = Value; }
  double Version() const { return version_; }
  void SetVersion(double Value) { version_ = Value; }
  const vcl::String& Author() const { return author_; }
  void SetAuthor(const vcl::String& Value) { author_ = Value; }
  const vcl::String& Description() const { return description_; }
  void SetDescription(const vcl::String& Value) { description_ = Value; }

  // The packed skin's bytes ("Data").
  vcl::TMemoryStream* Data() const { return data_.get(); }

  // From another stored skin: the bytes and every published value; other sources as the
  // base class assigns them.
  void Assign(vcl::TPersistent* Source) override;
  vcl::String DisplayName() const override;
  void DefineProperties(vcl::TFiler* Filer) override;

  // Unpacks the skin bytes into Reader (read from their start). False, with the reader
  // untouched, when there are no bytes; otherwise the reader's answer (see LoadPack).
  bool Unpack(TqvSkinConvertor& Reader);

 private:
  vcl::String name_;
  std::unique_ptr<vcl::TBitmap> master_bitmap_;
  vcl::TColor shadow1_color_ = 0;
  int shadow1_offset_ = 0;
  int shadow1_blur_ = -1;
  int shadow1_transparency_ = 0;
  vcl::TColor border_color_ = 0xFF00FF;
  double version_ = 0;
  vcl::String author_;
  vcl::String description_;
  std::unique_ptr<vcl::TMemoryStream> data_;
};

// The collection, owned by a skin manager. OnChange (Sender: the owner) follows every change
// of the collection; the manager passes it on as its skin-list notification.
class TsStoredSkins : public vcl::TOwnedCollection {
  VCL_CLASS(TsStoredSkins, vcl::TOwnedCollection)
 public:
  explicit TsStoredSkins(vcl::TComponent* AOwner);

  TsStoredSkin* Add() { return static_cast<TsStoredSkin*>(TCollection::Add()); }
  TsStoredSkin* Items(int Index) const { return static_cast<TsStoredSkin*>(TCollection::Items(Index)); }
  // The first item whose name equals Name exactly; -1 when none.
  int IndexOf(const vcl::String& Name) const;

  // The stored skin to load for SkinName: the item of that name; else the first item, and
  // SkinName becomes its name; nil when the collection is empty.
  TsStoredSkin* Select(vcl::String& SkinName) const;

  vcl::TComponent* Manager() const { return manager_; }
  vcl::TNotifyEvent OnChange;

 protected:
  void Update(vcl::TCollectionItem* Item) override;

 private:
  vcl::TComponent* manager_;
};

}  // namespace skin_layered
