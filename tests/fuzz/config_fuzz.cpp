// The configuration reader on any bytes: lines of any length, NUL bytes, no
// final newline. The tape list must come out well formed: "default.raw"
// first, 1 to 5 names, each a NUL-terminated single token of 1 to 63
// characters.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host/config.h"

namespace {

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

bool well_formed(const char (&name)[kMaxNameLength + 1]) {
  const void* end = std::memchr(name, '\0', sizeof name);
  if (end == nullptr || end == name) return false;
  for (const char* c = name; c != end; ++c)
    if (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r') return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An empty memory stream cannot be opened; an empty file reads the same.
  std::FILE* file = size == 0 ? std::fopen("/dev/null", "r")
                              : fmemopen(const_cast<uint8_t*>(data), size, "r");
  if (file == nullptr) fault("cannot open the input");
  TapeList list;
  tape_list_reset(list);
  config_read(file, list);
  std::fclose(file);
  if (list.count < 1 || list.count > kMaxTapes) fault("the tape list has a bad count");
  if (std::strcmp(list.names[0], kRecordingName) != 0) fault("the recording is not the first tape");
  for (int i = 0; i < list.count; ++i)
    if (!well_formed(list.names[i])) fault("a tape name is not a single token");
  return 0;
}
