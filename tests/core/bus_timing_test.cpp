// T-states of every instruction form and the count each bus callback sees,
// in order, from the fixture's registers with A=7Fh F=0 (so NZ and NC hold,
// Z and C do not), the word 1234h on the stack top and 80h at 4000h, 4FFEh
// and 5005h; each handler template once, with the prefix walk's forms. Then
// the two things the table cannot show: DJNZ falling through, and the
// exchanges. Each form runs twice: reading through the callback, and from
// plain memory, where no read may reach the callback and every other access
// keeps its count.

#include "tests/core/core_fixture.h"

namespace {

struct Form {
  const char* name;
  std::vector<uint8_t> bytes;
  uint32_t t_states;
  uint16_t pc;  // after
  const char* trace;
  uint8_t r = 1;  // opcode fetches counted in r
};

class BusTimingTest : public CoreTest, public ::testing::WithParamInterface<std::tuple<Form, bool>> {};

TEST_P(BusTimingTest, TStatesAndEveryAccessPosition) {
  const auto& [f, plain] = GetParam();
  if (plain) s.plain_memory = mem.data();
  load(f.bytes);
  s.a = 0x7F;
  mem[0xF000] = 0x34;
  mem[0xF001] = 0x12;
  mem[0x4000] = mem[0x4FFE] = mem[0x5005] = 0x80;
  s.r = 0x7F;  // r counts in its low seven bits and keeps bit 7
  EXPECT_EQ(step(), f.t_states);
  EXPECT_EQ(s.pc, f.pc);
  EXPECT_EQ(trace, plain ? without_reads(f.trace) : f.trace);
  EXPECT_EQ(s.r, (0x7F + f.r) & 0x7F);
}

INSTANTIATE_TEST_SUITE_P(Forms, BusTimingTest, ::testing::Combine(::testing::Values(
  Form{"LD_BC_nn", {0x01, 0x34, 0x12}, 10, 0x8003, "r8000:3 r8001:7 r8002:10"},
  Form{"NOP", {0x00}, 4, 0x8001, "r8000:3"},
  Form{"LD_mBC_A", {0x02}, 7, 0x8001, "r8000:3 w0201:7=7F"},
  Form{"INC_BC", {0x03}, 6, 0x8001, "r8000:3"},
  Form{"INC_B", {0x04}, 4, 0x8001, "r8000:3"},
  Form{"LD_B_n", {0x06, 0x12}, 7, 0x8002, "r8000:3 r8001:7"},
  Form{"ADD_HL_BC", {0x09}, 11, 0x8001, "r8000:3"},
  Form{"LD_A_mBC", {0x0A}, 7, 0x8001, "r8000:3 r0201:7"},
  Form{"DJNZ_taken", {0x10, 0xFE}, 13, 0x8000, "r8000:3 r8001:8"},
  Form{"JR", {0x18, 0xFE}, 12, 0x8000, "r8000:3 r8001:7"},
  Form{"JR_NZ_taken", {0x20, 0x10}, 12, 0x8012, "r8000:3 r8001:7"},
  Form{"JR_Z_untaken", {0x28, 0x10}, 7, 0x8002, "r8000:3 r8001:7"},
  Form{"LD_mnn_HL_wraps", {0x22, 0xFF, 0xFF}, 16, 0x8003, "r8000:3 r8001:7 r8002:10 wFFFF:13=00 w0000:16=40"},
  Form{"LD_HL_mnn", {0x2A, 0x34, 0x12}, 16, 0x8003, "r8000:3 r8001:7 r8002:10 r1234:13 r1235:16"},
  Form{"LD_mnn_A", {0x32, 0x34, 0x12}, 13, 0x8003, "r8000:3 r8001:7 r8002:10 w1234:13=7F"},
  Form{"INC_mHL", {0x34}, 11, 0x8001, "r8000:3 r4000:8 w4000:11=81"},
  Form{"LD_mHL_n", {0x36, 0x99}, 10, 0x8002, "r8000:3 r8001:7 w4000:10=99"},
  Form{"LD_B_C", {0x41}, 4, 0x8001, "r8000:3"},
  Form{"LD_B_mHL", {0x46}, 7, 0x8001, "r8000:3 r4000:7"},
  Form{"LD_mHL_B", {0x70}, 7, 0x8001, "r8000:3 w4000:7=02"},
  Form{"ADD_A_mHL", {0x86}, 7, 0x8001, "r8000:3 r4000:7"},
  Form{"RET_NZ_taken", {0xC0}, 11, 0x1234, "r8000:3 rF000:8 rF001:11"},
  Form{"RET_Z_untaken", {0xC8}, 5, 0x8001, "r8000:3"},
  Form{"POP_BC", {0xC1}, 10, 0x8001, "r8000:3 rF000:7 rF001:10"},
  Form{"JP_nn", {0xC3, 0x00, 0x10}, 10, 0x1000, "r8000:3 r8001:7 r8002:10"},
  Form{"JP_Z_untaken", {0xCA, 0x00, 0x10}, 10, 0x8003, "r8000:3 r8001:7 r8002:10"},
  Form{"CALL_NZ_taken", {0xC4, 0x00, 0x10}, 17, 0x1000, "r8000:3 r8001:7 r8002:10 wEFFE:14=03 wEFFF:17=80"},
  Form{"CALL_Z_untaken", {0xCC, 0x00, 0x10}, 10, 0x8003, "r8000:3 r8001:7 r8002:10"},
  Form{"CALL_nn", {0xCD, 0x00, 0x10}, 17, 0x1000, "r8000:3 r8001:7 r8002:10 wEFFE:14=03 wEFFF:17=80"},
  Form{"PUSH_BC", {0xC5}, 11, 0x8001, "r8000:3 wEFFE:8=01 wEFFF:11=02"},
  Form{"ADD_A_n", {0xC6, 0x01}, 7, 0x8002, "r8000:3 r8001:7"},
  Form{"RET", {0xC9}, 10, 0x1234, "r8000:3 rF000:7 rF001:10"},
  Form{"RST_38", {0xFF}, 11, 0x0038, "r8000:3 wEFFE:8=01 wEFFF:11=80"},
  Form{"OUT_n_A", {0xD3, 0xFE}, 11, 0x8002, "r8000:3 r8001:7 o7FFE:11=7F"},
  Form{"IN_A_n", {0xDB, 0xFE}, 11, 0x8002, "r8000:3 r8001:7 i7FFE:11"},
  Form{"EXX", {0xD9}, 4, 0x8001, "r8000:3"},
  Form{"EX_mSP_HL", {0xE3}, 19, 0x8001, "r8000:3 rF000:10 rF001:13 wF000:16=00 wF001:19=40"},
  Form{"JP_HL", {0xE9}, 4, 0x4000, "r8000:3"},
  Form{"EX_DE_HL", {0xEB}, 4, 0x8001, "r8000:3"},
  Form{"LD_SP_HL", {0xF9}, 6, 0x8001, "r8000:3"},
  Form{"RLC_B", {0xCB, 0x00}, 8, 0x8002, "r8000:3 r8001:7", 2},
  Form{"RLC_mHL", {0xCB, 0x06}, 15, 0x8002, "r8000:3 r8001:7 r4000:12 w4000:15=01", 2},
  Form{"BIT_0_mHL", {0xCB, 0x46}, 12, 0x8002, "r8000:3 r8001:7 r4000:12", 2},
  Form{"ED_empty_row", {0xED, 0x00}, 8, 0x8002, "r8000:3 r8001:7", 2},
  Form{"IN_B_C", {0xED, 0x40}, 12, 0x8002, "r8000:3 r8001:7 i0201:12", 2},
  Form{"OUT_C_B", {0xED, 0x41}, 12, 0x8002, "r8000:3 r8001:7 o0201:12=02", 2},
  Form{"SBC_HL_BC", {0xED, 0x42}, 15, 0x8002, "r8000:3 r8001:7", 2},
  Form{"LD_mnn_BC", {0xED, 0x43, 0x34, 0x12}, 20, 0x8004,
       "r8000:3 r8001:7 r8002:11 r8003:14 w1234:17=01 w1235:20=02", 2},
  Form{"LD_BC_mnn", {0xED, 0x4B, 0x34, 0x12}, 20, 0x8004,
       "r8000:3 r8001:7 r8002:11 r8003:14 r1234:17 r1235:20", 2},
  Form{"NEG", {0xED, 0x44}, 8, 0x8002, "r8000:3 r8001:7", 2},
  Form{"RETN", {0xED, 0x45}, 14, 0x1234, "r8000:3 r8001:7 rF000:11 rF001:14", 2},
  Form{"IM_0", {0xED, 0x46}, 8, 0x8002, "r8000:3 r8001:7", 2},
  Form{"LD_I_A", {0xED, 0x47}, 9, 0x8002, "r8000:3 r8001:7", 2},
  Form{"LD_A_R", {0xED, 0x5F}, 9, 0x8002, "r8000:3 r8001:7", 2},
  Form{"RRD", {0xED, 0x67}, 18, 0x8002, "r8000:3 r8001:7 r4000:15 w4000:18=F8", 2},
  Form{"OUT_C_0", {0xED, 0x71}, 12, 0x8002, "r8000:3 r8001:7 o0201:12=00", 2},
  Form{"LDI", {0xED, 0xA0}, 16, 0x8002, "r8000:3 r8001:7 r4000:13 w6000:16=80", 2},
  Form{"CPI", {0xED, 0xA1}, 16, 0x8002, "r8000:3 r8001:7 r4000:16", 2},
  Form{"INI", {0xED, 0xA2}, 16, 0x8002, "r8000:3 r8001:7 i0201:13 w4000:16=FF", 2},
  Form{"OUTI", {0xED, 0xA3}, 16, 0x8002, "r8000:3 r8001:7 r4000:12 o0101:16=80", 2},
  Form{"LDIR_repeat", {0xED, 0xB0}, 21, 0x8000, "r8000:3 r8001:7 r4000:13 w6000:16=80", 2},
  Form{"CPIR_repeat", {0xED, 0xB1}, 21, 0x8000, "r8000:3 r8001:7 r4000:16", 2},
  Form{"INIR_repeat", {0xED, 0xB2}, 21, 0x8000, "r8000:3 r8001:7 i0201:13 w4000:16=FF", 2},
  Form{"OTIR_repeat", {0xED, 0xB3}, 21, 0x8000, "r8000:3 r8001:7 r4000:12 o0101:16=80", 2},
  Form{"DD_before_plain_LD_mBC_A", {0xDD, 0x02}, 11, 0x8002, "r8000:3 r8001:7 w0201:11=7F", 2},
  Form{"DD_before_HALT", {0xDD, 0x76}, 8, 0x8001, "r8000:3 r8001:7", 2},
  Form{"DD_before_DD_alone", {0xDD, 0xDD, 0x21}, 4, 0x8001, "r8000:3 r8001:7"},
  Form{"FD_before_ED_alone", {0xFD, 0xED, 0xB0}, 4, 0x8001, "r8000:3 r8001:7"},
  Form{"INC_mIX_minus", {0xDD, 0x34, 0xFE}, 23, 0x8003, "r8000:3 r8001:7 r8002:17 r4FFE:20 w4FFE:23=81", 2},
  Form{"LD_mIY_n", {0xFD, 0x36, 0x02, 0x99}, 19, 0x8004, "r8000:3 r8001:7 r8002:13 r8003:16 w5002:19=99", 2},
  Form{"LD_B_mIX", {0xDD, 0x46, 0x01}, 19, 0x8003, "r8000:3 r8001:7 r8002:16 r5001:19", 2},
  Form{"LD_mIX_B", {0xDD, 0x70, 0x01}, 19, 0x8003, "r8000:3 r8001:7 r8002:16 w5001:19=02", 2},
  Form{"ADD_A_mIX", {0xDD, 0x86, 0x01}, 19, 0x8003, "r8000:3 r8001:7 r8002:16 r5001:19", 2},
  Form{"EX_mSP_IX", {0xDD, 0xE3}, 23, 0x8002, "r8000:3 r8001:7 rF000:14 rF001:17 wF000:20=00 wF001:23=50", 2},
  Form{"PUSH_IX", {0xDD, 0xE5}, 15, 0x8002, "r8000:3 r8001:7 wEFFE:12=00 wEFFF:15=50", 2},
  Form{"JP_IX", {0xDD, 0xE9}, 8, 0x5000, "r8000:3 r8001:7", 2},
  Form{"RLC_mIX", {0xDD, 0xCB, 0x05, 0x06}, 23, 0x8004,
       "r8000:3 r8001:7 r8003:11 r8002:17 r5005:20 w5005:23=01", 2},
  Form{"LD_B_RLC_mIX", {0xDD, 0xCB, 0x05, 0x00}, 23, 0x8004,
       "r8000:3 r8001:7 r8003:11 r8002:17 r5005:20 w5005:23=01", 2},
  Form{"BIT_0_mIY", {0xFD, 0xCB, 0x05, 0x46}, 20, 0x8004, "r8000:3 r8001:7 r8003:11 r8002:17 r5005:20", 2}),
    ::testing::Bool()),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "_plain" : "");
    });

TEST_F(CoreTest, DjnzFallsThroughInEightWithoutTouchingFlags) {
  load({0x10, 0xFE});
  s.b = 1;
  s.f = 0xFF;
  EXPECT_EQ(step(), 8u);
  EXPECT_EQ(s.b, 0);
  EXPECT_EQ(s.f, 0xFF);
  EXPECT_EQ(s.pc, kOrigin + 2);
}

TEST_F(CoreTest, ExchangesSwapEveryRegister) {
  load({0x08, 0xD9, 0xEB});  // EX AF,AF' ; EXX ; EX DE,HL
  s.a = 1, s.f = 2, s.b = 3, s.c = 4, s.d = 5, s.e = 6, s.h = 7, s.l = 8;
  s.a_alt = 11, s.f_alt = 12, s.b_alt = 13, s.c_alt = 14;
  s.d_alt = 15, s.e_alt = 16, s.h_alt = 17, s.l_alt = 18;
  step();
  step();
  step();
  EXPECT_EQ((std::vector<uint8_t>{s.a, s.f, s.b, s.c, s.d, s.e, s.h, s.l}),
            (std::vector<uint8_t>{11, 12, 13, 14, 17, 18, 15, 16}));
  EXPECT_EQ((std::vector<uint8_t>{s.a_alt, s.f_alt, s.b_alt, s.c_alt, s.d_alt, s.e_alt, s.h_alt, s.l_alt}),
            (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

}  // namespace
