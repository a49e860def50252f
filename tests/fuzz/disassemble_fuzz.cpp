// The disassembler on any bytes at any address: it must give a length of 1
// to 4 and at most 32 printable ASCII characters, and into a smaller buffer
// the same text cut short, still NUL-terminated, never written past its end.
//
// Input: the address (2 bytes, little-endian), then memory, repeated to fill
// all 64 KiB.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/z80.h"

namespace {

struct Memory {
  const uint8_t* bytes;
  size_t size;
};

uint8_t read(void* context, uint16_t address) {
  const Memory& memory = *static_cast<Memory*>(context);
  return memory.size == 0 ? 0 : memory.bytes[address % memory.size];
}

[[noreturn]] void fault(const char* what, const char* text) {
  std::fprintf(stderr, "%s: \"%s\"\n", what, text);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return -1;
  const auto address = static_cast<uint16_t>(data[0] | data[1] << 8);
  Memory memory{data + 2, size - 2};

  char text[64];
  std::memset(text, 'x', sizeof text);
  const int length = z80_disassemble(read, &memory, address, text, sizeof text);
  if (std::memchr(text, '\0', sizeof text) == nullptr) fault("no NUL", "");
  if (length < 1 || length > 4) fault("length outside 1 to 4", text);
  const size_t characters = std::strlen(text);
  if (characters == 0 || characters > 32) fault("text empty or longer than 32 characters", text);
  for (size_t i = 0; i < characters; ++i)
    if (text[i] < 0x20 || text[i] > 0x7E) fault("text not printable ASCII", text);

  // Exactly sized heap buffers, so that a write past the end is caught.
  for (size_t small = 0; small <= characters; ++small) {
    const auto cut = std::make_unique<char[]>(small == 0 ? 1 : small);
    if (z80_disassemble(read, &memory, address, cut.get(), small) != length)
      fault("the length depends on the buffer", text);
    if (small > 0 && (std::strlen(cut.get()) != small - 1 || std::strncmp(cut.get(), text, small - 1) != 0))
      fault("a short buffer does not hold the text cut short", text);
  }
  return 0;
}
