// The monitor's commands, the line editor and the answers to bad input; the
// beep. Every OUT to the speaker leaves one sample of 255 (high) or 0 (low)
// where it falls, so sound is measured from the speaker samples.
#include <cmath>

#include "tests/machine/vorn_machine.h"

namespace {

using Monitor = Vorn;

// Each step is typed on a clear screen. Then the row above the new, empty
// prompt must read `last` (the command's last line of output, or its echo),
// only the refused lines and O 80 80 may sound, and memory from `at` must
// hold `bytes`. No step may touch 6000h, where every refused line aims.
TEST_F(Monitor, CommandsAndTheLineEditorDoExactlyWhatTheySayAndBadInputIsRefused) {
  start();
  // BASIC's way in: ld hl,5010h (INPUT's prompt) / ld de,5013h (EDIT's text) / call edit_line / ret
  const uint16_t edit = rom_symbol("edit_line");
  char edit_program[96];
  std::snprintf(edit_program, sizeof edit_program, "e 5000 21 10 50 11 13 50 cd %x %x c9\n%s", edit & 0xFF,
                edit >> 8, "e 5010 3f 20 0 \"10 PRINT 1\" 0\n");
  const char edited[] = "10 PRINT 2";
  const struct { std::string typed, last; bool sounds = false; uint16_t at = 0; Bytes bytes = {}; } steps[] = {
      {"e 7000 \"Hi\" 00 7f 41\nd 7000 8\n", "7000 4869007F 41000000 Hi..A..."},
      {"d\n", "7040 00000000 00000000 ........"},  // on from 7008, 64 bytes
      {"f 7101 4 aa\n", "> f 7101 4 aa", false, 0x7100, {0, 0xAA, 0xAA, 0xAA, 0xAA, 0}},
      {"e 7200 1 2 3 4\n", "> e 7200 1 2 3 4", false, 0x7200, {1, 2, 3, 4, 0}},
      // Edited to read "c 7200 7201 4", overlapping upwards, then recalled and run again.
      {"c 7200 721" + kLeft + "0X" + kDel + kRight + " 4\n" + kUp + "\n", "> c 7200 7201 4", false, 0x7200,
       {1, 1, 1, 2, 3, 0}},
      {"c 7201 7200 4\n", "> c 7201 7200 4", false, 0x7200, {1, 1, 2, 3, 3, 0}},  // and downwards
      {"e 5000 3e 42 32 00 73 c9\ng 5000\n", "> g 5000", false, 0x7300, {0x42}},  // ld (7300h),a / ret
      {"i fe80\n", "1F"},  // keyboard row 0, nothing down
      {"o 80 80\n", "> o 80 80", true},
      // Abandoned from its first row, the wrapped line is left whole.
      {"e 6000 11 11 11 11 11 11 11 11 11 11 11 11" + std::string(20, kLeft[0]) + kBreak, " 11 11 11 11"},
      // The cursor starts at the text's end; CLEAR shows the prompt again.
      {edit_program + std::string("g 5000\n") + kDel + "2\x0c\n", "? 10 PRINT 2", false,
       rom_symbol("line_buffer"), Bytes(edited, edited + sizeof edited)},
      {"frob\n", "What? Type HELP for commands", true}, {"cls now\n", "Extra input at end", true},
      {"d 5g00\n", "Bad number", true}, {"d 12345\n", "Bad number", true}, {"b 99999\n", "Bad number", true},
      {"e 6000 11 22 3g\n", "Bad number", true}, {"e 6000 \"ab\n", "Missing closing quote", true},
      {"f 6000\n", "Missing value", true}, {"f 4800 10 0\n", "System area 4000-4FFF", true},
      {"e 6000 123\n", "Value out of range", true}, {"c 6000 fff8 10\n", "Value out of range", true},
      {"b 5 100\n", "Value out of range", true}, {"s \"x\" 6000 0\n", "Value out of range", true},
      {"s demo 6000 10\n", "Name: 1-10 chars in quotes", true},
      {"s \"elevenchars\" 6000 10\n", "Name: 1-10 chars in quotes", true}};
  for (const auto& step : steps) {
    type("cls\n");
    sound.clear();
    type(step.typed, 60);
    const auto rows = screen();
    const auto prompt = std::find(rows.begin() + 1, rows.end(), ">");
    ASSERT_NE(prompt, rows.end()) << step.typed;
    EXPECT_EQ(prompt[-1], step.last) << step.typed;
    EXPECT_EQ(std::count(sound.begin(), sound.end(), 255) > 0, step.sounds) << step.typed;
    EXPECT_EQ(Bytes(machine.memory + step.at, machine.memory + step.at + step.bytes.size()), step.bytes);
    EXPECT_EQ(machine.memory[0x6000], 0) << step.typed;
  }
}

// From the bottom row, a line of 127 characters (the most) scrolls the
// screen up as it wraps; edits two rows up redraw the rows after them.
TEST_F(Monitor, LongLinesWrapScrollAndEditAcrossRows) {
  start();
  type(std::string(29, '\n'));
  std::string line = "e  7400";
  for (int i = 10; i < 50; ++i) (line += ' ') += std::to_string(i);  // 40 bytes in 127 characters
  // Takes out " 30" and makes "22" "0022": 126 characters end a row, and the next prompt
  // takes the row below.
  type(line + "5" + std::string(57, kLeft[0]) + kDel + kDel + kDel + std::string(23, kLeft[0]) + "00\n");
  const std::string edited = "> " + line.substr(0, 44) + "00" + line.substr(44, 23) + line.substr(70);
  const auto shown = [&](int row) { return (screen()[27 + row] + std::string(32, ' ')).substr(0, 32); };
  for (int row = 0; row < 4; ++row) EXPECT_EQ(shown(row), edited.substr(32 * row, 32)) << "row " << 27 + row;
  EXPECT_EQ(screen()[26], ">");
  EXPECT_EQ(machine.memory[0x7426] << 8 | machine.memory[0x7427], 0x4900);
  machine.memory[0x7426] = 0;
  type(kUp + "\n", 30);  // four rows scrolled, a few frames each
  for (int row = 0; row < 4; ++row) EXPECT_EQ(shown(row), edited.substr(32 * row, 32)) << "row " << 27 + row;
  EXPECT_EQ(machine.memory[0x7426], 0x49);
}

TEST_F(Monitor, BeepHasTheRequestedPitchAndLength) {
  const struct { const char* values; int hertz, ms; } beeps[] = {
      {"", 1000, 200}, {" 440 500", 440, 500}, {" 50 400", 50, 400}, {" 3520 100", 3520, 100}, {" 9000 60", 9000, 60}};
  start();
  for (const auto& [values, hertz, ms] : beeps) {
    type(std::string("b") + values, 4);
    sound.clear();
    type("\n", ms / 20 + 20);
    std::vector<size_t> rises;
    for (size_t i = 0; i < sound.size(); ++i)
      if (sound[i] == 255) rises.push_back(i);
    ASSERT_GE(rises.size(), 2u) << hertz;
    // A rise whose OUT falls in a frame's overshoot is not stored, which
    // leaves one gap of two periods: periods are counted in whole typical gaps.
    std::vector<size_t> gaps(rises.size() - 1);
    for (size_t i = 1; i < rises.size(); ++i) gaps[i - 1] = rises[i] - rises[i - 1];
    std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
    const double typical = static_cast<double>(gaps[gaps.size() / 2]);
    double periods = 0;
    for (size_t i = 1; i < rises.size(); ++i) periods += std::round((rises[i] - rises[i - 1]) / typical);
    const double span = static_cast<double>(rises.back() - rises.front()) / 44'100.0;
    EXPECT_NEAR(periods / span, hertz, hertz * 0.001);
    // From the first to the last rise is one period short of the whole beep.
    EXPECT_NEAR(span + 1.0 / hertz, ms / 1000.0, 0.003) << hertz;
  }
}

}  // namespace
