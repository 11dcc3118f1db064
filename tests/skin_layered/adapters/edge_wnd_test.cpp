// The edge adapter: a static with a sunken edge paints itself inside the skin's edge; the dialog
// hook gives edged icon statics the adapter.
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
    return Child(form->Handle(), L"STATIC", Style, 10, 10, 120, 40, WS_EX_STATICEDGE, L"Etched");
  }
};

TEST_F(EdgeWnd, TheStaticPaintsItselfInsideTheSkinsEdge) {
  const HWND wnd = MakeStatic(SS_WHITEFRAME);
  auto adapter = CreateAdapter<TqvEdgeWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"});
  auto pixels = Printed(wnd);
  const int w = WindowBox(wnd).right, h = WindowBox(wnd).bottom;
  for (POINT p : {POINT{0, 0}, POINT{1, h / 2}, POINT{w - 1, h - 1}, POINT{w / 2, h - 2}, POINT{w - 2, 5}})
    EXPECT_EQ(pixels->At(p.x, p.y), kEdge) << p.x << "," << p.y;
  // Inside the edge the static's own painting stays.
  EXPECT_NE(pixels->At(w / 2, h / 2), kEdge);
  // Without the skin the static's own edge comes back.
  manager->SetActive(false);
  EXPECT_NE(Printed(wnd)->At(0, 0), kEdge);
}

TEST_F(EdgeWnd, TheDialogHookGivesEdgedIconStaticsTheEdgeAdapter) {
  const HWND edged = MakeStatic(SS_ICON);
  const HWND plain = Child(form->Handle(), L"STATIC", SS_ICON, 10, 60, 32, 32);
  auto* provider = new TqvProvider(nullptr);
  EXPECT_TRUE(AddChildAdapter(provider, edged));
  EXPECT_TRUE(AddChildAdapter(provider, plain));
  auto* edge = dynamic_cast<TqvEdgeWnd*>(GetAdapter(edged));
  ASSERT_NE(edge, nullptr);
  EXPECT_EQ(edge->SkinData->SkinSection(), L"EDIT");
  EXPECT_EQ(dynamic_cast<TqvEdgeWnd*>(GetAdapter(plain)), nullptr);
  EXPECT_NE(dynamic_cast<TqvIconWnd*>(GetAdapter(plain)), nullptr);
  vcl::TObject::Free(provider);
}

}  // namespace
}  // namespace skin_layered::test
