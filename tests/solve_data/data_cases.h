// The public instances and their published optima, read from the CSV files beside them, split
// into the quick ones (run by default) and the slow ones (label "slow"). Each test program is
// built twice: tarq_solve_data_test runs the quick instances, tarq_solve_slow_test (compiled
// with TARQ_SLOW_CASES=1) the slow ones.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tarq/tarq.hpp"

namespace solvedata {

struct Case {
  std::string name;
  double optimum = 0;
};

// How gtest prints a case in test names and messages.
inline void PrintTo(const Case& c, std::ostream* out) { *out << c.name << " (optimum " << c.optimum << ")"; }

inline std::filesystem::path DataDir() { return TARQ_TEST_DATA_DIR; }

// Rows "name,...,optimum" of a CSV with a header line; the optimum is the last field.
inline std::vector<Case> ReadCases(const std::filesystem::path& csv, const std::set<std::string>& slow, bool wantSlow) {
  std::vector<Case> cases;
  std::ifstream in(csv);
  std::string line;
  std::getline(in, line);  // header
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    const size_t comma = line.find(','), last = line.rfind(',');
    Case c{line.substr(0, comma), std::stod(line.substr(last + 1))};
    if ((slow.count(c.name) != 0) == wantSlow) cases.push_back(c);
  }
  return cases;
}

inline std::string CaseName(const testing::TestParamInfo<Case>& info) {
  std::string n = info.param.name;
  std::replace_if(
      n.begin(), n.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
  return n;
}

// What a solve through the modeling layer reports.
struct Outcome {
  int readCode = -1;
  int status = -1;
  double objective = 0;
};

class QuietSink : public Tarq::ILogCallback {
 public:
  void Display(const char*) override {}
};

// Reads the file into a model with Read (chosen by suffix), sets the given double parameters,
// solves, and reads the status and objective attributes by name.
inline Outcome SolveThroughModel(const std::string& file, const char* statusAttr, const char* objAttr,
                                 const std::vector<std::pair<const char*, double>>& dblParams = {}) {
  QuietSink sink;
  std::unique_ptr<Tarq::IEnvr> env(CreateEnvr(&sink));
  std::unique_ptr<Tarq::IModel> model(env->CreateModel("data"));
  model->SetIntParam("LogToConsole", 0);
  Outcome out;
  model->Read(file.c_str());
  out.readCode = model->GetErrorCode();
  if (out.readCode != 0) return out;
  for (const auto& [name, value] : dblParams) model->SetDblParam(name, value);
  model->Solve();
  out.status = model->GetIntAttr(statusAttr);
  out.objective = model->GetDblAttr(objAttr);
  return out;
}

#ifndef TARQ_SLOW_CASES
#define TARQ_SLOW_CASES 0
#endif
inline constexpr bool kSlow = TARQ_SLOW_CASES != 0;

}  // namespace solvedata
