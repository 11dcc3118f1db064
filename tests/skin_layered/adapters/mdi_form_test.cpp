// An MDI frame form's provider keeps its client window adapted while the form is skinned (the
// adapter taking the skin's font and colours), gives that up when the skin goes and takes it
// again when the skin comes back; the MDI children are skinned with providers of their own
// and their controls get their adapters.
#include "auto_support.h"

#include "classlib/forms/Forms.h"
#include "skin_layered/adapters/MdiWnd.h"
#include "skin_layered/forms/MDIForm.h"
#include "skin_layered/manager/SkinManager.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

class TAutoMdiFrame : public vcl::TForm {
  VCL_CLASS(TAutoMdiFrame, vcl::TForm)
 public:
  explicit TAutoMdiFrame(vcl::TComponent* AOwner) : TForm(AOwner, 0) { SetFormStyle(vcl::fsMDIForm); }
};

class TAutoMdiChild : public vcl::TForm {
  VCL_CLASS(TAutoMdiChild, vcl::TForm)
 public:
  explicit TAutoMdiChild(vcl::TComponent* AOwner) : TForm(AOwner, 0) {
    SetBounds(0, 0, 240, 160);
    button = new vcl::TButton(this);
    button->SetParent(this);
    button->SetBounds(8, 8, 100, 24);
    SetFormStyle(vcl::fsMDIChild);
  }
  vcl::TButton* button = nullptr;
};

}  // namespace

VCL_CLASS_INFO(TAutoMdiFrame) {}
VCL_CLASS_INFO(TAutoMdiChild) {}

namespace {

class MdiForms : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(skins, L"Flat", EveryKindSkinText(0));
    frame = vcl::Application->CreateForm<TAutoMdiFrame>();
    frame->SetBounds(-3000, -2000, 600, 450);
    provider = vcl::Construct<TsSkinProvider>(frame);
    frame->Show();
    wintest::PumpUntilIdle();
    ASSERT_TRUE(frame->ClientHandle());
  }
  void TearDown() override {
    vcl::TObject::Free(frame);
    manager.reset();
  }

  TqvMDIWnd* ClientAdapter() const { return dynamic_cast<TqvMDIWnd*>(GetAdapter(frame->ClientHandle())); }

  TempSkins skins;
  ManagerPtr manager;
  TAutoMdiFrame* frame = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(MdiForms, TheClientWindowIsAdaptedWhileTheFormIsSkinned) {
  ASSERT_TRUE(provider->Adapters().MDIForm());
  EXPECT_EQ(MDIProvider(), provider);
  TqvMDIWnd* client = ClientAdapter();
  ASSERT_TRUE(client);
  EXPECT_EQ(provider->Adapters().MDIForm()->MDIWnd, client);
  EXPECT_EQ(client->Form, frame);
  // The client takes the skin's font and colours like every adapted control.
  EXPECT_FALSE(client->SkinData->CustomFont());
  EXPECT_FALSE(client->SkinData->CustomColor());

  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_FALSE(provider->Adapters().MDIForm());
  EXPECT_FALSE(GetAdapter(frame->ClientHandle()));
  EXPECT_EQ(SendCommandToWnd(frame->ClientHandle(), scmIsSkinned, 0), 0);

  manager->SetActive(true);
  wintest::PumpUntilIdle();
  ASSERT_TRUE(provider->Adapters().MDIForm());
  EXPECT_TRUE(ClientAdapter());
  EXPECT_EQ(provider->Adapters().MDIForm()->MDIWnd, ClientAdapter());
}

TEST_F(MdiForms, ChildrenAreSkinnedWithTheirControls) {
  auto* child = vcl::Application->CreateForm<TAutoMdiChild>();
  child->Show();
  wintest::PumpUntilIdle();
  ASSERT_TRUE(child->HandleAllocated());
  auto* childProvider = reinterpret_cast<TsSkinProvider*>(SendCommandToWnd(child->Handle(), scmGetProvider, 0));
  ASSERT_TRUE(childProvider);
  EXPECT_NE(childProvider, provider);
  EXPECT_TRUE(wintest::PumpUntil([&] { return GetAdapter(child->button->Handle()) != nullptr; }));
  EXPECT_EQ(AdapterClass(child->button), L"TqvBtnWnd");

  manager->SetActive(false);
  wintest::PumpUntilIdle();
  EXPECT_EQ(AdapterClass(child->button), L"");
  vcl::TObject::Free(child);
  wintest::PumpUntilIdle();
  EXPECT_TRUE(IsWindow(frame->ClientHandle()));
}

TEST_F(MdiForms, ConnectingAnUnskinnedFormDropsTheAdapter) {
  ASSERT_TRUE(provider->Adapters().MDIForm());
  TsMDIForm* mdi = provider->Adapters().MDIForm();
  mdi->Disconnect();
  EXPECT_FALSE(ClientAdapter());
  mdi->ConnectIfNeeded();
  EXPECT_TRUE(ClientAdapter());
  // Without the skin a connection only lets the adapter go.
  provider->SkinData->SetSkinSection(L"NO SUCH SECTION");
  mdi->Connect();
  EXPECT_FALSE(mdi->MDIWnd);
  EXPECT_FALSE(ClientAdapter());
  provider->SkinData->SetSkinSection(L"FORM");
}

}  // namespace
}  // namespace skin_layered::test
