// A processor on 64 KiB of flat memory whose bus callbacks record every
// access as text, "r8000:3" = memory read of 8000h with 3 T-states charged,
// "w4000:11=01" = write of 01h ('i' port in, 'o' port out with its byte), so a
// test compares a whole trace. Every test starts from BC=0201h DE=6000h
// HL=4000h IX=IY=5000h SP=F000h pc=8000h, A=F=0 and the rest as after a reset.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/z80.h"

class CoreTest : public ::testing::Test {
 protected:
  static constexpr uint16_t kOrigin = 0x8000;

  CoreTest() {
    s.read_mem = [](void* c, uint16_t a) { return self(c)->log('r', a, self(c)->mem[a]); };
    s.write_mem = [](void* c, uint16_t a, uint8_t v) { self(c)->mem[a] = self(c)->log('w', a, v); };
    s.read_port = [](void* c, uint16_t a) { return self(c)->log('i', a, self(c)->port_value); };
    s.write_port = [](void* c, uint16_t a, uint8_t v) { self(c)->log('o', a, v); };
    s.mem_ctx = s.port_ctx = this;
    z80_reset(&s);
    s.b = 0x02;
    s.c = 0x01;
    s.d = 0x60;
    s.h = 0x40;
    s.ix = s.iy = 0x5000;
    s.sp = 0xF000;
    s.pc = kOrigin;
  }

  // Places bytes at `at` and points pc there.
  void load(const std::vector<uint8_t>& bytes, uint16_t at = kOrigin) {
    std::copy(bytes.begin(), bytes.end(), mem.begin() + at);
    s.pc = at;
  }

  // Executes one instruction from a fresh count and trace; returns its T-states.
  uint32_t step() {
    s.cycles = 0;
    trace.clear();
    z80_execute(&s);
    return s.cycles;
  }

  // A trace as it must read with plain memory set: no memory read reaches the callback.
  static std::string without_reads(const std::string& trace) {
    std::istringstream entries(trace);
    std::string kept;
    for (std::string entry; entries >> entry;) {
      if (entry[0] != 'r') kept += (kept.empty() ? "" : " ") + entry;
    }
    return kept;
  }

  uint16_t pair(uint8_t hi, uint8_t lo) const { return static_cast<uint16_t>(hi << 8 | lo); }
  uint16_t pushed() const { return pair(mem[s.sp + 1], mem[s.sp]); }  // word on the stack top

  Z80State s{};
  std::array<uint8_t, 65536> mem{};
  uint8_t port_value = 0xFF;  // what every port read returns
  std::string trace;          // "r8000:3 w4000:11=01"

 private:
  static CoreTest* self(void* c) { return static_cast<CoreTest*>(c); }
  uint8_t log(char kind, uint16_t address, uint8_t value) {
    char text[24];
    const unsigned at = s.cycles;
    if (kind == 'w' || kind == 'o') {
      std::snprintf(text, sizeof text, " %c%04X:%u=%02X", kind, address, at, value);
    } else {
      std::snprintf(text, sizeof text, " %c%04X:%u", kind, address, at);
    }
    trace += trace.empty() ? text + 1 : text;
    return value;
  }
};
