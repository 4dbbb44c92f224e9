#include "store/attributes.h"

#include <algorithm>
#include <climits>

namespace tarq_solver {
namespace {

int Capped(std::int64_t n) { return n > INT_MAX ? INT_MAX : static_cast<int>(n); }

int CountType(const ColumnTable& cols, char type) {
  return static_cast<int>(std::count(cols.type.begin(), cols.type.end(), type));
}

}  // namespace

int IntAttrValue(Problem& p, IntAttr attr) {
  const ColumnTable& cols = p.Cols();
  switch (attr) {
    case IntAttr::Cols: return cols.Size();
    case IntAttr::Rows: return p.Rows().Size();
    case IntAttr::Elems: return Capped(p.Matrix().Nonzeros());
    case IntAttr::Bins: return CountType(cols, 'B');
    case IntAttr::Ints: return CountType(cols, 'I');
    case IntAttr::IsMIP:
      if (p.SosCone().sos.Size() > 0 || p.SosCone().indicators.Size() > 0) return 1;
      return std::any_of(cols.type.begin(), cols.type.end(), [](char t) { return t != 'C'; }) ? 1 : 0;
    case IntAttr::ObjSense: return p.ObjSense();
    case IntAttr::HasBranchFactor:
      return std::any_of(cols.branch.begin(), cols.branch.end(), [](double f) { return f != 0.0; }) ? 1 : 0;
    case IntAttr::HasBasis: return p.Result().HasBasis(cols.Size(), p.Rows().Size()) ? 1 : 0;
    case IntAttr::HasIIS: return p.Result().HasIis(cols.Size(), p.Rows().Size()) ? 1 : 0;
    case IntAttr::MultiObjs: return p.MultiObjs().Count();
    case IntAttr::QElems: return p.Quad().objective.Size();
    case IntAttr::QConstrs: return p.Quad().rows.Size();
    case IntAttr::HasQObj: return p.Quad().objective.Empty() ? 0 : 1;
    case IntAttr::NLConstrs: return p.Nl().rows.Size();
    case IntAttr::NLElems: {
      const NlStore& nl = p.Nl();
      return Capped(static_cast<std::int64_t>(nl.rows.programs.tokens.size()) +
                    (nl.HasObjective() ? static_cast<std::int64_t>(nl.objective.tokens.size()) : 0));
    }
    case IntAttr::HasNLObj: return p.Nl().HasObjective() ? 1 : 0;
    case IntAttr::HasNLData: return p.Nl().Empty() ? 0 : 1;
    case IntAttr::HasNLPrimalStart: return p.Nl().HasStart() ? 1 : 0;
    case IntAttr::PSDCols: return p.Psd().Cols().Size();
    case IntAttr::PSDConstrs: return p.Psd().Rows().Size();
    case IntAttr::LMIConstrs: return p.Psd().Lmis().Size();
    case IntAttr::SymMats: return p.Psd().Mats().Size();
    case IntAttr::PSDElems: return Capped(p.Psd().PsdTerms());
    case IntAttr::HasPSDObj: return p.Psd().HasObj() ? 1 : 0;
    case IntAttr::PSDLens: return Capped(p.Psd().PsdDims());
    case IntAttr::LMILens: return Capped(p.Psd().LmiDims());
    // Kinds of object the store cannot hold yet: there are none of them.
    case IntAttr::Soss: return p.SosCone().sos.Size();
    case IntAttr::Indicators: return p.SosCone().indicators.Size();
    case IntAttr::Cones: return p.SosCone().cones.Size();
    case IntAttr::ExpCones: return p.SosCone().expCones.Size();
    case IntAttr::AffineCones: case IntAttr::LazyCons: case IntAttr::LazyConsElems:
      return 0;
    default: return p.Result().attrs[attr];
  }
}

double DblAttrValue(Problem& p, DblAttr attr) {
  if (attr == DblAttr::ObjConst) return p.ObjConst();
  return p.Result().attrs[attr];
}

}  // namespace tarq_solver
