// TqvProviderOptions, the settings a form's provider publishes that are plain values: each is
// read where it matters (the next paint, animation, menu or sizing), so storing it is all its
// setter does. The settings whose change must show at once (the caption's alignment and icon,
// the title and menu-line sections, the extended borders, the global colour) have setters of
// their own on the provider, which store here and then repaint.
// It stands between the engine's provider base and TsSkinProvider, in the component's class
// chain, because a class's property table reaches an accessor through the component class that
// declares it.
#pragma once

#include "classlib/controls/Controls.h"
#include "classlib/rtl/Object.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

VCL_ENUM(TsGripMode, gmNone, gmRightBottom)
using enum TsGripMode;
VCL_ENUM(TsResizeMode, rmStandard, rmBorder)
using enum TsResizeMode;

class TqvProviderOptions : public TsSkinProviderBase {
 public:
  explicit TqvProviderOptions(vcl::TComponent* AOwner) : TsSkinProviderBase(AOwner) {}

  bool AllowAnimation() const { return allow_animation_; }
  void SetAllowAnimation(bool Value) { allow_animation_ = Value; }
  bool AllowBlendOnMoving() const { return allow_blend_on_moving_; }
  void SetAllowBlendOnMoving(bool Value) { allow_blend_on_moving_ = Value; }
  bool AllowExtBorders() const { return allow_ext_borders_; }
  vcl::TAlignment CaptionAlignment() const { return caption_alignment_; }
  bool DrawClientArea() const { return draw_client_area_; }
  void SetDrawClientArea(bool Value) { draw_client_area_ = Value; }
  TsGripMode GripMode() const { return grip_mode_; }
  void SetGripMode(TsGripMode Value) { grip_mode_ = Value; }
  bool MakeSkinMenu() const { return make_skin_menu_; }
  void SetMakeSkinMenu(bool Value) { make_skin_menu_ = Value; }
  const vcl::String& MenuLineSkin() const { return menu_line_skin_; }
  TsResizeMode ResizeMode() const { return resize_mode_; }
  void SetResizeMode(TsResizeMode Value) { resize_mode_ = Value; }
  bool ShowAppIcon() const { return show_app_icon_; }
  // The title's section; empty for "FORMTITLE".
  const vcl::String& TitleSkin() const { return title_skin_; }
  // The form's Color follows the skin's global colour.
  bool UseGlobalColor() const { return use_global_color_; }

 protected:
  // The stores behind the provider's setters that repaint; true when the value changed.
  bool StoreAllowExtBorders(bool Value) { return Store(allow_ext_borders_, Value); }
  bool StoreCaptionAlignment(vcl::TAlignment Value) { return Store(caption_alignment_, Value); }
  bool StoreMenuLineSkin(const vcl::String& Value) { return Store(menu_line_skin_, Value); }
  bool StoreShowAppIcon(bool Value) { return Store(show_app_icon_, Value); }
  bool StoreTitleSkin(const vcl::String& Value) { return Store(title_skin_, Value); }
  bool StoreUseGlobalColor(bool Value) { return Store(use_global_color_, Value); }

 private:
  template <typename T>
  static bool Store(T& Field, const T& Value) {
    if (Field == Value) return false;
    Field = Value;
    return true;
  }

  bool allow_animation_ = true;
  bool allow_blend_on_moving_ = true;
  bool allow_ext_borders_ = true;
  vcl::TAlignment caption_alignment_ = vcl::taLeftJustify;
  bool draw_client_area_ = true;
  TsGripMode grip_mode_ = gmNone;
  bool make_skin_menu_ = false;
  vcl::String menu_line_skin_;
  TsResizeMode resize_mode_ = rmStandard;
  bool show_app_icon_ = true;
  vcl::String title_skin_;
  bool use_global_color_ = true;
};

}  // namespace skin_layered
