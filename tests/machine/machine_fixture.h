// A machine set up from an assembled test program in a scratch working
// directory that holds data/, with the host keyboard arrays beside it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "machine/machine.h"
#include "machine/scancodes.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline Bytes read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void write_bytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
// An assembled test program by name ("keys").
inline Bytes program(const std::string& name) {
  Bytes bytes = read_bytes(fs::path(VORN_TEST_PROGRAMS_DIR) / (name + ".bin"));
  EXPECT_FALSE(bytes.empty()) << "test program " << name << " is missing";
  return bytes;
}
inline Bytes pattern(size_t size) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8) + 1);
  return bytes;
}
inline bool all_are(const uint8_t* begin, const uint8_t* end, uint8_t value) {
  return std::all_of(begin, end, [=](uint8_t b) { return b == value; });
}

// Enters a fresh working directory holding data/; leaves and removes it after.
struct ScratchDir {
  fs::path previous = fs::current_path();
  fs::path path = fs::temp_directory_path() / ("vorn-machine-test-" + std::to_string(getpid()));
  ScratchDir() {
    fs::remove_all(path);
    fs::create_directories(path / "data");
    fs::current_path(path);
  }
  ~ScratchDir() {
    std::error_code ignored;
    fs::current_path(previous);
    fs::remove_all(path, ignored);
  }
};

class MachineTest : public ::testing::Test {
 protected:
  ~MachineTest() override { machine_free(); }
  // Puts the program in data/vorn.bin and sets the machine up from it.
  void start(const std::string& name) {
    write_bytes("data/vorn.bin", program(name));
    machine = Machine{};
    ASSERT_EQ(machine_init(), 0);
  }
  // Frames as the window program runs them: the frame, then the keyboard.
  void host_frames(int count) {
    for (int i = 0; i < count; ++i) {
      machine_frame();
      keys_update({keys_now.data(), keys_before.data(), hold_counters.data(), kScancodeCount});
      keys_before = keys_now;
    }
  }
  // The word at 8000h, where the programs count frames or tape edges.
  uint16_t counter() const { return machine.memory[0x8000] | machine.memory[0x8001] << 8; }
  // Port accesses made `t` T-states into the frame.
  uint8_t in_at(uint32_t t, uint16_t port) {
    machine.cpu.cycles = t;
    return machine_port_in(nullptr, port);
  }
  void out_at(uint32_t t, uint8_t value, uint16_t port = 0x80) {
    machine.cpu.cycles = t;
    machine_port_out(nullptr, port, value);
  }

  ScratchDir scratch;
  Bytes keys_now = Bytes(kScancodeCount), keys_before = Bytes(kScancodeCount);
  std::vector<uint32_t> hold_counters = std::vector<uint32_t>(kScancodeCount);
};
