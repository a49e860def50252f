// The emulator's keyboard commands, driven frame by frame with key-state
// arrays and checked against the machine operations they call.
#include "host/input.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <initializer_list>

#include "machine/machine.h"
#include "tests/host/fake_machine.h"

namespace {

using Calls = std::vector<std::string>;

class HostInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake_machine_clear();
    ui = HostUi{};
    ui.running = true;
    tape_list_reset(ui.tapes);
    std::strcpy(ui.tapes.names[1], "b.raw");
    ui.tapes.count = 2;
  }

  // One frame in which exactly `held` are down.
  void frame(std::initializer_list<SDL_Scancode> held) {
    previous = now;
    now.fill(0);
    for (SDL_Scancode k : held) now[k] = 1;
    input_handle({now.data(), previous.data(), SDL_NUM_SCANCODES}, ui);
  }

  std::array<uint8_t, SDL_NUM_SCANCODES> now{}, previous{};
  HostUi ui;
};

TEST_F(HostInputTest, EscapeWithNothingOpenQuitsOnThePress) {
  frame({SDL_SCANCODE_ESCAPE});
  EXPECT_FALSE(ui.running);
}

TEST_F(HostInputTest, AltCommandsActOnThePressOnlyAndNeedAlt) {
  frame({SDL_SCANCODE_H});
  EXPECT_FALSE(ui.key_picture_visible);
  frame({SDL_SCANCODE_LALT});
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_H});
  EXPECT_TRUE(ui.key_picture_visible);
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_H});  // still held: no second toggle
  EXPECT_TRUE(ui.key_picture_visible);
  frame({SDL_SCANCODE_RALT});
  frame({SDL_SCANCODE_RALT, SDL_SCANCODE_H});
  EXPECT_FALSE(ui.key_picture_visible);
}

TEST_F(HostInputTest, AltHAndAltSInOneFrameOnlyToggleTheKeyPicture) {
  frame({SDL_SCANCODE_LALT});
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_H, SDL_SCANCODE_S});
  EXPECT_TRUE(ui.key_picture_visible);
  EXPECT_FALSE(ui.record_prompt_open);
}

TEST_F(HostInputTest, UnlistedAltCommandsReachTheMachine) {
  for (SDL_Scancode key : {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_5, SDL_SCANCODE_R,
                           SDL_SCANCODE_X}) {
    frame({SDL_SCANCODE_LALT});
    frame({SDL_SCANCODE_LALT, key});
  }
  EXPECT_EQ(fake_machine_calls, (Calls{"state_load", "state_save", "dev_image", "reset", "stop"}));
}

TEST_F(HostInputTest, TapeMenuEntryIsChosenOnReleaseNotOnPress) {
  frame({SDL_SCANCODE_LALT});
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_L});
  ASSERT_TRUE(ui.tape_menu_open);
  frame({SDL_SCANCODE_2});
  EXPECT_TRUE(fake_machine_calls.empty());
  EXPECT_TRUE(ui.tape_menu_open);
  frame({});
  EXPECT_EQ(fake_machine_calls, (Calls{"load data/b.raw", "play"}));
  EXPECT_FALSE(ui.tape_menu_open);
  EXPECT_EQ(ui.current_tape, 1);
}

TEST_F(HostInputTest, ChoosingTheCurrentTapeReplaysItWithoutReadingTheFile) {
  ui.current_tape = 1;
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_2});
  frame({});
  EXPECT_EQ(fake_machine_calls, (Calls{"play"}));
}

TEST_F(HostInputTest, ExitEntryClosesTheMenuWithoutPlaying) {
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_3});
  frame({});
  EXPECT_FALSE(ui.tape_menu_open);
  EXPECT_TRUE(fake_machine_calls.empty());
}

TEST_F(HostInputTest, DigitsPastTheExitEntryDoNothingInTheMenu) {
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_4});
  frame({});
  EXPECT_TRUE(ui.tape_menu_open);
  EXPECT_TRUE(fake_machine_calls.empty());
}

TEST_F(HostInputTest, EscapeInTheTapeMenuClosesItOnReleaseAndDoesNotQuit) {
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_ESCAPE});
  EXPECT_TRUE(ui.running);
  EXPECT_TRUE(ui.tape_menu_open);
  frame({});
  EXPECT_TRUE(ui.running);
  EXPECT_FALSE(ui.tape_menu_open);
}

TEST_F(HostInputTest, EscapeWithTheRecordPromptOpenWaitsForItsReleaseAndDoesNotRecord) {
  frame({SDL_SCANCODE_LALT});
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_S});
  ASSERT_TRUE(ui.record_prompt_open);
  frame({SDL_SCANCODE_ESCAPE});
  EXPECT_TRUE(ui.running);
  EXPECT_TRUE(ui.record_prompt_open);
  frame({});
  EXPECT_TRUE(ui.running);
  EXPECT_FALSE(ui.record_prompt_open);
  EXPECT_TRUE(fake_machine_calls.empty());
}

TEST_F(HostInputTest, RecordPromptNoClosesWithoutRecording) {
  ui.record_prompt_open = true;
  frame({SDL_SCANCODE_2});
  EXPECT_TRUE(ui.record_prompt_open);
  frame({});
  EXPECT_FALSE(ui.record_prompt_open);
  EXPECT_TRUE(fake_machine_calls.empty());
}

TEST_F(HostInputTest, AltCommandsAreInactiveWhileTheRecordPromptIsOpen) {
  ui.record_prompt_open = true;
  frame({SDL_SCANCODE_LALT});
  frame({SDL_SCANCODE_LALT, SDL_SCANCODE_L});
  EXPECT_FALSE(ui.tape_menu_open);
}

// After recording starts, the buffer no longer holds the current entry's
// tape: choosing that entry again must read its file.
TEST_F(HostInputTest, RecordingMakesTheRecordingTheCurrentTape) {
  ui.current_tape = 1;
  ui.record_prompt_open = true;
  frame({SDL_SCANCODE_1});
  frame({});
  EXPECT_FALSE(ui.record_prompt_open);
  EXPECT_EQ(ui.current_tape, 0);
  tape_stop();
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_2});
  frame({});
  EXPECT_EQ(fake_machine_calls, (Calls{"record", "stop", "load data/b.raw", "play"}));
}

// Loading a tape over a recording would lose it, and playing would then
// write the loaded tape into "default.raw".
TEST_F(HostInputTest, ChoosingATapeWhileRecordingWritesTheRecordingBeforeLoading) {
  ui.record_prompt_open = true;
  frame({SDL_SCANCODE_1});
  frame({});
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_2});
  frame({});
  EXPECT_EQ(fake_machine_calls, (Calls{"record", "stop", "load data/b.raw", "play"}));
  EXPECT_EQ(ui.current_tape, 1);
}

TEST_F(HostInputTest, ChoosingTheRecordingWhileRecordingWritesItAndPlaysItFromMemory) {
  ui.current_tape = 1;
  machine.tape.state = TAPE_RECORDING;
  ui.tape_menu_open = true;
  frame({SDL_SCANCODE_1});
  frame({});
  EXPECT_EQ(fake_machine_calls, (Calls{"stop", "play"}));
  EXPECT_EQ(ui.current_tape, 0);
}

TEST_F(HostInputTest, ARecordingInProgressAtExitIsWritten) {
  input_finish_recording();
  EXPECT_TRUE(fake_machine_calls.empty());
  machine.tape.state = TAPE_PLAYING;
  input_finish_recording();
  EXPECT_TRUE(fake_machine_calls.empty());
  machine.tape.state = TAPE_RECORDING;
  input_finish_recording();
  EXPECT_EQ(fake_machine_calls, (Calls{"stop"}));
}

TEST_F(HostInputTest, ShortKeyboardArrayIsNeverReadPastItsEnd) {
  // Only scancodes below the array's length exist; Escape (41) lies past 10.
  const uint8_t down[10] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, up[10] = {};
  input_handle({down, up, 10}, ui);
  EXPECT_TRUE(ui.running);
  EXPECT_FALSE(ui.alt_held);
}

}  // namespace
