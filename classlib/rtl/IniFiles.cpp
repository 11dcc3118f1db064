#include "classlib/rtl/IniFiles.h"

#include <windows.h>
#undef RegisterClass  // winuser.h's macro would rename vcl::RegisterClass in VCL_CLASS_INFO

namespace vcl {

VCL_CLASS_INFO(TCustomIniFile) {}
VCL_CLASS_INFO(TIniFile) {}
VCL_CLASS_INFO(TMemIniFile) {}

// ---- TCustomIniFile ------------------------------------------------------------------------

int TCustomIniFile::ReadInteger(const String& Section, const String& Ident, int Default) const {
  return StrToIntDef(ReadString(Section, Ident, String()), Default);
}

void TCustomIniFile::WriteInteger(const String& Section, const String& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const String& Section, const String& Ident, bool Default) const {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const String& Section, const String& Ident, bool Value) {
  WriteString(Section, Ident, Value ? L"1" : L"0");
}

double TCustomIniFile::ReadFloat(const String& Section, const String& Ident, double Default,
                                 const TFormatSettings& Settings) const {
  double value;
  return TryStrToFloat(ReadString(Section, Ident, String()), value, Settings) ? value : Default;
}

bool TCustomIniFile::SectionExists(const String& Section) const {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.Count() > 0;
}

bool TCustomIniFile::ValueExists(const String& Section, const String& Ident) const {
  TStringList keys;
  ReadSection(Section, &keys);
  return keys.IndexOf(Ident) >= 0;
}

// ---- TIniFile ------------------------------------------------------------------------------

namespace {

// A profile read into a growing buffer; the answer ends before the buffer's last two places
// only when it was not cut short.
String ProfileText(const wchar_t* section, const wchar_t* key, const wchar_t* def, const String& file) {
  std::vector<wchar_t> buf(2048);
  for (;;) {
    const DWORD n = GetPrivateProfileStringW(section, key, def, buf.data(), static_cast<DWORD>(buf.size()), file.c_str());
    if (n + 2 < buf.size() || buf.size() >= (1u << 24)) return String(buf.data(), n);
    buf.resize(buf.size() * 4);
  }
}

// A list of names separated by NULs.
void AddNames(const String& names, TStrings* strings) {
  size_t start = 0;
  while (start < names.size()) {
    size_t end = names.find(L'\0', start);
    if (end == String::npos) end = names.size();
    if (end > start) strings->Add(names.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

TIniFile::~TIniFile() {
  // The system keeps written profiles cached; push them out when the object goes.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_name_.c_str());
}

String TIniFile::ReadString(const String& Section, const String& Ident, const String& Default) const {
  return ProfileText(Section.c_str(), Ident.c_str(), Default.c_str(), file_name_);
}

void TIniFile::WriteString(const String& Section, const String& Ident, const String& Value) {
  if (!WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), Value.c_str(), file_name_.c_str()))
    throw EIniFileException(Format(L"Unable to write to %s", {file_name_}));
}

void TIniFile::ReadSection(const String& Section, TStrings* Strings) const {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    AddNames(ProfileText(Section.c_str(), nullptr, L"", file_name_), Strings);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSections(TStrings* Strings) const {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    AddNames(ProfileText(nullptr, nullptr, L"", file_name_), Strings);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::ReadSectionValues(const String& Section, TStrings* Strings) const {
  TStringList keys;
  ReadSection(Section, &keys);
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (int i = 0; i < keys.Count(); ++i)
      Strings->Add(keys[i] + L"=" + ReadString(Section, keys[i], String()));
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TIniFile::EraseSection(const String& Section) {
  if (!WritePrivateProfileStringW(Section.c_str(), nullptr, nullptr, file_name_.c_str()))
    throw EIniFileException(Format(L"Unable to write to %s", {file_name_}));
}

void TIniFile::DeleteKey(const String& Section, const String& Ident) {
  WritePrivateProfileStringW(Section.c_str(), Ident.c_str(), nullptr, file_name_.c_str());
}

void TIniFile::UpdateFile() { WritePrivateProfileStringW(nullptr, nullptr, nullptr, file_name_.c_str()); }

// ---- TMemIniFile ---------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const String& FileName, const TEncoding* Encoding)
    : TCustomIniFile(FileName), given_encoding_(Encoding), encoding_(Encoding ? Encoding : TEncoding::Default) {
  LoadValues();
}

void TMemIniFile::LoadValues() {
  if (!file_name_.empty() && FileExists(file_name_)) {
    TStringList list;
    list.LoadFromFile(file_name_, given_encoding_);
    SetStrings(&list);
    encoding_ = list.Encoding();
  } else {
    Clear();
  }
}

String TMemIniFile::Fold(const String& s) const {
  if (case_sensitive_ || s.empty()) return s;
  String folded = s;
  CharUpperBuffW(folded.data(), static_cast<DWORD>(folded.size()));
  return folded;
}

const TMemIniFile::Section* TMemIniFile::FindSection(const String& Name) const {
  if (!sections_indexed_) {
    section_index_.clear();
    for (size_t i = 0; i < sections_.size(); ++i) section_index_.emplace(Fold(sections_[i].Name), i);
    sections_indexed_ = true;
  }
  auto it = section_index_.find(Fold(Name));
  return it == section_index_.end() ? nullptr : &sections_[it->second];
}

TMemIniFile::Section* TMemIniFile::FindSection(const String& Name) {
  return const_cast<Section*>(static_cast<const TMemIniFile*>(this)->FindSection(Name));
}

TMemIniFile::Section& TMemIniFile::AddSection(const String& Name) {
  sections_.push_back(Section{Name, {}, {}, false});
  SectionsChanged();
  return sections_.back();
}

int TMemIniFile::FindKey(const Section& S, const String& Ident) const {
  if (!S.Indexed) {
    S.Keys.clear();
    for (size_t i = 0; i < S.Lines.size(); ++i) {
      const size_t eq = S.Lines[i].find(L'=');
      if (eq != String::npos) S.Keys.emplace(Fold(S.Lines[i].substr(0, eq)), i);
    }
    S.Indexed = true;
  }
  auto it = S.Keys.find(Fold(Ident));
  return it == S.Keys.end() ? -1 : static_cast<int>(it->second);
}

String TMemIniFile::ReadString(const String& SectionName, const String& Ident, const String& Default) const {
  const Section* s = FindSection(SectionName);
  if (!s) return Default;
  const int i = FindKey(*s, Ident);
  if (i < 0) return Default;
  const String& line = s->Lines[static_cast<size_t>(i)];
  return line.substr(line.find(L'=') + 1);
}

void TMemIniFile::WriteString(const String& SectionName, const String& Ident, const String& Value) {
  Section* s = FindSection(SectionName);
  if (!s) s = &AddSection(SectionName);
  const int i = FindKey(*s, Ident);
  String line = Ident + L"=" + Value;
  if (i >= 0) {
    s->Lines[static_cast<size_t>(i)] = std::move(line);
  } else {
    s->Lines.push_back(std::move(line));
  }
  s->Indexed = false;
}

void TMemIniFile::ReadSection(const String& SectionName, TStrings* Strings) const {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (const Section* s = FindSection(SectionName)) {
      for (const String& line : s->Lines) {
        const size_t eq = line.find(L'=');
        if (eq != String::npos) Strings->Add(line.substr(0, eq));
      }
    }
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) const {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    for (const Section& s : sections_) Strings->Add(s.Name);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const String& SectionName, TStrings* Strings) const {
  Strings->BeginUpdate();
  try {
    Strings->Clear();
    if (const Section* s = FindSection(SectionName))
      for (const String& line : s->Lines) Strings->Add(line);
  } catch (...) {
    Strings->EndUpdate();
    throw;
  }
  Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const String& SectionName) {
  if (const Section* s = FindSection(SectionName)) {
    sections_.erase(sections_.begin() + (s - sections_.data()));
    SectionsChanged();
  }
}

void TMemIniFile::DeleteKey(const String& SectionName, const String& Ident) {
  Section* s = FindSection(SectionName);
  if (!s) return;
  const int i = FindKey(*s, Ident);
  if (i < 0) return;
  s->Lines.erase(s->Lines.begin() + i);
  s->Indexed = false;
}

bool TMemIniFile::ValueExists(const String& SectionName, const String& Ident) const {
  const Section* s = FindSection(SectionName);
  return s && FindKey(*s, Ident) >= 0;
}

void TMemIniFile::UpdateFile() {
  TStringList list;
  GetStrings(&list);
  list.SaveToFile(file_name_, encoding_);
}

void TMemIniFile::Clear() {
  sections_.clear();
  SectionsChanged();
}

void TMemIniFile::GetStrings(TStrings* List) const {
  List->BeginUpdate();
  try {
    List->Clear();
    for (const Section& s : sections_) {
      List->Add(L"[" + s.Name + L"]");
      for (const String& line : s.Lines) List->Add(line);
      List->Add(String());
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

void TMemIniFile::SetStrings(TStrings* List) {
  std::vector<Section> sections;
  Section* current = nullptr;
  for (int i = 0; i < List->Count(); ++i) {
    const String line = Trim(List->Strings(i));
    if (line.empty() || line[0] == L';') continue;
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      sections.push_back(Section{Trim(line.substr(1, line.size() - 2)), {}, {}, false});
      current = &sections.back();
    } else if (current) {
      const size_t eq = line.find(L'=');
      if (eq == String::npos) current->Lines.push_back(line);
      else current->Lines.push_back(Trim(line.substr(0, eq)) + L"=" + Trim(line.substr(eq + 1)));
    }
  }
  sections_ = std::move(sections);
  SectionsChanged();
}

void TMemIniFile::Rename(const String& FileName, bool Reload) {
  file_name_ = FileName;
  if (Reload) LoadValues();
}

void TMemIniFile::SetCaseSensitive(bool Value) {
  if (case_sensitive_ == Value) return;
  case_sensitive_ = Value;
  SectionsChanged();
  for (const Section& s : sections_) s.Indexed = false;
}

}  // namespace vcl
