// Object model: class information, published properties by name, events, ownership.
#include <gtest/gtest.h>

#include "classlib/rtl/Component.h"
#include "support/message_of.h"

namespace vcl {
namespace {

VCL_ENUM(TShade, shLight, shDark, shDeep)
using TShades = Set<TShade>;
// Written over lines, as long enumerations are.
VCL_ENUM(TWideList,
  wlFirst,
    wlSecond ,wlThird)

class TSample : public TComponent {
  VCL_CLASS(TSample, TComponent)
 public:
  using TComponent::TComponent;

  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  String caption;
  bool flag = true;
  TShade shade = TShade::shLight;
  TShades shades;
  TNotifyEvent OnPing;
  int pings = 0;
  void Ping(TObject*) { ++pings; }

 private:
  int width_ = 10;
};

class TDerived : public TSample {
  VCL_CLASS(TDerived, TSample)
 public:
  using TSample::TSample;
};

VCL_CLASS_INFO(TSample) {
  p.Integer<&TSample::Width, &TSample::SetWidth>(L"Width", 10);
  p.String<&TSample::caption>(L"Caption");
  p.Bool<&TSample::flag>(L"Flag", true);
  p.Enum<&TSample::shade>(L"Shade", 0);
  p.Set<&TSample::shades>(L"Shades", 0);
  p.Event<&TSample::OnPing>(L"OnPing");
}

VCL_CLASS_INFO(TDerived) { p.ChangeDefault(TSample::StaticClass(), L"Width", 25); }

TEST(ClassInfo, NamesParentsAndRegistry) {
  TDerived d(nullptr);
  EXPECT_EQ(d.ClassName(), L"TDerived");
  EXPECT_TRUE(d.InheritsFrom<TComponent>());
  EXPECT_FALSE(TSample::StaticClass().InheritsFrom(TDerived::StaticClass()));
  ASSERT_NE(FindClassInfo(L"tderived"), nullptr);
  std::unique_ptr<TObject> made(FindClassInfo(L"TDerived")->Create(nullptr));
  EXPECT_EQ(made->ClassName(), L"TDerived");
  EXPECT_THROW(GetClassInfo(L"TNoSuchClass"), EClassNotFound);
}

TEST(ClassInfo, EnumerationNamesComeFromTheIdentifiers) {
  const TEnumTypeInfo& shade = EnumTypeInfo(TShade{});
  EXPECT_EQ(shade.Name, L"TShade");
  EXPECT_EQ(shade.Names, (std::vector<StringView>{L"shLight", L"shDark", L"shDeep"}));
  EXPECT_EQ(shade.IndexOf(L"SHDEEP"), static_cast<int>(TShade::shDeep));
  EXPECT_EQ(EnumTypeInfo(TWideList{}).Names, (std::vector<StringView>{L"wlFirst", L"wlSecond", L"wlThird"}));
  // A published property of the enumeration carries its names, and so does one of its set.
  const TPropInfo* prop = TSample::StaticClass().FindProp(L"Shade");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->EnumType, &shade);
  EXPECT_EQ(TSample::StaticClass().FindProp(L"Shades")->EnumType, &shade);
}

TEST(ClassInfo, SetPropertiesTakeTheirBits) {
  TDerived d(nullptr);
  const TPropInfo* s = d.ClassType().FindProp(L"shades");
  s->SetOrd(&d, TShades{TShade::shDark, TShade::shDeep}.ToInt());
  EXPECT_TRUE(d.shades.Contains(TShade::shDeep));
  EXPECT_FALSE(d.shades.Contains(TShade::shLight));
}

TEST(Events, CompareReplaceRestoreAndAssignByName) {
  TSample a(nullptr), b(nullptr);
  auto pa = TNotifyEvent::Bind<&TSample::Ping>(&a);
  EXPECT_EQ(pa, TNotifyEvent::Bind<&TSample::Ping>(&a));
  EXPECT_FALSE(pa == TNotifyEvent::Bind<&TSample::Ping>(&b));

  const TPropInfo* ev = a.ClassType().FindProp(L"OnPing");
  ev->SetMethod(&b, pa.Raw());
  ASSERT_TRUE(b.OnPing);
  b.OnPing(&b);
  EXPECT_EQ(a.pings, 1);
  TMethod saved = ev->GetMethod(&b);
  b.OnPing = nullptr;
  EXPECT_FALSE(b.OnPing);
  ev->SetMethod(&b, saved);
  EXPECT_EQ(b.OnPing, pa);

  // A method of another signature does not bind.
  auto other = Event<void(int)>::FromFunction([](void*, int) {}, nullptr);
  ev->SetMethod(&b, other.Raw());
  EXPECT_FALSE(b.OnPing);
}

class TWatcher : public TComponent {
  VCL_CLASS(TWatcher, TComponent)
 public:
  using TComponent::TComponent;
  TComponent* watched = nullptr;
  int removals = 0;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == opRemove && c == watched) {
      watched = nullptr;
      ++removals;
    }
  }
};
VCL_CLASS_INFO(TWatcher) {}

TEST(Ownership, OwnerFreesWhatItOwnsAndNotifies) {
  auto* owner = new TComponent(nullptr);
  auto* a = new TSample(owner);
  a->SetName(L"a");
  auto* b = new TSample(owner);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent(L"A"), a);
  EXPECT_THROW(b->SetName(L"a"), EComponentError);
  EXPECT_THROW(b->SetName(L"1x"), EComponentError);

  TWatcher watcher(nullptr);
  watcher.watched = b;
  b->FreeNotification(&watcher);
  TObject::Free(b);
  EXPECT_EQ(owner->ComponentCount(), 1);
  EXPECT_EQ(watcher.watched, nullptr);
  EXPECT_EQ(watcher.removals, 1);
  EXPECT_THROW(owner->Components(1), EListError);
  TObject::Free(owner);  // frees a as well (ASan-free builds still run the destructor)
}

TEST(Persistent, AssignBetweenUnrelatedClassesFails) {
  TSample a(nullptr);
  TComponent c(nullptr);
  EXPECT_EQ(MessageOf<EConvertError>([&] { a.Assign(&c); }), L"Cannot assign a TComponent to a TSample");
  EXPECT_EQ(MessageOf<EConvertError>([&] { a.Assign(nullptr); }), L"Cannot assign a nil to a TSample");
}

}  // namespace
}  // namespace vcl
