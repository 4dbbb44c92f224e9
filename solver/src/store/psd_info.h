// Information of PSD columns, PSD rows and LMI rows by name, and the packed solution arrays:
// what the store and the results of the last solve say about the semidefinite parts.
#pragma once

#include "store/problem.h"

namespace tarq_solver {

// Whether the last solve left a solution of the semidefinite parts that fits the store.
bool HasPsdSolution(Problem& p);

// Writes the packed matrix of dimension n at packed as a full n x n matrix, row by row.
void UnpackSym(const double* packed, int n, double* full);

int GetPsdColInfo(Problem& p, const char* name, int idx, double* values);
int GetPsdRowInfo(Problem& p, const char* name, int num, const int* list, double* values);
int GetLmiInfo(Problem& p, const char* name, int idx, double* values);
int GetPsdSolution(Problem& p, double* values, double* duals);
int GetLmiSolution(Problem& p, double* slacks, double* duals);

}  // namespace tarq_solver
