// Operations on term lists - parallel vectors of coefficients and objects (variables of an
// expression, constraints of a column) - written once for every kind of term.
#pragma once

#include <cmath>
#include <cstddef>
#include <map>
#include <utility>
#include <vector>

namespace Tarq::detail {

// A run of terms inside longer arrays, shaped like the term lists the operations below take, so
// that a run is merged where it lies: removing a term shortens the run and leaves the elements
// behind its new end as they are.
template <class T>
class TermRun {
 public:
  TermRun(T* first, std::size_t n) noexcept : first_(first), n_(n) {}
  std::size_t size() const noexcept { return n_; }
  T& operator[](std::size_t i) const noexcept { return first_[i]; }
  T& back() const noexcept { return first_[n_ - 1]; }
  void pop_back() noexcept { --n_; }
  T* begin() const noexcept { return first_; }
  T* end() const noexcept { return first_ + n_; }

 private:
  T* first_;
  std::size_t n_;
};

// Removes term i by moving the last term into its place; term order is not kept.
template <class Coefs, class Objs>
void RemoveTermAt(Coefs& coefs, Objs& objs, std::size_t i) {
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
template <class Coefs, class Objs>
bool RemoveTermsOf(Coefs& coefs, Objs& objs, int index) {
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
template <class Coefs, class Objs>
void RemoveTermAt(Coefs& coefs, Objs& objs, std::vector<int>& index, std::size_t i) {
  index[i] = index.back();
  index.pop_back();
  RemoveTermAt(coefs, objs, i);
}

// Merges terms by object index with caller-owned dense scratch (a value and a mark per index,
// marks clear on entry and on return). index[i] is term i's object index, read once by the
// caller; it is kept parallel to the terms. Terms of negative index and objects whose
// coefficients are all exactly 0 disappear; each remaining object keeps one term, at the first
// position it occupies after the moves, holding the sum. Linear in the number of terms.
template <class Coefs, class Objs>
void MergeTermsDense(Coefs& coefs, Objs& objs, std::vector<int>& index, double* scratch,
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

// The same merge as MergeTermsDense, with the same result, for short term lists: local tables
// replace the scratch, so no random access into column-length arrays is made. A term's object is
// named by the position of its first term that counts (index >= 0, coefficient not 0), found by
// comparing with every earlier term without branching on the outcome.
constexpr std::size_t kSmallMerge = 16;

template <class Coefs, class Objs>
void MergeTermsSmall(Coefs& coefs, Objs& objs, std::vector<int>& index) {
  constexpr int kNone = -1;       // a term of no object
  constexpr int kLookUp = -2;     // coefficient 0: its object is looked up later
  constexpr int kNoKey = -1 - 0x7fffffff;  // the key of a term that does not count; never an index
  const std::size_t n = objs.size();
  int key[kSmallMerge];
  int slot[kSmallMerge];  // term i's object: the position of its first counting term, or kNone/kLookUp
  double sums[kSmallMerge];
  bool open[kSmallMerge];
  bool unchanged = true;
  for (std::size_t i = 0; i < n; ++i) {
    const int k = index[i];
    const double c = coefs[i];
    const bool counts = k >= 0 && c != 0.0;  // a NaN is not 0 and is kept
    key[i] = counts ? k : kNoKey;
    int first = static_cast<int>(i);
    for (std::size_t p = i; p-- > 0;) first = key[p] == k ? static_cast<int>(p) : first;
    slot[i] = counts ? first : (k < 0 ? kNone : kLookUp);
    unchanged = unchanged && counts && first == static_cast<int>(i);
  }
  if (unchanged) return;  // every term kept as it is: no repeats, no zeros, no failed objects
  for (std::size_t i = 0; i < n; ++i) {
    const int j = slot[i];
    if (j < 0) continue;
    open[j] = true;
    if (j == static_cast<int>(i)) {
      sums[j] = coefs[i];
    } else {
      sums[j] += coefs[i];
    }
  }
  for (std::size_t i = 0; i < objs.size();) {
    int j = slot[i];
    if (j == kLookUp) {
      // A term of coefficient 0 takes its object's merged sum when it comes first.
      j = kNone;
      for (std::size_t p = 0; p < n; ++p) {
        if (key[p] == index[i]) {
          j = static_cast<int>(p);  // the first counting term of the object names it
          break;
        }
      }
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
template <class Coefs, class Objs>
void MergeTermsMap(Coefs& coefs, Objs& objs) {
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
template <class Coefs, class Objs>
void MergeTermsSized(Coefs& coefs, Objs& objs, int size) {
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
