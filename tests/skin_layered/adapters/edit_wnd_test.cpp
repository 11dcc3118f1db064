// The edit adapter on the library's edits, memos and list boxes and on a bare dialog edit,
// under a skin of flat colours whose edit border has two frames (normal, focused): the
// section's colours written into the control and given back when the skin goes (and taken
// again when it returns), the border printed from the cache in its state, the memo's skinned
// bar, a disabled edit painted from its cache alone, empty clip boxes, the "FocusColor"
// property, controls that keep their own colours, WM_PRINT with and without the frame, and
// focus shown by a section of two states without a border mask.
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
         "\r\nSTATES=2\r\nBORDERSMASK=^0000,0000,0020,0010,0002,0002,0002,0002,2,0,0,0\r\n" +
         FlatSection("SCROLLBTNLEFT", kLeftColor, kLeftHot) + FlatSection("SCROLLBTNTOP", kTopColor, kTopHot) +
         FlatSection("SCROLLBTNRIGHT", kRightColor, kRightHot) +
         FlatSection("SCROLLBTNBOTTOM", kBottomColor, kBottomHot) +
         FlatSection("SCROLLBAR1H", kTrack1H, kTrack1HHot) + FlatSection("SCROLLBAR1V", kTrack1V, kTrack1VHot) +
         FlatSection("SCROLLBAR2H", kTrack2H, kTrack2HHot) + FlatSection("SCROLLBAR2V", kTrack2V, kTrack2VHot) +
         FlatSection("SCROLLSLIDERH", kSliderH, kSliderHHot) + FlatSection("SCROLLSLIDERV", kSliderV, kSliderVHot) +
         "[PLAINEDIT]\r\nCOLOR=" + Hex(kPlainBg) + "\r\nHOTCOLOR=" + Hex(kPlainHotBg) +
         "\r\nFONTCOLOR=$000000\r\nHOTFONTCOLOR=$000000\r\nSTATES=2\r\n";
}

// The skin writes $BBGGRR, the bitmap holds RRGGBB.
std::uint32_t Rgb(COLORREF c) { return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF); }

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

class EditAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Edits", L"master.bmp",
                Bmp24(20, 10, [](int x, int) { return Rgb(x < 10 ? kBorderNormal : kBorderFocused); }));
    skins.Write(L"Edits", L"Options.dat", BytesOf(EditSkinText()));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    manager->SetSkinName(L"Edits");
    ASSERT_TRUE(manager->Skin().SkinData.Active);
    form->SetBounds(20, 20, 420, 320);
    form->Show();
  }
  void TearDown() override {
    adapter.reset();
    form.reset();
    manager.reset();
  }

  template <class T = vcl::TEdit>
  T* MakeEdit(int Top = 10) {
    auto* edit = new T(form.get());
    edit->SetParent(form.get());
    edit->SetBounds(10, Top, 160, 24);
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
    auto pixels = std::make_unique<FramePixels>(adapter->CtrlHandle);
    SendMessageW(adapter->CtrlHandle, WM_PRINT, reinterpret_cast<WPARAM>(pixels->DC()), Flags);
    return pixels;
  }

  TempSkins skins;
  ManagerPtr manager;
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form = ShownForm();
  TqvAdapterPtr<TqvEditWnd> adapter;
};

TEST_F(EditAdapters, AnEditTakesTheSkinsColoursAndBorderAndGetsItsOwnBackWhenTheSkinGoes) {
  auto* edit = MakeEdit();
  Adapt(edit);
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"EDIT");
  EXPECT_EQ(adapter->SkinData->COC, kEditAdapterCode);
  EXPECT_TRUE(adapter->SingleLineEdit);
  EXPECT_EQ(edit->ControlStyle().Contains(vcl::csOpaque), true);
  SendMessageW(edit->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_TRUE(adapter->SkinParamsApplied);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kEditBg));
  EXPECT_EQ(edit->Font()->Color(), static_cast<vcl::TColor>(kEditFont));
  EXPECT_EQ(adapter->FillColor, static_cast<vcl::TColor>(kEditBg));
  {
    auto pixels = Print();
    EXPECT_EQ(pixels->At(0, 0), kBorderNormal);
    EXPECT_EQ(pixels->At(1, 12), kBorderNormal);
  }

  // Focused: the section's second state and the border's second frame.
  SendMessageW(edit->Handle(), WM_SETFOCUS, 0, 0);
  EXPECT_TRUE(adapter->SkinData->Focused());
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kEditHotBg));
  EXPECT_EQ(edit->Font()->Color(), static_cast<vcl::TColor>(kEditHotFont));
  EXPECT_EQ(Print()->At(0, 0), kBorderFocused);
  SendMessageW(edit->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kEditBg));
  EXPECT_EQ(Print()->At(0, 0), kBorderNormal);

  manager->SetActive(false);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnColor));
  EXPECT_EQ(edit->Font()->Color(), static_cast<vcl::TColor>(kOwnFont));
  EXPECT_EQ(SendCommandToWnd(edit->Handle(), scmIsSkinned, 0), 1);
  manager->SetActive(true);
  SendMessageW(edit->Handle(), WM_NCPAINT, 1, 0);
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kEditBg));
  EXPECT_EQ(edit->Font()->Color(), static_cast<vcl::TColor>(kEditFont));

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
  EXPECT_TRUE(adapter->SkinData->Focused());
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kPlainHotBg));
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  EXPECT_EQ(Print(PRF_CLIENT)->At(client.right - 2, client.bottom - 2), kPlainHotBg);
  SendMessageW(edit->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_FALSE(adapter->SkinData->Focused());
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kPlainBg));
}

TEST_F(EditAdapters, AMemosBarIsSkinnedAndFollowsItsText) {
  auto* memo = new vcl::TMemo(form.get());
  memo->SetParent(form.get());
  memo->SetBounds(10, 40, 200, 120);
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
  {
    auto pixels = Print();
    EXPECT_EQ(pixels->At(x, bar.Top - wr.top + 1), kTopColor);
    EXPECT_EQ(pixels->At(x, bar.Bottom - wr.top - 2), kBottomColor);
    EXPECT_EQ(pixels->At(0, 0), kBorderNormal);
  }
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
  EXPECT_EQ(below.counts[WM_PAINT], 0);
  FramePixels pixels(edit->Handle());
  EXPECT_EQ(SendMessageW(edit->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(pixels.DC()), 0), 1);
  EXPECT_EQ(below.counts[WM_ERASEBKGND], 0);
  adapter.reset();
  below.hook.Remove();
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
  below.hook.Remove();
}

TEST_F(EditAdapters, FocusColorFollowsTheSkinAndIsGivenBack) {
  auto* edit = MakeEdit<TFocusEdit>();
  Adapt(edit);
  adapter->ApplySkinParams();
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kEditBg));
  EXPECT_EQ(edit->focus_color, static_cast<int>(kEditBg));
  adapter.reset();
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnColor));
  EXPECT_EQ(edit->focus_color, 0x777777);
}

TEST_F(EditAdapters, AControlKeepingItsColourAndFontIsLeftAlone) {
  auto* edit = MakeEdit();
  TqvSkinParams params;
  params.UseSkinColor = false;
  params.UseSkinFont = false;
  Adapt(edit, params);
  adapter->ApplySkinParams();
  EXPECT_EQ(edit->Color(), static_cast<vcl::TColor>(kOwnColor));
  EXPECT_EQ(edit->Font()->Color(), static_cast<vcl::TColor>(kOwnFont));
  // Its background answer is its own colour.
  TqvBGInfo info;
  SendCommandToWnd(edit->Handle(), scmGetBgInfo, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(info.Color, static_cast<vcl::TColor>(kOwnColor));
}

TEST_F(EditAdapters, PrintingTheClientAlonePaintsNoFrame) {
  auto* edit = MakeEdit();
  Adapt(edit);
  adapter->ApplySkinParams();
  RECT client{};
  GetClientRect(edit->Handle(), &client);
  auto pixels = Print(PRF_CLIENT);
  EXPECT_NE(pixels->At(0, 0), kBorderNormal);
  // The client area lies at the origin, in the skin's colour away from the text.
  EXPECT_EQ(pixels->At(client.right - 2, client.bottom - 2), kEditBg);
  auto framed = Print();
  EXPECT_EQ(framed->At(0, 0), kBorderNormal);
  EXPECT_EQ(framed->At(client.right - 2 + adapter->BorderLeft, client.bottom - 2 + adapter->BorderTop), kEditBg);
}

TEST_F(EditAdapters, ABareDialogEditKeepsTheSystemsColours) {
  HWND wnd = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"bare", WS_CHILD | WS_VISIBLE, 10, 80, 120, 24,
                             form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  {
    TqvDialogChildScope scope(true);
    adapter = CreateAdapter<TqvEditWnd>(wnd, nullptr, manager.get(), TqvSkinParams{nullptr, L"EDIT"}, true);
  }
  EXPECT_TRUE(adapter->DialogChild);
  adapter->ApplySkinParams();
  EXPECT_EQ(adapter->FillColor, vcl::ColorToRGB(vcl::clWindow));
  EXPECT_EQ(adapter->BorderColor, static_cast<vcl::TColor>(kSkinBorderColor));
  EXPECT_EQ(SendCommandToWnd(wnd, scmIsSkinned, 0), 1);
  adapter.reset();
  DestroyWindow(wnd);
}

TEST_F(EditAdapters, AnEmptyListBoxAnswersNoTopIndex) {
  auto* list = new vcl::TListBox(form.get());
  list->SetParent(form.get());
  list->SetBounds(200, 10, 120, 100);
  Adapt(list);
  EXPECT_FALSE(adapter->SingleLineEdit);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), -1);
  list->Items()->Add(L"one");
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETTOPINDEX, 0, 0), 0);
}

}  // namespace
}  // namespace skin_layered::test
