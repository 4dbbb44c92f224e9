// What distinguishes the handles on columns and rows: the solver calls they make and the texts
// they record. Variables and constraints share one implementation over these tables.
#pragma once

#include "tarq.h"

namespace Tarq::detail {

using ListDoubleFn = int (*)(tarq_prob*, int, const int*, const double*);
using ListIntOutFn = int (*)(tarq_prob*, int, const int*, int*);

struct InfoSetter {
  const char* info;  // compared without regard to letter case, at equal length
  ListDoubleFn call;
  const char* failure;
};

struct ScalarKind {
  int (*getName)(tarq_prob*, int, char*, int, int*);
  int (*setNames)(tarq_prob*, int, const int*, const char* const*);
  int (*getInfo)(tarq_prob*, const char*, int, const int*, double*);
  ListIntOutFn getBasis;
  ListIntOutFn lowerIIS;
  ListIntOutFn upperIIS;
  const char* invalid;         // "Invalid variable"
  const char* setNameFailure;  // "Fail to set variable name"
  const char* getInfoFailure;
  const char* basisFailure;    // null: the status takes the call's code with an empty text
  const char* iisFailure;
  const char* unknownInfo;
  InfoSetter setters[4];
  int setterCount;
};

extern const ScalarKind kColumnKind;
extern const ScalarKind kRowKind;

}  // namespace Tarq::detail
