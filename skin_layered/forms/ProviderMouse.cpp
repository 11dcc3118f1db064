// Hit testing on a skinned form's frame and the mouse on its title: which part of the frame
// lies under a point, the hot and pressed title elements, and clicks on them. The states of
// the title elements are kept here; until the skinned hit test is built the form's own
// procedure answers for every point, so no element turns hot under the mouse.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

int TsSkinProvider::HitTest(vcl::TMessage& Message) {
  vcl::TMessage test{WM_NCHITTEST, 0, Message.LParam, 0};
  CallOldWndProc(test);
  return static_cast<int>(test.Result);
}

void TsSkinProvider::SetHotElement(int Code, bool Repaint) {
  if (Code == HotElement || !DrawNonClientArea) return;
  if (HotElement != 0)
    if (TsCaptionButton* old = ElementByCode(HotElement)) {
      old->State = 0;
      if (Repaint) RepaintElement(HotElement);
    }
  HotElement = Code;
  if (Code > 0)
    if (TsCaptionButton* element = ElementByCode(Code)) {
      element->State = 1;
      if (Repaint) RepaintElement(Code);
    }
}

void TsSkinProvider::PressElement(int Code) {
  TsCaptionButton* element = ElementByCode(Code);
  if (!element) return;
  element->State = 2;
  RepaintElement(Code);
}

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
