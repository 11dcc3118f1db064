#include "streaming_components.h"

#include <algorithm>

#include "classlib/rtl/Streams.h"

namespace vcl::test {

const TEnumTypeInfo& TestFontStyleInfo() {
  static const TEnumTypeInfo info{L"TFontStyle", {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"}};
  return info;
}

const TEnumTypeInfo& TestAlignInfo() {
  static const TEnumTypeInfo info{L"TAlignment", {L"taLeftJustify", L"taRightJustify", L"taCenter"}};
  return info;
}

namespace {
struct ColorName {
  int64_t value;
  const wchar_t* name;
};
constexpr ColorName kColors[] = {{0, L"clBlack"}, {0xFF, L"clRed"}, {kClWindow, L"clWindow"}};
}  // namespace

const TIntegerTypeInfo& TestColorInfo() {
  static const TIntegerTypeInfo info{
      L"TColor",
      [](StringView ident, int64_t& value) {
        for (const auto& c : kColors)
          if (SameText(ident, c.name)) return value = c.value, true;
        return false;
      },
      [](int64_t value, String& ident) {
        for (const auto& c : kColors)
          if (value == c.value) return ident = c.name, true;
        return false;
      }};
  return info;
}

VCL_CLASS_INFO(TTestFont) {
  p.String<&TTestFont::name>(L"Name");
  p.Integer<&TTestFont::size>(L"Size", 8);
  p.Set<&TTestFont::style>(L"Style", TestFontStyleInfo(), 0);
  p.Integer<&TTestFont::color>(L"Color", 0, &TestColorInfo());
}

void TTestFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TTestFont*>(Source)) {
    name = f->name;
    size = f->size;
    style = f->style;
    color = f->color;
    return;
  }
  TPersistent::Assign(Source);
}

void ReadLengthPrefixed(TStream* Stream, std::vector<uint8_t>& Bytes) {
  int32_t n = 0;
  Stream->ReadBuffer(&n, 4);
  // The length is data: never trust it beyond what the stream holds.
  if (n < 0 || n > Stream->Size() - Stream->Position()) throw EReadError(L"Invalid data length");
  Bytes.resize(static_cast<size_t>(n));
  if (n > 0) Stream->ReadBuffer(Bytes.data(), n);
}

void WriteLengthPrefixed(TStream* Stream, const std::vector<uint8_t>& Bytes) {
  const auto n = static_cast<int32_t>(Bytes.size());
  Stream->WriteBuffer(&n, 4);
  if (n > 0) Stream->WriteBuffer(Bytes.data(), n);
}

VCL_CLASS_INFO(TTestItem) {
  p.String<&TTestItem::caption>(L"Caption");
  p.Integer<&TTestItem::width>(L"Width", 50);
  p.Object<&TTestItem::target>(L"Target", TComponent::StaticClass());
}

void TTestItem::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TTestItem*>(Source)) {
    caption = s->caption;
    width = s->width;
    target = s->target;
    data = s->data;
    return;
  }
  TCollectionItem::Assign(Source);
}

void TTestItem::DefineProperties(TFiler* Filer) {
  TCollectionItem::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"Data", [this](TStream* s) { ReadLengthPrefixed(s, data); }, [this](TStream* s) { WriteLengthPrefixed(s, data); },
      !data.empty());
}

VCL_CLASS_INFO(TTestItems) {}
VCL_CLASS_INFO(TTestMenu) {}

std::vector<LoadedRecord>& LoadedLog() {
  static std::vector<LoadedRecord> log;
  return log;
}

TTestControl::TTestControl(TComponent* AOwner)
    : TComponent(AOwner), items_(std::make_unique<TTestItems>(this)) {}

TTestControl::~TTestControl() {
  for (TTestControl* c : children_) c->parent_ = nullptr;
  SetParentComponent(nullptr);
}

void TTestControl::SetParentComponent(TComponent* Value) {
  if (parent_) std::erase(parent_->children_, this);
  parent_ = dynamic_cast<TTestControl*>(Value);
  if (parent_) parent_->children_.push_back(this);
}

// Controls first, then (for the root) the components without a parent, as forms list them.
void TTestControl::GetChildren(const TGetChildProc& Proc, TComponent* Root) {
  for (TTestControl* c : children_)
    if (c->Owner() == Root) Proc(c);
  TComponent::GetChildren(Proc, Root);
}

void TTestControl::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      L"SkinStream", [this](TStream* s) { ReadLengthPrefixed(s, skin); },
      [this](TStream* s) { WriteLengthPrefixed(s, skin); }, true);
  Filer->DefineProperty(
      L"Extra",
      [this](TReader* r) {
        extra.clear();
        r->ReadListBegin();
        while (!r->EndOfList()) extra.push_back(r->ReadInteger());
        r->ReadListEnd();
      },
      [this](TWriter* w) {
        w->WriteListBegin();
        for (int64_t v : extra) w->WriteInteger(v);
        w->WriteListEnd();
      },
      !extra.empty());
}

void TTestControl::Loaded() {
  LoadedLog().push_back({Name(), ComponentState().Contains(csLoading), ComponentState().Contains(csReading)});
  TComponent::Loaded();
}

void TTestControl::SetCaption(const String& v) {
  caption_ = v;
  caption_set_while_reading = ComponentState().Contains(csReading) && ComponentState().Contains(csLoading);
}

void TTestControl::SetPopupMenu(TTestMenu* v) {
  popup_ = v;
  if (v) v->FreeNotification(this);
}

void TTestControl::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == popup_) popup_ = nullptr;
}

VCL_CLASS_INFO(TTestControl) {
  p.String<&TTestControl::Caption, &TTestControl::SetCaption>(L"Caption");
  p.Integer<&TTestControl::left>(L"Left");
  p.Integer<&TTestControl::Width, &TTestControl::SetWidth>(L"Width", 10);
  p.Integer<&TTestControl::big>(L"Big", 0).Kind = TTypeKind::tkInt64;
  p.Bool<&TTestControl::visible>(L"Visible", true);
  p.Enum<&TTestControl::alignment>(L"Alignment", TestAlignInfo(), 0);
  p.Integer<&TTestControl::color>(L"Color", kClWindow, &TestColorInfo());
  p.Float<&TTestControl::ratio>(L"Ratio");
  p.Object<&TTestControl::Font, &TTestControl::SetFont>(L"Font", TTestFont::StaticClass());
  p.Object<&TTestControl::Lines, &TTestControl::SetLines>(L"Lines", TStrings::StaticClass());
  p.Object<&TTestControl::ItemList, &TTestControl::SetItemList>(L"Items", TTestItems::StaticClass());
  p.Object<&TTestControl::PopupMenu, &TTestControl::SetPopupMenu>(L"PopupMenu", TTestMenu::StaticClass());
  p.Integer<&TTestControl::ReadOnlyValue, nullptr>(L"ReadOnlyValue");
  p.Event<&TTestControl::OnClick>(L"OnClick");
  p.Event<&TTestControl::OnResize>(L"OnResize");
}

VCL_CLASS_INFO(TTestForm) {
  p.ChangeDefault(TTestControl::StaticClass(), L"Width", 100);
  VCL_METHOD(TTestForm, btn2Click);
  VCL_METHOD(TTestForm, FormResize);
}

void TTestFailingLoad::Loaded() {
  TTestControl::Loaded();
  throw EInvalidOperation(L"cannot load");
}
VCL_CLASS_INFO(TTestFailingLoad) {}

void RegisterTestClasses() {
  for (const TClassInfo* c : {&TTestControl::StaticClass(), &TTestForm::StaticClass(), &TTestMenu::StaticClass(),
                              &TTestFailingLoad::StaticClass(), &TTestItem::StaticClass()})
    RegisterClass(*c);
}

}  // namespace vcl::test
