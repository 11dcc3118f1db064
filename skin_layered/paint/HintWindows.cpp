#include "skin_layered/paint/HintWindows.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/BackgroundRegions.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/HintHost.h"
#include "skin_layered/paint/HtmlText.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/SectionText.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/TemplatePaint.h"
#include "skin_layered/paint/pixels/SkinPieces.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvHintForm) {}
VCL_CLASS_INFO(TqvCustomHintWindow) {}
VCL_CLASS_INFO(TqvPngHintWindow) {}

namespace {

// The tag that keeps every skinning service away from a window.
constexpr intptr_t kNoSkinTag = 256;
// Without a skin a hint above its point goes this much higher, off the mouse cursor.
constexpr int kAboveCursorLift = 16;
// Room the skin's look keeps around the text beside its borders.
constexpr int kSkinTextRoom = 8;

// The hint window stands invisible under the layered form that shows the hint, by a constant
// alpha of 0. A display that shows no alpha (Wine without a compositing manager) shows it
// opaque instead, black where the hint's picture is clear.
bool ZeroAlphaShows() { return LayeredApiAvailable() && !PerPixelAlphaShown(); }

// The hint window's shape (Rgn: owned, nil for none); on such a display none at all.
void SetHintWindowRgn(HWND Wnd, HRGN Rgn, bool Redraw) {
  if (ZeroAlphaShows()) {
    if (Rgn) DeleteObject(Rgn);
    Rgn = CreateRectRgn(0, 0, 0, 0);
  }
  SetWindowRgn(Wnd, Rgn, Redraw ? TRUE : FALSE);
}

// The unit's hint being made: its window, template and template image.
struct THintUnit {
  TqvCustomHintWindow* Window = nullptr;
  TqvHintTemplate* Template = nullptr;
  TqvHintImage* Image = nullptr;
};

THintUnit& Unit() {
  static THintUnit unit;
  return unit;
}

// The placement a hint takes after flips: [above][left].
constexpr int kFlipPlacement[2][2] = {{hpBelowRight, hpLeft}, {hpAbove, hpAboveLeft}};

bool IsAbove(int Placement) { return Placement == hpAbove || Placement == hpAboveLeft; }
bool IsLeft(int Placement) { return Placement == hpLeft || Placement == hpAboveLeft; }

UINT AlignmentFlag(vcl::TAlignment Alignment) {
  switch (Alignment) {
    case vcl::taRightJustify: return DT_RIGHT;
    case vcl::taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

// Accelerator prefixes are hidden while the system hides keyboard cues.
bool HidePrefixes() {
  BOOL cues = TRUE;
  return SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &cues, 0) && !cues;
}

vcl::TRect MonitorOf(vcl::TPoint P) {
  if (vcl::Screen)
    if (vcl::TMonitor* monitor = vcl::Screen->MonitorFromPoint(P)) return monitor->BoundsRect();
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The shadow bands of a template image (none without layered images).
vcl::TRect ShadowOf(const TqvHintImage* Image) {
  const TqvHintHost* host = HintHost();
  if (!Image || !host || !host->LayeredImage()) return {};
  const TqvBordersSizes* s = Image->ShadowSizes();
  return {s->Left(), s->Top(), s->Right(), s->Bottom()};
}

vcl::TRect Margins(const TqvBordersSizes* Sizes) { return {Sizes->Left(), Sizes->Top(), Sizes->Right(), Sizes->Bottom()}; }

// One piece of Src's rows and columns into an area of Dst, tiled or scaled by the nearest
// pixel; alpha included.
void DrawPiece(const TPixelView& Dst, const TPixelRect& Area, const TPixelView& Src, const TPixelRect& Piece,
               bool Stretch) {
  const int aw = Area.Width(), ah = Area.Height(), pw = Piece.Width(), ph = Piece.Height();
  if (aw <= 0 || ah <= 0 || pw <= 0 || ph <= 0) return;
  for (int y = 0; y < ah; ++y) {
    const int dy = Area.Top + y;
    if (dy < 0 || dy >= Dst.Height) continue;
    const int sy = Piece.Top + (Stretch ? static_cast<int>(static_cast<long long>(y) * ph / ah) : y % ph);
    const TPixel32* from = Src.Row(sy);
    TPixel32* to = Dst.Row(dy);
    for (int x = 0; x < aw; ++x) {
      const int dx = Area.Left + x;
      if (dx < 0 || dx >= Dst.Width) continue;
      to[dx] = from[Piece.Left + (Stretch ? static_cast<int>(static_cast<long long>(x) * pw / aw) : x % pw)];
    }
  }
}

// Side and centre modes of a nine-part image: 0 left, 1 top, 2 right, 3 bottom, 4 centre.
using TPieceModes = std::array<bool, 5>;

// Src's area S in nine parts over all of Dst, its pixels copied as they are (alpha
// included): corners 1:1, sides and centre stretched or tiled by Stretch. Margins are fitted
// to both sizes.
void DrawNineAlpha(vcl::TBitmap* Dst, vcl::TBitmap* Src, const vcl::TRect& S, vcl::TRect M, const TPieceModes& Stretch) {
  TPixelView dst;
  const TPixelSource source(Src);
  if (!InitPixelView(Dst, dst) || source.Empty() || S.IsEmpty()) return;
  const TPixelView& src = source.View();
  const TPixelRect s{std::max(S.Left, 0), std::max(S.Top, 0), std::min(S.Right, src.Width), std::min(S.Bottom, src.Height)};
  if (s.IsEmpty()) return;
  int l = std::max(M.Left, 0), t = std::max(M.Top, 0), r = std::max(M.Right, 0), b = std::max(M.Bottom, 0);
  FitMargins(l, r, std::min(s.Width(), dst.Width));
  FitMargins(t, b, std::min(s.Height(), dst.Height));
  const int W = dst.Width, H = dst.Height;
  const int sl = s.Left, st = s.Top, sr = s.Right, sb = s.Bottom;
  // Corners.
  DrawPiece(dst, {0, 0, l, t}, src, {sl, st, sl + l, st + t}, false);
  DrawPiece(dst, {W - r, 0, W, t}, src, {sr - r, st, sr, st + t}, false);
  DrawPiece(dst, {0, H - b, l, H}, src, {sl, sb - b, sl + l, sb}, false);
  DrawPiece(dst, {W - r, H - b, W, H}, src, {sr - r, sb - b, sr, sb}, false);
  // Sides and centre.
  DrawPiece(dst, {0, t, l, H - b}, src, {sl, st + t, sl + l, sb - b}, Stretch[0]);
  DrawPiece(dst, {l, 0, W - r, t}, src, {sl + l, st, sr - r, st + t}, Stretch[1]);
  DrawPiece(dst, {W - r, t, W, H - b}, src, {sr - r, st + t, sr, sb - b}, Stretch[2]);
  DrawPiece(dst, {l, H - b, W - r, H}, src, {sl + l, sb - b, sr - r, sb}, Stretch[3]);
  DrawPiece(dst, {l, t, W - r, H - b}, src, {sl + l, st + t, sr - r, sb - b}, Stretch[4]);
}

// Whether a pixel painted over the key colour still shows it: a picture pixel whose mask is
// fully clear mixes into the key by one 256th, so the key counts to within one step.
bool LeftKey(TPixel32 Pixel) {
  const auto within = [Pixel](unsigned Shift, unsigned Key) {
    const int c = static_cast<int>((Pixel >> Shift) & 0xFFu);
    return std::abs(c - static_cast<int>(Key)) <= 1;
  };
  return within(16, 0xFF) && within(8, 0) && within(0, 0xFF);
}

// A plain look when there is neither skin nor template: the info colour with a frame.
void PaintPlainHint(vcl::TBitmap* Bmp) {
  const vcl::TRect all(0, 0, Bmp->Width(), Bmp->Height());
  BlendBmpRect(Bmp, all, vcl::clInfoBk, 255);
  FillFrame32(Bmp, all, 1, 1, 1, 1, vcl::clWindowFrame);
}

}  // namespace

TqvHintImage* CurrentHintImage() { return Unit().Image; }
TqvCustomHintWindow* CurrentHintWindow() { return Unit().Window; }

// ---------------------------------------------------------------------------------------
// TqvHintForm

TqvHintForm::TqvHintForm(vcl::TComponent* AOwner, bool DropShadow)
    : TCustomForm(AOwner, 0), drop_shadow_(DropShadow) {
  SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  SetFormStyle(vcl::fsStayOnTop);
  SetTag(kNoSkinTag);
}

void TqvHintForm::CreateParams(vcl::TCreateParams& Params) {
  TCustomForm::CreateParams(Params);
  Params.ExStyle |= WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_APPWINDOW);
  if (drop_shadow_)
    Params.WindowClass.style |= CS_DROPSHADOW;
  else
    Params.WindowClass.style &= ~static_cast<UINT>(CS_DROPSHADOW);
}

// The class is registered once: its style follows the form's wish each time.
void TqvHintForm::CreateWnd() {
  TCustomForm::CreateWnd();
  const ULONG_PTR style = GetClassLongPtrW(Handle(), GCL_STYLE);
  const ULONG_PTR wanted = drop_shadow_ ? (style | CS_DROPSHADOW) : (style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW));
  if (wanted != style) SetClassLongPtrW(Handle(), GCL_STYLE, static_cast<LONG_PTR>(wanted));
}

// ---------------------------------------------------------------------------------------
// Placement

int PlaceHintRect(vcl::TRect& R, const vcl::TRect& Shadow, int Placement, const vcl::TRect& Monitor, bool Skin,
                  bool AboveImageEmpty, bool LeftImageEmpty) {
  vcl::TRect body(R.Left + Shadow.Left, R.Top + Shadow.Top, R.Right - Shadow.Right, R.Bottom - Shadow.Bottom);
  const int w = body.Width(), h = body.Height();
  if (IsAbove(Placement)) body.Offset(0, -h);
  if (IsLeft(Placement)) body.Offset(-w, 0);
  bool moved = false, above = false, left = false;
  if (body.Bottom > Monitor.Bottom) {
    if (Skin || AboveImageEmpty)
      body.Offset(0, Monitor.Bottom - body.Bottom);
    else
      body.Offset(0, -h);  // above the point
    above = moved = true;
  }
  if (body.Top < Monitor.Top) {
    body.Offset(0, Monitor.Top - body.Top);
    moved = true;
  }
  if (body.Right > Monitor.Right) {
    if (Skin || LeftImageEmpty)
      body.Offset(Monitor.Right - body.Right, 0);
    else
      body.Offset(-w, 0);  // to the left of the point
    left = moved = true;
  }
  if (body.Left < Monitor.Left) {
    body.Offset(Monitor.Left - body.Left, 0);
    moved = true;
  }
  R = {body.Left - Shadow.Left, body.Top - Shadow.Top, body.Right + Shadow.Right, body.Bottom + Shadow.Bottom};
  if (!moved) return Placement;
  return kFlipPlacement[IsAbove(Placement) || above ? 1 : 0][IsLeft(Placement) || left ? 1 : 0];
}

// ---------------------------------------------------------------------------------------
// TqvCustomHintWindow

TqvCustomHintWindow::TqvCustomHintWindow(vcl::TComponent* AOwner) : THintWindow(AOwner) { Unit().Window = this; }

TqvCustomHintWindow::~TqvCustomHintWindow() {
  HideProc();
  if (Unit().Window == this) Unit().Window = nullptr;
  if (TqvHintHost* host = HintHost()) host->KeepHintImage(std::move(image_), hint_rect_);
  if (region_) DeleteObject(region_);
}

void TqvCustomHintWindow::CreateParams(vcl::TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(WS_BORDER);
}

void TqvCustomHintWindow::Paint() {
  if (!HintHost()) return THintWindow::Paint();
  // Without layered windows the window shows the image itself.
  if (!image_ || (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_LAYERED)) return;
  BitBlt(Canvas()->Handle(), 0, 0, image_->Width(), image_->Height(), image_->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvCustomHintWindow::WndProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case kSkinCmdMessage: return OnSkinCommand(Message);
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_NCPAINT: return OnNcPaint(Message);
    case WM_SHOWWINDOW: return OnShowWindow(Message);
    case WM_DESTROY: return OnDestroy(Message);
    case WM_MOVE: return OnMove(Message);
    default: return THintWindow::WndProc(Message);
  }
}

// The skinning services ask: the window is skinned already, and its background is its image.
void TqvCustomHintWindow::OnSkinCommand(vcl::TMessage& Message) {
  if (SkinCommandOf(Message.WParam) == scmIsSkinned) {
    Message.Result = 1;
    return;
  }
  if (SkinCommandOf(Message.WParam) != scmGetBgInfo || !Message.LParam) return THintWindow::WndProc(Message);
  auto* info = reinterpret_cast<TqvBGInfo*>(Message.LParam);
  if (image_) {
    info->BgType = btBitmap;
    info->Bmp = image_.get();
    info->Offset = {0, 0};
  } else {
    info->BgType = btColor;
    info->Color = vcl::ColorToRGB(Color());
  }
  Message.Result = 0;
}

void TqvCustomHintWindow::OnNcPaint(vcl::TMessage& Message) {
  if (HintHost() && region_ && HandleAllocated()) {
    HRGN copy = CreateRectRgn(0, 0, 0, 0);
    CombineRgn(copy, region_, nullptr, RGN_COPY);
    SetHintWindowRgn(Handle(), copy, false);
  }
  Message.Result = 1;
}

void TqvCustomHintWindow::OnShowWindow(vcl::TMessage& Message) {
  if (HintHost() && Message.WParam == 0) HideProc();
  THintWindow::WndProc(Message);
}

void TqvCustomHintWindow::OnDestroy(vcl::TMessage& Message) {
  if (HintHost()) HideProc();
  THintWindow::WndProc(Message);
}

// The form showing the image follows the window.
void TqvCustomHintWindow::OnMove(vcl::TMessage& Message) {
  if (TqvHintHost* host = HintHost(); host && HandleAllocated()) {
    RECT r{};
    GetWindowRect(Handle(), &r);
    if (host->FollowHintWindow(r)) hint_rect_ = r;
  }
  THintWindow::WndProc(Message);
}

void TqvCustomHintWindow::HideProc() {
  if (hidden_) return;
  hidden_ = true;
  if (Unit().Window == this) Unit().Window = nullptr;
  if (TqvHintHost* host = HintHost()) host->HintHidden();
}

void TqvCustomHintWindow::FindSkinIndexes() {
  skin_index_ = border_index_ = texture_index_ = -1;
  const TqvHintHost* host = HintHost();
  const TsLoadedSkin* skin = DefaultSkin();
  if (!host || !skin) return;
  vcl::String section = host->SkinSection();
  skin_index_ = skin->GetSkinIndex(section);
  if (skin_index_ < 0) {
    section = L"EDIT";
    skin_index_ = skin->GetSkinIndex(section);
  }
  border_index_ = skin->GetMaskIndex(skin_index_, section, L"BORDERSMASK");
  texture_index_ = skin->GetTextureIndex(skin_index_, section, L"PATTERN");
}

int TqvCustomHintWindow::SkinBorderWidth(int Side) const {
  const TsLoadedSkin* skin = DefaultSkin();
  if (!skin || !skin->IsValidImgIndex(border_index_)) return 0;
  const TsMaskData& image = skin->Images[static_cast<std::size_t>(border_index_)];
  const int own = Side == 0 ? image.WidthLeft : Side == 1 ? image.WidthTop : Side == 2 ? image.WidthRight : image.WidthBottom;
  if (own >= 1) return own;
  if (Side == 0 || Side == 2) return image.R.Width() / std::max(image.ImageCount * 3, 1);
  return image.R.Height() / std::max((image.MaskType + 1) * 3, 1);
}

vcl::TRect TqvCustomHintWindow::TextRect(int MaxWidth, const vcl::String& AHint) {
  TqvHintHost* host = HintHost();
  int wrap = host->MaxWidth() >= 1 ? host->MaxWidth() : MaxWidth;
  if (wrap < 1) wrap = GetSystemMetrics(SM_CXSCREEN);
  vcl::TRect r(0, 0, wrap, 0);
  vcl::TBitmap* work = host->WorkBitmap();
  if (host->HTMLMode()) {
    TsHtml html;
    html.Init(work, AHint, -1, -1, r);
    TqvLinks links;
    html.Render(links, true, r);
    return {0, 0, r.Right, r.Bottom};
  }
  RECT rc = r;
  const UINT flags = DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_VCENTER | AlignmentFlag(host->Alignment()) |
                     DrawTextBiDiModeFlagsReadingOnly();
  DrawTextW(work->Canvas()->Handle(), AHint.c_str(), static_cast<int>(AHint.size()), &rc, flags);
  return {0, 0, rc.right, rc.bottom};
}

vcl::TRect TqvCustomHintWindow::CalcHintRect(int MaxWidth, const vcl::String& AHint, void* AData) {
  TqvHintHost* host = HintHost();
  if (!host) return THintWindow::CalcHintRect(MaxWidth, AHint, AData);
  const bool skin = host->SkinUsed();
  if (skin) FindSkinIndexes();
  vcl::TRect r;
  if (vcl::TWinControl* control = host->CustomHintControl()) {
    r = {0, 0, control->Width(), control->Height()};
  } else {
    if (skin && vcl::Screen) host->WorkBitmap()->Canvas()->Font()->Assign(vcl::Screen->HintFont());
    r = TextRect(MaxWidth, AHint);
  }
  if (skin) {
    r.Right += SkinBorderWidth(0) + SkinBorderWidth(2) + kSkinTextRoom;
    r.Bottom += SkinBorderWidth(1) + SkinBorderWidth(3) + kSkinTextRoom;
  }
  return r;
}

int TqvCustomHintWindow::Place(vcl::TRect& Rect, vcl::TPoint Point, bool Skin) {
  TqvHintHost* host = HintHost();
  TqvHintTemplate* tmpl = Unit().Template;
  TqvHintImage* image = Skin ? nullptr : Unit().Image;
  const vcl::TRect shadow = ShadowOf(image);
  Rect.Offset(Point.X - shadow.Left - Rect.Left, Point.Y - shadow.Top - Rect.Top);
  const bool aboveEmpty = !tmpl || tmpl->ImgLeftBottom()->Empty();
  const bool leftEmpty = !tmpl || tmpl->ImgRightTop()->Empty();
  const int placement = PlaceHintRect(Rect, shadow, host->DefaultPlacement(), MonitorOf(Rect.TopLeft()), Skin,
                                      aboveEmpty, leftEmpty);
  if (!Skin && tmpl) {
    TqvHintImage* chosen = tmpl->PlacementImage(placement);
    try {
      chosen->DecodeIfNeeded();
    } catch (const vcl::Exception&) {
      // A broken picture: the default image serves.
    }
    Unit().Image = chosen->Image()->Empty() ? tmpl->ImageDefault() : chosen;
  }
  return placement;
}

void TqvCustomHintWindow::ActivateHint(vcl::TRect Rect, const vcl::String& AHint) {
  TqvHintHost* host = HintHost();
  if (!host) return THintWindow::ActivateHint(Rect, AHint);
  hidden_ = false;
  Unit().Window = this;
  host->HintActivating();
  const vcl::TScopeExit activated([host] { host->HintActivated(); });
  text_ = AHint;
  if (!host->LayeredImage()) SetCaption(AHint);

  const bool skin = host->SkinUsed();
  const vcl::TPoint point = ForcedPosSet() ? ForcedPos : Rect.TopLeft();
  vcl::TRect r(0, 0, Rect.Width(), Rect.Height());
  placement_ = Place(r, point, skin);
  if (!skin && IsAbove(placement_)) r.Offset(0, -kAboveCursorLift);
  hint_rect_ = r;
  host->WorkBitmap()->SetSize(r.Width(), r.Height());

  // The window itself stands invisible where the hint is.
  HWND wnd = Handle();
  SetLayeredAlpha(wnd, true, 0);
  if (ZeroAlphaShows()) SetHintWindowRgn(wnd, nullptr, false);
  SetBounds(r.Left, r.Top, r.Width(), r.Height());
  const ULONG_PTR style = GetClassLongPtrW(wnd, GCL_STYLE);
  if (style & CS_DROPSHADOW) SetClassLongPtrW(wnd, GCL_STYLE, static_cast<LONG_PTR>(style & ~static_cast<ULONG_PTR>(CS_DROPSHADOW)));
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
  ShowImage(skin);
}

void TqvCustomHintWindow::ShowImage(bool Skin) {
  TqvHintHost* host = HintHost();
  const int w = hint_rect_.Width(), h = hint_rect_.Height();
  auto image = PaintImage(w, h);
  if (!image) return;
  image_ = CreateBmp32(w, h);
  CopyBmp(image_.get(), image.get());
  if (!LayeredApiAvailable()) {
    Invalidate();
    return;
  }
  // The system's drop shadow only where the skin draws no shadow of its own.
  const TsLoadedSkin* skin = DefaultSkin();
  std::uint8_t finalAlpha = 255;
  bool dropShadow = false;
  if (Skin && skin && skin->IsValidSkinIndex(skin_index_)) {
    const int transparency = skin->Sections[static_cast<std::size_t>(skin_index_)].Props[0].Transparency;
    dropShadow = transparency != 100 || !skin->IsValidImgIndex(border_index_);
    if (transparency != 100) finalAlpha = static_cast<std::uint8_t>(255 - std::lround(std::clamp(transparency, 0, 100) * 2.55));
  }
  host->ShowHintImage(std::move(image), hint_rect_, dropShadow, finalAlpha);
}

void TqvCustomHintWindow::PaintText(vcl::TBitmap* Bmp, vcl::TRect R, bool Skin) {
  TqvHintHost* host = HintHost();
  if (!host) return;
  HDC dc = Bmp->Canvas()->Handle();
  if (vcl::TWinControl* control = host->CustomHintControl()) {
    for (int i = 0; i < control->ControlCount(); ++i) {
      vcl::TControl* child = control->Controls(i);
      if (child->Visible()) child->PaintTo(dc, R.Left + child->Left(), R.Top + child->Top());
    }
    return;
  }
  SetBkMode(dc, TRANSPARENT);
  const UINT align = AlignmentFlag(host->Alignment()) | DrawTextBiDiModeFlagsReadingOnly();
  if (host->HTMLMode()) {
    TsHtml html;
    html.Init(Bmp, text_, -1, -1, R);
    TqvLinks links;
    html.Render(links, false, R);
    return;
  }
  if (Skin) {
    const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP | align | (HidePrefixes() ? DT_HIDEPREFIX : 0u);
    WriteSectionText(Bmp->Canvas(), text_, true, DefaultSkin(), 0, skin_index_, flags, R);
    return;
  }
  SetTextColor(dc, static_cast<COLORREF>(vcl::ColorToRGB(Bmp->Canvas()->Font()->Color())));
  RECT rc = R;
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &rc, DT_WORDBREAK | DT_NOPREFIX | align);
}

std::unique_ptr<vcl::TBitmap> TqvCustomHintWindow::PaintImage(int Width, int Height) {
  auto image = CreateBmp32(Width, Height);
  if (image->Empty()) return nullptr;
  TqvHintHost* host = HintHost();
  const TsLoadedSkin* skin = DefaultSkin();
  const vcl::TRect all(0, 0, Width, Height);
  if (host) image->Canvas()->Font()->Assign(host->WorkBitmap()->Canvas()->Font());
  if (!host || !skin || !skin->IsValidSkinIndex(skin_index_)) {
    PaintPlainHint(image.get());
    const auto alpha = CreateBmp32(Width, Height);
    CopyBmp(alpha.get(), image.get());
    PaintText(image.get(), {4, 2, Width - 4, Height - 2}, false);
    CopyChannel(image.get(), alpha.get(), 3);
    return image;
  }
  const TsGeneralData& section = skin->Sections[static_cast<std::size_t>(skin_index_)];
  const TsMaskData* border =
      skin->IsValidImgIndex(border_index_) ? &skin->Images[static_cast<std::size_t>(border_index_)] : nullptr;
  const int l = SkinBorderWidth(0), t = SkinBorderWidth(1), r = SkinBorderWidth(2), b = SkinBorderWidth(3);
  vcl::TRect textR(l, t, Width - r, Height - b);
  textR.Offset(-1, 0);

  // The shape: the border image painted over the key colour; what stays key is outside. A
  // border that leaves its centre to the section still holds it: the face and the text are
  // the hint's.
  std::unique_ptr<vcl::TBitmap> mask;
  if (border) {
    mask = CreateBmp32(Width, Height);
    BlendBmpRect(mask.get(), all, vcl::clFuchsia, 0);
    if (!(border->DrawMode & kDrawCentre))
      BlendBmpRect(mask.get(), vcl::TRect(l, t, Width - r, Height - b), vcl::clBlack, 0);
    DrawSkinRect(mask.get(), all, kEmptyCacheInfo, *border, 0, false);
    TPixelView view;
    if (InitPixelView(mask.get(), view))
      for (int y = 0; y < view.Height; ++y)
        for (int x = 0; x < view.Width; ++x) view.Row(y)[x] = LeftKey(view.Row(y)[x]) ? 0x00FFFFFFu : 0u;
    HRGN rgn = nullptr;
    CreateRgnFromBmp(rgn, mask.get(), 0xFFFFFF);
    if (region_) DeleteObject(region_);
    region_ = rgn;
    if (rgn && HandleAllocated()) {
      HRGN copy = CreateRectRgn(0, 0, 0, 0);
      CombineRgn(copy, rgn, nullptr, RGN_COPY);
      SetHintWindowRgn(Handle(), copy, true);
    }
  }

  auto content = CreateBmp32(Width, Height);
  content->Canvas()->Font()->Assign(image->Canvas()->Font());
  const bool layeredShadow =
      section.Props[0].Transparency == 100 && border && border->MaskType >= 1 && LayeredApiAvailable();
  if (layeredShadow) {
    // The border image's mask half as alpha, stretched over the whole hint.
    const int fw = MaskImageWidth(*border), fh = MaskImageHeight(*border);
    const vcl::TRect frame(border->R.Left, border->R.Top, border->R.Left + fw, border->R.Top + fh * 2);
    if (auto alpha = MaskHalfToAlpha(ImagePicture(*border), frame)) {
      const vcl::TRect margins(skin->MaskWidthLeft(border_index_), skin->MaskWidthTop(border_index_),
                               skin->MaskWidthRight(border_index_), skin->MaskWidthBottom(border_index_));
      DrawNineAlpha(content.get(), alpha.get(), vcl::TRect(0, 0, alpha->Width(), alpha->Height()), margins,
                    {true, true, true, true, true});
    }
    PaintText(content.get(), textR, true);
    FillAlphaRect(content.get(),
                  vcl::TRect(std::max(l - 1, 0), std::max(t - 1, 0), std::max(Width - r, 0), std::max(Height - b, 0)),
                  255);
    PremultiplyBmp(content.get());
    return content;
  }
  PaintControlByTemplate(skin_index_, 0, all, content.get(), skin);
  PaintText(content.get(), textR, true);
  TPixelView from, to, shape;
  if (!InitPixelView(content.get(), from) || !InitPixelView(image.get(), to)) return image;
  const bool shaped = mask && InitPixelView(mask.get(), shape);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) {
      const TPixel32 c = from.Row(y)[x] & 0x00FFFFFFu;
      if (shaped && shape.Row(y)[x] == 0x00FFFFFFu)
        to.Row(y)[x] = 0;
      else
        to.Row(y)[x] = c == kKeyColor ? c : (c | 0xFF000000u);
    }
  // Premultiplied for the layered update (key-coloured pixels become empty).
  PremultiplyBmp(image.get());
  return image;
}

// ---------------------------------------------------------------------------------------
// TqvPngHintWindow

TqvPngHintWindow::TqvPngHintWindow(vcl::TComponent* AOwner) : TqvCustomHintWindow(AOwner) {}

vcl::TRect TqvPngHintWindow::CalcHintRect(int MaxWidth, const vcl::String& AHint, void* AData) {
  TqvHintHost* host = HintHost();
  if (!host || host->SkinUsed()) return TqvCustomHintWindow::CalcHintRect(MaxWidth, AHint, AData);
  TqvHintTemplate* tmpl = host->ActiveTemplate();
  Unit().Template = tmpl;
  if (tmpl) host->WorkBitmap()->Canvas()->Font()->Assign(tmpl->Font());
  const vcl::TRect text = TqvCustomHintWindow::CalcHintRect(MaxWidth, AHint, AData);
  Unit().Image = tmpl ? tmpl->ImageDefault() : nullptr;
  const auto grown = [&text](const TqvHintImage* image) {
    const vcl::TRect m = image ? Margins(image->ClientMargins()) : vcl::TRect{4, 2, 4, 2};
    return vcl::TRect(0, 0, text.Width() + m.Left + m.Right, text.Height() + m.Top + m.Bottom);
  };
  vcl::TRect r = grown(Unit().Image);
  vcl::TPoint point = ForcedPos;
  if (!ForcedPosSet()) {
    if (host->NextHintPos().X != -1) {
      point = host->NextHintPos();
    } else {
      POINT cursor{};
      GetCursorPos(&cursor);
      point = {cursor.x, cursor.y};
    }
  }
  placement_ = Place(r, point, false);
  return grown(Unit().Image);
}

std::unique_ptr<vcl::TBitmap> TqvPngHintWindow::PaintImage(int Width, int Height) {
  TqvHintHost* host = HintHost();
  if (!host || host->SkinUsed()) return TqvCustomHintWindow::PaintImage(Width, Height);
  if (HandleAllocated()) SetHintWindowRgn(Handle(), nullptr, true);
  auto image = CreateBmp32(Width, Height);
  if (image->Empty()) return nullptr;
  TqvHintImage* tmplImage = Unit().Image;
  TqvHintTemplate* tmpl = Unit().Template;
  if (tmplImage) {
    try {
      tmplImage->DecodeIfNeeded();
    } catch (const vcl::Exception&) {
      // A broken picture paints nothing.
    }
  }
  vcl::TRect textR(4, 2, Width - 4, Height - 2);
  if (tmplImage && !tmplImage->Image()->Empty()) {
    const TqvBorderDrawModes* modes = tmplImage->BorderDrawModes();
    DrawNineAlpha(image.get(), tmplImage->Image(), vcl::TRect(0, 0, tmplImage->ImageWidth(), tmplImage->ImageHeight()),
                  Margins(tmplImage->BordersWidths()),
                  {modes->Left() == dmStretch, modes->Top() == dmStretch, modes->Right() == dmStretch,
                   modes->Bottom() == dmStretch, modes->Center() == dmStretch});
    const vcl::TRect m = Margins(tmplImage->ClientMargins());
    textR = {m.Left, m.Top, Width - m.Right, Height - m.Bottom};
  } else {
    PaintPlainHint(image.get());
  }
  textR.Offset(-1, 0);
  if (tmpl) image->Canvas()->Font()->Assign(tmpl->Font());
  // Text drawn by the system leaves the alpha bytes it touches wrong: they come back.
  const auto alpha = CreateBmp32(Width, Height);
  CopyBmp(alpha.get(), image.get());
  PaintText(image.get(), textR, false);
  CopyChannel(image.get(), alpha.get(), 3);
  PremultiplyBmp(image.get());
  return image;
}

}  // namespace skin_layered
