// A processor on 64 KiB of flat memory whose bus callbacks record every
// access, with the T-state count at which it was made.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "core/z80.h"

struct BusEvent {
  char kind;  // 'r' memory read, 'w' memory write, 'i' port in, 'o' port out
  uint16_t address;
  uint8_t value;
  uint32_t cycles;  // `cycles` as the callback saw it

  bool operator==(const BusEvent&) const = default;
};

class CoreTest : public ::testing::Test {
 protected:
  static constexpr uint16_t kOrigin = 0x8000;

  CoreTest();

  // Places bytes at `at` and points pc there.
  void load(uint16_t at, std::initializer_list<uint8_t> bytes);
  void load(std::initializer_list<uint8_t> bytes) { load(kOrigin, bytes); }

  // Executes one instruction from a fresh count; returns its T-states.
  uint32_t step();

  // Only the events of one kind.
  std::vector<BusEvent> events_of(char kind) const;

  uint16_t bc() const { return static_cast<uint16_t>(s.b << 8 | s.c); }
  uint16_t de() const { return static_cast<uint16_t>(s.d << 8 | s.e); }
  uint16_t hl() const { return static_cast<uint16_t>(s.h << 8 | s.l); }
  void set_hl(uint16_t v) {
    s.h = static_cast<uint8_t>(v >> 8);
    s.l = static_cast<uint8_t>(v);
  }
  void set_bc(uint16_t v) {
    s.b = static_cast<uint8_t>(v >> 8);
    s.c = static_cast<uint8_t>(v);
  }
  void set_de(uint16_t v) {
    s.d = static_cast<uint8_t>(v >> 8);
    s.e = static_cast<uint8_t>(v);
  }

  Z80State s{};
  std::array<uint8_t, 65536> mem{};
  uint8_t port_value = 0xFF;  // what every port read returns
  std::vector<BusEvent> events;

 private:
  static uint8_t bus_read_mem(void* context, uint16_t address);
  static void bus_write_mem(void* context, uint16_t address, uint8_t value);
  static uint8_t bus_read_port(void* context, uint16_t port);
  static void bus_write_port(void* context, uint16_t port, uint8_t value);
};
