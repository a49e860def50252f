// A private X display for tests of the real program: Xvfb at 1280 x 1024 with
// the openbox window manager (without one, a full-screen SDL window stays
// 1 x 1), plus the few things the tests do there: start the program in a
// working folder of its own, press keys with xdotool and read the screen.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;
  // The pixel at canvas position (x, y) of the 640 x 480 canvas, which
  // fills the 1280 x 1024 screen at twice its size below a 32-pixel bar.
  Rgb canvas(int x, int y) const;
  // Whether any canvas pixel of the rectangle has `colour`.
  bool any(int x, int y, int w, int h, Rgb colour) const;
};

class WindowSession {
 public:
  // Starts Xvfb; false when no X server can run here.
  bool start_server();
  // Starts openbox on that server; false when it does not come up.
  bool start_window_manager();
  ~WindowSession();

  Screenshot screenshot() const;

 private:
  pid_t server_ = 0, window_manager_ = 0;
  std::string display_;
};

// A folder with a data/ folder for one run of the program; removed at the end.
class WorkFolder {
 public:
  WorkFolder();
  ~WorkFolder();
  const std::string& path() const { return path_; }
  std::string data(const std::string& name) const { return path_ + "/data/" + name; }
  void copy_in(const std::string& source, const std::string& name) const;
  void write(const std::string& name, const std::string& text) const;

 private:
  std::string path_;
};

// The program, started in a work folder with sound going to "audio.raw" there.
class Program {
 public:
  Program(const WorkFolder& folder);
  ~Program();
  // Waits until the program's window shows and has the keyboard focus.
  bool wait_for_window() const;
  // The exit status, or -1 when the program did not end within `seconds`
  // (it is then killed).
  int wait_exit(double seconds);
  void terminate() const;  // SIGTERM

 private:
  pid_t pid_ = 0;
};

// Runs a shell command (xdotool, import) quietly; true on exit status 0.
bool shell(const std::string& command);

// Polls `condition` until it holds, for up to `seconds`.
bool eventually(double seconds, const std::function<bool()>& condition);
