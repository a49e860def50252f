// The prefix walk (DD/FD in front of a byte they do not change, lone
// prefixes, empty ED rows), opcodes from the data bus, R loads, and the
// operand kinds of the dispatch tables.
#include <cstring>

#include "tests/core/core_fixture.h"

namespace {

using DecoderTest = CoreTest;

TEST_F(DecoderTest, EmptyEdRowIsTwoByteNoOp) {
  load({0xED, 0x00, 0xED, 0xFF});
  EXPECT_EQ(step(), 8u);
  EXPECT_EQ(step(), 8u);
  EXPECT_EQ(s.pc, kOrigin + 4);
  EXPECT_EQ(s.r, 4);
}

TEST_F(DecoderTest, IndexPrefixBeforePlainOpcodeRunsMainInstruction) {
  load({0xDD, 0x01, 0x34, 0x12, 0xFD, 0x78, 0xDD, 0x76});
  EXPECT_EQ(step(), 14u);  // LD BC,1234h
  EXPECT_EQ(pair(s.b, s.c), 0x1234);
  EXPECT_EQ(s.r, 2);
  s.b = 0x99;
  EXPECT_EQ(step(), 8u);  // LD A,B
  EXPECT_EQ(s.a, 0x99);
  EXPECT_EQ(s.r, 4);
  step();  // HALT
  EXPECT_EQ(s.halted, 1);
  EXPECT_EQ(s.pc, kOrigin + 7);
}

TEST_F(DecoderTest, PrefixBeforePrefixStandsAloneAndHoldsOffInterrupt) {
  load({0xDD, 0xDD, 0x21, 0x34, 0x12});
  s.iff1 = s.iff2 = 1;
  s.im = 1;
  EXPECT_EQ(step(), 4u);
  EXPECT_EQ(trace, "r8000:3 r8001:7");  // the second DD is read, then its fetch withdrawn
  EXPECT_EQ(s.pc, kOrigin + 1);
  EXPECT_EQ(s.r, 1);
  EXPECT_EQ(s.int_delay, 1);
  z80_request_int(&s, 0);
  EXPECT_EQ(z80_run(&s, 1), 14u);
  EXPECT_EQ(s.ix, 0x1234);
  EXPECT_EQ(pair(s.h, s.l), 0);
  EXPECT_EQ(s.int_pending, 1);
}

TEST_F(DecoderTest, IndexPrefixBeforeEdRunsTheEdInstruction) {
  load({0xFD, 0xED, 0xB0});  // LDIR after a lone FD
  s.b = 0, s.c = 1, s.h = 0x40, s.d = 0x50;
  mem[0x4000] = 0xAB;
  EXPECT_EQ(step(), 4u);
  EXPECT_EQ(step(), 16u);
  EXPECT_EQ(mem[0x5000], 0xAB);
  EXPECT_EQ(s.pc, kOrigin + 3);
}

TEST_F(DecoderTest, BusOpcodeTakesDataByteWithoutReadingMemory) {
  for (uint8_t data : {0x00, 0xDD, 0xFD}) {  // NOP, and index prefixes that end the fetch
    load({0x3C});
    s.r = 0;
    s.bus_opcode = 1;
    s.int_data = data;
    EXPECT_EQ(step(), 6u) << int(data);
    EXPECT_EQ(trace, "");
    EXPECT_EQ(s.pc, kOrigin);
    EXPECT_EQ(s.r, 1);
    EXPECT_EQ(s.a, 0);
  }
}

TEST_F(DecoderTest, IndexedBitCopyFormLoadsRealRegisterAndMemory) {
  load({0xDD, 0xCB, 0x03, 0x00, 0xFD, 0xCB, 0xFF, 0x04});  // LD B,RLC (IX+3) ; LD H,RLC (IY-1)
  s.ix = 0x5000;
  s.iy = 0x5001;
  mem[0x5003] = 0x80;
  mem[0x5000] = 0x40;
  step();
  EXPECT_EQ(mem[0x5003], 0x01);
  EXPECT_EQ(s.b, 0x01);
  step();
  EXPECT_EQ(mem[0x5000], 0x80);
  EXPECT_EQ(s.h, 0x80);
  EXPECT_EQ(s.iy, 0x5001);
}

TEST_F(DecoderTest, LoadAFromRSeesThisInstructionsFetchesAndLoadRKeepsBitSeven) {
  load({0xED, 0x5F, 0xED, 0x4F, 0x00});  // LD A,R ; LD R,A ; NOP
  s.r = 0xA6;
  step();
  EXPECT_EQ(s.a, 0xA8);
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X);  // P/V from iff2 = 0
  s.a = 0xFF;
  step();
  EXPECT_EQ(s.r, 0xFF);
  step();
  EXPECT_EQ(s.r, 0x80);
}

TEST_F(DecoderTest, OperandKindIsNoneExactlyWithoutPlaceholder) {
  for (const OpcodeTable* t : {&z80_main_table, &z80_cb_table, &z80_ed_table, &z80_dd_table,
                               &z80_fd_table, &z80_ddcb_table, &z80_fdcb_table}) {
    for (int op = 0; op < 256; ++op) {
      const OpcodeEntry& row = t->rows[op];
      if (!row.handler) {
        EXPECT_EQ(row.mnemonic, nullptr);
        EXPECT_EQ(row.operand_kind, OPERAND_NONE);
        continue;
      }
      ASSERT_NE(row.mnemonic, nullptr);
      EXPECT_EQ(row.operand_kind == OPERAND_NONE, std::strchr(row.mnemonic, '%') == nullptr)
          << row.mnemonic;
    }
  }
}

}  // namespace
