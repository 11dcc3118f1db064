// TsSkinableMenus, the layered engine's menu painter. The skin manager owns one and says when
// menus are skinned: the painter then makes the menus of all forms owner-drawn and puts its
// measure and draw handlers into the items the application left without handlers of its own
// (the application's are never replaced or removed). It measures and paints the items of a
// form's menu line from the skin's "MENUITEM" and "MENULINE" sections over the provider's
// window image, and the items of popup menus and submenus from "MENUITEM", "DIVIDERV",
// "MENUCAPTION" (or "TOOLBAR"), "SPEEDBUTTON_SMALL" and the "BOXCHECKED" image of
// "GLOBALINFO", over the popup's background (MenuSupport.h).
//
// Item kinds: a caption "-" is a divider; a caption between two caption marks ("-Files-") is a
// caption item showing its word centred; any other item of a popup is a normal one; items of a
// menu bar are the top line.
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Menus.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/forms/MenuSupport.h"

namespace skin_layered {

class TsSkinManager;

VCL_ENUM(TsMenuItemType, smCaption, smDivider, smNormal, smTopLine)
using enum TsMenuItemType;

using TsMenuManagerDrawItemEvent = vcl::Event<void(vcl::TObject* Sender, vcl::TCanvas* ACanvas, vcl::TRect ARect,
                                                   vcl::TOwnerDrawState State, TsMenuItemType ItemType)>;

// A popup menu whose name begins so is a skinned system menu: its items get the system glyphs.
inline constexpr wchar_t kSysMenuNamePrefix[] = L"qvSysMenu";

class TsSkinableMenus : public vcl::TPersistent, public TsSkinableMenusBase, public TqvPopupMetrics {
  VCL_CLASS(TsSkinableMenus, vcl::TPersistent)
 public:
  explicit TsSkinableMenus(TsSkinManager* AOwner = nullptr);
  ~TsSkinableMenus() override;

  // ---- published
  vcl::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(vcl::TAlignment Value) { alignment_ = Value; }
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int Value) { bevel_width_ = Value; }
  // The popup window's border, pixels.
  int BorderWidth() const override { return border_width_; }
  void SetBorderWidth(int Value) { border_width_ = Value; }
  // The font of caption items when no global menu font is set.
  vcl::TFont* CaptionFont() const { return caption_font_.get(); }
  void SetCaptionFont(vcl::TFont* Value) { caption_font_->Assign(Value); }
  // The border of the skin's popup frame: a negative value is taken from the skin on the next
  // read (the frame image's left margin, 3 below 1; 0 without a frame image).
  int SkinBorderWidth() override;
  int StoredSkinBorderWidth() const { return skin_border_width_; }
  void SetSkinBorderWidth(int Value) { skin_border_width_ = Value; }
  int Margin() const override { return margin_; }
  void SetMargin(int Value) { margin_ = Value; }
  // The gap between the glyph column and the text.
  int Spacing() const override { return spacing_; }
  void SetSpacing(int Value) { spacing_ = Value; }
  // Called after each item is painted, on the item's own picture.
  TsMenuManagerDrawItemEvent OnDrawItem;

  TsSkinManager* SkinManager() const override { return manager_; }
  void SetSkinManager(TsSkinManager* Value) { manager_ = Value; }
  // Menus are to be skinned.
  bool Skinned() const { return skinned_; }
  // The kind of the item measured or painted last.
  TsMenuItemType CurrentItemType() const { return current_type_; }
  // The transparent corners of the last built popup background.
  const TRects& RegionRects() const { return region_rects_; }
  TRects& RegionRects() override { return region_rects_; }
  // The region of a popup window is being set.
  bool RegionBusy() const override { return region_busy_; }
  void SetRegionBusy(bool Value) override { region_busy_ = Value; }
  // The glyph column of the background built last: the first item's glyph width and the icon
  // line's width.
  void SetGlyphColumn(int FirstGlyphWidth, int IcoLineWidth) override {
    first_glyph_width_ = FirstGlyphWidth;
    ico_line_width_ = IcoLineWidth;
  }
  int FirstGlyphWidth() const { return first_glyph_width_; }
  int IcoLineWidth() const { return ico_line_width_; }

  // ---- hooking
  // Stores the flag and, unless designing, hooks or unhooks the menus of every form of the
  // application (everything the application owns, at any depth).
  void SetMenusSkinned(bool Value);
  // SetMenusSkinned with the manager's current state: skinned while it is active with a skin.
  void UpdateMenuFonts();
  // A popup menu: owner-drawn with Value and the manager's SkinnedPopups; not animated while
  // hooked; every item hooked as a popup item.
  void SetMenuOwnerDraw(vcl::TPopupMenu* Menu, bool Value);
  // One item created later: a top-level item of a main menu gets the menu-line handlers, any
  // other item the popup handlers (with SkinnedPopups on); Value false takes the painter's away.
  void HookMenuItem(vcl::TMenuItem* Item, bool Value);
  // A form's main menu: its items get the menu-line handlers (while the manager is active and
  // skins popups; with it active and not skinning popups nothing changes) and the menu becomes
  // owner-drawn with Value.
  void HookMainMenu(vcl::TMainMenu* Menu, bool Value);
  // A popup item and its sub-items (not a main menu's top-level item itself).
  void HookPopupItem(vcl::TMenuItem* Item, bool Value);
  // The menus among Root and the components it owns, at any depth (a form's menus).
  void HookComponents(vcl::TComponent* Root, bool Value);
  void ResetPopupState() override;

  // ---- the handlers the items get
  void PopupMeasure(vcl::TObject* Sender, vcl::TCanvas* ACanvas, int& Width, int& Height);
  void PopupDraw(vcl::TObject* Sender, vcl::TCanvas* ACanvas, vcl::TRect ARect, vcl::TOwnerDrawState State);
  void BarMeasure(vcl::TObject* Sender, vcl::TCanvas* ACanvas, int& Width, int& Height);
  void BarDraw(vcl::TObject* Sender, vcl::TCanvas* ACanvas, vcl::TRect ARect, vcl::TOwnerDrawState State);
  // The item's handlers are the painter's.
  bool HasPopupHandlers(const vcl::TMenuItem* Item) const;
  bool HasBarHandlers(const vcl::TMenuItem* Item) const;

  // ---- sizes
  // The size a popup item measures on the canvas (the extra line's width included when the
  // item lies in the first column and ExtraLine is set).
  vcl::TSize MeasurePopupItem(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, bool ExtraLine);
  // The whole popup of FirstItem's menu, measured on the canvas: the columns side by side
  // (each as wide as its widest item + 12, 4 pixels apart), the tallest column's height.
  vcl::TSize MenuSize(vcl::TMenuItem* FirstItem, vcl::TCanvas* ACanvas, TqvExtraLine ExtraLine) override;
  // The height an item of the first column takes beyond its own so that the column holds the
  // extra line's glyph and caption whole: what the column lacks, shared among its items.
  int ExtraLineRoom(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, TqvExtraLine ExtraLine);

 private:
  using TMeasure = vcl::TMenuMeasureItemEvent;
  using TDraw = vcl::TAdvancedMenuDrawItemEvent;
  TMeasure PopupMeasureHandler() { return TMeasure::Bind<&TsSkinableMenus::PopupMeasure>(this); }
  TDraw PopupDrawHandler() { return TDraw::Bind<&TsSkinableMenus::PopupDraw>(this); }
  TMeasure BarMeasureHandler() { return TMeasure::Bind<&TsSkinableMenus::BarMeasure>(this); }
  TDraw BarDrawHandler() { return TDraw::Bind<&TsSkinableMenus::BarDraw>(this); }
  // Takes the painter's handlers out of the item (the application's stay).
  void Unhook(vcl::TMenuItem* Item);
  void SetBarHandlers(vcl::TMenuItem* Item);
  void SetPopupHandlers(vcl::TMenuItem* Item);
  void HookComponent(vcl::TComponent* C, bool Value);
  // The item's font: the global menu font or the screen's, the owner form's charset, bold for
  // the default item.
  void ItemFont(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas);
  // A popup item's font: ItemFont, then the application's say. True when the application
  // changed its colour (the text is then written in it).
  bool PrepareFont(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, vcl::TOwnerDrawState State);

  // The painters of dividers, captions and the popup border (SkinableMenusPaint.cpp).
  void PaintDivider(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, const vcl::TRect& R, vcl::TBitmap* Bg,
                    vcl::TPoint Client, int ExtraWidth);
  void PaintCaption(vcl::TMenuItem* Item, vcl::TCanvas* ACanvas, const vcl::TRect& R, vcl::TBitmap* Bg,
                    vcl::TPoint Client, int ExtraWidth);
  void PaintPopupBorder(vcl::TMenuItem* Item, HWND Wnd, const vcl::TRect& R, vcl::TBitmap* Bg, vcl::TPoint Client,
                        int ExtraWidth);
  void PostRegionRequest(vcl::TMenuItem* Item);

  TsSkinManager* manager_ = nullptr;
  TsMenuItemType current_type_ = smNormal;
  int margin_ = 2;
  vcl::TAlignment alignment_ = vcl::taLeftJustify;
  int bevel_width_ = 0;
  int border_width_ = 3;
  std::unique_ptr<vcl::TFont> caption_font_;
  int skin_border_width_ = 0;
  int spacing_ = 8;
  TRects region_rects_;
  bool skinned_ = false;
  bool region_busy_ = false;
  int first_glyph_width_ = 0;
  int ico_line_width_ = 0;
};

// The painter of the manager (nil for none).
TsSkinableMenus* SkinableMenusOf(const TsSkinManager* Manager);

// The item's kind (never smTopLine).
TsMenuItemType MenuItemType(const vcl::TMenuItem* Item);
// The item lies in its menu's first column (no visible item before it starts a column).
bool InFirstMenuColumn(const vcl::TMenuItem* Item);

// The font every menu item is drawn with instead of the screen's menu font; nil (the default)
// for the screen's. Not owned.
vcl::TFont* GlobalMenuFont();
void SetGlobalMenuFont(vcl::TFont* Font);
// The character that marks caption items ("-" by default).
wchar_t CaptionMarkChar();
void SetCaptionMarkChar(wchar_t Mark);

}  // namespace skin_layered
