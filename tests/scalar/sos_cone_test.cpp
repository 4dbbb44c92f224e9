// SOS constraints, indicator constraints, cones and exponential cones: what each add path passes
// to the solver library (read back through its getters), builders, lists, removal with
// renumbering, and every refusal with its message.
#include <algorithm>
#include <functional>
#include <tuple>

#include "model/model_fixture.h"

namespace {

using Cols = std::vector<int>;
using Weights = std::vector<double>;

class SosConeTest : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    vars_.reset(model_->AddVars(6, 'C', "x"));
    z_.reset(model_->AddVar(0, 1, 0, 'B', "z"));
    ASSERT_EQ(Code(), 0) << Msg();
  }
  // The variables at the given positions of vars_, as a new array.
  Own<Tarq::IVarArray> Vars(const Cols& at) {
    Own<Tarq::IVarArray> a(CreateVarArray());
    for (int j : at) {
      Own<Tarq::IVar> v(vars_->GetVar(j));
      a->PushBack(v.get());
    }
    return a;
  }
  Own<Tarq::IExpr> Sum(const Cols& at, double constant) {
    Own<Tarq::IExpr> e(CreateExpr(constant));
    for (int j : at) {
      Own<Tarq::IVar> v(vars_->GetVar(j));
      e->AddTerm(v.get(), 1);
    }
    return e;
  }
  int Attr(const char* name) const {
    int n = -1;
    EXPECT_EQ(TARQ_GetIntAttr(Prob(), name, &n), 0);
    return n;
  }
  // One SOS as the solver holds it: type, members, weights.
  std::tuple<int, Cols, Weights> SolverSos(int k) const {
    int size = 0, type = 0, beg = 0, cnt = 0;
    EXPECT_EQ(TARQ_GetSOSs(Prob(), 1, &k, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
    Cols idx(static_cast<size_t>(size));
    Weights w(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetSOSs(Prob(), 1, &k, &type, &beg, &cnt, idx.data(), w.data(), size, &size), 0);
    return {type, idx, w};
  }
  std::pair<int, Cols> SolverCone(int k) const {
    int size = 0, type = 0, beg = 0, cnt = 0;
    EXPECT_EQ(TARQ_GetCones(Prob(), 1, &k, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
    Cols idx(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetCones(Prob(), 1, &k, &type, &beg, &cnt, idx.data(), size, &size), 0);
    return {type, idx};
  }
  std::pair<int, Cols> SolverExpCone(int k) const {
    int size = 0, type = 0;
    Cols idx(3);
    EXPECT_EQ(TARQ_GetExpCones(Prob(), 1, &k, &type, idx.data(), 3, &size), 0);
    return {type, idx};
  }
  struct Indicator {
    int type, binCol, binVal;
    char sense;
    double bound;
    Terms terms;
  };
  Indicator SolverIndicator(int k) const {
    Indicator ind{};
    int size = 0, beg = 0, cnt = 0;
    EXPECT_EQ(TARQ_GetIndicators(Prob(), 1, &k, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, 0, &size),
              0);
    Cols idx(static_cast<size_t>(size));
    Weights val(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetIndicators(Prob(), 1, &k, &ind.type, &ind.binCol, &ind.binVal, &ind.sense, &ind.bound, &beg,
                                 &cnt, idx.data(), val.data(), size, &size),
              0);
    for (int p = 0; p < size; ++p) ind.terms.emplace_back(idx[p], val[p]);
    std::sort(ind.terms.begin(), ind.terms.end());
    return ind;
  }
  Cols Indices(const Tarq::IVarArray* a) const {
    Cols out;
    for (int i = 0; i < a->GetSize(); ++i) {
      Own<Tarq::IVar> v(a->GetVar(i));
      out.push_back(v->GetIdx());
    }
    return out;
  }

  Own<Tarq::IVarArray> vars_;  // x_0 .. x_5, columns 0 .. 5
  Own<Tarq::IVar> z_;          // binary, column 6
};

TEST_F(SosConeTest, SosAddsReachTheStoreAndReadBack) {
  const double w[] = {3, 1};
  Own<Tarq::ISos> a(model_->AddSos(Vars({0, 1}).get(), w, 1));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(a->GetIdx(), 0);
  EXPECT_EQ(SolverSos(0), std::make_tuple(1, Cols{0, 1}, Weights{3, 1}));

  Own<Tarq::ISos> b(model_->AddSos(Vars({2, 3, 4}).get(), nullptr, 2));
  EXPECT_EQ(b->GetIdx(), 1);
  EXPECT_EQ(SolverSos(1), std::make_tuple(2, Cols{2, 3, 4}, Weights{1, 2, 3})) << "null weights go as null";

  // A builder set twice with two variables each holds four pairs.
  Own<Tarq::ISosBuilder> builder(CreateSosBuilder());
  const double w1[] = {1, 2}, w2[] = {5, 6};
  builder->Set(Vars({0, 1}).get(), w1, 1);
  builder->Set(Vars({4, 5}).get(), w2, 2);
  EXPECT_EQ(builder->GetSize(), 4);
  EXPECT_EQ(builder->GetType(), 2);
  double held[4] = {};
  builder->GetWeights(held);
  EXPECT_EQ(Weights(held, held + 4), (Weights{1, 2, 5, 6}));
  EXPECT_EQ(builder->GetWeight(2), 5);
  Own<Tarq::IVarArray> bvars(builder->GetVars());
  EXPECT_EQ(Indices(bvars.get()), (Cols{0, 1, 4, 5}));
  Own<Tarq::ISos> c(model_->AddSos(builder.get()));
  EXPECT_EQ(c->GetIdx(), 2);
  EXPECT_EQ(SolverSos(2), std::make_tuple(2, Cols{0, 1, 4, 5}, Weights{1, 2, 5, 6}));

  // A batch: one call, numbered on from the count.
  Own<Tarq::ISosBuilderArray> batch(CreateSosBuilderArray());
  batch->PushBack(builder.get());
  Own<Tarq::ISosBuilder> other(CreateSosBuilder());
  other->Set(Vars({3}).get(), nullptr, 1);
  EXPECT_EQ(other->GetWeight(0), 1) << "a null weight array gives the position, from 1";
  batch->PushBack(other.get());
  builder->Set(Vars({2}).get(), nullptr, 1);
  EXPECT_EQ(builder->GetWeight(4), 5);
  Own<Tarq::ISosBuilder> copy(batch->GetBuilder(0));
  EXPECT_EQ(copy->GetSize(), 4) << "the list holds a deep copy";
  Own<Tarq::ISosArray> added(model_->AddSoss(batch.get()));
  ASSERT_EQ(Code(), 0) << Msg();
  ASSERT_EQ(added->GetSize(), 2);
  Own<Tarq::ISos> last(added->GetSos(1));
  EXPECT_EQ(last->GetIdx(), 4);
  EXPECT_EQ(SolverSos(4), std::make_tuple(1, Cols{3}, Weights{1}));
  EXPECT_EQ(Attr("Soss"), 5);

  // Read back as builders through the model.
  Own<Tarq::ISosArray> all(model_->GetSoss());
  ASSERT_EQ(all->GetSize(), 5);
  Own<Tarq::ISosBuilderArray> back(model_->GetSosBuilders(all.get()));
  ASSERT_EQ(back->GetSize(), 5);
  Own<Tarq::ISosBuilder> third(back->GetBuilder(2));
  EXPECT_EQ(third->GetType(), 2);
  Own<Tarq::IVarArray> thirdVars(third->GetVars());
  EXPECT_EQ(Indices(thirdVars.get()), (Cols{0, 1, 4, 5}));
  EXPECT_EQ(third->GetWeight(3), 6);
  Own<Tarq::ISos> byIndex(model_->GetSos(4));
  EXPECT_EQ(byIndex->GetIdx(), 4);
}

TEST_F(SosConeTest, SosRefusalsLeaveEverythingUsable) {
  Own<Tarq::IVarArray> withRemoved = Vars({0, 1});
  Own<Tarq::IVar> x1(vars_->GetVar(1));
  x1->Remove();
  Own<Tarq::ISos> bad(model_->AddSos(withRemoved.get(), nullptr, 1));
  EXPECT_EQ(bad->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
  Own<Tarq::ISosBuilderArray> batch(CreateSosBuilderArray());
  Own<Tarq::ISosBuilder> good(CreateSosBuilder()), withGone(CreateSosBuilder());
  good->Set(Vars({2, 3}).get(), nullptr, 1);
  withGone->Set(withRemoved.get(), nullptr, 1);
  batch->PushBack(good.get());
  batch->PushBack(withGone.get());
  Own<Tarq::ISosArray> none(model_->AddSoss(batch.get()));
  EXPECT_EQ(none->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
  Own<Tarq::ISos> empty(model_->AddSos(Vars({}).get(), nullptr, 1));
  EXPECT_EQ(Msg(), "(INVALID) Fail to add sos constraint") << "the library refuses a set without members";
  Own<Tarq::ISosArray> noneAdded(model_->GetSoss());
  EXPECT_EQ(noneAdded->GetSize(), 0);

  Own<Tarq::ISos> sos(model_->AddSos(good.get()));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(sos->GetIdx(), 0);
  EXPECT_EQ(sos->GetIIS(), 0);
  EXPECT_EQ(std::string(sos->GetErrorMsg()), "(INVALID) Fail to get IIS status of SOS constraint") << "no IIS yet";
  sos->Remove();
  EXPECT_EQ(sos->GetIIS(), 0);
  EXPECT_EQ(sos->GetErrorCode(), 3);
  EXPECT_EQ(std::string(sos->GetErrorMsg()), "(INVALID) Invalid SOS constraint");
  Own<Tarq::ISos> again(model_->AddSos(good.get()));
  EXPECT_EQ(again->GetIdx(), 1) << "the removed set still holds its place until the flush";
}

TEST_F(SosConeTest, IndicatorAddsPassTheBoundAndReadBack) {
  // z = 1 -> x0 + x1 + 1 <= 3: bound 2.
  Own<Tarq::IGenConstr> a(model_->AddGenConstrIndicator(z_.get(), 1, Sum({0, 1}, 1).get(), 'L', 3, 0, "  ind a "));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(a->GetIdx(), 0);
  Indicator ind = SolverIndicator(0);
  EXPECT_EQ(ind.binCol, 6);
  EXPECT_EQ(ind.binVal, 1);
  EXPECT_EQ(ind.sense, 'L');
  EXPECT_EQ(ind.bound, 2);
  EXPECT_EQ(ind.terms, (Terms{{0, 1}, {1, 1}}));
  EXPECT_STREQ(a->GetName(), "ind_a");
  Own<Tarq::IGenConstr> byName(model_->GetGenConstrByName(" ind a"));
  EXPECT_EQ(byName->GetIdx(), 0);

  // A builder: expression and sense with right-hand side 0, its type passed on.
  Own<Tarq::IGenConstrBuilder> b(CreateGenConstrBuilder());
  Own<Tarq::IExpr> e = Sum({2, 2, 3}, -4);
  b->Set(z_.get(), 0, e.get(), 'G', 7);
  Own<Tarq::IExpr> held(b->GetExpr());
  EXPECT_EQ(held->GetSize(), 3) << "a copy, not yet merged";
  Own<Tarq::IGenConstr> c(model_->AddGenConstrIndicator(b.get(), nullptr));
  ASSERT_EQ(Code(), 0) << Msg();
  ind = SolverIndicator(1);
  EXPECT_EQ(ind.type, 7);
  EXPECT_EQ(ind.binVal, 0);
  EXPECT_EQ(ind.sense, 'G');
  EXPECT_EQ(ind.bound, 4);
  EXPECT_EQ(ind.terms, (Terms{{2, 2}, {3, 1}})) << "merged by variable";
  EXPECT_STREQ(c->GetName(), "G1") << "unnamed: the library's generated name";

  // A linear constraint builder: x4 <= 5 as expression x4 - 5, sense 'L'.
  Own<Tarq::IConstrBuilder> lin(CreateConstrBuilder());
  lin->Set(Sum({4}, 0).get(), 'L', 5);
  Own<Tarq::IGenConstr> d(model_->AddGenConstrIndicator(z_.get(), 1, lin.get(), 0, "d"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverIndicator(2).bound, 5);

  // The model reads an indicator back as a builder.
  Own<Tarq::IGenConstrBuilder> back(model_->GetGenConstrIndicator(c.get()));
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IVar> bin(back->GetBinVar());
  EXPECT_EQ(bin->GetIdx(), 6);
  EXPECT_EQ(back->GetBinVal(), 0);
  EXPECT_EQ(back->GetSense(), 'G');
  EXPECT_EQ(back->GetType(), 7);
  Own<Tarq::IExpr> backExpr(back->GetExpr());
  EXPECT_EQ(backExpr->GetConstant(), -4);
  EXPECT_EQ(backExpr->GetSize(), 2);

  // A batch with a prefix: names numbered from the count before.
  Own<Tarq::IGenConstrBuilderArray> batch(CreateGenConstrBuilderArray());
  batch->PushBack(b.get());
  batch->PushBack(back.get());
  Own<Tarq::IGenConstrArray> added(model_->AddGenConstrIndicator(batch.get(), "g"));
  ASSERT_EQ(Code(), 0) << Msg();
  auto handles = Adopt(added->GetAll());
  ASSERT_EQ(handles.size(), 2u);
  EXPECT_EQ(handles[1]->GetIdx(), 4);
  EXPECT_STREQ(handles[0]->GetName(), "g_3");
  EXPECT_EQ(Attr("Indicators"), 5);

  // Naming one and several.
  handles[0]->SetName(" first one ");
  EXPECT_EQ(handles[0]->GetErrorCode(), 0);
  Own<Tarq::IGenConstr> found(model_->GetGenConstrByName("first_one"));
  EXPECT_EQ(found->GetIdx(), 3);
  const char names[] = "p\0q";
  model_->SetGenConstrNames(added.get(), names, sizeof names);
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IGenConstr> q(model_->GetGenConstrByName("q"));
  EXPECT_EQ(q->GetIdx(), 4);
  model_->SetGenConstrNames(added.get(), names, sizeof names - 1);
  EXPECT_EQ(Msg(), "(INVALID) Invalid size of input names");
}

TEST_F(SosConeTest, IndicatorRefusals) {
  Own<Tarq::IVar> x0(vars_->GetVar(0));
  Own<Tarq::IGenConstr> cont(model_->AddGenConstrIndicator(x0.get(), 1, Sum({1}, 0).get(), 'L', 1, 0, "c"));
  EXPECT_EQ(cont->GetIdx(), -2);
  EXPECT_EQ(Code(), 3);
  EXPECT_EQ(Msg(), "(INVALID) Invalid indicator variable");
  for (char sense : {'R', 'N', 'l', '\0'}) {
    Own<Tarq::IGenConstr> bad(model_->AddGenConstrIndicator(z_.get(), 1, Sum({1}, 0).get(), sense, 1, 0, "c"));
    EXPECT_EQ(bad->GetIdx(), -2);
    EXPECT_EQ(Msg(), "(INVALID) Invalid general constraint sense") << sense;
  }
  Own<Tarq::IConstrBuilder> range(CreateConstrBuilder());
  range->SetRange(Sum({1}, 0).get(), 3);
  Own<Tarq::IGenConstr> ranged(model_->AddGenConstrIndicator(z_.get(), 1, range.get(), 0, "r"));
  EXPECT_EQ(Msg(), "(INVALID) Invalid general constraint sense");
  Own<Tarq::IGenConstr> badVal(model_->AddGenConstrIndicator(z_.get(), 2, Sum({1}, 0).get(), 'L', 1, 0, "v"));
  EXPECT_EQ(Msg(), "(INVALID) Fail to add an indicator constraint") << "the library takes the values 0 and 1 only";
  EXPECT_EQ(Attr("Indicators"), 0);

  // A removed indicator variable, and handles of failed adds.
  Own<Tarq::IGenConstr> ok(model_->AddGenConstrIndicator(z_.get(), 1, Sum({1}, 0).get(), 'E', 1, 0, "ok"));
  ASSERT_EQ(ok->GetIdx(), 0) << Msg();
  cont->SetName("x");
  EXPECT_EQ(std::string(cont->GetErrorMsg()), "(INVALID) Invalid general constraint");
  EXPECT_EQ(cont->GetIIS(), 0);
  EXPECT_EQ(std::string(cont->GetErrorMsg()), "(INVALID) Invalid general constraint");
  EXPECT_EQ(ok->GetIIS(), 0);
  EXPECT_EQ(std::string(ok->GetErrorMsg()), "(INVALID) Fail to get IIS status of general constraint");
  Own<Tarq::IGenConstrBuilder> none(model_->GetGenConstrIndicator(cont.get()));
  EXPECT_EQ(Msg(), "(INVALID) Invalid general constraint");
  EXPECT_EQ(none->GetSense(), 0);
  z_->Remove();
  Own<Tarq::IGenConstr> gone(model_->AddGenConstrIndicator(z_.get(), 1, Sum({1}, 0).get(), 'E', 1, 0, "g"));
  EXPECT_EQ(Msg(), "(INVALID) Invalid indicator variable");
  Own<Tarq::IGenConstr> missing(model_->GetGenConstrByName("nothing"));
  EXPECT_EQ(missing->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) No such general constraint");
}

TEST_F(SosConeTest, ConesAndExponentialConesReachTheStore) {
  Own<Tarq::ICone> a(model_->AddCone(Vars({0, 1, 2}).get(), TARQ_CONE_QUAD));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(a->GetIdx(), 0);
  EXPECT_EQ(SolverCone(0), std::make_pair(1, Cols{0, 1, 2}));
  Own<Tarq::IConeBuilder> b(CreateConeBuilder());
  b->Set(Vars({3, 4}).get(), TARQ_CONE_QUAD);
  b->Set(Vars({5}).get(), TARQ_CONE_RQUAD);
  EXPECT_EQ(b->GetSize(), 3);
  Own<Tarq::IVar> v2(b->GetVar(2));
  EXPECT_EQ(v2->GetIdx(), 5);
  Own<Tarq::ICone> c(model_->AddCone(b.get()));
  EXPECT_EQ(SolverCone(1), std::make_pair(2, Cols{3, 4, 5}));
  Own<Tarq::IConeBuilderArray> batch(CreateConeBuilderArray());
  batch->PushBack(b.get());
  batch->PushBack(b.get());
  Own<Tarq::IConeArray> two(model_->AddCone(batch.get()));
  ASSERT_EQ(two->GetSize(), 2) << Msg();
  Own<Tarq::ICone> fourth(two->GetCone(1));
  EXPECT_EQ(fourth->GetIdx(), 3);
  // Raw arrays: two cones, one call.
  const int types[] = {1, 1}, beg[] = {0, 2, 4}, idx[] = {0, 5, 1, 4};
  model_->AddCones(2, types, beg, nullptr, idx);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverCone(5), std::make_pair(1, Cols{1, 4}));
  Own<Tarq::ICone> sixth(model_->GetCone(5));
  EXPECT_EQ(sixth->GetIdx(), 5);
  Own<Tarq::IConeArray> all(model_->GetCones());
  EXPECT_EQ(all->GetSize(), 6);
  Own<Tarq::IConeBuilderArray> back(model_->GetConeBuilders(all.get()));
  Own<Tarq::IConeBuilder> secondBack(back->GetBuilder(1));
  EXPECT_EQ(secondBack->GetType(), 2);
  Own<Tarq::IVarArray> secondVars(secondBack->GetVars());
  EXPECT_EQ(Indices(secondVars.get()), (Cols{3, 4, 5}));

  Own<Tarq::IExpCone> e(model_->AddExpCone(Vars({0, 1, 2}).get(), TARQ_EXPCONE_PRIMAL));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(SolverExpCone(0), std::make_pair(3, Cols{0, 1, 2}));
  Own<Tarq::IExpConeBuilder> eb(CreateExpConeBuilder());
  eb->Set(Vars({5, 4, 3}).get(), TARQ_EXPCONE_DUAL);
  Own<Tarq::IExpCone> f(model_->AddExpCone(eb.get()));
  EXPECT_EQ(f->GetIdx(), 1);
  EXPECT_EQ(SolverExpCone(1), std::make_pair(4, Cols{5, 4, 3}));
  Own<Tarq::IExpConeBuilderArray> ebatch(CreateExpConeBuilderArray());
  ebatch->PushBack(eb.get());
  Own<Tarq::IExpConeArray> one(model_->AddExpCone(ebatch.get()));
  ASSERT_EQ(one->GetSize(), 1);
  const int etypes[] = {3}, eidx[] = {2, 3, 4};
  model_->AddExpCones(1, etypes, eidx);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(Attr("ExpCones"), 4);
  Own<Tarq::IExpConeArray> eall(model_->GetExpCones());
  Own<Tarq::IExpConeBuilderArray> eback(model_->GetExpConeBuilders(eall.get()));
  ASSERT_EQ(eback->GetSize(), 4);
  Own<Tarq::IExpConeBuilder> lastBack(eback->GetBuilder(3));
  Own<Tarq::IVarArray> lastVars(lastBack->GetVars());
  EXPECT_EQ(Indices(lastVars.get()), (Cols{2, 3, 4}));
  EXPECT_EQ(lastBack->GetType(), 3);
}

TEST_F(SosConeTest, ConeRefusalsAddNothing) {
  struct Case {
    Cols vars;
    int type;
    bool exp;
    const char* message;
  };
  const Case cases[] = {
      {{0}, TARQ_CONE_QUAD, false, "(INVALID) Invalid dimension for cone"},
      {{}, TARQ_CONE_RQUAD, false, "(INVALID) Invalid dimension for cone"},
      {{0, 1}, TARQ_CONE_RQUAD, false, "(INVALID) Invalid dimension for rotated cone"},
      {{0, 1}, 7, false, "(INVALID) Fail to add a cone"},
      {{0, 0, 1}, TARQ_CONE_QUAD, false, "(INVALID) Fail to add a cone"},
      {{0, 1}, TARQ_EXPCONE_PRIMAL, true, "(INVALID) Invalid dimension of variable array for exponential cone"},
      {{0, 1, 2, 3}, TARQ_EXPCONE_PRIMAL, true, "(INVALID) Invalid dimension of variable array for exponential cone"},
      {{0, 1, 2}, TARQ_CONE_QUAD, true, "(INVALID) Invalid type for exponential cone"},
      {{0, 1, 1}, TARQ_EXPCONE_DUAL, true, "(INVALID) Fail to add an exponential cone"},
  };
  for (const Case& c : cases) {
    if (c.exp) {
      Own<Tarq::IExpCone> e(model_->AddExpCone(Vars(c.vars).get(), c.type));
      EXPECT_EQ(e->GetIdx(), -2);
    } else {
      Own<Tarq::ICone> k(model_->AddCone(Vars(c.vars).get(), c.type));
      EXPECT_EQ(k->GetIdx(), -2);
    }
    EXPECT_EQ(Msg(), c.message) << c.vars.size() << " variables, type " << c.type;
  }
  // A removed variable: refused before the library sees it, in single and batch adds.
  Own<Tarq::IVarArray> three = Vars({0, 1, 2});
  Own<Tarq::IVar> x2(vars_->GetVar(2));
  x2->Remove();
  Own<Tarq::ICone> k(model_->AddCone(three.get(), TARQ_CONE_QUAD));
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
  Own<Tarq::IExpCone> e(model_->AddExpCone(three.get(), TARQ_EXPCONE_PRIMAL));
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
  Own<Tarq::IConeBuilder> b(CreateConeBuilder());
  b->Set(three.get(), TARQ_CONE_QUAD);
  Own<Tarq::IConeBuilderArray> batch(CreateConeBuilderArray());
  batch->PushBack(b.get());
  Own<Tarq::IConeArray> none(model_->AddCone(batch.get()));
  EXPECT_EQ(none->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) Invalid variable");
  const int types[] = {1}, beg[] = {0, 2}, idx[] = {0, 99};
  model_->AddCones(1, types, beg, nullptr, idx);
  EXPECT_EQ(Msg(), "(INVALID) Fail to load cone data");
  const int badExp[] = {0, 1, 99};
  model_->AddExpCones(1, types, badExp);
  EXPECT_EQ(Msg(), "(INVALID) Fail to load exponential cone data");
  EXPECT_EQ(Attr("Cones"), 0);
  EXPECT_EQ(Attr("ExpCones"), 0);
  Own<Tarq::IConeArray> cones(model_->GetCones());
  EXPECT_EQ(cones->GetSize(), 0);
  // Still usable.
  Own<Tarq::ICone> fine(model_->AddCone(Vars({0, 1}).get(), TARQ_CONE_QUAD));
  EXPECT_EQ(fine->GetIdx(), 0);
  EXPECT_EQ(Code(), 0);

  // Objects of another model are refused, in adds and in removal.
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::IVarArray> foreign(other->AddVars(3, 'C', nullptr));
  Own<Tarq::ICone> mixed(model_->AddCone(foreign.get(), TARQ_CONE_QUAD));
  EXPECT_EQ(Msg(), "(INVALID) Variable of another model");
  Own<Tarq::ICone> theirs(other->AddCone(foreign.get(), TARQ_CONE_QUAD));
  ASSERT_EQ(theirs->GetIdx(), 0);
  Own<Tarq::IConeArray> theirList(CreateConeArray());
  theirList->PushBack(theirs.get());
  model_->Remove(theirList.get());
  EXPECT_EQ(Msg(), "(INVALID) Cone of another model");
  EXPECT_EQ(theirs->GetIdx(), 0);
  Own<Tarq::IConeBuilderArray> theirBuilders(model_->GetConeBuilders(theirList.get()));
  EXPECT_EQ(theirBuilders->GetSize(), 0);
  EXPECT_EQ(Msg(), "(INVALID) The 0-th cone belongs to another model");
}

TEST_F(SosConeTest, ReadersOutOfRangeGiveFailureValues) {
  Own<Tarq::ISosArray> sosList(CreateSosArray());
  Own<Tarq::ISos> s(sosList->GetSos(0));
  EXPECT_EQ(s->GetIdx(), -2);
  Own<Tarq::IGenConstrArray> genList(CreateGenConstrArray());
  Own<Tarq::IGenConstr> g(genList->GetGenConstr(-1));
  EXPECT_EQ(g->GetIdx(), -2);
  Own<Tarq::IConeArray> coneList(CreateConeArray());
  Own<Tarq::ICone> c(coneList->GetCone(3));
  EXPECT_EQ(c->GetIdx(), -2);
  Own<Tarq::IExpConeArray> expList(CreateExpConeArray());
  Own<Tarq::IExpCone> e(expList->GetExpCone(1));
  EXPECT_EQ(e->GetIdx(), -2);
  Own<Tarq::ISosBuilder> sb(CreateSosBuilder());
  Own<Tarq::IVar> none(sb->GetVar(0));
  EXPECT_EQ(none->GetIdx(), -2);
  EXPECT_EQ(sb->GetWeight(0), 1e30);
  Own<Tarq::IConeBuilderArray> cbs(CreateConeBuilderArray());
  Own<Tarq::IConeBuilder> emptyBuilder(cbs->GetBuilder(0));
  EXPECT_EQ(emptyBuilder->GetSize(), 0);
  Own<Tarq::IGenConstrBuilderArray> gbs(CreateGenConstrBuilderArray());
  Own<Tarq::IGenConstrBuilder> emptyInd(gbs->GetBuilder(-1));
  Own<Tarq::IVar> noBin(emptyInd->GetBinVar());
  EXPECT_EQ(noBin->GetIdx(), -2);

  const std::pair<std::function<int()>, const char*> models[] = {
      {[&] { return Own<Tarq::ISos>(model_->GetSos(0))->GetIdx(); }, "(INVALID) Invalid sos index"},
      {[&] { return Own<Tarq::IGenConstr>(model_->GetGenConstr(-1))->GetIdx(); },
       "(INVALID) Invalid index of general constraint"},
      {[&] { return Own<Tarq::ICone>(model_->GetCone(1))->GetIdx(); }, "(INVALID) Invalid cone index"},
      {[&] { return Own<Tarq::IExpCone>(model_->GetExpCone(2))->GetIdx(); },
       "(INVALID) Invalid exponential cone index"},
  };
  for (const auto& [get, message] : models) {
    EXPECT_EQ(get(), -2);
    EXPECT_EQ(Msg(), message);
  }
}

TEST_F(SosConeTest, RemovalIsDeferredAndRenumbersEveryKind) {
  std::vector<Own<Tarq::ISos>> sos;
  std::vector<Own<Tarq::ICone>> cones;
  std::vector<Own<Tarq::IGenConstr>> inds;
  for (int k = 0; k < 3; ++k) {
    sos.emplace_back(model_->AddSos(Vars({k, k + 1}).get(), nullptr, 1));
    cones.emplace_back(model_->AddCone(Vars({k, k + 2}).get(), TARQ_CONE_QUAD));
    inds.emplace_back(model_->AddGenConstrIndicator(z_.get(), 1, Sum({k}, 0).get(), 'L', k, 0, nullptr));
  }
  Own<Tarq::IExpCone> e0(model_->AddExpCone(Vars({0, 1, 2}).get(), TARQ_EXPCONE_PRIMAL));
  Own<Tarq::IExpCone> e1(model_->AddExpCone(Vars({3, 4, 5}).get(), TARQ_EXPCONE_PRIMAL));
  ASSERT_EQ(Code(), 0) << Msg();

  Own<Tarq::ISosArray> sosGone(CreateSosArray());
  sosGone->PushBack(sos[0].get());
  sosGone->PushBack(sos[0].get());
  model_->Remove(sosGone.get());
  Own<Tarq::IConeArray> coneGone(CreateConeArray());
  coneGone->PushBack(cones[1].get());
  model_->Remove(coneGone.get());
  Own<Tarq::IGenConstrArray> indGone(CreateGenConstrArray());
  indGone->PushBack(inds[1].get());
  model_->Remove(indGone.get());
  Own<Tarq::IExpConeArray> expGone(CreateExpConeArray());
  expGone->PushBack(e0.get());
  model_->Remove(expGone.get());

  // Marked only: the removed ones report their former position, the others keep theirs.
  EXPECT_EQ(sos[0]->GetIdx(), -3);
  EXPECT_EQ(cones[1]->GetIdx(), -4);
  EXPECT_EQ(sos[2]->GetIdx(), 2);
  Own<Tarq::ISosArray> live(model_->GetSoss());
  EXPECT_EQ(live->GetSize(), 2);
  int n = 0;
  TARQ_GetIntAttr(Prob(), "Soss", &n);
  EXPECT_EQ(n, 3) << "nothing deleted before the flush";

  // An attribute read runs the flush: one deletion per kind, survivors renumbered.
  EXPECT_EQ(model_->GetIntAttr("Soss"), 2);
  EXPECT_EQ(sos[0]->GetIdx(), -3);
  EXPECT_EQ(sos[1]->GetIdx(), 0);
  EXPECT_EQ(sos[2]->GetIdx(), 1);
  EXPECT_EQ(SolverSos(1), std::make_tuple(1, Cols{2, 3}, Weights{1, 2}));
  EXPECT_EQ(cones[2]->GetIdx(), 1);
  EXPECT_EQ(SolverCone(1), std::make_pair(1, Cols{2, 4}));
  EXPECT_EQ(inds[2]->GetIdx(), 1);
  EXPECT_EQ(SolverIndicator(1).bound, 2);
  EXPECT_EQ(e1->GetIdx(), 0);
  EXPECT_EQ(Attr("Cones"), 2);
  EXPECT_EQ(Attr("Indicators"), 2);
  EXPECT_EQ(Attr("ExpCones"), 1);
  // Handles share their record: a list made before the flush sees the new position.
  Own<Tarq::ISos> viaList(live->GetSos(1));
  EXPECT_EQ(viaList->GetIdx(), 1);
  Own<Tarq::ISos> fresh(model_->AddSos(Vars({5}).get(), nullptr, 1));
  EXPECT_EQ(fresh->GetIdx(), 2);

  // Deleting columns takes along what the library deletes with them: the indicators on z, the
  // exponential cone over x3..x5, and the SOS {x5}; the cone over x2, x4 only loses x4.
  Own<Tarq::IVarArray> cols = Vars({4, 5});
  cols->PushBack(z_.get());
  model_->Remove(cols.get());
  EXPECT_EQ(model_->GetIntAttr("Cols"), 4);
  EXPECT_EQ(inds[0]->GetIdx(), -3);
  EXPECT_EQ(inds[2]->GetIdx(), -4);
  EXPECT_LT(e1->GetIdx(), 0);
  EXPECT_LT(fresh->GetIdx(), 0);
  EXPECT_EQ(sos[2]->GetIdx(), 1);
  EXPECT_EQ(cones[2]->GetIdx(), 1);
  EXPECT_EQ(SolverCone(1), std::make_pair(1, Cols{2}));
  Own<Tarq::IGenConstrArray> indsLeft(model_->GetGenConstrs());
  Own<Tarq::IExpConeArray> expLeft(model_->GetExpCones());
  Own<Tarq::ISosArray> sosLeft(model_->GetSoss());
  EXPECT_EQ(indsLeft->GetSize(), 0);
  EXPECT_EQ(expLeft->GetSize(), 0);
  EXPECT_EQ(sosLeft->GetSize(), 2);
  EXPECT_EQ(Attr("Soss"), 2);
  Own<Tarq::ISos> next(model_->AddSos(Vars({0}).get(), nullptr, 1));
  EXPECT_EQ(next->GetIdx(), 2) << "the model's count follows the library's";
}

TEST_F(SosConeTest, ObjectsMarkedAndDeletedWithTheirColumnsAreDeletedOnce) {
  Own<Tarq::ISos> a(model_->AddSos(Vars({0}).get(), nullptr, 1));
  Own<Tarq::ISos> b(model_->AddSos(Vars({1}).get(), nullptr, 1));
  Own<Tarq::ISos> c(model_->AddSos(Vars({2}).get(), nullptr, 1));
  Own<Tarq::ISos> d(model_->AddSos(Vars({0, 3}).get(), nullptr, 2));
  a->Remove();
  d->Remove();
  Own<Tarq::IVarArray> cols = Vars({0, 1});
  model_->Remove(cols.get());
  // The columns go first and take a and b with them; only d is left for the SOS deletion.
  EXPECT_EQ(model_->GetIntAttr("Soss"), 1);
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(c->GetIdx(), 0);
  EXPECT_EQ(SolverSos(0), std::make_tuple(1, Cols{0}, Weights{1})) << "x2 is column 0 now";
  EXPECT_LT(a->GetIdx(), 0);
  EXPECT_LT(b->GetIdx(), 0);
  EXPECT_LT(d->GetIdx(), 0);
  Own<Tarq::ISosArray> left(model_->GetSoss());
  EXPECT_EQ(left->GetSize(), 1);
}

TEST_F(SosConeTest, IisStatusesPassThroughFromTheLibrary) {
  Own<Tarq::ISos> sos(model_->AddSos(Vars({0, 1}).get(), nullptr, 1));
  Own<Tarq::IGenConstr> ind(model_->AddGenConstrIndicator(z_.get(), 1, Sum({2}, 0).get(), 'L', 1, 0, "i"));
  Own<Tarq::ISosArray> soss(model_->GetSoss());
  Own<Tarq::IGenConstrArray> inds(model_->GetGenConstrs());
  std::vector<int> status = {9};
  model_->GetSOSIIS(soss.get(), status);
  EXPECT_EQ(Msg(), "(INVALID) Fail to get IIS status of SOS constraints") << "no IIS computed";
  EXPECT_TRUE(status.empty());
  model_->GetIndicatorIIS(inds.get(), status);
  EXPECT_EQ(Msg(), "(INVALID) Fail to get IIS status of indicator constraints");

  Own<Tarq::IVar> x0(vars_->GetVar(0));
  x0->Set("UB", 10);
  // An infeasible row x0 >= 20 against x0 <= 10: the IIS is found, and the model hands on what
  // the library says of the SOS and the indicator.
  Own<Tarq::IConstraint> row(model_->AddConstr(Sum({0}, 0).get(), 'G', 20, "r"));
  model_->ComputeIIS();
  ASSERT_EQ(Code(), 0) << Msg();
  // Whatever the library answers (code and statuses) is what the model hands on.
  const int zero = 0;
  int expected = -1;
  const int sosCode = TARQ_GetSOSIIS(Prob(), 1, &zero, &expected);
  model_->GetSOSIIS(soss.get(), status);
  EXPECT_EQ(Code(), sosCode);
  EXPECT_EQ(sos->GetIIS(), sosCode == 0 ? expected : 0);
  EXPECT_EQ(sos->GetErrorCode(), sosCode);
  if (sosCode == 0) {
    EXPECT_EQ(status, std::vector<int>{expected});
  } else {
    EXPECT_EQ(Msg(), "(INVALID) Fail to get IIS status of SOS constraints");
    EXPECT_TRUE(status.empty());
  }
  const int indCode = TARQ_GetIndicatorIIS(Prob(), 1, &zero, &expected);
  model_->GetIndicatorIIS(inds.get(), status);
  EXPECT_EQ(Code(), indCode);
  EXPECT_EQ(ind->GetIIS(), indCode == 0 ? expected : 0);
  if (indCode == 0) {
    EXPECT_EQ(status, std::vector<int>{expected});
  }
  sos->Remove();
  model_->GetSOSIIS(soss.get(), status);
  EXPECT_EQ(Msg(), "(INVALID) The 0-th SOS constraint has been removed");
}

TEST_F(SosConeTest, CloneClearAndConicLoadRebuildTheLists) {
  Own<Tarq::ISos> sos(model_->AddSos(Vars({0, 1}).get(), nullptr, 1));
  Own<Tarq::IGenConstr> ind(model_->AddGenConstrIndicator(z_.get(), 1, Sum({2}, 0).get(), 'L', 1, 0, "i"));
  Own<Tarq::ICone> cone(model_->AddCone(Vars({0, 1}).get(), TARQ_CONE_QUAD));
  Own<Tarq::IExpCone> exp(model_->AddExpCone(Vars({3, 4, 5}).get(), TARQ_EXPCONE_PRIMAL));
  Own<Tarq::IModel> copy(model_->Clone());
  ASSERT_EQ(copy->GetErrorCode(), 0);
  Own<Tarq::IGenConstr> copied(copy->GetGenConstrByName("i"));
  EXPECT_EQ(copied->GetIdx(), 0);
  Own<Tarq::ISosArray> copySos(copy->GetSoss());
  Own<Tarq::IConeArray> copyCones(copy->GetCones());
  Own<Tarq::IExpConeArray> copyExp(copy->GetExpCones());
  EXPECT_EQ(copySos->GetSize(), 1);
  EXPECT_EQ(copyCones->GetSize(), 1);
  EXPECT_EQ(copyExp->GetSize(), 1);

  // Conic standard form: 3 columns in one quadratic cone, one row x0 = 1.
  const int coneDim[] = {3}, shortDim[] = {2}, colBeg[] = {0, 1, 1, 1}, colIdx[] = {0};
  const double obj[] = {0, 1, 1}, colVal[] = {1}, one[] = {1};
  copy->LoadConeMatrix(3, 1, 0, 0, 1, 0, 0, 0, shortDim, 1, 0, obj, colBeg, nullptr, colIdx, colVal, one, one, nullptr);
  EXPECT_STREQ(copy->GetErrorMsg(), "(INVALID) Fail to load cone problem by matrix") << "groups do not cover the columns";
  copy->LoadConeMatrix(3, 1, 0, 0, 1, 0, 0, 0, coneDim, 1, 0, obj, colBeg, nullptr, colIdx, colVal, one, one, nullptr);
  ASSERT_EQ(copy->GetErrorCode(), 0) << copy->GetErrorMsg();
  EXPECT_EQ(copied->GetIdx(), -2) << "objects from before stand for nothing";
  Own<Tarq::IConeArray> loaded(copy->GetCones());
  Own<Tarq::ISosArray> noSos(copy->GetSoss());
  Own<Tarq::IVarArray> loadedVars(copy->GetVars());
  EXPECT_EQ(loaded->GetSize(), 1);
  EXPECT_EQ(noSos->GetSize(), 0);
  EXPECT_EQ(loadedVars->GetSize(), 3);
  Own<Tarq::IConeBuilderArray> back(copy->GetConeBuilders(loaded.get()));
  Own<Tarq::IConeBuilder> first(back->GetBuilder(0));
  EXPECT_EQ(first->GetSize(), 3);

  model_->Clear();
  ASSERT_EQ(Code(), 0) << Msg();
  Own<Tarq::IGenConstrArray> afterClear(model_->GetGenConstrs());
  EXPECT_EQ(afterClear->GetSize(), 0);
  EXPECT_EQ(ind->GetIdx(), 0) << "held objects keep their records";
  Own<Tarq::ISos> badGet(model_->GetSos(0));
  EXPECT_EQ(Msg(), "(INVALID) Invalid sos index");
}

}  // namespace
