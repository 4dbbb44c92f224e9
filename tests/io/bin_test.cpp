#include <zlib.h>

#include <cstring>

#include "common/psd_dump.h"
#include "io/formats.h"
#include "io_fixture.h"

namespace iotest {
namespace {

using BinTest = IoTest;

// SOS constraints (given and default weights), indicator rows (named and unnamed, one without
// entries), quadratic and rotated cones, and both kinds of exponential cone, over the columns
// 0-4 of the small model with its extras (column 2 is binary).
void AddSosCone(tarq_prob* prob) {
  const int st[] = {TARQ_SOS_TYPE1}, sb[] = {0, 3}, si[] = {0, 1, 3};
  const double sw[] = {1, 2.5, -3};
  ASSERT_EQ(TARQ_AddSOSs(prob, 1, st, sb, nullptr, si, sw), 0);
  const int st2[] = {TARQ_SOS_TYPE2}, sb2[] = {0, 2}, si2[] = {4, 2};
  ASSERT_EQ(TARQ_AddSOSs(prob, 1, st2, sb2, nullptr, si2, nullptr), 0);
  const int it[] = {0, 5}, bins[] = {2, 2}, vals[] = {1, 0}, ib[] = {0, 2, 2}, ii[] = {0, 3};
  const double iv[] = {1, -2}, bounds[] = {4, 0.5};
  const char* names[] = {"ind", nullptr};
  ASSERT_EQ(TARQ_AddIndicators(prob, 2, it, bins, vals, ib, nullptr, ii, iv, "LE", bounds, names), 0);
  const int ct[] = {TARQ_CONE_QUAD, TARQ_CONE_RQUAD}, cb[] = {0, 2, 5}, ci[] = {3, 0, 0, 3, 4};
  ASSERT_EQ(TARQ_AddCones(prob, 2, ct, cb, nullptr, ci), 0);
  const int et[] = {TARQ_EXPCONE_PRIMAL, TARQ_EXPCONE_DUAL}, ei[] = {0, 3, 4, 4, 3, 0};
  ASSERT_EQ(TARQ_AddExpCones(prob, 2, et, ei), 0);
}

// Every SOS, indicator and cone constraint the problem holds, with the indicator rows' explicit names.
std::string SosConeDump(tarq_prob* prob) {
  const tarq_solver::SosConeStore& s = prob->problem.SosCone();
  std::ostringstream out;
  for (int k = 0; k < s.sos.Size(); ++k) {
    out << "sos " << s.sos.type[k] << ":";
    for (auto p = s.sos.Begin(k); p < s.sos.End(k); ++p) out << " " << s.sos.col[p] << "@" << s.sos.weight[p];
    out << "\n";
  }
  const tarq_solver::IndicatorTable& t = s.indicators;
  for (int k = 0; k < t.Size(); ++k) {
    out << "ind '" << t.names.Explicit(k) << "' " << t.type[k] << " x" << t.binCol[k] << "=" << t.binVal[k] << ":";
    for (auto p = t.Begin(k); p < t.End(k); ++p) out << " " << t.col[p] << "*" << t.val[p];
    out << " " << t.sense[k] << " " << t.bound[k] << "\n";
  }
  for (int k = 0; k < s.cones.Size(); ++k) {
    out << "cone " << s.cones.type[k] << ":";
    for (auto p = s.cones.Begin(k); p < s.cones.End(k); ++p) out << " " << s.cones.col[p];
    out << "\n";
  }
  for (int k = 0; k < s.expCones.Size(); ++k) {
    out << "exp " << s.expCones.type[k] << ": " << s.expCones.col[3 * k] << " " << s.expCones.col[3 * k + 1] << " "
        << s.expCones.col[3 * k + 2] << "\n";
  }
  return out.str();
}

// The small model plus everything else a problem stores: branch factors, MIP starts, an unnamed
// column and row among named ones, a row with crossed bounds, quadratic terms (repeated, in both
// orders) in the objective and in quadratic rows, semidefinite parts (matrices, a named and an
// unnamed PSD column, the PSD objective, a PSD row and an LMI row), and the SOS, indicator and cone constraints
// of AddSosCone.
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
  AddSosCone(prob);
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
  const std::string sosConeBefore = SosConeDump(prob_);
  ASSERT_NE(sosConeBefore.find("ind 'ind' 0 x2=1: 0*1 3*-2 L 4\n"), std::string::npos) << sosConeBefore;
  ASSERT_NE(sosConeBefore.find("exp 4: 4 3 0\n"), std::string::npos) << sosConeBefore;
  const std::string path = Path("all.bin");
  ASSERT_EQ(TARQ_WriteBin(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_AddCol(back, 1, 0, nullptr, nullptr, 'I', 0, 1, "old"), 0);  // replaced entirely
  ASSERT_EQ(TARQ_ReadBin(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(back), before);
  EXPECT_EQ(PsdDump(back), psdBefore);
  EXPECT_EQ(SosConeDump(back), sosConeBefore);
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
  const std::uint32_t newer = 6;
  std::memcpy(bytes.data() + 8, &newer, sizeof newer);
  Reseal(bytes);
  tarq_prob* target = NewProblem();
  const std::string path = Write("newer.bin", bytes);
  EXPECT_EQ(TARQ_ReadBin(target, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "byte 16", "file version 6 is newer than this library reads (5)");
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

namespace iotest {
namespace {

// The file's sections, as (tag, bytes with the section header) pairs.
std::vector<std::pair<std::uint32_t, std::string>> SectionsOf(const std::string& bytes) {
  std::vector<std::pair<std::uint32_t, std::string>> out;
  for (size_t at = 16; at < bytes.size();) {
    std::uint32_t tag = 0;
    std::uint64_t len = 0;
    std::memcpy(&tag, bytes.data() + at, sizeof tag);
    std::memcpy(&len, bytes.data() + at + 8, sizeof len);
    out.emplace_back(tag, bytes.substr(at, 16 + len));
    at += 16 + len;
  }
  return out;
}

// Version 4 files have no SOS, indicator or cone sections: one without them reads, and such a
// section in a file that says version 4 is refused without changing the problem.
TEST_F(BinTest, VersionFourFilesReadWithoutTheSosConeSections) {
  BuildSmall(prob_);
  AddExtras(prob_);
  const std::string bytes = BinBytes(prob_);
  const auto sections = SectionsOf(bytes);
  std::string four = bytes.substr(0, 16), fourWithCones = bytes.substr(0, 16);
  const std::uint32_t version = 4;
  std::memcpy(four.data() + 8, &version, sizeof version);
  std::memcpy(fourWithCones.data() + 8, &version, sizeof version);
  int sosCones = 0;
  for (const auto& [tag, text] : sections) {
    const bool isSosCone = tag >= 13 && tag <= 16;
    sosCones += isSosCone ? 1 : 0;
    if (!isSosCone) four += text;
    if (!isSosCone || tag == 15) fourWithCones += text;
  }
  ASSERT_EQ(sosCones, 4);
  Reseal(four);
  Reseal(fourWithCones);
  tarq_prob* target = NewProblem();
  ASSERT_EQ(TARQ_ReadBin(target, Write("v4.bin", four).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(target), WithoutSosCone(Take(prob_)));
  EXPECT_EQ(PsdDump(target), PsdDump(prob_));
  EXPECT_EQ(SosConeDump(target), "");

  AddSosCone(target);
  const std::string held = SosConeDump(target);
  const std::string path = Write("v4cones.bin", fourWithCones);
  EXPECT_EQ(TARQ_ReadBin(target, path.c_str()), 3);
  EXPECT_LOGGED(log_, path, "unexpected section");
  EXPECT_EQ(SosConeDump(target), held);

  // A problem without SOS, indicator and cone constraints writes none of their sections.
  ASSERT_EQ(TARQ_DelSOSs(prob_, 2, nullptr), 0);
  ASSERT_EQ(TARQ_DelIndicators(prob_, 2, nullptr), 0);
  ASSERT_EQ(TARQ_DelCones(prob_, 2, nullptr), 0);
  ASSERT_EQ(TARQ_DelExpCones(prob_, 2, nullptr), 0);
  for (const auto& [tag, text] : SectionsOf(BinBytes(prob_))) EXPECT_TRUE(tag < 13 || tag > 16) << tag;
}

// Sections that describe invalid SOS, indicator and cone constraints are refused with their kind named, and the
// problem keeps what it held. The file is edited in place: one field of one section changed.
TEST_F(BinTest, InvalidSosConeSectionsAreRefusedAndChangeNothing) {
  BuildSmall(prob_);
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 1, nullptr), 0);
  AddSosCone(prob_);
  const std::string bytes = BinBytes(prob_);
  tarq_prob* target = NewProblem();
  BuildSmall(target);
  ASSERT_EQ(TARQ_AddCol(target, 0, 0, nullptr, nullptr, 'C', 0, 1, nullptr), 0);
  AddSosCone(target);
  ASSERT_EQ(TARQ_DelSOSs(target, 1, nullptr), 0);
  const std::string held = SosConeDump(target);
  const Snapshot kept = Take(target);
  // Byte offset of the payload of a section, by tag.
  auto payload = [&](std::uint32_t want) {
    size_t at = 16;
    for (const auto& [tag, text] : SectionsOf(bytes)) {
      if (tag == want) return at + 16;
      at += text.size();
    }
    ADD_FAILURE() << "no section " << want;
    return size_t{0};
  };
  struct Edit {
    std::uint32_t tag;
    size_t offset;  // within the payload
    std::int32_t value;
    const char* message;
  };
  // SOS payload: count 2, types at 4, begin (i64) at 12, columns at 36. Indicators: count 2,
  // types at 4, indicator columns at 12, values at 20, senses at 28. Cones: count 2, types at 4,
  // begin at 12, columns at 36. Exponential cones: count 2, types at 4, columns at 12.
  const std::vector<Edit> edits = {
      {13, 4, 3, "invalid SOS constraints"},         {13, 36, 1, "invalid SOS constraints"},
      {13, 36, 99, "invalid SOS constraints"},       {14, 12, 99, "invalid indicator rows"},
      {14, 20, 2, "invalid indicator rows"},         {14, 28, 'N', "invalid indicator rows"},
      {14, 12, -1, "invalid indicator rows"},        {15, 4, 3, "invalid cones"},
      {15, 40, 3, "invalid cones"},                  {15, 20, 1, "invalid cones"},
      {16, 4, TARQ_CONE_QUAD, "invalid exponential cones"}, {16, 12, 3, "invalid exponential cones"},
      {16, 16, 5, "invalid exponential cones"},
  };
  for (const Edit& e : edits) {
    std::string bad = bytes;
    if (e.tag == 14 && e.offset == 28) {
      bad[payload(e.tag) + e.offset] = static_cast<char>(e.value);
    } else if (e.tag == 15 && e.offset == 20) {
      // The first cone's end offset 2 -> 1: a quadratic cone of one column.
      const std::int64_t one = 1;
      std::memcpy(bad.data() + payload(e.tag) + e.offset, &one, sizeof one);
    } else {
      std::memcpy(bad.data() + payload(e.tag) + e.offset, &e.value, sizeof e.value);
    }
    Reseal(bad);
    log_.clear();
    const std::string path = Write("bad.bin", bad);
    EXPECT_EQ(TARQ_ReadBin(target, path.c_str()), 3) << e.message << " " << e.offset;
    EXPECT_LOGGED(log_, path, e.message);
    EXPECT_EQ(SosConeDump(target), held) << e.message;
    EXPECT_EQ(Take(target), kept) << e.message;
  }
  // The unedited file reads.
  ASSERT_EQ(TARQ_ReadBin(target, Write("good.bin", bytes).c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(SosConeDump(target), SosConeDump(prob_));
}

// The store keeps an indicator row whose column was made continuous after it was added; its file
// reads back, although such a row could not be added now.
TEST_F(BinTest, IndicatorOnAColumnMadeContinuousRoundTrips) {
  BuildSmall(prob_);
  ASSERT_EQ(TARQ_AddCol(prob_, 0, 0, nullptr, nullptr, 'C', 0, 1, nullptr), 0);
  AddSosCone(prob_);
  const int z = 2;
  const char cont = 'C';
  ASSERT_EQ(TARQ_SetColType(prob_, 1, &z, &cont), 0);
  const std::string path = Path("relaxed.bin");
  ASSERT_EQ(TARQ_WriteBin(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadBin(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(SosConeDump(back), SosConeDump(prob_));
  EXPECT_EQ(Take(back), Take(prob_));
}

// Formats without SOS constraints, indicator rows or cones refuse problems that have them.
TEST_F(BinTest, SdpaAndNlWritersRefuseSosConeConstraints) {
  for (int j = 0; j < 3; ++j) ASSERT_EQ(TARQ_AddCol(prob_, 1, 0, nullptr, nullptr, 'C', -kInf, kInf, nullptr), 0);
  const int row[] = {0, 1, 2};
  const double one[] = {1, 1, 1};
  ASSERT_EQ(TARQ_AddRow(prob_, 3, row, one, 'E', 1, 0, nullptr), 0);
  const int ct[] = {TARQ_CONE_QUAD}, cb[] = {0, 3};
  ASSERT_EQ(TARQ_AddCones(prob_, 1, ct, cb, nullptr, row), 0);
  EXPECT_EQ(TARQ_WriteSDPA(prob_, Path("cone.dat-s").c_str()), 3);
  EXPECT_LOGGED(log_, "cone.dat-s", "SOS constraints, indicator rows and cones cannot be written in the SDPA format");
  EXPECT_FALSE(std::filesystem::exists(Path("cone.dat-s")));
  log_.clear();
  EXPECT_EQ(TARQ_WriteNL(prob_, Path("cone.nl").c_str()), 3);
  EXPECT_LOGGED(log_, "cone.nl", "the .nl format cannot hold SOS constraints, indicator rows or cones");
  EXPECT_FALSE(std::filesystem::exists(Path("cone.nl")));
  log_.clear();
  ASSERT_EQ(TARQ_DelCones(prob_, 1, nullptr), 0);
  const int st[] = {1};
  ASSERT_EQ(TARQ_AddSOSs(prob_, 1, st, cb, nullptr, row, nullptr), 0);
  EXPECT_EQ(TARQ_WriteNL(prob_, Path("sos.nl").c_str()), 3);
  EXPECT_LOGGED(log_, "sos.nl", "cannot hold SOS constraints");
  ASSERT_EQ(TARQ_DelSOSs(prob_, 1, nullptr), 0);
  EXPECT_EQ(TARQ_WriteNL(prob_, Path("plain.nl").c_str()), 0);  // the refusal was for the cone
}

}  // namespace
}  // namespace iotest
