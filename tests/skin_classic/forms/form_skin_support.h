// Shared by the skinned-form tests: a skin package with flat-coloured borders and the caption
// buttons a test describes, raw windows, and windows skinned through the manager's hook.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "skin_classic/core/SkinManage.h"
#include "skin_classic/forms/WinSkinForm.h"
#include "skin_classic/forms/WinSkinMenu.h"
#include "skin_classic/support/SkinBitmapWriter.h"
#include "skin_classic/support/SkinPackageWriter.h"
#include "skin_classic/support/win_skin_support.h"
#include "skin_classic/core/skin_data_support.h"

namespace winskin::test {

// Picture ids of the test skin (FrameColour(id, frame) is frame `frame` of picture `id`).
inline constexpr int kLeftId = 1, kRightId = 2, kTopId = 3, kBottomId = 4, kMenuBarId = 5;
inline constexpr int kFirstButtonId = 20;
// Border sizes of the test skin.
inline constexpr int kLeft = 4, kRight = 5, kTop = 24, kBottom = 6;

// The colour of the pixels a picture has past its last whole frame: no frame's colour of picture
// id (those have an even green).
inline Rgb LeftOverColour(int id) { return MakeRgb(id, 5, 255 - id); }

// A Width x Height picture of Frames frames of picture id, FrameWidth columns each (rows when
// Stacked), each flat in its colour; what lies past the last whole frame is LeftOverColour.
inline std::vector<std::uint8_t> FrameStrip(int id, int Frames, int FrameWidth, int Width, int Height,
                                            bool Stacked = false) {
  return Bmp24(Width, Height, [=](int x, int y) {
    const int at = (Stacked ? y : x) / FrameWidth;
    return at < Frames ? FrameColour(id, at + 1) : LeftOverColour(id);
  });
}

struct ButtonSpec {
  int action = 0;
  int align = 1;
  int x = 0;
  int y = 0;
  int visibility = 0;
  int visibility1 = 0;
  int frames = 4;          // frames drawn in its picture
  bool statesFrame = true; // the description states "frame"
  int stated = 0;          // the count it states, when not `frames`
  int pictureWidth = 0;    // the picture's whole width, when not frames x width (columns past them left over)
  int width = 10;          // of one frame
  int height = 8;
};

// A skin with flat borders (frame 1 active, 2 inactive), an optional menu-bar picture and the
// buttons given (button i's picture id is kFirstButtonId + i). A transparent left (right)
// border has the key colour in the top-left (top-right) pixel of each frame, as a rounded
// corner would.
inline PackageSpec FormSkinSpec(const std::vector<ButtonSpec>& buttons, bool transparentLeft = false,
                                bool transparentRight = false) {
  std::string ini = "[TitlebarSkin]\r\nSkinName=Forms\r\n[Personality]\r\n";
  ini += "Left=Left.bmp\r\nLeftFrame=2\r\nLeftTrans=" + std::string(transparentLeft ? "1" : "0") + "\r\n";
  ini += "Right=Right.bmp\r\nRightFrame=2\r\nRightTrans=" + std::string(transparentRight ? "1" : "0") + "\r\n";
  ini += "Top=Top.bmp\r\nTopFrame=2\r\nTopTrans=0\r\nBottom=Bottom.bmp\r\nBottomFrame=2\r\nBottomTrans=0\r\n";
  ini += "menuBar=MenuBar.bmp\r\nActiveTextR=1\r\nActiveTextG=2\r\nActiveTextB=3\r\n";
  PackageSpec spec;
  // The left border: its top-left pixel is the key colour when asked, so the region cuts it.
  spec.entries.push_back({"Left.bmp", Bmp24(2 * kLeft, 40, [&](int x, int y) {
                            if (transparentLeft && x % kLeft == 0 && y == 0) return kMagenta;
                            return FrameColour(kLeftId, x / kLeft + 1);
                          })});
  spec.entries.push_back({"Right.bmp", Bmp24(2 * kRight, 40, [&](int x, int y) {
                            if (transparentRight && x % kRight == kRight - 1 && y == 0) return kMagenta;
                            return FrameColour(kRightId, x / kRight + 1);
                          })});
  spec.entries.push_back({"Top.bmp", FramesBmp(60, kTop, FrameColours(kTopId, 2), true)});
  spec.entries.push_back({"Bottom.bmp", FramesBmp(60, kBottom, FrameColours(kBottomId, 2), true)});
  spec.entries.push_back({"MenuBar.bmp", FramesBmp(20, 18, FrameColours(kMenuBarId, 2))});
  for (size_t i = 0; i < buttons.size(); ++i) {
    const ButtonSpec& b = buttons[i];
    const std::string file = "b" + std::to_string(i) + ".bmp";
    ini += "[Button." + std::to_string(i) + "]\r\nAction=" + std::to_string(b.action) +
           "\r\nAlign=" + std::to_string(b.align) + "\r\nXcoord=" + std::to_string(b.x) +
           "\r\nYcoord=" + std::to_string(b.y) + "\r\nVisibility=" + std::to_string(b.visibility) +
           "\r\nVisibility1=" + std::to_string(b.visibility1) + "\r\nButtonImage=" + file + "\r\n";
    if (b.statesFrame) ini += "frame=" + std::to_string(b.stated ? b.stated : b.frames) + "\r\n";
    const int id = kFirstButtonId + static_cast<int>(i);
    if (b.pictureWidth > 0)
      spec.entries.push_back({file, FrameStrip(id, b.frames, b.width, b.pictureWidth, b.height)});
    else
      spec.entries.push_back({file, FramesBmp(b.width, b.height, FrameColours(id, b.frames))});
  }
  spec.entries.push_back({"forms.ini", ToBytes(ini)});
  return spec;
}

// The frames of a button the way the skins of most tests have them: close, maximise,
// minimise at the right.
inline std::vector<ButtonSpec> StandardButtons() {
  return {{.action = 0, .align = 1, .x = 16, .y = 3},
          {.action = 1, .align = 1, .x = 30, .y = 3, .visibility = 2},
          {.action = 2, .align = 1, .x = 44, .y = 3, .visibility = 8}};
}

// A pixel of a bitmap in the class library's colour form.
inline vcl::TColor Pixel(vcl::TBitmap* b, int x, int y) { return b->Canvas()->Pixels(x, y); }

// Frame `frame` of the test skin's picture `id`.
inline vcl::TColor Frame(int id, int frame) { return C(FrameColour(id, frame)); }

inline TPoint Centre(const TRect& r) { return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

struct WindowCloser {
  void operator()(HWND w) const {
    if (IsWindow(w)) DestroyWindow(w);
  }
};
using UniqueWindow = std::unique_ptr<std::remove_pointer_t<HWND>, WindowCloser>;

// The skinned window's object, and whether it is set up.
inline TWinSkinForm* Find(HWND w) {
  TSkinManage* m = SkinManager();
  return m ? dynamic_cast<TWinSkinForm*>(m->FindForm(w)) : nullptr;
}

inline bool Ready(HWND w) {
  TWinSkinForm* f = Find(w);
  return f && f->State == TSkinFormState::Ready;
}

// An MDI frame the application can make its main form (MDI documents merge their menus into it).
class TMdiFrameForm : public vcl::TForm {
  VCL_CLASS(TMdiFrameForm, TForm)
 public:
  explicit TMdiFrameForm(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};

// Raw windows record the commands and engine messages they get (carrying none out) and answer
// the caption-button visibility query with their user data.
struct RawLog {
  std::vector<vcl::TMessage> messages;
  size_t Count(UINT msg, WPARAM wp) const {
    return static_cast<size_t>(std::count_if(messages.begin(), messages.end(),
                                             [&](const vcl::TMessage& m) { return m.Msg == msg && m.WParam == wp; }));
  }
};
inline RawLog& Log() {
  static RawLog log;
  return log;
}

inline LRESULT CALLBACK RawProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_COMMAND || msg == WM_SYSCOMMAND || msg == WM_CLOSE || msg == SKM_CAPTIONACTION ||
      msg == SKM_CAPTIONVISIBLE) {
    Log().messages.push_back({msg, wp, lp, 0});
    if (msg == SKM_CAPTIONVISIBLE) return GetWindowLongPtrW(w, GWLP_USERDATA);
    if (msg != WM_SYSCOMMAND || (wp & 0xFFF0) != SC_KEYMENU) return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

inline UniqueWindow RawWindow(DWORD style = WS_OVERLAPPEDWINDOW, DWORD exStyle = 0, LRESULT visibilityAnswer = 0,
                              HMENU menu = nullptr) {
  HWND w = CreateWindowExW(exStyle, wintest::TestWindowClass(L"SkinFormRawWindow", &RawProc), L"Raw window", style,
                           60, 60, 360, 260, nullptr, menu, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(w, nullptr);
  SetWindowLongPtrW(w, GWLP_USERDATA, visibilityAnswer);
  return UniqueWindow(w);
}

// A main-window skin data, active from loading, holding the skin a test gives; windows skinned
// through the manager's hook (or its request when they are not activated).
class SkinnedWindows : public ::testing::Test {
 protected:
  void SetUp() override { Log().messages.clear(); }
  void TearDown() override {
    holder_.reset();
    FreeSkinManager();
  }

  void UseSkin(const PackageSpec& spec) {
    holder_.reset();
    FreeSkinManager();
    holder_ = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
    data_ = holder_->SkinData();
    ASSERT_TRUE(SkinManager() && SkinManager()->Active());
  }

  TWinSkinForm* SkinRaw(HWND w) {
    ShowWindow(w, SW_SHOW);
    if (!Find(w)) {
      EXPECT_TRUE(SkinManager()->SkinForm(w));
    }
    EXPECT_TRUE(PumpUntil([&] { return Ready(w); }));
    TWinSkinForm* skin = Find(w);
    if (skin) SendMessageW(w, WM_NCACTIVATE, TRUE, 0);  // other tests' windows may hold the activation
    return skin;
  }

  TWinSkinForm* ShowSkinned(vcl::TForm* form) {
    form->Show();
    EXPECT_TRUE(PumpUntil([&] { return Ready(form->Handle()); }));
    return Find(form->Handle());
  }

  Owned<TSkinTestForm> holder_;
  TSkinData* data_ = nullptr;
};

}  // namespace winskin::test
