// Background queries between real windows and controls: bitmap and colour answers, a
// skinned control's colour, the fallbacks without an answer (drawn into the asker's DC, or a
// colour), and the cache info made from each answer.
#include "classlib/controls/Controls.h"
#include "core_win_support.h"
#include "skin_layered/core/BackgroundInfo.h"
#include "skin_layered/core/DefaultManager.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinModel.h"

namespace skin_layered::test {

// A windowed container that answers skin commands through a test's function.
class TAnsweringPanel : public vcl::TCustomControl {
  VCL_CLASS(TAnsweringPanel, vcl::TCustomControl)
 public:
  explicit TAnsweringPanel(vcl::TComponent* AOwner) : TCustomControl(AOwner) { SetBounds(0, 0, 100, 100); }
  std::function<LRESULT(int Command, LPARAM LParam)> answer;
  int queries = 0;

  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg == kSkinCmdMessage) {
      ++queries;
      Message.Result = answer ? answer(SkinCommandOf(Message.WParam), Message.LParam) : 0;
      return;
    }
    TCustomControl::WndProc(Message);
  }
};
VCL_CLASS_INFO(TAnsweringPanel) {}

namespace {

struct Form {
  std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)> form{new vcl::TForm(nullptr, 0),
                                                          [](vcl::TForm* f) { vcl::TObject::Free(f); }};
  TAnsweringPanel* panel = new TAnsweringPanel(form.get());
  Form() {
    form->SetClientSize(200, 200);
    panel->SetParent(form.get());
  }
};

class TestManager : public TqvDefaultManager {
 public:
  TsLoadedSkin skin;
  const TsLoadedSkin& Skin() const override { return skin; }
  bool StdGlyphsOrder() const override { return false; }
};

TEST(BackgroundInfo, BitmapAnswerMakesAReadyCacheInfo) {
  Form f;
  vcl::TBitmap cache;
  f.panel->answer = [&cache](int command, LPARAM lparam) -> LRESULT {
    if (command != scmGetBgInfo) return 0;
    auto* info = reinterpret_cast<TqvBGInfo*>(lparam);
    info->Bmp = &cache;
    info->Offset.X += 5;
    info->Offset.Y += 6;
    info->BgType = btBitmap;
    return 0;
  };
  f.panel->Handle();
  TqvBGInfo info;
  info.Offset = {1, 2};
  info.FillRect = vcl::TRect(1, 1, 2, 2);
  EXPECT_TRUE(GetBgInfo(info, f.panel, false));
  EXPECT_EQ(info.BgType, btBitmap);
  EXPECT_EQ(info.Bmp, &cache);
  EXPECT_EQ(info.FillRect, vcl::TRect());  // cleared before the query
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  EXPECT_TRUE(ci.Ready);
  EXPECT_EQ(ci.Bmp, &cache);
  EXPECT_EQ(ci.X, 6);
  EXPECT_EQ(ci.Y, 8);
  EXPECT_EQ(ci.FillColor, 0xFF00FFu);
}

TEST(BackgroundInfo, ColourAnswersCarryNoStaleBitmap) {
  Form f;
  f.panel->answer = [](int command, LPARAM lparam) -> LRESULT {
    if (command != scmGetBgInfo) return 0;
    auto* info = reinterpret_cast<TqvBGInfo*>(lparam);
    info->Color = vcl::clBtnFace;
    info->FillRect = vcl::TRect(0, 0, 3, 3);
    info->BgType = btColor;
    return 0;
  };
  vcl::TBitmap gone;
  TqvBGInfo info;
  info.Bmp = &gone;  // left from an earlier answer
  EXPECT_TRUE(GetBgInfoWnd(info, f.panel->Handle(), false));
  EXPECT_EQ(info.Bmp, nullptr);
  TqvCacheInfo ci;
  CopyBgInfo(info, ci);
  EXPECT_FALSE(ci.Ready);
  EXPECT_EQ(ci.Bmp, nullptr);
  EXPECT_EQ(ci.FillColor, static_cast<std::uint32_t>(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ci.FillRect, vcl::TRect(0, 0, 3, 3));
}

TEST(BackgroundInfo, UnansweredQueriesFallBackToColours) {
  Form f;
  f.panel->SetColor(vcl::clRed);
  TqvBGInfo info;
  // An unskinned control: its colour property.
  EXPECT_TRUE(GetBgInfo(info, f.panel, false));
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(info.Color, 0x0000FF);
  // A skinned control whose colour is black: black, not its property.
  f.panel->answer = [](int command, LPARAM) -> LRESULT { return command == scmIsSkinned ? 1 : 0; };
  EXPECT_TRUE(GetBgInfo(info, f.panel, false));
  EXPECT_EQ(info.Color, 0);
  // A control without a window is asked by Perform, and no window is made for it.
  auto* hidden = new TAnsweringPanel(f.form.get());
  hidden->SetColor(vcl::clLime);
  EXPECT_TRUE(GetBgInfo(info, hidden, false));
  EXPECT_FALSE(hidden->HandleAllocated());
  EXPECT_GT(hidden->queries, 0);
  EXPECT_EQ(info.Color, 0x00FF00);

  // A window that does not answer: the button face, or the default skin's global colour.
  HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(GetBgInfoWnd(info, plain, false));
  EXPECT_EQ(info.BgType, btColor);
  EXPECT_EQ(info.Color, vcl::clBtnFace);
  TestManager manager;
  manager.skin.Colors.GlobalColor = 0x123456;
  TqvDefaultManager* before = SetDefaultManager(&manager);
  EXPECT_FALSE(GetBgInfoWnd(info, plain, false));
  EXPECT_EQ(info.Color, 0x123456);
  EXPECT_EQ(DefaultSkin(), &manager.skin);
  SetDefaultManager(before);
  DestroyWindow(plain);
}

TEST(BackgroundInfo, PleaseDrawPaintsTheControlIntoTheAskersArea) {
  Form f;
  f.panel->SetColor(vcl::clRed);
  f.panel->Handle();
  vcl::TBitmap target;
  target.SetPixelFormat(vcl::pf24bit);
  target.SetSize(20, 20);
  target.Canvas()->Brush()->SetColor(vcl::clWhite);
  target.Canvas()->FillRect(vcl::Rect(0, 0, 20, 20));
  HDC dc = target.Canvas()->Handle();
  TqvBGInfo info;
  info.DrawDC = dc;
  info.R = vcl::TRect(2, 2, 12, 12);
  info.Offset = {30, 40};
  EXPECT_TRUE(GetBgInfo(info, f.panel, true));
  EXPECT_EQ(info.R, vcl::TRect(32, 42, 42, 52));  // left moved by the offset
  EXPECT_EQ(target.Canvas()->Pixels(2, 2) & 0xFFFFFF, 0x0000FF);
  EXPECT_EQ(target.Canvas()->Pixels(11, 11) & 0xFFFFFF, 0x0000FF);
  EXPECT_EQ(target.Canvas()->Pixels(12, 12) & 0xFFFFFF, 0xFFFFFF);  // clipped to the area
  EXPECT_EQ(target.Canvas()->Pixels(1, 5) & 0xFFFFFF, 0xFFFFFF);
  POINT origin{};
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin.x, 0);  // the DC is given back as it was

  // The same asked of the window: painted too, but reported as no answer.
  target.Canvas()->FillRect(vcl::Rect(0, 0, 20, 20));
  info.R = vcl::TRect(0, 0, 5, 5);
  info.Offset = {0, 0};
  EXPECT_FALSE(GetBgInfoWnd(info, f.panel->Handle(), true));
  EXPECT_EQ(target.Canvas()->Pixels(4, 4) & 0xFFFFFF, 0x0000FF);
  EXPECT_EQ(target.Canvas()->Pixels(5, 5) & 0xFFFFFF, 0xFFFFFF);
}

}  // namespace
}  // namespace skin_layered::test
