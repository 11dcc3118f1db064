// Progress bars: a superclass of the system's msctls_progress32 whose window class is the
// library's class name ("TProgressBar"), the name the skin engines know it by.
#pragma once

#include "classlib/controls/Controls.h"

namespace vcl {

VCL_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)
using enum TProgressBarOrientation;

class TProgressBar : public TWinControl {
  VCL_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* AOwner);

  int Min() const { return min_; }
  void SetMin(int Value);
  int Max() const { return max_; }
  void SetMax(int Value);
  // Kept within Min and Max.
  int Position() const;
  void SetPosition(int Value);
  // How far StepIt moves.
  int Step() const { return step_; }
  void SetStep(int Value);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation Value);
  // One continuous bar instead of blocks.
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool Value);

  void StepIt();
  void StepBy(int Delta);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ApplyRange();

  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

}  // namespace vcl
