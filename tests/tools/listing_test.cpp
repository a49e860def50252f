// The ROM listing: which symbols become labels, and the listing's lines.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/disasm/listing.h"

namespace {

TEST(Listing, KeepsCodeLabelsOnlyAndTheFirstNameOfAnAddress) {
  std::istringstream file(
      "reset\tEQU 00000H\n"
      "KEY_RETURN\tEQU 0000DH\n"  // a constant, not a place in the code
      "00000012\tEQU 00010H\n"    // a numbered local label
      "main_loop\tEQU 00010H\n"
      "also_main\tEQU 00010H\n"
      "broken\tEQU 1234\n"
      "too_far\tEQU 10000H\n");
  const SymbolTable symbols = read_symbols(file);
  const SymbolTable expected{{0x0000, "reset"}, {0x0010, "main_loop"}};
  EXPECT_EQ(symbols, expected);
}

TEST(Listing, ShowsLabelsAddressesBytesAndTextAndStopsAtTheImageEnd) {
  // LD BC,1234h at 8000h, then a JR back to it, then a CALL cut off by the end
  // of the image, whose missing bytes read as FF.
  const std::vector<uint8_t> image{0x01, 0x34, 0x12, 0x18, 0xFB, 0xCD, 0x00};
  std::ostringstream out;
  write_listing(image, 0x8000, {{0x8000, "start"}, {0x8005, "tail"}}, out);
  EXPECT_EQ(out.str(),
            "start:\n"
            "8000  01 34 12      LD BC,01234h\n"
            "8003  18 FB         JR (PC+-5)\n"
            "tail:\n"
            "8005  CD 00 FF      CALL (0FF00h)\n");
}

}  // namespace
