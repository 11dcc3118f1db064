#include "skin_classic/controls/SkinButton.h"

#include "skin_classic/controls/ControlAccess.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// The width of a menu button's arrow area.
constexpr int kMenuArrowArea = 17;

bool InsideClient(HWND Window, LPARAM LParam) {
  RECT r{};
  if (!GetClientRect(Window, &r)) return false;
  const POINT p{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
  return PtInRect(&r, p);
}

}  // namespace

vcl::String CaptionLines(vcl::String Text) {
  for (size_t at = Text.find(L"||"); at != vcl::String::npos; at = Text.find(L"||", at + 2)) Text.replace(at, 2, L"\r\n");
  return Text;
}

VCL_CLASS_INFO(TSkinButton) {}
VCL_CLASS_INFO(TSkinMenuButton) {}

TSkinButton::TSkinButton(vcl::TComponent* AOwner) : TSkinControl(AOwner), FBuffer(std::make_unique<vcl::TBitmap>()) {
  FBuffer->SetPixelFormat(vcl::pf24bit);
}

TSkinButton::~TSkinButton() = default;

void TSkinButton::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  TSkinControl::AttachControl(Form, SkinData, SetColor, Canvas);
  if (!FControl) return;
  const vcl::String name = vcl::LowerCase(FControl->ClassName());
  FStyle = name.starts_with(L"trz") || name.starts_with(L"tel") ? 1 : 0;
  FParentBack = FControl->Tag() == kParentBackTag || (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

void TSkinButton::AttachGraphicControl(TSkinControlHost* Form, TSkinData* SkinData, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<vcl::TControl*>(Owner());
  if (!control) return;
  FSkinData = SkinData;
  FPaintControl = control;
  HookControl(control);
  JoinForm(Form, Canvas);
  FAttached = true;
  FStatus = kSkinnerAttached;
  FParentBack = control->Tag() == kParentBackTag || (FSkinData && FSkinData->Options().Contains(xoTransparent));
}

// ---------------------------------------------------------------------------------------
// Messages

bool TSkinButton::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (GetFocus() != FHandle) SetFocus(FHandle);
      SetMouseBit(kMousePressed, true);
      PaintWindow(nullptr);
      if (FStyle == 0 && FControl) SendMouseDown(Message);
      return false;
    case WM_TIMER: KillTimer(FHandle, 1); return false;
    case WM_PAINT: PaintHandler(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_KEYUP:
      // Released before the control clicks: whatever the click opens (a dialog) must not find
      // the button still pressed, as a release of the mouse does not.
      if (Message.WParam == VK_SPACE && Pressed()) ShowMouseBit(kMousePressed, false);
      return true;
    default: return TSkinControl::BeforeProc(Message);
  }
}

void TSkinButton::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_MOUSEMOVE: WMMouseMove(); break;
    case WM_MOUSELEAVE: ShowMouseBit(kMouseHot | kMousePressed, false); break;
    case WM_LBUTTONUP: WMLButtonUp(Message); break;
    case WM_KEYDOWN:
    case WM_KEYUP: WMKey(Message); break;
    case WM_SETTEXT: PaintWindow(nullptr); break;
    case vcl::CM_DIALOGKEY:
    case vcl::CM_FOCUSCHANGED: Redraw(); break;
    default: TSkinControl::AfterProc(Message); break;
  }
}

void TSkinButton::ShowMouseBit(uint8_t Bit, bool On) {
  SetMouseBit(Bit, On);
  Redraw();
}

void TSkinButton::WMMouseMove() {
  if (FHandle && IsWindowEnabled(FHandle) && !Hot()) ShowMouseBit(kMouseHot, true);
  if (FHandle) TrackMouseLeave(FHandle);
}

void TSkinButton::WMLButtonUp(const vcl::TMessage& Message) {
  if (!Pressed()) return;
  ShowMouseBit(kMousePressed, false);
  // Only a release over the button clicks it, as with the system's own buttons.
  if (FHandle && InsideClient(FHandle, Message.LParam)) ClickButton();
}

// The space bar presses the button while it is down.
void TSkinButton::WMKey(const vcl::TMessage& Message) {
  if (Message.WParam == VK_SPACE) ShowMouseBit(kMousePressed, Message.Msg == WM_KEYDOWN);
}

// Nothing of this object is used after the click: its handler may free the button.
void TSkinButton::ClickButton() {
  if (FControl) {
    TControlAccess::CallClick(FControl);
    return;
  }
  const WPARAM id = WindowClassLower(FHandle) == L"tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(FHandle));
  PostMessageW(GetParent(FHandle), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(FHandle));
}

// ---------------------------------------------------------------------------------------
// Painting

TDataSkinButton* TSkinButton::ButtonsElement() const {
  if (!HasSkin()) return nullptr;
  TDataSkinButton* b = FSkinData->Skin()->Buttons();
  return b && b->HasBitmap() ? b : nullptr;
}

int TSkinButton::ReadState(bool DefaultRule, int FocusState) {
  FFocused = FHandle && GetFocus() == FHandle;
  FEnabled = FHandle && !(GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_DISABLED);
  const bool isDefault = DefaultRule && PropIsTrue(FControl, L"Default");
  FCaption = FControl ? GetPropText(FControl, L"Caption") : GetWindowTextWide(FHandle);
  FMultiLine = PropIsTrue(FControl, L"MultiLine");
  int state = kButtonNormal;
  if (FFocused || isDefault) state = FocusState;
  if (Pressed())
    state = kButtonPressed;
  else if (Hot())
    state = kButtonHot;
  if (!FEnabled) state = kButtonDisabled;
  return state;
}

HDC TSkinButton::PrepareFace(const TRect& Rect, int State, bool DrawFace) {
  TDataSkinButton* b = ButtonsElement();
  if (!b || Rect.Width() <= 0 || Rect.Height() <= 0) return nullptr;
  FBuffer->SetSize(Rect.Width(), Rect.Height());
  HDC dc = FBuffer->Canvas()->Handle();
  const TRect local(0, 0, Rect.Width(), Rect.Height());
  if (FParentBack && FHandle)
    DrawParentBackground(FHandle, dc);
  else
    FillRectColor(dc, local, FaceColor());
  if (DrawFace) DrawSkinBitmapRect(dc, local, b->Bitmap.get(), b->Margins(), b->Tile != 0, b->Frame, State, b->Transparent());
  return dc;
}

void TSkinButton::SelectCaptionFont(HDC DC, int State, bool NormalOnlyInState1) {
  TDataSkinButton* b = ButtonsElement();
  HFONT font = nullptr;
  vcl::TColor colour = TextColor();
  if (vcl::TControl* source = PropertySource()) {
    if (auto* f = GetObjectPropAs<vcl::TFont>(source, L"Font")) {
      font = f->Handle();
      colour = f->Color();
    }
  } else if (FHandle) {
    font = WindowFont(FHandle);
  }
  if (b) {
    if (b->NormalColour2Given && (!NormalOnlyInState1 || State == kButtonNormal)) colour = b->NormalColour2;
    if (State == kButtonHot && b->MouseOverColour2Given) colour = b->MouseOverColour2;
    if (State == kButtonPressed && b->PressedColour2Given) colour = b->PressedColour2;
  }
  if (State == kButtonDisabled) colour = vcl::clBtnShadow;
  if (font) SelectObject(DC, font);
  SetTextColor(DC, static_cast<COLORREF>(vcl::ColorToRGB(colour)));
  SetBkMode(DC, TRANSPARENT);
}

UINT TSkinButton::ReadingFlags() const {
  const vcl::TControl* source = PropertySource();
  return source && source->UseRightToLeftReading() ? DT_RTLREADING : 0;
}

bool TSkinButton::FocusRectWanted() const {
  return FFocused && !(FSkinData && FSkinData->Options().Contains(xoNoFocusRect));
}

void TSkinButton::DrawButtonCaption(HDC DC, const TRect& Rect) {
  FCaption = CaptionLines(FCaption);
  if (FCaption.empty()) return;
  const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | ReadingFlags();
  RECT box{Rect.Left + 2, Rect.Top + 2, Rect.Right - 2, Rect.Bottom - 2};
  RECT measured = box;
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &measured, flags | DT_CALCRECT);
  const int textHeight = measured.bottom - measured.top, textWidth = measured.right - measured.left;
  RECT at{box.left, Rect.Top + (Rect.Height() - textHeight) / 2 - 1, box.right, 0};
  at.bottom = at.top + textHeight;
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &at, flags | DT_CENTER);
  if (FocusRectWanted()) {
    RECT focus{at.left + (at.right - at.left - textWidth) / 2, at.top, 0, at.bottom};
    focus.right = focus.left + textWidth;
    InflateRect(&focus, 2, 2);
    DrawFocusRect(DC, &focus);
  }
}

void TSkinButton::PutBuffer(HDC DC, const TRect& Rect) {
  BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), FBuffer->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TSkinButton::DrawControl(HDC DC, const TRect& Rect) {
  const int state = ReadState(true, kButtonFocused);
  HDC dc = PrepareFace(Rect, state);
  if (!dc) return;
  last_state_ = state;
  {
    const TSavedDC keep(dc);
    SelectCaptionFont(dc, state);
    DrawButtonCaption(dc, TRect(0, 0, Rect.Width(), Rect.Height()));
  }
  PutBuffer(DC, Rect);
}

// ---------------------------------------------------------------------------------------
// TSkinMenuButton

void TSkinMenuButton::DrawControl(HDC DC, const TRect& Rect) {
  const int state = ReadState(false, kButtonHot);
  HDC dc = PrepareFace(Rect, state);
  if (!dc) return;
  last_state_ = state;
  const int w = Rect.Width(), h = Rect.Height();
  const vcl::TColor arrow = state == kButtonDisabled ? vcl::clBtnShadow : vcl::clWindowText;
  const COLORREF rgb = static_cast<COLORREF>(vcl::ColorToRGB(arrow));
  const vcl::UniquePen pen(CreatePen(PS_SOLID, 1, rgb));
  const vcl::UniqueBrush brush(CreateSolidBrush(rgb));
  {
    const TSavedDC keep(dc);  // given back before the pen and brush go
    SelectCaptionFont(dc, state, true);
    FCaption = CaptionLines(FCaption);
    const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | ReadingFlags();
    // The caption stays left of the arrow area.
    RECT measured{0, 0, std::max(w - kMenuArrowArea - 4, 0), h};
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &measured, flags | DT_CALCRECT);
    const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
    RECT at{std::max((w - kMenuArrowArea - tw) / 2 + 2, 0), (h - th + 1) / 2, w - kMenuArrowArea, 0};
    at.bottom = at.top + th;
    DrawTextW(dc, FCaption.c_str(), static_cast<int>(FCaption.size()), &at, flags);

    SelectObject(dc, pen.get());
    SelectObject(dc, brush.get());
    const int h2 = h / 2 + 2;
    const POINT points[] = {{w - 12, h2}, {w - 15, h2 - 3}, {w - 9, h2 - 3}};
    Polygon(dc, points, 3);
  }
  PutBuffer(DC, Rect);
}

}  // namespace winskin
