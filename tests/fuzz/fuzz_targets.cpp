// The libFuzzer targets: each program runs the function below that
// VORN_FUZZ_TARGET names, on inputs in that function's own format. A fault
// found is reported with a message and an abort, which libFuzzer records with
// the input that caused it.
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/z80.h"
#include "host/config.h"
#include "machine/loaders.h"
#include "machine/machine.h"
#include "tools/headless/options.h"
#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

void check(bool holds, const char* fault) {
  if (holds) return;
  std::fprintf(stderr, "fault: %s\n", fault);
  std::abort();
}

// The longest pass of the run loop: 23 T-states, for EX (SP),IX, INC (IX+d)
// and the DDCB group. No interrupt response is longer: mode 2 takes 19, and
// mode 0 runs the opcode on the data bus (every byte it fetches is that same
// byte), at most EX (SP),HL at 19 + 2. A run of n T-states ends before
// n + kLongestPass.
constexpr uint32_t kLongestPass = 23;

// The sandbox machine's ROM jumps here at reset.
constexpr uint16_t kProgramStart = 0x4000;

std::vector<KeyLegend> layout;

}  // namespace

// The machine, set up once in a folder of its own that becomes the working
// directory, so that every "data/..." file it reads or writes stays in there
// (corpus and artifact paths must be absolute). Its ROM jumps to 0x4000 at
// reset, has EI and RET at the mode 1 interrupt address and RETN at the NMI
// address. The keyboard layout is read for the command-line target.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A memory file system when there is one: the loaders target writes 26 MB tapes.
  static std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm/vorn_fuzz_XXXXXX" : "/tmp/vorn_fuzz_XXXXXX";
  check(mkdtemp(folder.data()) != nullptr, "no sandbox folder");
  std::atexit([] { std::filesystem::remove_all(folder); });
  std::filesystem::create_directory(folder + "/data");
  std::filesystem::current_path(folder);
  char rom[0x68] = {'\xC3', '\x00', '\x40'};  // JP 4000h
  rom[0x38] = '\xFB', rom[0x39] = '\xC9';      // EI; RET
  rom[0x66] = '\xED', rom[0x67] = '\x45';      // RETN
  std::ofstream(kRomPath, std::ios::binary).write(rom, sizeof rom);
  check(machine_init() == 0, "the sandbox machine does not start");
  std::string error;
  check(keyboard_layout_read(VORN_KEYBOARD_LAYOUT, layout, error), "the keyboard layout cannot be read");
  return 0;
}

// The processor on anything: any record (interrupt mode, pending NMI and
// interrupt, EI delay, HALT, a mode 0 opcode on the data bus, the bus-opcode
// flag), any port values, any 64 KiB of memory, any budget. Every run must
// come back having run its budget and less than one more pass of the run
// loop, with no undefined behaviour on the way.
//
// Input: the record's 69-byte image, the budget (2 bytes, little-endian), 16
// port values read in turn, a flags byte (bit 0: execute one instruction
// first, which honours the bus-opcode flag), then memory, repeated to 64 KiB.
int core_fuzz(const uint8_t* data, size_t size) {
  constexpr size_t kPortsAt = kZ80ImageSize + 2, kFlagsAt = kPortsAt + 16, kMemoryAt = kFlagsAt + 1;
  static std::array<uint8_t, 0x10000> memory;
  static const uint8_t* ports;
  static size_t port_reads;
  if (size < kMemoryAt) return -1;
  ports = data + kPortsAt;
  port_reads = 0;
  for (size_t i = 0; i < memory.size(); ++i)
    memory[i] = size == kMemoryAt ? 0 : data[kMemoryAt + i % (size - kMemoryAt)];
  Z80State s{};
  s.read_mem = [](void*, uint16_t address) { return memory[address]; };
  s.write_mem = [](void*, uint16_t address, uint8_t value) { memory[address] = value; };
  s.read_port = [](void*, uint16_t) { return ports[port_reads++ % 16]; };
  s.write_port = [](void*, uint16_t, uint8_t) {};
  z80_state_from_image(&s, data);
  if (data[kFlagsAt] & 1) z80_execute(&s);
  const uint32_t budget = data[kZ80ImageSize] | data[kZ80ImageSize + 1] << 8;
  const uint32_t ran = z80_run(&s, budget);
  check(ran == s.cycles, "the result differs from the T-state count");
  check(budget == 0 ? ran == 0 : ran >= budget && ran < budget + kLongestPass,
        "the run ended outside its budget plus one pass");
  return 0;
}

// The disassembler on any bytes at any address: a length of 1 to 4 and a text
// of 1 to 32 printable ASCII characters; into a smaller buffer the same
// length and the text cut short, NUL-terminated, never written past the end.
//
// Input: the address (2 bytes, little-endian), then memory, repeated to 64 KiB.
int disassemble_fuzz(const uint8_t* data, size_t size) {
  static const uint8_t* bytes;
  static size_t count;
  if (size < 2) return -1;
  const auto address = static_cast<uint16_t>(data[0] | data[1] << 8);
  bytes = data + 2;
  count = size - 2;
  const BusRead read = [](void*, uint16_t at) { return count == 0 ? uint8_t{0} : bytes[at % count]; };
  char text[64];
  std::memset(text, 'x', sizeof text);
  const int length = z80_disassemble(read, nullptr, address, text, sizeof text);
  const size_t characters = strnlen(text, sizeof text);
  check(characters < sizeof text, "no NUL");
  check(length >= 1 && length <= 4, "a length outside 1 to 4");
  check(characters >= 1 && characters <= 32 &&
            std::all_of(text, text + characters, [](char c) { return c >= 0x20 && c <= 0x7E; }),
        "a text empty, longer than 32 characters or not printable ASCII");
  for (size_t small = 0; small <= characters; ++small) {
    // Exactly sized on the heap, so that AddressSanitizer sees a write past the end.
    const auto cut = std::make_unique<char[]>(std::max<size_t>(small, 1));
    check(z80_disassemble(read, nullptr, address, cut.get(), small) == length, "the length depends on the buffer");
    check(small == 0 || (std::strlen(cut.get()) == small - 1 && std::strncmp(cut.get(), text, small - 1) == 0),
          "a short buffer does not hold the text cut short");
  }
  return 0;
}

// A snapshot of any size and content, every processor field holding anything
// (interrupt mode 3 to 255, pending NMI and interrupt, HALT, the bus-opcode
// flag, any T-state count). Loading it must keep the machine's own bus, put
// the image's RAM part in RAM (zeros after a short one) and leave the
// machine reset when the image is shorter than the record; then every frame
// must run its 50,000 T-states and return, and the ROM stay as it was.
int state_fuzz(const uint8_t* data, size_t size) {
  static const std::vector<uint8_t> rom(machine.memory, machine.memory + kRomSize);
  state_load_image(data, size);
  const Z80State& cpu = machine.cpu;
  check(cpu.read_mem == machine_mem_read && cpu.write_mem == machine_mem_write &&
            cpu.read_port == machine_port_in && cpu.write_port == machine_port_out,
        "the snapshot replaced the machine's bus callbacks");
  const size_t taken = size < kZ80ImageSize ? 0 : std::min<size_t>(size - kZ80ImageSize, kRamSize);
  const uint8_t* ram = machine.memory + kRamStart;
  check((taken == 0 || std::memcmp(ram, data + kZ80ImageSize, taken) == 0) &&
            std::all_of(ram + taken, ram + kRamSize, [](uint8_t b) { return b == 0; }),
        "RAM does not hold the snapshot's RAM part");
  check(size >= kZ80ImageSize || cpu.pc == 0, "a short snapshot left the processor unreset");
  for (int frame = 0; frame < 3; ++frame) {
    machine_frame();
    check(cpu.cycles >= kFrameTStates && cpu.cycles < kFrameTStates + kLongestPass,
          "a frame ran outside its 50,000 T-states plus one pass");
  }
  check(std::equal(rom.begin(), rom.end(), machine.memory), "the ROM changed");
  return 0;
}

// The tape deck at the end of its tape: a tape of any samples is loaded, the
// deck plays or records from just before (or past) the end, and a program of
// the input's choosing reads and writes port 0x80 across it. The deck must
// stop itself at the end with the head on the last sample, a recording must
// be written whole, and nothing stored past the buffer. Playing 30,000
// frames to get there would take minutes, so the tape clock is set near the
// end directly.
//
// Input: a flags byte (bits 0-1: play, record, record then play, play then
// record, switching after the first frame), the start's distance before the
// end in T-states (4 bytes, little-endian, modulo 400,000, less 100,000, so
// that it may lie past the end), the number of frames (1 to 8), the
// program's length (1 byte) and bytes, run from 0x4000; the rest is the tape.
int tape_fuzz(const uint8_t* data, size_t size) {
  constexpr uint64_t kTapeEndTStates = kTapeSamples * kClockHz / kSampleRate;
  static_assert(kTapeEndTStates * kSampleRate == kTapeSamples * kClockHz);
  const auto sample_at = [](uint64_t t_states) { return t_states * kSampleRate / kClockHz; };
  const auto start = [&](bool record, uint64_t clock) {
    record ? tape_record() : tape_play();
    machine.tape.cycle_counter = clock;
    machine.tape.position = sample_at(clock);
  };
  // A stopped recording is in "data/default.raw", as long as the head had gone.
  const auto check_recording_written = [](uint64_t length) {
    std::error_code error;
    check(std::filesystem::file_size(kRecordingPath, error) == length && !error,
          "the recording written is missing or not as long as the tape ran");
    std::filesystem::remove(kRecordingPath, error);
  };
  if (size < 7) return -1;
  const uint32_t distance = data[1] | data[2] << 8 | data[3] << 16 | static_cast<uint32_t>(data[4]) << 24;
  const int frames = 1 + data[5] % 8;
  const size_t program_size = std::min<size_t>(data[6], size - 7);
  tape_load_samples(data + 7 + program_size, size - 7 - program_size);
  machine_reset();
  std::copy_n(data + 7, program_size, machine.memory + kProgramStart);
  machine.cpu.pc = kProgramStart;

  bool recording = (data[0] & 3) == 1 || (data[0] & 3) == 2;
  const bool switch_deck = (data[0] & 3) >= 2;
  uint64_t clock = kTapeEndTStates + 100'000 - distance % 400'000;
  start(recording, clock);
  for (int frame = 0; frame < frames; ++frame) {
    if (frame == 1 && switch_deck && machine.tape.state != TAPE_STOPPED) {
      const uint64_t reached = machine.tape.position;
      start(!recording, clock);
      if (recording) check_recording_written(reached);
      recording = !recording;
    }
    const bool running = machine.tape.state != TAPE_STOPPED;
    machine_frame();
    if (!running) continue;
    clock += machine.cpu.cycles;
    const uint64_t end = sample_at(clock);
    if (end < kTapeSamples) {
      check(machine.tape.state != TAPE_STOPPED, "the deck stopped before the end");
      check(machine.tape.position == end, "the head is not where the frame ended");
      continue;
    }
    check(machine.tape.state == TAPE_STOPPED, "the deck ran past the end of the tape");
    check(machine.tape.position == kTapeSamples, "the head is not on the end of the tape");
    if (recording) check_recording_written(kTapeSamples);
  }
  if (machine.tape.state == TAPE_RECORDING) {
    const uint64_t reached = machine.tape.position;
    tape_stop();
    check_recording_written(reached);
  }
  tape_stop();
  return 0;
}

// The ROM, extra-image and tape loaders at every size around their limits,
// from memory and from a file: each must take exactly the first
// min(size, limit) bytes into its own region and touch nothing else; the
// tape after them is silent.
//
// Input: the loader (byte 0: ROM bytes, extra-image bytes, tape samples,
// extra-image file, tape file), the size (byte 1: with bit 7 clear, the limit
// plus byte 2 read as signed; with it set, the content's length), then the
// content, repeated to the size.
int loaders_fuzz(const uint8_t* data, size_t size) {
  if (size < 3) return -1;
  const int loader = data[0] % 5;
  const bool tape = loader == 2 || loader == 4;
  const size_t limit = tape ? kTapeSamples : loader == 0 ? kRomSize : kDevImageMaxSize;
  const size_t length = data[1] & 0x80 ? size - 3 : limit + static_cast<size_t>(static_cast<int8_t>(data[2]));
  std::vector<uint8_t> bytes(length);
  size_t filled = std::min(size - 3, length);
  std::copy_n(data + 3, filled, bytes.begin());
  for (; filled > 0 && filled < length; filled *= 2)  // doubling: a tape is 26 MB
    std::copy_n(bytes.begin(), std::min(filled, length - filled), bytes.begin() + filled);

  const std::vector<uint8_t> before(machine.memory, machine.memory + kMemorySize);
  const char* file = loader == 3 ? kDevImagePath : "data/fuzz.raw";
  if (loader >= 3) std::ofstream(file, std::ios::binary).write(reinterpret_cast<char*>(bytes.data()), length);
  if (loader == 0) machine_load_rom_image(bytes.data(), length);
  if (loader == 1) machine_load_dev_bytes(bytes.data(), length);
  if (loader == 2) tape_load_samples(bytes.data(), length);
  if (loader == 3) machine_load_dev_image();
  if (loader == 4) tape_load(file);
  const size_t taken = std::min(length, limit), start = tape || loader == 0 ? 0 : kDevImageStart;
  const uint8_t* region = tape ? machine.tape.buffer : machine.memory + start;
  check(taken == 0 || std::memcmp(bytes.data(), region, taken) == 0, "the loaded region does not hold the first bytes");
  // All silent: the first sample after them is, and each equals the next.
  const size_t rest = tape ? kTapeSamples - taken : 0;
  check(rest == 0 || (region[taken] == kSilentSample && std::memcmp(region + taken, region + taken + 1, rest - 1) == 0),
        "the tape after the loaded samples is not silent");
  const size_t end = tape ? 0 : start + taken;  // memory outside [start, end) must not change
  check(std::equal(before.begin(), before.begin() + start, machine.memory) &&
            std::equal(before.begin() + end, before.end(), machine.memory + end),
        "the loader changed memory outside its region");
  return 0;
}

// The configuration reader on any bytes (lines of any length, NUL bytes, no
// final newline): the tape list must come out well formed, "default.raw"
// first and 1 to 5 names, each a single NUL-terminated token of 1 to 63
// characters.
int config_fuzz(const uint8_t* data, size_t size) {
  // An empty memory stream cannot be opened; an empty file reads the same.
  std::FILE* file = size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");
  check(file != nullptr, "cannot open the input");
  TapeList list;
  tape_list_reset(list);
  config_read(file, list);
  std::fclose(file);
  check(list.count >= 1 && list.count <= kMaxTapes, "the tape list has a bad count");
  check(std::strcmp(list.names[0], kRecordingName) == 0, "the recording is not the first tape");
  for (int i = 0; i < list.count; ++i) {
    const size_t length = strnlen(list.names[i], sizeof list.names[i]);
    check(length > 0 && length < sizeof list.names[i] && std::strcspn(list.names[i], " \t\r\n") == length,
          "a tape name is not a single token");
  }
  return 0;
}

// The headless runner's command line on anything: arguments split at NUL
// bytes, parsed, typed text turned into key strokes with the machine's
// keyboard layout, the plan ordered. A bad command line gives a one-line
// message; a good one a plan in frame order, within the run (a --tap's
// release may fall later), every key action with a host key.
int headless_options_fuzz(const uint8_t* data, size_t size) {
  const auto one_line = [](const std::string& error) { return !error.empty() && error.find('\n') == error.npos; };
  std::vector<std::string> args(1);
  for (size_t i = 0; i < size; ++i)
    if (data[i] == '\0')
      args.emplace_back();
    else
      args.back() += static_cast<char>(data[i]);
  RunOptions options;
  std::string error;
  if (!parse_options(args, options, error)) {
    check(one_line(error), "a bad command line gave no one-line message");
    return 0;
  }
  if (options.help) return 0;
  check(options.frames >= 1 && options.frames <= kMaxFrames, "the frame count is out of range");
  for (const Action& action : options.actions)
    check(action.kind == ActionKind::KeyUp || (action.frame >= 1 && action.frame <= options.frames),
          "an action lies outside the run");
  if (!expand_typing(layout, options.actions, error)) {
    check(one_line(error), "text that cannot be typed gave no one-line message");
    return 0;
  }
  sort_actions(options.actions);
  for (size_t i = 0; i < options.actions.size(); ++i) {
    const Action& action = options.actions[i];
    check(i == 0 || action.frame >= options.actions[i - 1].frame, "the actions are out of order");
    check(action.kind != ActionKind::Type, "typed text was left unexpanded");
    check((action.kind != ActionKind::KeyDown && action.kind != ActionKind::KeyUp) || action.scancode >= 0,
          "a key action has no host key");
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) { return VORN_FUZZ_TARGET(data, size); }
