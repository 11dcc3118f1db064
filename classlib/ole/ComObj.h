// The library's COM errors: a failed OLE call raised as EOleSysError with its result code.
#pragma once

#include <windows.h>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

VCL_EXCEPTION(EOleError, Exception);

class EOleSysError : public EOleError {
 public:
  EOleSysError(String Message, HRESULT ErrorCode) : EOleError(std::move(Message)), error_code_(ErrorCode) {}
  const wchar_t* ClassName() const noexcept override { return L"EOleSysError"; }
  HRESULT ErrorCode() const noexcept { return error_code_; }

 private:
  HRESULT error_code_;
};

// Raises EOleSysError with the system's text for a failed result; a success passes.
void OleCheck(HRESULT Result);

}  // namespace vcl
