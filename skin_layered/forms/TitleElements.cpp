#include "skin_layered/forms/TitleElements.h"

#include <utility>

#include "classlib/forms/Menus.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvAddedTitle) {
  p.Bool<&TqvAddedTitle::ShowMainCaption, &TqvAddedTitle::SetShowMainCaption>(L"ShowMainCaption", true);
  p.String<&TqvAddedTitle::Text, &TqvAddedTitle::SetText>(L"Text");
  p.Object<&TqvAddedTitle::Font, &TqvAddedTitle::SetFont>(L"Font", vcl::TFont::StaticClass());
}

VCL_CLASS_INFO(TsTitleIcon) {
  p.Object<&TsTitleIcon::Glyph, &TsTitleIcon::SetGlyph>(L"Glyph", vcl::TBitmap::StaticClass());
  p.Integer<&TsTitleIcon::Height, &TsTitleIcon::SetHeight>(L"Height", 0);
  p.Integer<&TsTitleIcon::Width, &TsTitleIcon::SetWidth>(L"Width", 0);
  p.Bool<&TsTitleIcon::Visible, &TsTitleIcon::SetVisible>(L"Visible", true);
}

VCL_CLASS_INFO(TsTitleButton) {
  p.Bool<&TsTitleButton::UseSkinData, &TsTitleButton::SetUseSkinData>(L"UseSkinData", true);
  p.String<&TsTitleButton::Name, &TsTitleButton::SetName>(L"Name");
  p.Object<&TsTitleButton::Glyph, &TsTitleButton::SetGlyph>(L"Glyph", vcl::TBitmap::StaticClass());
  p.Event<&TsTitleButton::OnMouseUp>(L"OnMouseUp");
  p.Event<&TsTitleButton::OnMouseDown>(L"OnMouseDown");
  p.Bool<&TsTitleButton::Enabled, &TsTitleButton::SetEnabled>(L"Enabled", true);
  p.String<&TsTitleButton::Hint, &TsTitleButton::SetHint>(L"Hint");
  p.Bool<&TsTitleButton::Visible, &TsTitleButton::SetVisible>(L"Visible", true);
}

VCL_CLASS_INFO(TsTitleButtons) {}

VCL_CLASS_INFO(TqvSysSubMenu) {
  p.String<&TqvSysSubMenu::Caption, &TqvSysSubMenu::SetCaption>(L"Caption");
  p.Enum<&TqvSysSubMenu::Position, &TqvSysSubMenu::SetPosition>(L"Position", static_cast<int64_t>(ipBeforeClose));
  p.Object<&TqvSysSubMenu::PopupMenu, &TqvSysSubMenu::SetPopupMenu>(L"PopupMenu", vcl::TPopupMenu::StaticClass());
}

// ---- TqvAddedTitle

TqvAddedTitle::TqvAddedTitle(TqvTitleOwner* Owner) : Provider(Owner), font_(std::make_unique<vcl::TFont>()) {
  font_->SetColor(vcl::clNone);
}

TqvAddedTitle::~TqvAddedTitle() = default;

void TqvAddedTitle::Changed() {
  if (Provider) Provider->TitleObjectChanged(true);
}

void TqvAddedTitle::SetShowMainCaption(bool Value) {
  if (show_main_caption_ == Value) return;
  show_main_caption_ = Value;
  Changed();
}

void TqvAddedTitle::SetText(const vcl::String& Value) {
  if (text_ == Value) return;
  text_ = Value;
  Changed();
}

void TqvAddedTitle::SetFont(vcl::TFont* Value) {
  font_->Assign(Value);
  Changed();
}

void TqvAddedTitle::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvAddedTitle*>(Source);
  if (!other) return TPersistent::Assign(Source);
  show_main_caption_ = other->show_main_caption_;
  text_ = other->text_;
  font_->Assign(other->font_.get());
  Changed();
}

// ---- TsTitleIcon

TsTitleIcon::TsTitleIcon(TqvTitleOwner* Owner) : Provider(Owner), glyph_(std::make_unique<vcl::TBitmap>()) {}

TsTitleIcon::~TsTitleIcon() = default;

void TsTitleIcon::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  if (Provider) Provider->TitleObjectChanged(false);
}

void TsTitleIcon::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TsTitleIcon*>(Source);
  if (!other) return TPersistent::Assign(Source);
  glyph_->Assign(other->glyph_.get());
  height_ = other->height_;
  width_ = other->width_;
  SetVisible(other->visible_);
}

// ---- TsTitleButton(s)

TsTitleButton::TsTitleButton(vcl::TCollection* Collection)
    : TCollectionItem(Collection), glyph_(std::make_unique<vcl::TBitmap>()) {}

TsTitleButton::~TsTitleButton() { FreeFade(); }

void TsTitleButton::FreeFade() {
  if (vcl::TObject* fade = std::exchange(Data.Timer, nullptr)) vcl::TObject::Free(fade);
}

void TsTitleButton::SetGlyph(vcl::TBitmap* Value) {
  FreeFade();
  glyph_->Assign(Value);
}

TqvTitleOwner* TsTitleButton::Provider() const {
  auto* buttons = dynamic_cast<TsTitleButtons*>(Collection());
  return buttons ? buttons->Provider() : nullptr;
}

void TsTitleButton::SetVisible(bool Value) {
  if (visible_ == Value) return;
  visible_ = Value;
  if (TqvTitleOwner* provider = Provider()) provider->TitleObjectChanged(true);
}

void TsTitleButton::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TsTitleButton*>(Source);
  if (!other) return TCollectionItem::Assign(Source);
  enabled_ = other->enabled_;
  glyph_->Assign(other->glyph_.get());
  hint_ = other->hint_;
  name_ = other->name_;
  use_skin_data_ = other->use_skin_data_;
  OnMouseDown = other->OnMouseDown;
  OnMouseUp = other->OnMouseUp;
}

TsTitleButtons::TsTitleButtons(TqvTitleOwner* Owner)
    : TCollection(vcl::TCollectionItemClass::Of<TsTitleButton>()), provider_(Owner) {}

vcl::TPersistent* TsTitleButtons::GetOwner() { return provider_ ? provider_->TitleOwnerObject() : nullptr; }

// ---- TqvSysSubMenu

void TqvSysSubMenu::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvSysSubMenu*>(Source);
  if (!other) return TPersistent::Assign(Source);
  caption_ = other->caption_;
  position_ = other->position_;
  popup_menu_ = other->popup_menu_;
}

}  // namespace skin_layered
