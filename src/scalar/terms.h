// Operations on term lists - parallel vectors of coefficients and objects (variables of an
// expression, constraints of a column) - written once for every kind of term.
#pragma once

#include <cmath>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace Tarq::detail {

// Removes term i by moving the last term into its place; term order is not kept.
template <class Obj>
void RemoveTermAt(std::vector<double>& coefs, std::vector<Obj>& objs, std::size_t i) {
  const std::size_t last = coefs.size() - 1;
  if (i < last) {
    coefs[i] = coefs[last];
    objs[i] = std::move(objs[last]);
  }
  coefs.pop_back();
  objs.pop_back();
}

// Removes every term whose object has the given index, re-examining each position just filled.
// Returns whether any term was removed.
template <class Obj>
bool RemoveTermsOf(std::vector<double>& coefs, std::vector<Obj>& objs, int index) {
  bool any = false;
  for (std::size_t i = 0; i < objs.size();) {
    if (objs[i].Index() == index) {
      RemoveTermAt(coefs, objs, i);
      any = true;
    } else {
      ++i;
    }
  }
  return any;
}

// Removes term i and its entry of a parallel index list, moving the last ones into place.
template <class Obj>
void RemoveTermAt(std::vector<double>& coefs, std::vector<Obj>& objs, std::vector<int>& index, std::size_t i) {
  index[i] = index.back();
  index.pop_back();
  RemoveTermAt(coefs, objs, i);
}

// Merges terms by object index with caller-owned dense scratch (a value and a mark per index,
// marks clear on entry and on return). index[i] is term i's object index, read once by the
// caller; it is kept parallel to the terms. Terms of negative index and objects whose
// coefficients are all exactly 0 disappear; each remaining object keeps one term, at the first
// position it occupies after the moves, holding the sum. Linear in the number of terms.
template <class Obj>
void MergeTermsDense(std::vector<double>& coefs, std::vector<Obj>& objs, std::vector<int>& index, double* scratch,
                     unsigned char* mark) {
  for (std::size_t i = 0; i < objs.size(); ++i) {
    const int k = index[i];
    const double c = coefs[i];
    if (k < 0 || c == 0.0) continue;  // a NaN is not 0 and is kept
    if (mark[k]) {
      scratch[k] += c;
    } else {
      scratch[k] = c;
      mark[k] = 1;
    }
  }
  for (std::size_t i = 0; i < objs.size();) {
    const int k = index[i];
    if (k < 0 || !mark[k]) {
      RemoveTermAt(coefs, objs, index, i);
      continue;
    }
    coefs[i] = scratch[k];
    mark[k] = 0;
    ++i;
  }
}

// The same merge as MergeTermsDense, with the same result, for short term lists: a local table
// replaces the scratch, so no random access into column-length arrays is made.
constexpr std::size_t kSmallMerge = 16;

template <class Obj>
void MergeTermsSmall(std::vector<double>& coefs, std::vector<Obj>& objs, std::vector<int>& index) {
  int keys[kSmallMerge];
  double sums[kSmallMerge];
  bool open[kSmallMerge];
  int slot[kSmallMerge];  // term i's entry in keys; -1: no object; -2: coefficient 0, looked up later
  std::size_t used = 0;
  const std::size_t n = objs.size();
  for (std::size_t i = 0; i < n; ++i) {
    const int k = index[i];
    const double c = coefs[i];
    slot[i] = k < 0 ? -1 : -2;
    if (k < 0 || c == 0.0) continue;  // a NaN is not 0 and is kept
    std::size_t j = 0;
    while (j < used && keys[j] != k) ++j;
    if (j < used) {
      sums[j] += c;
    } else {
      keys[used] = k;
      sums[used] = c;
      open[used++] = true;
    }
    slot[i] = static_cast<int>(j);
  }
  if (used == n) return;  // every term kept as it is: no repeats, no zeros, no failed objects
  for (std::size_t i = 0; i < objs.size();) {
    int j = slot[i];
    if (j == -2) {
      // A term of coefficient 0 takes its object's merged sum when it comes first.
      std::size_t at = 0;
      while (at < used && keys[at] != index[i]) ++at;
      j = at < used ? static_cast<int>(at) : -1;
    }
    if (j < 0 || !open[j]) {
      slot[i] = slot[objs.size() - 1];  // the last term moves into place i, with its entry
      RemoveTermAt(coefs, objs, index, i);
      continue;
    }
    coefs[i] = sums[j];
    open[j] = false;
    ++i;
  }
}

// Merges terms by object index with an ordered map; zero coefficients are kept, so an object
// whose coefficients are all 0 keeps one term of coefficient 0.
template <class Obj>
void MergeTermsMap(std::vector<double>& coefs, std::vector<Obj>& objs) {
  std::map<int, std::size_t> at;
  for (std::size_t i = 0; i < objs.size();) {
    const int k = objs[i].Index();
    if (k < 0) {
      RemoveTermAt(coefs, objs, i);
      continue;
    }
    auto [it, fresh] = at.try_emplace(k, i);
    if (fresh) {
      ++i;
      continue;
    }
    coefs[it->second] += coefs[i];
    RemoveTermAt(coefs, objs, i);
  }
}

// Chooses the form by density: dense scratch of `size` entries when size / terms <= 99,
// otherwise the map.
template <class Obj>
void MergeTermsSized(std::vector<double>& coefs, std::vector<Obj>& objs, int size) {
  if (objs.empty()) return;
  if (static_cast<std::size_t>(size) / objs.size() <= 99) {
    std::vector<double> scratch(static_cast<std::size_t>(size));
    std::vector<unsigned char> mark(static_cast<std::size_t>(size), 0);
    std::vector<int> index(objs.size());
    for (std::size_t i = 0; i < objs.size(); ++i) index[i] = objs[i].Index();
    MergeTermsDense(coefs, objs, index, scratch.data(), mark.data());
  } else {
    MergeTermsMap(coefs, objs);
  }
}

}  // namespace Tarq::detail
