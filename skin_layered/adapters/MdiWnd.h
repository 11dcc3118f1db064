// TqvMDIWnd, the adapter of an MDI frame form's client window: the MDI area is painted from
// the frame form's own window image (so that the client continues the form's skin), its
// scroll bars are skinned, and the MDI messages that change the client's layout refresh the
// form. Made with the section "MDIAREA" by the MDI form support.
#pragma once

#include <windows.h>

#include "skin_layered/adapters/BaseWnd.h"

namespace vcl {
class TCustomForm;
}

namespace skin_layered {

class TsSkinProvider;

class TqvMDIWnd : public TqvBaseWnd {
  VCL_CLASS(TqvMDIWnd, TqvBaseWnd)
 public:
  using TqvBaseWnd::TqvBaseWnd;
  ~TqvMDIWnd() override;

  void WndProc(vcl::TMessage& Message) override;

  vcl::TCustomForm* Form = nullptr;     // the MDI frame form
  TsCommonData* FormSkinData = nullptr;  // its provider's skin data; nil: a plain base adapter
  TsSkinProvider* Provider = nullptr;   // its provider

  // The MDI background (the part of the form's image under the client) into DC; with
  // ClientEdge the client edge's offset is added to the source.
  void PaintMDIBackground(HDC DC, bool ClientEdge);
  // The client's border strips into its window DC.
  void PaintMDIBorder(HDC DC);

 protected:
  vcl::TPoint BackgroundOffset() const override;

 private:
  bool Painting() const;
  bool ChildMaximized() const;
  // The client window's rectangle in the form's window image.
  vcl::TRect ClientInImage() const;
  // The form's image is there to copy from; false: fill with the form's client colour.
  bool ImageReady();
  // The skin commands the client answers itself; false for the others.
  bool OnCommand(vcl::TMessage& Message);
  void PassOn(vcl::TMessage& Message);
  void FollowScrollStyles();
  void RefreshFrameMenuLine();
  void OnNcPaint(vcl::TMessage& Message);
  void OnPaint(vcl::TMessage& Message);
  void OnEraseBkgnd(vcl::TMessage& Message);
  void OnPrint(vcl::TMessage& Message);
  void OnWindowPosChanging(vcl::TMessage& Message);
  void OnWindowPosChanged(vcl::TMessage& Message);
  void OnScroll(vcl::TMessage& Message);
  void OnMdiCreate(vcl::TMessage& Message);
  void OnMdiSetMenu(vcl::TMessage& Message);
  void OnLayoutChanged(vcl::TMessage& Message);
};

}  // namespace skin_layered
