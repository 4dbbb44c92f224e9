#include "psdnl/psd_kinds.h"

namespace Tarq::detail {

namespace {

// PSD columns and LMI rows have no information of the list form; theirs is read as a matrix.
int NoListInfo(tarq_prob*, const char*, int, const int*, double*) { return TARQ_RETCODE_INVALID; }
int NoListStatus(tarq_prob*, int, const int*, int*) { return TARQ_RETCODE_INVALID; }

}  // namespace

const ScalarKind kPsdColKind = {
    TARQ_GetPSDColName,
    TARQ_SetPSDColNames,
    NoListInfo,
    NoListStatus,
    NoListStatus,
    NoListStatus,
    "Invalid PSD variable",
    "Fail to set PSD variable name",
    "Fail to get informations of PSD variables",
    nullptr,
    nullptr,
    "Unknown PSD variable information",
    {{nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}},
    0,
};

const ScalarKind kPsdRowKind = {
    TARQ_GetPSDConstrName,
    TARQ_SetPSDConstrNames,
    TARQ_GetPSDConstrInfo,
    NoListStatus,
    NoListStatus,
    NoListStatus,
    "Invalid PSD constraint",
    "Fail to set name of PSD constraint",
    "Fail to get a PSD constraint information",
    nullptr,
    nullptr,
    "Unknown PSD constraint information",
    {{"LB", TARQ_SetPSDConstrLower, "Fail to set LB of PSD constraint"},
     {"UB", TARQ_SetPSDConstrUpper, "Fail to set UB of PSD constraint"},
     {nullptr, nullptr, nullptr},
     {nullptr, nullptr, nullptr}},
    2,
};

const ScalarKind kLmiRowKind = {
    TARQ_GetLMIConstrName,
    TARQ_SetLMIConstrNames,
    NoListInfo,
    NoListStatus,
    NoListStatus,
    NoListStatus,
    "Invalid LMI constraint",
    "Fail to set name of LMI constraint",
    "Fail to get information of LMI constraint",
    nullptr,
    nullptr,
    "Unknown LMI constraint information",
    {{nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}, {nullptr, nullptr, nullptr}},
    0,
};

}  // namespace Tarq::detail
