// Names of one kind of object (columns, rows, ...). Unnamed objects report a generated name: the
// kind's prefix followed by the position ("C0", "R12"). Lookups go through a hash index built
// on the first lookup and kept up to date by appends; renames and deletions may drop it, and the
// next lookup rebuilds it in O(objects).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarq_solver {

class NameTable {
 public:
  explicit NameTable(char prefix) : prefix_(prefix) {}

  int Size() const { return size_; }
  // Appending count objects runs in two steps: Stage copies the names (names may be null for
  // all unnamed, entries may be null or "") and reserves room, and may throw without changing
  // anything visible; Commit appends and does not throw.
  struct Staged {
    int count = 0;
    std::vector<std::string> names;  // empty when every new object is unnamed
  };
  // Objects added without names to a table that has none and no lookup index (the common case
  // of large models) are only counted, without a call.
  Staged Stage(int count, const char* const* names) {
    if (names == nullptr && !named_) return Staged{count > 0 ? count : 0, {}};
    return StageAny(count, names);
  }
  void Commit(Staged&& staged) noexcept {
    if (!named_ && !indexed_ && staged.names.empty()) {
      size_ += staged.count;
      return;
    }
    CommitAny(std::move(staged));
  }
  void Append(int count, const char* const* names) { Commit(Stage(count, names)); }
  void Set(int pos, std::string_view name);
  // The explicit name, empty when the object is unnamed.
  std::string_view Explicit(int pos) const;
  // The explicit or generated name.
  std::string Display(int pos) const;
  // Position of the object with this name (explicit names first, then generated ones); -1 if none.
  int Find(std::string_view name);
  // Removes the objects whose drop flag is set and renumbers the rest.
  void Erase(const std::vector<char>& drop);
  void Clear();
  bool AnyNamed() const { return named_; }

 private:
  Staged StageAny(int count, const char* const* names);
  void CommitAny(Staged&& staged) noexcept;
  void Materialise();
  void Index(int pos);

  char prefix_;
  int size_ = 0;
  std::vector<std::string> names_;  // one per object once any object was named, else empty
  bool named_ = false;
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const noexcept { return std::hash<std::string_view>{}(s); }
  };
  std::unordered_map<std::string, int, Hash, std::equal_to<>> index_;
  bool indexed_ = false;
  bool duplicates_ = false;  // some name is held by more than one object
};

}  // namespace tarq_solver
