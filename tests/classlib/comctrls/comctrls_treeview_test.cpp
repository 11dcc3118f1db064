// Tree views on real windows: the nodes, selection, expansion, editing, new windows and custom drawing.
#include <gtest/gtest.h>

#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

HTREEITEM Next(HWND tv, UINT how, HTREEITEM from = nullptr) {
  return reinterpret_cast<HTREEITEM>(SendMessageW(tv, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

String ItemText(HWND tv, HTREEITEM item, LPARAM* param = nullptr, int* image = nullptr) {
  wchar_t buffer[128] = {};
  TVITEMW info{};
  info.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_HANDLE;
  info.hItem = item;
  info.pszText = buffer;
  info.cchTextMax = 128;
  SendMessageW(tv, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  if (param) *param = info.lParam;
  if (image) *image = info.iImage;
  return buffer;
}

// The texts of the window's items, depth first, children indented by a dot per level.
std::vector<String> WindowTree(HWND tv) {
  std::vector<String> out;
  auto walk = [&](auto& self, HTREEITEM item, const String& indent) -> void {
    for (; item; item = Next(tv, TVGN_NEXT, item)) {
      out.push_back(indent + ItemText(tv, item));
      self(self, Next(tv, TVGN_CHILD, item), indent + L".");
    }
  };
  walk(walk, Next(tv, TVGN_ROOT), L"");
  return out;
}

bool WindowExpanded(HWND tv, const TTreeNode* node) {
  return (SendMessageW(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node->ItemId()), TVIS_EXPANDED) &
          TVIS_EXPANDED) != 0;
}

// The composer's kind of tree: shops with their section types.
TTreeView* ShopTree(TWinControl* parent) {
  auto* tv = Put<TTreeView>(parent, 0, 0, 200, 200);
  TTreeNodes* nodes = tv->Items();
  TTreeNode* taobao = nodes->AddChild(nullptr, L"淘宝");
  nodes->AddChild(taobao, L"关联销售");
  nodes->AddChild(taobao, L"优惠券");
  TTreeNode* tmall = nodes->Add(taobao, L"天猫");
  nodes->AddChild(tmall, L"尺码表");
  return tv;
}

struct TreeEvents {
  std::vector<String> log;
  bool allow_expand = true;
  bool allow_change = true;
  void Change(TObject*, TTreeNode* Node) { log.push_back(L"change " + (Node ? Node->Text() : L"-")); }
  void Changing(TObject*, TTreeNode* Node, bool& Allow) {
    log.push_back(L"changing " + (Node ? Node->Text() : L"-"));
    Allow = allow_change;
  }
  void Expanding(TObject*, TTreeNode* Node, bool& Allow) {
    log.push_back(L"expanding " + Node->Text());
    Allow = allow_expand;
  }
  void Expanded(TObject*, TTreeNode* Node) { log.push_back(L"expanded " + Node->Text()); }
  void Collapsing(TObject*, TTreeNode* Node, bool&) { log.push_back(L"collapsing " + Node->Text()); }
  void Collapsed(TObject*, TTreeNode* Node) { log.push_back(L"collapsed " + Node->Text()); }
  void Click(TObject*) { log.push_back(L"click"); }
  void Edited(TObject*, TTreeNode*, String& S) { S = L"[" + S + L"]"; }
  void Wire(TTreeView* tv) {
    tv->OnChange = TTVChangedEvent::Bind<&TreeEvents::Change>(this);
    tv->OnChanging = TTVChangingEvent::Bind<&TreeEvents::Changing>(this);
    tv->OnExpanding = TTVExpandingEvent::Bind<&TreeEvents::Expanding>(this);
    tv->OnExpanded = TTVExpandedEvent::Bind<&TreeEvents::Expanded>(this);
    tv->OnCollapsing = TTVCollapsingEvent::Bind<&TreeEvents::Collapsing>(this);
    tv->OnCollapsed = TTVExpandedEvent::Bind<&TreeEvents::Collapsed>(this);
    tv->OnClick = TNotifyEvent::Bind<&TreeEvents::Click>(this);
    tv->OnEdited = TTVEditedEvent::Bind<&TreeEvents::Edited>(this);
  }
};

void Key(HWND wnd, WPARAM key) {
  SendMessageW(wnd, WM_KEYDOWN, key, 0);
  SendMessageW(wnd, WM_KEYUP, key, 0);
}

TEST(TreeViewNodes, TheTreeAndItsWindowHoldTheSameNodes) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  TTreeNodes* nodes = tv->Items();
  EXPECT_EQ(nodes->TopLevelCount(), 2);
  EXPECT_EQ(nodes->Item(4)->Level(), 1);
  EXPECT_THROW(nodes->Item(5), EListError);

  HWND wnd = tv->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TTreeView");
  EXPECT_EQ(WindowTree(wnd), (std::vector<String>{L"淘宝", L".关联销售", L".优惠券", L"天猫", L".尺码表"}));
  LPARAM param = 0;
  ItemText(wnd, nodes->Item(1)->ItemId(), &param);
  EXPECT_EQ(reinterpret_cast<TTreeNode*>(param), nodes->Item(1));

  // Changes after the window exists reach it, in their places.
  TTreeNode* taobao = nodes->GetFirstNode();
  nodes->AddChildFirst(taobao, L"首页");
  nodes->Insert(nodes->Item(4), L"京东");  // before 天猫
  nodes->Item(2)->SetText(L"关联");
  EXPECT_EQ(WindowTree(wnd),
            (std::vector<String>{L"淘宝", L".首页", L".关联", L".优惠券", L"京东", L"天猫", L".尺码表"}));
  EXPECT_EQ(nodes->Item(5)->GetPrevSibling()->Text(), L"京东");

  // Deleting a node takes its children with it; the parent that lost its last child shows no
  // button.
  TTreeNode* tmall = nodes->Item(5);
  tmall->DeleteChildren();
  EXPECT_FALSE(tmall->HasChildren());
  TVITEMW info{};
  info.mask = TVIF_CHILDREN | TVIF_HANDLE;
  info.hItem = tmall->ItemId();
  SendMessageW(wnd, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.cChildren, 0);
  taobao->Delete();
  EXPECT_EQ(nodes->Count(), 2);
  EXPECT_EQ(WindowTree(wnd), (std::vector<String>{L"京东", L"天猫"}));
  // A node freed directly leaves its tree too.
  TObject::Free(nodes->Item(0));
  EXPECT_EQ(WindowTree(wnd), (std::vector<String>{L"天猫"}));
  nodes->Clear();
  EXPECT_EQ(SendMessageW(wnd, TVM_GETCOUNT, 0, 0), 0);
}

TEST(TreeViewNodes, ImagesAndColoursReachTheWindow) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  auto* images = new TImageList(form.get(), 16, 16);
  tv->SetImages(images);
  tv->Items()->Item(0)->SetImageIndex(2);
  tv->Items()->Item(0)->SetSelectedIndex(3);
  HWND wnd = tv->Handle();
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), images->Handle());
  int image = 0;
  ItemText(wnd, tv->Items()->Item(0)->ItemId(), nullptr, &image);
  EXPECT_EQ(image, 2);
  // Skin engines set the colours through the control's properties.
  tv->SetColor(0x00EEDDCC);
  tv->Font()->SetColor(0x00112233);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(wnd, TVM_GETBKCOLOR, 0, 0)), 0x00EEDDCCu);
  EXPECT_EQ(static_cast<COLORREF>(SendMessageW(wnd, TVM_GETTEXTCOLOR, 0, 0)), 0x00112233u);
  TObject::Free(images);
  EXPECT_EQ(tv->Images(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, TVM_GETIMAGELIST, TVSIL_NORMAL, 0), 0);
}

TEST(TreeViewSelection, TheProgramsAndTheUsersChoicesFireTheEvents) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  TreeEvents events;
  events.Wire(tv);
  HWND wnd = tv->Handle();
  TTreeNode* taobao = tv->Items()->Item(0);
  TTreeNode* tmall = tv->Items()->Item(3);

  tv->SetSelected(tmall);
  EXPECT_TRUE(tmall->Selected());
  EXPECT_EQ(Next(wnd, TVGN_CARET), tmall->ItemId());
  EXPECT_EQ(events.log, (std::vector<String>{L"changing 天猫", L"change 天猫"}));

  // The user clicks the first node's text.
  events.log.clear();
  UpdateWindow(wnd);
  const TRect r = taobao->DisplayRect(true);
  ASSERT_FALSE(r.IsEmpty());
  const LPARAM at = PointToLParam((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(wnd, WM_LBUTTONUP, 0, at);
  Pump();
  EXPECT_EQ(tv->GetNodeAt((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2), taobao);
  EXPECT_EQ(events.log, (std::vector<String>{L"changing 淘宝", L"change 淘宝", L"click"}));

  // A refused change keeps the selection.
  events.log.clear();
  events.allow_change = false;
  Key(wnd, VK_DOWN);
  EXPECT_EQ(tv->Selected(), taobao);
  EXPECT_EQ(events.log, (std::vector<String>{L"changing 天猫"}));
}

TEST(TreeViewExpansion, TheUsersKeysExpandAndCollapseWithTheirEvents) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  TreeEvents events;
  HWND wnd = tv->Handle();
  TTreeNode* taobao = tv->Items()->Item(0);
  TTreeNode* tmall = tv->Items()->Item(3);

  // The program's expansion: the window follows, no events.
  events.Wire(tv);
  taobao->Expand(false);
  EXPECT_TRUE(taobao->Expanded());
  EXPECT_TRUE(WindowExpanded(wnd, taobao));
  taobao->Collapse(false);
  EXPECT_FALSE(WindowExpanded(wnd, taobao));
  EXPECT_TRUE(events.log.empty());

  tv->SetSelected(tmall);
  events.log.clear();
  Key(wnd, VK_RIGHT);
  EXPECT_TRUE(tmall->Expanded());
  EXPECT_EQ(events.log, (std::vector<String>{L"expanding 天猫", L"expanded 天猫"}));
  events.log.clear();
  Key(wnd, VK_LEFT);
  EXPECT_FALSE(tmall->Expanded());
  EXPECT_EQ(events.log, (std::vector<String>{L"collapsing 天猫", L"collapsed 天猫"}));

  // Refused: the node stays collapsed.
  events.log.clear();
  events.allow_expand = false;
  Key(wnd, VK_RIGHT);
  EXPECT_FALSE(tmall->Expanded());
  EXPECT_EQ(events.log, (std::vector<String>{L"expanding 天猫"}));

  tv->FullExpand();
  EXPECT_TRUE(WindowExpanded(wnd, tmall));
}

TEST(TreeViewEditing, AnEditedTextPassesOnEditedAndStays) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  TreeEvents events;
  events.Wire(tv);
  HWND wnd = tv->Handle();
  TTreeNode* node = tv->Items()->Item(3);
  auto* edit = reinterpret_cast<HWND>(SendMessageW(wnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId())));
  ASSERT_NE(edit, nullptr);
  SetWindowTextW(edit, L"天猫国际");
  SendMessageW(wnd, TVM_ENDEDITLABELNOW, FALSE, 0);
  EXPECT_EQ(node->Text(), L"[天猫国际]");
  EXPECT_EQ(ItemText(wnd, node->ItemId()), L"[天猫国际]");

  // A read-only tree refuses to start editing.
  tv->SetReadOnly(true);
  wnd = tv->Handle();
  EXPECT_EQ(StyleOf(wnd) & TVS_EDITLABELS, 0);
  EXPECT_EQ(SendMessageW(wnd, TVM_EDITLABELW, 0, reinterpret_cast<LPARAM>(node->ItemId())), 0);
}

TEST(TreeViewRecreation, ANewWindowHasTheNodesTheirExpansionAndTheSelection) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  tv->Handle();
  TTreeNode* taobao = tv->Items()->Item(0);
  TTreeNode* coupon = tv->Items()->Item(2);
  taobao->Expand(false);
  tv->SetSelected(coupon);
  tv->SetShowLines(false);
  tv->SetRowSelect(true);
  HWND again = tv->Handle();
  EXPECT_EQ(StyleOf(again) & TVS_HASLINES, 0);
  EXPECT_NE(StyleOf(again) & TVS_FULLROWSELECT, 0);
  EXPECT_EQ(WindowTree(again), (std::vector<String>{L"淘宝", L".关联销售", L".优惠券", L"天猫", L".尺码表"}));
  EXPECT_TRUE(WindowExpanded(again, taobao));
  EXPECT_FALSE(WindowExpanded(again, tv->Items()->Item(3)));
  EXPECT_EQ(Next(again, TVGN_CARET), coupon->ItemId());

  // Nodes added while there is no window show when it comes.
  auto* loose = new TTreeView(form.get());
  TTreeNode* root = loose->Items()->AddChild(nullptr, L"根");
  loose->Items()->AddChild(root, L"叶");
  root->SetExpanded(true);
  loose->SetSelected(root);
  loose->SetParent(form.get());
  EXPECT_EQ(WindowTree(loose->Handle()), (std::vector<String>{L"根", L".叶"}));
  EXPECT_TRUE(WindowExpanded(loose->Handle(), root));
  EXPECT_EQ(Next(loose->Handle(), TVGN_CARET), root->ItemId());
}

TEST(TreeViewCustomDraw, TheTreeAndEachNodeCanBeDrawnByTheEvents) {
  auto form = ShownForm();
  TTreeView* tv = ShopTree(form.get());
  struct Drawing {
    int trees = 0;
    std::vector<TTreeNode*> nodes;
    TTreeNode* yellow = nullptr;  // drawn by the system on yellow
    TTreeNode* hidden = nullptr;  // left out
    void Tree(TCustomTreeView*, const TRect&, bool&) { ++trees; }
    void Node(TCustomTreeView* Sender, TTreeNode* Node, TCustomDrawState, bool& DefaultDraw) {
      nodes.push_back(Node);
      if (Node == yellow) Sender->Canvas()->Brush()->SetColor(clYellow);
      if (Node == hidden) DefaultDraw = false;
    }
  } drawing;
  drawing.yellow = tv->Items()->Item(0);
  drawing.hidden = tv->Items()->Item(3);
  tv->OnCustomDraw = TTVCustomDrawEvent::Bind<&Drawing::Tree>(&drawing);
  tv->OnCustomDrawItem = TTVCustomDrawItemEvent::Bind<&Drawing::Node>(&drawing);
  HWND wnd = tv->Handle();
  const TRect yellow = drawing.yellow->DisplayRect(true);
  const TRect hidden = drawing.hidden->DisplayRect(true);

  TBitmap bmp;
  bmp.SetWidth(200);
  bmp.SetHeight(200);
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  EXPECT_EQ(drawing.trees, 1);
  // The two visible (top-level) nodes.
  EXPECT_EQ(drawing.nodes, (std::vector<TTreeNode*>{drawing.yellow, drawing.hidden}));
  // The first node's text lies on yellow; nothing of the second node was drawn.
  EXPECT_EQ(bmp.Canvas()->Pixels(yellow.Right - 2, yellow.Top + 1), clYellow);
  bool any = false;
  for (int x = hidden.Left; x < hidden.Right; ++x)
    for (int y = hidden.Top; y < hidden.Bottom; ++y) any = any || bmp.Canvas()->Pixels(x, y) != clWhite;
  EXPECT_FALSE(any);
}

}  // namespace
}  // namespace vcl::testing
