#include "skin_classic/controls/SkinEdit.h"

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/controls/SkinScrollbar.h"
#include "skin_classic/controls/SkinUpDown.h"

namespace winskin {
namespace {

void FrameColor(HDC DC, const RECT& R, vcl::TColor Color) {
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  FrameRect(DC, &R, brush.get());
}

bool IsUpDownClass(HWND Window) {
  const vcl::String name = WindowClassLower(Window);
  return name == L"msctls_updown32" || name.find(L"spin") != vcl::String::npos ||
         name.find(L"updown") != vcl::String::npos;
}

}  // namespace

void DrawFlatBorder(HDC DC, HWND Window, vcl::TColor Line, int WhiteFrames) {
  RECT window{}, client{};
  if (!DC || !GetWindowRect(Window, &window) || !GetClientRect(Window, &client)) return;
  const int w = window.right - window.left, h = window.bottom - window.top;
  // A window without a border keeps its look.
  if (w == client.right || h == client.bottom) return;
  RECT r{0, 0, w, h};
  FrameColor(DC, r, Line);
  for (int i = 0; i < WhiteFrames; ++i) {
    InflateRect(&r, -1, -1);
    FrameColor(DC, r, vcl::clWhite);
  }
}

VCL_CLASS_INFO(TSkinEdit) {}

TSkinUpDown* TSkinEdit::UpDown() const {
  return FForm && FUpDown ? dynamic_cast<TSkinUpDown*>(FForm->FindSkinner(FUpDown)) : nullptr;
}

void TSkinEdit::FindUpDown() {
  for (HWND child = GetTopWindow(FHandle); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsUpDownClass(child)) continue;
    FUpDown = child;
    auto* skinner = new TSkinUpDown(FControl);
    skinner->FInEdit = true;
    skinner->AttachWindow(child, FSkinData, FForm, Canvas());
    return;
  }
}

void TSkinEdit::PrintBorder(HDC DC) {
  RECT window{}, client{};
  if (!DC || !GetWindowRect(FHandle, &window) || !GetClientRect(FHandle, &client)) return;
  const int w = window.right - window.left, h = window.bottom - window.top;
  if (w - client.right <= 2 || h - client.bottom <= 2) return;
  RECT r{0, 0, w, h};
  InflateRect(&r, -1, -1);
  FrameRect(DC, &r, static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)));
  InflateRect(&r, 1, 1);
  FrameColor(DC, r, LineColor());
}

void TSkinEdit::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(Message.WParam)); break;
    // The system draws the sunken edge again whenever the frame is painted.
    case WM_NCPAINT: PaintWindow(nullptr); break;
    case WM_PRINT: PrintBorder(reinterpret_cast<HDC>(Message.WParam)); break;
    case CM_PAINTCONTROLINTO: CMPaintControlInto(Message); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

// The edit's own painting into the given DC.
void TSkinEdit::CMPaintControlInto(vcl::TMessage& Message) {
  if (Message.LParam != kPaintDCAnswer) return;
  if (Message.WParam) {
    vcl::TMessage paint{WM_PAINT, Message.WParam, 0, 0};
    CallDefault(paint);
  }
  Message.Result = kPaintDCAnswer;
}

void TSkinEdit::DrawControl(HDC DC, const TRect&) {
  if (!FUpDown && HasSkin() && FSkinData->SkinControls().Contains(xcSpin)) FindUpDown();
  DrawFlatBorder(DC, FHandle, LineColor(), 2);
}

}  // namespace winskin
