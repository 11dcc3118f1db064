// Shared by the engine's Windows tests: the program's units, a form class descriptions can
// name, descriptions with a "SkinStream", and a recording form skinning.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "classlib/streaming/Filer.h"
#include "classlib/forms/Forms.h"
#include "classlib/rtl/UnitInit.h"
#include "skin_classic/core/FormSkinning.h"
#include "skin_classic/core/SkinData.h"
#include "skin_classic/core/SkinManage.h"
#include "skin_classic/support/SkinPackageWriter.h"
#include "skin_classic/support/SyntheticSkin.h"
#include "skin_classic/support/win_skin_support.h"
#include "support/win_test_support.h"

namespace winskin::test {

using namespace skin_classic::test_support;

struct ShownBox {
  vcl::String text;
};

inline std::vector<ShownBox>& ShownBoxes() {
  static std::vector<ShownBox> boxes;
  return boxes;
}

class UnitsEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    vcl::InitializeUnits();
    vcl::SetMessageBoxFunction([](HWND, const vcl::String& text, const vcl::String&, UINT) {
      ShownBoxes().push_back({text});
      return IDOK;
    });
  }
  void TearDown() override {
    vcl::SetMessageBoxFunction(nullptr);
    vcl::FinalizeUnits();
  }
};

template <class T>
struct Freer {
  void operator()(T* object) const { vcl::TObject::Free(object); }
};
template <class T>
using Owned = std::unique_ptr<T, Freer<T>>;

using wintest::Pump;
using wintest::PumpUntil;
using wintest::QueueEmpty;
using wintest::PumpUntilIdle;

// A form that form descriptions can name; it records the engine's private messages.
class TSkinTestForm : public vcl::TForm {
  VCL_CLASS(TSkinTestForm, TForm)
 public:
  TSkinTestForm(vcl::TComponent* AOwner, int Dummy) : TForm(AOwner, Dummy) {}

  std::vector<vcl::TMessage> engineMessages;

  void WndProc(vcl::TMessage& Message) override {
    if (Message.Msg >= SKM_REAPPLY && Message.Msg <= SKM_QUERYNOSKIN) engineMessages.push_back(Message);
    TForm::WndProc(Message);
  }
  TSkinData* SkinData() const { return dynamic_cast<TSkinData*>(FindComponent(L"skndt1")); }
};

inline std::string Hex(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (uint8_t b : bytes) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

// "SkinStream" as stored: a 32-bit length, then the package.
inline std::vector<uint8_t> StoredStream(const std::vector<uint8_t>& package) {
  ByteWriter w;
  w.Int32(static_cast<int32_t>(package.size())).Bytes(package);
  return w.Take();
}

inline std::vector<uint8_t> SyntheticPackage() { return BuildPackage(CompleteSkinSpec(4)); }

// A form description holding one skin-data component named skndt1.
inline std::string SkinFormText(const std::string& skinDataBody) {
  return "object SkinTestForm: TSkinTestForm\n  object skndt1: TSkinData\n" + skinDataBody + "  end\nend\n";
}

inline std::string MainWindowBlock(const std::vector<uint8_t>& stored = StoredStream({})) {
  return "    Active = True\n    SkinFormtype = sfMainform\n    SkinStream = {\n      " + Hex(stored) + "}\n";
}

// A hidden form read from a description, at a size the manager accepts.
inline Owned<TSkinTestForm> ReadSkinForm(const std::string& text) {
  Owned<TSkinTestForm> form(new TSkinTestForm(nullptr, 0));
  vcl::ReadComponentText(form.get(), text, L"skin test");
  form->SetBounds(40, 40, 320, 240);
  return form;
}

// What the manager asked of the form skinning, in order.
struct SkinCall {
  std::string what;
  HWND window = nullptr;
  vcl::TComponent* object = nullptr;
};

inline std::vector<SkinCall>& SkinCalls() {
  static std::vector<SkinCall> calls;
  return calls;
}

inline size_t CountCalls(const std::string& what) {
  size_t n = 0;
  for (const SkinCall& c : SkinCalls()) n += c.what == what;
  return n;
}

class TRecordingSkinForm : public TWinSkinFormBase {
  VCL_CLASS(TRecordingSkinForm, TWinSkinFormBase)
 public:
  explicit TRecordingSkinForm(vcl::TComponent* AOwner) : TWinSkinFormBase(AOwner) {}
  ~TRecordingSkinForm() override { Log("free"); }

  bool mdiChild = false;

  void AttachForm(TSkinData* ASkinData, vcl::TWinControl* FormObject) override {
    SkinData = ASkinData;
    SkinCalls().push_back({"attach-form", Window, FormObject});
  }
  void AttachWindow(TSkinData* ASkinData) override {
    SkinData = ASkinData;
    Log("attach-window");
  }
  void Detach() override { Log("detach"); }
  void Unskin() override { Log("unskin"); }
  void ReleaseSkinObjects() override { Log("release"); }
  void LoadSkinObjects() override { Log("load"); }
  void Reapply() override { Log("reapply"); }
  void MapSizeGrip(HWND Grip) override { SkinCalls().push_back({"size-grip", Grip, nullptr}); }
  bool IsMDIChild() const override { return mdiChild; }
  void MDIMaximizedChanged(bool Maximized) override { Log(Maximized ? "mdi-maximized" : "mdi-normal"); }
  bool FrameChangesWithSkin() const override { return frameChanges; }
  bool frameChanges = false;

 private:
  void Log(const char* what) { SkinCalls().push_back({what, Window, nullptr}); }
};

class TRecordingPopMenu : public TWinSkinPopMenuBase {
  VCL_CLASS(TRecordingPopMenu, TWinSkinPopMenuBase)
 public:
  TRecordingPopMenu() = default;
  void Attach(HWND AWindow, TSkinData*, bool First) override {
    SkinCalls().push_back({First ? "popup-first" : "popup", AWindow, nullptr});
  }
  void Detach() override { SkinCalls().push_back({"popup-detach", Window, nullptr}); }
};

// Every test starts without a manager and with the recording skinning; it leaves none.
class SkinManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeSkinManager();
    SkinCalls().clear();
    ShownBoxes().clear();
    previous_ = SetFormSkinning({[](vcl::TComponent* owner) -> TWinSkinFormBase* { return new TRecordingSkinForm(owner); },
                                 [] { return std::unique_ptr<TWinSkinPopMenuBase>(new TRecordingPopMenu); }});
  }
  void TearDown() override {
    FreeSkinManager();
    SetFormSkinning(previous_);
  }

 private:
  TFormSkinning previous_;
};

}  // namespace winskin::test
