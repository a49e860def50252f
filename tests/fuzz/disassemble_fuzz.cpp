// The disassembler on any bytes at any address: a length of 1 to 4 and a text
// of 1 to 32 printable ASCII characters; into a smaller buffer the same
// length and the text cut short, NUL-terminated, never written past the end.
//
// Input: the address (2 bytes, little-endian), then memory, repeated to 64 KiB.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "core/z80.h"
#include "tests/fuzz/check.h"

namespace {

const uint8_t* bytes;
size_t count;

uint8_t read(void*, uint16_t address) { return count == 0 ? 0 : bytes[address % count]; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return -1;
  const auto address = static_cast<uint16_t>(data[0] | data[1] << 8);
  bytes = data + 2;
  count = size - 2;

  char text[64];
  std::memset(text, 'x', sizeof text);
  const int length = z80_disassemble(read, nullptr, address, text, sizeof text);
  const size_t characters = strnlen(text, sizeof text);
  check(characters < sizeof text, "no NUL");
  check(length >= 1 && length <= 4, "a length outside 1 to 4");
  check(characters >= 1 && characters <= 32 &&
            std::all_of(text, text + characters, [](char c) { return c >= 0x20 && c <= 0x7E; }),
        "a text empty, longer than 32 characters or not printable ASCII");

  for (size_t small = 0; small <= characters; ++small) {
    // Exactly sized on the heap, so that AddressSanitizer sees a write past the end.
    const auto cut = std::make_unique<char[]>(std::max<size_t>(small, 1));
    check(z80_disassemble(read, nullptr, address, cut.get(), small) == length, "the length depends on the buffer");
    check(small == 0 || (std::strlen(cut.get()) == small - 1 && std::strncmp(cut.get(), text, small - 1) == 0),
          "a short buffer does not hold the text cut short");
  }
  return 0;
}
