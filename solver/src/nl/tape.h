// Automatic differentiation of token programs (nl/tokens.h): values by one forward sweep,
// gradients by one reverse sweep, and exact Hessians by forward-over-reverse.
//
// Programs are compiled once (Add) into a tape: one node per token, each knowing its operands.
// A postfix program is a tree stored in post-order, so the subtree of a node is the contiguous
// range of nodes that ends at it.
//   Value      forward sweep over the nodes: O(nodes).
//   Gradient   forward sweep that also keeps each node's partial derivatives, then one reverse
//              sweep of adjoints: O(nodes), about twice a Value.
//   Hessian    the function is split where it is a sum: the operands of top-level +, -, SUM and
//              negation are its elements (partial separability). For an element with k distinct
//              columns, k forward sweeps of tangents each followed by a reverse sweep of
//              second-order adjoints give its dense k x k Hessian: O(k * element nodes). A sum
//              of many small terms costs O(nodes); a single term over k columns costs O(k * its
//              nodes), which is of the order of its (dense) Hessian.
// The sparsity of a function's gradient (its distinct columns) and of its Hessian (for each
// element, every pair of its columns, lower triangle) is computed once, when it is added.
//
// Non-smooth functions use one-sided derivatives: abs has derivative sign(a) and 0 at 0, floor
// and ceil have derivative 0. A value, a derivative or a second derivative that is not finite
// (log of a negative number, division by zero, sqrt at 0 for derivatives) is an evaluation error:
// the call returns false, and what it wrote is not to be used.
//
// A tape keeps scratch arrays for its sweeps, sized to its longest function: a tape is used by
// one thread at a time, even for evaluations.
#pragma once

#include <cstdint>
#include <vector>

namespace tarq_solver::nl {

class Tape {
 public:
  // Compiles a checked program of n tokens (header included; n 0 or 1: the empty program, whose
  // value is 0) with its constants. Returns the function's number.
  int Add(const int* tokens, std::int64_t n, const double* consts);
  int Functions() const { return static_cast<int>(fnNode_.size()) - 1; }
  int Nodes(int f) const { return fnNode_[f + 1] - fnNode_[f]; }

  // Distinct columns of function f in ascending order: the sparsity of its gradient.
  const int* Columns(int f) const { return cols_.data() + fnCol_[f]; }
  int NumColumns(int f) const { return fnCol_[f + 1] - fnCol_[f]; }
  // Hessian sparsity of function f: pairs (row >= col) of columns, one per entry, in the order in
  // which Hessian writes them. Pairs may repeat across elements (their values are to be summed).
  const int* HessRows(int f) const { return hessRow_.data() + fnHess_[f]; }
  const int* HessCols(int f) const { return hessCol_.data() + fnHess_[f]; }
  int NumHess(int f) const { return fnHess_[f + 1] - fnHess_[f]; }
  // True when the function is affine in its columns (no Hessian entries at all).
  bool Affine(int f) const { return NumHess(f) == 0; }

  // Value of f at x (x holds every column).
  bool Value(int f, const double* x, double* value) const;
  // Value and gradient of f at x: grad[k] is the partial derivative by Columns(f)[k].
  bool Gradient(int f, const double* x, double* value, double* grad) const;
  // scale times the Hessian of f at x, one value per entry of its sparsity, written in order.
  bool Hessian(int f, const double* x, double scale, double* values) const;

 private:
  struct Element {
    int first;     // first node (global)
    int root;      // last node (global)
    double sign;   // +1 or -1: how the element enters the function
    int colBegin;  // its distinct columns: elemCols_[colBegin, colEnd)
    int colEnd;
    int hessAt;    // first of its (k + 1) k / 2 Hessian entries
  };

  // Forward sweep over nodes [first, last] (global) of function f. With partials, keeps each
  // node's first partial derivatives by its operands. Returns the finite-value check.
  template <bool kPartials>
  bool Forward(int f, int first, int last, const double* x) const;
  // Reverse sweep of adjoints over nodes [first, last] (global) of function f, seeded in w_ by
  // the caller; the adjoints of column nodes are added to grad when it is not null.
  void Reverse(int f, int first, int last, double* grad) const;
  // The Hessian of one element into its local dense lower triangle (scratch).
  bool ElementHessian(int f, const Element& e, const double* x) const;

  // Nodes, all functions back to back. op: the token (columns as kVar); a: first operand (local
  // node index) / column / constant index / start in sumArgs_; b: var slot among the function's
  // columns / operand count of a sum; eslot: a column node's slot among its element's columns.
  std::vector<int> op_;
  std::vector<int> a_;
  std::vector<int> b_;
  std::vector<int> eslot_;
  std::vector<char> active_;  // the node's value depends on a column
  // Per node: its kind (low bits, kKind* in tape.cpp) and whether its first (kOperandA) and
  // second (kOperandB) operands are active, in one byte for the sweeps.
  std::vector<unsigned char> info_;
  std::vector<int> sumArgs_;  // operands of sums (local node indices)
  std::vector<double> consts_;
  std::vector<int> fnNode_{0};
  std::vector<int> cols_;
  std::vector<int> fnCol_{0};
  std::vector<Element> elems_;
  std::vector<int> fnElem_{0};
  std::vector<int> elemCols_;
  std::vector<int> hessRow_, hessCol_;
  std::vector<int> fnHess_{0};

  int maxNodes_ = 0;
  int maxElemCols_ = 0;
  // Scratch, one entry per node of the longest function (local indices).
  mutable std::vector<double> v_, da_, db_, w_, dv_, dw_;
  mutable std::vector<double> local_;  // an element's dense Hessian, k * k
};

}  // namespace tarq_solver::nl
