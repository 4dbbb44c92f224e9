#include "psdnl/psd_var.h"

#include <memory>

#include "matrix/ndarray.h"
#include "psdnl/psd_expr.h"

namespace Tarq {

bool PsdVar::Info(const char* info, double* out, int length) {
  if (Index() < 0) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Invalid PSD variable");
    return false;
  }
  if (out == nullptr || length < dim * dim) {
    detail::Record(status, TARQ_RETCODE_INVALID, "Insufficient output buffer");
    return false;
  }
  return detail::Checked(status, TARQ_GetPSDColInfo(Problem(), info, Index(), out),
                         "Fail to get informations of PSD variables");
}

}  // namespace Tarq

Tarq::INdArray<double, 2>* TarqPsdVar::Get(const char* info) {
  Tarq::PsdVar& v = Data();
  const int n = v.dim;
  const size_t len = static_cast<size_t>(n) * static_cast<size_t>(n);
  // Arrays made over caller data release one element with delete and more with delete[].
  std::unique_ptr<double[]> many(len > 1 ? new double[len] : nullptr);
  std::unique_ptr<double> one(len == 1 ? new double(0) : nullptr);
  double* data = len > 1 ? many.get() : one.get();
  const bool ok = data != nullptr && v.Info(info, data, static_cast<int>(len));
  const int sizes[2] = {n, n};
  if (!ok) {
    auto array = Tarq::detail::ArrayOverCallerData<double, 2>(nullptr, sizes, false);
    array.status = v.status;
    return Tarq::detail::NewNdArray(std::move(array));
  }
  auto array = Tarq::detail::ArrayOverCallerData<double, 2>(data, sizes, true);
  many.release();
  one.release();
  return Tarq::detail::NewNdArray(std::move(array));
}

Tarq::IPsdExpr* TarqPsdVar::Sum() {
  const Tarq::PsdVar& v = Data();
  Tarq::PsdExpr e;
  for (int i = 0; i < v.dim; ++i) {
    for (int j = i; j < v.dim; ++j) e.AddTerm(v, Tarq::SymMatExpr(Tarq::SymMatrix::Cached(v.dim, i, j, 1.0), 1.0));
  }
  return new TarqPsdExpr(std::move(e));
}

void TarqPsdVarArray::PushBack(const Tarq::IPsdVar* var) {
  Tarq::detail::GrowAhead(Data(), 1);
  Data().push_back(Tarq::PsdVarOf(var));
}
