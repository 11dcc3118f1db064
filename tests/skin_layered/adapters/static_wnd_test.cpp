// The static adapters: labels over their section in their window's font, a sunken static left
// to itself, a picture static reading its picture at every paint and never owning it, a link
// without its tags, and a system message box's statics adapted by the dialog hook.
#include <algorithm>
#include <vector>

#include "buttons_support.h"
#include "skin_layered/adapters/ButtonWnd.h"
#include "skin_layered/adapters/StaticWnd.h"

namespace skin_layered::test {
namespace {

HWND BareStatic(HWND Parent, DWORD Style, const wchar_t* Text, int Y, DWORD ExStyle = 0, int W = 180, int H = 30) {
  return Child(Parent, L"STATIC", Style, 10, Y, W, H, ExStyle, Text);
}

bool Reddish(COLORREF c) { return GetRValue(c) > 0x80 && GetGValue(c) < 0x80 && GetBValue(c) < 0x80; }

class Statics : public ButtonsTest {
 protected:
  void SetUp() override { LoadButtonsSkin(); }
};

TEST(StaticLinks, TheTagsGoAndTheTextStays) {
  EXPECT_EQ(StripLinkTags(L"Visit <A>the site</A> now"), L"Visit the site now");
  EXPECT_EQ(StripLinkTags(L"<a href=\"x\">here</a>"), L"here");
  EXPECT_EQ(StripLinkTags(L"a < b and <Abc> stay"), L"a < b and <Abc> stay");
  EXPECT_EQ(StripLinkTags(L"<A unclosed"), L"<A unclosed");
}

TEST_F(Statics, ALabelShowsItsTextOverItsSectionAndAnEmptyOneOnlyTheSection) {
  HWND label = BareStatic(form->Handle(), SS_LEFT, L"Label text", 10);
  auto a = CreateAdapter<TqvStaticWnd>(label, nullptr, manager.get(), TqvSkinParams{});
  auto pixels = Printed(label);
  EXPECT_GT(CountPixels(*pixels, RECT{0, 0, 90, 30}, Reddish), 10);
  EXPECT_EQ(pixels->At(179, 29), kCheckColor);
  // A new text shows at once; an empty one leaves only the section.
  SetWindowTextW(label, L"");
  EXPECT_EQ(CountColor(*Printed(label), WindowBox(label), kCheckColor), 180 * 30);
}

// The rows holding text of the font colour.
int TextRows(const FramePixels& Pixels, int Width, int Height) {
  int top = Height, bottom = -1;
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x)
      if (Reddish(Pixels.At(x, y))) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return bottom < top ? 0 : bottom - top + 1;
}

TEST_F(Statics, ALabelWritesInTheFontItsWindowWasGiven) {
  HWND small = BareStatic(form->Handle(), SS_LEFT, L"Hello", 10, 0, 180, 60);
  HWND large = BareStatic(form->Handle(), SS_LEFT, L"Hello", 80, 0, 180, 60);
  HFONT font = CreateFontW(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  SendMessageW(large, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  auto a = CreateAdapter<TqvStaticWnd>(small, nullptr, manager.get(), TqvSkinParams{});
  auto b = CreateAdapter<TqvStaticWnd>(large, nullptr, manager.get(), TqvSkinParams{});
  const int smallRows = TextRows(*Printed(small), 180, 60);
  const int largeRows = TextRows(*Printed(large), 180, 60);
  EXPECT_GT(smallRows, 0);
  EXPECT_GE(largeRows, 25);
  EXPECT_GT(largeRows, smallRows + 10);
  // The window's font is still its own.
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(large, WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
  DestroyWindow(large);
  DeleteObject(font);
}

TEST_F(Statics, AStaticWithASunkenEdgeKeepsItsOwnPainting) {
  HWND edged = BareStatic(form->Handle(), SS_LEFT, L"Edged", 10, WS_EX_STATICEDGE);
  auto adapter = CreateAdapter<TqvStaticWnd>(edged, nullptr, manager.get(), TqvSkinParams{});
  auto pixels = Printed(edged);
  EXPECT_EQ(CountColor(*pixels, WindowBox(edged), kCheckColor), 0);
  EXPECT_GT(CountPixels(*pixels, WindowBox(edged), [](COLORREF c) { return c != 0; }), 0);
}

HBITMAP FlatBitmap(COLORREF Color, int Size) {
  const std::vector<std::uint32_t> bits(static_cast<std::size_t>(Size * Size), Rgb(Color));
  return CreateBitmap(Size, Size, 1, 32, bits.data());
}

TEST_F(Statics, APictureIsReadAtEveryPaintAndStaysTheWindows) {
  HWND picture = BareStatic(form->Handle(), SS_BITMAP, L"", 10, 0, 40, 40);
  HBITMAP first = FlatBitmap(0x00C0C0, 20);
  HBITMAP second = FlatBitmap(0xC000C0, 20);
  SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first));
  SetWindowPos(picture, nullptr, 0, 0, 40, 40, SWP_NOMOVE | SWP_NOZORDER);  // the picture resized the window
  {
    auto adapter = CreateAdapter<TqvIconWnd>(picture, nullptr, manager.get(), TqvSkinParams{});
    EXPECT_TRUE(adapter->BitmapMode());
    auto pixels = Printed(picture);
    EXPECT_EQ(pixels->At(5, 5), 0x00C0C0u);
    EXPECT_EQ(pixels->At(30, 30), kCheckColor);  // beyond the picture: the section
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second));
    EXPECT_EQ(Printed(picture)->At(5, 5), 0xC000C0u);
  }
  // Both pictures are still there for their owner to free.
  EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BITMAP));
  DestroyWindow(picture);
  DeleteObject(first);
  DeleteObject(second);
}

// Nothing of its own: neither its section nor black, what lies behind it.
TEST_F(Statics, AnIconStaticWithoutAnIconShowsWhatLiesBehindIt) {
  HWND icon = BareStatic(form->Handle(), SS_ICON, L"", 10, 0, 32, 32);
  SetWindowPos(icon, nullptr, 0, 0, 32, 32, SWP_NOMOVE | SWP_NOZORDER);
  auto adapter = CreateAdapter<TqvIconWnd>(icon, nullptr, manager.get(), TqvSkinParams{});
  EXPECT_FALSE(adapter->BitmapMode());
  EXPECT_EQ(CountColor(*Printed(icon), WindowBox(icon), kParentColor), 32 * 32);
}

TEST_F(Statics, ALinkIsDrawnUnderlinedWithoutItsTags) {
  HWND link = BareStatic(form->Handle(), SS_LEFT | SS_NOTIFY, L"Read <A>the notes</A>", 10, 0, 200, 24);
  auto adapter = CreateAdapter<TqvLinkWnd>(link, nullptr, manager.get(), TqvSkinParams{});
  auto pixels = Printed(link);
  // The underline: a row with a long run of the font colour.
  int longest = 0;
  for (int y = 0; y < 24; ++y) {
    int run = 0;
    for (int x = 0; x < 200; ++x) {
      run = Reddish(pixels->At(x, y)) ? run + 1 : 0;
      longest = std::max(longest, run);
    }
  }
  EXPECT_GT(longest, 40);
  // Without the tags the text is shorter than with them.
  HWND plain = BareStatic(form->Handle(), SS_LEFT, L"Read <A>the notes</A>", 50, 0, 200, 24);
  auto other = CreateAdapter<TqvStaticWnd>(plain, nullptr, manager.get(), TqvSkinParams{});
  auto tagged = Printed(plain);
  auto rightmost = [](const FramePixels& p) {
    int right = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 200; ++x)
        if (Reddish(p.At(x, y))) right = std::max(right, x);
    return right;
  };
  EXPECT_LT(rightmost(*pixels), rightmost(*tagged));
}

// ---------------------------------------------------------------------------------------
// A system message box

struct TBoxVisit {
  bool found = false, done = false;
  int ticks = 0, labels = 0, icons = 0, buttons = 0;
  int hooked = 0;  // controls the dialog hook had given the right adapter
  int labelBackground = 0, labelText = 0, iconPixels = 0;
};
TBoxVisit* g_visit = nullptr;

BOOL CALLBACK FindBox(HWND Wnd, LPARAM LParam) {
  wchar_t name[16] = {};
  GetClassNameW(Wnd, name, 16);
  if (wcscmp(name, L"#32770") == 0 && IsWindowVisible(Wnd)) {
    *reinterpret_cast<HWND*>(LParam) = Wnd;
    return FALSE;
  }
  return TRUE;
}

// Counts a child of the box, whether the hook gave it its adapter, and what it paints.
BOOL CALLBACK VisitChild(HWND Child, LPARAM) {
  wchar_t name[16] = {};
  GetClassNameW(Child, name, 16);
  if (!IsWindowVisible(Child)) return TRUE;
  TBoxVisit& v = *g_visit;
  TqvMainWnd* adapter = GetAdapter(Child);
  if (_wcsicmp(name, L"Button") == 0) {
    ++v.buttons;
    v.hooked += dynamic_cast<TqvBtnWnd*>(adapter) ? 1 : 0;
    return TRUE;
  }
  if (_wcsicmp(name, L"Static") != 0) return TRUE;
  const RECT box = WindowBox(Child);
  auto pixels = Printed(Child);
  if ((GetWindowLongPtrW(Child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
    ++v.icons;
    v.hooked += dynamic_cast<TqvIconWnd*>(adapter) ? 1 : 0;
    v.iconPixels += CountPixels(*pixels, box, [](COLORREF c) { return c != kCheckColor; });
  } else {
    ++v.labels;
    v.hooked += dynamic_cast<TqvStaticWnd*>(adapter) && !dynamic_cast<TqvIconWnd*>(adapter) ? 1 : 0;
    v.labelBackground += CountColor(*pixels, box, kCheckColor);
    v.labelText += CountPixels(*pixels, box, Reddish);
  }
  return TRUE;
}

// The box comes up where the test's windows stand and is never activated: the windows of
// other test programs keep the foreground.
LRESULT CALLBACK QuietBox(int Code, WPARAM WParam, LPARAM LParam) {
  if (Code == HCBT_ACTIVATE) {
    // The hooks installed before (the engine's dialog hook) still hear of it.
    const LRESULT next = CallNextHookEx(nullptr, Code, WParam, LParam);
    wchar_t name[16] = {};
    GetClassNameW(reinterpret_cast<HWND>(WParam), name, 16);
    return wcscmp(name, L"#32770") == 0 ? 1 : next;
  }
  if (Code == HCBT_CREATEWND) {
    CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(LParam)->lpcs;
    if (create->lpszClass == MAKEINTATOM(32770) && !(create->style & WS_CHILD)) {
      create->x = kFormLeft;
      create->y = kFormTop;
    }
  }
  return CallNextHookEx(nullptr, Code, WParam, LParam);
}

void CALLBACK VisitBox(HWND, UINT, UINT_PTR Timer, DWORD) {
  TBoxVisit& v = *g_visit;
  if (v.done) return;
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  // The deadline: a box that does not come ends the box's loop all the same.
  if (!box && ++v.ticks < 500) return;
  v.done = true;
  KillTimer(nullptr, Timer);
  if (!box) {
    PostQuitMessage(0);
    return;
  }
  v.found = true;
  // The box's frame painted: a skinned box gives its children their adapters then.
  SendMessageW(box, WM_NCPAINT, 1, 0);
  EnumChildWindows(box, VisitChild, 0);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Statics, TheDialogHookGivesAMessageBoxsControlsTheirAdaptersAndTheyPaint) {
  TBoxVisit visit;
  g_visit = &visit;
  HHOOK hook = SetWindowsHookExW(WH_CBT, QuietBox, nullptr, GetCurrentThreadId());
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, VisitBox);
  const int answer = MessageBoxW(form->Handle(), L"The text of the box", L"Box", MB_OK | MB_ICONINFORMATION);
  KillTimer(nullptr, timer);
  UnhookWindowsHookEx(hook);
  MSG quit{};
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // a deadline's quit, if any
  g_visit = nullptr;
  ASSERT_TRUE(visit.found);
  EXPECT_EQ(answer, IDOK);
  EXPECT_GE(visit.labels, 1);
  EXPECT_EQ(visit.icons, 1);
  EXPECT_EQ(visit.buttons, 1);
  EXPECT_EQ(visit.hooked, visit.labels + visit.icons + visit.buttons);
  EXPECT_GT(visit.labelText, 10);
  EXPECT_GT(visit.labelBackground, visit.labelText);
  EXPECT_GT(visit.iconPixels, 100);
}

}  // namespace
}  // namespace skin_layered::test
