// Helpers for the solve tests: a problem in a quiet environment whose log lines are captured,
// short ways to build small problems and read attributes, and where the public test data lives.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "common/quiet_env.h"
#include "tarq.h"

namespace solvetest {

constexpr double kInf = TARQ_INFINITY;

// The public data sets (Netlib, MIPLIB), found by the build (TARQ_TEST_DATA_DIR).
inline std::filesystem::path DataDir() { return TARQ_TEST_DATA_DIR; }

class SolveTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
    ASSERT_EQ(TARQ_SetLogCallback(prob_, &SolveTest::Capture, &lines_), 0);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteEnv(&env_);
  }

  static void Capture(const char* msg, void* userdata) {
    static_cast<std::vector<std::string>*>(userdata)->push_back(msg);
  }

  // Adds a column with entries (row, value).
  void Col(double obj, double lb, double ub, char type = 'C', std::vector<std::pair<int, double>> entries = {},
           const char* name = nullptr) {
    std::vector<int> rows;
    std::vector<double> vals;
    for (auto [r, v] : entries) {
      rows.push_back(r);
      vals.push_back(v);
    }
    ASSERT_EQ(TARQ_AddCol(prob_, obj, static_cast<int>(rows.size()), rows.data(), vals.data(), type, lb, ub, name), 0);
  }
  // Adds an SOS of the type over the members (weights 1, 2, ... unless given).
  void Sos(int type, std::vector<int> members, const std::vector<double>* weights = nullptr) {
    const int beg[2] = {0, static_cast<int>(members.size())};
    ASSERT_EQ(TARQ_AddSOSs(prob_, 1, &type, beg, nullptr, members.data(), weights ? weights->data() : nullptr), 0);
  }
  // Adds the indicator row "binCol = binVal -> sum value * x (sense) bound" over (column, value) entries.
  void Indicator(int binCol, int binVal, std::vector<std::pair<int, double>> entries, char sense, double bound) {
    std::vector<int> cols;
    std::vector<double> vals;
    for (auto [c, v] : entries) {
      cols.push_back(c);
      vals.push_back(v);
    }
    const int beg[2] = {0, static_cast<int>(cols.size())};
    ASSERT_EQ(TARQ_AddIndicators(prob_, 1, nullptr, &binCol, &binVal, beg, nullptr, cols.data(), vals.data(), &sense,
                                 &bound, nullptr),
              0);
  }
  // Terms (i, j, value) as the three parallel arrays the library takes.
  struct Triplets {
    std::vector<int> r, c;
    std::vector<double> v;
  };
  static Triplets Split(const std::vector<std::tuple<int, int, double>>& terms) {
    Triplets t;
    for (auto [i, j, q] : terms) {
      t.r.push_back(i);
      t.c.push_back(j);
      t.v.push_back(q);
    }
    return t;
  }
  // Sets the objective's quadratic part: sum q * x_i * x_j over the terms (i, j, q).
  void QuadObj(std::vector<std::tuple<int, int, double>> terms) {
    const Triplets t = Split(terms);
    ASSERT_EQ(TARQ_SetQuadObj(prob_, static_cast<int>(t.v.size()), t.r.data(), t.c.data(), t.v.data()), 0);
  }
  // Adds a row lower <= sum coef * x <= upper over (column, value) entries.
  void Row(std::vector<std::pair<int, double>> entries, double lower, double upper, const char* name = nullptr) {
    std::vector<int> cols;
    std::vector<double> vals;
    for (auto [c, v] : entries) {
      cols.push_back(c);
      vals.push_back(v);
    }
    ASSERT_EQ(TARQ_AddRow(prob_, static_cast<int>(cols.size()), cols.data(), vals.data(), 0, lower, upper, name), 0);
  }

  int IntAttr(const char* name) const {
    int v = -12345;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0) << name;
    return v;
  }
  double DblAttr(const char* name) const {
    double v = -12345;
    EXPECT_EQ(TARQ_GetDblAttr(prob_, name, &v), 0) << name;
    return v;
  }
  std::vector<double> Solution() const {
    std::vector<double> x(static_cast<size_t>(IntAttr("Cols")), NAN);
    EXPECT_EQ(TARQ_GetSolution(prob_, x.data()), 0);
    return x;
  }
  void Quiet() { ASSERT_EQ(TARQ_SetIntParam(prob_, "LogLevel", 0), 0); }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  std::vector<std::string> lines_;
};

}  // namespace solvetest

namespace solvetest {

// A transportation LP of n sources and n sinks (n * n columns, 2n rows), supply = demand, costs
// (i * 7 + j * 13) mod 17 + 1: big enough for many simplex iterations, solved in milliseconds.
inline void BuildTransport(tarq_prob* prob, int n) {
  std::vector<int> beg, idx;
  std::vector<double> val, obj, lb, ub;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      beg.push_back(static_cast<int>(idx.size()));
      idx.push_back(i);
      val.push_back(1);
      idx.push_back(n + j);
      val.push_back(1);
      obj.push_back((i * 7 + j * 13) % 17 + 1);
    }
  }
  beg.push_back(static_cast<int>(idx.size()));
  std::vector<double> rlo(2 * n), rup(2 * n);
  for (int i = 0; i < n; ++i) {
    rlo[i] = -kInf;
    rup[i] = 10 + i % 5;                  // supplies
    rlo[n + i] = 10 + ((i + 2) % n) % 5;  // demands: the supplies permuted
    rup[n + i] = kInf;
  }
  ASSERT_EQ(TARQ_AddRows(prob, 2 * n, nullptr, nullptr, nullptr, nullptr, nullptr, rlo.data(), rup.data(), nullptr), 0);
  ASSERT_EQ(TARQ_AddCols(prob, n * n, obj.data(), beg.data(), nullptr, idx.data(), val.data(), nullptr, nullptr,
                         nullptr, nullptr),
            0);
}

}  // namespace solvetest
