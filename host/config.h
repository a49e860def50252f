// Reader of the configuration file "data/vorn.cfg": lines of a key and a
// value; the only key, "casette", adds a tape file to the tape list.
#pragma once

#include <cstdio>

#include "host/tape_list.h"

inline constexpr int kMaxLineLength = 255;

// Reads `file` to its end and appends every "casette" value to `list` while
// it has room. Lines it cannot take are skipped whole, never cut short:
// a line longer than kMaxLineLength characters, a key or value longer than
// kMaxNameLength, a line holding a NUL byte, a line without two tokens, and
// any other key (keys are case-sensitive). Tokens after the second are
// ignored.
void config_read(std::FILE* file, TapeList& list);
