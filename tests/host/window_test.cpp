// The real program in a real window: start-up and exit statuses, the help
// box, the tape menu, a key reaching the emulated machine, the speaker's
// samples reaching the sound device, and a recording kept at exit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <thread>

#include "machine/machine.h"
#include "tests/host/window_session.h"

namespace {

using namespace std::chrono_literals;

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};

// Canvas position of the middle of the block that the key display ROM draws
// for the key in matrix row `row`, column `column`.
std::pair<int, int> key_block(int row, int column) {
  const int x = 40 * column + 16, y = 32 * row + 16;
  return {20 + x * 600 / 256, 15 + y * 450 / 256};
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session.start_server()) {
      GTEST_SKIP() << "Xvfb cannot start here, so the program cannot be tested in a window";
    }
    ASSERT_TRUE(session.start_window_manager()) << "openbox did not start";
    folder.copy_in(VORN_DATA_DIR "/font.bmp", "font.bmp");
    folder.copy_in(VORN_DATA_DIR "/keys.bmp", "keys.bmp");
  }

  // Starts the program on a test ROM and waits until its display shows.
  void start(const std::string& rom) {
    folder.copy_in(std::string(TEST_ROM_DIR "/") + rom, "vorn.bin");
    program.emplace(folder);
    ASSERT_TRUE(program->wait_for_window()) << "no window";
    if (rom == "key_display.bin") {
      ASSERT_TRUE(canvas_shows(key_block(0, 0), kBlack)) << "the key display ROM did not draw";
    }
  }

  bool canvas_shows(std::pair<int, int> at, Rgb colour, double seconds = 5) {
    return eventually(seconds, [&] { return session.screenshot().canvas(at.first, at.second) == colour; });
  }

  // Presses Alt+`key` until the canvas shows `colour` at `at`: a program
  // starved of processor time may miss a stroke.
  bool after_alt(const std::string& key, std::pair<int, int> at, Rgb colour) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      shell("xdotool keydown alt sleep 0.25 keydown " + key + " sleep 0.25 keyup " + key +
            " sleep 0.25 keyup alt");
      if (canvas_shows(at, colour, 2)) return true;
    }
    return false;
  }

  // Escape is held until the program has ended: a short press may fall
  // between two frames of a program starved of processor time.
  void quit_with_escape() {
    shell("xdotool keydown Escape");
    EXPECT_EQ(program->wait_exit(10), 0);
    shell("xdotool keyup Escape");
  }

  WindowSession session;
  WorkFolder folder;
  std::optional<Program> program;
};

TEST_F(HostWindowTest, MissingRomEndsStartUpWithStatus1AndNoMessage) {
  program.emplace(folder);
  EXPECT_EQ(program->wait_exit(10), 1);
  // The sound driver used for tests announces itself; nothing else may be printed.
  std::istringstream output(read_file(folder.path() + "/output.txt"));
  for (std::string line; std::getline(output, line);) {
    const bool driver_notice = line.starts_with("CRITICAL: You are using the SDL disk i/o") ||
                               line.starts_with("CRITICAL:  Writing to file [");
    EXPECT_TRUE(driver_notice) << "printed: " << line;
  }
}

TEST_F(HostWindowTest, EscapeEndsTheProgramWithStatus0) {
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  quit_with_escape();
}

TEST_F(HostWindowTest, TerminationSignalEndsTheProgramWithStatus0) {
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  program->terminate();
  EXPECT_EQ(program->wait_exit(10), 0);
}

TEST_F(HostWindowTest, HelpBoxShowsOnlyWhileAltIsHeld) {
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  shell("xdotool keydown alt");
  const bool shown = eventually(5, [&] {
    const Screenshot shot = session.screenshot();
    return shot.canvas(222, 187) == kRed && shot.canvas(417, 292) == kRed;
  });
  const Screenshot shot = session.screenshot();
  shell("xdotool keyup alt");
  ASSERT_TRUE(shown) << "no help box while Alt is held";
  EXPECT_EQ(shot.canvas(220, 185), kWhite);
  EXPECT_EQ(shot.canvas(419, 294), kWhite);
  EXPECT_EQ(shot.canvas(219, 185), kBlack);
  EXPECT_EQ(shot.canvas(420, 294), kBlack);
  EXPECT_TRUE(shot.any(224, 189, 19 * 9, 17, kBlack)) << "no text in the help box";
  EXPECT_TRUE(canvas_shows({222, 187}, kBlack)) << "the help box stays after Alt is released";
  quit_with_escape();
}

TEST_F(HostWindowTest, TapeMenuOfTwoEntriesSitsInTheMiddleAndPlaysTheChosenTape) {
  folder.write("vorn.cfg", "casette b.raw\n");
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  // Two entries: the box is 250 x 76 at (195, 202), its outline 2 pixels inside.
  ASSERT_TRUE(after_alt("l", {197, 204}, kRed)) << "no tape menu";
  const Screenshot shot = session.screenshot();
  EXPECT_EQ(shot.canvas(195, 202), kWhite);
  EXPECT_EQ(shot.canvas(444, 277), kWhite);
  EXPECT_EQ(shot.canvas(194, 240), kBlack);
  EXPECT_EQ(shot.canvas(300, 201), kBlack);
  EXPECT_EQ(shot.canvas(445, 240), kBlack);
  EXPECT_EQ(shot.canvas(300, 278), kBlack);
  EXPECT_EQ(shot.canvas(442, 275), kRed);
  EXPECT_TRUE(shot.any(199, 206, 6 * 9, 17, kBlack)) << "no \"Tapes:\" line";
  session.tap("2");
  // Playing: the tape bar runs dark blue across the top.
  EXPECT_TRUE(canvas_shows({300, 3}, Rgb{0, 0, 128})) << "the chosen tape does not play";
  EXPECT_EQ(session.screenshot().canvas(197, 204), kBlack) << "the menu stays open";
  quit_with_escape();
}

TEST_F(HostWindowTest, HostKeyPressReachesTheEmulatedKeyboard) {
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  shell("xdotool keydown a");
  // The key is down in its first frame, then released for 25 frames by the
  // hold rule, then down for as long as it is held.
  const bool seen = canvas_shows(key_block(5, 0), kWhite);
  const Screenshot shot = session.screenshot();
  shell("xdotool keyup a");
  ASSERT_TRUE(seen) << "key A never reached row 5, column 0";
  EXPECT_EQ(shot.canvas(key_block(5, 1).first, key_block(5, 1).second), kBlack);
  EXPECT_EQ(shot.canvas(key_block(0, 0).first, key_block(0, 0).second), kBlack);
  EXPECT_TRUE(canvas_shows(key_block(5, 0), kBlack)) << "key A stays down after its release";
  quit_with_escape();
}

// What the machine's speaker gives, frame by frame from reset, for the ROM
// in `folder`: the samples of every frame that made sound, in order.
std::string speaker_samples(const WorkFolder& folder, int frames) {
  const auto here = std::filesystem::current_path();
  std::filesystem::current_path(folder.path());
  std::string samples;
  if (machine_init() == 0) {
    for (int i = 0; i < frames; ++i) {
      machine_frame();
      if (machine.sound_active) samples.append(reinterpret_cast<char*>(machine.speaker), kSamplesPerFrame);
    }
  }
  machine_free();
  std::filesystem::current_path(here);
  return samples;
}

// The sound device plays silence (0x80) while nothing is queued; the
// speaker never gives that level, so dropping it leaves what was queued.
std::string heard(const WorkFolder& folder) {
  std::string samples = read_file(folder.path() + "/audio.raw");
  std::erase(samples, '\x80');
  return samples;
}

TEST_F(HostWindowTest, SpeakerSamplesReachTheSoundDeviceInOrder) {
  folder.copy_in(TEST_ROM_DIR "/beep.bin", "vorn.bin");
  const std::string expected = speaker_samples(folder, 100);
  ASSERT_EQ(expected.size(), 40u * kSamplesPerFrame) << "the ROM beeps for 40 frames";
  std::filesystem::remove(folder.data("vorn.bin"));
  ASSERT_NO_FATAL_FAILURE(start("beep.bin"));
  // The beep is over once nothing more is heard for a second. The queue
  // still held at the first silent frame is dropped, so the tail may be
  // missing, the more so the later the sound device plays.
  size_t heard_before = 0;
  EXPECT_TRUE(eventually(20, [&] {
    const size_t now = heard(folder).size();
    const bool quiet = now > 0 && now == heard_before;
    heard_before = now;
    if (!quiet) std::this_thread::sleep_for(1s);
    return quiet;
  }));
  quit_with_escape();
  const std::string samples = heard(folder);
  EXPECT_GE(samples.size(), 10u * kSamplesPerFrame) << "too little was heard to compare";
  ASSERT_LE(samples.size(), expected.size()) << "silent frames were queued";
  EXPECT_TRUE(expected.starts_with(samples)) << "the samples heard differ from the speaker's";
}

TEST_F(HostWindowTest, RecordingInProgressAtEscapeIsWritten) {
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  ASSERT_TRUE(after_alt("s", {197, 212}, kRed)) << "no record prompt";
  session.tap("1");
  // Recording: the tape bar runs dark red across the top.
  ASSERT_TRUE(canvas_shows({300, 3}, Rgb{128, 0, 0})) << "not recording";
  quit_with_escape();
  EXPECT_GT(std::filesystem::file_size(folder.data("default.raw")), 0u);
}

}  // namespace
