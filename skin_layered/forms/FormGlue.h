// A skinned form's glued forms and snapping. The forms named in GluedForms follow the form
// while they touch it (the process-wide glued list, GluedForms.h, keeps who drags whom at what
// offset), and with ScreenSnap the form being moved snaps to the edges of the other skinned
// forms and of the work area within SnapBuffer pixels. Its provider owns it and publishes its
// settings; it sees the provider only through the provider's base (the form, the border form
// and the shadow) and finds another form's glue through GlueOf.
#pragma once

#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/StringList.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

class TqvFormGlue {
 public:
  // Another form's glue; nil for a form without a provider.
  using TGlueOf = TqvFormGlue* (*)(vcl::TCustomForm* Form);
  TqvFormGlue(TsSkinProviderBase& Provider, TGlueOf GlueOf);
  TqvFormGlue(const TqvFormGlue&) = delete;
  TqvFormGlue& operator=(const TqvFormGlue&) = delete;

  // The names of the forms that follow this one.
  vcl::TStringList* Names() const { return names_.get(); }
  bool ScreenSnap = false;
  int SnapBuffer = 10;

  // The records of the named forms that touch this form made or refreshed; one that no longer
  // touches is dropped and stops following.
  void Update();
  // The glued forms moved along with this form (to where the border window shows it, with
  // WithBorderForm).
  void MoveAlong(bool WithBorderForm);
  // A new top-left position corrected to the edges of the other forms and of the work area
  // within SnapBuffer.
  void Snap(int& X, int& Y);
  // The form's outer rectangle from its window rectangle: grown (or shrunk) by what a border
  // form adds on each side.
  vcl::TRect AdjustForBorderForm(vcl::TRect R, bool Grow) const;
  // The top of the work area of the form's monitor.
  int WorkAreaTop() const;

 private:
  // Another form's outer rectangle, through its own glue.
  vcl::TRect OuterRect(vcl::TCustomForm* Other) const;

  TsSkinProviderBase& provider_;
  TGlueOf glue_of_;
  std::unique_ptr<vcl::TStringList> names_;
};

}  // namespace skin_layered
