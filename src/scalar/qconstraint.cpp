#include "scalar/qconstraint.h"

#include "model/names.h"

namespace Tarq {

namespace detail {

const ScalarKind kQuadRowKind = {
    TARQ_GetQConstrName,
    TARQ_SetQConstrNames,
    TARQ_GetQConstrInfo,
    nullptr,
    nullptr,
    nullptr,
    "Invalid constraint",
    "Fail to set name of quadratic constraint",
    "Fail to get information of a quadratic constraint",
    nullptr,
    nullptr,
    "Unknown quadratic constraint information",
    {},
    0,
};

}  // namespace detail

namespace {

// Calls fn(problem, 1, &index, value) for a valid constraint and records its code with message;
// an invalid one records "Invalid quadratic constraint". False when anything failed.
template <class Fn, class T>
bool OneRow(QConstraint& c, Fn fn, T* value, const char* message) {
  if (c.Index() < 0) {
    detail::Record(c.status, TARQ_RETCODE_INVALID, "Invalid quadratic constraint");
    return false;
  }
  const int index = c.Index();
  return detail::Checked(c.status, fn(c.Problem(), 1, &index, value), "%s", message);
}

}  // namespace

double QConstraint::Rhs() {
  double rhs = 0;
  return OneRow(*this, TARQ_GetQConstrRhs, &rhs, "Fail to get rhs of quadratic constraint") ? rhs : 0.0;
}

char QConstraint::Sense() {
  char sense = 0;
  return OneRow(*this, TARQ_GetQConstrSense, &sense, "Fail to get sense of quadratic constraint") ? sense : '\0';
}

void QConstraint::SetRhs(double rhs) {
  OneRow(*this, TARQ_SetQConstrRhs, &rhs, "Fail to set rhs of quadratic constraint");
}

void QConstraint::SetSense(char sense) {
  OneRow(*this, TARQ_SetQConstrSense, &sense, "Fail to set sense of quadratic constraint");
}

double QConstraint::Info(const char* info) {
  double value = TARQ_INFINITY;
  const auto get = [info](tarq_prob* p, int n, const int* list, double* out) {
    return TARQ_GetQConstrInfo(p, info, n, list, out);
  };
  return OneRow(*this, get, &value, "Fail to get information of a quadratic constraint") ? value : TARQ_INFINITY;
}

void QConstraint::SetInfo(const char* info) {
  if (info == nullptr || info[0] == '\0') {
    detail::Record(status, TARQ_RETCODE_INVALID, "Must specify information name of quadratic constraint");
  } else if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid quadratic constraint");
  } else {
    detail::Record(status, TARQ_RETCODE_INVALID, "Unknown quadratic constraint information");
  }
}

}  // namespace Tarq

void TarqQConstrBuilder::Set(const Tarq::IQuadExpr* expr, char sense, double rhs) {
  Tarq::QConstrBuilder& b = Data();
  b.expr = Tarq::QuadExprOf(expr);  // both parts, and the statuses with non-zero codes
  b.expr.lin.constant -= rhs;
  b.sense = sense;
}

void TarqQConstrBuilderArray::PushBack(const Tarq::IQConstrBuilder* b) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::QBuilderOf(b));
}
