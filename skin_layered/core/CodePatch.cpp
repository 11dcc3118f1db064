#include "skin_layered/core/CodePatch.h"

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <vector>

#include "skin_layered/core/EntryCode.h"

namespace skin_layered {
namespace {

constexpr std::uint64_t kReach = 0x7FF00000;  // a little under 2 GiB, either way
constexpr int kMaxImportJumps = 8;
constexpr std::size_t kEntryBytesRead = 32;

// The readable bytes from P on, at most Max.
std::size_t ReadableFrom(const std::uint8_t* P, std::size_t Max) {
  MEMORY_BASIC_INFORMATION mbi{};
  if (!VirtualQuery(P, &mbi, sizeof mbi) || mbi.State != MEM_COMMIT) return 0;
  if (mbi.Protect & (PAGE_NOACCESS | PAGE_GUARD)) return 0;
  const auto end = static_cast<const std::uint8_t*>(mbi.BaseAddress) + mbi.RegionSize;
  return std::min<std::size_t>(Max, static_cast<std::size_t>(end - P));
}

// Follows jmp [rip+disp32] (an import pointer's jump) to the code it leads to.
std::uint8_t* ResolveEntry(std::uint8_t* P) {
  for (int i = 0; i < kMaxImportJumps && P; ++i) {
    if (ReadableFrom(P, 7) < 7) return P;
    const int prefix = P[0] == 0x48 ? 1 : 0;
    if (P[prefix] != 0xFF || P[prefix + 1] != 0x25) return P;
    std::int32_t disp = 0;
    std::memcpy(&disp, P + prefix + 2, 4);
    auto* pointer = P + prefix + 6 + disp;
    if (ReadableFrom(pointer, 8) < 8) return P;
    std::uint8_t* next = nullptr;
    std::memcpy(&next, pointer, 8);
    P = next;
  }
  return P;
}

using TNtGetNextThread = LONG(NTAPI*)(HANDLE Process, HANDLE Thread, ACCESS_MASK Access, ULONG Attributes,
                                      ULONG Flags, HANDLE* Next);

TNtGetNextThread NtGetNextThreadProc() {
  static const TNtGetNextThread proc = reinterpret_cast<TNtGetNextThread>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtGetNextThread")));
  return proc;
}

// Pages of slots, allocated within reach of the functions patched and never freed.
struct TSlotPage {
  std::uint8_t* Base = nullptr;
  int Used = 0;
};

// The process's patching: patches are made and slots handed out one at a time, from whatever
// thread.
struct TPatching {
  std::mutex Lock;
  std::vector<TSlotPage> Pages;
};

TPatching& Patching() {
  static TPatching patching;
  return patching;
}

std::mutex& PatchLock() { return Patching().Lock; }
std::vector<TSlotPage>& SlotPages() { return Patching().Pages; }

bool WithinReach(const std::uint8_t* A, const std::uint8_t* B) {
  const auto a = reinterpret_cast<std::uint64_t>(A);
  const auto b = reinterpret_cast<std::uint64_t>(B);
  return (a > b ? a - b : b - a) < kReach;
}

std::uint8_t* TryAllocate(std::uint64_t Address) {
  return static_cast<std::uint8_t*>(VirtualAlloc(reinterpret_cast<void*>(Address), 4096,
                                                 MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READ));
}

// A fresh page within reach of Near: free regions are tried nearest below first, then above.
std::uint8_t* AllocatePageNear(const std::uint8_t* Near) {
  SYSTEM_INFO si{};
  GetSystemInfo(&si);
  const std::uint64_t gran = si.dwAllocationGranularity;
  const auto origin = reinterpret_cast<std::uint64_t>(Near);
  const std::uint64_t low = origin > kReach ? origin - kReach + gran : gran;
  const std::uint64_t high = origin + kReach - gran;
  const auto alignDown = [&](std::uint64_t v) { return v / gran * gran; };
  const auto alignUp = [&](std::uint64_t v) { return (v + gran - 1) / gran * gran; };

  for (std::uint64_t p = alignDown(origin) - gran; p >= low && p < origin;) {
    MEMORY_BASIC_INFORMATION mbi{};
    if (!VirtualQuery(reinterpret_cast<void*>(p), &mbi, sizeof mbi)) break;
    if (mbi.State == MEM_FREE) {
      if (std::uint8_t* page = TryAllocate(p)) return page;
      p -= gran;
    } else {
      p = alignDown(reinterpret_cast<std::uint64_t>(mbi.AllocationBase)) - gran;
    }
  }
  for (std::uint64_t p = alignUp(origin); p <= high;) {
    MEMORY_BASIC_INFORMATION mbi{};
    if (!VirtualQuery(reinterpret_cast<void*>(p), &mbi, sizeof mbi)) break;
    const std::uint64_t regionEnd = reinterpret_cast<std::uint64_t>(mbi.BaseAddress) + mbi.RegionSize;
    if (mbi.State == MEM_FREE) {
      if (std::uint8_t* page = TryAllocate(p)) return page;
      p += gran;
    } else {
      p = alignUp(regionEnd);
    }
  }
  return nullptr;
}

std::uint8_t* SlotNear(const std::uint8_t* Entry) {
  constexpr int kSlotsPerPage = 4096 / kSlotSize;
  for (TSlotPage& page : SlotPages()) {
    if (page.Used < kSlotsPerPage && WithinReach(page.Base, Entry) &&
        WithinReach(page.Base + 4096, Entry))
      return page.Base + kSlotSize * page.Used++;
  }
  std::uint8_t* base = AllocatePageNear(Entry);
  if (!base) return nullptr;
  SlotPages().push_back({base, 1});
  return base;
}

// The process's other threads, suspended for the lifetime of the object. They are listed
// (NtGetNextThread where the system has it, else a thread snapshot) before the first one
// stops: a stopped thread may hold the heap's lock.
class TOtherThreadsSuspended {
 public:
  TOtherThreadsSuspended() {
    constexpr ACCESS_MASK kAccess =
        THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | THREAD_SET_CONTEXT | THREAD_QUERY_LIMITED_INFORMATION;
    std::vector<HANDLE> threads;
    threads.reserve(64);
    if (const TNtGetNextThread next = NtGetNextThreadProc()) {
      HANDLE current = nullptr;
      for (HANDLE found = nullptr; next(GetCurrentProcess(), current, kAccess, 0, 0, &found) == 0; current = found)
        threads.push_back(found);
    } else {
      HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
      if (snapshot != INVALID_HANDLE_VALUE) {
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
          if (entry.th32OwnerProcessID == GetCurrentProcessId())
            if (HANDLE thread = OpenThread(kAccess, FALSE, entry.th32ThreadID)) threads.push_back(thread);
        CloseHandle(snapshot);
      }
    }
    threads_.reserve(threads.size());
    const DWORD self = GetCurrentThreadId();
    for (HANDLE thread : threads) {
      if (GetThreadId(thread) == self || SuspendThread(thread) == static_cast<DWORD>(-1)) {
        CloseHandle(thread);
        continue;
      }
      threads_.push_back(thread);
    }
  }
  ~TOtherThreadsSuspended() {
    for (HANDLE thread : threads_) {
      ResumeThread(thread);
      CloseHandle(thread);
    }
  }
  TOtherThreadsSuspended(const TOtherThreadsSuspended&) = delete;
  TOtherThreadsSuspended& operator=(const TOtherThreadsSuspended&) = delete;

  // A thread stopped inside [Start + 1, Start + Length) goes on at the same place of Moved.
  void MoveOutOf(const std::uint8_t* Start, int Length, const std::uint8_t* Moved) {
    const auto start = reinterpret_cast<DWORD64>(Start);
    for (HANDLE thread : threads_) {
      alignas(16) CONTEXT context{};
      context.ContextFlags = CONTEXT_CONTROL;
      if (!GetThreadContext(thread, &context)) continue;
      if (context.Rip > start && context.Rip < start + static_cast<DWORD64>(Length)) {
        context.Rip = reinterpret_cast<DWORD64>(Moved) + (context.Rip - start);
        SetThreadContext(thread, &context);
      }
    }
  }

 private:
  std::vector<HANDLE> threads_;
};

// Makes a range writable for the scope and puts the protection back afterwards.
class TWritableCode {
 public:
  TWritableCode(void* Address, std::size_t Size) : address_(Address), size_(Size) {
    ok_ = VirtualProtect(address_, size_, PAGE_EXECUTE_READWRITE, &old_) != 0;
  }
  ~TWritableCode() {
    if (!ok_) return;
    DWORD ignored = 0;
    VirtualProtect(address_, size_, old_, &ignored);
    FlushInstructionCache(GetCurrentProcess(), address_, size_);
  }
  TWritableCode(const TWritableCode&) = delete;
  TWritableCode& operator=(const TWritableCode&) = delete;
  bool Ok() const { return ok_; }

 private:
  void* address_;
  std::size_t size_;
  DWORD old_ = 0;
  bool ok_ = false;
};

}  // namespace

TCodePatch::TCodePatch(const void* Function, const void* Replacement) {
  original_ = Function;
  entry_ = ResolveEntry(static_cast<std::uint8_t*>(const_cast<void*>(Function)));
  if (!entry_ || !Replacement) return;
  original_ = entry_;
  const std::size_t readable = ReadableFrom(entry_, kEntryBytesRead);
  TX64Entry entry;
  if (!ReadMovableEntry(std::span<const std::uint8_t>(entry_, readable), kNearJumpSize, entry)) return;

  std::lock_guard<std::mutex> guard(PatchLock());
  std::uint8_t* slot = SlotNear(entry_);
  if (!slot) return;
  std::uint8_t bytes[kSlotSize];
  std::array<std::uint8_t, kNearJumpSize> jump{};
  if (!BuildPatchSlot(std::span<const std::uint8_t>(entry_, readable), entry, reinterpret_cast<std::uint64_t>(entry_),
                      reinterpret_cast<std::uint64_t>(slot), reinterpret_cast<std::uint64_t>(Replacement),
                      std::span<std::uint8_t, kSlotSize>(bytes)) ||
      !NearJumpBytes(reinterpret_cast<std::uint64_t>(entry_), reinterpret_cast<std::uint64_t>(slot), jump))
    return;  // the slot stays unused at the end of its page; it is not handed out again
  {
    TWritableCode writable(slot, kSlotSize);
    if (!writable.Ok()) return;
    std::memcpy(slot, bytes, kSlotSize);
  }
  std::memcpy(saved_, entry_, kNearJumpSize);
  std::memcpy(jump_, jump.data(), kNearJumpSize);
  entry_length_ = entry.Length;
  entry_count_ = entry.Count;
  slot_ = slot;
  original_ = slot + kSlotOriginalOffset;
}

TCodePatch::~TCodePatch() { Remove(); }

bool TCodePatch::Apply() {
  if (!slot_) return false;
  std::lock_guard<std::mutex> guard(PatchLock());
  if (applied_) return true;
  applied_ = WriteEntry(jump_, true);
  return applied_;
}

void TCodePatch::Remove() {
  if (!slot_) return;
  std::lock_guard<std::mutex> guard(PatchLock());
  if (!applied_) return;
  if (WriteEntry(saved_, false)) applied_ = false;
}

bool TCodePatch::WriteEntry(const std::uint8_t* Bytes, bool Patching) {
  const auto entry = reinterpret_cast<std::uintptr_t>(entry_);
  auto* word = reinterpret_cast<std::uint64_t*>(entry & ~std::uintptr_t{7});
  const std::size_t offset = entry & 7;
  const bool oneStore = offset + kNearJumpSize <= 8;
  // Threads must be held while they could meet a half-written entry, or while one could have
  // stopped between the instructions the jump covers.
  const bool holdThreads = !oneStore || (Patching && entry_count_ > 1);

  TWritableCode writable(word, 16);
  if (!writable.Ok()) return false;
  std::optional<TOtherThreadsSuspended> held;
  if (holdThreads) {
    held.emplace();
    if (Patching) held->MoveOutOf(entry_, entry_length_, slot_ + kSlotOriginalOffset);
  }
  if (oneStore) {
    std::uint64_t value = __atomic_load_n(word, __ATOMIC_SEQ_CST);
    std::memcpy(reinterpret_cast<std::uint8_t*>(&value) + offset, Bytes, kNearJumpSize);
    __atomic_store_n(word, value, __ATOMIC_SEQ_CST);
  } else {
    std::memcpy(entry_, Bytes, kNearJumpSize);
  }
  FlushInstructionCache(GetCurrentProcess(), entry_, kNearJumpSize);  // before the threads go on
  return true;
}

}  // namespace skin_layered
