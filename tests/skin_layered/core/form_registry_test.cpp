// The registry of skinned forms and the broadcasts to every form: order after removals,
// removing a form that is not there, each form reached once (skinned ones through the
// registry), forms leaving during a broadcast, and the adapters' border windows.
#include <windows.h>
#include <commctrl.h>

#include "command_spies.h"
#include "classlib/extctrls/ExtCtrls.h"
#include "skin_layered/core/AdapterServices.h"
#include "skin_layered/core/FormRegistry.h"

namespace skin_layered::test {
namespace {

using Forms = std::vector<vcl::TCustomForm*>;

// Whatever a test leaves registered is taken out again.
class RegistryScope {
 public:
  ~RegistryScope() {
    while (!RegisteredForms().empty()) UnregisterForm(RegisteredForms().back());
  }
};

TEST(FormRegistry, RegisteringAndRemovingKeepTheOrderOfTheRest) {
  RegistryScope scope;
  auto a = NewForm(), b = NewForm(), c = NewForm(), d = NewForm();
  EXPECT_EQ(RegisterForm(a.get()), 1);
  EXPECT_EQ(RegisterForm(b.get()), 2);
  EXPECT_EQ(RegisterForm(c.get()), 3);
  UnregisterForm(b.get());
  EXPECT_EQ(RegisteredForms(), (Forms{a.get(), c.get()}));
  UnregisterForm(d.get());  // not registered: nothing changes
  EXPECT_EQ(RegisteredForms(), (Forms{a.get(), c.get()}));
  RegisterForm(b.get());
  UnregisterForm(b.get());  // the last one
  EXPECT_EQ(RegisteredForms(), (Forms{a.get(), c.get()}));
  RegisterForm(b.get());
  UnregisterForm(a.get());  // the first one's place goes to the last
  EXPECT_EQ(RegisteredForms(), (Forms{b.get(), c.get()}));
  EXPECT_TRUE(IsFormRegistered(c.get()));
  EXPECT_FALSE(IsFormRegistered(a.get()));
}

TEST(FormRegistry, EveryFormOnceAndSkinnedFormsThroughTheRegistry) {
  RegistryScope scope;
  auto plain = NewForm(), skinned = NewForm(), mdiFrame = NewForm(), loose = NewForm();
  mdiFrame->SetFormStyle(vcl::fsMDIForm);
  auto* panel = new vcl::TPanel(plain.get());
  panel->SetParent(plain.get());
  CommandSpy plainSpy(plain.get(), false), skinnedSpy(skinned.get(), true), mdiSpy(mdiFrame.get(), false),
      panelSpy(panel, true);
  for (auto* f : {plain.get(), skinned.get(), mdiFrame.get()}) f->HandleNeeded();
  RegisterForm(skinned.get());
  ASSERT_TRUE(mdiFrame->ClientHandle());
  int clientGot = 0;
  struct ClientSpy {
    static LRESULT CALLBACK Proc(HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR data) {
      if (msg == kSkinCmdMessage) ++*reinterpret_cast<int*>(data);
      return DefSubclassProc(h, msg, w, l);
    }
  };
  ASSERT_TRUE(SetWindowSubclass(mdiFrame->ClientHandle(), &ClientSpy::Proc, 1, reinterpret_cast<DWORD_PTR>(&clientGot)));

  vcl::TMessage m = SkinCommandMessage(scmNewSkin);
  BroadcastToAllForms(m);
  EXPECT_EQ(plainSpy.Count(scmNewSkin), 1);
  EXPECT_EQ(skinnedSpy.Count(scmNewSkin), 1);
  EXPECT_EQ(mdiSpy.Count(scmNewSkin), 1);
  EXPECT_EQ(panelSpy.Count(scmNewSkin), 1);
  EXPECT_EQ(clientGot, 1);
  RemoveWindowSubclass(mdiFrame->ClientHandle(), &ClientSpy::Proc, 1);

  // Only the registered ones.
  BroadcastToRegisteredForms(m);
  EXPECT_EQ(plainSpy.Count(scmNewSkin), 1);
  EXPECT_EQ(skinnedSpy.Count(scmNewSkin), 2);
}

TEST(FormRegistry, FormsLeavingDuringABroadcast) {
  RegistryScope scope;
  auto a = NewForm(), c = NewForm(), d = NewForm();
  vcl::TForm* b = NewForm().release();
  for (auto* f : {a.get(), b, c.get(), d.get()}) {
    f->HandleNeeded();
    RegisterForm(f);
  }
  CommandSpy sa(a.get(), true), sc(c.get(), true), sd(d.get(), true);
  auto sb = std::make_unique<CommandSpy>(b, true);
  // The first takes itself out and frees the second before its turn; the last moves into the
  // first one's place.
  sa.onCommand = [&] {
    UnregisterForm(a.get());
    UnregisterForm(b);
    sb.reset();
    vcl::TObject::Free(b);
  };
  vcl::TMessage m = SkinCommandMessage(scmRefresh);
  BroadcastToAllForms(m);
  EXPECT_EQ(sa.Count(scmRefresh), 1);
  EXPECT_EQ(sc.Count(scmRefresh), 1);
  EXPECT_EQ(sd.Count(scmRefresh), 1);
  EXPECT_EQ(RegisteredForms(), (Forms{d.get(), c.get()}));
}

class BorderWindows : public TLayeredAdapterServices {
 public:
  std::vector<TqvSkinnedWindow> windows;
  std::vector<TqvSkinnedWindow> SkinnedWindowList() override { return windows; }
};

// Every skinned window of the adapters gets it itself, with or without a border window and
// shown or not; its border window is its own to update.
TEST(FormRegistry, TheAdaptersSkinnedWindowsGetItThemselves) {
  RegistryScope scope;
  auto framed = NewForm(), bare = NewForm(), hidden = NewForm(), border = NewForm();
  framed->Show();
  bare->Show();
  border->Show();
  hidden->HandleNeeded();
  CommandSpy framedSpy(framed.get(), false), bareSpy(bare.get(), false), hiddenSpy(hidden.get(), false),
      borderSpy(border.get(), false);
  BorderWindows services;
  services.windows = {{framed->Handle(), border->Handle()}, {bare->Handle(), nullptr}, {hidden->Handle(), nullptr},
                      {nullptr, nullptr}};
  TLayeredAdapterServices* previous = SetAdapterServices(&services);
  vcl::TMessage m = SkinCommandMessage(scmRefresh);
  BroadcastToRegisteredForms(m);
  SetAdapterServices(previous);
  EXPECT_EQ(framedSpy.Count(scmRefresh), 1);
  EXPECT_EQ(bareSpy.Count(scmRefresh), 1);
  EXPECT_EQ(hiddenSpy.Count(scmRefresh), 1);
  EXPECT_EQ(borderSpy.Count(scmRefresh), 0);
}

}  // namespace
}  // namespace skin_layered::test
