// File formats whose readers and writers do not exist yet. Each function checks its arguments
// like the finished ones, then returns 3 and logs that the format is not supported yet.
#include "api/with_problem.h"

using tarq_solver::Problem;
using tarq_solver::WithProblem;

namespace {

int NotSupported(tarq_prob* prob, const char* filename, const char* verb, const char* kind) {
  return WithProblem(prob, [&](Problem& p) {
    if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
    p.Log().Printf("Failed to %s %s file \"%s\": the format is not supported yet", verb, kind,
                   p.Env().Resolve(filename).c_str());
    return TARQ_RETCODE_INVALID;
  });
}

}  // namespace

extern "C" {

int TARQ_ReadSDPA(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "SDPA"); }
int TARQ_ReadCbf(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "CBF"); }
int TARQ_ReadSol(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "solution"); }
int TARQ_ReadJsonSol(tarq_prob* prob, const char* filename) {
  return NotSupported(prob, filename, "read", "JSON solution");
}
int TARQ_ReadBasis(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "basis"); }
int TARQ_ReadTune(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "read", "tune"); }

int TARQ_WriteCbf(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "CBF"); }
int TARQ_WriteNL(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "NL"); }
int TARQ_WriteIIS(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "IIS"); }
int TARQ_WriteRelax(tarq_prob* prob, const char* filename) {
  return NotSupported(prob, filename, "write", "feasibility relaxation");
}
int TARQ_WriteSol(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "solution"); }
int TARQ_WriteJsonSol(tarq_prob* prob, const char* filename) {
  return NotSupported(prob, filename, "write", "JSON solution");
}
int TARQ_WritePoolSol(tarq_prob* prob, int index, const char* filename) {
  (void)index;
  return NotSupported(prob, filename, "write", "pool solution");
}
int TARQ_WriteBasis(tarq_prob* prob, const char* filename) { return NotSupported(prob, filename, "write", "basis"); }
int TARQ_WriteTuneParam(tarq_prob* prob, int index, const char* filename) {
  (void)index;
  return NotSupported(prob, filename, "write", "tune");
}

}  // extern "C"
