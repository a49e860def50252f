// The 50-frames-per-second main loop.
#pragma once

// Runs one frame when 20 ms have passed since the last one; returns false
// when it is not yet time.
bool frame_run();

// Runs frames until the running flag is cleared, sleeping between them.
void main_loop();
