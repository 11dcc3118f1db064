#include "classlib/rtl/Component.h"

#include <algorithm>

namespace vcl {

VCL_CLASS_INFO(TComponent) {
  p.String<&TComponent::Name, &TComponent::SetName>(L"Name");
  p.Integer<&TComponent::Tag, &TComponent::SetTag>(L"Tag", 0);
}

bool IsValidIdent(StringView ident) {
  if (ident.empty()) return false;
  auto alpha = [](wchar_t c) { return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_'; };
  if (!alpha(ident[0])) return false;
  return std::all_of(ident.begin() + 1, ident.end(),
                     [&](wchar_t c) { return alpha(c) || (c >= L'0' && c <= L'9'); });
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::BeforeDestruction() {
  if (!state_.Contains(csDestroying)) Destroying();
}

TComponent::~TComponent() {
  Destroying();
  // Holders of references to this component hear of its end first.
  NotifyAll(this, opRemove);
  DropFreeNotifications();
  // Owned components go before this one leaves its own owner.
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return components_[static_cast<size_t>(Index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(StringView AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, AName)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* AComponent, const String& CurName, const String& NewName) {
  (void)CurName;
  if (AComponent && !SameText(CurName, NewName) && !NewName.empty() && FindComponent(NewName))
    throw EComponentError(L"A component named " + NewName + L" already exists");
}

void TComponent::SetName(const String& NewName) {
  if (name_ == NewName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError(L"'" + NewName + L"' is not a valid component name");
  if (owner_) owner_->ValidateRename(this, name_, NewName);
  name_ = NewName;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent) return;
  if (!AComponent->name_.empty()) ValidateRename(AComponent, L"", AComponent->name_);
  Insert(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->owner_ != this) return;
  Notification(AComponent, opRemove);
  Remove(AComponent);
}

void TComponent::Insert(TComponent* AComponent) {
  components_.push_back(AComponent);
  AComponent->owner_ = this;
}

void TComponent::Remove(TComponent* AComponent) {
  auto it = std::find(components_.begin(), components_.end(), AComponent);
  if (it != components_.end()) components_.erase(it);
  AComponent->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  // Last first, as each destructor removes itself from this list.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Remove(c);
    TObject::Free(c);
  }
}

void TComponent::SetComponentState(TComponentStateItem item, bool on) {
  if (on) state_.Include(item); else state_.Exclude(item);
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  if (Root != this) return;
  for (TComponent* c : std::vector<TComponent*>(components_))
    if (!c->HasParent()) Proc(c);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  for (TComponent* c : std::vector<TComponent*>(components_)) {
    if (c != AComponent) c->Notification(AComponent, Operation);
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (owner_ && AComponent->owner_ == owner_) return;  // siblings already hear through the owner
  if (std::find(free_notifies_.begin(), free_notifies_.end(), AComponent) == free_notifies_.end()) {
    free_notifies_.push_back(AComponent);
    AComponent->FreeNotification(this);
  }
  state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  auto it = std::find(free_notifies_.begin(), free_notifies_.end(), AComponent);
  if (it == free_notifies_.end()) return;
  free_notifies_.erase(it);
  AComponent->RemoveFreeNotification(this);
}

void TComponent::NotifyAll(TComponent* AComponent, TOperation Operation) {
  for (TComponent* c : std::vector<TComponent*>(free_notifies_)) c->Notification(AComponent, Operation);
}

void TComponent::DropFreeNotifications() {
  while (!free_notifies_.empty()) {
    TComponent* c = free_notifies_.back();
    free_notifies_.pop_back();
    c->RemoveFreeNotification(this);
  }
}

}  // namespace vcl
