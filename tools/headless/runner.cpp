#include "tools/headless/runner.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "machine/file_io.h"
#include "machine/machine.h"
#include "machine/scancodes.h"
#include "tools/headless/png_file.h"
#include "tools/headless/screen_text.h"
#include "tools/headless/wav_file.h"

namespace {

constexpr int kUntilMissed = 3;
constexpr const char* kSymbolPath = "data/vorn.sym";

// The host keyboard arrays the window program keeps across frames.
struct Keyboard {
  std::vector<uint8_t> state = std::vector<uint8_t>(kScancodeCount);
  std::vector<uint8_t> previous = std::vector<uint8_t>(kScancodeCount);
  std::vector<uint32_t> hold_counters = std::vector<uint32_t>(kScancodeCount);

  HostKeyboard view() {
    return {state.data(), previous.data(), hold_counters.data(), kScancodeCount};
  }
};

void apply(const Action& action, Keyboard& keyboard) {
  switch (action.kind) {
    case ActionKind::KeyDown: keyboard.state[action.scancode] = 1; break;
    case ActionKind::KeyUp: keyboard.state[action.scancode] = 0; break;
    case ActionKind::Type: break;  // expanded into key actions before the run
    case ActionKind::TapeLoad: tape_load(action.text.c_str()); break;
    case ActionKind::TapePlay: tape_play(); break;
    case ActionKind::TapeRecord: tape_record(); break;
    case ActionKind::TapeStop: tape_stop(); break;
    case ActionKind::SaveState: state_save(); break;
    case ActionKind::LoadState: state_load(); break;
    case ActionKind::LoadDev: machine_load_dev_image(); break;
    case ActionKind::Reset: machine_reset(); break;
  }
}

bool write_capture(const Capture& capture) {
  const bool written =
      capture.png ? write_frame_png(capture.path, machine.frame_buffer)
                  : write_file_replacing(capture.path.c_str(), machine.memory, kMemorySize);
  if (!written) std::fprintf(stderr, "vorn-headless: cannot write %s\n", capture.path.c_str());
  return written;
}

// `font` is the system ROM's character set, for --until.
int run_frames(RunOptions& options, WavFile* wav, uint16_t font) {
  sort_actions(options.actions);
  std::stable_sort(options.captures.begin(), options.captures.end(),
                   [](const Capture& a, const Capture& b) { return a.frame < b.frame; });
  Keyboard keyboard;
  auto action = options.actions.begin();
  auto capture = options.captures.begin();
  bool until_shown = false;
  for (uint32_t frame = 1; frame <= options.frames; ++frame) {
    for (; action != options.actions.end() && action->frame == frame; ++action)
      apply(*action, keyboard);
    machine_frame();
    keys_update(keyboard.view());
    keyboard.previous = keyboard.state;
    // A frame that made no sound left its buffer at the rest level 127.
    if (wav && !wav->append(machine.speaker, kSamplesPerFrame)) {
      std::fprintf(stderr, "vorn-headless: cannot write %s\n", options.wav_path.c_str());
      return 1;
    }
    for (; capture != options.captures.end() && capture->frame == frame; ++capture)
      if (!write_capture(*capture)) return 1;
    if (!options.until.empty() && screen_shows(machine.memory, font, options.until)) {
      std::printf("frame %u shows '%s'\n", frame, options.until.c_str());
      until_shown = true;
      break;
    }
  }
  if (wav && !wav->close()) {
    std::fprintf(stderr, "vorn-headless: cannot write %s\n", options.wav_path.c_str());
    return 1;
  }
  if (!options.until.empty() && !until_shown) {
    std::fprintf(stderr, "vorn-headless: '%s' did not show in %u frames\n", options.until.c_str(),
                 options.frames);
    return kUntilMissed;
  }
  return 0;
}

}  // namespace

int run_headless(RunOptions& options) {
  const int32_t font = options.until.empty() ? 0 : read_symbol(kSymbolPath, "font");
  if (font < 0) {
    std::fprintf(stderr, "vorn-headless: --until needs the ROM's character set: no symbol font in %s\n",
                 kSymbolPath);
    return 1;
  }
  WavFile wav;
  if (!options.wav_path.empty() && !wav.open(options.wav_path)) {
    std::fprintf(stderr, "vorn-headless: cannot create %s\n", options.wav_path.c_str());
    return 1;
  }
  if (machine_init() != 0) {
    machine_free();
    std::fprintf(stderr, "vorn-headless: cannot start the machine: data/vorn.bin is missing or "
                         "unreadable (run in the folder that holds data/)\n");
    return 1;
  }
  const int status =
      run_frames(options, options.wav_path.empty() ? nullptr : &wav, static_cast<uint16_t>(font));
  machine_free();
  return status;
}
