// The binary problem format: every field of the problem, byte for byte.
//
//   header    "TARQBIN\0", u32 version, u32 byte-order mark 0x01020304 (as written)
//   sections  u32 tag, u32 0, u64 payload length, payload; in the order of the tags below
//   end       tag kEnd with an 8-byte payload: u32 CRC-32 of every byte before the end section, u32 0
//
//   kDims      i32 columns n, i32 rows m, i64 nonzeros, i32 objective sense, i32 has branch
//              factors (0/1), f64 objective constant
//   kCols      f64 obj[n], f64 lower[n], f64 upper[n], u8 type[n], f64 branch[n] when present
//   kRows      f64 lower[m], f64 upper[m]
//   kMatrix    i64 begin[n + 1], i32 row[nonzeros], f64 value[nonzeros]     (by columns)
//   kColNames  u8 any named; when 1: u32 length[n], then the names' bytes (length 0: unnamed)
//   kRowNames  the same for rows
//   kMipStarts i32 count, i64 begin[count + 1], i32 column[entries], f64 value[entries]
//   kQuadObj   i64 terms, i32 row[terms], i32 col[terms], f64 value[terms]             (version 2)
//   kQuadRows  i32 rows q, i64 linBegin[q + 1], i32 linIdx[], f64 linVal[],
//              i64 quadBegin[q + 1], i32 quadRow[], i32 quadCol[], f64 quadVal[],
//              u8 sense[q], f64 rhs[q], then the names as in kColNames                   (version 2)
//   kNlRows    i32 rows r, i64 tokBegin[r + 1], i32 token[], i64 constBegin[r + 1], f64 const[],
//              i64 linBegin[r + 1], i32 linIdx[], f64 linVal[], f64 lower[r], f64 upper[r],
//              then the names as in kColNames                                            (version 3)
//   kNlObj     i64 tokens t, i32 token[t], i64 constants c, f64 const[c], i64 start entries s
//              (0 or n), f64 start[s] (NaN: none)                                        (version 3)
//   kPsd       symmetric matrices, PSD columns, PSD rows, LMI rows: see bin_psd.h
//              (version 4, optional)
//   kSos, kIndicators, kCones, kExpCones: SOS constraints, indicator rows, second-order and
//              exponential cones, see bin_sos_cone.h (version 5, each optional)
//
// Infinite bounds are stored as +-1e30, as the problem holds them, so a file reads back exactly.
// Versions: a later object kind gets a new tag and a new version number. Sections up to
// kNlObj are always written (the quadratic ones from version 2, the nonlinear ones from
// version 3); later kinds' sections are
// optional, written only when the problem holds objects of that kind, before kEnd in the order
// of their tags;
// the reader accepts files up to its own version and rejects newer ones with a clear message.
// Numbers are in the writing machine's byte order; a file whose mark shows the other order is
// rejected. The reader checks the checksum first, then every count against the bytes that are
// left before it allocates, every index, value and name, so a truncated or corrupt file fails
// with 3 (and the byte offset of the fault) and never changes the problem.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "io/bin_io.h"
#include "io/bin_psd.h"
#include "io/bin_sos_cone.h"
#include "io/formats.h"
#include "nl/tokens.h"
#include "store/checks.h"

namespace tarq_solver {

namespace {

using bin::ByteReader;
using bin::PutArray;
using bin::PutNames;
using bin::ReadNames;
using bin::Section;

constexpr char kMagic[8] = {'T', 'A', 'R', 'Q', 'B', 'I', 'N', '\0'};
constexpr std::uint32_t kVersion = 5;
constexpr std::uint32_t kFirstQuadVersion = 2;  // files before it have no quadratic sections
constexpr std::uint32_t kFirstNlVersion = 3;    // files before it have no nonlinear sections
constexpr std::uint32_t kFirstPsdVersion = 4;   // files before it have no semidefinite section
constexpr std::uint32_t kFirstSosConeVersion = 5;  // ... no SOS, indicator or cone sections
constexpr std::uint32_t kByteOrder = 0x01020304;
constexpr size_t kHeaderSize = 16;
constexpr size_t kSectionHeader = 16;
constexpr size_t kEndSize = kSectionHeader + 8;

enum Tag : std::uint32_t {
  kDims = 1,
  kCols = 2,
  kRows = 3,
  kMatrix = 4,
  kColNames = 5,
  kRowNames = 6,
  kMipStarts = 7,
  kQuadObj = 8,
  kQuadRows = 9,
  kNlRows = 10,
  kNlObj = 11,
  kPsd = 12,
  kSos = 13,
  kIndicators = 14,
  kCones = 15,
  kExpCones = 16,
  kFirstOptional = kPsd,
  kLastOptional = kExpCones,
  kEnd = 0xFFFF,
};

// ----------------------------------------------------------------------------------- reading --

struct BinProblem {
  std::int32_t nCol = 0, nRow = 0, objSense = 1, hasBranch = 0;
  std::int64_t nnz = 0;
  double objConst = 0;
  std::vector<double> obj, colLower, colUpper, branch, rowLower, rowUpper, value;
  std::vector<char> type;
  std::vector<std::int64_t> begin;
  std::vector<std::int32_t> rowIndex;
  std::string colNameBlock, rowNameBlock;  // names, each followed by a zero
  std::vector<const char*> colNames, rowNames;
  MipStartTable mipStarts;
  QuadStore quad;
  std::string quadNameBlock;
  std::vector<const char*> quadNames;
  PsdStore psd;
  bin::SosConeRead sosCones;
  NlStore nl;
  std::string nlNameBlock;
  std::vector<const char*> nlNames;
};

#define TARQ_TRY(expr)                                  \
  do {                                                  \
    if (int rc_ = (expr); rc_ != TARQ_RETCODE_OK) return rc_; \
  } while (0)

template <class Vec, class Valid>
int CheckAll(ByteReader& in, const Vec& v, Valid valid, const char* what) {
  for (const auto& x : v) {
    if (!valid(x)) return in.Error(std::string("invalid ") + what);
  }
  return TARQ_RETCODE_OK;
}

int ReadDims(ByteReader& in, BinProblem& b) {
  TARQ_TRY(in.Read(b.nCol));
  TARQ_TRY(in.Read(b.nRow));
  TARQ_TRY(in.Read(b.nnz));
  TARQ_TRY(in.Read(b.objSense));
  TARQ_TRY(in.Read(b.hasBranch));
  TARQ_TRY(in.Read(b.objConst));
  if (b.nCol < 0 || b.nRow < 0 || b.nnz < 0 || b.nnz > INT32_MAX) return in.Error("invalid problem size");
  if ((b.objSense != 1 && b.objSense != -1) || (b.hasBranch != 0 && b.hasBranch != 1) || !ValidCoef(b.objConst)) {
    return in.Error("invalid objective sense, constant or flags");
  }
  return TARQ_RETCODE_OK;
}

int ReadCols(ByteReader& in, BinProblem& b) {
  TARQ_TRY(in.ReadArray(b.obj, b.nCol));
  TARQ_TRY(CheckAll(in, b.obj, ValidCoef, "objective coefficient"));
  TARQ_TRY(in.ReadArray(b.colLower, b.nCol));
  TARQ_TRY(CheckAll(in, b.colLower, ValidLower, "column lower bound"));
  TARQ_TRY(in.ReadArray(b.colUpper, b.nCol));
  TARQ_TRY(CheckAll(in, b.colUpper, ValidUpper, "column upper bound"));
  TARQ_TRY(in.ReadArray(b.type, b.nCol));
  TARQ_TRY(CheckAll(in, b.type, ValidType, "column type"));
  if (b.hasBranch) {
    TARQ_TRY(in.ReadArray(b.branch, b.nCol));
    TARQ_TRY(CheckAll(in, b.branch, ValidCoef, "branch factor"));
  }
  return TARQ_RETCODE_OK;
}

int ReadRows(ByteReader& in, BinProblem& b) {
  TARQ_TRY(in.ReadArray(b.rowLower, b.nRow));
  TARQ_TRY(CheckAll(in, b.rowLower, ValidLower, "row lower bound"));
  TARQ_TRY(in.ReadArray(b.rowUpper, b.nRow));
  return CheckAll(in, b.rowUpper, ValidUpper, "row upper bound");
}

// Sparse vectors (matrix columns, MIP starts): offsets from 0 to total, non-decreasing; indices
// below `limit` and each at most once per vector; values valid coefficients.
template <class Begins, class Indices, class Values>
int CheckVectorsRead(ByteReader& in, const Begins& begin, std::int64_t total, const Indices& index,
                     const Values& value, int limit) {
  if (begin.front() != 0 || begin.back() != total) return in.Error("invalid vector offsets");
  for (size_t k = 1; k < begin.size(); ++k) {
    if (begin[k] < begin[k - 1]) return in.Error("invalid vector offsets");
  }
  std::vector<std::int64_t> stamp(static_cast<size_t>(limit), -1);
  for (size_t k = 0; k + 1 < begin.size(); ++k) {
    for (std::int64_t p = begin[k]; p < begin[k + 1]; ++p) {
      const std::int32_t i = index[static_cast<size_t>(p)];
      if (i < 0 || i >= limit) return in.Error("index out of range");
      if (stamp[i] == static_cast<std::int64_t>(k)) return in.Error("index repeated within a vector");
      stamp[i] = static_cast<std::int64_t>(k);
      if (!ValidCoef(value[static_cast<size_t>(p)])) return in.Error("invalid coefficient");
    }
  }
  return TARQ_RETCODE_OK;
}

int ReadMatrix(ByteReader& in, BinProblem& b) {
  TARQ_TRY(in.ReadArray(b.begin, std::int64_t{b.nCol} + 1));
  TARQ_TRY(in.ReadArray(b.rowIndex, b.nnz));
  TARQ_TRY(in.ReadArray(b.value, b.nnz));
  return CheckVectorsRead(in, b.begin, b.nnz, b.rowIndex, b.value, b.nRow);
}

int ReadMipStarts(ByteReader& in, BinProblem& b) {
  std::int32_t count = 0;
  TARQ_TRY(in.Read(count));
  if (count < 0) return in.Error("invalid MIP start count");
  MipStartTable& t = b.mipStarts;
  TARQ_TRY(in.ReadArray(t.begin, std::int64_t{count} + 1));
  const std::int64_t total = t.begin.back();
  TARQ_TRY(in.ReadArray(t.col, total));
  TARQ_TRY(in.ReadArray(t.value, total));
  return CheckVectorsRead(in, t.begin, total, t.col, t.value, b.nCol);
}

// Quadratic terms [0, n) of row/col/val: columns below nCol, valid coefficients.
template <class Indices, class Values>
int CheckTermsRead(ByteReader& in, const Indices& row, const Indices& col, const Values& val, int nCol) {
  for (size_t k = 0; k < val.size(); ++k) {
    if (row[k] < 0 || row[k] >= nCol || col[k] < 0 || col[k] >= nCol) return in.Error("quadratic term out of range");
    if (!ValidCoef(val[k])) return in.Error("invalid quadratic coefficient");
  }
  return TARQ_RETCODE_OK;
}

int ReadQuadObj(ByteReader& in, BinProblem& b) {
  std::int64_t n = 0;
  TARQ_TRY(in.Read(n));
  QuadTerms& t = b.quad.objective;
  TARQ_TRY(in.ReadArray(t.row, n));
  TARQ_TRY(in.ReadArray(t.col, n));
  TARQ_TRY(in.ReadArray(t.val, n));
  return CheckTermsRead(in, t.row, t.col, t.val, b.nCol);
}

int ReadQuadRows(ByteReader& in, BinProblem& b) {
  std::int32_t m = 0;
  TARQ_TRY(in.Read(m));
  if (m < 0) return in.Error("invalid quadratic row count");
  QuadRowTable& q = b.quad.rows;
  TARQ_TRY(in.ReadArray(q.linBegin, std::int64_t{m} + 1));
  TARQ_TRY(in.ReadArray(q.linIdx, q.linBegin.back()));
  TARQ_TRY(in.ReadArray(q.linVal, q.linBegin.back()));
  TARQ_TRY(CheckVectorsRead(in, q.linBegin, q.linBegin.back(), q.linIdx, q.linVal, b.nCol));
  TARQ_TRY(in.ReadArray(q.quadBegin, std::int64_t{m} + 1));
  const std::int64_t terms = q.quadBegin.back();
  if (q.quadBegin.front() != 0) return in.Error("invalid vector offsets");
  for (size_t k = 1; k < q.quadBegin.size(); ++k) {
    if (q.quadBegin[k] < q.quadBegin[k - 1]) return in.Error("invalid vector offsets");
  }
  TARQ_TRY(in.ReadArray(q.quadRow, terms));
  TARQ_TRY(in.ReadArray(q.quadCol, terms));
  TARQ_TRY(in.ReadArray(q.quadVal, terms));
  TARQ_TRY(CheckTermsRead(in, q.quadRow, q.quadCol, q.quadVal, b.nCol));
  TARQ_TRY(in.ReadArray(q.sense, m));
  TARQ_TRY(CheckAll(in, q.sense, [](char c) { return c == 'L' || c == 'G' || c == 'E'; }, "quadratic row sense"));
  TARQ_TRY(in.ReadArray(q.rhs, m));
  TARQ_TRY(CheckAll(in, q.rhs, ValidCoef, "quadratic row right-hand side"));
  TARQ_TRY(ReadNames(in, m, b.quadNameBlock, b.quadNames));
  q.names.Append(m, b.quadNames.empty() ? nullptr : b.quadNames.data());
  return TARQ_RETCODE_OK;
}

// Offsets [0 .. count] that start at 0 and never decrease.
int CheckOffsetsRead(ByteReader& in, const std::vector<std::int64_t>& begin) {
  if (begin.empty() || begin.front() != 0) return in.Error("invalid vector offsets");
  for (size_t k = 1; k < begin.size(); ++k) {
    if (begin[k] < begin[k - 1]) return in.Error("invalid vector offsets");
  }
  return TARQ_RETCODE_OK;
}

// Token programs [0, count) as NlPrograms holds them, each checked as the store checks it.
int ReadPrograms(ByteReader& in, std::int64_t count, int nCol, NlPrograms& p) {
  TARQ_TRY(in.ReadArray(p.tokBegin, count + 1));
  TARQ_TRY(CheckOffsetsRead(in, p.tokBegin));
  TARQ_TRY(in.ReadArray(p.tokens, p.tokBegin.back()));
  TARQ_TRY(in.ReadArray(p.constBegin, count + 1));
  TARQ_TRY(CheckOffsetsRead(in, p.constBegin));
  TARQ_TRY(in.ReadArray(p.consts, p.constBegin.back()));
  for (int k = 0; k < p.Count(); ++k) {
    nl::ProgramError e;
    if (p.TokEnd(k) == p.TokBegin(k) ||
        !nl::CheckProgram(p.Tokens(k), p.TokEnd(k) - p.TokBegin(k), p.Consts(k), p.ConstEnd(k) - p.ConstBegin(k),
                          nCol, &e)) {
      return in.Error("invalid token program " + std::to_string(k) + " at token " + std::to_string(e.position) +
                      ": " + e.what);
    }
  }
  return TARQ_RETCODE_OK;
}

int ReadNlRows(ByteReader& in, BinProblem& b) {
  std::int32_t m = 0;
  TARQ_TRY(in.Read(m));
  if (m < 0) return in.Error("invalid nonlinear row count");
  NlRowTable& t = b.nl.rows;
  TARQ_TRY(ReadPrograms(in, m, b.nCol, t.programs));
  TARQ_TRY(in.ReadArray(t.linBegin, std::int64_t{m} + 1));
  TARQ_TRY(CheckOffsetsRead(in, t.linBegin));
  TARQ_TRY(in.ReadArray(t.linIdx, t.linBegin.back()));
  TARQ_TRY(in.ReadArray(t.linVal, t.linBegin.back()));
  TARQ_TRY(CheckVectorsRead(in, t.linBegin, t.linBegin.back(), t.linIdx, t.linVal, b.nCol));
  TARQ_TRY(in.ReadArray(t.lower, m));
  TARQ_TRY(in.ReadArray(t.upper, m));
  for (size_t k = 0; k < t.lower.size(); ++k) {
    if (!ValidLower(t.lower[k]) || !ValidUpper(t.upper[k]) || std::fabs(t.lower[k]) > TARQ_INFINITY ||
        std::fabs(t.upper[k]) > TARQ_INFINITY) {
      return in.Error("invalid nonlinear row bounds");
    }
  }
  TARQ_TRY(ReadNames(in, m, b.nlNameBlock, b.nlNames));
  t.names.Append(m, b.nlNames.empty() ? nullptr : b.nlNames.data());
  return TARQ_RETCODE_OK;
}

int ReadNlObj(ByteReader& in, BinProblem& b) {
  NlPrograms& obj = b.nl.objective;
  std::int64_t nTok = 0, nConst = 0, nStart = 0;
  TARQ_TRY(in.Read(nTok));
  std::vector<int> tokens;
  std::vector<double> consts;
  TARQ_TRY(in.ReadArray(tokens, nTok));
  TARQ_TRY(in.Read(nConst));
  TARQ_TRY(in.ReadArray(consts, nConst));
  nl::ProgramError e;
  if (!nl::CheckProgram(tokens.data(), nTok, consts.data(), nConst, b.nCol, &e)) {
    return in.Error("invalid objective program at token " + std::to_string(e.position) + ": " + e.what);
  }
  obj.Clear();
  obj.Append(tokens.data(), nTok, consts.data(), nConst);
  TARQ_TRY(in.Read(nStart));
  if (nStart != 0 && nStart != b.nCol) return in.Error("invalid primal start size");
  TARQ_TRY(in.ReadArray(b.nl.start, nStart));
  for (double v : b.nl.start) {
    if (std::isinf(v)) return in.Error("invalid primal start value");
  }
  return TARQ_RETCODE_OK;
}

int ParseBody(Problem& problem, std::string_view data, IoError& err) {
  err.byteOffset = true;
  ByteReader in(data, err);
  char magic[8];
  std::uint32_t version = 0, order = 0;
  TARQ_TRY(in.Read(magic));
  if (std::memcmp(magic, kMagic, sizeof magic) != 0) return Fail(err, TARQ_RETCODE_INVALID, 0, "not a binary problem file");
  TARQ_TRY(in.Read(version));
  TARQ_TRY(in.Read(order));
  if (order != kByteOrder) return in.Error("the file was written on a machine of the other byte order");
  if (version == 0) return in.Error("file version 0 is invalid (versions start at 1)");
  if (version > kVersion) {
    return in.Error("file version " + std::to_string(version) + " is newer than this library reads (" +
                    std::to_string(kVersion) + ")");
  }
  BinProblem b;
  // The sections up to kMipStarts (kQuadRows from version 2, kNlObj from version 3) come in this
  // order; later kinds' sections are optional and follow in the order of their tags; kEnd closes
  // the file.
  static constexpr std::uint32_t kRequired[] = {kDims,      kCols,    kRows,     kMatrix, kColNames, kRowNames,
                                                kMipStarts, kQuadObj, kQuadRows, kNlRows, kNlObj};
  const size_t nRequired =
      std::size(kRequired) - (version < kFirstQuadVersion ? 4 : version < kFirstNlVersion ? 2 : 0);
  const std::uint32_t lastOptional = version < kFirstPsdVersion       ? 0u
                                     : version < kFirstSosConeVersion ? std::uint32_t{kPsd}
                                                                      : std::uint32_t{kLastOptional};
  size_t required = 0;
  std::uint32_t last = 0;
  while (true) {
    std::uint32_t tag = 0, zero = 0;
    std::uint64_t length = 0;
    const size_t at = in.Pos();
    TARQ_TRY(in.Read(tag));
    TARQ_TRY(in.Read(zero));
    TARQ_TRY(in.Read(length));
    const bool expected = required < nRequired
                              ? tag == kRequired[required]
                              : tag == kEnd || (tag > last && tag >= kFirstOptional && tag <= lastOptional);
    if (!expected || zero != 0) return Fail(err, TARQ_RETCODE_INVALID, static_cast<std::int64_t>(at), "unexpected section");
    if (length > in.Left()) return in.Error("the file ends early");
    const size_t start = in.Pos();
    switch (tag) {
      case kDims: TARQ_TRY(ReadDims(in, b)); break;
      case kCols: TARQ_TRY(ReadCols(in, b)); break;
      case kRows: TARQ_TRY(ReadRows(in, b)); break;
      case kMatrix: TARQ_TRY(ReadMatrix(in, b)); break;
      case kColNames: TARQ_TRY(ReadNames(in, b.nCol, b.colNameBlock, b.colNames)); break;
      case kRowNames: TARQ_TRY(ReadNames(in, b.nRow, b.rowNameBlock, b.rowNames)); break;
      case kMipStarts: TARQ_TRY(ReadMipStarts(in, b)); break;
      case kQuadObj: TARQ_TRY(ReadQuadObj(in, b)); break;
      case kQuadRows: TARQ_TRY(ReadQuadRows(in, b)); break;
      case kNlRows: TARQ_TRY(ReadNlRows(in, b)); break;
      case kNlObj: TARQ_TRY(ReadNlObj(in, b)); break;
      case kPsd: TARQ_TRY(bin::ReadPsd(in, b.nCol, b.psd)); break;
      case kSos: TARQ_TRY(bin::ReadSos(in, b.sosCones)); break;
      case kIndicators: TARQ_TRY(bin::ReadIndicators(in, b.sosCones)); break;
      case kCones: TARQ_TRY(bin::ReadCones(in, b.sosCones)); break;
      case kExpCones: TARQ_TRY(bin::ReadExpCones(in, b.sosCones)); break;
      default: {  // kEnd: the checksum was checked, or is skipped, by the caller
        std::uint32_t crc = 0, pad = 0;
        TARQ_TRY(in.Read(crc));
        TARQ_TRY(in.Read(pad));
        if (pad != 0) return in.Error("invalid end section");
      }
    }
    if (in.Pos() - start != length) return in.Error("section length does not match its content");
    if (tag == kEnd) break;
    if (required < nRequired) ++required;
    last = tag;
  }
  if (in.Left() != 0) return in.Error("data after the end section");
  SosConeStore sosCones;
  TARQ_TRY(bin::BuildSosCone(in, b.sosCones, b.nCol, sosCones));

  std::vector<int> begin(b.begin.begin(), b.begin.end());
  LoadArgs args;
  args.nCol = b.nCol;
  args.nRow = b.nRow;
  args.objSense = b.objSense;
  args.objConst = b.objConst;
  args.obj = b.obj.data();
  args.cols = VectorList{b.nCol, begin.data(), nullptr, b.rowIndex.data(), b.value.data()};
  args.types = b.type.data();
  args.colLower = b.colLower.data();
  args.colUpper = b.colUpper.data();
  args.rowBound = b.rowLower.data();
  args.rowUpper = b.rowUpper.data();
  args.colNames = b.colNames.empty() ? nullptr : b.colNames.data();
  args.rowNames = b.rowNames.empty() ? nullptr : b.rowNames.data();
  args.branch = b.hasBranch ? b.branch.data() : nullptr;
  if (problem.Load(args) != TARQ_RETCODE_OK) return Fail(err, TARQ_RETCODE_INVALID, 0, "the problem data is not valid");
  problem.ReplaceMipStarts(std::move(b.mipStarts));
  problem.ReplaceQuad(std::move(b.quad));
  problem.ReplaceNl(std::move(b.nl));
  problem.ReplacePsd(std::move(b.psd));
  problem.ReplaceSosCone(std::move(sosCones));
  return TARQ_RETCODE_OK;
}

#undef TARQ_TRY

}  // namespace

int WriteBin(Problem& problem, OutBuffer& file, IoError&) {
  // The checksum covers everything before the end section, so the file is built in memory.
  OutBuffer out;
  const ColumnTable& cols = problem.Cols();
  const RowTable& rows = problem.Rows();
  SparseMatrix& matrix = problem.Matrix();
  matrix.Consolidate(Axis::kCol);
  const std::int32_t n = cols.Size(), m = rows.Size();
  std::vector<std::int64_t> begin(static_cast<size_t>(n) + 1, 0);
  for (int j = 0; j < n; ++j) begin[j + 1] = begin[j] + matrix.Vector(j).len;
  const std::int32_t hasBranch = cols.branch.empty() ? 0 : 1;

  out.PutBytes(kMagic, sizeof kMagic);
  out.PutRaw(kVersion);
  out.PutRaw(kByteOrder);
  Section(out, kDims, [&](OutBuffer& s) {
    s.PutRaw(n);
    s.PutRaw(m);
    s.PutRaw(begin.back());
    s.PutRaw(static_cast<std::int32_t>(problem.ObjSense()));
    s.PutRaw(hasBranch);
    s.PutRaw(problem.ObjConst());
  });
  Section(out, kCols, [&](OutBuffer& s) {
    PutArray(s, cols.obj);
    PutArray(s, cols.lower);
    PutArray(s, cols.upper);
    PutArray(s, cols.type);
    if (hasBranch) PutArray(s, cols.branch);
  });
  Section(out, kRows, [&](OutBuffer& s) {
    PutArray(s, rows.lower);
    PutArray(s, rows.upper);
  });
  Section(out, kMatrix, [&](OutBuffer& s) {
    PutArray(s, begin);
    for (int j = 0; j < n; ++j) s.PutBytes(matrix.Vector(j).idx, static_cast<size_t>(matrix.Vector(j).len) * sizeof(int));
    for (int j = 0; j < n; ++j) {
      s.PutBytes(matrix.Vector(j).val, static_cast<size_t>(matrix.Vector(j).len) * sizeof(double));
    }
  });
  Section(out, kColNames, [&](OutBuffer& s) { PutNames(s, cols.names); });
  Section(out, kRowNames, [&](OutBuffer& s) { PutNames(s, rows.names); });
  const MipStartTable& starts = problem.MipStarts();
  Section(out, kMipStarts, [&](OutBuffer& s) {
    s.PutRaw(static_cast<std::int32_t>(starts.Size()));
    PutArray(s, starts.begin);
    PutArray(s, starts.col);
    PutArray(s, starts.value);
  });
  const QuadStore& quad = problem.Quad();
  Section(out, kQuadObj, [&](OutBuffer& s) {
    s.PutRaw(static_cast<std::int64_t>(quad.objective.Size()));
    PutArray(s, quad.objective.row);
    PutArray(s, quad.objective.col);
    PutArray(s, quad.objective.val);
  });
  const QuadRowTable& q = quad.rows;
  Section(out, kQuadRows, [&](OutBuffer& s) {
    s.PutRaw(static_cast<std::int32_t>(q.Size()));
    PutArray(s, q.linBegin);
    PutArray(s, q.linIdx);
    PutArray(s, q.linVal);
    PutArray(s, q.quadBegin);
    PutArray(s, q.quadRow);
    PutArray(s, q.quadCol);
    PutArray(s, q.quadVal);
    PutArray(s, q.sense);
    PutArray(s, q.rhs);
    PutNames(s, q.names);
  });
  const NlStore& nl = problem.Nl();
  Section(out, kNlRows, [&](OutBuffer& s) {
    const NlRowTable& t = nl.rows;
    s.PutRaw(static_cast<std::int32_t>(t.Size()));
    PutArray(s, t.programs.tokBegin);
    PutArray(s, t.programs.tokens);
    PutArray(s, t.programs.constBegin);
    PutArray(s, t.programs.consts);
    PutArray(s, t.linBegin);
    PutArray(s, t.linIdx);
    PutArray(s, t.linVal);
    PutArray(s, t.lower);
    PutArray(s, t.upper);
    PutNames(s, t.names);
  });
  Section(out, kNlObj, [&](OutBuffer& s) {
    s.PutRaw(static_cast<std::int64_t>(nl.objective.tokens.size()));
    PutArray(s, nl.objective.tokens);
    s.PutRaw(static_cast<std::int64_t>(nl.objective.consts.size()));
    PutArray(s, nl.objective.consts);
    // The start is kept per column; columns added after it was set have none.
    std::vector<double> start;
    if (nl.HasStart()) {
      start.assign(static_cast<size_t>(problem.Cols().Size()), std::nan(""));
      std::copy(nl.start.begin(), nl.start.begin() + static_cast<std::ptrdiff_t>(std::min(nl.start.size(), start.size())),
                start.begin());
    }
    s.PutRaw(static_cast<std::int64_t>(start.size()));
    PutArray(s, start);
  });
  if (!problem.Psd().Empty()) Section(out, kPsd, [&](OutBuffer& s) { bin::PutPsd(s, problem.Psd()); });
  const SosConeStore& sosCones = problem.SosCone();
  if (sosCones.sos.Size() > 0) Section(out, kSos, [&](OutBuffer& s) { bin::PutSos(s, sosCones.sos); });
  if (sosCones.indicators.Size() > 0) {
    Section(out, kIndicators, [&](OutBuffer& s) { bin::PutIndicators(s, sosCones.indicators); });
  }
  if (sosCones.cones.Size() > 0) Section(out, kCones, [&](OutBuffer& s) { bin::PutCones(s, sosCones.cones); });
  if (sosCones.expCones.Size() > 0) {
    Section(out, kExpCones, [&](OutBuffer& s) { bin::PutExpCones(s, sosCones.expCones); });
  }
  const std::string& bytes = out.Text();
  const std::uint32_t crc = static_cast<std::uint32_t>(
      crc32_z(0L, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size()));
  Section(out, kEnd, [&](OutBuffer& s) {
    s.PutRaw(crc);
    s.PutRaw(std::uint32_t{0});
  });
  file.Put(out.Text());
  return TARQ_RETCODE_OK;
}

int ParseBin(Problem& problem, std::string_view data, IoError& err) {
  err.byteOffset = true;
  if (data.size() < kHeaderSize + kEndSize || std::memcmp(data.data(), kMagic, sizeof kMagic) != 0) {
    return Fail(err, TARQ_RETCODE_INVALID, 0, data.size() < kHeaderSize ? "the file is too short" : "not a binary problem file");
  }
  const size_t endAt = data.size() - kEndSize;
  std::uint32_t tag = 0, stored = 0;
  std::memcpy(&tag, data.data() + endAt, sizeof tag);
  std::memcpy(&stored, data.data() + endAt + kSectionHeader, sizeof stored);
  const std::uint32_t crc =
      static_cast<std::uint32_t>(crc32_z(0L, reinterpret_cast<const Bytef*>(data.data()), endAt));
  if (tag != kEnd || crc != stored) {
    return Fail(err, TARQ_RETCODE_INVALID, static_cast<std::int64_t>(endAt),
                "checksum mismatch: the file is truncated or corrupt");
  }
  return ParseBody(problem, data, err);
}

int ParseBinUnchecked(Problem& problem, std::string_view data, IoError& err) { return ParseBody(problem, data, err); }

}  // namespace tarq_solver
