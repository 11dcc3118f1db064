// The control skinner base on real windows: the message pipeline, painting into a given DC or
// the window's own, the form's list of skinners, detaching that leaves the control's procedure,
// colour and later hooks or subclasses as they were, and the property accessors by name.
#include "control_skin_support.h"

#include <stdexcept>

#include "classlib/controls/WindowProcHook.h"
#include "classlib/controls/WindowSubclass.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "classlib/stdctrls/StdCtrls.h"
#include "skin_classic/controls/SkinButton.h"
#include "skin_classic/controls/SkinGroupBox.h"
#include "skin_classic/controls/SkinProps.h"

namespace winskin::test {

VCL_CLASS_INFO(TSkinTestForm) {}

namespace {

// The program's units, once for all the tests of this program.
::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

// A control that records the messages its own handling sees.
class TRecordingControl : public vcl::TCustomControl {
  VCL_CLASS(TRecordingControl, TCustomControl)
 public:
  explicit TRecordingControl(vcl::TComponent* AOwner) : TCustomControl(AOwner) {}
  std::vector<UINT> seen;
  size_t Count(UINT msg) const { return static_cast<size_t>(std::count(seen.begin(), seen.end(), msg)); }
  void WndProc(vcl::TMessage& Message) override {
    seen.push_back(Message.Msg);
    TCustomControl::WndProc(Message);
  }
};

// A skinner that records what the pipeline asks of it and paints one colour.
class TRecordingSkinner : public TSkinControl {
  VCL_CLASS(TRecordingSkinner, TSkinControl)
 public:
  using TSkinControl::TSkinControl;
  int before = 0, after = 0, draws = 0;
  HDC lastDC = nullptr;
  HWND lastWindow = nullptr;  // of the DC drawn on
  std::vector<UINT> handled;  // the messages the pipeline gave BeforeProc
  UINT throwOn = 0;
  bool BeforeProc(vcl::TMessage& Message) override {
    ++before;
    handled.push_back(Message.Msg);
    if (throwOn && Message.Msg == throwOn) throw vcl::Exception(L"painter failed");
    return TSkinControl::BeforeProc(Message);
  }
  void AfterProc(vcl::TMessage& Message) override {
    ++after;
    TSkinControl::AfterProc(Message);
  }
  void DrawControl(HDC DC, const TRect& Rect) override {
    ++draws;
    lastDC = DC;
    lastWindow = WindowFromDC(DC);
    FillRectColor(DC, Rect, vcl::clRed);
  }
};

}  // namespace

VCL_CLASS_INFO(TRecordingControl) { vcl::publish::Color(p, vcl::clBtnFace); }
VCL_CLASS_INFO(TRecordingSkinner) {}

namespace {

class SkinControlTest : public ControlSkinTest {
 protected:
  void SetUp() override {
    ControlSkinTest::SetUp();
    control_ = Add<TRecordingControl>(form_.get(), 10, 10, 80, 40);
    control_->SetColor(vcl::clAqua);
  }
  TRecordingSkinner* Attach(bool setColor = true) { return Skin<TRecordingSkinner>(control_, setColor); }

  TRecordingControl* control_ = nullptr;
};

TEST_F(SkinControlTest, AttachingHooksTheControlTakesTheFaceColourAndJoinsTheFormOnce) {
  TRecordingSkinner* s = Attach();
  EXPECT_EQ(s->Status(), kSkinnerAttached);
  EXPECT_EQ(s->Handle(), control_->Handle());
  EXPECT_EQ(control_->Color(), C(kFace));
  ASSERT_EQ(host_.Skinners().size(), 1u);
  EXPECT_EQ(host_.FindSkinner(control_->Handle()), s);
  // A second attach changes nothing: the saved colour stays the control's own.
  s->AttachControl(&host_, data_.get(), true, nullptr);
  EXPECT_EQ(host_.Skinners().size(), 1u);

  // The form releasing its skinners gives each control its colour and frees them.
  auto* second = Add<TRecordingControl>(form_.get(), 100, 10, 50, 20);
  second->SetColor(vcl::clLime);
  Skin<TRecordingSkinner>(second, true);
  host_.ReleaseSkinners();
  EXPECT_TRUE(host_.Skinners().empty());
  EXPECT_EQ(control_->Color(), vcl::clAqua);
  EXPECT_EQ(second->Color(), vcl::clLime);
  // A control freed first takes its skinner along and the list forgets it.
  Skin<TRecordingSkinner>(second);
  vcl::TObject::Free(second);
  EXPECT_TRUE(host_.Skinners().empty());
}

TEST_F(SkinControlTest, MessagesPassBeforeOwnAndAfterAndWmPaintPaintsTheSkinOverTheControl) {
  TRecordingSkinner* s = Attach();
  control_->seen.clear();
  s->before = s->after = 0;
  s->handled.clear();
  auto b = Painted(control_->Handle());
  EXPECT_EQ(control_->Count(WM_PAINT), 1u);  // the control painted itself first
  EXPECT_EQ(std::count(s->handled.begin(), s->handled.end(), WM_PAINT), 1);
  EXPECT_EQ(s->before, s->after);
  EXPECT_EQ(s->draws, 1);
  EXPECT_EQ(s->lastDC, b->Canvas()->Handle());  // the DC in wParam
  EXPECT_EQ(At(b.get(), 40, 20), vcl::clRed);

  // Without a DC the window's own DC over the whole window.
  SendMessageW(control_->Handle(), WM_PAINT, 0, 0);
  EXPECT_EQ(s->draws, 2);
  EXPECT_EQ(s->lastWindow, control_->Handle());
  EXPECT_EQ(s->WindowRect().Width(), 80);
}

TEST_F(SkinControlTest, TheSwitchAndQueryMessagesNeverReachTheControl) {
  TRecordingSkinner* s = Attach();
  control_->seen.clear();
  EXPECT_EQ(SendMessageW(control_->Handle(), SKM_QUERYNOSKIN, 0, 0), 1);
  EXPECT_EQ(control_->Perform(SKM_QUERYNOSKIN), 1);
  SendMessageW(control_->Handle(), SKM_SKINCONTROL, 0, 0);
  EXPECT_FALSE(s->SkinOn());

  // Off: the control alone sees the messages; nothing is painted.
  const int before = s->before;
  Painted(control_->Handle());
  EXPECT_EQ(control_->Count(WM_PAINT), 1u);
  EXPECT_EQ(s->before, before);
  EXPECT_EQ(s->draws, 0);

  // On again: redrawn at once.
  form_->Show();
  SendMessageW(control_->Handle(), SKM_SKINCONTROL, 1, 0);
  EXPECT_TRUE(s->SkinOn());
  EXPECT_GE(s->draws, 1);
  EXPECT_EQ(control_->Count(SKM_SKINCONTROL) + control_->Count(SKM_QUERYNOSKIN), 0u);
}

TEST_F(SkinControlTest, AnExceptionInTheSkinnerIsDroppedAndTheControlKeepsWorking) {
  TRecordingSkinner* s = Attach();
  s->throwOn = WM_USER + 5;
  vcl::TMessage m{WM_USER + 5, 0, 0, 77};
  control_->WindowProc(m);
  EXPECT_EQ(m.Result, 77);  // left as it was
  s->throwOn = 0;
  control_->seen.clear();
  Painted(control_->Handle());
  EXPECT_EQ(control_->Count(WM_PAINT), 1u);
}

TEST_F(SkinControlTest, AfterTheWindowIsDestroyedTheColourIsBackAndNothingIsPainted) {
  TRecordingSkinner* s = Attach();
  control_->DestroyHandle();
  EXPECT_EQ(s->Status(), kSkinnerWindowGone);
  EXPECT_FALSE(s->SkinOn());
  EXPECT_EQ(control_->Color(), vcl::clAqua);
  const int draws = s->draws;
  vcl::TMessage m{WM_PAINT, 0, 0, 0};
  control_->WindowProc(m);
  EXPECT_EQ(s->draws, draws);
  // The form lets go of it without touching the control again.
  control_->SetColor(vcl::clYellow);
  host_.ReleaseSkinners();
  EXPECT_EQ(control_->Color(), vcl::clYellow);
  EXPECT_TRUE(host_.Skinners().empty());
}

TEST_F(SkinControlTest, FreeingTheSkinnerGivesTheControlItsProcedureBackAndKeepsALaterHook) {
  const vcl::TWndMethod own = control_->WindowProc;
  TRecordingSkinner* s = Attach();
  // Another party hooks the control after the skinner.
  int later = 0;
  struct Later {
    int* count;
    vcl::TWindowProcHook hook;
    void Proc(vcl::TMessage& m) {
      ++*count;
      hook.CallPrevious(m);
    }
  } other{&later, {}};
  other.hook.Install(control_, vcl::TWndMethod::Bind<&Later::Proc>(&other));

  vcl::TObject::Free(s);
  EXPECT_TRUE(host_.Skinners().empty());
  control_->seen.clear();
  Painted(control_->Handle());
  EXPECT_EQ(later, 1);                          // the later hook still runs
  EXPECT_EQ(control_->Count(WM_PAINT), 1u);     // and the control beneath it
  other.hook.Remove();
  EXPECT_EQ(control_->WindowProc.Raw(), own.Raw());  // exactly the control's own again
}

// ---------------------------------------------------------------------------------------
// Bare windows

LRESULT CALLBACK PlainProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, msg, wp, lp); }

HWND PlainWindow(HWND parent) {
  return CreateWindowExW(0, wintest::TestWindowClass(L"SkinControlPlain", &PlainProc),
                         L"", WS_CHILD | WS_VISIBLE, 5, 5, 60, 30, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

TEST_F(SkinControlTest, ABareWindowIsSubclassedAndGivenBackUnderALaterSubclassAndItsTextStaysWide) {
  HWND w = PlainWindow(form_->Handle());
  ASSERT_TRUE(w);
  const LONG_PTR original = GetWindowLongPtrW(w, GWLP_WNDPROC);
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  auto* s = new TRecordingSkinner(nullptr);
  s->AttachWindow(w, data_.get(), &host_, nullptr);
  EXPECT_EQ(s->Status(), kSkinnerAttached);
  EXPECT_EQ(host_.FindSkinner(w), s);

  // Chinese text goes through the skinner to the window's own procedure unchanged.
  const wchar_t* text = L"宝贝描述";
  SetWindowTextW(w, text);
  EXPECT_EQ(GetWindowTextWide(w), text);
  EXPECT_GT(s->before, 0);

  int later = 0;
  struct Later {
    int* count;
    vcl::TWindowSubclass sub;
    void Proc(vcl::TMessage& m) {
      ++*count;
      sub.CallDefault(m);
    }
  } other{&later, {}};
  ASSERT_TRUE(other.sub.Attach(w, vcl::TWndMethod::Bind<&Later::Proc>(&other)));

  vcl::TObject::Free(s);
  SetWindowTextW(w, L"规格");
  EXPECT_GE(later, 1);
  EXPECT_EQ(GetWindowTextWide(w), L"规格");
  other.sub.Detach();
  EXPECT_EQ(GetWindowLongPtrW(w, GWLP_WNDPROC), original);
  EXPECT_EQ(GetWindowLongPtrW(w, GWL_STYLE), style);
  DestroyWindow(w);
}

TEST(SkinControlHelpers, APopupWindowIsOneWithThePopupStyleOrTheDesktopAsParent) {
  HWND top = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, top, nullptr, nullptr, nullptr);
  EXPECT_TRUE(IsPopupWindow(top));
  EXPECT_TRUE(IsPopupWindow(popup));
  EXPECT_FALSE(IsPopupWindow(child));
  EXPECT_FALSE(IsPopupWindow(nullptr));
  DestroyWindow(top);
}

// ---------------------------------------------------------------------------------------
// Properties by name

TEST(SkinProps, PropertiesAreReadByNameWithDefaultsForMissingOnesAndOtherKinds) {
  Owned<vcl::TForm> form = ControlForm();
  auto* box = Add<vcl::TCheckBox>(form.get(), 0, 0, 80, 20);
  box->SetCaption(L"选项");
  box->SetState(vcl::cbGrayed);
  box->Font()->SetColor(vcl::clMaroon);

  EXPECT_EQ(GetOrdPropByName(box, L"Width"), 80);
  EXPECT_EQ(GetOrdPropByName(box, L"Caption"), -1);   // another kind
  EXPECT_EQ(GetOrdPropByName(box, L"NoSuch"), -1);
  EXPECT_EQ(GetOrdPropByName(nullptr, L"Width"), -1);
  EXPECT_EQ(GetEnumPropName(box, L"State"), L"cbGrayed");
  EXPECT_EQ(GetEnumPropName(box, L"Checked"), L"False");
  EXPECT_EQ(GetEnumPropName(box, L"Width"), L"");
  EXPECT_EQ(GetPropText(box, L"Caption"), L"选项");
  EXPECT_EQ(GetPropText(box, L"Width"), L"");
  EXPECT_EQ(GetObjectPropAs<vcl::TFont>(box, L"Font")->Color(), vcl::clMaroon);
  EXPECT_EQ(GetObjectPropAs<vcl::TBitmap>(box, L"Font"), nullptr);  // not of that class
  EXPECT_TRUE(HasIntegerProp(box, L"Color"));
  EXPECT_FALSE(HasIntegerProp(box, L"State"));

  SetPropText(box, L"State", L"cbChecked");
  EXPECT_EQ(box->State(), vcl::cbChecked);
  SetPropText(box, L"Width", L"120");
  EXPECT_EQ(box->Width(), 120);
  SetPropText(box, L"Caption", L"尺寸");
  EXPECT_EQ(box->Caption(), L"尺寸");
  SetPropText(box, L"Font", L"x");    // another kind: unchanged
  SetPropText(box, L"NoSuch", L"x");  // missing: nothing
  EXPECT_THROW(SetPropText(box, L"Width", L"wide"), vcl::EConvertError);
  EXPECT_EQ(box->Width(), 120);
}

}  // namespace
}  // namespace winskin::test
