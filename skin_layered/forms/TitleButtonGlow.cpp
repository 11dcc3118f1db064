#include "skin_layered/forms/TitleButtonGlow.h"

#include <algorithm>
#include <utility>

#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {
namespace {

// WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT, and the layered style for the picture.
constexpr LONG_PTR kGlowFormStyle = 0x080000A0;
constexpr LONG_PTR kGlowPictureStyle = 0x08080020;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING.
constexpr UINT kPlacing = 0x613;
constexpr int kNoSkinTag = 256;

TCursorQuery& CursorQuery() {
  static TCursorQuery query;
  return query;
}

POINT CursorPos() {
  if (const TCursorQuery& query = CursorQuery()) return query();
  POINT p{};
  GetCursorPos(&p);
  return p;
}

bool ApplicationTerminating() { return vcl::Application && vcl::Application->Terminated(); }

// The skin's glow around a hot button is wanted and can be seen: partly transparent by
// nature, it would show as an opaque block where the display has no per-pixel alpha; the
// button's own picture fades then.
bool GlowShown(const TsSkinManager& Manager) { return Manager.Effects()->AllowGlowing() && PerPixelAlphaShown(); }

void AddExStyle(HWND Wnd, LONG_PTR Style) {
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if ((ex & Style) != Style) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | Style);
}

}  // namespace

TCursorQuery SetGlowCursorQuery(TCursorQuery Query) { return std::exchange(CursorQuery(), std::move(Query)); }

VCL_CLASS_INFO(TqvSBAnimation) {}

TqvSBAnimation::TqvSBAnimation(vcl::TComponent* AOwner) : TTimer(AOwner) {
  SetEnabled(false);
  SetInterval(kGlowFadeInterval);
  OnTimer = vcl::TNotifyEvent::Bind<&TqvSBAnimation::OnTimerStep>(this);
}

TqvSBAnimation::~TqvSBAnimation() {
  SetEnabled(false);
  FreeGlow();
  if (Button && Button->Timer == this) Button->Timer = nullptr;
}

vcl::TForm* TqvSBAnimation::GlowForm() const { return glow_form_; }

void TqvSBAnimation::FreeGlow() {
  image_.reset();
  if (TqvGlowForm* form = std::exchange(glow_form_, nullptr)) vcl::TObject::Free(form);
}

// Steps below 1 would divide by zero: a fade has one step at least.
int TqvSBAnimation::AlphaPerStep() const { return std::max(0, 255 / std::max(1, Steps)); }

// ---------------------------------------------------------------------------------------
// The fade

void TqvSBAnimation::ChangeState(int NewState, bool FadeIn) {
  Steps = std::max(1, Steps);
  if (NewState == State && !Finished) return;
  State = NewState;
  Finished = false;
  const int perStep = AlphaPerStep();
  if (NewState != 0) {
    FadingIn = FadeIn;
    if (NewState == 2) {
      // The pressed look shows at once, in the window that shows the fade (the mouse's
      // release must find the window it was pressed on).
      image_.reset();
      Step = Steps;
      FadedIn = true;
      Show(255);
      SetEnabled(true);
      return;
    }
    // The picture of the new state; from where a fade-out left it (hovering back fades in
    // again), else from the start.
    image_.reset();
    Step = std::clamp(Step + 1, 1, Steps);
    FadedIn = Step >= Steps;
    Show(FadedIn ? 255 : static_cast<std::uint8_t>(std::min(perStep * Step, 255)));
    SetEnabled(Steps > 1 || FadedIn);
    return;
  }
  FadingIn = false;
  FadedIn = false;
  Step = std::max(0, Step - 1);
  Show(static_cast<std::uint8_t>(std::min(perStep * Step, 255)));
  if (Step == 0) {
    Finished = true;
    SetEnabled(false);
    FreeGlow();
    return;
  }
  SetEnabled(true);
}

void TqvSBAnimation::OnTimerStep(vcl::TObject*) {
  const int perStep = AlphaPerStep();
  if (FadingIn) {
    if (Step < Steps && ++Step < Steps) {
      Show(static_cast<std::uint8_t>(std::clamp(perStep * Step, 0, 255)));
      return;
    }
    if (!FadedIn) {
      FadedIn = true;
      Show(255);
    }
    // Faded in: the mouse is watched until it leaves the button, which the owner is told once.
    if (!MouseOnButton()) {
      SetEnabled(false);
      // The owner may end this fade from its handler: nothing follows the message.
      if (Wnd) SendMessageW(Wnd, WM_MOUSELEAVE, 0, 0);
    }
    return;
  }
  if (Step > 0) {
    --Step;
    Show(static_cast<std::uint8_t>(std::clamp(perStep * Step, 0, 255)));
  }
  if (Step <= 0) {
    Finished = true;
    SetEnabled(false);
    FreeGlow();
  }
}

bool TqvSBAnimation::MouseOnButton() {
  if (!Button) return false;
  const vcl::TRect owner = OwnerRect();
  const POINT p = CursorPos();
  return Button->Rect.Contains(vcl::TPoint(p.x - owner.Left, p.y - owner.Top));
}

// ---------------------------------------------------------------------------------------
// The picture and its window

vcl::TRect TqvSBAnimation::OwnerRect() const {
  HWND wnd = BorderForm && BorderForm->BorderWindow() ? BorderForm->BorderWindow() : Wnd;
  RECT r{};
  if (wnd) GetWindowRect(wnd, &r);
  return vcl::TRect(r);
}

int TqvSBAnimation::GlowImageIndex() const {
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!manager || !Button || !manager->IsValidImgIndex(Button->ImageIndex)) return -1;
  const TsLoadedSkin& skin = manager->Skin();
  const vcl::String name = skin.Images[static_cast<std::size_t>(Button->ImageIndex)].PropertyName + L"GLOW0";
  const int index = manager->GetMaskIndex(skin.ConstData.IndexGLOBALINFO, L"GLOBALINFO", name);
  return manager->IsValidImgIndex(index) ? index : -1;
}

int TqvSBAnimation::GlowMargin() const {
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  if (!manager || !Button || !GlowShown(*manager) || State != 1) return 0;
  const TsSkinData& data = manager->Skin().SkinData;
  switch (Button->HitCode) {
    case HTMINBUTTON: return data.BIMinGlowMargin;
    case HTMAXBUTTON: return data.BIMaxGlowMargin;
    case HTCLOSE: return data.BICloseGlowMargin;
    default: return 0;
  }
}

vcl::TRect TqvSBAnimation::GlowRect() {
  const vcl::TRect owner = OwnerRect();
  if (!Button) return {};
  vcl::TRect r = Button->Rect;
  r.Offset(owner.Left, owner.Top);
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  const bool glowing = manager && GlowShown(*manager) && State == 1 &&
                       (Button->HitCode == HTMINBUTTON || Button->HitCode == HTMAXBUTTON || Button->HitCode == HTCLOSE);
  if (const int glow = glowing ? GlowImageIndex() : -1; glow >= 0) {
    const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(glow)];
    const int margin = GlowMargin();
    r.Left -= margin;
    r.Top -= margin;
    r.Right = r.Left + MaskImageWidth(mask);
    r.Bottom = r.Top + MaskImageHeight(mask);
  }
  return r;
}

void TqvSBAnimation::MakeImg() {
  if (State == 0 && image_) return;
  TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!manager || !Button) return;
  const TsLoadedSkin& skin = manager->Skin();
  int glyph = Button->ImageIndex;
  // A minimised form's skin glyph is the restore one; the system's button draws its own.
  if (Provider && Button->HitCode == HTMINBUTTON && skin.IsValidImgIndex(glyph) && Wnd && IsIconic(Wnd)) {
    const int restore = skin.ConstData.TitleButton(TqvTitleButtonImage::BIConNorm);
    if (skin.IsValidImgIndex(restore)) glyph = restore;
  }
  const bool glowing = GlowShown(*manager) && State == 1 &&
                       (Button->HitCode == HTMINBUTTON || Button->HitCode == HTMAXBUTTON || Button->HitCode == HTCLOSE);
  if (const int glow = glowing && skin.IsValidImgIndex(glyph) ? GlowImageIndex() : -1; glow >= 0) {
    const TsMaskData& mask = skin.Images[static_cast<std::size_t>(glow)];
    vcl::TBitmap* source = mask.Bmp ? mask.Bmp.get() : skin.MasterBitmap.get();
    if (source) {
      image_ = CreateBmp32(MaskImageWidth(mask), MaskImageHeight(mask));
      BitBlt(image_->Canvas()->Handle(), 0, 0, image_->Width(), image_->Height(), source->Canvas()->Handle(),
             mask.R.Left, mask.R.Top, SRCCOPY);
      return;
    }
  }
  // The button's own place in the window image with its glyph in the state.
  const vcl::TRect r = Button->Rect;
  image_ = CreateBmp32(std::max(0, r.Width()), std::max(0, r.Height()));
  if (cache)
    BitBlt(image_->Canvas()->Handle(), 0, 0, r.Width(), r.Height(), cache->Canvas()->Handle(), r.Left, r.Top,
           SRCCOPY);
  FillAlphaRect(image_.get(), vcl::Rect(0, 0, image_->Width(), image_->Height()), 255);
  if (skin.IsValidImgIndex(glyph)) {
    TqvCacheInfo ci;
    MakeCacheInfo(image_.get(), 0, 0, ci);
    DrawSkinGlyph(image_.get(), vcl::TPoint(0, 0), State, 1, skin.Images[static_cast<std::size_t>(glyph)], ci);
  } else if (Wnd && (!Provider || Provider->CaptionButtons().ShowsSystemFace(*Button))) {
    // The skin has no glyph: the system's button in the state.
    const bool restore =
        (Button->HitCode == HTMAXBUTTON && IsZoomed(Wnd)) || (Button->HitCode == HTMINBUTTON && IsIconic(Wnd));
    const vcl::TRect all = vcl::Rect(0, 0, image_->Width(), image_->Height());
    if (!DrawSystemTitleButton(image_.get(), all, Button->HitCode, restore, State, true))
      DrawSystemButtonEdge(image_.get(), all, State, true);
  }
  const int user = Button->HitCode - kHitUserButton;
  if (Provider && Button->HitCode >= kHitUserButton && Button->HitCode < kHitTitleBarItem)
    if (TsTitleButtons* buttons = Provider->TitleButtons(); buttons && user < buttons->Count())
      Provider->CaptionButtons().PaintUserGlyph(buttons->Items(user), image_.get(), r.TopLeft());
}

void TqvSBAnimation::MakeForm() {
  if (glow_form_) return;
  glow_form_ = new TqvGlowForm(nullptr);
  glow_form_->SetTag(kNoSkinTag);
  glow_form_->HandleNeeded();
  AddExStyle(glow_form_->Handle(), kGlowFormStyle);
}

void TqvSBAnimation::Show(std::uint8_t Alpha) {
  if (!Button || ApplicationTerminating()) return;
  if (!image_) MakeImg();
  if (!image_ || image_->Width() == 0 || image_->Height() == 0) return;
  MakeForm();
  if (!glow_form_ || !glow_form_->HandleAllocated()) return;
  const HWND wnd = glow_form_->Handle();
  vcl::TRect r = GlowRect();
  // The picture stays centred on the button.
  if (r.Width() != image_->Width()) {
    r.Offset((r.Width() - image_->Width()) / 2, (r.Height() - image_->Height()) / 2);
    r.Right = r.Left + image_->Width();
    r.Bottom = r.Top + image_->Height();
  }
  const HWND owner = BorderForm && BorderForm->BorderWindow() ? BorderForm->BorderWindow() : Wnd;
  if (owner) {
    // Right above the owner; nothing above the owner means the top (HWND_TOP).
    const HWND after =
        GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST ? HWND_TOPMOST : GetWindow(owner, GW_HWNDPREV);
    if (after != wnd) PlaceWindowAfter(wnd, after, 0, 0, 0, 0, kPlacing, owner);  // not already there
  }
  AddExStyle(wnd, kGlowPictureStyle);
  const vcl::TPoint at = r.TopLeft();
  UpdateLayeredWnd(wnd, image_.get(), Alpha, &at);
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

// ---------------------------------------------------------------------------------------
// The provider's entry

bool TsSkinProvider::StartButtonGlow(int HitCode, bool ToHot) {
  TsCaptionButton* button = frame_mouse_.ElementByCode(HitCode);
  if (!button || !SkinData || !Form->HandleAllocated()) return false;
  const int state = ToHot ? std::max(1, button->State) : 0;
  auto* fade = dynamic_cast<TqvSBAnimation*>(button->Timer);
  if (!fade) {
    if (state == 0) return false;  // nothing glows: the button is simply repainted
    fade = new TqvSBAnimation(this);
    fade->BorderForm = ExtBorderForm();
    fade->SkinData = SkinData;
    fade->Wnd = Form->Handle();
    fade->Provider = this;
    fade->Button = button;
    fade->Steps = kGlowFadeSteps;
    button->Timer = fade;
    if (ApplicationTerminating()) return true;
  }
  fade->ChangeState(state, true);
  return true;
}

}  // namespace skin_layered
