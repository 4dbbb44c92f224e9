// Malformed files: every reader returns 2 or 3, logs exactly one line naming the file, the line
// and the fault, and leaves the problem exactly as it was.
#include <zlib.h>

#include "io_fixture.h"

namespace iotest {
namespace {

using Reader = int (*)(tarq_prob*, const char*);

struct BadFile {
  const char* what;
  Reader read;
  const char* suffix;
  std::string content;
  int code;
  const char* where;  // "line N", or "" when no position applies
  const char* fault;
};

const std::string kCbfHead = "VER\n3\nVAR\n2 1\nF 2\nCON\n1 1\nL+ 1\n";
const std::string kMpsHead = "NAME t\nROWS\n N obj\n L lim\nCOLUMNS\n";

const BadFile kBadFiles[] = {
    // MPS
    {"MPS truncated", TARQ_ReadMps, ".mps", kMpsHead + " x obj 1 lim 2\nRHS\n rhs lim 4\n", 3, "line 8", "missing ENDATA"},
    {"MPS bad number", TARQ_ReadMps, ".mps", kMpsHead + " x obj 1 lim 2.5.1\nENDATA\n", 3, "line 6", "bad number \"2.5.1\""},
    {"MPS unknown section", TARQ_ReadMps, ".mps", kMpsHead + " x obj 1\nFOO\nENDATA\n", 3, "line 7", "unknown section \"FOO\""},
    {"MPS unsupported section", TARQ_ReadMps, ".mps", kMpsHead + " x obj 1\nQSECTION obj\n x x 1\nENDATA\n", 3,
     "line 7", "QSECTION section is not supported"},
    {"MPS quadratic term on unknown column", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nQUADOBJ\n x y 1\nENDATA\n", 3,
     "line 8", "unknown column \"y\""},
    {"MPS infinite quadratic term", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nQMATRIX\n x x -1e30\nENDATA\n", 3,
     "line 8", "quadratic coefficient \"-1e30\" is out of range"},
    {"MPS quadratic line short", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nQUADOBJ\n x 1\nENDATA\n", 3, "line 8",
     "expected two column names and a value"},
    {"MPS QCMATRIX of unknown row", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nQCMATRIX nope\n x x 1\nENDATA\n", 3,
     "line 7", "unknown row \"nope\""},
    {"MPS QCMATRIX of the objective", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nQCMATRIX obj\n x x 1\nENDATA\n", 3,
     "line 7", "QCMATRIX for the free row \"obj\""},
    {"MPS QCMATRIX twice", TARQ_ReadMps, ".mps",
     kMpsHead + " x lim 1\nQCMATRIX lim\n x x 1\nQCMATRIX lim\nENDATA\n", 3, "line 9",
     "a second QCMATRIX for row \"lim\""},
    {"MPS range on a quadratic row", TARQ_ReadMps, ".mps",
     kMpsHead + " x lim 1\nRHS\n r lim 2\nRANGES\n r lim 1\nQCMATRIX lim\n x x 1\nENDATA\n", 3, "line 13",
     "a range for the quadratic row \"lim\""},
    {"MPS duplicate row", TARQ_ReadMps, ".mps", "NAME\nROWS\n N obj\n L lim\n G lim\nCOLUMNS\nENDATA\n", 3, "line 5",
     "duplicate row name \"lim\""},
    {"MPS column in undeclared row", TARQ_ReadMps, ".mps", kMpsHead + " x obj 1\n x other 2\nENDATA\n", 3, "line 7",
     "unknown row \"other\""},
    {"MPS bound on unknown column", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nBOUNDS\n UP b y 4\nENDATA\n", 3, "line 8",
     "unknown column \"y\""},
    {"MPS column split in two", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\n y lim 1\n x obj 1\nENDATA\n", 3, "line 8",
     "column \"x\" appears again"},
    {"MPS entry twice", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1 lim 2\nENDATA\n", 3, "line 6",
     "duplicate entry for row \"lim\" in column \"x\""},
    {"MPS unknown bound type", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nBOUNDS\n XX b x 4\nENDATA\n", 3, "line 8",
     "unknown bound type \"XX\""},
    {"MPS semi-continuous", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nBOUNDS\n SC b x 4\nENDATA\n", 3, "line 8",
     "semi-continuous bounds (SC) are not supported"},
    {"MPS infinite coefficient", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1e30\nENDATA\n", 3, "line 6",
     "coefficient \"1e30\" is out of range"},
    {"MPS infinite equality", TARQ_ReadMps, ".mps", "NAME\nROWS\n N obj\n E eq\nCOLUMNS\n x eq 1\nRHS\n r eq -1e31\nENDATA\n",
     3, "line 8", "infinite right-hand side"},
    {"MPS lower bound +inf", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nBOUNDS\n LO b x inf\nENDATA\n", 3, "line 8",
     "lower bound \"inf\" is +infinity"},
    {"MPS data before a section", TARQ_ReadMps, ".mps", " x obj 1\nENDATA\n", 3, "line 1", "data line outside a section"},
    {"MPS unknown row type", TARQ_ReadMps, ".mps", "NAME\nROWS\n Q r\nENDATA\n", 3, "line 3", "unknown row type \"Q\""},
    {"MPS SOS marker", TARQ_ReadMps, ".mps", kMpsHead + " s 'MARKER' 'SOSORG'\nENDATA\n", 3, "line 6",
     "SOS markers are not supported"},
    {"MPS SOS member of unknown column", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nSOS\n S1 SOS s1\n    q:1\nENDATA\n", 3,
     "line 9", "unknown column \"q\""},
    {"MPS SOS member before a set", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nSOS\n    x:1\nENDATA\n", 3, "line 8",
     "an SOS member before any set"},
    {"MPS SOS set of unknown type", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nSOS\n S3 SOS s1\nENDATA\n", 3, "line 8",
     "expected an SOS set (S1 or S2) or a member"},
    {"MPS SOS weights repeated", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\n y lim 1\nSOS\n S2 s\n x 1\n y 1\nENDATA\n", 3,
     "line 9", "two members of one SOS set have the same weight"},
    {"MPS SOS set without members", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nSOS\n S1 s\nENDATA\n", 3, "line 8",
     "an SOS set without members"},
    {"MPS indicator on the objective", TARQ_ReadMps, ".mps",
     kMpsHead + " x lim 1\n b lim 1\nBOUNDS\n BV bnd b\nINDICATORS\n IF obj b 1\nENDATA\n", 3, "line 11", "unknown row \"obj\""},
    {"MPS indicator column not binary", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nINDICATORS\n IF lim x 1\nENDATA\n", 3,
     "line 8", "the indicator column \"x\" is not binary"},
    {"MPS indicator value 2", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nINDICATORS\n IF lim x 2\nENDATA\n", 3, "line 8",
     "an indicator value must be 0 or 1, found \"2\""},
    {"MPS indicator on a ranged row", TARQ_ReadMps, ".mps",
     kMpsHead + " b lim 1\nRANGES\n r lim 1\nBOUNDS\n BV bnd b\nINDICATORS\n IF lim b 1\nENDATA\n", 3, "line 12",
     "the ranged row \"lim\" cannot be an indicator row"},
    {"MPS indicator twice", TARQ_ReadMps, ".mps",
     kMpsHead + " b lim 1\nBOUNDS\n BV bnd b\nINDICATORS\n IF lim b 1\n IF lim b 0\nENDATA\n", 3, "line 11",
     "a second IF for row \"lim\""},
    {"MPS indicator line short", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nINDICATORS\n IF lim x\nENDATA\n", 3, "line 8",
     "expected IF row column value"},
    {"MPS cone of unknown type", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nCSECTION k 0 PEXP\n x\nENDATA\n", 3, "line 7",
     "cone type \"PEXP\" is not supported (QUAD and RQUAD are)"},
    {"MPS cone too small", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\n y lim 1\nCSECTION k 0 RQUAD\n x\n y\nENDATA\n", 3,
     "line 8", "a RQUAD cone needs 3 or more columns, it has 2"},
    {"MPS cone member twice", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nCSECTION k 0 QUAD\n x\n x\nENDATA\n", 3, "line 9",
     "column \"x\" twice in one cone"},
    {"MPS cone header short", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nCSECTION k QUAD\n x\nENDATA\n", 3, "line 7",
     "expected CSECTION name parameter QUAD or RQUAD"},
    {"MPS SOS after ENDATA", TARQ_ReadMps, ".mps", kMpsHead + " x lim 1\nENDATA\nSOS\n S1 SOS s\n x:1\n", 3, "line 8",
     "the SOS section (after ENDATA) is not supported"},
    {"MPS empty file", TARQ_ReadMps, ".mps", "", 3, "", "missing ENDATA"},
    // Free form fails at line 3 (a name with a blank); fixed form gets to line 7, and its fault
    // is the one reported.
    {"MPS fixed form fault", TARQ_ReadMps, ".mps",
     "NAME\nROWS\n L  ROW 1\n N  COST\nCOLUMNS\n    X 1       ROW 1              1.\n    X 1       ROW 2              1.\nENDATA\n",
     3, "line 7", "unknown row \"ROW 2\""},
    // LP
    {"LP truncated", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: x + y <= 4\n", 3, "line 5", "missing End"},
    {"LP bad number", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: x + y <= 4.5.1\nEnd\n", 3, "line 4",
     "unexpected \".1\""},
    {"LP no operator", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: x + y\nEnd\n", 3, "line 5",
     "expected <=, >= or =, found \"End\""},
    {"LP missing plus", TARQ_ReadLp, ".lp", "Minimize\n obj: x y\nEnd\n", 3, "line 2", "expected +, - or an operator, found \"y\""},
    {"LP duplicate row", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: x <= 4\n c: x >= 1\nEnd\n", 3, "line 5",
     "duplicate row name \"c\""},
    {"LP cube", TARQ_ReadLp, ".lp", "Minimize\n obj: x + [ x ^ 3 ] / 2\nEnd\n", 3, "line 2", "expected the exponent 2"},
    {"LP product without operator", TARQ_ReadLp, ".lp", "Minimize\n obj: [ x y ] / 2\nEnd\n", 3, "line 2",
     "expected ^ 2 or * and a variable"},
    {"LP open bracket", TARQ_ReadLp, ".lp", "Minimize\n obj: [ x ^ 2\nEnd\n", 3, "line 3", "expected +, - or ]"},
    {"LP quadratic ranged row", TARQ_ReadLp, ".lp",
     "Minimize\n obj: x\nSubject To\n c: 1 <= x + [ x ^ 2 ] <= 4\nEnd\n", 3, "line 4",
     "a ranged row cannot have quadratic terms"},
    {"LP infinite quadratic row", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: [ x ^ 2 ] <= inf\nEnd\n", 3,
     "line 4", "a quadratic row needs a finite right-hand side"},
    {"LP variable on the right", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: x <= y\nEnd\n", 3, "line 4",
     "variables on the right-hand side"},
    {"LP no objective", TARQ_ReadLp, ".lp", "Subject To\n c: x <= 1\nEnd\n", 3, "line 1", "expected Minimize or Maximize"},
    {"LP second objective", TARQ_ReadLp, ".lp", "Minimize\n x\nMaximize\n y\nEnd\n", 3, "line 4", "a second objective"},
    {"LP infinite lower bound", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nBounds\n x >= inf\nEnd\n", 3, "line 4",
     "a lower bound of +infinity"},
    {"LP mixed range", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSubject To\n c: 1 <= x >= 0\nEnd\n", 3, "line 4",
     "a ranged row needs two <= or two >="},
    {"LP semi-continuous", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nSemi-Continuous\n x\nEnd\n", 3, "line 3",
     "semi-continuous sections are not supported"},
    {"LP stray character", TARQ_ReadLp, ".lp", "Minimize\n obj: x + ^y\nEnd\n", 3, "line 2", "expected a term, found \"^\""},
    {"LP two statements on a line", TARQ_ReadLp, ".lp", "Minimize\n obj: x\nBounds\n x <= 4 y <= 3\nEnd\n", 3, "line 4",
     "unexpected \"y\" after the end of a statement"},
    // CBF
    {"CBF unknown section", TARQ_ReadCbf, ".cbf", kCbfHead + "FOO\n", 3, "line 9", "unknown section \"FOO\""},
    {"CBF unknown domain", TARQ_ReadCbf, ".cbf", "VER\n1\nVAR\n2 1\nX 2\n", 3, "line 5", "VAR: unknown domain \"X\""},
    {"CBF power cone", TARQ_ReadCbf, ".cbf", "VER\n3\nVAR\n3 1\n@0:POW 3\n", 3, "line 5", "power cones"},
    {"CBF power cone section", TARQ_ReadCbf, ".cbf", "VER\n3\nPOWCONES\n1 2\n", 3, "line 3",
     "power cones (POWCONES section) are not supported"},
    {"CBF semidefinite variable of dimension 0", TARQ_ReadCbf, ".cbf", "VER\n1\nPSDVAR\n2\n2\n0\n", 3, "line 6",
     "PSDVAR: invalid dimension \"0\" (at least 1)"},
    {"CBF semidefinite coefficients before PSDCON", TARQ_ReadCbf, ".cbf", kCbfHead + "HCOORD\n0\n", 3, "line 9",
     "the HCOORD section needs a PSDCON section before it"},
    {"CBF domains short of the count", TARQ_ReadCbf, ".cbf", "VER\n1\nVAR\n3 1\nF 2\n", 3, "line 5",
     "VAR: the domains cover 2 members, the count is 3"},
    {"CBF domains beyond the count", TARQ_ReadCbf, ".cbf", "VER\n1\nCON\n3 2\nL+ 2\nL- 2\n", 3, "line 6",
     "CON: the domains cover 4 members, the count is 3"},
    {"CBF fewer entries than counted", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n2\n0 0 1\n", 3, "line 11",
     "the file ends within the ACOORD section"},
    {"CBF entries cut short by a section", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n2\n0 0 1\nBCOORD\n1\n0 1\n", 3,
     "line 12", "ACOORD: expected a row index, a variable index and a value, found \"BCOORD\""},
    {"CBF truncated line", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n1\n0 0\n", 3, "line 11",
     "ACOORD: expected a row index, a variable index and a value, found \"0 0\""},
    {"CBF variable out of range", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n1\n0 2 1\n", 3, "line 11",
     "variable index 2 out of range 0..1"},
    {"CBF row out of range", TARQ_ReadCbf, ".cbf", kCbfHead + "BCOORD\n1\n1 1\n", 3, "line 11",
     "row index 1 out of range 0..0"},
    {"CBF integer out of range", TARQ_ReadCbf, ".cbf", kCbfHead + "INT\n1\n-1\n", 3, "line 11",
     "variable index -1 out of range 0..1"},
    {"CBF entry twice", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n2\n0 1 1\n0 1 2\n", 3, "line 12",
     "ACOORD: entry of variable 1 in this row given twice"},
    {"CBF bad number", TARQ_ReadCbf, ".cbf", kCbfHead + "OBJACOORD\n1\n0 1.2.3\n", 3, "line 11",
     "invalid value \"1.2.3\""},
    {"CBF infinite coefficient", TARQ_ReadCbf, ".cbf", kCbfHead + "ACOORD\n1\n0 0 1e30\n", 3, "line 11",
     "invalid value \"1e30\""},
    {"CBF exponential cone of two", TARQ_ReadCbf, ".cbf", "VER\n3\nVAR\n2 1\nEXP 2\n", 3, "line 5",
     "VAR: an EXP domain has 3 members, not 2"},
    {"CBF rotated cone of one", TARQ_ReadCbf, ".cbf", "VER\n3\nVAR\n1 1\nQR 1\n", 3, "line 5",
     "VAR: a QR domain needs at least 2 members"},
    {"CBF unknown sense", TARQ_ReadCbf, ".cbf", "VER\n1\nOBJSENSE\nMINIMIZE\n", 3, "line 4",
     "OBJSENSE: expected MIN or MAX, found \"MINIMIZE\""},
    {"CBF version 4", TARQ_ReadCbf, ".cbf", "VER\n4\n", 3, "line 2", "CBF version 4 is not supported"},
    {"CBF no version first", TARQ_ReadCbf, ".cbf", "# c\nVAR\n1 1\nF 1\n", 3, "line 2",
     "the file must begin with VER, found \"VAR\""},
    {"CBF section twice", TARQ_ReadCbf, ".cbf", kCbfHead + "VAR\n1 1\nF 1\n", 3, "line 9", "a second VAR section"},
    {"CBF coefficients before the rows", TARQ_ReadCbf, ".cbf", "VER\n1\nVAR\n1 1\nF 1\nACOORD\n0\n", 3, "line 6",
     "the ACOORD section needs a CON section before it"},
    {"CBF objective before the variables", TARQ_ReadCbf, ".cbf", "VER\n1\nOBJACOORD\n0\n", 3, "line 3",
     "the OBJACOORD section needs a VAR section before it"},
    {"CBF two fields for a section", TARQ_ReadCbf, ".cbf", "VER 1\n", 3, "line 1", "expected a section name"},
    {"CBF empty file", TARQ_ReadCbf, ".cbf", "", 3, "", "the file has no VER section"},
    {"LP indicator without column = value", TARQ_ReadLp, ".lp",
     "Maximize\n obj: x + y\nSubject To\n c: b + x = 1 -> x <= 2\nBinaries\n b\nEnd\n", 3, "line 4",
     "an indicator needs \"column = 0\" or \"column = 1\" before ->"},
    {"LP indicator column not binary", TARQ_ReadLp, ".lp", "Maximize\n obj: x + y\nSubject To\n c: x = 1 -> y <= 2\nEnd\n",
     3, "line 4", "the indicator column \"x\" is not binary"},
    {"LP indicator with a quadratic row", TARQ_ReadLp, ".lp",
     "Maximize\n obj: x + y\nSubject To\n c: b = 1 -> [ x ^ 2 ] <= 2\nBinaries\n b\nEnd\n", 3, "line 4",
     "an indicator's row cannot have quadratic terms"},
    {"LP unknown SOS type", TARQ_ReadLp, ".lp", "Maximize\n obj: x + y\nSubject To\n c: x + y <= 1\nSOS\n s: S3:: x:1\nEnd\n", 3,
     "line 6", "unknown SOS type \"S3\" (S1 or S2)"},
    {"LP SOS member twice", TARQ_ReadLp, ".lp", "Maximize\n obj: x + y\nSubject To\n c: x + y <= 1\nSOS\n S1:: x:1 x:2\nEnd\n",
     3, "line 6", "column \"x\" twice in one SOS set"},
    {"LP SOS weights repeated", TARQ_ReadLp, ".lp", "Maximize\n obj: x + y\nSubject To\n c: x + y <= 1\nSOS\n S2:: x:1 y:1\nEnd\n",
     3, "line 6", "two members of one SOS set have the same weight"},
    {"LP SOS member without weight", TARQ_ReadLp, ".lp",
     "Maximize\n obj: x + y\nSubject To\n c: x + y <= 1\nSOS\n S1:: x y:1\nEnd\n", 3, "line 6", "expected :, found \"y\""},
    // MIP start and branching order files need columns x and w (the fixture's model has them).
    {"MST unknown column", TARQ_ReadMst, ".mst", "# start\nx 1\nnope 2\n", 3, "line 3", "unknown column \"nope\""},
    {"MST column twice", TARQ_ReadMst, ".mst", "x 1\nw 2\nx 3\n", 3, "line 3", "column \"x\" appears twice"},
    {"MST bad number", TARQ_ReadMst, ".mst", "x 1\nw 2,5\n", 3, "line 2", "bad number \"2,5\""},
    {"MST no value", TARQ_ReadMst, ".mst", "x 1\nw\n", 3, "line 2", "expected a column name and a value"},
    {"MST infinite value", TARQ_ReadMst, ".mst", "x 1e29\nw 1e30\n", 3, "line 2", "value \"1e30\" is out of range"},
    {"ORD unknown column", TARQ_ReadOrd, ".ord", "x 2\ny 1\nzz 3\n", 3, "line 3", "unknown column \"zz\""},
    {"ORD NaN", TARQ_ReadOrd, ".ord", "x nan\n", 3, "line 1", "bad number \"nan\""},
    // Binary
    {"BIN text file", TARQ_ReadBin, ".bin", "Minimize\n obj: x\nEnd\n" + std::string(40, ' '), 3, "", "not a binary problem file"},
    {"BIN too short", TARQ_ReadBin, ".bin", "TARQBIN", 3, "", "the file is too short"},
};

class BadInputTest : public IoTest, public testing::WithParamInterface<BadFile> {};

TEST_P(BadInputTest, IsRejectedWithOneLogLineAndChangesNothing) {
  const BadFile& c = GetParam();
  BuildSmall(prob_);
  const double factors[] = {1, 0, 0, 2};
  ASSERT_EQ(TARQ_SetColBranchFactors(prob_, 4, nullptr, factors), 0);
  const double start[] = {1, 2};
  ASSERT_EQ(TARQ_AddMipStart(prob_, 2, nullptr, start), 0);
  const Snapshot before = Take(prob_);
  const std::string path = Write(std::string("bad") + c.suffix, c.content);
  EXPECT_EQ(c.read(prob_, path.c_str()), c.code);
  EXPECT_LOGGED(log_, "\"" + path + "\"", c.where, c.fault);
  EXPECT_EQ(Take(prob_), before);
}

std::string CaseName(const testing::TestParamInfo<BadFile>& info) {
  std::string name = info.param.what;
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(Files, BadInputTest, testing::ValuesIn(kBadFiles), CaseName);

// Files that cannot be opened or decompressed: code 2, no position.
TEST_F(IoTest, UnreadableFilesReturnTwo) {
  BuildSmall(prob_);
  const Snapshot before = Take(prob_);
  const std::string missing = Path("missing.mps");
  EXPECT_EQ(TARQ_ReadMps(prob_, missing.c_str()), 2);
  EXPECT_LOGGED(log_, "\"" + missing + "\"", "cannot open the file");
  log_.clear();

  EXPECT_EQ(TARQ_ReadLp(prob_, dir_.c_str()), 2);  // a directory
  EXPECT_LOGGED(log_, dir_.string(), "cannot read the file");
  log_.clear();

  // A valid gzip header followed by garbage.
  std::string gz = Write("corrupt.mps.gz", std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + "not deflate data");
  EXPECT_EQ(TARQ_ReadMps(prob_, gz.c_str()), 2);
  EXPECT_LOGGED(log_, gz, "corrupt gzip data");
  log_.clear();

  EXPECT_EQ(TARQ_WriteMps(prob_, (dir_ / "no" / "such" / "dir.mps").c_str()), 2);
  EXPECT_LOGGED(log_, "dir.mps", "cannot open the file for writing");
  log_.clear();

  // Null or empty names are invalid arguments and log nothing.
  EXPECT_EQ(TARQ_ReadMps(prob_, nullptr), 3);
  EXPECT_EQ(TARQ_ReadLp(prob_, ""), 3);
  EXPECT_EQ(TARQ_WriteLp(prob_, ""), 3);
  EXPECT_EQ(TARQ_ReadMps(nullptr, missing.c_str()), 3);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(Take(prob_), before);
}

}  // namespace
}  // namespace iotest
