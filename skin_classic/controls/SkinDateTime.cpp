#include "skin_classic/controls/SkinDateTime.h"

#include "skin_classic/controls/SkinEdit.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {

// ---------------------------------------------------------------------------------------
// TArrowButton

VCL_CLASS_INFO(TArrowButton) {}

TArrowButton::TArrowButton(vcl::TComponent* AOwner) : TCustomControl(AOwner) {
  SetTabStop(false);
  SetVisible(false);
}

void TArrowButton::Attach(TSkinDateTime* Skinner, HWND Picker) {
  FSkinner = Skinner;
  FTarget = Picker;
  SetParentWindow(Picker);
  UpdatePosition();
  SetVisible(true);
}

void TArrowButton::UpdatePosition() {
  RECT window{}, client{};
  if (!FTarget || !GetWindowRect(FTarget, &window) || !GetClientRect(FTarget, &client)) return;
  const int height = window.bottom - window.top - 4;
  // Over the picker's own button, at the side its style puts it.
  const bool left = (GetWindowLongPtrW(FTarget, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SetBounds(left ? 0 : client.right - FArrowWidth, 0, FArrowWidth, height);
}

void TArrowButton::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case vcl::CM_MOUSEENTER:
      if (FTarget && IsWindowEnabled(FTarget)) hot_ = true;
      Invalidate();
      return;
    case vcl::CM_MOUSELEAVE:
      hot_ = false;
      Invalidate();
      return;
    case WM_LBUTTONDOWN: {
      TCustomControl::Dispatch(Message);
      // The picker opens its calendar on its own button's click.
      const int x = static_cast<short>(LOWORD(Message.LParam)) + Left();
      const int y = static_cast<short>(HIWORD(Message.LParam)) + Top();
      PostMessageW(FTarget, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
      PostMessageW(FTarget, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
      return;
    }
    case WM_LBUTTONUP:
      TCustomControl::Dispatch(Message);
      if (FTarget) ::SetFocus(FTarget);
      return;
    case SKM_QUERYNOSKIN: Message.Result = 1; return;  // the engine's own window
    default: TCustomControl::Dispatch(Message); return;
  }
}

void TArrowButton::Paint() {
  HDC dc = Canvas()->Handle();
  const TRect r(0, 0, Width(), Height());
  if (!FSkinner) return;
  FSkinner->FillSkinColor(dc, r);
  TSkinData* skin = FSkinner->SkinData();
  if (!skin || skin->Empty()) return;
  if (TDataSkinObject* arrow = skin->Skin()->Element(SkinElement::ComboxArrow); arrow && arrow->HasBitmap())
    DrawSkinImagePart(dc, r, arrow->Bitmap.get(), arrow->Frame, hot_ ? 4 : 1, false, true);
}

// ---------------------------------------------------------------------------------------
// TSkinDateTime

VCL_CLASS_INFO(TSkinDateTime) {}

TSkinDateTime::TSkinDateTime(vcl::TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinDateTime::~TSkinDateTime() = default;

void TSkinDateTime::MakeArrow() {
  FArrow.reset(new TArrowButton(nullptr));
  FArrow->Attach(this, FHandle);
}

void TSkinDateTime::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (FAttached) MakeArrow();
}

void TSkinDateTime::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachWindow(Handle, SkinData, Form, Canvas);
  if (FAttached) MakeArrow();
}

void TSkinDateTime::AfterProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_SIZE && FArrow) FArrow->UpdatePosition();
  TSkinControl::AfterProc(Message);
}

void TSkinDateTime::DrawControl(HDC DC, const TRect&) {
  if (FArrow) FArrow->UpdatePosition();
  DrawFlatBorder(DC, FHandle, LineColor(), 1);
}

}  // namespace winskin
