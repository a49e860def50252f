// No crash loses a file: a child process saves snapshots and recordings in a
// loop, the test kills it with SIGKILL at random moments, and after every kill
// "data/vorn.state" and "data/default.raw" must each be a complete file, the
// last one written or the one before it, never a torn one. A save goes to a
// temporary file of a fixed name that is renamed over the old file, so at
// most one temporary file per target can be left behind, and the next save
// replaces it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr int kKills = 150;
constexpr auto kTimeLimit = std::chrono::seconds(30);

// The ROM: loop: LD A,(4000h); RRCA; OUT (80h),A; JR loop. It drives the
// output with bit 0 of the byte at 0x4000, so a recording is all 255 or all 0.
const Bytes kRom = {0x3A, 0x00, 0x40, 0x0F, 0xD3, 0x80, 0x18, 0xF8};

// Each generation g writes a snapshot whose RAM starts with g (4 bytes,
// little-endian) followed by a pattern of g, and a recording of 1 + g % 3
// frames at the level of g's lowest bit: six recognisable recordings.
constexpr uint32_t kRecordingKinds = 6;

uint8_t ram_byte(uint32_t generation, size_t offset) {
  if (offset < 4) return static_cast<uint8_t>(generation >> (8 * offset));
  return static_cast<uint8_t>(generation * 31 + offset * 7);
}

// The two moments a child announces, just before each save begins.
enum Step : uint32_t { kSavingSnapshot, kSavingRecording };
struct Report {
  uint32_t generation;
  Step step;
};

// Writes generation `generation`, announcing each save on `report` when it
// is an open pipe.
void write_generation(uint32_t generation, int report = -1) {
  const auto announce = [&](Step step) {
    const Report message{generation, step};
    if (report >= 0 && write(report, &message, sizeof message) != sizeof message) _exit(1);
  };
  machine_reset();
  for (size_t i = 0; i < kRamSize; ++i) machine.memory[kRamStart + i] = ram_byte(generation, i);
  announce(kSavingSnapshot);
  state_save();
  tape_record();
  for (uint32_t frame = 0; frame <= generation % 3; ++frame) machine_frame();
  announce(kSavingRecording);
  tape_stop();
}

std::optional<Bytes> read_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The generation a complete snapshot file holds, or none for a torn one.
std::optional<uint32_t> snapshot_generation(const Bytes& file) {
  if (file.size() != kStateFileSize) return std::nullopt;
  const uint8_t* ram = file.data() + kZ80ImageSize;
  const uint32_t generation = ram[0] | ram[1] << 8 | ram[2] << 16 | static_cast<uint32_t>(ram[3]) << 24;
  for (size_t i = 0; i < kRamSize; ++i)
    if (ram[i] != ram_byte(generation, i)) return std::nullopt;
  return generation;
}

// What the disk may hold for one target file: nothing yet, or a generation.
using OnDisk = std::optional<uint32_t>;

// The child: writes generations from `first` on for ever.
[[noreturn]] void save_forever(uint32_t first, int report) {
  for (uint32_t generation = first;; ++generation) write_generation(generation, report);
}

class CrashSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorn_crash_safety_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    fs::create_directory(folder_ / "data");
    std::ofstream(folder_ / "data/vorn.bin", std::ios::binary)
        .write(reinterpret_cast<const char*>(kRom.data()), static_cast<std::streamsize>(kRom.size()));
    home_ = fs::current_path();
    fs::current_path(folder_);
    ASSERT_EQ(machine_init(), 0);
  }

  void TearDown() override {
    machine_free();
    fs::current_path(home_);
    fs::remove_all(folder_);
  }

  // The recording each kind of generation writes, made here once.
  void make_reference_recordings() {
    for (uint32_t kind = 0; kind < kRecordingKinds; ++kind) {
      write_generation(kind);
      recordings_.push_back(read_bytes(kRecordingPath).value_or(Bytes{}));
      ASSERT_FALSE(recordings_.back().empty());
      for (uint32_t other = 0; other < kind; ++other)
        ASSERT_NE(recordings_[other], recordings_[kind]) << "two kinds of recording look alike";
    }
    fs::remove(kRecordingPath);
    fs::remove(kStatePath);
  }

  // Checks one target file against the generations it may hold; returns what it holds.
  OnDisk check_snapshot(const std::set<OnDisk>& allowed) {
    const auto file = read_bytes(kStatePath);
    if (!file) {
      EXPECT_TRUE(allowed.contains(std::nullopt)) << "the snapshot file is gone";
      return std::nullopt;
    }
    const auto generation = snapshot_generation(*file);
    EXPECT_TRUE(generation.has_value()) << "torn snapshot of " << file->size() << " bytes";
    EXPECT_TRUE(allowed.contains(generation)) << "snapshot of generation " << generation.value_or(0)
                                              << " is neither the last one nor the one before";
    return generation;
  }

  OnDisk check_recording(const std::set<OnDisk>& allowed) {
    const auto file = read_bytes(kRecordingPath);
    if (!file) {
      EXPECT_TRUE(allowed.contains(std::nullopt)) << "the recording file is gone";
      return std::nullopt;
    }
    for (const OnDisk& generation : allowed)
      if (generation && *file == recordings_[*generation % kRecordingKinds]) return generation;
    ADD_FAILURE() << "torn or unexpected recording of " << file->size() << " bytes";
    return std::nullopt;
  }

  // Only the ROM, the two target files and their fixed temporary files.
  void check_folder_contents(int& torn_saves_left) {
    const std::set<std::string> expected = {"vorn.bin", "vorn.state", "default.raw", "vorn.state.tmp",
                                            "default.raw.tmp"};
    for (const auto& entry : fs::directory_iterator("data")) {
      const std::string name = entry.path().filename();
      EXPECT_TRUE(expected.contains(name)) << "unexpected file data/" << name;
      if (name.ends_with(".tmp")) ++torn_saves_left;
    }
  }

  fs::path folder_, home_;
  std::vector<Bytes> recordings_;
};

TEST_F(CrashSafetyTest, KilledWriterLeavesTheLastOrPreviousCompleteFiles) {
  ASSERT_NO_FATAL_FAILURE(make_reference_recordings());
  // Each kill waits for a chosen save of a chosen generation to begin and
  // then strikes a random moment later, mostly while the file is written.
  std::mt19937 random(1);
  std::uniform_int_distribution<int> delay_us(0, 400), step(0, 1), generations(0, 1);
  OnDisk snapshot, recording;  // what the disk holds between children
  uint32_t next = 0;
  int kills = 0, torn_saves_left = 0;
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;

  while (kills < kKills && std::chrono::steady_clock::now() < deadline && !HasFailure()) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(report[0]);
      save_forever(next, report[1]);
    }
    close(report[1]);
    const Step target_step = static_cast<Step>(step(random));
    const uint32_t target = next + static_cast<uint32_t>(generations(random));
    std::vector<uint32_t> begun;
    for (Report message; read(report[0], &message, sizeof message) == sizeof message;) {
      if (message.step == kSavingSnapshot) begun.push_back(message.generation);
      if (message.generation == target && message.step == target_step) break;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";
    ++kills;
    for (Report message; read(report[0], &message, sizeof message) == sizeof message;)
      if (message.step == kSavingSnapshot) begun.push_back(message.generation);
    close(report[0]);

    // The generation being written when the kill came, and the complete one
    // before it: written by this child, or what the disk held before it.
    std::set<OnDisk> snapshot_allowed = {snapshot}, recording_allowed = {recording};
    if (!begun.empty()) {
      snapshot_allowed = {begun.back()};
      recording_allowed = {begun.back()};
      if (begun.size() >= 2) {
        snapshot_allowed.insert(begun.end()[-2]);
        recording_allowed.insert(begun.end()[-2]);
      } else {
        snapshot_allowed.insert(snapshot);
        recording_allowed.insert(recording);
      }
      next = begun.back() + 1;
    }
    snapshot = check_snapshot(snapshot_allowed);
    recording = check_recording(recording_allowed);
    check_folder_contents(torn_saves_left);
  }
  EXPECT_GE(kills, 100) << "too few kills in the time allowed";

  // The next complete save replaces any temporary file left behind.
  write_generation(next);
  EXPECT_EQ(check_snapshot({next}), OnDisk(next));
  EXPECT_EQ(check_recording({next}), OnDisk(next));
  EXPECT_FALSE(fs::exists("data/vorn.state.tmp"));
  EXPECT_FALSE(fs::exists("data/default.raw.tmp"));
  std::cout << "kills survived: " << kills << ", generations written: " << next
            << ", temporary files found after a kill: " << torn_saves_left << "\n";
}

}  // namespace
