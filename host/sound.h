// The speaker: each sounding frame's samples go to the audio queue.
#pragma once

// Queues the machine's speaker buffer after a frame that made sound. The
// device plays while frames sound; the first silent frame pauses it and
// drops what is still queued, so a silent machine queues nothing.
void sound_queue_frame();
