// Symmetric matrices: each builder's elements as the store holds them, refused inputs, and
// symmetric-matrix expressions.
#include <functional>

#include "psd_fixture.h"

namespace {

using SymMat = PsdModelTest;

TEST_F(SymMat, EachBuilderStoresItsElements) {
  const double v[] = {1, 2, 3, 4, 5, 6};
  const int sr[] = {0, 2}, sc[] = {1, 0};
  const double sv[] = {5, 6};
  Own<Tarq::ISymMatExpr> sum(CreateSymMatExpr1());
  Own<Tarq::ISymMatrix> eye(model_->AddEyeMat(2));
  const std::vector<std::pair<std::function<Tarq::ISymMatrix*()>, std::string>> cases = {
      {[&] { return model_->AddSparseMat(3, 2, sr, sc, sv); }, "3: (1,0)=5 (2,0)=6"},
      {[&] { return model_->AddSymMat(3, 2, sr, sc, sv); }, "3: (1,0)=5 (2,0)=6"},
      {[&] { return model_->AddDenseMat(3, v, 4); }, "3: (0,0)=1 (1,0)=2 (2,0)=3 (1,1)=4"},
      {[&] { return model_->AddDenseMat(2, v, 6); }, "2: (0,0)=1 (1,0)=2 (1,1)=3"},
      {[&] { return model_->AddOnesMat(2, 2.5); }, "2: (0,0)=2.5 (1,0)=2.5 (1,1)=2.5"},
      {[&] { return model_->AddOnesMat(1); }, "1: (0,0)=1"},
      {[&] { return model_->AddDiagMat(3, v, 5); }, "3: (0,0)=1 (1,1)=2 (2,2)=3"},
      {[&] { return model_->AddDiagMat(2, 7.0); }, "2: (0,0)=7 (1,1)=7"},
      {[&] { return model_->AddDiagMat(3, v, 2, -1); }, "3: (1,0)=1 (2,1)=2"},
      {[&] { return model_->AddDiagMat(3, v, 5, 0); }, "3: (0,0)=1 (1,1)=2 (2,2)=3"},
      {[&] { return model_->AddDiagMat(3, 4.0, 2); }, "3: (2,0)=4"},
      {[&] { return model_->AddEyeMat(3); }, "3: (0,0)=1 (1,1)=1 (2,2)=1"},
      {[&] {
         // 2 I + cached (1,0)=3 - I: summed by position.
         sum->AddTerm(eye.get(), 2);
         Own<Tarq::IPsdVar> x(model_->AddPsdVar(2, "x"));
         Own<Tarq::IPsdExpr> s(x->Sum());
         Own<Tarq::ISymMatExpr> offDiag(s->GetCoeff(1));
         sum->AddSymMatExpr(offDiag.get(), 3);
         sum->AddTerm(eye.get(), -1);
         return model_->AddSymMat(sum.get());
       },
       "2: (0,0)=1 (1,0)=3 (1,1)=1"},
  };
  for (const auto& [build, expected] : cases) {
    const int before = Mats();
    Own<Tarq::ISymMatrix> m(build());
    ASSERT_EQ(Code(), 0) << expected << ": " << Msg();
    EXPECT_EQ(m->GetIdx(), before);
    EXPECT_EQ(Mats(), before + 1);
    EXPECT_EQ(MatText(m.get()), expected);
    EXPECT_EQ(m->GetDim(), std::stoi(expected));
  }
}

TEST_F(SymMat, RefusedInputsStoreNothing) {
  const double v[] = {1, 2};
  const int r[] = {0, 1}, c[] = {1, 0}, far[] = {5};
  const double asym[] = {1, 2};
  Own<Tarq::ISymMatExpr> empty(CreateSymMatExpr1());
  const std::vector<std::pair<std::function<Tarq::ISymMatrix*()>, std::string>> cases = {
      {[&] { return model_->AddDenseMat(0, v, 2); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddDenseMat(2, nullptr, 2); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddDenseMat(2, v, 0); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddOnesMat(0, 1.0); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddOnesMat(-1); }, "Invalid dimension of input symmetric matrix"},
      // 65536 * 65537 / 2 entries do not fit one count: refused before any is built.
      {[&] { return model_->AddOnesMat(65536, 1.0); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddDiagMat(2, v, 0); }, "Invalid dimension of input diagonal matrix"},
      {[&] { return model_->AddDiagMat(0, 1.0); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddDiagMat(2, v, 1, 2); }, "Invalid dimension of input diagonal matrix with offset"},
      {[&] { return model_->AddDiagMat(2, 1.0, -3); }, "Invalid dimension of input diagonal matrix with offset"},
      {[&] { return model_->AddEyeMat(0); }, "Invalid dimension of input symmetric matrix"},
      {[&] { return model_->AddSymMat(empty.get()); }, "Empty symmetric matrix expression object"},
      {[&] { return model_->AddSparseMat(2, 2, r, c, asym); }, "Failed to add a sparse symmetric matrix to model"},
      {[&] { return model_->AddSparseMat(2, 1, far, c, v); }, "Failed to add a sparse symmetric matrix to model"},
      {[&] { return model_->AddSparseMat(0, 0, nullptr, nullptr, nullptr); },
       "Failed to add a sparse symmetric matrix to model"},
  };
  for (const auto& [build, message] : cases) {
    Own<Tarq::ISymMatrix> m(build());
    EXPECT_EQ(m->GetIdx(), -2) << message;
    EXPECT_EQ(Code(), 3) << message;
    EXPECT_EQ(Msg(), "(INVALID) " + message);
    EXPECT_EQ(Mats(), 0) << message;
  }
  Own<Tarq::ISymMatrix> none(model_->GetSymMat(0));
  EXPECT_EQ(none->GetIdx(), -2);
  EXPECT_EQ(Msg(), "(INVALID) Invalid index of symmetric matrix");
}

TEST_F(SymMat, ExpressionsKeepOneDimensionAndReuseAStoredMatrix) {
  Own<Tarq::ISymMatrix> a(model_->AddEyeMat(2)), b(model_->AddOnesMat(2)), big(model_->AddEyeMat(3));
  Own<Tarq::ISymMatExpr> e(CreateSymMatExpr2(a.get(), 1.0));
  EXPECT_EQ(e->GetDim(), 2);
  EXPECT_EQ(e->AddTerm(big.get(), 1.0), 0);
  EXPECT_EQ(e->GetSize(), 1);
  EXPECT_STREQ(e->GetErrorMsg(), "(INVALID) Dimension of symmetric matrix mismatch");
  // One stored matrix with coefficient 1 is that matrix: no new one is stored.
  Own<Tarq::ISymMatrix> same(model_->AddSymMat(e.get()));
  EXPECT_EQ(same->GetIdx(), a->GetIdx());
  EXPECT_EQ(Mats(), 3);

  Own<Tarq::ISymMatrixArray> arr(CreateSymMatrixArray());
  arr->PushBack(b.get());
  arr->PushBack(a.get());
  const double coefs[] = {2, -1};
  EXPECT_EQ(e->AddTerms(arr.get(), nullptr, 2), -1);
  EXPECT_EQ(e->AddTerms(arr.get(), coefs, 1), -1);
  EXPECT_EQ(e->AddTerms(arr.get(), coefs, 2), 2);
  EXPECT_EQ(e->GetSize(), 3);
  Own<Tarq::ISymMatrix> combined(model_->AddSymMat(e.get()));
  EXPECT_EQ(MatText(combined.get()), "2: (0,0)=2 (1,0)=2 (1,1)=2");  // I + 2 ones - I
  // Removing a matrix removes every term of it; the emptied expression has dimension 0.
  e->Remove(a.get());
  EXPECT_EQ(e->GetSize(), 1);
  EXPECT_EQ(e->GetCoeff(0), 2);
  e->Remove(0);
  EXPECT_EQ(e->GetDim(), 0);
  EXPECT_EQ(e->AddTerm(big.get(), 1.0), 1);
  EXPECT_EQ(e->GetDim(), 3);

  // A matrix of another model is copied, not reused by its number.
  Own<Tarq::IModel> other(env_->CreateModel("other"));
  Own<Tarq::ISymMatrix> foreign(other->AddDiagMat(2, 5.0));
  Own<Tarq::ISymMatExpr> f(CreateSymMatExpr2(foreign.get(), 1.0));
  Own<Tarq::ISymMatrix> copied(model_->AddSymMat(f.get()));
  EXPECT_EQ(copied->GetIdx(), 4);
  EXPECT_EQ(MatText(copied.get()), "2: (0,0)=5 (1,1)=5");
}

TEST_F(SymMat, PsdVariableSumIsOneCachedElementPerUpperPosition) {
  Own<Tarq::IPsdVar> x(model_->AddPsdVar(3, "x"));
  Own<Tarq::IPsdExpr> s(x->Sum());
  ASSERT_EQ(s->GetSize(), 6);
  Own<Tarq::ISymMatExpr> c(s->GetCoeff(4));  // (1, 2)
  Own<Tarq::ISymMatrix> m(c->GetSymMat(0));
  EXPECT_EQ(m->GetIdx(), -1);
  EXPECT_EQ(m->GetDim(), 3);
  // Stored as a constraint: the cached elements become one matrix of ones above the diagonal.
  Own<Tarq::IPsdConstraint> row(model_->AddPsdConstr(s.get(), 'L', 4, "sum"));
  ASSERT_EQ(Code(), 0) << Msg();
  EXPECT_EQ(Dump(),
            "mat 0 3: (0,0)=1 (1,0)=1 (2,0)=1 (1,1)=1 (2,1)=1 (2,2)=1\n"
            "psdcol x dim 3 obj -1\n"
            "psdrow sum [-1e+30,4]: <m0,X0>\n");
}

}  // namespace
