// TqvFormMeasures, the measures of a skinned form read from the skin and the form's window:
// the caption's and borders' heights and widths, the menu line, the title icon, the system
// buttons shown and the skin's title section. The form's provider owns it, keeps the caches of
// the title's skin index and of the menu lines (cleared when the skin or the menu changes) and
// gives it what it asks through TqvFormMeasuresHost. The provider's partners read the measures
// here through their hosts; the layers below read the caption's and the title's heights through
// the provider base (TqvProviderMeasures).
#pragma once

#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/FormServices.h"
#include "skin_layered/forms/ProviderOptions.h"

namespace vcl {
class TCustomForm;
}  // namespace vcl

namespace skin_layered {

class TsSkinManager;
class TsSystemMenu;
class TsTitleIcon;
class TqvBorderForm;
class TqvFormScrollBars;

// What the measures ask of the form's provider.
class TqvFormMeasuresHost {
 public:
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
  // Provider gives the form and the published settings the measures read (grip, application
  // icon, title section); TitleSkinIndex and MenuLineCount are the provider's caches (-1: look
  // up again).
  TqvFormMeasures(TqvFormMeasuresHost& Host, const TqvProviderOptions& Provider, int& TitleSkinIndex,
                  int& MenuLineCount)
      : host_(Host), provider_(Provider), title_skin_index_(TitleSkinIndex), menu_line_count_(MenuLineCount) {}
  TqvFormMeasures(const TqvFormMeasures&) = delete;
  TqvFormMeasures& operator=(const TqvFormMeasures&) = delete;
  virtual ~TqvFormMeasures() = default;

  // The partners read the measures through their hosts, so a host of a test's own may answer
  // its own: every measure is virtual.
  // ---- sizes (the form needs its window)
  int CaptionHeight(bool CheckSkin) const override;
  virtual int SysCaptionHeightOfForm() const;
  // The system buttons the caption shows (close, maximise, minimise, help).
  virtual int VisibleSysButtons() const;
  // One picture's width of a title-button glyph image (21 without a valid one).
  virtual int TitleButtonGlyphWidth(int MaskIndex) const;
  // One state's height of the caption glyph image (21 without a valid one).
  virtual int CaptionGlyphHeight(int MaskIndex) const;
  // The frame's width the skin gives and the one the system gives, both with the form's
  // BorderWidth.
  virtual int BorderWidthDef() const;
  virtual int BorderWidthSys() const;
  // The form's own scroll bars in the frame: the skinned vertical bar's width, the horizontal
  // one's height; 0 when not shown.
  virtual vcl::TSize ScrollBarsExtent() const;
  virtual bool HasBorder() const;
  virtual bool HasMenuLine() const;
  virtual bool GripVisible() const;
  virtual int TitleIconWidth() const;
  virtual int TitleIconHeight() const;

  // ---- the menu line's and the skin's title
  int TitleHeightByState(bool Zoomed) const override;
  virtual int MenuHeight() const;
  virtual int MenuLinesCount() const;
  // Whether the menu line shows any item (never for dialogs and MDI children).
  virtual bool MenuVisible() const;
  virtual bool IconVisible() const;
  virtual vcl::String TitleSkinSection() const;
  virtual int GetTitleSkinIndex() const;
  virtual int BorderIconsTop() const;

 private:
  vcl::TCustomForm* Form() const { return provider_.Form; }

  TqvFormMeasuresHost& host_;
  const TqvProviderOptions& provider_;
  int& title_skin_index_;
  int& menu_line_count_;
};

}  // namespace skin_layered
