// An independent check of the certificates a solve leaves, written from their definitions in
// tarq.h and reading the problem back through the C interface: a Farkas vector y must combine
// the rows into an inequality that no point within the column bounds satisfies; a ray r must
// keep every row and bound and improve the objective.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tarq.h"

namespace certcheck {

struct Lp {
  int cols = 0, rows = 0, sense = 1;
  std::vector<double> obj, colLo, colUp, rowLo, rowUp;
  std::vector<int> beg, cnt, idx;
  std::vector<double> val;
};

inline Lp ReadLp(tarq_prob* prob) {
  Lp lp;
  EXPECT_EQ(TARQ_GetIntAttr(prob, "Cols", &lp.cols), 0);
  EXPECT_EQ(TARQ_GetIntAttr(prob, "Rows", &lp.rows), 0);
  EXPECT_EQ(TARQ_GetIntAttr(prob, "ObjSense", &lp.sense), 0);
  lp.obj.resize(lp.cols);
  lp.colLo.resize(lp.cols);
  lp.colUp.resize(lp.cols);
  lp.rowLo.resize(lp.rows);
  lp.rowUp.resize(lp.rows);
  EXPECT_EQ(TARQ_GetColInfo(prob, "Obj", lp.cols, nullptr, lp.obj.data()), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob, "LB", lp.cols, nullptr, lp.colLo.data()), 0);
  EXPECT_EQ(TARQ_GetColInfo(prob, "UB", lp.cols, nullptr, lp.colUp.data()), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob, "LB", lp.rows, nullptr, lp.rowLo.data()), 0);
  EXPECT_EQ(TARQ_GetRowInfo(prob, "UB", lp.rows, nullptr, lp.rowUp.data()), 0);
  int nnz = 0;
  lp.beg.resize(lp.cols + 1);
  lp.cnt.resize(lp.cols + 1);
  EXPECT_EQ(TARQ_GetCols(prob, lp.cols, nullptr, lp.beg.data(), lp.cnt.data(), nullptr, nullptr, 0, &nnz), 0);
  lp.idx.resize(nnz + 1);
  lp.val.resize(nnz + 1);
  EXPECT_EQ(TARQ_GetCols(prob, lp.cols, nullptr, lp.beg.data(), lp.cnt.data(), lp.idx.data(), lp.val.data(), nnz, &nnz),
            0);
  return lp;
}

inline bool Finite(double v) { return std::fabs(v) < TARQ_INFINITY; }

// Empty when y proves the problem infeasible, else the reason. The contradiction must exceed
// 1e-6 for each unit of |y| and |y'A| (what a feasibility tolerance of 1e-6 could explain);
// |y'A|_j below 1e-7 on a column without the bound it would need is taken as 0.
inline std::string FarkasProblem(const Lp& lp, std::vector<double> y) {
  if (static_cast<int>(y.size()) != lp.rows) return "length";
  double big = 0;
  for (double v : y) big = std::max(big, std::fabs(v));
  if (!(big > 0)) return "zero";
  double beta = 0, weight = 0;
  for (int i = 0; i < lp.rows; ++i) {
    y[i] /= big;
    if (y[i] > 1e-12) {
      if (!Finite(lp.rowLo[i])) return "positive multiplier on row " + std::to_string(i) + " without lower bound";
      beta += y[i] * lp.rowLo[i];
    } else if (y[i] < -1e-12) {
      if (!Finite(lp.rowUp[i])) return "negative multiplier on row " + std::to_string(i) + " without upper bound";
      beta += y[i] * lp.rowUp[i];
    }
    weight += std::fabs(y[i]);
  }
  double best = 0;  // largest (y'A) x over the column bounds
  for (int j = 0; j < lp.cols; ++j) {
    double z = 0;
    for (int k = lp.beg[j]; k < lp.beg[j] + lp.cnt[j]; ++k) z += lp.val[k] * y[lp.idx[k]];
    weight += std::fabs(z);
    const double bound = z > 0 ? lp.colUp[j] : lp.colLo[j];
    if (Finite(bound)) {
      best += z * bound;
    } else if (std::fabs(z) > 1e-7) {
      return "column " + std::to_string(j) + " is unbounded in the combination";
    }
  }
  if (beta - best <= 1e-6 * weight) return "no contradiction: " + std::to_string(beta - best);
  return "";
}

// Empty when r is an improving ray of the problem, else the reason. Rows and bounds may be left
// by 1e-9 per unit of the row's magnitude along r (r scaled to largest entry 1).
inline std::string RayProblem(const Lp& lp, std::vector<double> r) {
  if (static_cast<int>(r.size()) != lp.cols) return "length";
  double big = 0;
  for (double v : r) big = std::max(big, std::fabs(v));
  if (!(big > 0)) return "zero";
  std::vector<double> act(lp.rows, 0.0), mag(lp.rows, 0.0);
  double gain = 0;
  for (int j = 0; j < lp.cols; ++j) {
    r[j] /= big;
    if (Finite(lp.colLo[j]) && r[j] < -1e-9) return "leaves lower bound of column " + std::to_string(j);
    if (Finite(lp.colUp[j]) && r[j] > 1e-9) return "leaves upper bound of column " + std::to_string(j);
    gain += lp.obj[j] * r[j];
    for (int k = lp.beg[j]; k < lp.beg[j] + lp.cnt[j]; ++k) {
      act[lp.idx[k]] += lp.val[k] * r[j];
      mag[lp.idx[k]] += std::fabs(lp.val[k] * r[j]);
    }
  }
  for (int i = 0; i < lp.rows; ++i) {
    const double allowed = 1e-9 * std::max(1.0, mag[i]);
    if (Finite(lp.rowLo[i]) && act[i] < -allowed) return "leaves lower bound of row " + std::to_string(i);
    if (Finite(lp.rowUp[i]) && act[i] > allowed) return "leaves upper bound of row " + std::to_string(i);
  }
  if (lp.sense * gain >= -1e-9) return "does not improve: " + std::to_string(gain);
  return "";
}

// Solves prob with certificates requested and presolve as given, and checks the certificate of
// the expected status through the getters and the independent check.
inline void ExpectCertificate(tarq_prob* prob, int presolve, int expectStatus, const std::string& label) {
  SCOPED_TRACE(label + (presolve ? " (presolve on)" : " (presolve off)"));
  ASSERT_EQ(TARQ_SetIntParam(prob, "ReqFarkasRay", 1), 0);
  ASSERT_EQ(TARQ_SetIntParam(prob, "Presolve", presolve), 0);
  ASSERT_EQ(TARQ_Reset(prob, 1), 0);  // no warm start from an earlier solve
  ASSERT_EQ(TARQ_SolveLp(prob), 0);
  int status = -1, hasFarkas = -1, hasRay = -1;
  ASSERT_EQ(TARQ_GetIntAttr(prob, "LpStatus", &status), 0);
  ASSERT_EQ(status, expectStatus);
  ASSERT_EQ(TARQ_GetIntAttr(prob, "HasDualFarkas", &hasFarkas), 0);
  ASSERT_EQ(TARQ_GetIntAttr(prob, "HasPrimalRay", &hasRay), 0);
  const Lp lp = ReadLp(prob);
  if (expectStatus == TARQ_STATUS_INFEASIBLE) {
    ASSERT_EQ(hasFarkas, 1);
    EXPECT_EQ(hasRay, 0);
    std::vector<double> y(lp.rows, NAN), r(lp.cols);
    ASSERT_EQ(TARQ_GetRowInfo(prob, "DualFarkas", lp.rows, nullptr, y.data()), 0);
    EXPECT_EQ(FarkasProblem(lp, y), "");
    EXPECT_EQ(TARQ_GetColInfo(prob, "PrimalRay", lp.cols, nullptr, r.data()), TARQ_RETCODE_INVALID);
  } else {
    ASSERT_EQ(hasRay, 1);
    EXPECT_EQ(hasFarkas, 0);
    std::vector<double> r(lp.cols, NAN), y(lp.rows);
    ASSERT_EQ(TARQ_GetColInfo(prob, "PrimalRay", lp.cols, nullptr, r.data()), 0);
    EXPECT_EQ(RayProblem(lp, r), "");
    EXPECT_EQ(TARQ_GetRowInfo(prob, "DualFarkas", lp.rows, nullptr, y.data()), TARQ_RETCODE_INVALID);
  }
}

}  // namespace certcheck
