#include "skin_layered/manager/SysColors.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_layered/core/CodePatch.h"
#include "skin_layered/paint/pixels/Blending.h"

namespace skin_layered {
namespace {

// A table entry: the colour in the low 32 bits, kSubstituted when the skin answers.
constexpr std::uint64_t kSubstituted = std::uint64_t{1} << 32;
constexpr int kSysColorCount = COLOR_MENUBAR + 1;

// The pen colours that are replaced, in the order of the pen table.
constexpr std::array<COLORREF, 10> kPenColors{5, 6, 13, 14, 15, 16, 21, 22, 0xC0C0C0, 0xF0F0F0};
// The indexes whose brushes are replaced.
constexpr std::array<int, 4> kBrushIndexes{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};

DWORD WINAPI SkinGetSysColor(int Index);
HBRUSH WINAPI SkinGetSysColorBrush(int Index);
HPEN WINAPI SkinCreatePen(int Style, int Width, COLORREF Color);

struct TSubstitution {
  std::array<std::atomic<std::uint64_t>, kSysColorCount> Colors{};
  std::array<std::atomic<std::uint64_t>, kPenColors.size()> Pens{};

  // Every brush handed out stays valid for the rest of the run: callers of the system's
  // function may keep a system brush and never free it. A colour gets one brush, reused when
  // a later skin brings the colour back.
  std::mutex BrushLock;
  std::vector<std::pair<COLORREF, vcl::UniqueBrush>> Brushes;

  std::mutex SwitchLock;
  std::unique_ptr<TCodePatch> GetSysColorPatch;
  std::unique_ptr<TCodePatch> GetSysColorBrushPatch;
  std::unique_ptr<TCodePatch> CreatePenPatch;

  // The patches are prepared once and kept: their slots hold the originals for good.
  void Prepare() {
    if (GetSysColorPatch) return;
    GetSysColorPatch = std::make_unique<TCodePatch>(reinterpret_cast<const void*>(&::GetSysColor),
                                                    reinterpret_cast<const void*>(&SkinGetSysColor));
    GetSysColorBrushPatch = std::make_unique<TCodePatch>(reinterpret_cast<const void*>(&::GetSysColorBrush),
                                                         reinterpret_cast<const void*>(&SkinGetSysColorBrush));
    CreatePenPatch = std::make_unique<TCodePatch>(reinterpret_cast<const void*>(&::CreatePen),
                                                  reinterpret_cast<const void*>(&SkinCreatePen));
  }

  HBRUSH BrushOf(COLORREF Color) {
    std::lock_guard<std::mutex> guard(BrushLock);
    for (const auto& [color, brush] : Brushes)
      if (color == Color) return brush.get();
    Brushes.emplace_back(Color, vcl::UniqueBrush(CreateSolidBrush(Color)));
    return Brushes.back().second.get();
  }
};

TSubstitution& State() {
  static TSubstitution state;
  return state;
}

bool Substituted(std::uint64_t Entry) { return (Entry & kSubstituted) != 0; }
COLORREF ColorOf(std::uint64_t Entry) { return static_cast<COLORREF>(Entry & 0xFFFFFFFF); }

DWORD WINAPI SkinGetSysColor(int Index) {
  TSubstitution& s = State();
  if (Index >= 0 && Index < kSysColorCount) {
    const std::uint64_t entry = s.Colors[static_cast<std::size_t>(Index)].load(std::memory_order_acquire);
    if (Substituted(entry)) return ColorOf(entry);
  }
  return s.GetSysColorPatch->Original<decltype(&::GetSysColor)>()(Index);
}

HBRUSH WINAPI SkinGetSysColorBrush(int Index) {
  TSubstitution& s = State();
  for (int index : kBrushIndexes) {
    if (index != Index) continue;
    const std::uint64_t entry = s.Colors[static_cast<std::size_t>(Index)].load(std::memory_order_acquire);
    if (Substituted(entry)) return s.BrushOf(ColorOf(entry));
  }
  return s.GetSysColorBrushPatch->Original<decltype(&::GetSysColorBrush)>()(Index);
}

HPEN WINAPI SkinCreatePen(int Style, int Width, COLORREF Color) {
  TSubstitution& s = State();
  for (std::size_t i = 0; i < kPenColors.size(); ++i) {
    if (kPenColors[i] != Color) continue;
    const std::uint64_t entry = s.Pens[i].load(std::memory_order_acquire);
    if (Substituted(entry)) Color = ColorOf(entry);
    break;
  }
  return s.CreatePenPatch->Original<decltype(&::CreatePen)>()(Style, Width, Color);
}

std::uint64_t Entry(vcl::TColor Color) { return kSubstituted | (static_cast<std::uint32_t>(Color) & 0xFFFFFF); }

vcl::TColor Mix(vcl::TColor A, vcl::TColor B, double K) {
  return static_cast<vcl::TColor>(
      MixColors(static_cast<TColorValue>(A) & 0xFFFFFF, static_cast<TColorValue>(B) & 0xFFFFFF, K));
}

}  // namespace

bool PatchSysColors() {
  TSubstitution& s = State();
  std::lock_guard<std::mutex> guard(s.SwitchLock);
  s.Prepare();
  const bool color = s.GetSysColorPatch->Apply();
  const bool brush = s.GetSysColorBrushPatch->Apply();
  const bool pen = s.CreatePenPatch->Apply();
  return color && brush && pen;
}

void UnpatchSysColors() {
  TSubstitution& s = State();
  {
    std::lock_guard<std::mutex> guard(s.SwitchLock);
    if (!s.GetSysColorPatch) return;
    s.GetSysColorPatch->Remove();
    s.GetSysColorBrushPatch->Remove();
    s.CreatePenPatch->Remove();
  }
}

bool SysColorsPatched() {
  TSubstitution& s = State();
  std::lock_guard<std::mutex> guard(s.SwitchLock);
  return s.GetSysColorPatch && s.GetSysColorPatch->Applied() && s.GetSysColorBrushPatch->Applied() &&
         s.CreatePenPatch->Applied();
}

void SetSysColorsSkin(const TsSkinColors* Colors) {
  TSubstitution& s = State();
  std::array<std::uint64_t, kSysColorCount> colors{};
  std::array<std::uint64_t, kPenColors.size()> pens{};
  if (Colors) {
    const vcl::TColor darker = Mix(Colors->GlobalColor, 0x000000, 0.8);
    const vcl::TColor lighter = Mix(Colors->GlobalColor, 0xFFFFFF, 0.8);
    colors[COLOR_WINDOW] = Entry(Colors->EditColor);
    colors[COLOR_WINDOWFRAME] = Entry(Colors->BorderColor);
    colors[COLOR_WINDOWTEXT] = Entry(Colors->EditFontColor);
    colors[COLOR_HIGHLIGHT] = Entry(Colors->FocusedHighlightColor);
    colors[COLOR_HIGHLIGHTTEXT] = Entry(Colors->FocusedHighlightFontColor);
    colors[COLOR_BTNSHADOW] = Entry(darker);
    colors[COLOR_3DDKSHADOW] = Entry(darker);
    colors[COLOR_3DLIGHT] = Entry(lighter);
    // In the order of kPenColors.
    const vcl::TColor editMix = Mix(Colors->EditFontColor, Colors->EditColor, 0.15);
    pens = {Entry(Colors->EditColor), Entry(Colors->BorderColor), Entry(Colors->FocusedHighlightColor),
            Entry(Colors->FocusedHighlightFontColor), Entry(Colors->GlobalColor), Entry(darker), Entry(darker),
            Entry(lighter), Entry(editMix), Entry(editMix)};
  }
  for (std::size_t i = 0; i < colors.size(); ++i) s.Colors[i].store(colors[i], std::memory_order_release);
  for (std::size_t i = 0; i < pens.size(); ++i) s.Pens[i].store(pens[i], std::memory_order_release);
}

}  // namespace skin_layered
