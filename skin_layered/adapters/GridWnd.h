// The adapters of grids: TqvGridWnd for the library's string and draw grids and other vendors'
// grids with the same kind of colour properties, TqvGridEhWnd for one vendor's grid with its
// own set of row, line, indicator and title parameters. Beyond the edit adapter they write the
// skin's colours into the grid's published colour properties, found by name (a property the
// grid does not have is left out), and put each one back to exactly the value it had.
//
// Neither switches the grid's visual style off. A library grid is made anew when the skin
// goes, so that it paints itself without it.
#pragma once

#include <windows.h>

#include <span>
#include <string_view>

#include "skin_layered/adapters/EditWnd.h"
#include "skin_layered/adapters/PropertyPath.h"

namespace skin_layered {

// The skin's colours a grid's properties take.
struct TqvGridColors {
  vcl::TColor Global = 0;        // g: the skin's global colour
  vcl::TColor GlobalFont = 0;    // the global font colour
  vcl::TColor Edit = 0;          // e: the active edit colour
  vcl::TColor EditFont = 0;      // f: the active edit font colour
  vcl::TColor Border = 0;        // b: GLOBALINFO's "BORDERCOLOR"
  vcl::TColor Highlight = 0;     // h: the focused highlight
  vcl::TColor HighlightFont = 0;
  vcl::TColor InfoSection = 0;   // the GLOBALINFO section's colour
  vcl::TColor SectionFont = 0;   // the control section's normal font colour
  vcl::TColor EvenRow = 0;       // "EDITBG_EVEN"
  vcl::TColor OddRow = 0;        // "EDITBG_ODD"
};

// One colour property: its path, whether only grids with "ControlLook" have it, and the
// value it takes.
struct TqvGridProperty {
  std::wstring_view Path;
  bool WithControlLook;
  int64_t (*Value)(const TqvGridColors& Colors);
};

// Mix(a, b, k): a x k + b x (1 - k) per channel.
vcl::TColor MixColor(vcl::TColor A, vcl::TColor B, double K);

class TqvGridWnd : public TqvEditWnd {
  VCL_CLASS(TqvGridWnd, TqvEditWnd)
 public:
  using TqvEditWnd::TqvEditWnd;

  void SaveStdParams() override;
  void RestoreStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;

  // The value the property at Path had before the skin; nothing when the grid lacks it.
  std::optional<int64_t> SavedValue(std::wstring_view Path) const { return saved_.Saved(Path); }

 protected:
  bool WantsVisualStyleOff() const override { return false; }
  // The properties of a table kept, and written from the skin.
  void SaveProperties(std::span<const TqvGridProperty> Rows);
  void ApplyProperties(std::span<const TqvGridProperty> Rows, const TqvGridColors& Colors);
  // The skin's colours now; false without a valid skin.
  bool SkinColors(TqvGridColors& Colors) const;
  // The owner control, unless it is being destroyed.
  vcl::TControl* LiveControl() const;

  TqvSavedProperties saved_;

 private:
  void OnDataScroll(vcl::TMessage& Message);
  // The skin went: a library grid is made anew, without the skin.
  void RecreateLibraryGrid(const vcl::TMessage& Message);
};

class TqvGridEhWnd : public TqvGridWnd {
  VCL_CLASS(TqvGridEhWnd, TqvGridWnd)
 public:
  using TqvGridWnd::TqvGridWnd;

  void SaveStdParams() override;
  void ApplySkinParams() override;
  void WndProc(vcl::TMessage& Message) override;
};

}  // namespace skin_layered
