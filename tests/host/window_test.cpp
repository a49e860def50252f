// The real program in the X display that in_x_display.sh provides: keys
// pressed with xdotool, the screen read with import. The canvas of 640 x 480
// fills the 1280 x 1024 screen at twice its size below a 32-pixel bar; the
// test ROM (test_rom.asm) shows the keys, the tape input and a frame counter.
//
// Program runs are slow, so each takes several checks, on good and bad data
// files: font and key picture missing, empty, truncated or oversized, the
// configuration missing, truncated or oversized (an empty one is read in the
// logic test), tapes that do not exist or are folders, a data/ folder it
// cannot write. The program must behave as it does without the damaged file, print
// nothing and never crash; a snapshot or recording it cannot write must leave
// the old file and the running machine as they were.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <thread>

#include "machine/machine.h"

namespace {

namespace fs = std::filesystem;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};
constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};
constexpr Rgb kPlayingBar{0, 0, 128}, kRecordingBar{128, 0, 0};

bool eventually(double seconds, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool shell(const std::string& command) { return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0; }

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn_window_test_XXXXXX";
    folder_ = mkdtemp(pattern);
    fs::create_directory(data());
    fs::copy_file(TEST_ROM, data() / "vorn.bin");
  }

  void TearDown() override {
    if (program_ > 0 && kill(program_, SIGKILL) == 0) waitpid(program_, nullptr, 0);
    fs::permissions(data(), fs::perms::owner_all, fs::perm_options::add);  // so that it can go
    // The sound driver used for tests announces itself; nothing else may be printed.
    std::ifstream output(folder_ / "output.txt");
    for (std::string line; std::getline(output, line);)
      EXPECT_TRUE(line.starts_with("CRITICAL: You are using the SDL disk i/o") ||
                  line.starts_with("CRITICAL:  Writing to file ["))
          << "printed: " << line;
    fs::remove_all(folder_);
  }

  fs::path data() const { return folder_ / "data"; }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(data() / name, std::ios::binary) << text;
  }
  // Copies of the good font and key picture, changed by `damage`.
  void put_bitmaps(const std::function<std::string(const std::string&)>& damage) const {
    for (const std::string name : {"font.bmp", "keys.bmp"})
      write(name, damage(read_file(fs::path(VORN_DATA_DIR) / name)));
  }

  // Starts the program in the work folder with its command line after
  // `prefix` and sound going to "audio.raw"; waits until its window has the
  // keyboard focus and the ROM counts frames.
  void start(const std::string& prefix = "") {
    setenv("SDL_VIDEODRIVER", "x11", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", (folder_ / "audio.raw").c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "6", 1);
    setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the X libraries keep memory to the end
    program_ = fork();
    if (program_ == 0) {
      const int out = open((folder_ / "output.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      if (chdir(folder_.c_str()) != 0 || out < 0) _exit(127);
      dup2(out, 1);
      dup2(out, 2);
      execl("/bin/sh", "sh", "-c", ("exec " + prefix + VORN_PROGRAM).c_str(), nullptr);
      _exit(127);
    }
    if (!fs::exists(data() / "vorn.bin")) return;
    // A search fails outright when a window it looks at vanishes meanwhile, as
    // the windows SDL creates while it starts up may; it is repeated.
    ASSERT_TRUE(eventually(20, [] {
      return shell("w=$(xdotool search --onlyvisible --class '^vorn$' | head -1) && "
                   "[ -n \"$w\" ] && [ \"$(xdotool getwindowfocus)\" = \"$w\" ]");
    })) << "no window with the keyboard focus";
    // The display is black until the first frame is converted.
    ASSERT_TRUE(shows([&] { return bit(0, 6) == kWhite && counter() >= 1; }, 20)) << "the machine does not run";
  }

  // The exit status, or -1 when the program did not end within 20 s.
  int wait_exit() {
    int status = 0;
    if (!eventually(20, [&] { return waitpid(program_, &status, WNOHANG) == program_; })) return -1;
    program_ = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }

  // Escape is held until the end: a short press may fall between two frames.
  void quit_with_escape() {
    shell("xdotool keydown Escape");
    EXPECT_EQ(wait_exit(), 0) << "Escape";
    shell("xdotool keyup Escape");
  }

  // Takes screenshots into `shot_` until `what` holds of one.
  bool shows(const std::function<bool()>& what, double seconds = 10) {
    return eventually(seconds, [&] {
      shot_.assign(1280 * 1024 * 3, 0);
      std::FILE* pipe = popen("import -window root -depth 8 rgb:- 2>/dev/null", "r");
      const bool read = std::fread(shot_.data(), 1, shot_.size(), pipe) == shot_.size();
      return pclose(pipe) == 0 && read && what();
    });
  }
  // Canvas pixel (x, y) of the last screenshot.
  Rgb at(int x, int y) const {
    const uint8_t* p = &shot_[(static_cast<size_t>(2 * y + 32) * 1280 + 2 * x) * 3];
    return {p[0], p[1], p[2]};
  }
  bool any(int x, int y, int w, int h, Rgb colour) const {
    for (int row = y; row < y + h; ++row)
      for (int column = x; column < x + w; ++column)
        if (at(column, row) == colour) return true;
    return false;
  }
  // Bit `b` of what the ROM shows in display lines 8 x `band` to 8 x `band`
  // + 7 (band 8: the frame counter), read halfway across the display, which
  // is drawn at (20, 15) at 600 x 450.
  Rgb bit(int band, int b) const { return at(20 + (271 - 2 * b) * 300 / 256, 15 + (16 * band + 8) * 225 / 256); }
  int counter() const {
    int value = 0;
    for (int b = 7; b >= 0; --b)
      value = value << 1 | (bit(8, b) == kBlack ? 1 : 0);
    return value;
  }

  // Holds `key` down (after Alt, when `with_alt`) until the screen shows
  // `what`, then releases it; a program starved by a busy host may miss a
  // stroke, which is then tried again, up to `tries` times.
  bool hold_until(const std::string& key, const std::function<bool()>& what, bool with_alt = false, int tries = 3) {
    bool seen = false;
    for (int attempt = 0; attempt < tries && !seen; ++attempt) {
      shell(with_alt ? "xdotool keydown alt sleep 0.25 keydown " + key : "xdotool keydown " + key);
      seen = shows(what, 4);
      shell(with_alt ? "xdotool keyup " + key + " sleep 0.25 keyup alt" : "xdotool keyup " + key);
    }
    return seen;
  }
  // The same for a key that acts on its release: a whole stroke each time.
  bool press_until(const std::string& key, const std::function<bool()>& what) {
    bool seen = false;
    for (int attempt = 0; attempt < 3 && !seen; ++attempt) {
      shell("xdotool keydown " + key + " sleep 0.3 keyup " + key);
      seen = shows(what, 4);
    }
    return seen;
  }

  // Whether the help box shown while Alt is held has any text in it.
  bool help_text_visible() {
    EXPECT_TRUE(hold_until("alt", [&] { return at(222, 187) == kRed; })) << "no help box while Alt is held";
    return any(224, 189, 19 * 9, 6 * 17, kBlack);
  }
  // Whether Alt+H shows the key picture over the top of the display (dark
  // where the display is white); a second Alt+H must hide it.
  bool key_picture_shown(bool expected) {
    const bool shown = hold_until("h", [&] { return at(323, 106) != kWhite; }, true, expected ? 3 : 1);
    EXPECT_TRUE(hold_until("h", [&] { return at(323, 106) == kWhite; }, true)) << "the key picture stays";
    return shown;
  }
  // Opens the tape menu and picks `entry` (its exit entry when 0); returns
  // its number of entries, told by where its box's top edge lies, or 0 when
  // no menu shows.
  int use_tape_menu(int entry = 0) {
    const auto edge = [&](int n) { return at(440, (438 - 17 * n) / 2 + 2); };
    int entries = 0;
    hold_until("l", [&] {
      for (int n = 1; n <= 5; ++n)
        if (edge(n) == kRed) entries = n;
      return entries > 0;
    }, true);
    const std::string key = std::to_string(entry > 0 ? entry : entries + 1);
    EXPECT_TRUE(entries == 0 || press_until(key, [&] { return edge(entries) != kRed; })) << "the tape menu stays open";
    return entries;
  }

  fs::path folder_;
  pid_t program_ = 0;
  std::vector<uint8_t> shot_;
};

TEST_F(WindowTest, MissingRomEndsStartUpWithStatus1) {
  fs::remove(data() / "vorn.bin");
  start();
  EXPECT_EQ(wait_exit(), 1);
}

// The bitmaps with 4 MiB more and two tapes around a line of 300,000
// characters (what lines may hold is fuzzed) are read for what they hold.
TEST_F(WindowTest, OverlaysKeysAndSoundWithOversizedFiles) {
  put_bitmaps([](const std::string& good) { return good + std::string(4 << 20, '\xA5'); });
  write("vorn.cfg", "casette first.raw\n" + std::string(300'000, 'y') + "\ncasette second.raw");
  ASSERT_NO_FATAL_FAILURE(start());

  // The help box while Alt is held, its outline 2 pixels inside, gone after.
  ASSERT_TRUE(hold_until("alt", [&] {
    return at(222, 187) == kRed && at(417, 292) == kRed && at(220, 185) == kWhite && at(419, 294) == kWhite &&
           at(219, 185) == kBlack && at(420, 294) == kBlack;
  })) << "no help box while Alt is held";
  EXPECT_TRUE(any(224, 189, 19 * 9, 17, kBlack)) << "no text in the help box";
  EXPECT_TRUE(shows([&] { return at(222, 187) == kBlack; })) << "the help box stays after Alt is released";
  EXPECT_TRUE(key_picture_shown(true));

  // Three entries: the box is 250 x 93 at (195, 193).
  ASSERT_TRUE(hold_until("l", [&] {
    return at(197, 195) == kRed && at(442, 283) == kRed && at(195, 193) == kWhite && at(444, 285) == kWhite &&
           at(194, 240) == kBlack && at(300, 192) == kBlack && at(445, 240) == kBlack && at(300, 286) == kBlack;
  }, true)) << "no tape menu in its place";
  EXPECT_TRUE(any(199, 197, 6 * 9, 17, kBlack)) << "no \"Tapes:\" line";
  EXPECT_TRUE(press_until("2", [&] { return at(300, 3) == kPlayingBar; })) << "the chosen tape does not play";
  EXPECT_EQ(at(197, 195), kBlack) << "the menu stays open";

  // The key is down in its first frame, then released for 25 frames by the
  // hold rule, then down for as long as it is held.
  ASSERT_TRUE(hold_until("a", [&] { return bit(5, 0) == kWhite && bit(5, 1) == kBlack && bit(0, 0) == kBlack; }))
      << "key A alone never reached row 5, column 0";
  EXPECT_TRUE(shows([&] { return bit(5, 0) == kBlack; })) << "key A stays down after its release";
  quit_with_escape();

  // The sound device plays silence (0x80) while nothing is queued; the
  // speaker never gives that level, so dropping it leaves what was queued:
  // what the machine's speaker gives from reset, in the frames that sound.
  // The queue still held at the first silent frame is dropped, so the tail
  // may be missing.
  std::string heard = read_file(folder_ / "audio.raw"), expected;
  std::erase(heard, '\x80');
  fs::current_path(folder_);
  if (machine_init() == 0)
    for (int i = 0; i < 100; ++i) {
      machine_frame();
      if (machine.sound_active) expected.append(reinterpret_cast<const char*>(machine.speaker), kSamplesPerFrame);
    }
  machine_free();
  fs::current_path("/");
  ASSERT_EQ(expected.size(), 40u * kSamplesPerFrame) << "the ROM beeps for 40 frames";
  EXPECT_GE(heard.size(), 10u * kSamplesPerFrame) << "too little was heard to compare";
  ASSERT_LE(heard.size(), expected.size()) << "silent frames were queued";
  EXPECT_TRUE(expected.starts_with(heard)) << "the samples heard differ from the speaker's";
}

TEST_F(WindowTest, TruncatedFilesAreSurvivedAndMissingOrFolderTapesPlaySilence) {
  put_bitmaps([](const std::string& good) { return good.substr(0, good.size() / 2); });
  // Cut in the middle of its last line, which still names a tape.
  write("vorn.cfg", "casette loud.raw\ncasette missing.raw\ncasette folder\ncasette tw");
  write("loud.raw", std::string(20 * 44'100, '\xFF'));
  fs::create_directory(data() / "folder");
  ASSERT_NO_FATAL_FAILURE(start());
  help_text_visible();
  key_picture_shown(false);
  const auto plays = [&](int entry, bool high) {
    EXPECT_EQ(use_tape_menu(entry), 5);
    return shows([&] { return at(300, 3) == kPlayingBar && bit(0, 7) == (high ? kBlack : kWhite); });
  };
  EXPECT_TRUE(plays(2, true)) << "the good tape does not play";
  EXPECT_TRUE(plays(3, false)) << "a missing tape does not play silence";
  EXPECT_TRUE(plays(2, true)) << "the good tape does not play again";
  EXPECT_TRUE(plays(4, false)) << "a folder named as a tape does not play silence";
  kill(program_, SIGTERM);
  EXPECT_EQ(wait_exit(), 0) << "SIGTERM";
}

// Empty bitmaps, no configuration.
TEST_F(WindowTest, EmptyOrMissingFilesAndReadOnlyDataKeepOldFilesAndTheRunningMachine) {
  put_bitmaps([](const std::string&) { return ""; });
  const std::string old_snapshot(1000, '\x5A'), old_recording(5000, '\xA5');
  write("vorn.state", old_snapshot);
  write("default.raw", old_recording);
  // data/ loses its write permission; the program writes its sound file beside it.
  fs::permissions(folder_, fs::perms::all);
  fs::permissions(data(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  // Root ignores permission bits, so a root test runs the program as an unprivileged user.
  const std::string as_user = geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  ASSERT_FALSE(shell(as_user + "touch " + (data() / "probe").string()))
      << "the program's user can write data/, so nothing would be tested";
  ASSERT_NO_FATAL_FAILURE(start(as_user));
  EXPECT_FALSE(help_text_visible()) << "text shows without a font";
  EXPECT_FALSE(key_picture_shown(false)) << "a key picture shows without its file";
  EXPECT_EQ(use_tape_menu(), 1) << "tapes listed without a configuration";
  // A counter of 20 is 6.4 s of frames: more than the saves below take, so a
  // reset among them would leave it lower than it was.
  ASSERT_TRUE(shows([&] { return counter() >= 20; }, 60));
  const int before = counter();
  shell("xdotool keydown alt sleep 0.3 keydown 2 sleep 1 keyup 2 sleep 0.3 keyup alt");  // save the snapshot
  ASSERT_TRUE(hold_until("s", [&] { return at(197, 212) == kRed; }, true)) << "no record prompt";
  EXPECT_TRUE(press_until("1", [&] { return at(300, 3) == kRecordingBar; })) << "not recording";
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  EXPECT_TRUE(hold_until("x", [&] { return at(300, 3) != kRecordingBar; }, true)) << "the recording does not stop";
  const int after = counter();
  EXPECT_GE(after, before) << "the machine was reset: its counter went from " << before << " to " << after;
  EXPECT_TRUE(shows([&] { return counter() > after; })) << "the machine stopped";
  quit_with_escape();
  EXPECT_EQ(read_file(data() / "vorn.state"), old_snapshot);
  EXPECT_EQ(read_file(data() / "default.raw"), old_recording);
}

}  // namespace
