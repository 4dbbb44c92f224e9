// A model for the semidefinite tests, with reading back through the solver library what reached
// it (common/psd_dump.h).
#pragma once

#include <string>
#include <vector>

#include "common/psd_dump.h"
#include "model/model_fixture.h"

class PsdModelTest : public ModelTest {
 protected:
  int Mats() const { return PsdAttr(Prob(), "SymMats"); }
  std::string MatText(const Tarq::ISymMatrix* m) const { return SymMatText(Prob(), m->GetIdx()); }
  std::string Dump() const { return PsdDump(Prob()); }
  // A stored matrix of the model from triplets.
  Own<Tarq::ISymMatrix> Mat(int dim, std::vector<int> r, std::vector<int> c, std::vector<double> v) {
    Own<Tarq::ISymMatrix> m(model_->AddSparseMat(dim, static_cast<int>(v.size()), r.data(), c.data(), v.data()));
    EXPECT_EQ(Code(), 0) << Msg();
    return m;
  }
};
