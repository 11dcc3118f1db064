// The skinned painting of owner-drawn menu items: the items of skinned popup menus, of the
// skinned system menu and of the menu bar's drop-downs. An item is measured by its own rules
// and then widened for the skin; it is drawn into a bitmap of its size over the background of
// the popup window that shows it (its frame picture), with the skin's menu-item picture (normal
// or selected), then its content: image or check mark, caption with accelerator, shortcut,
// left to right or right to left.
//
// TSkinMenuPainter's MeasureItem and AdvancedDrawItem are TMenuItem events (the form's menus
// point theirs at a painter); items of a menu without TMenuItem objects (a foreign window's)
// are measured and drawn from the system's item.
#pragma once

#include "classlib/forms/Menus.h"
#include "skin_classic/core/SkinData.h"

namespace winskin {

using vcl::String;
using vcl::TRect;

// What an item shows, from a TMenuItem or from a system menu's item.
struct TMenuItemLook {
  String Caption;   // "-" for a separator
  String ShortCut;  // its text; empty for none
  bool Enabled = true;
  bool Checked = false;
  bool Default = false;
  bool RightToLeft = false;
  vcl::TCustomImageList* Images = nullptr;
  int ImageIndex = -1;

  bool IsSeparator() const { return Caption == vcl::cLineCaption; }
  // An image to draw: an image list that holds ImageIndex.
  bool HasValidImage() const;
  // The width of the image column: the images' (16 without), at least 16 for a checked item.
  int ColumnWidth() const;
};

// The item reads right to left: the system is set up for right-to-left scripts and the item's
// menu (or, for an item without one, the bar's TMainMenu) is not left to right.
bool MenuItemReadsRightToLeft(const vcl::TMenu* ItemMenu, const vcl::TMainMenu* BarMenu);

// A TMenuItem's look (a caption holding a tab keeps the text after it as the shortcut).
TMenuItemLook LookOf(vcl::TMenuItem* Item, const vcl::TMainMenu* BarMenu);
// The look of the item with command Id in Menu (searched through its sub-menus); false when
// the menu has no such item.
bool LookOf(HMENU Menu, UINT Id, TMenuItemLook& Look);

class TFormFrame;

class TSkinMenuPainter : public vcl::TObject {
  VCL_CLASS(TSkinMenuPainter, TObject)

 public:
  explicit TSkinMenuPainter(TSkinData* ASkinData = nullptr, TFormFrame* AForm = nullptr)
      : SkinData(ASkinData), Form(AForm) {}

  TSkinData* SkinData;
  TFormFrame* Form;  // whose bar's TMainMenu stands for the menu of items without one

  // TMenuItem events: Sender is the item.
  void MeasureItem(vcl::TObject* Sender, vcl::TCanvas* ACanvas, int& Width, int& Height);
  void AdvancedDrawItem(vcl::TObject* Sender, vcl::TCanvas* ACanvas, TRect ARect, vcl::TOwnerDrawState State);
  // Points an item's draw and measure events at this painter / takes them away again.
  void Attach(vcl::TMenuItem* Item);
  static void Release(vcl::TMenuItem* Item);
  // The item's events are this painter's.
  bool Paints(const vcl::TMenuItem* Item) const;

  // The width an item measured by its own rules gets for the skin: the menu-item picture's
  // left margin, and room for images (12, 10 for the bar's drop-downs) or without them 35.
  int Widen(int Width, bool HasImages, bool BarMenu) const;
  // Measures a look on DC's font by the library's rules for popup items (no widening).
  static void MeasureLook(HDC DC, const TMenuItemLook& Look, int& Width, int& Height);
  // A drop-down item of the bar in the menu font: a TMainMenu's item by its own measuring, a
  // system menu item by the library's rules; both widened for the skin.
  void MeasureBarItem(vcl::TMenuItem* Item, int& Width, int& Height) const;
  void MeasureBarItem(const TMenuItemLook& Look, int& Width, int& Height) const;
  // Draws an item of Menu (nil when unknown) onto DC at Rect in Font (nil: the screen's menu
  // font).
  void DrawLook(HDC DC, const TRect& Rect, const TMenuItemLook& Look, bool Selected, HMENU Menu,
                vcl::TFont* Font = nullptr) const;

  // One text of an item (its caption or its shortcut) drawn, or measured with DT_CALCRECT
  // (Rect then takes the size), in the item's colours; a caption "-" is an etched line.
  void DrawMenuItemText(const TMenuItemLook& Look, vcl::TCanvas* Canvas, String Text, TRect& Rect, bool Selected,
                       UINT Flags) const;
  // The item's image or check mark, caption and shortcut on Canvas, whose origin is the
  // item's top-left corner.
  void DrawContent(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height, bool Selected) const;

 private:
  void DrawContentLeftToRight(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height,
                              bool Selected) const;
  void DrawContentRightToLeft(const TMenuItemLook& Look, vcl::TCanvas* Canvas, int Width, int Height,
                              bool Selected) const;
  void DrawSeparator(HDC DC, int Width, int Height) const;
  TDataSkinObject* MenuItemElement() const;
  const vcl::TMainMenu* BarMenu() const;
};

}  // namespace winskin
