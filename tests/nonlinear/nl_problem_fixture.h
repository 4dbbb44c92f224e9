// A problem in a quiet environment whose log lines are kept, with helpers that add columns,
// nonlinear rows and a nonlinear objective written as postfix expressions.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/quiet_env.h"
#include "nonlinear/postfix.h"

class NlProblemTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
    ASSERT_EQ(TARQ_SetLogCallback(prob_, [](const char* line, void* user) {
      static_cast<std::string*>(user)->append(line).append("\n");
    }, &log_), 0);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteEnv(&env_);
  }

  // Columns of the given bounds and type; a non-empty start becomes the nonlinear primal start.
  void Cols(const std::vector<double>& lower, const std::vector<double>& upper, const std::vector<double>& start,
            char type = 'C') {
    for (size_t j = 0; j < lower.size(); ++j) {
      ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, type, lower[j], upper[j], nullptr), 0);
    }
    if (!start.empty()) {
      ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, static_cast<int>(start.size()), nullptr, start.data()), 0);
    }
  }
  void Objective(const postfix::E& e) {
    const std::vector<int> p = e.Program();
    ASSERT_EQ(TARQ_SetNLObj(prob_, static_cast<int>(p.size()), static_cast<int>(e.consts.size()), p.data(),
                            e.consts.data()),
              0);
  }
  void Row(const postfix::E& e, char sense, double rhs) {
    const std::vector<int> p = e.Program();
    ASSERT_EQ(TARQ_AddNLConstr(prob_, static_cast<int>(p.size()), static_cast<int>(e.consts.size()), p.data(),
                               e.consts.data(), 0, nullptr, nullptr, sense, rhs, 0, nullptr),
              0);
  }

  // A small mixed-integer problem: min (x - 3.6)^2 + exp(z) - 2 z + (y - z)^2 subject to
  // x + y <= 5, x and y integer in [0, 10], z in [-5, 5]. Returns its optimum by enumeration: for
  // each integer y, z solves exp(z) - 2 + 2 (z - y) = 0 (Newton's method).
  double AddSmallMinlp() {
    using postfix::X;
    Cols({0, 0}, {10, 10}, {}, 'I');
    Cols({-5}, {5}, {});
    const int cols[] = {0, 1};
    const double ones[] = {1, 1};
    EXPECT_EQ(TARQ_AddRow(prob_, 2, cols, ones, 'L', 5, 0, nullptr), 0);
    Objective(postfix::Sqr(X(0) - 3.6) + postfix::Exp(X(2)) - 2 * X(2) + postfix::Sqr(X(1) - X(2)));
    double best = 1e30;
    for (int x = 0; x <= 5; ++x) {
      for (int y = 0; x + y <= 5; ++y) {
        double z = 0;
        for (int it = 0; it < 100; ++it) z -= (std::exp(z) - 2 + 2 * (z - y)) / (std::exp(z) + 2);
        best = std::min(best, (x - 3.6) * (x - 3.6) + std::exp(z) - 2 * z + (y - z) * (y - z));
      }
    }
    return best;
  }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  std::string log_;
};
