// How far past its budget a run of the processor may go.
#pragma once

#include <cstdint>

// The longest pass of the run loop: 23 T-states, for EX (SP),IX, INC (IX+d)
// and the DDCB group. No interrupt response is longer: mode 2 takes 19, and
// mode 0 runs the opcode on the data bus (every byte it fetches is that same
// byte), at most EX (SP),HL at 19 + 2. A run of n T-states ends before
// n + kLongestPass.
inline constexpr uint32_t kLongestPass = 23;
