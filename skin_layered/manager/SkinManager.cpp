#include "skin_layered/manager/SkinManager.h"

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <optional>
#include <utility>
#include <vector>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/core/SkinDialogs.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/manager/ManagerUnit.h"
#include "skin_layered/manager/SkinReader.h"
#include "skin_layered/manager/SysColors.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {

using vcl::String;

VCL_CLASS_INFO(TsSkinManager) {
  p.Object<&TsSkinManager::Effects, &TsSkinManager::SetEffects>(L"Effects", TqvSkinEffects::StaticClass());
  p.Bool<&TsSkinManager::ExtendedBorders, &TsSkinManager::SetExtendedBorders>(L"ExtendedBorders", false);
  p.Bool<&TsSkinManager::SkinnedPopups, &TsSkinManager::SetSkinnedPopups>(L"SkinnedPopups", true);
  p.Object<&TsSkinManager::AnimEffects, &TsSkinManager::SetAnimEffects>(L"AnimEffects", TqvAnimEffects::StaticClass());
  p.Object<&TsSkinManager::ButtonsOptions, &TsSkinManager::SetButtonsOptions>(L"ButtonsOptions",
                                                                            TqvButtonsSupport::StaticClass());
  p.Bool<&TsSkinManager::IsDefault, &TsSkinManager::SetIsDefault>(L"IsDefault", true);
  p.Bool<&TsSkinManager::Active, &TsSkinManager::SetActive>(L"Active", true);
  p.Object<&TsSkinManager::CommonSections, &TsSkinManager::SetCommonSections>(L"CommonSections",
                                                                            vcl::TStringList::StaticClass());
  p.Integer<&TsSkinManager::Brightness, &TsSkinManager::SetBrightness>(L"Brightness", 0);
  p.Integer<&TsSkinManager::Saturation, &TsSkinManager::SetSaturation>(L"Saturation", 0);
  p.Integer<&TsSkinManager::HueOffset, &TsSkinManager::SetHueOffset>(L"HueOffset", 0);
  p.Object<&TsSkinManager::InternalSkins, &TsSkinManager::SetInternalSkins>(L"InternalSkins",
                                                                          TsStoredSkins::StaticClass());
  p.Object<&TsSkinManager::LabelsOptions, &TsSkinManager::SetLabelsOptions>(L"LabelsOptions",
                                                                          TqvLabelsSupport::StaticClass());
  p.Object<&TsSkinManager::MenuSupport, &TsSkinManager::SetMenuSupport>(L"MenuSupport",
                                                                      TqvMenuSupportBase::StaticClass());
  p.Object<&TsSkinManager::Options, &TsSkinManager::SetOptions>(L"Options", TqvOptions::StaticClass());
  p.Object<&TsSkinManager::ScrollsOptions, &TsSkinManager::SetScrollsOptions>(L"ScrollsOptions",
                                                                            TqvScrollBarsSupport::StaticClass());
  p.String<&TsSkinManager::SkinDirectory, &TsSkinManager::SetSkinDirectory>(L"SkinDirectory");
  p.String<&TsSkinManager::SkinName, &TsSkinManager::SetSkinName>(L"SkinName");
  p.String<&TsSkinManager::SkinInfo, &TsSkinManager::SetSkinInfo>(L"SkinInfo").Stored = [](const vcl::TObject*) {
    return false;
  };
  p.Set<&TsSkinManager::SkinningRules, &TsSkinManager::SetSkinningRules>(
      L"SkinningRules", TqvSkinningRules{srStdForms, srStdDialogs, srThirdParty}.ToInt());
  p.Object<&TsSkinManager::ThirdParty, &TsSkinManager::SetThirdParty>(L"ThirdParty", ThirdPartyList::StaticClass());
  p.String<&TsSkinManager::Version, &TsSkinManager::SetVersion>(L"Version").Stored = [](const vcl::TObject*) {
    return false;
  };
  p.Event<&TsSkinManager::OnActivate>(L"OnActivate");
  p.Event<&TsSkinManager::OnAfterChange>(L"OnAfterChange");
  p.Event<&TsSkinManager::OnBeforeChange>(L"OnBeforeChange");
  p.Event<&TsSkinManager::OnDeactivate>(L"OnDeactivate");
  p.Event<&TsSkinManager::OnGetMenuExtraLineData>(L"OnGetMenuExtraLineData");
  p.Event<&TsSkinManager::OnGetPopupItemData>(L"OnGetPopupItemData");
  p.Event<&TsSkinManager::OnSkinListChanged>(L"OnSkinListChanged");
  p.Event<&TsSkinManager::OnSkinLoading>(L"OnSkinLoading");
  p.Event<&TsSkinManager::OnSysDlgInit>(L"OnSysDlgInit");
}

namespace {

bool EndsWithPack(const String& Name) {
  if (Name.size() <= 4) return false;
  String ext = Name.substr(Name.size() - 4);
  for (wchar_t& c : ext) c = static_cast<wchar_t>(std::towlower(c));
  return ext == L".pmz";
}

void Fire(const vcl::TNotifyEvent& Event, vcl::TObject* Sender) {
  if (Event) Event(Sender);
}

// A flag set for a scope, put back at its end whatever the exit.
[[nodiscard]] auto FlagScope(bool& Flag, bool Value) {
  return vcl::TScopeExit([&Flag, previous = std::exchange(Flag, Value)] { Flag = previous; });
}

}  // namespace

// The forms held still for an announcement are let go on every exit: with the animation when
// the announcement went through, without when it failed.
class TqvLockedForms {
 public:
  TqvLockedForms(TsSkinManager& Manager, bool Lock) : manager_(Manager), locked_(Lock) {
    if (locked_) LockForms(manager_);
  }
  ~TqvLockedForms() {
    if (locked_) UnlockForms(manager_, 0);
  }
  TqvLockedForms(const TqvLockedForms&) = delete;
  TqvLockedForms& operator=(const TqvLockedForms&) = delete;
  void Unlock(int Animate) {
    if (!locked_) return;
    locked_ = false;
    UnlockForms(manager_, Animate);
  }

 private:
  TsSkinManager& manager_;
  bool locked_;
};

namespace {

// A frame of a skin image as a 32-bit bitmap of its own.
std::unique_ptr<vcl::TBitmap> CopyArea(vcl::TBitmap* Source, int X, int Y, int Width, int Height) {
  if (!Source || Width <= 0 || Height <= 0) return nullptr;
  const TPixelSource source(Source);
  auto copy = CreateBmp32(Width, Height);
  TPixelView target;
  if (source.Empty() || !InitPixelView(copy.get(), target)) return copy;
  const TPixelView& from = source.View();
  for (int y = 0; y < Height; ++y) {
    if (Y + y < 0 || Y + y >= from.Height) continue;
    for (int x = 0; x < Width; ++x)
      if (X + x >= 0 && X + x < from.Width) target.Row(y)[x] = from.Row(Y + y)[X + x];
  }
  return copy;
}

std::unique_ptr<vcl::TBitmap> CopyWhole(vcl::TBitmap* Source) {
  return Source ? CopyArea(Source, 0, 0, Source->Width(), Source->Height()) : nullptr;
}

vcl::String FormatVersion(double Version) {
  wchar_t text[32] = {};
  std::swprintf(text, 32, L"%g", Version);
  return text;
}

bool DirectoryExists(const String& Path) {
  const DWORD attributes = GetFileAttributesW(Path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Process-wide state

TsSkinManager* DefaultSkinManager() { return ManagerUnit().DefaultManager; }
bool SkinIsUpdating() { return ManagerUnit().Updating; }
bool SystemDialogsNotSkinned() { return ManagerUnit().DialogsNotSkinned; }

TqvSkinActiveProc SetSkinActiveCallback(TqvSkinActiveProc Proc) {
  return std::exchange(ManagerUnit().SkinActive, std::move(Proc));
}
TqvSkinChangedProc SetSkinChangedCallback(TqvSkinChangedProc Proc) {
  return std::exchange(ManagerUnit().SkinChanged, std::move(Proc));
}

// ---------------------------------------------------------------------------------------
// Life

TsSkinManager::TsSkinManager(vcl::TComponent* AOwner)
    : TComponent(AOwner),
      effects_(std::make_unique<TqvSkinEffects>(this)),
      anim_effects_(std::make_unique<TqvAnimEffects>(this)),
      buttons_options_(std::make_unique<TqvButtonsSupport>()),
      labels_options_(std::make_unique<TqvLabelsSupport>()),
      options_(std::make_unique<TqvOptions>(this)),
      scrolls_options_(std::make_unique<TqvScrollBarsSupport>(this)),
      skinable_menus_(FormServices().CreateSkinableMenus(this)),
      menu_support_(FormServices().CreateMenuSupport()),
      internal_skins_(std::make_unique<TsStoredSkins>(this)),
      common_sections_(std::make_unique<vcl::TStringList>()),
      third_party_(std::make_unique<ThirdPartyList>()),
      class_lists_(std::make_unique<TqvClassNameLists>()) {
  internal_skins_->OnChange = vcl::TNotifyEvent::Bind<&TsSkinManager::StoredSkinsChanged>(this);
  if (!ManagerUnit().DefaultManager) BecomeDefault();
}

TsSkinManager::~TsSkinManager() {
  // Everything that could still reach this manager goes first: its skin, its hooks, its
  // place as the default.
  try {
    SetActive(false);
  } catch (...) {
  }
  SetHotControl(nullptr);
  UninstallHooks();
  FreeSkinImages();
  skin_.Sections.clear();
  if (TqvManagerUnit& unit = ManagerUnit(); unit.DefaultManager == this) {
    if (main_window_hooked_) UnhookMainWindow();
    unit.DefaultManager = nullptr;
    SetDefaultManager(nullptr);
    SetSysColorsSkin(nullptr);
    unit.DialogsNotSkinned = true;
    // The editor's preview was this manager's to show: a later manager loads skins as usual.
    unit.PreviewMode = false;
  }
  class_lists_->WriteBack(*third_party_);
}

void TsSkinManager::AfterConstruction() {
  TComponent::AfterConstruction();
  class_lists_->Load(*third_party_, false);
  if (skin_directory_.empty()) skin_directory_ = kDefaultSkinDirectory;
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  class_lists_->Load(*third_party_, false);
  if (skin_directory_.empty()) skin_directory_ = kDefaultSkinDirectory;
  DefaultMenuSection();
  if (active_ && !skin_name_.empty()) SendNewSkin(false);
  UpdateDialogsFlag();
  if (const TqvSkinActiveProc& told = ManagerUnit().SkinActive; told && IsDefaultManager())
    told(active_ && !skin_name_.empty());
  if (active_ && !Designing()) Fire(OnActivate, this);
}

void TsSkinManager::BeforeDestruction() { TComponent::BeforeDestruction(); }

void TsSkinManager::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == vcl::opRemove && AComponent == hot_control_) hot_control_ = nullptr;
}

void TsSkinManager::BecomeDefault() {
  TsSkinManager* previous = ManagerUnit().DefaultManager;
  if (previous == this) return;
  if (previous) {
    // Only the default manager hooks anything.
    previous->UninstallHooks();
    if (previous->main_window_hooked_) previous->UnhookMainWindow();
  }
  ManagerUnit().DefaultManager = this;
  SetDefaultManager(this);
  SetSysColorsSkin(skin_.SkinData.Active ? &skin_.Colors : nullptr);
  if (IsNTPlatform() && !Designing()) HookMainWindow();
}

bool TsSkinManager::ComponentLoading() const {
  const vcl::TComponentState& state = ComponentState();
  return state.Contains(vcl::csLoading) || state.Contains(vcl::csReading);
}

bool TsSkinManager::Designing() const { return ComponentState().Contains(vcl::csDesigning); }

void TsSkinManager::StoredSkinsChanged(vcl::TObject*) { Fire(OnSkinListChanged, this); }

void TsSkinManager::DefaultMenuSection() {
  if (menu_support_ && menu_support_->IcoLineSkin().empty()) menu_support_->SetIcoLineSkin(kIcoLineSection);
}

// ---------------------------------------------------------------------------------------
// Properties

bool TsSkinManager::ExtendedBorders() const { return extended_borders_ && LayeredApiAvailable(); }

void TsSkinManager::SetExtendedBorders(bool Value) {
  if (extended_borders_ == Value) return;
  extended_borders_ = Value;
  if (!active_ || !skin_.SkinData.Active) {
    PrepareShadows();
    return;
  }
  ReloadCurrent();
  if (!ComponentLoading() && !Designing()) RepaintForms(true);
}

void TsSkinManager::SetSkinnedPopups(bool Value) {
  if (skinned_popups_ == Value) return;
  skinned_popups_ = Value;
  if (Designing() || !skinable_menus_ || !IsDefaultManager()) return;
  if (Value)
    FormServices().UpdateMenuFonts(skinable_menus_.get());
  else
    FormServices().SetMenusSkinned(skinable_menus_.get(), false);
}

bool TsSkinManager::IsDefault() const { return ManagerUnit().DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool Value) {
  if (!Value && ManagerUnit().DefaultManager) return;
  BecomeDefault();
  if (active_)
    SendNewSkin(true);
  else
    SendRemoveSkin();
  UpdateDialogsFlag();
}

void TsSkinManager::SetActive(bool Value) {
  if (active_ == Value) return;
  active_ = Value;
  if (Value) {
    SetSkinName(skin_name_);
    return;
  }
  if (skin_name_.empty()) return;
  if (!ComponentLoading()) SendRemoveSkin();
  skin_.InitConstantIndexes();
  UpdateDialogsFlag();
  if (!Designing()) Fire(OnDeactivate, this);
}

void TsSkinManager::SetCommonSections(vcl::TStringList* Value) {
  common_sections_->Assign(Value);
  for (int i = 0; i < common_sections_->Count(); ++i) {
    String line = common_sections_->Strings(i);
    if (!line.empty() && line.front() == L';') continue;
    std::erase(line, L' ');
    common_sections_->SetStrings(i, line);
  }
  ReloadSkin();
}

void TsSkinManager::SetBrightness(int Value) {
  Value = std::clamp(Value, -100, 100);
  if (brightness_ == Value) return;
  brightness_ = Value;
  ReloadSkin();
}

void TsSkinManager::SetSaturation(int Value) {
  if (saturation_ == Value) return;
  saturation_ = Value;
  ReloadSkin();
}

void TsSkinManager::SetHueOffset(int Value) {
  if (hue_offset_ == Value) return;
  hue_offset_ = Value;
  ReloadSkin();
}

void TsSkinManager::SetMenuSupport(TqvMenuSupportBase* Value) {
  if (menu_support_ && Value) menu_support_->Assign(Value);
}

void TsSkinManager::SetOptions(TqvOptions* Value) { options_->Assign(Value); }

void TsSkinManager::SetSkinDirectory(const String& Value) {
  if (skin_directory_ == Value) return;
  skin_directory_ = Value;
  skin_.SkinData.SkinPath = NormalizeSkinDirectory(Value);
  Fire(OnSkinListChanged, this);
}

String TsSkinManager::SkinInfo() const {
  if (!active_ || !skin_.SkinData.Active) return kNoSkinInfo;
  return FormatVersion(skin_.SkinData.Version);
}

void TsSkinManager::SetSkinningRules(TqvSkinningRules Value) {
  skinning_rules_ = Value;
  UpdateDialogsFlag();
}

void TsSkinManager::UpdateDialogsFlag() {
  TqvManagerUnit& unit = ManagerUnit();
  const TsSkinManager* d = unit.DefaultManager;
  unit.DialogsNotSkinned = !(d && d->active_ && d->skinning_rules_.Contains(srStdDialogs));
}

bool TsSkinManager::AeroBlurApplies() const { return effects_->AllowAeroBluring() && skin_.SkinData.AeroBlur; }

// ---------------------------------------------------------------------------------------
// Loading

void TsSkinManager::SetSkinName(const String& Value) {
  const String previous = skin_name_;
  skin_name_ = Value;
  if (active_) ChangeSkin(previous);
  UpdateDialogsFlag();
}

void TsSkinManager::ChangeSkin(const String& PreviousName) {
  Fire(OnBeforeChange, this);
  std::optional<TqvSavedFormImages> saved;
  if (ExtendedBorders() && !hold_broadcast_ && anim_effects_->SkinChanging()->Active()) saved.emplace(*this);

  const bool had_skin = !skin_.Sections.empty();
  const bool was_active = skin_.SkinData.Active;
  TqvLoadResult result = TqvLoadResult::Failed;
  {
    const TSkinLoadingScope loading;
    const vcl::TMemoryContextScope contexts;  // reading and applying the skin holds no DC after
    skin_.SkinData.Active = false;
    // A load that raises leaves the previous skin, under its name.
    String previous = PreviousName;
    auto keep_previous = vcl::TScopeExit([&] {
      skin_name_.swap(previous);
      skin_.SkinData.Active = was_active;
    });
    result = LoadCurrentSkin();
    keep_previous.Dismiss();
    if (result == TqvLoadResult::Failed && had_skin) {
      skin_name_ = PreviousName;
      skin_.SkinData.Active = was_active;
    } else if (result != TqvLoadResult::Loaded) {
      // No skin at all: the manager goes inactive and the forms lose their skin.
      active_ = false;
      SendRemoveSkin();
      if (!Designing()) Fire(OnActivate, this);
    } else {
      if (!hold_broadcast_) SendNewSkin(true);
      if (!Designing() && !ComponentLoading()) Fire(OnActivate, this);
      if (saved) saved->Keep();
    }
  }
  Fire(OnAfterChange, this);
}

TqvLoadResult TsSkinManager::LoadCurrentSkin() {
  if (EndsWithPack(skin_name_)) skin_name_.resize(skin_name_.size() - 4);
  const String directory = NormalizeSkinDirectory(skin_directory_);
  const String pack = directory + skin_name_ + L"." + kPackExtension;
  bool packed = vcl::FileExists(pack);
  if (packed && PreviewMode() && DirectoryExists(directory + skin_name_)) packed = false;

  TsSkinLoadRequest request;
  request.SkinDirectory = skin_directory_;
  request.SkinName = skin_name_;
  request.PreviewLines = PreviewLines();
  request.StoredSkins = internal_skins_.get();
  request.CommonSections = common_sections_.get();
  request.HueOffset = hue_offset_;
  request.Saturation = saturation_;
  request.Brightness = brightness_;
  request.AfterCommonIndexes = [this] { PrepareShadows(); };
  request.OnSkinLoading = [this] { Fire(OnSkinLoading, this); };

  TsSkinLoadResult result;
  if (packed) {
    std::unique_ptr<TqvSkinConvertor> reader;
    // A file that is not a pack has been reported by the reader.
    if (!LoadSkinPackFile(pack, reader)) return TqvLoadResult::Failed;
    // A pack without its description is refused, naming the pack (EReadError).
    result = LoadPackedSkin(request, *reader, skin_);
  } else {
    result = LoadSkin(request, skin_);
  }
  switch (result) {
    case TsSkinLoadResult::Loaded: break;
    case TsSkinLoadResult::NoSkin: return TqvLoadResult::NoSkin;
    case TsSkinLoadResult::NotAPack: return TqvLoadResult::Failed;
  }
  skin_name_ = request.SkinName;
  packed_ = packed;
  DefaultMenuSection();
  if (IsDefaultManager()) SetSysColorsSkin(&skin_.Colors);
  return TqvLoadResult::Loaded;
}

void TsSkinManager::ReloadCurrent() {
  if (skin_.Sections.empty()) return;
  const bool was_active = skin_.SkinData.Active;
  const TSkinLoadingScope loading;
  const vcl::TMemoryContextScope contexts;  // reading the skin holds no DC after
  String name = skin_name_;
  const vcl::TScopeExit restore([this, was_active] { skin_.SkinData.Active = was_active; });
  // A reload that fails, or raises, keeps the skin as it was, under its name.
  auto keep_name = vcl::TScopeExit([&] { skin_name_.swap(name); });
  if (LoadCurrentSkin() == TqvLoadResult::Loaded) keep_name.Dismiss();
}

void TsSkinManager::ReloadSkin() {
  if (!active_ || ComponentLoading() || skin_.Sections.empty()) return;
  ReloadCurrent();
  Fire(OnAfterChange, this);
  if (!hold_broadcast_) RepaintForms(true);
}

void TsSkinManager::PrepareShadows() {
  shadow_active_.reset();
  shadow_inactive_.reset();
  shadow_margins_ = {};
  if (!active_ || !ExtendedBorders()) return;
  const int border = skin_.ConstData.ExBorder;
  if (!skin_.IsValidImgIndex(border)) {
    vcl::TBitmap* active = StartupShadow(true);
    vcl::TBitmap* inactive = StartupShadow(false);
    if (!active || !inactive) return;
    shadow_active_ = CopyWhole(active);
    shadow_inactive_ = CopyWhole(inactive);
    shadow_margins_ = {9, 9, 9, 9};
    return;
  }
  const TsMaskData& image = skin_.Images[static_cast<std::size_t>(border)];
  const int offset = skin_.SkinData.FormOffset;
  if (skin_.SkinData.BorderMode != 0)
    shadow_margins_ = {offset, offset, offset, offset};
  else
    shadow_margins_ = {skin_.MaskWidthLeft(border) - offset, skin_.MaskWidthTop(border) - offset,
                       skin_.MaskWidthRight(border) - offset, skin_.MaskWidthBottom(border) - offset};
  vcl::TBitmap* source = image.Bmp ? image.Bmp.get() : skin_.MasterBitmap.get();
  const int width = MaskImageWidth(image);
  const int height = MaskImageHeight(image);
  // A masked image's lower half is the shadow's alpha: without it the shadow would be a solid
  // band. It goes into the window image premultiplied, as the border window shows it.
  auto frame = [&](int Index) {
    const int left = image.R.Left + Index * width;
    if (image.MaskType < 1) return CopyArea(source, left, image.R.Top, width, height);
    std::unique_ptr<vcl::TBitmap> soft =
        MaskHalfToAlpha(source, vcl::Rect(left, image.R.Top, left + width, image.R.Top + 2 * height));
    if (soft) PremultiplyBmp(soft.get());
    return soft;
  };
  shadow_inactive_ = frame(0);
  shadow_active_ = image.ImageCount > 1 ? frame(1) : CopyWhole(shadow_inactive_.get());
}

void TsSkinManager::FreeSkinImages() {
  skin_.Images.clear();
  skin_.LoadedFiles.clear();
  skin_.MasterBitmap.reset();
  skin_.IndexTables();
}

// ---------------------------------------------------------------------------------------
// Announcements

void TsSkinManager::SendNewSkin(bool Repaint) {
  if (ComponentLoading()) return;
  ClearGlows(false);
  TqvLockedForms locked(*this, !Designing() && Repaint);
  if (skinable_menus_) skinable_menus_->ResetPopupState();
  skin_.SkinData.Active = false;
  {
    const auto updating = FlagScope(ManagerUnit().Updating, true);
    skin_.InitConstantIndexes();
    vcl::TMessage message = SkinCommandMessage(scmNewSkin, reinterpret_cast<LPARAM>(this));
    BroadcastToAllForms(message);
  }
  skin_.SkinData.Active = true;
  if (IsDefaultManager() && !HooksInstalled()) InstallHooks();
  // The menus of every form are drawn from the new skin.
  if (IsDefaultManager() && !Designing() && skinable_menus_) FormServices().UpdateMenuFonts(skinable_menus_.get());
  if (IsDefaultManager()) {
    const TqvManagerUnit& unit = ManagerUnit();
    if (unit.SkinActive) unit.SkinActive(true);
    if (unit.SkinChanged) unit.SkinChanged();
  }
  if (Repaint) RepaintForms(false, &locked);
}

void TsSkinManager::SendRemoveSkin() {
  if (const TqvSkinActiveProc& told = ManagerUnit().SkinActive; told && IsDefaultManager()) told(false);
  const auto removing = FlagScope(removing_, true);
  ClearGlows(false);
  UninstallHooks();
  skin_.SkinData.Active = false;
  if (skinable_menus_) {
    skinable_menus_->ResetPopupState();
    if (IsDefaultManager() && !Designing()) FormServices().SetMenusSkinned(skinable_menus_.get(), false);
  }
  vcl::TMessage message = SkinCommandMessage(scmRemoveSkin, reinterpret_cast<LPARAM>(this));
  BroadcastToAllForms(message);
  FreeSkinImages();
  skin_.Sections.clear();
  skin_.IndexTables();
  PrepareShadows();
}

void TsSkinManager::RepaintForms(bool MakeSnapshot) { RepaintForms(MakeSnapshot, nullptr); }

void TsSkinManager::SendScrollsChanged() {
  vcl::TMessage message = SkinCommandMessage(scmScrollsChanged, reinterpret_cast<LPARAM>(this));
  BroadcastToAllForms(message);
}

void TsSkinManager::RepaintForms(bool MakeSnapshot, TqvLockedForms* Locked) {
  TqvLockedForms* locked = Locked;
  if (!Designing()) {
    vcl::TMessage before = SkinCommandMessage(scmBeforeRefresh, reinterpret_cast<LPARAM>(this));
    BroadcastToAllForms(before);
  }
  vcl::TMessage refresh = SkinCommandMessage(scmRefresh, reinterpret_cast<LPARAM>(this));
  if (Designing() || ComponentLoading()) {
    BroadcastToAllForms(refresh);
  } else {
    std::optional<TqvLockedForms> own;
    if (MakeSnapshot && !locked) locked = &own.emplace(*this, true);
    BroadcastToAllForms(refresh);
    if (locked) locked->Unlock(hold_broadcast_ ? 0 : 1);
  }
  if (TsHintManager* hints = HintManager())
    if (auto* window = hints->PngHintWindow(); window && window->HandleAllocated())
      SendCommandToWnd(window->Handle(), scmRefresh, reinterpret_cast<LPARAM>(this));
  for (const TqvSkinnedWindow& w : AdapterServices().SkinnedWindowList())
    if (w.Window && IsWindowVisible(w.Window))
      RedrawWindow(w.Window, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------------------
// Skin names

void TsSkinManager::GetSkinNames(vcl::TStrings* List, int SkinTypes, String& FirstName) const {
  std::vector<String> names;
  for (int i = 0; i < internal_skins_->Count(); ++i) names.push_back(internal_skins_->Items(i)->Name());
  const String directory = NormalizeSkinDirectory(skin_directory_);
  if (DirectoryExists(directory)) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((directory + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const String name = found.cFileName;
        if (name.empty() || name.front() == L'.') continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (SkinTypes != kSkinPacks && vcl::FileExists(directory + name + L"\\" + kOptionsFileName))
            names.push_back(name);
        } else if (SkinTypes != kSkinFolders && EndsWithPack(name)) {
          names.push_back(name.substr(0, name.find(L'.')));
        }
      } while (FindNextFileW(search, &found));
      FindClose(search);
    }
  }
  FirstName = names.empty() ? String() : names.front();
  vcl::TStringList sorted;
  sorted.SetSorted(true);
  sorted.SetDuplicates(vcl::dupIgnore);
  for (const String& name : names) sorted.Add(name);
  List->Assign(&sorted);
}

// ---------------------------------------------------------------------------------------
// What the skin change of the forms asks

bool TsSkinManager::IsDefaultManager() const { return ManagerUnit().DefaultManager == this; }

int GetScrollWidth(const TsSkinManager* Manager) {
  if (Manager && Manager->ScrollsOptions()->ScrollSize() >= 0) return Manager->ScrollsOptions()->ScrollSize();
  return GetSystemMetrics(SM_CXVSCROLL);
}

int GetLargestScrollWidth(const TsSkinManager* Manager) {
  const int system = GetSystemMetrics(SM_CXVSCROLL);
  const int width = GetScrollWidth(Manager);
  return width > system ? width : system;
}

}  // namespace skin_layered
