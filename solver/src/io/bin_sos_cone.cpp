#include "io/bin_sos_cone.h"

#include <climits>
#include <memory>

#include "store/problem.h"

namespace tarq_solver::bin {

#define BIN_TRY(expr)                                         \
  do {                                                        \
    if (int rc_ = (expr); rc_ != TARQ_RETCODE_OK) return rc_; \
  } while (0)

namespace {

// Offsets from 0 to the number of entries, non-decreasing.
int ReadOffsets(ByteReader& in, std::int32_t count, std::vector<std::int64_t>& begin) {
  BIN_TRY(in.ReadArray(begin, std::int64_t{count} + 1));
  if (begin.front() != 0) return in.Error("invalid offsets");
  for (size_t k = 1; k < begin.size(); ++k) {
    if (begin[k] < begin[k - 1]) return in.Error("invalid offsets");
  }
  return TARQ_RETCODE_OK;
}

int ReadCount(ByteReader& in, std::int32_t& count) {
  BIN_TRY(in.Read(count));
  return count < 0 ? in.Error("invalid count") : TARQ_RETCODE_OK;
}

// Offsets as the store's add operations take them; false when they do not fit an int.
bool IntOffsets(const std::vector<std::int64_t>& begin, std::vector<int>& out) {
  if (begin.back() > INT_MAX) return false;
  out.assign(begin.begin(), begin.end());
  return true;
}

}  // namespace

void PutSos(OutBuffer& out, const SosTable& t) {
  out.PutRaw(static_cast<std::int32_t>(t.Size()));
  PutArray(out, t.type);
  PutArray(out, t.begin);
  PutArray(out, t.col);
  PutArray(out, t.weight);
}

void PutIndicators(OutBuffer& out, const IndicatorTable& t) {
  out.PutRaw(static_cast<std::int32_t>(t.Size()));
  PutArray(out, t.type);
  PutArray(out, t.binCol);
  PutArray(out, t.binVal);
  PutArray(out, t.sense);
  PutArray(out, t.bound);
  PutArray(out, t.begin);
  PutArray(out, t.col);
  PutArray(out, t.val);
  PutNames(out, t.names);
}

void PutCones(OutBuffer& out, const ConeTable& t) {
  out.PutRaw(static_cast<std::int32_t>(t.Size()));
  PutArray(out, t.type);
  PutArray(out, t.begin);
  PutArray(out, t.col);
}

void PutExpCones(OutBuffer& out, const ExpConeTable& t) {
  out.PutRaw(static_cast<std::int32_t>(t.Size()));
  PutArray(out, t.type);
  PutArray(out, t.col);
}

int ReadSos(ByteReader& in, SosConeRead& r) {
  std::int32_t n = 0;
  BIN_TRY(ReadCount(in, n));
  BIN_TRY(in.ReadArray(r.sosType, n));
  BIN_TRY(ReadOffsets(in, n, r.sosBegin));
  BIN_TRY(in.ReadArray(r.sosCol, r.sosBegin.back()));
  BIN_TRY(in.ReadArray(r.sosWeight, r.sosBegin.back()));
  r.any = true;
  return TARQ_RETCODE_OK;
}

int ReadIndicators(ByteReader& in, SosConeRead& r) {
  std::int32_t n = 0;
  BIN_TRY(ReadCount(in, n));
  BIN_TRY(in.ReadArray(r.indType, n));
  BIN_TRY(in.ReadArray(r.indBinCol, n));
  BIN_TRY(in.ReadArray(r.indBinVal, n));
  BIN_TRY(in.ReadArray(r.indSense, n));
  BIN_TRY(in.ReadArray(r.indBound, n));
  BIN_TRY(ReadOffsets(in, n, r.indBegin));
  BIN_TRY(in.ReadArray(r.indCol, r.indBegin.back()));
  BIN_TRY(in.ReadArray(r.indVal, r.indBegin.back()));
  BIN_TRY(ReadNames(in, n, r.indNameBlock, r.indNames));
  r.any = true;
  return TARQ_RETCODE_OK;
}

int ReadCones(ByteReader& in, SosConeRead& r) {
  std::int32_t n = 0;
  BIN_TRY(ReadCount(in, n));
  BIN_TRY(in.ReadArray(r.coneType, n));
  BIN_TRY(ReadOffsets(in, n, r.coneBegin));
  BIN_TRY(in.ReadArray(r.coneCol, r.coneBegin.back()));
  r.any = true;
  return TARQ_RETCODE_OK;
}

int ReadExpCones(ByteReader& in, SosConeRead& r) {
  std::int32_t n = 0;
  BIN_TRY(ReadCount(in, n));
  BIN_TRY(in.ReadArray(r.expType, n));
  BIN_TRY(in.ReadArray(r.expCol, 3 * std::int64_t{n}));
  r.any = true;
  return TARQ_RETCODE_OK;
}

int BuildSosCone(ByteReader& in, const SosConeRead& r, int nCol, SosConeStore& out) {
  if (!r.any) return TARQ_RETCODE_OK;
  // Binary columns, so that any column may indicate (see bin_sos_cone.h).
  Problem scratch(std::make_shared<const EnvCore>());
  scratch.Params().Set(IntParam::Logging, 0);
  const std::vector<char> types(static_cast<size_t>(nCol), 'B');
  if (scratch.AddCols(nCol, nullptr, VectorList{}, types.data(), nullptr, nullptr, nullptr) != TARQ_RETCODE_OK) {
    return in.Error("invalid columns");
  }
  std::vector<int> begin;
  const int nSos = static_cast<int>(r.sosType.size());
  if (!IntOffsets(r.sosBegin, begin) ||
      scratch.AddSoss(nSos, r.sosType.data(), VectorList{nSos, begin.data(), nullptr, r.sosCol.data(), nullptr},
                      r.sosWeight.data()) != TARQ_RETCODE_OK) {
    return in.Error("invalid SOS constraints");
  }
  const int nInd = static_cast<int>(r.indType.size());
  if (!IntOffsets(r.indBegin, begin) ||
      scratch.AddIndicators(nInd, r.indType.data(), r.indBinCol.data(), r.indBinVal.data(),
                            VectorList{nInd, begin.data(), nullptr, r.indCol.data(), r.indVal.data()},
                            r.indSense.data(), r.indBound.data(),
                            r.indNames.empty() ? nullptr : r.indNames.data()) != TARQ_RETCODE_OK) {
    return in.Error("invalid indicator rows");
  }
  const int nCone = static_cast<int>(r.coneType.size());
  if (!IntOffsets(r.coneBegin, begin) ||
      scratch.AddCones(nCone, r.coneType.data(), VectorList{nCone, begin.data(), nullptr, r.coneCol.data(), nullptr}) !=
          TARQ_RETCODE_OK) {
    return in.Error("invalid cones");
  }
  if (scratch.AddExpCones(static_cast<int>(r.expType.size()), r.expType.data(), r.expCol.data()) != TARQ_RETCODE_OK) {
    return in.Error("invalid exponential cones");
  }
  out = scratch.SosCone();
  return TARQ_RETCODE_OK;
}

#undef BIN_TRY

}  // namespace tarq_solver::bin
