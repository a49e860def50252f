// The ROM, extra-image and tape loaders at every size around their limits,
// from memory and from a file: each must take exactly the first
// min(size, limit) bytes into its own region and touch nothing else; the
// tape after them is silent.
//
// Input: the loader (byte 0: ROM bytes, extra-image bytes, tape samples,
// extra-image file, tape file), the size (byte 1: with bit 7 clear, the limit
// plus byte 2 read as signed; with it set, the content's length), then the
// content, repeated to the size.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/check.h"
#include "tests/fuzz/machine_sandbox.h"

namespace {

enum Loader { kRomBytes, kDevBytes, kTapeBytes, kDevFile, kTapeFile, kLoaders };
constexpr size_t kHeaderSize = 3;
constexpr const char* kTapePath = "data/fuzz.raw";

void write_file(const char* path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void load(Loader loader, const std::vector<uint8_t>& bytes) {
  switch (loader) {
    case kRomBytes:
      return machine_load_rom_image(bytes.data(), bytes.size());
    case kDevBytes:
      return machine_load_dev_bytes(bytes.data(), bytes.size());
    case kTapeBytes:
      return tape_load_samples(bytes.data(), bytes.size());
    case kDevFile:
      write_file(kDevImagePath, bytes);
      return machine_load_dev_image();
    default:
      write_file(kTapePath, bytes);
      return tape_load(kTapePath);
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  sandbox_start();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kHeaderSize) return -1;
  const auto loader = static_cast<Loader>(data[0] % kLoaders);
  const bool tape = loader == kTapeBytes || loader == kTapeFile;
  const size_t limit = tape ? kTapeSamples : loader == kRomBytes ? kRomSize : kDevImageMaxSize;
  const size_t content_size = size - kHeaderSize;
  const size_t length = data[1] & 0x80 ? content_size : limit + static_cast<size_t>(static_cast<int8_t>(data[2]));
  std::vector<uint8_t> bytes(length);
  size_t filled = std::min(content_size, length);
  std::copy_n(data + kHeaderSize, filled, bytes.begin());
  for (; filled > 0 && filled < length; filled *= 2)  // doubling: a tape is 26 MB
    std::copy_n(bytes.begin(), std::min(filled, length - filled), bytes.begin() + static_cast<ptrdiff_t>(filled));

  const std::vector<uint8_t> before(machine.memory, machine.memory + kMemorySize);
  load(loader, bytes);
  const size_t taken = std::min(length, limit);
  const size_t start = tape ? 0 : loader == kRomBytes ? 0 : kDevImageStart;
  const uint8_t* region = tape ? machine.tape.buffer : machine.memory + start;
  check(taken == 0 || std::memcmp(bytes.data(), region, taken) == 0, "the loaded region does not hold the first bytes");
  if (tape) {
    // All silent: the first sample is, and each equals the next.
    const size_t rest = kTapeSamples - taken;
    const uint8_t* after = region + taken;
    check(rest == 0 || (after[0] == kSilentSample && std::memcmp(after, after + 1, rest - 1) == 0),
          "the tape after the loaded samples is not silent");
  }
  const size_t end = tape ? 0 : start + taken;  // memory outside [start, end) must not change
  check(std::equal(before.begin(), before.begin() + static_cast<ptrdiff_t>(start), machine.memory) &&
            std::equal(before.begin() + static_cast<ptrdiff_t>(end), before.end(), machine.memory + end),
        "the loader changed memory outside its region");
  return 0;
}
