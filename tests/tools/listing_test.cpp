// The ROM listing: from the assembler's symbol file, the labels, and one
// line per instruction with its address, bytes and text.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/disasm/listing.h"

namespace {

// Of the symbols only the first name of a place in the code becomes a label:
// not a name beyond 16 bits, a constant, a numbered local label, or a value
// without its H (read without its last digit, it would be FFFEh). The
// addresses wrap to 0000h, and the CALL cut off by the image's end reads FFh.
TEST(Listing, LabelsTheCodeAndShowsAddressBytesAndTextOfEachInstruction) {
  std::istringstream symbol_file(
      "too_far\tEQU 10000H\n"
      "start\tEQU 0FFF6H\n"
      "KEY_RETURN\tEQU 0FFF9H\n"
      "00000012\tEQU 0FFFAH\n"
      "broken\tEQU 0FFFE0\n"
      "wrap\tEQU 00000H\n"
      "also_wrap\tEQU 00000H\n");
  const std::vector<uint8_t> image{0x01, 0x34, 0x12, 0x08, 0xDD, 0x36, 0x05, 0xAA, 0xED, 0x77,
                                   0xDD, 0xFD, 0xCB, 0x01, 0xFF, 0xCD, 0x00};
  std::ostringstream out;
  write_listing(image, 0xFFF6, read_symbols(symbol_file), out);
  EXPECT_EQ(out.str(),
            "start:\n"
            "FFF6  01 34 12      LD BC,01234h\n"
            "FFF9  08            EX AF,AF'\n"
            "FFFA  DD 36 05 AA   LD (IX+005h),0AAh\n"
            "FFFE  ED 77         DB 0EDh,077h\n"
            "wrap:\n"
            "0000  DD            DB 0DDh\n"
            "0001  FD CB 01 FF   LD A,SET 7,(IY+001h)\n"
            "0005  CD 00 FF      CALL (0FF00h)\n");
}

}  // namespace
