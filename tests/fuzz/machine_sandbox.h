// The machine for fuzz targets that need one: set up once, in a working
// folder of its own (on a memory file system when the host has one), so that
// every "data/..." file the machine reads or writes stays in there. The
// working directory changes before the fuzzer reads its corpus, so targets
// that use the sandbox need absolute corpus and artifact paths.
#pragma once

#include <cstdint>

// The ROM the sandbox starts with: a jump to 0x4000 at reset, EI and RET at
// the mode 1 interrupt address, RETN at the NMI address, zeros elsewhere.
inline constexpr uint16_t kSandboxProgramStart = 0x4000;

// Creates the folder with its data/vorn.bin, makes it the working directory
// and sets the machine up; aborts when any of that fails. The folder is
// removed at exit.
void sandbox_start();

// Removes every file from the sandbox's data/ but the ROM image.
void sandbox_clear_files();
