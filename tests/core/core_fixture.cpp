#include "tests/core/core_fixture.h"

uint8_t CoreTest::bus_read_mem(void* context, uint16_t address) {
  auto* t = static_cast<CoreTest*>(context);
  const uint8_t v = t->mem[address];
  t->events.push_back({'r', address, v, t->s.cycles});
  return v;
}

void CoreTest::bus_write_mem(void* context, uint16_t address, uint8_t value) {
  auto* t = static_cast<CoreTest*>(context);
  t->mem[address] = value;
  t->events.push_back({'w', address, value, t->s.cycles});
}

uint8_t CoreTest::bus_read_port(void* context, uint16_t port) {
  auto* t = static_cast<CoreTest*>(context);
  t->events.push_back({'i', port, t->port_value, t->s.cycles});
  return t->port_value;
}

void CoreTest::bus_write_port(void* context, uint16_t port, uint8_t value) {
  auto* t = static_cast<CoreTest*>(context);
  t->events.push_back({'o', port, value, t->s.cycles});
}

CoreTest::CoreTest() {
  s.read_mem = bus_read_mem;
  s.write_mem = bus_write_mem;
  s.mem_ctx = this;
  s.read_port = bus_read_port;
  s.write_port = bus_write_port;
  s.port_ctx = this;
  z80_reset(&s);
  s.sp = 0xF000;
}

void CoreTest::load(uint16_t at, std::initializer_list<uint8_t> bytes) {
  uint16_t address = at;
  for (uint8_t b : bytes) mem[address++] = b;
  s.pc = at;
}

uint32_t CoreTest::step() {
  s.cycles = 0;
  events.clear();
  z80_execute(&s);
  return s.cycles;
}

std::vector<BusEvent> CoreTest::events_of(char kind) const {
  std::vector<BusEvent> out;
  for (const BusEvent& e : events) {
    if (e.kind == kind) out.push_back(e);
  }
  return out;
}
