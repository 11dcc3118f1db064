// File, path and command-line routines of the system utilities.
#include <windows.h>

#include "classlib/rtl/SysUtils.h"

namespace vcl {

namespace {

constexpr DWORD kNoAttributes = INVALID_FILE_ATTRIBUTES;

size_t LastPathDelimiter(StringView name) {
  const size_t p = name.find_last_of(L"\\:");
  return p == StringView::npos ? 0 : p + 1;  // length of the path part
}

// The command line split as the library splits it: blanks separate, double quotes group and
// are dropped, an empty pair of quotes before a parameter is skipped.
std::vector<String> CommandLineWords() {
  std::vector<String> words;
  const wchar_t* p = GetCommandLineW();
  if (!p) return words;
  for (;;) {
    for (;;) {
      while (*p != 0 && *p <= L' ') ++p;
      if (p[0] == L'"' && p[1] == L'"') p += 2;
      else break;
    }
    if (*p == 0) break;
    String word;
    while (*p > L' ') {
      if (*p == L'"') {
        ++p;
        while (*p != 0 && *p != L'"') word += *p++;
        if (*p != 0) ++p;
      } else {
        word += *p++;
      }
    }
    words.push_back(std::move(word));
  }
  return words;
}

String ModuleFileName() {
  String buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return String();
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    if (buf.size() >= 32768) return String();
    buf.resize(buf.size() * 2);
  }
}

void FillSearchRec(TSearchRec& F, const WIN32_FIND_DATAW& data) {
  F.Attr = static_cast<int>(data.dwFileAttributes);
  F.Size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  F.Name = data.cFileName;
  FILETIME local;
  WORD date = 0, time = 0;
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
    F.Time = static_cast<int>((static_cast<uint32_t>(date) << 16) | time);
  else
    F.Time = -1;
}

// Steps past entries with excluded attributes; 0 when F holds a wanted entry.
int MatchingEntry(TSearchRec& F, WIN32_FIND_DATAW& data) {
  while ((data.dwFileAttributes & static_cast<DWORD>(F.ExcludeAttr)) != 0) {
    if (!FindNextFileW(F.FindHandle, &data)) return static_cast<int>(GetLastError());
  }
  FillSearchRec(F, data);
  return 0;
}

}  // namespace

bool FileExists(const String& FileName) {
  const DWORD a = GetFileAttributesW(FileName.c_str());
  return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool DirectoryExists(const String& Directory) {
  const DWORD a = GetFileAttributesW(Directory.c_str());
  return a != kNoAttributes && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool DeleteFile(const String& FileName) { return ::DeleteFileW(FileName.c_str()) != FALSE; }

String GetCurrentDir() {
  const DWORD n = GetCurrentDirectoryW(0, nullptr);
  if (n == 0) return String();
  String buf(n, L'\0');
  const DWORD got = GetCurrentDirectoryW(n, buf.data());
  buf.resize(got < n ? got : 0);
  return buf;
}

String ExtractFilePath(StringView FileName) { return String(FileName.substr(0, LastPathDelimiter(FileName))); }

String ExtractFileDir(StringView FileName) {
  size_t n = LastPathDelimiter(FileName);
  // Keep the delimiter of a root ("C:\", "\") or after a drive ("C:").
  if (n > 1 && FileName[n - 1] == L'\\' && FileName[n - 2] != L'\\' && FileName[n - 2] != L':') --n;
  return String(FileName.substr(0, n));
}

String ExtractFileName(StringView FileName) { return String(FileName.substr(LastPathDelimiter(FileName))); }

String ExtractFileExt(StringView FileName) {
  const size_t p = FileName.find_last_of(L".\\:");
  if (p == StringView::npos || FileName[p] != L'.') return String();
  return String(FileName.substr(p));
}

String SysErrorMessage(uint32_t ErrorCode) {
  wchar_t buf[512] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ErrorCode, 0, buf,
                           static_cast<DWORD>(std::size(buf)), nullptr);
  while (n > 0 && (buf[n - 1] <= L' ' || buf[n - 1] == L'.')) --n;
  return String(buf, n);
}

int ParamCount() {
  const size_t n = CommandLineWords().size();
  return n > 0 ? static_cast<int>(n - 1) : 0;
}

String ParamStr(int Index) {
  if (Index == 0) return ModuleFileName();
  if (Index < 0) return String();
  auto words = CommandLineWords();
  return static_cast<size_t>(Index) < words.size() ? words[static_cast<size_t>(Index)] : String();
}

TSearchRec::~TSearchRec() { FindClose(*this); }

int FindFirst(const String& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  F.ExcludeAttr = ~Attr & (faHidden | faSysFile | faDirectory);
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(Path.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  F.FindHandle = h;
  const int result = MatchingEntry(F, data);
  if (result != 0) FindClose(F);
  return result;
}

int FindNext(TSearchRec& F) {
  if (!F.FindHandle) return ERROR_NO_MORE_FILES;
  WIN32_FIND_DATAW data;
  if (!FindNextFileW(F.FindHandle, &data)) return static_cast<int>(GetLastError());
  return MatchingEntry(F, data);
}

void FindClose(TSearchRec& F) {
  if (F.FindHandle) ::FindClose(F.FindHandle);
  F.FindHandle = nullptr;
}

}  // namespace vcl
