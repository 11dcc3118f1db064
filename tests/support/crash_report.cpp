// A Windows test program that dies of an unhandled exception (a page fault, a use after free)
// prints where before it ends as it would have: the exception, then each frame of the stack as
// its module and its address in the module's file, which
// `x86_64-w64-mingw32-addr2line -f -C -e PROGRAM.exe ADDRESS` names. Linked into every Windows
// test program; it installs itself as the program starts. Wine reports a fault at an address
// no pointer can hold (freed memory marked 0xAB..., say) as one at ffffffffffffffff.
#include <windows.h>

#include <cstddef>

namespace wintest {
namespace {

// A line built without the C runtime: the crash may have come inside it, holding its locks.
class TLine {
 public:
  TLine& operator<<(const char* Text) {
    while (*Text && size_ < sizeof(text_)) text_[size_++] = *Text++;
    return *this;
  }
  TLine& Hex(unsigned long long Value, int Digits) {
    char digits[16];
    for (int i = Digits - 1; i >= 0; --i, Value >>= 4) digits[i] = "0123456789abcdef"[Value & 0xF];
    for (int i = 0; i < Digits && size_ < sizeof(text_); ++i) text_[size_++] = digits[i];
    return *this;
  }
  TLine& TwoDigits(int Value) {
    const char digits[] = {static_cast<char>('0' + Value / 10 % 10), static_cast<char>('0' + Value % 10), 0};
    return *this << digits;
  }
  TLine& Wide(const wchar_t* Text) {
    for (; *Text && size_ < sizeof(text_); ++Text) text_[size_++] = *Text < 128 ? static_cast<char>(*Text) : '?';
    return *this;
  }
  void Write() {
    if (size_ < sizeof(text_)) text_[size_++] = '\n';
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), text_, static_cast<DWORD>(size_), &written, nullptr);
    size_ = 0;
  }

 private:
  char text_[512];
  std::size_t size_ = 0;
};

// The frame's module (its file name without the folder) and the address in its file: the
// address less the module's load base plus the base its file prefers.
void WriteFrame(int Index, DWORD64 Address) {
  TLine line;
  line << "  #";
  line.TwoDigits(Index) << " ";
  line.Hex(Address, 16);
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(Address), &module) ||
      !module)
    return line.Write();
  const auto base = reinterpret_cast<DWORD64>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(reinterpret_cast<const char*>(module) + dos->e_lfanew);
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  const wchar_t* file = L"?";
  if (length > 0 && length < MAX_PATH) {
    file = path;
    for (const wchar_t* p = path; *p; ++p)
      if (*p == L'\\' || *p == L'/') file = p + 1;
  }
  line << "  ";
  line.Wide(file) << " at ";
  line.Hex(Address - base + nt->OptionalHeader.ImageBase, 16);
  line.Write();
}

// The frames of the stack from Start (its instruction first), at most MaxFrames.
void WriteStack(const CONTEXT& Start, int MaxFrames) {
  CONTEXT context = Start;
  int frames = 0;
  while (frames < MaxFrames && context.Rip != 0) {
    WriteFrame(frames++, context.Rip);
    const DWORD64 sp = context.Rsp;
    DWORD64 base = 0;
    if (PRUNTIME_FUNCTION function = RtlLookupFunctionEntry(context.Rip, &base, nullptr)) {
      void* handlerData = nullptr;
      DWORD64 establisher = 0;
      RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handlerData, &establisher, nullptr);
    } else {
      // A leaf function: its return address lies on the top of the stack.
      if (IsBadReadPtr(reinterpret_cast<const void*>(sp), sizeof(DWORD64))) break;
      context.Rip = *reinterpret_cast<const DWORD64*>(sp);
      context.Rsp = sp + sizeof(DWORD64);
    }
    // A stack that does not grow upwards is corrupt.
    if (context.Rsp <= sp) break;
  }
}

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* Info) {
  const EXCEPTION_RECORD& record = *Info->ExceptionRecord;
  TLine line;
  line << "\n*** unhandled exception ";
  line.Hex(record.ExceptionCode, 8) << " at ";
  line.Hex(reinterpret_cast<DWORD64>(record.ExceptionAddress), 16);
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    line << (record.ExceptionInformation[0] == 0 ? " (reading " : " (writing ");
    line.Hex(record.ExceptionInformation[1], 16) << ")";
  }
  line << "; the stack, each frame's address in its module's file:";
  line.Write();
  WriteStack(*Info->ContextRecord, 64);
  // What would have happened without the report: the debugger, or the process's end.
  return EXCEPTION_CONTINUE_SEARCH;
}

// Installed for the program's life; the filter before it is put back as the program ends.
const class TInstall {
 public:
  TInstall() : previous_(SetUnhandledExceptionFilter(&ReportCrash)) {}
  ~TInstall() { SetUnhandledExceptionFilter(previous_); }
  TInstall(const TInstall&) = delete;
  TInstall& operator=(const TInstall&) = delete;

 private:
  LPTOP_LEVEL_EXCEPTION_FILTER previous_;
} kInstall;

}  // namespace

}  // namespace wintest
