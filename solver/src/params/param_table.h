// The parameter and attribute table (tarq_params.def) as typed C++ data.
//
// Every entry gets an enumerator in the enum of its kind (DblParam::TimeLimit, IntAttr::Cols, ...)
// whose value is its position within that kind, and an EntryInfo in the kind's info array at that
// position. kAllEntries lists every entry in table order. Everything here is constexpr data built
// by the compiler; nothing is allocated or initialised at run time.
#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <span>
#include <string_view>

namespace tarq_solver {

// Kind codes, as TARQ_SearchParamAttr reports them.
enum class ParamKind : int { kDblParam = 0, kIntParam = 1, kDblAttr = 2, kIntAttr = 3 };

// One enumerator per entry of each kind, in table order, starting at 0.
enum class DblParam : int {
#define TARQ_DBL_PARAM(name, advanced, def, min, max) name,
#include "tarq_params.def"
};
enum class IntParam : int {
#define TARQ_INT_PARAM(name, advanced, def, min, max) name,
#include "tarq_params.def"
};
enum class DblAttr : int {
#define TARQ_DBL_ATTR(name, advanced, def, min, max) name,
#include "tarq_params.def"
};
enum class IntAttr : int {
#define TARQ_INT_ATTR(name, advanced, def, min, max) name,
#include "tarq_params.def"
};

// What the table says about one entry. For attributes, def is the value before any solve.
template <class V>
struct EntryInfo {
  const char* name;
  bool advanced;
  V def;
  V min;
  V max;
};

#define TARQ_PARAM_INFO_ROW(name, advanced, def, min, max) {#name, (advanced) != 0, def, min, max},
inline constexpr EntryInfo<double> kDblParamInfo[] = {
#define TARQ_DBL_PARAM TARQ_PARAM_INFO_ROW
#include "tarq_params.def"
};
inline constexpr EntryInfo<int> kIntParamInfo[] = {
#define TARQ_INT_PARAM TARQ_PARAM_INFO_ROW
#include "tarq_params.def"
};
inline constexpr EntryInfo<double> kDblAttrInfo[] = {
#define TARQ_DBL_ATTR TARQ_PARAM_INFO_ROW
#include "tarq_params.def"
};
inline constexpr EntryInfo<int> kIntAttrInfo[] = {
#define TARQ_INT_ATTR TARQ_PARAM_INFO_ROW
#include "tarq_params.def"
};
#undef TARQ_PARAM_INFO_ROW

inline constexpr int kNumDblParams = static_cast<int>(std::size(kDblParamInfo));
inline constexpr int kNumIntParams = static_cast<int>(std::size(kIntParamInfo));
inline constexpr int kNumDblAttrs = static_cast<int>(std::size(kDblAttrInfo));
inline constexpr int kNumIntAttrs = static_cast<int>(std::size(kIntAttrInfo));

// Maps an id enum to its value type, kind and info array, so code can be written once for all
// four kinds.
template <class Id>
struct IdTraits;
template <>
struct IdTraits<DblParam> {
  using Value = double;
  static constexpr ParamKind kKind = ParamKind::kDblParam;
  static constexpr std::span<const EntryInfo<double>> Table() { return kDblParamInfo; }
};
template <>
struct IdTraits<IntParam> {
  using Value = int;
  static constexpr ParamKind kKind = ParamKind::kIntParam;
  static constexpr std::span<const EntryInfo<int>> Table() { return kIntParamInfo; }
};
template <>
struct IdTraits<DblAttr> {
  using Value = double;
  static constexpr ParamKind kKind = ParamKind::kDblAttr;
  static constexpr std::span<const EntryInfo<double>> Table() { return kDblAttrInfo; }
};
template <>
struct IdTraits<IntAttr> {
  using Value = int;
  static constexpr ParamKind kKind = ParamKind::kIntAttr;
  static constexpr std::span<const EntryInfo<int>> Table() { return kIntAttrInfo; }
};

template <class Id>
using ValueOf = typename IdTraits<Id>::Value;

template <class Id>
constexpr const EntryInfo<ValueOf<Id>>& Info(Id id) {
  return IdTraits<Id>::Table()[static_cast<std::size_t>(id)];
}

// An entry named by its kind and its position within the kind.
struct EntryRef {
  ParamKind kind;
  int id;
};

// Every entry in table order.
inline constexpr EntryRef kAllEntries[] = {
#define TARQ_DBL_PARAM(name, advanced, def, min, max) {ParamKind::kDblParam, static_cast<int>(DblParam::name)},
#define TARQ_INT_PARAM(name, advanced, def, min, max) {ParamKind::kIntParam, static_cast<int>(IntParam::name)},
#define TARQ_DBL_ATTR(name, advanced, def, min, max) {ParamKind::kDblAttr, static_cast<int>(DblAttr::name)},
#define TARQ_INT_ATTR(name, advanced, def, min, max) {ParamKind::kIntAttr, static_cast<int>(IntAttr::name)},
#include "tarq_params.def"
};
inline constexpr int kNumEntries = static_cast<int>(std::size(kAllEntries));

// The canonical spelling of an entry; ref must name an existing entry.
const char* NameOf(EntryRef ref);

// Finds an entry by name without regard to ASCII letter case. Runs in O(length of name) and
// allocates nothing; the index behind it is built once, on first use, and is safe to use from any
// thread. Returns nothing for unknown names, including the empty name.
std::optional<EntryRef> FindEntry(std::string_view name);

// Finds an attribute by name (letter case ignored). Returns false, leaving *kind and *id
// unchanged, when name is null, unknown or names a parameter.
bool FindAttr(const char* name, ParamKind* kind, int* id);

}  // namespace tarq_solver
