// Status bars on real windows: parts from the panels, simple mode, grip, border and owner-drawn panels.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/comctrls/ComCtrls.h"
#include "comctrls_support.h"

namespace vcl::testing {
namespace {

std::vector<int> Parts(HWND bar) {
  int edges[32] = {};
  const auto n = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 32, reinterpret_cast<LPARAM>(edges)));
  return std::vector<int>(edges, edges + n);
}

struct PartText {
  String text;
  WORD type = 0;  // SBT_* flags
};

PartText PartAt(HWND bar, int index) {
  wchar_t buffer[256] = {};
  const auto r = static_cast<DWORD>(SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer)));
  return {buffer, HIWORD(r)};
}

// A sum over the pixels the window paints of itself.
uint64_t PaintedSum(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  TBitmap bmp;
  bmp.SetWidth(r.right);
  bmp.SetHeight(r.bottom);
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  uint64_t sum = 0;
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) sum = sum * 31 + static_cast<uint32_t>(bmp.Canvas()->Pixels(x, y));
  return sum;
}

TStatusPanel* AddPanel(TStatusBar* bar, const String& text, int width) {
  TStatusPanel* p = bar->Panels()->Add();
  p->SetText(text);
  p->SetWidth(width);
  return p;
}

TEST(StatusBarWindow, EachPanelIsAPartWithItsTextAlignmentAndBevel) {
  auto form = ShownForm(400, 300);
  auto* bar = Put<TStatusBar>(form.get());
  AddPanel(bar, L"就绪", 100);
  TStatusPanel* centre = AddPanel(bar, L"中", 80);
  centre->SetAlignment(taCenter);
  centre->SetBevel(pbRaised);
  TStatusPanel* right = AddPanel(bar, L"750", 60);
  right->SetAlignment(taRightJustify);
  right->SetBevel(pbNone);

  HWND wnd = bar->Handle();
  EXPECT_EQ(WindowClassName(wnd), L"TStatusBar");
  EXPECT_EQ(bar->BoundsRect(), Rect(0, 281, 400, 300));
  // Every part ends where its width says; the last reaches to the end.
  EXPECT_EQ(Parts(wnd), (std::vector<int>{100, 180, -1}));
  EXPECT_EQ(PartAt(wnd, 0).text, L"就绪");
  EXPECT_EQ(PartAt(wnd, 0).type, 0);
  EXPECT_EQ(PartAt(wnd, 1).text, L"\t中");
  EXPECT_EQ(PartAt(wnd, 1).type, SBT_POPOUT);
  EXPECT_EQ(PartAt(wnd, 2).text, L"\t\t750");
  EXPECT_EQ(PartAt(wnd, 2).type, SBT_NOBORDERS);
  RECT r{};
  SendMessageW(wnd, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&r));
  EXPECT_GE(r.left, 100);  // the part, less its border
  EXPECT_LT(r.left, 105);

  // The last part follows the form's width: wider, maximised and back.
  auto lastRight = [&] {
    RECT last{};
    SendMessageW(wnd, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&last));
    RECT client{};
    GetClientRect(wnd, &client);
    return std::pair{last.right, client.right};
  };
  const int before = lastRight().first;
  form->SetBounds(form->Left(), form->Top(), 560, 300);
  EXPECT_GT(lastRight().first, before + 150);
  EXPECT_GE(lastRight().first, lastRight().second - 24);  // the size grip may follow it
  ShowWindow(form->Handle(), SW_MAXIMIZE);
  EXPECT_GE(lastRight().first, lastRight().second - 24);
  ShowWindow(form->Handle(), SW_RESTORE);
  EXPECT_GE(lastRight().first, lastRight().second - 24);
  EXPECT_EQ(Parts(wnd), (std::vector<int>{100, 180, -1}));

  // Changes follow at once.
  centre->SetText(L"改");
  centre->SetWidth(50);
  EXPECT_EQ(Parts(wnd), (std::vector<int>{100, 150, -1}));
  bar->Panels()->Delete(0);
  EXPECT_EQ(Parts(wnd), (std::vector<int>{50, -1}));
  EXPECT_EQ(PartAt(wnd, 0).text, L"\t改");

  // Without panels the one part shows the simple text.
  bar->Panels()->Clear();
  bar->SetSimpleText(L"没有面板");
  EXPECT_EQ(Parts(wnd), (std::vector<int>{-1}));
  EXPECT_EQ(PartAt(wnd, 0).text, L"没有面板");
}

TEST(StatusBarWindow, SimpleModeSizeGripAndBorderWidth) {
  auto form = ShownForm(400, 300);
  auto* bar = Put<TStatusBar>(form.get());
  AddPanel(bar, L"a", 100);
  bar->SetSimpleText(L"正在生成");
  HWND wnd = bar->Handle();
  bar->SetSimplePanel(true);
  EXPECT_EQ(SendMessageW(wnd, SB_ISSIMPLE, 0, 0), TRUE);
  // The simple text is what the window shows.
  const uint64_t with_text = PaintedSum(wnd);
  bar->SetSimpleText(L"");
  EXPECT_NE(PaintedSum(wnd), with_text);
  bar->SetSimplePanel(false);
  EXPECT_EQ(SendMessageW(wnd, SB_ISSIMPLE, 0, 0), FALSE);
  EXPECT_EQ(PartAt(wnd, 0).text, L"a");

  bar->SetSizeGrip(false);
  wnd = bar->Handle();
  EXPECT_EQ(StyleOf(wnd) & SBARS_SIZEGRIP, 0);
  EXPECT_EQ(Parts(wnd), (std::vector<int>{-1}));  // the panels came back with the new window

  // The border lies outside the client area.
  bar->SetBorderWidth(3);
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.right, 400 - 6);
  EXPECT_EQ(client.bottom, 19 - 6);
}

TEST(StatusBarDraw, OwnerDrawnPanelsArePaintedByOnDrawPanelWhenTheWindowPaints) {
  auto form = ShownForm(400, 300);
  auto* bar = Put<TStatusBar>(form.get());
  AddPanel(bar, L"text", 100);
  TStatusPanel* drawn = AddPanel(bar, L"", 100);
  drawn->SetStyle(psOwnerDraw);
  struct Drawing {
    std::vector<TStatusPanel*> panels;
    TRect rect;
    void Draw(TStatusBar* StatusBar, TStatusPanel* Panel, const TRect& R) {
      panels.push_back(Panel);
      rect = R;
      StatusBar->Canvas()->Brush()->SetColor(clLime);
      StatusBar->Canvas()->FillRect(R);
    }
  } drawing;
  bar->OnDrawPanel = TDrawPanelEvent::Bind<&Drawing::Draw>(&drawing);
  HWND wnd = bar->Handle();
  // An owner-drawn part answers with its data: the panel.
  EXPECT_EQ(SendMessageW(wnd, SB_GETTEXTW, 1, 0), static_cast<LRESULT>(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(drawn))));

  TBitmap bmp;
  bmp.SetWidth(400);
  bmp.SetHeight(19);
  SendMessageW(wnd, WM_PAINT, reinterpret_cast<WPARAM>(bmp.Canvas()->Handle()), 0);
  ASSERT_EQ(drawing.panels.size(), 1u);
  EXPECT_EQ(drawing.panels[0], drawn);
  RECT part{};
  SendMessageW(wnd, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
  EXPECT_TRUE(TRect(part).Contains({drawing.rect.Left, drawing.rect.Top}));
  EXPECT_EQ(bmp.Canvas()->Pixels((drawing.rect.Left + drawing.rect.Right) / 2,
                                 (drawing.rect.Top + drawing.rect.Bottom) / 2),
            clLime);
  // The text panel is the system's.
  EXPECT_NE(bmp.Canvas()->Pixels(50, 2), clLime);
}

}  // namespace
}  // namespace vcl::testing
