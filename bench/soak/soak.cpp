// The soak: one emulated hour (180,000 frames) of a ROM while a script, the
// same every 12 seconds, records, stops, loads and plays tapes, saves and
// loads snapshots, loads the extra image and taps a key, frame by frame as
// the headless runner and the window program run it (actions, frame, keys).
// It checks that every file written is complete, prints the peak and
// current resident memory at frame 1,000 and at the end, and fails when the
// peak grew by more than 1 MiB. Built with LeakSanitizer, so a leak fails
// the run at exit. In an AddressSanitizer build run it with
// ASAN_OPTIONS=quarantine_size_mb=0: the sanitizer otherwise holds freed
// blocks back, up to 256 MiB, and the peak grows by that much.
//
//   soak [ROM [EXTRA-IMAGE [FRAMES]]]   (defaults: the built system ROM and
//                                        demo image, 180,000 frames)
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "machine/scancodes.h"

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kMemoryCheckFrame = 1'000;
constexpr uint32_t kCycleFrames = 600;
constexpr long kAllowedGrowthKiB = 1024;

// A figure of /proc/self/status, in KiB.
long status_kib(const char* field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0) return std::strtol(line.c_str() + std::string(field).size() + 1, nullptr, 10);
  return -1;
}

std::vector<uint8_t> read_bytes(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Checks {
  int files = 0, incomplete = 0;

  void expect(bool complete, const char* what, uint32_t frame) {
    ++files;
    if (!complete) {
      ++incomplete;
      std::fprintf(stderr, "frame %u: %s is incomplete\n", frame, what);
    }
  }
};

// The host keyboard as the runner keeps it: one byte per scancode now and
// at the end of the previous frame, and the hold counters.
struct Keyboard {
  std::vector<uint8_t> state = std::vector<uint8_t>(kScancodeCount, 0);
  std::vector<uint8_t> previous = std::vector<uint8_t>(kScancodeCount, 0);
  std::vector<uint32_t> hold = std::vector<uint32_t>(kScancodeCount, 0);

  void update() {
    keys_update({state.data(), previous.data(), hold.data(), static_cast<int>(state.size())});
    previous = state;
  }
};

// The script's actions before frame `frame`.
void act(uint32_t frame, Keyboard& keyboard, Checks& checks) {
  switch (frame % kCycleFrames) {
    case 10:
      machine_load_dev_image();
      break;
    case 20:
      tape_record();
      break;
    case 220: {
      const uint64_t length = machine.tape.position;
      tape_stop();
      checks.expect(fs::file_size(kRecordingPath) == length, kRecordingPath, frame);
      break;
    }
    case 230:
      tape_load(kRecordingPath);
      break;
    case 240:
      tape_play();
      break;
    case 300:
      keyboard.state[SCANCODE_SPACE] = 1;
      break;
    case 303:
      keyboard.state[SCANCODE_SPACE] = 0;
      break;
    case 400: {
      state_save();
      std::vector<uint8_t> image(kStateFileSize);
      state_save_image(image.data());
      checks.expect(read_bytes(kStatePath) == image, kStatePath, frame);
      break;
    }
    case 410:
      state_load();
      break;
    case 500:
      tape_stop();
      break;
  }
}

bool prepare(const fs::path& folder, const char* rom, const char* dev) {
  std::error_code error;
  fs::create_directories(folder / "data", error);
  fs::copy_file(rom, folder / kRomPath, fs::copy_options::overwrite_existing, error);
  if (error) return false;
  fs::copy_file(dev, folder / kDevImagePath, fs::copy_options::overwrite_existing, error);
  if (error) return false;
  fs::current_path(folder, error);
  return !error;
}

}  // namespace

int main(int argc, char** argv) {
  const char* rom = argc > 1 ? argv[1] : VORN_SYSTEM_ROM;
  const char* dev = argc > 2 ? argv[2] : VORN_DEMO_IMAGE;
  const uint32_t frames = argc > 3 ? static_cast<uint32_t>(std::strtoul(argv[3], nullptr, 10)) : 180'000;
  const fs::path folder = fs::temp_directory_path() / ("vorn_soak_" + std::to_string(getpid()));
  if (frames < kMemoryCheckFrame || !prepare(folder, rom, dev)) {
    std::fprintf(stderr, "usage: soak [ROM [EXTRA-IMAGE [FRAMES >= %u]]]; cannot use %s and %s\n",
                 kMemoryCheckFrame, rom, dev);
    return 2;
  }
  if (machine_init() != 0) {
    std::fprintf(stderr, "the machine does not start\n");
    return 1;
  }

  Keyboard keyboard;
  Checks checks;
  long early_peak = 0, early_resident = 0;
  const auto start = std::chrono::steady_clock::now();
  for (uint32_t frame = 1; frame <= frames; ++frame) {
    act(frame, keyboard, checks);
    machine_frame();
    keyboard.update();
    if (frame == kMemoryCheckFrame) {
      early_peak = status_kib("VmHWM:");
      early_resident = status_kib("VmRSS:");
    }
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const long late_peak = status_kib("VmHWM:"), late_resident = status_kib("VmRSS:");
  machine_free();
  std::error_code ignored;
  fs::current_path(folder.parent_path(), ignored);
  fs::remove_all(folder, ignored);

  std::printf("soak: %u frames (%.1f emulated minutes) in %.1f s, %.1f frames/s\n", frames,
              frames / 50.0 / 60.0, seconds, frames / seconds);
  std::printf("peak resident memory: %ld KiB at frame %u, %ld KiB at frame %u (grew %ld KiB)\n",
              early_peak, kMemoryCheckFrame, late_peak, frames, late_peak - early_peak);
  std::printf("resident memory: %ld KiB at frame %u, %ld KiB at frame %u\n", early_resident,
              kMemoryCheckFrame, late_resident, frames);
  std::printf("files written and checked: %d, incomplete: %d\n", checks.files, checks.incomplete);
  const bool grew = late_peak - early_peak > kAllowedGrowthKiB;
  if (grew) std::printf("FAIL: the peak grew by more than 1 MiB\n");
  return grew || checks.incomplete > 0 ? 1 : 0;
}
