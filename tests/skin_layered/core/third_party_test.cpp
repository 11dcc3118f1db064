// The class-name lists of the window adapters: their defaults, load with and without reset,
// write-back, and the published lists in a form description.
#include "classlib/streaming/Filer.h"
#include "core_win_support.h"
#include "skin_layered/core/ThirdPartyList.h"

namespace skin_layered::test {

// A component publishing the lists as the skin manager does and loading them in Loaded.
class TThirdPartyHolder : public vcl::TComponent {
  VCL_CLASS(TThirdPartyHolder, vcl::TComponent)
 public:
  explicit TThirdPartyHolder(vcl::TComponent* AOwner) : TComponent(AOwner) { lists.Load(published_, false); }

  ThirdPartyList* ThirdParty() const { return const_cast<ThirdPartyList*>(&published_); }
  void SetThirdParty(ThirdPartyList* Value) { published_.Assign(Value); }
  void Loaded() override {
    TComponent::Loaded();
    lists.Load(published_, false);
  }

  TqvClassNameLists lists;

 private:
  ThirdPartyList published_;
};

VCL_CLASS_INFO(TThirdPartyHolder) {
  p.Object<&TThirdPartyHolder::ThirdParty, &TThirdPartyHolder::SetThirdParty>(L"ThirdParty",
                                                                             ThirdPartyList::StaticClass());
}

namespace {

using enum TqvAdapterKind;

std::vector<vcl::String> Lines(const vcl::TStringList* list) {
  std::vector<vcl::String> lines;
  for (int i = 0; i < list->Count(); ++i) lines.push_back(list->Strings(i));
  return lines;
}

TEST(ClassNameLists, LoadTakesTheDefaultsOfEmptyLists) {
  ThirdPartyList published;
  published.SetKindList(Button, L"TMyButton\r\nTButton");
  TqvClassNameLists lists;
  lists.Load(published, false);
  EXPECT_EQ(Lines(lists.List(Button)), (std::vector<vcl::String>{L"TMyButton", L"TButton"}));
  EXPECT_EQ(Lines(lists.List(CheckBox)), (std::vector<vcl::String>{L"TCheckBox", L"TRadioButton", L"TGroupButton"}));
  // A list whose default is a blank holds one blank line, which names no class.
  for (TqvAdapterKind kind : {WWEdit, GridEh, VirtualTree, NativePaint}) {
    EXPECT_EQ(Lines(lists.List(kind)), (std::vector<vcl::String>{L" "}));
    EXPECT_EQ(lists.List(kind)->IndexOf(L"TEdit"), -1);
  }
  EXPECT_EQ(published.List(Edit), kAdapterKinds[0].Defaults);

  // With reset every list, set or not, goes back to its default.
  lists.Load(published, true);
  EXPECT_EQ(Lines(lists.List(Button)), (std::vector<vcl::String>{L"TButton"}));
  EXPECT_EQ(published.List(Button), L"TButton");
}

TEST(ClassNameLists, RunTimeListsAreWrittenBack) {
  ThirdPartyList published;
  TqvClassNameLists lists;
  lists.Load(published, false);
  lists.List(Panel)->Add(L"TMyPanel");
  lists.List(ToolBar)->Clear();
  lists.WriteBack(published);
  EXPECT_EQ(published.List(Panel), L"TPanel\r\nTMyPanel\r\n");
  EXPECT_EQ(published.List(ToolBar), L"");
  EXPECT_EQ(published.List(Edit).substr(0, 12), L"TEdit\r\nTMemo");
}

TEST(ClassNameLists, ReadFromAFormDescription) {
  TThirdPartyHolder::StaticClass();
  // A stored empty list comes back as its default; a stored one as it stands.
  TThirdPartyHolder holder(nullptr);
  vcl::ReadComponentText(&holder,
                         "object sSkinManager1: TThirdPartyHolder\n"
                         "  ThirdParty.ThirdEdits = ''\n"
                         "  ThirdParty.ThirdGrids = 'TMyGrid'#13#10'TStringGrid'\n"
                         "end\n",
                         L"holder");
  EXPECT_EQ(Lines(holder.lists.List(Edit)).size(), 9u);
  EXPECT_EQ(Lines(holder.lists.List(Grid)), (std::vector<vcl::String>{L"TMyGrid", L"TStringGrid"}));

  const std::string written = vcl::WriteComponentText(&holder);
  EXPECT_NE(written.find("ThirdParty.ThirdGrids = 'TMyGrid'#13#10'TStringGrid'"), std::string::npos) << written;
  EXPECT_NE(written.find("ThirdParty.ThirdButtons = 'TButton'"), std::string::npos) << written;
}

}  // namespace
}  // namespace skin_layered::test
