// vorn-headless: its option parser, the typing of text, and runs of the
// program itself in a working directory with data/.
#include <png.h>
#include <sys/wait.h>

#include <cstdlib>
#include <tuple>

#include "tests/machine/vorn_machine.h"
#include "tools/headless/options.h"

namespace {

using enum ActionKind;

TEST(HeadlessOptions, BadArgumentsAreRefusedWithTheCulpritNamed) {
  const struct { std::vector<std::string> args; const char* named; } cases[] = {
      {{}, "--frames N is required"}, {{"--press", "1:A"}, "--frames N is required"}, {{"--frames", "0"}, "'0'"},
      {{"--frames", "-3"}, "'-3'"}, {{"--frames"}, "missing its value"}, {{"--frames", "5", "stray"}, "'stray'"},
      {{"--frames", "99999999999999999999"}, "'99999999999999999999'"}, {{"--frames", "5", "--jump", "1"}, "'--jump'"},
      {{"--frames", "5", "--press", "6:A"}, "--press: frame 6 is outside 1..5"},
      {{"--press", "0:A", "--frames", "5"}, "frame 0 is outside"}, {{"--frames", "5", "--png", "9:x.png"}, "--png: frame 9"},
      {{"--frames", "5", "--reset", "6"}, "--reset: frame 6"}, {{"--frames", "5", "--press", "1:SHIFT"}, "'SHIFT'"},
      {{"--frames", "5", "--press", "1"}, "F:KEY, got '1'"}, {{"--frames", "5", "--press", "x:A"}, "'x:A'"},
      {{"--frames", "5", "--press", "1:"}, "'1:'"}, {{"--frames", "20", "--tap", "3:Q:0"}, "hold"},
      {{"--frames", "9", "--type", "1:A\\t"}, "backslash"}, {{"--frames", "9", "--type", "1:A\\"}, "backslash"},
      {{"--bogus", "--help"}, "'--bogus'"},  // --help does not hide an earlier error
      {{"--frames", "5", "--press", "1:A\nB"}, "'A?B'"}};  // the message stays one line
  for (const auto& c : cases) {
    RunOptions options;
    std::string error;
    EXPECT_FALSE(parse_options(c.args, options, error)) << c.named;
    EXPECT_NE(error.find(c.named), std::string::npos) << error;
  }
}

TEST(HeadlessOptions, ActionsGetTheirKeysAndFramesAndKeepCommandLineOrderInAFrame) {
  RunOptions options;
  std::string error;
  ASSERT_TRUE(parse_options({"--tape-play", "4", "--press", "1:A", "--release", "2:RSHIFT", "--tap",
                             "3:0", "--tap", "4:9:7", "--tape-load", "4:data/a.raw", "--type",
                             "4:A\\nB\\\\C:D", "--reset", "4", "--frames", "11"},
                            options, error)) << error;
  sort_actions(options.actions);
  std::vector<std::tuple<uint32_t, ActionKind, int, std::string>> seen;
  for (const Action& a : options.actions) seen.emplace_back(a.frame, a.kind, a.scancode, a.text);
  EXPECT_EQ(seen, (decltype(seen){{1, KeyDown, SCANCODE_A, ""}, {2, KeyUp, SCANCODE_RSHIFT, ""},
                                  {3, KeyDown, SCANCODE_0, ""}, {4, TapePlay, -1, ""},
                                  {4, KeyDown, SCANCODE_9, ""}, {4, TapeLoad, -1, "data/a.raw"},
                                  {4, Type, -1, "A\nB\\C:D"}, {4, Reset, -1, ""},
                                  {5, KeyUp, SCANCODE_0, ""}, {11, KeyUp, SCANCODE_9, ""}}));
  ASSERT_TRUE(parse_options({"--frames", "3", "--help", "--bogus"}, options, error));
  EXPECT_TRUE(options.help);
}

TEST(Typing, CharacterTakesTheFirstLayerThatGivesItHeldTwoFramesThenTwoFramesOfNothing) {
  const auto key = [](std::string host, uint8_t plain, uint8_t shift, uint8_t ctrl, std::string modifier = {}) {
    return KeyLegend{0, 0, host, {plain, modifier}, {shift, ""}, {ctrl, ""}, !modifier.empty()};
  };
  const std::vector<KeyLegend> layout = {key("LSHIFT", 0, 0, 0, "SHIFT"), key("LCTRL", 0, 0, 0, "CTRL"),
                                         key("A", 'A', '1', 0), key("1", '1', '!', 0),
                                         key("RETURN", 0x0D, 0, 0), key("C", 'C', 0, 0x03)};
  std::vector<Action> actions = {{5, Type, -1, "A!\n1\x03", 0}};
  std::string error;
  ASSERT_TRUE(expand_typing(layout, actions, error)) << error;
  std::vector<std::tuple<uint32_t, ActionKind, int>> seen;
  for (const Action& a : actions) seen.emplace_back(a.frame, a.kind, a.scancode);
  EXPECT_EQ(seen, (decltype(seen){{5, KeyDown, SCANCODE_A}, {7, KeyUp, SCANCODE_A}, {9, KeyDown, SCANCODE_LSHIFT},
                                  {9, KeyDown, SCANCODE_1}, {11, KeyUp, SCANCODE_1}, {11, KeyUp, SCANCODE_LSHIFT},
                                  {13, KeyDown, SCANCODE_RETURN}, {15, KeyUp, SCANCODE_RETURN},
                                  {17, KeyDown, SCANCODE_1}, {19, KeyUp, SCANCODE_1},  // plain 1, not Shift+A
                                  {21, KeyDown, SCANCODE_LCTRL}, {21, KeyDown, SCANCODE_C},
                                  {23, KeyUp, SCANCODE_C}, {23, KeyUp, SCANCODE_LCTRL}}));
}

using HeadlessRun = Vorn;

// Runs vorn-headless in the working directory: its exit status, and its
// standard error in `errors`.
int run_headless(const std::string& args, std::string& errors) {
  const int status = std::system(("'" VORN_HEADLESS "' " + args + " >out.txt 2>err.txt").c_str());
  const Bytes text = read_bytes("err.txt");
  errors.assign(text.begin(), text.end());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The system ROM scans the keys in each frame's interrupt and echoes them in
// the same frame; it keeps each row's down keys (bit = column, Shift and Ctrl
// taken out) at key_now and Shift at key_shift.
TEST_F(HeadlessRun, ActionsComeBeforeTheirFrameAndRecordingsDumpsPngAndWavShowTheRun) {
  write_bytes("data/vorn.bin", data_file("vorn.bin"));
  std::string errors;
  ASSERT_EQ(run_headless("--frames 64 --type '10:mon\\no 80 80\\n' --tape-record 12 --tape-stop 52 --press 60:A"
                         " --press 60:2 --type 60:! --layout " VORN_DATA "/keyboard.txt --dump 60:a.bin"
                         " --dump 61:b.bin --png 61:b.png --dump 62:c.bin --save-state 61 --load-state 64"
                         " --dump 64:d.bin --wav run.wav", errors), 0) << errors;
  const Bytes a = read_bytes("a.bin"), b = read_bytes("b.bin"), c = read_bytes("c.bin");
  ASSERT_TRUE(a.size() == kMemorySize && b.size() == kMemorySize && c.size() == kMemorySize);
  const uint16_t key_now = rom_symbol("key_now"), key_shift = rom_symbol("key_shift");
  EXPECT_TRUE(all_are(&a[key_now], &a[key_now + 8], 0)) << "read in frame 61, not before";
  // Row 0 '1' (with Shift for '!'), row 1 '2', row 5 'A', in column 0.
  EXPECT_EQ(Bytes(&b[key_now], &b[key_now + 8]), (Bytes{1, 1, 0, 0, 0, 1, 0, 0}));
  EXPECT_TRUE(b[key_shift] != 0 && c[key_shift] != 0) << "a modifier follows the host key";
  EXPECT_TRUE(all_are(&c[key_now], &c[key_now + 8], 0)) << "the hold rule lifts the keys";
  EXPECT_EQ(read_bytes("d.bin").at(0x4000), a[0x4000] + 1) << "saved after frame 60, loaded before 64";
  // The picture after frame 61 is the display frame 60 left, before the echo.
  ASSERT_FALSE(std::equal(a.begin() + kDisplayStart, a.end(), b.begin() + kDisplayStart));
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, "b.png"));
  image.format = PNG_FORMAT_RGBA;
  Bytes pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  ASSERT_TRUE(image.width == 256 && image.height == 256);
  for (uint32_t i = 0; i < 256 * 256; ++i) {
    const uint8_t level = a[kDisplayStart + i / 8] << i % 8 & 0x80 ? 0 : 255;
    ASSERT_EQ(Bytes(&pixels[i * 4], &pixels[i * 4 + 4]), (Bytes{level, level, level, 255})) << i;
  }
  // O 80 80 sets the speaker high once; the recording follows emulated time.
  const Bytes wav = read_bytes("run.wav");
  ASSERT_EQ(wav.size(), 44 + 64 * kSamplesPerFrame);
  EXPECT_EQ(Bytes(&wav[20], &wav[36]), (Bytes{1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x44, 0xAC, 0, 0, 1, 0, 8, 0}))
      << "PCM, mono, 44,100 Hz, 8-bit";
  EXPECT_EQ(std::count(wav.begin() + 44, wav.end(), 255), 1);
  EXPECT_EQ(std::count(wav.begin() + 44, wav.end(), 127), 64 * kSamplesPerFrame - 1);
  const auto size = fs::file_size("data/default.raw");  // frames 12 to 51
  EXPECT_TRUE(size >= 40 * kSamplesPerFrame && size <= 40 * kSamplesPerFrame + 2) << size;
}

TEST_F(HeadlessRun, FailuresExitNonZeroWithAOneLineMessage) {
  const struct { const char* args; int status; const char* named; } cases[] = {
      {"--frames 3", 1, "data/vorn.bin"},  // no data/vorn.bin yet
      {"--frames 3 --until x", 1, "data/vorn.sym"},  // no font for the screen's text
      {"--frames 3 --press 2:NOSUCHKEY", 2, "NOSUCHKEY"},
      {"--frames 3 --type '1:\xC3\xA9' --layout " VORN_DATA "/keyboard.txt", 2, "no key"}};
  std::string errors;
  for (const auto& c : cases) {
    EXPECT_EQ(run_headless(c.args, errors), c.status) << c.args;
    EXPECT_NE(errors.find(c.named), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    write_bytes("data/vorn.bin", data_file("vorn.bin"));
  }
  EXPECT_EQ(run_headless("--help", errors), 0);
}

TEST_F(HeadlessRun, UntilEndsTheRunAfterTheFrameThatShowsItsTextOrExitsWith3) {
  write_bytes("data/vorn.bin", data_file("vorn.bin"));
  write_bytes("data/vorn.sym", data_file("vorn.sym"));
  std::string errors;
  ASSERT_EQ(run_headless("--frames 200 --type '10:mon\\nhelp\\n' --layout " VORN_DATA "/keyboard.txt --until 'L clear'"
                         " --dump 200:late.bin", errors), 0) << errors;
  const Bytes out = read_bytes("out.txt");
  unsigned frame = 0;
  EXPECT_EQ(std::sscanf(std::string(out.begin(), out.end()).c_str(), "frame %u shows 'L clear'", &frame), 1);
  EXPECT_TRUE(frame > 10 && frame < 200 && !fs::exists("late.bin")) << frame;
  EXPECT_EQ(run_headless("--frames 30 --until 'L clear'", errors), 3);
  EXPECT_NE(errors.find("'L clear' did not show in 30 frames"), std::string::npos) << errors;
}

}  // namespace
