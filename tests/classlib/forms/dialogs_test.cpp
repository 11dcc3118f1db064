// The colour dialog through its replaceable run function: what the system dialog is given,
// what OK and Cancel leave behind, and the dialog read from a form description.
#include <gtest/gtest.h>

#include "classlib/forms/Dialogs.h"
#include "classlib/controls/controls_support.h"

namespace vcl::testing {
namespace {

// Answers the colour dialog like a user would, recording what it was given.
struct ColorUser {
  bool confirm = true;
  COLORREF choose = 0;
  COLORREF custom0 = 0;  // put in the first custom colour slot when confirming
  int calls = 0;
  CHOOSECOLORW seen{};
  std::vector<COLORREF> customSeen;
  int modalLevel = 0;
};
ColorUser* g_user = nullptr;

class ColorUserScope {
 public:
  explicit ColorUserScope(ColorUser& user) {
    g_user = &user;
    previous_ = SetChooseColorFunction([](CHOOSECOLORW& cc) {
      ++g_user->calls;
      g_user->seen = cc;
      g_user->customSeen.assign(cc.lpCustColors, cc.lpCustColors + 16);
      g_user->modalLevel = Application->ModalLevel();
      if (!g_user->confirm) return false;
      cc.rgbResult = g_user->choose;
      cc.lpCustColors[0] = g_user->custom0;
      return true;
    });
  }
  ~ColorUserScope() {
    SetChooseColorFunction(previous_);
    g_user = nullptr;
  }

 private:
  TChooseColorFunction previous_;
};

TEST(ColorDialog, OkTakesTheChosenColourAndCancelChangesNothing) {
  ASSERT_EQ(Screen->ActiveCustomForm(), nullptr);  // the dialog's owner is then the application window
  Owned<TColorDialog> dialog(new TColorDialog(nullptr));
  dialog->SetColor(clBtnFace);  // a system colour is shown as its value
  dialog->SetOptions({cdFullOpen, cdAnyColor});
  dialog->CustomColors()->Add(L"ColorA=0000FF");
  dialog->CustomColors()->Add(L"ColorC=not a colour");
  dialog->CustomColors()->Add(L"ColorD=1234567");

  ColorUser user;
  user.confirm = false;
  ColorUserScope scope(user);
  EXPECT_FALSE(dialog->Execute());
  EXPECT_EQ(user.calls, 1);
  EXPECT_EQ(user.modalLevel, 1);  // the application is modal while the dialog shows
  EXPECT_EQ(Application->ModalLevel(), 0);
  EXPECT_EQ(user.seen.rgbResult, static_cast<COLORREF>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(user.seen.Flags, static_cast<DWORD>(CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR));
  EXPECT_EQ(user.seen.hwndOwner, Application->Handle());
  ASSERT_EQ(user.customSeen.size(), 16u);
  EXPECT_EQ(user.customSeen[0], 0x0000FFu);
  EXPECT_EQ(user.customSeen[1], 0xFFFFFFu);  // unset
  EXPECT_EQ(user.customSeen[2], 0xFFFFFFu);  // unreadable
  EXPECT_EQ(user.customSeen[3], 0xFFFFFFu);  // too long
  EXPECT_EQ(dialog->Color(), clBtnFace);
  EXPECT_EQ(dialog->CustomColors()->Count(), 3);

  // Pure blue chosen: the colour value with blue in the high byte, custom colours written back.
  user.confirm = true;
  user.choose = RGB(0, 0, 255);
  user.custom0 = RGB(0x12, 0x34, 0x56);
  EXPECT_TRUE(dialog->Execute());
  EXPECT_EQ(dialog->Color(), clBlue);
  EXPECT_EQ(dialog->CustomColors()->Values(L"ColorA"), L"563412");
  EXPECT_EQ(dialog->CustomColors()->Values(L"ColorP"), L"FFFFFF");
  EXPECT_EQ(dialog->CustomColors()->Values(L"ColorC"), L"FFFFFF");
}

}  // namespace
}  // namespace vcl::testing
