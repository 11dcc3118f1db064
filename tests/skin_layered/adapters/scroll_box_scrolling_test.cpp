// A skinned form's scroll box scrolled by its skinned bar, on the screen: what the user sees
// after each step is what a fresh paint of the whole box shows (no strip of a child's frame
// left at its old place).
#include <algorithm>
#include <vector>

#include "auto_support.h"
#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/ScrollBoxWnd.h"
#include "skin_layered/adapters/ScrollWnd.h"
#include "skin_layered/manager/SkinManager.h"
#include "skin_layered/paint/SkinImages.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kLabelColor = 0x2080E0, kRim = 0x1010C0, kInside = 0xD0E0F0;

struct FormFree {
  void operator()(vcl::TForm* f) const { vcl::TObject::Free(f); }
};

// The window's pixels as the system shows them, read from its form's window surface.
std::vector<COLORREF> OnScreen(HWND Wnd) {
  const HWND top = GetAncestor(Wnd, GA_ROOT);
  RECT r{}, t{};
  GetWindowRect(Wnd, &r);
  GetWindowRect(top, &t);
  MemoryPixels shot(r.right - r.left, r.bottom - r.top);
  const HDC dc = GetWindowDC(top);
  BitBlt(shot.DC(), 0, 0, r.right - r.left, r.bottom - r.top, dc, r.left - t.left, r.top - t.top, SRCCOPY);
  ReleaseDC(top, dc);
  std::vector<COLORREF> pixels;
  for (int y = 0; y < r.bottom - r.top; ++y)
    for (int x = 0; x < r.right - r.left; ++x) pixels.push_back(shot.At(x, y));
  return pixels;
}

// The static texts' section gets a border image: a rim of one pixel round another colour.
void AddRimmedBorder(TsSkinManager& Manager) {
  auto bmp = std::make_shared<vcl::TBitmap>();
  bmp->SetPixelFormat(vcl::pf32bit);
  bmp->SetSize(6, 6);
  const HDC dc = bmp->Canvas()->Handle();
  const RECT all{0, 0, 6, 6}, inside{1, 1, 5, 5};
  const HBRUSH rim = CreateSolidBrush(kRim), fill = CreateSolidBrush(kInside);
  FillRect(dc, &all, rim);
  FillRect(dc, &inside, fill);
  DeleteObject(rim);
  DeleteObject(fill);
  TsMaskData image;
  image.Bmp = bmp;
  image.ClassName = L"GROUPBOX";
  image.PropertyName = L"BORDERSMASK";
  image.R = vcl::TRect{0, 0, 6, 6};
  image.ImageCount = 1;
  image.DrawMode = kDrawCentre | kDrawStretch;
  image.Manager = &Manager.Skin();
  image.WidthLeft = image.WidthTop = image.WidthRight = image.WidthBottom = 1;
  Manager.Skin().Images.push_back(image);
  for (auto& section : Manager.Skin().Sections)
    if (section.ClassName == L"GROUPBOX") section.BorderIndex = static_cast<int>(Manager.Skin().Images.size()) - 1;
}

int Differing(const std::vector<COLORREF>& A, const std::vector<COLORREF>& B) {
  if (A.size() != B.size()) return -1;
  int n = 0;
  for (std::size_t i = 0; i < A.size(); ++i) n += A[i] != B[i] ? 1 : 0;
  return n;
}

TEST(ScrollBoxScrolling, EachStepOfTheSkinnedBarShowsWhatAFreshPaintShows) {
  wintest::PointerLock lock;
  TempSkins skins;
  ManagerPtr manager = LoadedManager(skins, L"Flat", EveryKindSkinText(0));
  AddRimmedBorder(*manager);
  manager->AnimEffects()->FormShow()->SetActive(false);
  std::unique_ptr<vcl::TForm, FormFree> form(new vcl::TForm(vcl::Application, 0));
  vcl::Construct<TsSkinProvider>(form.get());
  form->SetBounds(40, 40, 400, 300);
  auto* box = Put<vcl::TScrollBox>(form.get(), 20, 20, 240, 150, form.get());
  // An opaque label of its own colour, a bordered static text below it, a label below the fold.
  auto* label = Put<vcl::TLabel>(box, 12, 10, 190, 18, form.get());
  label->SetAutoSize(false);
  label->SetTransparent(false);
  label->SetColor(static_cast<vcl::TColor>(kLabelColor));
  label->SetCaption(L"");
  label->SetBounds(12, 10, 190, 18);
  auto* text = Put<vcl::TStaticText>(box, 12, 36, 190, 40, form.get());
  text->SetAutoSize(false);
  text->SetBorderStyle(vcl::sbsSingle);
  text->SetBounds(12, 36, 190, 40);
  text->SetCaption(L"");
  Put<vcl::TLabel>(box, 12, 200, 190, 30, form.get());
  ASSERT_TRUE(wintest::MovePointer(0, 0));  // away from the form: nothing turns hot meanwhile
  form->Show();
  // Nothing of other windows over it while its pixels are read from the screen.
  SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form->Handle());
  RedrawWindow(form->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  wintest::PumpUntilIdle();
  auto* adapter = dynamic_cast<TqvScrollBoxWnd*>(GetAdapter(box->Handle()));
  ASSERT_NE(adapter, nullptr);
  ASSERT_TRUE(adapter->VertBar && adapter->VertBar->Visible);
  // The static text shows its rim.
  const std::vector<COLORREF> first = OnScreen(text->Handle());
  ASSERT_GT(std::count(first.begin(), first.end(), kRim), 0);

  for (int step = 1; step <= 4; ++step) {
    SendScrollMsg(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    wintest::PumpUntilIdle();
    const std::vector<COLORREF> seen = OnScreen(box->Handle());
    RedrawWindow(box->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    wintest::PumpUntilIdle();
    const std::vector<COLORREF> fresh = OnScreen(box->Handle());
    EXPECT_EQ(Differing(seen, fresh), 0) << "after step " << step;
  }
  EXPECT_GT(box->VertScrollBar()->Position(), 0);
}

}  // namespace
}  // namespace skin_layered::test
