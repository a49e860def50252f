// Saving and loading through the ROM's S and L commands with the deck.
#pragma once

#include <cstdint>
#include <string>

#include "tests/rom/rom_machine.h"

// Frames enough to save or load `length` bytes, with both leaders and slack.
uint32_t tape_frames(uint32_t length);

// Types the S command while the deck records and runs until "Saved" shows.
// The recording stays in the deck's memory (stopping writes
// data/default.raw in the working folder). True when the save finished.
bool save_block(RomMachine& vorn, const std::string& name, uint16_t start, uint32_t length,
                bool keep_recording = false);

// Types L (with the name, when given), plays the deck from its start and runs
// until "Loaded", "checksum error" or the frame limit. Returns what showed:
// "Loaded", "checksum error" or "" for nothing.
std::string load_block(RomMachine& vorn, const std::string& name, uint32_t length);

// The sample index of the recording's last change of level.
uint64_t last_edge();
