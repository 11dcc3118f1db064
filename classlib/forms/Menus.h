// Menus: a tree of menu items over real system menus. A main menu is a form's menu bar; a
// popup menu opens at a point (a control's right click). Each item has a command number that
// is unique in the process; WM_COMMAND with that number, sent to the form (main menu) or to the
// popup list's window (popup menus), runs the item's Click.
//
// Owner drawing: with OwnerDraw (or Images) set, the items are made MFT_OWNERDRAW and the
// system's WM_MEASUREITEM / WM_DRAWITEM come back to the item as MeasureItem and
// AdvancedDrawItem, which call OnMeasureItem, OnAdvancedDrawItem or OnDrawItem, or draw the
// item the library's way. Skin engines switch OwnerDraw at run time and point these events at
// their own painting.
#pragma once

#include <functional>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/ImgList.h"

namespace vcl {

class TMenu;
class TMenuItem;

// A key with its modifiers: the virtual key in the low byte, plus scShift, scCtrl, scAlt.
using TShortCut = WORD;
inline constexpr TShortCut scNone = 0;
inline constexpr TShortCut scShift = 0x2000;
inline constexpr TShortCut scCtrl = 0x4000;
inline constexpr TShortCut scAlt = 0x8000;

VCL_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
using enum TMenuBreak;

enum class TFindItemKind { fkCommand, fkHandle, fkShortCut };
using enum TFindItemKind;

VCL_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
using enum TPopupAlignment;

VCL_ENUM(TTrackButton, tbRightButton, tbLeftButton)
using enum TTrackButton;

VCL_ENUM(TMenuAnimations, maLeftToRight, maRightToLeft, maTopToBottom, maBottomToTop, maNone)
using enum TMenuAnimations;
using TMenuAnimation = Set<TMenuAnimations>;

using TMenuDrawItemEvent = Event<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, bool Selected)>;
using TAdvancedMenuDrawItemEvent =
    Event<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;
using TMenuMeasureItemEvent = Event<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TMenuChangeEvent = Event<void(TObject* Sender, TMenuItem* Source, bool Rebuild)>;

// The caption that makes an item a separator line.
inline constexpr const wchar_t* cLineCaption = L"-";

// ---------------------------------------------------------------------------------------

class TMenuItem : public TComponent {
  VCL_CLASS(TMenuItem, TComponent)

 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  // "-" makes a separator; "&" marks the accelerator ("&&" is a literal "&").
  const String& Caption() const { return caption_; }
  void SetCaption(const String& Value);
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the radio items of its group among its siblings.
  void SetChecked(bool Value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool Value);
  bool Visible() const { return visible_; }
  void SetVisible(bool Value);
  bool Default() const { return default_; }
  void SetDefault(bool Value);
  bool RadioItem() const { return radio_item_; }
  void SetRadioItem(bool Value);
  uint8_t GroupIndex() const { return group_index_; }
  void SetGroupIndex(uint8_t Value);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak Value);
  TShortCut ShortCut() const { return short_cut_; }
  void SetShortCut(TShortCut Value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& Value) { hint_ = Value; }
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int Value);
  // The item's own glyph, made on first use; setting it copies the given bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* Value);
  // Images of this item's sub-items (instead of the menu's Images).
  TCustomImageList* SubMenuImages() const { return sub_menu_images_; }
  void SetSubMenuImages(TCustomImageList* Value);

  // The tree. Add and Insert raise EMenuError for an item that already has a parent or that
  // would contain itself; Delete and Remove take an item out without freeing it; Clear frees
  // the sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int Index) const;
  void Add(TMenuItem* Item);
  void Insert(int Index, TMenuItem* Item);
  void Delete(int Index);
  void Remove(TMenuItem* Item);
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  // The sub-item whose caption without accelerator marks is ACaption (case-insensitive).
  TMenuItem* Find(StringView ACaption) const;
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const;
  void SetMenuIndex(int Value);
  // The menu the item belongs to (through its parents), or nil.
  TMenu* GetParentMenu() const;
  bool IsLine() const { return caption_ == cLineCaption; }

  // The command number WM_COMMAND carries for this item.
  WORD Command() const { return command_; }
  // The system menu of the sub-items, made on first use (the root item of a main menu: the
  // menu bar).
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The images this item is drawn with: the parent's SubMenuImages, else the menu's Images.
  TCustomImageList* GetImageList() const;

  // Menu merging: the sub-items of Menu (another menu's root) are shown among this item's by
  // GroupIndex, groups in ascending order, Menu's items of a group in place of this item's
  // items of that group. nil ends the merging.
  void MergeWith(TMenuItem* Menu);
  TMenuItem* Merged() const { return merged_; }

  // Runs OnClick when the item is enabled.
  virtual void Click();

  // Owner drawing. MeasureItem starts from the library's size and lets OnMeasureItem change
  // it; AdvancedDrawItem calls OnAdvancedDrawItem, else OnDrawItem, else draws the item the
  // library's way; DrawItem does the same for a plain selected state. TopLevel: an item of a
  // menu bar.
  virtual void MeasureItem(TCanvas* ACanvas, int& Width, int& Height);
  virtual void AdvancedDrawItem(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
  virtual void DrawItem(TCanvas* ACanvas, const TRect& ARect, bool Selected);

  // Streaming: an item read from a description is added to the enclosing menu or item.
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;
  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  TNotifyEvent OnClick;
  TMenuDrawItemEvent OnDrawItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  TMenuMeasureItemEvent OnMeasureItem;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Puts the change on the system menu and tells the menu.
  virtual void MenuChanged(bool Rebuild);

 private:
  friend class TMenu;

  bool IsTopLevel() const;
  bool IsOwnerDraw() const;
  // The sub-items in the order the system menu shows them (with the merged ones).
  std::vector<TMenuItem*> ShownItems() const;
  // Tells the menus that show this item's sub-items that they changed.
  void NotifyMenus(bool Rebuild);
  bool HasBitmap() const;
  void RebuildHandle();
  void RebuildAll();
  // Puts this item into a system menu at a place.
  void InsertInto(HMENU Menu, int Position);
  void TurnSiblingsOff();
  void BitmapChanged(TObject* Sender);
  void DrawDefault(TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State, bool TopLevel);
  void DrawCheck(TCanvas* ACanvas, const TRect& Cell);
  int GlyphColumnWidth() const;

  String caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  bool radio_item_ = false;
  uint8_t group_index_ = 0;
  TMenuBreak break_ = mbNone;
  TShortCut short_cut_ = 0;
  String hint_;
  int image_index_ = -1;
  std::unique_ptr<TBitmap> bitmap_;
  TCustomImageList* sub_menu_images_ = nullptr;

  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  TMenuItem* merged_ = nullptr;       // the root whose items are shown among these
  TMenuItem* merged_with_ = nullptr;  // the root that shows this root's items
  HMENU handle_ = nullptr;
  WORD command_ = 0;
};

// ---------------------------------------------------------------------------------------

class TMenu : public TComponent {
  VCL_CLASS(TMenu, TComponent)

 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  // The root item; the menu's items are its sub-items.
  TMenuItem* Items() const { return items_; }
  HMENU Handle() const { return items_->Handle(); }

  // Switchable at any time: the items are made again with or without MFT_OWNERDRAW.
  bool OwnerDraw() const { return owner_draw_; }
  void SetOwnerDraw(bool Value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* Value);
  TBiDiMode BiDiMode() const { return bidi_mode_; }
  void SetBiDiMode(TBiDiMode Value) { bidi_mode_ = Value; }
  // The window that shows the menu (a main menu's form); it hears of the menu's changes.
  HWND WindowHandle() const { return window_handle_; }
  void SetWindowHandle(HWND Value) { window_handle_ = Value; }
  // Whether the items are owner-drawn: OwnerDraw, or images to draw.
  virtual bool IsOwnerDraw() const { return owner_draw_ || images_ != nullptr; }

  // The item (at any depth) with the command number, the sub-menu handle or the shortcut.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // WM_COMMAND of an item: runs its Click; false when no item has the number.
  bool DispatchCommand(WORD ACommand);
  // WM_INITMENUPOPUP of a sub-menu: runs the Click of the item that owns it.
  bool DispatchPopup(HMENU AMenu);
  // A key message (WM_KEYDOWN / WM_SYSKEYDOWN) that is the shortcut of an enabled item runs
  // that item's Click.
  bool IsShortCut(const TMessage& Message);

  void GetChildren(const TGetChildProc& Proc, TComponent* Root) override;

  TMenuChangeEvent OnChange;

 protected:
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // An item changed (nil: the whole menu): OnChange.
  virtual void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild);
  // The root's system menu is a menu bar (main menus) rather than a popup.
  virtual bool IsMenuBar() const { return false; }
  // Makes every existing system menu of the items again.
  void UpdateItems();

 private:
  friend class TMenuItem;

  TMenuItem* items_ = nullptr;
  bool owner_draw_ = false;
  TCustomImageList* images_ = nullptr;
  TBiDiMode bidi_mode_ = bdLeftToRight;
  HWND window_handle_ = nullptr;
};

// A form's menu bar (TCustomForm::Menu). The form showing it (WindowHandle) hears of its
// changes through CM_MENUCHANGED.
class TMainMenu : public TMenu {
  VCL_CLASS(TMainMenu, TMenu)

 public:
  explicit TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}
  ~TMainMenu() override;

  // The menu of a form other than the main form shows no bar of its own: while the form is
  // active its items are merged into the main form's menu (an MDI child's menu always is).
  bool AutoMerge() const { return auto_merge_; }
  void SetAutoMerge(bool Value);
  // Shows Menu's items among this menu's (see TMenuItem::MergeWith); nil ends the merging.
  void Merge(TMainMenu* Menu);
  // Ends the merging when Menu is the one merged.
  void Unmerge(TMainMenu* Menu);

 protected:
  void MenuChanged(TObject* Sender, TMenuItem* Source, bool Rebuild) override;
  bool IsMenuBar() const override { return true; }

 private:
  bool auto_merge_ = false;
};

class TPopupMenu : public TMenu {
  VCL_CLASS(TPopupMenu, TMenu)

 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  // OnPopup, then the menu at the screen point (through the replaceable tracking function);
  // the chosen item's command comes back as a message to the popup list's window.
  virtual void Popup(int X, int Y);
  TPoint PopupPoint() const { return popup_point_; }
  // The control whose right click opened the menu.
  TComponent* PopupComponent() const { return popup_component_; }
  void SetPopupComponent(TComponent* Value);

  bool AutoPopup() const { return auto_popup_; }
  void SetAutoPopup(bool Value) { auto_popup_ = Value; }
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment Value) { alignment_ = Value; }
  TTrackButton TrackButton() const { return track_button_; }
  void SetTrackButton(TTrackButton Value) { track_button_ = Value; }
  TMenuAnimation MenuAnimation() const { return menu_animation_; }
  void SetMenuAnimation(TMenuAnimation Value) { menu_animation_ = Value; }

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TPoint popup_point_;
  TComponent* popup_component_ = nullptr;
  bool auto_popup_ = true;
  TPopupAlignment alignment_ = paLeft;
  TTrackButton track_button_ = tbRightButton;
  TMenuAnimation menu_animation_;
};

// ---------------------------------------------------------------------------------------

// Every popup menu, and the hidden window that owns their menu loops: it receives their
// WM_COMMAND, WM_INITMENUPOPUP, WM_MEASUREITEM and WM_DRAWITEM and hands them to the items.
class TPopupList {
 public:
  TPopupList() = default;
  TPopupList(const TPopupList&) = delete;
  TPopupList& operator=(const TPopupList&) = delete;

  // The window, made on first use.
  HWND Window();
  int Count() const { return static_cast<int>(menus_.size()); }
  TPopupMenu* Items(int Index) const;
  void Add(TPopupMenu* Menu);
  void Remove(TPopupMenu* Menu);
  // The item with the command number in any popup menu.
  TMenuItem* FindItem(UINT_PTR Value, TFindItemKind Kind) const;
  // Lets go of the window (the menus unit's shutdown).
  void ReleaseWindow();

 private:
  void WndProc(TMessage& Message);

  std::vector<TPopupMenu*> menus_;
  HWND window_ = nullptr;
};
TPopupList& PopupList();

// Shows a popup menu and runs its menu loop (TrackPopupMenu by default, Window being the owner
// that gets the chosen command). Tests put their own in, so that no menu loop waits for a
// user; answers whether the menu was shown.
using TTrackPopupMenuFunction = std::function<bool(HMENU Menu, UINT Flags, int X, int Y, HWND Window)>;
// Returns the previous function; nullptr restores the default.
TTrackPopupMenuFunction SetTrackPopupMenuFunction(TTrackPopupMenuFunction Function);

// ---------------------------------------------------------------------------------------
// Shortcuts and accelerators

TShortCut ShortCut(WORD Key, TShiftState Shift);
void ShortCutToKey(TShortCut ShortCut, WORD& Key, TShiftState& Shift);
// "Ctrl+S", "Shift+Ctrl+F5", "Alt+BkSp"; empty for a key without a name.
String ShortCutToText(TShortCut ShortCut);
// The reverse, with "Shift+", "Ctrl+" (or "^"), "Alt+" in any order and case; 0 when the text
// names no key.
TShortCut TextToShortCut(StringView Text);
// The accelerator character of a caption (after a single "&"; the last one wins), or empty.
String GetHotkey(StringView Text);
// The caption without accelerator marks ("&&" becomes "&").
String StripHotkey(StringView Text);
// Whether VK is the caption's accelerator (letters compared without case).
bool IsAccel(WORD VK, StringView Str);

// Draws an item as the owner-draw message asks (TopLevel when its menu is a menu bar).
void DrawMenuItem(TMenuItem* MenuItem, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State);

}  // namespace vcl
