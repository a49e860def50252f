// No crash loses a file: a child process saves snapshots and recordings in a
// loop, the test kills it with SIGKILL at random moments, and after every kill
// "data/vorn.state" and "data/default.raw" must each be a complete file, the
// one being written or the one before it, never a torn one. A save goes to a
// temporary file of a fixed name renamed over the old file, so only those
// temporary files may be left, and the next save replaces them.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using OnDisk = std::optional<uint32_t>;  // the generation a file holds; none before the first

// Generation g saves a snapshot whose RAM starts with g (4 bytes,
// little-endian) and goes on with a pattern of g, and a recording of
// 1 + g % 3 frames at the level of g's bit 0: six kinds of recording.
uint8_t ram_byte(uint32_t generation, size_t offset) {
  return static_cast<uint8_t>(offset < 4 ? generation >> (8 * offset) : generation * 31 + offset * 7);
}

// Writes `generation`. With a pipe `report`, announces on it each save just
// before it begins: 2g for the snapshot, 2g + 1 for the recording.
void write_generation(uint32_t generation, int report = -1) {
  const auto announce = [&](uint32_t message) {
    if (report >= 0 && write(report, &message, sizeof message) != sizeof message) _exit(1);
  };
  machine_reset();
  for (size_t i = 0; i < kRamSize; ++i) machine.memory[kRamStart + i] = ram_byte(generation, i);
  announce(2 * generation);
  state_save();
  tape_record();
  for (uint32_t frame = 0; frame <= generation % 3; ++frame) machine_frame();
  announce(2 * generation + 1);
  tape_stop();
}

std::optional<Bytes> read_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

TEST(CrashSafetyTest, KilledWriterLeavesTheLastOrPreviousCompleteFiles) {
  char pattern[] = "/tmp/vorn_crash_safety_XXXXXX";
  const fs::path folder = mkdtemp(pattern), home = fs::current_path();
  const std::shared_ptr<void> cleanup(nullptr, [&](void*) {  // whatever ends the test
    machine_free();
    fs::current_path(home);
    fs::remove_all(folder);
  });
  fs::create_directory(folder / "data");
  // loop: LD A,(4000h); RRCA; OUT (80h),A; JR loop. The output follows bit 0
  // of the byte at 0x4000, so a recording is all one level.
  std::ofstream(folder / "data/vorn.bin", std::ios::binary).write("\x3A\x00\x40\x0F\xD3\x80\x18\xF8", 8);
  fs::current_path(folder);
  ASSERT_EQ(machine_init(), 0);
  std::vector<Bytes> recordings;  // of each kind
  for (uint32_t kind = 0; kind < 6; ++kind) {
    write_generation(kind);
    recordings.push_back(read_bytes(kRecordingPath).value_or(Bytes{}));
    for (uint32_t other = 0; other < kind; ++other)
      ASSERT_NE(recordings[other], recordings[kind]) << "two kinds of recording look alike";
  }
  fs::remove(kRecordingPath);
  fs::remove(kStatePath);

  // What each file holds, which must be one of `allowed`.
  const auto snapshot_held = [](const std::set<OnDisk>& allowed) {
    const auto file = read_bytes(kStatePath);
    OnDisk generation;
    if (file && file->size() == kStateFileSize) {
      const uint8_t* ram = file->data() + kZ80ImageSize;
      generation = ram[0] | ram[1] << 8 | ram[2] << 16 | static_cast<uint32_t>(ram[3]) << 24;
      for (size_t i = 0; generation && i < kRamSize; ++i)
        if (ram[i] != ram_byte(*generation, i)) generation.reset();
    }
    EXPECT_TRUE(!file || generation) << "torn snapshot of " << file->size() << " bytes";
    EXPECT_TRUE(allowed.contains(generation)) << "the snapshot holds generation " << generation.value_or(0)
                                              << (file ? "" : " (no file)") << ", not the last or the one before";
    return generation;
  };
  const auto recording_held = [&](const std::set<OnDisk>& allowed) {
    const auto file = read_bytes(kRecordingPath);
    for (const OnDisk& generation : allowed)
      if (file ? generation && *file == recordings[*generation % 6] : !generation) return generation;
    ADD_FAILURE() << "the recording is " << (file ? "torn, or not the last or the one before" : "gone");
    return OnDisk();
  };

  // Each kill waits for a chosen save of a chosen generation to begin, then
  // strikes a random moment later, mostly while the file is written.
  std::mt19937 random(1);
  std::uniform_int_distribution<uint32_t> delay_us(0, 400), announcement(0, 3);
  OnDisk snapshot, recording;
  uint32_t next = 0;
  int kills = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (kills < 150 && std::chrono::steady_clock::now() < deadline && !testing::Test::HasFailure()) {
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(report[0]);
      for (uint32_t generation = next;; ++generation) write_generation(generation, report[1]);
    }
    close(report[1]);
    const uint32_t target = 2 * next + announcement(random);
    std::vector<uint32_t> begun;  // generations whose snapshot save began
    const auto take = [&](uint32_t message) {
      if (message % 2 == 0) begun.push_back(message / 2);
      return message == target;
    };
    uint32_t message;
    for (bool reached = false; !reached && read(report[0], &message, sizeof message) == sizeof message;)
      reached = take(message);
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the writer ended by itself";
    ++kills;
    while (read(report[0], &message, sizeof message) == sizeof message) take(message);
    close(report[0]);

    // The generation begun last, and the complete one before it: this
    // child's, or what the disk held before the child.
    const auto allowed = [&](OnDisk before) {
      if (begun.empty()) return std::set<OnDisk>{before};
      return std::set<OnDisk>{begun.back(), begun.size() >= 2 ? OnDisk(begun.end()[-2]) : before};
    };
    snapshot = snapshot_held(allowed(snapshot));
    recording = recording_held(allowed(recording));
    if (!begun.empty()) next = begun.back() + 1;
    for (const auto& entry : fs::directory_iterator("data"))
      EXPECT_TRUE(std::set<fs::path>({"vorn.bin", "vorn.state", "default.raw", "vorn.state.tmp", "default.raw.tmp"})
                      .contains(entry.path().filename()))
          << "unexpected file " << entry.path();
  }
  EXPECT_GE(kills, 100) << "too few kills in the time allowed";

  write_generation(next);  // a complete save replaces any temporary file left
  EXPECT_EQ(snapshot_held({next}), OnDisk(next));
  EXPECT_EQ(recording_held({next}), OnDisk(next));
  EXPECT_FALSE(fs::exists("data/vorn.state.tmp"));
  EXPECT_FALSE(fs::exists("data/default.raw.tmp"));
}

}  // namespace
