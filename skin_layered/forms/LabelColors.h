// TqvLabelColors, the colours a skinned form's labels and client take from the skin: a label
// takes the skin's label colour (see-through when it or the skin asks so) and has its own colour,
// ParentFont and opacity back when the skin goes; the form's client takes the skin's global
// colour. The form's provider owns it, forwards the free notices of the labels it recoloured and
// gives it what it asks through TqvLabelColorsHost.
#pragma once

#include <vector>

#include "classlib/graphics/GraphicsColors.h"

namespace vcl {
class TComponent;
class TCustomLabel;
}  // namespace vcl

namespace skin_layered {

class TsSkinManager;
class TsSkinProviderBase;

// What the label colours ask of the form's provider.
class TqvLabelColorsHost {
 public:
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider as the layers below know it: its form, and the component told when a
  // recoloured label is freed.
  virtual TsSkinProviderBase* FrameProvider() = 0;

 protected:
  ~TqvLabelColorsHost() = default;
};

class TqvLabelColors {
 public:
  explicit TqvLabelColors(TqvLabelColorsHost& Host) : host_(Host) {}
  TqvLabelColors(const TqvLabelColors&) = delete;
  TqvLabelColors& operator=(const TqvLabelColors&) = delete;

  // A label (not one tagged 0x100) takes the skin's label colour, remembering its own, or
  // gets its own back.
  void SetLabelColor(vcl::TCustomLabel* Label, bool Skinned);
  // The form's colour set to the skin's global colour (nothing without a manager).
  void ApplyGlobalColor();
  // Every label recoloured for the skin gets its own colour back.
  void RestoreLabelColors();
  // A freed component is no longer a recoloured label.
  void Forget(vcl::TComponent* AComponent);
  // The free notices asked for the recoloured labels are given up and the labels forgotten
  // (their colours stay).
  void Release();

 private:
  // A recoloured label's own colour and ParentFont, and whether it was opaque.
  struct TSavedLabel {
    vcl::TCustomLabel* Label;
    vcl::TColor Color;
    bool ParentFont;
    bool Opaque;
  };

  TqvLabelColorsHost& host_;
  std::vector<TSavedLabel> labels_;
};

}  // namespace skin_layered
