#include "tools/disasm/listing.h"

#include <cstdio>
#include <sstream>

#include "core/z80.h"

namespace {

struct Image {
  const std::vector<uint8_t>& bytes;
  uint16_t origin;
};

uint8_t read_image(void* context, uint16_t address) {
  const auto* image = static_cast<const Image*>(context);
  const uint16_t offset = static_cast<uint16_t>(address - image->origin);
  return offset < image->bytes.size() ? image->bytes[offset] : 0xFF;
}

// Numbered local labels carry no meaning, and names without a lower-case
// letter are constants by the ROM's convention, not places in the code.
bool is_code_label(const std::string& name) {
  return name.find_first_of("abcdefghijklmnopqrstuvwxyz") != std::string::npos;
}

}  // namespace

SymbolTable read_symbols(std::istream& in) {
  SymbolTable symbols;
  std::string line;
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    std::string name, equ, value;
    if (!(fields >> name >> equ >> value) || equ != "EQU" || !is_code_label(name)) continue;
    if (value.empty() || (value.back() != 'H' && value.back() != 'h')) continue;
    value.pop_back();
    char* end = nullptr;
    const unsigned long address = std::strtoul(value.c_str(), &end, 16);
    if (*end != '\0' || address > 0xFFFF) continue;
    symbols.emplace(static_cast<uint16_t>(address), name);
  }
  return symbols;
}

void write_listing(const std::vector<uint8_t>& image, uint16_t origin, const SymbolTable& symbols,
                   std::ostream& out) {
  Image source{image, origin};
  size_t offset = 0;
  while (offset < image.size()) {
    const auto address = static_cast<uint16_t>(origin + offset);
    if (const auto symbol = symbols.find(address); symbol != symbols.end())
      out << symbol->second << ":\n";
    char text[64];
    const int length = z80_disassemble(read_image, &source, address, text, sizeof text);
    char line[32];
    std::snprintf(line, sizeof line, "%04X ", address);
    out << line;
    for (int i = 0; i < 4; ++i) {
      if (i < length)
        std::snprintf(line, sizeof line, " %02X", read_image(&source, static_cast<uint16_t>(address + i)));
      else
        std::snprintf(line, sizeof line, "   ");
      out << line;
    }
    out << "   " << text << '\n';
    offset += static_cast<size_t>(length);
  }
}
