// TsTitleBar, the title bar component: a component on a form that adds items to the form's
// skinned caption: buttons, buttons with a drop-down menu, tabs, spacers and information
// texts, aligned left, right, centred or centred in the free space. The form's provider finds
// it (its TitleBar), gives it the caption's free area, lets it arrange the items there, paints
// them into the window image (hit codes 2000 + item index) and hands it the presses and
// releases on them. An item's change of state fades on a layered window of its own
// (TqvItemAnimation, TitleItemAnimation.h).
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/Collection.h"
#include "classlib/rtl/Component.h"
#include "classlib/rtl/Lifetime.h"
#include "classlib/rtl/Persistent.h"
#include "skin_layered/forms/TitleHint.h"
#include "skin_layered/forms/TitleItemAnimation.h"

namespace vcl {
class TPopupMenu;
class THintWindow;
class TCustomForm;
}  // namespace vcl

namespace skin_layered {

class TsTitleBar;
class TqvTitleBarItem;
class TqvItemAnimation;

VCL_ENUM(TqvItemAlign, tbaLeft, tbaRight, tbaCenter, tbaCenterInSpace)
using enum TqvItemAlign;
VCL_ENUM(TqvBtnStyle, bsButton, bsMenu, bsTab, bsSpacing, bsInfo)
using enum TqvBtnStyle;

inline constexpr wchar_t kTitleBarFormsOnlyMessage[] = L"TsTitleBar component may be used with forms only!";

// Paints an item (background and content) into R of Bmp; the provider sets it.
using TqvItemPaintEvent = vcl::Event<void(TqvTitleBarItem* Item, vcl::TRect R, vcl::TBitmap* Bmp)>;

// The skin section an item is painted with, chosen by the provider.
struct TqvItemSkinData {
  vcl::String Section;
  int SkinIndex = -1;
};

// The font of an item: the system caption font, or parts of its own Font.
class TqvFontData : public vcl::TPersistent {
  VCL_CLASS(TqvFontData, vcl::TPersistent)
 public:
  explicit TqvFontData(TqvTitleBarItem* Owner = nullptr);
  ~TqvFontData() override;

  vcl::TFont* Font() const { return font_.get(); }
  void SetFont(vcl::TFont* Value) { font_->Assign(Value); }
  vcl::TColor GlowColor() const { return glow_color_; }
  void SetGlowColor(vcl::TColor Value);
  int GlowSize() const { return glow_size_; }
  void SetGlowSize(int Value);
  bool UseSysColor() const { return use_sys_color_; }
  void SetUseSysColor(bool Value);
  bool UseSysFontName() const { return use_sys_font_name_; }
  void SetUseSysFontName(bool Value);
  bool UseSysGlowing() const { return use_sys_glowing_; }
  void SetUseSysGlowing(bool Value);
  bool UseSysSize() const { return use_sys_size_; }
  void SetUseSysSize(bool Value);
  bool UseSysStyle() const { return use_sys_style_; }
  void SetUseSysStyle(bool Value);
  void Assign(vcl::TPersistent* Source) override;

  // The font the item is drawn and measured with, made again from the system caption font and
  // the switches.
  vcl::TFont* PrepareFont();

 private:
  // The item's form hears that the title changed.
  void Changed();
  TqvTitleBarItem* owner_;
  std::unique_ptr<vcl::TFont> font_;
  std::unique_ptr<vcl::TFont> effective_;
  vcl::TColor glow_color_ = static_cast<vcl::TColor>(0x808080);
  int glow_size_ = 0;
  bool use_sys_color_ = true;
  bool use_sys_font_name_ = true;
  bool use_sys_glowing_ = true;
  bool use_sys_size_ = true;
  bool use_sys_style_ = true;
};

// One item of the title bar.
class TqvTitleBarItem : public vcl::TCollectionItem, public TqvFadedItem {
  VCL_CLASS(TqvTitleBarItem, vcl::TCollectionItem)
 public:
  explicit TqvTitleBarItem(vcl::TCollection* Collection);
  ~TqvTitleBarItem() override;

  // ---- published
  TqvItemAlign Align() const { return align_; }
  void SetAlign(TqvItemAlign Value);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool Value);
  const vcl::String& Caption() const { return caption_; }
  void SetCaption(const vcl::String& Value);
  vcl::TPopupMenu* DropdownMenu() const { return dropdown_menu_; }
  void SetDropdownMenu(vcl::TPopupMenu* Value);
  bool Down() const { return down_; }
  void SetDown(bool Value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  TqvFontData* FontData() const { return font_data_.get(); }
  void SetFontData(TqvFontData* Value) { font_data_->Assign(Value); }
  vcl::TBitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(vcl::TBitmap* Value);
  int Height() const { return height_; }
  void SetHeight(int Value);
  const vcl::String& Hint() const { return hint_; }
  void SetHint(const vcl::String& Value) { hint_ = Value; }
  // 0 disabled, 1 normal, 2 hot, 3 pressed.
  int ImageIndexOf(int Kind) const { return image_indexes_[Kind & 3]; }
  void SetImageIndexOf(int Kind, int Value);
  int DisabledImageIndex() const { return ImageIndexOf(0); }
  void SetDisabledImageIndex(int Value) { SetImageIndexOf(0, Value); }
  int ImageIndex() const { return ImageIndexOf(1); }
  void SetImageIndex(int Value) { SetImageIndexOf(1, Value); }
  int HotImageIndex() const { return ImageIndexOf(2); }
  void SetHotImageIndex(int Value) { SetImageIndexOf(2, Value); }
  int PressedImageIndex() const { return ImageIndexOf(3); }
  void SetPressedImageIndex(int Value) { SetImageIndexOf(3, Value); }
  const vcl::String& Name() const { return name_; }
  void SetName(const vcl::String& Value) { name_ = Value; }
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int Value);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool Value) { show_hint_ = Value; }
  const vcl::String& SkinSection() const { return skin_section_; }
  void SetSkinSection(const vcl::String& Value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int Value);
  TqvBtnStyle Style() const { return style_; }
  void SetStyle(TqvBtnStyle Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  int Width() const { return width_; }
  void SetWidth(int Value);

  vcl::TNotifyEvent OnClick;
  vcl::TMouseEvent OnMouseDown;
  vcl::TNotifyEvent OnMouseEnter;
  vcl::TNotifyEvent OnMouseLeave;
  vcl::TMouseEvent OnMouseUp;

  vcl::String DisplayName() const override { return name_; }
  void Assign(vcl::TPersistent* Source) override;

  // ---- what the title bar and the provider keep of the item
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int Value);
  int ContentWidth = 0, ContentHeight = 0;  // what auto-sizing measured
  vcl::TRect ItemRect;                      // in the window image, set by the arrangement
  bool Pressed = false;
  bool MenuDropped = false;
  // The window whose top-left is the window image's origin on the screen (the form's, or its
  // border window); nil: the form's.
  HWND HostWnd = nullptr;
  std::unique_ptr<TqvItemSkinData> SkinData;
  TqvItemPaintEvent PaintHandler;

  TsTitleBar* TitleBar() const;
  // 2 while the menu is dropped or a tab is down, else the hot state (0 or 1).
  int CurrentState() const;
  int HotState() const { return state_; }
  void SetHotState(int Value) { state_ = Value; }
  bool DropsMenu() const;
  // Measures the content; unless ContentOnly (or a spacer) Width and Height follow it.
  void AdjustSize(bool ContentOnly = false);
  // The item's rectangle on the screen.
  vcl::TRect ScreenRect() const override;
  // ---- what its fade asks of it
  vcl::TRect ImageRect() const override { return ItemRect; }
  bool PaintFaded(const vcl::TRect& R, vcl::TBitmap* Bmp) override;
  void FadeMouseLeft() override;

  // The provider's calls: press, release and click (X, Y in the window image). The
  // application's events, the drop-down menu and the click may free the item (its bar, its
  // form): nothing of the item is touched after them.
  void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
  void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
  void Click();
  // Tells a caller whether the item outlived what it called (an event may free it).
  vcl::TLifetime::TWatch Watch() const { return lifetime_.Watch(); }
  // The hint 16 pixels below the cursor.
  void ShowItemHint();
  void HideItemHint();

  // The fade of a state change, in Steps steps, on Wnd (the form's or its border window).
  void StartAnimation(int Steps, HWND Wnd);
  TqvItemAnimation* Animation() const { return animation_.get(); }
  void FreeAnimation();
  // Forgets the faded images (a change of the item repaints it whole).
  void DropAnimationImages();

 private:
  // A property changed: auto-size first with Resize, then the form hears of it.
  void ItemChanged(bool Resize);

  TqvItemAlign align_ = tbaLeft;
  bool auto_size_ = true;
  vcl::String caption_;
  vcl::TPopupMenu* dropdown_menu_ = nullptr;
  bool down_ = false;
  bool enabled_ = true;
  std::unique_ptr<TqvFontData> font_data_;
  std::unique_ptr<vcl::TBitmap> glyph_;
  int height_ = 18;
  vcl::String hint_;
  int image_indexes_[4] = {-1, -1, -1, -1};
  vcl::String name_;
  int num_glyphs_ = 1;
  bool show_hint_ = false;
  vcl::String skin_section_;
  int spacing_ = 4;
  TqvBtnStyle style_ = bsButton;
  bool visible_ = true;
  int width_ = 22;
  int group_index_ = 0;
  int state_ = 0;
  TqvTitleHint hint_window_;
  std::unique_ptr<TqvItemAnimation> animation_;
  // Ended first thing by the destructor; the press and the release ask it after each event.
  vcl::TLifetime lifetime_;
};

class TqvTitleItems : public vcl::TCollection {
  VCL_CLASS(TqvTitleItems, vcl::TCollection)
 public:
  explicit TqvTitleItems(TsTitleBar* Owner = nullptr);

  TqvTitleBarItem* Add() { return static_cast<TqvTitleBarItem*>(TCollection::Add()); }
  TqvTitleBarItem* Items(int Index) const { return static_cast<TqvTitleBarItem*>(TCollection::Items(Index)); }
  TsTitleBar* TitleBar() const { return bar_; }
  vcl::TPersistent* GetOwner() override;

 protected:
  void Update(vcl::TCollectionItem* Item) override;

 private:
  TsTitleBar* bar_;
};

// What a title bar asks of its form's provider: the bar its caption shows, and to show another.
class TqvTitleBarHost {
 public:
  virtual TsTitleBar* TitleBar() const = 0;
  virtual void SetTitleBar(TsTitleBar* Value) = 0;

 protected:
  ~TqvTitleBarHost() = default;
};

// The provider of the form (the one its window answers with); nil when there is none.
TqvTitleBarHost* TitleBarHostOf(vcl::TCustomForm* Form);

class TsTitleBar : public vcl::TComponent {
  VCL_CLASS(TsTitleBar, vcl::TComponent)
 public:
  // AOwner must be a form (else EAbort).
  explicit TsTitleBar(vcl::TComponent* AOwner);
  ~TsTitleBar() override;
  void Loaded() override;

  // ---- published
  vcl::TCustomImageList* Images() const { return images_; }
  void SetImages(vcl::TCustomImageList* Value);
  TqvTitleItems* Items() const { return items_.get(); }
  void SetItems(TqvTitleItems* Value) { items_->Assign(Value); }
  int ItemsMargin() const { return items_margin_; }
  void SetItemsMargin(int Value) { items_margin_ = Value; }
  int ItemsSpacing() const { return items_spacing_; }
  void SetItemsSpacing(int Value) { items_spacing_ = Value; }
  bool ShowCaption() const { return show_caption_; }
  void SetShowCaption(bool Value);

  vcl::TCustomForm* Form() const { return form_; }
  // Tells the form that the title changed (unless it is loading).
  void Changed();

  // ---- the arrangement: the provider fills the caption area, then Arrange places the items
  int AreaLeft = 0, AreaTop = 0, AreaRight = 0, AreaBottom = 0, AreaCentre = 0, FullWidth = 0;
  int LeftWidth = 0, RightWidth = 0, CenterWidth = 0, CenterInSpaceWidth = 0;
  void Arrange();
  // The caption left free between the left and the right items (image coordinates).
  vcl::TRect FreeArea() const;
  // Set while a tab group is switched: the items announce nothing.
  bool Updating = false;
  bool Destroying() const { return destroying_; }

  // The drop-down arrow glyph (three states side by side), 32-bit premultiplied.
  vcl::TBitmap* DropdownGlyph();

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  void ImagesChanged(vcl::TObject* Sender);
  vcl::TCustomForm* form_;
  vcl::TCustomImageList* images_ = nullptr;
  std::unique_ptr<vcl::TChangeLink> images_link_;
  std::unique_ptr<TqvTitleItems> items_;
  int items_margin_ = 3;
  int items_spacing_ = 0;
  bool show_caption_ = false;
  std::unique_ptr<vcl::TBitmap> dropdown_glyph_;
  bool destroying_ = false;
};

// Paints Src's SrcRect into DestRect of Dest as nine parts: the corners (Margins wide and
// high) pixel by pixel without the key colour 0xFF00FF, the sides and centre stretched.
void DrawStretchedImage(vcl::TBitmap* Dest, vcl::TBitmap* Src, const vcl::TRect& SrcRect, const vcl::TRect& Margins,
                        const vcl::TRect& DestRect);

}  // namespace skin_layered
