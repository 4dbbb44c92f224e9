// File functions of the C interface for results and settings: solutions, bases, IIS,
// feasibility relaxations and tuning results.
#include "api/with_problem.h"
#include "io/solution_files.h"

using tarq_solver::IoError;
using tarq_solver::OutBuffer;
using tarq_solver::Problem;
using tarq_solver::ReadFormatFile;
using tarq_solver::WithProblem;
using tarq_solver::WriteFormatFile;

namespace {

// Writes filename with write(problem, index, out, err); logs one line on failure.
template <class Write>
int WriteIndexed(Problem& p, const char* filename, const char* kind, Write write) {
  if (filename == nullptr || *filename == '\0') return TARQ_RETCODE_INVALID;
  const std::string path = p.Env().Resolve(filename);
  IoError err;
  OutBuffer out;
  int rc = out.Open(path, err);
  if (rc == TARQ_RETCODE_OK) rc = write(out, err);
  IoError closeErr;
  const int closeRc = out.Close(closeErr);
  if (rc == TARQ_RETCODE_OK && closeRc != TARQ_RETCODE_OK) {
    rc = closeRc;
    err = closeErr;
  }
  if (rc != TARQ_RETCODE_OK) p.Log().Printf("Failed to write %s file \"%s\": %s", kind, path.c_str(), err.what.c_str());
  return rc;
}

}  // namespace

extern "C" {

int TARQ_ReadSol(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "solution", tarq_solver::ParseSol); });
}

int TARQ_WriteSol(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "solution", tarq_solver::WriteSol); });
}

int TARQ_WritePoolSol(tarq_prob* prob, int index, const char* filename) {
  return WithProblem(prob, [&](Problem& p) {
    return WriteIndexed(p, filename, "pool solution",
                        [&](OutBuffer& out, IoError& err) { return tarq_solver::WritePoolSol(p, index, out, err); });
  });
}

int TARQ_ReadJsonSol(tarq_prob* prob, const char* filename) {
  return WithProblem(prob,
                     [&](Problem& p) { return ReadFormatFile(p, filename, "JSON solution", tarq_solver::ParseJsonSol); });
}

int TARQ_WriteJsonSol(tarq_prob* prob, const char* filename) {
  return WithProblem(prob,
                     [&](Problem& p) { return WriteFormatFile(p, filename, "JSON solution", tarq_solver::WriteJsonSol); });
}

int TARQ_ReadBasis(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "basis", tarq_solver::ParseBasis); });
}

int TARQ_WriteBasis(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "basis", tarq_solver::WriteBasis); });
}

int TARQ_WriteIIS(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return WriteFormatFile(p, filename, "IIS", tarq_solver::WriteIis); });
}

int TARQ_WriteRelax(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) {
    return WriteFormatFile(p, filename, "feasibility relaxation", tarq_solver::WriteRelax);
  });
}

int TARQ_ReadTune(tarq_prob* prob, const char* filename) {
  return WithProblem(prob, [&](Problem& p) { return ReadFormatFile(p, filename, "tune", tarq_solver::ParseTune); });
}

int TARQ_WriteTuneParam(tarq_prob* prob, int index, const char* filename) {
  return WithProblem(prob, [&](Problem& p) {
    return WriteIndexed(p, filename, "tune",
                        [&](OutBuffer& out, IoError& err) { return tarq_solver::WriteTuneResult(p, index, out, err); });
  });
}

}  // extern "C"
