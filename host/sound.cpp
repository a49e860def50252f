#include "host/sound.h"

#include "host/host_shell.h"
#include "machine/machine.h"

void sound_queue_frame() {
  if (machine.sound_active) {
    if (!host.sound_was_active) SDL_PauseAudioDevice(host.audio, 0);
    SDL_QueueAudio(host.audio, machine.speaker, kSamplesPerFrame);
  } else if (host.sound_was_active) {
    SDL_PauseAudioDevice(host.audio, 1);
    SDL_ClearQueuedAudio(host.audio);
  }
}
