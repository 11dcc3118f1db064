// A skinned form's system commands and its other messages (creation, caption text, closing,
// settings, menus, icons, style and control-list changes). Until they are built every message
// goes to the form's own procedure.
#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

void TsSkinProvider::WMCreate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSetText(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMClose(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMQueryEndSession(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSysColorChange(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSettingChange(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNotify(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMStyleChanged(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSetIcon(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMNCCreate(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMSysCommand(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMParentNotify(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::WMExitMenuLoop(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMEnabledChanged(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMMenuChanged(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMControlListChange(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMRecreateWnd(vcl::TMessage& Message) { CallOldWndProc(Message); }
void TsSkinProvider::CMFloat(vcl::TMessage& Message) { CallOldWndProc(Message); }

}  // namespace skin_layered
