// The configuration reader on any bytes (lines of any length, NUL bytes, no
// final newline): the tape list must come out well formed, "default.raw"
// first and 1 to 5 names, each a single NUL-terminated token of 1 to 63
// characters.
#include <cstdio>
#include <cstring>

#include "host/config.h"
#include "tests/fuzz/check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An empty memory stream cannot be opened; an empty file reads the same.
  std::FILE* file = size == 0 ? std::fopen("/dev/null", "r") : fmemopen(const_cast<uint8_t*>(data), size, "r");
  check(file != nullptr, "cannot open the input");
  TapeList list;
  tape_list_reset(list);
  config_read(file, list);
  std::fclose(file);
  check(list.count >= 1 && list.count <= kMaxTapes, "the tape list has a bad count");
  check(std::strcmp(list.names[0], kRecordingName) == 0, "the recording is not the first tape");
  for (int i = 0; i < list.count; ++i) {
    const char* name = list.names[i];
    const size_t length = strnlen(name, sizeof list.names[i]);
    check(length > 0 && length < sizeof list.names[i] && std::strcspn(name, " \t\r\n") == length,
          "a tape name is not a single token");
  }
  return 0;
}
