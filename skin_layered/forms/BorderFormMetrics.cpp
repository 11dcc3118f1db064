// The measures of a border form (declared with the other window measures in FormMetrics.h):
// the frame width and title height its skin gives, and its offsets from the form.
#include <windows.h>

#include "classlib/forms/Forms.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

const TsSkinManager* ManagerOf(const TqvBorderForm* BorderForm) {
  return BorderForm && BorderForm->SkinData ? BorderForm->SkinData->GetSkinManager() : nullptr;
}

LONG_PTR StyleOf(HWND Wnd) { return Wnd ? GetWindowLongPtrW(Wnd, GWL_STYLE) : 0; }

}  // namespace

int SysBorderWidth(HWND Wnd, const TqvBorderForm* BorderForm, bool CheckSkin) {
  if (CheckSkin)
    if (const int skin = SkinBorderWidth(BorderForm); skin != 0) return skin;
  const LONG_PTR style = StyleOf(Wnd);
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXSIZEFRAME);
  if (style & WS_DLGFRAME) return GetSystemMetrics(SM_CXDLGFRAME);
  return 0;
}

int DefBorderWidth(HWND Wnd, const TqvBorderForm* BorderForm, bool CheckSkin) {
  return BorderForm ? 0 : SysBorderWidth(Wnd, nullptr, CheckSkin);
}

int SkinBorderWidth(const TqvBorderForm* BorderForm) {
  const TsSkinManager* manager = ManagerOf(BorderForm);
  return manager ? manager->Skin().SkinData.BorderWidth : 0;
}

int SkinTitleHeight(const TqvBorderForm* BorderForm) {
  const TsSkinManager* manager = ManagerOf(BorderForm);
  if (!manager) return 0;
  const TsSkinData& data = manager->Skin().SkinData;
  const int title = data.TitleHeight != 0 ? data.TitleHeight : 30;
  const TqvBorderOwner* owner = BorderForm->Owner();
  vcl::TCustomForm* form = owner ? owner->Form() : nullptr;
  const bool zoomed = form && form->HandleAllocated() && IsZoomed(form->Handle());
  if (zoomed) return data.MaxHeight != 0 ? data.MaxHeight : title;
  return title;
}

int BorderFormOffsetX(const TqvBorderForm* BorderForm) {
  if (!BorderForm) return 0;
  const HWND parent = BorderForm->ParentHandle();
  return SysBorderWidth(parent, BorderForm, true) - SysBorderWidth(parent, BorderForm, false);
}

int BorderFormOffsetY(const TqvBorderForm* BorderForm) {
  if (!BorderForm) return 0;
  return BorderForm->CaptionHeight(true) - BorderForm->CaptionHeight(false) -
         SysBorderWidth(BorderForm->ParentHandle(), BorderForm, false);
}

}  // namespace skin_layered
