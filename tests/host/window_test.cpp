// The real program in a real window: exit statuses, the help box, the tape
// menu, a key reaching the emulated machine and the speaker's samples
// reaching the sound device. Checks share program runs, which are slow.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>

#include "machine/machine.h"
#include "tests/host/window_session.h"

namespace {

using namespace std::chrono_literals;
using Point = std::pair<int, int>;
using Pixels = std::vector<std::pair<Point, Rgb>>;

constexpr Rgb kBlack{0, 0, 0}, kWhite{255, 255, 255}, kRed{255, 0, 0};

// Canvas position of the middle of the block that the key display ROM draws
// for the key in matrix row `row`, column `column`.
Point key_block(int row, int column) {
  return {20 + (40 * column + 16) * 600 / 256, 15 + (32 * row + 16) * 450 / 256};
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class HostWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!session.start_server()) GTEST_SKIP() << "Xvfb cannot start here, so there is no window to test";
    ASSERT_TRUE(session.start_window_manager()) << "openbox did not start";
    folder.copy_in(VORN_DATA_DIR "/font.bmp", "font.bmp");
    folder.copy_in(VORN_DATA_DIR "/keys.bmp", "keys.bmp");
  }

  void start(const std::string& rom) {
    folder.copy_in(std::string(TEST_ROM_DIR "/") + rom, "vorn.bin");
    program.emplace(folder);
    ASSERT_TRUE(program->wait_for_window()) << "no window";
  }

  bool shows(Point at, Rgb colour, double seconds = 5) {
    return eventually(seconds, [&] { return session.screenshot().canvas(at.first, at.second) == colour; });
  }

  // Holds `key` down (after Alt, when `with_alt`) until the canvas shows
  // `pixels`, then releases it; a starved program may miss a stroke.
  bool hold_until(const std::string& key, const Pixels& pixels, Screenshot& shot, bool with_alt = false) {
    const auto shown = [&] {
      shot = session.screenshot();
      return std::ranges::all_of(pixels, [&](auto& p) {
        return shot.canvas(p.first.first, p.first.second) == p.second;
      });
    };
    bool seen = false;
    for (int attempt = 0; attempt < 3 && !seen; ++attempt) {
      shell(with_alt ? "xdotool keydown alt sleep 0.25 keydown " + key : "xdotool keydown " + key);
      seen = eventually(2, shown);
      shell(with_alt ? "xdotool keyup " + key + " sleep 0.25 keyup alt" : "xdotool keyup " + key);
    }
    for (const auto& [at, colour] : pixels)
      EXPECT_EQ(shot.canvas(at.first, at.second), colour) << at.first << "," << at.second;
    return seen;
  }

  WindowSession session;
  WorkFolder folder;
  std::optional<Program> program;
};

TEST_F(HostWindowTest, MissingRomEndsStartUpWithStatus1AndNoMessage) {
  program.emplace(folder);
  EXPECT_EQ(program->wait_exit(10), 1);
  // The sound driver used for tests announces itself; nothing else may be printed.
  std::ifstream output(folder.path() + "/output.txt");
  for (std::string line; std::getline(output, line);)
    EXPECT_TRUE(line.starts_with("CRITICAL: You are using the SDL disk i/o") ||
                line.starts_with("CRITICAL:  Writing to file ["))
        << "printed: " << line;
}

TEST_F(HostWindowTest, HelpBoxTapeMenuAndKeysReachTheScreenAndEscapeEndsWithStatus0) {
  folder.write("vorn.cfg", "casette b.raw\n");
  ASSERT_NO_FATAL_FAILURE(start("key_display.bin"));
  ASSERT_TRUE(shows(key_block(0, 0), kBlack)) << "the key display ROM did not draw";
  Screenshot shot;

  // The help box while Alt is held, gone after.
  ASSERT_TRUE(hold_until("alt", {{{222, 187}, kRed}, {{417, 292}, kRed}, {{220, 185}, kWhite},
                                 {{419, 294}, kWhite}, {{219, 185}, kBlack}, {{420, 294}, kBlack}},
                         shot))
      << "no help box while Alt is held";
  EXPECT_TRUE(shot.any(224, 189, 19 * 9, 17, kBlack)) << "no text in the help box";
  EXPECT_TRUE(shows({222, 187}, kBlack)) << "the help box stays after Alt is released";

  // Two entries: the box is 250 x 76 at (195, 202), its outline 2 pixels inside.
  ASSERT_TRUE(hold_until("l", {{{197, 204}, kRed}, {{442, 275}, kRed}, {{195, 202}, kWhite},
                               {{444, 277}, kWhite}, {{194, 240}, kBlack}, {{300, 201}, kBlack},
                               {{445, 240}, kBlack}, {{300, 278}, kBlack}},
                         shot, true))
      << "no tape menu in its place";
  EXPECT_TRUE(shot.any(199, 206, 6 * 9, 17, kBlack)) << "no \"Tapes:\" line";
  shell("xdotool keydown 2 sleep 0.25 keyup 2");
  // Playing: the tape bar runs dark blue across the top.
  EXPECT_TRUE(shows({300, 3}, Rgb{0, 0, 128})) << "the chosen tape does not play";
  EXPECT_EQ(session.screenshot().canvas(197, 204), kBlack) << "the menu stays open";

  // The key is down in its first frame, then released for 25 frames by the
  // hold rule, then down for as long as it is held.
  const Pixels a_alone{{key_block(5, 0), kWhite}, {key_block(5, 1), kBlack}, {key_block(0, 0), kBlack}};
  ASSERT_TRUE(hold_until("a", a_alone, shot))
      << "key A alone never reached row 5, column 0";
  EXPECT_TRUE(shows(key_block(5, 0), kBlack)) << "key A stays down after its release";

  // Escape is held until the end: a short press may fall between two frames.
  shell("xdotool keydown Escape");
  EXPECT_EQ(program->wait_exit(10), 0);
  shell("xdotool keyup Escape");
}

// The sound device plays silence (0x80) while nothing is queued; the
// speaker never gives that level, so dropping it leaves what was queued.
std::string heard(const WorkFolder& folder) {
  std::string samples = read_file(folder.path() + "/audio.raw");
  std::erase(samples, '\x80');
  return samples;
}

TEST_F(HostWindowTest, SpeakerSamplesReachTheSoundDeviceInOrderAndSigtermEndsWithStatus0) {
  ASSERT_NO_FATAL_FAILURE(start("beep.bin"));
  // The beep is over once nothing more is heard for a second. The queue
  // still held at the first silent frame is dropped, so the tail may be missing.
  size_t before = 0;
  EXPECT_TRUE(eventually(20, [&] {
    const size_t now = heard(folder).size();
    const bool quiet = now > 0 && now == before;
    before = now;
    if (!quiet) std::this_thread::sleep_for(1s);
    return quiet;
  }));
  program->terminate();
  EXPECT_EQ(program->wait_exit(10), 0) << "SIGTERM";
  const std::string samples = heard(folder);

  // What the machine's speaker gives from reset, in the frames that sound.
  std::filesystem::current_path(folder.path());
  std::string expected;
  if (machine_init() == 0)
    for (int i = 0; i < 100; ++i) {
      machine_frame();
      if (machine.sound_active)
        expected.append(reinterpret_cast<const char*>(machine.speaker), kSamplesPerFrame);
    }
  machine_free();
  std::filesystem::current_path("/");
  ASSERT_EQ(expected.size(), 40u * kSamplesPerFrame) << "the ROM beeps for 40 frames";
  EXPECT_GE(samples.size(), 10u * kSamplesPerFrame) << "too little was heard to compare";
  ASSERT_LE(samples.size(), expected.size()) << "silent frames were queued";
  EXPECT_TRUE(expected.starts_with(samples)) << "the samples heard differ from the speaker's";
}

}  // namespace
