// The keyboard layout file that the headless runner's --layout names, on
// any bytes: it is either refused with a message or gives 40 keys, one per
// matrix position; and the characters an accepted layout gives, typed with
// it, become key strokes with real host keys, or a message.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tools/headless/typing.h"
#include "tools/keyboard_layout.h"

namespace {

constexpr int kRows = 8, kColumns = 5;

std::string path;

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

void remove_file() { std::remove(path.c_str()); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const char* base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  path = std::string(base) + "/vorn_layout_fuzz_" + std::to_string(getpid()) + ".txt";
  std::atexit(remove_file);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  std::vector<KeyLegend> layout;
  std::string error;
  if (!keyboard_layout_read(path, layout, error)) {
    if (error.empty()) fault("a refused layout gave no message");
    return 0;
  }
  if (layout.size() != 40) fault("an accepted layout does not have 40 keys");
  bool seen[kRows][kColumns] = {};
  for (const KeyLegend& key : layout) {
    if (key.row < 0 || key.row >= kRows || key.column < 0 || key.column >= kColumns)
      fault("a key lies outside the matrix");
    if (seen[key.row][key.column]) fault("two keys share a position");
    seen[key.row][key.column] = true;
  }

  // Every character the layout claims to give, plus a line end.
  std::string text = "\n";
  for (const KeyLegend& key : layout)
    for (const KeySymbol* symbol : {&key.plain, &key.shift, &key.ctrl})
      if (!key.is_modifier && symbol->code != 0) text += static_cast<char>(symbol->code);
  std::vector<Action> actions{{1, ActionKind::Type, -1, text, 0}};
  if (!expand_typing(layout, actions, error)) {
    if (error.empty()) fault("untypable text gave no message");
    return 0;
  }
  for (const Action& action : actions)
    if (action.scancode < 0) fault("a typed stroke has no host key");
  return 0;
}
