// The skinned form window on real windows: client area and hit tests, the frame painted from
// the skin, caption buttons (visibility, layout, frames, mouse, actions), the menu band, and
// detaching that gives everything back and leaves later subclasses and hooks working.
#include "form_skin_support.h"

#include <commctrl.h>

#include <algorithm>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/forms/Menus.h"
#include "classlib/rtl/TypInfo.h"

namespace winskin::test {

VCL_CLASS_INFO(TSkinTestForm) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

constexpr DWORD kFullStyle = WS_OVERLAPPEDWINDOW;

// The frame as the skin paints it, painted into a memory bitmap: a library form through the
// message the other skin engine uses, a raw window by the skin's own call.
std::unique_ptr<vcl::TBitmap> PaintedFrame(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  auto b = Surface(r.right - r.left, r.bottom - r.top, vcl::clBlack);
  TWinSkinForm* skin = Find(w);
  EXPECT_TRUE(skin);
  if (skin && skin->FormObject) {
    EXPECT_EQ(SendMessageW(w, kEnginePaintFrame, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), kEngineMark),
              kEngineMark);
  } else if (skin) {
    skin->PaintFrame(b->Canvas()->Handle());
  }
  return b;
}

class SkinnedForms : public SkinnedWindows {
 protected:
  void SetUp() override {
    SkinnedWindows::SetUp();
    UseSkin(StandardButtons());
  }
  void UseSkin(const std::vector<ButtonSpec>& buttons, bool transparentLeft = false, bool transparentRight = false) {
    SkinnedWindows::UseSkin(FormSkinSpec(buttons, transparentLeft, transparentRight));
  }
  Owned<vcl::TForm> NewForm() {
    Owned<vcl::TForm> form(new vcl::TForm(vcl::Application, 0));
    form->SetBounds(80, 80, 300, 220);
    form->SetCaption(L"Skinned form");
    return form;
  }
  // A form whose main menu holds one item, "File", with one item of its own.
  Owned<vcl::TForm> NewFormWithFileMenu() {
    Owned<vcl::TForm> form = NewForm();
    auto* menu = new vcl::TMainMenu(form.get());
    auto* item = new vcl::TMenuItem(menu);
    item->SetCaption(L"&File");
    item->Add(new vcl::TMenuItem(menu));
    menu->Items()->Add(item);
    form->SetMenu(menu);
    return form;
  }
};

// A non-client mouse message at a window point of a skinned window (kept active: the windows
// of tests running beside may take the activation).
LRESULT Nc(HWND w, UINT msg, TPoint windowPoint, WPARAM hit = HTCAPTION) {
  if (msg == WM_NCMOUSEMOVE && Find(w) && !Find(w)->Active) SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
  RECT r{};
  GetWindowRect(w, &r);
  return SendMessageW(w, msg, hit, MAKELPARAM(r.left + windowPoint.X, r.top + windowPoint.Y));
}

// ---------------------------------------------------------------------------------------
// Skinning and the frame

TEST_F(SkinnedForms, AFormShownIsSkinnedThroughTheManagersHookWithItsClientInsideTheBorders) {
  Owned<vcl::TForm> form = NewForm();
  form->SetClientWidth(300);
  form->SetClientHeight(200);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->Owner(), form.get());  // owned by its form object
  EXPECT_TRUE(skin->SkinFrame);
  EXPECT_EQ(std::make_tuple(skin->LeftWidth, skin->TopHeight, skin->RightWidth, skin->BottomHeight),
            std::make_tuple(kLeft, kTop, kRight, kBottom));
  // A second request finds it skinned: it answers the query itself.
  EXPECT_EQ(SendMessageW(form->Handle(), SKM_QUERYNOSKIN, 0, 0), 1);
  EXPECT_FALSE(SkinManager()->SkinForm(form->Handle()));
  // The client size the form had, the window grown by the skin's borders.
  RECT client{}, window{};
  GetClientRect(form->Handle(), &client);
  GetWindowRect(form->Handle(), &window);
  EXPECT_EQ(std::make_pair(client.right, client.bottom), std::make_pair(300L, 200L));
  EXPECT_EQ(std::make_pair(window.right - window.left, window.bottom - window.top),
            std::make_pair(300L + kLeft + kRight, 200L + kTop + kBottom));
  POINT origin{0, 0};
  ClientToScreen(form->Handle(), &origin);
  EXPECT_EQ(origin.x - window.left, kLeft);
  EXPECT_EQ(origin.y - window.top, kTop);

  // The system buttons are off the style; their facts are kept.
  const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU));
  EXPECT_EQ(skin->StyleBits & (kHasMinimizeBox | kHasMaximizeBox | kHasSystemMenu),
            kHasMinimizeBox | kHasMaximizeBox | kHasSystemMenu);
  // The other skin engine's query is answered for it.
  EXPECT_EQ(SendMessageW(form->Handle(), kEngineQuerySkinned, 0, kEngineMark), kEngineMark);
}

// A form tagged 99 is never skinned, whatever the skin data's DisableTag (the controls' tag)
// holds; a form tagged with that DisableTag is.
TEST_F(SkinnedForms, AFormTagged99IsNeverSkinnedWhateverTheDisableTag) {
  data_->SetDisableTag(7);
  Owned<vcl::TForm> kept = NewForm();
  kept->SetTag(99);
  const LONG_PTR style = GetWindowLongPtrW(kept->Handle(), GWL_STYLE);
  kept->Show();
  SetActiveWindow(kept->Handle());
  Owned<vcl::TForm> form = NewForm();
  form->SetTag(7);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->Owner(), form.get());
  // Activated again, and offered by a request to skin every form: left alone.
  SetActiveWindow(kept->Handle());
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::SkinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->RequestSkinData() == nullptr; }));
  PumpUntilIdle();
  EXPECT_FALSE(Find(kept->Handle()));
  EXPECT_EQ(SendMessageW(kept->Handle(), SKM_QUERYNOSKIN, 0, 0), 0);
  EXPECT_EQ(GetWindowLongPtrW(kept->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX),
            style & (WS_SYSMENU | WS_MAXIMIZEBOX));
  EXPECT_TRUE(Find(form->Handle()));
}

TEST_F(SkinnedForms, NonClientSizeAndHitTestsFollowTheSkinsBordersOnlyForAFullCaption) {
  UniqueWindow w = RawWindow();
  ASSERT_TRUE(SkinRaw(w.get()));
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = {100, 50, 400, 300};
  EXPECT_EQ(SendMessageW(w.get(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params)), WVR_VALIDRECTS);
  EXPECT_EQ(vcl::TRect(params.rgrc[0]), vcl::Rect(100 + kLeft, 50 + kTop, 400 - kRight, 300 - kBottom));
  EXPECT_EQ(params.rgrc[1].left, params.rgrc[0].left);
  RECT plain{0, 0, 10, 10};
  EXPECT_EQ(SendMessageW(w.get(), WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&plain)), 0);
  RECT r{};
  GetWindowRect(w.get(), &r);
  auto hit = [&](int x, int y) { return SendMessageW(w.get(), WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y)); };
  EXPECT_EQ(hit(120, kTop / 2), HTCAPTION);
  EXPECT_EQ(hit(120, kTop + 40), HTCLIENT);
  EXPECT_NE(hit(120, 0), HTCLIENT);  // the sizing edge stays

  UniqueWindow popup = RawWindow(WS_POPUP | WS_BORDER);
  TWinSkinForm* skin = SkinRaw(popup.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->BorderKind, TBorderKind::None);
  params.rgrc[0] = {0, 0, 200, 100};
  SendMessageW(popup.get(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  EXPECT_EQ(params.rgrc[0].top, 1);  // the system's own border
}

TEST_F(SkinnedForms, TheFrameIsPaintedFromTheSkinsActiveAndInactivePictures) {
  Owned<vcl::TForm> form = NewForm();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
  auto b = PaintedFrame(form->Handle());
  const int w = b->Width(), h = b->Height();
  EXPECT_EQ(Pixel(b.get(), 1, h / 2), Frame(kLeftId, 1));
  EXPECT_EQ(Pixel(b.get(), w - 2, h / 2), Frame(kRightId, 1));
  EXPECT_EQ(Pixel(b.get(), w / 2, h - 2), Frame(kBottomId, 1));
  EXPECT_EQ(Pixel(b.get(), w / 2, 1), Frame(kTopId, 1));
  // The client area is not painted.
  EXPECT_EQ(Pixel(b.get(), w / 2, h / 2), vcl::clBlack);
  // The buttons, right-aligned, in their normal frame.
  EXPECT_EQ(Pixel(b.get(), w - 16 + 2, 3 + 2), Frame(kFirstButtonId, 1));
  EXPECT_EQ(Pixel(b.get(), w - 30 + 2, 3 + 2), Frame(kFirstButtonId + 1, 1));
  EXPECT_EQ(Pixel(b.get(), w - 44 + 2, 3 + 2), Frame(kFirstButtonId + 2, 1));
  // The title text in the skin's colour, after the two leading blanks.
  bool text = false;
  for (int x = 0; x < skin->TitleRect.Right && !text; ++x)
    for (int y = 0; y < kTop && !text; ++y) text = Pixel(b.get(), x, y) == vcl::TColor(0x030201);
  EXPECT_TRUE(text);
  EXPECT_GT(skin->TitleRect.Width(), 0);

  SendMessageW(form->Handle(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(skin->Active);
  b = PaintedFrame(form->Handle());
  EXPECT_EQ(Pixel(b.get(), 1, h / 2), Frame(kLeftId, 2));
  EXPECT_EQ(Pixel(b.get(), w / 2, 1), Frame(kTopId, 2));
  EXPECT_EQ(Pixel(b.get(), w - 16 + 2, 5), Frame(kFirstButtonId, 4));  // the inactive frame
}

// Border pictures a pixel short of and a pixel past their two frames (side by side at the left
// and right, stacked at the top and bottom) are cut into two whole frames: each border is a frame
// thick, showing its active frame across its thickness, its inactive one when inactive, and
// nothing of the other frame or of the pixel left over.
TEST_F(SkinnedForms, BorderPicturesAPixelOffTwoFramesAreCutIntoWholeFrames) {
  for (const int off : {-1, 1}) {
    SCOPED_TRACE(off);
    PackageSpec spec = FormSkinSpec(StandardButtons());
    // A border a frame `side` thick: its picture of two frames and `off`.
    auto set = [&](const char* file, int side, int id, bool stacked) {
      auto it = std::find_if(spec.entries.begin(), spec.entries.end(), [&](const auto& e) { return e.name == file; });
      ASSERT_NE(it, spec.entries.end()) << file;
      const int extent = 2 * side + off, across = stacked ? 60 : 40;
      it->bytes = FrameStrip(id, 2, extent / 2, stacked ? across : extent, stacked ? extent : across, stacked);
    };
    set("Left.bmp", kLeft, kLeftId, false);
    set("Right.bmp", kRight, kRightId, false);
    set("Top.bmp", kTop, kTopId, true);
    set("Bottom.bmp", kBottom, kBottomId, true);
    SkinnedWindows::UseSkin(spec);
    Owned<vcl::TForm> form = NewForm();
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    const int left = (2 * kLeft + off) / 2, right = (2 * kRight + off) / 2, top = (2 * kTop + off) / 2,
              bottom = (2 * kBottom + off) / 2;
    EXPECT_EQ(std::make_tuple(skin->LeftWidth, skin->TopHeight, skin->RightWidth, skin->BottomHeight),
              std::make_tuple(left, top, right, bottom));
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      SendMessageW(form->Handle(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
      auto b = PaintedFrame(form->Handle());
      const int w = b->Width(), h = b->Height(), frame = active ? 1 : 2;
      // Across each border's thickness, at the middle of its side.
      struct Across {
        int id, x0, y0, dx, dy, thickness;
      };
      for (const Across& a : {Across{kLeftId, 0, h / 2, 1, 0, left}, Across{kRightId, w - right, h / 2, 1, 0, right},
                              Across{kTopId, w / 2, 0, 0, 1, top}, Across{kBottomId, w / 2, h - bottom, 0, 1, bottom}})
        for (int i = 0; i < a.thickness; ++i)
          EXPECT_EQ(Pixel(b.get(), a.x0 + i * a.dx, a.y0 + i * a.dy), Frame(a.id, frame))
              << "picture " << a.id << ", " << i << " in";
    }
  }
}

TEST_F(SkinnedForms, TheRegionCutsTheKeyColourOfTransparentBorders) {
  UseSkin(StandardButtons(), true);
  UniqueWindow w = RawWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  EXPECT_TRUE(skin->HasRegion);
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(w.get(), region.get()), ERROR);
  RECT r{};
  GetWindowRect(w.get(), &r);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 0, (r.bottom - r.top) / 2));
  EXPECT_TRUE(PtInRegion(region.get(), kLeft, 0));
}

// The region of a window, and whether it holds a window point.
bool InRegion(HWND w, int x, int y) {
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  return GetWindowRgn(w, region.get()) != ERROR && PtInRegion(region.get(), x, y);
}

TPoint WindowSize(HWND w) {
  RECT r{};
  GetWindowRect(w, &r);
  return TPoint(r.right - r.left, r.bottom - r.top);
}

// Minimised, the window shows its title alone: the title's rounded corners are cut at the
// minimised width, and the whole frame's again once it is restored.
TEST_F(SkinnedForms, AMinimisedTitleIsCutAtItsOwnCorners) {
  UseSkin(StandardButtons(), true, true);
  UniqueWindow w = RawWindow();
  ASSERT_TRUE(SkinRaw(w.get()));
  const TPoint normal = WindowSize(w.get());
  ShowWindow(w.get(), SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(w.get()));
  const TPoint small = WindowSize(w.get());
  ASSERT_LT(small.X, normal.X);
  EXPECT_FALSE(InRegion(w.get(), small.X - 1, 0));  // the right corner of the minimised title
  EXPECT_FALSE(InRegion(w.get(), 0, 0));
  EXPECT_TRUE(InRegion(w.get(), small.X - 1, 2));
  EXPECT_TRUE(InRegion(w.get(), small.X / 2, 0));
  ShowWindow(w.get(), SW_RESTORE);
  Pump();
  ASSERT_EQ(WindowSize(w.get()), normal);
  EXPECT_FALSE(InRegion(w.get(), normal.X - 1, 0));
  EXPECT_TRUE(InRegion(w.get(), small.X - 1, 0));
  EXPECT_TRUE(InRegion(w.get(), normal.X / 2, normal.Y / 2));
}

// The window's own pixels, frame included.
std::vector<COLORREF> OwnPixels(HWND w) {
  const TPoint size = WindowSize(w);
  auto b = Surface(size.X, size.Y, vcl::clBlack);
  HDC dc = GetWindowDC(w);
  BitBlt(b->Canvas()->Handle(), 0, 0, size.X, size.Y, dc, 0, 0, SRCCOPY);
  ReleaseDC(w, dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < size.Y; ++y)
    for (int x = 0; x < size.X; ++x) pixels.push_back(static_cast<COLORREF>(Pixel(b.get(), x, y)));
  return pixels;
}

// How many pixels of the frame the window shows differ from the frame as the skin paints it
// (the client area left out).
int FrameMismatches(HWND w) {
  const std::vector<COLORREF> shown = OwnPixels(w);
  auto painted = PaintedFrame(w);
  const TPoint size = WindowSize(w);
  RECT client{};
  GetClientRect(w, &client);
  RECT window{};
  GetWindowRect(w, &window);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&client), 2);
  OffsetRect(&client, -window.left, -window.top);
  // Only what the window's region shows.
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  const bool cut = GetWindowRgn(w, region.get()) != ERROR;
  int differ = 0;
  for (int y = 0; y < size.Y; ++y)
    for (int x = 0; x < size.X; ++x) {
      if (IsIconic(w) == FALSE && PtInRect(&client, POINT{x, y})) continue;
      if (cut && !PtInRegion(region.get(), x, y)) continue;
      differ += shown[static_cast<size_t>(y * size.X + x)] != static_cast<COLORREF>(Pixel(painted.get(), x, y));
    }
  return differ;
}

// An icon of one colour, opaque, at the small-icon size.
vcl::UniqueIcon SolidIcon(COLORREF Colour) {
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);
  HDC screen = GetDC(nullptr);
  vcl::UniqueBitmap colour(CreateCompatibleBitmap(screen, w, h));
  ReleaseDC(nullptr, screen);
  {
    const vcl::TKeptMemoryDC dc(colour.get());
    RECT r{0, 0, w, h};
    vcl::UniqueBrush brush(CreateSolidBrush(Colour));
    FillRect(dc.get(), &r, brush.get());
  }
  std::vector<std::uint8_t> zeros(static_cast<size_t>((w + 15) / 16 * 2 * h), 0);
  vcl::UniqueBitmap mask(CreateBitmap(w, h, 1, 1, zeros.data()));
  ICONINFO info{TRUE, 0, 0, mask.get(), colour.get()};
  return vcl::UniqueIcon(CreateIconIndirect(&info));
}

// Where the caption's icon button shows the window's icon (laid out by a frame paint).
TPoint IconButtonCentre(TWinSkinForm* Skin) {
  for (const auto& b : Skin->Buttons())
    if (b->IsIcon() && b->Visible && !b->BoundsRect.IsEmpty()) return Centre(b->BoundsRect);
  return TPoint(-1, -1);
}

// An icon set at run time (by the form's Icon, or by WM_SETICON of either size to a form or a raw
// window, shown or minimised): the system draws its caption for it, and the skin's frame is
// painted over it again, its icon button showing the new icon.
TEST_F(SkinnedForms, AnIconSetAtRunTimeKeepsTheFrameSkinnedAndShowsOnTheCaption) {
  struct Case {
    const char* name;
    bool form;
    int how;  // 0: the form's Icon; else WM_SETICON with ICON_SMALL (1) or ICON_BIG (2)
    bool minimised;
  };
  const Case cases[] = {{"the form's Icon", true, 0, false},        {"a form's small icon", true, 1, false},
                        {"a raw window's big icon", false, 2, false}, {"a raw window's small icon", false, 1, false},
                        {"a minimised raw window's icon", false, 1, true}, {"a minimised form's Icon", true, 0, true}};
  COLORREF colour = RGB(20, 200, 40);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    colour ^= RGB(0, 60, 90);  // each case its own
    Owned<vcl::TForm> form;
    UniqueWindow raw;
    HWND w = nullptr;
    TWinSkinForm* skin = nullptr;
    if (c.form) {
      form = NewForm();
      skin = ShowSkinned(form.get());
      w = form->Handle();
    } else {
      raw = RawWindow();
      w = raw.get();
      skin = SkinRaw(w);
    }
    ASSERT_TRUE(skin);
    if (c.minimised) {
      ShowWindow(w, SW_MINIMIZE);
      ASSERT_TRUE(PumpUntil([&] { return IsIconic(w) && FrameMismatches(w) == 0; }));
    }
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    ASSERT_TRUE(PumpUntilIdle([&] { return FrameMismatches(w) == 0; })) << "the frame is not the skin's before";
    vcl::UniqueIcon icon = SolidIcon(colour);
    if (c.how == 0) {
      form->Icon()->SetHandle(CopyIcon(icon.get()));
    } else {
      SendMessageW(w, WM_SETICON, c.how == 1 ? ICON_SMALL : ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
    }
    EXPECT_TRUE(PumpUntilIdle([&] { return FrameMismatches(w) == 0; })) << FrameMismatches(w) << " pixels are not the skin's";
    const TPoint at = IconButtonCentre(skin);
    ASSERT_GE(at.X, 0);
    EXPECT_EQ(static_cast<COLORREF>(Pixel(PaintedFrame(w).get(), at.X, at.Y)), colour);
    if (c.form) {
      form.reset();
    } else {
      raw.reset();
    }
    PumpUntilIdle();
  }
}

// A title set at run time on a window without a form object (a raw window, a system dialog, shown
// or minimised), and on a form as the mirror: the system draws its caption for it, and the skin's
// frame is painted over it again with the new title.
TEST_F(SkinnedForms, ATitleSetAtRunTimeKeepsTheFrameSkinnedWithOrWithoutAFormObject) {
  // A system dialog: a template of no controls.
  struct Template {
    DLGTEMPLATE head;
    WORD menu = 0, cls = 0, title = 0;
  };
  alignas(DWORD) Template t{};
  t.head.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  t.head.cx = 160;
  t.head.cy = 90;
  t.head.x = 30;
  t.head.y = 30;
  const auto dialogProc = [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; };
  for (int kind = 0; kind < 5; ++kind) {
    SCOPED_TRACE(kind);
    Owned<vcl::TForm> form;
    UniqueWindow window;
    HWND w = nullptr;
    TWinSkinForm* skin = nullptr;
    if (kind == 4) {
      form = NewForm();
      skin = ShowSkinned(form.get());
      w = form->Handle();
    } else {
      if (kind < 2) {
        window = RawWindow();
      } else {
        window.reset(CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.head, nullptr, dialogProc, 0));
        ASSERT_TRUE(window);
        wchar_t name[16] = {};
        GetClassNameW(window.get(), name, 16);
        ASSERT_EQ(std::wstring_view(name), L"#32770");
      }
      w = window.get();
      skin = SkinRaw(w);
    }
    ASSERT_TRUE(skin);
    ASSERT_EQ(skin->FormObject != nullptr, kind == 4);
    const bool minimised = kind == 1 || kind == 3;
    if (minimised) {
      ShowWindow(w, SW_MINIMIZE);
      ASSERT_TRUE(PumpUntil([&] { return IsIconic(w) != FALSE; }));
    }
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    ASSERT_TRUE(PumpUntilIdle([&] { return FrameMismatches(w) == 0; })) << "the frame is not the skin's before";
    const String before = skin->WindowText();
    SetWindowTextW(w, L"A new title, longer than the old one");
    ASSERT_EQ(skin->WindowText(), L"A new title, longer than the old one");
    EXPECT_TRUE(PumpUntilIdle([&] { return FrameMismatches(w) == 0; })) << FrameMismatches(w) << " pixels are not the skin's";
    // The title painted is the new one: not the frame painted with the old.
    auto now = PaintedFrame(w);
    SetWindowTextW(w, before.c_str());
    PumpUntilIdle();
    auto old = PaintedFrame(w);
    int differ = 0;
    for (int x = 0; x < now->Width(); ++x)
      for (int y = 0; y < kTop; ++y) differ += Pixel(now.get(), x, y) != Pixel(old.get(), x, y);
    EXPECT_GT(differ, 0);
    EXPECT_TRUE(PumpUntilIdle([&] { return FrameMismatches(w) == 0; }));
    if (form) form.reset();
    window.reset();
    PumpUntilIdle();
  }
}

// Counts the frame paints the system asks of one window, and its activation changes.
class FramePaints {
 public:
  explicit FramePaints(HWND w) : window_(w) {
    self_ = this;
    hook_ = SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, GetCurrentThreadId());
  }
  ~FramePaints() {
    UnhookWindowsHookEx(hook_);
    self_ = nullptr;
  }
  int paints = 0, activations = 0;

 private:
  static LRESULT CALLBACK Hook(int Code, WPARAM WParam, LPARAM LParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(LParam);
    if (Code >= 0 && self_ && sent->hwnd == self_->window_) {
      if (sent->message == WM_NCPAINT) ++self_->paints;
      if (sent->message == WM_NCACTIVATE) ++self_->activations;
    }
    return CallNextHookEx(nullptr, Code, WParam, LParam);
  }
  static inline FramePaints* self_ = nullptr;
  HWND window_;
  HHOOK hook_;
};

// Dragged step by step, larger and back, the form is cut at its new corners and painted once
// a step: the frame painted by the size change itself is already cut to the new region (the
// region is not set afterwards with a second repaint), and what the window shows equals a
// full repaint at that size. (Windows of tests running beside may take the activation, which
// paints the frame again: such a step is not counted.)
TEST_F(SkinnedForms, ResizingStepByStepCutsTheCornersAndPaintsTheFrameOnceAStep) {
  // Held before the form goes above every window: a program beside dragging under the pointer
  // would find it over what it drags.
  const wintest::PointerLock turn;
  UseSkin(StandardButtons(), true, true);
  Owned<vcl::TForm> form = NewForm();
  auto* panel = new vcl::TPanel(form.get());
  panel->SetParent(form.get());
  panel->SetAlign(vcl::alBottom);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->HasRegion);
  const HWND w = form->Handle();
  // Above the windows of tests running beside: one of them going from over the form would
  // have its frame painted again where it showed.
  SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const TPoint start = WindowSize(w);
  int counted = 0;
  for (const int step : {9, 18, 27, 36, 27, 18, 9, 0}) {
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    wintest::PumpUntilIdle();
    FramePaints seen(w);
    SetWindowPos(w, nullptr, 0, 0, start.X + step, start.Y + step, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(w, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    wintest::PumpUntilIdle();
    const int paints = seen.paints;
    const TPoint size = WindowSize(w);
    ASSERT_EQ(size, TPoint(start.X + step, start.Y + step));
    EXPECT_FALSE(InRegion(w, 0, 0));
    EXPECT_FALSE(InRegion(w, size.X - 1, 0));
    EXPECT_TRUE(InRegion(w, size.X - 1, 1));
    const int frame = skin->Active ? 1 : 2;
    const std::vector<COLORREF> shown = OwnPixels(w);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
    const std::vector<COLORREF> repainted = OwnPixels(w);
    if (seen.activations > 0) continue;
    ++counted;
    EXPECT_EQ(paints, 1) << "step " << step;
    const auto at = [&](int x, int y) { return shown[static_cast<size_t>(y * size.X + x)]; };
    EXPECT_EQ(at(size.X - 2, size.Y / 2), static_cast<COLORREF>(Frame(kRightId, frame))) << "step " << step;
    EXPECT_EQ(at(size.X / 2, size.Y - 2), static_cast<COLORREF>(Frame(kBottomId, frame))) << "step " << step;
    EXPECT_TRUE(shown == repainted) << "step " << step;
  }
  EXPECT_GE(counted, 4);
}

// A raw MDI frame and its client, and documents made in it.
HWND g_mdiClient = nullptr;
LRESULT CALLBACK MdiFrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  return DefFrameProcW(w, g_mdiClient, msg, wp, lp);
}
LRESULT CALLBACK MdiDocumentProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefMDIChildProcW(w, msg, wp, lp); }

// Test programs running beside take the foreground too: it is taken back until it stays.
bool TakeActivation(HWND Wnd) {
  return PumpUntil([Wnd] {
    if (GetActiveWindow() != Wnd) SetForegroundWindow(Wnd);
    return GetActiveWindow() == Wnd;
  });
}

struct MdiWindows {
  UniqueWindow frame;
  HWND client = nullptr;
  MdiWindows() {
    frame.reset(CreateWindowExW(0, wintest::TestWindowClass(L"SkinFormMdiFrame", &MdiFrameProc), L"MDI frame",
                                WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 600, 450, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    CLIENTCREATESTRUCT ccs{};
    ccs.idFirstChild = 1000;
    client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 580, 400,
                             frame.get(), nullptr, GetModuleHandleW(nullptr), &ccs);
    g_mdiClient = client;
  }
  ~MdiWindows() { g_mdiClient = nullptr; }
  HWND Document(const wchar_t* title, int x) const {
    return CreateMDIWindowW(wintest::TestWindowClass(L"SkinFormMdiDocument", &MdiDocumentProc), title,
                            WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, 10, 220, 160, client, GetModuleHandleW(nullptr), 0);
  }
};

// However a document is maximised (here by the program, not the skin's button), the documents
// lose their regions, so it is drawn whole; restored, each gets its region again.
TEST_F(SkinnedForms, MaximisingADocumentAnyWayDropsTheRegionsAndRestoringGivesThemBack) {
  UseSkin(StandardButtons(), true, true);
  MdiWindows mdi;
  ASSERT_TRUE(mdi.client);
  ASSERT_TRUE(SkinRaw(mdi.frame.get()));
  const HWND doc = mdi.Document(L"Document", 10);
  ASSERT_TRUE(doc);
  ASSERT_TRUE(PumpUntil([&] { return Ready(doc); }));
  TWinSkinForm* skin = Find(doc);
  ASSERT_TRUE(skin->HasRegion);
  const TPoint normal = WindowSize(doc);
  EXPECT_FALSE(InRegion(doc, normal.X - 1, 0));

  ShowWindow(doc, SW_MAXIMIZE);
  Pump();
  ASSERT_TRUE(IsZoomed(doc));
  EXPECT_TRUE(SkinManager()->MDIMaximized());
  EXPECT_FALSE(skin->HasRegion);
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(doc, region.get()), ERROR);  // no region: the whole document shows

  ShowWindow(doc, SW_RESTORE);
  Pump();
  ASSERT_EQ(WindowSize(doc), normal);
  EXPECT_FALSE(SkinManager()->MDIMaximized());
  EXPECT_TRUE(skin->HasRegion);
  EXPECT_FALSE(InRegion(doc, normal.X - 1, 0));  // no key colour in the corners
  EXPECT_FALSE(InRegion(doc, 0, 0));
  EXPECT_TRUE(InRegion(doc, normal.X / 2, normal.Y / 2));
  SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc), 0);
}

// A document made while its frame is not the active window is not told so by the system: its
// title is inactive all the same, and turns active with the frame.
TEST_F(SkinnedForms, ADocumentMadeUnderAnInactiveFrameShowsAnInactiveTitleUntilTheFrameIsActivated) {
  const wintest::PointerLock turn;  // the activation is judged here
  MdiWindows mdi;
  ASSERT_TRUE(mdi.client);
  ASSERT_TRUE(SkinRaw(mdi.frame.get()));
  UniqueWindow other = RawWindow();
  ShowWindow(other.get(), SW_SHOW);
  ASSERT_TRUE(TakeActivation(other.get()));

  const HWND doc = mdi.Document(L"Document", 10);
  ASSERT_TRUE(doc);
  ASSERT_TRUE(PumpUntil([&] { return Ready(doc); }));
  ASSERT_EQ(reinterpret_cast<HWND>(SendMessageW(mdi.client, WM_MDIGETACTIVE, 0, 0)), doc);
  EXPECT_FALSE(Find(doc)->Active);
  auto b = PaintedFrame(doc);
  const int w = b->Width(), h = b->Height();
  EXPECT_EQ(Pixel(b.get(), w / 2, 1), Frame(kTopId, 2));
  EXPECT_EQ(Pixel(b.get(), 1, h / 2), Frame(kLeftId, 2));

  // Activated (taken back while test programs beside take it): the document's title turns active.
  EXPECT_TRUE(PumpUntil([&] {
    if (GetActiveWindow() != mdi.frame.get()) SetForegroundWindow(mdi.frame.get());
    return GetActiveWindow() == mdi.frame.get() && Find(doc)->Active &&
           Pixel(PaintedFrame(doc).get(), w / 2, 1) == Frame(kTopId, 1);
  })) << "the document's title stays inactive under the active frame";
  SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc), 0);
}

// The mirror: a document made while its frame is the active window shows an active title at
// once; one made after it takes the active title, and the one before turns inactive.
TEST_F(SkinnedForms, ADocumentMadeUnderTheActiveFrameShowsAnActiveTitleAndTheOneBeforeItTurnsInactive) {
  const wintest::PointerLock turn;  // the activation is judged here
  MdiWindows mdi;
  ASSERT_TRUE(mdi.client);
  ASSERT_TRUE(SkinRaw(mdi.frame.get()));
  auto top = [](HWND doc) {
    auto b = PaintedFrame(doc);
    return Pixel(b.get(), b->Width() / 2, 1);
  };
  // A program beside may take the activation while the documents are made: that round is made
  // again.
  bool judged = false;
  for (int round = 0; round < 10 && !judged; ++round) {
    ASSERT_TRUE(TakeActivation(mdi.frame.get()));
    const wintest::ForegroundChanges changes;  // the activation lost and back within the round
    const HWND first = mdi.Document(L"First", 10);
    ASSERT_TRUE(first);
    ASSERT_TRUE(PumpUntil([&] { return Ready(first); }));
    const bool firstActive = Find(first)->Active;
    const vcl::TColor firstTop = top(first);
    const HWND second = mdi.Document(L"Second", 60);
    ASSERT_TRUE(second);
    ASSERT_TRUE(PumpUntil([&] { return Ready(second); }));
    if (GetActiveWindow() == mdi.frame.get() && changes.Count() == 0) {
      EXPECT_TRUE(firstActive);
      EXPECT_EQ(firstTop, Frame(kTopId, 1));
      ASSERT_EQ(reinterpret_cast<HWND>(SendMessageW(mdi.client, WM_MDIGETACTIVE, 0, 0)), second);
      EXPECT_TRUE(Find(second)->Active);
      EXPECT_EQ(top(second), Frame(kTopId, 1));
      EXPECT_FALSE(Find(first)->Active);
      EXPECT_EQ(top(first), Frame(kTopId, 2));
      judged = true;
    }
    for (HWND doc : {second, first}) SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc), 0);
  }
  EXPECT_TRUE(judged) << "the activation was taken away in every round";
}

// A minimised document shows its title alone, its client area no longer below the title: its
// minimise button is found there, turns hot and pressed, and the release restores it.
TEST_F(SkinnedForms, AMinimisedDocumentsMinimiseButtonRestoresIt) {
  UseSkin(StandardButtons(), true, true);
  MdiWindows mdi;
  ASSERT_TRUE(mdi.client);
  ASSERT_TRUE(SkinRaw(mdi.frame.get()));
  const HWND doc = mdi.Document(L"Document", 10);
  ASSERT_TRUE(doc);
  ASSERT_TRUE(PumpUntil([&] { return Ready(doc); }));
  TWinSkinForm* skin = Find(doc);
  ShowWindow(doc, SW_MINIMIZE);
  Pump();
  ASSERT_TRUE(IsIconic(doc));
  PaintedFrame(doc);  // lays the buttons out over the title
  TWinSysButton* minimise = nullptr;
  for (const auto& b : skin->Buttons())
    if (b->Action() == 2) minimise = b.get();
  ASSERT_TRUE(minimise && minimise->Visible);
  // Pressed and released where the system's hit test says, as a real click comes.
  RECT r{};
  GetWindowRect(doc, &r);
  const TPoint at = Centre(minimise->BoundsRect);
  const LPARAM screen = MAKELPARAM(r.left + at.X, r.top + at.Y);
  const auto hit = static_cast<WPARAM>(SendMessageW(doc, WM_NCHITTEST, 0, screen));
  // Hovered first: a press the skin did not find would open the system's menu on the title.
  SendMessageW(doc, WM_NCACTIVATE, TRUE, 0);
  SendMessageW(doc, WM_NCMOUSEMOVE, hit, screen);
  ASSERT_EQ(minimise->State, TNCState::Hot);
  SendMessageW(doc, WM_NCLBUTTONDOWN, hit, screen);
  EXPECT_EQ(minimise->State, TNCState::Pressed);
  SendMessageW(doc, WM_NCLBUTTONUP, hit, screen);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(doc); }));
  SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc), 0);
}

// A document minimised while the skin is away takes it again with the other windows when it comes
// back, as one minimised while skinned keeps it: its title shows the skin's painting, cut at its
// corners (the key colour never shows), active and inactive; restored, its whole frame is cut. The
// same for a form of its own minimised beside it.
TEST_F(SkinnedForms, ADocumentMinimisedWhileUnskinnedTakesTheSkinBackCutAtItsCorners) {
  UseSkin(StandardButtons(), true, true);
  ASSERT_FALSE(vcl::Application->MainForm());
  Owned<TMdiFrameForm> frame(vcl::Application->CreateForm<TMdiFrameForm>());
  frame->SetBounds(40, 40, 600, 420);
  ASSERT_TRUE(ShowSkinned(frame.get()));
  Owned<vcl::TForm> docs[2];
  for (int i = 0; i < 2; ++i) {
    docs[i].reset(new vcl::TForm(vcl::Application, 0));
    docs[i]->SetFormStyle(vcl::fsMDIChild);
    docs[i]->SetCaption(i == 0 ? L"First" : L"Second");
    docs[i]->Show();
    ASSERT_TRUE(PumpUntil([&] { return Ready(docs[i]->Handle()); }));
  }
  Owned<vcl::TForm> single = NewForm();
  ASSERT_TRUE(ShowSkinned(single.get()));
  const HWND doc = docs[1]->Handle(), other = docs[0]->Handle(), client = GetParent(doc), top = single->Handle();
  auto activate = [&](HWND which) {
    SendMessageW(client, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(which), 0);
    SendMessageW(frame->Handle(), WM_NCACTIVATE, TRUE, 0);  // other programs' windows may hold the activation
    return PumpUntilIdle([&] { return Find(doc) && Find(doc)->Active == (which == doc); });
  };
  // Skinned, shown as the skin paints it, its title's corners cut.
  auto titleCut = [&](HWND w) {
    const TPoint size = WindowSize(w);
    return Ready(w) && Find(w)->HasRegion && !InRegion(w, 0, 0) && !InRegion(w, size.X - 1, 0) &&
           InRegion(w, size.X / 2, 0) && FrameMismatches(w) == 0;
  };
  auto skinnedAndCut = [&] { return titleCut(doc); };
  for (const bool whileSkinned : {true, false}) {
    SCOPED_TRACE(whileSkinned ? "minimised while skinned" : "minimised while unskinned");
    if (!whileSkinned) {
      data_->SetActive(false);
      ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
    }
    ShowWindow(doc, SW_MINIMIZE);
    ShowWindow(top, SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(doc) && IsIconic(top); }));
    if (!whileSkinned) {
      PumpUntilIdle();
      data_->SetActive(true);
      ASSERT_TRUE(PumpUntil([&] { return Ready(doc) && Ready(frame->Handle()) && Ready(top); }));
    }
    EXPECT_TRUE(PumpUntilIdle(skinnedAndCut)) << FrameMismatches(doc) << " pixels are not the skin's";
    EXPECT_TRUE(PumpUntilIdle([&] { return titleCut(top); })) << "the form: " << FrameMismatches(top);
    ShowWindow(top, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(top) == FALSE; }));
    for (const HWND active : {doc, other, doc}) {
      ASSERT_TRUE(activate(active));
      EXPECT_TRUE(PumpUntilIdle(skinnedAndCut)) << (active == doc ? "active: " : "inactive: ") << FrameMismatches(doc)
                                                << " pixels are not the skin's";
    }
    ShowWindow(doc, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return IsIconic(doc) == FALSE; }));
    const TPoint size = WindowSize(doc);
    EXPECT_TRUE(PumpUntilIdle([&] {
      return Find(doc)->HasRegion && !InRegion(doc, size.X - 1, 0) && InRegion(doc, size.X / 2, size.Y / 2) &&
             FrameMismatches(doc) == 0;
    }));
  }
  single.reset();
  for (auto& d : docs) d.reset();
  frame.reset();
  PumpUntilIdle();
}

// A real press and release where the pointer stands (hold a PointerLock).
bool ClickHere() {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  return SendInput(2, input, sizeof(INPUT)) == 2;
}

// A real click on a document's caption button acts on the document and, as a click anywhere in
// its frame does, leaves the frame the active window: whether the frame was active before or
// not, the document the active one or not, and for a button the skin draws or the system's
// (a skin with no close button of its own).
TEST_F(SkinnedForms, AClickOnADocumentsCaptionButtonLeavesItsFrameTheActiveWindow) {
  const wintest::PointerLock turn;  // the real pointer and the activation are judged here
  const std::vector<ButtonSpec> noClose{{.action = 1, .align = 1, .x = 30, .y = 3, .visibility = 2},
                                        {.action = 2, .align = 1, .x = 44, .y = 3, .visibility = 8}};
  struct Case {
    const char* name;
    std::vector<ButtonSpec> buttons;
    int action;
    bool frameActive;    // before the click
    bool activeDocument; // the click lands on the active document, else on the one behind
  };
  const Case cases[] = {
      {"maximise, inactive frame", StandardButtons(), kActionMaximize, false, true},
      {"minimise, inactive frame", StandardButtons(), kActionMinimize, false, true},
      {"maximise of the document behind, inactive frame", StandardButtons(), kActionMaximize, false, false},
      {"minimise of the document behind, active frame", StandardButtons(), kActionMinimize, true, false},
      {"maximise, active frame", StandardButtons(), kActionMaximize, true, true},
      {"the system's close, inactive frame", noClose, kActionClose, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseSkin(c.buttons);
    // A program beside may take the activation during a round: that round is made again.
    bool judged = false;
    for (int round = 0; round < 10 && !judged; ++round) {
      MdiWindows mdi;
      ASSERT_TRUE(mdi.client);
      ASSERT_TRUE(SkinRaw(mdi.frame.get()));
      const HWND behind = mdi.Document(L"Behind", 10);
      const HWND front = mdi.Document(L"Front", 240);
      ASSERT_TRUE(behind && front);
      ASSERT_TRUE(PumpUntil([&] { return Ready(behind) && Ready(front); }));
      const HWND doc = c.activeDocument ? front : behind;
      UniqueWindow other = RawWindow();
      SetWindowPos(other.get(), nullptr, 700, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      ShowWindow(other.get(), SW_SHOW);
      ASSERT_TRUE(TakeActivation(c.frameActive ? mdi.frame.get() : other.get()));

      PaintedFrame(doc);  // lays the buttons out over the title
      const TWinSysButton* button = nullptr;
      for (const auto& b : Find(doc)->Buttons())
        if (b->Action() == c.action && b->Visible && !b->BoundsRect.IsEmpty()) button = b.get();
      ASSERT_TRUE(button);
      EXPECT_EQ(button->SystemDrawn(), c.action == kActionClose);
      RECT r{};
      GetWindowRect(doc, &r);
      const TPoint centre = Centre(button->BoundsRect);
      const POINT at{r.left + centre.X, r.top + centre.Y};
      // The frame stays above every window until the click is done: a program beside may show
      // one over the point meanwhile.
      ASSERT_TRUE(wintest::RaiseUntilShownAt(mdi.frame.get(), doc, at));
      const wintest::ForegroundChanges changes;  // another program taking the activation meanwhile
      const bool clicked = GetActiveWindow() == (c.frameActive ? mdi.frame.get() : other.get()) &&
                           wintest::MovePointer(at.x, at.y) && WindowFromPoint(at) == doc && ClickHere();
      auto acted = [&] {
        switch (c.action) {
          case kActionMaximize: return IsWindow(doc) && IsZoomed(doc) != FALSE;
          case kActionMinimize: return IsWindow(doc) && IsIconic(doc) != FALSE;
          default: return !IsWindow(doc);
        }
      };
      const bool done = clicked && PumpUntil(acted);
      if (IsWindow(mdi.frame.get()))
        SetWindowPos(mdi.frame.get(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      PumpUntilIdle();
      if (changes.Count() != 0 || !clicked) continue;
      ASSERT_TRUE(done) << "the button did not act";
      EXPECT_EQ(GetActiveWindow(), mdi.frame.get()) << "the frame is not the active window";
      EXPECT_TRUE(Find(mdi.frame.get())->Active) << "the frame's title is painted inactive";
      if (c.action == kActionMaximize) {
        EXPECT_TRUE(Find(doc)->Active);
      }
      judged = true;
      for (HWND d : {front, behind})
        if (IsWindow(d)) SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(d), 0);
    }
    EXPECT_TRUE(judged) << "the activation was taken away in every round";
  }
}

// ---------------------------------------------------------------------------------------
// Caption buttons

struct VisibilityCase {
  int first, second;
  DWORD style, exStyle;
  bool visible;
};

TEST_F(SkinnedForms, TheVisibilityTable) {
  const DWORD all = kFullStyle, noBoxes = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
  const VisibilityCase cases[] = {
      {0, 0, all, 0, true},
      {1, 0, all, 0, false},             // not maximised
      {2, 0, all, 0, true},
      {3, 0, all, 0, true},              // active
      {4, 0, all, 0, false},
      {6, 0, all, 0, true},
      {6, 0, noBoxes, 0, false},
      {0, 6, noBoxes, 0, false},
      {7, 0, all, 0, false},
      {7, 0, noBoxes, 0, true},
      {9, 0, noBoxes, 0, true},
      {10, 0, noBoxes, WS_EX_CONTEXTHELP, true},
      {10, 0, all, WS_EX_CONTEXTHELP, false},
      {0, 10, all, WS_EX_CONTEXTHELP, true},
      {200, 0, all, 0, false},           // not a dialog
      {200, 0, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, true},
      {0, 200, all, WS_EX_DLGMODALFRAME, true},
      {500, 999, all, 0, true},
      {5, 0, all, 0, false},
      {0, 50, all, 0, false},
      {-1, 0, all, 0, false},
      {0, 1500, all, 0, true},           // no query for a second condition
  };
  for (const VisibilityCase& c : cases) {
    // Action 4 (help) has no rule of its own.
    UseSkin({{.action = 4, .align = 1, .x = 20, .visibility = c.first, .visibility1 = c.second}});
    UniqueWindow w = RawWindow(c.style, c.exStyle);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    skin->Active = true;
    TWinSysButton* b = skin->Buttons().front().get();
    b->UpdateVisibility();
    EXPECT_EQ(b->Visible, c.visible) << c.first << "/" << c.second << " style " << std::hex << c.style;
  }
  EXPECT_EQ(Log().Count(SKM_CAPTIONVISIBLE, 1500), 0u);
}

TEST_F(SkinnedForms, AFirstConditionFrom1000To2000AsksTheWindow) {
  UseSkin({{.action = 42, .align = 1, .x = 20, .visibility = 1234}});
  for (LRESULT answer : {0, 1, 3}) {
    Log().messages.clear();
    UniqueWindow w = RawWindow(kFullStyle, 0, answer);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    TWinSysButton* b = skin->Buttons().front().get();
    Log().messages.clear();
    b->UpdateVisibility();
    EXPECT_EQ(b->Visible, answer >= 1);
    ASSERT_EQ(Log().Count(SKM_CAPTIONVISIBLE, 1234), 1u);
    EXPECT_EQ(Log().messages.back().LParam, 42);  // the button's action
  }
}

TEST_F(SkinnedForms, ActionRulesHideCloseWithoutSystemMenuAndDisableMissingBoxes) {
  UseSkin({{.action = 0, .align = 1, .x = 16}, {.action = 1, .align = 1, .x = 30}, {.action = 2, .align = 1, .x = 44},
           {.action = 3, .align = 0, .x = 4}});
  UniqueWindow plain = RawWindow(WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_MINIMIZEBOX);
  TWinSkinForm* skin = SkinRaw(plain.get());
  ASSERT_TRUE(skin);
  auto& b = skin->Buttons();
  for (auto& button : b) button->UpdateVisibility();
  // A fresh window has a system menu handle even without the style.
  const bool hasMenu = skin->StyleBits & kHasSystemMenu;
  EXPECT_EQ(b[0]->Visible, hasMenu);
  EXPECT_FALSE(b[1]->Enabled);  // no maximise box
  EXPECT_EQ(b[2]->Enabled, hasMenu);
  EXPECT_TRUE(b[3]->Visible);

  UniqueWindow dialog = RawWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
  TWinSkinForm* dialogSkin = SkinRaw(dialog.get());
  ASSERT_TRUE(dialogSkin);
  EXPECT_EQ(dialogSkin->BorderKind, TBorderKind::Dialog);
  dialogSkin->Buttons()[3]->UpdateVisibility();
  EXPECT_FALSE(dialogSkin->Buttons()[3]->Visible);  // no icon on a dialog
}

// A caption button whose picture the skin lacks is the system's caption button of its action,
// at the place the skin gives: never a title without its close, maximise and minimise buttons.
TEST_F(SkinnedForms, ButtonsWithoutPicturesAreTheSystemsCaptionButtons) {
  PackageSpec spec = FormSkinSpec(StandardButtons());
  std::erase_if(spec.entries, [](const auto& e) { return e.name == "b0.bmp" || e.name == "b1.bmp" || e.name == "b2.bmp"; });
  SkinnedWindows::UseSkin(spec);
  UniqueWindow w = RawWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  auto b = PaintedFrame(w.get());
  const int width = b->Width();
  for (size_t i = 0; i < 3; ++i) {
    TWinSysButton* button = skin->Buttons()[i].get();
    SCOPED_TRACE(i);
    EXPECT_TRUE(button->SystemDrawn());
    EXPECT_TRUE(button->Visible);
    EXPECT_EQ(button->BoundsRect.Width(), GetSystemMetrics(SM_CXSIZE) - 2);
    EXPECT_EQ(button->BoundsRect.Left, width - StandardButtons()[i].x);
    // Drawn: the button's face is not the title's picture.
    int face = 0;
    for (int x = button->BoundsRect.Left; x < button->BoundsRect.Right; ++x)
      for (int y = button->BoundsRect.Top; y < button->BoundsRect.Bottom; ++y) face += Pixel(b.get(), x, y) != Frame(kTopId, 1);
    EXPECT_GT(face, button->BoundsRect.Width() * button->BoundsRect.Height() / 2);
  }
  // And they act as the skin's do.
  Log().messages.clear();
  const TPoint close = Centre(skin->Buttons()[0]->BoundsRect);
  Nc(w.get(), WM_NCLBUTTONDOWN, close);
  Nc(w.get(), WM_NCLBUTTONUP, close);
  Pump();
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_CLOSE), 1u);
}

// A caption button whose picture has fewer columns than its frames (however tall), or frames too
// small for a button's glyph (narrower or lower than 5 pixels: a picture cut short, as one of
// 8 x 8 for four frames), is the system's caption button, as one without a picture: frames of no
// pixels left the title without it, slivers showed no button. From frames of 5 x 5 up the skin's
// picture shows, its first frame on an active title; a picture a column short of, a column past
// or half the count past a whole count of frames is cut into whole frames, the button a frame
// wide showing nothing of another frame.
TEST_F(SkinnedForms, ButtonsWhosePicturesAreTooSmallForTheirFramesAreTheSystemsCaptionButtons) {
  struct Case {
    int frames, stated, width;  // the picture's frames, each `width` wide; the count stated
    bool system;
    int pictureWidth = 0;
    int height = 30;
  };
  for (const Case& c : {Case{1, 4, 1, true}, Case{3, 4, 1, true}, Case{4, 4, 1, true}, Case{5, 4, 1, true},
                        Case{4, 0, 1, true}, Case{2, 0, 1, true}, Case{4, 4, 10, false}, Case{4, 4, 9, false, 39},
                        Case{4, 4, 10, false, 41}, Case{4, 4, 10, false, 42}, Case{4, 4, 5, false, 0, 5},
                        Case{4, 4, 4, true, 0, 30}, Case{4, 4, 4, true, 19, 30}, Case{4, 4, 5, false, 23, 30},
                        Case{4, 4, 10, true, 0, 4}, Case{4, 4, 2, true, 8, 8}, Case{4, 0, 2, true, 8, 8}}) {
    SCOPED_TRACE(std::to_string(c.frames) + " frames of " + std::to_string(c.width) + " x " + std::to_string(c.height) +
                 ", " + std::to_string(c.stated) + " stated, " + std::to_string(c.pictureWidth) + " wide");
    std::vector<ButtonSpec> buttons = StandardButtons();
    for (ButtonSpec& b : buttons) {
      b.frames = c.frames;
      b.stated = c.stated;
      b.statesFrame = c.stated != 0;
      b.width = c.width;
      b.height = c.height;
      b.pictureWidth = c.pictureWidth;
    }
    SkinnedWindows::UseSkin(FormSkinSpec(buttons));
    UniqueWindow w = RawWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    auto b = PaintedFrame(w.get());
    for (size_t i = 0; i < 3; ++i) {
      TWinSysButton* button = skin->Buttons()[i].get();
      SCOPED_TRACE(i);
      EXPECT_EQ(button->SystemDrawn(), c.system);
      EXPECT_TRUE(button->Visible);
      if (button->BoundsRect.IsEmpty()) {
        ADD_FAILURE() << "the button has no place on the title";
        continue;
      }
      if (!c.system) {
        EXPECT_EQ(button->BoundsRect.Width(), c.width);
      }
      const int id = kFirstButtonId + static_cast<int>(i);
      int face = 0, first = 0, others = 0;
      for (int x = button->BoundsRect.Left; x < button->BoundsRect.Right; ++x)
        for (int y = button->BoundsRect.Top; y < std::min(button->BoundsRect.Bottom, kTop); ++y) {
          const vcl::TColor p = Pixel(b.get(), x, y);
          face += p != Frame(kTopId, 1);
          first += p == Frame(id, 1);
          others += p == C(LeftOverColour(id));
          for (int f = 2; f <= c.frames; ++f) others += p == Frame(id, f);
        }
      EXPECT_GT(face, 0) << "the button is not drawn";
      if (!c.system) {
        EXPECT_GT(first, 0) << "the skin's first frame does not show";
        EXPECT_EQ(others, 0) << "pixels of another frame, or left over";
      }
    }
  }
}

// The system's caption buttons a skin has no section for, as the frame paints them: how many
// of the button's pixels are not the title's picture.
int DrawnPixels(vcl::TBitmap* Frame, const TRect& R) {
  int drawn = 0;
  for (int x = R.Left; x < R.Right; ++x)
    for (int y = R.Top; y < R.Bottom; ++y) drawn += Pixel(Frame, x, y) != winskin::test::Frame(kTopId, 1);
  return drawn;
}

std::vector<int> VisibleActions(TWinSkinForm* Skin) {
  std::vector<int> actions;
  for (const auto& b : Skin->Buttons())
    if (b->Visible && !b->BoundsRect.IsEmpty() && !b->OnMenuBand()) actions.push_back(b->Data->Action);
  std::sort(actions.begin(), actions.end());
  return actions;
}

// A skin without caption-button sections (or with some of them) still gives the title its
// close, maximise and minimise buttons and the window's icon: the system's, inside the skin's
// title, where the style asks for them, never over the skin's own.
TEST_F(SkinnedForms, CaptionButtonsTheSkinHasNoSectionForAreTheSystems) {
  UseSkin({});
  {
    UniqueWindow w = RawWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    auto b = PaintedFrame(w.get());
    EXPECT_EQ(VisibleActions(skin), (std::vector<int>{kActionClose, kActionMaximize, kActionMinimize, kActionIcon}));
    const int width = b->Width();
    std::vector<TRect> placed;
    for (const auto& button : skin->Buttons()) {
      if (!button->Visible || button->BoundsRect.IsEmpty() || button->OnMenuBand()) continue;
      const TRect& r = button->BoundsRect;
      SCOPED_TRACE(button->Data->Action);
      // Inside the title band, inside the borders, and drawn.
      EXPECT_GE(r.Top, 0);
      EXPECT_LE(r.Bottom, kTop);
      EXPECT_GE(r.Left, kLeft);
      EXPECT_LE(r.Right, width - kRight);
      EXPECT_GT(DrawnPixels(b.get(), r), r.Width() * r.Height() / 3);
      for (const TRect& other : placed) EXPECT_TRUE(r.Right <= other.Left || other.Right <= r.Left) << "overlapping";
      placed.push_back(r);
    }
    // The close button at the right, the icon at the left with the title text after it.
    const auto& buttons = skin->Buttons();
    auto find = [&](int action) -> TWinSysButton* {
      const auto it = std::find_if(buttons.begin(), buttons.end(), [&](const auto& x) { return x->Data->Action == action; });
      return it == buttons.end() ? nullptr : it->get();
    };
    ASSERT_TRUE(find(kActionClose) && find(kActionIcon) && find(kActionMinimize));
    EXPECT_EQ(find(kActionClose)->BoundsRect.Right, width - kRight - 2);
    EXPECT_LT(find(kActionIcon)->BoundsRect.Right, skin->TitleRect.Left + 1);
    // They act as the skin's do.
    Log().messages.clear();
    Nc(w.get(), WM_NCLBUTTONDOWN, Centre(find(kActionMinimize)->BoundsRect));
    Nc(w.get(), WM_NCLBUTTONUP, Centre(find(kActionMinimize)->BoundsRect));
    Pump();
    EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_MINIMIZE), 1u);
  }
  // A dialog frame: its close button alone; with context help, help beside it.
  {
    UniqueWindow w = RawWindow(WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_CONTEXTHELP);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    PaintedFrame(w.get());
    EXPECT_EQ(VisibleActions(skin), (std::vector<int>{kActionClose, kActionHelp}));
  }
  // No system menu: no button at all.
  {
    UniqueWindow w = RawWindow(WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    PaintedFrame(w.get());
    EXPECT_EQ(VisibleActions(skin), std::vector<int>{});
  }
  // The skin's close button alone: it stays the skin's, the others are the system's, left of it.
  UseSkin({{.action = 0, .align = 1, .x = 16, .y = 3}});
  UniqueWindow w = RawWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  auto b = PaintedFrame(w.get());
  EXPECT_EQ(VisibleActions(skin), (std::vector<int>{kActionClose, kActionMaximize, kActionMinimize, kActionIcon}));
  const int width = b->Width();
  int closes = 0;
  for (const auto& button : skin->Buttons()) {
    if (!button->Visible || button->BoundsRect.IsEmpty() || button->OnMenuBand()) continue;
    if (button->Data->Action == kActionClose) {
      ++closes;
      EXPECT_FALSE(button->SystemDrawn());
      EXPECT_EQ(Pixel(b.get(), width - 16 + 2, 5), Frame(kFirstButtonId, 1));
    } else if (button->Data->Action != kActionIcon) {
      EXPECT_LE(button->BoundsRect.Right, width - 16) << button->Data->Action;
    }
  }
  EXPECT_EQ(closes, 1);
}

// A skin without the close section: the system's close stands at the title's right end, a gap
// from the right border, whether the window shows the skin's buttons or not (a dialog frame hides
// the skin's boxes). The skin's buttons it shows stay where the skin puts them when they leave the
// gap before the close, and move left together, their spacing kept, just as far as they would
// stand over it or in the gap: a button ending at the gap stays, one a pixel further right moves
// by that pixel. The system's buttons for the skin's missing boxes stand left of them all.
TEST_F(SkinnedForms, TheSystemsCloseStandsAtTheTitlesRightEndAndTheSkinsButtonsLeftOfIt) {
  auto find = [](TWinSkinForm* Skin, int Action, bool System) -> const TWinSysButton* {
    for (const auto& b : Skin->Buttons())
      if (b->Data->Action == Action && b->SystemDrawn() == System && b->Visible && !b->BoundsRect.IsEmpty())
        return b.get();
    return nullptr;
  };
  const int system = std::max(GetSystemMetrics(SM_CXSIZE) - 2, 1);  // a system button's width
  constexpr int kGap = 2;
  constexpr int kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  // The close's left edge and where a skin button of 10 columns ends without moving (from the right).
  const int closeEdge = kRight + kGap + system, fits = closeEdge + kGap + 10;
  struct Case {
    const char* name;
    int maximise;  // the skin's maximise button's Xcoord (0: none)
    int minimise;
    int expectedShift;
  };
  const Case cases[] = {
      {"the boxes over the close's place", 30, 44, std::max(0, fits - 30)},
      {"the boxes ending at the gap", fits, fits + 14, 0},
      {"the boxes a pixel into the gap", fits - 1, fits + 13, 1},
      {"the boxes a pixel before the gap", fits + 1, fits + 15, 0},
      {"the skin's maximise alone, over the close's place", 20, 0, fits - 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<ButtonSpec> buttons;
    if (c.maximise) buttons.push_back({.action = 1, .align = 1, .x = c.maximise, .y = 3, .visibility = 6});
    if (c.minimise) buttons.push_back({.action = 2, .align = 1, .x = c.minimise, .y = 3, .visibility = 8});
    UseSkin(buttons);
    UniqueWindow w = RawWindow();
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    auto b = PaintedFrame(w.get());
    const int width = b->Width();
    EXPECT_EQ(VisibleActions(skin), (std::vector<int>{kActionClose, kActionMaximize, kActionMinimize, kActionIcon}));
    const TWinSysButton* close = find(skin, kActionClose, true);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->BoundsRect.Right, width - kRight - kGap);
    EXPECT_EQ(close->BoundsRect.Left, width - closeEdge);
    EXPECT_GT(DrawnPixels(b.get(), close->BoundsRect), 0);
    const TWinSysButton* maximise = find(skin, kActionMaximize, false);
    ASSERT_TRUE(maximise);
    EXPECT_EQ(maximise->BoundsRect.Left, width - c.maximise - c.expectedShift);
    EXPECT_LE(maximise->BoundsRect.Right, close->BoundsRect.Left - kGap);
    EXPECT_EQ(Pixel(b.get(), maximise->BoundsRect.Left + 1, maximise->BoundsRect.Top + 1), Frame(kFirstButtonId, 1));
    const TWinSysButton* minimise = find(skin, kActionMinimize, c.minimise == 0);
    ASSERT_TRUE(minimise);
    if (c.minimise) {
      EXPECT_EQ(minimise->BoundsRect.Left, width - c.minimise - c.expectedShift);  // the spacing kept
    } else {
      EXPECT_EQ(minimise->BoundsRect.Right, maximise->BoundsRect.Left - kGap) << "the system's minimise";
    }
    // The title's text stops before them all.
    EXPECT_LE(skin->TitleRect.Right, minimise->BoundsRect.Left);
    // And each answers where it shows.
    EXPECT_EQ(skin->ObjectAt(Centre(close->BoundsRect)), close);
    EXPECT_EQ(skin->ObjectAt(Centre(maximise->BoundsRect)), maximise);
  }
  // A dialog frame hides the skin's boxes: the close alone, at the right end.
  UseSkin({{.action = 1, .align = 1, .x = 30, .y = 3, .visibility = 6},
           {.action = 2, .align = 1, .x = 44, .y = 3, .visibility = 8}});
  {
    UniqueWindow w = RawWindow(kDialogStyle, WS_EX_DLGMODALFRAME);
    TWinSkinForm* skin = SkinRaw(w.get());
    ASSERT_TRUE(skin);
    const int width = PaintedFrame(w.get())->Width();
    EXPECT_EQ(VisibleActions(skin), (std::vector<int>{kActionClose}));
    const TWinSysButton* close = find(skin, kActionClose, true);
    ASSERT_TRUE(close);
    EXPECT_EQ(close->BoundsRect.Right, width - kRight - kGap);
  }
  // A button of the skin shown on every window, over the close's place: on a dialog frame too
  // the close stays at the right end and the button moves left of it.
  UseSkin({{.action = 2, .align = 1, .x = 12, .y = 3}});
  UniqueWindow w = RawWindow(kDialogStyle, WS_EX_DLGMODALFRAME);
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  const int width = PaintedFrame(w.get())->Width();
  const TWinSysButton* close = find(skin, kActionClose, true);
  const TWinSysButton* minimise = find(skin, kActionMinimize, false);
  ASSERT_TRUE(close && minimise);
  EXPECT_EQ(close->BoundsRect.Right, width - kRight - kGap);
  EXPECT_EQ(minimise->BoundsRect.Right, close->BoundsRect.Left - kGap);
}

// The title text's offsets as the skin gives them where the title holds them; an offset below 0,
// or one that leaves the text no room before the title's right end (up to the largest integer),
// is none, and a dialog's text (16 pixels further left) never starts out of the window: the
// caption stays whole and readable. A vertical shift that moves the text out of the title is
// none; the text background's reach beside the text is kept up to the window's width, none past
// it. Under a window without a system menu (no icon, no buttons) and a dialog.
TEST_F(SkinnedForms, TheTitleTextsOffsetsHoldWhereTheTitleHoldsThemElseNone) {
  constexpr int kTextBackId = 9;
  constexpr vcl::TColor kInk = 0x030201;  // the skin's active title text
  struct Keys {
    int shift = 0, vertical = 0, backLeft = 0, backRight = 0;
  };
  // The title painted under these keys: the window's skinner, and the frame painted.
  struct Title {
    TWinSkinForm* skin = nullptr;
    std::unique_ptr<vcl::TBitmap> frame;
    int ink = 0;  // pixels of the text's colour in the title
  };
  auto paint = [&](HWND w, const Keys& k) {
    PackageSpec spec = FormSkinSpec({});
    for (PackageEntry& e : spec.entries)
      if (e.name == "forms.ini") {
        std::string text(e.bytes.begin(), e.bytes.end());
        const std::string bar = "menuBar=MenuBar.bmp\r\n";
        text.replace(text.find(bar), bar.size(),
                     bar + "TextBack=TextBack.bmp\r\nTextShift=" + std::to_string(k.shift) + "\r\nTextShiftVert=" +
                         std::to_string(k.vertical) + "\r\nTXTBackleft=" + std::to_string(k.backLeft) +
                         "\r\nTXTBackRight=" + std::to_string(k.backRight) + "\r\n");
        e.bytes = ToBytes(text);
      }
    spec.entries.push_back({"TextBack.bmp", FramesBmp(10, 10, FrameColours(kTextBackId, 2))});
    SkinnedWindows::UseSkin(spec);
    Title t;
    t.skin = SkinRaw(w);
    if (!t.skin) return t;
    SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
    t.frame = PaintedFrame(w);
    for (int y = 0; y < t.skin->TopHeight; ++y)
      for (int x = 0; x < t.frame->Width(); ++x) t.ink += Pixel(t.frame.get(), x, y) == kInk ? 1 : 0;
    return t;
  };
  // Each window made anew for each skin, 300 pixels wide.
  auto window = [](DWORD style) {
    UniqueWindow w = RawWindow(style);
    SetWindowTextW(w.get(), L"Title");
    SetWindowPos(w.get(), nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return w;
  };
  auto whole = [](const Title& t) {
    std::string wrong;
    if (t.skin->TitleRect.IsEmpty()) wrong += "no caption; ";
    if (t.skin->TitleRect.Left < 0 || t.skin->TitleRect.Right > t.frame->Width()) wrong += "the caption out of the window; ";
    if (t.skin->TitleRect.Top < 0 || t.skin->TitleRect.Bottom > t.skin->TopHeight) wrong += "the caption out of the title; ";
    if (t.ink < 10) wrong += "the caption's text not drawn; ";
    return wrong;
  };

  // Across, without an icon or buttons: the text may start up to a pixel before the title's
  // right end (the window's less its right border).
  {
    UniqueWindow w = window(WS_POPUP | WS_CAPTION);
    const Title plain = paint(w.get(), {});
    ASSERT_TRUE(plain.skin);
    const int end = plain.frame->Width() - plain.skin->RightWidth;  // where the text must stop
    for (const auto& [shift, expected] : {std::pair(0, 0), std::pair(40, 40), std::pair(end - 1, end - 1),
                                          std::pair(end, 0), std::pair(-1, 0), std::pair(2147483647, 0),
                                          std::pair(-2147483647, 0)}) {
      SCOPED_TRACE("shift " + std::to_string(shift));
      UniqueWindow again = window(WS_POPUP | WS_CAPTION);
      const Title t = paint(again.get(), {.shift = shift});
      ASSERT_TRUE(t.skin);
      EXPECT_EQ(t.skin->TitleRect.Left, expected);
      if (shift != end - 1) {
        EXPECT_EQ(whole(t), "");
      }
    }
  }
  // A dialog's text 16 pixels left of the offset, never left of the window.
  for (const auto& [shift, expected] : {std::pair(40, 24), std::pair(16, 0), std::pair(10, 0), std::pair(-1, 0),
                                        std::pair(2147483647, 0)}) {
    SCOPED_TRACE("a dialog, shift " + std::to_string(shift));
    UniqueWindow w = window(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    const Title t = paint(w.get(), {.shift = shift});
    ASSERT_TRUE(t.skin);
    EXPECT_EQ(t.skin->TitleRect.Left, expected);
    EXPECT_EQ(whole(t), "");
  }
  // Down: the text centred in the title, shifted as far as the title holds it.
  {
    UniqueWindow w = window(WS_POPUP | WS_CAPTION);
    const Title plain = paint(w.get(), {.shift = 40});
    ASSERT_TRUE(plain.skin);
    const int centred = plain.skin->TitleRect.Top, room = plain.skin->TopHeight - plain.skin->TitleRect.Bottom;
    ASSERT_GT(centred, 0);
    ASSERT_GT(room, 0);
    for (const auto& [shift, expected] :
         {std::pair(1, centred + 1), std::pair(-1, centred - 1), std::pair(room, centred + room), std::pair(room + 1, centred),
          std::pair(-centred, 0), std::pair(-centred - 1, centred), std::pair(2147483647, centred),
          std::pair(-2147483647, centred)}) {
      SCOPED_TRACE("vertical shift " + std::to_string(shift));
      UniqueWindow again = window(WS_POPUP | WS_CAPTION);
      const Title t = paint(again.get(), {.shift = 40, .vertical = shift});
      ASSERT_TRUE(t.skin);
      EXPECT_EQ(t.skin->TitleRect.Top, expected);
      EXPECT_EQ(whole(t), "");
    }
  }
  // The text background: its reach beside the text up to the window's width, none past it.
  UniqueWindow sized = window(WS_POPUP | WS_CAPTION);
  const Title plain = paint(sized.get(), {.shift = 40});
  ASSERT_TRUE(plain.skin);
  const int width = plain.frame->Width();
  for (const auto& [left, right, leftShown, rightShown] :
       {std::tuple(3, width, true, true), std::tuple(width, 3, true, true), std::tuple(width + 1, 2147483647, false, false),
        std::tuple(-1, -2147483647, false, false)}) {
    SCOPED_TRACE("text background reach " + std::to_string(left) + ", " + std::to_string(right));
    UniqueWindow w = window(WS_POPUP | WS_CAPTION);
    const Title t = paint(w.get(), {.shift = 40, .backLeft = left, .backRight = right});
    ASSERT_TRUE(t.skin);
    EXPECT_EQ(whole(t), "");
    const TRect r = t.skin->TitleRect;
    const vcl::TColor back = Frame(kTextBackId, 1);
    EXPECT_EQ(Pixel(t.frame.get(), r.Left, 1), back) << "behind the text";
    EXPECT_EQ(Pixel(t.frame.get(), r.Left - 2, 1) == back, leftShown) << "left of the text";
    EXPECT_EQ(Pixel(t.frame.get(), r.Right + 2, 1) == back, rightShown) << "right of the text";
  }
}

// A title picture lower than the caption needs: the title is as high as its buttons and text
// need, each of them inside it and drawn, the client area below it and the picture stretched
// over its height; a picture as high as that, or higher, keeps its own height. Under a skin with
// all its caption buttons (short ones) and under one with a tall maximise button alone (the
// system's close, minimise and icon beside it).
TEST_F(SkinnedForms, ATitlePictureLowerThanTheCaptionNeedsGivesTheCaptionItsRoom) {
  struct Case {
    const char* name;
    std::vector<ButtonSpec> buttons;
  };
  for (const Case& c : {Case{"all buttons", StandardButtons()},
                        Case{"a tall maximise alone", {{.action = 1, .align = 1, .x = 50, .y = 2, .height = 30}}}}) {
    SCOPED_TRACE(c.name);
    // The title's height under a top picture of two stacked frames `frameHeight` high each.
    auto titleOf = [&](int frameHeight) {
      SCOPED_TRACE(frameHeight);
      PackageSpec spec = FormSkinSpec(c.buttons);
      for (PackageEntry& e : spec.entries)
        if (e.name == "Top.bmp") e.bytes = FramesBmp(60, frameHeight, FrameColours(kTopId, 2), true);
      SkinnedWindows::UseSkin(spec);
      Owned<vcl::TForm> form = NewForm();
      TWinSkinForm* skin = ShowSkinned(form.get());
      EXPECT_TRUE(skin);
      if (!skin) return -1;
      SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
      auto b = PaintedFrame(form->Handle());
      const int top = skin->TopHeight;
      for (size_t i = 0; i < skin->Buttons().size(); ++i) {
        const TWinSysButton& button = *skin->Buttons()[i];
        if (!button.Visible) continue;
        SCOPED_TRACE(button.Data->Action);
        EXPECT_FALSE(button.BoundsRect.IsEmpty());
        EXPECT_GE(button.BoundsRect.Top, 0);
        EXPECT_LE(button.BoundsRect.Bottom, top) << "a caption button cut off";
        // The skin's buttons show their own picture, the system's theirs over the title.
        if (i < c.buttons.size()) {
          EXPECT_EQ(Pixel(b.get(), button.BoundsRect.Left + 1, button.BoundsRect.Bottom - 1),
                    Frame(kFirstButtonId + static_cast<int>(i), 1));
        } else if (!button.IsIcon()) {
          EXPECT_GT(DrawnPixels(b.get(), button.BoundsRect), 0);
        }
      }
      TEXTMETRICW metrics{};
      {
        HDC dc = GetDC(form->Handle());
        const HGDIOBJ old = SelectObject(dc, skin->CaptionFont()->Handle());
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(form->Handle(), dc);
      }
      EXPECT_GE(skin->TitleRect.Top, 0);
      EXPECT_LE(skin->TitleRect.Bottom, top) << "the caption's text cut off";
      EXPECT_GE(top, metrics.tmHeight);
      POINT origin{0, 0};
      ClientToScreen(form->Handle(), &origin);
      RECT r{};
      GetWindowRect(form->Handle(), &r);
      EXPECT_EQ(origin.y - r.top, top);
      // The picture's active frame from the title's first row to its last, in a column clear
      // of the text and the buttons.
      int x = skin->TitleRect.Right + 1;
      for (bool moved = true; moved;) {
        moved = false;
        for (const auto& button : skin->Buttons())
          if (button->Visible && button->BoundsRect.Left <= x && x < button->BoundsRect.Right) {
            x = button->BoundsRect.Right;
            moved = true;
          }
      }
      EXPECT_LT(x, b->Width() - skin->RightWidth);
      EXPECT_EQ(Pixel(b.get(), x, top - 1), Frame(kTopId, 1));
      EXPECT_EQ(Pixel(b.get(), x, 0), Frame(kTopId, 1));
      return top;
    };
    const int needed = titleOf(5);
    EXPECT_GT(needed, 5);
    if (c.buttons.size() == 1) {
      EXPECT_EQ(needed, 32);  // the maximise button's bottom
    }
    EXPECT_EQ(titleOf(needed - 1), needed);
    EXPECT_EQ(titleOf(needed), needed);
    EXPECT_EQ(titleOf(needed + 1), needed + 1);
  }
}

// Border pictures whose margins take the whole picture (the top's left and right ones its width,
// the left side's top and bottom ones its height) have no pixels for the part between them: it
// shows the skin's form colour, never black, while the margins show their picture; with one
// pixel between the margins, that pixel is stretched over the part.
TEST_F(SkinnedForms, ABorderPartWithoutPixelsBetweenItsMarginsShowsTheFormColour) {
  for (const int between : {0, 1}) {
    SCOPED_TRACE(between);
    PackageSpec spec = FormSkinSpec(StandardButtons());
    for (PackageEntry& e : spec.entries) {
      if (e.name == "Top.bmp") e.bytes = FramesBmp(20 + between, kTop, FrameColours(kTopId, 2), true);
      if (e.name == "forms.ini") {
        std::string ini(e.bytes.begin(), e.bytes.end());
        ini.insert(ini.find("[Personality]\r\n") + 15, "TopTopHeight=10\r\nTopBotHeight=10\r\nLeftTopHeight=20\r\n"
                                                       "LeftBotHeight=" + std::to_string(20 - between) + "\r\n");
        e.bytes = ToBytes(ini);
      }
    }
    SkinnedWindows::UseSkin(spec);
    Owned<vcl::TForm> form = NewForm();
    form->SetClientHeight(200);
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    ASSERT_EQ(skin->TopHeight, kTop);
    SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);
    auto b = PaintedFrame(form->Handle());
    const int w = b->Width(), h = b->Height(), row = skin->TopHeight - 1;
    LOGBRUSH brush{};
    ASSERT_TRUE(GetObjectW(data_->Skin()->Brush(), sizeof brush, &brush));
    const vcl::TColor form_colour = static_cast<vcl::TColor>(brush.lbColor);
    ASSERT_NE(form_colour, vcl::clBlack);
    const vcl::TColor middle_top = between ? Frame(kTopId, 1) : form_colour;
    const vcl::TColor middle_left = between ? Frame(kLeftId, 1) : form_colour;
    // The title's last row, right of its text: the middle, then the right margin.
    const int x = skin->TitleRect.Right + 1;
    ASSERT_LT(x, w - kRight - 10);
    EXPECT_EQ(Pixel(b.get(), x, row), middle_top);
    EXPECT_EQ(Pixel(b.get(), w - kRight - 11, row), middle_top);
    EXPECT_EQ(Pixel(b.get(), w - kRight - 10, row), Frame(kTopId, 1));
    EXPECT_EQ(Pixel(b.get(), kLeft + 9, row), Frame(kTopId, 1));
    // The left side: its margins at the ends, the middle between them.
    EXPECT_EQ(Pixel(b.get(), 0, 19), Frame(kLeftId, 1));
    EXPECT_EQ(Pixel(b.get(), 0, 20), middle_left);
    EXPECT_EQ(Pixel(b.get(), 0, h / 2), middle_left);
    EXPECT_EQ(Pixel(b.get(), 0, h - 21 + between), middle_left);
    EXPECT_EQ(Pixel(b.get(), 0, h - 20 + between), Frame(kLeftId, 1));
  }
}

// (The right-aligned button leaves room for the system's close at the title's right end.)
TEST_F(SkinnedForms, ButtonsAreLaidOutByTheirAlignment) {
  UseSkin({{.action = 42, .align = 0, .x = 7, .y = 2},
           {.action = 43, .align = 1, .x = 50, .y = 5},
           {.action = 44, .align = 2, .x = 3, .y = 4},
           {.action = 45, .align = 3, .x = 6, .y = 1}});
  UniqueWindow w = RawWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  PaintedFrame(w.get());
  RECT r{};
  GetWindowRect(w.get(), &r);
  const int width = r.right - r.left;
  auto& b = skin->Buttons();
  EXPECT_EQ(b[0]->BoundsRect, vcl::Rect(7, 2, 17, 10));
  EXPECT_EQ(b[1]->BoundsRect, vcl::Rect(width - 50, 5, width - 40, 13));
  // The largest left edge of them: the system's close at the right end.
  EXPECT_EQ(skin->MaxButtonRight, width - kRight - 2 - std::max(GetSystemMetrics(SM_CXSIZE) - 2, 1));
  // Beside the title text as it was last drawn.
  PaintedFrame(w.get());
  EXPECT_EQ(b[2]->BoundsRect.Left, skin->TitleRect.Left - 10 - 3);
  EXPECT_EQ(b[2]->BoundsRect.Top, 4);
  EXPECT_EQ(b[3]->BoundsRect.Left, skin->TitleRect.Right + 6);
}

// (The buttons leave room for the system's close at the title's right end.)
TEST_F(SkinnedForms, DisabledButtonsShowTheirFourthFrameOnlyWhenTheyHaveOne) {
  UseSkin({{.action = 1, .align = 1, .x = 46, .y = 3, .frames = 4},
           {.action = 2, .align = 1, .x = 60, .y = 3, .frames = 3, .statesFrame = false}});
  UniqueWindow w = RawWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);  // no boxes
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->Buttons()[1]->FrameCount(), 3);  // read from its picture's proportions
  auto b = PaintedFrame(w.get());
  const int width = b->Width();
  EXPECT_FALSE(skin->Buttons()[0]->Enabled);
  EXPECT_EQ(Pixel(b.get(), width - 46 + 2, 5), Frame(kFirstButtonId, 4));
  EXPECT_EQ(Pixel(b.get(), width - 60 + 2, 5), Frame(kFirstButtonId + 1, 1));
  EXPECT_EQ(skin->Buttons()[0]->PaintFrame(false), 4);
  EXPECT_EQ(skin->Buttons()[1]->PaintFrame(false), 1);
}

class CaptionMouse : public SkinnedForms {
 protected:
  void SetUp() override {
    SkinnedForms::SetUp();
    UseSkin({{.action = 0, .align = 1, .x = 16, .y = 3},
             {.action = 1, .align = 1, .x = 30, .y = 3, .visibility = 2},
             {.action = 2, .align = 1, .x = 44, .y = 3},
             {.action = 4, .align = 1, .x = 58, .y = 3},
             {.action = 42, .align = 1, .x = 72, .y = 3}});
    window_ = RawWindow();
    skin_ = SkinRaw(window_.get());
    ASSERT_TRUE(skin_);
    PaintedFrame(window_.get());  // lays the buttons out
    Log().messages.clear();
  }
  TWinSysButton* Button(size_t i) { return skin_->Buttons()[i].get(); }
  TPoint At(size_t i) { return Centre(Button(i)->BoundsRect); }
  void Click(size_t i) {
    Nc(window_.get(), WM_NCLBUTTONDOWN, At(i));
    Nc(window_.get(), WM_NCLBUTTONUP, At(i));
    Pump();
  }

  UniqueWindow window_;
  TWinSkinForm* skin_ = nullptr;
};

TEST_F(CaptionMouse, OnlyAPressAndReleaseOnTheSameButtonRunsItsAction) {
  Nc(window_.get(), WM_NCLBUTTONDOWN, At(0));
  EXPECT_EQ(Button(0)->State, TNCState::Pressed);
  EXPECT_EQ(skin_->HotObject, Button(0));
  Nc(window_.get(), WM_NCLBUTTONUP, At(0));
  EXPECT_EQ(Button(0)->State, TNCState::Hot);
  Pump();
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_CLOSE), 1u);

  // Pressed on one, released on another: the first returns to normal, the second only turns hot.
  Log().messages.clear();
  Nc(window_.get(), WM_NCLBUTTONDOWN, At(0));
  Nc(window_.get(), WM_NCMOUSEMOVE, At(1));
  EXPECT_EQ(Button(0)->State, TNCState::Normal);
  EXPECT_EQ(Button(1)->State, TNCState::Hot);
  Nc(window_.get(), WM_NCLBUTTONUP, At(1));
  // A release on a button that is only hot.
  Nc(window_.get(), WM_NCMOUSEMOVE, At(0));
  EXPECT_EQ(skin_->HotObject, Button(0));
  Nc(window_.get(), WM_NCLBUTTONUP, At(0));
  Pump();
  EXPECT_TRUE(Log().messages.empty());
  // Off the buttons nothing stays hot.
  Nc(window_.get(), WM_NCMOUSEMOVE, TPoint(60, kTop / 2));
  EXPECT_EQ(skin_->HotObject, nullptr);
  EXPECT_EQ(Button(0)->State, TNCState::Normal);
}

// The tip over a caption button names its command as the system menu does; it goes when the
// mouse leaves the button and when the form deactivates.
TEST_F(CaptionMouse, TheTipWindowNamesTheButtonUnderTheMouse) {
  EXPECT_EQ(MenuItemName(L"&Close\tAlt+F4"), L"Close");
  EXPECT_EQ(MenuItemName(L"关闭(&C)\tAlt+F4"), L"关闭");
  EXPECT_EQ(MenuItemName(L"Save && quit"), L"Save & quit");
  auto name = [&](UINT command) {
    wchar_t text[128] = {};
    GetMenuStringW(GetSystemMenu(window_.get(), FALSE), command, text, 127, MF_BYCOMMAND);
    return MenuItemName(text);
  };
  ASSERT_FALSE(name(SC_CLOSE).empty());
  Nc(window_.get(), WM_NCMOUSEMOVE, At(0));
  const TInfoWindow& tip = skin_->InfoWindow();
  ASSERT_TRUE(tip.Shown());
  EXPECT_EQ(tip.Text(), name(SC_CLOSE));
  EXPECT_TRUE(IsWindowVisible(tip.Handle()));
  RECT r{}, w{};
  GetWindowRect(tip.Handle(), &r);
  GetWindowRect(window_.get(), &w);
  EXPECT_GE(r.top, w.top + Button(0)->BoundsRect.Bottom);  // below the button
  Nc(window_.get(), WM_NCMOUSEMOVE, At(2));
  EXPECT_EQ(tip.Text(), name(SC_MINIMIZE));
  // Off the buttons, and on deactivation.
  Nc(window_.get(), WM_NCMOUSEMOVE, TPoint(60, kTop / 2));
  EXPECT_FALSE(tip.Shown());
  EXPECT_FALSE(IsWindowVisible(tip.Handle()));
  Nc(window_.get(), WM_NCMOUSEMOVE, At(0));
  EXPECT_TRUE(tip.Shown());
  SendMessageW(window_.get(), WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(tip.Shown());
  SendMessageW(window_.get(), WM_NCACTIVATE, TRUE, 0);
}

TEST_F(CaptionMouse, TheActionTablePostsTheSystemCommandsAndADoubleClickMaximisesAndRestores) {
  Click(1);
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_MAXIMIZE), 1u);
  EXPECT_EQ(skin_->ShowState, TShowState::Maximized);
  skin_->ShowState = TShowState::Normal;
  Click(2);
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_MINIMIZE), 1u);
  skin_->ShowState = TShowState::Normal;
  Click(3);
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_CONTEXTHELP), 1u);
  Click(4);
  EXPECT_EQ(Log().Count(SKM_CAPTIONACTION, 42), 1u);  // a button of the application's own
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_CLOSE), 0u);

  Log().messages.clear();
  Nc(window_.get(), WM_NCLBUTTONDBLCLK, TPoint(60, kTop / 2));
  Pump();
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_MAXIMIZE), 1u);
  Nc(window_.get(), WM_NCLBUTTONDBLCLK, TPoint(60, kTop / 2));
  Pump();
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_RESTORE), 1u);

  // A minimised window comes back: never maximised by a double click on its title.
  Log().messages.clear();
  ShowWindow(window_.get(), SW_MINIMIZE);
  Pump();
  ASSERT_EQ(skin_->ShowState, TShowState::Minimized);
  // (Right of the icon, which the skin has no section for: the system's stands at the left.)
  Nc(window_.get(), WM_NCLBUTTONDBLCLK, TPoint(40, kTop / 2));
  Pump();
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_RESTORE), 1u);
  EXPECT_EQ(Log().Count(WM_SYSCOMMAND, SC_MAXIMIZE), 0u);
  ShowWindow(window_.get(), SW_RESTORE);
}

// ---------------------------------------------------------------------------------------
// The menu band

TEST_F(SkinnedForms, AFormsMainMenuBecomesTheSkinnedMenuBandOutsideTheClientArea) {
  Owned<vcl::TForm> form = NewFormWithFileMenu();
  form->SetClientHeight(200);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  EXPECT_EQ(skin->MenuHeight, GetSystemMetrics(SM_CYMENU));
  RECT client{}, r{};
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.bottom, 200);
  GetWindowRect(form->Handle(), &r);
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 200, r.top + kTop + 3)), HTMENU);
  SendMessageW(form->Handle(), WM_NCACTIVATE, TRUE, 0);  // other tests' windows may hold the activation
  auto b = PaintedFrame(form->Handle());
  EXPECT_EQ(Pixel(b.get(), b->Width() - kRight - 2, kTop + 2), Frame(kMenuBarId, 1));
  EXPECT_EQ(skin->MenuBar()->Items()[0]->BoundsRect.Top, kTop);
}

// A window made lower than its frame (the system sets the least height, not the skin): the
// bottom border stays above the menu band, and the band's items neither answer nor open there.
TEST_F(SkinnedForms, TheBottomBorderOfAWindowLowerThanItsFrameStaysAboveTheMenuBand) {
  Owned<vcl::TForm> form = NewFormWithFileMenu();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  HWND w = form->Handle();
  RECT r{};
  GetWindowRect(w, &r);
  const int h = kTop + kBottom + skin->MenuHeight / 2;
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(w, &r);
  ASSERT_EQ(r.bottom - r.top, h);
  const TRect bounds = skin->MenuBar()->Items()[0]->BoundsRect;
  const TPoint border((bounds.Left + bounds.Right) / 2, h - kBottom + 1);
  ASSERT_TRUE(bounds.Contains(border));  // the band as laid out reaches into the bottom border

  EXPECT_NE(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + border.X, r.top + border.Y)), HTMENU);
  Nc(w, WM_NCMOUSEMOVE, border, HTBOTTOM);
  EXPECT_EQ(skin->HotObject, nullptr);
  Nc(w, WM_NCMOUSEMOVE, TPoint(border.X, kTop + 2), HTMENU);
  EXPECT_EQ(skin->HotObject, skin->MenuBar()->Items()[0].get());

  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);  // other tests' windows may hold the activation
  auto b = PaintedFrame(w);
  EXPECT_EQ(Pixel(b.get(), border.X, border.Y), Frame(kBottomId, 1));
  EXPECT_EQ(Pixel(b.get(), border.X, kTop + 2), Frame(kMenuBarId, 1));
}

// Both sides of each edge of the menu band: the band answers from the row below the title's
// last on (the title's last row is the caption's), to its own last row; the row after it is
// the client's in a window of full height, and the bottom border's first row in a window
// lower than its frame. An item spans the band but its last row, and lights only there; each
// row shows its own picture.
TEST_F(SkinnedForms, TheMenuBandAnswersOnItsOwnRowsOnBothSidesOfEachOfItsEdges) {
  Owned<vcl::TForm> form = NewFormWithFileMenu();
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin && skin->MenuBar());
  const HWND w = form->Handle();
  TNCObject* item = skin->MenuBar()->Items()[0].get();
  const TRect bounds = item->BoundsRect;
  const int x = (bounds.Left + bounds.Right) / 2;
  auto hit = [&](int y) {
    RECT r{};
    GetWindowRect(w, &r);
    return SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.left + x, r.top + y));
  };
  // Lit by a move over the row (after a move off the window's frame).
  auto lit = [&](int y) {
    Nc(w, WM_NCMOUSEMOVE, TPoint(x, 1), HTCAPTION);
    Nc(w, WM_NCMOUSEMOVE, TPoint(x, y), hit(y));
    return skin->HotObject == item;
  };
  const int last = kTop + skin->MenuHeight - 1;
  ASSERT_GT(skin->MenuHeight, 4);
  EXPECT_EQ(hit(kTop), HTCAPTION);
  EXPECT_EQ(hit(kTop + 1), HTMENU);
  EXPECT_EQ(hit(last), HTMENU);
  EXPECT_TRUE(lit(last - 1));
  EXPECT_FALSE(lit(last));
  EXPECT_NE(hit(last + 1), HTMENU);
  EXPECT_FALSE(lit(last + 1));
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);  // other tests' windows may hold the activation
  auto b = PaintedFrame(w);
  EXPECT_EQ(Pixel(b.get(), x, last), Frame(kMenuBarId, 1));
  EXPECT_NE(Pixel(b.get(), x, last + 1), Frame(kMenuBarId, 1));

  // Lower than its frame: the band's last row shown is the one above the bottom border.
  RECT r{};
  GetWindowRect(w, &r);
  const int h = kTop + kBottom + skin->MenuHeight / 2;
  SetWindowPos(w, nullptr, 0, 0, r.right - r.left, h, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(w, &r);
  ASSERT_EQ(r.bottom - r.top, h);
  const int border = h - kBottom;
  ASSERT_TRUE(bounds.Contains(TPoint(x, border)));  // the band as laid out reaches into the border
  EXPECT_EQ(hit(border - 1), HTMENU);
  EXPECT_TRUE(lit(border - 1));
  EXPECT_NE(hit(border), HTMENU);
  EXPECT_FALSE(lit(border));
  SendMessageW(w, WM_NCACTIVATE, TRUE, 0);
  b = PaintedFrame(w);
  EXPECT_EQ(Pixel(b.get(), x, border - 1), Frame(kMenuBarId, 1));
  EXPECT_EQ(Pixel(b.get(), x, border), Frame(kBottomId, 1));
}

// ---------------------------------------------------------------------------------------
// Detaching

TEST_F(SkinnedForms, UnskinningGivesBackProcedureStylesAndRegion) {
  UseSkin(StandardButtons(), true);
  UniqueWindow w = RawWindow();
  const LONG_PTR procedure = GetWindowLongPtrW(w.get(), GWLP_WNDPROC);
  const LONG_PTR style = GetWindowLongPtrW(w.get(), GWL_STYLE);
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin && skin->HasRegion);
  EXPECT_NE(GetWindowLongPtrW(w.get(), GWL_STYLE) & WS_MAXIMIZEBOX, WS_MAXIMIZEBOX);

  // The manager's request to unskin everything, carried out by its timer.
  SkinManager()->SetRequestSkinData(data_);
  SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  EXPECT_EQ(GetWindowLongPtrW(w.get(), GWLP_WNDPROC), procedure);
  EXPECT_EQ(GetWindowLongPtrW(w.get(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(w.get(), region.get()), ERROR);
  EXPECT_EQ(SendMessageW(w.get(), SKM_QUERYNOSKIN, 0, 0), 0);  // its own procedure answers
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = {0, 0, 300, 200};
  SendMessageW(w.get(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&params));
  // The system's frame again (whose caption may happen to be as high as the skin's).
  NCCALCSIZE_PARAMS system{};
  system.rgrc[0] = {0, 0, 300, 200};
  DefWindowProcW(w.get(), WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&system));
  auto edges = [](const RECT& r) { return std::make_tuple(r.left, r.top, r.right, r.bottom); };
  EXPECT_EQ(edges(params.rgrc[0]), edges(system.rgrc[0]));
}

// The top and bottom border pictures hold their two frames one above the other: a picture is
// judged by its height, whatever its width. One a column wide but two frames tall is the skin's
// border, stretched across the window (its active frame, its inactive one when inactive); one
// wider than the window but a row short of its two frames is no picture (no skinned frame
// without the top one, no bottom border without the bottom one), while two rows are two frames.
TEST_F(SkinnedForms, TopAndBottomPicturesAreJudgedByTheirHeightForTheirStackedFrames) {
  struct Picture {
    int width, height;
  };
  struct Case {
    const char* name;
    Picture top, bottom;
    bool framed;     // the skin's frame at all
    int topHeight;   // when framed
    int bottomHeight;
  };
  const Picture top{60, 2 * kTop}, bottom{60, 2 * kBottom};
  for (const Case& c : {Case{"a top picture a column wide", {1, 2 * kTop}, bottom, true, kTop, kBottom},
                        Case{"a bottom picture a column wide", top, {1, 2 * kBottom}, true, kTop, kBottom},
                        Case{"both a column wide", {1, 2 * kTop}, {1, 2 * kBottom}, true, kTop, kBottom},
                        Case{"a bottom picture of one row", top, {200, 1}, true, kTop, 0},
                        Case{"a bottom picture of two rows", top, {200, 2}, true, kTop, 1},
                        Case{"a top picture of one row", {200, 1}, bottom, false, 0, 0}}) {
    SCOPED_TRACE(c.name);
    PackageSpec spec = FormSkinSpec(StandardButtons());
    auto set = [&](const char* file, int id, Picture p) {
      auto it = std::find_if(spec.entries.begin(), spec.entries.end(), [&](const auto& e) { return e.name == file; });
      ASSERT_NE(it, spec.entries.end()) << file;
      it->bytes = FrameStrip(id, 2, std::max(p.height / 2, 1), p.width, p.height, true);
    };
    set("Top.bmp", kTopId, c.top);
    set("Bottom.bmp", kBottomId, c.bottom);
    SkinnedWindows::UseSkin(spec);
    Owned<vcl::TForm> form = NewForm();
    const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    EXPECT_EQ(skin->SkinFrame, c.framed);
    if (!c.framed) {
      // The system's frame: its caption buttons stay on the style.
      EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MAXIMIZEBOX),
                style & (WS_SYSMENU | WS_MAXIMIZEBOX));
      continue;
    }
    EXPECT_EQ(std::make_tuple(skin->LeftWidth, skin->TopHeight, skin->RightWidth, skin->BottomHeight),
              std::make_tuple(kLeft, c.topHeight, kRight, c.bottomHeight));
    for (const bool active : {true, false}) {
      SCOPED_TRACE(active ? "active" : "inactive");
      SendMessageW(form->Handle(), WM_NCACTIVATE, active ? TRUE : FALSE, 0);
      auto b = PaintedFrame(form->Handle());
      const int w = b->Width(), h = b->Height(), frame = active ? 1 : 2;
      // Across each border's thickness, a third of the way along and at the middle.
      for (const int x : {w / 3, w / 2}) {
        for (int y = 0; y < c.topHeight; ++y) {
          if (y >= 2 && y <= 18) continue;  // the caption's rows
          EXPECT_EQ(Pixel(b.get(), x, y), Frame(kTopId, frame)) << x << "," << y;
        }
        for (int y = h - c.bottomHeight; y < h; ++y)
          EXPECT_EQ(Pixel(b.get(), x, y), Frame(kBottomId, frame)) << x << "," << y;
      }
      // Without a bottom border the client area reaches the window's bottom edge.
      RECT client{}, window{};
      GetClientRect(form->Handle(), &client);
      GetWindowRect(form->Handle(), &window);
      EXPECT_EQ(client.bottom, window.bottom - window.top - c.topHeight - c.bottomHeight);
    }
  }
}

// A form skinned or unskinned keeps the client size it has in the normal state, whatever state
// it is in when the skin comes or goes (normal, maximised, minimised): restored, its client area
// is as large as before, with and without a menu, a library form and a window without a form
// object alike.
TEST_F(SkinnedForms, AFormSkinnedOrUnskinnedInAnyStateIsRestoredToItsClientSize) {
  enum class Change { Skin, Unskin };
  struct Case {
    const char* name;
    Change change;
    int show;  // the state the change finds
  };
  auto clientOf = [](HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return std::make_pair(r.right, r.bottom);
  };
  auto skinAll = [&](HWND w) {
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::SkinAll, 1);
    EXPECT_TRUE(PumpUntil([&] { return SkinManager()->Active() && (Ready(w) || QueueEmpty()); }));
  };
  auto unskinAll = [&] {
    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
    EXPECT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  };
  for (const Case& c : {Case{"skinned while normal", Change::Skin, SW_SHOWNORMAL},
                        Case{"skinned while maximised", Change::Skin, SW_MAXIMIZE},
                        Case{"skinned while minimised", Change::Skin, SW_MINIMIZE},
                        Case{"unskinned while normal", Change::Unskin, SW_SHOWNORMAL},
                        Case{"unskinned while maximised", Change::Unskin, SW_MAXIMIZE},
                        Case{"unskinned while minimised", Change::Unskin, SW_MINIMIZE}}) {
    for (const int kind : {0, 1, 2}) {
      SCOPED_TRACE(std::string(c.name) + (kind == 0 ? ", a form" : kind == 1 ? ", a form with a menu" : ", a raw window"));
      UseSkin(StandardButtons());
      if (c.change == Change::Skin) {
        SkinManager()->SetRequestSkinData(data_);
        SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
        ASSERT_TRUE(PumpUntil([] { return !SkinManager()->Active(); }));
      }
      Owned<vcl::TForm> form;
      UniqueWindow raw;
      HWND w = nullptr;
      if (kind == 2) {
        raw = RawWindow();
        w = raw.get();
        ShowWindow(w, SW_SHOW);
      } else {
        form = kind == 0 ? NewForm() : NewFormWithFileMenu();
        form->SetClientWidth(292);
        form->SetClientHeight(192);
        form->Show();
        w = form->Handle();
      }
      if (c.change == Change::Unskin) {
        ASSERT_TRUE(PumpUntil([&] { return Ready(w); }));
      }
      PumpUntilIdle();
      const auto normal = clientOf(w);
      RECT place{};
      GetWindowRect(w, &place);
      ShowWindow(w, c.show);
      PumpUntilIdle();
      if (c.change == Change::Skin) {
        skinAll(w);
        if (kind == 2 && !Find(w)) {
          EXPECT_TRUE(SkinManager()->SkinForm(w));  // not a form: asked for itself
        }
        ASSERT_TRUE(PumpUntil([&] { return Ready(w); }));
      } else {
        unskinAll();
      }
      // The state as it was.
      EXPECT_EQ(IsZoomed(w) != FALSE, c.show == SW_MAXIMIZE);
      EXPECT_EQ(IsIconic(w) != FALSE, c.show == SW_MINIMIZE);
      ShowWindow(w, SW_RESTORE);
      PumpUntilIdle();
      EXPECT_EQ(clientOf(w), normal);
      RECT restored{};
      GetWindowRect(w, &restored);
      EXPECT_EQ(std::make_pair(restored.left, restored.top), std::make_pair(place.left, place.top));
    }
  }
}

// The skin answers the activation messages itself; once it is gone the system's own frame
// shows the window's real state: an active form unskinned has an active caption.
TEST_F(SkinnedForms, AnActiveFormUnskinnedShowsTheSystemsActiveCaption) {
  const wintest::PointerLock turn;  // the foreground is taken here
  // Test programs running beside may take the foreground while the skin goes: the window must
  // still be the active one when it is judged, so a round that lost it is tried again (up to
  // ten times, each with a fresh skin and form: a loaded machine's programs take it often).
  constexpr int kAttempts = 10;
  for (int attempt = 1; attempt <= kAttempts; ++attempt) {
    if (attempt > 1) UseSkin(StandardButtons());
    Owned<vcl::TForm> form = NewForm();
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    HWND w = form->Handle();
    ASSERT_TRUE(PumpUntil([&] {
      if (GetActiveWindow() != w) SetForegroundWindow(w);
      return GetActiveWindow() == w && Find(w) && Find(w)->Active;
    }));

    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
    if (GetActiveWindow() != w && attempt < kAttempts) continue;
    ASSERT_EQ(GetActiveWindow(), w);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);

    // A caption point away from the icon, text and buttons, as drawn now and as the system
    // draws it told plainly that the window is inactive, then active.
    RECT r{};
    GetWindowRect(w, &r);
    const int x = (r.right - r.left) * 3 / 5, y = GetSystemMetrics(SM_CYSIZEFRAME) + 2;
    HDC dc = GetWindowDC(w);
    ASSERT_TRUE(dc);
    const COLORREF now = GetPixel(dc, x, y);
    DefWindowProcW(w, WM_NCACTIVATE, FALSE, 0);
    const COLORREF inactive = GetPixel(dc, x, y);
    DefWindowProcW(w, WM_NCACTIVATE, TRUE, 0);
    const COLORREF active = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    ASSERT_NE(active, inactive);
    EXPECT_EQ(now, active);
    return;
  }
}

// The mirror: a form unskinned while another window is active shows the system's inactive
// caption (the system last heard the form was active, before the skin answered its
// deactivation itself).
TEST_F(SkinnedForms, AnInactiveFormUnskinnedShowsTheSystemsInactiveCaption) {
  const wintest::PointerLock turn;  // the activation is judged here
  UniqueWindow other = RawWindow();
  // A round in which a program beside took the activation while the skin went is made again.
  for (int attempt = 1; attempt <= 3; ++attempt) {
    if (attempt > 1) UseSkin(StandardButtons());
    Owned<vcl::TForm> form = NewForm();
    TWinSkinForm* skin = ShowSkinned(form.get());
    ASSERT_TRUE(skin);
    HWND w = form->Handle();
    ASSERT_TRUE(TakeActivation(w));
    ShowWindow(other.get(), SW_SHOW);
    ASSERT_TRUE(TakeActivation(other.get()));
    ASSERT_TRUE(PumpUntil([&] { return Find(w) && !Find(w)->Active; }));

    SkinManager()->SetRequestSkinData(data_);
    SkinManager()->SetActiveMode(TSkinMode::UnskinAll, 1);
    ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
    if (GetActiveWindow() == w && attempt < 3) continue;
    ASSERT_NE(GetActiveWindow(), w);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);

    RECT r{};
    GetWindowRect(w, &r);
    const int x = (r.right - r.left) * 3 / 5, y = GetSystemMetrics(SM_CYSIZEFRAME) + 2;
    HDC dc = GetWindowDC(w);
    ASSERT_TRUE(dc);
    const COLORREF now = GetPixel(dc, x, y);
    DefWindowProcW(w, WM_NCACTIVATE, TRUE, 0);
    const COLORREF active = GetPixel(dc, x, y);
    DefWindowProcW(w, WM_NCACTIVATE, FALSE, 0);
    const COLORREF inactive = GetPixel(dc, x, y);
    ReleaseDC(w, dc);
    ASSERT_NE(active, inactive);
    EXPECT_EQ(now, inactive);
    return;
  }
}

// A form with a skin of its own only (sfOnlyThisForm) made inactive gets its system frame
// back: procedure, system buttons and region, as unskinning every form gives them.
TEST_F(SkinnedForms, AFormsOwnSkinMadeInactiveGivesBackStylesAndRegion) {
  const std::string own = "    Active = True\n    SkinFormtype = sfOnlyThisForm\n    SkinStream = {\n      " +
                          Hex(StoredStream(BuildPackage(FormSkinSpec(StandardButtons(), true)))) + "}\n";
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(own));
  TSkinData* ownData = form->SkinData();
  ASSERT_TRUE(ownData && !ownData->Empty());
  const LONG_PTR procedure = GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC);
  const LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
  ASSERT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(skin->SkinData, ownData);  // its own skin, not the main one
  ASSERT_TRUE(skin->HasRegion);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);

  ownData->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return !Find(form->Handle()); }));
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC), procedure);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form->Handle(), region.get()), ERROR);
  EXPECT_EQ(SendMessageW(form->Handle(), SKM_QUERYNOSKIN, 0, 0), 0);
}

// A form's own skin data loaded active from its description skins its form when no main skin
// data is there to hook the windows, and beside the main window's empty one; loaded inactive or
// without a skin it skins nothing. No other form shown takes its skin.
TEST_F(SkinnedForms, AFormsOwnSkinDataLoadedActiveSkinsItsFormWithoutAMainSkinData) {
  const std::string package = Hex(StoredStream(BuildPackage(FormSkinSpec(StandardButtons()))));
  const std::string none = Hex(StoredStream({}));
  struct Case {
    const char* name;
    bool emptyMain, active, withSkin, skinned;
  };
  for (const Case& c : {Case{"alone", false, true, true, true}, Case{"beside an empty main one", true, true, true, true},
                        Case{"inactive", false, false, true, false}, Case{"without a skin", false, true, false, false},
                        Case{"inactive beside an empty main one", true, false, true, false}}) {
    SCOPED_TRACE(c.name);
    holder_.reset();
    FreeSkinManager();
    Owned<TSkinTestForm> main;
    if (c.emptyMain) main = ReadSkinForm(SkinFormText(MainWindowBlock()));
    Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(
        std::string("    Active = ") + (c.active ? "True" : "False") + "\n    SkinFormtype = sfOnlyThisForm\n" +
        "    SkinStream = {\n      " + (c.withSkin ? package : none) + "}\n"));
    ASSERT_NE(SkinManager(), nullptr);
    Owned<vcl::TForm> other = NewForm();
    form->Show();
    other->Show();
    if (c.skinned) {
      ASSERT_TRUE(PumpUntil([&] { return Ready(form->Handle()); }));
      EXPECT_EQ(Find(form->Handle())->SkinData, form->SkinData());
      EXPECT_EQ(Find(form->Handle())->TopHeight, kTop);
    }
    ASSERT_TRUE(PumpUntil([] { return !SkinManager()->Timer()->Enabled() && QueueEmpty(); }));
    EXPECT_EQ(Find(form->Handle()) != nullptr, c.skinned);
    EXPECT_EQ(Find(other->Handle()), nullptr);
    other.reset();
    form.reset();
  }
}

// A skin data freed while windows it skinned are open keeps nothing of itself in them: with
// another skin data left they are skinned again with that one, with none left they get their
// own frame, procedure and menu back; a popup window it framed lets go of it too. Freeing one
// that skins nothing leaves the windows as they are.
TEST_F(SkinnedForms, FreeingASkinDataHandsItsWindowsToTheSkinDataLeftOrGivesThemBack) {
  auto anotherSkinData = [] {
    return ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(FormSkinSpec(StandardButtons(), true))))));
  };
  auto anyKeeps = [](const TSkinData* gone) {
    TSkinManage* m = SkinManager();
    for (int i = 0; i < m->FormCount(); ++i)
      if (m->Forms(i)->SkinData == gone) return true;
    for (int i = 0; i < m->PopMenuCount(); ++i)
      if (m->PopMenus(i)->SkinData == gone) return true;
    return false;
  };
  UniqueWindow raw = RawWindow();
  const LONG_PTR procedure = GetWindowLongPtrW(raw.get(), GWLP_WNDPROC);
  ASSERT_TRUE(SkinRaw(raw.get()));
  Owned<vcl::TForm> form = NewFormWithFileMenu();
  ASSERT_TRUE(ShowSkinned(form.get()));
  ASSERT_EQ(GetMenu(form->Handle()), nullptr);
  HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW, L"#32768", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_EQ(SkinManager()->PopMenuCount(), 1);
  const LONG_PTR framed = GetWindowLongPtrW(popup, GWLP_WNDPROC);

  // One that skins nothing goes: the windows keep their objects.
  TWinSkinForm* rawSkin = Find(raw.get());
  TWinSkinForm* formSkin = Find(form->Handle());
  {
    Owned<TSkinTestForm> idle = anotherSkinData();
    TSkinData* gone = idle->SkinData();
    vcl::TObject::Free(gone);
    EXPECT_FALSE(anyKeeps(gone));
  }
  EXPECT_EQ(Find(raw.get()), rawSkin);
  EXPECT_EQ(Find(form->Handle()), formSkin);
  EXPECT_EQ(SkinManager()->PopMenuCount(), 1);

  // The one in use goes while another remains: the windows are that one's.
  Owned<TSkinTestForm> left = anotherSkinData();
  TSkinData* remaining = left->SkinData();
  TSkinData* gone = data_;
  data_ = nullptr;
  vcl::TObject::Free(gone);
  ASSERT_FALSE(anyKeeps(gone));
  EXPECT_EQ(SkinManager()->PopMenuCount(), 0);
  EXPECT_NE(GetWindowLongPtrW(popup, GWLP_WNDPROC), framed);
  DestroyWindow(popup);
  for (HWND w : {raw.get(), form->Handle()}) {
    ASSERT_TRUE(PumpUntil([&] { return Ready(w) && Find(w)->SkinData == remaining; }));
    // It repaints and resizes with the skin it has now (the remaining skin's left border is
    // cut at its corner).
    SetWindowPos(w, nullptr, 0, 0, 330, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_TRUE(Find(w)->HasRegion);
  }
  EXPECT_TRUE(Find(form->Handle())->MenuBar());

  // The last one goes: every window gets its own frame back and repaints and resizes.
  vcl::TObject::Free(remaining);
  ASSERT_FALSE(anyKeeps(remaining));
  ASSERT_TRUE(PumpUntil([] { return SkinManager()->FormCount() == 0; }));
  EXPECT_EQ(GetWindowLongPtrW(raw.get(), GWLP_WNDPROC), procedure);
  for (HWND w : {raw.get(), form->Handle()}) {
    EXPECT_EQ(SendMessageW(w, SKM_QUERYNOSKIN, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongPtrW(w, GWL_STYLE) & WS_SYSMENU);
    vcl::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(w, region.get()), ERROR);
    SetWindowPos(w, nullptr, 0, 0, 310, 230, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(w, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  }
  EXPECT_NE(GetMenu(form->Handle()), nullptr);  // the native bar is back
}

// Unskinned, a window of no form object has its menu back on its own bar, and an MDI frame whose
// document is maximised shows that document's icon and buttons on its menu again, as it did before
// the skin (the client marks the frame's menu only while the frame shows it, which the skin's bar
// had taken off). A frame whose documents are not maximised keeps its menu as it is.
TEST_F(SkinnedForms, FreeingTheSkinDataGivesWindowsTheirMenusBackWithAMaximisedDocumentsButtons) {
  UseSkin(StandardButtons());
  HMENU plainMenu = CreateMenu();
  AppendMenuW(plainMenu, MF_STRING, 11, L"&Go");
  UniqueWindow plain = RawWindow(WS_OVERLAPPEDWINDOW, 0, 0, plainMenu);
  ASSERT_TRUE(SkinRaw(plain.get()));
  ASSERT_TRUE(Find(plain.get())->MenuBar());
  ASSERT_EQ(GetMenu(plain.get()), nullptr);

  MdiWindows mdi;
  ASSERT_TRUE(mdi.client);
  HMENU frameMenu = CreateMenu();
  AppendMenuW(frameMenu, MF_STRING, 12, L"&File");
  SendMessageW(mdi.client, WM_MDISETMENU, reinterpret_cast<WPARAM>(frameMenu), 0);
  ASSERT_EQ(GetMenu(mdi.frame.get()), frameMenu);
  MdiWindows other;  // its document stays as it is
  ASSERT_TRUE(other.client);
  HMENU otherMenu = CreateMenu();
  AppendMenuW(otherMenu, MF_STRING, 13, L"&Edit");
  SendMessageW(other.client, WM_MDISETMENU, reinterpret_cast<WPARAM>(otherMenu), 0);
  for (HWND frame : {mdi.frame.get(), other.frame.get()}) ASSERT_TRUE(SkinRaw(frame));
  const HWND doc = mdi.Document(L"Document", 10);
  const HWND normal = other.Document(L"Normal", 10);
  ASSERT_TRUE(doc && normal);
  ASSERT_TRUE(PumpUntil([&] { return Ready(doc) && Ready(normal); }));
  ShowWindow(doc, SW_MAXIMIZE);
  PumpUntilIdle();
  ASSERT_TRUE(IsZoomed(doc));
  ASSERT_EQ(GetMenu(mdi.frame.get()), nullptr);

  TSkinData* gone = data_;
  data_ = nullptr;
  vcl::TObject::Free(gone);
  EXPECT_EQ(GetMenu(plain.get()), plainMenu);
  EXPECT_EQ(GetMenuItemCount(plainMenu), 1);
  EXPECT_EQ(GetMenu(mdi.frame.get()), frameMenu);
  EXPECT_NE(GetMenuState(frameMenu, 12, MF_BYCOMMAND), static_cast<UINT>(-1));
  // The maximised document's close and restore buttons stand on the frame's bar.
  EXPECT_NE(GetMenuState(frameMenu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_NE(GetMenuState(frameMenu, SC_RESTORE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenu(other.frame.get()), otherMenu);
  EXPECT_EQ(GetMenuItemCount(otherMenu), 1);
  // Restored, the document takes its buttons off the bar again.
  ShowWindow(doc, SW_RESTORE);
  PumpUntilIdle();
  EXPECT_EQ(GetMenuState(frameMenu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  EXPECT_EQ(GetMenuItemCount(frameMenu), 1);
  EXPECT_GT(GetMenuItemCount(GetSystemMenu(doc, FALSE)), 0);  // the document's system menu lives on
  SendMessageW(mdi.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(doc), 0);
  SendMessageW(other.client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(normal), 0);
}

LRESULT CALLBACK CountingSubclass(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR count) {
  if (msg == WM_USER + 7) ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(w, msg, wp, lp);
}

TEST_F(SkinnedForms, ASubclassInstalledAfterTheSkinSurvivesItsDetach) {
  UniqueWindow w = RawWindow();
  TWinSkinForm* skin = SkinRaw(w.get());
  ASSERT_TRUE(skin);
  int count = 0;
  ASSERT_TRUE(SetWindowSubclass(w.get(), &CountingSubclass, 1, reinterpret_cast<DWORD_PTR>(&count)));
  skin->Unskin();
  SendMessageW(w.get(), WM_USER + 7, 0, 0);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(SendMessageW(w.get(), SKM_QUERYNOSKIN, 0, 0), 0);
  RemoveWindowSubclass(w.get(), &CountingSubclass, 1);
  SendMessageW(w.get(), WM_USER + 7, 0, 0);
  EXPECT_EQ(count, 1);
}

TEST_F(SkinnedForms, AWindowProcHookInstalledAfterTheSkinsFormHookSurvivesItsDetach) {
  Owned<vcl::TForm> form = NewForm();
  form->SetColor(vcl::clYellow);
  TWinSkinForm* skin = ShowSkinned(form.get());
  ASSERT_TRUE(skin);
  EXPECT_EQ(form->Color(), data_->Skin()->Color(skin_classic::kColourButtonFace));
  struct Counter {
    vcl::TWindowProcHook hook;
    int seen = 0;
    void Proc(vcl::TMessage& m) {
      if (m.Msg == WM_USER + 9) ++seen;
      hook.CallPrevious(m);
    }
  } counter;
  counter.hook.Install(form.get(), vcl::TWndMethod::Bind<&Counter::Proc>(&counter));
  skin->Unskin();
  EXPECT_EQ(form->Color(), vcl::clYellow);  // the form's own colour again
  form->Perform(WM_USER + 9, 0, 0);
  EXPECT_EQ(counter.seen, 1);
  EXPECT_TRUE(counter.hook.OnTop());
  // The skin's hook is gone from the chain: the other engine's query goes unanswered.
  EXPECT_NE(form->Perform(kEngineQuerySkinned, 0, kEngineMark), kEngineMark);
  counter.hook.Remove();
}

TEST_F(SkinnedForms, TheFramePaintingFlagIsPublishedAndStopsPainting) {
  EXPECT_EQ(vcl::GetOrdProp(data_, L"FramePainting"), 1);
  UniqueWindow w = RawWindow();
  ASSERT_TRUE(SkinRaw(w.get()));
  data_->SetFramePainting(false);
  // WM_NCPAINT paints nothing while the flag is clear (the window DC is left alone too).
  EXPECT_EQ(SendMessageW(w.get(), WM_NCPAINT, 1, 0), 0);
  data_->SetFramePainting(true);
}

}  // namespace
}  // namespace winskin::test
