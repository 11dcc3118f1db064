#include "skin_layered/core/BackgroundInfo.h"

#include "classlib/controls/Controls.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SavedDC.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered {
namespace {

void StartQuery(TqvBGInfo& info, bool pleaseDraw) {
  // A bitmap left from an earlier answer may be gone by now: never pass it on.
  info.Bmp = nullptr;
  info.BgType = btNone;
  info.PleaseDraw = pleaseDraw;
  info.FillRect = vcl::TRect();
}

// A colour answer carries no bitmap.
void EndQuery(TqvBGInfo& info) {
  if (info.BgType != btBitmap && info.BgType != btNotReady) info.Bmp = nullptr;
}

// Lets Paint draw into the asker's DC with the origin moved so that the asker's area R
// lands on Offset of the painter, clipped to that area; R is left moved by Offset.
template <class Paint>
void DrawBehind(TqvBGInfo& info, Paint&& paint) {
  HDC dc = info.DrawDC;
  if (!dc) return;
  const TSavedDC saved(dc);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x - info.Offset.X, origin.y - info.Offset.Y, nullptr);
  info.R.Offset(info.Offset.X, info.Offset.Y);
  IntersectClipRect(dc, info.R.Left, info.R.Top, info.R.Right, info.R.Bottom);
  paint(dc);
}

// A windowed control with a window gets the command sent there; any other by Perform.
LRESULT Ask(vcl::TControl* control, int command, LPARAM lparam) {
  auto* windowed = dynamic_cast<vcl::TWinControl*>(control);
  if (windowed && windowed->HandleAllocated())
    return SendMessageW(windowed->Handle(), kSkinCmdMessage, SkinCommandWParam(command), lparam);
  return control->Perform(kSkinCmdMessage, SkinCommandWParam(command), lparam);
}

vcl::TColor ColorWithoutAnswer() {
  const TsLoadedSkin* skin = DefaultSkin();
  return skin ? skin->GetGlobalColor() : vcl::clBtnFace;
}

}  // namespace

bool GetBgInfo(TqvBGInfo& BGInfo, vcl::TControl* Control, bool PleaseDraw) {
  StartQuery(BGInfo, PleaseDraw);
  if (Control) Ask(Control, scmGetBgInfo, reinterpret_cast<LPARAM>(&BGInfo));
  if (BGInfo.BgType != btNone) {
    EndQuery(BGInfo);
    return true;
  }
  if (PleaseDraw && Control) {
    DrawBehind(BGInfo, [Control](HDC dc) {
      Control->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc));
      Control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    return true;
  }
  BGInfo.BgType = btColor;
  if (!Control) {
    BGInfo.Color = ColorWithoutAnswer();
  } else if (Ask(Control, scmIsSkinned, 0) == 1) {
    // A skinned control's answer is its colour, black included.
    BGInfo.Color = vcl::ColorToRGB(static_cast<vcl::TColor>(Ask(Control, scmGetColor, 0)));
  } else {
    BGInfo.Color = vcl::ColorToRGB(Control->Color());
  }
  return true;
}

bool GetBgInfoWnd(TqvBGInfo& BGInfo, HWND Wnd, bool PleaseDraw) {
  StartQuery(BGInfo, PleaseDraw);
  SendCommandToWnd(Wnd, scmGetBgInfo, reinterpret_cast<LPARAM>(&BGInfo));
  if (BGInfo.BgType != btNone) {
    EndQuery(BGInfo);
    return true;
  }
  if (PleaseDraw && Wnd) {
    DrawBehind(BGInfo, [Wnd](HDC dc) {
      SendMessageW(Wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
      SendMessageW(Wnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    });
    return false;
  }
  BGInfo.Color = ColorWithoutAnswer();
  BGInfo.BgType = btColor;
  return false;
}

void CopyBgInfo(const TqvBGInfo& BGInfo, TqvCacheInfo& CI) {
  if (BGInfo.BgType == btBitmap) {
    MakeCacheInfo(BGInfo.Bmp, BGInfo.Offset.X, BGInfo.Offset.Y, CI);
    return;
  }
  CI.Bmp = BGInfo.Bmp;
  CI.X = BGInfo.Offset.X;
  CI.Y = BGInfo.Offset.Y;
  CI.Ready = false;
  CI.FillColor = static_cast<std::uint32_t>(vcl::ColorToRGB(BGInfo.Color));
  CI.FillRect = BGInfo.FillRect;
}

}  // namespace skin_layered
