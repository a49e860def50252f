// Compile-time tools for filling the dispatch tables: rows with handler and
// text, rows filled by a rule over a run of opcodes, and mnemonic texts
// spelled at compile time into fixed storage.
#pragma once

#include <cstdint>
#include <utility>

#include "core/registers.h"
#include "core/z80.h"

namespace table_builder {

constexpr bool contains(const char* text, const char* piece) {
  for (; *text; ++text) {
    int i = 0;
    while (piece[i] && text[i] == piece[i]) ++i;
    if (!piece[i]) return true;
  }
  return false;
}

// The operand kind follows from the placeholder in the text.
constexpr OperandKind operand_kind_of(const char* text) {
  if (contains(text, "%04X")) return OPERAND_WORD;
  if (contains(text, "%d")) return OPERAND_REL;
  if (contains(text, "%02X")) return OPERAND_BYTE;
  return OPERAND_NONE;
}

constexpr void claim(const OpcodeTable& t, int op) {
  if (t.rows[op].handler || t.rows[op].sub_table) throw "opcode row filled twice";
}

constexpr void put(OpcodeTable& t, int op, OpcodeHandler handler, const char* text) {
  claim(t, op);
  t.rows[op] = OpcodeEntry{handler, operand_kind_of(text), text, nullptr};
}

constexpr void prefix(OpcodeTable& t, int op, const OpcodeTable* sub_table) {
  claim(t, op);
  t.rows[op] = OpcodeEntry{nullptr, OPERAND_NONE, nullptr, sub_table};
}

constexpr void put_unless_empty(OpcodeTable& t, int op, OpcodeHandler handler, const char* text) {
  if (handler != nullptr) put(t, op, handler, text);
}

// Texts spelled at compile time, one per opcode.
struct Mnemonics {
  char text[256][24]{};
};

class Speller {
 public:
  constexpr explicit Speller(char* out) : out_(out) {}
  constexpr Speller& operator<<(const char* piece) {
    while (*piece) out_[length_++] = *piece++;
    out_[length_] = 0;
    return *this;
  }
  constexpr Speller& operator<<(int digit) {
    const char text[2] = {static_cast<char>('0' + digit), 0};
    return *this << text;
  }

 private:
  char* out_;
  int length_ = 0;
};

template <class Spell>
constexpr Mnemonics spell_all(Spell spell) {
  Mnemonics m{};
  for (int op = 0; op < 256; ++op) {
    Speller out(m.text[op]);
    spell(op, out);
  }
  return m;
}

// The texts of a table with every "IX" turned into "IY".
constexpr Mnemonics with_iy(const OpcodeTable& t) {
  Mnemonics m{};
  for (int op = 0; op < 256; ++op) {
    const char* from = t.rows[op].mnemonic;
    if (!from) continue;
    char* to = m.text[op];
    for (int i = 0; from[i]; ++i) to[i] = (i > 0 && from[i - 1] == 'I' && from[i] == 'X') ? 'Y' : from[i];
  }
  return m;
}

constexpr OpcodeTable respelled(OpcodeTable t, const Mnemonics& m) {
  for (int op = 0; op < 256; ++op) {
    if (t.rows[op].mnemonic) t.rows[op].mnemonic = m.text[op];
  }
  return t;
}

// Fills rows First .. First+Count-1 by a rule: `pick` is a lambda template
// that names the handler of opcode Op (nullptr for an empty row); the text
// comes from `texts`.
template <int First, int Count, class Pick>
constexpr void fill(OpcodeTable& t, const Mnemonics& texts, Pick pick) {
  [&]<int... I>(std::integer_sequence<int, I...>) {
    (
        [&] {
          constexpr int op = First + I;
          put_unless_empty(t, op, pick.template operator()<op>(), texts.text[op]);
        }(),
        ...);
  }(std::make_integer_sequence<int, Count>{});
}

constexpr int count_handlers(const OpcodeTable& t) {
  int n = 0;
  for (const OpcodeEntry& row : t.rows) n += row.handler != nullptr;
  return n;
}

// Register field of an opcode (bits 2-0, or bits 5-3 shifted down).
constexpr Reg8 reg_field(int bits) {
  return static_cast<Reg8>(bits & 7);
}

inline constexpr const char* kRegNames[8] = {"B", "C", "D", "E", "H", "L", "(HL)", "A"};
inline constexpr const char* kAluNames[8] = {"ADD A,", "ADC A,", "SUB A,", "SBC A,",
                                             "AND ",   "XOR ",   "OR ",    "CP "};
inline constexpr const char* kRotationNames[8] = {"RLC", "RRC", "RL",  "RR",
                                                  "SLA", "SRA", "SLL", "SRL"};

}  // namespace table_builder
