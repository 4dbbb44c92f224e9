// The .nl format in its text form ("g" header), which nonlinear solvers read:
//
//   header      ten lines of counts (variables, rows, objectives, nonlinear rows and columns,
//               integer columns by kind, Jacobian and gradient nonzeros)
//   C<i>        the nonlinear part of row i as an expression in prefix form (n0 for none)
//   O0 <sense>  the nonlinear part of the objective with its constant
//   x<k>        start values
//   r           row bounds: "0 lo up", "1 up", "2 lo", "3" (free), "4 value"
//   b           column bounds, coded alike
//   k<n-1>      cumulative column counts of the Jacobian
//   J<i> <nnz>  row i's linear coefficients over every column it uses (0 for nonlinear only)
//   G0 <nnz>    the objective's linear coefficients likewise
//
// Expressions: "o<code>" operators (0 +, 1 -, 2 *, 3 /, 5 ^, 16 negation, 54 sum of a count that
// follows, and the functions), "n<value>" numbers, "v<column>" columns, one item per line.
// Columns are renumbered as the format requires: nonlinear in both rows and objective first, then
// nonlinear in rows only, then in the objective only (each group continuous before integer), then
// linear continuous, binary and integer columns. Rows: quadratic and nonlinear ones (nonlinear in
// the format's sense) first, then the linear rows. The names, when any column or row has one, go
// to <stem>.col and <stem>.row in the file's order.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "io/formats.h"
#include "nl/tokens.h"
#include "store/quad_table.h"

namespace tarq_solver {

namespace {

// The operator code of a token in the format.
int OpCode(int token) {
  switch (token) {
    case nl::kAdd: return 0;
    case nl::kSub: return 1;
    case nl::kMul: return 2;
    case nl::kDiv: return 3;
    case nl::kPow: return 5;
    case nl::kFloor: return 13;
    case nl::kCeil: return 14;
    case nl::kAbs: return 15;
    case nl::kNeg: return 16;
    case nl::kTanh: return 37;
    case nl::kTan: return 38;
    case nl::kSqrt: return 39;
    case nl::kSinh: return 40;
    case nl::kSin: return 41;
    case nl::kLog10: return 42;
    case nl::kLog: return 43;
    case nl::kExp: return 44;
    case nl::kCosh: return 45;
    case nl::kCos: return 46;
    case nl::kAtanh: return 47;
    case nl::kAtan2: return 48;
    case nl::kAtan: return 49;
    case nl::kAsinh: return 50;
    case nl::kAsin: return 51;
    case nl::kAcosh: return 52;
    case nl::kAcos: return 53;
    default: return -1;
  }
}

void PutNumber(OutBuffer& out, double v) {
  out.Put('n');
  out.PutNum(v);
  out.Put('\n');
}

// Writes a postfix program as a prefix expression: the tree is rebuilt with each node's
// operands, then walked from the root. perm maps columns to the file's numbering.
class PrefixWriter {
 public:
  PrefixWriter(OutBuffer& out, const std::vector<int>& perm) : out_(out), perm_(perm) {}

  // Writes program (header included) plus a constant c; n0 / n<c> when the program is empty.
  void Write(const int* tok, std::int64_t n, const double* consts, double c) {
    Build(tok, n, consts);
    const bool constant = c != 0.0;
    if (root_ < 0) {
      PutNumber(out_, c);
      return;
    }
    if (constant) out_.Put("o0\n");
    Emit(root_);
    if (constant) PutNumber(out_, c);
  }

 private:
  struct Node {
    int token;
    double value;  // constants
    std::vector<int> args;
  };

  void Build(const int* tok, std::int64_t n, const double* consts) {
    nodes_.clear();
    std::vector<int> stack;
    int nextConst = 0;
    for (std::int64_t p = 1; p < n; ++p) {
      const int t = tok[p];
      Node node{t, 0.0, {}};
      if (t == nl::kConst) {
        node.value = consts[nextConst++];
      } else if (t == nl::kSum) {
        const int count = tok[++p];
        node.args.assign(stack.end() - count, stack.end());
        stack.resize(stack.size() - static_cast<std::size_t>(count));
      } else if (t < 0) {
        const int arity = nl::Arity(t);
        node.args.assign(stack.end() - arity, stack.end());
        stack.resize(stack.size() - static_cast<std::size_t>(arity));
      }
      nodes_.push_back(std::move(node));
      stack.push_back(static_cast<int>(nodes_.size()) - 1);
    }
    root_ = stack.empty() ? -1 : stack.back();
  }

  void Emit(int k) {
    // An explicit stack: deep programs must not exhaust the call stack.
    std::vector<int> todo{k};
    while (!todo.empty()) {
      const Node& node = nodes_[static_cast<std::size_t>(todo.back())];
      todo.pop_back();
      if (node.token >= 0) {
        out_.Put('v');
        out_.PutInt(perm_[static_cast<std::size_t>(node.token)]);
        out_.Put('\n');
      } else if (node.token == nl::kConst) {
        PutNumber(out_, node.value);
      } else if (node.token == nl::kSum) {
        out_.Put("o54\n");
        out_.PutInt(static_cast<std::int64_t>(node.args.size()));
        out_.Put('\n');
      } else {
        out_.Put('o');
        out_.PutInt(OpCode(node.token));
        out_.Put('\n');
      }
      for (auto it = node.args.rbegin(); it != node.args.rend(); ++it) todo.push_back(*it);
    }
  }

  OutBuffer& out_;
  const std::vector<int>& perm_;
  std::vector<Node> nodes_;
  int root_ = -1;
};

// The quadratic terms q * x_i * x_j, p in [from, to), as a sum of products.
void WriteQuadratic(OutBuffer& out, const std::vector<int>& perm, const int* r, const int* c, const double* q,
                    std::int64_t from, std::int64_t to, double scale, double constant) {
  const std::int64_t n = to - from;
  const std::int64_t items = n + (constant != 0.0 ? 1 : 0);
  if (items == 0) {
    PutNumber(out, 0.0);
    return;
  }
  if (items > 1) {
    out.Put("o54\n");
    out.PutInt(items);
    out.Put('\n');
  }
  for (std::int64_t p = from; p < to; ++p) {
    out.Put("o2\nn");
    out.PutNum(scale * q[p]);
    out.Put("\no2\nv");
    out.PutInt(perm[static_cast<std::size_t>(r[p])]);
    out.Put("\nv");
    out.PutInt(perm[static_cast<std::size_t>(c[p])]);
    out.Put('\n');
  }
  if (constant != 0.0) PutNumber(out, constant);
}

void PutBound(OutBuffer& out, double lo, double up) {
  const bool hasLo = lo > -TARQ_INFINITY, hasUp = up < TARQ_INFINITY;
  if (hasLo && hasUp && lo == up) {
    out.Put("4 ");
    out.PutNum(lo);
  } else if (hasLo && hasUp) {
    out.Put("0 ");
    out.PutNum(lo);
    out.Put(' ');
    out.PutNum(up);
  } else if (hasUp) {
    out.Put("1 ");
    out.PutNum(up);
  } else if (hasLo) {
    out.Put("2 ");
    out.PutNum(lo);
  } else {
    out.Put('3');
  }
  out.Put('\n');
}

// One row of the file: its linear entries (columns in the store's numbering) and how to write
// its nonlinear part.
struct FileRow {
  enum Kind { kLinear, kQuadratic, kNonlinear } kind;
  int index;  // in its table
  double lo, up;
};

// The file's column order: nonlinear in rows and objective, in rows only, in the objective only
// (continuous before integer in each), then linear continuous, binary and integer columns.
struct NlColumnLayout {
  std::vector<int> order;  // file position -> column
  std::vector<int> perm;   // column -> file position
  std::vector<char> inRows, inObj;
  int count[9] = {};       // columns per group, in the order above

  explicit NlColumnLayout(const Problem& problem) {
    const ColumnTable& cols = problem.Cols();
    const QuadStore& quad = problem.Quad();
    const NlStore& nls = problem.Nl();
    const int n = cols.Size();
    inRows.assign(static_cast<std::size_t>(n), 0);
    inObj.assign(static_cast<std::size_t>(n), 0);
    auto mark = [](const NlPrograms& p, int k, std::vector<char>& in) {
      for (std::int64_t t = p.TokBegin(k); t < p.TokEnd(k); ++t) {
        const int tok = p.tokens[static_cast<std::size_t>(t)];
        if (tok == nl::kSum) {
          ++t;
        } else if (tok >= 0) {
          in[static_cast<std::size_t>(tok)] = 1;
        }
      }
    };
    for (int k = 0; k < nls.rows.Size(); ++k) mark(nls.rows.programs, k, inRows);
    if (nls.HasObjective()) mark(nls.objective, 0, inObj);
    for (std::size_t p = 0; p < quad.rows.quadVal.size(); ++p) {
      inRows[static_cast<std::size_t>(quad.rows.quadRow[p])] = 1;
      inRows[static_cast<std::size_t>(quad.rows.quadCol[p])] = 1;
    }
    for (std::size_t p = 0; p < quad.objective.val.size(); ++p) {
      inObj[static_cast<std::size_t>(quad.objective.row[p])] = 1;
      inObj[static_cast<std::size_t>(quad.objective.col[p])] = 1;
    }
    std::vector<int> groupOf(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
      const auto k = static_cast<std::size_t>(j);
      const bool integer = cols.type[k] != 'C';
      int g;
      if (inRows[k] && inObj[k]) {
        g = integer ? 1 : 0;
      } else if (inRows[k]) {
        g = integer ? 3 : 2;
      } else if (inObj[k]) {
        g = integer ? 5 : 4;
      } else if (!integer) {
        g = 6;
      } else {
        g = cols.type[k] == 'B' || (cols.lower[k] >= 0 && cols.upper[k] <= 1) ? 7 : 8;
      }
      groupOf[k] = g;
      ++count[g];
    }
    order.resize(static_cast<std::size_t>(n));
    perm.resize(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) order[static_cast<std::size_t>(j)] = j;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      return groupOf[static_cast<std::size_t>(a)] < groupOf[static_cast<std::size_t>(b)];
    });
    for (int j = 0; j < n; ++j) perm[static_cast<std::size_t>(order[static_cast<std::size_t>(j)])] = j;
  }
};

}  // namespace

int WriteNl(Problem& problem, OutBuffer& out, IoError& err) {
  if (!problem.SosCone().Empty()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, "the .nl format cannot hold SOS constraints, indicator rows or cones");
  }
  if (problem.Psd().HasParts()) {
    return Fail(err, TARQ_RETCODE_INVALID, 0,
                "the .nl format cannot hold PSD columns, PSD rows or LMI rows (write a binary or .dat-s file)");
  }
  const ColumnTable& cols = problem.Cols();
  const QuadStore& quad = problem.Quad();
  const NlStore& nls = problem.Nl();
  const int n = cols.Size();
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kRow);

  const NlColumnLayout layout(problem);
  const std::vector<int>& order = layout.order;
  const std::vector<int>& perm = layout.perm;
  const std::vector<char>& inObj = layout.inObj;
  const int* count = layout.count;
  const int nlvb = count[0] + count[1], nlvc = nlvb + count[2] + count[3], nlvo = nlvb + count[4] + count[5];

  // Rows: quadratic and nonlinear first.
  std::vector<FileRow> rows;
  for (int k = 0; k < quad.rows.Size(); ++k) rows.push_back({FileRow::kQuadratic, k, quad.rows.Lower(k), quad.rows.Upper(k)});
  for (int k = 0; k < nls.rows.Size(); ++k) {
    rows.push_back({FileRow::kNonlinear, k, nls.rows.lower[static_cast<std::size_t>(k)],
                    nls.rows.upper[static_cast<std::size_t>(k)]});
  }
  const int nlc = static_cast<int>(rows.size());
  for (int i = 0; i < problem.Rows().Size(); ++i) {
    rows.push_back({FileRow::kLinear, i, problem.Rows().lower[static_cast<std::size_t>(i)],
                    problem.Rows().upper[static_cast<std::size_t>(i)]});
  }
  const int m = static_cast<int>(rows.size());

  // Each row's Jacobian: (file column, linear coefficient), columns of its nonlinear part with 0.
  std::vector<std::vector<std::pair<int, double>>> jac(static_cast<std::size_t>(m));
  std::vector<double> dense(static_cast<std::size_t>(n), 0.0);
  std::vector<char> used(static_cast<std::size_t>(n), 0);
  std::int64_t nzc = 0;
  for (int i = 0; i < m; ++i) {
    const FileRow& row = rows[static_cast<std::size_t>(i)];
    std::vector<int> touched;
    auto touch = [&](int j, double v) {
      if (!used[static_cast<std::size_t>(j)]) {
        used[static_cast<std::size_t>(j)] = 1;
        touched.push_back(j);
      }
      dense[static_cast<std::size_t>(j)] += v;
    };
    if (row.kind == FileRow::kLinear) {
      const VectorView v = matrix.Vector(row.index);
      for (std::int64_t p = 0; p < v.len; ++p) touch(v.idx[p], v.val[p]);
    } else if (row.kind == FileRow::kQuadratic) {
      const QuadRowTable& q = quad.rows;
      for (std::int64_t p = q.LinBegin(row.index); p < q.LinEnd(row.index); ++p) {
        touch(q.linIdx[static_cast<std::size_t>(p)], q.linVal[static_cast<std::size_t>(p)]);
      }
      for (std::int64_t p = q.QuadBegin(row.index); p < q.QuadEnd(row.index); ++p) {
        touch(q.quadRow[static_cast<std::size_t>(p)], 0.0);
        touch(q.quadCol[static_cast<std::size_t>(p)], 0.0);
      }
    } else {
      const NlRowTable& t = nls.rows;
      for (std::int64_t p = t.LinBegin(row.index); p < t.LinEnd(row.index); ++p) {
        touch(t.linIdx[static_cast<std::size_t>(p)], t.linVal[static_cast<std::size_t>(p)]);
      }
      for (std::int64_t p = t.programs.TokBegin(row.index); p < t.programs.TokEnd(row.index); ++p) {
        const int tok = t.programs.tokens[static_cast<std::size_t>(p)];
        if (tok == nl::kSum) {
          ++p;
        } else if (tok >= 0) {
          touch(tok, 0.0);
        }
      }
    }
    auto& out = jac[static_cast<std::size_t>(i)];
    for (int j : touched) {
      out.emplace_back(perm[static_cast<std::size_t>(j)], dense[static_cast<std::size_t>(j)]);
      dense[static_cast<std::size_t>(j)] = 0;
      used[static_cast<std::size_t>(j)] = 0;
    }
    std::sort(out.begin(), out.end());
    nzc += static_cast<std::int64_t>(out.size());
  }
  // The objective's gradient entries.
  std::vector<std::pair<int, double>> grad;
  for (int j = 0; j < n; ++j) {
    const auto k = static_cast<std::size_t>(j);
    if (cols.obj[k] != 0.0 || inObj[k]) grad.emplace_back(perm[k], cols.obj[k]);
  }
  std::sort(grad.begin(), grad.end());
  const bool nlObj = nls.HasObjective() || !quad.objective.Empty();
  int nbv = count[7], niv = count[8];

  // Header.
  char line[256];
  std::snprintf(line, sizeof line, "g3 1 1 0\t# problem tarq\n %d %d 1 %d %d\t# vars, constraints, objectives, ranges, eqns\n",
                n, m, static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const FileRow& r) {
                  return r.lo > -TARQ_INFINITY && r.up < TARQ_INFINITY && r.lo != r.up;
                })),
                static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const FileRow& r) { return r.lo == r.up; })));
  out.Put(line);
  std::snprintf(line, sizeof line, " %d %d\t# nonlinear constraints, objectives\n 0 0\t# network constraints: nonlinear, linear\n",
                nlc, nlObj ? 1 : 0);
  out.Put(line);
  std::snprintf(line, sizeof line, " %d %d %d\t# nonlinear vars in constraints, objectives, both\n", nlvc, nlvo, nlvb);
  out.Put(line);
  out.Put(" 0 0 0 1\t# linear network variables; functions; arith, flags\n");
  std::snprintf(line, sizeof line, " %d %d %d %d %d\t# discrete variables: binary, integer, nonlinear (b,c,o)\n", nbv,
                niv, count[1], count[3], count[5]);
  out.Put(line);
  std::snprintf(line, sizeof line, " %lld %d\t# nonzeros in Jacobian, gradients\n", static_cast<long long>(nzc),
                static_cast<int>(grad.size()));
  out.Put(line);
  out.Put(" 0 0\t# max name lengths: constraints, variables\n 0 0 0 0 0\t# common exprs: b,c,o,c1,o1\n");

  // Expressions of the rows and the objective.
  PrefixWriter prefix(out, perm);
  for (int i = 0; i < m; ++i) {
    const FileRow& row = rows[static_cast<std::size_t>(i)];
    out.Put('C');
    out.PutInt(i);
    out.Put('\n');
    if (row.kind == FileRow::kQuadratic) {
      const QuadRowTable& q = quad.rows;
      WriteQuadratic(out, perm, q.quadRow.data(), q.quadCol.data(), q.quadVal.data(), q.QuadBegin(row.index),
                     q.QuadEnd(row.index), 1.0, 0.0);
    } else if (row.kind == FileRow::kNonlinear) {
      const NlPrograms& p = nls.rows.programs;
      prefix.Write(p.Tokens(row.index), p.TokEnd(row.index) - p.TokBegin(row.index), p.Consts(row.index), 0.0);
    } else {
      PutNumber(out, 0.0);
    }
  }
  out.Put(problem.ObjSense() == TARQ_MAXIMIZE ? "O0 1\n" : "O0 0\n");
  const QuadTerms& qo = quad.objective;
  if (nls.HasObjective() && !qo.Empty()) {
    out.Put("o0\n");
    WriteQuadratic(out, perm, qo.row.data(), qo.col.data(), qo.val.data(), 0, qo.Size(), 1.0, 0.0);
    prefix.Write(nls.objective.Tokens(0), nls.objective.TokEnd(0), nls.objective.Consts(0), problem.ObjConst());
  } else if (nls.HasObjective()) {
    prefix.Write(nls.objective.Tokens(0), nls.objective.TokEnd(0), nls.objective.Consts(0), problem.ObjConst());
  } else {
    WriteQuadratic(out, perm, qo.row.data(), qo.col.data(), qo.val.data(), 0, qo.Size(), 1.0, problem.ObjConst());
  }

  // Start values, bounds, the Jacobian's column counts and entries, the gradient.
  std::vector<std::pair<int, double>> start;
  for (std::size_t j = 0; j < nls.start.size() && j < static_cast<std::size_t>(n); ++j) {
    if (!std::isnan(nls.start[j])) start.emplace_back(perm[j], nls.start[j]);
  }
  std::sort(start.begin(), start.end());
  if (!start.empty()) {
    out.Put('x');
    out.PutInt(static_cast<std::int64_t>(start.size()));
    out.Put('\n');
    for (const auto& [j, v] : start) {
      out.PutInt(j);
      out.Put(' ');
      out.PutNum(v);
      out.Put('\n');
    }
  }
  if (m > 0) {
    out.Put("r\n");
    for (const FileRow& row : rows) PutBound(out, row.lo, row.up);
  }
  if (n > 0) {
    out.Put("b\n");
    for (int j : order) PutBound(out, cols.lower[static_cast<std::size_t>(j)], cols.upper[static_cast<std::size_t>(j)]);
  }
  if (n > 1) {
    std::vector<std::int64_t> perCol(static_cast<std::size_t>(n), 0);
    for (const auto& r : jac) {
      for (const auto& e : r) ++perCol[static_cast<std::size_t>(e.first)];
    }
    out.Put('k');
    out.PutInt(n - 1);
    out.Put('\n');
    std::int64_t cumulative = 0;
    for (int j = 0; j + 1 < n; ++j) {
      cumulative += perCol[static_cast<std::size_t>(j)];
      out.PutInt(cumulative);
      out.Put('\n');
    }
  }
  for (int i = 0; i < m; ++i) {
    const auto& r = jac[static_cast<std::size_t>(i)];
    if (r.empty()) continue;
    out.Put('J');
    out.PutInt(i);
    out.Put(' ');
    out.PutInt(static_cast<std::int64_t>(r.size()));
    out.Put('\n');
    for (const auto& [j, v] : r) {
      out.PutInt(j);
      out.Put(' ');
      out.PutNum(v);
      out.Put('\n');
    }
  }
  if (!grad.empty()) {
    out.Put("G0 ");
    out.PutInt(static_cast<std::int64_t>(grad.size()));
    out.Put('\n');
    for (const auto& [j, v] : grad) {
      out.PutInt(j);
      out.Put(' ');
      out.PutNum(v);
      out.Put('\n');
    }
  }
  return TARQ_RETCODE_OK;
}

int WriteNlNames(Problem& problem, const std::string& path) {
  const ColumnTable& cols = problem.Cols();
  if (!cols.names.AnyNamed() && !problem.Rows().names.AnyNamed() && !problem.Quad().rows.names.AnyNamed() &&
      !problem.Nl().rows.names.AnyNamed()) {
    return TARQ_RETCODE_OK;
  }
  const bool suffix = path.size() > 3 && path.compare(path.size() - 3, 3, ".nl") == 0;
  const std::string stem = suffix ? path.substr(0, path.size() - 3) : path;
  const NlColumnLayout layout(problem);
  std::ofstream row(stem + ".row"), col(stem + ".col");
  if (!row || !col) return TARQ_RETCODE_FILE;
  for (int j : layout.order) col << cols.names.Display(j) << '\n';
  for (int k = 0; k < problem.Quad().rows.Size(); ++k) row << problem.Quad().rows.names.Display(k) << '\n';
  for (int k = 0; k < problem.Nl().rows.Size(); ++k) row << problem.Nl().rows.names.Display(k) << '\n';
  for (int k = 0; k < problem.Rows().Size(); ++k) row << problem.Rows().names.Display(k) << '\n';
  row.flush();
  col.flush();
  return row && col ? TARQ_RETCODE_OK : TARQ_RETCODE_FILE;
}

}  // namespace tarq_solver
