// The Vorn with its system ROM, driven frame by frame the way the window
// program drives it: host keys due at a frame go down or up, the frame runs,
// then keys_update turns the host keys into the matrix. Each test runs in a
// fresh working directory holding data/. The machine is process-wide, so only
// one fixture lives at a time.
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
#include "tools/headless/screen_text.h"
#include "tools/headless/typing.h"

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

inline Bytes read_bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
inline void write_bytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
inline bool all_are(const uint8_t* begin, const uint8_t* end, uint8_t value) {
  return std::all_of(begin, end, [=](uint8_t b) { return b == value; });
}
// The system ROM, or another of the machine's data files.
inline Bytes data_file(const std::string& name) {
  const Bytes bytes = read_bytes(VORN_DATA "/" + name);
  EXPECT_FALSE(bytes.empty()) << name << " is missing";
  return bytes;
}
inline uint16_t rom_symbol(const std::string& name) {
  const int32_t value = read_symbol(VORN_DATA "/vorn.sym", name);
  EXPECT_GE(value, 0) << "no symbol " << name;
  return static_cast<uint16_t>(value);
}
// Port accesses made `t` T-states into the frame.
inline uint8_t in_at(uint32_t t, uint16_t port) {
  machine.cpu.cycles = t;
  return machine_port_in(nullptr, port);
}
inline void out_at(uint32_t t, uint8_t value, uint16_t port = 0x80) {
  machine.cpu.cycles = t;
  machine_port_out(nullptr, port, value);
}

// The editing keys' codes, which type() gives with Ctrl.
inline const std::string kBreak = "\x03", kDel = "\x08", kLeft = "\x11", kRight = "\x12", kUp = "\x13";

class Vorn : public ::testing::Test {
 protected:
  Vorn() {
    fs::remove_all(dir);
    fs::create_directories(dir / "data");
    fs::current_path(dir);
  }
  ~Vorn() override {
    machine_free();
    fs::current_path(previous);
    fs::remove_all(dir);
  }
  // A fresh machine with the system ROM, run until BASIC is Ready; then, for
  // the monitor's tests, MON typed, which leaves the monitor at its prompt.
  void start(bool monitor = true) {
    write_bytes("data/vorn.bin", data_file("vorn.bin"));
    machine_free();
    machine = Machine{};
    ASSERT_EQ(machine_init(), 0);
    run(10);
    if (monitor) type("mon\n");
  }
  void run(uint32_t frames) {
    for (uint32_t i = 0; i < frames; ++i) {
      for (++frame; !pending.empty() && pending.front().frame <= frame; pending.erase(pending.begin()))
        keys[pending.front().scancode] = pending.front().kind == ActionKind::KeyDown;
      machine_frame();
      keys_update({keys.data(), keys_before.data(), hold_counters.data(), kScancodeCount});
      keys_before = keys;
      sound.insert(sound.end(), machine.speaker, machine.speaker + kSamplesPerFrame);
    }
  }
  // Types text with the machine's layout ("\n" is RETURN) and runs until the
  // last key is up, plus `settle` frames.
  void type(const std::string& text, uint32_t settle = 10) {
    std::vector<KeyLegend> layout;
    std::string error;
    ASSERT_TRUE(keyboard_layout_read(VORN_DATA "/keyboard.txt", layout, error)) << error;
    pending = {{frame + 1, ActionKind::Type, -1, text, 0}};
    ASSERT_TRUE(expand_typing(layout, pending, error)) << error;
    run(pending.back().frame - frame + settle);
  }
  std::vector<std::string> screen() const { return screen_text(machine.memory, rom_symbol("font")); }
  bool shows(const std::string& text) const { return screen_shows(machine.memory, rom_symbol("font"), text); }
  std::string prompt_row() const {  // the lowest row that starts with ">"
    const auto rows = screen();
    const auto row = std::find_if(rows.rbegin(), rows.rend(), [](auto& r) { return r.rfind(">", 0) == 0; });
    return row == rows.rend() ? "" : *row;
  }
  // Saves with S while the deck records (appending to the recording when
  // `append`) for as long as `length` bytes can take: 1.5 s of leaders, at
  // most 1,300 T-states a bit, and slack. True when "Saved" shows.
  bool save_block(const std::string& name, uint16_t start, uint32_t length, bool append = false) {
    if (!append) tape_record();
    char command[64];
    std::snprintf(command, sizeof command, "cls\ns \"%s\" %x %x\n", name.c_str(), start, length);
    type(command, 150 + length * 8 * 1300 / kFrameTStates);
    return shows("Saved");
  }
  // Loads with L, the deck stopped while it is typed and then played from its
  // start: "Loaded", "checksum error" or "" for neither.
  std::string load_block(const std::string& name, uint32_t length) {
    tape_stop();
    type("cls\nl \"" + name + "\"\n");
    tape_play();
    run(300 + length * 16 * 1300 / kFrameTStates);
    return shows("Loaded") ? "Loaded" : shows("checksum error") ? "checksum error" : "";
  }

  fs::path previous = fs::current_path();
  fs::path dir = fs::temp_directory_path() / ("vorn-test-" + std::to_string(getpid()));
  Bytes keys = Bytes(kScancodeCount), keys_before = Bytes(kScancodeCount);
  std::vector<uint32_t> hold_counters = std::vector<uint32_t>(kScancodeCount);
  std::vector<Action> pending;
  uint32_t frame = 0;
  Bytes sound;  // the speaker samples of every frame run
};
