// The window image of a skinned form onto its window (the image itself is TqvWindowImage,
// WindowImage.h): the frame is four copies out of it (WM_NCPAINT's painter), and the client
// background and the form's skinned controls take their backgrounds from it.
#include <algorithm>

#include "classlib/forms/Menus.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/GeneralUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/forms/WindowImageParts.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/manager/SkinText.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/AlphaText.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/BorderPainter.h"
#include "skin_layered/paint/Fills.h"
#include "skin_layered/paint/NinePart.h"
#include "skin_layered/paint/SectionPaint.h"
#include "skin_layered/paint/SkinImages.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {

bool TsSkinProvider::IsMDIProvider() const { return MDIProvider() == this; }

// ---------------------------------------------------------------------------------------
// The frame on the window

void TsSkinProvider::PaintNonClient() {
  if (!DrawNonClientArea || !SkinData || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  if (resize_mode_ == rmBorder && AeroIsEnabled()) resize_mode_ = rmStandard;
  TsSkinProvider* frameProvider = MDIProvider();
  if (Form->FormStyle() == vcl::fsMDIChild && frameProvider && frameProvider != this && frameProvider->Form)
    if (vcl::TCustomForm* active = frameProvider->Form->ActiveMDIChild();
        active && active != Form && active->HandleAllocated() && IsZoomed(active->Handle()))
      return;
  PrepareMenus();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0) SkinData->BGChanged = true;
  if (SkinData->BGChanged && !window_image_.PaintAllImage()) return;

  const bool borderless = Form->BorderStyle() == vcl::TFormBorderStyle::bsNone &&
                          !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD);
  if (!SettingRgn && RgnChanged) {
    if (borderless && !HasThickFrame(wnd) && !IsIconic(wnd)) {
      SetWindowRgn(wnd, nullptr, TRUE);
      RgnChanged = false;
    } else {
      if (IsIconic(wnd) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW)) return;
      if (!ExtBorderForm()) UpdateRgnRects();
      RgnChanged = false;
      const bool repaint = !Form->Showing() || Form->Position() == vcl::poDefault || IsZoomed(wnd);
      UpdateFormRgn(repaint && !AnimationActive());
      if (repaint && !AnimationActive() && !SkinData->BGChanged) {
        SettingRgn = false;
        return;
      }
    }
  }
  SkinData->Updating = false;
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  vcl::TBitmap* image = SkinData->CacheBmp();
  HDC src = image->Canvas()->Handle();
  if (TqvBorderForm* border = ExtBorderForm()) {
    // The border window shows the frame and caption: only the form's own parts are copied.
    const vcl::TRect shadow = ShadowSize();
    const int f = SysBorderWidth(wnd, nullptr, false);
    const int b = Form->BorderWidth();
    const int m = HasMenuLine() && MenuVisible() ? MenuLinesCount() * MenuHeight() + 1 : 0;
    // The window keeps the system's caption: its menu bar lies below that, not below the skin's.
    const int y0 = CaptionHeight(false) + f - (MaxBorderLarge ? 4 : 0);
    const int clientTop = y0 + m + b;
    const int width = image->Width(), height = image->Height();
    BitBlt(dc, f, y0, width - shadow.Left - shadow.Right, m + b, src, SysBorderWidth(wnd, border, true) + shadow.Left,
           OffsetY() - m - b, SRCCOPY);
    if (b > 0) {
      const int formWidth = Form->Width(), formHeight = Form->Height();
      BitBlt(dc, f, clientTop, b, formHeight - f, src, OffsetX() - b, OffsetY(), SRCCOPY);
      BitBlt(dc, b + f, formHeight - b - f, formWidth - 2 * b - f, b, src, BorderWidthSys() + shadow.Left,
             height - BorderWidthSys() - shadow.Bottom, SRCCOPY);
      BitBlt(dc, formWidth - b - f, clientTop, b, height - f, src, width - BorderWidthSys() - shadow.Right, OffsetY(),
             SRCCOPY);
    }
  } else if (borderless && HasThickFrame(wnd) && !IsIconic(wnd)) {
    const int strip = BorderWidthSys() + 3;
    const int width = image->Width(), height = image->Height();
    BitBlt(dc, 0, 0, width, strip, src, 0, 0, SRCCOPY);
    BitBlt(dc, 0, strip, strip, height - strip, src, 0, strip, SRCCOPY);
    BitBlt(dc, 0, height - strip, width, strip, src, 0, height - strip, SRCCOPY);
    BitBlt(dc, width - strip, strip, strip, height - strip, src, width - strip, strip, SRCCOPY);
  } else {
    PaintBorders(dc);
  }
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
  SettingRgn = false;
}

// ---------------------------------------------------------------------------------------
// The client background

void TsSkinProvider::PaintFormBg(HDC DC) {
  if (!SkinData || !Form->HandleAllocated()) return;
  SkinData->Updating = false;
  if (Form->FormStyle() == vcl::fsMDIChild && IsZoomed(Form->Handle()))
    if (TsSkinProvider* frame = MDIProvider(); frame && frame->Form && frame->Form->ActiveMDIChild() != Form) return;
  PaintClient(DC, true);
  if (GripVisible()) {
    POINT origin{};
    SetWindowOrgEx(DC, OffsetX(), OffsetY(), &origin);
    window_image_.PaintGrip(DC);
    SetWindowOrgEx(DC, origin.x, origin.y, nullptr);
  }
  Form->PaintControls(DC, nullptr);
}

void TsSkinProvider::PaintFormWM(HDC DC) {
  const HWND wnd = Form->Handle();
  const bool printing = Printing;
  if (Form->ComponentState().Contains(vcl::csReading) || printing) {
    PAINTSTRUCT ps{};
    BeginPaint(wnd, &ps);
    EndPaint(wnd, &ps);
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = DC;
  const bool own = !DC;
  if (own) dc = BeginPaint(wnd, &ps);
  vcl::TCanvas* canvas = Form->Canvas();
  canvas->Lock();
  if (Form->FormStyle() != vcl::fsMDIChild || !IsZoomed(wnd) || !MDIProvider() || !MDIProvider()->Form ||
      MDIProvider()->Form->ActiveMDIChild() == Form)
    PaintFormBg(dc);
  canvas->Unlock();
  if (own) EndPaint(wnd, &ps);
}

}  // namespace skin_layered
