// Host keys by the names the command line uses: the scancode names without
// their prefix ("A", "7", "RETURN", "LSHIFT").
#pragma once

#include <string>
#include <string_view>

// The scancode named `name`, or -1 for a name that is not supported.
int scancode_from_name(std::string_view name);

// The supported names, separated by spaces, for messages and help.
std::string supported_key_names();
