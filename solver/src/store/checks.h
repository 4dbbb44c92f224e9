// Argument checks shared by the store's operations. Each returns a TARQ_RETCODE_* code and
// changes nothing, so an operation can check everything before it changes anything.
#pragma once

#include <cmath>
#include <vector>

#include "store/sparse_matrix.h"
#include "tarq.h"

namespace tarq_solver {

inline bool IsNan(double v) { return std::isnan(v); }
// Magnitudes at or beyond TARQ_INFINITY become exactly +-TARQ_INFINITY.
inline double ClampInf(double v) {
  if (v >= TARQ_INFINITY) return TARQ_INFINITY;
  if (v <= -TARQ_INFINITY) return -TARQ_INFINITY;
  return v;
}
inline bool ValidLower(double v) { return !IsNan(v) && v < TARQ_INFINITY; }
inline bool ValidUpper(double v) { return !IsNan(v) && v > -TARQ_INFINITY; }
// Matrix and objective coefficients: finite and below the infinity.
inline bool ValidCoef(double v) { return !IsNan(v) && std::fabs(v) < TARQ_INFINITY; }
inline bool ValidType(char t) { return t == 'C' || t == 'B' || t == 'I'; }

// A list of num positions among size objects; a null list stands for 0 .. num-1.
int CheckList(int num, const int* list, int size);
inline int At(const int* list, int k) { return list != nullptr ? list[k] : k; }

// Checks a position list over size objects and its values (valid(values[k]) for each).
template <class T, class Valid>
int CheckListed(int size, int num, const int* list, const T* values, Valid valid) {
  if (int rc = CheckList(num, list, size); rc != TARQ_RETCODE_OK) return rc;
  if (num > 0 && values == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) {
    if (!valid(values[k])) return TARQ_RETCODE_INVALID;
  }
  return TARQ_RETCODE_OK;
}

// Checks, then writes conv(values[k]) at each listed position of target.
template <class Vec, class T, class Valid, class Conv>
int AssignListed(Vec& target, int num, const int* list, const T* values, Valid valid, Conv conv) {
  int rc = CheckListed(static_cast<int>(target.size()), num, list, values, valid);
  if (rc != TARQ_RETCODE_OK) return rc;
  for (int k = 0; k < num; ++k) target[At(list, k)] = conv(values[k]);
  return TARQ_RETCODE_OK;
}

// Reads source at each listed position into out.
template <class Vec, class T>
int ReadListed(const Vec& source, int num, const int* list, T* out) {
  if (int rc = CheckList(num, list, static_cast<int>(source.size())); rc != TARQ_RETCODE_OK) return rc;
  if (num > 0 && out == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) out[k] = source[At(list, k)];
  return TARQ_RETCODE_OK;
}

inline double Same(double v) { return v; }

// Checks a list of sparse vectors whose indices address minorCount objects: offsets and counts
// non-negative, indices in range, values valid, no index twice in one vector. stamp is scratch.
int CheckVectors(const VectorList& vectors, int minorCount, std::vector<int>& stamp);
// The same for one short vector of n entries (a handful: repeats are looked for pairwise).
int CheckShortEntries(const int* idx, const double* val, std::int64_t n, int minorCount);

// Turns a sense letter and its two numbers into row bounds. Sense 0 means [bound, upper];
// 'L' (-inf, bound], 'G' [bound, inf), 'E' [bound, bound], 'N' free, 'R' [bound - upper, bound].
int RowBounds(char sense, double bound, double upper, double* lower, double* upperOut);

}  // namespace tarq_solver
