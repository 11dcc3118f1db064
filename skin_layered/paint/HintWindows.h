// The hint windows of the hint manager. The window itself stays invisible (layered at alpha
// 0) where the hint stands, so that the class library's hint logic keeps working; the hint's
// image is shown by the manager's layered form. Without a manager they are the class
// library's hint windows.
//   TqvCustomHintWindow  the skin's look: the section's background and border image, or its
//                        border image as a soft shadow when the skin draws layered shadows.
//   TqvPngHintWindow     the PNG template's look when no skin is used.
#pragma once

#include <memory>

#include "classlib/forms/Forms.h"
#include "classlib/graphics/GraphicsBitmap.h"
#include "skin_layered/paint/HintTemplates.h"

namespace skin_layered {

// The layered, click-through, top-most form that shows a hint's image.
class TqvHintForm : public vcl::TCustomForm {
  VCL_CLASS(TqvHintForm, vcl::TCustomForm)
 public:
  // DropShadow: the window class has the system's drop shadow.
  TqvHintForm(vcl::TComponent* AOwner, bool DropShadow);
  bool DropShadow() const { return drop_shadow_; }

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  bool drop_shadow_;
};

// Where a hint goes. R is the hint's whole rectangle (shadow bands included) with its body
// (R less Shadow) starting at the point the hint points at. The body is moved by the
// placement (1 and 3 above the point, 2 and 3 to the left), then kept on the monitor: past
// its bottom it goes above the point (with Skin, or when AboveImageEmpty, only as far as it
// overflows), past its right edge to the left of the point (LeftImageEmpty: as far as it
// overflows), and never above or left of the monitor. Answers the placement for the flips
// made (above and left 3, above 1, left 2, else 0); the placement unchanged when nothing moved.
int PlaceHintRect(vcl::TRect& R, const vcl::TRect& Shadow, int Placement, const vcl::TRect& Monitor, bool Skin,
                  bool AboveImageEmpty, bool LeftImageEmpty);

class TqvCustomHintWindow : public vcl::THintWindow {
  VCL_CLASS(TqvCustomHintWindow, vcl::THintWindow)
 public:
  explicit TqvCustomHintWindow(vcl::TComponent* AOwner);
  ~TqvCustomHintWindow() override;

  void ActivateHint(vcl::TRect Rect, const vcl::String& AHint) override;
  vcl::TRect CalcHintRect(int MaxWidth, const vcl::String& AHint, void* AData) override;
  // The hint's image of that size: 32-bit, premultiplied, for the layered form.
  virtual std::unique_ptr<vcl::TBitmap> PaintImage(int Width, int Height);

  // Where the hint points when set (both coordinates non-zero), instead of the rectangle's
  // corner.
  vcl::TPoint ForcedPos;
  bool ForcedPosSet() const { return ForcedPos.X != 0 && ForcedPos.Y != 0; }

  const vcl::String& HintText() const { return text_; }
  int Placement() const { return placement_; }
  // The hint's whole rectangle on the screen, shadow bands included.
  const vcl::TRect& HintRect() const { return hint_rect_; }
  // The image the window last showed; nil before.
  vcl::TBitmap* Image() const { return image_.get(); }
  int SkinIndex() const { return skin_index_; }
  int BorderIndex() const { return border_index_; }
  int TextureIndex() const { return texture_index_; }

  void WndProc(vcl::TMessage& Message) override;

 protected:
  void CreateParams(vcl::TCreateParams& Params) override;
  void Paint() override;

  // The skin's section and its border image for the skin's look.
  void FindSkinIndexes();
  // Border widths of the skin's border image by side (0 left, 1 top, 2 right, 3 bottom).
  int SkinBorderWidth(int Side) const;
  // The text's size for the wrap width, measured with the work bitmap's font.
  vcl::TRect TextRect(int MaxWidth, const vcl::String& AHint);
  // The text (or the custom hint control's children) into R of Bmp, in the bitmap's font.
  void PaintText(vcl::TBitmap* Bmp, vcl::TRect R, bool Skin);
  // The placement and the final rectangle for a hint of Rect's size at the point.
  int Place(vcl::TRect& Rect, vcl::TPoint Point, bool Skin);
  // The hint's image shown: faded in, or put on the layered form at once.
  void ShowImage(bool Skin);
  void HideProc();
  void OnSkinCommand(vcl::TMessage& Message);
  void OnNcPaint(vcl::TMessage& Message);
  void OnShowWindow(vcl::TMessage& Message);
  void OnDestroy(vcl::TMessage& Message);
  void OnMove(vcl::TMessage& Message);

  vcl::String text_;
  int placement_ = 0;
  vcl::TRect hint_rect_;
  std::unique_ptr<vcl::TBitmap> image_;
  int skin_index_ = -1;
  int border_index_ = -1;
  int texture_index_ = -1;
  HRGN region_ = nullptr;  // the window's shape from the skin, owned; a copy goes to the window

 private:
  bool hidden_ = false;
};

class TqvPngHintWindow : public TqvCustomHintWindow {
  VCL_CLASS(TqvPngHintWindow, TqvCustomHintWindow)
 public:
  explicit TqvPngHintWindow(vcl::TComponent* AOwner);

  vcl::TRect CalcHintRect(int MaxWidth, const vcl::String& AHint, void* AData) override;
  std::unique_ptr<vcl::TBitmap> PaintImage(int Width, int Height) override;
};

// The image of a template (the current one of the hint being made), for the PNG windows.
TqvHintImage* CurrentHintImage();
// The hint window made last and not yet hidden; nil when none.
TqvCustomHintWindow* CurrentHintWindow();

}  // namespace skin_layered
