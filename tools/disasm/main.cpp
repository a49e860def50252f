// vorn-disasm: a listing of a Z80 binary, with the names of a symbol file.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tools/disasm/listing.h"

namespace {

constexpr const char* kUsage =
    "Usage: vorn-disasm IMAGE [SYMBOLS] [ORIGIN]\n"
    "Writes a listing of the Z80 code in IMAGE to standard output: address, bytes and\n"
    "instruction, with a label line for every address named in SYMBOLS (the assembler's\n"
    "\"name EQU 01234H\" file). ORIGIN is the address of the image's first byte, in hex\n"
    "(default 0000). Data reads as instructions too.\n"
    "Example: vorn-disasm data/vorn.bin data/vorn.sym\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4 || std::string(argv[1]) == "--help") {
    std::fputs(kUsage, argc == 2 ? stdout : stderr);
    return argc == 2 ? 0 : 2;
  }
  std::ifstream image_file(argv[1], std::ios::binary);
  if (!image_file) {
    std::fprintf(stderr, "vorn-disasm: cannot read %s\n", argv[1]);
    return 1;
  }
  const std::vector<uint8_t> image(std::istreambuf_iterator<char>(image_file), {});
  if (image.size() > 0x10000) {
    std::fprintf(stderr, "vorn-disasm: %s is larger than 64 KiB\n", argv[1]);
    return 1;
  }
  SymbolTable symbols;
  if (argc >= 3) {
    std::ifstream symbol_file(argv[2]);
    if (!symbol_file) {
      std::fprintf(stderr, "vorn-disasm: cannot read %s\n", argv[2]);
      return 1;
    }
    symbols = read_symbols(symbol_file);
  }
  unsigned long origin = 0;
  if (argc == 4) {
    char* end = nullptr;
    origin = std::strtoul(argv[3], &end, 16);
    if (*argv[3] == '\0' || *end != '\0' || origin > 0xFFFF) {
      std::fprintf(stderr, "vorn-disasm: ORIGIN must be a hex address, got '%s'\n", argv[3]);
      return 2;
    }
  }
  write_listing(image, static_cast<uint16_t>(origin), symbols, std::cout);
  return 0;
}
