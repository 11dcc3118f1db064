// A skinned form's menu messages: the items the system measures and the form's popup menu are
// prepared for skinned drawing, a menu loop's start tells the popup windows that no skinned
// item has been measured yet, and an MDI frame keeps its maximised child's skinned buttons in
// sight while the system paints the menu line of a menu loop.
#include <utility>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/forms/ProviderMessages.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

void TsSkinProvider::TMessages::WMMeasureItem(TsSkinProvider& P, vcl::TMessage& Message) {
  const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(Message.LParam);
  TsSkinableMenus* menus = SkinableMenusOf(P.SkinManager());
  if (measure && measure->CtlType == ODT_MENU && menus && P.Measures().HasMenuLine())
    if (auto* menu = dynamic_cast<vcl::TMainMenu*>(P.Form->Menu()))
      menus->HookMenuItem(menu->FindItem(measure->itemID, vcl::fkCommand), true);
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WMContextMenu(TsSkinProvider& P, vcl::TMessage& Message) {
  TsSkinManager* manager = P.SkinManager();
  if (auto* popup = dynamic_cast<vcl::TPopupMenu*>(P.Form->PopupMenu()); popup && manager)
    if (TsSkinableMenus* menus = SkinableMenusOf(manager)) menus->SetMenuOwnerDraw(popup, manager->SkinnedPopups());
  P.CallOldWndProc(Message);
}

// ---------------------------------------------------------------------------------------
// The MDI child buttons over the frame's menu line while a menu loop runs

namespace {

constexpr int kMdiIconsWidth = 60;

// The small window that keeps the skinned MDI child buttons in sight while the system paints
// the menu line of a menu loop.
struct TMdiIcons {
  vcl::TForm* Form = nullptr;
  TsSkinProvider* Provider = nullptr;  // the frame whose window image it shows
  vcl::TWindowProcHook Hook;
  bool Shown = false;  // once per menu loop

  void WndProc(vcl::TMessage& Message) {
    if (Message.Msg == WM_ERASEBKGND) {
      Message.Result = 1;
      return;
    }
    if (Message.Msg != WM_PAINT || !Provider || !Provider->SkinData) return Hook.CallPrevious(Message);
    PAINTSTRUCT ps{};
    const HWND wnd = Form->Handle();
    HDC dc = BeginPaint(wnd, &ps);
    vcl::TBitmap* image = Provider->SkinData->CacheBmp();
    if (image && image->Width() > 0 && Provider->Form->HandleAllocated()) {
      RECT place{}, frame{};
      GetWindowRect(wnd, &place);
      GetWindowRect(Provider->Form->Handle(), &frame);
      BitBlt(dc, 0, 0, place.right - place.left, place.bottom - place.top, image->Canvas()->Handle(),
             place.left - frame.left, place.top - frame.top, SRCCOPY);
    }
    EndPaint(wnd, &ps);
    Message.Result = 0;
  }
  void Free() {
    Hook.Remove();
    if (Form) vcl::TObject::Free(std::exchange(Form, nullptr));
    Provider = nullptr;
    Shown = false;
  }
};

TMdiIcons& MdiIcons() {
  static TMdiIcons icons;
  return icons;
}

}  // namespace

vcl::TForm* MdiIconsForm() { return MdiIcons().Form; }

void ReleaseMdiIcons(const TsSkinProvider* Provider) {
  if (MdiIcons().Provider == Provider) MdiIcons().Free();
}

void TsSkinProvider::TMessages::WMEnterMenuLoop(TsSkinProvider& P, vcl::TMessage& Message) {
  SetSkinnedPopupShown(false);
  vcl::TCustomForm* child = P.Form->FormStyle() == vcl::fsMDIForm ? P.Form->ActiveMDIChild() : nullptr;
  TMdiIcons& icons = MdiIcons();
  if (child && child->HandleAllocated() && IsZoomed(child->Handle()) && P.DrawNonClientArea && !icons.Shown &&
      P.Form->HandleAllocated()) {
    icons.Shown = true;
    if (!icons.Form) {
      icons.Form = new vcl::TForm(nullptr, 0);
      icons.Form->SetName(L"qvMDIIcons");
      icons.Form->SetBorderStyle(vcl::TFormBorderStyle::bsNone);
      icons.Form->SetTag(256);
      icons.Form->HandleNeeded();
      const HWND wnd = icons.Form->Handle();
      SetClassLongPtrW(wnd, GCL_STYLE, GetClassLongPtrW(wnd, GCL_STYLE) & ~static_cast<LONG_PTR>(CS_DROPSHADOW));
      SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
      icons.Hook.Install(icons.Form, vcl::TWndMethod::Bind<&TMdiIcons::WndProc>(&icons));
    }
    icons.Provider = &P;
    RECT frame{};
    GetWindowRect(P.Form->Handle(), &frame);
    const int x = frame.right - kMdiIconsWidth - P.Measures().BorderWidthSys();
    const int y = frame.top + P.Measures().BorderWidthDef() + P.Measures().CaptionHeight(true);
    SetWindowPos(icons.Form->Handle(), HWND_TOP, x, y, kMdiIconsWidth, GetSystemMetrics(SM_CYMENU) + 3,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  P.CallOldWndProc(Message);
}

void TsSkinProvider::TMessages::WMExitMenuLoop(TsSkinProvider& P, vcl::TMessage& Message) {
  ReleaseMdiIcons(&P);
  P.CallOldWndProc(Message);
}

}  // namespace skin_layered
