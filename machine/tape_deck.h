// The tape deck as the frame step and port 0x80 see it. Tape time is counted
// in T-states: the sample under the head t T-states into the current frame is
// floor((C + t) x 44,100 / 2,500,000), C being the T-states of the frames
// completed since play or record began.
#pragma once

#include <cstdint>

// A recorded level holds for this many samples (about 1.54 s) unless the
// next output write replaces it sooner; after that the tape is silent again.
inline constexpr uint64_t kRecordHoldSamples = 68'027;

// The input level while playing, read `t` T-states into the frame; moves the
// head there. True for a sample of 144 or more.
bool tape_input_high(uint32_t t);

// The output level (0 or 255) written `t` T-states into the frame while
// recording.
void tape_record_level(uint32_t t, uint8_t level);

// Advances the tape clock by the T-states the frame ran; stops the deck at
// the end of the tape.
void tape_frame_end(uint32_t ran);
