#include "skin_classic/controls/SkinDateTime.h"

#include "skin_classic/controls/SkinEdit.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/core/SkinStartup.h"
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
}

namespace {

TDataSkinObject* ArrowPicture(TSkinData* Skin) {
  if (!Skin || Skin->Empty()) return nullptr;
  TDataSkinObject* arrow = Skin->Skin()->Element(SkinElement::ComboxArrow);
  return arrow && arrow->HasBitmap() ? arrow : nullptr;
}

}  // namespace

void TArrowButton::UpdatePosition() {
  RECT window{}, client{};
  if (!FTarget || !GetWindowRect(FTarget, &window) || !GetClientRect(FTarget, &client)) return;
  const int height = window.bottom - window.top - 4;
  // Over the picker's own button, at the side its style puts it.
  const bool left = (GetWindowLongPtrW(FTarget, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  SetBounds(left ? 0 : client.right - FArrowWidth, 0, FArrowWidth, height);
  const bool shown = FSkinner && ArrowPicture(FSkinner->SkinData());
  if (Visible() != shown) SetVisible(shown);
}

void TArrowButton::SetHot(bool Value) {
  if (hot_ == Value) return;
  hot_ = Value;
  if (Visible()) Invalidate();
}

void TArrowButton::Dispatch(vcl::TMessage& Message) {
  switch (Message.Msg) {
    // The mouse goes through to the picker's own button below.
    case WM_NCHITTEST: Message.Result = HTTRANSPARENT; return;
    case SKM_QUERYNOSKIN: Message.Result = 1; return;  // the engine's own window
    default: TCustomControl::Dispatch(Message); return;
  }
}

void TArrowButton::Paint() {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the paint is done
  HDC dc = Canvas()->Handle();
  const TRect r(0, 0, Width(), Height());
  if (!FSkinner) return;
  FSkinner->FillSkinColor(dc, r);
  if (TDataSkinObject* arrow = ArrowPicture(FSkinner->SkinData()))
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
  switch (Message.Msg) {
    case WM_SIZE: WMSize(); break;
    case WM_MOUSEMOVE: WMMouseMove(Message); break;
    case WM_MOUSELEAVE: WMMouseLeave(); break;
    default: break;
  }
  TSkinControl::AfterProc(Message);
}

void TSkinDateTime::WMSize() {
  if (FArrow) FArrow->UpdatePosition();
}

// The arrow lets the mouse through: the picker tells where the mouse is.
void TSkinDateTime::WMMouseMove(const vcl::TMessage& Message) {
  if (!FArrow || !FArrow->Visible()) return;
  const vcl::TPoint at(static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam)));
  FArrow->SetHot(IsWindowEnabled(FHandle) && FArrow->BoundsRect().Contains(at));
  TrackMouseLeave(FHandle);
}

void TSkinDateTime::WMMouseLeave() {
  if (FArrow) FArrow->SetHot(false);
}

void TSkinDateTime::UpdateSkin() {
  if (FArrow) {
    FArrow->UpdatePosition();
    FArrow->Invalidate();
  }
  TSkinControl::UpdateSkin();
}

void TSkinDateTime::DrawControl(HDC DC, const TRect&) {
  if (FArrow) FArrow->UpdatePosition();
  DrawFlatBorder(DC, FHandle, LineColor(), 1);
}

}  // namespace winskin
