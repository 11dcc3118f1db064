#include "skin_layered/forms/TitleItemAnimation.h"

#include <algorithm>

#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/LayeredWindows.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvItemAnimation) {}

void TqvItemAnimation::FormDeleter::operator()(vcl::TForm* Form) const { vcl::TObject::Free(Form); }

TqvItemAnimation::TqvItemAnimation(vcl::TComponent* AOwner, HWND Wnd, TqvFadedItem* Item, int Steps)
    : TTimer(AOwner), Wnd(Wnd), Item(Item), StepCount(std::max(1, Steps)) {
  SetEnabled(false);
  SetInterval(kItemFadeInterval);
}

TqvItemAnimation::~TqvItemAnimation() { SetEnabled(false); }

int TqvItemAnimation::AlphaStep() const { return std::max(255 / std::max(1, StepCount), 0); }

void TqvItemAnimation::SetState(int State) {
  TargetState = State;
  Finished = false;
  if (State != 0) {
    if (State == 2) {
      PrevImage.reset();
      CurImage.reset();
    }
    FadingIn = true;
    Step = 1;
    ShowFrame(std::min(AlphaStep(), 255));
    Step = 2;
  } else {
    FadingIn = false;
    if (StepCount <= 1) {
      // No fade out: the look that goes goes at once (its window would stay for good).
      Step = 0;
      TargetState = -1;
      Finished = true;
      SetEnabled(false);
      CurImage.reset();
      PrevImage.reset();
      fade_form_.reset();
      return;
    }
    Step = std::max(0, Step - 1);
    ShowFrame(255);
  }
  SetEnabled(StepCount > 1);
  if (StepCount <= 1) Finished = true;
}

void TqvItemAnimation::Tick() {
  if (FadingIn) {
    if (Step < StepCount) {
      ShowFrame(std::clamp(AlphaStep() * Step, 0, 255));
      ++Step;
      return;
    }
    if (!Finished) {
      ShowFrame(255);
      Finished = true;
      PrevImage.reset();
    }
    SetEnabled(false);
    POINT cursor{};
    GetCursorPos(&cursor);
    // The form's handling of the leave may end this fade (free it with its item): nothing
    // follows it.
    if (!Item->ScreenRect().Contains(vcl::TPoint(cursor.x, cursor.y))) Item->FadeMouseLeft();
    return;
  }
  if (Step > 0) {
    ShowFrame(std::clamp(AlphaStep() * Step, 0, 255));
    --Step;
    return;
  }
  TargetState = -1;
  Finished = true;
  SetEnabled(false);
  CurImage.reset();
  PrevImage.reset();
  fade_form_.reset();
}

void TqvItemAnimation::MakeImage() {
  const vcl::TRect r = Item->ImageRect();
  CurImage = CreateBmp32(std::max(1, r.Width()), std::max(1, r.Height()));
  const vcl::TRect all = vcl::Rect(0, 0, CurImage->Width(), CurImage->Height());
  if (!Item->PaintFaded(all, CurImage.get())) FillDC(CurImage->Canvas()->Handle(), all, static_cast<vcl::TColor>(0xFFFF));
  FillAlphaRect(CurImage.get(), all, 255);
}

void TqvItemAnimation::ShowFrame(int Alpha) {
  LastAlpha = Alpha;
  if (!CurImage) MakeImage();
  // Fading out shows the look that goes.
  vcl::TBitmap* image = !FadingIn && PrevImage ? PrevImage.get() : CurImage.get();
  if (!image || !Wnd || !IsWindow(Wnd)) return;
  if (!fade_form_) {
    fade_form_.reset(new vcl::TForm(nullptr, 0));
    fade_form_->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
    fade_form_->SetTag(256);
    fade_form_->HandleNeeded();
    const HWND fade = fade_form_->Handle();
    SetClassLongPtrW(fade, GCL_STYLE, GetClassLongPtrW(fade, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
    LONG_PTR ex = WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
    if (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) ex |= WS_EX_TOPMOST;
    SetWindowLongPtrW(fade, GWL_EXSTYLE, ex);
    SetWindowLongPtrW(fade, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(Wnd));
  }
  const HWND fade = fade_form_->Handle();
  vcl::TRect place = Item->ScreenRect();
  if (place.Width() != image->Width() || place.Height() != image->Height()) {
    const int cx = (place.Left + place.Right) / 2, cy = (place.Top + place.Bottom) / 2;
    place = vcl::Rect(cx - image->Width() / 2, cy - image->Height() / 2, 0, 0);
    place.Right = place.Left + image->Width();
    place.Bottom = place.Top + image->Height();
  }
  // Directly above the window the item lies on.
  HWND after = GetWindow(Wnd, GW_HWNDPREV);
  if (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) after = HWND_TOPMOST;
  if (!after || after == fade) after = HWND_TOP;
  PlaceWindowAfter(fade, after, place.Left, place.Top, place.Width(), place.Height(), SWP_NOACTIVATE | SWP_NOOWNERZORDER,
                   Wnd);
  const vcl::TPoint dest(place.Left, place.Top);
  UpdateLayeredWnd(fade, image, static_cast<std::uint8_t>(std::clamp(Alpha, 0, 255)), &dest);
  ShowWindow(fade, SW_SHOWNOACTIVATE);
}

}  // namespace skin_layered
