// The model's nonlinear operations: what reaches the solver library for each add form, reading
// constraints and the objective back, renumbering after removals, names and information, and
// the refusals that change nothing.
#include <string>
#include <vector>

#include "model/model_fixture.h"
#include "psdnl/nl_expr.h"

namespace {

constexpr int H = -99, K = -60;

class NlModelTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    for (int j = 0; j < 4; ++j) x_.emplace_back(model_->AddVar(-10, 10, 0, 'C', ("x" + std::to_string(j)).c_str()));
    h_.reset(CreateNlHelper());
  }
  struct Row {
    std::vector<int> tokens;
    std::vector<double> consts;
    std::vector<int> lin;
    double lb, ub;
  };
  Row SolverRow(int k) const {
    int nt = 0, nc = 0, nl = 0;
    EXPECT_EQ(TARQ_GetNLConstr(Prob(), k, 0, 0, 0, &nt, nullptr, &nc, nullptr, &nl, nullptr, nullptr), 0);
    Row r{std::vector<int>(nt), std::vector<double>(nc), std::vector<int>(nl), 0, 0};
    std::vector<double> vals(nl);
    EXPECT_EQ(TARQ_GetNLConstr(Prob(), k, nt, nc, nl, &nt, r.tokens.data(), &nc, r.consts.data(), &nl, r.lin.data(),
                               vals.data()),
              0);
    EXPECT_EQ(TARQ_GetNLConstrInfo(Prob(), "LB", 1, &k, &r.lb), 0);
    EXPECT_EQ(TARQ_GetNLConstrInfo(Prob(), "UB", 1, &k, &r.ub), 0);
    return r;
  }
  std::vector<Own<Tarq::IVar>> x_;
  Own<Tarq::INlHelper> h_;
};

TEST_F(NlModelTest, AddFormsPassProgramsLinearPartsAndShiftedBounds) {
  Own<Tarq::INlExpr> e(h_->Sin(x_[1].get()));
  e->AddTerm(x_[0].get(), 2);
  e->AddTerm(x_[0].get(), 1);  // merged to 3 x0
  e->AddConstant(1.5);
  Own<Tarq::INlConstraint> c0(model_->AddNlConstr(e.get(), 'L', 5, " first row "));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(c0->GetIdx(), 0);
  Row r = SolverRow(0);
  EXPECT_EQ(r.tokens, (std::vector<int>{H, 1, -31}));
  EXPECT_EQ(r.lin, std::vector<int>{0});
  EXPECT_EQ(r.lb, -1e30);
  EXPECT_EQ(r.ub, 3.5);
  EXPECT_STREQ(c0->GetName(), "first_row");
  // Range form: both bounds shifted.
  Own<Tarq::INlConstraint> c1(model_->AddNlConstr(e.get(), -1.0, 2.0, nullptr));
  r = SolverRow(1);
  EXPECT_EQ(r.lb, -2.5);
  EXPECT_EQ(r.ub, 0.5);
  // Linear expression, sense, nonlinear right-hand side: lhs - rhs <sense> 0.
  Own<Tarq::IExpr> lhs(CreateLinExpr(x_[2].get(), 1));
  Own<Tarq::INlConstraint> c2(model_->AddNlConstr(lhs.get(), 'G', e.get(), "diff"));
  r = SolverRow(2);
  EXPECT_EQ(r.tokens, (std::vector<int>{H, 1, -31, K, -12}));
  EXPECT_EQ(r.consts, std::vector<double>{-1.0});
  EXPECT_EQ(r.lb, 1.5);
  // Builders: 'L' with a right-hand side, and a range.
  Own<Tarq::INlConstrBuilder> b(CreateNlConstrBuilder());
  b->SetBuilder(e.get(), 'L', 5);
  Own<Tarq::INlConstraint> c3(model_->AddNlConstr(b.get(), nullptr));
  EXPECT_EQ(SolverRow(3).ub, -(1.5 - 5));
  b->SetRange(e.get(), 4);
  EXPECT_EQ(b->GetSense(), 'R');
  Own<Tarq::INlConstraint> c4(model_->AddNlConstr(b.get(), nullptr));
  r = SolverRow(4);
  EXPECT_EQ(r.lb, -1.5 - 4);
  EXPECT_EQ(r.ub, -1.5);
  EXPECT_EQ(model_->GetIntAttr("NLConstrs"), 5);
  // The batch: an 'N' builder adds a free row; names from the prefix.
  Own<Tarq::INlConstrBuilderArray> batch(CreateNlConstrBuilderArray());
  Own<Tarq::INlConstrBuilder> free(CreateNlConstrBuilder());
  free->SetBuilder(e.get(), 'N', 0);
  batch->PushBack(free.get());
  b->SetBuilder(e.get(), 'E', 1);
  batch->PushBack(b.get());
  Own<Tarq::INlConstrArray> added(model_->AddNlConstrs(batch.get(), "nl"));
  ASSERT_EQ(Code(), 0) << Msg();
  ASSERT_EQ(added->Size(), 2);
  Own<Tarq::INlConstraint> last(added->GetNlConstr(1));
  EXPECT_STREQ(last->GetName(), "nl_6");
  EXPECT_EQ(SolverRow(5).lb, -1e30);
  EXPECT_EQ(SolverRow(5).ub, 1e30);
  EXPECT_EQ(SolverRow(6).lb, -0.5);
  // The single builder form refuses 'N'.
  Own<Tarq::INlConstraint> none(model_->AddNlConstr(free.get(), nullptr));
  EXPECT_EQ(none->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid nonlinear constraint sense");
}

TEST_F(NlModelTest, RemovalsRenumberConstraintsAndColumnTokens) {
  Own<Tarq::INlExpr> e(h_->Exp(x_[3].get()));
  Own<Tarq::INlConstraint> a(model_->AddNlConstr(e.get(), 'L', 1, "a"));
  Own<Tarq::INlConstraint> b(model_->AddNlConstr(e.get(), 'L', 2, "b"));
  Own<Tarq::INlConstrArray> gone(CreateNlConstrArray());
  gone->PushBack(a.get());
  model_->Remove(gone.get());
  Own<Tarq::IVarArray> vars(CreateVarArray());
  vars->PushBack(x_[1].get());
  model_->Remove(vars.get());
  EXPECT_EQ(b->GetIdx(), 1);
  EXPECT_EQ(model_->GetIntAttr("NLConstrs"), 1);
  EXPECT_EQ(b->GetIdx(), 0);
  EXPECT_EQ(a->GetIdx(), -3);
  EXPECT_EQ(SolverRow(0).tokens, (std::vector<int>{H, 2, -16}));  // x3 is column 2 now
  // The expression still names x3; adding it again refreshes its token.
  Own<Tarq::INlConstraint> c(model_->AddNlConstr(e.get(), 'G', 0, nullptr));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverRow(1).tokens, (std::vector<int>{H, 2, -16}));
  // An expression over the removed variable is refused and nothing is added.
  Own<Tarq::INlExpr> stale(CreateNlExpr1(0));
  Own<Tarq::IExpr> lin(CreateLinExpr(x_[0].get(), 1));
  stale.reset(h_->Sin(lin.get()));
  Own<Tarq::IVarArray> more(CreateVarArray());
  more->PushBack(x_[0].get());
  model_->Remove(more.get());
  Own<Tarq::INlConstraint> refused(model_->AddNlConstr(stale.get(), 'L', 0, nullptr));
  EXPECT_EQ(refused->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid or removed vars in nonlinear expression");
  EXPECT_EQ(model_->GetIntAttr("NLConstrs"), 2);
  // Lookup by name, names and information.
  Own<Tarq::INlConstraint> byName(model_->GetNlConstrByName("b"));
  EXPECT_EQ(byName->GetIdx(), 0);
  Own<Tarq::INlConstraint> missing(model_->GetNlConstrByName("nope"));
  EXPECT_EQ(Msg(), "(INVALID) No nonlinear constraint of name nope");
  Own<Tarq::INlConstraint> outOfRange(model_->GetNlConstr(5));
  EXPECT_EQ(Msg(), "(INVALID) Invalid row index of nonlinear constraint");
  byName->Set("lb", -4);
  EXPECT_EQ(byName->Get("LB"), -4);
  byName->Set("Obj", 1);
  EXPECT_STREQ(byName->GetErrorMsg(), "(INVALID) Unknown nonlinear constraint info of 'Obj'");
  Own<Tarq::INlConstrArray> all(model_->GetNlConstrs());
  const double ub[] = {7, 8};
  model_->SetNlConstrInfo("UB", all.get(), ub, 2);
  std::vector<double> got;
  model_->GetNlConstrInfo("ub", all.get(), got);
  EXPECT_EQ(got, (std::vector<double>{7, 8}));
  model_->SetNlConstrInfo("Obj", all.get(), ub, 2);
  EXPECT_EQ(Msg(), "(INVALID) Unknown information 'Obj' of nonlinear constraints");
  model_->SetNlConstrNames(all.get(), "p\0q", 4);
  EXPECT_STREQ(Own<Tarq::INlConstraint>(model_->GetNlConstrByName("q"))->GetName(), "q");
}

TEST_F(NlModelTest, ObjectiveRoundTripAndDeletion) {
  Own<Tarq::INlExpr> e(h_->Log(x_[2].get()));
  e->AddTerm(x_[0].get(), 4);
  e->AddConstant(2);
  model_->SetNlObjective(e.get(), -1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("HasNLObj"), 1);
  EXPECT_EQ(model_->GetIntAttr("ObjSense"), -1);
  Own<Tarq::INlExpr> back(model_->GetNlObjective());
  EXPECT_STREQ(back->ToString(512), e->ToString(512));
  EXPECT_EQ(back->GetConstant(), 2);
  model_->DelNlObjective();
  EXPECT_EQ(model_->GetIntAttr("HasNLObj"), 0);
  Own<Tarq::IExpr> lin(model_->GetObjective());
  EXPECT_EQ(lin->GetSize(), 1);  // the linear part stays
  // Primal starts, all three forms.
  model_->SetNlPrimalStart(x_[0].get(), 1.5);
  EXPECT_EQ(model_->GetIntAttr("HasNLPrimalStart"), 1);
  const int idx[] = {9};
  const double v[] = {1};
  model_->SetNlPrimalStart(1, idx, v);
  EXPECT_EQ(Msg(), "(INVALID) Fail to set NL primal start information");
}

}  // namespace
