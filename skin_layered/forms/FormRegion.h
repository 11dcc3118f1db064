// TqvFormRegion, a skinned form's window region: the window image's rectangle less the
// transparent corner pixels of the skin's border images, the client part alone while a border
// window draws the frame, or the part of a maximised window on its monitor. It keeps the
// corner rectangles and whether the region must be worked out again. The form's provider owns
// it and gives it what it asks through TqvFormRegionHost.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;
class TqvBorderForm;
class TqvFormMeasures;
class TqvImageMeasures;

// What the region asks of the form's provider.
class TqvFormRegionHost {
 public:
  virtual ~TqvFormRegionHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, skin data, state word and whether it
  // paints the frame.
  virtual TsSkinProviderBase* FrameProvider() = 0;
  // The border form when extended borders are in force; nil otherwise.
  virtual TqvBorderForm* ExtBorderForm() const = 0;
  // The form's measures (whether it has a border; the title's section index and name, whose
  // own border mask has corners too) and the window image's.
  virtual const TqvFormMeasures& Measures() const = 0;
  virtual const TqvImageMeasures& WindowImage() const = 0;
  // An animation shows a snapshot in place of the form: its region stays as it is.
  virtual bool ShowsSnapshot() const = 0;
  // The window image was painted with the client area at least once.
  virtual bool ImagePaintedWhole() const = 0;
};

class TqvFormRegion {
 public:
  explicit TqvFormRegion(TqvFormRegionHost& Host) : host_(Host) {}
  TqvFormRegion(const TqvFormRegion&) = delete;
  TqvFormRegion& operator=(const TqvFormRegion&) = delete;

  bool RgnChanged = true;            // the region must be rebuilt
  bool SettingRgn = false;           // inside UpdateFormRgn's SetWindowRgn
  bool KeepRegion = false;           // the form keeps its region when the skin goes
  std::vector<vcl::TRect> RgnRects;  // transparent corner pixels, window coordinates

  // RgnRects rebuilt from the skin: the form section's border mask (top and bottom corners)
  // and the title section's.
  void UpdateRgnRects();
  // The window image's rectangle at (DX, DY) less the corner rectangles; the caller owns it.
  HRGN MakeRgn(int DX, int DY);
  // The region decided and given to the form's window (nothing while the provider leaves the
  // frame to the system, the form stands still, or a borderless form keeps its own). A region
  // that would be the whole window is none. With Repaint the system repaints the frame: through
  // the region set, or, where none was needed, by invalidating it unless FrameWhenNone is off
  // (the caller paints it). True when the window's region was set.
  bool UpdateFormRgn(bool Repaint, bool FrameWhenNone = true);

 private:
  TqvFormRegionHost& host_;
};

}  // namespace skin_layered
