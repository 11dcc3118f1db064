#include "skin_classic/support/SyntheticSkin.h"

namespace skin_classic::test_support {
namespace {

struct Picture {
  const char* file;
  int id;
  int frames;
  int frameWidth;
  int frameHeight;
  bool stacked = false;
};

// Entry names as a skin maker would write them; the package lower-cases them.
const Picture kPictures[] = {
    {"Left.bmp", kLeftPicture, 2, 4, 30},
    {"Right.bmp", kRightPicture, 2, 5, 30},
    {"Top.bmp", kTopPicture, 2, 60, 24, true},
    {"Bottom.bmp", kBottomPicture, 2, 60, 6, true},
    {"MenuBar.bmp", kMenuBarPicture, 2, 20, 18},
    {"TextBack.bmp", kTextBackPicture, 2, 10, 16},
    {"Buttons.bmp", kButtonsPicture, 5, 12, 14},
    {"Check.bmp", kCheckPicture, 8, 13, 12},
    {"Radio.bmp", kRadioPicture, 6, 16, 16},
    {"Close.bmp", kClosePicture, 3, 10, 10},
    {"Max.bmp", kMaxPicture, 6, 10, 10},
    {"Mdi.bmp", kMdiPicture, 12, 8, 8},
    {"Progress.bmp", kProgressPicture, 2, 10, 10},
    {"Chunk.bmp", kChunkPicture, 1, 6, 10},
    {"GroupEdge.bmp", kGroupBoxEdgePicture, 2, 8, 8},
    {"GroupBox.bmp", kGroupBoxPicture, 1, 20, 20},
    {"Tabs.bmp", kTabsPicture, 5, 20, 20},
    {"TabBorder.bmp", kTabBorderPicture, 1, 10, 10},
    {"Status.bmp", kStatusBarPicture, 3, 6, 6},
    {"TabPane.bmp", kTabPanePicture, 1, 30, 30},
    {"ToolBars.bmp", kToolBarsPicture, 5, 16, 16},
    {"Combo.bmp", kComboPicture, 4, 17, 21},
    {"Sunk.bmp", kSunkEdgePicture, 4, 10, 21},
    {"Extra.bmp", kExtraPicture, 5, 7, 7},
    {"Header.bmp", kHeaderPicture, 5, 10, 10},
    {"MenuItem.bmp", kMenuItemPicture, 5, 10, 10},
    {"MenuBack.bmp", kMenuBackPicture, 1, 10, 10},
    {"Scroll.bmp", kScrollbarPicture, 23, 4, 4},
    {"HScroll.bmp", kHorzScrollPicture, 4, 8, 8},
    {"VScroll.bmp", kVertScrollPicture, 4, 8, 8},
    {"HThumb.bmp", kHorzThumbPicture, 2, 8, 8},
    {"VThumb.bmp", kVertThumbPicture, 3, 8, 8},
    {"ThumbH.bmp", kThumbHorzPicture, 5, 6, 6},
    {"ThumbV.bmp", kThumbVertPicture, 5, 6, 6},
    {"ThumbL.bmp", kThumbLeftPicture, 5, 6, 6},
    {"ThumbR.bmp", kThumbRightPicture, 5, 6, 6},
    {"ThumbU.bmp", kThumbUpPicture, 5, 6, 6},
    {"ThumbD.bmp", kThumbDownPicture, 5, 6, 6},
    {"UpDownH.bmp", kUpDownHorzPicture, 8, 6, 6},
    {"UpDownHGlyph.bmp", kUpDownHorzGlyph, 1, 5, 5},
    {"UpDownV.bmp", kUpDownVertPicture, 8, 6, 6},
    {"UpDownVGlyph.bmp", kUpDownVertGlyph, 1, 5, 5},
    {"TrackV.bmp", kTrackVertPicture, 1, 8, 20},
};

// One section (or part of one) an entry, its lines joined as the description joins them.
const char* const kDescriptionLines[] = {
    "; a synthetic skin with every kind of element",
    "[TitlebarSkin]\r\nSkinName=Synthetic",
    "[Personality]\r\nLeft=Skin\\Left.bmp\r\nLeftTopHeight=10\r\nLeftBotHeight=5\r\nLeftFrame=2\r\nLeftStretch=0",
    "LeftTrans=1\r\nRight=Skin\\Right.bmp\r\nRightTopHeight=11\r\nRightBotHeight=6\r\nRightFrame=2\r\nRightStretch=7",
    "RightTrans=0\r\nTop=Top.bmp\r\nTopTopHeight=8\r\nTopBotHeight=9\r\nTopFrame=2\r\nBottom=Bottom.bmp",
    "BottomFrame=2\r\nmenuBar=MenuBar.bmp\r\nTileMenu=3\r\nTileLeftMenu=2\r\nTileRightMenu=3",
    "TextBack=TextBack.bmp\r\nTextShift=5\r\nTextShiftVert=1\r\nTextRightClip=7\r\nTextAlignment=1",
    "Textbackground=1\r\nTXTBackleft=2\r\nTXTBackRight=3\r\nActiveTextR=255\r\nActiveTextG=255\r\nActiveTextB=0",
    "InActiveTextR=128\r\nInActiveTextG=-1\r\nInActiveTextB=128",
    "[Fonts]\r\nFontHeight=13",
    "[Colours]\r\nButtonFace=200 201 202\r\nButtonText=1,2,3\r\nHilight=10 36 106\r\nMenubar=",
    "[COLOUR1]\r\ncolor=10 20 30",
    "[Colour2]",
    "[Customcolors]\r\nColor0=1 1 1\r\nColor9=9, 9, 9",
    "[Buttons]\r\nBitmap=Buttons.bmp\r\nCheckButton=Check.bmp\r\nRadioButton=Radio.bmp\r\nLeftWidth=2\r\nTopHeight=3",
    "RightWidth=4\r\nBottomHeight=5\r\nTrans=1\r\nTile=2\r\nNormalColour=255 0 0\r\nNormalColour2=0 0 255",
    "PressedColour2=0 255 0",
    "[Button.Close]\r\nAction=0\r\nAlign=1\r\nXcoord=20\r\nYcoord=4\r\nButtonImage=Skin\\Close.bmp",
    "[Button.Max]\r\nAction=1\r\nAlign=1\r\nXcoord=40\r\nVisibility1=2\r\nCombineOp=5\r\nButtonImage=Max.bmp",
    "[Button.Icon]\r\nAction=3\r\nButtonImage=Close.bmp",
    "[Button.Hidden]\r\nAction=-1\r\nButtonImage=Close.bmp",
    "[MDICONTROLS]\r\nImage=Mdi.bmp",
    "[Progress]\r\nBitmap=Progress.bmp\r\nLeftWidth=1\r\nRightWidth=1\r\nTile=5",
    "[Progress.Chunk]\r\nImage=Chunk.bmp\r\nFrame=1",
    "[GroupBoxEdge]\r\nImage=GroupEdge.bmp",
    "[GroupBox]\r\nImage=GroupBox.bmp\r\nBackgroundAlignment=2\r\nBackgroundLeftShift=3\r\nBackgroundRightShift=4",
    "[Tabs]\r\nImage=Tabs.bmp\r\nBorder=TabBorder.bmp\r\nLeftWidth=3\r\nRightWidth=3\r\nTopHeight=3",
    "BottomHeight=3",
    "[StatusBarEdges]\r\nImage=Status.bmp",
    "[Tab.Pane]\r\nImage=TabPane.bmp\r\nLeftWidth=10\r\nTopHeight=10\r\nRightWidth=10\r\nBottomHeight=2",
    "[ToolBars]\r\nImage=ToolBars.bmp",
    "[ComboButton]\r\nImage=Combo.bmp\r\nTrans=1",
    "[SunkEdge]\r\nImage=Sunk.bmp\r\nLeftWidth=2\r\nRightWidth=2\r\nTopHeight=2\r\nBottomHeight=2",
    "[ExtraImages]\r\nImage=Extra.bmp",
    "[Headerbar]\r\nImage=Header.bmp",
    "[MenuItem]\r\nImage=MenuItem.bmp",
    "[MenuBackground]\r\nImage=MenuBack.bmp",
    "[Scrollbar]\r\nImage=Scroll.bmp",
    "[HorzScroll]\r\nImage=HScroll.bmp",
    "[VertScroll]\r\nImage=VScroll.bmp",
    "[HorzScrollThumb]\r\nImage=HThumb.bmp\r\nFrameCount=2",
    "[VertScrollThumb]\r\nImage=VThumb.bmp",
    "[Trackbar.ThumbHorz]\r\nImage=ThumbH.bmp",
    "[Trackbar.ThumbVert]\r\nImage=ThumbV.bmp",
    "[Trackbar.ThumbLeft]\r\nImage=ThumbL.bmp",
    "[Trackbar.ThumbRight]\r\nImage=ThumbR.bmp",
    "[Trackbar.ThumbUp]\r\nImage=ThumbU.bmp",
    "[Trackbar.ThumbDown]\r\nImage=ThumbD.bmp",
    "[UpDown.Horz]\r\nImage=UpDownH.bmp\r\nGlyphImage=UpDownHGlyph.bmp",
    "[UpDown.Vert]\r\nImage=UpDownV.bmp\r\nGlyphImage=UpDownVGlyph.bmp",
    "[TRACKVERT]\r\nImage=TrackV.bmp\r\nLeftWidth=1\r\nFrame=1",
};

}  // namespace

std::string CompleteSkinDescription() {
  std::string text;
  for (const char* line : kDescriptionLines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

PackageSpec CompleteSkinSpec(int frameSide) {
  PackageSpec spec;
  spec.tag = 40000;
  bool first = true;
  for (const Picture& p : kPictures) {
    const int w = frameSide > 0 ? frameSide : p.frameWidth, h = frameSide > 0 ? frameSide : p.frameHeight;
    spec.entries.push_back({p.file, FramesBmp(w, h, FrameColours(p.id, p.frames), p.stacked)});
    // The description sits between the pictures: it is found by its extension.
    if (first) spec.entries.push_back({"Skin.INI", ToBytes(CompleteSkinDescription())});
    first = false;
  }
  return spec;
}

}  // namespace skin_classic::test_support
