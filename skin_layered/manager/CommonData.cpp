#include "skin_layered/manager/CommonData.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/TemplatePaint.h"
#include "skin_layered/paint/TextEffects.h"
#include "skin_layered/paint/pixels/Blending.h"
#include "skin_layered/paint/pixels/PixelTransforms.h"

namespace skin_layered {

using vcl::String;

VCL_CLASS_INFO(TqvOuterEffects) {
  p.Enum<&TqvOuterEffects::Visibility, &TqvOuterEffects::SetVisibility>(L"Visibility", static_cast<int64_t>(ovNone));
}

VCL_CLASS_INFO(TsCommonData) {
  p.Bool<&TsCommonData::CustomColor, &TsCommonData::SetCustomColor>(L"CustomColor", false);
  p.Bool<&TsCommonData::CustomFont, &TsCommonData::SetCustomFont>(L"CustomFont", false);
  p.Object<&TsCommonData::OuterEffects, &TsCommonData::SetOuterEffects>(L"OuterEffects",
                                                                      TqvOuterEffects::StaticClass());
  p.Object<&TsCommonData::SkinManager, &TsCommonData::SetSkinManager>(L"SkinManager", TsSkinManager::StaticClass())
      .Stored = [](const vcl::TObject* o) { return static_cast<const TsCommonData*>(o)->SkinManager() != nullptr; };
  p.String<&TsCommonData::SkinSection, &TsCommonData::SetSkinSection>(L"SkinSection");
}

VCL_CLASS_INFO(TqvScrollData) {
  p.Integer<&TqvScrollData::ScrollWidth, &TqvScrollData::SetScrollWidth>(L"ScrollWidth", -1);
  p.Integer<&TqvScrollData::ButtonsSize, &TqvScrollData::SetButtonsSize>(L"ButtonsSize", -1);
}

VCL_CLASS_INFO(TsScrollWndData) {
  p.Object<&TsScrollWndData::HorzScrollData, &TsScrollWndData::SetHorzScrollData>(L"HorzScrollData",
                                                                                  TqvScrollData::StaticClass());
  p.Object<&TsScrollWndData::VertScrollData, &TsScrollWndData::SetVertScrollData>(L"VertScrollData",
                                                                                  TqvScrollData::StaticClass());
}

// ---------------------------------------------------------------------------------------
// Control type codes

namespace {

struct TCodeRange {
  int First, Last;
};

template <std::size_t N>
constexpr bool InRanges(int Code, const std::array<TCodeRange, N>& Ranges) {
  for (const TCodeRange& r : Ranges)
    if (Code >= r.First && Code <= r.Last) return true;
  return false;
}

constexpr std::array<TCodeRange, 6> kColorFollowing{{{2, 18}, {41, 41}, {76, 84}, {96, 96}, {131, 140}, {231, 231}}};
constexpr std::array<TCodeRange, 11> kNoHoverGlow{
    {{51, 52}, {54, 54}, {56, 60}, {68, 68}, {73, 74}, {110, 110}, {141, 141}, {143, 143}, {151, 151}, {161, 161},
     {226, 226}}};
constexpr std::array<TCodeRange, 4> kNoHotTracking{{{19, 19}, {51, 74}, {110, 110}, {141, 161}}};
constexpr std::array<TCodeRange, 7> kFrameRefresh{{{7, 8}, {10, 10}, {78, 78}, {83, 83}, {85, 85}, {96, 96}, {231, 231}}};

struct TDefaultSection {
  std::array<TCodeRange, 8> Codes;
  const wchar_t* Section;
};
constexpr TDefaultSection kDefaultSections[] = {
    {{{{2, 8}, {10, 10}, {41, 41}, {76, 76}, {78, 78}, {83, 85}, {96, 96}, {131, 131}}}, L"EDIT"},
    {{{{140, 140}, {230, 230}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"EDIT"},
    {{{{11, 18}, {81, 82}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"COMBOBOX"},
    {{{{19, 19}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"BAR"},
    {{{{20, 20}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"BARTITLE"},
    {{{{32, 33}, {50, 50}, {152, 152}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"CHECKBOX"},
    {{{{51, 51}, {59, 59}, {68, 68}, {73, 73}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"PANEL"},
    {{{{52, 52}, {58, 58}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"PANEL_LOW"},
    {{{{53, 54}, {60, 60}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"TOOLBAR"},
    {{{{56, 56}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"DRAGBAR"},
    {{{{57, 57}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"TABSHEET"},
    {{{{74, 74}, {226, 226}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"GROUPBOX"},
    {{{{75, 75}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"SPLITTER"},
    {{{{92, 92}, {95, 95}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"SPEEDBUTTON"},
    {{{{93, 94}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"BUTTON"},
    {{{{98, 98}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"TOOLBUTTON"},
    {{{{141, 141}, {143, 143}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"PAGECONTROL"},
    {{{{151, 151}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"STATUSBAR"},
    {{{{161, 161}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"GAUGE"},
    {{{{165, 165}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}, {0, -1}}}, L"TRACKBAR"},
};

String Upper(vcl::StringView Text) {
  String s(Text);
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towupper(c));
  return s;
}

// The component an object is, or nil. Asked for every control at every message: the class
// reference is compared, not the type names a cast compares.
const vcl::TComponent* AsComponent(const vcl::TObject* Object) {
  return Object && Object->InheritsFrom<vcl::TComponent>() ? static_cast<const vcl::TComponent*>(Object) : nullptr;
}

bool Destroying(const vcl::TObject* Object) {
  const vcl::TComponent* component = AsComponent(Object);
  return component && component->ComponentState().Contains(vcl::csDestroying);
}

bool ComponentLoading(const vcl::TObject* Object) {
  const vcl::TComponent* component = AsComponent(Object);
  return component && (component->ComponentState().Contains(vcl::csLoading) ||
                       component->ComponentState().Contains(vcl::csReading));
}

bool Designed(const vcl::TObject* Object) {
  const vcl::TComponent* component = AsComponent(Object);
  return component && component->ComponentState().Contains(vcl::csDesigning);
}

// The class or one of its ancestors has that name.
bool KindOf(const vcl::TObject* Object, vcl::StringView ClassName) {
  for (const vcl::TClassInfo* c = Object ? &Object->ClassType() : nullptr; c; c = c->Parent)
    if (c->Name == ClassName) return true;
  return false;
}

bool IsPanel(const vcl::TObject* Object) { return KindOf(Object, L"TCustomPanel"); }

vcl::TWinControl* Windowed(vcl::TControl* Control) { return dynamic_cast<vcl::TWinControl*>(Control); }

HWND HandleOf(vcl::TControl* Control) {
  vcl::TWinControl* w = Windowed(Control);
  return w && w->HandleAllocated() ? w->Handle() : nullptr;
}

LRESULT Send(vcl::TControl* Control, int Command, LPARAM LParam = 0, std::uint16_t Low = 0) {
  if (!Control) return 0;
  if (HWND h = HandleOf(Control)) return SendMessageW(h, kSkinCmdMessage, SkinCommandWParam(Command, Low), LParam);
  return Control->Perform(kSkinCmdMessage, SkinCommandWParam(Command, Low), LParam);
}

vcl::TColor AdjustedColor(vcl::TColor Color, const TsCommonData& Data) {
  TColorValue c = static_cast<TColorValue>(vcl::ColorToRGB(Color));
  if (Data.HueOffset != 0) c = ChangeHue(Data.HueOffset, c);
  if (Data.Saturation != 0)
    c = ChangeSaturation(c, std::clamp(static_cast<int>(std::lround(Data.Saturation * 2.55)), -255, 255));
  return static_cast<vcl::TColor>(c);
}

void RecomputeFrame(HWND Wnd, UINT Extra) {
  if (Wnd)
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | Extra);
}

// Both states of the section see through entirely.
bool FullyTransparent(const TsGeneralData& Section) {
  return Section.Props[0].Transparency >= 100 && Section.Props[1].Transparency >= 100;
}

}  // namespace

bool IsColorFollowingCode(int Code) { return InRanges(Code, kColorFollowing); }
bool IsNoHoverGlowCode(int Code) { return InRanges(Code, kNoHoverGlow); }
bool IsNoHotTrackingCode(int Code) { return InRanges(Code, kNoHotTracking); }
bool IsFrameRefreshCode(int Code) { return InRanges(Code, kFrameRefresh); }

bool NoGlowOnEnter(int Code) { return IsNoHoverGlowCode(Code) || (Code >= 92 && Code <= 94); }

vcl::StringView DefaultSectionOfCode(int Code) {
  for (const TDefaultSection& d : kDefaultSections)
    if (InRanges(Code, d.Codes)) return d.Section;
  return {};
}

// ---------------------------------------------------------------------------------------
// TqvOuterEffects

void TqvOuterEffects::SetVisibility(TqvOuterVisibility Value) {
  if (visibility_ == Value) return;
  visibility_ = Value;
  vcl::TControl* control = owner_ ? owner_->OwnerControl() : nullptr;
  if (!control || ComponentLoading(control)) return;
  vcl::TWinControl* parent = control->Parent();
  if (parent && parent->HandleAllocated() && !ComponentLoading(parent) && !Destroying(parent))
    SendCommandToWnd(parent->Handle(), scmReload, 0);
}

void TqvOuterEffects::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvOuterEffects*>(Source);
  if (!other) return TPersistent::Assign(Source);
  SetVisibility(other->visibility_);
}

// ---------------------------------------------------------------------------------------
// TsCommonData: life and properties

TsCommonData::TsCommonData(vcl::TObject* AOwner, bool CreateCacheBmp)
    : outer_effects_(std::make_unique<TqvOuterEffects>(this)),
      owner_control_(dynamic_cast<vcl::TControl*>(AOwner)),
      owner_object_(AOwner) {
  if (CreateCacheBmp) cache_bmp_ = CreateBmp32(0, 0);
}

TsCommonData::~TsCommonData() {
  SkinIndex = BorderIndex = Texture = HotTexture = kNoIndex;
  ReleaseGlow();
  owner_control_ = nullptr;
  owner_object_ = nullptr;
  skin_manager_ = nullptr;
}

TsSkinManager* TsCommonData::GetSkinManager() const { return skin_manager_ ? skin_manager_ : DefaultSkinManager(); }

TsSkinProviderBase* TsCommonData::OwnerProvider() const { return dynamic_cast<TsSkinProviderBase*>(owner_object_); }

bool TsCommonData::OwnerLoading() const { return ComponentLoading(owner_object_); }
bool TsCommonData::OwnerDestroying() const { return Destroying(owner_object_); }

void TsCommonData::SetCustomColor(bool Value) {
  if (custom_color_ == Value) return;
  custom_color_ = Value;
  if (!OwnerLoading() && !waiting_) UpdateColors(true);
}

void TsCommonData::SetCustomFont(bool Value) {
  if (custom_font_ == Value) return;
  custom_font_ = Value;
  if (!OwnerLoading() && !waiting_) UpdateColors(true);
}

void TsCommonData::SetSkinSection(const String& Value) {
  if (skin_section_ == Value) return;
  skin_section_ = Upper(Value);
  TsSkinManager* manager = GetSkinManager();
  if (manager && !manager->Skin().Sections.empty())
    UpdateIndexes(true);
  else
    SkinIndex = kNoIndex;
  vcl::TControl* control = owner_control_;
  if (!control || OwnerLoading() || !control->Parent() || OwnerDestroying()) {
    if (OwnerProvider()) BGChanged = true;
    return;
  }
  if (auto* windowed = Windowed(control)) {
    if (cache_bmp_) cache_bmp_->SetWidth(0);
    vcl::TMessage message = SkinCommandMessage(scmBgChanged, 0, 1);
    BroadcastCommand(windowed, message);
  }
  if (!Updating && !waiting_) {
    const int command = manager && manager->IsValidSkinIndex(SkinIndex) ? scmRefresh : scmRemoveSkin;
    control->Perform(kSkinCmdMessage, SkinCommandWParam(command), reinterpret_cast<LPARAM>(manager));
  }
  ReleaseGlow();
}

void TsCommonData::SetSkinManager(TsSkinManager* Value) {
  TsSkinManager* current = GetSkinManager();
  if (Value == skin_manager_ || (!skin_manager_ && Value == current)) return;
  skin_manager_ = Value == DefaultSkinManager() ? nullptr : Value;
  if (OwnerLoading()) return;
  TsSkinManager* manager = GetSkinManager();
  SkinIndex = FindSkinIndex();
  if (OwnerProvider()) return;
  if (owner_control_ && owner_control_->Parent() && !OwnerDestroying()) {
    const bool valid = manager && !manager->Skin().Sections.empty() && manager->IsValidSkinIndex(SkinIndex);
    owner_control_->Perform(kSkinCmdMessage, SkinCommandWParam(valid ? scmRefresh : scmRemoveSkin),
                            reinterpret_cast<LPARAM>(manager));
  }
}

// ---------------------------------------------------------------------------------------
// State

bool TsCommonData::Skinned(bool CheckActive) const {
  const TsSkinManager* manager = GetSkinManager();
  if (!manager || Destroying(manager)) return false;
  if (!manager->IsValidSkinIndex(SkinIndex) || OwnerDestroying()) return false;
  return !CheckActive || manager->Skin().SkinData.Active;
}

const TsGeneralData* TsCommonData::Section() const {
  if (!Skinned()) return nullptr;
  return &GetSkinManager()->Skin().Sections[static_cast<std::size_t>(SkinIndex)];
}

void TsCommonData::BeginUpdate() {
  ++update_count_;
  Updating = true;
  CtrlSkinState |= kStateInUpdate;
  if (owner_control_)
    owner_control_->Perform(kSkinCmdMessage, SkinCommandWParam(scmBeginUpdate), 0);
  else if (TsSkinProviderBase* p = OwnerProvider(); p && p->Form && p->Form->HandleAllocated())
    SendCommandToWnd(p->Form->Handle(), scmBeginUpdate, 0);
}

void TsCommonData::EndUpdate(bool Repaint) {
  --update_count_;
  Updating = false;
  CtrlSkinState &= static_cast<std::uint16_t>(~kStateInUpdate);
  if (update_count_ >= 1) return;
  if (owner_control_)
    owner_control_->Perform(kSkinCmdMessage, SkinCommandWParam(scmEndUpdate), 0);
  else if (TsSkinProviderBase* p = OwnerProvider(); p && p->Form && p->Form->HandleAllocated())
    SendCommandToWnd(p->Form->Handle(), scmEndUpdate, 0);
  if (Repaint) Loaded(true);
}

void TsCommonData::Loaded(bool AllNow) {
  if (waiting_) return;
  const UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | (AllNow ? RDW_UPDATENOW : 0);
  if (owner_control_) {
    if (OwnerDestroying() || OwnerLoading()) return;
    BGChanged = true;
    if (!ControlReady(owner_control_)) return;
    if (HWND h = HandleOf(owner_control_))
      RedrawWindow(h, nullptr, nullptr, flags);
    else if (!Windowed(owner_control_))
      owner_control_->Repaint();
  } else if (TsSkinProviderBase* p = OwnerProvider(); p && p->Form && p->Form->HandleAllocated()) {
    BGChanged = true;
    RedrawWindow(p->Form->Handle(), nullptr, nullptr, flags);
  }
}

void TsCommonData::Update() {
  waiting_ = false;
  ResolveSection();
  if (Skinned() && owner_control_ && owner_control_->Parent() && !OwnerLoading()) {
    if (Windowed(owner_control_)) NotifyFormOfControl(owner_control_);
    UpdateColors(false);
  }
}

void TsCommonData::ResolveSection() {
  if (Designed(owner_object_) && skin_section_ == L"RADIOBUTTON") skin_section_ = L"TRANSPARENT";
  if (!skin_section_.empty()) {
    UpdateIndexes(true);
    return;
  }
  String section(DefaultSectionOfCode(COC));
  if (COC == 34) {
    const TsSkinManager* manager = GetSkinManager();
    section = manager && manager->GetSkinIndex(L"SLIDER_OFF") >= 0 ? L"SLIDER_OFF" : L"PANEL_LOW";
  }
  if (section.empty() && owner_object_) section = owner_object_->ClassName();
  SetSkinSection(section);
}

void TsCommonData::UpdateIndexes(bool FindIndex) {
  BGChanged = true;
  TsSkinManager* manager = GetSkinManager();
  if (FindIndex) SkinIndex = FindSkinIndex();
  BGType = 0;
  const bool valid = manager && manager->IsValidSkinIndex(SkinIndex);
  if (valid) {
    const TsGenState& state = manager->Skin().Sections[static_cast<std::size_t>(SkinIndex)].Props[0];
    if (state.GradientPercent > 0 && !state.GradientArray.empty()) {
      switch (state.GradientArray.front().Mode) {
        case 0: BGType |= kBgGradientFirst; break;
        case 1: BGType |= kBgGradientSecond; break;
        default: BGType |= kBgGradientFirst | kBgGradientSecond; break;
      }
    }
    if (state.ImagePercent > 0) BGType |= kBgImagePercent;
  }
  CtrlSkinState = kStateUnknown;
  if (!valid) {
    BorderIndex = Texture = HotTexture = kNoIndex;
  } else {
    BorderIndex = manager->Skin().Sections[static_cast<std::size_t>(SkinIndex)].BorderIndex;
    Texture = manager->GetTextureIndex(SkinIndex, skin_section_, L"PATTERN");
    HotTexture = manager->GetTextureIndex(SkinIndex, skin_section_, L"HOTPATTERN");
  }
  Invalidate(false);
}

int TsCommonData::FindSkinIndex() const {
  const TsSkinManager* manager = GetSkinManager();
  if (!manager || manager->Skin().Sections.empty()) return kNoIndex;
  const int index = manager->GetSkinIndex(skin_section_);
  return hollow_is_missing_ && manager->Skin().GivesNothing(index) ? kNoIndex : index;
}

void TsCommonData::SetHollowIsMissing(bool Value) {
  if (hollow_is_missing_ == Value) return;
  hollow_is_missing_ = Value;
  if (const TsSkinManager* manager = GetSkinManager(); manager && !manager->Skin().Sections.empty()) UpdateIndexes(true);
}

void TsCommonData::SetFirstSection(std::initializer_list<vcl::StringView> Names) {
  const TsSkinManager* manager = GetSkinManager();
  SkinIndex = kNoIndex;
  if (manager)
    for (vcl::StringView name : Names)
      if (const int index = manager->GetSkinIndex(name); index >= 0) {
        SkinIndex = index;
        break;
      }
  UpdateIndexes(false);
}

bool TsCommonData::ApplyColorsOfState(int State) {
  const TsGeneralData* section = Section();
  auto* control = owner_control_;
  if (!section || !control) return false;
  const TsGenState& state = section->Props[static_cast<std::size_t>(std::clamp(State, 0, 1))];
  bool changed = false;
  if (!custom_color_) {
    const vcl::TColor color = AdjustedColor(state.Color, *this);
    if (control->Color() != color) {
      control->SetColor(color);
      changed = true;
    }
  }
  if (!custom_font_ && COC != 10) {
    // The control writes its text itself: in a colour that stands off its face.
    const vcl::TColor font = LegibleTextColorOn(AdjustedColor(state.FontColor, *this), control->Color());
    if (control->Font()->Color() != font) {
      control->Font()->SetColor(font);
      changed = true;
    }
  }
  return changed;
}

void TsCommonData::UpdateColors(bool Repaint) {
  const TsGeneralData* section = Section();
  if (section && IsColorFollowingCode(COC) && !FullyTransparent(*section) && HandleOf(owner_control_))
    ApplyColorsOfState(0);
  if (Repaint) Loaded(false);
}

void TsCommonData::Invalidate(bool Children) {
  CtrlSkinState &= static_cast<std::uint16_t>(~kStatePlainBg);
  // The background class: 0 an image, 1 plain, 2 unknown (the parent has no window yet).
  auto backgroundClass = [this]() -> int {
    const TsSkinManager* manager = GetSkinManager();
    if (!manager || !manager->IsValidSkinIndex(SkinIndex)) return 1;
    if (IsAeroBlur()) return 0;
    const TsLoadedSkin& skin = manager->Skin();
    if (skin.IsValidImgIndex(BorderIndex) && (skin.Images[static_cast<std::size_t>(BorderIndex)].DrawMode & 4))
      return 0;
    const TsGeneralData& section = skin.Sections[static_cast<std::size_t>(SkinIndex)];
    const int transparency = section.Props[0].Transparency;
    if (transparency <= 0) {
      const bool corners = skin.IsValidImgIndex(section.ImgTL) || skin.IsValidImgIndex(section.ImgTR) ||
                           skin.IsValidImgIndex(section.ImgBL) || skin.IsValidImgIndex(section.ImgBR);
      return section.Props[0].ImagePercent > 0 || section.Props[0].GradientPercent > 0 || corners ? 0 : 1;
    }
    if (transparency >= 100) {
      if (skin.IsValidImgIndex(Texture) && skin.Images[static_cast<std::size_t>(Texture)].DrawMode == 10) return 0;
      vcl::TWinControl* parent = owner_control_ ? owner_control_->Parent() : nullptr;
      if (!parent) return 0;
      if (!parent->HandleAllocated()) return 2;
      if (SendCommandToWnd(parent->Handle(), scmIsSkinned, 0) == 1)
        return static_cast<int>(SendCommandToWnd(parent->Handle(), scmGetState, 0));
      return 1;
    }
    return 0;
  };
  if (owner_control_) {
    if (KindOf(owner_control_, L"TCustomPanel") || KindOf(owner_control_, L"TScrollingWinControl") ||
        KindOf(owner_control_, L"TPageControl")) {
      const int c = backgroundClass();
      if (c != 2) {
        if (c == 1) CtrlSkinState |= kStatePlainBg;
        CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
      }
    }
  } else if (TsSkinProviderBase* provider = OwnerProvider()) {
    const int c = backgroundClass();
    const bool mdiMain = provider->Form && provider->Form->FormStyle() == vcl::fsMDIForm;
    if (c == 1) {
      if (!mdiMain) CtrlSkinState |= kStatePlainBg;
      CtrlSkinState &= static_cast<std::uint16_t>(~kStateUnknown);
    } else if (c == 0) {
      CtrlSkinState = 0;
    }
  }
  if (Children)
    if (auto* windowed = Windowed(owner_control_))
      for (int i = 0; i < windowed->ControlCount(); ++i) SendCommandToCtrl(windowed->Controls(i), scmGetState, 1);
}

bool TsCommonData::CheckBgChanged(bool Reset) {
  if (Reset) Updating = false;
  if (!BgIsChanged()) return false;
  Updating = true;
  return true;
}

bool TsCommonData::BgIsChanged() const {
  const TsSkinManager* manager = GetSkinManager();
  if (!manager || manager->Designing()) return false;
  if (Updating) return true;
  if (owner_control_) {
    if (OwnerDestroying() || !owner_control_->Parent()) return false;
    return Send(owner_control_->Parent(), scmIsBgChanged) != 0;
  }
  if (TsSkinProviderBase* p = OwnerProvider(); p && p->Form && p->Form->Parent())
    return Send(p->Form->Parent(), scmIsBgChanged) != 0;
  return false;
}

bool TsCommonData::BgDependsOnParent() const {
  if (!Skinned() || !owner_control_ || !owner_control_->Enabled()) return true;
  if (Section()->Props[0].Transparency < 1) return false;
  vcl::TWinControl* parent = owner_control_->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  return SendCommandToWnd(parent->Handle(), scmIsReady, 0) != 0;
}

bool TsCommonData::ControlIsActive() const {
  vcl::TControl* control = owner_control_;
  if (!control || OwnerDestroying() || !control->Enabled() || Designed(control)) return false;
  if (FFocused) return true;
  if (HWND h = HandleOf(control); h && vcl::IsFocusWindow(h)) return !IsPanel(control);
  const TsSkinManager* manager = GetSkinManager();
  return FMouseAbove && !(manager && manager->Options()->NoMouseHover()) && !IsNoHotTrackingCode(COC);
}

bool TsCommonData::IsCached() const {
  if ((CtrlSkinState & kStatePlainBg) == 0 || IsAeroBlur()) return true;
  if (IsNoHoverGlowCode(COC)) return false;
  return ControlIsActive();
}

bool TsCommonData::IsAeroBlur() const {
  if (!OwnerProvider() && !Windowed(owner_control_)) return false;
  const TsSkinManager* manager = GetSkinManager();
  return manager && manager->AeroBlurApplies();
}

void TsCommonData::InitCacheBmp() {
  if (!cache_bmp_) cache_bmp_ = CreateBmp32(0, 0);
  SetBmp32(cache_bmp_.get());
  if (!owner_control_) return;
  // An aligned control is resized with its parent at every step of a drag: its picture keeps
  // its memory instead of being made anew each step.
  if (const vcl::TAlign align = owner_control_->Align(); align != vcl::alNone && align != vcl::alCustom)
    cache_bmp_->SetKeepsMemory(true);
  const int width = std::max(0, owner_control_->Width());
  const int height = std::max(0, owner_control_->Height());
  if (cache_bmp_->Width() != width || cache_bmp_->Height() != height) cache_bmp_->SetSize(width, height);
}

void TsCommonData::DropCache() {
  if (cache_bmp_) cache_bmp_->SetSize(0, 0);
}

int TsCommonData::GlowMargin() const {
  const TsSkinManager* manager = GetSkinManager();
  if (!manager || !manager->IsValidImgIndex(BorderIndex)) return 0;
  const TsLoadedSkin& skin = manager->Skin();
  if (skin.Images[static_cast<std::size_t>(BorderIndex)].DrawMode & 2) return 0;
  return std::max({skin.MaskWidthLeft(BorderIndex), skin.MaskWidthTop(BorderIndex), skin.MaskWidthRight(BorderIndex),
                   skin.MaskWidthBottom(BorderIndex)});
}

void TsCommonData::RefreshParentCache() {
  if (CheckBgChanged(false)) return;
  vcl::TWinControl* parent = owner_control_ ? owner_control_->Parent() : nullptr;
  if (!parent || !parent->HandleAllocated()) return;
  SendMessageW(parent->Handle(), kSkinCmdMessage, SkinCommandWParam(scmBgChanged, 1), 0);
  SendCommandToWnd(parent->Handle(), scmPrepareCache, 0);
}

void TsCommonData::RepaintChildren(vcl::TWinControl* Control, vcl::TPoint Offset) {
  const TsSkinManager* manager = GetSkinManager();
  if (!Control || !Skinned() || !manager->AeroBlurApplies()) return;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    vcl::TControl* child = Control->Controls(i);
    if (!ControlReady(child) || !child->Visible()) continue;
    TqvPaintRecord record{2, cache_bmp_.get(), Offset, Offset};
    SendCommandToCtrl(child, scmPaintToParent, reinterpret_cast<LPARAM>(&record));
  }
}

void TsCommonData::ReleaseGlow() {
  if (GlowID >= 0) RemoveGlow(GlowID);
  GlowID = -1;
}

TqvControlSkin TsCommonData::ControlSkin() const {
  TqvControlSkin data;
  const TsSkinManager* manager = GetSkinManager();
  data.Skin = manager ? &manager->Skin() : nullptr;
  data.Manager = const_cast<TsSkinManager*>(manager);
  data.SkinIndex = SkinIndex;
  data.BorderIndex = BorderIndex;
  data.Texture = Texture;
  data.HotTexture = HotTexture;
  data.CustomColor = custom_color_;
  data.Owner = owner_control_ ? owner_control_ : (OwnerProvider() ? OwnerProvider()->Form : nullptr);
  data.Cache = cache_bmp_.get();
  data.Changes = TqvColorChanges{ColorTone, HueOffset, Saturation};
  return data;
}

void TsCommonData::GetBGInfo(HWND Wnd, TqvCacheInfo& CacheInfo) const {
  CacheInfo.Ready = false;
  HWND parent = Wnd ? GetParent(Wnd) : nullptr;
  if (!parent) {
    CacheInfo = kEmptyCacheInfo;
    return;
  }
  TqvBGInfo info;
  GetBgInfoWnd(info, parent, false);
  CopyBgInfo(info, CacheInfo);
}

void TsCommonData::FillParentBg(TqvCacheInfo& CacheInfo) const {
  TqvBGInfo info;
  bool asked = false;
  if (Skinned() && owner_control_) {
    if (vcl::TWinControl* parent = owner_control_->Parent()) {
      info.Offset = vcl::TPoint{owner_control_->Left(), owner_control_->Top()};
      GetBgInfo(info, parent, false);
      asked = true;
    } else if (HWND h = HandleOf(owner_control_)) {
      GetBgInfoWnd(info, GetParent(h), false);
      asked = true;
    }
  }
  if (asked) {
    CopyBgInfo(info, CacheInfo);
    if (info.BgType == btNotReady) CacheInfo.FillColor = 0xFF00FF;
    return;
  }
  CacheInfo = TqvCacheInfo{};
  CacheInfo.X = CacheInfo.Y = 0;
  CacheInfo.FillColor = static_cast<std::uint32_t>(
      vcl::ColorToRGB(GetBgColor(const_cast<TsCommonData*>(this), 0, nullptr)));
  CacheInfo.Ready = false;
}

// ---------------------------------------------------------------------------------------
// Outer effects

namespace {

// The window a control's glow is placed with: its top-level form, the frame's main form for a
// control of an MDI child (the child lies inside the frame's client window), the window a
// form is embedded in.
HWND GlowHost(vcl::TCustomForm* Form) {
  if (!Form || !Form->HandleAllocated()) return nullptr;
  if (Form->FormStyle() == vcl::fsMDIChild && vcl::Application)
    if (vcl::TCustomForm* main = vcl::Application->MainForm(); main && main->HandleAllocated()) return main->Handle();
  const HWND wnd = Form->Handle();
  if (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD)
    if (const HWND parent = GetParent(wnd)) return parent;
  return wnd;
}

}  // namespace

void TsCommonData::PaintOuterEffects(bool Clicked, HWND Handle, int Alpha) {
  const TsSkinManager* manager = GetSkinManager();
  if (!manager || !manager->Effects()->AllowGlowing() || !manager->IsValidSkinIndex(SkinIndex) ||
      manager->Options()->NoMouseHover())
    return;
  const TsGeneralData* section = Section();
  if (!section) return;
  if (vcl::TControl* control = owner_control_) {
    const bool pressed = control->ControlState().Contains(vcl::csLButtonDown);
    if (!FMouseAbove || pressed || (Clicked && GlowID >= 0)) {
      if (!FMouseAbove || pressed) ReleaseGlow();
      return;
    }
    if (GlowID >= 0) return;
    HWND host = GlowHost(vcl::GetParentForm(control));
    RECT r{};
    if (HWND h = HandleOf(control)) {
      GetWindowRect(h, &r);
    } else if (vcl::TWinControl* parent = control->Parent(); parent && parent->HandleAllocated()) {
      const vcl::TPoint origin = control->ClientToScreen(vcl::TPoint{0, 0});
      r = RECT{origin.X, origin.Y, origin.X + control->Width(), origin.Y + control->Height()};
      RECT visible{};
      GetWindowRect(parent->Handle(), &visible);
      IntersectRect(&r, &r, &visible);
    }
    const TqvControlSkin data = ControlSkin();
    GlowID = AddGlow(vcl::TRect{r.left, r.top, r.right, r.bottom}, skin_section_, L"GLOW", section->GlowMargin, Alpha,
                     host, &data);
    return;
  }
  if (Handle && GlowID < 0) {
    RECT r{};
    GetWindowRect(Handle, &r);
    const TqvControlSkin data = ControlSkin();
    GlowID = AddGlow(vcl::TRect{r.left, r.top, r.right, r.bottom}, skin_section_, L"GLOW", section->GlowMargin, 255,
                     Handle, &data);
  }
}

// ---------------------------------------------------------------------------------------
// The outer shadow in the parent's image

void TsCommonData::PaintToParent(TqvPaintRecord& Record, std::uint16_t Mode) {
  if (outer_effects_->Visibility() != ovAlways || !Skinned(false)) return;
  const TsSkinManager* manager = GetSkinManager();
  const TsLoadedSkin& skin = manager->Skin();
  if (SkinIndex >= static_cast<int>(skin.Sections.size())) return;
  const TsGeneralData& section = skin.Sections[static_cast<std::size_t>(SkinIndex)];
  int image = kNoIndex, left = 0, top = 0, right = 0, bottom = 0, opacity = 255;
  if (section.OuterMask >= 0) {
    image = section.OuterMask;
    left = section.OutOffsL, top = section.OutOffsT, right = section.OutOffsR, bottom = section.OutOffsB;
    opacity = section.OutOpacity;
  } else if (section.OuterMode == 1 || section.OuterMode == 2) {
    const TsShadowLayer& layer = skin.ShadowLayerData[static_cast<std::size_t>(section.OuterMode - 1)];
    if (layer.Source == 0 || layer.MaskIndex < 0) return;
    image = layer.MaskIndex;
    left = layer.Offsets[0], top = layer.Offsets[1], right = layer.Offsets[2], bottom = layer.Offsets[3];
    opacity = layer.Opacity;
  } else {
    return;
  }
  if (!skin.IsValidImgIndex(image) || !Record.Bmp || !owner_control_) return;

  vcl::TRect b;
  Send(owner_control_, scmGetBounds, reinterpret_cast<LPARAM>(&b));
  b.Offset(Record.SrcPos.X, Record.SrcPos.Y);
  const vcl::TRect d{b.Left - left, b.Top - top, b.Right + right, b.Bottom + bottom};
  if (d.Width() <= 0 || d.Height() <= 0) return;

  // The shadow image over (0, 0, D) of a bitmap of D's size, its margins within the offsets,
  // laid onto Target at P with the opacity.
  auto paintShadow = [&](vcl::TBitmap* Target, vcl::TPoint P) {
    TsMaskData mask = skin.Images[static_cast<std::size_t>(image)];
    mask.WidthLeft = static_cast<std::int16_t>(std::min<int>(skin.MaskWidthLeft(image), left));
    mask.WidthTop = static_cast<std::int16_t>(std::min<int>(skin.MaskWidthTop(image), top));
    mask.WidthRight = static_cast<std::int16_t>(std::min<int>(skin.MaskWidthRight(image), right));
    mask.WidthBottom = static_cast<std::int16_t>(std::min<int>(skin.MaskWidthBottom(image), bottom));
    auto shadow = CreateBmp32(d.Width(), d.Height());
    DrawSkinRectEx(shadow.get(), vcl::TRect{0, 0, d.Width(), d.Height()}, kEmptyCacheInfo, mask, mask.R, 0);
    const int transparency = 100 - std::clamp(opacity, 0, 255) * 100 / 255;
    CopyTransBitmaps(vcl::TRect{P.X, P.Y, P.X + d.Width(), P.Y + d.Height()}, vcl::TRect{0, 0, d.Width(), d.Height()},
                     Target, false, transparency, vcl::clNone, false, kEmptyCacheInfo, shadow.get());
  };
  auto copyArea = [](vcl::TBitmap* To, int ToX, int ToY, vcl::TBitmap* From, int FromX, int FromY, int W, int H) {
    BitBlt(To->Canvas()->Handle(), ToX, ToY, W, H, From->Canvas()->Handle(), FromX, FromY, SRCCOPY);
  };

  if ((Mode & kPaintOverSaved) && outer_image_) {
    // The background saved before stays the clean one: the shadow goes over it into the
    // parent's image, so repeated calls never stack shadows.
    std::unique_ptr<vcl::TBitmap> saved = std::move(outer_image_);
    outer_image_ = CreateBmp32(d.Width(), d.Height());
    copyArea(outer_image_.get(), 0, 0, saved.get(), 0, 0, d.Width(), d.Height());
    paintShadow(saved.get(), vcl::TPoint{0, 0});
    copyArea(Record.Bmp, d.Left, d.Top, saved.get(), 0, 0, d.Width(), d.Height());
    return;
  }
  if (!outer_image_)
    outer_image_ = CreateBmp32(d.Width(), d.Height());
  else if (outer_image_->Width() != d.Width() || outer_image_->Height() != d.Height())
    outer_image_->SetSize(d.Width(), d.Height());
  copyArea(outer_image_.get(), 0, 0, Record.Bmp, d.Left, d.Top, d.Width(), d.Height());
  paintShadow(Record.Bmp, vcl::TPoint{d.Left, d.Top});
}

// ---------------------------------------------------------------------------------------
// TqvScrollData and TsScrollWndData

HWND TqvScrollData::OwnerWindow() const {
  vcl::TControl* control = owner_ ? owner_->OwnerControl() : nullptr;
  if (!control || ComponentLoading(control)) return nullptr;
  return HandleOf(control);
}

void TqvScrollData::SetScrollWidth(int Value) {
  if (scroll_width_ == Value) return;
  scroll_width_ = Value;
  RecomputeFrame(OwnerWindow(), SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void TqvScrollData::SetButtonsSize(int Value) {
  if (buttons_size_ == Value) return;
  buttons_size_ = Value;
  if (HWND h = OwnerWindow()) SendMessageW(h, WM_NCPAINT, 0, 0);
}

void TqvScrollData::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvScrollData*>(Source);
  if (!other) return TPersistent::Assign(Source);
  SetScrollWidth(other->scroll_width_);
  SetButtonsSize(other->buttons_size_);
}

TsScrollWndData::TsScrollWndData(vcl::TObject* AOwner, bool CreateCacheBmp)
    : TsCommonData(AOwner, CreateCacheBmp),
      horz_(std::make_unique<TqvScrollData>(this)),
      vert_(std::make_unique<TqvScrollData>(this)) {}

TsScrollWndData::~TsScrollWndData() {
  vert_.reset();
  horz_.reset();
}

// ---------------------------------------------------------------------------------------
// Colours and backgrounds

vcl::TColor GetBgColor(TsCommonData* SkinData, int State, HWND Handle) {
  if (!SkinData) return vcl::clBtnFace;
  vcl::TControl* owner = SkinData->OwnerControl();
  const TsGeneralData* section = SkinData->Section();
  if (!section) {
    if (owner) return owner->Color();
    if (TsSkinProviderBase* p = SkinData->OwnerProvider(); p && p->Form) return p->Form->Color();
    return vcl::clBtnFace;
  }
  const int state = State > 0 && section->States > 1 ? 1 : 0;
  const TsGenState& props = section->Props[static_cast<std::size_t>(state)];
  const vcl::TColor own = SkinData->CustomColor() && owner ? owner->Color() : props.Color;
  if (props.Transparency < 1) return own;
  vcl::TColor parent;
  if (owner)
    parent = GetControlColor(owner->Parent());
  else
    parent = GetWndColor(Handle ? GetParent(Handle) : nullptr);
  if (props.Transparency >= 100) return parent;
  return static_cast<vcl::TColor>(MixColors(static_cast<TColorValue>(vcl::ColorToRGB(parent)),
                                            static_cast<TColorValue>(vcl::ColorToRGB(own)),
                                            props.Transparency / 100.0));
}

void ProvideBgInfo(TsCommonData* SkinData, TqvBGInfo& Info, int State, HWND Wnd) {
  if (!SkinData) return;
  vcl::TControl* owner = SkinData->OwnerControl();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  const bool cacheEmpty = !cache || cache->Width() == 0 || cache->Height() == 0;
  auto prepare = [&] {
    if (owner) Send(owner, scmPrepareCache);
  };
  if (Info.PleaseDraw) {
    SkinData->Invalidate(false);
    if (!SkinData->IsCached()) {
      const vcl::TColor color = vcl::ColorToRGB(GetBgColor(SkinData, State, nullptr));
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(color));
      const RECT r{Info.R.Left, Info.R.Top, Info.R.Right, Info.R.Bottom};
      FillRect(Info.DrawDC, &r, brush);
      DeleteObject(brush);
      Info.BgType = btColor;
      return;
    }
    if (SkinData->BGChanged) prepare();
    if (!SkinData->BGChanged && cache)
      BitBlt(Info.DrawDC, Info.R.Left, Info.R.Top, Info.R.Width(), Info.R.Height(), cache->Canvas()->Handle(),
             Info.Offset.X, Info.Offset.Y, SRCCOPY);
    Info.BgType = btBitmap;
    return;
  }
  Info.Bmp = nullptr;
  const TsGeneralData* section = SkinData->Section();
  if (!section || SkinData->CustomColor()) {
    Info.BgType = btColor;
    if (owner) {
      Info.Color = owner->Color();
    } else if (TsSkinProviderBase* p = SkinData->OwnerProvider(); p && p->Form) {
      Info.Color = p->Form->Color();
    } else if (!section && !cacheEmpty) {
      // Without its section it shows what lies behind it, as a see-through one does: its
      // picture holds that (a colour would miss a picture behind, the shading of the dialog
      // behind a property sheet's page).
      Info.BgType = btBitmap;
      Info.Bmp = cache;
      Info.Offset = vcl::TPoint{0, 0};
    } else {
      // Nothing of its own to answer with: the colour of what lies behind it, its parent's
      // when that one tells it, else the system's face (never the colour the query came with).
      const vcl::TColor behind = GetWndColor(Wnd ? GetParent(Wnd) : nullptr);
      Info.Color = behind != kNoColorAnswer ? behind : vcl::ColorToRGB(vcl::clBtnFace);
    }
    return;
  }
  const TsSkinManager* manager = SkinData->GetSkinManager();
  const TsLoadedSkin& skin = manager->Skin();
  const int state = std::min({State, section->States - 1, 1});
  const TsGenState& props = section->Props[static_cast<std::size_t>(std::max(state, 0))];
  const int t = props.Transparency, g = props.GradientPercent, i = props.ImagePercent;
  const bool corners = skin.IsValidImgIndex(section->ImgTL) || skin.IsValidImgIndex(section->ImgTR) ||
                       skin.IsValidImgIndex(section->ImgBL) || skin.IsValidImgIndex(section->ImgBR);
  if (t == 0 && g < 1 && i < 1 && !corners && !SkinData->IsAeroBlur()) {
    Info.BgType = btColor;
    Info.Color = GetBgColor(SkinData, State, nullptr);
    const int border = SkinData->BorderIndex;
    if (skin.IsValidImgIndex(border) && !(skin.Images[static_cast<std::size_t>(border)].DrawMode & 2)) {
      Info.FillRect = vcl::TRect{skin.MaskWidthLeft(border), skin.MaskWidthTop(border), skin.MaskWidthRight(border),
                                 skin.MaskWidthBottom(border)};
      Info.Bmp = cache;
      Info.Offset = vcl::TPoint{0, 0};
    }
    return;
  }
  if (t == 0) {
    Info.Color = skin.GetGlobalColor();
    const bool wrongSize = owner && cache && (cache->Width() != owner->Width() || cache->Height() != owner->Height());
    if (cacheEmpty || wrongSize) {
      SkinData->BGChanged = true;
      prepare();
    }
    cache = SkinData->CacheBmp();
    if (!cache || cache->Width() == 0 || cache->Height() == 0) {
      Info.BgType = btNotReady;
      return;
    }
    Info.BgType = btBitmap;
    Info.Bmp = cache;
    Info.Offset = vcl::TPoint{0, 0};
    return;
  }
  if (t >= 100 && ((SkinData->CtrlSkinState & kStatePlainBg) || !cache)) {
    vcl::TWinControl* parent = owner ? owner->Parent() : nullptr;
    vcl::TControl* self = owner;
    if (!owner)
      if (TsSkinProviderBase* p = SkinData->OwnerProvider(); p && p->Form) {
        parent = p->Form->Parent();
        self = p->Form;
      }
    if (parent && self) {
      // The parent answers for its own corner in its picture; ours lies our place further in.
      GetBgInfo(Info, parent, false);
      if (Info.Bmp) {
        Info.Offset = vcl::TPoint{Info.Offset.X + self->Left(), Info.Offset.Y + self->Top()};
        Info.FillRect.Offset(-self->Left(), -self->Top());
      }
      return;
    }
    if (!Wnd) {
      Info.BgType = btColor;
      Info.Color = skin.GetGlobalColor();
      return;
    }
    HWND parentWnd = GetParent(Wnd);
    GetBgInfoWnd(Info, parentWnd, false);
    if (Info.Bmp) {
      RECT r{};
      GetWindowRect(Wnd, &r);
      MapWindowPoints(nullptr, parentWnd, reinterpret_cast<POINT*>(&r), 2);
      Info.Offset = vcl::TPoint{Info.Offset.X + r.left, Info.Offset.Y + r.top};
    }
    return;
  }
  if (t >= 100 && cache && i > 0) {
    if (SkinData->BGChanged) prepare();
    if (!SkinData->BGChanged) {
      Info.BgType = btBitmap;
      Info.Bmp = cache;
    } else {
      Info.BgType = btColor;
      Info.Color = GetBgColor(SkinData, State, nullptr);
    }
    Info.Offset = vcl::TPoint{0, 0};
    return;
  }
  if (!cache) {
    Info.BgType = btColor;
    Info.Color = 0xFF00FF;
  } else if (!cacheEmpty) {
    Info.BgType = btBitmap;
    Info.Bmp = cache;
    Info.Offset = vcl::TPoint{0, 0};
  } else {
    SkinData->Updating = true;
    Info.BgType = btNotReady;
  }
}

namespace {

void CopyCacheInto(TsCommonData* SkinData, vcl::TPoint Offset, HDC DC, const vcl::TRect& R) {
  vcl::TBitmap* cache = SkinData->CacheBmp();
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), cache->Canvas()->Handle(), Offset.X, Offset.Y, SRCCOPY);
}

bool HasCache(TsCommonData* SkinData) {
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  return cache && cache->Width() > 0 && cache->Height() > 0;
}

void Corners(TsCommonData* SkinData) {
  const TsSkinManager* manager = SkinData->GetSkinManager();
  PaintControlCorners(manager ? &manager->Skin() : nullptr, SkinData->BorderIndex, SkinData->CacheBmp(),
                      SkinData->OwnerControl(), 0, 15);
}

}  // namespace

void PaintParentBg(vcl::TWinControl* Parent, TsCommonData* SkinData, vcl::TPoint Offset, int Y, int X, bool DoGlow,
                   HDC DC, const vcl::TRect& R) {
  if (!HasCache(SkinData)) return;
  if (DoGlow) Corners(SkinData);
  const TSavedDC saved(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  if (Parent)
    for (int i = 0; i < Parent->ControlCount(); ++i) {
      vcl::TControl* child = Parent->Controls(i);
      const bool graphic = !dynamic_cast<vcl::TWinControl*>(child);
      const bool opaque = child->ControlStyle().Contains(vcl::csOpaque);
      if (!child->Visible() || !(graphic || opaque || Designed(child))) continue;
      vcl::TRect c = child->BoundsRect();
      c.Offset(X, Y);
      vcl::TRect overlap;
      if (!IntersectRect(reinterpret_cast<RECT*>(&overlap), reinterpret_cast<const RECT*>(&c),
                         reinterpret_cast<const RECT*>(&R)))
        continue;
      ExcludeClipRect(DC, c.Left, c.Top, c.Right, c.Bottom);
    }
  CopyCacheInto(SkinData, Offset, DC, R);
}

void PaintChildrenInto(HWND Wnd, TsCommonData* SkinData, vcl::TPoint Offset, int Y, int X, bool DoGlow, HDC DC,
                       const vcl::TRect& R) {
  if (!HasCache(SkinData)) return;
  if (DoGlow) Corners(SkinData);
  const TSavedDC saved(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  const TsSkinManager* manager = DefaultSkinManager();
  for (HWND child = Wnd ? GetTopWindow(Wnd) : nullptr; child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
    OffsetRect(&r, X, Y);
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    const bool groupBox = (style & 7) == 7 && !(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    if (!groupBox) {
      ExcludeClipRect(DC, r.left, r.top, r.right, r.bottom);
      continue;
    }
    if (!manager) continue;
    // A group box covers only its frame.
    const int top = static_cast<int>(SendCommandToWnd(child, scmGetCtrlValue, 0));
    const TsLoadedSkin& skin = manager->Skin();
    const int section = skin.GetSkinIndex(L"GROUPBOX");
    const int mask = skin.GetMaskIndex(section, L"GROUPBOX", L"BORDERSMASK");
    const int left = skin.MaskWidthLeft(mask), right = skin.MaskWidthRight(mask), bottom = skin.MaskWidthBottom(mask);
    ExcludeClipRect(DC, r.left, r.top, r.right, r.top + top);
    ExcludeClipRect(DC, r.left, r.top, r.left + left, r.bottom);
    ExcludeClipRect(DC, r.right - right, r.top, r.right, r.bottom);
    ExcludeClipRect(DC, r.left, r.bottom - bottom, r.right, r.bottom);
  }
  CopyCacheInto(SkinData, Offset, DC, R);
}

void ChangeBmpHSL(vcl::TBitmap* Bmp, TsCommonData* SkinData, int Arg) {
  if (!Bmp || !SkinData) return;
  const TqvColorChanges changes{SkinData->ColorTone, SkinData->HueOffset, SkinData->Saturation};
  if (changes.Any()) ApplyColorChanges(Bmp, vcl::TRect{0, 0, Bmp->Width(), Bmp->Height()}, changes);
  const TsSkinManager* manager = SkinData->GetSkinManager();
  PaintControlCorners(manager ? &manager->Skin() : nullptr, SkinData->BorderIndex, Bmp, SkinData->OwnerControl(), Arg,
                      15);
}

}  // namespace skin_layered
