// The skin manager: options, the default-manager rule, skin names, loads, broadcasts, preview.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "classlib/streaming/Filer.h"
#include "manager_support.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/core/SkinLoading.h"
#include "skin_layered/core/command_spies.h"
#include "skin_layered/manager/PreviewBlock.h"
#include "skin_layered/manager/SysColors.h"
#include "support/win_test_support.h"

namespace skin_layered::test {
namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

class SkinManager : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(DefaultSkinManager(), nullptr); }
  void TearDown() override { EXPECT_EQ(DefaultSkinManager(), nullptr); }

  // A manager over the test's skin folder, with the skin "Test" written there.
  ManagerPtr WithSkin(const std::string& text = SkinText()) {
    skins.Write(L"Test", L"Options.dat", BytesOf(text));
    ManagerPtr manager = NewManager();
    manager->SetSkinDirectory(skins.Directory());
    return manager;
  }

  TempSkins skins;
};

TEST_F(SkinManager, StreamedValuesReachTheOptionObjects) {
  auto form = NewForm();
  vcl::ReadComponentText(form.get(),
                         "object TestForm: TForm\n  object Manager: TsSkinManager\n"
                         "    AnimEffects.SkinChanging.Time = 240\n    AnimEffects.FormHide.Mode = atFading\n"
                         "    ScrollsOptions.ScrollSize = 21\n"
                         "    Brightness = 150\n    Active = False\n  end\nend\n",
                         L"values");
  auto* manager = dynamic_cast<TsSkinManager*>(form->FindComponent(L"Manager"));
  ASSERT_NE(manager, nullptr);
  EXPECT_EQ(manager->AnimEffects()->SkinChanging()->Time(), 240);
  EXPECT_EQ(manager->AnimEffects()->FormHide()->Mode(), atFading);
  EXPECT_EQ(GetScrollWidth(manager), 21);
  EXPECT_EQ(GetLargestScrollWidth(manager), std::max(21, GetSystemMetrics(SM_CXVSCROLL)));
  EXPECT_EQ(manager->Brightness(), 100);
  EXPECT_FALSE(manager->Active());
  form.reset();
}

TEST_F(SkinManager, TheFirstManagerIsTheDefaultAndOnlyItHooks) {
  ManagerPtr first = WithSkin();
  ManagerPtr second = NewManager();
  second->SetSkinDirectory(skins.Directory());
  EXPECT_EQ(DefaultSkinManager(), first.get());
  EXPECT_TRUE(first->IsDefault() && first->MainWindowHooked());
  EXPECT_FALSE(second->IsDefault() || second->MainWindowHooked());

  second->SetSkinName(L"Test");
  EXPECT_TRUE(second->Skin().SkinData.Active);
  EXPECT_FALSE(second->HooksInstalled());
  first->SetSkinName(L"Test");
  EXPECT_TRUE(first->HooksInstalled());

  // Setting False never clears the default; the default goes with its manager.
  first->SetIsDefault(false);
  EXPECT_EQ(DefaultSkinManager(), first.get());
  first.reset();
  EXPECT_EQ(DefaultSkinManager(), nullptr);
  second->SetIsDefault(true);
  EXPECT_EQ(DefaultSkinManager(), second.get());
  EXPECT_TRUE(second->HooksInstalled() && second->MainWindowHooked());
}

TEST_F(SkinManager, BrightnessIsLimitedAndChangesReloadTheSkin) {
  ManagerPtr manager = WithSkin();
  manager->SetSkinName(L"Test");
  const vcl::TColor before = manager->Skin().Sections[manager->GetSkinIndex(L"PANEL")].Props[0].Color;
  int changes = 0;
  manager->OnAfterChange =
      vcl::TNotifyEvent::FromFunction([](void* n, vcl::TObject*) { ++*static_cast<int*>(n); }, &changes);
  manager->SetBrightness(150);
  EXPECT_EQ(manager->Brightness(), 100);
  EXPECT_EQ(changes, 1);
  EXPECT_NE(manager->Skin().Sections[manager->GetSkinIndex(L"PANEL")].Props[0].Color, before);
  manager->SetBrightness(100);  // no change: no reload
  EXPECT_EQ(changes, 1);
  manager->SetBrightness(-400);
  EXPECT_EQ(manager->Brightness(), -100);
  EXPECT_FALSE(SkinIsLoading());
}

TEST_F(SkinManager, SkinNamesComeFromStoredSkinsFoldersAndPacks) {
  skins.Write(L"Folder", L"Options.dat", BytesOf("[EDIT]\r\n"));
  skins.Write(L"NoOptions", L"readme.txt", BytesOf("x"));
  skins.Write(L".Hidden", L"Options.dat", BytesOf("[EDIT]\r\n"));
  skins.WriteFile(L"Packed.v2.pmz", WritePack(SampleEntries()));
  skins.WriteFile(L"Other.PMZ", WritePack(SampleEntries()));
  skins.WriteFile(L"notes.txt", BytesOf("x"));
  ManagerPtr manager = NewManager();
  manager->SetSkinDirectory(skins.Directory());
  manager->InternalSkins()->Add()->SetName(L"Stored");

  vcl::TStringList names;
  vcl::String first;
  manager->GetSkinNames(&names, kSkinFoldersAndPacks, first);
  EXPECT_EQ(first, L"Stored");  // stored skins come first
  EXPECT_EQ(names.Text(), L"Folder\r\nOther\r\nPacked\r\nStored\r\n");
  manager->GetSkinNames(&names, kSkinFolders, first);
  EXPECT_EQ(names.Text(), L"Folder\r\nStored\r\n");
  manager->GetSkinNames(&names, kSkinPacks, first);
  EXPECT_EQ(names.Text(), L"Other\r\nPacked\r\nStored\r\n");

  manager->InternalSkins()->Clear();
  manager->GetSkinNames(&names, kSkinFolders, first);
  EXPECT_EQ(first, L"Folder");
  manager->SetSkinDirectory(skins.Directory() + L"\\missing");
  manager->GetSkinNames(&names, kSkinFoldersAndPacks, first);
  EXPECT_EQ(names.Count(), 0);
  EXPECT_EQ(first, L"");
}

TEST_F(SkinManager, ANameEndingInPmzLoadsThePackAndKeepsTheName) {
  ManagerPtr manager = NewManager();
  manager->SetSkinDirectory(SampleSkinFolder());
  manager->SetSkinName(L"Lagoon.PMZ");
  EXPECT_EQ(manager->SkinName(), L"Lagoon");
  EXPECT_TRUE(manager->SkinIsPacked() && manager->Skin().SkinData.Active);
}

// ---- announcements

TEST_F(SkinManager, EveryFormHearsOfANewSkinItsRefreshItsRemovalAndNewScrollSizes) {
  auto form = ShownForm();
  CommandSpy spy(form.get(), false);
  ManagerPtr manager = WithSkin();
  EXPECT_EQ(manager->SkinInfo(), L"N/A");
  manager->SetSkinName(L"Test");
  EXPECT_EQ(manager->SkinInfo(), L"7.5");
  EXPECT_EQ((std::array{spy.Count(scmNewSkin), spy.Count(scmBeforeRefresh), spy.Count(scmRefresh)}),
            (std::array{1, 1, 1}));
  EXPECT_EQ(spy.lastLParam, reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_TRUE(manager->Skin().SkinData.Active);
  EXPECT_FALSE(SkinIsUpdating());

  manager->SetActive(false);
  EXPECT_EQ(spy.Count(scmRemoveSkin), 1);
  EXPECT_EQ(manager->SkinInfo(), L"N/A");
  EXPECT_TRUE(manager->Skin().Sections.empty());
  EXPECT_FALSE(manager->HooksInstalled());
  manager->SetActive(true);
  EXPECT_EQ(spy.Count(scmNewSkin), 2);
  EXPECT_TRUE(manager->HooksInstalled());
  // A scroll size is told only when it changes.
  manager->ScrollsOptions()->SetScrollSize(-1);
  EXPECT_EQ(spy.Count(scmScrollsChanged), 0);
  manager->ScrollsOptions()->SetScrollSize(20);
  EXPECT_EQ(spy.Count(scmScrollsChanged), 1);
}

TEST_F(SkinManager, AFirstLoadThatFindsNoSkinLeavesTheManagerInactive) {
  skins.WriteFile(L"Garbage.pmz", BytesOf("not a pack at all"));
  for (const wchar_t* name : {L"Missing", L"Garbage"}) {
    SCOPED_TRACE(name);
    auto form = ShownForm();
    CommandSpy spy(form.get(), false);
    ManagerPtr manager = WithSkin();
    MessageBoxes boxes;
    manager->SetSkinName(name);
    EXPECT_FALSE(manager->Active());
    EXPECT_EQ(spy.Count(scmNewSkin), 0);
    EXPECT_EQ(spy.Count(scmRemoveSkin), 1);
  }
}

TEST_F(SkinManager, AFailedLoadKeepsThePreviousSkinAndName) {
  auto form = ShownForm();
  CommandSpy spy(form.get(), false);
  ManagerPtr manager = WithSkin();
  manager->SetSkinName(L"Test");
  ASSERT_EQ(spy.Count(scmNewSkin), 1);
  const int sections = static_cast<int>(manager->Skin().Sections.size());
  skins.WriteFile(L"Garbage.pmz", BytesOf("not a pack at all"));
  std::vector<PackEntrySpec> noOptions = SampleEntries();
  std::erase_if(noOptions, [](const PackEntrySpec& e) { return e.name == "Options.dat"; });
  skins.WriteFile(L"Empty.pmz", WritePack(noOptions));

  MessageBoxes boxes;
  manager->SetSkinName(L"Garbage");
  EXPECT_EQ(manager->SkinName(), L"Test");
  EXPECT_TRUE(manager->Active() && manager->Skin().SkinData.Active);
  EXPECT_EQ(static_cast<int>(manager->Skin().Sections.size()), sections);
  EXPECT_EQ(boxes.texts, (std::vector<vcl::String>{L"Loaded data is not a packed Pellimor file"}));
  // A pack without its description, and a folder whose description is empty or binary, are
  // refused naming the file and the fault.
  skins.Write(L"Blank", L"Options.dat", BytesOf(""));
  skins.Write(L"Binary", L"Options.dat", WritePack(SampleEntries()));
  const std::wstring dir = skins.Directory();
  const std::pair<const wchar_t*, std::wstring> refusals[] = {
      {L"Empty", L"The skin \"Empty\" is refused: the pack \"" + dir + L"\\Empty.pmz\" holds no description (Options.dat)."},
      {L"Blank", L"The skin \"Blank\" is refused: its description \"" + dir + L"\\Blank\\Options.dat\" is empty."},
      {L"Binary", L"The skin \"Binary\" is refused: its description \"" + dir +
                      L"\\Binary\\Options.dat\" is not text (a byte of 3 at offset 4)."}};
  for (const auto& [name, message] : refusals) {
    std::wstring said;
    try {
      manager->SetSkinName(name);
    } catch (const vcl::Exception& e) {
      said = e.Message();
    }
    EXPECT_EQ(said, message);
    EXPECT_EQ(manager->SkinName(), L"Test");
    EXPECT_TRUE(manager->Active() && manager->Skin().SkinData.Active);
    EXPECT_EQ(static_cast<int>(manager->Skin().Sections.size()), sections);
  }
  EXPECT_EQ(boxes.texts.size(), 1u);
  // Nothing new was announced with the old tables.
  EXPECT_EQ(spy.Count(scmNewSkin), 1);
  EXPECT_FALSE(SkinIsLoading());

  // A broken description raises and gives the loading flag back.
  skins.Write(L"Bad", L"Options.dat", BytesOf("[BAD]\r\nGRADIENTDATA=a;b;c;d;e\r\n"));
  EXPECT_THROW(manager->SetSkinName(L"Bad"), vcl::Exception);
  EXPECT_FALSE(SkinIsLoading());
  EXPECT_EQ(manager->SkinName(), L"Test");
}

TEST_F(SkinManager, ChangeSysColorsPatchesWhileTheDefaultManagerHooks) {
  ManagerPtr manager = WithSkin(SkinText("[GLOBALINFO]\r\n"));
  manager->Options()->SetOption(TqvOption::ChangeSysColors, true);
  EXPECT_TRUE(SysColorsPatched());
  manager->Options()->SetOption(TqvOption::ChangeSysColors, false);
  EXPECT_FALSE(SysColorsPatched());
  manager->Options()->SetOption(TqvOption::ChangeSysColors, true);
  manager->SetSkinName(L"Test");
  EXPECT_TRUE(SysColorsPatched());
  manager->SetActive(false);
  EXPECT_FALSE(SysColorsPatched());
}

// ---- preview link

std::string Block(const std::string& name, const std::string& directory, const std::string& text) {
  std::string block(kPreviewBlockSize, '\0');
  block[1] = '\xA4';
  std::copy(name.begin(), name.end(), block.begin() + kPreviewNameOffset);
  std::copy(directory.begin(), directory.end(), block.begin() + kPreviewDirectoryOffset);
  std::copy(text.begin(), text.end(), block.begin() + kPreviewTextOffset);
  return block;
}

TEST(PreviewBlock, OnlyAWholeBlockWithTheMagicIsRead) {
  TqvPreviewBlock read;
  const std::string block = Block("Skin", "C:\\Skins", "[EDIT]");
  ASSERT_TRUE(ReadPreviewBlock(block.data(), block.size(), read));
  EXPECT_EQ(read.SkinName, L"Skin");
  EXPECT_EQ(read.SkinDirectory, L"C:\\Skins");
  EXPECT_EQ(read.OptionText, L"[EDIT]");
  read = {};
  std::string wrong = block;
  wrong[1] = '\xA5';
  EXPECT_FALSE(ReadPreviewBlock(block.data(), block.size() - 1, read) || ReadPreviewBlock(block.data(), 3, read) ||
               ReadPreviewBlock(nullptr, 0, read) || ReadPreviewBlock(wrong.data(), wrong.size(), read));
  EXPECT_EQ(read.SkinName, L"");

  // Fields without their terminator end at the field's end.
  std::string full = block;
  std::fill(full.begin() + kPreviewNameOffset, full.begin() + kPreviewDirectoryOffset, 'N');
  std::fill(full.begin() + kPreviewTextOffset, full.end(), 'T');
  ASSERT_TRUE(ReadPreviewBlock(full.data(), full.size(), read));
  EXPECT_EQ(read.SkinName, std::wstring(kPreviewNameSize, L'N'));
  EXPECT_EQ(read.SkinDirectory, L"C:\\Skins");
  EXPECT_EQ(read.OptionText.size(), kPreviewTextSize);
}

TEST_F(SkinManager, ThePreviewBlockLoadsTheEditorsTextAndAShortOneIsRefused) {
  auto form = ShownForm();
  CommandSpy spy(form.get(), false);
  ManagerPtr manager = NewManager();
  skins.Write(L"Edited", L"readme.txt", BytesOf("x"));
  std::string dir;
  for (wchar_t c : skins.Directory()) dir += static_cast<char>(c);
  const std::string block = Block("Edited", dir, "[EDIT]\r\nCOLOR=$0000FF\r\n");

  COPYDATASTRUCT data{kPreviewCopyDataId, static_cast<DWORD>(block.size() - 10), const_cast<char*>(block.data())};
  const HWND app = vcl::Application->Handle();
  SendMessageW(app, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  data.dwData = 8;  // nor one of another kind
  data.cbData = static_cast<DWORD>(block.size());
  SendMessageW(app, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(manager->PreviewData().SkinName, L"");

  data.dwData = kPreviewCopyDataId;
  SendMessageW(app, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  EXPECT_EQ(manager->PreviewData().SkinName, L"Edited");
  // The block is applied when the posted command arrives.
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(PreviewMode());
  EXPECT_EQ(PreviewLines(), nullptr);
  EXPECT_EQ(manager->SkinName(), L"Edited");
  EXPECT_EQ(manager->Skin().Sections[manager->GetSkinIndex(L"EDIT")].Props[0].Color, 0x0000FF);
  EXPECT_FALSE(manager->HoldsBroadcast());
  EXPECT_EQ(spy.Count(scmNewSkin), 1);
  EXPECT_TRUE(manager->AnimEffects()->SkinChanging()->Active());
}

// The editor's preview ends with the manager that showed it: while it lasts a skin folder wins
// over a pack of the same name beside it; a later manager of the process loads the pack, as
// without the editor.
TEST_F(SkinManager, ThePreviewEndsWithTheManagerThatShowedIt) {
  ManagerPtr manager = NewManager();
  skins.Write(L"Edited", L"readme.txt", BytesOf("x"));
  std::string dir;
  for (wchar_t c : skins.Directory()) dir += static_cast<char>(c);
  const std::string block = Block("Edited", dir, "[EDIT]\r\nCOLOR=$0000FF\r\n");
  COPYDATASTRUCT data{kPreviewCopyDataId, static_cast<DWORD>(block.size()), const_cast<char*>(block.data())};
  SendMessageW(vcl::Application->Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  wintest::Pump();
  ASSERT_TRUE(PreviewMode());
  manager->SetSkinDirectory(SampleSkinFolder());
  manager->SetSkinName(L"Lagoon");
  EXPECT_TRUE(manager->Skin().SkinData.Active);
  EXPECT_FALSE(manager->SkinIsPacked());

  manager.reset();
  EXPECT_FALSE(PreviewMode());
  ManagerPtr later = NewManager();
  later->SetSkinDirectory(SampleSkinFolder());
  later->SetSkinName(L"Lagoon");
  EXPECT_TRUE(later->SkinIsPacked() && later->Skin().SkinData.Active);
}

}  // namespace
}  // namespace skin_layered::test
