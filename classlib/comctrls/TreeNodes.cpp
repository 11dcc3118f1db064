// The nodes of a tree view: TTreeNode and its owning list TTreeNodes.
#include <algorithm>
#include <cstring>

#include "classlib/comctrls/TreeView.h"

namespace vcl {

VCL_CLASS_INFO(TTreeNode) {}
VCL_CLASS_INFO(TTreeNodes) {}

// ---------------------------------------------------------------------------------------
// TTreeNode

TTreeNode::TTreeNode(TTreeNodes* AOwner) : owner_(AOwner) {}

TTreeNode::~TTreeNode() {
  // Freed directly rather than through its tree: it leaves the tree first.
  if (owner_ && owner_->Contains(this)) {
    TCustomTreeView* tv = owner_->owner_;
    if (tv) tv->RemoveNode(this);
    for (TTreeNode* child : std::vector<TTreeNode*>(children_)) owner_->FreeNode(child);
    children_.clear();
    owner_->all_.erase(this);
  }
}

TCustomTreeView* TTreeNode::TreeView() const { return owner_ ? owner_->owner_ : nullptr; }

TTreeNode* TTreeNode::Item(int Index) const {
  if (Index < 0 || Index >= Count())
    throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
  return children_[static_cast<size_t>(Index)];
}

int TTreeNode::Index() const {
  const std::vector<TTreeNode*>& siblings = owner_->SiblingsOf(parent_);
  auto it = std::find(siblings.begin(), siblings.end(), this);
  return it == siblings.end() ? -1 : static_cast<int>(it - siblings.begin());
}

int TTreeNode::Level() const {
  int level = 0;
  for (const TTreeNode* p = parent_; p; p = p->parent_) ++level;
  return level;
}

int TTreeNode::AbsoluteIndex() const {
  int index = 0;
  for (const TTreeNode* n = owner_->GetFirstNode(); n; n = n->GetNext(), ++index)
    if (n == this) return index;
  return -1;
}

void TTreeNode::SetText(const String& Value) {
  if (text_ == Value) return;
  text_ = Value;
  if (TCustomTreeView* tv = TreeView()) tv->WindowSetNode(this, TVIF_TEXT);
}

void TTreeNode::SetImageIndex(int Value) {
  if (image_index_ == Value) return;
  image_index_ = Value;
  if (TCustomTreeView* tv = TreeView()) tv->WindowSetNode(this, TVIF_IMAGE);
}

void TTreeNode::SetSelectedIndex(int Value) {
  if (selected_index_ == Value) return;
  selected_index_ = Value;
  if (TCustomTreeView* tv = TreeView()) tv->WindowSetNode(this, TVIF_SELECTEDIMAGE);
}

void TTreeNode::SetHasChildren(bool Value) {
  if (has_children_ == Value) return;
  has_children_ = Value;
  if (TCustomTreeView* tv = TreeView()) tv->WindowSetNode(this, TVIF_CHILDREN);
}

bool TTreeNode::Expanded() const {
  TCustomTreeView* tv = TreeView();
  if (item_ && tv && tv->HasWindow())
    return (tv->Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  return expanded_;
}

void TTreeNode::SetExpanded(bool Value) {
  expanded_ = Value;
  TCustomTreeView* tv = TreeView();
  if (item_ && tv && tv->HasWindow()) tv->ExpandItem(this, Value);
}

void TTreeNode::Expand(bool Recurse) {
  SetExpanded(true);
  if (Recurse)
    for (TTreeNode* child : children_) child->Expand(true);
}

void TTreeNode::Collapse(bool Recurse) {
  SetExpanded(false);
  if (Recurse)
    for (TTreeNode* child : children_) child->Collapse(true);
}

bool TTreeNode::Selected() const {
  TCustomTreeView* tv = TreeView();
  return tv && tv->Selected() == this;
}

void TTreeNode::SetSelected(bool Value) {
  TCustomTreeView* tv = TreeView();
  if (!tv) return;
  if (Value)
    tv->SetSelected(this);
  else if (Selected())
    tv->SetSelected(nullptr);
}

void TTreeNode::MakeVisible() {
  for (TTreeNode* p = parent_; p; p = p->parent_) p->expanded_ = true;
  TCustomTreeView* tv = TreeView();
  if (item_ && tv && tv->HasWindow()) tv->Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_));
}

TRect TTreeNode::DisplayRect(bool TextOnly) const {
  TCustomTreeView* tv = TreeView();
  if (!item_ || !tv || !tv->HasWindow()) return TRect();
  RECT r{};
  // The item goes in, the rectangle comes out.
  std::memcpy(&r, &item_, sizeof(item_));
  if (!tv->Send(TVM_GETITEMRECT, TextOnly ? TRUE : FALSE, reinterpret_cast<LPARAM>(&r))) return TRect();
  return r;
}

TTreeNode* TTreeNode::GetNextSibling() const {
  const std::vector<TTreeNode*>& siblings = owner_->SiblingsOf(parent_);
  const int i = Index();
  return i >= 0 && i + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(i + 1)] : nullptr;
}

TTreeNode* TTreeNode::GetPrevSibling() const {
  const std::vector<TTreeNode*>& siblings = owner_->SiblingsOf(parent_);
  const int i = Index();
  return i > 0 ? siblings[static_cast<size_t>(i - 1)] : nullptr;
}

TTreeNode* TTreeNode::GetNext() const {
  if (!children_.empty()) return children_.front();
  for (const TTreeNode* n = this; n; n = n->parent_)
    if (TTreeNode* next = n->GetNextSibling()) return next;
  return nullptr;
}

void TTreeNode::Delete() { owner_->Delete(this); }

void TTreeNode::DeleteChildren() {
  while (!children_.empty()) owner_->Delete(children_.back());
}

void TTreeNode::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TTreeNode*>(Source);
  if (!src) return TPersistent::Assign(Source);
  if (src == this) return;
  SetText(src->text_);
  SetImageIndex(src->image_index_);
  SetSelectedIndex(src->selected_index_);
  SetHasChildren(src->has_children_);
  data_ = src->data_;
  DeleteChildren();
  for (TTreeNode* child : src->children_) owner_->AddChild(this, child->text_)->Assign(child);
}

// ---------------------------------------------------------------------------------------
// TTreeNodes

TTreeNodes::TTreeNodes(TCustomTreeView* AOwner) : owner_(AOwner) {}

TTreeNodes::~TTreeNodes() {
  for (TTreeNode* node : std::vector<TTreeNode*>(roots_)) FreeNode(node);
  roots_.clear();
}

TPersistent* TTreeNodes::GetOwner() { return owner_; }

TTreeNode* TTreeNodes::Item(int Index) const {
  if (Index >= 0 && Index < Count()) {
    TTreeNode* n = GetFirstNode();
    for (int i = 0; i < Index && n; ++i) n = n->GetNext();
    if (n) return n;
  }
  throw EListError(L"List index out of bounds (" + std::to_wstring(Index) + L")");
}

TTreeNode* TTreeNodes::InsertNode(TTreeNode* Parent, size_t Position, const String& S) {
  if (Parent && !Contains(Parent)) throw EInvalidOperation(L"The parent node belongs to another tree");
  std::vector<TTreeNode*>& siblings = SiblingsOf(Parent);
  Position = std::min(Position, siblings.size());
  auto* node = new TTreeNode(this);
  node->parent_ = Parent;
  node->text_ = S;
  siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(Position), node);
  all_.insert(node);
  if (owner_) {
    try {
      owner_->NodeInserted(node);
    } catch (...) {
      Delete(node);
      throw;
    }
  }
  return node;
}

TTreeNode* TTreeNodes::Add(TTreeNode* Sibling, const String& S) {
  TTreeNode* parent = Sibling && Contains(Sibling) ? Sibling->parent_ : nullptr;
  return InsertNode(parent, SiblingsOf(parent).size(), S);
}

TTreeNode* TTreeNodes::AddFirst(TTreeNode* Sibling, const String& S) {
  return InsertNode(Sibling && Contains(Sibling) ? Sibling->parent_ : nullptr, 0, S);
}

TTreeNode* TTreeNodes::AddChild(TTreeNode* Parent, const String& S) {
  return InsertNode(Parent, SiblingsOf(Parent && Contains(Parent) ? Parent : nullptr).size(), S);
}

TTreeNode* TTreeNodes::AddChildFirst(TTreeNode* Parent, const String& S) { return InsertNode(Parent, 0, S); }

TTreeNode* TTreeNodes::AddChildObject(TTreeNode* Parent, const String& S, void* Data) {
  TTreeNode* node = AddChild(Parent, S);
  node->data_ = Data;
  return node;
}

TTreeNode* TTreeNodes::Insert(TTreeNode* Sibling, const String& S) {
  if (!Sibling || !Contains(Sibling)) return InsertNode(nullptr, roots_.size(), S);
  return InsertNode(Sibling->parent_, static_cast<size_t>(Sibling->Index()), S);
}

void TTreeNodes::Delete(TTreeNode* Node) {
  if (!Node || !Contains(Node)) return;
  if (owner_) owner_->RemoveNode(Node);
  FreeNode(Node);
}

void TTreeNodes::FreeNode(TTreeNode* Node) {
  for (TTreeNode* child : Node->children_) FreeNode(child);
  Node->children_.clear();
  all_.erase(Node);
  if (owner_ && owner_->selected_ == Node) owner_->selected_ = nullptr;
  delete Node;
}

void TTreeNodes::Clear() {
  BeginUpdate();
  try {
    while (!roots_.empty()) Delete(roots_.back());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TTreeNodes::BeginUpdate() {
  if (update_count_++ == 0 && owner_ && owner_->HasWindow()) owner_->Send(WM_SETREDRAW, FALSE);
}

void TTreeNodes::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0 && owner_ && owner_->HasWindow()) {
    owner_->Send(WM_SETREDRAW, TRUE);
    InvalidateRect(owner_->Handle(), nullptr, TRUE);
  }
}

void TTreeNodes::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TTreeNodes*>(Source);
  if (!src) return TPersistent::Assign(Source);
  if (src == this) return;
  BeginUpdate();
  try {
    Clear();
    for (TTreeNode* root : src->roots_) AddChild(nullptr, root->text_)->Assign(root);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

}  // namespace vcl
