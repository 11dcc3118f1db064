// The skin editor's link to the application it previews a skin in. Started with "/qvpreview"
// as its first parameter, the application is in preview mode: its main form, once shown, sends
// the editor (found by its window's caption) its handle; from then on that form takes the
// editor's preview block (WM_COPYDATA) and answers the editor's message. The process has one
// link, kept with the providers' process-wide state (SkinEditorLink() in SkinProvider.h).
#pragma once

#include <windows.h>

namespace skin_layered {

// The skin editor's message, between it and a linked form; its WParam says what it asks.
inline constexpr UINT kSkinEditorMessage = 0xA400;
inline constexpr WPARAM kEditorCloseForm = 1;  // the form closes
inline constexpr WPARAM kEditorLink = 3;       // to the editor: the form's handle; to the form: its own
inline constexpr WPARAM kEditorPresent = 4;    // the form answers 1
// The caption of the skin editor's window, and the switch that asks for the link.
inline constexpr wchar_t kSkinEditorCaption[] = L"Pellimors Editor";
inline constexpr wchar_t kPreviewSwitch[] = L"/qvpreview";

class TqvSkinEditorLink {
 public:
  // Looks for the switch, once a run.
  void ReadSwitch();
  // The switch was found and the link not made yet.
  bool PreviewMode() const { return preview_mode_; }
  // The form linked to the editor; nil before.
  HWND PreviewForm() const { return preview_form_; }
  // Forgets the link; preview mode as if the switch had (or had not) been found.
  void Reset(bool PreviewMode);
  // Links a shown form to the editor in preview mode: the application's main form (or the
  // first form shown without one), once a run.
  void Link(HWND FormHandle);
  // A preview block sent to a form's window that the form itself left unanswered: taken whole
  // by the default skin manager, which is told by a posted command, when the form is the
  // linked one.
  void TakePreviewBlock(HWND FormHandle, const COPYDATASTRUCT* Data);

 private:
  bool preview_mode_ = false;
  bool switch_read_ = false;
  HWND preview_form_ = nullptr;
  // A block is being taken (the manager's reading may send messages).
  bool taking_ = false;
};

}  // namespace skin_layered
