#include "skin_layered/paint/GlowWindows.h"

#include <algorithm>
#include <vector>

#include "classlib/rtl/UnitInit.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/WindowUtils.h"
#include "skin_layered/paint/Bitmap32.h"
#include "skin_layered/paint/LayeredWindows.h"
#include "skin_layered/paint/PaintStartup.h"
#include "skin_layered/paint/SkinImages.h"

namespace skin_layered {
namespace {

// A tool window that never activates, layered and transparent to the mouse.
constexpr DWORD kGlowExStyle = WS_EX_NOACTIVATE | WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT;
constexpr UINT kGlowPlacing = SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
// Keeps every skinning service away from the form.
constexpr int kNoSkinTag = 256;

struct TGlowList {
  std::vector<std::unique_ptr<TqvGlowEffect>> Effects;
  bool Destroying = false;   // a glow's form is being destroyed
  bool Finalizing = false;   // the unit stops: no message loop will free a released form
};

TGlowList& Glows() {
  static TGlowList list;
  return list;
}

// Sets the destroying flag for a scope.
class TDestroyingScope {
 public:
  TDestroyingScope() : was_(Glows().Destroying) { Glows().Destroying = true; }
  ~TDestroyingScope() { Glows().Destroying = was_; }
  TDestroyingScope(const TDestroyingScope&) = delete;
  TDestroyingScope& operator=(const TDestroyingScope&) = delete;

 private:
  bool was_;
};

bool ApplicationTerminating() { return !vcl::Application || vcl::Application->Terminated(); }

void StopGlows() {
  Glows().Finalizing = true;
  ClearGlows(false);
  Glows().Effects.shrink_to_fit();
  Glows().Finalizing = false;
}

const vcl::TUnitRegistration kGlowUnit{vcl::TUnitGroup::LayeredPaint, 70, L"GlowWindows", nullptr, &StopGlows};

}  // namespace

VCL_CLASS_INFO(TqvGlowForm) {}

TqvGlowForm::TqvGlowForm(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
  SetBorderStyle(vcl::TFormBorderStyle::bsNone);
  SetTag(kNoSkinTag);
}

TqvGlowForm::~TqvGlowForm() {
  if (effect_) effect_->form_ = nullptr;
}

void TqvGlowForm::CreateParams(vcl::TCreateParams& Params) {
  TForm::CreateParams(Params);
  // Not owned by the application's windows, and no drop shadow on this class of its own.
  Params.WndParent = nullptr;
  Params.ExStyle &= ~static_cast<DWORD>(WS_EX_APPWINDOW);
  Params.WindowClass.style &= ~static_cast<UINT>(CS_DROPSHADOW);
}

void TqvGlowForm::WndProc(vcl::TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TForm::WndProc(Message);
}

TqvGlowEffect::TqvGlowEffect(const TqvControlSkin& Data)
    : skin_(Data.SkinOrDefault()), manager_(Data.Manager), changes_(Data.Changes) {}

TqvGlowEffect::~TqvGlowEffect() {
  if (form_)
    DropForm(Glows().Finalizing || ApplicationTerminating() ||
             (manager_ && manager_->ComponentState().Contains(vcl::csDestroying)));
}

void TqvGlowEffect::DropForm(bool AtOnce) {
  TqvGlowForm* form = form_;
  if (!form) return;
  form_ = nullptr;
  form->effect_ = nullptr;
  const TDestroyingScope destroying;
  if (AtOnce || !form->HandleAllocated())
    vcl::TObject::Free(form);
  else
    form->Release();
}

void TqvGlowEffect::Show(const vcl::TRect& R, HWND OwnerWnd, int Alpha) {
  if (form_ || !skin_ || !skin_->IsValidImgIndex(image_index_)) return;
  const int w = R.Width() + skin_->MaskWidthLeft(image_index_) + skin_->MaskWidthRight(image_index_) - 2 * margin_;
  const int h = R.Height() + skin_->MaskWidthTop(image_index_) + skin_->MaskWidthBottom(image_index_) - 2 * margin_;
  if (w <= 0 || h <= 0) return;

  // The halo: the glow image in nine parts over transparent black, its mask giving the
  // alpha (so the colours come out premultiplied), in the control's colours.
  bitmap_ = CreateBmp32(w, h);
  DrawSkinRect32(bitmap_.get(), {0, 0, w, h}, kEmptyCacheInfo, skin_->Images[static_cast<std::size_t>(image_index_)],
                 0);
  ApplyColorChanges(bitmap_.get(), {0, 0, w, h}, changes_);

  // Right above the control's window in z-order, or among the topmost windows with it.
  HWND after = HWND_TOPMOST;
  if (!OwnerWnd || !(GetWindowLongPtrW(OwnerWnd, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
    // Nothing above the control's window: the top (behind that window the halo would be
    // hidden where it lies over it).
    after = OwnerWnd ? GetWindow(OwnerWnd, GW_HWNDPREV) : nullptr;
    if (!after) after = HWND_TOP;
  }
  const int x = R.Left - skin_->MaskWidthLeft(image_index_) + margin_;
  const int y = R.Top - skin_->MaskWidthTop(image_index_) + margin_;

  form_ = vcl::Construct<TqvGlowForm>(nullptr);
  form_->effect_ = this;
  form_->SetBounds(x, y, w, h);
  HWND wnd = form_->Handle();
  // Layered once the form has set up its window (a form without alpha blending clears it).
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | kGlowExStyle);
  PlaceWindowAfter(wnd, after, x, y, 0, 0, kGlowPlacing, OwnerWnd);

  UpdateLayeredWnd(wnd, bitmap_.get(), static_cast<std::uint8_t>(std::clamp(Alpha, 0, 255)));
  ShowWindow(wnd, SW_SHOWNOACTIVATE);
}

int AddGlow(const vcl::TRect& R, vcl::StringView SectionName, vcl::StringView MaskName, int Margin, int Alpha,
            HWND OwnerWnd, const TqvControlSkin* SkinData) {
  // A halo is partly transparent throughout: where the display would show it opaque, none.
  if (!LayeredApiAvailable() || !PerPixelAlphaShown() || !SkinData) return kNoIndex;
  auto effect = std::make_unique<TqvGlowEffect>(*SkinData);
  if (!effect->skin_) return kNoIndex;
  const int image = effect->skin_->FindImageByNames(SectionName, vcl::String(MaskName) + L"0");
  if (image < 0) return kNoIndex;
  effect->image_index_ = image;
  effect->margin_ = Margin;
  TqvGlowEffect* shown = effect.get();
  std::vector<std::unique_ptr<TqvGlowEffect>>& effects = Glows().Effects;
  effects.push_back(std::move(effect));
  const int index = static_cast<int>(effects.size()) - 1;
  shown->Show(R, OwnerWnd, Alpha);
  return index;
}

void RemoveGlow(int& Index) {
  std::vector<std::unique_ptr<TqvGlowEffect>>& effects = Glows().Effects;
  if (Index < 0 || Index >= static_cast<int>(effects.size()) || !effects[static_cast<std::size_t>(Index)]) return;
  // The slot is emptied before anything is freed: whatever runs meanwhile finds it gone.
  std::unique_ptr<TqvGlowEffect> effect = std::move(effects[static_cast<std::size_t>(Index)]);
  Index = kNoIndex;
  effect.reset();  // lets its form go, once
}

void ClearGlows(bool DestroyForms) {
  // Taken out first, so that a glow added or removed while forms are destroyed finds a
  // consistent list.
  std::vector<std::unique_ptr<TqvGlowEffect>> effects = std::move(Glows().Effects);
  Glows().Effects.clear();
  for (std::unique_ptr<TqvGlowEffect>& effect : effects) {
    if (!effect) continue;
    if (DestroyForms) effect->DropForm(true);
    effect.reset();
  }
}

int GlowCount() { return static_cast<int>(Glows().Effects.size()); }

const TqvGlowEffect* GlowAt(int Index) {
  const std::vector<std::unique_ptr<TqvGlowEffect>>& effects = Glows().Effects;
  return Index >= 0 && Index < static_cast<int>(effects.size()) ? effects[static_cast<std::size_t>(Index)].get()
                                                                : nullptr;
}

bool GlowDestroying() { return Glows().Destroying; }

}  // namespace skin_layered
