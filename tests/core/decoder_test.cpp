// Opcodes from the data bus, the copy forms of DD CB, the R register, the
// operand kinds of the dispatch tables, and the processor record's stored
// image.
#include <cstring>

#include "tests/core/core_fixture.h"

namespace {

using DecoderTest = CoreTest;

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
  load({0xFD, 0xCB, 0xFF, 0x04});  // LD H,RLC (IY-1)
  mem[0x4FFF] = 0x40;
  step();
  EXPECT_EQ(mem[0x4FFF], 0x80);
  EXPECT_EQ(s.h, 0x80);
  EXPECT_EQ(s.iy, 0x5000);
}

TEST_F(DecoderTest, LoadAFromRSeesThisInstructionsFetchesAndLoadRKeepsBitSeven) {
  load({0xED, 0x5F, 0xED, 0x4F, 0x00});  // LD A,R ; LD R,A ; NOP
  s.r = 0xA6;
  s.iff2 = 1;  // iff1 stays 0
  step();
  EXPECT_EQ(s.a, 0xA8);
  EXPECT_EQ(s.f, FLAG_S | FLAG_Y | FLAG_X | FLAG_PV);  // P/V from iff2
  s.a = 0xFF;
  step();
  EXPECT_EQ(s.r, 0xFF);
  step();
  EXPECT_EQ(s.r, 0x80);
}

TEST_F(DecoderTest, OperandKindIsNoneExactlyWithoutPlaceholder) {
  for (const OpcodeTable* t : {&z80_main_table, &z80_cb_table, &z80_ed_table, &z80_dd_table,
                               &z80_fd_table, &z80_ddcb_table, &z80_fdcb_table}) {
    for (const OpcodeEntry& row : t->rows) {
      const bool placeholder = row.mnemonic != nullptr && std::strchr(row.mnemonic, '%') != nullptr;
      EXPECT_EQ(row.operand_kind != OPERAND_NONE, placeholder) << (row.mnemonic ? row.mnemonic : "");
    }
  }
}

// The 69-byte image: every field at its own offset, little-endian, and the six
// binding slots (35 to 58) written as zeros and never read back, so a loaded
// record keeps its own callbacks, and its plain memory, which has no slot.
TEST_F(CoreTest, StateImageHoldsEveryFieldAtItsOffsetAndNoBindings) {
  uint8_t image[kZ80ImageSize];
  for (size_t i = 0; i < kZ80ImageSize; ++i) image[i] = static_cast<uint8_t>(i + 1);
  s.plain_memory = mem.data();
  z80_state_from_image(&s, image);
  EXPECT_EQ(s.mem_ctx, this);
  EXPECT_NE(s.read_mem, nullptr);
  EXPECT_EQ(s.plain_memory, mem.data());
  const std::vector<uint32_t> fields{s.f, s.a, s.c, s.b, s.e, s.d, s.l, s.h, s.ix, s.iy, s.sp,
                                     s.f_alt, s.a_alt, s.c_alt, s.b_alt, s.e_alt, s.d_alt, s.l_alt, s.h_alt,
                                     s.alt_spare[0], s.alt_spare[5], s.pc, s.r, s.i, s.iff1, s.iff2, s.im,
                                     s.halted, s.cycles, s.nmi_pending, s.int_pending, s.int_delay,
                                     s.int_data, s.bus_opcode};
  EXPECT_EQ(fields, (std::vector<uint32_t>{1, 2, 3, 4, 5, 6, 7, 8, 0x0A09, 0x0C0B, 0x0E0D,
                                           15, 16, 17, 18, 19, 20, 21, 22,
                                           23, 28, 0x1E1D, 31, 32, 33, 34, 35,
                                           60, 0x403F3E3D, 65, 66, 67,
                                           68, 69}));
  uint8_t again[kZ80ImageSize];
  std::fill(std::begin(again), std::end(again), 0xEE);
  z80_state_to_image(&s, again);
  for (size_t i = 0; i < kZ80ImageSize; ++i) {
    EXPECT_EQ(again[i], i >= 35 && i < 59 ? 0 : image[i]) << "offset " << i;
  }
}

}  // namespace
