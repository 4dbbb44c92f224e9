// Certificates of infeasible and unbounded LPs, each solved with presolve on and off and checked
// by the independent check of certificate_check.h; and what the getters say when there is none.
#include <functional>

#include "solve/certificate_check.h"
#include "solve/certificates.h"
#include "solve_fixture.h"

namespace solvetest {
namespace {

class Certificates : public SolveTest {
 public:
  using SolveTest::Col;
  using SolveTest::Row;
  tarq_prob* Prob() { return prob_; }
  void Maximize() { ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MAXIMIZE), 0); }

 protected:
  // Builds one case into the empty problem.
  using Build = std::function<void(Certificates&)>;
  struct Case {
    const char* label;
    Build build;
  };

  void RunAll(const std::vector<Case>& cases, int status) {
    for (const Case& c : cases) {
      for (int presolve : {0, 1}) {
        ASSERT_EQ(TARQ_ClearProb(prob_), 0);
        ASSERT_EQ(TARQ_SetObjSense(prob_, TARQ_MINIMIZE), 0);
        c.build(*this);
        certcheck::ExpectCertificate(prob_, presolve, status, c.label);
      }
    }
  }
};

// A transportation problem of n sources and n sinks whose demands exceed the supplies by shift.
void ShortTransport(tarq_prob* prob, int n, double shift) {
  BuildTransport(prob, n);
  for (int j = 0; j < n; ++j) {
    const int row = n + j;
    double lo = 0;
    ASSERT_EQ(TARQ_GetRowInfo(prob, "LB", 1, &row, &lo), 0);
    lo += shift;
    ASSERT_EQ(TARQ_SetRowLower(prob, 1, &row, &lo), 0);
  }
}

TEST_F(Certificates, InfeasibleLpsLeaveAFarkasVectorThatProvesIt) {
  const std::vector<Case> cases = {
      {"row against two upper bounds",
       [](Certificates& t) {
         t.Row({}, 10, kInf);
         t.Col(1, 0, 3, 'C', {{0, 1}});
         t.Col(1, 0, 4, 'C', {{0, 1}});
       }},
      {"two rows over the same sum",
       [](Certificates& t) {
         t.Row({}, -kInf, 1);
         t.Row({}, 2, kInf);
         t.Col(0, 0, kInf, 'C', {{0, 1}, {1, 1}});
         t.Col(0, 0, kInf, 'C', {{0, 1}, {1, 1}});
       }},
      {"equalities forcing a negative value",
       [](Certificates& t) {
         t.Row({}, 1, 1);
         t.Row({}, 3, 3);
         t.Col(1, 0, kInf, 'C', {{0, 1}, {1, 1}});
         t.Col(1, 0, kInf, 'C', {{0, 1}, {1, -1}});
       }},
      {"lower bound above a row's limit",
       [](Certificates& t) {
         t.Row({}, -kInf, 3);
         t.Col(-1, 5, kInf, 'C', {{0, 1}});
       }},
      {"free columns between crossing rows",
       [](Certificates& t) {
         t.Row({}, 4, kInf);
         t.Row({}, -kInf, 2);
         t.Col(1, -kInf, kInf, 'C', {{0, 1}, {1, 1}});
         t.Col(-1, -kInf, kInf, 'C', {{0, 1}, {1, 1}});
       }},
      {"ranged row below what the bounds force",
       [](Certificates& t) {
         t.Row({}, 2, 3);
         t.Col(0, 2, kInf, 'C', {{0, 1}});
         t.Col(0, 1, kInf, 'C', {{0, 2}});
       }},
      {"cycle of differences",
       [](Certificates& t) {
         for (int i = 0; i < 3; ++i) t.Row({}, 1, kInf);
         t.Col(0, -kInf, kInf, 'C', {{0, 1}, {2, -1}});
         t.Col(0, -kInf, kInf, 'C', {{0, -1}, {1, 1}});
         t.Col(0, -kInf, kInf, 'C', {{1, -1}, {2, 1}});
       }},
      {"maximisation whose rows cannot hold",
       [](Certificates& t) {
         t.Maximize();
         t.Row({}, -kInf, -1);
         t.Col(1, 0, kInf, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, 1}});
       }},
      {"negative coefficients",
       [](Certificates& t) {
         t.Row({}, 1, kInf);
         t.Col(1, 0, kInf, 'C', {{0, -1}});
         t.Col(1, 0, kInf, 'C', {{0, -1}});
       }},
      {"empty row with bounds excluding 0",
       [](Certificates& t) {
         t.Row({}, 1, 2);
         t.Row({}, 0, kInf);
         t.Col(1, 0, 10, 'C', {{1, 1}});
       }},
      {"transportation short of supply", [](Certificates& t) { ShortTransport(t.Prob(), 12, 1.5); }},
  };
  RunAll(cases, TARQ_STATUS_INFEASIBLE);
}

// A transportation problem of n sources and n sinks plus a column of cost -1 that adds supply at
// source 0 and meets demand at sink 0, so its cost falls without limit.
void LeakyTransport(tarq_prob* prob, int n) {
  BuildTransport(prob, n);
  const int rows[] = {0, n};
  const double vals[] = {-1, 1};
  ASSERT_EQ(TARQ_AddCol(prob, -1, 2, rows, vals, 'C', 0, kInf, "leak"), 0);
}

TEST_F(Certificates, UnboundedLpsLeaveAnImprovingRay) {
  const std::vector<Case> cases = {
      {"growing difference",
       [](Certificates& t) {
         t.Row({}, -kInf, 1);
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, -1}});
       }},
      {"maximised equal pair",
       [](Certificates& t) {
         t.Maximize();
         t.Row({}, 0, 0);
         t.Col(1, 0, kInf, 'C', {{0, 1}});
         t.Col(1, 0, kInf, 'C', {{0, -1}});
       }},
      {"free column pushed down",
       [](Certificates& t) {
         t.Row({}, -5, kInf);
         t.Col(1, -kInf, kInf, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, 1}});
       }},
      {"row with a lower bound only",
       [](Certificates& t) {
         t.Row({}, 1, kInf);
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
       }},
      {"maximisation along a combined direction",
       [](Certificates& t) {
         t.Maximize();
         t.Row({}, -kInf, 4);
         t.Col(2, 0, kInf, 'C', {{0, 1}});
         t.Col(-1, 0, kInf, 'C', {{0, -2}});
       }},
      {"column bounded by a sum of others",
       [](Certificates& t) {
         t.Row({}, -kInf, 0);
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
         t.Col(0, 0, 10, 'C', {{0, -1}});
         t.Col(0, 0, kInf, 'C', {{0, -1}});
       }},
      {"upper bound only",
       [](Certificates& t) {
         t.Row({}, -kInf, 5);
         t.Col(1, -kInf, 0, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, 1}});
       }},
      {"chain of equalities",
       [](Certificates& t) {
         t.Row({}, 0, 0);
         t.Row({}, 0, 0);
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, -1}, {1, 1}});
         t.Col(-1, 0, kInf, 'C', {{1, -1}});
       }},
      {"ranged difference",
       [](Certificates& t) {
         t.Row({}, 0, 1);
         t.Col(-1, 0, kInf, 'C', {{0, 1}});
         t.Col(0, 0, kInf, 'C', {{0, -1}});
       }},
      {"no rows at all", [](Certificates& t) { t.Col(-2, 1, kInf); }},
      {"transportation with a leak", [](Certificates& t) { LeakyTransport(t.Prob(), 12); }},
  };
  RunAll(cases, TARQ_STATUS_UNBOUNDED);
}

// The engine's candidates are checked; one that fails is logged and replaced by the certificate
// of an auxiliary LP, which passes the independent check.
TEST_F(Certificates, FailingEngineCandidatesAreLoggedAndReplaced) {
  using namespace tarq_solver;
  Quiet();
  Row({}, 10, kInf);
  Col(-1, 0, kInf, 'C', {{0, 1}});
  Col(0, 0, kInf, 'C', {{0, 1}});
  Problem& p = Prob()->problem;
  LpData data;
  ASSERT_EQ(BuildLpData(p, false, data), 0);
  EngineContext ctx{p.Params(), p.Log(), p.Interrupt()};

  EngineResult out;
  out.status = TARQ_STATUS_UNBOUNDED;
  AttachCertificate(data, ctx, {{-1, 0}, {0, 0}}, out);  // leaves x's lower bound; all zero
  ASSERT_EQ(out.ray.size(), 2u);
  EXPECT_GT(out.ray[0], 0);
  ASSERT_EQ(lines_.size(), 1u);
  EXPECT_EQ(lines_[0],
            "Certificate: the engine's primal ray fails the check (it leaves column 0's lower bound (-1)); solving an "
            "auxiliary LP for one");

  // With upper bounds 3 and 4 the row contradicts the bounds; a vector of the wrong sign is
  // refused.
  const double ups[] = {3, 4};
  ASSERT_EQ(TARQ_SetColUpper(Prob(), 2, nullptr, ups), 0);
  ASSERT_EQ(BuildLpData(p, false, data), 0);
  std::vector<double> wrong{-1};
  EXPECT_EQ(CheckFarkas(data, wrong, CertificateTolerances{}),
            "row 0 has no upper bound but a negative multiplier -1");
  lines_.clear();
  out = EngineResult();
  out.status = TARQ_STATUS_INFEASIBLE;
  AttachCertificate(data, ctx, {{-1}}, out);
  EXPECT_EQ(lines_.size(), 1u);
  EXPECT_EQ(certcheck::FarkasProblem(certcheck::ReadLp(Prob()), out.farkas), "");
  // Bounds that only just fail to meet are no proof within the tolerance.
  const double almost = 7 - 1e-9;
  ASSERT_EQ(TARQ_SetRowLower(Prob(), 1, nullptr, &almost), 0);
  ASSERT_EQ(BuildLpData(p, false, data), 0);
  std::vector<double> weak{1};
  EXPECT_NE(CheckFarkas(data, weak, CertificateTolerances{}), "");
}

// r0: x + y >= 10 with x <= 3, y <= 4; z is integer in the MIP variant.
class NoCertificate : public SolveTest {
 protected:
  void SetUp() override {
    SolveTest::SetUp();
    Row({}, 10, kInf, "r0");
    Col(1, 0, 3, 'C', {{0, 1}}, "x");
    Col(1, 0, 4, 'C', {{0, 1}}, "y");
    ASSERT_EQ(TARQ_SetIntParam(prob_, "ReqFarkasRay", 1), 0);
  }
  int ReadFarkas() {
    double y = NAN;
    return TARQ_GetRowInfo(prob_, "DualFarkas", 1, nullptr, &y);
  }
};

TEST_F(NoCertificate, GettersFailWithoutOneAndAfterAChange) {
  EXPECT_EQ(ReadFarkas(), TARQ_RETCODE_INVALID);  // not solved
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("HasDualFarkas"), 1);
  EXPECT_EQ(ReadFarkas(), 0);
  double v[2];
  EXPECT_EQ(TARQ_GetColInfo(prob_, "DualFarkas", 2, nullptr, v), TARQ_RETCODE_INVALID);  // a row's information
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "PrimalRay", 1, nullptr, v), TARQ_RETCODE_INVALID);   // a column's information
  const int bad = 1;
  EXPECT_EQ(TARQ_GetRowInfo(prob_, "DualFarkas", 1, &bad, v), TARQ_RETCODE_INVALID);     // out of range

  const int x = 0;
  const double up = 8;
  ASSERT_EQ(TARQ_SetColUpper(prob_, 1, &x, &up), 0);  // the certificate no longer belongs to the problem
  EXPECT_EQ(IntAttr("HasDualFarkas"), 0);
  EXPECT_EQ(ReadFarkas(), TARQ_RETCODE_INVALID);

  ASSERT_EQ(TARQ_SetIntParam(prob_, "ReqFarkasRay", 0), 0);  // not asked for
  const double back = 3;
  ASSERT_EQ(TARQ_SetColUpper(prob_, 1, &x, &back), 0);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("LpStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasDualFarkas"), 0);
  EXPECT_EQ(ReadFarkas(), TARQ_RETCODE_INVALID);
}

TEST_F(NoCertificate, MipSolvesLeaveNoneAndSaySo) {
  Col(0, 0, 1, 'I', {}, "z");
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  EXPECT_EQ(IntAttr("MipStatus"), TARQ_STATUS_INFEASIBLE);
  EXPECT_EQ(IntAttr("HasDualFarkas"), 0);
  EXPECT_EQ(ReadFarkas(), TARQ_RETCODE_INVALID);
  EXPECT_NE(std::find(lines_.begin(), lines_.end(),
                      "ReqFarkasRay: certificates come from LP solves only; this MIP solve leaves none"),
            lines_.end());
  // The LP relaxation of the same problem is an LP solve and has its certificate.
  ASSERT_EQ(TARQ_SolveLp(prob_), 0);
  EXPECT_EQ(IntAttr("HasDualFarkas"), 1);
}

}  // namespace
}  // namespace solvetest
