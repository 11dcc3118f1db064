#include "skin_layered/core/StoredSkins.h"

#include "classlib/rtl/ScopeExit.h"
#include "classlib/streaming/Filer.h"
#include "skin_layered/core/SkinConvertor.h"

namespace skin_layered {

VCL_CLASS_INFO(TsStoredSkin) {
  p.String<&TsStoredSkin::Name, &TsStoredSkin::SetName>(L"Name");
  p.Object<&TsStoredSkin::MasterBitmap, &TsStoredSkin::SetMasterBitmap>(L"MasterBitmap", vcl::TBitmap::StaticClass());
  p.Integer<&TsStoredSkin::Shadow1Color, &TsStoredSkin::SetShadow1Color>(L"Shadow1Color", 0, &vcl::ColorTypeInfo());
  p.Integer<&TsStoredSkin::Shadow1Offset, &TsStoredSkin::SetShadow1Offset>(L"Shadow1Offset", 0);
  p.Integer<&TsStoredSkin::Shadow1Blur, &TsStoredSkin::SetShadow1Blur>(L"Shadow1Blur", -1);
  p.Integer<&TsStoredSkin::Shadow1Transparency, &TsStoredSkin::SetShadow1Transparency>(L"Shadow1Transparency", 0);
  p.Integer<&TsStoredSkin::BorderColor, &TsStoredSkin::SetBorderColor>(L"BorderColor", 0xFF00FF,
                                                                       &vcl::ColorTypeInfo());
  p.Float<&TsStoredSkin::Version, &TsStoredSkin::SetVersion>(L"Version");
  p.String<&TsStoredSkin::Author, &TsStoredSkin::SetAuthor>(L"Author");
  p.String<&TsStoredSkin::Description, &TsStoredSkin::SetDescription>(L"Description");
}

VCL_CLASS_INFO(TsStoredSkins) {}

// ---------------------------------------------------------------------------------------
// TsStoredSkin

TsStoredSkin::TsStoredSkin(vcl::TCollection* Collection)
    : TCollectionItem(Collection),
      master_bitmap_(std::make_unique<vcl::TBitmap>()),
      data_(std::make_unique<vcl::TMemoryStream>()) {}

TsStoredSkin::~TsStoredSkin() = default;

void TsStoredSkin::SetName(const vcl::String& Value) {
  if (name_ == Value) return;
  name_ = Value;
  Changed(false);
}

void TsStoredSkin::Assign(vcl::TPersistent* Source) {
  auto* src = dynamic_cast<TsStoredSkin*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  data_->Clear();
  data_->LoadFromStream(src->data_.get());
  name_ = src->name_;
  master_bitmap_->Assign(src->master_bitmap_.get());
  shadow1_color_ = src->shadow1_color_;
  shadow1_offset_ = src->shadow1_offset_;
  shadow1_blur_ = src->shadow1_blur_;
  shadow1_transparency_ = src->shadow1_transparency_;
  border_color_ = src->border_color_;
  version_ = src->version_;
  author_ = src->author_;
  description_ = src->description_;
  Changed(false);
}

vcl::String TsStoredSkin::DisplayName() const { return name_.empty() ? TCollectionItem::DisplayName() : name_; }

void TsStoredSkin::DefineProperties(vcl::TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  // Always written, even when empty.
  Filer->DefineBinaryProperty(
      L"Data", [this](vcl::TStream* s) { data_->LoadFromStream(s); },
      [this](vcl::TStream* s) { data_->SaveToStream(s); }, true);
}

bool TsStoredSkin::Unpack(TqvSkinConvertor& Reader) {
  if (data_->Size() == 0) return false;
  Reader.PackedData = data_.get();
  Reader.SourceName = name_;
  const vcl::TScopeExit release([&Reader] { Reader.PackedData = nullptr; });
  return Reader.LoadPack();
}

// ---------------------------------------------------------------------------------------
// TsStoredSkins

TsStoredSkins::TsStoredSkins(vcl::TComponent* AOwner)
    : TOwnedCollection(AOwner, vcl::TCollectionItemClass::Of<TsStoredSkin>()), manager_(AOwner) {}

int TsStoredSkins::IndexOf(const vcl::String& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (Items(i)->Name() == Name) return i;
  return -1;
}

TsStoredSkin* TsStoredSkins::Select(vcl::String& SkinName) const {
  const int index = IndexOf(SkinName);
  if (index >= 0) return Items(index);
  if (Count() == 0) return nullptr;
  SkinName = Items(0)->Name();
  return Items(0);
}

void TsStoredSkins::Update(vcl::TCollectionItem*) {
  if (OnChange) OnChange(manager_);
}

}  // namespace skin_layered
