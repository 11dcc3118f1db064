// Skinned display controls and containers on real controls: progress bars, the track bar's
// custom-draw answers, header hot tracking, status panels, the list view's header, the media
// player's strip and its clicks, and the container skinners.
#include "control_skin_support.h"

#include <commctrl.h>

#include "classlib/comctrls/ComCtrls.h"
#include "classlib/comctrls/HeaderControl.h"
#include "classlib/comctrls/ProgressBar.h"
#include "classlib/comctrls/StatusBar.h"
#include "classlib/comctrls/TrackBar.h"
#include "classlib/extctrls/MediaPlayer.h"
#include "skin_classic/controls/SkinContainers.h"
#include "skin_classic/controls/SkinDisplay.h"
#include "skin_classic/controls/SkinHeader.h"
#include "skin_classic/controls/SkinMediaPlayer.h"

namespace winskin::test {

// A control of another library that takes custom glyphs.
class TGlyphHost : public vcl::TWinControl {
  VCL_CLASS(TGlyphHost, TWinControl)
 public:
  explicit TGlyphHost(vcl::TComponent* AOwner) : TWinControl(AOwner) {}
  vcl::TBitmap* CustomGlyphs() const { return glyphs_.get(); }
  void SetCustomGlyphs(vcl::TBitmap* Value) { glyphs_->Assign(Value); }
  bool UseCustomGlyphs() const { return use_; }
  void SetUseCustomGlyphs(bool Value) {
    use_ = Value;
    uses.push_back(Value);
  }
  int transparentColor = 0;
  std::vector<bool> uses;

 private:
  std::unique_ptr<vcl::TBitmap> glyphs_ = std::make_unique<vcl::TBitmap>();
  bool use_ = false;
};

VCL_CLASS_INFO(TGlyphHost) {
  p.Object<&TGlyphHost::CustomGlyphs, &TGlyphHost::SetCustomGlyphs>(L"CustomGlyphs", vcl::TBitmap::StaticClass());
  p.Integer<&TGlyphHost::transparentColor>(L"TransparentColor", 0);
  p.Bool<&TGlyphHost::UseCustomGlyphs, &TGlyphHost::SetUseCustomGlyphs>(L"UseCustomGlyphs", false);
}

namespace {

class SkinDisplayTest : public ControlSkinTest {
 protected:
  vcl::TProgressBar* NewProgress(int low, int high, int pos, int w = 200, int h = 20) {
    auto* bar = Add<vcl::TProgressBar>(form_.get(), 10, 10, w, h);
    bar->SetMin(low);
    bar->SetMax(high);
    bar->SetPosition(pos);
    return bar;
  }
};

// Counts the panels an owner-draw handler was called for.
struct PanelPainter {
  std::vector<int> panels;
  void Draw(vcl::TStatusBar*, vcl::TStatusPanel* Panel, const vcl::TRect&) { panels.push_back(Panel->Index()); }
};

struct PlayerClicks {
  std::vector<vcl::TMPBtnType> buttons;
  void Click(vcl::TObject*, vcl::TMPBtnType Button, bool&) { buttons.push_back(Button); }
};

}  // namespace

TEST(ProgressArithmetic, FilledShareFromTheLowLimit) {
  const struct {
    int pos, low, high, fill;
  } cases[] = {{0, 0, 100, 0},       {50, 0, 100, 100},     {100, 0, 100, 200}, {150, 100, 200, 100},
               {-75, -100, -50, 100}, {-100, -100, -50, 0}, {5, 5, 5, 0}};
  for (const auto& c : cases) EXPECT_EQ(ProgressFill(200, c.pos, c.low, c.high), c.fill) << c.pos << " in " << c.low;
}

TEST_F(SkinDisplayTest, ProgressBarsShowBackgroundAndBarByPositionInEitherDirection) {
  auto* bar = NewProgress(0, 100, 0);
  auto* s = Skin<TSkinProgress>(bar);
  auto picture = Painted(bar->Handle());
  EXPECT_EQ(s->FilledLength(), 0);
  EXPECT_EQ(At(picture.get(), 20, 10), Seq(kProgressId, 1));
  bar->SetPosition(50);
  picture = Painted(bar->Handle());
  EXPECT_EQ(At(picture.get(), 50, 10), Seq(kProgressId, 2));
  EXPECT_EQ(At(picture.get(), 150, 10), Seq(kProgressId, 1));

  // Vertical bars fill from the bottom.
  auto* vertical = NewProgress(0, 100, 25);
  vertical->SetOrientation(vcl::pbVertical);  // turns the bar: 20 wide, 200 high
  Skin<TSkinProgress>(vertical);
  picture = Painted(vertical->Handle());
  EXPECT_EQ(At(picture.get(), 10, 190), Seq(kProgressId, 2));
  EXPECT_EQ(At(picture.get(), 10, 100), Seq(kProgressId, 1));
}

TEST_F(SkinDisplayTest, ProgressStyleOneLaysChunksFromTheLowLimit) {
  Load({.progressStyle = 1, .chunkTiled = true});
  auto* bar = NewProgress(100, 200, 150);
  Skin<TSkinProgress>(bar);
  auto picture = Painted(bar->Handle());
  EXPECT_EQ(At(picture.get(), 50, 10), Seq(kChunkId, 1));
  EXPECT_EQ(At(picture.get(), 99, 10), Seq(kChunkId, 1));
  // Beyond the bar: the background picture stretched whole (its right half there).
  EXPECT_EQ(At(picture.get(), 150, 10), Seq(kProgressId, 2));
}

TEST_F(SkinDisplayTest, TrackBarsAnswerTheirCustomDrawStages) {
  auto* track = Add<vcl::TTrackBar>(form_.get(), 10, 10, 200, 32);
  Skin<TSkinTrackBar>(track);
  auto picture = Surface(200, 32, vcl::clBlack);
  auto ask = [&](DWORD stage, DWORD_PTR item) {
    NMCUSTOMDRAW cd{};
    cd.hdr.hwndFrom = track->Handle();
    cd.hdr.code = static_cast<UINT>(NM_CUSTOMDRAW);
    cd.dwDrawStage = stage;
    cd.dwItemSpec = item;
    cd.hdc = picture->Canvas()->Handle();
    return SendMessageW(track->Handle(), vcl::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&cd));
  };
  EXPECT_EQ(ask(CDDS_PREPAINT, 0), CDRF_NOTIFYITEMDRAW);
  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_TICS), CDRF_DODEFAULT);  // the control draws its ticks
  EXPECT_EQ(ask(CDDS_POSTPAINT, 0), CDRF_DODEFAULT);

  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_CHANNEL), CDRF_SKIPDEFAULT);
  RECT channel{};
  SendMessageW(track->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
  EXPECT_EQ(At(picture.get(), (channel.left + channel.right) / 2, (channel.top + channel.bottom) / 2),
            Seq(kTrackId, 1));
  EXPECT_EQ(ask(CDDS_ITEMPREPAINT, TBCD_THUMB), CDRF_SKIPDEFAULT);
  RECT thumb{};
  SendMessageW(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_EQ(At(picture.get(), (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2), Seq(kTrackThumbId, 2));

  // Other notifications are the control's.
  NMHDR other{track->Handle(), 0, static_cast<UINT>(NM_RELEASEDCAPTURE)};
  EXPECT_EQ(SendMessageW(track->Handle(), vcl::CN_NOTIFY, 0, reinterpret_cast<LPARAM>(&other)), 0);
}

TEST_F(SkinDisplayTest, HeadersFollowTheMouseOverTheirSections) {
  auto* header = Add<vcl::THeaderControl>(form_.get(), 10, 10, 300, 20);
  header->Sections()->Add()->SetWidth(100);
  header->Sections()->Add()->SetWidth(100);
  header->Sections()->Items(0)->SetText(L"Name");
  header->Sections()->Items(1)->SetText(L"Size");
  auto* s = Skin<TSkinHeader>(header);
  auto picture = Painted(header->Handle());
  ASSERT_EQ(s->ItemRects().size(), 2u);
  EXPECT_EQ(At(picture.get(), 5, 3), Seq(kHeaderId, 1));
  EXPECT_EQ(At(picture.get(), 250, 3), Seq(kHeaderId, 1));  // beyond the last section
  SendMessageW(header->Handle(), WM_MOUSEMOVE, 0, Point(150, 5));
  EXPECT_EQ(s->HotItem(), 1);
  picture = Painted(header->Handle());
  EXPECT_EQ(At(picture.get(), 105, 3), Seq(kHeaderId, 2));
  EXPECT_EQ(At(picture.get(), 5, 3), Seq(kHeaderId, 1));
  SendMessageW(header->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(s->HotItem(), -1);
}

// A header frame count of frames narrower than a pixel is the usual five: the sections show
// their frames, not nothing.
TEST_F(SkinDisplayTest, AHeaderWhoseFrameCountIsBeyondItsPictureShowsItsFrames) {
  Load({.headerFrames = 100000});
  auto* header = Add<vcl::THeaderControl>(form_.get(), 10, 10, 300, 20);
  header->Sections()->Add()->SetWidth(100);
  header->Sections()->Add()->SetWidth(100);
  auto* s = Skin<TSkinHeader>(header);
  auto picture = Painted(header->Handle());
  EXPECT_EQ(At(picture.get(), 5, 3), Seq(kHeaderId, 1));
  SendMessageW(header->Handle(), WM_MOUSEMOVE, 0, Point(150, 5));
  ASSERT_EQ(s->HotItem(), 1);
  picture = Painted(header->Handle());
  EXPECT_EQ(At(picture.get(), 105, 3), Seq(kHeaderId, 2));
}

// A skin without the extra images has no picture of the size grip: the bar shows the system's,
// and none when it has no grip.
TEST_F(SkinDisplayTest, WithoutTheGripsPictureAStatusBarShowsTheSystemsGrip) {
  Load({.extraImage = false});
  auto* bar = Add<vcl::TStatusBar>(form_.get(), 0, 0, 400, 22);
  bar->SetSimplePanel(true);
  bar->SetSizeGrip(true);
  Skin<TSkinStatusBar>(bar);
  RECT w{};
  GetWindowRect(bar->Handle(), &w);
  const int width = w.right - w.left, height = w.bottom - w.top;
  auto shadows = [&] {
    auto picture = Painted(bar->Handle());
    int n = 0;
    for (int y = height - 14; y < height; ++y)
      for (int x = width - 14; x < width; ++x) n += At(picture.get(), x, y) == vcl::ColorToRGB(vcl::clBtnShadow) ? 1 : 0;
    return n;
  };
  const int withGrip = shadows();
  bar->SetSizeGrip(false);
  EXPECT_GT(withGrip, shadows() + 6);
}

TEST_F(SkinDisplayTest, ListViewsGetTheirHeaderSkinned) {
  auto* list = Add<vcl::TListView>(form_.get(), 10, 10, 300, 150);
  list->SetViewStyle(vcl::vsReport);
  list->Columns()->Add()->SetCaption(L"Element");
  auto* s = Skin<TSkinListView>(list);
  ASSERT_TRUE(s->Header());
  EXPECT_EQ(s->Header()->Handle(), reinterpret_cast<HWND>(SendMessageW(list->Handle(), LVM_GETHEADER, 0, 0)));
  auto picture = Painted(s->Header()->Handle());
  EXPECT_EQ(At(picture.get(), 3, 3), Seq(kHeaderId, 1));
}

TEST_F(SkinDisplayTest, StatusPanelsByBevelWithTheGripAndOwnerDrawnPanels) {
  auto* bar = Add<vcl::TStatusBar>(form_.get(), 0, 0, 400, 22);
  for (vcl::TStatusPanelBevel bevel : {vcl::pbRaised, vcl::pbLowered, vcl::pbNone}) {
    vcl::TStatusPanel* p = bar->Panels()->Add();
    p->SetWidth(100);
    p->SetBevel(bevel);
  }
  bar->Panels()->Items(2)->SetStyle(vcl::psOwnerDraw);
  PanelPainter painter;
  bar->OnDrawPanel = vcl::TDrawPanelEvent::Bind<&PanelPainter::Draw>(&painter);
  Skin<TSkinStatusBar>(bar);
  painter.panels.clear();
  auto picture = Painted(bar->Handle());
  auto middleOf = [&](int panel) {
    RECT r{};
    SendMessageW(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(panel), reinterpret_cast<LPARAM>(&r));
    return At(picture.get(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  EXPECT_EQ(middleOf(0), Seq(kStatusId, 1));
  EXPECT_EQ(middleOf(1), Seq(kStatusId, 2));
  EXPECT_EQ(painter.panels, std::vector<int>{2});  // only the owner-drawn panel
  // The size grip: frame 5 of the extra images, its corner one pixel in from the bottom right.
  RECT w{};
  GetWindowRect(bar->Handle(), &w);
  EXPECT_EQ(At(picture.get(), w.right - w.left - 2, w.bottom - w.top - 2), Seq(kExtraId, 5));
  EXPECT_NE(At(picture.get(), w.right - w.left - 1, w.bottom - w.top - 1), Seq(kExtraId, 5));

  // Without the panel picture, raised and lowered panels get 3D frames.
  Load({.statusImage = false});
  bar = Add<vcl::TStatusBar>(form_.get(), 0, 0, 400, 22);
  bar->SetSizeGrip(false);
  vcl::TStatusPanel* raised = bar->Panels()->Add();
  raised->SetWidth(100);
  raised->SetBevel(vcl::pbRaised);
  Skin<TSkinStatusBar>(bar);
  picture = Painted(bar->Handle());
  RECT r{};
  SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(At(picture.get(), r.left + 10, r.top), vcl::ColorToRGB(vcl::clBtnHighlight));
  EXPECT_EQ(At(picture.get(), r.left + 10, r.bottom - 1), vcl::ColorToRGB(vcl::clBtnShadow));
}

TEST_F(SkinDisplayTest, TheMediaPlayersStripAndItsClicks) {
  auto* player = Add<vcl::TMediaPlayer>(form_.get(), 10, 10, 240, 30);
  player->SetVisibleButtons({vcl::TMPBtnType::btPlay, vcl::TMPBtnType::btPause, vcl::TMPBtnType::btStop});
  PlayerClicks clicks;
  player->OnClick = vcl::EMPNotify::Bind<&PlayerClicks::Click>(&clicks);
  form_->Show();
  auto* s = Skin<TSkinMP>(player);
  TWMediaPlayer* panel = s->Panel();
  ASSERT_TRUE(panel);
  EXPECT_EQ(panel->BoundsRect(), player->BoundsRect());
  EXPECT_EQ(panel->Tag(), data_->DisableTag());
  auto picture = Painted(panel->Handle());
  EXPECT_EQ(panel->VisibleCount(), 3);
  EXPECT_EQ(panel->ButtonWidth(), 80);
  EXPECT_EQ(At(picture.get(), 3, 3), Frame(kButtonsId, 1));
  EXPECT_EQ(At(picture.get(), 163, 3), Frame(kButtonsId, 1));
  for (int set = 0; set < 3; ++set) EXPECT_TRUE(panel->HasGlyph(set, 0));
  // The glyph sits on the face, its olive background left out.
  EXPECT_NE(At(picture.get(), 40, 15), Frame(kButtonsId, 1));

  // Pressed on one button and released over another: the player hears nothing.
  SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(40, 15));
  EXPECT_EQ(panel->PressedButton(), 0);
  picture = Painted(panel->Handle());
  EXPECT_EQ(At(picture.get(), 3, 3), Frame(kButtonsId, 2));
  SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, Point(120, 15));
  EXPECT_TRUE(clicks.buttons.empty());
  // Released over the pressed one: a click of that button.
  SendMessageW(panel->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, Point(200, 15));
  SendMessageW(panel->Handle(), WM_LBUTTONUP, 0, Point(200, 15));
  ASSERT_EQ(clicks.buttons.size(), 1u);
  EXPECT_EQ(clicks.buttons[0], vcl::TMPBtnType::btStop);

  // The panel follows its player.
  player->SetBounds(20, 50, 180, 30);
  EXPECT_EQ(panel->BoundsRect(), player->BoundsRect());
  player->SetVisible(false);
  EXPECT_FALSE(panel->Visible());
}

TEST_F(SkinDisplayTest, ContainersTakeTheFaceColour) {
  auto* box = Add<vcl::TPanel>(form_.get(), 10, 10, 100, 60);
  auto* s = Skin<TSkinBoxH>(box);
  EXPECT_EQ(SendMessageW(box->Handle(), WM_CTLCOLORSCROLLBAR, 0, 0), reinterpret_cast<LRESULT>(s->FaceBrush()));
  auto picture = Surface(100, 60, vcl::clBlack);
  SendMessageW(box->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(picture->Canvas()->Handle()), 0);
  EXPECT_EQ(At(picture.get(), 50, 30), C(kFace));

  auto* grip = Add<vcl::TPanel>(form_.get(), 120, 10, 16, 16);
  Skin<TSkinSizer>(grip);
  picture = Painted(grip->Handle());
  EXPECT_EQ(At(picture.get(), 8, 8), C(kFace));
}

TEST_F(SkinDisplayTest, ControlsTakingCustomGlyphsGetTheSkinsMarks) {
  Load({.checkFrames = 5});
  auto* host = Add<TGlyphHost>(form_.get(), 10, 10, 100, 20);
  auto* s = new TSkinObjImage(host, kGlyphsCheck);
  s->AttachControl(&host_, data_.get(), false, nullptr);
  vcl::TBitmap* strip = host->CustomGlyphs();
  ASSERT_EQ(strip->Width(), 9 * kMarkSide);
  const int cells[] = {1, 2, 5, 1, 2, 5, 3, 4, 5};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(At(strip, i * kMarkSide + 3, 3), Frame(kCheckId, cells[i])) << i;
  EXPECT_EQ(host->transparentColor, 0xFF00FF);
  EXPECT_EQ(host->uses, (std::vector<bool>{false, true}));
  host->uses.clear();
  host_.ReleaseSkinners();
  EXPECT_EQ(host->uses, std::vector<bool>{false});

  // Radio glyphs from an image without a fifth frame.
  auto* radio = Add<TGlyphHost>(form_.get(), 10, 40, 100, 20);
  auto* r = new TSkinObjImage(radio, kGlyphsRadio);
  r->AttachControl(&host_, data_.get(), false, nullptr);
  ASSERT_EQ(radio->CustomGlyphs()->Width(), 6 * kMarkSide);
  EXPECT_EQ(At(radio->CustomGlyphs(), 4 * kMarkSide + 3, 3), Frame(kRadioId, 3));
}

}  // namespace winskin::test
