// Popup menu backgrounds of the layered engine: every skinned popup menu (or submenu) is
// painted over one 32-bit background as large as its window, built once from the skin's
// "MAINMENU" section with its frame image, an icon line behind the glyph column and an
// optional extra line (a stripe with a glyph and an upright caption at the menu's left). The
// backgrounds are kept in a process-wide cache, one record per popup, found by the menu's first
// item or by the popup's window; a record is built anew when the popup's size changed and is
// dropped when its item is freed. The popup window gets a region without the frame's
// transparent corners and its three-pixel border painted from the background.
//
// TqvMenuSupport is the skin manager's menu options object (published there as MenuSupport).
#pragma once

#include <windows.h>

#include <memory>

#include "classlib/forms/Menus.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

class TsSkinManager;

// A menu's extra line as its items are measured: whether it shows, and the height its glyph and
// caption take along the popup with their margins (0 when they take none).
struct TqvExtraLine {
  bool Shown = false;
  int Length = 0;
};

// What a popup's background asks of the skinned menus that paint the popup.
class TqvPopupMetrics {
 public:
  virtual TsSkinManager* SkinManager() const = 0;
  // The popup's frame width, and the skin's for the menu frame.
  virtual int BorderWidth() const = 0;
  virtual int SkinBorderWidth() = 0;
  virtual int Margin() const = 0;
  virtual int Spacing() const = 0;
  // The size of the menu whose first item is FirstItem, as measured on ACanvas.
  virtual vcl::TSize MenuSize(vcl::TMenuItem* FirstItem, vcl::TCanvas* ACanvas, TqvExtraLine ExtraLine) = 0;
  // The frame's transparent corner pixels of the background last built.
  virtual TRects& RegionRects() = 0;
  // A popup's region is being set.
  virtual bool RegionBusy() const = 0;
  virtual void SetRegionBusy(bool Value) = 0;
  // Given while a background is built: the glyph width of the menu's first item, and the icon
  // line's width (Margin + that glyph width + Spacing).
  virtual void SetGlyphColumn(int FirstGlyphWidth, int IcoLineWidth) = 0;

 protected:
  ~TqvPopupMetrics() = default;
};

// The skin sections of the menus.
inline constexpr wchar_t kBordersMask[] = L"BORDERSMASK";
inline constexpr wchar_t kMenuItemSection[] = L"MENUITEM";
inline constexpr wchar_t kMenuLineSection[] = L"MENULINE";
inline constexpr wchar_t kMainMenuSection[] = L"MAINMENU";
inline constexpr wchar_t kDividerSection[] = L"DIVIDERV";
inline constexpr wchar_t kMenuCaptionSection[] = L"MENUCAPTION";
inline constexpr wchar_t kMenuCaptionFallback[] = L"TOOLBAR";
inline constexpr wchar_t kCheckedGlyphSection[] = L"SPEEDBUTTON_SMALL";
inline constexpr wchar_t kExtraLineSection[] = L"EXTRALINE";
inline constexpr wchar_t kExtraLineCaption[] = L"Use OnGetExtraLineData event";
// A menu whose first item has this name never shows an extra line (the skinned system menu's
// list of skins).
inline constexpr wchar_t kSkinSelectItemName[] = L"SkinSelectItem";

class TqvMenuSupport : public TqvMenuSupportBase {
  VCL_CLASS(TqvMenuSupport, TqvMenuSupportBase)
 public:
  TqvMenuSupport();
  ~TqvMenuSupport() override;

  // The section of the icon line behind the glyph column; empty for none.
  vcl::String IcoLineSkin() const override { return ico_line_skin_; }
  void SetIcoLineSkin(const vcl::String& Value) override { ico_line_skin_ = Value; }
  bool UseExtraLine() const { return use_extra_line_; }
  void SetUseExtraLine(bool Value) { use_extra_line_ = Value; }
  int ExtraLineWidth() const { return extra_line_width_; }
  void SetExtraLineWidth(int Value) { extra_line_width_ = Value; }
  vcl::TFont* ExtraLineFont() const { return extra_line_font_.get(); }
  void SetExtraLineFont(vcl::TFont* Value) { extra_line_font_->Assign(Value); }
  // The opacity of skinned popup windows (255 opaque); read by the popup window's adapter.
  int AlphaBlend() const { return alpha_blend_; }
  void SetAlphaBlend(int Value) { alpha_blend_ = static_cast<std::uint8_t>(Value); }
  void Assign(vcl::TPersistent* Source) override;

 private:
  vcl::String ico_line_skin_;
  bool use_extra_line_ = false;
  int extra_line_width_ = 32;
  std::unique_ptr<vcl::TFont> extra_line_font_;
  std::uint8_t alpha_blend_ = 255;
};

// The manager's menu options (nil for none).
TqvMenuSupport* MenuSupportOf(const TsSkinManager* Manager);

// The glyph size of an item: its bitmap's; the parent's SubMenuImages' width (height 0); the
// menu's Images' size; else 16 x 16.
vcl::TSize MenuGlyphSize(vcl::TMenuItem* Item);
// The item's menu reads right to left (a Middle East locale and a menu not left to right).
bool MenuRightToLeft(const vcl::TMenuItem* Item);

// One popup's background.
struct TqvMenuInfo {
  vcl::TMenuItem* FirstItem = nullptr;  // the first item of the menu the popup shows
  std::shared_ptr<vcl::TBitmap> Bmp;    // the background, as large as the popup window
  HWND Wnd = nullptr;                   // the popup window, nil until known
  bool ExtraLine = false;               // the menu shows the extra line
  int ExtraLineLength = 0;              // the height its glyph and caption take (TqvExtraLine)
  TRects RgnRects;                      // the frame's transparent corner pixels (window region)
  explicit operator bool() const { return FirstItem != nullptr || Bmp != nullptr; }
};

// The record of the popup showing Item's menu: found by the menu's first item; a record built
// for another size (the window's, or the menu's measured size without a window) is dropped.
// When none is left and Canvas is given, the background is built for Wnd's size, or without
// a window for the measured menu plus Menus' BorderWidth on each side. With Item nil: the
// record of the window Wnd. An empty record when none.
TqvMenuInfo GetMenuInfo(TqvPopupMetrics& Menus, vcl::TMenuItem* Item, HWND Wnd, vcl::TCanvas* Canvas);
// Frees every background.
void ClearMenuCache();
int MenuCacheCount();

// The window's region (its rectangle less the frame's transparent corners, or less the top-left
// pixel when there are none) and its three-pixel border copied from Bmp. Nothing while a region
// is being set, or when the window answers that its region is set already.
void SetMenuWndRgn(TqvPopupMetrics& Menus, HWND Wnd, vcl::TBitmap* Bmp, const TRects& Rects);
// The region of a popup window whose background is cached (found by its window, else by the
// menu it shows).
void SetMenuWndRgn(TqvPopupMetrics& Menus, HWND Wnd);
// The extra line's rectangle in the popup window's coordinates; empty when it shows none.
vcl::TRect ExtraLineRect(TqvPopupMetrics& Menus, HWND Wnd);

// The extra line's width for items of the first column (0 when the manager does not use it).
int ExtraLineWidthOf(const TsSkinManager* Manager);
// Asks the application about the extra line of the menu whose first item is FirstItem (the
// manager's OnGetMenuExtraLineData); whether it is shown. Not shown while designing, while a
// question is running, and for the skins list of a system menu.
bool QueryExtraLine(TsSkinManager* Manager, vcl::TMenuItem* FirstItem);
// Asks as QueryExtraLine does; with the height the answer's glyph and caption take.
TqvExtraLine AskExtraLine(TsSkinManager* Manager, vcl::TMenuItem* FirstItem);


// The MDI frame's active child is maximised with a system menu and an icon: the frame's menu
// line shows the child's icon and buttons.
bool MaximizedMDIChildMenu();

// The unit's shutdown: the cache and the extra line's data are freed.
void FinalizeMenuSupport();

}  // namespace skin_layered
