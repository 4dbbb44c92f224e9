// Adding SOS constraints, indicator constraints, second-order cones and exponential cones: one
// small function per path, every batch in one solver call (all or none); the bulk cone loads.
#include "model/model_templates.h"
#include "model/tarq_model.h"
#include "scalar/constraint.h"
#include "scalar/sos_cone.h"

using Tarq::detail::BatchNames;
using Tarq::detail::Kind;
using Tarq::detail::ModelData;

namespace {

// Appends the positions of vars to out. A variable that is removed or stands for nothing gives
// "Invalid variable", one of another model "Variable of another model"; false then.
bool AppendVarIndices(ModelData& m, const Tarq::VarArray& vars, std::vector<int>& out) {
  Tarq::detail::GrowAhead(out, vars.size());
  for (const auto& v : vars) {
    if (v.Index() < 0) {
      Record(m.status, TARQ_RETCODE_INVALID, "Invalid variable");
      return false;
    }
    if (!m.Owns(v)) {
      Record(m.status, TARQ_RETCODE_INVALID, "Variable of another model");
      return false;
    }
    out.push_back(v.Index());
  }
  return true;
}

int Size(std::size_t n) { return static_cast<int>(n); }

// ---- SOS

// Checks one SOS's variables and stages them (positions in m.idx_ after those staged before).
bool StageSos(ModelData& m, const Tarq::VarArray& vars) { return AppendVarIndices(m, vars, m.idx_); }

Tarq::ISos* AddOneSos(ModelData& m, const Tarq::VarArray& vars, const double* weights, int type) {
  m.idx_.clear();
  if (!StageSos(m, vars)) return new TarqSos(Tarq::Sos());
  const int beg[2] = {0, Size(m.idx_.size())};
  if (!Checked(m.status, TARQ_AddSOSs(m.Problem(), 1, &type, beg, nullptr, m.idx_.data(), weights),
               "Fail to add sos constraint")) {
    return new TarqSos(Tarq::Sos());
  }
  return new TarqSos(m.AppendOne<Tarq::Sos>(Kind::kSos, nullptr));
}

// ---- Indicators

// The indicator variable must be a binary column of this model.
bool ValidIndicatorVar(ModelData& m, const Tarq::Var& binVar) {
  Tarq::Var v = binVar;
  if (v.Index() < 0 || !m.Owns(v) || v.Type() != 'B') {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid indicator variable");
    return false;
  }
  return true;
}

bool ValidIndicatorSense(ModelData& m, char sense) {
  if (sense == 'E' || sense == 'G' || sense == 'L') return true;
  Record(m.status, TARQ_RETCODE_INVALID, "Invalid general constraint sense");
  return false;
}

Tarq::IGenConstr* AddOneIndicator(ModelData& m, const Tarq::Var& binVar, int binVal, Tarq::LinExpr& expr, char sense,
                                  double rhs, int type, const char* name) {
  if (!ValidIndicatorVar(m, binVar) || !ValidIndicatorSense(m, sense)) return new TarqGenConstr(Tarq::GenConstr());
  if (!m.GatherExpr(expr)) return new TarqGenConstr(Tarq::GenConstr());
  const std::string normalised = Tarq::detail::NormaliseName(name);
  const char* text = normalised.c_str();
  const int binCol = binVar.Index();
  const int beg[2] = {0, Size(m.idx_.size())};
  const double bound = rhs - expr.constant;
  if (!Checked(m.status,
               TARQ_AddIndicators(m.Problem(), 1, &type, &binCol, &binVal, beg, nullptr, m.idx_.data(), expr.coefs.data(),
                                  &sense, &bound, normalised.empty() ? nullptr : &text),
               "Fail to add an indicator constraint")) {
    return new TarqGenConstr(Tarq::GenConstr());
  }
  return new TarqGenConstr(m.AppendOne<Tarq::GenConstr>(Kind::kGenConstr, text));
}

// ---- Cones

bool ValidConeDim(ModelData& m, int type, std::size_t n) {
  if (n < 1 || (type == TARQ_CONE_QUAD && n < 2)) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid dimension for cone");
    return false;
  }
  if (type == TARQ_CONE_RQUAD && n < 3) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid dimension for rotated cone");
    return false;
  }
  return true;
}

bool StageCone(ModelData& m, const Tarq::ConeBuilder& b) {
  return AppendVarIndices(m, b.vars, m.idx_) && ValidConeDim(m, b.type, b.vars.size());
}

Tarq::ICone* AddOneCone(ModelData& m, const Tarq::ConeBuilder& b) {
  m.idx_.clear();
  if (!StageCone(m, b)) return new TarqCone(Tarq::Cone());
  const int beg[2] = {0, Size(m.idx_.size())};
  if (!Checked(m.status, TARQ_AddCones(m.Problem(), 1, &b.type, beg, nullptr, m.idx_.data()), "Fail to add a cone")) {
    return new TarqCone(Tarq::Cone());
  }
  return new TarqCone(m.AppendOne<Tarq::Cone>(Kind::kCone, nullptr));
}

// ---- Exponential cones

bool StageExpCone(ModelData& m, const Tarq::ConeBuilder& b) {
  if (b.vars.size() != 3) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid dimension of variable array for exponential cone");
    return false;
  }
  if (b.type != TARQ_EXPCONE_PRIMAL && b.type != TARQ_EXPCONE_DUAL) {
    Record(m.status, TARQ_RETCODE_INVALID, "Invalid type for exponential cone");
    return false;
  }
  return AppendVarIndices(m, b.vars, m.idx_);
}

Tarq::IExpCone* AddOneExpCone(ModelData& m, const Tarq::ConeBuilder& b) {
  m.idx_.clear();
  if (!StageExpCone(m, b)) return new TarqExpCone(Tarq::ExpCone());
  if (!Checked(m.status, TARQ_AddExpCones(m.Problem(), 1, &b.type, m.idx_.data()), "Fail to add an exponential cone")) {
    return new TarqExpCone(Tarq::ExpCone());
  }
  return new TarqExpCone(m.AppendOne<Tarq::ExpCone>(Kind::kExpCone, nullptr));
}

// Stages every builder of a batch of cones of either kind: m.idx_ holds the members, m.beg_
// the n + 1 offsets, types the types. False (status recorded) at the first bad builder.
template <class Stage>
bool StageConeBatch(ModelData& m, const Tarq::ConeBuilderArray& builders, std::vector<int>& types, Stage stage) {
  m.idx_.clear();
  m.beg_.assign(1, 0);
  m.beg_.reserve(builders.size() + 1);
  types.reserve(builders.size());
  for (const Tarq::ConeBuilder& b : builders) {
    if (!stage(m, b)) return false;
    m.beg_.push_back(Size(m.idx_.size()));
    types.push_back(b.type);
  }
  return true;
}

}  // namespace

Tarq::ISos* TarqModel::AddSos(const Tarq::IVarArray* vars, const double* weights, int type) {
  return AddOneSos(Data(), Tarq::VarsOf(vars), weights, type);
}

Tarq::ISos* TarqModel::AddSos(Tarq::ISosBuilder* builder) {
  const Tarq::SosBuilder& b = Tarq::SosBuilderOf(builder);
  return AddOneSos(Data(), b.vars, b.weights.data(), b.type);
}

Tarq::ISosArray* TarqModel::AddSoss(Tarq::ISosBuilderArray* builders) {
  ModelData& m = Data();
  const Tarq::SosBuilderArray& bs = Tarq::SosBuildersOf(builders);
  std::vector<int> types;
  types.reserve(bs.size());
  m.idx_.clear();
  m.val_.clear();
  m.beg_.assign(1, 0);
  for (const Tarq::SosBuilder& b : bs) {
    if (!StageSos(m, b.vars)) return new TarqSosArray();
    m.val_.insert(m.val_.end(), b.weights.begin(), b.weights.end());
    m.beg_.push_back(Size(m.idx_.size()));
    types.push_back(b.type);
  }
  const int n = Size(bs.size());
  if (!Checked(m.status,
               TARQ_AddSOSs(m.Problem(), n, types.data(), m.beg_.data(), nullptr, m.idx_.data(), m.val_.data()),
               "Fail to add sos constraint")) {
    return new TarqSosArray();
  }
  return new TarqSosArray(m.Append<Tarq::Sos>(Kind::kSos, n, nullptr));
}

Tarq::IGenConstr* TarqModel::AddGenConstrIndicator(Tarq::IGenConstrBuilder* builder, const char* name) {
  Tarq::GenConstrBuilder& b = Tarq::GenConstrBuilderOf(builder);
  return AddOneIndicator(Data(), b.binVar, b.binVal, b.expr, b.sense, 0.0, b.type, name);
}

Tarq::IGenConstr* TarqModel::AddGenConstrIndicator(Tarq::IVar* binVar, int binVal, Tarq::IConstrBuilder* builder,
                                                   int type, const char* name) {
  Tarq::ConstrBuilder& b = Tarq::BuilderOf(builder);
  return AddOneIndicator(Data(), Tarq::VarOf(binVar), binVal, b.expr, b.sense, 0.0, type, name);
}

Tarq::IGenConstr* TarqModel::AddGenConstrIndicator(Tarq::IVar* binVar, int binVal, Tarq::IExpr* expr, char sense,
                                                   double rhs, int type, const char* name) {
  return AddOneIndicator(Data(), Tarq::VarOf(binVar), binVal, Tarq::ExprOf(expr), sense, rhs, type, name);
}

Tarq::IGenConstrArray* TarqModel::AddGenConstrIndicator(Tarq::IGenConstrBuilderArray* builders, const char* prefix) {
  ModelData& m = Data();
  Tarq::GenConstrBuilderArray& bs = Tarq::GenConstrBuildersOf(builders);
  const std::size_t n = bs.size();
  std::vector<int> types, binCols, binVals, beg, idx;
  std::vector<double> bounds, val;
  std::vector<char> senses;
  types.reserve(n);
  binCols.reserve(n);
  binVals.reserve(n);
  bounds.reserve(n);
  senses.reserve(n);
  beg.reserve(n + 1);
  beg.push_back(0);
  for (Tarq::GenConstrBuilder& b : bs) {
    if (!ValidIndicatorVar(m, b.binVar) || !ValidIndicatorSense(m, b.sense) || !m.GatherExpr(b.expr)) {
      return new TarqGenConstrArray();
    }
    idx.insert(idx.end(), m.idx_.begin(), m.idx_.end());
    val.insert(val.end(), b.expr.coefs.begin(), b.expr.coefs.end());
    beg.push_back(Size(idx.size()));
    types.push_back(b.type);
    binCols.push_back(b.binVar.Index());
    binVals.push_back(b.binVal);
    senses.push_back(b.sense);
    bounds.push_back(-b.expr.constant);
  }
  const BatchNames names = BatchNames::FromPrefix(prefix, m.Count(Kind::kGenConstr), Size(n));
  if (!Checked(m.status,
               TARQ_AddIndicators(m.Problem(), Size(n), types.data(), binCols.data(), binVals.data(), beg.data(),
                                  nullptr, idx.data(), val.data(), senses.data(), bounds.data(), names.Pointers()),
               "Fail to add an indicator constraint")) {
    return new TarqGenConstrArray();
  }
  return new TarqGenConstrArray(m.Append<Tarq::GenConstr>(Kind::kGenConstr, Size(n), names.Pointers()));
}

Tarq::ICone* TarqModel::AddCone(Tarq::IConeBuilder* builder) {
  return AddOneCone(Data(), Tarq::ConeBuilderOf(builder));
}

Tarq::ICone* TarqModel::AddCone(const Tarq::IVarArray* vars, int type) {
  return AddOneCone(Data(), Tarq::ConeBuilder{type, Tarq::VarsOf(vars)});
}

Tarq::IConeArray* TarqModel::AddCone(Tarq::IConeBuilderArray* builders) {
  ModelData& m = Data();
  const Tarq::ConeBuilderArray& bs = Tarq::ConeBuildersOf(builders);
  std::vector<int> types;
  if (!StageConeBatch(m, bs, types, StageCone)) return new TarqConeArray();
  const int n = Size(bs.size());
  if (!Checked(m.status, TARQ_AddCones(m.Problem(), n, types.data(), m.beg_.data(), nullptr, m.idx_.data()),
               "Fail to add a cone")) {
    return new TarqConeArray();
  }
  return new TarqConeArray(m.Append<Tarq::Cone>(Kind::kCone, n, nullptr));
}

Tarq::IExpCone* TarqModel::AddExpCone(Tarq::IExpConeBuilder* builder) {
  return AddOneExpCone(Data(), Tarq::ExpConeBuilderOf(builder));
}

Tarq::IExpCone* TarqModel::AddExpCone(const Tarq::IVarArray* vars, int type) {
  return AddOneExpCone(Data(), Tarq::ConeBuilder{type, Tarq::VarsOf(vars)});
}

Tarq::IExpConeArray* TarqModel::AddExpCone(Tarq::IExpConeBuilderArray* builders) {
  ModelData& m = Data();
  const Tarq::ConeBuilderArray& bs = Tarq::ExpConeBuildersOf(builders);
  std::vector<int> types;
  if (!StageConeBatch(m, bs, types, StageExpCone)) return new TarqExpConeArray();
  const int n = Size(bs.size());
  if (!Checked(m.status, TARQ_AddExpCones(m.Problem(), n, types.data(), m.idx_.data()),
               "Fail to add an exponential cone")) {
    return new TarqExpConeArray();
  }
  return new TarqExpConeArray(m.Append<Tarq::ExpCone>(Kind::kExpCone, n, nullptr));
}

void TarqModel::AddCones(int num, const int* types, const int* beg, const int* cnt, const int* idx) {
  ModelData& m = Data();
  if (!Checked(m.status, TARQ_AddCones(m.Problem(), num, types, beg, cnt, idx), "Fail to load cone data")) return;
  m.AppendRecords(Kind::kCone, num, nullptr);
}

void TarqModel::AddExpCones(int num, const int* types, const int* idx) {
  ModelData& m = Data();
  if (!Checked(m.status, TARQ_AddExpCones(m.Problem(), num, types, idx), "Fail to load exponential cone data")) return;
  m.AppendRecords(Kind::kExpCone, num, nullptr);
}

void TarqModel::LoadConeMatrix(int nCol, int nRow, int nFree, int nPositive, int nCone, int nRotateCone,
                               int nPrimalExp, int nDualExp, const int* coneDim, int objSense, double objConst,
                               const double* obj, const int* colBeg, const int* colCnt, const int* colIdx,
                               const double* colVal, const double* rowLower, const double* rowUpper,
                               const char* colTypes) {
  ModelData& m = Data();
  if (!Checked(m.status,
               TARQ_LoadConeProb(m.Problem(), nCol, nRow, nFree, nPositive, nCone, nRotateCone, nPrimalExp, nDualExp,
                                 coneDim, objSense, objConst, obj, colBeg, colCnt, colIdx, colVal, rowLower, rowUpper,
                                 colTypes),
               "Fail to load cone problem by matrix")) {
    return;
  }
  m.Resync();
}
