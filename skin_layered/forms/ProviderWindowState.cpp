// A skinned form's activation, showing, moving and sizing: the caption's active state, the
// show and hide animations, the region and the border window following the form. Until they
// are built every message goes to the form's own procedure, with two steps of the provider
// itself: a provider the library attached prepares its form when the form first shows, and a
// form that shows links to the skin editor in preview mode.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

void TsSkinProvider::WMMove(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSize(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMActivate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMShowWindow(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMActivateApp(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMChildActivate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMWindowPosChanging(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMWindowPosChanged(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCActivate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSizing(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMMDIActivate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMExitSizeMove(vcl::TMessage& Message) { CallOldWndProc(Message); }

void TsSkinProvider::CMVisibleChanged(vcl::TMessage& Message) {
  if (AutoCreated) {
    AutoCreated = false;
    PrepareForm();
  }
  CallOldWndProc(Message);
}

void TsSkinProvider::CMShowingChanged(vcl::TMessage& Message) {
  if (Form->Showing() && Form->HandleAllocated()) SkinEditorLink(Form->Handle());
  CallOldWndProc(Message);
}

void TsSkinProvider::PrepareHideAnimation(vcl::TMessage& Message) { (void)Message; }
void TsSkinProvider::RunHideAnimation(vcl::TMessage& Message) { (void)Message; }

}  // namespace skin_layered
