#include "store/name_table.h"

#include <charconv>

#include "store/grow.h"

namespace tarq_solver {

void NameTable::Materialise() {
  if (named_) return;
  names_.resize(static_cast<size_t>(size_));
  named_ = true;
}

void NameTable::Index(int pos) {
  const std::string& name = names_[pos];
  if (name.empty()) return;
  if (!index_.try_emplace(name, pos).second) duplicates_ = true;
}

NameTable::Staged NameTable::StageAny(int count, const char* const* names) {
  Staged staged;
  staged.count = count > 0 ? count : 0;
  bool any = false;
  if (names != nullptr) {
    for (int k = 0; k < staged.count && !any; ++k) any = names[k] != nullptr && names[k][0] != '\0';
  }
  if (!any) {
    if (named_) ReserveFor(names_, static_cast<size_t>(staged.count));
    return staged;
  }
  staged.names.reserve(static_cast<size_t>(staged.count));
  for (int k = 0; k < staged.count; ++k) staged.names.emplace_back(names[k] != nullptr ? names[k] : "");
  Materialise();
  ReserveFor(names_, static_cast<size_t>(staged.count));
  return staged;
}

void NameTable::CommitAny(Staged&& staged) noexcept {
  const int first = size_;
  if (named_) {
    if (staged.names.empty()) {
      names_.resize(names_.size() + static_cast<size_t>(staged.count));  // room was reserved
    } else {
      for (std::string& n : staged.names) names_.push_back(std::move(n));
    }
  }
  size_ += staged.count;
  if (!indexed_) return;
  try {
    for (int pos = first; pos < size_; ++pos) Index(pos);
  } catch (...) {
    indexed_ = false;  // rebuilt by the next lookup
    index_.clear();
  }
}

void NameTable::Set(int pos, std::string_view name) {
  Materialise();
  std::string& current = names_[pos];
  if (indexed_) {
    auto it = index_.find(current);
    if (duplicates_) {
      indexed_ = false;
      index_.clear();
    } else if (it != index_.end() && it->second == pos) {
      index_.erase(it);
    }
  }
  current.assign(name);
  if (indexed_) Index(pos);
}

std::string_view NameTable::Explicit(int pos) const {
  if (!named_) return {};
  return names_[pos];
}

std::string NameTable::Display(int pos) const {
  std::string_view name = Explicit(pos);
  if (!name.empty()) return std::string(name);
  return prefix_ + std::to_string(pos);
}

int NameTable::Find(std::string_view name) {
  if (name.empty()) return -1;
  if (named_) {
    if (!indexed_) {
      index_.clear();
      index_.reserve(names_.size());
      duplicates_ = false;
      for (int pos = 0; pos < size_; ++pos) Index(pos);
      indexed_ = true;
    }
    auto it = index_.find(name);
    if (it != index_.end()) return it->second;
  }
  // A generated name: the prefix, then a position without leading zeros, of an unnamed object.
  if (name.size() < 2 || name[0] != prefix_) return -1;
  if (name[1] == '0' && name.size() > 2) return -1;
  int pos = -1;
  auto [end, ec] = std::from_chars(name.data() + 1, name.data() + name.size(), pos);
  if (ec != std::errc() || end != name.data() + name.size() || pos < 0 || pos >= size_) return -1;
  return Explicit(pos).empty() ? pos : -1;
}

void NameTable::Erase(const std::vector<char>& drop) {
  int kept = 0;
  for (int pos = 0; pos < size_; ++pos) {
    if (drop[pos]) continue;
    if (named_ && kept != pos) names_[kept] = std::move(names_[pos]);
    ++kept;
  }
  if (named_) names_.resize(static_cast<size_t>(kept));
  size_ = kept;
  indexed_ = false;
  index_.clear();
}

void NameTable::Clear() { *this = NameTable(prefix_); }

}  // namespace tarq_solver
