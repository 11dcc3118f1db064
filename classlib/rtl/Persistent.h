// TPersistent: objects that can be assigned to each other and stored in form descriptions.
#pragma once

#include "classlib/rtl/Object.h"

namespace vcl {

class TFiler;

class TPersistent : public TObject {
  VCL_CLASS(TPersistent, TObject)

 public:
  // Copies Source into this object; when this class does not know Source, Source is
  // asked to AssignTo this object, and failing that "Cannot assign" is raised.
  virtual void Assign(TPersistent* Source);
  // The owner for name paths and streaming (a collection item's collection, ...).
  virtual TPersistent* GetOwner() { return nullptr; }
  // Declares properties that are not published ones (binary data, ...), for streaming.
  virtual void DefineProperties(TFiler* Filer) { (void)Filer; }
  virtual String GetNamePath();

 protected:
  virtual void AssignTo(TPersistent* Dest);
  // Raises "Cannot assign a <Source's class or nil> to a <this class>".
  [[noreturn]] void AssignError(TPersistent* Source);
};

}  // namespace vcl
