// Check boxes and radio buttons: the system's mark is replaced by a frame of the skin's
// check-box or radio image (frames side by side) and the caption is drawn by the skinner.
// Without a mark image the control keeps its own painting.
#pragma once

#include <optional>

#include "skin_classic/controls/SkinControl.h"

namespace winskin {

// What decides a check box's frame.
struct TCheckFacts {
  bool CheckedBit = false;        // BM_GETSTATE
  bool IndeterminateBit = false;  // BM_GETSTATE
  bool HasControl = false;        // a control of the class library (its properties count)
  std::optional<vcl::String> State;  // the "State" identifier, when published
  vcl::String Checked;               // the "Checked" identifier
  bool HasDataField = false;         // publishes "DataField"
  int CheckState = 0;                // last BM_SETCHECK + 1 (0: none seen)
  bool HasDataBinding = false;       // publishes "DataBinding"
  bool Disabled = false;
  int Frames = 0;  // of the image
};
// The frame (1-based) of the check-box image.
int CheckBoxFrame(const TCheckFacts& Facts);

struct TRadioFacts {
  bool CheckedBit = false;  // BM_GETCHECK
  bool HasControl = false;
  vcl::String Checked;      // the "Checked" identifier
  bool Disabled = false;
  int Frames = 0;
};
int RadioButtonFrame(const TRadioFacts& Facts);
// Images of a full set of frames (12 check-box, 8 radio frames) hold each look in four:
// normal, hot, pressed, disabled. The frame for the mouse over an enabled mark (Hot) or
// pressing it (Pressed); other images and the disabled looks keep Frame.
int MouseFrame(int Frame, int Frames, int FullSet, bool Hot, bool Pressed);
inline constexpr int kFullCheckSet = 12, kFullRadioSet = 8;

// The shared painter of the two: mark frame and caption.
class TSkinMarkButton : public TSkinControl {
  VCL_CLASS(TSkinMarkButton, TSkinControl)

 public:
  using TSkinControl::TSkinControl;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AttachWindow(HWND Handle, TSkinData* SkinData, TSkinControlHost* Form, vcl::TCanvas* Canvas) override;
  bool BeforeProc(vcl::TMessage& Message) override;
  void AfterProc(vcl::TMessage& Message) override;
  void DrawControl(HDC DC, const TRect& Rect) override;
  // Another skin may bring the mark picture the last one lacked, or lose it.
  void UpdateSkin() override;
  // The skin's check-box (radio) picture.
  bool HasPicture() const override;

  bool ParentBack() const { return FParentBack; }
  // The frame the last paint drew, 0 before.
  int LastFrame() const { return last_frame_; }

 protected:
  // The mark image and its frame count; nil when the skin has none.
  virtual vcl::TBitmap* MarkImage(int& Frames) const = 0;
  virtual int MarkFrame(int Frames) const = 0;
  // The frame count of the image with every look (kFull*Set).
  virtual int FullSet() const = 0;
  void ReadParentBack();

  bool FParentBack = false;
  int last_frame_ = 0;

 private:
  void WMMouseMove();
};

class TSkinCheckBox : public TSkinMarkButton {
  VCL_CLASS(TSkinCheckBox, TSkinMarkButton)

 public:
  using TSkinMarkButton::TSkinMarkButton;

  void AttachControl(TSkinControlHost* Form, TSkinData* SkinData, bool SetColor, vcl::TCanvas* Canvas) override;
  void AfterProc(vcl::TMessage& Message) override;

  int CheckState() const { return FCheckState; }

 protected:
  vcl::TBitmap* MarkImage(int& Frames) const override;
  int MarkFrame(int Frames) const override;
  int FullSet() const override { return kFullCheckSet; }

  int FCheckState = 0;
};

class TSkinRadioButton : public TSkinMarkButton {
  VCL_CLASS(TSkinRadioButton, TSkinMarkButton)

 public:
  using TSkinMarkButton::TSkinMarkButton;

 protected:
  vcl::TBitmap* MarkImage(int& Frames) const override;
  int MarkFrame(int Frames) const override;
  int FullSet() const override { return kFullRadioSet; }
};

}  // namespace winskin
