// BASIC's SAVE and LOAD on the deck, and the check that keeps a damaged
// program out of BASIC.
#include "tests/machine/vorn_machine.h"

namespace {

class BasicTape : public Vorn {
 protected:
  void SetUp() override { start(false); }
  // Clears the screen, types `line` and runs `frames`; true when `text` shows.
  bool typed_shows(const std::string& line, const std::string& text, uint32_t frames = 60) {
    type("\x0C" + line + "\n", frames);
    return shows(text);
  }
  void load(const std::string& command) {
    tape_stop();
    type("\x0C" + command + "\n");
    tape_play();
    run(800);
  }
  const std::string kProgram = "10 A$=\"Hi\":B=3\n20 PRINT A$;B*2\n";
};

// A monitor block, then the program: LOAD "" names the block, passes it and
// brings back lines and names that list and run as before. Damage in the data
// block then ends a LOAD with the program in memory kept.
TEST_F(BasicTape, LoadPassesOtherBlocksRestoresTheProgramAndKeepsTheOldOneOnAChecksumError) {
  tape_record();
  type("mon\ns \"LOW\" 6000 10\n", 150);
  type("basic\n" + kProgram);
  ASSERT_TRUE(typed_shows("save \"prog\"", "Saved", 250));
  tape_stop();
  uint8_t* tape = machine.tape.buffer;
  uint64_t end = machine.tape.position;  // the data block's last edge
  while (tape[end - 1] == 127 || tape[end - 1] == tape[end - 2]) --end;
  type("new\n");
  load("load \"\"");
  EXPECT_TRUE(shows("Found LOW") && shows("Found prog"));
  EXPECT_TRUE(typed_shows("list", "10 A$=\"Hi\":B=3") && shows("20 PRINT A$;B*2"));
  EXPECT_TRUE(typed_shows("run", "Hi 6"));
  std::fill(tape + end - 3000, tape + end - 2960, tape[end - 3000]);
  type("new\n10 print 7\n");
  load("load \"prog\"");
  EXPECT_TRUE(shows("checksum error"));
  EXPECT_TRUE(typed_shows("run", " 7"));
}

// A program that passes its checksum but not the check (its lines out of
// order, through POKE) gives Bad program; one too big for the room left gives
// Out of memory while its data block still plays; both keep the old program.
TEST_F(BasicTape, LoadRefusesNonsenseAndWhatCannotFitBeforeTouchingTheProgram) {
  const std::string rem = " rem " + std::string(100, 'x') + "\n";
  type(kProgram + "30" + rem + "40" + rem + "50" + rem);
  tape_record();
  ASSERT_TRUE(typed_shows("save \"big\"", "Saved", 200));
  type("poke 20482,40\n");
  ASSERT_TRUE(typed_shows("save \"bad\"", "Saved", 200));
  tape_stop();
  type("new\n10 print 7\n");
  load("load \"bad\"");
  EXPECT_TRUE(shows("Bad program"));
  EXPECT_TRUE(typed_shows("run", " 7"));
  EXPECT_TRUE(typed_shows("clear 20800", "Ready"));
  tape_stop();
  type("\x0Cload \"big\"\n");
  tape_play();
  const uint64_t start = machine.tape.position;
  for (int i = 0; i < 200 && !shows("Out of memory"); ++i) run(1);
  EXPECT_TRUE(shows("Found big") && shows("Out of memory"));
  EXPECT_LT(machine.tape.position - start, 44'100u * 2) << "read the data first";
  run(50);
  EXPECT_TRUE(typed_shows("run", " 7"));
}

// The monitor's E sends A$ (its offset in the name table) far out of the table:
// BASIC says so and starts empty.
TEST_F(BasicTape, ProgramWrittenOverInTheMonitorIsDroppedOnTheWayBack) {
  type(kProgram + "mon\ne 5005 ff 7f\nbasic\n");
  EXPECT_TRUE(shows("Program damaged"));
  EXPECT_FALSE(typed_shows("list", "PRINT"));
  EXPECT_TRUE(typed_shows("run", "Ready"));
}

}  // namespace
