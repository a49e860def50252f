// Runs an instruction exerciser (zexdoc, zexall) on the CP/M machine and
// collects what it prints: one line per test, "<name>....  OK" or
// "<name>....  ERROR **** crc expected:xxxxxxxx found:yyyyyyyy".
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/core/cpm_machine.h"

// Full path of an exerciser program in the shared test-program folder.
std::string exerciser_path(const std::string& file_name);

struct ExerciserRun {
  std::vector<std::string> lines;    // every complete line printed, without CR LF
  std::vector<std::string> results;  // the lines that report a test
  std::vector<std::string> errors;   // the results that report a CRC mismatch
  uint64_t t_states = 0;
  bool finished = false;  // the program returned to CP/M
};

// Runs the loaded program in large slices until it returns to CP/M, until
// `max_results` tests have reported (0: no limit), or until `t_state_budget`
// T-states have run, whichever comes first. `on_line` sees each line as soon
// as it is complete.
ExerciserRun run_exerciser(CpmMachine& machine, int max_results, uint64_t t_state_budget,
                           const std::function<void(const std::string&)>& on_line);
