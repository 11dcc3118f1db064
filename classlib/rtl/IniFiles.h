// INI files: TIniFile reads and writes a file through the system's profile functions,
// TMemIniFile holds the whole file in memory.
#pragma once

#include <unordered_map>
#include <vector>

#include "classlib/rtl/StringList.h"

namespace vcl {

VCL_EXCEPTION(EIniFileException, Exception);

class TCustomIniFile : public TObject {
  VCL_CLASS(TCustomIniFile, TObject)
 public:
  explicit TCustomIniFile(const String& FileName) : file_name_(FileName) {}

  const String& FileName() const { return file_name_; }

  virtual String ReadString(const String& Section, const String& Ident, const String& Default) const = 0;
  virtual void WriteString(const String& Section, const String& Ident, const String& Value) = 0;
  // Decimal, or hexadecimal after "$"; anything else (a missing key too) gives Default.
  int ReadInteger(const String& Section, const String& Ident, int Default) const;
  void WriteInteger(const String& Section, const String& Ident, int Value);
  // An integer other than 0 is true; written as "1" or "0".
  bool ReadBool(const String& Section, const String& Ident, bool Default) const;
  void WriteBool(const String& Section, const String& Ident, bool Value);
  // Default when the key is missing or not a number in the settings' form.
  double ReadFloat(const String& Section, const String& Ident, double Default,
                   const TFormatSettings& Settings = FormatSettings) const;

  // The keys of a section in file order.
  virtual void ReadSection(const String& Section, TStrings* Strings) const = 0;
  // The section names in file order.
  virtual void ReadSections(TStrings* Strings) const = 0;
  // The "key=value" lines of a section.
  virtual void ReadSectionValues(const String& Section, TStrings* Strings) const = 0;
  virtual void EraseSection(const String& Section) = 0;
  virtual void DeleteKey(const String& Section, const String& Ident) = 0;
  virtual void UpdateFile() = 0;
  // A section exists when it has keys.
  bool SectionExists(const String& Section) const;
  virtual bool ValueExists(const String& Section, const String& Ident) const;

 protected:
  String file_name_;
};

// Every call goes to the file through the system (names compared without case; a name
// without a folder means a file in the Windows folder, as the system takes it). Failed writes
// raise EIniFileException "Unable to write to %s".
class TIniFile : public TCustomIniFile {
  VCL_CLASS(TIniFile, TCustomIniFile)
 public:
  explicit TIniFile(const String& FileName) : TCustomIniFile(FileName) {}
  ~TIniFile() override;

  String ReadString(const String& Section, const String& Ident, const String& Default) const override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) const override;
  void ReadSections(TStrings* Strings) const override;
  void ReadSectionValues(const String& Section, TStrings* Strings) const override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  // Writes the system's cached changes to the file.
  void UpdateFile() override;
};

// The file is read once, at creation (a missing file reads as empty), and written only by
// UpdateFile. Lines are trimmed; empty lines and lines starting with ";" are dropped; names
// and values are trimmed round "="; lines before the first section are ignored. Lookups take
// the first matching section and key, ignoring case unless CaseSensitive.
class TMemIniFile : public TCustomIniFile {
  VCL_CLASS(TMemIniFile, TCustomIniFile)
 public:
  explicit TMemIniFile(const String& FileName, const TEncoding* Encoding = nullptr);

  String ReadString(const String& Section, const String& Ident, const String& Default) const override;
  void WriteString(const String& Section, const String& Ident, const String& Value) override;
  void ReadSection(const String& Section, TStrings* Strings) const override;
  void ReadSections(TStrings* Strings) const override;
  void ReadSectionValues(const String& Section, TStrings* Strings) const override;
  void EraseSection(const String& Section) override;
  void DeleteKey(const String& Section, const String& Ident) override;
  bool ValueExists(const String& Section, const String& Ident) const override;
  // Saves the content (GetStrings) to the file, in the encoding the file was read in (its
  // byte-order mark's, else the one given at creation, else ANSI).
  void UpdateFile() override;

  void Clear();
  // Replaces List's lines with the INI text: each section's header, lines and an empty line.
  void GetStrings(TStrings* List) const;
  // Replaces the content with the INI text in List.
  void SetStrings(TStrings* List);
  // Takes another file name, reading that file when Reload.
  void Rename(const String& FileName, bool Reload);

  bool CaseSensitive() const { return case_sensitive_; }
  void SetCaseSensitive(bool Value);
  const TEncoding* Encoding() const { return encoding_; }

 private:
  struct Section {
    String Name;
    std::vector<String> Lines;  // "name=value", or a line without "="
    mutable std::unordered_map<String, size_t> Keys;  // folded name -> first line
    mutable bool Indexed = false;
  };
  String Fold(const String& s) const;
  const Section* FindSection(const String& Name) const;
  Section* FindSection(const String& Name);
  Section& AddSection(const String& Name);
  // Index of the first line holding Ident; -1 when none.
  int FindKey(const Section& S, const String& Ident) const;
  void LoadValues();
  void SectionsChanged() { sections_indexed_ = false; }

  std::vector<Section> sections_;
  mutable std::unordered_map<String, size_t> section_index_;  // folded name -> first section
  mutable bool sections_indexed_ = false;
  bool case_sensitive_ = false;
  const TEncoding* given_encoding_;
  const TEncoding* encoding_;
};

}  // namespace vcl
