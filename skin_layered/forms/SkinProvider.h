// TsSkinProvider, the layered engine's form skinning: the component a form owns to be skinned.
// It puts its NewWndProc in front of the form's WindowProc (a chained hook: two providers, or
// the provider and another engine, come and go in any order), keeps the form's skin data
// (section "FORM"), owns the title objects, and routes every message of the form: while the
// form is skinned, the messages of the frame go to the provider's handlers and the engine's
// command message to its answers; otherwise all but a few go straight to the form.
//
// The handlers of the form's messages (the frame's mouse aside) and of the command message are
// the nested TMessages (ProviderMessages.h). The provider's work is grouped by what it serves,
// one source file each:
//   SkinProvider.cpp          creation, takeover, Loaded, Notification, destruction
//   ProviderDispatch.cpp      NewWndProc and the answers to the command message
//   ProviderRegion.cpp        the form snapshot, the non-client repaint, the title cover and
//                             the task-bar pictures
//   ProviderGeometry.cpp      the properties that change the frame, the skin's title indexes,
//                             the menus' answers and the geometry messages
//   ProviderWindowImage.cpp   the non-client painting
//   ProviderWindowState.cpp   activation, showing, moving and sizing
//   ProviderFormMessages.cpp  system commands and the form's other messages
//   ProviderMenuMessages.cpp  the form's menus prepared for the skinned menus
//   ProviderPaintMessages.cpp the painting messages and printing
//   ProviderGlued.cpp         glued forms moving along and snapping to edges (FormGlue.h)
//   ProviderAnimations.cpp    the base's minimise animation run by the animator
//                             (FormAnimator.h) and the watch on the provider (TWatch)
//   ProviderBorderOwner.cpp   the answers to the border form (MakeBorderOwner)
//   ProviderWindowImageHost.cpp  the answers to the window image (MakeWindowImageHost)
//   ProviderRegionHost.cpp    the answers to the window region (MakeRegionHost)
//   ProviderFrameMouseHost.cpp   the answers to the frame's mouse (MakeFrameMouseHost)
//   ProviderCaptionHosts.cpp  the answers to the caption's buttons, text and items
//   ProviderMenusHost.cpp     the answers to the form's menus and the skinned system menu
//                             (MakeMenusHost)
//   ProviderAdaptersHost.cpp  the answers to the form's adapters (MakeAdaptersHost)
//   ProviderAnimatorHost.cpp  the answers to the animator (MakeAnimatorHost)
// The window image (rebuilt while stale, its measures, the frame strips and the client
// background painted from it) is TqvWindowImage (WindowImage.h). The partners, and the layers
// below through the provider base, read the form's measures and the window image's from those
// two objects (Measures(), WindowImage()).
// The skinned system menu is TsSystemMenu (SystemMenu.h); the skinned menus are TsSkinableMenus
// (SkinableMenus.h); the title bar component is TsTitleBar (TitleBar.h), its items on the
// caption TqvCaptionItems (CaptionItems.h); the title-bar buttons are TqvCaptionButtons
// (CaptionButtons.h), the caption's text TqvCaptionText (CaptionText.h); the window region is
// TqvFormRegion (FormRegion.h), hit testing and the mouse on the frame TqvFrameMouse
// (FrameMouse.h), the labels' and the client's colours from the skin TqvLabelColors
// (LabelColors.h), the control adapter and an MDI frame's client object TqvFormAdapters
// (FormAdapters.h), the form's measures read from the skin and its window TqvFormMeasures
// (FormMeasures.h), the skinned system menu and the form's menus hooked for skinned drawing
// TqvFormMenus (FormMenus.h). The published settings that are plain values are its base
// TqvProviderOptions' (ProviderOptions.h).
// A handler not built yet passes its message to the form's own procedure (CallOldWndProc).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/controls/Timer.h"
#include "classlib/controls/WindowEvents.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Lifetime.h"
#include "classlib/rtl/StringList.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/CaptionHitCodes.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SystemMessages.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/CaptionButtons.h"
#include "skin_layered/forms/CaptionItems.h"
#include "skin_layered/forms/CaptionText.h"
#include "skin_layered/forms/FormAdapters.h"
#include "skin_layered/forms/FormAnimator.h"
#include "skin_layered/forms/FormMenus.h"
#include "skin_layered/forms/FormGlue.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormRegion.h"
#include "skin_layered/forms/FormScrollBars.h"
#include "skin_layered/forms/FrameMouse.h"
#include "skin_layered/forms/LabelColors.h"
#include "skin_layered/forms/ProviderOptions.h"
#include "skin_layered/forms/SkinEditorLink.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/TitleCover.h"
#include "skin_layered/forms/TitleElements.h"
#include "skin_layered/forms/WindowImage.h"
#include "skin_layered/paint/TextEffects.h"

namespace vcl {
class TCustomLabel;
}

namespace skin_layered {

class TsSkinManager;
class TsScrollWndData;
class TsSystemMenu;
class TqvCtrlAdapter;
class TsMDIForm;
class TsTitleBar;
class TqvTitleBarItem;
struct TqvSkinParams;

VCL_ENUM(TqvAnimEvent, aeShowing, aeHiding, aeSkinChanging)
using enum TqvAnimEvent;

// Lets the application change the border form's hit-test answer.
using TqvNCHitTestEvent = vcl::Event<void(vcl::TMessage& Msg)>;

// The tag bit of the window menu's items the provider added (one per MDI child).
inline constexpr intptr_t kProviderMenuItemTag = 0x200;
// The control type code of a form's skin data.
inline constexpr int kFormControlCode = 224;

inline constexpr wchar_t kFormsOnlyMessage[] = L"TsSkinProvider component may be used with forms only!";
inline constexpr wchar_t kOneProviderMessage[] = L"Only one instance of the TsSkinProvider component is allowed!";

// A form's state as recorded for its next show.
enum class TqvShowState : std::uint8_t { None, Normal, Minimized, Maximized };

// Bits of ExtFlags.
// 0x1 is the frame mouse's kExtBorderSizing.
// 0x80, 0x100 and 0x400 are the animator's kExtBlendMoving, kExtMinimizing and kExtRestoring.
inline constexpr std::uint32_t kExtHiding = 0x200;          // hide animation running
inline constexpr std::uint32_t kExtTaskbarPicture = 0x800;  // a task-bar picture is being made
inline constexpr std::uint32_t kExtSkinChanging = 0x1000;   // skin-change animation running
// 0x2000 and 0x4000 are the border form's kBorderStretchedHeight and kBorderStretchedWidth.
inline constexpr std::uint32_t kExtActivating = 0x8000;
// 0x20000 is the form scroll bars' kExtScrollAdapter.
inline constexpr std::uint32_t kExtGlued = 0x40000;
inline constexpr std::uint32_t kExtSysCommand = 0x80000;
// A form animation of the provider is running.
inline constexpr std::uint32_t kExtAnimations = kExtMinimizing | kExtHiding | kExtRestoring | kExtSkinChanging;

// The glue of a form's provider; nil for a form without one.
TqvFormGlue* FormGlueOf(vcl::TCustomForm* Form);

class TsSkinProvider;
// The provider's answers to its window image, its window region, the mouse on its frame, the
// caption's objects, its menus, its animator and its form's adapters.
std::unique_ptr<TqvWindowImageHost> MakeWindowImageHost(TsSkinProvider& Provider);
std::unique_ptr<TqvFormRegionHost> MakeRegionHost(TsSkinProvider& Provider);
std::unique_ptr<TqvFrameMouseHost> MakeFrameMouseHost(TsSkinProvider& Provider);
std::unique_ptr<TqvCaptionButtonsHost> MakeCaptionButtonsHost(TsSkinProvider& Provider);
std::unique_ptr<TqvCaptionTextHost> MakeCaptionTextHost(TsSkinProvider& Provider);
std::unique_ptr<TqvCaptionItemsHost> MakeCaptionItemsHost(TsSkinProvider& Provider);
std::unique_ptr<TqvFormMenusHost> MakeMenusHost(TsSkinProvider& Provider);
std::unique_ptr<TqvAnimatorHost> MakeAnimatorHost(TsSkinProvider& Provider);
std::unique_ptr<TqvFormAdaptersHost> MakeAdaptersHost(TsSkinProvider& Provider);

class TsSkinProvider : public TqvProviderOptions,
                       public TqvTitleOwner,
                       public TqvTitleBarHost,
                       public TqvLabelColorsHost,
                       public TqvFormMeasuresHost {
  VCL_CLASS(TsSkinProvider, TsSkinProviderBase)
 public:
  // AOwner must be a form (else EAbort). A provider that is not designed, and found no other
  // provider answering for a designed form, hooks the form at once.
  explicit TsSkinProvider(vcl::TComponent* AOwner);
  // A provider the library attaches to a form without one (the dialog hook).
  static TsSkinProvider* CreateEx(vcl::TComponent* AOwner);
  ~TsSkinProvider() override;
  void AfterConstruction() override;
  void Loaded() override;

  // ---- published (the plain values are TqvProviderOptions'; these setters repaint)
  TqvAddedTitle* AddedTitle() const { return added_title_.get(); }
  void SetAddedTitle(TqvAddedTitle* Value) { added_title_->Assign(Value); }
  // Unless loading or designed: the border form decided again and the frame redrawn.
  void SetAllowExtBorders(bool Value);
  void SetCaptionAlignment(vcl::TAlignment Value);
  bool GetDrawNonClientArea() const { return DrawNonClientArea; }
  // On: the frame painted from the skin (WS_SYSMENU taken away); off: the system's frame, its
  // caption buttons and no window region.
  void SetDrawNonClientArea(bool Value);
  vcl::TStringList* GluedForms() const { return glue_.Names(); }
  void SetGluedForms(vcl::TStringList* Value) { glue_.Names()->Assign(Value); }
  TsScrollWndData* GetSkinData() const { return SkinData; }
  void SetSkinData(TsScrollWndData* Value);
  void SetMenuLineSkin(const vcl::String& Value);
  bool ScreenSnap() const { return glue_.ScreenSnap; }
  void SetScreenSnap(bool Value) { glue_.ScreenSnap = Value; }
  int SnapBuffer() const { return glue_.SnapBuffer; }
  void SetSnapBuffer(int Value) { glue_.SnapBuffer = Value; }
  void SetShowAppIcon(bool Value);
  TqvSysSubMenu* SysSubMenu() const { return sys_sub_menu_.get(); }
  void SetSysSubMenu(TqvSysSubMenu* Value) { sys_sub_menu_->Assign(Value); }
  // The title bar component shown in the caption; nil for none.
  TsTitleBar* TitleBar() const override { return title_bar_; }
  void SetTitleBar(TsTitleBar* Value) override;
  TsTitleButtons* TitleButtons() const { return title_buttons_.get(); }
  void SetTitleButtons(TsTitleButtons* Value) { title_buttons_->Assign(Value); }
  TsTitleIcon* TitleIcon() const override { return title_icon_.get(); }
  void SetTitleIcon(TsTitleIcon* Value) { title_icon_->Assign(Value); }
  void SetTitleSkin(const vcl::String& Value);
  void SetUseGlobalColor(bool Value);

  TqvNCHitTestEvent OnExtHitTest;
  TAddItemEvent OnSkinItem;
  TAddItemExEvent OnSkinItemEx;

  // ---- what the partners ask of the provider (their interfaces)
  void TitleObjectChanged(bool WhileDesigned) override;
  vcl::TPersistent* TitleOwnerObject() override { return this; }
  TsSystemMenu* CurrentSystemMenu() const override { return menus_.SystemMenu(); }
  TsSkinProviderBase* FrameProvider() override { return this; }
  bool MaximizedBorderLarge() const override { return MaxBorderLarge; }
  // The client background was painted: controls asked to be repainted after it are now.
  void ClientPainted();

  // ---- state the form skinning shares
  bool AutoCreated = false;    // attached by the library; cleared when it prepares the form
  bool OtherProvider = false;  // another provider answers for the designed form: stay passive
  bool FormActive = false;     // the caption's state (0 inactive, 1 active)
  bool AeroAtStart = false;    // composition was on when the provider was made
  int TitleSkinIndex = -1;     // of TitleSkin (or "FORMTITLE"); -1: look up again
  int CaptionIndex = -1;       // of "CAPTION"; -1: look up again
  int MenuLineCount = -1;      // main-menu lines; -1: count again
  std::uint32_t ExtFlags = 0;  // kExt* bits
  // The top and height (Top, Bottom), or the left and width (Left, Right), the form had before
  // a double click on its frame stretched it over the work area (ExtFlags 0x2000, 0x4000): kept
  // with those bits, whatever border form comes and goes meanwhile.
  vcl::TRect StretchSaved;
  bool MaxBorderLarge = false;
  // The form's state when its owner last closed (the system hid the form with it), for the
  // next show.
  TqvShowState ShowState = TqvShowState::None;
  bool Frozen = false;         // an animation shows a snapshot in place of the form
  bool MinimizingFromMenu = false;  // a minimise chosen in the skinned system menu runs
  bool Printing = false;       // a WM_PRINT of the form runs
  // ---- the title (image coordinates)
  // The title-bar buttons' records, the icon's place and the caption's centre line.
  TqvCaptionButtons& CaptionButtons() const { return *caption_buttons_; }
  TqvCaptionText& CaptionText() const { return *caption_text_; }

  // The border form when extended borders are in force; nil otherwise (the base's BorderForm
  // points at it too).
  TqvBorderForm* ExtBorderForm() const override { return dynamic_cast<TqvBorderForm*>(BorderForm); }

  // ---- the window procedure
  // The form's window procedure while hooked.
  void NewWndProc(vcl::TMessage& Message);
  // Passes the message to what the provider found in front of the form.
  void CallOldWndProc(vcl::TMessage& Message);
  // The provider's hook is in place.
  bool Hooked() const { return hook_.Installed(); }
  // The form counts as skinned: not being destroyed, and its skin data skinned (an inactive
  // skin counts).
  bool FormSkinned() const;
  // The message passed straight to NewWndProc; answers its result.
  LRESULT SendToProvider(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  TsSkinManager* SkinManager() const override;
  // A watch on the provider and the form's window, taken before anything that may process
  // messages (a wait, a command that closes the form): true afterwards while the provider
  // lives and its form still has the window it had then. Nothing of the provider or the form
  // is touched after such a call unless it is.
  class TWatch;
  TWatch Watch() const;

  // ---- the form's measures read from the skin and its window (FormMeasures.h): the partners
  // read them there, and the window image's on WindowImage()
  const TqvFormMeasures& Measures() const override { return measures_; }

  // Re-reads what depends on the skin: the system menu, the title indexes and the title
  // buttons' glyphs.
  void InitMenuItems();
  // Frees the glow animations of the title's buttons and items.
  void KillAnimations();
  // Creates, updates or frees the border form (extended borders).
  void InitExBorders(bool AllowExtended);
  void FullRedraw();
  void DropSysMenu(vcl::TPoint Point) override { menus_.DropSysMenu(Point); }
  // The form's menus and the skinned system menu (FormMenus.h).
  TqvFormMenus& Menus() { return menus_; }
  // Gets the form ready for skinning: transitions, title indexes, adapters, button glyphs.
  void PrepareForm();
  // The control adapter and an MDI frame's client object (FormAdapters.h).
  TqvFormAdapters& Adapters() { return adapters_; }
  // The labels' and the client's colours from the skin (LabelColors.h).
  TqvLabelColors& LabelColors() { return label_colors_; }

  // ---- the window region (FormRegion.h); snapshot, non-client repaint (ProviderRegion.cpp)
  TqvFormRegion& Region() { return region_; }
  HRGN MakeRgn() override { return region_.MakeRgn(0, 0); }
  void UpdateRgn() override { region_.UpdateFormRgn(true); }
  void RefreshNonClient();
  // The whole window image with the client area painted in; nil without a cached image.
  std::unique_ptr<vcl::TBitmap> FormSnapshot(bool FreeCache);
  // The title cover (TitleCover.h) laid over the frame where it would flicker, or taken away.
  void ShowAnimForm();
  void HideAnimForm() { title_cover_.Hide(); }
  vcl::TForm* TitleCover() const { return title_cover_.Shown(); }

  // ---- the form's animations: the animator's (FormAnimator.h), and the base's minimise
  // animation run through it (ProviderAnimations.cpp)
  TqvFormAnimator& Animator() { return animator_; }
  bool MinAnimAllowed() override;
  void MinAnimTimer() override;
  std::unique_ptr<vcl::TBitmap> StartMinAnimation(bool FreeCache) override { return FormSnapshot(FreeCache); }
  // Runs Call under a Watch: false when the provider or its form's window did not outlive it.
  bool Watched(const std::function<void()>& Call);

  // ---- the window image (WindowImage.h), and the image onto the window
  // (ProviderWindowImage.cpp)
  TqvWindowImage& WindowImage() { return window_image_; }
  const TqvWindowImage& WindowImage() const override { return window_image_; }
  // Rebuilds the image when stale.
  void PaintAll() override { window_image_.PaintAllImage(); }
  // The WM_NCPAINT painter: the frame strips of the image onto the window.
  void PaintNonClient();

  // ---- the frame's mouse (FrameMouse.h), the buttons' glow it starts (TitleButtonGlow.cpp)
  // and the title bar's items on the caption (CaptionItems.h)
  TqvFrameMouse& FrameMouse() { return frame_mouse_; }
  bool StartButtonGlow(int HitCode, bool ToHot);
  TqvCaptionItems& CaptionItems() const { return *caption_items_; }

  // ---- glued forms and snapping: the glue's (FormGlue.h), unless this form is being moved
  // by its master's (ProviderGlued.cpp)
  TqvFormGlue& Glue() { return glue_; }
  void UpdateGluedForms();
  void MoveGluedForms(bool WithBorderForm);
  void SnapToForms(int& X, int& Y);
  vcl::TRect AdjustForBorderForm(vcl::TRect R, bool Grow);

  // ---- the form's own scroll bars (FormScrollBars.h)
  TqvFormScrollBars& ScrollBars() override { return scroll_bars_; }
  void UpdateScrollAdapter() { scroll_bars_.Update(); }
  // WM_SETREDRAW locks not yet undone (a switch-off raises it, a switch-on lowers it, never
  // below 0).
  int RedrawLockCount() const { return redraw_locks_; }

  // An MDI child's item of the window menu: that child becomes the active one.
  void MDIChildItemClick(vcl::TObject* Sender);

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  // The handlers of the form's messages and of the command message (ProviderMessages.h).
  struct TMessages;

  // The owner checked (a form; in design one provider only) before anything is built.
  static vcl::TComponent* CheckedOwner(vcl::TComponent* AOwner);
  void TakeOver();
  // The skin arrives while the form is not skinned.
  void SkinArrived();
  // The window-lifetime notices: the form's own window made while skinned (the skin's arrival
  // it missed without a window), and controls of the form whose windows come later.
  void WindowEvent(vcl::TWinControl* Control, vcl::TWindowEvent What);
  // A form that has its window while the skin is there, but never heard of the skin's arrival
  // (the announcement reaches forms by their windows): the skin arrives now.
  void ArriveIfMissed();

  vcl::TLifetime lifetime_;
  vcl::TWindowProcHook hook_;
  std::unique_ptr<vcl::TWindowEventLink> window_events_;
  TqvLabelColors label_colors_{*this};
  TqvFormMeasures measures_{*this, *this, TitleSkinIndex, MenuLineCount};
  std::unique_ptr<TqvFormMenusHost> menus_host_ = MakeMenusHost(*this);
  TqvFormMenus menus_{*menus_host_};
  std::unique_ptr<TqvFormAdaptersHost> adapters_host_ = MakeAdaptersHost(*this);
  TqvFormAdapters adapters_{*adapters_host_};
  TqvTitleCover title_cover_{*this};
  std::unique_ptr<TqvAnimatorHost> animator_host_ = MakeAnimatorHost(*this);
  TqvFormAnimator animator_{*this, *animator_host_, ExtFlags, this};
  std::unique_ptr<TqvAddedTitle> added_title_;
  std::unique_ptr<TsTitleIcon> title_icon_;
  std::unique_ptr<TsTitleButtons> title_buttons_;
  std::unique_ptr<TqvSysSubMenu> sys_sub_menu_;
  TqvFormGlue glue_{*this, &FormGlueOf};
  std::unique_ptr<TqvFormRegionHost> region_host_ = MakeRegionHost(*this);
  TqvFormRegion region_{*region_host_};
  std::unique_ptr<TqvFrameMouseHost> frame_mouse_host_ = MakeFrameMouseHost(*this);
  TqvFrameMouse frame_mouse_{*frame_mouse_host_, ExtFlags};
  std::unique_ptr<TsScrollWndData> skin_data_;
  // Made at takeover: a bitmap whose canvas stays locked, and an empty 32-bit work bitmap.
  std::unique_ptr<vcl::TBitmap> temp_bmp_;
  std::unique_ptr<vcl::TBitmap> work_bmp_;

  int redraw_locks_ = 0;
  TqvFormScrollBars scroll_bars_{*this, ExtFlags};
  // The client size the last WM_SIZE gave.
  vcl::TSize last_client_size_{-1, -1};
  // Child controls asked to be repainted after the next client paint.
  bool repaint_children_ = false;

  TsTitleBar* title_bar_ = nullptr;
  std::unique_ptr<TqvCaptionItemsHost> caption_items_host_ = MakeCaptionItemsHost(*this);
  std::unique_ptr<TqvCaptionButtonsHost> caption_buttons_host_ = MakeCaptionButtonsHost(*this);
  std::unique_ptr<TqvCaptionTextHost> caption_text_host_ = MakeCaptionTextHost(*this);
  std::unique_ptr<TqvCaptionItems> caption_items_ = std::make_unique<TqvCaptionItems>(*caption_items_host_);
  std::unique_ptr<TqvCaptionButtons> caption_buttons_ = std::make_unique<TqvCaptionButtons>(*caption_buttons_host_);
  std::unique_ptr<TqvCaptionText> caption_text_ = std::make_unique<TqvCaptionText>(*caption_text_host_);
  std::unique_ptr<TqvWindowImageHost> window_image_host_ = MakeWindowImageHost(*this);
  TqvWindowImage window_image_{*window_image_host_};
};

class TsSkinProvider::TWatch {
 public:
  explicit operator bool() const;

 private:
  friend class TsSkinProvider;
  explicit TWatch(const TsSkinProvider& Provider);
  vcl::TLifetime::TWatch alive_;
  const TsSkinProvider* provider_;
  HWND wnd_;
};

inline TsSkinProvider::TWatch TsSkinProvider::Watch() const { return TWatch(*this); }

// ---- process-wide state of the provider unit
// A title element was pressed and the button is not released yet (one in the process).
bool TitleButtonPressed();
void SetTitleButtonPressed(bool Value);
// A shutdown was announced (WM_QUERYENDSESSION).
bool ProviderShuttingDown();
// The window that shows an MDI frame's child buttons during a menu loop ("qvMDIIcons"); nil
// outside one.
vcl::TForm* MdiIconsForm();
// Frees that window when it shows Provider's buttons.
void ReleaseMdiIcons(const TsSkinProvider* Provider);
// The process's link to the skin editor.
TqvSkinEditorLink& SkinEditorLink();
// The provider of the application's MDI frame form, or nil.
TsSkinProvider* MDIProvider();
void SetMDIProvider(TsSkinProvider* Provider);
// While on, the caption text gets its glow only from skins of a version above 7.5 (older
// skins gave their captions glow sizes meant for other painting); off at start.
bool CaptionGlowNewSkinsOnly();
void SetCaptionGlowNewSkinsOnly(bool Value);

// The provider's answers to its border form.
std::unique_ptr<TqvBorderOwner> MakeBorderOwner(TsSkinProvider& Provider);

// Answers the task bar's requests (WM_DWMSENDICONICTHUMBNAIL, WM_DWMSENDICONICLIVEPREVIEWBITMAP)
// with the skinned picture of the provider's form; false when the system keeps its own.
bool SetIconicThumbnail(HWND Wnd, TsSkinProvider* Provider, int MaxWidth, int MaxHeight);
bool SetIconicLivePreview(HWND Wnd, TsSkinProvider* Provider);

}  // namespace skin_layered
