// The ROM under the headless runner, as a person scripting it would use it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <vector>

namespace {

TEST(Runner, TypedCommandChangesMemoryInTheDump) {
  const std::string dump = testing::TempDir() + "rom_runner_dump.bin";
  const std::string command = std::string(VORN_HEADLESS_PATH) +
                              " --frames 120 --type '20:e 6000 5a \"ok\"\\n' --dump 120:" + dump;
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(dump, std::ios::binary);
  std::vector<char> memory(65536);
  in.read(memory.data(), 65536);
  ASSERT_EQ(in.gcount(), 65536);
  EXPECT_EQ(memory[0x6000], 0x5A);
  EXPECT_EQ(memory[0x6001], 'o');
  EXPECT_EQ(memory[0x6002], 'k');
}

}  // namespace
