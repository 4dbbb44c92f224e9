// Helpers for the problem-store tests: a problem in a quiet environment and a full text dump of
// a problem's data, used to prove that failed calls change nothing.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "common/quiet_env.h"
#include "tarq.h"

class StoreTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_NE(env_, nullptr);
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteEnv(&env_);
  }

  int NumCols() const { return NumOf(true); }
  int NumRows() const { return NumOf(false); }

  // Counts objects by probing names: GetColName fails past the last column.
  int NumOf(bool cols) const {
    int n = 0;
    int size = 0;
    while ((cols ? TARQ_GetColName(prob_, n, nullptr, 0, &size) : TARQ_GetRowName(prob_, n, nullptr, 0, &size)) == 0) ++n;
    return n;
  }

  std::string Name(bool col, int pos) const {
    int size = 0;
    int rc = col ? TARQ_GetColName(prob_, pos, nullptr, 0, &size) : TARQ_GetRowName(prob_, pos, nullptr, 0, &size);
    if (rc != 0) return "<error>";
    std::string buf(static_cast<size_t>(size), '\0');
    rc = col ? TARQ_GetColName(prob_, pos, buf.data(), size, &size) : TARQ_GetRowName(prob_, pos, buf.data(), size, &size);
    if (rc != 0) return "<error>";
    buf.resize(static_cast<size_t>(size) - 1);
    return buf;
  }

  // Row vectors as "name: c1*v1 c2*v2" lines, plus every column's data.
  std::string Dump() const {
    std::ostringstream out;
    const int nc = NumCols(), nr = NumRows();
    for (int j = 0; j < nc; ++j) {
      double lb = 0, ub = 0, obj = 0;
      char type = 0;
      TARQ_GetColInfo(prob_, "LB", 1, &j, &lb);
      TARQ_GetColInfo(prob_, "UB", 1, &j, &ub);
      TARQ_GetColInfo(prob_, "Obj", 1, &j, &obj);
      TARQ_GetColType(prob_, 1, &j, &type);
      out << "col " << Name(true, j) << " " << type << " [" << lb << "," << ub << "] obj " << obj << "\n";
    }
    for (int i = 0; i < nr; ++i) {
      double lb = 0, ub = 0;
      TARQ_GetRowInfo(prob_, "LB", 1, &i, &lb);
      TARQ_GetRowInfo(prob_, "UB", 1, &i, &ub);
      out << "row " << Name(false, i) << " [" << lb << "," << ub << "]:";
      for (auto [col, val] : Row(i)) out << " " << col << "*" << val;
      out << "\n";
    }
    return out.str();
  }

  std::vector<std::pair<int, double>> Vector(bool row, int k) const {
    int size = 0;
    int rc = row ? TARQ_GetRows(prob_, 1, &k, nullptr, nullptr, nullptr, nullptr, 0, &size)
                 : TARQ_GetCols(prob_, 1, &k, nullptr, nullptr, nullptr, nullptr, 0, &size);
    EXPECT_EQ(rc, 0);
    std::vector<int> idx(static_cast<size_t>(size));
    std::vector<double> val(static_cast<size_t>(size));
    int beg = -1, cnt = -1;
    rc = row ? TARQ_GetRows(prob_, 1, &k, &beg, &cnt, idx.data(), val.data(), size, &size)
             : TARQ_GetCols(prob_, 1, &k, &beg, &cnt, idx.data(), val.data(), size, &size);
    EXPECT_EQ(rc, 0);
    EXPECT_EQ(beg, 0);
    EXPECT_EQ(cnt, size);
    std::vector<std::pair<int, double>> out;
    for (int p = 0; p < size; ++p) out.emplace_back(idx[p], val[p]);
    std::sort(out.begin(), out.end());
    return out;
  }
  std::vector<std::pair<int, double>> Row(int i) const { return Vector(true, i); }
  std::vector<std::pair<int, double>> Col(int j) const { return Vector(false, j); }

  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
};

using Entries = std::vector<std::pair<int, double>>;
