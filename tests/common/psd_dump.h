// A text dump of a problem's semidefinite parts read back through the C interface: every
// matrix's elements, every PSD column, PSD row and LMI row with its terms. Used to check what
// reached the store, that failed calls change nothing and that files round-trip.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "tarq.h"

inline int PsdAttr(tarq_prob* prob, const char* name) {
  int v = -1;
  TARQ_GetIntAttr(prob, name, &v);
  return v;
}

// "dim: (r,c)=v ..." of matrix idx, lower triangle by column.
inline std::string SymMatText(tarq_prob* prob, int idx) {
  int dim = 0, n = 0;
  if (TARQ_GetSymMat(prob, idx, &dim, nullptr, nullptr, nullptr, 0, &n) != 0) return "<error>";
  std::vector<int> r(static_cast<size_t>(n)), c(static_cast<size_t>(n));
  std::vector<double> v(static_cast<size_t>(n));
  if (TARQ_GetSymMat(prob, idx, &dim, r.data(), c.data(), v.data(), n, &n) != 0) return "<error>";
  std::ostringstream out;
  out << dim << ":";
  for (int k = 0; k < n; ++k) out << " (" << r[k] << "," << c[k] << ")=" << v[k];
  return out.str();
}

inline std::string PsdDump(tarq_prob* prob) {
  std::ostringstream out;
  const int mats = PsdAttr(prob, "SymMats");
  for (int k = 0; k < mats; ++k) out << "mat " << k << " " << SymMatText(prob, k) << "\n";
  const int cols = PsdAttr(prob, "PSDCols");
  std::vector<int> dims(static_cast<size_t>(cols)), obj(static_cast<size_t>(cols));
  TARQ_GetPSDCols(prob, cols, nullptr, dims.data());
  TARQ_GetPSDObj(prob, obj.data());
  for (int k = 0; k < cols; ++k) {
    char name[64] = {};
    TARQ_GetPSDColName(prob, k, name, sizeof name, nullptr);
    out << "psdcol " << name << " dim " << dims[k] << " obj " << obj[k] << "\n";
  }
  const int rows = PsdAttr(prob, "PSDConstrs");
  for (int i = 0; i < rows; ++i) {
    int nl = 0, np = 0;
    TARQ_GetPSDConstr(prob, i, nullptr, nullptr, 0, &nl, nullptr, nullptr, 0, &np);
    std::vector<int> c(static_cast<size_t>(nl)), pc(static_cast<size_t>(np)), pm(static_cast<size_t>(np));
    std::vector<double> v(static_cast<size_t>(nl));
    TARQ_GetPSDConstr(prob, i, c.data(), v.data(), nl, &nl, pc.data(), pm.data(), np, &np);
    double lb = 0, ub = 0;
    TARQ_GetPSDConstrInfo(prob, "LB", 1, &i, &lb);
    TARQ_GetPSDConstrInfo(prob, "UB", 1, &i, &ub);
    char name[64] = {};
    TARQ_GetPSDConstrName(prob, i, name, sizeof name, nullptr);
    out << "psdrow " << name << " [" << lb << "," << ub << "]:";
    for (int k = 0; k < nl; ++k) out << " " << v[k] << "*x" << c[k];
    for (int k = 0; k < np; ++k) out << " <m" << pm[k] << ",X" << pc[k] << ">";
    out << "\n";
  }
  const int lmis = PsdAttr(prob, "LMIConstrs");
  for (int i = 0; i < lmis; ++i) {
    int dim = 0, n = 0, cm = -1;
    TARQ_GetLMIConstr(prob, i, &dim, nullptr, nullptr, 0, &n, &cm);
    std::vector<int> c(static_cast<size_t>(n)), m(static_cast<size_t>(n));
    TARQ_GetLMIConstr(prob, i, &dim, c.data(), m.data(), n, &n, &cm);
    char name[64] = {};
    TARQ_GetLMIConstrName(prob, i, name, sizeof name, nullptr);
    out << "lmi " << name << " dim " << dim << " const " << cm << ":";
    for (int k = 0; k < n; ++k) out << " x" << c[k] << "*m" << m[k];
    out << "\n";
  }
  return out.str();
}
