#include "skin_layered/paint/HintTemplates.h"

#include <windows.h>

#include <algorithm>

#include "classlib/streaming/Filer.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvBordersSizes) {
  p.Integer<&TqvBordersSizes::Top, &TqvBordersSizes::SetTop>(L"Top", 0);
  p.Integer<&TqvBordersSizes::Left, &TqvBordersSizes::SetLeft>(L"Left", 0);
  p.Integer<&TqvBordersSizes::Bottom, &TqvBordersSizes::SetBottom>(L"Bottom", 0);
  p.Integer<&TqvBordersSizes::Right, &TqvBordersSizes::SetRight>(L"Right", 0);
}

VCL_CLASS_INFO(TqvBorderDrawModes) {
  const int64_t stretch = static_cast<int64_t>(dmStretch);
  p.Enum<&TqvBorderDrawModes::Top, &TqvBorderDrawModes::SetTop>(L"Top", stretch);
  p.Enum<&TqvBorderDrawModes::Left, &TqvBorderDrawModes::SetLeft>(L"Left", stretch);
  p.Enum<&TqvBorderDrawModes::Bottom, &TqvBorderDrawModes::SetBottom>(L"Bottom", stretch);
  p.Enum<&TqvBorderDrawModes::Right, &TqvBorderDrawModes::SetRight>(L"Right", stretch);
  p.Enum<&TqvBorderDrawModes::Center, &TqvBorderDrawModes::SetCenter>(L"Center", stretch);
}

VCL_CLASS_INFO(TqvHintImage) {
  p.Integer<&TqvHintImage::ImageHeight, &TqvHintImage::SetImageHeight>(L"ImageHeight", 0);
  p.Integer<&TqvHintImage::ImageWidth, &TqvHintImage::SetImageWidth>(L"ImageWidth", 0);
  // The picture is stored only while there are no bytes to make it from.
  p.Object<&TqvHintImage::Image, &TqvHintImage::SetImage>(L"Image", TPNGGraphic::StaticClass()).Stored =
      [](const vcl::TObject* o) { return static_cast<const TqvHintImage*>(o)->ImageData()->Size() == 0; };
  p.Object<&TqvHintImage::BorderDrawModes, &TqvHintImage::SetBorderDrawModes>(L"BorderDrawModes",
                                                                              TqvBorderDrawModes::StaticClass());
  p.Object<&TqvHintImage::ClientMargins, &TqvHintImage::SetClientMargins>(L"ClientMargins",
                                                                          TqvBordersSizes::StaticClass());
  p.Object<&TqvHintImage::BordersWidths, &TqvHintImage::SetBordersWidths>(L"BordersWidths",
                                                                          TqvBordersSizes::StaticClass());
  p.Object<&TqvHintImage::ShadowSizes, &TqvHintImage::SetShadowSizes>(L"ShadowSizes",
                                                                      TqvBordersSizes::StaticClass());
}

VCL_CLASS_INFO(TqvHintTemplate) {
  p.Object<&TqvHintTemplate::ImageDefault, &TqvHintTemplate::SetImageDefault>(L"ImageDefault",
                                                                              TqvHintImage::StaticClass());
  p.Object<&TqvHintTemplate::ImgLeftBottom, &TqvHintTemplate::SetImgLeftBottom>(L"Img_LeftBottom",
                                                                                TqvHintImage::StaticClass());
  p.Object<&TqvHintTemplate::ImgRightBottom, &TqvHintTemplate::SetImgRightBottom>(L"Img_RightBottom",
                                                                                  TqvHintImage::StaticClass());
  p.Object<&TqvHintTemplate::ImgRightTop, &TqvHintTemplate::SetImgRightTop>(L"Img_RightTop",
                                                                            TqvHintImage::StaticClass());
  p.String<&TqvHintTemplate::Name, &TqvHintTemplate::SetName>(L"Name");
  p.Object<&TqvHintTemplate::Font, &TqvHintTemplate::SetFont>(L"Font", vcl::TFont::StaticClass());
}

VCL_CLASS_INFO(TqvHintTemplates) {}

// ---------------------------------------------------------------------------------------
// TqvBordersSizes

void TqvBordersSizes::Set(int Index, int Value) {
  if (clamp_ && owner_) {
    // A side stays inside the image, its opposite side inside what is left.
    const bool vertical = Index == 0 || Index == 2;
    const int extent = vertical ? owner_->ImageHeight() : owner_->ImageWidth();
    const int opposite = Get(Index ^ 2);
    Value = std::min(Value, (Index < 2 ? extent : extent - opposite) - 1);
  }
  values_[static_cast<std::size_t>(Index)] = Value;
  NotifyHintTemplateChange();
}

void TqvBordersSizes::SetAll(int Left, int Top, int Right, int Bottom) {
  SetLeft(Left);
  SetTop(Top);
  SetRight(Right);
  SetBottom(Bottom);
}

void TqvBordersSizes::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TqvBordersSizes*>(Source);
  if (!src) return TPersistent::Assign(Source);
  values_ = src->values_;
  NotifyHintTemplateChange();
}

vcl::TPersistent* TqvBordersSizes::GetOwner() { return owner_; }

// ---------------------------------------------------------------------------------------
// TqvBorderDrawModes

void TqvBorderDrawModes::Set(int Index, TqvBorderDrawMode Value) {
  modes_[static_cast<std::size_t>(Index)] = Value;
  NotifyHintTemplateChange();
}

void TqvBorderDrawModes::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TqvBorderDrawModes*>(Source);
  if (!src) return TPersistent::Assign(Source);
  modes_ = src->modes_;
  NotifyHintTemplateChange();
}

vcl::TPersistent* TqvBorderDrawModes::GetOwner() { return owner_; }

// ---------------------------------------------------------------------------------------
// TqvHintImage

TqvHintImage::TqvHintImage(TqvHintTemplate* AOwner)
    : owner_(AOwner),
      client_margins_(std::make_unique<TqvBordersSizes>(this)),
      borders_widths_(std::make_unique<TqvBordersSizes>(this)),
      draw_modes_(std::make_unique<TqvBorderDrawModes>(this)),
      shadow_sizes_(std::make_unique<TqvBordersSizes>(this)),
      image_(std::make_unique<TPNGGraphic>()),
      data_(std::make_unique<vcl::TMemoryStream>()) {}

TqvHintImage::~TqvHintImage() = default;

void TqvHintImage::SetImage(TPNGGraphic* Value) {
  image_->Assign(Value);
  const int w = ImageWidth(), h = ImageHeight();
  borders_widths_->SetAll((w - 1) / 2, (h - 1) / 2, (w - 1) / 2, (h - 1) / 2);
  client_margins_->SetAll((w - 1) / 2, (h - 1) / 2, (w - 1) / 2, (h - 1) / 2);
  NotifyHintTemplateChange();
}

// The margins stay: they were stored with the bytes.
void TqvHintImage::DecodeIfNeeded() {
  if (!image_->Empty() || data_->Size() == 0) return;
  data_->SetPosition(0);
  TPNGGraphic png;
  png.LoadFromStream(data_.get());
  image_->Assign(&png);
  NotifyHintTemplateChange();
}

void TqvHintImage::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TqvHintImage*>(Source);
  if (!src) return TPersistent::Assign(Source);
  if (src == this) return;
  image_->Assign(src->image_.get());
  data_->Clear();
  if (src->data_->Size() != 0) data_->LoadFromStream(src->data_.get());
  client_margins_->Assign(src->client_margins_.get());
  draw_modes_->Assign(src->draw_modes_.get());
  borders_widths_->Assign(src->borders_widths_.get());
  shadow_sizes_->Assign(src->shadow_sizes_.get());
}

void TqvHintImage::DefineProperties(vcl::TFiler* Filer) {
  TPersistent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"ImgData",
      [this](vcl::TStream* s) {
        data_->Clear();
        data_->LoadFromStream(s);
      },
      [this](vcl::TStream* s) { data_->SaveToStream(s); }, true);
}

vcl::TPersistent* TqvHintImage::GetOwner() { return owner_; }

// ---------------------------------------------------------------------------------------
// TqvHintTemplate

TqvHintTemplate::TqvHintTemplate(vcl::TCollection* Collection)
    : TCollectionItem(Collection), font_(std::make_unique<vcl::TFont>()) {
  for (auto& image : images_) image = std::make_unique<TqvHintImage>(this);
}

TqvHintTemplate::~TqvHintTemplate() = default;

void TqvHintTemplate::SetFont(vcl::TFont* Value) {
  font_->Assign(Value);
  NotifyHintTemplateChange();
}

TqvHintImage* TqvHintTemplate::PlacementImage(int Placement) const {
  switch (Placement) {
    case hpAbove: return images_[1].get();
    case hpLeft: return images_[3].get();
    case hpAboveLeft: return images_[2].get();
    default: return images_[0].get();
  }
}

void TqvHintTemplate::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TqvHintTemplate*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  if (src == this) return;
  for (std::size_t i = 0; i < images_.size(); ++i) images_[i]->Assign(src->images_[i].get());
  font_->Assign(src->font_.get());
  name_ = src->name_;
  NotifyHintTemplateChange();
}

vcl::String TqvHintTemplate::DisplayName() const { return name_.empty() ? TCollectionItem::DisplayName() : name_; }

// ---------------------------------------------------------------------------------------
// TqvHintTemplates

TqvHintTemplates::TqvHintTemplates(vcl::TPersistent* AOwner)
    : TOwnedCollection(AOwner, vcl::TCollectionItemClass::Of<TqvHintTemplate>()) {}

void TqvHintTemplates::Update(vcl::TCollectionItem*) { NotifyHintTemplateChange(); }

// ---------------------------------------------------------------------------------------
// The default template

namespace {

struct TDefaultTemplate {
  bool Started = false;  // between the unit's start-up and shutdown
  bool Loaded = false;   // the resource was read (Template stays nil when it is missing or broken)
  std::unique_ptr<TqvHintTemplate> Template;
};

TDefaultTemplate& DefaultTemplate() {
  static TDefaultTemplate tmpl;
  return tmpl;
}

std::unique_ptr<TqvHintTemplate> ReadDefaultHintTemplate() {
  auto tmpl = std::make_unique<TqvHintTemplate>(nullptr);
  HINSTANCE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, kDefaultHintResource, RT_RCDATA)) return nullptr;
  try {
    vcl::TResourceStream stream(module, kDefaultHintResource, RT_RCDATA);
    TPNGGraphic png;
    png.LoadFromStream(&stream);
    TqvHintImage* image = tmpl->ImageDefault();
    image->SetImage(&png);
    // The picture's cut, its shadow bands and where the text goes.
    image->BordersWidths()->SetAll(11, 10, 14, 15);
    image->ShadowSizes()->SetAll(6, 5, 7, 8);
    image->ClientMargins()->SetAll(11, 8, 16, 15);
  } catch (const vcl::Exception&) {
    return nullptr;  // the hints go without the default look
  }
  return tmpl;
}

}  // namespace

TqvHintTemplate* DefaultHintTemplate() {
  TDefaultTemplate& d = DefaultTemplate();
  // Decoded when the first hint needs it, not while the program starts.
  if (d.Started && !d.Loaded) {
    d.Loaded = true;
    d.Template = ReadDefaultHintTemplate();
  }
  return d.Template.get();
}

void LoadDefaultHintTemplate() { DefaultTemplate().Started = true; }

void FreeDefaultHintTemplate() { DefaultTemplate() = {}; }

}  // namespace skin_layered
