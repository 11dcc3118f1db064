// The border form: its window, the owner's answers for a provider, the picture put on the
// border window with its position and alpha, and the border window's region.
#include "skin_layered/forms/BorderForm.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/NinePart.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/pixels/MaskedCopies.h"

namespace skin_layered {
namespace {

// Keeps every skinning service away from the window.
constexpr int kNoSkinTag = 256;
constexpr DWORD kBorderExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW;
// SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING.
constexpr UINT kPlacing = 0x610;
// SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING.
constexpr UINT kReassert = 0x613;
// SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE.
constexpr UINT kShowing = 0x53;
constexpr std::uint32_t kAnimatingBits = kBorderBlendMoving | kBorderMinimizing | kBorderSkinChanging;

bool ApplicationTerminating() { return vcl::Application && vcl::Application->Terminated(); }
bool BeingDestroyed(const vcl::TComponent* C) { return !C || C->ComponentState().Contains(vcl::csDestroying); }
bool Topmost(HWND Wnd) { return (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

RECT WorkAreaOf(HWND Wnd) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST), &info);
  return info.rcWork;
}

// The blur region: the frame's rectangle less the pure black pixels of the picture's four
// corner squares (FormOffset wide and high, both ends counted). The squares are cut to the
// picture and walked as the rows and columns they share, so that a skin's offset of any size
// costs one walk over the picture at most (one of 2147483647 ran past the picture for ever).
HRGN BlurRegion(vcl::TBitmap* Image, const vcl::TRect& Shadow, int Corner) {
  const int w = Image->Width(), h = Image->Height();
  HRGN rgn = CreateRectRgn(Shadow.Left - 1, Shadow.Top - 1, w - Shadow.Right + 1, h - Shadow.Bottom + 1);
  const TPixelSource source(Image);
  if (Corner <= 0 || source.Empty()) return rgn;
  const TPixelView& view = source.View();
  // A square's span from Start, inside 0..Size, its end excluded.
  auto span = [Corner](std::int64_t Start, int Size) {
    return std::pair{static_cast<int>(std::clamp<std::int64_t>(Start, 0, Size)),
                     static_cast<int>(std::clamp<std::int64_t>(Start + Corner + 1, 0, Size))};
  };
  auto [left, leftEnd] = span(std::int64_t{Shadow.Left} - 1, view.Width);
  auto [right, rightEnd] = span(std::int64_t{w} - Shadow.Right - Corner, view.Width);
  const auto [top, topEnd] = span(std::int64_t{Shadow.Top} - 1, view.Height);
  const auto [bottom, bottomEnd] = span(std::int64_t{h} - Shadow.Bottom - Corner, view.Height);
  if (right < left) {
    std::swap(left, right);
    std::swap(leftEnd, rightEnd);
  }
  if (right <= leftEnd) {  // the two columns of squares meet: one span
    leftEnd = std::max(leftEnd, rightEnd);
    right = rightEnd = leftEnd;
  }
  std::vector<TPixelRect> black;
  for (int y = 0; y < view.Height; ++y) {
    if ((y < top || y >= topEnd) && (y < bottom || y >= bottomEnd)) continue;
    for (const auto& [from, to] : {std::pair{left, leftEnd}, std::pair{right, rightEnd}})
      if (from < to) AppendColorRuns(view, {from, y, to, y + 1}, 0, 0x00FFFFFFu, true, 0, 0, black);
  }
  if (!black.empty()) {
    HRGN cut = RegionFromRuns(black, view.Width, view.Height);
    CombineRgn(rgn, rgn, cut, RGN_DIFF);
    DeleteObject(cut);
  }
  return rgn;
}

}  // namespace

bool DrawExtendedBorder(vcl::TBitmap* Image, const TsSkinManager* Manager, bool Active, bool FillCentre) {
  vcl::TBitmap* shadow = Manager ? Manager->FormShadow(Active) : nullptr;
  if (!Image || !shadow || shadow->Width() == 0 || shadow->Height() == 0) return false;
  const TsLoadedSkin& skin = Manager->Skin();
  const int exBorder = skin.ConstData.ExBorder;
  // The engine's own shadow (the skin has no extended border of its own) is a band as wide as
  // the shadow margins around the form's area: its corners and sides lie in that band, the
  // frame keeps its own corners.
  const vcl::TRect band = Manager->ShadowMargins();
  TNineMargins margins{std::min(band.Left, shadow->Width() / 2), std::min(band.Top, shadow->Height() / 2),
                       std::min(band.Right, shadow->Width() / 2), std::min(band.Bottom, shadow->Height() / 2)};
  if (skin.IsValidImgIndex(exBorder))
    margins = {skin.MaskWidthLeft(exBorder), skin.MaskWidthTop(exBorder), skin.MaskWidthRight(exBorder),
               skin.MaskWidthBottom(exBorder)};
  DrawNinePart(Image, shadow, vcl::Rect(0, 0, Image->Width(), Image->Height()), FillCentre, false, TqvSideModes{},
               margins, margins, vcl::Rect(0, 0, shadow->Width(), shadow->Height()));
  return true;
}

// ---------------------------------------------------------------------------------------
// The border window

VCL_CLASS_INFO(TqvBorderWindow) {}

TqvBorderWindow::TqvBorderWindow(vcl::TComponent* AOwner, const TqvBorderForm* Border)
    : TForm(AOwner, 0), border_(Border) {
  SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  SetTag(kNoSkinTag);
}

void TqvBorderWindow::CreateParams(vcl::TCreateParams& Params) {
  TForm::CreateParams(Params);
  // Owned by the form it draws around: it stays with it in z-order and on minimising.
  Params.WndParent = border_ ? border_->ParentHandle() : nullptr;
  Params.ExStyle = kBorderExStyle;
  Params.WindowClass.style &= ~static_cast<UINT>(CS_DROPSHADOW);
}

// ---------------------------------------------------------------------------------------
// Creation

TqvBorderForm::TqvBorderForm(std::unique_ptr<TqvBorderOwner> Owner) : owner_(std::move(Owner)) {
  if (owner_) SkinData = owner_->SkinData();
  Register(this, true);
}

TqvBorderForm::~TqvBorderForm() {
  lifetime_.End();
  Register(this, false);
  KillOwnerAnimations();
  DropForm();
}

void TqvBorderForm::CreateNewForm() {
  if (form_) return;
  form_ = new TqvBorderWindow(nullptr, this);
  hook_.Install(form_, vcl::TWndMethod::Bind<&TqvBorderForm::BorderWndProc>(this));
}

void TqvBorderForm::DropForm() {
  stacking_timer_.reset();
  TqvBorderWindow* form = form_;
  if (!form) return;
  form_ = nullptr;
  hook_.Remove();
  vcl::TObject::Free(form);
}

HWND TqvBorderForm::BorderWindow() const { return form_ && form_->HandleAllocated() ? form_->Handle() : nullptr; }

HWND TqvBorderForm::BorderHandleNeeded() {
  if (!form_) return nullptr;
  try {
    form_->HandleNeeded();
  } catch (const vcl::Exception&) {
    // No owner window to own it (or no window at all): the next update tries again.
    return nullptr;
  }
  return BorderWindow();
}

// ---------------------------------------------------------------------------------------
// The owner's answers (a provider's)

HWND TqvBorderForm::ParentHandle() const {
  vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
  return form && form->HandleAllocated() ? form->Handle() : nullptr;
}

int TqvBorderForm::CaptionHeight(bool CheckSkin) const { return owner_ ? owner_->CaptionHeight(CheckSkin) : 0; }

int TqvBorderForm::MenuHeight() const { return owner_ ? owner_->MenuLinesHeight() : 0; }

vcl::TRect TqvBorderForm::IconRect() const { return owner_ ? owner_->IconRect() : vcl::TRect(); }

void TqvBorderForm::PaintAll() {
  if (owner_) owner_->PaintAll();
}

std::uint32_t TqvBorderForm::State() const { return owner_ ? owner_->Flags() : 0; }

void TqvBorderForm::SetHotButton(int Code, bool Repaint) {
  if (owner_) owner_->SetHotElement(std::max(Code, 0), Repaint);
}

void TqvBorderForm::KillOwnerAnimations() {
  if (owner_) owner_->KillAnimations();
}

int TqvBorderForm::TitleElementCode(vcl::TPoint P) const {
  return owner_ && owner_->Form() ? owner_->TitleElementAt(P) : 0;
}

vcl::TRect TqvBorderForm::ClientHole(int NewWidth, int NewHeight) const {
  const HWND wnd = ParentHandle();
  if (!owner_ || !wnd) return {};
  RECT client{};
  GetClientRect(wnd, &client);
  int width = client.right, height = client.bottom;
  if ((State() & kBorderSizing) && NewWidth > 0 && NewHeight > 0) {
    // The hole follows the size being applied, within the form's constraints.
    const vcl::TSizeConstraints* limits = owner_->Form()->Constraints();
    if (NewWidth > limits->MinWidth()) width = std::max(0, width + NewWidth - WndWidth(wnd));
    if (NewHeight > limits->MinHeight()) height = std::max(0, height + NewHeight - WndHeight(wnd));
  }
  // The form's own skinned scroll bars lie beside its client area, in its own window.
  const vcl::TSize bars = owner_->ScrollBarsExtent();
  width += bars.cx;
  height += bars.cy;
  const vcl::TPoint offset = owner_->ClientOffset();
  const int left = offset.X, top = offset.Y;
  const int menu = State() & kBorderMenuInClient ? 0 : MenuHeight();
  return vcl::Rect(left, top - menu, left + width, top + height);
}

bool TqvBorderForm::OwnerZoomed() const {
  const HWND wnd = ParentHandle();
  return wnd && IsZoomed(wnd);
}

bool TqvBorderForm::OwnerIconic() const {
  const HWND wnd = ParentHandle();
  return wnd && IsIconic(wnd);
}

// ---------------------------------------------------------------------------------------
// Measures

vcl::TRect TqvBorderForm::ShadowMargins() const {
  const TsSkinManager* manager = SkinData ? SkinData->GetSkinManager() : nullptr;
  return manager ? manager->ShadowMargins() : vcl::TRect();
}

int TqvBorderForm::ShadowOffsetX() const {
  return SkinBorderWidth(this) - SysBorderWidth(ParentHandle(), this, false) + ShadowMargins().Left;
}

int TqvBorderForm::ShadowOffsetY() const {
  const int caption = CaptionHeight(false);
  const int title = caption != 0 ? SkinTitleHeight(this) : 0;
  return ShadowMargins().Top - SysBorderWidth(ParentHandle(), this, false) + title - caption;
}

HWND TqvBorderForm::ZOrderAfter() const {
  if (const vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr; form && form->FormStyle() == vcl::fsStayOnTop)
    return nullptr;
  const HWND wnd = ParentHandle();
  if (wnd && Topmost(wnd)) return HWND_TOPMOST;
  return wnd;
}

// ---------------------------------------------------------------------------------------
// Picture, position and alpha

void TqvBorderForm::RefreshClientFromScreen(HWND Owner) {
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!cache) return;
  RECT window{};
  GetWindowRect(Owner, &window);
  const RECT work = WorkAreaOf(Owner);
  const bool onScreen = !owner_ || (work.right >= window.right && work.bottom >= window.bottom);
  if (owner_ && (owner_->Frozen() || !onScreen)) {
    // Part of the window is off the work area: the form paints its own picture instead.
    if (std::unique_ptr<vcl::TBitmap> snapshot = owner_->FormSnapshot())
      BitBlt(cache->Canvas()->Handle(), 0, 0, snapshot->Width(), snapshot->Height(), snapshot->Canvas()->Handle(), 0, 0,
             SRCCOPY);
    return;
  }
  vcl::TRect client;
  GetClientRectInWindow(Owner, client);
  const vcl::TRect to = vcl::Rect(ShadowOffsetX() + client.Left, ShadowOffsetY() + client.Top,
                                  ShadowOffsetX() + client.Right, ShadowOffsetY() + client.Bottom);
  HDC dc = GetWindowDC(Owner);
  BitBlt(cache->Canvas()->Handle(), to.Left, to.Top, to.Width(), to.Height(), dc, client.Left, client.Top, SRCCOPY);
  ReleaseDC(Owner, dc);
  FillAlphaRect(cache, to, 255);
}

void TqvBorderForm::UpdateExBordersPos(bool Repaint, std::uint8_t Alpha) {
  const HWND owner = ParentHandle();
  RECT window{};
  if (!owner || ApplicationTerminating() || Busy || !GetWindowRect(owner, &window) || !SkinData ||
      (SkinData->CtrlSkinState & kStatePrintDC) || SkinIsUpdating())
    return;
  // The class library's bounds lag behind the window's.
  if (owner_ && owner_->Form()->Left() != window.left && !IsIconic(owner)) return;
  if (!form_) CreateNewForm();

  HWND insertAfter = nullptr;
  if (!owner_) {
    if (!IsWindowVisible(owner)) return;
    if (Topmost(owner)) {
      if (GetActiveWindow() == owner) SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, kReassert);
      insertAfter = HWND_TOPMOST;
    }
  } else {
    TqvBorderOwner& provider = *owner_;
    if ((SkinData->CtrlSkinState & kStateInUpdate) || SkinData->Updating || provider.Frozen() ||
        !provider.DrawsNonClientArea())
      return;
    if (provider.Destroying() || BeingDestroyed(provider.Form())) {
      // Frees this object: nothing may follow.
      provider.DropBorderForm();
      return;
    }
    if (!IsWindowVisible(owner) && !(provider.Flags() & kBorderAnimations)) {
      DropForm();
      SkinData->BGChanged = true;
      return;
    }
    if (provider.Form()->FormStyle() == vcl::fsStayOnTop && GetActiveWindow() == owner)
      SetWindowPos(owner, HWND_TOP, 0, 0, 0, 0, kReassert);
    else if (Topmost(owner))
      SetWindowPos(owner, HWND_TOPMOST, 0, 0, 0, 0, kReassert);
    insertAfter = ZOrderAfter();
  }
  Busy = true;
  const vcl::TScopeExit idle([this] { Busy = false; });

  // The picture: repainted when stale; during animations the client part comes from the screen.
  const std::uint32_t state = State();
  if (SkinData->BGChanged) {
    PaintAll();
    Repaint = true;
  }
  if ((state & kAnimatingBits) || SkinIsLoading()) {
    Repaint = true;
    RefreshClientFromScreen(owner);
    // A dialog erases its client from this image: what the screen showed (maybe the last
    // skin's face, or the system's) serves this picture only, and the image is built anew.
    if (!owner_) SkinData->BGChanged = true;
  }
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || !form_) return;

  const vcl::TRect shadow = ShadowMargins();
  const int dx = ShadowOffsetX();
  const int dy = owner_ && owner_->MaxBorderLarge() ? shadow.Top + BorderFormOffsetY(this) + 4 : ShadowOffsetY();
  const vcl::TPoint place(window.left - dx, window.top - dy);
  const int width = cache->Width(), height = cache->Height();

  if (!insertAfter) insertAfter = IsIconic(owner) || (state & kBorderSizing) ? GetWindow(owner, GW_HWNDPREV) : owner;
  UINT flags = kPlacing | (state & kBorderSizing ? SWP_NOZORDER : 0);
  const bool sameSize = form_->HandleAllocated() && WndWidth(form_->Handle()) == width &&
                        WndHeight(form_->Handle()) == height;
  const bool sendPicture = Repaint || !sameSize;
  if (!Repaint) flags |= SWP_NOREDRAW | (sameSize ? SWP_NOSIZE : 0);

  if (LayeredApiAvailable() && sendPicture && !InMouseHole) {
    TsSkinManager* manager = SkinData->GetSkinManager();
    const vcl::TCustomForm* form = owner_ ? owner_->Form() : nullptr;
    const std::uint8_t alpha =
        form && form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(form->AlphaBlendValue(), 0, 255)) : Alpha;
    if (!sameSize) {
      form_->SetBounds(place.X, place.Y, width, height);
      if (owner_ && OwnerZoomed()) form_->SetBounds(place.X, place.Y, width, cache->Height());
    }
    const HWND wnd = BorderHandleNeeded();
    if (!wnd) return;
    if (manager && manager->AeroBlurApplies())
      EnableBlurBehind(wnd, true, BlurRegion(cache, shadow, manager->Skin().SkinData.FormOffset));
    else
      EnableBlurBehind(wnd, false, nullptr);
    const std::uint32_t animation = state & kAnimatingBits;
    if (state & kBorderBlendMoving) SetWindowRgn(wnd, BorderRgn(0, 0), FALSE);
    // The owner's client part goes out fully transparent too: where the system draws layered
    // windows without their regions (no composition) it still lets the form show through.
    const bool still = !(state & (kAnimatingBits | kBorderHiding | kBorderSizing));
    const vcl::TRect hole = state & (kAnimatingBits | kBorderHiding) ? vcl::TRect() : ClientHole(0, 0);
    if (!hole.IsEmpty()) FillAlphaRect(cache, hole, 0);
    UpdateLayeredWnd(wnd, cache, alpha, &place);
    // Where the display shows the picture all or nothing, the region is what it shows: the
    // system takes a window uncovered on the display for the top one there, and would stack it
    // over a border window whose region held pixels the display leaves clear.
    shown_rgn_.reset(still && !PerPixelAlphaShown() ? ShownPictureRgn(cache, hole) : nullptr);
    if (!hole.IsEmpty()) FillAlphaRect(cache, hole, 255);
    if (animation != kBorderBlendMoving) SetWindowRgn(wnd, BorderRgn(0, 0), FALSE);
    if (IsWindowVisible(wnd)) {
      SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, flags | SWP_NOMOVE | SWP_NOSIZE);
      WatchStacking();
    } else {
      // A hidden owner shown at alpha 0 keeps its own window out of the way meanwhile.
      const LONG_PTR style = GetWindowLongPtrW(owner, GWL_STYLE);
      if (Alpha == 0) SetWindowLongPtrW(owner, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
      SetWindowPos(wnd, insertAfter, 0, 0, 0, 0, kShowing);
      if (Alpha == 0) SetWindowLongPtrW(owner, GWL_STYLE, style);
      if (insertAfter == owner) StackShownBesideOwner();
    }
  } else {
    if (const HWND wnd = BorderHandleNeeded())
      PlaceWindowAfter(wnd, insertAfter, place.X, place.Y, 0, 0, flags | SWP_NOSIZE, owner);
  }
}

// ---------------------------------------------------------------------------------------
// The region

HRGN TqvBorderForm::BorderRgn(int NewWidth, int NewHeight) {
  const HWND wnd = BorderWindow();
  if (!wnd) return nullptr;
  const int width = WndWidth(wnd), height = WndHeight(wnd);
  const vcl::TRect shadow = ShadowMargins();
  HRGN rgn;
  if (OwnerZoomed()) {
    // Only the band that stays on the monitor.
    const int f = SysBorderWidth(ParentHandle(), this, false);
    const int offset = BorderFormOffsetX(this);
    rgn = CreateRectRgn(shadow.Left + offset + f, shadow.Top + 4, width - f - offset - shadow.Right,
                        height - f - offset - shadow.Bottom);
  } else {
    rgn = CreateRectRgn(0, 0, width, height);
  }
  const std::uint32_t state = State();
  if (!(state & (kAnimatingBits | kBorderHiding))) {
    // The owner's own client area is never covered.
    const vcl::TRect hole = ClientHole(NewWidth, NewHeight);
    if (!hole.IsEmpty()) {
      HRGN cut = CreateRectRgn(hole.Left, hole.Top, hole.Right, hole.Bottom);
      CombineRgn(rgn, rgn, cut, RGN_XOR);
      DeleteObject(cut);
    }
    // Only what the display shows of the picture.
    if (shown_rgn_ && !(state & kBorderSizing)) CombineRgn(rgn, rgn, shown_rgn_.get(), RGN_AND);
    return rgn;
  }
  RECT window{};
  GetWindowRect(wnd, &window);
  const RECT work = WorkAreaOf(wnd);
  TopClipped = window.top < work.top;
  if (TopClipped) {
    HRGN cut = CreateRectRgn(0, 0, width, work.top - window.top);
    CombineRgn(rgn, rgn, cut, RGN_XOR);
    DeleteObject(cut);
  }
  return rgn;
}

HRGN TqvBorderForm::MakeParentRgn(int X, int Y, bool Flag) {
  const HWND owner = ParentHandle();
  if (!owner) return nullptr;
  // The border window shows the frame and caption: the owner keeps its client part.
  const int f = SysBorderWidth(owner, this, false);
  RECT r{f, f + CaptionHeight(false), WndWidth(owner) - f, WndHeight(owner) - f};
  if (Flag || IsZoomed(owner)) {
    // A maximised window overhangs its monitor: only the part on the work area.
    RECT window{};
    GetWindowRect(owner, &window);
    RECT work = WorkAreaOf(owner);
    OffsetRect(&work, -window.left, -window.top);
    IntersectRect(&r, &r, &work);
  }
  OffsetRect(&r, X, Y);
  return CreateRectRgn(r.left, r.top, r.right, r.bottom);
}

void TqvBorderForm::ResetRegion() {
  if (!RgnResetPending) return;
  RgnResetPending = false;
  if (const HWND wnd = BorderWindow()) SetWindowRgn(wnd, BorderRgn(0, 0), FALSE);
}

}  // namespace skin_layered
