// Redirecting functions by patching their entry: functions of this program with the entries
// that matter (one long instruction, several short ones, a RIP-relative load, an entry that
// is not aligned for one store, an import jump), the original callable throughout, the bytes
// given back exactly, and calls from another thread while the patch goes on and off.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "skin_layered/core/CodePatch.h"

extern "C" {
int qv_one_instruction(int);   // lea rsp, [rsp+0] (8 bytes), then x + 1
int qv_several(int);           // three short instructions covering the jump (slow ones, where
                               // a thread is often stopped): x + 2
int qv_rip_relative(int);      // mov eax, [rip+value]; add eax, ecx: 1000 + x
int qv_unaligned(int);         // starts 5 bytes past an 8-byte boundary: x + 3
int qv_short_branch(int);      // begins with a short jump: cannot be moved
int qv_import_jump(int);       // jmp [rip+pointer] to qv_one_instruction
}

asm(R"(
  .text
  .p2align 4
  .globl qv_one_instruction
qv_one_instruction:
  .byte 0x48, 0x8d, 0xa4, 0x24, 0, 0, 0, 0
  lea 1(%rcx), %eax
  ret

  .p2align 4
  .globl qv_several
qv_several:
  pause
  pause
  lea 2(%rcx), %eax
  ret

  .p2align 4
  .globl qv_rip_relative
qv_rip_relative:
  mov qv_value(%rip), %eax
  add %ecx, %eax
  ret

  .p2align 4
  .byte 0xcc, 0xcc, 0xcc, 0xcc, 0xcc
  .globl qv_unaligned
qv_unaligned:
  .byte 0x48, 0x8d, 0xa4, 0x24, 0, 0, 0, 0
  lea 3(%rcx), %eax
  ret

  .p2align 4
  .globl qv_short_branch
qv_short_branch:
  jmp 1f
1:
  mov %ecx, %eax
  ret

  .p2align 4
  .globl qv_import_jump
qv_import_jump:
  jmp *qv_pointer(%rip)

  .data
  .p2align 3
qv_value:
  .long 1000
qv_pointer:
  .quad qv_one_instruction
  .text
)");

namespace skin_layered::test {
namespace {

int Negate(int x) { return -x; }

using Fn = int (*)(int);

// Calls through a volatile pointer, as another module would: the compiler sees no function.
int Call(Fn f, int x) {
  Fn volatile p = f;
  return p(x);
}

void CheckPatch(Fn f, int expected) {
  std::uint8_t before[16];
  TCodePatch patch(reinterpret_cast<const void*>(f), reinterpret_cast<const void*>(&Negate));
  ASSERT_TRUE(patch.Ready());
  std::memcpy(before, patch.Entry(), sizeof before);
  EXPECT_EQ(patch.Original<Fn>()(5), expected);
  ASSERT_TRUE(patch.Apply());
  EXPECT_TRUE(patch.Applied());
  EXPECT_EQ(Call(f, 5), -5);
  EXPECT_EQ(patch.Original<Fn>()(5), expected);  // the original while patched
  EXPECT_TRUE(patch.Apply());                    // a second time changes nothing
  EXPECT_EQ(Call(f, 5), -5);
  patch.Remove();
  EXPECT_FALSE(patch.Applied());
  EXPECT_EQ(Call(f, 5), expected);
  EXPECT_EQ(std::memcmp(before, patch.Entry(), sizeof before), 0);
  EXPECT_TRUE(patch.Apply());
  EXPECT_EQ(Call(f, 5), -5);
  // Removed by the destructor.
}

TEST(CodePatch, EntriesOfEachKind) {
  {
    SCOPED_TRACE("one instruction");
    CheckPatch(&qv_one_instruction, 6);
  }
  EXPECT_EQ(Call(&qv_one_instruction, 5), 6);
  {
    SCOPED_TRACE("several instructions");
    CheckPatch(&qv_several, 7);
  }
  {
    SCOPED_TRACE("RIP-relative");
    CheckPatch(&qv_rip_relative, 1005);
  }
  {
    SCOPED_TRACE("not aligned for one store");
    CheckPatch(&qv_unaligned, 8);
  }
  EXPECT_EQ(Call(&qv_unaligned, 5), 8);
}

TEST(CodePatch, ImportJumpsLeadToTheCodeAndUnmovableEntriesAreLeftAlone) {
  TCodePatch viaJump(reinterpret_cast<const void*>(&qv_import_jump), reinterpret_cast<const void*>(&Negate));
  ASSERT_TRUE(viaJump.Ready());
  EXPECT_EQ(viaJump.Entry(), reinterpret_cast<const void*>(&qv_one_instruction));
  ASSERT_TRUE(viaJump.Apply());
  EXPECT_EQ(Call(&qv_one_instruction, 5), -5);
  viaJump.Remove();

  TCodePatch refused(reinterpret_cast<const void*>(&qv_short_branch), reinterpret_cast<const void*>(&Negate));
  EXPECT_FALSE(refused.Ready());
  EXPECT_FALSE(refused.Apply());
  EXPECT_EQ(Call(&qv_short_branch, 5), 5);
  EXPECT_EQ(refused.Original<Fn>()(5), 5);  // the function itself
}

TEST(CodePatch, TheSlotIsWithinReachOfASystemFunction) {
  // The system library lies far from the program: the relay must be near the library.
  const void* function = reinterpret_cast<const void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSysColor"));
  TCodePatch patch(function, reinterpret_cast<const void*>(&Negate));
  ASSERT_TRUE(patch.Ready());
  const auto entry = reinterpret_cast<std::uintptr_t>(patch.Entry());
  const auto original = reinterpret_cast<std::uintptr_t>(patch.Original<void*>());
  EXPECT_LT(original > entry ? original - entry : entry - original, std::uintptr_t{0x80000000});
  EXPECT_EQ(patch.Original<decltype(&GetSysColor)>()(COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
}

// Another thread keeps calling while the patch goes on and off: every answer is the
// original's or the replacement's, never a crash.
void Hammer(Fn f, int original, int rounds) {
  TCodePatch patch(reinterpret_cast<const void*>(f), reinterpret_cast<const void*>(&Negate));
  ASSERT_TRUE(patch.Ready());
  std::atomic<bool> stop{false};
  std::atomic<long long> calls{0}, wrong{0};
  std::thread caller([&] {
    while (!stop.load()) {
      const int r = Call(f, 5);
      if (r != original && r != -5) ++wrong;
      ++calls;
    }
  });
  while (calls.load() == 0) std::this_thread::yield();
  bool applied = true;
  for (int i = 0; i < rounds && applied; ++i) {
    applied = patch.Apply();
    patch.Remove();
  }
  stop = true;
  caller.join();
  EXPECT_TRUE(applied);
  EXPECT_EQ(wrong.load(), 0);
  EXPECT_GT(calls.load(), 0);
}

TEST(CodePatch, CallsFromAnotherThreadWhilePatching) {
  {
    SCOPED_TRACE("one store");
    Hammer(&qv_one_instruction, 6, 1000);
  }
  {
    SCOPED_TRACE("threads held");
    Hammer(&qv_several, 7, 300);
  }
  {
    SCOPED_TRACE("threads held, unaligned");
    Hammer(&qv_unaligned, 8, 300);
  }
}

}  // namespace
}  // namespace skin_layered::test
