// BASIC's number package, each routine called directly on the machine and
// checked against an exact model of the five-byte form: b4 = 0 a 16-bit
// integer in b0 b1, else the mantissa b0..b3 (top bit implied, its place the
// sign) times 2^(b4 - 160).
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>
#include <random>
#include <set>

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
int bits(u128 v) {
  return v ? 128 -
                 (uint64_t(v >> 64) ? __builtin_clzll(uint64_t(v >> 64)) : 64 + __builtin_clzll(uint64_t(v)))
           : 0;
}

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
Exact quotient(Exact a, Exact b) {  // 58 bits or more, and a sticky bit
  const int shift = 126 - bits(a.mag);
  const u128 n = a.mag << shift, q = n / b.mag;
  return {a.neg != b.neg, q << 1 | (n % b.mag != 0), a.scale - b.scale - shift - 1};
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
  Num get(uint16_t at) const {
    return {machine.memory[at], machine.memory[at + 1], machine.memory[at + 2], machine.memory[at + 3],
            machine.memory[at + 4]};
  }
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
    uint16_t lowest = cpu.sp;
    while (cpu.pc != kReturn && cpu.pc != symbols["basic_error"] && cpu.cycles - start < 1'000'000) {
      z80_execute(&cpu);
      lowest = std::min(lowest, cpu.sp);
    }
    EXPECT_TRUE(cpu.ix == 0x1234 && cpu.iy == 0x5678) << name << " keeps IX and IY";
    EXPECT_GE(lowest, 0x8000 - 2 - 64) << name << " uses more than 64 bytes of stack";
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
    for (const auto& [name, t] : timing)
      std::printf("%-16s %7.0f T-states on average\n", name.c_str(), t.first / t.second);
  }
  std::map<std::string, std::pair<double, int>> timing;
};

Num expected(std::optional<Num> n) { return n ? *n : Num{0, 0, 0, 0, 0xEE - 2}; }  // Overflow
std::string text_of(const Num& n) {
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
    case 0:
      return Num{uint8_t(m), uint8_t(r % 3 ? 0 : m >> 8), 0, 0, 0};
    case 1: {
      const int16_t v = int16_t(m);
      return Num{uint8_t(v), uint8_t(v >> 8), 0, 0, 0};
    }
    case 2:
      return Num{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24),
                 uint8_t(1 + r % 6 + (r >> 8) % 2 * 248)};
    case 3: {  // a few bits set
      const uint32_t sparse = (1u << (m % 32)) | (1u << (m >> 5) % 32) | (r >> 4) % 2;
      return Num{uint8_t(sparse), uint8_t(sparse >> 8), uint8_t(sparse >> 16),
                 uint8_t(sparse >> 24 | (m & 0x80000000u) >> 24), uint8_t(120 + (r >> 8) % 40)};
    }
    default:
      return Num{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t(m >> 24),
                 uint8_t(r % 4 ? 96 + (r >> 8) % 64 : 1 + (r >> 8) % 255)};
  }
}

TEST_F(Fp, ArithmeticAndSquareRootsAreRoundedExactlyAsTheModelSays) {
  std::mt19937 rng(20240611);
  for (int i = 0; i < 10'000; ++i) {
    Num a = operand(rng), b = operand(rng);
    if (i % 5 == 0)
      b[4] = a[4] ? uint8_t(std::clamp(a[4] + int(rng() % 70) - 35, 1, 255)) : b[4];  // close exponents
    const Exact x = exact(a), y = exact(b);
    ASSERT_EQ(binary("fp_add", a, b), expected(round(sum(x, y)))) << text_of(a) << " + " << text_of(b);
    ASSERT_EQ(binary("fp_sub", a, b), expected(round(sum(x, {!y.neg, y.mag, y.scale}))))
        << text_of(a) << " - " << text_of(b);
    ASSERT_EQ(binary("fp_mul", a, b), expected(round({x.neg != y.neg, x.mag * y.mag, x.scale + y.scale})))
        << text_of(a) << " * " << text_of(b);
    const Num division = y.mag ? expected(round(quotient(x, y))) : Num{0, 0, 0, 0, 0xEE - 1};
    ASSERT_EQ(binary("fp_div", a, b), division) << text_of(a) << " / " << text_of(b);
    if (i % 4 == 0) {
      const Num root = y.neg ? Num{0, 0, 0, 0, 0xEE - 3} : y.mag ? *round(::root(y)) : Num{};
      ASSERT_EQ(binary("fp_sqr", a, b), root) << "SQR " << text_of(b);
    }
  }
}

// Sums the random operands seldom give: a power of two less a number just
// far enough below it to change it, and a carry out of the top with nothing
// but a lost bit below the guard byte deciding the rounding.
TEST_F(Fp, AdditionEdgesAreRoundedExactlyAsTheModelSays) {
  const std::pair<Num, Num> pairs[] = {{Num{0, 0, 0, 0, 129}, Num{0, 0, 0, 0xC0, 96}},
                                       {Num{0, 0, 0, 0, 129}, Num{0, 0, 0, 0xC0, 95}},
                                       {Num{0, 0, 0, 0, 129}, Num{1, 0, 0, 0x80, 96}},
                                       {Num{0xFD, 0xFF, 0xFF, 0x7F, 129}, Num{1, 0, 0, 0, 120}},
                                       {Num{0xFD, 0xFF, 0xFF, 0x7F, 129}, Num{1, 0, 0, 0, 112}}};
  for (auto [a, b] : pairs) {
    for (int turn = 0; turn < 2; ++turn, std::swap(a, b)) {
      const Exact x = exact(a), y = exact(b);
      EXPECT_EQ(binary("fp_add", a, b), expected(round(sum(x, y)))) << text_of(a) << " + " << text_of(b);
      EXPECT_EQ(binary("fp_sub", a, b), expected(round(sum(x, {!y.neg, y.mag, y.scale}))))
          << text_of(a) << " - " << text_of(b);
    }
  }
}

// Zero divided by anything is zero, however small the divisor.
TEST_F(Fp, ZeroDividedIsZeroAtEveryScale) {
  for (const Num& divisor : {Num{3, 0, 0, 0, 0}, Num{0xFD, 0xFF, 0, 0, 0}, Num{0, 0, 0, 0x40, 1},
                             Num{0, 0, 0, 0x80, 40}, Num{0x12, 0x34, 0x56, 0x78, 128}, Num{0, 0, 0, 0, 255}})
    EXPECT_EQ(binary("fp_div", Num{}, divisor), Num{}) << "0 / " << text_of(divisor);
}

// Order, sign and the integer routines against the values the bytes stand for.
TEST_F(Fp, CompareSignsIntegersAndConversionsAgreeWithTheValues) {
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    const Num a = operand(rng), b = i % 7 ? operand(rng) : a;
    const long double x = value(a), y = value(b), floor = std::floor(y);
    put(kArg, a), put(kAcc, b);
    call("fp_compare");
    EXPECT_EQ(int8_t(machine.cpu.a), (x > y) - (x < y)) << text_of(a) << " vs " << text_of(b);
    EXPECT_EQ((machine.cpu.f & FLAG_Z) != 0, x == y);
    EXPECT_EQ(get(kAcc), b) << "fp_compare keeps fp_acc";
    for (const auto& [name, want] : {std::pair<std::string, long double>{"fp_neg", -y},
                                     {"fp_abs", std::fabs(y)},
                                     {"fp_sgn", (y > 0) - (y < 0)},
                                     {"fp_int", floor}}) {
      put(kAcc, b);
      call(name);
      EXPECT_EQ(value(get(kAcc)), want) << name << " " << text_of(b);
      const bool small = name != "fp_neg" && name != "fp_abs" && want >= -32768 && want < 32768;
      EXPECT_TRUE(!small || get(kAcc)[4] == 0) << name << " gives a small integer";
    }
    for (const auto& [name, low] :
         {std::pair<std::string, long double>{"fp_to_signed", 32768}, {"fp_to_word", 65536}}) {
      put(kAcc, b);
      const int error = call(name);
      const bool fits = floor >= -32768 && floor < low;
      EXPECT_EQ(error, fits ? -1 : 2) << name << " " << text_of(b);
      EXPECT_TRUE(!fits || (machine.cpu.h << 8 | machine.cpu.l) == uint16_t(int32_t(floor)))
          << name << " " << text_of(b);
    }
    const uint32_t n = rng() >> (rng() % 32);
    call("fp_from_long", uint16_t(n), uint16_t(n >> 16));
    EXPECT_EQ(value(get(kAcc)), n);
    call(i % 2 ? "fp_from_signed" : "fp_from_unsigned", uint16_t(n));
    EXPECT_EQ(value(get(kAcc)), i % 2 ? int16_t(n) : uint16_t(n));
  }
}

Num num(long double v) {
  int e;
  const long double m = std::frexp(std::fabs(v), &e);
  return *round({v < 0, u128(std::ldexp(m, 64)), e - 64});
}
int64_t ordinal(const Num& n) {
  return int64_t(n[4]) << 32 | (n[0] | n[1] << 8 | n[2] << 16 | uint32_t(n[3] & 0x7F) << 24);
}

class FpText : public Fp {
 protected:
  std::string format(const Num& n) {
    put(kAcc, n);
    EXPECT_EQ(call("fp_format", 0, 0x8800), -1);
    return reinterpret_cast<const char*>(machine.memory + 0x8800);
  }
  // The number read from `text`, and the characters it took; -1 for none,
  // or -2 - the error.
  std::pair<Num, int> parse(const std::string& text) {
    std::copy(text.c_str(), text.c_str() + text.size() + 1, machine.memory + 0x8800);
    const int error = call("fp_parse", 0x8800);
    const int taken = (machine.cpu.h << 8 | machine.cpu.l) - 0x8800;
    return {get(kAcc), error >= 0 ? -2 - error : machine.cpu.f & FLAG_C ? (taken == 0 ? -1 : -99) : taken};
  }
};

TEST_F(FpText, FormatWritesPrintsFormsAndParseReadsEveryForm) {
  put(kArg, Num{1, 0, 0, 0, 0}), put(kAcc, Num{3, 0, 0, 0, 0}), call("fp_div");
  EXPECT_EQ(format(get(kAcc)), " .333333333");
  put(kAcc, Num{2, 0, 0, 0, 0}), call("fp_sqr"), put(kArg, get(kAcc)), call("fp_mul");
  EXPECT_EQ(format(get(kAcc)), " 2") << "SQR(2)^2";
  const std::pair<Num, std::string> forms[] = {{Num{100, 0, 0, 0, 0}, " 100"},
                                               {num(2147483648.0L), " 2147483648"},
                                               {num(-1e-7L), "-1E-07"},
                                               {Num{}, " 0"},
                                               {Num{0, 0x80, 0, 0, 0}, "-32768"},
                                               {num(4294967295.0L), " 4294967295"},
                                               {num(1e9L), " 1000000000"},
                                               {num(0.5L), " .5"},
                                               {num(-2.5L), "-2.5"},
                                               {num(1.5e12L), " 1.5E+12"},
                                               {num(2.5e-5L), " 2.5E-05"},
                                               {num(0.01L), " .01"},
                                               {num(0.001L), " 1E-03"},
                                               {num(123.456L), " 123.456"},
                                               {num(1e38L), " 1E+38"},
                                               {num(1234567890.5L), " 1.23456789E+09"},
                                               {num(999999999.6L), " 1E+09"},
                                               {num(-3e-39L), "-3E-39"}};
  for (const auto& [n, text] : forms) EXPECT_EQ(format(n), text) << text;
  const std::pair<std::string, std::pair<Num, int>> reads[] = {
      {"12", {Num{12, 0, 0, 0, 0}, 2}},
      {".5", {num(0.5L), 2}},
      {"5.", {Num{5, 0, 0, 0, 0}, 2}},
      {"1E5", {num(1e5L), 3}},
      {"1.5E+12", {num(1.5e12L), 7}},
      {"2.5E-05", {num(2.5e-5L), 7}},
      {"-7+", {Num{0xF9, 0xFF, 0, 0, 0}, 2}},
      {"1e3x", {Num{0xE8, 3, 0, 0, 0}, 3}},
      {"3E", {Num{3, 0, 0, 0, 0}, 1}},
      {"-32768", {Num{0, 0x80, 0, 0, 0}, 6}},
      {"32768", {num(32768), 5}},
      {"0.0000E-99", {Num{}, 10}},
      {"1E39", {{}, -2 - 2}},
      {"1E-50", {Num{}, 5}},
      {"+", {{}, -1}},
      {".", {{}, -1}},
      {"-.E1", {{}, -1}},
      {"123456789000000000000", {num(123456789e12L), 21}}};
  for (const auto& [text, want] : reads) {
    const auto [n, taken] = parse(text);
    EXPECT_EQ(taken, want.second) << text;
    EXPECT_TRUE(taken < 0 || n == want.first) << text << " reads as " << text_of(n);
  }
}

TEST_F(FpText, ParseRoundsWithinOneUnitAndReadsBackWhatFormatWrote) {
  std::mt19937 rng(99);
  for (int i = 0; i < 400; ++i) {
    const uint64_t digits = rng() % 1'000'000'000 * (i % 2 ? 1000 : 1) + rng() % 1000;
    const int power = int(rng() % 41) - 20;
    u128 ten = 1;
    for (int k = 0; k < std::abs(power); ++k) ten *= 10;
    const Exact n{false, digits, 0}, t{false, ten, 0};
    const Num want = expected(round(power >= 0 ? Exact{false, digits * ten, 0} : quotient(n, t)));
    const std::string text = std::to_string(digits) + "E" + std::to_string(power);
    const auto [got, taken] = parse(text);
    EXPECT_LE(std::abs(ordinal(*round(exact(got))) - ordinal(want)), 1) << text;
    const Num x = operand(rng);
    const std::string printed = format(x);
    const auto [back, length] = parse(printed.substr(printed[0] == ' '));
    EXPECT_EQ(length, int(printed.size() - (printed[0] == ' '))) << printed;
    EXPECT_EQ(format(back), printed) << text_of(x);
    EXPECT_LE(std::fabs(value(back) - value(x)), std::fabs(value(x)) * 5e-9L) << printed;
  }
}

// Within 2 units of the last bit of the exact value, over sampled arguments.
TEST_F(Fp, FunctionsAreWithinTwoUnitsOfTheLastBit) {
  using F = long double (*)(long double);
  const struct {
    const char* name;
    F f;
    long double low, high;
  } functions[] = {{"fp_sin", sinl, -1000, 1000}, {"fp_cos", cosl, -1000, 1000},
                   {"fp_tan", tanl, -1000, 1000}, {"fp_atn", atanl, -1e6, 1e6},
                   {"fp_exp", expl, -88, 88},     {"fp_log", logl, 0, 4}};
  std::mt19937 rng(3);
  for (const auto& [name, f, low, high] : functions) {
    double worst = 0;
    for (int i = 0; i < 150; ++i) {
      const long double r = std::uniform_real_distribution<double>(0, 1)(rng);
      long double x = low + (high - low) * r;  // spread evenly, or across the decades
      if (i % 2 == 0) x = (low < 0 && i % 4 ? -1 : 1) * std::pow(10.0L, -6 + (std::log10(high) + 6) * r);
      if (i % 4 == 0 && f == logl) x = i / 4 * 27 + 1;  // LOG(K), K = 1..1000, as a benchmark takes it
      const Num arg = num(x);
      put(kAcc, arg);
      ASSERT_EQ(call(name), -1) << name << " " << text_of(arg);
      const long double want = f(value(arg)), ulp = want ? std::ldexp(1.0L, std::ilogb(want) - 31) : 1e-30L;
      worst = std::max(worst, double(std::fabs(value(get(kAcc)) - want) / ulp));
      EXPECT_LE(std::fabs(value(get(kAcc)) - want), 2 * ulp)
          << name << " " << text_of(arg) << " gives " << text_of(get(kAcc));
    }
    std::printf("%s: at most %.2f units of the last bit\n", name, worst);
  }
}

// The functions' working numbers are rounded to 32 bits on the way into each
// product: arguments whose low bits are all ones carry that rounding across
// a 16-bit half, or through all 32 bits.
TEST_F(Fp, FunctionsRoundTheirWorkingNumbersAcrossWords) {
  using F = long double (*)(long double);
  const std::pair<const char*, F> functions[] = {
      {"fp_sin", sinl}, {"fp_cos", cosl}, {"fp_tan", tanl}, {"fp_atn", atanl}, {"fp_exp", expl}};
  for (const auto& [name, f] : functions) {
    for (const uint32_t m : {0x8001FFFFu, 0xFFFFFFFFu, 0xC003FFFFu}) {
      for (const uint8_t sign : {0, 0x80}) {
        const Num arg{uint8_t(m), uint8_t(m >> 8), uint8_t(m >> 16), uint8_t((m >> 24 & 0x7F) | sign), 127};
        put(kAcc, arg);
        ASSERT_EQ(call(name), -1) << name << " " << text_of(arg);
        const long double want = f(value(arg)), ulp = std::ldexp(1.0L, std::ilogb(want) - 31);
        EXPECT_LE(std::fabs(value(get(kAcc)) - want), 2 * ulp)
            << name << " " << text_of(arg) << " gives " << text_of(get(kAcc));
      }
    }
  }
}

TEST_F(Fp, PowersRandomNumbersPiAndTheFunctionsErrors) {
  const struct {
    Num x, y;
    long double want;
    int error;
  } powers[] = {{Num{3, 0, 0, 0, 0}, Num{2, 0, 0, 0, 0}, 9, -1},
                {Num{2, 0, 0, 0, 0}, Num{31, 0, 0, 0, 0}, 2147483648.0L, -1},
                {Num{0xFE, 0xFF, 0, 0, 0}, Num{3, 0, 0, 0, 0}, -8, -1},
                {Num{2, 0, 0, 0, 0}, Num{0xFE, 0xFF, 0, 0, 0}, 0.25L, -1},
                {num(1.5L), num(3.0L), 3.375L, -1},
                {Num{7, 0, 0, 0, 0}, Num{}, 1, -1},
                {Num{}, Num{}, 1, -1},
                {Num{}, Num{0xFF, 0xFF, 0, 0, 0}, 0, 1},
                {Num{0xFE, 0xFF, 0, 0, 0}, num(0.5L), 0, 3},
                {Num{}, num(0.5L), 0, -1},
                {Num{0xFF, 0xFF, 0, 0, 0}, Num{0xE9, 0x03, 0, 0, 0}, -1, -1},  // every exponent bit counts
                {Num{0xFF, 0xFF, 0, 0, 0}, Num{0xE8, 0x03, 0, 0, 0}, 1, -1},
                {Num{0xFF, 0xFF, 0, 0, 0}, num(33554433.0L), -1, -1}};
  for (const auto& [x, y, want, error] : powers) {
    put(kArg, x), put(kAcc, y);
    EXPECT_EQ(call("fp_pow"), error) << text_of(x) << " ^ " << text_of(y);
    EXPECT_TRUE(error >= 0 || value(get(kAcc)) == want)
        << text_of(x) << " ^ " << text_of(y) << " = " << text_of(get(kAcc));
  }
  put(kArg, Num{2, 0, 0, 0, 0}), put(kAcc, num(0.5L)), call("fp_pow");
  EXPECT_NEAR(value(get(kAcc)), std::sqrt(2.0L), 1e-8L) << "through EXP and LOG";
  const std::pair<const char*, Num> errors[] = {
      {"fp_log", Num{}}, {"fp_log", num(-1)}, {"fp_exp", num(89)}, {"fp_exp", num(-90)}};
  for (const auto& [name, x] : errors) {
    put(kAcc, x);
    EXPECT_EQ(call(name), name == std::string("fp_log") ? 3
                          : x[3] & 0x80                 ? -1
                                                        : 2)
        << name << " " << text_of(x);
  }
  EXPECT_EQ(get(kAcc), Num{}) << "EXP(-90) is too small to hold";
  EXPECT_EQ(get(rom_symbol("fp_pi")), num(3.14159265358979323846L));
  std::vector<Num> runs[3];
  for (int run = 0; run < 3; ++run) {
    put(kAcc, Num{uint8_t(run == 1 ? 6 : 5), 0, 0, 0, 0}), call("fp_randomize");
    for (int i = 0; i < 200; ++i) {
      call("fp_rnd");
      EXPECT_TRUE(value(get(kAcc)) >= 0 && value(get(kAcc)) < 1) << text_of(get(kAcc));
      runs[run].push_back(get(kAcc));
    }
  }
  EXPECT_EQ(runs[0], runs[2]) << "RANDOMIZE 5 repeats its sequence";
  uint32_t state = 5;  // the xorshift generator on 32 bits, seeded with 5
  for (const Num& n : runs[0]) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    EXPECT_EQ(value(n), std::ldexp((long double)state, -32)) << text_of(n);
  }
  EXPECT_NE(runs[0], runs[1]);
  EXPECT_GT(std::set<Num>(runs[1].begin(), runs[1].end()).size(), 195u);
}

}  // namespace
