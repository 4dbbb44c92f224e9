// Name normalisation and the name lists that operations pass to the solver library.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace Tarq::detail {

// Equal texts without regard to letter case (and of equal length).
bool SameNoCase(const char* given, const char* known);

// Null gives ""; surrounding white space (isspace) is cut and every inner blank becomes "_".
std::string NormaliseName(const char* name);

// Names for a batch of count objects as a packed buffer plus pointers into it, ready for the
// solver library: either "<prefix>_<first + k>" or read from a caller's packed buffer.
class BatchNames {
 public:
  // No names: Pointers() is null.
  BatchNames() = default;
  // "<normalised prefix>_<first + k>"; a null or empty prefix gives no names.
  static BatchNames FromPrefix(const char* prefix, int first, int count);
  // Walks count terminated names out of a packed buffer of size bytes; false when the buffer
  // ends before all names are read. Each name is normalised.
  bool FromPacked(const char* buffer, std::size_t size, int count);

  const char* const* Pointers() const { return pointers_.empty() ? nullptr : pointers_.data(); }
  bool Empty() const { return pointers_.empty(); }
  const char* At(int k) const { return pointers_[k]; }

 private:
  void Point(const std::vector<std::size_t>& starts);

  std::string text_;
  std::vector<const char*> pointers_;
};

}  // namespace Tarq::detail
