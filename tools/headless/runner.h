// Runs the machine frame by frame as the window program's frame routine
// does, without a window.
#pragma once

#include "tools/headless/options.h"

// Runs a parsed plan whose typed text has been expanded into key actions.
// Prints a one-line message to stderr on failure; returns the exit status.
int run_headless(RunOptions& options);
