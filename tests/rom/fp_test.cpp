// BASIC's number package, each routine called directly on the machine and
// checked against an exact model of the five-byte form: b4 = 0 a 16-bit
// integer in b0 b1, else the mantissa b0..b3 (top bit implied, its place the
// sign) times 2^(b4 - 160).
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <random>

#include "tests/machine/vorn_machine.h"

namespace {

using Num = std::array<uint8_t, 5>;
using u128 = unsigned __int128;
constexpr uint16_t kAcc = 0x4100, kArg = 0x4105, kReturn = 0x9000;

struct Exact {  // (-1)^neg * mag * 2^scale
  bool neg = false;
  u128 mag = 0;
  int scale = 0;
};

Exact exact(const Num& n) {
  if (n[4] == 0) {
    const int v = int16_t(n[0] | n[1] << 8);
    return {v < 0, u128(std::abs(v)), 0};
  }
  const uint32_t m = n[0] | n[1] << 8 | n[2] << 16 | uint32_t(n[3]) << 24;
  return {(m >> 31) != 0, u128(m | 0x80000000u), n[4] - 160};
}
long double value(const Num& n) {
  const Exact e = exact(n);
  return (e.neg ? -1 : 1) * std::ldexp((long double)e.mag, e.scale);
}
int bits(u128 v) { return v ? 128 - (uint64_t(v >> 64) ? __builtin_clzll(uint64_t(v >> 64)) : 64 + __builtin_clzll(uint64_t(v))) : 0; }

// Rounds to 32 bits, to nearest with ties to even; nullopt for Overflow.
std::optional<Num> round(Exact e) {
  if (e.mag == 0) return Num{};
  int shift = bits(e.mag) - 32;
  u128 q = shift > 0 ? e.mag >> shift : e.mag << -shift;
  if (shift > 0) {
    const u128 rest = e.mag & ((u128(1) << shift) - 1), half = u128(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1))) q++;
    if (q >> 32) q >>= 1, shift++;
  }
  const int exponent = e.scale + shift + 160;
  if (exponent > 255) return std::nullopt;
  if (exponent < 1) return Num{};
  const uint32_t m = (uint32_t(q) & 0x7FFFFFFF) | (e.neg ? 0x80000000u : 0);
  return Num{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24), uint8_t(exponent)};
}
Exact sum(Exact a, Exact b) {
  if (a.mag == 0) return b;
  if (b.mag == 0) return a;
  if (a.scale < b.scale) std::swap(a, b);
  if (a.scale - b.scale > 90) b = {b.neg, 1, a.scale - 60};  // far below: only its sign counts
  a.mag <<= a.scale - b.scale;
  a.scale = b.scale;
  if (a.neg == b.neg) return {a.neg, a.mag + b.mag, a.scale};
  return a.mag >= b.mag ? Exact{a.neg, a.mag - b.mag, a.scale} : Exact{b.neg, b.mag - a.mag, a.scale};
}
Exact quotient(Exact a, Exact b) {  // 57 bits or more, and a sticky bit
  const u128 n = a.mag << 90, q = n / b.mag;
  return {a.neg != b.neg, q << 1 | (n % b.mag != 0), a.scale - b.scale - 91};
}
Exact root(Exact a) {
  if (a.scale & 1) a.mag <<= 1, a.scale--;
  const u128 n = a.mag << 90;
  u128 r = u128(std::sqrt((long double)n));
  while (r * r > n) r--;
  while ((r + 1) * (r + 1) <= n) r++;
  return {false, r << 1 | (r * r != n), (a.scale - 90) / 2 - 1};
}

class Fp : public Vorn {
 protected:
  void SetUp() override { start(); }
  void put(uint16_t at, const Num& n) { std::copy(n.begin(), n.end(), machine.memory + at); }
  Num get(uint16_t at) const { return {machine.memory[at], machine.memory[at + 1], machine.memory[at + 2],
                                       machine.memory[at + 3], machine.memory[at + 4]}; }
  // Calls a routine with HL = hl: -1 when it returns, else the error number
  // it gave basic_error. Counts its T-states under its name.
  int call(const std::string& name, uint16_t hl = 0, uint16_t de = 0) {
    static std::map<std::string, uint16_t> symbols;
    if (!symbols.count(name)) symbols[name] = rom_symbol(name);
    if (!symbols.count("basic_error")) symbols["basic_error"] = rom_symbol("basic_error");
    Z80State& cpu = machine.cpu;
    cpu.sp = 0x8000;
    z80_push_word(&cpu, kReturn);
    cpu.pc = symbols[name];
    cpu.h = hl >> 8, cpu.l = hl & 0xFF, cpu.d = de >> 8, cpu.e = de & 0xFF, cpu.ix = 0x1234, cpu.iy = 0x5678;
    const uint32_t start = cpu.cycles;
    while (cpu.pc != kReturn && cpu.pc != symbols["basic_error"] && cpu.cycles - start < 1'000'000) z80_execute(&cpu);
    EXPECT_TRUE(cpu.ix == 0x1234 && cpu.iy == 0x5678 && cpu.sp >= 0x8000 - 64) << name;
    EXPECT_TRUE(cpu.pc == kReturn || cpu.pc == symbols["basic_error"]) << name << " runs away";
    auto& [total, count] = timing[name];
    total += cpu.cycles - start, count++;
    return cpu.pc == kReturn ? -1 : cpu.a;
  }
  // fp_arg op fp_acc on the machine: the result, or the error as b4 = 0xEE - number.
  Num binary(const std::string& name, const Num& arg, const Num& acc) {
    put(kArg, arg), put(kAcc, acc);
    const int error = call(name);
    return error < 0 ? get(kAcc) : Num{0, 0, 0, 0, uint8_t(0xEE - error)};
  }
  ~Fp() override {
    for (const auto& [name, t] : timing) std::printf("%-16s %7.0f T-states on average\n", name.c_str(), t.first / t.second);
  }
  std::map<std::string, std::pair<double, int>> timing;
};

Num expected(std::optional<Num> n) { return n ? *n : Num{0, 0, 0, 0, 0xEE - 2}; }  // Overflow
std::string text(const Num& n) {
  char s[40];
  std::snprintf(s, sizeof s, "%02X %02X %02X %02X %02X (%.12Lg)", n[0], n[1], n[2], n[3], n[4], value(n));
  return s;
}

// Operands of every kind: small integers, floats of every exponent, those
// near the ends of the range, and sparse mantissas whose sums and products
// fall on exact halves.
Num operand(std::mt19937& rng) {
  const uint32_t r = rng(), m = rng();
  switch (r % 8) {
    case 0: return Num{uint8_t(m), uint8_t(r % 3 ? 0 : m >> 8), 0, 0, 0};
    case 1: { const int16_t v = int16_t(m); return Num{uint8_t(v), uint8_t(v >> 8), 0, 0, 0}; }
    case 2: return Num{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24), uint8_t(1 + r % 6 + (r >> 8) % 2 * 248)};
    case 3: {  // a few bits set
      const uint32_t sparse = (1u << (m % 32)) | (1u << (m >> 5) % 32) | (r >> 4) % 2;
      return Num{uint8_t(sparse), uint8_t(sparse >> 8), uint8_t(sparse >> 16), uint8_t(sparse >> 24 | (m & 0x80000000u) >> 24),
                 uint8_t(120 + (r >> 8) % 40)};
    }
    default: return Num{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24), uint8_t(r % 4 ? 96 + (r >> 8) % 64 : 1 + (r >> 8) % 255)};
  }
}

TEST_F(Fp, ArithmeticAndSquareRootsAreRoundedExactlyAsTheModelSays) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 10'000; ++i) {
    Num a = operand(rng), b = operand(rng);
    if (i % 5 == 0) b[4] = a[4] ? uint8_t(std::clamp(a[4] + int(rng() % 70) - 35, 1, 255)) : b[4];  // close exponents
    const Exact x = exact(a), y = exact(b);
    ASSERT_EQ(binary("fp_add", a, b), expected(round(sum(x, y)))) << text(a) << " + " << text(b);
    ASSERT_EQ(binary("fp_sub", a, b), expected(round(sum(x, {!y.neg, y.mag, y.scale})))) << text(a) << " - " << text(b);
    ASSERT_EQ(binary("fp_mul", a, b), expected(round({x.neg != y.neg, x.mag * y.mag, x.scale + y.scale})))
        << text(a) << " * " << text(b);
    const Num division = y.mag ? expected(round(quotient(x, y))) : Num{0, 0, 0, 0, 0xEE - 1};
    ASSERT_EQ(binary("fp_div", a, b), division) << text(a) << " / " << text(b);
    if (i % 4 == 0) {
      const Num root = y.neg ? Num{0, 0, 0, 0, 0xEE - 3} : y.mag ? *round(::root(y)) : Num{};
      ASSERT_EQ(binary("fp_sqr", a, b), root) << "SQR " << text(b);
    }
  }
}

// Order, sign and the integer routines against the values the bytes stand for.
TEST_F(Fp, CompareSignsIntegersAndConversionsAgreeWithTheValues) {
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    const Num a = operand(rng), b = i % 7 ? operand(rng) : a;
    const long double x = value(a), y = value(b), floor = std::floor(y);
    put(kArg, a), put(kAcc, b);
    call("fp_compare");
    EXPECT_EQ(int8_t(machine.cpu.a), (x > y) - (x < y)) << text(a) << " vs " << text(b);
    EXPECT_EQ((machine.cpu.f & FLAG_Z) != 0, x == y);
    EXPECT_EQ(get(kAcc), b) << "fp_compare keeps fp_acc";
    for (const auto& [name, want] : {std::pair<std::string, long double>{"fp_neg", -y}, {"fp_abs", std::fabs(y)},
                                    {"fp_sgn", (y > 0) - (y < 0)}, {"fp_int", floor}}) {
      put(kAcc, b);
      call(name);
      EXPECT_EQ(value(get(kAcc)), want) << name << " " << text(b);
      const bool small = name != "fp_neg" && name != "fp_abs" && want >= -32768 && want < 32768;
      EXPECT_TRUE(!small || get(kAcc)[4] == 0) << name << " gives a small integer";
    }
    for (const auto& [name, low] : {std::pair<std::string, long double>{"fp_to_signed", 32768}, {"fp_to_word", 65536}}) {
      put(kAcc, b);
      const int error = call(name);
      const bool fits = floor >= -32768 && floor < low;
      EXPECT_EQ(error, fits ? -1 : 2) << name << " " << text(b);
      EXPECT_TRUE(!fits || (machine.cpu.h << 8 | machine.cpu.l) == uint16_t(int32_t(floor))) << name << " " << text(b);
    }
    const uint32_t n = rng() >> (rng() % 32);
    call("fp_from_long", uint16_t(n), uint16_t(n >> 16));
    EXPECT_EQ(value(get(kAcc)), n);
    call(i % 2 ? "fp_from_signed" : "fp_from_unsigned", uint16_t(n));
    EXPECT_EQ(value(get(kAcc)), i % 2 ? int16_t(n) : uint16_t(n));
  }
}

}  // namespace
