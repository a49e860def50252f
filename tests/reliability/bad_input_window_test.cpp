// The window program on bad data files: font, key picture and configuration
// missing, empty, truncated or oversized; tapes named in the configuration
// that do not exist or are folders; a data/ folder it cannot write. It must
// start, behave as it does without the file (invisible text, no key picture,
// a silent tape, only the tapes it could read), never crash, and a snapshot
// or recording it cannot write must leave the old file and the running
// machine as they were. Each run of the program takes several bad inputs.
//
// The test ROM shows the tape input in the top 64 display lines (black while
// high) and a frame counter in the bottom 32 lines that a reset starts again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>

#include "tests/host/window_session.h"

namespace {

namespace fs = std::filesystem;
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};
constexpr Rgb kPlayingBar{0, 0, 128}, kRecordingBar{128, 0, 0};

// Display pixel (x, y): the display is drawn at (20, 15) scaled to 600 x 450.
Rgb display_pixel(const Screenshot& shot, int x, int y) {
  return shot.canvas(20 + x * 600 / 256, 15 + y * 450 / 256);
}

// The counter readout: eight blocks of 32 pixels, most significant first;
// -1 when a block is neither black nor white.
int frame_counter(const Screenshot& shot) {
  int value = 0;
  for (int bit = 0; bit < 8; ++bit) {
    const Rgb colour = display_pixel(shot, 32 * bit + 16, 240);
    if (colour != kBlack && colour != kWhite) return -1;
    value = value << 1 | (colour == kBlack ? 1 : 0);
  }
  return value;
}

bool tape_input_high(const Screenshot& shot) { return display_pixel(shot, 128, 32) == kBlack; }

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Holds `key` long enough to be seen by a frame loop slowed by a busy host.
void press(const std::string& key) { shell("xdotool keydown " + key + " sleep 0.3 keyup " + key); }
void alt_command(const std::string& key) {
  shell("xdotool keydown alt sleep 0.3 keydown " + key + " sleep 0.3 keyup " + key + " sleep 0.2 keyup alt");
}

enum class Damage { Empty, Truncated, Oversized };

class BadInputWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session.start_server()) GTEST_SKIP() << "Xvfb cannot start here, so there is no window to test";
    ASSERT_TRUE(session.start_window_manager()) << "openbox did not start";
    folder.copy_in(TEST_ROM, "vorn.bin");
    setenv("VORN_BINARY", VORN_BINARY, 1);
    unsetenv("VORN_RUN_AS_UID");
  }

  void TearDown() override {
    std::error_code ignored;  // writable again, so that the folder can go
    fs::permissions(folder.path() + "/data", fs::perms::owner_all, fs::perm_options::add, ignored);
    if (HasFailure()) std::cout << "program output:\n" << read_file(folder.path() + "/output.txt");
  }

  // Copies of the good font and key picture, damaged.
  void put_bitmaps(Damage damage) {
    for (const std::string name : {"font.bmp", "keys.bmp"}) {
      const std::string good = read_file(std::string(VORN_DATA_DIR "/") + name);
      folder.write(name, damage == Damage::Empty       ? ""
                         : damage == Damage::Truncated ? good.substr(0, good.size() / 2)
                                                       : good + std::string(4 << 20, '\xA5'));
    }
  }

  // Starts the program and waits until the ROM counts frames (the display is
  // all black, the top included, until the first frame is converted).
  void start() {
    program.emplace(folder);
    ASSERT_TRUE(program->wait_for_window()) << "no window";
    ASSERT_TRUE(eventually(10, [&] {
      const Screenshot shot = session.screenshot();
      return !tape_input_high(shot) && frame_counter(shot) >= 1;
    })) << "the machine does not run";
  }

  // Whether the help box shown while Alt is held has any text in it.
  bool help_text_visible() {
    shell("xdotool keydown alt");
    EXPECT_TRUE(eventually(5, [&] { return session.screenshot().canvas(222, 187) == kRed; })) << "no help box";
    const bool text = session.screenshot().any(224, 189, 19 * 9, 6 * 17, kBlack);
    shell("xdotool keyup alt");
    return text;
  }

  // Whether Alt+H shows a key picture over the top of the display (the
  // picture is dark; the display there is white while the tape is silent).
  bool key_picture_shown() {
    alt_command("h");
    const bool shown = eventually(3, [&] { return session.screenshot().canvas(30, 100) != kWhite; });
    alt_command("h");
    EXPECT_TRUE(eventually(3, [&] { return session.screenshot().canvas(30, 100) == kWhite; }));
    return shown;
  }

  // Opens the tape menu and picks `entry` (its exit entry when 0); returns
  // its number of entries, told by where its box's top edge lies, or 0 when
  // no menu shows.
  int use_tape_menu(int entry = 0) {
    const auto edge = [](const Screenshot& shot, int n) { return shot.canvas(440, (438 - 17 * n) / 2 + 2); };
    alt_command("l");
    int entries = 0;
    eventually(5, [&] {
      const Screenshot shot = session.screenshot();
      for (int n = 1; n <= 5; ++n)
        if (edge(shot, n) == kRed) entries = n;
      return entries > 0;
    });
    if (entries == 0) return 0;
    press(std::to_string(entry > 0 ? entry : entries + 1));
    EXPECT_TRUE(eventually(5, [&] { return edge(session.screenshot(), entries) != kRed; }))
        << "the tape menu stays open";
    return entries;
  }

  void quit_with_escape() {
    press("Escape");
    EXPECT_EQ(program->wait_exit(10), 0) << "did not end cleanly";
  }

  WindowSession session;
  WorkFolder folder;
  std::optional<Program> program;
};

TEST_F(BadInputWindowTest, EmptyFilesGiveInvisibleTextNoPictureOneTape) {
  put_bitmaps(Damage::Empty);
  folder.write("vorn.cfg", "");
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_FALSE(help_text_visible());
  EXPECT_FALSE(key_picture_shown());
  EXPECT_EQ(use_tape_menu(), 1);
  quit_with_escape();
}

TEST_F(BadInputWindowTest, OversizedFilesAreReadForWhatTheyHold) {
  put_bitmaps(Damage::Oversized);
  // Two entries around a line of 300,000 characters (what lines may hold is fuzzed).
  folder.write("vorn.cfg", "casette first.raw\n" + std::string(300'000, 'y') + "\ncasette second.raw");
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_TRUE(help_text_visible());
  EXPECT_TRUE(key_picture_shown());
  EXPECT_EQ(use_tape_menu(), 3);
  quit_with_escape();
}

TEST_F(BadInputWindowTest, TruncatedFilesAreSurvivedAndMissingOrFolderTapesPlaySilence) {
  put_bitmaps(Damage::Truncated);
  // Cut in the middle of its last line, which still names a tape.
  folder.write("vorn.cfg", "casette loud.raw\ncasette missing.raw\ncasette folder\ncasette tw");
  folder.write("loud.raw", std::string(20 * 44'100, '\xFF'));
  fs::create_directory(folder.data("folder"));
  ASSERT_NO_FATAL_FAILURE(start());
  help_text_visible();
  key_picture_shown();
  const auto plays = [&](int entry, bool high) {
    EXPECT_EQ(use_tape_menu(entry), 5);
    return eventually(5, [&] {
      const Screenshot shot = session.screenshot();
      return shot.canvas(300, 3) == kPlayingBar && tape_input_high(shot) == high;
    });
  };
  EXPECT_TRUE(plays(2, true)) << "the good tape does not play";
  EXPECT_TRUE(plays(3, false)) << "a missing tape does not play silence";
  EXPECT_TRUE(plays(2, true)) << "the good tape does not play again";
  EXPECT_TRUE(plays(4, false)) << "a folder named as a tape does not play silence";
  quit_with_escape();
}

TEST_F(BadInputWindowTest, MissingFilesAndReadOnlyDataKeepOldFilesAndTheRunningMachine) {
  const std::string old_snapshot(1000, '\x5A'), old_recording(5000, '\xA5');
  folder.write("vorn.state", old_snapshot);
  folder.write("default.raw", old_recording);
  // data/ loses its write permission; the program writes its sound file
  // beside it. Root ignores permission bits, so a root test runs the program
  // as an unprivileged user (start_vorn.sh).
  fs::permissions(folder.path(), fs::perms::all);
  fs::permissions(folder.path() + "/data", fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  std::string as_program_user;
  if (geteuid() == 0) {
    setenv("VORN_RUN_AS_UID", "65534", 1);
    as_program_user = "setpriv --reuid=65534 --regid=65534 --clear-groups ";
  }
  ASSERT_FALSE(shell(as_program_user + "touch " + folder.data("probe")))
      << "the program's user can write data/, so nothing would be tested";
  ASSERT_NO_FATAL_FAILURE(start());
  EXPECT_FALSE(help_text_visible()) << "text shows without a font";
  EXPECT_FALSE(key_picture_shown()) << "a key picture shows without its file";
  EXPECT_EQ(use_tape_menu(), 1) << "tapes listed without a configuration";
  // A counter of 20 is 6.4 s of frames: more than the saves below take, so a
  // reset among them would leave it lower than it was.
  ASSERT_TRUE(eventually(15, [&] { return frame_counter(session.screenshot()) >= 20; }));
  const int before = frame_counter(session.screenshot());
  alt_command("2");  // save the snapshot
  alt_command("s");  // record ...
  ASSERT_TRUE(eventually(5, [&] { return session.screenshot().canvas(197, 212) == kRed; })) << "no record prompt";
  press("1");
  EXPECT_TRUE(eventually(5, [&] { return session.screenshot().canvas(300, 3) == kRecordingBar; })) << "not recording";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  alt_command("x");  // ... and stop
  EXPECT_TRUE(eventually(5, [&] { return session.screenshot().canvas(300, 3) != kRecordingBar; }))
      << "the recording does not stop";
  const int after = frame_counter(session.screenshot());
  EXPECT_GE(after, before) << "the machine was reset: its counter went from " << before << " to " << after;
  EXPECT_TRUE(eventually(5, [&] { return frame_counter(session.screenshot()) > after; })) << "the machine stopped";
  quit_with_escape();
  EXPECT_EQ(read_file(folder.data("vorn.state")), old_snapshot);
  EXPECT_EQ(read_file(folder.data("default.raw")), old_recording);
  for (const auto& entry : fs::directory_iterator(folder.path() + "/data"))
    EXPECT_FALSE(entry.path().filename().string().ends_with(".tmp")) << entry.path();
}

}  // namespace
