// Skinned input controls on real controls: flat borders, combo buttons by state, side and
// style, the list skinners of combos, up-downs that still count, and the date picker's arrow.
#include "control_skin_support.h"

#include "classlib/comctrls/DateTimePicker.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinComboBox.h"
#include "skin_classic/controls/SkinDateTime.h"
#include "skin_classic/controls/SkinEdit.h"
#include "skin_classic/controls/SkinUpDown.h"

namespace winskin::test {

namespace {

class SkinInputTest : public ControlSkinTest {
 protected:
  vcl::TComboBox* NewCombo(vcl::TComboBoxStyle style, int height = 24) {
    auto* combo = Add<vcl::TComboBox>(form_.get(), 10, 10, 160, height);
    combo->SetStyle(style);
    combo->Items()->Add(L"One");
    combo->Items()->Add(L"Two");
    return combo;
  }
  int WindowWidth(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.right - r.left;
  }
};

}  // namespace

TEST_F(SkinInputTest, EditsGetTheFlatBorderAndBorderlessOnesKeepTheirLook) {
  auto* edit = Add<vcl::TEdit>(form_.get(), 10, 10, 120, 24);
  Skin<TSkinEdit>(edit);
  auto picture = Painted(edit->Handle());
  EXPECT_EQ(At(picture.get(), 0, 10), C(kLine));
  EXPECT_EQ(At(picture.get(), 1, 10), vcl::clWhite);
  EXPECT_EQ(At(picture.get(), 2, 10), vcl::clWhite);

  auto* plain = Add<vcl::TEdit>(form_.get(), 10, 50, 120, 24);
  plain->SetBorderStyle(vcl::TBorderStyle::bsNone);
  Skin<TSkinEdit>(plain);
  picture = Painted(plain->Handle(), vcl::clBlack);
  EXPECT_NE(At(picture.get(), 0, 10), C(kLine));
}

TEST_F(SkinInputTest, ComposedComboFramesShowTheButtonsStateOnEitherSide) {
  auto* combo = NewCombo(vcl::csDropDownList);
  auto* s = Skin<TSkinComBox>(combo);
  const HWND h = combo->Handle();
  const int w = WindowWidth(h);
  auto picture = Painted(h);
  EXPECT_EQ(s->PaintedState(), 1);
  EXPECT_EQ(At(picture.get(), w - 3, 3), Seq(kComboId, 1));

  // The mouse over the button makes it hot; a press pressed; disabled wins.
  const vcl::TRect b = s->ButtonRect();
  ASSERT_FALSE(b.IsEmpty());
  SendMessageW(h, WM_MOUSEMOVE, 0, Point(b.Left + 2, b.Top + 2));
  picture = Painted(h);
  EXPECT_EQ(s->PaintedState(), 4);
  EXPECT_EQ(At(picture.get(), w - 3, 3), Seq(kComboId, 4));
  SendMessageW(h, WM_MOUSEMOVE, 0, Point(2, 2));
  Painted(h);
  EXPECT_EQ(s->PaintedState(), 1);
  combo->SetEnabled(false);
  picture = Painted(h);
  EXPECT_EQ(At(picture.get(), w - 3, 3), Seq(kComboId, 3));
  combo->SetEnabled(true);

  // With the bar on the left the button is drawn there.
  SetWindowLongPtrW(h, GWL_EXSTYLE, GetWindowLongPtrW(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
  picture = Painted(h);
  EXPECT_EQ(At(picture.get(), 3, 3), Seq(kComboId, 1));
  EXPECT_LT(s->ButtonRect().Left, 5);
}

TEST_F(SkinInputTest, ComboButtonsWithoutTheCompositeAndFlat) {
  Load({.sunkEdge = false});
  auto* combo = NewCombo(vcl::csDropDownList);
  auto* s = Skin<TSkinComBox>(combo);
  const HWND h = combo->Handle();
  const int w = WindowWidth(h), a = GetSystemMetrics(SM_CXHSCROLL);
  auto picture = Painted(h);
  EXPECT_EQ(At(picture.get(), w - a, 4), Seq(kComboId, 1));
  EXPECT_NE(At(picture.get(), 6, 4), Seq(kComboId, 1));  // the rest is the control's own
  EXPECT_FALSE(s->ButtonRect().IsEmpty());

  Load({.sunkEdge = false, .comboStyle = 1});
  combo = NewCombo(vcl::csDropDownList);
  s = Skin<TSkinComBox>(combo);
  picture = Painted(combo->Handle());
  EXPECT_EQ(At(picture.get(), 0, 10), C(kLine));
  // The button is one picture frame wide at the right, inside the two-pixel ring.
  EXPECT_EQ(s->ButtonRect().Width(), 12);
  EXPECT_EQ(At(picture.get(), WindowWidth(combo->Handle()) - 4, 4), Seq(kComboId, 1));
}

TEST_F(SkinInputTest, SimpleCombosGetPanelsOnTheirListAndDropDownsTheListBar) {
  auto* simple = NewCombo(vcl::csSimple, 120);
  auto* s = Skin<TSkinComBox>(simple);
  EXPECT_TRUE(s->ListSkinner());
  EXPECT_FALSE(s->ListBar());
  auto* drop = Add<vcl::TComboBox>(form_.get(), 200, 10, 160, 24);
  drop->SetStyle(vcl::csDropDown);
  auto* d = Skin<TSkinComBox>(drop);
  EXPECT_FALSE(d->ListSkinner());
  ASSERT_TRUE(d->ListBar());
  EXPECT_EQ(d->ListBar()->Handle(), d->List());
  // The drop-down's state follows its notifications.
  drop->SetDroppedDown(true);
  EXPECT_TRUE(d->DroppedDown());
  drop->SetDroppedDown(false);
  EXPECT_FALSE(d->DroppedDown());
}

TEST_F(SkinInputTest, UpDownsStillChangeTheirValueAndShowTheirHalves) {
  auto* edit = Add<vcl::TEdit>(form_.get(), 10, 10, 60, 24);
  auto* spin = Add<vcl::TUpDown>(form_.get(), 70, 10, 17, 24);
  spin->SetMin(0);
  spin->SetMax(10);
  spin->SetPosition(5);
  spin->SetAssociate(edit);
  form_->Show();
  auto* s = Skin<TSkinUpDown>(spin);
  const HWND h = spin->Handle();
  RECT c{};
  GetClientRect(h, &c);
  auto picture = Painted(h);
  EXPECT_EQ(At(picture.get(), 2, c.bottom / 4), Seq(kSpinVId, 1));
  EXPECT_EQ(At(picture.get(), 2, 3 * c.bottom / 4), Seq(kSpinVId, 5));

  // A press on the upper half: the control's own handling counts up.
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(c.right / 2, 2));
  SendMessageW(h, WM_LBUTTONUP, 0, Point(c.right / 2, 2));
  EXPECT_EQ(spin->Position(), 6);
  EXPECT_FALSE(s->MouseState() & kMousePressed);
  SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, Point(c.right / 2, c.bottom - 2));
  SendMessageW(h, WM_LBUTTONUP, 0, Point(c.right / 2, c.bottom - 2));
  EXPECT_EQ(spin->Position(), 5);

  spin->SetEnabled(false);
  picture = Painted(h);
  EXPECT_EQ(At(picture.get(), 2, c.bottom / 4), Seq(kSpinVId, 3));
  EXPECT_EQ(At(picture.get(), 2, 3 * c.bottom / 4), Seq(kSpinVId, 7));
}

TEST_F(SkinInputTest, UpDownsWithoutSpinPicturesAreFlatBoxes) {
  Load({.spin = false});
  const vcl::TColor dark = data_->Skin()->Color(kColourButtonDkShadow);
  auto* spin = Add<vcl::TUpDown>(form_.get(), 70, 10, 17, 24);
  Skin<TSkinUpDown>(spin);
  RECT c{};
  GetClientRect(spin->Handle(), &c);
  auto picture = Painted(spin->Handle());
  // Two boxes one above the other, outlined in the dark line colour.
  EXPECT_EQ(At(picture.get(), 0, 0), dark);
  EXPECT_EQ(At(picture.get(), 2, 2), C(kFace));
  EXPECT_EQ(At(picture.get(), 2, c.bottom / 2), dark);
  // Laid out across, the boxes are side by side.
  auto* across = Add<vcl::TUpDown>(form_.get(), 100, 10, 34, 17);
  across->SetOrientation(vcl::udHorizontal);
  Skin<TSkinUpDown>(across);
  GetClientRect(across->Handle(), &c);
  picture = Painted(across->Handle());
  EXPECT_EQ(At(picture.get(), c.right / 2, 2), dark);
  EXPECT_EQ(At(picture.get(), 2, 2), C(kFace));
}

TEST_F(SkinInputTest, DatePickersGetTheFlatBorderAndAnArrowOverTheirButton) {
  auto* picker = Add<vcl::TDateTimePicker>(form_.get(), 10, 10, 160, 24);
  form_->Show();
  auto* s = Skin<TSkinDateTime>(picker);
  TArrowButton* arrow = s->Arrow();
  ASSERT_TRUE(arrow);
  EXPECT_TRUE(IsWindowVisible(arrow->Handle()));
  EXPECT_EQ(GetParent(arrow->Handle()), picker->Handle());
  RECT client{};
  GetClientRect(picker->Handle(), &client);
  EXPECT_EQ(arrow->Left() + arrow->Width(), client.right);
  EXPECT_EQ(arrow->Width(), GetSystemMetrics(SM_CXHSCROLL));
  auto picture = Painted(picker->Handle());
  EXPECT_EQ(At(picture.get(), 0, 10), C(kLine));
  EXPECT_EQ(At(picture.get(), 1, 10), vcl::clWhite);
  // Resized, the arrow stays over the button.
  picker->SetWidth(200);
  GetClientRect(picker->Handle(), &client);
  EXPECT_EQ(arrow->Left() + arrow->Width(), client.right);
  // The mouse passes through the arrow to the picker's own button, which the arrow shows
  // hot while the mouse is over it.
  EXPECT_EQ(SendMessageW(arrow->Handle(), WM_NCHITTEST, 0, 0), HTTRANSPARENT);
  SendMessageW(picker->Handle(), WM_MOUSEMOVE, 0, Point(arrow->Left() + 3, 5));
  EXPECT_TRUE(arrow->HotNow());
  SendMessageW(picker->Handle(), WM_MOUSEMOVE, 0, Point(5, 5));
  EXPECT_FALSE(arrow->HotNow());
  SendMessageW(picker->Handle(), WM_MOUSEMOVE, 0, Point(arrow->Left() + 3, 5));
  SendMessageW(picker->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(arrow->HotNow());
}

}  // namespace winskin::test
