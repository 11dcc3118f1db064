#include "skin_layered/forms/FormsStartup.h"

#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/SkinProvider.h"

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
    return provider ? provider->TitleHeightByState(false) : 0;
  }
  int SkinBorderWidth(TqvBorderFormBase* BorderForm) override {
    return skin_layered::SkinBorderWidth(AsBorderForm(BorderForm));
  }
  int BorderFormOffsetY(TqvBorderFormBase* BorderForm) override {
    return skin_layered::BorderFormOffsetY(AsBorderForm(BorderForm));
  }
  bool AeroIsEnabled() override { return skin_layered::AeroIsEnabled(); }
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
};

}  // namespace

TLayeredFormServices& LayeredFormServices() {
  static TFormServices services;
  return services;
}

void StartFormsUnit() { SetFormServices(&LayeredFormServices()); }

void StopFormsUnit() {
  if (&FormServices() == &LayeredFormServices()) SetFormServices(nullptr);
}

namespace {
const vcl::TUnitRegistration kFormsUnit{vcl::TUnitGroup::LayeredForms, 10, L"LayeredForms", &StartFormsUnit,
                                        &StopFormsUnit};
}  // namespace

}  // namespace skin_layered

// Named by the link options of the layered_forms library.
extern "C" void scrivane_layered_forms_units() {}
