#include "bare_library.h"

#include <cstddef>
#include <new>

#include "tarq.h"

namespace bare {
namespace {

// A handle is a vtable and a position (16 bytes); the handles of MakeVars sit in one array.
class ArrayVar final : public Var {
 public:
  explicit ArrayVar(int index) : index_(index) {}
  int Index() const override { return index_; }

 private:
  int index_;
};

struct Term {
  int index;
  double coef;
};

// Expressions are reused from a free list; up to kInline terms live in the object itself.
constexpr int kInline = 8;

class ListExpr;
thread_local ListExpr* freeExprs = nullptr;

class ListExpr final : public Expr {
 public:
  static void* operator new(std::size_t size) {
    if (freeExprs == nullptr) return ::operator new(size);
    ListExpr* e = freeExprs;
    freeExprs = e->nextFree_;
    return e;
  }
  static void operator delete(void* p) {
    auto* e = static_cast<ListExpr*>(p);
    e->nextFree_ = freeExprs;
    freeExprs = e;
  }
  ~ListExpr() override {
    if (terms_ != inline_) delete[] terms_;
  }
  void Reserve(int n) override {
    if (n > capacity_) Grow(n);
  }
  void AddTerm(const Var* var, double coef) override {
    if (size_ == capacity_) Grow(2 * capacity_);
    terms_[size_++] = Term{static_cast<const ArrayVar*>(var)->Index(), coef};
  }
  const Term* begin() const { return terms_; }
  const Term* end() const { return terms_ + size_; }

 private:
  void Grow(int n) {
    Term* terms = new Term[static_cast<std::size_t>(n)];
    for (int k = 0; k < size_; ++k) terms[k] = terms_[k];
    if (terms_ != inline_) delete[] terms_;
    terms_ = terms;
    capacity_ = n;
  }

  Term inline_[kInline];
  Term* terms_ = inline_;
  int size_ = 0;
  int capacity_ = kInline;
  ListExpr* nextFree_ = nullptr;
};

class RowBuilder final : public Builder {
 public:
  void Set(const Expr* expr, char sense, double rhs) override {
    const auto* e = static_cast<const ListExpr*>(expr);
    terms.assign(e->begin(), e->end());
    this->sense = sense;
    this->rhs = rhs;
  }

  std::vector<Term> terms;
  char sense = 0;
  double rhs = 0;
};

class RowList final : public BuilderList {
 public:
  void Reserve(int n) override {
    start.reserve(static_cast<std::size_t>(n) + 1);
    sense.reserve(static_cast<std::size_t>(n));
    rhs.reserve(static_cast<std::size_t>(n));
  }
  void PushBack(const Builder* builder) override {
    const auto* b = static_cast<const RowBuilder*>(builder);
    terms.insert(terms.end(), b->terms.begin(), b->terms.end());
    start.push_back(static_cast<int>(terms.size()));
    sense.push_back(b->sense);
    rhs.push_back(b->rhs);
  }

  std::vector<int> start{0};
  std::vector<Term> terms;
  std::vector<char> sense;
  std::vector<double> rhs;
};

}  // namespace

std::vector<Var*> MakeVars(int n) {
  auto* vars = static_cast<ArrayVar*>(::operator new(sizeof(ArrayVar) * static_cast<std::size_t>(n)));
  std::vector<Var*> out;
  out.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) out.push_back(new (vars + i) ArrayVar(i));
  return out;
}

Expr* NewExpr() { return new ListExpr(); }
Builder* NewBuilder() { return new RowBuilder(); }
BuilderList* NewBuilderList() { return new RowList(); }

int AddRows(const BuilderList* list, tarq_prob* prob) {
  const auto& rows = *static_cast<const RowList*>(list);
  const std::size_t n = rows.sense.size();
  std::vector<int> beg(n + 1), idx;
  std::vector<double> val;
  idx.reserve(rows.terms.size());
  val.reserve(rows.terms.size());
  for (std::size_t r = 0; r < n; ++r) {
    const std::size_t first = idx.size();
    beg[r] = static_cast<int>(first);
    for (int k = rows.start[r]; k < rows.start[r + 1]; ++k) {
      const Term& t = rows.terms[static_cast<std::size_t>(k)];
      std::size_t q = first;
      while (q < idx.size() && idx[q] != t.index) ++q;
      if (q < idx.size()) {
        val[q] += t.coef;
      } else {
        idx.push_back(t.index);
        val.push_back(t.coef);
      }
    }
  }
  beg[n] = static_cast<int>(idx.size());
  return TARQ_AddRows(prob, static_cast<int>(n), beg.data(), nullptr, idx.data(), val.data(), rows.sense.data(),
                      rows.rhs.data(), nullptr, nullptr);
}

}  // namespace bare
