#include "params/param_table.h"

#include <array>
#include <cstdint>

#include "core/text.h"

namespace tarq_solver {
namespace detail {

// FNV-1a over the lower-cased bytes.
constexpr std::uint32_t HashNoCase(std::string_view s) {
  std::uint32_t h = 2166136261u;
  for (char ch : s) {
    h ^= LowerAscii(static_cast<unsigned char>(ch));
    h *= 16777619u;
  }
  return h;
}


// Open-addressing hash index from lower-cased name to position in kAllEntries. With 2048 slots
// for 600 names, probes stay short; the slots hold 16-bit positions, -1 for empty.
class NameIndex {
 public:
  NameIndex() {
    slots_.fill(-1);
    for (int i = 0; i < kNumEntries; ++i) {
      std::size_t s = HashNoCase(NameOf(kAllEntries[i])) & kMask;
      while (slots_[s] >= 0) s = (s + 1) & kMask;
      slots_[s] = static_cast<std::int16_t>(i);
    }
  }

  std::optional<EntryRef> Find(std::string_view name) const {
    if (name.empty()) return std::nullopt;
    for (std::size_t s = HashNoCase(name) & kMask; slots_[s] >= 0; s = (s + 1) & kMask) {
      const EntryRef& ref = kAllEntries[slots_[s]];
      if (EqualNoCase(name, NameOf(ref))) return ref;
    }
    return std::nullopt;
  }

 private:
  static constexpr std::size_t kSlots = 2048;
  static constexpr std::size_t kMask = kSlots - 1;
  static_assert(kSlots >= 2 * static_cast<std::size_t>(kNumEntries), "keep the index at most half full");
  static_assert(kNumEntries < 32768, "positions are stored in 16 bits");
  std::array<std::int16_t, kSlots> slots_;
};

}  // namespace detail

const char* NameOf(EntryRef ref) {
  switch (ref.kind) {
    case ParamKind::kDblParam: return kDblParamInfo[ref.id].name;
    case ParamKind::kIntParam: return kIntParamInfo[ref.id].name;
    case ParamKind::kDblAttr: return kDblAttrInfo[ref.id].name;
    case ParamKind::kIntAttr: return kIntAttrInfo[ref.id].name;
  }
  return "";
}

std::optional<EntryRef> FindEntry(std::string_view name) {
  static const detail::NameIndex index;  // built once; thread-safe static initialisation
  return index.Find(name);
}

bool FindAttr(const char* name, ParamKind* kind, int* id) {
  if (name == nullptr || kind == nullptr || id == nullptr) return false;
  auto ref = FindEntry(name);
  if (!ref || (ref->kind != ParamKind::kDblAttr && ref->kind != ParamKind::kIntAttr)) return false;
  *kind = ref->kind;
  *id = ref->id;
  return true;
}

}  // namespace tarq_solver
