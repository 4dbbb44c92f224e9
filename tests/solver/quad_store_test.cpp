// The quadratic objective and quadratic rows in the problem store, through the C interface.
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "solver/store_fixture.h"

namespace {

struct QRow {
  std::vector<int> linIdx;
  std::vector<double> linVal;
  std::vector<int> qr, qc;
  std::vector<double> qv;
};

class QuadStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    for (int j = 0; j < 4; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 10, nullptr), 0);
  }

  int AddQ(const QRow& r, char sense, double rhs, const char* name = nullptr) {
    return TARQ_AddQConstr(prob_, static_cast<int>(r.linIdx.size()), r.linIdx.data(), r.linVal.data(),
                           static_cast<int>(r.qv.size()), r.qr.data(), r.qc.data(), r.qv.data(), sense, rhs, name);
  }

  QRow GetQ(int k) const {
    int ln = -1, qn = -1;
    EXPECT_EQ(TARQ_GetQConstr(prob_, k, 0, 0, &ln, nullptr, nullptr, &qn, nullptr, nullptr, nullptr), 0);
    QRow r;
    r.linIdx.resize(static_cast<size_t>(ln));
    r.linVal.resize(static_cast<size_t>(ln));
    r.qr.resize(static_cast<size_t>(qn));
    r.qc.resize(static_cast<size_t>(qn));
    r.qv.resize(static_cast<size_t>(qn));
    EXPECT_EQ(TARQ_GetQConstr(prob_, k, ln, qn, &ln, r.linIdx.data(), r.linVal.data(), &qn, r.qr.data(), r.qc.data(),
                              r.qv.data()),
              0);
    return r;
  }

  std::string QName(int k) const {
    char buf[64] = {};
    int size = 0;
    return TARQ_GetQConstrName(prob_, k, buf, sizeof buf, &size) == 0 ? buf : "<error>";
  }

  // Everything quadratic the store holds, as text.
  std::string QuadDump() const {
    std::string out;
    int n = 0;
    EXPECT_EQ(TARQ_GetQuadObj(prob_, 0, &n, nullptr, nullptr, nullptr), 0);
    std::vector<int> r(static_cast<size_t>(n)), c(static_cast<size_t>(n));
    std::vector<double> v(static_cast<size_t>(n));
    EXPECT_EQ(TARQ_GetQuadObj(prob_, n, &n, r.data(), c.data(), v.data()), 0);
    out += "obj:";
    for (int k = 0; k < n; ++k) out += " " + std::to_string(v[k]) + "*" + std::to_string(r[k]) + "." + std::to_string(c[k]);
    const int rows = IntAttr("QConstrs");
    for (int k = 0; k < rows; ++k) {
      const QRow q = GetQ(k);
      char sense = 0;
      double rhs = 0;
      EXPECT_EQ(TARQ_GetQConstrSense(prob_, 1, &k, &sense), 0);
      EXPECT_EQ(TARQ_GetQConstrRhs(prob_, 1, &k, &rhs), 0);
      out += "\n" + QName(k) + ":";
      for (size_t p = 0; p < q.linIdx.size(); ++p) out += " " + std::to_string(q.linVal[p]) + "*" + std::to_string(q.linIdx[p]);
      for (size_t p = 0; p < q.qv.size(); ++p) {
        out += " " + std::to_string(q.qv[p]) + "*" + std::to_string(q.qr[p]) + "." + std::to_string(q.qc[p]);
      }
      out += std::string(" ") + sense + " " + std::to_string(rhs);
    }
    return out + "\n" + Dump();
  }

  int IntAttr(const char* name) const {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0);
    return v;
  }
};

TEST_F(QuadStoreTest, RowsKeepTermsAsGivenWithoutZeros) {
  const QRow a{{0, 2}, {1.5, 0.0}, {0, 1, 1, 3}, {1, 0, 0, 3}, {2.0, 1.0, 1.0, 0.0}};
  ASSERT_EQ(AddQ(a, 'L', 4, "ball"), 0);
  ASSERT_EQ(AddQ(QRow{{}, {}, {2}, {2}, {-1}}, 'G', -3), 0);
  EXPECT_EQ(IntAttr("QConstrs"), 2);
  EXPECT_EQ(IntAttr("Rows"), 0);  // quadratic rows are numbered apart from the linear ones

  const QRow got = GetQ(0);
  EXPECT_EQ(got.linIdx, (std::vector<int>{0}));  // the exact zero is not stored
  EXPECT_EQ(got.linVal, (std::vector<double>{1.5}));
  EXPECT_EQ(got.qr, (std::vector<int>{0, 1, 1}));  // x*y and y*x stay separate terms
  EXPECT_EQ(got.qc, (std::vector<int>{1, 0, 0}));
  EXPECT_EQ(got.qv, (std::vector<double>{2.0, 1.0, 1.0}));

  EXPECT_EQ(QName(0), "ball");
  EXPECT_EQ(QName(1), "Q1");
  int found = -1;
  EXPECT_EQ(TARQ_GetQConstrIdx(prob_, "Q1", &found), 0);
  EXPECT_EQ(found, 1);
  EXPECT_EQ(TARQ_GetQConstrIdx(prob_, "nope", &found), 3);

  const int both[2] = {0, 1};
  double lb[2], ub[2];
  ASSERT_EQ(TARQ_GetQConstrInfo(prob_, "lb", 2, both, lb), 0);
  ASSERT_EQ(TARQ_GetQConstrInfo(prob_, "UB", 2, both, ub), 0);
  EXPECT_EQ(lb[0], -TARQ_INFINITY);
  EXPECT_EQ(ub[0], 4);
  EXPECT_EQ(lb[1], -3);
  EXPECT_EQ(ub[1], TARQ_INFINITY);
  EXPECT_EQ(TARQ_GetQConstrInfo(prob_, "Slack", 1, both, lb), 3);  // no solution yet

  const char e = 'E';
  const double seven = 7;
  ASSERT_EQ(TARQ_SetQConstrSense(prob_, 1, both, &e), 0);
  ASSERT_EQ(TARQ_SetQConstrRhs(prob_, 1, both, &seven), 0);
  ASSERT_EQ(TARQ_GetQConstrInfo(prob_, "LB", 1, both, lb), 0);
  EXPECT_EQ(lb[0], 7);
}

TEST_F(QuadStoreTest, ObjectiveIsReplacedReadAndCounted) {
  const int r[3] = {0, 1, 2}, c[3] = {0, 2, 2};
  const double v[3] = {1, 0, -4};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 3, r, c, v), 0);
  EXPECT_EQ(IntAttr("QElems"), 2);
  EXPECT_EQ(IntAttr("HasQObj"), 1);
  int n = 0, rr[2], cc[2];
  double vv[2];
  EXPECT_EQ(TARQ_GetQuadObj(prob_, 1, &n, rr, cc, vv), 3);  // too small
  ASSERT_EQ(TARQ_GetQuadObj(prob_, 2, &n, rr, cc, vv), 0);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(rr[1], 2);
  EXPECT_EQ(cc[1], 2);
  EXPECT_EQ(vv[1], -4);
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, c + 1, r + 1, v), 0);  // replaces, does not add
  EXPECT_EQ(IntAttr("QElems"), 1);
  ASSERT_EQ(TARQ_DelQuadObj(prob_), 0);
  EXPECT_EQ(IntAttr("QElems"), 0);
  EXPECT_EQ(IntAttr("HasQObj"), 0);
}

TEST_F(QuadStoreTest, DeletingColumnsDropsTheirTermsAndRenumbers) {
  const int r[3] = {0, 1, 3}, c[3] = {1, 1, 3};
  const double v[3] = {1, 2, 3};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 3, r, c, v), 0);
  ASSERT_EQ(AddQ(QRow{{1, 3}, {5, 6}, {1, 3, 2}, {3, 3, 0}, {7, 8, 9}}, 'L', 1), 0);
  ASSERT_EQ(AddQ(QRow{{}, {}, {1}, {1}, {1}}, 'L', 1), 0);
  const int gone = 1;
  ASSERT_EQ(TARQ_DelCols(prob_, 1, &gone), 0);
  // Columns 2 and 3 became 1 and 2; every term on column 1 went.
  int n = 0, rr[3], cc[3];
  double vv[3];
  ASSERT_EQ(TARQ_GetQuadObj(prob_, 3, &n, rr, cc, vv), 0);
  ASSERT_EQ(n, 1);
  EXPECT_EQ(rr[0], 2);
  EXPECT_EQ(cc[0], 2);
  EXPECT_EQ(vv[0], 3);
  const QRow q = GetQ(0);
  EXPECT_EQ(q.linIdx, (std::vector<int>{2}));
  EXPECT_EQ(q.linVal, (std::vector<double>{6}));
  EXPECT_EQ(q.qr, (std::vector<int>{2, 1}));
  EXPECT_EQ(q.qc, (std::vector<int>{2, 0}));
  EXPECT_EQ(q.qv, (std::vector<double>{8, 9}));
  EXPECT_EQ(GetQ(1).qv.size(), 0u);  // the row stays, without terms
  EXPECT_EQ(IntAttr("QConstrs"), 2);
}

TEST_F(QuadStoreTest, DeletingRowsRenumbersNamesAndTerms) {
  for (int k = 0; k < 4; ++k) {
    const std::string name = "q" + std::to_string(k);
    ASSERT_EQ(AddQ(QRow{{k}, {1.0 * k + 1}, {k}, {k}, {10.0 + k}}, 'L', k, name.c_str()), 0);
  }
  const int list[3] = {2, 0, 2};  // a position listed twice is deleted once
  ASSERT_EQ(TARQ_DelQConstrs(prob_, 3, list), 0);
  ASSERT_EQ(IntAttr("QConstrs"), 2);
  EXPECT_EQ(QName(0), "q1");
  EXPECT_EQ(QName(1), "q3");
  EXPECT_EQ(GetQ(1).qv, (std::vector<double>{13}));
  EXPECT_EQ(GetQ(1).linIdx, (std::vector<int>{3}));
  int found = -1;
  EXPECT_EQ(TARQ_GetQConstrIdx(prob_, "q3", &found), 0);
  EXPECT_EQ(found, 1);
}

TEST_F(QuadStoreTest, CopyKeepsClearAndLoadForget) {
  const int r[1] = {0};
  const double v[1] = {2};
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, r, r, v), 0);
  ASSERT_EQ(AddQ(QRow{{}, {}, {1}, {2}, {3}}, 'G', 1, "g"), 0);
  const std::string before = QuadDump();
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  std::swap(copy, prob_);
  EXPECT_EQ(QuadDump(), before);
  std::swap(copy, prob_);
  ASSERT_EQ(TARQ_ClearProb(copy), 0);
  int n = -1;
  EXPECT_EQ(TARQ_GetIntAttr(copy, "QConstrs", &n), 0);
  EXPECT_EQ(n, 0);
  EXPECT_EQ(TARQ_GetIntAttr(copy, "QElems", &n), 0);
  EXPECT_EQ(n, 0);
  TARQ_DeleteProb(&copy);
  EXPECT_EQ(QuadDump(), before);  // the copy was independent

  ASSERT_EQ(TARQ_LoadProb(prob_, 1, 0, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(IntAttr("QConstrs"), 0);
  EXPECT_EQ(IntAttr("HasQObj"), 0);
}

// A row added alone (unnamed and short) is stored exactly as the same row added by name or in a
// batch: zero terms left out, sense and right-hand side kept.
TEST_F(QuadStoreTest, RowAddedAloneMatchesTheBatchForm) {
  const QRow row{{2, 0, 3}, {1.5, 0, -2}, {0, 1, 3, 2}, {0, 2, 3, 1}, {1, 0, 4, -1}};
  ASSERT_EQ(AddQ(row, 'G', -3), 0);
  ASSERT_EQ(AddQ(row, 'G', -3, "named"), 0);
  const int linBeg[2] = {0, 3}, quadBeg[2] = {0, 4};
  const char sense = 'G';
  const double rhs = -3;
  ASSERT_EQ(TARQ_AddQConstrs(prob_, 1, linBeg, nullptr, row.linIdx.data(), row.linVal.data(), quadBeg, nullptr,
                             row.qr.data(), row.qc.data(), row.qv.data(), &sense, &rhs, nullptr),
            0);
  const QRow alone = GetQ(0), named = GetQ(1), batch = GetQ(2);
  EXPECT_EQ(alone.linIdx, (std::vector<int>{2, 3}));
  EXPECT_EQ(alone.qv, (std::vector<double>{1, 4, -1}));
  for (const QRow* other : {&named, &batch}) {
    EXPECT_EQ(alone.linIdx, other->linIdx);
    EXPECT_EQ(alone.linVal, other->linVal);
    EXPECT_EQ(alone.qr, other->qr);
    EXPECT_EQ(alone.qc, other->qc);
    EXPECT_EQ(alone.qv, other->qv);
  }
  EXPECT_EQ(IntAttr("QConstrs"), 3);
  const int all[3] = {0, 1, 2};
  char senses[3] = {};
  double rhss[3] = {};
  ASSERT_EQ(TARQ_GetQConstrSense(prob_, 3, all, senses), 0);
  ASSERT_EQ(TARQ_GetQConstrRhs(prob_, 3, all, rhss), 0);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(senses[k], 'G');
    EXPECT_EQ(rhss[k], -3);
  }
}

TEST_F(QuadStoreTest, BadArgumentsReturnThreeAndChangeNothing) {
  ASSERT_EQ(AddQ(QRow{{0}, {1}, {0}, {1}, {1}}, 'L', 1, "kept"), 0);
  const std::string before = QuadDump();
  const double nan = std::nan("");
  const int i0 = 0, i9 = 9, neg = -1;
  const double one = 1;
  const char x = 'R';
  int ln = 0;
  struct Case {
    const char* what;
    std::function<int()> call;
  };
  const Case cases[] = {
      {"column out of range", [&] { return AddQ(QRow{{}, {}, {0}, {4}, {1}}, 'L', 1); }},
      {"negative column", [&] { return AddQ(QRow{{}, {}, {-1}, {0}, {1}}, 'L', 1); }},
      {"NaN term", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {nan}}, 'L', 1); }},
      {"infinite term", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {TARQ_INFINITY}}, 'L', 1); }},
      {"NaN linear entry", [&] { return AddQ(QRow{{0}, {nan}, {0}, {0}, {1}}, 'L', 1); }},
      {"linear column twice", [&] { return AddQ(QRow{{1, 1}, {1, 2}, {0}, {0}, {1}}, 'L', 1); }},
      {"range sense", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {1}}, 'R', 1); }},
      {"free sense", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {1}}, 'N', 1); }},
      {"infinite rhs", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {1}}, 'L', TARQ_INFINITY); }},
      {"NaN rhs", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {1}}, 'L', nan); }},
      // A named row takes the general path, an unnamed short one a path of its own: both check.
      {"named, column out of range", [&] { return AddQ(QRow{{}, {}, {0}, {4}, {1}}, 'L', 1, "q"); }},
      {"named, linear column twice", [&] { return AddQ(QRow{{1, 1}, {1, 2}, {0}, {0}, {1}}, 'L', 1, "q"); }},
      {"named, NaN rhs", [&] { return AddQ(QRow{{}, {}, {0}, {0}, {1}}, 'L', nan, "q"); }},
      {"linear column out of range", [&] { return AddQ(QRow{{4}, {1}, {0}, {0}, {1}}, 'L', 1); }},
      {"long linear part with a bad column",
       [&] {
         QRow r{std::vector<int>(20, 0), std::vector<double>(20, 1), {0}, {0}, {1}};
         for (int k = 0; k < 20; ++k) r.linIdx[static_cast<size_t>(k)] = k;  // 20 > 4 columns
         return AddQ(r, 'L', 1);
       }},
      {"linear entries without arrays",
       [&] { return TARQ_AddQConstr(prob_, 1, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 'L', 0, nullptr); }},
      {"negative linear count",
       [&] { return TARQ_AddQConstr(prob_, -1, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 'L', 0, nullptr); }},
      {"negative count",
       [&] { return TARQ_AddQConstr(prob_, 0, nullptr, nullptr, -1, nullptr, nullptr, nullptr, 'L', 0, nullptr); }},
      {"null terms",
       [&] { return TARQ_AddQConstr(prob_, 0, nullptr, nullptr, 1, nullptr, nullptr, nullptr, 'L', 0, nullptr); }},
      {"batch without senses",
       [&] {
         return TARQ_AddQConstrs(prob_, 1, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, &one, nullptr);
       }},
      {"objective column out of range", [&] { return TARQ_SetQuadObj(prob_, 1, &i9, &i0, &one); }},
      {"objective NaN", [&] { return TARQ_SetQuadObj(prob_, 1, &i0, &i0, &nan); }},
      {"objective null arrays", [&] { return TARQ_SetQuadObj(prob_, 1, nullptr, &i0, &one); }},
      {"delete row out of range", [&] { return TARQ_DelQConstrs(prob_, 1, &i9); }},
      {"delete negative row", [&] { return TARQ_DelQConstrs(prob_, 1, &neg); }},
      {"rhs out of range", [&] { return TARQ_SetQConstrRhs(prob_, 1, &i9, &one); }},
      {"NaN rhs set", [&] { return TARQ_SetQConstrRhs(prob_, 1, &i0, &nan); }},
      {"sense letter", [&] { return TARQ_SetQConstrSense(prob_, 1, &i0, &x); }},
      {"name position", [&] { return TARQ_SetQConstrNames(prob_, 1, &i9, nullptr); }},
      {"get row out of range",
       [&] { return TARQ_GetQConstr(prob_, 1, 0, 0, &ln, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr); }},
      {"unknown info", [&] { return TARQ_GetQConstrInfo(prob_, "Obj", 1, &i0, nullptr); }},
      {"null problem", [&] { return TARQ_SetQuadObj(nullptr, 0, nullptr, nullptr, nullptr); }},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), TARQ_RETCODE_INVALID) << c.what;
    EXPECT_EQ(QuadDump(), before) << c.what;
  }
  // Buffers smaller than the row: 3, nothing written.
  int qn = 0, idx[1] = {-7}, qr[1] = {-7}, qc[1] = {-7};
  double lv[1] = {-7}, qv[1] = {-7};
  EXPECT_EQ(TARQ_GetQConstr(prob_, 0, 1, 0, &ln, idx, lv, &qn, qr, qc, qv), 3);
  EXPECT_EQ(qr[0], -7);
}

}  // namespace
