// TsSkinProvider::TMessages, the handlers of the messages a provider answers for its form (the
// frame's mouse aside), and its answers to the engine's command message: one function a
// message, each given the provider P it serves. They are nested in the provider because they
// work on its insides, and declared here so that the provider's own declaration holds what its
// form and its partners ask of it; only the provider's files include this. NewWndProc hands
// them their messages (ProviderDispatch.cpp); each group is defined in the file named over it.
#pragma once

#include "skin_layered/forms/SkinProvider.h"

namespace skin_layered {

struct TsSkinProvider::TMessages {
  // ---- handing the form's messages out (ProviderDispatch.cpp)
  // While the form is not skinned: the few answered, the rest to the form's own procedure.
  static void WhileUnskinned(TsSkinProvider& P, vcl::TMessage& Message);
  // The frame's messages (hit tests, non-client painting, the mouse over the frame), the
  // window's, and the class library's and the engine's own; each true when it answered.
  static bool FrameMessage(TsSkinProvider& P, vcl::TMessage& Message);
  static bool WindowMessage(TsSkinProvider& P, vcl::TMessage& Message);
  static bool LibraryMessage(TsSkinProvider& P, vcl::TMessage& Message);

  // ---- the command message (ProviderDispatch.cpp)
  // The first answer, in every state; true when handled.
  static bool CommandMessage(TsSkinProvider& P, vcl::TMessage& Message);
  // Answers while the form is not skinned or is being destroyed; true when handled.
  static bool CommandWhileUnskinned(TsSkinProvider& P, vcl::TMessage& Message);
  // Answers while the form is skinned; the message never reaches the form's own procedure.
  static void CommandWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message);
  // The skin goes (scmRemoveSkin); only passed to the children when it is not this form's.
  static void RemoveSkin(TsSkinProvider& P, vcl::TMessage& Message);
  static void BackgroundAnswer(TsSkinProvider& P, vcl::TMessage& Message);
  static void NewSkinWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message);
  // The new skin has no section for the form: the system's whole frame again (ProviderGeometry.cpp).
  static void SectionGone(TsSkinProvider& P);
  static void RefreshWhileSkinned(TsSkinProvider& P, vcl::TMessage& Message);
  static void SetBlend(TsSkinProvider& P, vcl::TMessage& Message);
  static void SkinEditorCommand(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMCopyData(TsSkinProvider& P, vcl::TMessage& Message);
  // Unskinned, after WM_NCDESTROY: the MDI frame repainted, the snapshot form freed.
  static void CleanUpAfterDestroy(TsSkinProvider& P);

  // ---- activation, showing, moving and sizing (ProviderWindowState.cpp)
  static void WMActivate(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMNCActivate(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMActivateApp(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMChildActivate(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMMDIActivate(TsSkinProvider& P, vcl::TMessage& Message);  // WM_MDIDESTROY and WM_MDIACTIVATE
  static void CMShowingChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMVisibleChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMShowWindow(TsSkinProvider& P, vcl::TMessage& Message);
  static void SkinMDIChildren(TsSkinProvider& P);
  // Unskinned: before CM_VISIBLECHANGED goes to the form, and after WM_WINDOWPOSCHANGED.
  static void PrepareHideAnimation(TsSkinProvider& P, vcl::TMessage& Message);
  static void RunHideAnimation(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMWindowPosChanging(TsSkinProvider& P, vcl::TMessage& Message);
  // The form about to become smaller: the border window's client hole takes the new size first.
  static void PresizeBorderWindow(TsSkinProvider& P, const WINDOWPOS& Pos);
  static void WMWindowPosChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSize(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMMove(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSizing(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMExitSizeMove(TsSkinProvider& P, vcl::TMessage& Message);

  // ---- system commands and the form's other messages (ProviderFormMessages.cpp)
  static void WMSysCommand(TsSkinProvider& P, vcl::TMessage& Message);
  // An MDI child's commands, with the frame's merged menu line and buttons painted once after.
  static void MDIChildCommand(TsSkinProvider& P, vcl::TMessage& Message);
  // After a minimise: the border window goes while the form is minimised.
  static void AfterMinimize(TsSkinProvider& P);
  static void WMClose(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMQueryEndSession(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMCreate(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMNCCreate(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSetText(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSetIcon(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSysColorChange(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMSettingChange(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMStyleChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMEnabledChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMMenuChanged(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMRecreateWnd(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMFloat(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMParentNotify(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMNotify(TsSkinProvider& P, vcl::TMessage& Message);
  static void CMControlListChange(TsSkinProvider& P, vcl::TMessage& Message);

  // ---- menus (ProviderMenuMessages.cpp, WM_INITMENUPOPUP in ProviderGeometry.cpp)
  static void WMMeasureItem(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMContextMenu(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMEnterMenuLoop(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMExitMenuLoop(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMInitMenuPopup(TsSkinProvider& P, vcl::TMessage& Message);

  // ---- painting (ProviderPaintMessages.cpp)
  static void WMSetRedraw(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMNCPaint(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMEraseBkgnd(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMPaint(TsSkinProvider& P, vcl::TMessage& Message);
  static void WMPrint(TsSkinProvider& P, vcl::TMessage& Message);
  // The MDI frame's menu line, buttons and client area painted again after a child's command
  // (Maximized: at once, with the border window following).
  static void RepaintMdiArea(bool Maximized);
  // The skin and the provider want extended borders for the form in its state.
  static bool ExtBordersWanted(const TsSkinProvider& P);
  // max(0, title height of the state - (system caption height + 4)).
  static int MaximizedCaptionExtra(const TsSkinProvider& P, bool Maximized);

  // ---- limits and the wheel (ProviderGeometry.cpp)
  static void WMGetMinMaxInfo(TsSkinProvider& P, vcl::TMessage& Message);
  // The wheel to the control under the cursor when the form leaves it unanswered (both
  // states).
  static void CMMouseWheel(TsSkinProvider& P, vcl::TMessage& Message);
};

}  // namespace skin_layered
