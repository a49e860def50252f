// A listing of Z80 machine code: the assembler writes no listing of its own,
// so the ROM's is made from its binary and its symbol file with the core's
// disassembler.
#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

using SymbolTable = std::map<uint16_t, std::string>;

// Reads the assembler's symbol file: lines "name EQU 01234H". Only code
// labels are kept: names with a lower-case letter (numbered local labels and
// the ROM's capitalised constants are left out). The first name given to an
// address is kept.
SymbolTable read_symbols(std::istream& in);

// One line per instruction: address, bytes, text; a label line above each
// address that has a name. `image` is loaded at `origin`; bytes past its end
// read as 0xFF.
void write_listing(const std::vector<uint8_t>& image, uint16_t origin, const SymbolTable& symbols,
                   std::ostream& out);
