// The tape list read from "data/vorn.cfg".
#include "host/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::string> read_config(const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  TapeList list;
  tape_list_reset(list);
  config_read(file, list);
  std::fclose(file);
  return {list.names, list.names + list.count};
}

using Names = std::vector<std::string>;

TEST(HostConfigTest, SixTapeLinesKeepTheFirstFourAfterDefault) {
  EXPECT_EQ(read_config("casette a\ncasette b\ncasette c\ncasette d\ncasette e\ncasette f\n"),
            (Names{"default.raw", "a", "b", "c", "d"}));
}

TEST(HostConfigTest, LinesWithoutTwoTokensAreSkipped) {
  EXPECT_EQ(read_config("casette\n\n   \t\ncasette one.raw\n"), (Names{"default.raw", "one.raw"}));
}

TEST(HostConfigTest, KeyComparisonIsExactAndCaseSensitive) {
  EXPECT_EQ(read_config("Casette a.raw\ncasettes b.raw\ncasett c.raw\ntape d.raw\n"),
            (Names{"default.raw"}));
}

TEST(HostConfigTest, LastLineWithoutNewlineIsRead) {
  EXPECT_EQ(read_config("casette a.raw\ncasette b.raw"), (Names{"default.raw", "a.raw", "b.raw"}));
}

TEST(HostConfigTest, WhitespaceAroundTokensAndCarriageReturnsAreNotPartOfNames) {
  EXPECT_EQ(read_config("  casette\t a.raw  extra words\r\ncasette b.raw\r\n"),
            (Names{"default.raw", "a.raw", "b.raw"}));
}

TEST(HostConfigTest, NameOf63CharactersIsTakenAndOf64IsSkippedNotTruncated) {
  const std::string fits(63, 'f'), too_long(64, 'x');
  EXPECT_EQ(read_config("casette " + too_long + "\ncasette " + fits + "\n"),
            (Names{"default.raw", fits}));
}

TEST(HostConfigTest, OverlongKeyIsSkipped) {
  EXPECT_EQ(read_config(std::string(64, 'k') + " a.raw\ncasette b.raw\n"),
            (Names{"default.raw", "b.raw"}));
}

TEST(HostConfigTest, LineOver255CharactersIsConsumedWholeAndNotSplitIntoASecondLine) {
  // Characters 255 onward would read as a line of their own if the reader
  // split long lines.
  const std::string long_line = "casette a.raw" + std::string(255 - 13, ' ') + "casette hidden.raw\n";
  EXPECT_EQ(read_config(long_line + "casette b.raw\n"), (Names{"default.raw", "b.raw"}));
}

TEST(HostConfigTest, LineOfExactly255CharactersIsRead) {
  const std::string line = "casette a.raw" + std::string(255 - 13, ' ');
  ASSERT_EQ(line.size(), 255u);
  EXPECT_EQ(read_config(line + "\n"), (Names{"default.raw", "a.raw"}));
}

TEST(HostConfigTest, LineHoldingANulByteIsSkippedRatherThanNamingAnotherFile) {
  EXPECT_EQ(read_config(std::string("casette evil.raw\0.txt\ncasette b.raw\n", 36)),
            (Names{"default.raw", "b.raw"}));
}

TEST(HostConfigTest, EmptyFileLeavesOnlyTheRecordingTape) {
  EXPECT_EQ(read_config(""), (Names{"default.raw"}));
}

}  // namespace
