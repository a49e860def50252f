#include "tools/headless/options.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "tools/headless/key_names.h"

const char* const kHelpText =
    R"(Usage: vorn-headless --frames N [options]

Runs the Vorn machine without a window, as fast as the host allows, in a
working directory that holds data/ (data/vorn.bin is required). Frames are
numbered from 1. Actions for frame F run, in command-line order, before frame
F is emulated, where the window program handles its input; host keys reach
the emulated keyboard after each frame through the same hold rule. A frame
number beyond N is an error; a key release or a typed stroke that a --tap or
--type puts beyond frame N simply never happens. There are no Alt commands
here: LALT and RALT are plain host keys, and the emulated keyboard is
updated after every frame.

  --frames N            run N frames of 20 ms (required, 1 to 100000000)
  --press F:KEY         host key KEY goes down at frame F. KEY is a host
                        scancode name: A..Z, 0..9, RETURN, ESCAPE, BACKSPACE,
                        TAB, SPACE, LCTRL, LSHIFT, LALT, RCTRL, RSHIFT, RALT
  --release F:KEY       host key KEY goes up at frame F
  --tap F:KEY[:N]       KEY down at frame F, up at frame F+N (N defaults to 2)
  --type F:TEXT         types TEXT from frame F with the machine's keyboard
                        layout: each character's key (with Shift or Ctrl for
                        a shifted or control layer) is held 2 frames, then
                        nothing is down for 2 frames. In TEXT, \n is RETURN
                        and \\ a backslash. A character no key gives is an
                        error.
  --layout PATH         keyboard layout for --type (default data/keyboard.txt)
  --tape-load F:PATH    loads the raw tape PATH (relative to the working
                        directory) at frame F; does not start it
  --tape-play F         plays the tape from its start
  --tape-record F       records a new tape
  --tape-stop F         stops the tape; a recording is written to
                        data/default.raw. A recording still running when the
                        run ends is NOT written: stop it with --tape-stop.
  --save-state F        saves the snapshot data/vorn.state
  --load-state F        loads the snapshot data/vorn.state
  --load-dev F          loads the memory image data/dev.bin at 0x5000
  --reset F             resets the machine
  --png F:PATH          after frame F, writes the 256 x 256 display as the
                        window would show it after frame F, as a PNG
  --dump F:PATH         after frame F, writes the 64 KiB of memory to PATH
  --wav PATH            writes the speaker output of the whole run as a WAV
                        (8-bit unsigned mono, 44,100 Hz, 882 samples per
                        frame, 127 where a frame made no sound)
  --until TEXT          ends the run after the first frame whose screen shows
                        TEXT, read with the system ROM's character set
                        (found through data/vorn.sym), and prints that
                        frame's number; later actions and outputs do not
                        happen. Exit status 3 when N frames pass without it.
  --help                shows this text

Exit status: 0 on success, 1 when the machine cannot start (no data/vorn.bin)
or an output cannot be written, 2 for a bad argument, 3 when the text of
--until never showed.
)";

namespace {

bool parse_number(std::string_view text, uint32_t max, uint32_t& value) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t number = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  if (number > max) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

// Splits "F:REST" at its first colon.
bool split_frame(std::string_view value, uint32_t& frame, std::string_view& rest) {
  const size_t colon = value.find(':');
  if (colon == std::string_view::npos) return false;
  rest = value.substr(colon + 1);
  return parse_number(value.substr(0, colon), kMaxFrames, frame);
}

// "\n" is a line end and "\\" a backslash; any other escape is refused.
bool resolve_escapes(std::string_view text, std::string& out) {
  out.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    if (text[i] == 'n')
      out += '\n';
    else if (text[i] == '\\')
      out += '\\';
    else
      return false;
  }
  return true;
}

struct Parser {
  RunOptions& options;
  std::string& error;
  // User-given frame numbers, checked against --frames once it is known.
  std::vector<std::pair<uint32_t, std::string>> frames_given;
  int order = 0;

  // The message stays one printable line whatever the user typed: control
  // characters in the quoted text show as '?'.
  bool fail(std::string what) {
    for (char& c : what)
      if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    error = std::move(what);
    return false;
  }

  bool frame_of(const std::string& option, std::string_view value, uint32_t& frame) {
    if (!parse_number(value, kMaxFrames, frame))
      return fail(option + ": expected a frame number, got '" + std::string(value) + "'");
    frames_given.emplace_back(frame, option);
    return true;
  }

  bool frame_and_rest(const std::string& option, std::string_view value, uint32_t& frame,
                      std::string_view& rest, const char* shape) {
    if (!split_frame(value, frame, rest) || rest.empty())
      return fail(option + ": expected " + shape + ", got '" + std::string(value) + "'");
    frames_given.emplace_back(frame, option);
    return true;
  }

  bool key(const std::string& option, std::string_view name, int& scancode) {
    scancode = scancode_from_name(name);
    if (scancode < 0)
      return fail(option + ": unknown key '" + std::string(name) + "' (keys: " +
                  supported_key_names() + ")");
    return true;
  }

  void add(uint32_t frame, ActionKind kind, int scancode = -1, std::string text = {}) {
    options.actions.push_back({frame, kind, scancode, std::move(text), order});
  }

  bool key_option(const std::string& option, std::string_view value, ActionKind kind) {
    uint32_t frame;
    std::string_view name;
    int scancode;
    if (!frame_and_rest(option, value, frame, name, "F:KEY") || !key(option, name, scancode))
      return false;
    add(frame, kind, scancode);
    return true;
  }

  bool tap(const std::string& option, std::string_view value) {
    uint32_t frame;
    std::string_view rest;
    if (!frame_and_rest(option, value, frame, rest, "F:KEY[:N]")) return false;
    uint32_t hold = 2;
    const size_t colon = rest.find(':');
    if (colon != std::string_view::npos) {
      if (!parse_number(rest.substr(colon + 1), kMaxFrames, hold) || hold == 0)
        return fail(option + ": expected a hold of 1 or more frames in '" + std::string(value) +
                    "'");
      rest = rest.substr(0, colon);
    }
    int scancode;
    if (!key(option, rest, scancode)) return false;
    add(frame, ActionKind::KeyDown, scancode);
    add(frame + hold, ActionKind::KeyUp, scancode);
    return true;
  }

  bool type(const std::string& option, std::string_view value) {
    uint32_t frame;
    std::string_view text;
    if (!frame_and_rest(option, value, frame, text, "F:TEXT")) return false;
    std::string resolved;
    if (!resolve_escapes(text, resolved))
      return fail(option + ": a backslash must be followed by n or another backslash in '" +
                  std::string(text) + "'");
    add(frame, ActionKind::Type, -1, std::move(resolved));
    return true;
  }

  bool capture(const std::string& option, std::string_view value, bool png) {
    uint32_t frame;
    std::string_view path;
    if (!frame_and_rest(option, value, frame, path, "F:PATH")) return false;
    options.captures.push_back({frame, png, std::string(path)});
    return true;
  }

  bool frame_action(const std::string& option, std::string_view value, ActionKind kind) {
    uint32_t frame;
    if (!frame_of(option, value, frame)) return false;
    add(frame, kind);
    return true;
  }

  bool option(const std::string& name, std::string_view value) {
    if (name == "--frames") {
      if (!parse_number(value, kMaxFrames, options.frames) || options.frames == 0)
        return fail("--frames: expected 1 to " + std::to_string(kMaxFrames) + ", got '" +
                    std::string(value) + "'");
      return true;
    }
    if (name == "--press") return key_option(name, value, ActionKind::KeyDown);
    if (name == "--release") return key_option(name, value, ActionKind::KeyUp);
    if (name == "--tap") return tap(name, value);
    if (name == "--type") return type(name, value);
    if (name == "--png") return capture(name, value, true);
    if (name == "--dump") return capture(name, value, false);
    if (name == "--tape-load") {
      uint32_t frame;
      std::string_view path;
      if (!frame_and_rest(name, value, frame, path, "F:PATH")) return false;
      add(frame, ActionKind::TapeLoad, -1, std::string(path));
      return true;
    }
    if (name == "--tape-play") return frame_action(name, value, ActionKind::TapePlay);
    if (name == "--tape-record") return frame_action(name, value, ActionKind::TapeRecord);
    if (name == "--tape-stop") return frame_action(name, value, ActionKind::TapeStop);
    if (name == "--save-state") return frame_action(name, value, ActionKind::SaveState);
    if (name == "--load-state") return frame_action(name, value, ActionKind::LoadState);
    if (name == "--load-dev") return frame_action(name, value, ActionKind::LoadDev);
    if (name == "--reset") return frame_action(name, value, ActionKind::Reset);
    if (name == "--until") {
      if (value.empty()) return fail("--until: expected a text");
      options.until = std::string(value);
      return true;
    }
    if (name == "--wav" || name == "--layout") {
      if (value.empty()) return fail(name + ": expected a path");
      (name == "--wav" ? options.wav_path : options.layout_path) = std::string(value);
      return true;
    }
    return fail("unknown option '" + name + "' (see --help)");
  }
};

}  // namespace

bool parse_options(const std::vector<std::string>& args, RunOptions& options, std::string& error) {
  options = RunOptions{};
  Parser parser{options, error, {}, 0};
  for (size_t i = 0; i < args.size(); ++i, ++parser.order) {
    const std::string& name = args[i];
    if (name == "--help") {
      options.help = true;
      return true;
    }
    if (i + 1 == args.size())
      return parser.fail(name.rfind("--", 0) == 0 ? name + ": missing its value"
                                                  : "unknown option '" + name + "' (see --help)");
    if (!parser.option(name, args[++i])) return false;
  }
  if (options.frames == 0) return parser.fail("--frames N is required (see --help)");
  for (const auto& [frame, option] : parser.frames_given)
    if (frame < 1 || frame > options.frames)
      return parser.fail(option + ": frame " + std::to_string(frame) + " is outside 1.." +
                         std::to_string(options.frames));
  return true;
}

void sort_actions(std::vector<Action>& actions) {
  std::stable_sort(actions.begin(), actions.end(), [](const Action& a, const Action& b) {
    return a.frame != b.frame ? a.frame < b.frame : a.order < b.order;
  });
}
