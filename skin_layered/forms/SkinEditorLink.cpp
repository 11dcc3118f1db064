// The skin editor's link (see SkinEditorLink.h).
#include "skin_layered/forms/SkinEditorLink.h"

#include "classlib/forms/Forms.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/SkinCommand.h"
#include "skin_layered/manager/PreviewBlock.h"
#include "skin_layered/manager/SkinManager.h"

namespace skin_layered {
namespace {

// How often the editor is asked before the link is given up.
constexpr int kLinkTries = 101;

}  // namespace

void TqvSkinEditorLink::ReadSwitch() {
  if (switch_read_) return;
  switch_read_ = true;
  // The first parameter, exactly.
  preview_mode_ = vcl::ParamCount() >= 1 && vcl::ParamStr(1) == kPreviewSwitch;
}

void TqvSkinEditorLink::Reset(bool PreviewMode) {
  preview_form_ = nullptr;
  preview_mode_ = PreviewMode;
  switch_read_ = true;
}

void TqvSkinEditorLink::Link(HWND FormHandle) {
  if (!preview_mode_ || preview_form_) return;
  if (vcl::Application && vcl::Application->MainForm()) {
    vcl::TCustomForm* main = vcl::Application->MainForm();
    if (!main->HandleAllocated() || main->Handle() != FormHandle) return;
  }
  preview_form_ = FormHandle;
  preview_mode_ = false;
  for (int i = 0; i < kLinkTries; ++i) {
    HWND editor = FindWindowW(nullptr, kSkinEditorCaption);
    if (!editor) break;
    if (SendMessageW(editor, kSkinEditorMessage, kEditorLink, reinterpret_cast<LPARAM>(FormHandle)) == 1) break;
  }
}

void TqvSkinEditorLink::TakePreviewBlock(HWND FormHandle, const COPYDATASTRUCT* Data) {
  if (!FormHandle || FormHandle != preview_form_ || taking_) return;
  taking_ = true;
  TsSkinManager* manager = DefaultSkinManager();
  // Only a whole block is taken, its texts ended within their fields (it comes from another
  // process).
  if (Data && manager && Data->dwData == kPreviewCopyDataId && manager->TakePreviewData(Data->lpData, Data->cbData) &&
      vcl::Application)
    PostMessageW(vcl::Application->Handle(), kSkinCmdMessage, SkinCommandWParam(scmPreviewData), 0);
  taking_ = false;
}

}  // namespace skin_layered
