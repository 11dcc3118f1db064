// The skin package reader as the engine's components use it: packages come from streams,
// entries go into memory streams, and an older package is reported to the user.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "classlib/rtl/Streams.h"
#include "classlib/rtl/SysUtils.h"
#include "skin_classic/io/SkinReader.h"

namespace winskin {

using vcl::AnsiString;

// The decoder could not get its tables ("LZH : Cannot get memory for dictionary tables").
class ElzhException : public vcl::Exception {
 public:
  using vcl::Exception::Exception;
  const wchar_t* ClassName() const noexcept override { return L"ElzhException"; }
};

// The text shown for a package of a format this reader does not know.
inline constexpr wchar_t kOlderSkinFileText[] = L"This is Older Skin File\rPlease update to new version !";

// Shows a message of the engine to the user: in the application's message box under its
// title, or a plain one without an application.
void ShowSkinMessage(const vcl::String& Text);

class TSkinReader : public vcl::TObject {
  VCL_CLASS(TSkinReader, TObject)

 public:
  TSkinReader() = default;

  // Decompresses the whole stream, from its first byte whatever its position, and reads the
  // package. An unknown format tag shows kOlderSkinFileText in a plain message box; it and a
  // package that is cut short or does not hold together give false, keep what was loaded
  // before and leave their fault in Fault() (for the caller, who knows the package's name,
  // to report). Raises ElzhException when the decoder cannot get its tables.
  bool LoadFromStream(vcl::TStream* Source);
  // The last load's result, and what was wrong with the package (empty after a success).
  skin_classic::SkinLoadResult Result() const { return result_; }
  const std::string& Fault() const { return fault_; }

  // Clears Dest, copies the first entry named Name (letter case ignored) into it and
  // rewinds it; an unknown name leaves it empty.
  void Extract(std::string_view Name, vcl::TMemoryStream* Dest) const;
  // The same for the first entry, in package order, whose name contains Fragment (names
  // are lower-case); Name receives the entry's name and stays as it was without a match.
  void ExtractByExt(std::string_view Fragment, vcl::TMemoryStream* Dest, AnsiString& Name) const;

  const std::vector<std::string>& Names() const { return package_.Names(); }
  int Count() const { return static_cast<int>(package_.Count()); }
  // The byte-level package, for the description reader.
  const skin_classic::TSkinReader& Package() const { return package_; }

 private:
  skin_classic::TSkinReader package_;
  skin_classic::SkinLoadResult result_ = skin_classic::SkinLoadResult::Loaded;
  std::string fault_;
};

}  // namespace winskin
