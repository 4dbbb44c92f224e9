// The order of every interface's virtual operations is part of the binary interface: callers
// compiled against one release call by vtable slot. These tests read each operation's slot and
// check that the operations occupy consecutive slots in the documented order, starting right
// after the destructor pair, and that the header declares no operation beyond the list. An
// operation inserted out of its group, appended at the end, or missing from the list fails here.
//
// On the Itanium C++ ABI (g++ and clang on Linux) a pointer to a virtual member function holds
// 1 + the operation's byte offset in the vtable, so the slot is observable without an object.
#include <gtest/gtest.h>

#include <cctype>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tarq/tarq.hpp"

namespace {

using namespace Tarq;

struct Slot {
  const char* name;
  std::ptrdiff_t slot;  // -1 when the member is not virtual
};

template <class C, class F>
std::ptrdiff_t SlotOf(F C::*member) {
  static_assert(sizeof member == 2 * sizeof(std::ptrdiff_t), "Itanium member-function pointer expected");
  std::ptrdiff_t raw[2];
  std::memcpy(raw, &member, sizeof raw);
  if ((raw[0] & 1) == 0) return -1;
  return (raw[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

#define S(NAME, ...) Slot{#NAME, SlotOf<Class, __VA_ARGS__>(&Class::NAME)}

std::string ReadHeader(const std::string& file) {
  std::ifstream in(std::string(TARQ_INCLUDE_DIR) + "/tarq/" + file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

int CountWord(const std::string& text, const std::string& word) {
  int n = 0;
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + word.size())) ++n;
  return n;
}

// Number of virtual operations (the destructor counted once) that the header declares for a
// class, including those declared through macros defined in the same header.
int DeclaredVirtuals(const std::string& file, const std::string& className) {
  const std::string text = ReadHeader(file);
  const std::size_t begin = text.find("class " + className + " {");
  if (begin == std::string::npos) return -1;
  const std::size_t end = text.find("\n};", begin);
  const std::string body = text.substr(begin, end - begin);
  int n = CountWord(body, "virtual ");
  // Macros that declare operations may live in any interface header.
  std::string all;
  for (const auto& entry : std::filesystem::directory_iterator(std::string(TARQ_INCLUDE_DIR) + "/tarq")) {
    all += ReadHeader(entry.path().filename().string());
  }
  const std::string define = "#define ";
  for (std::size_t at = all.find(define); at != std::string::npos; at = all.find(define, at + 1)) {
    const std::size_t nameBegin = at + define.size();
    std::size_t nameEnd = nameBegin;
    while (nameEnd < all.size() && (std::isalnum(static_cast<unsigned char>(all[nameEnd])) || all[nameEnd] == '_')) {
      ++nameEnd;
    }
    if (nameEnd >= all.size() || all[nameEnd] != '(') continue;
    const std::string macro = all.substr(nameBegin, nameEnd - nameBegin);
    const int uses = CountWord(body, macro + "(");
    if (uses == 0) continue;
    std::size_t to = at;
    while ((to = all.find('\n', to + 1)) != std::string::npos && all[to - 1] == '\\') {
    }
    n += uses * CountWord(all.substr(at, to - at), "virtual ");
  }
  return n;
}

// Slots 0 and 1 hold the destructor pair; the listed operations must follow in order, one slot
// each, and be all the header declares.
void ExpectSlotOrder(const std::vector<Slot>& ops, const std::string& file, const std::string& className) {
  for (std::size_t i = 0; i < ops.size(); ++i) {
    EXPECT_EQ(ops[i].slot, static_cast<std::ptrdiff_t>(i) + 2)
        << className << "::" << ops[i].name << " is not in slot " << i + 2 << " (operation " << i
        << " of the documented order)";
  }
  EXPECT_EQ(DeclaredVirtuals(file, className), static_cast<int>(ops.size()) + 1)
      << file << " declares operations of " << className << " that the documented order does not list";
}

TEST(SlotOrder, ModelOperationsFollowTheirFifteenGroups) {
  using Class = IModel;
  const std::vector<Slot> ops = {
      // File reading: the dispatcher, then the readers.
      S(Read, void(const char*)), S(ReadMps, void(const char*)), S(ReadLp, void(const char*)),
      S(ReadSdpa, void(const char*)), S(ReadCbf, void(const char*)), S(ReadBin, void(const char*)),
      S(ReadSol, void(const char*)), S(ReadJsonSol, void(const char*)), S(ReadBasis, void(const char*)),
      S(ReadMst, void(const char*)), S(ReadOrd, void(const char*)), S(ReadParam, void(const char*)),
      S(ReadTune, void(const char*)),
      // Parameters.
      S(GetIntParamInfo, void(const char*, int*, int*, int*, int*)),
      S(GetDblParamInfo, void(const char*, double*, double*, double*, double*)),
      S(GetIntParam, int(const char*)), S(GetDblParam, double(const char*)),
      S(SetIntParam, void(const char*, int)), S(SetDblParam, void(const char*, double)),
      // File writing.
      S(Write, void(const char*)), S(WriteMps, void(const char*)), S(WriteMpsStr, void(IProbBuffer*)),
      S(WriteLp, void(const char*)), S(WriteCbf, void(const char*)), S(WriteBin, void(const char*)),
      S(WriteNl, void(const char*)), S(WriteIIS, void(const char*)), S(WriteRelax, void(const char*)),
      S(WriteSol, void(const char*)), S(WriteJsonSol, void(const char*)), S(WritePoolSol, void(int, const char*)),
      S(WriteBasis, void(const char*)), S(WriteMst, void(const char*)), S(WriteOrd, void(const char*)),
      S(WriteParam, void(const char*)), S(WriteTuneParam, void(int, const char*)),
      // Attributes, then the name search.
      S(GetIntAttr, int(const char*)), S(GetDblAttr, double(const char*)), S(SearchParamAttr, int(const char*)),
      // The add family by kind. Variables: the raw-column form sits between the AddVars forms.
      S(AddVar, IVar*(double, double, double, char, const char*)),
      S(AddVar, IVar*(double, double, double, char, IColumn*, const char*)),
      S(AddVars, IVarArray*(int, char, const char*)),
      S(AddVars, IVarArray*(int, double, double, double, char, const char*)),
      S(AddVars, IVarArray*(int, const double*, const double*, const double*, const char*, const char*)),
      S(AddVar, IVar*(double, double, double, char, int, const int*, const double*, const char*)),
      S(AddVars, IVarArray*(int, char, const char*, std::size_t)),
      S(AddVars, IVarArray*(int, double, double, double, char, const char*, std::size_t)),
      S(AddVars, IVarArray*(int, const double*, const double*, const double*, const char*, const char*, std::size_t)),
      S(AddVars, IVarArray*(int, const double*, const double*, const double*, const char*, IColumnArray*)),
      S(AddVars, IVarArray*(int, const double*, const double*, const double*, const char*, IColumnArray*, const char*)),
      S(AddVars, IVarArray*(int, const double*, const double*, const double*, const char*, const int*, const int*,
                            const int*, const double*, const char*)),
      // Linear constraints.
      S(AddConstr, IConstraint*(IExpr*, char, double, const char*)),
      S(AddConstr, IConstraint*(IExpr*, double, double, const char*)),
      S(AddConstr, IConstraint*(int, const int*, const double*, char, double, const char*)),
      S(AddConstr, IConstraint*(int, const int*, const double*, double, double, const char*)),
      S(AddConstr, IConstraint*(IConstrBuilder*, const char*)),
      S(AddConstrs, IConstrArray*(IConstrBuilderArray*, const char*)),
      S(AddConstrs, IConstrArray*(const std::vector<IExpr*>&, const char*, const double*, const char*)),
      S(AddConstrs, IConstrArray*(int, const char*, const double*, const char*)),
      S(AddConstrs, IConstrArray*(int, const char*, const double*, const int*, const int*, const int*, const double*,
                                  const char*)),
      // Nonlinear constraints.
      S(AddNlConstr, INlConstraint*(INlExpr*, char, double, const char*)),
      S(AddNlConstr, INlConstraint*(IExpr*, char, INlExpr*, const char*)),
      S(AddNlConstr, INlConstraint*(INlExpr*, double, double, const char*)),
      S(AddNlConstr, INlConstraint*(INlConstrBuilder*, const char*)),
      S(AddNlConstrs, INlConstrArray*(INlConstrBuilderArray*, const char*)),
      // SOS constraints, indicators, cones, exponential cones.
      S(AddSos, ISos*(const IVarArray*, const double*, int)), S(AddSos, ISos*(ISosBuilder*)),
      S(AddSoss, ISosArray*(ISosBuilderArray*)),
      S(AddGenConstrIndicator, IGenConstr*(IGenConstrBuilder*, const char*)),
      S(AddGenConstrIndicator, IGenConstr*(IVar*, int, IConstrBuilder*, int, const char*)),
      S(AddGenConstrIndicator, IGenConstr*(IVar*, int, IExpr*, char, double, int, const char*)),
      S(AddGenConstrIndicator, IGenConstrArray*(IGenConstrBuilderArray*, const char*)),
      S(AddCone, ICone*(IConeBuilder*)), S(AddCone, ICone*(const IVarArray*, int)),
      S(AddCone, IConeArray*(IConeBuilderArray*)),
      S(AddExpCone, IExpCone*(IExpConeBuilder*)), S(AddExpCone, IExpCone*(const IVarArray*, int)),
      S(AddExpCone, IExpConeArray*(IExpConeBuilderArray*)),
      // Quadratic constraints.
      S(AddQConstr, IQConstraint*(IQuadExpr*, char, double, const char*)),
      S(AddQConstr, IQConstraint*(IQuadExpr*, IQuadExpr*, char, const char*)),
      S(AddQConstr, IQConstraint*(IQConstrBuilder*, const char*)),
      S(AddQConstr, IQConstraint*(int, const int*, const double*, int, const int*, const int*, const double*, char,
                                  double, const char*)),
      // PSD variables, PSD constraints, LMI constraints, then the symmetric-matrix builders.
      S(AddPsdVar, IPsdVar*(int, const char*)), S(AddPsdVars, IPsdVarArray*(int, const int*, const char*)),
      S(AddPsdConstr, IPsdConstraint*(IPsdExpr*, char, double, const char*)),
      S(AddPsdConstr, IPsdConstraint*(IPsdExpr*, double, double, const char*)),
      S(AddPsdConstr, IPsdConstraint*(IPsdConstrBuilder*, const char*)),
      S(AddLmiConstr, ILmiConstraint*(ILmiExpr*, const char*)),
      S(AddSymMat, ISymMatrix*(int, int, const int*, const int*, const double*)),
      S(AddSparseMat, ISymMatrix*(int, int, const int*, const int*, const double*)),
      S(AddDenseMat, ISymMatrix*(int, const double*, int)), S(AddOnesMat, ISymMatrix*(int, double)),
      S(AddDiagMat, ISymMatrix*(int, const double*, int)), S(AddDiagMat, ISymMatrix*(int, double)),
      S(AddDiagMat, ISymMatrix*(int, const double*, int, int)), S(AddDiagMat, ISymMatrix*(int, double, int)),
      S(AddOnesMat, ISymMatrix*(int)), S(AddEyeMat, ISymMatrix*(int)), S(AddSymMat, ISymMatrix*(ISymMatExpr*)),
      // A symmetric matrix by index, then the results.
      S(GetSymMat, ISymMatrix*(int)),
      S(GetSolution, void(double*)), S(GetLpSolution, void(double*, double*, double*, double*)),
      S(SetLpSolution, void(const double*, const double*, const double*, const double*)),
      S(GetColBasis, void(int*)), S(GetRowBasis, void(int*)), S(SetBasis, void(const int*, const int*)),
      S(SetSlackBasis, void()), S(GetPoolObjVal, double(int)),
      S(GetPoolSolution, void(int, const IVarArray*, std::vector<double>&)),
      S(GetColLowerIIS, void(const IVarArray*, std::vector<int>&)),
      S(GetColUpperIIS, void(const IVarArray*, std::vector<int>&)),
      S(GetRowLowerIIS, void(const IConstrArray*, std::vector<int>&)),
      S(GetRowUpperIIS, void(const IConstrArray*, std::vector<int>&)),
      S(GetSOSIIS, void(const ISosArray*, std::vector<int>&)),
      S(GetIndicatorIIS, void(const IGenConstrArray*, std::vector<int>&)),
      // Coefficient access, then bulk loading.
      S(GetCoeff, double(const IConstraint*, const IVar*)), S(SetCoeff, void(const IConstraint*, const IVar*, double)),
      S(SetCoeffs, void(const IConstrArray*, const IVarArray*, const double*, int)),
      S(GetPsdCoeff, ISymMatrix*(const IPsdConstraint*, const IPsdVar*)),
      S(SetPsdCoeff, void(const IPsdConstraint*, const IPsdVar*, const ISymMatrix*)),
      S(GetLmiCoeff, ISymMatrix*(const ILmiConstraint*, const IVar*)),
      S(SetLmiCoeff, void(const ILmiConstraint*, const IVar*, const ISymMatrix*)),
      S(GetLmiRhs, ISymMatrix*(const ILmiConstraint*)), S(SetLmiRhs, void(const ILmiConstraint*, const ISymMatrix*)),
      S(GetColMatrix, void(std::vector<int>&, std::vector<int>&, std::vector<int>&, std::vector<double>&)),
      S(LoadMatrix, void(int, int, int, double, const double*, const int*, const int*, const int*, const double*,
                         const char*, const double*, const double*, const char*, const double*, const double*,
                         const char* const*, const char* const*)),
      S(SetQuadObjective, void(int, const int*, const int*, const double*)),
      S(AddCones, void(int, const int*, const int*, const int*, const int*)),
      S(AddExpCones, void(int, const int*, const int*)),
      S(LoadConeMatrix, void(int, int, int, int, int, int, int, int, const int*, int, double, const double*,
                             const int*, const int*, const int*, const double*, const double*, const double*,
                             const char*)),
      S(GetPsdSolution, void(std::vector<double>&, std::vector<double>&)),
      S(GetLmiSolution, void(std::vector<double>&, std::vector<double>&)),
      // Get and naming, one group per kind.
      S(GetVar, IVar*(int)), S(GetVarByName, IVar*(const char*)), S(GetVars, IVarArray*()),
      S(SetVarNames, void(const IVarArray*, const char*, std::size_t)), S(GetCol, IColumn*(const IVar*)),
      S(GetConstr, IConstraint*(int)), S(GetConstrByName, IConstraint*(const char*)), S(GetConstrs, IConstrArray*()),
      S(SetConstrNames, void(const IConstrArray*, const char*, std::size_t)), S(GetRow, IExpr*(const IConstraint*)),
      S(GetConstrBuilder, IConstrBuilder*(const IConstraint*)),
      S(GetSos, ISos*(int)), S(GetSoss, ISosArray*()), S(GetSosBuilders, ISosBuilderArray*(const ISosArray*)),
      S(GetGenConstr, IGenConstr*(int)), S(GetGenConstrByName, IGenConstr*(const char*)),
      S(GetGenConstrs, IGenConstrArray*()),
      S(SetGenConstrNames, void(const IGenConstrArray*, const char*, std::size_t)),
      S(GetGenConstrIndicator, IGenConstrBuilder*(const IGenConstr*)),
      S(GetCone, ICone*(int)), S(GetCones, IConeArray*()), S(GetConeBuilders, IConeBuilderArray*(const IConeArray*)),
      S(GetExpCone, IExpCone*(int)), S(GetExpCones, IExpConeArray*()),
      S(GetExpConeBuilders, IExpConeBuilderArray*(const IExpConeArray*)),
      S(GetNlConstr, INlConstraint*(int)), S(GetNlConstrByName, INlConstraint*(const char*)),
      S(GetNlConstrs, INlConstrArray*()), S(SetNlConstrNames, void(const INlConstrArray*, const char*, std::size_t)),
      S(GetQConstr, IQConstraint*(int)), S(GetQConstrByName, IQConstraint*(const char*)),
      S(GetQConstrs, IQConstrArray*()), S(SetQConstrNames, void(const IQConstrArray*, const char*, std::size_t)),
      S(GetQuadRow, IQuadExpr*(const IQConstraint*)),
      S(GetPsdVar, IPsdVar*(int)), S(GetPsdVarByName, IPsdVar*(const char*)), S(GetPsdVars, IPsdVarArray*()),
      S(SetPsdVarNames, void(const IPsdVarArray*, const char*, std::size_t)),
      S(GetPsdConstr, IPsdConstraint*(int)), S(GetPsdConstrByName, IPsdConstraint*(const char*)),
      S(GetPsdConstrs, IPsdConstrArray*()),
      S(SetPsdConstrNames, void(const IPsdConstrArray*, const char*, std::size_t)),
      S(GetPsdRow, IPsdExpr*(const IPsdConstraint*)),
      S(GetLmiConstr, ILmiConstraint*(int)), S(GetLmiConstrByName, ILmiConstraint*(const char*)),
      S(GetLmiConstrs, ILmiConstrArray*()),
      S(SetLmiConstrNames, void(const ILmiConstrArray*, const char*, std::size_t)),
      S(GetLmiRow, ILmiExpr*(const ILmiConstraint*)),
      // Objectives, with the multi-objective parameters and attributes.
      S(SetObjSense, void(int)), S(SetObjConst, void(double)), S(SetObjective, void(IExpr*, int)),
      S(SetObjective, void(IQuadExpr*, int)),      S(SetObjective, void(int, const int*, const double*)), S(GetObjective, IExpr*()),
      S(SetObjective, void(int, IExpr*, int, double, double, double, double)), S(GetObjective, IExpr*(int)),
      S(DelObjective, void(int)), S(SetObjParam, void(int, const char*, double)),
      S(SetObjDblParam, void(int, const char*, double)), S(SetObjIntParam, void(int, const char*, int)),
      S(GetObjParam, double(int, const char*)), S(GetObjDblParam, double(int, const char*)),
      S(GetObjIntParam, int(int, const char*)), S(GetObjDblAttr, double(int, const char*)),
      S(GetObjIntAttr, int(int, const char*)), S(ResetObjParam, void(int)), S(ResetObjParams, void(int)),
      S(GetPoolObjVal, double(int, int)),
      S(SetNlObjective, void(INlExpr*, int)), S(GetNlObjective, INlExpr*()), S(DelNlObjective, void()),
      S(SetQuadObjective, void(IQuadExpr*, int)), S(SetQuadObjective, void(IExpr*, int)),
      S(GetQuadObjective, IQuadExpr*()), S(DelQuadObjective, void()),
      S(SetPsdObjective, void(IPsdExpr*, int)), S(GetPsdObjective, IPsdExpr*()), S(DelPsdObjective, void()),
      // Starts, then the information operations.
      S(SetMipStart, void(int, const double*)), S(SetMipStart, void(const IVar*, double)),
      S(SetMipStart, void(const IVarArray*, const double*)), S(LoadMipStart, void()),
      S(SetNlPrimalStart, void(int, const int*, const double*)),
      S(SetNlPrimalStart, void(const IVarArray*, const double*)), S(SetNlPrimalStart, void(const IVar*, double)),
      S(GetColInfo, void(const char*, const IVarArray*, std::vector<double>&)),
      S(GetRowInfo, void(const char*, const IConstrArray*, std::vector<double>&)),
      S(GetNlConstrInfo, void(const char*, const INlConstrArray*, std::vector<double>&)),
      S(GetQConstrInfo, void(const char*, const IQConstrArray*, std::vector<double>&)),
      S(GetPsdConstrInfo, void(const char*, const IPsdConstrArray*, std::vector<double>&)),
      S(SetColInfo, void(const char*, const IVarArray*, const double*, int)),
      S(SetRowInfo, void(const char*, const IConstrArray*, const double*, int)),
      S(SetNlConstrInfo, void(const char*, const INlConstrArray*, const double*, int)),
      S(SetPsdConstrInfo, void(const char*, const IPsdConstrArray*, const double*, int)),
      // Solving.
      S(Solve, void()), S(SolveLp, void()), S(ComputeIIS, void()),
      S(FeasRelax, void(const IVarArray*, const std::vector<double>&, const std::vector<double>&, const IConstrArray*,
                        const std::vector<double>&, const std::vector<double>&)),
      S(FeasRelax, void(int, int)), S(Tune, void()), S(LoadTuneParam, void(int)), S(Interrupt, void()),
      // Removal.
      S(Remove, void(const IVarArray*)), S(Remove, void(const IConstrArray*)), S(Remove, void(const INlConstrArray*)),
      S(Remove, void(const ISosArray*)), S(Remove, void(const IConeArray*)), S(Remove, void(const IExpConeArray*)),
      S(Remove, void(const IGenConstrArray*)),
      S(Remove, void(const IQConstrArray*)), S(Remove, void(const IPsdVarArray*)), S(Remove, void(const IPsdConstrArray*)),
      S(Remove, void(const ILmiConstrArray*)),
      // Resets, housekeeping, callbacks and logging.
      S(ResetParam, void()), S(ResetAll, void()), S(Reset, void()), S(Clear, void()), S(Clone, IModel*()),
      S(SetLogFile, int(const char*)), S(SetLogCallback, int(ILogCallback*)),
      // Status.
      S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const),
  };
  ExpectSlotOrder(ops, "model.h", "IModel");
}

TEST(SlotOrder, EnvironmentAndBufferOperations) {
  {
    using Class = IEnvr;
    ExpectSlotOrder({S(CreateModel, IModel*(const char*)), S(Close, int()), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "envr.h", "IEnvr");
  }
  {
    using Class = IEnvrConfig;
    ExpectSlotOrder({S(Set, void(const char*, const char*)), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "envr.h", "IEnvrConfig");
  }
  {
    using Class = IProbBuffer;
    ExpectSlotOrder({S(GetData, char*()), S(GetSize, std::uint64_t() const), S(Resize, void(std::uint64_t))},
                    "prob_buffer.h", "IProbBuffer");
  }
}

TEST(SlotOrder, VariablesColumnsAndTheirArrays) {
  {
    using Class = IVar;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(GetType, char()), S(SetType, void(char)), S(GetBasis, int()), S(GetLowerIIS, int()),
                     S(GetUpperIIS, int()), S(Get, double(const char*)), S(Set, void(const char*, double)),
                     S(Remove, void()), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "var.h", "IVar");
  }
  {
    using Class = IVarArray;
    ExpectSlotOrder({S(PushBack, void(const IVar*)), S(PushBack, void(const std::vector<IVar*>&)),
                     S(GetSize, int() const), S(GetVar, IVar*(int) const), S(GetAll, std::vector<IVar*>() const),
                     S(Reserve, void(int))},
                    "var.h", "IVarArray");
  }
  {
    using Class = IColumn;
    ExpectSlotOrder({S(GetSize, int() const), S(GetConstr, IConstraint*(int) const), S(GetCoeff, double(int) const),
                     S(AddTerm, void(const IConstraint*, double)),
                     S(AddTerms, int(const IConstrArray*, const double*, int)),
                     S(AddColumn, void(const IColumn*, double)), S(Remove, void(int)),
                     S(Remove, bool(const IConstraint*)), S(Reserve, void(int)), S(Clear, void()),
                     S(Clone, IColumn*() const)},
                    "var.h", "IColumn");
  }
  {
    using Class = IColumnArray;
    ExpectSlotOrder({S(PushBack, void(const IColumn*)), S(GetSize, int() const), S(GetColumn, IColumn*(int) const),
                     S(Reserve, void(int)), S(Clear, void())},
                    "var.h", "IColumnArray");
  }
}

TEST(SlotOrder, LinearExpressionsConstraintsAndBuilders) {
  {
    using Class = IExpr;
    ExpectSlotOrder(
        {S(GetSize, int() const), S(GetVar, IVar*(int) const), S(GetCoeff, double(int) const),
         S(GetConstant, double() const), S(SetCoeff, void(int, double)), S(SetConstant, void(double)),
         S(AddConstant, void(double)), S(AddTerm, void(const IVar*, double)),
         S(AddTerms, int(const IVarArray*, const double*, int)), S(AddTerms, int(const IVarArray*, double)),
         S(AddTerms, int(const std::vector<IVar*>&, const double*, int)),
         S(AddTerms, int(const std::vector<IVar*>&, double)), S(AddExpr, void(const IExpr*, double)),
         S(Evaluate, double()), S(Remove, void(int)), S(Remove, void(const IVar*)), S(Reserve, void(int)),
         S(Clear, void()), S(Clone, IExpr*() const), S(DivideBy, void(double)), S(MultiplyBy, void(double)),
         S(ToString, const char*(int)), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
        "expr.h", "IExpr");
  }
  {
    using Class = IConstraint;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(GetBasis, int()), S(GetLowerIIS, int()), S(GetUpperIIS, int()), S(Get, double(const char*)),
                     S(Set, void(const char*, double)), S(Remove, void()), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "constraint.h", "IConstraint");
  }
  {
    using Class = IConstrArray;
    ExpectSlotOrder({S(PushBack, void(const IConstraint*)), S(GetSize, int() const),
                     S(GetConstr, IConstraint*(int) const), S(GetAll, std::vector<IConstraint*>() const),
                     S(Reserve, void(int))},
                    "constraint.h", "IConstrArray");
  }
  {
    using Class = IConstrBuilder;
    ExpectSlotOrder({S(GetExpr, IExpr*() const), S(GetSense, char() const), S(GetRange, double() const),
                     S(Set, void(const IExpr*, char, double)), S(SetRange, void(const IExpr*, double))},
                    "constraint.h", "IConstrBuilder");
  }
  {
    using Class = IConstrBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IConstrBuilder*)), S(GetSize, int() const), S(Reserve, void(int)),
                     S(GetBuilder, IConstrBuilder*(int) const)},
                    "constraint.h", "IConstrBuilderArray");
  }
}

TEST(SlotOrder, QuadraticExpressionsConstraintsAndBuilders) {
  {
    using Class = IQuadExpr;
    ExpectSlotOrder(
        {S(GetSize, int() const), S(GetVar1, IVar*(int) const), S(GetVar2, IVar*(int) const),
         S(GetCoeff, double(int) const), S(GetConstant, double() const), S(GetLinExpr, IExpr*() const),
         S(SetCoeff, void(int, double)), S(SetConstant, void(double)), S(AddConstant, void(double)),
         S(AddLinTerm, void(const IVar*, double)), S(AddQuadTerm, void(const IVar*, const IVar*, double)),
         S(AddLinTerms, int(const IVarArray*, const double*, int)), S(AddLinTerms, int(const IVarArray*, double)),
         S(AddQuadTerms, int(const IVarArray*, const IVarArray*, const double*, int)),
         S(AddQuadTerms, int(const IVarArray*, const IVarArray*, double)),
         S(AddLinExpr, void(const IExpr*, double)), S(AddQuadExpr, void(const IQuadExpr*, double)),
         S(AddMulExpr, void(const IExpr*, const IExpr*)), S(AddMulExprVar, void(const IExpr*, const IVar*)),
         S(Evaluate, double()), S(Remove, void(int)), S(Remove, void(const IVar*)), S(Reserve, void(int)),
         S(Clear, void()), S(Clone, IQuadExpr*() const), S(DivideBy, void(double)), S(MultiplyBy, void(double)),
         S(ToString, const char*(int)), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
        "quad_expr.h", "IQuadExpr");
  }
  {
    using Class = IQConstraint;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(GetRhs, double()), S(GetSense, char()), S(SetRhs, void(double)), S(SetSense, void(char)),
                     S(Get, double(const char*)), S(Set, void(const char*, double)), S(Remove, void()),
                     S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "qconstraint.h", "IQConstraint");
  }
  {
    using Class = IQConstrArray;
    ExpectSlotOrder({S(PushBack, void(const IQConstraint*)), S(GetSize, int() const), S(Reserve, void(int)),
                     S(GetQConstr, IQConstraint*(int) const)},
                    "qconstraint.h", "IQConstrArray");
  }
  {
    using Class = IQConstrBuilder;
    ExpectSlotOrder({S(GetQuadExpr, IQuadExpr*() const), S(GetSense, char() const),
                     S(Set, void(const IQuadExpr*, char, double))},
                    "qconstraint.h", "IQConstrBuilder");
  }
  {
    using Class = IQConstrBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IQConstrBuilder*)), S(GetSize, int() const), S(Reserve, void(int)),
                     S(GetBuilder, IQConstrBuilder*(int) const)},
                    "qconstraint.h", "IQConstrBuilderArray");
  }
}

// The five forms of one function of INlHelper, in their order.
#define NL_FUNCTION(NAME)                                                                                  \
  S(NAME, INlExpr*(double) const), S(NAME, INlExpr*(const IVar*) const), S(NAME, INlExpr*(const IExpr*) const), \
      S(NAME, INlExpr*(const IQuadExpr*) const), S(NAME, INlExpr*(const INlExpr*) const)

TEST(SlotOrder, NonlinearExpressionsConstraintsAndBuilders) {
  {
    using Class = INlExpr;
    ExpectSlotOrder(
        {S(GetSize, std::size_t() const), S(GetConstant, double() const), S(GetLinExpr, IExpr*() const),
         S(SetConstant, void(double)), S(AddConstant, void(double)), S(AddTerm, void(const IVar*, double)),
         S(AddTerms, int(const IVarArray*, const double*, int)), S(AddTerms, int(const IVarArray*, double)),
         S(AddLinExpr, void(const IExpr*, double)), S(AddQuadExpr, void(const IQuadExpr*, double)),
         S(AddNlExpr, void(const INlExpr*, double)), S(Clear, void()), S(Clone, INlExpr*() const),
         S(Evaluate, double()), S(Reserve, void(int)), S(DivideBy, void(double)), S(DivideBy, void(const IVar*)),
         S(DivideBy, void(const IExpr*)), S(DivideBy, void(const IQuadExpr*)), S(DivideBy, void(const INlExpr*)),
         S(MultiplyBy, void(double)), S(MultiplyBy, void(const IVar*)), S(MultiplyBy, void(const IExpr*)),
         S(MultiplyBy, void(const IQuadExpr*)), S(MultiplyBy, void(const INlExpr*)), S(Negate, void()),
         S(ToString, const char*(std::size_t)), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
        "nl_expr.h", "INlExpr");
  }
  {
    using Class = INlHelper;
    ExpectSlotOrder(
        {S(Sum, INlExpr*(const std::vector<INlExpr*>&) const),
         S(Sum, INlExpr*(const INlExpr*, const INlExpr*, const INlExpr*) const),
         S(Sum, INlExpr*(const INlExpr*, const INlExpr*, const INlExpr*, const INlExpr*) const),
         S(Atan2, INlExpr*(double, const INlExpr*) const), S(Atan2, INlExpr*(const INlExpr*, double) const),
         S(Atan2, INlExpr*(const INlExpr*, const INlExpr*) const), S(Pow, INlExpr*(const INlExpr*, double) const),
         S(Pow, INlExpr*(double, const INlExpr*) const), S(Pow, INlExpr*(const INlExpr*, const INlExpr*) const),
         NL_FUNCTION(Sqrt), NL_FUNCTION(Exp), NL_FUNCTION(Log), NL_FUNCTION(Log10), NL_FUNCTION(Neg),
         NL_FUNCTION(Abs), NL_FUNCTION(Floor), NL_FUNCTION(Ceil), NL_FUNCTION(Cos), NL_FUNCTION(Sin),
         NL_FUNCTION(Tan), NL_FUNCTION(Cosh), NL_FUNCTION(Sinh), NL_FUNCTION(Tanh), NL_FUNCTION(Acos),
         NL_FUNCTION(Asin), NL_FUNCTION(Atan), NL_FUNCTION(Acosh), NL_FUNCTION(Asinh), NL_FUNCTION(Atanh)},
        "nl_expr.h", "INlHelper");
  }
  {
    using Class = INlConstraint;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(Get, double(const char*)), S(Set, void(const char*, double)), S(Remove, void()),
                     S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "nlconstraint.h", "INlConstraint");
  }
  {
    using Class = INlConstrArray;
    ExpectSlotOrder({S(PushBack, void(const INlConstraint*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetNlConstr, INlConstraint*(int) const)},
                    "nlconstraint.h", "INlConstrArray");
  }
  {
    using Class = INlConstrBuilder;
    ExpectSlotOrder({S(GetNlExpr, INlExpr*() const), S(GetSense, char() const), S(GetRange, double() const),
                     S(SetBuilder, void(const INlExpr*, char, double)), S(SetRange, void(const INlExpr*, double)),
                     S(ToString, const char*(std::size_t))},
                    "nlconstraint.h", "INlConstrBuilder");
  }
  {
    using Class = INlConstrBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const INlConstrBuilder*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetBuilder, INlConstrBuilder*(int) const)},
                    "nlconstraint.h", "INlConstrBuilderArray");
  }
}

#undef NL_FUNCTION

TEST(SlotOrder, ShapesViewsAndArrays) {
  {
    using Class = INDim<2>;
    ExpectSlotOrder({S(GetND, int() const), S(GetDim, std::size_t(int) const), S(GetSize, std::size_t() const),
                     S(GetStride, std::int64_t(int) const), S(GetOffset, std::int64_t(int) const),
                     S(Clone, INDim<2>*() const), S(MakeUniform, INDim<2>*(std::size_t) const),
                     S(ToString, const char*(int)), S(IsSame, bool(const INDim<2>*) const),
                     S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "ndim.h", "INDim");
  }
  {
    using Class = IView;
    ExpectSlotOrder({S(AddFull, IView*()), S(AddScalar, IView*(std::int64_t)),
                     S(AddSlice, IView*(std::int64_t, std::int64_t, std::int64_t, int))},
                    "view.h", "IView");
  }
  {
    using Class = INdArray<double, 2>;
    ExpectSlotOrder(
        {S(GetND, int() const), S(GetDim, std::size_t(int) const), S(GetSize, std::size_t() const),
         S(GetShape, INDim<2>*() const), S(Reshape, INdArray<double, 1>*(const INDim<1>*) const),
         S(Reshape, INdArray<double, 2>*(const INDim<2>*) const),
         S(Reshape, INdArray<double, 3>*(const INDim<3>*) const), S(Flatten, INdArray<double, 1>*() const),
         S(Repeat, INdArray<double, 2>*(std::int64_t, int) const),
         S(RepeatBlock, INdArray<double, 2>*(std::int64_t, int) const), S(Sum, INdArray<double, 0>*() const),
         S(Transpose, INdArray<double, 2>*() const), S(Item, double(std::int64_t) const),
         S(GetView, INdArray<double, 2>*(const IView*) const),
         S(Pick, INdArray<double, 1>*(const INdArray<int, 1>*) const),
         S(Pick, INdArray<double, 1>*(const INdArray<int, 2>*) const), S(SetItem, void(std::int64_t, double)),
         S(Fill, void(double)), S(ToString, const char*(std::int64_t)), S(GetErrorCode, int() const),
         S(GetErrorMsg, const char*() const)},
        "ndarray.h", "INdArray");
  }
}

TEST(SlotOrder, SymmetricMatricesAndPsdVariables) {
  {
    using Class = ISymMatrix;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetDim, int() const), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "sym_mat.h", "ISymMatrix");
  }
  {
    using Class = ISymMatrixArray;
    ExpectSlotOrder({S(PushBack, void(const ISymMatrix*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetMatrix, ISymMatrix*(int) const)},
                    "sym_mat.h", "ISymMatrixArray");
  }
  {
    using Class = ISymMatExpr;
    ExpectSlotOrder({S(GetDim, int() const), S(GetSize, int() const), S(GetSymMat, ISymMatrix*(int) const),
                     S(GetCoeff, double(int) const), S(SetCoeff, void(int, double)),
                     S(AddTerm, int(const ISymMatrix*, double)),
                     S(AddTerms, int(const ISymMatrixArray*, const double*, int)),
                     S(AddSymMatExpr, void(const ISymMatExpr*, double)), S(Remove, void(int)),
                     S(Remove, void(const ISymMatrix*)), S(Reserve, void(int)), S(Clone, ISymMatExpr*() const),
                     S(MultiplyBy, void(double)), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "sym_mat.h", "ISymMatExpr");
  }
  {
    using Class = IPsdVar;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetDim, int() const), S(GetLen, int() const),
                     S(GetSize, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(Get, void(const char*, double*, int)), S(Get, INdArray<double, 2>*(const char*)),
                     S(Sum, IPsdExpr*()), S(Remove, void()), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "psd_var.h", "IPsdVar");
  }
  {
    using Class = IPsdVarArray;
    ExpectSlotOrder({S(PushBack, void(const IPsdVar*)), S(Size, int() const), S(Reserve, void(int)),
                     S(Clone, IPsdVarArray*() const), S(GetPsdVar, IPsdVar*(int) const)},
                    "psd_var.h", "IPsdVarArray");
  }
}

TEST(SlotOrder, PsdAndLmiExpressionsAndConstraints) {
  {
    using Class = IPsdExpr;
    ExpectSlotOrder(
        {S(GetSize, int() const), S(GetPsdVar, IPsdVar*(int) const), S(GetCoeff, ISymMatExpr*(int) const),
         S(GetConstant, double() const), S(GetLinExpr, IExpr*() const), S(SetCoeff, void(int, const ISymMatrix*)),
         S(SetConstant, void(double)), S(AddConstant, void(double)), S(AddTerm, void(const IVar*, double)),
         S(AddTerm, void(const IPsdVar*, const ISymMatrix*)), S(AddTerm, void(const IPsdVar*, const ISymMatExpr*)),
         S(AddTerms, int(const IVarArray*, const double*, int)),
         S(AddTerms, int(const IPsdVarArray*, const ISymMatrixArray*)), S(AddLinExpr, void(const IExpr*, double)),
         S(AddPsdExpr, void(const IPsdExpr*, double)), S(Evaluate, double()), S(Remove, void(int)),
         S(Remove, void(const IVar*)), S(Remove, void(const IPsdVar*)), S(Reserve, void(int)),
         S(Clone, IPsdExpr*() const), S(MultiplyBy, void(double)), S(GetErrorCode, int() const),
         S(GetErrorMsg, const char*() const)},
        "psd_expr.h", "IPsdExpr");
  }
  {
    using Class = IPsdConstraint;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(Get, double(const char*)), S(Set, void(const char*, double)), S(Remove, void()),
                     S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "psd_expr.h", "IPsdConstraint");
  }
  {
    using Class = IPsdConstrArray;
    ExpectSlotOrder({S(PushBack, void(const IPsdConstraint*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetPsdConstr, IPsdConstraint*(int) const)},
                    "psd_expr.h", "IPsdConstrArray");
  }
  {
    using Class = IPsdConstrBuilder;
    ExpectSlotOrder({S(GetPsdExpr, IPsdExpr*() const), S(GetSense, char() const), S(GetRange, double() const),
                     S(SetBuilder, void(const IPsdExpr*, char, double)), S(SetRange, void(const IPsdExpr*, double))},
                    "psd_expr.h", "IPsdConstrBuilder");
  }
  {
    using Class = IPsdConstrBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IPsdConstrBuilder*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetBuilder, IPsdConstrBuilder*(int) const)},
                    "psd_expr.h", "IPsdConstrBuilderArray");
  }
  {
    using Class = ILmiExpr;
    ExpectSlotOrder({S(GetSize, int() const), S(GetVar, IVar*(int) const), S(GetCoeff, ISymMatExpr*(int) const),
                     S(GetConstant, ISymMatExpr*() const), S(SetCoeff, void(int, const ISymMatrix*)),
                     S(SetConstant, void(const ISymMatrix*)), S(AddConstant, void(const ISymMatExpr*)),
                     S(AddTerm, void(const IVar*, const ISymMatrix*)), S(AddTerm, void(const IVar*, const ISymMatExpr*)),
                     S(AddTerms, int(const IVarArray*, const ISymMatrixArray*)),
                     S(AddLmiExpr, int(const ILmiExpr*, double)), S(Remove, void(int)), S(Remove, void(const IVar*)),
                     S(Reserve, void(int)), S(Clone, ILmiExpr*() const), S(MultiplyBy, void(double))},
                    "lmi.h", "ILmiExpr");
  }
  {
    using Class = ILmiConstraint;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetDim, int() const), S(GetLen, int() const),
                     S(GetName, const char*()), S(SetName, void(const char*)),
                     S(Get, void(const char*, double*, int)), S(SetRhs, void(const ISymMatrix*)), S(Remove, void()),
                     S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)},
                    "lmi.h", "ILmiConstraint");
  }
  {
    using Class = ILmiConstrArray;
    ExpectSlotOrder({S(PushBack, void(const ILmiConstraint*)), S(Size, int() const), S(Reserve, void(int)),
                     S(GetLmiConstr, ILmiConstraint*(int) const)},
                    "lmi.h", "ILmiConstrArray");
  }
}

// The check itself must be able to fail: a class with an operation appended after its status
// operations is caught both by the slot numbers and by the declaration count.
class Appended {
 public:
  virtual ~Appended() = default;
  virtual int GetErrorCode() const = 0;
  virtual const char* GetErrorMsg() const = 0;
  virtual void Late() = 0;
};

TEST(SlotOrder, SosIndicatorConeAndExpConeInterfaces) {
  {
    using Class = ISos;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetIIS, int()), S(Remove, void()), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "sos_cone.h", "ISos");
  }
  {
    using Class = ISosArray;
    ExpectSlotOrder({S(PushBack, void(const ISos*)), S(GetSize, int() const), S(GetSos, ISos*(int) const)}, "sos_cone.h",
                    "ISosArray");
  }
  {
    using Class = ISosBuilder;
    ExpectSlotOrder({S(GetType, int() const), S(GetSize, int() const), S(GetVar, IVar*(int) const),
                     S(GetVars, IVarArray*() const), S(GetWeight, double(int) const),
                     S(GetWeights, void(double*) const), S(Set, void(const IVarArray*, const double*, int))},
                    "sos_cone.h", "ISosBuilder");
  }
  {
    using Class = ISosBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const ISosBuilder*)), S(GetSize, int() const),
                     S(GetBuilder, ISosBuilder*(int) const)},
                    "sos_cone.h", "ISosBuilderArray");
  }
  {
    using Class = IGenConstr;
    ExpectSlotOrder({S(GetIdx, int() const), S(GetName, const char*()), S(SetName, void(const char*)),
                     S(GetIIS, int()), S(Remove, void()), S(GetErrorCode, int() const),
                     S(GetErrorMsg, const char*() const)},
                    "sos_cone.h", "IGenConstr");
  }
  {
    using Class = IGenConstrArray;
    ExpectSlotOrder({S(PushBack, void(const IGenConstr*)), S(GetSize, int() const),
                     S(GetAll, std::vector<IGenConstr*>() const), S(GetGenConstr, IGenConstr*(int) const),
                     S(Reserve, void(int))},
                    "sos_cone.h", "IGenConstrArray");
  }
  {
    using Class = IGenConstrBuilder;
    ExpectSlotOrder({S(GetBinVar, IVar*() const), S(GetBinVal, int() const), S(GetExpr, IExpr*() const),
                     S(GetSense, char() const), S(GetType, int() const),
                     S(Set, void(const IVar*, int, const IExpr*, char, int))},
                    "sos_cone.h", "IGenConstrBuilder");
  }
  {
    using Class = IGenConstrBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IGenConstrBuilder*)), S(GetSize, int() const),
                     S(GetBuilder, IGenConstrBuilder*(int) const)},
                    "sos_cone.h", "IGenConstrBuilderArray");
  }
  {
    using Class = ICone;
    ExpectSlotOrder({S(GetIdx, int() const), S(Remove, void())}, "sos_cone.h", "ICone");
  }
  {
    using Class = IConeArray;
    ExpectSlotOrder({S(PushBack, void(const ICone*)), S(GetSize, int() const), S(GetCone, ICone*(int) const)},
                    "sos_cone.h", "IConeArray");
  }
  {
    using Class = IConeBuilder;
    ExpectSlotOrder({S(GetType, int() const), S(GetSize, int() const), S(GetVar, IVar*(int) const),
                     S(GetVars, IVarArray*() const), S(Set, void(const IVarArray*, int))},
                    "sos_cone.h", "IConeBuilder");
  }
  {
    using Class = IConeBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IConeBuilder*)), S(GetSize, int() const),
                     S(GetBuilder, IConeBuilder*(int) const)},
                    "sos_cone.h", "IConeBuilderArray");
  }
  {
    using Class = IExpCone;
    ExpectSlotOrder({S(GetIdx, int() const), S(Remove, void())}, "sos_cone.h", "IExpCone");
  }
  {
    using Class = IExpConeArray;
    ExpectSlotOrder({S(PushBack, void(const IExpCone*)), S(GetSize, int() const),
                     S(GetExpCone, IExpCone*(int) const)},
                    "sos_cone.h", "IExpConeArray");
  }
  {
    using Class = IExpConeBuilder;
    ExpectSlotOrder({S(GetType, int() const), S(GetSize, int() const), S(GetVar, IVar*(int) const),
                     S(GetVars, IVarArray*() const), S(Set, void(const IVarArray*, int))},
                    "sos_cone.h", "IExpConeBuilder");
  }
  {
    using Class = IExpConeBuilderArray;
    ExpectSlotOrder({S(PushBack, void(const IExpConeBuilder*)), S(GetSize, int() const),
                     S(GetBuilder, IExpConeBuilder*(int) const)},
                    "sos_cone.h", "IExpConeBuilderArray");
  }
}

TEST(SlotOrder, AnAppendedOperationIsSeen) {
  using Class = Appended;
  const std::vector<Slot> ops = {S(Late, void()), S(GetErrorCode, int() const), S(GetErrorMsg, const char*() const)};
  EXPECT_EQ(ops[0].slot, 4);
  EXPECT_EQ(ops[1].slot, 2);
  EXPECT_NE(ops[0].slot, 2);
  // The declaration count sees operations the list leaves out: IModel has more than two.
  EXPECT_GT(DeclaredVirtuals("model.h", "IModel"), 3);
}

}  // namespace
