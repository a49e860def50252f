// How far past its budget a run of the processor may go.
#pragma once

#include <cstdint>

// The longest T-states one pass of the run loop can take: a DDCB instruction
// of 23 T-states whose three opcode bytes come from the data bus in a mode 0
// interrupt at 6 T-states each instead of 4. A pass starts below the budget
// n, so a run of n T-states ends before n + kLongestPass.
inline constexpr uint32_t kLongestPass = 29;
