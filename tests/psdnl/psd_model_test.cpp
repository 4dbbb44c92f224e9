// PSD variables, PSD constraints and LMI constraints in a model: what the hand-over passes to the
// solver library, getting and naming, removal with renumbering, coefficient access, and the
// refusals with their messages.
#include <functional>

#include "psd_fixture.h"

namespace {

class PsdModel : public PsdModelTest {
 protected:
  void SetUp() override {
    PsdModelTest::SetUp();
    x_.reset(model_->AddVar(-10, 10, 0, 'C', "x"));
    y_.reset(model_->AddVar(-10, 10, 0, 'C', "y"));
    const int dims[] = {2, 2, 3};
    vars_.reset(model_->AddPsdVars(3, dims, "X"));
    ASSERT_EQ(Code(), 0) << Msg();
    for (int k = 0; k < 3; ++k) xs_[k].reset(vars_->GetPsdVar(k));
    eye_.reset(model_->AddEyeMat(2));
    ones_.reset(model_->AddOnesMat(2));
  }
  Own<Tarq::IVar> x_, y_;
  Own<Tarq::IPsdVarArray> vars_;
  Own<Tarq::IPsdVar> xs_[3];
  Own<Tarq::ISymMatrix> eye_, ones_;
};

TEST_F(PsdModel, VariablesAreNumberedNamedAndFound) {
  EXPECT_EQ(xs_[2]->GetIdx(), 2);
  EXPECT_EQ(xs_[2]->GetDim(), 3);
  EXPECT_EQ(xs_[2]->GetLen(), 9);
  EXPECT_STREQ(xs_[1]->GetName(), "X_1");
  Own<Tarq::IPsdVar> byName(model_->GetPsdVarByName(" X_2 "));
  EXPECT_EQ(byName->GetIdx(), 2);
  EXPECT_EQ(byName->GetDim(), 3);
  Own<Tarq::IPsdVar> none(model_->GetPsdVarByName("nope"));
  EXPECT_EQ(none->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) No such PSD variable");
  Own<Tarq::IPsdVar> out(model_->GetPsdVar(3));
  EXPECT_EQ(out->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid index of PSD variables");
  Own<Tarq::IPsdVar> single(model_->AddPsdVar(0, "bad"));
  EXPECT_EQ(single->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Fail to add a PSD variable");
  const char names[] = "A\0B b\0";
  Own<Tarq::IPsdVarArray> two(CreatePsdVarArray());
  two->PushBack(xs_[0].get());
  two->PushBack(xs_[1].get());
  model_->SetPsdVarNames(two.get(), names, sizeof names - 1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_STREQ(xs_[1]->GetName(), "B_b");
  Own<Tarq::IPsdVarArray> all(model_->GetPsdVars());
  EXPECT_EQ(all->Size(), 3);
  Own<Tarq::IPsdVar> third(all->GetPsdVar(2));
  EXPECT_EQ(third->GetDim(), 3);
}

// The same variable twice with A and B gives one term with A + B; the linear part is merged and
// the bound is the right-hand side minus the constant.
TEST_F(PsdModel, HandOverCombinesTermsAndMovesTheConstant) {
  Own<Tarq::IPsdExpr> e(CreatePsdExpr2(x_.get(), 2));
  e->AddTerm(xs_[0].get(), eye_.get());
  e->AddTerm(y_.get(), 1);
  e->AddTerm(x_.get(), -0.5);
  e->AddTerm(xs_[1].get(), ones_.get());
  e->AddTerm(xs_[0].get(), ones_.get());
  e->AddConstant(3);
  EXPECT_EQ(e->GetSize(), 3);
  Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(e.get(), 'G', 5, "c"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(c->GetIdx(), 0);
  EXPECT_EQ(Dump(),
            "mat 0 2: (0,0)=1 (1,1)=1\n"
            "mat 1 2: (0,0)=1 (1,0)=1 (1,1)=1\n"
            "mat 2 2: (0,0)=2 (1,0)=1 (1,1)=2\n"
            "psdcol X_0 dim 2 obj -1\n"
            "psdcol X_1 dim 2 obj -1\n"
            "psdcol X_2 dim 3 obj -1\n"
            "psdrow c [2,1e+30]: 1.5*x0 1*x1 <m2,X0> <m1,X1>\n");
  // Read back as an expression over the model's objects.
  Own<Tarq::IPsdExpr> row(model_->GetPsdRow(c.get()));
  ASSERT_EQ(row->GetSize(), 2);
  Own<Tarq::IPsdVar> v(row->GetPsdVar(1));
  EXPECT_EQ(v->GetIdx(), 1);
  Own<Tarq::ISymMatExpr> coef(row->GetCoeff(0));
  Own<Tarq::ISymMatrix> m(coef->GetSymMat(0));
  EXPECT_EQ(m->GetIdx(), 2);
  Own<Tarq::IExpr> lin(row->GetLinExpr());
  EXPECT_EQ(lin->GetSize(), 2);

  // A builder range: -range - constant <= terms <= -constant.
  Own<Tarq::IPsdExpr> r(CreatePsdExpr4(xs_[1].get(), eye_.get()));
  r->AddConstant(-4);
  Own<Tarq::IPsdConstrBuilder> b(CreatePsdConstrBuilder());
  b->SetRange(r.get(), 3);
  EXPECT_EQ(b->GetSense(), 'R');
  Own<Tarq::IPsdConstraint> rc(model_->AddPsdConstr(b.get(), "r"));
  EXPECT_EQ(rc->Get("LB"), 1);
  EXPECT_EQ(rc->Get("UB"), 4);
  b->SetBuilder(r.get(), 'L', 6);
  Own<Tarq::IPsdExpr> held(b->GetPsdExpr());
  EXPECT_EQ(held->GetConstant(), -10);
  Own<Tarq::IPsdConstraint> lc(model_->AddPsdConstr(b.get(), "l"));
  EXPECT_EQ(lc->Get("UB"), 10);
  Own<Tarq::IPsdConstraint> two(model_->AddPsdConstr(r.get(), 0.5, 2.5, "two"));
  EXPECT_EQ(two->Get("LB"), 4.5);
  EXPECT_EQ(two->Get("UB"), 6.5);
}

TEST_F(PsdModel, RefusedPsdConstraintsAddNothing) {
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IPsdVar> foreign(other->AddPsdVar(2, "f"));
  Own<Tarq::ISymMatrix> big(model_->AddEyeMat(3));
  Own<Tarq::IPsdExpr> linear(CreatePsdExpr2(x_.get(), 1));
  Own<Tarq::IPsdExpr> ok(CreatePsdExpr4(xs_[0].get(), eye_.get()));
  Own<Tarq::IPsdExpr> alien(CreatePsdExpr4(foreign.get(), eye_.get()));
  Own<Tarq::IPsdExpr> wrongDim(CreatePsdExpr4(xs_[0].get(), big.get()));
  const int mats = Mats();
  const std::vector<std::pair<std::function<Tarq::IPsdConstraint*()>, std::string>> cases = {
      {[&] { return model_->AddPsdConstr(linear.get(), 'L', 1, "a"); }, "Invalid PSD expression object"},
      {[&] { return model_->AddPsdConstr(ok.get(), 'R', 1, "b"); }, "Invalid sense of PSD constraint"},
      {[&] { return model_->AddPsdConstr(ok.get(), '\0', 1.0, "b"); }, "Invalid sense of PSD constraint"},
      {[&] { return model_->AddPsdConstr(alien.get(), 'L', 1, "c"); }, "PSD variable of another model in expression"},
      {[&] { return model_->AddPsdConstr(wrongDim.get(), 'L', 1, "d"); },
       "Dimension mismatch between PSD variable and symmetric matrix"},
      {[&] { return model_->AddPsdConstr(ok.get(), -1e30, -1e30, "e"); }, "Fail to add a PSD constraint"},
  };
  for (const auto& [add, message] : cases) {
    Own<Tarq::IPsdConstraint> c(add());
    EXPECT_EQ(c->GetIdx(), -2) << message;
    EXPECT_EQ(Msg(), "(INVALID) " + message);
  }
  EXPECT_EQ(PsdAttr(Prob(), "PSDConstrs"), 0);
  EXPECT_EQ(Mats(), mats) << "no matrix is stored for a refused constraint";
  // Terms of a removed variable are dropped.
  Own<Tarq::IPsdExpr> both(CreatePsdExpr4(xs_[0].get(), eye_.get()));
  both->AddTerm(xs_[2].get(), big.get());
  xs_[2]->Remove();
  Own<Tarq::IPsdConstraint> kept(model_->AddPsdConstr(both.get(), 'E', 1, "kept"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_NE(Dump().find("psdrow kept [1,1]: <m0,X0>\n"), std::string::npos) << Dump();
}

TEST_F(PsdModel, LmiHandOverAndConstantTerm) {
  Own<Tarq::ILmiExpr> constant(CreateLmiExpr2(eye_.get()));
  Own<Tarq::ILmiConstraint> refused(model_->AddLmiConstr(constant.get(), "c"));
  EXPECT_EQ(refused->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid LMI expression object");

  Own<Tarq::ILmiExpr> e(CreateLmiExpr4(x_.get(), eye_.get()));
  e->AddTerm(y_.get(), ones_.get());
  e->AddTerm(x_.get(), ones_.get());
  Own<Tarq::ILmiConstraint> noConst(model_->AddLmiConstr(e.get(), "n"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(noConst->GetDim(), 2);
  EXPECT_EQ(noConst->GetLen(), 4);
  EXPECT_NE(Dump().find("lmi n dim 2 const -1: x0*m2 x1*m1\n"), std::string::npos) << Dump();
  EXPECT_EQ(MatText(Own<Tarq::ISymMatrix>(model_->GetSymMat(2)).get()), "2: (0,0)=2 (1,0)=1 (1,1)=2");

  Own<Tarq::ISymMatrix> big(model_->AddEyeMat(3));
  Own<Tarq::ILmiExpr> mixed(CreateLmiExpr4(x_.get(), eye_.get()));
  mixed->AddTerm(y_.get(), big.get());
  Own<Tarq::ILmiConstraint> bad(model_->AddLmiConstr(mixed.get(), "m"));
  EXPECT_EQ(Msg(), "(INVALID) Dimension of symmetric matrix mismatch");

  // The constant term: a stored matrix of the row's dimension.
  noConst->SetRhs(big.get());
  EXPECT_STREQ(noConst->GetErrorMsg(), "(INVALID) Input matrix has wrong dimension");
  Own<Tarq::IPsdExpr> sum(xs_[0]->Sum());
  Own<Tarq::ISymMatExpr> c1(sum->GetCoeff(1));
  Own<Tarq::ISymMatrix> cached(c1->GetSymMat(0));
  noConst->SetRhs(cached.get());
  EXPECT_STREQ(noConst->GetErrorMsg(), "(INVALID) RHS is an invalid SymMatrix with index -1");
  EXPECT_NE(Dump().find("lmi n dim 2 const -1:"), std::string::npos);
  noConst->SetRhs(ones_.get());
  EXPECT_EQ(noConst->GetErrorCode(), 0);
  Own<Tarq::ISymMatrix> rhs(model_->GetLmiRhs(noConst.get()));
  EXPECT_EQ(rhs->GetIdx(), ones_->GetIdx());
  Own<Tarq::ILmiExpr> back(model_->GetLmiRow(noConst.get()));
  EXPECT_EQ(back->GetSize(), 2);
  Own<Tarq::ISymMatExpr> backConst(back->GetConstant());
  EXPECT_EQ(backConst->GetSize(), 1);
}

// Removing marks; the next operation that needs the numbering deletes and renumbers, and the
// solver's rows follow: removed PSD variables leave the rows, removed columns leave LMI terms.
TEST_F(PsdModel, RemovalRenumbersVariablesAndTheirTerms) {
  Own<Tarq::IPsdExpr> e(CreatePsdExpr4(xs_[0].get(), eye_.get()));
  e->AddTerm(xs_[1].get(), ones_.get());
  Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(e.get(), 'L', 1, "c"));
  Own<Tarq::ILmiExpr> l(CreateLmiExpr4(x_.get(), eye_.get()));
  l->AddTerm(y_.get(), ones_.get());
  Own<Tarq::ILmiConstraint> lmi(model_->AddLmiConstr(l.get(), "l"));
  ASSERT_EQ(Code(), 0) << Msg();

  Own<Tarq::IPsdVarArray> gone(CreatePsdVarArray());
  gone->PushBack(xs_[0].get());
  model_->Remove(gone.get());
  Own<Tarq::IVarArray> goneCols(CreateVarArray());
  goneCols->PushBack(x_.get());
  model_->Remove(goneCols.get());
  EXPECT_EQ(xs_[1]->GetIdx(), 1) << "nothing is deleted before it is needed";
  EXPECT_EQ(model_->GetIntAttr("PSDCols"), 2);
  EXPECT_EQ(xs_[1]->GetIdx(), 0);
  EXPECT_EQ(xs_[2]->GetIdx(), 1);
  EXPECT_EQ(xs_[0]->GetIdx(), -3);
  EXPECT_EQ(y_->GetIdx(), 0);
  EXPECT_NE(Dump().find("psdrow c [-1e+30,1]: <m1,X0>\n"), std::string::npos) << Dump();
  EXPECT_NE(Dump().find("lmi l dim 2 const -1: x0*m1\n"), std::string::npos) << Dump();
  Own<Tarq::ILmiExpr> back(model_->GetLmiRow(lmi.get()));
  ASSERT_EQ(back->GetSize(), 1);
  Own<Tarq::IVar> v(back->GetVar(0));
  EXPECT_STREQ(v->GetName(), "y");

  model_->SetPsdVarNames(gone.get(), "Z", 2);
  EXPECT_EQ(Msg(), "(INVALID) The 0-th PSD variable has been removed");
  Own<Tarq::IPsdConstrArray> rows(model_->GetPsdConstrs());
  model_->Remove(rows.get());
  Own<Tarq::ILmiConstrArray> lmis(model_->GetLmiConstrs());
  EXPECT_EQ(lmis->Size(), 1);
  model_->Remove(lmis.get());
  EXPECT_EQ(model_->GetIntAttr("PSDConstrs"), 0);
  EXPECT_EQ(model_->GetIntAttr("LMIConstrs"), 0);
  c->Set("LB", 0);
  EXPECT_STREQ(c->GetErrorMsg(), "(INVALID) Invalid PSD constraint");
}

TEST_F(PsdModel, CoefficientsInformationAndObjective) {
  Own<Tarq::IPsdExpr> e(CreatePsdExpr4(xs_[0].get(), eye_.get()));
  Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(e.get(), 'L', 1, "c"));
  Own<Tarq::ILmiExpr> l(CreateLmiExpr4(x_.get(), eye_.get()));
  Own<Tarq::ILmiConstraint> lmi(model_->AddLmiConstr(l.get(), "l"));

  Own<Tarq::ISymMatrix> got(model_->GetPsdCoeff(c.get(), xs_[0].get()));
  EXPECT_EQ(got->GetIdx(), eye_->GetIdx());
  Own<Tarq::ISymMatrix> none(model_->GetPsdCoeff(c.get(), xs_[1].get()));
  EXPECT_EQ(none->GetIdx(), -2);
  model_->SetPsdCoeff(c.get(), xs_[1].get(), ones_.get());
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::ISymMatrix> big(model_->AddEyeMat(3));
  model_->SetPsdCoeff(c.get(), xs_[0].get(), big.get());
  EXPECT_EQ(Msg(), "(INVALID) Dimension mismatch between PSD variable and symmetric matrix");
  Own<Tarq::IPsdExpr> sum(xs_[0]->Sum());
  Own<Tarq::ISymMatExpr> c0(sum->GetCoeff(0));
  Own<Tarq::ISymMatrix> cached(c0->GetSymMat(0));
  model_->SetPsdCoeff(c.get(), xs_[0].get(), cached.get());
  EXPECT_EQ(Msg(), "(INVALID) Invalid SymMatrix with index -1");
  model_->SetLmiCoeff(lmi.get(), y_.get(), ones_.get());
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::ISymMatrix> ly(model_->GetLmiCoeff(lmi.get(), y_.get()));
  EXPECT_EQ(ly->GetIdx(), ones_->GetIdx());
  model_->SetLmiCoeff(lmi.get(), y_.get(), big.get());
  EXPECT_EQ(Msg(), "(INVALID) Input matrix has wrong dimension");
  EXPECT_EQ(Dump().substr(Dump().find("psdrow")), "psdrow c [-1e+30,1]: <m0,X0> <m1,X1>\nlmi l dim 2 const -1: x0*m0 x1*m1\n");

  // Information by name, one constraint or several.
  c->Set("LB", -2);
  EXPECT_EQ(c->GetErrorCode(), 0);
  EXPECT_EQ(c->Get("lb"), -2);
  c->Set("", 1);
  EXPECT_STREQ(c->GetErrorMsg(), "(INVALID) Must specify information name of PSD constraint");
  c->Set("Obj", 1);
  EXPECT_STREQ(c->GetErrorMsg(), "(INVALID) Unknown PSD constraint information");
  Own<Tarq::IPsdConstrArray> cs(model_->GetPsdConstrs());
  const double ub[] = {7};
  model_->SetPsdConstrInfo("UB", cs.get(), ub, 1);
  std::vector<double> values;
  model_->GetPsdConstrInfo("UB", cs.get(), values);
  EXPECT_EQ(values, std::vector<double>{7});
  model_->SetPsdConstrInfo("Obj", cs.get(), ub, 1);
  EXPECT_EQ(Msg(), "(INVALID) Unknown double information of PSD constraint");
  model_->SetPsdConstrInfo("LB", cs.get(), ub, 2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid input values for PSD constraints");

  // The objective with PSD terms, read back and removed.
  Own<Tarq::IPsdExpr> obj(CreatePsdExpr2(x_.get(), 3));
  obj->AddTerm(xs_[1].get(), ones_.get());
  obj->AddConstant(1.5);
  model_->SetPsdObjective(obj.get(), -1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(model_->GetIntAttr("HasPSDObj"), 1);
  EXPECT_EQ(model_->GetIntAttr("ObjSense"), -1);
  Own<Tarq::IPsdExpr> back(model_->GetPsdObjective());
  EXPECT_EQ(back->GetConstant(), 1.5);
  ASSERT_EQ(back->GetSize(), 1);
  Own<Tarq::IPsdVar> bv(back->GetPsdVar(0));
  EXPECT_EQ(bv->GetIdx(), 1);
  model_->DelPsdObjective();
  EXPECT_EQ(model_->GetIntAttr("HasPSDObj"), 0);
  Own<Tarq::IPsdExpr> after(model_->GetPsdObjective());
  EXPECT_EQ(after->GetSize(), 0);
  Own<Tarq::IExpr> lin(after->GetLinExpr());
  EXPECT_EQ(lin->GetSize(), 1);
}

TEST_F(PsdModel, CloneKeepsEveryKindWithItsDimension) {
  Own<Tarq::IPsdExpr> e(CreatePsdExpr4(xs_[2].get(), Own<Tarq::ISymMatrix>(model_->AddEyeMat(3)).get()));
  Own<Tarq::IPsdConstraint> c(model_->AddPsdConstr(e.get(), 'L', 1, "c"));
  Own<Tarq::ILmiExpr> l(CreateLmiExpr4(x_.get(), eye_.get()));
  Own<Tarq::ILmiConstraint> lmi(model_->AddLmiConstr(l.get(), "l"));
  Own<Tarq::IModel> copy(model_->Clone());
  ASSERT_EQ(copy->GetErrorCode(), 0);
  Own<Tarq::IPsdVar> v(copy->GetPsdVar(2));
  EXPECT_EQ(v->GetDim(), 3);
  Own<Tarq::ILmiConstraint> cl(copy->GetLmiConstrByName("l"));
  EXPECT_EQ(cl->GetDim(), 2);
  Own<Tarq::ISymMatrix> m(copy->GetSymMat(2));
  EXPECT_EQ(m->GetDim(), 3);
  EXPECT_EQ(copy->GetIntAttr("PSDConstrs"), 1);
}

}  // namespace
