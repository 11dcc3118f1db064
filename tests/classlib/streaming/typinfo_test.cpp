// Published properties by name: kinds, identifiers, defaults, inheritance and misuse.
#include <gtest/gtest.h>

#include "streaming_components.h"

namespace vcl::test {
namespace {

TEST(TypInfo, KindsOfEveryPublishedProperty) {
  TTestForm form(nullptr);
  const std::pair<const wchar_t*, TPropKind> expected[] = {
      {L"Caption", TPropKind::pkString},       {L"Left", TPropKind::pkInteger},
      {L"Visible", TPropKind::pkBoolean},      {L"Alignment", TPropKind::pkEnumeration},
      {L"Color", TPropKind::pkColor},          {L"Ratio", TPropKind::pkFloat},
      {L"Font", TPropKind::pkPersistent},      {L"Lines", TPropKind::pkStrings},
      {L"Items", TPropKind::pkCollection},     {L"PopupMenu", TPropKind::pkComponent},
      {L"OnClick", TPropKind::pkEvent},        {L"Tag", TPropKind::pkInteger},
  };
  for (const auto& [name, kind] : expected) {
    const TPropInfo* p = GetPropInfo(&form, name);
    ASSERT_NE(p, nullptr) << WideToUtf8(name);
    EXPECT_EQ(PropKind(*p), kind) << WideToUtf8(name);
  }
  EXPECT_EQ(PropKind(*GetPropInfo(form.Font(), L"Style")), TPropKind::pkSet);
  EXPECT_TRUE(PropIsType(&form, L"visible", TTypeKind::tkEnumeration));
  EXPECT_EQ(PropType(&form, L"Font"), TTypeKind::tkClass);
  EXPECT_TRUE(IsPublishedProp(&form, L"POPUPMENU"));
  EXPECT_FALSE(IsPublishedProp(&form, L"Popup"));
  EXPECT_EQ(GetPropInfo(&form, L"Popup"), nullptr);
  EXPECT_EQ(GetPropInfo(static_cast<const TObject*>(nullptr), L"Caption"), nullptr);
  EXPECT_THROW(PropType(&form, L"Popup"), EPropertyError);
}

TEST(TypInfo, EnumerationsAndBooleansByIdentifier) {
  TTestControl c(nullptr);
  EXPECT_EQ(GetEnumProp(&c, L"Alignment"), L"taLeftJustify");
  SetEnumProp(&c, L"alignment", L"TACENTER");
  EXPECT_EQ(c.alignment, TTestAlign::taCenter);
  EXPECT_EQ(GetEnumProp(&c, L"Alignment"), L"taCenter");
  EXPECT_EQ(GetOrdProp(&c, L"Alignment"), 2);

  EXPECT_EQ(GetEnumProp(&c, L"Visible"), L"True");
  SetEnumProp(&c, L"Visible", L"false");
  EXPECT_FALSE(c.visible);
  SetOrdProp(&c, L"Visible", 1);
  EXPECT_TRUE(c.visible);

  EXPECT_EQ(MessageOf<EPropertyConvertError>([&] { SetEnumProp(&c, L"Alignment", L"taMiddle"); }), L"Invalid property element: taMiddle");
  EXPECT_EQ(c.alignment, TTestAlign::taCenter);
  EXPECT_EQ(GetEnumName(TestAlignInfo(), 7), L"");
  EXPECT_EQ(GetEnumName(TestAlignInfo(), -1), L"");
  EXPECT_EQ(GetEnumValue(TestAlignInfo(), L" taRightJustify "), 1);
  EXPECT_EQ(GetEnumValue(BooleanTypeInfo(), L"maybe"), -1);
}

TEST(TypInfo, SetsAsTextWithAndWithoutBrackets) {
  TTestFont font;
  EXPECT_EQ(GetSetProp(&font, L"Style"), L"");
  EXPECT_EQ(GetSetProp(&font, L"Style", true), L"[]");
  SetSetProp(&font, L"Style", L"[fsBold, FSUNDERLINE]");
  EXPECT_EQ(font.style, (TTestFontStyles{TTestFontStyle::fsBold, TTestFontStyle::fsUnderline}));
  EXPECT_EQ(GetSetProp(&font, L"Style"), L"fsBold,fsUnderline");
  EXPECT_EQ(GetSetProp(&font, L"Style", true), L"[fsBold,fsUnderline]");
  SetSetProp(&font, L"Style", L"fsItalic,,fsStrikeOut");
  EXPECT_EQ(font.style, (TTestFontStyles{TTestFontStyle::fsItalic, TTestFontStyle::fsStrikeOut}));
  SetSetProp(&font, L"Style", L"");
  EXPECT_TRUE(font.style.Empty());
  EXPECT_THROW(SetSetProp(&font, L"Style", L"[fsBold,fsHeavy]"), EPropertyConvertError);
  EXPECT_THROW(SetSetProp(&font, L"Style", L"[fsBold"), EPropertyConvertError);
  EXPECT_TRUE(font.style.Empty());
  // Bits beyond the element type's identifiers are not named.
  EXPECT_EQ(SetToString(TestFontStyleInfo(), 0x101, true), L"[fsBold]");
}

TEST(TypInfo, StringsFloatsObjectsAndMethods) {
  TTestForm form(nullptr);
  SetStrProp(&form, L"Caption", L"\u5929\u732B");
  EXPECT_EQ(GetStrProp(&form, L"caption"), L"\u5929\u732B");
  SetFloatProp(&form, L"Ratio", 2.5);
  EXPECT_EQ(GetFloatProp(&form, L"Ratio"), 2.5);

  EXPECT_EQ(GetObjectProp(&form, L"Font"), form.Font());
  EXPECT_EQ(GetObjectProp(&form, L"Font", &TComponent::StaticClass()), nullptr);
  EXPECT_EQ(GetObjectProp(&form, L"Font", &TPersistent::StaticClass()), form.Font());
  TTestMenu menu(nullptr);
  SetObjectProp(&form, L"PopupMenu", &menu);
  EXPECT_EQ(form.PopupMenu(), &menu);
  TTestControl notMenu(nullptr);
  EXPECT_THROW(SetObjectProp(&form, L"PopupMenu", &notMenu), EPropertyError);
  SetObjectProp(&form, L"PopupMenu", nullptr);
  EXPECT_EQ(form.PopupMenu(), nullptr);

  const TMethod click = TNotifyEvent::Bind<&TTestForm::btn2Click>(&form).Raw();
  SetMethodProp(&form, L"OnClick", click);
  EXPECT_EQ(GetMethodProp(&form, L"OnClick"), click);
  form.OnClick(&form);
  EXPECT_EQ(form.clicks, 1);
  // A handler of another signature is refused, not silently dropped.
  const TMethod resize = Event<void(TObject*, int)>::Bind<&TTestForm::FormResize>(&form).Raw();
  EXPECT_THROW(SetMethodProp(&form, L"OnClick", resize), EPropertyError);
  EXPECT_EQ(form.OnClick, TNotifyEvent::FromRaw(click));
  SetMethodProp(&form, L"OnClick", TMethod{});
  EXPECT_FALSE(form.OnClick);
}

TEST(TypInfo, WrongKindReadOnlyAndUnknownProperties) {
  TTestControl c(nullptr);
  EXPECT_EQ(MessageOf<EPropertyError>([&] { GetStrProp(&c, L"Width"); }), L"Invalid property type: Width");
  EXPECT_THROW(GetOrdProp(&c, L"Caption"), EPropertyError);
  EXPECT_THROW(SetFloatProp(&c, L"Left", 1), EPropertyError);
  EXPECT_THROW(GetEnumProp(&c, L"Width"), EPropertyError);  // an integer has no identifiers
  EXPECT_THROW(GetSetProp(&c, L"Alignment"), EPropertyError);
  EXPECT_EQ(GetOrdProp(&c, L"ReadOnlyValue"), 7);
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetOrdProp(&c, L"ReadOnlyValue", 1); }), L"Property ReadOnlyValue is read-only");
  EXPECT_EQ(MessageOf<EPropertyError>([&] { SetOrdProp(&c, L"Height", 1); }), L"Property Height does not exist");
}

TEST(TypInfo, DefaultsInheritanceAndStoring) {
  TTestControl c(nullptr);
  TTestForm f(nullptr);
  EXPECT_EQ(GetPropInfo(&c, L"Width")->Default, 10);
  EXPECT_EQ(GetPropInfo(&f, L"Width")->Default, 100);  // redeclared by the derived class
  EXPECT_TRUE(IsDefaultPropValue(&c, *GetPropInfo(&c, L"Width")));
  EXPECT_FALSE(IsDefaultPropValue(&f, *GetPropInfo(&f, L"Width")));  // 10 is not the form's default
  f.SetWidth(100);
  EXPECT_TRUE(IsDefaultPropValue(&f, *GetPropInfo(&f, L"Width")));
  // An ordinal property without a default is always stored.
  EXPECT_FALSE(IsDefaultPropValue(&c, *GetPropInfo(&c, L"Left")));
  EXPECT_TRUE(IsDefaultPropValue(&c, *GetPropInfo(&c, L"Caption")));
  c.SetCaption(L"x");
  EXPECT_FALSE(IsDefaultPropValue(&c, *GetPropInfo(&c, L"Caption")));
  EXPECT_TRUE(IsStoredProp(&c, *GetPropInfo(&c, L"Caption")));

  // The list has the ancestors' properties first and each name once.
  const auto list = GetPropList(&f);
  ASSERT_GE(list.size(), 3u);
  EXPECT_EQ(list[0]->Name, L"Name");
  EXPECT_EQ(list[1]->Name, L"Tag");
  EXPECT_EQ(std::count_if(list.begin(), list.end(), [](auto* p) { return p->Name == L"Width"; }), 1);
  EXPECT_EQ(GetPropList(nullptr).size(), 0u);
}

TEST(TypInfo, PublishedMethodsAreFoundByNameAndBindToTheInstance) {
  TTestForm f(nullptr);
  const TMethodInfo* m = f.ClassType().FindMethod(L"BTN2CLICK");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->Bind(&f), TNotifyEvent::Bind<&TTestForm::btn2Click>(&f).Raw());
  EXPECT_EQ(TTestControl::StaticClass().FindMethod(L"btn2Click"), nullptr);
}

}  // namespace
}  // namespace vcl::test
