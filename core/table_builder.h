// Compile-time tools for filling the dispatch tables: rows with handler and
// text, rows filled by a rule over a run of opcodes, and mnemonic texts
// spelled at compile time into fixed storage.
#pragma once

#include <cstdint>
#include <type_traits>
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

// A table under construction, with a record of which rows hold what (the
// rows themselves are not inspected: comparing a handler's address with
// null is not a constant expression in every build).
enum class RowUse : uint8_t { Empty, Handler, Prefix };

struct TableBuilder {
  OpcodeTable table{};
  RowUse use[256]{};
  int handlers = 0;

  constexpr void claim(int op) {
    if (use[op] != RowUse::Empty) throw "opcode row filled twice";
  }
  constexpr void put(int op, OpcodeHandler handler, const char* text) {
    claim(op);
    use[op] = RowUse::Handler;
    ++handlers;
    table.rows[op] = OpcodeEntry{handler, operand_kind_of(text), text, nullptr};
  }
  constexpr void prefix(int op, const OpcodeTable* sub_table) {
    claim(op);
    use[op] = RowUse::Prefix;
    table.rows[op] = OpcodeEntry{nullptr, OPERAND_NONE, nullptr, sub_table};
  }
};

// What a row rule names for an opcode that has no row.
struct NoRow {};

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
constexpr Mnemonics with_iy(const TableBuilder& b) {
  Mnemonics m{};
  for (int op = 0; op < 256; ++op) {
    if (b.use[op] != RowUse::Handler) continue;
    const char* from = b.table.rows[op].mnemonic;
    char* to = m.text[op];
    for (int i = 0; from[i]; ++i) to[i] = (i > 0 && from[i - 1] == 'I' && from[i] == 'X') ? 'Y' : from[i];
  }
  return m;
}

constexpr TableBuilder respelled(TableBuilder b, const Mnemonics& m) {
  for (int op = 0; op < 256; ++op) {
    if (b.use[op] == RowUse::Handler) b.table.rows[op].mnemonic = m.text[op];
  }
  return b;
}

// Fills rows First .. First+Count-1 by a rule: `pick` is a lambda template
// that names the handler of opcode Op, or NoRow for an empty row; the text
// comes from `texts`.
template <int First, int Count, class Pick>
constexpr void fill(TableBuilder& b, const Mnemonics& texts, Pick pick) {
  [&]<int... I>(std::integer_sequence<int, I...>) {
    (
        [&] {
          constexpr int op = First + I;
          using Picked = decltype(pick.template operator()<op>());
          if constexpr (!std::is_same_v<Picked, NoRow>) {
            b.put(op, pick.template operator()<op>(), texts.text[op]);
          }
        }(),
        ...);
  }(std::make_integer_sequence<int, Count>{});
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
