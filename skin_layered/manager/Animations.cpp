#include "skin_layered/manager/Animations.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/controls/Themes.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/GlowWindows.h"
#include "skin_layered/paint/HintManager.h"
#include "skin_layered/paint/HintWindows.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"

namespace skin_layered {

VCL_CLASS_INFO(TOutputWindow) {}

namespace {

// ---- time

// The unit's state: the clock, the hide animation's timer, the change animation's output
// window, and the painting of a container's graphic controls under way.
class TqvHideTimer;

struct TAnimationUnit {
  TqvAnimationClock Clock;
  TqvHideTimer* HideTimer = nullptr;
  TOutputWindow* OutputWindow = nullptr;
  bool PaintingControls = false;
};

TAnimationUnit& Unit() {
  static TAnimationUnit unit;
  return unit;
}

TqvAnimationClock& Clock() { return Unit().Clock; }

DWORD Now() { return Clock().Tick ? Clock().Tick() : GetTickCount(); }

// Sleeps until the tick count reaches Until (no spinning on the tick count).
void WaitUntil(DWORD Until) {
  if (Clock().WaitUntil) return Clock().WaitUntil(Until);
  for (DWORD now = GetTickCount(); static_cast<int>(Until - now) > 0; now = GetTickCount())
    Sleep(static_cast<DWORD>(static_cast<int>(Until - now)));
}

bool Terminating() {
  if (Clock().Terminating) return Clock().Terminating();
  return vcl::Application && vcl::Application->Terminated();
}

void Frame(TqvAnimationKind Kind, int Index, int Alpha) {
  if (Clock().OnFrame) Clock().OnFrame(TqvAnimationFrame{Kind, Index, Alpha});
}

// AnimationActive for a scope, cleared on every exit.
[[nodiscard]] auto AnimationScope() {
  SetAnimationActive(true);
  return vcl::TScopeExit([] { SetAnimationActive(false); });
}

// ---- frames

// The zoom of a frame: the image drawn into (inset x, inset y, right - inset x, bottom - inset y).
struct TZoom {
  double InsetX = 0, InsetY = 0, Right = 0, Bottom = 0, StepX = 0, StepY = 0;
  void Advance() {
    InsetX += StepX;
    InsetY += StepY;
  }
};

void FillBlack(vcl::TBitmap* Bmp) {
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return;
  for (int y = 0; y < view.Height; ++y) std::fill(view.Row(y), view.Row(y) + view.Width, 0u);
}

void CopyWholeBitmap(vcl::TBitmap* To, vcl::TBitmap* From) {
  TPixelView to, from;
  if (!InitPixelView(To, to) || !InitPixelView(From, from)) return;
  const int w = std::min(to.Width, from.Width), h = std::min(to.Height, from.Height);
  for (int y = 0; y < h; ++y) std::copy(from.Row(y), from.Row(y) + w, to.Row(y));
}

void SetOpaque(vcl::TBitmap* Bmp, const vcl::TRect& R) {
  TPixelView view;
  if (!InitPixelView(Bmp, view)) return;
  const int left = std::max(0, R.Left), top = std::max(0, R.Top);
  const int right = std::min(view.Width, R.Right), bottom = std::min(view.Height, R.Bottom);
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x) view.Row(y)[x] |= 0xFF000000u;
}

// The frame's image in Work: zoomed (the work bitmap cleared to black and the image stretched
// into the zoom's rectangle, unscaled once an inset went below 0), else copied on the first
// frame only.
void ComposeFrame(vcl::TBitmap* Work, vcl::TBitmap* Image, bool Zoom, const TZoom& Z, bool First) {
  if (!Zoom) {
    if (First) CopyWholeBitmap(Work, Image);
    return;
  }
  FillBlack(Work);
  if (Z.InsetX < 0 || Z.InsetY < 0) {
    CopyWholeBitmap(Work, Image);
    return;
  }
  HDC dc = Work->Canvas()->Handle();
  const int mode = SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  const int l = static_cast<int>(std::lround(Z.InsetX)), t = static_cast<int>(std::lround(Z.InsetY));
  const int r = static_cast<int>(std::lround(Z.Right - Z.InsetX)), b = static_cast<int>(std::lround(Z.Bottom - Z.InsetY));
  StretchBlt(dc, l, t, r - l, b - t, Image->Canvas()->Handle(), 0, 0, Image->Width(), Image->Height(), SRCCOPY);
  SetStretchBltMode(dc, mode);
}

// The show loop: frames 0..Steps with the alpha rising by Alpha / Steps (the first frame has
// one step), each put on Wnd, 12 ms apart; the image at Alpha at once when Steps is 0.
void RunShowFrames(TqvAnimationKind Kind, HWND Wnd, vcl::TBitmap* Image, int Time, std::uint8_t Alpha, bool Zoom) {
  // A display that blends no layered window's alpha shows a fade's first frames nearly black:
  // the window there appears at once.
  const int steps = PerPixelAlphaShown() ? AnimationSteps(Time) : 0;
  if (steps == 0) {
    UpdateLayeredWnd(Wnd, Image, Alpha);
    Frame(Kind, 0, Alpha);
    return;
  }
  auto work = CreateBmpLike(Image);
  SetBmp32(work.get());
  FillBlack(work.get());
  const double w = Image->Width(), h = Image->Height();
  TZoom zoom{w / 8, h / 8, w, h, -(w / 8) / steps, -(h / 8) / steps};
  double alpha = 0;
  for (int i = 0; i <= steps; ++i) {
    alpha = std::min<double>(Alpha, alpha + static_cast<double>(Alpha) / steps);
    ComposeFrame(work.get(), Image, Zoom, zoom, i == 0);
    const DWORD t0 = Now();
    const auto a = static_cast<std::uint8_t>(std::lround(alpha));
    UpdateLayeredWnd(Wnd, work.get(), a);
    Frame(Kind, i, a);
    zoom.Advance();
    WaitUntil(t0 + kAnimationFrameTime);
  }
}

void AddExStyle(HWND Wnd, LONG_PTR Style) {
  const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
  if ((ex & Style) != Style) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | Style);
}

bool Topmost(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// A borderless form to animate on (Tag 256 keeps every skinning service away).
struct FormDeleter {
  void operator()(vcl::TCustomForm* Form) const { vcl::TObject::Free(Form); }
};
using TOwnedForm = std::unique_ptr<vcl::TCustomForm, FormDeleter>;

TOwnedForm NewAnimationForm(LONG_PTR ExStyle) {
  TOwnedForm form(new vcl::TForm(vcl::Application, 0));
  form->SetTag(256);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  AddExStyle(form->Handle(), ExStyle);
  return form;
}

TsSkinManager* ManagerOf(TsSkinProviderBase* Provider) {
  return Provider && Provider->SkinData ? Provider->SkinData->GetSkinManager() : DefaultSkinManager();
}

TsSkinManager* ManagerOf(TqvDialogWndBase* Adapter) {
  return Adapter && Adapter->SkinData ? Adapter->SkinData->GetSkinManager() : DefaultSkinManager();
}

// ---- the hide timer

class TqvHideTimer : public TqvThreadedTimer {
  VCL_CLASS(TqvHideTimer, TqvThreadedTimer)
 public:
  explicit TqvHideTimer(vcl::TComponent* AOwner) : TqvThreadedTimer(AOwner, true) {}
  ~TqvHideTimer() override;

  vcl::TCustomForm* Form() const { return form_.get(); }

  void Start(vcl::TCustomForm* Form, std::unique_ptr<vcl::TBitmap> Bmp, int Time, HWND NotifyWnd, int Mode,
             std::uint8_t StartAlpha) {
    // One hide animation at a time: the one before ends here (its window hears of it).
    Finish();
    form_.reset(Form);
    source_ = std::move(Bmp);
    notify_ = NotifyWnd;
    notified_ = false;
    // A display that blends no layered window's alpha would show the fade going black: the
    // picture goes at once there.
    steps_ = PerPixelAlphaShown() ? AnimationSteps(Time) : 0;
    if (steps_ == 0 || !form_ || !source_) {
      Finish();
      return;
    }
    step_ = 0;
    zoom_mode_ = Mode == 1;
    alpha_ = StartAlpha;
    alpha_step_ = static_cast<double>(StartAlpha) / steps_;
    const double w = source_->Width(), h = source_->Height();
    zoom_ = TZoom{0, 0, w, h, (w / 8) / steps_, (h / 8) / steps_};
    HWND wnd = form_->Handle();
    AddExStyle(wnd, WS_EX_LAYERED | WS_EX_NOACTIVATE);
    UpdateLayeredWnd(wnd, source_.get(), StartAlpha);
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
    SetWindowPos(wnd, HWND_TOPMOST, form_->Left(), form_->Top(), source_->Width(), source_->Height(),
                 SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_NOOWNERZORDER);
    work_ = CreateBmpLike(source_.get());
    SetBmp32(work_.get());
    SetInterval(kAnimationFrameTime);
    if (!Terminating()) {
      Tick();
      if (form_) SetEnabled(true);
      return;
    }
    // No message loop will run the ticks: the animation ends here.
    while (form_) {
      const DWORD t0 = Now();
      Tick();
      if (form_) WaitUntil(t0 + kAnimationFrameTime);
    }
  }

 protected:
  void DoTimer() override { Tick(); }

 private:
  void Tick() {
    if (!form_) return;
    if (step_ > steps_) {
      Finish();
      return;
    }
    alpha_ = std::max(0.0, alpha_ - alpha_step_);
    const auto a = static_cast<std::uint8_t>(std::lround(alpha_));
    ComposeFrame(work_.get(), source_.get(), zoom_mode_, zoom_, step_ == 0);
    UpdateLayeredWnd(form_->Handle(), work_.get(), a);
    Frame(TqvAnimationKind::Hide, step_, a);
    zoom_.Advance();
    ++step_;
  }

  // The end, whichever way it comes: the window to notify hears of it once, the timer stops
  // and the form and bitmaps go.
  void Finish() {
    if (!notified_ && (form_ || source_)) {
      notified_ = true;
      if (notify_ && IsWindow(notify_))
        if (auto* provider = reinterpret_cast<TsSkinProviderBase*>(SendCommandToWnd(notify_, scmGetProvider, 0));
            provider && provider->OnAfterAnimation)
          provider->OnAfterAnimation(provider, 1);
    }
    SetInterval(65535);
    SetEnabled(false);
    form_.reset();
    source_.reset();
    work_.reset();
  }

  TOwnedForm form_;
  std::unique_ptr<vcl::TBitmap> source_;
  std::unique_ptr<vcl::TBitmap> work_;
  HWND notify_ = nullptr;
  bool notified_ = true;
  int step_ = 0;
  int steps_ = 0;
  bool zoom_mode_ = false;
  double alpha_ = 0;
  double alpha_step_ = 0;
  TZoom zoom_;
};

// The application frees the timer at its end: the end of the animation is told then too.
TqvHideTimer::~TqvHideTimer() {
  Finish();
  if (Unit().HideTimer == this) Unit().HideTimer = nullptr;
}

TqvHideTimer* HideTimer() {
  TqvHideTimer*& timer = Unit().HideTimer;
  if (!timer) timer = new TqvHideTimer(vcl::Application);
  return timer;
}

// The window's place on the screen and its image size.
void PlaceAnimationWindow(HWND Anim, HWND Form, int X, int Y, int W, int H, UINT Extra) {
  SetWindowPos(Anim, nullptr, X, Y, W, H,
               SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | Extra);
  (void)Form;
}

}  // namespace

VCL_CLASS_INFO(TqvHideTimer) {}

TqvAnimationClock SetAnimationClock(TqvAnimationClock Value) { return std::exchange(Clock(), std::move(Value)); }

DWORD AnimationTick() { return Now(); }

bool ProcessMessagesUntil(const std::function<bool()>& Done, DWORD MaxTime) {
  const DWORD until = Now() + MaxTime;
  for (;;) {
    if (vcl::Application) vcl::Application->ProcessMessages();
    if (Done && Done()) return true;
    const DWORD now = Now();
    if (static_cast<int>(until - now) <= 0) return Done ? Done() : true;
    WaitUntil(std::min<DWORD>(until, now + kAnimationFrameTime));
  }
}

// ---------------------------------------------------------------------------------------
// TOutputWindow

TOutputWindow::TOutputWindow(vcl::TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(0xFF00FF);
  SetCaption(L"qvOutputWindow");
  SetTag(256);
}

void TOutputWindow::CreateParams(vcl::TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  if (Parent() || ParentWindow()) return;
  Params.Style = WS_POPUP;
  Params.WndParent = vcl::Application ? vcl::Application->Handle() : nullptr;
  auto* owner = dynamic_cast<vcl::TWinControl*>(Owner());
  if (owner && owner->HandleAllocated() && Topmost(owner->Handle())) Params.ExStyle |= WS_EX_TOPMOST;
}

void TOutputWindow::WndProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: Message.Result = 0; return;
    default: TCustomControl::WndProc(Message);
  }
}

// ---------------------------------------------------------------------------------------
// Show

void AnimFormShow(TsSkinProviderBase* Provider, std::uint16_t Time, std::uint8_t Alpha, TqvAnimType Mode) {
  if (!Provider || !Provider->Form || !Provider->SkinData || !Provider->SkinData->CacheBmp()) return;
  vcl::TCustomForm* form = Provider->Form;
  if (form->WindowState() == vcl::wsMinimized || (form->HandleAllocated() && IsIconic(form->Handle()))) return;
  const HWND formWnd = form->Handle();
  const auto animating = AnimationScope();
  TqvBorderFormBase* border = Provider->BorderForm;
  TOwnedForm own;
  HWND anim;
  if (border) {
    border->CreateNewForm();
    anim = border->BorderWindow();
    if (anim) SetWindowRgn(anim, nullptr, FALSE);
    border->PaintAll();
  } else {
    Provider->PaintAll();
    own = NewAnimationForm(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    anim = own->Handle();
  }
  if (!anim) return;

  vcl::TBitmap* cache = Provider->SkinData->CacheBmp();
  auto image = CreateBmp32(cache->Width(), cache->Height());
  // The frame, caption and menu line from the window image (the form's print gives its client
  // part only), the client painted over them.
  BitBlt(image->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintParentBgToBmp(image.get(), form, 0, border ? Provider : nullptr, 0);
  if (!border) SetOpaque(image.get(), vcl::TRect{0, 0, image->Width(), image->Height()});

  RECT wr{};
  GetWindowRect(formWnd, &wr);
  int dx = 0, dy = 0;
  TLayeredFormServices& services = FormServices();
  if (border) {
    const vcl::TRect shadow = Provider->WindowImage().ShadowSize();
    if (IsZoomed(formWnd) && Provider->Measures().CaptionHeight(false) < services.SysCaptionHeight(formWnd) + 4) {
      Provider->MaxCaptionLowered = true;
      dy = services.SysBorderWidth(formWnd, border, true) + shadow.Top + services.BorderFormOffsetY(border);
    } else {
      dy = border->ShadowOffset();
    }
    dx = services.SkinBorderWidth(border) - services.SysBorderWidth(formWnd, border, true) + shadow.Left;
  } else {
    Provider->UpdateRgn();
  }

  AddExStyle(anim, WS_EX_NOACTIVATE | WS_EX_LAYERED);
  const HWND after = Topmost(formWnd) ? HWND_TOPMOST : GetWindow(formWnd, GW_HWNDPREV);
  PlaceWindowAfter(anim, after ? after : HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE, formWnd);
  const int x = wr.left - dx, y = wr.top - dy;
  PlaceAnimationWindow(anim, formWnd, x, y, image->Width(), image->Height(), SWP_NOZORDER);
  ShowWindow(anim, SW_SHOWNOACTIVATE);

  RunShowFrames(TqvAnimationKind::Show, anim, image.get(), Time, Alpha, Mode == atAero);
  PlaceAnimationWindow(anim, formWnd, x, y, image->Width(), image->Height(), SWP_NOZORDER);
  UpdateLayeredWnd(anim, image.get(), Alpha);

  Provider->PaintingSuspended = false;
  if (form->AlphaBlend()) form->SetAlphaBlendValue(Alpha);
  SetWindowPos(formWnd, anim, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  SetAnimationActive(false);
  SendMessageW(formWnd, WM_SETREDRAW, 1, 0);
  RedrawWindow(formWnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASENOW | RDW_FRAME);
  if (services.AeroIsEnabled()) WaitUntil(Now() + 48);
  SetWindowPos(anim, formWnd, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOREDRAW);
  if (border) {
    Provider->UpdateTaskbarPreview(true);
    SetWindowRgn(anim, border->MakeFormRgn(), FALSE);
    if (const TsSkinManager* manager = ManagerOf(Provider); manager && manager->ExtendedBorders())
      border->UpdateExBordersPos(true, 255);
  }
  own.reset();
  if (Provider->OnAfterAnimation) Provider->OnAfterAnimation(Provider, 0);
}

// ---------------------------------------------------------------------------------------
// Hide

vcl::TCustomForm* HideAnimationForm() {
  const TqvHideTimer* timer = Unit().HideTimer;
  return timer ? timer->Form() : nullptr;
}

void StartHideAnimation(vcl::TCustomForm* Form, std::unique_ptr<vcl::TBitmap> Bmp, int Time, HWND NotifyWnd,
                        int Mode, std::uint8_t StartAlpha) {
  HideTimer()->Start(Form, std::move(Bmp), Time, NotifyWnd, Mode, StartAlpha);
}

void AnimFormHide(TsSkinProviderBase* Provider) {
  ClearGlows(false);
  if (!Provider || !Provider->Form || !Provider->SkinData || !Provider->SkinData->CacheBmp()) return;
  vcl::TCustomForm* form = Provider->Form;
  if (form->FormStyle() == vcl::fsMDIChild || !form->HandleAllocated()) return;
  const auto animating = AnimationScope();
  if (!(Provider->State & kProviderImageCurrent)) Provider->PaintAll();
  const HWND formWnd = form->Handle();
  vcl::TCustomForm* snapshot = FormServices().CreateSnapshotForm(formWnd);
  std::unique_ptr<vcl::TBitmap> image = Provider->StartMinAnimation(false);
  const TsSkinManager* manager = ManagerOf(Provider);
  const TqvFormHide* hide = manager ? manager->AnimEffects()->FormHide() : nullptr;
  if (snapshot && image)
    StartHideAnimation(snapshot, std::move(image), hide ? hide->Time() : 0, formWnd,
                       hide && hide->Mode() == atAero ? 1 : 0, 255);
  else
    vcl::TObject::Free(snapshot);
  SetLayeredAlpha(formWnd, false, 0);
}

// ---------------------------------------------------------------------------------------
// Dialogs

void CopyDlgImage(TqvDialogWndBase* Adapter, vcl::TBitmap* Bmp, bool FromScreen) {
  if (!Adapter || !Bmp || !Adapter->CtrlHandle) return;
  const HWND wnd = Adapter->CtrlHandle;
  RECT client{};
  GetClientRect(wnd, &client);
  const int x = Adapter->OffsetX(), y = Adapter->OffsetY();
  HDC dc = Bmp->Canvas()->Handle();
  if (FromScreen) {
    HDC window = GetWindowDC(wnd);
    BitBlt(dc, x, y, client.right, client.bottom, window, x, y, SRCCOPY);
    ReleaseDC(wnd, window);
  } else {
    const TSavedDC saved(dc);
    SetViewportOrgEx(dc, x, y, nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    AdapterServices().PrintChildWindows(wnd, dc);
  }
  if (!Adapter->BorderForm && !FromScreen)
    SetOpaque(Bmp, vcl::TRect{0, 0, Bmp->Width(), Bmp->Height()});
  else
    SetOpaque(Bmp, vcl::TRect{x, y, x + client.right, y + client.bottom});
}

void AnimShowDlg(TqvDialogWndBase* Adapter) {
  if (!Adapter || !Adapter->CtrlHandle || !Adapter->SkinData || !Adapter->SkinData->CacheBmp()) return;
  const auto animating = AnimationScope();
  const HWND dlg = Adapter->CtrlHandle;
  TOwnedForm own;
  HWND anim = Adapter->BorderForm ? Adapter->BorderForm->BorderWindow() : nullptr;
  if (!anim) {
    own = NewAnimationForm(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    anim = own->Handle();
  }
  Adapter->PaintAll();
  vcl::TBitmap* cache = Adapter->SkinData->CacheBmp();
  auto image = CreateBmp32(cache->Width(), cache->Height());
  CopyWholeBitmap(image.get(), cache);
  {
    HDC dc = image->Canvas()->Handle();
    RECT client{};
    GetClientRect(dlg, &client);
    const TSavedDC saved(dc);
    SetViewportOrgEx(dc, Adapter->OffsetX(), Adapter->OffsetY(), nullptr);
    IntersectClipRect(dc, 0, 0, client.right, client.bottom);
    AdapterServices().PrintChildWindows(dlg, dc);
    if (Adapter->BorderForm)
      SetOpaque(image.get(), vcl::TRect{Adapter->OffsetX(), Adapter->OffsetY(), Adapter->OffsetX() + client.right,
                                        Adapter->OffsetY() + client.bottom});
  }
  if (!Adapter->BorderForm) SetOpaque(image.get(), vcl::TRect{0, 0, image->Width(), image->Height()});
  RECT wr{};
  GetWindowRect(dlg, &wr);
  const vcl::TRect shadow = Adapter->ShadowSize();
  AddExStyle(anim, WS_EX_LAYERED | WS_EX_NOACTIVATE);
  PlaceAnimationWindow(anim, dlg, wr.left - shadow.Left, wr.top - shadow.Top, image->Width(), image->Height(),
                       SWP_NOZORDER);
  ShowWindow(anim, SW_SHOWNOACTIVATE);
  const TsSkinManager* manager = ManagerOf(Adapter);
  const TqvDialogShow* show = manager ? manager->AnimEffects()->DialogShow() : nullptr;
  RunShowFrames(TqvAnimationKind::Dialog, anim, image.get(), show ? show->Time() : 0, 255,
                show && show->Mode() == atAero);
  Adapter->UpdateRgn();
  UpdateLayeredWnd(anim, image.get(), 255);
  SetWindowPos(dlg, anim, 0, 0, 0, 0,
               SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
}

void AnimHideDlg(TqvDialogWndBase* Adapter) {
  if (!Adapter || !Adapter->CtrlHandle) return;
  const auto animating = AnimationScope();
  ClearGlows(false);
  vcl::TBitmap* cache = Adapter->SkinData ? Adapter->SkinData->CacheBmp() : nullptr;
  if (!cache) return;
  if (Adapter->BorderForm && Adapter->SavedOwner)
    SetWindowLongPtrW(Adapter->CtrlHandle, GWLP_HWNDPARENT, Adapter->SavedOwner);
  vcl::TCustomForm* snapshot = Adapter->SnapshotForm;
  Adapter->SnapshotForm = nullptr;
  if (!snapshot) snapshot = FormServices().CreateSnapshotForm(Adapter->CtrlHandle);
  if (!snapshot) return;
  auto image = CreateBmp32(cache->Width(), cache->Height());
  CopyWholeBitmap(image.get(), cache);
  const TsSkinManager* manager = ManagerOf(Adapter);
  const TqvFormHide* hide = manager ? manager->AnimEffects()->DialogHide() : nullptr;
  StartHideAnimation(snapshot, std::move(image), hide ? hide->Time() : 0, Adapter->CtrlHandle,
                     hide && hide->Mode() == atAero ? 1 : 0, 255);
}

// ---------------------------------------------------------------------------------------
// Change

namespace {

// The control's picture as it looks now: a form with a provider gives its whole window image
// with the client part painted in (its frame, caption and menu line too), any other control
// prints itself.
std::unique_ptr<vcl::TBitmap> ControlPicture(vcl::TControl* Control, TsSkinProviderBase* Provider) {
  if (Provider)
    if (std::unique_ptr<vcl::TBitmap> picture = Provider->StartMinAnimation(false); picture && picture->Width() > 0)
      return picture;
  auto picture = CreateBmp32(Control->Width(), Control->Height());
  PaintParentBgToBmp(picture.get(), Control, 0, nullptr, 0);
  return picture;
}

TsSkinProviderBase* ProviderOfForm(vcl::TControl* Control) {
  auto* form = dynamic_cast<vcl::TCustomForm*>(Control);
  return form ? reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(form, scmGetProvider, 0)) : nullptr;
}

// What the screen shows of a window's rectangle, into Bmp at the rectangle's origin. Only the
// part on the screen is read: a window reaching past the screen's edge (a maximised one, whose
// frame lies outside) would otherwise give nothing at all on some systems, a black picture.
void CopyFromScreen(vcl::TBitmap* Bmp, const RECT& Window) {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const RECT screenRect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                        top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  RECT seen{};
  if (!IntersectRect(&seen, &Window, &screenRect)) return;
  HDC screen = GetDC(nullptr);
  BitBlt(Bmp->Canvas()->Handle(), seen.left - Window.left, seen.top - Window.top, seen.right - seen.left,
         seen.bottom - seen.top, screen, seen.left, seen.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

void ChangeThroughOutputWindow(vcl::TControl* Control, int Time) {
  TOutputWindow*& current = Unit().OutputWindow;
  if (!current) {
    auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
    if (!windowed || !windowed->HandleAllocated()) return;
    RECT wr{};
    GetWindowRect(windowed->Handle(), &wr);
    auto old = CreateBmp32(Control->Width(), Control->Height());
    CopyFromScreen(old.get(), wr);
    auto* output = new TOutputWindow(vcl::Application);
    current = output;
    const vcl::TScopeExit release([&current, &old] {
      vcl::TObject::Free(std::exchange(current, nullptr));
      old.reset();
    });
    if (vcl::TWinControl* parent = Control->Parent()) {
      output->SetParent(parent);
      output->SetBoundsRect(Control->BoundsRect());
      SetWindowPos(output->Handle(), windowed->Handle(), 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
      ShowWindow(output->Handle(), SW_SHOWNA);
    } else {
      output->SetBounds(wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
      SetWindowPos(output->Handle(), nullptr, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
    // The old look stays on the screen while the new one is made: the window erases nothing and
    // would show black until the first frame.
    HDC dc = GetWindowDC(output->Handle());
    BitBlt(dc, 0, 0, Control->Width(), Control->Height(), old->Canvas()->Handle(), 0, 0, SRCCOPY);

    std::unique_ptr<vcl::TBitmap> next = ControlPicture(Control, ProviderOfForm(Control));
    if (next->Width() != Control->Width() || next->Height() != Control->Height()) {
      // A picture of another size than the window (a form whose image holds a shadow) is not
      // mixed: the window takes its new look at once.
      next = CreateBmp32(Control->Width(), Control->Height());
      PaintParentBgToBmp(next.get(), Control, 0, nullptr, 0);
    }
    auto work = CreateBmp32(Control->Width(), Control->Height());
    const int steps = AnimationSteps(Time);
    if (auto* form = dynamic_cast<vcl::TCustomForm*>(Control))
      if (auto* provider = reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(form, scmGetProvider, 0))) {
        provider->UpdateRgn();
        SetWindowRgn(output->Handle(), provider->MakeRgn(), FALSE);
      }
    auto refreshHint = [] {
      if (vcl::Application && vcl::Application->HintWindow() && vcl::Application->HintWindow()->HandleAllocated())
        SendCommandToWnd(vcl::Application->HintWindow()->Handle(), scmRefresh, 0);
    };
    if (steps > 0) {
      const int step = 255 / steps;
      int weight = 255;
      DWORD previous = 0;
      for (int i = 0; i <= steps; ++i) {
        if (i > 0) WaitUntil(previous + kAnimationFrameTime);
        previous = Now();
        MixBitmaps(work.get(), old.get(), next.get(), static_cast<unsigned>(std::max(weight, 0)), nullptr);
        BitBlt(dc, 0, 0, Control->Width(), Control->Height(), work->Canvas()->Handle(), 0, 0, SRCCOPY);
        Frame(TqvAnimationKind::ChangeFallback, i, weight);
        refreshHint();
        weight -= step;
      }
    }
    BitBlt(dc, 0, 0, Control->Width(), Control->Height(), next->Canvas()->Handle(), 0, 0, SRCCOPY);
    refreshHint();
    SetAnimationActive(false);
    if (Control->Visible()) {
      SendMessageW(windowed->Handle(), WM_SETREDRAW, 1, 0);
      UpdateLayeredWnd(output->Handle(), work.get(), 255);
      if (PlatformVersion() >= 6)
        RedrawWindow(windowed->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      auto* form = dynamic_cast<vcl::TCustomForm*>(Control);
      if (!form || !(GetWindowLongPtrW(windowed->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED))
        SetWindowPos(output->Handle(), nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOZORDER | SWP_NOSIZE | SWP_NOMOVE);
    }
    ReleaseDC(output->Handle(), dc);
  }
}

}  // namespace

namespace {

// The end of a form's change: it paints itself again, its border window shows it anew.
void EndFormChange(vcl::TCustomForm* Form, TqvBorderFormBase* Border, std::uint8_t Alpha) {
  SetAnimationActive(false);
  if (Form->AlphaBlend()) Form->SetAlphaBlendValue(Alpha);
  const HWND formWnd = Form->Handle();
  SendMessageW(formWnd, WM_SETREDRAW, 1, 0);
  RedrawWindow(formWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  if (Border && Border->BorderWindow()) {
    SetWindowRgn(Border->BorderWindow(), Border->MakeFormRgn(), TRUE);
    Border->UpdateExBordersPos(true, 255);
  }
}

}  // namespace

void AnimChangeForm(vcl::TControl* Control, int Time, std::uint8_t Alpha, bool Aero) {
  if (!Control) return;
  const auto animating = AnimationScope();
  auto* form = dynamic_cast<vcl::TCustomForm*>(Control);
  auto* provider = ProviderOfForm(Control);
  if (!LayeredApiAvailable() || !form || !form->HandleAllocated()) {
    ChangeThroughOutputWindow(Control, Time);
    return;
  }
  TqvBorderFormBase* border = provider ? provider->BorderForm : nullptr;
  if (!PerPixelAlphaShown()) {
    // The display blends no layered window's alpha (a picture faded by it comes out darkened):
    // a form of its own window cross-fades on a plain window, a form whose frame lies on a
    // border window takes its new look at once.
    if (provider) provider->Snapshot.reset();
    if (!border) return ChangeThroughOutputWindow(Control, Time);
    return EndFormChange(form, border, Alpha);
  }
  const HWND formWnd = form->Handle();
  std::unique_ptr<vcl::TBitmap> old = provider ? std::move(provider->Snapshot) : nullptr;
  if (!old) old = CreateBmp32(0, 0);
  if (provider) provider->PaintAll();
  // The new look whole: frame, caption, menu line and client.
  std::unique_ptr<vcl::TBitmap> image = ControlPicture(form, provider);
  const int width = image->Width(), height = image->Height();
  if (!border) SetOpaque(image.get(), vcl::TRect{0, 0, width, height});

  RECT wr{};
  GetWindowRect(formWnd, &wr);
  // The old look stands where it was shown: on the border window (shadow around) or the form.
  RECT shown = wr;
  if (border && border->BorderWindow()) GetWindowRect(border->BorderWindow(), &shown);
  TOwnedForm ownNew, ownOld;
  HWND newWnd = border ? border->BorderWindow() : nullptr;
  if (!newWnd) {
    ownNew = NewAnimationForm(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    newWnd = ownNew->Handle();
    SetWindowPos(newWnd, Topmost(formWnd) ? HWND_TOPMOST : HWND_TOP, wr.left, wr.top, wr.right - wr.left,
                 wr.bottom - wr.top, SWP_NOACTIVATE);
    if (provider) SetWindowRgn(newWnd, provider->MakeRgn(), FALSE);
    ShowWindow(newWnd, SW_SHOWNOACTIVATE);
  }
  HWND oldWnd = nullptr;
  if (old->Width() > 0 && old->Height() > 0) {
    ownOld = NewAnimationForm(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    oldWnd = ownOld->Handle();
    SetWindowPos(oldWnd, Topmost(formWnd) ? HWND_TOPMOST : HWND_TOP, shown.left, shown.top, old->Width(),
                 old->Height(), SWP_NOACTIVATE);
    UpdateLayeredWnd(oldWnd, old.get(), 255);
    ShowWindow(oldWnd, SW_SHOWNOACTIVATE);
  }

  const int steps = AnimationSteps(Time);
  auto work = CreateBmpLike(image.get());
  SetBmp32(work.get());
  const double w = width, h = height;
  TZoom zoom{w / 8, h / 8, w, h, steps ? -(w / 8) / steps : 0, steps ? -(h / 8) / steps : 0};
  double alpha = steps == 0 ? Alpha : 0;
  for (int i = 0; i <= steps; ++i) {
    if (steps > 0) alpha = std::min<double>(Alpha, alpha + static_cast<double>(Alpha) / steps);
    ComposeFrame(work.get(), image.get(), Aero && steps > 0, zoom, i == 0);
    const DWORD t0 = Now();
    const auto a = static_cast<std::uint8_t>(std::lround(alpha));
    UpdateLayeredWnd(newWnd, steps > 0 ? work.get() : image.get(), a);
    // The old look goes three times as fast as the new one comes.
    if (oldWnd) SetLayeredAlpha(oldWnd, true, static_cast<std::uint8_t>(std::clamp(3 * (Alpha - a), 0, 255)));
    Frame(TqvAnimationKind::Change, i, a);
    zoom.Advance();
    if (steps > 0) WaitUntil(t0 + kAnimationFrameTime);
  }
  EndFormChange(form, border, Alpha);
}

// ---------------------------------------------------------------------------------------
// Capturing and painting controls

namespace {

void PrintControl(HDC DC, vcl::TControl* Control);

// The MDI children of a frame, each at its place in the frame's window (those further back
// first), cut to the client window they lie in.
void PrintMDIChildren(HDC DC, vcl::TCustomForm* Frame) {
  if (!Frame->HandleAllocated() || !Frame->ClientHandle()) return;
  RECT frame{}, area{};
  GetWindowRect(Frame->Handle(), &frame);
  GetWindowRect(Frame->ClientHandle(), &area);
  for (int i = Frame->MDIChildCount() - 1; i >= 0; --i) {
    vcl::TCustomForm* child = Frame->MDIChildren(i);
    if (!child || !child->HandleAllocated() || !IsWindowVisible(child->Handle())) continue;
    const TSavedDC saved(DC);
    POINT origin{};
    GetViewportOrgEx(DC, &origin);
    IntersectClipRect(DC, area.left - frame.left, area.top - frame.top, area.right - frame.left,
                      area.bottom - frame.top);
    RECT r{};
    GetWindowRect(child->Handle(), &r);
    // A skinned child prints its frame too; any other paints its client area only.
    if (!GetBoolCommand(child->Handle(), scmIsSkinned)) {
      POINT client{0, 0};
      ClientToScreen(child->Handle(), &client);
      r = RECT{client.x, client.y, client.x + child->ClientWidth(), client.y + child->ClientHeight()};
    }
    SetViewportOrgEx(DC, origin.x + r.left - frame.left, origin.y + r.top - frame.top, nullptr);
    IntersectClipRect(DC, 0, 0, r.right - r.left, r.bottom - r.top);
    // A document with a provider of its own: its frame and title bar from its window image (its
    // print, asked to erase its own background, gives its client part only).
    if (auto* provider = reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(child, scmGetProvider, 0));
        provider && provider->SkinData && !IsZoomed(child->Handle())) {
      if (provider->SkinData->BGChanged) provider->PaintAll();
      if (vcl::TBitmap* image = provider->SkinData->CacheBmp(); image && image->Width() > 0)
        BitBlt(DC, 0, 0, image->Width(), image->Height(), image->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
    PrintControl(DC, child);
  }
}

void PrintControl(HDC DC, vcl::TControl* Control) {
  // A sheet's border lies outside its client area: its content starts that far in.
  if (auto* sheet = dynamic_cast<vcl::TTabSheet*>(Control); sheet && sheet->BorderWidth() > 0) {
    POINT origin{};
    GetViewportOrgEx(DC, &origin);
    SetViewportOrgEx(DC, origin.x + sheet->BorderWidth(), origin.y + sheet->BorderWidth(), nullptr);
  }
  auto* windowed = dynamic_cast<vcl::TWinControl*>(Control);
  auto* frame = dynamic_cast<vcl::TCustomForm*>(Control);
  if (frame && frame->FormStyle() != vcl::fsMDIForm) frame = nullptr;
  if (windowed && windowed->HandleAllocated() && GetBoolCommand(windowed->Handle(), scmIsSkinned)) {
    const HWND h = windowed->Handle();
    SendCommandToWnd(h, scmSetPrintTarget, reinterpret_cast<LPARAM>(DC));
    SendMessageW(h, WM_PRINT, reinterpret_cast<WPARAM>(DC), PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
    SendCommandToWnd(h, scmSetPrintTarget, 0);
    for (int i = 0; i < windowed->ControlCount(); ++i) {
      auto* child = dynamic_cast<vcl::TWinControl*>(windowed->Controls(i));
      if (!child || !child->Visible() || !child->HandleAllocated()) continue;
      // Printed with its frame, the window's image starts at its window rectangle.
      const TSavedDC saved(DC);
      POINT origin{};
      GetViewportOrgEx(DC, &origin);
      RECT parent{}, r{};
      GetWindowRect(h, &parent);
      GetWindowRect(child->Handle(), &r);
      SetViewportOrgEx(DC, origin.x + r.left - parent.left, origin.y + r.top - parent.top, nullptr);
      IntersectClipRect(DC, 0, 0, child->Width(), child->Height());
      PrintControl(DC, child);
    }
    if (frame) PrintMDIChildren(DC, frame);
    return;
  }
  Control->PaintTo(DC, 0, 0);
  if (frame) PrintMDIChildren(DC, frame);
}

}  // namespace

void PaintParentBgToBmp(vcl::TBitmap* Bmp, vcl::TControl* Control, int X, TsSkinProviderBase* Provider, int Y) {
  if (!Bmp || !Control) return;
  HDC dc = Bmp->Canvas()->Handle();
  if (!Provider && !Control->Visible() && Control->Parent()) {
    TqvBGInfo info;
    info.Offset = vcl::TPoint{Control->Left(), Control->Top()};
    GetBgInfo(info, Control->Parent(), false);
    if (info.BgType == btBitmap && info.Bmp) {
      // The parent answers for its own corner in its picture; the control lies its place further in.
      BitBlt(dc, X, Y, Control->Width(), Control->Height(), info.Bmp->Canvas()->Handle(),
             info.Offset.X + Control->Left(), info.Offset.Y + Control->Top(), SRCCOPY);
    } else {
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(info.Color)));
      const RECT r{X, Y, X + Control->Width(), Y + Control->Height()};
      FillRect(dc, &r, brush);
      DeleteObject(brush);
    }
    return;
  }
  {
    const TSavedDC saved(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x + X, origin.y + Y, nullptr);
    IntersectClipRect(dc, 0, 0, Bmp->Width(), Bmp->Height());
    PrintControl(dc, Control);
  }
  if (Provider && Provider->BorderForm) {
    const vcl::TRect client = Control->ClientRect();
    vcl::TRect r{client.Left + Provider->WindowImage().OffsetX(), client.Top + Provider->WindowImage().OffsetY(),
                 client.Right + Provider->WindowImage().OffsetX(), client.Bottom + Provider->WindowImage().OffsetY()};
    SetOpaque(Bmp, r);
  }
}

void PaintControlsOnDC(HDC DC, vcl::TWinControl* Control, vcl::TPoint Offset, bool OnlyVisible) {
  bool& running = Unit().PaintingControls;
  if (running || !Control || !DC) return;
  running = true;
  const vcl::TScopeExit done([&running] { running = false; });
  if (Control->ControlCount() == 0) return;
  if (OnlyVisible && !Control->Visible() && !Control->ComponentState().Contains(vcl::csDesigning)) return;
  RECT clip{};
  if (GetClipBox(DC, &clip) == NULLREGION || clip.right <= clip.left || clip.bottom <= clip.top) {
    if (Control->HandleAllocated()) SendCommandToWnd(Control->Handle(), scmMarkPaintToDC, 0);
    return;
  }
  // What lies behind a see-through child is the control's own face, not its parent's.
  TqvBGInfo bg;
  GetBgInfo(bg, Control, false);
  const auto* mdiFrame = dynamic_cast<vcl::TCustomForm*>(Control);
  const bool reloadAligned = mdiFrame && mdiFrame->FormStyle() == vcl::fsMDIForm;
  std::vector<vcl::TControl*> children;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    vcl::TControl* child = Control->Controls(i);
    if (dynamic_cast<vcl::TWinControl*>(child)) continue;
    if (!child->Visible() && !child->ComponentState().Contains(vcl::csDesigning)) continue;
    if (child->Width() <= 0 || child->Height() <= 0) continue;
    if (child->ControlStyle().Contains(vcl::csNoDesignVisible) ||
        child->ComponentState().Contains(vcl::csDestroying))
      continue;
    const RECT r{child->Left(), child->Top(), child->Left() + child->Width(), child->Top() + child->Height()};
    if (!RectVisible(DC, &r)) continue;
    // The aligned controls of an MDI frame stand beside its client window, which changes the
    // frame's picture under them: they take their skin data again.
    if (reloadAligned && child->Align() != vcl::alNone) child->Perform(kSkinCmdMessage, SkinCommandWParam(scmReload), 0);
    children.push_back(child);
  }
  if (children.empty()) return;
  HDC mem = CreateCompatibleDC(DC);
  HBITMAP bitmap = CreateCompatibleBitmap(DC, std::max(1, Control->Width()), std::max(1, Control->Height()));
  HGDIOBJ previous = SelectObject(mem, bitmap);
  for (vcl::TControl* child : children) {
    const RECT r{child->Left(), child->Top(), child->Left() + child->Width(), child->Top() + child->Height()};
    if (child->ControlStyle().Contains(vcl::csOpaque) || bg.BgType != btBitmap || !bg.Bmp) {
      const vcl::TColor color = child->ControlStyle().Contains(vcl::csOpaque) ? GetControlColor(child) : bg.Color;
      HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(color)));
      FillRect(mem, &r, brush);
      DeleteObject(brush);
    } else {
      BitBlt(mem, r.left, r.top, r.right - r.left, r.bottom - r.top, bg.Bmp->Canvas()->Handle(),
             child->Left() + bg.Offset.X, child->Top() + bg.Offset.Y, SRCCOPY);
    }
  }
  for (vcl::TControl* child : children) {
    const int saved = SaveDC(mem);
    SetViewportOrgEx(mem, child->Left(), child->Top(), nullptr);
    IntersectClipRect(mem, 0, 0, child->Width(), child->Height());
    child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(mem), 0);
    RestoreDC(mem, saved);
  }
  for (vcl::TControl* child : children) {
    if (GetPixel(mem, child->Left(), child->Top()) == 0xFF00FF) continue;
    BitBlt(DC, child->Left() + Offset.X, child->Top() + Offset.Y, child->Width(), child->Height(), mem, child->Left(),
           child->Top(), SRCCOPY);
  }
  SelectObject(mem, previous);
  DeleteObject(bitmap);
  DeleteDC(mem);
}

void GetFormWorkArea(vcl::TCustomForm* Form, vcl::TRect& R) {
  R = vcl::Screen ? vcl::Screen->WorkAreaRect() : vcl::TRect{};
  if (!Form || !Form->HandleAllocated() || !vcl::Screen) return;
  vcl::TMonitor* monitor = vcl::Screen->MonitorFromWindow(Form->Handle());
  if (!monitor) return;
  R = Form->FormStyle() == vcl::fsStayOnTop ? monitor->BoundsRect() : monitor->WorkareaRect();
}

vcl::THintWindow* ShowHintAt(const vcl::String& Text, vcl::TPoint Point) {
  if (TsHintManager* manager = HintManager()) return manager->ShowHintAt(Point, Text, 0);
  const vcl::TClassInfo* cls = vcl::HintWindowClass ? vcl::HintWindowClass : &vcl::THintWindow::StaticClass();
  auto* window = dynamic_cast<vcl::THintWindow*>(cls->Create ? cls->Create(vcl::Application) : nullptr);
  if (!window) window = new vcl::THintWindow(vcl::Application);
  window->SetVisible(false);
  window->SetColor(vcl::clInfoBk);
  vcl::TRect r = window->CalcHintRect(800, Text, nullptr);
  r.Offset(Point.X + 8, Point.Y + 16);
  vcl::TRect area = vcl::Screen ? vcl::Screen->WorkAreaRect() : r;
  if (vcl::Screen)
    if (vcl::TMonitor* m = vcl::Screen->MonitorFromPoint(Point)) area = m->WorkareaRect();
  if (r.Right > area.Right) r.Offset(area.Right - r.Right, 0);
  if (r.Bottom > area.Bottom) r.Offset(0, area.Bottom - r.Bottom);
  if (r.Left < area.Left) r.Offset(area.Left - r.Left, 0);
  if (r.Top < area.Top) r.Offset(0, area.Top - r.Top);
  if (window->HandleAllocated() && GetBoolCommand(window->Handle(), scmIsSkinned)) {
    window->ActivateHint(r, Text);
    return window;
  }
  window->SetCaption(Text);
  r.Bottom += 4;
  window->SetParentWindow(vcl::Application ? vcl::Application->Handle() : nullptr);
  window->SetBoundsRect(r);
  SetWindowPos(window->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  BOOL animation = FALSE, fade = FALSE;
  SystemParametersInfoW(SPI_GETTOOLTIPANIMATION, 0, &animation, 0);
  SystemParametersInfoW(SPI_GETTOOLTIPFADE, 0, &fade, 0);
  if (Text.size() < 100 && animation && fade) AnimateWindow(window->Handle(), 200, AW_BLEND);
  ShowWindow(window->Handle(), SW_SHOWNOACTIVATE);
  window->Invalidate();
  return window;
}

int GetAlignedChildrenSize(vcl::TWinControl* Container, vcl::TAlign Align, bool IncludeGraphic) {
  if (!Container) return 0;
  int size = 0;
  for (int i = 0; i < Container->ControlCount(); ++i) {
    vcl::TControl* child = Container->Controls(i);
    if (!child->Visible() || child->Align() != Align) continue;
    if (!IncludeGraphic && !dynamic_cast<vcl::TWinControl*>(child)) continue;
    size += Align == vcl::alTop || Align == vcl::alBottom ? child->Height() : child->Width();
  }
  return size;
}

HWND GetTopParentWnd(HWND Wnd) {
  HWND result = Wnd;
  for (HWND parent = GetParent(result); parent; parent = GetParent(result)) result = parent;
  return result;
}

void RefreshThemeServices() {
  if (vcl::TThemeServices* themes = vcl::ThemeServices()) themes->UpdateThemes();
}

}  // namespace skin_layered
