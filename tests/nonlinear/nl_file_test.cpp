// The .nl writer, checked by an independent reader written here: the header's counts, the
// column order the format requires, the names beside the file, and the read-back problem solving
// to the same optimum. The LP and MPS writers refuse nonlinear problems.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/quiet_env.h"
#include "nonlinear/postfix.h"

namespace {

using postfix::E;
using postfix::X;

// A problem read from an .nl file: expressions turned back into postfix programs.
struct NlFile {
  std::vector<std::vector<long long>> header;  // the numbers of each header line
  int n = 0, m = 0;
  std::vector<E> rowExpr;
  E objExpr;
  int objSense = 0;
  std::vector<std::pair<int, double>> start;
  std::vector<std::pair<double, double>> rowBounds, colBounds;
  std::vector<std::vector<std::pair<int, double>>> jac;
  std::vector<std::pair<int, double>> grad;
};

E Append(const E& a, const E& b) {
  E r = a;
  r.tokens.insert(r.tokens.end(), b.tokens.begin(), b.tokens.end());
  r.consts.insert(r.consts.end(), b.consts.begin(), b.consts.end());
  return r;
}

// Reads one prefix expression from the stream, appending it to out as postfix tokens.
bool ReadExpr(std::istream& in, E& out) {
  static const std::map<int, int> kToken = {
      {0, -10},  {1, -11},  {2, -12},  {3, -13},  {5, -14},  {13, -21}, {14, -22}, {15, -20}, {16, -19},
      {37, -36}, {38, -33}, {39, -15}, {40, -34}, {41, -31}, {42, -18}, {43, -17}, {44, -16}, {45, -35},
      {46, -32}, {47, -46}, {48, -47}, {49, -43}, {50, -44}, {51, -41}, {52, -45}, {53, -42}};
  std::string line;
  if (!std::getline(in, line) || line.empty()) return false;
  if (line[0] == 'n') {
    out = Append(out, E{{TARQ_NL_CONST}, {std::stod(line.substr(1))}});
    return true;
  }
  if (line[0] == 'v') {
    out = Append(out, X(std::stoi(line.substr(1))));
    return true;
  }
  if (line[0] != 'o') return false;
  const int code = std::stoi(line.substr(1));
  if (code == 54) {
    std::getline(in, line);
    const int count = std::stoi(line);
    for (int k = 0; k < count; ++k) {
      if (!ReadExpr(in, out)) return false;
    }
    out.tokens.push_back(TARQ_NL_SUM);
    out.tokens.push_back(count);
    return true;
  }
  const auto it = kToken.find(code);
  if (it == kToken.end()) return false;
  const bool binary = code <= 5 || code == 48;
  for (int k = 0; k < (binary ? 2 : 1); ++k) {
    if (!ReadExpr(in, out)) return false;
  }
  out.tokens.push_back(it->second);
  return true;
}

std::pair<double, double> ReadBound(const std::string& line) {
  std::istringstream s(line);
  int code = 0;
  double a = 0, b = 0;
  s >> code >> a >> b;
  switch (code) {
    case 0: return {a, b};
    case 1: return {-1e30, a};
    case 2: return {a, 1e30};
    case 4: return {a, a};
    default: return {-1e30, 1e30};
  }
}


bool ReadFile(const std::string& path, NlFile& f) {
  std::ifstream in(path);
  std::string line;
  for (int k = 0; k < 10 && std::getline(in, line); ++k) {
    std::istringstream s(line.substr(0, line.find('#')));
    std::vector<long long> nums;
    std::string word;
    while (s >> word) {
      if (k == 0 && word[0] == 'g') continue;
      nums.push_back(std::stoll(word));
    }
    f.header.push_back(nums);
  }
  if (f.header.size() != 10) return false;
  f.n = static_cast<int>(f.header[1][0]);
  f.m = static_cast<int>(f.header[1][1]);
  f.rowExpr.resize(static_cast<size_t>(f.m));
  f.jac.resize(static_cast<size_t>(f.m));
  while (std::getline(in, line)) {
    if (line.empty()) continue;
    std::istringstream s(line.substr(1));
    switch (line[0]) {
      case 'C': {
        int i = -1;
        s >> i;
        E e;
        if (!ReadExpr(in, e)) return false;
        f.rowExpr[static_cast<size_t>(i)] = e;
        break;
      }
      case 'O': {
        int i = -1;
        s >> i >> f.objSense;
        if (!ReadExpr(in, f.objExpr)) return false;
        break;
      }
      case 'x': {
        int k = 0;
        s >> k;
        for (int p = 0; p < k && std::getline(in, line); ++p) {
          std::istringstream t(line);
          int j;
          double v;
          t >> j >> v;
          f.start.emplace_back(j, v);
        }
        break;
      }
      case 'r':
        for (int i = 0; i < f.m && std::getline(in, line); ++i) f.rowBounds.push_back(ReadBound(line));
        break;
      case 'b':
        for (int j = 0; j < f.n && std::getline(in, line); ++j) f.colBounds.push_back(ReadBound(line));
        break;
      case 'k': {
        int k = 0;
        s >> k;
        for (int p = 0; p < k; ++p) std::getline(in, line);
        break;
      }
      case 'J':
      case 'G': {
        int i = 0, k = 0;
        s >> i >> k;
        auto& target = line[0] == 'J' ? f.jac[static_cast<size_t>(i)] : f.grad;
        for (int p = 0; p < k && std::getline(in, line); ++p) {
          std::istringstream t(line);
          int j;
          double v;
          t >> j >> v;
          target.emplace_back(j, v);
        }
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

// Builds the read problem in a new solver problem.
void Load(const NlFile& f, tarq_prob* p) {
  for (int j = 0; j < f.n; ++j) {
    ASSERT_EQ(TARQ_AddCol(p, 0, 0, nullptr, nullptr, 'C', f.colBounds[j].first, f.colBounds[j].second, nullptr), 0);
  }
  for (int i = 0; i < f.m; ++i) {
    const std::vector<int> prog = f.rowExpr[i].Program();
    std::vector<int> idx;
    std::vector<double> val;
    for (auto [j, v] : f.jac[i]) {
      if (v == 0) continue;
      idx.push_back(j);
      val.push_back(v);
    }
    ASSERT_EQ(TARQ_AddNLConstr(p, static_cast<int>(prog.size()), static_cast<int>(f.rowExpr[i].consts.size()),
                               prog.data(), f.rowExpr[i].consts.data(), static_cast<int>(idx.size()), idx.data(),
                               val.data(), 0, f.rowBounds[i].first, f.rowBounds[i].second, nullptr),
              0);
  }
  const std::vector<int> obj = f.objExpr.Program();
  ASSERT_EQ(TARQ_SetNLObj(p, static_cast<int>(obj.size()), static_cast<int>(f.objExpr.consts.size()), obj.data(),
                          f.objExpr.consts.data()),
            0);
  for (auto [j, v] : f.grad) ASSERT_EQ(TARQ_SetColObj(p, 1, &j, &v), 0);
  ASSERT_EQ(TARQ_SetObjSense(p, f.objSense == 1 ? -1 : 1), 0);
  for (auto [j, v] : f.start) ASSERT_EQ(TARQ_SetNLPrimalStart(p, 1, &j, &v), 0);
}

class NlFileTest : public testing::Test {
 protected:
  void SetUp() override {
    env_ = NewQuietEnv();
    ASSERT_EQ(TARQ_CreateProb(env_, &prob_), 0);
    ASSERT_EQ(TARQ_CreateProb(env_, &back_), 0);
  }
  void TearDown() override {
    TARQ_DeleteProb(&prob_);
    TARQ_DeleteProb(&back_);
    TARQ_DeleteEnv(&env_);
  }
  tarq_env* env_ = nullptr;
  tarq_prob* prob_ = nullptr;
  tarq_prob* back_ = nullptr;
};

TEST_F(NlFileTest, WrittenFileReadsBackToTheSameOptimum) {
  // HS71 with its columns shuffled among linear ones: column 0 is linear only, column 5 appears
  // only in the objective's quadratic term, the others in the nonlinear rows and the objective.
  const char* names[] = {"lin", "a", "b", "c", "d", "q"};
  const double lb[] = {0, 1, 1, 1, 1, -1}, ub[] = {10, 5, 5, 5, 5, 1};
  for (int j = 0; j < 6; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', lb[j], ub[j], names[j]), 0);
  const double one = 1.0;
  const int lin = 0;
  ASSERT_EQ(TARQ_SetColObj(prob_, 1, &lin, &one), 0);
  const int cols[] = {0, 1};
  const double vals[] = {1, -1};
  ASSERT_EQ(TARQ_AddRow(prob_, 2, cols, vals, 'G', 0, 0, "link"), 0);  // lin >= a
  auto row = [&](const E& e, char sense, double rhs, const char* name) {
    const std::vector<int> p = e.Program();
    ASSERT_EQ(TARQ_AddNLConstr(prob_, static_cast<int>(p.size()), static_cast<int>(e.consts.size()), p.data(),
                               e.consts.data(), 0, nullptr, nullptr, sense, rhs, 0, name),
              0);
  };
  row(X(1) * X(2) * X(3) * X(4), 'G', 25, "prod");
  row(postfix::Sqr(X(1)) + postfix::Sqr(X(2)) + postfix::Sqr(X(3)) + postfix::Sqr(X(4)), 'E', 40, "sphere");
  const E obj = X(1) * X(4) * (X(1) + X(2) + X(3)) + X(3);
  const std::vector<int> p = obj.Program();
  ASSERT_EQ(TARQ_SetNLObj(prob_, static_cast<int>(p.size()), static_cast<int>(obj.consts.size()), p.data(),
                          obj.consts.data()),
            0);
  const int qr = 5;
  const double qv = 1.0;
  ASSERT_EQ(TARQ_SetQuadObj(prob_, 1, &qr, &qr, &qv), 0);  // + q^2, optimal at q = 0
  ASSERT_EQ(TARQ_SetObjConst(prob_, 0.5), 0);
  const double start[] = {1, 1, 5, 5, 1, 0.5};
  ASSERT_EQ(TARQ_SetNLPrimalStart(prob_, 6, nullptr, start), 0);

  const std::string path = testing::TempDir() + "hs71.nl";
  ASSERT_EQ(TARQ_WriteNL(prob_, path.c_str()), 0);
  NlFile f;
  ASSERT_TRUE(ReadFile(path, f));
  EXPECT_EQ(f.header[1], (std::vector<long long>{6, 3, 1, 0, 1}));  // vars, rows, objectives, ranges, equalities
  EXPECT_EQ(f.header[2], (std::vector<long long>{2, 1}));           // nonlinear rows, objectives
  EXPECT_EQ(f.header[4], (std::vector<long long>{4, 5, 4}));        // nonlinear in rows, objective, both
  // Columns in the file's order: the four nonlinear everywhere, the objective-only q, then lin.
  std::ifstream colFile(testing::TempDir() + "hs71.col"), rowFile(testing::TempDir() + "hs71.row");
  std::string colNames((std::istreambuf_iterator<char>(colFile)), std::istreambuf_iterator<char>());
  std::string rowNames((std::istreambuf_iterator<char>(rowFile)), std::istreambuf_iterator<char>());
  EXPECT_EQ(colNames, "a\nb\nc\nd\nq\nlin\n");
  EXPECT_EQ(rowNames, "prod\nsphere\nlink\n");
  ASSERT_EQ(f.start.size(), 6u);

  Load(f, back_);
  ASSERT_EQ(TARQ_Solve(prob_), 0);
  ASSERT_EQ(TARQ_Solve(back_), 0);
  double a = 0, b = 0;
  ASSERT_EQ(TARQ_GetDblAttr(prob_, "LpObjval", &a), 0);
  ASSERT_EQ(TARQ_GetDblAttr(back_, "LpObjval", &b), 0);
  EXPECT_NEAR(a, 17.0140173 + 1.0 + 0.5, 1e-5);  // lin = a = 1 at the optimum
  EXPECT_NEAR(a, b, 1e-7 * std::fabs(a));
}

TEST_F(NlFileTest, LpAndMpsWritersRefuseNonlinearProblems) {
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 1, nullptr), 0);
  const E e = postfix::Exp(X(0));
  const std::vector<int> p = e.Program();
  ASSERT_EQ(TARQ_SetNLObj(prob_, static_cast<int>(p.size()), 0, p.data(), nullptr), 0);
  std::string log;
  ASSERT_EQ(TARQ_SetLogCallback(prob_, [](const char* line, void* user) {
    static_cast<std::string*>(user)->append(line).append("\n");
  }, &log), 0);
  const std::string lp = testing::TempDir() + "refused.lp", mps = testing::TempDir() + "refused.mps";
  EXPECT_EQ(TARQ_WriteLp(prob_, lp.c_str()), 3);
  EXPECT_EQ(TARQ_WriteMps(prob_, mps.c_str()), 3);
  EXPECT_NE(log.find("the LP format cannot hold nonlinear rows or a nonlinear objective"), std::string::npos) << log;
  EXPECT_NE(log.find("the MPS format cannot hold nonlinear rows or a nonlinear objective"), std::string::npos) << log;
  EXPECT_FALSE(std::ifstream(lp).good());
}

}  // namespace
