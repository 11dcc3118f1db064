// The entry code of a function as the code patch reads it: instruction lengths of the usual
// prologues, relative fields, what cannot be moved, and the slot that keeps the function as
// it was with its relative targets unchanged.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "skin_layered/core/EntryCode.h"

namespace skin_layered::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

TX64Instruction Decode(const Bytes& code) {
  TX64Instruction ins;
  EXPECT_TRUE(DecodeX64Instruction(code, ins)) << "first byte " << int(code[0]);
  return ins;
}

TEST(EntryCode, LengthsOfPrologueInstructions) {
  struct Case {
    Bytes code;
    int length;
  };
  const Case cases[] = {
      {{0x48, 0x8D, 0xA4, 0x24, 0, 0, 0, 0}, 8},   // lea rsp, [rsp+0] (the hot-patch filler)
      {{0x48, 0x83, 0xEC, 0x28}, 4},               // sub rsp, 0x28
      {{0x31, 0xC0}, 2},                           // xor eax, eax
      {{0x83, 0xF9, 0x07}, 3},                     // cmp ecx, 7
      {{0x0F, 0x43, 0xC8}, 3},                     // cmovae ecx, eax
      {{0x45, 0x31, 0xC9}, 3},                     // xor r9d, r9d
      {{0x48, 0x89, 0x5C, 0x24, 0x08}, 5},         // mov [rsp+8], rbx
      {{0x40, 0x53}, 2},                           // push rbx
      {{0x55}, 1},                                 // push rbp
      {{0x48, 0x8B, 0xEC}, 3},                     // mov rbp, rsp
      {{0x48, 0x81, 0xEC, 0, 1, 0, 0}, 7},         // sub rsp, 0x100
      {{0x66, 0x81, 0xF9, 0x34, 0x12}, 5},         // cmp cx, 0x1234 (16-bit immediate)
      {{0x48, 0xB8, 1, 2, 3, 4, 5, 6, 7, 8}, 10},  // mov rax, imm64
      {{0xB8, 1, 2, 3, 4}, 5},                     // mov eax, imm32
      {{0x8B, 0x44, 0x8D, 0x10}, 4},               // mov eax, [rbp+rcx*4+0x10]
      {{0x8B, 0x04, 0x25, 0, 0, 0, 0}, 7},         // mov eax, [abs32] (SIB without base)
      {{0xF7, 0xC1, 1, 0, 0, 0}, 6},               // test ecx, 1
      {{0xF7, 0xD9}, 2},                           // neg ecx
      {{0x0F, 0x1F, 0x44, 0, 0}, 5},               // nop dword [rax+rax]
      {{0x66, 0x90}, 2},                           // xchg ax, ax
  };
  for (const Case& c : cases) {
    const TX64Instruction ins = Decode(c.code);
    EXPECT_EQ(ins.Length, c.length) << "first byte " << int(c.code[0]);
    EXPECT_EQ(ins.RelativeField, -1);
    EXPECT_FALSE(ins.EndsFlow);
  }
}

TEST(EntryCode, RelativeFieldsAndTheEndOfTheFlow) {
  TX64Instruction ins = Decode({0x48, 0x8B, 0x05, 1, 2, 3, 4});  // mov rax, [rip+x]
  EXPECT_EQ(ins.Length, 7);
  EXPECT_EQ(ins.RelativeField, 3);
  ins = Decode({0x83, 0x3D, 1, 2, 3, 4, 9});  // cmp dword [rip+x], 9: the field before the immediate
  EXPECT_EQ(ins.Length, 7);
  EXPECT_EQ(ins.RelativeField, 2);
  ins = Decode({0xE8, 1, 2, 3, 4});
  EXPECT_EQ(ins.RelativeField, 1);
  EXPECT_FALSE(ins.EndsFlow);
  ins = Decode({0xE9, 1, 2, 3, 4});
  EXPECT_TRUE(ins.EndsFlow);
  ins = Decode({0x0F, 0x84, 1, 2, 3, 4});
  EXPECT_EQ(ins.Length, 6);
  EXPECT_EQ(ins.RelativeField, 2);
  ins = Decode({0xFF, 0x25, 1, 2, 3, 4});  // jmp [rip+x]
  EXPECT_TRUE(ins.EndsFlow);
  EXPECT_EQ(ins.RelativeField, 2);
  EXPECT_TRUE(Decode({0xC3}).EndsFlow);
  EXPECT_TRUE(Decode({0xCC}).EndsFlow);
  EXPECT_FALSE(Decode({0xFF, 0xD0}).EndsFlow);  // call rax
}

TEST(EntryCode, WhatCannotBeMoved) {
  TX64Instruction ins;
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0xEB, 0x05}, ins));        // short jmp
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0x74, 0x05}, ins));        // short je
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0xE3, 0x05}, ins));        // jrcxz
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0x0F, 0x0B}, ins));        // ud2: unknown here
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0x48, 0x8B, 0x05, 1}, ins));  // cut short
  EXPECT_FALSE(DecodeX64Instruction(Bytes{}, ins));
  EXPECT_FALSE(DecodeX64Instruction(Bytes{0x66, 0x66, 0x66, 0x66, 0x66, 0x90}, ins));  // prefixes without end

  TX64Entry entry;
  EXPECT_FALSE(ReadMovableEntry(Bytes{0x31, 0xC0, 0xC3, 0xCC, 0xCC, 0xCC}, 5, entry));  // too short a function
  EXPECT_FALSE(ReadMovableEntry(Bytes{0x31, 0xC0, 0x74, 0x02, 0x90, 0x90}, 5, entry));  // a short branch inside
  EXPECT_TRUE(ReadMovableEntry(Bytes{0x48, 0x83, 0xEC, 0x28, 0xC3}, 5, entry));          // ret as the last one
  EXPECT_EQ(entry.Length, 5);
}

TEST(EntryCode, NoInstructionLongerThanTheProcessorTakes) {
  // add qword [rsp+disp32], imm32 behind segment prefixes: 15 bytes with three, 16 with four.
  const Bytes body{0x48, 0x81, 0x84, 0x24, 0x10, 0, 0, 0, 0x01, 0, 0, 0};
  Bytes fifteen{0x2E, 0x2E, 0x2E};
  fifteen.insert(fifteen.end(), body.begin(), body.end());
  Bytes sixteen{0x2E};
  sixteen.insert(sixteen.end(), fifteen.begin(), fifteen.end());
  TX64Instruction ins = Decode(fifteen);
  EXPECT_EQ(ins.Length, 15);
  EXPECT_FALSE(DecodeX64Instruction(sixteen, ins));

  // The longest RIP-relative one, add qword [rip+x], imm32 behind four prefixes, is 15 bytes.
  ins = Decode({0x2E, 0x2E, 0x2E, 0x2E, 0x48, 0x81, 0x05, 1, 2, 3, 4, 0x01, 0, 0, 0});
  EXPECT_EQ(ins.Length, 15);
  EXPECT_EQ(ins.RelativeField, 7);

  // An entry holding one is not moved; one holding the 15-byte one is.
  TX64Entry entry;
  Bytes entryCode{0x55};
  entryCode.insert(entryCode.end(), sixteen.begin(), sixteen.end());
  EXPECT_FALSE(ReadMovableEntry(entryCode, 5, entry));
  entryCode = {0x55};
  entryCode.insert(entryCode.end(), fifteen.begin(), fifteen.end());
  ASSERT_TRUE(ReadMovableEntry(entryCode, 5, entry));
  EXPECT_EQ(entry.Count, 2);
  EXPECT_EQ(entry.Length, 16);
}

TEST(EntryCode, TheWholeInstructionsCoveringTheJump) {
  TX64Entry entry;
  ASSERT_TRUE(ReadMovableEntry(Bytes{0x48, 0x8D, 0xA4, 0x24, 0, 0, 0, 0, 0x48, 0x83, 0xEC, 0x28}, 5, entry));
  EXPECT_EQ(entry.Count, 1);
  EXPECT_EQ(entry.Length, 8);
  ASSERT_TRUE(ReadMovableEntry(Bytes{0x48, 0x83, 0xEC, 0x28, 0x31, 0xC0, 0x83, 0xF9, 0x07}, 5, entry));
  EXPECT_EQ(entry.Count, 2);
  EXPECT_EQ(entry.Length, 6);
}

std::int32_t Rel32At(const std::uint8_t* p) {
  std::int32_t v = 0;
  std::memcpy(&v, p, 4);
  return v;
}
std::uint64_t U64At(const std::uint8_t* p) {
  std::uint64_t v = 0;
  std::memcpy(&v, p, 8);
  return v;
}

TEST(EntryCode, TheSlotRelaysAndKeepsTheFunctionWithItsTargets) {
  // mov rax, [rip+0x100]; call +0x40; ... at 0x7000'0000'1000, the slot 1 GiB above.
  const Bytes code{0x48, 0x8B, 0x05, 0x00, 0x01, 0, 0, 0xE8, 0x40, 0, 0, 0, 0x90, 0x90};
  const std::uint64_t at = 0x700000001000;
  const std::uint64_t slot = at + 0x40000000;
  const std::uint64_t replacement = 0x140001234;
  TX64Entry entry;
  ASSERT_TRUE(ReadMovableEntry(code, 5, entry));
  ASSERT_EQ(entry.Length, 7);
  std::uint8_t out[kSlotSize];
  ASSERT_TRUE(BuildPatchSlot(code, entry, at, slot, replacement, out));

  EXPECT_EQ(out[0], 0xFF);
  EXPECT_EQ(out[1], 0x25);
  EXPECT_EQ(Rel32At(out + 2), 0);
  EXPECT_EQ(U64At(out + 6), replacement);

  const std::uint8_t* moved = out + kSlotOriginalOffset;
  EXPECT_EQ(std::memcmp(moved, code.data(), 3), 0);
  const std::uint64_t oldTarget = at + 7 + 0x100;
  const std::uint64_t newTarget = slot + kSlotOriginalOffset + 7 + static_cast<std::int64_t>(Rel32At(moved + 3));
  EXPECT_EQ(newTarget, oldTarget);
  EXPECT_EQ(moved[7], 0xFF);  // then on to the rest of the function
  EXPECT_EQ(moved[8], 0x25);
  EXPECT_EQ(U64At(moved + 13), at + 7);

  // Two moved instructions: the call's target is kept too.
  ASSERT_TRUE(ReadMovableEntry(Bytes(code.begin() + 7, code.end()), 5, entry));
  const Bytes callFirst(code.begin() + 7, code.end());
  ASSERT_TRUE(BuildPatchSlot(callFirst, entry, at + 7, slot, replacement, out));
  const std::uint64_t callTarget = slot + kSlotOriginalOffset + 5 + static_cast<std::int64_t>(Rel32At(moved + 1));
  EXPECT_EQ(callTarget, at + 7 + 5 + 0x40);
}

TEST(EntryCode, TargetsOutOfReachAreRefused) {
  const Bytes code{0x48, 0x8B, 0x05, 0, 0, 0, 0};
  TX64Entry entry;
  ASSERT_TRUE(ReadMovableEntry(code, 5, entry));
  std::uint8_t out[kSlotSize];
  EXPECT_FALSE(BuildPatchSlot(code, entry, 0x200000000, 0x200000000 + 0x90000000, 1, out));
  std::array<std::uint8_t, kNearJumpSize> jump{};
  EXPECT_FALSE(NearJumpBytes(0x200000000, 0x200000000 + 0x90000000, jump));
  ASSERT_TRUE(NearJumpBytes(0x200000000, 0x200000000 - 0x100, jump));
  EXPECT_EQ(jump[0], 0xE9);
  EXPECT_EQ(Rel32At(jump.data() + 1), -0x105);
}

}  // namespace
}  // namespace skin_layered::test
