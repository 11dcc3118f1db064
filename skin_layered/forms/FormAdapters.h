// TqvFormAdapters, what a skinned form's provider owns to skin what lies inside the form: the
// control adapter that gives the form's controls their window adapters (made when the form is
// skinned, freed when the skin goes) and an MDI frame's client object. The form's provider
// owns it and gives it what it asks through TqvFormAdaptersHost, which is also what the two
// objects ask of the provider themselves.
#pragma once

#include "classlib/controls/Controls.h"
#include "skin_layered/forms/CtrlAdapter.h"
#include "skin_layered/forms/MDIForm.h"

namespace skin_layered {

class TsSkinManager;

// What the form's adapters ask of the form's provider.
class TqvFormAdaptersHost : public TqvAdapterOwner, public TqvMdiFrameOwner {
 public:
  virtual ~TqvFormAdaptersHost() = default;
  virtual TsSkinManager* SkinManager() const = 0;
  // The provider becomes the application's MDI frame provider.
  virtual void BecomeMDIProvider() = 0;
};

class TqvFormAdapters {
 public:
  explicit TqvFormAdapters(TqvFormAdaptersHost& Host) : host_(Host) {}
  ~TqvFormAdapters() { Free(); }
  TqvFormAdapters(const TqvFormAdapters&) = delete;
  TqvFormAdapters& operator=(const TqvFormAdapters&) = delete;

  // The control adapter giving the form's controls their window adapters; nil while the form
  // is not skinned.
  TqvCtrlAdapter* CtrlAdapter() const { return ctrl_adapter_; }
  // An MDI frame's client object; nil for other forms and while not skinned.
  TsMDIForm* MDIForm() const { return mdi_form_; }

  // The control adapter attaches adapters to all of the form's controls; made first when
  // there is none (nothing while designed or while the form goes).
  void AddAllAdapters();
  // A message passed to the control adapter's adapted controls (not while designed).
  void SendToAdapter(vcl::TMessage& Message);
  // scmRemoveSkin with the manager to the adapted controls, then the control adapter freed.
  void RemoveCtrlAdapter();
  // An MDI frame's client object: with Value made (the provider becomes the MDI provider) and
  // connected, or dropped when the client window is not skinned; without, freed.
  void MDIClientObject(bool Value);
  // Both freed, without a word to the adapted controls.
  void Free();

 private:
  TqvFormAdaptersHost& host_;
  TqvCtrlAdapter* ctrl_adapter_ = nullptr;  // owned
  TsMDIForm* mdi_form_ = nullptr;           // owned
};

}  // namespace skin_layered
