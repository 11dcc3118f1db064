// Form streaming: a description with every kind of value becomes the right objects, writes
// back to the same text, and every malformed description fails with its source and line,
// leaving nothing half-built.
#include <gtest/gtest.h>

#include "streaming_components.h"

namespace vcl::test {
namespace {

// Forward references on purpose: pm1 and btn2 are named before they are read.
constexpr std::string_view kForm = R"(object frmTest: TTestForm
  Caption = 'Scrivane V2.0 [ '#22825#29483'/'#$6DD8#23453 +
    ' ] It''s'
  Left = -12
  Width = 1424
  Big = 81985529216486895
  Color = clRed
  Tag = $FF00FF
  Ratio = 1.25
  Alignment = taCenter
  Visible = False
  Font.Name = '宋体'
  Font.Size = -11
  Font.Style = [fsBold, fsUnderline]
  Lines.Strings = (
    'first'
    '第二'
    ''
    'long ' +
      'line')
  SkinStream = {
    03000000 0A0B0C}
  Extra = (1 -2 $10)
  Items = <
    item
      Caption = 'one'
      Target = btn2
      Data = {0200000001FF}
    end
    item
      Width = 0
    end>
  PopupMenu = pm1
  OnClick = btn2Click
  object pnl1: TTestControl
    Left = $FFFFFFFF
    Width = 142
    Ratio = 2.5e-3
    object btn2: TTestControl
      Caption = 'OK'
      OnClick = btn2Click
      PopupMenu = pm1
    end
  end
  object pm1: TTestMenu
    Tag = 3
    Left = 24
    Top = 16
  end
end
)";

class Streaming : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    LoadedLog().clear();
  }
};

TEST_F(Streaming, EveryKindOfValueReachesTheRightObject) {
  TTestForm form(nullptr);
  ReadComponentText(&form, kForm, L"frmTest.dfm");

  EXPECT_EQ(form.Name(), L"frmTest");
  EXPECT_EQ(form.Caption(), L"Scrivane V2.0 [ \u5929\u732B/\u6DD8\u5B9D ] It's");
  EXPECT_EQ(form.left, -12);
  EXPECT_EQ(form.Width(), 1424);
  EXPECT_EQ(form.big, 0x123456789ABCDEF);
  EXPECT_EQ(form.color, 0xFF);
  EXPECT_EQ(form.Tag(), 0xFF00FF);
  EXPECT_EQ(form.ratio, 1.25);
  EXPECT_EQ(form.alignment, TTestAlign::taCenter);
  EXPECT_FALSE(form.visible);
  EXPECT_EQ(form.Font()->name, L"\u5B8B\u4F53");
  EXPECT_EQ(form.Font()->size, -11);
  EXPECT_EQ(form.Font()->style, (TTestFontStyles{TTestFontStyle::fsBold, TTestFontStyle::fsUnderline}));
  ASSERT_EQ(form.Lines()->Count(), 4);
  EXPECT_EQ(form.Lines()->Strings(1), L"\u7B2C\u4E8C");
  EXPECT_EQ(form.Lines()->Strings(2), L"");
  EXPECT_EQ(form.Lines()->Strings(3), L"long line");
  EXPECT_EQ(form.skin, (std::vector<uint8_t>{0x0A, 0x0B, 0x0C}));
  EXPECT_EQ(form.extra, (std::vector<int64_t>{1, -2, 16}));

  // Children are owned by the root and parented by the enclosing object.
  ASSERT_EQ(form.ComponentCount(), 3);
  auto* pnl1 = dynamic_cast<TTestControl*>(form.FindComponent(L"pnl1"));
  auto* btn2 = dynamic_cast<TTestControl*>(form.FindComponent(L"btn2"));
  auto* pm1 = dynamic_cast<TTestMenu*>(form.FindComponent(L"pm1"));
  ASSERT_TRUE(pnl1 && btn2 && pm1);
  EXPECT_EQ(btn2->Owner(), &form);
  EXPECT_EQ(pnl1->GetParentComponent(), &form);
  EXPECT_EQ(btn2->GetParentComponent(), pnl1);
  EXPECT_EQ(pnl1->left, -1);  // $FFFFFFFF is the 32-bit -1
  EXPECT_EQ(pnl1->ratio, 2.5e-3);
  EXPECT_EQ(pnl1->Caption(), L"");
  EXPECT_EQ(pm1->Tag(), 3);
  EXPECT_EQ(pm1->DesignInfo(), 24 | 16 << 16);  // where the designer placed it
  EXPECT_EQ(pnl1->DesignInfo(), 0);             // a control's Left is its own

  // Collection items, with a reference and binary data of their own.
  ASSERT_EQ(form.ItemList()->Count(), 2);
  EXPECT_EQ(form.ItemList()->Item(0)->caption, L"one");
  EXPECT_EQ(form.ItemList()->Item(0)->target, btn2);
  EXPECT_EQ(form.ItemList()->Item(0)->data, (std::vector<uint8_t>{0x01, 0xFF}));
  EXPECT_EQ(form.ItemList()->Item(1)->width, 0);
  EXPECT_EQ(form.ItemList()->Item(1)->data.size(), 0u);

  // References and handlers resolved after the whole form was read.
  EXPECT_EQ(form.PopupMenu(), pm1);
  EXPECT_EQ(btn2->PopupMenu(), pm1);
  ASSERT_TRUE(btn2->OnClick);
  EXPECT_EQ(btn2->OnClick, TNotifyEvent::Bind<&TTestForm::btn2Click>(&form));
  btn2->OnClick(btn2);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_EQ(form.last_sender, btn2);
  EXPECT_EQ(form.OnClick, btn2->OnClick);
}

TEST_F(Streaming, LoadingFlagsAndLoadedOrder) {
  TTestForm form(nullptr);
  ReadComponentText(&form, kForm, L"frmTest.dfm");
  auto* btn2 = dynamic_cast<TTestControl*>(form.FindComponent(L"btn2"));
  ASSERT_NE(btn2, nullptr);
  EXPECT_TRUE(btn2->caption_set_while_reading);
  // Loaded runs once per component in creation order, with csLoading still set and
  // csReading over; afterwards neither is left.
  const auto& log = LoadedLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0].name, L"frmTest");
  EXPECT_EQ(log[1].name, L"pnl1");
  EXPECT_EQ(log[2].name, L"btn2");
  for (const auto& r : log) {
    EXPECT_TRUE(r.loading) << WideToUtf8(r.name);
    EXPECT_FALSE(r.reading) << WideToUtf8(r.name);
  }
  for (int i = 0; i < form.ComponentCount(); ++i) {
    EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csLoading));
    EXPECT_FALSE(form.Components(i)->ComponentState().Contains(csReading));
  }
  EXPECT_FALSE(form.ComponentState().Contains(csLoading));
}

TEST_F(Streaming, WrittenDescriptionReadsBackToTheSameText) {
  TTestForm form(nullptr);
  ReadComponentText(&form, kForm, L"frmTest.dfm");
  const std::string written = WriteComponentText(&form);

  for (const char* expected : {
           "object frmTest: TTestForm\n",
           "  Caption = 'Scrivane V2.0 [ '#22825#29483'/'#28120#23453' ] It''s'\n",
           "  Color = clRed\n",
           "  Font.Name = #23435#20307\n",
           "  Font.Style = [fsBold, fsUnderline]\n",
           "  Lines.Strings = (\n    'first'\n    #31532#20108\n    ''\n    'long line')\n",
           "  SkinStream = {\n    030000000A0B0C}\n",
           "  Extra = (\n    1\n    -2\n    16)\n",
           "      Target = btn2\n      Data = {\n        0200000001FF}\n    end\n    item\n      Width = 0\n    end>\n",
           "  PopupMenu = pm1\n  OnClick = btn2Click\n",
           "  object pnl1: TTestControl\n    Left = -1\n    Width = 142\n",
           "  object pm1: TTestMenu\n    Tag = 3\n    Left = 24\n    Top = 16\n  end\nend\n",
       })
    EXPECT_NE(written.find(expected), std::string::npos) << expected << "\n--- in ---\n" << written;
  // Defaults are not written: the button's Width, Visible, Alignment and Color.
  const size_t btn = written.find("object btn2");
  ASSERT_NE(btn, std::string::npos);
  EXPECT_EQ(written.find("Visible", btn), std::string::npos);
  EXPECT_EQ(written.find("Width", btn), std::string::npos);

  TTestForm again(nullptr);
  ReadComponentText(&again, written, L"written");
  EXPECT_EQ(WriteComponentText(&again), written);
  EXPECT_EQ(again.Caption(), form.Caption());
  EXPECT_EQ(again.big, form.big);
  EXPECT_EQ(again.Font()->name, form.Font()->name);
  EXPECT_EQ(again.ItemList()->Item(0)->target, again.FindComponent(L"btn2"));
}

TEST_F(Streaming, DesignPositionOfAComponentThatIsNoControlIsReadAndWrittenAsLeftAndTop) {
  TTestForm form(nullptr);
  ReadComponentText(&form, "object f: TTestForm\n  object m: TTestMenu\n    Top = 65535\n  end\nend", L"words");
  auto* m = dynamic_cast<TTestMenu*>(form.FindComponent(L"m"));
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(static_cast<uint32_t>(m->DesignInfo()), 0xFFFF0000u);  // a word each; Left stays 0

  // Written as signed words, only where not 0, and read back the same.
  m->SetDesignInfo(static_cast<int32_t>(0x0040FFF6u));
  const std::string written = WriteComponentText(&form);
  EXPECT_NE(written.find("  object m: TTestMenu\n    Left = -10\n    Top = 64\n  end\n"), std::string::npos) << written;
  TTestForm again(nullptr);
  ReadComponentText(&again, written, L"written");
  EXPECT_EQ(again.FindComponent(L"m")->DesignInfo(), m->DesignInfo());
  m->SetDesignInfo(0);
  const std::string none = WriteComponentText(&form);
  EXPECT_EQ(none.find("Left", none.find("object m")), std::string::npos) << none;
}

struct BadForm {
  const char* text;
  const wchar_t* message;
};

// Each description is read into a fresh form; the message is exact.
const BadForm kBadForms[] = {
    {"object f: TTestForm\n  object x: TNoSuchThing\n  end\nend", L"test(2): Class TNoSuchThing not found"},
    {"object f: TTestForm\n  Colour = clRed\nend", L"test(2): Error reading f.Colour: Property Colour does not exist"},
    {"object f: TTestForm\n  Width = 'wide'\nend", L"test(2): Error reading f.Width: Invalid property value"},
    {"object f: TTestForm\r\n  Width = 4294967296\r\nend", L"test(2): Error reading f.Width: Integer out of range"},
    {"object f: TTestForm\n  Alignment = taMiddle\nend",
     L"test(2): Error reading f.Alignment: Invalid property element: taMiddle"},
    {"object f: TTestForm\n  Font.Style = [fsBold, fsHeavy]\nend",
     L"test(2): Error reading f.Font.Style: Invalid property element: fsHeavy"},
    {"object f: TTestForm\n  Font.Style = fsBold\nend", L"test(2): Error reading f.Font.Style: Invalid property value"},
    {"object f: TTestForm\n  Width.Size = 1\nend",
     L"test(2): Error reading f.Width.Size: Property Width is not a nested object"},
    {"object f: TTestForm\n  object b: TTestControl\n    Width = 5\nend\n",
     L"test(5): 'end' expected: object f begun on line 1 is not closed"},
    {"object f: TTestForm\n  Caption = 'abc\nend", L"test(2): Unterminated string"},
    {"object f: TTestForm\n  Caption = 'a' + 5\nend", L"test(2): String expected after '+'"},
    {"object f: TTestForm\n  Caption = #70000\nend", L"test(2): Invalid character code"},
    {"object f: TTestForm\n  SkinStream = {0000\n", L"test(2): Unterminated binary data"},
    {"object f: TTestForm\n  SkinStream = {000}\nend", L"test(2): Odd number of hex digits in binary data"},
    {"object f: TTestForm\n  SkinStream = {00\n  0G}\nend", L"test(3): Invalid binary data"},
    {"object f: TTestForm\n  SkinStream = {10000000AABB}\nend",
     L"test(2): Error reading f.SkinStream: Invalid data length"},
    {"object f: TTestForm\n  SkinStream = 'bytes'\nend", L"test(2): Error reading f.SkinStream: Binary data expected"},
    {"object f: TTestForm\n  Lines.Strings = (\n    'a'\n    5)\nend",
     L"test(4): Error reading f.Lines.Strings: String expected"},
    {"object f: TTestForm\n  Lines.Strings = ('a'\nend", L"test(3): Unterminated list: ')' expected"},
    {"object f: TTestForm\n  Extra = (1 'x')\nend", L"test(2): Error reading f.Extra: Integer expected"},
    {"object f: TTestForm\n  Items = <\n    item\n      Colour = 1\n    end>\nend",
     L"test(4): Error reading f.Items[0].Colour: Property Colour does not exist"},
    {"object f: TTestForm\n  Items = <\n    item\n      Width = 1\n  >\nend",
     L"test(5): Property name expected"},
    {"object f: TTestForm\n  object m: TTestMenu\n    Left = 70000\n  end\nend",
     L"test(3): Error reading m.Left: Integer out of range"},
    {"object f: TTestForm\n  object m: TTestMenu\n    Top = '8'\n  end\nend",
     L"test(3): Error reading m.Top: Invalid property value"},
    {"object f: TTestForm\n  Items = <\n    item\n      Left = 1\n    end>\nend",
     L"test(4): Error reading f.Items[0].Left: Property Left does not exist"},
    {"object f: TTestForm\n  Items = (1)\nend", L"test(2): Error reading f.Items: Collection items expected"},
    {"object f: TTestForm\n  ReadOnlyValue = 3\nend",
     L"test(2): Error reading f.ReadOnlyValue: Property ReadOnlyValue is read-only"},
    {"object f: TTestForm\n  OnClick = btn9Click\nend", L"test(2): Event handler btn9Click not found in TTestForm"},
    {"object f: TTestForm\n  OnClick = FormResize\nend", L"test(2): Event handler FormResize does not fit OnClick"},
    {"object f: TTestForm\n  object b: TTestControl\n  end\n  PopupMenu = pm9\nend", L"test(4): Component pm9 not found"},
    {"object f: TTestForm\n  PopupMenu = f\nend", L"test(2): Component f is not a TTestMenu"},
    {"object f: TTestControl\nend", L"test(1): The description is of class TTestControl, not TTestForm"},
    {"object f: TTestForm\n  object b: TTestControl\n  end\n  object b: TTestControl\n  end\nend",
     L"test(4): Error reading b: A component named b already exists"},
    {"object f: TTestForm\nend\nend", L"test(3): Text after the end of the description"},
    {"object f: TTestForm\n  Width 5\nend", L"test(2): '=' expected"},
    {"object f: TTestForm\n  Width = @\nend", L"test(2): Invalid property value"},
    {"object f: TTestForm\n  Width = $\nend", L"test(2): Invalid hexadecimal number"},
    {"object f: TTestForm\n  Width = 99999999999999999999\nend", L"test(2): Number out of range"},
    {"inherited f: TTestForm\nend", L"test(1): 'object' expected"},
    {"", L"test(1): 'object' expected"},
    {"object f: TTestForm\n  object x: TTestFailingLoad\n  end\nend", L"test(2): Error loading x: cannot load"},
};

TEST_F(Streaming, MalformedDescriptionsNameSourceAndLineAndLeaveNothingBehind) {
  for (const BadForm& bad : kBadForms) {
    TTestForm form(nullptr);
    try {
      ReadComponentText(&form, bad.text, L"test");
      ADD_FAILURE() << "no error for:\n" << bad.text;
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), bad.message) << bad.text;
    }
    EXPECT_EQ(form.ComponentCount(), 0) << bad.text;
    EXPECT_FALSE(form.ComponentState().Contains(csLoading)) << bad.text;
    EXPECT_FALSE(form.ComponentState().Contains(csReading)) << bad.text;
  }
}

TEST_F(Streaming, HostileNestingFailsCleanly) {
  for (const char* open : {"(", "<item X = "}) {
    std::string text = "object f: TTestForm\n  Extra = ";
    for (int i = 0; i < 100000; ++i) text += open;
    TTestForm form(nullptr);
    try {
      ReadComponentText(&form, text, L"deep");
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Message(), L"deep(2): Description nested too deeply");
    }
  }
  std::string objects = "object f: TTestForm\n";
  for (int i = 0; i < 100000; ++i) objects += "object TTestControl\n";
  TTestForm form(nullptr);
  EXPECT_THROW(ReadComponentText(&form, objects, L"deep"), EReadError);
  EXPECT_EQ(form.ComponentCount(), 0);
}

TEST_F(Streaming, ByteOrderMarkUnnamedObjectsAndNoRoot) {
  TTestForm form(nullptr);
  ReadComponentText(&form, "\xEF\xBB\xBF" "object TTestForm\r\n  object TTestMenu\r\n  end\r\nend\r\n", L"bom");
  EXPECT_EQ(form.Name(), L"");
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0)->ClassName(), L"TTestMenu");
  EXPECT_THROW(ReadComponentText(nullptr, "object f: TTestForm\nend", L"none"), EReadError);
}

TEST_F(Streaming, FormDescriptionFromTheExecutablesResources) {
  TTestForm form(nullptr);
  ReadComponentResource(&form, L"TTESTFORM");
  EXPECT_EQ(form.Name(), L"frmResource");
  EXPECT_EQ(form.Caption(), L"\u5929\u732B/\u6DD8\u5B9D");
  auto* ok = dynamic_cast<TTestControl*>(form.FindComponent(L"btnOk"));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetParentComponent(), &form);
  ok->OnClick(ok);
  EXPECT_EQ(form.clicks, 1);

  TTestForm other(nullptr);
  EXPECT_EQ(MessageOf<EResNotFound>([&] { ReadComponentResource(&other, L"TNOSUCHFORM"); }), L"Resource TNOSUCHFORM not found");
}

}  // namespace
}  // namespace vcl::test
