// The layered engine's captions and messages, loaded from the program's string table at
// start-up (the texts of LibraryStrings.def, compiled into the table by CoreResources.rc).
#pragma once

#include <windows.h>

#include "classlib/rtl/SysUtils.h"
#include "skin_layered/core/LibraryStrings.def"

namespace skin_layered {

#define QV_STRING_ID(id, name, text) name = id,
enum class TqvLibString : int { QV_LIBRARY_STRINGS(QV_STRING_ID) };
#undef QV_STRING_ID

// The text loaded for the string: empty before start-up, and empty when the string table
// lacks it, except InvalidDate, which is "Invalid date" then.
const vcl::String& LibString(TqvLibString Id);
// The text loaded for the string, else the program's English text (before start-up, or when
// the string table lacks it): for messages, which must never come out empty.
vcl::String LibText(TqvLibString Id);

// The start-up step: every string from Module's string table (the program's when null).
void LoadLibraryStrings(HINSTANCE Module);
// The shut-down step: every string empty again.
void FreeLibraryStrings();

}  // namespace skin_layered
