// PNG hint templates: the look of a hint without a skin. A template holds one nine-part PNG
// per corner at which the hint points, each with the margins where the text goes, the
// nine-part cut, how its sides and centre are filled, and the transparent shadow band around
// it (left out when the hint is placed).
#pragma once

#include <array>
#include <memory>

#include "classlib/graphics/GraphicsObjects.h"
#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Streams.h"
#include "skin_layered/paint/PngGraphic.h"

namespace skin_layered {

VCL_ENUM(TqvBorderDrawMode, dmRepeat, dmStretch)
using enum TqvBorderDrawMode;

class TqvHintImage;
class TqvHintTemplate;

// Called on every change of a template's values: tells the hint manager (at most once at a
// time; a change made while it is told tells nobody).
void NotifyHintTemplateChange();

// Four sizes by side. Negative stored values read as 0.
class TqvBordersSizes : public vcl::TPersistent {
  VCL_CLASS(TqvBordersSizes, vcl::TPersistent)
 public:
  explicit TqvBordersSizes(TqvHintImage* AOwner = nullptr) : owner_(AOwner) {}

  int Top() const { return Get(0); }
  void SetTop(int Value) { Set(0, Value); }
  int Left() const { return Get(1); }
  void SetLeft(int Value) { Set(1, Value); }
  int Bottom() const { return Get(2); }
  void SetBottom(int Value) { Set(2, Value); }
  int Right() const { return Get(3); }
  void SetRight(int Value) { Set(3, Value); }
  void SetAll(int Left, int Top, int Right, int Bottom);

  // When on, a side is kept inside the owner's image (off for every template of this unit).
  bool Clamp() const { return clamp_; }
  void SetClamp(bool Value) { clamp_ = Value; }

  void Assign(vcl::TPersistent* Source) override;
  vcl::TPersistent* GetOwner() override;

 private:
  int Get(int Index) const { return values_[static_cast<std::size_t>(Index)] < 0 ? 0 : values_[static_cast<std::size_t>(Index)]; }
  void Set(int Index, int Value);

  TqvHintImage* owner_;
  std::array<int, 4> values_{};
  bool clamp_ = false;
};

// How the four sides and the centre of the nine-part image are filled.
class TqvBorderDrawModes : public vcl::TPersistent {
  VCL_CLASS(TqvBorderDrawModes, vcl::TPersistent)
 public:
  explicit TqvBorderDrawModes(TqvHintImage* AOwner = nullptr) : owner_(AOwner) {}

  TqvBorderDrawMode Top() const { return modes_[0]; }
  void SetTop(TqvBorderDrawMode Value) { Set(0, Value); }
  TqvBorderDrawMode Left() const { return modes_[1]; }
  void SetLeft(TqvBorderDrawMode Value) { Set(1, Value); }
  TqvBorderDrawMode Bottom() const { return modes_[2]; }
  void SetBottom(TqvBorderDrawMode Value) { Set(2, Value); }
  TqvBorderDrawMode Right() const { return modes_[3]; }
  void SetRight(TqvBorderDrawMode Value) { Set(3, Value); }
  TqvBorderDrawMode Center() const { return modes_[4]; }
  void SetCenter(TqvBorderDrawMode Value) { Set(4, Value); }

  void Assign(vcl::TPersistent* Source) override;
  vcl::TPersistent* GetOwner() override;

 private:
  void Set(int Index, TqvBorderDrawMode Value);

  TqvHintImage* owner_;
  std::array<TqvBorderDrawMode, 5> modes_{dmStretch, dmStretch, dmStretch, dmStretch, dmStretch};
};

// One PNG of a template with its margins. The picture comes from the PNG bytes ("ImgData")
// when it is first needed.
class TqvHintImage : public vcl::TPersistent {
  VCL_CLASS(TqvHintImage, vcl::TPersistent)
 public:
  explicit TqvHintImage(TqvHintTemplate* AOwner = nullptr);
  ~TqvHintImage() override;

  TqvBordersSizes* ClientMargins() const { return client_margins_.get(); }
  void SetClientMargins(TqvBordersSizes* Value) { client_margins_->Assign(Value); }
  TqvBordersSizes* BordersWidths() const { return borders_widths_.get(); }
  void SetBordersWidths(TqvBordersSizes* Value) { borders_widths_->Assign(Value); }
  TqvBorderDrawModes* BorderDrawModes() const { return draw_modes_.get(); }
  void SetBorderDrawModes(TqvBorderDrawModes* Value) { draw_modes_->Assign(Value); }
  TqvBordersSizes* ShadowSizes() const { return shadow_sizes_.get(); }
  void SetShadowSizes(TqvBordersSizes* Value) { shadow_sizes_->Assign(Value); }

  // The picture as it stands (not decoded from the bytes).
  TPNGGraphic* Image() const { return image_.get(); }
  // A new picture: the cut and the text margins become half its size less one on each side.
  void SetImage(TPNGGraphic* Value);
  // The picture's size, 0 when it is empty; the setters change nothing.
  int ImageWidth() const { return image_->Empty() ? 0 : image_->Width(); }
  void SetImageWidth(int Value) { (void)Value; }
  int ImageHeight() const { return image_->Empty() ? 0 : image_->Height(); }
  void SetImageHeight(int Value) { (void)Value; }

  vcl::TMemoryStream* ImageData() const { return data_.get(); }
  // Neither a picture nor bytes.
  bool Empty() const { return image_->Empty() && data_->Size() == 0; }
  // Decodes the bytes into the picture when the picture is empty and there are bytes. A broken
  // PNG raises (the picture stays empty).
  void DecodeIfNeeded();

  void Assign(vcl::TPersistent* Source) override;
  void DefineProperties(vcl::TFiler* Filer) override;
  vcl::TPersistent* GetOwner() override;

 private:
  TqvHintTemplate* owner_;
  std::unique_ptr<TqvBordersSizes> client_margins_;
  std::unique_ptr<TqvBordersSizes> borders_widths_;
  std::unique_ptr<TqvBorderDrawModes> draw_modes_;
  std::unique_ptr<TqvBordersSizes> shadow_sizes_;
  std::unique_ptr<TPNGGraphic> image_;
  std::unique_ptr<vcl::TMemoryStream> data_;
};

// The placements of a hint: the template image and the corner at which the hint points.
enum TqvHintPlacement : int {
  hpBelowRight = 0,  // ImageDefault: below and to the right of the point
  hpAbove = 1,       // Img_LeftBottom: above the point
  hpLeft = 2,        // Img_RightTop: to the left of the point
  hpAboveLeft = 3,   // Img_RightBottom: above and to the left
};

class TqvHintTemplate : public vcl::TCollectionItem {
  VCL_CLASS(TqvHintTemplate, vcl::TCollectionItem)
 public:
  explicit TqvHintTemplate(vcl::TCollection* Collection);
  ~TqvHintTemplate() override;

  TqvHintImage* ImageDefault() const { return images_[0].get(); }
  void SetImageDefault(TqvHintImage* Value) { images_[0]->Assign(Value); }
  TqvHintImage* ImgLeftBottom() const { return images_[1].get(); }
  void SetImgLeftBottom(TqvHintImage* Value) { images_[1]->Assign(Value); }
  TqvHintImage* ImgRightBottom() const { return images_[2].get(); }
  void SetImgRightBottom(TqvHintImage* Value) { images_[2]->Assign(Value); }
  TqvHintImage* ImgRightTop() const { return images_[3].get(); }
  void SetImgRightTop(TqvHintImage* Value) { images_[3]->Assign(Value); }
  const vcl::String& Name() const { return name_; }
  void SetName(const vcl::String& Value) { name_ = Value; }
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(vcl::TFont* Value);

  // The image of a placement (0..3); ImageDefault for any other value.
  TqvHintImage* PlacementImage(int Placement) const;

  void Assign(vcl::TPersistent* Source) override;
  vcl::String DisplayName() const override;

 private:
  std::array<std::unique_ptr<TqvHintImage>, 4> images_;  // default, left-bottom, right-bottom, right-top
  vcl::String name_;
  std::unique_ptr<vcl::TFont> font_;
};

class TqvHintTemplates : public vcl::TOwnedCollection {
  VCL_CLASS(TqvHintTemplates, vcl::TOwnedCollection)
 public:
  explicit TqvHintTemplates(vcl::TPersistent* AOwner);

  TqvHintTemplate* Add() { return static_cast<TqvHintTemplate*>(TCollection::Add()); }
  TqvHintTemplate* Items(int Index) const { return static_cast<TqvHintTemplate*>(TCollection::Items(Index)); }

 protected:
  void Update(vcl::TCollectionItem* Item) override;
};

// The template made from the program's "QVHINT" resource (read on first use after start-up);
// nil before start-up, after shutdown and when the resource is missing or broken.
TqvHintTemplate* DefaultHintTemplate();
// The unit's start-up and shut-down steps (run by the unit registry).
void LoadDefaultHintTemplate();
void FreeDefaultHintTemplate();

// The program's RCDATA resource of the default template (a PNG).
inline constexpr wchar_t kDefaultHintResource[] = L"QVHINT";

}  // namespace skin_layered
