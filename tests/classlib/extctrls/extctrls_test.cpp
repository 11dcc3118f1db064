// Extended controls on real windows: panels (bevels, colour, caption by pixels), radio
// groups and their click rules, splitters dragged with the mouse, and images with AutoSize.
#include <gtest/gtest.h>

#include <algorithm>

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/graphics/Jpeg.h"
#include "classlib/stdctrls/stdctrls_support.h"
#include "support/win_test_support.h"

namespace vcl::testing {

VCL_CLASS_INFO(TRecordingPanel) {}

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

// Where the pixels of one colour lie in a painted rectangle.
struct Extent {
  int count = 0;
  int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
};

Extent ExtentOf(const PixelTarget& t, int w, int h, TColor c) {
  Extent e;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (t.At(x, y) == c) {
        ++e.count;
        e.minX = std::min(e.minX, x);
        e.maxX = std::max(e.maxX, x);
        e.minY = std::min(e.minY, y);
        e.maxY = std::max(e.maxY, y);
      }
  return e;
}

// ---------------------------------------------------------------------------------------
// Panels

TEST(Panel, PaintsItsBevelsItsColourAndItsCaptionCentred) {
  auto form = ShownForm();
  auto* panel = Put<TPanel>(form.get(), 0, 0, 100, 40);
  panel->SetColor(clAqua);
  EXPECT_EQ(WindowClassOf(panel->Handle()), L"TPanel");
  {
    PixelTarget t(100, 40);
    panel->PaintTo(t.dc(), 0, 0);
    EXPECT_EQ(t.At(0, 0), ColorToRGB(clBtnHighlight));  // raised: lit from the top left
    EXPECT_EQ(t.At(99, 39), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t.At(50, 20), clAqua);
  }
  panel->SetBevelOuter(bvLowered);
  panel->SetBorderWidth(2);
  panel->SetBevelInner(bvRaised);
  panel->SetCaption(L"MMM");
  panel->Font()->SetColor(clRed);
  panel->Font()->SetStyle({fsBold});
  {
    PixelTarget t(100, 40);
    panel->PaintTo(t.dc(), 0, 0);
    EXPECT_EQ(t.At(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(t.At(99, 39), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(t.At(2, 2), clAqua);  // the border in the panel's colour
    EXPECT_EQ(t.At(3, 3), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(t.At(96, 36), ColorToRGB(clBtnShadow));
    const Extent text = ExtentOf(t, 100, 40, clRed);
    ASSERT_GT(text.count, 10);
    EXPECT_NEAR((text.minX + text.maxX) / 2, 50, 3);
    EXPECT_NEAR((text.minY + text.maxY) / 2, 20, 3);
  }
  panel->SetAlignment(taLeftJustify);
  {
    PixelTarget t(100, 40);
    panel->PaintTo(t.dc(), 0, 0);
    EXPECT_LT(ExtentOf(t, 100, 40, clRed).minX, 10);
  }
}

TEST(Panel, ChildrenSitInsideTheBevelsAndTheBorder) {
  auto form = ShownForm();
  auto* panel = new TPanel(form.get());
  EXPECT_EQ(panel->Color(), clBtnFace);
  EXPECT_FALSE(panel->ParentColor());
  EXPECT_EQ(panel->Alignment(), taCenter);
  panel->SetParent(form.get());
  panel->SetBounds(0, 0, 100, 40);
  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  auto* inner = new TRecordingPanel(form.get());
  inner->SetParent(panel);
  inner->SetAlign(alClient);
  EXPECT_EQ(inner->BoundsRect(), Rect(7, 7, 93, 33));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(inner->BoundsRect(), Rect(5, 5, 95, 35));

  panel->SetBorderStyle(TBorderStyle::bsSingle);
  EXPECT_NE(GetWindowLongPtrW(panel->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// ---------------------------------------------------------------------------------------
// Radio groups

TEST(RadioGroup, ItsButtonsAreRealRadioButtonChildrenInColumns) {
  auto form = ShownForm();
  auto* group = Put<TRadioGroup>(form.get(), 0, 0, 200, 60);
  group->SetCaption(L"店铺类型");
  group->SetColumns(2);
  group->Items()->Add(L"淘宝店");
  group->Items()->Add(L"天猫店");
  ASSERT_EQ(group->ButtonCount(), 2);
  TRadioButton* first = group->Buttons(0);
  TRadioButton* second = group->Buttons(1);
  EXPECT_EQ(first->Parent(), group);
  EXPECT_EQ(first->ClassName(), L"TGroupButton");
  EXPECT_EQ(WindowClassOf(first->Handle()), L"TGroupButton");
  EXPECT_EQ(WindowClassOf(group->Handle()), L"TRadioGroup");
  EXPECT_EQ(first->Caption(), L"淘宝店");
  EXPECT_TRUE(IsWindowVisible(first->Handle()));
  EXPECT_GE(second->Left(), first->Left() + first->Width());
  EXPECT_EQ(second->Top(), first->Top());

  group->SetColumns(1);
  EXPECT_EQ(second->Left(), first->Left());
  EXPECT_GE(second->Top(), first->Top() + first->Height());

  group->Items()->Add(L"其他");
  EXPECT_EQ(group->ButtonCount(), 3);
  group->Items()->Delete(2);
  EXPECT_EQ(group->ButtonCount(), 2);

  group->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(first->Handle()));
  EXPECT_THROW(group->Buttons(2), EListError);
}

TEST(RadioGroup, OnClickFiresForTheUsersChoiceAndForAnItemIndexSetInCode) {
  auto form = ShownForm();
  auto* group = Put<TRadioGroup>(form.get());
  group->Items()->Add(L"图文4列");
  group->Items()->Add(L"图文3列");
  Counter clicks;
  group->OnClick = clicks.Event();
  EXPECT_EQ(group->ItemIndex(), -1);

  group->SetItemIndex(1);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_EQ(clicks.sender, group);
  EXPECT_EQ(SendMessageW(group->Buttons(1)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  group->SetItemIndex(1);
  EXPECT_EQ(clicks.count, 1);

  // No choice: the button is unchecked and no click fires.
  group->SetItemIndex(-1);
  EXPECT_EQ(clicks.count, 1);
  EXPECT_FALSE(group->Buttons(1)->Checked());

  SendMessageW(group->Buttons(0)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 0);
  EXPECT_EQ(clicks.count, 2);
  SendMessageW(group->Buttons(0)->Handle(), BM_CLICK, 0, 0);  // the chosen one again
  EXPECT_EQ(clicks.count, 2);
  SendMessageW(group->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(group->ItemIndex(), 1);
  EXPECT_FALSE(group->Buttons(0)->Checked());
  EXPECT_EQ(clicks.count, 3);

  // Fewer items: the index stays within them, silently.
  group->Items()->Delete(1);
  EXPECT_EQ(group->ItemIndex(), 0);
  group->Items()->Clear();
  EXPECT_EQ(group->ItemIndex(), -1);
  EXPECT_EQ(clicks.count, 3);
}

// The arrow keys move the focus through a group's buttons and choose the one they reach, as
// they do among the system's radio buttons; the choice fires OnClick once a step.
// Tests run side by side: the form takes the keyboard back whenever another program took it.
bool FocusOn(TForm* Form, TWinControl* Control) {
  return wintest::PumpUntil([&] {
    if (GetFocus() != Control->Handle()) {
      SetForegroundWindow(Form->Handle());
      SetActiveWindow(Form->Handle());
      Control->SetFocus();
    }
    return GetFocus() == Control->Handle();
  });
}

TEST(RadioGroup, TheArrowKeysChooseTheButtonTheyReach) {
  // No other test holds the real mouse button down meanwhile: a press chooses on release only.
  wintest::PointerLock lock;
  auto form = ShownForm();
  auto* group = Put<TRadioGroup>(form.get(), 10, 10, 200, 90);
  for (const wchar_t* item : {L"First", L"Second", L"Third"}) group->Items()->Add(item);
  group->SetItemIndex(0);
  Counter clicks;
  group->OnClick = clicks.Event();

  for (int step = 1; step <= 2; ++step) {
    ASSERT_TRUE(FocusOn(form.get(), group->Buttons(step - 1))) << "step " << step;
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(GetFocus(), WM_KEYUP, VK_DOWN, 0);
    Application->ProcessMessages();
    EXPECT_EQ(group->ItemIndex(), step) << "step " << step;
    EXPECT_TRUE(group->Buttons(step)->Checked());
    EXPECT_FALSE(group->Buttons(step - 1)->Checked());
    EXPECT_EQ(SendMessageW(group->Buttons(step)->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(clicks.count, step);
  }
}

// Every arrow key: Down and Right choose the next button, Up and Left the one before, and
// each goes round the group's ends (Down from the last to the first, Up from the first to the
// last).
TEST(RadioGroup, EveryArrowKeyChoosesTheButtonItReachesRoundTheGroupsEnds) {
  wintest::PointerLock lock;
  auto form = ShownForm();
  auto* group = Put<TRadioGroup>(form.get(), 10, 10, 200, 90);
  for (const wchar_t* item : {L"First", L"Second", L"Third"}) group->Items()->Add(item);
  const struct {
    int from;
    WPARAM key;
    int to;
  } steps[] = {{0, VK_RIGHT, 1}, {1, VK_DOWN, 2}, {2, VK_DOWN, 0}, {0, VK_UP, 2}, {2, VK_LEFT, 1}, {1, VK_UP, 0},
               {0, VK_LEFT, 2}, {2, VK_RIGHT, 0}};
  for (const auto& step : steps) {
    SCOPED_TRACE(std::to_string(step.from) + " key " + std::to_string(step.key));
    // The focus moves only while the form is the foreground window: a step during which a
    // test program beside took the foreground is tried again.
    for (int round = 0; round < 10; ++round) {
      group->SetItemIndex(step.from);
      ASSERT_TRUE(FocusOn(form.get(), group->Buttons(step.from)));
      PostMessageW(GetFocus(), WM_KEYDOWN, step.key, 0);
      PostMessageW(GetFocus(), WM_KEYUP, step.key, 0);
      Application->ProcessMessages();
      if (GetForegroundWindow() == form->Handle()) break;
    }
    EXPECT_EQ(group->ItemIndex(), step.to);
    EXPECT_EQ(GetFocus(), group->Buttons(step.to)->Handle());
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(SendMessageW(group->Buttons(i)->Handle(), BM_GETCHECK, 0, 0), i == step.to ? BST_CHECKED : BST_UNCHECKED)
          << i;
  }
}

// The shop type's click clears the style group's choice, which fires no click of its own.
struct ShopType {
  TRadioGroup* style = nullptr;
  void Click(TObject*) { style->SetItemIndex(-1); }
};

TEST(RadioGroup, ClearingAnotherGroupFromAClickFiresNothingThere) {
  auto form = ShownForm();
  auto* shop = new TRadioGroup(form.get());
  auto* style = new TRadioGroup(form.get());
  shop->SetParent(form.get());
  style->SetParent(form.get());
  style->SetTop(100);
  for (const wchar_t* s : {L"淘宝店", L"天猫店"}) shop->Items()->Add(s);
  for (const wchar_t* s : {L"图文4列", L"图文3列"}) style->Items()->Add(s);
  ShopType handler{style};
  shop->OnClick = TNotifyEvent::Bind<&ShopType::Click>(&handler);
  Counter styleClicks;
  style->OnClick = styleClicks.Event();
  style->SetItemIndex(0);
  EXPECT_EQ(styleClicks.count, 1);

  SendMessageW(shop->Buttons(1)->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(shop->ItemIndex(), 1);
  EXPECT_EQ(style->ItemIndex(), -1);
  EXPECT_FALSE(style->Buttons(0)->Checked());
  EXPECT_EQ(styleClicks.count, 1);
}

// ---------------------------------------------------------------------------------------
// Splitters

struct SplitterLayout {
  FormPtr form = ShownForm(400, 300);
  TRecordingPanel* side = nullptr;
  TSplitter* splitter = nullptr;
  TRecordingPanel* rest = nullptr;
  HWND wnd = nullptr;

  explicit SplitterLayout(TAlign edge) {
    side = new TRecordingPanel(form.get());
    side->SetBounds(edge == alLeft ? 0 : 300, 0, 100, 300);
    side->SetParent(form.get());
    side->SetAlign(edge);
    splitter = new TSplitter(form.get());
    splitter->SetAlign(edge);
    splitter->SetBounds(edge == alLeft ? 100 : 290, 0, 3, 300);
    splitter->SetParent(form.get());
    rest = new TRecordingPanel(form.get());
    rest->SetParent(form.get());
    rest->SetAlign(alClient);
    wnd = form->Handle();
  }
  void Press(int x) { SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(x, 50)); }
  void Move(int x) { SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(x, 50)); }
  void Release(int x) { SendMessageW(wnd, WM_LBUTTONUP, 0, PointToLParam(x, 50)); }
};

TEST(Splitter, DraggingResizesTheControlBeforeIt) {
  SplitterLayout l(alLeft);
  ASSERT_EQ(l.splitter->Left(), 100);
  EXPECT_EQ(l.splitter->Cursor(), crSizeWE);
  Counter moved;
  l.splitter->OnMoved = moved.Event();

  // rsPattern (the default): the size changes on release.
  l.Press(101);
  l.Move(141);
  EXPECT_EQ(l.side->Width(), 100);
  l.Release(141);
  EXPECT_EQ(l.side->Width(), 140);
  EXPECT_EQ(l.splitter->Left(), 140);
  EXPECT_EQ(l.rest->Left(), 143);
  EXPECT_EQ(moved.count, 1);

  // rsUpdate: while dragging.
  l.splitter->SetResizeStyle(rsUpdate);
  l.Press(141);
  l.Move(121);
  EXPECT_EQ(l.side->Width(), 120);
  l.Release(121);

  // Never below MinSize; never so wide that the rest gets less than MinSize.
  l.splitter->SetAutoSnap(false);
  l.Press(121);
  l.Move(5);
  l.Release(5);
  EXPECT_EQ(l.side->Width(), 30);
  l.Press(31);
  l.Move(399);
  l.Release(399);
  EXPECT_EQ(l.side->Width(), 400 - 30 - 3);

  // With AutoSnap, down to MinSize snaps shut.
  l.splitter->SetAutoSnap(true);
  const int at = l.splitter->Left() + 1;
  l.Press(at);
  l.Move(10);
  l.Release(10);
  EXPECT_EQ(l.side->Width(), 0);
}

TEST(Splitter, OnTheRightTheFarEdgeStays) {
  SplitterLayout l(alRight);
  ASSERT_EQ(l.side->Left(), 300);
  ASSERT_EQ(l.splitter->Left(), 297);
  bool vetoed = false;
  struct Veto {
    bool* seen;
    void CanResize(TObject*, int& NewSize, bool& Accept) {
      *seen = true;
      if (NewSize > 150) Accept = false;
    }
  } veto{&vetoed};
  l.splitter->OnCanResize = TCanResizeEvent::Bind<&Veto::CanResize>(&veto);
  l.Press(298);
  l.Move(278);
  l.Release(278);
  EXPECT_TRUE(vetoed);
  EXPECT_EQ(l.side->Width(), 120);
  EXPECT_EQ(l.side->Left() + l.side->Width(), 400);
  l.Press(l.splitter->Left() + 1);
  l.Move(100);  // would be 300 wide: refused, the last accepted size stays
  l.Release(100);
  EXPECT_EQ(l.side->Width(), 120);
}

// ---------------------------------------------------------------------------------------
// Images

std::unique_ptr<TBitmap> SolidBitmap(int w, int h, TColor c) {
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(w, h);
  bmp->Canvas()->Brush()->SetColor(c);
  bmp->Canvas()->FillRect(Rect(0, 0, w, h));
  return bmp;
}

TEST(Image, AutoSizeTakesThePicturesSizeWhateverIsAsked) {
  auto form = ShownForm();
  auto* image = Put<TImage>(form.get());
  image->SetVisible(false);
  auto bmp = SolidBitmap(40, 30, clRed);
  image->Picture()->SetBitmap(bmp.get());
  EXPECT_EQ(image->Width(), 105);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 30);
  image->SetWidth(750);
  EXPECT_EQ(image->Width(), 40);
  EXPECT_EQ(image->Height(), 30);
  // Aligned to an edge, the parent decides the extent along it.
  image->SetAlign(alTop);
  image->SetVisible(true);
  EXPECT_EQ(image->Width(), 400);
  EXPECT_EQ(image->Height(), 30);
  image->SetAlign(alNone);
  image->SetAutoSize(false);
  image->SetWidth(750);
  EXPECT_EQ(image->Width(), 750);
}

TEST(Image, AJpegFileGivesItsOwnPixelHeight) {
  wintest::TempDir dir;
  const String file = dir.File(L"1.jpg");
  {
    auto bmp = SolidBitmap(64, 48, clBlue);
    TJPEGImage jpeg;
    jpeg.Assign(bmp.get());
    jpeg.SaveToFile(file);
  }
  auto form = ShownForm();
  auto* image = Put<TImage>(form.get());
  image->SetVisible(false);
  // As the details generator measures a downloaded picture.
  image->Picture()->LoadFromFile(file);
  image->SetAutoSize(true);
  image->SetWidth(750);
  EXPECT_EQ(image->Height(), 48);
  EXPECT_EQ(image->Width(), 64);
  EXPECT_THROW(image->Picture()->LoadFromFile(dir.File(L"missing.jpg")), Exception);
  EXPECT_EQ(image->Height(), 48);
}

TEST(Image, DrawsAtItsOwnSizeStretchedCentredOrInProportion) {
  auto form = ShownForm();
  auto* image = Put<TImage>(form.get(), 0, 0, 40, 20);
  auto bmp = SolidBitmap(10, 10, clRed);
  image->Picture()->SetBitmap(bmp.get());
  auto paint = [&] {
    auto t = std::make_unique<PixelTarget>(40, 20);
    image->PaintTo(t->dc(), 0, 0);
    return ExtentOf(*t, 40, 20, clRed);
  };
  Extent e = paint();
  EXPECT_EQ(e.count, 100);
  EXPECT_EQ(e.minX, 0);
  image->SetCenter(true);
  e = paint();
  EXPECT_EQ(e.minX, 15);
  EXPECT_EQ(e.minY, 5);
  image->SetStretch(true);
  e = paint();
  EXPECT_EQ(e.count, 800);
  image->SetProportional(true);
  e = paint();
  EXPECT_EQ(e.count, 400);  // 20 x 20, centred
  EXPECT_EQ(e.minX, 10);
  EXPECT_EQ(e.maxX, 29);
}

}  // namespace
}  // namespace vcl::testing
