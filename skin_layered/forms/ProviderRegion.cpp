// The picture of the whole skinned form, the repaint of the frame on demand, the title cover
// and the form's pictures for the task bar.
#include <cmath>

#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/Resampling.h"

namespace skin_layered {
namespace {

// The provider marked as making a task-bar picture until the guard's scope ends.
auto MakingTaskbarPicture(TsSkinProvider* Provider) {
  Provider->ExtFlags |= kExtTaskbarPicture;
  return vcl::TScopeExit([Provider] { Provider->ExtFlags &= ~kExtTaskbarPicture; });
}

// The source of the task-bar pictures: the minimised form's picture while it is restored by
// its animation, else the window image.
vcl::TBitmap* PictureSource(TsSkinProvider* Provider, bool& FromCache) {
  vcl::TBitmap* snapshot = Provider->Animator().Snapshot();
  FromCache = snapshot == nullptr;
  vcl::TBitmap* source = snapshot ? snapshot : (Provider->SkinData ? Provider->SkinData->CacheBmp() : nullptr);
  return source && source->Width() > 0 && source->Height() > 0 ? source : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The form's picture and the frame's repaint

std::unique_ptr<vcl::TBitmap> TsSkinProvider::FormSnapshot(bool FreeCache) {
  vcl::TBitmap* cache = SkinData ? SkinData->CacheBmp() : nullptr;
  if (!cache) return nullptr;
  if (SkinData->BGChanged) PaintAll();
  cache = SkinData->CacheBmp();
  if (!cache) return nullptr;
  auto snapshot = CreateBmp32(cache->Width(), cache->Height());
  snapshot->Canvas()->Lock();
  // The frame, caption and menu line from the window image (the form's print, asked to erase
  // its own background, gives its client part only), the client part painted over them.
  BitBlt(snapshot->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintParentBgToBmp(snapshot.get(), Form, 0, this, 0);
  snapshot->Canvas()->Unlock();
  if (!ExtBorderForm())
    FillAlphaRect(snapshot.get(), vcl::Rect(0, 0, snapshot->Width(), snapshot->Height()), 255);
  if (FreeCache) SkinData->FreeCacheBmp();
  return snapshot;
}

void TsSkinProvider::RefreshNonClient() {
  if (Frozen || (State & kProviderChangeFrozen) || !Form || !Form->Visible() || !DrawNonClientArea ||
      Form->ControlState().Contains(vcl::csDestroyingHandle) || !SkinData || !SkinData->Skinned(false) ||
      !Form->HandleAllocated())
    return;
  if (Form->FormStyle() == vcl::fsMDIChild && IsZoomed(Form->Handle())) {
    TsSkinProvider* frame = MDIProvider();
    if (!frame || frame == this || !frame->Form || !frame->Form->HandleAllocated()) return;
    frame->SkinData->BGChanged = true;
    HDC dc = GetWindowDC(frame->Form->Handle());
    const int saved = SaveDC(dc);
    frame->WindowImage().PaintBorders(dc);
    RestoreDC(dc, saved);
    ReleaseDC(frame->Form->Handle(), dc);
    return;
  }
  SkinData->BGChanged = true;
  if (TqvBorderForm* border = ExtBorderForm()) {
    if (Form->Menu()) SendToProvider(WM_NCPAINT, 1, 0);
    border->UpdateExBordersPos(true, 255);
    return;
  }
  const HWND wnd = Form->Handle();
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  if (!SkinData->CacheBmp())
    if (TsSkinManager* manager = SkinManager()) InitExBorders(manager->ExtendedBorders());
  window_image_.PaintBorders(dc);
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
}

// ---------------------------------------------------------------------------------------
// The title cover

void TsSkinProvider::ShowAnimForm() {
  if (!DrawNonClientArea || Frozen || !Form->HandleAllocated() || (ExtFlags & kExtBlendMoving)) return;
  const HWND wnd = Form->Handle();
  const bool mdiZoomed = Form->FormStyle() == vcl::fsMDIChild && IsZoomed(wnd);
  TsSkinProvider* frame = mdiZoomed ? MDIProvider() : nullptr;
  if (ExtBorderForm() && !Form->Menu()) return;
  if (mdiZoomed && (!frame || frame == this || !frame->Measures().HasMenuLine())) return;

  RECT window{};
  GetWindowRect(wnd, &window);
  const int frameWidth = SysBorderWidth(wnd, nullptr, false);
  vcl::TRect place;
  HRGN shape = nullptr;
  if (ExtBorderForm()) {
    // Only the menu line can flicker: the caption lives on the border window.
    const int lines = measures_.MenuLinesCount();
    const int height = lines * measures_.MenuHeight() + 1 + (lines > 0 ? 1 : 0);
    const int top = window.top + window_image_.OffsetY() - height - window_image_.ShadowSize().Top -
                    BorderFormOffsetY(ExtBorderForm());
    place = vcl::Rect(window.left + frameWidth, top, window.right - frameWidth, top + height);
  } else if (frame) {
    // The frame's menu line over the child's caption.
    RECT client{};
    GetWindowRect(frame->Form->ClientHandle(), &client);
    const int height = frame->Measures().MenuLinesCount() * frame->Measures().MenuHeight() + 1;
    place = vcl::Rect(client.left, client.top - height, client.right, client.top);
  } else {
    // The whole frame: the window less its client area.
    place = vcl::TRect(window);
    RECT client{};
    GetClientRect(wnd, &client);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    shape = CreateRectRgn(0, 0, place.Width(), place.Height());
    HRGN hole = CreateRectRgn(origin.x - window.left, origin.y - window.top, origin.x - window.left + client.right,
                              origin.y - window.top + client.bottom);
    CombineRgn(shape, shape, hole, RGN_DIFF);
    DeleteObject(hole);
  }
  title_cover_.Show(place, shape, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

// ---------------------------------------------------------------------------------------
// Task-bar pictures

bool SetIconicThumbnail(HWND Wnd, TsSkinProvider* Provider, int MaxWidth, int MaxHeight) {
  if (!Provider || MaxWidth <= 0 || MaxHeight <= 0) return false;
  LoadDwmApi();
  if (!HasIconicThumbnail()) return false;
  bool fromCache = false;
  vcl::TBitmap* source = PictureSource(Provider, fromCache);
  if (!source) return false;
  // Fitted into the largest size asked, keeping the picture's proportions.
  int width, height;
  if (static_cast<double>(MaxWidth) / MaxHeight > static_cast<double>(source->Width()) / source->Height()) {
    height = MaxHeight;
    width = static_cast<int>(std::lround(static_cast<double>(source->Width()) * MaxHeight / source->Height()));
  } else {
    width = MaxWidth;
    height = static_cast<int>(std::lround(static_cast<double>(source->Height()) * MaxWidth / source->Width()));
  }
  if (width <= 0 || height <= 0) return false;
  const auto picture = MakingTaskbarPicture(Provider);
  auto thumb = CreateBmp32(width, height);
  StretchWithFilter(source, thumb.get(), width, height, 1);
  if (DwmSetIconicThumbnail(Wnd, thumb->Handle(), 0) != S_OK) return false;
  if (fromCache) {
    // The window image lacks the client area: the thumbnail is made again from the whole form.
    if (auto whole = Provider->FormSnapshot(false)) {
      StretchWithFilter(whole.get(), thumb.get(), width, height, 1);
      DwmSetIconicThumbnail(Wnd, thumb->Handle(), 0);
    }
    if (TqvBorderForm* border = Provider->ExtBorderForm()) border->UpdateExBordersPos(false, 255);
  }
  return true;
}

bool SetIconicLivePreview(HWND Wnd, TsSkinProvider* Provider) {
  if (!Provider) return false;
  LoadDwmApi();
  if (!HasIconicLivePreview()) return false;
  bool fromCache = false;
  vcl::TBitmap* source = PictureSource(Provider, fromCache);
  if (!source) return false;
  const auto picture = MakingTaskbarPicture(Provider);
  if (!fromCache) return DwmSetIconicLivePreview(Wnd, source->Handle(), POINT{0, 0}, kDwmDisplayFrame) == S_OK;
  auto whole = Provider->FormSnapshot(false);
  const bool done = whole && DwmSetIconicLivePreview(Wnd, whole->Handle(), POINT{0, 0}, kDwmDisplayFrame) == S_OK;
  if (TqvBorderForm* border = Provider->ExtBorderForm()) border->UpdateExBordersPos(false, 255);
  return done;
}

}  // namespace skin_layered
