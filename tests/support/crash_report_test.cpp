// The crash report of the Windows test programs: this program run again with a test that
// faults two calls down says which exception, and names the faulting function and its caller
// by their addresses in the program's file, before it ends with the exception's code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>

#include "support/win_test_support.h"

namespace wintest {
namespace {

using ::testing::HasSubstr;

// A page fault writing at 0x10, and its caller (neither inlined nor called last, so that each
// has its own frame).
__attribute__((noinline)) int Fault(volatile int* At) {
  *At = 1;
  return *At;
}
__attribute__((noinline)) int CallFault(volatile int* At) { return Fault(At) + 1; }

TEST(CrashReport, DISABLED_FaultsTwoCallsDown) {
  volatile int result = CallFault(reinterpret_cast<volatile int*>(0x10));
  (void)result;
}

// The function's extent as addresses in the program's file.
struct Extent {
  unsigned long long begin = 0, end = 0;
  bool Holds(unsigned long long At) const { return At >= begin && At < end; }
};

Extent ExtentOf(const void* Function) {
  DWORD64 base = 0;
  const PRUNTIME_FUNCTION entry = RtlLookupFunctionEntry(reinterpret_cast<DWORD64>(Function), &base, nullptr);
  if (!entry) return {};
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const unsigned long long preferred = nt->OptionalHeader.ImageBase;
  return {preferred + entry->BeginAddress, preferred + entry->EndAddress};
}

struct ChildRun {
  std::string output;
  DWORD exitCode = 0;
};

// This program with Arguments, its standard output and error together; nothing when it could
// not start or did not end within the bound.
std::optional<ChildRun> RunThisProgram(const std::wstring& Arguments) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inherit, 1 << 16)) return std::nullopt;
  const UniqueHandle reader(readEnd);
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  PROCESS_INFORMATION pi{};
  {
    // Closed once the child has its copy: the pipe then ends when the child does.
    const UniqueHandle writer(writeEnd);
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    std::wstring command = L"\"" + std::wstring(self) + L"\" " + Arguments;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
      return std::nullopt;
  }
  const UniqueHandle process(pi.hProcess), thread(pi.hThread);
  // The pipe holds the whole output (a report is a few lines): the child never waits for it.
  if (WaitForSingleObject(pi.hProcess, 120'000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 1);
    return std::nullopt;
  }
  ChildRun run;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(readEnd, buffer, sizeof(buffer), &read, nullptr) && read > 0) run.output.append(buffer, read);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  return run;
}

// The address in the file of frame Index of the report; 0 without that frame.
unsigned long long FrameAddress(const std::string& Output, int Index) {
  char tag[16];
  std::snprintf(tag, sizeof(tag), "  #%02d ", Index);
  const std::size_t line = Output.find(tag);
  if (line == std::string::npos) return 0;
  const std::size_t at = Output.find(" at ", line + 5);
  if (at == std::string::npos || at > Output.find('\n', line)) return 0;
  return std::stoull(Output.substr(at + 4, 16), nullptr, 16);
}

TEST(CrashReport, AFaultNamesItsExceptionTheFaultingFunctionAndItsCaller) {
  const std::optional<ChildRun> run =
      RunThisProgram(L"--gtest_filter=CrashReport.DISABLED_FaultsTwoCallsDown --gtest_also_run_disabled_tests");
  ASSERT_TRUE(run) << "the program did not run again, or did not end";
  EXPECT_EQ(run->exitCode, static_cast<DWORD>(EXCEPTION_ACCESS_VIOLATION)) << run->output;
  EXPECT_THAT(run->output, HasSubstr("*** unhandled exception c0000005 at "));
  EXPECT_THAT(run->output, HasSubstr("(writing 0000000000000010)"));
  const Extent fault = ExtentOf(reinterpret_cast<const void*>(&Fault));
  const Extent caller = ExtentOf(reinterpret_cast<const void*>(&CallFault));
  ASSERT_NE(fault.begin, 0u);
  EXPECT_TRUE(fault.Holds(FrameAddress(run->output, 0))) << run->output;
  EXPECT_TRUE(caller.Holds(FrameAddress(run->output, 1))) << run->output;
  // The frames go on down to the program's start.
  EXPECT_NE(FrameAddress(run->output, 4), 0u) << run->output;
}

}  // namespace
}  // namespace wintest
