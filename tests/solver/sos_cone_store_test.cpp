// SOS constraints, indicator rows, second-order and exponential cones in the problem store,
// through the C interface: every add read back through the getters, deletion, column deletion,
// names, attributes, copies, clearing, conic loading, and malformed input.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "solver/store_fixture.h"
#include "store/problem.h"

namespace {

class SosConeStoreTest : public StoreTest {
 protected:
  // Columns 0-3 continuous in [0, 10], unless a test adds others.
  void SetUp() override {
    StoreTest::SetUp();
    for (int j = 0; j < 4; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 10, nullptr), 0);
  }

  int AddCol(char type, double lb, double ub) {
    EXPECT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, type, lb, ub, nullptr), 0);
    return NumCols() - 1;
  }

  int Attr(const char* name) const {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob_, name, &v), 0) << name;
    return v;
  }

  // The sets as "type:col@weight col@weight" texts, read with the two-call protocol.
  std::vector<std::string> Soss(std::vector<int> list = {}) const {
    const bool all = list.empty();
    if (all) list.resize(static_cast<size_t>(Attr("Soss")));
    for (size_t k = 0; all && k < list.size(); ++k) list[k] = static_cast<int>(k);
    const int n = static_cast<int>(list.size());
    int size = -1;
    EXPECT_EQ(TARQ_GetSOSs(prob_, n, list.data(), nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
    std::vector<int> types(list.size()), beg(list.size()), cnt(list.size()), idx(static_cast<size_t>(size));
    std::vector<double> w(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetSOSs(prob_, n, list.data(), types.data(), beg.data(), cnt.data(), idx.data(), w.data(), size,
                           &size),
              0);
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) {
      std::string s = std::to_string(types[k]) + ":";
      for (int p = beg[k]; p < beg[k] + cnt[k]; ++p) s += " " + std::to_string(idx[p]) + "@" + Num(w[p]);
      out.push_back(s);
    }
    return out;
  }

  // Indicator rows as "name: x<bin>=<val> -> type t: c*v ... <sense> bound".
  std::vector<std::string> Indicators() const {
    const int n = Attr("Indicators");
    int size = -1;
    EXPECT_EQ(TARQ_GetIndicators(prob_, n, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                 nullptr, nullptr, 0, &size),
              0);
    const auto un = static_cast<size_t>(n);
    std::vector<int> types(un), bin(un), binVal(un), beg(un), cnt(un), idx(static_cast<size_t>(size));
    std::vector<char> sense(un);
    std::vector<double> bound(un), val(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetIndicators(prob_, n, nullptr, types.data(), bin.data(), binVal.data(), sense.data(), bound.data(),
                                 beg.data(), cnt.data(), idx.data(), val.data(), size, &size),
              0);
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) {
      std::string s = IndName(k) + ": x" + std::to_string(bin[k]) + "=" + std::to_string(binVal[k]) + " -> type " +
                      std::to_string(types[k]) + ":";
      for (int p = beg[k]; p < beg[k] + cnt[k]; ++p) s += " " + std::to_string(idx[p]) + "*" + Num(val[p]);
      s += std::string(" ") + sense[k] + " " + Num(bound[k]);
      out.push_back(s);
    }
    return out;
  }

  std::vector<std::string> Cones() const {
    const int n = Attr("Cones");
    int size = -1;
    EXPECT_EQ(TARQ_GetCones(prob_, n, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
    const auto un = static_cast<size_t>(n);
    std::vector<int> types(un), beg(un), cnt(un), idx(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetCones(prob_, n, nullptr, types.data(), beg.data(), cnt.data(), idx.data(), size, &size), 0);
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) {
      std::string s = std::to_string(types[k]) + ":";
      for (int p = beg[k]; p < beg[k] + cnt[k]; ++p) s += " " + std::to_string(idx[p]);
      out.push_back(s);
    }
    return out;
  }

  std::vector<std::string> ExpCones() const {
    const int n = Attr("ExpCones");
    int size = -1;
    EXPECT_EQ(TARQ_GetExpCones(prob_, n, nullptr, nullptr, nullptr, 0, &size), 0);
    EXPECT_EQ(size, 3 * n);
    std::vector<int> types(static_cast<size_t>(n)), idx(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetExpCones(prob_, n, nullptr, types.data(), idx.data(), size, &size), 0);
    std::vector<std::string> out;
    for (int k = 0; k < n; ++k) {
      out.push_back(std::to_string(types[k]) + ": " + std::to_string(idx[3 * k]) + " " +
                    std::to_string(idx[3 * k + 1]) + " " + std::to_string(idx[3 * k + 2]));
    }
    return out;
  }

  std::string IndName(int k) const {
    int size = 0;
    if (TARQ_GetIndicatorName(prob_, k, nullptr, 0, &size) != 0) return "<error>";
    std::string buf(static_cast<size_t>(size), '\0');
    if (TARQ_GetIndicatorName(prob_, k, buf.data(), size, &size) != 0) return "<error>";
    buf.resize(static_cast<size_t>(size) - 1);
    return buf;
  }

  // Every SOS, indicator and cone constraint and everything linear, as text.
  std::string FullDump() const {
    std::string out = Dump();
    for (const auto& group : {Soss(), Indicators(), Cones(), ExpCones()}) {
      out += "--\n";
      for (const std::string& s : group) out += s + "\n";
    }
    return out;
  }

  static std::string Num(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
  }

  // One of each kind: SOS1 {0, 1, 2}, indicator on a binary column, a quadratic cone over 0-2, an
  // exponential cone over 1-3.
  void AddOneOfEach() {
    const int bin = AddCol('B', 0, 1);
    const int types[] = {1}, beg[] = {0, 3}, idx[] = {0, 1, 2};
    ASSERT_EQ(TARQ_AddSOSs(prob_, 1, types, beg, nullptr, idx, nullptr), 0);
    const int ib[] = {0, 2}, ii[] = {0, 3}, bins[] = {bin}, one[] = {1};
    const double iv[] = {1, 2}, bd[] = {5};
    ASSERT_EQ(TARQ_AddIndicators(prob_, 1, nullptr, bins, one, ib, nullptr, ii, iv, "L", bd, nullptr), 0);
    const int ct[] = {TARQ_CONE_QUAD};
    ASSERT_EQ(TARQ_AddCones(prob_, 1, ct, beg, nullptr, idx), 0);
    const int et[] = {TARQ_EXPCONE_PRIMAL}, ei[] = {1, 2, 3};
    ASSERT_EQ(TARQ_AddExpCones(prob_, 1, et, ei), 0);
  }
};

using Texts = std::vector<std::string>;

TEST_F(SosConeStoreTest, SosSetsAreReadBackWithTheirTypesMembersAndWeights) {
  // Two sets with beg/cnt and explicit weights, then one with num + 1 offsets and default weights.
  const int types[] = {1, 2}, beg[] = {0, 2}, cnt[] = {2, 3}, idx[] = {3, 1, 0, 1, 2};
  const double w[] = {4, -1.5, 1, 2, 7};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 2, types, beg, cnt, idx, w), 0);
  const int t2[] = {2}, b2[] = {0, 4}, i2[] = {2, 0, 3, 1};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 1, t2, b2, nullptr, i2, nullptr), 0);
  EXPECT_EQ(Attr("Soss"), 3);
  EXPECT_EQ(Soss(), (Texts{"1: 3@4 1@-1.5", "2: 0@1 1@2 2@7", "2: 2@1 0@2 3@3 1@4"}));
  EXPECT_EQ(Soss({2, 0}), (Texts{"2: 2@1 0@2 3@3 1@4", "1: 3@4 1@-1.5"}));

  // The first call reports only the size; a buffer one short is refused; outputs may be left out.
  const int list[] = {1, 0};
  int size = -1;
  ASSERT_EQ(TARQ_GetSOSs(prob_, 2, list, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
  EXPECT_EQ(size, 5);
  std::vector<int> got(5, -7);
  EXPECT_EQ(TARQ_GetSOSs(prob_, 2, list, nullptr, nullptr, nullptr, got.data(), nullptr, 4, &size), 3);
  ASSERT_EQ(TARQ_GetSOSs(prob_, 2, list, nullptr, nullptr, nullptr, got.data(), nullptr, 5, nullptr), 0);
  EXPECT_EQ(got, (std::vector<int>{0, 1, 2, 3, 1}));
  int ty[2] = {-1, -1};
  ASSERT_EQ(TARQ_GetSOSs(prob_, 2, list, ty, nullptr, nullptr, nullptr, nullptr, 0, nullptr), 0);
  EXPECT_EQ(ty[0], 2);
  EXPECT_EQ(ty[1], 1);
  EXPECT_EQ(TARQ_GetSOSs(prob_, 2, list, nullptr, nullptr, nullptr, nullptr, nullptr, 0, nullptr), 3);
  const int past[] = {3};
  EXPECT_EQ(TARQ_GetSOSs(prob_, 1, past, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size), 3);
}

TEST_F(SosConeStoreTest, IndicatorRowsAreReadBackWithGeneratedAndGivenNames) {
  const int b = AddCol('B', 0, 1), i01 = AddCol('I', 0, 1);
  const int types[] = {0, 7}, bins[] = {b, i01}, vals[] = {1, 0}, beg[] = {0, 2}, cnt[] = {2, 2}, idx[] = {0, 2, 1, 3};
  const double coef[] = {1.5, -2, 3, 0};  // the exact zero is not kept
  const double bounds[] = {4, -1};
  const char* names[] = {nullptr, "lim"};
  ASSERT_EQ(TARQ_AddIndicators(prob_, 2, types, bins, vals, beg, cnt, idx, coef, "LG", bounds, names), 0);
  // A row with no entries: beg NULL.
  const int b3[] = {b}, v3[] = {0};
  const double bd3[] = {0};
  ASSERT_EQ(TARQ_AddIndicators(prob_, 1, nullptr, b3, v3, nullptr, nullptr, nullptr, nullptr, "E", bd3, nullptr), 0);
  EXPECT_EQ(Attr("Indicators"), 3);
  EXPECT_EQ(Indicators(), (Texts{"G0: x4=1 -> type 0: 0*1.5 2*-2 L 4", "lim: x5=0 -> type 7: 1*3 G -1",
                                 "G2: x4=0 -> type 0: E 0"}));

  int k = -1;
  ASSERT_EQ(TARQ_GetIndicatorIdx(prob_, "lim", &k), 0);
  EXPECT_EQ(k, 1);
  ASSERT_EQ(TARQ_GetIndicatorIdx(prob_, "G2", &k), 0);
  EXPECT_EQ(k, 2);
  EXPECT_EQ(TARQ_GetIndicatorIdx(prob_, "nope", &k), 3);
  const int which[] = {0};
  const char* rename[] = {"first"};
  ASSERT_EQ(TARQ_SetIndicatorNames(prob_, 1, which, rename), 0);
  EXPECT_EQ(IndName(0), "first");
  ASSERT_EQ(TARQ_GetIndicatorIdx(prob_, "first", &k), 0);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(TARQ_SetIndicatorNames(prob_, 1, which, nullptr), 3);
  const int past[] = {3};
  EXPECT_EQ(TARQ_SetIndicatorNames(prob_, 1, past, rename), 3);
  EXPECT_EQ(IndName(3), "<error>");

  // Listed read with a short buffer, then the right one.
  const int list[] = {1, 0};
  int size = -1, got[3], bc[2], bg[2], cn[2];
  double v[3];
  char s[2];
  ASSERT_EQ(TARQ_GetIndicators(prob_, 2, list, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                               nullptr, 0, &size),
            0);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(TARQ_GetIndicators(prob_, 2, list, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, got, v, 2,
                               &size),
            3);
  ASSERT_EQ(TARQ_GetIndicators(prob_, 2, list, nullptr, bc, nullptr, s, nullptr, bg, cn, got, v, 3, &size), 0);
  EXPECT_EQ(bc[0], i01);
  EXPECT_EQ(bc[1], b);
  EXPECT_EQ(s[0], 'G');
  EXPECT_EQ(s[1], 'L');
  EXPECT_EQ(bg[1], 1);
  EXPECT_EQ(cn[1], 2);
  EXPECT_EQ(got[0], 1);
  EXPECT_EQ(got[2], 2);
  EXPECT_EQ(v[2], -2);
}

TEST_F(SosConeStoreTest, ConesAndExponentialConesAreReadBackInOrder) {
  AddCol('C', -TARQ_INFINITY, TARQ_INFINITY);  // column 4
  const int types[] = {TARQ_CONE_RQUAD, TARQ_CONE_QUAD}, beg[] = {0, 3}, cnt[] = {3, 2}, idx[] = {4, 0, 2, 3, 1};
  ASSERT_EQ(TARQ_AddCones(prob_, 2, types, beg, cnt, idx), 0);
  const int t2[] = {TARQ_CONE_QUAD}, b2[] = {0, 5}, i2[] = {0, 1, 2, 3, 4};
  ASSERT_EQ(TARQ_AddCones(prob_, 1, t2, b2, nullptr, i2), 0);
  EXPECT_EQ(Cones(), (Texts{"2: 4 0 2", "1: 3 1", "1: 0 1 2 3 4"}));
  const int et[] = {TARQ_EXPCONE_DUAL, TARQ_EXPCONE_PRIMAL}, ei[] = {2, 0, 1, 1, 2, 0};
  ASSERT_EQ(TARQ_AddExpCones(prob_, 2, et, ei), 0);
  EXPECT_EQ(ExpCones(), (Texts{"4: 2 0 1", "3: 1 2 0"}));
  EXPECT_EQ(Attr("Cones"), 3);
  EXPECT_EQ(Attr("ExpCones"), 2);
  EXPECT_EQ(Attr("IsMIP"), 0);  // cones alone keep a continuous problem continuous

  const int list[] = {1};
  int size = -1, ty = -1, got[3] = {-1, -1, -1};
  ASSERT_EQ(TARQ_GetExpCones(prob_, 1, list, nullptr, nullptr, 0, &size), 0);
  EXPECT_EQ(size, 3);
  EXPECT_EQ(TARQ_GetExpCones(prob_, 1, list, &ty, got, 2, &size), 3);
  ASSERT_EQ(TARQ_GetExpCones(prob_, 1, list, &ty, got, 3, &size), 0);
  EXPECT_EQ(ty, TARQ_EXPCONE_PRIMAL);
  EXPECT_EQ(got[0], 1);
  int cnt1 = -1;
  ASSERT_EQ(TARQ_GetCones(prob_, 1, list, nullptr, nullptr, &cnt1, nullptr, 0, &size), 0);
  EXPECT_EQ(cnt1, 2);
  EXPECT_EQ(size, 2);
}

TEST_F(SosConeStoreTest, DeletingObjectsRenumbersTheRestOfTheirKindOnly) {
  const int b = AddCol('B', 0, 1);
  const int st[] = {1, 2, 1}, sb[] = {0, 1, 3, 4}, si[] = {0, 1, 2, 3};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 3, st, sb, nullptr, si, nullptr), 0);
  const int bins[] = {b, b, b}, vals[] = {1, 0, 1}, ib[] = {0, 1, 2, 3}, ii[] = {0, 1, 2};
  const double iv[] = {1, 2, 3}, bd[] = {1, 2, 3};
  const char* names[] = {"a", "b", "c"};
  ASSERT_EQ(TARQ_AddIndicators(prob_, 3, nullptr, bins, vals, ib, nullptr, ii, iv, "LGE", bd, names), 0);
  const int ct[] = {1, 1, 1}, cb[] = {0, 2, 4, 6}, ci[] = {0, 1, 1, 2, 2, 3};
  ASSERT_EQ(TARQ_AddCones(prob_, 3, ct, cb, nullptr, ci), 0);
  const int et[] = {3, 4, 3}, ei[] = {0, 1, 2, 1, 2, 3, 2, 3, 0};
  ASSERT_EQ(TARQ_AddExpCones(prob_, 3, et, ei), 0);

  const int mid[] = {1}, ends[] = {2, 0, 2};
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, mid), 0);
  EXPECT_EQ(Soss(), (Texts{"1: 0@1", "1: 3@1"}));
  ASSERT_EQ(TARQ_DelIndicators(prob_, 3, ends), 0);  // a position listed twice goes once
  EXPECT_EQ(Indicators(), (Texts{"b: x4=0 -> type 0: 1*2 G 2"}));
  int k = -1;
  ASSERT_EQ(TARQ_GetIndicatorIdx(prob_, "b", &k), 0);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(TARQ_GetIndicatorIdx(prob_, "c", &k), 3);
  ASSERT_EQ(TARQ_DelCones(prob_, 2, nullptr), 0);  // NULL list: the first two
  EXPECT_EQ(Cones(), (Texts{"1: 2 3"}));
  ASSERT_EQ(TARQ_DelExpCones(prob_, 1, mid), 0);
  EXPECT_EQ(ExpCones(), (Texts{"3: 0 1 2", "3: 2 3 0"}));
  EXPECT_EQ(Attr("Soss") + Attr("Indicators") + Attr("Cones") + Attr("ExpCones"), 2 + 1 + 1 + 2);

  // Positions past the end, negative counts and NULL lists beyond the size change nothing.
  const std::string before = FullDump();
  const int bad[] = {2};
  EXPECT_EQ(TARQ_DelSOSs(prob_, 1, bad), 3);
  EXPECT_EQ(TARQ_DelIndicators(prob_, -1, nullptr), 3);
  EXPECT_EQ(TARQ_DelCones(prob_, 2, nullptr), 3);
  EXPECT_EQ(TARQ_DelExpCones(prob_, 1, bad), 3);
  EXPECT_EQ(FullDump(), before);
}

TEST_F(SosConeStoreTest, DeletingColumnsDropsMembersAndTheObjectsTheyLeaveMeaningless) {
  const int b = AddCol('B', 0, 1), b2 = AddCol('B', 0, 1);  // columns 4 and 5
  const int st[] = {1, 2}, sb[] = {0, 3, 4}, si[] = {0, 2, 3, 1};
  const double sw[] = {1, 2, 3, 9};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 2, st, sb, nullptr, si, sw), 0);
  const int bins[] = {b, b2}, vals[] = {1, 1}, ib[] = {0, 3, 4}, ii[] = {0, 2, 3, 1};
  const double iv[] = {1, 2, 3, 4}, bd[] = {1, 2};
  const char* names[] = {"keep", "gone"};
  ASSERT_EQ(TARQ_AddIndicators(prob_, 2, nullptr, bins, vals, ib, nullptr, ii, iv, "LL", bd, names), 0);
  const int ct[] = {1}, cb[] = {0, 2}, ci[] = {2, 0};
  ASSERT_EQ(TARQ_AddCones(prob_, 1, ct, cb, nullptr, ci), 0);
  const int only2[] = {1}, ob[] = {0, 1}, oi[] = {2};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 1, only2, ob, nullptr, oi, nullptr), 0);  // a set of column 2 alone
  const int ct2[] = {2}, cb2[] = {0, 3}, ci2[] = {3, 1, 0};
  ASSERT_EQ(TARQ_AddCones(prob_, 1, ct2, cb2, nullptr, ci2), 0);
  const int et[] = {3, 4}, ei[] = {0, 1, 3, 1, 2, 3};
  ASSERT_EQ(TARQ_AddExpCones(prob_, 2, et, ei), 0);

  // Delete columns 2 and 5 (b2): 3 -> 2, 4 -> 3.
  const int del[] = {2, b2};
  ASSERT_EQ(TARQ_DelCols(prob_, 2, del), 0);
  EXPECT_EQ(Soss(), (Texts{"1: 0@1 2@3", "2: 1@9"}));                    // the set {2} is gone
  EXPECT_EQ(Indicators(), (Texts{"keep: x3=1 -> type 0: 0*1 2*3 L 1"}));  // "gone" went with b2
  EXPECT_EQ(Cones(), (Texts{"1: 0", "2: 2 1 0"}));
  EXPECT_EQ(ExpCones(), (Texts{"3: 0 1 2"}));
  int k = -1;
  EXPECT_EQ(TARQ_GetIndicatorIdx(prob_, "gone", &k), 3);

  // Deleting the last column of a cone removes it.
  const int zero[] = {0};
  ASSERT_EQ(TARQ_DelCols(prob_, 1, zero), 0);
  EXPECT_EQ(Cones(), (Texts{"2: 1 0"}));
  EXPECT_EQ(Soss(), (Texts{"1: 1@3", "2: 0@9"}));
  EXPECT_EQ(ExpCones(), Texts{});
  EXPECT_EQ(Indicators(), (Texts{"keep: x2=1 -> type 0: 1*3 L 1"}));
}

TEST_F(SosConeStoreTest, AttributesCountEachKindAndSosOrIndicatorsMakeAMip) {
  EXPECT_EQ(Attr("IsMIP"), 0);
  const int t[] = {1}, beg[] = {0, 2}, idx[] = {0, 1};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 1, t, beg, nullptr, idx, nullptr), 0);
  EXPECT_EQ(Attr("Soss"), 1);
  EXPECT_EQ(Attr("IsMIP"), 1);
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, nullptr), 0);
  EXPECT_EQ(Attr("IsMIP"), 0);

  // An integer column with bounds within [0, 1] can indicate; relaxing it afterwards to
  // continuous leaves the indicator row, which keeps the problem a MIP.
  const int c = AddCol('I', 0, 1);
  const int bins[] = {c}, one[] = {1};
  const double bd[] = {0};
  ASSERT_EQ(TARQ_AddIndicators(prob_, 1, nullptr, bins, one, nullptr, nullptr, nullptr, nullptr, "G", bd, nullptr), 0);
  char cont = 'C';
  ASSERT_EQ(TARQ_SetColType(prob_, 1, &c, &cont), 0);
  EXPECT_EQ(Attr("Indicators"), 1);
  EXPECT_EQ(Attr("IsMIP"), 1);
  EXPECT_EQ(Attr("Soss"), 0);
  EXPECT_EQ(Attr("Cones"), 0);
}

TEST_F(SosConeStoreTest, CopiesKeepSosConeConstraintsAndClearingOrLoadingDropsThem) {
  AddOneOfEach();
  const std::string full = FullDump();
  tarq_prob* copy = nullptr;
  ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
  std::swap(copy, prob_);
  EXPECT_EQ(FullDump(), full);
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, nullptr), 0);  // changing the copy leaves the original
  std::swap(copy, prob_);
  EXPECT_EQ(FullDump(), full);
  ASSERT_EQ(TARQ_DeleteProb(&copy), 0);

  ASSERT_EQ(TARQ_ClearProb(prob_), 0);
  EXPECT_EQ(Attr("Soss") + Attr("Indicators") + Attr("Cones") + Attr("ExpCones"), 0);

  for (int j = 0; j < 4; ++j) AddCol('C', 0, 1);
  AddOneOfEach();
  const double obj[] = {1, 2};
  ASSERT_EQ(TARQ_LoadProb(prob_, 2, 0, 1, 0, obj, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr, nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(Attr("Soss") + Attr("Indicators") + Attr("Cones") + Attr("ExpCones"), 0);
  EXPECT_EQ(IndName(0), "<error>");
}

TEST_F(SosConeStoreTest, LoadConeProbGroupsTheColumnsIntoFreeNonnegativeAndConeColumns) {
  AddOneOfEach();
  // Columns: 0 free, 1 nonnegative, 2-4 a quadratic cone, 5-7 a rotated one, 8-10 a primal and
  // 11-13 a dual exponential cone. Rows: x0 + x1 = 0 (bounds NULL), x2 in [1, 3].
  const int dims[] = {3, 3};
  const double obj[14] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1};
  std::vector<int> beg(15, 0);
  const int idx[] = {0, 0, 1};
  const double val[] = {1, 1, 2};
  beg[1] = 1;
  for (int j = 2; j < 3; ++j) beg[j] = 2;
  for (int j = 3; j < 15; ++j) beg[j] = 3;
  ASSERT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 1, dims, -1, 2.5, obj, beg.data(), nullptr, idx, val,
                              nullptr, nullptr, nullptr),
            0);
  EXPECT_EQ(NumCols(), 14);
  EXPECT_EQ(NumRows(), 2);
  EXPECT_EQ(Cones(), (Texts{"1: 2 3 4", "2: 5 6 7"}));
  EXPECT_EQ(ExpCones(), (Texts{"3: 8 9 10", "4: 11 12 13"}));
  EXPECT_EQ(Soss(), Texts{});
  EXPECT_EQ(Indicators(), Texts{});
  EXPECT_EQ(Attr("ObjSense"), -1);
  double lb[14], ub[2];
  ASSERT_EQ(TARQ_GetColInfo(prob_, "LB", 14, nullptr, lb), 0);
  EXPECT_EQ(lb[0], -TARQ_INFINITY);
  EXPECT_EQ(lb[1], 0);
  EXPECT_EQ(lb[2], -TARQ_INFINITY);
  EXPECT_EQ(lb[13], -TARQ_INFINITY);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "UB", 2, nullptr, ub), 0);
  EXPECT_EQ(ub[0], 0);
  EXPECT_EQ(Row(0), (Entries{{0, 1}, {1, 1}}));

  const double rl[] = {-1, 1}, ru[] = {1, 3};
  ASSERT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 1, dims, 1, 0, obj, beg.data(), nullptr, idx, val, rl, ru,
                              nullptr),
            0);
  ASSERT_EQ(TARQ_GetRowInfo(prob_, "UB", 2, nullptr, ub), 0);
  EXPECT_EQ(ub[1], 3);

  // Groups that do not cover the columns, too small cones, or bad matrix data change nothing.
  const std::string before = FullDump();
  const int small[] = {1, 3}, smallRot[] = {3, 2};
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 0, dims, 1, 0, obj, beg.data(), nullptr, idx, val, rl, ru,
                              nullptr),
            3);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 12, 0, 3, 1, 1, 1, 1, 0, small, 1, 0, nullptr, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr),
            3);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 12, 0, 2, 1, 1, 1, 1, 0, smallRot, 1, 0, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr),
            3);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 1, nullptr, 1, 0, obj, beg.data(), nullptr, idx, val, rl,
                              ru, nullptr),
            3);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 1, dims, 0, 0, obj, beg.data(), nullptr, idx, val, rl, ru,
                              nullptr),
            3);
  const int badIdx[] = {0, 5, 1};
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 14, 2, 1, 1, 1, 1, 1, 1, dims, 1, 0, obj, beg.data(), nullptr, badIdx, val, rl,
                              ru, nullptr),
            3);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 14, 2, -1, 2, 1, 1, 1, 1, dims, 1, 0, obj, beg.data(), nullptr, idx, val, rl, ru,
                              nullptr),
            3);
  EXPECT_EQ(FullDump(), before);
}

TEST_F(SosConeStoreTest, ChangesAreRefusedWhileTheProblemSolves) {
  AddOneOfEach();
  const std::string before = FullDump();
  ASSERT_TRUE(prob_->problem.Solving().Enter());
  const int t[] = {1}, beg[] = {0, 2}, idx[] = {0, 1}, bins[] = {4}, one[] = {1}, e[] = {0, 1, 2};
  const double bd[] = {0};
  const char* names[] = {"x"};
  EXPECT_EQ(TARQ_AddSOSs(prob_, 1, t, beg, nullptr, idx, nullptr), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_DelSOSs(prob_, 1, nullptr), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_AddIndicators(prob_, 1, nullptr, bins, one, nullptr, nullptr, nullptr, nullptr, "L", bd, nullptr),
            TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_DelIndicators(prob_, 1, nullptr), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_SetIndicatorNames(prob_, 1, nullptr, names), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_AddCones(prob_, 1, t, beg, nullptr, idx), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_DelCones(prob_, 1, nullptr), TARQ_RETCODE_THREAD);
  const int et[] = {3};
  EXPECT_EQ(TARQ_AddExpCones(prob_, 1, et, e), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_DelExpCones(prob_, 1, nullptr), TARQ_RETCODE_THREAD);
  EXPECT_EQ(TARQ_LoadConeProb(prob_, 0, 0, 0, 0, 0, 0, 0, 0, nullptr, 1, 0, nullptr, nullptr, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr),
            TARQ_RETCODE_THREAD);
  EXPECT_EQ(FullDump(), before);  // reading still works meanwhile
  prob_->problem.Solving().Leave();
}

// Malformed input: each call returns 3 and leaves every kind of object as it was.
TEST_F(SosConeStoreTest, MalformedSosConeConstraintsAreRefusedAndChangeNothing) {
  const int b = AddCol('B', 0, 1), i05 = AddCol('I', 0, 5), ineg = AddCol('I', -1, 1);  // 4, 5, 6
  AddOneOfEach();                                                                       // binary column 7
  (void)b;
  const int one[] = {1}, two[] = {2}, three[] = {3}, zero[] = {0}, minus[] = {-1};
  const int b2[] = {0, 2}, b3[] = {0, 3}, b1[] = {0, 1}, b0[] = {0, 0}, bNeg[] = {-1, 1};
  const int pair[] = {0, 1}, twice[] = {1, 1}, triple[] = {0, 1, 2}, tripleRep[] = {0, 1, 0}, far[] = {0, 99};
  const double w12[] = {1, 2}, w11[] = {3, 3}, wInf[] = {1, TARQ_INFINITY}, wNan[] = {1, std::nan("")};
  const double c2[] = {1, 1}, cInf[] = {1, TARQ_INFINITY}, fin[] = {1}, inf[] = {TARQ_INFINITY}, nan1[] = {std::nan("")};
  const int binI05[] = {i05}, binNeg[] = {ineg}, binCont[] = {0}, binFar[] = {99}, bin4[] = {4};
  const int quad[] = {TARQ_CONE_QUAD}, rquad[] = {TARQ_CONE_RQUAD}, pexp[] = {TARQ_EXPCONE_PRIMAL};
  const int e3rep[] = {0, 1, 1}, e3far[] = {0, 1, 99}, e3neg[] = {0, -1, 2};
  // A long set (more members than the pairwise check handles) with one repeat far apart, and one
  // with one repeated weight.
  std::vector<int> longBeg = {0, 20}, longIdx(20), longRep(20);
  std::vector<double> longW(20), longWRep(20);
  for (int k = 0; k < 20; ++k) {
    longIdx[k] = longRep[k] = k % 8;  // only 8 columns: the long lists below repeat columns
    longW[k] = longWRep[k] = k;
  }
  longWRep[19] = 0;
  std::vector<int> longDistinct(20);
  for (int k = 0; k < 20; ++k) longDistinct[k] = k;

  struct Case {
    const char* what;
    std::function<int()> call;
  };
  const std::vector<Case> cases = {
      {"SOS type 3", [&] { return TARQ_AddSOSs(prob_, 1, three, b2, nullptr, pair, w12); }},
      {"SOS type 0", [&] { return TARQ_AddSOSs(prob_, 1, zero, b2, nullptr, pair, w12); }},
      {"SOS repeated member", [&] { return TARQ_AddSOSs(prob_, 1, one, b2, nullptr, twice, w12); }},
      {"SOS long, repeated member", [&] { return TARQ_AddSOSs(prob_, 1, one, longBeg.data(), nullptr, longIdx.data(), nullptr); }},
      {"SOS repeated weight", [&] { return TARQ_AddSOSs(prob_, 1, one, b2, nullptr, pair, w11); }},
      {"SOS infinite weight", [&] { return TARQ_AddSOSs(prob_, 1, two, b2, nullptr, pair, wInf); }},
      {"SOS NaN weight", [&] { return TARQ_AddSOSs(prob_, 1, two, b2, nullptr, pair, wNan); }},
      {"SOS empty set", [&] { return TARQ_AddSOSs(prob_, 1, one, b0, nullptr, pair, w12); }},
      {"SOS column out of range", [&] { return TARQ_AddSOSs(prob_, 1, one, b2, nullptr, far, w12); }},
      {"SOS negative offset", [&] { return TARQ_AddSOSs(prob_, 1, one, bNeg, nullptr, pair, w12); }},
      {"SOS negative count", [&] { return TARQ_AddSOSs(prob_, -1, one, b2, nullptr, pair, w12); }},
      {"SOS negative member count", [&] { return TARQ_AddSOSs(prob_, 1, one, zero, minus, pair, w12); }},
      {"SOS null types", [&] { return TARQ_AddSOSs(prob_, 1, nullptr, b2, nullptr, pair, w12); }},
      {"SOS null members", [&] { return TARQ_AddSOSs(prob_, 1, one, b2, nullptr, nullptr, w12); }},
      {"SOS null offsets", [&] { return TARQ_AddSOSs(prob_, 1, one, nullptr, nullptr, pair, w12); }},
      {"SOS second of two bad", [&] {
         const int t[] = {1, 1}, bb[] = {0, 1, 3}, members[] = {0, 1, 1};
         return TARQ_AddSOSs(prob_, 2, t, bb, nullptr, members, nullptr);
       }},
      {"indicator on a continuous column", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, binCont, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator on an integer column beyond 1", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, binI05, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator on an integer column below 0", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, binNeg, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator column out of range", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, binFar, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator value 2", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, two, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator sense R", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, "R", fin, nullptr); }},
      {"indicator sense N", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, "N", fin, nullptr); }},
      {"indicator infinite bound", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, "G", inf, nullptr); }},
      {"indicator NaN bound", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, "G", nan1, nullptr); }},
      {"indicator repeated column", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, twice, c2, "L", fin, nullptr); }},
      {"indicator infinite coefficient", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, cInf, "L", fin, nullptr); }},
      {"indicator row column out of range", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, far, c2, "L", fin, nullptr); }},
      {"indicator null senses", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, nullptr, fin, nullptr); }},
      {"indicator null bounds", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, pair, c2, "L", nullptr, nullptr); }},
      {"indicator null columns", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, nullptr, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator null values", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, nullptr, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"indicator null row entries", [&] { return TARQ_AddIndicators(prob_, 1, nullptr, bin4, one, b2, nullptr, nullptr, nullptr, "L", fin, nullptr); }},
      {"indicator negative count", [&] { return TARQ_AddIndicators(prob_, -2, nullptr, bin4, one, b2, nullptr, pair, c2, "L", fin, nullptr); }},
      {"cone with 1 member", [&] { return TARQ_AddCones(prob_, 1, quad, b1, nullptr, pair); }},
      {"rotated cone with 2", [&] { return TARQ_AddCones(prob_, 1, rquad, b2, nullptr, pair); }},
      {"column twice in a cone", [&] { return TARQ_AddCones(prob_, 1, rquad, b3, nullptr, tripleRep); }},
      {"long cone, column twice", [&] { return TARQ_AddCones(prob_, 1, quad, longBeg.data(), nullptr, longRep.data()); }},
      {"long cone, column out of range", [&] { return TARQ_AddCones(prob_, 1, quad, longBeg.data(), nullptr, longDistinct.data()); }},
      {"cone type 3", [&] { return TARQ_AddCones(prob_, 1, three, b3, nullptr, triple); }},
      {"cone column out of range", [&] { return TARQ_AddCones(prob_, 1, quad, b2, nullptr, far); }},
      {"cone negative count", [&] { return TARQ_AddCones(prob_, -1, quad, b2, nullptr, pair); }},
      {"cone null members", [&] { return TARQ_AddCones(prob_, 1, quad, b2, nullptr, nullptr); }},
      {"cone null types", [&] { return TARQ_AddCones(prob_, 1, nullptr, b2, nullptr, pair); }},
      {"exponential cone repeated column", [&] { return TARQ_AddExpCones(prob_, 1, pexp, e3rep); }},
      {"exponential cone column out of range", [&] { return TARQ_AddExpCones(prob_, 1, pexp, e3far); }},
      {"exponential cone negative column", [&] { return TARQ_AddExpCones(prob_, 1, pexp, e3neg); }},
      {"exponential cone quadratic type", [&] { return TARQ_AddExpCones(prob_, 1, quad, triple); }},
      {"exponential cone negative count", [&] { return TARQ_AddExpCones(prob_, -1, pexp, triple); }},
      {"exponential cone null columns", [&] { return TARQ_AddExpCones(prob_, 1, pexp, nullptr); }},
      {"exponential cone null types", [&] { return TARQ_AddExpCones(prob_, 1, nullptr, triple); }},
      {"getter negative count", [&] {
         int size = 0;
         return TARQ_GetCones(prob_, -1, nullptr, nullptr, nullptr, nullptr, nullptr, 0, &size);
       }},
      {"getter past the end", [&] {
         int size = 0;
         return TARQ_GetIndicators(prob_, 2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                   nullptr, nullptr, 0, &size);
       }},
      {"null problem", [&] { return TARQ_AddExpCones(nullptr, 1, pexp, triple); }},
  };
  const std::string before = FullDump();
  ASSERT_NE(before.find("--\n1: 0@1 1@2 2@3\n"), std::string::npos);  // the dump shows the data
  for (const Case& c : cases) {
    EXPECT_EQ(c.call(), 3) << c.what;
    EXPECT_EQ(FullDump(), before) << c.what;
  }
  // The good versions of the long lists are accepted: the checks above failed for their reason.
  longIdx.assign(longDistinct.begin(), longDistinct.begin() + 20);
  for (int k = 0; k < 12; ++k) AddCol('C', 0, 1);
  EXPECT_EQ(TARQ_AddSOSs(prob_, 1, one, longBeg.data(), nullptr, longIdx.data(), longW.data()), 0);
  EXPECT_EQ(TARQ_AddSOSs(prob_, 1, one, longBeg.data(), nullptr, longIdx.data(), longWRep.data()), 3);
  EXPECT_EQ(TARQ_AddCones(prob_, 1, quad, longBeg.data(), nullptr, longDistinct.data()), 0);
  EXPECT_EQ(Attr("Soss"), 2);
  EXPECT_EQ(Attr("Cones"), 2);
}

}  // namespace
