// A skinned form's window region (see FormRegion.h).
#include "skin_layered/forms/FormRegion.h"

#include <utility>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/WindowMessages.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/FormMeasures.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/BackgroundRegions.h"

namespace skin_layered {
namespace {

// The region's owner deletes it unless it is handed on.
struct TRegion {
  HRGN Handle;
  ~TRegion() {
    if (Handle) DeleteObject(Handle);
  }
  HRGN Release() { return std::exchange(Handle, nullptr); }
};

}  // namespace

void TqvFormRegion::UpdateRgnRects() {
  RgnRects.clear();
  TsSkinManager* manager = host_.SkinManager();
  const TsSkinProviderBase& provider = *host_.FrameProvider();
  if (!manager || !provider.SkinData) return;
  const TsLoadedSkin& skin = manager->Skin();
  const int width = host_.WindowImage().ImageWidth();
  if (skin.IsValidImgIndex(provider.SkinData->BorderIndex)) {
    const TsMaskData& border = skin.Images[static_cast<std::size_t>(provider.SkinData->BorderIndex)];
    AddMaskCornerRects(RgnRects, width, border, false, 0);
    AddMaskCornerRects(RgnRects, width, border, true, provider.Form->Height() - border.WidthBottom);
  }
  const int title = host_.Measures().GetTitleSkinIndex();
  if (manager->IsValidSkinIndex(title)) {
    const int mask = manager->GetMaskIndex(title, host_.Measures().TitleSkinSection(), L"BORDERSMASK");
    if (skin.IsValidImgIndex(mask))
      AddMaskCornerRects(RgnRects, width, skin.Images[static_cast<std::size_t>(mask)], false, 0);
  }
}

HRGN TqvFormRegion::MakeRgn(int DX, int DY) {
  HRGN rgn = CreateRectRgn(DX, DY, DX + host_.WindowImage().ImageWidth(), DY + host_.FrameProvider()->Form->Height());
  for (const vcl::TRect& r : RgnRects) {
    TRegion hole{CreateRectRgn(r.Left + DX, r.Top + DY, r.Right + DX, r.Bottom + DY)};
    CombineRgn(rgn, rgn, hole.Handle, RGN_DIFF);
  }
  return rgn;
}

bool TqvFormRegion::UpdateFormRgn(bool Repaint, bool FrameWhenNone) {
  const TsSkinProviderBase& provider = *host_.FrameProvider();
  vcl::TCustomForm* form = provider.Form;
  if (!provider.DrawNonClientArea || !form->HandleAllocated() || host_.ShowsSnapshot() ||
      (provider.State & kProviderChangeFrozen))
    return false;
  const HWND wnd = form->Handle();
  if (!host_.Measures().HasBorder() && !IsIconic(wnd) && !HasThickFrame(wnd)) return false;
  // Until the window image was painted with the client area, the form may keep its own region.
  if (!host_.ImagePaintedWhole() &&
      static_cast<WPARAM>(SendMessageW(wnd, kRegionQueryMessage, kRegionQueryValue, 0)) == kRegionQueryValue)
    return false;
  SettingRgn = true;
  TRegion region{nullptr};
  bool wholeWindow = false;
  if (TqvBorderForm* border = host_.ExtBorderForm()) {
    // The border window draws the skinned frame: only the client part of the window stays.
    const int frame = SysBorderWidth(wnd, border, false);
    const int caption = SysCaptionHeight(form);
    region.Handle = CreateRectRgn(frame, frame + caption, WndWidth(wnd) - frame, WndHeight(wnd) - frame);
  } else if (IsZoomed(wnd) && form->Constraints()->MaxWidth() == 0 && form->Constraints()->MaxHeight() == 0 &&
             form->FormStyle() != vcl::fsMDIChild) {
    // The part of a maximised window that lies on its monitor.
    const int side = SysBorderWidth(wnd, nullptr, false);
    const int topBottom = DefBorderWidth(wnd, nullptr, false);
    region.Handle = CreateRectRgn(side, topBottom, WndWidth(wnd) - side, WndHeight(wnd) - topBottom);
  } else if (RgnRects.empty() && host_.WindowImage().ImageWidth() >= WndWidth(wnd) &&
             form->Height() >= WndHeight(wnd)) {
    // No corner cut: the region would be the whole window, which is none. A window without one
    // keeps none through a size change, and the system asks nothing more of its frame then.
    wholeWindow = true;
  } else {
    region.Handle = MakeRgn(0, 0);
  }
  RgnChanged = false;
  // The region the window has already, set again without a repaint, would only have the
  // frame worked out anew (its menu bar measured again): it is left as it is.
  if (!Repaint || wholeWindow) {
    TRegion current{CreateRectRgn(0, 0, 0, 0)};
    const bool has = current.Handle && GetWindowRgn(wnd, current.Handle) != ERROR;
    if (wholeWindow ? !has : has && region.Handle && EqualRgn(current.Handle, region.Handle)) {
      SettingRgn = false;
      if (wholeWindow && Repaint && FrameWhenNone)
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOCHILDREN);
      return false;
    }
  }
  // The system owns the region from here on.
  SetWindowRgn(wnd, region.Release(), Repaint ? TRUE : FALSE);
  SettingRgn = false;
  return true;
}

}  // namespace skin_layered
