// The states of the control skinners through the real path: a form skinned by the manager, its
// children given their skinners by the mapping, each control painted by its own messages and
// read from the screen. Every frame of the skin's picture strips differs in colour from every
// other, and so does each of a frame's nine pieces (corners, edges and centre, cut at the
// skin's margins), so a wrong frame, a piece cut at a wrong offset or two states swapped show
// as the wrong colour at a known place. Hot and pressed come from the real pointer and button.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <sstream>
#include <utility>
#include <string>
#include <vector>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/UpDown.h"
#include "classlib/extctrls/Buttons.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/forms/form_skin_support.h"
#include "picture_pages.h"
#include "support/put_control.h"

namespace winskin::test {
namespace {

// A picture strip: frames side by side, each cut in nine pieces at its margins.
struct Strip {
  const char* file;
  int id, frames, width, height;
  int left = 1, top = 1, right = 1, bottom = 1;
};

// Piece p (row * 3 + column) of frame f of strip `id`: a colour of its own, never the key colour
// nor a colour of the form.
constexpr Rgb PieceColour(int id, int frame, int piece) { return MakeRgb(id, 9 * frame + piece, 40 + 20 * piece); }

int PieceAt(const Strip& s, int x, int y) {
  const int column = x < s.left ? 0 : x >= s.width - s.right ? 2 : 1;
  const int row = y < s.top ? 0 : y >= s.height - s.bottom ? 2 : 1;
  return row * 3 + column;
}

std::vector<uint8_t> StripBmp(const Strip& s) {
  return Bmp24(s.width * s.frames, s.height,
               [&](int x, int y) { return PieceColour(s.id, x / s.width + 1, PieceAt(s, x % s.width, y)); });
}

// What a pixel shows: a piece of a frame of a strip, or nothing of the skin's strips.
struct Seen {
  int id = 0, frame = 0, piece = -1;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
  if (s.piece < 0) return out << "no strip's piece";
  return out << "strip " << s.id << " frame " << s.frame << " piece " << s.piece;
}

Seen SeenIn(COLORREF c) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  if (b < 40 || (b - 40) % 20 != 0) return {};
  const int piece = (b - 40) / 20;
  if (piece > 8 || g < piece || (g - piece) % 9 != 0) return {};
  return {r, (g - piece) / 9, piece};
}

// The skin's strips: margins differ side by side, so a margin taken for another shows too.
constexpr Strip kButtons{"Buttons.bmp", 70, 5, 20, 20, 3, 2, 4, 5};
constexpr Strip kCheck{"Check.bmp", 71, 8, 13, 13};
constexpr Strip kRadio{"Radio.bmp", 72, 6, 13, 13};
constexpr Strip kRadio8{"Radio.bmp", 72, 8, 13, 13};
constexpr Strip kTabs{"Tabs.bmp", 73, 5, 20, 20, 3, 4, 2, 1};
constexpr Strip kCombo{"Combo.bmp", 74, 4, 12, 16};
constexpr Strip kSunk{"Sunk.bmp", 75, 4, 12, 16, 2, 2, 2, 2};
constexpr Strip kSpin{"SpinV.bmp", 76, 8, 10, 10};
constexpr Strip kHeader{"Header.bmp", 77, 5, 16, 10, 2, 1, 3, 1};
constexpr Strip kParts{"Parts.bmp", 78, 23, 8, 8};
constexpr Strip kTrack{"VTrack.bmp", 79, 4, 10, 10};
constexpr Strip kThumb{"VThumb.bmp", 80, 3, 10, 10};

PackageSpec StatesSkinSpec(const Strip& radio = kRadio, bool sunkEdge = true, const Strip& check = kCheck) {
  PackageSpec spec = FormSkinSpec({});
  std::string ini =
      "[Colours]\r\nButtonFace=200 201 202\r\nButtonText=1 2 3\r\nButtonShadow=90 91 92\r\n"
      "[Buttons]\r\nBitmap=Buttons.bmp\r\nCheckButton=Check.bmp\r\nRadioButton=Radio.bmp\r\n"
      "CheckButtonFrame=" + std::to_string(check.frames) + "\r\nRadioButtonFrame=" + std::to_string(radio.frames) +
      "\r\nLeftWidth=3\r\nTopHeight=2\r\nRightWidth=4\r\nBottomHeight=5\r\nTrans=0\r\nTile=0\r\n"
      "[Tabs]\r\nImage=Tabs.bmp\r\nLeftWidth=3\r\nTopHeight=4\r\nRightWidth=2\r\nBottomHeight=1\r\n"
      "[ComboButton]\r\nImage=Combo.bmp\r\nStyle=0\r\n"
      "[UpDown.Vert]\r\nImage=SpinV.bmp\r\n"
      "[Headerbar]\r\nImage=Header.bmp\r\nLeftWidth=2\r\nTopHeight=1\r\nRightWidth=3\r\nBottomHeight=1\r\n"
      "[Scrollbar]\r\nImage=Parts.bmp\r\n[VertScroll]\r\nImage=VTrack.bmp\r\n"
      "[VertScrollThumb]\r\nImage=VThumb.bmp\r\nFrameCount=3\r\n";
  if (sunkEdge) ini += "[SunkEdge]\r\nImage=Sunk.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n";
  for (PackageEntry& e : spec.entries)
    if (e.name == "forms.ini") e.bytes = ToBytes(std::string(e.bytes.begin(), e.bytes.end()) + ini);
  for (const Strip& s : {kButtons, check, radio, kTabs, kCombo, kSunk, kSpin, kHeader, kParts, kTrack, kThumb})
    spec.entries.push_back({s.file, StripBmp(s)});
  return spec;
}

// What the screen shows of a window: its client area, or its whole rectangle.
class Shown {
 public:
  explicit Shown(HWND Window, bool Whole = false) {
    RECT r{};
    if (Whole) {
      GetWindowRect(Window, &r);
    } else {
      GetClientRect(Window, &r);
      MapWindowPoints(Window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    }
    width_ = r.right - r.left;
    height_ = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width_, height_);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width_, height_, screen, r.left, r.top, SRCCOPY);
    pixels_.reserve(static_cast<size_t>(width_ * height_));
    for (int y = 0; y < height_; ++y)
      for (int x = 0; x < width_; ++x) pixels_.push_back(GetPixel(memory, x, y));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  COLORREF At(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_ ? pixels_[static_cast<size_t>(y * width_ + x)] : CLR_INVALID;
  }
  Seen SeenAt(int x, int y) const { return SeenIn(At(x, y)); }

 private:
  int width_ = 0, height_ = 0;
  std::vector<COLORREF> pixels_;
};

// The pieces of frame `frame` of strip `s` drawn stretched into Box: the four corners, both
// sides of every margin boundary along the top row and the left column, and the centre's first
// pixel. Empty when all are right, else what is wrong where.
std::string WrongPieces(const Shown& p, const RECT& Box, const Strip& s, int frame) {
  struct Point {
    int x, y, piece;
  };
  const int l = Box.left, t = Box.top, r = Box.right - 1, b = Box.bottom - 1;
  const Point points[] = {
      {l, t, 0},
      {r, t, 2},
      {l, b, 6},
      {r, b, 8},
      {l + s.left - 1, t, 0},
      {l + s.left, t, 1},
      {r - s.right, t, 1},
      {r - s.right + 1, t, 2},
      {l, t + s.top - 1, 0},
      {l, t + s.top, 3},
      {l, b - s.bottom, 3},
      {l, b - s.bottom + 1, 6},
      {l + s.left, t + s.top, 4},
  };
  std::string wrong;
  for (const Point& q : points) {
    const Seen want{s.id, frame, q.piece}, got = p.SeenAt(q.x, q.y);
    if (got == want) continue;
    std::ostringstream line;
    line << "(" << q.x << "," << q.y << ") shows " << got << ", not " << want << "; ";
    wrong += line.str();
  }
  return wrong;
}

// Frame `frame` of strip `s` drawn whole, pixel for pixel, with its top-left at (X, Y).
std::string WrongFrame(const Shown& p, int X, int Y, const Strip& s, int frame) {
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) {
      const Seen want{s.id, frame, PieceAt(s, x, y)}, got = p.SeenAt(X + x, Y + y);
      if (got == want) continue;
      std::ostringstream line;
      line << "(" << X + x << "," << Y + y << ") shows " << got << ", not " << want;
      return line.str();
    }
  return "";
}

// Frame `frame` of strip `s` stretched whole into Box (its pieces grow with it): the four
// corners and the centre.
std::string WrongStretched(const Shown& p, const RECT& Box, const Strip& s, int frame, bool Centre = true) {
  struct Point {
    int x, y, piece;
  };
  const Point points[] = {{Box.left, Box.top, 0},
                          {Box.right - 1, Box.top, 2},
                          {Box.left, Box.bottom - 1, 6},
                          {Box.right - 1, Box.bottom - 1, 8},
                          {(Box.left + Box.right) / 2, (Box.top + Box.bottom) / 2, 4}};
  std::string wrong;
  for (const Point& q : points) {
    if (!Centre && q.piece == 4) continue;
    const Seen want{s.id, frame, q.piece}, got = p.SeenAt(q.x, q.y);
    if (got == want) continue;
    std::ostringstream line;
    line << "(" << q.x << "," << q.y << ") shows " << got << ", not " << want << "; ";
    wrong += line.str();
  }
  return wrong;
}

// The box the pixels of strip `id` fill (empty when none shows).
RECT BoxOf(const Shown& p, int id) {
  RECT box{p.Width(), p.Height(), 0, 0};
  for (int y = 0; y < p.Height(); ++y)
    for (int x = 0; x < p.Width(); ++x)
      if (p.SeenAt(x, y).id == id) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box.right > box.left ? box : RECT{};
}

// A look a test waits for: empty when the screen shows it, else what is wrong where.
using Look = std::function<std::string()>;

RECT ClientBox(HWND Window) {
  RECT r{};
  GetClientRect(Window, &r);
  return r;
}

void RealButton(bool Down) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof input);
}

// A form skinned by the manager with the strips' skin, its controls mapped; the real pointer
// taken for the test and kept off the form but where a test puts it.
class ControlStates : public SkinnedWindows {
 protected:
  void SetUp() override {
    SkinnedWindows::SetUp();
    UseSkin(StatesSkinSpec());
    ASSERT_TRUE(wintest::MovePointer(2, 2));
  }
  void TearDown() override {
    RealButton(false);
    form_.reset();
    wintest::MovePointer(2, 2);
    SkinnedWindows::TearDown();
  }
  template <class T>
  T* Add(int x, int y, int w, int h) {
    if (!form_) {
      form_.reset(new vcl::TForm(vcl::Application, 0));
      form_->SetBounds(120, 120, 460, 320);
      form_->SetCaption(L"Control states");
    }
    return wintest::Put<T>(form_.get(), x, y, w, h);
  }
  // The form shown, skinned and laid over every other window.
  void Show() {
    ASSERT_TRUE(ShowSkinned(form_.get()));
    SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    wintest::PumpUntilIdle();
  }

  // The keyboard focus given to a control, once it has it.
  void Focus(vcl::TWinControl* Control) {
    Control->SetFocus();
    EXPECT_TRUE(wintest::PumpUntil([&] { return GetFocus() == Control->Handle(); }));
  }
  // Waits until the form, painted anew meanwhile, shows the look; what is wrong when it never
  // does.
  std::string Await(const Look& L, wintest::Deadline Within = wintest::kDeadline) {
    std::string last = "never read";
    wintest::PumpUntil(
        [&] {
          RedrawWindow(form_->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
          last = L();
          return last.empty();
        },
        Within);
    return last;
  }
  // Real input under Wine now and then reaches the window only with the next input: a step
  // whose look does not come is made again (the pointer nudged first), up to three times.
  std::string Retried(const std::function<void(int)>& Step, const Look& L) {
    std::string wrong;
    for (int attempt = 0; attempt < 3; ++attempt) {
      Step(attempt);
      wrong = Await(L, wintest::Deadline{1500});
      if (wrong.empty()) return wrong;
    }
    return wrong;
  }
  // The real pointer moved over a client point of a window (to the corner of the screen for no
  // window), until the look shows.
  std::string MoveTo(HWND Window, int X, int Y, const Look& L) {
    POINT p{X, Y};
    if (Window) ClientToScreen(Window, &p);
    return Retried(
        [&](int attempt) {
          if (attempt > 0) wintest::MovePointer(p.x + 1, p.y + 1);
          EXPECT_TRUE(wintest::MovePointer(p.x, p.y));
        },
        L);
  }
  // The real pointer taken off a window (from a client point of it) to the corner of the
  // screen, until the look shows: Wine now and then drops the leave notice, so a leave that does
  // not show is made again from the window.
  std::string Leave(HWND Window, int X, int Y, const Look& L) {
    POINT over{X, Y};
    ClientToScreen(Window, &over);
    return Retried(
        [&](int attempt) {
          if (attempt > 0) wintest::MovePointer(over.x, over.y);
          EXPECT_TRUE(wintest::MovePointer(2, 2));
        },
        L);
  }
  // The real button pressed where the pointer is, until the look shows.
  std::string Press(const Look& L) {
    return Retried(
        [](int attempt) {
          if (attempt > 0) {
            RealButton(false);
            POINT at{};
            GetCursorPos(&at);
            wintest::MovePointer(at.x + 1, at.y);
            wintest::MovePointer(at.x, at.y);
          }
          RealButton(true);
        },
        L);
  }
  // The real button let go, until the look shows (Wine may hold the release back until the next
  // input: the pointer is nudged then).
  std::string Release(const Look& L) {
    return Retried(
        [](int attempt) {
          if (attempt == 0) {
            RealButton(false);
            return;
          }
          POINT at{};
          GetCursorPos(&at);
          wintest::MovePointer(at.x + 1, at.y);
          wintest::MovePointer(at.x, at.y);
        },
        L);
  }
  // A click of the real button where the pointer is, until the look shows.
  std::string Click(const Look& L) {
    return Retried(
        [](int) {
          RealButton(true);
          RealButton(false);
        },
        L);
  }

  const wintest::PointerLock pointer_;
  Owned<vcl::TForm> form_;
};

// ---------------------------------------------------------------------------------------
// Buttons

// The frame of the button strip stretched over a box of a window with the strip's margins.
Look ButtonLook(HWND Window, RECT Box, int Frame) {
  return [=] { return WrongPieces(Shown(Window), Box, kButtons, Frame); };
}

// Normal, hot, pressed, focused (and default), disabled: each state its frame of the button
// strip, stretched to the button with the strip's four margins.
TEST_F(ControlStates, AButtonShowsItsFrameInEveryState) {
  auto* button = Add<vcl::TButton>(20, 20, 100, 32);
  button->SetCaption(L"Go");
  auto* other = Add<vcl::TButton>(20, 70, 100, 32);
  Show();
  Focus(other);
  const HWND w = button->Handle();
  auto look = [&](int f) { return ButtonLook(w, ClientBox(w), f); };
  EXPECT_EQ(Await(look(1)), "") << "normal";
  EXPECT_EQ(MoveTo(w, 50, 16, look(4)), "") << "hot";
  EXPECT_EQ(Press(look(2)), "") << "pressed";
  EXPECT_EQ(Release(look(4)), "") << "released: hot wins over focused by the press";
  EXPECT_EQ(Leave(w, 50, 16, look(5)), "") << "focused";
  Focus(other);
  EXPECT_EQ(Await(look(1)), "") << "the focus gone";
  button->SetDefault(true);
  EXPECT_EQ(Await(look(5)), "") << "default";
  button->SetEnabled(false);
  EXPECT_EQ(Await(look(3)), "") << "disabled wins over default";
}

// A bit button and a speed button take the same frames for the same states; a speed button held
// down shows pressed.
TEST_F(ControlStates, ABitButtonAndASpeedButtonShowTheirFrameInEveryState) {
  auto* bit = Add<vcl::TBitBtn>(20, 20, 100, 32);
  bit->SetCaption(L"Bit");
  auto* speed = Add<vcl::TSpeedButton>(20, 70, 100, 32);
  speed->SetCaption(L"Speed");
  auto* other = Add<vcl::TButton>(20, 120, 100, 32);
  Show();
  Focus(other);
  const HWND w = bit->Handle();
  const HWND host = form_->Handle();
  auto bitLook = [&](int f) { return ButtonLook(w, ClientBox(w), f); };
  auto speedLook = [&](int f) { return ButtonLook(host, RECT{20, 70, 120, 102}, f); };
  EXPECT_EQ(Await(bitLook(1)), "") << "bit button normal";
  EXPECT_EQ(Await(speedLook(1)), "") << "speed button normal";
  EXPECT_EQ(MoveTo(w, 50, 16, bitLook(4)), "") << "bit button hot";
  EXPECT_EQ(Press(bitLook(2)), "") << "bit button pressed";
  EXPECT_EQ(Release(bitLook(4)), "") << "bit button released, hot";
  EXPECT_EQ(Leave(w, 50, 16, bitLook(5)), "") << "bit button focused, the pointer gone";
  EXPECT_EQ(MoveTo(host, 70, 86, speedLook(4)), "") << "speed button hot";
  EXPECT_EQ(Press(speedLook(2)), "") << "speed button pressed";
  RealButton(false);
  EXPECT_EQ(MoveTo(host, 72, 88, speedLook(4)), "") << "speed button released, the pointer on it";
  EXPECT_EQ(Leave(host, 72, 88, speedLook(1)), "") << "speed button left";
  speed->SetGroupIndex(1);
  speed->SetDown(true);
  EXPECT_EQ(Await(speedLook(2)), "") << "speed button down";
  speed->SetAllowAllUp(true);
  speed->SetDown(false);
  speed->SetEnabled(false);
  EXPECT_EQ(Await(speedLook(3)), "") << "speed button disabled";
  bit->SetEnabled(false);
  EXPECT_EQ(Await(bitLook(3)), "") << "bit button disabled";
}

// A media player of three buttons: three equal faces, each frame 1 of the button strip
// stretched with its margins; the one the real button holds down frame 2.
TEST_F(ControlStates, AMediaPlayersButtonsShowTheNormalFrameAndThePressedOneItsOwn) {
  auto* player = Add<vcl::TMediaPlayer>(20, 20, 210, 30);
  player->SetVisibleButtons({vcl::TMPBtnType::btPlay, vcl::TMPBtnType::btPause, vcl::TMPBtnType::btStop});
  Show();
  const HWND w = player->Handle();
  auto look = [=](int pressed) -> Look {
    return [=] {
      const Shown p(w);
      std::string wrong;
      for (int b = 0; b < 3; ++b)
        wrong += WrongPieces(p, RECT{b * 70, 0, b * 70 + 70, p.Height()}, kButtons, b == pressed ? 2 : 1);
      return wrong;
    };
  };
  EXPECT_EQ(Await(look(-1)), "") << "at rest";
  EXPECT_EQ(MoveTo(w, 105, 15, look(-1)), "") << "the pointer over the middle one";
  EXPECT_EQ(Press(look(1)), "") << "the middle one held down";
  EXPECT_EQ(Release(look(-1)), "") << "let go";
}

// ---------------------------------------------------------------------------------------
// Check boxes and radio buttons

// The mark: the whole frame, pixel for pixel, at the left edge (the right edge when the caption
// stands left of it), centred from top to bottom.
Look MarkLook(HWND Window, const Strip& S, bool AtRight, int Frame) {
  return [=] {
    const Shown p(Window);
    return WrongFrame(p, AtRight ? p.Width() - S.width : 0, (p.Height() - S.height) / 2, S, Frame);
  };
}

constexpr Strip kCheck12{"Check.bmp", 71, 12, 13, 13};

// A check box's frames: with 8 frames 1 unchecked, 2 checked, 3 and 4 disabled, 4 grayed. A
// full set of 12 holds each look with its hot and pressed frames after it: 1 unchecked, 5
// checked, 9 grayed (each +1 hot, +2 pressed), 4, 8 and 12 disabled. Marks at both sides.
TEST_F(ControlStates, ACheckBoxShowsTheFrameOfEachStateWithEightAndTwelveFramesAtEitherSide) {
  for (const Strip& strip : {kCheck, kCheck12}) {
    SCOPED_TRACE(strip.frames);
    UseSkin(StatesSkinSpec(kRadio, true, strip));
    const bool full = strip.frames == 12;
    auto* box = Add<vcl::TCheckBox>(20, 20, 140, 21);
    box->SetCaption(L"Check");
    box->SetAllowGrayed(true);
    auto* left = Add<vcl::TCheckBox>(20, 60, 140, 21);
    left->SetCaption(L"Left");
    left->SetAlignment(vcl::taLeftJustify);
    Show();
    for (vcl::TCheckBox* c : {box, left}) {
      SCOPED_TRACE(c == box ? "mark at the left" : "mark at the right");
      auto look = [&](int f) { return MarkLook(c->Handle(), strip, c == left, f); };
      EXPECT_EQ(Await(look(1)), "") << "unchecked";
      c->SetChecked(true);
      EXPECT_EQ(Await(look(full ? 5 : 2)), "") << "checked";
      c->SetEnabled(false);
      EXPECT_EQ(Await(look(full ? 8 : 4)), "") << "checked, disabled";
      c->SetChecked(false);
      EXPECT_EQ(Await(look(full ? 4 : 3)), "") << "unchecked, disabled";
      c->SetEnabled(true);
      EXPECT_EQ(Await(look(1)), "") << "unchecked again";
    }
    const HWND w = box->Handle();
    auto look = [&](int f) { return MarkLook(w, strip, false, f); };
    box->SetState(vcl::cbGrayed);
    EXPECT_EQ(Await(look(full ? 9 : 4)), "") << "grayed";
    box->SetEnabled(false);
    EXPECT_EQ(Await(look(full ? 12 : 4)), "") << "grayed, disabled";
    box->SetEnabled(true);
    box->SetState(vcl::cbUnchecked);
    box->SetAllowGrayed(false);
    // The real pointer: over it, pressing it, and its click checks it.
    EXPECT_EQ(MoveTo(w, 6, 10, look(full ? 2 : 1)), "") << "unchecked, hot";
    EXPECT_EQ(Press(look(full ? 3 : 1)), "") << "unchecked, pressed";
    EXPECT_EQ(Release(look(full ? 6 : 2)), "") << "checked by the click, hot";
    EXPECT_EQ(Leave(w, 6, 10, look(full ? 5 : 2)), "") << "checked, left";
    form_.reset();
  }
}

// A radio button's frames: with 6 frames 1 and 2 unchecked and checked, 3 and 4 disabled; a
// full set of 8 takes 1 and 5 (each +1 hot, +2 pressed), and 4 and 8 disabled.
TEST_F(ControlStates, ARadioButtonShowsTheFrameOfEachStateWithSixAndEightFrames) {
  for (const Strip& strip : {kRadio, kRadio8}) {
    SCOPED_TRACE(strip.frames);
    UseSkin(StatesSkinSpec(strip));
    const bool full = strip.frames == 8;
    auto* first = Add<vcl::TRadioButton>(20, 20, 140, 21);
    first->SetCaption(L"First");
    auto* second = Add<vcl::TRadioButton>(20, 60, 140, 21);
    second->SetCaption(L"Second");
    Show();
    auto look = [&](vcl::TRadioButton* c, int f) { return MarkLook(c->Handle(), strip, false, f); };
    EXPECT_EQ(Await(look(first, 1)), "") << "unchecked";
    first->SetChecked(true);
    EXPECT_EQ(Await(look(first, full ? 5 : 2)), "") << "checked";
    EXPECT_EQ(Await(look(second, 1)), "") << "its neighbour unchecked";
    second->SetEnabled(false);
    EXPECT_EQ(Await(look(second, full ? 4 : 3)), "") << "unchecked, disabled";
    first->SetEnabled(false);
    EXPECT_EQ(Await(look(first, full ? 8 : 4)), "") << "checked, disabled";
    second->SetEnabled(true);
    first->SetEnabled(true);
    // The real pointer on the other one: hot, pressed, and the click moves the check.
    EXPECT_EQ(MoveTo(second->Handle(), 6, 10, look(second, full ? 2 : 1)), "") << "hot";
    EXPECT_EQ(Press(look(second, full ? 3 : 1)), "") << "pressed";
    EXPECT_EQ(Release(look(second, full ? 6 : 2)), "") << "checked by the click, hot";
    EXPECT_EQ(Await(look(first, 1)), "") << "unchecked by its neighbour's click";
    EXPECT_EQ(Leave(second->Handle(), 6, 10, look(second, full ? 5 : 2)), "") << "checked, left";
    form_.reset();
  }
}

// ---------------------------------------------------------------------------------------
// Tabs

// The current tab is frame 2 of the tab strip, one under the pointer frame 4 (a strip of four
// frames or more), the others frame 1, each stretched into its tab with the strip's margins;
// tabs below the pages wear the strip upside down.
TEST_F(ControlStates, TheCurrentTabShowsTheSelectedFrameAndTheOthersTheNormalOneAboveAndBelow) {
  for (vcl::TTabPosition position : {vcl::tpTop, vcl::tpBottom}) {
    SCOPED_TRACE(position == vcl::tpTop ? "tabs on top" : "tabs below");
    auto* pages = Add<vcl::TPageControl>(20, 20, 300, 180);
    for (const wchar_t* caption : {L"First", L"Second", L"Third"}) {
      auto* sheet = new vcl::TTabSheet(form_.get());
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
    }
    pages->SetTabPosition(position);
    pages->SetActivePageIndex(0);
    Show();
    const HWND w = pages->Handle();
    auto tab = [w](int index) {
      RECT r{};
      SendMessageW(w, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
      return r;
    };
    // Each tab's face lies one row off its place towards the pages: the strip's top edge (4
    // rows) at the tab's outer side, upside down below the pages; its left (3) and right (2)
    // edges beside the centre. Both sides of each margin are looked at.
    const bool top = position == vcl::tpTop;
    auto look = [=](int current, int hot = -1) -> Look {
      return [=] {
        const Shown p(w);
        std::string wrong;
        for (int i = 0; i < 3; ++i) {
          const RECT r = tab(i);
          const int f = i == current ? 2 : i == hot ? 4 : 1;
          const int outer = top ? r.top + 1 : r.bottom - 2, step = top ? 1 : -1;
          const int inside = outer + step * kTabs.top;
          const int x = (r.left + r.right) / 2;
          const struct {
            int x, y, piece;
          } points[] = {{x, outer, 1},
                        {x, outer + step * (kTabs.top - 1), 1},
                        {x, inside, 4},
                        {r.left, inside, 3},
                        {r.left + kTabs.left - 1, inside, 3},
                        {r.left + kTabs.left, inside, 4},
                        {r.right - 1, inside, 5},
                        {r.right - kTabs.right, inside, 5},
                        {r.right - kTabs.right - 1, inside, 4},
                        {r.left, outer, 0},
                        {r.right - 1, outer, 2}};
          for (const auto& q : points) {
            const Seen want{kTabs.id, f, q.piece}, got = p.SeenAt(q.x, q.y);
            if (got == want) continue;
            std::ostringstream line;
            line << "tab " << i << " (" << q.x << "," << q.y << ") shows " << got << ", not " << want << "; ";
            wrong += line.str();
          }
        }
        return wrong;
      };
    };
    EXPECT_EQ(Await(look(0)), "") << "the first current";
    const RECT second = tab(1);
    EXPECT_EQ(MoveTo(w, (second.left + second.right) / 2, (second.top + second.bottom) / 2, look(0, 1)), "")
        << "the second under the pointer";
    EXPECT_EQ(Leave(w, (second.left + second.right) / 2, (second.top + second.bottom) / 2, look(0)), "")
        << "the pointer gone";
    pages->SetActivePageIndex(2);
    EXPECT_EQ(Await(look(2)), "") << "the third current";
    form_.reset();
  }
}

// ---------------------------------------------------------------------------------------
// Input controls

// The combo box's button: normal 1, focused or hot 4, pressed 2, disabled 3. With the sunken
// edge's picture the skin's reader makes one picture a state of the edit's frame and the button
// and lays it over the whole box, the button at the right; without it the button's frame alone
// is stretched over the button's place, 2 pixels inside the box, with the system's arrow in its
// middle (the skin has no arrow glyph) in the button text colour, the shadow colour disabled.
TEST_F(ControlStates, AComboBoxsButtonShowsItsFrameInEveryStateWithAndWithoutTheSunkenEdge) {
  for (const bool sunk : {true, false}) {
    SCOPED_TRACE(sunk ? "with the sunken edge" : "without the sunken edge");
    UseSkin(StatesSkinSpec(kRadio, sunk));
    auto* combo = Add<vcl::TComboBox>(20, 20, 160, 24);
    combo->SetStyle(vcl::csDropDownList);
    combo->Items()->Add(L"Apples");
    combo->Items()->Add(L"Pears");
    auto* other = Add<vcl::TButton>(20, 70, 100, 32);
    Show();
    Focus(other);
    const HWND w = combo->Handle();
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    auto look = [=](int f) -> Look {
      return [=] {
        const Shown p(w, true);
        const RECT button = BoxOf(p, kCombo.id);
        const int width = p.Width(), height = p.Height();
        // Every pixel of the pictures is of the state's frame.
        for (int y = 0; y < height; ++y)
          for (int x = 0; x < width; ++x) {
            const Seen seen = p.SeenAt(x, y);
            if ((seen.id == kCombo.id || seen.id == kSunk.id) && seen.frame != f) {
              std::ostringstream line;
              line << "(" << x << "," << y << ") shows " << seen << ", not frame " << f;
              return line.str();
            }
          }
        if (sunk) {
          std::string wrong;
          if (button.right != width) wrong += "the button not at the right; ";
          if (p.SeenAt(width - 1, 0) != Seen{kCombo.id, f, 2}) wrong += "the button's top-right; ";
          if (p.SeenAt(width - 1, height - 1) != Seen{kCombo.id, f, 8}) wrong += "the button's bottom-right; ";
          if (p.SeenAt(0, 0) != Seen{kSunk.id, f, 0}) wrong += "the frame's top-left; ";
          if (p.SeenAt(0, height - 1) != Seen{kSunk.id, f, 6}) wrong += "the frame's bottom-left; ";
          return wrong;
        }
        if (button.left != width - arrow - 2 || button.right != width - 2 || button.top != 2 ||
            button.bottom != height - 2)
          return "the button's place: " + std::to_string(button.left) + "," + std::to_string(button.top) + ".." +
                 std::to_string(button.right) + "," + std::to_string(button.bottom);
        const COLORREF ink = f == 3 ? RGB(90, 91, 92) : RGB(1, 2, 3);
        const COLORREF middle = p.At((button.left + button.right) / 2, (button.top + button.bottom) / 2);
        return WrongStretched(p, button, kCombo, f, false) + (middle == ink ? "" : "no arrow in the middle; ");
      };
    };
    EXPECT_EQ(Await(look(1)), "") << "normal";
    const RECT box = ClientBox(w);
    const POINT onButton{box.right - 2 - arrow / 2, box.bottom / 2};
    EXPECT_EQ(MoveTo(w, onButton.x, onButton.y, look(4)), "") << "hot";
    EXPECT_EQ(MoveTo(w, 10, box.bottom / 2, look(1)), "") << "the pointer off the button";
    Focus(combo);
    EXPECT_EQ(Await(look(4)), "") << "focused";
    Focus(other);
    combo->SetEnabled(false);
    EXPECT_EQ(Await(look(3)), "") << "disabled";
    combo->SetEnabled(true);
    // (Wine may hand the enabled box a mouse move of an earlier place: the pointer is moved again.)
    EXPECT_EQ(MoveTo(w, 10, box.bottom / 2, look(1)), "") << "enabled again, the pointer off the button";
    // Pressed while the button is held (the press drops the list).
    EXPECT_EQ(MoveTo(w, onButton.x, onButton.y, look(4)), "") << "hot again";
    EXPECT_EQ(Press(look(2)), "") << "pressed";
    RealButton(false);
    combo->SetDroppedDown(false);
    ASSERT_TRUE(wintest::MovePointer(2, 2));
    form_.reset();
  }
}

// Each half of an up-down: its arrow's four frames (normal, pressed, disabled, hot) in a row of
// the strip, the up arrow's first, stretched over the half.
TEST_F(ControlStates, EachHalfOfAnUpDownShowsItsArrowsFrameInEveryState) {
  auto* spin = Add<vcl::TUpDown>(20, 20, 20, 40);
  Show();
  const HWND w = spin->Handle();
  auto look = [=](int up, int down) -> Look {
    return [=] {
      const Shown p(w);
      const int half = p.Height() / 2;
      return WrongStretched(p, RECT{0, 0, p.Width(), half}, kSpin, up) +
             WrongStretched(p, RECT{0, half, p.Width(), p.Height()}, kSpin, down);
    };
  };
  EXPECT_EQ(Await(look(1, 5)), "") << "normal";
  EXPECT_EQ(MoveTo(w, 10, 8, look(4, 5)), "") << "the up half hot";
  EXPECT_EQ(MoveTo(w, 10, 32, look(1, 8)), "") << "the down half hot";
  EXPECT_EQ(Press(look(1, 6)), "") << "the down half pressed";
  EXPECT_EQ(Release(look(1, 8)), "") << "the down half released";
  EXPECT_EQ(Leave(w, 10, 32, look(1, 5)), "") << "left";
  spin->SetEnabled(false);
  EXPECT_EQ(Await(look(3, 7)), "") << "disabled";
}

// A header's item under the pointer is frame 2 of the header strip, the others frame 1.
TEST_F(ControlStates, AHeadersItemUnderThePointerShowsTheHotFrame) {
  auto* header = Add<vcl::THeaderControl>(20, 20, 300, 24);
  for (const wchar_t* caption : {L"Name", L"Size"}) header->Sections()->Add()->SetText(caption);
  header->Sections()->Items(0)->SetWidth(120);
  header->Sections()->Items(1)->SetWidth(120);
  Show();
  const HWND w = header->Handle();
  auto look = [=](int first, int second) -> Look {
    return [=] {
      const Shown p(w);
      return WrongPieces(p, RECT{0, 0, 120, p.Height()}, kHeader, first) +
             WrongPieces(p, RECT{120, 0, 240, p.Height()}, kHeader, second);
    };
  };
  EXPECT_EQ(Await(look(1, 1)), "") << "at rest";
  EXPECT_EQ(MoveTo(w, 180, 12, look(1, 2)), "") << "the second hot";
  EXPECT_EQ(MoveTo(w, 60, 12, look(2, 1)), "") << "the first hot";
  EXPECT_EQ(Leave(w, 60, 12, look(1, 1)), "") << "left";
}

// A header's and a status bar's pictures whose top and bottom margins take the whole frame (a
// third of the usual height) have no pixels for the band between them, stretched or tiled: the
// band shows the skin's face the control lies on, never black, while the margins show their
// pieces; with one row between the margins, that row is stretched or tiled over the band.
TEST_F(ControlStates, AHeaderAndAStatusBarWithoutRowsBetweenTheirMarginsShowTheFaceBetween) {
  const COLORREF face = RGB(200, 201, 202);  // the skin's button face
  for (const int tile : {0, 1})
    for (const int between : {0, 1}) {
      SCOPED_TRACE(std::string(tile ? "tiled" : "stretched") + (between ? ", a row between" : ", no row between"));
      const Strip header{"Header.bmp", 77, 5, 16, 4 + between, 2, 2, 3, 2};
      const Strip edges{"Edges.bmp", 81, 3, 16, 4 + between, 3, 2, 3, 2};
      PackageSpec spec = StatesSkinSpec();
      for (PackageEntry& e : spec.entries) {
        if (e.name == "Header.bmp") e.bytes = StripBmp(header);
        if (e.name == "forms.ini") {
          std::string ini(e.bytes.begin(), e.bytes.end());
          const std::string was = "[Headerbar]\r\nImage=Header.bmp\r\nLeftWidth=2\r\nTopHeight=1\r\nRightWidth=3\r\nBottomHeight=1\r\n";
          ASSERT_NE(ini.find(was), std::string::npos);
          ini.replace(ini.find(was), was.size(),
                      "[Headerbar]\r\nImage=Header.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=3\r\nBottomHeight=2\r\nTile=" +
                          std::to_string(tile) + "\r\n");
          ini += "[StatusBarEdges]\r\nImage=Edges.bmp\r\nLeftWidth=3\r\nTopHeight=2\r\nRightWidth=3\r\nBottomHeight=2\r\nTile=" +
                 std::to_string(tile) + "\r\n";
          e.bytes = ToBytes(ini);
        }
      }
      spec.entries.push_back({edges.file, StripBmp(edges)});
      UseSkin(spec);
      auto* bar = Add<vcl::THeaderControl>(20, 20, 300, 24);
      for (int i = 0; i < 2; ++i) bar->Sections()->Add()->SetWidth(120);
      auto* status = Add<vcl::TStatusBar>(20, 200, 300, 24);
      status->SetSimplePanel(true);
      Show();
      const HWND h = bar->Handle(), s = status->Handle();
      // Down a column of a section: the top margin's piece, then the band, then the bottom one.
      auto column = [&](const Shown& p, int x, int piece, const Strip& strip, int frame, int top, int bottom) {
        std::ostringstream wrong;
        for (int y = 0; y < p.Height(); ++y) {
          const bool inTop = y < top + strip.top, inBottom = y >= bottom - strip.bottom;
          if (y < top || y >= bottom) continue;
          const COLORREF got = p.At(x, y);
          const bool right = inTop      ? p.SeenAt(x, y) == Seen{strip.id, frame, piece}
                             : inBottom ? p.SeenAt(x, y) == Seen{strip.id, frame, piece + 6}
                             : between  ? p.SeenAt(x, y) == Seen{strip.id, frame, piece + 3}
                                        : got == face;
          if (!right) {
            wrong << "(" << x << "," << y << ") shows " << p.SeenAt(x, y) << " colour " << std::hex << got << std::dec << "; ";
            break;
          }
        }
        return wrong.str();
      };
      EXPECT_EQ(Await([&] {
                  const Shown p(h);
                  return column(p, 0, 0, header, 1, 0, p.Height()) + column(p, 60, 1, header, 1, 0, p.Height()) +
                         column(p, 119, 2, header, 1, 0, p.Height()) + column(p, 200, 1, header, 1, 0, p.Height());
                }),
                "")
          << "the header";
      EXPECT_EQ(Await([&] {
                  const Shown p(s);
                  RECT panel{};
                  SendMessageW(s, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
                  return column(p, panel.left, 0, edges, 2, panel.top, panel.bottom) +
                         column(p, (panel.left + panel.right) / 2, 1, edges, 2, panel.top, panel.bottom);
                }),
                "")
          << "the status bar";
      form_.reset();
    }
}

// ---------------------------------------------------------------------------------------
// Progress bars

// A progress bar whose bar is made of the chunk picture (its style not 0: 1, -1 or the largest
// integer): where a chunk keyed transparent has the key colour, the background picture shows,
// tiled in blocks or stretched (a tile value above 1 stretches); a chunk not keyed shows its key
// colour as it is.
TEST_F(ControlStates, AProgressBarsChunksShowTheBackgroundWhereTheirKeyColourIsTransparent) {
  constexpr Strip kBack{"Progress.bmp", 84, 2, 10, 10};
  const Rgb chunkColour = MakeRgb(30, 160, 60);
  struct Case {
    const char* style;
    int trans, tile;
  } cases[] = {{"1", 1, 1}, {"-1", 1, 1}, {"2147483647", 1, 1}, {"1", 1, 0}, {"1", 1, 2147483647},
               {"1", 0, 1}, {"1", 0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("style ") + c.style + ", trans " + std::to_string(c.trans) + ", tile " + std::to_string(c.tile));
    PackageSpec spec = StatesSkinSpec();
    for (PackageEntry& e : spec.entries)
      if (e.name == "forms.ini")
        e.bytes = ToBytes(std::string(e.bytes.begin(), e.bytes.end()) + "[Progress]\r\nBitmap=Progress.bmp\r\nStyle=" +
                          c.style + "\r\n[Progress.Chunk]\r\nImage=Chunk.bmp\r\nTrans=" + std::to_string(c.trans) +
                          "\r\nTile=" + std::to_string(c.tile) + "\r\n");
    spec.entries.push_back({kBack.file, StripBmp(kBack)});
    // An 8 x 10 chunk: its top row and right column the key colour.
    spec.entries.push_back({"Chunk.bmp", Bmp24(8, 10, [&](int x, int y) { return x == 7 || y == 0 ? kMagenta : chunkColour; })});
    UseSkin(spec);
    auto* bar = Add<vcl::TProgressBar>(20, 20, 200, 20);
    bar->SetPosition(50);  // of 0 to 100: the bar's first 100 pixels
    Show();
    const HWND w = bar->Handle();
    // The key column of the first chunk, or of the stretched one; the top row; the chunk's body.
    const int keyColumn = c.tile == 1 ? 7 : 95, body = c.tile == 1 ? 3 : 40;
    EXPECT_EQ(Await([&] {
                const Shown p(w);
                std::ostringstream wrong;
                auto expect = [&](int x, int y, bool background) {
                  const COLORREF got = p.At(x, y);
                  const bool right = background ? (c.trans ? p.SeenAt(x, y).id == kBack.id : got == RGB(255, 0, 255))
                                                : got == RGB(GetRValue(chunkColour), GetGValue(chunkColour), GetBValue(chunkColour));
                  if (!right) wrong << "(" << x << "," << y << ") shows " << p.SeenAt(x, y) << " colour " << std::hex << got << std::dec << "; ";
                };
                expect(keyColumn, p.Height() / 2, true);
                expect(body, 0, true);
                expect(body, p.Height() / 2, false);
                return wrong.str();
              }),
              "");
    form_.reset();
  }
}

// ---------------------------------------------------------------------------------------
// Tab pictures

// A page control of another library mapped (by the skin's class list) as one that shows tab
// pictures: when the tab picture's left and right margins take its whole width, the pictures it
// is given show the skin's face between them (what the tabs lie on), never black, and the
// margins their pieces; with one column between the margins, it is stretched over the middle.
TEST_F(ControlStates, TabPicturesWithoutColumnsBetweenTheMarginsShowTheFaceThere) {
  const COLORREF face = RGB(200, 201, 202);
  for (const int right : {17, 16}) {
    SCOPED_TRACE(right == 17 ? "no column between the margins" : "a column between");
    PackageSpec spec = StatesSkinSpec();
    for (PackageEntry& e : spec.entries)
      if (e.name == "forms.ini") {
        std::string text(e.bytes.begin(), e.bytes.end());
        const std::string was = "[Tabs]\r\nImage=Tabs.bmp\r\nLeftWidth=3\r\nTopHeight=4\r\nRightWidth=2\r\n";
        ASSERT_NE(text.find(was), std::string::npos);
        text.replace(text.find(was), was.size(),
                     "[Tabs]\r\nImage=Tabs.bmp\r\nLeftWidth=3\r\nTopHeight=4\r\nRightWidth=" + std::to_string(right) + "\r\n");
        e.bytes = ToBytes(text);
      }
    UseSkin(spec);
    data_->Skin3rd()->Add(L"TPicturePages=advpagecontrol");
    auto* pages = Add<TPicturePages>(20, 20, 200, 100);
    Show();
    for (const auto& [picture, frame] : {std::pair(pages->TabBackGround(), 1), std::pair(pages->TabBackGroundActive(), 2)}) {
      SCOPED_TRACE(frame == 1 ? "normal" : "active");
      vcl::TBitmap* b = picture->Graphic() ? picture->Bitmap() : nullptr;
      ASSERT_TRUE(b && b->Width() == 100 && b->Height() > 10);
      const int y = b->Height() / 2;
      auto seen = [&](int x) { return SeenIn(static_cast<COLORREF>(b->Canvas()->Pixels(x, y))); };
      EXPECT_EQ(seen(1), (Seen{kTabs.id, frame, 3})) << "the left margin";
      EXPECT_EQ(seen(98), (Seen{kTabs.id, frame, 5})) << "the right margin";
      for (const int x : {3, 50, 100 - right - 1}) {
        if (right == 17)
          EXPECT_EQ(static_cast<COLORREF>(b->Canvas()->Pixels(x, y)), face) << x;
        else
          EXPECT_EQ(seen(x), (Seen{kTabs.id, frame, 4})) << x;
      }
    }
    form_.reset();
  }
}

// ---------------------------------------------------------------------------------------
// Track bars

// The track bar's channel pictures: caps and middle of their own colours along the bar.
constexpr Strip kChannel{"Track.bmp", 82, 1, 12, 6, 3, 0, 3, 0};
constexpr Strip kChannelV{"TrackV.bmp", 83, 1, 6, 12, 0, 3, 0, 3};

// The skin with its channel sections given these values (after "Image=" and "Trans=0").
PackageSpec ChannelSkinSpec(const std::string& Horizontal, const std::string& Vertical) {
  PackageSpec spec = StatesSkinSpec();
  for (PackageEntry& e : spec.entries)
    if (e.name == "forms.ini")
      e.bytes = ToBytes(std::string(e.bytes.begin(), e.bytes.end()) + "[Track]\r\nImage=Track.bmp\r\nTrans=0\r\n" +
                        Horizontal + "[TRACKVERT]\r\nImage=TrackV.bmp\r\nTrans=0\r\n" + Vertical);
  spec.entries.push_back({kChannel.file, StripBmp(kChannel)});
  spec.entries.push_back({kChannelV.file, StripBmp(kChannelV)});
  return spec;
}

// A track bar's channel as its control gives it, x and y the right way round.
RECT ChannelOf(HWND Bar) {
  RECT c{};
  SendMessageW(Bar, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&c));
  if ((GetWindowLongPtrW(Bar, GWL_STYLE) & TBS_VERT) && c.right - c.left > c.bottom - c.top) c = RECT{c.top, c.left, c.bottom, c.right};
  return c;
}

// Along the channel (down the middle of its picture, which is centred across a wider channel),
// the pieces the skin's picture shows at the given distances from its start (negative: from its
// end); empty when all are right.
std::string WrongChannel(const Shown& p, const RECT& Channel, bool Vertical,
                         const std::vector<std::pair<int, int>>& Pieces) {
  const Strip& s = Vertical ? kChannelV : kChannel;
  const int size = Vertical ? s.width : s.height;
  const int extent = Vertical ? Channel.right - Channel.left : Channel.bottom - Channel.top;
  const int Across = (size < extent ? (extent - size) / 2 : 0) + size / 2;
  std::ostringstream wrong;
  for (const auto& [at, piece] : Pieces) {
    const int along = at >= 0 ? at : (Vertical ? Channel.bottom - Channel.top : Channel.right - Channel.left) + at;
    const int x = Vertical ? Channel.left + Across : Channel.left + along;
    const int y = Vertical ? Channel.top + along : Channel.top + Across;
    const Seen want{s.id, 1, piece}, got = p.SeenAt(x, y);
    if (got != want) wrong << "(" << x << "," << y << ") shows " << got << ", not " << want << "; ";
  }
  return wrong.str();
}

// The system's channel where the skin has none to give: no pixel of the skin's picture over the
// channel, and its edge standing out of what lies round the bar.
std::string WrongSystemChannel(const Shown& p, const RECT& Channel) {
  const COLORREF round = p.At(1, 1);
  int edge = 0;
  for (int y = Channel.top; y < Channel.bottom; ++y)
    for (int x = Channel.left; x < Channel.right; ++x) {
      const Seen got = p.SeenAt(x, y);
      if (got.id == kChannel.id || got.id == kChannelV.id) return "the skin's picture at (" + std::to_string(x) + "," + std::to_string(y) + ")";
      if (p.At(x, y) != round) ++edge;
    }
  return edge > 0 ? "" : "no channel: nothing over it but what lies round the bar";
}

// The channel's caps as the skin gives them, where they fit; caps below 0 are none, and caps
// that leave no room between them (up to the largest integer, which a plain sum wraps round)
// are both dropped, the whole picture stretched along the channel. A channel picture the skin
// cannot have (more frames than its pixels) leaves the system's channel, never none, while the
// other bar keeps its own picture.
TEST_F(ControlStates, ATrackBarsChannelShowsTheSkinsCapsWhereTheyFitElseTheWholePictureOrTheSystems) {
  // A horizontal and a vertical bar without thumbs, shown: their handles.
  const auto showBars = [this] {
    auto* bar = Add<vcl::TTrackBar>(20, 20, 200, 32);
    bar->SetSliderVisible(false);
    auto* upright = Add<vcl::TTrackBar>(260, 20, 32, 200);
    upright->SetOrientation(vcl::trVertical);
    upright->SetSliderVisible(false);
    Show();
    return std::pair(bar->Handle(), upright->Handle());
  };
  // Stretched whole: the left cap's piece over the first quarter, the right's over the last.
  const std::vector<std::pair<int, int>> whole{{0, 3}, {5, 3}, {-6, 5}, {-1, 5}};
  struct Case {
    const char* values;
    std::vector<std::pair<int, int>> pieces;  // empty: the system's channel
  } cases[] = {
      {"LeftWidth=3\r\nRightWidth=3\r\n", {{0, 3}, {2, 3}, {3, 4}, {-4, 4}, {-3, 5}, {-1, 5}}},
      // Caps that leave one column between them: kept (the right cap holds a piece of the middle).
      {"LeftWidth=3\r\nRightWidth=8\r\n", {{2, 3}, {3, 4}, {-6, 4}, {-3, 5}}},
      // No column between them: dropped.
      {"LeftWidth=3\r\nRightWidth=9\r\n", whole},
      {"LeftWidth=2147483647\r\nRightWidth=2147483647\r\n", whole},
      {"LeftWidth=2147483647\r\nRightWidth=3\r\n", whole},
      {"LeftWidth=0\r\nRightWidth=3\r\n", {{0, 3}, {-6, 4}, {-3, 5}}},
      {"LeftWidth=-1\r\nRightWidth=3\r\n", {{0, 3}, {-6, 4}, {-3, 5}}},
      {"LeftWidth=-2147483647\r\nRightWidth=-1\r\n", whole},
      // As many frames as the picture has columns, and one more.
      {"LeftWidth=3\r\nRightWidth=3\r\nFrame=12\r\n", {{2, 3}, {3, 4}, {-3, 5}}},
      {"LeftWidth=3\r\nRightWidth=3\r\nFrame=13\r\n", {}},
      {"LeftWidth=3\r\nRightWidth=3\r\nFrame=2147483647\r\n", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.values);
    // The vertical bar's picture is whole: the horizontal one's values are its alone.
    UseSkin(ChannelSkinSpec(c.values, "TopHeight=3\r\nBottomHeight=3\r\n"));
    const auto [w, v] = showBars();
    EXPECT_EQ(Await([&] {
                const Shown p(w);
                const RECT channel = ChannelOf(w);
                return c.pieces.empty() ? WrongSystemChannel(p, channel) : WrongChannel(p, channel, false, c.pieces);
              }),
              "")
        << "the horizontal bar";
    EXPECT_EQ(Await([&] {
                return WrongChannel(Shown(v), ChannelOf(v), true, {{0, 1}, {2, 1}, {3, 4}, {-4, 4}, {-3, 7}, {-1, 7}});
              }),
              "")
        << "the vertical bar keeps its picture";
    form_.reset();
  }
  // The vertical picture alone the skin cannot have: the system's channel there.
  UseSkin(ChannelSkinSpec("LeftWidth=3\r\nRightWidth=3\r\n", "TopHeight=3\r\nBottomHeight=3\r\nFrame=2147483647\r\n"));
  const auto [w, v] = showBars();
  EXPECT_EQ(Await([&] { return WrongChannel(Shown(w), ChannelOf(w), false, {{0, 3}, {3, 4}, {-1, 5}}); }), "");
  EXPECT_EQ(Await([&] { return WrongSystemChannel(Shown(v), ChannelOf(v)); }), "") << "the vertical bar";
}

// A memo's vertical bar: the arrows' frames 9 and 13 of the parts strip (+3 under the
// pointer), the thumb's frame 1 (3 under the pointer), over the track.
TEST_F(ControlStates, AMemosScrollBarShowsItsArrowsAndThumbInTheirStates) {
  auto* memo = Add<vcl::TMemo>(20, 20, 200, 160);
  memo->SetScrollBars(vcl::ssVertical);
  for (int i = 0; i < 40; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i));
  Show();
  const HWND w = memo->Handle();
  SCROLLBARINFO bar{};
  bar.cbSize = sizeof bar;
  ASSERT_TRUE(GetScrollBarInfo(w, OBJID_VSCROLL, &bar));
  RECT window{};
  GetWindowRect(w, &window);
  // The bar in the window's coordinates.
  const RECT r{bar.rcScrollBar.left - window.left, bar.rcScrollBar.top - window.top,
               bar.rcScrollBar.right - window.left, bar.rcScrollBar.bottom - window.top};
  const int a = r.right - r.left;
  const int thumbTop = r.top + bar.xyThumbTop, thumbBottom = r.top + bar.xyThumbBottom;
  auto look = [=](int up, int down, int thumb) -> Look {
    return [=] {
      const Shown p(w, true);
      std::string wrong = WrongStretched(p, RECT{r.left, r.top, r.right, r.top + a}, kParts, up) +
                          WrongStretched(p, RECT{r.left, r.bottom - a, r.right, r.bottom}, kParts, down);
      if (p.SeenAt(r.left, thumbTop) != Seen{kThumb.id, thumb, 0}) wrong += "the thumb's top-left; ";
      if (p.SeenAt(r.right - 1, thumbBottom - 1) != Seen{kThumb.id, thumb, 8}) wrong += "the thumb's bottom-right; ";
      if (p.SeenAt(r.left + a / 2, thumbBottom + 2).id != kTrack.id) wrong += "the track below the thumb; ";
      return wrong;
    };
  };
  EXPECT_EQ(Await(look(9, 13, 1)), "") << "at rest";
  // The bar lies outside the client area: the pointer is placed in screen points.
  const int x = window.left + r.left + a / 2;
  auto over = [&](int y, const Look& L) {
    POINT client{x, window.top + y};
    ScreenToClient(w, &client);
    return MoveTo(w, client.x, client.y, L);
  };
  EXPECT_EQ(over(r.top + a / 2, look(12, 13, 1)), "") << "the up arrow hot";
  EXPECT_EQ(over(r.bottom - a / 2, look(9, 16, 1)), "") << "the down arrow hot";
  EXPECT_EQ(over((thumbTop + thumbBottom) / 2, look(9, 13, 3)), "") << "the thumb hot";
  POINT thumb{x, window.top + (thumbTop + thumbBottom) / 2};
  ScreenToClient(w, &thumb);
  EXPECT_EQ(Leave(w, thumb.x, thumb.y, look(9, 13, 1)), "") << "left";
}

}  // namespace
}  // namespace winskin::test
