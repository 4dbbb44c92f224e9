#include "io/output_names.h"

namespace tarq_solver {

OutputNames::OutputNames(const NameTable& table, char prefix, Valid valid, const OutputNames* others)
    : others_(others) {
  const int n = table.Size();
  names_.resize(static_cast<size_t>(n));
  used_.reserve(static_cast<size_t>(n));
  std::vector<char> needsName(static_cast<size_t>(n), 0);
  // Valid own names first, so that a generated name never displaces one of them.
  for (int pos = 0; pos < n; ++pos) {
    std::string_view own = table.Explicit(pos);
    if (!own.empty() && valid(own) && !Taken(own) && used_.insert(own).second) {
      names_[pos] = own;
    } else {
      needsName[pos] = 1;
    }
  }
  for (int pos = 0; pos < n; ++pos) {
    if (!needsName[pos]) continue;
    std::string name = prefix + std::to_string(pos);
    if (Taken(name)) name = Unused(name);
    generated_.push_back(std::move(name));
    names_[pos] = generated_.back();
    used_.insert(names_[pos]);
  }
}

std::string OutputNames::Unused(std::string_view base) const {
  std::string name(base);
  for (int k = 1; Taken(name); ++k) name = std::string(base) + "_" + std::to_string(k);
  return name;
}

std::string OutputNames::Unused(std::string_view base, const OutputNames* others) const {
  std::string name(base);
  for (int k = 1; Taken(name) || (others != nullptr && others->Taken(name)); ++k) {
    name = std::string(base) + "_" + std::to_string(k);
  }
  return name;
}

}  // namespace tarq_solver
