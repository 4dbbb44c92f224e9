// Command-line options of tarq-solve.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarqsolve {

struct Options {
  std::string file;                                         // empty: the built-in example
  std::vector<std::pair<std::string, std::string>> params;  // --param NAME=VALUE, in order
  std::optional<double> timeLimit;
  std::string writeFile;
  std::string solutionFile;
  std::string iisFile;
  bool lp = false;
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// Parses argv; on a usage error returns false with a one-line message in error.
bool ParseOptions(int argc, const char* const* argv, Options& out, std::string& error);

// The usage text shown by --help.
const char* UsageText();

// True when name ends with one of the suffixes (without regard to letter case).
bool EndsWithAny(const std::string& name, std::initializer_list<const char*> suffixes);

}  // namespace tarqsolve
