// A page control of another library that publishes pictures for its tabs, as the skin's tab
// pictures are given to such controls.
#pragma once

#include <memory>

#include "classlib/controls/Controls.h"
#include "classlib/graphics/Graphics.h"

namespace winskin::test {

// A page control of another library: it shows pictures behind its tabs.
class TPicturePages : public vcl::TCustomControl {
  VCL_CLASS(TPicturePages, TCustomControl)
 public:
  explicit TPicturePages(vcl::TComponent* AOwner)
      : TCustomControl(AOwner), normal_(std::make_unique<vcl::TPicture>()), active_(std::make_unique<vcl::TPicture>()) {}
  vcl::TPicture* TabBackGround() const { return normal_.get(); }
  void SetTabBackGround(vcl::TPicture* Value) { normal_->Assign(Value); }
  vcl::TPicture* TabBackGroundActive() const { return active_.get(); }
  void SetTabBackGroundActive(vcl::TPicture* Value) { active_->Assign(Value); }

 private:
  std::unique_ptr<vcl::TPicture> normal_, active_;
};
// (Its published properties are described in skin_tab_test.cpp.)

}  // namespace winskin::test
