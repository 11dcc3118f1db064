// Painting a skinned form: its window image (frame, title, buttons, menu line) in the skin
// data's cache, the frame copied to the window, the client background and printing. Until
// they are built the form paints as it would without a skin, and a provider the library
// attached prepares its form on the first frame painting.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

void TsSkinProvider::WMSetRedraw(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMPaint(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMEraseBkgnd(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMPrint(vcl::TMessage& Message) { CallOldWndProc(Message); }

void TsSkinProvider::WMNCPaint(vcl::TMessage& Message) {
  if (AutoCreated) {
    AutoCreated = false;
    PrepareForm();
  }
  CallOldWndProc(Message);
}

void TsSkinProvider::PaintAll() {}
void TsSkinProvider::PaintBorders(HDC DC) { (void)DC; }

}  // namespace skin_layered
