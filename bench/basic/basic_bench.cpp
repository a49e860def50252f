// BASIC's speed on the emulated 2.5 MHz machine (prints figures; not a
// test). Each program is typed into a fresh machine, the screen is cleared,
// RUN is typed, and the time is taken from the frame whose screen first
// shows "S" to the one that shows "E", as a stopwatch would:
//   - the benchmarks BM1-BM8 beside their goals (BM1-BM7: the fastest BASIC
//     of their day, on a 2 MHz 6502; BM8: 10 s), read from a folder (by default
//     ../shared/basic-bench beside the project);
//   - single statements, each run 10,000 times before NEXT in a FOR loop,
//     in T-states above the empty loop's turn (IF jumps to the next line,
//     which holds the NEXT);
//   - a full collection of 500 live strings (FRE).
//
//   basic_bench [BENCH-FOLDER]
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "machine/scancodes.h"
#include "tools/headless/screen_text.h"
#include "tools/headless/typing.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kLimitFrames = 20'000;
constexpr int kTurns = 10'000;

struct Keyboard {
  std::vector<uint8_t> state = std::vector<uint8_t>(kScancodeCount, 0);
  std::vector<uint8_t> previous = std::vector<uint8_t>(kScancodeCount, 0);
  std::vector<uint32_t> hold = std::vector<uint32_t>(kScancodeCount, 0);
};

class Machine {
 public:
  explicit Machine(const std::vector<KeyLegend>& layout) : layout_(layout) {
    machine_free();
    machine = ::Machine{};
    ok_ = machine_init() == 0;
    run(10);
    type("basic\n");
  }
  ~Machine() { machine_free(); }
  bool ok() const { return ok_; }
  void run(uint32_t frames) {
    for (uint32_t i = 0; i < frames; ++i, ++frame_) {
      for (; !pending_.empty() && pending_.front().frame <= frame_; pending_.erase(pending_.begin()))
        keys_.state[pending_.front().scancode] = pending_.front().kind == ActionKind::KeyDown;
      machine_frame();
      keys_update({keys_.state.data(), keys_.previous.data(), keys_.hold.data(), kScancodeCount});
      keys_.previous = keys_.state;
    }
  }
  // Types a line (text and RETURN) and lets BASIC take it for `settle` frames.
  void type(const std::string& line, uint32_t settle = 20) {
    std::string error;
    pending_ = {{frame_ + 1, ActionKind::Type, -1, line, 0}};
    if (!expand_typing(layout_, pending_, error)) std::fprintf(stderr, "%s\n", error.c_str());
    run(pending_.back().frame - frame_ + settle);
  }
  bool shows(const char* text) const { return screen_shows(machine.memory, font(), text); }
  bool shows_row(const char* row) const {
    const auto rows = screen_text(machine.memory, font());
    return std::find(rows.begin(), rows.end(), row) != rows.end();
  }
  uint16_t font() const { return static_cast<uint16_t>(read_symbol(VORN_DATA "/vorn.sym", "font")); }
  // Frames from S to E of RUN on a clear screen; -1 when E never shows.
  int time_run() {
    std::fill(machine.memory + 0xE000, machine.memory + 0x10000, 0);
    machine.memory[read_symbol(VORN_DATA "/vorn.sym", "cursor_row")] = 0;
    machine.memory[read_symbol(VORN_DATA "/vorn.sym", "cursor_column")] = 0;
    type("run\n", 0);
    uint32_t start = 0;
    for (uint32_t i = 0; i < kLimitFrames && !shows_row("E") && !shows("Ready"); ++i) {
      run(1);
      if (start == 0 && shows_row("S")) start = frame_;
    }
    return shows_row("E") ? static_cast<int>(frame_ - start) : -1;
  }
  std::string message() const {  // the row before Ready
    const auto rows = screen_text(machine.memory, font());
    for (size_t i = 1; i < rows.size(); ++i)
      if (rows[i] == "Ready") return rows[i - 1];
    return "(nothing)";
  }

 private:
  const std::vector<KeyLegend>& layout_;
  Keyboard keys_;
  std::vector<Action> pending_;
  uint32_t frame_ = 0;
  bool ok_ = false;
};

// Seconds from S to E of the program, or -1 (with the reason printed).
double seconds(const std::vector<KeyLegend>& layout, const std::vector<std::string>& lines, const char* name) {
  Machine m(layout);
  if (!m.ok()) return -1;
  for (const auto& line : lines) m.type(line + "\n");
  const int frames = m.time_run();
  if (frames < 0) std::printf("%-14s stopped: %s\n", name, m.message().c_str());
  return frames < 0 ? -1 : frames / double(kFramesPerSecond);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path folder = argc > 1 ? argv[1] : VORN_BASIC_BENCH_DIR;
  const fs::path work = fs::temp_directory_path() / ("vorn_basic_bench_" + std::to_string(getpid()));
  fs::create_directories(work / "data");
  fs::copy_file(VORN_DATA "/vorn.bin", work / "data/vorn.bin", fs::copy_options::overwrite_existing);
  fs::current_path(work);
  std::vector<KeyLegend> layout;
  std::string error;
  if (!keyboard_layout_read(VORN_DATA "/keyboard.txt", layout, error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  constexpr double kGoals[] = {0.8, 3.1, 8.1, 8.7, 9.0, 13.9, 21.1, 10.0};
  double sum = 0;
  std::printf("benchmark      seconds   goal\n");
  for (int n = 1; n <= 8; ++n) {
    const std::string name = "bm" + std::to_string(n) + ".bas";
    std::ifstream in(folder / name);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      if (!line.empty()) lines.push_back(line);
    if (lines.empty()) {
      std::printf("%-14s missing in %s\n", name.c_str(), folder.c_str());
      continue;
    }
    const double s = seconds(layout, lines, name.c_str());
    if (s >= 0) std::printf("%-14s %6.2f %6.1f\n", name.c_str(), s, kGoals[n - 1]);
    sum = s >= 0 && sum >= 0 ? sum + s : -1;
  }
  if (sum >= 0) std::printf("%-14s %6.2f %6.1f\n", "sum", sum, 60.0);
  const std::vector<std::string> loop = {"1 PRINT \"S\"", "2 DIM M(5):L=3:K=7", "3 FOR I=1 TO 10000"};
  std::vector<std::string> bare = loop;
  bare.push_back("4 NEXT:PRINT \"E\"");
  const double empty = seconds(layout, bare, "empty");
  std::printf("\nstatement          T-states (the empty loop's turn: %.0f)\n",
              empty * kClockHz / kTurns);
  for (const char* statement : {"K=K+1", "IF K<1000 THEN 5", "A=K/K*K+K-K", "M(L)=A", "GOSUB 9", "A=K"}) {
    auto lines = loop;
    lines.push_back(std::string("4 ") + statement + ":NEXT:PRINT \"E\":END");
    lines.push_back("5 NEXT:PRINT \"E\":END");
    lines.push_back("9 RETURN");
    const double s = seconds(layout, lines, statement);
    if (s >= 0) std::printf("%-18s %6.0f\n", statement, (s - empty) * kClockHz / kTurns);
  }
  const double collect = seconds(layout,
                                 {"10 DIM A$(499):FOR I=0 TO 499", "20 A$(I)=STR$(I)+\"abcdefg\"",
                                  "30 NEXT:X=FRE(0):PRINT \"S\"", "40 X=FRE(0):PRINT \"E\""},
                                 "collection");
  if (collect >= 0) std::printf("\ncollecting 500 live strings: %.2f s\n", collect);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(work);
  return 0;
}
