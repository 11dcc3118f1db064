// Snapping between skinned forms and glued forms following their master.
#include <gtest/gtest.h>

#include <algorithm>

#include "forms_support.h"
#include "skin_layered/forms/GluedForms.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

using FormPtr = std::unique_ptr<vcl::TForm, void (*)(vcl::TForm*)>;

int RecordsWith(const vcl::TCustomForm* form) {
  const std::vector<TqvGluedRecord>& list = GluedList();
  return static_cast<int>(std::count_if(list.begin(), list.end(), [form](const TqvGluedRecord& r) {
    return r.Master == form || r.Glued == form;
  }));
}

class GluedFormsTest : public FormSkinTest {
 protected:
  void SetUp() override {
    FormSkinTest::SetUp();
    WriteSkin(L"Glue", FormSkinText());
    form = Skinned(L"MasterForm", 500, 300, provider);
    other = Skinned(L"OtherForm", 860, 300, otherProvider);
    manager->SetSkinName(L"Glue");
    ASSERT_TRUE(provider->FormSkinned() && otherProvider->FormSkinned());
    form->Show();
    other->Show();
  }
  void TearDown() override {
    if (other->Visible()) other->Hide();
    otherProvider.reset();
    other.reset();
    FormSkinTest::TearDown();
  }
  FormPtr Skinned(const wchar_t* name, int left, int top, ProviderPtr& skinner) {
    FormPtr f = NewForm();
    f->SetName(name);
    f->SetBounds(left, top, 300, 200);
    f->HandleNeeded();
    skinner = NewProvider(f.get());
    return f;
  }


  FormPtr other{nullptr, nullptr};
  ProviderPtr otherProvider;
};

// Snapping

TEST_F(GluedFormsTest, AFormSnapsToAnotherFormsEdgeWithinTheBuffer) {
  provider->SetSnapBuffer(10);
  const vcl::TRect o = WindowBox(other->Handle());
  const int w = WindowBox(form->Handle()).Width();
  auto snapped = [&](int x, int y) {
    provider->SnapToForms(x, y);
    return vcl::TPoint(x, y);
  };
  // Left edge 10 pixels right of the other form's right edge, the two side by side; 11: none.
  EXPECT_EQ(snapped(o.Right + 10, o.Top + 37), vcl::TPoint(o.Right, o.Top + 37));
  EXPECT_EQ(snapped(o.Right + 11, o.Top + 37), vcl::TPoint(o.Right + 11, o.Top + 37));
  // The right edge 6 pixels short of the other's left edge, the tops 4 apart: both snap.
  EXPECT_EQ(snapped(o.Left - w - 6, o.Top + 4), vcl::TPoint(o.Left - w, o.Top));
  // Not beside each other (no vertical overlap): no snap to the side.
  EXPECT_EQ(snapped(o.Right + 5, o.Bottom + 300).X, o.Right + 5);
}

TEST_F(GluedFormsTest, AMovedFormSnapsWhenScreenSnapIsOn) {
  const vcl::TRect o = WindowBox(other->Handle());
  form->SetBounds(o.Right + 7, o.Top + 40, 300, 200);
  EXPECT_EQ(WindowBox(form->Handle()).Left, o.Right + 7);
  provider->SetScreenSnap(true);
  form->SetBounds(o.Right + 8, o.Top + 40, 300, 200);
  EXPECT_EQ(WindowBox(form->Handle()).Left, o.Right);
  EXPECT_EQ(WindowBox(form->Handle()).Top, o.Top + 40);
}

// Glued forms

TEST_F(GluedFormsTest, GluedFormsFollowTheirMasterWhileTheyTouch) {
  provider->GluedForms()->Add(L"OtherForm");
  // Other right beside master: touching.
  const vcl::TRect m = WindowBox(form->Handle());
  other->SetBounds(m.Right, m.Top + 20, 300, 200);
  provider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(other.get()), 1);
  form->SetBounds(m.Left - 40, m.Top + 30, 300, 200);
  EXPECT_EQ(WindowBox(other->Handle()).Left, WindowBox(form->Handle()).Right);
  EXPECT_EQ(WindowBox(other->Handle()).Top, WindowBox(form->Handle()).Top + 20);
  // Moved as a glued form, it drags and snaps nothing itself, and is told so only meanwhile.
  EXPECT_EQ(Command(other->Handle(), scmIsGlued), 0);
  // Two glued forms do not snap to each other.
  provider->SetSnapBuffer(10);
  const vcl::TRect o = WindowBox(other->Handle());
  const int x0 = o.Left - WindowBox(form->Handle()).Width() - 5;
  int x = x0, y = o.Top + 3;
  provider->SnapToForms(x, y);
  EXPECT_EQ(vcl::TPoint(x, y), vcl::TPoint(x0, o.Top + 3));
}

TEST_F(GluedFormsTest, AGluedFormPulledAwayOrFoundApartNoLongerFollows) {
  provider->GluedForms()->Add(L"OtherForm");
  auto glued = [&](int left, int top) {
    other->SetBounds(left, top, 300, 200);
    provider->UpdateGluedForms();
    return RecordsWith(other.get());
  };
  const vcl::TRect m = WindowBox(form->Handle());
  ASSERT_EQ(glued(m.Left + 10, m.Bottom), 1);
  // Dragged by itself: it leaves the list.
  int x = m.Left + 200, y = m.Bottom + 150;
  otherProvider->SnapToForms(x, y);
  EXPECT_EQ(RecordsWith(other.get()), 0);
  const vcl::TRect before = WindowBox(other->Handle());
  form->SetBounds(m.Left + 25, m.Top, 300, 200);
  EXPECT_EQ(WindowBox(other->Handle()), before);

  // Apart (moved while its master did not look): refreshing drops the record.
  const vcl::TRect n = WindowBox(form->Handle());
  ASSERT_EQ(glued(n.Right, n.Top), 1);
  EXPECT_EQ(glued(n.Right + 50, n.Top), 0);
  form->SetBounds(n.Left - 30, n.Top, 300, 200);
  EXPECT_EQ(WindowBox(other->Handle()).Left, n.Right + 50);
  // A name that matches no form is ignored.
  provider->GluedForms()->Add(L"NoSuchForm");
  provider->UpdateGluedForms();
  EXPECT_EQ(RecordsWith(form.get()), 0);
}

TEST_F(GluedFormsTest, AFormThatGoesTakesEveryRecordOfItsWith) {
  // Master drags other, and other drags master: both roles.
  provider->GluedForms()->Add(L"OtherForm");
  otherProvider->GluedForms()->Add(L"MasterForm");
  const vcl::TRect m = WindowBox(form->Handle());
  other->SetBounds(m.Right, m.Top, 300, 200);
  provider->UpdateGluedForms();
  otherProvider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(form.get()), 2);
  // The form goes with its provider.
  vcl::TCustomForm* gone = form.get();
  form->Hide();
  (void)provider.release();
  form.reset();
  EXPECT_EQ(RecordsWith(gone), 0);
  EXPECT_EQ(RecordsWith(other.get()), 0);
  // The survivor moves on its own without touching a freed form.
  other->SetBounds(m.Right + 20, m.Top + 20, 300, 200);
  EXPECT_EQ(WindowBox(other->Handle()).Left, m.Right + 20);
}

}  // namespace
}  // namespace skin_layered::test
