// The form-description parser and the writer's spelling of values, natively: the tree a
// description gives, every kind of value, and the located errors of broken descriptions.
#include <gtest/gtest.h>

#include <string>

#include "classlib/streaming/FormText.h"

namespace vcl::filer {
namespace {

String ErrorOf(std::string_view text) {
  try {
    ParseFormText(text, L"form.dfm");
  } catch (const EFormError& e) {
    return e.Message();
  }
  return L"no error";
}

const Value& Only(const ObjectNode& node) { return node.props.at(0).value; }

ObjectNode One(const std::string& value) { return ParseFormText("object A: TA\n  X = " + value + "\nend\n", L"v"); }

TEST(FormText, ParsesObjectsPropertiesAndChildrenWithTheirLines) {
  const ObjectNode root = ParseFormText(
      "\xEF\xBB\xBF"
      "object Main: TMainForm\n"
      "  Left = 10\n"
      "  Font.Style = [fsBold, fsItalic]\n"
      "  object Panel1: TPanel\n"
      "    Caption = 'Hi'\n"
      "    object TLabel\n"
      "    end\n"
      "  end\n"
      "END\n",
      L"main.dfm");
  EXPECT_EQ(root.name, L"Main");
  EXPECT_EQ(root.className, L"TMainForm");
  ASSERT_EQ(root.props.size(), 2u);
  EXPECT_EQ(root.props[0].name, L"Left");
  EXPECT_EQ(root.props[0].value.integer, 10);
  EXPECT_EQ(root.props[1].name, L"Font.Style");
  EXPECT_EQ(root.props[1].line, 3);
  EXPECT_EQ(root.props[1].value.names, (std::vector<String>{L"fsBold", L"fsItalic"}));
  ASSERT_EQ(root.children.size(), 1u);
  const ObjectNode& panel = root.children[0];
  EXPECT_EQ(panel.line, 4);
  EXPECT_EQ(Only(panel).text, L"Hi");
  ASSERT_EQ(panel.children.size(), 1u);
  EXPECT_EQ(panel.children[0].name, L"");  // a class without a name
  EXPECT_EQ(panel.children[0].className, L"TLabel");
}

TEST(FormText, EveryKindOfValue) {
  EXPECT_EQ(Only(One("-12")).integer, -12);
  EXPECT_EQ(Only(One("$FF00FF")).integer, 0xFF00FF);
  EXPECT_EQ(Only(One("-$10")).integer, -16);
  EXPECT_EQ(Only(One("$FFFFFFFFFFFFFFFF")).integer, -1);  // sixteen digits fill 64 bits
  EXPECT_EQ(Only(One("9223372036854775807")).integer, INT64_MAX);
  EXPECT_EQ(Only(One("1.5")).kind, Kind::Float);
  EXPECT_EQ(Only(One("-2.5e-3")).real, -2.5e-3);
  EXPECT_EQ(Only(One("3E2")).real, 300.0);
  EXPECT_EQ(Only(One("clWindow")).kind, Kind::Ident);
  EXPECT_EQ(Only(One("[]")).names.size(), 0u);

  // Strings: doubled quotes, decimal and hex codes, parts joined with and without '+'.
  EXPECT_EQ(Only(One("'It''s'")).text, L"It's");
  EXPECT_EQ(Only(One("'a'#13#10'b'")).text, L"a\r\nb");
  EXPECT_EQ(Only(One("#$4E2D#25991")).text, L"\u4E2D\u6587");
  EXPECT_EQ(Only(One("'one' +\n 'two' + #33")).text, L"onetwo!");
  EXPECT_EQ(Only(One("'\xE4\xB8\xAD'")).text, L"\u4E2D");  // quoted text is UTF-8

  const Value list = Only(One("(\n 1 'two' three (4))"));
  ASSERT_EQ(list.kind, Kind::List);
  ASSERT_EQ(list.list.size(), 4u);
  EXPECT_EQ(list.list[1].text, L"two");
  EXPECT_EQ(list.list[3].list.at(0).integer, 4);

  const Value binary = Only(One("{\n 0A ff\n 10}"));
  EXPECT_EQ(binary.kind, Kind::Binary);
  EXPECT_EQ(binary.bytes, (std::vector<uint8_t>{0x0A, 0xFF, 0x10}));

  const Value items = Only(One("<\n item\n Width = 50\n Caption = 'A'\n end\n item\n end>"));
  ASSERT_EQ(items.kind, Kind::Collection);
  ASSERT_EQ(items.items.size(), 2u);
  EXPECT_EQ(items.items[0].size(), 2u);
  EXPECT_EQ(items.items[0][1].value.text, L"A");
  EXPECT_TRUE(items.items[1].empty());
}

TEST(FormText, BrokenDescriptionsNameTheirSourceAndLine) {
  EXPECT_EQ(ErrorOf(""), L"form.dfm(1): 'object' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n  X = 1\n"), L"form.dfm(3): 'end' expected: object A begun on line 1 is not closed");
  EXPECT_EQ(ErrorOf("object A: TA\nend\nobject"), L"form.dfm(3): Text after the end of the description");
  EXPECT_EQ(ErrorOf("object A:\n 5\nend"), L"form.dfm(2): Class name expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X 1\nend"), L"form.dfm(2): '=' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X =\n"), L"form.dfm(3): Value expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X = 'open\nend"), L"form.dfm(2): Unterminated string");
  EXPECT_EQ(ErrorOf("object A: TA\n X = #70000\nend"), L"form.dfm(2): Invalid character code");
  EXPECT_EQ(ErrorOf("object A: TA\n X = 'a' + 1\nend"), L"form.dfm(2): String expected after '+'");
  EXPECT_EQ(ErrorOf("object A: TA\n X = 99999999999999999999\nend"), L"form.dfm(2): Number out of range");
  EXPECT_EQ(ErrorOf("object A: TA\n X = 1e999\nend"), L"form.dfm(2): Number out of range");
  EXPECT_EQ(ErrorOf("object A: TA\n X = $\nend"), L"form.dfm(2): Invalid hexadecimal number");
  EXPECT_EQ(ErrorOf("object A: TA\n X = [a b]\nend"), L"form.dfm(2): ',' or ']' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X = (1 2\n"), L"form.dfm(3): Unterminated list: ')' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X = {0A\n 1G}\nend"), L"form.dfm(3): Invalid binary data");
  EXPECT_EQ(ErrorOf("object A: TA\n X = {ABC}\nend"), L"form.dfm(2): Odd number of hex digits in binary data");
  EXPECT_EQ(ErrorOf("object A: TA\n X = {AB"), L"form.dfm(2): Unterminated binary data");
  EXPECT_EQ(ErrorOf("object A: TA\n X = <thing>\nend"), L"form.dfm(2): 'item' or '>' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X = < item\n"), L"form.dfm(3): Unterminated collection item: 'end' expected");
  EXPECT_EQ(ErrorOf("object A: TA\n X = ;\nend"), L"form.dfm(2): Invalid property value");
}

TEST(FormText, NestingIsBounded) {
  std::string deep;
  for (int i = 0; i < 150; ++i) deep += "object T\n";
  for (int i = 0; i < 150; ++i) deep += "end\n";
  EXPECT_EQ(ErrorOf(deep), L"form.dfm(102): Description nested too deeply");
  std::string lists = "object A: TA\n X = " + std::string(5000, '(') + "\nend";
  EXPECT_NE(ErrorOf(lists).find(L"Description nested too deeply"), String::npos);
  std::string fine;
  for (int i = 0; i < 50; ++i) fine += "object T\n";
  for (int i = 0; i < 50; ++i) fine += "end\n";
  EXPECT_EQ(ErrorOf(fine), L"no error");
}

TEST(FormText, WrittenValuesReadBackUnchanged) {
  for (const String& s : {String(L""), String(L"plain"), String(L"It's"), String(L"a\r\nb\t"), String(L"\u4E2D\u6587 mixed")}) {
    const std::string spelled = QuoteString(s);
    EXPECT_EQ(spelled.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(Only(One(spelled)).text, s) << spelled;
  }
  EXPECT_EQ(QuoteString(L"a\rb"), "'a'#13'b'");
  for (double d : {0.0, 1.0, -2.5, 0.1, 1e300, 123456789012345678.0, 5e-324}) {
    const std::string spelled = FormatFloat(d);
    const Value v = Only(One(spelled));
    EXPECT_EQ(v.kind, Kind::Float) << spelled;
    EXPECT_EQ(v.real, d) << spelled;
  }
  EXPECT_EQ(FormatFloat(2.0), "2.0");
}

}  // namespace
}  // namespace vcl::filer
