// General routines of the layered engine: rectangles of bitmaps, INI text over lines,
// published properties by name, system settings, files and the start-up bindings they need.
// (Rectangle and integer routines: RectsAndNumbers.h; word lists: TextUtils.h.)
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "classlib/graphics/GraphicsBitmap.h"
#include "classlib/graphics/GraphicsHandles.h"
#include "classlib/graphics/GraphicsIcon.h"
#include "classlib/rtl/StringList.h"
#include "classlib/rtl/SysUtils.h"
#include "classlib/rtl/Types.h"
#include "skin_layered/core/CacheInfo.h"
#include "skin_layered/core/RectsAndNumbers.h"
#include "skin_layered/core/TextUtils.h"

namespace skin_layered {

// (0, 0, Width, Height) / (Width, Height) of a bitmap; empty for nil.
vcl::TRect MkRectBmp(vcl::TBitmap* Bmp);
vcl::TSize MkSizeBmp(vcl::TBitmap* Bmp);

// A cache info over a bitmap at an offset: no fill colour, an empty fill rectangle, ready.
void MakeCacheInfo(vcl::TBitmap* Bmp, int X, int Y, TqvCacheInfo& Info);

// How much of what lies behind a disabled item shows through its picture (0.4 unless the
// application changes it).
inline double DefDisabledBlend = 0.4;

// ---------------------------------------------------------------------------------------
// INI text over lines, read without an INI object.

struct TqvIniSection {
  vcl::String Name;
  std::vector<vcl::String> Lines;  // "key=value" lines as written
};
using TqvIniSections = std::vector<TqvIniSection>;

// Sections is emptied; empty lines and lines beginning with ";" are skipped; "[name]" starts
// a section; other lines belong to the current section (before the first one they are
// dropped).
void LoadIniSections(const vcl::TStrings* Lines, TqvIniSections& Sections);
// The value after "Key=" in the first line of the named section that has the key (names and
// keys compared exactly), else Default.
vcl::String ReadIniStr(const TqvIniSections& Sections, vcl::StringView Section, vcl::StringView Key,
                       const vcl::String& Default);
// The same as an integer: decimal, "$" hexadecimal, or "0x"/"0X" hexadecimal; Default when
// absent or not a number.
int ReadIniInt(const TqvIniSections& Sections, vcl::StringView Section, vcl::StringView Key, int Default);

// ---------------------------------------------------------------------------------------
// Published properties by name. A missing property (or a nil object) gives False, nil or -1
// and is not written.

bool HasProperty(const vcl::TObject* Obj, vcl::StringView Name);
vcl::TObject* GetObjProp(const vcl::TObject* Obj, vcl::StringView Name);
int64_t GetIntProp(const vcl::TObject* Obj, vcl::StringView Name);
void SetIntProp(vcl::TObject* Obj, vcl::StringView Name, int64_t Value);
// The set property holds the element named Item.
bool PropSetHasItem(const vcl::TObject* Obj, vcl::StringView Name, vcl::StringView Item);
// Adds Item to the set property (when not in it) or removes it (when in it); the elements
// are compared whole ("ab" is not in "abc"). Always answers false.
bool ChangeSetProp(vcl::TObject* Obj, vcl::StringView Name, vcl::StringView Item, bool Add);

// ---------------------------------------------------------------------------------------
// System settings and files.

// The system caption font's height; 0 when the system does not tell.
int GetCaptionFontSize();
// A font made from the system caption font (the caller owns it); empty on failure.
vcl::UniqueFont GetCaptionFont();
// The system's minimise and restore animation.
bool GetSysMinAnimation();
void SetSysMinAnimation(bool On);
bool IsXPOrLater();
// The process runs under WOW64 (false where the system cannot tell).
bool IsWow64();
// True when the process runs under WOW64 and desktop composition is off; set at start-up.
bool Wow64NoAero();
// Handles the application's messages until at least Milliseconds have passed, sleeping
// while none arrive.
void Delay(unsigned Milliseconds);
// "" stays; a trailing "\" stays; a trailing "/" becomes "\"; one character gets ":\"
// (a drive letter); anything else gets "\" appended.
vcl::String NormalizeDir(const vcl::String& S);
// The icon the shell shows for an existing file (SHGFI_SMALLICON in Flags for the small
// one); nil when the file is missing or has no icon.
std::unique_ptr<vcl::TIcon> GetShellIcon(const vcl::String& FileName, UINT Flags);
// The folder of the program file, with a trailing backslash.
vcl::String ProgramFolder();

// The engine's own caption icons, large and small, for forms when neither the form nor the
// application has one; nil until the program sets them, freed at shut-down.
std::unique_ptr<vcl::TIcon>& LargeAppIcon();
std::unique_ptr<vcl::TIcon>& SmallAppIcon();

// The start-up and shut-down steps of these routines' bindings.
void BindGeneralUtils();
void ReleaseGeneralUtils();

}  // namespace skin_layered
