// The edge adapter: a static with a sunken edge paints itself and gets the skin's edge over
// its outer two pixels; the dialog hook gives such statics of dialogs the adapter.
#include "panels_support.h"
#include "skin_layered/adapters/DialogHook.h"
#include "skin_layered/adapters/StaticWnd.h"

namespace skin_layered::test {
namespace {

inline constexpr COLORREF kEdge = 0x8040C0;

class EdgeWnd : public PanelsTest {
 protected:
  void SetUp() override {
    PanelsTest::SetUp();
    skins.Write(L"Edges", L"Options.dat", BytesOf(PanelSkinText() + FlatSection("EDIT", kEdge, kEdge)));
    manager->SetSkinName(L"Edges");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
  }
  HWND MakeStatic(DWORD Style) {
    return CreateWindowExW(WS_EX_STATICEDGE, L"STATIC", L"Etched", WS_CHILD | WS_VISIBLE | Style, 10, 10, 120, 40,
                           form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  }
};

TEST_F(EdgeWnd, TheStaticPaintsItselfInsideTheSkinsEdge) {
  const HWND wnd = MakeStatic(SS_WHITEFRAME);
  auto adapter = CreateAdapter<TqvEdgeWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  FramePixels pixels(wnd);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(pixels.DC()), PRF_CLIENT | PRF_NONCLIENT);
  RECT r{};
  GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  for (POINT p : {POINT{0, 0}, POINT{1, h / 2}, POINT{w - 1, h - 1}, POINT{w / 2, h - 2}, POINT{w - 2, 5}})
    EXPECT_EQ(pixels.At(p.x, p.y), kEdge) << p.x << "," << p.y;
  // Inside the edge the static's own painting stays.
  EXPECT_NE(pixels.At(w / 2, h / 2), kEdge);
  // Without the skin the static's own edge comes back.
  manager->SetActive(false);
  FramePixels own(wnd);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(own.DC()), PRF_CLIENT | PRF_NONCLIENT);
  EXPECT_NE(own.At(0, 0), kEdge);
  adapter.reset();
  DestroyWindow(wnd);
}

TEST_F(EdgeWnd, TheDialogHookGivesEdgedIconStaticsTheEdgeAdapter) {
  const HWND edged = MakeStatic(SS_ICON);
  const HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_ICON, 10, 60, 32, 32, form->Handle(),
                                     nullptr, GetModuleHandleW(nullptr), nullptr);
  auto* provider = new TqvProvider(nullptr);
  EXPECT_TRUE(AddChildAdapter(provider, edged));
  EXPECT_TRUE(AddChildAdapter(provider, plain));
  auto* edge = dynamic_cast<TqvEdgeWnd*>(GetAdapter(edged));
  ASSERT_NE(edge, nullptr);
  EXPECT_EQ(edge->SkinData->SkinSection(), L"EDIT");
  EXPECT_EQ(dynamic_cast<TqvEdgeWnd*>(GetAdapter(plain)), nullptr);
  EXPECT_NE(dynamic_cast<TqvIconWnd*>(GetAdapter(plain)), nullptr);
  vcl::TObject::Free(provider);
  DestroyWindow(edged);
  DestroyWindow(plain);
}

}  // namespace
}  // namespace skin_layered::test
