#include "skin_layered/forms/FormAnimations.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/AlphaBitmaps.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/pixels/PixelView.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvMinTimer) {}
VCL_CLASS_INFO(TqvMoveTimer) {}

namespace {

constexpr UINT kShowBehind = SWP_NOSIZE | SWP_NOMOVE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW |
                             SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;  // 0x65B
// How long the shell's tool bar may take to answer one question.
constexpr UINT kShellAnswerTime = 200;

int Round(double Value) { return static_cast<int>(std::lround(Value)); }

// The alpha of each pixel of R in To from the pixel of From it was stretched from (the stretch
// itself keeps no alpha; a border window's picture has its partly transparent shadow).
void StretchAlpha(vcl::TBitmap* From, vcl::TBitmap* To, const vcl::TRect& R) {
  TPixelView from, to;
  if (!InitPixelView(From, from) || !InitPixelView(To, to) || R.Width() <= 0 || R.Height() <= 0) return;
  auto scaled = [](int i, int size, int range) {
    return std::min(size - 1, static_cast<int>(static_cast<long long>(i) * size / range));
  };
  std::vector<int> columns(static_cast<std::size_t>(R.Width()));
  for (int i = 0; i < R.Width(); ++i) columns[static_cast<std::size_t>(i)] = scaled(i, from.Width, R.Width());
  for (int j = 0; j < R.Height(); ++j) {
    const int y = R.Top + j;
    if (y < 0 || y >= to.Height) continue;
    const TPixel32* source = from.Row(scaled(j, from.Height, R.Height()));
    TPixel32* row = to.Row(y);
    for (int i = 0; i < R.Width(); ++i) {
      const int x = R.Left + i;
      if (x >= 0 && x < to.Width)
        row[x] = (row[x] & 0xFFFFFFu) | (source[columns[static_cast<std::size_t>(i)]] & 0xFF000000u);
    }
  }
}

void ClearBitmap(vcl::TBitmap* Bmp) {
  if (Bmp && Bmp->Width() > 0) FillAlphaRect(Bmp, vcl::Rect(0, 0, Bmp->Width(), Bmp->Height()), 0, 0);
}

bool SameBitness(HANDLE Process) {
  BOOL self = FALSE, other = FALSE;
  if (!IsWow64Process(GetCurrentProcess(), &self) || !IsWow64Process(Process, &other)) return false;
  return self == other;
}

// A handle of the shell's process, closed at the end of the scope.
struct TProcessHandle {
  HANDLE Handle;
  ~TProcessHandle() {
    if (Handle) CloseHandle(Handle);
  }
};

// A page reserved in the shell's process, released at the end of the scope.
struct TRemotePage {
  HANDLE Process;
  void* Address;
  ~TRemotePage() {
    if (Address) VirtualFreeEx(Process, Address, 0, MEM_RELEASE);
  }
};

bool AskShell(HWND Bar, UINT Msg, WPARAM WParam, LPARAM LParam, LRESULT& Answer) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(Bar, Msg, WParam, LParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, kShellAnswerTime, &result))
    return false;
  Answer = static_cast<LRESULT>(result);
  return true;
}

template <class T>
bool ReadRemote(HANDLE Process, const void* Address, T& Value) {
  SIZE_T read = 0;
  return Address && ReadProcessMemory(Process, Address, &Value, sizeof Value, &read) && read == sizeof Value;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// The snapshot form and the task bar

vcl::TForm* CreateSnapshotForm(HWND Wnd) {
  RECT r{};
  if (!Wnd || !IsWindow(Wnd) || !GetWindowRect(Wnd, &r)) return nullptr;
  const int w = r.right - r.left, h = r.bottom - r.top;
  auto* form = new vcl::TForm(nullptr, 0);
  form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  form->SetTag(256);
  form->HandleNeeded();
  const HWND snapshot = form->Handle();
  SetClassLongPtrW(snapshot, GCL_STYLE, GetClassLongPtrW(snapshot, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
  SetWindowLongPtrW(snapshot, GWL_EXSTYLE,
                    GetWindowLongPtrW(snapshot, GWL_EXSTYLE) | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_LAYERED);
  auto picture = CreateBmp32(std::max(1, w), std::max(1, h));
  if (HDC windowDC = GetWindowDC(Wnd)) {
    BitBlt(picture->Canvas()->Handle(), 0, 0, w, h, windowDC, 0, 0, SRCCOPY);
    ReleaseDC(Wnd, windowDC);
  }
  FillAlphaRect(picture.get(), vcl::Rect(0, 0, picture->Width(), picture->Height()), 255);
  const vcl::TPoint at(r.left, r.top);
  SetWindowPos(snapshot, nullptr, r.left, r.top, w, h, SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOREDRAW);
  UpdateLayeredWnd(snapshot, picture.get(), 255, &at);
  SetWindowPos(snapshot, HWND_TOPMOST, r.left, r.top, 0, 0,
               SWP_NOSIZE | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_NOOWNERZORDER);  // 0x659
  return form;
}

HWND FindTrayWindow() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

int TaskbarEdgeOf(const vcl::TRect& Tray) {
  if (Tray.Top != 0) return Tray.Left >= -4 && Tray.Left <= 0 ? kTaskbarBottom : kTaskbarRight;
  if (Tray.Left != 0) return kTaskbarRight;
  return Tray.Width() > Tray.Height() ? kTaskbarTop : kTaskbarLeft;
}

vcl::TPoint TaskbarEdgePoint(const vcl::TRect& Tray, int CX, int CY) {
  switch (TaskbarEdgeOf(Tray)) {
    case kTaskbarLeft: return vcl::TPoint(Tray.Right, CY);
    case kTaskbarTop: return vcl::TPoint(CX, Tray.Bottom);
    case kTaskbarRight: return vcl::TPoint(Tray.Left, CY);
    default: return vcl::TPoint(CX, Tray.Top);
  }
}

// The shell's buttons are read in its own process: only with the rights to read and write one
// page of data there (no execution), only from a shell of this program's bitness (whose
// button records have the layout read here), and every call is checked.
vcl::TRect TaskbarButtonRect(HWND Owner) {
  HWND bar = FindTrayWindow();
  for (const wchar_t* cls : {L"ReBarWindow32", L"MSTaskSwWClass", L"ToolbarWindow32"})
    if (bar) bar = FindWindowExW(bar, nullptr, cls, nullptr);
  if (!bar || !Owner) return {};
  LRESULT count = 0;
  if (!AskShell(bar, TB_BUTTONCOUNT, 0, 0, count) || count < 1) return {};
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(bar, &pid) || pid == 0) return {};
  const TProcessHandle process{
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                  pid)};
  if (!process.Handle || !SameBitness(process.Handle)) return {};
  const TRemotePage page{process.Handle,
                         VirtualAllocEx(process.Handle, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)};
  if (!page.Address) return {};
  const auto remote = reinterpret_cast<LPARAM>(page.Address);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT ok = 0;
    TBBUTTON button{};
    if (!AskShell(bar, TB_GETBUTTON, static_cast<WPARAM>(i), remote, ok) || !ok) continue;
    if (!ReadRemote(process.Handle, page.Address, button)) return {};
    if ((button.fsStyle & 0x0D) || (button.fsState & TBSTATE_HIDDEN)) continue;
    HWND target = nullptr;
    if (!ReadRemote(process.Handle, reinterpret_cast<const void*>(button.dwData), target) || target != Owner) continue;
    RECT r{};
    if (!AskShell(bar, TB_GETITEMRECT, static_cast<WPARAM>(i), remote, ok) || !ok ||
        !ReadRemote(process.Handle, page.Address, r))
      return {};
    MapWindowPoints(bar, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return vcl::TRect(r);
  }
  return {};
}

// ---------------------------------------------------------------------------------------
// TqvMinTimer

TqvMinTimer::TqvMinTimer(vcl::TComponent* AOwner, TsSkinProvider* AProvider) : TqvThreadedTimer(AOwner, true) {
  Provider = AProvider;
  Snapshot = CreateBmp32(0, 0);
  PrepareImage();
}

TqvMinTimer::~TqvMinTimer() {
  SetEnabled(false);
  FreeAnimForm();
}

void TqvMinTimer::FreeAnimForm() {
  if (anim_form_) vcl::TObject::Free(std::exchange(anim_form_, nullptr));
  OwnsAnimForm = false;
}

HWND TqvMinTimer::AnimWnd() const {
  if (anim_form_) return anim_form_->HandleAllocated() ? anim_form_->Handle() : nullptr;
  TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : nullptr;
  return border ? border->BorderWindow() : nullptr;
}

std::uint8_t TqvMinTimer::GetMaxAlpha() const {
  const bool aero = AeroIsEnabled();
  if (Provider && Provider->Form && Provider->Form->AlphaBlend()) {
    const auto alpha = static_cast<std::uint8_t>(std::clamp(Provider->Form->AlphaBlendValue(), 0, 255));
    return aero ? static_cast<std::uint8_t>(alpha >> 2) : alpha;
  }
  return aero ? 63 : 255;
}

void TqvMinTimer::PrepareImage() {
  SetInterval(kAnimationStep);
  const bool aero = AeroIsEnabled();
  const TsSkinManager* manager = Provider ? Provider->SkinManager() : nullptr;
  const int time = manager ? manager->AnimEffects()->Minimizing()->Time() : 0;
  // With composition the system shows its own picture: two quick frames only.
  Steps = std::max(2, (aero ? 0 : 1) * time / kAnimationStep);
  MaxAlpha = GetMaxAlpha();
  if (!Wnd && Provider && Provider->Form && Provider->Form->HandleAllocated()) Wnd = Provider->Form->Handle();
  Alpha = MaxAlpha;
  RECT r{};
  TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : nullptr;
  if (border && border->BorderWindow())
    GetWindowRect(border->BorderWindow(), &r);
  else if (Wnd)
    GetWindowRect(Wnd, &r);
  FormRect = vcl::TRect(r);
  FormCenterX = FormRect.Left + FormRect.Width() / 2;
  FormCenterY = FormRect.Top + FormRect.Height() / 2;
  InitData();
  const vcl::TRect start = MaxAlpha == 0 && Restoring ? TargetRect : FormRect;
  CurLeft = start.Left, CurTop = start.Top, CurRight = start.Right, CurBottom = start.Bottom;
  AlphaStep = static_cast<double>(MaxAlpha) / Steps;
  const int w = std::max(1, FormRect.Width()), h = std::max(1, FormRect.Height());
  if (!Frame)
    Frame = CreateBmp32(w, h);
  else
    Frame->SetSize(w, h);
  SetStretchBltMode(Frame->Canvas()->Handle(), HALFTONE);
  if (!border) {
    FreeAnimForm();
    anim_form_ = CreateSnapshotForm(Wnd);
    OwnsAnimForm = anim_form_ != nullptr;
    if (anim_form_) SetWindowRgn(anim_form_->Handle(), nullptr, FALSE);
  }
}

void TqvMinTimer::InitData() {
  TargetRect = GetTargetRect();
  TargetCenterX = TargetRect.Left + TargetRect.Width() / 2;
  TargetCenterY = TargetRect.Top + TargetRect.Height() / 2;
  StepX = static_cast<double>(TargetCenterX - FormCenterX) / Steps;
  StepY = static_cast<double>(TargetCenterY - FormCenterY) / Steps;
  ShrinkX = static_cast<double>(FormRect.Width() - TargetRect.Width()) / (2.0 * Steps);
  ShrinkY = static_cast<double>(FormRect.Height() - TargetRect.Height()) / (2.0 * Steps);
  InitDone = false;
}

vcl::TRect TqvMinTimer::GetTargetRect() {
  const HWND tray = FindTrayWindow();
  if (!tray) return {};
  if (!AeroIsEnabled()) {
    // The button stands for the form, or for the application's window.
    vcl::TRect button = TaskbarButtonRect(Wnd);
    if (button.Left == button.Right && vcl::Application) button = TaskbarButtonRect(vcl::Application->Handle());
    if (button.Left != button.Right) return button;
  }
  RECT r{};
  GetWindowRect(tray, &r);
  const vcl::TRect bar(r);
  TaskbarEdge = TaskbarEdgeOf(bar);
  const vcl::TPoint p = TaskbarEdgePoint(bar, FormCenterX, FormCenterY);
  return vcl::Rect(p.X, p.Y, p.X, p.Y);
}

void TqvMinTimer::Step() {
  if (stepping_) return;
  stepping_ = true;
  const vcl::TScopeExit clear([this] { stepping_ = false; });
  if (Provider) {
    if (!Restoring && (Provider->ExtFlags & kExtRestoring)) Restoring = true;
    else if (Restoring && (Provider->ExtFlags & kExtMinimizing)) Restoring = false;
  }
  const HWND anim = AnimWnd();
  if (!anim || !IsWindow(anim)) {
    SetEnabled(false);
    return;
  }
  // The border window shows the frames: it is left alone by the form's updates meanwhile.
  if (TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : nullptr) border->Busy = true;
  if (Restoring)
    RestoreStep();
  else
    MinimizeStep();
}

void TqvMinTimer::ShowFrame(std::uint8_t FrameAlpha, bool BehindTray) {
  const HWND anim = AnimWnd();
  if (!anim || !Frame) return;
  ClearBitmap(Frame.get());
  const int w = std::max(0, Round(CurRight - CurLeft)), h = std::max(0, Round(CurBottom - CurTop));
  const int x = (Frame->Width() - w) / 2, y = (Frame->Height() - h) / 2;
  if (Snapshot && Snapshot->Width() > 0 && w > 0 && h > 0) {
    HDC dc = Frame->Canvas()->Handle();
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, w, h, Snapshot->Canvas()->Handle(), 0, 0, Snapshot->Width(), Snapshot->Height(), SRCCOPY);
    GdiFlush();
    StretchAlpha(Snapshot.get(), Frame.get(), vcl::Rect(x, y, x + w, y + h));
  }
  // The frame's picture centred on the current rectangle's centre.
  const vcl::TPoint at(Round((CurLeft + CurRight) / 2) - Frame->Width() / 2,
                       Round((CurTop + CurBottom) / 2) - Frame->Height() / 2);
  UpdateLayeredWnd(anim, Frame.get(), FrameAlpha, &at);
  if (BehindTray)
    if (const HWND tray = FindTrayWindow()) {
      SetWindowPos(anim, tray, 0, 0, 0, 0, kShowBehind);
      return;
    }
  SetWindowPos(anim, HWND_TOPMOST, 0, 0, 0, 0, kShowBehind);
}

void TqvMinTimer::MinimizeStep() {
  CurLeft += StepX + ShrinkX;
  CurRight += StepX - ShrinkX;
  CurTop += StepY + ShrinkY;
  CurBottom += StepY - ShrinkY;
  Alpha = std::max(0.0, Alpha - AlphaStep);
  if (Alpha > 0) return ShowFrame(static_cast<std::uint8_t>(Round(Alpha)), true);

  SetEnabled(false);
  if (Provider) {
    Provider->Animator().Busy = false;
    Provider->FrameMouse().SetHotElement(0, false);
    Provider->ExtFlags &= ~kExtMinimizing;
  }
  if (Wnd && IsWindow(Wnd))
    SetWindowLongPtrW(Wnd, GWL_EXSTYLE, GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  const HWND anim = AnimWnd();
  if (anim_form_) {
    ClearBitmap(Frame.get());
    UpdateLayeredWnd(anim, Frame.get(), 0);
    ShowWindow(anim, SW_HIDE);
  } else if (TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : nullptr) {
    if (Provider->SkinData) Provider->SkinData->FreeCacheBmp();
    border->Busy = false;
    if (AeroIsEnabled()) border->UpdateExBordersPos(true, 255);
  }
  Restoring = true;
}

void TqvMinTimer::RestoreStep() {
  CurLeft -= StepX + ShrinkX;
  CurRight -= StepX - ShrinkX;
  CurTop -= StepY + ShrinkY;
  CurBottom -= StepY - ShrinkY;
  Alpha = std::min(Alpha + AlphaStep, 255.0);
  if (Alpha < MaxAlpha) return ShowFrame(static_cast<std::uint8_t>(Round(Alpha)), true);

  SetEnabled(false);
  CurLeft = FormRect.Left, CurTop = FormRect.Top, CurRight = FormRect.Right, CurBottom = FormRect.Bottom;
  ShowFrame(MaxAlpha, false);
  vcl::TCustomForm* form = Provider ? Provider->Form : nullptr;
  if (Wnd && IsWindow(Wnd)) {
    ShowWindow(Wnd, IsZoomed(Wnd) ? SW_SHOWMAXIMIZED : SW_SHOWNOACTIVATE);
    const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    if (form && form->AlphaBlend())
      SetLayeredWindowAttributes(Wnd, 0, static_cast<BYTE>(std::clamp(form->AlphaBlendValue(), 0, 255)), LWA_ALPHA);
    else if (ex & WS_EX_LAYERED)
      SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
  }
  if (Provider) {
    Provider->Animator().Busy = false;
    Provider->ExtFlags &= ~kExtRestoring;
    if (TqvBorderForm* border = Provider->ExtBorderForm()) border->Busy = false;
    if (form && form->Menu() && !Provider->ExtBorderForm() && AeroIsEnabled() && Provider->SkinData)
      Provider->SkinData->BGChanged = true;
  }
  if (Wnd && IsWindow(Wnd))
    RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Restoring = false;
  if (anim_form_) {
    ShowWindow(anim_form_->Handle(), SW_HIDE);
    FreeAnimForm();
  } else if (Provider) {
    if (TqvBorderForm* border = Provider->ExtBorderForm()) border->UpdateExBordersPos(true, 255);
  }
  if (!form || !Wnd || !IsWindowEnabled(Wnd) || !IsWindowVisible(Wnd)) return;
  if (form->FormStyle() == vcl::fsMDIForm) {
    if (vcl::TCustomForm* child = form->ActiveMDIChild())
      if (TsSkinProvider* childProvider = GetSkinProvider(child)) childProvider->RefreshNonClient();
  } else if (form->CanFocus()) {
    form->SetFocus();
  }
  if (vcl::Application && vcl::Application->OnRestore) vcl::Application->OnRestore(vcl::Application);
}

// ---------------------------------------------------------------------------------------
// TqvMoveTimer

TqvMoveTimer::TqvMoveTimer(vcl::TComponent* AOwner, TsSkinProvider* AProvider) : TqvThreadedTimer(AOwner, true) {
  Provider = AProvider;
  const TsSkinManager* manager = Provider ? Provider->SkinManager() : nullptr;
  const TqvBlendOnMoving* blend = manager ? manager->AnimEffects()->BlendOnMoving() : nullptr;
  TargetAlpha = blend && Provider->AllowBlendOnMoving() ? blend->BlendValue() : 255;
  vcl::TCustomForm* form = Provider ? Provider->Form : nullptr;
  Alpha = form && form->AlphaBlend() ? std::clamp(form->AlphaBlendValue(), 0, 255) : 255;
  const int time = blend ? blend->Time() : 0;
  AlphaStep = time <= kAnimationStep ? 255.0 - TargetAlpha : (255.0 - TargetAlpha) / (time / double(kAnimationStep));
  if (form && form->HandleAllocated()) Wnd = form->Handle();
  SetInterval(kAnimationStep);
}

void TqvMoveTimer::Step() {
  if (!Wnd || !IsWindow(Wnd)) {
    SetEnabled(false);
    return;
  }
  const auto alpha = static_cast<std::uint8_t>(Round(Alpha));
  TqvBorderForm* border = Provider ? Provider->ExtBorderForm() : BorderForm;
  if (border && border->BorderWindow()) {
    const TsCommonData* data = Provider ? Provider->SkinData : border->SkinData;
    UpdateLayeredWnd(border->BorderWindow(), data ? data->CacheBmp() : nullptr, alpha);
  } else {
    const LONG_PTR ex = GetWindowLongPtrW(Wnd, GWL_EXSTYLE);
    if (!(ex & WS_EX_LAYERED)) SetWindowLongPtrW(Wnd, GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Wnd, 0, alpha, LWA_ALPHA);
  }
  if (Provider && Provider->Form)
    for (const TqvGluedRecord glued : std::vector<TqvGluedRecord>(GluedList()))
      if (glued.Master == Provider->Form && glued.Glued && glued.Glued->HandleAllocated())
        SendMessageW(glued.Glued->Handle(), kSkinCmdMessage, SkinCommandWParam(scmSetBlend), alpha);
  if (Alpha > TargetAlpha) Alpha = std::max<double>(TargetAlpha, Alpha - AlphaStep);
}

}  // namespace skin_layered
