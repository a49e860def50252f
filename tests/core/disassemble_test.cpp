// The disassembler: texts and lengths, buffers of every size, and invariants
// over every byte sequence after each prefix.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/z80.h"

namespace {

// 64 KiB of memory, code placed at `at`, that remembers which addresses were
// read.
struct TracedMemory {
  explicit TracedMemory(const std::vector<uint8_t>& code, uint16_t at = 0x8000) {
    for (const uint8_t byte : code) bytes[at++] = byte;
  }

  std::vector<uint8_t> bytes = std::vector<uint8_t>(0x10000, 0);
  std::vector<uint16_t> reads;

  static uint8_t read(void* context, uint16_t address) {
    auto* memory = static_cast<TracedMemory*>(context);
    memory->reads.push_back(address);
    return memory->bytes[address];
  }
};

// Texts and lengths along a stream of instructions, each read where the
// length of the one before ends, from FFF0h so that one instruction wraps to
// 0000h: operands of each kind (byte, word, signed relative) from the bytes
// after the opcode; rows without one; the CB and ED tables; the DD and FD
// tables with their own register and displacement, and an indexed store of
// an immediate (displacement, then byte); DD CB with the displacement between
// CB and the opcode; an index prefix before an empty row (the main
// instruction, one byte longer) and before another prefix (alone, one byte);
// empty ED rows (two data bytes).
TEST(Disassemble, TextsAndLengthsAlongAStreamOfEveryKindOfInstruction) {
  const std::vector<uint8_t> code{
      0x00, 0x06, 0xFF, 0x01, 0x34, 0x12, 0x3A, 0x00, 0x40, 0xC3, 0x0F, 0xF0, 0xCC, 0x00, 0x00, 0xC6, 0x80,
      0xFE, 0x07, 0xDB, 0xFE, 0xD3, 0x80, 0x18, 0xFE, 0x10, 0x05, 0x20, 0x7F, 0x38, 0x80, 0x28, 0x00, 0x40,
      0x76, 0x08, 0xE3, 0xFF, 0x9E, 0xE9, 0xCB, 0x46, 0xCB, 0x30, 0xCB, 0xFF, 0xED, 0xB0, 0xED, 0x70, 0xED,
      0x71, 0xED, 0x4D, 0xED, 0x45, 0xED, 0x4C, 0xED, 0x4B, 0x34, 0x12, 0xED, 0x73, 0xFE, 0xFF, 0xDD, 0x21,
      0x34, 0x12, 0xFD, 0x2A, 0x00, 0x80, 0xDD, 0x7E, 0x05, 0xFD, 0xBE, 0xFB, 0xDD, 0x24, 0xFD, 0x6F, 0xDD,
      0xE9, 0xFD, 0x26, 0x42, 0xDD, 0x36, 0x05, 0xAA, 0xFD, 0x36, 0xFF, 0x00, 0xDD, 0xCB, 0x05, 0x06, 0xDD,
      0xCB, 0x05, 0x00, 0xDD, 0xCB, 0x10, 0x47, 0xDD, 0xCB, 0x10, 0x40, 0xFD, 0xCB, 0x80, 0xFE, 0xFD, 0xCB,
      0x01, 0xFF, 0xDD, 0xCB, 0x7F, 0x36, 0xDD, 0x78, 0xDD, 0x01, 0x34, 0x12, 0xDD, 0x76, 0xFD, 0x00, 0xFD,
      0x18, 0xFE, 0xDD, 0xC6, 0x01, 0xDD, 0xDD, 0xFD, 0xFD, 0xED, 0x00, 0xFD, 0xDD, 0xED, 0xFF, 0xED, 0x77,
      0xED, 0xDD};
  TracedMemory memory(code, 0xFFF0);
  std::string texts;
  size_t at = 0;
  while (at < code.size()) {
    char text[40];
    at += z80_disassemble(TracedMemory::read, &memory, static_cast<uint16_t>(0xFFF0 + at), text, sizeof text);
    texts += std::string(text) + "; ";
  }
  EXPECT_EQ(at, code.size());
  EXPECT_EQ(texts,
            "NOP; LD B,0FFh; LD BC,01234h; LD A,(04000h); JP (0F00Fh); CALL Z,(00000h); ADD A,080h; "
            "CP 007h; IN A,(0FEh); OUT (080h),A; JR (PC+-2); DJNZ (PC+5); JR NZ,(PC+127); JR C,(PC+-128); "
            "JR Z,(PC+0); LD B,B; HALT; EX AF,AF'; EX (SP),HL; RST 38H; SBC A,(HL); JP (HL); BIT 0,(HL); "
            "SLL B; SET 7,A; LDIR; IN F,(C); OUT (C),0; RETI; RETN; NEG; LD BC,(01234h); LD (0FFFEh),SP; "
            "LD IX,01234h; LD IY,(08000h); LD A,(IX+005h); CP (IY+0FBh); INC IXh; LD IYl,A; JP (IX); "
            "LD IYh,042h; LD (IX+005h),0AAh; LD (IY+0FFh),000h; RLC (IX+005h); LD B,RLC (IX+005h); "
            "BIT 0,(IX+010h); BIT 0,(IX+010h); SET 7,(IY+080h); LD A,SET 7,(IY+001h); SLL (IX+07Fh); "
            "LD A,B; LD BC,01234h; HALT; NOP; JR (PC+-2); ADD A,001h; DB 0DDh; DB 0DDh; DB 0FDh; DB 0FDh; "
            "DB 0EDh,000h; DB 0FDh; DB 0DDh; DB 0EDh,0FFh; DB 0EDh,077h; DB 0EDh,0DDh; ");
}

// Buffers of every size up to beyond the longest text, each exactly that big
// so that the address sanitizer sees a write past its end: each gets the full
// length and as much of the text as fits, terminated; size 0 gets nothing.
TEST(Disassemble, EveryBufferSizeGetsTheFullLengthAndATerminatedPartOfTheText) {
  TracedMemory memory({0xFD, 0xCB, 0x01, 0xFF});
  const std::string full = "LD A,SET 7,(IY+001h)";
  for (size_t size = 0; size <= 40; ++size) {
    std::vector<char> text(size, '#');
    EXPECT_EQ(z80_disassemble(TracedMemory::read, &memory, 0x8000, text.data(), size), 4);
    if (size > 0) {
      EXPECT_EQ(std::string(text.data(), strnlen(text.data(), size)), full.substr(0, size - 1)) << size;
    }
  }
}

// Every rendering of each prefix followed by all 65,536 pairs of bytes: the
// length is 1 to 4, the text printable, short and without an unfilled
// placeholder, and only the instruction's own bytes are read (plus the byte
// that shows a lone prefix to be alone).
TEST(Disassemble, EverySequenceAfterEachPrefixKeepsTheInvariants) {
  const std::vector<std::vector<uint8_t>> prefixes{{}, {0xCB}, {0xED}, {0xDD}, {0xFD},
                                                   {0xDD, 0xCB}, {0xFD, 0xCB}};
  for (const std::vector<uint8_t>& prefix : prefixes) {
    TracedMemory memory(prefix);
    const size_t start = 0x8000 + prefix.size();
    for (int pair = 0; pair < 0x10000; ++pair) {
      memory.bytes[start] = static_cast<uint8_t>(pair >> 8);
      memory.bytes[start + 1] = static_cast<uint8_t>(pair);
      memory.reads.clear();
      char text[40];
      std::memset(text, '#', sizeof text);
      const int length = z80_disassemble(TracedMemory::read, &memory, 0x8000, text, sizeof text);
      const std::string shown(text, strnlen(text, sizeof text));
      bool ok = length >= 1 && length <= 4 && !shown.empty() && shown.size() <= 32 &&
                shown.find('%') == std::string::npos;
      for (const char c : shown) ok = ok && c >= 0x20 && c < 0x7F;
      const int readable = length == 1 && shown.starts_with("DB ") ? 2 : length;
      for (const uint16_t address : memory.reads) ok = ok && address - 0x8000 < readable;
      ASSERT_TRUE(ok) << "after " << prefix.size() << " prefix bytes, pair " << pair << ": length "
                      << length << ", text \"" << shown << "\"";
    }
  }
}

}  // namespace
