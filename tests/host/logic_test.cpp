// The host's logic without a window: the tape list read from "data/vorn.cfg",
// and the emulator's keyboard commands driven frame by frame with key-state
// arrays against a stand-in machine that logs the operations called.
#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/config.h"
#include "host/input.h"
#include "machine/machine.h"

using Names = std::vector<std::string>;

// The stand-in machine: only its tape deck state is kept.
Machine machine;
Names calls;
void call(const std::string& name, uint32_t state = machine.tape.state) {
  calls.push_back(name);
  machine.tape.state = state;
}
void tape_load(const char* path) { call(std::string("load ") + path); }
void tape_play() { call("play", TAPE_PLAYING); }
void tape_record() { call("record", TAPE_RECORDING); }
void tape_stop() { call("stop", TAPE_STOPPED); }
void state_load() { call("state_load"); }
void state_save() { call("state_save"); }
void machine_load_dev_image() { call("dev_image"); }
void machine_reset() { call("reset"); }

namespace {

TEST(HostConfigTest, TakesOnlyWellFormedCasetteLinesAndNeverCutsOrSplitsALine) {
  const std::string name63(63, 'f'), long64(64, 'x');
  const struct {
    const char* fault;
    std::string text;
    Names tapes;  // after "default.raw"
  } cases[] = {
      {"an empty file gives tapes", "", {}},
      {"more than four tapes kept",
       "casette a\ncasette b\ncasette c\ncasette d\ncasette e\ncasette f\n", {"a", "b", "c", "d"}},
      {"line without two tokens taken", "casette\n\n   \t\ncasette one.raw\n", {"one.raw"}},
      {"key not matched exactly", "Casette a.raw\ncasettes b.raw\ncasett c.raw\n", {}},
      {"blanks or CR kept in names, last line lost", "  casette\t a.raw  extra\r\ncasette c.raw\r\ncasette b.raw",
       {"a.raw", "c.raw", "b.raw"}},
      {"63-character name refused or 64 truncated", "casette " + long64 + "\ncasette " + name63 + "\n",
       {name63}},
      {"overlong key taken", long64 + " a.raw\ncasette b.raw\n", {"b.raw"}},
      // Characters 255 onward would read as a line of their own if a long line were split.
      {"long line split", "casette a.raw" + std::string(242, ' ') + "casette hidden.raw\ncasette b.raw\n",
       {"b.raw"}},
      {"255-character line refused", "casette a.raw" + std::string(242, ' ') + "\n", {"a.raw"}},
      {"NUL byte cuts a name short", std::string("casette evil.raw\0.txt\ncasette b.raw\n", 36), {"b.raw"}},
  };
  for (const auto& c : cases) {
    std::FILE* file = std::tmpfile();
    std::fwrite(c.text.data(), 1, c.text.size(), file);
    std::rewind(file);
    TapeList list;
    tape_list_reset(list);
    config_read(file, list);
    std::fclose(file);
    Names expected{"default.raw"};
    expected.insert(expected.end(), c.tapes.begin(), c.tapes.end());
    EXPECT_EQ(Names(list.names, list.names + list.count), expected) << c.fault;
  }
}

constexpr SDL_Scancode kAlt = SDL_SCANCODE_LALT, kEscape = SDL_SCANCODE_ESCAPE;

class HostInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    calls.clear();
    machine.tape.state = TAPE_STOPPED;
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
  void alt(SDL_Scancode key) { frame({kAlt}), frame({kAlt, key}), frame({}); }
  void tap(SDL_Scancode key) { frame({key}), frame({}); }

  std::array<uint8_t, SDL_NUM_SCANCODES> now{}, previous{};
  HostUi ui{};
};

TEST_F(HostInputTest, AltCommandsActOnceOnTheirPressAndOnlyWithAlt) {
  frame({SDL_SCANCODE_H});
  EXPECT_FALSE(ui.key_picture_visible) << "H without Alt";
  frame({kAlt});
  frame({kAlt, SDL_SCANCODE_H});
  frame({kAlt, SDL_SCANCODE_H});  // still held: no second toggle
  EXPECT_TRUE(ui.key_picture_visible);
  frame({SDL_SCANCODE_RALT});
  frame({SDL_SCANCODE_RALT, SDL_SCANCODE_H});
  EXPECT_FALSE(ui.key_picture_visible) << "right Alt";
  frame({kAlt});
  frame({kAlt, SDL_SCANCODE_H, SDL_SCANCODE_S});
  EXPECT_TRUE(ui.key_picture_visible) << "Alt+H and Alt+S in one frame";
  EXPECT_FALSE(ui.record_prompt_open) << "Alt+H and Alt+S in one frame";
  for (SDL_Scancode key : {SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_5, SDL_SCANCODE_R, SDL_SCANCODE_X})
    alt(key);
  EXPECT_EQ(calls, (Names{"state_load", "state_save", "dev_image", "reset", "stop"}));
  frame({kEscape});
  EXPECT_FALSE(ui.running) << "Escape with nothing open quits on its press";
}

TEST_F(HostInputTest, TapeMenuChoosesOnReleaseNotPressAndEscapeOnlyClosesIt) {
  alt(SDL_SCANCODE_L);
  ASSERT_TRUE(ui.tape_menu_open);
  frame({SDL_SCANCODE_2});
  EXPECT_TRUE(calls.empty()) << "chosen on the press";
  frame({});
  EXPECT_EQ(calls, (Names{"load data/b.raw", "play"}));
  EXPECT_FALSE(ui.tape_menu_open);
  EXPECT_EQ(ui.current_tape, 1);
  alt(SDL_SCANCODE_L);
  tap(SDL_SCANCODE_4);  // past the exit entry
  EXPECT_TRUE(ui.tape_menu_open);
  tap(SDL_SCANCODE_2);  // the current tape replays from memory
  EXPECT_EQ(calls, (Names{"load data/b.raw", "play", "play"}));
  alt(SDL_SCANCODE_L);
  tap(SDL_SCANCODE_3);  // exit
  EXPECT_FALSE(ui.tape_menu_open);
  alt(SDL_SCANCODE_L);
  frame({kEscape});
  EXPECT_TRUE(ui.tape_menu_open);
  frame({});
  EXPECT_FALSE(ui.tape_menu_open);
  EXPECT_TRUE(ui.running);
  EXPECT_EQ(calls.size(), 3u);
}

TEST_F(HostInputTest, RecordPromptIsModalAndEscapeOrNoClosesItOnReleaseWithoutRecording) {
  for (SDL_Scancode no : {kEscape, SDL_SCANCODE_2}) {
    alt(SDL_SCANCODE_S);
    ASSERT_TRUE(ui.record_prompt_open);
    alt(SDL_SCANCODE_L);
    EXPECT_FALSE(ui.tape_menu_open) << "Alt command while the prompt is open";
    frame({no});
    EXPECT_TRUE(ui.record_prompt_open) << "closed on the press";
    frame({});
    EXPECT_FALSE(ui.record_prompt_open);
  }
  EXPECT_TRUE(ui.running);
  EXPECT_TRUE(calls.empty());
}

// A recording must never be lost or overwritten by another tape.
TEST_F(HostInputTest, RecordingBecomesTapeZeroAndIsWrittenBeforeAnotherTapeLoads) {
  ui.current_tape = 1;
  alt(SDL_SCANCODE_S);
  tap(SDL_SCANCODE_1);
  EXPECT_FALSE(ui.record_prompt_open);
  // The buffer no longer holds b.raw: choosing it must read its file again.
  EXPECT_EQ(ui.current_tape, 0);
  alt(SDL_SCANCODE_L);
  tap(SDL_SCANCODE_2);
  EXPECT_EQ(calls, (Names{"record", "stop", "load data/b.raw", "play"}));
  EXPECT_EQ(ui.current_tape, 1);
}

}  // namespace
