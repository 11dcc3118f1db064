// The skinned menu bar of a form: the band below the title drawn from the skin (its menu-bar
// picture, else its menu-bar colour) with one item per top-level item of the window's menu;
// a pressed item drops its menu with TrackPopupMenu. The native bar is taken off the window
// once the items are read.
#pragma once

#include <memory>
#include <vector>

#include "skin_classic/forms/NCObject.h"

namespace winskin {

class TWinSkinForm;
class TWinSkinMenu;

// One top-level item of the bar.
class TMenuBtn : public TNCObject {
  VCL_CLASS(TMenuBtn, TNCObject)

 public:
  TMenuBtn(TWinSkinForm* AOwner, TWinSkinMenu* ABar) : TNCObject(AOwner), Bar(ABar) { Visible = true; }

  TWinSkinMenu* Bar;
  String Caption;
  bool ItemEnabled = true;
  HMENU SubMenu = nullptr;
  UINT ID = 0;

  void Paint() override;
};

class TWinSkinMenu {
 public:
  explicit TWinSkinMenu(TWinSkinForm* AForm) : Form(AForm) {}

  TWinSkinForm* Form;
  HMENU MenuHandle = nullptr;

  // Reads the top-level items of the window's menu and takes the native bar off the window;
  // true when it did.
  bool LoadItems();
  // The item rectangles for a band (window coordinates), without drawing.
  void Layout(const TRect& Band);
  // Draws the band into DC, whose point (0, 0) is the window point Origin.
  void Paint(HDC DC, const TRect& Band, TPoint Origin);
  // The first item with a caption under a window point.
  TMenuBtn* ItemAt(TPoint P) const;
  // Drops the item's menu (or sends its command); true.
  bool TrackItem(TMenuBtn* Item);
  // Paints one item on the window over the band as last painted.
  void PaintItem(TMenuBtn* Item);
  // The band's right margin from the skin (0 without its picture).
  int RightMargin() const;
  const std::vector<std::unique_ptr<TMenuBtn>>& Items() const { return items_; }

 private:
  void DrawItem(HDC DC, TMenuBtn* Item, TPoint Origin, bool Highlight);

  std::vector<std::unique_ptr<TMenuBtn>> items_;
  std::unique_ptr<TBitmap> background_;  // the band without highlights, as last painted
  TRect band_;
};

}  // namespace winskin
