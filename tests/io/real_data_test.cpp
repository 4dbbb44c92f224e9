// Real problem files: the Netlib LP set, MIPLIB 3 instances and CoinUtils' sample files. Each
// must read, report its published counts, agree value by value with CoinUtils' own MPS reader
// (an independent reading of the same file), and survive a write-then-read round trip through
// MPS, LP and the binary format. The data stays where it is installed; tests skip when it is
// missing.
#include <coin/CoinMessageHandler.hpp>
#include <coin/CoinMpsIO.hpp>
#include <coin/CoinPackedMatrix.hpp>
#include <zlib.h>

#include <cmath>
#include <map>
#include <set>

#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

namespace fs = std::filesystem;

const fs::path kNetlib = fs::path(TARQ_TEST_DATA_DIR) / "netlib";
const fs::path kMiplib = fs::path(TARQ_TEST_DATA_DIR) / "miplib";
const fs::path kCoinSample = "/usr/share/coin/Data/Sample";

// Files of dir ending in suffix, sorted; a single empty entry when there are none, so that the
// parameterised tests still run (and skip with a message).
std::vector<std::string> FilesIn(const fs::path& dir, const std::string& suffix) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(dir, ec)) {
    const std::string p = e.path().string();
    if (p.size() > suffix.size() && p.compare(p.size() - suffix.size(), suffix.size(), suffix) == 0) out.push_back(p);
  }
  std::sort(out.begin(), out.end());
  if (out.empty()) out.emplace_back();
  return out;
}

// The file name without ".gz" and ".mps".
std::string Stem(const std::string& path) {
  std::string name = fs::path(path).filename().string();
  for (const std::string suffix : {".gz", ".mps"}) {
    if (name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
      name.resize(name.size() - suffix.size());
    }
  }
  return name;
}

std::string ParamName(const testing::TestParamInfo<std::string>& info) {
  std::string name = info.param.empty() ? "data_missing" : Stem(info.param);
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// Lines of a plain or gzip file (zlib reads both).
std::vector<std::string> Lines(const std::string& path) {
  std::vector<std::string> out;
  gzFile f = gzopen(path.c_str(), "rb");
  if (f == nullptr) return out;
  char buf[4096];
  while (gzgets(f, buf, sizeof buf) != nullptr) {
    std::string line(buf);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    out.push_back(line);
  }
  gzclose(f);
  return out;
}

// The first field that differs, as text; empty when the snapshots are equal.
std::string FirstDifference(const Snapshot& a, const Snapshot& b) {
  auto vec = [](const char* what, const auto& x, const auto& y) -> std::string {
    if (x.size() != y.size()) return std::string(what) + ": sizes " + std::to_string(x.size()) + " and " + std::to_string(y.size());
    for (size_t k = 0; k < x.size(); ++k) {
      if (!(x[k] == y[k])) return std::string(what) + " differ at " + std::to_string(k);
    }
    return "";
  };
  if (a.objSense != b.objSense) return "objective sense";
  if (a.objConst != b.objConst) return "objective constant";
  for (std::string d : {vec("obj", a.obj, b.obj), vec("column lower bounds", a.colLower, b.colLower),
                        vec("column upper bounds", a.colUpper, b.colUpper), vec("types", a.type, b.type),
                        vec("branch factors", a.branch, b.branch), vec("row lower bounds", a.rowLower, b.rowLower),
                        vec("row upper bounds", a.rowUpper, b.rowUpper), vec("column names", a.colNames, b.colNames),
                        vec("row names", a.rowNames, b.rowNames), vec("matrix columns", a.cols, b.cols),
                        vec("MIP starts", a.startCol, b.startCol)}) {
    if (!d.empty()) return d;
  }
  return "";
}

// CoinUtils' reader drops the blanks inside fixed-form names (forplan's "AZ  20" is "AZ20").
std::string WithoutBlanks(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
  return s;
}

// Names a text format writes as they are: valid ones, each the first of its spelling.
std::vector<char> KeptNames(const std::vector<std::string>& names, bool (*valid)(std::string_view)) {
  std::set<std::string> seen;
  std::vector<char> kept;
  for (const std::string& n : names) kept.push_back(valid(n) && seen.insert(n).second);
  return kept;
}

class RealDataTest : public IoTest, public testing::WithParamInterface<std::string> {
 protected:
  void ReadOrSkip() {
    if (GetParam().empty()) GTEST_SKIP() << "data directory not found";
    ASSERT_EQ(TARQ_ReadMps(prob_, GetParam().c_str()), 0) << (log_.empty() ? "" : log_[0]);
    snap_ = Take(prob_);
  }

  // Writes, reads back and compares: exactly for the binary format; for MPS and LP every value
  // exactly and every name the format can hold (others come back as generated names).
  void ExpectRoundTrips() {
    struct Format {
      const char* file;
      int (*write)(tarq_prob*, const char*);
      int (*read)(tarq_prob*, const char*);
      bool (*valid)(std::string_view);
    };
    const Format formats[] = {{"back.bin", TARQ_WriteBin, TARQ_ReadBin, nullptr},
                              {"back.mps", TARQ_WriteMps, TARQ_ReadMps, tarq_solver::ValidMpsName},
                              {"back.lp", TARQ_WriteLp, TARQ_ReadLp, tarq_solver::ValidLpName}};
    for (const Format& f : formats) {
      SCOPED_TRACE(f.file);
      const std::string path = Path(f.file);
      ASSERT_EQ(f.write(prob_, path.c_str()), 0);
      tarq_prob* back = NewProblem();
      ASSERT_EQ(f.read(back, path.c_str()), 0) << (log_.empty() ? "" : log_.back());
      Snapshot after = Take(back);
      if (f.valid != nullptr) {
        for (auto [names, got] : {std::pair{&snap_.colNames, &after.colNames}, std::pair{&snap_.rowNames, &after.rowNames}}) {
          ASSERT_EQ(names->size(), got->size());
          const std::vector<char> kept = KeptNames(*names, f.valid);
          for (size_t k = 0; k < kept.size(); ++k) {
            if (kept[k]) {
              EXPECT_EQ((*got)[k], (*names)[k]);
            }
          }
          *got = *names;
        }
      }
      EXPECT_EQ(FirstDifference(after, snap_), "");
      TARQ_DeleteProb(&probs_.back());
      probs_.pop_back();
    }
  }

  // Compares with CoinUtils' reading of the same file: counts exactly; numbers to within a few
  // units in the last place (its number parser does not always round correctly); integer columns
  // without bounds, which it bounds by [0, 1] where this library keeps [0, +inf]; names but for
  // the blanks it drops.
  void ExpectAgreesWithCoinMpsIO() {
    CoinMpsIO coin;
    coin.messageHandler()->setLogLevel(0);
    coin.setInfinity(kInf);
    ASSERT_EQ(coin.readMps(GetParam().c_str(), ""), 0);
    const int n = coin.getNumCols(), m = coin.getNumRows();
    ASSERT_EQ(static_cast<int>(snap_.obj.size()), n);
    ASSERT_EQ(static_cast<int>(snap_.rowLower.size()), m);
    auto close = [](double a, double b) { return a == b || std::fabs(a - b) <= 4e-16 * std::max(std::fabs(a), std::fabs(b)); };
    EXPECT_TRUE(close(snap_.objConst, -coin.objectiveOffset()));
    int integerConvention = 0;
    for (int j = 0; j < n; ++j) {
      SCOPED_TRACE(coin.columnName(j));
      EXPECT_EQ(WithoutBlanks(snap_.colNames[j]), coin.columnName(j));
      EXPECT_EQ(snap_.type[j] != 'C', coin.isInteger(j) != 0);
      EXPECT_TRUE(close(snap_.obj[j], coin.getObjCoefficients()[j]));
      EXPECT_TRUE(close(snap_.colLower[j], coin.getColLower()[j]));
      if (snap_.type[j] == 'I' && snap_.colUpper[j] >= kInf && coin.getColUpper()[j] == 1) {
        ++integerConvention;
      } else {
        EXPECT_TRUE(close(snap_.colUpper[j], coin.getColUpper()[j])) << snap_.colUpper[j] << " " << coin.getColUpper()[j];
      }
    }
    for (int i = 0; i < m; ++i) {
      SCOPED_TRACE(coin.rowName(i));
      EXPECT_EQ(WithoutBlanks(snap_.rowNames[i]), coin.rowName(i));
      EXPECT_TRUE(close(snap_.rowLower[i], coin.getRowLower()[i]));
      EXPECT_TRUE(close(snap_.rowUpper[i], coin.getRowUpper()[i]));
    }
    const CoinPackedMatrix* byCol = coin.getMatrixByCol();
    for (int j = 0; j < n; ++j) {
      const CoinShallowPackedVector v = byCol->getVector(j);
      std::vector<std::pair<int, double>> theirs;
      for (int k = 0; k < v.getNumElements(); ++k) {
        if (v.getElements()[k] != 0) theirs.emplace_back(v.getIndices()[k], v.getElements()[k]);
      }
      std::sort(theirs.begin(), theirs.end());
      ASSERT_EQ(snap_.cols[j].size(), theirs.size()) << "column " << j;
      for (size_t k = 0; k < theirs.size(); ++k) {
        EXPECT_EQ(snap_.cols[j][k].first, theirs[k].first);
        EXPECT_TRUE(close(snap_.cols[j][k].second, theirs[k].second)) << "column " << j;
      }
    }
    RecordProperty("integer_columns_bounded_differently_by_coin", integerConvention);
  }

  Snapshot snap_;
};

// ------------------------------------------------------------------------------------- Netlib --

struct Counts {
  long rows, cols, nonzeros;
};

const std::map<std::string, Counts>& NetlibCounts() {
  static const std::map<std::string, Counts> counts = [] {
    std::map<std::string, Counts> out;
    for (const std::string& line : Lines((kNetlib / "netlib_optimal.csv").string())) {
      std::istringstream in(line);
      std::string name, rows, cols, nnz;
      if (!std::getline(in, name, ',') || !std::getline(in, rows, ',') || !std::getline(in, cols, ',') ||
          !std::getline(in, nnz, ',') || name == "name") {
        continue;
      }
      out[name] = Counts{std::stol(rows), std::stol(cols), std::stol(nnz)};
    }
    return out;
  }();
  return counts;
}

using NetlibFile = RealDataTest;

// The published table counts the objective row among the rows and its coefficients among the
// nonzeros. boeing1's file has 352 rows where the table says 351.
TEST_P(NetlibFile, ReadsWithThePublishedCountsAndRoundTrips) {
  ReadOrSkip();
  if (IsSkipped() || HasFatalFailure()) return;
  const std::string name = Stem(GetParam());
  auto it = NetlibCounts().find(name);
  ASSERT_NE(it, NetlibCounts().end()) << name << " is not in netlib_optimal.csv";
  const long expectedRows = name == "boeing1" ? 352 : it->second.rows;
  long objNonzeros = 0;
  for (double c : snap_.obj) objNonzeros += c != 0;
  EXPECT_EQ(static_cast<long>(snap_.rowLower.size()) + 1, expectedRows);
  EXPECT_EQ(static_cast<long>(snap_.obj.size()), it->second.cols);
  EXPECT_EQ(Nonzeros(snap_) + objNonzeros, it->second.nonzeros);
  EXPECT_EQ(snap_.objSense, 1);
  ExpectAgreesWithCoinMpsIO();
  ExpectRoundTrips();
}

INSTANTIATE_TEST_SUITE_P(Netlib, NetlibFile, testing::ValuesIn(FilesIn(kNetlib, ".mps.gz")), ParamName);

TEST(NetlibData, EveryListedProblemHasAFile) {
  if (!fs::exists(kNetlib)) GTEST_SKIP() << kNetlib << " not found";
  ASSERT_EQ(NetlibCounts().size(), 72u);
  for (const auto& [name, counts] : NetlibCounts()) EXPECT_TRUE(fs::exists(kNetlib / (name + ".mps.gz"))) << name;
}

TEST(NetlibData, ForplanNeedsTheFixedForm) {
  if (!fs::exists(kNetlib)) GTEST_SKIP() << kNetlib << " not found";
  tarq_prob* prob = nullptr;
  tarq_env* env = nullptr;
  ASSERT_EQ(TARQ_CreateEnvWithPath(nullptr, &env), 0);
  ASSERT_EQ(TARQ_CreateProb(env, &prob), 0);
  ASSERT_EQ(TARQ_ReadMps(prob, (kNetlib / "forplan.mps.gz").c_str()), 0);
  int row = -1;
  EXPECT_EQ(TARQ_GetRowIdx(prob, "DEDO3 1R", &row), 0);  // a name with a blank
  EXPECT_EQ(row, 1);                                     // after LC123; the N row is the objective
  TARQ_DeleteProb(&prob);
  TARQ_DeleteEnv(&env);
}

// ------------------------------------------------------------------------------------- MIPLIB --

// MIPLIB files carry their counts in a comment header: *ROWS (without the objective), *COLUMNS,
// *INTEGER and *NONZERO (without the objective). mas76's header says 1639 nonzeros; its COLUMNS
// section has 1640 non-objective entries (CoinUtils' reader agrees).
std::map<std::string, long> HeaderCounts(const std::string& path) {
  std::map<std::string, long> out;
  for (const std::string& line : Lines(path)) {
    if (line.empty() || line[0] != '*') break;
    std::istringstream in(line.substr(1));
    std::string key;
    long value = 0;
    if (in >> key >> value) out[key] = value;
  }
  return out;
}

using MiplibFile = RealDataTest;

TEST_P(MiplibFile, ReadsWithTheHeaderCountsAndRoundTrips) {
  ReadOrSkip();
  if (IsSkipped() || HasFatalFailure()) return;
  const auto header = HeaderCounts(GetParam());
  ASSERT_EQ(header.count("ROWS:") + header.count("COLUMNS:") + header.count("INTEGER:") + header.count("NONZERO:"), 4u);
  long integers = 0;
  for (char t : snap_.type) integers += t != 'C';
  EXPECT_EQ(static_cast<long>(snap_.rowLower.size()), header.at("ROWS:"));
  EXPECT_EQ(static_cast<long>(snap_.obj.size()), header.at("COLUMNS:"));
  EXPECT_EQ(integers, header.at("INTEGER:"));
  EXPECT_EQ(Nonzeros(snap_), Stem(GetParam()) == "mas76" ? 1640 : header.at("NONZERO:"));
  ExpectAgreesWithCoinMpsIO();
  ExpectRoundTrips();
}

INSTANTIATE_TEST_SUITE_P(Miplib, MiplibFile, testing::ValuesIn(FilesIn(kMiplib, ".mps.gz")), ParamName);

TEST(MiplibData, EveryListedProblemHasAFile) {
  if (!fs::exists(kMiplib)) GTEST_SKIP() << kMiplib << " not found";
  int listed = 0;
  for (const std::string& line : Lines((kMiplib / "miplib_optimal.csv").string())) {
    const std::string name = line.substr(0, line.find(','));
    if (name.empty() || name == "name") continue;
    ++listed;
    EXPECT_TRUE(fs::exists(kMiplib / (name + ".mps.gz"))) << name;
  }
  EXPECT_EQ(listed, 21);
}

// ------------------------------------------------------------------------ CoinUtils samples --

// Sample files that are not plain LP/MIP MPS, and why. The reader must reject each with 3 and a
// message that names the unsupported part, rather than read part of it.
const std::map<std::string, std::string> kNotPlainMps = {
    {"share2qp", "a quadratic objective (QUADOBJ) in a second part after ENDATA"},
};
// Sample files with SOS and CSECTION sections, read in sos_cone_kinds_file_test.cpp.
const std::set<std::string> kSosConeSections = {"conic", "spec_sections"};

using CoinSampleFile = RealDataTest;

TEST_P(CoinSampleFile, ReadsLikeCoinUtilsAndRoundTrips) {
  if (GetParam().empty()) GTEST_SKIP() << kCoinSample << " not found";
  if (kSosConeSections.count(Stem(GetParam())) != 0) GTEST_SKIP() << "read with its SOS and cone sections elsewhere";
  auto skip = kNotPlainMps.find(Stem(GetParam()));
  if (skip != kNotPlainMps.end()) {
    EXPECT_EQ(TARQ_ReadMps(prob_, GetParam().c_str()), 3);
    EXPECT_LOGGED(log_, "section", "is not supported");
    GTEST_SKIP() << "not a plain LP/MIP file: " << skip->second;
  }
  ReadOrSkip();
  if (HasFatalFailure()) return;
  ExpectAgreesWithCoinMpsIO();
  ExpectRoundTrips();
}

INSTANTIATE_TEST_SUITE_P(CoinSample, CoinSampleFile, testing::ValuesIn(FilesIn(kCoinSample, ".mps")), ParamName);

TEST_F(IoTest, CoinSampleLpFilesRead) {
  if (!fs::exists(kCoinSample / "exmip1.lp")) GTEST_SKIP() << kCoinSample << " not found";
  ASSERT_EQ(TARQ_ReadLp(prob_, (kCoinSample / "exmip1.lp").c_str()), 0) << (log_.empty() ? "" : log_[0]);
  Snapshot s = Take(prob_);
  EXPECT_EQ(s.rowNames, (std::vector<std::string>{"ROW01", "ROW02", "ROW03", "ROW04", "ROW05"}));
  EXPECT_EQ(s.colNames.size(), 10u);  // COL01..COL08 and the two range columns
  EXPECT_EQ(Nonzeros(s), 16);
  EXPECT_EQ(s.rowLower[0], 2.5);
  EXPECT_EQ(s.rowUpper[1], 2.1);
  int col = -1;
  ASSERT_EQ(TARQ_GetColIdx(prob_, "RgROW05", &col), 0);
  EXPECT_EQ(s.colLower[col], -12);
  EXPECT_EQ(s.colUpper[col], 0);
  ASSERT_EQ(TARQ_GetColIdx(prob_, "COL03", &col), 0);
  EXPECT_EQ(s.type[col], 'B');

  tarq_prob* block = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(block, (kCoinSample / "block_milp.lp").c_str()), 0) << (log_.empty() ? "" : log_[0]);
  s = Take(block);
  EXPECT_EQ(s.rowLower.size(), 20u);
  EXPECT_EQ(s.colNames.size(), 40u);
  EXPECT_EQ(Nonzeros(s), 79);
  EXPECT_EQ(std::count(s.type.begin(), s.type.end(), 'B'), 40);
}

}  // namespace
}  // namespace iotest
