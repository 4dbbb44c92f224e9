// Helpers for the file tests: a problem in a quiet environment whose log lines are captured, a
// scratch directory, and an exact snapshot of everything the problem stores, read through the
// store itself so that round trips and "nothing changed" can be compared field by field.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "store/problem.h"
#include "common/quiet_env.h"
#include "tarq.h"

namespace iotest {

constexpr double kInf = TARQ_INFINITY;

// Solves quietly, expects the status attribute to say optimal and returns the objective
// attribute: "LpStatus" and "LpObjval" for continuous problems, "MipStatus" and "BestObj" for MIPs.
inline double SolveForObjective(tarq_prob* prob, const char* statusAttr = "LpStatus",
                                const char* objectiveAttr = "LpObjval") {
  EXPECT_EQ(TARQ_SetIntParam(prob, "LogToConsole", 0), 0);
  EXPECT_EQ(TARQ_Solve(prob), 0);
  int status = -1;
  EXPECT_EQ(TARQ_GetIntAttr(prob, statusAttr, &status), 0);
  EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
  double obj = 0;
  EXPECT_EQ(TARQ_GetDblAttr(prob, objectiveAttr, &obj), 0);
  return obj;
}

// Everything a problem stores, with names as the store reports them and each matrix column
// sorted by row.
struct Snapshot {
  int objSense = 1;
  double objConst = 0;
  std::vector<double> obj, colLower, colUpper, branch, rowLower, rowUpper;
  std::vector<char> type;
  std::vector<std::string> colNames, rowNames;
  std::vector<std::vector<std::pair<int, double>>> cols;
  std::vector<std::int64_t> startBegin;
  std::vector<int> startCol;
  std::vector<double> startValue;
  // The quadratic part as stored: objective terms, then the rows' arrays and names.
  std::vector<int> qObjRow, qObjCol, qLinIdx, qRow, qCol;
  std::vector<double> qObjVal, qLinVal, qVal, qRhs;
  std::vector<std::int64_t> qLinBegin, qBegin;
  std::vector<char> qSense;
  std::vector<std::string> qNames;
  // The SOS, indicator and cone constraints as stored.
  std::vector<int> sosType, sosCol, indType, indBinCol, indBinVal, indCol, coneType, coneCol, expType, expCol;
  std::vector<std::int64_t> sosBegin, indBegin, coneBegin;
  std::vector<double> sosWeight, indVal, indBound;
  std::vector<char> indSense;
  std::vector<std::string> indNames;

  bool operator==(const Snapshot&) const = default;
};

inline Snapshot Take(tarq_prob* prob) {
  tarq_solver::Problem& p = prob->problem;
  Snapshot s;
  s.objSense = p.ObjSense();
  s.objConst = p.ObjConst();
  const auto& c = p.Cols();
  s.obj = c.obj;
  s.colLower = c.lower;
  s.colUpper = c.upper;
  s.type = c.type;
  s.branch = c.branch;
  s.rowLower = p.Rows().lower;
  s.rowUpper = p.Rows().upper;
  for (int j = 0; j < c.Size(); ++j) s.colNames.push_back(c.names.Display(j));
  for (int i = 0; i < p.Rows().Size(); ++i) s.rowNames.push_back(p.Rows().names.Display(i));
  p.Matrix().Consolidate(tarq_solver::Axis::kCol);
  for (int j = 0; j < c.Size(); ++j) {
    tarq_solver::VectorView v = p.Matrix().Vector(j);
    std::vector<std::pair<int, double>> col;
    for (std::int64_t k = 0; k < v.len; ++k) col.emplace_back(v.idx[k], v.val[k]);
    std::sort(col.begin(), col.end());
    s.cols.push_back(std::move(col));
  }
  s.startBegin = p.MipStarts().begin;
  s.startCol = p.MipStarts().col;
  s.startValue = p.MipStarts().value;
  const tarq_solver::QuadStore& q = p.Quad();
  s.qObjRow = q.objective.row;
  s.qObjCol = q.objective.col;
  s.qObjVal = q.objective.val;
  s.qLinBegin = q.rows.linBegin;
  s.qLinIdx = q.rows.linIdx;
  s.qLinVal = q.rows.linVal;
  s.qBegin = q.rows.quadBegin;
  s.qRow = q.rows.quadRow;
  s.qCol = q.rows.quadCol;
  s.qVal = q.rows.quadVal;
  s.qSense = q.rows.sense;
  s.qRhs = q.rows.rhs;
  for (int k = 0; k < q.rows.Size(); ++k) s.qNames.push_back(q.rows.names.Display(k));
  const tarq_solver::SosConeStore& sp = p.SosCone();
  s.sosType = sp.sos.type;
  s.sosBegin = sp.sos.begin;
  s.sosCol = sp.sos.col;
  s.sosWeight = sp.sos.weight;
  const tarq_solver::IndicatorTable& ind = sp.indicators;
  s.indType = ind.type;
  s.indBinCol = ind.binCol;
  s.indBinVal = ind.binVal;
  s.indBegin = ind.begin;
  s.indCol = ind.col;
  s.indVal = ind.val;
  s.indSense = ind.sense;
  s.indBound = ind.bound;
  for (int k = 0; k < ind.Size(); ++k) s.indNames.push_back(ind.names.Display(k));
  s.coneType = sp.cones.type;
  s.coneBegin = sp.cones.begin;
  s.coneCol = sp.cones.col;
  s.expType = sp.expCones.type;
  s.expCol = sp.expCones.col;
  return s;
}

// The snapshot as it reads without its SOS, indicator and cone constraints (as a problem without any has them).
inline Snapshot WithoutSosCone(Snapshot s) {
  for (auto* v : {&s.sosType, &s.sosCol, &s.indType, &s.indBinCol, &s.indBinVal, &s.indCol, &s.coneType, &s.coneCol,
                  &s.expType, &s.expCol}) {
    v->clear();
  }
  s.sosBegin = s.indBegin = s.coneBegin = {0};
  s.sosWeight.clear();
  s.indVal.clear();
  s.indBound.clear();
  s.indSense.clear();
  s.indNames.clear();
  return s;
}

inline std::int64_t Nonzeros(const Snapshot& s) {
  std::int64_t n = 0;
  for (const auto& c : s.cols) n += static_cast<std::int64_t>(c.size());
  return n;
}

inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void WriteText(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary);
  out << text;
}

class IoTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    prob_ = NewProblem();
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = std::filesystem::temp_directory_path() / ("tarq_io_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    for (tarq_prob*& p : probs_) TARQ_DeleteProb(&p);
    TARQ_DeleteEnv(&env_);
    std::error_code ec;
    if (std::getenv("TARQ_KEEP_TEST_FILES") == nullptr) std::filesystem::remove_all(dir_, ec);
  }

  // A further problem of the same environment, logging into log_ as well.
  tarq_prob* NewProblem() {
    tarq_prob* p = nullptr;
    EXPECT_EQ(TARQ_CreateProb(env_, &p), 0);
    TARQ_SetLogCallback(p, &IoTest::Capture, &log_);
    probs_.push_back(p);
    return p;
  }

  std::string Path(const std::string& file) const { return (dir_ / file).string(); }
  std::string Write(const std::string& file, const std::string& text) const {
    WriteText(Path(file), text);
    return Path(file);
  }

  static void Capture(const char* msg, void* userdata) { static_cast<std::vector<std::string>*>(userdata)->push_back(msg); }

  // x (continuous, [0, 4]), y (integer, [-1, inf]), z (binary), w (free); rows
  //   c1: x + 2 y <= 10,  c2: 3 x - z >= -2,  c3: y + w = 4,  c4: 1 <= x + w <= 8,  c5 free: z + w
  // maximise 2 x + 3 y - z + 1.5
  void BuildSmall(tarq_prob* prob) {
    const double obj[] = {2, 3, -1, 0};
    const char types[] = {'C', 'I', 'B', 'C'};
    const double lb[] = {0, -1, 0, -kInf};
    const double ub[] = {4, kInf, 1, kInf};
    const char* names[] = {"x", "y", "z", "w"};
    ASSERT_EQ(TARQ_AddCols(prob, 4, obj, nullptr, nullptr, nullptr, nullptr, types, lb, ub, names), 0);
    const int beg[] = {0, 2, 4, 6, 8, 10};
    const int idx[] = {0, 1, 0, 2, 1, 3, 0, 3, 2, 3};
    const double val[] = {1, 2, 3, -1, 1, 1, 1, 1, 1, 1};
    const double lower[] = {-kInf, -2, 4, 1, -kInf};
    const double upper[] = {10, kInf, 4, 8, kInf};
    const char* rnames[] = {"c1", "c2", "c3", "c4", "c5"};
    ASSERT_EQ(TARQ_AddRows(prob, 5, beg, nullptr, idx, val, nullptr, lower, upper, rnames), 0);
    ASSERT_EQ(TARQ_SetObjSense(prob, TARQ_MAXIMIZE), 0);
    ASSERT_EQ(TARQ_SetObjConst(prob, 1.5), 0);
  }

  // BuildSmall in the given sense, with what result and settings files hold: a MIP start, branch
  // factors, a changed int parameter, and an LP solution with its basis (solved last: changes
  // forget solutions).
  void BuildSolved(tarq_prob* prob, int sense, const std::vector<double>& start, const std::vector<double>& factors,
                   int threads) {
    BuildSmall(prob);
    ASSERT_EQ(TARQ_SetObjSense(prob, sense), 0);
    ASSERT_EQ(TARQ_AddMipStart(prob, static_cast<int>(start.size()), nullptr, start.data()), 0);
    ASSERT_EQ(TARQ_SetColBranchFactors(prob, static_cast<int>(factors.size()), nullptr, factors.data()), 0);
    ASSERT_EQ(TARQ_SetIntParam(prob, "Threads", threads), 0);
    ASSERT_EQ(TARQ_SolveLp(prob), 0);
  }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  std::vector<tarq_prob*> probs_;
  std::vector<std::string> log_;
  std::filesystem::path dir_;
};

// The log line must name the file, the position and the fault.
#define EXPECT_LOGGED(log, ...)                                                         \
  do {                                                                                  \
    ASSERT_EQ((log).size(), 1u) << "expected exactly one log line";                    \
    for (const std::string& part_ : std::vector<std::string>{__VA_ARGS__}) {            \
      EXPECT_NE((log)[0].find(part_), std::string::npos) << (log)[0] << "\n  lacks: " << part_; \
    }                                                                                   \
  } while (0)

}  // namespace iotest
