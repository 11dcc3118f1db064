// Shared by the control-skinner tests: a synthetic skin whose button, check, radio and tab
// pictures hold one flat colour per frame (so one pixel tells which frame was drawn), a host
// standing for the skinned form, forms holding the controls, and pictures of a control
// painted into memory through its own WM_PAINT.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "classlib/forms/Forms.h"
#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/skin_data_support.h"
#include "skin_classic/support/win_skin_support.h"

namespace winskin::test {

// Picture ids (FrameColour(id, frame) is frame `frame` of picture `id`).
inline constexpr int kButtonsId = 30, kCheckId = 31, kRadioId = 32, kTabsId = 33, kTabBorderId = 34, kPaneId = 35;
// The skin's colours.
inline constexpr Rgb kFace = MakeRgb(200, 201, 202);
inline constexpr Rgb kText = MakeRgb(1, 2, 3);
inline constexpr Rgb kLine = MakeRgb(90, 91, 92);
inline constexpr Rgb kTabText = MakeRgb(10, 20, 30);
inline constexpr Rgb kTabTextSelected = MakeRgb(40, 50, 60);
inline constexpr Rgb kPressedText = MakeRgb(0, 250, 0);
// Sizes of one frame.
inline constexpr int kButtonFrame = 20, kMarkSide = 13, kTabFrame = 20;

// Pictures of many frames take their colours from here (frame f of id: SeqColour(id, f)).
constexpr Rgb SeqColour(int id, int frame) { return MakeRgb(id, 10 * frame, 200); }
inline std::vector<Rgb> SeqColours(int id, int frames) {
  std::vector<Rgb> c;
  for (int f = 1; f <= frames; ++f) c.push_back(SeqColour(id, f));
  return c;
}
inline vcl::TColor Seq(int id, int frame) { return static_cast<vcl::TColor>(SeqColour(id, frame)); }
// Ids of the scroll bar, input and display pictures.
inline constexpr int kPartsId = 60, kVTrackId = 61, kHTrackId = 62, kVThumbId = 63, kHThumbId = 64, kComboId = 65,
                     kSunkId = 66, kExtraId = 67, kSpinVId = 68, kSpinHId = 69, kSpinGlyphId = 70, kProgressId = 71,
                     kChunkId = 72, kHeaderId = 73, kStatusId = 74, kTrackId = 75, kTrackVId = 76, kTrackThumbId = 77,
                     kTrackThumbVId = 78;

struct ControlSkinOptions {
  int checkFrames = 8;
  int radioFrames = 6;
  // The counts the description states, when not the pictures' own.
  std::optional<int> checkFramesStated = std::nullopt, radioFramesStated = std::nullopt;
  int tabsStyle = 0;      // 1: the sheet border is the "Tab.Pane" picture
  bool checkImage = true;  // a check-box picture at all
  bool transparent = false;  // the skin's options hold xoTransparent
  bool sunkEdge = true;  // with it the description composes the combo's frame and button
  int comboStyle = 0;
  bool spin = true;  // the up-down elements
  int progressStyle = 0;
  bool chunkTiled = false;
  bool statusImage = true;
  bool extraImage = true;  // the extra images (the size grip's among them)
  int thumbFrames = 3;     // the scroll thumbs' stated count (their pictures have 3)
  int headerFrames = 0;    // the header's stated count (0: none stated; its picture has 5)
};

inline PackageSpec ControlSkinSpec(const ControlSkinOptions& o = {}) {
  std::string ini =
      "[TitlebarSkin]\r\nSkinName=Controls\r\n"
      "[Colours]\r\nButtonFace=200 201 202\r\nButtonText=1 2 3\r\nButtonShadow=90 91 92\r\n"
      "[Buttons]\r\nBitmap=Buttons.bmp\r\nRadioButton=Radio.bmp\r\n"
      "LeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\nTrans=0\r\nPressedColour2=0 250 0\r\n";
  if (o.checkImage)
    ini += "CheckButton=Check.bmp\r\nCheckButtonFrame=" + std::to_string(o.checkFramesStated.value_or(o.checkFrames)) + "\r\n";
  ini += "RadioButtonFrame=" + std::to_string(o.radioFramesStated.value_or(o.radioFrames)) + "\r\n";
  ini += "[Tabs]\r\nImage=Tabs.bmp\r\nBorder=TabBorder.bmp\r\nStyle=" + std::to_string(o.tabsStyle) +
         "\r\nLeftWidth=3\r\nTopHeight=3\r\nRightWidth=3\r\nBottomHeight=3\r\n"
         "NormalColour2=10 20 30\r\nMouseOverColour2=40 50 60\r\n"
         "[Tab.Pane]\r\nImage=Pane.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n";
  ini += "[Scrollbar]\r\nImage=Parts.bmp\r\nTrans=1\r\n"
         "[VertScroll]\r\nImage=VTrack.bmp\r\n[HorzScroll]\r\nImage=HTrack.bmp\r\n"
         "[VertScrollThumb]\r\nImage=VThumb.bmp\r\nFrameCount=" + std::to_string(o.thumbFrames) + "\r\n"
         "[HorzScrollThumb]\r\nImage=HThumb.bmp\r\nFrameCount=" + std::to_string(o.thumbFrames) + "\r\n"
         "[ComboButton]\r\nImage=Combo.bmp\r\nTrans=1\r\nStyle=" + std::to_string(o.comboStyle) + "\r\n"
         + std::string(o.extraImage ? "[ExtraImages]\r\nImage=Extra.bmp\r\nTrans=1\r\n" : "") +
         "[Progress]\r\nBitmap=Progress.bmp\r\nStyle=" + std::to_string(o.progressStyle) + "\r\n"
         "[Progress.Chunk]\r\nImage=Chunk.bmp\r\nTile=" + (o.chunkTiled ? "1" : "0") + "\r\n"
         "[Headerbar]\r\nImage=Header.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\n" +
         (o.headerFrames ? "Frame=" + std::to_string(o.headerFrames) + "\r\n" : std::string()) +
         "[Track]\r\nImage=Track.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\n"
         "[TRACKVERT]\r\nImage=TrackV.bmp\r\nTopHeight=3\r\nBottomHeight=3\r\n"
         "[Trackbar.ThumbHorz]\r\nImage=TThumb.bmp\r\n[Trackbar.ThumbVert]\r\nImage=TThumbV.bmp\r\n";
  if (o.statusImage) ini += "[StatusBarEdges]\r\nImage=Status.bmp\r\nLeftWidth=1\r\nRightWidth=1\r\n";
  if (o.sunkEdge) ini += "[SunkEdge]\r\nImage=Sunk.bmp\r\nLeftWidth=2\r\nTopHeight=2\r\nRightWidth=2\r\nBottomHeight=2\r\n";
  if (o.spin)
    ini += "[UpDown.Vert]\r\nImage=SpinV.bmp\r\nGlyphImage=SpinGlyph.bmp\r\n"
           "[UpDown.Horz]\r\nImage=SpinH.bmp\r\nGlyphImage=SpinGlyph.bmp\r\n";
  PackageSpec spec;
  const struct {
    const char* file;
    int width, height, id, frames;
  } kSeqPictures[] = {
      {"Parts.bmp", 16, 16, kPartsId, 23},     {"VTrack.bmp", 16, 16, kVTrackId, 4},
      {"HTrack.bmp", 16, 16, kHTrackId, 4},    {"VThumb.bmp", 16, 16, kVThumbId, 3},
      {"HThumb.bmp", 16, 16, kHThumbId, 3},    {"Combo.bmp", 12, 16, kComboId, 4},
      {"Sunk.bmp", 10, 16, kSunkId, 4},        {"Extra.bmp", 7, 7, kExtraId, 5},
      {"SpinV.bmp", 10, 10, kSpinVId, 8},      {"SpinH.bmp", 10, 10, kSpinHId, 8},
      {"SpinGlyph.bmp", 2, 2, kSpinGlyphId, 2}, {"Progress.bmp", 10, 10, kProgressId, 2},
      {"Chunk.bmp", 6, 10, kChunkId, 1},       {"Header.bmp", 10, 10, kHeaderId, 5},
      {"Status.bmp", 10, 10, kStatusId, 3},    {"Track.bmp", 12, 6, kTrackId, 1},
      {"TrackV.bmp", 6, 12, kTrackVId, 1},     {"TThumb.bmp", 8, 12, kTrackThumbId, 5},
      {"TThumbV.bmp", 12, 8, kTrackThumbVId, 5},
  };
  for (const auto& p : kSeqPictures)
    spec.entries.push_back({p.file, FramesBmp(p.width, p.height, SeqColours(p.id, p.frames))});
  spec.entries.push_back({"Buttons.bmp", FramesBmp(kButtonFrame, kButtonFrame, FrameColours(kButtonsId, 5))});
  if (o.checkImage)
    spec.entries.push_back({"Check.bmp", FramesBmp(kMarkSide, kMarkSide, FrameColours(kCheckId, o.checkFrames))});
  spec.entries.push_back({"Radio.bmp", FramesBmp(kMarkSide, kMarkSide, FrameColours(kRadioId, o.radioFrames))});
  spec.entries.push_back({"Tabs.bmp", FramesBmp(kTabFrame, kTabFrame, FrameColours(kTabsId, 5))});
  spec.entries.push_back({"TabBorder.bmp", FramesBmp(kTabFrame, kTabFrame, FrameColours(kTabBorderId, 1))});
  spec.entries.push_back({"Pane.bmp", FramesBmp(10, 10, FrameColours(kPaneId, 1))});
  spec.entries.push_back({"controls.ini", ToBytes(ini)});
  return spec;
}

// A skin-data component holding the synthetic skin (not registered with any manager).
inline Owned<TSkinData> LoadControlSkin(const ControlSkinOptions& o = {}) {
  Owned<TSkinData> data(new TSkinData(nullptr));
  Fill(*data->SkinStream(), BuildPackage(ControlSkinSpec(o)));
  EXPECT_TRUE(data->LoadSkin());
  if (o.transparent) {
    TSkinOptions options = data->Options();
    options.Include(xoTransparent);
    data->SetOptions(options);
  }
  return data;
}

// The skinned form as the skinners see it; messages for the program go to Window.
class TestHost : public TSkinControlHost {
 public:
  HWND window = nullptr;
  HWND HostWindow() const override { return window; }
};

inline vcl::TColor Frame(int id, int frame) { return C(FrameColour(id, frame)); }

// A form for the controls under test, at a fixed place; shown when asked.
inline Owned<vcl::TForm> ControlForm(int width = 360, int height = 260) {
  Owned<vcl::TForm> form(new vcl::TForm(vcl::Application, 0));
  form->SetBounds(60, 60, width, height);
  form->SetCaption(L"Skinned controls");
  return form;
}

// A skin, a form for the controls and a host for their skinners, which go before the form.
class ControlSkinTest : public ::testing::Test {
 protected:
  // Reads a skin with these options, on a new form.
  void Load(const ControlSkinOptions& o = {}) {
    host_.ReleaseSkinners();
    form_.reset();
    data_ = LoadControlSkin(o);
    form_ = ControlForm(420, 320);
    host_.window = form_->Handle();
  }
  void SetUp() override { Load(); }
  void TearDown() override {
    host_.ReleaseSkinners();
    form_.reset();
  }
  template <class S>
  S* Skin(vcl::TWinControl* control, bool setColor = false) {
    auto* s = new S(control);
    s->AttachControl(&host_, data_.get(), setColor, nullptr);
    return s;
  }

  Owned<TSkinData> data_;
  Owned<vcl::TForm> form_;
  TestHost host_;
};

template <class T>
T* Add(vcl::TWinControl* Parent, int x, int y, int w, int h) {
  auto* c = new T(Parent);
  c->SetParent(Parent);
  c->SetBounds(x, y, w, h);
  return c;
}

// The window painted into a memory bitmap by its own WM_PAINT (the DC in wParam).
inline std::unique_ptr<vcl::TBitmap> Painted(HWND w, vcl::TColor background = vcl::clBlack) {
  RECT r{};
  GetWindowRect(w, &r);
  auto b = Surface(r.right - r.left, r.bottom - r.top, background);
  SendMessageW(w, WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return b;
}

inline LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// Counts the clicks of a control.
struct ClickCounter {
  int clicks = 0;
  void Click(vcl::TObject*) { ++clicks; }
  vcl::TNotifyEvent Event() { return vcl::TNotifyEvent::Bind<&ClickCounter::Click>(this); }
};

}  // namespace winskin::test
