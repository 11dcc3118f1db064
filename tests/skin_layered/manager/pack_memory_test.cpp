// Hostile and broken packs loaded by a skin manager in a process of their own (the load
// probe), as a program loads a skin: whatever a small pack holds (a huge entry of zeros,
// named by the description or not, pictures of any size, a description of any length), what
// the load adds to the process's memory at its peak stays under 256 MB, and the load ends with
// a message naming the pack or the picture and what is wrong.
#include <gtest/gtest.h>

#include <windows.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "reader_support.h"
#include "skin_layered/core/SkinPack.h"
#include "skin_layered/manager/SkinReader.h"
#include "skin_layered/manager/SkinReading.h"

namespace skin_layered::test {
namespace {

constexpr std::int64_t kMostAdded = std::int64_t{256} << 20;
constexpr std::int64_t kHuge = std::int64_t{300} << 20;

std::wstring ProbePath() {
  std::wstring path = L"Z:";
  for (const char* p = SCRIVANE_SKIN_LOAD_PROBE; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

struct LoadOutcome {
  bool ran = false;
  std::int64_t added = 0;  // bytes
  std::vector<std::wstring> messages;
};

std::ostream& operator<<(std::ostream& out, const LoadOutcome& o) {
  out << (o.added >> 20) << " MB added";
  for (const std::wstring& m : o.messages) out << "; " << vcl::WideToUtf8(m);
  return out;
}

// The probe run on the skin; waits for it to end (a generous bound: it loads in a second).
LoadOutcome Load(const TempSkins& Skins, const std::wstring& Name) {
  const std::wstring output = Skins.Directory() + L"\\" + Name + L".probe.txt";
  std::wstring line = L"\"" + ProbePath() + L"\" \"" + Skins.Directory() + L"\" \"" + Name + L"\" \"" + output + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  LoadOutcome outcome;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return outcome;
  const bool ended = WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(info.hProcess, 9);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  if (!ended) return outcome;
  std::istringstream text(wintest::ReadBytes(output));
  std::string first;
  if (!std::getline(text, first) || first.empty()) return outcome;
  outcome.ran = true;
  outcome.added = std::stoll(first);
  for (std::string message; std::getline(text, message);) outcome.messages.push_back(vcl::Utf8ToWide(message));
  // The figures, for whoever reads the log.
  std::printf("%s: %.1f MB added\n", vcl::WideToUtf8(Name).c_str(), static_cast<double>(outcome.added) / (1 << 20));
  return outcome;
}

// A small skin of its own: a description naming a master bitmap and a picture of its own.
constexpr char kDescription[] =
    "[GLOBALINFO]\r\nVERSION=1\r\nMASTERBITMAP=master.bmp\r\n"
    "[BUTTON]\r\nBORDERSMASK=@0000,0000,0012,0012,1,0\r\n"
    "[PANEL]\r\nBORDERSMASK=!panel.png!1!0!2\r\n";

std::vector<PackEntrySpec> SmallSkin(std::string Description = kDescription) {
  return {{"Options.dat", BytesOf(Description), {}, {}},
          {"master.bmp", Bmp24(24, 12, Flat(0x3366CC)), {}, {}},
          {"panel.png", Png24(12, 12, Flat(0xCC6633)), {}, {}}};
}

// The entries with the one named replaced by a stream of its own.
std::vector<PackEntrySpec> Replaced(std::vector<PackEntrySpec> Entries, const std::string& Name, PackEntrySpec By) {
  for (PackEntrySpec& e : Entries)
    if (e.name == Name) e = std::move(By);
  return Entries;
}

std::wstring PackName(const TempSkins& Skins, const std::wstring& Name) {
  return L"\"" + Skins.Directory() + L"\\" + Name + L".pmz\"";
}

TEST(PackBombs, AHugeEntryOfZerosNamedOrNotIsRefusedWithinTheMemoryAllowed) {
  TempSkins skins;
  const Bytes huge = ZerosStream(kHuge);
  const Bytes large = ZerosStream(std::int64_t{60} << 20);  // within the entry's size allowed
  ASSERT_LT(huge.size(), 1u << 20);  // a small pack indeed
  auto write = [&](const wchar_t* name, const std::vector<PackEntrySpec>& entries) {
    skins.WriteFile(std::wstring(name) + L".pmz", WritePack(entries));
  };
  std::vector<PackEntrySpec> unnamed = SmallSkin(), sneaky = SmallSkin(), many = SmallSkin();
  unnamed.push_back({"huge.bin", {}, static_cast<std::int32_t>(kHuge), huge});
  sneaky.push_back({"huge.bin", {}, 10, huge});  // claims little, holds 300 MB
  for (int i = 0; i < 5; ++i) many.push_back({"part" + std::to_string(i) + ".bin", {}, 10, large});
  write(L"Good", SmallSkin());
  write(L"Unnamed", unnamed);
  write(L"Sneaky", sneaky);
  write(L"Named", Replaced(SmallSkin(), "master.bmp", {"master.bmp", {}, static_cast<std::int32_t>(kHuge), huge}));
  write(L"NamedZeros",
        Replaced(SmallSkin(), "master.bmp", {"master.bmp", {}, static_cast<std::int32_t>(60 << 20), large}));
  write(L"Many", many);

  const LoadOutcome good = Load(skins, L"Good");
  ASSERT_TRUE(good.ran);
  EXPECT_EQ(good.messages, std::vector<std::wstring>{}) << good;

  const std::wstring refused = L"unpacks to more than 64 MB, larger than any skin picture.";
  const struct {
    const wchar_t* name;
    std::wstring message;
  } cases[] = {
      {L"Unnamed", L"The skin pack " + PackName(skins, L"Unnamed") + L" is refused: entry 4 of 4 (\"huge.bin\") " + refused},
      {L"Sneaky", L"The skin pack " + PackName(skins, L"Sneaky") + L" is refused: entry 4 of 4 (\"huge.bin\") " + refused},
      {L"Named", L"The skin pack " + PackName(skins, L"Named") + L" is refused: entry 2 of 3 (\"master.bmp\") " + refused},
      // Within the size allowed, unpacked when the description asks for it: not a picture.
      {L"NamedZeros", L"The picture \"master.bmp\" of the skin \"NamedZeros\" cannot be read: Bitmap image is not valid"},
      {L"Many", L"The skin pack " + PackName(skins, L"Many") +
                    L" is refused: with entry 8 of 8 (\"part4.bin\") its entries unpack to more than 256 MB, far "
                    L"beyond any skin."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(vcl::WideToUtf8(c.name));
    const LoadOutcome outcome = Load(skins, c.name);
    ASSERT_TRUE(outcome.ran);
    EXPECT_LT(outcome.added, kMostAdded) << outcome;
    EXPECT_EQ(outcome.messages, std::vector<std::wstring>{c.message});
  }
}

// A 32-bit BMP of that size whose pixels are all one grey: its header and rows as a stream.
PackEntrySpec GreyBmp32(const std::string& Name, int Width, int Height) {
  const std::uint32_t pixels = static_cast<std::uint32_t>(Width) * static_cast<std::uint32_t>(Height) * 4;
  Bytes bmp{'B', 'M'};
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put(54 + pixels, 4), put(0, 4), put(54, 4), put(40, 4);
  put(static_cast<std::uint32_t>(Width), 4), put(static_cast<std::uint32_t>(Height), 4), put(1, 2), put(32, 2);
  for (std::uint32_t v : {0u, pixels, 2835u, 2835u, 0u, 0u}) put(v, 4);
  bmp.resize(bmp.size() + pixels, 0x40);
  return {Name, bmp, {}, {}};
}

TEST(PackBombs, PicturesBeyondAnySkinsAreRefusedBeforeTheyAreDecoded) {
  TempSkins skins;
  // A PNG whose header claims 30000 x 30000 pixels (its data need not follow: it is refused
  // on its header); one just over the size a picture may have; pictures each allowed but
  // together beyond what a skin's may take.
  const int side = 2829;  // 8,003,241 pixels
  static_assert(std::int64_t{2828} * 2828 <= kMaxPicturePixels && std::int64_t{2829} * 2829 > kMaxPicturePixels);
  Bytes claim = Png24(30000, 1, Flat(0));
  // The IHDR's height (bytes 20-23, big-endian) and its CRC made to match.
  claim[20] = 0, claim[21] = 0, claim[22] = 0x75, claim[23] = 0x30;
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32(0, claim.data() + 12, 17));
  for (int i = 0; i < 4; ++i) claim[29 + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  skins.WriteFile(L"PngBomb.pmz", WritePack(Replaced(SmallSkin(), "panel.png", {"panel.png", claim, {}, {}})));
  skins.WriteFile(L"OverOne.pmz", WritePack(Replaced(SmallSkin(), "master.bmp", GreyBmp32("master.bmp", side, side))));
  std::string description = kDescription;
  for (int i = 0; i < 3; ++i)
    description += "[BIG" + std::to_string(i) + "]\r\nBORDERSMASK=!big" + std::to_string(i) + ".bmp!1!0!2\r\n";
  std::vector<PackEntrySpec> three = SmallSkin(description);
  for (int i = 0; i < 3; ++i) three.push_back(GreyBmp32("big" + std::to_string(i) + ".bmp", 2828, 2828));
  skins.WriteFile(L"Three.pmz", WritePack(three));

  const struct {
    const wchar_t* name;
    std::wstring message;
  } cases[] = {
      {L"PngBomb", L"The picture \"panel.png\" of the skin \"PngBomb\" is refused: 30000 x 30000 pixels, more than the 8 "
                   L"million a skin picture may have."},
      {L"OverOne", L"The picture \"master.bmp\" of the skin \"OverOne\" is refused: 2829 x 2829 pixels, more than the 8 "
                   L"million a skin picture may have."},
      {L"Three", L"The picture \"big2.bmp\" of the skin \"Three\" is refused: with it the skin's pictures would take "
                 L"more than 16 million pixels."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(vcl::WideToUtf8(c.name));
    const LoadOutcome outcome = Load(skins, c.name);
    ASSERT_TRUE(outcome.ran);
    EXPECT_LT(outcome.added, kMostAdded) << outcome;
    EXPECT_EQ(outcome.messages, std::vector<std::wstring>{c.message});
  }
}

TEST(PackBombs, TheLargestSkinAllowedLoadsWithinTheMemoryAllowedAndADescriptionBeyondItIsRefused) {
  TempSkins skins;
  // The description at its size allowed, of the smallest sections there are, and two pictures
  // that take the skin's pictures to nearly what they may take together.
  std::string description = kDescription;
  description += "[BIG]\r\nBORDERSMASK=!big.bmp!1!0!2\r\n";
  for (int i = 0; description.size() < kMaxDescriptionSize - 20; ++i) description += "[S" + std::to_string(i) + "]\r\n";
  description.resize(static_cast<std::size_t>(kMaxDescriptionSize), ';');
  std::vector<PackEntrySpec> largest =
      Replaced(SmallSkin(description), "master.bmp", GreyBmp32("master.bmp", 2828, 2828));
  largest.push_back(GreyBmp32("big.bmp", 2820, 2820));
  skins.WriteFile(L"Largest.pmz", WritePack(largest));
  description.push_back(';');
  skins.WriteFile(L"Longer.pmz", WritePack(SmallSkin(description)));

  const LoadOutcome outcome = Load(skins, L"Largest");
  ASSERT_TRUE(outcome.ran);
  EXPECT_EQ(outcome.messages, std::vector<std::wstring>{}) << outcome;
  EXPECT_LT(outcome.added, kMostAdded) << outcome;
  EXPECT_GT(outcome.added, std::int64_t{64} << 20) << "the pictures were not loaded: " << outcome;

  const LoadOutcome longer = Load(skins, L"Longer");
  ASSERT_TRUE(longer.ran);
  EXPECT_EQ(longer.messages, std::vector<std::wstring>{L"The skin \"Longer\" is refused: its description Options.dat in " +
                                                         PackName(skins, L"Longer") + L" has 1048577 bytes, more than the "
                                                         L"1048576 a skin description may have."});
}

}  // namespace
}  // namespace skin_layered::test
