// The provider's answers to its border form: what the border form asks (BorderOwner.h), read
// from and handed on to the provider it belongs to.
#include <algorithm>
#include <utility>

#include "skin_layered/forms/BorderOwner.h"
#include "skin_layered/forms/FormAnimations.h"
#include "skin_layered/forms/RubberFrame.h"
#include "skin_layered/forms/SkinProvider.h"
#include "skin_layered/manager/Animations.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

// The border form reads the provider's flag word by its own names for the animations' bits.
static_assert(kExtBlendMoving == kBorderBlendMoving && kExtMinimizing == kBorderMinimizing &&
              kExtHiding == kBorderHiding && kExtRestoring == kBorderRestoring &&
              kExtSkinChanging == kBorderSkinChanging);

class TsProviderBorderOwner final : public TqvBorderOwner {
 public:
  explicit TsProviderBorderOwner(TsSkinProvider& Provider) : provider_(Provider) {}

  vcl::TCustomForm* Form() const override { return provider_.Form; }
  bool Destroying() const override { return provider_.ComponentState().Contains(vcl::csDestroying); }
  TsCommonData* SkinData() const override { return provider_.SkinData; }
  bool DrawsNonClientArea() const override { return provider_.DrawNonClientArea; }
  bool Frozen() const override { return provider_.Frozen; }
  bool Animating() const override { return provider_.Animator().Timer() != nullptr; }
  bool MaxBorderLarge() const override { return provider_.MaxBorderLarge; }
  std::uint32_t Flags() const override { return provider_.ExtFlags; }
  void SetFlags(std::uint32_t Value) override { provider_.ExtFlags = Value; }
  vcl::TRect& StretchSaved() override { return provider_.StretchSaved; }

  int CaptionHeight(bool CheckSkin) const override { return provider_.Measures().CaptionHeight(CheckSkin); }
  int MenuLinesHeight() const override {
    const TqvFormMeasures& measures = provider_.Measures();
    if (!measures.HasMenuLine() || !measures.MenuVisible()) return 0;
    return measures.MenuLinesCount() * measures.MenuHeight();
  }
  vcl::TRect IconRect() const override { return provider_.CaptionButtons().IconRect; }
  vcl::TPoint ClientOffset() const override {
    const TqvWindowImage& image = provider_.WindowImage();
    return vcl::TPoint(image.OffsetX(), image.OffsetY());
  }
  vcl::TRect ShadowSize() const override { return provider_.WindowImage().ShadowSize(); }
  void PaintAll() override { provider_.PaintAll(); }
  std::unique_ptr<vcl::TBitmap> FormSnapshot() const override { return provider_.FormSnapshot(false); }
  void DropBorderForm() override { provider_.InitExBorders(false); }

  int TitleElementAt(vcl::TPoint P) const override { return provider_.FrameMouse().TitleElementAt(P); }
  void SetHotElement(int Code, bool Repaint) override { provider_.FrameMouse().SetHotElement(Code, Repaint); }
  void PressElement(int Code) override { provider_.FrameMouse().PressElement(Code); }
  bool FadeOutBorderPicture() override {
    TsSkinProvider& P = provider_;
    TsSkinManager* manager = P.SkinManager();
    TqvBorderForm* border = P.ExtBorderForm();
    const HWND borderWnd = border ? border->BorderWindow() : nullptr;
    const TqvFormHide* hide = manager ? manager->AnimEffects()->FormHide() : nullptr;
    if (!borderWnd || !hide || !hide->Active() || !P.AllowAnimation() || HideAnimationForm() || !P.Form->HandleAllocated())
      return false;
    // The whole picture as the border window shows it, the client part painted in.
    P.ExtFlags |= kExtHiding;
    std::unique_ptr<vcl::TBitmap> picture = P.FormSnapshot(true);
    P.ExtFlags &= ~kExtHiding;
    if (!picture) return false;
    const std::uint8_t alpha =
        P.Form->AlphaBlend() ? static_cast<std::uint8_t>(std::clamp(P.Form->AlphaBlendValue(), 0, 255)) : 255;
    StartHideAnimation(CreateSnapshotForm(borderWnd), std::move(picture), hide->Time(), P.Form->Handle(),
                       hide->Mode() == atAero ? 1 : 0, alpha);
    return true;
  }
  bool OutlineRunning() const override {
    return provider_.Form->HandleAllocated() && RubberFrame().Running() &&
           RubberFrame().Window() == provider_.Form->Handle();
  }
  void EndOutline(vcl::TPoint Screen) override { provider_.FrameMouse().EndRubberFrameAt(Screen); }
  void CaptionDoubleClicked() override { provider_.FrameMouse().BorderCaptionDoubleClick(); }
  void TitleBarItemDoubleClicked(int Code) override { provider_.FrameMouse().TitleBarItemDoubleClick(Code); }
  void KillAnimations() override { provider_.KillAnimations(); }
  int ExtHitTest(vcl::TMessage& Message) override {
    if (!provider_.OnExtHitTest) return 0;
    Message.Result = 0;
    provider_.OnExtHitTest(Message);
    return static_cast<int>(Message.Result);
  }
  TsSystemMenu* SystemMenu() const override { return provider_.CurrentSystemMenu(); }

  TqvShownScrollBars ShownScrollBars() const override { return provider_.ScrollBars().Shown(); }
  vcl::TSize ScrollBarsExtent() const override {
    return vcl::TSize{provider_.ScrollBars().VertBarWidth(), provider_.ScrollBars().HorzBarHeight()};
  }
  bool GripVisible() const override { return provider_.Measures().GripVisible(); }
  vcl::TPoint GripPos(int MaskIndex) const override { return provider_.WindowImage().GripPos(MaskIndex); }

  bool ScreenSnap() const override { return provider_.ScreenSnap(); }
  void SnapToForms(int& X, int& Y) override { provider_.SnapToForms(X, Y); }
  void MoveGluedForms() override { provider_.MoveGluedForms(true); }

 private:
  TsSkinProvider& provider_;
};

}  // namespace

std::unique_ptr<TqvBorderOwner> MakeBorderOwner(TsSkinProvider& Provider) {
  return std::make_unique<TsProviderBorderOwner>(Provider);
}

}  // namespace skin_layered
