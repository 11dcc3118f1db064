// The window image of a skinned form onto its window frame (the image itself is
// TqvWindowImage, WindowImage.h): WM_NCPAINT's painter copies the frame strips out of it, after
// the menus are hooked and the region brought up to date.
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

// ---------------------------------------------------------------------------------------
// The frame on the window

void TsSkinProvider::PaintNonClient() {
  if (!DrawNonClientArea || !SkinData || !Form->HandleAllocated()) return;
  const HWND wnd = Form->Handle();
  if (ResizeMode() == rmBorder && AeroIsEnabled()) SetResizeMode(rmStandard);
  TsSkinProvider* frameProvider = MDIProvider();
  if (Form->FormStyle() == vcl::fsMDIChild && frameProvider && frameProvider != this && frameProvider->Form)
    if (vcl::TCustomForm* active = frameProvider->Form->ActiveMDIChild();
        active && active != Form && active->HandleAllocated() && IsZoomed(active->Handle()))
      return;
  menus_.PrepareMenus();
  vcl::TBitmap* cache = SkinData->CacheBmp();
  if (!cache || cache->Width() == 0) SkinData->BGChanged = true;
  if (SkinData->BGChanged && !window_image_.PaintAllImage()) return;

  const bool borderless = Form->BorderStyle() == vcl::TFormBorderStyle::bsNone &&
                          !(GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CHILD);
  if (!region_.SettingRgn && region_.RgnChanged) {
    if (borderless && !HasThickFrame(wnd) && !IsIconic(wnd)) {
      SetWindowRgn(wnd, nullptr, TRUE);
      region_.RgnChanged = false;
    } else {
      if (IsIconic(wnd) && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_APPWINDOW)) return;
      if (!ExtBorderForm()) region_.UpdateRgnRects();
      region_.RgnChanged = false;
      const bool repaint = !Form->Showing() || Form->Position() == vcl::poDefault || IsZoomed(wnd);
      const bool set = region_.UpdateFormRgn(repaint && !AnimationActive(), false);
      if (set && repaint && !AnimationActive() && !SkinData->BGChanged) {
        region_.SettingRgn = false;
        return;
      }
    }
  }
  SkinData->Updating = false;
  window_image_.PaintFrameStrips();
  region_.SettingRgn = false;
}

}  // namespace skin_layered
