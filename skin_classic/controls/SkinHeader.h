// TSkinHeader: header controls (a list view's header too) with each section drawn on the
// skin's "Headerbar" frames (1 normal, 2 hot) and the hot section following the mouse.
// TSkinListView: a list view's scroll bars covered like every scrollable control's, and its
// header skinned.
#pragma once

#include <vector>

#include "skin_classic/controls/SkinControl.h"
#include "skin_classic/controls/SkinScrollbar.h"

namespace winskin {

class TSkinHeader : public TSkinControl {
  VCL_CLASS(TSkinHeader, TSkinControl)

 public:
  explicit TSkinHeader(vcl::TComponent* AOwner);
  ~TSkinHeader() override;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // The skin's header picture.
  bool HasPicture() const override { return HeaderElement() != nullptr; }

  int HotItem() const { return FHotItem; }
  // The sections as last painted, inset by 3 on either side.
  const std::vector<TRect>& ItemRects() const { return FItemRects; }

 private:
  void WMMouseMove(const vcl::TMessage& Message);
  TDataSkinObject* HeaderElement() const;

  std::vector<TRect> FItemRects;
  int FHotItem = -1;
};

class TSkinListView : public TSkinScrollbar {
  VCL_CLASS(TSkinListView, TSkinScrollbar)

 public:
  using TSkinScrollbar::TSkinScrollbar;

  void AttachScrollControl(vcl::TWinControl* Control, TSkinData* SkinData, TSkinControlHost* Form,
                           vcl::TCanvas* Canvas) override;
  // The header's skinner, while there is one.
  TSkinHeader* Header() const;

 private:
  HWND FHeader = nullptr;  // its skinner belongs to the list view and is listed by the form
};

}  // namespace winskin
