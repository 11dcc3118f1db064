// The skin data every control, form and window adapter skinned by the layered engine owns:
// the link between it and the skin. It holds the control's section name and what the section
// resolves to in its manager's tables, the control's cache bitmap, its hot, focused and
// updating state, and whether the cache must be rebuilt. Owners pass every message to
// CommonMessage first (or only the skin command message to CommonWndProc) and take a true
// answer as handled: the skin data then answers the skin command message, follows focus and
// hover with the section's colours, and forgets the skin when it goes.
//
// Also here: TsScrollWndData (skin data with scroll-bar options), the answers to the
// background queries (ProvideBgInfo, GetBgColor) and the copies of a cache into a device
// context with the children left out.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/rtl/Persistent.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/ControlSkin.h"
#include "skin_layered/paint/TextEffects.h"

namespace skin_layered {

class TsSkinManager;
class TsCommonData;

// Bits of the state word.
inline constexpr std::uint16_t kStatePlainBg = 0x1;       // the background is plain
inline constexpr std::uint16_t kStateUnknown = 0x2;       // not yet classified
inline constexpr std::uint16_t kStatePrintDC = 0x200;     // a print DC is set
inline constexpr std::uint16_t kStateDeferred = 0x400;    // a deferred change waits (providers)
inline constexpr std::uint16_t kStateInUpdate = 0x800;    // inside BeginUpdate / EndUpdate

// Background flags.
inline constexpr int kBgGradientFirst = 1;
inline constexpr int kBgGradientSecond = 2;
inline constexpr int kBgImagePercent = 4;

// What scmPaintToParent (and the Aero repaint of children) carries: the parent's image and the
// place of the parent's client area in it.
struct TqvPaintRecord {
  int Kind = 0;
  vcl::TBitmap* Bmp = nullptr;
  vcl::TPoint SrcPos;
  vcl::TPoint DstPos;
};

// The mode bit of scmPaintToParent that puts the shadow over the background saved before.
inline constexpr std::uint16_t kPaintOverSaved = 0x100;

// Sets of control type codes.
bool IsColorFollowingCode(int Code);   // Color and Font.Color follow the section
bool IsNoHoverGlowCode(int Code);      // no outer glow on mouse enter (IsCached reads it)
bool NoGlowOnEnter(int Code);          // those and the buttons (92-94)
bool IsNoHotTrackingCode(int Code);    // CM_MOUSEENTER/LEAVE leave the hot flag alone
bool IsFrameRefreshCode(int Code);     // scmRefresh recomputes the window frame
// The section of a code when SkinSection is empty; empty for the owner's class name (and for
// code 34, which picks between two sections).
vcl::StringView DefaultSectionOfCode(int Code);

class TqvOuterEffects : public vcl::TPersistent {
  VCL_CLASS(TqvOuterEffects, vcl::TPersistent)
 public:
  explicit TqvOuterEffects(TsCommonData* Owner = nullptr) : owner_(Owner) {}

  TqvOuterVisibility Visibility() const { return visibility_; }
  // A new value asks the owner control's parent to reload (scmReload).
  void SetVisibility(TqvOuterVisibility Value);
  void Assign(vcl::TPersistent* Source) override;

 private:
  TsCommonData* owner_;
  TqvOuterVisibility visibility_ = ovNone;
};

class TsCommonData : public vcl::TPersistent {
  VCL_CLASS(TsCommonData, vcl::TPersistent)
 public:
  // AOwner: the control, provider or adapter skinned. With CreateCacheBmp a 32-bit cache of
  // 0 x 0 is made.
  TsCommonData(vcl::TObject* AOwner, bool CreateCacheBmp);
  ~TsCommonData() override;

  // ---- published
  bool CustomColor() const { return custom_color_; }
  void SetCustomColor(bool Value);
  bool CustomFont() const { return custom_font_; }
  void SetCustomFont(bool Value);
  TqvOuterEffects* OuterEffects() const { return outer_effects_.get(); }
  void SetOuterEffects(TqvOuterEffects* Value) { outer_effects_->Assign(Value); }
  // The manager set for the control (nil: the default one).
  TsSkinManager* SkinManager() const { return skin_manager_; }
  void SetSkinManager(TsSkinManager* Value);
  // Always kept in upper case; a change re-resolves the section and refreshes the control.
  const vcl::String& SkinSection() const { return skin_section_; }
  void SetSkinSection(const vcl::String& Value);

  // The control's manager, else the default one; nil when there is neither.
  TsSkinManager* GetSkinManager() const;
  // A section that gives nothing of its own along its parents (a plain default face) counts
  // as missing for the owner, who then shows the system's drawing; a change re-resolves it.
  bool HollowIsMissing() const { return hollow_is_missing_; }
  void SetHollowIsMissing(bool Value);
  vcl::TControl* OwnerControl() const { return owner_control_; }
  vcl::TObject* OwnerObject() const { return owner_object_; }
  // The owner as a form's skin provider; nil for other owners.
  TsSkinProviderBase* OwnerProvider() const;
  vcl::TBitmap* CacheBmp() const { return cache_bmp_.get(); }
  vcl::TBitmap* OuterImage() const { return outer_image_.get(); }

  // ---- state (the fields the owners and painters read and set)
  int SkinIndex = kNoIndex;
  int BorderIndex = kNoIndex;
  int Texture = kNoIndex;
  int HotTexture = kNoIndex;
  bool BGChanged = true;
  bool Updating = false;
  int COC = 0;  // control type code
  std::uint16_t CtrlSkinState = kStateUnknown;
  int BGType = 0;  // background flags
  HDC PrintDC = nullptr;
  bool PaintToDC = true;
  int GlowID = -1;
  vcl::TColor ColorTone = 0x1FFFFFFF;
  int HueOffset = 0;
  int Saturation = 0;
  bool FFocused = false;
  bool FMouseAbove = false;
  // The glow of the control's text, kept between paints (WriteTextEx).
  TGlowMask TextGlow;
  bool Focused() const { return FFocused; }
  // While waiting for the first show, colour and font changes repaint nothing (Update ends it;
  // window adapters set it themselves).
  bool WaitingForFirstShow() const { return waiting_; }
  void SetWaitingForFirstShow(bool Value) { waiting_ = Value; }
  int UpdateCount() const { return update_count_; }

  // ---- operations
  bool Skinned(bool CheckActive = false) const;
  // The section SkinIndex names in the manager's skin; nil when not skinned.
  const TsGeneralData* Section() const;
  void BeginUpdate();
  void EndUpdate(bool Repaint);
  // Repaints the owner (nothing while waiting for the first show).
  void Loaded(bool AllNow = false);
  // The first show: the section resolved, the form told, the colours taken.
  void Update();
  void ResolveSection();
  void UpdateIndexes(bool FindIndex = true);
  // The skin index of the section in the manager's skin (-1 for none, and for a section that
  // gives nothing where that counts as missing).
  int FindSkinIndex() const;
  // The first of the names (a list of section names) that the skin has.
  void SetFirstSection(std::initializer_list<vcl::StringView> Names);
  void UpdateColors(bool Repaint);
  void Invalidate(bool Children = false);
  bool CheckBgChanged(bool Reset = false);
  bool BgIsChanged() const;
  bool BgDependsOnParent() const;
  bool ControlIsActive() const;
  bool IsCached() const;
  bool IsAeroBlur() const;
  void InitCacheBmp();
  // Sets the cache's size to 0 x 0 (nothing without a cache).
  void DropCache();
  // Frees the cache (a form's window image is made again on its next paint).
  void FreeCacheBmp() { cache_bmp_.reset(); }
  int GlowMargin() const;
  void RefreshParentCache();
  void RepaintChildren(vcl::TWinControl* Control, vcl::TPoint Offset);
  void PaintToParent(TqvPaintRecord& Record, std::uint16_t Mode);
  // Shows the outer glow for a hot owner (or around Handle without owner control), or takes
  // it away.
  void PaintOuterEffects(bool Clicked, HWND Handle, int Alpha);
  void ReleaseGlow();
  // The background behind a window (its parent asked), without drawing.
  void GetBGInfo(HWND Wnd, TqvCacheInfo& CacheInfo) const;
  // The background behind the owner as painting routines take it.
  void FillParentBg(TqvCacheInfo& CacheInfo) const;
  // What the painters need of this skin data.
  TqvControlSkin ControlSkin() const;

  // Color and Font.Color of the owner from state State of the section (each only where it
  // differs, and not where the owner keeps its own); true when one changed.
  bool ApplyColorsOfState(int State);
  // The manager set for the control is going: the default one serves from now on.
  void ForgetManager() { skin_manager_ = nullptr; }

 private:
  friend class TqvOuterEffects;
  bool OwnerLoading() const;
  bool OwnerDestroying() const;

  std::unique_ptr<vcl::TBitmap> outer_image_;
  vcl::String skin_section_;
  bool custom_font_ = false;
  bool custom_color_ = false;
  int update_count_ = 0;
  std::unique_ptr<TqvOuterEffects> outer_effects_;
  bool waiting_ = true;
  bool hollow_is_missing_ = false;
  TsSkinManager* skin_manager_ = nullptr;
  vcl::TControl* owner_control_ = nullptr;
  vcl::TObject* owner_object_ = nullptr;
  std::unique_ptr<vcl::TBitmap> cache_bmp_;
};

class TsScrollWndData;

class TqvScrollData : public vcl::TPersistent {
  VCL_CLASS(TqvScrollData, vcl::TPersistent)
 public:
  explicit TqvScrollData(TsCommonData* Owner = nullptr) : owner_(Owner) {}

  // -1: from the skin. A new width recomputes the owner window's frame.
  int ScrollWidth() const { return scroll_width_; }
  void SetScrollWidth(int Value);
  // -1: from the skin. A new size repaints the owner window's frame.
  int ButtonsSize() const { return buttons_size_; }
  void SetButtonsSize(int Value);
  void Assign(vcl::TPersistent* Source) override;

 private:
  // The owner's window when it is windowed, has one and is not loading.
  HWND OwnerWindow() const;

  TsCommonData* owner_;
  int scroll_width_ = -1;
  int buttons_size_ = -1;
};

class TsScrollWndData : public TsCommonData {
  VCL_CLASS(TsScrollWndData, TsCommonData)
 public:
  TsScrollWndData(vcl::TObject* AOwner, bool CreateCacheBmp);
  ~TsScrollWndData() override;

  TqvScrollData* HorzScrollData() const { return horz_.get(); }
  void SetHorzScrollData(TqvScrollData* Value) { horz_->Assign(Value); }
  TqvScrollData* VertScrollData() const { return vert_.get(); }
  void SetVertScrollData(TqvScrollData* Value) { vert_->Assign(Value); }

 private:
  std::unique_ptr<TqvScrollData> horz_;
  std::unique_ptr<TqvScrollData> vert_;
};

// The skin command message for the skin data; true when it knew the sub-command (and for
// another message or no skin data, without acting).
bool CommonWndProc(vcl::TMessage& Message, TsCommonData* SkinData);
// The owner's messages: true when handled (the skin command message as CommonWndProc, a
// skinned control's WM_UPDATEUISTATE); false for everything else, after acting on it.
bool CommonMessage(vcl::TMessage& Message, TsCommonData* SkinData);

// The answer to scmGetBgInfo (State: focused or hot; Wnd: the window asked for, 0 for the
// owner).
void ProvideBgInfo(TsCommonData* SkinData, TqvBGInfo& Info, int State, HWND Wnd = nullptr);
// The owner's background colour in the state.
vcl::TColor GetBgColor(TsCommonData* SkinData, int State, HWND Handle = nullptr);
// The cache copied into R of DC from Offset, leaving out the children of Parent that cover
// it (graphic, opaque or designed ones, moved by X, Y); with DoGlow the corners are made
// right first.
void PaintParentBg(vcl::TWinControl* Parent, TsCommonData* SkinData, vcl::TPoint Offset, int Y, int X, bool DoGlow,
                   HDC DC, const vcl::TRect& R);
// The same leaving out the visible child windows of Wnd (group boxes only by their frame).
void PaintChildrenInto(HWND Wnd, TsCommonData* SkinData, vcl::TPoint Offset, int Y, int X, bool DoGlow, HDC DC,
                       const vcl::TRect& R);
// The skin data's colour changes over the bitmap (key-coloured pixels kept), then its corners.
void ChangeBmpHSL(vcl::TBitmap* Bmp, TsCommonData* SkinData, int Arg);

}  // namespace skin_layered
