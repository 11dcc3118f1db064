// The hint manager: hints drawn into 32-bit images and shown on a layered, click-through,
// top-most form, with soft shadows, rounded shapes and a fade-in. The look comes from the
// active skin's section (SkinSection) or, without a skin, from a PNG hint template. One
// manager is the program's (HintManager()); while it exists the application's hints use
// its window class (TqvPngHintWindow), and ShowHintAt shows a hint at any point.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/controls/Timer.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/Component.h"
#include "skin_layered/paint/HintHost.h"
#include "skin_layered/paint/HintShowTimer.h"
#include "skin_layered/paint/HintTemplates.h"

namespace skin_layered {

class TqvPngHintWindow;
class TqvHintForm;

// Before a hint shows: the handler may change the text, give a control to show instead of it
// (HintControl), or cancel (CanShow false).
using TqvShowHintEvent = vcl::Event<void(vcl::TObject* Sender, vcl::String& HintText, bool& CanShow,
                                         vcl::THintInfo& HintInfo, vcl::TWinControl*& HintControl)>;

class TsHintManager : public vcl::TComponent, public TqvHintHost, public TqvHintFadeHost {
  VCL_CLASS(TsHintManager, vcl::TComponent)
 public:
  // The first manager made is the program's; the application's hints take its window class.
  explicit TsHintManager(vcl::TComponent* AOwner);
  ~TsHintManager() override;

  // Hints take the look of the default skin manager's section SkinSection while it is active
  // and has that section.
  bool UseSkinData() const { return use_skin_data_; }
  void SetUseSkinData(bool Value) { use_skin_data_ = Value; }
  const vcl::String& SkinSection() const override { return skin_section_; }
  void SetSkinSection(const vcl::String& Value) { skin_section_ = Value; }
  // Texts are HTML (bold, italic, fonts, links, line breaks).
  bool HTMLMode() const override { return html_mode_; }
  void SetHTMLMode(bool Value) { html_mode_ = Value; }
  // Where texts wrap; below 1 the screen's width.
  int MaxWidth() const override { return max_width_; }
  void SetMaxWidth(int Value) { max_width_ = Value; }
  vcl::TAlignment Alignment() const override { return alignment_; }
  void SetAlignment(vcl::TAlignment Value) { alignment_ = Value; }
  // Hints fade in (and slide from where the last one stood).
  bool Animated() const { return animated_; }
  void SetAnimated(bool Value) { animated_ = Value; }
  // Where a hint goes from its point while it fits on the monitor (TqvHintPlacement).
  int DefaultPlacement() const override { return default_placement_; }
  void SetDefaultPlacement(int Value) { default_placement_ = Value; }
  TqvHintTemplates* Templates() const { return templates_.get(); }
  void SetTemplates(TqvHintTemplates* Value) { templates_->Assign(Value); }
  // The template used; -1 (or any index outside Templates) the built-in default template.
  int TemplateIndex() const { return template_index_; }
  void SetTemplateIndex(int Value) { template_index_ = Value; }
  // Shadow bands count when hints are placed, and the text stays in the window instead of
  // its caption. On when layered windows are available.
  bool LayeredImage() const override { return layered_image_; }
  void SetLayeredImage(bool Value) { layered_image_ = Value; }
  // A control shown in place of the text (its size is the hint's).
  vcl::TWinControl* CustomHintControl() const override { return custom_hint_control_; }
  void SetCustomHintControl(vcl::TWinControl* Value);

  TqvShowHintEvent OnShowHint;
  vcl::TNotifyEvent OnHideHint;
  // Every change of a template (not while the manager is read from a description).
  vcl::TNotifyEvent OnChange;

  // Shows Text with its body's corner at Point (screen coordinates) in the manager's own hint
  // window; with HideAfterMs other than 0 it goes again after that long. Answers the window
  // (nil when the show event cancelled).
  TqvPngHintWindow* ShowHintAt(vcl::TPoint Point, const vcl::String& Text, int HideAfterMs);

  // Whether hints are painted from the skin now.
  bool SkinUsed() const override;
  // The template hints without a skin use.
  TqvHintTemplate* ActiveTemplate() const override;

  // Where the next hint points when set (-1, -1: none); reset after every hint.
  vcl::TPoint HintPos{-1, -1};

  // What the hints are showing, for the windows and for tests.
  TqvHintForm* HintForm() const { return hint_form_; }
  TqvHintForm* FadeForm() const { return fade_form_; }
  vcl::TBitmap* LastImage() const override { return last_image_.get(); }
  const vcl::TRect& LastHintRect() const override { return last_hint_rect_; }
  bool HintVisible() const { return visible_; }
  TsShowTimer* ShowTimer() const { return show_timer_; }
  vcl::TTimer* KeepAliveTimer() const { return keep_alive_timer_; }
  vcl::TTimer* HideAfterTimer() const { return hide_after_timer_; }
  TqvPngHintWindow* PngHintWindow() const { return png_window_; }
  // The bitmap hints are measured and painted with (its font the hint font).
  vcl::TBitmap* WorkBitmap() const override { return work_bmp_.get(); }

 protected:
  void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

 private:
  friend void NotifyHintTemplateChange();

  // What its hint windows ask of it.
  vcl::TPoint NextHintPos() const override { return HintPos; }
  void HintActivating() override;
  void HintActivated() override;
  void ShowHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool DropShadow,
                     std::uint8_t FinalAlpha) override;
  bool FollowHintWindow(const vcl::TRect& R) override;
  void HintHidden() override;
  void KeepHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R) override;

  void TemplatesChanged();
  // The layered form of the hint, made when missing, at R on top of everything.
  TqvHintForm* NeedHintForm(const vcl::TRect& R, bool DropShadow);
  TqvHintForm* NewHintForm(const vcl::TRect& R, bool DropShadow);
  // The fade's host: the windows, and its end.
  HWND HintWindow() const override;
  HWND FadeWindow() const override;
  void FadeDone(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool Slide) override;
  // The fading form becomes the hint form (the old one goes).
  void PromoteFadeForm();
  void StopShowTimer(bool KeepImage);
  void StartShowTimer(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, std::uint8_t FinalAlpha);
  void SetLastImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R);
  void KeepAliveTick(vcl::TObject* Sender);
  void HideAfterTick(vcl::TObject* Sender);
  void FreeHintForms();
  void SlowHintPause();
  void RestoreHintPause();

  bool use_skin_data_ = true;
  vcl::String skin_section_ = L"HINT";
  bool html_mode_ = false;
  int max_width_ = 0;
  vcl::TAlignment alignment_ = vcl::taLeftJustify;
  bool animated_ = true;
  int default_placement_ = 0;
  std::unique_ptr<TqvHintTemplates> templates_;
  int template_index_ = -1;
  bool layered_image_ = true;
  vcl::TWinControl* custom_hint_control_ = nullptr;

  std::unique_ptr<vcl::TBitmap> work_bmp_;
  TqvHintForm* hint_form_ = nullptr;  // owned as components
  TqvHintForm* fade_form_ = nullptr;
  std::unique_ptr<vcl::TBitmap> last_image_;
  vcl::TRect last_hint_rect_;
  bool showing_ = false;
  bool visible_ = false;
  int saved_hint_pause_ = -1;  // the application's, while fades run
  TsShowTimer* show_timer_ = nullptr;
  vcl::TTimer* keep_alive_timer_ = nullptr;
  vcl::TTimer* hide_after_timer_ = nullptr;
  TqvPngHintWindow* png_window_ = nullptr;
  const vcl::TClassInfo* previous_hint_class_ = nullptr;
};

// The program's hint manager; nil while there is none.
TsHintManager* HintManager();

}  // namespace skin_layered
