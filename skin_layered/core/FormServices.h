// What the core asks of the layered form skinning: the per-form skin provider, its border
// form (the extra layered window of extended borders and shadows), the menu objects the
// skin manager owns, and a few window services. The form skinning derives from these
// classes and installs its services with SetFormServices; until then every call does
// nothing and answers nothing (no provider, no region, 0, E_NOTIMPL).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "classlib/rtl/Component.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Method.h"
#include "classlib/rtl/Types.h"

namespace vcl {
class TCustomForm;
class TMainMenu;
class TMenuItem;
class TPopupMenu;
}  // namespace vcl

namespace skin_layered {

class TsScrollWndData;
class TsSkinManager;

// Bits of a provider's state word that the core reads and sets.
inline constexpr std::uint32_t kProviderImageCurrent = 0x200;     // the window image is current
inline constexpr std::uint32_t kProviderChangeSnapshot = 0x1000;  // snapshot taken for a skin change
inline constexpr std::uint32_t kProviderChangeFrozen = 0x10000;   // form held still for a skin change

// After a form animation; Mode 0 after showing, 1 after hiding.
using TqvAfterAnimationEvent = vcl::Event<void(vcl::TObject* Sender, int Mode)>;

// The border form of a skinned form or dialog.
class TqvBorderFormBase {
 public:
  virtual ~TqvBorderFormBase() = default;

  // Its hidden layered tool window; nil before CreateNewForm.
  virtual HWND BorderWindow() const { return nullptr; }
  // Creates that window when there is none.
  virtual void CreateNewForm() {}
  // Renders the parent's window image into the border form's image.
  virtual void PaintAll() {}
  // Vertical placement of the border window relative to the form.
  virtual int ShadowOffset() { return 0; }
  // The region for the parent window (the caller applies it); nil for none.
  virtual HRGN MakeParentRgn(int X, int Y, bool Flag) {
    (void)X, (void)Y, (void)Flag;
    return nullptr;
  }
  // Position, size, alpha (255 opaque) and image of the border window, behind its parent.
  virtual void UpdateExBordersPos(bool Repaint, std::uint8_t Alpha) { (void)Repaint, (void)Alpha; }
  // The border window's own region (the form's shape with its shadow), which the caller
  // applies; nil for the whole window.
  virtual HRGN MakeFormRgn() { return nullptr; }
};

// The measures of a provider's form that the layers below read.
class TqvProviderMeasures {
 public:
  // The skinned caption height; 0 without a caption.
  virtual int CaptionHeight(bool CheckSkin) const = 0;
  // The skin's title height for the form's state (the maximised one with Zoomed, or when the
  // form is zoomed).
  virtual int TitleHeightByState(bool Zoomed) const = 0;

 protected:
  ~TqvProviderMeasures() = default;
};

// The measures of a provider's window image (the form's picture with its frame) that the
// layers below read.
class TqvImageMeasures {
 public:
  // The shadow margins with a border form, else empty.
  virtual vcl::TRect ShadowSize() const = 0;
  virtual int ImageWidth() const = 0;
  // The client area's offset inside the window image.
  virtual int OffsetX() const = 0;
  virtual int OffsetY() const = 0;

 protected:
  ~TqvImageMeasures() = default;
};

// The skin provider of one form.
class TsSkinProviderBase : public vcl::TComponent {
  VCL_CLASS(TsSkinProviderBase, vcl::TComponent)
 public:
  explicit TsSkinProviderBase(vcl::TComponent* AOwner) : TComponent(AOwner) {}

  // The form's skin data (section "FORM"); owned by the provider.
  TsScrollWndData* SkinData = nullptr;
  bool DrawNonClientArea = true;
  vcl::TCustomForm* Form = nullptr;         // the form served
  TqvBorderFormBase* BorderForm = nullptr;  // nil without extended borders
  std::unique_ptr<vcl::TBitmap> Snapshot;   // the form's snapshot, nil when none
  bool PaintingSuspended = false;           // the form must not repaint itself
  bool MaxCaptionLowered = false;           // a maximised form's caption is below the system's + 4
  int MaximizedTitleHeight = 0;             // the title height a maximised form was last laid out for
  std::uint32_t State = 0;                  // kProvider* bits among others
  TqvAfterAnimationEvent OnAfterAnimation;

  // Renders the whole window image (frame, title, buttons, menu line) into the cache.
  virtual void PaintAll() {}
  // A new 32-bit bitmap of the cache's size with the form's current image; FreeCache frees
  // the cache after. Nil when there is no cache.
  virtual std::unique_ptr<vcl::TBitmap> StartMinAnimation(bool FreeCache) {
    (void)FreeCache;
    return nullptr;
  }
  // Builds and applies the window region from the skin's border mask.
  virtual void UpdateRgn() {}
  // A region of the provider's rectangles (the caller applies it); nil for none.
  virtual HRGN MakeRgn() { return nullptr; }
  virtual void UpdateTaskbarPreview(bool Flag) { (void)Flag; }
  // The form's measures and its window image's; all 0 (and no shadow) until a provider
  // answers its own.
  virtual const TqvProviderMeasures& Measures() const;
  virtual const TqvImageMeasures& WindowImage() const;
  // The minimise / restore animation: whether it may run, and running it to its end.
  virtual bool MinAnimAllowed() { return false; }
  virtual void MinAnimTimer() {}
  // The skinned system menu at a screen point, running the chosen command.
  virtual void DropSysMenu(vcl::TPoint Point) { (void)Point; }
};

// The skin manager's menu painter and its menu options.
class TsSkinableMenusBase {
 public:
  virtual ~TsSkinableMenusBase() = default;
  // A skin is about to be applied or taken away: what was measured from the skin before (the
  // popup frame's width, the popup backgrounds) is read anew.
  virtual void ResetPopupState() {}
};
class TqvMenuSupportBase : public vcl::TPersistent {
  VCL_CLASS(TqvMenuSupportBase, vcl::TPersistent)
 public:
  TqvMenuSupportBase() = default;
  // The section of the menus' icon line; the manager makes it "ICOLINE" when empty.
  virtual vcl::String IcoLineSkin() const { return {}; }
  virtual void SetIcoLineSkin(const vcl::String& Value) { (void)Value; }
};

class TLayeredFormServices {
 public:
  virtual ~TLayeredFormServices() = default;

  // The frame width: the skin's border width when skinned, else the system's for the style.
  virtual int SysBorderWidth(HWND Wnd, TqvBorderFormBase* BorderForm, bool Skinned) {
    (void)Wnd, (void)BorderForm, (void)Skinned;
    return 0;
  }
  virtual int SysCaptionHeight(HWND Wnd) {
    (void)Wnd;
    return 0;
  }
  virtual int SkinTitleHeight(TqvBorderFormBase* BorderForm) {
    (void)BorderForm;
    return 0;
  }
  virtual int SkinTitleHeight(TsSkinProviderBase* Provider) {
    (void)Provider;
    return 0;
  }
  virtual int SkinBorderWidth(TqvBorderFormBase* BorderForm) {
    (void)BorderForm;
    return 0;
  }
  virtual int BorderFormOffsetY(TqvBorderFormBase* BorderForm) {
    (void)BorderForm;
    return 0;
  }
  // Desktop composition is on (version 6 or later).
  virtual bool AeroIsEnabled() { return false; }
  // A provider's control adapter is freeing all of its adapter items at once (the form is
  // going): the adapters then leave their controls' colours and fonts as they are.
  virtual bool FreeingAllAdapterItems() { return false; }
  virtual void InvalidateIconicBitmaps(HWND Wnd) { (void)Wnd; }
  virtual HRESULT DwmSetWindowAttr(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size) {
    (void)Wnd, (void)Attribute, (void)Value, (void)Size;
    return E_NOTIMPL;
  }
  // Answers to the DWM's requests for a task-bar thumbnail and a live preview.
  virtual void SetIconicThumbnail(HWND Wnd, vcl::TSize Size) { (void)Wnd, (void)Size; }
  virtual void SetIconicLivePreview(HWND Wnd, vcl::TPoint Point) { (void)Wnd, (void)Point; }
  // A hidden layered tool form showing the window's current image (the caller frees it);
  // nil for none.
  virtual vcl::TCustomForm* CreateSnapshotForm(HWND Wnd) {
    (void)Wnd;
    return nullptr;
  }

  // The skin manager's menu objects (it owns them); nil for none.
  virtual std::unique_ptr<TsSkinableMenusBase> CreateSkinableMenus(TsSkinManager* Owner) {
    (void)Owner;
    return nullptr;
  }
  virtual std::unique_ptr<TqvMenuSupportBase> CreateMenuSupport() { return nullptr; }
  virtual void SetMenusSkinned(TsSkinableMenusBase* Menus, bool Value) { (void)Menus, (void)Value; }
  virtual void UpdateMenuFonts(TsSkinableMenusBase* Menus) { (void)Menus; }
  virtual void SetMenuOwnerDraw(TsSkinableMenusBase* Menus, vcl::TPopupMenu* Menu, bool Flag) {
    (void)Menus, (void)Menu, (void)Flag;
  }
  // A form's main menu hooked for its skinned menu line (or unhooked).
  virtual void HookMainMenu(TsSkinableMenusBase* Menus, vcl::TMainMenu* Menu, bool Value) {
    (void)Menus, (void)Menu, (void)Value;
  }
  // A single menu item hooked for skinned drawing (or unhooked).
  virtual void HookMenuItem(TsSkinableMenusBase* Menus, vcl::TMenuItem* Item, bool Value) {
    (void)Menus, (void)Item, (void)Value;
  }
  // A skinned popup-menu window ("#32768"): its region, and its extra line's rectangle (in
  // the window's coordinates; empty without one).
  virtual void SetMenuWndRgn(HWND MenuWnd) { (void)MenuWnd; }
  virtual vcl::TRect GetExtraLineRect(HWND MenuWnd) {
    (void)MenuWnd;
    return {};
  }
};

// Installs the form skinning's services (not owned; nil restores the do-nothing ones) and
// answers the ones installed before.
TLayeredFormServices* SetFormServices(TLayeredFormServices* Services);
TLayeredFormServices& FormServices();

}  // namespace skin_layered
