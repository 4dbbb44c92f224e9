// Builds a model of 1,000,000 variables and 1,000,000 constraints of 5 terms each, three ways:
// builders (one expression per row, a builder array, one AddConstrs), the modeling layer's
// AddConstrs from a raw row matrix, and the floor, raw TARQ_AddRows with the same arrays. A fourth
// case, bare, runs the builders loop against a minimal library (bare_library.h: no checks, no
// statuses, no model, 16-byte handles) that adds its rows with TARQ_AddRows: the part of the
// builders ratio that its ratio also shows is the loop's own cost (its calls and the caller's
// reads of its handles), not the modeling layer's work.
//
// Only the constraints are timed; the variables (and, for builders, the caller's list of variable
// handles) are made before the clock starts. Times are the process's CPU time; each case keeps
// the fastest of five runs. The rows draw their variables at random, then once more banded (row i
// on variables i .. i+4), where the caller's handles are reached in order: the banded cases have
// a floor of their own on the banded rows.
//
// Memory: bytes_per_term is the growth of the resident set while a case builds its rows (its peak
// minus the resident set just before it, divided by the terms); peak_mb is the process's peak
// during the case, everything the program holds included.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bare_library.h"
#include "bench_util.h"
#include "tarq.h"
#include "tarq/tarq.hpp"

namespace {

constexpr int kVars = 1000000;
constexpr int kRows = 1000000;
constexpr int kTerms = 5;

class Quiet : public Tarq::ILogCallback {
 public:
  void Display(const char*) override {}
};

struct Rows {
  std::vector<int> beg, idx;
  std::vector<double> val;
  std::vector<char> sense;
  std::vector<double> rhs;
};

// Random rows: each term's variable is drawn from its own fifth of the variables. Banded rows
// (local): row i uses variables i .. i+4, as in discretised models, so neighbouring rows touch
// neighbouring variables.
Rows MakeRows(bool banded) {
  Rows r;
  bench::Lcg rng{42};
  r.beg.resize(kRows + 1);
  r.idx.resize(static_cast<size_t>(kRows) * kTerms);
  r.val.resize(r.idx.size());
  const int band = kVars / kTerms;
  for (int i = 0; i < kRows; ++i) {
    r.beg[i] = i * kTerms;
    for (int k = 0; k < kTerms; ++k) {
      const int random = k * band + static_cast<int>(rng.Next() % band);
      r.idx[static_cast<size_t>(i) * kTerms + k] = banded ? (i + k) % kVars : random;
      r.val[static_cast<size_t>(i) * kTerms + k] = 1.0 + rng.Next() % 9;
    }
  }
  r.beg[kRows] = kRows * kTerms;
  r.sense.assign(kRows, 'L');
  r.rhs.assign(kRows, 10.0);
  return r;
}

struct Run {
  double seconds = 0;
  double bytesPerTerm = 0;
  double peakMb = 0;
};

void Report(const char* name, const Run& r, double floor) {
  const double terms = static_cast<double>(kRows) * kTerms;
  std::printf("%s: time_s=%.3f floor_s=%.3f ratio=%.2f terms_per_s=%.3g bytes_per_term=%.0f peak_mb=%.0f\n", name,
              r.seconds, floor, r.seconds / floor, terms / r.seconds, r.bytesPerTerm, r.peakMb);
  std::fflush(stdout);
}

// Runs a case five times and keeps its fastest time and smallest memory growth, so that other
// work on the machine disturbs the readings less. `run` builds its own set-up, calls the
// timer-start function given to it right before building the rows, and returns the seconds.
template <class Case>
Run Best(Case run) {
  Run best;
  for (int k = 0; k < 5; ++k) {
    std::size_t before = 0;
    const double t = run([&] {
      before = bench::ResidentBytes();
      bench::ResetPeak();
    });
    const std::size_t peak = bench::PeakResidentBytes();
    const double growth = static_cast<double>(peak - std::min(peak, before)) / (static_cast<double>(kRows) * kTerms);
    if (k == 0 || t < best.seconds) best.seconds = t;
    if (k == 0 || growth < best.bytesPerTerm) best.bytesPerTerm = growth;
    best.peakMb = std::max(best.peakMb, static_cast<double>(peak) / 1048576.0);
  }
  return best;
}

template <class Start>
double Floor(tarq_env* env, const Rows& r, Start start) {
  tarq_prob* prob = nullptr;
  TARQ_CreateProb(env, &prob);
  TARQ_AddCols(prob, kVars, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  start();
  const double t0 = bench::CpuSeconds();
  int rc = TARQ_AddRows(prob, kRows, r.beg.data(), nullptr, r.idx.data(), r.val.data(), r.sense.data(), r.rhs.data(),
                        nullptr, nullptr);
  const double t = bench::CpuSeconds() - t0;
  if (rc != 0) std::printf("TARQ_AddRows failed with %d\n", rc);
  TARQ_DeleteProb(&prob);
  return t;
}

template <class Start>
double Raw(Tarq::IEnvr* env, const Rows& r, Start start) {
  std::unique_ptr<Tarq::IModel> model(env->CreateModel("raw"));
  std::unique_ptr<Tarq::IVarArray> vars(model->AddVars(kVars, 'C', nullptr));
  start();
  const double t0 = bench::CpuSeconds();
  std::unique_ptr<Tarq::IConstrArray> rows(
      model->AddConstrs(kRows, r.sense.data(), r.rhs.data(), r.beg.data(), nullptr, r.idx.data(), r.val.data(), nullptr));
  const double t = bench::CpuSeconds() - t0;
  if (rows->GetSize() != kRows) std::printf("raw AddConstrs failed: %s\n", model->GetErrorMsg());
  return t;
}

template <class Start>
double Builders(Tarq::IEnvr* env, const Rows& r, Start start) {
  std::unique_ptr<Tarq::IModel> model(env->CreateModel("builders"));
  std::unique_ptr<Tarq::IVarArray> vars(model->AddVars(kVars, 'C', nullptr));
  std::vector<Tarq::IVar*> handles = vars->GetAll();
  start();
  const double t0 = bench::CpuSeconds();
  std::unique_ptr<Tarq::IConstrBuilderArray> builders(CreateConstrBuilderArray());
  builders->Reserve(kRows);
  std::unique_ptr<Tarq::IConstrBuilder> builder(CreateConstrBuilder());
  for (int i = 0; i < kRows; ++i) {
    std::unique_ptr<Tarq::IExpr> e(CreateExpr(0));
    e->Reserve(kTerms);
    for (int p = r.beg[i]; p < r.beg[i + 1]; ++p) e->AddTerm(handles[r.idx[p]], r.val[p]);
    builder->Set(e.get(), 'L', r.rhs[i]);
    builders->PushBack(builder.get());
  }
  std::unique_ptr<Tarq::IConstrArray> rows(model->AddConstrs(builders.get(), nullptr));
  const double t = bench::CpuSeconds() - t0;
  if (rows->GetSize() != kRows) std::printf("builder AddConstrs failed: %s\n", model->GetErrorMsg());
  for (Tarq::IVar* v : handles) delete v;
  return t;
}

// The builders loop against the bare library, its rows added to a problem of kVars columns.
template <class Start>
double Bare(tarq_env* env, const Rows& r, const std::vector<bare::Var*>& handles, Start start) {
  tarq_prob* prob = nullptr;
  TARQ_CreateProb(env, &prob);
  TARQ_AddCols(prob, kVars, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  start();
  const double t0 = bench::CpuSeconds();
  std::unique_ptr<bare::BuilderList> builders(bare::NewBuilderList());
  builders->Reserve(kRows);
  std::unique_ptr<bare::Builder> builder(bare::NewBuilder());
  for (int i = 0; i < kRows; ++i) {
    std::unique_ptr<bare::Expr> e(bare::NewExpr());
    e->Reserve(kTerms);
    for (int p = r.beg[i]; p < r.beg[i + 1]; ++p) e->AddTerm(handles[r.idx[p]], r.val[p]);
    builder->Set(e.get(), 'L', r.rhs[i]);
    builders->PushBack(builder.get());
  }
  const int rc = bare::AddRows(builders.get(), prob);
  const double t = bench::CpuSeconds() - t0;
  if (rc != 0) std::printf("bare TARQ_AddRows failed with %d\n", rc);
  TARQ_DeleteProb(&prob);
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument names the one case to run (raw, builders, builders_banded, or bare with
  // bare_banded), for profiling.
  const std::string only = argc > 1 ? argv[1] : "";
  auto wanted = [&](const char* name) { return only.empty() || only == name; };
  Quiet quiet;
  std::unique_ptr<Tarq::IEnvr> env(CreateEnvr(&quiet));
  tarq_env* raw = nullptr;
  TARQ_CreateEnvWithPath(nullptr, &raw);

  const Rows rows = MakeRows(false);
  // One discarded run first, so that the floor does not pay alone for the process's first use of
  // its memory.
  Floor(raw, rows, [] {});
  const Run floor = Best([&](auto start) { return Floor(raw, rows, start); });
  if (wanted("raw")) Report("raw", Best([&](auto start) { return Raw(env.get(), rows, start); }), floor.seconds);
  if (wanted("builders")) {
    Report("builders", Best([&](auto start) { return Builders(env.get(), rows, start); }), floor.seconds);
  }
  const std::vector<bare::Var*> bareHandles = wanted("bare") ? bare::MakeVars(kVars) : std::vector<bare::Var*>();
  if (wanted("bare")) {
    Report("bare", Best([&](auto start) { return Bare(raw, rows, bareHandles, start); }), floor.seconds);
  }
  // The same on banded rows, with their own floor: the caller's handles are then reached in order.
  if (wanted("builders_banded") || wanted("bare")) {
    const Rows banded = MakeRows(true);
    const Run bandedFloor = Best([&](auto start) { return Floor(raw, banded, start); });
    if (wanted("builders_banded")) {
      Report("builders_banded", Best([&](auto start) { return Builders(env.get(), banded, start); }),
             bandedFloor.seconds);
    }
    if (wanted("bare")) {
      Report("bare_banded", Best([&](auto start) { return Bare(raw, banded, bareHandles, start); }),
             bandedFloor.seconds);
    }
  }
  TARQ_DeleteEnv(&raw);
  return 0;
}
