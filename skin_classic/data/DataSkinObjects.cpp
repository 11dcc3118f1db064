#include "skin_classic/data/DataSkinObjects.h"

namespace winskin {

VCL_CLASS_INFO(TDataSkinObject) {}
VCL_CLASS_INFO(TDataSkinBorder) {}
VCL_CLASS_INFO(TDataSkinButton) {}
VCL_CLASS_INFO(TDataSkinTitle) {}
VCL_CLASS_INFO(TDataSkinSysButton) {}
VCL_CLASS_INFO(TDataSkinBoxLabel) {}

}  // namespace winskin
