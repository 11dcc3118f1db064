#include "skin_layered/forms/SkinProvider.h"

#include "classlib/forms/Menus.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/FormRegistry.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FormMetrics.h"
#include "skin_layered/forms/GluedForms.h"
#include "skin_layered/forms/ProviderUnit.h"
#include "skin_layered/forms/SystemMenu.h"
#include "skin_layered/forms/TitleBar.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered {

VCL_CLASS_INFO(TsSkinProvider) {
  p.Object<&TsSkinProvider::AddedTitle, &TsSkinProvider::SetAddedTitle>(L"AddedTitle", TqvAddedTitle::StaticClass());
  p.Bool<&TsSkinProvider::AllowAnimation, &TsSkinProvider::SetAllowAnimation>(L"AllowAnimation", true);
  p.Bool<&TsSkinProvider::AllowExtBorders, &TsSkinProvider::SetAllowExtBorders>(L"AllowExtBorders", true);
  p.Bool<&TsSkinProvider::AllowBlendOnMoving, &TsSkinProvider::SetAllowBlendOnMoving>(L"AllowBlendOnMoving", true);
  p.Enum<&TsSkinProvider::CaptionAlignment, &TsSkinProvider::SetCaptionAlignment>(
      L"CaptionAlignment", static_cast<int64_t>(vcl::taLeftJustify));
  p.Bool<&TsSkinProvider::GetDrawNonClientArea, &TsSkinProvider::SetDrawNonClientArea>(L"DrawNonClientArea", true);
  p.Bool<&TsSkinProvider::DrawClientArea, &TsSkinProvider::SetDrawClientArea>(L"DrawClientArea", true);
  p.Object<&TsSkinProvider::GluedForms, &TsSkinProvider::SetGluedForms>(L"GluedForms",
                                                                     vcl::TStringList::StaticClass());
  p.Object<&TsSkinProvider::GetSkinData, &TsSkinProvider::SetSkinData>(L"SkinData", TsScrollWndData::StaticClass());
  p.Enum<&TsSkinProvider::GripMode, &TsSkinProvider::SetGripMode>(L"GripMode", static_cast<int64_t>(gmNone));
  p.Bool<&TsSkinProvider::MakeSkinMenu, &TsSkinProvider::SetMakeSkinMenu>(L"MakeSkinMenu", false);
  p.String<&TsSkinProvider::MenuLineSkin, &TsSkinProvider::SetMenuLineSkin>(L"MenuLineSkin");
  p.Enum<&TsSkinProvider::ResizeMode, &TsSkinProvider::SetResizeMode>(L"ResizeMode",
                                                                     static_cast<int64_t>(rmStandard));
  p.Bool<&TsSkinProvider::ScreenSnap, &TsSkinProvider::SetScreenSnap>(L"ScreenSnap", false);
  p.Integer<&TsSkinProvider::SnapBuffer, &TsSkinProvider::SetSnapBuffer>(L"SnapBuffer", 10);
  p.Bool<&TsSkinProvider::ShowAppIcon, &TsSkinProvider::SetShowAppIcon>(L"ShowAppIcon", true);
  p.Object<&TsSkinProvider::SysSubMenu, &TsSkinProvider::SetSysSubMenu>(L"SysSubMenu", TqvSysSubMenu::StaticClass());
  p.Object<&TsSkinProvider::TitleBar, &TsSkinProvider::SetTitleBar>(L"TitleBar", TsTitleBar::StaticClass());
  p.Object<&TsSkinProvider::TitleButtons, &TsSkinProvider::SetTitleButtons>(L"TitleButtons",
                                                                         TsTitleButtons::StaticClass());
  p.Object<&TsSkinProvider::TitleIcon, &TsSkinProvider::SetTitleIcon>(L"TitleIcon", TsTitleIcon::StaticClass());
  p.String<&TsSkinProvider::TitleSkin, &TsSkinProvider::SetTitleSkin>(L"TitleSkin");
  p.Bool<&TsSkinProvider::UseGlobalColor, &TsSkinProvider::SetUseGlobalColor>(L"UseGlobalColor", true);
  p.Event<&TsSkinProvider::OnAfterAnimation>(L"OnAfterAnimation");
  p.Event<&TsSkinProvider::OnExtHitTest>(L"OnExtHitTest");
  p.Event<&TsSkinProvider::OnSkinItem>(L"OnSkinItem");
  p.Event<&TsSkinProvider::OnSkinItemEx>(L"OnSkinItemEx");
}

namespace {

bool Designing(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDesigning); }
bool BeingDestroyed(const vcl::TComponent* C) { return C && C->ComponentState().Contains(vcl::csDestroying); }

// The last title bar component among the form's components.
TsTitleBar* LastTitleBar(const vcl::TComponent* Form) {
  TsTitleBar* found = nullptr;
  for (int i = 0; i < Form->ComponentCount(); ++i)
    if (auto* bar = dynamic_cast<TsTitleBar*>(Form->Components(i))) found = bar;
  return found;
}

}  // namespace

TProviderUnit& ProviderUnit() {
  static TProviderUnit unit;
  return unit;
}

bool TitleButtonPressed() { return ProviderUnit().ButtonPressed; }
void SetTitleButtonPressed(bool Value) { ProviderUnit().ButtonPressed = Value; }
bool ProviderShuttingDown() { return ProviderUnit().ShuttingDown; }
TqvSkinEditorLink& SkinEditorLink() { return ProviderUnit().EditorLink; }
TsSkinProvider* MDIProvider() { return ProviderUnit().MDIProvider; }
void SetMDIProvider(TsSkinProvider* Provider) { ProviderUnit().MDIProvider = Provider; }
bool CaptionGlowNewSkinsOnly() { return ProviderUnit().CaptionGlowNewSkinsOnly; }
void SetCaptionGlowNewSkinsOnly(bool Value) { ProviderUnit().CaptionGlowNewSkinsOnly = Value; }

TqvTitleBarHost* TitleBarHostOf(vcl::TCustomForm* Form) { return GetSkinProvider(Form); }

// ---------------------------------------------------------------------------------------
// Creation and takeover

vcl::TComponent* TsSkinProvider::CheckedOwner(vcl::TComponent* AOwner) {
  auto* form = dynamic_cast<vcl::TCustomForm*>(AOwner);
  if (!form) throw vcl::EAbort(kFormsOnlyMessage);
  if (!Designing(form)) return AOwner;
  // A designed form takes one provider; one the library attached is dropped instead.
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TsSkinProvider*>(form->Components(i))) throw vcl::EAbort(kOneProviderMessage);
  return AOwner;
}

TsSkinProvider::TsSkinProvider(vcl::TComponent* AOwner) : TqvProviderOptions(CheckedOwner(AOwner)) {
  SkinEditorLink().ReadSwitch();
  Form = static_cast<vcl::TCustomForm*>(AOwner);
  if (Designing(Form)) {
    if (auto* other = reinterpret_cast<TsSkinProvider*>(
            Form->Perform(kSkinCmdMessage, SkinCommandWParam(scmGetProvider), 0))) {
      if (other->AutoCreated)
        vcl::TObject::Free(other);
      else
        OtherProvider = true;
    }
    title_bar_ = LastTitleBar(Form);
  }

  AeroAtStart = AeroIsEnabled();
  skin_data_ = std::make_unique<TsScrollWndData>(this, false);
  SkinData = skin_data_.get();
  skin_data_->SetSkinSection(L"FORM");
  skin_data_->COC = kFormControlCode;
  if (!Form->ControlState().Empty() && Form->BorderStyle() != vcl::TFormBorderStyle::bsNone) skin_data_->Updating = true;
  added_title_ = std::make_unique<TqvAddedTitle>(this);
  title_icon_ = std::make_unique<TsTitleIcon>(this);
  title_buttons_ = std::make_unique<TsTitleButtons>(this);
  sys_sub_menu_ = std::make_unique<TqvSysSubMenu>();

  if (!Designing(this) && !OtherProvider) TakeOver();
}

TsSkinProvider* TsSkinProvider::CreateEx(vcl::TComponent* AOwner) {
  auto* provider = vcl::Construct<TsSkinProvider>(AOwner);
  provider->AutoCreated = true;
  provider->title_bar_ = LastTitleBar(provider->Form);
  return provider;
}

void TsSkinProvider::TakeOver() {
  temp_bmp_ = std::make_unique<vcl::TBitmap>();
  temp_bmp_->Canvas()->Lock();
  work_bmp_ = CreateBmp32(0, 0);
  MenuLineCount = -1;
  hook_.Install(Form, vcl::TWndMethod::Bind<&TsSkinProvider::NewWndProc>(this));
  window_events_ =
      std::make_unique<vcl::TWindowEventLink>(vcl::TWindowEventHandler::Bind<&TsSkinProvider::WindowEvent>(this));
  RegisterForm(Form);
  FormActive = true;
}

void TsSkinProvider::CallOldWndProc(vcl::TMessage& Message) { hook_.CallPrevious(Message); }

LRESULT TsSkinProvider::SendToProvider(UINT Msg, WPARAM WParam, LPARAM LParam) {
  vcl::TMessage m{Msg, WParam, LParam, 0};
  NewWndProc(m);
  return m.Result;
}

void TsSkinProvider::AfterConstruction() {
  TsSkinProviderBase::AfterConstruction();
  TsSkinManager* manager = SkinManager();
  if (!OtherProvider && !AutoCreated && manager && manager->Active() && !Designing(this)) InitMenuItems();
  ArriveIfMissed();
}

void TsSkinProvider::ArriveIfMissed() {
  TsSkinManager* manager = SkinManager();
  if (Designing(this) || OtherProvider || !hook_.Installed() || BeingDestroyed(Form) || !Form->HandleAllocated() ||
      !manager || !manager->Active() || !manager->Skin().SkinData.Active)
    return;
  // The section is looked up in the skin loaded meanwhile.
  SkinData->UpdateIndexes(true);
  if (FormSkinned()) {
    SkinArrived();
    PrepareForm();
  } else if (!AutoCreated) {
    // Without the form's own section the form keeps the system's frame and face while its
    // controls take their adapters, as they do when such a skin comes to a form already
    // shown (a provider the library attached does so when it prepares the form).
    SkinArrived();
  }
}

void TsSkinProvider::Loaded() {
  TsSkinProviderBase::Loaded();
  if (OtherProvider || AutoCreated || !SkinManager() || Designing(this) || !skin_data_->Skinned(true)) return;
  PrepareForm();
}

void TsSkinProvider::PrepareForm() {
  if (Form->HandleAllocated()) DisableDwmTransitions(Form->Handle(), DrawNonClientArea);
  InitMenuItems();
  if (!adapters_.CtrlAdapter()) adapters_.AddAllAdapters();
  if (menus_.SystemMenu()) menus_.SystemMenu()->UpdateItems(false);
  TsSkinManager* manager = SkinManager();
  const int glyph = manager ? manager->GetMaskIndex(manager->Skin().ConstData.IndexGLOBALINFO, L"GLOBALINFO",
                                                    L"TITLEBUTTON")
                            : kNoIndex;
  for (int i = 0; i < title_buttons_->Count(); ++i) {
    TsTitleButton* button = title_buttons_->Items(i);
    button->Data.ImageIndex = button->UseSkinData() ? glyph : kNoIndex;
  }
  if (TsMDIForm* mdi = adapters_.MDIForm()) mdi->Connect();
  if (Form->BorderStyle() == vcl::TFormBorderStyle::bsSizeToolWin) {
    SetAllowBlendOnMoving(false);
    SetUseGlobalColor(true);
  }
}

void TsSkinProvider::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
  TsSkinProviderBase::Notification(AComponent, Operation);
  if (AComponent && AComponent == menus_.SystemMenu() && Operation == vcl::TOperation::opRemove) {
    menus_.SystemMenuFreed();
    return;
  }
  if (AComponent && Operation == vcl::TOperation::opRemove) title_cover_.Forget(AComponent);
  if (Operation == vcl::TOperation::opRemove && AComponent)
    label_colors_.Forget(AComponent);
  TqvCtrlAdapter* adapter = adapters_.CtrlAdapter();
  if (auto* control = dynamic_cast<vcl::TWinControl*>(AComponent);
      control && Operation == vcl::TOperation::opInsert && adapter && adapter->Adapting() && adapter->Supports(control))
    adapter->AddControl(control, vcl::String());
  if (auto* manager = dynamic_cast<TsSkinManager*>(AComponent)) {
    if (!skin_data_) return;
    if (Operation == vcl::TOperation::opInsert && !skin_data_->SkinManager())
      skin_data_->SetSkinManager(manager);
    else if (Operation == vcl::TOperation::opRemove && skin_data_->SkinManager() == manager)
      skin_data_->ForgetManager();
  } else if (AComponent && AComponent == title_bar_ && Operation == vcl::TOperation::opRemove) {
    title_bar_ = nullptr;
  } else if (AComponent && !title_bar_ && Operation == vcl::TOperation::opInsert) {
    if (auto* bar = dynamic_cast<TsTitleBar*>(AComponent)) title_bar_ = bar;
  }
}

TsSkinProvider::~TsSkinProvider() {
  // What runs below may send messages: a call they reach finds the provider gone.
  lifetime_.End();
  window_events_.reset();
  if (added_title_) {
    InitExBorders(false);
    added_title_.reset();
  }
  if (!Designing(this)) {
    KillAnimations();
    animator_.FreeTimer();
    scroll_bars_.Free();
    ReleaseMdiIcons(this);
    if (Form) UnregisterForm(Form);
    if (Form && hook_.Installed()) {
      // Only while our hook is on top is the saved procedure put back; under a later hook the
      // provider just leaves the chain.
      hook_.Remove();
      TsSkinProvider* frame = MDIProvider();
      if (Form->FormStyle() == vcl::fsMDIChild && Form->Menu() && frame && frame != this && !BeingDestroyed(frame) &&
          frame->Form && !BeingDestroyed(frame->Form)) {
        frame->skin_data_->BGChanged = true;
        frame->MenuLineCount = -1;
        frame->SendToProvider(WM_NCPAINT, 1, 0);
      }
      if (frame == this) {
        if (TsMDIForm* mdi = adapters_.MDIForm()) mdi->Disconnect();
        SetMDIProvider(nullptr);
      }
    }
    menus_.FreeSystemMenu();
    if (temp_bmp_) temp_bmp_->Canvas()->Unlock();
    temp_bmp_.reset();
    work_bmp_.reset();
  }
  // The form leaves the glued list in both roles: nothing follows it, and it follows nothing.
  RemoveFormFromGluedList(Form);
  caption_items_->FreeHintTimer();
  title_cover_.Free();
  if (ProviderUnit().MDIProvider == this) ProviderUnit().MDIProvider = nullptr;
  title_icon_.reset();
  adapters_.Free();
  label_colors_.Release();
  title_buttons_.reset();
  sys_sub_menu_.reset();
  SkinData = nullptr;
  skin_data_.reset();
}

// ---------------------------------------------------------------------------------------
// Properties

void TsSkinProvider::SetSkinData(TsScrollWndData* Value) {
  if (Value && skin_data_) skin_data_->Assign(Value);
}

void TsSkinProvider::SetUseGlobalColor(bool Value) {
  StoreUseGlobalColor(Value);
  if (Value && Form && skin_data_ && skin_data_->Skinned() && !skin_data_->CustomColor())
    label_colors_.ApplyGlobalColor();
}

TsSkinManager* TsSkinProvider::SkinManager() const { return skin_data_ ? skin_data_->GetSkinManager() : nullptr; }

bool TsSkinProvider::FormSkinned() const {
  return Form && !BeingDestroyed(Form) && skin_data_ && skin_data_->Skinned(false);
}

void TsSkinProvider::TitleObjectChanged(bool WhileDesigned) {
  const auto state = ComponentState();
  if (state.Contains(vcl::csLoading) || (!WhileDesigned && state.Contains(vcl::csDesigning))) return;
  RefreshNonClient();
}

void AttachEmbeddedFormProvider(vcl::TForm* Form, const vcl::String& SkinSection) {
  auto* provider = vcl::Construct<TsSkinProvider>(Form);
  provider->SkinData->SetSkinSection(SkinSection.empty() ? vcl::String(L"FORM") : SkinSection);
  provider->InitMenuItems();
}

}  // namespace skin_layered

namespace skin_layered {

// ---------------------------------------------------------------------------------------
// The form's own window and the windows of its controls that come later

void TsSkinProvider::WindowEvent(vcl::TWinControl* Control, vcl::TWindowEvent What) {
  if (What != vcl::weCreated || !Control || Designing(this) || BeingDestroyed(Form) || !hook_.Installed()) return;
  TsSkinManager* manager = SkinManager();
  if (!manager || !manager->Active() || !manager->Skin().SkinData.Active) return;
  if (Control == Form) return ArriveIfMissed();
  // Controls whose windows come later (new, re-created, a page shown the first time), on a
  // form painted from its section or not (its controls are adapted all the same); the walk
  // running now reaches those it makes itself.
  TqvCtrlAdapter* adapter = adapters_.CtrlAdapter();
  if (!adapter || adapter->Busy || !adapter->Adapting() || !Form->HandleAllocated()) return;
  if (vcl::GetParentForm(Control) != Form) return;
  if (adapter->Supports(Control)) adapter->AddControl(Control, vcl::String());
  adapter->AddAllItems(Control);
}

}  // namespace skin_layered
