// TComponent: named objects with an owner that frees them, streamed from form descriptions.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "classlib/rtl/Persistent.h"
#include "classlib/rtl/Set.h"

namespace vcl {

enum class TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = Set<TComponentStateItem>;
using enum TComponentStateItem;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

using TGetChildProc = std::function<void(TComponent* Child)>;

class TComponent : public TPersistent {
  VCL_CLASS(TComponent, TPersistent)

 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  const String& Name() const { return name_; }
  // Raises EComponentError for an invalid identifier or a name already used in the owner.
  virtual void SetName(const String& NewName);
  intptr_t Tag() const { return tag_; }
  void SetTag(intptr_t v) { tag_ = v; }
  // Where a form designer placed a component that is not a control: its left in the low
  // word, its top in the high word. Form descriptions keep it as the component's Left and
  // Top; nothing else uses it.
  int32_t DesignInfo() const { return design_info_; }
  void SetDesignInfo(int32_t Value) { design_info_ = Value; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  TComponent* FindComponent(StringView AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  void DestroyComponents();

  const TComponentState& ComponentState() const { return state_; }
  void SetComponentState(TComponentStateItem item, bool on);
  void Destroying() { state_.Include(csDestroying); }

  // Called once reading from a form description has finished (csLoading is still set).
  virtual void Loaded();
  // Asks to be told (Notification with opRemove) when AComponent is freed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Streaming hooks: a form description nests objects; a component that HasParent (a
  // control) gets the enclosing object as its parent, and the writer asks each component
  // for the children to nest inside it. Controls override these.
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) { (void)Value; }
  // Calls Proc for each child written inside this component's description. The root lists
  // the components it owns that have no parent.
  virtual void GetChildren(const TGetChildProc& Proc, TComponent* Root);

  TPersistent* GetOwner() override { return owner_; }
  String GetNamePath() override { return name_; }

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName);
  // Components are inserted into and removed from their owner through these.
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);

 private:
  void NotifyAll(TComponent* AComponent, TOperation Operation);
  void DropFreeNotifications();

  TComponent* owner_ = nullptr;
  String name_;
  intptr_t tag_ = 0;
  int32_t design_info_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
};

bool IsValidIdent(StringView ident);

}  // namespace vcl
