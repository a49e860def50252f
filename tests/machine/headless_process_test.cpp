// vorn-headless run as a process in a working directory with data/.
#include <png.h>
#include <sndfile.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/machine/machine_fixture.h"

namespace {

class HeadlessRun : public ::testing::Test {
 protected:
  // Runs vorn-headless with `args` in the scratch directory; returns its
  // exit status and keeps its standard error.
  int run(const std::string& args) {
    const std::string command =
        std::string("'") + VORN_HEADLESS_PATH + "' " + args + " >out.txt 2>err.txt";
    const int status = std::system(command.c_str());
    std::ifstream in("err.txt");
    std::stringstream text;
    text << in.rdbuf();
    errors = text.str();
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  ScratchDir scratch;
  std::string errors;
};

std::vector<uint8_t> png_rgba(const std::string& path, uint32_t& width, uint32_t& height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr)) return {};
  width = image.width;
  height = image.height;
  return pixels;
}

std::vector<uint8_t> wav_samples(const std::string& path, SF_INFO& info) {
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (!file) return {};
  std::vector<uint8_t> samples(static_cast<size_t>(info.frames));
  sf_read_raw(file, samples.data(), info.frames);
  sf_close(file);
  return samples;
}

TEST_F(HeadlessRun, KeyPressReachesTheProgramWithTheHoldRule) {
  write_bytes("data/vorn.bin", program("keys"));
  ASSERT_EQ(run("--frames 4 --press 1:A --dump 2:two.bin --dump 3:three.bin --png 3:three.png "
                "--wav run.wav"),
            0)
      << errors;
  // Down after frame 1, read in frame 2; then the hold rule lifts it.
  EXPECT_EQ(read_bytes("two.bin").at(0x8105), 0x1E);
  EXPECT_EQ(read_bytes("three.bin").at(0x8105), 0x1F);
  EXPECT_EQ(read_bytes("three.bin").size(), kMemorySize);

  uint32_t width = 0, height = 0;
  const auto pixels = png_rgba("three.png", width, height);
  ASSERT_EQ(width, 256u);
  ASSERT_EQ(height, 256u);
  const auto rgba = [&](int x, int y) {
    const uint8_t* p = &pixels[(y * 256 + x) * 4];
    return std::vector<uint8_t>(p, p + 4);
  };
  // Row 5's byte is display byte 5: pixels 40 to 47 of the top line.
  EXPECT_EQ(rgba(47, 0), (std::vector<uint8_t>{0, 0, 0, 255})) << "written in frame 2";
  EXPECT_EQ(rgba(46, 0), (std::vector<uint8_t>{255, 255, 255, 255}));

  SF_INFO info{};
  const auto samples = wav_samples("run.wav", info);
  EXPECT_EQ(info.samplerate, 44'100);
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_U8);
  ASSERT_EQ(samples.size(), 4 * kSamplesPerFrame);
  EXPECT_TRUE(std::all_of(samples.begin(), samples.end(), [](uint8_t s) { return s == 127; }));
}

TEST_F(HeadlessRun, RecordingAndSoundFollowEmulatedTime) {
  write_bytes("data/vorn.bin", program("toggler"));
  ASSERT_EQ(run("--frames 6 --tape-record 2 --tape-stop 6 --wav run.wav"), 0) << errors;
  // Recorded through frames 2 to 5: four frames of samples.
  const auto size = std::filesystem::file_size("data/default.raw");
  EXPECT_GE(size, 4 * kSamplesPerFrame);
  EXPECT_LE(size, 4 * kSamplesPerFrame + 2);
  SF_INFO info{};
  const auto samples = wav_samples("run.wav", info);
  ASSERT_EQ(samples.size(), 6 * kSamplesPerFrame);
  EXPECT_EQ(samples[0], 0) << "the toggler's first write lands in sample 0";
  EXPECT_EQ(samples[4], 255);
  EXPECT_EQ(samples[1], 127);
}

TEST_F(HeadlessRun, SnapshotSavedAtOneFrameLoadsAtAnother) {
  write_bytes("data/vorn.bin", program("frame_counter"));
  ASSERT_EQ(run("--frames 9 --save-state 4 --load-state 8 --dump 9:end.bin"), 0) << errors;
  const auto memory = read_bytes("end.bin");
  // Saved before frame 4 with 3 frames counted; frames 8 and 9 count on.
  EXPECT_EQ(memory.at(0x8000), 5);
  EXPECT_EQ(std::filesystem::file_size("data/vorn.state"), 49'221u);
}

TEST_F(HeadlessRun, MissingRomIsReportedOnOneLine) {
  EXPECT_EQ(run("--frames 3"), 1);
  EXPECT_NE(errors.find("data/vorn.bin"), std::string::npos) << errors;
  EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST_F(HeadlessRun, BadArgumentsExitWithAMessage) {
  write_bytes("data/vorn.bin", program("frame_counter"));
  EXPECT_EQ(run("--frames 3 --press 2:NOSUCHKEY"), 2);
  EXPECT_NE(errors.find("NOSUCHKEY"), std::string::npos) << errors;
  EXPECT_EQ(run("--frames 3 --reset 4"), 2);
  EXPECT_NE(run("--frames 3 --type 1:A --layout missing.txt"), 0);
  EXPECT_EQ(run("--help"), 0);
}

TEST_F(HeadlessRun, TypedTextUsesTheLayoutFile) {
  write_bytes("data/vorn.bin", program("keys"));
  std::ofstream layout("layout.txt");
  const char* rows[8][5] = {{"1", "3", "5", "7", "9"}, {"2", "4", "6", "8", "0"},
                            {"Q", "E", "T", "U", "O"}, {"W", "R", "Y", "I", "P"},
                            {"LCTRL", "S", "F", "H", "K"}, {"A", "D", "G", "J", "L"},
                            {"Z", "C", "B", "M", "RETURN"}, {"LSHIFT", "X", "V", "N", "SPACE"}};
  for (int r = 0; r < 8; ++r)
    for (int c = 0; c < 5; ++c) {
      const std::string host = rows[r][c];
      const std::string plain = host == "LCTRL" ? "CTRL" : host == "LSHIFT" ? "SHIFT" : host;
      layout << r << ' ' << c << ' ' << host << ' ' << plain << ' '
             << (host == "D" ? "!" : "NONE") << " NONE\n";
    }
  layout.close();
  // '!' is Shift+D: Shift (row 7) and D (row 5, column 1) down from frame 1.
  ASSERT_EQ(run("--frames 2 --layout layout.txt --type 1:! --dump 2:m.bin"), 0) << errors;
  const auto memory = read_bytes("m.bin");
  EXPECT_EQ(memory.at(0x8105), 0x1D);
  EXPECT_EQ(memory.at(0x8107), 0x1E);
  EXPECT_EQ(run("--frames 2 --layout layout.txt --type 1:@"), 2);
}

}  // namespace
