#include "skin_layered/paint/HintManager.h"

#include <utility>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {

VCL_CLASS_INFO(TsHintManager) {
  p.Bool<&TsHintManager::UseSkinData, &TsHintManager::SetUseSkinData>(L"UseSkinData", true);
  p.String<&TsHintManager::SkinSection, &TsHintManager::SetSkinSection>(L"SkinSection");
  p.Bool<&TsHintManager::HTMLMode, &TsHintManager::SetHTMLMode>(L"HTMLMode", false);
  p.Integer<&TsHintManager::MaxWidth, &TsHintManager::SetMaxWidth>(L"MaxWidth", 0);
  p.Enum<&TsHintManager::Alignment, &TsHintManager::SetAlignment>(L"Alignment",
                                                                  static_cast<int64_t>(vcl::taLeftJustify));
  p.Bool<&TsHintManager::Animated, &TsHintManager::SetAnimated>(L"Animated", true);
  p.Integer<&TsHintManager::DefaultPlacement, &TsHintManager::SetDefaultPlacement>(L"DefaultPlacement", 0);
  p.Object<&TsHintManager::Templates, &TsHintManager::SetTemplates>(L"Templates", TqvHintTemplates::StaticClass());
  p.Integer<&TsHintManager::TemplateIndex, &TsHintManager::SetTemplateIndex>(L"TemplateIndex", -1);
  p.Object<&TsHintManager::CustomHintControl, &TsHintManager::SetCustomHintControl>(
      L"CustomHintControl", vcl::TWinControl::StaticClass());
  p.Event<&TsHintManager::OnShowHint>(L"OnShowHint");
  p.Event<&TsHintManager::OnHideHint>(L"OnHideHint");
  p.Event<&TsHintManager::OnChange>(L"OnChange");
}

namespace {

// The unit's state: the program's manager, and whether it is being told of a template
// change (a change made meanwhile tells nobody).
struct THintManagerUnit {
  TsHintManager* Manager = nullptr;
  bool Notifying = false;
};

THintManagerUnit& Unit() {
  static THintManagerUnit unit;
  return unit;
}

TsHintManager*& Instance() { return Unit().Manager; }

// The hint pause while a fade runs: a hint following the fading one comes quickly.
constexpr int kFadingHintPause = 100;
// The keep-alive timer waits this long beyond the application's short hint pause.
constexpr int kKeepAliveMargin = 300;

}  // namespace

TsHintManager* HintManager() { return Instance(); }
TqvHintHost* HintHost() { return Instance(); }

void NotifyHintTemplateChange() {
  THintManagerUnit& unit = Unit();
  if (!unit.Manager || unit.Notifying) return;
  unit.Notifying = true;
  const vcl::TScopeExit done([&unit] { unit.Notifying = false; });
  unit.Manager->TemplatesChanged();
}

TsHintManager::TsHintManager(vcl::TComponent* AOwner)
    : TComponent(AOwner), templates_(std::make_unique<TqvHintTemplates>(this)), work_bmp_(CreateBmp32(1, 1)) {
  layered_image_ = LayeredApiAvailable();
  if (vcl::Screen) work_bmp_->Canvas()->Font()->Assign(vcl::Screen->HintFont());
  if (!Instance()) {
    Instance() = this;
    previous_hint_class_ = vcl::HintWindowClass;
    vcl::HintWindowClass = &TqvPngHintWindow::StaticClass();
  }
}

TsHintManager::~TsHintManager() {
  // The windows going with the manager see none.
  if (Instance() == this) {
    Instance() = nullptr;
    if (vcl::HintWindowClass == &TqvPngHintWindow::StaticClass()) vcl::HintWindowClass = previous_hint_class_;
  }
  StopShowTimer(false);
  if (png_window_) vcl::TObject::Free(std::exchange(png_window_, nullptr));
  FreeHintForms();
  RestoreHintPause();
}

void TsHintManager::SetCustomHintControl(vcl::TWinControl* Value) {
  if (custom_hint_control_ == Value) return;
  if (custom_hint_control_) custom_hint_control_->RemoveFreeNotification(this);
  custom_hint_control_ = Value;
  if (Value) Value->FreeNotification(this);
}

void TsHintManager::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != vcl::opRemove) return;
  if (AComponent == custom_hint_control_) custom_hint_control_ = nullptr;
  if (AComponent == png_window_) png_window_ = nullptr;
  if (AComponent == hint_form_) hint_form_ = nullptr;
  if (AComponent == fade_form_) fade_form_ = nullptr;
  if (AComponent == show_timer_) show_timer_ = nullptr;
  if (AComponent == keep_alive_timer_) keep_alive_timer_ = nullptr;
  if (AComponent == hide_after_timer_) hide_after_timer_ = nullptr;
}

void TsHintManager::TemplatesChanged() {
  if (ComponentState().Contains(vcl::csLoading)) return;
  if (OnChange) OnChange(this);
}

bool TsHintManager::SkinUsed() const {
  const TqvDefaultManager* manager = DefaultManager();
  if (!manager || !manager->Active() || !use_skin_data_ || skin_section_.empty()) return false;
  return manager->Skin().GetSkinIndex(skin_section_) >= 0;
}

TqvHintTemplate* TsHintManager::ActiveTemplate() const {
  if (template_index_ >= 0 && template_index_ < templates_->Count()) return templates_->Items(template_index_);
  return DefaultHintTemplate();
}

// ---------------------------------------------------------------------------------------
// Showing a hint at a point

TqvPngHintWindow* TsHintManager::ShowHintAt(vcl::TPoint Point, const vcl::String& Text, int HideAfterMs) {
  if (!png_window_) {
    png_window_ = vcl::Construct<TqvPngHintWindow>(this);
    png_window_->FreeNotification(this);
  }
  const int wrap = max_width_ >= 1 ? max_width_ : GetSystemMetrics(SM_CXSCREEN);
  png_window_->ForcedPos = Point;
  vcl::String text = Text;
  vcl::TRect rect;
  if (OnShowHint) {
    SetCustomHintControl(nullptr);
    vcl::THintInfo info;
    info.HintPos = Point;
    info.HintMaxWidth = wrap;
    info.HintStr = text;
    info.HintWindowClass = &TqvPngHintWindow::StaticClass();
    bool canShow = true;
    vcl::TWinControl* control = nullptr;
    OnShowHint(this, text, canShow, info, control);
    if (!canShow) return nullptr;
    if (control) SetCustomHintControl(control);
    rect = png_window_->CalcHintRect(wrap, text, nullptr);
    png_window_->ForcedPos = Point;
  } else if (!text.empty()) {
    rect = png_window_->CalcHintRect(wrap, text, nullptr);
  }
  // The rectangle's corner is the point too, for points the forced position cannot hold.
  rect.Offset(Point.X - rect.Left, Point.Y - rect.Top);
  png_window_->ActivateHint(rect, text);
  if (HideAfterMs != 0) {
    if (!hide_after_timer_) {
      hide_after_timer_ = new vcl::TTimer(this);
      hide_after_timer_->SetEnabled(false);
      hide_after_timer_->OnTimer = vcl::TNotifyEvent::Bind<&TsHintManager::HideAfterTick>(this);
    }
    hide_after_timer_->SetEnabled(false);
    hide_after_timer_->SetInterval(static_cast<unsigned>(HideAfterMs));
    hide_after_timer_->SetEnabled(true);
  }
  return png_window_;
}

void TsHintManager::HideAfterTick(vcl::TObject*) {
  SetCustomHintControl(nullptr);
  if (png_window_) vcl::TObject::Free(std::exchange(png_window_, nullptr));
  if (hide_after_timer_) hide_after_timer_->SetEnabled(false);
}

// ---------------------------------------------------------------------------------------
// The layered forms and the fade

TqvHintForm* TsHintManager::NewHintForm(const vcl::TRect& R, bool DropShadow) {
  auto* form = vcl::Construct<TqvHintForm>(this, DropShadow);
  form->FreeNotification(this);
  HWND wnd = form->Handle();
  SetWindowPos(wnd, HWND_TOPMOST, R.Left, R.Top, R.Width(), R.Height(), SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  return form;
}

TqvHintForm* TsHintManager::NeedHintForm(const vcl::TRect& R, bool DropShadow) {
  if (hint_form_ && hint_form_->DropShadow() != DropShadow) vcl::TObject::Free(std::exchange(hint_form_, nullptr));
  if (!hint_form_) hint_form_ = NewHintForm(R, DropShadow);
  return hint_form_;
}

void TsHintManager::FreeHintForms() {
  if (fade_form_) vcl::TObject::Free(std::exchange(fade_form_, nullptr));
  if (hint_form_) vcl::TObject::Free(std::exchange(hint_form_, nullptr));
}

void TsHintManager::SetLastImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R) {
  last_image_ = std::move(Image);
  last_hint_rect_ = R;
}

HWND TsHintManager::HintWindow() const { return hint_form_ ? hint_form_->Handle() : nullptr; }
HWND TsHintManager::FadeWindow() const { return fade_form_ ? fade_form_->Handle() : nullptr; }

void TsHintManager::PromoteFadeForm() {
  if (!fade_form_) return;
  TqvHintForm* old = std::exchange(hint_form_, std::exchange(fade_form_, nullptr));
  if (old) vcl::TObject::Free(old);
}

void TsHintManager::FadeDone(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool Slide) {
  if (Slide) PromoteFadeForm();
  SetLastImage(std::move(Image), R);
}

void TsHintManager::StopShowTimer(bool KeepImage) {
  if (!show_timer_) return;
  TsShowTimer* timer = std::exchange(show_timer_, nullptr);
  timer->SetEnabled(false);
  if (KeepImage && !timer->Finished()) {
    // The fade stops where it stands: its image is what the hint form shows.
    PromoteFadeForm();
    if (auto image = timer->TakeImage()) SetLastImage(std::move(image), timer->Rect());
  }
  vcl::TObject::Free(timer);
}

void TsHintManager::StartShowTimer(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, std::uint8_t FinalAlpha) {
  StopShowTimer(false);
  // Where the last hint still shows elsewhere, the new one fades in over it as it slides.
  const bool slide = hint_form_ && last_image_ && !last_hint_rect_.IsEmpty() && last_hint_rect_ != R &&
                     IsWindowVisible(hint_form_->Handle());
  if (slide) {
    if (fade_form_) vcl::TObject::Free(std::exchange(fade_form_, nullptr));
    fade_form_ = NewHintForm(R, hint_form_->DropShadow());
  }
  SlowHintPause();
  show_timer_ = new TsShowTimer(this, *this, std::move(Image), R, FinalAlpha, slide);
  show_timer_->FreeNotification(this);
}

void TsHintManager::SlowHintPause() {
  if (!vcl::Application || saved_hint_pause_ >= 0) return;
  saved_hint_pause_ = vcl::Application->HintPause();
  vcl::Application->SetHintPause(kFadingHintPause);
}

void TsHintManager::RestoreHintPause() {
  if (saved_hint_pause_ < 0) return;
  if (vcl::Application) vcl::Application->SetHintPause(saved_hint_pause_);
  saved_hint_pause_ = -1;
}

// ---------------------------------------------------------------------------------------
// The hint windows' side

void TsHintManager::HintActivating() {
  showing_ = true;
  visible_ = true;
  if (keep_alive_timer_) keep_alive_timer_->SetEnabled(false);
  if (animated_ && show_timer_) StopShowTimer(true);
}

void TsHintManager::HintActivated() {
  showing_ = false;
  HintPos = {-1, -1};
}

void TsHintManager::ShowHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R, bool DropShadow,
                                  std::uint8_t FinalAlpha) {
  TqvHintForm* form = NeedHintForm(R, DropShadow);
  const vcl::TPoint at = R.TopLeft();
  if (animated_) {
    StartShowTimer(std::move(Image), R, FinalAlpha);
    if (!show_timer_->Sliding()) UpdateLayeredWnd(form->Handle(), show_timer_->Image(), 0, &at);
    return;
  }
  UpdateLayeredWnd(form->Handle(), Image.get(), 255, &at);
  SetWindowPos(form->Handle(), HWND_TOPMOST, at.X, at.Y, R.Width(), R.Height(), SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetLastImage(std::move(Image), R);
}

bool TsHintManager::FollowHintWindow(const vcl::TRect& R) {
  if (!visible_ || showing_ || !hint_form_) return false;
  SetWindowPos(hint_form_->Handle(), nullptr, R.Left, R.Top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

void TsHintManager::KeepHintImage(std::unique_ptr<vcl::TBitmap> Image, const vcl::TRect& R) {
  if (Image && !last_image_) SetLastImage(std::move(Image), R);
}

// ---------------------------------------------------------------------------------------
// Hiding

void TsHintManager::HintHidden() {
  StopShowTimer(true);
  visible_ = false;
  if (OnHideHint) OnHideHint(this);
  // The forms stay a moment: a hint that follows slides from where this one stood.
  if (!keep_alive_timer_) {
    keep_alive_timer_ = new vcl::TTimer(this);
    keep_alive_timer_->SetEnabled(false);
    keep_alive_timer_->FreeNotification(this);
    keep_alive_timer_->OnTimer = vcl::TNotifyEvent::Bind<&TsHintManager::KeepAliveTick>(this);
  }
  const int shortPause = vcl::Application ? vcl::Application->HintShortPause() : 0;
  keep_alive_timer_->SetEnabled(false);
  keep_alive_timer_->SetInterval(static_cast<unsigned>(shortPause + kKeepAliveMargin));
  keep_alive_timer_->SetEnabled(true);
}

void TsHintManager::KeepAliveTick(vcl::TObject*) {
  if (keep_alive_timer_) keep_alive_timer_->SetEnabled(false);
  if (visible_) return;
  StopShowTimer(false);
  FreeHintForms();
  last_image_.reset();
  last_hint_rect_ = {};
  RestoreHintPause();
}

}  // namespace skin_layered
