// The tapes the user can choose from the tape menu: slot 0 is always the
// recording file "default.raw", the others come from "data/vorn.cfg".
#pragma once

#include <cstdint>

inline constexpr int kMaxTapes = 5;
inline constexpr int kMaxNameLength = 63;  // longest key or file name a line may hold
inline constexpr const char* kRecordingName = "default.raw";

struct TapeList {
  char names[kMaxTapes][kMaxNameLength + 1];
  int32_t count;
};

// Empties the list down to its one fixed entry, "default.raw".
void tape_list_reset(TapeList& list);
