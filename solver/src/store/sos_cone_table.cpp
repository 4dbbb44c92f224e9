#include "store/sos_cone_table.h"

#include "store/tables.h"

namespace tarq_solver {

namespace {

// Compacts the member arrays that begin describes: object k stays when keepObject(k), and within
// it member p stays when keepMember(p), moved by move(p, q) to its new position q. Rewrites begin
// for the objects that stay; returns the number of members left. O(objects + members).
template <class KeepObject, class KeepMember, class Move>
size_t Compact(std::vector<std::int64_t>& begin, KeepObject keepObject, KeepMember keepMember, Move move) {
  size_t out = 0, kept = 0;
  std::int64_t from = begin[0];
  for (size_t k = 0; k + 1 < begin.size(); ++k) {
    const std::int64_t to = begin[k + 1];  // read before begin[kept <= k] is overwritten
    if (keepObject(k)) {
      begin[kept++] = static_cast<std::int64_t>(out);
      for (std::int64_t p = from; p < to; ++p) {
        if (keepMember(static_cast<size_t>(p))) move(static_cast<size_t>(p), out++);
      }
    }
    from = to;
  }
  begin[kept] = static_cast<std::int64_t>(out);
  begin.resize(kept + 1);
  return out;
}

bool AnySet(const std::vector<char>& flags) {
  for (char f : flags) {
    if (f) return true;
  }
  return false;
}

// Flags the objects of begin that have no member.
std::vector<char> EmptyObjects(const std::vector<std::int64_t>& begin) {
  std::vector<char> empty(begin.size() - 1, 0);
  for (size_t k = 0; k + 1 < begin.size(); ++k) empty[k] = begin[k + 1] == begin[k] ? 1 : 0;
  return empty;
}

auto KeepAll() {
  return [](size_t) { return true; };
}

}  // namespace

void SosTable::Erase(const std::vector<char>& drop) {
  const size_t n = Compact(begin, [&](size_t k) { return !drop[k]; }, KeepAll(), [&](size_t p, size_t q) {
    col[q] = col[p];
    weight[q] = weight[p];
  });
  col.resize(n);
  weight.resize(n);
  EraseFlagged(type, drop);
}

void IndicatorTable::Erase(const std::vector<char>& drop) {
  const size_t n = Compact(begin, [&](size_t k) { return !drop[k]; }, KeepAll(), [&](size_t p, size_t q) {
    col[q] = col[p];
    val[q] = val[p];
  });
  col.resize(n);
  val.resize(n);
  EraseFlagged(type, drop);
  EraseFlagged(binCol, drop);
  EraseFlagged(binVal, drop);
  EraseFlagged(sense, drop);
  EraseFlagged(bound, drop);
  names.Erase(drop);
}

void ConeTable::Erase(const std::vector<char>& drop) {
  const size_t n =
      Compact(begin, [&](size_t k) { return !drop[k]; }, KeepAll(), [&](size_t p, size_t q) { col[q] = col[p]; });
  col.resize(n);
  EraseFlagged(type, drop);
}

void ExpConeTable::Erase(const std::vector<char>& drop) {
  size_t out = 0;
  for (size_t k = 0; k < type.size(); ++k) {
    if (drop[k]) continue;
    for (size_t m = 0; m < 3; ++m) col[3 * out + m] = col[3 * k + m];
    ++out;
  }
  col.resize(3 * out);
  EraseFlagged(type, drop);
}

void SosConeStore::EraseColumns(const std::vector<char>& drop) {
  if (Empty()) return;
  std::vector<int> pos(drop.size(), -1);  // new position of every column, -1 when dropped
  int next = 0;
  for (size_t j = 0; j < drop.size(); ++j) {
    if (!drop[j]) pos[j] = next++;
  }
  auto stays = [&pos](const std::vector<int>& col) {
    return [&pos, &col](size_t p) { return pos[static_cast<size_t>(col[p])] >= 0; };
  };

  // SOS: members go, then the sets left without any.
  if (sos.Size() > 0) {
    const size_t n = Compact(sos.begin, KeepAll(), stays(sos.col), [&](size_t p, size_t q) {
      sos.col[q] = pos[static_cast<size_t>(sos.col[p])];
      sos.weight[q] = sos.weight[p];
    });
    sos.col.resize(n);
    sos.weight.resize(n);
    if (const std::vector<char> empty = EmptyObjects(sos.begin); AnySet(empty)) sos.Erase(empty);
  }

  // Indicator rows: those on a deleted indicator column go, the others lose deleted entries.
  if (indicators.Size() > 0) {
    IndicatorTable& t = indicators;
    std::vector<char> gone(static_cast<size_t>(t.Size()), 0);
    for (size_t k = 0; k < gone.size(); ++k) gone[k] = pos[static_cast<size_t>(t.binCol[k])] < 0 ? 1 : 0;
    const size_t n = Compact(t.begin, [&](size_t k) { return !gone[k]; }, stays(t.col), [&](size_t p, size_t q) {
      t.col[q] = pos[static_cast<size_t>(t.col[p])];
      t.val[q] = t.val[p];
    });
    t.col.resize(n);
    t.val.resize(n);
    if (AnySet(gone)) {
      EraseFlagged(t.type, gone);
      EraseFlagged(t.binCol, gone);
      EraseFlagged(t.binVal, gone);
      EraseFlagged(t.sense, gone);
      EraseFlagged(t.bound, gone);
      t.names.Erase(gone);
    }
    for (int& j : t.binCol) j = pos[static_cast<size_t>(j)];
  }

  // Second-order cones: like SOS.
  if (cones.Size() > 0) {
    const size_t n = Compact(cones.begin, KeepAll(), stays(cones.col),
                             [&](size_t p, size_t q) { cones.col[q] = pos[static_cast<size_t>(cones.col[p])]; });
    cones.col.resize(n);
    if (const std::vector<char> empty = EmptyObjects(cones.begin); AnySet(empty)) cones.Erase(empty);
  }

  // Exponential cones go with any of their three columns.
  if (expCones.Size() > 0) {
    std::vector<char> gone(static_cast<size_t>(expCones.Size()), 0);
    for (size_t p = 0; p < expCones.col.size(); ++p) {
      if (pos[static_cast<size_t>(expCones.col[p])] < 0) gone[p / 3] = 1;
    }
    if (AnySet(gone)) expCones.Erase(gone);
    for (int& j : expCones.col) j = pos[static_cast<size_t>(j)];
  }
}

}  // namespace tarq_solver
