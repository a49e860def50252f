#include "tools/headless/wav_file.h"

#include "machine/machine.h"

WavFile::~WavFile() { close(); }

bool WavFile::open(const std::string& path) {
  SF_INFO format{};
  format.samplerate = kSampleRate;
  format.channels = 1;
  format.format = SF_FORMAT_WAV | SF_FORMAT_PCM_U8;
  file_ = sf_open(path.c_str(), SFM_WRITE, &format);
  return file_ != nullptr;
}

bool WavFile::append(const uint8_t* samples, size_t count) {
  // The file's own sample format is unsigned 8-bit, so the bytes go in as they are.
  return sf_write_raw(file_, samples, static_cast<sf_count_t>(count)) ==
         static_cast<sf_count_t>(count);
}

bool WavFile::close() {
  if (!file_) return true;
  const bool closed = sf_close(file_) == 0;
  file_ = nullptr;
  return closed;
}
