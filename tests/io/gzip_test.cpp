// Damaged gzip files: every reader must refuse a gzip stream that ends early or fails its CRC or
// length check, with code 2, one log line naming the file and the fault, and nothing changed,
// even when the data before the damage parses (zlib hands that data out before it reports).
#include <zlib.h>

#include <functional>

#include "io/param_file.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using Reader = int (*)(tarq_prob*, const char*);

// Everything a read can change: the problem, its solution and basis, parameters and tuning
// results.
struct State {
  Snapshot problem;
  int solRc = -1;
  std::vector<double> values;
  int basisRc = -1;
  std::vector<int> colBasis, rowBasis;
  std::string params;
  int tuneResults = -1;
  bool operator==(const State&) const = default;
};

State TakeState(tarq_prob* prob) {
  State s;
  s.problem = Take(prob);
  const size_t n = s.problem.obj.size(), m = s.problem.rowLower.size();
  s.values.resize(n);
  s.solRc = TARQ_GetSolution(prob, s.values.data());
  s.colBasis.resize(n);
  s.rowBasis.resize(m);
  s.basisRc = TARQ_GetBasis(prob, s.colBasis.data(), s.rowBasis.data());
  s.params = tarq_solver::FormatParamFile(prob->problem.Params());
  TARQ_GetIntAttr(prob, "TuneResults", &s.tuneResults);
  return s;
}

void WriteGzip(const std::string& path, const std::string& text) {
  gzFile gz = gzopen(path.c_str(), "wb");
  ASSERT_NE(gz, nullptr);
  ASSERT_EQ(gzwrite(gz, text.data(), static_cast<unsigned>(text.size())), static_cast<int>(text.size()));
  ASSERT_EQ(gzclose(gz), Z_OK);
}

// A damaged copy of a gzip file's bytes.
struct Damage {
  const char* what;
  std::function<std::string(std::string)> apply;
  const char* fault;
};

const char kEndsEarly[] = "the gzip data ends early (the file is truncated)";

std::string Cut(const std::string& b, size_t keep) { return b.substr(0, std::min(keep, b.size())); }
std::string Flip(std::string b, size_t fromEnd) {
  b[b.size() - fromEnd] = static_cast<char>(b[b.size() - fromEnd] ^ 0x5a);
  return b;
}

const std::vector<Damage> kDamages = {
    {"cut after a quarter", [](std::string b) { return Cut(b, b.size() / 4); }, kEndsEarly},
    {"cut in the middle", [](std::string b) { return Cut(b, b.size() / 2); }, kEndsEarly},
    {"cut before the CRC", [](std::string b) { return Cut(b, b.size() - 8); }, kEndsEarly},
    {"cut before the length", [](std::string b) { return Cut(b, b.size() - 4); }, kEndsEarly},
    {"last byte missing", [](std::string b) { return Cut(b, b.size() - 1); }, kEndsEarly},
    {"header only", [](std::string b) { return Cut(b, 10); }, kEndsEarly},
    {"magic bytes only", [](std::string b) { return Cut(b, 2); }, kEndsEarly},
    {"CRC corrupted", [](std::string b) { return Flip(std::move(b), 6); }, "corrupt gzip data (incorrect data check)"},
    {"length corrupted", [](std::string b) { return Flip(std::move(b), 2); },
     "corrupt gzip data (incorrect length check)"},
};

class GzipTest : public IoTest {
 protected:
  // The files come from src, a problem whose data, solution, basis, start, factors and parameters
  // all differ from prob_'s, so that any read that gets through changes prob_.
  void SetUp() override {
    IoTest::SetUp();
    BuildSolved(prob_, TARQ_MAXIMIZE, {1, 2}, {1, 0, 0, 2}, 2);
    src_ = NewProblem();
    BuildSolved(src_, TARQ_MINIMIZE, {3, 0, 1, 1}, {0, 5, 4, 0}, 3);
  }

  tarq_prob* src_ = nullptr;
};

TEST_F(GzipTest, EveryReaderRefusesADamagedStreamAndChangesNothing) {
  struct Format {
    const char* name;
    Reader read;
    std::function<void(const std::string&)> write;  // writes a good .gz file
  };
  auto by = [&](int (*write)(tarq_prob*, const char*)) {
    return [this, write](const std::string& path) { ASSERT_EQ(write(src_, path.c_str()), 0); };
  };
  const std::vector<Format> formats = {
      {"mps", TARQ_ReadMps, by(TARQ_WriteMps)},
      {"lp", TARQ_ReadLp, by(TARQ_WriteLp)},
      {"bin", TARQ_ReadBin, by(TARQ_WriteBin)},
      {"sol", TARQ_ReadSol, by(TARQ_WriteSol)},
      {"json", TARQ_ReadJsonSol, by(TARQ_WriteJsonSol)},
      {"bas", TARQ_ReadBasis, by(TARQ_WriteBasis)},
      {"mst", TARQ_ReadMst, by(TARQ_WriteMst)},
      {"ord", TARQ_ReadOrd, by(TARQ_WriteOrd)},
      {"par", TARQ_ReadParam, by(TARQ_WriteParam)},
      {"tune", TARQ_ReadTune, [](const std::string& path) { WriteGzip(path, "result 0.25 quick\nPresolve 0\n"); }},
  };
  const State before = TakeState(prob_);
  for (const Format& f : formats) {
    const std::string good = Path(std::string("good.") + f.name + ".gz");
    f.write(good);
    const std::string bytes = ReadText(good);
    ASSERT_GT(bytes.size(), 20u) << f.name;
    ASSERT_EQ(bytes.substr(0, 2), "\x1f\x8b") << f.name << " was not written compressed";
    // The undamaged file reads (into a copy), and changes what the damaged ones must not.
    tarq_prob* copy = nullptr;
    ASSERT_EQ(TARQ_CreateCopy(prob_, &copy), 0);
    EXPECT_EQ(f.read(copy, good.c_str()), 0) << f.name;
    EXPECT_FALSE(TakeState(copy) == before) << f.name << ": the good file changes nothing, the test shows nothing";
    TARQ_DeleteProb(&copy);

    for (const Damage& d : kDamages) {
      SCOPED_TRACE(std::string(f.name) + ", " + d.what);
      const std::string path = Write(std::string("bad.") + f.name + ".gz", d.apply(bytes));
      log_.clear();
      EXPECT_EQ(f.read(prob_, path.c_str()), TARQ_RETCODE_FILE);
      EXPECT_LOGGED(log_, "\"" + path + "\"", d.fault);
      EXPECT_TRUE(TakeState(prob_) == before);
    }
  }
}

}  // namespace
}  // namespace iotest
