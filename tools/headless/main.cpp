// vorn-headless: runs the Vorn machine without a window (see --help).
#include <cstdio>
#include <string>
#include <vector>

#include "tools/headless/options.h"
#include "tools/headless/runner.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

constexpr int kUsageError = 2;

bool has_typing(const RunOptions& options) {
  for (const Action& action : options.actions)
    if (action.kind == ActionKind::Type) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  RunOptions options;
  std::string error;
  if (!parse_options(args, options, error)) {
    std::fprintf(stderr, "vorn-headless: %s\n", error.c_str());
    return kUsageError;
  }
  if (options.help) {
    std::fputs(kHelpText, stdout);
    return 0;
  }
  if (has_typing(options)) {
    std::vector<KeyLegend> layout;
    if (!keyboard_layout_read(options.layout_path, layout, error) ||
        !expand_typing(layout, options.actions, error)) {
      std::fprintf(stderr, "vorn-headless: %s\n", error.c_str());
      return kUsageError;
    }
  }
  return run_headless(options);
}
