// The ROM, extra-image and tape loaders at every size around their limits,
// from memory and from a file: each must take exactly the first
// min(size, limit) bytes into its own region and touch nothing else (the
// tape's rest turns silent).
//
// Input: the loader (byte 0: ROM bytes, extra-image bytes, tape samples,
// extra-image file, tape file), the size (byte 1: with bit 7 clear the size
// is the limit plus byte 2 taken as a signed number; with it set, the length
// of the content), then the content, repeated to the size.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include "machine/loaders.h"
#include "machine/machine.h"
#include "tests/fuzz/machine_sandbox.h"

namespace {

enum Loader { kRomBytes, kDevBytes, kTapeBytes, kDevFile, kTapeFile, kLoaders };

constexpr size_t kHeaderSize = 3;
constexpr const char* kTapePath = "data/fuzz.raw";

[[noreturn]] void fault(const char* what) {
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

size_t limit_of(Loader loader) {
  switch (loader) {
    case kRomBytes:
      return kRomSize;
    case kDevBytes:
    case kDevFile:
      return kDevImageMaxSize;
    default:
      return kTapeSamples;
  }
}

// The content repeated to `length` bytes (zeros when there is none).
std::vector<uint8_t> repeated(const uint8_t* content, size_t size, size_t length) {
  std::vector<uint8_t> bytes(length);
  size_t filled = std::min(size, length);
  std::copy_n(content, filled, bytes.begin());
  while (filled > 0 && filled < length) {
    const size_t more = std::min(filled, length - filled);
    std::copy_n(bytes.begin(), more, bytes.begin() + static_cast<ptrdiff_t>(filled));
    filled += more;
  }
  return bytes;
}

bool silent(const uint8_t* samples, size_t count) {
  static const std::vector<uint8_t> silence(1 << 16, kSilentSample);
  for (size_t done = 0; done < count; done += silence.size())
    if (std::memcmp(samples + done, silence.data(), std::min(silence.size(), count - done)) != 0)
      return false;
  return true;
}

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
  const uint8_t* content = data + kHeaderSize;
  const size_t content_size = size - kHeaderSize;
  const size_t limit = limit_of(loader);
  const size_t length =
      data[1] & 0x80 ? content_size : limit + static_cast<size_t>(static_cast<int8_t>(data[2]));
  const std::vector<uint8_t> bytes = repeated(content, content_size, length);

  const std::vector<uint8_t> memory_before(machine.memory, machine.memory + kMemorySize);
  load(loader, bytes);
  const size_t taken = std::min(length, limit);
  const bool tape = loader == kTapeBytes || loader == kTapeFile;
  const size_t start = loader == kRomBytes ? 0 : kDevImageStart;
  const uint8_t* region = tape ? machine.tape.buffer : machine.memory + start;

  if (taken > 0 && std::memcmp(bytes.data(), region, taken) != 0)
    fault("the loaded region does not hold the first bytes");
  if (tape) {
    if (!silent(region + taken, kTapeSamples - taken))
      fault("the tape after the loaded samples is not silent");
    if (!std::equal(memory_before.begin(), memory_before.end(), machine.memory))
      fault("loading a tape changed memory");
  } else {
    const size_t end = start + taken;
    if (!std::equal(memory_before.begin(), memory_before.begin() + static_cast<ptrdiff_t>(start),
                    machine.memory) ||
        !std::equal(memory_before.begin() + static_cast<ptrdiff_t>(end), memory_before.end(),
                    machine.memory + end))
      fault("the loader changed memory outside its region");
  }
  return 0;
}
