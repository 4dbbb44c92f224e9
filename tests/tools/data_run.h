// What the public-data tests share: reading an optimum table, running tarq-solve as a program,
// reading its summary, and naming each instance's test case.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifndef TARQ_SLOW_CASES
#define TARQ_SLOW_CASES 0
#endif

namespace datarun {

// The rows of a CSV table with a header line that have `fields` fields and whose first field
// (the instance) is in `slow` exactly when this build runs the slow cases.
inline std::vector<std::vector<std::string>> ReadTable(const std::string& path, std::size_t fields,
                                                       const std::set<std::string>& slow) {
  std::vector<std::vector<std::string>> out;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string field; std::getline(ss, field, ',');) f.push_back(field);
    if (f.size() != fields) continue;
    if ((slow.count(f[0]) != 0) != (TARQ_SLOW_CASES != 0)) continue;
    out.push_back(f);
  }
  return out;
}

// Runs tarq-solve --quiet with the given (quoted) arguments; returns what it printed.
inline std::string RunTarqSolve(const std::string& args, int& exitCode) {
  const std::string cmd = std::string("'") + TARQ_SOLVE_PATH + "' --quiet " + args;
  FILE* pipe = popen(cmd.c_str(), "r");
  std::string out;
  char buf[512];
  while (pipe != nullptr && fgets(buf, sizeof buf, pipe) != nullptr) out += buf;
  const int raw = pipe != nullptr ? pclose(pipe) : -1;
  exitCode = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

inline std::string Quoted(const std::string& s) { return "'" + s + "'"; }

// The value of the summary's "Objective:" line; false when there is none.
inline bool Objective(const std::string& out, double& value) {
  const std::size_t at = out.find("Objective: ");
  if (at == std::string::npos) return false;
  value = std::stod(out.substr(at + 11));
  return true;
}

// A test name from an instance name: letters and digits kept, the rest '_'.
template <class Param>
std::string CaseName(const testing::TestParamInfo<Param>& info) {
  std::string n = info.param.name;
  for (char& ch : n) ch = std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return n;
}

}  // namespace datarun
