#include "scalar/var.h"

#include "frame/grow.h"

void TarqVarArray::PushBack(const Tarq::IVar* var) { Data().emplace_back(Tarq::VarOf(var).record); }

void TarqVarArray::PushBack(const std::vector<Tarq::IVar*>& vars) {
  Tarq::detail::GrowAhead(Data(), vars.size());
  for (const Tarq::IVar* v : vars) Data().emplace_back(Tarq::VarOf(v).record);
}

std::vector<Tarq::IVar*> TarqVarArray::GetAll() const {
  using Tarq::detail::HolderBlock;
  using Tarq::detail::RecordRef;
  const auto& list = Data();
  const std::size_t n = list.size();
  std::vector<Tarq::IVar*> all;
  all.reserve(n);
  // Elements of one model come in runs: each run's references on the model are taken at once.
  HolderBlock* owedTo = nullptr;  // references taken for elements not yet handed out
  std::size_t owed = 0;
  try {
    for (std::size_t k = 0; k < n;) {
      HolderBlock* h = list[k].record.Holder();
      std::size_t end = k + 1;
      while (end < n && list[end].record.Holder() == h) ++end;
      if (h != nullptr) {
        h->Retain(static_cast<std::uint32_t>(end - k));
        owedTo = h;
        owed = end - k;
      }
      for (; k < end; ++k) {
        Tarq::Var v(RecordRef(list[k].record.Get(), RecordRef::Adopt{}));  // v gives it back if new throws
        if (owed > 0) --owed;
        v.RememberIndex();
        all.push_back(new TarqVar(std::move(v)));
      }
    }
  } catch (...) {
    // Out of memory: give back what was made and the references not yet handed out.
    for (; owed > 0; --owed) owedTo->Release();
    for (Tarq::IVar* v : all) delete v;
    throw;
  }
  return all;
}
