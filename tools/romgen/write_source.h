// The last step of both ROM generators: the assembly text goes to the file
// named on the command line.
#pragma once

#include <fstream>
#include <iostream>
#include <string>

// Returns the generator's exit status: 0, or 1 after a message on stderr.
inline int write_source(const char* path, const std::string& text) {
  std::ofstream file(path);
  file << text;
  if (!file) {
    std::cerr << path << ": cannot write\n";
    return 1;
  }
  return 0;
}
