// The headless runner's command line on anything: arguments split at NUL
// bytes, parsed, typed text turned into key strokes with the machine's
// keyboard layout, the plan ordered. A bad command line gives a one-line
// message; a good one a plan in frame order, within the run (a --tap's
// release may fall later), every key action with a host key.
#include <string>
#include <vector>

#include "tests/fuzz/check.h"
#include "tools/headless/options.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

std::vector<KeyLegend> layout;

bool one_line_message(const std::string& error) { return !error.empty() && error.find('\n') == std::string::npos; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::string error;
  check(keyboard_layout_read(VORN_KEYBOARD_LAYOUT, layout, error), "the keyboard layout cannot be read");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i)
    if (data[i] == '\0')
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  RunOptions options;
  std::string error;
  if (!parse_options(args, options, error)) {
    check(one_line_message(error), "a bad command line gave no one-line message");
    return 0;
  }
  if (options.help) return 0;
  check(options.frames >= 1 && options.frames <= kMaxFrames, "the frame count is out of range");
  for (const Action& action : options.actions)
    check(action.kind == ActionKind::KeyUp || (action.frame >= 1 && action.frame <= options.frames),
          "an action lies outside the run");
  if (!expand_typing(layout, options.actions, error)) {
    check(one_line_message(error), "text that cannot be typed gave no one-line message");
    return 0;
  }
  sort_actions(options.actions);
  for (size_t i = 0; i < options.actions.size(); ++i) {
    const Action& action = options.actions[i];
    check(i == 0 || action.frame >= options.actions[i - 1].frame, "the actions are out of order");
    check(action.kind != ActionKind::Type, "typed text was left unexpanded");
    check((action.kind != ActionKind::KeyDown && action.kind != ActionKind::KeyUp) || action.scancode >= 0,
          "a key action has no host key");
  }
  return 0;
}
