// Renders one instruction as assembler text by walking the dispatch tables,
// the same walk the processor makes, so the text can never disagree with what
// executes. The rows' templates hold printf-style placeholders ("0%02Xh",
// "0%04Xh", "(PC+%d)"); they are filled here by a small formatter of our own
// rather than by snprintf, so a template can never steer a variadic call and
// the output is bounded by construction.
#include "core/z80.h"

namespace {

// The longest text any row produces is about 20 characters; callers may rely
// on never seeing more than this.
constexpr size_t kMaxTextLength = 32;

// Appends to a caller's buffer, silently dropping what does not fit and
// keeping the text NUL-terminated. With size 0 it writes nothing at all.
class TextSink {
 public:
  TextSink(char* text, size_t size)
      : text_(text), capacity_(size == 0 ? 0 : (size - 1 < kMaxTextLength ? size - 1 : kMaxTextLength)) {
    if (size > 0) text_[0] = '\0';
  }

  void put(char c) {
    if (length_ >= capacity_) return;
    text_[length_++] = c;
    text_[length_] = '\0';
  }

  void put_hex(uint32_t value, int digits) {
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) put("0123456789ABCDEF"[(value >> shift) & 0xF]);
  }

  void put_decimal(int value) {
    if (value < 0) put('-');
    const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    char digits[10];
    int count = 0;
    unsigned rest = magnitude;
    do {
      digits[count++] = static_cast<char>('0' + rest % 10);
      rest /= 10;
    } while (rest != 0);
    while (count > 0) put(digits[--count]);
  }

 private:
  char* text_;
  size_t capacity_;
  size_t length_ = 0;
};

// Reads the bytes of one instruction relative to its first byte; addresses
// wrap at 16 bits like the processor's.
struct InstructionBytes {
  BusRead read;
  void* context;
  uint16_t address;

  uint8_t at(int offset) const { return read(context, static_cast<uint16_t>(address + offset)); }
};

int count_placeholders(const char* mnemonic) {
  int count = 0;
  for (const char* p = mnemonic; *p != '\0'; ++p) {
    if (*p == '%') ++count;
  }
  return count;
}

int bytes_per_operand(OperandKind kind) {
  switch (kind) {
    case OPERAND_BYTE:
    case OPERAND_REL:
      return 1;
    case OPERAND_WORD:
      return 2;
    case OPERAND_NONE:
      break;
  }
  return 0;
}

// Copies a template, replacing each placeholder by the next operand value.
// A placeholder is '%', an optional zero-padded width and 'X' or 'd'; anything
// else after a '%' is copied as it stands.
void render_template(TextSink& sink, const char* mnemonic, const int* operands, int operand_count) {
  int next = 0;
  for (const char* p = mnemonic; *p != '\0'; ++p) {
    if (*p != '%') {
      sink.put(*p);
      continue;
    }
    const char* spec = p + 1;
    int width = 0;
    while (*spec >= '0' && *spec <= '9') width = width * 10 + (*spec++ - '0');
    if ((*spec != 'X' && *spec != 'd') || next >= operand_count) {
      sink.put(*p);
      continue;
    }
    if (*spec == 'X') {
      sink.put_hex(static_cast<uint32_t>(operands[next]), width > 0 && width <= 8 ? width : 2);
    } else {
      sink.put_decimal(operands[next]);
    }
    ++next;
    p = spec;
  }
}

// An instruction found in a row with a handler. `opcode_offset` is where its
// final opcode byte sits. Operands normally follow that byte; in a table with
// a skip they are the skipped bytes in front of it (the DDCB displacement).
int render_instruction(TextSink& sink, const InstructionBytes& bytes, const OpcodeEntry& row, int opcode_offset,
                       int skip) {
  const int width = bytes_per_operand(row.operand_kind);
  const int operand_count = width == 0 ? 0 : count_placeholders(row.mnemonic);
  const int operand_offset = skip > 0 ? opcode_offset - skip : opcode_offset + 1;

  // At most two operands: LD (IX+d),n carries a displacement and a byte.
  int operands[2] = {0, 0};
  const int stored = operand_count < 2 ? operand_count : 2;
  for (int n = 0; n < stored; ++n) {
    const int offset = operand_offset + n * width;
    switch (row.operand_kind) {
      case OPERAND_BYTE:
        operands[n] = bytes.at(offset);
        break;
      case OPERAND_REL:
        operands[n] = static_cast<int8_t>(bytes.at(offset));
        break;
      case OPERAND_WORD:
        operands[n] = bytes.at(offset) | bytes.at(offset + 1) << 8;
        break;
      case OPERAND_NONE:
        break;
    }
  }
  render_template(sink, row.mnemonic, operands, stored);

  // Operands after the opcode extend the instruction; skipped ones lie inside it.
  const int end_of_operands = operand_offset + stored * width;
  return end_of_operands > opcode_offset + 1 ? end_of_operands : opcode_offset + 1;
}

// Bytes shown as data: "DB 0EDh,012h".
int render_data_bytes(TextSink& sink, const InstructionBytes& bytes, int count) {
  sink.put('D');
  sink.put('B');
  sink.put(' ');
  for (int n = 0; n < count; ++n) {
    if (n > 0) sink.put(',');
    sink.put('0');
    sink.put_hex(bytes.at(n), 2);
    sink.put('h');
  }
  return count;
}

bool is_index_table(const OpcodeTable* table) { return table == &z80_dd_table || table == &z80_fd_table; }

}  // namespace

// The walk:
// - A row with a handler ends the instruction.
// - A row with a sub-table is a prefix: the next opcode byte is looked up in
//   that table, past the table's skip bytes.
// - An empty row of the DD or FD table means the index prefix has no effect:
//   the byte is the main table's instruction, one byte longer. If that byte is
//   itself a prefix (DD, ED, FD), the first prefix stands alone as a one-byte
//   instruction, "DB 0DDh" or "DB 0FDh", and the next instruction starts at
//   the byte after it.
// - Any other empty row (ED 00, ED FF, ...) is a two-byte instruction that
//   does nothing. It is shown as the data bytes the processor consumes,
//   "DB 0EDh,000h", with length 2, so that stepping over it lands where the
//   processor does; a "NOP" text would suggest a one-byte instruction.
int z80_disassemble(BusRead read, void* context, uint16_t address, char* text, size_t size) {
  TextSink sink(text, size);
  const InstructionBytes bytes{read, context, address};

  const OpcodeTable* table = &z80_main_table;
  int offset = 0;  // where the next opcode byte would sit without a skip
  for (;;) {
    const int skip = table->skip;
    const uint8_t opcode = bytes.at(offset + skip);
    const OpcodeEntry& row = table->rows[opcode];
    if (row.handler != nullptr) return render_instruction(sink, bytes, row, offset + skip, skip);
    if (row.sub_table != nullptr) {
      table = row.sub_table;
      ++offset;
      continue;
    }
    if (is_index_table(table)) {
      if (z80_main_table.rows[opcode].sub_table != nullptr) return render_data_bytes(sink, bytes, offset);
      table = &z80_main_table;
      continue;
    }
    return render_data_bytes(sink, bytes, offset + 1);
  }
}
