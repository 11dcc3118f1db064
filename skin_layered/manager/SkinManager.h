// TsSkinManager, the layered engine's centre: a component placed on a form that finds and
// loads skins (folders, packs, skins stored in the form, the skin editor's preview), keeps the
// loaded skin's tables, owns the option objects, and announces every change to all windows
// with the skin command message. The first manager made in the process is the default one:
// painting code without a manager of its own uses it, and only it hooks the application's
// main window (preview link, popup menus, task-bar requests) and, while a skin is active, the
// thread's window creation (system dialogs and popup menus get their adapters).
//
// A skin change runs: the forms' images saved, the skin loaded aside, the forms held still,
// scmNewSkin to every form and control, then scmBeforeRefresh and scmRefresh, and the forms
// let go (with the skin-changing animation). A load that fails leaves the previous skin, and
// its name, in place.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Menus.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Component.h"
#include "classlib/rtl/StringList.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/core/StoredSkins.h"
#include "skin_layered/core/ThirdPartyList.h"
#include "skin_layered/manager/ManagerUnit.h"
#include "skin_layered/manager/PreviewBlock.h"
#include "skin_layered/manager/SkinChangeForms.h"
#include "skin_layered/manager/SkinOptions.h"

namespace skin_layered {

inline constexpr wchar_t kManagerVersion[] = L"10.00";
inline constexpr wchar_t kDefaultSkinDirectory[] = L"c:\\Skins";
inline constexpr wchar_t kPackExtension[] = L"pmz";
inline constexpr wchar_t kNoSkinInfo[] = L"N/A";
inline constexpr wchar_t kIcoLineSection[] = L"ICOLINE";

// What GetSkinNames lists.
inline constexpr int kSkinFolders = 0;
inline constexpr int kSkinPacks = 1;
inline constexpr int kSkinFoldersAndPacks = 2;

class TqvLockedForms;

// How a load ended.
enum class TqvLoadResult { Loaded, NoSkin, Failed };

// Events of the form skinning and the adapters that the manager only stores.
using TqvManagerHandlerEvent = vcl::Event<void(vcl::TObject* Sender)>;

// What the application may change of a popup item being measured or painted: the canvas
// font (its colour, when changed, is the text's colour).
struct TqvMenuItemData {
  vcl::TFont* Font = nullptr;
};
// The extra line (the stripe at a popup menu's left) of the menu whose first item is
// FirstItem: its section, caption and glyph (a glyph given is taken over and freed by the
// menus), and whether it is shown.
using TqvGetExtraLineData =
    vcl::Event<void(vcl::TMenuItem* FirstItem, vcl::String& SkinSection, vcl::String& Caption,
                    std::unique_ptr<vcl::TBitmap>& Glyph, bool& LineVisible)>;
using TqvGetPopupItemData =
    vcl::Event<void(vcl::TMenuItem* Item, vcl::TOwnerDrawState State, TqvMenuItemData* ItemData)>;

class TsSkinManager : public vcl::TComponent,
                      public TqvDefaultManager,
                      public TqvSkinChangeManager,
                      public TqvOptionsOwner {
  VCL_CLASS(TsSkinManager, vcl::TComponent)
 public:
  // The first manager made becomes the default one and hooks the application's main window.
  explicit TsSkinManager(vcl::TComponent* AOwner);
  ~TsSkinManager() override;
  void AfterConstruction() override;
  void Loaded() override;
  void BeforeDestruction() override;

  // ---- published
  TqvSkinEffects* Effects() const { return effects_.get(); }
  void SetEffects(TqvSkinEffects* Value) { effects_->Assign(Value); }
  // True only when set and layered windows are available.
  bool ExtendedBorders() const;
  void SetExtendedBorders(bool Value);
  bool SkinnedPopups() const { return skinned_popups_; }
  void SetSkinnedPopups(bool Value);
  TqvAnimEffects* AnimEffects() const { return anim_effects_.get(); }
  void SetAnimEffects(TqvAnimEffects* Value) { anim_effects_->Assign(Value); }
  TqvButtonsSupport* ButtonsOptions() const { return buttons_options_.get(); }
  void SetButtonsOptions(TqvButtonsSupport* Value) { buttons_options_->Assign(Value); }
  // This manager is the default one. Setting False never clears the default; setting True
  // makes this one the default and announces its skin (or its lack of one).
  bool IsDefault() const;
  void SetIsDefault(bool Value);
  bool Active() const { return active_; }
  void SetActive(bool Value);
  // Extra section lines; on assignment every line not beginning with ";" loses its blanks and
  // the skin is loaded again.
  vcl::TStringList* CommonSections() const { return common_sections_.get(); }
  void SetCommonSections(vcl::TStringList* Value);
  int Brightness() const { return brightness_; }
  void SetBrightness(int Value);  // limited to -100..100
  int Saturation() const { return saturation_; }
  void SetSaturation(int Value);
  int HueOffset() const { return hue_offset_; }
  void SetHueOffset(int Value);
  TsStoredSkins* InternalSkins() const { return internal_skins_.get(); }
  void SetInternalSkins(TsStoredSkins* Value) { internal_skins_->Assign(Value); }
  TqvLabelsSupport* LabelsOptions() const { return labels_options_.get(); }
  void SetLabelsOptions(TqvLabelsSupport* Value) { labels_options_->Assign(Value); }
  // Nil while the form skinning provides none.
  TqvMenuSupportBase* MenuSupport() const { return menu_support_.get(); }
  void SetMenuSupport(TqvMenuSupportBase* Value);
  TqvOptions* Options() const { return options_.get(); }
  void SetOptions(TqvOptions* Value);
  TqvScrollBarsSupport* ScrollsOptions() const { return scrolls_options_.get(); }
  void SetScrollsOptions(TqvScrollBarsSupport* Value) { scrolls_options_->Assign(Value); }
  const vcl::String& SkinDirectory() const { return skin_directory_; }
  void SetSkinDirectory(const vcl::String& Value);
  const vcl::String& SkinName() const { return skin_name_; }
  // Loads the skin (a name ending in ".pmz" loads that pack and is kept without it).
  void SetSkinName(const vcl::String& Value);
  // The loaded skin's version ("." as separator), "N/A" while no skin is active.
  vcl::String SkinInfo() const;
  void SetSkinInfo(const vcl::String&) {}
  TqvSkinningRules SkinningRules() const { return skinning_rules_; }
  void SetSkinningRules(TqvSkinningRules Value);
  ThirdPartyList* ThirdParty() const { return third_party_.get(); }
  void SetThirdParty(ThirdPartyList* Value) { third_party_->Assign(Value); }
  // The run-time class-name lists of the adapter kinds (ThirdParty's text, a class per line).
  TqvClassNameLists* ClassNameLists() const { return class_lists_.get(); }
  vcl::String Version() const { return kManagerVersion; }
  void SetVersion(const vcl::String&) {}

  vcl::TNotifyEvent OnActivate;
  vcl::TNotifyEvent OnAfterChange;
  vcl::TNotifyEvent OnBeforeChange;
  vcl::TNotifyEvent OnDeactivate;
  vcl::TNotifyEvent OnSkinListChanged;
  vcl::TNotifyEvent OnSkinLoading;
  TqvGetExtraLineData OnGetMenuExtraLineData;
  TqvGetPopupItemData OnGetPopupItemData;
  TqvSysDlgInitEvent OnSysDlgInit;

  // ---- the loaded skin
  const TsLoadedSkin& Skin() const override { return skin_; }
  TsLoadedSkin& Skin() { return skin_; }
  bool StdGlyphsOrder() const override { return options_->StdGlyphsOrder(); }
  bool IsValidSkinIndex(int Index) const { return skin_.IsValidSkinIndex(Index); }
  bool IsValidImgIndex(int Index) const { return skin_.IsValidImgIndex(Index); }
  int GetSkinIndex(vcl::StringView Section) const { return skin_.GetSkinIndex(Section); }
  int GetMaskIndex(int SkinIndex, vcl::StringView Section, vcl::StringView Property) const {
    return skin_.GetMaskIndex(SkinIndex, Section, Property);
  }
  int GetTextureIndex(int SkinIndex, vcl::StringView Section, vcl::StringView Property) const {
    return skin_.GetTextureIndex(SkinIndex, Section, Property);
  }
  vcl::TColor GetGlobalColor() const { return skin_.GetGlobalColor(); }
  vcl::TColor GetGlobalFontColor() const { return skin_.GetGlobalFontColor(); }
  // The skin was loaded from a pack file.
  bool SkinIsPacked() const { return packed_; }
  // Blurred backgrounds behind see-through parts: allowed by the option and the skin's.
  bool AeroBlurApplies() const;

  // Names of the stored skins, then of the skin folders (a folder holding "Options.dat") and
  // packs (".pmz", the name up to its first ".") of the skin directory, as SkinTypes says;
  // FirstName is the first found in that order, List gets them sorted without repeats.
  void GetSkinNames(vcl::TStrings* List, int SkinTypes, vcl::String& FirstName) const;

  // ---- announcements
  void SendNewSkin(bool Repaint);
  void SendRemoveSkin();
  void RepaintForms(bool MakeSnapshot) override;
  void SendScrollsChanged() override;
  // True while preview data is applied: announcements wait for its end.
  bool HoldsBroadcast() const override { return hold_broadcast_; }
  // True while the skin is being removed.
  bool Removing() const { return removing_; }
  // Loading or being read from a form description.
  bool ComponentLoading() const override;
  bool Designing() const override;

  // ---- hot tracking
  void SetHotControl(vcl::TControl* Control);
  void SetHotWnd(HWND Handle);
  vcl::TControl* HotControl() const { return hot_control_; }
  HWND HotWnd() const { return hot_wnd_; }

  // ---- hooks (the default manager only)
  void InstallHooks();
  void UninstallHooks();
  bool HooksInstalled() const { return cbt_hook_ != nullptr; }
  bool MainWindowHooked() const { return main_window_hooked_; }
  // The application window's messages (preview link, menus, task bar); true when handled.
  bool MainWindowHook(vcl::TMessage& Message);
  // The last preview block taken in.
  const TqvPreviewBlock& PreviewData() const { return preview_; }
  // The skin editor's data (a whole block with the magic) taken as the preview block; false
  // keeps the block before.
  bool TakePreviewData(const void* Data, std::size_t Size) { return ReadPreviewBlock(Data, Size, preview_); }

  // ---- extended borders: the form shadows and their margins (empty without them)
  vcl::TBitmap* FormShadow(bool Active) const { return Active ? shadow_active_.get() : shadow_inactive_.get(); }
  const vcl::TRect& ShadowMargins() const { return shadow_margins_; }

  TsSkinableMenusBase* SkinableMenus() const { return skinable_menus_.get(); }

  // ---- TqvSkinChangeManager
  bool IsDefaultManager() const override;
  bool DesigningOrLoading() const override;
  TqvSkinChangeAnimation SkinChanging() const override;
  bool UsesProvider(const TsSkinProviderBase& Provider) const override;
  void UpdateLayeredWnd(HWND Wnd, vcl::TBitmap& Bmp, std::uint8_t Alpha) override;

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  // The steps of SetSkinName once the name is stored.
  void ChangeSkin(const vcl::String& PreviousName);
  // Loads SkinName (a pack when its file exists, else the preview text, folder or stored
  // skin) into the tables. Anything but Loaded leaves the tables as they were.
  TqvLoadResult LoadCurrentSkin();
  // The skin loaded anew as it is named (a failure keeps it as it was).
  void ReloadCurrent();
  // A parameter changed: the skin is loaded again and the forms repainted.
  void ReloadSkin();
  void RepaintForms(bool MakeSnapshot, TqvLockedForms* Locked);
  void PrepareShadows();
  void FreeSkinImages();
  void UpdateDialogsFlag();
  void DefaultMenuSection();
  void StoredSkinsChanged(vcl::TObject* Sender);
  void ApplyPreview();
  // The application window's messages by kind (MainWindowHook); true when handled.
  bool OnMainCopyData(const vcl::TMessage& Message);
  bool OnMainSkinCommand(const vcl::TMessage& Message);
  bool OnMainSysCommand(const vcl::TMessage& Message);
  bool OnMainTaskbarMenu();
  bool OnMainIconicRequest(const vcl::TMessage& Message);
  bool OnMainActivate();
  bool OnMainMenuPopup(const vcl::TMessage& Message);
  void BecomeDefault();
  void HookMainWindow();
  void UnhookMainWindow();

  std::unique_ptr<TqvSkinEffects> effects_;
  std::unique_ptr<TqvAnimEffects> anim_effects_;
  std::unique_ptr<TqvButtonsSupport> buttons_options_;
  std::unique_ptr<TqvLabelsSupport> labels_options_;
  std::unique_ptr<TqvOptions> options_;
  std::unique_ptr<TqvScrollBarsSupport> scrolls_options_;
  std::unique_ptr<TsSkinableMenusBase> skinable_menus_;
  std::unique_ptr<TqvMenuSupportBase> menu_support_;
  std::unique_ptr<TsStoredSkins> internal_skins_;
  std::unique_ptr<vcl::TStringList> common_sections_;
  std::unique_ptr<ThirdPartyList> third_party_;
  std::unique_ptr<TqvClassNameLists> class_lists_;

  bool extended_borders_ = false;
  bool skinned_popups_ = true;
  bool active_ = true;
  int brightness_ = 0;
  int saturation_ = 0;
  int hue_offset_ = 0;
  vcl::String skin_directory_;
  vcl::String skin_name_;
  TqvSkinningRules skinning_rules_{srStdForms, srStdDialogs, srThirdParty};

  TsLoadedSkin skin_;
  bool packed_ = false;
  vcl::TControl* hot_control_ = nullptr;
  HWND hot_wnd_ = nullptr;
  HHOOK cbt_hook_ = nullptr;
  bool main_window_hooked_ = false;
  bool hold_broadcast_ = false;
  bool removing_ = false;
  bool in_copy_data_ = false;
  TqvPreviewBlock preview_;
  std::unique_ptr<vcl::TBitmap> shadow_active_;
  std::unique_ptr<vcl::TBitmap> shadow_inactive_;
  vcl::TRect shadow_margins_;
};

// The width of a vertical scroll bar for controls of the manager: its ScrollSize when not
// negative, else (and without a manager) SM_CXVSCROLL.
int GetScrollWidth(const TsSkinManager* Manager);
// The larger of SM_CXVSCROLL and that width.
int GetLargestScrollWidth(const TsSkinManager* Manager);


// The default manager (the first one made), nil when there is none.
TsSkinManager* DefaultSkinManager();
// True while a new skin is announced (scmNewSkin on its way).
bool SkinIsUpdating();
// System dialogs stay unskinned: true unless the default manager is active with srStdDialogs.
bool SystemDialogsNotSkinned();
// The skin editor's preview is being shown.
bool PreviewMode();
// The editor's option text while its preview is applied, else nil.
const vcl::TStrings* PreviewLines();

// The application-level callbacks (ManagerUnit.h); each setter answers the one before.
TqvSkinActiveProc SetSkinActiveCallback(TqvSkinActiveProc Proc);
TqvSkinChangedProc SetSkinChangedCallback(TqvSkinChangedProc Proc);

// The task-bar preview switch: while it is on, forms answer the task bar's requests for
// thumbnails and live previews with their skinned images.
bool TaskbarPreviewSwitch();
void SetTaskbarPreviewSwitch(bool Value);
// A window's iconic-bitmap attribute (attribute 10, else 7) set to Flag while the switch is
// on, and its iconic bitmaps invalidated.
void SetTaskbarPreview(HWND Wnd, bool Flag);

}  // namespace skin_layered
