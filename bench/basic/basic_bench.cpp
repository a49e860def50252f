// The classic BASIC benchmarks on the Vorn: each listing of
// ../shared/basic-bench is typed into BASIC on a fresh machine with the
// system ROM, run, and timed in emulated seconds: 50,000 T-states a frame on
// the 2.5 MHz machine, from the frame in which a row reads "S" to the frame
// in which a row reads "E". Host time plays no part. Beside each figure is
// the goal: the fastest BASIC of the listings' day on a 2 MHz 6502, and 10 s
// for BM8.
//
//   basic_bench [N...]    (default: all eight; N = 1 to 8)
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "machine/scancodes.h"
#include "tools/headless/screen_text.h"
#include "tools/headless/typing.h"

namespace {

namespace fs = std::filesystem;

constexpr double kGoals[] = {0.8, 3.1, 8.1, 8.7, 9.0, 13.9, 21.1, 10.0};
constexpr double kSecondsPerFrame = static_cast<double>(kFrameTStates) / kClockHz;
constexpr uint32_t kMaxFrames = 60 * 50;  // a minute of emulated time per phase

// The machine with the host keyboard that drives it, as the window program
// keeps it.
class Session {
 public:
  explicit Session(uint16_t font) : font_(font) {}

  void run_frame() {
    ++frame_;
    for (; next_ < actions_.size() && actions_[next_].frame <= frame_; ++next_)
      keys_[actions_[next_].scancode] = actions_[next_].kind == ActionKind::KeyDown;
    machine_frame();
    keys_update({keys_.data(), previous_.data(), hold_counters_.data(), kScancodeCount});
    previous_ = keys_;
  }

  // Types `text` and runs until its last key is up and a little more.
  bool type(const std::vector<KeyLegend>& layout, const std::string& text) {
    actions_ = {{frame_ + 1, ActionKind::Type, -1, text, 0}};
    next_ = 0;
    std::string error;
    if (!expand_typing(layout, actions_, error)) {
      std::fprintf(stderr, "basic_bench: %s\n", error.c_str());
      return false;
    }
    while (frame_ < actions_.back().frame + 10) run_frame();
    return true;
  }

  // Runs until a screen row reads exactly `text`; false after kMaxFrames.
  bool run_until_row(const std::string& text) {
    for (uint32_t n = 0; n < kMaxFrames; ++n) {
      run_frame();
      const auto rows = screen_text(machine.memory, font_);
      if (std::find(rows.begin(), rows.end(), text) != rows.end()) return true;
    }
    return false;
  }

  uint32_t frame() const { return frame_; }
  bool shows(const std::string& text) const { return screen_shows(machine.memory, font_, text); }

 private:
  uint16_t font_;
  uint32_t frame_ = 0;
  std::vector<Action> actions_;
  size_t next_ = 0;
  std::vector<uint8_t> keys_ = std::vector<uint8_t>(kScancodeCount);
  std::vector<uint8_t> previous_ = std::vector<uint8_t>(kScancodeCount);
  std::vector<uint32_t> hold_counters_ = std::vector<uint32_t>(kScancodeCount);
};

std::string read_text(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return in ? text.str() : std::string();
}

// The listing's emulated seconds from S to E, or a negative number when it
// did not run to its end (the screen is printed then).
double time_listing(const std::string& listing, const std::vector<KeyLegend>& layout, uint16_t font) {
  machine = Machine{};
  if (machine_init() != 0) return -1;
  Session session(font);
  for (int n = 0; n < 10; ++n) session.run_frame();
  // The ROM may start in its monitor: BASIC is one command away.
  if (!session.shows("Ready") && !session.type(layout, "BASIC\n")) return -1;
  if (!session.type(layout, listing + "RUN\n")) return -1;
  double seconds = -1;
  if (session.run_until_row("S")) {
    const uint32_t start = session.frame();
    if (session.run_until_row("E")) seconds = (session.frame() - start) * kSecondsPerFrame;
  }
  if (seconds < 0)
    for (const std::string& row : screen_text(machine.memory, font)) std::fprintf(stderr, "  | %s\n", row.c_str());
  machine_free();
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int> chosen;
  for (int n = 1; n < argc; ++n) {
    const int number = std::atoi(argv[n]);
    if (number < 1 || number > 8) {
      std::fprintf(stderr, "usage: %s [N...] (N = 1 to 8)\n", argv[0]);
      return 2;
    }
    chosen.push_back(number);
  }
  if (chosen.empty()) chosen = {1, 2, 3, 4, 5, 6, 7, 8};
  const fs::path listings = VORN_BASIC_BENCH_DIR;
  if (!fs::is_directory(listings)) {
    std::fprintf(stderr, "basic_bench: the listings are not in %s\n", listings.c_str());
    return 1;
  }
  std::vector<KeyLegend> layout;
  std::string error;
  const int32_t font = read_symbol(VORN_DATA_DIR "/vorn.sym", "font");
  if (!keyboard_layout_read(VORN_DATA_DIR "/keyboard.txt", layout, error) || font < 0) {
    std::fprintf(stderr, "basic_bench: cannot read the keyboard layout or the ROM's symbols in %s\n",
                 VORN_DATA_DIR);
    return 1;
  }
  // The machine reads data/vorn.bin from its working directory.
  const fs::path folder = fs::temp_directory_path() / ("vorn-basic-bench-" + std::to_string(getpid()));
  fs::create_directories(folder / "data");
  fs::copy_file(VORN_DATA_DIR "/vorn.bin", folder / "data/vorn.bin");
  fs::current_path(folder);

  std::printf("%-5s %9s %7s\n", "", "emulated", "goal");
  double sum = 0;
  bool all_met = true;
  for (const int number : chosen) {
    const std::string name = "bm" + std::to_string(number) + ".bas";
    const std::string listing = read_text(listings / name);
    const double seconds = listing.empty() ? -1 : time_listing(listing, layout, static_cast<uint16_t>(font));
    if (seconds < 0) {
      std::printf("BM%d   did not run to its end\n", number);
      all_met = false;
      continue;
    }
    sum += seconds;
    all_met = all_met && seconds <= kGoals[number - 1];
    std::printf("BM%d   %8.2fs %6.1fs%s\n", number, seconds, kGoals[number - 1],
                seconds <= kGoals[number - 1] ? "" : "  slower");
  }
  if (chosen.size() == 8) std::printf("sum   %8.2fs %6.1fs%s\n", sum, 60.0, sum < 60 ? "" : "  slower");
  fs::current_path("/");
  fs::remove_all(folder);
  return all_met ? 0 : 1;
}
