// System utilities: the string type, the library's exception classes and small helpers.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vcl {

// The UI is Unicode: String is UTF-16 text (wchar_t is 16 bits on Windows).
using String = std::wstring;
using StringView = std::wstring_view;
// Byte texts (skin descriptions, ANSI files) stay bytes.
using AnsiString = std::string;

// Base of the library's exceptions: a class with a message. what() gives the message as
// UTF-8 for diagnostics; Message() is the text the user sees.
class Exception : public std::exception {
 public:
  explicit Exception(String message);
  const String& Message() const noexcept { return message_; }
  void SetMessage(String message);
  const char* what() const noexcept override { return utf8_.c_str(); }
  // The class name the library would report ("EConvertError", ...).
  virtual const wchar_t* ClassName() const noexcept { return L"Exception"; }

 private:
  String message_;
  std::string utf8_;
};

#define VCL_EXCEPTION(Name, Base)                                   \
  class Name : public Base {                                        \
   public:                                                          \
    using Base::Base;                                               \
    const wchar_t* ClassName() const noexcept override { return L## #Name; } \
  }

// Silent exception: aborts an operation without a message box.
VCL_EXCEPTION(EAbort, Exception);
VCL_EXCEPTION(EConvertError, Exception);
VCL_EXCEPTION(EListError, Exception);
VCL_EXCEPTION(EStringListError, EListError);
VCL_EXCEPTION(EStreamError, Exception);
VCL_EXCEPTION(EReadError, EStreamError);
VCL_EXCEPTION(EWriteError, EStreamError);
VCL_EXCEPTION(EFOpenError, EStreamError);
VCL_EXCEPTION(EFCreateError, EStreamError);
VCL_EXCEPTION(EResNotFound, Exception);
VCL_EXCEPTION(EFilerError, EStreamError);
VCL_EXCEPTION(EClassNotFound, EFilerError);
VCL_EXCEPTION(EPropertyError, Exception);
VCL_EXCEPTION(EPropertyConvertError, EPropertyError);
VCL_EXCEPTION(EComponentError, Exception);
VCL_EXCEPTION(EInvalidOperation, Exception);
VCL_EXCEPTION(EInvalidCast, Exception);
VCL_EXCEPTION(EOutOfMemory, Exception);
VCL_EXCEPTION(EOutOfResources, Exception);
VCL_EXCEPTION(EInvalidGraphic, Exception);
VCL_EXCEPTION(EInvalidGraphicOperation, Exception);
VCL_EXCEPTION(EGraphicCompression, Exception);  // "compression" errors of picture decoders
VCL_EXCEPTION(EOSError, Exception);

// ASCII case-insensitive comparison, as identifiers and names are compared.
bool SameText(StringView a, StringView b);
int CompareText(StringView a, StringView b);

// Conversions between the UI's UTF-16 and UTF-8 (for diagnostics and files we write).
std::string WideToUtf8(StringView text);
String Utf8ToWide(std::string_view text);

}  // namespace vcl
