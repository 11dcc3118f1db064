#include "skin_layered/adapters/ProgressWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <memory>

#include "skin_layered/adapters/ParentBackground.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/SystemLook.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvProgressWnd) {}

namespace {

// The gap between the trough's edge and the bar.
constexpr int kBarInset = 1;
// The least size a picture in nine parts is drawn in.
constexpr int kLeastPieceSize = 2;

// The messages after which the control shows another bar.
bool ChangesBar(UINT Msg) {
  switch (Msg) {
    case PBM_SETPOS:
    case PBM_DELTAPOS:
    case PBM_STEPIT:
    case PBM_SETRANGE:
    case PBM_SETRANGE32:
    case PBM_SETBARCOLOR:
    case PBM_SETSTATE:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool TqvProgressWnd::Vertical() const { return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & PBS_VERTICAL) != 0; }

bool TqvProgressWnd::Marquee() const { return (GetWindowLongPtrW(CtrlHandle, GWL_STYLE) & PBS_MARQUEE) != 0; }

vcl::TRect TqvProgressWnd::BarRect() const {
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  vcl::TRect r{FrameWidth, FrameWidth, FrameWidth + client.right, FrameWidth + client.bottom};
  r.Inflate(-kBarInset, -kBarInset);
  const auto low = static_cast<std::int64_t>(static_cast<int>(SendMessageW(CtrlHandle, PBM_GETRANGE, TRUE, 0)));
  const auto high = static_cast<std::int64_t>(static_cast<int>(SendMessageW(CtrlHandle, PBM_GETRANGE, FALSE, 0)));
  const auto pos = std::clamp(static_cast<std::int64_t>(static_cast<int>(SendMessageW(CtrlHandle, PBM_GETPOS, 0, 0))),
                              std::min(low, high), std::max(low, high));
  if (high <= low || r.IsEmpty()) return {};
  if (Vertical()) {
    const auto filled = static_cast<int>((pos - low) * r.Height() / (high - low));
    r.Top = r.Bottom - filled;
  } else {
    const auto filled = static_cast<int>((pos - low) * r.Width() / (high - low));
    r.Right = r.Left + filled;
  }
  return r.IsEmpty() ? vcl::TRect{} : r;
}

void TqvProgressWnd::PaintContent(vcl::TBitmap* Cache) {
  TsSkinManager* manager = Manager();
  if (!manager) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int gauge = manager->GetSkinIndex(L"GAUGE");
  const bool hasGauge = skin.IsValidSkinIndex(gauge);
  const vcl::TRect whole{0, 0, Cache->Width(), Cache->Height()};
  if (hasGauge) {
    // The trough over what lies behind the window.
    TqvCacheInfo behind;
    if (AdapterParentBg(this, behind)) PaintItemBg(gauge, behind, 0, whole, WndPos, Cache, &skin);
  } else {
    // The system's thin sunken edge: the bar's extent stays readable, also with nothing done.
    DrawSystemButtonEdge(Cache, whole, 2, true);
  }
  const vcl::TRect bar = BarRect();
  if (bar.IsEmpty()) return;
  const int piece = hasGauge ? manager->GetMaskIndex(gauge, L"GAUGE", Vertical() ? L"PROGRESSV" : L"PROGRESSH") : -1;
  if (skin.IsValidImgIndex(piece)) {
    const TsMaskData& image = skin.Images[static_cast<std::size_t>(piece)];
    TqvCacheInfo trough;
    if (bar.Width() >= kLeastPieceSize && bar.Height() >= kLeastPieceSize) {
      MakeCacheInfo(Cache, 0, 0, trough);
      DrawSkinRect(Cache, bar, trough, image, 0, true);
      return;
    }
    // A picture in nine parts needs two pixels each way: a shorter bar (a small share) is
    // the start of one of that size, not nothing.
    const int w = std::max(bar.Width(), kLeastPieceSize), h = std::max(bar.Height(), kLeastPieceSize);
    std::unique_ptr<vcl::TBitmap> least = CreateBmp32(w, h);
    const int y = Vertical() ? h - bar.Height() : 0;
    BitBlt(least->Canvas()->Handle(), 0, y, bar.Width(), bar.Height(), Cache->Canvas()->Handle(), bar.Left, bar.Top,
           SRCCOPY);
    MakeCacheInfo(least.get(), 0, 0, trough);
    DrawSkinRect(least.get(), vcl::TRect{0, 0, w, h}, trough, image, 0, true);
    BitBlt(Cache->Canvas()->Handle(), bar.Left, bar.Top, bar.Width(), bar.Height(), least->Canvas()->Handle(), 0, y,
           SRCCOPY);
    return;
  }
  // No piece for the bar: the system's fill.
  const auto color = static_cast<COLORREF>(SendMessageW(CtrlHandle, PBM_GETBARCOLOR, 0, 0));
  FillDC(Cache->Canvas()->Handle(), bar,
         static_cast<vcl::TColor>(color == CLR_DEFAULT ? GetSysColor(COLOR_HIGHLIGHT) : color));
}

void TqvProgressWnd::WndProc(vcl::TMessage& Message) {
  const bool painting = Message.Msg == WM_PAINT || Message.Msg == WM_ERASEBKGND || Message.Msg == WM_PRINT ||
                        Message.Msg == WM_NCPAINT;
  // A marquee moves a block of its own: the system paints it.
  if (painting && Marquee()) return TqvMainWnd::WndProc(Message);
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  TqvContainerWnd::WndProc(Message);
  if (alive && ChangesBar(Message.Msg) && !Destroyed()) InvalidateRect(CtrlHandle, nullptr, FALSE);
}

}  // namespace skin_layered
