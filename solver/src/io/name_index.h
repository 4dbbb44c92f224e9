// Hash index from names to positions for the text readers: open addressing with linear probing
// over a power-of-two table kept at most half full. A slot holds the name (a view into the text
// being parsed, which must outlive the index), its hash and its position, so a lookup touches one
// run of slots and compares names only when their hashes agree; no allocation per name.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace tarq_solver {

class NameIndex {
 public:
  // The position stored for name, or -1.
  int Find(std::string_view name) const {
    if (slots_.empty()) return -1;
    const std::uint64_t h = Hash(name);
    for (size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
      const Slot& s = slots_[i];
      if (s.pos < 0) return -1;
      if (s.hash == static_cast<std::uint32_t>(h) && s.key == name) return s.pos;
    }
  }

  // Stores pos for name unless the name is there already; returns the position now stored.
  int FindOrInsert(std::string_view name, int pos) {
    if (2 * (count_ + 1) > slots_.size()) Grow();
    const std::uint64_t h = Hash(name);
    for (size_t i = h & (slots_.size() - 1);; i = (i + 1) & (slots_.size() - 1)) {
      Slot& s = slots_[i];
      if (s.pos < 0) {
        s = Slot{name, static_cast<std::uint32_t>(h), pos};
        ++count_;
        return pos;
      }
      if (s.hash == static_cast<std::uint32_t>(h) && s.key == name) return s.pos;
    }
  }

 private:
  struct Slot {
    std::string_view key;
    std::uint32_t hash = 0;
    std::int32_t pos = -1;  // -1: empty
  };

  static std::uint64_t Hash(std::string_view name) { return std::hash<std::string_view>{}(name); }

  void Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 64 : 2 * old.size(), Slot{});
    const size_t mask = slots_.size() - 1;
    for (const Slot& s : old) {
      if (s.pos < 0) continue;
      size_t i = Hash(s.key) & mask;
      while (slots_[i].pos >= 0) i = (i + 1) & mask;
      slots_[i] = s;
    }
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace tarq_solver
