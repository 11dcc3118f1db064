#include "skin_layered/core/GeneralUtils.h"

#include <shellapi.h>

#include <algorithm>

#include "classlib/forms/Forms.h"
#include "classlib/rtl/TypInfo.h"
#include "skin_layered/core/Constants.h"
#include "skin_layered/core/FormServices.h"

namespace skin_layered {

namespace {

using TIsWow64Process = BOOL(WINAPI*)(HANDLE, PBOOL);

struct TKernelBindings {
  HMODULE Kernel32 = nullptr;
  TIsWow64Process IsWow64Process = nullptr;
  bool Wow64NoAero = false;
};

TKernelBindings& Bindings() {
  static TKernelBindings bindings;
  return bindings;
}

template <class F>
F ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

bool ReadNonClientMetrics(NONCLIENTMETRICSW& metrics) {
  metrics = {};
  metrics.cbSize = sizeof metrics;
  return SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) != FALSE;
}

// The elements of a set's text ("a,b"), blanks around them dropped.
std::vector<vcl::String> SetElements(vcl::StringView text) {
  std::vector<vcl::String> items;
  const vcl::String inner(text.size() >= 2 && text.front() == L'[' && text.back() == L']' ? text.substr(1, text.size() - 2)
                                                                                       : text);
  size_t start = 0;
  while (start <= inner.size()) {
    size_t comma = inner.find(L',', start);
    if (comma == vcl::String::npos) comma = inner.size();
    const vcl::String item = vcl::Trim(vcl::StringView(inner).substr(start, comma - start));
    if (!item.empty()) items.push_back(item);
    start = comma + 1;
  }
  return items;
}

const vcl::TPropInfo* SetProp(const vcl::TObject* obj, vcl::StringView name) {
  if (!obj) return nullptr;
  const vcl::TPropInfo* prop = vcl::GetPropInfo(obj, name);
  return prop && prop->Kind == vcl::TTypeKind::tkSet && prop->EnumType && prop->GetOrd ? prop : nullptr;
}

}  // namespace

vcl::TRect MkRectBmp(vcl::TBitmap* Bmp) { return Bmp ? vcl::TRect(0, 0, Bmp->Width(), Bmp->Height()) : vcl::TRect(); }
vcl::TSize MkSizeBmp(vcl::TBitmap* Bmp) { return Bmp ? vcl::TSize(Bmp->Width(), Bmp->Height()) : vcl::TSize(); }

void MakeCacheInfo(vcl::TBitmap* Bmp, int X, int Y, TqvCacheInfo& Info) {
  Info.Bmp = Bmp;
  Info.X = X;
  Info.Y = Y;
  Info.FillColor = 0xFF00FF;  // the key colour: no fill
  Info.FillRect = vcl::TRect();
  Info.Ready = true;
}

// ---------------------------------------------------------------------------------------
// INI text

void LoadIniSections(const vcl::TStrings* Lines, TqvIniSections& Sections) {
  Sections.clear();
  if (!Lines) return;
  for (int i = 0; i < Lines->Count(); ++i) {
    const vcl::String line = Lines->Strings(i);
    if (line.empty() || line.front() == L';') continue;
    if (line.front() == L'[' && line.back() == L']' && line.size() >= 2) {
      Sections.push_back(TqvIniSection{line.substr(1, line.size() - 2), {}});
    } else if (!Sections.empty()) {
      Sections.back().Lines.push_back(line);
    }
  }
}

vcl::String ReadIniStr(const TqvIniSections& Sections, vcl::StringView Section, vcl::StringView Key,
                       const vcl::String& Default) {
  for (const TqvIniSection& section : Sections) {
    if (section.Name != Section) continue;
    for (const vcl::String& line : section.Lines) {
      const size_t eq = line.find(L'=');
      if (eq != vcl::String::npos && vcl::StringView(line).substr(0, eq) == Key) return line.substr(eq + 1);
    }
  }
  return Default;
}

int ReadIniInt(const TqvIniSections& Sections, vcl::StringView Section, vcl::StringView Key, int Default) {
  vcl::String value = ReadIniStr(Sections, Section, Key, vcl::String());
  if (value.size() > 2 && value[0] == L'0' && (value[1] == L'x' || value[1] == L'X')) value = L"$" + value.substr(2);
  return vcl::StrToIntDef(value, Default);
}

// ---------------------------------------------------------------------------------------
// Published properties

bool HasProperty(const vcl::TObject* Obj, vcl::StringView Name) { return Obj && vcl::GetPropInfo(Obj, Name); }

vcl::TObject* GetObjProp(const vcl::TObject* Obj, vcl::StringView Name) {
  if (!Obj) return nullptr;
  const vcl::TPropInfo* prop = vcl::GetPropInfo(Obj, Name);
  if (!prop || prop->Kind != vcl::TTypeKind::tkClass || !prop->GetObj) return nullptr;
  return vcl::GetObjectProp(Obj, *prop);
}

int64_t GetIntProp(const vcl::TObject* Obj, vcl::StringView Name) {
  if (!Obj) return -1;
  const vcl::TPropInfo* prop = vcl::GetPropInfo(Obj, Name);
  if (!prop || !prop->IsOrdinal() || !prop->GetOrd) return -1;
  return vcl::GetOrdProp(Obj, *prop);
}

void SetIntProp(vcl::TObject* Obj, vcl::StringView Name, int64_t Value) {
  if (!Obj) return;
  const vcl::TPropInfo* prop = vcl::GetPropInfo(Obj, Name);
  if (prop && prop->IsOrdinal() && prop->SetOrd) vcl::SetOrdProp(Obj, *prop, Value);
}

bool PropSetHasItem(const vcl::TObject* Obj, vcl::StringView Name, vcl::StringView Item) {
  const vcl::TPropInfo* prop = SetProp(Obj, Name);
  if (!prop) return false;
  const int element = vcl::GetEnumValue(*prop->EnumType, Item);
  if (element < 0 || element >= 32) return false;
  const auto bits = static_cast<uint32_t>(vcl::GetOrdProp(Obj, *prop));
  return (bits >> element & 1u) != 0;
}

bool ChangeSetProp(vcl::TObject* Obj, vcl::StringView Name, vcl::StringView Item, bool Add) {
  const vcl::TPropInfo* prop = SetProp(Obj, Name);
  if (!prop || !prop->SetOrd) return false;
  std::vector<vcl::String> items = SetElements(vcl::GetSetProp(Obj, *prop));
  const auto found = std::find_if(items.begin(), items.end(), [&](const vcl::String& s) { return vcl::SameText(s, Item); });
  if (Add && found == items.end()) {
    items.emplace_back(Item);
  } else if (!Add && found != items.end()) {
    items.erase(found);
  } else {
    return false;
  }
  vcl::String text;
  for (const vcl::String& item : items) text += (text.empty() ? L"" : L",") + item;
  vcl::SetSetProp(Obj, *prop, text);
  return false;
}

// ---------------------------------------------------------------------------------------
// System settings and files

int GetCaptionFontSize() {
  NONCLIENTMETRICSW metrics;
  return ReadNonClientMetrics(metrics) ? metrics.lfCaptionFont.lfHeight : 0;
}

vcl::UniqueFont GetCaptionFont() {
  NONCLIENTMETRICSW metrics;
  if (!ReadNonClientMetrics(metrics)) return vcl::UniqueFont();
  return vcl::UniqueFont(CreateFontIndirectW(&metrics.lfCaptionFont));
}

bool GetSysMinAnimation() {
  ANIMATIONINFO info{};
  info.cbSize = sizeof info;
  if (!SystemParametersInfoW(SPI_GETANIMATION, sizeof info, &info, 0)) return false;
  return info.iMinAnimate != 0;
}

void SetSysMinAnimation(bool On) {
  ANIMATIONINFO info{};
  info.cbSize = sizeof info;
  info.iMinAnimate = On ? -1 : 0;
  SystemParametersInfoW(SPI_SETANIMATION, sizeof info, &info, 0);
}

bool IsXPOrLater() {
  const TPlatformVersion v = QueryPlatformVersion();
  return v.Major > 5 || (v.Major == 5 && v.Minor >= 1);
}

bool IsWow64() {
  BOOL wow64 = FALSE;
  const TIsWow64Process query = Bindings().IsWow64Process;
  return query && query(GetCurrentProcess(), &wow64) && wow64;
}

bool Wow64NoAero() { return Bindings().Wow64NoAero; }

void Delay(unsigned Milliseconds) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (vcl::Application) vcl::Application->ProcessMessages();
    const ULONGLONG passed = GetTickCount64() - start;
    if (passed >= Milliseconds) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(Milliseconds - passed), QS_ALLINPUT);
  }
}

vcl::String NormalizeDir(const vcl::String& S) {
  if (S.empty()) return S;
  if (S.back() == L'\\') return S;
  if (S.back() == L'/') return S.substr(0, S.size() - 1) + L"\\";
  if (S.size() == 1) return S + L":\\";
  return S + L"\\";
}

std::unique_ptr<vcl::TIcon> GetShellIcon(const vcl::String& FileName, UINT Flags) {
  if (!vcl::FileExists(FileName)) return nullptr;
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(FileName.c_str(), 0, &info, sizeof info, SHGFI_ICON | Flags) || !info.hIcon) return nullptr;
  auto icon = std::make_unique<vcl::TIcon>();
  icon->SetHandle(info.hIcon);
  if (icon->Empty()) return nullptr;
  return icon;
}

vcl::String ProgramFolder() { return vcl::ExtractFilePath(vcl::ParamStr(0)); }

void BindGeneralUtils() {
  TKernelBindings& b = Bindings();
  if (!b.Kernel32) {
    b.Kernel32 = LoadLibraryW(L"kernel32.dll");
    if (b.Kernel32) b.IsWow64Process = ProcAddress<TIsWow64Process>(b.Kernel32, "IsWow64Process");
  }
  b.Wow64NoAero = IsWow64() && !FormServices().AeroIsEnabled();
}

void ReleaseGeneralUtils() {
  TKernelBindings& b = Bindings();
  if (b.Kernel32) FreeLibrary(b.Kernel32);
  b = {};
  LargeAppIcon().reset();
  SmallAppIcon().reset();
}

std::unique_ptr<vcl::TIcon>& LargeAppIcon() {
  static std::unique_ptr<vcl::TIcon> icon;
  return icon;
}

std::unique_ptr<vcl::TIcon>& SmallAppIcon() {
  static std::unique_ptr<vcl::TIcon> icon;
  return icon;
}

}  // namespace skin_layered
