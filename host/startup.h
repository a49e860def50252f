// Start-up and shutdown of the host program.
#pragma once

// Brings up SDL (window, renderer, textures, audio device), reads the tape
// list from "data/vorn.cfg", sets up the machine with "data/vorn.bin" and
// loads the first tape. False when any of it fails.
bool host_start();

// Writes out a recording still in progress, then releases the keyboard
// arrays, the machine and the audio device.
void host_shut_down();
