// The solver calls and texts of PSD columns, PSD rows and LMI rows, for the operations they share
// with columns and rows (names, information, removal; see scalar/scalar_kind.h).
#pragma once

#include "scalar/scalar_kind.h"

namespace Tarq::detail {

extern const ScalarKind kPsdColKind;
extern const ScalarKind kPsdRowKind;
extern const ScalarKind kLmiRowKind;

}  // namespace Tarq::detail
