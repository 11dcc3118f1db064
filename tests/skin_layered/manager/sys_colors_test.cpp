// System-colour substitution of the process's own GetSysColor, GetSysColorBrush and CreatePen
// (called through GetProcAddress, as any module of the process calls them).
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>

#include "skin_layered/manager/SysColors.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered::test {
namespace {

using GetSysColorFn = DWORD(WINAPI*)(int);
using GetSysColorBrushFn = HBRUSH(WINAPI*)(int);
using CreatePenFn = HPEN(WINAPI*)(int, int, COLORREF);

template <class F>
F Export(const wchar_t* module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(module), name)));
}

const auto kGetSysColor = Export<GetSysColorFn>(L"user32.dll", "GetSysColor");
const auto kGetSysColorBrush = Export<GetSysColorBrushFn>(L"user32.dll", "GetSysColorBrush");
const auto kCreatePen = Export<CreatePenFn>(L"gdi32.dll", "CreatePen");

TsSkinColors SkinColors() {
  TsSkinColors c;
  c.GlobalColor = 0x405060, c.EditColor = 0x123456, c.EditFontColor = 0x010203, c.BorderColor = 0x0A0B0C;
  c.FocusedHighlightColor = 0x220044, c.FocusedHighlightFontColor = 0x00EE11;
  return c;
}

template <class Log, class Handle>
Log LogOf(Handle object) {
  Log log{};
  GetObjectW(object, sizeof log, &log);
  return log;
}
COLORREF PenColor(HPEN pen) { return LogOf<LOGPEN>(pen).lopnColor; }
COLORREF BrushColor(HBRUSH brush) { return LogOf<LOGBRUSH>(brush).lbColor; }

// The substitution switched on for the scope with the test colours, and off afterwards.
class Substituted {
 public:
  explicit Substituted(const TsSkinColors& given) : colors(given) {
    SetSysColorsSkin(&colors);
    ok = PatchSysColors();
  }
  ~Substituted() {
    UnpatchSysColors();
    SetSysColorsSkin(nullptr);
  }
  TsSkinColors colors;
  bool ok = false;
};

TEST(SysColors, SkinColoursWhileOnSystemColoursWhenOff) {
  const DWORD systemWindow = kGetSysColor(COLOR_WINDOW);
  const DWORD systemFace = kGetSysColor(COLOR_BTNFACE);
  const TsSkinColors colors = SkinColors();
  {
    Substituted on(colors);
    ASSERT_TRUE(on.ok);
    EXPECT_TRUE(SysColorsPatched());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), 0x123456u);  // the program's own import too
    const DWORD darker = 0x33404C;  // the global colour, each channel x 0.8, truncated
    const std::pair<int, DWORD> cases[] = {{COLOR_WINDOW, 0x123456},        {COLOR_WINDOWTEXT, 0x010203},
                                           {COLOR_WINDOWFRAME, 0x0A0B0C},   {COLOR_HIGHLIGHT, 0x220044},
                                           {COLOR_HIGHLIGHTTEXT, 0x00EE11}, {COLOR_BTNSHADOW, darker},
                                           {COLOR_3DDKSHADOW, darker},      {COLOR_3DLIGHT, MixColors(0x405060, 0xFFFFFF, 0.8)}};
    for (const auto& [index, colour] : cases) EXPECT_EQ(kGetSysColor(index), colour) << index;
    // Indexes outside the table: the system's answer, and the patch stays.
    EXPECT_EQ(kGetSysColor(COLOR_BTNFACE), systemFace);
    EXPECT_EQ(kGetSysColor(1000), GetSysColor(1000));
    EXPECT_EQ(kGetSysColor(-1), GetSysColor(-1));
    EXPECT_EQ(kGetSysColor(COLOR_WINDOW), 0x123456u);
    EXPECT_TRUE(SysColorsPatched());

    // Without a default manager the system's colours come back though the patch is on.
    SetSysColorsSkin(nullptr);
    EXPECT_EQ(kGetSysColor(COLOR_WINDOW), systemWindow);
    SetSysColorsSkin(&colors);
    EXPECT_EQ(kGetSysColor(COLOR_WINDOW), 0x123456u);
    EXPECT_TRUE(PatchSysColors());  // a second switch-on changes nothing
    EXPECT_EQ(kGetSysColor(COLOR_WINDOW), 0x123456u);
  }
  EXPECT_FALSE(SysColorsPatched());
  EXPECT_EQ(kGetSysColor(COLOR_WINDOW), systemWindow);
  UnpatchSysColors();  // off twice
  EXPECT_EQ(kGetSysColor(COLOR_WINDOW), systemWindow);
}

TEST(SysColors, OneBrushPerColourAndThePensOfTheReplacedColours) {
  const HBRUSH systemFace = kGetSysColorBrush(COLOR_BTNFACE);
  Substituted on(SkinColors());
  ASSERT_TRUE(on.ok);
  const HBRUSH window = kGetSysColorBrush(COLOR_WINDOW);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(BrushColor(window), 0x123456u);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(kGetSysColorBrush(COLOR_WINDOW), window);
  EXPECT_EQ(BrushColor(kGetSysColorBrush(COLOR_HIGHLIGHTTEXT)), 0x00EE11u);
  EXPECT_EQ(BrushColor(kGetSysColorBrush(COLOR_WINDOWTEXT)), 0x010203u);
  EXPECT_EQ(kGetSysColorBrush(COLOR_BTNFACE), systemFace);  // not in the table
  EXPECT_EQ(kGetSysColorBrush(COLOR_WINDOWFRAME), GetSysColorBrush(COLOR_WINDOWFRAME));
  const COLORREF editMix = MixColors(0x010203, 0x123456, 0.15);
  const struct {
    COLORREF asked, given;
  } cases[] = {{5, 0x123456}, {6, 0x0A0B0C}, {13, 0x220044}, {14, 0x00EE11}, {15, 0x405060},
               {16, MixColors(0x405060, 0, 0.8)}, {21, MixColors(0x405060, 0, 0.8)},
               {22, MixColors(0x405060, 0xFFFFFF, 0.8)}, {0xC0C0C0, editMix}, {0xF0F0F0, editMix},
               {0x123457, 0x123457}, {0, 0}};
  for (const auto& c : cases) {
    HPEN pen = kCreatePen(PS_SOLID, 2, c.asked);
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(PenColor(pen), c.given) << std::hex << c.asked;
    DeleteObject(pen);
  }

  // A new skin: brushes of its colours; the brushes handed out before stay valid (a caller may
  // keep a system brush for good), also once the substitution is off.
  TsSkinColors other = SkinColors();
  other.EditColor = 0x654321;
  SetSysColorsSkin(&other);
  const HBRUSH changed = kGetSysColorBrush(COLOR_WINDOW);
  EXPECT_EQ(BrushColor(changed), 0x654321u);
  EXPECT_EQ(kGetSysColorBrush(COLOR_WINDOW), changed);
  EXPECT_EQ(GetObjectType(window), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(BrushColor(window), 0x123456u);
  // The first colour again: its brush again.
  SetSysColorsSkin(&on.colors);
  EXPECT_EQ(kGetSysColorBrush(COLOR_WINDOW), window);
  UnpatchSysColors();
  EXPECT_EQ(GetObjectType(changed), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(BrushColor(changed), 0x654321u);
}

// Calls from another thread while the main one switches the substitution on and off: always
// one of the two answers. CreatePen's entry is several instructions: the other threads are held
// while it changes.
TEST(SysColors, AnotherThreadCallingWhilePatching) {
  const TsSkinColors colors = SkinColors();
  auto race = [&](int rounds, const std::function<bool()>& callGivesOneOfTheTwo) {
    SetSysColorsSkin(&colors);
    std::atomic<bool> stop{false};
    std::atomic<long long> calls{0}, wrong{0};
    std::thread caller([&] {
      for (; !stop.load(); ++calls)
        if (!callGivesOneOfTheTwo()) ++wrong;
    });
    while (calls.load() == 0) std::this_thread::yield();
    bool switched = true;
    for (int i = 0; i < rounds && switched; ++i) {
      switched = PatchSysColors();
      UnpatchSysColors();
    }
    stop = true;
    caller.join();
    SetSysColorsSkin(nullptr);
    EXPECT_TRUE(switched);
    EXPECT_EQ(wrong.load(), 0);
  };
  const DWORD system = kGetSysColor(COLOR_WINDOW);
  race(1000, [&] {
    const DWORD c = kGetSysColor(COLOR_WINDOW);
    return c == system || c == 0x123456u;
  });
  race(200, [] {
    HPEN pen = kCreatePen(PS_SOLID, 1, 5);
    const COLORREF c = PenColor(pen);
    DeleteObject(pen);
    return c == 5 || c == 0x123456;
  });
}

}  // namespace
}  // namespace skin_layered::test
