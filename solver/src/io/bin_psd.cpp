#include "io/bin_psd.h"

namespace tarq_solver::bin {

#define BIN_TRY(expr)                                         \
  do {                                                        \
    if (int rc_ = (expr); rc_ != TARQ_RETCODE_OK) return rc_; \
  } while (0)

namespace {

template <class P>
void PutTerms(OutBuffer& out, const TermLists<P>& t) {
  PutArray(out, t.begin);
  PutArray(out, t.index);
  PutArray(out, t.payload);
}

// Offsets from 0 to the number of entries, non-decreasing.
int ReadOffsets(ByteReader& in, std::int32_t count, std::vector<std::int64_t>& begin) {
  BIN_TRY(in.ReadArray(begin, std::int64_t{count} + 1));
  if (begin.front() != 0) return in.Error("invalid offsets");
  for (size_t k = 1; k < begin.size(); ++k) {
    if (begin[k] < begin[k - 1]) return in.Error("invalid offsets");
  }
  return TARQ_RETCODE_OK;
}

template <class P>
int ReadTerms(ByteReader& in, std::int32_t count, TermLists<P>& t) {
  BIN_TRY(ReadOffsets(in, count, t.begin));
  BIN_TRY(in.ReadArray(t.index, t.begin.back()));
  return in.ReadArray(t.payload, t.begin.back());
}

int ReadCount(ByteReader& in, std::int32_t& count) {
  BIN_TRY(in.Read(count));
  return count < 0 ? in.Error("invalid count") : TARQ_RETCODE_OK;
}

int Rejected(ByteReader& in, const char* what) { return in.Error(std::string("invalid ") + what); }

int ReadMats(ByteReader& in, PsdStore& out) {
  std::int32_t k = 0;
  BIN_TRY(ReadCount(in, k));
  std::vector<std::int32_t> dim, row, col;
  std::vector<std::int64_t> begin;
  std::vector<double> val;
  BIN_TRY(in.ReadArray(dim, k));
  BIN_TRY(ReadOffsets(in, k, begin));
  BIN_TRY(in.ReadArray(row, begin.back()));
  BIN_TRY(in.ReadArray(col, begin.back()));
  BIN_TRY(in.ReadArray(val, begin.back()));
  for (std::int32_t m = 0; m < k; ++m) {
    const std::int64_t n = begin[m + 1] - begin[m];
    if (n > INT32_MAX) return Rejected(in, "symmetric matrix");
    const size_t b = static_cast<size_t>(begin[m]);
    if (out.AddSymMat(dim[m], static_cast<int>(n), row.data() + b, col.data() + b, val.data() + b) != 0) {
      return Rejected(in, "symmetric matrix");
    }
  }
  return TARQ_RETCODE_OK;
}

int ReadCols(ByteReader& in, PsdStore& out) {
  std::int32_t c = 0;
  BIN_TRY(ReadCount(in, c));
  std::vector<std::int32_t> dim, obj;
  BIN_TRY(in.ReadArray(dim, c));
  BIN_TRY(in.ReadArray(obj, c));
  std::string block;
  std::vector<const char*> names;
  BIN_TRY(ReadNames(in, c, block, names));
  std::vector<int> list(static_cast<size_t>(c));
  for (std::int32_t k = 0; k < c; ++k) list[k] = k;
  if (out.AddPsdCols(c, dim.data(), names.empty() ? nullptr : names.data()) != 0 ||
      out.ReplaceObj(c, list.data(), obj.data()) != 0) {
    return Rejected(in, "PSD column");
  }
  return TARQ_RETCODE_OK;
}

int ReadRows(ByteReader& in, int nCol, PsdStore& out) {
  std::int32_t r = 0;
  BIN_TRY(ReadCount(in, r));
  std::vector<double> lower, upper;
  TermLists<double> lin;
  TermLists<int> psd;
  BIN_TRY(in.ReadArray(lower, r));
  BIN_TRY(in.ReadArray(upper, r));
  BIN_TRY(ReadTerms(in, r, lin));
  BIN_TRY(ReadTerms(in, r, psd));
  std::string block;
  std::vector<const char*> names;
  BIN_TRY(ReadNames(in, r, block, names));
  for (std::int32_t k = 0; k < r; ++k) {
    const std::int64_t lb = lin.begin[k], pb = psd.begin[k];
    const std::int64_t nl = lin.Count(k), np = psd.Count(k);
    if (nl > INT32_MAX || np > INT32_MAX ||
        out.AddPsdRow(nCol, static_cast<int>(nl), lin.index.data() + lb, lin.payload.data() + lb,
                      static_cast<int>(np), psd.index.data() + pb, psd.payload.data() + pb, 0, lower[k], upper[k],
                      names.empty() ? nullptr : names[k]) != 0) {
      return Rejected(in, "PSD row");
    }
  }
  return TARQ_RETCODE_OK;
}

int ReadLmis(ByteReader& in, int nCol, PsdStore& out) {
  std::int32_t l = 0;
  BIN_TRY(ReadCount(in, l));
  std::vector<std::int32_t> dim, constMat;
  TermLists<int> terms;
  BIN_TRY(in.ReadArray(dim, l));
  BIN_TRY(in.ReadArray(constMat, l));
  BIN_TRY(ReadTerms(in, l, terms));
  std::string block;
  std::vector<const char*> names;
  BIN_TRY(ReadNames(in, l, block, names));
  for (std::int32_t k = 0; k < l; ++k) {
    const std::int64_t b = terms.begin[k], n = terms.Count(k);
    if (n > INT32_MAX || out.AddLmiRow(nCol, dim[k], static_cast<int>(n), terms.index.data() + b,
                                       terms.payload.data() + b, constMat[k],
                                       names.empty() ? nullptr : names[k]) != 0) {
      return Rejected(in, "LMI row");
    }
  }
  return TARQ_RETCODE_OK;
}

}  // namespace

void PutPsd(OutBuffer& out, const PsdStore& psd) {
  const SymMatTable& m = psd.Mats();
  out.PutRaw(static_cast<std::int32_t>(m.Size()));
  PutArray(out, m.dim);
  PutArray(out, m.begin);
  PutArray(out, m.row);
  PutArray(out, m.col);
  PutArray(out, m.val);
  const PsdColTable& c = psd.Cols();
  out.PutRaw(static_cast<std::int32_t>(c.Size()));
  PutArray(out, c.dim);
  PutArray(out, c.objMat);
  PutNames(out, c.names);
  const PsdRowTable& r = psd.Rows();
  out.PutRaw(static_cast<std::int32_t>(r.Size()));
  PutArray(out, r.lower);
  PutArray(out, r.upper);
  PutTerms(out, r.lin);
  PutTerms(out, r.psd);
  PutNames(out, r.names);
  const LmiRowTable& l = psd.Lmis();
  out.PutRaw(static_cast<std::int32_t>(l.Size()));
  PutArray(out, l.dim);
  PutArray(out, l.constMat);
  PutTerms(out, l.terms);
  PutNames(out, l.names);
}

int ReadPsd(ByteReader& in, int nCol, PsdStore& out) {
  BIN_TRY(ReadMats(in, out));
  BIN_TRY(ReadCols(in, out));
  BIN_TRY(ReadRows(in, nCol, out));
  return ReadLmis(in, nCol, out);
}

#undef BIN_TRY

}  // namespace tarq_solver::bin
