// TCustomTreeView: the window (a superclass of SysTreeView32), filling it from the nodes, its
// notifications and custom drawing.
#include "classlib/comctrls/TreeView.h"

#include "classlib/comctrls/ComCtrlsInternal.h"

namespace vcl {

using detail::Nesting;

VCL_CLASS_INFO(TCustomTreeView) {}

VCL_CLASS_INFO(TTreeView) {
  publish::Align(p);
  publish::Anchors(p);
  p.Enum<&TCustomTreeView::BorderStyle, &TCustomTreeView::SetBorderStyle>(
      L"BorderStyle", static_cast<int64_t>(TBorderStyle::bsSingle));
  publish::Bounds(p);
  publish::Color(p, clWindow);
  publish::Enabled(p);
  publish::Font(p);
  p.Bool<&TCustomTreeView::HideSelection, &TCustomTreeView::SetHideSelection>(L"HideSelection", true);
  publish::Hints(p);
  p.Object<&TCustomTreeView::Images, &TCustomTreeView::SetImages>(L"Images", TCustomImageList::StaticClass());
  // 0: the system's indentation; stored only when set.
  p.Integer<&TCustomTreeView::Indent, &TCustomTreeView::SetIndent>(L"Indent").Stored =
      [](const TObject* o) { return static_cast<const TTreeView*>(o)->IndentStored(); };
  publish::ParentColor(p, false);
  publish::PopupMenu(p);
  p.Bool<&TCustomTreeView::ReadOnly, &TCustomTreeView::SetReadOnly>(L"ReadOnly", false);
  p.Bool<&TCustomTreeView::RowSelect, &TCustomTreeView::SetRowSelect>(L"RowSelect", false);
  p.Bool<&TCustomTreeView::ShowButtons, &TCustomTreeView::SetShowButtons>(L"ShowButtons", true);
  p.Bool<&TCustomTreeView::ShowLines, &TCustomTreeView::SetShowLines>(L"ShowLines", true);
  p.Bool<&TCustomTreeView::ShowRoot, &TCustomTreeView::SetShowRoot>(L"ShowRoot", true);
  publish::TabOrder(p);
  publish::TabStop(p, true);
  publish::Visible(p);
  p.Event<&TCustomTreeView::OnChange>(L"OnChange");
  p.Event<&TCustomTreeView::OnChanging>(L"OnChanging");
  p.Event<&TCustomTreeView::OnCollapsed>(L"OnCollapsed");
  p.Event<&TCustomTreeView::OnCollapsing>(L"OnCollapsing");
  p.Event<&TCustomTreeView::OnCustomDraw>(L"OnCustomDraw");
  p.Event<&TCustomTreeView::OnCustomDrawItem>(L"OnCustomDrawItem");
  p.Event<&TCustomTreeView::OnEdited>(L"OnEdited");
  p.Event<&TCustomTreeView::OnExpanded>(L"OnExpanded");
  p.Event<&TCustomTreeView::OnExpanding>(L"OnExpanding");
  publish::MouseEvents(p);
  publish::KeyEvents(p);
  publish::OnContextPopup(p);
  publish::OnResize(p);
}

namespace {

// A colour the system reports; its "default" and "none" values give the fallback.
TColor FromColorRef(COLORREF Value, TColor Fallback) {
  return (Value & 0xFF000000u) ? Fallback : static_cast<TColor>(Value);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Construction and the window

TCustomTreeView::TCustomTreeView(TComponent* AOwner)
    : TWinControl(AOwner), items_(std::make_unique<TTreeNodes>(this)) {
  // The window tracks the mouse itself; clicks come from its notifications.
  SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csSetCaption});
  SetBounds(0, 0, 121, 97);
  SetParentColor(false);
  SetColor(clWindow);
  SetTabStop(true);
  canvas_ = std::make_unique<TControlCanvas>();
  canvas_->SetControl(this);
}

TCustomTreeView::~TCustomTreeView() {
  // The nodes go while the control is still whole.
  items_.reset();
}

void TCustomTreeView::BeforeDestruction() {
  // The window goes first, quietly; the nodes go with the control.
  ++quiet_;
  TWinControl::BeforeDestruction();
}

void TCustomTreeView::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  CreateSubClass(Params, WC_TREEVIEWW);
  Params.Style |= WS_CLIPCHILDREN;
  if (show_lines_) Params.Style |= TVS_HASLINES;
  if (show_root_) Params.Style |= TVS_LINESATROOT;
  if (show_buttons_) Params.Style |= TVS_HASBUTTONS;
  if (!hide_selection_) Params.Style |= TVS_SHOWSELALWAYS;
  if (!read_only_) Params.Style |= TVS_EDITLABELS;
  if (row_select_) Params.Style |= TVS_FULLROWSELECT;
  if (border_style_ == TBorderStyle::bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomTreeView::CreateWnd() {
  TWinControl::CreateWnd();
  const Nesting quiet(quiet_);
  ApplyColors();
  if (images_) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->Handle()));
  if (indent_ > 0) Send(TVM_SETINDENT, static_cast<WPARAM>(indent_));
  Send(WM_SETREDRAW, FALSE);
  try {
    for (TTreeNode* root : items_->roots_) WindowInsertTree(root);
  } catch (...) {
    Send(WM_SETREDRAW, TRUE);
    throw;
  }
  if (selected_ && selected_->item_) Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->item_));
  if (items_->update_count_ == 0) Send(WM_SETREDRAW, TRUE);
}

void TCustomTreeView::DestroyWnd() {
  SaveWindowState();
  TWinControl::DestroyWnd();
}

// What only the window knows is kept for the next one.
void TCustomTreeView::SaveWindowState() {
  if (!HasWindow()) return;
  for (TTreeNode* node : items_->all_)
    if (node->item_) node->expanded_ = node->Expanded();
  selected_ = Selected();
}

void TCustomTreeView::ForgetItems(TTreeNode* Node) {
  Node->item_ = nullptr;
  for (TTreeNode* child : Node->children_) ForgetItems(child);
}

void TCustomTreeView::ForgetWindowItems() {
  for (TTreeNode* node : items_->all_) node->item_ = nullptr;
}

void TCustomTreeView::ApplyColors() {
  if (!HasWindow()) return;
  Send(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
  Send(TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Font()->Color())));
}

void TCustomTreeView::WindowInsertNode(TTreeNode* Node) {
  TVINSERTSTRUCTW ins{};
  ins.hParent = Node->parent_ ? Node->parent_->item_ : TVI_ROOT;
  if (Node->parent_ && !Node->parent_->item_) return;  // its parent is not in the window yet
  TTreeNode* before = Node->GetPrevSibling();
  ins.hInsertAfter = before && before->item_ ? before->item_ : TVI_FIRST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  ins.item.pszText = const_cast<wchar_t*>(Node->text_.c_str());
  ins.item.iImage = Node->image_index_;
  ins.item.iSelectedImage = Node->selected_index_;
  ins.item.cChildren = Node->HasChildren() ? 1 : 0;
  ins.item.lParam = reinterpret_cast<LPARAM>(Node);
  auto* item = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
  if (!item) throw EOutOfResources(L"Unable to insert a tree node");
  Node->item_ = item;
}

void TCustomTreeView::WindowInsertTree(TTreeNode* Node) {
  WindowInsertNode(Node);
  for (TTreeNode* child : Node->children_) WindowInsertTree(child);
  if (Node->expanded_ && Node->item_ && !Node->children_.empty())
    Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(Node->item_));
}

void TCustomTreeView::WindowSetNode(const TTreeNode* Node, UINT Mask) {
  if (!HasWindow() || !Node->item_) return;
  TVITEMW item{};
  item.mask = Mask | TVIF_HANDLE;
  item.hItem = Node->item_;
  item.pszText = const_cast<wchar_t*>(Node->text_.c_str());
  item.iImage = Node->image_index_;
  item.iSelectedImage = Node->selected_index_;
  item.cChildren = Node->HasChildren() ? 1 : 0;
  Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TCustomTreeView::NodeInserted(TTreeNode* Node) {
  if (!HasWindow()) return;
  const Nesting quiet(quiet_);
  WindowInsertNode(Node);
  // Its parent may just have got its first child, and with it an expand button.
  if (Node->parent_ && Node->parent_->children_.size() == 1) WindowSetNode(Node->parent_, TVIF_CHILDREN);
}

void TCustomTreeView::RemoveNode(TTreeNode* Node) {
  TTreeNode* parent = Node->parent_;
  if (HasWindow() && Node->item_) {
    // The window's own deletion may report selection changes: not the user's doing.
    const Nesting quiet(quiet_);
    Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(Node->item_));
  }
  ForgetItems(Node);
  auto& siblings = items_->SiblingsOf(parent);
  std::erase(siblings, Node);
  Node->parent_ = nullptr;
  if (parent && parent->children_.empty()) WindowSetNode(parent, TVIF_CHILDREN);
}

void TCustomTreeView::ExpandItem(TTreeNode* Node, bool Expand) {
  // The program's expansion is no user's: no events (some systems report a first one).
  const Nesting quiet(quiet_);
  Send(TVM_EXPAND, Expand ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(Node->item_));
}

TTreeNode* TCustomTreeView::NodeOf(LPARAM Param) const {
  auto* node = reinterpret_cast<TTreeNode*>(Param);
  return node && items_->Contains(node) ? node : nullptr;
}

// ---------------------------------------------------------------------------------------
// Selection and options

TTreeNode* TCustomTreeView::Selected() const {
  if (!HasWindow()) return selected_;
  auto* item = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
  if (!item) return nullptr;
  TVITEMW info{};
  info.mask = TVIF_HANDLE | TVIF_PARAM;
  info.hItem = item;
  if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info))) return nullptr;
  return NodeOf(info.lParam);
}

void TCustomTreeView::SetSelected(TTreeNode* Value) {
  if (Value && !items_->Contains(Value)) return;
  if (!HasWindow()) {
    selected_ = Value;
    return;
  }
  Send(TVM_SELECTITEM, TVGN_CARET, Value ? reinterpret_cast<LPARAM>(Value->item_) : 0);
}

TTreeNode* TCustomTreeView::GetNodeAt(int X, int Y) const {
  if (!HasWindow()) return nullptr;
  TVHITTESTINFO info{};
  info.pt = POINT{X, Y};
  auto* item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (!item || !(info.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMRIGHT | TVHT_ONITEMBUTTON))) return nullptr;
  for (TTreeNode* node : items_->all_)
    if (node->item_ == item) return node;
  return nullptr;
}

void TCustomTreeView::FullExpand() {
  for (TTreeNode* root : items_->roots_) root->Expand(true);
}

void TCustomTreeView::FullCollapse() {
  for (TTreeNode* root : items_->roots_) root->Collapse(true);
}

void TCustomTreeView::SetImages(TCustomImageList* Value) {
  if (images_ == Value) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = Value;
  if (Value) Value->FreeNotification(this);
  if (HasWindow()) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, Value ? reinterpret_cast<LPARAM>(Value->Handle()) : 0);
}

void TCustomTreeView::Notification(TComponent* AComponent, TOperation Operation) {
  TWinControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    if (HasWindow()) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, 0);
  }
}

void TCustomTreeView::SetShowLines(bool Value) {
  if (show_lines_ == Value) return;
  show_lines_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowRoot(bool Value) {
  if (show_root_ == Value) return;
  show_root_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetShowButtons(bool Value) {
  if (show_buttons_ == Value) return;
  show_buttons_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetHideSelection(bool Value) {
  if (hide_selection_ == Value) return;
  hide_selection_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetReadOnly(bool Value) {
  if (read_only_ == Value) return;
  read_only_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetRowSelect(bool Value) {
  if (row_select_ == Value) return;
  row_select_ = Value;
  RecreateWnd();
}

void TCustomTreeView::SetBorderStyle(TBorderStyle Value) {
  if (border_style_ == Value) return;
  border_style_ = Value;
  RecreateWnd();
}

int TCustomTreeView::Indent() const {
  if (HasWindow()) return static_cast<int>(Send(TVM_GETINDENT));
  return indent_;
}

void TCustomTreeView::SetIndent(int Value) {
  if (Value < 0) Value = 0;
  indent_ = Value;
  if (HasWindow() && Value > 0) Send(TVM_SETINDENT, static_cast<WPARAM>(Value));
}

// ---------------------------------------------------------------------------------------
// Notifications

void TCustomTreeView::HandleCustomDraw(TMessage& Message, NMTVCUSTOMDRAW& Draw) {
  NMCUSTOMDRAW& nm = Draw.nmcd;
  LRESULT result = CDRF_DODEFAULT;
  bool default_draw = true;
  if (!(nm.dwDrawStage & CDDS_ITEM)) {
    if (nm.dwDrawStage == CDDS_PREPAINT) {
      if (OnCustomDraw) {
        const TCanvasDCLoan loan(*canvas_, nm.hdc);
        canvas_->SetFont(Font());
        canvas_->SetBrush(Brush());
        OnCustomDraw(this, ClientRect(), default_draw);
      }
      if (OnCustomDrawItem) result |= CDRF_NOTIFYITEMDRAW;
    }
  } else if (nm.dwDrawStage == CDDS_ITEMPREPAINT && OnCustomDrawItem) {
    if (TTreeNode* node = NodeOf(nm.lItemlParam)) {
      HFONT font = nullptr;
      {
        const TCanvasDCLoan loan(*canvas_, nm.hdc);
        canvas_->SetFont(Font());
        canvas_->SetBrush(Brush());
        // The colours the system would use, so that the handler changes only what it sets.
        canvas_->Font()->SetColor(FromColorRef(Draw.clrText, Font()->Color()));
        canvas_->Brush()->SetColor(FromColorRef(Draw.clrTextBk, Color()));
        OnCustomDrawItem(this, node, TCustomDrawState::FromInt(LOWORD(nm.uItemState)), default_draw);
        Draw.clrText = static_cast<COLORREF>(ColorToRGB(canvas_->Font()->Color()));
        Draw.clrTextBk = static_cast<COLORREF>(ColorToRGB(canvas_->Brush()->Color()));
        font = canvas_->Font()->Handle();
      }
      // The system draws the node's text with the canvas's font.
      if (default_draw) {
        SelectObject(nm.hdc, font);
        result |= CDRF_NEWFONT;
      }
    }
  }
  if (!default_draw) result = CDRF_SKIPDEFAULT;
  Message.Result = result;
}

void TCustomTreeView::HandleNotify(TMessage& Message) {
  const NMHDR* header = detail::NotifyHeader(Message);
  if (!header || !HasWindow() || header->hwndFrom != Handle()) {
    TWinControl::Dispatch(Message);
    return;
  }
  Message.Result = 0;
  if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
    HandleCustomDraw(Message, *reinterpret_cast<NMTVCUSTOMDRAW*>(Message.LParam));
    return;
  }
  const auto* info = reinterpret_cast<const NMTREEVIEWW*>(header);
  switch (header->code) {
    case TVN_DELETEITEMW:
      if (TTreeNode* node = NodeOf(info->itemOld.lParam)) node->item_ = nullptr;
      return;
    case NM_CLICK:
      tracked_click_.Clicked();
      return;
    case TVN_BEGINLABELEDITW:
      Message.Result = read_only_ ? TRUE : FALSE;
      return;
    case TVN_ENDLABELEDITW: {
      const auto* edit = reinterpret_cast<const NMTVDISPINFOW*>(header);
      TTreeNode* node = NodeOf(edit->item.lParam);
      if (!edit->item.pszText || !node || read_only_) return;
      String text = edit->item.pszText;
      if (OnEdited) OnEdited(this, node, text);
      node->text_ = text;
      // The window shows what the event left.
      WindowSetNode(node, TVIF_TEXT);
      Message.Result = FALSE;
      return;
    }
    default:
      break;
  }
  if (quiet_) return;
  switch (header->code) {
    case TVN_SELCHANGINGW:
      if (OnChanging) {
        bool allow = true;
        OnChanging(this, NodeOf(info->itemNew.lParam), allow);
        Message.Result = allow ? FALSE : TRUE;
      }
      break;
    case TVN_SELCHANGEDW:
      if (OnChange) OnChange(this, NodeOf(info->itemNew.lParam));
      break;
    case TVN_ITEMEXPANDINGW: {
      TTreeNode* node = NodeOf(info->itemNew.lParam);
      bool allow = true;
      if (node && (info->action & TVE_EXPAND) && OnExpanding) OnExpanding(this, node, allow);
      if (node && (info->action & TVE_COLLAPSE) && OnCollapsing) OnCollapsing(this, node, allow);
      Message.Result = allow ? FALSE : TRUE;
      break;
    }
    case TVN_ITEMEXPANDEDW: {
      TTreeNode* node = NodeOf(info->itemNew.lParam);
      if (!node) break;
      node->expanded_ = (info->action & TVE_EXPAND) != 0;
      if ((info->action & TVE_EXPAND) && OnExpanded) OnExpanded(this, node);
      if ((info->action & TVE_COLLAPSE) && OnCollapsed) OnCollapsed(this, node);
      break;
    }
    default:
      break;
  }
}

void TCustomTreeView::WMLButtonDown(TMessage& Message) {
  if (tracked_click_.Press([&] { TWinControl::Dispatch(Message); }) && HasWindow())
    Perform(WM_LBUTTONUP, 0, Message.LParam);
}

// Also when the window goes with its parent's; what it reports while it empties itself is
// not the user's doing.
void TCustomTreeView::WMDestroy(TMessage& Message) {
  if (!ComponentState().Contains(csDestroying)) SaveWindowState();
  const Nesting quiet(quiet_);
  TWinControl::Dispatch(Message);
  ForgetWindowItems();
}

void TCustomTreeView::ColorsChanged(TMessage& Message) {
  TWinControl::Dispatch(Message);
  ApplyColors();
}

void TCustomTreeView::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: return HandleNotify(Message);
    case WM_LBUTTONDOWN: return WMLButtonDown(Message);
    // The window fills with its own background colour.
    case WM_ERASEBKGND: return DefaultHandler(Message);
    case WM_DESTROY: return WMDestroy(Message);
    case CM_COLORCHANGED:
    case CM_FONTCHANGED: return ColorsChanged(Message);
    default: return TWinControl::Dispatch(Message);
  }
}

}  // namespace vcl
