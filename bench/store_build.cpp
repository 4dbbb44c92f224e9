// Builds one large problem through TARQ_AddRows in batches and another through TARQ_AddCols,
// and compares each with a plain copy of the same arrays into growing vectors (the floor).
// Prints, per case: time, floor time, their ratio, and the resident memory the problem keeps
// per nonzero.
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "tarq.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kCols = 200000;
constexpr int kRowLen = 10;   // entries per row in the row case: 10,000,000 in all
constexpr int kColLen = 50;   // entries per column in the column case: 10,000,000 in all
constexpr int kBatch = 10000;

// Vectors of the given length over `minor` indices, distinct within each vector.
struct Batches {
  int vectors = 0;
  int len = 0;
  std::vector<int> idx;
  std::vector<double> val;
};

Batches Make(int vectors, int len, int minor, unsigned long long seed) {
  Batches b{vectors, len, std::vector<int>(static_cast<size_t>(vectors) * len), std::vector<double>(static_cast<size_t>(vectors) * len)};
  bench::Lcg rng{seed};
  const int stride = minor / len;
  for (int k = 0; k < vectors; ++k) {
    for (int p = 0; p < len; ++p) {
      size_t at = static_cast<size_t>(k) * len + p;
      b.idx[at] = p * stride + static_cast<int>(rng.Next() % stride);  // one index per band
      b.val[at] = 1.0 + rng.Next() % 100;
    }
  }
  return b;
}

double Floor(const Batches& b) {
  double t0 = bench::Seconds();
  std::vector<long long> start{0};
  std::vector<int> idx;
  std::vector<double> val;
  for (int first = 0; first < b.vectors; first += kBatch) {
    const size_t from = static_cast<size_t>(first) * b.len;
    const size_t to = static_cast<size_t>(first + kBatch) * b.len;
    idx.insert(idx.end(), b.idx.begin() + from, b.idx.begin() + to);
    val.insert(val.end(), b.val.begin() + from, b.val.begin() + to);
    for (int k = 0; k < kBatch; ++k) start.push_back(start.back() + b.len);
  }
  double t = bench::Seconds() - t0;
  if (idx.size() != b.idx.size() || val.back() != b.val.back()) std::printf("floor copy failed\n");
  return t;
}

tarq_prob* NewProblem(tarq_env* env) {
  tarq_prob* prob = nullptr;
  if (TARQ_CreateProb(env, &prob) != 0) std::printf("cannot create a problem\n");
  return prob;
}

void Report(const char* name, double t, double floor, size_t before, long long nnz) {
  const double bytes = static_cast<double>(bench::ResidentBytes() - before) / static_cast<double>(nnz);
  std::printf("%s: time_s=%.3f floor_s=%.3f ratio=%.2f bytes_per_nnz=%.1f\n", name, t, floor, t / floor, bytes);
  std::fflush(stdout);
}

void RowCase(tarq_env* env) {
  Batches rows = Make(kRows, kRowLen, kCols, 1);
  const double floor = Floor(rows);
  std::vector<int> beg(kBatch + 1);
  for (int k = 0; k <= kBatch; ++k) beg[k] = k * kRowLen;
  std::vector<char> sense(kBatch, 'L');
  std::vector<double> rhs(kBatch, 10.0);

  const size_t before = bench::ResidentBytes();
  tarq_prob* prob = NewProblem(env);
  double t0 = bench::Seconds();
  int rc = TARQ_AddCols(prob, kCols, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  for (int first = 0; first < kRows && rc == 0; first += kBatch) {
    const size_t at = static_cast<size_t>(first) * kRowLen;
    rc = TARQ_AddRows(prob, kBatch, beg.data(), nullptr, rows.idx.data() + at, rows.val.data() + at, sense.data(),
                      rhs.data(), nullptr, nullptr);
  }
  const double t = bench::Seconds() - t0;
  if (rc != 0) std::printf("TARQ_AddRows failed with %d\n", rc);
  Report("add_rows", t, floor, before, static_cast<long long>(kRows) * kRowLen);
  TARQ_DeleteProb(&prob);
}

void ColCase(tarq_env* env) {
  Batches cols = Make(kCols, kColLen, kRows, 2);
  const double floor = Floor(cols);
  std::vector<int> beg(kBatch + 1);
  for (int k = 0; k <= kBatch; ++k) beg[k] = k * kColLen;
  std::vector<double> obj(kBatch, 1.0);

  const size_t before = bench::ResidentBytes();
  tarq_prob* prob = NewProblem(env);
  double t0 = bench::Seconds();
  int rc = TARQ_AddRows(prob, kRows, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
  for (int first = 0; first < kCols && rc == 0; first += kBatch) {
    const size_t at = static_cast<size_t>(first) * kColLen;
    rc = TARQ_AddCols(prob, kBatch, obj.data(), beg.data(), nullptr, cols.idx.data() + at, cols.val.data() + at,
                      nullptr, nullptr, nullptr, nullptr);
  }
  const double t = bench::Seconds() - t0;
  if (rc != 0) std::printf("TARQ_AddCols failed with %d\n", rc);
  Report("add_cols", t, floor, before, static_cast<long long>(kCols) * kColLen);
  TARQ_DeleteProb(&prob);
}

}  // namespace

int main() {
  tarq_env* env = nullptr;
  if (TARQ_CreateEnvWithPath(nullptr, &env) != 0) return 1;
  RowCase(env);
  ColCase(env);
  TARQ_DeleteEnv(&env);
  return 0;
}
