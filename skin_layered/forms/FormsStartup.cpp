#include "skin_layered/forms/FormsStartup.h"

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

const TqvBorderForm* AsBorderForm(const TqvBorderFormBase* BorderForm) {
  return dynamic_cast<const TqvBorderForm*>(BorderForm);
}

TsSkinProvider* ProviderOfWindow(HWND Wnd) {
  return Wnd ? reinterpret_cast<TsSkinProvider*>(SendCommandToWnd(Wnd, scmGetProvider, 0)) : nullptr;
}

class TFormServices : public TLayeredFormServices {
 public:
  int SysBorderWidth(HWND Wnd, TqvBorderFormBase* BorderForm, bool Skinned) override {
    return skin_layered::SysBorderWidth(Wnd, AsBorderForm(BorderForm), Skinned);
  }
  int SysCaptionHeight(HWND Wnd) override {
    return skin_layered::SysCaptionHeight(dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(Wnd)));
  }
  int SkinTitleHeight(TqvBorderFormBase* BorderForm) override {
    return skin_layered::SkinTitleHeight(AsBorderForm(BorderForm));
  }
  int SkinTitleHeight(TsSkinProviderBase* Provider) override {
    auto* provider = dynamic_cast<TsSkinProvider*>(Provider);
    return provider ? provider->Measures().TitleHeightByState(false) : 0;
  }
  int SkinBorderWidth(TqvBorderFormBase* BorderForm) override {
    return skin_layered::SkinBorderWidth(AsBorderForm(BorderForm));
  }
  int BorderFormOffsetY(TqvBorderFormBase* BorderForm) override {
    return skin_layered::BorderFormOffsetY(AsBorderForm(BorderForm));
  }
  bool AeroIsEnabled() override { return skin_layered::AeroIsEnabled(); }
  vcl::TCustomForm* CreateSnapshotForm(HWND Wnd) override { return skin_layered::CreateSnapshotForm(Wnd); }
  bool FreeingAllAdapterItems() override { return FreeingAdapterItems(); }
  void InvalidateIconicBitmaps(HWND Wnd) override { skin_layered::InvalidateIconicBitmaps(Wnd); }
  HRESULT DwmSetWindowAttr(HWND Wnd, DWORD Attribute, const void* Value, DWORD Size) override {
    return skin_layered::DwmSetWindowAttr(Wnd, Attribute, Value, Size);
  }
  void SetIconicThumbnail(HWND Wnd, vcl::TSize Size) override {
    skin_layered::SetIconicThumbnail(Wnd, ProviderOfWindow(Wnd), Size.cx, Size.cy);
  }
  void SetIconicLivePreview(HWND Wnd, vcl::TPoint Point) override {
    (void)Point;
    skin_layered::SetIconicLivePreview(Wnd, ProviderOfWindow(Wnd));
  }

  std::unique_ptr<TsSkinableMenusBase> CreateSkinableMenus(TsSkinManager* Owner) override {
    return std::make_unique<TsSkinableMenus>(Owner);
  }
  std::unique_ptr<TqvMenuSupportBase> CreateMenuSupport() override { return std::make_unique<TqvMenuSupport>(); }
  void SetMenusSkinned(TsSkinableMenusBase* Menus, bool Value) override {
    if (auto* menus = dynamic_cast<TsSkinableMenus*>(Menus)) menus->SetMenusSkinned(Value);
  }
  void UpdateMenuFonts(TsSkinableMenusBase* Menus) override {
    if (auto* menus = dynamic_cast<TsSkinableMenus*>(Menus)) menus->UpdateMenuFonts();
  }
  void SetMenuOwnerDraw(TsSkinableMenusBase* Menus, vcl::TPopupMenu* Menu, bool Flag) override {
    if (auto* menus = dynamic_cast<TsSkinableMenus*>(Menus)) menus->SetMenuOwnerDraw(Menu, Flag);
  }
  void HookMainMenu(TsSkinableMenusBase* Menus, vcl::TMainMenu* Menu, bool Value) override {
    if (auto* menus = dynamic_cast<TsSkinableMenus*>(Menus)) menus->HookMainMenu(Menu, Value);
  }
  void HookMenuItem(TsSkinableMenusBase* Menus, vcl::TMenuItem* Item, bool Value) override {
    if (auto* menus = dynamic_cast<TsSkinableMenus*>(Menus)) menus->HookMenuItem(Item, Value);
  }
  void SetMenuWndRgn(HWND MenuWnd) override {
    if (TsSkinableMenus* menus = SkinableMenusOf(DefaultSkinManager())) skin_layered::SetMenuWndRgn(*menus, MenuWnd);
  }
  vcl::TRect GetExtraLineRect(HWND MenuWnd) override {
    TsSkinableMenus* menus = SkinableMenusOf(DefaultSkinManager());
    return menus ? ExtraLineRect(*menus, MenuWnd) : vcl::TRect{};
  }
};

}  // namespace

TLayeredFormServices& LayeredFormServices() {
  static TFormServices services;
  return services;
}

namespace {

// What the popup-menu windows' adapters ask of the skinned menus: the default manager's.
vcl::TBitmap* PopupImage(HWND MenuWnd) {
  TsSkinableMenus* menus = SkinableMenusOf(DefaultSkinManager());
  // The cache keeps the background; the adapter uses it at once.
  return menus ? GetMenuInfo(*menus, nullptr, MenuWnd, nullptr).Bmp.get() : nullptr;
}

int PopupAlpha() {
  const TqvMenuSupport* support = MenuSupportOf(DefaultSkinManager());
  return support ? support->AlphaBlend() : 255;
}

}  // namespace

void StartFormsUnit() {
  SetFormServices(&LayeredFormServices());
  PopupMenuLinks() = TqvPopupMenuLinks{&PopupImage, &ClearMenuCache, &PopupAlpha};
}

void StopFormsUnit() {
  if (&FormServices() == &LayeredFormServices()) SetFormServices(nullptr);
  PopupMenuLinks() = TqvPopupMenuLinks{};
  FinalizeMenuSupport();
  GluedList().clear();
}

namespace {
const vcl::TUnitRegistration kFormsUnit{vcl::TUnitGroup::LayeredForms, 10, L"LayeredForms", &StartFormsUnit,
                                        &StopFormsUnit};
}  // namespace

}  // namespace skin_layered

// Named by the link options of the layered_forms library.
extern "C" void scrivane_layered_forms_units() {}
