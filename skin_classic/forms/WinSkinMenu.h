// The skinned menu bar of a form: the band below the title drawn from the skin (its menu-bar
// picture, else its menu-bar colour) with one item per top-level item of the window's menu,
// merged with the form's TMainMenu. The native bar is taken off the window once the items are
// read. An item drops its menu itself (TrackItem) with the sub-menu's items owner-drawn, and a
// thread message filter lets the keyboard and the mouse move between bar items while a menu is
// open (MenuTracking.h).
#pragma once

#include <memory>
#include <vector>

#include "skin_classic/forms/FormFrame.h"
#include "skin_classic/forms/NCObject.h"

namespace vcl {
class TMainMenu;
class TMenuItem;
}  // namespace vcl

namespace winskin {

class TWinSkinMenu;

// One top-level item of the bar (Enabled: the item's own state).
class TMenuBtn : public TNCObject {
  VCL_CLASS(TMenuBtn, TNCObject)

 public:
  TMenuBtn(TFormFrame* AOwner, TWinSkinMenu* ABar) : TNCObject(AOwner), Bar(ABar) { Visible = true; }

  TWinSkinMenu* Bar;
  String Caption;
  HMENU SubMenu = nullptr;  // nil for an item without sub-items
  UINT ID = 0;

  // The item's part of the bar as last painted, highlighted when hot or pressed.
  void Paint() override;
};

class TWinSkinMenu : public TFormMenuBar {
 public:
  explicit TWinSkinMenu(TFormFrame* AForm);
  ~TWinSkinMenu() override;
  TWinSkinMenu(const TWinSkinMenu&) = delete;
  TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

  TFormFrame* Form;
  HMENU MenuHandle = nullptr;

  vcl::TMainMenu* Menu() const override;

  // Reads the top-level items of the window's menu, or of the menu Given (a library form's
  // only while it has a TMainMenu), each merged with the TMainMenu's item of the same command,
  // and takes the native bar off the window; true when it did.
  // While one of the bar's menus is open the items stay as they are: the new menu is read
  // once the loop is over (FinishPendingLoad).
  bool LoadItems(HMENU Given = nullptr);
  // Reads the menu that came while a menu was open; true when there was one.
  bool FinishPendingLoad();
  // The menu last taken off the window (the one still to be read, if any).
  HMENU TakenMenu() const { return pending_menu_ ? pending_menu_ : MenuHandle; }
  // The item rectangles for a band (window coordinates), without drawing.
  void Layout(const TRect& Band);
  // Draws the band into DC, whose point (0, 0) is the window point Origin.
  void Paint(HDC DC, const TRect& Band, TPoint Origin);
  // The first item with a caption under a window point, where the bar shows it.
  TMenuBtn* ItemAt(TPoint P) const;
  // The same wherever the item lies, shown or not (the engine's clicks standing for a key).
  TMenuBtn* ItemUnder(TPoint P) const;
  // The first enabled, visible item whose caption has Key as its accelerator.
  TMenuBtn* FindAccel(wchar_t Key) const;
  // Opens the item's menu: an enabled item without sub-menu sends its command; an item with
  // one drops it below itself, owner-drawn, in a menu loop that a move to another bar item
  // ends (the form then opens that one). SelectFirst: opened from the keyboard, the menu's
  // first item is selected at once. True.
  bool TrackItem(TMenuBtn* Item, bool SelectFirst = true);
  // Paints one item on the window over the band as last painted.
  void PaintItem(TMenuBtn* Item);
  // The band's right margin from the skin (0 without its picture).
  int RightMargin() const;
  // The bar reads right to left (its TMainMenu does, or the window without one).
  bool RightToLeft() const;
  const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return items_; }
  int Count() const override { return static_cast<int>(items_.size()); }
  bool Clickable(int Index) const override;
  int IndexAt(TPoint P) const override;
  HMENU SubMenuOf(int Index) const override;
  const TRect& BarRect() const { return band_; }

 private:
  void DrawItem(HDC DC, TMenuBtn* Item, TPoint Origin, bool Highlight);
  TRect ItemsArea(const TRect& Band) const;
  void ReadItems(HMENU Menu);

  std::vector<std::unique_ptr<TMenuBtn>> items_;
  std::unique_ptr<TBitmap> background_;  // the band without highlights, as last painted
  static constexpr int kBackgroundSlack = 64;  // room to grow into without a new bitmap
  TRect band_;
  TRect items_area_;  // the part of the band the items show in
  HMENU pending_menu_ = nullptr;
};

}  // namespace winskin
