// The semidefinite relaxation of max-cut (Goemans and Williamson) on the Petersen graph. A cut
// gives each node a side x_i in {-1, 1}; it cuts (1 - x_i x_j) / 2 of each edge. With X = x x',
// the cut is <L/4, X> for the graph's Laplacian L, and X is positive semidefinite with unit
// diagonal; dropping rank one leaves the relaxation
//
//   maximise <L/4, X>  subject to  X_ii = 1 (i = 1..n),  X positive semidefinite,
//
// whose value bounds every cut from above. Shows a PSD variable, symmetric matrices built by the
// model, PSD constraints and the PSD objective, and reading the PSD solution.
//
// The Petersen graph is vertex-transitive, so the bound is n/4 times the largest eigenvalue of L
// (5): 12.5. Its largest cut, found below by enumerating all 2^10 sides, has 12 edges.
#include <cmath>
#include <cstdio>
#include <memory>
#include <utility>
#include <vector>

#include "example_support.h"
#include "tarq/tarq.hpp"

namespace {

using example::Check;
using example::kOptimal;
using example::Own;

constexpr int kNodes = 10;

// Outer 5-cycle 0..4, inner pentagram 5..9, spokes i -- i + 5.
std::vector<std::pair<int, int>> PetersenEdges() {
  std::vector<std::pair<int, int>> e;
  for (int i = 0; i < 5; ++i) {
    e.emplace_back(i, (i + 1) % 5);
    e.emplace_back(5 + i, 5 + (i + 2) % 5);
    e.emplace_back(i, i + 5);
  }
  return e;
}

int BestCut(const std::vector<std::pair<int, int>>& edges) {
  int best = 0;
  for (int sides = 0; sides < (1 << kNodes); ++sides) {
    int cut = 0;
    for (auto [a, b] : edges) cut += ((sides >> a) & 1) != ((sides >> b) & 1) ? 1 : 0;
    if (cut > best) best = cut;
  }
  return best;
}

int Run() {
  Own<Tarq::IEnvr> env = example::QuietEnvironment();
  Own<Tarq::IModel> model(env->CreateModel("maxcut"));
  Check(*model);

  const std::vector<std::pair<int, int>> edges = PetersenEdges();
  Own<Tarq::IPsdVar> x(model->AddPsdVar(kNodes, "X"));
  Check(*model);

  // L/4 as triplets: degree / 4 on the diagonal, -1/4 for each edge (one triangle suffices).
  std::vector<int> rows, cols;
  std::vector<double> vals;
  std::vector<int> degree(kNodes, 0);
  for (auto [a, b] : edges) {
    ++degree[a];
    ++degree[b];
    rows.push_back(b);
    cols.push_back(a);
    vals.push_back(-0.25);
  }
  for (int i = 0; i < kNodes; ++i) {
    rows.push_back(i);
    cols.push_back(i);
    vals.push_back(degree[i] / 4.0);
  }
  Own<Tarq::ISymMatrix> quarterLaplacian(
      model->AddSparseMat(kNodes, static_cast<int>(vals.size()), rows.data(), cols.data(), vals.data()));
  Check(*model);
  Own<Tarq::IPsdExpr> cut(CreatePsdExpr4(x.get(), quarterLaplacian.get()));
  model->SetPsdObjective(cut.get(), -1);  // maximise
  Check(*model);

  // X_ii = 1: <E_ii, X> = 1 with E_ii the matrix of a single 1 at (i, i).
  for (int i = 0; i < kNodes; ++i) {
    const double one = 1.0;
    Own<Tarq::ISymMatrix> unit(model->AddSparseMat(kNodes, 1, &i, &i, &one));
    Own<Tarq::IPsdExpr> diag(CreatePsdExpr4(x.get(), unit.get()));
    Own<Tarq::IPsdConstraint> row(model->AddPsdConstr(diag.get(), 'E', 1, nullptr));
    Check(*model);
  }

  model->Solve();
  Check(*model);
  if (model->GetIntAttr("LpStatus") != kOptimal) {
    std::fprintf(stderr, "the relaxation was not solved (status %d)\n", model->GetIntAttr("LpStatus"));
    return 1;
  }
  const double bound = model->GetDblAttr("LpObjval");

  // The solution, packed as the lower triangle column by column: its diagonal must be all ones.
  std::vector<double> values, duals;
  model->GetPsdSolution(values, duals);
  Check(*model);
  double worst = 0;
  for (int j = 0, at = 0; j < kNodes; at += kNodes - j, ++j) worst = std::fmax(worst, std::fabs(values[at] - 1));
  if (worst > 1e-6) {
    std::fprintf(stderr, "the diagonal of X is off by %g\n", worst);
    return 1;
  }

  const int best = BestCut(edges);
  std::printf("graph     Petersen, %d nodes, %zu edges\n", kNodes, edges.size());
  std::printf("SDP bound %.4f\n", bound);
  std::printf("best cut  %d\n", best);
  std::printf("gap       %.4f\n", bound - best);
  return bound + 1e-6 >= best ? 0 : 1;
}

}  // namespace

int main() { return example::RunReporting(Run); }
