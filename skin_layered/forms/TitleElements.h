// The title objects a skin provider owns and publishes: the extra caption text, the caption
// icon's settings, the user's own title buttons and the application's submenu of the skinned
// system menu. They hold values; the non-client painting, the mouse handling and the system
// menu read them. Setters that change what the frame shows repaint it at once.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/Graphics.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Persistent.h"
#include "skin_layered/forms/TitleHint.h"

namespace vcl {
class TPopupMenu;
}

namespace skin_layered {

// What the title objects ask of the provider that owns them.
class TqvTitleOwner {
 public:
  // A title object changed what the frame shows: the frame is repainted unless the owner is
  // loading, or designed when WhileDesigned is false.
  virtual void TitleObjectChanged(bool WhileDesigned) = 0;
  // The owner as the class library's streaming knows it.
  virtual vcl::TPersistent* TitleOwnerObject() = 0;

 protected:
  ~TqvTitleOwner() = default;
};

// One title-bar button as the window image knows it: its state (0 normal, 1 hot, 2 pressed),
// its glyph (an image of the skin, -1: not drawn), its place in the window image (a hidden
// button has Right = Left), whether the skin's vertical alignment of big glyphs applies, its
// glow fade while one runs, its hit code and the glow window shown around it (-1: none).
struct TsCaptionButton {
  int State = 0;
  int ImageIndex = -1;
  vcl::TRect Rect;
  bool HaveAlignment = false;
  vcl::TObject* Timer = nullptr;
  int HitCode = 0;
  int GlowID = -1;
};

// Text painted in the caption after the form's own.
class TqvAddedTitle : public vcl::TPersistent {
  VCL_CLASS(TqvAddedTitle, vcl::TPersistent)
 public:
  explicit TqvAddedTitle(TqvTitleOwner* Owner = nullptr);
  ~TqvAddedTitle() override;

  bool ShowMainCaption() const { return show_main_caption_; }
  void SetShowMainCaption(bool Value);
  const vcl::String& Text() const { return text_; }
  void SetText(const vcl::String& Value);
  // Its colour is clNone until set.
  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(vcl::TFont* Value);
  void Assign(vcl::TPersistent* Source) override;

  TqvTitleOwner* Provider = nullptr;

 private:
  void Changed();
  bool show_main_caption_ = true;
  vcl::String text_;
  std::unique_ptr<vcl::TFont> font_;
};

// The caption icon: its own picture and size (0: the default size for the caption height).
class TsTitleIcon : public vcl::TPersistent {
  VCL_CLASS(TsTitleIcon, vcl::TPersistent)
 public:
  explicit TsTitleIcon(TqvTitleOwner* Owner = nullptr);
  ~TsTitleIcon() override;

  vcl::TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(vcl::TBitmap* Value) { glyph_->Assign(Value); }
  int Height() const { return height_; }
  void SetHeight(int Value) { height_ = Value; }
  int Width() const { return width_; }
  void SetWidth(int Value) { width_ = Value; }
  bool Visible() const { return visible_; }
  // A change repaints the frame unless the provider is loading or designed.
  void SetVisible(bool Value);
  void Assign(vcl::TPersistent* Source) override;

  TqvTitleOwner* Provider = nullptr;

 private:
  std::unique_ptr<vcl::TBitmap> glyph_;
  int height_ = 0;
  int width_ = 0;
  bool visible_ = true;
};

// One of the user's title buttons.
class TsTitleButton : public vcl::TCollectionItem {
  VCL_CLASS(TsTitleButton, vcl::TCollectionItem)
 public:
  explicit TsTitleButton(vcl::TCollection* Collection);
  ~TsTitleButton() override;

  bool UseSkinData() const { return use_skin_data_; }
  void SetUseSkinData(bool Value) { use_skin_data_ = Value; }
  const vcl::String& Name() const { return name_; }
  void SetName(const vcl::String& Value) { name_ = Value; }
  vcl::TBitmap* Glyph() const { return glyph_.get(); }
  // A new picture ends the button's fade, which shows the old one.
  void SetGlyph(vcl::TBitmap* Value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value) { enabled_ = Value; }
  const vcl::String& Hint() const { return hint_; }
  void SetHint(const vcl::String& Value) { hint_ = Value; }
  bool Visible() const { return visible_; }
  // A change repaints the frame.
  void SetVisible(bool Value);
  vcl::String DisplayName() const override { return name_.empty() ? ClassName() : name_; }
  void Assign(vcl::TPersistent* Source) override;

  vcl::TMouseEvent OnMouseUp;
  vcl::TMouseEvent OnMouseDown;
  // Its state, skin glyph (-1: its own picture only), place and hit code. Its fade is freed with
  // the button: the fade points at this record.
  TsCaptionButton Data;
  // Its Hint while the mouse rests on it (shown and taken away by the frame's mouse).
  TqvTitleHint HintWindow;

  TqvTitleOwner* Provider() const;

 private:
  void FreeFade();
  bool use_skin_data_ = true;
  vcl::String name_;
  std::unique_ptr<vcl::TBitmap> glyph_;
  bool enabled_ = true;
  vcl::String hint_;
  bool visible_ = true;
};

class TsTitleButtons : public vcl::TCollection {
  VCL_CLASS(TsTitleButtons, vcl::TCollection)
 public:
  explicit TsTitleButtons(TqvTitleOwner* Owner = nullptr);

  TsTitleButton* Add() { return static_cast<TsTitleButton*>(TCollection::Add()); }
  TsTitleButton* Items(int Index) const { return static_cast<TsTitleButton*>(TCollection::Items(Index)); }
  TqvTitleOwner* Provider() const { return provider_; }
  vcl::TPersistent* GetOwner() override;

 private:
  TqvTitleOwner* provider_;
};

VCL_ENUM(TqvMenuItemPos, ipTop, ipBottom, ipBeforeClose)
using enum TqvMenuItemPos;

// The application's submenu in the skinned system menu.
class TqvSysSubMenu : public vcl::TPersistent {
  VCL_CLASS(TqvSysSubMenu, vcl::TPersistent)
 public:
  TqvSysSubMenu() = default;

  const vcl::String& Caption() const { return caption_; }
  void SetCaption(const vcl::String& Value) { caption_ = Value; }
  TqvMenuItemPos Position() const { return position_; }
  void SetPosition(TqvMenuItemPos Value) { position_ = Value; }
  vcl::TPopupMenu* PopupMenu() const { return popup_menu_; }
  void SetPopupMenu(vcl::TPopupMenu* Value) { popup_menu_ = Value; }
  void Assign(vcl::TPersistent* Source) override;

 private:
  vcl::String caption_;
  TqvMenuItemPos position_ = ipBeforeClose;
  vcl::TPopupMenu* popup_menu_ = nullptr;
};

}  // namespace skin_layered
