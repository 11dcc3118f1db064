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
};

// The installed default manager, nil when there is none.
TqvDefaultManager* DefaultManager();
// Its skin tables, nil when there is none.
const TsLoadedSkin* DefaultSkin();
// Installs the default manager (not owned; nil for none) and answers the one before.
TqvDefaultManager* SetDefaultManager(TqvDefaultManager* Manager);

}  // namespace skin_layered
