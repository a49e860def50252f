// The Z80 processor core: one record holds the whole processor, and every
// operation works on the record it is handed. The core reaches memory and
// ports only through the four callbacks bound into the record, except that it
// reads plain memory directly when the record points it there.
#pragma once

#include <cstddef>
#include <cstdint>

// Bus callbacks. Addresses are 16 bits; the second byte of a word at 0xFFFF
// comes from 0x0000. A callback may read the record (its `cycles` tells where
// in time the access falls) but never changes it.
using BusRead = uint8_t (*)(void* context, uint16_t address);
using BusWrite = void (*)(void* context, uint16_t address, uint8_t value);

// Flag bits of F.
enum : uint8_t {
  FLAG_C = 0x01,
  FLAG_N = 0x02,
  FLAG_PV = 0x04,
  FLAG_X = 0x08,
  FLAG_H = 0x10,
  FLAG_Y = 0x20,
  FLAG_Z = 0x40,
  FLAG_S = 0x80,
};

// The processor record. `Z80State s{};` is an all-zero record. Its stored
// form is the 69-byte image written by z80_state_to_image.
struct Z80State {
  uint8_t f, a, c, b, e, d, l, h;
  uint16_t ix, iy, sp;
  uint8_t f_alt, a_alt, c_alt, b_alt, e_alt, d_alt, l_alt, h_alt;
  uint8_t alt_spare[6];
  uint16_t pc;
  uint8_t r, i, iff1, iff2, im;
  BusRead read_mem;
  BusWrite write_mem;
  void* mem_ctx;
  // Memory whose reads the core may take directly: when set, every memory
  // read (opcode fetches, operands, pops, block instructions, interrupt
  // vectors) takes plain_memory[address] instead of calling read_mem, after
  // charging the same T-states at the same moment. Set it only to 65,536
  // bytes from which read_mem would return exactly the byte at every
  // address, with no side effect.
  // Writes and ports always go through their callbacks. Not part of the
  // stored image; a loaded record keeps its own, like the callbacks.
  const uint8_t* plain_memory;
  BusRead read_port;
  BusWrite write_port;
  void* port_ctx;
  uint8_t halted;
  uint32_t cycles;  // T-states since the current z80_run call began
  uint8_t nmi_pending, int_pending, int_delay, int_data, bus_opcode;
};

// Size of the record's stored image (the head of a snapshot file).
inline constexpr size_t kZ80ImageSize = 69;

void z80_reset(Z80State* s);
void z80_request_int(Z80State* s, uint8_t data);
// Runs until at least n T-states have elapsed; returns the T-states run.
uint32_t z80_run(Z80State* s, uint32_t n);
// Executes one whole instruction, prefixes included.
void z80_execute(Z80State* s);
void z80_push_word(Z80State* s, uint16_t value);
uint16_t z80_read_word(Z80State* s, uint16_t address);

void z80_state_to_image(const Z80State* s, uint8_t image[kZ80ImageSize]);
// Reads every field but the six binding slots, which keep the record's own
// callbacks and contexts; plain_memory, which has no slot, is kept too.
void z80_state_from_image(Z80State* s, const uint8_t image[kZ80ImageSize]);

// Renders the instruction at `address` as text; returns its length in bytes
// (1 to 4). `text` always ends with a NUL when size > 0.
int z80_disassemble(BusRead read, void* context, uint16_t address, char* text, size_t size);

// The dispatch tables.
using OpcodeHandler = void (*)(Z80State* s);

enum OperandKind : uint32_t {
  OPERAND_NONE = 0,
  OPERAND_BYTE = 1,
  OPERAND_REL = 2,
  OPERAND_WORD = 3,
};

struct OpcodeTable;

struct OpcodeEntry {
  OpcodeHandler handler;
  OperandKind operand_kind;
  const char* mnemonic;
  const OpcodeTable* sub_table;
};

struct OpcodeTable {
  int32_t skip;
  OpcodeEntry rows[256];
};

extern const OpcodeTable z80_main_table;
extern const OpcodeTable z80_cb_table;
extern const OpcodeTable z80_ed_table;
extern const OpcodeTable z80_dd_table;
extern const OpcodeTable z80_fd_table;
extern const OpcodeTable z80_ddcb_table;
extern const OpcodeTable z80_fdcb_table;
