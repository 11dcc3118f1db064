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

class GluedFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    skins.Write(L"Glue", L"Options.dat", BytesOf(FormSkinText()));
    manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    manager->AnimEffects()->SkinChanging()->SetActive(false);
    master = Skinned(L"MasterForm", 500, 300, masterProvider);
    other = Skinned(L"OtherForm", 860, 300, otherProvider);
    manager->SetSkinName(L"Glue");
    ASSERT_TRUE(masterProvider->FormSkinned());
    ASSERT_TRUE(otherProvider->FormSkinned());
    master->Show();
    other->Show();
  }
  void TearDown() override {
    for (vcl::TForm* f : {master.get(), other.get()})
      if (f && f->HandleAllocated() && f->Visible()) f->Hide();
    masterProvider.reset();
    otherProvider.reset();
    master.reset();
    other.reset();
    manager.reset();
  }
  FormPtr Skinned(const wchar_t* name, int left, int top, ProviderPtr& provider) {
    FormPtr form = NewForm();
    form->SetName(name);
    form->SetBounds(left, top, 300, 200);
    form->HandleNeeded();
    provider = NewProvider(form.get());
    return form;
  }
  static vcl::TRect WindowOf(vcl::TForm* f) {
    RECT r{};
    GetWindowRect(f->Handle(), &r);
    return vcl::TRect(r);
  }

  TempSkins skins;
  ManagerPtr manager;
  FormPtr master{nullptr, nullptr};
  FormPtr other{nullptr, nullptr};
  ProviderPtr masterProvider, otherProvider;
};

// Snapping

TEST_F(GluedFormsTest, AFormSnapsToAnotherFormsEdgeWithinTheBuffer) {
  masterProvider->SetSnapBuffer(10);
  const vcl::TRect o = WindowOf(other.get());
  const int w = WindowOf(master.get()).Width();
  auto snapped = [&](int x, int y) {
    masterProvider->SnapToForms(x, y);
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
  const vcl::TRect o = WindowOf(other.get());
  master->SetBounds(o.Right + 7, o.Top + 40, 300, 200);
  EXPECT_EQ(WindowOf(master.get()).Left, o.Right + 7);
  masterProvider->SetScreenSnap(true);
  master->SetBounds(o.Right + 8, o.Top + 40, 300, 200);
  EXPECT_EQ(WindowOf(master.get()).Left, o.Right);
  EXPECT_EQ(WindowOf(master.get()).Top, o.Top + 40);
}

// Glued forms

TEST_F(GluedFormsTest, GluedFormsFollowTheirMasterWhileTheyTouch) {
  masterProvider->GluedForms()->Add(L"OtherForm");
  // Other right beside master: touching.
  const vcl::TRect m = WindowOf(master.get());
  other->SetBounds(m.Right, m.Top + 20, 300, 200);
  masterProvider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(other.get()), 1);
  master->SetBounds(m.Left - 40, m.Top + 30, 300, 200);
  EXPECT_EQ(WindowOf(other.get()).Left, WindowOf(master.get()).Right);
  EXPECT_EQ(WindowOf(other.get()).Top, WindowOf(master.get()).Top + 20);
  // Moved as a glued form, it drags and snaps nothing itself, and is told so only meanwhile.
  EXPECT_EQ(Command(other->Handle(), scmIsGlued), 0);
  // Two glued forms do not snap to each other.
  masterProvider->SetSnapBuffer(10);
  const vcl::TRect o = WindowOf(other.get());
  const int x0 = o.Left - WindowOf(master.get()).Width() - 5;
  int x = x0, y = o.Top + 3;
  masterProvider->SnapToForms(x, y);
  EXPECT_EQ(vcl::TPoint(x, y), vcl::TPoint(x0, o.Top + 3));
}

TEST_F(GluedFormsTest, AFormPulledAwayOnItsOwnNoLongerFollows) {
  masterProvider->GluedForms()->Add(L"OtherForm");
  const vcl::TRect m = WindowOf(master.get());
  other->SetBounds(m.Left + 10, m.Bottom, 300, 200);
  masterProvider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(other.get()), 1);
  // Dragged by itself: it leaves the list.
  int x = m.Left + 200, y = m.Bottom + 150;
  otherProvider->SnapToForms(x, y);
  EXPECT_EQ(RecordsWith(other.get()), 0);
  const vcl::TRect before = WindowOf(other.get());
  master->SetBounds(m.Left + 25, m.Top, 300, 200);
  EXPECT_EQ(WindowOf(other.get()), before);
}

TEST_F(GluedFormsTest, RecordsThatNoLongerTouchStopFollowing) {
  masterProvider->GluedForms()->Add(L"OtherForm");
  const vcl::TRect m = WindowOf(master.get());
  other->SetBounds(m.Right, m.Top, 300, 200);
  masterProvider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(other.get()), 1);
  // Apart now (moved while its master did not look): refreshing drops the record.
  other->SetBounds(m.Right + 50, m.Top, 300, 200);
  masterProvider->UpdateGluedForms();
  EXPECT_EQ(RecordsWith(other.get()), 0);
  master->SetBounds(m.Left - 30, m.Top, 300, 200);
  EXPECT_EQ(WindowOf(other.get()).Left, m.Right + 50);
  // A name that matches no form is ignored.
  masterProvider->GluedForms()->Add(L"NoSuchForm");
  masterProvider->UpdateGluedForms();
  EXPECT_EQ(RecordsWith(master.get()), 0);
}

TEST_F(GluedFormsTest, AFormThatGoesTakesEveryRecordOfItsWith) {
  // Master drags other, and other drags master: both roles.
  masterProvider->GluedForms()->Add(L"OtherForm");
  otherProvider->GluedForms()->Add(L"MasterForm");
  const vcl::TRect m = WindowOf(master.get());
  other->SetBounds(m.Right, m.Top, 300, 200);
  masterProvider->UpdateGluedForms();
  otherProvider->UpdateGluedForms();
  ASSERT_EQ(RecordsWith(master.get()), 2);
  // The form goes with its provider.
  vcl::TCustomForm* gone = master.get();
  master->Hide();
  (void)masterProvider.release();
  master.reset();
  EXPECT_EQ(RecordsWith(gone), 0);
  EXPECT_EQ(RecordsWith(other.get()), 0);
  // The survivor moves on its own without touching a freed form.
  other->SetBounds(m.Right + 20, m.Top + 20, 300, 200);
  EXPECT_EQ(WindowOf(other.get()).Left, m.Right + 20);
}

}  // namespace
}  // namespace skin_layered::test
