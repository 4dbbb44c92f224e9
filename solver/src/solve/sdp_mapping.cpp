#include "solve/sdp_mapping.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace tarq_solver {

namespace {

// Offsets of each matrix in a packed array of matrices of the given dimensions.
std::vector<std::int64_t> PackedOffsets(const std::vector<int>& dims) {
  std::vector<std::int64_t> off(dims.size() + 1, 0);
  for (size_t k = 0; k < dims.size(); ++k) off[k + 1] = off[k] + PackedLen(dims[k]);
  return off;
}

}  // namespace

// Rows that are multiples of one another bound the same linear form; when their bounds meet in a
// single point they state an equality as two opposite inequalities (as files of the SDPA format
// must), which leaves the dual mapping without a strictly feasible point. Such groups become one
// equality on their first row, bound t * value for the row's multiple t, and the other rows of the
// group are left out (they are implied). Exact: the rows allow no other value. O(terms log terms).
void SdpMapping::MergeParallelRows() {
  const int n = Rows();
  merged_.assign(static_cast<size_t>(n), RowMerge{});
  struct Key {
    std::vector<std::pair<int, double>> terms;  // sorted, scaled so the first coefficient is 1
    double scale;                               // the row's first coefficient
  };
  std::vector<Key> keys(static_cast<size_t>(n));
  std::unordered_map<std::uint64_t, std::vector<int>> buckets;
  for (int r = 0; r < n; ++r) {
    const RowView v = Row(r);
    if (v.nLin == 0 || v.nPsd > 0) continue;
    Key& k = keys[r];
    for (std::int64_t q = 0; q < v.nLin; ++q) k.terms.emplace_back(v.cols[q], v.vals[q]);
    std::sort(k.terms.begin(), k.terms.end());
    k.scale = k.terms[0].second;
    std::uint64_t h = 1469598103934665603ULL;
    for (auto& [c, a] : k.terms) {
      a /= k.scale;
      h = (h ^ static_cast<std::uint64_t>(c)) * 1099511628211ULL;
      h = (h ^ std::hash<double>{}(a)) * 1099511628211ULL;
    }
    buckets[h].push_back(r);
  }
  for (const auto& [h, rows] : buckets) {
    for (size_t i = 0; i < rows.size(); ++i) {
      const int first = rows[i];
      if (merged_[first].skip || keys[first].terms.empty()) continue;
      // Bounds of the normalised form over every row equal to this one.
      double lo = -TARQ_INFINITY, up = TARQ_INFINITY;
      std::vector<int> group;
      for (size_t j = i; j < rows.size(); ++j) {
        const int r = rows[j];
        if (merged_[r].skip || keys[r].terms != keys[first].terms) continue;
        const RowView v = Row(r);
        const double t = keys[r].scale, l = Lower(v.lower), u = Upper(v.upper);
        const double nl = t > 0 ? (l > -TARQ_INFINITY ? l / t : -TARQ_INFINITY) : (u < TARQ_INFINITY ? u / t : -TARQ_INFINITY);
        const double nu = t > 0 ? (u < TARQ_INFINITY ? u / t : TARQ_INFINITY) : (l > -TARQ_INFINITY ? l / t : TARQ_INFINITY);
        lo = std::max(lo, nl);
        up = std::min(up, nu);
        group.push_back(r);
      }
      if (group.size() < 2 || lo != up) continue;
      merged_[first].equality = true;
      merged_[first].value = keys[first].scale * lo;
      for (size_t g = 1; g < group.size(); ++g) merged_[group[g]].skip = true;
    }
  }
}

SdpMapping::SdpMapping(Problem& problem, double inf)
    : problem_(problem),
      psd_(problem.Psd()),
      inf_(inf),
      sense_(problem.ObjSense()),
      nCol_(problem.Cols().Size()),
      nScalarRows_(problem.Rows().Size()),
      primal_(problem.Psd().Cols().Size() > 0) {
  problem_.Matrix().Consolidate(Axis::kRow);
}

SdpMapping::RowView SdpMapping::Row(int r) const {
  if (r < nScalarRows_) {
    const VectorView v = problem_.Matrix().Vector(r);
    return {problem_.Rows().lower[r], problem_.Rows().upper[r], v.idx, v.val, v.len, nullptr, nullptr, 0};
  }
  const PsdRowTable& t = psd_.Rows();
  const int i = r - nScalarRows_;
  const std::int64_t lb = t.lin.begin[i], pb = t.psd.begin[i];
  return {t.lower[i],        t.upper[i],        t.lin.index.data() + lb, t.lin.payload.data() + lb,
          t.lin.Count(i),    t.psd.index.data() + pb, t.psd.payload.data() + pb, t.psd.Count(i)};
}

void SdpMapping::AddMat(ConicBlock& blk, int var, int mat, double f) const {
  const SymMatTable& m = psd_.Mats();
  for (std::int64_t p = m.begin[mat]; p < m.begin[mat + 1]; ++p) {
    blk.Add(var, static_cast<int>(PackedPos(blk.dim, m.row[p], m.col[p])), f * m.val[p]);
  }
}

double SdpMapping::Inner(int mat, const double* x) const {
  const SymMatTable& m = psd_.Mats();
  const int n = m.dim[mat];
  double sum = 0;
  for (std::int64_t p = m.begin[mat]; p < m.begin[mat + 1]; ++p) {
    const double w = m.row[p] == m.col[p] ? 1.0 : 2.0;
    sum += w * m.val[p] * x[PackedPos(n, m.row[p], m.col[p])];
  }
  return sum;
}

void SdpMapping::Build(ConicForm& form) {
  form = ConicForm();
  form.b.push_back(0.0);
  if (primal_) {
    BuildPrimal(form);
  } else {
    BuildDual(form);
  }
  form.Finish();
}

void SdpMapping::BuildDual(ConicForm& form) {
  const ColumnTable& cols = problem_.Cols();
  for (int j = 0; j < nCol_; ++j) form.AddVar(-sense_ * cols.obj[j]);
  ConicBlock lp;
  lp.lp = true;
  // One LP row: sign * (terms - bound) >= 0, i.e. C = -sign * bound, A_j = -sign * a_j.
  auto addLp = [&](Origin origin, double bound, double sign, const int* idx, const double* val, std::int64_t n,
                   int single) {
    const int pos = lp.dim++;
    lp.Add(0, pos, -sign * bound);
    for (std::int64_t k = 0; k < n; ++k) lp.Add(idx[k] + 1, pos, -sign * val[k]);
    if (single >= 0) lp.Add(single + 1, pos, -sign);
    lpOrigin_.push_back(origin);
  };
  std::vector<std::pair<int, double>> terms;
  MergeParallelRows();
  for (int r = 0; r < Rows(); ++r) {
    if (merged_[r].skip) continue;
    const RowView v = Row(r);
    const double lo = Lower(v.lower), up = Upper(v.upper);
    if (lo == up || merged_[r].equality) {
      terms.clear();
      for (std::int64_t k = 0; k < v.nLin; ++k) terms.emplace_back(v.cols[k] + 1, v.vals[k]);
      form.AddEquality(terms, merged_[r].equality ? merged_[r].value : lo);
      eqOrigin_.push_back({r, -1, false});
      continue;
    }
    if (lo > -TARQ_INFINITY) addLp({r, -1, false}, lo, 1.0, v.cols, v.vals, v.nLin, -1);
    if (up < TARQ_INFINITY) addLp({r, -1, true}, up, -1.0, v.cols, v.vals, v.nLin, -1);
  }
  for (int j = 0; j < nCol_; ++j) {
    const double lo = Lower(cols.lower[j]), up = Upper(cols.upper[j]);
    if (lo == up) {
      form.AddEquality({{j + 1, 1.0}}, lo);
      eqOrigin_.push_back({-1, j, false});
      continue;
    }
    if (lo > -TARQ_INFINITY) addLp({-1, j, false}, lo, 1.0, nullptr, nullptr, 0, j);
    if (up < TARQ_INFINITY) addLp({-1, j, true}, up, -1.0, nullptr, nullptr, 0, j);
  }
  if (lp.dim > 0) form.blocks.push_back(std::move(lp));
  const LmiRowTable& lmis = psd_.Lmis();
  for (int l = 0; l < lmis.Size(); ++l) {
    ConicBlock blk;
    blk.dim = lmis.dim[l];
    if (lmis.constMat[l] >= 0) AddMat(blk, 0, lmis.constMat[l], 1.0);
    for (std::int64_t p = lmis.terms.begin[l]; p < lmis.terms.begin[l + 1]; ++p) {
      AddMat(blk, lmis.terms.index[p] + 1, lmis.terms.payload[p], -1.0);
    }
    lmiBlock_.push_back(static_cast<int>(form.blocks.size()));
    form.blocks.push_back(std::move(blk));
  }
}

void SdpMapping::BuildPrimal(ConicForm& form) {
  const ColumnTable& cols = problem_.Cols();
  const double s = sense_;
  lpBlock_ = 0;
  form.blocks.emplace_back();
  form.blocks[0].lp = true;
  auto lp = [&form]() -> ConicBlock& { return form.blocks[0]; };
  std::vector<std::vector<std::pair<int, double>>> freeTerms;
  std::vector<double> freeCost;

  colRep_.resize(static_cast<size_t>(nCol_));
  for (int j = 0; j < nCol_; ++j) {
    const double lo = Lower(cols.lower[j]), up = Upper(cols.upper[j]), c = s * cols.obj[j];
    ColRep& rep = colRep_[j];
    if (lo == up) {
      rep = {Rep::kFixed, lo, -1};
    } else if (lo > -TARQ_INFINITY) {
      rep = {Rep::kLower, lo, lp().dim++};
      lp().Add(0, rep.index, c);
      if (up < TARQ_INFINITY) {  // p + q = up - lo
        const int q = lp().dim++;
        const int con = form.AddVar(up - lo);
        lp().Add(con, rep.index, 1.0);
        lp().Add(con, q, 1.0);
      }
    } else if (up < TARQ_INFINITY) {
      rep = {Rep::kUpper, up, lp().dim++};
      lp().Add(0, rep.index, -c);
    } else {
      rep = {Rep::kFree, 0.0, static_cast<int>(freeTerms.size())};
      freeTerms.emplace_back();
      freeCost.push_back(c);
    }
  }
  // coef * x_j in constraint con.
  auto addTerm = [&](int con, int j, double coef) {
    const ColRep& rep = colRep_[j];
    form.b[con] -= coef * rep.offset;
    switch (rep.rep) {
      case Rep::kLower: lp().Add(con, rep.index, coef); break;
      case Rep::kUpper: lp().Add(con, rep.index, -coef); break;
      case Rep::kFree: freeTerms[rep.index].emplace_back(con, coef); break;
      case Rep::kFixed: break;
    }
  };

  const PsdColTable& psdCols = psd_.Cols();
  for (int k = 0; k < psdCols.Size(); ++k) {
    psdBlock_.push_back(static_cast<int>(form.blocks.size()));
    form.blocks.emplace_back();
    ConicBlock& blk = form.blocks.back();
    blk.dim = psdCols.dim[k];
    if (psdCols.objMat[k] >= 0) AddMat(blk, 0, psdCols.objMat[k], s);
  }

  rowCon_.assign(static_cast<size_t>(Rows()), 0);
  for (int r = 0; r < Rows(); ++r) {
    const RowView v = Row(r);
    const double lo = Lower(v.lower), up = Upper(v.upper);
    if (lo == -TARQ_INFINITY && up == TARQ_INFINITY) continue;
    const int con = form.AddVar(lo > -TARQ_INFINITY ? lo : up);
    rowCon_[r] = con;
    for (std::int64_t q = 0; q < v.nLin; ++q) addTerm(con, v.cols[q], v.vals[q]);
    for (std::int64_t q = 0; q < v.nPsd; ++q) AddMat(form.blocks[psdBlock_[v.psdCols[q]]], con, v.mats[q], 1.0);
    if (lo == up) continue;
    const int s1 = lp().dim++;
    lp().Add(con, s1, lo > -TARQ_INFINITY ? -1.0 : 1.0);
    if (lo > -TARQ_INFINITY && up < TARQ_INFINITY) {  // s1 + s2 = up - lo
      const int con2 = form.AddVar(up - lo);
      const int s2 = lp().dim++;
      lp().Add(con2, s1, 1.0);
      lp().Add(con2, s2, 1.0);
    }
  }

  const LmiRowTable& lmis = psd_.Lmis();
  const SymMatTable& mats = psd_.Mats();
  for (int l = 0; l < lmis.Size(); ++l) {
    const int n = lmis.dim[l];
    lmiBlock_.push_back(static_cast<int>(form.blocks.size()));
    form.blocks.emplace_back();
    const int blk = lmiBlock_.back();
    form.blocks[blk].dim = n;
    // Z[r][c] - sum_j x_j F_j[r][c] = D[r][c], one constraint per packed position.
    const int base = form.m + 1;
    for (int c = 0; c < n; ++c) {
      for (int r = c; r < n; ++r) {
        const int con = form.AddVar(0.0);
        form.blocks[blk].Add(con, static_cast<int>(PackedPos(n, r, c)), r == c ? 1.0 : 0.5);
      }
    }
    if (const int d = lmis.constMat[l]; d >= 0) {
      for (std::int64_t p = mats.begin[d]; p < mats.begin[d + 1]; ++p) {
        form.b[base + PackedPos(n, mats.row[p], mats.col[p])] += mats.val[p];
      }
    }
    for (std::int64_t t = lmis.terms.begin[l]; t < lmis.terms.begin[l + 1]; ++t) {
      const int j = lmis.terms.index[t], f = lmis.terms.payload[t];
      for (std::int64_t p = mats.begin[f]; p < mats.begin[f + 1]; ++p) {
        addTerm(base + static_cast<int>(PackedPos(n, mats.row[p], mats.col[p])), j, -mats.val[p]);
      }
    }
  }
  for (size_t f = 0; f < freeTerms.size(); ++f) form.AddEquality(freeTerms[f], freeCost[f]);
}

int SdpMapping::Status(ConicStatus status) const {
  switch (status) {
    case ConicStatus::kOptimal: return TARQ_STATUS_OPTIMAL;
    case ConicStatus::kPrimalInfeasible: return primal_ ? TARQ_STATUS_INFEASIBLE : TARQ_STATUS_UNBOUNDED;
    case ConicStatus::kDualInfeasible: return primal_ ? TARQ_STATUS_UNBOUNDED : TARQ_STATUS_INFEASIBLE;
    case ConicStatus::kIterationLimit: return TARQ_STATUS_UNFINISHED;
    case ConicStatus::kTimeLimit: return TARQ_STATUS_TIMEOUT;
    case ConicStatus::kInterrupted: return TARQ_STATUS_INTERRUPTED;
    case ConicStatus::kNumerical: break;
  }
  return TARQ_STATUS_NUMERICAL;
}

int SdpMapping::InconsistentStatus() const {
  // Dual mapping: equality rows contradict. Primal mapping: the free columns' stationarity
  // conditions contradict, so the problem has no dual; it is unbounded if it is feasible.
  return primal_ ? TARQ_STATUS_INF_OR_UNB : TARQ_STATUS_INFEASIBLE;
}

void SdpMapping::Recover(const ConicForm& form, const std::vector<double>& y,
                         const std::vector<std::vector<double>>& x, const std::vector<double>& mu,
                         EngineResult& out, PsdResults& psd) const {
  const double s = sense_;
  const ColumnTable& cols = problem_.Cols();
  const PsdColTable& psdCols = psd_.Cols();
  const LmiRowTable& lmis = psd_.Lmis();
  const std::vector<std::int64_t> colOff = PackedOffsets(psdCols.dim);
  const std::vector<std::int64_t> lmiOff = PackedOffsets(lmis.dim);
  std::vector<double> xs(static_cast<size_t>(nCol_), 0.0);
  std::vector<double> rowDual(static_cast<size_t>(Rows()), 0.0);
  psd.Clear();
  psd.colValues.assign(static_cast<size_t>(colOff.back()), 0.0);
  psd.colDuals.assign(static_cast<size_t>(colOff.back()), 0.0);
  psd.lmiDuals.assign(static_cast<size_t>(lmiOff.back()), 0.0);
  std::vector<double> slack;
  if (!primal_) {
    for (int j = 0; j < nCol_; ++j) xs[j] = y[j + 1];
    if (!lpOrigin_.empty()) {
      const std::vector<double>& pi = x[0];
      for (size_t p = 0; p < lpOrigin_.size(); ++p) {
        if (lpOrigin_[p].row >= 0) rowDual[lpOrigin_[p].row] += s * (lpOrigin_[p].upper ? -pi[p] : pi[p]);
      }
    }
    for (size_t e = 0; e < eqOrigin_.size(); ++e) {
      if (eqOrigin_[e].row >= 0) rowDual[eqOrigin_[e].row] = -s * mu[e];
    }
    for (int l = 0; l < lmis.Size(); ++l) {
      const std::vector<double>& z = x[lmiBlock_[l]];
      for (size_t p = 0; p < z.size(); ++p) psd.lmiDuals[lmiOff[l] + p] = s * z[p];
    }
  } else {
    const std::vector<double>& lpx = x[lpBlock_];
    for (int j = 0; j < nCol_; ++j) {
      const ColRep& rep = colRep_[j];
      switch (rep.rep) {
        case Rep::kFixed: xs[j] = rep.offset; break;
        case Rep::kLower: xs[j] = rep.offset + lpx[rep.index]; break;
        case Rep::kUpper: xs[j] = rep.offset - lpx[rep.index]; break;
        case Rep::kFree: xs[j] = mu[rep.index]; break;
      }
    }
    for (int r = 0; r < Rows(); ++r) rowDual[r] = rowCon_[r] > 0 ? s * y[rowCon_[r]] : 0.0;
    for (int k = 0; k < psdCols.Size(); ++k) {
      const std::vector<double>& v = x[psdBlock_[k]];
      std::copy(v.begin(), v.end(), psd.colValues.begin() + colOff[k]);
      form.Slack(psdBlock_[k], y, slack);
      for (size_t p = 0; p < slack.size(); ++p) psd.colDuals[colOff[k] + p] = s * slack[p];
    }
    for (int l = 0; l < lmis.Size(); ++l) {
      form.Slack(lmiBlock_[l], y, slack);
      for (size_t p = 0; p < slack.size(); ++p) psd.lmiDuals[lmiOff[l] + p] = s * slack[p];
    }
  }

  // What follows from x, X and the duals alone: activities, LMI slacks, reduced costs, objective.
  std::vector<double> activity(static_cast<size_t>(Rows()), 0.0);
  std::vector<double> red(cols.obj.begin(), cols.obj.end());
  for (int r = 0; r < Rows(); ++r) {
    const RowView v = Row(r);
    double a = 0;
    for (std::int64_t q = 0; q < v.nLin; ++q) {
      a += v.vals[q] * xs[v.cols[q]];
      red[v.cols[q]] -= v.vals[q] * rowDual[r];
    }
    for (std::int64_t q = 0; q < v.nPsd; ++q) a += Inner(v.mats[q], psd.colValues.data() + colOff[v.psdCols[q]]);
    activity[r] = a;
  }
  const SymMatTable& mats = psd_.Mats();
  psd.lmiSlack.assign(static_cast<size_t>(lmiOff.back()), 0.0);
  for (int l = 0; l < lmis.Size(); ++l) {
    const int n = lmis.dim[l];
    double* sl = psd.lmiSlack.data() + lmiOff[l];
    auto addMat = [&](int f, double factor) {
      for (std::int64_t p = mats.begin[f]; p < mats.begin[f + 1]; ++p) {
        sl[PackedPos(n, mats.row[p], mats.col[p])] += factor * mats.val[p];
      }
    };
    if (lmis.constMat[l] >= 0) addMat(lmis.constMat[l], 1.0);
    for (std::int64_t t = lmis.terms.begin[l]; t < lmis.terms.begin[l + 1]; ++t) {
      const int j = lmis.terms.index[t], f = lmis.terms.payload[t];
      addMat(f, xs[j]);
      red[j] -= Inner(f, psd.lmiDuals.data() + lmiOff[l]);
    }
  }
  double obj = problem_.ObjConst();
  for (int j = 0; j < nCol_; ++j) obj += cols.obj[j] * xs[j];
  for (int k = 0; k < psdCols.Size(); ++k) {
    if (psdCols.objMat[k] >= 0) obj += Inner(psdCols.objMat[k], psd.colValues.data() + colOff[k]);
  }

  out.values = std::move(xs);
  out.activity.assign(activity.begin(), activity.begin() + nScalarRows_);
  out.duals.assign(rowDual.begin(), rowDual.begin() + nScalarRows_);
  out.redCosts = std::move(red);
  out.objective = obj;
  out.hasSolution = true;
  out.hasDuals = true;
  psd.rowActivity.assign(activity.begin() + nScalarRows_, activity.end());
  psd.rowDuals.assign(rowDual.begin() + nScalarRows_, rowDual.end());
}

}  // namespace tarq_solver
