#include "scalar/var.h"

#include "frame/grow.h"

void TarqVarArray::PushBack(const Tarq::IVar* var) { Data().push_back(Tarq::VarOf(var)); }

void TarqVarArray::PushBack(const std::vector<Tarq::IVar*>& vars) {
  Tarq::detail::GrowAhead(Data(), vars.size());
  for (const Tarq::IVar* v : vars) Data().push_back(Tarq::VarOf(v));
}

std::vector<Tarq::IVar*> TarqVarArray::GetAll() const {
  std::vector<Tarq::IVar*> all;
  all.reserve(Data().size());
  for (const Tarq::Var& v : Data()) {
    v.RememberIndex();
    all.push_back(new TarqVar(v));
  }
  return all;
}
