// The adapters of the host windows inside system dialogs, on stand-ins of ours with the hosts'
// class names: chosen by the dialog hook by class (the DirectUI host only at the search box's
// height), the container painted opaque from its section, the search host inside its frame.
#include "hosts_support.h"
#include "skin_layered/adapters/ContainerWnd.h"
#include "skin_layered/adapters/DialogHook.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kOwnPaint = 0xE01010;

// The stand-ins paint their client area in one colour of their own.
LRESULT CALLBACK StandInProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (Msg == WM_PAINT) {
    PAINTSTRUCT ps{};
    const HDC given = reinterpret_cast<HDC>(WParam);
    const HDC dc = given ? given : BeginPaint(Wnd, &ps);
    RECT r{};
    GetClientRect(Wnd, &r);
    HBRUSH brush = CreateSolidBrush(kOwnPaint);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    if (!given) EndPaint(Wnd, &ps);
    return 0;
  }
  return DefWindowProcW(Wnd, Msg, WParam, LParam);
}

HWND StandIn(HWND Parent, const wchar_t* ClassName, int Y, int Height, DWORD ExStyle = 0) {
  return Child(Parent, wintest::TestWindowClass(ClassName, StandInProc), 0, 10, Y, 200, Height, ExStyle);
}

class HostWindows : public HostsTest {
 protected:
  TqvMainWnd* AdapterOf(HWND Wnd) {
    if (!provider) provider.reset(vcl::Construct<TqvProvider>(nullptr));
    EXPECT_TRUE(AddChildAdapter(provider.get(), Wnd));
    return GetAdapter(Wnd);
  }
  struct Free {
    void operator()(TqvProvider* P) const { vcl::TObject::Free(P); }
  };
  std::unique_ptr<TqvProvider, Free> provider;
};

TEST_F(HostWindows, TheDialogHookChoosesTheHostsAdaptersByClass) {
  const HWND travel = StandIn(form->Handle(), L"TravelBand", 10, 30);
  const HWND crumbs = StandIn(form->Handle(), L"Breadcrumb Parent", 50, 30);
  const HWND search = StandIn(form->Handle(), L"DirectUIHWND", 90, 24);
  const HWND other = StandIn(form->Handle(), L"DirectUIHWND", 130, 30);
  auto* container = dynamic_cast<TqvContainerWnd*>(AdapterOf(travel));
  ASSERT_NE(container, nullptr);
  EXPECT_TRUE(container->DialogChild);
  EXPECT_EQ(container->SkinData->SkinSection(), L"CHECKBOX");
  EXPECT_NE(dynamic_cast<TqvContainerWnd*>(AdapterOf(crumbs)), nullptr);
  auto* host = dynamic_cast<TqvSearchWnd*>(AdapterOf(search));
  ASSERT_NE(host, nullptr);
  EXPECT_EQ(host->SkinData->SkinSection(), L"CHECKBOX");
  EXPECT_EQ(AdapterOf(other), nullptr);
  EXPECT_EQ(provider->Adapters.size(), 3u);
  provider.reset();
  EXPECT_EQ(GetAdapter(travel), nullptr);
}

TEST_F(HostWindows, TheContainerPaintsItsClientOpaqueFromItsSection) {
  const HWND wnd = StandIn(form->Handle(), L"WorkerW", 10, 40, WS_EX_CLIENTEDGE);
  auto* container = dynamic_cast<TqvContainerWnd*>(AdapterOf(wnd));
  ASSERT_NE(container, nullptr);
  MemoryPixels pixels(196, 36);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(container->FrameWidth, 2);
  EXPECT_EQ(container->ClientRect.Right, 196);
  EXPECT_EQ(pixels.At(0, 0), kCheckBox);
  EXPECT_EQ(pixels.At(195, 35), kCheckBox);
  EXPECT_EQ(PixelOf(container->SkinData->CacheBmp(), 100, 20) >> 24, 0xFFu);
  // The stand-in's own painting no longer shows.
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(pixels.At(100, 20), kCheckBox);
}

TEST_F(HostWindows, TheSearchHostPaintsItselfInsideAFrameFromItsSection) {
  const HWND wnd = StandIn(form->Handle(), L"DirectUIHWND", 10, 24);
  auto* host = dynamic_cast<TqvSearchWnd*>(AdapterOf(wnd));
  ASSERT_NE(host, nullptr);
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_FALSE(host->SkinData->BGChanged);
  vcl::TBitmap* cache = host->SkinData->CacheBmp();
  ASSERT_EQ(cache->Width(), 200);
  EXPECT_EQ(PixelOf(cache, 1, 1) & 0xFFFFFF, (kCheckBox & 0xFF) << 16 | (kCheckBox & 0xFF00) | (kCheckBox >> 16));
  // The window's own painting goes on (through WM_PRINT into a DC).
  MemoryPixels pixels(200, 24);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT);
  EXPECT_EQ(pixels.At(100, 12), kOwnPaint);
  SetWindowPos(wnd, nullptr, 0, 0, 220, 24, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(host->SkinData->CacheBmp()->Width(), 220);
}

}  // namespace
}  // namespace skin_layered::test
