#include "skin_layered/adapters/TreeViewWnd.h"

#include <commctrl.h>

#include "skin_layered/adapters/AdapterUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Fills.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvTreeViewWnd) {}

namespace {

LPARAM Rgb(vcl::TColor Color) { return static_cast<LPARAM>(vcl::ColorToRGB(Color)); }

}  // namespace

void TqvTreeViewWnd::SaveStdParams() {
  TqvEditWnd::SaveStdParams();
  saved_bk_ = static_cast<COLORREF>(SendMessageW(CtrlHandle, TVM_GETBKCOLOR, 0, 0));
  saved_text_ = static_cast<COLORREF>(SendMessageW(CtrlHandle, TVM_GETTEXTCOLOR, 0, 0));
  colors_saved_ = true;
}

// The tree's own colours exactly: a library tree's Color and font colour, another tree's
// colours as they were before the skin.
void TqvTreeViewWnd::RestoreStdParams() {
  TqvEditWnd::RestoreStdParams();
  if (!IsWindow(CtrlHandle)) return;
  if (vcl::TControl* control = OwnerControl()) {
    if (control->ComponentState().Contains(vcl::csDestroying)) return;
    SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, Rgb(control->Color()));
    SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, Rgb(control->Font()->Color()));
  } else if (colors_saved_) {
    SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(saved_bk_));
    SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(saved_text_));
  }
}

COLORREF TqvTreeViewWnd::ShownBackground() const {
  const auto shown = static_cast<COLORREF>(SendMessageW(CtrlHandle, TVM_GETBKCOLOR, 0, 0));
  return shown == static_cast<COLORREF>(-1) ? GetSysColor(COLOR_WINDOW) : shown;
}

vcl::TColor TqvTreeViewWnd::Background() const {
  if (DialogChild) return vcl::clWindow;
  vcl::TControl* control = OwnerControl();
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!section || (SkinData->CustomColor() && control)) return control ? control->Color() : vcl::clWindow;
  TsSkinManager* hot = DefaultSkinManager();
  const bool active = SkinData->ControlIsActive() || (hot && hot->HotWnd() == CtrlHandle);
  return section->Props[active && section->States > 1 ? 1 : 0].Color;
}

// The tree's colours are set by the tree's own messages alone (the edit adapter's colour
// properties are left as they are).
void TqvTreeViewWnd::ApplySkinParams() {
  SkinParamsApplied = true;
  if (DialogChild) {
    SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, Rgb(vcl::clWindow));
    SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, Rgb(vcl::clWindowText));
    return;
  }
  TsSkinManager* manager = Manager();
  const TsGeneralData* section = SkinData ? SkinData->Section() : nullptr;
  if (!section || !manager || !manager->IsValidSkinIndex(SkinData->SkinIndex)) return;
  const std::size_t state = SkinData->ControlIsActive() && section->States > 1 ? 1 : 0;
  vcl::TControl* control = OwnerControl();
  vcl::TColor back = section->Props[state].Color;
  vcl::TColor font = section->Props[state].FontColor;
  if (control && SkinData->CustomColor()) back = control->Color();
  if (control && SkinData->CustomFont()) font = control->Font()->Color();
  if (control) {
    const vcl::TLifetime::TWatch alive = Lifetime().Watch();
    if (control->Font()->Color() != font) control->Font()->SetColor(font);
    if (!alive) return;
    // Against the colour the tree shows: the state's colour set on a focus change is not the
    // control's own Color, and the tree would keep the other state's (its hot look) where the
    // section's normal colour is the control's.
    if (static_cast<COLORREF>(Rgb(back)) != ShownBackground()) SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, Rgb(back));
  } else {
    SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, Rgb(back));
    if (!SkinData->CustomFont()) SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, Rgb(font));
  }
  FillColor = back;
}

void TqvTreeViewWnd::WndProc(vcl::TMessage& Message) {
  if (!SkinData || Destroyed() || !SkinData->Skinned(false)) {
    TqvEditWnd::WndProc(Message);
    return;
  }
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      OnEraseBkgnd(Message);
      return;
    case WM_LBUTTONUP:
      TqvEditWnd::WndProc(Message);
      ReleaseCapture();
      return;
    case WM_PAINT: {
      // The tree's painting sets its bars again, and the system draws its own bar there
      // (Wine does, changed or not): ours goes over it again.
      const vcl::TLifetime::TWatch alive = Lifetime().Watch();
      TqvEditWnd::WndProc(Message);
      if (alive) UpdateScrolls(this, true);
      return;
    }
    default:
      TqvEditWnd::WndProc(Message);
      return;
  }
}

void TqvTreeViewWnd::OnEraseBkgnd(vcl::TMessage& Message) {
  Message.Result = 1;
  if (!Manager() || SkinData->CheckBgChanged(false)) return;
  if (SkinData->BGChanged) RebuildCache();
  HDC dc = reinterpret_cast<HDC>(Message.WParam);
  const HDC own = dc ? nullptr : GetDC(CtrlHandle);
  if (!dc) dc = own;
  if (!dc) return;
  RECT client{};
  GetClientRect(CtrlHandle, &client);
  FillDC(dc, vcl::TRect{client.left, client.top, client.right, client.bottom}, Background());
  if (own) ReleaseDC(CtrlHandle, own);
}

}  // namespace skin_layered
