// The disassembler: texts and lengths for every table and operand kind, the
// prefix walk and its departures (empty index rows, lone prefixes, empty ED
// rows), address wrap, small buffers, and invariants over whole byte ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/z80.h"

namespace {

// 64 KiB of memory that remembers which addresses were read.
struct TracedMemory {
  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x10000, 0);
  std::vector<uint16_t> reads;

  static uint8_t read(void* context, uint16_t address) {
    auto* memory = static_cast<TracedMemory*>(context);
    memory->reads.push_back(address);
    return memory->bytes[address];
  }

  void place(uint16_t address, std::initializer_list<uint8_t> code) {
    for (uint8_t byte : code) bytes[address++] = byte;
  }
};

struct Rendered {
  std::string text;
  int length;
};

Rendered disassemble_at(TracedMemory& memory, uint16_t address) {
  char text[64];
  const int length = z80_disassemble(TracedMemory::read, &memory, address, text, sizeof text);
  return {text, length};
}

struct Case {
  std::vector<uint8_t> code;
  const char* text;
  int length;
};

void expect_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    TracedMemory memory;
    uint16_t address = 0x8000;
    for (uint8_t byte : c.code) memory.bytes[address++] = byte;
    const Rendered got = disassemble_at(memory, 0x8000);
    std::string bytes;
    for (uint8_t byte : c.code) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", byte);
      bytes += hex;
    }
    EXPECT_EQ(got.text, c.text) << "bytes" << bytes;
    EXPECT_EQ(got.length, c.length) << "bytes" << bytes;
  }
}

TEST(DisassembleOperands, ByteWordAndRelativeOperandsFilledFromTheBytesAfterTheOpcode) {
  expect_cases({
      {{0x00}, "NOP", 1},
      {{0x06, 0xFF}, "LD B,0FFh", 2},
      {{0x01, 0x34, 0x12}, "LD BC,01234h", 3},
      {{0x3A, 0x00, 0x40}, "LD A,(04000h)", 3},
      {{0xC3, 0x0F, 0xF0}, "JP (0F00Fh)", 3},
      {{0xCC, 0x00, 0x00}, "CALL Z,(00000h)", 3},
      {{0xC6, 0x80}, "ADD A,080h", 2},
      {{0xFE, 0x07}, "CP 007h", 2},
      {{0xDB, 0xFE}, "IN A,(0FEh)", 2},
      {{0xD3, 0x80}, "OUT (080h),A", 2},
  });
}

TEST(DisassembleOperands, RelativeDisplacementIsSigned) {
  expect_cases({
      {{0x18, 0xFE}, "JR (PC+-2)", 2},
      {{0x10, 0x05}, "DJNZ (PC+5)", 2},
      {{0x20, 0x7F}, "JR NZ,(PC+127)", 2},
      {{0x38, 0x80}, "JR C,(PC+-128)", 2},
      {{0x28, 0x00}, "JR Z,(PC+0)", 2},
  });
}

TEST(DisassembleOperands, RowsWithoutOperandReadNoOperandBytes) {
  expect_cases({
      {{0x40}, "LD B,B", 1},
      {{0x76}, "HALT", 1},
      {{0x08}, "EX AF,AF'", 1},
      {{0xE3}, "EX (SP),HL", 1},
      {{0xFF}, "RST 38H", 1},
      {{0x9E}, "SBC A,(HL)", 1},
      {{0xE9}, "JP (HL)", 1},
  });
}

TEST(DisassemblePrefixes, CbAndEdRowsAreTwoBytesLongerWithTheirOperands) {
  expect_cases({
      {{0xCB, 0x46}, "BIT 0,(HL)", 2},
      {{0xCB, 0x30}, "SLL B", 2},
      {{0xCB, 0xFF}, "SET 7,A", 2},
      {{0xED, 0xB0}, "LDIR", 2},
      {{0xED, 0x70}, "IN F,(C)", 2},
      {{0xED, 0x71}, "OUT (C),0", 2},
      {{0xED, 0x4D}, "RETI", 2},
      {{0xED, 0x45}, "RETN", 2},
      {{0xED, 0x4C}, "NEG", 2},
      {{0xED, 0x4B, 0x34, 0x12}, "LD BC,(01234h)", 4},
      {{0xED, 0x73, 0xFE, 0xFF}, "LD (0FFFEh),SP", 4},
  });
}

TEST(DisassemblePrefixes, IndexTablesUseTheirOwnRegisterAndDisplacement) {
  expect_cases({
      {{0xDD, 0x21, 0x34, 0x12}, "LD IX,01234h", 4},
      {{0xFD, 0x2A, 0x00, 0x80}, "LD IY,(08000h)", 4},
      {{0xDD, 0x7E, 0x05}, "LD A,(IX+005h)", 3},
      {{0xFD, 0xBE, 0xFB}, "CP (IY+0FBh)", 3},
      {{0xDD, 0x24}, "INC IXh", 2},
      {{0xFD, 0x6F}, "LD IYl,A", 2},
      {{0xDD, 0xE9}, "JP (IX)", 2},
      {{0xFD, 0x26, 0x42}, "LD IYh,042h", 3},
  });
}

TEST(DisassemblePrefixes, IndexedStoreOfAnImmediateShowsDisplacementThenByte) {
  expect_cases({
      {{0xDD, 0x36, 0x05, 0xAA}, "LD (IX+005h),0AAh", 4},
      {{0xFD, 0x36, 0xFF, 0x00}, "LD (IY+0FFh),000h", 4},
  });
}

TEST(DisassemblePrefixes, DdcbDisplacementIsTheByteBetweenCbAndOpcode) {
  expect_cases({
      {{0xDD, 0xCB, 0x05, 0x06}, "RLC (IX+005h)", 4},
      {{0xDD, 0xCB, 0x05, 0x00}, "LD B,RLC (IX+005h)", 4},
      {{0xDD, 0xCB, 0x10, 0x47}, "BIT 0,(IX+010h)", 4},
      {{0xDD, 0xCB, 0x10, 0x40}, "BIT 0,(IX+010h)", 4},
      {{0xFD, 0xCB, 0x80, 0xFE}, "SET 7,(IY+080h)", 4},
      {{0xFD, 0xCB, 0x01, 0xFF}, "LD A,SET 7,(IY+001h)", 4},
      {{0xDD, 0xCB, 0x7F, 0x36}, "SLL (IX+07Fh)", 4},
  });
}

TEST(DisassembleDepartures, IndexPrefixBeforeEmptyRowShowsMainInstructionOneByteLonger) {
  expect_cases({
      {{0xDD, 0x78}, "LD A,B", 2},
      {{0xDD, 0x01, 0x34, 0x12}, "LD BC,01234h", 4},
      {{0xDD, 0x76}, "HALT", 2},
      {{0xFD, 0x00}, "NOP", 2},
      {{0xFD, 0x18, 0xFE}, "JR (PC+-2)", 3},
      {{0xDD, 0xC6, 0x01}, "ADD A,001h", 3},
  });
}

TEST(DisassembleDepartures, IndexPrefixBeforeAnotherPrefixStandsAlone) {
  expect_cases({
      {{0xDD, 0xDD, 0x21, 0x34, 0x12}, "DB 0DDh", 1},
      {{0xDD, 0xED, 0xB0}, "DB 0DDh", 1},
      {{0xDD, 0xFD}, "DB 0DDh", 1},
      {{0xFD, 0xDD}, "DB 0FDh", 1},
      {{0xFD, 0xED, 0xB0}, "DB 0FDh", 1},
      {{0xFD, 0xFD}, "DB 0FDh", 1},
  });
}

TEST(DisassembleDepartures, EmptyEdRowIsTwoDataBytes) {
  expect_cases({
      {{0xED, 0x00}, "DB 0EDh,000h", 2},
      {{0xED, 0xFF}, "DB 0EDh,0FFh", 2},
      {{0xED, 0x77}, "DB 0EDh,077h", 2},
      {{0xED, 0xDD}, "DB 0EDh,0DDh", 2},
  });
}

TEST(DisassembleBus, InstructionAtTopOfMemoryWrapsToZero) {
  TracedMemory memory;
  memory.place(0xFFFE, {0x01, 0x34});
  memory.place(0x0000, {0x12});
  EXPECT_EQ(disassemble_at(memory, 0xFFFE).text, "LD BC,01234h");
  EXPECT_EQ(memory.reads, (std::vector<uint16_t>{0xFFFE, 0xFFFF, 0x0000}));

  memory.reads.clear();
  memory.place(0xFFFF, {0xDD});
  memory.place(0x0000, {0xCB, 0x03, 0x0E});
  EXPECT_EQ(disassemble_at(memory, 0xFFFF).text, "RRC (IX+003h)");
}

TEST(DisassembleBus, ReadsOnlyTheBytesOfTheInstruction) {
  TracedMemory memory;
  memory.place(0x8000, {0xDD, 0xCB, 0x05, 0x06});
  EXPECT_EQ(disassemble_at(memory, 0x8000).length, 4);
  for (uint16_t address : memory.reads) {
    EXPECT_GE(address, 0x8000);
    EXPECT_LE(address, 0x8003);
  }
}

TEST(DisassembleBuffer, SmallBuffersGetATruncatedTerminatedTextAndTheFullLength) {
  TracedMemory memory;
  memory.place(0x8000, {0x01, 0x34, 0x12});

  char text[8];
  std::memset(text, '#', sizeof text);
  EXPECT_EQ(z80_disassemble(TracedMemory::read, &memory, 0x8000, text, 0), 3);
  EXPECT_EQ(text[0], '#') << "size 0 must not write";

  EXPECT_EQ(z80_disassemble(TracedMemory::read, &memory, 0x8000, text, 1), 3);
  EXPECT_EQ(text[0], '\0');
  EXPECT_EQ(text[1], '#');

  EXPECT_EQ(z80_disassemble(TracedMemory::read, &memory, 0x8000, text, 5), 3);
  EXPECT_STREQ(text, "LD B");
  EXPECT_EQ(text[5], '#');
}

// Buffers of every size up to beyond the longest text, each exactly that big
// so that the address sanitizer sees a write past its end.
TEST(DisassembleBuffer, NoBufferSizeIsOverrun) {
  TracedMemory memory;
  memory.place(0x8000, {0xFD, 0xCB, 0x01, 0xFF});  // "LD A,SET 7,(IY+001h)"
  for (size_t size = 0; size <= 40; ++size) {
    std::vector<char> text(size, '#');
    EXPECT_EQ(z80_disassemble(TracedMemory::read, &memory, 0x8000, text.data(), size), 4);
    if (size > 0) {
      EXPECT_NE(std::find(text.begin(), text.end(), '\0'), text.end()) << "size " << size;
    }
  }
}

// Every rendering of the prefix followed by all 65,536 pairs of bytes: the
// length is 1 to 4, the text printable and short, only the instruction's own
// bytes are read (plus the byte that shows a lone prefix to be alone), and
// no placeholder is left unfilled.
void sweep(std::initializer_list<uint8_t> prefix) {
  TracedMemory memory;
  memory.place(0x8000, prefix);
  const uint16_t start = static_cast<uint16_t>(0x8000 + prefix.size());
  int failures = 0;
  for (int pair = 0; pair < 0x10000 && failures < 5; ++pair) {
    memory.bytes[start] = static_cast<uint8_t>(pair >> 8);
    memory.bytes[start + 1] = static_cast<uint8_t>(pair);
    memory.reads.clear();
    char text[40];
    std::memset(text, '#', sizeof text);
    const int length = z80_disassemble(TracedMemory::read, &memory, 0x8000, text, sizeof text);
    const size_t text_length = strnlen(text, sizeof text);

    bool ok = length >= 1 && length <= 4 && text_length > 0 && text_length <= 32 &&
              std::strchr(text, '%') == nullptr;
    for (size_t n = 0; n < text_length; ++n) ok = ok && text[n] >= 0x20 && text[n] < 0x7F;
    const bool lone_prefix = length == 1 && std::strncmp(text, "DB ", 3) == 0;
    for (uint16_t address : memory.reads) {
      ok = ok && static_cast<uint16_t>(address - 0x8000) < (lone_prefix ? 2 : length);
    }
    if (!ok) {
      ++failures;
      ADD_FAILURE() << "after " << prefix.size() << " prefix bytes, pair " << pair << ": length " << length
                    << ", text \"" << std::string(text, text_length) << "\"";
    }
  }
}

TEST(DisassembleSweep, UnprefixedAndCbSequencesKeepTheInvariants) {
  sweep({});
  sweep({0xCB});
}

TEST(DisassembleSweep, EdSequencesKeepTheInvariants) { sweep({0xED}); }

TEST(DisassembleSweep, IndexSequencesKeepTheInvariants) {
  sweep({0xDD});
  sweep({0xFD});
  sweep({0xDD, 0xCB});
  sweep({0xFD, 0xCB});
}

}  // namespace
