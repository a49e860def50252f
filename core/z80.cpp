// The run loop and the instruction decoder.
//
// Opcode fetch: 3 T-states, read at pc, pc + 1, 1 more T-state, and one
// count of the low seven bits of R. While a mode 0 interrupt is served the
// byte comes from the data bus instead: 6 T-states, no read, pc unchanged.
// Interrupt responses (T-states, each charge before its access):
//   NMI     3, write PCl at SP-2 | 3, write PCh at SP-1 | 5; pc = 0066h
//   mode 0  the instruction on the data bus, its opcode fetches 6 each
//   mode 1  3, write PCl | 3, write PCh | 7; pc = 0038h
//   mode 2  3, write PCl | 3, write PCh | 3, read (I*256+data) | 3, read +1 | 7
#include "core/z80.h"

#include <bit>
#include <cstddef>
#include <cstring>

#include "core/bus.h"

namespace {

template <bool FromBus>
inline uint8_t fetch_opcode(Z80State* s, int32_t skip) {
  uint8_t op;
  if constexpr (FromBus) {
    s->cycles += 6;
    op = s->int_data;
  } else {
    const auto address = static_cast<uint16_t>(s->pc + skip);
    if (s->plain_memory) {
      // No callback sees this read, so its 3 T-states and the 1 after are one charge.
      s->cycles += 4;
      op = s->plain_memory[address];
    } else {
      // Callbacks never change the record, so the count is kept in hand
      // across the read instead of being read back.
      const uint32_t before_read = s->cycles + 3;
      s->cycles = before_read;
      op = s->read_mem(s->mem_ctx, address);
      s->cycles = before_read + 1;
    }
    s->pc = static_cast<uint16_t>(s->pc + 1);
  }
  r_step(s, 1);
  return op;
}

inline bool is_prefix(uint8_t op) {
  return op == 0xDD || op == 0xED || op == 0xFD;
}

// A DD or FD prefix followed by a byte with no row in its table. Before any
// other byte the prefix simply has no effect, and the main table's
// instruction runs. Before another prefix, the first one stands alone as an
// instruction of its own: the second byte's fetch is taken back so that it
// starts the next instruction, and no interrupt comes in between.
template <bool FromBus>
void unused_index_prefix(Z80State* s, uint8_t op) {
  if (!is_prefix(op)) {
    z80_main_table.rows[op].handler(s);
    return;
  }
  s->cycles -= FromBus ? 6 : 4;
  if constexpr (!FromBus) s->pc = static_cast<uint16_t>(s->pc - 1);
  r_step(s, -1);
  s->int_delay = 1;
}

// Walks from the first prefix's table down to a row with a handler.
template <bool FromBus>
void execute_prefixed(Z80State* s, const OpcodeTable* table) {
  int32_t skip = 0;
  for (;;) {
    const uint8_t op = fetch_opcode<FromBus>(s, skip);
    const OpcodeEntry& row = table->rows[op];
    if (row.handler) {
      s->pc = static_cast<uint16_t>(s->pc - skip);
      row.handler(s);
      s->pc = static_cast<uint16_t>(s->pc + skip);
      return;
    }
    if (!row.sub_table) {
      if (table == &z80_dd_table || table == &z80_fd_table) unused_index_prefix<FromBus>(s, op);
      return;  // an empty ED row: both bytes consumed, nothing done
    }
    table = row.sub_table;
    skip = table->skip;
    if (skip > 0) r_step(s, -1);  // the byte before a displacement is not counted
  }
}

template <bool FromBus>
[[gnu::always_inline]] inline void execute(Z80State* s) {
  const OpcodeEntry& row = z80_main_table.rows[fetch_opcode<FromBus>(s, 0)];
  if (row.handler) {
    row.handler(s);
  } else {
    execute_prefixed<FromBus>(s, row.sub_table);
  }
}

// Pushes pc without the extra cycle that PUSH and CALL spend first.
void push_pc(Z80State* s) {
  push_word(s, s->pc, 3);
}

void leave_halt(Z80State* s) {
  if (s->halted) {
    s->pc = static_cast<uint16_t>(s->pc + 1);
    s->halted = 0;
  }
}

void serve_nmi(Z80State* s) {
  leave_halt(s);
  s->iff2 = s->iff1;
  s->iff1 = 0;
  push_pc(s);
  s->pc = 0x0066;
  s->nmi_pending = 0;
  s->cycles += 5;
}

void accept_interrupt(Z80State* s) {
  leave_halt(s);
  s->iff1 = 0;
  s->iff2 = 0;
  s->int_pending = 0;
  switch (s->im) {
    case 0:
      s->bus_opcode = 1;
      execute<true>(s);
      s->bus_opcode = 0;
      break;
    case 1:
      push_pc(s);
      s->pc = 0x0038;
      s->cycles += 7;
      break;
    case 2:
      z80_push_word(s, s->pc);
      s->pc = z80_read_word(s, static_cast<uint16_t>((s->i << 8) | s->int_data));
      s->cycles += 7;
      break;
    default:
      break;  // no such mode: the request is consumed and nothing happens
  }
}

// The three request bytes, tested at once.
inline bool requests_pending(const Z80State* s) {
  static_assert(offsetof(Z80State, int_pending) == offsetof(Z80State, nmi_pending) + 1);
  static_assert(offsetof(Z80State, int_delay) == offsetof(Z80State, nmi_pending) + 2);
  static_assert(offsetof(Z80State, int_data) == offsetof(Z80State, nmi_pending) + 3);
  uint32_t bytes;
  std::memcpy(&bytes, &s->nmi_pending, 4);
  return (bytes & (std::endian::native == std::endian::little ? 0x00FFFFFFu : 0xFFFFFF00u)) != 0;
}

// Serves a pending request if one may be served now; returns whether it did.
// Otherwise the delay left by EI or DI has now covered its one instruction.
[[gnu::noinline]] bool serve_request(Z80State* s) {
  if (s->nmi_pending) {
    serve_nmi(s);
    return true;
  }
  if (s->int_pending && !s->int_delay && s->iff1) {
    accept_interrupt(s);
    return true;
  }
  s->int_delay = 0;
  return false;
}

}  // namespace

void z80_reset(Z80State* s) {
  s->pc = 0;
  s->f = 0;
  s->r = 0;
  s->i = 0;
  s->iff1 = 0;
  s->iff2 = 0;
  s->im = 0;
  s->halted = 0;
  s->cycles = 0;
  s->nmi_pending = 0;
  s->int_pending = 0;
  s->int_delay = 0;
  s->bus_opcode = 0;
}

void z80_request_int(Z80State* s, uint8_t data) {
  s->int_pending = 1;
  s->int_data = data;
}

// Requests are rare: serving them stays out of line, so that the loop of
// fetch and dispatch is short.
uint32_t z80_run(Z80State* s, uint32_t n) {
  s->cycles = 0;
  while (s->cycles < n) {
    if (requests_pending(s)) [[unlikely]] {
      if (serve_request(s)) continue;
    }
    execute<false>(s);
  }
  return s->cycles;
}

void z80_execute(Z80State* s) {
  if (s->bus_opcode) {
    execute<true>(s);
  } else {
    execute<false>(s);
  }
}

void z80_push_word(Z80State* s, uint16_t value) {
  push_word(s, value, 3);
}

uint16_t z80_read_word(Z80State* s, uint16_t address) {
  const uint8_t low = read_byte(s, address);
  const uint8_t high = read_byte(s, static_cast<uint16_t>(address + 1));
  return static_cast<uint16_t>(low | (high << 8));
}
