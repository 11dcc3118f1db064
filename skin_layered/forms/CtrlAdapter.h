// TqvCtrlAdapter, the control adapter every skin provider owns: it walks the provider's form
// (and the frames, panels and pages inside it) and gives each child control that has no skinning
// of its own exactly one window adapter, chosen by the control's exact class name in the skin
// manager's 23 class-name lists (the first list holding it picks the adapter kind, whose
// factory the window adapters registered). Speed buttons get the speed buttons' handler, labels
// the skin's label colour from the provider, frames a TsFrameAdapter and embedded forms a
// provider of their own. The provider's OnSkinItem and OnSkinItemEx may veto a control or change
// its section and parameters; a Tag with bit 0x100 keeps a control out. The adapter keeps one
// item per wrapped control and frees what it made when it goes; controls whose windows come
// later reach it through the provider (scmCtrlNotify, the window-lifetime notices).
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/rtl/Method.h"
#include "classlib/rtl/Persistent.h"

namespace vcl {
class TCustomLabel;
class TForm;
}  // namespace vcl

namespace skin_layered {

class TsCommonData;
class TsSkinManager;
class TsSkinProviderBase;
struct TqvSkinParams;

// Asked before a child control gets an adapter.
using TAddItemEvent = vcl::Event<void(vcl::TComponent* Item, bool& CanBeAdded, vcl::String& SkinSection)>;
using TAddItemExEvent = vcl::Event<void(vcl::TComponent* Item, bool& CanBeAdded, TqvSkinParams* SkinParams)>;

// What the control adapter asks of its form's provider.
class TqvAdapterOwner {
 public:
  // The provider as the layers below know it: its form and skin data.
  virtual TsSkinProviderBase* AdaptedProvider() = 0;
  // The provider's OnSkinItem and OnSkinItemEx (either may be unset).
  virtual const TAddItemEvent& SkinItemEvent() const = 0;
  virtual const TAddItemExEvent& SkinItemExEvent() const = 0;
  virtual void SetLabelColor(vcl::TCustomLabel* Label, bool Skinned) = 0;

 protected:
  ~TqvAdapterOwner() = default;
};

// An embedded form gets a provider of its own, painting it with SkinSection ("FORM" when empty).
void AttachEmbeddedFormProvider(vcl::TForm* Form, const vcl::String& SkinSection);

class TqvCtrlAdapter;

// The Tag bit that keeps a control, form or window from being skinned automatically.
inline constexpr intptr_t kNoAutoSkinTag = 0x100;
// The control type code of a speed button's skin data.
inline constexpr int kSpeedButtonCode = 230;

// One wrapped windowed control and the window adapter made for it (owned).
class TqvAdapterItem : public vcl::TPersistent {
  VCL_CLASS(TqvAdapterItem, vcl::TPersistent)
 public:
  TqvAdapterItem(TqvCtrlAdapter* AAdapter, vcl::TWinControl* AControl);
  ~TqvAdapterItem() override;

  // Chooses the adapter kind by the control's class name and makes its window adapter;
  // nothing for a kept-out or already skinned control, a class on no list or a kind without
  // an adapter.
  void DoHook(vcl::TWinControl* AControl, const TqvSkinParams& Params);
  // The window adapter exists and has not let its window go.
  bool Alive() const;
  void FreeWindowAdapter();

  vcl::TWinControl* Control = nullptr;  // not owned
  TqvCtrlAdapter* Adapter = nullptr;
  vcl::TObject* WindowAdapter = nullptr;  // owned; nil until made
};

// One speed button and its handler (owned), with the skin data it paints from (owned).
class TqvGraphItem : public vcl::TPersistent {
  VCL_CLASS(TqvGraphItem, vcl::TPersistent)
 public:
  explicit TqvGraphItem(TqvCtrlAdapter* AAdapter, vcl::TGraphicControl* AControl);
  ~TqvGraphItem() override;

  void DoHook(vcl::TGraphicControl* AControl);
  bool Alive() const;
  void FreeHandler();

  vcl::TGraphicControl* Control = nullptr;  // not owned
  std::unique_ptr<TsCommonData> SkinData;   // control type code 230
  TqvCtrlAdapter* Adapter = nullptr;
  vcl::TObject* Handler = nullptr;  // owned; nil until made
};

class TqvCtrlAdapter : public vcl::TPersistent {
  VCL_CLASS(TqvCtrlAdapter, vcl::TPersistent)
 public:
  explicit TqvCtrlAdapter(TqvAdapterOwner* AProvider);
  // Drops the dead items, then frees every item.
  ~TqvCtrlAdapter() override;

  // Walks a container (nil: the provider's form) and wraps what it supports; nothing while a
  // walk runs or without srThirdParty in the manager's skinning rules.
  void AddAllItems(vcl::TWinControl* Container = nullptr);
  // Wraps one windowed control (a frame gets its frame adapter, a form its provider).
  void AddControl(vcl::TWinControl* Control, const vcl::String& SkinSection);
  // Wraps one speed button.
  void AddGraphControl(vcl::TGraphicControl* Control);
  // Whether the walk takes a control.
  bool Supports(vcl::TControl* Control);
  // Runs OnSkinItem and OnSkinItemEx; true when the control may be added with the skin's font.
  bool AskEvents(vcl::TControl* Control);
  // Frees the items whose adapter or handler has gone, keeping the order of the rest.
  void DropDeadItems();
  // Frees every item, the last first.
  void FreeAllItems();
  // The message sent to the window of every item whose adapter is alive and whose control has
  // a parent.
  void SendToAll(UINT Msg, WPARAM WParam, LPARAM LParam);
  // The adapter made for a control; nil when none.
  vcl::TObject* AdapterOf(const vcl::TControl* Control) const;

  TsSkinManager* Manager() const;
  // The manager's skinning rules let it adapt controls (srThirdParty).
  bool Adapting() const;

  bool Busy = false;
  std::vector<TqvAdapterItem*> Items;    // owned, in order of addition
  std::vector<TqvGraphItem*> GraphItems;  // owned
  TqvAdapterOwner* Provider = nullptr;    // not owned

 private:
  void Walk(vcl::TWinControl* Container);
  void Take(vcl::TControl* Control, bool ChildControl);
  // Runs the provider's events over the parameters; false on a veto.
  bool RunEvents(vcl::TControl* Control, TqvSkinParams& Params);
};

// A control adapter is freeing all of its items at once.
bool FreeingAdapterItems();
// The class name stands on a line of one of the manager's lists: the kind's index, else -1.
int AdapterKindOf(const TsSkinManager* Manager, vcl::StringView ClassName);

}  // namespace skin_layered
