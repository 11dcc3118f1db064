// TqvFormMeasures, the measures of a skinned form read from the skin and the form's window:
// the caption's and borders' heights and widths, the menu line, the title icon, the system
// buttons shown and the skin's title section. The form's provider owns it, keeps the caches of
// the title's skin index and of the menu lines (cleared when the skin or the menu changes) and
// gives it what it asks through TqvFormMeasuresHost.
#pragma once

#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/FormServices.h"

namespace vcl {
class TCustomForm;
}  // namespace vcl

namespace skin_layered {

class TsSkinManager;
class TsSystemMenu;
class TsTitleIcon;
class TqvBorderForm;
class TqvFormScrollBars;
class TqvProviderOptions;

// What the measures ask of the form's provider.
class TqvFormMeasuresHost {
 public:
  virtual vcl::TCustomForm* MeasuredForm() const = 0;
  // The published settings the measures read (grip, application icon, title section).
  virtual const TqvProviderOptions& Options() const = 0;
  virtual TsSkinManager* SkinManager() const = 0;
  // Nil without extended borders.
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  virtual TsSystemMenu* CurrentSystemMenu() const = 0;
  virtual TsTitleIcon* TitleIcon() const = 0;
  virtual TqvFormScrollBars& ScrollBars() = 0;
  virtual bool MaximizedBorderLarge() const = 0;
  // The window image's shadow margins.
  virtual const TqvImageMeasures& WindowImage() const = 0;

 protected:
  ~TqvFormMeasuresHost() = default;
};

class TqvFormMeasures : public TqvProviderMeasures {
 public:
  // TitleSkinIndex and MenuLineCount are the provider's caches (-1: look up again).
  TqvFormMeasures(TqvFormMeasuresHost& Host, int& TitleSkinIndex, int& MenuLineCount)
      : host_(Host), title_skin_index_(TitleSkinIndex), menu_line_count_(MenuLineCount) {}
  TqvFormMeasures(const TqvFormMeasures&) = delete;
  TqvFormMeasures& operator=(const TqvFormMeasures&) = delete;
  virtual ~TqvFormMeasures() = default;

  // ---- sizes (the form needs its window)
  int CaptionHeight(bool CheckSkin) const override;
  int SysCaptionHeightOfForm() const;
  // The system buttons the caption shows (close, maximise, minimise, help).
  int VisibleSysButtons() const;
  // One picture's width of a title-button glyph image (21 without a valid one).
  int TitleButtonGlyphWidth(int MaskIndex) const;
  // One state's height of the caption glyph image (21 without a valid one).
  int CaptionGlyphHeight(int MaskIndex) const;
  int BorderWidthDef() const;
  int BorderWidthSys() const;
  vcl::TSize ScrollBarsExtent() const;
  bool HasBorder() const;
  bool HasMenuLine() const;
  bool GripVisible() const;
  int TitleIconWidth() const;
  int TitleIconHeight() const;

  // ---- the menu line's and the skin's title
  int TitleHeightByState(bool Zoomed) const override;
  int MenuHeight() const;
  int MenuLinesCount() const;
  // Whether the menu line shows any item (never for dialogs and MDI children).
  bool MenuVisible() const;
  bool IconVisible() const;
  vcl::String TitleSkinSection() const;
  int GetTitleSkinIndex() const;
  int BorderIconsTop() const;

 private:
  vcl::TCustomForm* Form() const { return host_.MeasuredForm(); }

  TqvFormMeasuresHost& host_;
  int& title_skin_index_;
  int& menu_line_count_;
};

}  // namespace skin_layered
