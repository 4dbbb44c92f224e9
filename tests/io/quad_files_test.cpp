// Quadratic objectives and quadratic rows in MPS, LP and binary files: the text written, and
// round trips that keep the problem and its optimum.
#include <cmath>
#include <string>

#include "io_fixture.h"

namespace iotest {
namespace {

class QuadFilesTest : public IoTest {
 protected:
  // min x + x*x + x*y + y*x + 1.5 y*y + 0.5 z*z  s.t.  c1: x + y + z >= 1,
  // q1: y + x*x + x*z + z*z <= 4, x in [0, 10], y and z >= 0.
  void BuildQuad(tarq_prob* prob) {
    const double obj[] = {1, 0, 0};
    const double ub[] = {10, kInf, kInf};
    const char* names[] = {"x", "y", "z"};
    ASSERT_EQ(TARQ_AddCols(prob, 3, obj, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, ub, names), 0);
    const int all[] = {0, 1, 2};
    const double ones[] = {1, 1, 1};
    ASSERT_EQ(TARQ_AddRow(prob, 3, all, ones, 'G', 1, 0, "c1"), 0);
    const int r[] = {0, 0, 1, 1, 2}, c[] = {0, 1, 0, 1, 2};
    const double v[] = {1, 1, 1, 1.5, 0.5};
    ASSERT_EQ(TARQ_SetQuadObj(prob, 5, r, c, v), 0);
    const int y[] = {1};
    const int qr[] = {0, 0, 2}, qc[] = {0, 2, 2};
    const double qv[] = {1, 1, 1};
    ASSERT_EQ(TARQ_AddQConstr(prob, 1, y, ones, 3, qr, qc, qv, 'L', 4, "q1"), 0);
  }
  double Optimum(tarq_prob* prob) {
    EXPECT_EQ(TARQ_Solve(prob), 0);
    int status = 0;
    double obj = 0;
    EXPECT_EQ(TARQ_GetIntAttr(prob, "LpStatus", &status), 0);
    EXPECT_EQ(status, TARQ_STATUS_OPTIMAL);
    EXPECT_EQ(TARQ_GetDblAttr(prob, "LpObjval", &obj), 0);
    return obj;
  }
  int IntAttr(tarq_prob* prob, const char* name) {
    int v = -1;
    EXPECT_EQ(TARQ_GetIntAttr(prob, name, &v), 0);
    return v;
  }
};

TEST_F(QuadFilesTest, MpsWritesQuadraticSectionsThatReadBack) {
  BuildQuad(prob_);
  const std::string path = Path("q.mps");
  ASSERT_EQ(TARQ_WriteMps(prob_, path.c_str()), 0);
  const std::string text = ReadText(path);
  EXPECT_NE(text.find("ROWS\n N  OBJ\n G  c1\n L  q1\n"), std::string::npos) << text;
  EXPECT_NE(text.find("    y         q1        1\n"), std::string::npos) << "the quadratic row's linear entry";
  EXPECT_NE(text.find("    RHS       q1        4\n"), std::string::npos);
  // Q of c'x + x'Qx / 2, one triangle, products summed; then the row's x'Qx, whole matrix.
  EXPECT_NE(text.find("QUADOBJ\n"
                      "    x         x         2\n"
                      "    x         y         2\n"
                      "    y         y         3\n"
                      "    z         z         1\n"
                      "QCMATRIX   q1\n"
                      "    x         x         1\n"
                      "    z         x         0.5\n"
                      "    x         z         0.5\n"
                      "    z         z         1\n"
                      "ENDATA\n"),
            std::string::npos)
      << text;
  const double optimum = Optimum(prob_);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(IntAttr(back, "Rows"), 1);
  EXPECT_EQ(IntAttr(back, "QConstrs"), 1);
  EXPECT_EQ(IntAttr(back, "QElems"), 4) << "x*y and y*x meet in one term";
  EXPECT_NEAR(Optimum(back), optimum, 1e-9);
  const std::string again = Path("again.mps");
  ASSERT_EQ(TARQ_WriteMps(back, again.c_str()), 0);
  EXPECT_EQ(ReadText(again), text) << "a second round trip changes nothing";

  // QMATRIX (both triangles, c'x + x'Qx / 2) is the same objective.
  const std::string qmatrix = Write("qm.mps", [&] {
    std::string t = text;
    const size_t at = t.find("QUADOBJ\n");
    t.replace(at, t.find("QCMATRIX") - at,
              "QMATRIX\n    x  x  2\n    x  y  2\n    y  x  2\n    y  y  3\n    z  z  1\n");
    return t;
  }());
  tarq_prob* fromMatrix = NewProblem();
  ASSERT_EQ(TARQ_ReadMps(fromMatrix, qmatrix.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  const std::string third = Path("third.mps");
  ASSERT_EQ(TARQ_WriteMps(fromMatrix, third.c_str()), 0);
  EXPECT_EQ(ReadText(third), text);
}

TEST_F(QuadFilesTest, LpWritesBracketsThatReadBack) {
  BuildQuad(prob_);
  const std::string path = Path("q.lp");
  ASSERT_EQ(TARQ_WriteLp(prob_, path.c_str()), 0);
  const std::string text = ReadText(path);
  EXPECT_EQ(text,
            "Minimize\n"
            " obj: x + 0 y + 0 z + [ 2 x ^ 2 + 4 x * y + 3 y ^ 2 + z ^ 2 ] / 2\n"
            "Subject To\n"
            " c1: x + y + z >= 1\n"
            " q1: y + [ x ^ 2 + x * z + z ^ 2 ] <= 4\n"
            "Bounds\n"
            " x <= 10\n"
            "End\n");
  const double optimum = Optimum(prob_);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_NEAR(Optimum(back), optimum, 1e-9);
  const std::string again = Path("again.lp");
  ASSERT_EQ(TARQ_WriteLp(back, again.c_str()), 0);
  EXPECT_EQ(ReadText(again), text);

  // Other spellings: "x*y" without blanks, "]/2" as one token, a halved row bracket, a column
  // that first appears inside a bracket, a negated bracket.
  const std::string other = Write("other.lp",
                                  "Minimize\n obj: - [ -2 x^2 - 4 x*y - 3 y^2 - z ^ 2 ]/2 + x\nSubject To\n"
                                  " c1: x + y + z >= 1\n q1: [ 2 x ^ 2 + 2 x * z + 2 z ^ 2 ] / 2 + y <= 4\n"
                                  "Bounds\n x <= 10\nEnd\n");
  tarq_prob* spelled = NewProblem();
  ASSERT_EQ(TARQ_ReadLp(spelled, other.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_NEAR(Optimum(spelled), optimum, 1e-9);
}

TEST_F(QuadFilesTest, BinaryKeepsEveryTermAsStored) {
  BuildQuad(prob_);
  const Snapshot before = Take(prob_);
  const std::string path = Path("q.bin");
  ASSERT_EQ(TARQ_WriteBin(prob_, path.c_str()), 0);
  tarq_prob* back = NewProblem();
  ASSERT_EQ(TARQ_ReadBin(back, path.c_str()), 0) << (log_.empty() ? "" : log_[0]);
  EXPECT_EQ(Take(back), before);
  EXPECT_EQ(IntAttr(back, "QElems"), 5) << "the binary format keeps repeated products apart";
  EXPECT_NEAR(Optimum(back), Optimum(prob_), 1e-12);
}

}  // namespace
}  // namespace iotest
