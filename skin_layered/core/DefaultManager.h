// The default skin manager (the first one created) as the code below the manager layer sees
// it: the skin tables it holds and the options the painting routines read. The manager
// layer installs its default manager here when one becomes the default and removes it when
// it goes; while none is installed there is no default manager.
#pragma once

namespace skin_layered {

class TsLoadedSkin;

class TqvDefaultManager {
 public:
  virtual ~TqvDefaultManager() = default;

  // The manager's skin tables (empty while no skin is loaded).
  virtual const TsLoadedSkin& Skin() const = 0;
  // The option that swaps the hot and disabled images of multi-state glyphs.
  virtual bool StdGlyphsOrder() const = 0;
  // Whether the manager skins at all (its skin is switched on); a manager that does not say
  // is active.
  virtual bool Active() const { return true; }
  // The option that makes 32-bit glyphs whose alpha bytes are all 0 draw opaque (off by
  // default).
  virtual bool CheckEmptyAlpha() const { return false; }
  // The button setting that moves a pressed button's content by a pixel (on by default).
  virtual bool ShiftContentOnClick() const { return true; }
};

// The installed default manager, nil when there is none.
TqvDefaultManager* DefaultManager();
// Its skin tables, nil when there is none.
const TsLoadedSkin* DefaultSkin();
// Installs the default manager (not owned; nil for none) and answers the one before.
TqvDefaultManager* SetDefaultManager(TqvDefaultManager* Manager);

}  // namespace skin_layered
