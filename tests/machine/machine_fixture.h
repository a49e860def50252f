// A machine set up from one of the test programs, in a scratch working
// directory that holds data/, with the host keyboard arrays beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "machine/machine.h"

std::vector<uint8_t> read_bytes(const std::filesystem::path& path);
void write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
// An assembled program from the test programs folder, by name ("keys").
std::vector<uint8_t> program(const std::string& name);

// Creates an empty working directory with data/ in it and enters it; leaves
// and removes it at the end.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::filesystem::path previous_;
};

class MachineTest : public ::testing::Test {
 protected:
  ~MachineTest() override;
  // Puts `program_name` in data/vorn.bin and sets the machine up from it.
  void start(const std::string& program_name);
  // Runs frames as the window program does: the frame, then the keyboard.
  void host_frames(int count);
  void host_key(int scancode, bool down) { keys_now[scancode] = down; }
  uint16_t word_at(uint16_t address) const;

  ScratchDir scratch;
  std::vector<uint8_t> keys_now, keys_before;
  std::vector<uint32_t> hold_counters;
};
