// The tape list read from "data/vorn.cfg".
#include "host/config.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names read_config(const std::string& text) {
  std::FILE* file = std::tmpfile();
  std::fwrite(text.data(), 1, text.size(), file);
  std::rewind(file);
  TapeList list;
  tape_list_reset(list);
  config_read(file, list);
  std::fclose(file);
  return {list.names, list.names + list.count};
}

TEST(HostConfigTest, TakesOnlyWellFormedCasetteLinesAndNeverCutsOrSplitsALine) {
  const std::string name63(63, 'f'), long64(64, 'x');
  const struct {
    const char* fault;
    std::string text;
    Names tapes;  // after "default.raw"
  } cases[] = {
      {"more than four tapes kept",
       "casette a\ncasette b\ncasette c\ncasette d\ncasette e\ncasette f\n", {"a", "b", "c", "d"}},
      {"line without two tokens taken", "casette\n\n   \t\ncasette one.raw\n", {"one.raw"}},
      {"key not matched exactly", "Casette a.raw\ncasettes b.raw\ncasett c.raw\n", {}},
      {"blanks or CR kept in names, last line lost", "  casette\t a.raw  extra\r\ncasette b.raw",
       {"a.raw", "b.raw"}},
      {"63-character name refused or 64 truncated", "casette " + long64 + "\ncasette " + name63 + "\n",
       {name63}},
      {"overlong key taken", long64 + " a.raw\ncasette b.raw\n", {"b.raw"}},
      // Characters 255 onward would read as a line of their own if a long line were split.
      {"long line split", "casette a.raw" + std::string(242, ' ') + "casette hidden.raw\ncasette b.raw\n",
       {"b.raw"}},
      {"255-character line refused", "casette a.raw" + std::string(242, ' ') + "\n", {"a.raw"}},
      {"NUL byte cuts a name short", std::string("casette evil.raw\0.txt\ncasette b.raw\n", 36),
       {"b.raw"}},
  };
  for (const auto& c : cases) {
    Names expected{"default.raw"};
    expected.insert(expected.end(), c.tapes.begin(), c.tapes.end());
    EXPECT_EQ(read_config(c.text), expected) << c.fault;
  }
}

}  // namespace
