#include "skin_layered/forms/FormMeasures.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

#include "classlib/forms/Forms.h"
#include "classlib/forms/Menus.h"
#include "skin_layered/forms/BorderForm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/FormScrollBars.h"
#include "skin_layered/forms/ProviderOptions.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleElements.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

bool Zoomed(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsZoomed(Form->Handle()); }
bool Iconic(vcl::TCustomForm* Form) { return Form->HandleAllocated() && IsIconic(Form->Handle()); }

bool AnyVisibleItem(vcl::TMenu* Menu) {
  if (!Menu || !Menu->Items()) return false;
  for (int i = 0; i < Menu->Items()->Count(); ++i)
    if (Menu->Items()->Items(i)->Visible()) return true;
  return false;
}

}  // namespace

int TqvFormMeasures::SysCaptionHeightOfForm() const { return SysCaptionHeight(Form()); }

int TqvFormMeasures::CaptionHeight(bool CheckSkin) const {
  const bool iconic = Form()->HandleAllocated() && IsIconic(Form()->Handle());
  const LONG_PTR style = Form()->HandleAllocated() ? GetWindowLongPtrW(Form()->Handle(), GWL_STYLE) : 0;
  const bool noBorder = Form()->BorderStyle() == vcl::TFormBorderStyle::bsNone && !(style & WS_CHILD);
  if (!iconic && (noBorder || (style & WS_CAPTION) != WS_CAPTION)) return 0;
  int result = CheckSkin && host_.ExtBorderForm() ? SkinTitleHeight(host_.ExtBorderForm()) : 0;
  if (host_.MaximizedBorderLarge()) result = std::max(result, SysCaptionHeightOfForm() + 4);
  return result != 0 ? result : SysCaptionHeightOfForm();
}

int TqvFormMeasures::VisibleSysButtons() const {
  const TsSystemMenu* menu = host_.CurrentSystemMenu();
  if (!menu || !Form()->BorderIcons().Contains(vcl::biSystemMenu)) return 0;
  return 1 + (menu->MaximizeVisible() ? 1 : 0) + (menu->MinimizeVisible() ? 1 : 0) +
         (Form()->BorderIcons().Contains(vcl::biHelp) ? 1 : 0);
}

int TqvFormMeasures::TitleButtonGlyphWidth(int MaskIndex) const {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager || !manager->IsValidImgIndex(MaskIndex)) return 21;
  const TsMaskData& mask = manager->Skin().Images[static_cast<std::size_t>(MaskIndex)];
  if (mask.Bmp) return mask.Bmp->Width() / std::max<int>(1, mask.ImageCount);
  return MaskImageWidth(mask);
}

int TqvFormMeasures::CaptionGlyphHeight(int MaskIndex) const {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager || !manager->IsValidImgIndex(MaskIndex)) return 21;
  return MaskImageHeight(manager->Skin().Images[static_cast<std::size_t>(MaskIndex)]);
}

int TqvFormMeasures::BorderWidthDef() const {
  return DefBorderWidth(Form()->Handle(), host_.ExtBorderForm(), true) + Form()->BorderWidth();
}

int TqvFormMeasures::BorderWidthSys() const {
  return SysBorderWidth(Form()->Handle(), host_.ExtBorderForm(), true) + Form()->BorderWidth();
}

vcl::TSize TqvFormMeasures::ScrollBarsExtent() const {
  return vcl::TSize{host_.ScrollBars().VertBarWidth(), host_.ScrollBars().HorzBarHeight()};
}

bool TqvFormMeasures::HasBorder() const {
  const bool child = Form()->HandleAllocated() && (GetWindowLongPtrW(Form()->Handle(), GWL_STYLE) & WS_CHILD);
  return Form()->BorderStyle() != vcl::TFormBorderStyle::bsNone || child;
}

bool TqvFormMeasures::HasMenuLine() const {
  auto* menu = dynamic_cast<vcl::TMainMenu*>(Form()->Menu());
  return menu && !menu->AutoMerge() && menu->Items() && menu->Items()->Count() > 0 &&
         Form()->FormStyle() != vcl::fsMDIChild && Form()->BorderStyle() != vcl::TFormBorderStyle::bsDialog;
}

bool TqvFormMeasures::GripVisible() const {
  return provider_.GripMode() == gmRightBottom && Form()->HandleAllocated() && !IsZoomed(Form()->Handle()) &&
         HasThickFrame(Form()->Handle());
}

int TqvFormMeasures::TitleIconWidth() const {
  if (!IconVisible()) return 0;
  return host_.TitleIcon()->Width() != 0 ? host_.TitleIcon()->Width() : DefTitleIconSize(CaptionHeight(true));
}

int TqvFormMeasures::TitleIconHeight() const {
  if (!IconVisible()) return 0;
  return host_.TitleIcon()->Height() != 0 ? host_.TitleIcon()->Height() : DefTitleIconSize(CaptionHeight(true));
}

int TqvFormMeasures::TitleHeightByState(bool Zoomed) const {
  const TsSkinManager* manager = host_.SkinManager();
  if (!manager) return 0;
  const TsSkinData& data = manager->Skin().SkinData;
  const int title = data.TitleHeight != 0 ? data.TitleHeight : 30;
  if (Zoomed || (data.MaxHeight != 0 && skin_layered::Zoomed(Form()))) return data.MaxHeight != 0 ? data.MaxHeight : title;
  return title;
}

int TqvFormMeasures::MenuHeight() const { return HasMenuLine() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

int TqvFormMeasures::MenuLinesCount() const {
  if (menu_line_count_ >= 0) return menu_line_count_;
  menu_line_count_ = 0;
  if (!HasMenuLine() || !Form()->HandleAllocated() || Iconic(Form())) return menu_line_count_;
  RECT item{};
  if (!GetMenuItemRect(Form()->Handle(), GetMenu(Form()->Handle()), 0, &item)) return menu_line_count_;
  // A bar the system has not laid out yet (its items just changed): one line for now, counted
  // again once the items have their places.
  if (IsRectEmpty(&item)) {
    menu_line_count_ = -1;
    return 1;
  }
  RECT window{};
  GetWindowRect(Form()->Handle(), &window);
  const int clientTop = window.bottom - ClientHeightOf(Form()->Handle()) - BorderWidthDef() -
                        host_.ScrollBars().HorzBarHeight() - 2 * Form()->BorderWidth();
  const int line = std::max(1, GetSystemMetrics(SM_CYMENU) - 2);
  menu_line_count_ = item.bottom < clientTop ? 1 + (clientTop - item.bottom) / line : 1;
  return menu_line_count_;
}

bool TqvFormMeasures::IconVisible() const {
  const vcl::TFormBorderStyle style = Form()->BorderStyle();
  const TsTitleIcon* icon = host_.TitleIcon();
  return icon && icon->Visible() && provider_.ShowAppIcon() &&
         (style == vcl::TFormBorderStyle::bsSingle || style == vcl::TFormBorderStyle::bsSizeable) && Form()->BorderIcons().Contains(vcl::biSystemMenu);
}

bool TqvFormMeasures::MenuVisible() const {
  if (Form()->BorderStyle() == vcl::TFormBorderStyle::bsDialog || Form()->FormStyle() == vcl::fsMDIChild) return false;
  if (AnyVisibleItem(dynamic_cast<vcl::TMenu*>(Form()->Menu()))) return true;
  if (Form()->FormStyle() == vcl::fsMDIForm)
    if (vcl::TCustomForm* child = Form()->ActiveMDIChild()) return AnyVisibleItem(dynamic_cast<vcl::TMenu*>(child->Menu()));
  return false;
}

vcl::String TqvFormMeasures::TitleSkinSection() const {
  const vcl::String& section = provider_.TitleSkin();
  return section.empty() ? L"FORMTITLE" : section;
}

int TqvFormMeasures::GetTitleSkinIndex() const {
  if (title_skin_index_ < 0)
    if (const TsSkinManager* manager = host_.SkinManager()) title_skin_index_ = manager->GetSkinIndex(TitleSkinSection());
  return title_skin_index_;
}

int TqvFormMeasures::BorderIconsTop() const {
  const TsSkinManager* manager = host_.SkinManager();
  const bool zoomed = Zoomed(Form());
  if (!host_.ExtBorderForm() || !manager) return zoomed ? 6 : 0;
  const TsSkinData& data = manager->Skin().SkinData;
  if (!zoomed) return host_.WindowImage().ShadowSize().Top + data.BITop;
  const int extra = data.MaxHeight != 0 && data.MaxHeight != data.TitleHeight ? data.TitleHeight - data.MaxHeight : 0;
  return host_.WindowImage().ShadowSize().Top + 4 + std::max(0, extra);
}

}  // namespace skin_layered
