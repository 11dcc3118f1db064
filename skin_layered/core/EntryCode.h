// The machine code at a function's entry, as far as redirecting the function needs it: the
// lengths of the first x86-64 instructions, whether they can run elsewhere, and the bytes of
// a patch slot (a relay to the replacement and a copy of the entry that goes on with the rest
// of the function). Plain bytes and addresses: no windows.h, so it is tested natively.
//
// Only the instructions that function prologues use are understood; anything else (and a
// short relative branch, which cannot be moved) makes the entry unmovable, and the function
// is then left alone.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace skin_layered {

struct TX64Instruction {
  int Length = 0;
  // Where a 32-bit field relative to the next instruction sits (a RIP-relative operand or a
  // rel32 branch), -1 when there is none: moving the instruction moves its target.
  int RelativeField = -1;
  // The flow does not go on to the next byte (ret, jmp, int3): what follows may belong to
  // another function.
  bool EndsFlow = false;
};

// Decodes the instruction at the start of Code; false for an instruction this decoder does not
// know, a short relative branch, one longer than the processor allows (15 bytes), or bytes that
// end before the instruction does.
bool DecodeX64Instruction(std::span<const std::uint8_t> Code, TX64Instruction& Out);

// The whole instructions at the start of Code that cover at least MinBytes.
struct TX64Entry {
  static constexpr int kMaxInstructions = 8;
  std::array<TX64Instruction, kMaxInstructions> Instructions{};
  int Count = 0;
  int Length = 0;
};
// False when the entry cannot be moved: an unknown instruction, or the function's flow ends
// before MinBytes.
bool ReadMovableEntry(std::span<const std::uint8_t> Code, int MinBytes, TX64Entry& Out);

// Bytes of a jump to Target at From: an E9 rel32 of 5 bytes when Target is within reach
// (false otherwise).
inline constexpr int kNearJumpSize = 5;
bool NearJumpBytes(std::uint64_t From, std::uint64_t Target, std::array<std::uint8_t, kNearJumpSize>& Out);

// An absolute jump through the 8 bytes after it: jmp [rip+0]; dq Target.
inline constexpr int kAbsoluteJumpSize = 14;
void AbsoluteJumpBytes(std::uint64_t Target, std::span<std::uint8_t, kAbsoluteJumpSize> Out);

// One patch slot, placed within reach of the function it redirects: at offset 0 the relay (an
// absolute jump to the replacement), at kSlotOriginalOffset the function as it was (the moved
// entry, then an absolute jump to the rest of the function).
inline constexpr int kSlotSize = 64;
inline constexpr int kSlotOriginalOffset = 16;
inline constexpr int kMaxEntryLength = kSlotSize - kSlotOriginalOffset - kAbsoluteJumpSize;

// Fills a slot at SlotAddress for the function whose entry Code (at CodeAddress) was read into
// Entry. False when a relative field would point out of reach from the slot or the entry is
// too long.
bool BuildPatchSlot(std::span<const std::uint8_t> Code, const TX64Entry& Entry, std::uint64_t CodeAddress,
                    std::uint64_t SlotAddress, std::uint64_t Replacement, std::span<std::uint8_t, kSlotSize> Out);

}  // namespace skin_layered
