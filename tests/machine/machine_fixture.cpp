#include "tests/machine/machine_fixture.h"

#include <fstream>
#include <iterator>
#include <unistd.h>

#include "machine/scancodes.h"

std::vector<uint8_t> read_bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> program(const std::string& name) {
  auto bytes = read_bytes(std::filesystem::path(VORN_TEST_PROGRAMS_DIR) / (name + ".bin"));
  EXPECT_FALSE(bytes.empty()) << "test program " << name << " is missing";
  return bytes;
}

ScratchDir::ScratchDir() : previous_(std::filesystem::current_path()) {
  static int count = 0;
  path_ = std::filesystem::temp_directory_path() /
          ("vorn-machine-test-" + std::to_string(getpid()) + "-" + std::to_string(count++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_ / "data");
  std::filesystem::current_path(path_);
}

ScratchDir::~ScratchDir() {
  std::filesystem::current_path(previous_);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

MachineTest::~MachineTest() { machine_free(); }

void MachineTest::start(const std::string& program_name) {
  write_bytes("data/vorn.bin", program(program_name));
  machine = Machine{};
  ASSERT_EQ(machine_init(), 0);
  keys_now.assign(kScancodeCount, 0);
  keys_before.assign(kScancodeCount, 0);
  hold_counters.assign(kScancodeCount, 0);
}

void MachineTest::host_frames(int count) {
  for (int i = 0; i < count; ++i) {
    machine_frame();
    keys_update({keys_now.data(), keys_before.data(), hold_counters.data(), kScancodeCount});
    keys_before = keys_now;
  }
}

uint16_t MachineTest::word_at(uint16_t address) const {
  return static_cast<uint16_t>(machine.memory[address] | machine.memory[address + 1] << 8);
}
