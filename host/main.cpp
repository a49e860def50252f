// vorn: the Vorn computer in a full-screen window. It reads its ROM image,
// bitmaps and tape list from the "data" folder of the working directory,
// runs the machine 50 frames a second, and ends on Escape or when the
// desktop asks it to quit (exit status 0). When start-up fails it ends at
// once with exit status 1 and prints nothing. Arguments are ignored.
#include "host/main_loop.h"
#include "host/startup.h"

int main(int, char**) {
  if (!host_start()) return 1;
  main_loop();
  host_shut_down();
  return 0;
}
