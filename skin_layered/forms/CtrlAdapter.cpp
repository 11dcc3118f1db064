#include "skin_layered/forms/CtrlAdapter.h"

#include <algorithm>
#include <utility>

#include "classlib/extctrls/Buttons.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/Frame.h"
#include "classlib/rtl/ScopeExit.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/forms/Dwm.h"
#include "skin_layered/forms/FrameAdapter.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/manager/CommonData.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {

VCL_CLASS_INFO(TqvAdapterItem) {}
VCL_CLASS_INFO(TqvGraphItem) {}
VCL_CLASS_INFO(TqvCtrlAdapter) {}

namespace {

// The unit's state: set while a control adapter frees all of its items at once.
struct TCtrlAdapterUnit {
  bool FreeingItems = false;
};

TCtrlAdapterUnit& Unit() {
  static TCtrlAdapterUnit unit;
  return unit;
}

bool KeptOut(const vcl::TControl* Control) { return (Control->Tag() & kNoAutoSkinTag) != 0; }

// A windowed control that answers it is skinned already (a control of the engine, or one that
// has an adapter).
bool AnswersSkinned(vcl::TControl* Control) {
  if (auto* win = dynamic_cast<vcl::TWinControl*>(Control); win && !win->HandleAllocated()) return false;
  return SendCommandToCtrl(Control, scmIsSkinned, 0) == 1;
}

bool Terminating() { return !vcl::Application || vcl::Application->Terminated(); }

}  // namespace

bool FreeingAdapterItems() { return Unit().FreeingItems; }

int AdapterKindOf(const TsSkinManager* Manager, vcl::StringView ClassName) {
  if (!Manager || !Manager->ClassNameLists()) return -1;
  for (std::size_t kind = 0; kind < kAdapterKindCount; ++kind) {
    const vcl::TStringList* list = Manager->ClassNameLists()->List(static_cast<TqvAdapterKind>(kind));
    for (int line = 0; list && line < list->Count(); ++line)
      if (list->Strings(line) == ClassName) return static_cast<int>(kind);
  }
  return -1;
}

// ---------------------------------------------------------------------------------------
// Items

TqvAdapterItem::TqvAdapterItem(TqvCtrlAdapter* AAdapter, vcl::TWinControl* AControl)
    : Control(AControl), Adapter(AAdapter) {}

TqvAdapterItem::~TqvAdapterItem() { FreeWindowAdapter(); }

void TqvAdapterItem::FreeWindowAdapter() {
  if (WindowAdapter) vcl::TObject::Free(std::exchange(WindowAdapter, nullptr));
}

bool TqvAdapterItem::Alive() const {
  return WindowAdapter && !AdapterServices().AdapterDestroyed(WindowAdapter);
}

void TqvAdapterItem::DoHook(vcl::TWinControl* AControl, const TqvSkinParams& Params) {
  if (!AControl || KeptOut(AControl) || !AControl->HandleAllocated() || AnswersSkinned(AControl)) return;
  Control = AControl;
  TsSkinManager* manager = Adapter->Manager();
  const int kind = AdapterKindOf(manager, AControl->ClassName());
  if (kind < 0) return;
  const TqvControlAdapterFactory factory = ControlAdapterFactory(static_cast<TqvAdapterKind>(kind & 0x7F));
  if (!factory) return;
  TqvSkinParams params = Params;
  params.Control = AControl;
  WindowAdapter = factory(AControl->Handle(), manager, params);
}

TqvGraphItem::TqvGraphItem(TqvCtrlAdapter* AAdapter, vcl::TGraphicControl* AControl)
    : Control(AControl), SkinData(std::make_unique<TsCommonData>(AControl, true)), Adapter(AAdapter) {
  SkinData->COC = kSpeedButtonCode;
  if (AAdapter) SkinData->SetSkinManager(AAdapter->Manager());
}

TqvGraphItem::~TqvGraphItem() { FreeHandler(); }

void TqvGraphItem::FreeHandler() {
  if (Handler) vcl::TObject::Free(std::exchange(Handler, nullptr));
}

bool TqvGraphItem::Alive() const { return Handler && !AdapterServices().HandlerDetached(Handler); }

void TqvGraphItem::DoHook(vcl::TGraphicControl* AControl) {
  if (!AControl || KeptOut(AControl)) return;
  Control = AControl;
  Handler = AdapterServices().CreateSpeedButtonHandler(AControl, SkinData->SkinSection(), Adapter->Manager(),
                                                       SkinData.get());
}

// ---------------------------------------------------------------------------------------
// The control adapter

TqvCtrlAdapter::TqvCtrlAdapter(TqvAdapterOwner* AProvider) : Provider(AProvider) { Unit().FreeingItems = false; }

TqvCtrlAdapter::~TqvCtrlAdapter() {
  DropDeadItems();
  FreeAllItems();
}

TsSkinManager* TqvCtrlAdapter::Manager() const {
  const TsSkinProviderBase* provider = Provider ? Provider->AdaptedProvider() : nullptr;
  return provider && provider->SkinData ? provider->SkinData->GetSkinManager() : nullptr;
}

bool TqvCtrlAdapter::RunEvents(vcl::TControl* Control, TqvSkinParams& Params) {
  bool canBeAdded = true;
  if (const TAddItemEvent& event = Provider->SkinItemEvent()) {
    event(Control, canBeAdded, Params.SkinSection);
    if (!canBeAdded) return false;
  }
  if (const TAddItemExEvent& event = Provider->SkinItemExEvent()) event(Control, canBeAdded, &Params);
  return canBeAdded;
}

bool TqvCtrlAdapter::AskEvents(vcl::TControl* Control) {
  bool canBeAdded = true;
  TqvSkinParams params;
  vcl::String section;
  if (const TAddItemEvent& event = Provider->SkinItemEvent()) event(Control, canBeAdded, section);
  // The second event is asked even after a veto of the first.
  if (const TAddItemExEvent& event = Provider->SkinItemExEvent()) event(Control, canBeAdded, &params);
  return canBeAdded && params.UseSkinFont;
}

bool TqvCtrlAdapter::Supports(vcl::TControl* Control) {
  if (!Control || KeptOut(Control)) return false;
  if (auto* win = dynamic_cast<vcl::TWinControl*>(Control)) {
    if (!win->HandleAllocated() || AnswersSkinned(win)) return false;
    if (dynamic_cast<vcl::TCustomFrame*>(win) || dynamic_cast<vcl::TForm*>(win)) return AskEvents(win);
    return AdapterKindOf(Manager(), win->ClassName()) >= 0;
  }
  if (dynamic_cast<vcl::TCustomLabel*>(Control)) return AskEvents(Control);
  if (dynamic_cast<vcl::TSpeedButton*>(Control))
    return AdapterKindOf(Manager(), Control->ClassName()) >= 0 && AskEvents(Control);
  return false;
}

bool TqvCtrlAdapter::Adapting() const {
  const TsSkinManager* manager = Manager();
  return manager && manager->SkinningRules().Contains(srThirdParty);
}

void TqvCtrlAdapter::AddAllItems(vcl::TWinControl* Container) {
  if (Busy || !Adapting()) return;
  vcl::TWinControl* container = Container ? Container : Provider->AdaptedProvider()->Form;
  if (!container) return;
  Busy = true;
  const vcl::TScopeExit done([this] { Busy = false; });
  DropDeadItems();
  Walk(container);
}

void TqvCtrlAdapter::Take(vcl::TControl* Control, bool ChildControl) {
  if (!Supports(Control)) return;
  if (auto* win = dynamic_cast<vcl::TWinControl*>(Control))
    AddControl(win, vcl::String());
  else if (auto* label = dynamic_cast<vcl::TCustomLabel*>(Control); label && (!ChildControl || dynamic_cast<vcl::TLabel*>(label)))
    Provider->SetLabelColor(label, true);
  else if (auto* speed = dynamic_cast<vcl::TSpeedButton*>(Control); speed && ChildControl)
    AddGraphControl(speed);
}

void TqvCtrlAdapter::Walk(vcl::TWinControl* Container) {
  auto descend = [this](vcl::TComponent* C) {
    auto* win = dynamic_cast<vcl::TWinControl*>(C);
    if (win && win->HandleAllocated() && win->Parent() && !win->ComponentState().Contains(vcl::csDestroying)) Walk(win);
  };
  // Owned components first (a frame's controls are its own), then the child controls; an
  // event handler may add or remove controls, so each index is checked again.
  for (int i = 0; i < Container->ComponentCount(); ++i) {
    vcl::TComponent* c = Container->Components(i);
    if (auto* control = dynamic_cast<vcl::TControl*>(c)) Take(control, false);
    if (i < Container->ComponentCount() && Container->Components(i) == c) descend(c);
  }
  for (int i = 0; i < Container->ControlCount(); ++i) {
    vcl::TControl* c = Container->Controls(i);
    Take(c, true);
    if (i < Container->ControlCount() && Container->Controls(i) == c) descend(c);
  }
}

void TqvCtrlAdapter::AddControl(vcl::TWinControl* Control, const vcl::String& SkinSection) {
  if (!Control || KeptOut(Control) || !Control->Parent() || AnswersSkinned(Control)) return;
  TqvSkinParams params;
  params.SkinSection = SkinSection;
  if (!RunEvents(Control, params)) return;

  if (auto* frame = dynamic_cast<vcl::TCustomFrame*>(Control)) {
    // Frames take the group-box look whatever the events named.
    auto* adapter = vcl::Construct<TsFrameAdapter>(frame);
    adapter->SkinData()->SetSkinSection(L"GROUPBOX");
    return;
  }
  if (auto* form = dynamic_cast<vcl::TForm*>(Control)) {
    AttachEmbeddedFormProvider(form, params.SkinSection);
    if (form->HandleAllocated()) DisableDwmTransitions(form->Handle(), true);
    return;
  }

  const auto found = std::find_if(Items.begin(), Items.end(), [&](TqvAdapterItem* item) { return item->Control == Control; });
  if (found != Items.end()) {
    TqvAdapterItem* item = *found;
    // An adapter that died with its window is made again; a live one stays.
    if (item->WindowAdapter && AdapterServices().AdapterDestroyed(item->WindowAdapter)) {
      item->FreeWindowAdapter();
      if (Control->Parent()) item->DoHook(Control, params);
    }
    return;
  }
  auto* item = new TqvAdapterItem(this, Control);
  Items.push_back(item);
  if (Control->Parent()) item->DoHook(Control, params);
  if (!item->WindowAdapter) {
    std::erase(Items, item);
    vcl::TObject::Free(item);
  }
}

void TqvCtrlAdapter::AddGraphControl(vcl::TGraphicControl* Control) {
  if (!Control || KeptOut(Control) || !Control->Parent() || AnswersSkinned(Control)) return;
  TqvSkinParams params;
  params.SkinSection = L"SPEEDBUTTON";
  if (!RunEvents(Control, params)) return;
  const auto found =
      std::find_if(GraphItems.begin(), GraphItems.end(), [&](TqvGraphItem* item) { return item->Control == Control; });
  TqvGraphItem* item = found != GraphItems.end() ? *found : nullptr;
  const bool fresh = !item;
  if (fresh) {
    item = new TqvGraphItem(this, Control);
    GraphItems.push_back(item);
  }
  // The button's flatness picks the section, whatever the events named.
  auto* speed = dynamic_cast<vcl::TSpeedButton*>(Control);
  item->SkinData->SetSkinSection(speed && speed->Flat() ? L"SPEEDBUTTON_SMALL" : L"SPEEDBUTTON");
  if (!fresh) {
    if (item->Handler && AdapterServices().HandlerDetached(item->Handler)) {
      item->FreeHandler();
      item->DoHook(Control);
    }
    return;
  }
  if (Control->Parent()) item->DoHook(Control);
  if (!item->Handler) {
    std::erase(GraphItems, item);
    vcl::TObject::Free(item);
  }
}

void TqvCtrlAdapter::DropDeadItems() {
  std::vector<TqvAdapterItem*> dead;
  std::erase_if(Items, [&](TqvAdapterItem* item) {
    if (item && item->Alive()) return false;
    if (item) dead.push_back(item);
    return true;
  });
  for (TqvAdapterItem* item : dead) vcl::TObject::Free(item);
  std::vector<TqvGraphItem*> deadGraph;
  std::erase_if(GraphItems, [&](TqvGraphItem* item) {
    if (item && item->Alive()) return false;
    if (item) deadGraph.push_back(item);
    return true;
  });
  for (TqvGraphItem* item : deadGraph) vcl::TObject::Free(item);
}

void TqvCtrlAdapter::FreeAllItems() {
  TCtrlAdapterUnit& unit = Unit();
  if (unit.FreeingItems) return;
  unit.FreeingItems = true;
  const vcl::TScopeExit done([&unit] { unit.FreeingItems = false; });
  while (!Items.empty()) {
    TqvAdapterItem* item = Items.back();
    Items.pop_back();
    vcl::TObject::Free(item);
  }
  while (!GraphItems.empty()) {
    TqvGraphItem* item = GraphItems.back();
    GraphItems.pop_back();
    if (Terminating()) item->Control = nullptr;
    vcl::TObject::Free(item);
  }
}

void TqvCtrlAdapter::SendToAll(UINT Msg, WPARAM WParam, LPARAM LParam) {
  // A message may free or add items: the windows are taken first.
  std::vector<HWND> windows;
  for (TqvAdapterItem* item : Items)
    if (item->Alive() && item->Control && item->Control->Parent() && item->Control->HandleAllocated())
      windows.push_back(item->Control->Handle());
  for (HWND wnd : windows)
    if (IsWindow(wnd)) SendMessageW(wnd, Msg, WParam, LParam);
}

vcl::TObject* TqvCtrlAdapter::AdapterOf(const vcl::TControl* Control) const {
  for (TqvAdapterItem* item : Items)
    if (item->Control == Control) return item->WindowAdapter;
  for (TqvGraphItem* item : GraphItems)
    if (item->Control == Control) return item->Handler;
  return nullptr;
}

}  // namespace skin_layered
