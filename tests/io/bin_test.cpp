#include <zlib.h>

#include <cstring>

#include "common/psd_dump.h"
#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using BinTest = IoTest;

// The small model plus everything else a problem stores: branch factors, MIP starts, an unnamed
// column and row among named ones, a row with crossed bounds, quadratic terms (repeated, in both
// orders) in the objective and in quadratic rows, and semidefinite parts (matrices, a named and an
// unnamed PSD column, the PSD objective, a PSD row and an LMI row).
void AddExtras(tarq_prob* prob) {
  const int r[] = {0, 1, 1}, c[] = {0, 0, 1};
  const double v[] = {2, -0.5, 1e-300};
  ASSERT_EQ(TARQ_AddSymMat(prob, 2, 3, r, c, v), 0);
  ASSERT_EQ(TARQ_AddSymMat(prob, 3, 1, r, c, v), 0);
  const int dims[] = {2, 3};
  const char* psdNames[] = {"P", nullptr};
  ASSERT_EQ(TARQ_AddPSDCols(prob, 2, dims, psdNames), 0);
  const int psdCols[] = {1}, objMats[] = {1};
  ASSERT_EQ(TARQ_ReplacePSDObj(prob, 1, psdCols, objMats), 0);
  const int lin[] = {3, 0}, pc[] = {0, 1}, pm[] = {0, 1};
  const double linVals[] = {1.25, -2};
  ASSERT_EQ(TARQ_AddPSDConstr(prob, 2, lin, linVals, 2, pc, pm, 0, -1, 7, "prow"), 0);
  const int lc[] = {2};
  ASSERT_EQ(TARQ_AddLMIConstr(prob, 2, 1, lc, pm, 0, nullptr), 0);
  ASSERT_EQ(TARQ_AddCol(prob, 0.25, 0, nullptr, nullptr, 'C', -kInf, 1e-310, nullptr), 0);
  ASSERT_EQ(TARQ_AddRow(prob, 0, nullptr, nullptr, 0, 2, -3, nullptr), 0);
  const double factors[] = {0, 5, -1, 0, 2};
  ASSERT_EQ(TARQ_SetColBranchFactors(prob, 5, nullptr, factors), 0);
  const int list[] = {2, 0};
  const double values[] = {1, 3.5};
  ASSERT_EQ(TARQ_AddMipStart(prob, 2, list, values), 0);
  ASSERT_EQ(TARQ_AddMipStart(prob, 0, nullptr, nullptr), 0);
  const int qr[] = {0, 1, 0, 4}, qc[] = {1, 0, 1, 4};
  const double qv[] = {1.5, -2, 1.5, 0.125};
  ASSERT_EQ(TARQ_SetQuadObj(prob, 4, qr, qc, qv), 0);
  const int li[] = {2, 3};
  const double lv[] = {1, -1};
  ASSERT_EQ(TARQ_AddQConstr(prob, 2, li, lv, 3, qr, qc, qv, 'L', 7, "ball"), 0);
  ASSERT_EQ(TARQ_AddQConstr(prob, 0, nullptr, nullptr, 1, qr + 3, qc + 3, qv + 3, 'G', -1, nullptr), 0);
}

std::string BinBytes(tarq_prob* prob) {
  tarq_solver::OutBuffer out;
  tarq_solver::IoError err;
  EXPECT_EQ(tarq_solver::WriteBin(prob->problem, out, err), 0);
  return out.Text();
}

// Recomputes the checksum after a deliberate change, so that the structural checks are reached.
void Reseal(std::string& bytes) {
  const size_t endAt = bytes.size() - 24;
  const std::uint32_t crc = static_cast<std::uint32_t>(crc32_z(0, reinterpret_cast<const Bytef*>(bytes.data()), endAt));
  std::memcpy(bytes.data() + endAt + 16, &crc, sizeof crc);
}

TEST_F(BinTest, RoundTripIsExact) {
  BuildSmall(prob_);
  AddExtras(prob_);
  const Snapshot before = Take(prob_);
  const std::string psdBefore = PsdDump(prob_);
  ASSERT_NE(psdBefore.find("lmi L0"), std::string::npos);
  const std::string path = Path("all.bin");
  ASSERT_EQ(TARQ_WriteBin(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_AddCol(back, 1, 0, nullptr, nullptr, 'I', 0, 1, "old"), 0);  // replaced entirely
  ASSERT_EQ(TARQ_ReadBin(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(back), before);
  EXPECT_EQ(PsdDump(back), psdBefore);
  // Unnamed objects stay unnamed rather than taking their generated names.
  EXPECT_TRUE(back->problem.Cols().names.Explicit(4).empty());
  EXPECT_TRUE(back->problem.Rows().names.Explicit(5).empty());
  EXPECT_EQ(back->problem.Cols().names.Explicit(0), "x");
  // The same bytes again: nothing is lost or reordered.
  EXPECT_EQ(BinBytes(back), BinBytes(prob_));
}

TEST_F(BinTest, EveryTruncationIsRejectedAndChangesNothing) {
  BuildSmall(prob_);
  AddExtras(prob_);
  const std::string bytes = BinBytes(prob_);
  tarq_prob* target = NewProblem();
  ASSERT_EQ(TARQ_AddCol(target, 1, 0, nullptr, nullptr, 'C', 0, 1, "keep"), 0);
  const Snapshot kept = Take(target);
  for (size_t len = 0; len < bytes.size(); ++len) {
    tarq_solver::IoError err;
    EXPECT_EQ(tarq_solver::ParseBin(target->problem, std::string_view(bytes).substr(0, len), err), 3) << len;
    EXPECT_EQ(tarq_solver::ParseBinUnchecked(target->problem, std::string_view(bytes).substr(0, len), err), 3) << len;
  }
  EXPECT_EQ(Take(target), kept);
}

TEST_F(BinTest, CorruptBytesFailTheChecksumOrTheStructureChecks) {
  BuildSmall(prob_);
  AddExtras(prob_);
  const std::string bytes = BinBytes(prob_);
  tarq_prob* target = NewProblem();
  ASSERT_EQ(TARQ_AddCol(target, 1, 0, nullptr, nullptr, 'C', 0, 1, "keep"), 0);
  const Snapshot kept = Take(target);
  int accepted = 0;
  for (size_t at = 0; at < bytes.size(); ++at) {
    for (unsigned char flip : {0x01, 0x80, 0xff}) {
      std::string bad = bytes;
      bad[at] = static_cast<char>(bad[at] ^ flip);
      tarq_solver::IoError err;
      EXPECT_EQ(tarq_solver::ParseBin(target->problem, bad, err), 3) << at;
      // Past the checksum, a change either still describes a valid problem or is rejected
      // without touching the problem.
      Reseal(bad);
      const int rc = tarq_solver::ParseBinUnchecked(target->problem, bad, err);
      if (rc == 0) {
        ++accepted;
        ASSERT_EQ(TARQ_ClearProb(target), 0);
        ASSERT_EQ(TARQ_AddCol(target, 1, 0, nullptr, nullptr, 'C', 0, 1, "keep"), 0);
        ASSERT_EQ(Take(target), kept);
      } else {
        EXPECT_EQ(rc, 3);
        EXPECT_EQ(Take(target), kept) << "byte " << at;
      }
    }
  }
  // Flipping value bytes (objective, bounds, matrix values) gives other valid problems; flipping
  // counts, offsets, indices, types and flags does not.
  EXPECT_GT(accepted, 0);
}

TEST_F(BinTest, NewerAndInvalidVersionsAndOtherFilesAreRejected) {
  BuildSmall(prob_);
  std::string bytes = BinBytes(prob_);
  const std::uint32_t newer = 5;
  std::memcpy(bytes.data() + 8, &newer, sizeof newer);
  Reseal(bytes);
  tarq_prob* target = NewProblem();
  const std::string path = Write("newer.bin", bytes);
  EXPECT_EQ(TARQ_ReadBin(target, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "byte 16", "file version 5 is newer than this library reads (4)");
  log_.clear();
  const std::uint32_t zero = 0;
  std::memcpy(bytes.data() + 8, &zero, sizeof zero);
  Reseal(bytes);
  const std::string zeroPath = Write("zero.bin", bytes);
  EXPECT_EQ(TARQ_ReadBin(target, zeroPath.c_str()), 3);
  EXPECT_LOGGED(log_, zeroPath, "byte 16", "file version 0 is invalid (versions start at 1)");
  log_.clear();
  const std::string text = Write("text.bin", "NAME\nROWS\nENDATA\n" + std::string(64, ' '));
  EXPECT_EQ(TARQ_ReadBin(target, text.c_str()), 3);
  EXPECT_LOGGED(log_, text, "not a binary problem file");
}

}  // namespace
}  // namespace iotest

namespace iotest {
namespace {

// Files of version 1 have no quadratic and no nonlinear sections; they still read, as problems
// without any.
TEST_F(BinTest, VersionOneFilesWithoutQuadraticSectionsStillRead) {
  BuildSmall(prob_);
  const Snapshot before = Take(prob_);
  const std::string bytes = BinBytes(prob_);
  std::string old = bytes.substr(0, 16);
  const std::uint32_t one = 1;
  std::memcpy(old.data() + 8, &one, sizeof one);
  for (size_t at = 16; at < bytes.size();) {
    std::uint32_t tag = 0;
    std::uint64_t len = 0;
    std::memcpy(&tag, bytes.data() + at, sizeof tag);
    std::memcpy(&len, bytes.data() + at + 8, sizeof len);
    if (tag < 8 || tag > 11) old += bytes.substr(at, 16 + len);
    at += 16 + len;
  }
  ASSERT_LT(old.size(), bytes.size());
  Reseal(old);
  tarq_prob* target = NewProblem();
  const int r[1] = {0};
  const double v[1] = {1};
  ASSERT_EQ(TARQ_AddCol(target, 0, 0, nullptr, nullptr, 'C', 0, 1, "q"), 0);
  ASSERT_EQ(TARQ_SetQuadObj(target, 1, r, r, v), 0);
  const std::string path = Write("v1.bin", old);
  ASSERT_EQ(TARQ_ReadBin(target, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(target), before) << "the quadratic objective of the target is gone with the rest";
}

// Version 3 files have no semidefinite section: one without it reads, and a semidefinite section
// in a file that says version 3 is refused.
TEST_F(BinTest, VersionThreeFilesReadWithoutTheSemidefiniteSection) {
  BuildSmall(prob_);
  const Snapshot plain = Take(prob_);
  std::string three = BinBytes(prob_);
  const std::uint32_t version = 3;
  std::memcpy(three.data() + 8, &version, sizeof version);
  Reseal(three);
  tarq_prob* target = NewProblem();
  ASSERT_EQ(TARQ_ReadBin(target, Write("v3.bin", three).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(target), plain);

  AddExtras(prob_);
  std::string withPsd = BinBytes(prob_);
  std::memcpy(withPsd.data() + 8, &version, sizeof version);
  Reseal(withPsd);
  const std::string path = Write("v3psd.bin", withPsd);
  EXPECT_EQ(TARQ_ReadBin(target, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "unexpected section");
  EXPECT_EQ(Take(target), plain);
}

}  // namespace
}  // namespace iotest
