// Semidefinite models solved through the modeling layer: the Lovasz theta number of the 5-cycle
// (sqrt 5) stated over a PSD variable and, dually, as an LMI; the solution read through every
// getter; a PSD expression evaluated at the solution; an SDPA file read into a model.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "psd_fixture.h"

namespace {

constexpr int kN = 5;
const double kTheta = std::sqrt(5.0);

class PsdSolve : public PsdModelTest {
 protected:
  void Solve() {
    model_->SetIntParam("LogLevel", 0);
    model_->Solve();
    ASSERT_EQ(Code(), 0) << Msg();
    ASSERT_EQ(model_->GetIntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  }
  // The matrix with 1/2 at (i, j) and (j, i): <E, X> = X_ij.
  Own<Tarq::ISymMatrix> Pick(int i, int j) { return Mat(kN, {i}, {j}, {i == j ? 1.0 : 0.5}); }
};

// max <J, X>  s.t.  trace X = 1, X_ij = 0 for the edges of the cycle, X >= 0.
TEST_F(PsdSolve, ThetaOfTheFiveCycleOverAPsdVariable) {
  Own<Tarq::IPsdVar> x(model_->AddPsdVar(kN, "X"));
  Own<Tarq::ISymMatrix> ones(model_->AddOnesMat(kN)), eye(model_->AddEyeMat(kN));
  Own<Tarq::IPsdExpr> obj(CreatePsdExpr4(x.get(), ones.get()));
  model_->SetPsdObjective(obj.get(), -1);
  Own<Tarq::IPsdExpr> trace(CreatePsdExpr4(x.get(), eye.get()));
  Own<Tarq::IPsdConstraint> tr(model_->AddPsdConstr(trace.get(), 'E', 1, "trace"));
  Own<Tarq::IPsdConstrArray> edges(CreatePsdConstrArray());
  for (int i = 0; i < kN; ++i) {
    Own<Tarq::IPsdExpr> e(CreatePsdExpr4(x.get(), Pick((i + 1) % kN, i).get()));
    Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(e.get(), 'E', 0, nullptr));
    edges->PushBack(c.get());
  }
  Solve();
  EXPECT_NEAR(model_->GetDblAttr("LpObjval"), kTheta, 1e-6);
  // The objective expression evaluated at the solution: sum of all 25 elements, off-diagonal ones
  // counted from both of their positions.
  EXPECT_NEAR(obj->Evaluate(), kTheta, 1e-6);
  Own<Tarq::IPsdExpr> sum(x->Sum());
  EXPECT_NEAR(sum->Evaluate(), kTheta, 1e-6);

  Own<Tarq::INdArray<double, 2>> value(x->Get("Value"));
  ASSERT_EQ(value->GetSize(), 25u);
  EXPECT_NEAR(value->Item(0) + value->Item(6) + value->Item(12) + value->Item(18) + value->Item(24), 1, 1e-6);
  EXPECT_NEAR(value->Item(1), 0, 1e-6);  // an edge
  std::vector<double> full(25);
  x->Get("Dual", full.data(), 25);
  EXPECT_EQ(x->GetErrorCode(), 0);
  x->Get("Dual", full.data(), 24);
  EXPECT_STREQ(x->GetErrorMsg(), "(INVALID) Insufficient output buffer");
  Own<Tarq::INdArray<double, 2>> failed(x->Get("Nothing"));
  EXPECT_EQ(failed->GetErrorCode(), 3);

  std::vector<double> values, duals;
  model_->GetPsdSolution(values, duals);
  ASSERT_EQ(values.size(), 15u);
  EXPECT_NEAR(values[0], value->Item(0), 1e-12);
  EXPECT_NEAR(values[1], value->Item(5), 1e-12);  // (1,0)
  EXPECT_NEAR(tr->Get("Slack"), 1, 1e-7);
  // At a maximum the trace row's dual is the optimum (the objective scales with the trace).
  EXPECT_NEAR(tr->Get("Dual"), kTheta, 1e-5);
  std::vector<double> edgeActivity;
  model_->GetPsdConstrInfo("Slack", edges.get(), edgeActivity);
  ASSERT_EQ(edgeActivity.size(), 5u);
  EXPECT_NEAR(edgeActivity[3], 0, 1e-7);
}

// The same number as the LMI  t I - J + sum_edges y_e (E_e + E_e') >= 0, minimising t.
TEST_F(PsdSolve, ThetaOfTheFiveCycleAsAnLmi) {
  Own<Tarq::IVar> t(model_->AddVar(-1e30, 1e30, 1, 'C', "t"));
  Own<Tarq::IVarArray> y(model_->AddVars(kN, -1e30, 1e30, 0, 'C', "y"));
  Own<Tarq::ISymMatrix> eye(model_->AddEyeMat(kN)), ones(model_->AddOnesMat(kN, -1.0));
  Own<Tarq::ILmiExpr> lmi(CreateLmiExpr2(ones.get()));
  lmi->AddTerm(t.get(), eye.get());
  Own<Tarq::ISymMatrixArray> edgeMats(CreateSymMatrixArray());
  for (int i = 0; i < kN; ++i) edgeMats->PushBack(Mat(kN, {(i + 1) % kN}, {i}, {1.0}).get());
  EXPECT_EQ(lmi->AddTerms(y.get(), edgeMats.get()), kN);
  Own<Tarq::ILmiConstraint> c(model_->AddLmiConstr(lmi.get(), "theta"));
  ASSERT_EQ(Code(), 0) << Msg();
  Solve();
  EXPECT_NEAR(model_->GetDblAttr("LpObjval"), kTheta, 1e-6);
  std::vector<double> slack(25), dual(25);
  c->Get("Slack", slack.data(), 25);
  c->Get("Dual", dual.data(), 25);
  ASSERT_EQ(c->GetErrorCode(), 0);
  // The slack is singular at the optimum and the dual is the optimal X of the other form.
  double traceDual = 0, complementarity = 0;
  for (int i = 0; i < kN; ++i) traceDual += dual[i * kN + i];
  for (int k = 0; k < 25; ++k) complementarity += slack[k] * dual[k];
  EXPECT_NEAR(traceDual, 1, 1e-6);
  EXPECT_NEAR(complementarity, 0, 1e-5);
  std::vector<double> packedSlack, packedDual;
  model_->GetLmiSolution(packedSlack, packedDual);
  ASSERT_EQ(packedSlack.size(), 15u);
  EXPECT_NEAR(packedSlack[2], slack[2 * kN], 1e-12);
}

// Nearest correlation matrix to A = [[1,1,0],[1,1,1],[0,1,1]] in the Frobenius norm, with every
// semidefinite kind in one model: X a PSD variable with unit diagonal (PSD constraints), free
// scalars e_k = sqrt2 (X_ij - A_ij) tied to X by PSD constraints with a linear part, and the LMI
// [[t, e'], [e, I]] >= 0, i.e. t >= ||e||^2 = ||X - A||^2 off the diagonal. Known optimum: distance
// 0.5278 at X_10 = X_21 = 0.7607, X_20 = 0.1573.
TEST_F(PsdSolve, NearestCorrelationMatrixMixesEveryKind) {
  Own<Tarq::IPsdVar> x(model_->AddPsdVar(3, "X"));
  Own<Tarq::IVar> t(model_->AddVar(-1e30, 1e30, 1, 'C', "t"));
  Own<Tarq::IVarArray> e(model_->AddVars(3, -1e30, 1e30, 0, 'C', "e"));
  for (int i = 0; i < 3; ++i) {
    Own<Tarq::IPsdExpr> diag(CreatePsdExpr4(x.get(), Mat(3, {i}, {i}, {1.0}).get()));
    Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(diag.get(), 'E', 1, nullptr));
  }
  const int pi[3] = {1, 2, 2}, pj[3] = {0, 0, 1};
  const double a[3] = {1, 0, 1};
  const double r2 = std::sqrt(2.0);
  Own<Tarq::IPsdConstrArray> ties(CreatePsdConstrArray());
  Own<Tarq::ISymMatrix> corner(model_->AddSparseMat(4, 1, std::vector<int>{0}.data(), std::vector<int>{0}.data(),
                                                    std::vector<double>{1.0}.data()));
  Own<Tarq::ISymMatrix> lower(model_->AddDiagMat(4, 1.0));
  Own<Tarq::ILmiExpr> lmi(CreateLmiExpr1());
  lmi->AddTerm(t.get(), corner.get());
  for (int k = 0; k < 3; ++k) {
    Own<Tarq::IVar> ek(e->GetVar(k));
    // e_k - sqrt2 <M, X> = -sqrt2 A_ij, with M_ij = M_ji = 1/2 so that <M, X> = X_ij.
    Own<Tarq::IPsdExpr> tie(CreatePsdExpr2(ek.get(), 1.0));
    tie->AddTerm(x.get(), Mat(3, {pi[k]}, {pj[k]}, {-r2 / 2}).get());
    Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(tie.get(), 'E', -r2 * a[k], nullptr));
    ties->PushBack(c.get());
    lmi->AddTerm(ek.get(), Mat(4, {k + 1}, {0}, {1.0}).get());
  }
  // The constant I minus the corner element: diag(0, 1, 1, 1).
  Own<Tarq::ISymMatExpr> constant(CreateSymMatExpr2(lower.get(), 1.0));
  EXPECT_EQ(constant->AddTerm(corner.get(), -1.0), 1);
  lmi->AddConstant(constant.get());
  Own<Tarq::ILmiConstraint> bound(model_->AddLmiConstr(lmi.get(), "t_bound"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("PSDCols"), 1);
  EXPECT_EQ(model_->GetIntAttr("PSDConstrs"), 6);
  EXPECT_EQ(model_->GetIntAttr("LMIConstrs"), 1);

  Solve();
  EXPECT_NEAR(std::sqrt(model_->GetDblAttr("LpObjval")), 0.5278, 1e-4);
  std::vector<double> value(9);
  x->Get("Value", value.data(), 9);
  ASSERT_EQ(x->GetErrorCode(), 0);
  EXPECT_NEAR(value[3], 0.7607, 1e-4);
  EXPECT_NEAR(value[6], 0.1573, 1e-4);
  EXPECT_NEAR(value[7], 0.7607, 1e-4);
  EXPECT_NEAR(value[4], 1.0, 1e-6);
  // Each tie holds at the solution: e_k equals sqrt2 (X_ij - A_ij).
  for (int k = 0; k < 3; ++k) {
    Own<Tarq::IVar> ek(e->GetVar(k));
    EXPECT_NEAR(ek->Get("Value"), r2 * (value[pi[k] * 3 + pj[k]] - a[k]), 1e-5);
  }
  std::vector<double> tieSlack;
  model_->GetPsdConstrInfo("Slack", ties.get(), tieSlack);
  ASSERT_EQ(tieSlack.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_NEAR(tieSlack[k], -r2 * a[k], 1e-6);
  // At the optimum t = ||e||^2: the slack [[t, e'], [e, I]] is singular, its Schur complement
  // t - ||e||^2 zero.
  std::vector<double> slack(16);
  bound->Get("Slack", slack.data(), 16);
  ASSERT_EQ(bound->GetErrorCode(), 0);
  EXPECT_NEAR(slack[0], t->Get("Value"), 1e-6);
  EXPECT_NEAR(slack[0] - (slack[4] * slack[4] + slack[8] * slack[8] + slack[12] * slack[12]), 0, 1e-5);
}

TEST_F(PsdSolve, SdpaFileReadIntoTheModel) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("tarq_psd_" + std::to_string(::getpid()) + ".dat-s");
  std::ofstream(path) << "1\n2\n2 -1\n1\n0 1 1 2 -1\n1 1 1 1 1\n1 1 2 2 1\n0 2 1 1 0.5\n1 2 1 1 1\n";
  model_->Read(path.string().c_str());
  std::filesystem::remove(path);
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::ILmiConstrArray> lmis(model_->GetLmiConstrs());
  ASSERT_EQ(lmis->Size(), 1);
  Own<Tarq::ILmiConstraint> c(lmis->GetLmiConstr(0));
  EXPECT_EQ(c->GetDim(), 2);
  EXPECT_EQ(model_->GetIntAttr("Rows"), 1);
  Own<Tarq::ILmiExpr> row(model_->GetLmiRow(c.get()));
  EXPECT_EQ(row->GetSize(), 1);
  Solve();
  // min x with x I - [[0,1],[1,0]] >= 0 and x >= 0.5: x = 1.
  EXPECT_NEAR(model_->GetDblAttr("LpObjval"), 1, 1e-6);
}

}  // namespace
