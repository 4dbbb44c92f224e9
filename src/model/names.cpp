#include "model/names.h"

#include <cctype>
#include <cstdio>
#include <cstring>

namespace Tarq::detail {

bool SameNoCase(const char* given, const char* known) {
  if (given == nullptr || known == nullptr || std::strlen(given) != std::strlen(known)) return false;
  for (; *given != '\0'; ++given, ++known) {
    if (std::tolower(static_cast<unsigned char>(*given)) != std::tolower(static_cast<unsigned char>(*known))) {
      return false;
    }
  }
  return true;
}

std::string NormaliseName(const char* name) {
  if (name == nullptr) return {};
  const char* b = name;
  const char* e = name + std::strlen(name);
  while (b < e && std::isspace(static_cast<unsigned char>(*b))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(e[-1]))) --e;
  std::string out(b, e);
  for (char& c : out) {
    if (c == ' ') c = '_';
  }
  return out;
}

void BatchNames::Point(const std::vector<std::size_t>& starts) {
  pointers_.resize(starts.size());
  for (std::size_t k = 0; k < starts.size(); ++k) pointers_[k] = text_.data() + starts[k];
}

BatchNames BatchNames::FromPrefix(const char* prefix, int first, int count) {
  BatchNames names;
  if (prefix == nullptr || prefix[0] == '\0' || count <= 0) return names;
  const std::string base = NormaliseName(prefix) + "_";
  names.text_.reserve(static_cast<std::size_t>(count) * (base.size() + 12));
  std::vector<std::size_t> starts(static_cast<std::size_t>(count));
  char digits[16];
  for (int k = 0; k < count; ++k) {
    starts[k] = names.text_.size();
    int n = std::snprintf(digits, sizeof digits, "%d", first + k);
    names.text_.append(base).append(digits, static_cast<std::size_t>(n)).push_back('\0');
  }
  names.Point(starts);
  return names;
}

bool BatchNames::FromPacked(const char* buffer, std::size_t size, int count) {
  text_.clear();
  pointers_.clear();
  if (count <= 0) return true;
  if (buffer == nullptr) return false;
  std::vector<std::size_t> starts(static_cast<std::size_t>(count));
  std::size_t offset = 0;
  for (int k = 0; k < count; ++k) {
    if (offset >= size) return false;
    const char* name = buffer + offset;
    const void* end = std::memchr(name, '\0', size - offset);
    if (end == nullptr) return false;
    offset += static_cast<std::size_t>(static_cast<const char*>(end) - name) + 1;
    starts[k] = text_.size();
    text_.append(NormaliseName(name)).push_back('\0');
  }
  Point(starts);
  return true;
}

}  // namespace Tarq::detail
