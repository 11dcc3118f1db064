// TSkinTab31: the old-style tab set (tabs hanging from the top edge of the control, under a
// notebook page) painted from the skin's tab image turned upside down. It reads the tab set's
// own state: its font, tabs, selected and first shown tab, and margins.
#pragma once

#include <memory>

#include "skin_classic/controls/SkinControl.h"

namespace vcl {
class TTabSet;
}

namespace winskin {

class TSkinTab31 : public TSkinControl {
  VCL_CLASS(TSkinTab31, TSkinControl)

 public:
  explicit TSkinTab31(vcl::TComponent* AOwner);
  ~TSkinTab31() override;

  // Attaches through the tab set's window.
  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  void UpdateSkin() override;
  // The skin's tab picture.
  bool HasPicture() const override;

  vcl::TBitmap* TabImage() const { return FTabImage.get(); }
  // The tabs the last paint showed.
  int ShownTabs() const { return shown_tabs_; }

 private:
  void PrepareImage();

  std::unique_ptr<vcl::TBitmap> FTabImage;  // the tab image upside down
  vcl::TWinControl* FScroller = nullptr;     // the tab set's scroller
  std::unique_ptr<vcl::TBitmap> buffer_;
  int shown_tabs_ = 0;
};

}  // namespace winskin
