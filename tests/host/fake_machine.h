// A stand-in for the machine library in tests of the input handling: it
// records which machine operations were called, in order, and keeps only the
// tape deck's state.
#pragma once

#include <string>
#include <vector>

extern std::vector<std::string> fake_machine_calls;

// Forgets the calls and stops the deck.
void fake_machine_clear();
