// The headless runner's command line on anything: arguments split at NUL
// bytes, parsed, ordered and, for --type, turned into key strokes with the
// machine's keyboard layout. A bad command line must give an error message;
// a good one a plan whose actions lie in order, with a host key for every
// key action.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/headless/options.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

std::vector<KeyLegend> layout;

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

std::vector<std::string> split_arguments(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\0')
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  }
  return args;
}

void check_plan(const std::vector<Action>& actions) {
  for (size_t i = 0; i < actions.size(); ++i) {
    const Action& action = actions[i];
    if (i > 0 && action.frame < actions[i - 1].frame) fault("the actions are out of order");
    if (action.kind == ActionKind::Type) fault("typed text was left unexpanded");
    const bool key = action.kind == ActionKind::KeyDown || action.kind == ActionKind::KeyUp;
    if (key && action.scancode < 0) fault("a key action has no host key");
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  if (!keyboard_layout_read(VORN_KEYBOARD_LAYOUT, layout, error)) fault(error.c_str());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RunOptions options;
  std::string error;
  if (!parse_options(split_arguments(data, size), options, error)) {
    if (error.empty()) fault("a bad command line gave no message");
    return 0;
  }
  if (options.help) return 0;
  if (options.frames < 1 || options.frames > kMaxFrames) fault("the frame count is out of range");
  for (const Action& action : options.actions)
    if (action.frame < 1 || action.frame > options.frames) {
      const bool release = action.kind == ActionKind::KeyUp;  // a --tap's may fall later
      if (!release) fault("an action lies outside the run");
    }
  if (!expand_typing(layout, options.actions, error)) {
    if (error.empty()) fault("text that cannot be typed gave no message");
    return 0;
  }
  sort_actions(options.actions);
  check_plan(options.actions);
  return 0;
}
