// Fifty random blocks of 1 byte to 16 KiB, each saved through the ROM and
// loaded back: every one must arrive whole, and together they carry every
// byte value.
#include <bitset>
#include <random>

#include "tests/machine/vorn_machine.h"

namespace {

using TapeReliability = Vorn;

TEST_F(TapeReliability, FiftyRandomBlocksRoundTripWithoutAFault) {
  std::mt19937 random(2024);
  std::bitset<256> values_seen;
  for (int block = 0; block < 50; ++block) {
    start();
    const uint32_t length = block == 0 ? 1 : block == 1 ? 0x4000 : 1 + random() % 0x4000;
    Bytes data(length);
    for (auto& byte : data) values_seen.set(byte = static_cast<uint8_t>(random()));
    std::copy(data.begin(), data.end(), machine.memory + 0x8000);
    const std::string name = std::to_string(block);  // "0" to "49"
    ASSERT_TRUE(save_block(name, 0x8000, length)) << name;
    tape_stop();
    std::fill(machine.memory + 0x8000, machine.memory + 0x8000 + length, 0);
    EXPECT_EQ(load_block(name, length), "Loaded") << name << " of " << length << " bytes";
    EXPECT_TRUE(std::equal(data.begin(), data.end(), machine.memory + 0x8000)) << name << " differs";
  }
  EXPECT_TRUE(values_seen.all());
}

}  // namespace
