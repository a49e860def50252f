// Typing text on the emulated keyboard: each character becomes the host key
// strokes that give its code in the machine's own layout.
#pragma once

#include <string>
#include <vector>

#include "tools/headless/options.h"
#include "tools/keyboard_layout.h"

// Frames a typed key is held, and frames with nothing down after it.
inline constexpr uint32_t kTypeHoldFrames = 2;
inline constexpr uint32_t kTypeGapFrames = 2;

// Replaces every Type action by key-down and key-up actions. For each
// character the first key whose plain layer gives its code is used, else the
// first whose Shift layer does (with Shift held), else the first whose Ctrl
// layer does (with Ctrl held). A line end is typed as the code of RETURN.
// False with a one-line `error` when a character has no key or the layout
// names a host key that cannot be pressed.
bool expand_typing(const std::vector<KeyLegend>& layout, std::vector<Action>& actions,
                   std::string& error);
