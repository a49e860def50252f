// The machine for the fuzz targets that need one, set up once in a folder of
// its own that becomes the working directory, so that every "data/..." file
// the machine reads or writes stays in there (such targets need absolute
// corpus and artifact paths). Its ROM jumps to 0x4000 at reset, has EI and
// RET at the mode 1 interrupt address and RETN at the NMI address. Any
// failure aborts; the folder is removed at exit.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/check.h"

inline constexpr uint16_t kSandboxProgramStart = 0x4000;

inline void sandbox_start() {
  // A memory file system when there is one: the loaders target writes 26 MB tapes.
  static std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/vorn_fuzz_XXXXXX" : "/tmp/vorn_fuzz_XXXXXX";
  check(mkdtemp(folder.data()) != nullptr, "no sandbox folder");
  std::atexit([] { std::filesystem::remove_all(folder); });
  std::filesystem::create_directory(folder + "/data");
  std::filesystem::current_path(folder);
  char rom[0x68] = {'\xC3', '\x00', '\x40'};  // JP 4000h
  rom[0x38] = '\xFB', rom[0x39] = '\xC9';      // EI; RET
  rom[0x66] = '\xED', rom[0x67] = '\x45';      // RETN
  std::ofstream(kRomPath, std::ios::binary).write(rom, sizeof rom);
  check(machine_init() == 0, "the sandbox machine does not start");
}
