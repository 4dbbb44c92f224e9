#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "model/model_fixture.h"

namespace {

class Lines : public Tarq::ILogCallback {
 public:
  void Display(const char* msg) override { lines.emplace_back(msg); }
  std::vector<std::string> lines;
};

class SolveTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    model_->SetIntParam("LogToConsole", 0);
  }
  // min 2x + 3y  s.t.  c1: x + y >= 4,  c2: x + 3y >= 6,  x, y >= 0.  Optimum (3, 1), value 9.
  void BuildDiet() {
    x_.reset(model_->AddVar(0, 1e30, 0, 'C', "x"));
    y_.reset(model_->AddVar(0, 1e30, 0, 'C', "y"));
    Own<Tarq::IExpr> e1(CreateLinExpr(x_.get(), 1));
    e1->AddTerm(y_.get(), 1);
    c1_.reset(model_->AddConstr(e1.get(), 'G', 4, "c1"));
    Own<Tarq::IExpr> e2(CreateLinExpr(x_.get(), 1));
    e2->AddTerm(y_.get(), 3);
    c2_.reset(model_->AddConstr(e2.get(), 'G', 6, "c2"));
    Own<Tarq::IExpr> obj(CreateLinExpr(x_.get(), 2));
    obj->AddTerm(y_.get(), 3);
    model_->SetObjective(obj.get(), 1);
    ASSERT_EQ(Code(), 0) << Msg();
  }
  Own<Tarq::IVar> x_, y_;
  Own<Tarq::IConstraint> c1_, c2_;
};

TEST_F(SolveTest, LinearProgramResultsThroughModelAndObjects) {
  BuildDiet();
  double before = 0;
  model_->GetSolution(&before);
  EXPECT_EQ(Msg(), "(INVALID) Failed to get MIP solution") << "no solution before a solve";
  model_->Solve();
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("LpStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(model_->GetDblAttr("LpObjval"), 9, 1e-9);
  EXPECT_EQ(model_->GetIntAttr("HasLpSol"), 1);

  double values[2], slack[2], duals[2], redcost[2];
  model_->GetLpSolution(values, slack, duals, redcost);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_NEAR(values[0], 3, 1e-9);
  EXPECT_NEAR(values[1], 1, 1e-9);
  EXPECT_NEAR(slack[1], 6, 1e-9) << "row activities";
  EXPECT_NEAR(duals[0], 1.5, 1e-9);
  EXPECT_NEAR(duals[1], 0.5, 1e-9);
  EXPECT_NEAR(x_->Get("Value"), 3, 1e-9);
  EXPECT_NEAR(c2_->Get("Dual"), 0.5, 1e-9);
  EXPECT_NEAR(y_->Get("RedCost"), 0, 1e-9);

  Own<Tarq::IExpr> obj(model_->GetObjective());
  EXPECT_NEAR(obj->Evaluate(), 9, 1e-9);
  EXPECT_EQ(obj->GetErrorCode(), 0);
  EXPECT_STREQ(obj->ToString(100), "2 * x + 3 * y");

  std::vector<int> colBasis(2), rowBasis(2);
  model_->GetColBasis(colBasis.data());
  model_->GetRowBasis(rowBasis.data());
  EXPECT_EQ(colBasis, (std::vector<int>{TARQ_BASIS_BASIC, TARQ_BASIS_BASIC}));
  EXPECT_EQ(x_->GetBasis(), TARQ_BASIS_BASIC);

  model_->Reset();
  EXPECT_EQ(model_->GetIntAttr("HasLpSol"), 0);
  EXPECT_EQ(x_->Get("Value"), 1e30);
}

TEST_F(SolveTest, ObjectiveReadBackAndSense) {
  BuildDiet();
  Own<Tarq::IExpr> zero(CreateLinExpr(x_.get(), 0));
  zero->AddConstant(7);
  model_->SetObjective(zero.get(), -1);
  Own<Tarq::IExpr> back(model_->GetObjective());
  EXPECT_EQ(back->GetSize(), 0) << "a zero coefficient gives no term";
  EXPECT_EQ(back->GetConstant(), 7);
  EXPECT_EQ(model_->GetIntAttr("ObjSense"), -1);
  const int list[] = {1};
  const double coef[] = {5};
  model_->SetObjective(1, list, coef);
  Own<Tarq::IExpr> raw(model_->GetObjective());
  EXPECT_STREQ(raw->ToString(100), "7 + 5 * y");
}

TEST_F(SolveTest, MixedIntegerKnapsackWithStartAndPool) {
  // max 5a + 4b + 3c  s.t.  2a + 3b + c <= 5, binary: a and b, value 9.
  Own<Tarq::IVarArray> v(model_->AddVars(3, 'B', "v"));
  const double w[] = {2, 3, 1}, p[] = {5, 4, 3};
  Own<Tarq::IExpr> weight(CreateExpr(0));
  weight->AddTerms(v.get(), w, 3);
  Own<Tarq::IConstraint> cap(model_->AddConstr(weight.get(), 'L', 5, "cap"));
  Own<Tarq::IExpr> value(CreateExpr(0));
  value->AddTerms(v.get(), p, 3);
  model_->SetObjective(value.get(), -1);
  const double start[] = {1, 0, 1};
  model_->SetMipStart(v.get(), start);
  model_->LoadMipStart();
  ASSERT_EQ(Code(), 0) << Msg();
  model_->Solve();
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("MipStatus"), TARQ_STATUS_OPTIMAL);
  EXPECT_NEAR(model_->GetDblAttr("BestObj"), 9, 1e-9);
  double sol[3];
  model_->GetSolution(sol);
  EXPECT_NEAR(sol[0], 1, 1e-9);
  EXPECT_NEAR(sol[1], 1, 1e-9);
  EXPECT_NEAR(sol[2], 0, 1e-9);
  ASSERT_GE(model_->GetIntAttr("PoolSols"), 1);
  EXPECT_NEAR(model_->GetPoolObjVal(0), 9, 1e-9);
  std::vector<double> pool;
  model_->GetPoolSolution(0, v.get(), pool);
  EXPECT_EQ(pool.size(), 3u);
  EXPECT_EQ(model_->GetPoolObjVal(99), 1e30);
  EXPECT_EQ(Msg(), "(INVALID) Fail to get objective value from solution pool");
}

TEST_F(SolveTest, MultiObjectivesSolveLexicographically) {
  Own<Tarq::IVar> x(model_->AddVar(0, 10, 0, 'C', "x"));
  Own<Tarq::IVar> y(model_->AddVar(0, 10, 0, 'C', "y"));
  Own<Tarq::IExpr> sum(CreateLinExpr(x.get(), 1));
  sum->AddTerm(y.get(), 1);
  Own<Tarq::IConstraint> c(model_->AddConstr(sum.get(), 'G', 4, "c"));
  Own<Tarq::IExpr> onlyX(CreateLinExpr(x.get(), 1));
  model_->SetObjective(-1, sum.get(), 1, 2, 1, 0, 0);
  EXPECT_EQ(Msg(), "(INVALID) Invalid multi-objective function of index -1");
  model_->SetObjective(0, sum.get(), 1, 2, 1, 0, 0);
  model_->SetObjective(1, onlyX.get(), 1, 1, 1, 0, 0);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("MultiObjs"), 2);
  EXPECT_EQ(model_->GetObjParam(1, "MultiObjPriority"), 1);
  model_->SetObjParam(1, "", 1);
  EXPECT_EQ(Msg(), "(INVALID) Empty objective parameter name");
  model_->Solve();
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_NEAR(x->Get("Value"), 0, 1e-7);
  EXPECT_NEAR(y->Get("Value"), 4, 1e-7);
  EXPECT_NEAR(model_->GetObjDblAttr(0, "LpObjval"), 4, 1e-7);
  Own<Tarq::IExpr> second(model_->GetObjective(1));
  EXPECT_STREQ(second->ToString(100), "x");
  model_->SetObjDblParam(0, "Threads", 1);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ double parameter");
  EXPECT_NEAR(model_->GetObjDblAttr(0, "lpobjval"), 4, 1e-7) << "attribute names resolve in any case";
  EXPECT_EQ(model_->GetObjDblAttr(0, "Cols"), 1e30);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ double attribute");
  EXPECT_EQ(model_->GetObjIntAttr(0, "LpObjval"), -2147483647 - 1);
  EXPECT_EQ(Msg(), "(INVALID) Not TARQ int attribute");
  EXPECT_THROW(model_->GetObjIntAttr(0, "NoSuchAttribute"), Tarq::Exception);
  model_->SetObjIntParam(0, "Threads", 1);
  EXPECT_EQ(model_->GetObjIntParam(0, "threads"), 1);
  model_->DelObjective(1);
  EXPECT_EQ(model_->GetIntAttr("MultiObjs"), 1);
}

TEST_F(SolveTest, InfeasibleModelsGiveAnIisAndARelaxation) {
  Own<Tarq::IVar> x(model_->AddVar(5, 10, 1, 'C', "x"));
  Own<Tarq::IVar> z(model_->AddVar(0, 10, 1, 'C', "z"));
  Own<Tarq::IExpr> e(CreateLinExpr(x.get(), 1));
  Own<Tarq::IConstraint> c(model_->AddConstr(e.get(), 'L', 3, "c"));
  model_->Solve();
  EXPECT_EQ(model_->GetIntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  model_->ComputeIIS();
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IVarArray> vars(model_->GetVars());
  Own<Tarq::IConstrArray> rows(model_->GetConstrs());
  std::vector<int> lower, upper, rowUpper;
  model_->GetColLowerIIS(vars.get(), lower);
  model_->GetColUpperIIS(vars.get(), upper);
  model_->GetRowUpperIIS(rows.get(), rowUpper);
  EXPECT_EQ(lower, (std::vector<int>{1, 0}));
  EXPECT_EQ(upper, (std::vector<int>{0, 0}));
  EXPECT_EQ(rowUpper, (std::vector<int>{1}));
  EXPECT_EQ(x->GetLowerIIS(), 1);

  model_->FeasRelax(vars.get(), {1, 2, 3}, {}, rows.get(), {1}, {});
  EXPECT_EQ(Msg(), "(INVALID) colLowPen has invalid size");
  model_->FeasRelax(vars.get(), {1}, {}, rows.get(), {}, {1});
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_NEAR(model_->GetDblAttr("FeasRelaxObj"), 2, 1e-7);
  model_->FeasRelax(0, 0);  // nothing to relax: nothing happens
  EXPECT_EQ(Code(), 0);
}

TEST_F(SolveTest, LogLinesReachTheSinkAndInterruptIsHarmlessWhenIdle) {
  BuildDiet();
  Lines sink;
  EXPECT_EQ(model_->SetLogCallback(&sink), 0);
  model_->SetIntParam("LogLevel", 1);
  model_->Solve();
  EXPECT_FALSE(sink.lines.empty());
  model_->Interrupt();
  EXPECT_EQ(Code(), 0);
  model_->Solve();
  EXPECT_EQ(model_->GetIntAttr("LpStatus"), TARQ_STATUS_OPTIMAL) << "an idle interrupt does not stop the next solve";
  EXPECT_EQ(model_->SetLogFile("/no/such/tarq/dir/x.log"), 2);
}

}  // namespace
