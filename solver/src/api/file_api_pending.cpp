// File formats whose readers and writers do not exist yet. Each function checks its arguments
// like the finished ones, then returns 3 and logs that the format is not supported yet.
#include <string_view>

#include "api/with_problem.h"

using tarq_solver::Problem;
using tarq_solver::ReadProblem;
using tarq_solver::WithProblem;

namespace {

int NotSupported(tarq_prob* prob, const char* filename, const char* verb, const char* kind,
                 const char* caller = __builtin_FUNCTION()) {
  auto body = [&](Problem& p) {
    if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
    p.Log().Printf("Failed to %s %s file \"%s\": the format is not supported yet", verb, kind,
                   p.Env().Resolve(filename).c_str());
    return TARQ_RETCODE_INVALID;
  };
  // Reading a file would replace the problem; writing one only reads it.
  return std::string_view(verb) == "read" ? WithProblem(prob, body, caller) : ReadProblem(prob, body);
}

}  // namespace

extern "C" {

int TARQ_ReadCbf(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "CBF"); }

int TARQ_WriteCbf(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "CBF"); }

}  // extern "C"
