#include "options.h"

#include <cctype>
#include <charconv>
#include <cstring>

namespace tarqsolve {
namespace {

// The problem files tarq-solve reads, as the usage text and the messages name them.
constexpr const char* kProblemFormats = ".mps, .qps, .lp, .bin, .dat-s or .cbf, optionally .gz";

// True when name ends with a problem suffix (.mps, .qps, .lp, .bin, .dat-s, .cbf), possibly followed by ".gz". Other
// files the model can read (solutions, starts, parameters, ...) are no problems to solve.
bool IsProblemFile(std::string name) {
  if (EndsWithAny(name, {".gz"})) name.resize(name.size() - 3);
  return EndsWithAny(name, {".mps", ".qps", ".lp", ".bin", ".dat-s", ".cbf"});
}

bool ParseNumber(const std::string& text, double& out) {
  const char* b = text.data();
  const char* e = b + text.size();
  auto [end, ec] = std::from_chars(b, e, out);
  return ec == std::errc() && end == e && !text.empty();
}

}  // namespace

const char* UsageText() {
  return "Usage: tarq-solve [options] [FILE]\n"
         "\n"
         "Reads a problem from FILE (.mps, .qps, .lp, .bin, .dat-s or .cbf, optionally .gz; .qps files are\n"
         "MPS with quadratic sections, .dat-s files SDPA sparse semidefinite problems, .cbf files conic\n"
         "problems), solves it and prints a summary. Without FILE, builds and solves a small\n"
         "production-planning example.\n"
         "\n"
         "Options:\n"
         "  --param NAME=VALUE   set a solver parameter (repeatable), e.g. --param RelGap=1e-6\n"
         "  --time-limit SECONDS stop the solve after this many seconds\n"
         "  --lp                 solve the LP relaxation\n"
         "  --write FILE         write the model (.mps, .lp, .bin or .cbf) before solving\n"
         "  --solution FILE      write the solution (.sol, .json or .bas) after solving\n"
         "  --iis FILE           when the model is infeasible, compute an IIS and write it (.iis)\n"
         "  --quiet              print only the summary\n"
         "  --help               show this text\n"
         "  --version            show the version\n"
         "\n"
         "Exit codes: 0 a solve ran (whatever its outcome), 1 usage error, 2 a file could not be\n"
         "read or written, 3 the solve could not run.\n";
}

bool EndsWithAny(const std::string& name, std::initializer_list<const char*> suffixes) {
  for (const char* s : suffixes) {
    const std::size_t n = std::strlen(s);
    if (name.size() < n) continue;
    bool same = true;
    for (std::size_t i = 0; i < n && same; ++i) {
      same = std::tolower(static_cast<unsigned char>(name[name.size() - n + i])) == s[i];
    }
    if (same) return true;
  }
  return false;
}

bool ParseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    // Options that take a value accept it as the next argument or after "=".
    auto value = [&](const char* name, std::string& into) {
      const std::string prefix = std::string(name) + "=";
      if (arg.rfind(prefix, 0) == 0) {
        into = arg.substr(prefix.size());
      } else if (i + 1 < argc) {
        into = argv[++i];
      } else {
        error = std::string(name) + " needs a value";
        return false;
      }
      return true;
    };
    auto is = [&](const char* name) { return arg == name || arg.rfind(std::string(name) + "=", 0) == 0; };
    if (arg == "--help" || arg == "-h") {
      out.help = true;
    } else if (arg == "--version") {
      out.version = true;
    } else if (arg == "--lp") {
      out.lp = true;
    } else if (arg == "--quiet" || arg == "-q") {
      out.quiet = true;
    } else if (is("--param")) {
      std::string setting;
      if (!value("--param", setting)) return false;
      const std::size_t eq = setting.find('=');
      if (eq == std::string::npos || eq == 0) {
        error = "--param needs NAME=VALUE, got \"" + setting + "\"";
        return false;
      }
      out.params.emplace_back(setting.substr(0, eq), setting.substr(eq + 1));
    } else if (is("--time-limit")) {
      std::string text;
      if (!value("--time-limit", text)) return false;
      double seconds = 0;
      if (!ParseNumber(text, seconds) || !(seconds >= 0)) {
        error = "--time-limit needs a number of seconds, at least 0, got \"" + text + "\"";
        return false;
      }
      out.timeLimit = seconds;
    } else if (is("--write")) {
      if (!value("--write", out.writeFile)) return false;
      if (!EndsWithAny(out.writeFile, {".mps", ".lp", ".bin", ".cbf"})) {
        error = "--write needs a .mps, .lp, .bin or .cbf file name, got \"" + out.writeFile + "\"";
        return false;
      }
    } else if (is("--solution")) {
      if (!value("--solution", out.solutionFile)) return false;
      if (!EndsWithAny(out.solutionFile, {".sol", ".json", ".bas"})) {
        error = "--solution needs a .sol, .json or .bas file name, got \"" + out.solutionFile + "\"";
        return false;
      }
    } else if (is("--iis")) {
      if (!value("--iis", out.iisFile)) return false;
      if (!EndsWithAny(out.iisFile, {".iis"})) {
        error = "--iis needs a .iis file name, got \"" + out.iisFile + "\"";
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else if (!out.file.empty()) {
      error = "only one FILE may be given (got \"" + out.file + "\" and \"" + arg + "\")";
      return false;
    } else if (!IsProblemFile(arg)) {
      error = "FILE must be a problem file (" + std::string(kProblemFormats) + "), got \"" + arg + "\"";
      return false;
    } else {
      out.file = arg;
    }
  }
  return true;
}

}  // namespace tarqsolve
