// Turns the keyboard layout into the ROM's key tables, as an assembly
// include: the codes of the named keys, the matrix positions of Shift, Ctrl
// and the break key, and three 40-byte tables (plain, Shift, Ctrl) indexed
// by row * 5 + column.
//
//   vorn-romgen-keys keyboard.txt OUT.inc
#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/keyboard_layout.h"
#include "tools/romgen/write_source.h"

namespace {

std::string hex_byte(uint8_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0%02Xh", value);
  return text;
}

void write_table(std::ostream& out, const char* label, const std::vector<KeyLegend>& keys,
                 KeySymbol KeyLegend::*layer) {
  uint8_t table[40] = {};
  for (const auto& key : keys) table[key.row * 5 + key.column] = (key.*layer).code;
  out << label << ":\n";
  for (int row = 0; row < 8; ++row) {
    out << "        DEFB ";
    for (int column = 0; column < 5; ++column)
      out << hex_byte(table[row * 5 + column]) << (column < 4 ? "," : "");
    out << "        ; row " << row << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vorn-romgen-keys keyboard.txt OUT.inc\n";
    return 2;
  }
  std::vector<KeyLegend> keys;
  std::string error;
  if (!keyboard_layout_read(argv[1], keys, error)) {
    std::cerr << error << "\n";
    return 1;
  }
  const KeyLegend *shift = nullptr, *ctrl = nullptr, *brk = nullptr;
  for (const auto& key : keys) {
    if (key.plain.label == "SHIFT") shift = &key;
    if (key.plain.label == "CTRL") ctrl = &key;
    if (!brk && key.ctrl.label == "BRK") brk = &key;
  }
  if (!shift || !ctrl || !brk) {
    std::cerr << argv[1] << ": the layout needs a SHIFT key, a CTRL key and a Ctrl+key BREAK\n";
    return 1;
  }
  // The tape routines read Ctrl and the break key with both rows selected at
  // once; a key in another selected row toggles its column, so the two must
  // lie in different columns.
  if (brk->row != ctrl->row && brk->column == ctrl->column) {
    std::cerr << argv[1] << ": BREAK and CTRL must lie in different columns\n";
    return 1;
  }
  std::ostringstream out;
  out << "; Key tables generated from " << argv[1] << ".\n";
  for (const auto& named : keyboard_named_symbols())
    if (named.code != 0) out << "KEY_" << named.name << " EQU " << hex_byte(named.code) << "\n";
  out << "SHIFT_ROW EQU " << shift->row << "\nSHIFT_COLUMN EQU " << shift->column << "\n"
      << "CTRL_ROW EQU " << ctrl->row << "\nCTRL_COLUMN EQU " << ctrl->column << "\n"
      << "BREAK_ROW EQU " << brk->row << "\nBREAK_COLUMN EQU " << brk->column << "\n";
  write_table(out, "keymap_plain", keys, &KeyLegend::plain);
  write_table(out, "keymap_shift", keys, &KeyLegend::shift);
  write_table(out, "keymap_ctrl", keys, &KeyLegend::ctrl);
  return write_source(argv[2], out.str());
}
