// Redirecting a function of this process to a replacement by patching its entry code.
//
// On x86-64 the system libraries lie more than 2 GiB away from the program, so the 5-byte
// jump written at the entry goes to a relay within reach of it (a page allocated near the
// function) that jumps on absolutely. Beside the relay the slot keeps the function as it was:
// its first instructions, moved, then a jump to the rest. The original is called there, so
// the patch stays in place while the replacement calls it: no other thread ever meets the
// function unpatched or half patched.
//
// Writing is safe against the process's other threads: the jump is stored with one aligned
// 8-byte write, so a thread meets the old entry or the new one, never a mix. When the moved
// entry is more than one instruction (a thread could have stopped between them) or the jump
// cannot be written in one store, the other threads are suspended for the write and any that
// stopped inside the moved instructions is moved on to the same place in the slot. Slots are
// never freed: a thread may still be running in one.
#pragma once

#include <cstdint>

namespace skin_layered {

class TCodePatch {
 public:
  // Prepares redirecting Function (the address as imported; jumps through import pointers
  // are followed to the code) to Replacement. Nothing is written yet.
  TCodePatch(const void* Function, const void* Replacement);
  // Removes the patch when it is applied.
  ~TCodePatch();
  TCodePatch(const TCodePatch&) = delete;
  TCodePatch& operator=(const TCodePatch&) = delete;

  // The entry could be read and moved and a slot within reach was found: Apply can work.
  bool Ready() const { return slot_ != nullptr; }
  // Writes the jump; false when the patch is not ready or the code cannot be written. Once
  // applied, a second call does nothing.
  bool Apply();
  // Writes the saved bytes back; nothing when not applied.
  void Remove();
  bool Applied() const { return applied_; }

  // The code the patch is written at (after following import jumps).
  const void* Entry() const { return entry_; }
  // The function as it was, callable whether the patch is applied or not.
  template <class F>
  F Original() const {
    return reinterpret_cast<F>(const_cast<void*>(original_));
  }

 private:
  bool WriteEntry(const std::uint8_t* Bytes, bool Patching);

  std::uint8_t* entry_ = nullptr;
  const void* original_ = nullptr;
  std::uint8_t* slot_ = nullptr;
  int entry_length_ = 0;     // the moved instructions
  int entry_count_ = 0;
  std::uint8_t saved_[5] = {};
  std::uint8_t jump_[5] = {};
  bool applied_ = false;
};

}  // namespace skin_layered
