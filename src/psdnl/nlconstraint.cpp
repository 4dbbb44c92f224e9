#include "psdnl/nlconstraint.h"

#include <sstream>
#include <strings.h>

#include "model/names.h"

namespace Tarq {

namespace detail {

const ScalarKind kNlRowKind = {
    TARQ_GetNLConstrName,
    TARQ_SetNLConstrNames,
    TARQ_GetNLConstrInfo,
    nullptr,
    nullptr,
    nullptr,
    "Invalid nonlinear constraint",
    "Fail to set name of nonlinear constraint",
    "Fail to get a nonlinear constraint info",
    nullptr,
    nullptr,
    "Unknown nonlinear constraint info",
    {},
    0,
};

}  // namespace detail

double NlConstraint::Info(const char* info) {
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid nonlinear constraint");
    return TARQ_INFINITY;
  }
  const int index = Index();
  double value = TARQ_INFINITY;
  if (!detail::Checked(status, TARQ_GetNLConstrInfo(Problem(), info, 1, &index, &value),
                       "Fail to get a nonlinear constraint info of '%s'", info != nullptr ? info : "")) {
    return TARQ_INFINITY;
  }
  return value;
}

void NlConstraint::SetInfo(const char* info, double value) {
  if (info == nullptr || info[0] == '\0') {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid info name");
    return;
  }
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid nonlinear constraint");
    return;
  }
  const int index = Index();
  if (strcasecmp(info, "LB") == 0) {
    detail::Checked(status, TARQ_SetNLConstrLower(Problem(), 1, &index, &value), "Fail to set LB of nonlinear constraint");
  } else if (strcasecmp(info, "UB") == 0) {
    detail::Checked(status, TARQ_SetNLConstrUpper(Problem(), 1, &index, &value), "Fail to set UB of nonlinear constraint");
  } else {
    detail::Record(status, TARQ_RETCODE_INVALID, "Unknown nonlinear constraint info of '%s'", info);
  }
}

}  // namespace Tarq

void TarqNlConstrBuilder::SetBuilder(const Tarq::INlExpr* expr, char sense, double rhs) {
  Tarq::NlConstrBuilder& b = Data();
  b.expr = Tarq::NlExprOf(expr).Copy();
  b.expr.lin.constant -= rhs;
  b.sense = sense;
  b.range = 0;
}

void TarqNlConstrBuilder::SetRange(const Tarq::INlExpr* expr, double range) {
  Tarq::NlConstrBuilder& b = Data();
  b.expr = Tarq::NlExprOf(expr).Copy();
  b.sense = 'R';
  b.range = range;
}

const char* TarqNlConstrBuilder::ToString(std::size_t limit) {
  std::ostringstream out;
  Tarq::NlConstrBuilder& b = Data();
  b.expr.Print(out, limit);
  switch (b.sense) {
    case 'L': out << " <= 0"; break;
    case 'G': out << " >= 0"; break;
    case 'E': out << " == 0"; break;
    case 'R': out << " in [" << -b.range << ", 0]"; break;
    default: break;
  }
  text_ = out.str();
  return text_.c_str();
}

void TarqNlConstrBuilderArray::PushBack(const Tarq::INlConstrBuilder* b) {
  Tarq::detail::GrowAhead(Data(), 1);
  const Tarq::NlConstrBuilder& from = Tarq::NlBuilderOf(b);
  Data().push_back(Tarq::NlConstrBuilder{from.expr.Copy(), from.sense, from.range});
}
