// The border form of a skinned form or dialog: the separate layered window that draws the
// extended borders and the shadow around it. What the form skinning reads of it is declared
// here; the window itself, its painting and placing are the extended borders' (they derive
// the working class from this one).
#pragma once

#include <windows.h>

#include "skin_layered/core/FormServices.h"

namespace skin_layered {

class TsCommonData;
class TsSkinProvider;

class TqvBorderForm : public TqvBorderFormBase {
 public:
  // The skin data of the form or dialog the border form serves.
  TsCommonData* SkinData = nullptr;
  // The provider it belongs to; nil for a dialog's.
  TsSkinProvider* Provider = nullptr;

  // The window it draws around.
  virtual HWND ParentHandle() const = 0;
  // The caption height of that window: the skin's with CheckSkin, else the system's.
  virtual int CaptionHeight(bool CheckSkin) const = 0;
};

}  // namespace skin_layered
