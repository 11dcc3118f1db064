#include "classlib/rtl/Persistent.h"

namespace vcl {

VCL_CLASS_INFO(TPersistent) {}

void TPersistent::Assign(TPersistent* Source) {
  if (!Source) AssignError(nullptr);
  Source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* Dest) {
  if (!Dest) throw EConvertError(L"Cannot assign a " + ClassName() + L" to a nil");
  Dest->AssignError(this);
}

void TPersistent::AssignError(TPersistent* Source) {
  const String source = Source ? Source->ClassName() : String(L"nil");
  throw EConvertError(L"Cannot assign a " + source + L" to a " + ClassName());
}

String TPersistent::GetNamePath() { return ClassName(); }

}  // namespace vcl
