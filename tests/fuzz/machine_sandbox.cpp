#include "tests/fuzz/machine_sandbox.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"

namespace {

std::filesystem::path folder;

void remove_folder() {
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(folder, ignored);
}

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fuzz sandbox: %s\n", what);
  std::abort();
}

std::vector<char> sandbox_rom() {
  std::vector<char> rom(kRomSize, 0);
  const char reset[] = {'\xC3', '\x00', '\x40'};                  // JP 4000h
  const char interrupt[] = {'\xFB', '\xC9'};                      // EI; RET
  const char nmi[] = {'\xED', '\x45'};                            // RETN
  std::copy(std::begin(reset), std::end(reset), rom.begin());
  std::copy(std::begin(interrupt), std::end(interrupt), rom.begin() + 0x38);
  std::copy(std::begin(nmi), std::end(nmi), rom.begin() + 0x66);
  return rom;
}

}  // namespace

void sandbox_start() {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string pattern = std::string(base) + "/vorn_fuzz_XXXXXX";
  if (!mkdtemp(pattern.data())) fail("no working folder");
  folder = pattern;
  std::atexit(remove_folder);
  std::error_code error;
  std::filesystem::create_directory(folder / "data", error);
  std::filesystem::current_path(folder, error);
  if (error) fail("cannot enter the working folder");
  const std::vector<char> rom = sandbox_rom();
  std::ofstream(kRomPath, std::ios::binary).write(rom.data(), static_cast<std::streamsize>(rom.size()));
  if (machine_init() != 0) fail("the machine does not start");
}

void sandbox_clear_files() {
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator("data", ignored))
    if (entry.path().filename() != "vorn.bin") std::filesystem::remove_all(entry.path(), ignored);
}
