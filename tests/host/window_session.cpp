#include "tests/host/window_session.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// Starts argv[0] from PATH in `folder` with its output sent to `log`.
pid_t spawn(const std::vector<std::string>& args, const std::string& folder = ".",
            const std::string& log = "/dev/null") {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  const int out = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (chdir(folder.c_str()) != 0 || out < 0) _exit(127);
  dup2(out, 1);
  dup2(out, 2);
  for (int fd = 3; fd < 256; ++fd) close(fd);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execvp(argv[0], argv.data());
  _exit(127);
}

// Asks `pid` to end (an X server then removes its lock and socket) and kills
// it if it has not ended within two seconds.
void stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  if (!eventually(2, [&] { return waitpid(pid, nullptr, WNOHANG) == pid; })) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
}

std::string temporary(const std::string& what) {
  return "/tmp/vorn_" + what + "_" + std::to_string(getpid());
}

}  // namespace

bool eventually(double seconds, const std::function<bool()>& condition) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

bool shell(const std::string& command) {
  return std::system(("(" + command + ") >/dev/null 2>&1").c_str()) == 0;
}

Rgb Screenshot::canvas(int x, int y) const {
  const int px = 2 * x, py = 2 * y + 32;
  if (px < 0 || py < 0 || px >= width || py >= height) return {-1, -1, -1};
  const uint8_t* p = &rgb[(static_cast<size_t>(py) * width + px) * 3];
  return {p[0], p[1], p[2]};
}

bool Screenshot::any(int x, int y, int w, int h, Rgb colour) const {
  for (int row = y; row < y + h; ++row)
    for (int column = x; column < x + w; ++column)
      if (canvas(column, row) == colour) return true;
  return false;
}

bool WindowSession::start_server() {
  // Xvfb picks a free display number and, once clients can connect, writes
  // it on a line of its own to its output. Without -noreset the server would
  // reset when a client leaves and refuse one connecting meanwhile.
  const std::string log = temporary("display");
  std::filesystem::remove(log);
  server_ = spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"},
                  ".", log);
  bool ended = false;
  eventually(20, [&] {
    std::ifstream in(log);
    for (std::string line; std::getline(in, line) && !in.eof();)
      if (!line.empty() && line.find_first_not_of("0123456789") == std::string::npos) display_ = ":" + line;
    ended = waitpid(server_, nullptr, WNOHANG) == server_;
    return ended || !display_.empty();
  });
  std::filesystem::remove(log);
  if (ended) server_ = 0;
  if (ended || display_.empty()) return false;
  setenv("DISPLAY", display_.c_str(), 1);
  return true;
}

bool WindowSession::start_window_manager() {
  // openbox runs its start-up command once it manages windows; a window
  // mapped before then may be left unmanaged, 1 x 1 and never shown.
  const std::string ready = temporary("window_manager");
  std::filesystem::remove(ready);
  window_manager_ = spawn({"openbox", "--startup", "touch " + ready});
  const bool started = eventually(20, [&] { return std::filesystem::exists(ready); });
  std::filesystem::remove(ready);
  return started;
}

WindowSession::~WindowSession() {
  stop(window_manager_);
  stop(server_);
}

Screenshot WindowSession::screenshot() const {
  const std::string path = temporary("shot") + ".rgb";
  Screenshot shot{1280, 1024, std::vector<uint8_t>(1280 * 1024 * 3)};
  const bool taken = shell("import -window root -depth 8 rgb:" + path);
  std::ifstream in(path, std::ios::binary);
  const bool read = in.read(reinterpret_cast<char*>(shot.rgb.data()), shot.rgb.size()) && in.peek() == EOF;
  std::filesystem::remove(path);
  return taken && read ? shot : Screenshot{};
}

WorkFolder::WorkFolder() {
  char pattern[] = "/tmp/vorn_window_test_XXXXXX";
  path_ = mkdtemp(pattern);
  std::filesystem::create_directory(path_ + "/data");
}
WorkFolder::~WorkFolder() { std::filesystem::remove_all(path_); }
void WorkFolder::copy_in(const std::string& source, const std::string& name) const {
  std::filesystem::copy_file(source, data(name));
}
void WorkFolder::write(const std::string& name, const std::string& text) const {
  std::ofstream(data(name), std::ios::binary) << text;
}

Program::Program(const WorkFolder& folder) {
  setenv("SDL_VIDEODRIVER", "x11", 1);
  setenv("SDL_AUDIODRIVER", "disk", 1);
  setenv("SDL_DISKAUDIOFILE", (folder.path() + "/audio.raw").c_str(), 1);
  setenv("SDL_DISKAUDIODELAY", "6", 1);
  setenv("ASAN_OPTIONS", "detect_leaks=0", 1);  // the X libraries keep memory to the end
  pid_ = spawn({VORN_PROGRAM}, folder.path(), folder.path() + "/output.txt");
}

Program::~Program() { stop(pid_); }

bool Program::wait_for_window() const {
  // A search fails outright when a window it looks at vanishes meanwhile, as
  // the windows SDL creates while it starts up may; it is repeated. Keys go
  // to the focused window, so the window must also have the focus.
  return eventually(20, [] {
    return shell("w=$(xdotool search --onlyvisible --class '^vorn$' | head -1) && "
                 "[ -n \"$w\" ] && [ \"$(xdotool getwindowfocus)\" = \"$w\" ]");
  });
}

int Program::wait_exit(double seconds) {
  int status = 0;
  if (!eventually(seconds, [&] { return waitpid(pid_, &status, WNOHANG) == pid_; })) return -1;
  pid_ = 0;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void Program::terminate() const { kill(pid_, SIGTERM); }
