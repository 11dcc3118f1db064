#include "skin_layered/manager/SkinOptions.h"

#include <windows.h>

#include "skin_layered/manager/SysColors.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvSkinEffects) {
  p.Bool<&TqvSkinEffects::AllowGlowing, &TqvSkinEffects::SetAllowGlowing>(L"AllowGlowing", true);
  p.Bool<&TqvSkinEffects::AllowAeroBluring, &TqvSkinEffects::SetAllowAeroBluring>(L"AllowAeroBluring", true);
  p.Bool<&TqvSkinEffects::DiscoloredGlyphs, &TqvSkinEffects::SetDiscoloredGlyphs>(L"DiscoloredGlyphs", false);
  p.Bool<&TqvSkinEffects::AllowOuterEffects, &TqvSkinEffects::SetAllowOuterEffects>(L"AllowOuterEffects", false);
}

VCL_CLASS_INFO(TqvBtnEffects) {
  p.Set<&TqvBtnEffects::Events, &TqvBtnEffects::SetEvents>(
      L"Events", TqvBtnEvents{beMouseEnter, beMouseLeave, beMouseDown, beMouseUp}.ToInt());
}

// The base publishes nothing: each kind of animation publishes what applies to it.
VCL_CLASS_INFO(TqvFormAnimation) {}

namespace {

template <class T>
void ActiveTimeMode(vcl::TPropertyList& p, bool Active, int Time, TqvAnimType Mode, bool WithMode = true) {
  p.Bool<&T::Active, &T::SetActive>(L"Active", Active);
  p.Integer<&T::Time, &T::SetTime>(L"Time", Time);
  if (WithMode) p.Enum<&T::Mode, &T::SetMode>(L"Mode", static_cast<int64_t>(Mode));
}

}  // namespace

VCL_CLASS_INFO(TqvFormShow) { ActiveTimeMode<TqvFormShow>(p, true, 0, atAero); }
VCL_CLASS_INFO(TqvFormHide) { ActiveTimeMode<TqvFormHide>(p, true, 0, atAero); }
VCL_CLASS_INFO(TqvDialogShow) { ActiveTimeMode<TqvDialogShow>(p, true, 0, atAero); }
VCL_CLASS_INFO(TqvPageChange) { ActiveTimeMode<TqvPageChange>(p, true, 0, atAero, false); }
VCL_CLASS_INFO(TqvMinimizing) { ActiveTimeMode<TqvMinimizing>(p, true, 120, atAero, false); }
VCL_CLASS_INFO(TqvSkinChanging) { ActiveTimeMode<TqvSkinChanging>(p, true, 100, atFading); }
VCL_CLASS_INFO(TqvBlendOnMoving) {
  ActiveTimeMode<TqvBlendOnMoving>(p, false, 1000, atAero, false);
  p.Integer<&TqvBlendOnMoving::BlendValue, &TqvBlendOnMoving::SetBlendValue>(L"BlendValue", 170);
}

VCL_CLASS_INFO(TqvAnimEffects) {
  p.Object<&TqvAnimEffects::Buttons, &TqvAnimEffects::SetButtons>(L"Buttons", TqvBtnEffects::StaticClass());
  p.Object<&TqvAnimEffects::DialogShow, &TqvAnimEffects::SetDialogShow>(L"DialogShow", TqvDialogShow::StaticClass());
  p.Object<&TqvAnimEffects::FormShow, &TqvAnimEffects::SetFormShow>(L"FormShow", TqvFormShow::StaticClass());
  p.Object<&TqvAnimEffects::FormHide, &TqvAnimEffects::SetFormHide>(L"FormHide", TqvFormHide::StaticClass());
  p.Object<&TqvAnimEffects::SkinChanging, &TqvAnimEffects::SetSkinChanging>(L"SkinChanging",
                                                                          TqvSkinChanging::StaticClass());
  p.Object<&TqvAnimEffects::PageChange, &TqvAnimEffects::SetPageChange>(L"PageChange", TqvPageChange::StaticClass());
  p.Object<&TqvAnimEffects::DialogHide, &TqvAnimEffects::SetDialogHide>(L"DialogHide", TqvFormHide::StaticClass());
  p.Object<&TqvAnimEffects::Minimizing, &TqvAnimEffects::SetMinimizing>(L"Minimizing", TqvMinimizing::StaticClass());
  p.Object<&TqvAnimEffects::BlendOnMoving, &TqvAnimEffects::SetBlendOnMoving>(L"BlendOnMoving",
                                                                            TqvBlendOnMoving::StaticClass());
}

VCL_CLASS_INFO(TqvScrollBarsSupport) {
  p.Integer<&TqvScrollBarsSupport::ScrollSize, &TqvScrollBarsSupport::SetScrollSize>(L"ScrollSize", -1);
  p.Integer<&TqvScrollBarsSupport::ButtonsSize, &TqvScrollBarsSupport::SetButtonsSize>(L"ButtonsSize", -1);
}

VCL_CLASS_INFO(TqvButtonsSupport) {
  p.Bool<&TqvButtonsSupport::ShowFocusRect, &TqvButtonsSupport::SetShowFocusRect>(L"ShowFocusRect", true);
  p.Bool<&TqvButtonsSupport::ShiftContentOnClick, &TqvButtonsSupport::SetShiftContentOnClick>(
      L"ShiftContentOnClick", true);
}

VCL_CLASS_INFO(TqvLabelsSupport) {
  p.Bool<&TqvLabelsSupport::TransparentAlways, &TqvLabelsSupport::SetTransparentAlways>(L"TransparentAlways", true);
}

VCL_CLASS_INFO(TqvOptions) {
  using O = TqvOption;
  p.Bool<&TqvOptions::Get<O::CheckEmptyAlpha>, &TqvOptions::Set<O::CheckEmptyAlpha>>(L"CheckEmptyAlpha", false);
  p.Bool<&TqvOptions::Get<O::NoMouseHover>, &TqvOptions::Set<O::NoMouseHover>>(L"NoMouseHover", false);
  p.Bool<&TqvOptions::Get<O::NativeBordersMaximized>, &TqvOptions::Set<O::NativeBordersMaximized>>(
      L"NativeBordersMaximized", false);
  p.Bool<&TqvOptions::Get<O::StdGlyphsOrder>, &TqvOptions::Set<O::StdGlyphsOrder>>(L"StdGlyphsOrder", false);
  p.Bool<&TqvOptions::Get<O::ChangeSysColors>, &TqvOptions::Set<O::ChangeSysColors>>(L"ChangeSysColors", false);
  p.Enum<&TqvOptions::OptimizingPriority, &TqvOptions::SetOptimizingPriority>(L"OptimizingPriority",
                                                                              static_cast<int64_t>(opSpeed));
}

namespace {

// Repaints are for a manager that is neither loading nor holding its announcements back.
bool MayRepaint(const TqvOptionsOwner* Manager, bool CheckHold) {
  return Manager && !Manager->ComponentLoading() && !(CheckHold && Manager->HoldsBroadcast());
}

}  // namespace

// ---------------------------------------------------------------------------------------

void TqvSkinEffects::SetDiscoloredGlyphs(bool Value) {
  if (discolored_glyphs_ == Value) return;
  discolored_glyphs_ = Value;
  if (MayRepaint(manager_, true)) manager_->RepaintForms(true);
}

void TqvSkinEffects::SetAllowOuterEffects(bool Value) {
  if (allow_outer_effects_ == Value) return;
  allow_outer_effects_ = Value;
  if (MayRepaint(manager_, true)) manager_->RepaintForms(false);
}

void TqvSkinEffects::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvSkinEffects*>(Source);
  if (!other) return TPersistent::Assign(Source);
  allow_glowing_ = other->allow_glowing_;
  allow_aero_bluring_ = other->allow_aero_bluring_;
  SetDiscoloredGlyphs(other->discolored_glyphs_);
  SetAllowOuterEffects(other->allow_outer_effects_);
}

void TqvBtnEffects::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvBtnEffects*>(Source);
  if (!other) return TPersistent::Assign(Source);
  events_ = other->events_;
}

void TqvFormAnimation::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvFormAnimation*>(Source);
  if (!other) return TPersistent::Assign(Source);
  active_ = other->active_;
  time_ = other->time_;
  mode_ = other->mode_;
}

void TqvBlendOnMoving::Assign(vcl::TPersistent* Source) {
  TqvFormAnimation::Assign(Source);
  if (auto* other = dynamic_cast<TqvBlendOnMoving*>(Source)) blend_value_ = other->blend_value_;
}

TqvAnimEffects::TqvAnimEffects(TqvOptionsOwner* Manager)
    : manager_(Manager),
      buttons_(std::make_unique<TqvBtnEffects>()),
      dialog_show_(std::make_unique<TqvDialogShow>()),
      form_show_(std::make_unique<TqvFormShow>()),
      form_hide_(std::make_unique<TqvFormHide>()),
      skin_changing_(std::make_unique<TqvSkinChanging>()),
      page_change_(std::make_unique<TqvPageChange>()),
      dialog_hide_(std::make_unique<TqvFormHide>()),
      minimizing_(std::make_unique<TqvMinimizing>()),
      blend_on_moving_(std::make_unique<TqvBlendOnMoving>()) {}

TqvAnimEffects::~TqvAnimEffects() = default;

void TqvAnimEffects::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvAnimEffects*>(Source);
  if (!other) return TPersistent::Assign(Source);
  buttons_->Assign(other->buttons_.get());
  dialog_show_->Assign(other->dialog_show_.get());
  form_show_->Assign(other->form_show_.get());
  form_hide_->Assign(other->form_hide_.get());
  skin_changing_->Assign(other->skin_changing_.get());
  page_change_->Assign(other->page_change_.get());
  dialog_hide_->Assign(other->dialog_hide_.get());
  minimizing_->Assign(other->minimizing_.get());
  blend_on_moving_->Assign(other->blend_on_moving_.get());
}

void TqvScrollBarsSupport::SetScrollSize(int Value) {
  if (scroll_size_ == Value) return;
  scroll_size_ = Value;
  if (MayRepaint(manager_, false)) manager_->SendScrollsChanged();
}

void TqvScrollBarsSupport::SetButtonsSize(int Value) {
  if (buttons_size_ == Value) return;
  buttons_size_ = Value;
  if (MayRepaint(manager_, false)) manager_->RepaintForms(false);
}

void TqvScrollBarsSupport::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvScrollBarsSupport*>(Source);
  if (!other) return TPersistent::Assign(Source);
  SetScrollSize(other->scroll_size_);
  SetButtonsSize(other->buttons_size_);
}

void TqvButtonsSupport::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvButtonsSupport*>(Source);
  if (!other) return TPersistent::Assign(Source);
  show_focus_rect_ = other->show_focus_rect_;
  shift_content_on_click_ = other->shift_content_on_click_;
}

void TqvLabelsSupport::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvLabelsSupport*>(Source);
  if (!other) return TPersistent::Assign(Source);
  transparent_always_ = other->transparent_always_;
}

void TqvOptions::SetOption(TqvOption Index, bool Value) {
  values_[static_cast<std::size_t>(Index)] = Value;
  if (Index != TqvOption::ChangeSysColors || !manager_) return;
  if (!manager_->IsDefaultManager() || manager_->Designing()) return;
  if (Value)
    PatchSysColors();
  else
    UnpatchSysColors();
}

void TqvOptions::Assign(vcl::TPersistent* Source) {
  auto* other = dynamic_cast<TqvOptions*>(Source);
  if (!other) return TPersistent::Assign(Source);
  for (std::size_t i = 0; i < values_.size(); ++i)
    if (values_[i] != other->values_[i]) SetOption(static_cast<TqvOption>(i), other->values_[i]);
  optimizing_priority_ = other->optimizing_priority_;
}

}  // namespace skin_layered
