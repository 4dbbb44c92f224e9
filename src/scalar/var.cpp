#include "scalar/var.h"

#include "frame/grow.h"

void TarqVarArray::PushBack(const Tarq::IVar* var) { Data().emplace_back(Tarq::VarOf(var).record); }

void TarqVarArray::PushBack(const std::vector<Tarq::IVar*>& vars) {
  Tarq::detail::GrowAhead(Data(), vars.size());
  for (const Tarq::IVar* v : vars) Data().emplace_back(Tarq::VarOf(v).record);
}

std::vector<Tarq::IVar*> TarqVarArray::GetAll() const {
  std::vector<Tarq::IVar*> all;
  all.reserve(Data().size());
  for (const Tarq::detail::RecordValue& element : Data()) {
    Tarq::Var v(element.record);
    v.RememberIndex();
    all.push_back(new TarqVar(std::move(v)));
  }
  return all;
}
