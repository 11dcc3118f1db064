// Tab controls (window class "TTabControl", on the system's SysTabControl32): a row of tabs
// named by the Tabs list above an area for other controls; choosing a tab changes TabIndex and
// nothing else (unlike a page control, no page is shown).
#pragma once

#include <memory>

#include "classlib/comctrls/ComCtrlsPages.h"
#include "classlib/rtl/StringList.h"

namespace vcl {

class TTabControl : public TCustomTabControl {
  VCL_CLASS(TTabControl, TCustomTabControl)
 public:
  explicit TTabControl(TComponent* AOwner);
  ~TTabControl() override;

  TStrings* Tabs() const;
  void SetTabs(TStrings* Value);
  void SetTabIndex(int Value) override;

 protected:
  void Loaded() override;

 private:
  void TabsChanged(TObject* Sender);

  std::unique_ptr<TStringList> tabs_;
  int loading_index_ = -1;  // read before the tabs
};

}  // namespace vcl
