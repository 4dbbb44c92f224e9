// Nonlinear rows, the nonlinear objective and the primal start in the problem store, through the
// C interface: round trips, program checks, deletion with renumbering, copies and clears.
#include <cmath>
#include <string>
#include <vector>

#include "solver/store_fixture.h"

namespace {

constexpr int H = TARQ_NL_HEADER, K = TARQ_NL_CONST;

struct NlRow {
  std::vector<int> tokens;
  std::vector<double> consts;
  std::vector<int> linIdx;
  std::vector<double> linVal;
  bool operator==(const NlRow&) const = default;
};

class NlStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    ASSERT_EQ(TARQ_SetLogCallback(prob_, Collect, &log_), 0);
    for (int j = 0; j < 4; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', -10, 10, nullptr), 0);
  }
  static void Collect(const char* line, void* user) { static_cast<std::string*>(user)->append(line).append("\n"); }

  int Add(const NlRow& r, char sense, double bound, double upper = 0, const char* name = nullptr) {
    return TARQ_AddNLConstr(prob_, static_cast<int>(r.tokens.size()), static_cast<int>(r.consts.size()),
                            r.tokens.data(), r.consts.data(), static_cast<int>(r.linIdx.size()), r.linIdx.data(),
                            r.linVal.data(), sense, bound, upper, name);
  }

  NlRow Get(int k) const {
    int nt = -1, nc = -1, nl = -1;
    EXPECT_EQ(TARQ_GetNLConstr(prob_, k, 0, 0, 0, &nt, nullptr, &nc, nullptr, &nl, nullptr, nullptr), 0);
    NlRow r{std::vector<int>(nt), std::vector<double>(nc), std::vector<int>(nl), std::vector<double>(nl)};
    EXPECT_EQ(TARQ_GetNLConstr(prob_, k, nt, nc, nl, &nt, r.tokens.data(), &nc, r.consts.data(), &nl,
                               r.linIdx.data(), r.linVal.data()),
              0);
    return r;
  }

  NlRow Objective() const {
    int nt = -1, nc = -1;
    EXPECT_EQ(TARQ_GetNLObj(prob_, 0, 0, &nt, nullptr, &nc, nullptr), 0);
    NlRow r{std::vector<int>(nt), std::vector<double>(nc), {}, {}};
    EXPECT_EQ(TARQ_GetNLObj(prob_, nt, nc, &nt, r.tokens.data(), &nc, r.consts.data()), 0);
    return r;
  }

  int IntAttr(const char* name) const {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0);
    return v;
  }

  double Info(const char* name, int k) const {
    double v = NAN;
    EXPECT_EQ(TARQ_GetNLConstrInfo(prob_, name, 1, &k, &v), 0) << name;
    return v;
  }

  std::string NlName(int k) const {
    char buf[64] = {};
    int size = 0;
    return TARQ_GetNLConstrName(prob_, k, buf, sizeof buf, &size) == 0 ? buf : "<error>";
  }

  // Everything nonlinear the store holds, as text.
  std::string NlDump() const {
    std::string out;
    auto put = [&](const NlRow& r) {
      for (int t : r.tokens) out += " " + std::to_string(t);
      out += " |";
      for (double c : r.consts) out += " " + std::to_string(c);
      out += " |";
      for (size_t p = 0; p < r.linIdx.size(); ++p) out += " " + std::to_string(r.linVal[p]) + "*" + std::to_string(r.linIdx[p]);
    };
    out += "obj:";
    put(Objective());
    for (int k = 0; k < IntAttr("NLConstrs"); ++k) {
      out += "\n" + NlName(k) + " [" + std::to_string(Info("LB", k)) + "," + std::to_string(Info("UB", k)) + "]:";
      put(Get(k));
    }
    return out + "\n" + Dump();
  }

  std::string log_;
};

// sin(x1) * x2 + 2.5, with linear part 3 x0.
const NlRow kRow0{{H, 1, -31, 2, -12, K, -10}, {2.5}, {0}, {3.0}};
// sum of exp(x3), x0, 1 (three operands).
const NlRow kRow1{{H, 3, -16, 0, K, -50, 3}, {1.0}, {}, {}};

TEST_F(NlStoreTest, RowsRoundTripWithBoundsNamesAndCounts) {
  ASSERT_EQ(Add(kRow0, 'L', 4, 0, "first"), 0);
  ASSERT_EQ(Add(kRow1, 'R', 5, 2), 0);
  ASSERT_EQ(Add(NlRow{{H}, {}, {1, 2}, {1.0, -1.0}}, 0, -1, 1), 0);  // header alone: linear only
  ASSERT_EQ(Add(NlRow{{}, {}, {}, {}}, 'N', 0), 0);                    // no tokens at all: empty too
  EXPECT_EQ(Get(0), kRow0);
  EXPECT_EQ(Get(1), kRow1);
  EXPECT_EQ(Get(2).tokens, std::vector<int>{H});
  EXPECT_EQ(Get(3).tokens, std::vector<int>{H});
  EXPECT_EQ(IntAttr("NLConstrs"), 4);
  EXPECT_EQ(IntAttr("NLElems"), 7 + 7 + 1 + 1);
  EXPECT_EQ(IntAttr("HasNLObj"), 0);
  EXPECT_EQ(IntAttr("HasNLData"), 1);
  EXPECT_EQ(Info("LB", 0), -1e30);
  EXPECT_EQ(Info("ub", 0), 4);
  EXPECT_EQ(Info("LB", 1), 3);  // 'R': [bound - range, bound]
  EXPECT_EQ(Info("UB", 1), 5);
  EXPECT_EQ(Info("LB", 2), -1);
  EXPECT_EQ(Info("UB", 3), 1e30);
  EXPECT_EQ(NlName(0), "first");
  EXPECT_EQ(NlName(1), "N1");
  int row = -1;
  EXPECT_EQ(TARQ_GetNLConstrIdx(prob_, "N1", &row), 0);
  EXPECT_EQ(row, 1);
  const char* names[] = {"second"};
  EXPECT_EQ(TARQ_SetNLConstrNames(prob_, 1, &row, names), 0);
  EXPECT_EQ(TARQ_GetNLConstrIdx(prob_, "second", &row), 0);
  EXPECT_EQ(row, 1);
  const double lower = -2;
  EXPECT_EQ(TARQ_SetNLConstrLower(prob_, 1, &row, &lower), 0);
  EXPECT_EQ(Info("LB", 1), -2);
  // Two-call protocol: arrays too small.
  int nt = 0, nc = 0, nl = 0;
  int tok[3];
  EXPECT_EQ(TARQ_GetNLConstr(prob_, 0, 3, 0, 0, &nt, tok, &nc, nullptr, &nl, nullptr, nullptr), 3);
  EXPECT_EQ(TARQ_GetNLConstr(prob_, 4, 0, 0, 0, &nt, nullptr, &nc, nullptr, &nl, nullptr, nullptr), 3);
  // No solve yet: no activity.
  double v = 0;
  EXPECT_EQ(TARQ_GetNLConstrInfo(prob_, "Slack", 1, &row, &v), 3);
}

TEST_F(NlStoreTest, BatchAddTakesOffsetsOrCountsAndAddsAllOrNothing) {
  const std::vector<int> tokens{H, 0, -16, H, 1, 2, -12, K, -14};
  const std::vector<double> consts{2.0};
  const int tokBeg[] = {0, 3, 9}, constBeg[] = {0, 0, 1}, linBeg[] = {0, 1, 1};
  const int linIdx[] = {3};
  const double linVal[] = {-1.0};
  const char senses[] = {'E', 'G'};
  const double rhs[] = {1, 0};
  const char* names[] = {"a", "b"};
  ASSERT_EQ(TARQ_AddNLConstrs(prob_, 2, tokBeg, nullptr, tokens.data(), constBeg, nullptr, consts.data(), linBeg,
                              nullptr, linIdx, linVal, senses, rhs, nullptr, names),
            0);
  EXPECT_EQ(Get(0), (NlRow{{H, 0, -16}, {}, {3}, {-1.0}}));
  EXPECT_EQ(Get(1), (NlRow{{H, 1, 2, -12, K, -14}, {2.0}, {}, {}}));
  EXPECT_EQ(NlName(1), "b");
  EXPECT_EQ(Info("LB", 0), 1);
  EXPECT_EQ(Info("UB", 0), 1);
  // The second program of a batch is bad: nothing of the batch is added.
  const std::string before = NlDump();
  const int badTokBeg[] = {0, 3}, tokCnt[] = {3, 3};
  const std::vector<int> bad{H, 0, -15, H, 0, -13};
  EXPECT_EQ(TARQ_AddNLConstrs(prob_, 2, badTokBeg, tokCnt, bad.data(), nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, senses, rhs, nullptr, nullptr),
            3);
  EXPECT_EQ(NlDump(), before);
  EXPECT_NE(log_.find("Nonlinear row 3: token 2: / takes 2 operands, finds 1"), std::string::npos) << log_;
}

TEST_F(NlStoreTest, MalformedProgramsAreRefusedNamingRowAndToken) {
  ASSERT_EQ(Add(kRow0, 'L', 1), 0);
  struct Case {
    NlRow row;
    const char* message;
  };
  const Case cases[] = {
      {{{0, -31}, {}, {}, {}}, "Nonlinear row 1: token 0: the program does not start with the header token -99"},
      {{{H, -31}, {}, {}, {}}, "Nonlinear row 1: token 1: SIN takes 1 operand, finds 0"},
      {{{H, 0, 1}, {}, {}, {}}, "Nonlinear row 1: token 2: the program leaves 2 values, not one"},
      {{{H, 4}, {}, {}, {}}, "Nonlinear row 1: token 1: column 4 does not exist"},
      {{{H, K}, {}, {}, {}}, "Nonlinear row 1: token 1: more constant tokens than constants"},
      {{{H, K}, {NAN}, {}, {}}, "Nonlinear row 1: token 1: the constant is not finite"},
      {{{H, 0}, {1.0}, {}, {}}, "Nonlinear row 1: token 1: 1 constants given, 0 used"},
      {{{H, 0, 1, -50}, {}, {}, {}}, "Nonlinear row 1: token 3: SUM without its count"},
      {{{H, 0, 1, -50, 0}, {}, {}, {}}, "Nonlinear row 1: token 4: SUM of 0 operands"},
      {{{H, 0, 1, -50, 3}, {}, {}, {}}, "Nonlinear row 1: token 3: SUM of 3 operands finds 2"},
      {{{H, 0, -23}, {}, {}, {}}, "Nonlinear row 1: token 2: token -23 has no meaning"},
      {{{H, 0, H}, {}, {}, {}}, "Nonlinear row 1: token 2: a header token inside the program"},
      {{{H, 0, 1, -14, -12}, {}, {}, {}}, "Nonlinear row 1: token 4: * takes 2 operands, finds 1"},
  };
  const std::string before = NlDump();
  for (const Case& c : cases) {
    log_.clear();
    EXPECT_EQ(Add(c.row, 'L', 1), 3) << c.message;
    EXPECT_NE(log_.find(c.message), std::string::npos) << "expected: " << c.message << "\nlog: " << log_;
    EXPECT_EQ(TARQ_SetNLObj(prob_, static_cast<int>(c.row.tokens.size()), static_cast<int>(c.row.consts.size()),
                            c.row.tokens.data(), c.row.consts.data()),
              3);
  }
  // Arguments beyond the program: bad linear entries, sense, bounds, counts.
  EXPECT_EQ(Add(NlRow{{H, 0}, {}, {4}, {1.0}}, 'L', 1), 3);
  EXPECT_EQ(Add(NlRow{{H, 0}, {}, {1, 1}, {1.0, 2.0}}, 'L', 1), 3);
  EXPECT_EQ(Add(NlRow{{H, 0}, {}, {}, {}}, 'X', 1), 3);
  EXPECT_EQ(Add(NlRow{{H, 0}, {}, {}, {}}, 'L', NAN), 3);
  EXPECT_EQ(TARQ_AddNLConstr(prob_, -1, 0, nullptr, nullptr, 0, nullptr, nullptr, 'L', 0, 0, nullptr), 3);
  EXPECT_EQ(TARQ_AddNLConstr(prob_, 2, 0, nullptr, nullptr, 0, nullptr, nullptr, 'L', 0, 0, nullptr), 3);
  EXPECT_EQ(TARQ_AddNLConstr(nullptr, 0, 0, nullptr, nullptr, 0, nullptr, nullptr, 'L', 0, 0, nullptr), 3);
  EXPECT_EQ(TARQ_SetNLPrimalStart(prob_, 1, nullptr, nullptr), 3);
  const double inf = INFINITY;
  EXPECT_EQ(TARQ_SetNLPrimalStart(prob_, 1, nullptr, &inf), 3);
  const int outside = 4;
  const double one = 1;
  EXPECT_EQ(TARQ_SetNLPrimalStart(prob_, 1, &outside, &one), 3);
  EXPECT_EQ(TARQ_DelNLConstrs(prob_, 1, &outside), 3);
  EXPECT_EQ(NlDump(), before);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 0);
}

TEST_F(NlStoreTest, DeletingColumnsSubstitutesZeroAndRenumbers) {
  ASSERT_EQ(Add(kRow0, 'L', 4), 0);  // sin(x1) * x2 + 2.5 + 3 x0
  ASSERT_EQ(Add(kRow1, 'G', 0), 0);  // exp(x3) + x0 + 1
  const NlRow obj{{H, 0, 3, -12, 2, K, -14, -10}, {2.0}, {}, {}};  // x0 * x3 + x2 ^ 2
  ASSERT_EQ(TARQ_SetNLObj(prob_, 8, 1, obj.tokens.data(), obj.consts.data()), 0);
  const double start[] = {1, 2, 3, 4};
  ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, 4, nullptr, start), 0);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 1);
  const int del[] = {0, 2};
  ASSERT_EQ(TARQ_DelCols(prob_, 2, del), 0);
  // Columns 1 and 3 are now 0 and 1; deleted ones became constant zeros in place.
  EXPECT_EQ(Get(0), (NlRow{{H, 0, -31, K, -12, K, -10}, {0.0, 2.5}, {}, {}}));
  EXPECT_EQ(Get(1), (NlRow{{H, 1, -16, K, K, -50, 3}, {0.0, 1.0}, {}, {}}));
  EXPECT_EQ(Objective(), (NlRow{{H, K, 1, -12, K, K, -14, -10}, {0.0, 0.0, 2.0}, {}, {}}));
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 1);
  // Deleting rows renumbers the rest, keeping names.
  const char* names[] = {"keep"};
  const int one = 1;
  ASSERT_EQ(TARQ_SetNLConstrNames(prob_, 1, &one, names), 0);
  const int zero = 0;
  ASSERT_EQ(TARQ_DelNLConstrs(prob_, 1, &zero), 0);
  EXPECT_EQ(IntAttr("NLConstrs"), 1);
  EXPECT_EQ(NlName(0), "keep");
  EXPECT_EQ(Get(0).consts, (std::vector<double>{0.0, 1.0}));
  EXPECT_EQ(Info("LB", 0), 0);
}

TEST_F(NlStoreTest, ObjectiveCopyClearAndBinaryRoundTrip) {
  const NlRow obj{{H, 0, K, -13, -17}, {3.0}, {}, {}};  // log(x0 / 3)
  ASSERT_EQ(TARQ_SetNLObj(prob_, 5, 1, obj.tokens.data(), obj.consts.data()), 0);
  EXPECT_EQ(Objective(), obj);
  EXPECT_EQ(IntAttr("HasNLObj"), 1);
  EXPECT_EQ(IntAttr("NLElems"), 5);
  ASSERT_EQ(Add(kRow0, 'E', 2, 0, "r0"), 0);
  ASSERT_EQ(Add(kRow1, 0, -1, 7), 0);
  const int cols[] = {1, 3};
  const double start[] = {0.5, -0.25};
  ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, 2, cols, start), 0);
  const std::string all = NlDump();

  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  std::swap(copy, prob_);
  EXPECT_EQ(NlDump(), all);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 1);
  std::swap(copy, prob_);
  TARQ_DeleteProb(&copy);

  const std::string path = testing::TempDir() + "nl_store.bin";
  ASSERT_EQ(TARQ_WriteBin(prob_, path.c_str()), 0);
  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  EXPECT_EQ(IntAttr("NLConstrs"), 0);
  EXPECT_EQ(IntAttr("HasNLObj"), 0);
  EXPECT_EQ(IntAttr("NLElems"), 0);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 0);
  ASSERT_EQ(TARQ_ReadBin(prob_, path.c_str()), 0);
  EXPECT_EQ(NlDump(), all);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 1);

  ASSERT_EQ(TARQ_DelNLObj(prob_), 0);
  EXPECT_EQ(Objective().tokens, std::vector<int>{H});
  EXPECT_EQ(IntAttr("HasNLObj"), 0);
  ASSERT_EQ(TARQ_Reset(prob_, 1), 0);
  EXPECT_EQ(IntAttr("HasNLPrimalStart"), 0);
}

}  // namespace
