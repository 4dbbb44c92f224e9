// The semidefinite section of the binary format (see bin_format.cpp for the file's layout).
//
//   matrices   i32 count k, i32 dim[k], i64 begin[k + 1], i32 row[], i32 col[], f64 value[]
//   PSD cols   i32 count c, i32 dim[c], i32 objective matrix[c] (-1 none), names
//   PSD rows   i32 count r, f64 lower[r], f64 upper[r], scalar terms (i64 begin[r + 1], i32
//              column[], f64 value[]), PSD terms (i64 begin[r + 1], i32 PSD column[], i32
//              matrix[]), names
//   LMI rows   i32 count l, i32 dim[l], i32 constant matrix[l] (-1 none), terms (i64 begin[l + 1],
//              i32 column[], i32 matrix[]), names
//
// Reading rebuilds the parts through the store's checked operations, so every index, dimension
// and value is checked as if it had been added through the C interface.
#pragma once

#include "io/bin_io.h"
#include "store/psd_store.h"

namespace tarq_solver::bin {

void PutPsd(OutBuffer& out, const PsdStore& psd);
// Reads the section into out, checking it against a problem of nCol scalar columns.
int ReadPsd(ByteReader& in, int nCol, PsdStore& out);

}  // namespace tarq_solver::bin
