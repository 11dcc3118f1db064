// Stored skins: streamed in a form description and written back byte for byte, the choice
// of the skin to load, unpacking, assignment and change notification.
#include "classlib/streaming/Filer.h"
#include "core_win_support.h"
#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/core/StoredSkins.h"

namespace skin_layered::test {

// A component publishing a stored-skin collection the way the skin manager does.
class TStoredSkinsHolder : public vcl::TComponent {
  VCL_CLASS(TStoredSkinsHolder, vcl::TComponent)
 public:
  explicit TStoredSkinsHolder(vcl::TComponent* AOwner)
      : TComponent(AOwner), skins_(std::make_unique<TsStoredSkins>(this)) {
    skins_->OnChange = vcl::TNotifyEvent::Bind<&TStoredSkinsHolder::SkinListChanged>(this);
  }

  TsStoredSkins* InternalSkins() const { return skins_.get(); }
  void SetInternalSkins(TsStoredSkins* Value) { skins_->Assign(Value); }

  int changes = 0;
  vcl::TObject* last_sender = nullptr;

 private:
  void SkinListChanged(vcl::TObject* Sender) {
    ++changes;
    last_sender = Sender;
  }
  std::unique_ptr<TsStoredSkins> skins_;
};

VCL_CLASS_INFO(TStoredSkinsHolder) {
  p.Object<&TStoredSkinsHolder::InternalSkins, &TStoredSkinsHolder::SetInternalSkins>(L"InternalSkins",
                                                                                      TsStoredSkins::StaticClass());
}

namespace {

void SetData(TsStoredSkin* skin, const Bytes& bytes) {
  skin->Data()->Clear();
  if (!bytes.empty()) skin->Data()->WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

class StoredSkins : public ::testing::Test {
 protected:
  void SetUp() override { TStoredSkinsHolder::StaticClass(); }
};

TEST_F(StoredSkins, StreamedInAFormDescriptionAndWrittenBackByteForByte) {
  const Bytes pack = WritePack({{"Options.dat", BytesOf("[GLOBALINFO]\r\n"), {}, {}}, {"a.bmp", PatternBytes(40, 1), {}, {}}});
  TStoredSkinsHolder holder(nullptr);
  holder.SetName(L"sSkinManager1");
  TsStoredSkin* blue = holder.InternalSkins()->Add();
  blue->SetName(L"Blue");
  blue->SetShadow1Color(0x0000FF);
  blue->SetShadow1Offset(2);
  blue->SetBorderColor(0);
  blue->SetVersion(7.5);
  blue->SetAuthor(L"Us");
  blue->SetDescription(L"A synthetic skin");
  SetData(blue, pack);
  holder.InternalSkins()->Add()->SetName(L"Empty");

  const std::string written = vcl::WriteComponentText(&holder);
  for (const char* expected : {"object sSkinManager1: TStoredSkinsHolder\n", "  InternalSkins = <\n",
                               "      Name = 'Blue'\n", "      Shadow1Color = clRed\n", "      Shadow1Offset = 2\n",
                               "      BorderColor = clBlack\n", "      Version = 7.5\n", "      Author = 'Us'\n",
                               "      Data = {\n", "      Name = 'Empty'\n"})
    EXPECT_NE(written.find(expected), std::string::npos) << expected << "\n--- in ---\n" << written;
  // Defaults are left out, the (always written) data is not.
  EXPECT_EQ(written.find("Shadow1Blur"), std::string::npos) << written;
  EXPECT_EQ(written.find("Shadow1Transparency"), std::string::npos) << written;
  const size_t empty = written.find("Name = 'Empty'");
  ASSERT_NE(empty, std::string::npos);
  EXPECT_NE(written.find("Data = {", empty), std::string::npos) << written;

  TStoredSkinsHolder again(nullptr);
  vcl::ReadComponentText(&again, written, L"written");
  ASSERT_EQ(again.InternalSkins()->Count(), 2);
  TsStoredSkin* read = again.InternalSkins()->Items(0);
  EXPECT_EQ(read->Name(), L"Blue");
  EXPECT_EQ(read->Shadow1Color(), 0x0000FF);
  EXPECT_EQ(read->Shadow1Blur(), -1);
  EXPECT_EQ(read->Description(), L"A synthetic skin");
  EXPECT_EQ(BytesOfStream(*read->Data()), pack);
  EXPECT_EQ(again.InternalSkins()->Items(1)->Data()->Size(), 0);
  EXPECT_EQ(vcl::WriteComponentText(&again), written);
}

TEST_F(StoredSkins, TheNamedSkinIsChosenElseTheFirstWhoseNameIsTakenOver) {
  TStoredSkinsHolder holder(nullptr);
  vcl::String name = L"Blue";
  EXPECT_EQ(holder.InternalSkins()->Select(name), nullptr);  // none stored: nothing to load
  EXPECT_EQ(name, L"Blue");

  holder.InternalSkins()->Add()->SetName(L"Green");
  holder.InternalSkins()->Add()->SetName(L"Red");
  name = L"Red";
  EXPECT_EQ(holder.InternalSkins()->Select(name), holder.InternalSkins()->Items(1));
  name = L"Blue";
  EXPECT_EQ(holder.InternalSkins()->Select(name), holder.InternalSkins()->Items(0));
  EXPECT_EQ(name, L"Green");
  EXPECT_EQ(holder.InternalSkins()->IndexOf(L"red"), -1);  // names compare exactly
  EXPECT_EQ(holder.InternalSkins()->IndexOf(L"Red"), 1);
}

TEST_F(StoredSkins, UnpackingGivesTheOptionTextUnlessTheDataIsEmpty) {
  TStoredSkinsHolder holder(nullptr);
  TsStoredSkin* skin = holder.InternalSkins()->Add();
  TqvSkinConvertor reader;
  EXPECT_FALSE(skin->Unpack(reader));
  EXPECT_FALSE(reader.Options);

  SetData(skin, WritePack(SampleEntries()));
  skin->Data()->SetPosition(skin->Data()->Size());  // wherever it stands, the pack is read from its start
  ASSERT_TRUE(skin->Unpack(reader));
  ASSERT_TRUE(reader.Options);
  EXPECT_EQ(BytesOfStream(*reader.Options), SampleEntries()[0].data);
  EXPECT_EQ(reader.PackedData, nullptr);
}

TEST_F(StoredSkins, AssigningCopiesTheItemsAndEveryValue) {
  TStoredSkinsHolder from(nullptr), to(nullptr);
  TsStoredSkin* a = from.InternalSkins()->Add();
  a->SetName(L"A");
  a->SetShadow1Transparency(40);
  a->MasterBitmap()->SetSize(4, 3);
  SetData(a, BytesOf("pack bytes"));
  from.InternalSkins()->Add()->SetName(L"B");
  to.InternalSkins()->Add()->SetName(L"Old");

  to.InternalSkins()->Assign(from.InternalSkins());
  ASSERT_EQ(to.InternalSkins()->Count(), 2);
  const TsStoredSkin* copy = to.InternalSkins()->Items(0);
  EXPECT_EQ(copy->Name(), L"A");
  EXPECT_EQ(copy->Shadow1Transparency(), 40);
  EXPECT_EQ(copy->MasterBitmap()->Width(), 4);
  EXPECT_EQ(BytesOfStream(*copy->Data()), BytesOf("pack bytes"));
  EXPECT_NE(copy->Data(), a->Data());
  EXPECT_EQ(to.InternalSkins()->Items(1)->Name(), L"B");
}

TEST_F(StoredSkins, ChangesOfTheListAreAnnouncedWithTheManagerAsSender) {
  TStoredSkinsHolder holder(nullptr);
  holder.InternalSkins()->Add();
  EXPECT_EQ(holder.changes, 1);
  EXPECT_EQ(holder.last_sender, &holder);
  holder.InternalSkins()->Items(0)->SetName(L"Renamed");
  EXPECT_EQ(holder.changes, 2);
  holder.InternalSkins()->Delete(0);
  EXPECT_EQ(holder.changes, 3);
  EXPECT_EQ(holder.InternalSkins()->Manager(), &holder);
}

}  // namespace
}  // namespace skin_layered::test
