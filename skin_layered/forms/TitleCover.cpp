// The title cover (see TitleCover.h).
#include "skin_layered/forms/TitleCover.h"

#include <utility>

#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"

namespace skin_layered {
namespace {

// Keeps every skinning service away from the window.
constexpr int kNoSkinTag = 256;

}  // namespace

void TqvTitleCover::Show(const vcl::TRect& Place, HRGN Shape, bool Topmost) {
  if (!form_) {
    form_ = new vcl::TForm(vcl::Application, 0);
    form_->FreeNotification(&provider_);  // the application may free it first at shut-down
    form_->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
    form_->SetTag(kNoSkinTag);
    form_->HandleNeeded();
    const HWND coverWnd = form_->Handle();
    SetClassLongPtrW(coverWnd, GCL_STYLE, GetClassLongPtrW(coverWnd, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
  }
  if (!hook_.Installed()) hook_.Install(form_, vcl::TWndMethod::Bind<&TqvTitleCover::WndProc>(this));
  const HWND coverWnd = form_->Handle();
  SetWindowRgn(coverWnd, Shape, FALSE);  // nil: the whole window
  SetWindowPos(coverWnd, Topmost ? HWND_TOPMOST : HWND_TOP, Place.Left, Place.Top, Place.Width(), Place.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  shown_ = true;
  RedrawWindow(coverWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

void TqvTitleCover::Hide() {
  if (!form_ || !shown_) return;
  shown_ = false;
  if (form_->HandleAllocated())
    SetWindowPos(form_->Handle(), nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER);
  hook_.Remove();
}

void TqvTitleCover::Forget(const vcl::TComponent* Component) {
  if (!Component || Component != form_) return;
  form_ = nullptr;
  shown_ = false;
}

void TqvTitleCover::Free() {
  hook_.Remove();
  if (form_) vcl::TObject::Free(std::exchange(form_, nullptr));
}

vcl::TPoint TqvTitleCover::ImageOrigin() const {
  RECT window{};
  GetWindowRect(provider_.Form->Handle(), &window);
  vcl::TPoint origin(window.left, window.top);
  if (const auto* border = dynamic_cast<const TqvBorderForm*>(provider_.BorderForm)) {
    const vcl::TRect shadow = provider_.WindowImage().ShadowSize();
    origin.X -= shadow.Left + BorderFormOffsetX(border);
    origin.Y -= shadow.Top + BorderFormOffsetY(border);
  }
  return origin;
}

void TqvTitleCover::WndProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_PAINT: {
      PAINTSTRUCT ps{};
      const HWND coverWnd = form_->Handle();
      HDC dc = BeginPaint(coverWnd, &ps);
      vcl::TBitmap* image = provider_.SkinData ? provider_.SkinData->CacheBmp() : nullptr;
      if (image && image->Width() > 0 && provider_.Form->HandleAllocated()) {
        RECT place{};
        GetWindowRect(coverWnd, &place);
        const vcl::TPoint origin = ImageOrigin();
        BitBlt(dc, 0, 0, place.right - place.left, place.bottom - place.top, image->Canvas()->Handle(),
               place.left - origin.X, place.top - origin.Y, SRCCOPY);
      }
      EndPaint(coverWnd, &ps);
      Message.Result = 0;
      return;
    }
    default:
      hook_.CallPrevious(Message);
  }
}

}  // namespace skin_layered
