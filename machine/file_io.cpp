#include "machine/file_io.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// The new bytes must be on the disk before the rename makes them the file,
// or a power cut could leave an empty file where the old one stood.
bool flush_to_disk(std::FILE* file) {
#ifdef _WIN32
  return _commit(_fileno(file)) == 0;
#else
  return fsync(fileno(file)) == 0;
#endif
}

}  // namespace

std::optional<std::vector<uint8_t>> read_file(const char* path, size_t limit) {
  // Only plain files: opening a pipe or a device named as a tape would wait
  // for a writer that may never come.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
  std::FILE* file = std::fopen(path, "rb");
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes;
  constexpr size_t kChunk = 1 << 16;
  bool failed = false;
  while (bytes.size() < limit) {
    const size_t start = bytes.size();
    const size_t want = std::min(kChunk, limit - start);
    bytes.resize(start + want);
    const size_t got = std::fread(bytes.data() + start, 1, want, file);
    bytes.resize(start + got);
    if (got < want) {
      failed = std::ferror(file) != 0;
      break;
    }
  }
  std::fclose(file);
  if (failed) return std::nullopt;
  return bytes;
}

bool write_file_replacing(const char* path, const uint8_t* data, size_t size) {
  const std::string temporary = std::string(path) + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (!file) return false;
  bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
  written = std::fflush(file) == 0 && written;
  written = flush_to_disk(file) && written;
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}
