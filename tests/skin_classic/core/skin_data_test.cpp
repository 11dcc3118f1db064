// The skin-data component: the "SkinStream" it stores, the main window's empty component, a
// synthetic package read into skin elements, its menu images and the engine's unit start-up.
#include <gtest/gtest.h>

#include "classlib/rtl/TypInfo.h"
#include "skin_classic/core/SkinStartup.h"
#include "skin_data_support.h"

namespace winskin::test {

VCL_CLASS_INFO(TSkinTestForm) {}
VCL_CLASS_INFO(TRecordingSkinForm) {}
VCL_CLASS_INFO(TRecordingPopMenu) {}

namespace {

::testing::Environment* const kUnits = ::testing::AddGlobalTestEnvironment(new UnitsEnvironment);

using SkinDataTest = SkinManagerTest;

// The main window's component: stored active with an empty stream, it registers with the one
// manager, which hooks the thread, and switches itself off; nothing is skinned.
TEST_F(SkinDataTest, TheMainWindowsEmptyComponentLoadsInactive) {
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock()));
  TSkinData* data = form->SkinData();
  ASSERT_NE(data, nullptr);
  EXPECT_FALSE(data->Active());
  EXPECT_TRUE(data->Empty());
  EXPECT_EQ(data->SkinStream()->Size(), 0);  // the zero length read nothing
  EXPECT_TRUE(ShownBoxes().empty());         // and no package was looked at

  TSkinManage* manager = SkinManager();
  ASSERT_NE(manager, nullptr);
  EXPECT_TRUE(manager->HookInstalled());
  EXPECT_EQ(manager->MainSkinData(), data);
  EXPECT_FALSE(manager->Active());
  EXPECT_FALSE(manager->Timer()->Enabled());
  // With xcMainMenu kept, xcMenuItem stays out and xcSystemMenu in.
  EXPECT_TRUE(data->SkinControls().Contains(xcSystemMenu));
  EXPECT_FALSE(data->SkinControls().Contains(xcMenuItem));
  EXPECT_EQ(data->IconBitmap()->Width(), GetSystemMetrics(SM_CXSMICON));
  EXPECT_TRUE(data->IconBitmap()->Transparent());

  // Shown and activated, the form keeps its own window procedure.
  const LONG_PTR procedure = GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC);
  const vcl::TWndMethod method = form->WindowProc;
  form->Show();
  SetActiveWindow(form->Handle());
  // The hook sees the activation at once; what it might set off is posted or timed.
  ASSERT_TRUE(PumpUntil([&] { return manager->Started() >= 1 && !manager->Timer()->Enabled() && QueueEmpty(); }));
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWLP_WNDPROC), procedure);
  EXPECT_TRUE(form->WindowProc == method);
  EXPECT_EQ(manager->FormCount(), 0);
  EXPECT_TRUE(SkinCalls().empty());
  EXPECT_GE(manager->Started(), 1);  // the hook saw the activation
}

TEST_F(SkinDataTest, ASyntheticPackageInTheStreamFillsTheSkinElements) {
  const std::vector<uint8_t> package = SyntheticPackage();
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(package))));
  TSkinData* data = form->SkinData();
  EXPECT_FALSE(data->Empty());
  EXPECT_TRUE(data->Active());
  EXPECT_EQ(data->Skin()->SkinName(), "Synthetic");
  EXPECT_TRUE(data->Skin()->Border(SkinBorder::Top)->HasBitmap());
  EXPECT_EQ(data->SampleColor(), static_cast<vcl::TColor>(FrameColour(kTopPicture, 1)));
  // Before any window is activated the request only switches the manager on.
  EXPECT_TRUE(SkinManager()->Active());
  EXPECT_EQ(SkinManager()->RequestSkinData(), data);
  EXPECT_FALSE(SkinManager()->Timer()->Enabled());
}

TEST_F(SkinDataTest, TheStoredStreamRoundTripsByteForByte) {
  const std::vector<uint8_t> package = SyntheticPackage();
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(package))));
  const std::string text = vcl::WriteComponentText(form.get());
  EXPECT_NE(text.find("SkinStream = {"), std::string::npos);
  EXPECT_NE(text.find("SkinFormtype = sfMainform"), std::string::npos);
  // Defaults are not written.
  for (const char* name : {"SkinControls", "Options", "Skin3rd", "DisableTag", "Version", "SkinStore"})
    EXPECT_EQ(text.find(name), std::string::npos) << name;

  Owned<TSkinTestForm> copy(new TSkinTestForm(nullptr, 0));
  vcl::ReadComponentText(copy.get(), text, L"copy");
  vcl::TMemoryStream* stream = copy->SkinData()->SkinStream();
  EXPECT_EQ(std::vector<uint8_t>(stream->Memory(), stream->Memory() + stream->Size()), package);
  EXPECT_FALSE(copy->SkinData()->Empty());
  EXPECT_EQ(vcl::WriteComponentText(copy.get()), text);

  // The empty stream of the main window is written as a zero length.
  Owned<TSkinTestForm> empty = ReadSkinForm(SkinFormText(MainWindowBlock()));
  EXPECT_NE(vcl::WriteComponentText(empty.get()).find("SkinStream = {\n      00000000}"), std::string::npos);

  // Changed lists and sets are written.
  Owned<TSkinTestForm> changed = ReadSkinForm(SkinFormText(
      "    SkinControls = [xcMainMenu, xcPopupMenu]\n    DisableTag = 7\n"
      "    Skin3rd.Strings = (\n      'TMyGrid=scrollbar')\n    SkinStream = {00000000}\n"));
  EXPECT_EQ(changed->SkinData()->Skin3rd()->Count(), 1);
  const std::string written = vcl::WriteComponentText(changed.get());
  for (const char* part : {"'TMyGrid=scrollbar'", "SkinControls = [xcMainMenu, xcPopupMenu]", "DisableTag = 7"})
    EXPECT_NE(written.find(part), std::string::npos) << part;
}

// A stored length beyond the bytes that follow it is refused before anything is sized.
TEST_F(SkinDataTest, AStoredLengthBeyondTheDataIsAReadError) {
  for (const char* stream : {"FFFFFF7F0102", "0A000000010203", "0100"}) {
    Owned<TSkinTestForm> form(new TSkinTestForm(nullptr, 0));
    const std::string text = SkinFormText(std::string("    SkinStream = {") + stream + "}\n");
    EXPECT_THROW(vcl::ReadComponentText(form.get(), text, L"broken"), vcl::EReadError) << stream;
  }
  // A negative length reads as no skin.
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText("    SkinStream = {FFFFFFFF}\n"));
  EXPECT_TRUE(form->SkinData()->Empty());
}

TEST_F(SkinDataTest, APackageOfUnknownFormatLeavesTheComponentEmpty) {
  PackageSpec spec = CompleteSkinSpec(4);
  spec.tag = 12345;
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(spec)))));
  EXPECT_TRUE(form->SkinData()->Empty());
  EXPECT_FALSE(form->SkinData()->Active());
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"This is Older Skin File\rPlease update to new version !");
}

// A package cut short of its declared size is a failed load with a message; the skin read
// before stays in use with its stream.
TEST_F(SkinDataTest, ACutPackageIsRefusedAndTheSkinInUseStays) {
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(BuildPackage(CompleteSkinSpec())))));
  TSkinData* data = form->SkinData();
  ASSERT_FALSE(data->Empty());
  const std::vector<uint8_t> before = BytesOf(*data->SkinStream());
  const int buttonsWidth = data->Skin()->Buttons()->Bitmap->Width();
  ASSERT_GT(buttonsWidth, 0);

  std::vector<uint8_t> cut = BuildPackage(CompleteSkinSpec());
  cut.resize(cut.size() / 2);
  const wintest::TempFile file(L"cut.skn");
  file.Write(cut);
  ShownBoxes().clear();
  data->SetSkinFile(file.Path());
  ASSERT_EQ(ShownBoxes().size(), 1u);
  EXPECT_EQ(ShownBoxes()[0].text, L"The skin package \"" + file.Path() +
                                       L"\" is damaged: its data ends before its declared size.\rThe skin in use stays.");
  EXPECT_FALSE(data->Empty());
  EXPECT_EQ(data->Skin()->Buttons()->Bitmap->Width(), buttonsWidth);
  EXPECT_EQ(BytesOf(*data->SkinStream()), before);
}

// The complete skin with one entry's bytes changed (or the entry gone, with nullopt).
PackageSpec CompleteSkinWith(const std::string& Entry, std::optional<std::vector<uint8_t>> Bytes) {
  PackageSpec spec = CompleteSkinSpec();
  for (auto it = spec.entries.begin(); it != spec.entries.end(); ++it) {
    if (it->name != Entry) continue;
    if (Bytes)
      it->bytes = *Bytes;
    else
      spec.entries.erase(it);
    break;
  }
  return spec;
}

std::vector<uint8_t> Resized(std::vector<uint8_t> Bytes, size_t Size) {
  Bytes.resize(Size);
  return Bytes;
}

std::vector<uint8_t> With32(std::vector<uint8_t> Bytes, size_t At, uint32_t Value) {
  for (int i = 0; i < 4; ++i) Bytes[At + i] = static_cast<uint8_t>(Value >> (8 * i));
  return Bytes;
}

// A package the engine cannot read whole, read from a file: one message naming the file and the
// fault, and the skin in use stays, whole, with its stream; read at start-up from the stored
// stream it names the component and says the windows keep their own look, and the component
// stays Empty and inactive. The same package whole is read without a word.
TEST_F(SkinDataTest, APackageThatCannotBeReadWholeIsNamedWithItsFaultAndTheSkinInUseStays) {
  const std::vector<uint8_t> tabs = [] {
    for (const auto& e : CompleteSkinSpec().entries)
      if (e.name == "Tabs.bmp") return e.bytes;
    return std::vector<uint8_t>{};
  }();
  ASSERT_EQ(tabs.size(), 54u + 20 * 100 * 3);  // five 20 x 20 frames side by side
  const std::vector<uint8_t> whole = BuildPackage(CompleteSkinSpec());
  const struct {
    const char* name;
    std::vector<uint8_t> package;
    std::wstring fault;
  } cases[] = {
      {"an empty picture", BuildPackage(CompleteSkinWith("Tabs.bmp", std::vector<uint8_t>{})),
       L"is damaged: its picture \"tabs.bmp\" is empty"},
      {"a cut picture", BuildPackage(CompleteSkinWith("Tabs.bmp", Resized(tabs, tabs.size() - 7))),
       L"is damaged: its picture \"tabs.bmp\" is cut short: its pixels take 6000 bytes, 5993 are there"},
      {"a picture of 100000 x 100000 pixels",
       BuildPackage(CompleteSkinWith("Tabs.bmp", With32(With32(tabs, 18, 100000), 22, 100000))),
       L"is refused: its picture \"tabs.bmp\" is 100000 x 100000 pixels, more than a skin picture may have"},
      {"no description", BuildPackage(CompleteSkinWith("Skin.INI", std::nullopt)),
       L"is damaged: it holds no description (no entry whose name holds \".ini\")"},
      {"an empty description", BuildPackage(CompleteSkinWith("Skin.INI", std::vector<uint8_t>{})),
       L"is damaged: its description \"skin.ini\" is empty"},
      {"a binary description", BuildPackage(CompleteSkinWith("Skin.INI", std::vector<uint8_t>{0x4D, 0x5A, 0x90, 0x00})),
       L"is damaged: its description \"skin.ini\" is not text: it holds the byte 0 at offset 3"},
      {"a package cut to its first 20 bytes", Resized(whole, 20),
       L"is damaged: it gives an unpacked size of " + std::to_wstring(BuildUnpackedPackage(CompleteSkinSpec()).size()) +
           L" bytes, more than its 16 packed bytes can hold"},
      {"a package cut by a byte", Resized(whole, whole.size() - 1), L"is damaged: its data ends before its declared size"},
      {"three bytes", std::vector<uint8_t>{1, 2, 3}, L"is damaged: its 3 bytes are too few to give its unpacked size"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(whole))));
    TSkinData* data = form->SkinData();
    ASSERT_FALSE(data->Empty());
    const std::vector<uint8_t> before = BytesOf(*data->SkinStream());
    const TDataSkinObject* tabsObject = data->Skin()->Element(SkinElement::Tabs);
    ASSERT_TRUE(tabsObject && tabsObject->HasBitmap());
    const wintest::TempFile file(L"broken.skn");
    file.Write(c.package);
    ShownBoxes().clear();
    data->SetSkinFile(file.Path());
    ASSERT_EQ(ShownBoxes().size(), 1u);
    EXPECT_EQ(ShownBoxes()[0].text, L"The skin package \"" + file.Path() + L"\" " + c.fault + L".\rThe skin in use stays.");
    EXPECT_FALSE(data->Empty());
    EXPECT_EQ(data->Skin()->Element(SkinElement::Tabs), tabsObject);
    EXPECT_TRUE(tabsObject->HasBitmap());
    EXPECT_EQ(BytesOf(*data->SkinStream()), before);
    EXPECT_EQ(data->SkinFile(), file.Path());

    // At start-up, from the stored stream: nothing was worn before.
    ShownBoxes().clear();
    Owned<TSkinTestForm> fresh = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(c.package))));
    ASSERT_EQ(ShownBoxes().size(), 1u);
    EXPECT_EQ(ShownBoxes()[0].text, L"The skin package stored in \"SkinTestForm.skndt1\" " + c.fault +
                                         L".\rThe windows keep their own look.");
    EXPECT_TRUE(fresh->SkinData()->Empty());
    EXPECT_FALSE(fresh->SkinData()->Active());
  }
  // Whole, from a file and stored: no word.
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock(StoredStream(whole))));
  const wintest::TempFile file(L"whole.skn");
  file.Write(whole);
  ShownBoxes().clear();
  form->SkinData()->SetSkinFile(file.Path());
  EXPECT_TRUE(ShownBoxes().empty());
  EXPECT_FALSE(form->SkinData()->Empty());
}

// Without xcMainMenu the system menu is dropped instead of the menu items.
TEST_F(SkinDataTest, WithoutTheMainMenuTheSystemMenuGoes) {
  Owned<TSkinTestForm> form = ReadSkinForm(
      SkinFormText("    SkinControls = [xcPopupMenu, xcMenuItem, xcButton, xcSystemMenu]\n"
                   "    SkinStream = {00000000}\n"));
  const TSkinControlTypes kinds = form->SkinData()->SkinControls();
  EXPECT_FALSE(kinds.Contains(xcSystemMenu));
  EXPECT_TRUE(kinds.Contains(xcMenuItem));
  EXPECT_TRUE(kinds.Contains(xcButton));
}

TEST_F(SkinDataTest, ActiveOnAnEmptyComponentStartsNothing) {
  Owned<TSkinTestForm> form = ReadSkinForm(SkinFormText(MainWindowBlock()));
  TSkinData* data = form->SkinData();
  TSkinManage* manager = SkinManager();
  manager->SetStarted(1);
  data->SetActive(true);
  EXPECT_TRUE(data->Active());
  EXPECT_FALSE(manager->Active());
  EXPECT_FALSE(manager->Timer()->Enabled());
  EXPECT_EQ(manager->RequestSkinData(), nullptr);
}

TEST_F(SkinDataTest, MenuImagesComeFromTheEnginesOwnBitmap) {
  Owned<TSkinData> data(new TSkinData(nullptr));
  vcl::TCustomImageList* images = data->MenuImages();
  ASSERT_EQ(images->Count(), 4);
  EXPECT_EQ(images->Width(), 16);
  vcl::TBitmap canvas;
  canvas.SetPixelFormat(vcl::pf24bit);
  canvas.SetSize(16, 16);
  canvas.Canvas()->Brush()->SetColor(vcl::clRed);
  canvas.Canvas()->FillRect(vcl::Rect(0, 0, 16, 16));
  images->Draw(canvas.Canvas(), 0, 0, 3);  // close: a cross
  EXPECT_EQ(canvas.Canvas()->Pixels(7, 6), vcl::clBlack);
  EXPECT_EQ(canvas.Canvas()->Pixels(1, 1), vcl::clRed);  // white is masked away
  images->Draw(canvas.Canvas(), 0, 0, 2);  // minimise: a bar low down
  EXPECT_EQ(canvas.Canvas()->Pixels(6, 10), vcl::clBlack);
}

TEST(SkinStartup, TheEnginesUnitsStartAfterTheLibrarysInOrder) {
  const std::vector<vcl::String> names = vcl::InitializedUnitNames();
  auto at = [&](const wchar_t* name) { return std::find(names.begin(), names.end(), name) - names.begin(); };
  ASSERT_LT(at(L"WinSkinMenu"), static_cast<ptrdiff_t>(names.size()));
  EXPECT_LT(at(L"Forms"), at(L"WinSkinUser32"));
  EXPECT_LT(at(L"WinSkinUser32"), at(L"WinSkinData"));
  EXPECT_LT(at(L"WinSkinData"), at(L"WinSkinMenu"));

  // The control-lookup atom is the class library's alone, registered once.
  const vcl::String name = vcl::ControlAtomName();
  EXPECT_EQ(vcl::ControlAtom(), GlobalFindAtomW(name.c_str()));
  EXPECT_NE(vcl::FindClassInfo(L"TSkinData"), nullptr);
}

}  // namespace
}  // namespace winskin::test
