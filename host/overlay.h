// What the emulator draws over the emulated display: the key picture, the
// tape bar, and one of the tape menu, the record prompt or the help box.
#pragma once

void overlay_draw();
