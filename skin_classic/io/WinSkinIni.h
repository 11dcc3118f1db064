// The skin description reader as the engine's components use it: loaded from a stream,
// section names handed out in a string list.
#pragma once

#include <cstdint>
#include <string_view>

#include "classlib/rtl/StringList.h"
#include "skin_classic/io/QuickIni.h"

namespace winskin {

using vcl::AnsiString;

class TQuickIni : public vcl::TObject {
  VCL_CLASS(TQuickIni, TObject)

 public:
  TQuickIni() = default;

  // Reads the stream from its position to its end and replaces what was loaded; a missing
  // stream changes nothing.
  void LoadFromStream(vcl::TStream* Stream);
  // Replaces the list's items with the section names (ANSI text widened), in file order.
  // A missing list fails the assertion "The parameter Strings is unassigned!".
  void ReadSections(vcl::TStrings* Strings) const;
  AnsiString ReadString(std::string_view Section, std::string_view Ident, std::string_view Default) const {
    return ini_.ReadString(Section, Ident, Default);
  }
  int32_t ReadInteger(std::string_view Section, std::string_view Ident, int32_t Default) const {
    return ini_.ReadInteger(Section, Ident, Default);
  }

  // The byte-level reader, for the description reader.
  const skin_classic::TQuickIni& Ini() const { return ini_; }

 private:
  skin_classic::TQuickIni ini_;
};

}  // namespace winskin
