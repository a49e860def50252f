// vorn-headless: its option parser, the typing of text, and runs of the
// program itself in a working directory with data/.
#include <png.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdlib>
#include <tuple>

#include "tests/machine/machine_fixture.h"
#include "tools/headless/options.h"
#include "tools/headless/typing.h"

namespace {

using enum ActionKind;

TEST(HeadlessOptions, BadArgumentsAreRefusedWithTheCulpritNamed) {
  const struct { std::vector<std::string> args; const char* named; } cases[] = {
      {{}, "--frames N is required"}, {{"--press", "1:A"}, "--frames N is required"},
      {{"--frames", "0"}, "'0'"}, {{"--frames", "-3"}, "'-3'"}, {{"--frames"}, "missing its value"},
      {{"--frames", "99999999999999999999"}, "'99999999999999999999'"},
      {{"--frames", "5", "--press", "6:A"}, "--press: frame 6 is outside 1..5"},
      {{"--press", "0:A", "--frames", "5"}, "frame 0 is outside"},
      {{"--frames", "5", "--png", "9:x.png"}, "--png: frame 9"},
      {{"--frames", "5", "--reset", "6"}, "--reset: frame 6"},
      {{"--frames", "5", "--press", "1:SHIFT"}, "'SHIFT'"},
      {{"--frames", "5", "--jump", "1"}, "'--jump'"}, {{"--frames", "5", "stray"}, "'stray'"},
      {{"--frames", "5", "--press", "1"}, "F:KEY, got '1'"},
      {{"--frames", "5", "--press", "x:A"}, "'x:A'"}, {{"--frames", "5", "--press", "1:"}, "'1:'"},
      {{"--frames", "20", "--tap", "3:Q:0"}, "hold"},
      {{"--frames", "9", "--type", "1:A\\t"}, "backslash"},
      {{"--frames", "9", "--type", "1:A\\"}, "backslash"},
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
  const auto key = [](std::string host, uint8_t plain, uint8_t shift, uint8_t ctrl,
                       std::string modifier = {}) {
    return KeyLegend{0, 0, host, {plain, modifier}, {shift, ""}, {ctrl, ""}, !modifier.empty()};
  };
  const std::vector<KeyLegend> layout = {
      key("LSHIFT", 0, 0, 0, "SHIFT"), key("LCTRL", 0, 0, 0, "CTRL"), key("A", 'A', '1', 0),
      key("1", '1', '!', 0), key("RETURN", 0x0D, 0, 0), key("C", 'C', 0, 0x03)};
  std::vector<Action> actions = {{5, Type, -1, "A!\n1\x03", 0}};
  std::string error;
  ASSERT_TRUE(expand_typing(layout, actions, error)) << error;
  std::vector<std::tuple<uint32_t, ActionKind, int>> seen;
  for (const Action& a : actions) seen.emplace_back(a.frame, a.kind, a.scancode);
  EXPECT_EQ(seen, (decltype(seen){
                      {5, KeyDown, SCANCODE_A}, {7, KeyUp, SCANCODE_A},
                      {9, KeyDown, SCANCODE_LSHIFT}, {9, KeyDown, SCANCODE_1},
                      {11, KeyUp, SCANCODE_1}, {11, KeyUp, SCANCODE_LSHIFT},
                      {13, KeyDown, SCANCODE_RETURN}, {15, KeyUp, SCANCODE_RETURN},
                      {17, KeyDown, SCANCODE_1}, {19, KeyUp, SCANCODE_1},  // plain 1, not Shift+A
                      {21, KeyDown, SCANCODE_LCTRL}, {21, KeyDown, SCANCODE_C},
                      {23, KeyUp, SCANCODE_C}, {23, KeyUp, SCANCODE_LCTRL}}));
}

class HeadlessRun : public ::testing::Test {
 protected:
  // Runs vorn-headless in the scratch directory; keeps its standard error.
  int run(const std::string& args) {
    const std::string command = "'" VORN_HEADLESS_PATH "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    const Bytes text = read_bytes("err.txt");
    errors.assign(text.begin(), text.end());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  Bytes wav_samples(const char* path, SF_INFO& info) {
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    Bytes samples(file ? info.frames : 0);
    if (file) sf_read_raw(file, samples.data(), info.frames), sf_close(file);
    return samples;
  }

  ScratchDir scratch;
  std::string errors;
};

TEST_F(HeadlessRun, ActionsComeBeforeTheirFrameAndDumpPngAndWavShowTheRun) {
  write_bytes("data/vorn.bin", program("keys"));
  ASSERT_EQ(run("--frames 4 --press 1:A --press 1:2 --type 1:! --layout " VORN_KEYBOARD_LAYOUT
                " --dump 2:two.bin --dump 3:three.bin --png 3:three.png --save-state 2"
                " --load-state 4 --dump 4:four.bin --wav run.wav"), 0) << errors;
  // A, 2, and Shift with 1 for '!' are down after frame 1, read in frame 2: by row, all rows
  // (column 0 down four times), no row.
  const Bytes two = read_bytes("two.bin"), three = read_bytes("three.bin");
  ASSERT_TRUE(two.size() == kMemorySize && three.size() == kMemorySize);
  EXPECT_EQ(Bytes(&two[0x8100], &two[0x810A]),
            (Bytes{0x1E, 0x1E, 0x1F, 0x1F, 0x1F, 0x1E, 0x1F, 0x1E, 0x1F, 0xFF}));
  EXPECT_EQ(three[0x8105], 0x1F) << "the hold rule lifts A";
  EXPECT_EQ(read_bytes("four.bin").at(0x8000), 2) << "saved after 1 frame, loaded before frame 4";
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, "three.png"));
  image.format = PNG_FORMAT_RGBA;
  Bytes pixels(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
  ASSERT_TRUE(image.width == 256 && image.height == 256);
  // Display byte 5 (pixels 40 to 47 of the top line), set in frame 2 and cleared in frame 3.
  EXPECT_EQ(Bytes(&pixels[46 * 4], &pixels[48 * 4]), (Bytes{255, 255, 255, 255, 0, 0, 0, 255}));
  SF_INFO info{};
  EXPECT_EQ(wav_samples("run.wav", info), Bytes(4 * kSamplesPerFrame, 127));
  EXPECT_TRUE(info.samplerate == 44'100 && info.channels == 1 &&
              info.format == (SF_FORMAT_WAV | SF_FORMAT_PCM_U8));
}

TEST_F(HeadlessRun, RecordingAndSoundFollowEmulatedTime) {
  write_bytes("data/vorn.bin", program("toggler"));
  ASSERT_EQ(run("--frames 6 --tape-record 2 --tape-stop 6 --wav run.wav"), 0) << errors;
  const auto size = fs::file_size("data/default.raw");  // frames 2 to 5
  EXPECT_TRUE(size >= 4 * kSamplesPerFrame && size <= 4 * kSamplesPerFrame + 2) << size;
  SF_INFO info{};
  const Bytes samples = wav_samples("run.wav", info);
  ASSERT_EQ(samples.size(), 6 * kSamplesPerFrame);
  // The first write, low, comes 19 T-states in (sample 0); the next 251 later (sample 4).
  EXPECT_TRUE(samples[0] == 0 && samples[1] == 127 && samples[4] == 255);
  const auto sounding = samples.size() - std::count(samples.begin(), samples.end(), 127);
  EXPECT_NEAR(sounding, 6 * kFrameTStates / 251, 6) << "one sample per write";
}

TEST_F(HeadlessRun, FailuresExitNonZeroWithAOneLineMessage) {
  const struct { const char* args; int status; const char* named; } cases[] = {
      {"--frames 3", 1, "data/vorn.bin"},  // no data/vorn.bin yet
      {"--frames 3 --press 2:NOSUCHKEY", 2, "NOSUCHKEY"},
      {"--frames 3 --type '1:\xC3\xA9' --layout " VORN_KEYBOARD_LAYOUT, 2, "no key"}};
  for (const auto& c : cases) {
    EXPECT_EQ(run(c.args), c.status) << c.args;
    EXPECT_NE(errors.find(c.named), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    write_bytes("data/vorn.bin", program("keys"));
  }
  EXPECT_EQ(run("--help"), 0);
}

}  // namespace
