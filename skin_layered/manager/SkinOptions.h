// The skin manager's switches, grouped in small persistent objects that the manager publishes
// (Effects, AnimEffects, ButtonsOptions, LabelsOptions, Options, ScrollsOptions) and that form
// descriptions store. They hold values for the form skinning, adapters and painters; the few
// setters that change what is on the screen repaint the forms or tell them through the manager.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "classlib/rtl/Persistent.h"
#include "skin_layered/core/Constants.h"

namespace skin_layered {

// What the option objects ask of the manager that owns them: whether a change shows now, and
// the announcements a change makes. The manager is one; an option object without one only
// keeps its values.
class TqvOptionsOwner {
 public:
  virtual ~TqvOptionsOwner() = default;

  // Loading or being read from a form description.
  virtual bool ComponentLoading() const = 0;
  // Preview data is applied: announcements wait for its end.
  virtual bool HoldsBroadcast() const = 0;
  virtual bool IsDefaultManager() const = 0;
  virtual bool Designing() const = 0;
  virtual void RepaintForms(bool MakeSnapshot) = 0;
  // Every form is told that the scroll bars' sizes changed (scmScrollsChanged).
  virtual void SendScrollsChanged() = 0;
};

class TqvSkinEffects : public vcl::TPersistent {
  VCL_CLASS(TqvSkinEffects, vcl::TPersistent)
 public:
  explicit TqvSkinEffects(TqvOptionsOwner* Manager = nullptr) : manager_(Manager) {}

  bool AllowGlowing() const { return allow_glowing_; }
  void SetAllowGlowing(bool Value) { allow_glowing_ = Value; }
  bool AllowAeroBluring() const { return allow_aero_bluring_; }
  void SetAllowAeroBluring(bool Value) { allow_aero_bluring_ = Value; }
  // Both repaint the forms when changed (unless the manager is loading or holds its
  // announcements back).
  bool DiscoloredGlyphs() const { return discolored_glyphs_; }
  void SetDiscoloredGlyphs(bool Value);
  bool AllowOuterEffects() const { return allow_outer_effects_; }
  void SetAllowOuterEffects(bool Value);

  void Assign(vcl::TPersistent* Source) override;

 private:
  TqvOptionsOwner* manager_;
  bool allow_glowing_ = true;
  bool allow_aero_bluring_ = true;
  bool discolored_glyphs_ = false;
  bool allow_outer_effects_ = false;
};

class TqvBtnEffects : public vcl::TPersistent {
  VCL_CLASS(TqvBtnEffects, vcl::TPersistent)
 public:
  TqvBtnEffects() = default;

  TqvBtnEvents Events() const { return events_; }
  void SetEvents(TqvBtnEvents Value) { events_ = Value; }
  void Assign(vcl::TPersistent* Source) override;

 private:
  TqvBtnEvents events_{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp};
};

// One animation: on or off, its time in milliseconds and its kind. The classes below publish
// what applies to them, with their own defaults.
class TqvFormAnimation : public vcl::TPersistent {
  VCL_CLASS(TqvFormAnimation, vcl::TPersistent)
 public:
  TqvFormAnimation() = default;

  bool Active() const { return active_; }
  void SetActive(bool Value) { active_ = Value; }
  std::uint16_t Time() const { return time_; }
  void SetTime(std::uint16_t Value) { time_ = Value; }
  TqvAnimType Mode() const { return mode_; }
  void SetMode(TqvAnimType Value) { mode_ = Value; }

  void Assign(vcl::TPersistent* Source) override;

 protected:
  TqvFormAnimation(bool Active, std::uint16_t Time, TqvAnimType Mode) : active_(Active), time_(Time), mode_(Mode) {}

 private:
  bool active_ = true;
  std::uint16_t time_ = 0;
  TqvAnimType mode_ = atAero;
};

class TqvFormShow : public TqvFormAnimation {
  VCL_CLASS(TqvFormShow, TqvFormAnimation)
 public:
  TqvFormShow() = default;
};

class TqvFormHide : public TqvFormAnimation {
  VCL_CLASS(TqvFormHide, TqvFormAnimation)
 public:
  TqvFormHide() = default;
};

class TqvDialogShow : public TqvFormAnimation {
  VCL_CLASS(TqvDialogShow, TqvFormAnimation)
 public:
  TqvDialogShow() = default;
};

class TqvPageChange : public TqvFormAnimation {
  VCL_CLASS(TqvPageChange, TqvFormAnimation)
 public:
  TqvPageChange() = default;
};

class TqvMinimizing : public TqvFormAnimation {
  VCL_CLASS(TqvMinimizing, TqvFormAnimation)
 public:
  TqvMinimizing() : TqvFormAnimation(true, 120, atAero) {}
};

class TqvSkinChanging : public TqvFormAnimation {
  VCL_CLASS(TqvSkinChanging, TqvFormAnimation)
 public:
  TqvSkinChanging() : TqvFormAnimation(true, 100, atFading) {}
};

class TqvBlendOnMoving : public TqvFormAnimation {
  VCL_CLASS(TqvBlendOnMoving, TqvFormAnimation)
 public:
  TqvBlendOnMoving() : TqvFormAnimation(false, 1000, atAero) {}
  std::uint8_t BlendValue() const { return blend_value_; }
  void SetBlendValue(std::uint8_t Value) { blend_value_ = Value; }
  void Assign(vcl::TPersistent* Source) override;

 private:
  std::uint8_t blend_value_ = 170;
};

class TqvAnimEffects : public vcl::TPersistent {
  VCL_CLASS(TqvAnimEffects, vcl::TPersistent)
 public:
  explicit TqvAnimEffects(TqvOptionsOwner* Manager = nullptr);
  ~TqvAnimEffects() override;

  TqvBtnEffects* Buttons() const { return buttons_.get(); }
  TqvDialogShow* DialogShow() const { return dialog_show_.get(); }
  TqvFormShow* FormShow() const { return form_show_.get(); }
  TqvFormHide* FormHide() const { return form_hide_.get(); }
  TqvSkinChanging* SkinChanging() const { return skin_changing_.get(); }
  TqvPageChange* PageChange() const { return page_change_.get(); }
  TqvFormHide* DialogHide() const { return dialog_hide_.get(); }
  TqvMinimizing* Minimizing() const { return minimizing_.get(); }
  TqvBlendOnMoving* BlendOnMoving() const { return blend_on_moving_.get(); }
  // The published setters assign.
  void SetButtons(TqvBtnEffects* Value) { buttons_->Assign(Value); }
  void SetDialogShow(TqvDialogShow* Value) { dialog_show_->Assign(Value); }
  void SetFormShow(TqvFormShow* Value) { form_show_->Assign(Value); }
  void SetFormHide(TqvFormHide* Value) { form_hide_->Assign(Value); }
  void SetSkinChanging(TqvSkinChanging* Value) { skin_changing_->Assign(Value); }
  void SetPageChange(TqvPageChange* Value) { page_change_->Assign(Value); }
  void SetDialogHide(TqvFormHide* Value) { dialog_hide_->Assign(Value); }
  void SetMinimizing(TqvMinimizing* Value) { minimizing_->Assign(Value); }
  void SetBlendOnMoving(TqvBlendOnMoving* Value) { blend_on_moving_->Assign(Value); }

  void Assign(vcl::TPersistent* Source) override;

 private:
  TqvOptionsOwner* manager_;
  std::unique_ptr<TqvBtnEffects> buttons_;
  std::unique_ptr<TqvDialogShow> dialog_show_;
  std::unique_ptr<TqvFormShow> form_show_;
  std::unique_ptr<TqvFormHide> form_hide_;
  std::unique_ptr<TqvSkinChanging> skin_changing_;
  std::unique_ptr<TqvPageChange> page_change_;
  std::unique_ptr<TqvFormHide> dialog_hide_;
  std::unique_ptr<TqvMinimizing> minimizing_;
  std::unique_ptr<TqvBlendOnMoving> blend_on_moving_;
};

// Sizes of scroll bars and their buttons; -1 takes them from the skin or the system.
class TqvScrollBarsSupport : public vcl::TPersistent {
  VCL_CLASS(TqvScrollBarsSupport, vcl::TPersistent)
 public:
  explicit TqvScrollBarsSupport(TqvOptionsOwner* Manager = nullptr) : manager_(Manager) {}

  // A change tells every form (scmScrollsChanged) unless the manager is loading.
  int ScrollSize() const { return scroll_size_; }
  void SetScrollSize(int Value);
  // A change repaints the forms unless the manager is loading.
  int ButtonsSize() const { return buttons_size_; }
  void SetButtonsSize(int Value);

  void Assign(vcl::TPersistent* Source) override;

 private:
  TqvOptionsOwner* manager_;
  int scroll_size_ = -1;
  int buttons_size_ = -1;
};

class TqvButtonsSupport : public vcl::TPersistent {
  VCL_CLASS(TqvButtonsSupport, vcl::TPersistent)
 public:
  TqvButtonsSupport() = default;

  bool ShowFocusRect() const { return show_focus_rect_; }
  void SetShowFocusRect(bool Value) { show_focus_rect_ = Value; }
  bool ShiftContentOnClick() const { return shift_content_on_click_; }
  void SetShiftContentOnClick(bool Value) { shift_content_on_click_ = Value; }
  void Assign(vcl::TPersistent* Source) override;

 private:
  bool show_focus_rect_ = true;
  bool shift_content_on_click_ = true;
};

class TqvLabelsSupport : public vcl::TPersistent {
  VCL_CLASS(TqvLabelsSupport, vcl::TPersistent)
 public:
  TqvLabelsSupport() = default;

  bool TransparentAlways() const { return transparent_always_; }
  void SetTransparentAlways(bool Value) { transparent_always_ = Value; }
  void Assign(vcl::TPersistent* Source) override;

 private:
  bool transparent_always_ = true;
};

// The five switches of TqvOptions by index.
enum class TqvOption { CheckEmptyAlpha, NoMouseHover, NativeBordersMaximized, StdGlyphsOrder, ChangeSysColors };

class TqvOptions : public vcl::TPersistent {
  VCL_CLASS(TqvOptions, vcl::TPersistent)
 public:
  explicit TqvOptions(TqvOptionsOwner* Manager = nullptr) : manager_(Manager) {}

  bool Option(TqvOption Index) const { return values_[static_cast<std::size_t>(Index)]; }
  // ChangeSysColors switches the system-colour substitution when the manager is the default
  // one (and not designed).
  void SetOption(TqvOption Index, bool Value);

  bool CheckEmptyAlpha() const { return Option(TqvOption::CheckEmptyAlpha); }
  bool NoMouseHover() const { return Option(TqvOption::NoMouseHover); }
  bool NativeBordersMaximized() const { return Option(TqvOption::NativeBordersMaximized); }
  bool StdGlyphsOrder() const { return Option(TqvOption::StdGlyphsOrder); }
  bool ChangeSysColors() const { return Option(TqvOption::ChangeSysColors); }
  template <TqvOption Index>
  bool Get() const {
    return Option(Index);
  }
  template <TqvOption Index>
  void Set(bool Value) {
    SetOption(Index, Value);
  }

  TqvOptimizingPriority OptimizingPriority() const { return optimizing_priority_; }
  void SetOptimizingPriority(TqvOptimizingPriority Value) { optimizing_priority_ = Value; }

  void Assign(vcl::TPersistent* Source) override;

 private:
  TqvOptionsOwner* manager_;
  std::array<bool, 5> values_{};
  TqvOptimizingPriority optimizing_priority_ = opSpeed;
};

}  // namespace skin_layered
