// Check boxes, radio buttons, group boxes and panels: the mark frame for every state (by the
// frame rules and on real controls), the mark's side, a skin without a check image, the group
// box's frame and caption gap on either side, and a panel that only changes colour.
#include "control_skin_support.h"

#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinCheckBox.h"
#include "skin_classic/controls/SkinGroupBox.h"

namespace winskin::test {
namespace {

// ---------------------------------------------------------------------------------------
// The frame rules

// The facts of a case and the frame they give (a State of nullptr: not published).
struct CheckCase {
  bool CheckedBit = false, IndeterminateBit = false, HasControl = false;
  const wchar_t* State = nullptr;
  const wchar_t* Checked = L"False";
  bool HasDataField = false;
  int CheckState = 0;
  bool HasDataBinding = false, Disabled = false;
  int Frames = 8, frame = 0;
};

TEST(CheckBoxFrame, TheStateTheCheckedPropertyDataAndDisablingPickTheFrame) {
  const CheckCase cases[] = {
      {.frame = 1},
      {.CheckedBit = true, .frame = 2},
      {.CheckedBit = true, .Disabled = true, .frame = 4},
      {.HasControl = true, .State = L"cbUnchecked", .frame = 1},
      {.HasControl = true, .State = L"cbChecked", .frame = 2},
      {.HasControl = true, .State = L"cbGrayed", .frame = 4},
      {.HasControl = true, .State = L"cbGrayed", .Disabled = true, .frame = 6},
      // Without "State", "Checked" decides: checked the second frame, anything else the third.
      {.HasControl = true, .Checked = L"True", .frame = 2},
      {.HasControl = true, .Checked = L"False", .frame = 3},
      {.HasControl = true, .Checked = L"", .frame = 3},
      {.HasControl = true, .Checked = L"False", .Disabled = true, .frame = 5},
      {.HasControl = true, .Checked = L"False", .Frames = 12, .frame = 4},
      // A data-aware box follows the last check message; grayed (3) shows 4.
      {.HasControl = true, .State = L"cbChecked", .HasDataField = true, .CheckState = 3, .frame = 4},
      {.HasControl = true, .State = L"cbChecked", .HasDataField = true, .CheckState = 0, .frame = 2},
      {.HasControl = true, .State = L"cbChecked", .HasDataField = true, .HasDataBinding = true, .frame = 1},
      // The system's indeterminate state wins.
      {.IndeterminateBit = true, .HasControl = true, .State = L"cbChecked", .Disabled = true, .frame = 4},
      // Twelve-frame images move each frame once and have their own indeterminate frames.
      {.HasControl = true, .State = L"cbChecked", .Frames = 12, .frame = 5},
      {.HasControl = true, .State = L"cbUnchecked", .Disabled = true, .Frames = 12, .frame = 4},
      {.HasControl = true, .State = L"cbChecked", .Disabled = true, .Frames = 12, .frame = 8},
      {.IndeterminateBit = true, .HasControl = true, .State = L"cbGrayed", .Frames = 12, .frame = 9},
      {.IndeterminateBit = true, .HasControl = true, .State = L"cbGrayed", .Disabled = true, .Frames = 12, .frame = 12},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const CheckCase& c = cases[i];
    TCheckFacts f;
    f.CheckedBit = c.CheckedBit;
    f.IndeterminateBit = c.IndeterminateBit;
    f.HasControl = c.HasControl;
    if (c.State) f.State = c.State;
    f.Checked = c.Checked;
    f.HasDataField = c.HasDataField;
    f.CheckState = c.CheckState;
    f.HasDataBinding = c.HasDataBinding;
    f.Disabled = c.Disabled;
    f.Frames = c.Frames;
    EXPECT_EQ(CheckBoxFrame(f), c.frame) << "case " << i;
  }
}

TEST(RadioButtonFrame, CheckedAndDisabledPickTheFrameAndEightFrameImagesMoveThemOnce) {
  const CheckCase cases[] = {
      {.Frames = 6, .frame = 1},
      {.CheckedBit = true, .Frames = 6, .frame = 2},
      {.CheckedBit = true, .HasControl = true, .Frames = 6, .frame = 1},  // the control's "Checked" decides
      {.HasControl = true, .Disabled = true, .Frames = 6, .frame = 3},
      {.HasControl = true, .Disabled = true, .frame = 4},
      {.HasControl = true, .Checked = L"True", .Disabled = true, .frame = 8},
      {.HasControl = true, .Checked = L"True", .frame = 5},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const CheckCase& c = cases[i];
    TRadioFacts f;
    f.CheckedBit = c.CheckedBit;
    f.HasControl = c.HasControl;
    f.Checked = c.Checked;
    f.Disabled = c.Disabled;
    f.Frames = c.Frames;
    EXPECT_EQ(RadioButtonFrame(f), c.frame) << "case " << i;
  }
}

// ---------------------------------------------------------------------------------------
// On real controls

using SkinMarkTest = ControlSkinTest;

// The mark of a 20-pixel-high box sits at the left, vertically centred.
vcl::TColor MarkPixel(HWND w, bool right = false) {
  auto b = Painted(w);
  const int x = right ? b->Width() - kMarkSide / 2 - 1 : kMarkSide / 2;
  return At(b.get(), x, b->Height() / 2);
}

TEST_F(SkinMarkTest, ACheckBoxShowsTheFrameOfEachStateAndItsCaptionBesideTheMark) {
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetCaption(L"包邮");
  auto* s = Skin<TSkinCheckBox>(box);
  EXPECT_EQ(s->Style(), 1);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 1));
  box->SetChecked(true);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 2));
  EXPECT_EQ(s->CheckState(), 2);  // BM_SETCHECK 1, plus one
  box->SetEnabled(false);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 4));
  box->SetEnabled(true);
  box->SetAllowGrayed(true);
  box->SetState(vcl::cbGrayed);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 4));
  box->SetState(vcl::cbUnchecked);
  box->SetEnabled(false);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 3));

  // The face behind, the caption drawn right of the mark.
  auto b = Painted(box->Handle());
  EXPECT_EQ(At(b.get(), 118, 1), C(kFace));
  bool text = false;
  for (int x = kMarkSide + 2; x < 60 && !text; ++x)
    for (int y = 0; y < 20 && !text; ++y) text = At(b.get(), x, y) != C(kFace);
  EXPECT_TRUE(text);

  // The text on the left puts the mark at the right edge.
  auto* left = Add<vcl::TCheckBox>(form_.get(), 10, 40, 120, 20);
  left->SetAlignment(vcl::taLeftJustify);
  left->SetChecked(true);
  Skin<TSkinCheckBox>(left);
  EXPECT_EQ(MarkPixel(left->Handle(), true), Frame(kCheckId, 2));
  EXPECT_EQ(MarkPixel(left->Handle(), false), C(kFace));
}

TEST_F(SkinMarkTest, TwelveFrameCheckImagesAndEightFrameRadioImagesShowTheirOwnFrames) {
  Load({.checkFrames = 12, .radioFrames = 8});
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetAllowGrayed(true);
  box->SetState(vcl::cbGrayed);
  box->SetEnabled(false);
  Skin<TSkinCheckBox>(box);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 12));

  auto* radio = Add<vcl::TRadioButton>(form_.get(), 10, 40, 120, 20);
  radio->SetChecked(true);
  radio->SetEnabled(false);
  Skin<TSkinRadioButton>(radio);
  EXPECT_EQ(MarkPixel(radio->Handle()), Frame(kRadioId, 8));
  radio->SetChecked(false);
  EXPECT_EQ(MarkPixel(radio->Handle()), Frame(kRadioId, 4));
}

// Frame counts stated below 1, or of frames narrower than a pixel, are the pictures' own: each box
// shows one mark, its caption beside it, not the whole strip over the caption nor no mark at all.
class SkinMarkCountTest : public SkinMarkTest, public ::testing::WithParamInterface<int> {};

TEST_P(SkinMarkCountTest, MarkFrameCountsStatedBelowOneOrBeyondThePictureShowOneMarkBesideTheCaption) {
  Load({.checkFrames = 12, .radioFrames = 8, .checkFramesStated = GetParam(), .radioFramesStated = GetParam()});
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetAllowGrayed(true);
  box->SetState(vcl::cbGrayed);
  box->SetEnabled(false);
  Skin<TSkinCheckBox>(box);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 12));

  auto* radio = Add<vcl::TRadioButton>(form_.get(), 10, 40, 120, 20);
  radio->SetChecked(true);
  radio->SetEnabled(false);
  Skin<TSkinRadioButton>(radio);
  EXPECT_EQ(MarkPixel(radio->Handle()), Frame(kRadioId, 8));
  // Right of the mark the face, no further frame of the strip.
  for (vcl::TWinControl* c : {static_cast<vcl::TWinControl*>(box), static_cast<vcl::TWinControl*>(radio)}) {
    const auto shown = Painted(c->Handle());
    for (int x = kMarkSide + 1; x < 3 * kMarkSide; ++x) {
      const vcl::TColor at = shown->Canvas()->Pixels(x, shown->Height() / 2);
      for (int f = 1; f <= 12; ++f) ASSERT_NE(at, Frame(c == box ? kCheckId : kRadioId, f)) << "x " << x;
    }
  }
}
INSTANTIATE_TEST_SUITE_P(Counts, SkinMarkCountTest, ::testing::Values(-12, 0, 100000));

// With every look in the image, the mark shows the mouse over it and a press on it, and a
// focused box marks its caption.
TEST_F(SkinMarkTest, FullImagesShowTheHotAndPressedMarksAndTheFocusShows) {
  Load({.checkFrames = 12, .radioFrames = 8});
  form_->Show();
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetCaption(L"Gift wrap");
  box->SetChecked(true);
  auto* radio = Add<vcl::TRadioButton>(form_.get(), 10, 40, 120, 20);
  Skin<TSkinCheckBox>(box);
  Skin<TSkinRadioButton>(radio);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 5));  // checked
  SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, Point(40, 10));
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 6));  // checked, hot
  SendMessageW(box->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 7));  // checked, pressed
  SendMessageW(box->Handle(), BM_SETSTATE, FALSE, 0);
  SendMessageW(box->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 5));
  box->SetChecked(false);
  SendMessageW(box->Handle(), WM_MOUSEMOVE, 0, Point(40, 10));
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 2));  // unchecked, hot
  box->SetEnabled(false);
  EXPECT_EQ(MarkPixel(box->Handle()), Frame(kCheckId, 4));  // disabled wins
  box->SetEnabled(true);

  SendMessageW(radio->Handle(), WM_MOUSEMOVE, 0, Point(40, 10));
  EXPECT_EQ(MarkPixel(radio->Handle()), Frame(kRadioId, 2));
  SendMessageW(radio->Handle(), BM_SETSTATE, TRUE, 0);
  EXPECT_EQ(MarkPixel(radio->Handle()), Frame(kRadioId, 3));
  SendMessageW(radio->Handle(), BM_SETSTATE, FALSE, 0);

  // The focus rectangle round the caption: dotted pixels beside the text that the unfocused
  // box does not have.
  auto unfocused = Painted(box->Handle());
  box->SetFocus();
  ASSERT_EQ(GetFocus(), box->Handle());
  auto focused = Painted(box->Handle());
  int changed = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = kMarkSide; x < 120; ++x) changed += At(focused.get(), x, y) != At(unfocused.get(), x, y);
  EXPECT_GT(changed, 20);
}

TEST_F(SkinMarkTest, ARadioButtonFollowsItsCheckedProperty) {
  auto* a = Add<vcl::TRadioButton>(form_.get(), 10, 10, 120, 20);
  auto* b = Add<vcl::TRadioButton>(form_.get(), 10, 40, 120, 20);
  Skin<TSkinRadioButton>(a);
  Skin<TSkinRadioButton>(b);
  a->SetChecked(true);
  EXPECT_EQ(MarkPixel(a->Handle()), Frame(kRadioId, 2));
  EXPECT_EQ(MarkPixel(b->Handle()), Frame(kRadioId, 1));
  // A click checks it through the system; the skin follows.
  SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 10));
  SendMessageW(b->Handle(), WM_LBUTTONUP, 0, Point(3, 10));
  EXPECT_TRUE(b->Checked());
  EXPECT_EQ(MarkPixel(b->Handle()), Frame(kRadioId, 2));
  EXPECT_EQ(MarkPixel(a->Handle()), Frame(kRadioId, 1));
}

TEST_F(SkinMarkTest, WithoutACheckImageTheBoxKeepsItsOwnPainting) {
  Load({.checkImage = false});
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetChecked(true);
  auto* s = Skin<TSkinCheckBox>(box);
  EXPECT_EQ(s->Style(), 0);
  auto b = Painted(box->Handle());
  EXPECT_EQ(s->LastFrame(), 0);
  for (int x = 0; x < b->Width(); x += 3) EXPECT_NE(At(b.get(), x, 10), Frame(kCheckId, 2));
}

TEST_F(SkinMarkTest, TheParentsBackgroundShowsBehindABoxWithTheTransparentTag) {
  form_->SetColor(vcl::clTeal);
  auto* box = Add<vcl::TCheckBox>(form_.get(), 10, 10, 120, 20);
  box->SetTag(5555);
  auto* s = Skin<TSkinCheckBox>(box);
  EXPECT_TRUE(s->ParentBack());
  RECT r{};
  GetWindowRect(box->Handle(), &r);
  auto b = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
  SendMessageW(box->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  SendMessageW(box->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  EXPECT_EQ(At(b.get(), 118, 1), vcl::ColorToRGB(vcl::clTeal));
  EXPECT_EQ(At(b.get(), kMarkSide / 2, 10), Frame(kCheckId, 1));
}

// ---------------------------------------------------------------------------------------
// Group boxes and panels

// The columns of the frame's top line that are drawn in the line colour.
std::vector<bool> TopLine(vcl::TBitmap* b, int y) {
  std::vector<bool> line;
  for (int x = 0; x < b->Width(); ++x) line.push_back(At(b, x, y) == C(kLine));
  return line;
}

int FrameTop(vcl::TBitmap* b, int column) {
  for (int y = 0; y < b->Height(); ++y)
    if (At(b, column, y) == C(kLine)) return y;
  return -1;
}

TEST_F(SkinMarkTest, AGroupBoxDrawsARoundedFrameWithAGapForItsCaptionOnEitherSide) {
  auto* group = Add<vcl::TGroupBox>(form_.get(), 10, 10, 200, 100);
  group->SetCaption(L"运费");
  Skin<TSkinGroupBox>(group);
  auto b = Painted(group->Handle());
  EXPECT_EQ(At(b.get(), 100, 50), C(kFace));  // filled with the face colour
  const int top = FrameTop(b.get(), 100);
  ASSERT_GT(top, 0);
  EXPECT_EQ(FrameTop(b.get(), 0), -1);
  EXPECT_GT(FrameTop(b.get(), 1), top);  // the corner is rounded
  EXPECT_EQ(At(b.get(), 1, 50), C(kLine));
  EXPECT_EQ(At(b.get(), 198, 50), C(kLine));
  // The caption starts 8 pixels in and covers the line there.
  std::vector<bool> line = TopLine(b.get(), top);
  EXPECT_TRUE(line[5]);
  EXPECT_FALSE(line[9]);
  EXPECT_FALSE(line[12]);
  EXPECT_TRUE(line[150]);

  // Right-aligned: the caption ends 8 pixels before the right edge.
  SetWindowLongPtrW(group->Handle(), GWL_EXSTYLE, GetWindowLongPtrW(group->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  b = Painted(group->Handle());
  line = TopLine(b.get(), top);
  EXPECT_TRUE(line[12]);
  EXPECT_FALSE(line[190]);
  EXPECT_TRUE(line[194]);
}

TEST_F(SkinMarkTest, APanelOnlyTakesTheFaceColourAndGetsItsOwnBack) {
  auto* panel = Add<vcl::TPanel>(form_.get(), 10, 10, 100, 60);
  panel->SetColor(vcl::clOlive);
  const vcl::TWndMethod own = panel->WindowProc;
  auto* s = Skin<TSkinBox>(panel, true);
  EXPECT_EQ(panel->Color(), C(kFace));
  EXPECT_TRUE(panel->WindowProc.Raw() == own.Raw());  // its messages are its own
  EXPECT_EQ(host_.FindSkinner(panel->Handle()), s);
  host_.ReleaseSkinners();
  EXPECT_EQ(panel->Color(), vcl::clOlive);
}

TEST(DrawCenteredText, TextIsCentredBothWaysAndGreyedWhenDisabled) {
  auto b = Surface(100, 40, vcl::clWhite);
  vcl::TCanvas* canvas = b->Canvas();
  canvas->Font()->SetColor(vcl::clBlack);
  DrawCenteredText(canvas, TRect(0, 0, 100, 40), L"居中", vcl::taLeftJustify, true);
  int left = 100, right = -1, top = 40, bottom = -1;
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 100; ++x)
      if (At(b.get(), x, y) != vcl::clWhite) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  ASSERT_GE(right, 0);
  EXPECT_NEAR((left + right) / 2, 50, 3);
  EXPECT_NEAR((top + bottom) / 2, 20, 4);

  auto grey = Surface(100, 40, vcl::clWhite);
  DrawCenteredText(grey->Canvas(), TRect(0, 0, 100, 40), L"居中", vcl::taCenter, false);
  bool shadow = false;
  for (int y = 0; y < 40 && !shadow; ++y)
    for (int x = 0; x < 100 && !shadow; ++x) shadow = At(grey.get(), x, y) == vcl::ColorToRGB(vcl::clBtnShadow);
  EXPECT_TRUE(shadow);
}

}  // namespace
}  // namespace winskin::test
