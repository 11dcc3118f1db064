// Shared by the controls and forms tests: the library started for the whole test program,
// message boxes recorded instead of shown, and small controls that record what reaches them.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "classlib/controls/Controls.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "support/win_test_support.h"

namespace vcl::testing {

struct ShownBox {
  String text;
  String caption;
  UINT flags = 0;
};

inline std::vector<ShownBox>& ShownBoxes() {
  static std::vector<ShownBox> boxes;
  return boxes;
}

// Starts the library's units once for the test program; message boxes answer IDOK at once.
class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    InitializeUnits();
    SetMessageBoxFunction([](HWND, const String& text, const String& caption, UINT flags) {
      ShownBoxes().push_back({text, caption, flags});
      return IDOK;
    });
  }
  void TearDown() override {
    SetMessageBoxFunction(nullptr);
    FinalizeUnits();
  }
};

// An object freed the library's way when it goes.
struct Freer {
  void operator()(TObject* Object) const { TObject::Free(Object); }
};
template <class T>
using Owned = std::unique_ptr<T, Freer>;
using FormPtr = Owned<TForm>;

// A shown form (no description) of a known client size.
inline FormPtr ShownForm(int w = 400, int h = 300) {
  FormPtr f(new TForm(nullptr, 0));
  f->SetClientSize(w, h);
  f->Show();
  return f;
}

// A new control of class T owned by and placed in Parent, at the given place when given.
template <class T>
T* Put(TWinControl* Parent) {
  auto* c = new T(Parent);
  c->SetParent(Parent);
  return c;
}
template <class T>
T* Put(TWinControl* Parent, int Left, int Top, int Width, int Height) {
  T* c = Put<T>(Parent);
  c->SetBounds(Left, Top, Width, Height);
  return c;
}

// Keeps the senders of the notify events it is bound to.
struct Notified {
  std::vector<TObject*> senders;
  void On(TObject* Sender) { senders.push_back(Sender); }
  TNotifyEvent Handler() { return TNotifyEvent::Bind<&Notified::On>(this); }
  int Count() const { return static_cast<int>(senders.size()); }
};

using wintest::Pump;
using wintest::PumpUntil;
using wintest::PumpUntilIdle;

// The component of Root named Name, if it is a T; a test failure when there is none.
template <class T>
T* FindNamed(TComponent* Root, const wchar_t* Name) {
  auto* c = dynamic_cast<T*>(Root->FindComponent(Name));
  EXPECT_NE(c, nullptr) << "no " << std::string(Name, Name + wcslen(Name));
  return c;
}

inline bool Has(const std::vector<UINT>& list, UINT msg) {
  for (UINT m : list)
    if (m == msg) return true;
  return false;
}

// A container with its own window that records the messages its WndProc sees.
class TRecordingPanel : public TCustomControl {
  VCL_CLASS(TRecordingPanel, TCustomControl)
 public:
  explicit TRecordingPanel(TComponent* AOwner) : TCustomControl(AOwner) {
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetBounds(0, 0, 100, 100);
  }

  std::vector<UINT> seen;
  std::vector<TMessage> records;
  TColor fill = clNone;
  LRESULT answer_cn_command = 0;
  LRESULT answer_cn_notify = 0;
  int cn_commands = 0;

  void WndProc(TMessage& Message) override {
    seen.push_back(Message.Msg);
    records.push_back(Message);
    TCustomControl::WndProc(Message);
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == CN_COMMAND) {
      ++cn_commands;
      Message.Result = answer_cn_command;
      return;
    }
    if (Message.Msg == CN_NOTIFY) {
      Message.Result = answer_cn_notify;
      return;
    }
    TCustomControl::Dispatch(Message);
  }
  size_t Count(UINT msg) const {
    size_t n = 0;
    for (UINT m : seen) n += m == msg;
    return n;
  }

 protected:
  void Paint() override {
    if (fill == clNone) return;
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(ClientRect());
  }
};

// A control without a window that records its messages and paints itself in one colour.
class TRecordingGraphic : public TGraphicControl {
  VCL_CLASS(TRecordingGraphic, TGraphicControl)
 public:
  explicit TRecordingGraphic(TComponent* AOwner) : TGraphicControl(AOwner) { SetBounds(0, 0, 20, 20); }

  std::vector<UINT> seen;
  std::vector<TMessage> records;
  TColor fill = clRed;

  void WndProc(TMessage& Message) override {
    seen.push_back(Message.Msg);
    records.push_back(Message);
    TGraphicControl::WndProc(Message);
  }
  size_t Count(UINT msg) const {
    size_t n = 0;
    for (UINT m : seen) n += m == msg;
    return n;
  }
  const TMessage* Last(UINT msg) const {
    for (auto it = records.rbegin(); it != records.rend(); ++it)
      if (it->Msg == msg) return &*it;
    return nullptr;
  }

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(fill);
    Canvas()->FillRect(ClientRect());
  }
};

// A 32-bit memory bitmap to paint into and read back.
class PixelTarget {
 public:
  PixelTarget(int w, int h) : w_(w), h_(h) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    dc_ = CreateCompatibleDC(nullptr);
    bmp_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bmp_);
    for (int i = 0; i < w * h; ++i) bits_[i] = 0x00123456;
  }
  ~PixelTarget() {
    SelectObject(dc_, old_);
    DeleteObject(bmp_);
    DeleteDC(dc_);
  }
  PixelTarget(const PixelTarget&) = delete;
  PixelTarget& operator=(const PixelTarget&) = delete;

  HDC dc() const { return dc_; }
  // The pixel as a colour value (red in the low byte).
  TColor At(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * w_ + x];
    return static_cast<TColor>(((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16));
  }

 private:
  int w_, h_;
  HDC dc_ = nullptr;
  HBITMAP bmp_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

}  // namespace vcl::testing
