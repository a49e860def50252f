// Whole-file reads with a limit and writes that never lose the old file.
#include "machine/file_io.h"

#include <filesystem>

#include "tests/machine/machine_fixture.h"

namespace {

TEST(FileIo, ReadTakesOnlyTheHeadOfALongFileAndNothingOfAMissingOne) {
  ScratchDir scratch;
  write_bytes("f.bin", {1, 2, 3, 4, 5});
  EXPECT_EQ(read_file("f.bin", 3), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(read_file("f.bin", 100), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
  write_bytes("empty.bin", {});
  EXPECT_EQ(read_file("empty.bin", 100), std::vector<uint8_t>{});
  EXPECT_FALSE(read_file("missing.bin", 10).has_value());
}

TEST(FileIo, WriteReplacesTheFileAndLeavesNoTemporary) {
  ScratchDir scratch;
  write_bytes("data/out.bin", std::vector<uint8_t>(100, 9));
  const uint8_t bytes[] = {7, 8};
  EXPECT_TRUE(write_file_replacing("data/out.bin", bytes, 2));
  EXPECT_EQ(read_bytes("data/out.bin"), (std::vector<uint8_t>{7, 8}));
  EXPECT_FALSE(std::filesystem::exists("data/out.bin.tmp"));
}

TEST(FileIo, FailedRenameKeepsTheTargetAndRemovesTheTemporary) {
  ScratchDir scratch;
  std::filesystem::create_directories("data/out.bin/inside");
  const uint8_t bytes[] = {1};
  EXPECT_FALSE(write_file_replacing("data/out.bin", bytes, 1));
  EXPECT_TRUE(std::filesystem::is_directory("data/out.bin/inside"));
  EXPECT_FALSE(std::filesystem::exists("data/out.bin.tmp"));
}

}  // namespace
