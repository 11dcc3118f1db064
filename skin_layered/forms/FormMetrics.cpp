#include "skin_layered/forms/FormMetrics.h"

#include <cstdint>

#include "classlib/forms/Forms.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

// Read once: a change of the system's caption metrics during the run is not seen.
int CaptionHeightCache(bool Small) {
  static int normal = 0, small = 0;
  int& cache = Small ? small : normal;
  if (cache == 0) cache = GetSystemMetrics(Small ? SM_CYSMCAPTION : SM_CYCAPTION);
  return cache;
}

LONG_PTR StyleOf(HWND Wnd) { return Wnd ? GetWindowLongPtrW(Wnd, GWL_STYLE) : 0; }

}  // namespace

int SysCaptionHeight(const vcl::TCustomForm* Form) {
  if (!Form) return CaptionHeightCache(false);
  const bool tool = Form->BorderStyle() == vcl::TFormBorderStyle::bsToolWindow || Form->BorderStyle() == vcl::TFormBorderStyle::bsSizeToolWin;
  auto* form = const_cast<vcl::TCustomForm*>(Form);
  const bool minimised = form->HandleAllocated() && IsIconic(form->Handle());
  return CaptionHeightCache(tool && !minimised);
}

bool HasThickFrame(HWND Wnd) { return (StyleOf(Wnd) & WS_THICKFRAME) != 0; }

bool IsSingleImageMask(int Index, const TsSkinManager* Manager) {
  if (Index < 0) return true;
  if (!Manager || !Manager->IsValidImgIndex(Index)) return false;
  return Manager->Skin().Images[static_cast<std::size_t>(Index)].ImageCount == 1;
}

int TitleButtonsRightMargin(int Margin, int Room, int Frame) { return Margin < -Frame || Margin > Room ? 0 : Margin; }

int TitleButtonsGap(int Gap, std::int64_t Buttons, int Spaces, int Narrowest, std::int64_t Room) {
  if (Spaces <= 0 || Gap <= -static_cast<std::int64_t>(Narrowest)) return 0;
  return Buttons + static_cast<std::int64_t>(Spaces) * Gap <= Room ? Gap : 0;
}

int DefTitleIconSize(int CaptionHeight) {
  if (CaptionHeight >= -100 && CaptionHeight <= 8) return 1;
  if (CaptionHeight >= 9 && CaptionHeight <= 16) return 8;
  return 16;
}

int WndWidth(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return r.right - r.left;
}

int WndHeight(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return r.bottom - r.top;
}

int ClientWidthOf(HWND Wnd) {
  RECT r{};
  GetClientRect(Wnd, &r);
  return r.right - r.left;
}

int ClientHeightOf(HWND Wnd) {
  RECT r{};
  GetClientRect(Wnd, &r);
  return r.bottom - r.top;
}

TsSkinProvider* GetSkinProvider(vcl::TComponent* Component) {
  vcl::TCustomForm* form = nullptr;
  for (vcl::TComponent* c = Component; c && !form; c = c->Owner()) form = dynamic_cast<vcl::TCustomForm*>(c);
  if (!form) return nullptr;
  // A form without its window is asked through its window procedure (the provider's hook).
  const LRESULT answer = form->HandleAllocated()
                             ? SendCommandToWnd(form->Handle(), scmGetProvider, 0)
                             : form->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetProvider), 0);
  return reinterpret_cast<TsSkinProvider*>(answer);
}

}  // namespace skin_layered
