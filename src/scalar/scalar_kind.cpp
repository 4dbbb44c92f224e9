#include "scalar/scalar_kind.h"

namespace Tarq::detail {

const ScalarKind kColumnKind = {
    TARQ_GetColName,
    TARQ_SetColNames,
    TARQ_GetColInfo,
    TARQ_GetColBasis,
    TARQ_GetColLowerIIS,
    TARQ_GetColUpperIIS,
    "Invalid variable",
    "Fail to set variable name",
    "Fail to get variable information",
    nullptr,
    "Fail to get IIS status for variable",
    "Unknown variable information",
    {{"LB", TARQ_SetColLower, "Fail to set variable LB"},
     {"UB", TARQ_SetColUpper, "Fail to set variable UB"},
     {"Obj", TARQ_SetColObj, "Fail to set variable Obj"},
     {"BranchFactor", TARQ_SetColBranchFactors, "Fail to set branch factor of variable"}},
    4,
};

const ScalarKind kRowKind = {
    TARQ_GetRowName,
    TARQ_SetRowNames,
    TARQ_GetRowInfo,
    TARQ_GetRowBasis,
    TARQ_GetRowLowerIIS,
    TARQ_GetRowUpperIIS,
    "Invalid constraint",
    "Fail to set constraint name",
    "Fail to get a constraint information",
    "Fail to get a constraint basis",
    "Fail to get IIS status for constraint",
    "Unknown constraint information",
    {{"LB", TARQ_SetRowLower, "Fail to set constraint LB"},
     {"UB", TARQ_SetRowUpper, "Fail to set constraint UB"},
     {nullptr, nullptr, nullptr},
     {nullptr, nullptr, nullptr}},
    2,
};

}  // namespace Tarq::detail
