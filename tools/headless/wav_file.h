// The run's speaker output as a WAV file: 8-bit unsigned mono at 44,100 Hz.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include <sndfile.h>

class WavFile {
 public:
  WavFile() = default;
  WavFile(const WavFile&) = delete;
  WavFile& operator=(const WavFile&) = delete;
  ~WavFile();

  // False when the file cannot be created.
  bool open(const std::string& path);
  // Appends unsigned 8-bit samples; false on a write error.
  bool append(const uint8_t* samples, size_t count);
  // Completes the header; false on a write error.
  bool close();

 private:
  SNDFILE* file_ = nullptr;
};
