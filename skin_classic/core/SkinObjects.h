// The skin data objects of one classic skin and the read that makes them: the description
// (as element records) and the package's bitmaps become the title, button and border
// objects, the caption buttons, one object per element, the colour tables and the derived
// elements (the combo composite, its arrow and the tool bar background).
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "classlib/graphics/GraphicsHandles.h"
#include "skin_classic/data/DataSkinObjects.h"
#include "skin_classic/data/SkinDescription.h"
#include "skin_classic/io/WinSkinIni.h"
#include "skin_classic/io/WinSkinReader.h"

namespace winskin {

using skin_classic::SkinBorder;
using skin_classic::SkinElement;

class TSkinObjects {
 public:
  // The title, button and four border objects exist from the start, empty.
  TSkinObjects();
  ~TSkinObjects();
  TSkinObjects(const TSkinObjects&) = delete;
  TSkinObjects& operator=(const TSkinObjects&) = delete;

  // Reads the whole description of a loaded package into the objects (the skin data
  // component's load calls it with the package reader and the description reader open).
  // Every element object is made anew; missing sections, keys and pictures give the defaults.
  // A picture that is in the package but cannot be read is the package's fault: it is given
  // back and the objects stay as they were. Never raises for bad skin data.
  std::optional<skin_classic::SkinFault> ReadDescription(const TSkinReader& Reader, const TQuickIni& Ini);

  TDataSkinTitle* Title() const { return title_.get(); }
  TDataSkinButton* Buttons() const { return buttons_.get(); }
  TDataSkinBorder* Border(SkinBorder Which) const { return borders_[static_cast<size_t>(Which)].get(); }
  // The object of an element; nullptr when the skin has none.
  TDataSkinObject* Element(SkinElement Which) const { return elements_[static_cast<size_t>(Which)].get(); }
  // The skin can paint a window's frame: it has the title's picture (the top border). Without
  // it the frame, its caption buttons and menu bar are left to the system.
  bool HasFrame() const { return Border(SkinBorder::Top)->HasBitmap(); }
  // The caption buttons in the description's order, then the three MDI child buttons.
  const std::vector<std::unique_ptr<TDataSkinSysButton>>& SysButtons() const { return sys_buttons_; }

  const AnsiString& SkinName() const { return skin_name_; }
  // Colour table entries 0 to 18 (17: the sample colour) and whether the description gave them.
  TColor Color(int Index) const;
  bool ColorGiven(int Index) const;
  const std::vector<TColor>& ExtraColors() const { return extra_colors_; }
  const std::array<TColor, 10>& CustomColors() const { return custom_colors_; }
  // A solid brush of colour entry 3 (the face colour).
  HBRUSH Brush() const { return brush_.get(); }

  // The colour taken from the top border: the pixel at a third of its width and a third of
  // its first frame's height; DefaultSampleColor when it has no bitmap.
  TColor SampleColor() const;
  TColor DefaultSampleColor() const { return default_sample_color_; }

  // A drop-down button's arrow for its state (1 normal, 2 pressed, 3 disabled, 4 hot), centred
  // in R: the skin's glyph ("ExtraImages"), else the system's, so that the button never shows
  // a blank face.
  void DrawDropArrow(HDC DC, const TRect& R, int State) const;
  void SetDefaultSampleColor(TColor Value) { default_sample_color_ = Value; }

 private:
  void ApplyColours(const skin_classic::SkinDescription& d);
  void BuildComboComposite();
  void BuildComboArrow();
  void PaintToolbar();

  std::unique_ptr<TDataSkinTitle> title_;
  std::unique_ptr<TDataSkinButton> buttons_;
  std::array<std::unique_ptr<TDataSkinBorder>, 4> borders_;
  std::vector<std::unique_ptr<TDataSkinSysButton>> sys_buttons_;
  std::array<std::unique_ptr<TDataSkinObject>, skin_classic::kElementCount> elements_;
  AnsiString skin_name_;
  std::array<TColor, skin_classic::kColourCount> colors_{};
  std::array<bool, skin_classic::kColourCount> color_given_{};
  std::vector<TColor> extra_colors_;
  std::array<TColor, 10> custom_colors_{};
  vcl::UniqueBrush brush_;
  TColor default_sample_color_;
};

// The system colours the description falls back on, by colour-table entry.
skin_classic::DescriptionDefaults SystemDescriptionDefaults();

}  // namespace winskin
