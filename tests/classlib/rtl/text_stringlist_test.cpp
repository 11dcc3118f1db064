// String lists: delimited text of the list fields, line text, items, names and values,
// sorting, change notification, assignment and text files.
#include <gtest/gtest.h>


#include "classlib/rtl/Component.h"
#include "classlib/rtl/StringList.h"
#include "support/message_of.h"
#include "support/win_test_support.h"

namespace vcl {
namespace {

std::vector<String> Items(const TStrings& list) {
  std::vector<String> out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
  return out;
}

// A list field as the section editors split it: "|" between items, '"' quotes, non-strict.
std::vector<String> SplitListField(const String& text) {
  TStringList list;
  list.SetDelimiter(L'|');
  list.SetQuoteChar(L'"');
  list.SetDelimitedText(text);
  return Items(list);
}

using V = std::vector<String>;

TEST(DelimitedText, DefaultListTextsOfTheEditors) {
  // Four lines each ending in "|": the line breaks after the delimiters are skipped, and the
  // final "|" gives one more, empty, item.
  const String title = L"\x62AB\x80A9\x4E2D\x8001\x5E74\x8759\x8760\x5916\x5957";
  const String titles = Trim(title + L"|\r\n" + title + L"|\r\n" + title + L"|\r\n" + title + L"|\r\n");
  EXPECT_EQ(SplitListField(titles), (V{title, title, title, title, L""}));
  EXPECT_EQ(SplitListField(Trim(L"59.00|\r\n68.00|\r\n59.00|\r\n63.00|\r\n")),
            (V{L"59.00", L"68.00", L"59.00", L"63.00", L""}));
  EXPECT_EQ(SplitListField(L"#|#|#|#"), (V{L"#", L"#", L"#", L"#"}));
}

TEST(DelimitedText, BlanksEndUnquotedItemsAndAreSkippedAroundThem) {
  // A title with a blank becomes two items, so the later ones shift by one.
  EXPECT_EQ(SplitListField(L"red shoes|blue|green"), (V{L"red", L"shoes", L"blue", L"green"}));
  EXPECT_EQ(SplitListField(L"a\tb|c"), (V{L"a", L"b", L"c"}));
  EXPECT_EQ(SplitListField(L" \r\n a  |  b"), (V{L"a", L"b"}));
  EXPECT_EQ(SplitListField(String(L"a\0b", 3)), (V{L"a", L"b"}));  // a NUL counts as a blank
  EXPECT_EQ(SplitListField(L""), V{});
  EXPECT_EQ(SplitListField(L"a||b"), (V{L"a", L"", L"b"}));
  EXPECT_EQ(SplitListField(L"|a"), (V{L"", L"a"}));
}

TEST(DelimitedText, QuotedItemsKeepBlanksAndLoseTheirQuotes) {
  EXPECT_EQ(SplitListField(L"\"red shoes\"|blue"), (V{L"red shoes", L"blue"}));
  EXPECT_EQ(SplitListField(L"\"say \"\"hi\"\"\"|x"), (V{L"say \"hi\"", L"x"}));
  EXPECT_EQ(SplitListField(L"\"a|b\"|c"), (V{L"a|b", L"c"}));
  EXPECT_EQ(SplitListField(L"\"\"|x"), (V{L"", L"x"}));
  // Text after a closing quote starts the next item; an unclosed quote takes the rest.
  EXPECT_EQ(SplitListField(L"\"ab\"cd|e"), (V{L"ab", L"cd", L"e"}));
  EXPECT_EQ(SplitListField(L"\"ab|cd"), (V{L"ab|cd"}));
}

TEST(DelimitedText, OnlyAFinalDelimiterAddsAnEmptyItem) {
  EXPECT_EQ(SplitListField(L"a|"), (V{L"a", L""}));
  EXPECT_EQ(SplitListField(L"a| "), (V{L"a"}));  // the "|" is not the last character
  EXPECT_EQ(SplitListField(L"a|\r\n"), (V{L"a"}));
  EXPECT_EQ(SplitListField(L"|"), (V{L"", L""}));
  EXPECT_EQ(SplitListField(L"\"a\"|"), (V{L"a", L""}));
}

TEST(DelimitedText, StrictDelimiterKeepsBlanks) {
  TStringList list;
  list.SetDelimiter(L'|');
  list.SetStrictDelimiter(true);
  list.SetDelimitedText(L" red shoes |blue|");
  EXPECT_EQ(Items(list), (V{L" red shoes ", L"blue", L""}));
  list.SetDelimitedText(L"\"a|b\"|c");
  EXPECT_EQ(Items(list), (V{L"a|b", L"c"}));
}

TEST(DelimitedText, WritingQuotesWhatReadingWouldSplit) {
  TStringList list;
  list.SetDelimiter(L'|');
  for (const wchar_t* s : {L"red shoes", L"blue", L"", L"say \"hi\"", L"a|b", L"tab\there"}) list.Add(s);
  const String text = list.DelimitedText();
  EXPECT_EQ(text, L"\"red shoes\"|blue||\"say \"\"hi\"\"\"|\"a|b\"|\"tab\there\"");
  TStringList back;
  back.SetDelimiter(L'|');
  back.SetDelimitedText(text);
  EXPECT_EQ(Items(back), Items(list));

  TStringList one;
  one.Add(L"");
  EXPECT_EQ(one.DelimitedText(), L"\"\"");
  one.SetDelimitedText(one.DelimitedText());
  EXPECT_EQ(Items(one), (V{L""}));
  EXPECT_EQ(TStringList().DelimitedText(), L"");
  // The default delimiter is the comma.
  TStringList comma;
  comma.SetDelimitedText(L"a, b,c");
  EXPECT_EQ(Items(comma), (V{L"a", L"b", L"c"}));
}

TEST(LineText, SplitsAtEveryKindOfLineBreak) {
  TStringList list;
  list.SetText(L"a\r\nb\nc\rd");
  EXPECT_EQ(Items(list), (V{L"a", L"b", L"c", L"d"}));
  list.SetText(L"a\n\rb");
  EXPECT_EQ(Items(list), (V{L"a", L"", L"b"}));
  list.SetText(L"\r\n\r\n");
  EXPECT_EQ(Items(list), (V{L"", L""}));
  list.SetText(L"");
  EXPECT_EQ(list.Count(), 0);
  list.SetText(L"x\ny");
  EXPECT_EQ(list.Text(), L"x\r\ny\r\n");
}

TEST(Items, IndexErrorsNameTheIndex) {
  TStringList list;
  list.SetText(L"a\nb\nc\nd\n");
  try {
    list[4];
    FAIL() << "no exception";
  } catch (const EListError& e) {  // the string list's error is a list error
    EXPECT_EQ(e.Message(), L"List index out of bounds (4)");
    EXPECT_STREQ(e.ClassName(), L"EStringListError");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(5, L"x"), EStringListError);
  list.Insert(4, L"e");  // at the end is allowed
  EXPECT_EQ(list.Count(), 5);
}

TEST(Items, ObjectsTravelWithTheirStrings) {
  TComponent a(nullptr), b(nullptr);
  TStringList list;
  list.AddObject(L"a", &a);
  list.Add(L"x");
  list.InsertObject(0, L"b", &b);
  EXPECT_EQ(list.Objects(0), &b);
  EXPECT_EQ(list.Objects(2), nullptr);
  EXPECT_EQ(list.IndexOfObject(&a), 1);
  list.Exchange(0, 1);
  EXPECT_EQ(Items(list), (V{L"a", L"b", L"x"}));
  EXPECT_EQ(list.Objects(0), &a);
  list.Move(0, 2);
  EXPECT_EQ(Items(list), (V{L"b", L"x", L"a"}));
  EXPECT_EQ(list.Objects(2), &a);
  list.SetStrings(2, L"A");
  EXPECT_EQ(list.Objects(2), &a);
  EXPECT_THROW(list.Move(0, 3), EStringListError);
  EXPECT_EQ(list.Count(), 3);  // a refused move loses nothing
}

TEST(Items, IndexOfIgnoresCaseUnlessAsked) {
  TStringList list;
  list.SetText(L"Alpha\nbeta\n\x4E2D\x6587");
  EXPECT_EQ(list.IndexOf(L"ALPHA"), 0);
  EXPECT_EQ(list.IndexOf(L"\x4E2D\x6587"), 2);
  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf(L"ALPHA"), -1);
  EXPECT_EQ(list.IndexOf(L"Alpha"), 0);
}

// Lists of class names the engines look up compare case-sensitively: a sorted list keeps
// names differing only in case apart, and finds only the exact one.
TEST(Items, ACaseSensitiveSortedListKeepsNamesThatDifferInCaseApart) {
  TStringList names;
  names.SetCaseSensitive(true);
  names.SetSorted(true);
  for (const wchar_t* s : {L"TComboBox", L"Tcombobox", L"TEdit", L"TCOMBOBOX", L"TComboBox"}) names.Add(s);
  EXPECT_EQ(names.Count(), 4);  // the exact duplicate ignored, the others kept
  for (const wchar_t* s : {L"TComboBox", L"Tcombobox", L"TCOMBOBOX", L"TEdit"}) {
    int index = -1;
    ASSERT_TRUE(names.Find(s, index)) << s;
    EXPECT_EQ(names[index], s);
    EXPECT_EQ(names.IndexOf(s), index);
  }
  int index = -1;
  EXPECT_FALSE(names.Find(L"TEDIT", index));
  EXPECT_EQ(names.IndexOf(L"tedit"), -1);
  for (int i = 1; i < names.Count(); ++i) EXPECT_LT(AnsiCompareStr(names[i - 1], names[i]), 0);

  // Without case, the names are one: found whichever is asked, and sorted together.
  names.SetCaseSensitive(false);
  EXPECT_NE(names.IndexOf(L"TEDIT"), -1);
  EXPECT_GE(names.IndexOf(L"tcombobox"), 0);
  for (int i = 1; i < names.Count(); ++i) EXPECT_LE(AnsiCompareText(names[i - 1], names[i]), 0);
  TStringList plain;
  plain.SetSorted(true);
  for (const wchar_t* s : {L"TComboBox", L"Tcombobox", L"TCOMBOBOX"}) plain.Add(s);
  EXPECT_EQ(plain.Count(), 1);
}

TEST(Items, NamesAndValues) {
  TStringList list;
  list.SetText(L"TComboboxex=combobox\nTControlBar=Panel\nplain\nkey=a=b");
  EXPECT_EQ(list.Names(0), L"TComboboxex");
  EXPECT_EQ(list.Names(2), L"");
  EXPECT_EQ(list.Values(L"tcontrolbar"), L"Panel");
  EXPECT_EQ(list.Values(L"key"), L"a=b");
  EXPECT_EQ(list.Values(L"plain"), L"");
  EXPECT_EQ(list.IndexOfName(L"KEY"), 3);
  list.SetValues(L"TControlBar", L"bar");
  EXPECT_EQ(list[1], L"TControlBar=bar");
  list.SetValues(L"new", L"1");
  EXPECT_EQ(list[4], L"new=1");
  list.SetValues(L"TComboboxex", L"");
  EXPECT_EQ(list.IndexOfName(L"TComboboxex"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(Sorting, SortedListsKeepOrderAndHandleDuplicates) {
  TStringList list;
  list.SetText(L"cherry\nApple\nbanana");
  list.SetSorted(true);
  EXPECT_EQ(Items(list), (V{L"Apple", L"banana", L"cherry"}));
  EXPECT_EQ(list.Add(L"BANANA"), 1);  // dupIgnore: the existing item
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Add(L"avocado"), 1);
  int index = -1;
  EXPECT_TRUE(list.Find(L"CHERRY", index));
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(list.Find(L"blueberry", index));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(list.IndexOf(L"apple"), 0);
  EXPECT_THROW(list.Insert(0, L"x"), EStringListError);
  EXPECT_THROW(list.SetStrings(0, L"x"), EStringListError);
  list.SetDuplicates(dupError);
  EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add(L"apple"); }), L"String list does not allow duplicates");
  list.SetDuplicates(dupAccept);
  list.Add(L"apple");
  EXPECT_EQ(list.Count(), 5);

  TStringList custom;
  custom.SetText(L"bb\na\nccc");
  custom.CustomSort([](TStringList* l, int i, int j) {
    return static_cast<int>((*l)[i].size()) - static_cast<int>((*l)[j].size());
  });
  EXPECT_EQ(Items(custom), (V{L"a", L"bb", L"ccc"}));
}

class ChangeCounter {
 public:
  int changes = 0, changings = 0;
  void Changed(TObject*) { ++changes; }
  void Changing(TObject*) { ++changings; }
};

TEST(Updates, ChangesAreAnnouncedOncePerUpdate) {
  TStringList list;
  ChangeCounter counter;
  list.OnChange = TNotifyEvent::Bind<&ChangeCounter::Changed>(&counter);
  list.OnChanging = TNotifyEvent::Bind<&ChangeCounter::Changing>(&counter);
  list.Add(L"a");
  EXPECT_EQ(counter.changes, 1);
  EXPECT_EQ(counter.changings, 1);
  list.BeginUpdate();
  list.Add(L"b");
  list.BeginUpdate();
  list.Delete(0);
  list.EndUpdate();
  EXPECT_EQ(counter.changes, 1);
  list.EndUpdate();
  EXPECT_EQ(counter.changes, 2);
  EXPECT_EQ(counter.changings, 2);
  list.SetText(L"x\ny\nz");
  EXPECT_EQ(counter.changes, 3);
  list.SetDelimitedText(L"1,2");
  EXPECT_EQ(counter.changes, 4);
  list.Clear();
  list.Clear();  // nothing to clear, nothing announced
  EXPECT_EQ(counter.changes, 5);
  list.EndUpdate();  // unbalanced: ignored
  list.Add(L"q");
  EXPECT_EQ(counter.changes, 6);
}

TEST(Assign, CopiesItemsObjectsAndDelimiters) {
  TComponent owner(nullptr);
  TStringList source;
  source.SetDelimiter(L'|');
  source.SetStrictDelimiter(true);
  source.AddObject(L"one", &owner);
  source.Add(L"two");
  TStringList dest;
  dest.Add(L"old");
  dest.Assign(&source);
  EXPECT_EQ(Items(dest), (V{L"one", L"two"}));
  EXPECT_EQ(dest.Objects(0), &owner);
  EXPECT_EQ(dest.Delimiter(), L'|');
  EXPECT_TRUE(dest.StrictDelimiter());
  EXPECT_EQ(MessageOf<EConvertError>([&] { dest.Assign(&owner); }), L"Cannot assign a TComponent to a TStringList");
}

// A list of another kind (as a memo's lines are) gets the shared behaviour from the abstract
// class through its few overrides.
class TVectorStrings : public TStrings {
  VCL_CLASS(TVectorStrings, TStrings)
 public:
  std::vector<String> items;
  int updates = 0;

  void Insert(int Index, const String& S) override {
    if (Index < 0 || Index > Count()) IndexError(Index);
    items.insert(items.begin() + Index, S);
  }
  void Delete(int Index) override {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    items.erase(items.begin() + Index);
  }
  void Clear() override { items.clear(); }

 protected:
  String Get(int Index) const override {
    if (Index < 0 || Index >= Count()) IndexError(Index);
    return items[static_cast<size_t>(Index)];
  }
  int GetCount() const override { return static_cast<int>(items.size()); }
  void SetUpdateState(bool Updating) override { updates += Updating ? 1 : 0; }
};
VCL_CLASS_INFO(TVectorStrings) {}

TEST(AbstractStrings, DescendantsInheritTheTextOperations) {
  TVectorStrings lines;
  lines.SetText(L"a=1\nb=2");
  EXPECT_EQ(lines.updates, 1);
  lines.SetValues(L"a", L"9");
  lines.Move(0, 1);
  EXPECT_EQ(lines.items, (V{L"b=2", L"a=9"}));
  lines.Exchange(0, 1);
  EXPECT_EQ(lines.Text(), L"a=9\r\nb=2\r\n");
  EXPECT_EQ(lines.IndexOf(L"B=2"), 1);
  TStringList copy;
  copy.Assign(&lines);
  EXPECT_EQ(Items(copy), lines.items);
  lines.Assign(&copy);
  EXPECT_EQ(lines.Count(), 2);
  EXPECT_EQ(lines.Objects(0), nullptr);
  EXPECT_THROW(lines.Strings(2), EStringListError);
}

TEST(TextFiles, EncodingsByteOrderMarksAndLineEnds) {
  wintest::TempDir dir;
  const String name = dir.File(L"file.html");
  TStringList list;
  list.SetText(L"<div>\n\x4EA7\x54C1\x53C2\x6570</div>");
  list.SaveToFile(name, TEncoding::UTF8);
  const std::string bytes = wintest::ReadBytes(name);
  EXPECT_EQ(bytes, "\xEF\xBB\xBF<div>\r\n\xE4\xBA\xA7\xE5\x93\x81\xE5\x8F\x82\xE6\x95\xB0</div>\r\n");
  TStringList back;
  back.LoadFromFile(name);  // the mark tells the encoding
  EXPECT_EQ(Items(back), Items(list));
  back.LoadFromFile(name, TEncoding::ANSI);  // and wins over a given one
  EXPECT_EQ(Items(back), Items(list));

  list.SaveToFile(name, TEncoding::Unicode);
  back.LoadFromFile(name);
  EXPECT_EQ(Items(back), Items(list));
  list.SaveToFile(name, TEncoding::BigEndianUnicode);
  back.LoadFromFile(name);
  EXPECT_EQ(Items(back), Items(list));

  // Without a mark the ANSI code page is the default, in both directions.
  list.SaveToFile(name);
  back.LoadFromFile(name);
  EXPECT_EQ(Items(back), Items(list));
  TMemoryStream raw;
  raw.LoadFromFile(name);
  EXPECT_EQ(raw.Size(), static_cast<int64_t>(TEncoding::ANSI->GetBytes(list.Text()).size()));

  EXPECT_THROW(back.LoadFromFile(dir.File(L"missing.txt")), EFOpenError);
  EXPECT_THROW(list.SaveToFile(dir.File(L"no\\such\\folder.txt")), EFCreateError);
}

TEST(TextFiles, StreamsAreReadFromTheirPosition) {
  TMemoryStream stream;
  const char text[] = "skip\xEF\xBB\xBFone\ntwo";
  stream.WriteBuffer(text, sizeof text - 1);
  stream.SetPosition(4);
  TStringList list;
  list.LoadFromStream(&stream);
  EXPECT_EQ(Items(list), (V{L"one", L"two"}));
  EXPECT_EQ(stream.Position(), stream.Size());
  TMemoryStream out;
  list.SaveToStream(&out, TEncoding::UTF8);
  EXPECT_EQ(out.Size(), 3 + 10);
}

}  // namespace
}  // namespace vcl
