// The sizes, bounds, start and evaluation callbacks of Ipopt's TNLP and Bonmin's TMINLP, which
// share their signatures, written once over a SmoothEvaluator: Base is the engine's problem
// class. Both engines minimise, so the objective and its derivatives are multiplied by the
// problem's sense.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "solve/smooth_engines.h"

#include <IpTNLP.hpp>

namespace tarq_solver {

template <class Base>
class SmoothCallbacks : public Base {
 public:
  explicit SmoothCallbacks(const SmoothEvaluator& eval) : eval_(eval) {}

  bool get_nlp_info(Ipopt::Index& n, Ipopt::Index& m, Ipopt::Index& nnzJac, Ipopt::Index& nnzHess,
                    Ipopt::TNLP::IndexStyleEnum& style) override {
    n = eval_.Cols();
    m = eval_.Rows();
    nnzJac = static_cast<Ipopt::Index>(eval_.JacRows().size());
    nnzHess = static_cast<Ipopt::Index>(eval_.HessRows().size());
    style = Ipopt::TNLP::C_STYLE;
    return true;
  }

  bool get_bounds_info(Ipopt::Index n, Ipopt::Number* xl, Ipopt::Number* xu, Ipopt::Index m, Ipopt::Number* gl,
                       Ipopt::Number* gu) override {
    const SmoothProblem& p = eval_.Problem();
    for (Ipopt::Index j = 0; j < n; ++j) {
      xl[j] = ToEngine(p.colLower[static_cast<std::size_t>(j)]);
      xu[j] = ToEngine(p.colUpper[static_cast<std::size_t>(j)]);
    }
    for (Ipopt::Index i = 0; i < m; ++i) {
      gl[i] = ToEngine(eval_.RowLower()[static_cast<std::size_t>(i)]);
      gu[i] = ToEngine(eval_.RowUpper()[static_cast<std::size_t>(i)]);
    }
    return true;
  }

  // The problem's start, inside the bounds.
  bool get_starting_point(Ipopt::Index n, bool initX, Ipopt::Number* x, bool, Ipopt::Number*, Ipopt::Number*,
                          Ipopt::Index, bool, Ipopt::Number*) override {
    if (!initX) return true;
    const SmoothProblem& p = eval_.Problem();
    for (Ipopt::Index j = 0; j < n; ++j) x[j] = p.StartValue(j);
    return true;
  }

  bool eval_f(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Number& f) override {
    double v = 0;
    if (!eval_.Objective(x, &v)) return false;
    f = Sense() * v;
    return std::isfinite(f);
  }

  bool eval_grad_f(Ipopt::Index n, const Ipopt::Number* x, bool, Ipopt::Number* grad) override {
    if (!eval_.Gradient(x, grad)) return false;
    for (Ipopt::Index j = 0; j < n; ++j) grad[j] *= Sense();
    return true;
  }

  bool eval_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index, Ipopt::Number* g) override {
    return eval_.Values(x, g);
  }

  bool eval_jac_g(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Index, Ipopt::Index, Ipopt::Index* rows,
                  Ipopt::Index* cols, Ipopt::Number* values) override {
    if (values == nullptr) {
      std::copy(eval_.JacRows().begin(), eval_.JacRows().end(), rows);
      std::copy(eval_.JacCols().begin(), eval_.JacCols().end(), cols);
      return true;
    }
    return eval_.Jacobian(x, values);
  }

  bool eval_h(Ipopt::Index, const Ipopt::Number* x, bool, Ipopt::Number objFactor, Ipopt::Index,
              const Ipopt::Number* lambda, bool, Ipopt::Index, Ipopt::Index* rows, Ipopt::Index* cols,
              Ipopt::Number* values) override {
    if (values == nullptr) {
      std::copy(eval_.HessRows().begin(), eval_.HessRows().end(), rows);
      std::copy(eval_.HessCols().begin(), eval_.HessCols().end(), cols);
      return true;
    }
    return eval_.Hessian(x, objFactor * Sense(), lambda, values);
  }

 protected:
  double Sense() const { return eval_.Problem().sense; }
  // Ipopt takes bounds beyond 1e19 as infinite.
  static double ToEngine(double bound) {
    if (bound >= TARQ_INFINITY) return 1e20;
    if (bound <= -TARQ_INFINITY) return -1e20;
    return bound;
  }

  const SmoothEvaluator& eval_;
};

}  // namespace tarq_solver
