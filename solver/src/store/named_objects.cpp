#include "store/named_objects.h"

#include <climits>
#include <cstring>
#include <string>

#include "store/checks.h"

namespace tarq_solver {

int SetListedNames(NameTable& table, int num, const int* list, const char* const* names) {
  if (int rc = CheckList(num, list, table.Size()); rc != TARQ_RETCODE_OK) return rc;
  if (num > 0 && names == nullptr) return TARQ_RETCODE_INVALID;
  for (int k = 0; k < num; ++k) table.Set(At(list, k), names[k] != nullptr ? names[k] : "");
  return TARQ_RETCODE_OK;
}

int CopyName(const NameTable& table, int pos, char* buf, int len, int* reqSize) {
  if (pos < 0 || pos >= table.Size()) return TARQ_RETCODE_INVALID;
  std::string name = table.Display(pos);
  const size_t need = name.size() + 1;
  if (need > INT_MAX) return TARQ_RETCODE_INVALID;
  if (reqSize != nullptr) *reqSize = static_cast<int>(need);
  if (buf == nullptr) return reqSize != nullptr ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
  if (len < 0 || static_cast<size_t>(len) < need) return TARQ_RETCODE_INVALID;
  std::memcpy(buf, name.c_str(), need);
  return TARQ_RETCODE_OK;
}

int FindNamed(NameTable& table, const char* name, int* pos) {
  if (name == nullptr || pos == nullptr) return TARQ_RETCODE_INVALID;
  *pos = table.Find(name);
  return *pos >= 0 ? TARQ_RETCODE_OK : TARQ_RETCODE_INVALID;
}

}  // namespace tarq_solver
