// The headless runner's command line, parsed into a plan of frame-numbered
// actions. Parsing touches no file and no machine, so it can be tested and
// fuzzed on its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

inline constexpr uint32_t kMaxFrames = 100'000'000;  // over 23 days of emulated time

enum class ActionKind {
  KeyDown,
  KeyUp,
  Type,  // text still to be turned into key strokes with the keyboard layout
  TapeLoad,
  TapePlay,
  TapeRecord,
  TapeStop,
  SaveState,
  LoadState,
  LoadDev,
  Reset,
};

// Something done in the host's input slot before frame `frame` runs.
struct Action {
  uint32_t frame;
  ActionKind kind;
  int scancode = -1;  // KeyDown, KeyUp
  std::string text;   // TapeLoad: path; Type: the text with its escapes resolved
  int order = 0;      // position of its option on the command line
};

// Something written after frame `frame` has run.
struct Capture {
  uint32_t frame;
  bool png;  // else the 64 KiB memory dump
  std::string path;
};

struct RunOptions {
  uint32_t frames = 0;
  std::vector<Action> actions;
  std::vector<Capture> captures;
  std::string wav_path;
  std::string layout_path = "data/keyboard.txt";
  std::string until;  // ends the run once the screen shows it
  bool help = false;
};

// Parses the arguments after the program name. On a bad argument returns
// false with a one-line `error`.
bool parse_options(const std::vector<std::string>& args, RunOptions& options, std::string& error);

// Orders the actions by frame, keeping the command-line order within a frame.
void sort_actions(std::vector<Action>& actions);

extern const char* const kHelpText;
