#include "tests/core/exerciser_run.h"

namespace {

// Large enough that the check between slices costs nothing, small enough that
// a run stops soon after its last wanted test.
constexpr uint32_t kSliceTStates = 10'000'000;

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

std::string exerciser_path(const std::string& file_name) { return std::string(VORN_Z80TESTS_DIR) + "/" + file_name; }

ExerciserRun run_exerciser(CpmMachine& machine, int max_results, uint64_t t_state_budget,
                           const std::function<void(const std::string&)>& on_line) {
  ExerciserRun run;
  std::string pending;  // the part of the current line printed so far
  const auto limit_reached = [&] { return max_results > 0 && static_cast<int>(run.results.size()) >= max_results; };
  while (!run.finished && !limit_reached() && run.t_states < t_state_budget) {
    run.t_states += machine.run(kSliceTStates);
    run.finished = machine.finished();
    for (const char c : machine.take_console()) {
      if (c == '\r') continue;
      if (c != '\n') {
        pending += c;
        continue;
      }
      on_line(pending);
      if (ends_with(pending, "  OK")) run.results.push_back(pending);
      if (pending.find("  ERROR ****") != std::string::npos) {
        run.results.push_back(pending);
        run.errors.push_back(pending);
      }
      run.lines.push_back(std::move(pending));
      pending.clear();
    }
  }
  if (!pending.empty()) {
    on_line(pending);
    run.lines.push_back(std::move(pending));
  }
  return run;
}
