// The edit adapter on library edits, memos and list boxes and on a bare dialog edit, under a
// skin whose edit border has a normal and a focused frame: the skin's colours and border in
// each state, the memo's skinned bar, what reaches the control below, and its own look back.
#include <map>

#include "adapters_support.h"
#include "classlib/controls/WindowProcHook.h"
#include "classlib/stdctrls/ListBox.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_layered/adapters/AdapterUnit.h"
#include "skin_layered/adapters/EditWnd.h"

namespace skin_layered::test {
namespace {

constexpr COLORREF kEditBg = 0x30C0F0, kEditHotBg = 0x60F060;
constexpr COLORREF kEditFont = 0x000080, kEditHotFont = 0x008000;
constexpr COLORREF kBorderNormal = 0x2040A0, kBorderFocused = 0xA04020;
constexpr COLORREF kSkinBorderColor = 0x123456;
constexpr COLORREF kOwnColor = 0x00FFFF, kOwnFont = 0x0000FF;
constexpr COLORREF kPlainBg = 0xC0C0F0, kPlainHotBg = 0xF0C0C0;

// Two 10 x 10 frames side by side in the master bitmap: the normal and the focused border.
std::string EditSkinText() {
  return "[GLOBALINFO]\r\nVERSION=7.5\r\nMASTERBITMAP=master.bmp\r\nBORDERCOLOR=" + Hex(kSkinBorderColor) +
         "\r\n[EDIT]\r\nCOLOR=" + Hex(kEditBg) + "\r\nHOTCOLOR=" + Hex(kEditHotBg) + "\r\nFONTCOLOR=" +
         Hex(kEditFont) + "\r\nHOTFONTCOLOR=" + Hex(kEditHotFont) +
         "\r\nSTATES=2\r\nBORDERSMASK=^0000,0000,0020,0010,0002,0002,0002,0002,2,0,0,0\r\n" + ScrollSections() +
         "[PLAINEDIT]\r\nCOLOR=" + Hex(kPlainBg) + "\r\nHOTCOLOR=" + Hex(kPlainHotBg) +
         "\r\nFONTCOLOR=$000000\r\nHOTFONTCOLOR=$000000\r\nSTATES=2\r\n";
}

// An edit with the published property some vendors' edits have.
class TFocusEdit : public vcl::TEdit {
  VCL_CLASS(TFocusEdit, vcl::TEdit)
 public:
  using vcl::TEdit::TEdit;
  int focus_color = 0x777777;
};
VCL_CLASS_INFO(TFocusEdit) { p.Integer<&TFocusEdit::focus_color>(L"FocusColor", 0); }

// Counts the messages that reach the control below its adapter.
struct TBelow {
  vcl::TWindowProcHook hook;
  std::map<UINT, int> counts;
  void Proc(vcl::TMessage& m) {
    ++counts[m.Msg];
    hook.CallPrevious(m);
  }
};

class EditAdapters : public SkinnedTest {
 protected:
  void SetUp() override {
    skins.Write(L"Edits", L"master.bmp",
                Bmp24(20, 10, [](int x, int) { return Rgb(x < 10 ? kBorderNormal : kBorderFocused); }));
    LoadSkin(EditSkinText(), L"Edits");
    form->SetBounds(20, 20, 420, 320);
    form->Show();
  }

  template <class T = vcl::TEdit>
  T* MakeEdit() {
    auto* edit = Put<T>(form.get(), 10, 10, 160, 24);
    edit->SetColor(kOwnColor);
    edit->Font()->SetColor(kOwnFont);
    edit->SetText(L"text");
    return edit;
  }
  void Adapt(vcl::TWinControl* Control, TqvSkinParams Params = {}) {
    Params.Control = Control;
    adapter = CreateAdapter<TqvEditWnd>(Control->Handle(), nullptr, manager.get(), Params, true);
  }
  // The window printed into memory (its frame with PRF_NONCLIENT).
  std::unique_ptr<FramePixels> Print(LPARAM Flags = PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND) {
    return Printed(adapter->CtrlHandle, Flags);
  }
  static std::pair<vcl::TColor, vcl::TColor> Colors(vcl::TControl* Control) {
    return {Control->Color(), Control->Font()->Color()};
  }
  static std::pair<vcl::TColor, vcl::TColor> Colors(COLORREF Color, COLORREF Font) {
    return {static_cast<vcl::TColor>(Color), static_cast<vcl::TColor>(Font)};
  }

  TqvAdapterPtr<TqvEditWnd> adapter;
};

TEST_F(EditAdapters, AnEditTakesTheSkinsColoursAndBorderAndGetsItsOwnBackWhenTheSkinGoes) {
  auto* edit = MakeEdit();
  Adapt(edit);
  EXPECT_TRUE(adapter->SingleLineEdit);
  EXPECT_TRUE(edit->ControlStyle().Contains(vcl::csOpaque));
  SendMessageW(edit->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(Colors(edit), Colors(kEditBg, kEditFont));
  EXPECT_EQ(Print()->At(0, 0), kBorderNormal);
  // The client alone: no frame, the client at the origin in the skin's colour.
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  EXPECT_NE(Print(PRF_CLIENT)->At(0, 0), kBorderNormal);
  EXPECT_EQ(Print(PRF_CLIENT)->At(client.right - 2, client.bottom - 2), kEditBg);
  EXPECT_EQ(Print()->At(client.right - 2 + adapter->BorderLeft, client.bottom - 2 + adapter->BorderTop), kEditBg);

  // Focused: the section's second state and the border's second frame.
  SendMessageW(edit->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(Colors(edit), Colors(kEditHotBg, kEditHotFont));
  EXPECT_EQ(Print()->At(0, 0), kBorderFocused);
  SendMessageW(edit->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(Colors(edit), Colors(kEditBg, kEditFont));
  EXPECT_EQ(Print()->At(0, 0), kBorderNormal);

  manager->SetActive(false);
  EXPECT_EQ(Colors(edit), Colors(kOwnColor, kOwnFont));
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 1);
  manager->SetActive(true);
  SendMessageW(edit->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(Colors(edit), Colors(kEditBg, kEditFont));

  // Detached: the control's own colours and the system's frame.
  UninstallAdapter(adapter, true, true);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnColor));
  EXPECT_FALSE(edit->ControlStyle().Contains(vcl::csOpaque));
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 0);
}

TEST_F(EditAdapters, FocusShowsTheSectionsSecondStateAlsoWithoutABorderMask) {
  auto* edit = MakeEdit();
  Adapt(edit, TqvSkinParams{nullptr, L"PLAINEDIT"});
  ASSERT_LT(adapter->SkinData->BorderIndex, 0);
  adapter->ApplySkinParams();
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kPlainBg));
  SendMessageW(edit->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kPlainHotBg));
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  EXPECT_EQ(Print(PRF_CLIENT)->At(client.right - 2, client.bottom - 2), kPlainHotBg);
  SendMessageW(edit->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kPlainBg));
}

TEST_F(EditAdapters, AMemosBarIsSkinnedAndFollowsItsText) {
  auto* memo = Put<vcl::TMemo>(form.get(), 10, 40, 200, 120);
  memo->SetScrollBars(vcl::ssVertical);
  vcl::String text;
  for (int i = 0; i < 60; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
  memo->SetText(text);
  Adapt(memo);
  EXPECT_FALSE(adapter->SingleLineEdit);
  ASSERT_TRUE(adapter->VertBar->Visible);
  vcl::TRect bar;
  GetVScrollRect(adapter.get(), memo->Handle(), bar);
  RECT wr{};
  GetWindowRect(memo->Handle(), &wr);
  const int x = bar.Left - wr.left + bar.Width() / 2;
  auto pixels = Print();
  EXPECT_EQ(pixels->At(x, bar.Top - wr.top + 1), kTopColor);
  EXPECT_EQ(pixels->At(x, bar.Bottom - wr.top - 2), kBottomColor);
  EXPECT_EQ(pixels->At(0, 0), kBorderNormal);
  // Text replaced at the end: the bar's info is read again.
  SendMessageW(memo->Handle(), EM_SETSEL, 0, -1);
  SendMessageW(memo->Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(L"short"));
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(memo->Handle(), SB_VERT, &info);
  EXPECT_EQ(adapter->VertBar->Info.nMax, info.nMax);
  EXPECT_EQ(adapter->VertBar->Info.nPos, info.nPos);
}

TEST_F(EditAdapters, ADisabledEditIsPaintedFromItsCacheAlone) {
  auto* edit = MakeEdit();
  TBelow below;
  below.hook.Install(edit, vcl::TWndMethod::Bind<&TBelow::Proc>(&below));
  Adapt(edit);
  edit->SetEnabled(false);
  below.counts.clear();
  InvalidateRect(edit->Handle(), nullptr, TRUE);
  SendMessageW(edit->Handle(), WM_PAINT, 0, 0);
  FramePixels pixels(edit->Handle());
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
  EXPECT_EQ(below.counts[WM_PAINT], 0);
  EXPECT_EQ(below.counts[WM_ERASEBKGND], 0);
  adapter.reset();
}

TEST_F(EditAdapters, AnEmptyClipBoxPaintsNothing) {
  auto* edit = MakeEdit();
  TBelow below;
  below.hook.Install(edit, vcl::TWndMethod::Bind<&TBelow::Proc>(&below));
  Adapt(edit);
  FramePixels pixels(edit->Handle());
  HRGN empty = CreateRectRgn(0, 0, 0, 0);
  SelectClipRgn(pixels.DC(), empty);
  below.counts.clear();
  SendMessageW(edit->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(pixels.DC()), 0);
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
  EXPECT_EQ(below.counts[WM_PAINT], 0);
  EXPECT_EQ(below.counts[WM_ERASEBKGND], 0);
  // The print target is painted whatever its clip box says.
  SendCommandToWnd(edit->Handle(), scmSetPrintTarget, reinterpret_cast<LPARAM>(pixels.DC()));
  SendMessageW(edit->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(pixels.DC()), 0);
  EXPECT_EQ(below.counts[WM_PAINT], 1);
  SendCommandToWnd(edit->Handle(), scmSetPrintTarget, 0);
  DeleteObject(empty);
  adapter.reset();
}

TEST_F(EditAdapters, FocusColorFollowsTheSkinAndAControlKeepingItsColoursIsLeftAlone) {
  auto* edit = MakeEdit<TFocusEdit>();
  Adapt(edit);
  adapter->ApplySkinParams();
  EXPECT_EQ(edit->focus_color, static_cast<int>(kEditBg));
  adapter.reset();
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnColor));
  EXPECT_EQ(edit->focus_color, 0x777777);

  TqvSkinParams params;
  params.UseSkinColor = false;
  params.UseSkinFont = false;
  Adapt(edit, params);
  adapter->ApplySkinParams();
  EXPECT_EQ(Colors(edit), Colors(kOwnColor, kOwnFont));
  // Its background answer is its own colour.
  TqvBGInfo info;
  SendCommandToWnd(edit->Handle(), scmGetBgInfo, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(info.Color, static_cast<vcl::TColor>(kOwnColor));
}

TEST_F(EditAdapters, ABareDialogEditKeepsTheSystemsColours) {
  HWND wnd = Child(form->Handle(), L"EDIT", 0, 10, 80, 120, 24, WS_EX_CLIENTEDGE, L"bare");
  {
    TqvDialogChildScope scope(true);
    adapter = CreateAdapter<TqvEditWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  }
  adapter->ApplySkinParams();
  EXPECT_EQ(adapter->FillColor, vcl::ColorToRGB(vcl::clWindow));
  EXPECT_EQ(adapter->BorderColor, static_cast<vcl::TColor>(kSkinBorderColor));
}

TEST_F(EditAdapters, AnEmptyListBoxAnswersNoTopIndex) {
  auto* list = Put<vcl::TListBox>(form.get(), 200, 10, 120, 100);
  Adapt(list);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), -1);
  list->Items()->Add(L"one");
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 0);
}

}  // namespace
}  // namespace skin_layered::test
