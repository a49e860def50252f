// The headless runner's command line and the typing of text.
#include <gtest/gtest.h>

#include "machine/scancodes.h"
#include "tools/headless/options.h"
#include "tools/headless/typing.h"

namespace {

struct Parsed {
  bool ok;
  RunOptions options;
  std::string error;
};

Parsed parse(std::vector<std::string> args) {
  Parsed parsed;
  parsed.ok = parse_options(args, parsed.options, parsed.error);
  return parsed;
}

TEST(HeadlessOptions, FramesAreRequiredAndBounded) {
  EXPECT_FALSE(parse({}).ok);
  EXPECT_FALSE(parse({"--press", "1:A"}).ok);
  EXPECT_FALSE(parse({"--frames", "0"}).ok);
  EXPECT_FALSE(parse({"--frames", "-3"}).ok);
  EXPECT_FALSE(parse({"--frames", "99999999999999999999"}).ok);
  EXPECT_FALSE(parse({"--frames"}).ok);
  const auto parsed = parse({"--frames", "12"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.frames, 12u);
}

TEST(HeadlessOptions, FrameOutsideTheRunIsRefused) {
  EXPECT_FALSE(parse({"--frames", "5", "--press", "6:A"}).ok);
  EXPECT_FALSE(parse({"--press", "0:A", "--frames", "5"}).ok);
  EXPECT_FALSE(parse({"--frames", "5", "--png", "9:x.png"}).ok);
  EXPECT_FALSE(parse({"--frames", "5", "--reset", "6"}).ok);
  EXPECT_TRUE(parse({"--press", "5:A", "--frames", "5"}).ok) << "options come in any order";
}

TEST(HeadlessOptions, UnknownKeysAndOptionsAreNamedInTheError) {
  const auto bad_key = parse({"--frames", "5", "--press", "1:SHIFT"});
  EXPECT_FALSE(bad_key.ok);
  EXPECT_NE(bad_key.error.find("SHIFT"), std::string::npos);
  const auto bad_option = parse({"--frames", "5", "--jump", "1"});
  EXPECT_FALSE(bad_option.ok);
  EXPECT_NE(bad_option.error.find("--jump"), std::string::npos);
  EXPECT_FALSE(parse({"--frames", "5", "--press", "1"}).ok);
  EXPECT_FALSE(parse({"--frames", "5", "--press", "x:A"}).ok);
  EXPECT_FALSE(parse({"--frames", "5", "--press", "1:"}).ok);
  EXPECT_FALSE(parse({"--frames", "5", "stray"}).ok);
}

TEST(HeadlessOptions, KeyNamesMapToHostScancodes) {
  const auto parsed = parse({"--frames", "9", "--press", "1:A", "--press", "1:0", "--press",
                             "1:9", "--press", "1:RETURN", "--release", "2:RSHIFT"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  const auto& actions = parsed.options.actions;
  ASSERT_EQ(actions.size(), 5u);
  EXPECT_EQ(actions[0].scancode, SCANCODE_A);
  EXPECT_EQ(actions[1].scancode, SCANCODE_0);
  EXPECT_EQ(actions[2].scancode, SCANCODE_9);
  EXPECT_EQ(actions[3].scancode, SCANCODE_RETURN);
  EXPECT_EQ(actions[4].kind, ActionKind::KeyUp);
  EXPECT_EQ(actions[4].scancode, SCANCODE_RSHIFT);
}

TEST(HeadlessOptions, TapReleasesAfterItsHold) {
  auto parsed = parse({"--frames", "20", "--tap", "3:Q", "--tap", "4:W:7"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  sort_actions(parsed.options.actions);
  const auto& a = parsed.options.actions;
  ASSERT_EQ(a.size(), 4u);
  EXPECT_TRUE(a[0].frame == 3 && a[0].kind == ActionKind::KeyDown && a[0].scancode == SCANCODE_Q);
  EXPECT_TRUE(a[1].frame == 4 && a[1].kind == ActionKind::KeyDown && a[1].scancode == SCANCODE_W);
  EXPECT_TRUE(a[2].frame == 5 && a[2].kind == ActionKind::KeyUp && a[2].scancode == SCANCODE_Q);
  EXPECT_TRUE(a[3].frame == 11 && a[3].kind == ActionKind::KeyUp && a[3].scancode == SCANCODE_W);
  EXPECT_FALSE(parse({"--frames", "20", "--tap", "3:Q:0"}).ok);
}

TEST(HeadlessOptions, ActionsOfOneFrameKeepCommandLineOrder) {
  auto parsed = parse({"--frames", "9", "--tape-play", "4", "--tape-load", "4:data/a.raw",
                       "--save-state", "2", "--reset", "4"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  sort_actions(parsed.options.actions);
  const auto& a = parsed.options.actions;
  ASSERT_EQ(a.size(), 4u);
  EXPECT_EQ(a[0].kind, ActionKind::SaveState);
  EXPECT_EQ(a[1].kind, ActionKind::TapePlay);
  EXPECT_EQ(a[2].kind, ActionKind::TapeLoad);
  EXPECT_EQ(a[2].text, "data/a.raw");
  EXPECT_EQ(a[3].kind, ActionKind::Reset);
}

TEST(HeadlessOptions, TypedTextResolvesItsEscapes) {
  const auto parsed = parse({"--frames", "9", "--type", "1:A\\nB\\\\C:D"});
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.options.actions[0].text, "A\nB\\C:D");
  EXPECT_FALSE(parse({"--frames", "9", "--type", "1:A\\t"}).ok);
  EXPECT_FALSE(parse({"--frames", "9", "--type", "1:A\\"}).ok);
}

TEST(HeadlessOptions, HelpEndsParsingWhereverItStands) {
  const auto parsed = parse({"--bogus", "--help"});
  EXPECT_FALSE(parsed.ok) << "a bad option before --help is still reported";
  EXPECT_TRUE(parse({"--help"}).options.help);
  EXPECT_TRUE(parse({"--frames", "3", "--help"}).options.help);
}

KeyLegend legend(int row, int column, std::string host, uint8_t plain, uint8_t shift,
                 uint8_t ctrl, bool modifier = false, std::string label = {}) {
  return {row, column, std::move(host), {plain, label}, {shift, ""}, {ctrl, ""}, modifier};
}

std::vector<KeyLegend> small_layout() {
  return {legend(7, 0, "LSHIFT", 0, 0, 0, true, "SHIFT"),
          legend(4, 0, "LCTRL", 0, 0, 0, true, "CTRL"),
          legend(5, 0, "A", 'A', 'a', 0x01),
          legend(0, 0, "1", '1', '!', 0),
          legend(6, 4, "RETURN", 0x0D, 0, 0),
          legend(6, 1, "C", 'C', 0, 0x03)};
}

struct Stroke {
  uint32_t frame;
  ActionKind kind;
  int scancode;
  bool operator==(const Stroke&) const = default;
};

std::vector<Stroke> strokes(const std::vector<Action>& actions) {
  std::vector<Stroke> out;
  for (const Action& a : actions) out.push_back({a.frame, a.kind, a.scancode});
  return out;
}

TEST(Typing, EachCharacterIsHeldTwoFramesThenTwoFramesOfNothing) {
  std::vector<Action> actions = {{5, ActionKind::Type, -1, "A!\n", 0}};
  std::string error;
  ASSERT_TRUE(expand_typing(small_layout(), actions, error)) << error;
  const auto down = ActionKind::KeyDown, up = ActionKind::KeyUp;
  EXPECT_EQ(strokes(actions), (std::vector<Stroke>{
                                  {5, down, SCANCODE_A},
                                  {7, up, SCANCODE_A},
                                  {9, down, SCANCODE_LSHIFT},
                                  {9, down, SCANCODE_1},
                                  {11, up, SCANCODE_1},
                                  {11, up, SCANCODE_LSHIFT},
                                  {13, down, SCANCODE_RETURN},
                                  {15, up, SCANCODE_RETURN},
                              }));
}

TEST(Typing, PlainLayerIsPreferredAndCtrlLayerReachable) {
  std::vector<Action> actions = {{1, ActionKind::Type, -1, "a\x03", 0}};
  std::string error;
  ASSERT_TRUE(expand_typing(small_layout(), actions, error)) << error;
  ASSERT_EQ(actions.size(), 8u);
  EXPECT_EQ(actions[0].scancode, SCANCODE_LSHIFT);
  EXPECT_EQ(actions[4].scancode, SCANCODE_LCTRL);
  EXPECT_EQ(actions[5].scancode, SCANCODE_C);
}

TEST(Typing, CharacterWithoutAKeyIsAnError) {
  std::vector<Action> actions = {{1, ActionKind::Type, -1, "AZ", 0}};
  std::string error;
  EXPECT_FALSE(expand_typing(small_layout(), actions, error));
  EXPECT_NE(error.find("'Z'"), std::string::npos) << error;
}

}  // namespace
