// Skinned scroll bars on a 100-item library list box and on bare windows with ranges of their
// own: painting by section, arrows, pages, repeat, thumb drags, the corner grip; and presses on
// the bars of controls a form's provider adapted, whose own handler of a scroll message frees
// the control, its form or the skin. Timers are sent as messages and the mouse comes through
// the adapters' seams: nothing waits.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <tuple>
#include <vector>

#include "adapters_support.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/comctrls/ComCtrlsListView.h"
#include "classlib/comctrls/Grids.h"
#include "classlib/comctrls/TreeView.h"
#include "classlib/stdctrls/ListBox.h"
#include "skin_layered/adapters/ComboBoxWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/forms/SkinProvider.h"
#include "support/win_test_support.h"

// While holding (HeldFrees below), a block freed through delete is poisoned and held back from
// the heap: code that touches an object after it was freed reads the poison (a pointer read
// from it faults) or changes it, which the holder tells. Otherwise the heap's own. A fault in a
// window procedure the system called back may be swallowed by the system: the holder counts
// the faults as they are raised.
namespace {

struct THeldBlock {
  void* Block;
  std::size_t Size;
};
constexpr unsigned char kPoison = 0xAB;
constexpr std::size_t kHeldCapacity = 1 << 16;
THeldBlock g_held[kHeldCapacity];
std::size_t g_held_count = 0;
bool g_holding = false;
SRWLOCK g_held_lock = SRWLOCK_INIT;

}  // namespace

void* operator new(std::size_t Size) {
  if (void* block = std::malloc(Size ? Size : 1)) return block;
  throw std::bad_alloc();
}

void operator delete(void* Block) noexcept {
  if (!Block) return;
  AcquireSRWLockExclusive(&g_held_lock);
  const bool hold = g_holding && g_held_count < kHeldCapacity;
  if (hold) {
    const std::size_t size = _msize(Block);
    std::memset(Block, kPoison, size);
    g_held[g_held_count++] = {Block, size};
  }
  ReleaseSRWLockExclusive(&g_held_lock);
  if (!hold) std::free(Block);
}

void operator delete(void* Block, std::size_t) noexcept { operator delete(Block); }

namespace skin_layered::test {
namespace {

// Holds the blocks freed while it lives (one at a time); they go back to the heap with it.
class HeldFrees {
 public:
  HeldFrees() : handler_(AddVectoredExceptionHandler(1, &CountFault)) {
    g_faults = 0;
    Hold(true);
  }
  ~HeldFrees() {
    Hold(false);
    RemoveVectoredExceptionHandler(handler_);
    for (std::size_t i = 0; i < g_held_count; ++i) std::free(g_held[i].Block);
    g_held_count = 0;
  }
  HeldFrees(const HeldFrees&) = delete;
  HeldFrees& operator=(const HeldFrees&) = delete;

  // Access violations raised meanwhile, handled or not.
  int Faults() const { return g_faults; }
  // The object at Address was freed meanwhile.
  bool Holds(const void* Address) const { return Find(Address).has_value(); }
  // ... and nothing wrote to it since.
  bool Untouched(const void* Address) const {
    const std::optional<THeldBlock> held = Find(Address);
    const auto* bytes = held ? static_cast<const unsigned char*>(held->Block) : nullptr;
    return held && std::all_of(bytes, bytes + held->Size, [](unsigned char b) { return b == kPoison; });
  }

 private:
  static void Hold(bool Value) {
    AcquireSRWLockExclusive(&g_held_lock);
    g_holding = Value;
    ReleaseSRWLockExclusive(&g_held_lock);
  }
  static std::optional<THeldBlock> Find(const void* Address) {
    AcquireSRWLockShared(&g_held_lock);
    std::optional<THeldBlock> found;
    for (std::size_t i = 0; i < g_held_count && !found; ++i)
      if (g_held[i].Block == Address) found = g_held[i];
    ReleaseSRWLockShared(&g_held_lock);
    return found;
  }
  static LONG CALLBACK CountFault(EXCEPTION_POINTERS* Info) {
    if (Info->ExceptionRecord->ExceptionCode == EXCEPTION_ACCESS_VIOLATION) ++g_faults;
    return EXCEPTION_CONTINUE_SEARCH;
  }

  static inline std::atomic<int> g_faults{0};
  void* handler_;
};

struct TScroll {
  UINT Msg;
  int Code;
  int Pos;      // HIWORD of WParam
  LPARAM LParam;
};

std::vector<TScroll> g_scrolls;
std::vector<TScroll>& Scrolls() { return g_scrolls; }
bool g_position_in_lparam = false;

// A bare window that scrolls nothing and keeps what it was sent.
LRESULT CALLBACK TargetProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_VSCROLL || Msg == WM_HSCROLL) {
    Scrolls().push_back({Msg, LOWORD(WParam), HIWORD(WParam), LParam});
    return 0;
  }
  if (Msg == kSkinCmdMessage && SkinCommandOf(WParam) == scmBeforeScroll) return g_position_in_lparam ? 1 : 0;
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

// A bare window with the bars given, each of the range given, at its first position.
HWND ScrollTarget(HWND Parent, int X, int Y, int W, int H, DWORD Bars, int Min = 0, int Max = 99, UINT Page = 10) {
  HWND wnd = Child(Parent, wintest::TestWindowClass(L"AdapterScrollTarget", TargetProc), Bars, X, Y, W, H);
  const SCROLLINFO range{sizeof(SCROLLINFO), SIF_ALL, Min, Max, Page, Min, 0};
  if (Bars & WS_VSCROLL) SetScrollInfo(wnd, SB_VERT, &range, FALSE);
  if (Bars & WS_HSCROLL) SetScrollInfo(wnd, SB_HORZ, &range, FALSE);
  return wnd;
}

int ScrollPos(HWND Wnd, int Bar) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(Wnd, Bar, &info);
  return info.nPos;
}

std::vector<int> Codes() {
  std::vector<int> codes;
  for (const TScroll& s : Scrolls()) codes.push_back(s.Code);
  return codes;
}

LPARAM ScreenLParam(POINT P) { return MAKELPARAM(static_cast<WORD>(P.x), static_cast<WORD>(P.y)); }

LPARAM ClientLParam(HWND Wnd, POINT Screen) {
  ScreenToClient(Wnd, &Screen);
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(Screen.x)), static_cast<WORD>(static_cast<short>(Screen.y)));
}

class ScrollBars : public SkinnedTest {
 protected:
  void SetUp() override {
    LoadSkin();
    form->SetBounds(20, 20, 420, 320);
    form->Show();
    Scrolls().clear();
    g_position_in_lparam = false;
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
  }

  // The 100-item list box with skinned bars; its scroll messages are recorded below the
  // adapter.
  vcl::TListBox* MakeListBox(int Count = 100) {
    auto* list = Put<vcl::TListBox>(form.get(), 10, 10, 150, 120);
    // Items of a long list come in unpainted.
    SendMessageW(list->Handle(), LB_INITSTORAGE, static_cast<WPARAM>(Count), static_cast<LPARAM>(Count) * 16);
    SendMessageW(list->Handle(), WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < Count; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
    SendMessageW(list->Handle(), WM_SETREDRAW, TRUE, 0);
    recorder.hook.Install(list, vcl::TWndMethod::Bind<&TRecorder::Proc>(&recorder));
    adapter = CreateAdapter<TqvScrollWnd>(list->Handle(), nullptr, manager.get(), TqvSkinParams{list, L"EDIT"}, true);
    return list;
  }
  TqvScrollWnd* Adapt(HWND Wnd) {
    adapter = CreateAdapter<TqvScrollWnd>(Wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
    return adapter.get();
  }

  vcl::TRect VBar() const {
    vcl::TRect r;
    GetVScrollRect(adapter.get(), adapter->CtrlHandle, r);
    return r;
  }
  int Button() const { return GetScrollMetric(adapter->VertBar.get(), false); }
  // Screen points of the vertical bar: at a distance from its top or its bottom.
  POINT FromTop(int Dy) const { return {VBar().Left + VBar().Width() / 2, VBar().Top + Dy}; }
  POINT FromBottom(int Dy) const { return {VBar().Left + VBar().Width() / 2, VBar().Bottom - 1 - Dy}; }
  TqvThumb Thumb() const {
    adapter->VertBar->ReadInfo();
    return ThumbGeometry(VBar().Top, VBar().Height(), Button(), adapter->VertBar->MinThumb, adapter->VertBar->Info);
  }

  LRESULT Press(POINT Screen, WPARAM Hit = HTVSCROLL) {
    cursor = Screen;
    button_down = true;
    return SendMessageW(adapter->CtrlHandle, WM_NCLBUTTONDOWN, Hit, ScreenLParam(Screen));
  }
  void MoveTo(POINT Screen) {
    cursor = Screen;
    SendMessageW(adapter->CtrlHandle, WM_MOUSEMOVE, MK_LBUTTON, ClientLParam(adapter->CtrlHandle, Screen));
  }
  void Release() {
    button_down = false;
    SendMessageW(adapter->CtrlHandle, WM_LBUTTONUP, 0, ClientLParam(adapter->CtrlHandle, cursor));
  }
  void Tick(UINT_PTR Id) { SendMessageW(adapter->CtrlHandle, WM_TIMER, Id, 0); }

  // The colour the frame shows at a screen point when painted now.
  COLORREF PixelAt(POINT Screen) {
    FramePixels pixels(adapter->CtrlHandle);
    PaintScrollBars(adapter.get(), adapter->CtrlHandle, kPartNone, pixels.DC());
    RECT wr{};
    GetWindowRect(adapter->CtrlHandle, &wr);
    return pixels.At(Screen.x - wr.left, Screen.y - wr.top);
  }
  int TopIndex() const { return static_cast<int>(SendMessageW(adapter->CtrlHandle, LB_GETTOPINDEX, 0, 0)); }

  struct TRecorder {
    vcl::TWindowProcHook hook;
    void Proc(vcl::TMessage& m) {
      if (m.Msg == WM_VSCROLL || m.Msg == WM_HSCROLL)
        Scrolls().push_back({m.Msg, LOWORD(m.WParam), HIWORD(m.WParam), m.LParam});
      hook.CallPrevious(m);
    }
  } recorder;
  TqvAdapterPtr<TqvScrollWnd> adapter;
  MouseSeam mouse;
  POINT& cursor = mouse.cursor;
  bool& button_down = mouse.down;
};

TEST_F(ScrollBars, AListBoxShowsItsVerticalBarFromTheSkin) {
  MakeListBox();
  ASSERT_TRUE(adapter->VertBar->Visible);
  EXPECT_FALSE(adapter->HorzBar->Visible);
  EXPECT_EQ(GetScrollBarObject(adapter->CtrlHandle, kVertBar), adapter->VertBar.get());
  EXPECT_EQ(SetMinThumb(adapter->CtrlHandle, kVertBar, 0x10014), 1);
  EXPECT_EQ(adapter->VertBar->MinThumb, 0x14);
  SetMinThumb(adapter->CtrlHandle, 3, kDefaultMinThumb);
  // The client area leaves the bar out.
  RECT client{};
  GetClientRect(adapter->CtrlHandle, &client);
  EXPECT_EQ(client.right, 150 - adapter->BorderLeft - adapter->BorderRight - VBar().Width());

  EXPECT_EQ(SendMessageW(adapter->CtrlHandle, WM_NCHITTEST, 0, ScreenLParam(FromTop(30))), HTVSCROLL);
  EXPECT_EQ(PixelAt(FromTop(1)), kTopColor);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
  EXPECT_EQ(PixelAt(FromTop(Button() + 1)), kSliderV);  // the thumb at the top
  EXPECT_EQ(PixelAt(FromBottom(Button() + 1)), kTrack2V);
  SendMessageW(adapter->CtrlHandle, LB_SETTOPINDEX, 50, 0);
  EXPECT_EQ(PixelAt(FromTop(Button() + 1)), kTrack1V);
  const TqvThumb thumb = Thumb();
  EXPECT_EQ(PixelAt({FromTop(0).x, thumb.Start + thumb.Length / 2}), kSliderV);
}

// The part under the mouse is found by the hover timer (0xFFF2) and shown hot until the mouse
// leaves the bar, when the timer stops and the bar shows its normal look again.
TEST_F(ScrollBars, TheHoverTimerShowsThePartUnderTheMouseHot) {
  MakeListBox();
  const HWND h = adapter->CtrlHandle;
  const TqvThumb thumb = Thumb();
  const POINT onThumb{FromTop(0).x, thumb.Start + thumb.Length / 2};
  cursor = onThumb;
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(onThumb));
  EXPECT_EQ(PixelAt(onThumb), kSliderV);  // nothing hot before the timer looks
  Tick(kHoverTimer);
  EXPECT_EQ(PixelAt(onThumb), kSliderVHot);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
  EXPECT_EQ(PixelAt(FromTop(1)), kTopColor);

  cursor = FromBottom(2);  // the mouse moves on inside the bar: the timer follows it
  Tick(kHoverTimer);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomHot);
  EXPECT_EQ(PixelAt(onThumb), kSliderV);
  const POINT onTrack{FromTop(0).x, thumb.Start + thumb.Length + 5};
  cursor = onTrack;
  Tick(kHoverTimer);
  EXPECT_EQ(PixelAt(onTrack), kTrack2VHot);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);

  RECT wr{};
  GetWindowRect(h, &wr);
  cursor = {wr.left + 5, wr.top + 5};  // out of the bar, over the items
  Tick(kHoverTimer);
  EXPECT_EQ(PixelAt(onTrack), kTrack2V);
  EXPECT_EQ(PixelAt(onThumb), kSliderV);
  EXPECT_FALSE(KillTimer(h, kHoverTimer));  // stopped when the mouse left
  cursor = FromBottom(2);  // the timer is gone: back over the bar nothing is hot without a move
  Tick(kHoverTimer);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
}

TEST_F(ScrollBars, ArrowsScrollALineAndPageClicksAPageEachEndingOnTheButtonUp) {
  MakeListBox();
  const HWND h = adapter->CtrlHandle;
  EXPECT_EQ(Press(FromBottom(2)), 0);
  EXPECT_EQ(GetCapture(), h);
  EXPECT_EQ(Scrolls().at(0).Msg, static_cast<UINT>(WM_VSCROLL));
  EXPECT_EQ(TopIndex(), 1);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomHot);  // shown pressed
  Release();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_NE(GetCapture(), h);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
  Scrolls().clear();
  Press(FromTop(2));
  Release();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
  EXPECT_EQ(TopIndex(), 0);

  Scrolls().clear();
  const TqvThumb thumb = Thumb();
  Press({FromTop(0).x, thumb.Start + thumb.Length + 5});
  Release();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_PAGEDOWN, SB_ENDSCROLL}));
  EXPECT_GT(TopIndex(), 1);  // a page of items
  SendMessageW(h, LB_SETTOPINDEX, 50, 0);
  Scrolls().clear();
  Press(FromTop(Button() + 1));  // the track above the thumb, shown pressed
  EXPECT_EQ(PixelAt(FromTop(Button() + 1)), kTrack1VHot);
  Release();
  EXPECT_EQ(PixelAt(FromTop(Button() + 1)), kTrack1V);
  EXPECT_EQ(Codes(), (std::vector<int>{SB_PAGEUP, SB_ENDSCROLL}));
  EXPECT_LT(TopIndex(), 50);
}

TEST_F(ScrollBars, HoldingAnArrowRepeatsUntilTheCaptureIsLost) {
  MakeListBox();
  Press(FromBottom(2));
  Tick(kRepeatDelayTimer);  // the delay ends: no scroll of its own
  Tick(kRepeatTimer);
  Tick(kRepeatTimer);
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_LINEDOWN}));
  EXPECT_EQ(TopIndex(), 3);
  // Off the arrow: no more lines, the press still held.
  cursor = FromTop(Button() + 30);
  Tick(kRepeatTimer);
  EXPECT_EQ(Codes().size(), 3u);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
  cursor = FromBottom(2);
  Tick(kRepeatTimer);
  EXPECT_EQ(Codes().size(), 4u);
  // Another window takes the mouse: the press ends there and then.
  SetCapture(form->Handle());
  EXPECT_EQ(Codes().size(), 5u);
  EXPECT_EQ(Codes().back(), SB_ENDSCROLL);
  Tick(kRepeatTimer);
  Release();
  EXPECT_EQ(Codes().size(), 5u);
  EXPECT_EQ(GetCapture(), form->Handle());
}

TEST_F(ScrollBars, ARepeatWhoseButtonCameUpElsewhereEnds) {
  MakeListBox();
  Press(FromBottom(2));
  Tick(kRepeatDelayTimer);
  Tick(kRepeatTimer);
  button_down = false;  // released where the window never heard it
  Tick(kRepeatTimer);
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_NE(GetCapture(), adapter->CtrlHandle);
  Tick(kRepeatTimer);
  EXPECT_EQ(Codes().size(), 3u);
}

TEST_F(ScrollBars, DraggingTheListBoxThumbToTheEnd) {
  MakeListBox();
  const POINT grip{FromTop(0).x, Thumb().Start + 3};
  Press(grip);
  EXPECT_TRUE(Codes().empty());
  EXPECT_TRUE(adapter->Dragging);
  MoveTo({grip.x, grip.y + 1000});
  MoveTo({grip.x, grip.y + 2000});  // no new position, no new message
  ASSERT_EQ(Codes(), std::vector<int>{SB_THUMBTRACK});
  const int last = Scrolls()[0].Pos;
  Release();
  EXPECT_FALSE(adapter->Dragging);
  EXPECT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(Scrolls()[1].Pos, last);
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(adapter->CtrlHandle, SB_VERT, &info);
  EXPECT_EQ(last, info.nMax - std::max<int>(static_cast<int>(info.nPage), 1) + 1);
  EXPECT_EQ(TopIndex(), last);
}

// A list whose last top item is the last 16-bit position, or the first past it: the thumb
// dragged to the end and let go leaves the list at its last page, and a drag back to the top
// (positions the message carries) at its first.
TEST_F(ScrollBars, DraggingTheThumbOfAListBoxOfMoreThanSixteenBitsOfItems) {
  for (const int lastTop : {65535, 65536, 70000}) {
    SCOPED_TRACE(lastTop);
    // The page of the 120-pixel list: its client height over its item height.
    auto* probe = Put<vcl::TListBox>(form.get(), 10, 10, 150, 120);
    RECT client{};
    GetClientRect(probe->Handle(), &client);
    const int page = client.bottom / static_cast<int>(SendMessageW(probe->Handle(), LB_GETITEMHEIGHT, 0, 0));
    vcl::TObject::Free(probe);
    ASSERT_GT(page, 0);
    auto* list = MakeListBox(lastTop + page);
    const POINT grip{FromTop(0).x, Thumb().Start + 3};
    Press(grip);
    MoveTo({grip.x, grip.y + 2000});
    Release();
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(adapter->CtrlHandle, SB_VERT, &info);
    ASSERT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, lastTop);
    EXPECT_EQ(TopIndex(), lastTop);
    EXPECT_EQ(info.nPos, lastTop);

    const POINT back{FromTop(0).x, Thumb().Start + 3};
    Press(back);
    MoveTo({back.x, back.y - 2000});
    Release();
    EXPECT_EQ(TopIndex(), 0);
    adapter.reset();
    recorder.hook.Remove();
    vcl::TObject::Free(list);
  }
}

// The same for the system's list box (as in a dialog), adapted without a control.
TEST_F(ScrollBars, DraggingTheThumbOfASystemListBoxOfMoreThanSixteenBitsOfItems) {
  for (const int lastTop : {65535, 65536}) {
    SCOPED_TRACE(lastTop);
    const HWND wnd = CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10,
                                     10, 150, 120, form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(wnd);
    RECT client{};
    GetClientRect(wnd, &client);
    const int page = client.bottom / static_cast<int>(SendMessageW(wnd, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(page, 0);
    SendMessageW(wnd, LB_INITSTORAGE, static_cast<WPARAM>(lastTop + page), static_cast<LPARAM>(lastTop + page) * 8);
    SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < lastTop + page; ++i) SendMessageW(wnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item"));
    SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
    Adapt(wnd);
    const POINT grip{FromTop(0).x, Thumb().Start + 3};
    Press(grip);
    MoveTo({grip.x, grip.y + 2000});
    Release();
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(wnd, SB_VERT, &info);
    ASSERT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, lastTop);
    EXPECT_EQ(TopIndex(), lastTop);
    adapter.reset();
    DestroyWindow(wnd);
  }
}

// A memo whose last top line is the last positive 16-bit position, or past it: the thumb
// dragged to the end shows the last page while dragged and once let go, and back at the top
// the first. The library's memo and the system's edit control.
TEST_F(ScrollBars, DraggingTheThumbOfAMemoPastFifteenBitsOfLines) {
  for (const bool system : {false, true}) {
    for (const int lastTop : {32767, 32768, 70000}) {
      SCOPED_TRACE(testing::Message() << (system ? "system " : "library ") << lastTop);
      vcl::TMemo* memo = nullptr;
      HWND wnd = nullptr;
      if (system) {
        wnd = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE, 10, 10, 150, 120,
                              form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
      } else {
        memo = Put<vcl::TMemo>(form.get(), 10, 10, 150, 120);
        memo->SetScrollBars(vcl::ssVertical);
        wnd = memo->Handle();
      }
      ASSERT_TRUE(wnd);
      SendMessageW(wnd, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
      std::wstring text;
      for (int i = 0; i < 100; ++i) text += L"x\r\n";
      SetWindowTextW(wnd, text.c_str());
      // The page: the lines shown, found from the bar once it holds them all.
      SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
      GetScrollInfo(wnd, SB_VERT, &info);
      const int page = static_cast<int>(info.nPage);
      ASSERT_GT(page, 0);
      text.clear();
      for (int i = 0; i < lastTop + page - 1; ++i) text += L"x\r\n";
      text += L"x";
      SetWindowTextW(wnd, text.c_str());
      Adapt(wnd);
      const POINT grip{FromTop(0).x, Thumb().Start + 3};
      Press(grip);
      MoveTo({grip.x, grip.y + 2000});
      GetScrollInfo(wnd, SB_VERT, &info);
      ASSERT_EQ(info.nMax - static_cast<int>(info.nPage) + 1, lastTop);
      EXPECT_EQ(SendMessageW(wnd, EM_GETFIRSTVISIBLELINE, 0, 0), lastTop);
      Release();
      EXPECT_EQ(SendMessageW(wnd, EM_GETFIRSTVISIBLELINE, 0, 0), lastTop);

      const POINT back{FromTop(0).x, Thumb().Start + 3};
      Press(back);
      MoveTo({back.x, back.y - 2000});
      Release();
      EXPECT_EQ(SendMessageW(wnd, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
      adapter.reset();
      if (memo)
        vcl::TObject::Free(memo);
      else
        DestroyWindow(wnd);
    }
  }
}

TEST_F(ScrollBars, AThumbDragOverARangeNotStartingAtZeroStaysInsideIt) {
  HWND wnd = ScrollTarget(form->Handle(), 10, 10, 120, 200, WS_VSCROLL, 50, 249, 20);
  Adapt(wnd);
  const POINT grip{FromTop(0).x, Thumb().Start + 2};
  Press(grip);
  for (int dy = 5; dy <= 400; dy += 15) MoveTo({grip.x, grip.y + dy});
  ASSERT_FALSE(Scrolls().empty());
  for (const TScroll& s : Scrolls()) {
    EXPECT_EQ(s.Code, SB_THUMBTRACK);
    EXPECT_GE(s.Pos, 50);
    EXPECT_LE(s.Pos, 230);
  }
  EXPECT_EQ(Scrolls().back().Pos, 230);
  EXPECT_EQ(ScrollPos(wnd, SB_VERT), 230);  // written for the window as it tracks
  for (int dy = 400; dy >= -400; dy -= 40) MoveTo({grip.x, grip.y + dy});
  Release();
  EXPECT_EQ(Scrolls().back().Code, SB_ENDSCROLL);
  EXPECT_EQ(Scrolls()[Scrolls().size() - 2].Code, SB_THUMBPOSITION);
  EXPECT_EQ(Scrolls()[Scrolls().size() - 2].Pos, 50);
}

TEST_F(ScrollBars, TheWindowMayTakeThePositionInLParamInstead) {
  HWND wnd = ScrollTarget(form->Handle(), 10, 10, 120, 200, WS_VSCROLL);
  Adapt(wnd);
  g_position_in_lparam = true;
  const POINT grip{FromTop(0).x, Thumb().Start + 2};
  Press(grip);
  MoveTo({grip.x, grip.y + 50});
  ASSERT_FALSE(Scrolls().empty());
  EXPECT_GT(Scrolls().back().LParam, 0);
  EXPECT_EQ(Scrolls().back().LParam, Scrolls().back().Pos);
  EXPECT_EQ(ScrollPos(wnd, SB_VERT), 0);  // SCROLLINFO left alone
  Release();
}

TEST_F(ScrollBars, ADisabledFirstArrowSendsAndCapturesNothing) {
  MakeListBox();
  adapter->VertBar->Flags |= kFirstArrowDisabled;
  EXPECT_EQ(Press(FromTop(2)), 0);
  EXPECT_NE(GetCapture(), adapter->CtrlHandle);
  Release();
  EXPECT_TRUE(Scrolls().empty());
}

TEST_F(ScrollBars, TheCornerGripAnswersOnlyAtTheFormsCorner) {
  RECT client{};
  GetClientRect(form->Handle(), &client);
  HWND wnd = ScrollTarget(form->Handle(), client.right - 150, client.bottom - 100, 150, 100, WS_VSCROLL | WS_HSCROLL);
  Adapt(wnd);
  ASSERT_TRUE(adapter->VertBar->Visible && adapter->HorzBar->Visible);
  auto corner = [wnd] {
    RECT wr{};
    GetWindowRect(wnd, &wr);
    return SendMessageW(wnd, WM_NCHITTEST, 0, ScreenLParam({wr.right - 3, wr.bottom - 3}));
  };
  EXPECT_TRUE(CornerHasGrip(adapter.get()));
  EXPECT_EQ(corner(), HTBOTTOMRIGHT);
  vcl::TRect h;
  GetHScrollRect(adapter.get(), wnd, h);
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenLParam({h.Left + 30, h.Top + 2})), HTHSCROLL);
  MoveWindow(wnd, 10, 10, 150, 100, TRUE);
  EXPECT_FALSE(CornerHasGrip(adapter.get()));
  EXPECT_NE(corner(), HTBOTTOMRIGHT);
}

TEST_F(ScrollBars, AHorizontalBarThickerThanTheClientIsLeftOut) {
  HWND wnd = ScrollTarget(form->Handle(), 10, 10, 150, 8, WS_HSCROLL);
  Adapt(wnd);
  EXPECT_FALSE(adapter->HorzBar->Visible);
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(client.bottom, 8);
}

TEST_F(ScrollBars, ABarTwoButtonsLongShowsTwoHalvesAndNoThumb) {
  const int button = GetSystemMetrics(SM_CXVSCROLL);
  manager->ScrollsOptions()->SetButtonsSize(button);
  HWND wnd = ScrollTarget(form->Handle(), 10, 10, 100, 2 * button, WS_VSCROLL);
  Adapt(wnd);
  ASSERT_EQ(VBar().Height(), 2 * button);
  EXPECT_EQ(PixelAt(FromTop(1)), kTopColor);
  EXPECT_EQ(PixelAt(FromBottom(1)), kBottomColor);
  for (int dy = 0; dy < 2 * button; ++dy) EXPECT_NE(PixelAt(FromTop(dy)), kSliderV) << dy;
  EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenLParam(FromTop(button - 1))), HTVSCROLL);
  Press(FromTop(button - 1));
  Release();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEUP, SB_ENDSCROLL}));
}

TEST_F(ScrollBars, TheSkinGoingAndComingBackReachesTheAdaptedListBox) {
  MakeListBox();
  const HWND h = adapter->CtrlHandle;
  manager->SetActive(false);
  EXPECT_FALSE(adapter->FrameCalculated);  // the list box laid its own bars out
  EXPECT_EQ(SendCommandToWnd(h, scmIsSkinned, 0), 1);  // still handled by the engine
  // The system answers for its own bar (a press there would start the system's own loop).
  EXPECT_EQ(SendMessageW(h, WM_NCHITTEST, 0, ScreenLParam(FromBottom(2))), HTVSCROLL);
  manager->SetActive(true);
  ASSERT_TRUE(adapter->FrameCalculated);
  EXPECT_EQ(PixelAt(FromTop(1)), kTopColor);
  Press(FromBottom(2));
  Release();
  EXPECT_EQ(Codes(), (std::vector<int>{SB_LINEDOWN, SB_ENDSCROLL}));
}

TEST_F(ScrollBars, DetachingGivesTheWindowItsOwnBarsBack) {
  auto* list = MakeListBox();
  const POINT inBar = FromTop(30);
  UninstallScrollAdapter(adapter, true, true);
  EXPECT_EQ(adapter, nullptr);
  EXPECT_EQ(SendCommandToWnd(list->Handle(), scmIsSkinned, 0), 0);
  // The system's own bar lies where the skinned one was, and the list box scrolls by itself.
  EXPECT_EQ(SendMessageW(list->Handle(), WM_NCHITTEST, 0, ScreenLParam(inBar)), HTVSCROLL);
  SendMessageW(list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 1);
  recorder.hook.Remove();
}

// The pixel the window shows at a screen point, read from its own surface.
COLORREF ShownPixel(HWND Wnd, POINT Screen) {
  RECT wr{};
  GetWindowRect(Wnd, &wr);
  HDC dc = GetWindowDC(Wnd);
  const COLORREF c = GetPixel(dc, Screen.x - wr.left, Screen.y - wr.top);
  ReleaseDC(Wnd, dc);
  return c;
}

// The scroll skin with a flat form and title, loaded, for controls on a form whose provider
// adapts them (ProvidedForm).
ManagerPtr LoadedFormSkin(TempSkins& Skins) {
  return LoadedManager(Skins, L"Flat",
                       ScrollSkinText() + FlatSection("FORM", 0x808080, 0x808080) +
                           FlatSection("FORMTITLE", 0x606060, 0x707070));
}

// A shown form with a skin provider, which adapts the controls put on it.
FormPtr ProvidedForm() {
  FormPtr form = ShownForm();
  vcl::Construct<TsSkinProvider>(form.get());
  form->SetBounds(20, 20, 420, 320);
  return form;
}

// A list box on a skinned form, adapted by the form's provider: the mouse coming over its bar,
// moving on it and leaving it goes on to the window below, whose default handling may draw the
// system's own hot-tracked bar where the skinned one lies (Wine does once a thumb was dragged);
// the skinned bar is what the window shows all the same. Read from the window's own pixels.
TEST(ScrollBarsOfAMappedListBox, TheMouseOverTheBarLeavesTheSkinnedBarShowing) {
  TempSkins skins;
  ManagerPtr manager = LoadedFormSkin(skins);
  FormPtr form = ProvidedForm();
  auto* list = Put<vcl::TListBox>(form.get(), 10, 10, 150, 120);
  for (int i = 0; i < 100; ++i) list->Items()->Add(L"Item " + std::to_wstring(i));
  form->Show();
  wintest::PumpUntilIdle();
  const HWND h = list->Handle();
  TqvScrollWnd* adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);

  vcl::TRect bar;
  GetVScrollRect(adapter, h, bar);
  adapter->VertBar->ReadInfo();
  const int button = GetScrollMetric(adapter->VertBar.get(), false);
  const TqvThumb thumb = ThumbGeometry(bar.Top, bar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
  const POINT onThumb{bar.Left + bar.Width() / 2, thumb.Start + thumb.Length / 2};
  const POINT onArrow{onThumb.x, bar.Bottom - 3};
  // What the window shows at a screen point.
  auto shown = [h](POINT Screen) { return ShownPixel(h, Screen); };
  auto skinned = [](COLORREF C, COLORREF Normal, COLORREF Hot) { return C == Normal || C == Hot; };
  ASSERT_EQ(shown(onThumb), kSliderV);

  // The mouse comes over the thumb, moves to the arrow and leaves the frame.
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(onThumb));
  EXPECT_PRED3(skinned, shown(onThumb), kSliderV, kSliderVHot);
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(onArrow));
  EXPECT_PRED3(skinned, shown(onArrow), kBottomColor, kBottomHot);
  EXPECT_PRED3(skinned, shown(onThumb), kSliderV, kSliderVHot);
  SendMessageW(h, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_PRED3(skinned, shown(onArrow), kBottomColor, kBottomHot);
  EXPECT_PRED3(skinned, shown(onThumb), kSliderV, kSliderVHot);

  // The thumb dragged down and let go over the bar.
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(onThumb));
  SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenLParam(onThumb));
  const POINT lower{onThumb.x, onThumb.y + 30};
  POINT client = lower;
  ScreenToClient(h, &client);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
  wintest::Pump();
  EXPECT_PRED3(skinned, shown(lower), kSliderV, kSliderVHot);
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(lower));
  wintest::Pump();
  EXPECT_PRED3(skinned, shown(lower), kSliderV, kSliderVHot);
  SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(onArrow));
  wintest::Pump();
  EXPECT_PRED3(skinned, shown(lower), kSliderV, kSliderVHot);
  EXPECT_PRED3(skinned, shown(onArrow), kBottomColor, kBottomHot);
  SendMessageW(h, WM_NCMOUSELEAVE, 0, 0);
  wintest::Pump();
  EXPECT_PRED3(skinned, shown(lower), kSliderV, kSliderVHot);
  EXPECT_PRED3(skinned, shown(onArrow), kBottomColor, kBottomHot);
}

// A list box on a skinned form, adapted by the form's provider, whose items come and go one at a
// time with its redraw on, as a program's loop sends them: at each the system draws its own bar
// where the skinned one lies. The skinned bar is painted again once the run is over, not once an
// item, and then shows the list's own range: thumb, tracks and arrows where the list's
// SCROLLINFO puts them. Under the whole scroll skin and one without the second track (the
// system's track shows there). Read from the window's own pixels.
class FilledListBox : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    std::string scroll = ScrollSections();
    if (!GetParam())
      for (const std::string& second :
           {FlatSection("SCROLLBAR2H", kTrack2H, kTrack2HHot), FlatSection("SCROLLBAR2V", kTrack2V, kTrack2VHot)})
        scroll.erase(scroll.find(second), second.size());
    manager = LoadedManager(skins, L"Flat",
                            "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("EDIT", kEditColor, kEditColor) +
                                FlatSection("COMBOBOX", kEditColor, kEditColor) + scroll +
                                FlatSection("FORM", 0x808080, 0x808080) + FlatSection("FORMTITLE", 0x606060, 0x707070));
    form = ProvidedForm();
    list = Put<vcl::TListBox>(form.get(), 10, 10, 150, 120);
    form->Show();
    wintest::PumpUntilIdle();
    h = list->Handle();
    adapter = GetScrollAdapter(h);
    ASSERT_NE(adapter, nullptr);
    RECT client{};
    GetClientRect(h, &client);
    page = client.bottom / static_cast<int>(SendMessageW(h, LB_GETITEMHEIGHT, 0, 0));
  }

  int Count() const { return static_cast<int>(SendMessageW(h, LB_GETCOUNT, 0, 0)); }
  // Items added at the end (each with its data, as a list of objects is filled), or put first.
  void Add(int N) {
    for (int i = 0; i < N; ++i) {
      const auto at = SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item"));
      SendMessageW(h, LB_SETITEMDATA, static_cast<WPARAM>(at), at);
    }
  }
  void Insert(int N) {
    for (int i = 0; i < N; ++i) SendMessageW(h, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(L"First"));
  }
  void DeleteDownTo(int N) {
    while (Count() > N) SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(Count() - 1), 0);
  }
  // The bars painted while Change ran, then the queue handled.
  int PaintsDuring(const std::function<void()>& Change) {
    const int before = adapter->BarPaints;
    Change();
    const int during = adapter->BarPaints - before;
    wintest::PumpUntilIdle();
    return during;
  }

  SCROLLINFO ListInfo() const {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(h, SB_VERT, &info));
    return info;
  }
  // Where the list's own SCROLLINFO puts the thumb of a bar (screen).
  TqvThumb ThumbOfTheList(bool Vertical = true) const {
    vcl::TRect bar;
    Vertical ? GetVScrollRect(adapter, h, bar) : GetHScrollRect(adapter, h, bar);
    const TqvScrollBar* sb = Vertical ? adapter->VertBar.get() : adapter->HorzBar.get();
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    EXPECT_TRUE(GetScrollInfo(h, Vertical ? SB_VERT : SB_HORZ, &info));
    return ThumbGeometry(Vertical ? bar.Top : bar.Left, Vertical ? bar.Height() : bar.Width(),
                         GetScrollMetric(sb, false), sb->MinThumb, info);
  }

  // The skinned bar shows the list's own range: its arrows, the first track before the thumb
  // (above, or left of it), the thumb, the second track (or the system's) after it.
  void ExpectBarOfTheList(bool Vertical = true) {
    const TqvScrollBar* sb = Vertical ? adapter->VertBar.get() : adapter->HorzBar.get();
    ASSERT_TRUE(sb->Visible);
    vcl::TRect bar;
    Vertical ? GetVScrollRect(adapter, h, bar) : GetHScrollRect(adapter, h, bar);
    const int button = GetScrollMetric(sb, false);
    const TqvThumb thumb = ThumbOfTheList(Vertical);
    const int first = Vertical ? bar.Top : bar.Left, last = Vertical ? bar.Bottom : bar.Right;
    const int across = Vertical ? bar.Left + bar.Width() / 2 : bar.Top + bar.Height() / 2;
    auto shown = [this, across, Vertical](int Along) {
      return ShownPixel(h, Vertical ? POINT{across, Along} : POINT{Along, across});
    };
    const COLORREF slider = Vertical ? kSliderV : kSliderH, track1 = Vertical ? kTrack1V : kTrack1H,
                      track2 = Vertical ? kTrack2V : kTrack2H;
    EXPECT_EQ(shown(first + 2), Vertical ? kTopColor : kLeftColor);
    EXPECT_EQ(shown(last - 3), Vertical ? kBottomColor : kRightColor);
    EXPECT_EQ(shown(thumb.Start + 1), slider);
    EXPECT_EQ(shown(thumb.Start + thumb.Length - 2), slider);
    const int before = thumb.Start - 2, after = thumb.Start + thumb.Length + 1;
    ASSERT_TRUE(before >= first + button || after < last - button) << "no track to judge";
    if (before >= first + button) {
      EXPECT_EQ(shown(before), track1);
    }
    if (after >= last - button) return;
    if (GetParam())
      EXPECT_EQ(shown(after), track2);
    else
      EXPECT_TRUE(shown(after) != track1 && shown(after) != track2 && shown(after) != slider);
  }

  // A list view in report view on the form, its columns under a header; the test's bars are
  // its.
  vcl::TListView* ReportView(int ColumnWidth, int Columns) {
    auto* view = new vcl::TListView(form.get());
    view->SetParent(form.get());
    view->SetBounds(200, 10, 180, 150);
    view->SetViewStyle(vcl::vsReport);
    for (int i = 0; i < Columns; ++i) {
      vcl::TListColumn* column = view->Columns()->Add();
      column->SetCaption(L"Column " + std::to_wstring(i));
      column->SetWidth(ColumnWidth);
    }
    wintest::PumpUntilIdle();
    h = view->Handle();
    adapter = GetScrollAdapter(h);
    EXPECT_NE(adapter, nullptr);
    return view;
  }
  static void AddRows(vcl::TListView* View, int N) {
    for (int i = 0; i < N; ++i) View->Items()->Add()->SetCaption(L"Row " + std::to_wstring(i));
  }
  static void DeleteRowsDownTo(vcl::TListView* View, int N) {
    while (View->Items()->Count() > N) View->Items()->Delete(View->Items()->Count() - 1);
  }
  // Where the vertical bar lies while it shows (screen).
  POINT MiddleOfTheBar() const {
    vcl::TRect bar;
    GetVScrollRect(adapter, h, bar);
    return POINT{bar.Left + bar.Width() / 2, bar.Top + bar.Height() / 2};
  }
  // The list's own background where the bar lay: neither bar shows there.
  void ExpectNoBarAt(POINT Place) {
    EXPECT_FALSE(adapter->VertBar->Visible);
    EXPECT_EQ(ShownPixel(h, Place), static_cast<COLORREF>(SendMessageW(h, LVM_GETBKCOLOR, 0, 0)));
  }

  // The vertical thumb dragged down past its length and held there while Change runs, then the
  // queue handled: the dragged bar shows, its thumb where the mouse holds it (the track above
  // it where it was), its arrows the skin's.
  void ExpectDraggedBarAfter(const std::function<void()>& Change) {
    MouseSeam mouse;
    vcl::TRect bar;
    GetVScrollRect(adapter, h, bar);
    const TqvThumb thumb = ThumbOfTheList();
    const int x = bar.Left + bar.Width() / 2;
    auto shown = [this](POINT Screen) { return ShownPixel(h, Screen); };
    const POINT grip{x, thumb.Start + 3};
    mouse.cursor = grip;
    mouse.down = true;
    SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenLParam(grip));
    ASSERT_TRUE(adapter->Dragging);
    mouse.cursor = POINT{x, grip.y + thumb.Length + 20};
    POINT client = mouse.cursor;
    ScreenToClient(h, &client);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    const COLORREF held = shown(mouse.cursor);
    EXPECT_TRUE(held == kSliderV || held == kSliderVHot) << std::hex << held;
    Change();
    wintest::PumpUntilIdle();
    EXPECT_TRUE(adapter->Dragging);
    EXPECT_EQ(shown(mouse.cursor), held);
    EXPECT_EQ(shown(grip), kTrack1V);
    EXPECT_EQ(shown(POINT{x, bar.Top + 2}), kTopColor);
    EXPECT_EQ(shown(POINT{x, bar.Bottom - 3}), kBottomColor);
    mouse.down = false;
    SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    EXPECT_FALSE(adapter->Dragging);
  }

  TempSkins skins;
  ManagerPtr manager;
  FormPtr form{nullptr, nullptr};
  vcl::TListBox* list = nullptr;
  HWND h = nullptr;
  TqvScrollWnd* adapter = nullptr;
  int page = 0;
};

TEST_P(FilledListBox, ItemsAddedOneByOnePaintTheBarOnceTheRunIsOver) {
  ASSERT_GT(page, 2);
  constexpr int kItems = 200;
  // Far fewer paintings than items: a few for the bar coming, none an item.
  EXPECT_LE(PaintsDuring([&] { Add(kItems); }), 3);
  EXPECT_EQ(Count(), kItems);
  ExpectBarOfTheList();
  // Scrolled to the middle, then as many items put first: the thumb moves up.
  SendMessageW(h, LB_SETTOPINDEX, kItems / 2, 0);
  wintest::PumpUntilIdle();
  const TqvThumb before = ThumbOfTheList();
  EXPECT_LE(PaintsDuring([&] { Insert(kItems); }), 3);
  EXPECT_EQ(ListInfo().nMax, 2 * kItems - 1);
  EXPECT_LT(ThumbOfTheList().Start, before.Start - 4);
  ExpectBarOfTheList();
}

// Both sides of the count where the bar comes: a page of items has none, one more has it; items
// taken away one by one back to a page take it away again, and so does emptying the list.
TEST_P(FilledListBox, TheBarComesPastOnePageAndGoesBackUnderIt) {
  ASSERT_GT(page, 2);
  Add(page);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(adapter->VertBar->Visible);
  Add(1);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();

  Add(150);
  wintest::PumpUntilIdle();
  EXPECT_LE(PaintsDuring([&] { DeleteDownTo(page + 1); }), 3);
  ExpectBarOfTheList();
  DeleteDownTo(page);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(adapter->VertBar->Visible);

  Add(150);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();
  SendMessageW(h, LB_RESETCONTENT, 0, 0);
  wintest::PumpUntilIdle();
  EXPECT_EQ(Count(), 0);
  EXPECT_FALSE(adapter->VertBar->Visible);
  Add(page + 1);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();
}

// The list of a simple combo box, filled through the combo box (CB_ADDSTRING, which the combo
// box hands its list as LB_ADDSTRING) and emptied.
TEST_P(FilledListBox, ASimpleComboBoxsListLikewise) {
  auto* combo = Put<vcl::TComboBox>(form.get(), 200, 10, 150, 160);
  combo->SetStyle(vcl::csSimple);
  combo->SetBounds(200, 10, 150, 160);
  wintest::PumpUntilIdle();
  // The list gets its adapter when it is first painted.
  RedrawWindow(combo->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_ERASE);
  auto* comboAdapter = dynamic_cast<TqvComboBoxWnd*>(GetAdapter(combo->Handle()));
  ASSERT_NE(comboAdapter, nullptr);
  ASSERT_NE(comboAdapter->ListAdapter.get(), nullptr);
  h = comboAdapter->ListHandle;
  adapter = comboAdapter->ListAdapter.get();
  const HWND box = combo->Handle();
  auto add = [box](int N) {
    for (int i = 0; i < N; ++i) SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Item"));
  };
  EXPECT_LE(PaintsDuring([&] { add(200); }), 3);
  EXPECT_EQ(Count(), 200);
  ExpectBarOfTheList();
  EXPECT_LE(PaintsDuring([&] {
              while (SendMessageW(box, CB_GETCOUNT, 0, 0) > 60) SendMessageW(box, CB_DELETESTRING, 0, 0);
            }),
            3);
  ExpectBarOfTheList();
  SendMessageW(box, CB_RESETCONTENT, 0, 0);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(adapter->VertBar->Visible);
}

// A tree view's nodes added one by one, taken away one by one, and all at once.
TEST_P(FilledListBox, ATreeViewsNodesLikewise) {
  auto* tree = new vcl::TTreeView(form.get());
  tree->SetParent(form.get());
  tree->SetBounds(200, 10, 150, 150);
  wintest::PumpUntilIdle();
  h = tree->Handle();
  adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  EXPECT_LE(PaintsDuring([&] {
              for (int i = 0; i < 200; ++i) tree->Items()->Add(nullptr, L"Node " + std::to_wstring(i));
            }),
            3);
  ExpectBarOfTheList();
  EXPECT_LE(PaintsDuring([&] {
              while (tree->Items()->Count() > 60) tree->Items()->GetFirstNode()->Delete();
            }),
            3);
  ExpectBarOfTheList();
  tree->Items()->Clear();
  wintest::PumpUntilIdle();
  EXPECT_FALSE(adapter->VertBar->Visible);
}

// A memo's lines added one by one (the memo puts each in through the edit's replacement of its
// selection), then taken away one by one.
TEST_P(FilledListBox, AMemosLinesLikewise) {
  auto* memo = Put<vcl::TMemo>(form.get(), 200, 10, 150, 150);
  memo->SetScrollBars(vcl::ssVertical);
  wintest::PumpUntilIdle();
  h = memo->Handle();
  adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  EXPECT_LE(PaintsDuring([&] {
              for (int i = 0; i < 200; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i));
            }),
            3);
  ExpectBarOfTheList();
  EXPECT_LE(PaintsDuring([&] {
              while (memo->Lines()->Count() > 60) memo->Lines()->Delete(0);
            }),
            3);
  ExpectBarOfTheList();
}

// A list view's rows (report view, under its header) added one by one, taken away one by one,
// and all at once. The list places its header again several times a row, mostly where it is.
// The bar's coming lays the list's frame out again, which paints it a few times once (about
// seven times a row before).
TEST_P(FilledListBox, AListViewsRowsLikewise) {
  vcl::TListView* view = ReportView(100, 1);
  ASSERT_NE(adapter, nullptr);
  EXPECT_LE(PaintsDuring([&] { AddRows(view, 200); }), 8);
  ExpectBarOfTheList();
  EXPECT_LE(PaintsDuring([&] { AddRows(view, 100); }), 3);
  ExpectBarOfTheList();
  // The list painted again whole: its painting lays out its header and bar again.
  RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  ExpectBarOfTheList();
  const POINT bar = MiddleOfTheBar();
  EXPECT_LE(PaintsDuring([&] { DeleteRowsDownTo(view, 60); }), 3);
  ExpectBarOfTheList();
  view->Items()->Clear();
  wintest::PumpUntilIdle();
  ExpectNoBarAt(bar);
}

// Both sides of the count where a list view's bar comes: a page of rows has none, one more has
// it; rows taken away back to a page take it away again, and so does emptying the list.
TEST_P(FilledListBox, AListViewsBarComesPastOnePageAndGoesBackUnderIt) {
  vcl::TListView* view = ReportView(100, 1);
  ASSERT_NE(adapter, nullptr);
  const auto rows = static_cast<int>(SendMessageW(h, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(rows, 2);
  AddRows(view, rows);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(adapter->VertBar->Visible);
  AddRows(view, 1);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();
  const POINT bar = MiddleOfTheBar();

  AddRows(view, 40);
  wintest::PumpUntilIdle();
  EXPECT_LE(PaintsDuring([&] { DeleteRowsDownTo(view, rows + 1); }), 3);
  ExpectBarOfTheList();
  DeleteRowsDownTo(view, rows);
  wintest::PumpUntilIdle();
  ExpectNoBarAt(bar);

  AddRows(view, 40);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();
  view->Items()->Clear();
  wintest::PumpUntilIdle();
  ExpectNoBarAt(bar);
  AddRows(view, rows + 1);
  wintest::PumpUntilIdle();
  ExpectBarOfTheList();
}

// Columns wider than the list: scrolled sideways, the list moves its header for real (the
// frame is painted again then); both bars stay the skin's, filled row by row as well.
TEST_P(FilledListBox, AListViewsColumnsScrolledSideways) {
  vcl::TListView* view = ReportView(120, 3);
  ASSERT_NE(adapter, nullptr);
  EXPECT_LE(PaintsDuring([&] { AddRows(view, 100); }), 8);
  ExpectBarOfTheList();
  ExpectBarOfTheList(false);
  const HWND header = FindWindowExW(h, nullptr, L"SysHeader32", nullptr);
  ASSERT_NE(header, nullptr);
  auto headerLeft = [header, this] {
    RECT r{};
    GetWindowRect(header, &r);
    MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&r), 2);
    return r.left;
  };
  ASSERT_EQ(headerLeft(), 0);
  for (const int code : {SB_PAGERIGHT, SB_LINERIGHT, SB_PAGERIGHT}) {
    SendMessageW(h, WM_HSCROLL, code, 0);
    wintest::PumpUntilIdle();
    ExpectBarOfTheList();
    ExpectBarOfTheList(false);
  }
  EXPECT_LT(headerLeft(), -50);
  // Rows added while scrolled sideways, and the list scrolled back.
  EXPECT_LE(PaintsDuring([&] { AddRows(view, 50); }), 3);
  ExpectBarOfTheList();
  ExpectBarOfTheList(false);
  SendMessageW(h, LVM_SCROLL, static_cast<WPARAM>(headerLeft()), 0);
  wintest::PumpUntilIdle();
  EXPECT_EQ(headerLeft(), 0);
  ExpectBarOfTheList();
  ExpectBarOfTheList(false);
}

// Items added while the list's thumb is dragged (a program filling the list as the user
// scrolls it): the system draws its own bar for the new range, and the dragged bar goes over it
// again once the run is over; a list box's items and a list view's rows.
TEST_P(FilledListBox, ItemsAddedWhileTheThumbIsDraggedLeaveTheDraggedBarShowing) {
  Add(100);
  wintest::PumpUntilIdle();
  ExpectDraggedBarAfter([&] { Add(5); });
  vcl::TListView* view = ReportView(100, 1);
  ASSERT_NE(adapter, nullptr);
  AddRows(view, 100);
  wintest::PumpUntilIdle();
  ExpectDraggedBarAfter([&] { AddRows(view, 5); });
}

INSTANTIATE_TEST_SUITE_P(ScrollBarsOfAMappedListBox, FilledListBox, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& Info) {
                           return Info.param ? "WholeScrollSkin" : "WithoutTheSecondTrack";
                         });

// A tree view on a skinned form, adapted by the form's provider: its own painting sets its bars
// again, and the system then draws its bar where the skinned one lies (Wine does, the values
// changed or not); the skinned bar is what the window shows, once shown and after the tree
// painted again. Read from the window's own pixels.
TEST(ScrollBarsOfAMappedTreeView, TheTreesPaintingLeavesTheSkinnedBarShowing) {
  TempSkins skins;
  ManagerPtr manager = LoadedFormSkin(skins);
  FormPtr form = ProvidedForm();
  auto* tree = new vcl::TTreeView(form.get());
  tree->SetParent(form.get());
  tree->SetBounds(10, 10, 200, 150);
  vcl::TTreeNode* first = nullptr;
  for (const wchar_t* folder : {L"Pictures", L"Pages", L"Templates"}) {
    vcl::TTreeNode* node = tree->Items()->Add(nullptr, folder);
    for (int i = 1; i <= 6; ++i) tree->Items()->AddChild(node, vcl::String(folder) + L" " + std::to_wstring(i));
    node->Expand(false);
    if (!first) first = node;
  }
  form->Show();
  wintest::PumpUntilIdle();
  const HWND h = tree->Handle();
  TqvScrollWnd* adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  vcl::TRect bar;
  GetVScrollRect(adapter, h, bar);
  auto shown = [h](POINT Screen) { return ShownPixel(h, Screen); };
  const POINT top{bar.Left + bar.Width() / 2, bar.Top + 2};
  const POINT bottom{bar.Left + bar.Width() / 2, bar.Bottom - 3};
  EXPECT_EQ(shown(top), kTopColor);
  EXPECT_EQ(shown(bottom), kBottomColor);
  // Painted again, and with a node folded (the bar's values change as well).
  InvalidateRect(h, nullptr, TRUE);
  UpdateWindow(h);
  EXPECT_EQ(shown(top), kTopColor);
  EXPECT_EQ(shown(bottom), kBottomColor);
  first->Collapse(false);
  wintest::PumpUntilIdle();
  EXPECT_EQ(shown(top), kTopColor);
  EXPECT_EQ(shown(bottom), kBottomColor);
}

// A memo with both bars on a skinned form, adapted by the form's provider: while its vertical
// thumb is dragged the memo sets both its bars as it scrolls, and the system draws the other
// bar's arrows where the skinned ones lie; the other bar shows as it did before the drag
// throughout. Read from the window's own pixels.
TEST(ScrollBarsOfAMappedMemo, TheOtherBarStaysSkinnedWhileTheThumbIsDragged) {
  TempSkins skins;
  ManagerPtr manager = LoadedFormSkin(skins);
  FormPtr form = ProvidedForm();
  auto* memo = Put<vcl::TMemo>(form.get(), 10, 10, 250, 120);
  memo->SetScrollBars(vcl::ssBoth);
  memo->SetWordWrap(false);
  for (int i = 0; i < 60; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i));
  form->Show();
  wintest::PumpUntilIdle();
  const HWND h = memo->Handle();
  TqvScrollWnd* adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible && adapter->HorzBar->Visible);
  vcl::TRect vbar, hbar;
  GetVScrollRect(adapter, h, vbar);
  GetHScrollRect(adapter, h, hbar);
  auto shown = [h](POINT Screen) { return ShownPixel(h, Screen); };
  // The lines are short: the horizontal bar shows its arrows disabled, the skin's blended.
  const POINT left{hbar.Left + 2, hbar.Top + hbar.Height() / 2};
  const POINT right{hbar.Right - 3, hbar.Top + hbar.Height() / 2};
  const COLORREF leftShown = shown(left), rightShown = shown(right);
  ASSERT_NE(leftShown, rightShown);
  ASSERT_EQ(GetRValue(leftShown) > GetBValue(leftShown), GetRValue(kLeftColor) > GetBValue(kLeftColor));
  ASSERT_EQ(GetBValue(rightShown) > GetRValue(rightShown), GetBValue(kRightColor) > GetRValue(kRightColor));

  adapter->VertBar->ReadInfo();
  const int button = GetScrollMetric(adapter->VertBar.get(), false);
  const TqvThumb thumb = ThumbGeometry(vbar.Top, vbar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
  const POINT grip{vbar.Left + vbar.Width() / 2, thumb.Start + thumb.Length / 2};
  SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenLParam(grip));
  ASSERT_TRUE(adapter->Dragging);
  for (int dy : {10, 25, 40}) {
    POINT client{grip.x, grip.y + dy};
    ScreenToClient(h, &client);
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    EXPECT_EQ(shown(left), leftShown) << dy;
    EXPECT_EQ(shown(right), rightShown) << dy;
  }
  EXPECT_GT(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // it scrolled
  SendMessageW(h, WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(adapter->Dragging);
}

// A memo's vertical thumb dragged on a skinned form and the mouse taken out of the memo's frame
// on the way: the system's handling of the mouse leaving the frame draws its own bar there; the
// skinned bar shows again at once, its thumb where the mouse holds it. Read from the window's
// own pixels.
TEST(ScrollBarsOfAMappedMemo, TheDraggedBarStaysSkinnedWhenTheMouseLeavesTheFrame) {
  TempSkins skins;
  ManagerPtr manager = LoadedFormSkin(skins);
  FormPtr form = ProvidedForm();
  auto* memo = Put<vcl::TMemo>(form.get(), 10, 10, 250, 160);
  memo->SetScrollBars(vcl::ssVertical);
  for (int i = 0; i < 60; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i));
  form->Show();
  wintest::PumpUntilIdle();
  const HWND h = memo->Handle();
  TqvScrollWnd* adapter = GetScrollAdapter(h);
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar->Visible);
  MouseSeam mouse;
  vcl::TRect vbar;
  GetVScrollRect(adapter, h, vbar);
  auto shown = [h](POINT Screen) { return ShownPixel(h, Screen); };
  auto skinnedArrow = [](COLORREF C) { return C == kTopColor || C == kTopHot; };
  auto skinnedTrack = [](COLORREF C) { return C == kTrack2V || C == kTrack2VHot; };
  const POINT arrow{vbar.Left + vbar.Width() / 2, vbar.Top + 3};
  const POINT track{vbar.Left + vbar.Width() / 2, vbar.Bottom - GetScrollMetric(adapter->VertBar.get(), false) - 3};
  ASSERT_TRUE(skinnedArrow(shown(arrow))) << std::hex << shown(arrow);
  ASSERT_TRUE(skinnedTrack(shown(track))) << std::hex << shown(track);

  // Over the bar (the system takes note of it), pressed on the thumb, moved a little down and
  // out of the memo to the right; then the system's notice that the mouse left the frame. Twice:
  // the system draws its own bar there once a thumb was dragged.
  auto grip = [&] {
    adapter->VertBar->ReadInfo();
    const int button = GetScrollMetric(adapter->VertBar.get(), false);
    const TqvThumb thumb =
        ThumbGeometry(vbar.Top, vbar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
    return POINT{vbar.Left + vbar.Width() / 2, thumb.Start + thumb.Length / 2};
  };
  auto press = [&](POINT At) {
    mouse.cursor = At;
    SendMessageW(h, WM_NCMOUSEMOVE, HTVSCROLL, ScreenLParam(At));
    mouse.down = true;
    SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenLParam(At));
  };
  const POINT first = grip();
  press(first);
  POINT lower{first.x, first.y + 10};
  mouse.cursor = lower;
  ScreenToClient(h, &lower);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(lower.x, lower.y));
  mouse.down = false;
  SendMessageW(h, WM_LBUTTONUP, 0, MAKELPARAM(lower.x, lower.y));
  wintest::Pump();
  const POINT start = grip();
  press(start);
  ASSERT_TRUE(adapter->Dragging);
  POINT away{vbar.Right + 40, start.y + 20};
  mouse.cursor = away;
  ScreenToClient(h, &away);
  SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(away.x, away.y));
  SendMessageW(h, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_TRUE(skinnedArrow(shown(arrow))) << std::hex << shown(arrow);
  EXPECT_TRUE(skinnedTrack(shown(track))) << std::hex << shown(track);
  EXPECT_GT(SendMessageW(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);  // it scrolled
  mouse.down = false;
  SendMessageW(h, WM_LBUTTONUP, 0, 0);
  EXPECT_FALSE(adapter->Dragging);
}

// ---------------------------------------------------------------------------------------
// The program's handler of a scroll message frees what the press is on

// What the handler of the scrolled control's messages frees: nothing, the control, its form
// (with the control, the form's provider and the adapter it made) or the skin (the adapter
// goes, the control stays with its own bars).
enum class TFreed { Nothing, Control, Form, Skin };

// The scroll skin with a flat form, whole or without the vertical arrows and the track above
// the thumb.
std::string FreeingSkinText(bool Partial) {
  std::string text = "[GLOBALINFO]\r\nVERSION=7.5\r\n" + FlatSection("EDIT", kEditColor, kEditColor) +
                     FlatSection("FORM", 0x808080, 0x808080) + FlatSection("FORMTITLE", 0x606060, 0x707070) +
                     FlatSection("SCROLLBTNLEFT", kLeftColor, kLeftHot) +
                     FlatSection("SCROLLBTNRIGHT", kRightColor, kRightHot) +
                     FlatSection("SCROLLBAR1H", kTrack1H, kTrack1HHot) + FlatSection("SCROLLBAR2H", kTrack2H, kTrack2HHot) +
                     FlatSection("SCROLLBAR2V", kTrack2V, kTrack2VHot) + FlatSection("SCROLLSLIDERH", kSliderH, kSliderHHot) +
                     FlatSection("SCROLLSLIDERV", kSliderV, kSliderVHot);
  if (!Partial)
    text += FlatSection("SCROLLBTNTOP", kTopColor, kTopHot) + FlatSection("SCROLLBTNBOTTOM", kBottomColor, kBottomHot) +
            FlatSection("SCROLLBAR1V", kTrack1V, kTrack1VHot);
  return text;
}

// A memo or a string grid on a form whose provider adapts it, its vertical bar pressed through
// real messages (the cursor and button through the adapters' seams). The control's own handler
// of WM_VSCROLL lies below the adapter, as a program's does; at the count-th message of one
// code it frees what the parameter names. Freed blocks are held and poisoned from the press on.
class HandlerFrees : public ::testing::TestWithParam<std::tuple<TFreed, bool>> {
 protected:
  void TearDown() override {
    held.reset();
    if (GetCapture()) ReleaseCapture();
  }

  TFreed Freed() const { return std::get<0>(GetParam()); }
  bool Frees() const { return Freed() != TFreed::Nothing; }
  bool WindowGoes() const {
    return Freed() == TFreed::Control || Freed() == TFreed::Form || (Freed() == TFreed::Skin && made_anew_unskinned);
  }

  void MakeMemo() {
    auto* memo = new vcl::TMemo(form.get());
    Hook(memo);
    memo->SetBounds(10, 10, 250, 160);
    memo->SetScrollBars(vcl::ssVertical);
    for (int i = 0; i < 60; ++i) memo->Lines()->Add(L"Line " + std::to_wstring(i));
    Show();
  }
  void MakeGrid() {
    auto* grid = new vcl::TStringGrid(form.get());
    Hook(grid);
    grid->SetBounds(10, 10, 250, 160);
    grid->SetRowCount(100);
    grid->SetScrollBars(vcl::ssVertical);
    made_anew_unskinned = true;  // the library's grid gets a window of its own when the skin goes
    Show();
  }

  // The control's handler frees at the count-th message of Code.
  void FreeAt(int Code, int Count = 1) {
    handler.code = Code;
    handler.count = Count;
  }

  POINT BarPoint(int Y) const { return {bar.Left + bar.Width() / 2, Y}; }
  POINT ThumbCentre() const {
    adapter->VertBar->ReadInfo();
    const TqvThumb thumb = ThumbGeometry(bar.Top, bar.Height(), button, adapter->VertBar->MinThumb, adapter->VertBar->Info);
    return BarPoint(thumb.Start + thumb.Length / 2);
  }
  // The track below the thumb, just above the lower arrow.
  POINT BelowThumb() const { return BarPoint(bar.Bottom - button - 3); }
  POINT LowerArrow() const { return BarPoint(bar.Bottom - 3); }

  void Press(POINT Screen) {
    if (!held) held.emplace();
    mouse.cursor = Screen;
    mouse.down = true;
    SendMessageW(h, WM_NCLBUTTONDOWN, HTVSCROLL, ScreenLParam(Screen));
  }
  void MoveTo(POINT Screen) {
    mouse.cursor = Screen;
    SendMessageW(h, WM_MOUSEMOVE, MK_LBUTTON, ClientLParam(h, Screen));
  }
  void Release() {
    mouse.down = false;
    SendMessageW(h, WM_LBUTTONUP, 0, ClientLParam(h, mouse.cursor));
  }
  void Tick(UINT_PTR Id) { SendMessageW(h, WM_TIMER, Id, 0); }
  // The thumb pressed, dragged down by each step in turn and let go.
  void DragThumb(std::initializer_list<int> Steps) {
    const POINT grip = ThumbCentre();
    Press(grip);
    for (const int step : Steps) MoveTo({grip.x, grip.y + step});
    Release();
  }
  // The track below the thumb held through the repeat's delay and that many repeats.
  void HoldBelowThumb(int Repeats) {
    Press(BelowThumb());
    Tick(kRepeatDelayTimer);
    for (int i = 0; i < Repeats; ++i) Tick(kRepeatTimer);
    Release();
  }

  // The handler got these codes: all of them when it frees nothing, else those up to the freeing one.
  void ExpectCodes(const std::vector<int>& All, std::size_t UpToFreeing) {
    const std::vector<int> expected = Frees() ? std::vector<int>(All.begin(), All.begin() + UpToFreeing) : All;
    EXPECT_EQ(handler.codes, expected);
  }
  // What the handler freed was touched no more, and the press left nothing behind; without a
  // free the press ended with the capture given back and the bar painted again.
  void ExpectPressEnded() {
    EXPECT_EQ(held->Faults(), 0);
    EXPECT_EQ(handler.freed, Frees());
    EXPECT_EQ(ScrollState().TrackWnd, nullptr);
    EXPECT_NE(GetCapture(), h);
    EXPECT_EQ(IsWindow(h) != FALSE, !WindowGoes());
    switch (Freed()) {
      case TFreed::Nothing:
        EXPECT_FALSE(adapter->Dragging);
        EXPECT_FALSE(adapter->ScrollingInProgress);
        EXPECT_EQ(ShownPixel(h, ThumbCentre()), kSliderV);
        break;
      case TFreed::Control:
        ASSERT_TRUE(held->Holds(control));
        EXPECT_TRUE(held->Untouched(control));
        break;
      case TFreed::Form:
        ASSERT_TRUE(held->Holds(control));
        ASSERT_TRUE(held->Holds(adapter));
        EXPECT_TRUE(held->Untouched(control));
        EXPECT_TRUE(held->Untouched(adapter));
        break;
      case TFreed::Skin:
        ASSERT_TRUE(held->Holds(adapter));
        EXPECT_TRUE(held->Untouched(adapter));
        EXPECT_EQ(GetScrollAdapter(h), nullptr);
        break;
    }
  }

  struct THandler {
    vcl::TWindowProcHook hook;
    std::vector<int> codes;
    int code = -1;
    int count = 0;
    bool freed = false;
    std::function<bool()> free;  // true when the control went
    std::function<void()> during;  // done at the count-th message, before any free
    void Proc(vcl::TMessage& m) {
      if (m.Msg == WM_VSCROLL) {
        codes.push_back(LOWORD(m.WParam));
        if (LOWORD(m.WParam) == code && --count == 0) {
          if (during) during();
          if (free) {
            freed = true;
            if (free()) return;  // nothing of the control is touched after
          }
        }
      }
      hook.CallPrevious(m);
    }
  };

  TempSkins skins;
  ManagerPtr manager = LoadedManager(skins, L"Flat", FreeingSkinText(std::get<1>(GetParam())));
  FormPtr form = ProvidedForm();
  vcl::TWinControl* control = nullptr;
  HWND h = nullptr;
  TqvScrollWnd* adapter = nullptr;
  vcl::TRect bar;
  int button = 0;
  bool made_anew_unskinned = false;
  THandler handler;
  MouseSeam mouse;
  std::optional<HeldFrees> held;

 private:
  // The handler goes below the adapter the provider makes when the control has its window.
  void Hook(vcl::TWinControl* Control) {
    control = Control;
    handler.hook.Install(Control, vcl::TWndMethod::Bind<&THandler::Proc>(&handler));
    switch (Freed()) {
      case TFreed::Nothing: break;
      case TFreed::Control: handler.free = [this] { vcl::TObject::Free(control); return true; }; break;
      case TFreed::Form: handler.free = [this] { form.reset(); return true; }; break;
      case TFreed::Skin: handler.free = [this] { manager->SetActive(false); return false; }; break;
    }
    Control->SetParent(form.get());
  }
  void Show() {
    form->Show();
    wintest::PumpUntilIdle();
    h = control->Handle();
    adapter = GetScrollAdapter(h);
    ASSERT_NE(adapter, nullptr);
    ASSERT_TRUE(adapter->VertBar->Visible);
    GetVScrollRect(adapter, h, bar);
    button = GetScrollMetric(adapter->VertBar.get(), false);
  }
};

// The thumb dragged and let go; the handler frees at the thumb's last position, or at the end.
TEST_P(HandlerFrees, TheThumbPositionEndingADrag) {
  MakeMemo();
  FreeAt(SB_THUMBPOSITION);
  DragThumb({60});
  ExpectCodes({SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 2);
  ExpectPressEnded();
}

TEST_P(HandlerFrees, TheEndOfADrag) {
  MakeMemo();
  FreeAt(SB_ENDSCROLL);
  DragThumb({60});
  ExpectCodes({SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 3);
  ExpectPressEnded();
}

// The handler frees at the first position the thumb is dragged to; the mouse goes on.
TEST_P(HandlerFrees, ATrackedThumbPosition) {
  MakeMemo();
  FreeAt(SB_THUMBTRACK);
  DragThumb({30, 60});
  ExpectCodes({SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 1);
  ExpectPressEnded();
}

// A page below the thumb held: the handler frees at the press's own page, or at the first
// page the repeat timer sends.
TEST_P(HandlerFrees, ThePageOfThePress) {
  MakeMemo();
  FreeAt(SB_PAGEDOWN, 1);
  HoldBelowThumb(1);
  ExpectCodes({SB_PAGEDOWN, SB_PAGEDOWN, SB_ENDSCROLL}, 1);
  ExpectPressEnded();
}

TEST_P(HandlerFrees, APageTheRepeatSends) {
  MakeMemo();
  FreeAt(SB_PAGEDOWN, 2);
  HoldBelowThumb(2);
  ExpectCodes({SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_ENDSCROLL}, 2);
  ExpectPressEnded();
}

// The handler runs a loop of its own while it handles a page (a closing form's animation, a
// dialog), which hands on the repeat's tick: the tick sends no page into the unfinished one.
TEST_P(HandlerFrees, ARepeatTickHandedOnWhileAPageIsHandledSendsNone) {
  MakeMemo();
  FreeAt(SB_PAGEDOWN, 2);
  handler.during = [this] { Tick(kRepeatTimer); };
  HoldBelowThumb(2);
  ExpectCodes({SB_PAGEDOWN, SB_PAGEDOWN, SB_PAGEDOWN, SB_ENDSCROLL}, 2);
  ExpectPressEnded();
}

// The handler runs a loop of its own while it handles a tracked position, which hands on a
// move of the mouse (a program beside moved the pointer the drag holds): the move sends no
// position into the unfinished one, and the drag goes on from the next move.
TEST_P(HandlerFrees, AMouseMoveHandedOnWhileATrackedPositionIsHandledSendsNone) {
  MakeMemo();
  FreeAt(SB_THUMBTRACK, 1);
  const POINT grip = ThumbCentre();
  handler.during = [this, grip] { MoveTo({grip.x, grip.y + 45}); };
  DragThumb({30, 60});
  ExpectCodes({SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 1);
  ExpectPressEnded();
}

// An arrow held while another window takes the mouse: the press ends there, and the handler
// frees at its end.
TEST_P(HandlerFrees, TheEndOfAPressWhoseCaptureWentElsewhere) {
  MakeMemo();
  FreeAt(SB_ENDSCROLL);
  FormPtr other = ShownForm();
  Press(LowerArrow());
  SetCapture(other->Handle());
  EXPECT_EQ(GetCapture(), other->Handle());
  ReleaseCapture();
  Release();
  ExpectCodes({SB_LINEDOWN, SB_ENDSCROLL}, 2);
  ExpectPressEnded();
}

// The string grid's release on its bar takes another way through its adapter.
TEST_P(HandlerFrees, TheThumbPositionEndingAGridsDrag) {
  MakeGrid();
  FreeAt(SB_THUMBPOSITION);
  DragThumb({60});
  ExpectCodes({SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}, 2);
  ExpectPressEnded();
}

std::string FreedName(const ::testing::TestParamInfo<std::tuple<TFreed, bool>>& Info) {
  static const char* const kNames[] = {"Nothing", "TheControl", "ItsForm", "TheSkin"};
  return std::string(kNames[static_cast<int>(std::get<0>(Info.param))]) +
         (std::get<1>(Info.param) ? "_PartialSkin" : "_WholeSkin");
}

INSTANTIATE_TEST_SUITE_P(ScrollBarsOfAMappedControl, HandlerFrees,
                         ::testing::Combine(::testing::Values(TFreed::Nothing, TFreed::Control, TFreed::Form,
                                                              TFreed::Skin),
                                            ::testing::Bool()),
                         FreedName);

}  // namespace
}  // namespace skin_layered::test
