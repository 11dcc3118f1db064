// Tree views: a superclass of the system's SysTreeView32 whose window class is the library's
// class name ("TTreeView"). The nodes live in the control's own tree and are put into every
// window it gets, so they survive window re-creation; while a window exists it holds the
// selection and which nodes are expanded.
#pragma once

#include <memory>
#include <unordered_set>
#include <vector>

#include "classlib/comctrls/CustomDraw.h"
#include "classlib/comctrls/TrackedClick.h"
#include "classlib/controls/Controls.h"
#include "classlib/graphics/ImgList.h"

namespace vcl {

class TCustomTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
  VCL_CLASS(TTreeNode, TPersistent)
 public:
  // Nodes are made by their tree (TTreeNodes::Add...).
  explicit TTreeNode(TTreeNodes* AOwner);
  ~TTreeNode() override;

  TTreeNodes* Owner() const { return owner_; }
  TCustomTreeView* TreeView() const;
  // The window's item while the node is in a window, else nil.
  HTREEITEM ItemId() const { return item_; }

  const String& Text() const { return text_; }
  void SetText(const String& Value);
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int Value);
  // The image shown while the node is selected.
  int SelectedIndex() const { return selected_index_; }
  void SetSelectedIndex(int Value);
  void* Data() const { return data_; }
  void SetData(void* Value) { data_ = Value; }

  TTreeNode* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  // Raises EListError for an index out of range.
  TTreeNode* Item(int Index) const;
  // The position among its siblings.
  int Index() const;
  // 0 for a top-level node.
  int Level() const;
  // The position in the whole tree, counted depth first.
  int AbsoluteIndex() const;
  // Shows an expand button even without children (they may be added when it expands).
  bool HasChildren() const { return has_children_ || !children_.empty(); }
  void SetHasChildren(bool Value);

  bool Expanded() const;
  void SetExpanded(bool Value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool Selected() const;
  void SetSelected(bool Value);
  // Scrolls the node into view, expanding its parents.
  void MakeVisible();
  // The node's row (TextOnly: its text) in client coordinates; empty when not shown.
  TRect DisplayRect(bool TextOnly) const;

  TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
  TTreeNode* GetLastChild() const { return children_.empty() ? nullptr : children_.back(); }
  TTreeNode* GetNextSibling() const;
  TTreeNode* GetPrevSibling() const;
  // The next node depth first (children before siblings), nil after the last.
  TTreeNode* GetNext() const;

  // Removes the node (with its children) from the tree and frees it.
  void Delete();
  void DeleteChildren();
  // Copies text, images, data and the children.
  void Assign(TPersistent* Source) override;

 private:
  friend class TTreeNodes;
  friend class TCustomTreeView;

  TTreeNodes* owner_;
  TTreeNode* parent_ = nullptr;
  std::vector<TTreeNode*> children_;
  String text_;
  int image_index_ = -1;
  int selected_index_ = -1;
  void* data_ = nullptr;
  bool has_children_ = false;
  // The states while no window holds them.
  bool expanded_ = false;
  HTREEITEM item_ = nullptr;
};

class TTreeNodes : public TPersistent {
  VCL_CLASS(TTreeNodes, TPersistent)
 public:
  explicit TTreeNodes(TCustomTreeView* AOwner);
  ~TTreeNodes() override;

  TCustomTreeView* Owner() const { return owner_; }
  // Every node, at every level.
  int Count() const { return static_cast<int>(all_.size()); }
  // The node at a depth-first position; raises EListError out of range.
  TTreeNode* Item(int Index) const;
  TTreeNode* operator[](int Index) const { return Item(Index); }
  TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
  int TopLevelCount() const { return static_cast<int>(roots_.size()); }
  // Whether the node belongs to this tree (a node may have been freed since).
  bool Contains(const TTreeNode* Node) const { return all_.count(const_cast<TTreeNode*>(Node)) != 0; }

  // A last (first) sibling of Sibling, or a last (first) top-level node when Sibling is nil.
  TTreeNode* Add(TTreeNode* Sibling, const String& S);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
  // A last (first) child of Parent, or a top-level node when Parent is nil.
  TTreeNode* AddChild(TTreeNode* Parent, const String& S);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Data);
  // A node just before Sibling (a last top-level node when Sibling is nil).
  TTreeNode* Insert(TTreeNode* Sibling, const String& S);
  void Delete(TTreeNode* Node);
  void Clear();
  // Repainting waits for the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();

  // Copies another tree's nodes.
  void Assign(TPersistent* Source) override;
  TPersistent* GetOwner() override;

 private:
  friend class TTreeNode;
  friend class TCustomTreeView;

  TTreeNode* InsertNode(TTreeNode* Parent, size_t Position, const String& S);
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) { return Parent ? Parent->children_ : roots_; }
  // Frees a node and its children (already out of the window and of the sibling list).
  void FreeNode(TTreeNode* Node);

  TCustomTreeView* owner_;
  std::vector<TTreeNode*> roots_;
  std::unordered_set<TTreeNode*> all_;
  int update_count_ = 0;
};

using TTVChangedEvent = Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVChangingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVExpandingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = Event<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = Event<void(TObject* Sender, TTreeNode* Node)>;
using TTVEditedEvent = Event<void(TObject* Sender, TTreeNode* Node, String& S)>;
using TTVCustomDrawEvent = Event<void(TCustomTreeView* Sender, const TRect& ARect, bool& DefaultDraw)>;
using TTVCustomDrawItemEvent =
    Event<void(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState State, bool& DefaultDraw)>;

class TCustomTreeView : public TWinControl {
  VCL_CLASS(TCustomTreeView, TWinControl)
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  void BeforeDestruction() override;

  TTreeNodes* Items() const { return items_.get(); }
  void SetItems(TTreeNodes* Value) { items_->Assign(Value); }
  // The selected node, nil when none; setting it fires OnChanging and OnChange as the
  // user's choice would.
  TTreeNode* Selected() const;
  void SetSelected(TTreeNode* Value);
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* Value);

  bool ShowLines() const { return show_lines_; }
  void SetShowLines(bool Value);
  // Lines and buttons also before the top-level nodes.
  bool ShowRoot() const { return show_root_; }
  void SetShowRoot(bool Value);
  bool ShowButtons() const { return show_buttons_; }
  void SetShowButtons(bool Value);
  // The selection is shown only while the control has the focus.
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool Value);
  // Not read-only: node texts can be edited in place.
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool Value);
  // The selection covers the whole row.
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool Value);
  TBorderStyle BorderStyle() const { return border_style_; }
  void SetBorderStyle(TBorderStyle Value);
  // The indentation of each level (set to 0: the system's).
  int Indent() const;
  void SetIndent(int Value);

  // The canvas the custom-draw events paint on (the system's paint DC while they run).
  TCanvas* Canvas() const { return canvas_.get(); }
  // The node on the row at a client point, nil when none.
  TTreeNode* GetNodeAt(int X, int Y) const;
  void FullExpand();
  void FullCollapse();

  void Dispatch(TMessage& Message) override;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVEditedEvent OnEdited;
  // Before the system paints the tree (DefaultDraw false: it paints nothing).
  TTVCustomDrawEvent OnCustomDraw;
  // Before each node: the canvas's font and brush colours are the node's text and background
  // colours (DefaultDraw false: the system leaves the node out).
  TTVCustomDrawItemEvent OnCustomDrawItem;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool IndentStored() const { return indent_ > 0; }

 private:
  friend class TTreeNode;
  friend class TTreeNodes;

  // A node that joined the tree (its window item), one that is leaving it (its window item
  // and the marks of the nodes that go with it).
  void NodeInserted(TTreeNode* Node);
  void RemoveNode(TTreeNode* Node);
  void ExpandItem(TTreeNode* Node, bool Expand);
  void WindowInsertNode(TTreeNode* Node);
  void WindowInsertTree(TTreeNode* Node);
  void WindowSetNode(const TTreeNode* Node, UINT Mask);
  static void ForgetItems(TTreeNode* Node);
  void ForgetWindowItems();
  void SaveWindowState();
  void ApplyColors();
  TTreeNode* NodeOf(LPARAM Param) const;
  void HandleNotify(TMessage& Message);
  void HandleCustomDraw(TMessage& Message, NMTVCUSTOMDRAW& Draw);
  void WMLButtonDown(TMessage& Message);
  void WMDestroy(TMessage& Message);
  void ColorsChanged(TMessage& Message);

  std::unique_ptr<TTreeNodes> items_;
  TCustomImageList* images_ = nullptr;
  TTreeNode* selected_ = nullptr;  // while no window holds the selection
  bool show_lines_ = true;
  bool show_root_ = true;
  bool show_buttons_ = true;
  bool hide_selection_ = true;
  bool read_only_ = false;
  bool row_select_ = false;
  TBorderStyle border_style_ = TBorderStyle::bsSingle;
  int indent_ = 0;
  std::unique_ptr<TControlCanvas> canvas_;
  // Notifications of the window are not events while the control itself fills, empties or
  // destroys it.
  int quiet_ = 0;
  TTrackedClick tracked_click_;
};

class TTreeView : public TCustomTreeView {
  VCL_CLASS(TTreeView, TCustomTreeView)
 public:
  using TCustomTreeView::TCustomTreeView;
};

}  // namespace vcl
