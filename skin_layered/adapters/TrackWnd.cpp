#include "skin_layered/adapters/TrackWnd.h"

#include <commctrl.h>

#include <cmath>

#include "classlib/controls/Controls.h"
#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Compositing.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/Resampling.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvTrackWnd) {}

namespace {

// A thumb this thick is the skin's own size: drawn without resampling.
constexpr int kNativeThumb = 23;
constexpr int kThumbFilter = 6;

void MirrorBitmap(vcl::TBitmap* Bmp, bool LeftRight) {
  const int w = Bmp->Width(), h = Bmp->Height();
  const HDC dc = Bmp->Canvas()->Handle();
  if (LeftRight)
    StretchBlt(dc, w - 1, 0, -w, h, dc, 0, 0, w, h, SRCCOPY);
  else
    StretchBlt(dc, 0, h - 1, w, -h, dc, 0, 0, w, h, SRCCOPY);
}

}  // namespace

std::vector<int> TrackTickPositions(int ChannelStart, int ChannelLength, int ThumbLength, int Count) {
  std::vector<int> out;
  if (Count < 1) return out;
  const double step = Count > 1 ? static_cast<double>(ChannelLength - ThumbLength) / (Count - 1) : 0.0;
  out.reserve(static_cast<std::size_t>(Count));
  for (int i = 0; i < Count; ++i)
    out.push_back(static_cast<int>(std::nearbyint(i * step + ChannelStart + ThumbLength / 2)));
  return out;
}

void TqvTrackWnd::SetSkinParams() {
  TickLength = 4;
  TqvMainWnd::SetSkinParams();
}

bool TqvTrackWnd::Vertical() const { return (GetWindowLongW(CtrlHandle, GWL_STYLE) & TBS_VERT) != 0; }

int TqvTrackWnd::TickSide() const {
  const LONG style = GetWindowLongW(CtrlHandle, GWL_STYLE);
  if (style & TBS_BOTH) return 2;
  return (style & TBS_TOP) ? 1 : 0;
}

vcl::TRect TqvTrackWnd::ChannelRect() const {
  RECT r{};
  SendMessageW(CtrlHandle, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  // A vertical bar of the system's answers with its axes exchanged (Wine's does not): the
  // channel runs along the bar.
  if (Vertical() && r.right - r.left > r.bottom - r.top) return vcl::TRect{r.top, r.left, r.bottom, r.right};
  return vcl::TRect{r.left, r.top, r.right, r.bottom};
}

vcl::TRect TqvTrackWnd::ThumbRect() const {
  RECT r{};
  SendMessageW(CtrlHandle, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return vcl::TRect{r.left, r.top, r.right, r.bottom};
}

void TqvTrackWnd::PaintChannel(vcl::TBitmap* Cache, const vcl::TRect& Channel) {
  TsSkinManager* manager = Manager();
  const int mask = manager->GetMaskIndex(TrackSkinIndex, L"TRACKBAR", L"SLIDERCHANNEL");
  if (!manager->IsValidImgIndex(mask)) return DrawSystemTrackChannel(Cache, Channel);
  const TsMaskData& image = manager->Skin().Images[static_cast<std::size_t>(mask)];
  vcl::TRect r = Channel;
  if (Vertical()) {
    const int w = MaskImageWidth(image) - 1;
    r.Left = (Channel.Left + Channel.Right - w) / 2;
    r.Right = r.Left + w;
  } else {
    const int h = MaskImageHeight(image) - 1;
    r.Top = (Channel.Top + Channel.Bottom - h) / 2;
    r.Bottom = r.Top + h;
  }
  TqvCacheInfo own;
  MakeCacheInfo(Cache, 0, 0, own);
  DrawSkinRect(Cache, r, own, image, SkinData->ControlIsActive() || vcl::IsFocusWindow(CtrlHandle) ? 1 : 0, true);
}

void TqvTrackWnd::PaintTicks(vcl::TBitmap* Cache, const vcl::TRect& Channel, const vcl::TRect& Thumb) {
  if (GetWindowLongW(CtrlHandle, GWL_STYLE) & TBS_NOTICKS) return;
  const bool vertical = Vertical();
  const int count = static_cast<int>(SendMessageW(CtrlHandle, TBM_GETNUMTICS, 0, 0));
  const int channel_length = vertical ? Channel.Bottom - Channel.Top : Channel.Right - Channel.Left;
  const int thumb_length = vertical ? Thumb.Bottom - Thumb.Top : Thumb.Right - Thumb.Left;
  TickStep = count > 1 ? static_cast<double>(channel_length - thumb_length) / (count - 1) : 0.0;
  const std::vector<int> ticks =
      TrackTickPositions(vertical ? Channel.Top : Channel.Left, channel_length, thumb_length, count);
  const int thumb_thickness = vertical ? Thumb.Right - Thumb.Left : Thumb.Bottom - Thumb.Top;
  const int channel_thickness = vertical ? Channel.Right - Channel.Left : Channel.Bottom - Channel.Top;
  const int d = (thumb_thickness - channel_thickness) / 2 + 2;
  TsSkinManager* manager = Manager();
  const int image_index = manager->GetMaskIndex(TrackSkinIndex, L"TRACKBAR", vertical ? L"TICKVERT" : L"TICKHORZ");
  const TsMaskData* image = manager->IsValidImgIndex(image_index)
                                ? &manager->Skin().Images[static_cast<std::size_t>(image_index)]
                                : nullptr;
  TqvCacheInfo own;
  MakeCacheInfo(Cache, 0, 0, own);
  const int side = TickSide();
  std::vector<int> offsets;  // across the axis
  if (side == 1 || side == 2) offsets.push_back((vertical ? Channel.Left : Channel.Top) - d - TickLength);
  if (side == 0 || side == 2) offsets.push_back((vertical ? Channel.Right : Channel.Bottom) + d);
  for (int across : offsets)
    for (int along : ticks) {
      const int x = vertical ? across : along;
      const int y = vertical ? along : across;
      if (image) {
        const vcl::TPoint p = vertical ? vcl::TPoint{x, y - MaskImageHeight(*image)}
                                       : vcl::TPoint{x - MaskImageWidth(*image), y};
        DrawSkinGlyph(Cache, p, Pressed ? 1 : 0, 1, *image, own);
      } else {
        const vcl::TRect r = vertical ? vcl::TRect{x, y, x + TickLength, y + 2} : vcl::TRect{x, y, x + 2, y + TickLength};
        FillDC(Cache->Canvas()->Handle(), r, vcl::clBtnShadow);
      }
    }
}

void TqvTrackWnd::PaintThumb(vcl::TBitmap* Cache, const vcl::TRect& Thumb) {
  TsSkinManager* manager = Manager();
  const bool vertical = Vertical();
  int mask = vertical ? manager->GetMaskIndex(TrackSkinIndex, L"TRACKBAR", L"SLIDERVMASK") : kNoIndex;
  if (!manager->IsValidImgIndex(mask)) mask = manager->GetMaskIndex(TrackSkinIndex, L"TRACKBAR", L"SLIDERMASK");
  if (!manager->IsValidImgIndex(mask)) return DrawSystemTrackThumb(Cache, Thumb, Pressed);
  const TsMaskData& image = manager->Skin().Images[static_cast<std::size_t>(mask)];
  const int mw = MaskImageWidth(image), mh = MaskImageHeight(image);
  const int tw = Thumb.Right - Thumb.Left, th = Thumb.Bottom - Thumb.Top;
  if (tw <= 0 || th <= 0 || mw <= 0 || mh <= 0) return;
  const int state = Pressed ? 1 : 0;
  const int thickness = vertical ? tw : th;
  if (thickness == kNativeThumb || (tw == mw && th == mh)) {
    TqvCacheInfo own;
    MakeCacheInfo(Cache, 0, 0, own);
    DrawSkinGlyph(Cache, vcl::TPoint{Thumb.Left + (tw - mw) / 2, Thumb.Top + (th - mh) / 2}, state, 1, image, own);
    return;
  }
  // Any other size: drawn at the image's size over the resampled background, then scaled back.
  vcl::TBitmap under;
  under.SetPixelFormat(vcl::pf32bit);
  under.SetSize(tw, th);
  BitBlt(under.Canvas()->Handle(), 0, 0, tw, th, Cache->Canvas()->Handle(), Thumb.Left, Thumb.Top, SRCCOPY);
  vcl::TBitmap work;
  work.SetPixelFormat(vcl::pf32bit);
  work.SetSize(mw, mh);
  StretchWithFilter(&under, &work, mw, mh, kThumbFilter);
  const bool mirror = TickSide() == 1;
  if (mirror) MirrorBitmap(&work, vertical);
  TqvCacheInfo own;
  MakeCacheInfo(&work, 0, 0, own);
  DrawSkinGlyph(&work, vcl::TPoint{0, 0}, state, 1, image, own);
  if (mirror) MirrorBitmap(&work, vertical);
  StretchWithFilter(&work, &under, tw, th, kThumbFilter);
  BitBlt(Cache->Canvas()->Handle(), Thumb.Left, Thumb.Top, tw, th, under.Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TqvTrackWnd::PaintCache() {
  TqvCacheInfo ci;
  vcl::TBitmap* cache = PaintAdapterSection(this, ci);
  if (!cache) return;
  TsSkinManager* manager = Manager();
  TrackSkinIndex = manager ? manager->GetSkinIndex(L"TRACKBAR") : kNoIndex;
  // Without the section, or its pictures, the system's channel, ticks and thumb show.
  if (manager) {
    const vcl::TRect channel = ChannelRect();
    const vcl::TRect thumb = ThumbRect();
    PaintChannel(cache, channel);
    PaintTicks(cache, channel, thumb);
    SendMessageW(CtrlHandle, TBM_GETPOS, 0, 0);
    PaintThumb(cache, thumb);
  }
  if (!IsWindowEnabled(CtrlHandle)) PaintDisabled(cache, kDisabledBlend, OwnerControl(), ci, WndPos);
  SkinData->BGChanged = false;
}

void TqvTrackWnd::Paint(HDC GivenDC) {
  GetWndPos(CtrlHandle, ParentWnd, WndRect, WndPos, WndSize, ParentRect);
  PAINTSTRUCT ps{};
  const HDC paint_dc = BeginPaint(CtrlHandle, &ps);
  (void)paint_dc;
  if (!SkinData->CheckBgChanged()) {
    if (ParentWnd) SendMessageW(ParentWnd, kSkinCmdMessage, SkinCommandWParam(scmBeforeChildPaint), 0);
    if (IsWindowVisible(CtrlHandle) || GivenDC) {
      const HDC dc = GivenDC ? GivenDC : GetDC(CtrlHandle);
      if (dc) {
        PaintCache();
        if (vcl::TBitmap* cache = SkinData->CacheBmp())
          BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
        if (!GivenDC) ReleaseDC(CtrlHandle, dc);
      }
    }
  }
  EndPaint(CtrlHandle, &ps);
}

void TqvTrackWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || !SkinData->Skinned() || Destroyed()) {
    TqvMainWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      Pressed = true;
      break;
    case WM_LBUTTONUP:
      Pressed = false;
      break;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_PAINT:
      Paint(reinterpret_cast<HDC>(Message.WParam));
      Message.Result = 0;
      return;
    default:
      break;
  }
  TqvMainWnd::WndProc(Message);
}

}  // namespace skin_layered
