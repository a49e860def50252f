// How a fuzz target reports a fault it finds: a message, then an abort, which
// libFuzzer records with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void check(bool holds, const char* fault) {
  if (holds) return;
  std::fprintf(stderr, "fault: %s\n", fault);
  std::abort();
}
