// Writes the starting corpus of the entry-code fuzz target: usual function prologues (frame
// set-up, stack reservation, saved registers, RIP-relative loads, calls and jumps), each after
// the three bytes that choose the entry length and the slot's distance.
// Usage: write_entry_seeds OUTPUT_DIR
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: write_entry_seeds OUTPUT_DIR\n");
    return 2;
  }
  const fs::path dir = fs::path(argv[1]) / "fuzz_entry_code";
  fs::create_directories(dir);
  using Bytes = std::vector<std::uint8_t>;
  const std::vector<Bytes> prologues{
      {0x55, 0x48, 0x89, 0xE5, 0x48, 0x83, 0xEC, 0x20, 0xC3},                     // push rbp; mov rbp, rsp; sub
      {0x48, 0x89, 0x5C, 0x24, 0x08, 0x57, 0x48, 0x83, 0xEC, 0x20},              // mov [rsp+8], rbx; push rdi
      {0x48, 0x8B, 0x05, 0x10, 0, 0, 0, 0xE8, 0x40, 0, 0, 0, 0x90},              // mov rax, [rip+x]; call
      {0x48, 0x8D, 0xA4, 0x24, 0, 0, 0, 0, 0x0F, 0x84, 1, 2, 3, 4},              // lea rsp filler; je rel32
      {0x83, 0x3D, 1, 2, 3, 4, 9, 0xFF, 0x25, 0, 0, 0, 0},                       // cmp [rip+x], 9; jmp [rip]
      {0x66, 0x81, 0xF9, 0x34, 0x12, 0x48, 0xB8, 1, 2, 3, 4, 5, 6, 7, 8, 0xC3},  // cmp cx, imm16; mov rax, imm64
      {0x41, 0x57, 0x41, 0x56, 0x53, 0x48, 0x81, 0xEC, 0, 1, 0, 0, 0xE9, 1, 0, 0, 0},
      {0xF7, 0xC1, 1, 0, 0, 0, 0x0F, 0x1F, 0x44, 0, 0, 0x31, 0xC0, 0x74, 0x02},
  };
  int n = 0;
  for (const Bytes& code : prologues) {
    for (const Bytes& head : {Bytes{4, 128, 0}, Bytes{13, 120, 7}}) {
      Bytes seed = head;
      seed.insert(seed.end(), code.begin(), code.end());
      std::ofstream out(dir / ("prologue" + std::to_string(n++)), std::ios::binary);
      out.write(reinterpret_cast<const char*>(seed.data()), static_cast<std::streamsize>(seed.size()));
    }
  }
  return 0;
}
