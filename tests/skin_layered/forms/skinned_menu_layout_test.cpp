// Where the skinned menus put each part of an item, over a skin of flat colours whose text
// colour is found nowhere else: a glyph (bitmap or image) and the check mark, the caption and
// the part after its TAB, the shortcut, a right-aligned caption, the system menu's glyphs,
// the line of a column break, all mirrored for right-to-left reading, and the extra line's
// caption written upwards. Items are drawn into a bitmap as the menu's window would show them.
#include <gtest/gtest.h>

#include <optional>

#include "classlib/forms/Menus.h"
#include "classlib/graphics/ImgList.h"
#include "classlib/rtl/SysInfo.h"
#include "forms_support.h"
#include "skin_layered/core/PopupMenuLinks.h"
#include "skin_layered/forms/MenuSupport.h"
#include "skin_layered/forms/SkinableMenus.h"
#include "skin_layered/paint/Bitmap32.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// As the skin writes them ($BBGGRR) and as the pixels read back (COLORREF alike).
constexpr COLORREF kMenuFace = 0x604020, kItem = 0x30A0A0, kText = 0x1010E0, kExtra = 0x909010,
                   kExtraText = 0x10F010, kGlyph = 0xE01010;

std::string Hex(COLORREF c) {
  char text[8];
  std::snprintf(text, sizeof text, "$%06X", static_cast<unsigned>(c));
  return text;
}

std::string LayoutSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\n[FORM]\r\nCOLOR=$A0B0C0\r\n[MAINMENU]\r\nCOLOR=" + Hex(kMenuFace) +
         "\r\n[MENUITEM]\r\nSTATES=2\r\nCOLOR=" + Hex(kItem) + "\r\nFONTCOLOR=" + Hex(kText) +
         "\r\nHOTCOLOR=" + Hex(kItem) + "\r\nHOTFONTCOLOR=" + Hex(kText) + "\r\n[EXTRALINE]\r\nCOLOR=" +
         Hex(kExtra) + "\r\nFONTCOLOR=" + Hex(kExtraText) + "\r\n";
}

COLORREF At(vcl::TBitmap* Bmp, int X, int Y) {
  const std::uint32_t p = PixelOf(Bmp, X, Y);
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// The box around the pixels of a colour inside R (empty when none).
vcl::TRect BoxOf(vcl::TBitmap* Bmp, const vcl::TRect& R, COLORREF Color) {
  vcl::TRect box{R.Right, R.Bottom, R.Left, R.Top};
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (At(Bmp, x, y) == Color) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Left < box.Right ? box : vcl::TRect{};
}

// A square bitmap of one colour.
std::unique_ptr<vcl::TBitmap> Square(int Size, COLORREF Color) {
  auto bmp = std::make_unique<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf24bit);
  bmp->SetSize(Size, Size);
  HBRUSH brush = CreateSolidBrush(Color);
  const RECT all{0, 0, Size, Size};
  FillRect(bmp->Canvas()->Handle(), &all, brush);
  DeleteObject(brush);
  return bmp;
}

// Right-to-left reading switched on for the test's time.
class MiddleEast {
 public:
  MiddleEast() {
    vcl::TSysLocale locale = vcl::SysLocale();
    locale.MiddleEast = true;
    vcl::SetSysLocale(locale);
  }
  ~MiddleEast() { vcl::SetSysLocale(std::nullopt); }
};

class MenuLayout : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    WriteSkin(L"Layout", LayoutSkinText());
    manager->SetSkinName(L"Layout");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    menus = SkinableMenusOf(manager.get());
    support = MenuSupportOf(manager.get());
    ASSERT_TRUE(menus && support);
    support->SetIcoLineSkin(L"");
    form->HandleNeeded();
    popup = new vcl::TPopupMenu(form.get());
    measure.SetPixelFormat(vcl::pf32bit);
    measure.SetSize(1, 1);
  }
  void TearDown() override {
    ClearMenuCache();
    MSG m;
    while (PeekMessageW(&m, nullptr, kMenuItemPopupMessage, kMenuWindowPopupMessage, PM_REMOVE)) {
    }
    FormSkinTest::TearDown();
  }
  vcl::TMenuItem* Add(const wchar_t* Caption) {
    auto* item = new vcl::TMenuItem(form.get());
    item->SetCaption(Caption);
    popup->Items()->Add(item);
    return item;
  }
  // The items laid out in one column (a break starts the next), each drawn at its place into
  // a bitmap as large as the popup's client area; the items' rectangles.
  std::vector<vcl::TRect> Draw() {
    menus->SetMenuOwnerDraw(popup, true);
    popup->Handle();
    vcl::TMenuItem* root = popup->Items();
    const int width = menus->MenuSize(root->Items(0), measure.Canvas(), {false}).cx;
    std::vector<vcl::TRect> rects;
    int left = 0, top = 0, bottom = 0;
    for (int i = 0; i < root->Count(); ++i) {
      if (i > 0 && root->Items(i)->Break() != vcl::mbNone) left += width + 4, top = 0;
      vcl::TCanvas* c = measure.Canvas();
      c->Font()->Assign(vcl::Screen->MenuFont());
      int w = 0, h = 0;
      root->Items(i)->MeasureItem(c, w, h);
      rects.emplace_back(left, top, left + width, top + h);
      top += h;
      bottom = std::max(bottom, top);
    }
    image = CreateBmp32(left + width, bottom);
    for (int i = 0; i < root->Count(); ++i) vcl::DrawMenuItem(root->Items(i), image->Canvas(), rects[i], {});
    return rects;
  }

  TsSkinableMenus* menus = nullptr;
  TqvMenuSupport* support = nullptr;
  vcl::TPopupMenu* popup = nullptr;
  vcl::TBitmap measure;
  std::unique_ptr<vcl::TBitmap> image;
};

TEST_F(MenuLayout, AGlyphTheCaptionTheTabPartAndTheShortcutEachTakeTheirPlace) {
  const auto glyph = Square(12, kGlyph);
  vcl::TMenuItem* withGlyph = Add(L"Glyph");
  withGlyph->Bitmap()->Assign(glyph.get());
  Add(L"Left\tRight");
  vcl::TMenuItem* shortcut = Add(L"Save");
  shortcut->SetShortCut(vcl::ShortCut(L'S', vcl::TShiftState{vcl::ssCtrl}));
  Add(L"\bAligned");
  const auto rects = Draw();
  const int width = rects[0].Width(), margin = menus->Margin(), spacing = menus->Spacing();

  // The glyph: vertically centred, its left edge as far in as its top edge, at most 3.
  const vcl::TRect g = rects[0];
  const int top = (g.Height() - 12) / 2;
  EXPECT_EQ(BoxOf(image.get(), g, kGlyph), (vcl::TRect{std::min(3, top), g.Top + top, std::min(3, top) + 12,
                                                         g.Top + top + 12}));
  // The caption starts after the glyph column: the glyph's width, two margins and the spacing.
  const vcl::TRect captionBox = BoxOf(image.get(), g, kText);
  ASSERT_FALSE(captionBox.IsEmpty());
  EXPECT_GE(captionBox.Left, 12 + 2 * margin + spacing);
  EXPECT_LE(captionBox.Left, 12 + 2 * margin + spacing + 2);

  // The TAB part ends 8 pixels from the right edge; the part before it starts where captions do.
  const vcl::TRect t = rects[1];
  const vcl::TRect tabBox = BoxOf(image.get(), t, kText);
  ASSERT_FALSE(tabBox.IsEmpty());
  EXPECT_LE(tabBox.Right, width - 8);
  EXPECT_GE(tabBox.Right, width - 8 - 4);
  EXPECT_LE(tabBox.Left, 16 + 2 * margin + spacing + 2);  // the item's glyph column is the default 16 wide

  // The shortcut is right-aligned 8 pixels from the edge as well; its caption from the left.
  const vcl::TRect s = rects[2];
  const vcl::TRect right = BoxOf(image.get(), vcl::TRect{s.Left + width / 2, s.Top, s.Right, s.Bottom}, kText);
  ASSERT_FALSE(right.IsEmpty());
  EXPECT_LE(right.Right, width - 8);
  EXPECT_GE(right.Right, width - 8 - 4);
  EXPECT_FALSE(BoxOf(image.get(), vcl::TRect{s.Left, s.Top, s.Left + width / 2, s.Bottom}, kText).IsEmpty());

  // A caption beginning with character 8 is right-aligned, six blanks in from the edge.
  const vcl::TRect a = rects[3];
  const vcl::TRect aligned = BoxOf(image.get(), a, kText);
  ASSERT_FALSE(aligned.IsEmpty());
  vcl::TCanvas* c = measure.Canvas();
  c->Font()->Assign(vcl::Screen->MenuFont());
  const int blanks = c->TextWidth(L"      ");
  EXPECT_LE(aligned.Right, width - blanks);
  EXPECT_GE(aligned.Right, width - blanks - 4);
}

TEST_F(MenuLayout, AnImageListsGlyphAndTheSystemMenusGlyphs) {
  auto* images = new vcl::TImageList(form.get());
  images->SetWidth(10);
  images->SetHeight(10);
  const auto square = Square(10, kGlyph);
  images->Add(square.get(), nullptr);
  popup->SetImages(images);
  Add(L"Image")->SetImageIndex(0);
  const auto rects = Draw();
  const vcl::TRect r = rects[0];
  const int top = (r.Height() - 10) / 2;
  EXPECT_EQ(BoxOf(image.get(), r, kGlyph),
            (vcl::TRect{std::min(3, top), r.Top + top, std::min(3, top) + 10, r.Top + top + 10}));

  // A system menu (its name's prefix) writes its commands' glyphs in the symbol font from x 4;
  // other commands get none.
  popup->SetImages(nullptr);
  popup->Items()->Clear();
  popup->SetName(L"qvSysMenuTest");
  Add(L"Close")->SetTag(SC_CLOSE);
  Add(L"Other")->SetTag(0);
  ClearMenuCache();
  const auto sys = Draw();
  vcl::TCanvas* c = measure.Canvas();
  c->Font()->SetName(L"Webdings");
  c->Font()->SetSize(10);
  const int th = c->TextHeight(L"0");
  // Before the caption, which starts after the glyph column.
  const vcl::TRect beforeCaption{0, sys[0].Top, 16 + 2 * menus->Margin(), sys[0].Bottom};
  const vcl::TRect closeGlyph = BoxOf(image.get(), beforeCaption, kText);
  ASSERT_FALSE(closeGlyph.IsEmpty());
  EXPECT_GE(closeGlyph.Left, 4);
  EXPECT_LE(closeGlyph.Left, 4 + 3);
  EXPECT_LE(closeGlyph.Right, th + 14);
  EXPECT_TRUE(BoxOf(image.get(), vcl::TRect{0, sys[1].Top, 16, sys[1].Bottom}, kText).IsEmpty());
}

// The item that starts a column after a bar draws a line down the whole popup at its left
// edge (its own picture then covers its rows).
TEST_F(MenuLayout, AColumnBreaksBarIsALineAtTheItemsLeftEdge) {
  for (const wchar_t* caption : {L"One", L"Two", L"Three"}) Add(caption);
  Add(L"Four")->SetBreak(vcl::mbBarBreak);
  Add(L"Five");
  const auto rects = Draw();
  const vcl::TRect four = rects[3];
  ASSERT_GT(four.Left, rects[0].Right);  // in the second column
  // Only the items up to the one with the bar, on a clean picture.
  image = CreateBmp32(image->Width(), image->Height());
  for (int i = 0; i <= 3; ++i) vcl::DrawMenuItem(popup->Items()->Items(i), image->Canvas(), rects[i], {});
  for (int y = 0; y < image->Height(); ++y) {
    if (y < four.Top || y >= four.Bottom) {
      EXPECT_EQ(At(image.get(), four.Left, y), kText) << y;
    }
  }
  EXPECT_NE(At(image.get(), four.Left + 1, four.Bottom + 1), kText);
}

// With right-to-left reading the glyph, the check mark and the caption take the right side and
// the shortcut the left.
TEST_F(MenuLayout, RightToLeftReadingMirrorsTheParts) {
  const MiddleEast rtl;
  popup->SetBiDiMode(vcl::bdRightToLeft);
  const auto glyph = Square(12, kGlyph);
  vcl::TMenuItem* withGlyph = Add(L"Glyph");
  withGlyph->Bitmap()->Assign(glyph.get());
  vcl::TMenuItem* shortcut = Add(L"Save");
  shortcut->SetShortCut(vcl::ShortCut(L'S', vcl::TShiftState{vcl::ssCtrl}));
  const auto rects = Draw();
  const int width = rects[0].Width(), margin = menus->Margin(), spacing = menus->Spacing();
  const vcl::TRect g = rects[0];
  const int top = (g.Height() - 12) / 2, offset = std::min(3, top);
  EXPECT_EQ(BoxOf(image.get(), g, kGlyph), (vcl::TRect{width - offset - 12, g.Top + top, width - offset, g.Top + top + 12}));
  const vcl::TRect caption = BoxOf(image.get(), g, kText);
  ASSERT_FALSE(caption.IsEmpty());
  EXPECT_LE(caption.Right, width - (12 + 2 * margin + spacing));
  EXPECT_GT(caption.Left, width / 3);
  // The shortcut 6 pixels from the left edge.
  const vcl::TRect s = rects[1];
  const vcl::TRect left = BoxOf(image.get(), vcl::TRect{0, s.Top, width / 3, s.Bottom}, kText);
  ASSERT_FALSE(left.IsEmpty());
  EXPECT_GE(left.Left, 6);
  EXPECT_LE(left.Left, 6 + 2);
}

// The extra line's caption runs upwards from 12 pixels above the strip's bottom.
TEST_F(MenuLayout, TheExtraLinesCaptionIsWrittenUpwards) {
  support->SetUseExtraLine(true);
  support->ExtraLineFont()->SetName(L"Tahoma");
  support->ExtraLineFont()->SetSize(10);
  struct Extra {
    void Data(vcl::TMenuItem*, vcl::String& Section, vcl::String& Caption, std::unique_ptr<vcl::TBitmap>&,
              bool& Visible) {
      Section = L"EXTRALINE";
      Caption = L"Extra";
      Visible = true;
    }
  } extra;
  manager->OnGetMenuExtraLineData = TqvGetExtraLineData::Bind<&Extra::Data>(&extra);
  vcl::TMenuItem* first = Add(L"One");
  for (const wchar_t* c : {L"Two", L"Three", L"Four", L"Five", L"Six", L"Seven"}) Add(c);
  menus->SetMenuOwnerDraw(popup, true);
  popup->Handle();
  const TqvMenuInfo info = GetMenuInfo(*menus, first, nullptr, measure.Canvas());
  ASSERT_TRUE(info.Bmp && info.ExtraLine);
  vcl::TBitmap* bg = info.Bmp.get();
  const int border = menus->SkinBorderWidth(), strip = support->ExtraLineWidth();
  const vcl::TRect line{border, border, border + strip, bg->Height() - border};
  const vcl::TRect text = BoxOf(bg, line, kExtraText);
  ASSERT_FALSE(text.IsEmpty());
  EXPECT_GT(text.Height(), text.Width());   // turned: taller than wide
  EXPECT_LE(text.Bottom, line.Bottom - 12);  // starting 12 pixels above the bottom
  EXPECT_GE(text.Bottom, line.Bottom - 12 - 4);

  // Read right to left, the whole background is mirrored: the extra line stands at the right.
  {
    const MiddleEast rtl;
    popup->SetBiDiMode(vcl::bdRightToLeft);
    ClearMenuCache();
    const TqvMenuInfo mirrored = GetMenuInfo(*menus, first, nullptr, measure.Canvas());
    ASSERT_TRUE(mirrored.Bmp);
    vcl::TBitmap* m = mirrored.Bmp.get();
    const int w = m->Width();
    const vcl::TRect right{w - border - strip, border, w - border, m->Height() - border};
    const vcl::TRect moved = BoxOf(m, right, kExtraText);
    EXPECT_EQ(moved.Width(), text.Width());
    EXPECT_EQ(moved.Right, w - text.Left);
    EXPECT_TRUE(BoxOf(m, line, kExtraText).IsEmpty());
  }
  manager->OnGetMenuExtraLineData = nullptr;
}

}  // namespace
}  // namespace skin_layered::test
