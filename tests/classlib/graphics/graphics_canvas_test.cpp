// Colours, fonts, brushes, pens and canvas drawing, checked by pixels of memory bitmaps.
#include <gtest/gtest.h>

#include "graphics_test_support.h"

namespace vcl {
namespace {

using test::At;
using test::Rgb;
using test::Surface;

TEST(Colors, SystemColoursNamesAndText) {
  EXPECT_EQ(ColorToRGB(clBtnFace), static_cast<TColor>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
  EXPECT_EQ(ColorToRGB(clNone), clNone);

  String ident;
  ASSERT_TRUE(ColorToIdent(clFuchsia, ident));
  EXPECT_EQ(ident, L"clFuchsia");
  ASSERT_TRUE(ColorToIdent(clSilver, ident));  // clLtGray has the same value and no name of its own
  EXPECT_EQ(ident, L"clSilver");
  EXPECT_FALSE(ColorToIdent(0x123456, ident));
  TColor c = 0;
  ASSERT_TRUE(IdentToColor(L"CLBTNFACE", c));
  EXPECT_EQ(c, clBtnFace);
  EXPECT_FALSE(IdentToColor(L"clPink", c));

  EXPECT_EQ(ColorToString(0x123456), L"$00123456");
  EXPECT_EQ(StringToColor(L"$00FF00FF"), clFuchsia);
  EXPECT_EQ(StringToColor(L"255"), clRed);
  EXPECT_EQ(StringToColor(L"-2147483633"), clBtnFace);
  EXPECT_THROW(StringToColor(L"reddish"), EConvertError);
}

TEST(Colors, ColourPropertiesStreamAsIdentifiers) {
  TFont font;
  const TPropInfo* color = font.ClassType().FindProp(L"Color");
  ASSERT_NE(color, nullptr);
  ASSERT_NE(color->IntType, nullptr);
  String ident;
  ASSERT_TRUE(color->IntType->IntToIdent(color->GetOrd(&font), ident));
  EXPECT_EQ(ident, L"clWindowText");
  int64_t value = 0;
  ASSERT_TRUE(color->IntType->IdentToInt(L"clHighlight", value));
  color->SetOrd(&font, value);
  EXPECT_EQ(font.Color(), clHighlight);

  const TPropInfo* charset = font.ClassType().FindProp(L"Charset");
  ASSERT_NE(charset->IntType, nullptr);
  ASSERT_TRUE(charset->IntType->IntToIdent(GB2312_CHARSET, ident));
  EXPECT_EQ(ident, L"GB2312_CHARSET");

  const TPropInfo* size = font.ClassType().FindProp(L"Size");
  ASSERT_NE(size->Stored, nullptr);
  EXPECT_FALSE(size->Stored(&font));  // Height carries the size
}

TEST(Tools, FontSizeHeightStyleAndHandles) {
  TFont font;
  EXPECT_EQ(font.PixelsPerInch(), ScreenLogPixels());
  font.SetPixelsPerInch(96);
  font.SetSize(12);
  EXPECT_EQ(font.Height(), -16);
  font.SetHeight(-20);
  EXPECT_EQ(font.Size(), 15);

  int changes = 0;
  font.OnChange = TNotifyEvent::FromFunction([](void* n, TObject*) { ++*static_cast<int*>(n); }, &changes);
  font.SetName(L"Arial");
  font.SetName(L"Arial");  // no change, no notice
  font.SetStyle({fsBold, fsUnderline});
  font.SetColor(clRed);
  EXPECT_EQ(changes, 3);

  LOGFONTW lf{};
  ASSERT_EQ(GetObjectW(font.Handle(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
  EXPECT_EQ(lf.lfHeight, -20);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_STREQ(lf.lfFaceName, L"Arial");

  // Copies share the handle until one of them changes.
  TFont copy;
  copy.Assign(&font);
  EXPECT_EQ(copy.Handle(), font.Handle());
  EXPECT_EQ(copy.Color(), clRed);
  copy.SetStyle({});
  EXPECT_NE(copy.Handle(), font.Handle());
  EXPECT_NE(GetObjectType(font.Handle()), 0u);

  // A taken handle describes the font and is owned by it.
  LOGFONTW italic{};
  italic.lfHeight = -13;
  italic.lfItalic = TRUE;
  italic.lfWeight = FW_NORMAL;
  wcscpy_s(italic.lfFaceName, L"Tahoma");
  HFONT taken = CreateFontIndirectW(&italic);
  {
    TFont holder;
    holder.SetHandle(taken);
    EXPECT_EQ(holder.Name(), L"Tahoma");
    EXPECT_EQ(holder.Height(), -13);
    EXPECT_EQ(holder.Style(), TFontStyles{fsItalic});
    EXPECT_EQ(holder.Handle(), taken);
  }
  EXPECT_EQ(GetObjectType(taken), 0u);  // deleted with its font
}

TEST(Tools, BrushAndPenDescribeTheirHandles) {
  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(clRed);  // a colour brings back a solid brush
  EXPECT_EQ(brush.Style(), bsSolid);
  LOGBRUSH lb{};
  ASSERT_TRUE(GetObjectW(brush.Handle(), sizeof(lb), &lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, 0x0000FFu);
  brush.SetStyle(bsDiagCross);
  ASSERT_TRUE(GetObjectW(brush.Handle(), sizeof(lb), &lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_HATCHED));
  EXPECT_EQ(lb.lbHatch, static_cast<ULONG_PTR>(HS_DIAGCROSS));

  TPen pen;
  pen.SetWidth(3);
  pen.SetStyle(psDash);
  pen.SetColor(clBtnShadow);
  LOGPEN lp{};
  ASSERT_TRUE(GetObjectW(pen.Handle(), sizeof(lp), &lp));
  EXPECT_EQ(lp.lopnWidth.x, 3);
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(lp.lopnColor, static_cast<COLORREF>(GetSysColor(COLOR_BTNSHADOW)));
  TPen other;
  other.SetHandle(CreatePen(PS_DOT, 1, RGB(0, 0, 255)));
  EXPECT_EQ(other.Style(), psDot);
  EXPECT_EQ(other.Color(), clBlue);
}

TEST(Canvas, ShapesFillWithTheBrushAndOutlineWithThePen) {
  auto b = Surface(40, 40);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clRed);
  c->FillRect(Rect(2, 2, 6, 6));
  EXPECT_EQ(At(*b, 2, 2), clRed);
  EXPECT_EQ(At(*b, 5, 5), clRed);
  EXPECT_EQ(At(*b, 6, 6), clWhite);  // right and bottom edges are outside

  c->Brush()->SetColor(clBlue);
  c->FrameRect(Rect(10, 10, 15, 15));
  EXPECT_EQ(At(*b, 10, 10), clBlue);
  EXPECT_EQ(At(*b, 14, 12), clBlue);
  EXPECT_EQ(At(*b, 12, 12), clWhite);

  c->Pen()->SetColor(clLime);
  c->Brush()->SetColor(clYellow);
  c->Rectangle(20, 0, 25, 5);
  EXPECT_EQ(At(*b, 20, 0), clLime);
  EXPECT_EQ(At(*b, 22, 2), clYellow);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(Rect(30, 0, 35, 5));
  EXPECT_EQ(At(*b, 30, 2), clLime);
  EXPECT_EQ(At(*b, 32, 2), clWhite);  // a clear brush leaves the inside

  c->Pen()->SetColor(clBlack);
  c->MoveTo(0, 20);
  c->LineTo(10, 20);
  EXPECT_EQ(At(*b, 5, 20), clBlack);
  EXPECT_EQ(At(*b, 10, 20), clWhite);
  EXPECT_EQ(c->PenPos(), Point(10, 20));

  c->Brush()->SetColor(clTeal);
  const TPoint triangle[] = {{0, 25}, {10, 25}, {0, 35}};
  c->Polygon(triangle);
  EXPECT_EQ(At(*b, 2, 27), clTeal);
  EXPECT_EQ(At(*b, 9, 34), clWhite);

  c->SetPixels(39, 39, clPurple);
  EXPECT_EQ(c->Pixels(39, 39), clPurple);
  c->Pen()->SetMode(pmNot);
  c->MoveTo(0, 38);
  c->LineTo(3, 38);
  EXPECT_EQ(At(*b, 1, 38), clBlack);  // white inverted
}

TEST(Canvas, TextTakesTheFontAndTextRectClipsAndFills) {
  auto b = Surface(120, 40);
  TCanvas* c = b->Canvas();
  c->Font()->SetName(L"Tahoma");
  c->Font()->SetSize(14);
  c->Font()->SetColor(clRed);
  c->Brush()->SetStyle(bsClear);
  const TSize size = c->TextExtent(L"WWW");
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  EXPECT_GT(c->TextWidth(L"WWWW"), c->TextWidth(L"WW"));
  c->TextOut(2, 2, L"WWW");
  EXPECT_EQ(c->PenPos(), Point(2 + size.cx, 2));
  int red = 0;
  for (int y = 2; y < 2 + size.cy; ++y)
    for (int x = 2; x < 2 + size.cx; ++x) red += At(*b, x, y) == clRed;
  EXPECT_GT(red, 10);

  const int before = c->TextHeight(L"W");
  c->Font()->SetSize(28);
  EXPECT_GT(c->TextHeight(L"W"), before);

  // Opaque text in a small rectangle: the rectangle is filled, nothing outside is touched.
  c->Font()->SetSize(14);
  c->Brush()->SetColor(clYellow);
  c->TextRect(Rect(60, 2, 70, 38), 60, 2, L"WWWWWWWW");
  EXPECT_EQ(At(*b, 69, 37), clYellow);  // below the text, inside the rectangle
  for (int x = 70; x < 120; ++x) ASSERT_EQ(At(*b, x, 5), clWhite) << x;
}

TEST(Canvas, CopyRectStretchesAndUsesTheCopyMode) {
  auto src = Surface(2, 1);
  src->Canvas()->SetPixels(0, 0, clRed);
  src->Canvas()->SetPixels(1, 0, clBlue);
  auto dst = Surface(8, 4);
  dst->Canvas()->CopyRect(Rect(0, 0, 4, 2), src->Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(At(*dst, 1, 1), clRed);
  EXPECT_EQ(At(*dst, 2, 0), clBlue);
  EXPECT_EQ(At(*dst, 4, 0), clWhite);

  dst->Canvas()->SetCopyMode(cmSrcInvert);  // white xor colour
  dst->Canvas()->CopyRect(Rect(4, 2, 6, 3), src->Canvas(), Rect(0, 0, 2, 1));
  EXPECT_EQ(At(*dst, 4, 2), clAqua);
  EXPECT_EQ(At(*dst, 5, 2), clYellow);
}

TEST(Canvas, BrushCopyPaintsTheKeyColourWithTheBrush) {
  auto src = Surface(4, 4, clFuchsia);
  src->Canvas()->Brush()->SetColor(clRed);
  src->Canvas()->FillRect(Rect(1, 1, 3, 3));
  auto dst = Surface(8, 8);
  dst->Canvas()->Brush()->SetColor(clLime);
  dst->Canvas()->BrushCopy(Rect(0, 0, 4, 4), src.get(), Rect(0, 0, 4, 4), clFuchsia);
  EXPECT_EQ(At(*dst, 0, 0), clLime);
  EXPECT_EQ(At(*dst, 3, 3), clLime);
  EXPECT_EQ(At(*dst, 1, 1), clRed);
  EXPECT_EQ(At(*dst, 5, 5), clWhite);
  EXPECT_EQ(At(*src, 0, 0), clFuchsia);  // the source is left as it was
}

TEST(Canvas, BorrowedDCGetsItsOwnObjectsBack) {
  UniqueBitmap bmp(CreateCompatibleBitmap(WindowDC().get(), 20, 20));
  MemoryDC dc(bmp.get());
  const HGDIOBJ font = GetCurrentObject(dc.get(), OBJ_FONT);
  const HGDIOBJ pen = GetCurrentObject(dc.get(), OBJ_PEN);
  const HGDIOBJ brush = GetCurrentObject(dc.get(), OBJ_BRUSH);
  {
    TCanvas canvas;
    canvas.SetHandle(dc.get());
    canvas.Font()->SetSize(20);
    canvas.TextOut(0, 0, L"A");
    canvas.Rectangle(0, 0, 5, 5);
    EXPECT_NE(GetCurrentObject(dc.get(), OBJ_FONT), font);
    EXPECT_NE(GetCurrentObject(dc.get(), OBJ_BRUSH), brush);

    // A font changed while selected is put back and deleted, not leaked.
    HFONT first = canvas.Font()->Handle();
    canvas.Font()->SetSize(9);
    canvas.TextOut(0, 0, L"A");
    EXPECT_EQ(GetObjectType(first), 0u);

    canvas.SetHandle(nullptr);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_FONT), font);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BRUSH), brush);
    EXPECT_FALSE(canvas.HandleAllocated());
  }

  TCanvas bare;
  EXPECT_EQ(MessageOf<EInvalidOperation>([&] { bare.FillRect(Rect(0, 0, 1, 1)); }), L"Canvas does not allow drawing");
}

TEST(Canvas, ChangeEventsAndLocking) {
  auto b = Surface(4, 4);
  int changes = 0, bitmapChanges = 0;
  auto count = [](void* n, TObject*) { ++*static_cast<int*>(n); };
  b->OnChange = TNotifyEvent::FromFunction(count, &bitmapChanges);
  TCanvas* c = b->Canvas();
  c->OnChanging = TNotifyEvent::FromFunction(count, &changes);
  c->FillRect(Rect(0, 0, 2, 2));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(bitmapChanges, 1);  // the bitmap hears of drawing on its canvas

  c->Lock();
  EXPECT_EQ(c->LockCount(), 1);
  HDC dc = c->Handle();
  (void)b->Handle();  // a locked canvas keeps its DC
  EXPECT_TRUE(c->HandleAllocated());
  EXPECT_EQ(c->Handle(), dc);
  c->Unlock();
  HBITMAP handle = b->Handle();  // unlocked: the DC lets go so the handle can be selected elsewhere
  EXPECT_FALSE(c->HandleAllocated());
  MemoryDC elsewhere(handle);
  EXPECT_TRUE(elsewhere.ok());
}

}  // namespace
}  // namespace vcl
