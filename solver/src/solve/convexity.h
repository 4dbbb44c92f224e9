// Whether a quadratic form is convex: whether its symmetric matrix H is positive semidefinite.
//
// The test, on the variables the form touches:
//  1. H is scaled to unit diagonal (S = D H D keeps semidefiniteness); a diagonal entry at or
//     below tol times the largest entry is scaled as if it were that large, so a zero diagonal
//     with a nonzero in its row (a bilinear term x*y alone) turns into a large off-diagonal entry;
//  2. S + tol * I is factored as L D L'. H counts as semidefinite when every pivot is positive,
//     that is when the smallest eigenvalue of S is above -tol.
// Dense blocks are factored densely (n^3 / 3 operations); sparse ones by right-looking
// elimination with the pivot of least degree first, which never fills between independent
// blocks: forms made of many small blocks (separable objectives, rows over few variables) cost
// about O(entries log entries). A sparse factorization stops once its fill passes a fixed limit
// and the form is then reported undecided.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tarq_solver {

enum class Curvature { kConvex, kNotConvex, kUndecided };

// The relative tolerance on the smallest eigenvalue after scaling the diagonal to 1.
constexpr double kConvexityTolerance = 1e-8;

// Whether sign * H is positive semidefinite, for H given by its lower-triangle entries
// (row >= column, each position once).
Curvature CheckSemidefinite(const int* rows, const int* cols, const double* vals, std::int64_t n, double sign);

}  // namespace tarq_solver
