#include "tests/rom/tape_session.h"

namespace {

constexpr uint32_t kStep = 25;

// Runs in steps until `text` appears after the row where the command was
// typed, or until `frames` have passed.
bool run_until(RomMachine& vorn, const std::string& text, uint32_t frames) {
  for (uint32_t done = 0; done < frames; done += kStep) {
    vorn.run(kStep);
    if (vorn.screen_shows(text)) return true;
  }
  return false;
}

}  // namespace

uint32_t tape_frames(uint32_t length) {
  // 1.5 s of leaders, at most 1,300 T-states a bit, and slack.
  return 150 + static_cast<uint32_t>(uint64_t{length} * 8 * 1300 / kFrameTStates);
}

bool save_block(RomMachine& vorn, const std::string& name, uint16_t start, uint32_t length,
                bool keep_recording) {
  vorn.type("cls\n");
  if (!keep_recording) tape_record();
  char command[64];
  std::snprintf(command, sizeof command, "s \"%s\" %x %x\n", name.c_str(), start, length);
  vorn.type(command, 0);
  return run_until(vorn, "Saved", tape_frames(length));
}

std::string load_block(RomMachine& vorn, const std::string& name, uint32_t length) {
  vorn.type("cls\n");
  vorn.type(name.empty() ? "l\n" : "l \"" + name + "\"\n");
  tape_play();
  for (uint32_t done = 0; done < tape_frames(length) * 2; done += kStep) {
    vorn.run(kStep);
    if (vorn.screen_shows("Loaded")) return "Loaded";
    if (vorn.screen_shows("checksum error")) return "checksum error";
  }
  return "";
}

uint64_t last_edge() {
  uint64_t edge = 0;
  for (uint64_t i = 1; i < machine.tape.position; ++i)
    if (machine.tape.buffer[i] != machine.tape.buffer[i - 1] && machine.tape.buffer[i] != 127 &&
        machine.tape.buffer[i - 1] != 127)
      edge = i;
  return edge;
}
