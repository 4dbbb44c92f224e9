// A model in a quiet environment, with access to the solver problem behind it so tests can read
// back through the solver library what the model passed on.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/tarq_model.h"
#include "tarq/tarq.hpp"

class QuietSink : public Tarq::ILogCallback {
 public:
  void Display(const char*) override {}
};

template <class T>
using Own = std::unique_ptr<T>;

class ModelTest : public testing::Test {
 protected:
  void SetUp() override {
    env_.reset(CreateEnvr(&sink_));
    model_.reset(env_->CreateModel("m"));
    ASSERT_EQ(model_->GetErrorCode(), 0);
  }

  tarq_prob* Prob() const { return static_cast<TarqModel*>(model_.get())->Data().Problem(); }
  int Code() const { return model_->GetErrorCode(); }
  std::string Msg() const { return model_->GetErrorMsg() ? model_->GetErrorMsg() : ""; }

  int SolverCols() const { return Count(true); }
  int SolverRows() const { return Count(false); }
  int Count(bool cols) const {
    int n = 0, size = 0;
    while ((cols ? TARQ_GetColName(Prob(), n, nullptr, 0, &size) : TARQ_GetRowName(Prob(), n, nullptr, 0, &size)) == 0) {
      ++n;
    }
    return n;
  }
  std::string SolverName(bool col, int pos) const {
    char buf[256] = {};
    int size = 0;
    int rc = col ? TARQ_GetColName(Prob(), pos, buf, sizeof buf, &size) : TARQ_GetRowName(Prob(), pos, buf, sizeof buf, &size);
    return rc == 0 ? buf : "<error>";
  }
  double ColInfo(const char* what, int j) const {
    double v = -99;
    EXPECT_EQ(TARQ_GetColInfo(Prob(), what, 1, &j, &v), 0);
    return v;
  }
  double RowInfo(const char* what, int i) const {
    double v = -99;
    EXPECT_EQ(TARQ_GetRowInfo(Prob(), what, 1, &i, &v), 0);
    return v;
  }
  // Entries of a solver row, sorted by column.
  std::vector<std::pair<int, double>> SolverRow(int i) const {
    int size = 0;
    EXPECT_EQ(TARQ_GetRows(Prob(), 1, &i, nullptr, nullptr, nullptr, nullptr, 0, &size), 0);
    std::vector<int> idx(static_cast<size_t>(size));
    std::vector<double> val(static_cast<size_t>(size));
    EXPECT_EQ(TARQ_GetRows(Prob(), 1, &i, nullptr, nullptr, idx.data(), val.data(), size, &size), 0);
    std::vector<std::pair<int, double>> out;
    for (int p = 0; p < size; ++p) out.emplace_back(idx[p], val[p]);
    std::sort(out.begin(), out.end());
    return out;
  }

  QuietSink sink_;
  Own<Tarq::IEnvr> env_;
  Own<Tarq::IModel> model_;
};

using Terms = std::vector<std::pair<int, double>>;

// Owns every object in a list the library returned.
template <class T>
std::vector<Own<T>> Adopt(const std::vector<T*>& list) {
  std::vector<Own<T>> out;
  for (T* p : list) out.emplace_back(p);
  return out;
}
