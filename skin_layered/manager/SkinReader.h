// The skin description reader: loads a skin for the skin manager from the skin editor's
// preview text, a skin folder's "Options.dat", a stored skin or a pack, into the manager's
// loaded skin: the skin-wide values, the image table (the master bitmap's parts and the
// image files, each file loaded once), the section table with inheritance, the skin-wide
// colours, the manager's hue, saturation and brightness, and the common indexes.
//
// A load reads the skin aside and replaces the manager's tables only when it succeeds: a
// description that is too large, empty, not text or without a section, or missing from a pack
// or stored skin (EReadError), a malformed number (EConvertError, naming the key and section),
// or a broken image file (the picture classes' errors) ends it with an error naming the skin,
// the file and the fault, and leaves the tables, and the process-wide loading flag, as they
// were.
#pragma once

#include <cstdint>

#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/SkinConvertor.h"
#include "skin_layered/core/SkinModel.h"
#include "skin_layered/manager/SkinLoadRequest.h"

namespace skin_layered {

inline constexpr wchar_t kOptionsFileName[] = L"Options.dat";
// A description of more bytes is refused (EReadError): no real skin's comes near, and its
// sections and images would take memory far beyond its size.
inline constexpr std::int64_t kMaxDescriptionSize = 1 << 20;

// A skin folder as skins are looked for in it, with a trailing backslash: one beginning
// with ".." lies under the parent of the program's folder, one beginning with ".\" or "./"
// and "." itself under the program's folder, as does any path with neither ":" nor "\\".
vcl::String NormalizeSkinDirectory(const vcl::String& Directory);

enum class TsSkinLoadResult {
  Loaded,
  NoSkin,    // neither preview text, folder nor stored skin: the manager goes inactive
  NotAPack,  // the stored skin's data is no pack, which its reader has said: nothing was loaded
};

// Loads the preview text, else SkinDirectory\SkinName\Options.dat, else the stored skin of
// that name (or the first one, whose name SkinName then takes).
TsSkinLoadResult LoadSkin(TsSkinLoadRequest& Request, TsLoadedSkin& Skin);
// Loads a pack the manager has read (its option text, its entries as the image files); the
// pack's SourceName names it in messages.
TsSkinLoadResult LoadPackedSkin(TsSkinLoadRequest& Request, const TqvSkinConvertor& Pack, TsLoadedSkin& Skin);

}  // namespace skin_layered
