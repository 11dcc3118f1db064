#include "skin_classic/forms/WinSkinPopMenu.h"

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/paint/SkinBitmaps.h"
#include "skin_classic/paint/SkinDraw.h"

namespace winskin {
namespace {

// The skin's colour of menus (its colour table's entry).
constexpr int kMenuColour = 16;

// GetDCEx's flag for the window class's own DC settings (not in every header).
constexpr DWORD kDcxUseStyle = 0x00010000;

// A window DC released at the end of the scope.
class WindowDC {
 public:
  WindowDC(HWND Window, HDC DC) : window_(Window), dc_(DC) {}
  ~WindowDC() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The whole window's DC for the update region of WM_NCPAINT: 0 and 1 stand for the whole
// window; any other region is copied first (the DC takes the region it is given, and the
// system still owns the message's).
HDC FrameDC(HWND Window, WPARAM Region) {
  if (Region <= 1) return GetWindowDC(Window);
  vcl::UniqueRegion copy(CreateRectRgn(0, 0, 0, 0));
  if (!copy || CombineRgn(copy.get(), reinterpret_cast<HRGN>(Region), nullptr, RGN_COPY) == ERROR) return nullptr;
  HDC dc = GetDCEx(Window, copy.get(), DCX_WINDOW | DCX_INTERSECTRGN | kDcxUseStyle);
  if (dc) (void)copy.release();  // the DC owns it now
  return dc;
}

TWinSkinPopMenu* AsSkinPopMenu(TWinSkinPopMenuBase* Popup) { return dynamic_cast<TWinSkinPopMenu*>(Popup); }

}  // namespace

VCL_CLASS_INFO(TWinSkinPopMenu) {}

TWinSkinPopMenu::~TWinSkinPopMenu() { Detach(); }

void TWinSkinPopMenu::Attach(HWND AWindow, TSkinData* ASkinData, bool AFirst) {
  Window = AWindow;
  SkinData = ASkinData;
  First = AFirst;
  subclass_.Attach(AWindow, vcl::TWndMethod::Bind<&TWinSkinPopMenu::WndProc>(this));
}

void TWinSkinPopMenu::Detach() { subclass_.Detach(); }

vcl::TPoint TWinSkinPopMenu::ClientOffset() const {
  RECT window{};
  POINT origin{0, 0};
  if (!GetWindowRect(Window, &window) || !ClientToScreen(Window, &origin)) return {};
  return vcl::TPoint(origin.x - window.left, origin.y - window.top);
}

HMENU TWinSkinPopMenu::Menu() const { return reinterpret_cast<HMENU>(SendMessageW(Window, MN_GETHMENU, 0, 0)); }

TDataSkinObject* TWinSkinPopMenu::FrameElement() const {
  if (!SkinData || SkinData->Empty()) return nullptr;
  TDataSkinObject* frame = SkinData->Skin()->Element(SkinElement::MenuBackground);
  return frame && frame->HasBitmap() ? frame : nullptr;
}

bool TWinSkinPopMenu::MakeBuffer() {
  TDataSkinObject* frame = FrameElement();
  RECT r{};
  if (!frame || !GetWindowRect(Window, &r)) return false;
  const TRect size(0, 0, r.right - r.left, r.bottom - r.top);
  // What the frame's picture has no pixels for shows the menu's colour, as its items do.
  buffer_ = StretchSkinBitmap(size, frame->Bitmap.get(), frame->Margins(), false, frame->Tile == 1, frame->Frame, 1,
                              SkinData->Skin()->Color(kMenuColour));
  return buffer_ != nullptr;
}

bool TWinSkinPopMenu::PaintFrame(HDC DC) {
  if (!MakeBuffer()) return false;
  if (!DC) return true;
  HDC from = buffer_->Canvas()->Handle();
  const int w = buffer_->Width(), h = buffer_->Height(), f = kPopupFrame;
  BitBlt(DC, 0, 0, w, f, from, 0, 0, SRCCOPY);
  BitBlt(DC, 0, h - f, w, f, from, 0, h - f, SRCCOPY);
  BitBlt(DC, 0, f, f, h - 2 * f, from, 0, f, SRCCOPY);
  BitBlt(DC, w - f, f, f, h - 2 * f, from, w - f, f, SRCCOPY);
  return true;
}

void TWinSkinPopMenu::WndProc(vcl::TMessage& m) {
  const vcl::TMemoryContextScope contexts;  // the pictures' DCs go when the message is done
  if (m.Msg == SKM_QUERYNOSKIN) {
    m.Result = 1;
    return;
  }
  TSkinManage* manager = SkinManager();
  if (!manager || !manager->Active()) return subclass_.CallDefault(m);
  switch (m.Msg) {
    case WM_DESTROY: Detach(); subclass_.CallDefault(m); return;
    case WM_ERASEBKGND: WMEraseBkgnd(m); return;
    case WM_NCPAINT: NCPaint(m); return;
    case WM_PAINT: WMPaint(m); return;
    case WM_PRINT: Print(m); return;
    default: subclass_.CallDefault(m); return;
  }
}

// With the skin's menu background the system erases nothing.
void TWinSkinPopMenu::WMEraseBkgnd(vcl::TMessage& m) {
  if (!SkinData || !SkinData->Options().Contains(xoMenuBG)) subclass_.CallDefault(m);
  m.Result = 1;
}

// Some systems draw the menu's edge inside the client area: the frame goes over it again.
void TWinSkinPopMenu::WMPaint(vcl::TMessage& m) {
  subclass_.CallDefault(m);
  if (!FrameElement()) return;
  WindowDC dc(Window, GetWindowDC(Window));
  if (dc.get()) PaintFrame(dc.get());
}

void TWinSkinPopMenu::NCPaint(vcl::TMessage& m) {
  if (!FrameElement()) return subclass_.CallDefault(m);
  WindowDC dc(Window, FrameDC(Window, m.WParam));
  if (dc.get()) PaintFrame(dc.get());
  m.Result = 0;
}

// The frame into the given DC, then the menu's own painting inside it.
void TWinSkinPopMenu::Print(vcl::TMessage& m) {
  const auto dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc || !FrameElement()) return subclass_.CallDefault(m);
  const int saved = SaveDC(dc);
  PaintFrame(dc);
  if (buffer_)
    IntersectClipRect(dc, kPopupFrame, kPopupFrame, buffer_->Width() - kPopupFrame, buffer_->Height() - kPopupFrame);
  SetBkMode(dc, TRANSPARENT);
  subclass_.CallDefault(m);
  RestoreDC(dc, saved);
}

TWinSkinPopMenu* FindSkinPopMenu(HMENU Menu, HDC DC) {
  TSkinManage* manager = SkinManager();
  if (!manager) return nullptr;
  const HWND dcWindow = DC ? WindowFromDC(DC) : nullptr;
  TWinSkinPopMenu* byDC = nullptr;
  TWinSkinPopMenu* current = nullptr;
  for (int i = 0; i < manager->PopMenuCount(); ++i) {
    TWinSkinPopMenu* popup = AsSkinPopMenu(manager->PopMenus(i));
    if (!popup) continue;
    if (Menu && popup->Menu() == Menu) return popup;
    if (dcWindow && popup->Window == dcWindow) byDC = popup;
    if (!current && popup->First && !popup->FromMenuBar) current = popup;
  }
  return byDC ? byDC : current;
}

}  // namespace winskin
