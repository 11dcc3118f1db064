// See-through children of a skinned form that is resized: scroll boxes (with and without their
// frame and bars) and page controls (tabs above or below), anchored to the top or to the
// bottom, their adapters made by the form's provider. The form's body is a gradient from top to
// bottom, each row of another colour, which the form paints anew for each size: after every
// step (growing and shrinking, a burst of steps painted once, maximised and restored) a child
// shows, where it lets the form through, the row the form shows just beside it. Under a body
// of one plain colour nothing changes, and the children still show that colour.
#include <gtest/gtest.h>

#include <windows.h>
#undef RegisterClass

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/forms/Forms.h"
#include "classlib/forms/ScrollBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "adapters_support.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/TabControlWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

using wintest::Put;

constexpr COLORREF kBody = 0xB0B0B0, kPages = 0x40A0A0, kTab = 0x808020, kTabActive = 0x20E0E0;

enum class TBody { Gradient, Plain };

enum class TChild { BoxBare, BoxFramed, BoxWithBars, BoxFramedWithBars, PagesTabsAbove, PagesTabsBelow };

const char* NameOf(TChild Kind) {
  switch (Kind) {
    case TChild::BoxBare: return "a scroll box without frame or bars";
    case TChild::BoxFramed: return "a framed scroll box";
    case TChild::BoxWithBars: return "a scroll box with bars and no frame";
    case TChild::BoxFramedWithBars: return "a framed scroll box with bars";
    case TChild::PagesTabsAbove: return "a page control, tabs above";
    case TChild::PagesTabsBelow: return "a page control, tabs below";
  }
  return "?";
}

bool IsBox(TChild Kind) { return Kind != TChild::PagesTabsAbove && Kind != TChild::PagesTabsBelow; }

std::string SkinOf(TBody Body) {
  std::string form = FlatSection("FORM", kBody, kBody);
  if (Body == TBody::Gradient)
    for (const char* state : {"", "HOT"})
      form += std::string(state) + "GRADIENTPERCENT=100\r\n" + state + "GRADIENTDATA=0;16777215;100;0;0\r\n";
  // The scroll box's section lets the form through wholly; the page control is opaque but for
  // its tab row beside the tabs.
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n" + form + "[PANEL_LOW]\r\nTRANSPARENCY=100\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n" +
         ScrollSections() + FlatSection("PAGECONTROL", kPages, kPages) + FlatSection("TABTOP", kTab, kTabActive) +
         FlatSection("TABBOTTOM", kTab, kTabActive);
}

class ChildrenOfAResizedForm : public ::testing::Test {
 public:
  struct FormFree {
    void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
  };

 protected:

  // A form under the skin of the body with one child of the kind, anchored as given, shown.
  void Show(TBody Body, TChild Kind, vcl::TAnchors Anchors) {
    form.reset();  // before the manager it was skinned by
    manager.reset();
    manager = LoadedManager(skins, Body == TBody::Gradient ? L"Gradient" : L"Plain", SkinOf(Body));
    form.reset(new vcl::TForm(vcl::Application, 0));
    vcl::Construct<TsSkinProvider>(form.get());
    form->SetBounds(1100, 120, 400, 300);
    if (IsBox(Kind)) {
      auto* box = Put<vcl::TScrollBox>(form.get(), 20, 60, 160, 120);
      const bool framed = Kind == TChild::BoxFramed || Kind == TChild::BoxFramedWithBars;
      box->SetBorderStyle(framed ? vcl::TBorderStyle::bsSingle : vcl::TBorderStyle::bsNone);
      if (Kind == TChild::BoxWithBars || Kind == TChild::BoxFramedWithBars)
        Put<vcl::TLabel>(box, 400, 400, 30, 20, form.get());  // out of view: both bars
      child = box;
    } else {
      auto* pages = Put<vcl::TPageControl>(form.get(), 20, 60, 220, 120);
      for (const wchar_t* caption : {L"One", L"Two"}) {
        auto* sheet = new vcl::TTabSheet(form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
      }
      pages->SetTabPosition(Kind == TChild::PagesTabsAbove ? vcl::tpTop : vcl::tpBottom);
      pages->SetActivePage(pages->Pages(0));
      child = pages;
    }
    child->SetAnchors(Anchors);
    form->Show();
    wintest::PumpUntilIdle();
    ASSERT_NE(GetAdapter(child->Handle()), nullptr) << "the provider adapted the child";
  }

  // The rows checked, in the child's window: its see-through places (a box's client area left
  // of its bars and its frame, a page control's tab row right of its tabs).
  std::vector<POINT> Places(TChild Kind) const {
    RECT wr{};
    GetWindowRect(child->Handle(), &wr);
    const int w = wr.right - wr.left, h = wr.bottom - wr.top;
    switch (Kind) {
      case TChild::BoxBare:
      case TChild::BoxWithBars: return {{8, 3}, {8, h / 2}, {8, h - 24}};
      case TChild::BoxFramed:
      case TChild::BoxFramedWithBars: return {{0, h / 2}, {8, 4}, {8, h / 2}, {8, h - 24}};
      case TChild::PagesTabsAbove: return {{w - 10, 4}};
      case TChild::PagesTabsBelow: return {{w - 10, h - 4}};
    }
    return {};
  }

  // Each place of the child shows the colour the form shows at the same row just right of it.
  void ExpectTheFormsRows(TChild Kind, const char* When) {
    SCOPED_TRACE(When);
    const HWND wnd = child->Handle(), formWnd = form->Handle();
    RECT wr{};
    GetWindowRect(wnd, &wr);
    const HDC dc = GetWindowDC(wnd), formDc = GetDC(formWnd);
    auto beside = [&](int Y) {
      POINT p{wr.right + 6, wr.top + Y};
      ScreenToClient(formWnd, &p);
      return GetPixel(formDc, p.x, p.y);
    };
    for (const POINT p : Places(Kind))
      EXPECT_EQ(GetPixel(dc, p.x, p.y), beside(p.y)) << "at " << p.x << ", " << p.y << " of " << NameOf(Kind);
    const COLORREF top = beside(1), bottom = beside(wr.bottom - wr.top - 2);
    ReleaseDC(formWnd, formDc);
    ReleaseDC(wnd, dc);
    if (body_ == TBody::Plain) {
      EXPECT_EQ(top, kBody);
      EXPECT_EQ(bottom, kBody);
    } else {
      EXPECT_NE(top, bottom) << "the rows beside the child differ";
    }
  }

  void Resize(int Width, int Height) {
    SetWindowPos(form->Handle(), nullptr, 0, 0, Width, Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Steps as a drag makes them, each painted before the next; a burst of steps painted once at
  // its end; maximised, then restored.
  void RunSteps(TBody Body, TChild Kind, vcl::TAnchors Anchors) {
    body_ = Body;
    ASSERT_NO_FATAL_FAILURE(Show(Body, Kind, Anchors));
    ExpectTheFormsRows(Kind, "shown");
    for (const auto& [w, h] : {std::pair{400, 330}, {420, 380}, {430, 420}, {410, 360}, {400, 300}, {380, 270}}) {
      Resize(w, h);
      wintest::PumpUntilIdle();
      const std::string when = "a step to " + std::to_string(w) + " x " + std::to_string(h);
      ExpectTheFormsRows(Kind, when.c_str());
    }
    for (const int h : {320, 350, 390, 440}) Resize(420, h);
    wintest::PumpUntilIdle();
    ExpectTheFormsRows(Kind, "a burst of steps growing");
    for (const int h : {400, 340, 290}) Resize(390, h);
    wintest::PumpUntilIdle();
    ExpectTheFormsRows(Kind, "a burst of steps shrinking");
    ShowWindow(form->Handle(), SW_MAXIMIZE);
    wintest::PumpUntilIdle();
    ExpectTheFormsRows(Kind, "maximised");
    ShowWindow(form->Handle(), SW_RESTORE);
    wintest::PumpUntilIdle();
    ExpectTheFormsRows(Kind, "restored");
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, FormFree> form;
  vcl::TWinControl* child = nullptr;  // the form's
  TBody body_ = TBody::Gradient;
};

const vcl::TAnchors kTopLeft{vcl::akLeft, vcl::akTop}, kBottomLeft{vcl::akLeft, vcl::akBottom},
    kAlongTheBottom{vcl::akLeft, vcl::akRight, vcl::akBottom}, kAllSides{vcl::akLeft, vcl::akTop, vcl::akRight, vcl::akBottom};

TEST_F(ChildrenOfAResizedForm, AScrollBoxWithoutFrameOrBarsShowsTheFormsRows) {
  for (const vcl::TAnchors anchors : {kTopLeft, kBottomLeft, kAllSides}) {
    SCOPED_TRACE(anchors == kTopLeft ? "anchored top" : anchors == kBottomLeft ? "anchored bottom" : "anchored all round");
    RunSteps(TBody::Gradient, TChild::BoxBare, anchors);
  }
}

TEST_F(ChildrenOfAResizedForm, AFramedScrollBoxShowsTheFormsRowsInItsFrameAndClientArea) {
  for (const vcl::TAnchors anchors : {kTopLeft, kBottomLeft, kAllSides}) {
    SCOPED_TRACE(anchors == kTopLeft ? "anchored top" : anchors == kBottomLeft ? "anchored bottom" : "anchored all round");
    RunSteps(TBody::Gradient, TChild::BoxFramed, anchors);
  }
}

TEST_F(ChildrenOfAResizedForm, AScrollBoxWithBarsShowsTheFormsRowsBesideThem) {
  for (const TChild kind : {TChild::BoxWithBars, TChild::BoxFramedWithBars})
    for (const vcl::TAnchors anchors : {kTopLeft, kBottomLeft}) {
      SCOPED_TRACE(anchors == kTopLeft ? "anchored top" : "anchored bottom");
      RunSteps(TBody::Gradient, kind, anchors);
    }
}

TEST_F(ChildrenOfAResizedForm, APageControlShowsTheFormsRowBesideItsTabs) {
  for (const TChild kind : {TChild::PagesTabsAbove, TChild::PagesTabsBelow})
    for (const vcl::TAnchors anchors : {kTopLeft, kBottomLeft, kAlongTheBottom}) {
      SCOPED_TRACE(anchors == kTopLeft ? "anchored top" : anchors == kBottomLeft ? "anchored bottom" : "along the bottom");
      RunSteps(TBody::Gradient, kind, anchors);
    }
}

TEST_F(ChildrenOfAResizedForm, UnderAPlainBodyEveryChildShowsItsColour) {
  for (const TChild kind : {TChild::BoxBare, TChild::BoxFramedWithBars, TChild::PagesTabsAbove})
    for (const vcl::TAnchors anchors : {kTopLeft, kAlongTheBottom}) {
      SCOPED_TRACE(anchors == kTopLeft ? "anchored top" : "along the bottom");
      RunSteps(TBody::Plain, kind, anchors);
    }
}

// A box of an opaque section whose picture depends on its size (a gradient from top to bottom):
// painted at its new size by a step of its form, it keeps that picture through the size
// message that follows; the picture is made again when the size message brings another window
// size or another client area.
class AResizedScrollBox : public ::testing::Test {
 protected:
  static constexpr COLORREF kTop = 0x202020, kBottom = 0xE0E0E0, kMark = 0x13579B;

  void SetUp() override {
    const std::string section =
        !panel.empty() ? panel
                       : std::string("[PANEL_LOW]\r\nTRANSPARENCY=0\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n") +
                             "COLOR=" + Hex(kTop) + "\r\nGRADIENTPERCENT=100\r\nGRADIENTDATA=" + std::to_string(kTop) +
                             ";" + std::to_string(kBottom) + ";100;" + std::to_string(across ? 1 : 0) + ";0\r\n";
    manager = LoadedManager(skins, L"Shaded", "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("FORM", kBody, kBody) +
                                                  section + ScrollSections());
    form.reset(new vcl::TForm(vcl::Application, 0));
    vcl::Construct<TsSkinProvider>(form.get());
    form->SetBounds(1100, 120, 400, 300);
    box = Put<vcl::TScrollBox>(form.get(), 20, 60, 200, 150);
    box->SetBorderStyle(vcl::TBorderStyle::bsNone);
    box->SetAnchors(vcl::TAnchors{vcl::akLeft, vcl::akTop, vcl::akRight, vcl::akBottom});
    form->Show();
    wintest::PumpUntilIdle();
    adapter = dynamic_cast<TqvScrollBoxWnd*>(GetAdapter(box->Handle()));
    ASSERT_NE(adapter, nullptr) << "the provider adapted the box";
  }
  void TearDown() override {
    form.reset();
    manager.reset();
  }

  // A mark in the box's picture where the screen shows it at (8, 8).
  void MarkThePicture() {
    vcl::TBitmap* cache = adapter->SkinData ? adapter->SkinData->CacheBmp() : nullptr;
    ASSERT_NE(cache, nullptr);
    RECT wr{};
    GetWindowRect(box->Handle(), &wr);
    ASSERT_EQ(cache->Width(), wr.right - wr.left) << "the picture has the box's size";
    ASSERT_EQ(cache->Height(), wr.bottom - wr.top);
    SetPixel(cache->Canvas()->Handle(), 8, 8, kMark);
  }
  void SizeMessage() {
    RECT cr{};
    GetClientRect(box->Handle(), &cr);
    SendMessageW(box->Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(cr.right, cr.bottom));
  }
  // The box painted whole again; what its window shows at (X, Y).
  COLORREF Repainted(int X, int Y) {
    RedrawWindow(box->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
    const HDC dc = GetWindowDC(box->Handle());
    const COLORREF c = GetPixel(dc, X, Y);
    ReleaseDC(box->Handle(), dc);
    return c;
  }
  // The picture is the gradient over the box's present height, dark at the top and light at
  // the bottom: checked down its client area (above a bar; the box has no frame).
  void ExpectTheGradientOfItsSize() {
    RECT wr{}, cr{};
    GetWindowRect(box->Handle(), &wr);
    GetClientRect(box->Handle(), &cr);
    const int h = wr.bottom - wr.top;
    for (const int y : {0, static_cast<int>(cr.bottom) / 2, static_cast<int>(cr.bottom) - 1}) {
      const int expected = GetRValue(kTop) + (GetRValue(kBottom) - GetRValue(kTop)) * y / std::max(1, h - 1);
      const COLORREF c = Repainted(8, y);
      EXPECT_NEAR(GetRValue(c), expected, 6) << "row " << y << " of " << h << ": " << std::hex << c;
    }
  }

  // Counts the pictures the box makes while it lives: a mark left in its picture after each
  // message the box gets is gone once a new picture was made.
  class PicturesMade {
   public:
    PicturesMade(TqvScrollBoxWnd* Adapter, HWND Window) : adapter_(Adapter), window_(Window) {
      Mark();
      SetWindowSubclass(window_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~PicturesMade() { RemoveWindowSubclass(window_, Proc, 1); }
    PicturesMade(const PicturesMade&) = delete;
    PicturesMade& operator=(const PicturesMade&) = delete;
    int Count() {
      Check();
      Mark();
      return made_;
    }

   private:
    vcl::TBitmap* Cache() const { return adapter_->SkinData ? adapter_->SkinData->CacheBmp() : nullptr; }
    void Mark() {
      marked_ = Cache();
      if (marked_) SetPixel(marked_->Canvas()->Handle(), 1, 1, kMark);
    }
    void Check() {
      vcl::TBitmap* cache = Cache();
      if (marked_ && (cache != marked_ || GetPixel(cache->Canvas()->Handle(), 1, 1) != kMark)) ++made_;
      marked_ = nullptr;
    }
    static LRESULT CALLBACK Proc(HWND W, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR Self) {
      auto* self = reinterpret_cast<PicturesMade*>(Self);
      ++self->depth_;
      const LRESULT result = DefSubclassProc(W, Msg, WParam, LParam);
      if (--self->depth_ == 0) self->Count();
      return result;
    }
    TqvScrollBoxWnd* adapter_;
    HWND window_;
    vcl::TBitmap* marked_ = nullptr;
    int made_ = 0, depth_ = 0;
  };

  // What the box's window shows down its client area's column 8 (along its row 8 Across).
  std::vector<COLORREF> ShownLine(bool Across) {
    RECT cr{};
    GetClientRect(box->Handle(), &cr);
    const HDC dc = GetWindowDC(box->Handle());
    std::vector<COLORREF> line;
    for (int i = 0; i < (Across ? cr.right : cr.bottom); ++i) line.push_back(GetPixel(dc, Across ? i : 8, Across ? 8 : i));
    ReleaseDC(box->Handle(), dc);
    return line;
  }
  // Window W Grow pixels higher (wider Across).
  static void Grow(HWND W, int By, bool Across) {
    RECT wr{};
    GetWindowRect(W, &wr);
    SetWindowPos(W, nullptr, 0, 0, wr.right - wr.left + (Across ? By : 0), wr.bottom - wr.top + (Across ? 0 : By),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // Sized by its own window or its form's and left to paint itself, the box makes its picture
  // once and shows down a column (along a row, for a gradient across) what it paints when painted
  // whole at its new size: the gradient made for that size.
  void ExpectThePictureOfEachNewSize(bool WithItsForm) {
    for (const int by : {-1, -40, 1, 40}) {
      SCOPED_TRACE("grown by " + std::to_string(by));
      RECT before{};
      GetWindowRect(box->Handle(), &before);
      {
        PicturesMade made(adapter, box->Handle());
        Grow(WithItsForm ? form->Handle() : box->Handle(), by, across);
        wintest::PumpUntilIdle();
        EXPECT_EQ(made.Count(), 1) << "pictures made";
      }
      RECT after{};
      GetWindowRect(box->Handle(), &after);
      const int size = across ? after.right - after.left : after.bottom - after.top;
      ASSERT_EQ(size, (across ? before.right - before.left : before.bottom - before.top) + by);
      const std::vector<COLORREF> shown = ShownLine(across);
      Repainted(8, 8);
      const std::vector<COLORREF> whole = ShownLine(across);
      ASSERT_EQ(shown.size(), whole.size());
      const auto differ = std::mismatch(shown.begin(), shown.end(), whole.begin());
      EXPECT_TRUE(differ.first == shown.end())
          << "pixel " << differ.first - shown.begin() << " of " << shown.size() << " shows " << std::hex
          << *differ.first << ", painted whole at its size " << *differ.second;
      if (!across) {
        ExpectTheGradientOfItsSize();
      } else {
        EXPECT_NEAR(GetRValue(whole.front()), GetRValue(kTop), 6);
        EXPECT_NEAR(GetRValue(whole.back()), GetRValue(kBottom), 6);
      }
    }
  }

  bool across = false;  // the gradient runs from left to right
  std::string panel;    // the box's section, when not the gradient
  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, ChildrenOfAResizedForm::FormFree> form;
  vcl::TScrollBox* box = nullptr;
  TqvScrollBoxWnd* adapter = nullptr;
};

TEST_F(AResizedScrollBox, KeepsThePictureMadeAtItsNewSizeThroughItsSizeMessage) {
  // Growing steps: each shows more of the box, which is painted at its new size.
  for (const auto& [w, h] : {std::pair{401, 301}, {420, 330}, {450, 380}}) {
    SCOPED_TRACE("a step to " + std::to_string(w) + " x " + std::to_string(h));
    SetWindowPos(form->Handle(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    wintest::PumpUntilIdle();
    ASSERT_NO_FATAL_FAILURE(MarkThePicture());
    SizeMessage();
    EXPECT_EQ(Repainted(8, 8), kMark) << "the picture of this size was kept";
    ExpectTheGradientOfItsSize();
  }
}

TEST_F(AResizedScrollBox, MakesThePictureAgainForASizeMessageOfAnotherSize) {
  // Sized without a paint between: the size message comes with the new size first.
  for (const int grow : {1, 40, -1, -40}) {
    SCOPED_TRACE("grown by " + std::to_string(grow));
    ASSERT_NO_FATAL_FAILURE(MarkThePicture());
    RECT wr{};
    GetWindowRect(box->Handle(), &wr);
    SetWindowPos(box->Handle(), nullptr, 0, 0, wr.right - wr.left, wr.bottom - wr.top + grow,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    EXPECT_NE(Repainted(8, 8), kMark) << "the picture was made again";
    ExpectTheGradientOfItsSize();
  }
}

// Nothing of a box that shrinks is exposed, yet its gradient is one of another height: its
// picture is made again, once, as it is when it grows.
TEST_F(AResizedScrollBox, ShowsTheGradientOfItsNewSizeSizedAlone) { ExpectThePictureOfEachNewSize(false); }

TEST_F(AResizedScrollBox, ShowsTheGradientOfItsNewSizeSizedWithItsForm) { ExpectThePictureOfEachNewSize(true); }

// The same for a gradient from left to right, the box narrower and wider.
class AScrollBoxShadedAcross : public AResizedScrollBox {
 protected:
  AScrollBoxShadedAcross() { across = true; }
};

TEST_F(AScrollBoxShadedAcross, ShowsTheGradientOfItsNewWidthSizedAlone) { ExpectThePictureOfEachNewSize(false); }

TEST_F(AScrollBoxShadedAcross, ShowsTheGradientOfItsNewWidthSizedWithItsForm) { ExpectThePictureOfEachNewSize(true); }

// A box of one plain colour, and a see-through one over a plain form, show the same at any size:
// shrunk, they make no picture and still show their colour.
class AScrollBoxOfOneColour : public AResizedScrollBox {
 protected:
  static constexpr COLORREF kPlain = 0x4080C0;
  void ExpectNoPictureShrinking(COLORREF Shown) {
    for (const int by : {-1, -40}) {
      SCOPED_TRACE("grown by " + std::to_string(by));
      {
        PicturesMade made(adapter, box->Handle());
        Grow(box->Handle(), by, false);
        wintest::PumpUntilIdle();
        EXPECT_EQ(made.Count(), 0) << "pictures made";
      }
      for (const bool along : {false, true}) {
        const std::vector<COLORREF> line = ShownLine(along);
        EXPECT_EQ(std::count(line.begin(), line.end(), Shown), static_cast<std::ptrdiff_t>(line.size()));
      }
    }
  }
};

class APlainScrollBox : public AScrollBoxOfOneColour {
 protected:
  APlainScrollBox() { panel = FlatSection("PANEL_LOW", kPlain, kPlain); }
};

class ASeeThroughScrollBox : public AScrollBoxOfOneColour {
 protected:
  ASeeThroughScrollBox() { panel = "[PANEL_LOW]\r\nTRANSPARENCY=100\r\nFONTCOLOR=$000000\r\nSTATES=1\r\n"; }
};

TEST_F(APlainScrollBox, MakesNoPictureWhenItShrinks) { ExpectNoPictureShrinking(kPlain); }

TEST_F(ASeeThroughScrollBox, MakesNoPictureWhenItShrinks) { ExpectNoPictureShrinking(kBody); }

TEST_F(AResizedScrollBox, MakesThePictureAgainWhenItsClientAreaChangesAtTheSameSize) {
  ASSERT_NO_FATAL_FAILURE(MarkThePicture());
  RECT before{};
  GetWindowRect(box->Handle(), &before);
  // A child out of view brings both bars: the client area shrinks, the window keeps its size.
  Put<vcl::TLabel>(box, 400, 400, 30, 20, form.get());
  wintest::PumpUntilIdle();
  RECT after{}, client{};
  GetWindowRect(box->Handle(), &after);
  GetClientRect(box->Handle(), &client);
  ASSERT_EQ(after.right - after.left, before.right - before.left);
  ASSERT_LT(client.right, after.right - after.left) << "the bars took their place";
  SizeMessage();
  EXPECT_NE(Repainted(8, 8), kMark) << "the picture was made again";
  ExpectTheGradientOfItsSize();
}

}  // namespace
}  // namespace skin_layered::test
