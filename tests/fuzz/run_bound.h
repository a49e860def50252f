// How far past its budget a run of the processor may go.
#pragma once

#include <cstdint>

// The longest T-states one pass of the run loop can take: 23, for EX (SP),IX,
// INC (IX+d) and the DDCB group. No interrupt response takes longer: mode 2
// takes 19, and a mode 0 interrupt runs the instruction whose opcode is on
// the data bus (every opcode byte it fetches is that same byte), at most
// EX (SP),HL at 19 + 2. A pass starts below the budget n, so a run of n
// T-states ends before n + kLongestPass.
inline constexpr uint32_t kLongestPass = 23;
