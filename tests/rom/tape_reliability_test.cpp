// Fifty random blocks of 1 byte to 16 KiB, each saved through the ROM and
// loaded back: every one must arrive whole, and together they carry every
// byte value.
#include <gtest/gtest.h>

#include <bitset>
#include <random>

#include "tests/rom/rom_machine.h"

namespace {

TEST(TapeReliability, FiftyRandomBlocksRoundTripWithoutAFault) {
  constexpr uint32_t kMaxLength = 0x4000;
  constexpr uint16_t kStart = 0x8000;
  std::mt19937 random(2024);
  std::bitset<256> values_seen;
  int failures = 0;
  uint64_t bits = 0;
  double seconds = 0;
  for (int block = 0; block < 50; ++block) {
    RomMachine vorn;
    const uint32_t length = block == 0 ? 1 : block == 1 ? kMaxLength : 1 + random() % kMaxLength;
    std::vector<uint8_t> data(length);
    for (auto& byte : data) values_seen.set(byte = static_cast<uint8_t>(random()));
    std::copy(data.begin(), data.end(), machine.memory + kStart);
    char name[16];
    std::snprintf(name, sizeof name, "B%d", block);
    ASSERT_TRUE(save_block(vorn, name, kStart, length)) << name;
    tape_stop();
    bits += uint64_t{length} * 8;
    seconds += static_cast<double>(last_edge() - first_signal()) / 44'100.0;
    std::fill(machine.memory + kStart, machine.memory + kStart + length, 0);
    const std::string result = load_block(vorn, name, length);
    const bool intact = std::equal(data.begin(), data.end(), machine.memory + kStart);
    if (result != "Loaded" || !intact) {
      ++failures;
      ADD_FAILURE() << name << " of " << length << " bytes: '" << result << "'"
                    << (intact ? "" : ", data differs");
    }
  }
  std::printf("50 blocks, %llu bits, %.1f s of tape in all (leaders included): %d failures\n",
              static_cast<unsigned long long>(bits), seconds, failures);
  EXPECT_EQ(failures, 0);
  EXPECT_TRUE(values_seen.all());
}

}  // namespace
