// Whole-file binary I/O for the machine's data files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Reads at most `limit` bytes from the start of the file; a longer file
// contributes only its head. No value when it is not a plain file (a pipe would block) or cannot be read.
std::optional<std::vector<uint8_t>> read_file(const char* path, size_t limit);

// Replaces the file at `path` with `size` bytes. The bytes go to `path` +
// ".tmp" in the same folder first, which is then renamed over the old file,
// so a crash or a full disk mid-write never destroys the previous file. On
// failure the old file is untouched, the temporary file is removed, and the
// result is false.
bool write_file_replacing(const char* path, const uint8_t* data, size_t size);
