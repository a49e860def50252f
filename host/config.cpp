#include "host/config.h"

#include <cstring>

namespace {

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Finds the next whitespace-separated token at or after `*cursor` in the
// `length` characters of `line`; returns its length (0 when there is none)
// and leaves `*start` on it and `*cursor` past it.
size_t next_token(const char* line, size_t length, size_t* cursor, size_t* start) {
  size_t i = *cursor;
  while (i < length && is_blank(line[i])) ++i;
  *start = i;
  while (i < length && !is_blank(line[i])) ++i;
  *cursor = i;
  return i - *start;
}

void take_line(const char* line, size_t length, TapeList& list) {
  size_t cursor = 0, key_start = 0, value_start = 0;
  const size_t key_length = next_token(line, length, &cursor, &key_start);
  const size_t value_length = next_token(line, length, &cursor, &value_start);
  if (key_length == 0 || value_length == 0) return;
  if (key_length > kMaxNameLength || value_length > kMaxNameLength) return;
  static constexpr char kTapeKey[] = "casette";
  if (key_length != sizeof kTapeKey - 1 || std::memcmp(line + key_start, kTapeKey, key_length) != 0)
    return;
  if (list.count >= kMaxTapes) return;
  char* name = list.names[list.count++];
  std::memcpy(name, line + value_start, value_length);
  name[value_length] = '\0';
}

}  // namespace

void tape_list_reset(TapeList& list) {
  list = TapeList{};
  std::strcpy(list.names[0], kRecordingName);
  list.count = 1;
}

void config_read(std::FILE* file, TapeList& list) {
  char line[kMaxLineLength];
  size_t length = 0;
  bool overlong = false, holds_nul = false;
  for (;;) {
    const int c = std::getc(file);
    if (c == EOF || c == '\n') {
      if (!overlong && !holds_nul) take_line(line, length, list);
      if (c == EOF) return;
      length = 0;
      overlong = holds_nul = false;
      continue;
    }
    if (c == '\0') holds_nul = true;
    if (length < sizeof line)
      line[length++] = static_cast<char>(c);
    else
      overlong = true;
  }
}
