// The beep: pitch and length measured from the speaker samples. Every OUT
// to the speaker leaves one sample of 255 (high) or 0 (low) where it falls.
#include <gtest/gtest.h>

#include "tests/rom/rom_machine.h"

namespace {

constexpr double kSampleRate = 44'100.0;

struct Wave {
  double hertz = 0;
  double seconds = 0;
};

// Measures the square wave from the first to the last rising edge.
Wave measure(const std::vector<uint8_t>& samples) {
  std::vector<size_t> rises;
  for (size_t i = 0; i < samples.size(); ++i)
    if (samples[i] == 255) rises.push_back(i);
  Wave wave;
  if (rises.size() < 2) return wave;
  const double span = static_cast<double>(rises.back() - rises.front()) / kSampleRate;
  wave.hertz = static_cast<double>(rises.size() - 1) / span;
  wave.seconds = span;
  return wave;
}

class Beep : public testing::TestWithParam<std::pair<int, int>> {};

TEST_P(Beep, HasTheRequestedPitchAndLength) {
  const auto [hertz, ms] = GetParam();
  RomMachine vorn;
  vorn.type("b " + std::to_string(hertz) + " " + std::to_string(ms), 4);
  vorn.sound.clear();
  vorn.type("\n", ms / 20 + 20);
  const Wave wave = measure(vorn.sound);
  EXPECT_NEAR(wave.hertz, hertz, hertz * 0.001);
  // From the first to the last rise is one period short of the whole beep.
  EXPECT_NEAR(wave.seconds + 1.0 / hertz, ms / 1000.0, 0.003);
}

INSTANTIATE_TEST_SUITE_P(Pitches, Beep,
                         testing::Values(std::pair{440, 500}, std::pair{1000, 200},
                                         std::pair{50, 400}, std::pair{3520, 100},
                                         std::pair{9000, 60}));

TEST(Beep, DefaultIsAThousandHertzForAFifthOfASecond) {
  RomMachine vorn;
  vorn.type("b", 4);
  vorn.sound.clear();
  vorn.type("\n", 30);
  const Wave wave = measure(vorn.sound);
  EXPECT_NEAR(wave.hertz, 1000, 2);
  EXPECT_NEAR(wave.seconds, 0.199, 0.003);
}

}  // namespace
