#include "skin_layered/manager/SkinChangeForms.h"

#include "classlib/forms/Forms.h"
#include "classlib/rtl/ScopeExit.h"
#include "skin_layered/core/AnimationFlag.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/Animations.h"

namespace skin_layered {
namespace {

bool ApplicationMinimized() {
  if (!vcl::Application) return false;
  if (IsIconic(vcl::Application->Handle())) return true;
  vcl::TCustomForm* main = vcl::Application->MainForm();
  return vcl::Application->MainFormOnTaskBar() && main && main->HandleAllocated() && IsIconic(main->Handle());
}

bool Destroying(const vcl::TComponent* C) { return C->ComponentState().Contains(vcl::csDestroying); }

TsSkinProviderBase* ProviderOf(vcl::TCustomForm* Form) {
  return reinterpret_cast<TsSkinProviderBase*>(SendCommandToCtrl(Form, scmGetProvider, 0));
}

std::uint8_t FormAlpha(const vcl::TCustomForm& Form) {
  return Form.AlphaBlend() ? static_cast<std::uint8_t>(Form.AlphaBlendValue()) : 255;
}

HWND BorderWindowOf(const TsSkinProviderBase& Provider) {
  return Provider.BorderForm ? Provider.BorderForm->BorderWindow() : nullptr;
}

void SetBorderRegion(TsSkinProviderBase& Provider, BOOL Redraw) {
  if (HWND border = BorderWindowOf(Provider)) SetWindowRgn(border, Provider.BorderForm->MakeFormRgn(), Redraw);
}

// AnimationActive is on while the default manager changes its skin with the animation.
bool MarkAnimation(TqvSkinChangeManager& Manager) {
  if (!Manager.IsDefaultManager() || !Manager.SkinChanging().Active) return false;
  SetAnimationActive(true);
  return true;
}

// Painting resumes, the snapshot goes and the form is painted anew.
void GiveBack(vcl::TCustomForm* Form) {
  if (!IsFormRegistered(Form) || Destroying(Form)) return;
  TsSkinProviderBase* provider = ProviderOf(Form);
  if (!provider) return;
  provider->PaintingSuspended = false;
  provider->State &= ~kProviderChangeSnapshot;
  provider->Snapshot.reset();
  if (Form->HandleAllocated())
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void GiveBackAll(const std::vector<vcl::TCustomForm*>& Forms, bool ClearAnimation) {
  for (vcl::TCustomForm* form : Forms) GiveBack(form);
  if (ClearAnimation) SetAnimationActive(false);
}

// SaveFormImages, noting each form it touched; a failure part way gives them back.
bool SaveInto(TqvSkinChangeManager& Manager, std::vector<vcl::TCustomForm*>& Forms) {
  if (ApplicationMinimized() || Manager.DesigningOrLoading()) return false;
  const bool marked = MarkAnimation(Manager);
  auto give_back = vcl::TScopeExit([&] { GiveBackAll(Forms, marked); });
  ForEachSkinnedForm(Manager, [&](vcl::TCustomForm& form, TsSkinProviderBase& provider) {
    Forms.push_back(&form);
    if (BorderWindowOf(provider)) {
      provider.State |= kProviderChangeSnapshot;
      provider.Snapshot = provider.StartMinAnimation(false);
    }
    provider.PaintingSuspended = true;
  });
  give_back.Dismiss();
  return marked;
}

void FreezeForm(TqvSkinChangeManager& Manager, vcl::TCustomForm& Form, TsSkinProviderBase& Provider) {
  Provider.PaintingSuspended = true;
  Provider.State |= kProviderChangeFrozen;
  if (HWND border = BorderWindowOf(Provider); border && Provider.Snapshot) {
    Manager.UpdateLayeredWnd(border, *Provider.Snapshot, FormAlpha(Form));
    SetBorderRegion(Provider, FALSE);
  }
  SendMessageW(Form.Handle(), WM_SETREDRAW, 0, 0);
}

// A maximised form under a border form whose title height changed is maximised again, so that
// the system lays it out for the new frame.
void ReMaximize(vcl::TCustomForm& Form, TsSkinProviderBase& Provider) {
  if (!Provider.BorderForm || !IsZoomed(Form.Handle())) return;
  const int height = Provider.Measures().TitleHeightByState(false);
  if (height == Provider.MaximizedTitleHeight) return;
  Provider.MaximizedTitleHeight = height;
  const HWND active = GetActiveWindow();
  const HWND h = Form.Handle();
  SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_VISIBLE));
  ShowWindow(h, SW_MAXIMIZE);
  SetWindowLongPtrW(h, GWL_STYLE, GetWindowLongPtrW(h, GWL_STYLE) | WS_VISIBLE);
  if (active && active != GetActiveWindow()) SetActiveWindow(active);
}

void UnlockForm(TqvSkinChangeManager& Manager, vcl::TCustomForm& Form, TsSkinProviderBase& Provider, int Animate) {
  const HWND h = Form.Handle();
  if (Animate != 1) {
    Provider.State &= ~kProviderChangeSnapshot;
    SendMessageW(h, WM_SETREDRAW, 1, 0);
    Provider.PaintingSuspended = false;
  } else {
    const TqvSkinChangeAnimation animation = Manager.SkinChanging();
    if (animation.Active) {
      if (Provider.DrawNonClientArea)
        Manager.AnimChangeForm(Form, animation.Time, FormAlpha(Form), animation.Mode == atAero);
      else
        Manager.AnimChangeForm(Form, 0, 255, false);
    }
    Provider.State &= ~kProviderChangeSnapshot;
    ReMaximize(Form, Provider);
    Provider.PaintingSuspended = false;
    if (Provider.DrawNonClientArea) {
      Provider.UpdateRgn();
      Provider.UpdateTaskbarPreview(true);
      RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      if (BorderWindowOf(Provider)) {
        SetBorderRegion(Provider, TRUE);
        Provider.BorderForm->UpdateExBordersPos(true, 255);
      }
    } else {
      RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
    }
  }
  Provider.State &= ~kProviderChangeFrozen;
}

}  // namespace

void TqvSkinChangeManager::AnimChangeForm(vcl::TCustomForm& Form, int Time, std::uint8_t Alpha, bool Aero) {
  skin_layered::AnimChangeForm(&Form, Time, Alpha, Aero);
}

void ForEachSkinnedForm(TqvSkinChangeManager& Manager, const TqvSkinnedFormProc& Proc) {
  const std::vector<vcl::TCustomForm*> forms = RegisteredForms();
  for (vcl::TCustomForm* form : forms) {
    if (!IsFormRegistered(form) || Destroying(form)) continue;
    if (form->FormStyle() == vcl::fsMDIChild || form->Parent() || !form->HandleAllocated()) continue;
    const HWND h = form->Handle();
    // Visible as a control: a frozen form's window has lost WS_VISIBLE to WM_SETREDRAW.
    if (form->WindowState() == vcl::wsMinimized || IsIconic(h) || !form->Visible()) continue;
    TsSkinProviderBase* provider = ProviderOf(form);
    if (!provider || !Manager.UsesProvider(*provider)) continue;
    Proc(*form, *provider);
  }
}

void SaveFormImages(TqvSkinChangeManager& Manager) {
  std::vector<vcl::TCustomForm*> forms;
  SaveInto(Manager, forms);
}

void LockForms(TqvSkinChangeManager& Manager) {
  if (ApplicationMinimized()) return;
  MarkAnimation(Manager);
  ForEachSkinnedForm(Manager, [&](vcl::TCustomForm& form, TsSkinProviderBase& provider) {
    FreezeForm(Manager, form, provider);
  });
}

void UnlockForms(TqvSkinChangeManager& Manager, int Animate) {
  if (ApplicationMinimized()) return;
  if (Manager.IsDefaultManager()) SetAnimationActive(false);
  ForEachSkinnedForm(Manager, [](vcl::TCustomForm& form, TsSkinProviderBase& provider) {
    if (provider.State & kProviderChangeFrozen) SendMessageW(form.Handle(), WM_SETREDRAW, 1, 0);
  });
  ForEachSkinnedForm(Manager, [&](vcl::TCustomForm& form, TsSkinProviderBase& provider) {
    if (provider.State & kProviderChangeFrozen) UnlockForm(Manager, form, provider, Animate);
  });
}

TqvSavedFormImages::TqvSavedFormImages(TqvSkinChangeManager& Manager) { set_animation_ = SaveInto(Manager, forms_); }

TqvSavedFormImages::~TqvSavedFormImages() {
  if (kept_) return;
  try {
    GiveBackAll(forms_, set_animation_);
  } catch (...) {
    // A form that fails while being given back stays as it is; the others were handled.
  }
}

}  // namespace skin_layered
