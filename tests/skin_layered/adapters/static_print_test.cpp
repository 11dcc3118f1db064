// A skinned system dialog's statics printed as the screen shows them: each printed through the
// hook's printing of the dialog's children (as the dialog's show animation pictures it) over the
// dialog's own erase, into a picture first filled with a colour nothing paints, and compared
// pixel by pixel with the dialog painted on the screen. Etched lines, frames, rectangles,
// sunken labels, icons and pictures; a static printed alone with each set of print flags; an
// edged icon under a skin with and without the section of its edge.
#include <memory>
#include <string>
#include <vector>

#include "dialogs_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/StaticWnd.h"
#include "skin_layered/core/AdapterServices.h"

namespace skin_layered::test {
namespace {

// The dialog, the statics' section and the edge's section; the colour the picture starts with.
constexpr COLORREF kDialogFill = 0x9080C0, kStaticSection = 0x20A040, kEdgeSection = 0x8040C0, kPrefill = 0x4060E0;

std::string StaticsSkinText(bool WithEdge) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("DIALOG", kDialogFill, kDialogFill) +
                     "[FORMTITLE]\r\nCOLOR=$603020\r\n" + FlatSection("CHECKBOX", kStaticSection, kStaticSection);
  if (WithEdge) text += FlatSection("EDIT", kEdgeSection, kEdgeSection);
  return text;
}

constexpr WORD kStaticAtom = 0x0082;
enum : WORD {
  kEtchedHorz = 10, kEtchedVert, kEtchedFrame, kSunkenLabel, kEdgedLabel,
  kBlackRect = 20, kGrayRect, kWhiteRect, kBlackFrame, kGrayFrame, kWhiteFrame, kSimple,
  kIcon = 30, kEdgedIcon, kPicture, kEdgedPicture,
};

// A picture of one colour, owned by the test (a static shows it without taking it).
class SolidPicture {
 public:
  SolidPicture(int Size, COLORREF Color) {
    const HDC screen = GetDC(nullptr);
    bitmap_ = CreateCompatibleBitmap(screen, Size, Size);
    const HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    const HGDIOBJ old = SelectObject(dc, bitmap_);
    const HBRUSH brush = CreateSolidBrush(Color);
    const RECT r{0, 0, Size, Size};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ~SolidPicture() { DeleteObject(bitmap_); }
  SolidPicture(const SolidPicture&) = delete;
  SolidPicture& operator=(const SolidPicture&) = delete;
  HBITMAP Handle() const { return bitmap_; }

 private:
  HBITMAP bitmap_ = nullptr;
};

// Pixels of a W x H block where two pictures differ, the block at A in the first, at B in the second.
int DifferingBlock(const MemoryPixels& First, POINT A, const MemoryPixels& Second, POINT B, int W, int H) {
  int n = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) n += First.At(A.x + x, A.y + y) != Second.At(B.x + x, B.y + y) ? 1 : 0;
  return n;
}

// Memory of a size, first filled with the colour nothing paints.
std::unique_ptr<MemoryPixels> Prefilled(int Width, int Height) {
  auto pixels = std::make_unique<MemoryPixels>(Width, Height);
  const HBRUSH brush = CreateSolidBrush(kPrefill);
  const RECT r{0, 0, Width, Height};
  FillRect(pixels->DC(), &r, brush);
  DeleteObject(brush);
  return pixels;
}

class StaticPrinting : public ::testing::Test {
 protected:
  void SetUp() override { Open(false); }
  void TearDown() override { Close(); }

  void Open(bool WithEdge) {
    manager = LoadedManager(skins, WithEdge ? L"Edged" : L"Plain", StaticsSkinText(WithEdge));
    manager->AnimEffects()->DialogShow()->SetActive(false);
    manager->AnimEffects()->DialogHide()->SetActive(false);
    ASSERT_TRUE(manager->IsDefault());
    DialogTemplate t(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, L"Statics", 240, 150);
    // Lines and frames on the left, apart from each other; the system makes an etched line two
    // pixels thick whatever its template gives.
    t.Item(kStaticAtom, WS_VISIBLE | SS_ETCHEDHORZ, 8, 8, 100, 2, kEtchedHorz);
    t.Item(kStaticAtom, WS_VISIBLE | SS_ETCHEDVERT, 116, 8, 2, 60, kEtchedVert);
    t.Item(kStaticAtom, WS_VISIBLE | SS_ETCHEDFRAME, 8, 20, 60, 30, kEtchedFrame);
    t.Item(kStaticAtom, WS_VISIBLE | SS_LEFT | SS_SUNKEN, 8, 60, 100, 10, kSunkenLabel, L"Sunken");
    t.Item(kStaticAtom, WS_VISIBLE | SS_LEFT, 8, 76, 100, 10, kEdgedLabel, L"Edged", WS_EX_STATICEDGE);
    t.Item(kStaticAtom, WS_VISIBLE | SS_SIMPLE, 8, 92, 100, 10, kSimple, L"Simple");
    // Rectangles and frames of every colour in a column.
    for (WORD i = 0; i < 6; ++i)
      t.Item(kStaticAtom, WS_VISIBLE | static_cast<DWORD>(SS_BLACKRECT + i), 130, static_cast<short>(8 + 14 * i), 30,
             10, static_cast<WORD>(kBlackRect + i));
    // Icons and pictures, plain and edged.
    t.Item(kStaticAtom, WS_VISIBLE | SS_ICON, 180, 8, 20, 20, kIcon);
    t.Item(kStaticAtom, WS_VISIBLE | SS_ICON, 180, 40, 20, 20, kEdgedIcon, L"", WS_EX_STATICEDGE);
    t.Item(kStaticAtom, WS_VISIBLE | SS_BITMAP, 180, 72, 20, 20, kPicture);
    t.Item(kStaticAtom, WS_VISIBLE | SS_BITMAP, 180, 104, 20, 20, kEdgedPicture, L"", WS_EX_STATICEDGE);
    dlg = CreateTestDialog(t);
    ASSERT_NE(dlg, nullptr);
    const HICON icon = LoadIconW(nullptr, IDI_WARNING);
    for (const WORD id : {kIcon, kEdgedIcon}) SendDlgItemMessageW(dlg, id, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
    SendDlgItemMessageW(dlg, kPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.Handle()));
    SendDlgItemMessageW(dlg, kEdgedPicture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(edgedPicture.Handle()));
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  void Close() {
    if (IsWindow(dlg)) DestroyWindow(dlg);
    dlg = nullptr;
    PurgeProviders();
    manager.reset();
  }

  HWND Item(WORD Id) const { return GetDlgItem(dlg, Id); }
  // The static's window rectangle in the dialog's client part.
  RECT Place(WORD Id) const {
    RECT r{};
    GetWindowRect(Item(Id), &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  RECT Client() const {
    RECT r{};
    GetClientRect(dlg, &r);
    return r;
  }
  // The client part as the dialog's picture is made off the screen: its erase, then its
  // children printed by the hook.
  std::unique_ptr<MemoryPixels> PrintedDialog() const {
    auto pixels = Prefilled(Client().right, Client().bottom);
    SendMessageW(dlg, WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels->DC()), 0);
    AdapterServices().PrintChildWindows(dlg, pixels->DC());
    return pixels;
  }
  // The client part as the screen shows it.
  std::unique_ptr<MemoryPixels> ScreenDialog() const {
    RedrawWindow(dlg, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    auto pixels = std::make_unique<MemoryPixels>(Client().right, Client().bottom);
    const HDC dc = GetDC(dlg);
    BitBlt(pixels->DC(), 0, 0, Client().right, Client().bottom, dc, 0, 0, SRCCOPY);
    ReleaseDC(dlg, dc);
    return pixels;
  }
  // The static printed alone with the flags, into a picture of its size.
  std::unique_ptr<MemoryPixels> PrintedAlone(WORD Id, LPARAM Flags) const {
    const RECT box = WindowBox(Item(Id));
    auto pixels = Prefilled(box.right, box.bottom);
    SendMessageW(Item(Id), WM_PRINT, reinterpret_cast<WPARAM>(pixels->DC()), Flags);
    return pixels;
  }

  // Pixels of the static's rectangle where the two pictures differ, and where the printed one
  // kept its first colour.
  int Differing(const MemoryPixels& Printed, const MemoryPixels& Screen, WORD Id) const {
    const RECT r = Place(Id);
    const POINT corner{r.left, r.top};
    return DifferingBlock(Printed, corner, Screen, corner, r.right - r.left, r.bottom - r.top);
  }
  int Untouched(const MemoryPixels& Printed, WORD Id) const { return CountColor(Printed, Place(Id), kPrefill); }

  TempSkins skins;
  ManagerPtr manager;
  SolidPicture picture{24, 0x00C0FF}, edgedPicture{24, 0xC0FF00};
  HWND dlg = nullptr;
};

// Statics the system draws some or all of, and those the skin draws, each as the screen shows it.
TEST_F(StaticPrinting, EveryStaticPrintsAsTheScreenShowsIt) {
  // The etched lines are statics that keep their own painting (the system gives them an edge).
  for (const WORD id : {kEtchedHorz, kEtchedVert, kSunkenLabel, kEdgedLabel})
    ASSERT_TRUE(GetWindowLongPtrW(Item(id), GWL_EXSTYLE) & WS_EX_STATICEDGE) << id;
  auto printed = PrintedDialog();
  auto screen = ScreenDialog();
  for (const WORD id : {kEtchedHorz, kEtchedVert, kEtchedFrame, kSunkenLabel, kEdgedLabel, kSimple, kBlackRect,
                        kGrayRect, kWhiteRect, kBlackFrame, kGrayFrame, kWhiteFrame, kIcon, kEdgedIcon, kPicture,
                        kEdgedPicture}) {
    SCOPED_TRACE(id);
    const RECT r = Place(id);
    ASSERT_GT(r.right - r.left, 1);
    ASSERT_GT(r.bottom - r.top, 1);
    EXPECT_EQ(Untouched(*printed, id), 0);
    EXPECT_EQ(Differing(*printed, *screen, id), 0);
  }
  // The pictures of the icon and bitmap statics are in both.
  const RECT pictureBox = Place(kPicture), edgedBox = Place(kEdgedPicture);
  EXPECT_EQ(printed->At(pictureBox.left + 5, pictureBox.top + 5), 0x00C0FFu);
  EXPECT_EQ(printed->At(edgedBox.left + 5, edgedBox.top + 5), 0xC0FF00u);
}

// An etched line is two pixels of its two colours, the dialog's background on either side of
// it; an etched frame holds the section inside.
TEST_F(StaticPrinting, EtchedLinesShowTheirTwoColoursOverTheBackground) {
  auto printed = PrintedDialog();
  const RECT horz = Place(kEtchedHorz), vert = Place(kEtchedVert), frame = Place(kEtchedFrame);
  ASSERT_EQ(horz.bottom - horz.top, 2);
  ASSERT_EQ(vert.right - vert.left, 2);
  const int midX = (horz.left + horz.right) / 2, midY = (vert.top + vert.bottom) / 2;
  const COLORREF shadow = printed->At(midX, horz.top), light = printed->At(midX, horz.top + 1);
  EXPECT_NE(shadow, light);
  for (const COLORREF c : {shadow, light}) {
    EXPECT_NE(c, kDialogFill);
    EXPECT_NE(c, kPrefill);
    EXPECT_NE(c, 0u);
  }
  // The vertical line is the same pair across.
  EXPECT_EQ(printed->At(vert.left, midY), shadow);
  EXPECT_EQ(printed->At(vert.left + 1, midY), light);
  // The dialog's background on either side of each line.
  EXPECT_EQ(printed->At(midX, horz.top - 1), kDialogFill);
  EXPECT_EQ(printed->At(midX, horz.bottom), kDialogFill);
  EXPECT_EQ(printed->At(vert.left - 1, midY), kDialogFill);
  EXPECT_EQ(printed->At(vert.right, midY), kDialogFill);
  // The frame: its edge on every side, the section inside.
  const int fx = (frame.left + frame.right) / 2, fy = (frame.top + frame.bottom) / 2;
  for (const POINT p : {POINT{frame.left, fy}, POINT{fx, frame.top}, POINT{frame.right - 1, fy}, POINT{fx, frame.bottom - 1}}) {
    const int x = p.x, y = p.y;
    EXPECT_NE(printed->At(x, y), kStaticSection) << x << "," << y;
    EXPECT_NE(printed->At(x, y), kPrefill) << x << "," << y;
  }
  EXPECT_EQ(printed->At(fx, fy), kStaticSection);
}

// A static that keeps its own painting, printed alone: its edge with PRF_NONCLIENT, its own
// client painting with PRF_CLIENT, each in its place; the erase and the children's flags change
// nothing.
TEST_F(StaticPrinting, AStaticPaintingItselfPrintsTheFlagsParts) {
  auto dialog = PrintedDialog();
  for (const WORD id : {kEtchedHorz, kEtchedVert, kSunkenLabel}) {
    SCOPED_TRACE(id);
    const RECT place = Place(id), box = WindowBox(Item(id));
    auto same = [&](const MemoryPixels& Alone, int X, int Y) { return Alone.At(X, Y) == dialog->At(place.left + X, place.top + Y); };
    auto edge = [&](int X, int Y) { return X == 0 || Y == 0 || X == box.right - 1 || Y == box.bottom - 1; };
    // The whole static as the dialog's picture has it, whatever the erase and children flags.
    for (const LPARAM flags : {LPARAM{PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND}, LPARAM{PRF_NONCLIENT | PRF_CLIENT},
                               LPARAM{PRF_NONCLIENT | PRF_CLIENT | PRF_CHILDREN}}) {
      auto alone = PrintedAlone(id, flags);
      EXPECT_EQ(DifferingBlock(*alone, POINT{0, 0}, *dialog, POINT{place.left, place.top}, box.right, box.bottom), 0)
          << flags;
    }
    // The frame alone: the edge, the inside left as it was; the client part alone: the inside,
    // the edge left as it was.
    auto frame = PrintedAlone(id, PRF_NONCLIENT);
    auto client = PrintedAlone(id, PRF_CLIENT | PRF_ERASEBKGND);
    int edgeWrong = 0, insideWrong = 0;
    for (int y = 0; y < box.bottom; ++y)
      for (int x = 0; x < box.right; ++x)
        if (edge(x, y))
          edgeWrong += !same(*frame, x, y) || client->At(x, y) != kPrefill ? 1 : 0;
        else
          insideWrong += frame->At(x, y) != kPrefill || !same(*client, x, y) ? 1 : 0;
    EXPECT_EQ(edgeWrong, 0);
    EXPECT_EQ(insideWrong, 0);
  }
}

// An edged icon or picture under a skin with its edge's section shows that section's edge
// around its own painting; under one without it (above) it kept the system's edge.
TEST_F(StaticPrinting, AnEdgedPictureTakesTheSkinsEdgeWhenTheSkinHasIt) {
  Close();
  Open(true);
  for (const WORD id : {kEdgedIcon, kEdgedPicture}) ASSERT_NE(dynamic_cast<TqvEdgeWnd*>(GetAdapter(Item(id))), nullptr);
  auto printed = PrintedDialog();
  auto screen = ScreenDialog();
  for (const WORD id : {kEdgedIcon, kEdgedPicture, kEtchedHorz, kSunkenLabel}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(Untouched(*printed, id), 0);
    EXPECT_EQ(Differing(*printed, *screen, id), 0);
  }
  for (const WORD id : {kEdgedIcon, kEdgedPicture}) {
    const RECT r = Place(id);
    EXPECT_EQ(printed->At(r.left, r.top), kEdgeSection) << id;
    EXPECT_EQ(printed->At(r.right - 2, (r.top + r.bottom) / 2), kEdgeSection) << id;
  }
  const RECT picture = Place(kEdgedPicture);
  EXPECT_EQ(printed->At(picture.left + 5, picture.top + 5), 0xC0FF00u);
}

}  // namespace
}  // namespace skin_layered::test
