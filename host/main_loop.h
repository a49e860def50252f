// The 50-frames-per-second main loop.
#pragma once

// Runs one frame when 20 ms have passed since the last one; returns false
// when it is not yet time.
bool frame_run();

// Sleeps until the millisecond tick at which the next frame is due. SDL_Delay
// sleeps at least as long as asked, so the frame then runs in that tick or
// soon after it, never before it.
void frame_wait();

// Runs frames until the running flag is cleared, sleeping between them.
void main_loop();
