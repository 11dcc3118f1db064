// Hit testing on a skinned form's frame and the mouse on its title: which part of the frame
// lies under a point, the hot and pressed title buttons, and clicks on them. Until the frame's
// elements are built every message goes to the form's own procedure.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

void TsSkinProvider::WMNCHitTest(vcl::TMessage& Message) {
  if (AutoCreated) {
    AutoCreated = false;
    PrepareForm();
  }
  CallOldWndProc(Message);
}
void TsSkinProvider::WMNCLButtonDown(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCLButtonUp(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCLButtonDblClk(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCRButtonDown(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCRButtonUp(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMMouseMove(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMMouseLeave(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMMouseEnter(vcl::TMessage& Message) { CallOldWndProc(Message); }

}  // namespace skin_layered
