#include "params/param_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <span>
#include <string>
#include <string_view>

namespace {

using tarq_solver::DblAttr;
using tarq_solver::DblParam;
using tarq_solver::EntryRef;
using tarq_solver::FindEntry;
using tarq_solver::Info;
using tarq_solver::IntAttr;
using tarq_solver::IntParam;
using tarq_solver::kAllEntries;
using tarq_solver::kNumEntries;
using tarq_solver::NameOf;
using tarq_solver::ParamKind;

// The names the library must know, by kind, common ones first, in their required order.
const char* const kDblParams[] = {
    "TimeLimit", "SolTimeLimit", "MatrixTol", "FeasTol", "DualTol", "IntTol", "PDLPTol", "NLPTol", "RelGap",
    "AbsGap", "TuneTimeLimit", "TuneTargetTime", "TuneTargetRelGap", "MultiObjTimeLimit"
};
const char* const kDblParamsAdvanced[] = {
    "InfBound", "PivotTol", "MarkowitzTol", "CancelTol", "PresElimFill", "ScalingLimit", "DualShiftLevel",
    "DualErrorBase", "DualErrorThreshold", "PivotErrorThreshold", "DualPhase1RelTol", "LuDenseThreshold",
    "SiftingCrashTol", "PSDTol", "BarGapTol", "BarPrimalTol", "BarDualTol", "PDLPGapTol", "PDLPPrimalTol",
    "PDLPDualTol", "NLPAlphaFac", "NLPObjScale", "NLPMaxGrad", "SubMipRelGap", "SubMipAbsGap", "BigM", "IISTol",
    "MipCutoffBnd", "MipDualBnd", "MipTargetObj", "MipObjScale", "IndReformMaxBigM", "HeurNoLpTimeLimit",
    "RestartFreq", "WorkLimit", "MipPreImplicLimit", "MipIffTol", "PolishZeroTol", "HeurCutoffGap",
    "HeurLnsDisableFAPFac", "HeurLnsDisableLNSFac", "LpPerturbScale", "TargetFixRateRENS"
};
const char* const kIntParams[] = {
    "Logging", "LogLevel", "LogToConsole", "Presolve", "Scaling", "Dualize", "LpMethod", "GPUMode", "GPUDevice",
    "ReqFarkasRay", "ReqSensitivity", "DualPrice", "DualPerturb", "CutLevel", "RootCutLevel", "TreeCutLevel",
    "RootCutRounds", "NodeCutRounds", "HeurLevel", "PreRootHeurLevel", "RoundingHeurLevel", "DivingHeurLevel",
    "FAPHeurLevel", "SubMipHeurLevel", "StrongBranching", "ConflictAnalysis", "NodeLimit", "MipTasks",
    "BarHomogeneous", "BarOrder", "BarStart", "BarIterLimit", "NonConvex", "NLPMuUpdate", "NLPLinScale",
    "NLPIterLimit", "Threads", "BarThreads", "SimplexThreads", "CrossoverThreads", "Crossover", "SDPMethod",
    "IISMethod", "FeasRelaxMode", "MipStartMode", "MipStartNodeLimit", "TuneMethod", "TuneMode", "TuneMeasure",
    "TunePermutes", "TuneOutputLevel", "MultiObjParamMode", "LazyConstraints", "LinearizeIndicators",
    "LinearizeSos", "MipRepair", "MipNLPIterLimit"
};
const char* const kIntParamsAdvanced[] = {
    "Sifting", "Folding", "IdiotCrash", "SiftingMethod", "SiftingCrashIterLimit", "ScalingMethod", "LpMethodReopt",
    "LpPolish", "LpProfilingLevel", "QpReformulate", "PrePasses", "PreFixCol", "PreFreeRow", "PreUselessOrForce",
    "PreUnbndCol", "PreSingletonRow", "PreDoubletonRow", "PreDualColFix", "PreDup", "PreElim", "PreElimAbs",
    "PreSlackCol", "PreSetCover", "PreLinfNorm", "NonlinWritePreProb", "LpPreWritePreProb", "PostScaling",
    "PostCleanup", "LinDepCheck", "HyperSparseMode", "InstructionSet", "InstructionMode", "BarScaling",
    "BarScalingMethod", "BarScalingNorm", "BarKktMethod", "BarRegMethod", "BarKktDenseMode", "BarLinSystemMethod",
    "BarLinGpuSolverMethod", "BarConeStart", "BarRemoveFreeCol", "BarDenseLimit", "BarLargeConeLimit",
    "BarCorrector", "BarTermCrit", "BarReduceSupport", "PDLPIterLimit", "PDLPCheckFeas", "CrossoverBasis",
    "QuadMath", "DualPriceEx", "DualPriceSp", "RandSeed", "PresolveRestart", "MipPreProbingLevel",
    "MipPreProbingLift", "MipPreProbingLiftDelay", "MipPreProbingLiftAddNnz", "MipPreClique", "MipPreImplic",
    "MipPreVBound", "MipPreFbbt", "MipPreDualFix", "MipPreDisAggr", "MipPreAggregation", "MipPreDomRow",
    "MipPreDomCol", "MipPreDupCol", "MipPreCliqueLift", "MipPreCoefTighten", "MipPreImplInt", "MipPreSparsify",
    "MipPreKnapsack", "MipPreModularInv", "MipPreComponents", "MipPreBiComponents", "MipPreSetPPC",
    "MipPreSetPPCStrength", "MipPreSBound", "MipPreSingleton", "MipPreStuffing", "MipPreAnalyticCenter",
    "MipPreTarjan", "MipPreFolding", "MipPreSubexpr", "MipPreDoubleton", "MipPreDoubletonSbnd", "MipPreSemiCont",
    "MipPreSymmetry", "MipPreDualTight", "MipPreIntProbing", "MipPreNumerics", "MipPreCliqueProbing", "MipPreSoc",
    "MipPreIndic", "MipPreTransRed", "MipPreSubSetSum", "MipPreUC", "MipPreTripleton", "MipPreLifting",
    "MipPreSingleLocked", "MipPreColoring", "MipPreMultiRow", "MipPrePlantLoc", "MipPrePwl", "MipPreBranchingCol",
    "MipPreBasisRed", "MipPreOr", "MipPreQuadratic", "MipPreRelabel", "MipPreWritePreProb", "MipPreMaxRounds",
    "RootCutPool", "RootCutGomory", "RootCutAggregation", "RootCutZeroHalf", "RootCutStrongCG", "RootCutFlowCover",
    "RootCutModK", "RootCutLiftProject", "RootCutImplic", "RootCutClique", "RootCutScheduling", "RootCutRlt",
    "RootCutMcf", "RootCutFlowPath", "RootCutSoc", "RootCutIndic", "RootCutProductPool", "RootCutLiftedImplic",
    "RootCutConflict", "RootCutPlantLoc", "RootCutNetwork", "RootCutPwl", "RootCutQuadratic", "RootCutMinor",
    "TreeCutPool", "TreeCutGomory", "TreeCutAggregation", "TreeCutZeroHalf", "TreeCutStrongCG", "TreeCutFlowCover",
    "TreeCutModK", "TreeCutLiftProject", "TreeCutImplic", "TreeCutClique", "TreeCutScheduling", "TreeCutRlt",
    "TreeCutMcf", "TreeCutFlowPath", "TreeCutSoc", "TreeCutIndic", "TreeCutProductPool", "TreeCutLiftedImplic",
    "TreeCutConflict", "TreeCutPlantLoc", "TreeCutNetwork", "TreeCutPwl", "TreeCutQuadratic", "TreeCutMinor",
    "HeurActiveConstr", "HeurCardinality", "HeurCenterFAP", "HeurClique", "HeurCoefDive", "HeurComponent",
    "HeurConfDive", "HeurCrossover", "HeurDynamicFAP", "HeurDINS", "HeurFarkas", "HeurFJ", "HeurFP", "HeurFracDive",
    "HeurGINS", "HeurGuidedDive", "HeurGuidedFAP", "HeurLineSearch", "HeurLB", "HeurLocks", "HeurLpFace",
    "HeurLpFaceCardinality", "HeurLpImprv", "HeurMultiStart", "HeurMutation", "HeurNewObj", "HeurNoLp", "HeurNoObj",
    "HeurNoObjTasks", "HeurOneOpt", "HeurPacking", "HeurProximity", "HeurPsCost", "HeurRAP", "HeurPwl",
    "HeurContRelax", "HeurRENS", "HeurRENSBar", "HeurRENSCluster", "HeurRENSNonlinear", "HeurRINS", "HeurSAP",
    "HeurTabu", "HeurRits", "HeurRand", "HeurRandTasks", "HeurRandNodeLimit", "HeurRandMipTasks", "HeurVBound",
    "HeurVecLen", "HeurSocRounding", "HeurSocImprove", "HeurSocMilp", "HeurStaticFAP", "HeurSubNlp", "HeurSBound",
    "SubMipRootOnly", "SubMipSetting", "SubMipParallel", "SubMipNodeLimit", "SubStrongBranching",
    "ParallelHeurTasks", "HeurFullTasks", "ConflictInfeas", "ConflictBndExc", "ConflictResBased", "ConflictClause",
    "MaxRestarts", "MaxRestartsRoot", "MaxRestartsTree", "IISPerturb", "IISSearch", "NumericFocus", "Symmetry",
    "WriteSolZeros", "WriteDualProb", "WriteUnifySense", "MipRepairAcceptWorse", "RelaxFileType", "MipLogLevel",
    "QcpPreFix", "ReadLazyConsAsRows", "ConeMethod", "RQuadMethod", "FreeGroupMethod", "PreTasks",
    "AnalyticCenterEffort", "RestartKeepRootCuts", "GenWeightSos", "RunNoLpOnly", "MemTrimLevel",
    "LpMaxDegenPivots", "RestoreLpDiving", "AutoBranchFactorUC", "SolveRootSocRelax", "MemAllocsAbort",
    "ReformBinProds", "ReformBinProdsWithBin", "PreCompIterLimit", "Heur0", "Heur1", "Heur2", "Heur3", "Heur4",
    "Heur5", "Heur6", "Heur7", "Heur8", "Heur9", "Heur10", "Heur11", "Heur12", "Heur13", "Heur14", "Heur15",
    "Heur16", "Heur17", "Heur18", "Heur19", "Heur20", "Heur21", "Heur22", "Heur23", "Heur24", "Heur25", "Heur26",
    "Heur27", "Heur28", "Heur29", "Heur30", "Heur31", "Heur32", "Heur33", "Heur34", "Heur35", "Heur36", "Heur37",
    "Heur38", "Heur39", "Heur40", "Heur41", "Heur42", "Heur43", "Heur44", "Heur45", "Heur46", "Heur47", "Heur48",
    "Heur49", "Heur50", "Heur51", "Heur52", "Heur53", "Heur54", "Heur55", "Heur56", "Heur57", "Heur58", "Heur59",
    "Heur60", "Heur61", "Heur62", "Heur63", "Heur64", "Heur65", "Heur66", "Heur67", "Heur68", "Heur69", "Heur70",
    "SubMipHeur0", "SubMipHeur1", "SubMipHeur2", "SubMipHeur3", "SubMipHeur4", "SubMipHeur5", "SubMipHeur6",
    "SubMipHeur7", "SubMipHeur8", "SubMipHeur9", "SubMipHeur10", "SubMipHeur11", "SubMipHeur12", "SubMipHeur13",
    "SubMipHeur14", "SubMipHeur15", "SubMipHeur16", "SubMipHeur17", "SubMipHeur18", "SubMipHeur19", "SubMipHeur20",
    "SubMipHeur21", "SubMipHeur22", "SubMipHeur23", "SubMipHeur24", "SubMipHeur25", "SubMipHeur26", "SubMipHeur27",
    "SubMipHeur28", "SubMipHeur29", "SubMipHeur30", "SubMipHeur31", "SubMipHeur32", "SubMipHeur33", "SubMipHeur34",
    "SubMipHeur35", "SubMipHeur36", "SubMipHeur37", "SubMipHeur38", "SubMipHeur39", "SubMipHeur40", "SubMipHeur41",
    "SubMipHeur42", "SubMipHeur43", "SubMipHeur44", "SubMipHeur45", "SubMipHeur46", "SubMipHeur47", "SubMipHeur48",
    "SubMipHeur49", "SubMipHeur50", "SubMipHeur51", "SubMipHeur52", "SubMipHeur53", "SubMipHeur54", "SubMipHeur55",
    "SubMipHeur56", "SubMipHeur57", "SubMipHeur58", "SubMipHeur59", "SubMipHeur60", "SubMipHeur61", "SubMipHeur62",
    "SubMipHeur63", "SubMipHeur64", "SubMipHeur65", "SubMipHeur66", "SubMipHeur67", "SubMipHeur68", "SubMipHeur69",
    "SubMipHeur70"
};
const char* const kDblAttrs[] = {
    "SolvingTime", "ObjConst", "LpObjval", "BestObj", "BestBnd", "BestGap", "FeasRelaxObj"
};
const char* const kDblAttrsAdvanced[] = {
    "ReadingTime", "GpuStartupTime", "IISTime", "FeasRelaxTime", "MultiObjTime", "TuneTime", "PrimalInfMax",
    "PrimalInfSum", "DualInfMax", "DualInfSum", "BarPrimalObj", "BarDualObj", "DimacPInf", "DimacDInf",
    "DimacMinPEV", "DimacMinDEV", "DimacRelGap", "DimacRelXDotS"
};
const char* const kIntAttrs[] = {
    "MultiObjs", "Cols", "PSDCols", "Rows", "Elems", "QElems", "NLElems", "PSDElems", "SymMats", "Bins", "Ints",
    "Soss", "Cones", "ExpCones", "AffineCones", "QConstrs", "NLConstrs", "PSDConstrs", "LMIConstrs", "Indicators",
    "IISCols", "IISRows", "IISSOSs", "IISIndicators", "ObjSense", "LpStatus", "MipStatus", "SimplexIter",
    "BarrierIter", "PDLPIter", "NodeCnt", "PoolSols", "TuneResults", "HasLpSol", "HasDualFarkas", "HasPrimalRay",
    "HasBasis", "HasMipSol", "HasBranchFactor", "HasQObj", "HasNLObj", "HasPSDObj", "HasIIS", "HasFeasRelaxSol",
    "HasSensitivity", "IsMIP", "IsMinIIS"
};
const char* const kIntAttrsAdvanced[] = {
    "PrimalInf", "DualInf", "IsRelaxSolved", "PSDLens", "LMILens", "LazyCons", "LazyConsElems", "HasNLData",
    "HasNLPrimalStart", "QcpPreFixType", "IsFolded", "LpMethodUsed"
};

bool IsAdvanced(EntryRef ref) {
  switch (ref.kind) {
    case ParamKind::kDblParam: return tarq_solver::kDblParamInfo[ref.id].advanced;
    case ParamKind::kIntParam: return tarq_solver::kIntParamInfo[ref.id].advanced;
    case ParamKind::kDblAttr: return tarq_solver::kDblAttrInfo[ref.id].advanced;
    case ParamKind::kIntAttr: return tarq_solver::kIntAttrInfo[ref.id].advanced;
  }
  return false;
}

std::string Transform(std::string s, int (*f)(int)) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [f](char c) { return static_cast<char>(f(static_cast<unsigned char>(c))); });
  return s;
}

TEST(ParamTable, HoldsEveryKindsNamesInOrderWithTheAdvancedOnesLast) {
  struct Group {
    ParamKind kind;
    bool advanced;
    std::span<const char* const> names;
  };
  const Group groups[] = {
      {ParamKind::kDblParam, false, kDblParams}, {ParamKind::kDblParam, true, kDblParamsAdvanced},
      {ParamKind::kIntParam, false, kIntParams}, {ParamKind::kIntParam, true, kIntParamsAdvanced},
      {ParamKind::kDblAttr, false, kDblAttrs},   {ParamKind::kDblAttr, true, kDblAttrsAdvanced},
      {ParamKind::kIntAttr, false, kIntAttrs},   {ParamKind::kIntAttr, true, kIntAttrsAdvanced},
  };
  const std::size_t sizes[] = {14, 43, 57, 402, 7, 18, 47, 12};
  int pos = 0;
  int idInKind = 0;
  for (std::size_t g = 0; g < std::size(groups); ++g) {
    EXPECT_EQ(groups[g].names.size(), sizes[g]) << "group " << g;
    if (g % 2 == 0) idInKind = 0;
    for (const char* name : groups[g].names) {
      ASSERT_LT(pos, kNumEntries);
      EntryRef ref = kAllEntries[pos];
      EXPECT_EQ(ref.kind, groups[g].kind) << name;
      EXPECT_EQ(ref.id, idInKind) << name;
      EXPECT_STREQ(NameOf(ref), name);
      EXPECT_EQ(IsAdvanced(ref), groups[g].advanced) << name;
      ++pos;
      ++idInKind;
    }
  }
  EXPECT_EQ(pos, kNumEntries);
  EXPECT_EQ(kNumEntries, 600);
  EXPECT_EQ(tarq_solver::kNumDblParams, 57);
  EXPECT_EQ(tarq_solver::kNumIntParams, 459);
  EXPECT_EQ(tarq_solver::kNumDblAttrs, 25);
  EXPECT_EQ(tarq_solver::kNumIntAttrs, 59);
}

TEST(ParamTable, EnumeratorsNameTheirOwnEntries) {
  EXPECT_EQ(static_cast<int>(DblParam::TimeLimit), 0);
  EXPECT_STREQ(Info(DblParam::TimeLimit).name, "TimeLimit");
  EXPECT_STREQ(Info(DblParam::InfBound).name, "InfBound");
  EXPECT_STREQ(Info(DblParam::TargetFixRateRENS).name, "TargetFixRateRENS");
  EXPECT_STREQ(Info(IntParam::LogToConsole).name, "LogToConsole");
  EXPECT_STREQ(Info(IntParam::SubMipHeur70).name, "SubMipHeur70");
  EXPECT_EQ(static_cast<int>(IntParam::SubMipHeur70), tarq_solver::kNumIntParams - 1);
  EXPECT_STREQ(Info(DblAttr::ObjConst).name, "ObjConst");
  EXPECT_STREQ(Info(IntAttr::Cols).name, "Cols");
  EXPECT_STREQ(Info(IntAttr::LpMethodUsed).name, "LpMethodUsed");
}

template <class V>
void ExpectDefaultsWithinLimits(std::span<const tarq_solver::EntryInfo<V>> table) {
  for (const auto& e : table) {
    EXPECT_FALSE(std::isnan(static_cast<double>(e.def)) || std::isnan(static_cast<double>(e.min)) ||
                 std::isnan(static_cast<double>(e.max)))
        << e.name;
    EXPECT_LE(e.min, e.def) << e.name;
    EXPECT_LE(e.def, e.max) << e.name;
  }
}

TEST(ParamTable, DefaultsLieWithinTheirLimits) {
  ExpectDefaultsWithinLimits<double>(tarq_solver::kDblParamInfo);
  ExpectDefaultsWithinLimits<int>(tarq_solver::kIntParamInfo);
  ExpectDefaultsWithinLimits<double>(tarq_solver::kDblAttrInfo);
  ExpectDefaultsWithinLimits<int>(tarq_solver::kIntAttrInfo);
}

TEST(ParamLookup, FindsEveryNameInAnyLetterCase) {
  for (const EntryRef& ref : kAllEntries) {
    const std::string name = NameOf(ref);
    std::string toggled = name;
    for (char& c : toggled) {
      auto u = static_cast<unsigned char>(c);
      c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    }
    for (const std::string& spelling : {name, Transform(name, ::tolower), Transform(name, ::toupper), toggled}) {
      auto found = FindEntry(spelling);
      ASSERT_TRUE(found.has_value()) << spelling;
      EXPECT_EQ(found->kind, ref.kind) << spelling;
      EXPECT_EQ(found->id, ref.id) << spelling;
    }
  }
}

TEST(ParamLookup, RejectsNamesOutsideTheTable) {
  using namespace std::string_literals;
  const std::string bad[] = {
      "",           "TimeLimi",   "TimeLimitt", "Time Limit",   " TimeLimit", "TimeLimit ",  "TimeLimit\0"s,
      "Time\0Limit"s, "Heur71",   "SubMipHeur71", "LB",         "Obj",        "Tim\xc3\xa9Limit", "\xff\xfe",
      "TimeLimit_", "_Cols",      "Cols;",      std::string(5000, 'a'),
  };
  for (const std::string& name : bad) {
    EXPECT_FALSE(FindEntry(name).has_value()) << name.size() << " bytes: " << name.substr(0, 40);
  }
}

TEST(ParamLookup, FindAttrAcceptsAttributesOnly) {
  ParamKind kind = ParamKind::kDblParam;
  int id = -7;
  ASSERT_TRUE(tarq_solver::FindAttr("cols", &kind, &id));
  EXPECT_EQ(kind, ParamKind::kIntAttr);
  EXPECT_EQ(static_cast<IntAttr>(id), IntAttr::Cols);
  ASSERT_TRUE(tarq_solver::FindAttr("OBJCONST", &kind, &id));
  EXPECT_EQ(kind, ParamKind::kDblAttr);
  EXPECT_EQ(static_cast<DblAttr>(id), DblAttr::ObjConst);
  ASSERT_TRUE(tarq_solver::FindAttr("DimacRelXDotS", &kind, &id));
  EXPECT_EQ(static_cast<DblAttr>(id), DblAttr::DimacRelXDotS);

  for (const char* name : {"TimeLimit", "Logging", "NoSuchAttr", "", static_cast<const char*>(nullptr)}) {
    kind = ParamKind::kIntParam;
    id = -7;
    EXPECT_FALSE(tarq_solver::FindAttr(name, &kind, &id)) << (name ? name : "(null)");
    EXPECT_EQ(kind, ParamKind::kIntParam);
    EXPECT_EQ(id, -7);
  }
  EXPECT_FALSE(tarq_solver::FindAttr("Cols", nullptr, &id));
  EXPECT_FALSE(tarq_solver::FindAttr("Cols", &kind, nullptr));
}

}  // namespace
