#include "skin_layered/core/EntryCode.h"

#include <cstring>
#include <limits>

namespace skin_layered {
namespace {

// A cursor over the instruction's bytes that refuses to read past the end.
class TCursor {
 public:
  explicit TCursor(std::span<const std::uint8_t> Code) : code_(Code) {}
  bool Next(std::uint8_t& Byte) {
    if (pos_ >= code_.size()) return false;
    Byte = code_[pos_++];
    return true;
  }
  bool Skip(int Count) {
    if (Count < 0 || code_.size() - pos_ < static_cast<std::size_t>(Count)) return false;
    pos_ += static_cast<std::size_t>(Count);
    return true;
  }
  int Position() const { return static_cast<int>(pos_); }

 private:
  std::span<const std::uint8_t> code_;
  std::size_t pos_ = 0;
};

constexpr int kMaxInstructionLength = 15;

bool IsLegacyPrefix(std::uint8_t B) {
  switch (B) {
    case 0x66: case 0x67: case 0xF0: case 0xF2: case 0xF3:
    case 0x26: case 0x2E: case 0x36: case 0x3E: case 0x64: case 0x65:
      return true;
    default:
      return false;
  }
}

// The ModRM byte with its SIB and displacement; the reg field comes back for the opcode
// groups that depend on it, and a RIP-relative displacement's position is noted.
bool SkipModRM(TCursor& C, int& Reg, TX64Instruction& Out) {
  std::uint8_t modrm = 0;
  if (!C.Next(modrm)) return false;
  const int mod = modrm >> 6;
  const int rm = modrm & 7;
  Reg = (modrm >> 3) & 7;
  if (mod == 3) return true;
  int disp = mod == 1 ? 1 : mod == 2 ? 4 : 0;
  if (rm == 4) {
    std::uint8_t sib = 0;
    if (!C.Next(sib)) return false;
    if (mod == 0 && (sib & 7) == 5) disp = 4;
  } else if (mod == 0 && rm == 5) {
    Out.RelativeField = C.Position();
    disp = 4;
  }
  return C.Skip(disp);
}

// Two-byte opcodes (after 0x0F) with a ModRM byte and no immediate.
bool TwoByteWithModRM(std::uint8_t Op) {
  return (Op >= 0x10 && Op <= 0x1F) || (Op >= 0x28 && Op <= 0x2F) || (Op >= 0x40 && Op <= 0x4F) ||
         (Op >= 0x51 && Op <= 0x5F) || Op == 0x6E || Op == 0x6F || Op == 0x7E || Op == 0x7F || Op == 0xAF ||
         Op == 0xB6 || Op == 0xB7 || Op == 0xBE || Op == 0xBF || Op == 0xD6 || Op == 0xEF;
}

}  // namespace

bool DecodeX64Instruction(std::span<const std::uint8_t> Code, TX64Instruction& Out) {
  Out = {};
  TCursor c(Code);
  std::uint8_t op = 0;
  bool operand16 = false;
  int prefixes = 0;
  for (;;) {
    if (!c.Next(op)) return false;
    if (!IsLegacyPrefix(op)) break;
    if (op == 0x66) operand16 = true;
    if (++prefixes > 4) return false;
  }
  bool rexW = false;
  if ((op & 0xF0) == 0x40) {
    rexW = (op & 8) != 0;
    if (!c.Next(op)) return false;
  }
  const int immZ = operand16 ? 2 : 4;  // an immediate of the operand size (never 8 bytes)
  int reg = 0;
  bool ok = true;

  if (op == 0x0F) {
    std::uint8_t op2 = 0;
    if (!c.Next(op2)) return false;
    if (op2 >= 0x80 && op2 <= 0x8F) {  // jcc rel32
      Out.RelativeField = c.Position();
      ok = c.Skip(4);
    } else if (TwoByteWithModRM(op2)) {
      ok = SkipModRM(c, reg, Out);
    } else {
      return false;
    }
  } else if (op < 0x40 && (op & 7) < 6) {  // the eight arithmetic groups
    switch (op & 7) {
      case 4: ok = c.Skip(1); break;      // op al, imm8
      case 5: ok = c.Skip(immZ); break;   // op eax, imm32
      default: ok = SkipModRM(c, reg, Out); break;
    }
  } else if (op >= 0x50 && op <= 0x5F) {  // push / pop
  } else if (op >= 0x90 && op <= 0x99) {  // nop, xchg, cwde, cdq
  } else if (op >= 0xB0 && op <= 0xB7) {
    ok = c.Skip(1);
  } else if (op >= 0xB8 && op <= 0xBF) {
    ok = c.Skip(rexW ? 8 : immZ);
  } else {
    switch (op) {
      case 0x63: case 0x84: case 0x85: case 0x86: case 0x87: case 0x88: case 0x89: case 0x8A: case 0x8B:
      case 0x8C: case 0x8D: case 0x8E: case 0x8F: case 0xD0: case 0xD1: case 0xD2: case 0xD3: case 0xFE:
        ok = SkipModRM(c, reg, Out);
        break;
      case 0x68: ok = c.Skip(immZ); break;
      case 0x6A: case 0xA8: ok = c.Skip(1); break;
      case 0xA9: ok = c.Skip(immZ); break;
      case 0x69: case 0x81: case 0xC7: ok = SkipModRM(c, reg, Out) && c.Skip(immZ); break;
      case 0x6B: case 0x80: case 0x83: case 0xC0: case 0xC1: case 0xC6:
        ok = SkipModRM(c, reg, Out) && c.Skip(1);
        break;
      case 0xF6: ok = SkipModRM(c, reg, Out) && c.Skip(reg < 2 ? 1 : 0); break;
      case 0xF7: ok = SkipModRM(c, reg, Out) && c.Skip(reg < 2 ? immZ : 0); break;
      case 0xFF:
        ok = SkipModRM(c, reg, Out);
        Out.EndsFlow = reg == 4 || reg == 5;  // jmp r/m
        break;
      case 0xC2: ok = c.Skip(2); Out.EndsFlow = true; break;
      case 0xC3: case 0xCC: Out.EndsFlow = true; break;
      case 0xC9: break;  // leave
      case 0xE8: case 0xE9:
        Out.RelativeField = c.Position();
        ok = c.Skip(4);
        Out.EndsFlow = op == 0xE9;
        break;
      default:
        return false;  // short branches (EB, 7x, E0-E3) among the rest
    }
  }
  // The processor refuses an instruction longer than 15 bytes (four prefixes, a REX, a SIB
  // with its displacement and an immediate can spell one): it is not code to move.
  if (!ok || c.Position() > kMaxInstructionLength) return false;
  Out.Length = c.Position();
  return true;
}

bool ReadMovableEntry(std::span<const std::uint8_t> Code, int MinBytes, TX64Entry& Out) {
  Out = {};
  while (Out.Length < MinBytes) {
    if (Out.Count == TX64Entry::kMaxInstructions) return false;
    TX64Instruction& ins = Out.Instructions[static_cast<std::size_t>(Out.Count)];
    if (!DecodeX64Instruction(Code.subspan(static_cast<std::size_t>(Out.Length)), ins)) return false;
    ++Out.Count;
    Out.Length += ins.Length;
    if (ins.EndsFlow && Out.Length < MinBytes) return false;
  }
  return true;
}

bool NearJumpBytes(std::uint64_t From, std::uint64_t Target, std::array<std::uint8_t, kNearJumpSize>& Out) {
  const std::int64_t distance = static_cast<std::int64_t>(Target - (From + kNearJumpSize));
  if (distance < std::numeric_limits<std::int32_t>::min() || distance > std::numeric_limits<std::int32_t>::max())
    return false;
  const auto rel = static_cast<std::int32_t>(distance);
  Out[0] = 0xE9;
  std::memcpy(&Out[1], &rel, 4);
  return true;
}

void AbsoluteJumpBytes(std::uint64_t Target, std::span<std::uint8_t, kAbsoluteJumpSize> Out) {
  static constexpr std::uint8_t kJmpRip0[6] = {0xFF, 0x25, 0, 0, 0, 0};
  std::memcpy(Out.data(), kJmpRip0, sizeof kJmpRip0);
  std::memcpy(Out.data() + 6, &Target, 8);
}

bool BuildPatchSlot(std::span<const std::uint8_t> Code, const TX64Entry& Entry, std::uint64_t CodeAddress,
                    std::uint64_t SlotAddress, std::uint64_t Replacement, std::span<std::uint8_t, kSlotSize> Out) {
  if (Entry.Length > kMaxEntryLength || Code.size() < static_cast<std::size_t>(Entry.Length)) return false;
  std::memset(Out.data(), 0xCC, Out.size());
  AbsoluteJumpBytes(Replacement, Out.subspan<0, kAbsoluteJumpSize>());

  // The entry's instructions keep their lengths; only relative fields change, by the
  // distance they moved.
  std::uint8_t* original = Out.data() + kSlotOriginalOffset;
  std::memcpy(original, Code.data(), static_cast<std::size_t>(Entry.Length));
  const std::uint64_t newStart = SlotAddress + kSlotOriginalOffset;
  int offset = 0;
  for (int i = 0; i < Entry.Count; ++i) {
    const TX64Instruction& ins = Entry.Instructions[static_cast<std::size_t>(i)];
    if (ins.RelativeField >= 0) {
      std::int32_t rel = 0;
      std::memcpy(&rel, original + offset + ins.RelativeField, 4);
      const std::int64_t moved = static_cast<std::int64_t>(rel) + static_cast<std::int64_t>(CodeAddress - newStart);
      if (moved < std::numeric_limits<std::int32_t>::min() || moved > std::numeric_limits<std::int32_t>::max())
        return false;
      rel = static_cast<std::int32_t>(moved);
      std::memcpy(original + offset + ins.RelativeField, &rel, 4);
    }
    offset += ins.Length;
  }
  AbsoluteJumpBytes(CodeAddress + static_cast<std::uint64_t>(Entry.Length),
                    std::span<std::uint8_t, kAbsoluteJumpSize>(original + Entry.Length, kAbsoluteJumpSize));
  return true;
}

}  // namespace skin_layered
