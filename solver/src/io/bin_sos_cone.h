// The sections of SOS constraints, indicator rows, second-order and exponential cones of the
// binary format (see bin_format.cpp for the file's layout; version 5, each optional):
//
//   kSos        i32 count s, i32 type[s], i64 begin[s + 1], i32 column[], f64 weight[]
//   kIndicators i32 count r, i32 type[r], i32 indicator column[r], i32 indicator value[r],
//               u8 sense[r], f64 bound[r], i64 begin[r + 1], i32 column[], f64 value[], names
//   kCones      i32 count c, i32 type[c], i64 begin[c + 1], i32 column[]
//   kExpCones   i32 count e, i32 type[e], i32 column[3e]
//
// Reading collects the sections, then adds them to a scratch problem with as many columns
// through the store's checked operations, so every type, index, weight, sense and bound is
// checked as if it had been added through the C interface. The one exception: an indicator
// column need not be binary any more, since the problem keeps indicator rows whose column was
// made continuous after they were added, and a file must read back what was written.
#pragma once

#include "io/bin_io.h"
#include "store/sos_cone_table.h"

namespace tarq_solver::bin {

void PutSos(OutBuffer& out, const SosTable& t);
void PutIndicators(OutBuffer& out, const IndicatorTable& t);
void PutCones(OutBuffer& out, const ConeTable& t);
void PutExpCones(OutBuffer& out, const ExpConeTable& t);

// The SOS and cone sections as read, before they are checked.
struct SosConeRead {
  bool any = false;
  std::vector<std::int32_t> sosType, sosCol;
  std::vector<std::int64_t> sosBegin{0};
  std::vector<double> sosWeight;
  std::vector<std::int32_t> indType, indBinCol, indBinVal, indCol;
  std::vector<char> indSense;
  std::vector<double> indBound, indVal;
  std::vector<std::int64_t> indBegin{0};
  std::string indNameBlock;
  std::vector<const char*> indNames;
  std::vector<std::int32_t> coneType, coneCol;
  std::vector<std::int64_t> coneBegin{0};
  std::vector<std::int32_t> expType, expCol;
};

int ReadSos(ByteReader& in, SosConeRead& r);
int ReadIndicators(ByteReader& in, SosConeRead& r);
int ReadCones(ByteReader& in, SosConeRead& r);
int ReadExpCones(ByteReader& in, SosConeRead& r);

// Checks what was read against nCol columns and builds the store.
int BuildSosCone(ByteReader& in, const SosConeRead& r, int nCol, SosConeStore& out);

}  // namespace tarq_solver::bin
