#include "skin_classic/controls/SkinControl.h"

#include <algorithm>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/controls/ControlAccess.h"
#include "skin_classic/controls/SkinProps.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// A window's DC over its whole rectangle (non-client part included).
class WholeWindowDC {
 public:
  explicit WholeWindowDC(HWND Window) : window_(Window), dc_(GetWindowDC(Window)) {}
  ~WholeWindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WholeWindowDC(const WholeWindowDC&) = delete;
  WholeWindowDC& operator=(const WholeWindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint and EndPaint around a scope.
class PaintScope {
 public:
  explicit PaintScope(HWND Window) : window_(Window), dc_(BeginPaint(Window, &ps_)) {}
  ~PaintScope() {
    if (dc_) EndPaint(window_, &ps_);
  }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

// The window's rectangle moved to (0, 0); false when the window has none.
bool WindowBox(HWND Window, TRect& Screen, TRect& Local) {
  RECT r{};
  if (!Window || !GetWindowRect(Window, &r)) return false;
  Screen = TRect(r.left, r.top, r.right, r.bottom);
  Local = TRect(0, 0, r.right - r.left, r.bottom - r.top);
  return true;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The form's list of skinners

TSkinControlHost::~TSkinControlHost() {
  for (TSkinControl* s : skinners_) s->FForm = nullptr;
}

bool TSkinControlHost::AddSkinner(TSkinControl* Skinner) {
  if (!Skinner) return false;
  if (std::find(skinners_.begin(), skinners_.end(), Skinner) != skinners_.end()) return true;
  skinners_.push_back(Skinner);
  return false;
}

void TSkinControlHost::RemoveSkinner(TSkinControl* Skinner) {
  std::erase(skinners_, Skinner);
}

TSkinControl* TSkinControlHost::FindSkinner(HWND Window) const {
  if (!Window) return nullptr;
  for (TSkinControl* s : skinners_)
    if (s->Handle() == Window) return s;
  return nullptr;
}

void TSkinControlHost::UpdateSkinners() {
  const std::vector<TSkinControl*> all = skinners_;
  for (TSkinControl* s : all)
    if (std::find(skinners_.begin(), skinners_.end(), s) != skinners_.end()) s->UpdateSkin();
}

void TSkinControlHost::ReleaseSkinners() {
  while (!skinners_.empty()) {
    TSkinControl* s = skinners_.back();
    if (s->Status() != kSkinnerWindowGone) {
      try {
        s->RestoreControl();
      } catch (const std::exception&) {
        // The control keeps the skin's colour; the skinner still goes.
      }
    }
    s->FForm = nullptr;
    skinners_.pop_back();
    vcl::TObject::Free(s);
  }
}

// ---------------------------------------------------------------------------------------
// TSkinControl

VCL_CLASS_INFO(TSkinControl) {}

TSkinControl::TSkinControl(vcl::TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
  lifetime_.End();
  hook_.Remove();
  subclass_.Detach();
  if (FForm) FForm->RemoveSkinner(this);
}

void TSkinControl::JoinForm(TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  FForm = Form;
  if (Canvas) {
    FCanvas = Canvas;
  } else {
    if (!own_canvas_) own_canvas_ = std::make_unique<vcl::TCanvas>();
    FCanvas = own_canvas_.get();
  }
  if (FForm) FForm->AddSkinner(this);
}

void TSkinControl::HookControl(vcl::TControl* Control) {
  hook_.Install(Control, vcl::TWndMethod::Bind<&TSkinControl::WndProc>(this));
  via_hook_ = true;
}

void TSkinControl::UnhookControl() { hook_.Remove(); }

void TSkinControl::AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) {
  if (FAttached) return;
  auto* control = dynamic_cast<vcl::TWinControl*>(Owner());
  if (!control) return;
  FSetColor = SetColor;
  FSkinData = SkinData;
  FControl = control;
  FHandle = FControl->Handle();
  FUnicode = IsWindowUnicode(FHandle);
  HookControl(FControl);
  JoinForm(Form, Canvas);
  if (FSetColor) {
    FSavedColor = FControl->Color();
    saved_parent_color_ = FControl->ParentColor();
    FControl->SetColor(FaceColor());
  }
  FControl->Invalidate();
  FAttached = true;
  FStatus = kSkinnerAttached;
}

void TSkinControl::AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) {
  if (FAttached || !IsWindow(Handle)) return;
  FHandle = Handle;
  FSkinData = SkinData;
  FEnabled = true;
  FStyle = 0;
  FUnicode = IsWindowUnicode(Handle);
  FCaption = GetWindowTextWide(Handle);
  if (!subclass_.Attach(Handle, vcl::TWndMethod::Bind<&TSkinControl::WndProc>(this))) return;
  via_hook_ = false;
  JoinForm(Form, Canvas);
  InvalidateRect(Handle, nullptr, TRUE);
  FAttached = true;
  FStatus = kSkinnerAttached;
}

void TSkinControl::RestoreControl() {
  if (!FSetColor || !FControl) return;
  FControl->SetColor(FSavedColor);
  if (saved_parent_color_) FControl->SetParentColor(true);
}

void TSkinControl::UpdateSkin() {
  if (FSetColor && FControl) FControl->SetColor(FaceColor());
  Redraw();
}

// ---------------------------------------------------------------------------------------
// The pipeline

void TSkinControl::WndProc(vcl::TMessage& Message) {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  const vcl::TLifetime::TWatch alive = Lifetime().Watch();
  try {
    if (Message.Msg == SKM_SKINCONTROL) {
      FSkinOn = static_cast<INT_PTR>(Message.WParam) > 0;
      if (FSkinOn) Redraw();
    } else if (!FSkinOn) {
      CallDefault(Message);
    } else if (!HasPicture()) {
      // Nothing in the skin for this control: the system draws it.
      if (TSkinControl::BeforeProc(Message)) CallDefault(Message);
    } else if (BeforeProc(Message)) {
      {
        // A control painting into a given DC may leave its clipping there; the skin paints
        // over the whole window after it.
        const TSavedDC keep(Message.Msg == WM_PAINT ? reinterpret_cast<HDC>(Message.WParam) : nullptr);
        CallDefault(Message);
      }
      if (alive) AfterProc(Message);
    }
  } catch (const std::exception&) {
    // Dropped: the control keeps its own behaviour for this message.
  }
}

void TSkinControl::CallDefault(vcl::TMessage& Message) {
  if (via_hook_)
    hook_.CallPrevious(Message);
  else
    subclass_.CallDefault(Message);
}

bool TSkinControl::BeforeProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCDESTROY: {
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      CallDefault(Message);
      if (!alive) return false;
      FSkinOn = false;
      FStatus = kSkinnerWindowGone;
      RestoreControl();
      return false;
    }
    case SKM_QUERYNOSKIN: Message.Result = 1; return false;
    default: return true;
  }
}

void TSkinControl::AfterProc(vcl::TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT: PaintWindow(reinterpret_cast<HDC>(Message.WParam)); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case vcl::CM_ENABLEDCHANGED: Redraw(); break;
    case SKM_SKINCONTROL: FSkinOn = static_cast<INT_PTR>(Message.WParam) > 0; break;
    default: break;
  }
}

// ---------------------------------------------------------------------------------------
// Painting

void TSkinControl::PaintWindow(HDC DC) {
  TRect local;
  if (!WindowBox(FHandle, FWindowRect, local)) return;
  if (DC) {
    DrawControl(DC, local);
    return;
  }
  const WholeWindowDC dc(FHandle);
  if (dc.get()) DrawControl(dc.get(), local);
}

void TSkinControl::DrawControl(HDC, const TRect&) {}

void TSkinControl::PaintHandler(vcl::TMessage& Message) {
  auto paint = [this](HDC dc) {
    TRect local;
    if (dc && WindowBox(FHandle, FWindowRect, local)) DrawControl(dc, local);
  };
  if (auto dc = reinterpret_cast<HDC>(Message.WParam)) {
    paint(dc);
  } else if (FHandle) {
    const PaintScope scope(FHandle);
    paint(scope.get());
  }
}

void TSkinControl::EraseBackground(vcl::TMessage& Message) {
  auto dc = reinterpret_cast<HDC>(Message.WParam);
  if (FControl) {
    DrawParentBackground(FHandle, dc);
  } else if (dc) {
    RECT r{};
    GetClientRect(FHandle, &r);
    FillRectColor(dc, TRect(r.left, r.top, r.right, r.bottom), ControlColor());
  }
  Message.Result = 1;
}

void TSkinControl::Redraw() {
  if (FPaintControl) {
    FPaintControl->Invalidate();
  } else if (FHandle) {
    InvalidateRect(FHandle, nullptr, TRUE);
    UpdateWindow(FHandle);
  }
}

void TSkinControl::SendMouseLeave() {
  if (FHandle) SendMessageW(FHandle, vcl::CM_MOUSELEAVE, 0, 0);
}

void TSkinControl::SendMouseDown(const vcl::TMessage& Message) {
  vcl::TControl* control = PropertySource();
  if (!control) return;
  int x = static_cast<short>(LOWORD(Message.LParam)), y = static_cast<short>(HIWORD(Message.LParam));
  // Beyond 16 bits the message cannot carry the position.
  if (control->Width() > 32768 || control->Height() > 32768) {
    POINT p{};
    GetCursorPos(&p);
    const vcl::TPoint c = control->ScreenToClient(vcl::TPoint(p.x, p.y));
    x = c.X;
    y = c.Y;
  }
  TControlAccess::CallMouseDown(control, vcl::mbLeft, vcl::KeysToShiftState(Message.WParam), x, y);
}

// ---------------------------------------------------------------------------------------
// Colours and small painters

vcl::TColor TSkinControl::FaceColor() const {
  return FSkinData ? FSkinData->Skin()->Color(skin_classic::kColourButtonFace) : vcl::clBtnFace;
}
vcl::TColor TSkinControl::TextColor() const {
  return FSkinData ? FSkinData->Skin()->Color(skin_classic::kColourButtonText) : vcl::clBtnText;
}
vcl::TColor TSkinControl::LineColor() const {
  return FSkinData ? FSkinData->Skin()->Color(kColourButtonShadow) : vcl::clBtnShadow;
}
vcl::TColor TSkinControl::DarkLineColor() const {
  return FSkinData ? FSkinData->Skin()->Color(kColourButtonDkShadow) : vcl::cl3DDkShadow;
}
HBRUSH TSkinControl::FaceBrush() const { return FSkinData ? FSkinData->Skin()->Brush() : GetSysColorBrush(COLOR_BTNFACE); }

void TSkinControl::FillSkinColor(HDC DC, const TRect& Rect) const { FillRectColor(DC, Rect, FaceColor()); }
void TSkinControl::FillControlColor(HDC DC, const TRect& Rect) const { FillRectColor(DC, Rect, ControlColor()); }

vcl::TColor TSkinControl::ControlColor(vcl::TColor Default) const {
  const vcl::TControl* source = PropertySource();
  if (!HasIntegerProp(source, L"Color")) return Default;
  return static_cast<vcl::TColor>(GetOrdPropByName(source, L"Color"));
}

void TSkinControl::DrawFocusAroundText(HDC DC, UINT Flags, const TRect& Rect) const {
  RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  DrawTextW(DC, FCaption.c_str(), static_cast<int>(FCaption.size()), &r, Flags | DT_CALCRECT | DT_NOCLIP);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (Flags & DT_CENTER) {
    r.left = Rect.Left + (Rect.Width() - w) / 2;
    r.top = Rect.Top + (Rect.Height() - h) / 2 - 1;
  } else if (Flags & DT_RIGHT) {
    r.left = Rect.Right - w;
  }
  r.right = r.left + w;
  r.bottom = r.top + h;
  InflateRect(&r, 2, 1);
  RECT bounds{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  IntersectRect(&r, &r, &bounds);
  if (!IsRectEmpty(&r)) DrawFocusRect(DC, &r);
}

LONG_PTR TSkinControl::GetWindowLongAW(HWND Window, int Index) const {
  return FUnicode ? GetWindowLongPtrW(Window, Index) : GetWindowLongPtrA(Window, Index);
}

// ---------------------------------------------------------------------------------------
// Helpers

void FillRectColor(HDC DC, const TRect& Rect, vcl::TColor Color) {
  if (!DC || Rect.IsEmpty()) return;
  const vcl::UniqueBrush brush(CreateSolidBrush(static_cast<COLORREF>(vcl::ColorToRGB(Color))));
  const RECT r{Rect.Left, Rect.Top, Rect.Right, Rect.Bottom};
  FillRect(DC, &r, brush.get());
}

vcl::String GetWindowTextWide(HWND Window) {
  const int n = GetWindowTextLengthW(Window);
  if (n <= 0) return {};
  vcl::String text(static_cast<size_t>(n) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(GetWindowTextW(Window, text.data(), n + 1), 0)));
  return text;
}

bool IsPopupWindow(HWND Window) {
  if (!Window) return false;
  return (GetWindowLongPtrW(Window, GWL_STYLE) & WS_POPUP) || GetAncestor(Window, GA_PARENT) == GetDesktopWindow();
}

void CopyBitmap(vcl::TBitmap* Source, vcl::TBitmap* Dest) {
  if (!Source || !Dest) return;
  Dest->SetPixelFormat(Source->PixelFormat());
  Dest->SetSize(Source->Width(), Source->Height());
  if (Source->Empty()) return;
  BitBlt(Dest->Canvas()->Handle(), 0, 0, Source->Width(), Source->Height(), Source->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

int TextHeight(HDC DC, vcl::StringView Text) {
  SIZE size{};
  if (!DC || !GetTextExtentPoint32W(DC, Text.data(), static_cast<int>(Text.size()), &size)) return 0;
  return size.cy;
}

HFONT WindowFont(HWND Window) {
  auto font = reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0));
  return font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

vcl::String WindowClassLower(HWND Window) {
  wchar_t name[256] = {};
  const int n = GetClassNameW(Window, name, 256);
  return vcl::LowerCase(vcl::StringView(name, static_cast<size_t>(std::max(n, 0))));
}

}  // namespace winskin
