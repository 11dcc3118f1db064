// System utilities: the string type, the library's exception classes and small helpers.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <string_view>
#include <vector>

#include "classlib/rtl/Set.h"

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
// A failed assertion: a caller broke a routine's stated precondition.
VCL_EXCEPTION(EAssertionFailed, Exception);
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
VCL_EXCEPTION(EMathError, Exception);
VCL_EXCEPTION(EInvalidOp, EMathError);
VCL_EXCEPTION(EMenuError, Exception);

// ASCII case-insensitive comparison, as identifiers and names are compared.
bool SameText(StringView a, StringView b);
int CompareText(StringView a, StringView b);

// Conversions between the UI's UTF-16 and UTF-8 (for diagnostics and files we write).
std::string WideToUtf8(StringView text);
String Utf8ToWide(std::string_view text);

// ---------------------------------------------------------------------------------------
// Formatting and conversions.

// The separators that number conversions use. FormatSettings holds the user's (read from the
// locale at start-up); pass Invariant() where a text must use "." whatever the locale.
struct TFormatSettings {
  wchar_t DecimalSeparator = L'.';
  wchar_t ThousandSeparator = L',';

  static TFormatSettings Create();  // the user's locale
  static TFormatSettings Invariant() { return {}; }
};
extern TFormatSettings FormatSettings;

// One argument of Format: an integer (its size kept, so "%x" of a negative 32-bit value gives
// eight digits), a floating-point value, a string or a pointer.
class TVarRec {
 public:
  enum class TKind { Integer, Int64, Float, String, Pointer };

  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, bool> && !std::is_same_v<T, wchar_t> &&
             !std::is_same_v<T, char>)
  TVarRec(T v)
      : kind_(sizeof(T) > 4 ? TKind::Int64 : TKind::Integer), int_(static_cast<int64_t>(v)) {}
  TVarRec(double v) : kind_(TKind::Float), float_(v) {}
  TVarRec(const wchar_t* s) : kind_(TKind::String), str_(s ? StringView(s) : StringView()) {}
  TVarRec(const String& s) : kind_(TKind::String), str_(s) {}
  TVarRec(StringView s) : kind_(TKind::String), str_(s) {}
  TVarRec(const void* p) : kind_(TKind::Pointer), ptr_(p) {}

  TKind Kind() const { return kind_; }
  int64_t AsInt() const { return int_; }
  double AsFloat() const { return float_; }
  StringView AsString() const { return str_; }
  const void* AsPointer() const { return ptr_; }

 private:
  TKind kind_;
  int64_t int_ = 0;
  double float_ = 0;
  StringView str_;
  const void* ptr_ = nullptr;
};

// The library's formatter: "%" [index ":"] ["-"] [width] ["." precision] type, with the types
// d, u, x (upper-case digits), e, f, g, n, p, s and "%%"; "*" takes width or precision from the
// arguments; both are at most 1000000. A mismatch raises EConvertError "Format '%s' invalid or
// incompatible with argument"; a missing argument "No argument for format '%s'".
String Format(StringView Fmt, std::initializer_list<TVarRec> Args);
String Format(StringView Fmt, std::initializer_list<TVarRec> Args, const TFormatSettings& Settings);

String IntToStr(int64_t Value);
// Decimal, or hexadecimal after "$"; an optional sign and leading blanks. A text that is not
// a number raises EConvertError "'%s' is not a valid integer value".
int StrToInt(StringView S);
int StrToIntDef(StringView S, int Default);
bool TryStrToInt(StringView S, int& Value);
int64_t StrToInt64(StringView S);
int64_t StrToInt64Def(StringView S, int64_t Default);
bool TryStrToInt64(StringView S, int64_t& Value);

// Floating-point text with the settings' decimal separator and an optional exponent; blanks
// around it are allowed. Failure raises EConvertError "'%s' is not a valid floating point value".
double StrToFloat(StringView S);
double StrToFloat(StringView S, const TFormatSettings& Settings);
bool TryStrToFloat(StringView S, double& Value, const TFormatSettings& Settings = FormatSettings);
// Shortest general form with 15 significant digits ("1.5", "0.1", "1E20").
String FloatToStr(double Value);
String FloatToStr(double Value, const TFormatSettings& Settings);

// Rounds to the nearest integer, halves to the even neighbour ("banker's rounding"); a value
// outside the 64-bit range or not a number raises EInvalidOp.
int64_t Round(double X);

// ---------------------------------------------------------------------------------------
// Text.

// Remove leading and/or trailing characters with codes up to 32.
String Trim(StringView S);
String TrimLeft(StringView S);
String TrimRight(StringView S);
// ASCII letters only; every other character is kept.
String UpperCase(StringView S);
String LowerCase(StringView S);
// 1-based position of the first occurrence of SubStr in S; 0 when absent or SubStr is empty.
int Pos(StringView SubStr, StringView S);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
using enum TReplaceFlag;
using TReplaceFlags = Set<TReplaceFlag>;
// Replaces the first (or, with rfReplaceAll, every) occurrence of OldPattern, scanning left to
// right without rescanning inserted text; rfIgnoreCase compares ASCII letters without case.
String StringReplace(StringView S, StringView OldPattern, StringView NewPattern, TReplaceFlags Flags);

// Comparisons by the user's locale, as sorted string lists order their items.
int AnsiCompareText(StringView a, StringView b);
int AnsiCompareStr(StringView a, StringView b);
bool AnsiSameText(StringView a, StringView b);

// Text encodings of files and streams. Default and ANSI are the system's ANSI code page;
// UTF8 and Unicode (UTF-16 LE) write a byte-order mark.
class TEncoding {
 public:
  enum class TKind { Ansi, Utf8, Utf16LE, Utf16BE };
  constexpr explicit TEncoding(TKind kind) : kind_(kind) {}

  static const TEncoding* const Default;
  static const TEncoding* const ANSI;
  static const TEncoding* const UTF8;
  static const TEncoding* const Unicode;
  static const TEncoding* const BigEndianUnicode;

  TKind Kind() const { return kind_; }
  std::vector<uint8_t> GetBytes(StringView Text) const;
  String GetString(std::span<const uint8_t> Bytes) const;
  std::span<const uint8_t> GetPreamble() const;
  // The encoding whose byte-order mark starts Bytes; nullptr when there is none.
  static const TEncoding* FromPreamble(std::span<const uint8_t> Bytes);

 private:
  TKind kind_;
};

// ---------------------------------------------------------------------------------------
// Files and the command line.

// windows.h names its wide DeleteFile "DeleteFileW" through a macro; the library's DeleteFile
// is this one, reachable under both names.
#ifdef DeleteFile
#undef DeleteFile
#endif
bool FileExists(const String& FileName);
bool DirectoryExists(const String& Directory);
bool DeleteFile(const String& FileName);
inline bool DeleteFileW(const String& FileName) { return DeleteFile(FileName); }
String GetCurrentDir();

// Path parts: the path ends at the last "\" or ":" (kept); the extension starts at the
// last "." of the name (kept).
String ExtractFilePath(StringView FileName);
String ExtractFileDir(StringView FileName);
String ExtractFileName(StringView FileName);
String ExtractFileExt(StringView FileName);

// The message of a system error code, without a trailing full stop or line break.
String SysErrorMessage(uint32_t ErrorCode);

// Command-line parameters split at blanks, double quotes grouping and dropped; ParamStr(0) is
// the program's file name, an index out of range gives an empty text.
int ParamCount();
String ParamStr(int Index);

// File attributes of FindFirst.
inline constexpr int faReadOnly = 0x01;
inline constexpr int faHidden = 0x02;
inline constexpr int faSysFile = 0x04;
inline constexpr int faVolumeID = 0x08;
inline constexpr int faDirectory = 0x10;
inline constexpr int faArchive = 0x20;
inline constexpr int faAnyFile = 0x3F;

// A directory search. Entries with a hidden, system or directory attribute that Attr does not
// ask for are skipped. The search handle is closed by FindClose or when the record goes.
struct TSearchRec {
  int Time = 0;         // last write time, local, as a DOS date and time
  int64_t Size = 0;
  int Attr = 0;
  String Name;
  int ExcludeAttr = 0;
  void* FindHandle = nullptr;

  TSearchRec() = default;
  TSearchRec(const TSearchRec&) = delete;
  TSearchRec& operator=(const TSearchRec&) = delete;
  ~TSearchRec();
};
// 0 on success, else the system error code (ERROR_FILE_NOT_FOUND, ERROR_NO_MORE_FILES, ...).
int FindFirst(const String& Path, int Attr, TSearchRec& F);
int FindNext(TSearchRec& F);
void FindClose(TSearchRec& F);

}  // namespace vcl
