// Opcode fetch, R counting, the prefix walk (DD/FD in front of a byte they
// do not change, lone prefixes, DD CB d op), opcodes from the data bus, and
// the contents of the dispatch tables.
#include <cstring>

#include "tests/core/core_fixture.h"

namespace {

using DecoderTest = CoreTest;

TEST_F(DecoderTest, FetchCountsLowSevenBitsOfR) {
  load({0x00, 0x00});
  s.r = 0x7F;
  EXPECT_EQ(step(), 4u);
  EXPECT_EQ(s.r, 0x00);
  s.r = 0xFF;
  step();
  EXPECT_EQ(s.r, 0x80);
}

TEST_F(DecoderTest, OpcodeReadSeesThreeTStatesCharged) {
  load({0x00});
  step();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0], (BusEvent{'r', kOrigin, 0x00, 3}));
}

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
  EXPECT_EQ(bc(), 0x1234);
  EXPECT_EQ(s.r, 2);
  s.b = 0x99;
  EXPECT_EQ(step(), 8u);  // LD A,B
  EXPECT_EQ(s.a, 0x99);
  step();  // HALT
  EXPECT_EQ(s.halted, 1);
  EXPECT_EQ(s.pc, kOrigin + 7);
}

TEST_F(DecoderTest, PrefixBeforePrefixStandsAloneAndTheSecondStartsOver) {
  load({0xDD, 0xDD, 0x21, 0x34, 0x12});
  EXPECT_EQ(step(), 4u);
  EXPECT_EQ(s.pc, kOrigin + 1);
  EXPECT_EQ(s.r, 1);
  EXPECT_EQ(s.int_delay, 1);
  EXPECT_EQ(step(), 14u);
  EXPECT_EQ(s.ix, 0x1234);
  EXPECT_EQ(hl(), 0);
}

TEST_F(DecoderTest, IndexPrefixBeforeEdRunsTheEdInstruction) {
  load({0xFD, 0xED, 0xB0});  // LDIR after a lone FD
  set_bc(1);
  set_hl(0x4000);
  set_de(0x5000);
  mem[0x4000] = 0xAB;
  z80_run(&s, 1);
  z80_run(&s, 1);
  EXPECT_EQ(mem[0x5000], 0xAB);
  EXPECT_EQ(bc(), 0);
}

TEST_F(DecoderTest, LonePrefixHoldsOffInterruptForOneInstruction) {
  load({0xDD, 0xDD, 0x21, 0x34, 0x12});
  s.iff1 = s.iff2 = 1;
  s.im = 1;
  step();  // the lone DD
  z80_request_int(&s, 0);
  z80_run(&s, 1);
  EXPECT_EQ(s.ix, 0x1234);
  EXPECT_EQ(s.int_pending, 1);
}

TEST_F(DecoderTest, BusOpcodeTakesDataByteWithoutReadingMemory) {
  load({0x3C});
  s.bus_opcode = 1;
  s.int_data = 0x00;
  EXPECT_EQ(step(), 6u);
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(s.pc, kOrigin);
  EXPECT_EQ(s.r, 1);
}

TEST_F(DecoderTest, IndexPrefixOnBusEndsAfterFirstFetch) {
  load({0x00});
  s.bus_opcode = 1;
  s.int_data = 0xDD;
  EXPECT_EQ(step(), 6u);
  EXPECT_EQ(s.pc, kOrigin);
  EXPECT_EQ(s.r, 1);
}

TEST_F(DecoderTest, IndexedBitOpReadsDisplacementAfterOpcode) {
  load(0x0100, {0xDD, 0xCB, 0x05, 0x06});  // RLC (IX+5)
  s.ix = 0x4000;
  mem[0x4005] = 0x80;
  EXPECT_EQ(step(), 23u);
  EXPECT_EQ(mem[0x4005], 0x01);
  EXPECT_EQ(s.pc, 0x0104);
  EXPECT_EQ(s.r, 2);
  const std::vector<BusEvent> expected = {
      {'r', 0x0100, 0xDD, 3}, {'r', 0x0101, 0xCB, 7},  {'r', 0x0103, 0x06, 11},
      {'r', 0x0102, 0x05, 17}, {'r', 0x4005, 0x80, 20}, {'w', 0x4005, 0x01, 23}};
  EXPECT_EQ(events, expected);
}



TEST_F(DecoderTest, TextsAndOperandKindsMatchForms) {
  struct Row {
    const OpcodeTable& table;
    int op;
    const char* text;
  };
  for (const Row& row : {Row{z80_dd_table, 0x36, "LD (IX+0%02Xh),0%02Xh"},
                         Row{z80_fd_table, 0x66, "LD H,(IY+0%02Xh)"}, Row{z80_fd_table, 0xBD, "CP IYl"},
                         Row{z80_main_table, 0x7F, "LD A,A"}, Row{z80_main_table, 0x96, "SUB A,(HL)"},
                         Row{z80_main_table, 0xB6, "OR (HL)"}, Row{z80_ed_table, 0x4D, "RETI"},
                         Row{z80_ed_table, 0x70, "IN F,(C)"}, Row{z80_cb_table, 0x36, "SLL (HL)"},
                         Row{z80_ddcb_table, 0x00, "LD B,RLC (IX+0%02Xh)"},
                         Row{z80_fdcb_table, 0xFF, "LD A,SET 7,(IY+0%02Xh)"},
                         Row{z80_fdcb_table, 0x41, "BIT 0,(IY+0%02Xh)"}}) {
    EXPECT_STREQ(row.table.rows[row.op].mnemonic, row.text);
  }
  EXPECT_EQ(z80_dd_table.rows[0x36].operand_kind, OPERAND_BYTE);
  EXPECT_EQ(z80_main_table.rows[0x20].operand_kind, OPERAND_REL);
  EXPECT_EQ(z80_ed_table.rows[0x4D].handler, z80_ed_table.rows[0x45].handler);
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
